// The browser control's COM faces, driven directly as the browser would.
#include <gtest/gtest.h>

#include <string>

#include "hosting/WebBrowserIds.h"
#include "hosting/WebBrowser2UI.h"
#include "hosting/WebBrowserUI.h"

using namespace Veneer;

namespace {

const GUID kDocHostCommands = { 0xF38BC242, 0xB950, 0x11D1, { 0x89, 0x18, 0x00, 0xC0, 0x4F, 0xC2, 0xC8, 0x36 } };

class CountingHandler : public CWebBrowserEventHandler {
public:
    void BeforeNavigate2(IDispatch* pDisp, VARIANT*& url, VARIANT*&, VARIANT*&, VARIANT*&, VARIANT*&,
        VARIANT_BOOL*& Cancel) override
    {
        ++before;
        lastDispatch = pDisp;
        if (url != nullptr && url->vt == VT_BSTR) lastUrl = url->bstrVal;
        *Cancel = VARIANT_TRUE;
    }
    void NavigateError(IDispatch*, VARIANT*&, VARIANT*&, VARIANT*&, VARIANT_BOOL*&) override { ++errors; }
    void NavigateComplete2(IDispatch*, VARIANT*&, const CStdString& sName) override
    {
        ++completes;
        lastName = sName.GetData();
    }
    void NewWindow3(IDispatch**, VARIANT_BOOL*&, DWORD dwFlags, BSTR, BSTR bstrUrl) override
    {
        ++newWindows;
        lastFlags = dwFlags;
        if (bstrUrl != nullptr) lastUrl = bstrUrl;
    }
    void CommandStateChange(long Command, VARIANT_BOOL Enable) override
    {
        lastCommand = Command;
        lastEnable = Enable;
    }
    HRESULT ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*, IOleInPlaceUIWindow*) override
    {
        throw 1;  // must not reach the browser
    }

    int before { 0 };
    int errors { 0 };
    int completes { 0 };
    int newWindows { 0 };
    DWORD lastFlags { 0 };
    long lastCommand { 0 };
    VARIANT_BOOL lastEnable { VARIANT_FALSE };
    IDispatch* lastDispatch { reinterpret_cast<IDispatch*>(1) };
    std::wstring lastUrl;
    std::wstring lastName;
};

// Arguments in the browser's order, the last one first.
struct Args {
    VARIANT v[7];
    DISPPARAMS params {};
    Args()
    {
        for (VARIANT& item : v) ::VariantInit(&item);
        params.rgvarg = v;
    }
};

HRESULT Fire(CWebBrowserUI& browser, DISPID id, Args& args, UINT count, VARIANT* result = nullptr)
{
    args.params.cArgs = count;
    return static_cast<IDispatch&>(browser).Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &args.params, result,
        nullptr, nullptr);
}

}  // namespace

TEST(WebBrowserFaces, BeforeNavigate2ChecksItsArgumentsBeforeReadingThem)
{
    CWebBrowserUI browser;
    CountingHandler handler;
    browser.SetWebBrowserEventHandler(&handler);
    BSTR address = ::SysAllocString(L"http://example.test/a");
    VARIANT url;
    ::VariantInit(&url);
    url.vt = VT_BSTR;
    url.bstrVal = address;
    VARIANT_BOOL cancel = VARIANT_FALSE;

    Args args;
    args.v[6].vt = VT_DISPATCH;
    args.v[6].pdispVal = nullptr;
    args.v[5].vt = VT_BYREF | VT_VARIANT;
    args.v[5].pvarVal = &url;
    args.v[0].vt = VT_BYREF | VT_BOOL;
    args.v[0].pboolVal = &cancel;

    EXPECT_EQ(Fire(browser, DISPID_BEFORENAVIGATE2, args, 3), S_OK) << "too few arguments";
    EXPECT_EQ(handler.before, 0);
    args.v[0].vt = VT_I4;
    EXPECT_EQ(Fire(browser, DISPID_BEFORENAVIGATE2, args, 7), S_OK) << "cancel flag of the wrong type";
    EXPECT_EQ(handler.before, 0);
    args.v[0].vt = VT_BYREF | VT_BOOL;
    EXPECT_EQ(Fire(browser, DISPID_BEFORENAVIGATE2, args, 7), S_OK);
    EXPECT_EQ(handler.before, 1);
    EXPECT_EQ(handler.lastDispatch, nullptr);
    EXPECT_EQ(handler.lastUrl, L"http://example.test/a");
    EXPECT_EQ(cancel, VARIANT_TRUE) << "the handler's cancel reaches the browser";

    // No parameters at all, or an interface id: nothing is read.
    EXPECT_EQ(static_cast<IDispatch&>(browser).Invoke(DISPID_BEFORENAVIGATE2, IID_NULL, 0, DISPATCH_METHOD,
                  nullptr, nullptr, nullptr, nullptr),
        S_OK);
    EXPECT_EQ(static_cast<IDispatch&>(browser).Invoke(DISPID_BEFORENAVIGATE2, IID_IUnknown, 0, DISPATCH_METHOD,
                  &args.params, nullptr, nullptr, nullptr),
        E_INVALIDARG);
    EXPECT_EQ(handler.before, 1);
    ::SysFreeString(address);
}

TEST(WebBrowserFaces, OtherEventsReachTheHandlerWithCheckedArguments)
{
    CWebBrowserUI browser;
    browser.SetName(L"WebBrowser");
    CountingHandler handler;
    browser.SetWebBrowserEventHandler(&handler);
    VARIANT_BOOL cancel = VARIANT_FALSE;
    Args args;

    // NavigateComplete2: dispatch, address.
    args.v[1].vt = VT_DISPATCH;
    EXPECT_EQ(Fire(browser, DISPID_NAVIGATECOMPLETE2, args, 1), S_OK);
    EXPECT_EQ(handler.completes, 0);
    EXPECT_EQ(Fire(browser, DISPID_NAVIGATECOMPLETE2, args, 2), S_OK);
    EXPECT_EQ(handler.completes, 1);
    EXPECT_EQ(handler.lastName, L"WebBrowser");

    // NavigateError: dispatch, address, frame, status, cancel.
    Args error;
    error.v[4].vt = VT_DISPATCH;
    error.v[0].vt = VT_BYREF | VT_BOOL;
    error.v[0].pboolVal = &cancel;
    EXPECT_EQ(Fire(browser, DISPID_NAVIGATEERROR, error, 4), S_OK);
    EXPECT_EQ(handler.errors, 0);
    EXPECT_EQ(Fire(browser, DISPID_NAVIGATEERROR, error, 5), S_OK);
    EXPECT_EQ(handler.errors, 1);

    // NewWindow3: dispatch out, cancel, flags, context, address.
    IDispatch* created = nullptr;
    BSTR target = ::SysAllocString(L"http://example.test/new");
    Args window;
    window.v[4].vt = VT_DISPATCH;  // not a reference: refused
    window.v[3].vt = VT_BYREF | VT_BOOL;
    window.v[3].pboolVal = &cancel;
    window.v[2].vt = VT_I4;
    window.v[2].lVal = 6;
    window.v[0].vt = VT_BSTR;
    window.v[0].bstrVal = target;
    EXPECT_EQ(Fire(browser, DISPID_NEWWINDOW3, window, 5), S_OK);
    EXPECT_EQ(handler.newWindows, 0);
    window.v[4].vt = VT_BYREF | VT_DISPATCH;
    window.v[4].ppdispVal = &created;
    EXPECT_EQ(Fire(browser, DISPID_NEWWINDOW3, window, 5), S_OK);
    EXPECT_EQ(handler.newWindows, 1);
    EXPECT_EQ(handler.lastFlags, 6u);
    EXPECT_EQ(handler.lastUrl, L"http://example.test/new");
    ::SysFreeString(target);

    // CommandStateChange: command, enabled.
    Args command;
    command.v[1].vt = VT_I4;
    command.v[1].lVal = 2;
    command.v[0].vt = VT_BOOL;
    command.v[0].boolVal = VARIANT_TRUE;
    EXPECT_EQ(Fire(browser, DISPID_COMMANDSTATECHANGE, command, 2), S_OK);
    EXPECT_EQ(handler.lastCommand, 2);
    EXPECT_EQ(handler.lastEnable, VARIANT_TRUE);

    // Without a browser the document steps are skipped.
    EXPECT_EQ(Fire(browser, DISPID_DOCUMENTCOMPLETE, args, 2), S_OK);
    EXPECT_EQ(Fire(browser, DISPID_STATUSTEXTCHANGE, args, 0), S_OK);
    EXPECT_EQ(Fire(browser, DISPID_PROGRESSCHANGE, args, 0), DISP_E_MEMBERNOTFOUND);

    VARIANT result;
    ::VariantInit(&result);
    EXPECT_EQ(Fire(browser, -5512, args, 0, &result), S_OK);
    EXPECT_EQ(result.vt, VT_I4);
    EXPECT_EQ(result.lVal, 0x30);
}

TEST(WebBrowserFaces, ScriptErrorIsAlwaysAnsweredSoNoDialogShows)
{
    CWebBrowserUI browser;
    auto& target = static_cast<IOleCommandTarget&>(browser);
    VARIANT out;
    ::VariantInit(&out);
    EXPECT_EQ(target.Exec(nullptr, 40, 0, nullptr, &out), OLECMDERR_E_UNKNOWNGROUP);
    EXPECT_EQ(target.Exec(&IID_IUnknown, 40, 0, nullptr, &out), OLECMDERR_E_UNKNOWNGROUP);
    EXPECT_EQ(target.Exec(&kDocHostCommands, 41, 0, nullptr, &out), OLECMDERR_E_NOTSUPPORTED);
    EXPECT_EQ(out.vt, VT_EMPTY);

    // No document to read the error from: still answered "keep running".
    EXPECT_EQ(target.Exec(&kDocHostCommands, 40, 0, nullptr, &out), S_OK);
    EXPECT_EQ(out.vt, VT_BOOL);
    EXPECT_EQ(out.boolVal, VARIANT_TRUE);
    VARIANT in;
    ::VariantInit(&in);
    in.vt = VT_I4;
    ::VariantInit(&out);
    EXPECT_EQ(target.Exec(&kDocHostCommands, 40, 0, &in, &out), S_OK);
    EXPECT_EQ(out.boolVal, VARIANT_TRUE);
    EXPECT_EQ(target.QueryStatus(&kDocHostCommands, 0, nullptr, nullptr), OLECMDERR_E_NOTSUPPORTED);
}

TEST(WebBrowserFaces, HostUiAnswersWithAndWithoutHandler)
{
    CWebBrowserUI browser;
    auto& ui = static_cast<IDocHostUIHandler&>(browser);
    EXPECT_EQ(ui.GetHostInfo(nullptr), E_INVALIDARG);
    DOCHOSTUIINFO info = {};
    info.dwFlags = 0x100;
    EXPECT_EQ(ui.GetHostInfo(&info), S_OK);
    EXPECT_EQ(info.dwFlags, 0x100u | 0x4u | 0x8u);
    EXPECT_EQ(info.dwDoubleClick, static_cast<DWORD>(DOCHOSTUIDBLCLK_DEFAULT));

    EXPECT_EQ(ui.ShowContextMenu(0, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(ui.ShowUI(0, nullptr, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(ui.OnFrameWindowActivate(TRUE), E_NOTIMPL);
    EXPECT_EQ(ui.TranslateAccelerator(nullptr, nullptr, 0), S_FALSE);
    IDispatch* external = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(ui.GetExternal(&external), S_FALSE);
    EXPECT_EQ(external, nullptr);
    OLECHAR* translated = reinterpret_cast<OLECHAR*>(1);
    EXPECT_EQ(ui.TranslateUrl(0, nullptr, &translated), E_NOTIMPL);
    EXPECT_EQ(translated, nullptr);

    CountingHandler handler;
    browser.SetWebBrowserEventHandler(&handler);
    EXPECT_EQ(ui.OnFrameWindowActivate(TRUE), S_OK) << "the handler's default";
    EXPECT_EQ(ui.GetExternal(&external), E_NOTIMPL);
    EXPECT_EQ(ui.ShowUI(0, nullptr, nullptr, nullptr, nullptr), S_OK) << "a throwing handler stays inside";
    info.dwFlags = 0;
    EXPECT_EQ(ui.GetHostInfo(&info), S_OK);
    EXPECT_EQ(info.dwFlags, 0xCu) << "the handler is not consulted";
}

TEST(WebBrowserFaces, ControlOperationsWithoutBrowser)
{
    CWebBrowserUI browser;
    EXPECT_STREQ(browser.GetClass(), L"WebBrowserUI");
    EXPECT_EQ(browser.GetInterface(L"WebBrowser"), &browser);
    EXPECT_EQ(browser.GetInterface(L"ActiveX"), static_cast<CActiveXUI*>(&browser));
    EXPECT_TRUE(::IsEqualCLSID(browser.GetClisd(), CLSID_WebBrowserObject));
    EXPECT_TRUE(browser.IsDelayCreate());

    browser.SetAttribute(L"homepage", L"http://example.test/home");
    EXPECT_STREQ(browser.GetHomePage(), L"http://example.test/home");
    browser.SetAttribute(L"autonavi", L"true");
    EXPECT_TRUE(browser.IsAutoNavigation());
    browser.SetAttribute(L"autonavi", L"TRUE");
    EXPECT_FALSE(browser.IsAutoNavigation());
    browser.SetAttribute(L"delaycreate", L"yes");
    EXPECT_FALSE(browser.IsDelayCreate()) << "only exactly \"true\" keeps it on";

    browser.Navigate2(L"http://example.test/");
    browser.Navigate2(nullptr);
    browser.NavigateHomePage();
    browser.Refresh();
    browser.Refresh2(3);
    browser.GoBack();
    EXPECT_EQ(browser.GetWebBrowser2(), nullptr);
    EXPECT_EQ(browser.GetHtmlWindow(), nullptr);

    MSG key = {};
    key.message = WM_KEYDOWN;
    EXPECT_EQ(static_cast<ITranslateAccelerator&>(browser).TranslateAccelerator(&key), E_NOTIMPL);
    key.message = WM_MOUSEMOVE;
    EXPECT_EQ(static_cast<ITranslateAccelerator&>(browser).TranslateAccelerator(&key), S_FALSE);
    EXPECT_EQ(CWebBrowserUI::FindId(nullptr, nullptr), -1);
}

TEST(WebBrowserFaces, CodeOnlyVariantKeepsItsBrowserClass)
{
    CWebBrowser2UI browser;
    browser.SetAttribute(L"clsid", L"{00000000-0000-0000-0000-0000000000AB}");
    EXPECT_TRUE(::IsEqualCLSID(browser.GetClisd(), CLSID_WebBrowserObject));
    browser.SetAttribute(L"modulename", L"other.dll");
    EXPECT_TRUE(browser.GetModuleName().IsEmpty());
    browser.SetAttribute(L"url", L"http://example.test/start");
    EXPECT_STREQ(browser.GetUrl().GetData(), L"http://example.test/start");
    browser.Navigate2();  // no browser yet: nothing
    EXPECT_EQ(browser.GetWebBrowser2(), nullptr);
}

namespace {

// An automation object with one member, "value" (id 7), recording each call.
class RecordingDispatch : public IDispatch {
public:
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr) return E_POINTER;
        *ppv = (riid == IID_IUnknown || riid == IID_IDispatch) ? static_cast<IDispatch*>(this) : nullptr;
        return *ppv != nullptr ? S_OK : E_NOINTERFACE;
    }
    STDMETHOD(GetTypeInfoCount)(UINT* count) override
    {
        if (count != nullptr) *count = 0;
        return S_OK;
    }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override
    {
        locale = lcid;
        if (count != 1 || std::wstring(names[0]) != L"value") return DISP_E_UNKNOWNNAME;
        ids[0] = 7;
        return S_OK;
    }
    STDMETHOD(Invoke)(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
        UINT*) override
    {
        ++invokes;
        lastId = id;
        lastFlags = flags;
        lastArgs = params != nullptr ? params->cArgs : 0;
        lastNamed = params != nullptr ? params->cNamedArgs : 0;
        if (params != nullptr && params->cArgs > 0) firstArg = params->rgvarg[0].lVal;
        if (result != nullptr) {
            result->vt = VT_I4;
            result->lVal = 42;
        }
        return S_OK;
    }

    int invokes { 0 };
    DISPID lastId { 0 };
    WORD lastFlags { 0 };
    UINT lastArgs { 0 };
    UINT lastNamed { 0 };
    LONG firstArg { 0 };
    LCID locale { 0 };
};

}  // namespace

TEST(WebBrowserFaces, AutomationHelpersInvokeByNameAndRefuseMissingArguments)
{
    RecordingDispatch object;
    LPOLESTR value = const_cast<LPOLESTR>(L"value");
    LPOLESTR missing = const_cast<LPOLESTR>(L"missing");
    EXPECT_EQ(CWebBrowserUI::FindId(&object, value), 7);
    EXPECT_EQ(object.locale, 0x800u);
    EXPECT_EQ(CWebBrowserUI::FindId(&object, missing), -1);

    VARIANT result;
    ::VariantInit(&result);
    EXPECT_EQ(CWebBrowserUI::GetProperty(&object, value, &result), S_OK);
    EXPECT_EQ(object.lastFlags, DISPATCH_PROPERTYGET);
    EXPECT_EQ(object.lastArgs, 0u);
    EXPECT_EQ(result.lVal, 42);

    VARIANT arg;
    ::VariantInit(&arg);
    arg.vt = VT_I4;
    arg.lVal = 5;
    EXPECT_EQ(CWebBrowserUI::SetProperty(&object, value, &arg), S_OK);
    EXPECT_EQ(object.lastFlags, DISPATCH_PROPERTYPUT);
    EXPECT_EQ(object.lastArgs, 1u);
    EXPECT_EQ(object.lastNamed, 0u);
    EXPECT_EQ(object.firstArg, 5);
    EXPECT_EQ(CWebBrowserUI::InvokeMethod(&object, value, &result, &arg, 1), S_OK);
    EXPECT_EQ(object.lastFlags, DISPATCH_METHOD);
    EXPECT_EQ(object.lastId, 7);
    EXPECT_EQ(CWebBrowserUI::GetProperty(&object, missing, &result), E_FAIL);

    // Argument counts without arguments never reach the object.
    const int before = object.invokes;
    EXPECT_EQ(CWebBrowserUI::SetProperty(&object, value, nullptr), E_POINTER);
    EXPECT_EQ(CWebBrowserUI::InvokeMethod(&object, value, &result, nullptr, 3), E_POINTER);
    EXPECT_EQ(object.invokes, before);
    EXPECT_EQ(CWebBrowserUI::InvokeMethod(&object, value, &result, nullptr, 0), S_OK);
    EXPECT_EQ(object.lastArgs, 0u);
}

TEST(WebBrowserFaces, DownloadManagerForwardsToTheHandlerAndOutlivesTheControl)
{
    const GUID kDownloadManager = { 0x988934A4, 0x064B, 0x11D3, { 0xBB, 0x80, 0x00, 0x10, 0x4B, 0x35, 0xE7, 0xF9 } };
    class DownloadHandler : public CWebBrowserEventHandler {
    public:
        HRESULT Download(IMoniker*, IBindCtx*, DWORD, LONG, BINDINFO*, LPCOLESTR, LPCOLESTR, UINT) override
        {
            ++downloads;
            return E_ABORT;
        }
        int downloads { 0 };
    } handler;

    auto* browser = new CWebBrowserUI;
    auto& services = static_cast<IServiceProvider&>(*browser);
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(services.QueryService(kDownloadManager, IID_IUnknown, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    IDownloadManager* manager = nullptr;
    ASSERT_EQ(services.QueryService(kDownloadManager, kDownloadManager, reinterpret_cast<void**>(&manager)), S_OK);
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(manager->Download(nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, 0), S_OK) << "no handler";
    browser->SetWebBrowserEventHandler(&handler);
    EXPECT_EQ(manager->Download(nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, 0), E_ABORT);
    EXPECT_EQ(handler.downloads, 1);
    IDocHostUIHandler* ui = nullptr;
    ASSERT_EQ(manager->QueryInterface(IID_DocHostUIHandler, reinterpret_cast<void**>(&ui)), S_OK);
    EXPECT_EQ(ui, static_cast<IDocHostUIHandler*>(browser)) << "the control's other faces while it lives";
    ui->Release();

    // The page may keep it longer than the control lives.
    delete browser;
    EXPECT_EQ(manager->Download(nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, 0), E_UNEXPECTED);
    EXPECT_EQ(handler.downloads, 1);
    EXPECT_EQ(manager->QueryInterface(IID_DocHostUIHandler, reinterpret_cast<void**>(&ui)), E_NOINTERFACE);
    manager->Release();
}
