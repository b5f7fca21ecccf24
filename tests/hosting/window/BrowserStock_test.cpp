// The browser control over the platform's own browser object.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/VerticalLayoutUI.h"
#include "hosting/WebBrowserUI.h"
#include "HostingWindow.h"

using namespace Veneer;
using HostingTest::HostWindow;
using HostingTest::VariantText;

namespace {

class RecordingHandler : public CWebBrowserEventHandler {
public:
    void BeforeNavigate2(IDispatch*, VARIANT*& url, VARIANT*&, VARIANT*&, VARIANT*&, VARIANT*&,
        VARIANT_BOOL*& Cancel) override
    {
        std::wstring address = VariantText(url);
        before.push_back(address);
        if (address.find(cancelWord) != std::wstring::npos && !cancelWord.empty()) {
            *Cancel = VARIANT_TRUE;
        }
    }
    void NavigateError(IDispatch*, VARIANT*& url, VARIANT*&, VARIANT*&, VARIANT_BOOL*&) override
    {
        errors.push_back(VariantText(url));
    }

    std::wstring cancelWord;
    std::vector<std::wstring> before;
    std::vector<std::wstring> errors;
};

bool Contains(const std::vector<std::wstring>& list, const std::wstring& part)
{
    for (const auto& item : list) {
        if (item.find(part) != std::wstring::npos) return true;
    }
    return false;
}

struct StockBrowser {
    HostingTest::OleScope ole;
    HostWindow window { 400, 300 };
    CWebBrowserUI* browser { new CWebBrowserUI };
    RecordingHandler handler;

    explicit StockBrowser(bool autoNavigate, LPCWSTR home = L"")
    {
        auto* root = new CVerticalLayoutUI;
        browser->SetName(L"browser");
        // Wine's own object, whatever the prefix registers under the class id.
        browser->SetAttribute(L"modulename", L"ieframe.dll");
        browser->SetAttribute(L"clsid", L"{8856F961-340A-11D0-A96B-00C04FD705A2}");
        browser->SetAttribute(L"autonavi", autoNavigate ? L"true" : L"false");
        browser->SetHomePage(home);
        browser->SetWebBrowserEventHandler(&handler);
        root->Add(browser);
        window.Attach(root);
    }
};

}  // namespace

TEST(BrowserStock, DelayedCreationActivatesInPlaceAtFirstLayout)
{
    HostingTest::OleScope ole;
    HostWindow window(400, 300);
    auto* root = new CVerticalLayoutUI;
    auto* browser = new CWebBrowserUI;
    root->Add(browser);
    EXPECT_TRUE(browser->IsDelayCreate());
    window.Manager().AttachDialog(root);
    EXPECT_EQ(browser->GetWebBrowser2(), nullptr) << "nothing before the first layout";
    ::ShowWindow(window.Handle(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(window.Handle());
    HostWindow::Pump(30);

    ASSERT_NE(browser->GetWebBrowser2(), nullptr);
    HWND host = browser->GetHostWindow();
    ASSERT_TRUE(::IsWindow(host));
    wchar_t cls[64] = {};
    ::GetClassNameW(host, cls, 64);
    EXPECT_STREQ(cls, L"ActiveXWnd");
    EXPECT_EQ(::GetParent(host), window.Handle());
    RECT rc = {};
    ::GetWindowRect(host, &rc);
    EXPECT_EQ(rc.right - rc.left, 400);
    EXPECT_EQ(rc.bottom - rc.top, 300);
    // The browser's own window lives inside the host window.
    EXPECT_NE(::GetWindow(host, GW_CHILD), nullptr);

    IUnknown* unknown = nullptr;
    ASSERT_EQ(browser->GetControl(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    unknown->Release();
    EXPECT_EQ(browser->GetControl(IID_IUnknown, nullptr), E_POINTER);
}

TEST(BrowserStock, BeforeNavigate2CarriesTheAddressAndCancelStopsTheNavigation)
{
    StockBrowser b(false);
    ASSERT_NE(b.browser->GetWebBrowser2(), nullptr);
    EXPECT_TRUE(b.handler.before.empty()) << "no automatic navigation";

    b.handler.cancelWord = L"cancelme";
    b.browser->Navigate2(L"http://127.0.0.1:9/cancelme");
    ASSERT_TRUE(Contains(b.handler.before, L"http://127.0.0.1:9/cancelme"));

    // Not cancelled: the address cannot be reached, which the handler hears.
    b.browser->Navigate2(L"http://127.0.0.1:9/plain");
    EXPECT_TRUE(Contains(b.handler.before, L"http://127.0.0.1:9/plain"));
    EXPECT_TRUE(HostWindow::PumpUntil([&] { return Contains(b.handler.errors, L"/plain"); }, 5000));
    EXPECT_FALSE(Contains(b.handler.errors, L"cancelme")) << "a cancelled navigation sends nothing";
}

TEST(BrowserStock, AutomaticNavigationOpensBlankThenTheHomePage)
{
    StockBrowser b(true, L"http://127.0.0.1:9/home");
    ASSERT_GE(b.handler.before.size(), 2u);
    EXPECT_EQ(b.handler.before[0], L"about:blank");
    EXPECT_EQ(b.handler.before[1], L"http://127.0.0.1:9/home");
    // The failure of the home page is reported without harm.
    EXPECT_TRUE(HostWindow::PumpUntil([&] { return Contains(b.handler.errors, L"/home"); }, 5000));
}

TEST(BrowserStock, AutomaticNavigationWithoutHomePageOpensNothing)
{
    StockBrowser b(true);
    HostWindow::Pump(50);
    EXPECT_TRUE(b.handler.before.empty());
}

TEST(BrowserStock, NullHandlerKeepsTheEarlierOne)
{
    StockBrowser b(false);
    b.browser->SetWebBrowserEventHandler(nullptr);
    EXPECT_EQ(b.browser->GetWebBrowserEventHandler(), &b.handler);
    b.browser->Navigate2(L"http://127.0.0.1:9/kept");
    EXPECT_TRUE(Contains(b.handler.before, L"/kept"));
}

TEST(BrowserStock, RemovedAndDestroyedWhileNavigating)
{
    StockBrowser b(false);
    b.browser->Navigate2(L"http://127.0.0.1:9/pending");
    auto* root = static_cast<CContainerUI*>(b.window.Manager().GetRoot());
    ASSERT_TRUE(root->Remove(b.browser));
    b.browser = nullptr;
    HostWindow::Pump(300);
    EXPECT_EQ(root->GetCount(), 0);
}

TEST(BrowserStock, ComFacesShareOneIdentity)
{
    StockBrowser b(false);
    IUnknown* viaDispatch = nullptr;
    IUnknown* viaHandler = nullptr;
    auto* dispatch = static_cast<IDispatch*>(b.browser);
    auto* handler = static_cast<IDocHostUIHandler*>(b.browser);
    ASSERT_EQ(dispatch->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&viaDispatch)), S_OK);
    ASSERT_EQ(handler->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&viaHandler)), S_OK);
    EXPECT_EQ(viaDispatch, viaHandler);
    viaDispatch->Release();
    viaHandler->Release();

    IServiceProvider* services = nullptr;
    ASSERT_EQ(dispatch->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(&services)), S_OK);
    const GUID download = { 0x988934A4, 0x064B, 0x11D3, { 0xBB, 0x80, 0x00, 0x10, 0x4B, 0x35, 0xE7, 0xF9 } };
    IUnknown* manager = nullptr;
    EXPECT_EQ(services->QueryService(download, download, reinterpret_cast<void**>(&manager)), S_OK);
    ASSERT_NE(manager, nullptr);
    IUnknown* managerIdentity = nullptr;
    ASSERT_EQ(manager->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&managerIdentity)), S_OK);
    EXPECT_EQ(managerIdentity, static_cast<IUnknown*>(dispatch));
    managerIdentity->Release();
    manager->Release();
    EXPECT_EQ(services->QueryService(IID_IUnknown, download, reinterpret_cast<void**>(&manager)), E_NOINTERFACE);
    EXPECT_EQ(manager, nullptr);
    services->Release();

    IStream* none = reinterpret_cast<IStream*>(1);
    EXPECT_EQ(dispatch->QueryInterface(IID_IStream, reinterpret_cast<void**>(&none)), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
}
