#pragma once
// What every list item shares, on top of either a plain control or a
// container: index, selection, hot state, activation and the owner whose
// shared style paints it.
#include "controls/ContainerUI.h"
#include "controls/ListUI.h"

namespace Veneer {

template <class Base>
class CListItemUI : public Base, public IListItemUI {
public:
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;

    int GetIndex() const override { return m_iIndex; }
    void SetIndex(int iIndex) override { m_iIndex = iIndex; }
    IListOwnerUI* GetOwner() override { return m_pOwner; }
    void SetOwner(CControlUI* pOwner) override;
    void SetVisible(bool bVisible = true) override;
    void SetEnabled(bool bEnable = true) override;
    bool IsSelected() const override { return m_bSelected; }
    bool Select(bool bSelect = true) override;
    bool IsExpanded() const override { return false; }
    bool Expand(bool bExpand = true) override;
    bool Activate() override;

    // Mouse events of a mouse-disabled item and whatever the item does not
    // take itself go to the owner; double click and Return activate.
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void DrawItemBk(HDC hDC, const RECT& rcItem);

    UINT GetButtonState() const { return m_uButtonState; }

protected:
    // Presses select and notify, the pointer's presence makes the item hot;
    // true when the event was one of these.
    bool DoItemMouseEvent(TEventUI& event);
    CControlUI* GetMouseEventTarget() const override
    {
        return m_pOwnerControl != nullptr ? m_pOwnerControl : this->m_pParent;
    }

    int m_iIndex { -1 };
    bool m_bSelected { false };
    UINT m_uButtonState { 0 };
    IListOwnerUI* m_pOwner { nullptr };
    // The same owner as a control.
    CControlUI* m_pOwnerControl { nullptr };
};

extern template class CListItemUI<CControlUI>;
extern template class CListItemUI<CContainerUI>;

}  // namespace Veneer
