// The linear layout's cases run along both axes: every expectation is
// written along the axis ("main") and across it ("cross"), so the vertical
// and the horizontal layout answer the same questions.
#include <gtest/gtest.h>

#include <memory>

#include "ControlTestHelpers.h"
#include "controls/HorizontalLayoutUI.h"
#include "controls/ScrollBarUI.h"
#include "controls/VerticalLayoutUI.h"

using namespace Veneer;
using namespace ControlTest;

namespace {

class LinearAxis : public ::testing::TestWithParam<bool> {
protected:
    bool Vertical() const { return GetParam(); }

    std::unique_ptr<CLinearLayoutUI> MakeLayout() const
    {
        if (Vertical()) return std::unique_ptr<CLinearLayoutUI>(new CVerticalLayoutUI);
        return std::unique_ptr<CLinearLayoutUI>(new CHorizontalLayoutUI);
    }
    CLinearLayoutUI* NewLayout() const
    {
        if (Vertical()) return new CVerticalLayoutUI;
        return new CHorizontalLayoutUI;
    }
    void SetSep(CLinearLayoutUI& layout, int size) const
    {
        if (Vertical()) {
            static_cast<CVerticalLayoutUI&>(layout).SetSepHeight(size);
        } else {
            static_cast<CHorizontalLayoutUI&>(layout).SetSepWidth(size);
        }
    }
    // A rectangle given along and across the axis.
    RECT Rc(int lead, int crossLead, int trail, int crossTrail) const
    {
        return Vertical() ? R(crossLead, lead, crossTrail, trail) : R(lead, crossLead, trail, crossTrail);
    }
    // A leaf wishing `main` along the axis and `cross` across it.
    CControlUI* Leaf(int main, int cross) const { return Vertical() ? Box(cross, main) : Box(main, cross); }
    int Main(CControlUI* p) const { return Vertical() ? p->GetHeight() : p->GetWidth(); }
    int Cross(CControlUI* p) const { return Vertical() ? p->GetWidth() : p->GetHeight(); }
    int FixedMain(CControlUI* p) const { return Vertical() ? p->GetFixedHeight() : p->GetFixedWidth(); }
    void SetMinMain(CControlUI* p, int v) const { Vertical() ? p->SetMinHeight(v) : p->SetMinWidth(v); }
    void SetMaxMain(CControlUI* p, int v) const { Vertical() ? p->SetMaxHeight(v) : p->SetMaxWidth(v); }
    void SetMinCross(CControlUI* p, int v) const { Vertical() ? p->SetMinWidth(v) : p->SetMinHeight(v); }
    void SetMaxCross(CControlUI* p, int v) const { Vertical() ? p->SetMaxWidth(v) : p->SetMaxHeight(v); }
    TEventUI Mouse(int type, int main, int cross) const
    {
        return Vertical() ? MouseEvent(type, cross, main) : MouseEvent(type, main, cross);
    }
};

std::string AxisName(const ::testing::TestParamInfo<bool>& info)
{
    return info.param ? "Vertical" : "Horizontal";
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Orientation, LinearAxis, ::testing::Values(true, false), AxisName);

TEST_P(LinearAxis, StretchableChildBetweenPaddedFixedOnesEndsExactlyAtTheFarEdge)
{
    auto layout = MakeLayout();
    layout->SetChildPadding(4);
    CControlUI* first = Leaf(10, 0);
    first->SetPadding(Rc(2, 0, 3, 0));
    CControlUI* stretch = Leaf(0, 0);
    stretch->SetPadding(Rc(1, 0, 1, 0));
    CControlUI* last = Leaf(20, 0);
    last->SetPadding(Rc(5, 0, 6, 0));
    layout->Add(first);
    layout->Add(stretch);
    layout->Add(last);
    layout->SetPos(Rc(0, 0, 100, 30));
    // 100 - (10 + 5) - 2 - (20 + 11) - 2 * 4 = 44, and its rectangle reaches
    // over its trailing padding.
    EXPECT_EQ(45, Main(stretch));
    EXPECT_TRUE(RectEq(Rc(74, 0, 100, 30), last->GetPos()));
}

TEST_P(LinearAxis, MinAndMaxClampStretchableSharesAndFixedExtents)
{
    auto layout = MakeLayout();
    CControlUI* atLeast = Leaf(0, 0);
    SetMinMain(atLeast, 60);
    CControlUI* atMost = Leaf(0, 0);
    SetMaxMain(atMost, 10);
    CControlUI* clampedFixed = Leaf(30, 0);
    SetMaxMain(clampedFixed, 20);
    layout->Add(atLeast);
    layout->Add(atMost);
    layout->Add(clampedFixed);
    layout->SetPos(Rc(0, 0, 100, 10));
    // The fixed child counts 20; the shares are (100 - 20) / 2 = 40 each,
    // then clamped; the last stretchable one takes what is left, clamped.
    EXPECT_EQ(60, Main(atLeast));
    EXPECT_EQ(10, Main(atMost));
    EXPECT_EQ(20, Main(clampedFixed));
    EXPECT_TRUE(RectEq(Rc(70, 0, 90, 10), clampedFixed->GetPos()));
}

TEST_P(LinearAxis, HiddenAndFloatChildrenTakeNoSpaceAndNoGap)
{
    auto layout = MakeLayout();
    layout->SetChildPadding(5);
    CControlUI* a = Leaf(0, 0);
    CControlUI* hidden = Leaf(30, 0);
    hidden->SetVisible(false);
    CControlUI* floating = Box(10, 10);
    floating->SetFloat(true);
    floating->SetFixedXY(SIZE { 5, 5 });
    CControlUI* b = Leaf(0, 0);
    layout->Add(a);
    layout->Add(hidden);
    layout->Add(floating);
    layout->Add(b);
    layout->SetPos(R(0, 0, 65, 65));
    EXPECT_EQ(30, Main(a));
    EXPECT_EQ(30, Main(b));
    EXPECT_TRUE(RectEq(Rc(35, 0, 65, 65), b->GetPos()));
    EXPECT_TRUE(RectEq(R(5, 5, 15, 15), floating->GetPos()));
}

TEST_P(LinearAxis, ChildRectangleReachesOverItsTrailingPaddingAlongTheAxisOnly)
{
    auto layout = MakeLayout();
    CControlUI* child = Leaf(10, 20);
    child->SetPadding(Rc(3, 2, 5, 4));
    layout->Add(child);
    layout->SetPos(R(0, 0, 100, 100));
    EXPECT_TRUE(RectEq(Rc(3, 2, 18, 22), child->GetPos()));
}

TEST_P(LinearAxis, CrossExtentDefaultsToTheInnerRectangleLessPaddingWithinBounds)
{
    auto layout = MakeLayout();
    layout->SetInset(R(5, 6, 7, 8));
    CControlUI* wide = Leaf(10, 0);
    wide->SetPadding(Rc(0, 3, 0, 4));
    CControlUI* capped = Leaf(10, 0);
    SetMaxCross(capped, 30);
    CControlUI* atLeast = Leaf(10, 0);
    SetMinCross(atLeast, 500);
    layout->Add(wide);
    layout->Add(capped);
    layout->Add(atLeast);
    layout->SetPos(R(100, 100, 200, 200));
    const int innerCross = Vertical() ? 100 - 5 - 7 : 100 - 6 - 8;
    EXPECT_EQ(innerCross - 7, Cross(wide));
    EXPECT_EQ(30, Cross(capped));
    EXPECT_EQ(500, Cross(atLeast));
    const RECT inner = R(105, 106, 193, 192);
    EXPECT_EQ(Vertical() ? inner.top : inner.left, Vertical() ? wide->GetPos().top : wide->GetPos().left);
    EXPECT_EQ((Vertical() ? inner.left : inner.top) + 3,
              Vertical() ? wide->GetPos().left : wide->GetPos().top);
}

TEST_P(LinearAxis, ScrollPositionsMoveTheChildrenAndAHorizontalLayoutDropsItsVerticalBar)
{
    auto layout = MakeLayout();
    layout->EnableScrollBar(true, false);
    CControlUI* child = Leaf(40, 20);
    layout->Add(child);
    CScrollBarUI* bar = layout->GetVerticalScrollBar();
    bar->SetVisible(true);
    bar->SetScrollRange(50);
    bar->SetScrollPos(10);
    layout->SetPos(R(0, 0, 100, 30));
    if (Vertical()) {
        // 40 needed in 30: the bar stays, and the child moves up by its position.
        EXPECT_TRUE(bar->IsVisible());
        EXPECT_EQ(10, bar->GetScrollRange());
        EXPECT_EQ(-10, child->GetPos().top);
    } else {
        // Nothing is required vertically: the bar goes and the child is at the top.
        EXPECT_FALSE(bar->IsVisible());
        EXPECT_EQ(0, bar->GetScrollPos());
        EXPECT_TRUE(RectEq(R(0, 0, 40, 20), child->GetPos()));
    }
}

TEST_P(LinearAxis, TrailingStripDragPreviewsThenReleaseReLaysOutTheParent)
{
    auto root = MakeLayout();
    CLinearLayoutUI* pane = NewLayout();
    SetSep(*pane, 4);
    CControlUI* after = Leaf(0, 0);
    root->Add(pane);
    root->Add(after);
    root->SetPos(Rc(0, 0, 200, 50));
    ASSERT_EQ(100, Main(pane));
    EXPECT_EQ(FLAG_SETCURSOR, pane->GetControlFlags());

    TEventUI down = Mouse(EVENT_BUTTONDOWN, 98, 10);
    pane->DoEvent(down);
    TEventUI move = Mouse(EVENT_MOUSEMOVE, 150, 10);
    pane->DoEvent(move);
    const int moved = FixedMain(pane);
    EXPECT_GT(moved, 100);
    // Preview: the pane keeps its rectangle until the release.
    EXPECT_EQ(100, Main(pane));
    TEventUI up = Mouse(EVENT_BUTTONUP, 150, 10);
    pane->DoEvent(up);
    root->SetPos(root->GetPos());
    EXPECT_EQ(moved, Main(pane));
    EXPECT_EQ(200 - moved, Main(after));
}

TEST_P(LinearAxis, LeadingStripDraggedOutwardsEnlargesTheLayoutAndStopsAtItsMinimum)
{
    auto layout = MakeLayout();
    layout->SetPos(Rc(100, 0, 200, 40));
    SetSep(*layout, -4);
    SetMinMain(layout.get(), 90);
    TEventUI down = Mouse(EVENT_BUTTONDOWN, 102, 10);
    layout->DoEvent(down);
    TEventUI out = Mouse(EVENT_MOUSEMOVE, 80, 10);
    layout->DoEvent(out);
    EXPECT_EQ(122, FixedMain(layout.get()));
    TEventUI in = Mouse(EVENT_MOUSEMOVE, 150, 10);
    layout->DoEvent(in);
    EXPECT_EQ(90, FixedMain(layout.get()));
    TEventUI further = Mouse(EVENT_MOUSEMOVE, 170, 10);
    layout->DoEvent(further);
    EXPECT_EQ(90, FixedMain(layout.get()));
    TEventUI up = Mouse(EVENT_BUTTONUP, 170, 10);
    layout->DoEvent(up);
    EXPECT_TRUE(RectEq(Rc(110, 0, 200, 40), layout->GetPos()));
}

TEST_P(LinearAxis, DisabledLayoutOrPressBesideTheStripStartsNoDrag)
{
    auto layout = MakeLayout();
    layout->SetPos(Rc(0, 0, 100, 40));
    SetSep(*layout, 4);
    TEventUI beside = Mouse(EVENT_BUTTONDOWN, 50, 10);
    layout->DoEvent(beside);
    TEventUI move = Mouse(EVENT_MOUSEMOVE, 150, 10);
    layout->DoEvent(move);
    EXPECT_EQ(0, FixedMain(layout.get()));

    layout->SetEnabled(false);
    EXPECT_EQ(0u, layout->GetControlFlags());
    TEventUI onStrip = Mouse(EVENT_BUTTONDOWN, 98, 10);
    layout->DoEvent(onStrip);
    layout->DoEvent(move);
    EXPECT_EQ(0, FixedMain(layout.get()));
}
