#pragma once
#include "foundation/VeneerApi.h"
// The scrolling item area of a list: a vertical layout whose items are at
// least as wide as the header, and whose events all go to the list.
#include "controls/VerticalLayoutUI.h"
#include "controls/ListUI.h"

namespace Veneer {

class VENEER_API CListBodyUI : public CVerticalLayoutUI {
public:
    explicit CListBodyUI(CListUI* pOwner);

    void SetScrollPos(SIZE szPos) override;
    void DoEvent(TEventUI& event) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;
    bool SortItems(PULVCompareFunc pfnCompare, UINT_PTR dwData);

    CListUI* GetOwner() const { return m_pOwner; }

protected:
    // The vertical layout's distribution, with every item as wide as the
    // widest one (or the header) and a horizontal bar when that is wider
    // than the body.
    SIZE AvailableSize(const RECT& rcInner) const override;
    void AfterMeasure(RECT& rcInner, SIZE& szAvailable, TLinearMeasure& measure) override;
    LONG CrossExtent(CControlUI* pControl, SIZE szAvailable, const RECT& rcPadding,
                     const TLinearMeasure& measure) const override;

    // Shifts the visible header items by the horizontal scroll position and
    // copies their rectangles into the column rectangles.
    void ShiftHeader(int cx);

    CListUI* m_pOwner { nullptr };
};

}  // namespace Veneer
