// The list family without a window: children, selection, keys, sorting,
// header columns and attributes.
#include <gtest/gtest.h>

#include <climits>

#include "ControlTestHelpers.h"
#include "controls/ListBodyUI.h"
#include "controls/ListContainerElementUI.h"
#include "controls/ListHeaderItemUI.h"
#include "controls/ListHeaderUI.h"
#include "controls/ListLabelElementUI.h"
#include "controls/ListTextElementUI.h"
#include "controls/ListUI.h"
#include "controls/ScrollBarUI.h"

using namespace Veneer;
using namespace ControlTest;

namespace {

CListLabelElementUI* Label(LPCWSTR text)
{
    auto* item = new CListLabelElementUI;
    item->SetText(text);
    return item;
}

TEventUI Key(WCHAR key)
{
    TEventUI event;
    event.Type = EVENT_KEYDOWN;
    event.chKey = key;
    return event;
}

TEventUI Wheel(bool down)
{
    TEventUI event;
    event.Type = EVENT_SCROLLWHEEL;
    event.wParam = down ? SB_LINEDOWN : SB_LINEUP;
    return event;
}

class ListFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 5; ++i) {
            wchar_t text[8] = { static_cast<wchar_t>(L'a' + i), 0 };
            list.Add(Label(text));
        }
    }
    IListItemUI* Item(int i) { return static_cast<IListItemUI*>(list.GetItemAt(i)->GetInterface(L"ListItem")); }
    void Press(WCHAR key)
    {
        TEventUI event = Key(key);
        list.DoEvent(event);
    }

    CListUI list;
};

}  // namespace

TEST(ListUI, IsHeaderAboveBodyWithNamesAndFlags)
{
    CListUI list;
    EXPECT_STREQ(L"ListUI", list.GetClass());
    EXPECT_EQ(&list, list.GetInterface(L"List"));
    EXPECT_EQ(static_cast<IListUI*>(&list), list.GetInterface(L"IList"));
    EXPECT_NE(nullptr, list.GetInterface(L"IListOwner"));
    EXPECT_EQ(FLAG_TABSTOP, list.GetControlFlags());
    ASSERT_NE(nullptr, list.GetHeader());
    ASSERT_NE(nullptr, list.GetList());
    EXPECT_EQ(list.GetHeader(), list.CVerticalLayoutUI::GetItemAt(0));
    EXPECT_EQ(list.GetList(), list.CVerticalLayoutUI::GetItemAt(1));
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ(-1, list.GetCurSel());
    EXPECT_EQ(0xFFC1E3FFu, list.GetListInfo()->dwSelectedBkColor);
    EXPECT_EQ(static_cast<UINT>(DT_VCENTER), list.GetListInfo()->uTextStyle);
}

TEST(ListUI, FortyHeaderItemsGiveThirtyTwoColumns)
{
    CListUI list;
    for (int i = 0; i < 40; ++i) {
        auto* column = new CListHeaderItemUI;
        column->SetFixedWidth(20);
        EXPECT_TRUE(list.Add(column));
    }
    EXPECT_EQ(40, list.GetHeader()->GetCount());
    EXPECT_EQ(32, list.GetListInfo()->nColumns);
    list.SetPos(R(0, 0, 2000, 300));
    EXPECT_EQ(32, list.GetListInfo()->nColumns);
    EXPECT_TRUE(RectEq(list.GetHeader()->GetItemAt(31)->GetPos(), list.GetListInfo()->rcColumn[31]));
    EXPECT_EQ(620, list.GetListInfo()->rcColumn[31].left);
}

TEST(ListUI, HiddenHeaderStillGivesColumns)
{
    CListUI list;
    list.SetAttribute(L"header", L"hidden");
    auto* first = new CListHeaderItemUI;
    first->SetFixedWidth(50);
    auto* second = new CListHeaderItemUI;
    second->SetFixedWidth(70);
    list.Add(first);
    list.Add(second);
    list.SetPos(R(10, 0, 300, 100));
    EXPECT_FALSE(list.GetHeader()->IsVisible());
    EXPECT_EQ(60, list.GetListInfo()->rcColumn[1].left);
    EXPECT_EQ(130, list.GetListInfo()->rcColumn[1].right);
    EXPECT_FALSE(first->IsVisible());  // made invisible again after the layout
}

TEST(ListUI, HeaderReplacementAndOwnHeaderRemoval)
{
    CListUI list;
    CListHeaderUI* original = list.GetHeader();
    EXPECT_FALSE(list.Add(original));  // already a child: never twice
    auto* replacement = new CListHeaderUI;
    replacement->Add(new CListHeaderItemUI);
    EXPECT_TRUE(list.Add(replacement));
    EXPECT_EQ(replacement, list.GetHeader());
    EXPECT_EQ(1, list.GetListInfo()->nColumns);
    EXPECT_EQ(replacement, list.CVerticalLayoutUI::GetItemAt(0));
    EXPECT_EQ(2, list.CVerticalLayoutUI::GetCount());

    EXPECT_TRUE(list.Remove(replacement));
    ASSERT_NE(nullptr, list.GetHeader());
    EXPECT_NE(replacement, list.GetHeader());
    EXPECT_EQ(0, list.GetHeader()->GetCount());
    EXPECT_EQ(0, list.GetListInfo()->nColumns);
    EXPECT_EQ(list.GetHeader(), list.CVerticalLayoutUI::GetItemAt(0));
    // The new header works like the old one.
    EXPECT_TRUE(list.Add(new CListHeaderItemUI));
    EXPECT_EQ(1, list.GetHeader()->GetCount());
    list.SetPos(R(0, 0, 100, 100));
}

TEST_F(ListFixture, ItemsGetOwnerAndIndexAndRenumber)
{
    EXPECT_EQ(5, list.GetCount());
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(i, Item(i)->GetIndex());
        EXPECT_EQ(static_cast<IListOwnerUI*>(static_cast<IListUI*>(&list)), Item(i)->GetOwner());
    }
    ASSERT_TRUE(list.SelectItem(2));
    EXPECT_TRUE(list.AddAt(Label(L"new"), 1));
    EXPECT_EQ(3, list.GetCurSel());
    EXPECT_TRUE(Item(3)->IsSelected());
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(i, Item(i)->GetIndex());
    }
    EXPECT_TRUE(list.RemoveAt(0));
    EXPECT_EQ(2, list.GetCurSel());
    EXPECT_STREQ(L"c", list.GetItemAt(2)->GetText().GetData());

    CControlUI* moved = list.GetItemAt(2);
    EXPECT_TRUE(list.SetItemIndex(moved, 4));
    EXPECT_EQ(4, list.GetCurSel());
    EXPECT_EQ(moved, list.GetItemAt(4));
    for (int i = 0; i < list.GetCount(); ++i) {
        EXPECT_EQ(i, Item(i)->GetIndex());
    }
}

TEST_F(ListFixture, RemovingTheSelectionSelectsTheNearestAbove)
{
    list.GetItemAt(2)->SetEnabled(false);
    ASSERT_TRUE(list.SelectItem(3));
    EXPECT_TRUE(list.RemoveAt(3));
    EXPECT_EQ(1, list.GetCurSel());  // 2 is disabled
    EXPECT_TRUE(Item(1)->IsSelected());
    list.RemoveAll();
    EXPECT_EQ(-1, list.GetCurSel());
    EXPECT_EQ(0, list.GetCount());
}

TEST_F(ListFixture, SelectionRefusesBadIndexesAndUnselectableItems)
{
    ASSERT_TRUE(list.SelectItem(0));
    for (int bad : { -1, 5, INT_MAX, INT_MIN }) {
        EXPECT_FALSE(list.SelectItem(bad)) << bad;
        EXPECT_EQ(-1, list.GetCurSel());
        list.SelectItem(0);
    }
    list.GetItemAt(1)->SetVisible(false);
    list.GetItemAt(2)->SetEnabled(false);
    EXPECT_FALSE(list.SelectItem(1));
    EXPECT_FALSE(list.SelectItem(2));
    EXPECT_EQ(-1, list.GetCurSel());
    EXPECT_FALSE(list.RemoveAt(INT_MAX));
    EXPECT_FALSE(list.RemoveAt(-5));
    EXPECT_FALSE(list.SetItemIndex(nullptr, 0));
    CListLabelElementUI stranger;
    EXPECT_FALSE(list.Remove(&stranger));
    EXPECT_EQ(nullptr, list.GetItemAt(INT_MIN));
    EXPECT_FALSE(list.ExpandItem(INT_MAX));
    EXPECT_EQ(-1, list.GetExpandedItem());
    list.EnsureVisible(INT_MAX);
}

TEST_F(ListFixture, HidingTheSelectedItemClearsTheSelection)
{
    ASSERT_TRUE(list.SelectItem(3));
    list.GetItemAt(3)->SetVisible(false);
    EXPECT_EQ(-1, list.GetCurSel());
    EXPECT_FALSE(Item(3)->IsSelected());
}

TEST_F(ListFixture, ArrowsHomeEndSelectAndStopAtTheEnds)
{
    Press(VK_DOWN);
    EXPECT_EQ(0, list.GetCurSel());
    Press(VK_DOWN);
    Press(VK_DOWN);
    EXPECT_EQ(2, list.GetCurSel());
    Press(VK_UP);
    EXPECT_EQ(1, list.GetCurSel());
    Press(VK_END);
    EXPECT_EQ(4, list.GetCurSel());
    Press(VK_DOWN);
    EXPECT_EQ(4, list.GetCurSel());
    Press(VK_HOME);
    EXPECT_EQ(0, list.GetCurSel());
    Press(VK_UP);
    EXPECT_EQ(0, list.GetCurSel());
    Press(VK_NEXT);  // pages scroll, they do not select
    EXPECT_EQ(0, list.GetCurSel());
}

TEST_F(ListFixture, NothingSelectableBelowKeepsTheSelection)
{
    list.GetItemAt(3)->SetEnabled(false);
    list.GetItemAt(4)->SetVisible(false);
    ASSERT_TRUE(list.SelectItem(2));
    Press(VK_DOWN);
    EXPECT_EQ(2, list.GetCurSel());
    Press(VK_END);
    EXPECT_EQ(2, list.GetCurSel());
    list.SetScrollSelect(true);
    TEventUI down = Wheel(true);
    list.DoEvent(down);
    EXPECT_EQ(2, list.GetCurSel());
    EXPECT_TRUE(Item(2)->IsSelected());
}

TEST_F(ListFixture, ScrollSelectWheelMovesOneItemPerNotch)
{
    list.SetAttribute(L"scrollselect", L"true");
    EXPECT_TRUE(list.GetScrollSelect());
    ASSERT_TRUE(list.SelectItem(1));
    TEventUI down = Wheel(true);
    list.DoEvent(down);
    EXPECT_EQ(2, list.GetCurSel());
    TEventUI up = Wheel(false);
    list.DoEvent(up);
    list.DoEvent(up);
    EXPECT_EQ(0, list.GetCurSel());
}

namespace {
int CALLBACK TextDescending(UINT_PTR a, UINT_PTR b, UINT_PTR)
{
    const CStdString ta = reinterpret_cast<CControlUI*>(a)->GetText();
    const CStdString tb = reinterpret_cast<CControlUI*>(b)->GetText();
    return -wcscmp(ta.GetData(), tb.GetData());
}
}  // namespace

TEST_F(ListFixture, SortingReordersRenumbersAndClearsTheSelection)
{
    ASSERT_TRUE(list.SelectItem(1));
    EXPECT_FALSE(list.SortItems(nullptr, 0));
    EXPECT_EQ(1, list.GetCurSel());
    EXPECT_TRUE(list.SortItems(TextDescending, 0));
    EXPECT_EQ(-1, list.GetCurSel());
    EXPECT_STREQ(L"e", list.GetItemAt(0)->GetText().GetData());
    EXPECT_STREQ(L"a", list.GetItemAt(4)->GetText().GetData());
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(i, Item(i)->GetIndex());
        EXPECT_FALSE(Item(i)->IsSelected());
    }
}

TEST_F(ListFixture, SelectedAttributeSelectsWhateverItsValue)
{
    list.GetItemAt(3)->SetAttribute(L"selected", L"false");
    EXPECT_EQ(3, list.GetCurSel());
    auto* container = new CListContainerElementUI;
    list.Add(container);
    container->SetAttribute(L"selected", L"");
    EXPECT_EQ(5, list.GetCurSel());
    EXPECT_FALSE(Item(3)->IsSelected());
}

TEST(ListUI, ItemStyleAttributes)
{
    CListUI list;
    list.SetAttribute(L"itemalign", L"right");
    EXPECT_EQ(static_cast<UINT>(DT_VCENTER | DT_RIGHT), list.GetItemTextStyle());
    list.SetAttribute(L"itemalign", L"center");
    EXPECT_EQ(static_cast<UINT>(DT_VCENTER | DT_CENTER), list.GetItemTextStyle());
    list.SetAttribute(L"itemalign", L"left");
    EXPECT_EQ(static_cast<UINT>(DT_VCENTER), list.GetItemTextStyle());
    list.SetAttribute(L"itemendellipsis", L"true");
    EXPECT_NE(0u, list.GetItemTextStyle() & DT_END_ELLIPSIS);
    list.SetAttribute(L"itemtextcolor", L"#FF112233");
    EXPECT_EQ(0xFF112233u, list.GetItemTextColor());
    list.SetAttribute(L"itemselectedbkcolor", L"FF445566");
    EXPECT_EQ(0xFF445566u, list.GetSelectedItemBkColor());
    list.SetAttribute(L"itemtextpadding", L"1,2,3,4");
    EXPECT_TRUE(RectEq(R(1, 2, 3, 4), list.GetItemTextPadding()));
    // Malformed and negative values never crash and give defined numbers.
    list.SetAttribute(L"itemtextpadding", L"7");
    EXPECT_TRUE(RectEq(R(7, 0, 0, 0), list.GetItemTextPadding()));
    list.SetAttribute(L"itemtextpadding", L"-5,-5,-99999999999,x");
    EXPECT_EQ(-5, list.GetItemTextPadding().left);
    list.SetAttribute(L"itemfont", L"2147483647999");
    list.SetAttribute(L"itemaltbk", L"true");
    EXPECT_TRUE(list.IsAlternateBk());
    list.SetAttribute(L"multiexpanding", L"true");
    EXPECT_TRUE(list.GetListInfo()->bMultiExpandable);
    list.SetAttribute(L"vscrollbar", L"true");
    list.SetAttribute(L"hscrollbar", L"true");
    EXPECT_NE(nullptr, list.GetVerticalScrollBar());
    EXPECT_NE(nullptr, list.GetHorizontalScrollBar());
    EXPECT_EQ(list.GetList()->GetVerticalScrollBar(), list.GetVerticalScrollBar());
    list.SetAttribute(L"header", L"hidden");
    EXPECT_FALSE(list.GetHeader()->IsVisible());
    list.SetAttribute(L"header", L"shown");
    EXPECT_TRUE(list.GetHeader()->IsVisible());
    list.SetPos(R(0, 0, 100, 100));
}

TEST(ListHeaderItemUI, DefaultsAttributesAndSeparatorStrip)
{
    CListHeaderItemUI item;
    EXPECT_STREQ(L"ListHeaderItemUI", item.GetClass());
    EXPECT_EQ(16, item.GetMinWidth());
    EXPECT_TRUE(item.IsDragable());
    EXPECT_EQ(FLAG_SETCURSOR, item.GetControlFlags());
    item.SetPos(R(100, 0, 200, 20));
    EXPECT_TRUE(RectEq(R(196, 0, 200, 20), item.GetThumbRect()));
    item.SetAttribute(L"sepwidth", L"-6");
    EXPECT_TRUE(RectEq(R(100, 0, 106, 20), item.GetThumbRect()));
    item.SetAttribute(L"sepwidth", L"0");
    EXPECT_EQ(0u, item.GetControlFlags());
    item.SetAttribute(L"sepwidth", L"-2147483648");
    const RECT extreme = item.GetThumbRect();
    EXPECT_GT(extreme.right, extreme.left);
    item.SetAttribute(L"sepwidth", L"99999999999");
    EXPECT_LT(item.GetThumbRect().left, item.GetThumbRect().right);
    item.SetAttribute(L"align", L"left");
    EXPECT_EQ(static_cast<UINT>(DT_VCENTER | DT_SINGLELINE), item.GetTextStyle());
    item.SetAttribute(L"textcolor", L"#FF00FF00");
    EXPECT_EQ(0xFF00FF00u, item.GetTextColor());
    item.SetAttribute(L"textpadding", L"3,a");
    EXPECT_TRUE(RectEq(R(3, 0, 0, 0), item.GetTextPadding()));
    item.SetAttribute(L"dragable", L"false");
    EXPECT_FALSE(item.IsDragable());
}

TEST(ListHeaderItemUI, DraggingTheSeparatorResizesNeverToTheMinimum)
{
    CListUI list;
    auto* column = new CListHeaderItemUI;
    column->SetFixedWidth(100);
    list.Add(column);
    list.SetPos(R(0, 0, 400, 200));
    ASSERT_EQ(100, column->GetPos().right);
    TEventUI down = MouseEvent(EVENT_BUTTONDOWN, 98, 5);
    column->DoEvent(down);
    EXPECT_NE(0u, column->GetButtonState() & STATE_CAPTURED);
    TEventUI move = MouseEvent(EVENT_MOUSEMOVE, 128, 5);
    column->DoEvent(move);
    EXPECT_EQ(130, column->GetFixedWidth());
    list.SetPos(R(0, 0, 400, 200));
    EXPECT_EQ(130, list.GetListInfo()->rcColumn[0].right);
    // Far to the left: the width would drop to the minimum; refused.
    TEventUI tooFar = MouseEvent(EVENT_MOUSEMOVE, 0, 5);
    column->DoEvent(tooFar);
    EXPECT_EQ(130, column->GetFixedWidth());
    TEventUI toSeventeen = MouseEvent(EVENT_MOUSEMOVE, 128 - 113, 5);
    column->DoEvent(toSeventeen);
    EXPECT_EQ(17, column->GetFixedWidth());
    TEventUI toSixteen = MouseEvent(EVENT_MOUSEMOVE, 14, 5);
    list.SetPos(R(0, 0, 400, 200));
    column->DoEvent(toSixteen);
    EXPECT_EQ(17, column->GetFixedWidth());
    TEventUI up = MouseEvent(EVENT_BUTTONUP, 14, 5);
    column->DoEvent(up);
    EXPECT_EQ(0u, column->GetButtonState() & STATE_CAPTURED);
}

TEST(ListHeaderItemUI, APressOutsideTheStripPushesANonDragableOneIgnoresTheStrip)
{
    CListHeaderItemUI item;
    item.SetPos(R(0, 0, 100, 20));
    TEventUI press = MouseEvent(EVENT_BUTTONDOWN, 50, 5);
    item.DoEvent(press);
    EXPECT_NE(0u, item.GetButtonState() & STATE_PUSHED);
    TEventUI release = MouseEvent(EVENT_BUTTONUP, 50, 5);
    item.DoEvent(release);
    EXPECT_EQ(0u, item.GetButtonState() & STATE_PUSHED);
    item.SetDragable(false);
    TEventUI onStrip = MouseEvent(EVENT_BUTTONDOWN, 98, 5);
    item.DoEvent(onStrip);
    EXPECT_EQ(0u, item.GetButtonState() & (STATE_CAPTURED | STATE_PUSHED));
}

TEST(ListTextElementUI, ColumnTextsNeedAnOwnerAndAValidColumn)
{
    CListUI list;
    list.Add(new CListHeaderItemUI);
    list.Add(new CListHeaderItemUI);
    CListTextElementUI loose;
    loose.SetText(0, L"lost");
    EXPECT_EQ(nullptr, loose.GetText(0));
    auto* row = new CListTextElementUI;
    list.Add(row);
    row->SetText(1, L"second");
    EXPECT_STREQ(L"second", row->GetText(1));
    EXPECT_STREQ(L"", row->GetText(0));
    for (int bad : { -1, 2, INT_MAX, INT_MIN }) {
        row->SetText(bad, L"x");
        EXPECT_EQ(nullptr, row->GetText(bad));
    }
    row->SetText(1, nullptr);
    EXPECT_STREQ(L"", row->GetText(1));
    EXPECT_EQ(nullptr, row->GetLinkContent(0));
    EXPECT_EQ(0x04u, row->GetControlFlags());
    EXPECT_NE(nullptr, row->GetInterface(L"ListLabelElement"));
    EXPECT_NE(nullptr, row->GetInterface(L"ListItem"));
}

TEST(ListElementUI, DisabledItemsRefuseSelectionAndLoseHotState)
{
    CListUI list;
    auto* item = Label(L"x");
    list.Add(item);
    TEventUI enter = MouseEvent(EVENT_MOUSEENTER, 0, 0);
    item->DoEvent(enter);
    EXPECT_NE(0u, item->GetButtonState() & STATE_HOT);
    item->SetEnabled(false);
    EXPECT_EQ(0u, item->GetButtonState());
    EXPECT_FALSE(item->Select(true));
    EXPECT_EQ(-1, list.GetCurSel());
    EXPECT_FALSE(item->Expand(true));
    EXPECT_FALSE(item->IsExpanded());
    EXPECT_EQ(0x04u, item->GetControlFlags());
    CListLabelElementUI loose;
    EXPECT_EQ(0, loose.EstimateSize(SIZE { 100, 100 }).cx);
    EXPECT_EQ(0, loose.EstimateSize(SIZE { 100, 100 }).cy);
}

// Both kinds of item take presses and hovering the same way.
template <class Item>
class ListItemMouse : public ::testing::Test { };
using ListItemKinds = ::testing::Types<CListLabelElementUI, CListContainerElementUI>;
TYPED_TEST_SUITE(ListItemMouse, ListItemKinds);

TYPED_TEST(ListItemMouse, PressSelectsHoverMakesHotAndAMouseDisabledItemLeavesBothToTheList)
{
    CListUI list;
    auto* first = new TypeParam;
    auto* second = new TypeParam;
    list.Add(first);
    list.Add(second);
    TEventUI press = MouseEvent(EVENT_BUTTONDOWN, 0, 0);
    TEventUI enter = MouseEvent(EVENT_MOUSEENTER, 0, 0);
    TEventUI leave = MouseEvent(EVENT_MOUSELEAVE, 0, 0);

    second->DoEvent(press);
    EXPECT_EQ(1, list.GetCurSel());
    first->DoEvent(enter);
    EXPECT_NE(0u, first->GetButtonState() & STATE_HOT);
    first->DoEvent(leave);
    EXPECT_EQ(0u, first->GetButtonState() & STATE_HOT);

    first->SetMouseEnabled(false);
    first->DoEvent(press);
    first->DoEvent(enter);
    EXPECT_EQ(1, list.GetCurSel());
    EXPECT_EQ(0u, first->GetButtonState() & STATE_HOT);

    first->SetMouseEnabled(true);
    first->SetEnabled(false);
    first->DoEvent(press);
    first->DoEvent(enter);
    EXPECT_EQ(1, list.GetCurSel());
    EXPECT_EQ(0u, first->GetButtonState() & STATE_HOT);
}

TEST(ListLabelElementUI, EstimatedHeightIsFontPlusEightPlusPadding)
{
    CPaintManagerUI manager;
    auto* list = new CListUI;
    manager.InitControls(list);
    auto* item = Label(L"some text");
    list->Add(item);
    const int fontHeight = manager.GetDefaultFontInfo()->tm.tmHeight;
    EXPECT_EQ(fontHeight + 8, item->EstimateSize(SIZE { 100, 100 }).cy);
    list->SetItemTextPadding(R(3, 2, 5, 4));
    const SIZE sz = item->EstimateSize(SIZE { 100, 100 });
    EXPECT_EQ(fontHeight + 8 + 6, sz.cy);
    EXPECT_GE(sz.cx, 8);  // padding and some text, if measured
    item->SetFixedHeight(33);
    EXPECT_EQ(33, item->EstimateSize(SIZE { 100, 100 }).cy);
    auto* text = new CListTextElementUI;
    list->Add(text);
    EXPECT_EQ(fontHeight + 8 + 6, text->EstimateSize(SIZE { 100, 100 }).cy);
    EXPECT_EQ(0, text->EstimateSize(SIZE { 100, 100 }).cx);
    // Items stretch to the header's width when it is wider than the list.
    auto* column = new CListHeaderItemUI;
    column->SetFixedWidth(500);
    list->Add(column);
    list->SetPos(R(0, 0, 200, 300));
    EXPECT_EQ(500, item->GetPos().right - item->GetPos().left);
    delete list;
}

TEST(ListBodyUI, WideHeaderShowsTheHorizontalBarAndScrollingShiftsTheColumns)
{
    CPaintManagerUI manager;
    auto* list = new CListUI;
    manager.InitControls(list);
    list->SetAttribute(L"hscrollbar", L"true");
    for (int c = 0; c < 2; ++c) {
        auto* column = new CListHeaderItemUI;
        column->SetFixedWidth(250);
        column->SetFixedHeight(20);
        list->Add(column);
    }
    for (int r = 0; r < 3; ++r) {
        auto* row = new CListTextElementUI;
        row->SetFixedHeight(20);
        list->Add(row);
    }
    list->SetPos(R(0, 0, 200, 200));
    CScrollBarUI* bar = list->GetHorizontalScrollBar();
    ASSERT_NE(nullptr, bar);
    EXPECT_TRUE(bar->IsVisible());
    EXPECT_EQ(300, bar->GetScrollRange());
    EXPECT_EQ(500, list->GetItemAt(0)->GetPos().right - list->GetItemAt(0)->GetPos().left);
    list->SetScrollPos(SIZE { 50, 0 });
    EXPECT_EQ(50, list->GetScrollPos().cx);
    EXPECT_EQ(-50, list->GetListInfo()->rcColumn[0].left);
    EXPECT_EQ(200, list->GetListInfo()->rcColumn[1].left);
    EXPECT_EQ(-50, list->GetItemAt(2)->GetPos().left);
    EXPECT_EQ(-50, list->GetHeader()->GetItemAt(0)->GetPos().left);
    list->SetScrollPos(SIZE { INT_MAX, INT_MAX });
    EXPECT_EQ(300, list->GetScrollPos().cx);
    // A wide enough list needs no bar: it goes, with range and position 0.
    list->SetPos(R(0, 0, 900, 200));
    EXPECT_FALSE(bar->IsVisible());
    EXPECT_EQ(0, bar->GetScrollRange());
    EXPECT_EQ(0, list->GetListInfo()->rcColumn[0].left);
    auto* stray = Label(L"x");
    EXPECT_FALSE(list->AddAt(stray, INT_MAX));
    EXPECT_FALSE(list->AddAt(stray, -1));
    delete stray;
    delete list;
}
