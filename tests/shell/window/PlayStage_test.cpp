// The tray icon with a real owner window, and the web frame's play detection
// over a plain window standing in for its own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MicroClientConfig.h"
#include "TrayIcon.h"
#include "WebFrame.h"
#include "support/TestSupport.h"

using Veneer::CStdString;

namespace {

HWND PlainWindow()
{
    return ::CreateWindowExW(0, L"STATIC", L"stand-in", WS_POPUP | WS_VISIBLE, 10, 10, 100, 100, nullptr,
                             nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

// Records the play frames it is asked to open instead of opening them.
class TestWebFrame : public CMicroClientWebFrame {
public:
    explicit TestWebFrame(HWND hWnd) { m_hWnd = hWnd; }
    ~TestWebFrame() override { m_hWnd = nullptr; }

    std::vector<CStdString> opened;
    bool openSucceeds { true };

protected:
    bool OpenPlayFrame(const CStdString& address) override
    {
        opened.push_back(address);
        return openSucceeds;
    }
};

// Runs one navigation through BeforeNavigate2 as the browser would.
bool Navigate(CMicroClientWebFrame& frame, const wchar_t* address)
{
    VARIANT url;
    ::VariantInit(&url);
    url.vt = VT_BSTR;
    url.bstrVal = ::SysAllocString(address);
    VARIANT empty;
    ::VariantInit(&empty);
    VARIANT* pUrl = &url;
    VARIANT* pEmpty = &empty;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT_BOOL* pCancel = &cancel;
    frame.BeforeNavigate2(nullptr, pUrl, pEmpty, pEmpty, pEmpty, pEmpty, pCancel);
    ::VariantClear(&url);
    return cancel == VARIANT_TRUE;
}

class KeywordScope {
public:
    explicit KeywordScope(const wchar_t* keyword) : m_saved(GetClientConfig().playGamekeyWord)
    {
        GetClientConfig().playGamekeyWord = keyword;
    }
    ~KeywordScope() { GetClientConfig().playGamekeyWord = m_saved; }

private:
    CStdString m_saved;
};

}  // namespace

TEST(PlayStage, TrayIconIsAddedAndRemovedForItsOwner)
{
    HWND owner = PlainWindow();
    ASSERT_NE(nullptr, owner);
    CTrayIcon tray;
    tray.Add(owner, ::LoadIconW(nullptr, MAKEINTRESOURCEW(32512)), L"Tarrowin");
    EXPECT_TRUE(tray.IsAdded());
    EXPECT_EQ(owner, tray.GetOwner());
    tray.Remove();
    EXPECT_FALSE(tray.IsAdded());
    EXPECT_EQ(nullptr, tray.GetOwner());
    EXPECT_EQ(0u, tray.GetData().cbSize);
    tray.Remove();  // twice is harmless
    ::DestroyWindow(owner);
}

TEST(PlayStage, KeywordNavigationIsCancelledAndOpensPlayFromHttp)
{
    KeywordScope keyword(L"client=pc");
    HWND window = PlainWindow();
    TestWebFrame frame(window);
    EXPECT_FALSE(Navigate(frame, L"about:blank"));
    EXPECT_FALSE(Navigate(frame, L"http://host/game.html?CLIENT=PC"));
    EXPECT_TRUE(frame.opened.empty());
    EXPECT_TRUE(::IsWindowVisible(window));

    EXPECT_TRUE(Navigate(frame, L"x-res:http://host/game.html?client=pc"));
    ASSERT_EQ(1u, frame.opened.size());
    EXPECT_EQ(CStdString(L"http://host/game.html?client=pc"), frame.opened[0]);
    EXPECT_FALSE(::IsWindowVisible(window));  // the web frame hides
    ::DestroyWindow(window);
}

TEST(PlayStage, LoginWindowsStayWhenThePlayFrameCannotOpen)
{
    KeywordScope keyword(L"client=pc");
    HWND window = PlainWindow();
    TestWebFrame frame(window);
    frame.openSucceeds = false;
    EXPECT_TRUE(Navigate(frame, L"http://host/game.html?client=pc"));
    EXPECT_EQ(nullptr, frame.GetPlayFrame());
    EXPECT_TRUE(::IsWindowVisible(window));
    // The next try asks again.
    EXPECT_TRUE(Navigate(frame, L"http://host/game.html?client=pc"));
    EXPECT_EQ(2u, frame.opened.size());
    ::DestroyWindow(window);
}

TEST(PlayStage, WebFrameKeepsItsOffsetAndAZeroOffsetIsTakenFromTheFirstMove)
{
    HWND window = PlainWindow();
    RECT rc = {};
    {
        TestWebFrame frame(window);
        frame.FollowLoginFrame(322, 169, 962, 618);  // the configured rectangle
        frame.FollowLoginFrame(100, 50, 1183, 706);  // the login frame moves
        ::GetWindowRect(window, &rc);
        EXPECT_EQ(422, rc.left);
        EXPECT_EQ(219, rc.top);
        EXPECT_EQ(640, rc.right - rc.left);
        EXPECT_EQ(449, rc.bottom - rc.top);
    }
    {
        // A rectangle at 0,0 leaves the offset unset: the first move records
        // the login frame's own rectangle, and later moves add it again.
        TestWebFrame frame(window);
        frame.FollowLoginFrame(0, 0, 640, 449);
        frame.FollowLoginFrame(100, 50, 1183, 706);
        ::GetWindowRect(window, &rc);
        EXPECT_EQ(100, rc.left);
        EXPECT_EQ(50, rc.top);
        EXPECT_EQ(1083, rc.right - rc.left);
        EXPECT_EQ(656, rc.bottom - rc.top);
        frame.FollowLoginFrame(110, 60, 1193, 716);
        ::GetWindowRect(window, &rc);
        EXPECT_EQ(210, rc.left);
        EXPECT_EQ(110, rc.top);
    }
    ::DestroyWindow(window);
}
