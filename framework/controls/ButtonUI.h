#pragma once
// The clickable control behind every skin button: tracks hot, pushed,
// focused and disabled states, paints a state image per state, and sends
// "click" when activated.
#include <windows.h>

#include "controls/LabelUI.h"
#include "foundation/DuiString.h"

namespace Veneer {

class CButtonUI : public CLabelUI {
public:
    CButtonUI();
    ~CButtonUI() override = default;

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    UINT GetControlFlags() const override;

    bool Activate() override;
    void SetEnabled(bool bEnable = true) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    LPCTSTR GetNormalImage() const { return m_sNormalImage; }
    void SetNormalImage(LPCTSTR pStrImage);
    LPCTSTR GetHotImage() const { return m_sHotImage; }
    void SetHotImage(LPCTSTR pStrImage);
    LPCTSTR GetHotForeImage() const { return m_sHotForeImage; }
    void SetHotForeImage(LPCTSTR pStrImage);
    LPCTSTR GetPushedImage() const { return m_sPushedImage; }
    void SetPushedImage(LPCTSTR pStrImage);
    LPCTSTR GetFocusedImage() const { return m_sFocusedImage; }
    void SetFocusedImage(LPCTSTR pStrImage);
    LPCTSTR GetDisabledImage() const { return m_sDisabledImage; }
    void SetDisabledImage(LPCTSTR pStrImage);
    LPCTSTR GetForeImage() const { return m_sForeImage; }
    void SetForeImage(LPCTSTR pStrImage);

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
    bool DrawStateImage(HDC hDC, CDuiString& image);
    void RefreshStateBits();

    UINT m_uButtonState { 0 };
    DWORD m_dwHotBkColor { 0 };
    DWORD m_dwHotTextColor { 0 };
    DWORD m_dwPushedTextColor { 0 };
    DWORD m_dwFocusedTextColor { 0 };
    CDuiString m_sNormalImage;
    CDuiString m_sHotImage;
    CDuiString m_sHotForeImage;
    CDuiString m_sPushedImage;
    CDuiString m_sFocusedImage;
    CDuiString m_sDisabledImage;
    CDuiString m_sForeImage;
};

}  // namespace Veneer
