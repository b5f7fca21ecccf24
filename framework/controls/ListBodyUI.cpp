#include "controls/ListBodyUI.h"

#include <algorithm>
#include <cstdlib>

#include "controls/ListHeaderUI.h"
#include "controls/ScrollBarUI.h"
#include "engine/PaintManagerUI.h"
#include "engine/InvalidationBatch.h"

namespace Veneer {

namespace {

// qsort has no context argument; sorting happens on the one UI thread.
struct TSortContext {
    PULVCompareFunc pfnCompare { nullptr };
    UINT_PTR dwData { 0 };
};
TSortContext* g_pSortContext = nullptr;

int __cdecl CompareItems(const void* a, const void* b)
{
    const UINT_PTR first = reinterpret_cast<UINT_PTR>(*static_cast<void* const*>(a));
    const UINT_PTR second = reinterpret_cast<UINT_PTR>(*static_cast<void* const*>(b));
    return g_pSortContext->pfnCompare(first, second, g_pSortContext->dwData);
}

LONG ClampWidth(LONG cx, const CControlUI* pControl)
{
    cx = std::max<LONG>(cx, 0);
    cx = std::max<LONG>(cx, pControl->GetMinWidth());
    return std::min<LONG>(cx, pControl->GetMaxWidth());
}

}  // namespace

CListBodyUI::CListBodyUI(CListUI* pOwner) : m_pOwner(pOwner) {}

void CListBodyUI::SetScrollPos(SIZE szPos)
{
    CInvalidationBatch batch(m_pManager);
    int cx = 0;
    int cy = 0;
    if (m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible()) {
        const int iLastScrollPos = m_pVerticalScrollBar->GetScrollPos();
        m_pVerticalScrollBar->SetScrollPos(szPos.cy);
        cy = m_pVerticalScrollBar->GetScrollPos() - iLastScrollPos;
    }
    if (m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible()) {
        const int iLastScrollPos = m_pHorizontalScrollBar->GetScrollPos();
        m_pHorizontalScrollBar->SetScrollPos(szPos.cx);
        cx = m_pHorizontalScrollBar->GetScrollPos() - iLastScrollPos;
    }
    if (cx == 0 && cy == 0) {
        return;
    }
    for (int it = 0; it < m_items.GetSize(); ++it) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items[it]);
        if (!pControl->IsVisible() || pControl->IsFloat()) {
            continue;
        }
        RECT rcPos = pControl->GetPos();
        ::OffsetRect(&rcPos, -cx, -cy);
        pControl->SetPos(rcPos);
    }
    Invalidate();
    if (cx != 0) {
        ShiftHeader(cx);
    }
}

void CListBodyUI::ShiftHeader(int cx)
{
    if (m_pOwner == nullptr) {
        return;
    }
    CListHeaderUI* pHeader = m_pOwner->GetHeader();
    if (pHeader == nullptr) {
        return;
    }
    TListInfoUI* pInfo = m_pOwner->GetListInfo();
    pInfo->nColumns = std::min(pHeader->GetCount(), UILIST_MAX_COLUMNS);
    const bool bHeaderHidden = !pHeader->IsVisible();
    if (bHeaderHidden) {
        for (int it = 0; it < pHeader->GetCount(); ++it) {
            pHeader->GetItemAt(it)->SetInternVisible(true);
        }
    }
    for (int it = 0; it < pInfo->nColumns; ++it) {
        CControlUI* pControl = pHeader->GetItemAt(it);
        if (!pControl->IsVisible() || pControl->IsFloat()) {
            continue;
        }
        RECT rcPos = pControl->GetPos();
        rcPos.left -= cx;
        rcPos.right -= cx;
        pControl->SetPos(rcPos);
        pInfo->rcColumn[it] = pControl->GetPos();
    }
    if (bHeaderHidden) {
        for (int it = 0; it < pHeader->GetCount(); ++it) {
            pHeader->GetItemAt(it)->SetInternVisible(false);
        }
    } else {
        pHeader->Invalidate();
    }
}

void CListBodyUI::SetPos(RECT rc)
{
    CInvalidationBatch batch(m_pManager);
    CControlUI::SetPos(rc);
    rc = m_rcItem;
    rc.left += m_rcInset.left;
    rc.top += m_rcInset.top;
    rc.right -= m_rcInset.right;
    rc.bottom -= m_rcInset.bottom;
    if (m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible()) {
        rc.right -= m_pVerticalScrollBar->GetFixedWidth();
    }
    if (m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible()) {
        rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
    }

    if (m_items.IsEmpty()) {
        ProcessScrollBar(rc, 0, 0);
        return;
    }

    SIZE szAvailable = { rc.right - rc.left, rc.bottom - rc.top };

    int nAdjustables = 0;
    int cyFixed = 0;
    int nEstimateNum = 0;
    LONG cxNeeded = 0;
    for (int it = 0; it < m_items.GetSize(); ++it) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items[it]);
        if (!pControl->IsVisible() || pControl->IsFloat()) {
            continue;
        }
        SIZE sz = pControl->EstimateSize(szAvailable);
        if (sz.cy == 0) {
            ++nAdjustables;
        } else {
            sz.cy = std::max<LONG>(sz.cy, pControl->GetMinHeight());
            sz.cy = std::min<LONG>(sz.cy, pControl->GetMaxHeight());
        }
        const RECT rcPadding = pControl->GetPadding();
        cyFixed += sz.cy + rcPadding.top + rcPadding.bottom;
        cxNeeded = std::max(cxNeeded, ClampWidth(sz.cx, pControl));
        ++nEstimateNum;
    }
    if (nEstimateNum > 0) {
        cyFixed += (nEstimateNum - 1) * m_iChildPadding;
    }

    if (m_pOwner != nullptr) {
        CListHeaderUI* pHeader = m_pOwner->GetHeader();
        if (pHeader != nullptr && pHeader->GetCount() > 0) {
            cxNeeded = pHeader->EstimateSize(SIZE { rc.right - rc.left, rc.bottom - rc.top }).cx;
        }
    }

    if (m_pHorizontalScrollBar != nullptr) {
        const int cxVisible = rc.right - rc.left;
        if (cxNeeded > cxVisible) {
            if (!m_pHorizontalScrollBar->IsVisible()) {
                m_pHorizontalScrollBar->SetVisible(true);
                m_pHorizontalScrollBar->SetScrollPos(0);
                rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
            }
            m_pHorizontalScrollBar->SetScrollRange(cxNeeded - cxVisible);
        } else if (m_pHorizontalScrollBar->IsVisible()) {
            m_pHorizontalScrollBar->SetVisible(false);
            m_pHorizontalScrollBar->SetScrollRange(0);
            m_pHorizontalScrollBar->SetScrollPos(0);
            rc.bottom += m_pHorizontalScrollBar->GetFixedHeight();
        }
    }
    szAvailable.cy = rc.bottom - rc.top;

    int cyExpand = 0;
    if (nAdjustables > 0) {
        cyExpand = std::max<LONG>(0, (szAvailable.cy - cyFixed) / nAdjustables);
    }

    int iPosY = rc.top;
    if (m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible()) {
        iPosY -= m_pVerticalScrollBar->GetScrollPos();
    }
    int iPosX = rc.left;
    if (m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible()) {
        iPosX -= m_pHorizontalScrollBar->GetScrollPos();
    }
    int iAdjustable = 0;
    int cyFixedRemaining = cyFixed;
    int cyNeeded = 0;
    SIZE szRemaining = szAvailable;
    for (int it = 0; it < m_items.GetSize(); ++it) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items[it]);
        if (!pControl->IsVisible()) {
            continue;
        }
        if (pControl->IsFloat()) {
            SetFloatPos(it);
            continue;
        }
        const RECT rcPadding = pControl->GetPadding();
        szRemaining.cy -= rcPadding.top;
        cyFixedRemaining -= rcPadding.top + rcPadding.bottom;
        SIZE sz = pControl->EstimateSize(szRemaining);
        if (sz.cy == 0) {
            ++iAdjustable;
            sz.cy = cyExpand;
            if (iAdjustable == nAdjustables) {
                sz.cy = std::max<LONG>(0, szRemaining.cy - rcPadding.bottom - cyFixedRemaining);
            }
            sz.cy = std::max<LONG>(sz.cy, pControl->GetMinHeight());
            sz.cy = std::min<LONG>(sz.cy, pControl->GetMaxHeight());
        } else {
            sz.cy = std::max<LONG>(sz.cy, pControl->GetMinHeight());
            sz.cy = std::min<LONG>(sz.cy, pControl->GetMaxHeight());
            cyFixedRemaining -= sz.cy;
        }

        sz.cx = std::max<LONG>(cxNeeded, szAvailable.cx - rcPadding.left - rcPadding.right);
        sz.cx = ClampWidth(sz.cx, pControl);

        const RECT rcCtrl = { iPosX + rcPadding.left, iPosY + rcPadding.top,
            iPosX + rcPadding.left + sz.cx, iPosY + sz.cy + rcPadding.top + rcPadding.bottom };
        pControl->SetPos(rcCtrl);

        iPosY += sz.cy + m_iChildPadding + rcPadding.top + rcPadding.bottom;
        cyNeeded += sz.cy + rcPadding.top + rcPadding.bottom;
        szRemaining.cy -= sz.cy + m_iChildPadding + rcPadding.bottom;
        cyFixedRemaining -= m_iChildPadding;
    }
    if (nEstimateNum > 0) {
        cyNeeded += (nEstimateNum - 1) * m_iChildPadding;
    }

    ProcessScrollBar(rc, cxNeeded, cyNeeded);
}

void CListBodyUI::DoEvent(TEventUI& event)
{
    if (m_pOwner != nullptr) {
        m_pOwner->DoEvent(event);
        return;
    }
    CVerticalLayoutUI::DoEvent(event);
}

bool CListBodyUI::SortItems(PULVCompareFunc pfnCompare, UINT_PTR dwData)
{
    if (pfnCompare == nullptr) {
        return false;
    }
    if (m_items.GetSize() > 1) {
        TSortContext context { pfnCompare, dwData };
        TSortContext* pPrevious = g_pSortContext;
        g_pSortContext = &context;
        std::qsort(m_items.GetData(), static_cast<size_t>(m_items.GetSize()), sizeof(LPVOID), &CompareItems);
        g_pSortContext = pPrevious;
    }
    for (int it = 0; it < m_items.GetSize(); ++it) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items[it]);
        IListItemUI* pListItem = static_cast<IListItemUI*>(pControl->GetInterface(L"ListItem"));
        if (pListItem != nullptr) {
            pListItem->SetIndex(it);
            pListItem->Select(false);
        }
    }
    if (m_pOwner != nullptr) {
        m_pOwner->SelectItem(-1);
    }
    if (m_pManager != nullptr) {
        SetPos(GetPos());
        Invalidate();
    }
    return true;
}

}  // namespace Veneer
