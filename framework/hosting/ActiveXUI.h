#pragma once
#include "foundation/VeneerApi.h"
// CActiveXUI hosts an OLE control inside the control tree. Its companions:
// CActiveXCtrl (the container site), CActiveXWnd (child window for windowed
// objects), CActiveXFrameWnd (the in-place frame) and CActiveXEnum (an
// enumerator over the one embedded object).
#include <windows.h>
#include <ole2.h>
#include <ocidl.h>

#include "engine/ControlUI.h"
#include "engine/PaintManagerUI.h"
#include "engine/WindowWnd.h"
#include "foundation/StdString.h"

namespace Veneer {

class CActiveXCtrl;

class VENEER_API CActiveXUI : public CControlUI, public IMessageFilterUI {
    friend class CActiveXCtrl;
    friend class CActiveXWnd;

public:
    CActiveXUI();
    ~CActiveXUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    HWND GetHostWindow() const;

    bool IsDelayCreate() const;
    void SetDelayCreate(bool bDelayCreate = true);

    bool CreateControl(const CLSID& clsid);
    bool CreateControl(LPCWSTR pstrCLSID);
    HRESULT GetControl(const IID& iid, LPVOID* ppRet);
    CLSID GetClisd() const;
    CStdString GetModuleName() const;
    void SetModuleName(LPCWSTR pstrText);

    void SetVisible(bool bVisible = true) override;
    void SetInternVisible(bool bVisible = true) override;
    void SetPos(RECT rc) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

    // True once DoCreateControl ran (even when it failed).
    bool IsCreated() const { return m_bCreated; }

protected:
    virtual void ReleaseControl();
    virtual bool DoCreateControl();

    CLSID m_clsid {};
    CStdString m_sModuleName;
    bool m_bCreated { false };
    bool m_bDelayCreate { true };
    IOleObject* m_pUnk { nullptr };
    CActiveXCtrl* m_pControl { nullptr };
    HWND m_hwndHost { nullptr };

private:
    void ShowHostWindow();
};

// The child window of a windowed object.
class VENEER_API CActiveXWnd : public CWindowWnd {
public:
    CActiveXWnd() = default;
    ~CActiveXWnd() override;

    HWND Init(CActiveXCtrl* pOwner, HWND hWndParent);

    LPCWSTR GetFrameClassName() const override;

protected:
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnMouseActivate(UINT uMsg, WPARAM wParam, LPARAM lParam);
    void DoVerb(LONG iVerb);

    CActiveXCtrl* m_pOwner { nullptr };
};

class VENEER_API CActiveXEnum : public IEnumUnknown {
public:
    explicit CActiveXEnum(IUnknown* pUnk);
    virtual ~CActiveXEnum();

    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(QueryInterface)(REFIID riid, LPVOID* ppvObject) override;
    STDMETHOD(Next)(ULONG celt, IUnknown** rgelt, ULONG* pceltFetched) override;
    STDMETHOD(Skip)(ULONG celt) override;
    STDMETHOD(Reset)() override;
    STDMETHOD(Clone)(IEnumUnknown** ppenum) override;

private:
    LONG m_iPos { 0 };
    LONG m_dwRef { 1 };
    IUnknown* m_pUnk { nullptr };
};

// The in-place frame. It reaches its control through the site, so an object
// that keeps the frame after the control is gone gets E_UNEXPECTED.
class VENEER_API CActiveXFrameWnd : public IOleInPlaceFrame {
public:
    explicit CActiveXFrameWnd(CActiveXCtrl* pSite);
    virtual ~CActiveXFrameWnd();

    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(QueryInterface)(REFIID riid, LPVOID* ppvObject) override;
    // IOleWindow
    STDMETHOD(GetWindow)(HWND* phwnd) override;
    STDMETHOD(ContextSensitiveHelp)(BOOL fEnterMode) override;
    // IOleInPlaceUIWindow
    STDMETHOD(GetBorder)(LPRECT lprectBorder) override;
    STDMETHOD(RequestBorderSpace)(LPCBORDERWIDTHS pborderwidths) override;
    STDMETHOD(SetBorderSpace)(LPCBORDERWIDTHS pborderwidths) override;
    STDMETHOD(SetActiveObject)(IOleInPlaceActiveObject* pActiveObject, LPCOLESTR pszObjName) override;
    // IOleInPlaceFrame
    STDMETHOD(InsertMenus)(HMENU hmenuShared, LPOLEMENUGROUPWIDTHS lpMenuWidths) override;
    STDMETHOD(SetMenu)(HMENU hmenuShared, HOLEMENU holemenu, HWND hwndActiveObject) override;
    STDMETHOD(RemoveMenus)(HMENU hmenuShared) override;
    STDMETHOD(SetStatusText)(LPCOLESTR pszStatusText) override;
    STDMETHOD(EnableModeless)(BOOL fEnable) override;
    STDMETHOD(TranslateAccelerator)(LPMSG lpMsg, WORD wID) override;

private:
    LONG m_dwRef { 1 };
    CActiveXCtrl* m_pSite { nullptr };
    IOleInPlaceActiveObject* m_pActiveObject { nullptr };
};

class VENEER_API CActiveXCtrl : public IOleClientSite,
                     public IOleInPlaceSiteWindowless,
                     public IOleControlSite,
                     public IObjectWithSite,
                     public IOleContainer {
    friend class CActiveXUI;
    friend class CActiveXWnd;
    friend class CActiveXFrameWnd;

public:
    CActiveXCtrl();
    virtual ~CActiveXCtrl();

    // IUnknown
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(QueryInterface)(REFIID riid, LPVOID* ppvObject) override;

    // IObjectWithSite
    STDMETHOD(SetSite)(IUnknown* pUnkSite) override;
    STDMETHOD(GetSite)(REFIID riid, LPVOID* ppvSite) override;

    // IOleClientSite
    STDMETHOD(SaveObject)() override;
    STDMETHOD(GetMoniker)(DWORD dwAssign, DWORD dwWhichMoniker, IMoniker** ppmk) override;
    STDMETHOD(GetContainer)(IOleContainer** ppContainer) override;
    STDMETHOD(ShowObject)() override;
    STDMETHOD(OnShowWindow)(BOOL fShow) override;
    STDMETHOD(RequestNewObjectLayout)() override;

    // IOleInPlaceSiteWindowless
    STDMETHOD(CanWindowlessActivate)() override;
    STDMETHOD(GetCapture)() override;
    STDMETHOD(SetCapture)(BOOL fCapture) override;
    STDMETHOD(GetFocus)() override;
    STDMETHOD(SetFocus)(BOOL fFocus) override;
    STDMETHOD(GetDC)(LPCRECT pRect, DWORD grfFlags, HDC* phDC) override;
    STDMETHOD(ReleaseDC)(HDC hDC) override;
    STDMETHOD(InvalidateRect)(LPCRECT pRect, BOOL fErase) override;
    STDMETHOD(InvalidateRgn)(HRGN hRGN, BOOL fErase) override;
    STDMETHOD(ScrollRect)(INT dx, INT dy, LPCRECT pRectScroll, LPCRECT pRectClip) override;
    STDMETHOD(AdjustRect)(LPRECT prc) override;
    STDMETHOD(OnDefWindowMessage)(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* plResult) override;

    // IOleInPlaceSiteEx
    STDMETHOD(OnInPlaceActivateEx)(BOOL* pfNoRedraw, DWORD dwFlags) override;
    STDMETHOD(OnInPlaceDeactivateEx)(BOOL fNoRedraw) override;
    STDMETHOD(RequestUIActivate)() override;

    // IOleInPlaceSite
    STDMETHOD(CanInPlaceActivate)() override;
    STDMETHOD(OnInPlaceActivate)() override;
    STDMETHOD(OnUIActivate)() override;
    STDMETHOD(GetWindowContext)(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
        LPRECT lprcPosRect, LPRECT lprcClipRect, LPOLEINPLACEFRAMEINFO lpFrameInfo) override;
    STDMETHOD(Scroll)(SIZE scrollExtant) override;
    STDMETHOD(OnUIDeactivate)(BOOL fUndoable) override;
    STDMETHOD(OnInPlaceDeactivate)() override;
    STDMETHOD(DiscardUndoState)() override;
    STDMETHOD(DeactivateAndUndo)() override;
    STDMETHOD(OnPosRectChange)(LPCRECT lprcPosRect) override;

    // IOleWindow
    STDMETHOD(GetWindow)(HWND* phwnd) override;
    STDMETHOD(ContextSensitiveHelp)(BOOL fEnterMode) override;

    // IOleControlSite
    STDMETHOD(OnControlInfoChanged)() override;
    STDMETHOD(LockInPlaceActive)(BOOL fLock) override;
    STDMETHOD(GetExtendedControl)(IDispatch** ppDisp) override;
    STDMETHOD(TransformCoords)(POINTL* pPtlHimetric, POINTF* pPtfContainer, DWORD dwFlags) override;
    STDMETHOD(TranslateAccelerator)(MSG* pMsg, DWORD grfModifiers) override;
    STDMETHOD(OnFocus)(BOOL fGotFocus) override;
    STDMETHOD(ShowPropertyFrame)() override;

    // IOleContainer
    STDMETHOD(EnumObjects)(DWORD grfFlags, IEnumUnknown** ppenum) override;
    STDMETHOD(LockContainer)(BOOL fLock) override;

    // IParseDisplayName
    STDMETHOD(ParseDisplayName)(IBindCtx* pbc, LPOLESTR pszDisplayName, ULONG* pchEaten,
        IMoniker** ppmkOut) override;

    bool IsInPlaceActive() const { return m_bInPlaceActive; }
    bool IsWindowless() const { return m_bWindowless; }

protected:
    HRESULT CreateActiveXWnd();
    // Cuts every tie to the owner: its window goes, its interfaces of the
    // object are released, and later calls answer E_UNEXPECTED.
    void Detach();
    void DestroyActiveXWnd();

    LONG m_dwRef { 1 };
    CActiveXUI* m_pOwner { nullptr };
    CActiveXWnd* m_pWindow { nullptr };
    IUnknown* m_pUnkSite { nullptr };
    IViewObject* m_pViewObject { nullptr };
    // IOleInPlaceObjectWindowless when m_bWindowless, else IOleInPlaceObject.
    IOleInPlaceObject* m_pInPlaceObject { nullptr };
    HACCEL m_hAccel { nullptr };
    bool m_bLocked { false };
    bool m_bFocused { false };
    bool m_bCaptured { false };
    bool m_bUIActivated { false };
    bool m_bInPlaceActive { false };
    bool m_bWindowless { true };
};

}  // namespace Veneer
