#pragma once
#include "foundation/VeneerApi.h"
// A combo that draws an arrow, cut from a five-frame image strip, at the
// right of its face.
#include "controls/ComboUI.h"

namespace Veneer {

class VENEER_API CComboBoxUI : public CComboUI {
public:
    CComboBoxUI() = default;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    LPCWSTR GetArrowImage() const { return m_sArrowImage.GetData(); }
    void SetArrowImage(LPCWSTR pStrImage);
    // The width of one arrow frame as last painted; 0 when none was drawn.
    int GetArrowWidth() const { return m_nArrowWidth; }

    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

protected:
    CStdString m_sArrowImage;
    int m_nArrowWidth { 0 };
};

}  // namespace Veneer
