#include "hosting/DocHostUIHandler.h"

#include "hosting/BrowserDocument.h"
#include "hosting/ComHolder.h"
#include "hosting/WebBrowserIds.h"

namespace Veneer {

CDocHostUIHandler::CDocHostUIHandler(bool bBorder, bool bScrollBar)
    : m_bBorder(bBorder), m_bScrollBar(bScrollBar)
{
}

STDMETHODIMP_(ULONG) CDocHostUIHandler::AddRef()
{
    return AddComReference(m_dwRef);
}

STDMETHODIMP_(ULONG) CDocHostUIHandler::Release()
{
    return ReleaseComReference(this, m_dwRef);
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
    if (nCmdID != kShowScriptErrorCommand) return OLECMDERR_E_NOTSUPPORTED;
    return AnswerScriptError(pvaIn, pvaOut);
}

}  // namespace Veneer
