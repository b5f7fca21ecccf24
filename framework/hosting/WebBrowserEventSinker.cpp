#include "hosting/WebBrowserEventSinker.h"

#include <cwchar>
#include <new>
#include <string>

#include "hosting/BrowserDocument.h"
#include "hosting/ComHolder.h"
#include "hosting/DocHostUIHandler.h"
#include "hosting/WebBrowser2UI.h"
#include "hosting/WebBrowserIds.h"

namespace Veneer {

WebBrowserEventSinker::WebBrowserEventSinker(CWebBrowser2UI* pOwner) : m_pOwner(pOwner) {}

WebBrowserEventSinker::~WebBrowserEventSinker()
{
    Disconnect();
}

HRESULT WebBrowserEventSinker::Connect(IWebBrowser2* pBrowser)
{
    if (pBrowser == nullptr) return E_POINTER;
    Disconnect();
    CComHolder<IConnectionPoint> point;
    HRESULT hr = FindBrowserEvents(pBrowser, point);
    if (FAILED(hr)) return hr;
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
    return AddComReference(m_dwRef);
}

STDMETHODIMP_(ULONG) WebBrowserEventSinker::Release()
{
    return ReleaseComReference(this, m_dwRef);
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
        // A failure while styling the page must not unwind into the browser.
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
    CComHolder<ICustomDoc> customDoc = CustomDocumentOf(frame.Get());
    if (!customDoc) return;
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
        CComHolder<IHTMLElement> body;
        if (SUCCEEDED(args[1].pdispVal->QueryInterface(IID_WebBrowser2, frame.OutVoid())) && frame) {
            body = DocumentBodyOf(frame.Get());
        }
        if (body) {
            CComHolder<IHTMLStyle> style;
            body->get_style(style.Out());
            if (!m_bBorder && style) PutText(style.Get(), &IHTMLStyle::put_border, L"none");
            if (!m_bScrollBar) {
                CComHolder<IHTMLBodyElement> bodyElement;
                if (SUCCEEDED(body->QueryInterface(IID_HtmlBodyElement, bodyElement.OutVoid())) &&
                    bodyElement) {
                    PutText(bodyElement.Get(), &IHTMLBodyElement::put_scroll, L"none");
                }
                if (style) PutText(style.Get(), &IHTMLStyle::put_overflow, L"hidden");
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

}  // namespace Veneer
