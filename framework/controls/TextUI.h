#pragma once
#include "foundation/VeneerApi.h"
// Multi-line text that word-wraps, measures its own height and turns the
// links of its rich text into clickable areas ("link" notifications).
#include <windows.h>

#include "controls/LabelUI.h"

namespace Veneer {

class VENEER_API CTextUI : public CLabelUI {
public:
    CTextUI();
    ~CTextUI() override = default;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    // Its links take clicks in a caption too.
    bool TakesCaptionClick() const override { return true; }
    UINT GetControlFlags() const override;

    // The text of link iIndex as found by the last paint; null when out of range.
    CStdString* GetLinkContent(int iIndex);
    int GetLinkCount() const { return m_nLinks; }
    // Rectangles from the last paint, in window client coordinates.
    const RECT* GetLinkRects() const { return m_rcLinks; }

    void DoEvent(TEventUI& event) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void PaintText(HDC hDC) override;

protected:
    enum { MAX_LINK = 8 };
    int HitTestLink(POINT pt) const;

    int m_nLinks { 0 };
    RECT m_rcLinks[MAX_LINK] {};
    CStdString m_sLinks[MAX_LINK];
    int m_nHoverLink { -1 };
};

}  // namespace Veneer
