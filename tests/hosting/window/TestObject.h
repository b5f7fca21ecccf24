#pragma once
// A small embeddable object living in the test executable, registered with
// CoRegisterClassObject. It activates windowless (drawing itself, answering
// hits in the left half) or windowed (a child window of its own), and
// records what its host asks of it.
#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <olectl.h>

#include <vector>

namespace HostingTest {

// {6A1C0E21-5B7D-4C39-9E52-1F0A7D3C8B01} and ...02.
const CLSID CLSID_TestWindowless = { 0x6A1C0E21, 0x5B7D, 0x4C39, { 0x9E, 0x52, 0x1F, 0x0A, 0x7D, 0x3C, 0x8B, 0x01 } };
const CLSID CLSID_TestWindowed = { 0x6A1C0E21, 0x5B7D, 0x4C39, { 0x9E, 0x52, 0x1F, 0x0A, 0x7D, 0x3C, 0x8B, 0x02 } };

class TestObject : public IOleObject,
                   public IOleInPlaceObjectWindowless,
                   public IViewObjectEx,
                   public IOleControl {
public:
    explicit TestObject(bool windowless) : m_windowless(windowless) { last = this; }
    virtual ~TestObject()
    {
        if (last == this) last = nullptr;
        if (m_site != nullptr) m_site->Release();
        if (m_heldSite != nullptr) m_heldSite->Release();
        if (m_hWnd != nullptr) ::DestroyWindow(m_hWnd);
    }

    static TestObject* last;
    // Added to the status every object reports (OLEMISC_ bits).
    static DWORD extraMiscStatus;

    // What the host did.
    bool closed { false };
    bool siteCleared { false };
    int draws { 0 };
    RECT lastPos {};
    std::vector<UINT> messages;
    HWND Window() const { return m_hWnd; }
    // A site reference the object keeps after the host let go of it.
    IOleClientSite* HeldSite() const { return m_heldSite; }

    // IUnknown
    STDMETHOD_(ULONG, AddRef)() override { return static_cast<ULONG>(::InterlockedIncrement(&m_ref)); }
    STDMETHOD_(ULONG, Release)() override
    {
        LONG r = ::InterlockedDecrement(&m_ref);
        if (r == 0) delete this;
        return static_cast<ULONG>(r);
    }
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr) return E_POINTER;
        *ppv = nullptr;
        if (riid == IID_IUnknown || riid == IID_IOleObject) {
            *ppv = static_cast<IOleObject*>(this);
        } else if (riid == IID_IOleControl) {
            *ppv = static_cast<IOleControl*>(this);
        } else if (riid == IID_IOleInPlaceObject || riid == IID_IOleWindow) {
            *ppv = static_cast<IOleInPlaceObject*>(static_cast<IOleInPlaceObjectWindowless*>(this));
        } else if (riid == IID_IOleInPlaceObjectWindowless && m_windowless) {
            *ppv = static_cast<IOleInPlaceObjectWindowless*>(this);
        } else if (riid == IID_IViewObject || riid == IID_IViewObject2 || riid == IID_IViewObjectEx) {
            *ppv = static_cast<IViewObjectEx*>(this);
        }
        if (*ppv == nullptr) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }

    // IOleObject
    STDMETHOD(SetClientSite)(IOleClientSite* pClientSite) override
    {
        if (pClientSite == nullptr) siteCleared = true;
        if (pClientSite != nullptr) pClientSite->AddRef();
        if (m_site != nullptr) m_site->Release();
        m_site = pClientSite;
        if (pClientSite != nullptr && m_heldSite == nullptr) {
            m_heldSite = pClientSite;
            m_heldSite->AddRef();
        }
        return S_OK;
    }
    STDMETHOD(GetClientSite)(IOleClientSite** ppClientSite) override
    {
        if (ppClientSite == nullptr) return E_POINTER;
        *ppClientSite = m_site;
        if (m_site != nullptr) m_site->AddRef();
        return S_OK;
    }
    STDMETHOD(SetHostNames)(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHOD(Close)(DWORD) override
    {
        closed = true;
        InPlaceDeactivate();
        return S_OK;
    }
    STDMETHOD(SetMoniker)(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHOD(GetMoniker)(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHOD(InitFromData)(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetClipboardData)(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHOD(DoVerb)(LONG iVerb, LPMSG, IOleClientSite* pActiveSite, LONG, HWND, LPCRECT lprcPosRect) override
    {
        if (iVerb != OLEIVERB_INPLACEACTIVATE && iVerb != OLEIVERB_UIACTIVATE) return E_NOTIMPL;
        if (m_active) return S_OK;
        IOleClientSite* site = pActiveSite != nullptr ? pActiveSite : m_site;
        if (site == nullptr) return E_UNEXPECTED;
        HRESULT hr = E_FAIL;
        if (m_windowless) {
            IOleInPlaceSiteWindowless* wl = nullptr;
            if (SUCCEEDED(site->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&wl)))) {
                BOOL noRedraw = FALSE;
                if (wl->CanWindowlessActivate() == S_OK) hr = wl->OnInPlaceActivateEx(&noRedraw, ACTIVATE_WINDOWLESS);
                wl->Release();
            }
        } else {
            IOleInPlaceSite* ip = nullptr;
            if (SUCCEEDED(site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&ip)))) {
                hr = ip->OnInPlaceActivate();
                HWND parent = nullptr;
                if (SUCCEEDED(hr) && SUCCEEDED(ip->GetWindow(&parent))) {
                    m_hWnd = ::CreateWindowExW(0, L"STATIC", L"test object", WS_CHILD | WS_VISIBLE,
                        0, 0, 10, 10, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
                }
                ip->Release();
            }
        }
        if (lprcPosRect != nullptr) lastPos = *lprcPosRect;
        m_active = SUCCEEDED(hr);
        return hr;
    }
    STDMETHOD(EnumVerbs)(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHOD(Update)() override { return S_OK; }
    STDMETHOD(IsUpToDate)() override { return S_OK; }
    STDMETHOD(GetUserClassID)(CLSID*) override { return E_NOTIMPL; }
    STDMETHOD(GetUserType)(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHOD(SetExtent)(DWORD, SIZEL*) override { return S_OK; }
    STDMETHOD(GetExtent)(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHOD(Advise)(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHOD(Unadvise)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(EnumAdvise)(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHOD(GetMiscStatus)(DWORD, DWORD* pdwStatus) override
    {
        if (pdwStatus != nullptr) *pdwStatus = OLEMISC_SETCLIENTSITEFIRST | extraMiscStatus;
        return S_OK;
    }
    STDMETHOD(SetColorScheme)(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow / IOleInPlaceObject(Windowless)
    STDMETHOD(GetWindow)(HWND* phwnd) override
    {
        if (phwnd == nullptr) return E_POINTER;
        *phwnd = m_hWnd;
        return m_hWnd != nullptr ? S_OK : E_FAIL;
    }
    STDMETHOD(ContextSensitiveHelp)(BOOL) override { return E_NOTIMPL; }
    STDMETHOD(InPlaceDeactivate)() override
    {
        if (!m_active) return S_OK;
        m_active = false;
        if (m_hWnd != nullptr) {
            ::DestroyWindow(m_hWnd);
            m_hWnd = nullptr;
        }
        IOleInPlaceSite* ip = nullptr;
        if (m_site != nullptr && SUCCEEDED(m_site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&ip)))) {
            ip->OnInPlaceDeactivate();
            ip->Release();
        }
        return S_OK;
    }
    STDMETHOD(UIDeactivate)() override { return S_OK; }
    STDMETHOD(SetObjectRects)(LPCRECT lprcPosRect, LPCRECT) override
    {
        if (lprcPosRect != nullptr) lastPos = *lprcPosRect;
        if (m_hWnd != nullptr && lprcPosRect != nullptr) {
            ::MoveWindow(m_hWnd, lprcPosRect->left, lprcPosRect->top, lprcPosRect->right - lprcPosRect->left,
                lprcPosRect->bottom - lprcPosRect->top, TRUE);
        }
        return S_OK;
    }
    STDMETHOD(ReactivateAndUndo)() override { return E_NOTIMPL; }
    STDMETHOD(OnWindowMessage)(UINT msg, WPARAM, LPARAM, LRESULT* plResult) override
    {
        messages.push_back(msg);
        if (plResult != nullptr) *plResult = 0;
        return S_OK;
    }
    STDMETHOD(GetDropTarget)(IDropTarget**) override { return E_NOTIMPL; }

    // IViewObjectEx
    STDMETHOD(Draw)(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC, LPCRECTL lprcBounds, LPCRECTL,
        BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override
    {
        ++draws;
        if (lprcBounds != nullptr) m_drawBounds = *lprcBounds;
        return S_OK;
    }
    STDMETHOD(GetColorSet)(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override { return E_NOTIMPL; }
    STDMETHOD(Freeze)(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    STDMETHOD(Unfreeze)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(SetAdvise)(DWORD, DWORD, IAdviseSink*) override { return S_OK; }
    STDMETHOD(GetAdvise)(DWORD*, DWORD*, IAdviseSink**) override { return E_NOTIMPL; }
    STDMETHOD(GetExtent)(DWORD, LONG, DVTARGETDEVICE*, LPSIZEL) override { return E_NOTIMPL; }
    STDMETHOD(GetRect)(DWORD, LPRECTL) override { return E_NOTIMPL; }
    STDMETHOD(GetViewStatus)(DWORD* pdwStatus) override
    {
        if (pdwStatus != nullptr) *pdwStatus = 0;
        return S_OK;
    }
    STDMETHOD(QueryHitPoint)(DWORD, LPCRECT pRectBounds, POINT ptlLoc, LONG, DWORD* pHitResult) override
    {
        if (pHitResult == nullptr || pRectBounds == nullptr) return E_POINTER;
        const LONG middle = (pRectBounds->left + pRectBounds->right) / 2;
        const bool inside = ptlLoc.x >= pRectBounds->left && ptlLoc.x < middle && ptlLoc.y >= pRectBounds->top &&
            ptlLoc.y < pRectBounds->bottom;
        *pHitResult = inside ? HITRESULT_HIT : HITRESULT_OUTSIDE;
        return S_OK;
    }
    STDMETHOD(QueryHitRect)(DWORD, LPCRECT, LPCRECT, LONG, DWORD*) override { return E_NOTIMPL; }
    STDMETHOD(GetNaturalExtent)(DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*, LPSIZEL) override
    {
        return E_NOTIMPL;
    }

    // IOleControl
    STDMETHOD(GetControlInfo)(CONTROLINFO*) override { return E_NOTIMPL; }
    STDMETHOD(OnMnemonic)(MSG*) override { return E_NOTIMPL; }
    STDMETHOD(OnAmbientPropertyChange)(DISPID) override { return S_OK; }
    STDMETHOD(FreezeEvents)(BOOL) override { return S_OK; }

    RECTL DrawBounds() const { return m_drawBounds; }

private:
    LONG m_ref { 1 };
    bool m_windowless { true };
    bool m_active { false };
    IOleClientSite* m_site { nullptr };
    IOleClientSite* m_heldSite { nullptr };
    HWND m_hWnd { nullptr };
    RECTL m_drawBounds {};
};

inline TestObject* TestObject::last = nullptr;
inline DWORD TestObject::extraMiscStatus = 0;

class TestObjectFactory : public IClassFactory {
public:
    explicit TestObjectFactory(bool windowless) : m_windowless(windowless) {}
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr) return E_POINTER;
        *ppv = nullptr;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *ppv = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    STDMETHOD(CreateInstance)(IUnknown* outer, REFIID riid, void** ppv) override
    {
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        auto* object = new TestObject(m_windowless);
        HRESULT hr = object->QueryInterface(riid, ppv);
        object->Release();
        return hr;
    }
    STDMETHOD(LockServer)(BOOL) override { return S_OK; }

private:
    bool m_windowless { true };
};

// Registers both classes for the lifetime of the scope.
class TestObjectRegistration {
public:
    TestObjectRegistration()
    {
        ::CoRegisterClassObject(CLSID_TestWindowless, &m_windowless, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
            &m_cookieWindowless);
        ::CoRegisterClassObject(CLSID_TestWindowed, &m_windowed, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
            &m_cookieWindowed);
    }
    ~TestObjectRegistration()
    {
        if (m_cookieWindowless != 0) ::CoRevokeClassObject(m_cookieWindowless);
        if (m_cookieWindowed != 0) ::CoRevokeClassObject(m_cookieWindowed);
    }
    TestObjectRegistration(const TestObjectRegistration&) = delete;
    TestObjectRegistration& operator=(const TestObjectRegistration&) = delete;

private:
    TestObjectFactory m_windowless { true };
    TestObjectFactory m_windowed { false };
    DWORD m_cookieWindowless { 0 };
    DWORD m_cookieWindowed { 0 };
};

}  // namespace HostingTest
