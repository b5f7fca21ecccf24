#pragma once
#include "foundation/VeneerApi.h"
// Controls that own an ordered list of children, with optional scroll bars.
#include "engine/ControlUI.h"
#include "foundation/StdPtrArray.h"

namespace Veneer {

class CScrollBarUI;

// The child-management view of a container.
class VENEER_API IContainerUI {
public:
    virtual CControlUI* GetItemAt(int iIndex) const = 0;
    virtual int GetItemIndex(CControlUI* pControl) const = 0;
    virtual bool SetItemIndex(CControlUI* pControl, int iIndex) = 0;
    virtual int GetCount() const = 0;
    virtual bool Add(CControlUI* pControl) = 0;
    virtual bool AddAt(CControlUI* pControl, int iIndex) = 0;
    virtual bool Remove(CControlUI* pControl) = 0;
    virtual bool RemoveAt(int iIndex) = 0;
    virtual void RemoveAll() = 0;

protected:
    ~IContainerUI() = default;
};

class VENEER_API CContainerUI : public CControlUI, public IContainerUI {
public:
    CContainerUI();
    ~CContainerUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    CControlUI* GetItemAt(int iIndex) const override;
    int GetItemIndex(CControlUI* pControl) const override;
    bool SetItemIndex(CControlUI* pControl, int iIndex) override;
    int GetCount() const override;
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    bool RemoveAt(int iIndex) override;
    void RemoveAll() override;

    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
    void SetPos(RECT rc) override;
    void SetVisible(bool bVisible = true) override;
    void SetInternVisible(bool bVisible = true) override;
    void SetMouseEnabled(bool bEnable = true) override;
    CControlUI* FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;

    virtual RECT GetInset() const;
    virtual void SetInset(RECT rcInset);
    virtual int GetChildPadding() const;
    virtual void SetChildPadding(int iPadding);
    virtual bool IsAutoDestroy() const;
    virtual void SetAutoDestroy(bool bAuto);
    virtual bool IsDelayedDestroy() const;
    virtual void SetDelayedDestroy(bool bDelayed);
    virtual bool IsMouseChildEnabled() const;
    virtual void SetMouseChildEnabled(bool bEnable = true);
    virtual int FindSelectable(int iIndex, bool bForward = true);

    virtual SIZE GetScrollPos() const;
    virtual SIZE GetScrollRange() const;
    virtual void SetScrollPos(SIZE szPos);
    virtual void LineUp();
    virtual void LineDown();
    virtual void PageUp();
    virtual void PageDown();
    virtual void HomeUp();
    virtual void EndDown();
    virtual void LineLeft();
    virtual void LineRight();
    virtual void PageLeft();
    virtual void PageRight();
    virtual void HomeLeft();
    virtual void EndRight();
    virtual void EnableScrollBar(bool bEnableVertical = true, bool bEnableHorizontal = false);
    virtual CScrollBarUI* GetVerticalScrollBar() const;
    virtual CScrollBarUI* GetHorizontalScrollBar() const;

    // Lookups by name inside this container's subtree (case-insensitive),
    // through the paint manager.
    CControlUI* FindSubControl(LPCWSTR pstrSubControlName);
    bool SetSubControlText(LPCWSTR pstrSubControlName, LPCWSTR pstrText);
    bool SetSubControlFixedHeight(LPCWSTR pstrSubControlName, int cy);
    bool SetSubControlFixedWdith(LPCWSTR pstrSubControlName, int cx);
    bool SetSubControlUserData(LPCWSTR pstrSubControlName, LPCWSTR pstrText);
    CStdString GetSubControlText(LPCWSTR pstrSubControlName);
    int GetSubControlFixedHeight(LPCWSTR pstrSubControlName);
    int GetSubControlFixedWidth(LPCWSTR pstrSubControlName);
    CStdString GetSubControlUserData(LPCWSTR pstrSubControlName);

protected:
    virtual void SetFloatPos(int iIndex);
    virtual void ProcessScrollBar(RECT rc, int cxRequired, int cyRequired);

    // Own rectangle less the inset and the room of the visible scroll bars.
    RECT GetInnerRect() const;
    // Destroys a removed child now or through the manager's delayed cleanup.
    void ReleaseChild(CControlUI* pControl);
    // One line: the default font's height and a little air.
    int GetLineHeight() const;
    // What one page scrolls: the inner extent less the other axis's bar.
    int GetPageHeight() const;
    int GetPageWidth() const;
    void ScrollBy(int cx, int cy);

    CStdPtrArray m_items;
    RECT m_rcInset { 0, 0, 0, 0 };
    int m_iChildPadding { 0 };
    bool m_bAutoDestroy { true };
    bool m_bDelayedDestroy { true };
    bool m_bMouseChildEnabled { true };
    bool m_bScrollProcess { false };
    CScrollBarUI* m_pVerticalScrollBar { nullptr };
    CScrollBarUI* m_pHorizontalScrollBar { nullptr };
};

}  // namespace Veneer
