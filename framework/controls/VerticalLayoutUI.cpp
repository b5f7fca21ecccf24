#include "controls/VerticalLayoutUI.h"

#include <algorithm>

#include "controls/ScrollBarUI.h"
#include "engine/PaintManagerUI.h"
#include "engine/RenderEngine.h"
#include "foundation/ValueSyntax.h"
#include "engine/InvalidationBatch.h"

namespace Veneer {

using ValueSyntax::ParseInt;
using ValueSyntax::ParseBool;

namespace {

constexpr DWORD kSeparatorPreviewColor = 0xAA000000;

RECT JoinRects(const RECT& a, const RECT& b)
{
    return RECT { std::min<LONG>(a.left, b.left), std::min<LONG>(a.top, b.top), std::max<LONG>(a.right, b.right),
        std::max<LONG>(a.bottom, b.bottom) };
}

}  // namespace

CVerticalLayoutUI::~CVerticalLayoutUI()
{
    // A drag in preview mode put this layout on the manager's post-paint list.
    if (m_pManager != nullptr) {
        m_pManager->RemovePostPaint(this);
    }
}

LPCWSTR CVerticalLayoutUI::GetClass() const { return L"VerticalLayoutUI"; }

LPVOID CVerticalLayoutUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"VerticalLayout") == 0) {
        return static_cast<CVerticalLayoutUI*>(this);
    }
    return CContainerUI::GetInterface(pstrName);
}

UINT CVerticalLayoutUI::GetControlFlags() const
{
    return (IsEnabled() && m_iSepHeight != 0) ? FLAG_SETCURSOR : 0;
}

void CVerticalLayoutUI::SetSepImmMode(bool bImmediately)
{
    if (m_bImmMode == bImmediately) {
        return;
    }
    if ((m_uButtonState & STATE_CAPTURED) != 0 && !m_bImmMode && m_pManager != nullptr) {
        m_pManager->RemovePostPaint(this);
    }
    m_bImmMode = bImmediately;
}

RECT CVerticalLayoutUI::GetThumbRect(bool bUseNew) const
{
    const RECT rc = (bUseNew && (m_uButtonState & STATE_CAPTURED) != 0) ? m_rcNewPos : m_rcItem;
    if (m_iSepHeight >= 0) {
        return RECT { rc.left, std::max<LONG>(rc.bottom - m_iSepHeight, rc.top), rc.right, rc.bottom };
    }
    return RECT { rc.left, rc.top, rc.right, std::min<LONG>(rc.top - m_iSepHeight, rc.bottom) };
}

void CVerticalLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) {
        return;
    }
    if (wcscmp(pstrName, L"sepheight") == 0) {
        SetSepHeight(ParseInt(pstrValue));
    } else if (wcscmp(pstrName, L"sepimm") == 0) {
        SetSepImmMode(ParseBool(pstrValue));
    } else {
        CContainerUI::SetAttribute(pstrName, pstrValue);
    }
}

void CVerticalLayoutUI::SetPos(RECT rc)
{
    CInvalidationBatch batch(m_pManager);
    CControlUI::SetPos(rc);
    rc = m_rcItem;
    rc.left += m_rcInset.left;
    rc.top += m_rcInset.top;
    rc.right -= m_rcInset.right;
    rc.bottom -= m_rcInset.bottom;
    const bool bVScroll = m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible();
    const bool bHScroll = m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible();
    if (bVScroll) {
        rc.right -= m_pVerticalScrollBar->GetFixedWidth();
    }
    if (bHScroll) {
        rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
    }

    if (m_items.IsEmpty()) {
        ProcessScrollBar(rc, 0, 0);
        return;
    }

    SIZE szAvailable = { rc.right - rc.left, rc.bottom - rc.top };
    if (bHScroll) {
        szAvailable.cx += m_pHorizontalScrollBar->GetScrollRange();
    }

    int nAdjustables = 0;
    int cyFixed = 0;
    int nEstimateNum = 0;
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
        ++nEstimateNum;
    }
    if (nEstimateNum > 0) {
        cyFixed += (nEstimateNum - 1) * m_iChildPadding;
    }

    int cyExpand = 0;
    if (nAdjustables > 0) {
        cyExpand = std::max<LONG>(0, (szAvailable.cy - cyFixed) / nAdjustables);
    }

    int iPosY = rc.top;
    if (bVScroll) {
        iPosY -= m_pVerticalScrollBar->GetScrollPos();
    }
    int iPosX = rc.left;
    if (bHScroll) {
        iPosX -= m_pHorizontalScrollBar->GetScrollPos();
    }
    int iAdjustable = 0;
    // What the children not yet placed still need: their fixed heights,
    // every padding and the gaps between them.
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

        sz.cx = pControl->GetFixedWidth();
        if (sz.cx == 0) {
            sz.cx = szAvailable.cx - rcPadding.left - rcPadding.right;
        }
        sz.cx = std::max<LONG>(sz.cx, 0);
        sz.cx = std::max<LONG>(sz.cx, pControl->GetMinWidth());
        sz.cx = std::min<LONG>(sz.cx, pControl->GetMaxWidth());

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

    ProcessScrollBar(rc, 0, cyNeeded);
}

void CVerticalLayoutUI::DoEvent(TEventUI& event)
{
    if (m_iSepHeight == 0) {
        CContainerUI::DoEvent(event);
        return;
    }

    const bool bCaptured = (m_uButtonState & STATE_CAPTURED) != 0;
    if (event.Type == EVENT_BUTTONDOWN && IsEnabled()) {
        const RECT rcSeparator = GetThumbRect(false);
        if (::PtInRect(&rcSeparator, event.ptMouse)) {
            m_uButtonState |= STATE_CAPTURED;
            m_ptLastMouse = event.ptMouse;
            m_rcNewPos = m_rcItem;
            if (!m_bImmMode && m_pManager != nullptr) {
                m_pManager->AddPostPaint(this);
            }
            return;
        }
    }
    if (event.Type == EVENT_BUTTONUP && bCaptured) {
        m_uButtonState &= ~STATE_CAPTURED;
        m_rcItem = m_rcNewPos;
        if (!m_bImmMode && m_pManager != nullptr) {
            m_pManager->RemovePostPaint(this);
        }
        NeedParentUpdate();
        return;
    }
    if (event.Type == EVENT_MOUSEMOVE && bCaptured) {
        const LONG cy = event.ptMouse.y - m_ptLastMouse.y;
        m_ptLastMouse = event.ptMouse;
        RECT rc = m_rcNewPos;
        if (m_iSepHeight >= 0) {
            if (cy > 0 && event.ptMouse.y < m_rcNewPos.bottom + m_iSepHeight) {
                return;
            }
            if (cy < 0 && event.ptMouse.y > m_rcNewPos.bottom) {
                return;
            }
            rc.bottom += cy;
            if (rc.bottom - rc.top <= GetMinHeight()) {
                if (m_rcNewPos.bottom - m_rcNewPos.top <= GetMinHeight()) {
                    return;
                }
                rc.bottom = rc.top + GetMinHeight();
            }
            if (rc.bottom - rc.top >= GetMaxHeight()) {
                if (m_rcNewPos.bottom - m_rcNewPos.top >= GetMaxHeight()) {
                    return;
                }
                rc.bottom = rc.top + GetMaxHeight();
            }
        } else {
            if (cy > 0 && event.ptMouse.y < m_rcNewPos.top) {
                return;
            }
            if (cy < 0 && event.ptMouse.y > m_rcNewPos.top + m_iSepHeight) {
                return;
            }
            rc.top += cy;
            if (rc.bottom - rc.top <= GetMinHeight()) {
                if (m_rcNewPos.bottom - m_rcNewPos.top <= GetMinHeight()) {
                    return;
                }
                rc.top = rc.bottom - GetMinHeight();
            }
            if (rc.bottom - rc.top >= GetMaxHeight()) {
                if (m_rcNewPos.bottom - m_rcNewPos.top >= GetMaxHeight()) {
                    return;
                }
                rc.top = rc.bottom - GetMaxHeight();
            }
        }

        RECT rcInvalidate = GetThumbRect(true);
        m_rcNewPos = rc;
        m_cyFixed = m_rcNewPos.bottom - m_rcNewPos.top;
        if (m_bImmMode) {
            m_rcItem = m_rcNewPos;
            NeedParentUpdate();
        } else {
            rcInvalidate = JoinRects(rcInvalidate, GetThumbRect(true));
            rcInvalidate = JoinRects(rcInvalidate, GetThumbRect(false));
            if (m_pManager != nullptr) {
                m_pManager->Invalidate(rcInvalidate);
            }
        }
        return;
    }
    if (event.Type == EVENT_SETCURSOR && IsEnabled()) {
        const RECT rcSeparator = GetThumbRect(false);
        if (::PtInRect(&rcSeparator, event.ptMouse)) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_SIZENS));
            return;
        }
    }
    CContainerUI::DoEvent(event);
}

void CVerticalLayoutUI::DoPostPaint(HDC hDC, const RECT& /*rcPaint*/)
{
    if ((m_uButtonState & STATE_CAPTURED) != 0 && !m_bImmMode) {
        CRenderEngine::DrawColor(hDC, GetThumbRect(true), kSeparatorPreviewColor);
    }
}

}  // namespace Veneer
