#include "controls/ListContainerElementUI.h"

#include <cwchar>

#include "controls/ListItemPaint.h"
#include "engine/PaintManagerUI.h"
#include "engine/RenderEngine.h"

namespace Veneer {

LPCTSTR CListContainerElementUI::GetClass() const { return L"ListContainerElementUI"; }

LPVOID CListContainerElementUI::GetInterface(LPCTSTR pstrName)
{
    if (pstrName != nullptr) {
        if (wcscmp(pstrName, L"ListItem") == 0) {
            return static_cast<IListItemUI*>(this);
        }
        if (wcscmp(pstrName, L"ListContainerElement") == 0) {
            return static_cast<CListContainerElementUI*>(this);
        }
    }
    return CContainerUI::GetInterface(pstrName);
}

UINT CListContainerElementUI::GetControlFlags() const { return kListItemFlags; }

void CListContainerElementUI::SetOwner(CControlUI* pOwner)
{
    m_pOwner = pOwner != nullptr ? static_cast<IListOwnerUI*>(pOwner->GetInterface(L"IListOwner")) : nullptr;
}

void CListContainerElementUI::SetVisible(bool bVisible)
{
    CContainerUI::SetVisible(bVisible);
    if (!IsVisible() && m_bSelected) {
        m_bSelected = false;
        if (m_pOwner != nullptr) {
            m_pOwner->SelectItem(-1);
        }
    }
}

void CListContainerElementUI::SetEnabled(bool bEnable)
{
    CContainerUI::SetEnabled(bEnable);
    if (!IsEnabled()) {
        m_uButtonState = 0;
    }
}

bool CListContainerElementUI::Select(bool bSelect)
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

bool CListContainerElementUI::Expand(bool /*bExpand*/) { return false; }

bool CListContainerElementUI::Activate()
{
    if (!CContainerUI::Activate()) {
        return false;
    }
    if (m_pManager != nullptr) {
        m_pManager->SendNotify(this, L"itemactivate");
    }
    return true;
}

void CListContainerElementUI::DoEvent(TEventUI& event)
{
    if (!IsMouseEnabled() && IsMouseEventType(event.Type)) {
        if (m_pOwner != nullptr) {
            m_pOwner->DoEvent(event);
        } else {
            CContainerUI::DoEvent(event);
        }
        return;
    }
    switch (event.Type) {
    case EVENT_DBLCLICK:
        if (IsEnabled()) {
            Activate();
            Invalidate();
        }
        return;
    case EVENT_KEYDOWN:
        if (IsEnabled() && event.chKey == VK_RETURN) {
            Activate();
            Invalidate();
            return;
        }
        break;
    case EVENT_BUTTONDOWN:
    case EVENT_RBUTTONDOWN:
        if (IsEnabled()) {
            if (m_pManager != nullptr) {
                m_pManager->SendNotify(this, L"itemclick");
            }
            Select();
            Invalidate();
        }
        return;
    case EVENT_MOUSEMOVE:
    case EVENT_BUTTONUP:
        return;
    case EVENT_MOUSEENTER:
        if (IsEnabled()) {
            m_uButtonState |= STATE_HOT;
            Invalidate();
        }
        return;
    case EVENT_MOUSELEAVE:
        if ((m_uButtonState & STATE_HOT) != 0) {
            m_uButtonState &= ~STATE_HOT;
            Invalidate();
        }
        return;
    default:
        break;
    }
    if (m_pOwner != nullptr) {
        m_pOwner->DoEvent(event);
    } else {
        CControlUI::DoEvent(event);
    }
}

void CListContainerElementUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) {
        return;
    }
    // Any value selects: the attribute's presence is what counts.
    if (wcscmp(pstrName, L"selected") == 0) {
        Select();
    } else {
        CContainerUI::SetAttribute(pstrName, pstrValue);
    }
}

void CListContainerElementUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) {
        return;
    }
    DrawItemBk(hDC, m_rcItem);
    CContainerUI::DoPaint(hDC, rcPaint);
}

void CListContainerElementUI::DrawItemText(HDC hDC, const RECT& rcItem)
{
    if (m_sText.IsEmpty() || m_pOwner == nullptr || m_pManager == nullptr) {
        return;
    }
    const TListInfoUI* pInfo = m_pOwner->GetListInfo();
    const DWORD dwTextColor = ListItemTextColor(this, pInfo, m_bSelected, m_uButtonState);
    RECT rcText = rcItem;
    rcText.left += pInfo->rcTextPadding.left;
    rcText.right -= pInfo->rcTextPadding.right;
    rcText.top += pInfo->rcTextPadding.top;
    rcText.bottom -= pInfo->rcTextPadding.bottom;
    CRenderEngine::DrawText(hDC, m_pManager, rcText, m_sText.GetData(), dwTextColor, pInfo->nFont,
        DT_SINGLELINE | pInfo->uTextStyle);
}

void CListContainerElementUI::DrawItemBk(HDC hDC, const RECT& /*rcItem*/)
{
    if (m_pOwner == nullptr) {
        return;
    }
    PaintListItemBk(this, hDC, m_pOwner->GetListInfo(), m_iIndex, m_bSelected, m_uButtonState);
}

}  // namespace Veneer
