// The combo without a window: items, selection, keys, wheel, attributes and
// the combo box's arrow strip.
#include <gtest/gtest.h>

#include <climits>

#include "ControlTestHelpers.h"
#include "controls/ComboBoxUI.h"
#include "controls/ComboUI.h"
#include "controls/ListLabelElementUI.h"

using namespace Veneer;
using namespace ControlTest;

namespace {

CListLabelElementUI* Item(LPCWSTR text)
{
    auto* item = new CListLabelElementUI;
    item->SetText(text);
    return item;
}

void Fill(CComboUI& combo, int count)
{
    for (int i = 0; i < count; ++i) {
        wchar_t text[4] = { static_cast<wchar_t>(L'a' + i), 0 };
        combo.Add(Item(text));
    }
}

void Key(CComboUI& combo, WCHAR key)
{
    TEventUI event;
    event.Type = EVENT_KEYDOWN;
    event.chKey = key;
    combo.DoEvent(event);
}

void WheelNotch(CComboUI& combo, bool down)
{
    TEventUI event;
    event.Type = EVENT_SCROLLWHEEL;
    event.wParam = down ? SB_LINEDOWN : SB_LINEUP;
    combo.DoEvent(event);
}

IListItemUI* ListItem(CComboUI& combo, int i)
{
    return static_cast<IListItemUI*>(combo.GetItemAt(i)->GetInterface(L"ListItem"));
}

}  // namespace

TEST(ComboUI, NamesDefaultsAndText)
{
    CComboUI combo;
    EXPECT_STREQ(L"ComboUI", combo.GetClass());
    EXPECT_EQ(&combo, combo.GetInterface(L"Combo"));
    EXPECT_EQ(static_cast<IListOwnerUI*>(&combo), combo.GetInterface(L"IListOwner"));
    EXPECT_NE(nullptr, combo.GetInterface(L"Container"));
    EXPECT_EQ(0, combo.GetDropBoxSize().cx);
    EXPECT_EQ(150, combo.GetDropBoxSize().cy);
    EXPECT_EQ(0xFFE9F5FFu, combo.GetHotItemBkColor());
    EXPECT_STREQ(L"", combo.GetText().GetData());
    Fill(combo, 3);
    ASSERT_TRUE(combo.SelectItem(1));
    EXPECT_STREQ(L"b", combo.GetText().GetData());
    CComboBoxUI box;
    EXPECT_STREQ(L"ComboBoxUI", box.GetClass());
    EXPECT_EQ(&box, box.GetInterface(L"Combo"));
}

TEST(ComboUI, SelectItemClampsPastTheEndAndRefusesUnselectable)
{
    CComboUI combo;
    EXPECT_FALSE(combo.SelectItem(0));  // no items
    Fill(combo, 4);
    EXPECT_TRUE(combo.SelectItem(INT_MAX));
    EXPECT_EQ(3, combo.GetCurSel());
    EXPECT_TRUE(ListItem(combo, 3)->IsSelected());
    combo.GetItemAt(1)->SetVisible(false);
    combo.GetItemAt(2)->SetEnabled(false);
    EXPECT_FALSE(combo.SelectItem(1));
    EXPECT_EQ(-1, combo.GetCurSel());
    EXPECT_FALSE(ListItem(combo, 3)->IsSelected());
    EXPECT_FALSE(combo.SelectItem(2));
    EXPECT_TRUE(combo.SelectItem(-1));  // already nothing selected
    EXPECT_FALSE(combo.SelectItem(INT_MIN));
    EXPECT_EQ(-1, combo.GetCurSel());
}

TEST(ComboUI, ItemsAreRenumberedAndTheSelectionFollows)
{
    CComboUI combo;
    Fill(combo, 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(i, ListItem(combo, i)->GetIndex());
        EXPECT_EQ(static_cast<IListOwnerUI*>(&combo), ListItem(combo, i)->GetOwner());
    }
    ASSERT_TRUE(combo.SelectItem(2));
    EXPECT_TRUE(combo.AddAt(Item(L"new"), 0));
    EXPECT_EQ(3, combo.GetCurSel());
    EXPECT_EQ(0, ListItem(combo, 0)->GetIndex());
    EXPECT_EQ(4, ListItem(combo, 4)->GetIndex());
    CControlUI* selected = combo.GetItemAt(3);
    EXPECT_TRUE(combo.SetItemIndex(selected, 0));
    EXPECT_EQ(0, combo.GetCurSel());
    EXPECT_EQ(selected, combo.GetItemAt(0));
    for (int i = 0; i < combo.GetCount(); ++i) {
        EXPECT_EQ(i, ListItem(combo, i)->GetIndex());
    }
    EXPECT_TRUE(combo.SetItemIndex(selected, 0));
    EXPECT_FALSE(combo.SetItemIndex(nullptr, 1));
    EXPECT_FALSE(combo.SetItemIndex(combo.GetItemAt(1), INT_MAX));
    EXPECT_TRUE(combo.RemoveAt(4));
    EXPECT_EQ(0, combo.GetCurSel());
    EXPECT_FALSE(combo.RemoveAt(INT_MAX));
    EXPECT_FALSE(combo.RemoveAt(-1));
    EXPECT_FALSE(combo.Remove(nullptr));
    combo.RemoveAll();
    EXPECT_EQ(-1, combo.GetCurSel());
    EXPECT_EQ(0, combo.GetCount());
}

TEST(ComboUI, RemovingTheSelectedItemSelectsTheNearestAbove)
{
    CComboUI combo;
    Fill(combo, 5);
    combo.GetItemAt(2)->SetEnabled(false);
    ASSERT_TRUE(combo.SelectItem(3));
    EXPECT_TRUE(combo.Remove(combo.GetItemAt(3)));
    EXPECT_EQ(1, combo.GetCurSel());
    EXPECT_TRUE(ListItem(combo, 1)->IsSelected());
    ASSERT_TRUE(combo.SelectItem(0));
    EXPECT_TRUE(combo.RemoveAt(0));
    EXPECT_EQ(0, combo.GetCurSel());  // nothing above: the first selectable
    EXPECT_STREQ(L"b", combo.GetText().GetData());
}

TEST(ComboUI, KeysAndWheelMoveBySelectableItems)
{
    CComboUI combo;
    Fill(combo, 5);
    combo.GetItemAt(1)->SetEnabled(false);
    Key(combo, VK_DOWN);
    EXPECT_EQ(0, combo.GetCurSel());
    Key(combo, VK_DOWN);
    EXPECT_EQ(2, combo.GetCurSel());  // skips the disabled one
    Key(combo, VK_UP);
    EXPECT_EQ(0, combo.GetCurSel());
    Key(combo, VK_END);
    EXPECT_EQ(4, combo.GetCurSel());
    Key(combo, VK_HOME);
    EXPECT_EQ(0, combo.GetCurSel());
    Key(combo, VK_NEXT);
    EXPECT_EQ(2, combo.GetCurSel());
    Key(combo, VK_PRIOR);
    EXPECT_EQ(0, combo.GetCurSel());
    WheelNotch(combo, true);
    EXPECT_EQ(2, combo.GetCurSel());
    WheelNotch(combo, true);
    EXPECT_EQ(3, combo.GetCurSel());
    WheelNotch(combo, false);
    EXPECT_EQ(2, combo.GetCurSel());
}

TEST(ComboUI, NothingSelectableBelowKeepsTheSelection)
{
    CComboUI combo;
    Fill(combo, 4);
    combo.GetItemAt(2)->SetEnabled(false);
    combo.GetItemAt(3)->SetVisible(false);
    ASSERT_TRUE(combo.SelectItem(1));
    for (WCHAR key : { static_cast<WCHAR>(VK_DOWN), static_cast<WCHAR>(VK_NEXT), static_cast<WCHAR>(VK_END) }) {
        Key(combo, key);
        EXPECT_EQ(1, combo.GetCurSel()) << key;
    }
    WheelNotch(combo, true);
    EXPECT_EQ(1, combo.GetCurSel());
    EXPECT_TRUE(ListItem(combo, 1)->IsSelected());
}

TEST(ComboUI, AttributesIncludingMalformedAndNegativeSizes)
{
    CComboUI combo;
    combo.SetAttribute(L"dropboxsize", L"120,200");
    EXPECT_EQ(120, combo.GetDropBoxSize().cx);
    EXPECT_EQ(200, combo.GetDropBoxSize().cy);
    combo.SetAttribute(L"dropboxsize", L"-5,-40");
    EXPECT_EQ(-5, combo.GetDropBoxSize().cx);
    EXPECT_EQ(0, combo.GetDropBoxSize().cy);
    combo.SetAttribute(L"dropboxsize", L"garbage");
    EXPECT_EQ(0, combo.GetDropBoxSize().cx);
    EXPECT_EQ(0, combo.GetDropBoxSize().cy);
    combo.SetAttribute(L"dropboxsize", L"99999999999999,");
    EXPECT_GE(combo.GetDropBoxSize().cy, 0);
    combo.SetAttribute(L"textpadding", L"1,2,3,4");
    EXPECT_TRUE(RectEq(R(1, 2, 3, 4), combo.GetTextPadding()));
    combo.SetAttribute(L"textpadding", L"9");
    EXPECT_TRUE(RectEq(R(9, 0, 0, 0), combo.GetTextPadding()));
    combo.SetAttribute(L"itemalign", L"center");
    EXPECT_EQ(static_cast<UINT>(DT_VCENTER | DT_CENTER), combo.GetItemTextStyle());
    combo.SetAttribute(L"itemalign", L"left right");
    EXPECT_EQ(static_cast<UINT>(DT_VCENTER | DT_RIGHT), combo.GetItemTextStyle());
    combo.SetAttribute(L"itemtextcolor", L"#FF123456");
    EXPECT_EQ(0xFF123456u, combo.GetItemTextColor());
    combo.SetAttribute(L"itemhotbkcolor", L"FFABCDEF");
    EXPECT_EQ(0xFFABCDEFu, combo.GetHotItemBkColor());
    combo.SetAttribute(L"itemaltbk", L"TRUE");
    EXPECT_FALSE(combo.IsAlternateBk());
    combo.SetAttribute(L"itemshowhtml", L"true");
    EXPECT_TRUE(combo.IsItemShowHtml());
    combo.SetAttribute(L"dropbox", L"bkcolor=\"#FF00FF00\"");
    EXPECT_STREQ(L"bkcolor=\"#FF00FF00\"", combo.GetDropBoxAttributeList());
    combo.SetAttribute(L"normalimage", L"file='x.png'");
    EXPECT_STREQ(L"file='x.png'", combo.GetNormalImage());
    combo.SetAttribute(L"itemfont", L"-2147483649");
    combo.SetAttribute(nullptr, L"x");
    combo.SetAttribute(L"x", nullptr);
}

TEST(ComboUI, OpeningWithoutAWindowFailsAndLeaksNothing)
{
    CPaintManagerUI manager;  // never given a window
    auto* combo = new CComboUI;
    Fill(*combo, 3);
    manager.InitControls(combo);
    const int before = CComboWnd::GetLiveCount();
    EXPECT_FALSE(combo->Activate());
    EXPECT_EQ(nullptr, combo->GetDropWindow());
    EXPECT_EQ(before, CComboWnd::GetLiveCount());
    EXPECT_EQ(&manager, combo->GetItemAt(0)->GetManager());
    CComboUI disabled;
    disabled.SetEnabled(false);
    EXPECT_FALSE(disabled.Activate());
    EXPECT_EQ(0u, disabled.GetButtonState());
    delete combo;
}

namespace {

// A windowless manager and a memory surface for painting tests.
class ArrowSurface : public ::testing::Test {
protected:
    void SetUp() override
    {
        screen = ::GetDC(nullptr);
        dc = ::CreateCompatibleDC(screen);
        bitmap = ::CreateCompatibleBitmap(screen, 200, 40);
        old = ::SelectObject(dc, bitmap);
        box = new CComboBoxUI;
        manager.InitControls(box);
        box->SetPos(R(0, 0, 120, 20));
    }
    void TearDown() override
    {
        delete box;
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
        ::ReleaseDC(nullptr, screen);
    }
    int PaintWith(LPCWSTR arrow)
    {
        box->SetArrowImage(arrow);
        box->PaintStatusImage(dc);
        return box->GetArrowWidth();
    }

    CPaintManagerUI manager;
    CComboBoxUI* box { nullptr };
    HDC screen { nullptr };
    HDC dc { nullptr };
    HBITMAP bitmap { nullptr };
    HGDIOBJ old { nullptr };
};

}  // namespace

TEST_F(ArrowSurface, MalformedSourcesDrawNoArrow)
{
    EXPECT_EQ(10, PaintWith(L"file='none.png' source='0,0,50,10'"));
    for (LPCWSTR bad : { L"file='none.png'", L"file='none.png' source='0,0,50", L"file='none.png' source='",
             L"source='a,b,c,d'", L"source='0,0,50,10", L"source='0;0;50;10'", L"source='0,0,4,10'",
             L"source='50,0,0,10'", L"source='0,0,99999999999,10'", L"source='-2147483648,0,2147483647,10'",
             L"source=''" }) {
        EXPECT_EQ(0, PaintWith(bad)) << static_cast<const void*>(bad);
    }
}
