#pragma once
#include "foundation/VeneerApi.h"
// A progress bar with a draggable thumb: the mouse sets the value by
// position, the wheel steps it, and every change by the user sends
// "valuechanged".
#include "controls/ProgressUI.h"

namespace Veneer {

class VENEER_API CSliderUI : public CProgressUI {
public:
    CSliderUI();
    ~CSliderUI() override = default;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;

    void SetEnabled(bool bEnable = true) override;

    int GetChangeStep() const { return m_nStep; }
    void SetChangeStep(int step) { m_nStep = step; }
    // Negative sizes count as 0.
    void SetThumbSize(SIZE szXY) { m_szThumb = SIZE { szXY.cx < 0 ? 0 : szXY.cx, szXY.cy < 0 ? 0 : szXY.cy }; }
    SIZE GetThumbSize() const { return m_szThumb; }
    RECT GetThumbRect() const;
    LPCWSTR GetThumbImage() const { return m_sThumbImage.GetData(); }
    void SetThumbImage(LPCWSTR pStrImage);
    LPCWSTR GetThumbHotImage() const { return m_sThumbHotImage.GetData(); }
    void SetThumbHotImage(LPCWSTR pStrImage);
    LPCWSTR GetThumbPushedImage() const { return m_sThumbPushedImage.GetData(); }
    void SetThumbPushedImage(LPCWSTR pStrImage);
    UINT GetButtonState() const { return m_uButtonState; }

    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void PaintStatusImage(HDC hDC) override;

protected:
    // The value a release or drag at this point stands for.
    int ValueFromPoint(POINT pt) const;

    SIZE m_szThumb { 10, 10 };
    UINT m_uButtonState { 0 };
    int m_nStep { 1 };
    CStdString m_sThumbImage;
    CStdString m_sThumbHotImage;
    CStdString m_sThumbPushedImage;
    CStdString m_sImageModify;
};

}  // namespace Veneer
