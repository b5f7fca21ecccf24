#pragma once
// CWindowWnd: a thin object over one native window. CNotifyPump: routes
// notifications to member handlers through static, chained message maps and
// to named virtual windows.
#include <windows.h>

#include "foundation/DuiString.h"
#include "foundation/StdStringPtrMap.h"

namespace Veneer {

struct TNotifyUI;
class CNotifyPump;

class CWindowWnd {
public:
    CWindowWnd() = default;
    virtual ~CWindowWnd();
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    HWND GetHWND() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    bool RegisterWindowClass();
    bool RegisterSuperclass();

    HWND Create(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle,
                const RECT rc, HMENU hMenu = nullptr);
    HWND Create(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle,
                int x = CW_USEDEFAULT, int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT,
                int cy = CW_USEDEFAULT, HMENU hMenu = nullptr);
    HWND CreateDuiWindow(HWND hwndParent, LPCWSTR pstrWindowName, DWORD dwStyle = 0,
                         DWORD dwExStyle = 0);
    HWND Subclass(HWND hWnd);
    void Unsubclass();
    void ShowWindow(bool bShow = true, bool bTakeFocus = true);
    UINT ShowModal();
    void Close(UINT nRet = IDOK);
    void CenterWindow();
    void SetIcon(UINT nRes);

    // The names are the platform's: with UNICODE defined these are what
    // SendMessage/PostMessage expand to anyway.
    LRESULT SendMessageW(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT PostMessageW(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
    void ResizeClient(int cx = -1, int cy = -1);

protected:
    virtual LPCWSTR GetFrameClassName() const = 0;
    virtual LPCWSTR GetSuperClassName() const;
    virtual UINT GetClassStyle() const;
    virtual LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
    virtual void OnFinalMessage(HWND hWnd);

    // The class procedure keeps the object in the user data slot; the
    // superclass procedure in the "WndX" property, because a superclassed
    // system class may use its own user data.
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SuperclassProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    // Stops a still existing window from routing messages to this object;
    // called when the object goes before its window.
    void DetachFromWindow();

    HWND m_hWnd { nullptr };
    WNDPROC m_OldWndProc { ::DefWindowProcW };
    bool m_bSubclassed { false };

private:
    static LRESULT Route(CWindowWnd* pThis, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
};

// Message maps -------------------------------------------------------------

enum DuiSig : UINT {
    DuiSig_end = 0,   // ends a table
    DuiSig_lwl = 1,   // handler(WPARAM, LPARAM)
    DuiSig_vn = 2,    // handler(TNotifyUI&)
};

typedef void (CNotifyPump::*DUI_PMSG)(TNotifyUI& msg);
typedef void (CNotifyPump::*DUI_PMSG_PARAMS)(WPARAM wParam, LPARAM lParam);

struct DUI_MSGMAP_ENTRY {
    CDuiString sMsgType;
    CDuiString sCtrlName;
    UINT nSig { DuiSig_end };
    DUI_PMSG pfn { nullptr };
};

struct DUI_MSGMAP {
    const DUI_MSGMAP* (*pfnGetBaseMap)() { nullptr };
    const DUI_MSGMAP_ENTRY* lpEntries { nullptr };
};

class CNotifyPump {
public:
    CNotifyPump() = default;
    virtual ~CNotifyPump() = default;
    CNotifyPump(const CNotifyPump&) = delete;
    CNotifyPump& operator=(const CNotifyPump&) = delete;

    bool AddVirtualWnd(CDuiString strName, CNotifyPump* pObject);
    bool RemoveVirtualWnd(CDuiString strName);
    void NotifyPump(TNotifyUI& msg);
    bool LoopDispatch(TNotifyUI& msg);

    static const DUI_MSGMAP* _GetBaseMessageMap();
    static const DUI_MSGMAP messageMap;
    static const DUI_MSGMAP_ENTRY _messageEntries[];

protected:
    virtual const DUI_MSGMAP* GetMessageMap() const;

private:
    CStdStringPtrMap m_VirtualWndMap;
};

// A class with its own map declares it with DUI_DECLARE_MESSAGE_MAP() and
// defines it in its source between DUI_BEGIN_MESSAGE_MAP and
// DUI_END_MESSAGE_MAP. Handlers are members of the class taking TNotifyUI&
// (DUI_ON_MSGTYPE, DUI_ON_MSGTYPE_CTRNAME) or (WPARAM, LPARAM)
// (DUI_ON_MSGTYPE_PARAMS).
#define DUI_DECLARE_MESSAGE_MAP()                                   \
public:                                                             \
    static const ::Veneer::DUI_MSGMAP_ENTRY _messageEntries[];      \
    static const ::Veneer::DUI_MSGMAP messageMap;                   \
    static const ::Veneer::DUI_MSGMAP* _GetBaseMessageMap();        \
protected:                                                          \
    const ::Veneer::DUI_MSGMAP* GetMessageMap() const override;     \
public:

#define DUI_BEGIN_MESSAGE_MAP(theClass, baseClass)                              \
    const ::Veneer::DUI_MSGMAP* theClass::_GetBaseMessageMap()                  \
    { return &baseClass::messageMap; }                                          \
    const ::Veneer::DUI_MSGMAP* theClass::GetMessageMap() const                 \
    { return &theClass::messageMap; }                                           \
    const ::Veneer::DUI_MSGMAP theClass::messageMap = {                         \
        &theClass::_GetBaseMessageMap, &theClass::_messageEntries[0] };         \
    const ::Veneer::DUI_MSGMAP_ENTRY theClass::_messageEntries[] = {

#define DUI_ON_MSGTYPE(msgtype, memberFxn)                                      \
    { msgtype, L"", ::Veneer::DuiSig_vn,                                        \
      static_cast<::Veneer::DUI_PMSG>(&memberFxn) },

#define DUI_ON_MSGTYPE_CTRNAME(msgtype, ctrname, memberFxn)                     \
    { msgtype, ctrname, ::Veneer::DuiSig_vn,                                    \
      static_cast<::Veneer::DUI_PMSG>(&memberFxn) },

#define DUI_ON_MSGTYPE_PARAMS(msgtype, ctrname, memberFxn)                      \
    { msgtype, ctrname, ::Veneer::DuiSig_lwl,                                   \
      reinterpret_cast<::Veneer::DUI_PMSG>(                                     \
          static_cast<::Veneer::DUI_PMSG_PARAMS>(&memberFxn)) },

#define DUI_END_MESSAGE_MAP()                                                   \
    { L"", L"", ::Veneer::DuiSig_end, nullptr } };

}  // namespace Veneer
