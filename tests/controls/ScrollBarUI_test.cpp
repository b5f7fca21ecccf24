#include <gtest/gtest.h>

#include "ControlTestHelpers.h"
#include "controls/ScrollBarUI.h"

using namespace Veneer;
using namespace ControlTest;

namespace {

TEventUI Timer()
{
    TEventUI event;
    event.Type = EVENT_TIMER;
    event.wParam = CScrollBarUI::DEFAULT_TIMERID;
    return event;
}

}  // namespace

TEST(ScrollBarGeometry, ThumbLengthAndPositionFollowRangeAndPosition)
{
    CScrollBarUI bar;
    EXPECT_EQ(16, bar.GetFixedWidth());
    EXPECT_EQ(0, bar.GetFixedHeight());
    EXPECT_EQ(100, bar.GetScrollRange());
    bar.SetPos(R(10, 0, 26, 100));
    EXPECT_TRUE(RectEq(R(10, 0, 26, 16), bar.GetButton1Rect()));
    EXPECT_TRUE(RectEq(R(10, 84, 26, 100), bar.GetButton2Rect()));
    EXPECT_TRUE(RectEq(R(10, 16, 26, 50), bar.GetThumbRect()));
    bar.SetScrollPos(100);
    EXPECT_TRUE(RectEq(R(10, 50, 26, 84), bar.GetThumbRect()));
    bar.SetScrollPos(50);
    EXPECT_TRUE(RectEq(R(10, 33, 26, 67), bar.GetThumbRect()));
}

TEST(ScrollBarGeometry, ShortThumbIsRaisedToTheButtonSize)
{
    CScrollBarUI bar;
    bar.SetScrollRange(1000);
    bar.SetPos(R(0, 0, 16, 100));
    EXPECT_EQ(16, bar.GetThumbRect().bottom - bar.GetThumbRect().top);
    bar.SetScrollPos(1000);
    EXPECT_EQ(84, bar.GetThumbRect().bottom);
}

TEST(ScrollBarGeometry, TooShortForAThumb)
{
    CScrollBarUI bar;
    bar.SetPos(R(0, 0, 16, 30));
    EXPECT_TRUE(RectEq(R(0, 0, 0, 0), bar.GetThumbRect()));
    EXPECT_TRUE(RectEq(R(0, 0, 16, 15), bar.GetButton1Rect()));
    EXPECT_TRUE(RectEq(R(0, 15, 16, 30), bar.GetButton2Rect()));
}

TEST(ScrollBarGeometry, ZeroRangeThumbFillsTheTrackAndHiddenButtonsAreEmpty)
{
    CScrollBarUI bar;
    bar.SetScrollRange(0);
    bar.SetAttribute(L"showbutton1", L"false");
    bar.SetPos(R(0, 0, 16, 100));
    EXPECT_TRUE(RectEq(R(0, 0, 0, 0), bar.GetButton1Rect()));
    EXPECT_TRUE(RectEq(R(0, 0, 16, 84), bar.GetThumbRect()));
    bar.SetShowButton2(false);
    EXPECT_TRUE(RectEq(R(0, 100, 0, 100), bar.GetButton2Rect()));
    EXPECT_TRUE(RectEq(R(0, 0, 16, 100), bar.GetThumbRect()));
}

TEST(ScrollBarGeometry, HorizontalBar)
{
    CScrollBarUI bar;
    bar.SetAttribute(L"hor", L"true");
    EXPECT_TRUE(bar.IsHorizontal());
    EXPECT_EQ(0, bar.GetFixedWidth());
    EXPECT_EQ(16, bar.GetFixedHeight());
    bar.SetPos(R(0, 50, 100, 66));
    EXPECT_TRUE(RectEq(R(0, 50, 16, 66), bar.GetButton1Rect()));
    EXPECT_TRUE(RectEq(R(84, 50, 100, 66), bar.GetButton2Rect()));
    EXPECT_TRUE(RectEq(R(16, 50, 50, 66), bar.GetThumbRect()));
    bar.SetHorizontal(false);
    EXPECT_EQ(16, bar.GetFixedWidth());
    EXPECT_EQ(0, bar.GetFixedHeight());
    // A bar that already has a height keeps its sizes when turned.
    CScrollBarUI sized;
    sized.SetFixedHeight(10);
    sized.SetHorizontal(true);
    EXPECT_EQ(16, sized.GetFixedWidth());
    EXPECT_EQ(10, sized.GetFixedHeight());
    EXPECT_FALSE(bar.IsHorizontal());
}

TEST(ScrollBarValues, PositionIsClampedAndRangeLowersIt)
{
    CScrollBarUI bar;
    bar.SetScrollPos(-5);
    EXPECT_EQ(0, bar.GetScrollPos());
    bar.SetScrollPos(80);
    bar.SetScrollRange(50);
    EXPECT_EQ(50, bar.GetScrollPos());
    bar.SetScrollRange(-7);
    EXPECT_EQ(0, bar.GetScrollRange());
    EXPECT_EQ(0, bar.GetScrollPos());
    bar.SetScrollPos(10);
    EXPECT_EQ(0, bar.GetScrollPos());
}

TEST(ScrollBarValues, Attributes)
{
    CScrollBarUI bar;
    bar.ApplyAttributeList(L"range=\"300\" value=\"120\" linesize=\"12\" thumbnormalimage=\"t.png\" "
                           L"button1hotimage=\"b.png\" raildisabledimage=\"r.png\" bkpushedimage=\"k.png\"");
    EXPECT_EQ(300, bar.GetScrollRange());
    EXPECT_EQ(120, bar.GetScrollPos());
    EXPECT_EQ(12, bar.GetLineSize());
    EXPECT_STREQ(L"t.png", bar.GetThumbNormalImage());
    EXPECT_STREQ(L"b.png", bar.GetButton1HotImage());
    EXPECT_STREQ(L"r.png", bar.GetRailDisabledImage());
    EXPECT_STREQ(L"k.png", bar.GetBkPushedImage());
    bar.SetAttribute(L"value", L"junk");
    EXPECT_EQ(0, bar.GetScrollPos());
    bar.SetAttribute(L"width", L"20");
    EXPECT_EQ(20, bar.GetFixedWidth());
    EXPECT_STREQ(L"ScrollBarUI", bar.GetClass());
    EXPECT_EQ(&bar, bar.GetInterface(L"ScrollBar"));
    EXPECT_EQ(&bar, bar.GetInterface(L"Control"));
}

TEST(ScrollBarEvents, ButtonsStepByTheLineSizeAndRepeatAfterSixTicks)
{
    CScrollBarUI bar;
    bar.SetPos(R(0, 0, 16, 100));
    TEventUI down = MouseEvent(EVENT_BUTTONDOWN, 8, 92);
    bar.DoEvent(down);
    EXPECT_EQ(8, bar.GetScrollPos());
    EXPECT_NE(0u, bar.GetButton2State() & STATE_PUSHED);
    TEventUI tick = Timer();
    for (int i = 0; i < 5; ++i) {
        bar.DoEvent(tick);
    }
    EXPECT_EQ(8, bar.GetScrollPos());
    bar.DoEvent(tick);
    EXPECT_EQ(16, bar.GetScrollPos());
    bar.DoEvent(tick);
    EXPECT_EQ(24, bar.GetScrollPos());
    TEventUI up = MouseEvent(EVENT_BUTTONUP, 200, 200);
    bar.DoEvent(up);
    EXPECT_EQ(0u, bar.GetButton2State() & STATE_PUSHED);
    bar.DoEvent(tick);
    bar.DoEvent(tick);
    EXPECT_EQ(24, bar.GetScrollPos());

    TEventUI upButton = MouseEvent(EVENT_BUTTONDOWN, 8, 3);
    bar.DoEvent(upButton);
    EXPECT_EQ(16, bar.GetScrollPos());
    bar.DoEvent(up);
}

TEST(ScrollBarEvents, TrackPressPagesByTheBarLength)
{
    CScrollBarUI bar;
    bar.SetScrollRange(500);
    bar.SetPos(R(0, 0, 16, 100));
    TEventUI below = MouseEvent(EVENT_BUTTONDOWN, 8, 70);
    bar.DoEvent(below);
    EXPECT_EQ(100, bar.GetScrollPos());
    TEventUI up = MouseEvent(EVENT_BUTTONUP, 8, 70);
    bar.DoEvent(up);
    TEventUI above = MouseEvent(EVENT_BUTTONDOWN, 8, 17);
    bar.DoEvent(above);
    EXPECT_EQ(0, bar.GetScrollPos());
    bar.DoEvent(up);
}

TEST(ScrollBarEvents, ThumbDragIsAppliedByTheTimer)
{
    CScrollBarUI bar;
    bar.SetPos(R(0, 0, 16, 100));
    TEventUI down = MouseEvent(EVENT_BUTTONDOWN, 8, 30);
    bar.DoEvent(down);
    EXPECT_NE(0u, bar.GetThumbState() & STATE_CAPTURED);
    // Track room = 100 - 34 - 32 = 34; 17 pixels are half the range.
    TEventUI move = MouseEvent(EVENT_MOUSEMOVE, 8, 47);
    bar.DoEvent(move);
    EXPECT_EQ(0, bar.GetScrollPos());
    TEventUI tick = Timer();
    bar.DoEvent(tick);
    EXPECT_EQ(50, bar.GetScrollPos());
    TEventUI back = MouseEvent(EVENT_MOUSEMOVE, 8, -100);
    bar.DoEvent(back);
    bar.DoEvent(tick);
    EXPECT_EQ(0, bar.GetScrollPos());
    // Releasing anywhere ends the drag.
    TEventUI up = MouseEvent(EVENT_BUTTONUP, 500, 500);
    bar.DoEvent(up);
    EXPECT_EQ(0u, bar.GetThumbState() & (STATE_CAPTURED | STATE_PUSHED));
    TEventUI moveAfter = MouseEvent(EVENT_MOUSEMOVE, 8, 80);
    bar.DoEvent(moveAfter);
    bar.DoEvent(tick);
    EXPECT_EQ(0, bar.GetScrollPos());
}

TEST(ScrollBarEvents, HotTrackingAndDisabledBar)
{
    CScrollBarUI bar;
    bar.SetPos(R(0, 0, 16, 100));
    TEventUI enter = MouseEvent(EVENT_MOUSEENTER, 8, 30);
    bar.DoEvent(enter);
    EXPECT_NE(0u, bar.GetButton1State() & STATE_HOT);
    EXPECT_NE(0u, bar.GetButton2State() & STATE_HOT);
    EXPECT_NE(0u, bar.GetThumbState() & STATE_HOT);
    TEventUI off = MouseEvent(EVENT_MOUSEMOVE, 8, 70);
    bar.DoEvent(off);
    EXPECT_EQ(0u, bar.GetThumbState() & STATE_HOT);
    TEventUI on = MouseEvent(EVENT_MOUSEMOVE, 8, 20);
    bar.DoEvent(on);
    EXPECT_NE(0u, bar.GetThumbState() & STATE_HOT);
    TEventUI leave = MouseEvent(EVENT_MOUSELEAVE, 8, 200);
    bar.DoEvent(leave);
    EXPECT_EQ(0u, bar.GetButton1State() & STATE_HOT);
    EXPECT_EQ(0u, bar.GetThumbState() & STATE_HOT);

    bar.DoEvent(enter);
    bar.SetEnabled(false);
    EXPECT_EQ(0u, bar.GetButton1State());
    EXPECT_EQ(0u, bar.GetThumbState());
    TEventUI down = MouseEvent(EVENT_BUTTONDOWN, 8, 92);
    bar.DoEvent(down);
    EXPECT_EQ(0, bar.GetScrollPos());
    bar.DoEvent(enter);
    EXPECT_EQ(0u, bar.GetButton1State());
}

TEST(ScrollBarEvents, VisibilityChangesOnlyTheOwnFlag)
{
    CScrollBarUI bar;
    bar.SetVisible(false);
    EXPECT_FALSE(bar.IsVisible());
    bar.SetVisible(true);
    EXPECT_TRUE(bar.IsVisible());
}
