// Scrolling of a container: positions, lines and pages, its two scroll bars
// and how a layout hands them the room its children need.
#include "controls/ContainerUI.h"

#include <algorithm>

#include "controls/ScrollBarUI.h"
#include "engine/InvalidationBatch.h"
#include "engine/PaintManagerUI.h"

namespace Veneer {

SIZE CContainerUI::GetScrollPos() const
{
    SIZE sz = { 0, 0 };
    if (m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible()) {
        sz.cy = m_pVerticalScrollBar->GetScrollPos();
    }
    if (m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible()) {
        sz.cx = m_pHorizontalScrollBar->GetScrollPos();
    }
    return sz;
}

SIZE CContainerUI::GetScrollRange() const
{
    SIZE sz = { 0, 0 };
    if (m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible()) {
        sz.cy = m_pVerticalScrollBar->GetScrollRange();
    }
    if (m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible()) {
        sz.cx = m_pHorizontalScrollBar->GetScrollRange();
    }
    return sz;
}

void CContainerUI::SetScrollPos(SIZE szPos)
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
        const RECT& rcOld = pControl->GetPos();
        pControl->SetPos(RECT { rcOld.left - cx, rcOld.top - cy, rcOld.right - cx, rcOld.bottom - cy });
    }
    Invalidate();
}

void CContainerUI::LineUp() { ScrollBy(0, -GetLineHeight()); }

void CContainerUI::LineDown() { ScrollBy(0, GetLineHeight()); }

int CContainerUI::GetLineHeight() const
{
    if (m_pManager == nullptr) {
        return 8;
    }
    return m_pManager->GetDefaultFontInfo()->tm.tmHeight + 8;
}

int CContainerUI::GetPageHeight() const
{
    int cyPage = m_rcItem.bottom - m_rcItem.top - m_rcInset.top - m_rcInset.bottom;
    if (m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible()) {
        cyPage -= m_pHorizontalScrollBar->GetFixedHeight();
    }
    return cyPage;
}

int CContainerUI::GetPageWidth() const
{
    int cxPage = m_rcItem.right - m_rcItem.left - m_rcInset.left - m_rcInset.right;
    if (m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible()) {
        cxPage -= m_pVerticalScrollBar->GetFixedWidth();
    }
    return cxPage;
}

void CContainerUI::ScrollBy(int cx, int cy)
{
    SIZE sz = GetScrollPos();
    sz.cx += cx;
    sz.cy += cy;
    SetScrollPos(sz);
}

void CContainerUI::PageUp() { ScrollBy(0, -GetPageHeight()); }

void CContainerUI::PageDown() { ScrollBy(0, GetPageHeight()); }

void CContainerUI::HomeUp()
{
    SIZE sz = GetScrollPos();
    sz.cy = 0;
    SetScrollPos(sz);
}

void CContainerUI::EndDown()
{
    SIZE sz = GetScrollPos();
    sz.cy = GetScrollRange().cy;
    SetScrollPos(sz);
}

void CContainerUI::LineLeft() { ScrollBy(-8, 0); }

void CContainerUI::LineRight() { ScrollBy(8, 0); }

void CContainerUI::PageLeft() { ScrollBy(-GetPageWidth(), 0); }

void CContainerUI::PageRight() { ScrollBy(GetPageWidth(), 0); }

void CContainerUI::HomeLeft()
{
    SIZE sz = GetScrollPos();
    sz.cx = 0;
    SetScrollPos(sz);
}

void CContainerUI::EndRight()
{
    SIZE sz = GetScrollPos();
    sz.cx = GetScrollRange().cx;
    SetScrollPos(sz);
}

void CContainerUI::EnableScrollBar(bool bEnableVertical, bool bEnableHorizontal)
{
    if (bEnableVertical && m_pVerticalScrollBar == nullptr) {
        m_pVerticalScrollBar = new CScrollBarUI;
        m_pVerticalScrollBar->SetOwner(this);
        m_pVerticalScrollBar->SetManager(m_pManager, nullptr, false);
        if (m_pManager != nullptr) {
            LPCWSTR pDefaultAttributes = m_pManager->GetDefaultAttributeList(L"VScrollBar");
            if (pDefaultAttributes != nullptr) {
                m_pVerticalScrollBar->ApplyAttributeList(pDefaultAttributes);
            }
        }
    } else if (!bEnableVertical && m_pVerticalScrollBar != nullptr) {
        delete m_pVerticalScrollBar;
        m_pVerticalScrollBar = nullptr;
    }

    if (bEnableHorizontal && m_pHorizontalScrollBar == nullptr) {
        m_pHorizontalScrollBar = new CScrollBarUI;
        m_pHorizontalScrollBar->SetHorizontal(true);
        m_pHorizontalScrollBar->SetOwner(this);
        m_pHorizontalScrollBar->SetManager(m_pManager, nullptr, false);
        if (m_pManager != nullptr) {
            LPCWSTR pDefaultAttributes = m_pManager->GetDefaultAttributeList(L"HScrollBar");
            if (pDefaultAttributes != nullptr) {
                m_pHorizontalScrollBar->ApplyAttributeList(pDefaultAttributes);
            }
        }
    } else if (!bEnableHorizontal && m_pHorizontalScrollBar != nullptr) {
        delete m_pHorizontalScrollBar;
        m_pHorizontalScrollBar = nullptr;
    }

    NeedUpdate();
}

CScrollBarUI* CContainerUI::GetVerticalScrollBar() const { return m_pVerticalScrollBar; }
CScrollBarUI* CContainerUI::GetHorizontalScrollBar() const { return m_pHorizontalScrollBar; }

void CContainerUI::ProcessScrollBar(RECT rc, int /*cxRequired*/, int cyRequired)
{
    if (m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible()) {
        RECT rcScrollBarPos = { rc.left, rc.bottom, rc.right,
            rc.bottom + m_pHorizontalScrollBar->GetFixedHeight() };
        m_pHorizontalScrollBar->SetPos(rcScrollBarPos);
    }

    if (m_pVerticalScrollBar == nullptr) {
        return;
    }

    const int cyAvailable = rc.bottom - rc.top;
    if (cyRequired > cyAvailable && !m_pVerticalScrollBar->IsVisible()) {
        m_pVerticalScrollBar->SetVisible(true);
        m_pVerticalScrollBar->SetScrollRange(cyRequired - cyAvailable);
        m_pVerticalScrollBar->SetScrollPos(0);
        m_bScrollProcess = true;
        SetPos(m_rcItem);
        m_bScrollProcess = false;
        return;
    }

    if (!m_pVerticalScrollBar->IsVisible()) {
        return;
    }

    const int cyScroll = cyRequired - cyAvailable;
    if (cyScroll <= 0 && !m_bScrollProcess) {
        m_pVerticalScrollBar->SetVisible(false);
        m_pVerticalScrollBar->SetScrollPos(0);
        m_pVerticalScrollBar->SetScrollRange(0);
        SetPos(m_rcItem);
        return;
    }

    RECT rcScrollBarPos = { rc.right, rc.top, rc.right + m_pVerticalScrollBar->GetFixedWidth(),
        rc.bottom };
    m_pVerticalScrollBar->SetPos(rcScrollBarPos);

    // Content that fits (possible while the bar was just shown) scrolls by 0.
    const int nRange = std::max(0, cyScroll);
    if (m_pVerticalScrollBar->GetScrollRange() != nRange) {
        const int iScrollPos = m_pVerticalScrollBar->GetScrollPos();
        m_pVerticalScrollBar->SetScrollRange(nRange);
        if (m_pVerticalScrollBar->GetScrollRange() == 0) {
            m_pVerticalScrollBar->SetVisible(false);
            m_pVerticalScrollBar->SetScrollPos(0);
        }
        if (iScrollPos > m_pVerticalScrollBar->GetScrollPos()) {
            SetPos(m_rcItem);
        }
    }
}

}  // namespace Veneer
