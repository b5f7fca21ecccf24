#pragma once
#include "foundation/VeneerApi.h"
// A label that fills part of itself with a foreground image in proportion to
// a value between a minimum and a maximum.
#include "controls/LabelUI.h"

namespace Veneer {

class VENEER_API CProgressUI : public CLabelUI {
public:
    CProgressUI();
    ~CProgressUI() override = default;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    bool IsHorizontal() const { return m_bHorizontal; }
    void SetHorizontal(bool bHorizontal = true);
    bool IsStretchForeImage() const { return m_bStretchForeImage; }
    void SetStretchForeImage(bool bStretchForeImage = true);
    int GetMinValue() const { return m_nMin; }
    void SetMinValue(int nMin);
    int GetMaxValue() const { return m_nMax; }
    void SetMaxValue(int nMax);
    int GetValue() const { return m_nValue; }
    void SetValue(int nValue);
    LPCWSTR GetForeImage() const { return m_sForeImage.GetData(); }
    void SetForeImage(LPCWSTR pStrImage);

    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void PaintStatusImage(HDC hDC) override;

    // The filled part relative to the control's top-left corner, for the
    // stored values (normalised or not; never divides by zero).
    RECT GetFilledRect() const;

protected:
    // Minimum below maximum, value between them; kept in the fields.
    void NormaliseValues();
    // Value minus minimum, held inside 0..range (0 for an empty range).
    long long ClampedOffset() const;

    bool m_bHorizontal { true };
    bool m_bStretchForeImage { true };
    int m_nMax { 100 };
    int m_nMin { 0 };
    int m_nValue { 0 };
    CStdString m_sForeImage;
    CStdString m_sForeImageModify;
};

// (a * b) / c in 64 bits; 0 when c is 0; clamped to the int range.
int ScaleClamped(long long a, long long b, long long c);

}  // namespace Veneer
