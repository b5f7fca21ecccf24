#pragma once
#include "foundation/VeneerApi.h"
// The linear layout written once over an axis: the vertical layout stacks
// its children from top to bottom, the horizontal one places them from left
// to right, and the list body lays its items out the vertical way. A
// separator strip at one edge of the layout can be dragged to resize it.
#include "controls/ContainerUI.h"

namespace Veneer {

class VENEER_API CLinearLayoutUI : public CContainerUI {
public:
    ~CLinearLayoutUI() override;

    UINT GetControlFlags() const override;

    void SetSepImmMode(bool bImmediately);
    bool IsSepImmMode() const { return m_bImmMode; }
    RECT GetThumbRect(bool bUseNew = false) const;

    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void DoEvent(TEventUI& event) override;
    void SetPos(RECT rc) override;
    void DoPostPaint(HDC hDC, const RECT& rcPaint) override;

protected:
    explicit CLinearLayoutUI(bool bVertical) : m_bVertical(bVertical) {}

    // What the measuring pass found, along the axis ("main") and across it.
    struct TLinearMeasure {
        int nStretchable { 0 };
        int nEstimated { 0 };
        // The fixed extents, every padding along the axis and the gaps.
        int cFixed { 0 };
        // The widest estimate across the axis, each within its child's bounds.
        LONG cCrossNeeded { 0 };
    };

    // Steps the list body replaces: it gives every item one width.
    virtual SIZE AvailableSize(const RECT& rcInner) const;
    virtual void AfterMeasure(RECT& /*rcInner*/, SIZE& /*szAvailable*/, TLinearMeasure& /*measure*/) {}
    virtual LONG CrossExtent(CControlUI* pControl, SIZE szAvailable, const RECT& rcPadding,
                             const TLinearMeasure& measure) const;

    int m_iSepSize { 0 };
    UINT m_uButtonState { 0 };
    POINT m_ptLastMouse { 0, 0 };
    RECT m_rcNewPos { 0, 0, 0, 0 };
    bool m_bImmMode { false };

private:
    TLinearMeasure Measure(SIZE szAvailable) const;
    int PlaceChildren(const RECT& rcInner, SIZE szAvailable, const TLinearMeasure& measure);
    void DragSeparator(POINT ptMouse);

    const bool m_bVertical;
};

}  // namespace Veneer
