#include <gtest/gtest.h>

#include "ControlTestHelpers.h"
#include "controls/EditUI.h"
#include "controls/VerticalLayoutUI.h"

using namespace Veneer;
using namespace ControlTest;

TEST(Edit, DefaultsAndInterfaces)
{
    CEditUI edit;
    EXPECT_STREQ(L"EditUI", edit.GetClass());
    EXPECT_EQ(&edit, edit.GetInterface(L"Edit"));
    EXPECT_NE(nullptr, edit.GetInterface(L"Label"));
    EXPECT_EQ(255u, edit.GetMaxChar());
    EXPECT_EQ(L'*', edit.GetPasswordChar());
    EXPECT_EQ(0xFFFFFFFFu, edit.GetBkColor());
    EXPECT_EQ(0xFFFFFFFFu, edit.GetNativeEditBkColor());
    EXPECT_TRUE(RectEq(R(4, 3, 4, 3), edit.GetTextPadding()));
    EXPECT_EQ(static_cast<UINT>(FLAG_TABSTOP | FLAG_SETCURSOR), edit.GetControlFlags());
    edit.SetEnabled(false);
    EXPECT_EQ(0u, edit.GetControlFlags());
}

TEST(Edit, NumberOnlyTogglesOnlyItsOwnStyleBit)
{
    CEditUI edit;
    edit.SetAttribute(L"numberonly", L"true");
    EXPECT_EQ(ES_NUMBER, edit.GetWindowStyls());
    edit.SetAttribute(L"numberonly", L"false");
    EXPECT_EQ(0, edit.GetWindowStyls());
    EXPECT_FALSE(edit.IsNumberOnly());
}

TEST(Edit, AttributesIncludingMalformedValues)
{
    CEditUI edit;
    edit.SetAttribute(L"readonly", L"true");
    edit.SetAttribute(L"password", L"yes");
    edit.SetAttribute(L"maxchar", L"12");
    edit.SetAttribute(L"nativebkcolor", L"#FFFF0000");
    edit.SetAttribute(L"focusedimage", L"f.png");
    EXPECT_TRUE(edit.IsReadOnly());
    EXPECT_FALSE(edit.IsPasswordMode());
    EXPECT_EQ(12u, edit.GetMaxChar());
    EXPECT_EQ(0xFFFF0000u, edit.GetNativeEditBkColor());
    EXPECT_STREQ(L"f.png", edit.GetFocusedImage());
    edit.SetAttribute(L"nativebkcolor", L"FF00FF00");
    EXPECT_EQ(0xFF00FF00u, edit.GetNativeEditBkColor());
}

TEST(Edit, SelectionCallsWithoutANativeWindowDoNothing)
{
    CEditUI edit;
    edit.SetText(L"abc");
    edit.SetSel(0, 2);
    edit.SetSelAll();
    edit.SetReplaceSel(L"x");
    edit.SetReplaceSel(nullptr);
    EXPECT_STREQ(L"abc", edit.GetText().GetData());
    EXPECT_EQ(nullptr, edit.GetNativeWindow());
}

TEST(Edit, NativeWindowThatCannotOpenLeaksNothing)
{
    // A manager with no window: there is nothing to put the edit on.
    CPaintManagerUI manager;
    auto* root = new CVerticalLayoutUI;
    auto* edit = new CEditUI;
    root->Add(edit);
    manager.InitControls(root);
    const int live = CEditWnd::GetLiveCount();
    TEventUI event;
    event.Type = EVENT_SETFOCUS;
    edit->DoEvent(event);
    EXPECT_EQ(nullptr, edit->GetNativeWindow());
    EXPECT_EQ(live, CEditWnd::GetLiveCount());
    delete root;
}

TEST(Edit, DisabledPressIsConsumedAndChangesNothing)
{
    CEditUI edit;
    edit.SetPos(R(0, 0, 100, 30));
    edit.SetEnabled(false);
    TEventUI event = MouseEvent(EVENT_BUTTONDOWN, 10, 10);
    edit.DoEvent(event);
    event = MouseEvent(EVENT_MOUSEENTER, 10, 10);
    edit.DoEvent(event);
    EXPECT_EQ(nullptr, edit.GetNativeWindow());
    EXPECT_EQ(0u, edit.GetButtonState());
}

TEST(Edit, EstimateUsesTheFixedSizeOrTheFontHeight)
{
    CEditUI edit;
    edit.SetFixedWidth(80);
    edit.SetFixedHeight(24);
    SIZE sz = edit.EstimateSize(SIZE { 500, 500 });
    EXPECT_EQ(80, sz.cx);
    EXPECT_EQ(24, sz.cy);
    edit.SetFixedHeight(0);
    sz = edit.EstimateSize(SIZE { 500, 500 });
    EXPECT_EQ(80, sz.cx);
    EXPECT_EQ(6, sz.cy);  // no manager, so no font
}
