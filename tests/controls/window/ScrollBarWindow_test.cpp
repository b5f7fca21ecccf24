#include <gtest/gtest.h>

#include <vector>

#include "HostWindow.h"
#include "controls/ScrollBarUI.h"
#include "controls/VerticalLayoutUI.h"

using namespace Veneer;
using ControlWindowTest::HostWindow;

namespace {

// A 200x200 window whose root holds ten rows of 40: content 400, range 200.
struct ScrolledWindow {
    ScrolledWindow() : host(200, 200)
    {
        root = new CVerticalLayoutUI;
        root->SetAttribute(L"vscrollbar", L"true");
        for (int i = 0; i < 10; ++i) {
            auto* row = new CControlUI;
            row->SetFixedHeight(40);
            root->Add(row);
        }
        host.Attach(root);
        bar = root->GetVerticalScrollBar();
    }
    int Line() { return host.Manager().GetDefaultFontInfo()->tm.tmHeight + 8; }
    int Pos() const { return bar->GetScrollPos(); }

    HostWindow host;
    CVerticalLayoutUI* root { nullptr };
    CScrollBarUI* bar { nullptr };
};

struct NotifyRecorder : public INotifyUI {
    void Notify(TNotifyUI& msg) override { types.push_back(msg.sType.GetData()); }
    std::vector<std::wstring> types;
};

}  // namespace

TEST(ScrollBarWindow, FirstPaintShowsTheBarWithTheOverflowAsRange)
{
    ScrolledWindow w;
    ASSERT_NE(nullptr, w.bar);
    EXPECT_TRUE(w.bar->IsVisible());
    EXPECT_EQ(200, w.bar->GetScrollRange());
    RECT rc = w.bar->GetPos();
    EXPECT_EQ(184, rc.left);
    EXPECT_EQ(200, rc.bottom);
    EXPECT_EQ(16, w.bar->GetThumbRect().top);
    EXPECT_EQ(100, w.bar->GetThumbRect().bottom);
}

TEST(ScrollBarWindow, HeldButtonScrollsOnceThenRepeatsUntilReleased)
{
    ScrolledWindow w;
    const int line = w.Line();
    w.host.Post(WM_LBUTTONDOWN, MK_LBUTTON, 192, 192);
    w.host.Pump(60);
    EXPECT_EQ(line, w.Pos());
    EXPECT_EQ(-line, w.root->GetItemAt(0)->GetPos().top);
    w.host.Pump(700);
    EXPECT_GE(w.Pos(), 3 * line);
    w.host.Post(WM_LBUTTONUP, 0, 192, 192);
    w.host.Pump(30);
    const int released = w.Pos();
    w.host.Pump(250);
    EXPECT_EQ(released, w.Pos());
}

TEST(ScrollBarWindow, WheelOverAChildScrollsTheLayout)
{
    ScrolledWindow w;
    const int line = w.Line();
    w.host.Wheel(-120, 50, 50);
    w.host.Pump(40);
    EXPECT_EQ(line, w.Pos());
    w.host.Wheel(-120, 50, 50);
    w.host.Pump(40);
    EXPECT_EQ(2 * line, w.Pos());
    w.host.Wheel(120, 50, 50);
    w.host.Pump(40);
    EXPECT_EQ(line, w.Pos());
}

TEST(ScrollBarWindow, ThumbDragFollowsTheMouse)
{
    ScrolledWindow w;
    // Thumb 84 long in a 200 bar: track room 200 - 84 - 32 = 84; 42 pixels
    // are half the range.
    w.host.Post(WM_LBUTTONDOWN, MK_LBUTTON, 192, 50);
    w.host.Pump(20);
    w.host.Post(WM_MOUSEMOVE, MK_LBUTTON, 192, 92);
    w.host.Pump(300);
    EXPECT_EQ(100, w.Pos());
    EXPECT_EQ(-100, w.root->GetItemAt(0)->GetPos().top);
    w.host.Post(WM_MOUSEMOVE, MK_LBUTTON, 192, 400);
    w.host.Pump(300);
    EXPECT_EQ(200, w.Pos());
    // Released outside the window: the capture still ends the drag.
    w.host.Post(WM_LBUTTONUP, 0, 400, 400);
    w.host.Pump(30);
    w.host.Post(WM_MOUSEMOVE, 0, 192, 20);
    w.host.Pump(300);
    EXPECT_EQ(200, w.Pos());
}

TEST(ScrollBarWindow, TrackClickPagesTheOwner)
{
    ScrolledWindow w;
    w.host.Post(WM_LBUTTONDOWN, MK_LBUTTON, 192, 150);
    w.host.Post(WM_LBUTTONUP, 0, 192, 150);
    w.host.Pump(40);
    EXPECT_EQ(200, w.Pos());
}

TEST(ScrollBarWindow, FreeStandingBarSendsScroll)
{
    HostWindow host(200, 200);
    auto* root = new CVerticalLayoutUI;
    auto* bar = new CScrollBarUI;
    bar->SetFixedHeight(100);
    root->Add(bar);
    NotifyRecorder recorder;
    host.Manager().AddNotifier(&recorder);
    host.Attach(root);
    // Bar at (0,0,16,100) in the first row; button 2 at 84..100.
    host.Post(WM_LBUTTONDOWN, MK_LBUTTON, 8, 92);
    host.Pump(30);
    host.Post(WM_LBUTTONUP, 0, 8, 92);
    host.Pump(30);
    EXPECT_EQ(8, bar->GetScrollPos());
    int scrolls = 0;
    for (const auto& type : recorder.types) {
        scrolls += type == L"scroll" ? 1 : 0;
    }
    EXPECT_GE(scrolls, 1);
    host.Manager().RemoveNotifier(&recorder);
}

TEST(ScrollBarWindow, BarRemovedWhileHeldIsNeverUsedAgain)
{
    ScrolledWindow w;
    w.host.Post(WM_LBUTTONDOWN, MK_LBUTTON, 192, 192);
    w.host.Pump(30);
    ASSERT_GT(w.Pos(), 0);
    w.root->EnableScrollBar(false, false);
    EXPECT_EQ(nullptr, w.root->GetVerticalScrollBar());
    w.host.Pump(400);
    w.host.Post(WM_LBUTTONUP, 0, 192, 192);
    w.host.Post(WM_MOUSEMOVE, 0, 100, 100);
    w.host.Pump(40);
    SUCCEED();
}

