#include "hosting/WebBrowserUI.h"

#include <cwchar>
#include <new>
#include <string>

#include "hosting/ComHolder.h"
#include "hosting/WebBrowserIds.h"

namespace Veneer {

namespace {

const DISPID kDispAmbientDownloadControl = -5512;
const LONG kDownloadImagesAndVideos = 0x10 | 0x20;
const DWORD kShowScriptError = 40;
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

void PutString(IHTMLStyle* pStyle, HRESULT (STDMETHODCALLTYPE IHTMLStyle::*put)(BSTR), LPCWSTR value)
{
    BSTR text = ::SysAllocString(value);
    if (text == nullptr) return;
    (pStyle->*put)(text);
    ::SysFreeString(text);
}

}  // namespace

HRESULT AnswerScriptError(VARIANTARG* pvaIn, VARIANTARG* pvaOut)
{
    // Whatever reading the error gives, the page keeps running and no
    // dialog appears.
    if (pvaOut != nullptr) {
        ::VariantClear(pvaOut);
        pvaOut->vt = VT_BOOL;
        pvaOut->boolVal = VARIANT_TRUE;
    }
    if (pvaIn == nullptr || (pvaIn->vt != VT_UNKNOWN && pvaIn->vt != VT_DISPATCH) ||
        pvaIn->punkVal == nullptr) {
        return S_OK;
    }
    CComHolder<IHTMLDocument2> document;
    if (FAILED(pvaIn->punkVal->QueryInterface(IID_HtmlDocument2, document.OutVoid())) || !document) {
        return S_OK;
    }
    CComHolder<IHTMLWindow2> window;
    if (FAILED(document->get_parentWindow(window.Out())) || !window) return S_OK;
    CComHolder<IHTMLEventObj> eventObject;
    if (FAILED(window->get_event(eventObject.Out())) || !eventObject) return S_OK;
    LPOLESTR names[] = { const_cast<LPOLESTR>(L"errorLine"), const_cast<LPOLESTR>(L"errorCharacter"),
        const_cast<LPOLESTR>(L"errorCode"), const_cast<LPOLESTR>(L"errorMessage"),
        const_cast<LPOLESTR>(L"errorUrl") };
    for (LPOLESTR name : names) {
        VARIANT value;
        ::VariantInit(&value);
        CWebBrowserUI::GetProperty(eventObject.Get(), name, &value);
        ::VariantClear(&value);
    }
    return S_OK;
}

CWebBrowserUI::CWebBrowserUI()
{
    m_clsid = CLSID_WebBrowserObject;
}

CWebBrowserUI::~CWebBrowserUI()
{
    try {
        ReleaseControl();
    } catch (...) {
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
    CComHolder<IConnectionPointContainer> container;
    hr = browser->QueryInterface(IID_IConnectionPointContainer, container.OutVoid());
    if (FAILED(hr) || !container) return FAILED(hr) ? hr : E_NOINTERFACE;
    CComHolder<IConnectionPoint> point;
    hr = container->FindConnectionPoint(DIID_WebBrowserEvents2, point.Out());
    if (FAILED(hr) || !point) return FAILED(hr) ? hr : E_NOINTERFACE;
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
    return static_cast<ULONG>(::InterlockedIncrement(&m_dwRef));
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
        CComHolder<IDispatch> document;
        if (SUCCEEDED(m_pWebBrowser2->get_Document(document.Out())) && document) {
            CComHolder<ICustomDoc> customDoc;
            if (SUCCEEDED(document->QueryInterface(IID_CustomDoc, customDoc.OutVoid())) && customDoc) {
                customDoc->SetUIHandler(static_cast<IDocHostUIHandler*>(this));
            }
        }
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
    CComHolder<IDispatch> document;
    if (FAILED(m_pWebBrowser2->get_Document(document.Out())) || !document) return;
    CComHolder<IHTMLDocument2> htmlDocument;
    if (FAILED(document->QueryInterface(IID_HtmlDocument2, htmlDocument.OutVoid())) || !htmlDocument) {
        return;
    }
    CComHolder<IHTMLElement> body;
    if (FAILED(htmlDocument->get_body(body.Out())) || !body) return;
    CComHolder<IHTMLBodyElement> bodyElement;
    if (SUCCEEDED(body->QueryInterface(IID_HtmlBodyElement, bodyElement.OutVoid())) && bodyElement) {
        BSTR no = ::SysAllocString(L"no");
        if (no != nullptr) {
            bodyElement->put_scroll(no);
            ::SysFreeString(no);
        }
    }
    CComHolder<IHTMLStyle> style;
    if (SUCCEEDED(body->get_style(style.Out())) && style) {
        PutString(style.Get(), &IHTMLStyle::put_overflow, L"hidden");
        PutString(style.Get(), &IHTMLStyle::put_border, L"none");
        PutString(style.Get(), &IHTMLStyle::put_borderStyle, L"none");
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

// IDocHostUIHandler -------------------------------------------------------------

STDMETHODIMP CWebBrowserUI::ShowContextMenu(DWORD dwID, POINT* pptPosition, IUnknown* pCommandTarget,
    IDispatch* pDispatchObjectHit)
{
    if (m_pWebBrowserEventHandler == nullptr) return S_OK;
    try {
        return m_pWebBrowserEventHandler->ShowContextMenu(dwID, pptPosition, pCommandTarget,
            pDispatchObjectHit);
    } catch (...) {
        return S_OK;
    }
}

STDMETHODIMP CWebBrowserUI::GetHostInfo(DOCHOSTUIINFO* pInfo)
{
    if (pInfo == nullptr) return E_INVALIDARG;
    pInfo->cbSize = sizeof(DOCHOSTUIINFO);
    pInfo->dwFlags |= DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO;
    pInfo->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::ShowUI(DWORD dwID, IOleInPlaceActiveObject* pActiveObject,
    IOleCommandTarget* pCommandTarget, IOleInPlaceFrame* pFrame, IOleInPlaceUIWindow* pDoc)
{
    if (m_pWebBrowserEventHandler == nullptr) return S_OK;
    try {
        return m_pWebBrowserEventHandler->ShowUI(dwID, pActiveObject, pCommandTarget, pFrame, pDoc);
    } catch (...) {
        return S_OK;
    }
}

STDMETHODIMP CWebBrowserUI::HideUI()
{
    if (m_pWebBrowserEventHandler == nullptr) return S_OK;
    try {
        return m_pWebBrowserEventHandler->HideUI();
    } catch (...) {
        return S_OK;
    }
}

STDMETHODIMP CWebBrowserUI::UpdateUI()
{
    if (m_pWebBrowserEventHandler == nullptr) return S_OK;
    try {
        return m_pWebBrowserEventHandler->UpdateUI();
    } catch (...) {
        return S_OK;
    }
}

STDMETHODIMP CWebBrowserUI::EnableModeless(BOOL fEnable)
{
    if (m_pWebBrowserEventHandler == nullptr) return S_OK;
    try {
        return m_pWebBrowserEventHandler->EnableModeless(fEnable);
    } catch (...) {
        return S_OK;
    }
}

STDMETHODIMP CWebBrowserUI::OnDocWindowActivate(BOOL fActivate)
{
    if (m_pWebBrowserEventHandler == nullptr) return S_OK;
    try {
        return m_pWebBrowserEventHandler->OnDocWindowActivate(fActivate);
    } catch (...) {
        return S_OK;
    }
}

STDMETHODIMP CWebBrowserUI::OnFrameWindowActivate(BOOL fActivate)
{
    if (m_pWebBrowserEventHandler == nullptr) return E_NOTIMPL;
    try {
        return m_pWebBrowserEventHandler->OnFrameWindowActivate(fActivate);
    } catch (...) {
        return E_NOTIMPL;
    }
}

STDMETHODIMP CWebBrowserUI::ResizeBorder(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow,
    BOOL fFrameWindow)
{
    if (m_pWebBrowserEventHandler == nullptr) return E_NOTIMPL;
    try {
        return m_pWebBrowserEventHandler->ResizeBorder(prcBorder, pUIWindow, fFrameWindow);
    } catch (...) {
        return E_NOTIMPL;
    }
}

STDMETHODIMP CWebBrowserUI::TranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID)
{
    if (m_pWebBrowserEventHandler == nullptr) return S_FALSE;
    try {
        return m_pWebBrowserEventHandler->TranslateAccelerator(lpMsg, pguidCmdGroup, nCmdID);
    } catch (...) {
        return S_FALSE;
    }
}

STDMETHODIMP CWebBrowserUI::GetOptionKeyPath(LPOLESTR* pchKey, DWORD dwReserved)
{
    if (m_pWebBrowserEventHandler == nullptr) return E_NOTIMPL;
    try {
        return m_pWebBrowserEventHandler->GetOptionKeyPath(pchKey, dwReserved);
    } catch (...) {
        return E_NOTIMPL;
    }
}

STDMETHODIMP CWebBrowserUI::GetDropTarget(IDropTarget* pDropTarget, IDropTarget** ppDropTarget)
{
    if (m_pWebBrowserEventHandler == nullptr) {
        if (ppDropTarget != nullptr) *ppDropTarget = nullptr;
        return S_FALSE;
    }
    try {
        return m_pWebBrowserEventHandler->GetDropTarget(pDropTarget, ppDropTarget);
    } catch (...) {
        return S_FALSE;
    }
}

STDMETHODIMP CWebBrowserUI::GetExternal(IDispatch** ppDispatch)
{
    if (m_pWebBrowserEventHandler == nullptr) {
        if (ppDispatch != nullptr) *ppDispatch = nullptr;
        return S_FALSE;
    }
    try {
        return m_pWebBrowserEventHandler->GetExternal(ppDispatch);
    } catch (...) {
        return S_FALSE;
    }
}

STDMETHODIMP CWebBrowserUI::TranslateUrl(DWORD dwTranslate, OLECHAR* pchURLIn, OLECHAR** ppchURLOut)
{
    if (m_pWebBrowserEventHandler == nullptr) {
        if (ppchURLOut != nullptr) *ppchURLOut = nullptr;
        return E_NOTIMPL;
    }
    try {
        return m_pWebBrowserEventHandler->TranslateUrl(dwTranslate, pchURLIn, ppchURLOut);
    } catch (...) {
        return E_NOTIMPL;
    }
}

STDMETHODIMP CWebBrowserUI::FilterDataObject(IDataObject* pDO, IDataObject** ppDORet)
{
    if (m_pWebBrowserEventHandler == nullptr) {
        if (ppDORet != nullptr) *ppDORet = nullptr;
        return E_NOTIMPL;
    }
    try {
        return m_pWebBrowserEventHandler->FilterDataObject(pDO, ppDORet);
    } catch (...) {
        return E_NOTIMPL;
    }
}

HRESULT STDMETHODCALLTYPE CWebBrowserUI::Download(IMoniker* pmk, IBindCtx* pbc, DWORD dwBindVerb,
    LONG grfBINDF, BINDINFO* pBindInfo, LPCOLESTR pszHeaders, LPCOLESTR pszRedir, UINT uiCP)
{
    if (m_pWebBrowserEventHandler == nullptr) return S_OK;
    try {
        return m_pWebBrowserEventHandler->Download(pmk, pbc, dwBindVerb, grfBINDF, pBindInfo,
            pszHeaders, pszRedir, uiCP);
    } catch (...) {
        return S_OK;
    }
}

// IServiceProvider -----------------------------------------------------------

STDMETHODIMP CWebBrowserUI::QueryService(REFGUID guidService, REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr) return E_POINTER;
    *ppvObject = nullptr;
    if (guidService == IID_DownloadManagerService && riid == IID_DownloadManagerService) {
        if (m_pDownloadManager == nullptr) {
            m_pDownloadManager = new (std::nothrow) CDownloadManagerFace(this);
            if (m_pDownloadManager == nullptr) return E_OUTOFMEMORY;
        }
        m_pDownloadManager->AddRef();
        *ppvObject = static_cast<IDownloadManager*>(m_pDownloadManager);
        return S_OK;
    }
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CWebBrowserUI::CDownloadManagerFace::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_dwRef));
}

STDMETHODIMP_(ULONG) CWebBrowserUI::CDownloadManagerFace::Release()
{
    LONG lRef = ::InterlockedDecrement(&m_dwRef);
    if (lRef == 0) delete this;
    return static_cast<ULONG>(lRef);
}

STDMETHODIMP CWebBrowserUI::CDownloadManagerFace::QueryInterface(REFIID riid, LPVOID* ppvObject)
{
    if (ppvObject == nullptr) return E_POINTER;
    *ppvObject = nullptr;
    if (riid == IID_DownloadManagerService || (m_pOwner == nullptr && riid == IID_IUnknown)) {
        *ppvObject = static_cast<IDownloadManager*>(this);
        AddRef();
        return S_OK;
    }
    if (m_pOwner == nullptr) return E_NOINTERFACE;
    return m_pOwner->QueryInterface(riid, ppvObject);
}

STDMETHODIMP CWebBrowserUI::CDownloadManagerFace::Download(IMoniker* pmk, IBindCtx* pbc,
    DWORD dwBindVerb, LONG grfBINDF, BINDINFO* pBindInfo, LPCOLESTR pszHeaders, LPCOLESTR pszRedir,
    UINT uiCP)
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    return m_pOwner->Download(pmk, pbc, dwBindVerb, grfBINDF, pBindInfo, pszHeaders, pszRedir, uiCP);
}

// IOleCommandTarget ------------------------------------------------------------

STDMETHODIMP CWebBrowserUI::QueryStatus(const GUID*, ULONG, OLECMD[], OLECMDTEXT*)
{
    return OLECMDERR_E_NOTSUPPORTED;
}

STDMETHODIMP CWebBrowserUI::Exec(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD, VARIANTARG* pvaIn,
    VARIANTARG* pvaOut)
{
    if (pguidCmdGroup == nullptr || *pguidCmdGroup != CGID_DocHostCommands) {
        return OLECMDERR_E_UNKNOWNGROUP;
    }
    if (nCmdID != kShowScriptError) return OLECMDERR_E_NOTSUPPORTED;
    return AnswerScriptError(pvaIn, pvaOut);
}

// Keyboard ---------------------------------------------------------------------

LRESULT CWebBrowserUI::TranslateAccelerator(MSG* pMsg)
{
    if (pMsg == nullptr || pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) return S_FALSE;
    if (m_pWebBrowser2 == nullptr) return E_NOTIMPL;
    HWND hWndHost = m_hwndHost;
    if (hWndHost == nullptr) return S_FALSE;
    bool bInside = false;
    for (HWND hWnd = ::GetFocus(); hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
        if (hWnd == hWndHost) {
            bInside = true;
            break;
        }
    }
    if (!bInside) return S_FALSE;
    CComHolder<IOleInPlaceActiveObject> active;
    if (FAILED(m_pWebBrowser2->QueryInterface(IID_OleInPlaceActiveObject, active.OutVoid())) || !active) {
        return S_FALSE;
    }
    return active->TranslateAccelerator(pMsg);
}

}  // namespace Veneer

namespace Veneer {

// CDocHostUIHandler -------------------------------------------------------------

CDocHostUIHandler::CDocHostUIHandler(bool bBorder, bool bScrollBar)
    : m_bBorder(bBorder), m_bScrollBar(bScrollBar)
{
}

STDMETHODIMP_(ULONG) CDocHostUIHandler::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_dwRef));
}

STDMETHODIMP_(ULONG) CDocHostUIHandler::Release()
{
    LONG lRef = ::InterlockedDecrement(&m_dwRef);
    if (lRef == 0) delete this;
    return static_cast<ULONG>(lRef);
}

STDMETHODIMP CDocHostUIHandler::QueryInterface(REFIID riid, LPVOID* ppvObject)
{
    if (ppvObject == nullptr) return E_POINTER;
    *ppvObject = nullptr;
    if (riid == IID_IUnknown || riid == IID_DocHostUIHandler || riid == IID_DocHostUIHandler2) {
        *ppvObject = static_cast<IDocHostUIHandler2*>(this);
    } else if (riid == IID_IOleCommandTarget) {
        *ppvObject = static_cast<IOleCommandTarget*>(this);
    }
    if (*ppvObject == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP CDocHostUIHandler::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) { return S_OK; }

STDMETHODIMP CDocHostUIHandler::GetHostInfo(DOCHOSTUIINFO* pInfo)
{
    if (pInfo == nullptr) return E_INVALIDARG;
    pInfo->cbSize = sizeof(DOCHOSTUIINFO);
    pInfo->dwFlags |= DOCHOSTUIFLAG_NO3DOUTERBORDER;
    if (!m_bBorder) pInfo->dwFlags |= DOCHOSTUIFLAG_NO3DBORDER;
    if (!m_bScrollBar) pInfo->dwFlags |= DOCHOSTUIFLAG_SCROLL_NO;
    pInfo->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
}

STDMETHODIMP CDocHostUIHandler::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*,
    IOleInPlaceFrame*, IOleInPlaceUIWindow*)
{
    return S_OK;
}
STDMETHODIMP CDocHostUIHandler::HideUI() { return S_OK; }
STDMETHODIMP CDocHostUIHandler::UpdateUI() { return S_OK; }
STDMETHODIMP CDocHostUIHandler::EnableModeless(BOOL) { return S_OK; }
STDMETHODIMP CDocHostUIHandler::OnDocWindowActivate(BOOL) { return S_OK; }
STDMETHODIMP CDocHostUIHandler::OnFrameWindowActivate(BOOL) { return E_NOTIMPL; }
STDMETHODIMP CDocHostUIHandler::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return E_NOTIMPL; }
STDMETHODIMP CDocHostUIHandler::TranslateAccelerator(LPMSG, const GUID*, DWORD) { return S_FALSE; }
STDMETHODIMP CDocHostUIHandler::GetOptionKeyPath(LPOLESTR* pchKey, DWORD)
{
    if (pchKey != nullptr) *pchKey = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP CDocHostUIHandler::GetDropTarget(IDropTarget*, IDropTarget** ppDropTarget)
{
    if (ppDropTarget != nullptr) *ppDropTarget = nullptr;
    return S_FALSE;
}
STDMETHODIMP CDocHostUIHandler::GetExternal(IDispatch** ppDispatch)
{
    if (ppDispatch != nullptr) *ppDispatch = nullptr;
    return S_FALSE;
}
STDMETHODIMP CDocHostUIHandler::TranslateUrl(DWORD, OLECHAR*, OLECHAR** ppchURLOut)
{
    if (ppchURLOut != nullptr) *ppchURLOut = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP CDocHostUIHandler::FilterDataObject(IDataObject*, IDataObject** ppDORet)
{
    if (ppDORet != nullptr) *ppDORet = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP CDocHostUIHandler::GetOverrideKeyPath(LPOLESTR* pchKey, DWORD)
{
    if (pchKey != nullptr) *pchKey = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CDocHostUIHandler::QueryStatus(const GUID*, ULONG, OLECMD[], OLECMDTEXT*)
{
    return OLECMDERR_E_NOTSUPPORTED;
}

STDMETHODIMP CDocHostUIHandler::Exec(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD,
    VARIANTARG* pvaIn, VARIANTARG* pvaOut)
{
    if (pguidCmdGroup == nullptr || *pguidCmdGroup != CGID_DocHostCommands) {
        return OLECMDERR_E_UNKNOWNGROUP;
    }
    if (nCmdID != kShowScriptError) return OLECMDERR_E_NOTSUPPORTED;
    return AnswerScriptError(pvaIn, pvaOut);
}

// WebBrowserEventSinker ---------------------------------------------------------

WebBrowserEventSinker::WebBrowserEventSinker(CWebBrowser2UI* pOwner) : m_pOwner(pOwner) {}

WebBrowserEventSinker::~WebBrowserEventSinker()
{
    Disconnect();
}

HRESULT WebBrowserEventSinker::Connect(IWebBrowser2* pBrowser)
{
    if (pBrowser == nullptr) return E_POINTER;
    Disconnect();
    CComHolder<IConnectionPointContainer> container;
    HRESULT hr = pBrowser->QueryInterface(IID_IConnectionPointContainer, container.OutVoid());
    if (FAILED(hr) || !container) return FAILED(hr) ? hr : E_NOINTERFACE;
    CComHolder<IConnectionPoint> point;
    hr = container->FindConnectionPoint(DIID_WebBrowserEvents2, point.Out());
    if (FAILED(hr) || !point) return FAILED(hr) ? hr : E_NOINTERFACE;
    hr = point->Advise(static_cast<IDispatch*>(this), &m_dwCookie);
    if (FAILED(hr)) return hr;
    m_pConnectionPoint = point.Detach();
    return S_OK;
}

void WebBrowserEventSinker::Disconnect()
{
    if (m_pConnectionPoint == nullptr) return;
    IConnectionPoint* point = m_pConnectionPoint;
    m_pConnectionPoint = nullptr;
    point->Unadvise(m_dwCookie);
    m_dwCookie = 0;
    point->Release();
}

STDMETHODIMP_(ULONG) WebBrowserEventSinker::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_dwRef));
}

STDMETHODIMP_(ULONG) WebBrowserEventSinker::Release()
{
    LONG lRef = ::InterlockedDecrement(&m_dwRef);
    if (lRef == 0) delete this;
    return static_cast<ULONG>(lRef);
}

STDMETHODIMP WebBrowserEventSinker::QueryInterface(REFIID riid, LPVOID* ppvObject)
{
    if (ppvObject == nullptr) return E_POINTER;
    *ppvObject = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == DIID_WebBrowserEvents2) {
        *ppvObject = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

STDMETHODIMP WebBrowserEventSinker::GetTypeInfoCount(UINT* iTInfo)
{
    if (iTInfo != nullptr) *iTInfo = 0;
    return E_NOTIMPL;
}

STDMETHODIMP WebBrowserEventSinker::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo)
{
    if (ppTInfo != nullptr) *ppTInfo = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP WebBrowserEventSinker::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

STDMETHODIMP WebBrowserEventSinker::Invoke(DISPID dispIdMember, REFIID, LCID, WORD,
    DISPPARAMS* pDispParams, VARIANT*, EXCEPINFO*, UINT*)
{
    if (pDispParams == nullptr || (pDispParams->cArgs > 0 && pDispParams->rgvarg == nullptr)) {
        return S_OK;
    }
    // A notification handler may release the control, and with it this sink.
    AddRef();
    try {
        switch (dispIdMember) {
        case DISPID_NAVIGATECOMPLETE2:
            OnNavigateComplete(*pDispParams);
            break;
        case DISPID_NAVIGATEERROR:
            m_bNavigateError = true;
            break;
        case DISPID_DOCUMENTCOMPLETE:
            OnDocumentComplete(*pDispParams);
            break;
        default:
            break;
        }
    } catch (...) {
    }
    Release();
    return S_OK;
}

void WebBrowserEventSinker::OnNavigateComplete(DISPPARAMS& params)
{
    if (params.cArgs < 2 || params.rgvarg[1].vt != VT_DISPATCH || params.rgvarg[1].pdispVal == nullptr) {
        return;
    }
    CComHolder<IWebBrowser2> frame;
    if (FAILED(params.rgvarg[1].pdispVal->QueryInterface(IID_WebBrowser2, frame.OutVoid())) || !frame) {
        return;
    }
    CComHolder<IDispatch> document;
    if (FAILED(frame->get_Document(document.Out())) || !document) return;
    CComHolder<ICustomDoc> customDoc;
    if (FAILED(document->QueryInterface(IID_CustomDoc, customDoc.OutVoid())) || !customDoc) return;
    CDocHostUIHandler* pHandler = new (std::nothrow) CDocHostUIHandler(m_bBorder, m_bScrollBar);
    if (pHandler == nullptr) return;
    customDoc->SetUIHandler(pHandler);
    pHandler->Release();
}

void WebBrowserEventSinker::OnDocumentComplete(DISPPARAMS& params)
{
    if (params.cArgs < 2) return;
    VARIANT* args = params.rgvarg;
    if (args[1].vt == VT_DISPATCH && args[1].pdispVal != nullptr) {
        CComHolder<IWebBrowser2> frame;
        CComHolder<IDispatch> document;
        CComHolder<IHTMLDocument2> htmlDocument;
        CComHolder<IHTMLElement> body;
        if (SUCCEEDED(args[1].pdispVal->QueryInterface(IID_WebBrowser2, frame.OutVoid())) && frame &&
            SUCCEEDED(frame->get_Document(document.Out())) && document &&
            SUCCEEDED(document->QueryInterface(IID_HtmlDocument2, htmlDocument.OutVoid())) &&
            htmlDocument && SUCCEEDED(htmlDocument->get_body(body.Out())) && body) {
            CComHolder<IHTMLStyle> style;
            body->get_style(style.Out());
            if (!m_bBorder && style) PutString(style.Get(), &IHTMLStyle::put_border, L"none");
            if (!m_bScrollBar) {
                CComHolder<IHTMLBodyElement> bodyElement;
                if (SUCCEEDED(body->QueryInterface(IID_HtmlBodyElement, bodyElement.OutVoid())) &&
                    bodyElement) {
                    BSTR none = ::SysAllocString(L"none");
                    if (none != nullptr) {
                        bodyElement->put_scroll(none);
                        ::SysFreeString(none);
                    }
                }
                if (style) PutString(style.Get(), &IHTMLStyle::put_overflow, L"hidden");
            }
        }
    }
    if (args[0].vt != (VT_BYREF | VT_VARIANT) || args[0].pvarVal == nullptr) return;
    const VARIANT* url = args[0].pvarVal;
    if (url->vt != VT_BSTR || url->bstrVal == nullptr) return;
    if (std::wcscmp(url->bstrVal, L"about:blank") == 0) return;
    int size = ::WideCharToMultiByte(CP_ACP, 0, url->bstrVal, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return;
    std::string narrow(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, url->bstrVal, -1, &narrow[0], size, nullptr, nullptr);
    const LPARAM error = m_bNavigateError ? 1 : 0;
    m_bNavigateError = false;
    if (m_pOwner != nullptr && m_pOwner->GetManager() != nullptr) {
        m_pOwner->GetManager()->SendNotify(m_pOwner, L"HTML_COMPLETE",
            reinterpret_cast<WPARAM>(narrow.c_str()), error, false);
    }
}

// CWebBrowser2UI ----------------------------------------------------------------

CWebBrowser2UI::CWebBrowser2UI()
{
    m_clsid = CLSID_WebBrowserObject;
}

CWebBrowser2UI::~CWebBrowser2UI()
{
    try {
        ReleaseControl();
    } catch (...) {
    }
}

void CWebBrowser2UI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    const bool bTrue = std::wcscmp(pstrValue, L"true") == 0;
    if (std::wcscmp(pstrName, L"url") == 0) {
        m_sUrl = pstrValue;
    } else if (std::wcscmp(pstrName, L"autonavi") == 0) {
        m_bAutoNavigate = bTrue;
    } else if (std::wcscmp(pstrName, L"autosink") == 0) {
        m_bAutoSink = bTrue;
    } else if (std::wcscmp(pstrName, L"boder") == 0) {
        m_bBorder = bTrue;
    } else if (std::wcscmp(pstrName, L"scrollbar") == 0) {
        m_bScrollBar = bTrue;
    } else if (std::wcscmp(pstrName, L"clsid") == 0 || std::wcscmp(pstrName, L"modulename") == 0) {
        // The hosted object is always the browser.
    } else {
        CActiveXUI::SetAttribute(pstrName, pstrValue);
    }
}

void CWebBrowser2UI::Navigate2(LPCWSTR lpszUrl)
{
    if (m_pWebBrowser2 == nullptr) return;
    CStdString sUrl = lpszUrl != nullptr ? CStdString(lpszUrl) : m_sUrl;
    if (sUrl.IsEmpty()) return;
    VARIANT url;
    ::VariantInit(&url);
    url.vt = VT_BSTR;
    url.bstrVal = ::SysAllocString(sUrl.GetData());
    if (url.bstrVal == nullptr) return;
    CComHolder<IWebBrowser2> browser;
    browser.Assign(m_pWebBrowser2);
    browser->Navigate2(&url, nullptr, nullptr, nullptr, nullptr);
    ::VariantClear(&url);
}

bool CWebBrowser2UI::DoCreateControl()
{
    if (!CActiveXUI::DoCreateControl()) return false;
    GetControl(IID_WebBrowser2, reinterpret_cast<LPVOID*>(&m_pWebBrowser2));
    if (m_pWebBrowser2 != nullptr && m_bAutoSink) {
        WebBrowserEventSinker* pSinker = new (std::nothrow) WebBrowserEventSinker(this);
        if (pSinker != nullptr) {
            pSinker->SetBorder(m_bBorder);
            pSinker->SetScrollBar(m_bScrollBar);
            if (SUCCEEDED(pSinker->Connect(m_pWebBrowser2))) {
                m_pSinker = pSinker;
            } else {
                pSinker->Release();
            }
        }
    }
    if (m_pWebBrowser2 != nullptr && m_bAutoNavigate) {
        if (m_pSinker != nullptr) Navigate2(L"about:blank");
        if (!m_sUrl.IsEmpty()) Navigate2(m_sUrl.GetData());
    }
    return true;
}

void CWebBrowser2UI::ReleaseControl()
{
    if (m_pSinker != nullptr) {
        WebBrowserEventSinker* pSinker = m_pSinker;
        m_pSinker = nullptr;
        pSinker->ClearOwner();
        pSinker->Disconnect();
        pSinker->Release();
    }
    if (m_pWebBrowser2 != nullptr) {
        IWebBrowser2* pBrowser = m_pWebBrowser2;
        m_pWebBrowser2 = nullptr;
        pBrowser->Release();
    }
    CActiveXUI::ReleaseControl();
}

}  // namespace Veneer
