#pragma once
#include "foundation/VeneerApi.h"
// Base class of every element of a skinned window.
#include <windows.h>

#include "foundation/StdString.h"
#include "foundation/Delegate.h"

namespace Veneer {

class CPaintManagerUI;
class CControlUI;
class IContainerUI;
struct TEventUI;

// Search flags of FindControl.
constexpr UINT FIND_VISIBLE = 0x00000001;
constexpr UINT FIND_ENABLED = 0x00000002;
constexpr UINT FIND_HITTEST = 0x00000004;
constexpr UINT FIND_TOP_FIRST = 0x00000008;
constexpr UINT FIND_ME_FIRST = 0x80000000;

// Control flags answered by GetControlFlags.
constexpr UINT FLAG_TABSTOP = 0x00000001;
constexpr UINT FLAG_SETCURSOR = 0x00000002;

// State bits shared by the stock controls.
constexpr UINT STATE_FOCUSED = 0x00000001;
constexpr UINT STATE_SELECTED = 0x00000002;
constexpr UINT STATE_DISABLED = 0x00000004;
constexpr UINT STATE_HOT = 0x00000008;
constexpr UINT STATE_PUSHED = 0x00000010;
constexpr UINT STATE_CAPTURED = 0x00000040;

typedef CControlUI* (CALLBACK* FINDCONTROLPROC)(CControlUI*, LPVOID);

struct VENEER_API TRelativePosUI {
    bool bRelative { false };
    SIZE szParent { 0, 0 };
    int nMoveXPercent { 0 };
    int nMoveYPercent { 0 };
    int nZoomXPercent { 0 };
    int nZoomYPercent { 0 };
};

class VENEER_API CControlUI {
public:
    CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    virtual ~CControlUI();
    virtual CStdString GetName() const;
    virtual void SetName(LPCWSTR pstrName);
    virtual LPCWSTR GetClass() const;
    virtual LPVOID GetInterface(LPCWSTR pstrName);
    virtual UINT GetControlFlags() const;
    virtual bool Activate();
    virtual CPaintManagerUI* GetManager() const;
    virtual void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true);
    virtual CControlUI* GetParent() const;
    virtual CStdString GetText() const;
    virtual void SetText(LPCWSTR pstrText);

    virtual const RECT& GetPos() const;
    virtual void SetPos(RECT rc);
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    virtual int GetX() const;
    virtual int GetY() const;
    virtual RECT GetPadding() const;
    virtual void SetPadding(RECT rcPadding);
    virtual SIZE GetFixedXY() const;
    virtual void SetFixedXY(SIZE szXY);
    virtual int GetFixedWidth() const;
    virtual void SetFixedWidth(int cx);
    virtual int GetFixedHeight() const;
    virtual void SetFixedHeight(int cy);
    virtual int GetMinWidth() const;
    virtual void SetMinWidth(int cx);
    virtual int GetMaxWidth() const;
    virtual void SetMaxWidth(int cx);
    virtual int GetMinHeight() const;
    virtual void SetMinHeight(int cy);
    virtual int GetMaxHeight() const;
    virtual void SetMaxHeight(int cy);
    virtual void SetRelativePos(SIZE szMove, SIZE szZoom);
    virtual void SetRelativeParentSize(SIZE sz);
    virtual TRelativePosUI GetRelativePos() const;
    virtual bool IsRelativePos() const;

    virtual CStdString GetToolTip() const;
    virtual void SetToolTip(LPCWSTR pstrText);
    virtual void SetToolTipWidth(int nWidth);
    virtual int GetToolTipWidth() const;
    virtual WCHAR GetShortcut() const;
    virtual void SetShortcut(WCHAR ch);
    virtual bool IsContextMenuUsed() const;
    virtual void SetContextMenuUsed(bool bMenuUsed);
    virtual const CStdString& GetUserData() const;
    virtual void SetUserData(LPCWSTR pstrText);
    virtual UINT_PTR GetTag() const;
    virtual void SetTag(UINT_PTR pTag);

    virtual bool IsVisible() const;
    virtual void SetVisible(bool bVisible = true);
    virtual void SetInternVisible(bool bVisible = true);
    virtual bool IsEnabled() const;
    virtual void SetEnabled(bool bEnable = true);
    virtual bool IsMouseEnabled() const;
    virtual void SetMouseEnabled(bool bEnable = true);
    virtual bool IsKeyboardEnabled() const;
    virtual void SetKeyboardEnabled(bool bEnable = true);
    virtual bool IsFocused() const;
    virtual void SetFocus();
    virtual bool IsFloat() const;
    virtual void SetFloat(bool bFloat = true);

    virtual CControlUI* FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags);

    virtual void Init();
    virtual void DoInit();
    virtual void Event(TEventUI& event);
    virtual void DoEvent(TEventUI& event);
    virtual void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue);
    virtual SIZE EstimateSize(SIZE szAvailable);

    virtual void DoPaint(HDC hDC, const RECT& rcPaint);
    virtual void PaintBkColor(HDC hDC);
    virtual void PaintBkImage(HDC hDC);
    virtual void PaintStatusImage(HDC hDC);
    virtual void PaintText(HDC hDC);
    virtual void PaintBorder(HDC hDC);
    virtual void DoPostPaint(HDC hDC, const RECT& rcPaint);

    // Questions the engine and the dialog builder ask a control instead of
    // comparing class names.
    // The container that controls built from markup inside this one join;
    // null when this control holds none.
    virtual IContainerUI* GetMarkupContainer();
    // A label hands an Alt+key shortcut on to the next control after it. By
    // default a control is a label when its class name contains "LabelUI",
    // so plug-in label classes hand on without answering themselves.
    virtual bool HandsShortcutOn() const;
    // Takes the tab key while focused, instead of the focus moving on.
    virtual bool WantsTab() const { return false; }
    // Takes a press in the window's caption area instead of letting the
    // window be dragged by it.
    virtual bool TakesCaptionClick() const { return false; }

    CControlUI* ApplyAttributeList(LPCWSTR pstrList);
    bool DrawImage(HDC hDC, LPCWSTR pStrImage, LPCWSTR pStrModify = nullptr);

    void Invalidate();
    bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
    void NeedUpdate();
    void NeedParentUpdate();
    DWORD GetAdjustColor(DWORD dwColor) const;

    CStdString GetVirtualWnd() const;
    void SetVirtualWnd(LPCWSTR pstrValue);

    DWORD GetBkColor() const { return m_dwBackColor; }
    void SetBkColor(DWORD dwBackColor);
    DWORD GetBkColor2() const { return m_dwBackColor2; }
    void SetBkColor2(DWORD dwBackColor);
    DWORD GetBkColor3() const { return m_dwBackColor3; }
    void SetBkColor3(DWORD dwBackColor);
    LPCWSTR GetBkImage() const { return m_sBkImage.GetData(); }
    void SetBkImage(LPCWSTR pStrImage);
    DWORD GetBorderColor() const { return m_dwBorderColor; }
    void SetBorderColor(DWORD dwBorderColor);
    DWORD GetFocusBorderColor() const { return m_dwFocusBorderColor; }
    void SetFocusBorderColor(DWORD dwBorderColor);
    bool IsColorHSL() const { return m_bColorHSL; }
    void SetColorHSL(bool bColorHSL);
    int GetBorderSize() const { return m_nBorderSize; }
    void SetBorderSize(int nSize);
    void SetBorderSize(RECT rc);
    int GetLeftBorderSize() const { return m_nLeftBorderSize; }
    void SetLeftBorderSize(int nSize);
    int GetTopBorderSize() const { return m_nTopBorderSize; }
    void SetTopBorderSize(int nSize);
    int GetRightBorderSize() const { return m_nRightBorderSize; }
    void SetRightBorderSize(int nSize);
    int GetBottomBorderSize() const { return m_nBottomBorderSize; }
    void SetBottomBorderSize(int nSize);
    SIZE GetBorderRound() const { return m_cxyBorderRound; }
    void SetBorderRound(SIZE cxyRound);
    int GetBorderStyle() const { return m_nBorderStyle; }
    void SetBorderStyle(int nStyle);

    // Hooks other code may attach to; each is invoked with this control
    // (EventListeners and NotifyListeners with the event / notification).
    CEventSource InitListeners;
    CEventSource DestroyListeners;
    CEventSource SizeListeners;
    CEventSource EventListeners;
    CEventSource NotifyListeners;

protected:
    // Intersects rc with the item rectangles of every ancestor; false when
    // nothing of it is left.
    bool ClipToAncestors(RECT& rc) const;

    // A control that is not mouse-enabled hands mouse events on: true when
    // this one did (to GetMouseEventTarget(), or to CControlUI::DoEvent when
    // there is none), and the caller's DoEvent is done with the event.
    bool HandOnMouseEvent(TEventUI& event);
    // Where such events go: the parent; list items and scroll bars name
    // their owner.
    virtual CControlUI* GetMouseEventTarget() const { return m_pParent; }

    CPaintManagerUI* m_pManager { nullptr };
    CControlUI* m_pParent { nullptr };
    CStdString m_sVirtualWnd;
    CStdString m_sName;
    bool m_bUpdateNeeded { true };
    bool m_bMenuUsed { false };
    RECT m_rcItem { 0, 0, 0, 0 };
    RECT m_rcPadding { 0, 0, 0, 0 };
    SIZE m_cXY { 0, 0 };
    int m_cxFixed { 0 };
    int m_cyFixed { 0 };
    int m_cxMin { 0 };
    int m_cyMin { 0 };
    int m_cxMax { 9999 };
    int m_cyMax { 9999 };
    bool m_bVisible { true };
    bool m_bInternVisible { true };
    bool m_bEnabled { true };
    bool m_bMouseEnabled { true };
    bool m_bKeyboardEnabled { true };
    bool m_bFocused { false };
    bool m_bFloat { false };
    bool m_bSetPos { false };
    TRelativePosUI m_tRelativePos;
    CStdString m_sText;
    CStdString m_sToolTip;
    WCHAR m_chShortcut { 0 };
    CStdString m_sUserData;
    UINT_PTR m_pTag { 0 };
    DWORD m_dwBackColor { 0 };
    DWORD m_dwBackColor2 { 0 };
    DWORD m_dwBackColor3 { 0 };
    CStdString m_sBkImage;
    DWORD m_dwBorderColor { 0 };
    DWORD m_dwFocusBorderColor { 0 };
    bool m_bColorHSL { false };
    int m_nBorderSize { 0 };
    int m_nBorderStyle { PS_SOLID };
    int m_nTooltipWidth { 300 };
    SIZE m_cxyBorderRound { 0, 0 };
    RECT m_rcPaint { 0, 0, 0, 0 };
    int m_nLeftBorderSize { 0 };
    int m_nTopBorderSize { 0 };
    int m_nRightBorderSize { 0 };
    int m_nBottomBorderSize { 0 };
};

}  // namespace Veneer
