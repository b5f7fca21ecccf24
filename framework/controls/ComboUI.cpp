#include "controls/ComboUI.h"

#include <algorithm>
#include <climits>
#include <cwchar>

#include "controls/ControlStates.h"
#include "controls/ListItemAttributes.h"
#include "controls/ScrollBarUI.h"
#include "controls/VerticalLayoutUI.h"
#include "engine/RenderEngine.h"
#include "foundation/RectMath.h"
#include "foundation/ValueSyntax.h"

namespace Veneer {

using ValueSyntax::ParseRect;
using ValueSyntax::ParseSize;

namespace {

IListItemUI* AsListItem(CControlUI* pControl)
{
    return pControl != nullptr ? static_cast<IListItemUI*>(pControl->GetInterface(L"ListItem")) : nullptr;
}

}  // namespace

CComboUI::CComboUI() = default;

CComboUI::~CComboUI()
{
    // The pop-up may still hold the items and post to this control.
    if (m_pWindow != nullptr) {
        CComboWnd* pWindow = m_pWindow;
        m_pWindow = nullptr;
        pWindow->DetachOwner();
    }
}

LPCWSTR CComboUI::GetClass() const { return L"ComboUI"; }

LPVOID CComboUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr) {
        if (wcscmp(pstrName, L"Combo") == 0) {
            return static_cast<CComboUI*>(this);
        }
        if (wcscmp(pstrName, L"IListOwner") == 0) {
            return static_cast<IListOwnerUI*>(this);
        }
    }
    return CContainerUI::GetInterface(pstrName);
}

CStdString CComboUI::GetText() const
{
    CControlUI* pControl = GetItemAt(m_iCurSel);
    return pControl != nullptr ? pControl->GetText() : CStdString();
}

void CComboUI::CloseDropWindow()
{
    if (m_pWindow != nullptr) {
        m_pWindow->Close();
    }
}

void CComboUI::SetEnabled(bool bEnable)
{
    CContainerUI::SetEnabled(bEnable);
    if (!IsEnabled()) {
        m_uButtonState = 0;
        // A disabled combo cannot be choosing: no pop-up stays open.
        CloseDropWindow();
    }
}

void CComboUI::SetVisible(bool bVisible)
{
    CContainerUI::SetVisible(bVisible);
    if (!IsVisible()) {
        CloseDropWindow();
    }
}

void CComboUI::SetInternVisible(bool bVisible)
{
    CContainerUI::SetInternVisible(bVisible);
    if (!IsVisible()) {
        CloseDropWindow();
    }
}

bool CComboUI::Activate()
{
    if (!CControlUI::Activate()) {
        return false;
    }
    if (m_pWindow != nullptr) {
        return true;
    }
    CComboWnd* pWindow = new CComboWnd;
    m_pWindow = pWindow;
    if (!pWindow->Init(this)) {
        if (m_pWindow == pWindow) {
            m_pWindow = nullptr;
        }
        delete pWindow;
        return false;
    }
    if (m_pManager != nullptr) {
        m_pManager->SendNotify(this, L"dropdown");
    }
    Invalidate();
    return true;
}

bool CComboUI::SelectItem(int iIndex, bool bTakeFocus)
{
    CloseDropWindow();
    if (iIndex == m_iCurSel) {
        return true;
    }
    const int iOldSel = m_iCurSel;
    if (m_iCurSel >= 0) {
        CControlUI* pControl = GetItemAt(m_iCurSel);
        if (pControl == nullptr) {
            return false;
        }
        m_iCurSel = -1;
        IListItemUI* pListItem = AsListItem(pControl);
        if (pListItem != nullptr) {
            pListItem->Select(false);
        }
        // The face showed that item; it must not keep showing it.
        Invalidate();
    }
    if (iIndex < 0 || m_items.GetSize() == 0) {
        return false;
    }
    if (iIndex >= m_items.GetSize()) {
        iIndex = m_items.GetSize() - 1;
    }
    CControlUI* pControl = GetItemAt(iIndex);
    if (pControl == nullptr || !pControl->IsVisible() || !pControl->IsEnabled()) {
        return false;
    }
    IListItemUI* pListItem = AsListItem(pControl);
    if (pListItem == nullptr) {
        return false;
    }
    m_iCurSel = iIndex;
    if (m_pWindow != nullptr || bTakeFocus) {
        pControl->SetFocus();
    }
    pListItem->Select(true);
    if (m_pManager != nullptr) {
        m_pManager->SendNotify(this, L"itemselect", static_cast<WPARAM>(m_iCurSel), static_cast<LPARAM>(iOldSel));
    }
    Invalidate();
    return true;
}

void CComboUI::SelectFound(int iIndex)
{
    if (iIndex < 0) {
        return;
    }
    SelectItem(iIndex);
}

void CComboUI::RenumberFrom(int iFirst, int iLast)
{
    for (int i = std::max(0, iFirst); i <= iLast && i < m_items.GetSize(); ++i) {
        IListItemUI* pListItem = AsListItem(GetItemAt(i));
        if (pListItem != nullptr) {
            pListItem->SetIndex(i);
        }
    }
}

bool CComboUI::SetItemIndex(CControlUI* pControl, int iIndex)
{
    const int iOrigIndex = GetItemIndex(pControl);
    if (iOrigIndex < 0) {
        return false;
    }
    if (iOrigIndex == iIndex) {
        return true;
    }
    IListItemUI* pSelected = m_iCurSel >= 0 ? AsListItem(GetItemAt(m_iCurSel)) : nullptr;
    if (!CContainerUI::SetItemIndex(pControl, iIndex)) {
        return false;
    }
    RenumberFrom(std::min(iOrigIndex, iIndex), std::max(iOrigIndex, iIndex));
    if (pSelected != nullptr) {
        m_iCurSel = pSelected->GetIndex();
    }
    return true;
}

bool CComboUI::Add(CControlUI* pControl)
{
    IListItemUI* pListItem = AsListItem(pControl);
    if (pListItem != nullptr) {
        pListItem->SetOwner(this);
        pListItem->SetIndex(m_items.GetSize());
    }
    return CContainerUI::Add(pControl);
}

bool CComboUI::AddAt(CControlUI* pControl, int iIndex)
{
    if (!CContainerUI::AddAt(pControl, iIndex)) {
        return false;
    }
    IListItemUI* pListItem = AsListItem(pControl);
    if (pListItem != nullptr) {
        pListItem->SetOwner(this);
        pListItem->SetIndex(iIndex);
    }
    RenumberFrom(iIndex + 1, m_items.GetSize() - 1);
    if (m_iCurSel >= iIndex) {
        m_iCurSel += 1;
    }
    if (m_pWindow != nullptr && m_pWindow->m_iOldSel >= iIndex) {
        m_pWindow->m_iOldSel += 1;
    }
    return true;
}

bool CComboUI::Remove(CControlUI* pControl)
{
    return RemoveAt(GetItemIndex(pControl));
}

bool CComboUI::RemoveAt(int iIndex)
{
    CControlUI* pControl = GetItemAt(iIndex);
    if (pControl == nullptr) {
        return false;
    }
    // An open pop-up lists the item: it lets go of it first.
    if (m_pWindow != nullptr) {
        m_pWindow->ForgetItem(pControl);
    }
    if (!CContainerUI::Remove(pControl)) {
        return false;
    }
    RenumberFrom(iIndex, m_items.GetSize() - 1);
    if (m_pWindow != nullptr) {
        // Escape restores by index: keep it on the same item, or on none.
        int& iOldSel = m_pWindow->m_iOldSel;
        if (iIndex == iOldSel) {
            iOldSel = -1;
        } else if (iIndex < iOldSel) {
            iOldSel -= 1;
        }
    }
    if (iIndex == m_iCurSel) {
        const int iSel = m_iCurSel;
        m_iCurSel = -1;
        // The item that moved into the slot comes after the removed one;
        // the nearest one above is wanted.
        SelectItem(FindSelectable(iSel - 1, false));
    } else if (iIndex < m_iCurSel) {
        m_iCurSel -= 1;
    }
    return true;
}

void CComboUI::RemoveAll()
{
    if (m_pWindow != nullptr) {
        for (int it = 0; it < m_items.GetSize(); ++it) {
            m_pWindow->ForgetItem(static_cast<CControlUI*>(m_items[it]));
        }
        m_pWindow->m_iOldSel = -1;
    }
    m_iCurSel = -1;
    CContainerUI::RemoveAll();
}

// ---- appearance ----

void CComboUI::SetTextPadding(RECT rc)
{
    m_rcTextPadding = rc;
    Invalidate();
}

void CComboUI::SetNormalImage(LPCWSTR pStrImage)
{
    m_sNormalImage = pStrImage;
    Invalidate();
}

void CComboUI::SetHotImage(LPCWSTR pStrImage)
{
    m_sHotImage = pStrImage;
    Invalidate();
}

void CComboUI::SetPushedImage(LPCWSTR pStrImage)
{
    m_sPushedImage = pStrImage;
    Invalidate();
}

void CComboUI::SetFocusedImage(LPCWSTR pStrImage)
{
    m_sFocusedImage = pStrImage;
    Invalidate();
}

void CComboUI::SetDisabledImage(LPCWSTR pStrImage)
{
    m_sDisabledImage = pStrImage;
    Invalidate();
}

void CComboUI::SetDropBoxSize(SIZE szDropBox)
{
    // A negative height would make a window of negative size.
    szDropBox.cy = std::max<LONG>(0, szDropBox.cy);
    m_szDropBox = szDropBox;
}

void CComboUI::SetItemFont(int index)
{
    m_ListInfo.nFont = index;
    Invalidate();
}

void CComboUI::SetItemTextStyle(UINT uStyle)
{
    m_ListInfo.uTextStyle = uStyle;
    Invalidate();
}

void CComboUI::SetItemTextPadding(RECT rc)
{
    m_ListInfo.rcTextPadding = rc;
    Invalidate();
}

void CComboUI::SetItemTextColor(DWORD dwTextColor)
{
    m_ListInfo.dwTextColor = dwTextColor;
    Invalidate();
}

void CComboUI::SetItemShowHtml(bool bShowHtml)
{
    if (m_ListInfo.bShowHtml == bShowHtml) {
        return;
    }
    m_ListInfo.bShowHtml = bShowHtml;
    Invalidate();
}

// ---- layout, input and painting ----

SIZE CComboUI::EstimateSize(SIZE szAvailable)
{
    if (m_cyFixed != 0) {
        return CControlUI::EstimateSize(szAvailable);
    }
    const LONG cyFont = m_pManager != nullptr ? m_pManager->GetDefaultFontInfo()->tm.tmHeight : 0;
    return SIZE { m_cxFixed, cyFont + 12 };
}

void CComboUI::SetPos(RECT rc)
{
    // Items are laid out only inside the pop-up; while they are lent to it
    // their places there stay.
    const bool bLent = m_pWindow != nullptr && !m_pWindow->m_bItemsReturned;
    if (!bLent) {
        const RECT rcNull = { 0, 0, 0, 0 };
        for (int it = 0; it < m_items.GetSize(); ++it) {
            static_cast<CControlUI*>(m_items[it])->SetPos(rcNull);
        }
    }
    CControlUI::SetPos(rc);
}

void CComboUI::DoEvent(TEventUI& event)
{
    if (HandOnMouseEvent(event)) return;

    switch (event.Type) {
    case EVENT_SETFOCUS:
    case EVENT_KILLFOCUS:
        Invalidate();
        break;
    case EVENT_BUTTONDOWN:
        if (IsEnabled()) {
            Activate();
            m_uButtonState |= STATE_PUSHED | STATE_CAPTURED;
        }
        return;
    case EVENT_BUTTONUP:
        if ((m_uButtonState & STATE_CAPTURED) != 0) {
            m_uButtonState &= ~STATE_CAPTURED;
            Invalidate();
        }
        return;
    case EVENT_MOUSEMOVE:
    case EVENT_CONTEXTMENU:
        return;
    case EVENT_KEYDOWN:
        switch (event.chKey) {
        case VK_F4:
            Activate();
            return;
        case VK_UP:
        case VK_PRIOR:
            SelectFound(FindSelectable(m_iCurSel - 1, false));
            return;
        case VK_DOWN:
        case VK_NEXT:
            SelectFound(FindSelectable(m_iCurSel + 1, true));
            return;
        case VK_HOME:
            SelectFound(FindSelectable(0, false));
            return;
        case VK_END:
            SelectFound(FindSelectable(GetCount() - 1, true));
            return;
        default:
            break;
        }
        break;
    case EVENT_SCROLLWHEEL:
        if (LOWORD(event.wParam) == SB_LINEDOWN) {
            SelectFound(FindSelectable(m_iCurSel + 1, true));
        } else {
            SelectFound(FindSelectable(m_iCurSel - 1, false));
        }
        return;
    case EVENT_MOUSEENTER:
        if (::PtInRect(&m_rcItem, event.ptMouse)) {
            if ((m_uButtonState & STATE_HOT) == 0) {
                m_uButtonState |= STATE_HOT;
            }
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
    CControlUI::DoEvent(event);
}

void CComboUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) {
        return;
    }
    if (SetListItemAttribute(*this, pstrName, pstrValue)) {
        return;
    }
    if (wcscmp(pstrName, L"textpadding") == 0) {
        SetTextPadding(ParseRect(pstrValue));
    } else if (wcscmp(pstrName, L"normalimage") == 0) {
        SetNormalImage(pstrValue);
    } else if (wcscmp(pstrName, L"hotimage") == 0) {
        SetHotImage(pstrValue);
    } else if (wcscmp(pstrName, L"pushedimage") == 0) {
        SetPushedImage(pstrValue);
    } else if (wcscmp(pstrName, L"focusedimage") == 0) {
        SetFocusedImage(pstrValue);
    } else if (wcscmp(pstrName, L"disabledimage") == 0) {
        SetDisabledImage(pstrValue);
    } else if (wcscmp(pstrName, L"dropbox") == 0) {
        SetDropBoxAttributeList(pstrValue);
    } else if (wcscmp(pstrName, L"dropboxsize") == 0) {
        SetDropBoxSize(ParseSize(pstrValue));
    } else {
        CContainerUI::SetAttribute(pstrName, pstrValue);
    }
}

void CComboUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    CControlUI::DoPaint(hDC, rcPaint);
}

void CComboUI::RefreshStateBits()
{
    RefreshFocusAndEnabled(*this, m_uButtonState);
}

void CComboUI::PaintStatusImage(HDC hDC)
{
    RefreshStateBits();
    CStdString* pStateImage = nullptr;
    if ((m_uButtonState & STATE_DISABLED) != 0) {
        pStateImage = &m_sDisabledImage;
    } else if ((m_uButtonState & STATE_PUSHED) != 0) {
        pStateImage = &m_sPushedImage;
    } else if ((m_uButtonState & STATE_HOT) != 0) {
        pStateImage = &m_sHotImage;
    } else if ((m_uButtonState & STATE_FOCUSED) != 0) {
        pStateImage = &m_sFocusedImage;
    }
    if (pStateImage != nullptr && DrawOrDrop(*this, hDC, *pStateImage)) {
        return;
    }
    DrawOrDrop(*this, hDC, m_sNormalImage);
}

RECT CComboUI::GetTextRect() const
{
    return RectMath::Pad(m_rcItem, m_rcTextPadding);
}

void CComboUI::PaintSelectedItem(HDC hDC, const RECT& rcText)
{
    CControlUI* pControl = GetItemAt(m_iCurSel);
    if (pControl == nullptr) {
        return;
    }
    IListItemUI* pListItem = AsListItem(pControl);
    if (pListItem != nullptr) {
        pListItem->DrawItemText(hDC, rcText);
        return;
    }
    const RECT rcOldPos = pControl->GetPos();
    pControl->SetPos(rcText);
    pControl->DoPaint(hDC, rcText);
    pControl->SetPos(rcOldPos);
}

void CComboUI::PaintText(HDC hDC)
{
    if (m_iCurSel < 0) {
        return;
    }
    PaintSelectedItem(hDC, GetTextRect());
}

}  // namespace Veneer
