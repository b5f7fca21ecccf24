// The code-only browser control over the stand-in browser: its own event
// sink, the finished-page notification and its release.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/VerticalLayoutUI.h"
#include "hosting/WebBrowser2UI.h"
#include "HostingWindow.h"
#include "StandinSupport.h"

using namespace Veneer;
using HostingTest::EventConnections;
using HostingTest::HostWindow;
using HostingTest::ReadBodyLook;
using HostingTest::ServerUrl;

namespace {

struct FinishedPage {
    std::string address;
    LPARAM error { 0 };
    CControlUI* sender { nullptr };
};

class FinishedPages : public INotifyUI {
public:
    void Notify(TNotifyUI& msg) override
    {
        if (msg.sType != L"HTML_COMPLETE") return;
        FinishedPage page;
        // The address is only valid during the notification.
        if (msg.wParam != 0) page.address = reinterpret_cast<const char*>(msg.wParam);
        page.error = msg.lParam;
        page.sender = msg.pSender;
        pages.push_back(page);
    }

    bool Has(const std::string& part) const
    {
        for (const auto& page : pages) {
            if (page.address.find(part) != std::string::npos) return true;
        }
        return false;
    }

    std::vector<FinishedPage> pages;
};

struct CodeOnly {
    HostingTest::OleScope ole;
    HostWindow window { 400, 300 };
    CVerticalLayoutUI* root { new CVerticalLayoutUI };
    CWebBrowser2UI* browser { new CWebBrowser2UI };
    FinishedPages finished;

    CodeOnly()
    {
        // The class is fixed; only the module it comes from may differ.
        std::wstring module = HostingTest::StandinModule();
        browser->SetModuleName(module.c_str());
        root->Add(browser);
        window.Manager().AddNotifier(&finished);
    }
    ~CodeOnly() { window.Manager().RemoveNotifier(&finished); }

    void Start() { window.Attach(root); }

    bool WaitFor(const std::string& part, size_t count = 1)
    {
        return HostWindow::PumpUntil([&] {
            size_t seen = 0;
            for (const auto& page : finished.pages) {
                if (page.address.find(part) != std::string::npos) ++seen;
            }
            return seen >= count;
        }, 8000);
    }

    static std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }
};

}  // namespace

TEST(CodeOnlyBrowser, FinishedPagesAreReportedWithTheirErrorFlag)
{
    CodeOnly c;
    const std::wstring start = ServerUrl(L"/game.html?start=1");
    c.browser->SetAttribute(L"url", start.c_str());
    c.Start();
    ASSERT_NE(c.browser->GetWebBrowser2(), nullptr);
    EXPECT_EQ(EventConnections(c.browser->GetWebBrowser2()), 1) << "the sink is the one connection";

    ASSERT_TRUE(c.WaitFor("start=1"));
    ASSERT_FALSE(c.finished.pages.empty());
    EXPECT_EQ(c.finished.pages.front().address, CodeOnly::Narrow(start)) << "the blank page is not reported";
    EXPECT_EQ(c.finished.pages.front().error, 0);
    EXPECT_EQ(c.finished.pages.front().sender, c.browser);

    c.browser->Navigate2(ServerUrl(L"/status/404").c_str());
    ASSERT_TRUE(c.WaitFor("/status/404"));
    EXPECT_EQ(c.finished.pages.back().error, 1) << "an error on the way is flagged";

    c.browser->Navigate2(ServerUrl(L"/game.html?after=1").c_str());
    ASSERT_TRUE(c.WaitFor("after=1"));
    EXPECT_EQ(c.finished.pages.back().error, 0) << "the flag goes with the page that had it";

    c.browser->Navigate2();  // the start address again
    EXPECT_TRUE(c.WaitFor("start=1", 2));
    c.browser->Navigate2(L"");
    HostWindow::Pump(50);
    EXPECT_EQ(c.finished.pages.size(), 4u);
}

TEST(CodeOnlyBrowser, FinishedDocumentLosesBorderAndScrollBarUnlessKept)
{
    CodeOnly plain;
    plain.browser->SetAttribute(L"url", ServerUrl(L"/test/tall.html").c_str());
    plain.Start();
    ASSERT_TRUE(plain.WaitFor("tall.html"));
    HostingTest::BodyLook look = ReadBodyLook(plain.browser->GetWebBrowser2());
    ASSERT_TRUE(look.read);
    EXPECT_EQ(look.scroll, L"none");
    EXPECT_EQ(look.overflow, L"hidden");
    EXPECT_EQ(look.border, L"none");

    CodeOnly kept;
    kept.browser->SetAttribute(L"url", ServerUrl(L"/test/tall.html").c_str());
    kept.browser->SetAttribute(L"boder", L"true");
    kept.browser->SetAttribute(L"scrollbar", L"true");
    kept.Start();
    ASSERT_TRUE(kept.WaitFor("tall.html"));
    look = ReadBodyLook(kept.browser->GetWebBrowser2());
    ASSERT_TRUE(look.read);
    EXPECT_EQ(look.scroll, L"");
    EXPECT_EQ(look.overflow, L"");
    EXPECT_EQ(look.border, L"");
}

TEST(CodeOnlyBrowser, SinkInstallsTheHostHandlerThatAnswersScriptErrors)
{
    {
        CodeOnly c;
        c.browser->SetAttribute(L"url", ServerUrl(L"/test/script.html").c_str());
        TestSupport::MessageBoxAnswerer answerer(IDOK, 1500);
        c.Start();
        ASSERT_TRUE(c.WaitFor("script.html"));
        HostWindow::Pump(100);
        EXPECT_FALSE(answerer.Answered()) << "a script-error box appeared";
    }
    // Without the sink nothing answers the page, and it reports the error
    // itself; nothing is reported to the window either.
    CodeOnly bare;
    bare.browser->SetAttribute(L"url", ServerUrl(L"/test/script.html").c_str());
    bare.browser->SetAttribute(L"autosink", L"false");
    TestSupport::MessageBoxAnswerer answerer(IDOK, 8000);
    bare.Start();
    EXPECT_EQ(EventConnections(bare.browser->GetWebBrowser2()), 0);
    EXPECT_TRUE(HostWindow::PumpUntil([&] { return answerer.Answered(); }, 8000));
    HostWindow::Pump(50);
    EXPECT_TRUE(bare.finished.pages.empty());
}

TEST(CodeOnlyBrowser, DestroyedControlDisconnectsItsSink)
{
    CodeOnly c;
    c.browser->SetAttribute(L"url", ServerUrl(L"/game.html").c_str());
    c.Start();
    ASSERT_TRUE(c.WaitFor("/game.html"));
    IWebBrowser2* kept = c.browser->GetWebBrowser2();
    ASSERT_NE(kept, nullptr);
    kept->AddRef();
    ASSERT_EQ(EventConnections(kept), 1);

    // Gone in the middle of a load: the late answer finds no sink.
    c.browser->Navigate2(ServerUrl(L"/slow?ms=300").c_str());
    HostWindow::Pump(20);
    ASSERT_TRUE(c.root->Remove(c.browser));
    c.browser = nullptr;
    HostWindow::Pump(500);
    EXPECT_EQ(EventConnections(kept), 0);
    const size_t reported = c.finished.pages.size();

    // The object outlives the control here; its events go nowhere.
    VARIANT url;
    ::VariantInit(&url);
    url.vt = VT_BSTR;
    url.bstrVal = ::SysAllocString(ServerUrl(L"/game.html?late=1").c_str());
    kept->Navigate2(&url, nullptr, nullptr, nullptr, nullptr);
    ::VariantClear(&url);
    HostWindow::Pump(300);
    EXPECT_EQ(c.finished.pages.size(), reported);
    kept->Release();
}
