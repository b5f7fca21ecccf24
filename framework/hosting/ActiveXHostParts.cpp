// The ActiveX host's helpers: the host window of a windowed control, the
// enumerator of the control, and the in-place frame.
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
    return AddComReference(m_dwRef);
}

STDMETHODIMP_(ULONG) CActiveXEnum::Release()
{
    return ReleaseComReference(this, m_dwRef);
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
    return AddComReference(m_dwRef);
}

STDMETHODIMP_(ULONG) CActiveXFrameWnd::Release()
{
    return ReleaseComReference(this, m_dwRef);
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

}  // namespace Veneer
