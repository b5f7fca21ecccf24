#include "controls/TileLayoutUI.h"

#include <algorithm>
#include <cwchar>

#include "controls/ScrollBarUI.h"
#include "foundation/ValueSyntax.h"
#include "engine/InvalidationBatch.h"

namespace Veneer {

namespace {

LONG Clamp(LONG value, LONG low, LONG high)
{
    // A min above the max lets the max win, as everywhere else in layout.
    return std::min<LONG>(std::max<LONG>(value, low), high);
}

}  // namespace

LPCWSTR CTileLayoutUI::GetClass() const { return L"TileLayoutUI"; }

LPVOID CTileLayoutUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"TileLayout") == 0) {
        return static_cast<CTileLayoutUI*>(this);
    }
    return CContainerUI::GetInterface(pstrName);
}

void CTileLayoutUI::SetItemSize(SIZE szItem)
{
    if (m_szItem.cx == szItem.cx && m_szItem.cy == szItem.cy) {
        return;
    }
    m_szItem = szItem;
    NeedUpdate();
}

void CTileLayoutUI::SetColumns(int nCols)
{
    if (nCols <= 0) {
        return;
    }
    m_nColumns = nCols;
    NeedUpdate();
}

void CTileLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) {
        return;
    }
    if (std::wcscmp(pstrName, L"itemsize") == 0) {
        SetItemSize(ValueSyntax::ParseSize(pstrValue));
    } else if (std::wcscmp(pstrName, L"columns") == 0) {
        SetColumns(static_cast<int>(ValueSyntax::ParseInt(pstrValue)));
    } else {
        CContainerUI::SetAttribute(pstrName, pstrValue);
    }
}

void CTileLayoutUI::SetPos(RECT rc)
{
    CInvalidationBatch batch(m_pManager);
    CControlUI::SetPos(rc);
    rc = m_rcItem;
    rc.left += m_rcInset.left;
    rc.top += m_rcInset.top;
    rc.right -= m_rcInset.right;
    rc.bottom -= m_rcInset.bottom;
    // An inset wider or taller than the layout leaves an empty area, never a
    // negative one.
    rc.right = std::max(rc.right, rc.left);
    rc.bottom = std::max(rc.bottom, rc.top);

    if (m_items.IsEmpty()) {
        ProcessScrollBar(rc, 0, 0);
        return;
    }

    const bool bVScroll = m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible();
    const bool bHScroll = m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible();
    if (bVScroll) {
        rc.right = std::max<LONG>(rc.left, rc.right - m_pVerticalScrollBar->GetFixedWidth());
    }
    if (bHScroll) {
        rc.bottom = std::max<LONG>(rc.top, rc.bottom - m_pHorizontalScrollBar->GetFixedHeight());
    }

    const int width = rc.right - rc.left;
    if (m_szItem.cx > 0) {
        m_nColumns = std::max(1, width / static_cast<int>(m_szItem.cx));
    }
    const int nColumns = std::max(1, m_nColumns);

    int cellWidth = width / nColumns;
    if (bHScroll) {
        cellWidth = (width + m_pHorizontalScrollBar->GetScrollRange()) / nColumns;
    }

    const int p = m_iChildPadding;
    const int halfGap = p / 2;
    int rowStartX = rc.left;
    int y = rc.top;
    if (bHScroll) {
        rowStartX -= m_pHorizontalScrollBar->GetScrollPos();
    }
    if (bVScroll) {
        y -= m_pVerticalScrollBar->GetScrollPos();
    }
    int x = rowStartX;
    int rowHeight = 0;
    int placed = 0;
    int needed = 0;

    for (int it1 = 0; it1 < m_items.GetSize(); ++it1) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items[it1]);
        if (!pControl->IsVisible()) {
            continue;
        }
        if (pControl->IsFloat()) {
            SetFloatPos(it1);
            continue;
        }

        RECT rcCell = { x, y, x + cellWidth, y };
        if (placed % nColumns == 0) {
            // First cell of a row: measure the whole row for its height.
            int k = placed;
            for (int it2 = it1; it2 < m_items.GetSize(); ++it2) {
                CControlUI* pMember = static_cast<CControlUI*>(m_items[it2]);
                if (!pMember->IsVisible() || pMember->IsFloat()) {
                    continue;
                }
                const RECT rcPadding = pMember->GetPadding();
                const int column = k % nColumns;
                const bool bEdge = column == 0 || column == nColumns - 1;
                const int gap = bEdge ? halfGap : p;
                SIZE szAvailable = { cellWidth - rcPadding.left - rcPadding.right - gap, 9999 };
                szAvailable.cx = Clamp(szAvailable.cx, pMember->GetMinWidth(), pMember->GetMaxWidth());
                SIZE sz = pMember->EstimateSize(szAvailable);
                sz.cx = Clamp(sz.cx, pMember->GetMinWidth(), pMember->GetMaxWidth());
                sz.cy = Clamp(sz.cy, pMember->GetMinHeight(), pMember->GetMaxHeight());
                rowHeight = std::max<int>(rowHeight, sz.cy + rcPadding.top + rcPadding.bottom);
                ++k;
                if (k % nColumns == 0) {
                    break;
                }
            }
        }

        const RECT rcPadding = pControl->GetPadding();
        const int column = placed % nColumns;
        rcCell.left += rcPadding.left + halfGap;
        rcCell.right -= rcPadding.right + halfGap;
        if (column == 0) {
            rcCell.left -= halfGap;
        }
        if (column == nColumns - 1) {
            rcCell.right += halfGap;
        }
        rcCell.top = y + rcPadding.top;
        rcCell.bottom = y + rowHeight;
        // Paddings larger than the cell leave an empty cell, not a reversed one.
        rcCell.right = std::max(rcCell.right, rcCell.left);
        rcCell.bottom = std::max(rcCell.bottom, rcCell.top);

        const SIZE szCell = { rcCell.right - rcCell.left, rcCell.bottom - rcCell.top };
        SIZE sz = pControl->EstimateSize(szCell);
        if (sz.cx == 0) {
            sz.cx = szCell.cx;
        }
        if (sz.cy == 0) {
            sz.cy = szCell.cy;
        }
        sz.cx = Clamp(sz.cx, pControl->GetMinWidth(), pControl->GetMaxWidth());
        sz.cy = Clamp(sz.cy, pControl->GetMinHeight(), pControl->GetMaxHeight());

        const LONG left = (rcCell.left + rcCell.right - sz.cx) / 2;
        const LONG top = (rcCell.top + rcCell.bottom - sz.cy) / 2;
        pControl->SetPos(RECT { left, top, left + sz.cx, top + sz.cy });

        ++placed;
        if (placed % nColumns == 0) {
            x = rowStartX;
            y += rowHeight + p;
            rowHeight = 0;
        } else {
            x += cellWidth;
        }
        needed = rcCell.bottom - rc.top;
        if (bVScroll) {
            needed += m_pVerticalScrollBar->GetScrollPos();
        }
    }

    ProcessScrollBar(rc, 0, needed);
}

}  // namespace Veneer
