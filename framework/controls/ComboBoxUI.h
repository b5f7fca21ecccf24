#pragma once
// A combo that draws an arrow, cut from a five-frame image strip, at the
// right of its face.
#include "controls/ComboUI.h"

namespace Veneer {

class CComboBoxUI : public CComboUI {
public:
    CComboBoxUI() = default;

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

    LPCTSTR GetArrowImage() const { return m_sArrowImage.GetData(); }
    void SetArrowImage(LPCTSTR pStrImage);
    // The width of one arrow frame as last painted; 0 when none was drawn.
    int GetArrowWidth() const { return m_nArrowWidth; }

    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

protected:
    CDuiString m_sArrowImage;
    int m_nArrowWidth { 0 };
};

}  // namespace Veneer
