#include "controls/LabelUI.h"

#include <cwchar>
#include <memory>

#include "engine/GdiPlusSession.h"
#include "engine/PaintManagerUI.h"
#include "engine/RenderEngine.h"
#include "foundation/RectMath.h"
#include "foundation/ValueSyntax.h"

namespace Veneer {

namespace {

// The effect accessors report any failure inside them as a thrown text that
// names the operation; callers of the effects API rely on that contract.
template <class Body>
auto GuardEffect(LPCWSTR operation, Body body) -> decltype(body())
{
    try {
        return body();
    } catch (...) {
        throw CLabelEffectError(operation);
    }
}

bool Is(LPCWSTR a, LPCWSTR b)
{
    return std::wcscmp(a, b) == 0;
}

bool Contains(LPCWSTR text, LPCWSTR word)
{
    return std::wcsstr(text, word) != nullptr;
}

// Colour attributes of the label skip only a leading "#".
DWORD ParseLabelColor(LPCWSTR value)
{
    return ValueSyntax::ParseColor(value, false);
}

int ParseInt(LPCWSTR value)
{
    return static_cast<int>(ValueSyntax::ParseInt(value));
}

Gdiplus::Color MakeGdiplusColor(int alpha, DWORD argb)
{
    return Gdiplus::Color(static_cast<BYTE>(alpha), static_cast<BYTE>((argb >> 16) & 0xFF),
                          static_cast<BYTE>((argb >> 8) & 0xFF), static_cast<BYTE>(argb & 0xFF));
}

}  // namespace

CLabelUI::CLabelUI()
{
    // The effects path draws with GDI+: it runs from the first label on.
    EnsureGdiPlus();
}

CLabelUI::~CLabelUI() = default;

LPCWSTR CLabelUI::GetClass() const
{
    return L"LabelUI";
}

LPVOID CLabelUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && Is(pstrName, L"Label")) return static_cast<CLabelUI*>(this);
    return CControlUI::GetInterface(pstrName);
}

CStdString CLabelUI::GetText() const
{
    return GuardEffect(L"CLabelUI::GetText", [&]() -> CStdString {
        if (!m_EnableEffect) return CControlUI::GetText();
        return m_TextValue;
    });
}

void CLabelUI::SetText(LPCWSTR pstrText)
{
    GuardEffect(L"CLabelUI::SetText", [&] {
        if (!m_EnableEffect) {
            CControlUI::SetText(pstrText);
            return;
        }
        m_TextValue = pstrText;
    });
}

void CLabelUI::DoEvent(TEventUI& event)
{
    if (event.Type == EVENT_SETFOCUS) {
        m_bFocused = true;
        return;
    }
    if (event.Type == EVENT_KILLFOCUS) {
        m_bFocused = false;
        return;
    }
    CControlUI::DoEvent(event);
}

void CLabelUI::SetTextStyle(UINT uStyle)
{
    m_uTextStyle = uStyle;
    Invalidate();
}

void CLabelUI::SetTextColor(DWORD dwTextColor)
{
    m_dwTextColor = dwTextColor;
    Invalidate();
}

void CLabelUI::SetDisabledTextColor(DWORD dwTextColor)
{
    m_dwDisabledTextColor = dwTextColor;
    Invalidate();
}

void CLabelUI::SetFont(int index)
{
    m_iFont = index;
    Invalidate();
}

void CLabelUI::SetTextPadding(RECT rc)
{
    m_rcTextPadding = rc;
    Invalidate();
}

void CLabelUI::SetShowHtml(bool bShowHtml)
{
    if (m_bShowHtml == bShowHtml) return;
    m_bShowHtml = bShowHtml;
    Invalidate();
}

// ---- effect settings ----

void CLabelUI::SetEnabledEffect(bool bEnable)
{
    GuardEffect(L"CLabelUI::SetEnabledEffect", [&] { m_EnableEffect = bEnable; });
}

bool CLabelUI::GetEnabledEffect() const
{
    return GuardEffect(L"CLabelUI::GetEnabledEffect", [&] { return m_EnableEffect; });
}

void CLabelUI::SetEnabledStroke(bool bEnable)
{
    GuardEffect(L"CLabelUI::SetEnabledStroke", [&] { m_EnabledStroke = bEnable; });
}

bool CLabelUI::GetEnabledStroke() const
{
    return GuardEffect(L"CLabelUI::GetEnabledStroke", [&] { return m_EnabledStroke; });
}

void CLabelUI::SetEnabledShadow(bool bEnable)
{
    GuardEffect(L"CLabelUI::SetEnabledShadow", [&] { m_EnabledShadow = bEnable; });
}

bool CLabelUI::GetEnabledShadow() const
{
    return GuardEffect(L"CLabelUI::GetEnabledShadow", [&] { return m_EnabledShadow; });
}

void CLabelUI::SetTransShadow(int nTrans)
{
    GuardEffect(L"CLabelUI::SetTransShadow", [&] { m_TransShadow = nTrans; });
}

int CLabelUI::GetTransShadow() const
{
    return GuardEffect(L"CLabelUI::GetTransShadow", [&] { return m_TransShadow; });
}

void CLabelUI::SetTransShadow1(int nTrans)
{
    GuardEffect(L"CLabelUI::SetTransShadow1", [&] { m_TransShadow1 = nTrans; });
}

int CLabelUI::GetTransShadow1() const
{
    return GuardEffect(L"CLabelUI::GetTransShadow1", [&] { return m_TransShadow1; });
}

void CLabelUI::SetTransText(int nTrans)
{
    GuardEffect(L"CLabelUI::SetTransText", [&] { m_TransText = nTrans; });
}

int CLabelUI::GetTransText() const
{
    return GuardEffect(L"CLabelUI::GetTransText", [&] { return m_TransText; });
}

void CLabelUI::SetTransText1(int nTrans)
{
    GuardEffect(L"CLabelUI::SetTransText1", [&] { m_TransText1 = nTrans; });
}

int CLabelUI::GetTransText1() const
{
    return GuardEffect(L"CLabelUI::GetTransText1", [&] { return m_TransText1; });
}

void CLabelUI::SetTransStroke(int nTrans)
{
    GuardEffect(L"CLabelUI::SetTransStroke", [&] { m_TransStroke = nTrans; });
}

int CLabelUI::GetTransStroke() const
{
    return GuardEffect(L"CLabelUI::GetTransStroke", [&] { return m_TransStroke; });
}

void CLabelUI::SetGradientLength(int nLength)
{
    GuardEffect(L"CLabelUI::SetGradientLength", [&] { m_GradientLength = nLength; });
}

int CLabelUI::GetGradientLength() const
{
    return GuardEffect(L"CLabelUI::GetGradientLength", [&] { return m_GradientLength; });
}

void CLabelUI::SetGradientAngle(int nAngle)
{
    GuardEffect(L"CLabelUI::SetGradientAngle", [&] { m_GradientAngle = nAngle; });
}

int CLabelUI::GetGradientAngle() const
{
    return GuardEffect(L"CLabelUI::GetGradientAngle", [&] { return m_GradientAngle; });
}

void CLabelUI::SetTextColor1(DWORD dwColor)
{
    GuardEffect(L"CLabelUI::SetTextColor1", [&] { m_dwTextColor1 = dwColor; });
}

DWORD CLabelUI::GetTextColor1() const
{
    return GuardEffect(L"CLabelUI::GetTextColor1", [&] { return m_dwTextColor1; });
}

void CLabelUI::SetTextShadowColorA(DWORD dwColor)
{
    GuardEffect(L"CLabelUI::SetTextShadowColorA", [&] { m_dwTextShadowColorA = dwColor; });
}

DWORD CLabelUI::GetTextShadowColorA() const
{
    return GuardEffect(L"CLabelUI::GetTextShadowColorA", [&] { return m_dwTextShadowColorA; });
}

void CLabelUI::SetTextShadowColorB(DWORD dwColor)
{
    GuardEffect(L"CLabelUI::SetTextShadowColorB", [&] { m_dwTextShadowColorB = dwColor; });
}

DWORD CLabelUI::GetTextShadowColorB() const
{
    return GuardEffect(L"CLabelUI::GetTextShadowColorB", [&] { return m_dwTextShadowColorB; });
}

void CLabelUI::SetStrokeColor(DWORD dwColor)
{
    GuardEffect(L"CLabelUI::SetStrokeColor", [&] { m_dwStrokeColor = dwColor; });
}

DWORD CLabelUI::GetStrokeColor() const
{
    return GuardEffect(L"CLabelUI::GetStrokeColor", [&] { return m_dwStrokeColor; });
}

void CLabelUI::SetShadowOffset(int nOffset, int nAngle)
{
    GuardEffect(L"CLabelUI::SetShadowOffset", [&] {
        if (nAngle > 180 || nAngle < -180) return;
        RECT rc = m_rcItem;
        if (nAngle >= 0 && nAngle <= 180) {
            rc.top -= nOffset;
        } else {
            rc.top += nOffset;
        }
        if (nAngle > -90 && nAngle <= 90) {
            rc.left -= nOffset;
        } else {
            rc.left += nOffset;
        }
        // X takes the vertical shift and Y the horizontal one, as skins
        // written for this control expect.
        m_ShadowOffset.X = static_cast<Gdiplus::REAL>(rc.top);
        m_ShadowOffset.Y = static_cast<Gdiplus::REAL>(rc.left);
    });
}

Gdiplus::RectF CLabelUI::GetShadowOffset() const
{
    return GuardEffect(L"CLabelUI::GetShadowOffset", [&] { return m_ShadowOffset; });
}

void CLabelUI::SetTextRenderingHintAntiAlias(int nHint)
{
    GuardEffect(L"CLabelUI::SetTextRenderingHintAntiAlias", [&] {
        m_TextRenderingHintAntiAlias = (nHint < 0 || nHint > 5) ? 0 : nHint;
    });
}

int CLabelUI::GetTextRenderingHintAntiAlias() const
{
    return GuardEffect(L"CLabelUI::GetTextRenderingHintAntiAlias", [&] { return m_TextRenderingHintAntiAlias; });
}

// ---- attributes ----

void CLabelUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr) return;
    if (pstrValue == nullptr) pstrValue = L"";

    if (Is(pstrName, L"align")) {
        if (Contains(pstrValue, L"left")) {
            m_uTextStyle &= ~(DT_CENTER | DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
            m_uTextStyle |= DT_LEFT;
        }
        if (Contains(pstrValue, L"center")) {
            m_uTextStyle &= ~DT_RIGHT;
            m_uTextStyle |= DT_CENTER;
        }
        if (Contains(pstrValue, L"right")) {
            m_uTextStyle &= ~(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            m_uTextStyle |= DT_RIGHT;
        }
        if (Contains(pstrValue, L"top")) {
            m_uTextStyle &= ~(DT_BOTTOM | DT_VCENTER);
            m_uTextStyle |= DT_SINGLELINE;
        }
        if (Contains(pstrValue, L"vcenter")) {
            m_uTextStyle &= ~DT_BOTTOM;
            m_uTextStyle |= DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        }
        if (Contains(pstrValue, L"bottom")) {
            m_uTextStyle &= ~DT_VCENTER;
            m_uTextStyle |= DT_BOTTOM | DT_SINGLELINE;
        }
    } else if (Is(pstrName, L"endellipsis")) {
        if (ValueSyntax::ParseBool(pstrValue)) {
            m_uTextStyle |= DT_END_ELLIPSIS;
        } else {
            m_uTextStyle &= ~DT_END_ELLIPSIS;
        }
    } else if (Is(pstrName, L"font")) {
        SetFont(ParseInt(pstrValue));
    } else if (Is(pstrName, L"textcolor")) {
        SetTextColor(ParseLabelColor(pstrValue));
    } else if (Is(pstrName, L"disabledtextcolor")) {
        SetDisabledTextColor(ParseLabelColor(pstrValue));
    } else if (Is(pstrName, L"textpadding")) {
        SetTextPadding(ValueSyntax::ParseRect(pstrValue));
    } else if (Is(pstrName, L"showhtml")) {
        SetShowHtml(ValueSyntax::ParseBool(pstrValue));
    } else if (Is(pstrName, L"enabledeffect")) {
        SetEnabledEffect(ValueSyntax::ParseBool(pstrValue));
    } else if (Is(pstrName, L"rhaa")) {
        SetTextRenderingHintAntiAlias(ParseInt(pstrValue));
    } else if (Is(pstrName, L"transshadow")) {
        SetTransShadow(ParseInt(pstrValue));
    } else if (Is(pstrName, L"transtext")) {
        SetTransText(ParseInt(pstrValue));
    } else if (Is(pstrName, L"transshadow1")) {
        SetTransShadow1(ParseInt(pstrValue));
    } else if (Is(pstrName, L"transtext1")) {
        SetTransText1(ParseInt(pstrValue));
    } else if (Is(pstrName, L"gradientangle")) {
        SetGradientAngle(ParseInt(pstrValue));
    } else if (Is(pstrName, L"enabledstroke")) {
        SetEnabledStroke(ValueSyntax::ParseBool(pstrValue));
    } else if (Is(pstrName, L"enabledshadow")) {
        SetEnabledShadow(ValueSyntax::ParseBool(pstrValue));
    } else if (Is(pstrName, L"transstroke")) {
        SetTransStroke(ParseInt(pstrValue));
    } else if (Is(pstrName, L"gradientlength")) {
        SetGradientLength(ParseInt(pstrValue));
    } else if (Is(pstrName, L"shadowoffset")) {
        long values[2] = { 0, 0 };
        ValueSyntax::ParseNumberList(pstrValue, values, 2);
        SetShadowOffset(static_cast<int>(values[0]), static_cast<int>(values[1]));
    } else if (Is(pstrName, L"textcolor1")) {
        SetTextColor1(ParseLabelColor(pstrValue));
    } else if (Is(pstrName, L"textshadowcolora")) {
        SetTextShadowColorA(ParseLabelColor(pstrValue));
    } else if (Is(pstrName, L"textshadowcolorb")) {
        SetTextShadowColorB(ParseLabelColor(pstrValue));
    } else if (Is(pstrName, L"strokecolor")) {
        SetStrokeColor(ParseLabelColor(pstrValue));
    } else {
        CControlUI::SetAttribute(pstrName, pstrValue);
    }
}

SIZE CLabelUI::EstimateSize(SIZE szAvailable)
{
    if (m_cyFixed != 0 || m_pManager == nullptr) return CControlUI::EstimateSize(szAvailable);
    const TFontInfo* pFont = m_pManager->GetFontInfo(m_iFont);
    const int fontHeight = pFont != nullptr ? pFont->tm.tmHeight : 0;
    return SIZE { m_cxFixed, fontHeight + 4 };
}

// ---- painting ----

void CLabelUI::ResolveDefaultColors()
{
    if (m_pManager == nullptr) return;
    if (m_dwTextColor == 0) m_dwTextColor = m_pManager->GetDefaultFontColor();
    if (m_dwDisabledTextColor == 0) m_dwDisabledTextColor = m_pManager->GetDefaultDisabledColor();
}

RECT CLabelUI::GetTextRect() const
{
    return RectMath::Pad(m_rcItem, m_rcTextPadding);
}

void CLabelUI::PaintText(HDC hDC)
{
    if (m_pManager == nullptr) return;
    ResolveDefaultColors();
    RECT rc = GetTextRect();

    if (m_EnableEffect) {
        PaintEffectsText(hDC, rc);
        return;
    }
    if (m_sText.IsEmpty()) return;
    const DWORD color = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    const UINT style = m_uTextStyle | DT_SINGLELINE;
    if (m_bShowHtml) {
        int nLinks = 0;
        CRenderEngine::DrawHtmlText(hDC, m_pManager, rc, m_sText, color, nullptr, nullptr, nLinks, style);
    } else {
        CRenderEngine::DrawText(hDC, m_pManager, rc, m_sText, color, m_iFont, style);
    }
}

void CLabelUI::PaintEffectsText(HDC hDC, const RECT& rc)
{
    if (hDC == nullptr || m_TextValue.IsEmpty() || !EnsureGdiPlus()) return;
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    if (width <= 0 || height <= 0) return;

    std::unique_ptr<Gdiplus::Font> font;
    HFONT hFont = m_pManager->GetFont(m_iFont);
    LOGFONTW lf {};
    if (hFont != nullptr && ::GetObjectW(hFont, sizeof(lf), &lf) == sizeof(lf)) {
        font.reset(new Gdiplus::Font(hDC, &lf));
    } else {
        font.reset(new Gdiplus::Font(hDC));
    }
    if (!font || font->GetLastStatus() != Gdiplus::Ok) return;

    Gdiplus::Graphics graphics(hDC);
    if (graphics.GetLastStatus() != Gdiplus::Ok) return;
    graphics.SetTextRenderingHint(static_cast<Gdiplus::TextRenderingHint>(m_TextRenderingHintAntiAlias));

    Gdiplus::StringFormat format;
    format.SetAlignment(static_cast<Gdiplus::StringAlignment>(m_hAlign));
    format.SetLineAlignment(static_cast<Gdiplus::StringAlignment>(m_vAlign));

    const Gdiplus::RectF layout(static_cast<Gdiplus::REAL>(rc.left), static_cast<Gdiplus::REAL>(rc.top),
                                static_cast<Gdiplus::REAL>(width), static_cast<Gdiplus::REAL>(height));
    const Gdiplus::RectF shadow(layout.X + m_ShadowOffset.X, layout.Y + m_ShadowOffset.Y, layout.Width,
                                layout.Height);

    const int length = m_GradientLength == 0 ? height : m_GradientLength;
    const Gdiplus::Point from(m_GradientAngle, 0);
    const Gdiplus::Point to(0, length);
    LPCWSTR text = m_TextValue.GetData();

    auto drawWith = [&](const Gdiplus::Brush& brush, const Gdiplus::RectF& where) {
        // A degenerate gradient (both points equal) leaves the brush invalid.
        if (brush.GetLastStatus() != Gdiplus::Ok) return;
        graphics.DrawString(text, -1, font.get(), where, &format, &brush);
    };

    if (m_EnabledStroke && m_dwStrokeColor != 0) {
        const Gdiplus::Color stroke = MakeGdiplusColor(m_TransStroke, m_dwStrokeColor);
        Gdiplus::LinearGradientBrush strokeBrush(from, Gdiplus::Point(0, height + 2), stroke, stroke);
        const Gdiplus::REAL shifts[4][2] = { { -1, 0 }, { 1, 0 }, { 0, -1 }, { 0, 1 } };
        for (const auto& shift : shifts) {
            const Gdiplus::RectF moved(layout.X + shift[0], layout.Y + shift[1], layout.Width, layout.Height);
            drawWith(strokeBrush, moved);
        }
    }

    if (m_EnabledShadow && (m_dwTextShadowColorA != 0 || m_dwTextShadowColorB != 0)) {
        const DWORD shadowEnd = m_dwTextShadowColorB == 0xFFFFFFFF ? m_dwTextShadowColorA : m_dwTextShadowColorB;
        Gdiplus::LinearGradientBrush shadowBrush(from, to, MakeGdiplusColor(m_TransShadow, m_dwTextShadowColorA),
                                                 MakeGdiplusColor(m_TransShadow1, shadowEnd));
        drawWith(shadowBrush, shadow);
    }

    const DWORD textEnd = m_dwTextColor1 == 0xFFFFFFFF ? m_dwTextColor : m_dwTextColor1;
    Gdiplus::LinearGradientBrush textBrush(from, to, MakeGdiplusColor(m_TransText, m_dwTextColor),
                                           MakeGdiplusColor(m_TransText1, textEnd));
    drawWith(textBrush, layout);
}

}  // namespace Veneer
