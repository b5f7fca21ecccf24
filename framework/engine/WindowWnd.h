#pragma once
#include "foundation/VeneerApi.h"
// CWindowWnd: a thin object over one native window. CNotifyPump: routes
// notifications to member handlers through static, chained message maps and
// to named virtual windows.
#include <windows.h>

#include "foundation/StdString.h"
#include "foundation/StdStringPtrMap.h"

namespace Veneer {

struct TNotifyUI;
class CNotifyPump;

class VENEER_API CWindowWnd {
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
    HWND CreateVeneerWindow(HWND hwndParent, LPCWSTR pstrWindowName, DWORD dwStyle = 0,
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
    // Both window procedures: the object is kept in GWLP_USERDATA, or in a
    // window property for a superclassed window.
    static LRESULT Dispatch(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, bool bInProperty);
};

// Message maps -------------------------------------------------------------

enum class VeneerSig : UINT {
    End = 0,     // ends a table
    Params = 1,  // handler(WPARAM, LPARAM)
    Notify = 2,  // handler(TNotifyUI&)
};

typedef void (CNotifyPump::*VENEER_PMSG)(TNotifyUI& msg);
typedef void (CNotifyPump::*VENEER_PMSG_PARAMS)(WPARAM wParam, LPARAM lParam);

struct VENEER_API VENEER_MSGMAP_ENTRY {
    CStdString sMsgType;
    CStdString sCtrlName;
    VeneerSig nSig { VeneerSig::End };
    VENEER_PMSG pfn { nullptr };
};

struct VENEER_API VENEER_MSGMAP {
    const VENEER_MSGMAP* (*pfnGetBaseMap)() { nullptr };
    const VENEER_MSGMAP_ENTRY* lpEntries { nullptr };
};

class VENEER_API CNotifyPump {
public:
    CNotifyPump() = default;
    virtual ~CNotifyPump() = default;
    CNotifyPump(const CNotifyPump&) = delete;
    CNotifyPump& operator=(const CNotifyPump&) = delete;

    bool AddVirtualWnd(CStdString strName, CNotifyPump* pObject);
    bool RemoveVirtualWnd(CStdString strName);
    void NotifyPump(TNotifyUI& msg);
    bool LoopDispatch(TNotifyUI& msg);

    static const VENEER_MSGMAP* GetBaseMessageMap();
    static const VENEER_MSGMAP messageMap;
    static const VENEER_MSGMAP_ENTRY messageEntries[];

protected:
    virtual const VENEER_MSGMAP* GetMessageMap() const;

private:
    CStdStringPtrMap m_VirtualWndMap;
};

// A class with its own map declares it with VENEER_DECLARE_MESSAGE_MAP() and
// defines it in its source between VENEER_BEGIN_MESSAGE_MAP and
// VENEER_END_MESSAGE_MAP. Handlers are members of the class taking TNotifyUI&
// (VENEER_ON_MSGTYPE, VENEER_ON_MSGTYPE_CTRNAME) or (WPARAM, LPARAM)
// (VENEER_ON_MSGTYPE_PARAMS).
#define VENEER_DECLARE_MESSAGE_MAP()                                   \
public:                                                             \
    static const ::Veneer::VENEER_MSGMAP_ENTRY messageEntries[];      \
    static const ::Veneer::VENEER_MSGMAP messageMap;                   \
    static const ::Veneer::VENEER_MSGMAP* GetBaseMessageMap();        \
protected:                                                          \
    const ::Veneer::VENEER_MSGMAP* GetMessageMap() const override;     \
public:

#define VENEER_BEGIN_MESSAGE_MAP(theClass, baseClass)                              \
    const ::Veneer::VENEER_MSGMAP* theClass::GetBaseMessageMap()                  \
    { return &baseClass::messageMap; }                                          \
    const ::Veneer::VENEER_MSGMAP* theClass::GetMessageMap() const                 \
    { return &theClass::messageMap; }                                           \
    const ::Veneer::VENEER_MSGMAP theClass::messageMap = {                         \
        &theClass::GetBaseMessageMap, &theClass::messageEntries[0] };         \
    const ::Veneer::VENEER_MSGMAP_ENTRY theClass::messageEntries[] = {

#define VENEER_ON_MSGTYPE(msgtype, memberFxn)                                      \
    { msgtype, L"", ::Veneer::VeneerSig::Notify,                                        \
      static_cast<::Veneer::VENEER_PMSG>(&memberFxn) },

#define VENEER_ON_MSGTYPE_CTRNAME(msgtype, ctrname, memberFxn)                     \
    { msgtype, ctrname, ::Veneer::VeneerSig::Notify,                                    \
      static_cast<::Veneer::VENEER_PMSG>(&memberFxn) },

#define VENEER_ON_MSGTYPE_PARAMS(msgtype, ctrname, memberFxn)                      \
    { msgtype, ctrname, ::Veneer::VeneerSig::Params,                                   \
      reinterpret_cast<::Veneer::VENEER_PMSG>(                                     \
          static_cast<::Veneer::VENEER_PMSG_PARAMS>(&memberFxn)) },

#define VENEER_END_MESSAGE_MAP()                                                   \
    { L"", L"", ::Veneer::VeneerSig::End, nullptr } };

}  // namespace Veneer
