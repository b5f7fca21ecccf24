#include <gtest/gtest.h>

#include "ControlTestHelpers.h"
#include "controls/HorizontalLayoutUI.h"
#include "controls/ScrollBarUI.h"
#include "controls/VerticalLayoutUI.h"

using namespace Veneer;
using namespace ControlTest;

namespace {

int Height(CControlUI* p) { return p->GetHeight(); }
int Width(CControlUI* p) { return p->GetWidth(); }

}  // namespace

TEST(VerticalLayout, ThreeStretchableChildrenShareWithTheLastTakingTheRemainder)
{
    CVerticalLayoutUI layout;
    CControlUI* a = Box(0, 0);
    CControlUI* b = Box(0, 0);
    CControlUI* c = Box(0, 0);
    layout.Add(a);
    layout.Add(b);
    layout.Add(c);
    layout.SetPos(R(0, 0, 50, 100));
    EXPECT_TRUE(RectEq(R(0, 0, 50, 33), a->GetPos()));
    EXPECT_TRUE(RectEq(R(0, 33, 50, 66), b->GetPos()));
    EXPECT_TRUE(RectEq(R(0, 66, 50, 100), c->GetPos()));
}

TEST(VerticalLayout, LastStretchableChildTakesExactlyWhatIsLeft)
{
    // Child padding 5, three fixed children of 10 and one stretchable at the
    // end: 100 - 3 * 10 - 3 * 5 = 55.
    CVerticalLayoutUI layout;
    layout.SetChildPadding(5);
    CControlUI* fixed[3] = { Box(0, 10), Box(0, 10), Box(0, 10) };
    for (CControlUI* p : fixed) {
        layout.Add(p);
    }
    CControlUI* stretch = Box(0, 0);
    layout.Add(stretch);
    layout.SetPos(R(0, 0, 40, 100));
    EXPECT_EQ(55, Height(stretch));
    EXPECT_TRUE(RectEq(R(0, 45, 40, 100), stretch->GetPos()));
    EXPECT_TRUE(RectEq(R(0, 30, 40, 40), fixed[2]->GetPos()));
}

TEST(VerticalLayout, LastStretchableChildInTheMiddleWithPaddings)
{
    // Paddings and gaps on both sides of the stretchable child are all
    // honoured: the last child ends exactly at the bottom.
    CVerticalLayoutUI layout;
    layout.SetChildPadding(4);
    CControlUI* top = Box(0, 10);
    top->SetPadding(R(0, 2, 0, 3));
    CControlUI* stretch = Box(0, 0);
    stretch->SetPadding(R(0, 1, 0, 1));
    CControlUI* bottom = Box(0, 20);
    bottom->SetPadding(R(0, 5, 0, 0));
    layout.Add(top);
    layout.Add(stretch);
    layout.Add(bottom);
    layout.SetPos(R(0, 0, 30, 120));
    // fixed: 10+2+3 + 1+1 + 20+5 + 2*4 = 50; stretch = 120 - 50 = 70.
    EXPECT_EQ(70 + 1, Height(stretch));  // the rectangle reaches over its bottom padding
    EXPECT_EQ(120, bottom->GetPos().bottom);
    EXPECT_EQ(100, bottom->GetPos().top);
}

TEST(VerticalLayout, NoPaddingsGiveTheSpecifiedShares)
{
    CVerticalLayoutUI layout;
    CControlUI* fixed = Box(0, 40);
    CControlUI* a = Box(0, 0);
    CControlUI* b = Box(0, 0);
    layout.Add(a);
    layout.Add(fixed);
    layout.Add(b);
    layout.SetPos(R(0, 0, 10, 101));
    EXPECT_EQ(30, Height(a));
    EXPECT_EQ(40, Height(fixed));
    EXPECT_EQ(31, Height(b));
    EXPECT_EQ(101, b->GetPos().bottom);
}

TEST(VerticalLayout, MaxHeightClampsAFixedChildAndCountsInTheFixedTotal)
{
    CVerticalLayoutUI layout;
    CControlUI* capped = Box(0, 30);
    capped->SetMaxHeight(20);
    CControlUI* stretch = Box(0, 0);
    layout.Add(capped);
    layout.Add(stretch);
    layout.SetPos(R(0, 0, 10, 100));
    EXPECT_EQ(20, Height(capped));
    EXPECT_EQ(80, Height(stretch));
}

TEST(VerticalLayout, MinHeightOfAStretchableChildWinsAndOverflowShowsTheScrollBar)
{
    CVerticalLayoutUI layout;
    layout.EnableScrollBar(true, false);
    CControlUI* a = Box(0, 0);
    CControlUI* b = Box(0, 0);
    CControlUI* c = Box(0, 0);
    b->SetMinHeight(25);
    layout.Add(a);
    layout.Add(b);
    layout.Add(c);
    layout.SetPos(R(0, 0, 50, 30));
    EXPECT_EQ(10, Height(a));
    EXPECT_EQ(25, Height(b));
    CScrollBarUI* bar = layout.GetVerticalScrollBar();
    ASSERT_NE(nullptr, bar);
    EXPECT_TRUE(bar->IsVisible());
    // The last share is max(0, what is left) = 0; needed = 35 in 30.
    EXPECT_EQ(0, Height(c));
    EXPECT_EQ(5, bar->GetScrollRange());
    EXPECT_TRUE(RectEq(R(34, 0, 50, 30), bar->GetPos()));
    EXPECT_EQ(34, Width(a));
}

TEST(VerticalLayout, MinAndMaxClampStretchableShares)
{
    CVerticalLayoutUI layout;
    CControlUI* small = Box(0, 0);
    small->SetMaxHeight(10);
    CControlUI* rest = Box(0, 0);
    layout.Add(small);
    layout.Add(rest);
    layout.SetPos(R(0, 0, 10, 100));
    EXPECT_EQ(10, Height(small));
    // The last stretchable child absorbs what the clamp left over.
    EXPECT_EQ(90, Height(rest));
    EXPECT_EQ(10, rest->GetPos().top);
}

TEST(VerticalLayout, ChildPaddingCountsOnlyPlacedChildren)
{
    // Four visible children with padding 5 add 15; float and invisible
    // children are not counted.
    CVerticalLayoutUI layout;
    layout.EnableScrollBar(true, false);
    layout.SetChildPadding(5);
    for (int i = 0; i < 4; ++i) {
        layout.Add(Box(0, 10));
    }
    CControlUI* hidden = Box(0, 10);
    hidden->SetVisible(false);
    layout.Add(hidden);
    CControlUI* floating = Box(5, 5);
    floating->SetFloat(true);
    layout.Add(floating);
    layout.SetPos(R(0, 0, 40, 50));
    // needed = 40 + 15 = 55 in 50.
    EXPECT_TRUE(layout.GetVerticalScrollBar()->IsVisible());
    EXPECT_EQ(5, layout.GetVerticalScrollBar()->GetScrollRange());
    EXPECT_TRUE(RectEq(R(0, 45, 24, 55), layout.GetItemAt(3)->GetPos()));
}

TEST(VerticalLayout, PaddedChildRectangleReachesOverItsBottomPadding)
{
    CVerticalLayoutUI layout;
    CControlUI* child = Box(20, 10);
    child->SetPadding(R(2, 3, 4, 5));
    layout.Add(child);
    layout.SetPos(R(0, 0, 100, 100));
    EXPECT_TRUE(RectEq(R(2, 3, 22, 18), child->GetPos()));
}

TEST(VerticalLayout, WidthDefaultsToTheAvailableWidthLessPaddingAndIsClamped)
{
    CVerticalLayoutUI layout;
    layout.SetInset(R(5, 6, 7, 8));
    CControlUI* wide = Box(0, 10);
    wide->SetPadding(R(3, 0, 4, 0));
    CControlUI* narrow = Box(0, 10);
    narrow->SetMaxWidth(30);
    CControlUI* atLeast = Box(0, 10);
    atLeast->SetMinWidth(500);
    layout.Add(wide);
    layout.Add(narrow);
    layout.Add(atLeast);
    layout.SetPos(R(100, 100, 200, 200));
    EXPECT_TRUE(RectEq(R(108, 106, 108 + 81, 116), wide->GetPos()));
    EXPECT_TRUE(RectEq(R(105, 116, 135, 126), narrow->GetPos()));
    EXPECT_EQ(500, Width(atLeast));
}

TEST(VerticalLayout, InvisibleChildrenTakeNoSpaceAndFloatChildrenArePlacedByCoordinates)
{
    CVerticalLayoutUI layout;
    CControlUI* a = Box(0, 0);
    CControlUI* hidden = Box(0, 30);
    hidden->SetVisible(false);
    CControlUI* floating = Box(10, 10);
    floating->SetFloat(true);
    floating->SetFixedXY(SIZE { 5, -15 });
    CControlUI* b = Box(0, 0);
    layout.Add(a);
    layout.Add(hidden);
    layout.Add(floating);
    layout.Add(b);
    layout.SetPos(R(0, 0, 60, 60));
    EXPECT_EQ(30, Height(a));
    EXPECT_EQ(30, Height(b));
    EXPECT_TRUE(RectEq(R(5, 35, 15, 45), floating->GetPos()));
}

TEST(HorizontalLayout, ThreeStretchableChildrenShareWithTheLastTakingTheRemainder)
{
    CHorizontalLayoutUI layout;
    CControlUI* a = Box(0, 0);
    CControlUI* b = Box(0, 0);
    CControlUI* c = Box(0, 0);
    layout.Add(a);
    layout.Add(b);
    layout.Add(c);
    layout.SetPos(R(0, 0, 100, 20));
    EXPECT_TRUE(RectEq(R(0, 0, 33, 20), a->GetPos()));
    EXPECT_TRUE(RectEq(R(33, 0, 66, 20), b->GetPos()));
    EXPECT_TRUE(RectEq(R(66, 0, 100, 20), c->GetPos()));
}

TEST(HorizontalLayout, LastStretchableChildTakesExactlyWhatIsLeft)
{
    CHorizontalLayoutUI layout;
    layout.SetChildPadding(5);
    layout.Add(Box(10, 0));
    layout.Add(Box(10, 0));
    layout.Add(Box(10, 0));
    CControlUI* stretch = Box(0, 0);
    layout.Add(stretch);
    layout.SetPos(R(0, 0, 100, 20));
    EXPECT_EQ(55, Width(stretch));
    EXPECT_EQ(100, stretch->GetPos().right);
}

TEST(HorizontalLayout, PaddingInsetAndHeight)
{
    CHorizontalLayoutUI layout;
    layout.SetInset(R(1, 2, 3, 4));
    CControlUI* padded = Box(10, 0);
    padded->SetPadding(R(2, 3, 4, 5));
    CControlUI* tall = Box(0, 100);
    tall->SetMaxHeight(15);
    CControlUI* fixedHeight = Box(0, 7);
    layout.Add(padded);
    layout.Add(tall);
    layout.Add(fixedHeight);
    layout.SetPos(R(0, 0, 101, 50));
    // Inner rect (1,2,98,46): height 44.
    EXPECT_TRUE(RectEq(R(3, 5, 1 + 10 + 2 + 4, 5 + 36), padded->GetPos()));
    EXPECT_EQ(15, Height(tall));
    EXPECT_EQ(7, Height(fixedHeight));
    EXPECT_EQ(2, fixedHeight->GetPos().top);
    // Stretchables share 97 - 16 = 81: 40 and 41.
    EXPECT_EQ(40, Width(tall));
    EXPECT_EQ(41, Width(fixedHeight));
    EXPECT_EQ(98, fixedHeight->GetPos().right);
}

TEST(HorizontalLayout, MinWidthAndMaxWidthClamps)
{
    CHorizontalLayoutUI layout;
    CControlUI* capped = Box(80, 0);
    capped->SetMaxWidth(30);
    CControlUI* raised = Box(0, 0);
    raised->SetMinWidth(90);
    layout.Add(capped);
    layout.Add(raised);
    layout.SetPos(R(0, 0, 100, 10));
    EXPECT_EQ(30, Width(capped));
    EXPECT_EQ(90, Width(raised));
}

TEST(HorizontalLayout, VerticalBarIsHiddenBecauseNoHeightIsRequired)
{
    CHorizontalLayoutUI layout;
    layout.EnableScrollBar(true, false);
    layout.Add(Box(0, 0));
    layout.SetPos(R(0, 0, 100, 10));
    EXPECT_FALSE(layout.GetVerticalScrollBar()->IsVisible());
}

TEST(HorizontalLayout, FloatChildWithRelativePositionFollowsTheParent)
{
    CHorizontalLayoutUI layout;
    CControlUI* floating = Box(20, 10);
    floating->SetFloat(true);
    floating->SetFixedXY(SIZE { 10, 5 });
    floating->SetRelativePos(SIZE { 50, 0 }, SIZE { 0, 100 });
    layout.Add(floating);
    layout.SetPos(R(0, 0, 100, 50));
    EXPECT_TRUE(RectEq(R(10, 5, 30, 15), floating->GetPos()));
    layout.SetPos(R(0, 0, 200, 70));
    // dx = 100 moves it by 50; dy = 20 zooms its height by 20.
    EXPECT_TRUE(RectEq(R(60, 5, 80, 35), floating->GetPos()));
}

// ---- separators ----

TEST(LayoutSeparator, ThumbRectangles)
{
    CVerticalLayoutUI v;
    v.SetPos(R(0, 0, 100, 50));
    v.SetSepHeight(4);
    EXPECT_TRUE(RectEq(R(0, 46, 100, 50), v.GetThumbRect(false)));
    v.SetSepHeight(-4);
    EXPECT_TRUE(RectEq(R(0, 0, 100, 4), v.GetThumbRect(false)));
    v.SetSepHeight(80);
    EXPECT_TRUE(RectEq(R(0, 0, 100, 50), v.GetThumbRect(false)));

    CHorizontalLayoutUI h;
    h.SetPos(R(10, 0, 110, 50));
    h.SetSepWidth(6);
    EXPECT_TRUE(RectEq(R(104, 0, 110, 50), h.GetThumbRect(false)));
    h.SetSepWidth(-6);
    EXPECT_TRUE(RectEq(R(10, 0, 16, 50), h.GetThumbRect(false)));
    // The horizontal strip is not clamped to the rectangle.
    h.SetSepWidth(200);
    EXPECT_EQ(-90, h.GetThumbRect(false).left);
}

TEST(LayoutSeparator, DraggingTheBottomStripDown)
{
    CVerticalLayoutUI layout;
    layout.SetPos(R(0, 0, 100, 100));
    layout.SetAttribute(L"sepheight", L"4");
    EXPECT_EQ(FLAG_SETCURSOR, layout.GetControlFlags());

    TEventUI down = MouseEvent(EVENT_BUTTONDOWN, 50, 98);
    layout.DoEvent(down);
    // A move that stays within the strip's reach is ignored.
    TEventUI nearMove = MouseEvent(EVENT_MOUSEMOVE, 50, 103);
    layout.DoEvent(nearMove);
    EXPECT_EQ(0, layout.GetFixedHeight());
    TEventUI move = MouseEvent(EVENT_MOUSEMOVE, 50, 110);
    layout.DoEvent(move);
    EXPECT_EQ(107, layout.GetFixedHeight());
    EXPECT_TRUE(RectEq(R(0, 103, 100, 107), layout.GetThumbRect(true)));
    // Preview mode: the layout itself keeps its rectangle until release.
    EXPECT_TRUE(RectEq(R(0, 0, 100, 100), layout.GetPos()));
    TEventUI up = MouseEvent(EVENT_BUTTONUP, 50, 110);
    layout.DoEvent(up);
    EXPECT_TRUE(RectEq(R(0, 0, 100, 107), layout.GetPos()));
}

TEST(LayoutSeparator, TopStripDraggedUpEnlargesUpwards)
{
    CVerticalLayoutUI layout;
    layout.SetPos(R(0, 50, 100, 150));
    layout.SetSepHeight(-4);
    TEventUI down = MouseEvent(EVENT_BUTTONDOWN, 10, 52);
    layout.DoEvent(down);
    TEventUI move = MouseEvent(EVENT_MOUSEMOVE, 10, 40);
    layout.DoEvent(move);
    EXPECT_EQ(112, layout.GetFixedHeight());
    TEventUI up = MouseEvent(EVENT_BUTTONUP, 10, 40);
    layout.DoEvent(up);
    EXPECT_TRUE(RectEq(R(0, 38, 100, 150), layout.GetPos()));
}

TEST(LayoutSeparator, DragStopsAtTheMinimumHeight)
{
    CVerticalLayoutUI layout;
    layout.SetPos(R(0, 0, 100, 100));
    layout.SetMinHeight(90);
    layout.SetSepHeight(4);
    TEventUI down = MouseEvent(EVENT_BUTTONDOWN, 50, 98);
    layout.DoEvent(down);
    TEventUI move = MouseEvent(EVENT_MOUSEMOVE, 50, 50);
    layout.DoEvent(move);
    EXPECT_EQ(90, layout.GetFixedHeight());
    TEventUI further = MouseEvent(EVENT_MOUSEMOVE, 50, 40);
    layout.DoEvent(further);
    EXPECT_EQ(90, layout.GetFixedHeight());
    EXPECT_TRUE(RectEq(R(0, 86, 100, 90), layout.GetThumbRect(true)));
}

TEST(LayoutSeparator, DragStopsAtTheMaximumWidthInImmediateMode)
{
    CHorizontalLayoutUI layout;
    layout.SetPos(R(0, 0, 100, 40));
    layout.SetMaxWidth(120);
    layout.SetSepWidth(4);
    layout.SetAttribute(L"sepimm", L"true");
    EXPECT_TRUE(layout.IsSepImmMode());
    TEventUI down = MouseEvent(EVENT_BUTTONDOWN, 98, 10);
    layout.DoEvent(down);
    TEventUI move = MouseEvent(EVENT_MOUSEMOVE, 110, 10);
    layout.DoEvent(move);
    EXPECT_EQ(112, layout.GetFixedWidth());
    // Immediate mode moves the layout at once.
    EXPECT_TRUE(RectEq(R(0, 0, 112, 40), layout.GetPos()));
    TEventUI farMove = MouseEvent(EVENT_MOUSEMOVE, 200, 10);
    layout.DoEvent(farMove);
    EXPECT_EQ(120, layout.GetFixedWidth());
    TEventUI farther = MouseEvent(EVENT_MOUSEMOVE, 250, 10);
    layout.DoEvent(farther);
    EXPECT_EQ(120, layout.GetFixedWidth());
    TEventUI up = MouseEvent(EVENT_BUTTONUP, 250, 10);
    layout.DoEvent(up);
    EXPECT_TRUE(RectEq(R(0, 0, 120, 40), layout.GetPos()));
}

TEST(LayoutSeparator, PressOutsideTheStripOrWithoutSeparatorIsNotADrag)
{
    CVerticalLayoutUI layout;
    layout.SetPos(R(0, 0, 100, 100));
    EXPECT_EQ(0u, layout.GetControlFlags());
    TEventUI down = MouseEvent(EVENT_BUTTONDOWN, 50, 98);
    layout.DoEvent(down);
    TEventUI move = MouseEvent(EVENT_MOUSEMOVE, 50, 150);
    layout.DoEvent(move);
    EXPECT_EQ(0, layout.GetFixedHeight());

    layout.SetSepHeight(4);
    TEventUI up = MouseEvent(EVENT_BUTTONUP, 50, 150);
    layout.DoEvent(up);
    TEventUI elsewhere = MouseEvent(EVENT_BUTTONDOWN, 50, 20);
    layout.DoEvent(elsewhere);
    layout.DoEvent(move);
    EXPECT_EQ(0, layout.GetFixedHeight());

    layout.SetEnabled(false);
    EXPECT_EQ(0u, layout.GetControlFlags());
    layout.DoEvent(down);
    layout.DoEvent(move);
    EXPECT_EQ(0, layout.GetFixedHeight());
}

TEST(LayoutSeparator, ReleaseReLaysOutTheParentWithTheNewHeight)
{
    CVerticalLayoutUI root;
    auto* pane = new CVerticalLayoutUI;
    pane->SetSepHeight(4);
    CControlUI* below = Box(0, 0);
    root.Add(pane);
    root.Add(below);
    root.SetPos(R(0, 0, 100, 200));
    EXPECT_EQ(100, pane->GetHeight());
    TEventUI down = MouseEvent(EVENT_BUTTONDOWN, 50, 98);
    pane->DoEvent(down);
    TEventUI move = MouseEvent(EVENT_MOUSEMOVE, 50, 160);
    pane->DoEvent(move);
    TEventUI up = MouseEvent(EVENT_BUTTONUP, 50, 160);
    pane->DoEvent(up);
    EXPECT_EQ(162, pane->GetFixedHeight());
    root.SetPos(root.GetPos());
    EXPECT_EQ(162, pane->GetHeight());
    EXPECT_EQ(38, below->GetHeight());
}

TEST(LayoutSeparator, LeftStripDraggedLeftEnlargesLeftwards)
{
    CHorizontalLayoutUI layout;
    layout.SetPos(R(100, 0, 200, 40));
    layout.SetSepWidth(-4);
    TEventUI down = MouseEvent(EVENT_BUTTONDOWN, 102, 10);
    layout.DoEvent(down);
    TEventUI move = MouseEvent(EVENT_MOUSEMOVE, 91, 10);
    layout.DoEvent(move);
    EXPECT_EQ(111, layout.GetFixedWidth());
    TEventUI back = MouseEvent(EVENT_MOUSEMOVE, 95, 10);
    layout.DoEvent(back);
    EXPECT_EQ(107, layout.GetFixedWidth());
    TEventUI right = MouseEvent(EVENT_MOUSEMOVE, 120, 10);
    layout.DoEvent(right);
    EXPECT_EQ(82, layout.GetFixedWidth());
    TEventUI up = MouseEvent(EVENT_BUTTONUP, 120, 10);
    layout.DoEvent(up);
    EXPECT_TRUE(RectEq(R(118, 0, 200, 40), layout.GetPos()));
}

TEST(LayoutSeparator, CursorOverTheStripIsTheSizingArrow)
{
    CVerticalLayoutUI vertical;
    vertical.SetPos(R(0, 0, 100, 100));
    vertical.SetSepHeight(4);
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    TEventUI onStrip = MouseEvent(EVENT_SETCURSOR, 50, 98);
    vertical.DoEvent(onStrip);
    EXPECT_EQ(::LoadCursorW(nullptr, IDC_SIZENS), ::GetCursor());
    TEventUI elsewhere = MouseEvent(EVENT_SETCURSOR, 50, 20);
    vertical.DoEvent(elsewhere);
    EXPECT_EQ(::LoadCursorW(nullptr, IDC_ARROW), ::GetCursor());

    CHorizontalLayoutUI horizontal;
    horizontal.SetPos(R(0, 0, 100, 100));
    horizontal.SetSepWidth(4);
    TEventUI onRightStrip = MouseEvent(EVENT_SETCURSOR, 98, 50);
    horizontal.DoEvent(onRightStrip);
    EXPECT_EQ(::LoadCursorW(nullptr, IDC_SIZEWE), ::GetCursor());
}
