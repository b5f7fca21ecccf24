#include "hosting/ActiveXUI.h"

#include <cwchar>
#include <new>

#include "foundation/ValueSyntax.h"
#include "hosting/ComHolder.h"

namespace Veneer {

namespace {

bool IsNullClsid(const CLSID& clsid)
{
    return ::IsEqualCLSID(clsid, CLSID_NULL) != FALSE;
}

RECT MovedToOrigin(RECT rc)
{
    ::OffsetRect(&rc, -rc.left, -rc.top);
    return rc;
}

typedef HRESULT(STDAPICALLTYPE* DllGetClassObjectProc)(REFCLSID, REFIID, LPVOID*);

}  // namespace

// CActiveXWnd ---------------------------------------------------------------

CActiveXWnd::~CActiveXWnd()
{
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) {
        HWND hWnd = m_hWnd;
        DetachFromWindow();
        ::DestroyWindow(hWnd);
    }
}

HWND CActiveXWnd::Init(CActiveXCtrl* pOwner, HWND hWndParent)
{
    m_pOwner = pOwner;
    const UINT uStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    Create(hWndParent, L"UIActiveX", uStyle, 0L, 0, 0, 0, 0, nullptr);
    return m_hWnd;
}

LPCWSTR CActiveXWnd::GetFrameClassName() const
{
    return L"ActiveXWnd";
}

void CActiveXWnd::DoVerb(LONG iVerb)
{
    if (m_pOwner == nullptr || m_pOwner->m_pOwner == nullptr) return;
    IOleObject* pObject = m_pOwner->m_pOwner->m_pUnk;
    if (pObject == nullptr) return;
    CComHolder<IOleClientSite> site;
    m_pOwner->QueryInterface(IID_IOleClientSite, site.OutVoid());
    RECT rc = MovedToOrigin(m_pOwner->m_pOwner->GetPos());
    pObject->DoVerb(iVerb, nullptr, site.Get(), 0, m_hWnd, &rc);
}

LRESULT CActiveXWnd::OnMouseActivate(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (m_pOwner != nullptr && m_pOwner->m_pOwner != nullptr &&
        m_pOwner->m_pOwner->m_pUnk != nullptr) {
        DWORD dwMiscStatus = 0;
        m_pOwner->m_pOwner->m_pUnk->GetMiscStatus(DVASPECT_CONTENT, &dwMiscStatus);
        if ((dwMiscStatus & OLEMISC_NOUIACTIVATE) != 0) return 0;
        if (!m_pOwner->m_bInPlaceActive) DoVerb(OLEIVERB_INPLACEACTIVATE);
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

LRESULT CActiveXWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_SETFOCUS:
        if (m_pOwner != nullptr) {
            m_pOwner->m_bFocused = true;
            if (!m_pOwner->m_bUIActivated) DoVerb(OLEIVERB_UIACTIVATE);
        }
        return 0;
    case WM_KILLFOCUS:
        if (m_pOwner != nullptr) m_pOwner->m_bFocused = false;
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps = {};
        ::BeginPaint(m_hWnd, &ps);
        ::EndPaint(m_hWnd, &ps);
        return 1;
    }
    case WM_ERASEBKGND:
        if (m_pOwner != nullptr && m_pOwner->m_pViewObject != nullptr) return 1;
        break;
    case WM_MOUSEACTIVATE:
        return OnMouseActivate(uMsg, wParam, lParam);
    case WM_MOUSEWHEEL:
        return 0;
    default:
        break;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

// CActiveXEnum --------------------------------------------------------------

CActiveXEnum::CActiveXEnum(IUnknown* pUnk) : m_pUnk(pUnk)
{
    if (m_pUnk != nullptr) m_pUnk->AddRef();
}

CActiveXEnum::~CActiveXEnum()
{
    if (m_pUnk != nullptr) m_pUnk->Release();
}

STDMETHODIMP_(ULONG) CActiveXEnum::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_dwRef));
}

STDMETHODIMP_(ULONG) CActiveXEnum::Release()
{
    LONG lRef = ::InterlockedDecrement(&m_dwRef);
    if (lRef == 0) delete this;
    return static_cast<ULONG>(lRef);
}

STDMETHODIMP CActiveXEnum::QueryInterface(REFIID riid, LPVOID* ppvObject)
{
    if (ppvObject == nullptr) return E_POINTER;
    *ppvObject = nullptr;
    if (riid == IID_IUnknown || riid == IID_IEnumUnknown) {
        *ppvObject = static_cast<IEnumUnknown*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

STDMETHODIMP CActiveXEnum::Next(ULONG celt, IUnknown** rgelt, ULONG* pceltFetched)
{
    if (pceltFetched != nullptr) *pceltFetched = 0;
    if (rgelt == nullptr) return E_POINTER;
    if (celt == 0) return S_OK;
    if (m_iPos > 0 || m_pUnk == nullptr) return S_FALSE;
    m_iPos = 1;
    *rgelt = m_pUnk;
    m_pUnk->AddRef();
    if (pceltFetched != nullptr) *pceltFetched = 1;
    // Fewer than asked for: the caller must not read past the one it got.
    return celt == 1 ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXEnum::Skip(ULONG celt)
{
    // Only positions 0 and 1 exist; a large count must not wrap around.
    if (celt > 0) m_iPos = 1;
    return S_OK;
}

STDMETHODIMP CActiveXEnum::Reset()
{
    m_iPos = 0;
    return S_OK;
}

STDMETHODIMP CActiveXEnum::Clone(IEnumUnknown** /*ppenum*/)
{
    return E_NOTIMPL;
}

// CActiveXFrameWnd ----------------------------------------------------------

CActiveXFrameWnd::CActiveXFrameWnd(CActiveXCtrl* pSite) : m_pSite(pSite)
{
    if (m_pSite != nullptr) m_pSite->AddRef();
}

CActiveXFrameWnd::~CActiveXFrameWnd()
{
    if (m_pActiveObject != nullptr) m_pActiveObject->Release();
    if (m_pSite != nullptr) m_pSite->Release();
}

STDMETHODIMP_(ULONG) CActiveXFrameWnd::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_dwRef));
}

STDMETHODIMP_(ULONG) CActiveXFrameWnd::Release()
{
    LONG lRef = ::InterlockedDecrement(&m_dwRef);
    if (lRef == 0) delete this;
    return static_cast<ULONG>(lRef);
}

STDMETHODIMP CActiveXFrameWnd::QueryInterface(REFIID riid, LPVOID* ppvObject)
{
    if (ppvObject == nullptr) return E_POINTER;
    *ppvObject = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleWindow || riid == IID_IOleInPlaceUIWindow ||
        riid == IID_IOleInPlaceFrame) {
        *ppvObject = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

STDMETHODIMP CActiveXFrameWnd::GetWindow(HWND* phwnd)
{
    if (phwnd == nullptr) return E_POINTER;
    *phwnd = nullptr;
    CActiveXUI* pOwner = m_pSite != nullptr ? m_pSite->m_pOwner : nullptr;
    if (pOwner == nullptr || pOwner->GetManager() == nullptr) return E_UNEXPECTED;
    *phwnd = pOwner->GetManager()->GetPaintWindow();
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::ContextSensitiveHelp(BOOL /*fEnterMode*/) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::GetBorder(LPRECT /*lprectBorder*/) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::RequestBorderSpace(LPCBORDERWIDTHS /*pborderwidths*/)
{
    return INPLACE_E_NOTOOLSPACE;
}
STDMETHODIMP CActiveXFrameWnd::SetBorderSpace(LPCBORDERWIDTHS /*pborderwidths*/) { return S_OK; }

STDMETHODIMP CActiveXFrameWnd::SetActiveObject(IOleInPlaceActiveObject* pActiveObject,
    LPCOLESTR /*pszObjName*/)
{
    if (pActiveObject != nullptr) pActiveObject->AddRef();
    if (m_pActiveObject != nullptr) m_pActiveObject->Release();
    m_pActiveObject = pActiveObject;
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::SetMenu(HMENU, HOLEMENU, HWND) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::RemoveMenus(HMENU) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::SetStatusText(LPCOLESTR) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::EnableModeless(BOOL) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::TranslateAccelerator(LPMSG, WORD) { return S_FALSE; }

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
    return static_cast<ULONG>(::InterlockedIncrement(&m_dwRef));
}

STDMETHODIMP_(ULONG) CActiveXCtrl::Release()
{
    LONG lRef = ::InterlockedDecrement(&m_dwRef);
    if (lRef == 0) delete this;
    return static_cast<ULONG>(lRef);
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

// CActiveXUI ----------------------------------------------------------------

CActiveXUI::CActiveXUI() = default;

CActiveXUI::~CActiveXUI()
{
    try {
        ReleaseControl();
    } catch (...) {
    }
}

LPCWSTR CActiveXUI::GetClass() const
{
    return L"ActiveXUI";
}

LPVOID CActiveXUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"ActiveX") == 0) {
        return static_cast<CActiveXUI*>(this);
    }
    return CControlUI::GetInterface(pstrName);
}

HWND CActiveXUI::GetHostWindow() const
{
    return m_hwndHost;
}

void CActiveXUI::ShowHostWindow()
{
    if (m_hwndHost != nullptr && m_pControl != nullptr && !m_pControl->m_bWindowless) {
        ::ShowWindow(m_hwndHost, IsVisible() ? SW_SHOW : SW_HIDE);
    }
}

void CActiveXUI::SetVisible(bool bVisible)
{
    CControlUI::SetVisible(bVisible);
    ShowHostWindow();
}

void CActiveXUI::SetInternVisible(bool bVisible)
{
    CControlUI::SetInternVisible(bVisible);
    ShowHostWindow();
}

void CActiveXUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    if (!m_bCreated) DoCreateControl();
    if (m_pUnk == nullptr || m_pControl == nullptr) return;

    SIZEL hmSize = {};
    SIZEL pxSize = { m_rcItem.right - m_rcItem.left, m_rcItem.bottom - m_rcItem.top };
    HDC hScreen = ::GetDC(nullptr);
    const int dpiX = hScreen != nullptr ? ::GetDeviceCaps(hScreen, LOGPIXELSX) : 96;
    const int dpiY = hScreen != nullptr ? ::GetDeviceCaps(hScreen, LOGPIXELSY) : 96;
    if (hScreen != nullptr) ::ReleaseDC(nullptr, hScreen);
    hmSize.cx = ::MulDiv(pxSize.cx, 2540, dpiX > 0 ? dpiX : 96);
    hmSize.cy = ::MulDiv(pxSize.cy, 2540, dpiY > 0 ? dpiY : 96);
    m_pUnk->SetExtent(DVASPECT_CONTENT, &hmSize);

    if (m_pControl->m_pInPlaceObject != nullptr) {
        RECT rcItem = m_rcItem;
        if (!m_pControl->m_bWindowless) rcItem = MovedToOrigin(rcItem);
        m_pControl->m_pInPlaceObject->SetObjectRects(&rcItem, &rcItem);
    }
    if (!m_pControl->m_bWindowless && m_pControl->m_pWindow != nullptr) {
        ::MoveWindow(m_pControl->m_pWindow->GetHWND(), m_rcItem.left, m_rcItem.top,
            m_rcItem.right - m_rcItem.left, m_rcItem.bottom - m_rcItem.top, TRUE);
    }
}

void CActiveXUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    RECT rcTemp = {};
    if (!::IntersectRect(&rcTemp, &rcPaint, &m_rcItem)) return;
    if (m_pControl != nullptr && m_pControl->m_bWindowless && m_pControl->m_pViewObject != nullptr) {
        RECTL rcl = { m_rcItem.left, m_rcItem.top, m_rcItem.right, m_rcItem.bottom };
        m_pControl->m_pViewObject->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, hDC, &rcl,
            &rcl, nullptr, 0);
    }
}

void CActiveXUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (std::wcscmp(pstrName, L"clsid") == 0) {
        CreateControl(pstrValue);
    } else if (std::wcscmp(pstrName, L"modulename") == 0) {
        SetModuleName(pstrValue);
    } else if (std::wcscmp(pstrName, L"delaycreate") == 0) {
        SetDelayCreate(std::wcscmp(pstrValue, L"true") == 0);
    } else {
        CControlUI::SetAttribute(pstrName, pstrValue);
    }
}

LRESULT CActiveXUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    if (m_pControl == nullptr || !m_pControl->m_bInPlaceActive ||
        m_pControl->m_pInPlaceObject == nullptr || !m_pControl->m_bWindowless) {
        return 0;
    }
    if (!IsMouseEnabled() && uMsg >= WM_MOUSEFIRST && uMsg <= WM_MOUSELAST) return 0;
    bool bWasHandled = true;
    if ((uMsg >= WM_MOUSEFIRST && uMsg <= WM_MOUSELAST) || uMsg == WM_SETCURSOR) {
        if (!m_pControl->m_bCaptured) {
            if (m_pControl->m_pViewObject == nullptr) return 0;
            CComHolder<IViewObjectEx> viewEx;
            if (FAILED(m_pControl->m_pViewObject->QueryInterface(IID_IViewObjectEx, viewEx.OutVoid())) ||
                !viewEx) {
                return 0;
            }
            POINT ptMouse = { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
            // WM_SETCURSOR carries no point, and the wheel's is in screen
            // coordinates.
            if (uMsg == WM_SETCURSOR) {
                ::GetCursorPos(&ptMouse);
                ::ScreenToClient(m_hwndHost, &ptMouse);
            } else if (uMsg == WM_MOUSEWHEEL) {
                ::ScreenToClient(m_hwndHost, &ptMouse);
            }
            DWORD dwHitResult = HITRESULT_OUTSIDE;
            viewEx->QueryHitPoint(DVASPECT_CONTENT, &m_rcItem, ptMouse, 0, &dwHitResult);
            if (dwHitResult != HITRESULT_HIT) return 0;
        }
        if (uMsg == WM_SETCURSOR) bWasHandled = false;
    } else if (uMsg >= WM_KEYFIRST && uMsg <= WM_KEYLAST) {
        if (!IsFocused()) return 0;
    } else if (uMsg == WM_HELP || uMsg == WM_CONTEXTMENU) {
        bWasHandled = false;
    } else {
        return 0;
    }
    LRESULT lResult = 0;
    auto* pWindowless = static_cast<IOleInPlaceObjectWindowless*>(m_pControl->m_pInPlaceObject);
    HRESULT hr = pWindowless->OnWindowMessage(uMsg, wParam, lParam, &lResult);
    if (hr == S_OK) bHandled = bWasHandled;
    return lResult;
}

bool CActiveXUI::IsDelayCreate() const
{
    return m_bDelayCreate;
}

void CActiveXUI::SetDelayCreate(bool bDelayCreate)
{
    if (m_bDelayCreate == bDelayCreate) return;
    if (!bDelayCreate && !m_bCreated && !IsNullClsid(m_clsid)) DoCreateControl();
    m_bDelayCreate = bDelayCreate;
}

bool CActiveXUI::CreateControl(LPCWSTR pstrCLSID)
{
    CLSID clsid = {};
    OLECHAR szCLSID[100] = {};
    if (pstrCLSID != nullptr) {
        std::wcsncpy(szCLSID, pstrCLSID, 99);
        szCLSID[99] = L'\0';
    }
    if (szCLSID[0] == L'{') {
        ::CLSIDFromString(szCLSID, &clsid);
    } else if (szCLSID[0] != L'\0') {
        ::CLSIDFromProgID(szCLSID, &clsid);
    }
    return CreateControl(clsid);
}

bool CActiveXUI::CreateControl(const CLSID& clsid)
{
    if (IsNullClsid(clsid)) return false;
    m_bCreated = false;
    m_clsid = clsid;
    if (!m_bDelayCreate) DoCreateControl();
    return true;
}

void CActiveXUI::ReleaseControl()
{
    CActiveXCtrl* pSite = m_pControl;
    IOleObject* pObject = m_pUnk;
    m_pUnk = nullptr;
    if (pObject != nullptr) {
        // Deactivated while the site still answers, so the object can tear
        // its windows down in order.
        if (pSite != nullptr && pSite->m_bInPlaceActive && pSite->m_pInPlaceObject != nullptr) {
            CComHolder<IOleInPlaceObject> inPlace;
            inPlace.Assign(pSite->m_pInPlaceObject);
            inPlace->InPlaceDeactivate();
        }
        CComHolder<IObjectWithSite> withSite;
        if (SUCCEEDED(pObject->QueryInterface(IID_IObjectWithSite, withSite.OutVoid())) && withSite) {
            withSite->SetSite(nullptr);
        }
        pObject->Close(OLECLOSE_NOSAVE);
        pObject->SetClientSite(nullptr);
        pObject->Release();
    }
    m_pControl = nullptr;
    m_hwndHost = nullptr;
    if (pSite != nullptr) {
        // Whatever still holds the site finds no host behind it.
        pSite->Detach();
        pSite->Release();
    }
    if (m_pManager != nullptr) m_pManager->RemoveMessageFilter(this);
}

bool CActiveXUI::DoCreateControl()
{
    ReleaseControl();
    m_bCreated = true;

    // Whatever interface the creation path hands back; only IUnknown is used.
    CComHolder<IUnknown> control;
    if (!m_sModuleName.IsEmpty()) {
        HMODULE hModule = ::LoadLibraryW(m_sModuleName.GetData());
        if (hModule != nullptr) {
            auto proc = reinterpret_cast<DllGetClassObjectProc>(
                reinterpret_cast<void*>(::GetProcAddress(hModule, "DllGetClassObject")));
            CComHolder<IClassFactory> factory;
            if (proc != nullptr && SUCCEEDED(proc(m_clsid, IID_IClassFactory, factory.OutVoid())) &&
                factory) {
                factory->CreateInstance(nullptr, IID_IOleObject, control.OutVoid());
            }
        }
    }
    if (!control) {
        HRESULT hr = ::CoCreateInstance(m_clsid, nullptr, CLSCTX_ALL, IID_IOleControl,
            control.OutVoid());
        if (FAILED(hr) || !control) return false;
    }
    control->QueryInterface(IID_IOleObject, reinterpret_cast<LPVOID*>(&m_pUnk));
    control.Release();
    if (m_pUnk == nullptr) return false;

    m_pControl = new (std::nothrow) CActiveXCtrl;
    if (m_pControl == nullptr) return false;
    m_pControl->m_pOwner = this;

    DWORD dwMiscStatus = 0;
    m_pUnk->GetMiscStatus(DVASPECT_CONTENT, &dwMiscStatus);
    CComHolder<IOleClientSite> clientSite;
    m_pControl->QueryInterface(IID_IOleClientSite, clientSite.OutVoid());
    HRESULT hr = S_OK;
    if ((dwMiscStatus & OLEMISC_SETCLIENTSITEFIRST) != 0) m_pUnk->SetClientSite(clientSite.Get());

    CComHolder<IPersistStreamInit> persist;
    if (SUCCEEDED(m_pUnk->QueryInterface(IID_IPersistStreamInit, persist.OutVoid())) && persist) {
        hr = persist->InitNew();
        if (FAILED(hr)) return false;
    }
    if ((dwMiscStatus & OLEMISC_SETCLIENTSITEFIRST) == 0) m_pUnk->SetClientSite(clientSite.Get());

    // The view interface, best first.
    IViewObject* pView = nullptr;
    hr = m_pUnk->QueryInterface(IID_IViewObjectEx, reinterpret_cast<LPVOID*>(&pView));
    if (FAILED(hr) || pView == nullptr) {
        hr = m_pUnk->QueryInterface(IID_IViewObject2, reinterpret_cast<LPVOID*>(&pView));
    }
    if (FAILED(hr) || pView == nullptr) {
        hr = m_pUnk->QueryInterface(IID_IViewObject, reinterpret_cast<LPVOID*>(&pView));
    }
    if (FAILED(hr)) pView = nullptr;
    m_pControl->m_pViewObject = pView;

    hr = m_pUnk->SetHostNames(L"UIActiveX", nullptr);
    if (m_pManager != nullptr) m_pManager->SendNotify(this, L"showactivex", 0, 0, false);
    if ((dwMiscStatus & OLEMISC_INVISIBLEATRUNTIME) == 0 && m_pUnk != nullptr) {
        HWND hWndPaint = m_pManager != nullptr ? m_pManager->GetPaintWindow() : nullptr;
        hr = m_pUnk->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, clientSite.Get(), 0, hWndPaint,
            &m_rcItem);
    }
    if (m_pUnk == nullptr) return false;  // released by a notification handler
    CComHolder<IObjectWithSite> withSite;
    if (SUCCEEDED(m_pUnk->QueryInterface(IID_IObjectWithSite, withSite.OutVoid())) && withSite) {
        hr = withSite->SetSite(static_cast<IOleClientSite*>(m_pControl));
    }
    return SUCCEEDED(hr);
}

HRESULT CActiveXUI::GetControl(const IID& iid, LPVOID* ppRet)
{
    if (ppRet == nullptr) return E_POINTER;
    *ppRet = nullptr;
    if (m_pUnk == nullptr) return E_PENDING;
    return m_pUnk->QueryInterface(iid, ppRet);
}

CLSID CActiveXUI::GetClisd() const
{
    return m_clsid;
}

CStdString CActiveXUI::GetModuleName() const
{
    return m_sModuleName;
}

void CActiveXUI::SetModuleName(LPCWSTR pstrText)
{
    m_sModuleName = pstrText != nullptr ? pstrText : L"";
}

}  // namespace Veneer
