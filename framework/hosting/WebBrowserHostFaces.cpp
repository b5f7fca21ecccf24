// The faces the web browser control shows the page: document host UI
// handler, service provider, command target, and the keyboard routing into
// the page.
#include "hosting/WebBrowserUI.h"

#include <new>

#include "hosting/BrowserDocument.h"
#include "hosting/ComHolder.h"
#include "hosting/DownloadManagerFace.h"
#include "hosting/WebBrowserIds.h"

namespace Veneer {

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
    if (nCmdID != kShowScriptErrorCommand) return OLECMDERR_E_NOTSUPPORTED;
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
