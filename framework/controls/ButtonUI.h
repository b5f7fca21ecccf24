#pragma once
#include "foundation/VeneerApi.h"
// The clickable control behind every skin button: tracks hot, pushed,
// focused and disabled states, paints a state image per state, and sends
// "click" when activated.
#include <windows.h>

#include "controls/LabelUI.h"
#include "foundation/StdString.h"

namespace Veneer {

class VENEER_API CButtonUI : public CLabelUI {
public:
    CButtonUI();
    ~CButtonUI() override = default;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    bool TakesCaptionClick() const override { return true; }
    UINT GetControlFlags() const override;

    bool Activate() override;
    void SetEnabled(bool bEnable = true) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    LPCWSTR GetNormalImage() const { return m_sNormalImage; }
    void SetNormalImage(LPCWSTR pStrImage);
    LPCWSTR GetHotImage() const { return m_sHotImage; }
    void SetHotImage(LPCWSTR pStrImage);
    LPCWSTR GetHotForeImage() const { return m_sHotForeImage; }
    void SetHotForeImage(LPCWSTR pStrImage);
    LPCWSTR GetPushedImage() const { return m_sPushedImage; }
    void SetPushedImage(LPCWSTR pStrImage);
    LPCWSTR GetFocusedImage() const { return m_sFocusedImage; }
    void SetFocusedImage(LPCWSTR pStrImage);
    LPCWSTR GetDisabledImage() const { return m_sDisabledImage; }
    void SetDisabledImage(LPCWSTR pStrImage);
    LPCWSTR GetForeImage() const { return m_sForeImage; }
    void SetForeImage(LPCWSTR pStrImage);

    void SetHotBkColor(DWORD dwColor) { m_dwHotBkColor = dwColor; }
    DWORD GetHotBkColor() const { return m_dwHotBkColor; }
    void SetHotTextColor(DWORD dwColor) { m_dwHotTextColor = dwColor; }
    DWORD GetHotTextColor() const { return m_dwHotTextColor; }
    void SetPushedTextColor(DWORD dwColor) { m_dwPushedTextColor = dwColor; }
    DWORD GetPushedTextColor() const { return m_dwPushedTextColor; }
    void SetFocusedTextColor(DWORD dwColor) { m_dwFocusedTextColor = dwColor; }
    DWORD GetFocusedTextColor() const { return m_dwFocusedTextColor; }

    // The state bits (STATE_HOT, STATE_PUSHED, ...) as of the last event or paint.
    UINT GetButtonState() const { return m_uButtonState; }

protected:
    // Draws an image string; on failure empties it so it is not tried again.
    bool DrawStateImage(HDC hDC, CStdString& image);
    void RefreshStateBits();

    UINT m_uButtonState { 0 };
    DWORD m_dwHotBkColor { 0 };
    DWORD m_dwHotTextColor { 0 };
    DWORD m_dwPushedTextColor { 0 };
    DWORD m_dwFocusedTextColor { 0 };
    CStdString m_sNormalImage;
    CStdString m_sHotImage;
    CStdString m_sHotForeImage;
    CStdString m_sPushedImage;
    CStdString m_sFocusedImage;
    CStdString m_sDisabledImage;
    CStdString m_sForeImage;
};

}  // namespace Veneer
