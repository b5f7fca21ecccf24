// The date-time control without a window: its text, its time and a picker
// that has nowhere to open.
#include <gtest/gtest.h>

#include <cwchar>

#include "controls/DateTimeUI.h"
#include "controls/VerticalLayoutUI.h"
#include "engine/PaintManagerUI.h"
#include "foundation/DialogBuilder.h"

using namespace Veneer;

namespace {

CStdString DateText(WORD year, WORD month, WORD day)
{
    wchar_t buffer[32] = {};
    std::swprintf(buffer, 32, L"%4d-%02d-%02d", year, month, day);
    return CStdString(buffer);
}

SYSTEMTIME Date(WORD year, WORD month, WORD day)
{
    SYSTEMTIME st = {};
    st.wYear = year;
    st.wMonth = month;
    st.wDay = day;
    st.wHour = 13;
    return st;
}

}  // namespace

TEST(DateTimeUI, NewControlShowsTodayPadded)
{
    SYSTEMTIME before = {};
    ::GetLocalTime(&before);
    CDateTimeUI control;
    SYSTEMTIME after = {};
    ::GetLocalTime(&after);
    const CStdString text = control.GetText();
    // Around midnight the date may change between the two readings.
    EXPECT_TRUE(text == DateText(before.wYear, before.wMonth, before.wDay).GetData()
        || text == DateText(after.wYear, after.wMonth, after.wDay).GetData())
        << text.GetData();
    EXPECT_EQ(10, text.GetLength());
    EXPECT_EQ(L'-', text.GetData()[4]);
    EXPECT_EQ(L'-', text.GetData()[7]);
    EXPECT_EQ(before.wYear, control.GetTime().wYear);
    EXPECT_EQ(CDateTimeUI::UPDATE_UNDECIDED, control.GetUpdateMode());
    EXPECT_FALSE(control.IsReadOnly());
    EXPECT_EQ(nullptr, control.GetNativeWindow());
}

TEST(DateTimeUI, NamesAndInterfaces)
{
    CDateTimeUI control;
    EXPECT_STREQ(L"DateTimeUI", control.GetClass());
    EXPECT_EQ(static_cast<void*>(&control), control.GetInterface(L"DateTime"));
    EXPECT_EQ(static_cast<void*>(static_cast<CLabelUI*>(&control)), control.GetInterface(L"Label"));
    EXPECT_EQ(nullptr, control.GetInterface(L"Edit"));
}

TEST(DateTimeUI, SetTimeKeepsTheTextUntilUpdated)
{
    CDateTimeUI control;
    const CStdString shown = control.GetText();
    SYSTEMTIME st = Date(2001, 2, 3);
    control.SetTime(&st);
    EXPECT_STREQ(shown.GetData(), control.GetText().GetData());
    EXPECT_EQ(2001, control.GetTime().wYear);
    EXPECT_EQ(13, control.GetTime().wHour);  // stored though never shown
    control.SetTime(nullptr);                // ignored
    EXPECT_EQ(2001, control.GetTime().wYear);

    // Undecided and cancelled leave the text alone.
    control.UpdateText();
    EXPECT_STREQ(shown.GetData(), control.GetText().GetData());
}

TEST(DateTimeUI, ReadOnlyIsOnlyStored)
{
    CDateTimeUI control;
    control.SetReadOnly(true);
    EXPECT_TRUE(control.IsReadOnly());
    control.SetReadOnly(false);
    EXPECT_FALSE(control.IsReadOnly());
}

TEST(DateTimeUI, FocusWithoutAWindowOpensNothingAndLeaksNothing)
{
    CDateTimeUI control;
    const CStdString shown = control.GetText();
    TEventUI event;
    event.Type = EVENT_SETFOCUS;
    control.DoEvent(event);
    EXPECT_EQ(nullptr, control.GetNativeWindow());
    EXPECT_EQ(0, CDateTimeWnd::GetLiveCount());
    event.Type = EVENT_RBUTTONDOWN;
    control.DoEvent(event);
    EXPECT_EQ(0, CDateTimeWnd::GetLiveCount());
    EXPECT_STREQ(shown.GetData(), control.GetText().GetData());
}

TEST(DateTimeUI, BuiltFromMarkupKeepsAGivenText)
{
    CDialogBuilder builder;
    CControlUI* root = builder.Create(STRINGorID(
        L"<Window><VerticalLayout><DateTime name=\"d\" text=\"2000-01-01\" /><DateTime name=\"e\" />"
        L"</VerticalLayout></Window>"));
    ASSERT_NE(nullptr, root);
    auto* layout = static_cast<CContainerUI*>(root->GetInterface(L"Container"));
    ASSERT_NE(nullptr, layout);
    ASSERT_EQ(2, layout->GetCount());
    auto* fixed = static_cast<CDateTimeUI*>(layout->GetItemAt(0)->GetInterface(L"DateTime"));
    auto* today = static_cast<CDateTimeUI*>(layout->GetItemAt(1)->GetInterface(L"DateTime"));
    ASSERT_NE(nullptr, fixed);
    ASSERT_NE(nullptr, today);
    EXPECT_STREQ(L"2000-01-01", fixed->GetText().GetData());
    EXPECT_EQ(10, today->GetText().GetLength());
    delete root;
}
