#include "hosting/BrowserDocument.h"

#include "hosting/ComHolder.h"
#include "hosting/WebBrowserIds.h"
#include "hosting/WebBrowserUI.h"

namespace Veneer {

HRESULT FindBrowserEvents(IWebBrowser2* pBrowser, CComHolder<IConnectionPoint>& point)
{
    CComHolder<IConnectionPointContainer> container;
    HRESULT hr = pBrowser->QueryInterface(IID_IConnectionPointContainer, container.OutVoid());
    if (FAILED(hr) || !container) return FAILED(hr) ? hr : E_NOINTERFACE;
    hr = container->FindConnectionPoint(DIID_WebBrowserEvents2, point.Out());
    if (FAILED(hr) || !point) return FAILED(hr) ? hr : E_NOINTERFACE;
    return S_OK;
}

CComHolder<ICustomDoc> CustomDocumentOf(IWebBrowser2* pBrowser)
{
    CComHolder<ICustomDoc> customDoc;
    CComHolder<IDispatch> document;
    if (FAILED(pBrowser->get_Document(document.Out())) || !document) return customDoc;
    if (FAILED(document->QueryInterface(IID_CustomDoc, customDoc.OutVoid()))) customDoc.Release();
    return customDoc;
}

CComHolder<IHTMLElement> DocumentBodyOf(IWebBrowser2* pBrowser)
{
    CComHolder<IHTMLElement> body;
    CComHolder<IDispatch> document;
    if (FAILED(pBrowser->get_Document(document.Out())) || !document) return body;
    CComHolder<IHTMLDocument2> htmlDocument;
    if (FAILED(document->QueryInterface(IID_HtmlDocument2, htmlDocument.OutVoid())) || !htmlDocument) {
        return body;
    }
    if (FAILED(htmlDocument->get_body(body.Out()))) body.Release();
    return body;
}

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

}  // namespace Veneer
