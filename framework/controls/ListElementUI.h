#pragma once
// Base of the one-line list items: index, selection, hot state and the
// owner whose shared style paints them.
#include "controls/ListUI.h"

namespace Veneer {

class CListElementUI : public CControlUI, public IListItemUI {
public:
    CListElementUI() = default;

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
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

    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;
    void DrawItemBk(HDC hDC, const RECT& rcItem);

    UINT GetButtonState() const { return m_uButtonState; }

protected:
    int m_iIndex { -1 };
    bool m_bSelected { false };
    UINT m_uButtonState { 0 };
    IListOwnerUI* m_pOwner { nullptr };
};

}  // namespace Veneer
