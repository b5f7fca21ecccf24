#include "controls/HorizontalLayoutUI.h"

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

CHorizontalLayoutUI::~CHorizontalLayoutUI()
{
    // A drag in preview mode put this layout on the manager's post-paint list.
    if (m_pManager != nullptr) {
        m_pManager->RemovePostPaint(this);
    }
}

LPCWSTR CHorizontalLayoutUI::GetClass() const { return L"HorizontalLayoutUI"; }

LPVOID CHorizontalLayoutUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"HorizontalLayout") == 0) {
        return static_cast<CHorizontalLayoutUI*>(this);
    }
    return CContainerUI::GetInterface(pstrName);
}

UINT CHorizontalLayoutUI::GetControlFlags() const
{
    return (IsEnabled() && m_iSepWidth != 0) ? FLAG_SETCURSOR : 0;
}

void CHorizontalLayoutUI::SetSepImmMode(bool bImmediately)
{
    if (m_bImmMode == bImmediately) {
        return;
    }
    if ((m_uButtonState & STATE_CAPTURED) != 0 && !m_bImmMode && m_pManager != nullptr) {
        m_pManager->RemovePostPaint(this);
    }
    m_bImmMode = bImmediately;
}

RECT CHorizontalLayoutUI::GetThumbRect(bool bUseNew) const
{
    const RECT rc = (bUseNew && (m_uButtonState & STATE_CAPTURED) != 0) ? m_rcNewPos : m_rcItem;
    if (m_iSepWidth >= 0) {
        return RECT { rc.right - m_iSepWidth, rc.top, rc.right, rc.bottom };
    }
    return RECT { rc.left, rc.top, rc.left - m_iSepWidth, rc.bottom };
}

void CHorizontalLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) {
        return;
    }
    if (wcscmp(pstrName, L"sepwidth") == 0) {
        SetSepWidth(ParseInt(pstrValue));
    } else if (wcscmp(pstrName, L"sepimm") == 0) {
        SetSepImmMode(ParseBool(pstrValue));
    } else {
        CContainerUI::SetAttribute(pstrName, pstrValue);
    }
}

void CHorizontalLayoutUI::SetPos(RECT rc)
{
    CInvalidationBatch batch(m_pManager);
    CControlUI::SetPos(rc);
    rc = m_rcItem;
    rc.left += m_rcInset.left;
    rc.top += m_rcInset.top;
    rc.right -= m_rcInset.right;
    rc.bottom -= m_rcInset.bottom;

    if (m_items.IsEmpty()) {
        ProcessScrollBar(rc, 0, 0);
        return;
    }

    const bool bVScroll = m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible();
    const bool bHScroll = m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible();
    if (bVScroll) {
        rc.right -= m_pVerticalScrollBar->GetFixedWidth();
    }
    if (bHScroll) {
        rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
    }

    SIZE szAvailable = { rc.right - rc.left, rc.bottom - rc.top };
    if (bHScroll) {
        szAvailable.cx += m_pHorizontalScrollBar->GetScrollRange();
    }

    int nAdjustables = 0;
    int cxFixed = 0;
    int nEstimateNum = 0;
    for (int it = 0; it < m_items.GetSize(); ++it) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items[it]);
        if (!pControl->IsVisible() || pControl->IsFloat()) {
            continue;
        }
        SIZE sz = pControl->EstimateSize(szAvailable);
        if (sz.cx == 0) {
            ++nAdjustables;
        } else {
            sz.cx = std::max<LONG>(sz.cx, pControl->GetMinWidth());
            sz.cx = std::min<LONG>(sz.cx, pControl->GetMaxWidth());
        }
        const RECT rcPadding = pControl->GetPadding();
        cxFixed += sz.cx + rcPadding.left + rcPadding.right;
        ++nEstimateNum;
    }
    if (nEstimateNum > 0) {
        cxFixed += (nEstimateNum - 1) * m_iChildPadding;
    }

    int cxExpand = 0;
    if (nAdjustables > 0) {
        cxExpand = std::max<LONG>(0, (szAvailable.cx - cxFixed) / nAdjustables);
    }

    int iPosX = rc.left;
    if (bHScroll) {
        iPosX -= m_pHorizontalScrollBar->GetScrollPos();
    }
    int iAdjustable = 0;
    // What the children not yet placed still need: their fixed widths,
    // every padding and the gaps between them.
    int cxFixedRemaining = cxFixed;
    int cxNeeded = 0;
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
        szRemaining.cx -= rcPadding.left;
        cxFixedRemaining -= rcPadding.left + rcPadding.right;
        SIZE sz = pControl->EstimateSize(szRemaining);
        if (sz.cx == 0) {
            ++iAdjustable;
            sz.cx = cxExpand;
            if (iAdjustable == nAdjustables) {
                sz.cx = std::max<LONG>(0, szRemaining.cx - rcPadding.right - cxFixedRemaining);
            }
            sz.cx = std::max<LONG>(sz.cx, pControl->GetMinWidth());
            sz.cx = std::min<LONG>(sz.cx, pControl->GetMaxWidth());
        } else {
            sz.cx = std::max<LONG>(sz.cx, pControl->GetMinWidth());
            sz.cx = std::min<LONG>(sz.cx, pControl->GetMaxWidth());
            cxFixedRemaining -= sz.cx;
        }

        sz.cy = pControl->GetFixedHeight();
        if (sz.cy == 0) {
            sz.cy = rc.bottom - rc.top - rcPadding.top - rcPadding.bottom;
        }
        sz.cy = std::max<LONG>(sz.cy, 0);
        sz.cy = std::max<LONG>(sz.cy, pControl->GetMinHeight());
        sz.cy = std::min<LONG>(sz.cy, pControl->GetMaxHeight());

        const RECT rcCtrl = { iPosX + rcPadding.left, rc.top + rcPadding.top,
            iPosX + sz.cx + rcPadding.left + rcPadding.right, rc.top + rcPadding.top + sz.cy };
        pControl->SetPos(rcCtrl);

        iPosX += sz.cx + m_iChildPadding + rcPadding.left + rcPadding.right;
        cxNeeded += sz.cx + rcPadding.left + rcPadding.right;
        szRemaining.cx -= sz.cx + m_iChildPadding + rcPadding.right;
        cxFixedRemaining -= m_iChildPadding;
    }
    if (nEstimateNum > 0) {
        cxNeeded += (nEstimateNum - 1) * m_iChildPadding;
    }

    ProcessScrollBar(rc, cxNeeded, 0);
}

void CHorizontalLayoutUI::DoEvent(TEventUI& event)
{
    if (m_iSepWidth == 0) {
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
        const LONG cx = event.ptMouse.x - m_ptLastMouse.x;
        m_ptLastMouse = event.ptMouse;
        RECT rc = m_rcNewPos;
        if (m_iSepWidth >= 0) {
            if (cx > 0 && event.ptMouse.x < m_rcNewPos.right - m_iSepWidth) {
                return;
            }
            if (cx < 0 && event.ptMouse.x > m_rcNewPos.right) {
                return;
            }
            rc.right += cx;
            if (rc.right - rc.left <= GetMinWidth()) {
                if (m_rcNewPos.right - m_rcNewPos.left <= GetMinWidth()) {
                    return;
                }
                rc.right = rc.left + GetMinWidth();
            }
            if (rc.right - rc.left >= GetMaxWidth()) {
                if (m_rcNewPos.right - m_rcNewPos.left >= GetMaxWidth()) {
                    return;
                }
                rc.right = rc.left + GetMaxWidth();
            }
        } else {
            if (cx > 0 && event.ptMouse.x < m_rcNewPos.left) {
                return;
            }
            if (cx < 0 && event.ptMouse.x > m_rcNewPos.left - m_iSepWidth) {
                return;
            }
            rc.left += cx;
            if (rc.right - rc.left <= GetMinWidth()) {
                if (m_rcNewPos.right - m_rcNewPos.left <= GetMinWidth()) {
                    return;
                }
                rc.left = rc.right - GetMinWidth();
            }
            if (rc.right - rc.left >= GetMaxWidth()) {
                if (m_rcNewPos.right - m_rcNewPos.left >= GetMaxWidth()) {
                    return;
                }
                rc.left = rc.right - GetMaxWidth();
            }
        }

        RECT rcInvalidate = GetThumbRect(true);
        m_rcNewPos = rc;
        m_cxFixed = m_rcNewPos.right - m_rcNewPos.left;
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
            ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEWE));
            return;
        }
    }
    CContainerUI::DoEvent(event);
}

void CHorizontalLayoutUI::DoPostPaint(HDC hDC, const RECT& /*rcPaint*/)
{
    if ((m_uButtonState & STATE_CAPTURED) != 0 && !m_bImmMode) {
        CRenderEngine::DrawColor(hDC, GetThumbRect(true), kSeparatorPreviewColor);
    }
}

}  // namespace Veneer
