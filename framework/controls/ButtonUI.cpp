#include "controls/ButtonUI.h"

#include <cwchar>

#include "controls/ControlStates.h"
#include "engine/PaintManagerUI.h"
#include "engine/RenderEngine.h"
#include "engine/RenderEngineInternal.h"
#include "foundation/ValueSyntax.h"

namespace Veneer {

namespace {

bool Is(LPCWSTR a, LPCWSTR b)
{
    return std::wcscmp(a, b) == 0;
}

// The image-string drawer reports success even when a named image cannot be
// loaded; the state images need to know, so that a broken one is dropped
// and the normal look is used instead.
bool ImagesLoad(CPaintManagerUI* pManager, LPCWSTR pStrImage, const RECT& rcItem)
{
    if (pManager == nullptr) return false;
    bool loaded = true;
    RenderInternal::WalkImageString(pStrImage, nullptr, rcItem, [&](RenderInternal::TImageStringState& state) {
        if (state.sName.IsEmpty()) return;
        LPCWSTR type = state.sType.IsEmpty() ? nullptr : state.sType.GetData();
        if (pManager->GetImageEx(state.sName.GetData(), type, state.dwMask) == nullptr) loaded = false;
    });
    return loaded;
}

}  // namespace

CButtonUI::CButtonUI()
{
    m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
}

LPCWSTR CButtonUI::GetClass() const
{
    return L"ButtonUI";
}

LPVOID CButtonUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && Is(pstrName, L"Button")) return static_cast<CButtonUI*>(this);
    return CLabelUI::GetInterface(pstrName);
}

UINT CButtonUI::GetControlFlags() const
{
    return (IsKeyboardEnabled() ? FLAG_TABSTOP : 0) | (IsEnabled() ? FLAG_SETCURSOR : 0);
}

bool CButtonUI::Activate()
{
    if (!CControlUI::Activate()) return false;
    if (m_pManager != nullptr) m_pManager->SendNotify(this, L"click");
    return true;
}

void CButtonUI::SetEnabled(bool bEnable)
{
    CControlUI::SetEnabled(bEnable);
    if (!IsEnabled()) m_uButtonState = 0;
}

void CButtonUI::DoEvent(TEventUI& event)
{
    if (HandOnMouseEvent(event)) return;

    switch (event.Type) {
    case EVENT_SETFOCUS:
    case EVENT_KILLFOCUS:
        Invalidate();
        break;
    case EVENT_KEYDOWN:
        if (IsKeyboardEnabled() && (event.chKey == VK_SPACE || event.chKey == VK_RETURN)) {
            Activate();
            return;
        }
        break;
    case EVENT_BUTTONDOWN:
    case EVENT_DBLCLICK:
        if (::PtInRect(&m_rcItem, event.ptMouse) && IsEnabled()) {
            m_uButtonState |= STATE_PUSHED | STATE_CAPTURED;
            Invalidate();
        }
        return;
    case EVENT_MOUSEMOVE:
        if ((m_uButtonState & STATE_CAPTURED) != 0) {
            if (::PtInRect(&m_rcItem, event.ptMouse)) {
                m_uButtonState |= STATE_PUSHED;
            } else {
                m_uButtonState &= ~STATE_PUSHED;
            }
            Invalidate();
        }
        return;
    case EVENT_BUTTONUP:
        if ((m_uButtonState & STATE_CAPTURED) != 0) {
            if (::PtInRect(&m_rcItem, event.ptMouse)) Activate();
            m_uButtonState &= ~(STATE_PUSHED | STATE_CAPTURED);
            Invalidate();
        }
        return;
    case EVENT_CONTEXTMENU:
        if (IsContextMenuUsed() && m_pManager != nullptr) {
            m_pManager->SendNotify(this, L"menu", event.wParam, event.lParam);
        }
        return;
    case EVENT_MOUSEENTER:
    case EVENT_MOUSELEAVE:
        TrackHot(*this, m_uButtonState, event);
        break;
    case EVENT_SETCURSOR:
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

// ---- images and colours ----

void CButtonUI::SetNormalImage(LPCWSTR pStrImage)
{
    m_sNormalImage = pStrImage;
    Invalidate();
}

void CButtonUI::SetHotImage(LPCWSTR pStrImage)
{
    m_sHotImage = pStrImage;
    Invalidate();
}

void CButtonUI::SetHotForeImage(LPCWSTR pStrImage)
{
    m_sHotForeImage = pStrImage;
    Invalidate();
}

void CButtonUI::SetPushedImage(LPCWSTR pStrImage)
{
    m_sPushedImage = pStrImage;
    Invalidate();
}

void CButtonUI::SetFocusedImage(LPCWSTR pStrImage)
{
    m_sFocusedImage = pStrImage;
    Invalidate();
}

void CButtonUI::SetDisabledImage(LPCWSTR pStrImage)
{
    m_sDisabledImage = pStrImage;
    Invalidate();
}

void CButtonUI::SetForeImage(LPCWSTR pStrImage)
{
    m_sForeImage = pStrImage;
    Invalidate();
}

void CButtonUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr) return;
    if (pstrValue == nullptr) pstrValue = L"";

    if (Is(pstrName, L"normalimage")) {
        SetNormalImage(pstrValue);
    } else if (Is(pstrName, L"hotimage")) {
        SetHotImage(pstrValue);
    } else if (Is(pstrName, L"pushedimage")) {
        SetPushedImage(pstrValue);
    } else if (Is(pstrName, L"focusedimage")) {
        SetFocusedImage(pstrValue);
    } else if (Is(pstrName, L"disabledimage")) {
        SetDisabledImage(pstrValue);
    } else if (Is(pstrName, L"foreimage")) {
        SetForeImage(pstrValue);
    } else if (Is(pstrName, L"hotforeimage")) {
        SetHotForeImage(pstrValue);
    } else if (Is(pstrName, L"hotbkcolor")) {
        SetHotBkColor(ValueSyntax::ParseColor(pstrValue, false));
    } else if (Is(pstrName, L"hottextcolor")) {
        SetHotTextColor(ValueSyntax::ParseColor(pstrValue, false));
    } else if (Is(pstrName, L"pushedtextcolor")) {
        SetPushedTextColor(ValueSyntax::ParseColor(pstrValue, false));
    } else if (Is(pstrName, L"focusedtextcolor")) {
        SetFocusedTextColor(ValueSyntax::ParseColor(pstrValue, false));
    } else {
        CLabelUI::SetAttribute(pstrName, pstrValue);
    }
}

SIZE CButtonUI::EstimateSize(SIZE szAvailable)
{
    if (m_cyFixed != 0 || m_pManager == nullptr) return CControlUI::EstimateSize(szAvailable);
    const TFontInfo* pFont = m_pManager->GetFontInfo(m_iFont);
    const int fontHeight = pFont != nullptr ? pFont->tm.tmHeight : 0;
    return SIZE { m_cxFixed, fontHeight + 8 };
}

// ---- painting ----

bool CButtonUI::DrawStateImage(HDC hDC, CStdString& image)
{
    if (ImagesLoad(m_pManager, image, m_rcItem) && DrawImage(hDC, image)) return true;
    image.Empty();
    return false;
}

void CButtonUI::RefreshStateBits()
{
    RefreshFocusAndEnabled(*this, m_uButtonState);
}

void CButtonUI::PaintStatusImage(HDC hDC)
{
    RefreshStateBits();

    bool useNormal = true;
    if ((m_uButtonState & STATE_DISABLED) != 0) {
        if (!m_sDisabledImage.IsEmpty() && DrawStateImage(hDC, m_sDisabledImage)) useNormal = false;
    } else if ((m_uButtonState & STATE_PUSHED) != 0) {
        if (!m_sPushedImage.IsEmpty()) {
            DrawStateImage(hDC, m_sPushedImage);
            useNormal = false;
        }
    } else if ((m_uButtonState & STATE_HOT) != 0) {
        if (!m_sHotImage.IsEmpty()) {
            DrawStateImage(hDC, m_sHotImage);
            if (!m_sHotForeImage.IsEmpty()) {
                DrawStateImage(hDC, m_sHotForeImage);
                return;
            }
            useNormal = false;
        } else if (m_dwHotBkColor != 0) {
            CRenderEngine::DrawColor(hDC, m_rcPaint, GetAdjustColor(m_dwHotBkColor));
            return;
        }
    } else if ((m_uButtonState & STATE_FOCUSED) != 0) {
        if (!m_sFocusedImage.IsEmpty() && DrawStateImage(hDC, m_sFocusedImage)) useNormal = false;
    }

    if (useNormal && !m_sNormalImage.IsEmpty()) DrawStateImage(hDC, m_sNormalImage);
    if (!m_sForeImage.IsEmpty()) DrawStateImage(hDC, m_sForeImage);
}

void CButtonUI::PaintText(HDC hDC)
{
    if (m_pManager == nullptr) return;
    RefreshStateBits();
    ResolveDefaultColors();
    if (m_sText.IsEmpty()) return;

    RECT rc = GetTextRect();
    DWORD color = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    if ((m_uButtonState & STATE_PUSHED) != 0 && m_dwPushedTextColor != 0) {
        color = m_dwPushedTextColor;
    } else if ((m_uButtonState & STATE_HOT) != 0 && m_dwHotTextColor != 0) {
        color = m_dwHotTextColor;
    } else if ((m_uButtonState & STATE_FOCUSED) != 0 && m_dwFocusedTextColor != 0) {
        color = m_dwFocusedTextColor;
    }

    if (m_bShowHtml) {
        int nLinks = 0;
        CRenderEngine::DrawHtmlText(hDC, m_pManager, rc, m_sText, color, nullptr, nullptr, nLinks, m_uTextStyle);
    } else {
        CRenderEngine::DrawText(hDC, m_pManager, rc, m_sText, color, m_iFont, m_uTextStyle);
    }
}

}  // namespace Veneer
