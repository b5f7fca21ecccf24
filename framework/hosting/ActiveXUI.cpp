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

// CActiveXUI ----------------------------------------------------------------

CActiveXUI::CActiveXUI() = default;

CActiveXUI::~CActiveXUI()
{
    try {
        ReleaseControl();
    } catch (...) {
        // Nothing may leave a destructor; the browser's objects are let go regardless.
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
