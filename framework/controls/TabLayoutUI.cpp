#include "controls/TabLayoutUI.h"

#include <algorithm>
#include <cwchar>

#include "engine/PaintManagerUI.h"
#include "foundation/ValueSyntax.h"
#include "engine/InvalidationBatch.h"

namespace Veneer {

LPCWSTR CTabLayoutUI::GetClass() const { return L"TabLayoutUI"; }

LPVOID CTabLayoutUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"TabLayout") == 0) {
        return static_cast<CTabLayoutUI*>(this);
    }
    return CContainerUI::GetInterface(pstrName);
}

bool CTabLayoutUI::Add(CControlUI* pControl)
{
    if (!CContainerUI::Add(pControl)) {
        return false;
    }
    if (m_iCurSel == -1 && pControl->IsVisible()) {
        m_iCurSel = GetItemIndex(pControl);
    } else {
        pControl->SetVisible(false);
    }
    return true;
}

bool CTabLayoutUI::AddAt(CControlUI* pControl, int iIndex)
{
    if (!CContainerUI::AddAt(pControl, iIndex)) {
        return false;
    }
    if (m_iCurSel == -1 && pControl->IsVisible()) {
        m_iCurSel = GetItemIndex(pControl);
    } else if (m_iCurSel != -1 && iIndex <= m_iCurSel) {
        // The selected page moved up by one. The new page is hidden all the
        // same: one page shows at a time.
        m_iCurSel += 1;
        pControl->SetVisible(false);
    } else {
        pControl->SetVisible(false);
    }
    return true;
}

bool CTabLayoutUI::Remove(CControlUI* pControl)
{
    if (pControl == nullptr) {
        return false;
    }
    const int index = GetItemIndex(pControl);
    if (!CContainerUI::Remove(pControl)) {
        return false;
    }
    if (m_iCurSel == index) {
        if (GetCount() > 0) {
            m_iCurSel = 0;
            GetItemAt(0)->SetVisible(true);
        } else {
            m_iCurSel = -1;
        }
        NeedParentUpdate();
    } else if (m_iCurSel > index) {
        m_iCurSel -= 1;
    }
    return true;
}

void CTabLayoutUI::RemoveAll()
{
    m_iCurSel = -1;
    CContainerUI::RemoveAll();
    NeedParentUpdate();
}

bool CTabLayoutUI::SelectItem(int iIndex)
{
    if (iIndex < 0 || iIndex >= m_items.GetSize()) {
        return false;
    }
    if (iIndex == m_iCurSel) {
        return true;
    }
    const int iOldSel = m_iCurSel;
    m_iCurSel = iIndex;
    for (int it = 0; it < m_items.GetSize(); ++it) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items[it]);
        if (it == iIndex) {
            pControl->SetVisible(true);
            pControl->SetFocus();
            SetPos(m_rcItem);
        } else {
            pControl->SetVisible(false);
        }
    }
    NeedParentUpdate();
    if (m_pManager != nullptr) {
        m_pManager->SetNextTabControl();
        m_pManager->SendNotify(this, L"tabselect", static_cast<WPARAM>(m_iCurSel),
            static_cast<LPARAM>(iOldSel));
    }
    return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* pControl)
{
    const int iIndex = GetItemIndex(pControl);
    if (iIndex == -1) {
        return false;
    }
    return SelectItem(iIndex);
}

void CTabLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) {
        return;
    }
    if (std::wcscmp(pstrName, L"selectedid") == 0) {
        SelectItem(static_cast<int>(ValueSyntax::ParseInt(pstrValue)));
    }
    CContainerUI::SetAttribute(pstrName, pstrValue);
}

void CTabLayoutUI::SetPos(RECT rc)
{
    CInvalidationBatch batch(m_pManager);
    CControlUI::SetPos(rc);
    rc = m_rcItem;
    rc.left += m_rcInset.left;
    rc.top += m_rcInset.top;
    rc.right -= m_rcInset.right;
    rc.bottom -= m_rcInset.bottom;

    for (int it = 0; it < m_items.GetSize(); ++it) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items[it]);
        if (!pControl->IsVisible()) {
            continue;
        }
        if (pControl->IsFloat()) {
            SetFloatPos(it);
            continue;
        }
        if (it != m_iCurSel) {
            continue;
        }
        const RECT rcPadding = pControl->GetPadding();
        RECT rcPage = rc;
        rcPage.left += rcPadding.left;
        rcPage.top += rcPadding.top;
        rcPage.right -= rcPadding.right;
        rcPage.bottom -= rcPadding.bottom;
        const SIZE szAvailable = { rcPage.right - rcPage.left, rcPage.bottom - rcPage.top };
        SIZE sz = pControl->EstimateSize(szAvailable);
        if (sz.cx == 0) {
            sz.cx = std::max<LONG>(0, szAvailable.cx);
        }
        sz.cx = std::min<LONG>(std::max<LONG>(sz.cx, pControl->GetMinWidth()), pControl->GetMaxWidth());
        if (sz.cy == 0) {
            sz.cy = std::max<LONG>(0, szAvailable.cy);
        }
        sz.cy = std::min<LONG>(std::max<LONG>(sz.cy, pControl->GetMinHeight()), pControl->GetMaxHeight());
        pControl->SetPos(RECT { rcPage.left, rcPage.top, rcPage.left + sz.cx, rcPage.top + sz.cy });
    }
}

}  // namespace Veneer
