#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "engine/PaintManagerUI.h"
#include "engine/WindowWnd.h"
#include "support/TestSupport.h"

using namespace Veneer;

namespace {

const UINT WM_TEST_THROW = WM_APP + 10;
const UINT WM_TEST_PING = WM_APP + 11;
const UINT WM_TEST_CALL = WM_APP + 12;

class TestWnd : public CWindowWnd {
public:
    explicit TestWnd(LPCWSTR className = L"VeneerTestWnd", LPCWSTR superClass = nullptr)
        : m_className(className), m_superClass(superClass)
    {
    }

    using CWindowWnd::HandleMessage;

    int finalMessages { 0 };
    HWND finalWindow { nullptr };
    int pings { 0 };
    bool throwOnFinal { false };
    void (*onCall)(TestWnd*) { nullptr };

    bool HasObjectProperty() const { return ::GetPropW(m_hWnd, L"WndX") == this; }
    WNDPROC PreviousProc() const { return m_OldWndProc; }

protected:
    LPCWSTR GetFrameClassName() const override { return m_className; }
    LPCWSTR GetSuperClassName() const override { return m_superClass; }

    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_TEST_THROW) throw std::runtime_error("handler failure");
        if (uMsg == WM_TEST_PING) {
            ++pings;
            return 77;
        }
        if (uMsg == WM_TEST_CALL && onCall) {
            onCall(this);
            return 0;
        }
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }

    void OnFinalMessage(HWND hWnd) override
    {
        ++finalMessages;
        finalWindow = hWnd;
        if (throwOnFinal) throw std::runtime_error("final failure");
    }

private:
    LPCWSTR m_className;
    LPCWSTR m_superClass;
};

class WindowWndTest : public ::testing::Test {
protected:
    void SetUp() override { CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr)); }
};

RECT WorkAreaOf(HWND hWnd)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

}  // namespace

TEST_F(WindowWndTest, CreateRoutesMessagesAndEndsWithTheFinalMessage)
{
    TestWnd wnd;
    HWND hWnd = wnd.Create(nullptr, L"test", WS_POPUP, 0, 10, 20, 200, 100);
    ASSERT_NE(hWnd, nullptr);
    EXPECT_EQ(wnd.GetHWND(), hWnd);
    EXPECT_EQ(static_cast<HWND>(wnd), hWnd);
    EXPECT_EQ(wnd.SendMessageW(WM_TEST_PING), 77);
    EXPECT_EQ(::GetWindowLongPtrW(hWnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&wnd));
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    EXPECT_EQ(rc.left, 10);
    EXPECT_EQ(rc.right - rc.left, 200);

    ::DestroyWindow(hWnd);
    EXPECT_EQ(wnd.finalMessages, 1);
    EXPECT_EQ(wnd.finalWindow, hWnd);
    EXPECT_EQ(wnd.GetHWND(), nullptr);
}

TEST_F(WindowWndTest, AnExistingClassIsNoFailure)
{
    TestWnd first(L"VeneerSharedClass");
    TestWnd second(L"VeneerSharedClass");
    ASSERT_NE(first.CreateVeneerWindow(nullptr, L"one"), nullptr);
    ASSERT_NE(second.CreateVeneerWindow(nullptr, L"two", WS_POPUP), nullptr);
    EXPECT_EQ(first.SendMessageW(WM_TEST_PING), 77);
    EXPECT_EQ(second.SendMessageW(WM_TEST_PING), 77);
    EXPECT_EQ(first.pings, 1);
    EXPECT_EQ(second.pings, 1);
    ::DestroyWindow(first.GetHWND());
    ::DestroyWindow(second.GetHWND());
}

TEST_F(WindowWndTest, UnknownSuperclassFailsCreate)
{
    TestWnd wnd(L"VeneerNoSuper", L"NoSuchWindowClass");
    EXPECT_EQ(wnd.Create(nullptr, L"x", WS_POPUP, 0), nullptr);
    EXPECT_EQ(wnd.GetHWND(), nullptr);
}

TEST_F(WindowWndTest, SuperclassKeepsTheObjectInAPropertyAndCallsTheSystemProcedure)
{
    TestWnd edit(L"VeneerEdit", L"EDIT");
    HWND hWnd = edit.Create(nullptr, L"initial", WS_POPUP, 0, 0, 0, 100, 20);
    ASSERT_NE(hWnd, nullptr);
    EXPECT_TRUE(edit.HasObjectProperty());
    EXPECT_NE(edit.PreviousProc(), reinterpret_cast<WNDPROC>(::DefWindowProcW));
    // The edit procedure still does the work behind the wrapper.
    ::SetWindowTextW(hWnd, L"typed");
    wchar_t text[32] = {};
    ::GetWindowTextW(hWnd, text, 32);
    EXPECT_STREQ(text, L"typed");
    EXPECT_EQ(edit.SendMessageW(WM_TEST_PING), 77);

    ::DestroyWindow(hWnd);
    EXPECT_EQ(edit.finalMessages, 1);
    EXPECT_EQ(::GetPropW(hWnd, L"WndX"), nullptr);
}

TEST_F(WindowWndTest, SubclassAndUnsubclass)
{
    HWND hWnd = ::CreateWindowExW(0, L"STATIC", L"plain", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(hWnd, nullptr);
    TestWnd wnd(L"VeneerUnused");
    EXPECT_EQ(wnd.Subclass(hWnd), hWnd);
    EXPECT_EQ(::SendMessageW(hWnd, WM_TEST_PING, 0, 0), 77);
    wnd.Unsubclass();
    EXPECT_EQ(::SendMessageW(hWnd, WM_TEST_PING, 0, 0), 0);
    EXPECT_EQ(wnd.pings, 1);
    EXPECT_EQ(wnd.PreviousProc(), reinterpret_cast<WNDPROC>(::DefWindowProcW));

    // Destroyed while subclassed: the previous procedure is put back first.
    EXPECT_EQ(wnd.Subclass(hWnd), hWnd);
    ::DestroyWindow(hWnd);
    EXPECT_EQ(wnd.finalMessages, 1);
    EXPECT_EQ(wnd.GetHWND(), nullptr);

    TestWnd none(L"VeneerUnused");
    EXPECT_EQ(none.Subclass(nullptr), nullptr);
}

TEST_F(WindowWndTest, ExceptionsStopAtTheWindowProcedure)
{
    TestWnd wnd;
    ASSERT_NE(wnd.Create(nullptr, L"x", WS_POPUP, 0), nullptr);
    EXPECT_EQ(wnd.SendMessageW(WM_TEST_THROW), 0) << "the default answer of the message";
    EXPECT_EQ(wnd.SendMessageW(WM_TEST_PING), 77) << "routing goes on";

    wnd.throwOnFinal = true;
    ::DestroyWindow(wnd.GetHWND());
    EXPECT_EQ(wnd.finalMessages, 1);
    EXPECT_EQ(wnd.GetHWND(), nullptr);
}

TEST_F(WindowWndTest, ObjectGoneBeforeItsWindowIsNotCalledAgain)
{
    HWND hWnd = nullptr;
    {
        TestWnd wnd;
        hWnd = wnd.Create(nullptr, L"x", WS_POPUP, 0);
        ASSERT_NE(hWnd, nullptr);
    }
    EXPECT_EQ(::GetWindowLongPtrW(hWnd, GWLP_USERDATA), 0);
    EXPECT_EQ(::SendMessageW(hWnd, WM_TEST_PING, 0, 0), 0);
    EXPECT_TRUE(::DestroyWindow(hWnd));
}

TEST_F(WindowWndTest, ShowModalReturnsTheCloseCodeAndReenablesTheOwner)
{
    TestWnd owner(L"VeneerOwner");
    ASSERT_NE(owner.Create(nullptr, L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 0, 300, 200), nullptr);
    TestWnd modal(L"VeneerModal");
    ASSERT_NE(modal.Create(owner.GetHWND(), L"modal", WS_POPUP, 0, 50, 50, 100, 80), nullptr);

    static bool ownerDisabledDuringLoop;
    ownerDisabledDuringLoop = false;
    modal.onCall = [](TestWnd* self) {
        ownerDisabledDuringLoop = !::IsWindowEnabled(::GetWindow(self->GetHWND(), GW_OWNER));
        self->Close(42);
    };
    modal.PostMessageW(WM_TEST_CALL);
    EXPECT_EQ(modal.ShowModal(), 42u);
    EXPECT_TRUE(ownerDisabledDuringLoop);
    EXPECT_TRUE(::IsWindowEnabled(owner.GetHWND()));
    EXPECT_EQ(modal.GetHWND(), nullptr) << "the close message destroyed the window";
    EXPECT_EQ(modal.finalMessages, 1);
    ::DestroyWindow(owner.GetHWND());
}

TEST_F(WindowWndTest, ShowModalPassesTheQuitMessageOn)
{
    TestWnd modal(L"VeneerModal");
    ASSERT_NE(modal.Create(nullptr, L"modal", WS_POPUP, 0, 0, 0, 100, 80), nullptr);
    ::PostQuitMessage(9);
    EXPECT_EQ(modal.ShowModal(), 0u);
    MSG msg = {};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 9u);
    ::DestroyWindow(modal.GetHWND());
}

TEST_F(WindowWndTest, CloseOnAWindowThatIsGoneDoesNothing)
{
    TestWnd wnd;
    wnd.Close(3);
    wnd.ShowWindow(true);
    wnd.CenterWindow();
    EXPECT_EQ(wnd.ShowModal(), 0u);
    MSG msg = {};
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, WM_CLOSE, WM_CLOSE, PM_NOREMOVE));
}

TEST_F(WindowWndTest, ShowWindowShowsAndHides)
{
    TestWnd wnd;
    ASSERT_NE(wnd.Create(nullptr, L"x", WS_POPUP, 0, 0, 0, 50, 50), nullptr);
    wnd.ShowWindow(true, false);
    EXPECT_TRUE(::IsWindowVisible(wnd.GetHWND()));
    wnd.ShowWindow(false);
    EXPECT_FALSE(::IsWindowVisible(wnd.GetHWND()));
    wnd.ShowWindow();
    EXPECT_TRUE(::IsWindowVisible(wnd.GetHWND()));
    ::DestroyWindow(wnd.GetHWND());
}

TEST_F(WindowWndTest, CenterWindowCentresOnTheOwner)
{
    TestWnd owner(L"VeneerOwner");
    ASSERT_NE(owner.Create(nullptr, L"owner", WS_POPUP, 0, 100, 100, 401, 301), nullptr);
    TestWnd child(L"VeneerChild");
    ASSERT_NE(child.Create(owner.GetHWND(), L"child", WS_POPUP, 0, 0, 0, 101, 51), nullptr);
    child.CenterWindow();
    RECT rc = {};
    ::GetWindowRect(child.GetHWND(), &rc);
    // Centre (300, 250) minus half the size, in integer division.
    EXPECT_EQ(rc.left, 300 - 50);
    EXPECT_EQ(rc.top, 250 - 25);
    EXPECT_EQ(rc.right - rc.left, 101);
    ::DestroyWindow(owner.GetHWND());
}

TEST_F(WindowWndTest, CenterWindowStaysInsideTheWorkArea)
{
    TestWnd probe(L"VeneerProbe");
    ASSERT_NE(probe.Create(nullptr, L"probe", WS_POPUP, 0, 0, 0, 10, 10), nullptr);
    const RECT work = WorkAreaOf(probe.GetHWND());
    // An owner hanging over the top-left corner would centre the window off screen.
    TestWnd owner(L"VeneerOwner");
    ASSERT_NE(owner.Create(nullptr, L"owner", WS_POPUP, 0, work.left - 300, work.top - 300, 200, 200),
              nullptr);
    TestWnd child(L"VeneerChild");
    ASSERT_NE(child.Create(owner.GetHWND(), L"child", WS_POPUP, 0, 0, 0, 150, 120), nullptr);
    child.CenterWindow();
    RECT rc = {};
    ::GetWindowRect(child.GetHWND(), &rc);
    EXPECT_EQ(rc.left, work.left);
    EXPECT_EQ(rc.top, work.top);

    // Without an owner: the work area itself, and a window larger than it
    // sticks to the left and top edges.
    probe.CenterWindow();
    ::GetWindowRect(probe.GetHWND(), &rc);
    EXPECT_EQ(rc.left, (work.left + work.right) / 2 - 5);
    EXPECT_EQ(rc.top, (work.top + work.bottom) / 2 - 5);
    ::DestroyWindow(probe.GetHWND());
    ::DestroyWindow(owner.GetHWND());
}

TEST_F(WindowWndTest, ResizeClientKeepsTheFrame)
{
    TestWnd wnd;
    ASSERT_NE(wnd.Create(nullptr, L"x", WS_OVERLAPPEDWINDOW, 0, 10, 10, 300, 200), nullptr);
    wnd.ResizeClient(250, -1);
    RECT rc = {};
    ::GetClientRect(wnd.GetHWND(), &rc);
    EXPECT_EQ(rc.right, 250);
    const LONG height = rc.bottom;
    wnd.ResizeClient(-1, 120);
    ::GetClientRect(wnd.GetHWND(), &rc);
    EXPECT_EQ(rc.right, 250);
    EXPECT_EQ(rc.bottom, 120);
    EXPECT_NE(height, 120);
    ::DestroyWindow(wnd.GetHWND());
}
