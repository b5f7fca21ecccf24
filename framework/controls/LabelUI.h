#pragma once
#include "foundation/VeneerApi.h"
// Static single-line text, the base of every captioned control. Beside the
// ordinary DrawText path it has a GDI+ effects path: gradient glyph fill,
// one-pixel outline and drop shadow.
#include <windows.h>

#include "engine/ControlUI.h"
#include "engine/GdiPlusInclude.h"
#include "foundation/StdString.h"

namespace Veneer {

// What the effects operations throw on an internal failure: the text naming
// the operation ("CLabelUI::SetText").
class VENEER_API CLabelEffectError {
public:
    explicit CLabelEffectError(LPCWSTR operation) : m_operation(operation) {}
    LPCWSTR GetOperation() const { return m_operation; }

private:
    LPCWSTR m_operation { nullptr };
};

class VENEER_API CLabelUI : public CControlUI {
public:
    CLabelUI();
    ~CLabelUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    // With effects enabled these read and write the effects text instead of
    // the ordinary text. On an internal failure they throw a CLabelEffectError
    // naming the operation ("CLabelUI::SetText").
    CStdString GetText() const override;
    void SetText(LPCWSTR pstrText) override;

    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void PaintText(HDC hDC) override;

    void SetTextStyle(UINT uStyle);
    UINT GetTextStyle() const { return m_uTextStyle; }
    void SetTextColor(DWORD dwTextColor);
    DWORD GetTextColor() const { return m_dwTextColor; }
    void SetDisabledTextColor(DWORD dwTextColor);
    DWORD GetDisabledTextColor() const { return m_dwDisabledTextColor; }
    void SetFont(int index);
    int GetFont() const { return m_iFont; }
    void SetTextPadding(RECT rc);
    RECT GetTextPadding() const { return m_rcTextPadding; }
    void SetShowHtml(bool bShowHtml = true);
    bool IsShowHtml() const { return m_bShowHtml; }

    // Effect settings only store; each throws a CLabelEffectError naming itself
    // ("CLabelUI::SetTransShadow") when something inside fails.
    void SetEnabledEffect(bool bEnable);
    bool GetEnabledEffect() const;
    void SetEnabledStroke(bool bEnable);
    bool GetEnabledStroke() const;
    void SetEnabledShadow(bool bEnable);
    bool GetEnabledShadow() const;
    void SetTransShadow(int nTrans);
    int GetTransShadow() const;
    void SetTransShadow1(int nTrans);
    int GetTransShadow1() const;
    void SetTransText(int nTrans);
    int GetTransText() const;
    void SetTransText1(int nTrans);
    int GetTransText1() const;
    void SetTransStroke(int nTrans);
    int GetTransStroke() const;
    void SetGradientLength(int nLength);
    int GetGradientLength() const;
    void SetGradientAngle(int nAngle);
    int GetGradientAngle() const;
    void SetTextColor1(DWORD dwColor);
    DWORD GetTextColor1() const;
    void SetTextShadowColorA(DWORD dwColor);
    DWORD GetTextShadowColorA() const;
    void SetTextShadowColorB(DWORD dwColor);
    DWORD GetTextShadowColorB() const;
    void SetStrokeColor(DWORD dwColor);
    DWORD GetStrokeColor() const;
    // Angle in degrees, -180..180; the offset moves the shadow away from it.
    void SetShadowOffset(int nOffset, int nAngle);
    Gdiplus::RectF GetShadowOffset() const;
    // A GDI+ TextRenderingHint, 0..5; anything else stores 0.
    void SetTextRenderingHintAntiAlias(int nHint);
    int GetTextRenderingHintAntiAlias() const;

protected:
    // Fills unset (zero) text colours from the manager's defaults.
    void ResolveDefaultColors();
    RECT GetTextRect() const;

    DWORD m_dwTextColor { 0 };
    DWORD m_dwDisabledTextColor { 0 };
    int m_iFont { -1 };
    UINT m_uTextStyle { DT_VCENTER };
    RECT m_rcTextPadding { 0, 0, 0, 0 };
    bool m_bShowHtml { false };

    int m_hAlign { 0 };  // Gdiplus::StringAlignmentNear
    int m_vAlign { 1 };  // Gdiplus::StringAlignmentCenter
    int m_TransShadow { 60 };
    int m_TransShadow1 { 60 };
    int m_TransText { 168 };
    int m_TransText1 { 168 };
    int m_TransStroke { 255 };
    int m_GradientLength { 0 };
    int m_GradientAngle { 0 };
    bool m_EnableEffect { false };
    bool m_EnabledStroke { false };
    bool m_EnabledShadow { false };
    DWORD m_dwTextColor1 { 0xFFFFFFFF };
    DWORD m_dwTextShadowColorA { 0xFF000000 };
    DWORD m_dwTextShadowColorB { 0xFFFFFFFF };
    DWORD m_dwStrokeColor { 0 };
    Gdiplus::RectF m_ShadowOffset { 0.0f, 0.0f, 0.0f, 0.0f };
    CStdString m_TextValue;
    int m_TextRenderingHintAntiAlias { 0 };

private:
    void PaintEffectsText(HDC hDC, const RECT& rc);
};

}  // namespace Veneer
