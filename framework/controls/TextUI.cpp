#include "controls/TextUI.h"

#include <algorithm>
#include <cwchar>

#include "engine/GdiHolders.h"
#include "engine/PaintManagerUI.h"
#include "engine/RenderEngine.h"

namespace Veneer {

CTextUI::CTextUI()
{
    m_uTextStyle = DT_WORDBREAK;
    m_rcTextPadding = RECT { 2, 0, 2, 0 };
}

LPCWSTR CTextUI::GetClass() const
{
    return L"TextUI";
}

LPVOID CTextUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"Text") == 0) return static_cast<CTextUI*>(this);
    return CLabelUI::GetInterface(pstrName);
}

UINT CTextUI::GetControlFlags() const
{
    return (IsEnabled() && m_nLinks > 0) ? FLAG_SETCURSOR : 0;
}

CStdString* CTextUI::GetLinkContent(int iIndex)
{
    if (iIndex < 0 || iIndex >= m_nLinks) return nullptr;
    return &m_sLinks[iIndex];
}

int CTextUI::HitTestLink(POINT pt) const
{
    for (int i = 0; i < m_nLinks; ++i) {
        if (::PtInRect(&m_rcLinks[i], pt)) return i;
    }
    return -1;
}

void CTextUI::DoEvent(TEventUI& event)
{
    if (HandOnMouseEvent(event)) return;

    if (event.Type == EVENT_SETCURSOR) {
        if (HitTestLink(event.ptMouse) >= 0) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
            return;
        }
    }
    if (event.Type == EVENT_BUTTONDOWN || (event.Type == EVENT_DBLCLICK && IsEnabled())) {
        if (HitTestLink(event.ptMouse) >= 0) {
            Invalidate();
            return;
        }
    }
    if (event.Type == EVENT_BUTTONUP && IsEnabled()) {
        const int link = HitTestLink(event.ptMouse);
        if (link >= 0) {
            if (m_pManager != nullptr) m_pManager->SendNotify(this, L"link", static_cast<WPARAM>(link));
            return;
        }
    }
    if (event.Type == EVENT_CONTEXTMENU) return;
    if (event.Type == EVENT_MOUSEMOVE && IsEnabled() && m_nLinks > 0) {
        const int hover = HitTestLink(event.ptMouse);
        if (hover != m_nHoverLink) {
            m_nHoverLink = hover;
            Invalidate();
            return;
        }
    }
    if (event.Type == EVENT_MOUSELEAVE && IsEnabled() && m_nLinks > 0 && m_nHoverLink != -1) {
        m_nHoverLink = -1;
        Invalidate();
        return;
    }
    CLabelUI::DoEvent(event);
}

SIZE CTextUI::EstimateSize(SIZE szAvailable)
{
    if (m_pManager == nullptr) return CControlUI::EstimateSize(szAvailable);
    const int width = std::max(szAvailable.cx, static_cast<LONG>(m_cxFixed));
    RECT rcText { m_rcTextPadding.left, 0, width - m_rcTextPadding.right, 9999 };
    const UINT style = DT_CALCRECT | m_uTextStyle;
    // Before its window exists the manager has no paint context; measuring
    // on nothing would report the whole 9999-pixel probe as the height.
    CMemDCHolder scratch;
    HDC hDC = m_pManager->GetPaintDC();
    if (hDC == nullptr) {
        scratch = CMemDCHolder(nullptr);
        hDC = scratch.Get();
    }
    if (m_bShowHtml) {
        int nLinks = 0;
        CRenderEngine::DrawHtmlText(hDC, m_pManager, rcText, m_sText, m_dwTextColor, nullptr, nullptr, nLinks, style);
    } else {
        CRenderEngine::DrawText(hDC, m_pManager, rcText, m_sText, m_dwTextColor, m_iFont, style);
    }
    SIZE cXY { rcText.right - rcText.left + m_rcTextPadding.left + m_rcTextPadding.right,
               rcText.bottom - rcText.top + m_rcTextPadding.top + m_rcTextPadding.bottom };
    if (m_cyFixed != 0) cXY.cy = m_cyFixed;
    return cXY;
}

void CTextUI::PaintText(HDC hDC)
{
    // Links describe what was painted last; plain or empty text has none,
    // so stale rectangles from earlier rich text must not stay clickable.
    if (m_sText.IsEmpty() || m_pManager == nullptr) {
        m_nLinks = 0;
        m_nHoverLink = -1;
        return;
    }
    ResolveDefaultColors();
    RECT rc = GetTextRect();
    const DWORD color = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    if (m_bShowHtml) {
        m_nLinks = MAX_LINK;
        CRenderEngine::DrawHtmlText(hDC, m_pManager, rc, m_sText, color, m_rcLinks, m_sLinks, m_nLinks,
                                    m_uTextStyle);
        m_nLinks = std::min(std::max(m_nLinks, 0), static_cast<int>(MAX_LINK));
    } else {
        m_nLinks = 0;
        m_nHoverLink = -1;
        CRenderEngine::DrawText(hDC, m_pManager, rc, m_sText, color, m_iFont, m_uTextStyle);
    }
    if (m_nHoverLink >= m_nLinks) m_nHoverLink = -1;
}

}  // namespace Veneer
