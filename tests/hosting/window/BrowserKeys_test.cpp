// Keys reaching a live page through the paint manager's accelerator path:
// real key messages posted to the page's window, pumped as the framework's
// message loop pumps them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/VerticalLayoutUI.h"
#include "hosting/WebBrowserUI.h"
#include "HostingWindow.h"
#include "StandinSupport.h"

using namespace Veneer;
using HostingTest::CountOf;
using HostingTest::FindView;
using HostingTest::HostWindow;
using HostingTest::PostKey;
using HostingTest::PumpThroughFramework;
using HostingTest::ServerUrl;
using HostingTest::VariantText;

namespace {

class KeyHandler : public CWebBrowserEventHandler {
public:
    void BeforeNavigate2(IDispatch*, VARIANT*& url, VARIANT*&, VARIANT*&, VARIANT*&, VARIANT*&,
        VARIANT_BOOL*&) override
    {
        before.push_back(VariantText(url));
    }
    void NavigateComplete2(IDispatch*, VARIANT*& url, const CStdString&) override
    {
        completed.push_back(VariantText(url));
    }
    // The page host hears of every key before the page does.
    HRESULT TranslateAccelerator(LPMSG lpMsg, const GUID*, DWORD) override
    {
        if (lpMsg == nullptr || lpMsg->message != WM_KEYDOWN) return S_FALSE;
        keys.push_back(static_cast<UINT>(lpMsg->wParam));
        return swallowed == lpMsg->wParam ? S_OK : S_FALSE;
    }

    std::vector<std::wstring> before;
    std::vector<std::wstring> completed;
    std::vector<UINT> keys;
    WPARAM swallowed { 0 };
};

struct LivePage {
    HostingTest::OleScope ole;
    HostWindow window { 400, 300 };
    CWebBrowserUI* browser { new CWebBrowserUI };
    KeyHandler handler;

    LivePage()
    {
        std::wstring module = HostingTest::StandinModule();
        browser->SetAttribute(L"modulename", module.c_str());
        browser->SetWebBrowserEventHandler(&handler);
        auto* root = new CVerticalLayoutUI;
        root->Add(browser);
        window.Attach(root);
    }

    bool Load(const std::wstring& path)
    {
        std::wstring url = ServerUrl(path);
        const int before = CountOf(handler.completed, path);
        browser->Navigate2(url.c_str());
        return HostWindow::PumpUntil([&] { return CountOf(handler.completed, path) > before; }, 8000);
    }

    // Two pages in the history, the page view holding the keyboard focus.
    HWND TwoPagesWithFocusInside()
    {
        if (!Load(L"/game.html") || !Load(L"/test/click.html")) return nullptr;
        HWND view = FindView(browser->GetHostWindow());
        if (view == nullptr) return nullptr;
        ::SetFocus(view);
        HostWindow::Pump(20);
        return ::GetFocus() == view ? view : nullptr;
    }
};

}  // namespace

TEST(BrowserKeys, BackspaceInThePageGoesBackOnlyThroughTheFrameworkLoop)
{
    LivePage page;
    HWND view = page.TwoPagesWithFocusInside();
    ASSERT_NE(view, nullptr);
    const size_t navigations = page.handler.before.size();

    // Dispatched straight to the page window, the key is not an accelerator.
    PostKey(view, VK_BACK);
    HostWindow::Pump(150);
    EXPECT_EQ(page.handler.before.size(), navigations);

    // Through the paint manager it reaches the browser's in-place object.
    PostKey(view, VK_BACK);
    EXPECT_TRUE(PumpThroughFramework([&] { return CountOf(page.handler.completed, L"/game.html") == 2; }, 8000));
    ASSERT_GT(page.handler.before.size(), navigations);
    EXPECT_NE(page.handler.before.back().find(L"/game.html"), std::wstring::npos);
    EXPECT_EQ(page.handler.keys, std::vector<UINT>({ VK_BACK }))
        << "the page host saw the routed key once, and the directly dispatched one never";
}

TEST(BrowserKeys, PageHostMaySwallowAKeyAndHearsNothingWhileFocusIsOutside)
{
    LivePage page;
    page.handler.swallowed = VK_BACK;
    HWND view = page.TwoPagesWithFocusInside();
    ASSERT_NE(view, nullptr);
    const size_t navigations = page.handler.before.size();

    PostKey(view, 'K');
    PostKey(view, VK_BACK);
    PumpThroughFramework([&] { return page.handler.keys.size() >= 2; }, 2000);
    PumpThroughFramework([] { return false; }, 150);
    EXPECT_EQ(page.handler.keys, std::vector<UINT>({ UINT('K'), UINT(VK_BACK) }));
    EXPECT_EQ(page.handler.before.size(), navigations) << "a swallowed Backspace does not go back";

    // Focus on the skinned window itself: its keys are not the page's.
    ::SetFocus(page.window.Handle());
    ASSERT_EQ(::GetFocus(), page.window.Handle());
    PostKey(page.window.Handle(), 'Q');
    PostKey(page.window.Handle(), VK_F5);
    PumpThroughFramework([] { return false; }, 150);
    EXPECT_EQ(page.handler.keys.size(), 2u);
}

TEST(BrowserKeys, BrowserKeptAfterTheControlIsGoneNoLongerCallsIt)
{
    LivePage page;
    ASSERT_TRUE(page.Load(L"/game.html"));
    IWebBrowser2* kept = page.browser->GetWebBrowser2();
    ASSERT_NE(kept, nullptr);
    kept->AddRef();
    IOleInPlaceActiveObject* active = nullptr;
    ASSERT_EQ(kept->QueryInterface(IID_IOleInPlaceActiveObject, reinterpret_cast<void**>(&active)), S_OK);
    MSG key = {};
    key.message = WM_KEYDOWN;
    key.wParam = 'A';
    active->TranslateAccelerator(&key);
    ASSERT_EQ(page.handler.keys.size(), 1u) << "the page asks its host while the control lives";

    auto* root = static_cast<CContainerUI*>(page.window.Manager().GetRoot());
    ASSERT_TRUE(root->Remove(page.browser));
    page.browser = nullptr;
    HostWindow::Pump(30);
    key.wParam = 'B';
    active->TranslateAccelerator(&key);
    EXPECT_EQ(page.handler.keys.size(), 1u);
    active->Release();
    kept->Release();
}

namespace {

// Holds Shift down for this thread while it lives.
class ShiftHeld {
public:
    ShiftHeld() { Set(0x80); }
    ~ShiftHeld() { Set(0); }
    ShiftHeld(const ShiftHeld&) = delete;
    ShiftHeld& operator=(const ShiftHeld&) = delete;

private:
    static void Set(BYTE state)
    {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_SHIFT] = state;
        keys[VK_LSHIFT] = state;
        ::SetKeyboardState(keys);
    }
};

}  // namespace

TEST(BrowserKeys, TabWalksThePageLinksAndEnterFollowsOne)
{
    LivePage page;
    ASSERT_TRUE(page.Load(L"/index.html"));
    HWND view = HostingTest::FindView(page.browser->GetHostWindow());
    ASSERT_NE(view, nullptr);
    ::SetFocus(view);
    ASSERT_EQ(::GetFocus(), view);
    const size_t navigations = page.handler.before.size();
    auto keysSeen = [&](size_t count) {
        return PumpThroughFramework([&] { return page.handler.keys.size() >= count; }, 2000);
    };

    // The page's links, in order: login, game, game without title, service.
    for (int i = 0; i < 3; ++i) PostKey(view, VK_TAB);
    ASSERT_TRUE(keysSeen(3));
    {
        ShiftHeld shift;
        PostKey(view, VK_TAB);
        ASSERT_TRUE(keysSeen(4));
    }
    PostKey(view, VK_RETURN);
    ASSERT_TRUE(PumpThroughFramework([&] { return CountOf(page.handler.completed, L"game.html?client=pc") == 1; }, 8000));
    ASSERT_GT(page.handler.before.size(), navigations);
    EXPECT_NE(page.handler.before[navigations].find(L"/game.html?client=pc"), std::wstring::npos);
    EXPECT_EQ(CountOf(page.handler.completed, L"game-notitle"), 0);

    // Past the last link focus leaves the page; the next Tab starts over.
    ASSERT_TRUE(page.Load(L"/index.html"));
    ::SetFocus(view);
    const size_t keys = page.handler.keys.size();
    for (int i = 0; i < 5; ++i) PostKey(view, VK_TAB);
    PostKey(view, VK_RETURN);
    ASSERT_TRUE(keysSeen(keys + 6));
    PumpThroughFramework([] { return false; }, 150);
    const size_t settled = page.handler.before.size();
    PostKey(view, VK_TAB);
    PostKey(view, VK_RETURN);
    EXPECT_TRUE(PumpThroughFramework([&] { return CountOf(page.handler.completed, L"/login.html") == 1; }, 8000));
    EXPECT_EQ(page.handler.before.size(), settled + 1);
}
