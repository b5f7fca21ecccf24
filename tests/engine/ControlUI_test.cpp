#include <gtest/gtest.h>

#include <vector>

#include "controls/ContainerUI.h"
#include "engine/ControlUI.h"
#include "engine/PaintManagerUI.h"

using namespace Veneer;

namespace {

RECT R(int l, int t, int r, int b) { return RECT { l, t, r, b }; }

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

#define EXPECT_RECT(expected, actual) EXPECT_TRUE(SameRect(expected, actual)) \
    << "got " << (actual).left << "," << (actual).top << "," << (actual).right << "," << (actual).bottom

// Records the events its DoEvent receives.
class RecordingControl : public CControlUI {
public:
    void DoEvent(TEventUI& event) override
    {
        types.push_back(event.Type);
        CControlUI::DoEvent(event);
    }
    std::vector<int> types;
};

int g_destroyed = 0;
bool CountDestroy(void*)
{
    ++g_destroyed;
    return true;
}

bool RefuseEvent(void*) { return false; }

int g_inits = 0;
bool CountInit(void*)
{
    ++g_inits;
    return true;
}

CControlUI* CALLBACK MatchAny(CControlUI* pThis, LPVOID) { return pThis; }

}  // namespace

TEST(ControlAttributes, PosWithNegativeCoordinatesAnchorsToTheFarEdge)
{
    CControlUI control;
    control.SetAttribute(L"pos", L"-40,5,-10,25");
    EXPECT_EQ(-10, control.GetFixedXY().cx);
    EXPECT_EQ(5, control.GetFixedXY().cy);
    EXPECT_EQ(30, control.GetFixedWidth());
    EXPECT_EQ(20, control.GetFixedHeight());
}

TEST(ControlAttributes, BorderSizeIntegerOrRectangle)
{
    CControlUI control;
    control.SetAttribute(L"bordersize", L"0,1,0,1");
    EXPECT_EQ(0, control.GetBorderSize());
    EXPECT_EQ(1, control.GetTopBorderSize());
    EXPECT_EQ(1, control.GetBottomBorderSize());
    EXPECT_EQ(0, control.GetLeftBorderSize());

    control.SetAttribute(L"bordersize", L"2");
    EXPECT_EQ(2, control.GetBorderSize());
    EXPECT_EQ(0, control.GetTopBorderSize());
    EXPECT_EQ(0, control.GetBottomBorderSize());

    control.SetAttribute(L"bordersize", L"3,4,5,6");
    EXPECT_EQ(2, control.GetBorderSize());
    EXPECT_EQ(3, control.GetLeftBorderSize());
    EXPECT_EQ(6, control.GetBottomBorderSize());
}

TEST(ControlAttributes, OnlyLowerCaseTrueIsTrue)
{
    CControlUI control;
    control.SetAttribute(L"visible", L"True");
    EXPECT_FALSE(control.IsVisible());
    control.SetAttribute(L"visible", L"true");
    EXPECT_TRUE(control.IsVisible());
    control.SetAttribute(L"enabled", L"1");
    EXPECT_FALSE(control.IsEnabled());
    control.SetAttribute(L"mouse", L"TRUE");
    EXPECT_FALSE(control.IsMouseEnabled());
    control.SetAttribute(L"float", L"true");
    EXPECT_TRUE(control.IsFloat());
    control.SetAttribute(L"menu", L"true");
    EXPECT_TRUE(control.IsContextMenuUsed());
    control.SetAttribute(L"keyboard", L"false");
    EXPECT_FALSE(control.IsKeyboardEnabled());
}

TEST(ControlAttributes, ColoursAcceptHashOrHexPrefix)
{
    CControlUI control;
    control.SetAttribute(L"bkcolor", L"#FF102030");
    EXPECT_EQ(0xFF102030u, control.GetBkColor());
    control.SetAttribute(L"bkcolor1", L"  #80FF0000");
    EXPECT_EQ(0x80FF0000u, control.GetBkColor());
    control.SetAttribute(L"bkcolor2", L"0xFF0000FF");
    EXPECT_EQ(0xFF0000FFu, control.GetBkColor2());
    control.SetAttribute(L"bkcolor3", L"#123456");
    EXPECT_EQ(0x00123456u, control.GetBkColor3());
    control.SetAttribute(L"bordercolor", L"#FFABCDEF");
    EXPECT_EQ(0xFFABCDEFu, control.GetBorderColor());
    control.SetAttribute(L"focusbordercolor", L"#FF000001");
    EXPECT_EQ(0xFF000001u, control.GetFocusBorderColor());
    // Malformed colours read as far as they are hexadecimal.
    control.SetAttribute(L"bkcolor", L"#zz");
    EXPECT_EQ(0u, control.GetBkColor());
}

TEST(ControlAttributes, IntegersStopAtTheFirstNonDigitAndNegativeSizesAreIgnored)
{
    CControlUI control;
    control.SetAttribute(L"width", L"12px");
    EXPECT_EQ(12, control.GetFixedWidth());
    control.SetAttribute(L"width", L"-5");
    EXPECT_EQ(12, control.GetFixedWidth());
    control.SetAttribute(L"width", L"abc");
    EXPECT_EQ(0, control.GetFixedWidth());
    control.SetAttribute(L"height", L"  +7");
    EXPECT_EQ(7, control.GetFixedHeight());
    control.SetAttribute(L"minwidth", L"3");
    control.SetAttribute(L"maxwidth", L"300");
    control.SetAttribute(L"minheight", L"4");
    control.SetAttribute(L"maxheight", L"400");
    EXPECT_EQ(3, control.GetMinWidth());
    EXPECT_EQ(300, control.GetMaxWidth());
    EXPECT_EQ(4, control.GetMinHeight());
    EXPECT_EQ(400, control.GetMaxHeight());
}

TEST(ControlAttributes, TextualAndGeometricAttributes)
{
    CControlUI control;
    control.SetAttribute(L"name", L"ok");
    control.SetAttribute(L"text", L"OK");
    control.SetAttribute(L"userdata", L"data");
    control.SetAttribute(L"shortcut", L"K");
    control.SetAttribute(L"padding", L"1,2,3,4");
    control.SetAttribute(L"borderround", L"5,6");
    control.SetAttribute(L"borderstyle", L"2");
    control.SetAttribute(L"leftbordersize", L"7");
    control.SetAttribute(L"relativepos", L"50,25,10,0");
    control.SetAttribute(L"colorhsl", L"true");
    control.SetAttribute(L"bkimage", L"file='a.png'");
    control.SetAttribute(L"Name", L"ignored");
    control.SetAttribute(L"unknown", L"x");

    EXPECT_EQ(CStdString(L"ok"), control.GetName().GetData());
    EXPECT_EQ(CStdString(L"OK"), control.GetText().GetData());
    EXPECT_EQ(CStdString(L"data"), control.GetUserData().GetData());
    EXPECT_EQ(L'K', control.GetShortcut());
    EXPECT_RECT(R(1, 2, 3, 4), control.GetPadding());
    EXPECT_EQ(5, control.GetBorderRound().cx);
    EXPECT_EQ(6, control.GetBorderRound().cy);
    EXPECT_EQ(2, control.GetBorderStyle());
    EXPECT_EQ(7, control.GetLeftBorderSize());
    EXPECT_TRUE(control.IsRelativePos());
    EXPECT_EQ(50, control.GetRelativePos().nMoveXPercent);
    EXPECT_EQ(25, control.GetRelativePos().nMoveYPercent);
    EXPECT_EQ(10, control.GetRelativePos().nZoomXPercent);
    EXPECT_EQ(0, control.GetRelativePos().nZoomYPercent);
    EXPECT_TRUE(control.IsColorHSL());
    EXPECT_STREQ(L"file='a.png'", control.GetBkImage());
}

TEST(ControlAttributes, TooltipLineBreakMarker)
{
    CControlUI control;
    control.SetAttribute(L"tooltip", L"one<n>two");
    EXPECT_STREQ(L"one\r\ntwo", control.GetToolTip().GetData());
}

TEST(ControlAttributes, ApplyAttributeListStopsAtMalformedTail)
{
    CControlUI control;
    control.ApplyAttributeList(L"name=\"a\" text=\"b\" tooltip=\"c\"");
    EXPECT_STREQ(L"a", control.GetName().GetData());
    EXPECT_STREQ(L"b", control.GetText().GetData());
    EXPECT_STREQ(L"c", control.GetToolTip().GetData());

    // Two blanks: the second name begins with a blank, which nobody knows.
    CControlUI two;
    two.ApplyAttributeList(L"name=\"a\"  text=\"b\"");
    EXPECT_STREQ(L"a", two.GetName().GetData());
    EXPECT_TRUE(two.GetText().IsEmpty());

    CControlUI unquoted;
    unquoted.ApplyAttributeList(L"name=\"a\" text=b userdata=\"c\"");
    EXPECT_STREQ(L"a", unquoted.GetName().GetData());
    EXPECT_TRUE(unquoted.GetText().IsEmpty());
    EXPECT_TRUE(unquoted.GetUserData().IsEmpty());

    CControlUI open;
    open.ApplyAttributeList(L"name=\"a\" text=\"never closed");
    EXPECT_STREQ(L"a", open.GetName().GetData());
    EXPECT_TRUE(open.GetText().IsEmpty());

    CControlUI noSeparator;
    noSeparator.ApplyAttributeList(L"name=\"a\"text=\"b\"");
    EXPECT_STREQ(L"a", noSeparator.GetName().GetData());
    EXPECT_TRUE(noSeparator.GetText().IsEmpty());

    CControlUI empty;
    EXPECT_EQ(&empty, empty.ApplyAttributeList(L""));
    EXPECT_EQ(&empty, empty.ApplyAttributeList(L"name"));
    EXPECT_TRUE(empty.GetName().IsEmpty());
}

TEST(ControlSizes, SettersIgnoreNegativeValues)
{
    CControlUI control;
    control.SetMinWidth(-1);
    EXPECT_EQ(0, control.GetMinWidth());
    control.SetMaxHeight(-1);
    EXPECT_EQ(9999, control.GetMaxHeight());
    control.SetFixedWidth(5);
    control.SetFixedWidth(0);
    EXPECT_EQ(0, control.GetFixedWidth());
    control.SetFixedHeight(-3);
    EXPECT_EQ(0, control.GetFixedHeight());
    EXPECT_EQ(0, control.EstimateSize(SIZE { 100, 100 }).cx);
    control.SetFixedWidth(11);
    control.SetFixedHeight(12);
    EXPECT_EQ(11, control.EstimateSize(SIZE { 100, 100 }).cx);
    EXPECT_EQ(12, control.EstimateSize(SIZE { 100, 100 }).cy);
}

TEST(ControlPosition, SetPosNormalisesInvertedRectangles)
{
    CControlUI control;
    control.SetPos(R(10, 20, 5, 8));
    EXPECT_RECT(R(10, 20, 10, 20), control.GetPos());
    control.SetPos(R(1, 2, 31, 42));
    EXPECT_EQ(30, control.GetWidth());
    EXPECT_EQ(40, control.GetHeight());
    EXPECT_EQ(1, control.GetX());
    EXPECT_EQ(2, control.GetY());
}

TEST(ControlIdentity, ClassAndInterface)
{
    CControlUI control;
    EXPECT_STREQ(L"ControlUI", control.GetClass());
    EXPECT_EQ(&control, control.GetInterface(L"Control"));
    EXPECT_EQ(nullptr, control.GetInterface(L"control"));
    EXPECT_EQ(nullptr, control.GetInterface(L"Button"));
    EXPECT_EQ(0u, control.GetControlFlags());
    EXPECT_TRUE(control.Activate());
    control.SetEnabled(false);
    EXPECT_FALSE(control.Activate());
}

TEST(ControlSearch, FlagsFilterTheBaseControl)
{
    CControlUI control;
    control.SetPos(R(0, 0, 10, 10));
    POINT inside = { 5, 5 };
    POINT outside = { 15, 5 };
    EXPECT_EQ(&control, control.FindControl(MatchAny, &inside, FIND_VISIBLE | FIND_HITTEST));
    EXPECT_EQ(nullptr, control.FindControl(MatchAny, &outside, FIND_HITTEST));

    control.SetMouseEnabled(false);
    EXPECT_EQ(nullptr, control.FindControl(MatchAny, &inside, FIND_HITTEST));
    EXPECT_EQ(&control, control.FindControl(MatchAny, nullptr, FIND_VISIBLE));
    control.SetMouseEnabled(true);

    control.SetEnabled(false);
    EXPECT_EQ(nullptr, control.FindControl(MatchAny, nullptr, FIND_ENABLED));
    EXPECT_EQ(&control, control.FindControl(MatchAny, nullptr, FIND_VISIBLE));

    control.SetVisible(false);
    EXPECT_EQ(nullptr, control.FindControl(MatchAny, nullptr, FIND_VISIBLE));
    EXPECT_EQ(&control, control.FindControl(MatchAny, nullptr, 0));
}

TEST(ControlEvents, ListenersCanStopAnEventAndUnknownEventsBubbleToTheParent)
{
    CContainerUI parent;
    parent.SetAutoDestroy(false);
    RecordingControl child;
    RecordingControl grandChild;
    child.SetManager(nullptr, &parent, false);
    grandChild.SetManager(nullptr, &child, false);

    TEventUI event;
    event.Type = EVENT_BUTTONDOWN;
    grandChild.Event(event);
    ASSERT_EQ(1u, grandChild.types.size());
    ASSERT_EQ(1u, child.types.size());
    EXPECT_EQ(EVENT_BUTTONDOWN, child.types[0]);

    grandChild.EventListeners += RefuseEvent;
    grandChild.Event(event);
    EXPECT_EQ(1u, grandChild.types.size());

    // Focus events stop at the control.
    TEventUI focus;
    focus.Type = EVENT_SETFOCUS;
    child.DoEvent(focus);
    EXPECT_TRUE(child.IsFocused());
    focus.Type = EVENT_KILLFOCUS;
    child.DoEvent(focus);
    EXPECT_FALSE(child.IsFocused());

    // A context menu bubbles unless the control uses menus.
    TEventUI menu;
    menu.Type = EVENT_CONTEXTMENU;
    const size_t before = child.types.size();
    grandChild.EventListeners -= RefuseEvent;
    grandChild.SetContextMenuUsed(true);
    grandChild.Event(menu);
    EXPECT_EQ(before, child.types.size());
    grandChild.SetContextMenuUsed(false);
    grandChild.Event(menu);
    EXPECT_EQ(before + 1, child.types.size());
}

TEST(ControlLifecycle, DestroyAndInitListenersRun)
{
    g_destroyed = 0;
    {
        CControlUI control;
        control.DestroyListeners += CountDestroy;
    }
    EXPECT_EQ(1, g_destroyed);

    CControlUI parent;
    CControlUI child;
    g_inits = 0;
    child.InitListeners += CountInit;
    child.SetManager(nullptr, nullptr, true);
    EXPECT_EQ(0, g_inits);
    child.SetManager(nullptr, &parent, false);
    EXPECT_EQ(0, g_inits);
    child.SetManager(nullptr, &parent, true);
    EXPECT_EQ(1, g_inits);
    EXPECT_EQ(&parent, child.GetParent());
}

TEST(ControlVirtualWindow, InheritedFromTheNearestAncestor)
{
    CControlUI root;
    CControlUI middle;
    CControlUI leaf;
    middle.SetManager(nullptr, &root, false);
    leaf.SetManager(nullptr, &middle, false);
    EXPECT_TRUE(leaf.GetVirtualWnd().IsEmpty());
    root.SetVirtualWnd(L"outer");
    EXPECT_STREQ(L"outer", leaf.GetVirtualWnd().GetData());
    middle.SetVirtualWnd(L"inner");
    EXPECT_STREQ(L"inner", leaf.GetVirtualWnd().GetData());
}

TEST(ControlAttributes, ShortOrMalformedNumberLists)
{
    CControlUI control;
    // Missing numbers read as 0: a negative width is ignored.
    control.SetAttribute(L"pos", L"10,20");
    EXPECT_EQ(10, control.GetFixedXY().cx);
    EXPECT_EQ(20, control.GetFixedXY().cy);
    EXPECT_EQ(0, control.GetFixedWidth());
    EXPECT_EQ(0, control.GetFixedHeight());
    control.SetAttribute(L"padding", L"1;2;3;4");
    EXPECT_EQ(2, control.GetPadding().top);
    EXPECT_EQ(4, control.GetPadding().bottom);
    control.SetAttribute(L"padding", L"x");
    EXPECT_EQ(0, control.GetPadding().left);
    control.SetAttribute(L"borderround", L"7");
    EXPECT_EQ(7, control.GetBorderRound().cx);
    EXPECT_EQ(0, control.GetBorderRound().cy);
    control.SetAttribute(L"shortcut", L"");
    EXPECT_EQ(0, control.GetShortcut());
    control.SetAttribute(L"relativepos", L"");
    EXPECT_TRUE(control.IsRelativePos());
    EXPECT_EQ(0, control.GetRelativePos().nMoveXPercent);
}
