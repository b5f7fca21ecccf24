// Invalidation of the window, gathered per layout pass.
#include "engine/PaintManagerUI.h"

#include "foundation/RectMath.h"

namespace Veneer {

void CPaintManagerUI::Invalidate(RECT& rcItem)
{
    ++m_uInvalidateRequests;
    if (m_nInvalidationBatch > 0) {
        // Everything a pass places lies inside the container that opened the
        // batch, so the bounding rectangle is the area the pass changed.
        RECT merged {};
        RectMath::Union(merged, m_rcBatchedInvalid, rcItem);
        m_rcBatchedInvalid = merged;
        return;
    }
    if (m_hWndPaint) ::InvalidateRect(m_hWndPaint, &rcItem, FALSE);
}

void CPaintManagerUI::EndInvalidationBatch()
{
    if (m_nInvalidationBatch <= 0 || --m_nInvalidationBatch > 0) {
        return;
    }
    RECT pending = m_rcBatchedInvalid;
    m_rcBatchedInvalid = RECT { 0, 0, 0, 0 };
    if (m_hWndPaint && !::IsRectEmpty(&pending)) ::InvalidateRect(m_hWndPaint, &pending, FALSE);
}

}  // namespace Veneer
