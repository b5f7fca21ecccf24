#include "controls/ListBodyUI.h"

#include <algorithm>
#include <cstdlib>

#include "controls/ListHeaderUI.h"
#include "controls/ScrollBarUI.h"
#include "engine/GdiHolders.h"
#include "engine/InvalidationBatch.h"
#include "engine/PaintManagerUI.h"

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
    // The items scroll as any container's children do; the header follows
    // the horizontal part.
    const LONG cxBefore = GetScrollPos().cx;
    CContainerUI::SetScrollPos(szPos);
    const LONG cx = GetScrollPos().cx - cxBefore;
    if (cx != 0) ShiftHeader(cx);
}

void CListBodyUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    // Every row draws its cells in the list's font: selected once here, the
    // rows' own selections find it in place.
    HFONT hFont = nullptr;
    if (m_pOwner != nullptr && m_pManager != nullptr) hFont = m_pManager->GetFont(m_pOwner->GetListInfo()->nFont);
    CSelectObjectScope selectFont(hDC, hFont);
    CVerticalLayoutUI::DoPaint(hDC, rcPaint);
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

SIZE CListBodyUI::AvailableSize(const RECT& rcInner) const
{
    return SIZE { rcInner.right - rcInner.left, rcInner.bottom - rcInner.top };
}

void CListBodyUI::AfterMeasure(RECT& rcInner, SIZE& szAvailable, TLinearMeasure& measure)
{
    if (m_pOwner != nullptr) {
        CListHeaderUI* pHeader = m_pOwner->GetHeader();
        if (pHeader != nullptr && pHeader->GetCount() > 0) {
            measure.cCrossNeeded = pHeader->EstimateSize(szAvailable).cx;
        }
    }
    if (m_pHorizontalScrollBar != nullptr) {
        const LONG cxVisible = rcInner.right - rcInner.left;
        if (measure.cCrossNeeded > cxVisible) {
            if (!m_pHorizontalScrollBar->IsVisible()) {
                m_pHorizontalScrollBar->SetVisible(true);
                m_pHorizontalScrollBar->SetScrollPos(0);
                rcInner.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
            }
            m_pHorizontalScrollBar->SetScrollRange(measure.cCrossNeeded - cxVisible);
        } else if (m_pHorizontalScrollBar->IsVisible()) {
            m_pHorizontalScrollBar->SetVisible(false);
            m_pHorizontalScrollBar->SetScrollRange(0);
            m_pHorizontalScrollBar->SetScrollPos(0);
            rcInner.bottom += m_pHorizontalScrollBar->GetFixedHeight();
        }
    }
    szAvailable.cy = rcInner.bottom - rcInner.top;
}

LONG CListBodyUI::CrossExtent(CControlUI* pControl, SIZE szAvailable, const RECT& rcPadding,
                              const TLinearMeasure& measure) const
{
    return ClampWidth(std::max<LONG>(measure.cCrossNeeded, szAvailable.cx - rcPadding.left - rcPadding.right),
                      pControl);
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
