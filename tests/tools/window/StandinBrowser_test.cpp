// The stand-in web browser object, driven as a plain Win32 + COM host
// would drive the platform's browser: created by class id, embedded and
// activated in place, its events received through a connection point.
// Pages come from the demo server started by the test fixture.
#include <windows.h>
#include <exdisp.h>
#include <exdispid.h>
#include <mshtml.h>
#include <mshtmhst.h>
#include <ocidl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace {

const CLSID kClsidWebBrowser = { 0x8856F961, 0x340A, 0x11D0, { 0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2 } };
const IID kIidICustomDoc = { 0x3050F3F0, 0x98B5, 0x11CF, { 0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B } };
const GUID kCgidDocHostCommandHandler = { 0xF38BC242, 0xB950, 0x11D1, { 0x89, 0x18, 0x00, 0xC0, 0x4F, 0xC2, 0xC8, 0x36 } };
const int kWidth = 640;
const int kHeight = 480;

std::string ReadText(const std::wstring& path)
{
    std::vector<unsigned char> bytes = TestSupport::ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

std::wstring ServerUrl(const std::wstring& path)
{
    std::string port = ReadText(TestSupport::BuildPath(L"demo-server/port"));
    while (!port.empty() && (port.back() == '\n' || port.back() == '\r')) {
        port.pop_back();
    }
    return L"http://127.0.0.1:" + std::wstring(port.begin(), port.end()) + path;
}

std::string RequestLog() { return ReadText(TestSupport::BuildPath(L"demo-server/requests.log")); }

size_t Count(const std::string& text, const std::string& what)
{
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 8000)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done()) {
            return true;
        }
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

std::wstring Text(const VARIANT* v)
{
    while (v && V_VT(v) == (VT_BYREF | VT_VARIANT)) {
        v = V_VARIANTREF(v);
    }
    if (v && V_VT(v) == VT_BSTR && V_BSTR(v)) {
        return V_BSTR(v);
    }
    return std::wstring();
}

struct Event {
    DISPID id;
    std::wstring url;
    LONG status;
};

// The page host's UI handler, installed through ICustomDoc.
class UiHandler : public IDocHostUIHandler, public IOleCommandTarget {
public:
    DWORD hostFlags { DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO };
    HRESULT keyAnswer { S_FALSE };
    int hostInfoCalls { 0 };
    int contextMenuCalls { 0 };
    DWORD contextMenuId { 0xFFFF };
    int keyCalls { 0 };
    int scriptErrors { 0 };
    LONG errorLine { -1 };
    std::wstring errorMessage;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDocHostUIHandler)) {
            *out = static_cast<IDocHostUIHandler*>(this);
        } else if (IsEqualIID(iid, IID_IOleCommandTarget)) {
            *out = static_cast<IOleCommandTarget*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE ShowContextMenu(DWORD id, POINT*, IUnknown*, IDispatch*) override
    {
        ++contextMenuCalls;
        contextMenuId = id;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetHostInfo(DOCHOSTUIINFO* info) override
    {
        ++hostInfoCalls;
        info->dwFlags |= hostFlags;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                                     IOleInPlaceUIWindow*) override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE HideUI() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE UpdateUI() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, const GUID*, DWORD) override
    {
        ++keyCalls;
        return keyAnswer;
    }
    HRESULT STDMETHODCALLTYPE GetOptionKeyPath(LPOLESTR*, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDropTarget(IDropTarget*, IDropTarget**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetExternal(IDispatch** out) override
    {
        *out = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE TranslateUrl(DWORD, LPWSTR, LPWSTR* out) override
    {
        *out = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE FilterDataObject(IDataObject*, IDataObject** out) override
    {
        *out = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE QueryStatus(const GUID*, ULONG, OLECMD*, OLECMDTEXT*) override
    {
        return OLECMDERR_E_NOTSUPPORTED;
    }
    // The script-error report: read the error through the window's event object.
    HRESULT STDMETHODCALLTYPE Exec(const GUID* group, DWORD id, DWORD, VARIANT* in, VARIANT* out) override
    {
        if (!group || !IsEqualGUID(*group, kCgidDocHostCommandHandler) || id != OLECMDID_SHOWSCRIPTERROR) {
            return OLECMDERR_E_NOTSUPPORTED;
        }
        ++scriptErrors;
        IHTMLDocument2* document = nullptr;
        if (in && V_VT(in) == VT_UNKNOWN && V_UNKNOWN(in) &&
            SUCCEEDED(V_UNKNOWN(in)->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&document)))) {
            IHTMLWindow2* window = nullptr;
            if (SUCCEEDED(document->get_parentWindow(&window)) && window) {
                IHTMLEventObj* event = nullptr;
                if (SUCCEEDED(window->get_event(&event)) && event) {
                    errorLine = ReadLong(event, L"errorLine");
                    errorMessage = ReadText(event, L"errorMessage");
                    event->Release();
                }
                window->Release();
            }
            document->Release();
        }
        if (out) {
            V_VT(out) = VT_BOOL;
            V_BOOL(out) = VARIANT_TRUE;
        }
        return S_OK;
    }

private:
    static bool Read(IDispatch* object, const wchar_t* name, VARIANT* value)
    {
        DISPID id = DISPID_UNKNOWN;
        LPOLESTR names[] = { const_cast<LPOLESTR>(name) };
        if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, 0x800, &id))) {
            return false;
        }
        DISPPARAMS none {};
        return SUCCEEDED(object->Invoke(id, IID_NULL, 0x800, DISPATCH_PROPERTYGET, &none, value, nullptr, nullptr));
    }
    static LONG ReadLong(IDispatch* object, const wchar_t* name)
    {
        VARIANT v;
        VariantInit(&v);
        LONG value = -1;
        if (Read(object, name, &v) && V_VT(&v) == VT_I4) {
            value = V_I4(&v);
        }
        VariantClear(&v);
        return value;
    }
    static std::wstring ReadText(IDispatch* object, const wchar_t* name)
    {
        VARIANT v;
        VariantInit(&v);
        std::wstring value;
        if (Read(object, name, &v)) {
            value = Text(&v);
        }
        VariantClear(&v);
        return value;
    }
};

// A container window with a client site and an event sink for one browser.
class Host : public IOleClientSite, public IOleInPlaceSite, public IDispatch {
public:
    std::vector<Event> events;
    std::wstring cancelIfContains;    // BeforeNavigate2 cancels addresses containing this
    bool cancelErrors { false };
    bool cancelNewWindows { true };
    UiHandler* handlerToInstall { nullptr };

    Host()
    {
        WNDCLASSW wc {};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"StandinTestHost";
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        RegisterClassW(&wc);
        m_window = CreateWindowExW(0, L"StandinTestHost", L"host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                   kWidth, kHeight, nullptr, nullptr, wc.hInstance, nullptr);
    }

    ~Host()
    {
        Destroy();
        if (m_window) {
            DestroyWindow(m_window);
        }
    }

    bool Create()
    {
        if (FAILED(CoCreateInstance(kClsidWebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                    reinterpret_cast<void**>(&m_object)))) {
            return false;
        }
        m_object->SetClientSite(this);
        RECT rect { 0, 0, kWidth, kHeight };
        if (FAILED(m_object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, m_window, &rect))) {
            return false;
        }
        if (FAILED(m_object->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&m_browser)))) {
            return false;
        }
        IConnectionPointContainer* container = nullptr;
        if (FAILED(m_object->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)))) {
            return false;
        }
        HRESULT hr = container->FindConnectionPoint(DIID_DWebBrowserEvents2, &m_point);
        container->Release();
        return SUCCEEDED(hr) && SUCCEEDED(m_point->Advise(static_cast<IDispatch*>(this), &m_cookie));
    }

    void Destroy()
    {
        if (m_point) {
            m_point->Unadvise(m_cookie);
            m_point->Release();
            m_point = nullptr;
        }
        if (m_browser) {
            m_browser->Release();
            m_browser = nullptr;
        }
        if (m_object) {
            m_object->Close(OLECLOSE_NOSAVE);
            m_object->SetClientSite(nullptr);
            m_object->Release();
            m_object = nullptr;
        }
    }

    IWebBrowser2* Browser() const { return m_browser; }

    HWND View() const
    {
        HWND view = nullptr;
        IOleWindow* window = nullptr;
        if (m_object && SUCCEEDED(m_object->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&window)))) {
            window->GetWindow(&view);
            window->Release();
        }
        return view;
    }

    void Navigate(const std::wstring& url)
    {
        VARIANT v;
        VariantInit(&v);
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = SysAllocString(url.c_str());
        m_browser->Navigate2(&v, nullptr, nullptr, nullptr, nullptr);
        VariantClear(&v);
    }

    size_t CountOf(DISPID id, const std::wstring& urlPart = L"") const
    {
        size_t count = 0;
        for (const auto& e : events) {
            if (e.id == id && e.url.find(urlPart) != std::wstring::npos) {
                ++count;
            }
        }
        return count;
    }

    bool WaitFor(DISPID id, const std::wstring& urlPart, DWORD timeoutMs = 8000)
    {
        return PumpUntil([&] { return CountOf(id, urlPart) > 0; }, timeoutMs);
    }

    int IndexOf(DISPID id, const std::wstring& urlPart) const
    {
        for (size_t i = 0; i < events.size(); ++i) {
            if (events[i].id == id && events[i].url.find(urlPart) != std::wstring::npos) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    std::wstring Title() const
    {
        std::wstring title = L"<no document>";
        IDispatch* dispatch = nullptr;
        if (SUCCEEDED(m_browser->get_Document(&dispatch)) && dispatch) {
            IHTMLDocument2* document = nullptr;
            if (SUCCEEDED(dispatch->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&document)))) {
                BSTR text = nullptr;
                if (SUCCEEDED(document->get_title(&text))) {
                    title = text ? text : L"";
                    SysFreeString(text);
                }
                document->Release();
            }
            dispatch->Release();
        }
        return title;
    }

    // Clicks in the view, in view coordinates.
    void Click(int x, int y, bool right = false)
    {
        HWND view = View();
        LPARAM at = MAKELPARAM(x, y);
        SendMessageW(view, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON, at);
        SendMessageW(view, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, at);
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite)) {
            *out = static_cast<IOleClientSite*>(this);
        } else if (IsEqualIID(iid, IID_IOleInPlaceSite) || IsEqualIID(iid, IID_IOleWindow)) {
            *out = static_cast<IOleInPlaceSite*>(this);
        } else if (IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, DIID_DWebBrowserEvents2)) {
            *out = static_cast<IDispatch*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** out) override
    {
        *out = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }
    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override
    {
        *out = m_window;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                               LPRECT clip, LPOLEINPLACEFRAMEINFO) override
    {
        *frame = nullptr;
        *doc = nullptr;
        SetRect(pos, 0, 0, kWidth, kHeight);
        SetRect(clip, 0, 0, kWidth, kHeight);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }
    // IDispatch: DWebBrowserEvents2
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) override
    {
        VARIANTARG* a = params->rgvarg;
        UINT n = params->cArgs;
        Event event { id, L"", 0 };
        switch (id) {
        case DISPID_BEFORENAVIGATE2:
            if (n == 7 && V_VT(&a[5]) == (VT_BYREF | VT_VARIANT) && V_VT(&a[0]) == (VT_BYREF | VT_BOOL) &&
                V_VT(&a[6]) == VT_DISPATCH) {
                event.url = Text(&a[5]);
                if (!cancelIfContains.empty() && event.url.find(cancelIfContains) != std::wstring::npos) {
                    *V_BOOLREF(&a[0]) = VARIANT_TRUE;
                }
            }
            break;
        case DISPID_NAVIGATECOMPLETE2:
        case DISPID_DOCUMENTCOMPLETE:
            if (n == 2 && V_VT(&a[1]) == VT_DISPATCH && V_VT(&a[0]) == (VT_BYREF | VT_VARIANT)) {
                event.url = Text(&a[0]);
            }
            if (id == DISPID_NAVIGATECOMPLETE2 && handlerToInstall) {
                InstallHandler();
            }
            break;
        case DISPID_NAVIGATEERROR:
            if (n == 5 && V_VT(&a[0]) == (VT_BYREF | VT_BOOL)) {
                event.url = Text(&a[3]);
                const VARIANT* status = V_VARIANTREF(&a[1]);
                event.status = status && V_VT(status) == VT_I4 ? V_I4(status) : -1;
                if (cancelErrors) {
                    *V_BOOLREF(&a[0]) = VARIANT_TRUE;
                }
            }
            break;
        case DISPID_NEWWINDOW3:
            if (n == 5 && V_VT(&a[0]) == VT_BSTR && V_VT(&a[3]) == (VT_BYREF | VT_BOOL)) {
                event.url = V_BSTR(&a[0]) ? V_BSTR(&a[0]) : L"";
                if (cancelNewWindows) {
                    *V_BOOLREF(&a[3]) = VARIANT_TRUE;
                }
            }
            break;
        case DISPID_TITLECHANGE:
            if (n == 1 && V_VT(&a[0]) == VT_BSTR) {
                event.url = V_BSTR(&a[0]) ? V_BSTR(&a[0]) : L"";
            }
            break;
        default:
            break;
        }
        events.push_back(event);
        return S_OK;
    }

private:
    void InstallHandler()
    {
        IDispatch* dispatch = nullptr;
        if (FAILED(m_browser->get_Document(&dispatch)) || !dispatch) {
            return;
        }
        ICustomDoc* custom = nullptr;
        if (SUCCEEDED(dispatch->QueryInterface(kIidICustomDoc, reinterpret_cast<void**>(&custom)))) {
            custom->SetUIHandler(handlerToInstall);
            custom->Release();
        }
        dispatch->Release();
    }

    HWND m_window { nullptr };
    IOleObject* m_object { nullptr };
    IWebBrowser2* m_browser { nullptr };
    IConnectionPoint* m_point { nullptr };
    DWORD m_cookie { 0 };
};

COLORREF ScreenPixel(int x, int y)
{
    HDC screen = GetDC(nullptr);
    COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return colour;
}

class StandinBrowserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        OleInitialize(nullptr);
        ASSERT_TRUE(host.Create()) << "the browser object could not be created and embedded";
    }
    void TearDown() override
    {
        host.Destroy();
        OleUninitialize();
    }
    // Loads a page and waits until it is complete.
    void Load(const std::wstring& path)
    {
        host.events.clear();
        host.Navigate(ServerUrl(path));
        ASSERT_TRUE(host.WaitFor(DISPID_DOCUMENTCOMPLETE, path)) << "no DocumentComplete for " << std::string(path.begin(), path.end());
        TestSupport::PumpMessages(100);
        // To look at a page by eye: STANDIN_TEST_HOLD_MS=3000 keeps each loaded page up that long.
        if (const char* hold = getenv("STANDIN_TEST_HOLD_MS")) {
            TestSupport::PumpMessages(static_cast<DWORD>(atoi(hold)));
        }
    }

    UiHandler handler;  // outlives the browser, which holds it
    Host host;
};

TEST_F(StandinBrowserTest, NavigationRaisesEventsInOrderAndShowsTheTitle)
{
    size_t earlier = Count(RequestLog(), "GET /game.html?client=pc\n");
    Load(L"/game.html?client=pc");
    int before = host.IndexOf(DISPID_BEFORENAVIGATE2, L"/game.html?client=pc");
    int complete = host.IndexOf(DISPID_NAVIGATECOMPLETE2, L"/game.html?client=pc");
    int document = host.IndexOf(DISPID_DOCUMENTCOMPLETE, L"/game.html?client=pc");
    ASSERT_GE(before, 0);
    EXPECT_LT(before, complete);
    EXPECT_LT(complete, document);
    EXPECT_EQ(L"Tarrowin", host.Title());
    EXPECT_EQ(1u, host.CountOf(DISPID_TITLECHANGE, L"Tarrowin"));
    EXPECT_EQ(earlier + 1, Count(RequestLog(), "GET /game.html?client=pc\n"));
    BSTR location = nullptr;
    ASSERT_EQ(S_OK, host.Browser()->get_LocationURL(&location));
    EXPECT_EQ(ServerUrl(L"/game.html?client=pc"), std::wstring(location));
    SysFreeString(location);

    // Late-bound callers reach the same properties through IDispatch.
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR name[] = { const_cast<LPOLESTR>(L"LocationName") };
    ASSERT_EQ(S_OK, host.Browser()->GetIDsOfNames(IID_NULL, name, 1, 0x800, &id));
    DISPPARAMS none {};
    VARIANT value;
    VariantInit(&value);
    ASSERT_EQ(S_OK, host.Browser()->Invoke(id, IID_NULL, 0x800, DISPATCH_PROPERTYGET, &none, &value, nullptr, nullptr));
    EXPECT_EQ(L"Tarrowin", Text(&value));
    VariantClear(&value);

    Load(L"/game-notitle.html");
    EXPECT_EQ(L"", host.Title());
}

TEST_F(StandinBrowserTest, CancelledNavigationNeverReachesTheServer)
{
    host.cancelIfContains = L"client=pc";
    host.Navigate(ServerUrl(L"/game.html?client=pc&cancelled=1"));
    EXPECT_EQ(1u, host.CountOf(DISPID_BEFORENAVIGATE2, L"cancelled=1"));  // raised inside Navigate2
    TestSupport::PumpMessages(400);
    EXPECT_EQ(0u, host.CountOf(DISPID_NAVIGATECOMPLETE2));
    EXPECT_EQ(0u, Count(RequestLog(), "cancelled=1"));

    // The browser stays usable after a cancel.
    Load(L"/service.html");
    EXPECT_EQ(L"Customer service", host.Title());
}

TEST_F(StandinBrowserTest, LinksFormsAndNewWindowsFollowClicks)
{
    Load(L"/test/click.html");
    host.events.clear();
    host.Click(50, 50);
    ASSERT_TRUE(host.WaitFor(DISPID_DOCUMENTCOMPLETE, L"/game.html?from=click"));
    EXPECT_EQ(1u, host.CountOf(DISPID_BEFORENAVIGATE2, L"/game.html?from=click"));

    Load(L"/test/click.html");
    host.Click(50, 220);  // the submit button posts the form
    ASSERT_TRUE(host.WaitFor(DISPID_DOCUMENTCOMPLETE, L"/test/posted.html"));
    EXPECT_GE(Count(RequestLog(), "POST /test/posted.html who=tester\n"), 1u);

    Load(L"/test/click.html");
    host.Click(50, 270);  // target="_blank": the host is asked, and cancels
    EXPECT_EQ(1u, host.CountOf(DISPID_NEWWINDOW3, L"/service.html"));
    EXPECT_EQ(0u, host.CountOf(DISPID_BEFORENAVIGATE2, L"/service.html"));

    host.cancelNewWindows = false;  // left to the browser: it opens a window of its own
    size_t opened = Count(RequestLog(), "GET /service.html\n");
    Load(L"/test/click.html");
    host.Click(50, 270);
    HWND popup = nullptr;
    EXPECT_TRUE(PumpUntil([&] {
        popup = FindWindowW(L"StandinBrowserFrame", nullptr);
        return popup && Count(RequestLog(), "GET /service.html\n") > opened;
    }));
    if (popup) {
        PostMessageW(popup, WM_CLOSE, 0, 0);
        EXPECT_TRUE(PumpUntil([&] { return !IsWindow(popup); }));
    }

    Load(L"/test/refresh.html");  // meta refresh moves on by itself
    EXPECT_TRUE(host.WaitFor(DISPID_DOCUMENTCOMPLETE, L"/game.html?from=refresh"));
}

TEST_F(StandinBrowserTest, PureGreenStaysPureOnScreen)
{
    Load(L"/login.html");
    HWND view = host.View();
    ASSERT_NE(nullptr, view);
    TestSupport::PumpMessages(200);
    POINT p { 20, 20 };  // the top strip of the login page is the colour key
    ClientToScreen(view, &p);
    EXPECT_EQ(RGB(0, 255, 0), ScreenPixel(p.x, p.y));
    // The white panel below it is not green.
    POINT panel { 130, 70 };
    ClientToScreen(view, &panel);
    EXPECT_EQ(RGB(255, 255, 255), ScreenPixel(panel.x, panel.y));

    Load(L"/test/image.html");  // a decoded image lands on screen
    POINT image { 10, 10 };
    ClientToScreen(view, &image);
    EXPECT_EQ(RGB(255, 0, 0), ScreenPixel(image.x, image.y));
}

TEST_F(StandinBrowserTest, DocumentUIHandlerIsConsulted)
{
    Load(L"/test/click.html");
    HWND view = host.View();
    // Without a host handler the page has the platform's sunken border.
    POINT corner { 0, 0 };
    ClientToScreen(view, &corner);
    EXPECT_NE(RGB(0, 0, 255), ScreenPixel(corner.x, corner.y));

    host.handlerToInstall = &handler;
    Load(L"/test/click.html");
    EXPECT_GE(handler.hostInfoCalls, 1);
    TestSupport::PumpMessages(100);
    EXPECT_EQ(RGB(0, 0, 255), ScreenPixel(corner.x, corner.y)) << "DOCHOSTUIFLAG_NO3DBORDER keeps the border away";

    host.Click(50, 50, true);
    EXPECT_EQ(1, handler.contextMenuCalls);
    EXPECT_EQ(static_cast<DWORD>(CONTEXT_MENU_ANCHOR), handler.contextMenuId);

    IOleInPlaceActiveObject* active = nullptr;
    ASSERT_EQ(S_OK, host.Browser()->QueryInterface(IID_IOleInPlaceActiveObject, reinterpret_cast<void**>(&active)));
    MSG f5 { view, WM_KEYDOWN, VK_F5, 0, 0, { 0, 0 } };
    handler.keyAnswer = S_OK;  // the host takes the key: no reload
    size_t requests = Count(RequestLog(), "GET /test/click.html\n");
    EXPECT_EQ(S_OK, active->TranslateAccelerator(&f5));
    EXPECT_EQ(1, handler.keyCalls);
    TestSupport::PumpMessages(300);
    EXPECT_EQ(requests, Count(RequestLog(), "GET /test/click.html\n"));
    handler.keyAnswer = S_FALSE;  // the browser's own F5 reloads the page
    EXPECT_EQ(S_OK, active->TranslateAccelerator(&f5));
    EXPECT_TRUE(PumpUntil([&] { return Count(RequestLog(), "GET /test/click.html\n") == requests + 1; }));
    MSG plain { view, WM_KEYDOWN, 'A', 0, 0, { 0, 0 } };
    EXPECT_EQ(S_FALSE, active->TranslateAccelerator(&plain));
    active->Release();
}

TEST_F(StandinBrowserTest, ScriptErrorsGoToTheHostCommandTarget)
{
    host.handlerToInstall = &handler;
    Load(L"/test/script.html");
    EXPECT_EQ(1, handler.scriptErrors);
    EXPECT_EQ(6, handler.errorLine);
    EXPECT_FALSE(handler.errorMessage.empty());
}

TEST_F(StandinBrowserTest, BodySettingsRemoveScrollBarAndBorder)
{
    Load(L"/test/tall.html");
    HWND view = host.View();
    EXPECT_NE(0, GetWindowLongPtrW(view, GWL_STYLE) & WS_VSCROLL);

    IDispatch* dispatch = nullptr;
    ASSERT_EQ(S_OK, host.Browser()->get_Document(&dispatch));
    IHTMLDocument2* document = nullptr;
    ASSERT_EQ(S_OK, dispatch->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&document)));
    IHTMLElement* body = nullptr;
    ASSERT_EQ(S_OK, document->get_body(&body));
    IHTMLBodyElement* bodyElement = nullptr;
    ASSERT_EQ(S_OK, body->QueryInterface(IID_IHTMLBodyElement, reinterpret_cast<void**>(&bodyElement)));
    BSTR no = SysAllocString(L"no");
    EXPECT_EQ(S_OK, bodyElement->put_scroll(no));
    IHTMLStyle* style = nullptr;
    ASSERT_EQ(S_OK, body->get_style(&style));
    BSTR none = SysAllocString(L"none");
    EXPECT_EQ(S_OK, style->put_border(none));
    TestSupport::PumpMessages(100);
    EXPECT_EQ(0, GetWindowLongPtrW(view, GWL_STYLE) & WS_VSCROLL);
    POINT corner { 0, 0 };
    ClientToScreen(view, &corner);
    EXPECT_EQ(RGB(0, 255, 0), ScreenPixel(corner.x, corner.y));
    SysFreeString(no);
    SysFreeString(none);
    style->Release();
    bodyElement->Release();
    body->Release();
    document->Release();
    dispatch->Release();
}

TEST_F(StandinBrowserTest, HttpErrorsRaiseNavigateError)
{
    host.cancelErrors = true;
    host.Navigate(ServerUrl(L"/status/404"));
    ASSERT_TRUE(host.WaitFor(DISPID_NAVIGATEERROR, L"/status/404"));
    EXPECT_EQ(404, host.events[static_cast<size_t>(host.IndexOf(DISPID_NAVIGATEERROR, L"/status/404"))].status);
    TestSupport::PumpMessages(200);
    EXPECT_EQ(0u, host.CountOf(DISPID_NAVIGATECOMPLETE2));
}

TEST(TestUrlHandler, ShellExecuteOfAnAddressIsLogged)
{
    std::wstring url = L"http://127.0.0.1:9/opened-by-test?n=" + std::to_wstring(GetTickCount());
    HINSTANCE result = ShellExecuteW(nullptr, L"open", url.c_str(), nullptr, nullptr, SW_SHOW);
    EXPECT_GT(reinterpret_cast<INT_PTR>(result), 32);
    std::string wanted(url.begin(), url.end());
    EXPECT_TRUE(PumpUntil([&] {
        return ReadText(TestSupport::BuildPath(L"test-url-handler/opened.log")).find(wanted + "\n") != std::string::npos;
    }));
}

}  // namespace
