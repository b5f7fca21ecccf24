// The date-time control with its native picker, in a real window.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cwchar>
#include <string>

#include "ButtonWindowHost.h"
#include "controls/DateTimeUI.h"
#include "controls/VerticalLayoutUI.h"

using namespace Veneer;
using namespace WidgetWindowTests;

namespace {

const wchar_t kSkin[] =
    L"<Window size=\"300,120\">"
    L"<VerticalLayout name=\"root\" bkcolor=\"#FFFFFFFF\">"
    L"<DateTime name=\"date\" height=\"30\" text=\"1999-12-31\" />"
    L"<Button name=\"other\" height=\"30\" text=\"other\" />"
    L"<DateTime name=\"today\" height=\"30\" />"
    L"</VerticalLayout>"
    L"</Window>";

std::wstring Today()
{
    SYSTEMTIME st = {};
    ::GetLocalTime(&st);
    wchar_t buffer[32] = {};
    std::swprintf(buffer, 32, L"%4d-%02d-%02d", st.wYear, st.wMonth, st.wDay);
    return buffer;
}

struct DateTimeWindow : SkinnedWindow {
    DateTimeWindow() : SkinnedWindow(300, 120, kSkin)
    {
        date = static_cast<CDateTimeUI*>(Find(L"date"));
        today = static_cast<CDateTimeUI*>(Find(L"today"));
        host.Manager().SetFocus(nullptr);
        Settle();
    }
    HWND Focus(CControlUI* control)
    {
        host.Manager().SetFocus(control);
        Settle();
        return date->GetNativeWindow();
    }
    void Unfocus()
    {
        host.Manager().SetFocus(nullptr);
        Settle();
    }
    void KeyUp(HWND hWnd, WPARAM key)
    {
        ::PostMessageW(hWnd, WM_KEYUP, key, 0xC0000001);
        Settle();
    }
    static SYSTEMTIME Picked(HWND hWnd)
    {
        SYSTEMTIME st = {};
        ::SendMessageW(hWnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
        return st;
    }
    static void Pick(HWND hWnd, WORD year, WORD month, WORD day)
    {
        SYSTEMTIME st = {};
        st.wYear = year;
        st.wMonth = month;
        st.wDay = day;
        ::SendMessageW(hWnd, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
    }
    CDateTimeUI* date { nullptr };
    CDateTimeUI* today { nullptr };
};

}  // namespace

TEST(DateTimeWindow, FocusOpensThePickerOverTheControlWithTheStoredDate)
{
    DateTimeWindow w;
    ASSERT_NE(nullptr, w.date);
    SYSTEMTIME st = {};
    st.wYear = 2010;
    st.wMonth = 7;
    st.wDay = 4;
    w.date->SetTime(&st);
    EXPECT_STREQ(L"1999-12-31", w.date->GetText().GetData());

    HWND hWnd = w.Focus(w.date);
    ASSERT_NE(nullptr, hWnd);
    EXPECT_EQ(w.host.Handle(), ::GetParent(hWnd));
    EXPECT_EQ(hWnd, ::GetFocus());
    EXPECT_TRUE(::IsWindowVisible(hWnd));
    wchar_t cls[32] = {};
    ::GetClassNameW(hWnd, cls, 32);
    EXPECT_STREQ(L"DateTimeWnd", cls);
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    ::MapWindowPoints(nullptr, w.host.Handle(), reinterpret_cast<POINT*>(&rc), 2);
    const RECT& item = w.date->GetPos();
    EXPECT_EQ(item.left, rc.left);
    EXPECT_EQ(item.top, rc.top);
    EXPECT_EQ(item.right, rc.right);
    EXPECT_EQ(item.bottom, rc.bottom);

    const SYSTEMTIME shown = DateTimeWindow::Picked(hWnd);
    EXPECT_EQ(2010, shown.wYear);
    EXPECT_EQ(7, shown.wMonth);
    EXPECT_EQ(4, shown.wDay);
    EXPECT_EQ(CDateTimeUI::UPDATE_UNDECIDED, w.date->GetUpdateMode());
}

TEST(DateTimeWindow, PickedDateBecomesTextAndTimeOnFocusLoss)
{
    DateTimeWindow w;
    HWND hWnd = w.Focus(w.date);
    ASSERT_NE(nullptr, hWnd);
    DateTimeWindow::Pick(hWnd, 2024, 2, 9);
    w.Focus(w.Find(L"other"));
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(nullptr, w.date->GetNativeWindow());
    EXPECT_STREQ(L"2024-02-09", w.date->GetText().GetData());
    EXPECT_EQ(2024, w.date->GetTime().wYear);
    EXPECT_EQ(2, w.date->GetTime().wMonth);
    EXPECT_EQ(9, w.date->GetTime().wDay);
    EXPECT_EQ(CDateTimeUI::UPDATE_TAKE_TIME, w.date->GetUpdateMode());
    EXPECT_EQ(0, CDateTimeWnd::GetLiveCount());
}

TEST(DateTimeWindow, EscapeDiscardsThePickedDate)
{
    DateTimeWindow w;
    SYSTEMTIME st = {};
    st.wYear = 2010;
    st.wMonth = 7;
    st.wDay = 4;
    w.date->SetTime(&st);
    HWND hWnd = w.Focus(w.date);
    ASSERT_NE(nullptr, hWnd);
    DateTimeWindow::Pick(hWnd, 2024, 2, 9);
    w.KeyUp(hWnd, VK_ESCAPE);
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(CDateTimeUI::UPDATE_CANCELLED, w.date->GetUpdateMode());
    EXPECT_STREQ(L"1999-12-31", w.date->GetText().GetData());
    EXPECT_EQ(2010, w.date->GetTime().wYear);
    EXPECT_EQ(7, w.date->GetTime().wMonth);
    EXPECT_EQ(4, w.date->GetTime().wDay);
    // The focus leaving afterwards takes nothing over either.
    w.Unfocus();
    EXPECT_STREQ(L"1999-12-31", w.date->GetText().GetData());
}

TEST(DateTimeWindow, DeleteEmptiesTheTextAndTheNextPickerStartsToday)
{
    DateTimeWindow w;
    HWND hWnd = w.Focus(w.date);
    ASSERT_NE(nullptr, hWnd);
    w.KeyUp(hWnd, VK_DELETE);
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_STREQ(L"", w.date->GetText().GetData());
    EXPECT_EQ(CDateTimeUI::UPDATE_CLEARED, w.date->GetUpdateMode());

    w.Unfocus();
    EXPECT_STREQ(L"", w.date->GetText().GetData());
    hWnd = w.Focus(w.date);
    ASSERT_NE(nullptr, hWnd);
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    const SYSTEMTIME shown = DateTimeWindow::Picked(hWnd);
    EXPECT_EQ(now.wYear, shown.wYear);
    EXPECT_EQ(now.wMonth, shown.wMonth);
    EXPECT_EQ(now.wDay, shown.wDay);
    w.Unfocus();
    EXPECT_EQ(Today(), w.date->GetText().GetData());

    // Backspace clears the same way.
    hWnd = w.Focus(w.date);
    ASSERT_NE(nullptr, hWnd);
    w.KeyUp(hWnd, VK_BACK);
    EXPECT_STREQ(L"", w.date->GetText().GetData());
}

TEST(DateTimeWindow, RightClickOnTheFocusedControlOpensThePicker)
{
    DateTimeWindow w;
    HWND hWnd = w.Focus(w.date);
    ASSERT_NE(nullptr, hWnd);
    w.KeyUp(hWnd, VK_ESCAPE);  // closed, the control keeps the focus
    ASSERT_EQ(nullptr, w.date->GetNativeWindow());
    ASSERT_TRUE(w.date->IsFocused());

    const POINT pt = SkinnedWindow::Centre(w.date);
    w.host.Post(WM_RBUTTONDOWN, MK_RBUTTON, pt.x, pt.y);
    w.Settle();
    hWnd = w.date->GetNativeWindow();
    ASSERT_NE(nullptr, hWnd);
    EXPECT_TRUE(::IsWindowVisible(hWnd));
    EXPECT_EQ(hWnd, ::GetFocus());
    EXPECT_EQ(1, CDateTimeWnd::GetLiveCount());

    // A press on an unfocused control opens nothing by itself.
    TEventUI e;
    e.Type = EVENT_RBUTTONDOWN;
    e.ptMouse = SkinnedWindow::Centre(w.today);
    w.today->DoEvent(e);
    EXPECT_EQ(nullptr, w.today->GetNativeWindow());
}

TEST(DateTimeWindow, DisablingClosesThePicker)
{
    DateTimeWindow w;
    HWND hWnd = w.Focus(w.date);
    ASSERT_NE(nullptr, hWnd);
    w.date->SetEnabled(false);
    w.Settle();
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(nullptr, w.date->GetNativeWindow());
    EXPECT_EQ(0, CDateTimeWnd::GetLiveCount());

    // A disabled control opens no picker.
    TEventUI e;
    e.Type = EVENT_SETFOCUS;
    w.date->DoEvent(e);
    EXPECT_EQ(nullptr, w.date->GetNativeWindow());

    w.date->SetEnabled(true);
    hWnd = w.Focus(w.date);
    ASSERT_NE(nullptr, hWnd);
    w.date->SetVisible(false);
    w.Settle();
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(0, CDateTimeWnd::GetLiveCount());
}

TEST(DateTimeWindow, ControlDeletedWhilePickingTakesItsPickerAlong)
{
    DateTimeWindow w;
    HWND hWnd = w.Focus(w.date);
    ASSERT_NE(nullptr, hWnd);
    // Key messages already on their way find no control.
    ::PostMessageW(hWnd, WM_KEYUP, VK_DELETE, 0xC0000001);
    auto* layout = static_cast<CContainerUI*>(w.Find(L"root")->GetInterface(L"Container"));
    ASSERT_TRUE(layout->Remove(w.date));
    w.Settle();
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(0, CDateTimeWnd::GetLiveCount());
}

TEST(DateTimeWindow, MainWindowDestroyedWhilePicking)
{
    DateTimeWindow w;
    HWND hWnd = w.Focus(w.date);
    ASSERT_NE(nullptr, hWnd);
    ::DestroyWindow(w.host.Handle());
    w.Settle();
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(0, CDateTimeWnd::GetLiveCount());
}

TEST(DateTimeWindow, TwentyOpenCloseCyclesLeakNothing)
{
    DateTimeWindow w;
    w.Focus(w.date);
    w.Unfocus();
    HANDLE process = ::GetCurrentProcess();
    const DWORD gdiBefore = ::GetGuiResources(process, GR_GDIOBJECTS);
    const DWORD userBefore = ::GetGuiResources(process, GR_USEROBJECTS);
    for (int i = 0; i < 20; ++i) {
        HWND hWnd = w.Focus(w.date);
        ASSERT_NE(nullptr, hWnd);
        w.Unfocus();
        ASSERT_FALSE(::IsWindow(hWnd));
    }
    EXPECT_EQ(0, CDateTimeWnd::GetLiveCount());
    EXPECT_LE(::GetGuiResources(process, GR_GDIOBJECTS), gdiBefore + 2);
    EXPECT_LE(::GetGuiResources(process, GR_USEROBJECTS), userBefore + 2);
}
