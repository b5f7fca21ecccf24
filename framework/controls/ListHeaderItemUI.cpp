#include "controls/ListHeaderItemUI.h"

#include <algorithm>
#include <cwchar>

#include "controls/ControlStates.h"
#include "engine/PaintManagerUI.h"
#include "engine/RenderEngine.h"
#include "foundation/RectMath.h"
#include "foundation/ValueSyntax.h"

namespace Veneer {

using ValueSyntax::ParseBool;
using ValueSyntax::ParseColor;
using ValueSyntax::ParseInt;
using ValueSyntax::ParseRect;

namespace {

// Room the hit test gives the separator inside the item.
constexpr LONG kSeparatorGrip = 4;
// A strip wider than any screen means nothing more; the bound keeps the
// edge arithmetic far from overflow.
constexpr int kMaxSepWidth = 32767;

}  // namespace

CListHeaderItemUI::CListHeaderItemUI()
{
    SetMinWidth(16);
}

LPCWSTR CListHeaderItemUI::GetClass() const { return L"ListHeaderItemUI"; }

LPVOID CListHeaderItemUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"ListHeaderItem") == 0) {
        return static_cast<CListHeaderItemUI*>(this);
    }
    return CContainerUI::GetInterface(pstrName);
}

UINT CListHeaderItemUI::GetControlFlags() const
{
    return (IsEnabled() && m_iSepWidth != 0) ? FLAG_SETCURSOR : 0;
}

void CListHeaderItemUI::SetEnabled(bool bEnable)
{
    CContainerUI::SetEnabled(bEnable);
    if (!IsEnabled()) {
        m_uButtonState = 0;
    }
}

void CListHeaderItemUI::SetDragable(bool bDragable)
{
    m_bDragable = bDragable;
    if (!m_bDragable) {
        m_uButtonState &= ~STATE_CAPTURED;
    }
}

void CListHeaderItemUI::SetSepWidth(int iWidth)
{
    m_iSepWidth = std::max(-kMaxSepWidth, std::min(iWidth, kMaxSepWidth));
}

void CListHeaderItemUI::SetTextStyle(UINT uStyle)
{
    m_uTextStyle = uStyle;
    Invalidate();
}

void CListHeaderItemUI::SetTextPadding(RECT rc)
{
    m_rcTextPadding = rc;
    Invalidate();
}

void CListHeaderItemUI::SetShowHtml(bool bShowHtml)
{
    if (m_bShowHtml == bShowHtml) {
        return;
    }
    m_bShowHtml = bShowHtml;
    Invalidate();
}

void CListHeaderItemUI::SetNormalImage(LPCWSTR pStrImage)
{
    m_sNormalImage = pStrImage;
    Invalidate();
}

void CListHeaderItemUI::SetHotImage(LPCWSTR pStrImage)
{
    m_sHotImage = pStrImage;
    Invalidate();
}

void CListHeaderItemUI::SetPushedImage(LPCWSTR pStrImage)
{
    m_sPushedImage = pStrImage;
    Invalidate();
}

void CListHeaderItemUI::SetFocusedImage(LPCWSTR pStrImage)
{
    m_sFocusedImage = pStrImage;
    Invalidate();
}

void CListHeaderItemUI::SetSepImage(LPCWSTR pStrImage)
{
    m_sSepImage = pStrImage;
    Invalidate();
}

RECT CListHeaderItemUI::GetThumbRect() const
{
    if (m_iSepWidth >= 0) {
        return RECT { m_rcItem.right - m_iSepWidth, m_rcItem.top, m_rcItem.right, m_rcItem.bottom };
    }
    return RECT { m_rcItem.left, m_rcItem.top, m_rcItem.left - m_iSepWidth, m_rcItem.bottom };
}

RECT CListHeaderItemUI::GetHitThumbRect() const
{
    RECT rc = GetThumbRect();
    if (m_iSepWidth >= 0) {
        rc.left -= kSeparatorGrip;
    } else {
        rc.right += kSeparatorGrip;
    }
    return rc;
}

void CListHeaderItemUI::DoEvent(TEventUI& event)
{
    if (HandOnMouseEvent(event)) return;

    switch (event.Type) {
    case EVENT_SETFOCUS:
    case EVENT_KILLFOCUS:
        Invalidate();
        break;
    case EVENT_BUTTONDOWN:
    case EVENT_DBLCLICK: {
        if (!IsEnabled()) {
            return;
        }
        const RECT rcSeparator = GetHitThumbRect();
        if (::PtInRect(&rcSeparator, event.ptMouse)) {
            if (m_bDragable) {
                m_uButtonState |= STATE_CAPTURED;
                m_ptLastMouse = event.ptMouse;
            }
        } else {
            m_uButtonState |= STATE_PUSHED;
            if (m_pManager != nullptr) {
                m_pManager->SendNotify(this, L"headerclick");
            }
            Invalidate();
        }
        return;
    }
    case EVENT_BUTTONUP:
        if ((m_uButtonState & STATE_CAPTURED) != 0) {
            m_uButtonState &= ~STATE_CAPTURED;
            if (m_pParent != nullptr) {
                m_pParent->NeedParentUpdate();
            }
        } else if ((m_uButtonState & STATE_PUSHED) != 0) {
            m_uButtonState &= ~STATE_PUSHED;
            Invalidate();
        }
        return;
    case EVENT_MOUSEMOVE:
        if ((m_uButtonState & STATE_CAPTURED) != 0) {
            // Several moves may arrive before the next layout: start from the
            // width the last move asked for, not the rectangle of the last layout.
            const LONG cxCurrent = m_cxFixed > 0 ? m_cxFixed : m_rcItem.right - m_rcItem.left;
            const LONG dx = m_ptLastMouse.x - event.ptMouse.x;
            const LONG cxNew = m_iSepWidth >= 0 ? cxCurrent - dx : cxCurrent + dx;
            if (cxNew > GetMinWidth()) {
                m_cxFixed = cxNew;
                m_ptLastMouse = event.ptMouse;
                if (m_pParent != nullptr) {
                    m_pParent->NeedParentUpdate();
                }
            }
        }
        return;
    case EVENT_SETCURSOR: {
        const RECT rcSeparator = GetHitThumbRect();
        if (IsEnabled() && m_bDragable && ::PtInRect(&rcSeparator, event.ptMouse)) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEWE));
            return;
        }
        break;
    }
    case EVENT_MOUSEENTER:
    case EVENT_MOUSELEAVE:
        TrackHot(*this, m_uButtonState, event);
        return;
    default:
        break;
    }
    CContainerUI::DoEvent(event);
}

SIZE CListHeaderItemUI::EstimateSize(SIZE /*szAvailable*/)
{
    if (m_cyFixed != 0) {
        return SIZE { m_cxFixed, m_cyFixed };
    }
    const LONG cyFont = m_pManager != nullptr ? m_pManager->GetDefaultFontInfo()->tm.tmHeight : 0;
    return SIZE { m_cxFixed, cyFont + 14 };
}

void CListHeaderItemUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) {
        return;
    }
    if (wcscmp(pstrName, L"dragable") == 0) {
        SetDragable(ParseBool(pstrValue));
    } else if (wcscmp(pstrName, L"sepwidth") == 0) {
        SetSepWidth(ParseInt(pstrValue));
    } else if (wcscmp(pstrName, L"align") == 0) {
        if (wcsstr(pstrValue, L"left") != nullptr) {
            m_uTextStyle &= ~(DT_CENTER | DT_RIGHT);
        }
        if (wcsstr(pstrValue, L"center") != nullptr) {
            m_uTextStyle &= ~DT_RIGHT;
            m_uTextStyle |= DT_CENTER;
        }
        if (wcsstr(pstrValue, L"right") != nullptr) {
            m_uTextStyle &= ~DT_CENTER;
            m_uTextStyle |= DT_RIGHT;
        }
    } else if (wcscmp(pstrName, L"endellipsis") == 0) {
        if (ParseBool(pstrValue)) {
            m_uTextStyle |= DT_END_ELLIPSIS;
        } else {
            m_uTextStyle &= ~DT_END_ELLIPSIS;
        }
    } else if (wcscmp(pstrName, L"font") == 0) {
        SetFont(ParseInt(pstrValue));
    } else if (wcscmp(pstrName, L"textcolor") == 0) {
        SetTextColor(ParseColor(pstrValue, false));
    } else if (wcscmp(pstrName, L"textpadding") == 0) {
        SetTextPadding(ParseRect(pstrValue));
    } else if (wcscmp(pstrName, L"showhtml") == 0) {
        SetShowHtml(ParseBool(pstrValue));
    } else if (wcscmp(pstrName, L"normalimage") == 0) {
        SetNormalImage(pstrValue);
    } else if (wcscmp(pstrName, L"hotimage") == 0) {
        SetHotImage(pstrValue);
    } else if (wcscmp(pstrName, L"pushedimage") == 0) {
        SetPushedImage(pstrValue);
    } else if (wcscmp(pstrName, L"focusedimage") == 0) {
        SetFocusedImage(pstrValue);
    } else if (wcscmp(pstrName, L"sepimage") == 0) {
        SetSepImage(pstrValue);
    } else {
        CContainerUI::SetAttribute(pstrName, pstrValue);
    }
}

void CListHeaderItemUI::PaintStatusImage(HDC hDC)
{
    if (IsFocused()) {
        m_uButtonState |= STATE_FOCUSED;
    } else {
        m_uButtonState &= ~STATE_FOCUSED;
    }

    CStdString* pState = nullptr;
    if ((m_uButtonState & STATE_PUSHED) != 0) {
        pState = &m_sPushedImage;
    } else if ((m_uButtonState & STATE_HOT) != 0) {
        pState = &m_sHotImage;
    } else if ((m_uButtonState & STATE_FOCUSED) != 0) {
        pState = &m_sFocusedImage;
    }
    if (pState != nullptr && !pState->IsEmpty()) {
        DrawOrDrop(*this, hDC, *pState);
    } else {
        DrawOrDrop(*this, hDC, m_sNormalImage);
    }

    if (!m_sSepImage.IsEmpty()) {
        RECT rcThumb = GetThumbRect();
        rcThumb.left -= m_rcItem.left;
        rcThumb.top -= m_rcItem.top;
        rcThumb.right -= m_rcItem.left;
        rcThumb.bottom -= m_rcItem.top;
        m_sSepImageModify.SmallFormat(L"dest='%d,%d,%d,%d'", static_cast<int>(rcThumb.left),
            static_cast<int>(rcThumb.top), static_cast<int>(rcThumb.right), static_cast<int>(rcThumb.bottom));
        DrawOrDrop(*this, hDC, m_sSepImage, m_sSepImageModify.GetData());
    }
}

void CListHeaderItemUI::PaintText(HDC hDC)
{
    if (m_pManager == nullptr) {
        return;
    }
    if (m_dwTextColor == 0) {
        m_dwTextColor = m_pManager->GetDefaultFontColor();
    }
    if (m_sText.IsEmpty()) {
        return;
    }
    RECT rcText = RectMath::Pad(m_rcItem, m_rcTextPadding);
    if (m_bShowHtml) {
        int nLinks = 0;
        CRenderEngine::DrawHtmlText(hDC, m_pManager, rcText, m_sText.GetData(), m_dwTextColor, nullptr, nullptr,
            nLinks, DT_SINGLELINE | m_uTextStyle);
    } else {
        CRenderEngine::DrawText(hDC, m_pManager, rcText, m_sText.GetData(), m_dwTextColor, m_iFont,
            DT_SINGLELINE | m_uTextStyle);
    }
}

}  // namespace Veneer
