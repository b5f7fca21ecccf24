#include "controls/ListItemUI.h"

#include <cwchar>

#include "controls/ListItemPaint.h"
#include "engine/PaintManagerUI.h"

namespace Veneer {

template <class Base>
LPVOID CListItemUI<Base>::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"ListItem") == 0) {
        return static_cast<IListItemUI*>(this);
    }
    return Base::GetInterface(pstrName);
}

template <class Base>
UINT CListItemUI<Base>::GetControlFlags() const { return kListItemFlags; }

template <class Base>
void CListItemUI<Base>::SetOwner(CControlUI* pOwner)
{
    m_pOwner = pOwner != nullptr ? static_cast<IListOwnerUI*>(pOwner->GetInterface(L"IListOwner")) : nullptr;
    m_pOwnerControl = m_pOwner != nullptr ? pOwner : nullptr;
}

template <class Base>
void CListItemUI<Base>::SetVisible(bool bVisible)
{
    Base::SetVisible(bVisible);
    if (!this->IsVisible() && m_bSelected) {
        m_bSelected = false;
        if (m_pOwner != nullptr) {
            m_pOwner->SelectItem(-1);
        }
    }
}

template <class Base>
void CListItemUI<Base>::SetEnabled(bool bEnable)
{
    Base::SetEnabled(bEnable);
    if (!this->IsEnabled()) {
        m_uButtonState = 0;
    }
}

template <class Base>
bool CListItemUI<Base>::Select(bool bSelect)
{
    if (!this->IsEnabled()) {
        return false;
    }
    if (bSelect == m_bSelected) {
        return true;
    }
    m_bSelected = bSelect;
    if (bSelect && m_pOwner != nullptr) {
        m_pOwner->SelectItem(m_iIndex);
    }
    this->Invalidate();
    return true;
}

template <class Base>
bool CListItemUI<Base>::Expand(bool /*bExpand*/) { return false; }

template <class Base>
bool CListItemUI<Base>::Activate()
{
    if (!Base::Activate()) {
        return false;
    }
    if (this->m_pManager != nullptr) {
        this->m_pManager->SendNotify(this, L"itemactivate");
    }
    return true;
}

template <class Base>
void CListItemUI<Base>::DoEvent(TEventUI& event)
{
    if (this->HandOnMouseEvent(event)) return;
    const bool activates = event.Type == EVENT_DBLCLICK || (event.Type == EVENT_KEYDOWN && event.chKey == VK_RETURN);
    if (activates && this->IsEnabled()) {
        Activate();
        this->Invalidate();
        return;
    }
    if (m_pOwner != nullptr) {
        m_pOwner->DoEvent(event);
    } else {
        CControlUI::DoEvent(event);
    }
}

template <class Base>
bool CListItemUI<Base>::DoItemMouseEvent(TEventUI& event)
{
    switch (event.Type) {
    case EVENT_BUTTONDOWN:
    case EVENT_RBUTTONDOWN:
        if (this->IsEnabled()) {
            if (this->m_pManager != nullptr) {
                this->m_pManager->SendNotify(this, L"itemclick");
            }
            Select();
            this->Invalidate();
        }
        return true;
    case EVENT_MOUSEMOVE:
    case EVENT_BUTTONUP:
        return true;
    case EVENT_MOUSEENTER:
        if (this->IsEnabled()) {
            m_uButtonState |= STATE_HOT;
            this->Invalidate();
        }
        return true;
    case EVENT_MOUSELEAVE:
        if ((m_uButtonState & STATE_HOT) != 0) {
            m_uButtonState &= ~STATE_HOT;
            this->Invalidate();
        }
        return true;
    default:
        return false;
    }
}

template <class Base>
void CListItemUI<Base>::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) {
        return;
    }
    // Any value selects: the attribute's presence is what counts.
    if (wcscmp(pstrName, L"selected") == 0) {
        Select();
    } else {
        Base::SetAttribute(pstrName, pstrValue);
    }
}

template <class Base>
void CListItemUI<Base>::DrawItemBk(HDC hDC, const RECT& /*rcItem*/)
{
    if (m_pOwner == nullptr) {
        return;
    }
    PaintListItemBk(this, hDC, m_pOwner->GetListInfo(), m_iIndex, m_bSelected, m_uButtonState);
}

template class CListItemUI<CControlUI>;
template class CListItemUI<CContainerUI>;

}  // namespace Veneer
