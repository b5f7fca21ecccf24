#include "controls/LinearLayoutUI.h"

#include <algorithm>
#include <cwchar>

#include "controls/ScrollBarUI.h"
#include "engine/InvalidationBatch.h"
#include "engine/PaintManagerUI.h"
#include "engine/RenderEngine.h"
#include "foundation/ValueSyntax.h"

namespace Veneer {

namespace {

constexpr DWORD kSeparatorPreviewColor = 0xAA000000;

RECT JoinRects(const RECT& a, const RECT& b)
{
    return RECT { std::min<LONG>(a.left, b.left), std::min<LONG>(a.top, b.top), std::max<LONG>(a.right, b.right),
        std::max<LONG>(a.bottom, b.bottom) };
}

// Sizes, points and rectangles read along the layout's axis ("main": y for
// a vertical layout, x for a horizontal one) and across it ("cross").
class CAxis {
public:
    explicit CAxis(bool bVertical) : m_bVertical(bVertical) {}

    LONG& Main(SIZE& sz) const { return m_bVertical ? sz.cy : sz.cx; }
    LONG Main(const SIZE& sz) const { return m_bVertical ? sz.cy : sz.cx; }
    LONG Cross(const SIZE& sz) const { return m_bVertical ? sz.cx : sz.cy; }
    LONG Main(const POINT& pt) const { return m_bVertical ? pt.y : pt.x; }

    LONG& Lead(RECT& rc) const { return m_bVertical ? rc.top : rc.left; }
    LONG Lead(const RECT& rc) const { return m_bVertical ? rc.top : rc.left; }
    LONG& Trail(RECT& rc) const { return m_bVertical ? rc.bottom : rc.right; }
    LONG Trail(const RECT& rc) const { return m_bVertical ? rc.bottom : rc.right; }
    LONG CrossLead(const RECT& rc) const { return m_bVertical ? rc.left : rc.top; }
    LONG CrossTrail(const RECT& rc) const { return m_bVertical ? rc.right : rc.bottom; }
    LONG Extent(const RECT& rc) const { return Trail(rc) - Lead(rc); }

    RECT Make(LONG lead, LONG trail, LONG crossLead, LONG crossTrail) const
    {
        return m_bVertical ? RECT { crossLead, lead, crossTrail, trail } : RECT { lead, crossLead, trail, crossTrail };
    }

    LONG MinMain(const CControlUI* c) const { return m_bVertical ? c->GetMinHeight() : c->GetMinWidth(); }
    LONG MaxMain(const CControlUI* c) const { return m_bVertical ? c->GetMaxHeight() : c->GetMaxWidth(); }
    LONG MinCross(const CControlUI* c) const { return m_bVertical ? c->GetMinWidth() : c->GetMinHeight(); }
    LONG MaxCross(const CControlUI* c) const { return m_bVertical ? c->GetMaxWidth() : c->GetMaxHeight(); }
    LONG FixedCross(const CControlUI* c) const { return m_bVertical ? c->GetFixedWidth() : c->GetFixedHeight(); }

    LONG ClampMain(LONG v, const CControlUI* c) const { return std::min(std::max(v, MinMain(c)), MaxMain(c)); }
    LONG ClampCross(LONG v, const CControlUI* c) const
    {
        return std::min(std::max(std::max<LONG>(v, 0), MinCross(c)), MaxCross(c));
    }

private:
    bool m_bVertical;
};

bool Visible(const CScrollBarUI* pBar) { return pBar != nullptr && pBar->IsVisible(); }

}  // namespace

CLinearLayoutUI::~CLinearLayoutUI()
{
    // A drag in preview mode put this layout on the manager's post-paint list.
    if (m_pManager != nullptr) m_pManager->RemovePostPaint(this);
}

UINT CLinearLayoutUI::GetControlFlags() const
{
    return (IsEnabled() && m_iSepSize != 0) ? FLAG_SETCURSOR : 0;
}

void CLinearLayoutUI::SetSepImmMode(bool bImmediately)
{
    if (m_bImmMode == bImmediately) return;
    if ((m_uButtonState & STATE_CAPTURED) != 0 && !m_bImmMode && m_pManager != nullptr) {
        m_pManager->RemovePostPaint(this);
    }
    m_bImmMode = bImmediately;
}

RECT CLinearLayoutUI::GetThumbRect(bool bUseNew) const
{
    const CAxis axis(m_bVertical);
    RECT rc = (bUseNew && (m_uButtonState & STATE_CAPTURED) != 0) ? m_rcNewPos : m_rcItem;
    // Only the vertical strip is kept inside the layout; a horizontal strip
    // wider than the layout reaches beyond its far edge.
    if (m_iSepSize >= 0) {
        const LONG lead = axis.Trail(rc) - m_iSepSize;
        axis.Lead(rc) = m_bVertical ? std::max(lead, axis.Lead(rc)) : lead;
    } else {
        const LONG trail = axis.Lead(rc) - m_iSepSize;
        axis.Trail(rc) = m_bVertical ? std::min(trail, axis.Trail(rc)) : trail;
    }
    return rc;
}

void CLinearLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) return;
    if (std::wcscmp(pstrName, L"sepimm") == 0) {
        SetSepImmMode(ValueSyntax::ParseBool(pstrValue));
    } else {
        CContainerUI::SetAttribute(pstrName, pstrValue);
    }
}

SIZE CLinearLayoutUI::AvailableSize(const RECT& rcInner) const
{
    SIZE szAvailable = { rcInner.right - rcInner.left, rcInner.bottom - rcInner.top };
    if (Visible(m_pHorizontalScrollBar)) szAvailable.cx += m_pHorizontalScrollBar->GetScrollRange();
    return szAvailable;
}

LONG CLinearLayoutUI::CrossExtent(CControlUI* pControl, SIZE szAvailable, const RECT& rcPadding,
                                  const TLinearMeasure& /*measure*/) const
{
    const CAxis axis(m_bVertical);
    LONG cross = axis.FixedCross(pControl);
    if (cross == 0) cross = axis.Cross(szAvailable) - axis.CrossLead(rcPadding) - axis.CrossTrail(rcPadding);
    return axis.ClampCross(cross, pControl);
}

void CLinearLayoutUI::SetPos(RECT rc)
{
    CInvalidationBatch batch(m_pManager);
    CControlUI::SetPos(rc);
    RECT rcInner = m_rcItem;
    rcInner.left += m_rcInset.left;
    rcInner.top += m_rcInset.top;
    rcInner.right -= m_rcInset.right;
    rcInner.bottom -= m_rcInset.bottom;
    // An empty horizontal layout hands its inner rectangle to the scroll
    // bars before they take their room out of it.
    if (m_items.IsEmpty() && !m_bVertical) {
        ProcessScrollBar(rcInner, 0, 0);
        return;
    }
    if (Visible(m_pVerticalScrollBar)) rcInner.right -= m_pVerticalScrollBar->GetFixedWidth();
    if (Visible(m_pHorizontalScrollBar)) rcInner.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
    if (m_items.IsEmpty()) {
        ProcessScrollBar(rcInner, 0, 0);
        return;
    }

    SIZE szAvailable = AvailableSize(rcInner);
    TLinearMeasure measure = Measure(szAvailable);
    AfterMeasure(rcInner, szAvailable, measure);
    const int cNeeded = PlaceChildren(rcInner, szAvailable, measure);
    // Only the vertical requirement moves the vertical bar: a horizontal
    // layout hides it again.
    if (m_bVertical) {
        ProcessScrollBar(rcInner, measure.cCrossNeeded, cNeeded);
    } else {
        ProcessScrollBar(rcInner, cNeeded, 0);
    }
}

CLinearLayoutUI::TLinearMeasure CLinearLayoutUI::Measure(SIZE szAvailable) const
{
    const CAxis axis(m_bVertical);
    TLinearMeasure measure;
    for (int it = 0; it < m_items.GetSize(); ++it) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items[it]);
        if (!pControl->IsVisible() || pControl->IsFloat()) continue;
        const SIZE sz = pControl->EstimateSize(szAvailable);
        LONG main = axis.Main(sz);
        if (main == 0) {
            ++measure.nStretchable;
        } else {
            main = axis.ClampMain(main, pControl);
        }
        const RECT rcPadding = pControl->GetPadding();
        measure.cFixed += main + axis.Lead(rcPadding) + axis.Trail(rcPadding);
        measure.cCrossNeeded = std::max(measure.cCrossNeeded, axis.ClampCross(axis.Cross(sz), pControl));
        ++measure.nEstimated;
    }
    if (measure.nEstimated > 0) measure.cFixed += (measure.nEstimated - 1) * m_iChildPadding;
    return measure;
}

int CLinearLayoutUI::PlaceChildren(const RECT& rcInner, SIZE szAvailable, const TLinearMeasure& measure)
{
    const CAxis axis(m_bVertical);
    int cStretch = 0;
    if (measure.nStretchable > 0) {
        cStretch = std::max<LONG>(0, (axis.Main(szAvailable) - measure.cFixed) / measure.nStretchable);
    }

    // Both bars move the children by their positions. A horizontal layout's
    // vertical bar is hidden again by its own layout (it requires no height),
    // which then runs once more without it.
    CScrollBarUI* pMainBar = m_bVertical ? m_pVerticalScrollBar : m_pHorizontalScrollBar;
    CScrollBarUI* pCrossBar = m_bVertical ? m_pHorizontalScrollBar : m_pVerticalScrollBar;
    LONG mainPos = axis.Lead(rcInner) - (Visible(pMainBar) ? pMainBar->GetScrollPos() : 0);
    const LONG crossPos = axis.CrossLead(rcInner) - (Visible(pCrossBar) ? pCrossBar->GetScrollPos() : 0);

    int iStretchable = 0;
    // What the children not yet placed still need: their fixed extents,
    // every padding and the gaps between them.
    int cFixedRemaining = measure.cFixed;
    int cNeeded = 0;
    SIZE szRemaining = szAvailable;
    for (int it = 0; it < m_items.GetSize(); ++it) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items[it]);
        if (!pControl->IsVisible()) continue;
        if (pControl->IsFloat()) {
            SetFloatPos(it);
            continue;
        }

        const RECT rcPadding = pControl->GetPadding();
        const LONG padLead = axis.Lead(rcPadding);
        const LONG padTrail = axis.Trail(rcPadding);
        axis.Main(szRemaining) -= padLead;
        cFixedRemaining -= padLead + padTrail;
        LONG main = axis.Main(pControl->EstimateSize(szRemaining));
        if (main == 0) {
            ++iStretchable;
            main = cStretch;
            // The last stretchable child takes what is left: the rounding too.
            if (iStretchable == measure.nStretchable) {
                main = std::max<LONG>(0, axis.Main(szRemaining) - padTrail - cFixedRemaining);
            }
            main = axis.ClampMain(main, pControl);
        } else {
            main = axis.ClampMain(main, pControl);
            cFixedRemaining -= main;
        }
        const LONG cross = CrossExtent(pControl, szAvailable, rcPadding, measure);

        // The rectangle reaches over the trailing padding along the axis.
        const LONG crossLead = crossPos + axis.CrossLead(rcPadding);
        pControl->SetPos(axis.Make(mainPos + padLead, mainPos + main + padLead + padTrail, crossLead,
                                   crossLead + cross));

        mainPos += main + m_iChildPadding + padLead + padTrail;
        cNeeded += main + padLead + padTrail;
        axis.Main(szRemaining) -= main + m_iChildPadding + padTrail;
        cFixedRemaining -= m_iChildPadding;
    }
    if (measure.nEstimated > 0) cNeeded += (measure.nEstimated - 1) * m_iChildPadding;
    return cNeeded;
}

void CLinearLayoutUI::DoEvent(TEventUI& event)
{
    if (m_iSepSize == 0) {
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
            if (!m_bImmMode && m_pManager != nullptr) m_pManager->AddPostPaint(this);
            return;
        }
    }
    if (event.Type == EVENT_BUTTONUP && bCaptured) {
        m_uButtonState &= ~STATE_CAPTURED;
        m_rcItem = m_rcNewPos;
        if (!m_bImmMode && m_pManager != nullptr) m_pManager->RemovePostPaint(this);
        NeedParentUpdate();
        return;
    }
    if (event.Type == EVENT_MOUSEMOVE && bCaptured) {
        DragSeparator(event.ptMouse);
        return;
    }
    if (event.Type == EVENT_SETCURSOR && IsEnabled()) {
        const RECT rcSeparator = GetThumbRect(false);
        if (::PtInRect(&rcSeparator, event.ptMouse)) {
            ::SetCursor(::LoadCursorW(nullptr, m_bVertical ? IDC_SIZENS : IDC_SIZEWE));
            return;
        }
    }
    CContainerUI::DoEvent(event);
}

void CLinearLayoutUI::DragSeparator(POINT ptMouse)
{
    const CAxis axis(m_bVertical);
    const LONG mouse = axis.Main(ptMouse);
    const LONG delta = mouse - axis.Main(m_ptLastMouse);
    m_ptLastMouse = ptMouse;
    RECT rc = m_rcNewPos;
    const LONG minExtent = axis.MinMain(this);
    const LONG maxExtent = axis.MaxMain(this);
    const LONG extentBefore = axis.Extent(m_rcNewPos);
    // Moving towards the layout's inside waits until the mouse is back over
    // the moved edge; moving outwards waits for the mouse to pass the strip:
    // the vertical layout counts from the edge outwards, the horizontal one
    // from the edge inwards.
    const LONG reach = m_bVertical ? m_iSepSize : -m_iSepSize;
    if (m_iSepSize >= 0) {
        if (delta > 0 && mouse < axis.Trail(m_rcNewPos) + reach) return;
        if (delta < 0 && mouse > axis.Trail(m_rcNewPos)) return;
        axis.Trail(rc) += delta;
        if (axis.Extent(rc) <= minExtent) {
            if (extentBefore <= minExtent) return;
            axis.Trail(rc) = axis.Lead(rc) + minExtent;
        }
        if (axis.Extent(rc) >= maxExtent) {
            if (extentBefore >= maxExtent) return;
            axis.Trail(rc) = axis.Lead(rc) + maxExtent;
        }
    } else {
        if (delta > 0 && mouse < axis.Lead(m_rcNewPos)) return;
        if (delta < 0 && mouse > axis.Lead(m_rcNewPos) + reach) return;
        axis.Lead(rc) += delta;
        if (axis.Extent(rc) <= minExtent) {
            if (extentBefore <= minExtent) return;
            axis.Lead(rc) = axis.Trail(rc) - minExtent;
        }
        if (axis.Extent(rc) >= maxExtent) {
            if (extentBefore >= maxExtent) return;
            axis.Lead(rc) = axis.Trail(rc) - maxExtent;
        }
    }

    RECT rcInvalidate = GetThumbRect(true);
    m_rcNewPos = rc;
    // The new extent is stored directly, without a relayout of its own.
    (m_bVertical ? m_cyFixed : m_cxFixed) = axis.Extent(m_rcNewPos);
    if (m_bImmMode) {
        m_rcItem = m_rcNewPos;
        NeedParentUpdate();
        return;
    }
    rcInvalidate = JoinRects(rcInvalidate, GetThumbRect(true));
    rcInvalidate = JoinRects(rcInvalidate, GetThumbRect(false));
    if (m_pManager != nullptr) m_pManager->Invalidate(rcInvalidate);
}

void CLinearLayoutUI::DoPostPaint(HDC hDC, const RECT& /*rcPaint*/)
{
    if ((m_uButtonState & STATE_CAPTURED) != 0 && !m_bImmMode) {
        CRenderEngine::DrawColor(hDC, GetThumbRect(true), kSeparatorPreviewColor);
    }
}

}  // namespace Veneer
