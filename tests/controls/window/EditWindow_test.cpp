// The edit control with its native window, in a real window.
#include <gtest/gtest.h>

#include <string>

#include "ButtonWindowHost.h"
#include "controls/EditUI.h"
#include "controls/VerticalLayoutUI.h"

using namespace Veneer;
using namespace WidgetWindowTests;

namespace {

const wchar_t kSkin[] =
    L"<Window size=\"300,120\">"
    L"<VerticalLayout name=\"root\" bkcolor=\"#FFFFFFFF\">"
    L"<Edit name=\"edit\" height=\"30\" text=\"abc\" />"
    L"<Edit name=\"secret\" height=\"30\" password=\"true\" text=\"abc\" textcolor=\"#FF000000\" />"
    L"<Edit name=\"stars\" height=\"30\" text=\"***\" textcolor=\"#FF000000\" />"
    L"<Edit name=\"digits\" height=\"30\" numberonly=\"true\" />"
    L"</VerticalLayout>"
    L"</Window>";

struct EditWindow : SkinnedWindow {
    EditWindow() : SkinnedWindow(300, 120, kSkin)
    {
        edit = static_cast<CEditUI*>(Find(L"edit"));
        secret = static_cast<CEditUI*>(Find(L"secret"));
        stars = static_cast<CEditUI*>(Find(L"stars"));
        digits = static_cast<CEditUI*>(Find(L"digits"));
    }
    HWND Focus(CEditUI* control)
    {
        host.Manager().SetFocus(control);
        Settle();
        return control->GetNativeWindow();
    }
    void Unfocus()
    {
        host.Manager().SetFocus(nullptr);
        Settle();
    }
    int NativeChildren() const
    {
        int n = 0;
        for (HWND h = ::GetWindow(host.Handle(), GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
            ++n;
        }
        return n;
    }
    static std::wstring NativeText(HWND hWnd)
    {
        wchar_t buffer[256] = {};
        ::GetWindowTextW(hWnd, buffer, 256);
        return buffer;
    }
    // Types characters into the native window as the keyboard would.
    void Type(HWND hWnd, LPCWSTR text)
    {
        for (; *text != L'\0'; ++text) {
            ::SendMessageW(hWnd, WM_CHAR, *text, 1);
        }
        Settle();
    }
    CEditUI* edit { nullptr };
    CEditUI* secret { nullptr };
    CEditUI* stars { nullptr };
    CEditUI* digits { nullptr };
};

}  // namespace

TEST(EditWindow, FocusOpensOneNativeWindowOverTheTextArea)
{
    EditWindow w;
    ASSERT_NE(nullptr, w.edit);
    EXPECT_STREQ(L"EditUI", w.edit->GetClass());
    w.Unfocus();  // the window may hand the first tab stop the focus when it opens
    const int before = w.NativeChildren();
    EXPECT_EQ(0, before);
    HWND hWnd = w.Focus(w.edit);
    ASSERT_NE(nullptr, hWnd);
    EXPECT_EQ(before + 1, w.NativeChildren());
    EXPECT_EQ(w.host.Handle(), ::GetParent(hWnd));
    EXPECT_TRUE(::IsWindowVisible(hWnd));
    EXPECT_EQ(hWnd, ::GetFocus());
    wchar_t cls[32] = {};
    ::GetClassNameW(hWnd, cls, 32);
    EXPECT_STREQ(L"EditWnd", cls);

    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    ::MapWindowPoints(nullptr, w.host.Handle(), reinterpret_cast<POINT*>(&rc), 2);
    const RECT& item = w.edit->GetPos();
    EXPECT_EQ(item.left + 4, rc.left);
    EXPECT_EQ(item.right - 4, rc.right);
    EXPECT_GE(rc.top, item.top + 3);
    EXPECT_LE(rc.bottom, item.bottom - 3);
    EXPECT_EQ(((item.top + 3) + (item.bottom - 3) - (rc.bottom - rc.top)) / 2, rc.top);

    // Focusing again opens nothing new.
    TEventUI again;
    again.Type = EVENT_SETFOCUS;
    w.edit->DoEvent(again);
    EXPECT_EQ(hWnd, w.edit->GetNativeWindow());
    EXPECT_EQ(before + 1, w.NativeChildren());
}

TEST(EditWindow, TextRoundTripsBothWaysWithOneNotificationPerChange)
{
    EditWindow w;
    HWND hWnd = w.Focus(w.edit);
    ASSERT_NE(nullptr, hWnd);
    EXPECT_EQ(L"abc", EditWindow::NativeText(hWnd));
    w.edit->SetText(L"hello");
    EXPECT_EQ(L"hello", EditWindow::NativeText(hWnd));

    const int before = w.Count(L"textchanged", w.edit);
    ::SendMessageW(hWnd, EM_SETSEL, 5, 5);
    w.Type(hWnd, L"xyz");
    EXPECT_EQ(before + 3, w.Count(L"textchanged", w.edit));
    EXPECT_STREQ(L"helloxyz", w.edit->GetText().GetData());
    ::SendMessageW(hWnd, WM_CHAR, VK_BACK, 1);
    EXPECT_STREQ(L"helloxy", w.edit->GetText().GetData());
    EXPECT_EQ(before + 4, w.Count(L"textchanged", w.edit));
}

TEST(EditWindow, EnterSendsReturnAndInsertsNothing)
{
    EditWindow w;
    HWND hWnd = w.Focus(w.edit);
    ASSERT_NE(nullptr, hWnd);
    const int changes = w.Count(L"textchanged");
    ::PostMessageW(hWnd, WM_KEYDOWN, VK_RETURN, 1);
    ::PostMessageW(hWnd, WM_CHAR, L'\r', 1);
    w.Settle();
    EXPECT_EQ(1, w.Count(L"return", w.edit));
    EXPECT_EQ(changes, w.Count(L"textchanged"));
    EXPECT_EQ(L"abc", EditWindow::NativeText(hWnd));
    EXPECT_STREQ(L"abc", w.edit->GetText().GetData());
}

TEST(EditWindow, PasswordModeMasksBothTheNativeWindowAndThePaintedText)
{
    EditWindow w;
    // Idle, "abc" in password mode paints exactly like "***".
    const RECT a = w.secret->GetPos();
    const RECT b = w.stars->GetPos();
    int differences = 0;
    int dark = 0;
    for (int y = 0; y < a.bottom - a.top; ++y) {
        for (int x = 0; x < a.right - a.left; x += 2) {
            const DWORD pa = w.Pixel(POINT { a.left + x, a.top + y });
            const DWORD pb = w.Pixel(POINT { b.left + x, b.top + y });
            differences += pa != pb ? 1 : 0;
            dark += pa != 0xFFFFFFu ? 1 : 0;
        }
    }
    EXPECT_EQ(0, differences);
    EXPECT_GT(dark, 0);

    HWND hWnd = w.Focus(w.secret);
    ASSERT_NE(nullptr, hWnd);
    EXPECT_NE(0, ::GetWindowLongW(hWnd, GWL_STYLE) & ES_PASSWORD);
    EXPECT_EQ(static_cast<LRESULT>(L'*'), ::SendMessageW(hWnd, EM_GETPASSWORDCHAR, 0, 0));
    w.secret->SetPasswordChar(L'#');
    EXPECT_EQ(static_cast<LRESULT>(L'#'), ::SendMessageW(hWnd, EM_GETPASSWORDCHAR, 0, 0));
}

TEST(EditWindow, NumberOnlyModeRejectsLetters)
{
    EditWindow w;
    EXPECT_TRUE(w.digits->IsNumberOnly());
    HWND hWnd = w.Focus(w.digits);
    ASSERT_NE(nullptr, hWnd);
    EXPECT_NE(0, ::GetWindowLongW(hWnd, GWL_STYLE) & ES_NUMBER);
    w.Type(hWnd, L"1a2");
    EXPECT_STREQ(L"12", w.digits->GetText().GetData());
}

TEST(EditWindow, FocusLossDestroysTheNativeWindow)
{
    EditWindow w;
    HWND hWnd = w.Focus(w.edit);
    ASSERT_NE(nullptr, hWnd);
    HWND other = w.Focus(w.secret);
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(nullptr, w.edit->GetNativeWindow());
    ASSERT_NE(nullptr, other);
    w.Unfocus();
    EXPECT_FALSE(::IsWindow(other));
    EXPECT_EQ(nullptr, w.secret->GetNativeWindow());
    EXPECT_EQ(0, CEditWnd::GetLiveCount());
}

TEST(EditWindow, DisablingOrHidingTheControlClosesTheNativeWindow)
{
    EditWindow w;
    HWND hWnd = w.Focus(w.edit);
    ASSERT_NE(nullptr, hWnd);
    w.edit->SetEnabled(false);
    w.Settle();
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(nullptr, w.edit->GetNativeWindow());
    EXPECT_EQ(0u, w.edit->GetButtonState() & STATE_HOT);

    hWnd = w.Focus(w.secret);
    ASSERT_NE(nullptr, hWnd);
    w.secret->SetVisible(false);
    w.Settle();
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(0, CEditWnd::GetLiveCount());
}

TEST(EditWindow, ControlDeletedWhileEditingTakesItsWindowAlong)
{
    EditWindow w;
    HWND hWnd = w.Focus(w.edit);
    ASSERT_NE(nullptr, hWnd);
    auto* layout = static_cast<CContainerUI*>(w.Find(L"root")->GetInterface(L"Container"));
    ASSERT_TRUE(layout->Remove(w.edit));
    w.Settle();  // the delayed cleanup deletes the control
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(0, CEditWnd::GetLiveCount());
}

TEST(EditWindow, MainWindowDestroyedWhileEditing)
{
    EditWindow w;
    HWND hWnd = w.Focus(w.edit);
    ASSERT_NE(nullptr, hWnd);
    ::DestroyWindow(w.host.Handle());
    w.Settle();
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(0, CEditWnd::GetLiveCount());
}

TEST(EditWindow, NativeBackgroundColourPaintsBehindTheText)
{
    EditWindow w;
    w.edit->SetNativeEditBkColor(0xFFFF0000);
    HWND hWnd = w.Focus(w.edit);
    ASSERT_NE(nullptr, hWnd);
    ::InvalidateRect(hWnd, nullptr, TRUE);
    ::UpdateWindow(hWnd);
    RECT rc = {};
    ::GetClientRect(hWnd, &rc);
    HDC dc = ::GetDC(hWnd);
    const COLORREF c = ::GetPixel(dc, rc.right - 2, rc.bottom / 2);
    ::ReleaseDC(hWnd, dc);
    EXPECT_EQ(RGB(255, 0, 0), c);
}

TEST(EditWindow, HundredOpenCloseCyclesLeakNothing)
{
    EditWindow w;
    w.edit->SetNativeEditBkColor(0xFF00FF00);  // makes each window create a brush
    HANDLE process = ::GetCurrentProcess();
    // One cycle first so that one-time allocations (class, fonts) are done.
    w.Focus(w.edit);
    w.Unfocus();
    const DWORD gdiBefore = ::GetGuiResources(process, GR_GDIOBJECTS);
    const DWORD userBefore = ::GetGuiResources(process, GR_USEROBJECTS);
    const int childrenBefore = w.NativeChildren();
    for (int i = 0; i < 100; ++i) {
        HWND hWnd = w.Focus(w.edit);
        ASSERT_NE(nullptr, hWnd);
        ::UpdateWindow(hWnd);
        w.Unfocus();
        ASSERT_FALSE(::IsWindow(hWnd));
    }
    EXPECT_EQ(childrenBefore, w.NativeChildren());
    EXPECT_EQ(0, CEditWnd::GetLiveCount());
    EXPECT_LE(::GetGuiResources(process, GR_GDIOBJECTS), gdiBefore + 2);
    EXPECT_LE(::GetGuiResources(process, GR_USEROBJECTS), userBefore + 2);
}

TEST(EditWindow, PressOnAFocusedEditSelectsAllItsText)
{
    EditWindow w;
    HWND hWnd = w.Focus(w.edit);
    ASSERT_NE(nullptr, hWnd);
    ::SendMessageW(hWnd, EM_SETSEL, 1, 1);
    const POINT pt = EditWindow::Centre(w.edit);
    TEventUI e;
    e.Type = EVENT_BUTTONDOWN;
    e.ptMouse = pt;
    w.edit->DoEvent(e);
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageW(hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(0u, start);
    EXPECT_EQ(3u, end);
}
