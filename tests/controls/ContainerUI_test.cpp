#include <gtest/gtest.h>

#include <vector>

#include "ControlTestHelpers.h"
#include "controls/ScrollBarUI.h"
#include "controls/HorizontalLayoutUI.h"
#include "controls/VerticalLayoutUI.h"

using namespace Veneer;
using namespace ControlTest;

namespace {

std::vector<CControlUI*> g_destroyed;
bool RecordDestroy(void* p)
{
    g_destroyed.push_back(static_cast<CControlUI*>(p));
    return true;
}

CControlUI* TrackedBox()
{
    CControlUI* p = Box(0, 0);
    p->DestroyListeners += RecordDestroy;
    return p;
}

CControlUI* CALLBACK MatchAny(CControlUI* pThis, LPVOID) { return pThis; }

// A list element stand-in for FindSelectable.
class ListItemStandIn : public CControlUI {
public:
    LPVOID GetInterface(LPCWSTR pstrName) override
    {
        if (wcscmp(pstrName, L"ListItem") == 0) {
            return this;
        }
        return CControlUI::GetInterface(pstrName);
    }
};

// Records which scroll operations the scroll bar asked of its owner.
class RecordingContainer : public CContainerUI {
public:
    void PageDown() override
    {
        calls.push_back(L"PageDown");
        CContainerUI::PageDown();
    }
    void PageUp() override
    {
        calls.push_back(L"PageUp");
        CContainerUI::PageUp();
    }
    void LineDown() override
    {
        calls.push_back(L"LineDown");
        CContainerUI::LineDown();
    }
    std::vector<const wchar_t*> calls;
};

}  // namespace

TEST(ContainerChildren, AddAndIndexBounds)
{
    CContainerUI container;
    EXPECT_FALSE(container.Add(nullptr));
    EXPECT_FALSE(container.AddAt(nullptr, 0));
    EXPECT_EQ(0, container.GetCount());
    CControlUI* a = Box(0, 0);
    CControlUI* b = Box(0, 0);
    CControlUI* c = Box(0, 0);
    EXPECT_TRUE(container.Add(a));
    EXPECT_TRUE(container.Add(c));
    EXPECT_TRUE(container.AddAt(b, 1));
    EXPECT_EQ(nullptr, container.GetItemAt(-1));
    EXPECT_EQ(nullptr, container.GetItemAt(container.GetCount()));
    EXPECT_EQ(a, container.GetItemAt(0));
    EXPECT_EQ(b, container.GetItemAt(1));
    EXPECT_EQ(c, container.GetItemAt(2));
    EXPECT_EQ(2, container.GetItemIndex(c));
    EXPECT_EQ(-1, container.GetItemIndex(nullptr));
    // Without a paint manager nothing attaches the child.
    EXPECT_EQ(nullptr, a->GetParent());
}

TEST(ContainerChildren, AddAtAnIndexPastTheEndFails)
{
    CContainerUI container;
    CControlUI* a = Box(0, 0);
    container.Add(a);
    CControlUI stray;
    EXPECT_FALSE(container.AddAt(&stray, 5));
    EXPECT_EQ(1, container.GetCount());
}

TEST(ContainerChildren, MovingAChildPastTheEndKeepsIt)
{
    CContainerUI container;
    CControlUI* a = TrackedBox();
    CControlUI* b = TrackedBox();
    CControlUI* c = TrackedBox();
    container.Add(a);
    container.Add(b);
    container.Add(c);
    g_destroyed.clear();
    EXPECT_FALSE(container.SetItemIndex(a, 3));
    EXPECT_FALSE(container.SetItemIndex(a, 100));
    EXPECT_FALSE(container.SetItemIndex(a, -1));
    EXPECT_EQ(3, container.GetCount());
    EXPECT_EQ(a, container.GetItemAt(0));
    EXPECT_EQ(b, container.GetItemAt(1));

    EXPECT_TRUE(container.SetItemIndex(a, 2));
    EXPECT_EQ(b, container.GetItemAt(0));
    EXPECT_EQ(c, container.GetItemAt(1));
    EXPECT_EQ(a, container.GetItemAt(2));
    EXPECT_TRUE(container.SetItemIndex(a, 0));
    EXPECT_EQ(a, container.GetItemAt(0));

    CControlUI stranger;
    EXPECT_FALSE(container.SetItemIndex(&stranger, 0));
    EXPECT_TRUE(g_destroyed.empty());
}

TEST(ContainerChildren, RemoveDestroysOnlyWhenAutoDestroyIsSet)
{
    CContainerUI container;
    CControlUI* a = TrackedBox();
    CControlUI* b = TrackedBox();
    container.Add(a);
    container.Add(b);
    g_destroyed.clear();
    EXPECT_FALSE(container.Remove(nullptr));
    CControlUI stranger;
    EXPECT_FALSE(container.Remove(&stranger));
    EXPECT_FALSE(container.RemoveAt(5));
    EXPECT_TRUE(container.Remove(a));
    ASSERT_EQ(1u, g_destroyed.size());
    EXPECT_EQ(a, g_destroyed[0]);
    EXPECT_EQ(1, container.GetCount());

    container.SetAutoDestroy(false);
    EXPECT_TRUE(container.RemoveAt(0));
    EXPECT_EQ(1u, g_destroyed.size());
    EXPECT_EQ(0, container.GetCount());
    delete b;
}

TEST(ContainerChildren, RemoveAllWithoutAutoDestroyLeavesChildrenAlive)
{
    CControlUI* a = TrackedBox();
    CControlUI* b = TrackedBox();
    g_destroyed.clear();
    {
        CContainerUI container;
        container.SetAutoDestroy(false);
        container.Add(a);
        container.Add(b);
        container.RemoveAll();
        EXPECT_EQ(0, container.GetCount());
    }
    EXPECT_TRUE(g_destroyed.empty());
    {
        CContainerUI container;
        container.Add(a);
        container.Add(b);
        container.RemoveAll();
        EXPECT_EQ(0, container.GetCount());
        EXPECT_EQ(2u, g_destroyed.size());
    }
}

TEST(ContainerChildren, DestructionDestroysChildrenAndScrollBars)
{
    g_destroyed.clear();
    {
        CContainerUI container;
        container.Add(TrackedBox());
        container.EnableScrollBar(true, true);
        container.GetVerticalScrollBar()->DestroyListeners += RecordDestroy;
        container.GetHorizontalScrollBar()->DestroyListeners += RecordDestroy;
    }
    EXPECT_EQ(3u, g_destroyed.size());
}

TEST(ContainerVisibility, ChildrenOfAnInvisibleContainerAreHiddenUntilItIsShown)
{
    CContainerUI container;
    container.SetVisible(false);
    CControlUI* child = Box(0, 0);
    container.Add(child);
    EXPECT_FALSE(child->IsVisible());
    container.SetVisible(true);
    EXPECT_TRUE(child->IsVisible());

    CContainerUI outer;
    auto* inner = new CContainerUI;
    CControlUI* leaf = Box(0, 0);
    inner->Add(leaf);
    outer.Add(inner);
    outer.SetVisible(false);
    EXPECT_FALSE(leaf->IsVisible());
    outer.SetVisible(true);
    EXPECT_TRUE(leaf->IsVisible());
}

TEST(ContainerIdentity, InterfacesAndClass)
{
    CContainerUI container;
    EXPECT_STREQ(L"ContainerUI", container.GetClass());
    EXPECT_EQ(static_cast<IContainerUI*>(&container), container.GetInterface(L"IContainer"));
    EXPECT_EQ(&container, container.GetInterface(L"Container"));
    EXPECT_EQ(&container, container.GetInterface(L"Control"));
    EXPECT_EQ(nullptr, container.GetInterface(L"container"));
    CVerticalLayoutUI layout;
    EXPECT_EQ(&layout, layout.GetInterface(L"VerticalLayout"));
    EXPECT_EQ(static_cast<CContainerUI*>(&layout), layout.GetInterface(L"Container"));
    EXPECT_STREQ(L"VerticalLayoutUI", layout.GetClass());
}

TEST(ContainerLayout, NonFloatChildrenGetTheInnerRectangle)
{
    CContainerUI container;
    CControlUI* a = Box(5, 5);
    CControlUI* hidden = Box(0, 0);
    hidden->SetVisible(false);
    container.Add(a);
    container.Add(hidden);
    container.SetAttribute(L"inset", L"1,2,3,4");
    container.SetPos(R(10, 10, 110, 110));
    EXPECT_TRUE(RectEq(R(11, 12, 107, 106), a->GetPos()));
    EXPECT_TRUE(RectEq(R(0, 0, 0, 0), hidden->GetPos()));
}

TEST(ContainerLayout, FloatChildAnchoredToTheFarEdges)
{
    CContainerUI container;
    CControlUI* floating = Box(20, 20);
    floating->SetFloat(true);
    floating->SetFixedXY(SIZE { -10, -10 });
    container.Add(floating);
    container.SetPos(R(0, 0, 100, 100));
    EXPECT_TRUE(RectEq(R(70, 70, 90, 90), floating->GetPos()));
}

TEST(ContainerLayout, FloatChildFromThePosAttributeIgnoresTheInset)
{
    CContainerUI container;
    container.SetInset(R(10, 10, 10, 10));
    CControlUI* floating = new CControlUI;
    floating->ApplyAttributeList(L"float=\"true\" pos=\"0,0,30,20\"");
    container.Add(floating);
    container.SetPos(R(50, 50, 150, 150));
    EXPECT_TRUE(RectEq(R(50, 50, 80, 70), floating->GetPos()));
}

TEST(ContainerLayout, RelativeFloatRecordsFirstAndMovesLater)
{
    CContainerUI container;
    CControlUI* floating = Box(10, 10);
    floating->SetFloat(true);
    floating->SetFixedXY(SIZE { 20, 20 });
    floating->SetAttribute(L"relativepos", L"50,0,0,0");
    container.Add(floating);
    container.SetPos(R(0, 0, 100, 100));
    EXPECT_TRUE(RectEq(R(20, 20, 30, 30), floating->GetPos()));
    EXPECT_EQ(100, floating->GetRelativePos().szParent.cx);
    container.SetPos(R(0, 0, 200, 100));
    EXPECT_TRUE(RectEq(R(70, 20, 80, 30), floating->GetPos()));
    // Shrinking moves it back; truncation is toward zero.
    container.SetPos(R(0, 0, 99, 100));
    EXPECT_TRUE(RectEq(R(-30, 20, -20, 30), floating->GetPos()));
}

TEST(ContainerAttributes, ScrollBarAttributes)
{
    CContainerUI container;
    container.SetAttribute(L"vscrollbar", L"true");
    container.SetAttribute(L"hscrollbar", L"true");
    ASSERT_NE(nullptr, container.GetVerticalScrollBar());
    ASSERT_NE(nullptr, container.GetHorizontalScrollBar());
    EXPECT_TRUE(container.GetHorizontalScrollBar()->IsHorizontal());
    EXPECT_EQ(16, container.GetHorizontalScrollBar()->GetFixedHeight());
    EXPECT_EQ(&container, static_cast<CContainerUI*>(container.GetVerticalScrollBar()->GetOwner()));

    container.SetAttribute(L"vscrollbar", L"false");
    EXPECT_EQ(nullptr, container.GetVerticalScrollBar());
    EXPECT_NE(nullptr, container.GetHorizontalScrollBar());

    container.SetAttribute(L"vscrollbarstyle", L"width=\"20\" linesize=\"3\"");
    ASSERT_NE(nullptr, container.GetVerticalScrollBar());
    EXPECT_EQ(20, container.GetVerticalScrollBar()->GetFixedWidth());
    EXPECT_EQ(3, container.GetVerticalScrollBar()->GetLineSize());
    EXPECT_NE(nullptr, container.GetHorizontalScrollBar());

    container.SetAttribute(L"hscrollbar", L"yes");
    EXPECT_EQ(nullptr, container.GetHorizontalScrollBar());
    container.SetAttribute(L"hscrollbarstyle", L"height=\"9\"");
    ASSERT_NE(nullptr, container.GetHorizontalScrollBar());
    EXPECT_EQ(9, container.GetHorizontalScrollBar()->GetFixedHeight());
    EXPECT_NE(nullptr, container.GetVerticalScrollBar());
}

TEST(ContainerAttributes, InsetChildPaddingAndMouseChild)
{
    CContainerUI container;
    container.SetAttribute(L"inset", L"1,2,3,4");
    EXPECT_TRUE(RectEq(R(1, 2, 3, 4), container.GetInset()));
    container.SetAttribute(L"inset", L"5");
    EXPECT_TRUE(RectEq(R(5, 0, 0, 0), container.GetInset()));
    container.SetAttribute(L"inset", L"");
    EXPECT_TRUE(RectEq(R(0, 0, 0, 0), container.GetInset()));
    container.SetAttribute(L"childpadding", L"7");
    EXPECT_EQ(7, container.GetChildPadding());
    container.SetAttribute(L"childpadding", L"x");
    EXPECT_EQ(0, container.GetChildPadding());
    container.SetAttribute(L"mousechild", L"false");
    EXPECT_FALSE(container.IsMouseChildEnabled());
    container.SetAttribute(L"mousechild", L"true");
    EXPECT_TRUE(container.IsMouseChildEnabled());
    // Unknown names reach the control base.
    container.SetAttribute(L"name", L"box");
    EXPECT_STREQ(L"box", container.GetName().GetData());
}

TEST(ContainerSearch, HitTestingOrderAndFlags)
{
    CContainerUI container;
    CControlUI* bottom = Box(0, 0);
    CControlUI* top = Box(0, 0);
    container.Add(bottom);
    container.Add(top);
    container.SetPos(R(0, 0, 100, 100));
    POINT pt = { 50, 50 };
    EXPECT_EQ(top, container.FindControl(MatchAny, &pt, FIND_VISIBLE | FIND_HITTEST | FIND_TOP_FIRST));
    EXPECT_EQ(bottom, container.FindControl(MatchAny, &pt, FIND_VISIBLE | FIND_HITTEST));
    EXPECT_EQ(&container,
        container.FindControl(MatchAny, &pt, FIND_VISIBLE | FIND_HITTEST | FIND_ME_FIRST));

    top->SetVisible(false);
    EXPECT_EQ(bottom, container.FindControl(MatchAny, &pt, FIND_VISIBLE | FIND_HITTEST | FIND_TOP_FIRST));
    bottom->SetEnabled(false);
    EXPECT_EQ(&container, container.FindControl(MatchAny, &pt, FIND_VISIBLE | FIND_ENABLED | FIND_HITTEST));

    POINT outside = { 150, 50 };
    EXPECT_EQ(nullptr, container.FindControl(MatchAny, &outside, FIND_HITTEST));

    container.SetMouseChildEnabled(false);
    EXPECT_EQ(&container, container.FindControl(MatchAny, &pt, FIND_HITTEST));
}

TEST(ContainerSearch, PointsInTheInsetOnlyReachFloatChildren)
{
    CContainerUI container;
    container.SetInset(R(10, 10, 10, 10));
    CControlUI* child = Box(0, 0);
    container.Add(child);
    container.SetPos(R(0, 0, 100, 100));
    // Force the child over the inset; a hit there is not the child's.
    child->SetPos(R(0, 0, 100, 100));
    POINT inInset = { 5, 5 };
    EXPECT_EQ(&container, container.FindControl(MatchAny, &inInset, FIND_HITTEST | FIND_TOP_FIRST));

    CControlUI* floating = Box(10, 10);
    floating->SetFloat(true);
    container.Add(floating);
    container.SetPos(R(0, 0, 100, 100));
    EXPECT_EQ(floating, container.FindControl(MatchAny, &inInset, FIND_HITTEST | FIND_TOP_FIRST));
}

TEST(ContainerSearch, WalksScrollBarsAndEveryChild)
{
    CContainerUI container;
    container.EnableScrollBar(true, true);
    auto* inner = new CContainerUI;
    inner->Add(Box(0, 0));
    container.Add(inner);
    container.Add(Box(0, 0));
    int visited = 0;
    struct Visitor {
        static CControlUI* CALLBACK Count(CControlUI*, LPVOID data)
        {
            ++*static_cast<int*>(data);
            return nullptr;
        }
    };
    EXPECT_EQ(nullptr, container.FindControl(Visitor::Count, &visited, 0));
    // two bars, inner, its child, the second child, the container itself
    EXPECT_EQ(6, visited);
}

TEST(ContainerSearch, FindSelectable)
{
    CContainerUI container;
    EXPECT_EQ(-1, container.FindSelectable(0, true));
    container.Add(Box(0, 0));
    auto* item1 = new ListItemStandIn;
    container.Add(item1);
    auto* disabled = new ListItemStandIn;
    disabled->SetEnabled(false);
    container.Add(disabled);
    container.Add(new ListItemStandIn);
    EXPECT_EQ(1, container.FindSelectable(0, true));
    EXPECT_EQ(3, container.FindSelectable(2, true));
    EXPECT_EQ(3, container.FindSelectable(99, true));
    EXPECT_EQ(1, container.FindSelectable(2, false));
    EXPECT_EQ(1, container.FindSelectable(-5, true));
    item1->SetVisible(false);
    // Backward finds nothing below 2, so it searches forward from 0.
    EXPECT_EQ(3, container.FindSelectable(2, false));
}

TEST(ContainerScroll, LinesPagesAndEnds)
{
    CVerticalLayoutUI layout;
    layout.EnableScrollBar(true, false);
    for (int i = 0; i < 5; ++i) {
        layout.Add(Box(0, 30));
    }
    layout.SetPos(R(0, 0, 100, 100));
    CScrollBarUI* bar = layout.GetVerticalScrollBar();
    ASSERT_TRUE(bar->IsVisible());
    EXPECT_EQ(50, bar->GetScrollRange());
    EXPECT_TRUE(RectEq(R(84, 0, 100, 100), bar->GetPos()));
    EXPECT_EQ(84, layout.GetItemAt(0)->GetWidth());

    layout.LineDown();  // no manager: 8 pixels
    EXPECT_EQ(8, layout.GetScrollPos().cy);
    EXPECT_EQ(-8, layout.GetItemAt(0)->GetPos().top);
    EXPECT_EQ(22, layout.GetItemAt(1)->GetPos().top);
    layout.LineUp();
    EXPECT_EQ(0, layout.GetScrollPos().cy);
    layout.LineUp();
    EXPECT_EQ(0, layout.GetScrollPos().cy);
    layout.PageDown();
    EXPECT_EQ(50, layout.GetScrollPos().cy);
    EXPECT_EQ(-50, layout.GetItemAt(0)->GetPos().top);
    layout.HomeUp();
    EXPECT_EQ(0, layout.GetItemAt(0)->GetPos().top);
    layout.EndDown();
    EXPECT_EQ(50, layout.GetScrollPos().cy);
    EXPECT_EQ(50, layout.GetScrollRange().cy);
    EXPECT_EQ(0, layout.GetScrollRange().cx);

    // A layout pass keeps the scrolled position.
    layout.SetPos(layout.GetPos());
    EXPECT_EQ(-50, layout.GetItemAt(0)->GetPos().top);
}

TEST(ContainerScroll, WheelAndKeysDriveTheVerticalBar)
{
    CVerticalLayoutUI layout;
    layout.EnableScrollBar(true, false);
    for (int i = 0; i < 5; ++i) {
        layout.Add(Box(0, 30));
    }
    layout.SetPos(R(0, 0, 100, 100));
    TEventUI wheel;
    wheel.Type = EVENT_SCROLLWHEEL;
    wheel.wParam = SB_LINEDOWN;
    layout.DoEvent(wheel);
    layout.DoEvent(wheel);
    EXPECT_EQ(16, layout.GetScrollPos().cy);
    wheel.wParam = SB_LINEUP;
    layout.DoEvent(wheel);
    EXPECT_EQ(8, layout.GetScrollPos().cy);

    TEventUI key;
    key.Type = EVENT_KEYDOWN;
    key.chKey = VK_END;
    layout.DoEvent(key);
    EXPECT_EQ(50, layout.GetScrollPos().cy);
    key.chKey = VK_HOME;
    layout.DoEvent(key);
    EXPECT_EQ(0, layout.GetScrollPos().cy);
    key.chKey = VK_NEXT;
    layout.DoEvent(key);
    EXPECT_EQ(50, layout.GetScrollPos().cy);
    key.chKey = VK_PRIOR;
    layout.DoEvent(key);
    EXPECT_EQ(0, layout.GetScrollPos().cy);
    key.chKey = VK_DOWN;
    layout.DoEvent(key);
    EXPECT_EQ(8, layout.GetScrollPos().cy);
    key.chKey = VK_UP;
    layout.DoEvent(key);
    EXPECT_EQ(0, layout.GetScrollPos().cy);

    // A disabled bar leaves the keys alone.
    layout.GetVerticalScrollBar()->SetEnabled(false);
    key.chKey = VK_END;
    layout.DoEvent(key);
    EXPECT_EQ(0, layout.GetScrollPos().cy);
}

TEST(ContainerScroll, HorizontalBarTakesWheelAndKeysWhenThereIsNoVerticalBar)
{
    CHorizontalLayoutUI layout;
    layout.EnableScrollBar(false, true);
    CScrollBarUI* bar = layout.GetHorizontalScrollBar();
    bar->SetScrollRange(40);
    layout.Add(Box(0, 0));
    layout.SetPos(R(0, 0, 100, 50));
    EXPECT_TRUE(RectEq(R(0, 34, 100, 50), bar->GetPos()));
    CControlUI* child = layout.GetItemAt(0);
    // The child spans the visible width plus the scroll range.
    EXPECT_EQ(140, child->GetWidth());
    TEventUI wheel;
    wheel.Type = EVENT_SCROLLWHEEL;
    wheel.wParam = SB_LINEDOWN;
    layout.DoEvent(wheel);
    EXPECT_EQ(8, layout.GetScrollPos().cx);
    EXPECT_EQ(-8, child->GetPos().left);
    TEventUI key;
    key.Type = EVENT_KEYDOWN;
    key.chKey = VK_END;
    layout.DoEvent(key);
    EXPECT_EQ(40, layout.GetScrollPos().cx);
    key.chKey = VK_PRIOR;
    layout.DoEvent(key);
    EXPECT_EQ(0, layout.GetScrollPos().cx);
}

TEST(ContainerScroll, SetScrollPosToTheCurrentPositionMovesNothing)
{
    CVerticalLayoutUI layout;
    layout.EnableScrollBar(true, false);
    for (int i = 0; i < 5; ++i) {
        layout.Add(Box(0, 30));
    }
    CControlUI* floating = Box(10, 10);
    floating->SetFloat(true);
    layout.Add(floating);
    layout.SetPos(R(0, 0, 100, 100));
    layout.SetScrollPos(SIZE { 0, 20 });
    EXPECT_EQ(-20, layout.GetItemAt(0)->GetPos().top);
    // Float children do not scroll.
    EXPECT_EQ(0, floating->GetPos().top);
    layout.GetItemAt(0)->SetPos(R(0, 5, 84, 35));
    layout.SetScrollPos(SIZE { 0, 20 });
    EXPECT_EQ(5, layout.GetItemAt(0)->GetPos().top);
    layout.SetScrollPos(SIZE { 0, 500 });
    EXPECT_EQ(50, layout.GetScrollPos().cy);
}

TEST(ContainerScroll, ShrinkingContentHidesTheBarAndResetsRangeAndPosition)
{
    CVerticalLayoutUI layout;
    layout.EnableScrollBar(true, false);
    for (int i = 0; i < 5; ++i) {
        layout.Add(Box(0, 30));
    }
    layout.SetPos(R(0, 0, 100, 100));
    layout.EndDown();
    CScrollBarUI* bar = layout.GetVerticalScrollBar();
    ASSERT_EQ(50, bar->GetScrollPos());
    layout.RemoveAt(0);
    layout.RemoveAt(0);
    layout.SetPos(layout.GetPos());
    EXPECT_FALSE(bar->IsVisible());
    EXPECT_EQ(0, bar->GetScrollRange());
    EXPECT_EQ(0, bar->GetScrollPos());
    EXPECT_EQ(0, layout.GetItemAt(0)->GetPos().top);
    EXPECT_EQ(100, layout.GetItemAt(0)->GetWidth());
}

TEST(ContainerScroll, ContentThatFitsOnceTheBarIsShownGetsNoRange)
{
    // A child whose height depends on the width it is offered: too tall for
    // the full width, short once the bar takes its room.
    class WidthDependent : public CControlUI {
    public:
        SIZE EstimateSize(SIZE szAvailable) override
        {
            return SIZE { 0, szAvailable.cx >= 100 ? 150 : 50 };
        }
    };
    CVerticalLayoutUI layout;
    layout.EnableScrollBar(true, false);
    layout.Add(new WidthDependent);
    layout.SetPos(R(0, 0, 100, 100));
    CScrollBarUI* bar = layout.GetVerticalScrollBar();
    EXPECT_EQ(0, bar->GetScrollRange());
    EXPECT_FALSE(bar->IsVisible());
    EXPECT_EQ(0, layout.GetScrollRange().cy);
}

TEST(ContainerScroll, PageSizeExcludesInsetsAndTheOtherBar)
{
    CContainerUI container;
    container.EnableScrollBar(true, true);
    CScrollBarUI* vbar = container.GetVerticalScrollBar();
    CScrollBarUI* hbar = container.GetHorizontalScrollBar();
    vbar->SetScrollRange(1000);
    hbar->SetScrollRange(1000);
    container.SetInset(R(1, 2, 3, 4));
    container.SetPos(R(0, 0, 200, 100));
    container.PageDown();
    EXPECT_EQ(100 - 6 - 16, container.GetScrollPos().cy);
    container.PageRight();
    EXPECT_EQ(200 - 4 - 16, container.GetScrollPos().cx);
    container.LineRight();
    EXPECT_EQ(200 - 4 - 16 + 8, container.GetScrollPos().cx);
    container.HomeLeft();
    EXPECT_EQ(0, container.GetScrollPos().cx);
    container.EndRight();
    EXPECT_EQ(1000, container.GetScrollPos().cx);
    container.PageLeft();
    EXPECT_EQ(1000 - 180, container.GetScrollPos().cx);
    container.LineLeft();
    EXPECT_EQ(1000 - 188, container.GetScrollPos().cx);
    container.PageUp();
    EXPECT_EQ(0, container.GetScrollPos().cy);
}

TEST(ContainerScroll, OwnedBarPagesTheOwnerOnATrackClick)
{
    RecordingContainer container;
    container.EnableScrollBar(true, false);
    CScrollBarUI* bar = container.GetVerticalScrollBar();
    bar->SetScrollRange(100);
    bar->SetPos(R(0, 0, 16, 100));
    TEventUI down = MouseEvent(EVENT_BUTTONDOWN, 5, 70);
    bar->DoEvent(down);
    ASSERT_EQ(1u, container.calls.size());
    EXPECT_STREQ(L"PageDown", container.calls[0]);
    TEventUI up = MouseEvent(EVENT_BUTTONUP, 5, 70);
    bar->DoEvent(up);
    TEventUI downButton = MouseEvent(EVENT_BUTTONDOWN, 5, 95);
    bar->DoEvent(downButton);
    EXPECT_STREQ(L"LineDown", container.calls.back());
}
