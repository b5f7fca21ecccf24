#include "HtmlObjects.h"

#include "Dispatch.h"
#include "Guids.h"
#include "Module.h"

namespace Standin {

BSTR MakeBstr(const std::wstring& text)
{
    return SysAllocStringLen(text.c_str(), static_cast<UINT>(text.size()));
}

namespace {

HRESULT OutText(BSTR* out, const std::wstring& text)
{
    if (!out) {
        return E_POINTER;
    }
    *out = MakeBstr(text);
    return *out ? S_OK : E_OUTOFMEMORY;
}

std::wstring FromBstr(BSTR text)
{
    return text ? std::wstring(text, SysStringLen(text)) : std::wstring();
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

HRESULT TypeInfoOut(const DispatchFace& face, UINT index, ITypeInfo** info)
{
    if (index != 0) {
        return DISP_E_BADINDEX;
    }
    return FaceTypeInfo(face, info);
}

}  // namespace

// ---- HtmlStyle

HRESULT HtmlStyle::QueryInterface(REFIID iid, void** out)
{
    if (!out) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IHTMLStyle)) {
        *out = static_cast<IHTMLStyle*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG HtmlStyle::AddRef() { return m_owner.AddRef(); }
ULONG HtmlStyle::Release() { return m_owner.Release(); }

HRESULT HtmlStyle::GetTypeInfoCount(UINT* count)
{
    if (!count) {
        return E_POINTER;
    }
    *count = 1;
    return S_OK;
}

HRESULT HtmlStyle::GetTypeInfo(UINT index, LCID, ITypeInfo** info)
{
    return TypeInfoOut({ &kLibidMshtml, 4, &IID_IHTMLStyle, this }, index, info);
}

HRESULT HtmlStyle::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    return FacesGetIDsOfNames({ { &kLibidMshtml, 4, &IID_IHTMLStyle, this } }, names, count, ids);
}

HRESULT HtmlStyle::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                          EXCEPINFO* exception, UINT* argError)
{
    return FacesInvoke({ { &kLibidMshtml, 4, &IID_IHTMLStyle, this } }, id, flags, params, result, exception, argError);
}

HRESULT HtmlStyle::put_overflow(BSTR v)
{
    m_owner.Settings().overflow = FromBstr(v);
    m_owner.SettingsChanged();
    return S_OK;
}

HRESULT HtmlStyle::get_overflow(BSTR* p) { return OutText(p, m_owner.Settings().overflow); }

HRESULT HtmlStyle::put_border(BSTR v)
{
    m_owner.Settings().border = FromBstr(v);
    m_owner.SettingsChanged();
    return S_OK;
}

HRESULT HtmlStyle::get_border(BSTR* p) { return OutText(p, m_owner.Settings().border); }

HRESULT HtmlStyle::put_borderStyle(BSTR v)
{
    m_owner.Settings().borderStyle = FromBstr(v);
    m_owner.SettingsChanged();
    return S_OK;
}

HRESULT HtmlStyle::get_borderStyle(BSTR* p) { return OutText(p, m_owner.Settings().borderStyle); }

// ---- HtmlBody

HRESULT HtmlBody::QueryInterface(REFIID iid, void** out)
{
    if (!out) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IHTMLElement)) {
        *out = static_cast<IHTMLElement*>(this);
    } else if (IsEqualIID(iid, IID_IHTMLBodyElement)) {
        *out = static_cast<IHTMLBodyElement*>(this);
    } else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG HtmlBody::AddRef() { return m_owner.AddRef(); }
ULONG HtmlBody::Release() { return m_owner.Release(); }

HRESULT HtmlBody::GetTypeInfoCount(UINT* count)
{
    if (!count) {
        return E_POINTER;
    }
    *count = 1;
    return S_OK;
}

HRESULT HtmlBody::GetTypeInfo(UINT index, LCID, ITypeInfo** info)
{
    return TypeInfoOut({ &kLibidMshtml, 4, &IID_IHTMLElement, static_cast<IHTMLElement*>(this) }, index, info);
}

HRESULT HtmlBody::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    return FacesGetIDsOfNames({ { &kLibidMshtml, 4, &IID_IHTMLElement, static_cast<IHTMLElement*>(this) },
                                { &kLibidMshtml, 4, &IID_IHTMLBodyElement, static_cast<IHTMLBodyElement*>(this) } },
                              names, count, ids);
}

HRESULT HtmlBody::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                         EXCEPINFO* exception, UINT* argError)
{
    return FacesInvoke({ { &kLibidMshtml, 4, &IID_IHTMLElement, static_cast<IHTMLElement*>(this) },
                         { &kLibidMshtml, 4, &IID_IHTMLBodyElement, static_cast<IHTMLBodyElement*>(this) } },
                       id, flags, params, result, exception, argError);
}

HRESULT HtmlBody::get_tagName(BSTR* p) { return OutText(p, L"BODY"); }

HRESULT HtmlBody::get_style(IHTMLStyle** p) { return OutObject<IHTMLStyle>(p, &m_owner.Style()); }

HRESULT HtmlBody::get_innerText(BSTR* p)
{
    return OutText(p, Trim(CollapseSpaces(TextContent(m_owner.GetPage().Body()))));
}

HRESULT HtmlBody::get_document(IDispatch** p)
{
    return OutObject<IDispatch>(p, static_cast<IHTMLDocument2*>(&m_owner));
}

HRESULT HtmlBody::get_parentElement(IHTMLElement** p) { return OutObject<IHTMLElement>(p, nullptr); }

HRESULT HtmlBody::put_scroll(BSTR v)
{
    m_owner.Settings().scroll = FromBstr(v);
    m_owner.SettingsChanged();
    return S_OK;
}

HRESULT HtmlBody::get_scroll(BSTR* p) { return OutText(p, m_owner.Settings().scroll); }

// ---- HtmlEvent

namespace {

const wchar_t* const kErrorNames[] = { L"errorLine", L"errorCharacter", L"errorCode", L"errorMessage", L"errorUrl" };
const DISPID kFirstErrorId = 0x7F000001;

}  // namespace

HRESULT HtmlEvent::QueryInterface(REFIID iid, void** out)
{
    if (!out) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IHTMLEventObj)) {
        *out = static_cast<IHTMLEventObj*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG HtmlEvent::AddRef() { return m_owner.AddRef(); }
ULONG HtmlEvent::Release() { return m_owner.Release(); }

HRESULT HtmlEvent::GetTypeInfoCount(UINT* count)
{
    if (!count) {
        return E_POINTER;
    }
    *count = 1;
    return S_OK;
}

HRESULT HtmlEvent::GetTypeInfo(UINT index, LCID, ITypeInfo** info)
{
    return TypeInfoOut({ &kLibidMshtml, 4, &IID_IHTMLEventObj, this }, index, info);
}

HRESULT HtmlEvent::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (!names || !ids || count == 0) {
        return E_INVALIDARG;
    }
    for (int i = 0; i < 5; ++i) {
        if (names[0] && _wcsicmp(names[0], kErrorNames[i]) == 0) {
            ids[0] = kFirstErrorId + i;
            for (UINT k = 1; k < count; ++k) {
                ids[k] = DISPID_UNKNOWN;
            }
            return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
        }
    }
    return FacesGetIDsOfNames({ { &kLibidMshtml, 4, &IID_IHTMLEventObj, this } }, names, count, ids);
}

HRESULT HtmlEvent::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                          EXCEPINFO* exception, UINT* argError)
{
    if (id >= kFirstErrorId && id < kFirstErrorId + 5) {
        if (!(flags & DISPATCH_PROPERTYGET)) {
            return DISP_E_MEMBERNOTFOUND;
        }
        if (!result) {
            return S_OK;
        }
        VariantInit(result);
        const ScriptErrorInfo& info = m_owner.ScriptError();
        switch (id - kFirstErrorId) {
        case 0:
            V_VT(result) = VT_I4;
            V_I4(result) = info.line;
            break;
        case 1:
            V_VT(result) = VT_I4;
            V_I4(result) = info.character;
            break;
        case 2:
            V_VT(result) = VT_I4;
            V_I4(result) = info.code;
            break;
        case 3:
            V_VT(result) = VT_BSTR;
            V_BSTR(result) = MakeBstr(info.message);
            break;
        default:
            V_VT(result) = VT_BSTR;
            V_BSTR(result) = MakeBstr(info.url);
            break;
        }
        return S_OK;
    }
    return FacesInvoke({ { &kLibidMshtml, 4, &IID_IHTMLEventObj, this } }, id, flags, params, result, exception,
                       argError);
}

HRESULT HtmlEvent::get_type(BSTR* p) { return OutText(p, m_owner.InScriptError() ? L"error" : L""); }

// ---- HtmlWindow

HRESULT HtmlWindow::QueryInterface(REFIID iid, void** out)
{
    if (!out) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IHTMLWindow2) ||
        IsEqualIID(iid, IID_IHTMLFramesCollection2)) {
        *out = static_cast<IHTMLWindow2*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG HtmlWindow::AddRef() { return m_owner.AddRef(); }
ULONG HtmlWindow::Release() { return m_owner.Release(); }

HRESULT HtmlWindow::GetTypeInfoCount(UINT* count)
{
    if (!count) {
        return E_POINTER;
    }
    *count = 1;
    return S_OK;
}

HRESULT HtmlWindow::GetTypeInfo(UINT index, LCID, ITypeInfo** info)
{
    return TypeInfoOut({ &kLibidMshtml, 4, &IID_IHTMLWindow2, this }, index, info);
}

HRESULT HtmlWindow::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    return FacesGetIDsOfNames({ { &kLibidMshtml, 4, &IID_IHTMLWindow2, this } }, names, count, ids);
}

HRESULT HtmlWindow::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                           EXCEPINFO* exception, UINT* argError)
{
    return FacesInvoke({ { &kLibidMshtml, 4, &IID_IHTMLWindow2, this } }, id, flags, params, result, exception,
                       argError);
}

HRESULT HtmlWindow::get_length(LONG* p)
{
    if (!p) {
        return E_POINTER;
    }
    *p = 0;
    return S_OK;
}

HRESULT HtmlWindow::get_status(BSTR* p) { return OutText(p, m_status); }

HRESULT HtmlWindow::put_status(BSTR v)
{
    m_status = FromBstr(v);
    return S_OK;
}

HRESULT HtmlWindow::get_name(BSTR* p) { return OutText(p, m_name); }

HRESULT HtmlWindow::put_name(BSTR v)
{
    m_name = FromBstr(v);
    return S_OK;
}

HRESULT HtmlWindow::get_document(IHTMLDocument2** p) { return OutObject<IHTMLDocument2>(p, &m_owner); }

HRESULT HtmlWindow::get_event(IHTMLEventObj** p)
{
    // Outside an event being handled a window has no event object.
    return OutObject<IHTMLEventObj>(p, m_owner.InScriptError() ? &m_owner.Event() : nullptr);
}

HRESULT HtmlWindow::get_parent(IHTMLWindow2** p) { return OutObject<IHTMLWindow2>(p, this); }
HRESULT HtmlWindow::get_top(IHTMLWindow2** p) { return OutObject<IHTMLWindow2>(p, this); }
HRESULT HtmlWindow::get_self(IHTMLWindow2** p) { return OutObject<IHTMLWindow2>(p, this); }
HRESULT HtmlWindow::get_window(IHTMLWindow2** p) { return OutObject<IHTMLWindow2>(p, this); }

HRESULT HtmlWindow::get_closed(VARIANT_BOOL* p)
{
    if (!p) {
        return E_POINTER;
    }
    *p = m_owner.Host() ? VARIANT_FALSE : VARIANT_TRUE;
    return S_OK;
}

HRESULT HtmlWindow::navigate(BSTR url)
{
    if (!m_owner.Host()) {
        return E_FAIL;
    }
    return m_owner.Host()->DocumentNavigate(ResolveUrl(m_owner.GetPage().Url(), FromBstr(url)));
}

// ---- HtmlDocument

HtmlDocument::HtmlDocument(std::shared_ptr<Page> page, DocumentHost* host) : m_page(std::move(page)), m_host(host)
{
    ObjectCreated();  // a host may keep the document after the browser is gone
    m_title = m_page->Title();
    if (const HtmlNode* body = m_page->Body()) {
        m_settings.scroll = body->AttributeOr(L"scroll", L"");
    }
}

HtmlDocument::~HtmlDocument()
{
    ObjectDestroyed();
}

void HtmlDocument::ReplacePage(std::shared_ptr<Page> page)
{
    m_page = std::move(page);
    m_title = m_page->Title();
}

HRESULT HtmlDocument::QueryInterface(REFIID iid, void** out)
{
    if (!out) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IHTMLDocument) ||
        IsEqualIID(iid, IID_IHTMLDocument2)) {
        *out = static_cast<IHTMLDocument2*>(this);
    } else if (IsEqualIID(iid, kIidICustomDoc)) {
        *out = static_cast<ICustomDoc*>(this);
    } else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG HtmlDocument::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }

ULONG HtmlDocument::Release()
{
    LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0) {
        delete this;
    }
    return static_cast<ULONG>(refs);
}

HRESULT HtmlDocument::GetTypeInfoCount(UINT* count)
{
    if (!count) {
        return E_POINTER;
    }
    *count = 1;
    return S_OK;
}

HRESULT HtmlDocument::GetTypeInfo(UINT index, LCID, ITypeInfo** info)
{
    return TypeInfoOut({ &kLibidMshtml, 4, &IID_IHTMLDocument2, static_cast<IHTMLDocument2*>(this) }, index, info);
}

HRESULT HtmlDocument::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    return FacesGetIDsOfNames({ { &kLibidMshtml, 4, &IID_IHTMLDocument2, static_cast<IHTMLDocument2*>(this) } },
                              names, count, ids);
}

HRESULT HtmlDocument::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                             EXCEPINFO* exception, UINT* argError)
{
    return FacesInvoke({ { &kLibidMshtml, 4, &IID_IHTMLDocument2, static_cast<IHTMLDocument2*>(this) } }, id, flags,
                       params, result, exception, argError);
}

HRESULT HtmlDocument::get_Script(IDispatch** p) { return OutObject<IDispatch>(p, &m_window); }

HRESULT HtmlDocument::get_body(IHTMLElement** p) { return OutObject<IHTMLElement>(p, &m_body); }

HRESULT HtmlDocument::get_title(BSTR* p) { return OutText(p, m_title); }

HRESULT HtmlDocument::put_title(BSTR v)
{
    m_title = FromBstr(v);
    if (m_host) {
        m_host->DocumentTitleChanged();
    }
    return S_OK;
}

HRESULT HtmlDocument::get_readyState(BSTR* p) { return OutText(p, m_complete ? L"complete" : L"interactive"); }

HRESULT HtmlDocument::get_URL(BSTR* p) { return OutText(p, m_page->Url()); }

HRESULT HtmlDocument::get_parentWindow(IHTMLWindow2** p) { return OutObject<IHTMLWindow2>(p, &m_window); }

HRESULT HtmlDocument::get_bgColor(VARIANT* p)
{
    if (!p) {
        return E_POINTER;
    }
    VariantInit(p);
    V_VT(p) = VT_BSTR;
    std::wstring colour;
    if (const HtmlNode* body = m_page->Body()) {
        colour = body->AttributeOr(L"bgcolor", L"#ffffff");
    }
    V_BSTR(p) = MakeBstr(colour.empty() ? L"#ffffff" : colour);
    return S_OK;
}

HRESULT HtmlDocument::SetUIHandler(IDocHostUIHandler* handler)
{
    m_handler.Reset(handler);
    if (m_host) {
        m_host->DocumentHandlerChanged();
    }
    return S_OK;
}

void HtmlDocument::SettingsChanged()
{
    if (m_host) {
        m_host->DocumentSettingsChanged();
    }
}

void HtmlDocument::BeginScriptError(const ScriptErrorInfo& info)
{
    m_scriptError = info;
    m_inScriptError = true;
}

}  // namespace Standin
