// The client site of the hosted OLE control: the container side of in-place
// activation, windowless drawing and focus.
#include "hosting/ActiveXUI.h"

#include <new>

#include "hosting/ComHolder.h"

namespace Veneer {

namespace {

RECT MovedToOrigin(RECT rc)
{
    ::OffsetRect(&rc, -rc.left, -rc.top);
    return rc;
}

}  // namespace

// CActiveXCtrl --------------------------------------------------------------

CActiveXCtrl::CActiveXCtrl() = default;

CActiveXCtrl::~CActiveXCtrl()
{
    DestroyActiveXWnd();
    if (m_pUnkSite != nullptr) m_pUnkSite->Release();
    if (m_pViewObject != nullptr) m_pViewObject->Release();
    if (m_pInPlaceObject != nullptr) m_pInPlaceObject->Release();
    if (m_hAccel != nullptr) ::DestroyAcceleratorTable(m_hAccel);
}

void CActiveXCtrl::DestroyActiveXWnd()
{
    CActiveXWnd* pWindow = m_pWindow;
    m_pWindow = nullptr;
    delete pWindow;  // destroys the native window too
}

void CActiveXCtrl::Detach()
{
    m_pOwner = nullptr;
    m_bInPlaceActive = false;
    m_bUIActivated = false;
    if (m_bCaptured) {
        m_bCaptured = false;
        ::ReleaseCapture();
    }
    DestroyActiveXWnd();
    if (m_pViewObject != nullptr) {
        IViewObject* p = m_pViewObject;
        m_pViewObject = nullptr;
        p->Release();
    }
    if (m_pInPlaceObject != nullptr) {
        IOleInPlaceObject* p = m_pInPlaceObject;
        m_pInPlaceObject = nullptr;
        p->Release();
    }
}

STDMETHODIMP_(ULONG) CActiveXCtrl::AddRef()
{
    return AddComReference(m_dwRef);
}

STDMETHODIMP_(ULONG) CActiveXCtrl::Release()
{
    return ReleaseComReference(this, m_dwRef);
}

STDMETHODIMP CActiveXCtrl::QueryInterface(REFIID riid, LPVOID* ppvObject)
{
    if (ppvObject == nullptr) return E_POINTER;
    *ppvObject = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleInPlaceSiteWindowless ||
        riid == IID_IOleInPlaceSiteEx || riid == IID_IOleInPlaceSite || riid == IID_IOleWindow) {
        *ppvObject = static_cast<IOleInPlaceSiteWindowless*>(this);
    } else if (riid == IID_IOleClientSite) {
        *ppvObject = static_cast<IOleClientSite*>(this);
    } else if (riid == IID_IOleControlSite) {
        *ppvObject = static_cast<IOleControlSite*>(this);
    } else if (riid == IID_IObjectWithSite) {
        *ppvObject = static_cast<IObjectWithSite*>(this);
    } else if (riid == IID_IOleContainer) {
        *ppvObject = static_cast<IOleContainer*>(this);
    }
    if (*ppvObject == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::SetSite(IUnknown* pUnkSite)
{
    if (pUnkSite != nullptr) pUnkSite->AddRef();
    if (m_pUnkSite != nullptr) m_pUnkSite->Release();
    m_pUnkSite = pUnkSite;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetSite(REFIID riid, LPVOID* ppvSite)
{
    if (ppvSite == nullptr) return E_POINTER;
    *ppvSite = nullptr;
    if (m_pUnkSite == nullptr) return E_FAIL;
    return m_pUnkSite->QueryInterface(riid, ppvSite);
}

STDMETHODIMP CActiveXCtrl::SaveObject() { return E_NOTIMPL; }

STDMETHODIMP CActiveXCtrl::GetMoniker(DWORD, DWORD, IMoniker** ppmk)
{
    if (ppmk != nullptr) *ppmk = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::GetContainer(IOleContainer** ppContainer)
{
    if (ppContainer == nullptr) return E_POINTER;
    *ppContainer = nullptr;
    HRESULT hr = E_NOTIMPL;
    if (m_pUnkSite != nullptr) {
        hr = m_pUnkSite->QueryInterface(IID_IOleContainer, reinterpret_cast<LPVOID*>(ppContainer));
    }
    if (FAILED(hr)) hr = QueryInterface(IID_IOleContainer, reinterpret_cast<LPVOID*>(ppContainer));
    return hr;
}

STDMETHODIMP CActiveXCtrl::ShowObject()
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    // GetDC(null) would give the whole screen.
    if (m_pOwner->m_hwndHost == nullptr) return E_FAIL;
    HDC hDC = ::GetDC(m_pOwner->m_hwndHost);
    if (hDC == nullptr) return E_FAIL;
    if (m_pViewObject != nullptr) {
        RECT rc = m_pOwner->GetPos();
        RECTL rcl = { rc.left, rc.top, rc.right, rc.bottom };
        m_pViewObject->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, hDC, &rcl, &rcl,
            nullptr, 0);
    }
    ::ReleaseDC(m_pOwner->m_hwndHost, hDC);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnShowWindow(BOOL) { return E_NOTIMPL; }
STDMETHODIMP CActiveXCtrl::RequestNewObjectLayout() { return E_NOTIMPL; }
STDMETHODIMP CActiveXCtrl::CanWindowlessActivate() { return S_OK; }

STDMETHODIMP CActiveXCtrl::GetCapture()
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    return m_bCaptured ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXCtrl::SetCapture(BOOL fCapture)
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    m_bCaptured = (fCapture != FALSE);
    if (m_bCaptured) {
        ::SetCapture(m_pOwner->m_hwndHost);
    } else {
        ::ReleaseCapture();
    }
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetFocus()
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    return m_bFocused ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXCtrl::SetFocus(BOOL fFocus)
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    try {
        if (fFocus) m_pOwner->SetFocus();
    } catch (...) {
        // No exception crosses a COM method; the focus flag below still follows.
    }
    m_bFocused = (fFocus != FALSE);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetDC(LPCRECT /*pRect*/, DWORD grfFlags, HDC* phDC)
{
    if (phDC == nullptr) return E_POINTER;
    *phDC = nullptr;
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    if (m_pOwner->m_hwndHost == nullptr) return E_FAIL;
    *phDC = ::GetDC(m_pOwner->m_hwndHost);
    if (*phDC == nullptr) return E_FAIL;
    if ((grfFlags & OLEDC_PAINTBKGND) != 0) {
        RECT rcItem = m_pOwner->GetPos();
        if (!m_bWindowless) rcItem = MovedToOrigin(rcItem);
        ::FillRect(*phDC, &rcItem, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
    }
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ReleaseDC(HDC hDC)
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    ::ReleaseDC(m_pOwner->m_hwndHost, hDC);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::InvalidateRect(LPCRECT pRect, BOOL fErase)
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    if (m_pOwner->m_hwndHost == nullptr) return E_FAIL;
    return ::InvalidateRect(m_pOwner->m_hwndHost, pRect, fErase) ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::InvalidateRgn(HRGN hRGN, BOOL fErase)
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    if (m_pOwner->m_hwndHost == nullptr) return E_FAIL;
    return ::InvalidateRgn(m_pOwner->m_hwndHost, hRGN, fErase) ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::ScrollRect(INT, INT, LPCRECT, LPCRECT) { return S_OK; }
STDMETHODIMP CActiveXCtrl::AdjustRect(LPRECT) { return S_OK; }

STDMETHODIMP CActiveXCtrl::OnDefWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam,
    LRESULT* plResult)
{
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    LRESULT lResult = ::DefWindowProcW(m_pOwner->m_hwndHost, msg, wParam, lParam);
    if (plResult != nullptr) *plResult = lResult;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceActivateEx(BOOL* /*pfNoRedraw*/, DWORD dwFlags)
{
    if (m_pOwner == nullptr || m_pOwner->m_pUnk == nullptr) return E_UNEXPECTED;
    CPaintManagerUI* pManager = m_pOwner->GetManager();
    ::OleLockRunning(m_pOwner->m_pUnk, TRUE, FALSE);
    HWND hWndFrame = pManager != nullptr ? pManager->GetPaintWindow() : nullptr;
    HRESULT hr = E_FAIL;
    if (m_pInPlaceObject != nullptr) {
        m_pInPlaceObject->Release();
        m_pInPlaceObject = nullptr;
    }
    if ((dwFlags & ACTIVATE_WINDOWLESS) != 0 && pManager != nullptr) {
        m_bWindowless = true;
        IOleInPlaceObjectWindowless* pWindowless = nullptr;
        hr = m_pOwner->m_pUnk->QueryInterface(IID_IOleInPlaceObjectWindowless,
            reinterpret_cast<LPVOID*>(&pWindowless));
        if (SUCCEEDED(hr) && pWindowless != nullptr) {
            m_pInPlaceObject = pWindowless;
            m_pOwner->m_hwndHost = hWndFrame;
            // An object may activate again after deactivating: one entry only,
            // or a stale one outlives the control.
            pManager->RemoveMessageFilter(m_pOwner);
            pManager->AddMessageFilter(m_pOwner);
        } else if (SUCCEEDED(hr)) {
            hr = E_NOINTERFACE;
        }
    }
    if (FAILED(hr)) {
        m_bWindowless = false;
        hr = CreateActiveXWnd();
        if (FAILED(hr)) return hr;
        hr = m_pOwner->m_pUnk->QueryInterface(IID_IOleInPlaceObject,
            reinterpret_cast<LPVOID*>(&m_pInPlaceObject));
    }
    if (m_pInPlaceObject != nullptr) {
        RECT rcItem = m_pOwner->GetPos();
        if (!m_bWindowless) rcItem = MovedToOrigin(rcItem);
        m_pInPlaceObject->SetObjectRects(&rcItem, &rcItem);
    }
    m_bInPlaceActive = SUCCEEDED(hr);
    return hr;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceDeactivateEx(BOOL /*fNoRedraw*/)
{
    m_bInPlaceActive = false;
    if (m_pInPlaceObject != nullptr) {
        IOleInPlaceObject* p = m_pInPlaceObject;
        m_pInPlaceObject = nullptr;
        p->Release();
    }
    if (m_pWindow != nullptr) {
        if (m_pOwner != nullptr && m_pOwner->m_hwndHost == m_pWindow->GetHWND()) {
            m_pOwner->m_hwndHost = nullptr;
        }
        DestroyActiveXWnd();
    }
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::RequestUIActivate() { return S_OK; }
STDMETHODIMP CActiveXCtrl::CanInPlaceActivate() { return S_OK; }
STDMETHODIMP CActiveXCtrl::OnInPlaceActivate() { return OnInPlaceActivateEx(nullptr, 0); }

STDMETHODIMP CActiveXCtrl::OnUIActivate()
{
    m_bUIActivated = true;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
    LPRECT lprcPosRect, LPRECT lprcClipRect, LPOLEINPLACEFRAMEINFO lpFrameInfo)
{
    if (ppFrame == nullptr || ppDoc == nullptr || lprcPosRect == nullptr ||
        lprcClipRect == nullptr || lpFrameInfo == nullptr) {
        return E_POINTER;
    }
    *ppFrame = nullptr;
    *ppDoc = nullptr;
    if (m_pWindow != nullptr && m_pWindow->GetHWND() != nullptr) {
        ::GetClientRect(m_pWindow->GetHWND(), lprcPosRect);
        ::GetClientRect(m_pWindow->GetHWND(), lprcClipRect);
    } else if (m_pOwner != nullptr) {
        // Windowless: the control's place in the paint window, never
        // whatever the caller's memory held.
        *lprcPosRect = m_pOwner->GetPos();
        *lprcClipRect = m_pOwner->GetPos();
    }
    CActiveXFrameWnd* pFrame = new (std::nothrow) CActiveXFrameWnd(this);
    if (pFrame == nullptr) return E_OUTOFMEMORY;
    *ppFrame = pFrame;
    // One table per site, kept until the site goes.
    if (m_hAccel == nullptr) {
        ACCEL ac = {};
        m_hAccel = ::CreateAcceleratorTableW(&ac, 1);
    }
    lpFrameInfo->cb = sizeof(OLEINPLACEFRAMEINFO);
    lpFrameInfo->fMDIApp = FALSE;
    lpFrameInfo->hwndFrame = (m_pOwner != nullptr && m_pOwner->GetManager() != nullptr)
        ? m_pOwner->GetManager()->GetPaintWindow()
        : nullptr;
    lpFrameInfo->haccel = m_hAccel;
    lpFrameInfo->cAccelEntries = 1;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::Scroll(SIZE) { return E_NOTIMPL; }

STDMETHODIMP CActiveXCtrl::OnUIDeactivate(BOOL)
{
    m_bUIActivated = false;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceDeactivate() { return OnInPlaceDeactivateEx(TRUE); }
STDMETHODIMP CActiveXCtrl::DiscardUndoState() { return E_NOTIMPL; }
STDMETHODIMP CActiveXCtrl::DeactivateAndUndo() { return E_NOTIMPL; }
STDMETHODIMP CActiveXCtrl::OnPosRectChange(LPCRECT) { return E_NOTIMPL; }

STDMETHODIMP CActiveXCtrl::GetWindow(HWND* phwnd)
{
    if (phwnd == nullptr) return E_POINTER;
    *phwnd = nullptr;
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    if (m_pOwner->m_hwndHost == nullptr) CreateActiveXWnd();
    if (m_pOwner->m_hwndHost == nullptr) return E_FAIL;
    *phwnd = m_pOwner->m_hwndHost;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ContextSensitiveHelp(BOOL) { return S_OK; }
STDMETHODIMP CActiveXCtrl::OnControlInfoChanged() { return S_OK; }
STDMETHODIMP CActiveXCtrl::LockInPlaceActive(BOOL) { return S_OK; }

STDMETHODIMP CActiveXCtrl::GetExtendedControl(IDispatch** ppDisp)
{
    if (ppDisp == nullptr) return E_POINTER;
    *ppDisp = nullptr;
    if (m_pOwner == nullptr || m_pOwner->m_pUnk == nullptr) return E_UNEXPECTED;
    return m_pOwner->m_pUnk->QueryInterface(IID_IDispatch, reinterpret_cast<LPVOID*>(ppDisp));
}

STDMETHODIMP CActiveXCtrl::TransformCoords(POINTL*, POINTF*, DWORD) { return S_OK; }
STDMETHODIMP CActiveXCtrl::TranslateAccelerator(MSG*, DWORD) { return S_FALSE; }

STDMETHODIMP CActiveXCtrl::OnFocus(BOOL fGotFocus)
{
    m_bFocused = (fGotFocus != FALSE);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ShowPropertyFrame() { return E_NOTIMPL; }

STDMETHODIMP CActiveXCtrl::EnumObjects(DWORD, IEnumUnknown** ppenum)
{
    if (ppenum == nullptr) return E_POINTER;
    *ppenum = nullptr;
    if (m_pOwner == nullptr) return E_UNEXPECTED;
    CActiveXEnum* pEnum = new (std::nothrow) CActiveXEnum(m_pOwner->m_pUnk);
    if (pEnum == nullptr) return E_OUTOFMEMORY;
    *ppenum = pEnum;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::LockContainer(BOOL fLock)
{
    m_bLocked = (fLock != FALSE);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker**)
{
    return E_NOTIMPL;
}

HRESULT CActiveXCtrl::CreateActiveXWnd()
{
    if (m_pOwner == nullptr || m_pOwner->GetManager() == nullptr) return E_UNEXPECTED;
    if (m_pWindow != nullptr) return S_OK;
    CActiveXWnd* pWindow = new (std::nothrow) CActiveXWnd;
    if (pWindow == nullptr) return E_OUTOFMEMORY;
    HWND hWnd = pWindow->Init(this, m_pOwner->GetManager()->GetPaintWindow());
    if (hWnd == nullptr) {
        delete pWindow;
        return E_FAIL;
    }
    m_pWindow = pWindow;
    m_pOwner->m_hwndHost = hWnd;
    return S_OK;
}

}  // namespace Veneer
