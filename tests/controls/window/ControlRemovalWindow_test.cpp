#include <gtest/gtest.h>

#include "HostWindow.h"
#include "controls/VerticalLayoutUI.h"

using namespace Veneer;
using ControlWindowTest::HostWindow;

namespace {

int g_upEvents = 0;
bool CountButtonUp(void* param)
{
    if (static_cast<TEventUI*>(param)->Type == EVENT_BUTTONUP) {
        ++g_upEvents;
    }
    return true;
}

int g_deleted = 0;
bool CountDeleted(void*)
{
    ++g_deleted;
    return true;
}

int g_lateEvents = 0;
bool CountAnyEvent(void*)
{
    ++g_lateEvents;
    return true;
}

}  // namespace

TEST(ControlRemovalWindow, RemovedClickedControlGetsNoMoreEventsAndIsDeletedLater)
{
    HostWindow host(200, 200);
    auto* root = new CVerticalLayoutUI;
    auto* child = new CControlUI;
    child->SetName(L"victim");
    child->EventListeners += CountButtonUp;
    child->DestroyListeners += CountDeleted;
    root->Add(child);
    host.Attach(root);
    g_upEvents = 0;
    g_deleted = 0;

    host.Post(WM_LBUTTONDOWN, MK_LBUTTON, 50, 50);
    host.Pump(20);
    EXPECT_TRUE(root->Remove(child));
    EXPECT_EQ(nullptr, host.Manager().FindControl(L"victim"));
    host.Post(WM_LBUTTONUP, 0, 50, 50);
    host.Pump(40);
    EXPECT_EQ(0, g_upEvents);
    EXPECT_EQ(1, g_deleted);
}

TEST(ControlRemovalWindow, LayoutRemovedDuringASeparatorDragLeavesThePostPaintList)
{
    HostWindow host(200, 200);
    auto* root = new CVerticalLayoutUI;
    auto* pane = new CVerticalLayoutUI;
    pane->SetSepHeight(6);
    pane->SetFixedHeight(100);
    pane->DestroyListeners += CountDeleted;
    root->Add(pane);
    host.Attach(root);
    g_deleted = 0;

    host.Post(WM_LBUTTONDOWN, MK_LBUTTON, 50, 97);
    host.Pump(20);
    host.Post(WM_MOUSEMOVE, MK_LBUTTON, 50, 140);
    host.Pump(40);
    EXPECT_EQ(1, host.Manager().GetPostPaintCount());
    EXPECT_EQ(143, pane->GetFixedHeight());
    root->Remove(pane);
    host.Post(WM_MOUSEMOVE, MK_LBUTTON, 50, 150);
    host.Post(WM_LBUTTONUP, 0, 50, 150);
    ::InvalidateRect(host.Handle(), nullptr, FALSE);
    host.Pump(60);
    EXPECT_EQ(1, g_deleted);
    EXPECT_EQ(0, host.Manager().GetPostPaintCount());
}

TEST(ControlRemovalWindow, SeparatorDragInPreviewPaintsAndReleaseRelaysTheParent)
{
    HostWindow host(200, 200);
    auto* root = new CVerticalLayoutUI;
    auto* pane = new CVerticalLayoutUI;
    pane->SetSepHeight(6);
    pane->SetFixedHeight(100);
    auto* below = new CControlUI;
    root->Add(pane);
    root->Add(below);
    host.Attach(root);
    EXPECT_EQ(100, below->GetPos().top);

    host.Post(WM_LBUTTONDOWN, MK_LBUTTON, 50, 97);
    host.Pump(20);
    host.Post(WM_MOUSEMOVE, MK_LBUTTON, 50, 140);
    host.Pump(40);
    EXPECT_EQ(1, host.Manager().GetPostPaintCount());
    // Preview: nothing moved yet.
    EXPECT_EQ(100, below->GetPos().top);
    host.Post(WM_LBUTTONUP, 0, 50, 140);
    host.Pump(60);
    EXPECT_EQ(0, host.Manager().GetPostPaintCount());
    EXPECT_EQ(143, pane->GetHeight());
    EXPECT_EQ(143, below->GetPos().top);
}

TEST(ControlRemovalWindow, RemovedHotAndFocusedControlHearsNothingMore)
{
    HostWindow host(200, 200);
    auto* root = new CVerticalLayoutUI;
    auto* target = new CControlUI;
    target->SetFixedHeight(100);
    auto* other = new CControlUI;
    root->Add(target);
    root->Add(other);
    host.Attach(root);

    host.Post(WM_MOUSEMOVE, 0, 50, 50);
    host.Post(WM_LBUTTONDOWN, MK_LBUTTON, 50, 50);
    host.Post(WM_LBUTTONUP, 0, 50, 50);
    host.Pump(40);
    ASSERT_EQ(target, host.Manager().GetFocus());

    g_lateEvents = 0;
    target->EventListeners += CountAnyEvent;
    root->Remove(target);
    EXPECT_EQ(nullptr, host.Manager().GetFocus());
    // Leaving it, pressing elsewhere and typing reach other controls only.
    host.Post(WM_MOUSEMOVE, 0, 50, 150);
    host.Post(WM_LBUTTONDOWN, MK_LBUTTON, 50, 150);
    host.Post(WM_LBUTTONUP, 0, 50, 150);
    ::PostMessageW(host.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    host.Pump(60);
    EXPECT_EQ(0, g_lateEvents);
}
