// The web browser control: its operations, creation and release, and the
// browser's events handed to the application's handler.
#include "hosting/WebBrowserUI.h"

#include <cwchar>

#include "hosting/BrowserDocument.h"
#include "hosting/ComHolder.h"
#include "hosting/DownloadManagerFace.h"
#include "hosting/WebBrowserIds.h"

namespace Veneer {

namespace {

const DISPID kDispAmbientDownloadControl = -5512;
const LONG kDownloadImagesAndVideos = 0x10 | 0x20;
const LCID kDefaultLocale = 0x800;

// A variant argument as the handler sees it: the referenced variant when the
// browser passed one by reference.
VARIANT* VariantArgument(VARIANT& arg)
{
    if (arg.vt == (VT_BYREF | VT_VARIANT) && arg.pvarVal != nullptr) return arg.pvarVal;
    return &arg;
}

bool IsDispatchArgument(const VARIANT& arg)
{
    return arg.vt == VT_DISPATCH || arg.vt == VT_UNKNOWN || arg.vt == VT_EMPTY;
}

IDispatch* DispatchArgument(const VARIANT& arg)
{
    return arg.vt == VT_DISPATCH ? arg.pdispVal : nullptr;
}

VARIANT_BOOL* CancelArgument(const VARIANT& arg)
{
    return arg.vt == (VT_BYREF | VT_BOOL) ? arg.pboolVal : nullptr;
}

bool IntegerArgument(const VARIANT& arg, LONG& value)
{
    switch (arg.vt) {
    case VT_I4: value = arg.lVal; return true;
    case VT_UI4: value = static_cast<LONG>(arg.ulVal); return true;
    case VT_INT: value = arg.intVal; return true;
    case VT_UINT: value = static_cast<LONG>(arg.uintVal); return true;
    case VT_I2: value = arg.iVal; return true;
    default: return false;
    }
}

BSTR StringArgument(const VARIANT& arg)
{
    if (arg.vt == VT_BSTR) return arg.bstrVal;
    if (arg.vt == (VT_BYREF | VT_BSTR) && arg.pbstrVal != nullptr) return *arg.pbstrVal;
    return nullptr;
}

}  // namespace

CWebBrowserUI::CWebBrowserUI()
{
    m_clsid = CLSID_WebBrowserObject;
}

CWebBrowserUI::~CWebBrowserUI()
{
    try {
        ReleaseControl();
    } catch (...) {
        // Nothing may leave a destructor; the browser's objects are let go regardless.
    }
    if (_pHtmlWnd2 != nullptr) {
        _pHtmlWnd2->Release();
        _pHtmlWnd2 = nullptr;
    }
    if (m_pDownloadManager != nullptr) {
        m_pDownloadManager->ClearOwner();
        m_pDownloadManager->Release();
        m_pDownloadManager = nullptr;
    }
}

LPCWSTR CWebBrowserUI::GetClass() const
{
    return L"WebBrowserUI";
}

LPVOID CWebBrowserUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"WebBrowser") == 0) {
        return static_cast<CWebBrowserUI*>(this);
    }
    return CActiveXUI::GetInterface(pstrName);
}

void CWebBrowserUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (std::wcscmp(pstrName, L"homepage") == 0) {
        m_sHomePage = pstrValue;
    } else if (std::wcscmp(pstrName, L"autonavi") == 0) {
        m_bAutoNavi = std::wcscmp(pstrValue, L"true") == 0;
    } else {
        CActiveXUI::SetAttribute(pstrName, pstrValue);
    }
}

void CWebBrowserUI::SetHomePage(LPCWSTR lpszUrl)
{
    m_sHomePage = lpszUrl != nullptr ? lpszUrl : L"";
}

LPCWSTR CWebBrowserUI::GetHomePage() const
{
    return m_sHomePage.GetData();
}

void CWebBrowserUI::SetAutoNavigation(bool bAuto)
{
    m_bAutoNavi = bAuto;
}

bool CWebBrowserUI::IsAutoNavigation() const
{
    return m_bAutoNavi;
}

void CWebBrowserUI::SetWebBrowserEventHandler(CWebBrowserEventHandler* pEventHandler)
{
    if (pEventHandler != nullptr && m_pWebBrowserEventHandler != pEventHandler) {
        m_pWebBrowserEventHandler = pEventHandler;
    }
}

void CWebBrowserUI::Navigate2(LPCWSTR lpszUrl)
{
    if (lpszUrl == nullptr || m_pWebBrowser2 == nullptr) return;
    VARIANT url;
    ::VariantInit(&url);
    url.vt = VT_BSTR;
    url.bstrVal = ::SysAllocString(lpszUrl);
    if (url.bstrVal == nullptr) return;
    // The browser may call back into this control (and release it) inside
    // Navigate2; keep the pointer alive until the call returns.
    CComHolder<IWebBrowser2> browser;
    browser.Assign(m_pWebBrowser2);
    browser->Navigate2(&url, nullptr, nullptr, nullptr, nullptr);
    ::VariantClear(&url);
}

void CWebBrowserUI::NavigateUrl(LPCWSTR lpszUrl)
{
    if (lpszUrl == nullptr || m_pWebBrowser2 == nullptr) return;
    BSTR url = ::SysAllocString(lpszUrl);
    if (url == nullptr) return;
    CComHolder<IWebBrowser2> browser;
    browser.Assign(m_pWebBrowser2);
    browser->Navigate(url, nullptr, nullptr, nullptr, nullptr);
    ::SysFreeString(url);
}

void CWebBrowserUI::NavigateHomePage()
{
    if (!m_sHomePage.IsEmpty()) NavigateUrl(m_sHomePage.GetData());
}

void CWebBrowserUI::Refresh()
{
    if (m_pWebBrowser2 != nullptr) m_pWebBrowser2->Refresh();
}

void CWebBrowserUI::Refresh2(int Level)
{
    if (m_pWebBrowser2 == nullptr) return;
    VARIANT level;
    ::VariantInit(&level);
    level.vt = VT_I4;
    level.lVal = Level;
    m_pWebBrowser2->Refresh2(&level);
}

void CWebBrowserUI::GoBack()
{
    if (m_pWebBrowser2 != nullptr) m_pWebBrowser2->GoBack();
}

void CWebBrowserUI::GoForward()
{
    if (m_pWebBrowser2 != nullptr) m_pWebBrowser2->GoForward();
}

IWebBrowser2* CWebBrowserUI::GetWebBrowser2() const
{
    return m_pWebBrowser2;
}

IDispatch* CWebBrowserUI::GetHtmlWindow()
{
    if (m_pWebBrowser2 == nullptr) return nullptr;
    CComHolder<IDispatch> document;
    if (FAILED(m_pWebBrowser2->get_Document(document.Out())) || !document) return nullptr;
    CComHolder<IHTMLDocument2> htmlDocument;
    if (FAILED(document->QueryInterface(IID_HtmlDocument2, htmlDocument.OutVoid())) || !htmlDocument) {
        return nullptr;
    }
    if (_pHtmlWnd2 != nullptr) {
        _pHtmlWnd2->Release();
        _pHtmlWnd2 = nullptr;
    }
    if (FAILED(htmlDocument->get_parentWindow(&_pHtmlWnd2)) || _pHtmlWnd2 == nullptr) {
        _pHtmlWnd2 = nullptr;
        return nullptr;
    }
    IDispatch* pHtmlWindow = nullptr;
    if (FAILED(_pHtmlWnd2->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&pHtmlWindow)))) {
        return nullptr;
    }
    return pHtmlWindow;
}

DISPID CWebBrowserUI::FindId(IDispatch* pObj, LPOLESTR pName)
{
    if (pObj == nullptr || pName == nullptr) return -1;
    DISPID id = 0;
    if (FAILED(pObj->GetIDsOfNames(IID_NULL, &pName, 1, kDefaultLocale, &id))) id = -1;
    return id;
}

HRESULT CWebBrowserUI::InvokeMethod(IDispatch* pObj, LPOLESTR pMethod, VARIANT* pVarResult,
    VARIANT* ps, int cArgs)
{
    // The callee reads cArgs variants from ps.
    if (ps == nullptr && cArgs > 0) return E_POINTER;
    DISPID dispid = FindId(pObj, pMethod);
    if (dispid == -1) return E_FAIL;
    DISPPARAMS dispparams = { ps, nullptr, static_cast<UINT>(cArgs > 0 ? cArgs : 0), 0 };
    return pObj->Invoke(dispid, IID_NULL, kDefaultLocale, DISPATCH_METHOD, &dispparams, pVarResult,
        nullptr, nullptr);
}

HRESULT CWebBrowserUI::GetProperty(IDispatch* pObj, LPOLESTR pName, VARIANT* pValue)
{
    DISPID dispid = FindId(pObj, pName);
    if (dispid == -1) return E_FAIL;
    DISPPARAMS ps = { nullptr, nullptr, 0, 0 };
    return pObj->Invoke(dispid, IID_NULL, kDefaultLocale, DISPATCH_PROPERTYGET, &ps, pValue,
        nullptr, nullptr);
}

HRESULT CWebBrowserUI::SetProperty(IDispatch* pObj, LPOLESTR pName, VARIANT* pValue)
{
    if (pValue == nullptr) return E_POINTER;
    DISPID dispid = FindId(pObj, pName);
    if (dispid == -1) return E_FAIL;
    DISPPARAMS ps = { pValue, nullptr, 1, 0 };
    return pObj->Invoke(dispid, IID_NULL, kDefaultLocale, DISPATCH_PROPERTYPUT, &ps, nullptr,
        nullptr, nullptr);
}

// Creation and release --------------------------------------------------------

bool CWebBrowserUI::DoCreateControl()
{
    if (!CActiveXUI::DoCreateControl()) return false;
    if (m_pManager != nullptr && !m_bAcceleratorAdded) {
        m_bAcceleratorAdded = m_pManager->AddTranslateAccelerator(this);
    }
    GetControl(IID_WebBrowser2, reinterpret_cast<LPVOID*>(&m_pWebBrowser2));
    // The sink goes first, so the handler sees the first navigation.
    RegisterEventHandler(TRUE);
    if (m_bAutoNavi && !m_sHomePage.IsEmpty() && m_pWebBrowser2 != nullptr) {
        Navigate2(L"about:blank");
        Navigate2(m_sHomePage.GetData());
    }
    return true;
}

void CWebBrowserUI::ReleaseControl()
{
    m_bCreated = false;
    if (m_pManager != nullptr && m_bAcceleratorAdded) {
        m_pManager->RemoveTranslateAccelerator(this);
    }
    m_bAcceleratorAdded = false;
    RegisterEventHandler(FALSE);
    if (m_pWebBrowser2 != nullptr) {
        // The page may outlive this control (anyone can hold the browser);
        // it must not call back into a control that is gone.
        CComHolder<IDispatch> document;
        CComHolder<ICustomDoc> customDoc;
        if (SUCCEEDED(m_pWebBrowser2->get_Document(document.Out())) && document &&
            SUCCEEDED(document->QueryInterface(IID_CustomDoc, customDoc.OutVoid())) && customDoc) {
            customDoc->SetUIHandler(nullptr);
        }
        IWebBrowser2* pBrowser = m_pWebBrowser2;
        m_pWebBrowser2 = nullptr;
        pBrowser->Release();
    }
    if (_pHtmlWnd2 != nullptr) {
        _pHtmlWnd2->Release();
        _pHtmlWnd2 = nullptr;
    }
    CActiveXUI::ReleaseControl();
    m_bCreated = false;
}

HRESULT CWebBrowserUI::RegisterEventHandler(BOOL inAdvise)
{
    if (!inAdvise && m_dwCookie == 0) return S_OK;
    CComHolder<IWebBrowser2> browser;
    HRESULT hr = GetControl(IID_WebBrowser2, browser.OutVoid());
    if (FAILED(hr) || !browser) return FAILED(hr) ? hr : E_NOINTERFACE;
    CComHolder<IConnectionPoint> point;
    hr = FindBrowserEvents(browser.Get(), point);
    if (FAILED(hr)) return hr;
    if (inAdvise) {
        hr = point->Advise(static_cast<IDispatch*>(this), &m_dwCookie);
    } else {
        hr = point->Unadvise(m_dwCookie);
        m_dwCookie = 0;
    }
    return hr;
}

// IUnknown -------------------------------------------------------------------

STDMETHODIMP_(ULONG) CWebBrowserUI::AddRef()
{
    return AddComReference(m_dwRef);
}

STDMETHODIMP_(ULONG) CWebBrowserUI::Release()
{
    // The control belongs to its container, never to its COM clients.
    return static_cast<ULONG>(::InterlockedDecrement(&m_dwRef));
}

STDMETHODIMP CWebBrowserUI::QueryInterface(REFIID riid, LPVOID* ppvObject)
{
    if (ppvObject == nullptr) return E_POINTER;
    *ppvObject = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == DIID_WebBrowserEvents2) {
        *ppvObject = static_cast<IDispatch*>(this);
    } else if (riid == IID_DocHostUIHandler) {
        *ppvObject = static_cast<IDocHostUIHandler*>(this);
    } else if (riid == IID_IServiceProvider) {
        *ppvObject = static_cast<IServiceProvider*>(this);
    } else if (riid == IID_IOleCommandTarget) {
        *ppvObject = static_cast<IOleCommandTarget*>(this);
    }
    if (*ppvObject == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

// IDispatch ------------------------------------------------------------------

STDMETHODIMP CWebBrowserUI::GetTypeInfoCount(UINT* iTInfo)
{
    if (iTInfo != nullptr) *iTInfo = 0;
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo)
{
    if (ppTInfo != nullptr) *ppTInfo = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::Invoke(DISPID dispIdMember, REFIID riid, LCID, WORD,
    DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO*, UINT*)
{
    if (riid != IID_NULL) return E_INVALIDARG;
    try {
        DISPPARAMS empty = { nullptr, nullptr, 0, 0 };
        DISPPARAMS& params = (pDispParams != nullptr && (pDispParams->rgvarg != nullptr ||
                                 pDispParams->cArgs == 0))
            ? *pDispParams
            : empty;
        switch (dispIdMember) {
        case DISPID_BEFORENAVIGATE2:
            BeforeNavigate2(params);
            break;
        case DISPID_NAVIGATECOMPLETE2:
            NavigateComplete2(params);
            break;
        case DISPID_DOCUMENTCOMPLETE:
            DocumentComplete(params);
            break;
        case DISPID_NAVIGATEERROR:
            NavigateError(params);
            break;
        case DISPID_NEWWINDOW3:
            NewWindow3(params);
            break;
        case DISPID_COMMANDSTATECHANGE:
            CommandStateChange(params);
            break;
        case DISPID_STATUSTEXTCHANGE:
            break;
        case kDispAmbientDownloadControl:
            if (pVarResult != nullptr) {
                ::VariantClear(pVarResult);
                pVarResult->vt = VT_I4;
                pVarResult->lVal = kDownloadImagesAndVideos;
            }
            break;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    } catch (...) {
        // A handler's failure must not unwind into the browser.
    }
    return S_OK;
}

void CWebBrowserUI::BeforeNavigate2(DISPPARAMS& params)
{
    if (m_pWebBrowserEventHandler == nullptr || params.cArgs < 7) return;
    VARIANT* args = params.rgvarg;
    if (!IsDispatchArgument(args[6])) return;
    VARIANT_BOOL* pCancel = CancelArgument(args[0]);
    if (pCancel == nullptr) return;
    VARIANT* url = VariantArgument(args[5]);
    VARIANT* flags = VariantArgument(args[4]);
    VARIANT* target = VariantArgument(args[3]);
    VARIANT* postData = VariantArgument(args[2]);
    VARIANT* headers = VariantArgument(args[1]);
    m_pWebBrowserEventHandler->BeforeNavigate2(DispatchArgument(args[6]), url, flags, target,
        postData, headers, pCancel);
}

void CWebBrowserUI::NavigateError(DISPPARAMS& params)
{
    if (m_pWebBrowserEventHandler == nullptr || params.cArgs < 5) return;
    VARIANT* args = params.rgvarg;
    if (!IsDispatchArgument(args[4])) return;
    VARIANT_BOOL* pCancel = CancelArgument(args[0]);
    if (pCancel == nullptr) return;
    VARIANT* url = VariantArgument(args[3]);
    VARIANT* target = VariantArgument(args[2]);
    VARIANT* status = VariantArgument(args[1]);
    m_pWebBrowserEventHandler->NavigateError(DispatchArgument(args[4]), url, target, status, pCancel);
}

void CWebBrowserUI::NavigateComplete2(DISPPARAMS& params)
{
    // Every new document needs the host handler again.
    if (m_pWebBrowser2 != nullptr) {
        CComHolder<ICustomDoc> customDoc = CustomDocumentOf(m_pWebBrowser2);
        if (customDoc) customDoc->SetUIHandler(static_cast<IDocHostUIHandler*>(this));
    }
    if (m_pWebBrowserEventHandler == nullptr || params.cArgs < 2) return;
    VARIANT* args = params.rgvarg;
    if (!IsDispatchArgument(args[1])) return;
    VARIANT* url = VariantArgument(args[0]);
    m_pWebBrowserEventHandler->NavigateComplete2(DispatchArgument(args[1]), url, GetName());
}

void CWebBrowserUI::DocumentComplete(DISPPARAMS& /*params*/)
{
    if (m_pWebBrowser2 == nullptr) return;
    CComHolder<IHTMLElement> body = DocumentBodyOf(m_pWebBrowser2);
    if (!body) return;
    CComHolder<IHTMLBodyElement> bodyElement;
    if (SUCCEEDED(body->QueryInterface(IID_HtmlBodyElement, bodyElement.OutVoid())) && bodyElement) {
        PutText(bodyElement.Get(), &IHTMLBodyElement::put_scroll, L"no");
    }
    CComHolder<IHTMLStyle> style;
    if (SUCCEEDED(body->get_style(style.Out())) && style) {
        PutText(style.Get(), &IHTMLStyle::put_overflow, L"hidden");
        PutText(style.Get(), &IHTMLStyle::put_border, L"none");
        PutText(style.Get(), &IHTMLStyle::put_borderStyle, L"none");
    }
}

void CWebBrowserUI::NewWindow3(DISPPARAMS& params)
{
    if (m_pWebBrowserEventHandler == nullptr || params.cArgs < 5) return;
    VARIANT* args = params.rgvarg;
    if (args[4].vt != (VT_BYREF | VT_DISPATCH)) return;
    VARIANT_BOOL* pCancel = CancelArgument(args[3]);
    if (pCancel == nullptr) return;
    LONG flags = 0;
    IntegerArgument(args[2], flags);
    m_pWebBrowserEventHandler->NewWindow3(args[4].ppdispVal, pCancel, static_cast<DWORD>(flags),
        StringArgument(args[1]), StringArgument(args[0]));
}

void CWebBrowserUI::CommandStateChange(DISPPARAMS& params)
{
    if (m_pWebBrowserEventHandler == nullptr || params.cArgs < 2) return;
    VARIANT* args = params.rgvarg;
    LONG command = 0;
    if (!IntegerArgument(args[1], command)) return;
    if (args[0].vt != VT_BOOL) return;
    m_pWebBrowserEventHandler->CommandStateChange(command, args[0].boolVal);
}

}  // namespace Veneer
