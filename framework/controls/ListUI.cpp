#include "controls/ListUI.h"

#include <algorithm>
#include <cwchar>

#include "controls/ListBodyUI.h"
#include "controls/ListHeaderUI.h"
#include "controls/ListItemAttributes.h"
#include "controls/ScrollBarUI.h"
#include "engine/PaintManagerUI.h"
#include "foundation/ValueSyntax.h"
#include "engine/InvalidationBatch.h"

namespace Veneer {

using ValueSyntax::ParseBool;

namespace {

IListItemUI* AsListItem(CControlUI* pControl)
{
    return pControl != nullptr ? static_cast<IListItemUI*>(pControl->GetInterface(L"ListItem")) : nullptr;
}

}  // namespace

CListUI::CListUI()
{
    m_pList = new CListBodyUI(this);
    m_pHeader = new CListHeaderUI;
    // The list's own Add would treat the header as a newcomer.
    CVerticalLayoutUI::Add(m_pHeader);
    CVerticalLayoutUI::Add(m_pList);
}

CListUI::~CListUI() = default;

LPCWSTR CListUI::GetClass() const { return L"ListUI"; }

LPVOID CListUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr) {
        if (wcscmp(pstrName, L"List") == 0) {
            return static_cast<CListUI*>(this);
        }
        if (wcscmp(pstrName, L"IList") == 0) {
            return static_cast<IListUI*>(this);
        }
        if (wcscmp(pstrName, L"IListOwner") == 0) {
            return static_cast<IListOwnerUI*>(static_cast<IListUI*>(this));
        }
    }
    return CVerticalLayoutUI::GetInterface(pstrName);
}

UINT CListUI::GetControlFlags() const { return FLAG_TABSTOP; }

CContainerUI* CListUI::GetList() const { return m_pList; }

bool CListUI::IsHeader(CControlUI* pControl) const
{
    return pControl != nullptr && pControl->GetInterface(L"ListHeader") != nullptr;
}

bool CListUI::IsHeaderItem(CControlUI* pControl)
{
    LPCWSTR pstrClass = pControl != nullptr ? pControl->GetClass() : nullptr;
    return pstrClass != nullptr && wcsstr(pstrClass, L"ListHeaderItemUI") != nullptr;
}

void CListUI::UpdateColumnCount()
{
    m_ListInfo.nColumns = m_pHeader != nullptr ? std::min(m_pHeader->GetCount(), UILIST_MAX_COLUMNS) : 0;
}

// ---- children ----

CControlUI* CListUI::GetItemAt(int iIndex) const { return m_pList->GetItemAt(iIndex); }
int CListUI::GetItemIndex(CControlUI* pControl) const { return m_pList->GetItemIndex(pControl); }
int CListUI::GetCount() const { return m_pList->GetCount(); }

bool CListUI::Add(CControlUI* pControl)
{
    if (pControl == nullptr) {
        return false;
    }
    if (IsHeader(pControl)) {
        // Already a child: a second entry would be destroyed twice.
        if (pControl == m_pHeader || CVerticalLayoutUI::GetItemIndex(pControl) >= 0) {
            return false;
        }
        if (m_pHeader->GetCount() == 0) {
            CListHeaderUI* pOld = m_pHeader;
            m_pHeader = static_cast<CListHeaderUI*>(pControl->GetInterface(L"ListHeader"));
            RemoveOwnChild(pOld);
        }
        UpdateColumnCount();
        return CVerticalLayoutUI::AddAt(pControl, 0);
    }
    if (IsHeaderItem(pControl)) {
        const bool bAdded = m_pHeader->Add(pControl);
        UpdateColumnCount();
        return bAdded;
    }
    IListItemUI* pListItem = AsListItem(pControl);
    if (pListItem != nullptr) {
        pListItem->SetOwner(this);
        pListItem->SetIndex(GetCount());
    }
    return m_pList->Add(pControl);
}

bool CListUI::AddAt(CControlUI* pControl, int iIndex)
{
    if (pControl == nullptr) {
        return false;
    }
    if (IsHeader(pControl)) {
        return Add(pControl);
    }
    if (IsHeaderItem(pControl)) {
        const bool bAdded = m_pHeader->AddAt(pControl, iIndex);
        UpdateColumnCount();
        return bAdded;
    }
    if (!m_pList->AddAt(pControl, iIndex)) {
        return false;
    }
    IListItemUI* pListItem = AsListItem(pControl);
    if (pListItem != nullptr) {
        pListItem->SetOwner(this);
        pListItem->SetIndex(iIndex);
    }
    for (int i = iIndex + 1; i < m_pList->GetCount(); ++i) {
        IListItemUI* pLater = AsListItem(m_pList->GetItemAt(i));
        if (pLater != nullptr) {
            pLater->SetIndex(i);
        }
    }
    if (m_iCurSel >= iIndex) {
        m_iCurSel += 1;
    }
    if (m_iExpandedItem >= iIndex) {
        m_iExpandedItem += 1;
    }
    return true;
}

bool CListUI::Remove(CControlUI* pControl)
{
    if (pControl == nullptr) {
        return false;
    }
    if (IsHeader(pControl)) {
        if (pControl != m_pHeader) {
            return RemoveOwnChild(pControl);
        }
        if (!RemoveOwnChild(pControl)) {
            return false;
        }
        // The list always has a header to take its columns from; the removed
        // one is on its way to destruction, so an empty one takes its place.
        m_pHeader = new CListHeaderUI;
        CVerticalLayoutUI::AddAt(m_pHeader, 0);
        UpdateColumnCount();
        return true;
    }
    if (IsHeaderItem(pControl)) {
        const bool bRemoved = m_pHeader->Remove(pControl);
        UpdateColumnCount();
        return bRemoved;
    }

    const int iIndex = m_pList->GetItemIndex(pControl);
    if (iIndex < 0) {
        return false;
    }
    if (!m_pList->RemoveAt(iIndex)) {
        return false;
    }
    for (int i = iIndex; i < m_pList->GetCount(); ++i) {
        IListItemUI* pLater = AsListItem(m_pList->GetItemAt(i));
        if (pLater != nullptr) {
            pLater->SetIndex(i);
        }
    }
    if (iIndex == m_iExpandedItem) {
        m_iExpandedItem = -1;
    } else if (iIndex < m_iExpandedItem) {
        m_iExpandedItem -= 1;
    }
    if (iIndex == m_iCurSel) {
        const int iSel = m_iCurSel;
        m_iCurSel = -1;
        // The item that moved into the slot comes after the removed one;
        // the nearest one above is wanted.
        SelectItem(FindSelectable(iSel - 1, false), false);
    } else if (iIndex < m_iCurSel) {
        m_iCurSel -= 1;
    }
    return true;
}

bool CListUI::RemoveAt(int iIndex)
{
    CControlUI* pControl = m_pList->GetItemAt(iIndex);
    if (pControl == nullptr) {
        return false;
    }
    return Remove(pControl);
}

void CListUI::RemoveAll()
{
    m_iCurSel = -1;
    m_iExpandedItem = -1;
    m_pList->RemoveAll();
}

bool CListUI::SetItemIndex(CControlUI* pControl, int iIndex)
{
    if (pControl == nullptr) {
        return false;
    }
    if (IsHeader(pControl)) {
        const int iOld = CVerticalLayoutUI::GetItemIndex(pControl);
        if (iOld < 0 || iIndex < 0 || iIndex >= m_items.GetSize()) {
            return false;
        }
        NeedUpdate();
        m_items.Remove(iOld);
        return m_items.InsertAt(iIndex, pControl);
    }
    if (IsHeaderItem(pControl)) {
        return m_pHeader->SetItemIndex(pControl, iIndex);
    }
    const int iOrigIndex = m_pList->GetItemIndex(pControl);
    if (iOrigIndex < 0) {
        return false;
    }
    if (iOrigIndex == iIndex) {
        return true;
    }
    CControlUI* pSelected = m_pList->GetItemAt(m_iCurSel);
    CControlUI* pExpanded = m_pList->GetItemAt(m_iExpandedItem);
    if (!m_pList->SetItemIndex(pControl, iIndex)) {
        return false;
    }
    const int iMin = std::min(iOrigIndex, iIndex);
    const int iMax = std::max(iOrigIndex, iIndex);
    for (int i = iMin; i <= iMax; ++i) {
        IListItemUI* pItem = AsListItem(m_pList->GetItemAt(i));
        if (pItem != nullptr) {
            pItem->SetIndex(i);
        }
    }
    if (pSelected != nullptr) {
        m_iCurSel = m_pList->GetItemIndex(pSelected);
    }
    if (pExpanded != nullptr) {
        m_iExpandedItem = m_pList->GetItemIndex(pExpanded);
    }
    return true;
}

// The container's own removal looks children up through the virtual item
// accessors, which here answer for the body.
bool CListUI::RemoveOwnChild(CControlUI* pControl)
{
    const int iIndex = CVerticalLayoutUI::GetItemIndex(pControl);
    if (iIndex < 0) {
        return false;
    }
    NeedUpdate();
    m_items.Remove(iIndex);
    if (m_bAutoDestroy) {
        ReleaseChild(pControl);
    }
    return true;
}

// ---- selection ----

bool CListUI::SelectItem(int iIndex, bool bTakeFocus)
{
    if (iIndex == m_iCurSel) {
        return true;
    }
    const int iOldSel = m_iCurSel;
    if (m_iCurSel >= 0) {
        IListItemUI* pOld = AsListItem(GetItemAt(m_iCurSel));
        m_iCurSel = -1;
        if (pOld != nullptr) {
            pOld->Select(false);
        }
    }
    if (iIndex < 0) {
        return false;
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
    if (!pListItem->Select(true)) {
        m_iCurSel = -1;
        return false;
    }
    EnsureVisible(m_iCurSel);
    if (bTakeFocus) {
        pControl->SetFocus();
    }
    if (m_pManager != nullptr) {
        m_pManager->SendNotify(this, L"itemselect", static_cast<WPARAM>(iIndex), static_cast<LPARAM>(iOldSel));
    }
    return true;
}

void CListUI::SelectFound(int iIndex)
{
    if (iIndex < 0) {
        return;
    }
    SelectItem(iIndex, true);
}

bool CListUI::ExpandItem(int iIndex, bool bExpand)
{
    if (m_iExpandedItem >= 0 && !m_ListInfo.bMultiExpandable) {
        IListItemUI* pOld = AsListItem(GetItemAt(m_iExpandedItem));
        if (pOld != nullptr) {
            pOld->Expand(false);
        }
        m_iExpandedItem = -1;
    }
    if (bExpand) {
        CControlUI* pControl = GetItemAt(iIndex);
        if (pControl == nullptr || !pControl->IsVisible()) {
            return false;
        }
        IListItemUI* pListItem = AsListItem(pControl);
        if (pListItem == nullptr) {
            return false;
        }
        m_iExpandedItem = iIndex;
        if (!pListItem->Expand(true)) {
            m_iExpandedItem = -1;
            return false;
        }
    }
    NeedUpdate();
    return true;
}

void CListUI::EnsureVisible(int iIndex)
{
    if (m_iCurSel < 0) {
        return;
    }
    CControlUI* pControl = GetItemAt(iIndex);
    if (pControl == nullptr) {
        return;
    }
    RECT rcList = m_pList->GetPos();
    const RECT rcInset = m_pList->GetInset();
    rcList.left += rcInset.left;
    rcList.top += rcInset.top;
    rcList.right -= rcInset.right;
    rcList.bottom -= rcInset.bottom;
    CScrollBarUI* pHorizontalScrollBar = m_pList->GetHorizontalScrollBar();
    if (pHorizontalScrollBar != nullptr && pHorizontalScrollBar->IsVisible()) {
        rcList.bottom -= pHorizontalScrollBar->GetFixedHeight();
    }
    const RECT rcItem = pControl->GetPos();
    const bool bAbove = rcItem.top < rcList.top;
    const bool bBelow = rcItem.bottom >= rcList.bottom;
    if (!bAbove && !bBelow) {
        return;
    }
    int dy = 0;
    if (bAbove) {
        dy = rcItem.top - rcList.top;
    }
    if (bBelow) {
        dy = rcItem.bottom - rcList.bottom;
    }
    Scroll(0, dy);
}

void CListUI::Scroll(int dx, int dy)
{
    if (dx == 0 && dy == 0) {
        return;
    }
    SIZE sz = m_pList->GetScrollPos();
    sz.cx += dx;
    sz.cy += dy;
    m_pList->SetScrollPos(sz);
}

bool CListUI::SortItems(PULVCompareFunc pfnCompare, UINT_PTR dwData)
{
    return m_pList->SortItems(pfnCompare, dwData);
}

// ---- forwarded to the body ----

int CListUI::GetChildPadding() const { return m_pList->GetChildPadding(); }
void CListUI::SetChildPadding(int iPadding) { m_pList->SetChildPadding(iPadding); }
SIZE CListUI::GetScrollPos() const { return m_pList->GetScrollPos(); }
SIZE CListUI::GetScrollRange() const { return m_pList->GetScrollRange(); }
void CListUI::SetScrollPos(SIZE szPos) { m_pList->SetScrollPos(szPos); }
void CListUI::LineUp() { m_pList->LineUp(); }
void CListUI::LineDown() { m_pList->LineDown(); }
void CListUI::PageUp() { m_pList->PageUp(); }
void CListUI::PageDown() { m_pList->PageDown(); }
void CListUI::HomeUp() { m_pList->HomeUp(); }
void CListUI::EndDown() { m_pList->EndDown(); }
void CListUI::LineLeft() { m_pList->LineLeft(); }
void CListUI::LineRight() { m_pList->LineRight(); }
void CListUI::PageLeft() { m_pList->PageLeft(); }
void CListUI::PageRight() { m_pList->PageRight(); }
void CListUI::HomeLeft() { m_pList->HomeLeft(); }
void CListUI::EndRight() { m_pList->EndRight(); }

void CListUI::EnableScrollBar(bool bEnableVertical, bool bEnableHorizontal)
{
    m_pList->EnableScrollBar(bEnableVertical, bEnableHorizontal);
}

CScrollBarUI* CListUI::GetVerticalScrollBar() const { return m_pList->GetVerticalScrollBar(); }
CScrollBarUI* CListUI::GetHorizontalScrollBar() const { return m_pList->GetHorizontalScrollBar(); }

// ---- item style ----

void CListUI::SetItemFont(int index)
{
    m_ListInfo.nFont = index;
    NeedUpdate();
}

void CListUI::SetItemTextStyle(UINT uStyle)
{
    m_ListInfo.uTextStyle = uStyle;
    NeedUpdate();
}

void CListUI::SetItemTextPadding(RECT rc)
{
    m_ListInfo.rcTextPadding = rc;
    NeedUpdate();
}

void CListUI::SetItemTextColor(DWORD dwTextColor)
{
    m_ListInfo.dwTextColor = dwTextColor;
    Invalidate();
}

void CListUI::SetItemBkColor(DWORD dwBkColor)
{
    m_ListInfo.dwBkColor = dwBkColor;
    Invalidate();
}

void CListUI::SetItemBkImage(LPCWSTR pStrImage)
{
    m_ListInfo.sBkImage = pStrImage;
    Invalidate();
}

void CListUI::SetAlternateBk(bool bAlternateBk)
{
    m_ListInfo.bAlternateBk = bAlternateBk;
    Invalidate();
}

void CListUI::SetSelectedItemTextColor(DWORD dwTextColor)
{
    m_ListInfo.dwSelectedTextColor = dwTextColor;
    Invalidate();
}

void CListUI::SetSelectedItemBkColor(DWORD dwBkColor)
{
    m_ListInfo.dwSelectedBkColor = dwBkColor;
    Invalidate();
}

void CListUI::SetSelectedItemImage(LPCWSTR pStrImage)
{
    m_ListInfo.sSelectedImage = pStrImage;
    Invalidate();
}

void CListUI::SetHotItemTextColor(DWORD dwTextColor)
{
    m_ListInfo.dwHotTextColor = dwTextColor;
    Invalidate();
}

void CListUI::SetHotItemBkColor(DWORD dwBkColor)
{
    m_ListInfo.dwHotBkColor = dwBkColor;
    Invalidate();
}

void CListUI::SetHotItemImage(LPCWSTR pStrImage)
{
    m_ListInfo.sHotImage = pStrImage;
    Invalidate();
}

void CListUI::SetDisabledItemTextColor(DWORD dwTextColor)
{
    m_ListInfo.dwDisabledTextColor = dwTextColor;
    Invalidate();
}

void CListUI::SetDisabledItemBkColor(DWORD dwBkColor)
{
    m_ListInfo.dwDisabledBkColor = dwBkColor;
    Invalidate();
}

void CListUI::SetDisabledItemImage(LPCWSTR pStrImage)
{
    m_ListInfo.sDisabledImage = pStrImage;
    Invalidate();
}

void CListUI::SetItemLineColor(DWORD dwLineColor)
{
    m_ListInfo.dwLineColor = dwLineColor;
    Invalidate();
}

void CListUI::SetItemShowHtml(bool bShowHtml)
{
    if (m_ListInfo.bShowHtml == bShowHtml) {
        return;
    }
    m_ListInfo.bShowHtml = bShowHtml;
    NeedUpdate();
}

// ---- layout and input ----

void CListUI::SetPos(RECT rc)
{
    CInvalidationBatch batch(m_pManager);
    CVerticalLayoutUI::SetPos(rc);
    if (m_pHeader == nullptr) {
        return;
    }
    UpdateColumnCount();
    const bool bHeaderHidden = !m_pHeader->IsVisible();
    if (bHeaderHidden) {
        for (int it = 0; it < m_pHeader->GetCount(); ++it) {
            m_pHeader->GetItemAt(it)->SetInternVisible(true);
        }
        m_pHeader->SetPos(RECT { rc.left, 0, rc.right, 0 });
    }
    const int iOffset = m_pList->GetScrollPos().cx;
    for (int it = 0; it < m_ListInfo.nColumns; ++it) {
        CControlUI* pControl = m_pHeader->GetItemAt(it);
        if (!pControl->IsVisible() || pControl->IsFloat()) {
            continue;
        }
        if (iOffset > 0) {
            RECT rcPos = pControl->GetPos();
            rcPos.left -= iOffset;
            rcPos.right -= iOffset;
            pControl->SetPos(rcPos);
        }
        m_ListInfo.rcColumn[it] = pControl->GetPos();
    }
    if (bHeaderHidden) {
        for (int it = 0; it < m_pHeader->GetCount(); ++it) {
            m_pHeader->GetItemAt(it)->SetInternVisible(false);
        }
    }
}

void CListUI::DoEvent(TEventUI& event)
{
    if (!IsMouseEnabled() && event.Type > EVENT__MOUSEBEGIN && event.Type < EVENT__MOUSEEND) {
        if (m_pParent != nullptr) {
            m_pParent->DoEvent(event);
        } else {
            CVerticalLayoutUI::DoEvent(event);
        }
        return;
    }

    switch (event.Type) {
    case EVENT_SETFOCUS:
        m_bFocused = true;
        return;
    case EVENT_KILLFOCUS:
        m_bFocused = false;
        return;
    case EVENT_KEYDOWN:
        switch (event.chKey) {
        case VK_RETURN:
            if (m_iCurSel != -1) {
                CControlUI* pSelected = GetItemAt(m_iCurSel);
                if (pSelected != nullptr) {
                    pSelected->Activate();
                }
            }
            return;
        case VK_PRIOR:
            PageUp();
            return;
        case VK_NEXT:
            PageDown();
            return;
        case VK_END:
            SelectFound(FindSelectable(GetCount() - 1, true));
            return;
        case VK_HOME:
            SelectFound(FindSelectable(0, false));
            return;
        case VK_UP:
            SelectFound(FindSelectable(m_iCurSel - 1, false));
            return;
        case VK_DOWN:
            SelectFound(FindSelectable(m_iCurSel + 1, true));
            return;
        default:
            break;
        }
        break;
    case EVENT_SCROLLWHEEL:
        switch (LOWORD(event.wParam)) {
        case SB_LINEUP:
            if (m_bScrollSelect) {
                SelectFound(FindSelectable(m_iCurSel - 1, false));
            } else {
                LineUp();
            }
            return;
        case SB_LINEDOWN:
            if (m_bScrollSelect) {
                SelectFound(FindSelectable(m_iCurSel + 1, true));
            } else {
                LineDown();
            }
            return;
        default:
            break;
        }
        break;
    default:
        break;
    }
    CVerticalLayoutUI::DoEvent(event);
}

void CListUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) {
        return;
    }
    if (SetListItemAttribute(*this, pstrName, pstrValue)) {
        return;
    }
    if (wcscmp(pstrName, L"header") == 0) {
        m_pHeader->SetVisible(wcscmp(pstrValue, L"hidden") != 0);
    } else if (wcscmp(pstrName, L"headerbkimage") == 0) {
        m_pHeader->SetBkImage(pstrValue);
    } else if (wcscmp(pstrName, L"scrollselect") == 0) {
        SetScrollSelect(ParseBool(pstrValue));
    } else if (wcscmp(pstrName, L"multiexpanding") == 0) {
        SetMultiExpanding(ParseBool(pstrValue));
    } else if (wcscmp(pstrName, L"itemendellipsis") == 0) {
        UINT uStyle = m_ListInfo.uTextStyle;
        if (ParseBool(pstrValue)) {
            uStyle |= DT_END_ELLIPSIS;
        } else {
            uStyle &= ~DT_END_ELLIPSIS;
        }
        SetItemTextStyle(uStyle);
    } else if (wcscmp(pstrName, L"vscrollbar") == 0) {
        // The bars belong to the body; the list's own bar fields stay empty.
        EnableScrollBar(ParseBool(pstrValue), GetHorizontalScrollBar() != nullptr);
    } else if (wcscmp(pstrName, L"vscrollbarstyle") == 0) {
        EnableScrollBar(true, GetHorizontalScrollBar() != nullptr);
        if (GetVerticalScrollBar() != nullptr) {
            GetVerticalScrollBar()->ApplyAttributeList(pstrValue);
        }
    } else if (wcscmp(pstrName, L"hscrollbar") == 0) {
        EnableScrollBar(GetVerticalScrollBar() != nullptr, ParseBool(pstrValue));
    } else if (wcscmp(pstrName, L"hscrollbarstyle") == 0) {
        EnableScrollBar(GetVerticalScrollBar() != nullptr, true);
        if (GetHorizontalScrollBar() != nullptr) {
            GetHorizontalScrollBar()->ApplyAttributeList(pstrValue);
        }
    } else {
        CVerticalLayoutUI::SetAttribute(pstrName, pstrValue);
    }
}

}  // namespace Veneer
