#include "controls/ListElementUI.h"

#include <cwchar>

#include "controls/ListItemPaint.h"
#include "engine/PaintManagerUI.h"

namespace Veneer {

LPCTSTR CListElementUI::GetClass() const { return L"ListElementUI"; }

LPVOID CListElementUI::GetInterface(LPCTSTR pstrName)
{
    if (pstrName != nullptr) {
        if (wcscmp(pstrName, L"ListItem") == 0) {
            return static_cast<IListItemUI*>(this);
        }
        if (wcscmp(pstrName, L"ListElement") == 0) {
            return static_cast<CListElementUI*>(this);
        }
    }
    return CControlUI::GetInterface(pstrName);
}

UINT CListElementUI::GetControlFlags() const { return kListItemFlags; }

void CListElementUI::SetOwner(CControlUI* pOwner)
{
    m_pOwner = pOwner != nullptr ? static_cast<IListOwnerUI*>(pOwner->GetInterface(L"IListOwner")) : nullptr;
}

void CListElementUI::SetVisible(bool bVisible)
{
    CControlUI::SetVisible(bVisible);
    if (!IsVisible() && m_bSelected) {
        m_bSelected = false;
        if (m_pOwner != nullptr) {
            m_pOwner->SelectItem(-1);
        }
    }
}

void CListElementUI::SetEnabled(bool bEnable)
{
    CControlUI::SetEnabled(bEnable);
    if (!IsEnabled()) {
        m_uButtonState = 0;
    }
}

bool CListElementUI::Select(bool bSelect)
{
    if (!IsEnabled()) {
        return false;
    }
    if (bSelect == m_bSelected) {
        return true;
    }
    m_bSelected = bSelect;
    if (bSelect && m_pOwner != nullptr) {
        m_pOwner->SelectItem(m_iIndex);
    }
    Invalidate();
    return true;
}

bool CListElementUI::Expand(bool /*bExpand*/) { return false; }

bool CListElementUI::Activate()
{
    if (!CControlUI::Activate()) {
        return false;
    }
    if (m_pManager != nullptr) {
        m_pManager->SendNotify(this, L"itemactivate");
    }
    return true;
}

void CListElementUI::DoEvent(TEventUI& event)
{
    if (!IsMouseEnabled() && IsMouseEventType(event.Type)) {
        if (m_pOwner != nullptr) {
            m_pOwner->DoEvent(event);
        } else {
            CControlUI::DoEvent(event);
        }
        return;
    }
    if (event.Type == EVENT_DBLCLICK && IsEnabled()) {
        Activate();
        Invalidate();
        return;
    }
    if (event.Type == EVENT_KEYDOWN && IsEnabled() && event.chKey == VK_RETURN) {
        Activate();
        Invalidate();
        return;
    }
    if (m_pOwner != nullptr) {
        m_pOwner->DoEvent(event);
    } else {
        CControlUI::DoEvent(event);
    }
}

void CListElementUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) {
        return;
    }
    // Any value selects: the attribute's presence is what counts.
    if (wcscmp(pstrName, L"selected") == 0) {
        Select();
    } else {
        CControlUI::SetAttribute(pstrName, pstrValue);
    }
}

void CListElementUI::DrawItemBk(HDC hDC, const RECT& /*rcItem*/)
{
    if (m_pOwner == nullptr) {
        return;
    }
    PaintListItemBk(this, hDC, m_pOwner->GetListInfo(), m_iIndex, m_bSelected, m_uButtonState);
}

}  // namespace Veneer
