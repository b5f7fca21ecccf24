#include "WebBrowser.h"

#include "Dispatch.h"
#include "Guids.h"
#include "Module.h"

#include <exdispid.h>
#include <windowsx.h>

#include <algorithm>
#include <new>

namespace Standin {

namespace {

const wchar_t kViewClass[] = L"Internet Explorer_Server";
const wchar_t kNotifyClass[] = L"StandinBrowserNotify";
const wchar_t kFrameClass[] = L"StandinBrowserFrame";
const UINT kFetchedMessage = WM_APP + 1;
const UINT kAboutMessage = WM_APP + 2;
const UINT_PTR kRefreshTimer = 1;
// A page whose server keeps it waiting too long fails, as in a real browser,
// whatever the network library's own time limits do.
const UINT_PTR kNavigationTimer = 2;
const int kLineScroll = 40;
const LONG kNewWindowFlags = 0x2 | 0x4;  // NWMF_USERINITED | NWMF_FIRST

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

bool g_classesRegistered = false;

std::wstring FromBstr(BSTR text)
{
    return text ? std::wstring(text, SysStringLen(text)) : std::wstring();
}

const VARIANT* Deref(const VARIANT* v)
{
    for (int depth = 0; v && depth < 4 && V_VT(v) == (VT_BYREF | VT_VARIANT); ++depth) {
        v = V_VARIANTREF(v);
    }
    return v;
}

std::wstring VariantText(const VARIANT* input)
{
    const VARIANT* v = Deref(input);
    if (!v) {
        return std::wstring();
    }
    if (V_VT(v) == VT_BSTR) {
        return FromBstr(V_BSTR(v));
    }
    if (V_VT(v) == (VT_BYREF | VT_BSTR) && V_BSTRREF(v)) {
        return FromBstr(*V_BSTRREF(v));
    }
    return std::wstring();
}

LONG VariantLong(const VARIANT* input)
{
    const VARIANT* v = Deref(input);
    if (!v || V_VT(v) == VT_EMPTY || V_VT(v) == VT_ERROR) {
        return 0;
    }
    VARIANT copy;
    VariantInit(&copy);
    LONG value = 0;
    if (SUCCEEDED(VariantChangeType(&copy, const_cast<VARIANT*>(v), 0, VT_I4))) {
        value = V_I4(&copy);
    }
    VariantClear(&copy);
    return value;
}

std::string VariantBytes(const VARIANT* input)
{
    const VARIANT* v = Deref(input);
    if (!v) {
        return std::string();
    }
    SAFEARRAY* array = nullptr;
    if (V_VT(v) == (VT_ARRAY | VT_UI1)) {
        array = V_ARRAY(v);
    } else if (V_VT(v) == (VT_BYREF | VT_ARRAY | VT_UI1) && V_ARRAYREF(v)) {
        array = *V_ARRAYREF(v);
    }
    if (!array || SafeArrayGetDim(array) != 1) {
        return std::string();
    }
    LONG lower = 0;
    LONG upper = -1;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    void* data = nullptr;
    std::string bytes;
    if (upper >= lower && SUCCEEDED(SafeArrayAccessData(array, &data))) {
        bytes.assign(static_cast<const char*>(data), static_cast<size_t>(upper - lower + 1));
        SafeArrayUnaccessData(array);
    }
    return bytes;
}

std::wstring EscapeHtml(const std::wstring& text)
{
    std::wstring out;
    for (wchar_t c : text) {
        switch (c) {
        case L'<':
            out += L"&lt;";
            break;
        case L'>':
            out += L"&gt;";
            break;
        case L'&':
            out += L"&amp;";
            break;
        case L'"':
            out += L"&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

bool IsNone(const std::wstring& value)
{
    std::wstring v = ToLower(Trim(value));
    return v.find(L"none") != std::wstring::npos || v == L"0" || v == L"0px";
}

template <class T>
HRESULT OutObject(T** out, T* object)
{
    if (!out) {
        return E_POINTER;
    }
    *out = object;
    if (object) {
        object->AddRef();
    }
    return S_OK;
}

HRESULT OutText(BSTR* out, const std::wstring& text)
{
    if (!out) {
        return E_POINTER;
    }
    *out = MakeBstr(text);
    return S_OK;
}

HRESULT OutBool(VARIANT_BOOL* out, bool value)
{
    if (!out) {
        return E_POINTER;
    }
    *out = value ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

class Variants {
public:
    explicit Variants(size_t count) : m_values(count)
    {
        for (auto& v : m_values) {
            VariantInit(&v);
        }
    }
    ~Variants()
    {
        for (auto& v : m_values) {
            VariantClear(&v);
        }
    }
    Variants(const Variants&) = delete;
    Variants& operator=(const Variants&) = delete;
    VARIANT& operator[](size_t i) { return m_values[i]; }

private:
    std::vector<VARIANT> m_values;
};

void SetText(VARIANT& v, const std::wstring& text)
{
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = MakeBstr(text);
}

void SetRef(VARIANT& v, VARIANT* target)
{
    V_VT(&v) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&v) = target;
}

}  // namespace

// ---- EventPoint

HRESULT EventPoint::QueryInterface(REFIID iid, void** out)
{
    if (!out) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IConnectionPoint)) {
        *out = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG EventPoint::AddRef() { return m_owner.AddRef(); }
ULONG EventPoint::Release() { return m_owner.Release(); }

HRESULT EventPoint::GetConnectionInterface(IID* iid)
{
    if (!iid) {
        return E_POINTER;
    }
    *iid = kIidDWebBrowserEvents2;
    return S_OK;
}

HRESULT EventPoint::GetConnectionPointContainer(IConnectionPointContainer** out)
{
    return OutObject<IConnectionPointContainer>(out, &m_owner);
}

HRESULT EventPoint::Advise(IUnknown* sink, DWORD* cookie)
{
    if (!sink || !cookie) {
        return E_POINTER;
    }
    *cookie = 0;
    ComPtr<IDispatch> dispatch;
    if (FAILED(sink->QueryInterface(kIidDWebBrowserEvents2, dispatch.PutVoid())) &&
        FAILED(sink->QueryInterface(IID_IDispatch, dispatch.PutVoid()))) {
        return CONNECT_E_CANNOTCONNECT;
    }
    Sink entry { m_nextCookie++, dispatch };
    m_sinks.push_back(entry);
    *cookie = entry.cookie;
    return S_OK;
}

HRESULT EventPoint::Unadvise(DWORD cookie)
{
    for (auto it = m_sinks.begin(); it != m_sinks.end(); ++it) {
        if (it->cookie == cookie) {
            ComPtr<IDispatch> keep = it->dispatch;
            m_sinks.erase(it);
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

namespace {

// A snapshot of the connections at the time of the call.
class ConnectionList final : public IEnumConnections {
public:
    explicit ConnectionList(std::vector<CONNECTDATA> items) : m_items(std::move(items)) {}
    ConnectionList(const ConnectionList&) = delete;
    ConnectionList& operator=(const ConnectionList&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out) {
            return E_POINTER;
        }
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IEnumConnections)) {
            *out = static_cast<IEnumConnections*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_ref)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG left = InterlockedDecrement(&m_ref);
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, CONNECTDATA* items, ULONG* fetched) override
    {
        if (fetched) {
            *fetched = 0;
        }
        if (!items || (count > 1 && !fetched)) {
            return E_POINTER;
        }
        ULONG given = 0;
        while (given < count && m_next < m_items.size()) {
            items[given] = m_items[m_next++];
            items[given].pUnk->AddRef();
            ++given;
        }
        if (fetched) {
            *fetched = given;
        }
        return given == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override
    {
        size_t left = m_items.size() - m_next;
        m_next += std::min<size_t>(left, count);
        return count <= left ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        m_next = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumConnections** out) override
    {
        if (!out) {
            return E_POINTER;
        }
        for (const CONNECTDATA& item : m_items) {
            item.pUnk->AddRef();
        }
        auto copy = new (std::nothrow) ConnectionList(m_items);
        if (!copy) {
            for (const CONNECTDATA& item : m_items) {
                item.pUnk->Release();
            }
            *out = nullptr;
            return E_OUTOFMEMORY;
        }
        copy->m_next = m_next;
        *out = copy;
        return S_OK;
    }

private:
    virtual ~ConnectionList()
    {
        for (const CONNECTDATA& item : m_items) {
            item.pUnk->Release();
        }
    }

    LONG m_ref { 1 };
    std::vector<CONNECTDATA> m_items;
    size_t m_next { 0 };
};

}  // namespace

HRESULT EventPoint::EnumConnections(IEnumConnections** out)
{
    if (!out) {
        return E_POINTER;
    }
    std::vector<CONNECTDATA> items;
    for (const auto& sink : m_sinks) {
        CONNECTDATA item {};
        item.pUnk = sink.dispatch.Get();
        item.pUnk->AddRef();
        item.dwCookie = sink.cookie;
        items.push_back(item);
    }
    *out = new (std::nothrow) ConnectionList(items);
    if (!*out) {
        for (const CONNECTDATA& item : items) {
            item.pUnk->Release();
        }
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

std::vector<ComPtr<IDispatch>> EventPoint::Sinks() const
{
    std::vector<ComPtr<IDispatch>> sinks;
    for (const auto& sink : m_sinks) {
        sinks.push_back(sink.dispatch);
    }
    return sinks;
}

// ---- WebBrowser: life

WebBrowser::WebBrowser()
{
    ObjectCreated();
    RegisterClasses();
    m_notify = CreateWindowExW(0, kNotifyClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ModuleInstance(), this);
}

WebBrowser::~WebBrowser()
{
    if (m_notify) {
        MSG msg;
        while (PeekMessageW(&msg, m_notify, kFetchedMessage, kFetchedMessage, PM_REMOVE)) {
            delete reinterpret_cast<FetchResult*>(msg.lParam);
        }
        SetWindowLongPtrW(m_notify, GWLP_USERDATA, 0);
        DestroyWindow(m_notify);
    }
    if (m_view) {
        SetWindowLongPtrW(m_view, GWLP_USERDATA, 0);
        DestroyWindow(m_view);
    }
    if (m_document) {
        m_document->DetachHost();
    }
    m_events.Clear();
    ObjectDestroyed();
}

HRESULT WebBrowser::QueryInterface(REFIID iid, void** out)
{
    if (!out) {
        return E_POINTER;
    }
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IWebBrowser) ||
        IsEqualIID(iid, IID_IWebBrowserApp) || IsEqualIID(iid, IID_IWebBrowser2)) {
        *out = static_cast<IWebBrowser2*>(this);
    } else if (IsEqualIID(iid, IID_IOleObject)) {
        *out = static_cast<IOleObject*>(this);
    } else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceObject)) {
        *out = static_cast<IOleInPlaceObject*>(this);
    } else if (IsEqualIID(iid, IID_IOleInPlaceActiveObject)) {
        *out = static_cast<IOleInPlaceActiveObject*>(this);
    } else if (IsEqualIID(iid, IID_IViewObject) || IsEqualIID(iid, IID_IViewObject2)) {
        *out = static_cast<IViewObject2*>(this);
    } else if (IsEqualIID(iid, IID_IPersist) || IsEqualIID(iid, IID_IPersistStreamInit)) {
        *out = static_cast<IPersistStreamInit*>(this);
    } else if (IsEqualIID(iid, IID_IOleControl)) {
        *out = static_cast<IOleControl*>(this);
    } else if (IsEqualIID(iid, IID_IConnectionPointContainer)) {
        *out = static_cast<IConnectionPointContainer*>(this);
    } else if (IsEqualIID(iid, IID_IProvideClassInfo) || IsEqualIID(iid, IID_IProvideClassInfo2)) {
        *out = static_cast<IProvideClassInfo2*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG WebBrowser::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }

ULONG WebBrowser::Release()
{
    LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0) {
        delete this;
    }
    return static_cast<ULONG>(refs);
}

// ---- IDispatch through the browser type library

HRESULT WebBrowser::GetTypeInfoCount(UINT* count)
{
    if (!count) {
        return E_POINTER;
    }
    *count = 1;
    return S_OK;
}

HRESULT WebBrowser::GetTypeInfo(UINT index, LCID, ITypeInfo** info)
{
    if (index != 0) {
        return DISP_E_BADINDEX;
    }
    return FaceTypeInfo({ &kLibidShDocVw, 1, &IID_IWebBrowser2, SelfDispatch() }, info);
}

HRESULT WebBrowser::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    return FacesGetIDsOfNames({ { &kLibidShDocVw, 1, &IID_IWebBrowser2, SelfDispatch() } }, names, count, ids);
}

HRESULT WebBrowser::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                           EXCEPINFO* exception, UINT* argError)
{
    return FacesInvoke({ { &kLibidShDocVw, 1, &IID_IWebBrowser2, SelfDispatch() } }, id, flags, params, result,
                       exception, argError);
}

// ---- IWebBrowser2

HRESULT WebBrowser::GoBack()
{
    if (m_historyIndex <= 0) {
        return E_FAIL;
    }
    int index = m_historyIndex - 1;
    return BeginNavigation(m_history[static_cast<size_t>(index)], std::string(), std::wstring(), std::wstring(),
                           NavKind::Travel, index, false);
}

HRESULT WebBrowser::GoForward()
{
    if (m_historyIndex < 0 || static_cast<size_t>(m_historyIndex + 1) >= m_history.size()) {
        return E_FAIL;
    }
    int index = m_historyIndex + 1;
    return BeginNavigation(m_history[static_cast<size_t>(index)], std::string(), std::wstring(), std::wstring(),
                           NavKind::Travel, index, false);
}

HRESULT WebBrowser::GoHome()
{
    return BeginNavigation(L"about:blank", std::string(), std::wstring(), std::wstring(), NavKind::Normal, -1, false);
}

HRESULT WebBrowser::Navigate(BSTR url, VARIANT* flags, VARIANT* target, VARIANT* postData, VARIANT* headers)
{
    VARIANT v;
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = url;
    return Navigate2(&v, flags, target, postData, headers);
}

HRESULT WebBrowser::Navigate2(VARIANT* url, VARIANT* flags, VARIANT* target, VARIANT* postData, VARIANT* headers)
{
    std::wstring text = NormaliseTypedUrl(VariantText(url));
    if (text.empty()) {
        return E_INVALIDARG;
    }
    LONG navFlags = VariantLong(flags);
    std::wstring frame = VariantText(target);
    if (navFlags & navOpenInNewWindow) {
        frame = L"_blank";
    }
    return BeginNavigation(text, VariantBytes(postData), VariantText(headers), frame, NavKind::Normal, -1,
                           (navFlags & navNoHistory) != 0);
}

HRESULT WebBrowser::Refresh()
{
    if (m_locationUrl.empty()) {
        return S_OK;
    }
    return BeginNavigation(m_locationUrl, std::string(), std::wstring(), std::wstring(), NavKind::Refresh, -1, true);
}

HRESULT WebBrowser::Refresh2(VARIANT*)
{
    return Refresh();
}

HRESULT WebBrowser::Stop()
{
    KillTimer(m_notify, kRefreshTimer);
    KillTimer(m_notify, kNavigationTimer);
    m_nav.serial = ++m_nextSerial;
    m_imageSerial = 0;
    m_imagesPending = 0;
    if (m_busy) {
        m_busy = false;
        m_readyState = m_document ? READYSTATE_COMPLETE : READYSTATE_UNINITIALIZED;
        Fire(DISPID_DOWNLOADCOMPLETE, nullptr, 0);
    }
    return S_OK;
}

HRESULT WebBrowser::get_Application(IDispatch** out) { return OutObject<IDispatch>(out, SelfDispatch()); }
HRESULT WebBrowser::get_Parent(IDispatch** out) { return OutObject<IDispatch>(out, SelfDispatch()); }
HRESULT WebBrowser::get_Container(IDispatch** out) { return OutObject<IDispatch>(out, nullptr); }

HRESULT WebBrowser::get_Document(IDispatch** out)
{
    if (!out) {
        return E_POINTER;
    }
    *out = nullptr;
    if (!m_document) {
        return S_FALSE;
    }
    *out = static_cast<IHTMLDocument2*>(m_document.Get());
    (*out)->AddRef();
    return S_OK;
}

HRESULT WebBrowser::get_TopLevelContainer(VARIANT_BOOL* out) { return OutBool(out, m_ownFrame != nullptr); }
HRESULT WebBrowser::get_Type(BSTR* out) { return OutText(out, L"HTML Document"); }

HRESULT WebBrowser::get_Width(LONG* out)
{
    if (!out) {
        return E_POINTER;
    }
    RECT r {};
    if (m_view) {
        GetWindowRect(m_view, &r);
    }
    *out = r.right - r.left;
    return S_OK;
}

HRESULT WebBrowser::get_Height(LONG* out)
{
    if (!out) {
        return E_POINTER;
    }
    RECT r {};
    if (m_view) {
        GetWindowRect(m_view, &r);
    }
    *out = r.bottom - r.top;
    return S_OK;
}

HRESULT WebBrowser::get_LocationName(BSTR* out)
{
    std::wstring title = m_document ? m_document->Title() : std::wstring();
    return OutText(out, title.empty() ? m_locationUrl : title);
}

HRESULT WebBrowser::get_LocationURL(BSTR* out) { return OutText(out, m_locationUrl); }
HRESULT WebBrowser::get_Busy(VARIANT_BOOL* out) { return OutBool(out, m_busy); }
HRESULT WebBrowser::get_Name(BSTR* out) { return OutText(out, L"Microsoft Web Browser Control"); }
HRESULT WebBrowser::get_Visible(VARIANT_BOOL* out) { return OutBool(out, m_visible); }

HRESULT WebBrowser::put_Visible(VARIANT_BOOL value)
{
    m_visible = value != VARIANT_FALSE;
    if (m_ownFrame) {
        ShowWindow(m_ownFrame, m_visible ? SW_SHOW : SW_HIDE);
    }
    return S_OK;
}

HRESULT WebBrowser::get_ReadyState(READYSTATE* out)
{
    if (!out) {
        return E_POINTER;
    }
    *out = m_readyState;
    return S_OK;
}

HRESULT WebBrowser::get_Silent(VARIANT_BOOL* out) { return OutBool(out, m_silent); }

HRESULT WebBrowser::put_Silent(VARIANT_BOOL value)
{
    m_silent = value != VARIANT_FALSE;
    return S_OK;
}

HRESULT WebBrowser::get_RegisterAsBrowser(VARIANT_BOOL* out) { return OutBool(out, false); }
HRESULT WebBrowser::put_RegisterAsBrowser(VARIANT_BOOL) { return S_OK; }
HRESULT WebBrowser::get_RegisterAsDropTarget(VARIANT_BOOL* out) { return OutBool(out, false); }
HRESULT WebBrowser::put_RegisterAsDropTarget(VARIANT_BOOL) { return S_OK; }
HRESULT WebBrowser::get_Offline(VARIANT_BOOL* out) { return OutBool(out, false); }
HRESULT WebBrowser::put_Offline(VARIANT_BOOL) { return S_OK; }

HRESULT WebBrowser::QueryStatusWB(OLECMDID command, OLECMDF* status)
{
    if (!status) {
        return E_POINTER;
    }
    if (command == OLECMDID_REFRESH || command == OLECMDID_STOP) {
        *status = static_cast<OLECMDF>(OLECMDF_SUPPORTED | OLECMDF_ENABLED);
        return S_OK;
    }
    *status = static_cast<OLECMDF>(0);
    return OLECMDERR_E_NOTSUPPORTED;
}

HRESULT WebBrowser::ExecWB(OLECMDID command, OLECMDEXECOPT, VARIANT*, VARIANT*)
{
    if (command == OLECMDID_REFRESH) {
        return Refresh();
    }
    if (command == OLECMDID_STOP) {
        return Stop();
    }
    return OLECMDERR_E_NOTSUPPORTED;
}

// ---- IOleObject

HRESULT WebBrowser::SetClientSite(IOleClientSite* site)
{
    m_clientSite.Reset(site);
    return S_OK;
}

HRESULT WebBrowser::GetClientSite(IOleClientSite** site) { return OutObject<IOleClientSite>(site, m_clientSite.Get()); }
HRESULT WebBrowser::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }

HRESULT WebBrowser::Close(DWORD)
{
    ComPtr<IWebBrowser2> keep(this);
    KillTimer(m_notify, kRefreshTimer);
    KillTimer(m_notify, kNavigationTimer);
    m_nav.serial = ++m_nextSerial;
    m_imageSerial = 0;
    m_imagesPending = 0;
    m_busy = false;
    InPlaceDeactivate();
    m_closed = true;
    return S_OK;
}

HRESULT WebBrowser::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }

HRESULT WebBrowser::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    if (moniker) {
        *moniker = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT WebBrowser::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }

HRESULT WebBrowser::GetClipboardData(DWORD, IDataObject** data)
{
    if (data) {
        *data = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT WebBrowser::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT position)
{
    if (site && !m_clientSite) {
        m_clientSite.Reset(site);
    }
    switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_OPEN:
    case OLEIVERB_INPLACEACTIVATE: {
        HRESULT hr = InPlaceActivate(parent, position);
        if (SUCCEEDED(hr) && m_view) {
            ShowWindow(m_view, SW_SHOWNA);
        }
        return hr;
    }
    case OLEIVERB_UIACTIVATE: {
        HRESULT hr = InPlaceActivate(parent, position);
        if (SUCCEEDED(hr)) {
            UIActivate();
        }
        return hr;
    }
    case OLEIVERB_HIDE:
        UIDeactivate();
        if (m_view) {
            ShowWindow(m_view, SW_HIDE);
        }
        return S_OK;
    default:
        return verb < 0 ? E_NOTIMPL : OLEOBJ_S_INVALIDVERB;
    }
}

HRESULT WebBrowser::EnumVerbs(IEnumOLEVERB** verbs)
{
    if (verbs) {
        *verbs = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT WebBrowser::Update() { return S_OK; }
HRESULT WebBrowser::IsUpToDate() { return S_OK; }

HRESULT WebBrowser::GetUserClassID(CLSID* clsid)
{
    if (!clsid) {
        return E_POINTER;
    }
    *clsid = kClsidWebBrowser;
    return S_OK;
}

HRESULT WebBrowser::GetUserType(DWORD, LPOLESTR* type)
{
    if (type) {
        *type = nullptr;
    }
    return OLE_S_USEREG;
}

HRESULT WebBrowser::SetExtent(DWORD, SIZEL* size)
{
    if (!size) {
        return E_POINTER;
    }
    m_extent = *size;
    return S_OK;
}

HRESULT WebBrowser::GetExtent(DWORD, SIZEL* size)
{
    if (!size) {
        return E_POINTER;
    }
    *size = m_extent;
    return S_OK;
}

HRESULT WebBrowser::Advise(IAdviseSink*, DWORD* connection)
{
    if (connection) {
        *connection = 0;
    }
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT WebBrowser::Unadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }

HRESULT WebBrowser::EnumAdvise(IEnumSTATDATA** advise)
{
    if (advise) {
        *advise = nullptr;
    }
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT WebBrowser::GetMiscStatus(DWORD, DWORD* status)
{
    if (!status) {
        return E_POINTER;
    }
    *status = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT |
              OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;
    return S_OK;
}

HRESULT WebBrowser::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

// ---- In-place activation

HRESULT WebBrowser::InPlaceActivate(HWND parent, LPCRECT position)
{
    if (m_inPlaceActive) {
        return S_OK;
    }
    m_closed = false;
    RECT pos = position ? *position : RECT { 0, 0, 0, 0 };
    HWND host = parent;
    ComPtr<IOleInPlaceSite> site;
    if (m_clientSite) {
        m_clientSite->QueryInterface(IID_IOleInPlaceSite, site.PutVoid());
    }
    if (site) {
        if (site->CanInPlaceActivate() != S_OK) {
            return E_FAIL;
        }
        HRESULT hr = site->OnInPlaceActivate();
        if (FAILED(hr)) {
            return hr;
        }
        HWND siteWindow = nullptr;
        if (SUCCEEDED(site->GetWindow(&siteWindow)) && siteWindow) {
            host = siteWindow;
        }
        OLEINPLACEFRAMEINFO info {};
        info.cb = sizeof(info);
        RECT sitePos {};
        RECT clip {};
        ComPtr<IOleInPlaceFrame> frame;
        ComPtr<IOleInPlaceUIWindow> uiWindow;
        if (SUCCEEDED(site->GetWindowContext(frame.Put(), uiWindow.Put(), &sitePos, &clip, &info))) {
            pos = sitePos;
            m_frame = frame;
            m_uiWindow = uiWindow;
        }
        m_inPlaceSite = site;
    }
    if (!host) {
        if (site) {
            site->OnInPlaceDeactivate();
            m_inPlaceSite.Reset();
        }
        return E_INVALIDARG;
    }
    m_view = CreateWindowExW(0, kViewClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP,
                             pos.left, pos.top, pos.right - pos.left, pos.bottom - pos.top, host, nullptr,
                             ModuleInstance(), this);
    if (!m_view) {
        if (site) {
            site->OnInPlaceDeactivate();
        }
        m_inPlaceSite.Reset();
        m_frame.Reset();
        m_uiWindow.Reset();
        return E_FAIL;
    }
    m_inPlaceActive = true;
    Relayout();
    return S_OK;
}

HRESULT WebBrowser::AttachToWindow(HWND parent)
{
    m_ownFrame = parent;
    RECT client {};
    GetClientRect(parent, &client);
    return InPlaceActivate(parent, &client);
}

void WebBrowser::UIActivate()
{
    if (m_uiActive || !m_inPlaceActive) {
        return;
    }
    m_uiActive = true;
    if (m_inPlaceSite) {
        m_inPlaceSite->OnUIActivate();
    }
    if (m_frame) {
        m_frame->SetActiveObject(ActiveObject(), L"Web Browser");
    }
    if (m_uiWindow) {
        m_uiWindow->SetActiveObject(ActiveObject(), L"Web Browser");
    }
    if (m_view && GetFocus() != m_view) {
        SetFocus(m_view);
    }
}

HRESULT WebBrowser::GetWindow(HWND* window)
{
    if (!window) {
        return E_POINTER;
    }
    *window = m_view;
    return m_view ? S_OK : E_FAIL;
}

HRESULT WebBrowser::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

HRESULT WebBrowser::InPlaceDeactivate()
{
    if (!m_inPlaceActive) {
        return S_OK;
    }
    ComPtr<IWebBrowser2> keep(this);
    UIDeactivate();
    m_inPlaceActive = false;
    if (m_view) {
        HWND view = m_view;
        m_view = nullptr;
        SetWindowLongPtrW(view, GWLP_USERDATA, 0);
        DestroyWindow(view);
    }
    ComPtr<IOleInPlaceSite> site = m_inPlaceSite;
    m_inPlaceSite.Reset();
    m_frame.Reset();
    m_uiWindow.Reset();
    if (site) {
        site->OnInPlaceDeactivate();
    }
    return S_OK;
}

HRESULT WebBrowser::UIDeactivate()
{
    if (!m_uiActive) {
        return S_OK;
    }
    m_uiActive = false;
    if (m_uiWindow) {
        m_uiWindow->SetActiveObject(nullptr, nullptr);
    }
    if (m_frame) {
        m_frame->SetActiveObject(nullptr, nullptr);
    }
    if (m_inPlaceSite) {
        m_inPlaceSite->OnUIDeactivate(FALSE);
    }
    return S_OK;
}

HRESULT WebBrowser::SetObjectRects(LPCRECT position, LPCRECT)
{
    if (!position) {
        return E_POINTER;
    }
    if (m_view) {
        SetWindowPos(m_view, nullptr, position->left, position->top, position->right - position->left,
                     position->bottom - position->top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return S_OK;
}

HRESULT WebBrowser::ReactivateAndUndo() { return E_NOTIMPL; }

HRESULT WebBrowser::TranslateAccelerator(LPMSG msg)
{
    if (!msg || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) {
        return S_FALSE;
    }
    ComPtr<IWebBrowser2> keep(this);
    // The page's host has the first word on every key, as with a real browser.
    if (ComPtr<IDocHostUIHandler> handler = UIHandler()) {
        if (handler->TranslateAccelerator(msg, &kCgidMshtml, 0) == S_OK) {
            return S_OK;
        }
    }
    if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) {
        return S_FALSE;
    }
    bool alt = (GetKeyState(VK_MENU) & 0x8000) != 0;
    bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    switch (msg->wParam) {
    case VK_TAB:
        if (alt || ctrl || msg->message != WM_KEYDOWN) {
            break;
        }
        // Past the last link the key is the host's, as with the platform browser.
        return MoveLinkFocus((GetKeyState(VK_SHIFT) & 0x8000) == 0) ? S_OK : S_FALSE;
    case VK_RETURN:
        if (m_focusLink < 0 || msg->message != WM_KEYDOWN) {
            break;
        }
        ActivateFocusedLink();
        return S_OK;
    case VK_F5:
        Refresh();
        return S_OK;
    case VK_BACK:
        GoBack();
        return S_OK;
    case VK_LEFT:
        if (alt) {
            GoBack();
            return S_OK;
        }
        break;
    case VK_RIGHT:
        if (alt) {
            GoForward();
            return S_OK;
        }
        break;
    default:
        break;
    }
    return S_FALSE;
}

HRESULT WebBrowser::OnFrameWindowActivate(BOOL) { return S_OK; }
HRESULT WebBrowser::OnDocWindowActivate(BOOL) { return S_OK; }
HRESULT WebBrowser::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }
HRESULT WebBrowser::EnableModeless(BOOL) { return S_OK; }

// ---- IViewObject2

HRESULT WebBrowser::Draw(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC draw, LPCRECTL bounds, LPCRECTL,
                         BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR)
{
    if (!draw || !bounds) {
        return E_INVALIDARG;
    }
    RECT area { bounds->left, bounds->top, bounds->right, bounds->bottom };
    PaintTo(draw, area);
    return S_OK;
}

HRESULT WebBrowser::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colours)
{
    if (colours) {
        *colours = nullptr;
    }
    return S_FALSE;
}

HRESULT WebBrowser::Freeze(DWORD, LONG, void*, DWORD*) { return E_NOTIMPL; }
HRESULT WebBrowser::Unfreeze(DWORD) { return E_NOTIMPL; }

HRESULT WebBrowser::SetAdvise(DWORD, DWORD, IAdviseSink* sink)
{
    m_viewSink.Reset(sink);
    return S_OK;
}

HRESULT WebBrowser::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink)
{
    if (aspects) {
        *aspects = DVASPECT_CONTENT;
    }
    if (flags) {
        *flags = 0;
    }
    if (sink) {
        *sink = m_viewSink.Get();
        if (*sink) {
            (*sink)->AddRef();
        }
    }
    return S_OK;
}

HRESULT WebBrowser::GetExtent(DWORD, LONG, DVTARGETDEVICE*, LPSIZEL size)
{
    if (!size) {
        return E_POINTER;
    }
    *size = m_extent;
    return S_OK;
}

// ---- IPersistStreamInit, IOleControl, IConnectionPointContainer, IProvideClassInfo2

HRESULT WebBrowser::GetClassID(CLSID* clsid) { return GetUserClassID(clsid); }
HRESULT WebBrowser::IsDirty() { return S_FALSE; }
HRESULT WebBrowser::Load(LPSTREAM) { return S_OK; }
HRESULT WebBrowser::Save(LPSTREAM, BOOL) { return S_OK; }
HRESULT WebBrowser::GetSizeMax(ULARGE_INTEGER*) { return E_NOTIMPL; }
HRESULT WebBrowser::InitNew() { return S_OK; }
HRESULT WebBrowser::GetControlInfo(CONTROLINFO*) { return E_NOTIMPL; }
HRESULT WebBrowser::OnMnemonic(MSG*) { return S_OK; }
HRESULT WebBrowser::OnAmbientPropertyChange(DISPID) { return S_OK; }
HRESULT WebBrowser::FreezeEvents(BOOL) { return S_OK; }

HRESULT WebBrowser::EnumConnectionPoints(IEnumConnectionPoints** out)
{
    if (out) {
        *out = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT WebBrowser::FindConnectionPoint(REFIID iid, IConnectionPoint** out)
{
    if (!out) {
        return E_POINTER;
    }
    *out = nullptr;
    if (!IsEqualIID(iid, kIidDWebBrowserEvents2)) {
        return CONNECT_E_NOCONNECTION;
    }
    *out = &m_events;
    m_events.AddRef();
    return S_OK;
}

HRESULT WebBrowser::GetClassInfo(ITypeInfo** info)
{
    return FaceTypeInfo({ &kLibidShDocVw, 1, &kClsidWebBrowser, SelfDispatch() }, info);
}

HRESULT WebBrowser::GetGUID(DWORD kind, GUID* guid)
{
    if (!guid) {
        return E_POINTER;
    }
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
        return E_INVALIDARG;
    }
    *guid = kIidDWebBrowserEvents2;
    return S_OK;
}

// ---- DocumentHost

void WebBrowser::DocumentSettingsChanged() { Relayout(); }

void WebBrowser::DocumentHandlerChanged()
{
    ApplyHostInfo();
    Relayout();
}

void WebBrowser::DocumentTitleChanged()
{
    std::wstring title = m_document ? m_document->Title() : std::wstring();
    FireText(DISPID_TITLECHANGE, title.empty() ? m_locationUrl : title);
    if (m_ownFrame) {
        SetWindowTextW(m_ownFrame, title.c_str());
    }
}

HRESULT WebBrowser::DocumentNavigate(const std::wstring& url)
{
    return BeginNavigation(url, std::string(), std::wstring(), std::wstring(), NavKind::Normal, -1, false);
}

// ---- Navigation

HRESULT WebBrowser::BeginNavigation(std::wstring url, const std::string& postData, const std::wstring& headers,
                                    const std::wstring& target, NavKind kind, int travelIndex, bool noHistory)
{
    if (url.empty()) {
        return E_INVALIDARG;
    }
    if (StartsWithNoCase(url, L"javascript:")) {
        return S_OK;
    }
    std::wstring frame = ToLower(Trim(target));
    if (kind == NavKind::Normal && !frame.empty() && frame != L"_self" && frame != L"_top" && frame != L"_parent") {
        OpenNewWindow(url, m_locationUrl);
        return S_OK;
    }
    ComPtr<IWebBrowser2> keep(this);
    if (kind != NavKind::Refresh && !FireBeforeNavigate2(url, 0, target, postData, headers)) {
        return S_OK;
    }
    if (m_closed) {
        return S_OK;
    }
    KillTimer(m_notify, kRefreshTimer);
    KillTimer(m_notify, kNavigationTimer);
    Navigation nav;
    nav.serial = ++m_nextSerial;
    nav.kind = kind;
    nav.url = url;
    nav.travelIndex = travelIndex;
    nav.noHistory = noHistory;
    m_nav = nav;
    m_imageSerial = 0;
    m_imagesPending = 0;
    m_busy = true;
    m_readyState = READYSTATE_LOADING;
    Fire(DISPID_DOWNLOADBEGIN, nullptr, 0);
    if (!IsCurrent(nav.serial)) {
        return S_OK;
    }
    if (StartsWithNoCase(url, L"about:")) {
        PostMessageW(m_notify, kAboutMessage, nav.serial, 0);
        return S_OK;
    }
    FetchRequest request;
    request.url = url;
    request.method = postData.empty() ? L"GET" : L"POST";
    request.body = postData;
    request.headers = headers;
    if (StartsWithNoCase(m_locationUrl, L"http")) {
        request.referer = m_locationUrl;
    }
    std::vector<FetchRequest> requests;
    requests.push_back(request);
    SetTimer(m_notify, kNavigationTimer, FetchTimeoutMs(), nullptr);
    if (!StartFetch(m_notify, kFetchedMessage, nav.serial, std::move(requests))) {
        auto failed = std::make_unique<FetchResult>();
        failed->batch = nav.serial;
        failed->requestedUrl = url;
        failed->error = static_cast<HRESULT>(0x800C0008L);
        if (PostMessageW(m_notify, kFetchedMessage, nav.serial, reinterpret_cast<LPARAM>(failed.get()))) {
            failed.release();
        }
    }
    return S_OK;
}

void WebBrowser::OnDocumentFetched(std::unique_ptr<FetchResult> result)
{
    Navigation nav = m_nav;
    std::wstring url = result->finalUrl.empty() ? nav.url : result->finalUrl;
    size_t hash = nav.url.find(L'#');
    if (hash != std::wstring::npos && url.find(L'#') == std::wstring::npos) {
        url += nav.url.substr(hash);
    }
    bool failed = result->error != S_OK || result->status >= 400;
    std::wstring html;
    if (failed) {
        LONG status = result->error != S_OK ? static_cast<LONG>(result->error) : static_cast<LONG>(result->status);
        bool cancel = FireNavigateError(nav.url, status);
        if (!IsCurrent(nav.serial)) {
            return;
        }
        if (cancel) {
            m_busy = false;
            m_readyState = m_document ? READYSTATE_COMPLETE : READYSTATE_UNINITIALIZED;
            Fire(DISPID_DOWNLOADCOMPLETE, nullptr, 0);
            return;
        }
        if (result->error != S_OK || result->bytes.empty()) {
            html = L"<html><head><title>Cannot display the webpage</title></head><body>"
                   L"<h1>Cannot display the webpage</h1><p>" + EscapeHtml(nav.url) + L"</p></body></html>";
            url = nav.url;
            result->bytes.clear();
        }
    }
    if (!result->bytes.empty()) {
        std::wstring type = ToLower(result->contentType);
        if (type.compare(0, 6, L"image/") == 0) {
            html = L"<html><body style=\"margin:0\"><img src=\"" + EscapeHtml(url) + L"\"></body></html>";
        } else if (type.compare(0, 10, L"text/plain") == 0) {
            html = L"<html><body><pre>" + EscapeHtml(DecodeText(result->bytes, result->contentType)) +
                   L"</pre></body></html>";
        } else {
            html = DecodeText(result->bytes, result->contentType);
        }
    }
    ShowDocument(nav, url, html);
}

void WebBrowser::ShowDocument(const Navigation& nav, const std::wstring& url, const std::wstring& html)
{
    ComPtr<IWebBrowser2> keep(this);
    auto page = std::make_shared<Page>(html, url);
    if (nav.kind == NavKind::Refresh && m_document) {
        // A reload keeps its document object, its UI handler and the body settings made on it.
        m_document->ReplacePage(page);
    } else {
        if (m_document) {
            m_document->DetachHost();
        }
        m_document.Attach(new HtmlDocument(page, this));
    }
    m_document->SetComplete(false);
    m_locationUrl = url;
    m_scroll = 0;
    m_focusLink = -1;
    if (nav.kind == NavKind::Normal && !nav.noHistory) {
        if (m_historyIndex + 1 < static_cast<int>(m_history.size())) {
            m_history.resize(static_cast<size_t>(m_historyIndex + 1));
        }
        m_history.push_back(url);
        m_historyIndex = static_cast<int>(m_history.size()) - 1;
    } else if (nav.kind == NavKind::Travel && nav.travelIndex >= 0 &&
               nav.travelIndex < static_cast<int>(m_history.size())) {
        m_historyIndex = nav.travelIndex;
    }
    ApplyHostInfo();
    Relayout();
    m_readyState = READYSTATE_INTERACTIVE;
    if (nav.kind != NavKind::Refresh) {
        FireCommandStates();
        if (!IsCurrent(nav.serial)) {
            return;
        }
        FireNavigateComplete2(DISPID_NAVIGATECOMPLETE2, url);
        if (!IsCurrent(nav.serial)) {
            return;
        }
        const std::wstring& title = m_document->Title();
        FireText(DISPID_TITLECHANGE, title.empty() ? url : title);
        if (!IsCurrent(nav.serial)) {
            return;
        }
        if (m_ownFrame) {
            SetWindowTextW(m_ownFrame, title.c_str());
        }
    }
    ReportScriptErrors();
    if (!IsCurrent(nav.serial)) {
        return;
    }
    std::vector<FetchRequest> requests;
    for (const auto& image : page->Images()) {
        FetchRequest request;
        request.url = image.url;
        request.decodeImage = true;
        request.referer = url;
        requests.push_back(request);
    }
    if (requests.empty()) {
        FinishDocument();
        return;
    }
    m_imageSerial = ++m_nextSerial;
    m_imagesPending = requests.size();
    if (!StartFetch(m_notify, kFetchedMessage, m_imageSerial, std::move(requests))) {
        m_imageSerial = 0;
        m_imagesPending = 0;
        FinishDocument();
    }
}

void WebBrowser::OnImageFetched(std::unique_ptr<FetchResult> result)
{
    if (!m_document) {
        return;
    }
    auto& images = m_document->GetPage().Images();
    if (result->index < images.size()) {
        PageImage& image = images[result->index];
        if (!result->pixels.empty() && !image.bitmap) {
            BITMAPINFO info {};
            info.bmiHeader.biSize = sizeof(info.bmiHeader);
            info.bmiHeader.biWidth = result->width;
            info.bmiHeader.biHeight = -result->height;
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            info.bmiHeader.biCompression = BI_RGB;
            void* bits = nullptr;
            HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
            if (bitmap && bits) {
                memcpy(bits, result->pixels.data(), result->pixels.size());
                image.bitmap = bitmap;
                image.width = result->width;
                image.height = result->height;
            } else if (bitmap) {
                DeleteObject(bitmap);
            }
        }
        image.done = true;
    }
    if (m_imagesPending > 0 && --m_imagesPending == 0) {
        m_imageSerial = 0;
        Relayout();
        FinishDocument();
    }
}

void WebBrowser::FinishDocument()
{
    ComPtr<IWebBrowser2> keep(this);
    UINT_PTR serial = m_nav.serial;
    m_busy = false;
    m_readyState = READYSTATE_COMPLETE;
    if (m_document) {
        m_document->SetComplete(true);
    }
    Fire(DISPID_DOWNLOADCOMPLETE, nullptr, 0);
    if (!IsCurrent(serial)) {
        return;
    }
    if (m_nav.kind != NavKind::Refresh) {
        FireNavigateComplete2(DISPID_DOCUMENTCOMPLETE, m_locationUrl);
        if (!IsCurrent(serial)) {
            return;
        }
    }
    if (m_document && m_document->GetPage().HasRefresh()) {
        UINT delay = static_cast<UINT>(std::max(1, m_document->GetPage().RefreshSeconds() * 1000));
        SetTimer(m_notify, kRefreshTimer, delay, nullptr);
    }
}

void WebBrowser::ReportScriptErrors()
{
    if (!m_document || m_document->GetPage().ScriptLines().empty()) {
        return;
    }
    // No script engine here: every script of a page fails, reported once per page.
    ComPtr<HtmlDocument> document = m_document;
    ScriptErrorInfo info;
    info.line = document->GetPage().ScriptLines().front();
    info.character = 1;
    info.code = 0;
    info.message = L"Scripts are not supported by this browser";
    info.url = m_locationUrl;
    document->BeginScriptError(info);
    bool handled = false;
    if (ComPtr<IDocHostUIHandler> handler = UIHandler()) {
        ComPtr<IOleCommandTarget> target;
        if (SUCCEEDED(handler->QueryInterface(IID_IOleCommandTarget, target.PutVoid())) && target) {
            VARIANT in;
            VARIANT out;
            VariantInit(&in);
            VariantInit(&out);
            V_VT(&in) = VT_UNKNOWN;
            V_UNKNOWN(&in) = static_cast<IHTMLDocument2*>(document.Get());
            V_UNKNOWN(&in)->AddRef();
            HRESULT hr = target->Exec(&kCgidDocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, 0, &in, &out);
            handled = SUCCEEDED(hr);
            VariantClear(&in);
            VariantClear(&out);
        }
    }
    document->EndScriptError();
    if (!handled && !m_silent && !m_closed) {
        std::wstring text = L"An error has occurred in the script on this page.\n\nLine: " + std::to_wstring(info.line) +
                            L"\nError: " + info.message + L"\nURL: " + info.url;
        HWND owner = m_view ? GetAncestor(m_view, GA_ROOT) : nullptr;
        MessageBoxW(owner, text.c_str(), L"Script Error", MB_OK | MB_ICONWARNING);
    }
}

void WebBrowser::OpenNewWindow(const std::wstring& url, const std::wstring& context)
{
    ComPtr<IWebBrowser2> keep(this);
    IDispatch* created = nullptr;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    {
        VARIANTARG args[2];
        V_VT(&args[0]) = VT_BYREF | VT_BOOL;
        V_BOOLREF(&args[0]) = &cancel;
        V_VT(&args[1]) = VT_BYREF | VT_DISPATCH;
        V_DISPATCHREF(&args[1]) = &created;
        Fire(DISPID_NEWWINDOW2, args, 2);
    }
    if (cancel == VARIANT_FALSE && !created) {
        Variants text(2);
        SetText(text[0], url);
        SetText(text[1], context);
        VARIANTARG args[5];
        args[0] = text[0];
        args[1] = text[1];
        V_VT(&args[2]) = VT_I4;
        V_I4(&args[2]) = kNewWindowFlags;
        V_VT(&args[3]) = VT_BYREF | VT_BOOL;
        V_BOOLREF(&args[3]) = &cancel;
        V_VT(&args[4]) = VT_BYREF | VT_DISPATCH;
        V_DISPATCHREF(&args[4]) = &created;
        Fire(DISPID_NEWWINDOW3, args, 5);
    }
    ComPtr<IDispatch> target;
    target.Attach(created);
    if (cancel != VARIANT_FALSE || m_closed) {
        return;
    }
    VARIANT address;
    VariantInit(&address);
    SetText(address, url);
    if (target) {
        ComPtr<IWebBrowser2> other;
        if (SUCCEEDED(target->QueryInterface(IID_IWebBrowser2, other.PutVoid())) && other) {
            other->Navigate2(&address, nullptr, nullptr, nullptr, nullptr);
        }
        VariantClear(&address);
        return;
    }
    HWND frame = CreateWindowExW(0, kFrameClass, L"", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 800, 600,
                                 nullptr, nullptr, ModuleInstance(), nullptr);
    if (frame) {
        WebBrowser* browser = new WebBrowser();
        SetWindowLongPtrW(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(browser));
        browser->m_silent = m_silent;
        browser->AttachToWindow(frame);
        ShowWindow(frame, SW_SHOW);
        browser->Navigate2(&address, nullptr, nullptr, nullptr, nullptr);
    }
    VariantClear(&address);
}

void WebBrowser::ActivateItem(int index)
{
    if (!m_layout || !m_document || index < 0 || static_cast<size_t>(index) >= m_layout->items.size()) {
        return;
    }
    ComPtr<IWebBrowser2> keep(this);
    std::shared_ptr<Page> page = m_document->SharedPage();
    DisplayItem item = m_layout->items[static_cast<size_t>(index)];
    if (item.link >= 0 && static_cast<size_t>(item.link) < page->Links().size()) {
        PageLink link = page->Links()[static_cast<size_t>(item.link)];
        std::wstring here = m_locationUrl.substr(0, m_locationUrl.find(L'#'));
        size_t hash = link.href.find(L'#');
        if (hash != std::wstring::npos && link.href.substr(0, hash) == here) {
            ScrollTo(0);  // a fragment of this page
            return;
        }
        BeginNavigation(link.href, std::string(), std::wstring(), link.target, NavKind::Normal, -1, false);
        return;
    }
    if (item.form >= 0) {
        Submission submission = page->Submit(item.form, item.node);
        if (submission.url.empty()) {
            return;
        }
        std::wstring headers = submission.postData.empty() ? L"" : L"Content-Type: application/x-www-form-urlencoded\r\n";
        BeginNavigation(submission.url, submission.postData, headers, submission.target, NavKind::Normal, -1, false);
    }
}

bool WebBrowser::MoveLinkFocus(bool forward)
{
    // Links in the order the page shows them.
    std::vector<int> order;
    if (m_layout) {
        for (const DisplayItem& item : m_layout->items) {
            if (item.link >= 0 && std::find(order.begin(), order.end(), item.link) == order.end()) {
                order.push_back(item.link);
            }
        }
    }
    int next = -1;
    auto at = std::find(order.begin(), order.end(), m_focusLink);
    if (at == order.end()) {
        if (!order.empty()) {
            next = forward ? order.front() : order.back();
        }
    } else if (forward) {
        next = (at + 1 != order.end()) ? *(at + 1) : -1;
    } else {
        next = (at != order.begin()) ? *(at - 1) : -1;
    }
    m_focusLink = next;
    if (m_view) {
        InvalidateRect(m_view, nullptr, FALSE);
    }
    return next >= 0;
}

void WebBrowser::ActivateFocusedLink()
{
    if (!m_layout) {
        return;
    }
    for (size_t i = 0; i < m_layout->items.size(); ++i) {
        if (m_layout->items[i].link == m_focusLink) {
            ActivateItem(static_cast<int>(i));
            return;
        }
    }
}

void WebBrowser::PaintLinkFocus(HDC dc, POINT origin)
{
    if (!m_layout || m_focusLink < 0) {
        return;
    }
    RECT box {};
    for (const DisplayItem& item : m_layout->items) {
        if (item.link == m_focusLink) {
            UnionRect(&box, &box, &item.rect);
        }
    }
    if (IsRectEmpty(&box)) {
        return;
    }
    OffsetRect(&box, origin.x, origin.y);
    InflateRect(&box, 1, 1);
    DrawFocusRect(dc, &box);
}

// ---- Events

void WebBrowser::Fire(DISPID id, VARIANTARG* args, UINT count)
{
    std::vector<ComPtr<IDispatch>> sinks = m_events.Sinks();
    if (sinks.empty()) {
        return;
    }
    ComPtr<IWebBrowser2> keep(this);
    for (auto& sink : sinks) {
        DISPPARAMS params { args, nullptr, count, 0 };
        VARIANT result;
        VariantInit(&result);
        sink->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
        VariantClear(&result);
    }
}

bool WebBrowser::FireBeforeNavigate2(const std::wstring& url, LONG flags, const std::wstring& target,
                                     const std::string& postData, const std::wstring& headers)
{
    Variants values(5);  // url, flags, frame, post data (inner), headers
    VARIANT post;
    VariantInit(&post);
    SetText(values[0], url);
    V_VT(&values[1]) = VT_I4;
    V_I4(&values[1]) = flags;
    if (!target.empty()) {
        SetText(values[2], target);
    }
    if (!postData.empty()) {
        SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(postData.size()));
        void* data = nullptr;
        if (array && SUCCEEDED(SafeArrayAccessData(array, &data))) {
            memcpy(data, postData.data(), postData.size());
            SafeArrayUnaccessData(array);
            V_VT(&values[3]) = VT_ARRAY | VT_UI1;
            V_ARRAY(&values[3]) = array;
        } else if (array) {
            SafeArrayDestroy(array);
        }
    }
    SetRef(post, &values[3]);
    if (!headers.empty()) {
        SetText(values[4], headers);
    }
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANTARG args[7];
    V_VT(&args[0]) = VT_BYREF | VT_BOOL;
    V_BOOLREF(&args[0]) = &cancel;
    SetRef(args[1], &values[4]);
    SetRef(args[2], &post);
    SetRef(args[3], &values[2]);
    SetRef(args[4], &values[1]);
    SetRef(args[5], &values[0]);
    V_VT(&args[6]) = VT_DISPATCH;
    V_DISPATCH(&args[6]) = SelfDispatch();
    Fire(DISPID_BEFORENAVIGATE2, args, 7);
    return cancel == VARIANT_FALSE;
}

void WebBrowser::FireNavigateComplete2(DISPID id, const std::wstring& url)
{
    Variants values(1);
    SetText(values[0], url);
    VARIANTARG args[2];
    SetRef(args[0], &values[0]);
    V_VT(&args[1]) = VT_DISPATCH;
    V_DISPATCH(&args[1]) = SelfDispatch();
    Fire(id, args, 2);
}

bool WebBrowser::FireNavigateError(const std::wstring& url, LONG status)
{
    Variants values(3);  // url, frame, status
    SetText(values[0], url);
    V_VT(&values[2]) = VT_I4;
    V_I4(&values[2]) = status;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANTARG args[5];
    V_VT(&args[0]) = VT_BYREF | VT_BOOL;
    V_BOOLREF(&args[0]) = &cancel;
    SetRef(args[1], &values[2]);
    SetRef(args[2], &values[1]);
    SetRef(args[3], &values[0]);
    V_VT(&args[4]) = VT_DISPATCH;
    V_DISPATCH(&args[4]) = SelfDispatch();
    Fire(DISPID_NAVIGATEERROR, args, 5);
    return cancel != VARIANT_FALSE;
}

void WebBrowser::FireCommandStateChange(LONG command, bool enabled)
{
    VARIANTARG args[2];
    V_VT(&args[0]) = VT_BOOL;
    V_BOOL(&args[0]) = enabled ? VARIANT_TRUE : VARIANT_FALSE;
    V_VT(&args[1]) = VT_I4;
    V_I4(&args[1]) = command;
    Fire(DISPID_COMMANDSTATECHANGE, args, 2);
}

void WebBrowser::FireCommandStates()
{
    bool forward = m_historyIndex >= 0 && static_cast<size_t>(m_historyIndex + 1) < m_history.size();
    FireCommandStateChange(CSC_NAVIGATEFORWARD, forward);
    FireCommandStateChange(CSC_NAVIGATEBACK, m_historyIndex > 0);
}

void WebBrowser::FireText(DISPID id, const std::wstring& text)
{
    Variants values(1);
    SetText(values[0], text);
    Fire(id, &values[0], 1);
}

// ---- Host UI handler

ComPtr<IDocHostUIHandler> WebBrowser::UIHandler()
{
    if (m_document && m_document->UIHandler()) {
        return ComPtr<IDocHostUIHandler>(m_document->UIHandler());
    }
    ComPtr<IDocHostUIHandler> handler;
    if (m_clientSite) {
        m_clientSite->QueryInterface(IID_IDocHostUIHandler, handler.PutVoid());
    }
    return handler;
}

void WebBrowser::ApplyHostInfo()
{
    m_hostFlags = 0;
    ComPtr<IDocHostUIHandler> handler = UIHandler();
    if (!handler) {
        return;
    }
    DOCHOSTUIINFO info {};
    info.cbSize = sizeof(info);
    if (SUCCEEDED(handler->GetHostInfo(&info))) {
        m_hostFlags = info.dwFlags;
    }
    CoTaskMemFree(info.pchHostCss);
    CoTaskMemFree(info.pchHostNS);
}

void WebBrowser::ShowContextMenu(POINT screen)
{
    ComPtr<IWebBrowser2> keep(this);
    DWORD kind = CONTEXT_MENU_DEFAULT;
    if (m_layout && m_view) {
        POINT client = screen;
        ScreenToClient(m_view, &client);
        int index = HitTest(*m_layout, PagePoint(MAKELPARAM(client.x, client.y)));
        if (index >= 0) {
            const DisplayItem& item = m_layout->items[static_cast<size_t>(index)];
            kind = item.link >= 0 ? CONTEXT_MENU_ANCHOR
                 : item.kind == DisplayItem::Image ? CONTEXT_MENU_IMAGE
                                                   : CONTEXT_MENU_CONTROL;
        }
    }
    if (ComPtr<IDocHostUIHandler> handler = UIHandler()) {
        POINT point = screen;
        IUnknown* target = m_document ? static_cast<IHTMLDocument2*>(m_document.Get()) : nullptr;
        IDispatch* element = m_document ? static_cast<IHTMLElement*>(&m_document->Body()) : nullptr;
        if (handler->ShowContextMenu(kind, &point, target, element) == S_OK) {
            return;
        }
    }
    if (!m_view) {
        return;
    }
    HMENU menu = CreatePopupMenu();
    if (!menu) {
        return;
    }
    bool back = m_historyIndex > 0;
    bool forward = m_historyIndex >= 0 && static_cast<size_t>(m_historyIndex + 1) < m_history.size();
    AppendMenuW(menu, MF_STRING | (back ? 0 : MF_GRAYED), 1, L"Back");
    AppendMenuW(menu, MF_STRING | (forward ? 0 : MF_GRAYED), 2, L"Forward");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, 3, L"Refresh");
    int command = static_cast<int>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, m_view, nullptr));
    DestroyMenu(menu);
    if (command == 1) {
        GoBack();
    } else if (command == 2) {
        GoForward();
    } else if (command == 3) {
        Refresh();
    }
}

// ---- View

bool WebBrowser::BorderShown() const
{
    if (!m_document || m_ownFrame || (m_hostFlags & DOCHOSTUIFLAG_NO3DBORDER)) {
        return false;
    }
    const BodySettings& settings = m_document->Settings();
    return !IsNone(settings.border) && !IsNone(settings.borderStyle);
}

bool WebBrowser::ScrollAllowed() const
{
    if (!m_document || (m_hostFlags & DOCHOSTUIFLAG_SCROLL_NO)) {
        return false;
    }
    const BodySettings& settings = m_document->Settings();
    return ToLower(Trim(settings.scroll)) != L"no" && ToLower(Trim(settings.overflow)) != L"hidden";
}

void WebBrowser::Relayout()
{
    if (m_inRelayout || !m_view) {
        return;
    }
    m_inRelayout = true;
    if (!m_document) {
        m_layout.reset();
        ShowScrollBar(m_view, SB_VERT, FALSE);
    } else {
        RECT window {};
        GetWindowRect(m_view, &window);
        int border = BorderShown() ? 2 : 0;
        int width = std::max(0, static_cast<int>(window.right - window.left) - 2 * border);
        int height = std::max(0, static_cast<int>(window.bottom - window.top) - 2 * border);
        HDC dc = GetDC(m_view);
        auto layout = std::make_unique<Layout>(LayoutPage(m_document->GetPage(), dc, m_fonts, width));
        bool bar = false;
        if (ScrollAllowed() && layout->height > height) {
            int barWidth = GetSystemMetrics(SM_CXVSCROLL);
            layout = std::make_unique<Layout>(LayoutPage(m_document->GetPage(), dc, m_fonts, std::max(0, width - barWidth)));
            bar = true;
        }
        ReleaseDC(m_view, dc);
        int maxScroll = bar ? std::max(0, layout->height - height) : 0;
        m_layout = std::move(layout);
        m_scroll = std::min(std::max(0, m_scroll), maxScroll);
        ShowScrollBar(m_view, SB_VERT, bar);
        if (bar) {
            SCROLLINFO info {};
            info.cbSize = sizeof(info);
            info.fMask = SIF_ALL;
            info.nMin = 0;
            info.nMax = std::max(0, m_layout->height - 1);
            info.nPage = static_cast<UINT>(height);
            info.nPos = m_scroll;
            SetScrollInfo(m_view, SB_VERT, &info, TRUE);
        }
    }
    InvalidateRect(m_view, nullptr, FALSE);
    m_inRelayout = false;
}

void WebBrowser::ScrollTo(int position)
{
    if (!m_layout || !m_view || !ScrollAllowed()) {
        return;
    }
    RECT client {};
    GetClientRect(m_view, &client);
    int border = BorderShown() ? 2 : 0;
    int viewport = std::max(0, static_cast<int>(client.bottom) - 2 * border);
    int maxScroll = std::max(0, m_layout->height - viewport);
    int next = std::min(std::max(0, position), maxScroll);
    if (next == m_scroll) {
        return;
    }
    m_scroll = next;
    SetScrollPos(m_view, SB_VERT, m_scroll, TRUE);
    InvalidateRect(m_view, nullptr, FALSE);
}

void WebBrowser::PaintTo(HDC dc, const RECT& area)
{
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) {
        return;
    }
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
    if (!memory || !bitmap) {
        if (bitmap) {
            DeleteObject(bitmap);
        }
        if (memory) {
            DeleteDC(memory);
        }
        return;
    }
    HGDIOBJ old = SelectObject(memory, bitmap);
    RECT local { 0, 0, width, height };
    int border = BorderShown() ? 2 : 0;
    RECT content = local;
    InflateRect(&content, -border, -border);
    if (m_layout && m_document) {
        int saved = SaveDC(memory);
        IntersectClipRect(memory, content.left, content.top, content.right, content.bottom);
        POINT origin { content.left, content.top - m_scroll };
        PaintLayout(memory, *m_layout, m_document->GetPage(), m_fonts, origin, content);
        PaintLinkFocus(memory, origin);
        RestoreDC(memory, saved);
    } else {
        FillRect(memory, &local, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    if (border) {
        DrawEdge(memory, &local, EDGE_SUNKEN, BF_RECT);
    }
    BitBlt(dc, area.left, area.top, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

POINT WebBrowser::PagePoint(LPARAM lParam) const
{
    int border = BorderShown() ? 2 : 0;
    POINT point { GET_X_LPARAM(lParam) - border, GET_Y_LPARAM(lParam) - border + m_scroll };
    return point;
}

LRESULT CALLBACK WebBrowser::ViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto self = reinterpret_cast<WebBrowser*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        if (self && self->m_view == window) {
            self->m_view = nullptr;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (!self || (self->m_view && self->m_view != window)) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (!self->m_view) {
        self->m_view = window;
    }
    try {
        return self->OnViewMessage(message, wParam, lParam);
    } catch (...) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT WebBrowser::OnViewMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND view = m_view;
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(view, &ps);
        RECT client {};
        GetClientRect(view, &client);
        PaintTo(dc, client);
        EndPaint(view, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        Relayout();
        return 0;
    case WM_VSCROLL: {
        RECT client {};
        GetClientRect(view, &client);
        int page = std::max(kLineScroll, static_cast<int>(client.bottom) - kLineScroll);
        switch (LOWORD(wParam)) {
        case SB_LINEUP:
            ScrollTo(m_scroll - kLineScroll);
            break;
        case SB_LINEDOWN:
            ScrollTo(m_scroll + kLineScroll);
            break;
        case SB_PAGEUP:
            ScrollTo(m_scroll - page);
            break;
        case SB_PAGEDOWN:
            ScrollTo(m_scroll + page);
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            SCROLLINFO info {};
            info.cbSize = sizeof(info);
            info.fMask = SIF_TRACKPOS;
            GetScrollInfo(view, SB_VERT, &info);
            ScrollTo(info.nTrackPos);
            break;
        }
        case SB_TOP:
            ScrollTo(0);
            break;
        case SB_BOTTOM:
            ScrollTo(m_layout ? m_layout->height : 0);
            break;
        default:
            break;
        }
        return 0;
    }
    case WM_MOUSEWHEEL:
        ScrollTo(m_scroll - GET_WHEEL_DELTA_WPARAM(wParam) * kLineScroll * 3 / WHEEL_DELTA);
        return 0;
    case WM_LBUTTONDOWN:
        if (GetFocus() != view) {
            SetFocus(view);
        }
        UIActivate();
        m_pressed = m_layout ? HitTest(*m_layout, PagePoint(lParam)) : -1;
        return 0;
    case WM_LBUTTONUP: {
        int hit = m_layout ? HitTest(*m_layout, PagePoint(lParam)) : -1;
        int pressed = m_pressed;
        m_pressed = -1;
        if (hit >= 0 && hit == pressed) {
            ActivateItem(hit);
        }
        return 0;
    }
    case WM_CONTEXTMENU: {
        POINT screen { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) };
        if (screen.x == -1 && screen.y == -1) {
            RECT client {};
            GetClientRect(view, &client);
            screen = { client.right / 2, client.bottom / 2 };
            ClientToScreen(view, &screen);
        }
        ShowContextMenu(screen);
        return 0;
    }
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            POINT point {};
            GetCursorPos(&point);
            ScreenToClient(view, &point);
            int hit = m_layout ? HitTest(*m_layout, PagePoint(MAKELPARAM(point.x, point.y))) : -1;
            bool hand = hit >= 0 && m_layout->items[static_cast<size_t>(hit)].link >= 0;
            SetCursor(LoadCursorW(nullptr, hand ? IDC_HAND : IDC_ARROW));
            return TRUE;
        }
        break;
    case WM_KEYDOWN: {
        RECT client {};
        GetClientRect(view, &client);
        int page = std::max(kLineScroll, static_cast<int>(client.bottom) - kLineScroll);
        switch (wParam) {
        case VK_UP:
            ScrollTo(m_scroll - kLineScroll);
            return 0;
        case VK_DOWN:
            ScrollTo(m_scroll + kLineScroll);
            return 0;
        case VK_PRIOR:
            ScrollTo(m_scroll - page);
            return 0;
        case VK_NEXT:
        case VK_SPACE:
            ScrollTo(m_scroll + page);
            return 0;
        case VK_HOME:
            ScrollTo(0);
            return 0;
        case VK_END:
            ScrollTo(m_layout ? m_layout->height : 0);
            return 0;
        default:
            break;
        }
        break;
    }
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_MOUSEACTIVATE:
        return MA_ACTIVATE;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        bool gained = message == WM_SETFOCUS;
        if (gained) {
            UIActivate();
        }
        ComPtr<IOleControlSite> controlSite;
        if (m_clientSite && SUCCEEDED(m_clientSite->QueryInterface(IID_IOleControlSite, controlSite.PutVoid()))) {
            controlSite->OnFocus(gained ? TRUE : FALSE);
        }
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(view, message, wParam, lParam);
}

LRESULT CALLBACK WebBrowser::NotifyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto self = reinterpret_cast<WebBrowser*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == kFetchedMessage && !self) {
        delete reinterpret_cast<FetchResult*>(lParam);
        return 0;
    }
    bool ours = message == kFetchedMessage || message == kAboutMessage || message == WM_TIMER;
    if (!self || !ours || self->m_notify != window) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return self->OnNotifyMessage(message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

LRESULT WebBrowser::OnNotifyMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    ComPtr<IWebBrowser2> keep(this);
    if (message == kFetchedMessage) {
        std::unique_ptr<FetchResult> result(reinterpret_cast<FetchResult*>(lParam));
        if (!result || m_closed) {
            return 0;
        }
        if (result->batch == m_nav.serial && m_busy && m_imageSerial == 0 && m_imagesPending == 0) {
            KillTimer(m_notify, kNavigationTimer);
            OnDocumentFetched(std::move(result));
        } else if (m_imageSerial != 0 && result->batch == m_imageSerial) {
            OnImageFetched(std::move(result));
        }
        return 0;
    }
    if (message == kAboutMessage) {
        if (wParam == m_nav.serial && m_busy && !m_closed) {
            ShowDocument(m_nav, m_nav.url, std::wstring());
        }
        return 0;
    }
    if (message == WM_TIMER && wParam == kNavigationTimer) {
        KillTimer(m_notify, kNavigationTimer);
        if (!m_busy || m_imageSerial != 0 || m_closed) {
            return 0;
        }
        // A new serial: the answer that may still come is not for this page any more.
        m_nav.serial = ++m_nextSerial;
        auto timedOut = std::make_unique<FetchResult>();
        timedOut->batch = m_nav.serial;
        timedOut->requestedUrl = m_nav.url;
        timedOut->error = kFetchTimedOut;
        OnDocumentFetched(std::move(timedOut));
        return 0;
    }
    if (message == WM_TIMER && wParam == kRefreshTimer) {
        KillTimer(m_notify, kRefreshTimer);
        if (m_document && m_document->GetPage().HasRefresh() && !m_closed) {
            std::wstring target = m_document->GetPage().RefreshUrl();
            BeginNavigation(target, std::string(), std::wstring(), std::wstring(), NavKind::Normal, -1, false);
        }
        return 0;
    }
    return 0;
}

namespace {

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto browser = reinterpret_cast<WebBrowser*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_SIZE:
        if (browser) {
            RECT client { 0, 0, LOWORD(lParam), HIWORD(lParam) };
            browser->SetObjectRects(&client, &client);
        }
        return 0;
    case WM_DESTROY:
        if (browser) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            browser->Close(OLECLOSE_NOSAVE);
            browser->Release();
        }
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

void WebBrowser::RegisterClasses()
{
    if (g_classesRegistered) {
        return;
    }
    HINSTANCE instance = ModuleInstance();
    WNDCLASSEXW wc {};
    wc.cbSize = sizeof(wc);
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ViewProc;
    wc.lpszClassName = kViewClass;
    RegisterClassExW(&wc);
    wc.style = 0;
    wc.lpfnWndProc = NotifyProc;
    wc.lpszClassName = kNotifyClass;
    RegisterClassExW(&wc);
    wc.lpfnWndProc = FrameProc;
    wc.lpszClassName = kFrameClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassExW(&wc);
    g_classesRegistered = true;
}

void UnregisterBrowserClasses()
{
    if (!g_classesRegistered) {
        return;
    }
    UnregisterClassW(kViewClass, ModuleInstance());
    UnregisterClassW(kNotifyClass, ModuleInstance());
    UnregisterClassW(kFrameClass, ModuleInstance());
    g_classesRegistered = false;
}

}  // namespace Standin
