// The browser control over the stand-in browser object.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/VerticalLayoutUI.h"
#include "hosting/WebBrowserUI.h"
#include "HostingWindow.h"
#include "StandinSupport.h"

using namespace Veneer;
using HostingTest::FindView;
using HostingTest::Has;
using HostingTest::HostWindow;
using HostingTest::ServerUrl;
using HostingTest::StandinModule;
using HostingTest::VariantText;

namespace {

const IID kIidHtmlDocument2 = { 0x332C4425, 0x26CB, 0x11D0, { 0xB4, 0x83, 0x00, 0xC0, 0x4F, 0xD9, 0x01, 0x19 } };
const IID kIidHtmlBodyElement = { 0x3050F1D8, 0x98B5, 0x11CF, { 0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B } };

std::wstring Title(IWebBrowser2* browser)
{
    std::wstring title;
    IDispatch* dispatch = nullptr;
    if (browser == nullptr || FAILED(browser->get_Document(&dispatch)) || dispatch == nullptr) return title;
    IHTMLDocument2* document = nullptr;
    if (SUCCEEDED(dispatch->QueryInterface(kIidHtmlDocument2, reinterpret_cast<void**>(&document)))) {
        BSTR text = nullptr;
        if (SUCCEEDED(document->get_title(&text)) && text != nullptr) {
            title = text;
            ::SysFreeString(text);
        }
        document->Release();
    }
    dispatch->Release();
    return title;
}

class PageHandler : public CWebBrowserEventHandler {
public:
    void BeforeNavigate2(IDispatch*, VARIANT*& url, VARIANT*&, VARIANT*&, VARIANT*&, VARIANT*&,
        VARIANT_BOOL*&) override
    {
        before.push_back(VariantText(url));
    }
    void NavigateComplete2(IDispatch* pDisp, VARIANT*& url, const CStdString& sName) override
    {
        completed.push_back(VariantText(url));
        names.push_back(sName.GetData());
        dispatchGiven = dispatchGiven || pDisp != nullptr;
        if (browser != nullptr) titles.push_back(Title(browser->GetWebBrowser2()));
    }
    HRESULT ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override
    {
        ++contextMenus;
        return S_OK;
    }

    CWebBrowserUI* browser { nullptr };
    std::vector<std::wstring> before;
    std::vector<std::wstring> completed;
    std::vector<std::wstring> names;
    std::vector<std::wstring> titles;
    bool dispatchGiven { false };
    int contextMenus { 0 };
};

struct StandinBrowser {
    HostingTest::OleScope ole;
    HostWindow window { 640, 480 };
    CWebBrowserUI* browser { new CWebBrowserUI };
    PageHandler handler;

    StandinBrowser()
    {
        handler.browser = browser;
        auto* root = new CVerticalLayoutUI;
        browser->SetName(L"WebBrowser");
        std::wstring module = StandinModule();
        browser->SetAttribute(L"modulename", module.c_str());
        browser->SetAttribute(L"clsid", L"{8856F961-340A-11D0-A96B-00C04FD705A2}");
        browser->SetAttribute(L"autonavi", L"true");
        browser->SetAttribute(L"delaycreate", L"true");
        browser->SetWebBrowserEventHandler(&handler);
        root->Add(browser);
        window.Attach(root);
    }

    bool Load(const std::wstring& path)
    {
        std::wstring url = ServerUrl(path);
        size_t before = handler.completed.size();
        browser->Navigate2(url.c_str());
        return HostWindow::PumpUntil([&] {
            return handler.completed.size() > before && Has(handler.completed, path);
        }, 8000);
    }
};

}  // namespace

TEST(BrowserStandin, PageLoadsAndReportsToTheHandler)
{
    StandinBrowser b;
    ASSERT_NE(b.browser->GetWebBrowser2(), nullptr);
    ASSERT_TRUE(b.Load(L"/game.html"));
    EXPECT_TRUE(Has(b.handler.before, L"/game.html"));
    EXPECT_TRUE(b.handler.dispatchGiven);
    ASSERT_FALSE(b.handler.names.empty());
    EXPECT_EQ(b.handler.names.back(), L"WebBrowser");
    ASSERT_FALSE(b.handler.titles.empty());
    EXPECT_EQ(b.handler.titles.back(), L"Tarrowin") << "the title is readable when the handler hears of the page";
}

TEST(BrowserStandin, HomePageOpensByItselfAfterBlank)
{
    HostingTest::OleScope ole;
    HostWindow window(400, 300);
    auto* browser = new CWebBrowserUI;
    PageHandler handler;
    std::wstring module = StandinModule();
    browser->SetAttribute(L"modulename", module.c_str());
    browser->SetAttribute(L"autonavi", L"true");
    std::wstring home = ServerUrl(L"/game.html?home=1");
    browser->SetHomePage(home.c_str());
    browser->SetWebBrowserEventHandler(&handler);
    auto* root = new CVerticalLayoutUI;
    root->Add(browser);
    window.Attach(root);
    ASSERT_GE(handler.before.size(), 2u);
    EXPECT_EQ(handler.before[0], L"about:blank");
    EXPECT_EQ(handler.before[1], home);
    EXPECT_TRUE(HostWindow::PumpUntil([&] { return Has(handler.completed, L"home=1"); }, 8000));
}

TEST(BrowserStandin, EveryDocumentGetsTheHostHandlerAndNoScrollBars)
{
    StandinBrowser b;
    ASSERT_TRUE(b.Load(L"/test/tall.html"));
    ASSERT_TRUE(b.Load(L"/game.html"));
    // DocumentComplete styles the body once the page is done.
    bool styled = HostWindow::PumpUntil([&] {
        IDispatch* dispatch = nullptr;
        IWebBrowser2* web = b.browser->GetWebBrowser2();
        if (web == nullptr || FAILED(web->get_Document(&dispatch)) || dispatch == nullptr) return false;
        bool done = false;
        IHTMLDocument2* document = nullptr;
        if (SUCCEEDED(dispatch->QueryInterface(kIidHtmlDocument2, reinterpret_cast<void**>(&document)))) {
            IHTMLElement* body = nullptr;
            if (SUCCEEDED(document->get_body(&body)) && body != nullptr) {
                IHTMLBodyElement* bodyElement = nullptr;
                IHTMLStyle* style = nullptr;
                BSTR scroll = nullptr;
                BSTR overflow = nullptr;
                if (SUCCEEDED(body->QueryInterface(kIidHtmlBodyElement, reinterpret_cast<void**>(&bodyElement)))) {
                    bodyElement->get_scroll(&scroll);
                    bodyElement->Release();
                }
                if (SUCCEEDED(body->get_style(&style)) && style != nullptr) {
                    style->get_overflow(&overflow);
                    style->Release();
                }
                done = scroll != nullptr && std::wstring(scroll) == L"no" && overflow != nullptr &&
                    std::wstring(overflow) == L"hidden";
                ::SysFreeString(scroll);
                ::SysFreeString(overflow);
                body->Release();
            }
            document->Release();
        }
        dispatch->Release();
        return done;
    }, 5000);
    EXPECT_TRUE(styled);

    // The second document answers through the control too: its right-click
    // reaches the handler's context-menu callback.
    HWND view = FindView(b.browser->GetHostWindow());
    ASSERT_NE(view, nullptr);
    ::SendMessageW(view, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 20));
    ::SendMessageW(view, WM_RBUTTONUP, 0, MAKELPARAM(20, 20));
    HostWindow::Pump(30);
    EXPECT_EQ(b.handler.contextMenus, 1);
}

TEST(BrowserStandin, ClickOnALinkNavigates)
{
    StandinBrowser b;
    ASSERT_TRUE(b.Load(L"/test/click.html"));
    HWND view = FindView(b.browser->GetHostWindow());
    ASSERT_NE(view, nullptr);
    ::SendMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    ::SendMessageW(view, WM_LBUTTONUP, 0, MAKELPARAM(50, 50));
    EXPECT_TRUE(HostWindow::PumpUntil([&] { return Has(b.handler.completed, L"/game.html?from=click"); }, 8000));
    EXPECT_TRUE(Has(b.handler.before, L"/game.html?from=click"));
}

TEST(BrowserStandin, ScriptErrorIsAnsweredWithoutADialog)
{
    StandinBrowser b;
    TestSupport::MessageBoxAnswerer answerer(IDOK, 1500);
    ASSERT_TRUE(b.Load(L"/test/script.html"));
    HostWindow::Pump(100);
    EXPECT_FALSE(answerer.Answered()) << "a script-error box appeared: " << std::string(answerer.Text().begin(), answerer.Text().end());
}

TEST(BrowserStandin, RemovedAndDestroyedWhileLoading)
{
    StandinBrowser b;
    std::wstring slow = ServerUrl(L"/slow?ms=1500");
    b.browser->Navigate2(slow.c_str());
    HostWindow::Pump(50);
    auto* root = static_cast<CContainerUI*>(b.window.Manager().GetRoot());
    ASSERT_TRUE(root->Remove(b.browser));
    b.browser = nullptr;
    b.handler.browser = nullptr;
    // The answer arrives after the control is gone.
    HostWindow::Pump(2000);
    EXPECT_EQ(root->GetCount(), 0);
}
