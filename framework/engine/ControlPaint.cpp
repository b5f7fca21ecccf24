// How a control paints itself: background colours and image, state image,
// text and border, and the appearance setters that invalidate it.
#include "engine/ControlUI.h"

#include "engine/PaintManagerUI.h"
#include "engine/RenderEngine.h"
#include "foundation/RectMath.h"

namespace Veneer {

void CControlUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!RectMath::Intersect(m_rcPaint, rcPaint, m_rcItem)) {
        return;
    }
    // An empty clip record restores nothing when it goes out of scope.
    CRenderClip roundClip;
    if (m_cxyBorderRound.cx > 0 || m_cxyBorderRound.cy > 0) {
        CRenderClip::GenerateRoundClip(hDC, m_rcPaint, m_rcItem, m_cxyBorderRound.cx,
            m_cxyBorderRound.cy, roundClip);
    }
    PaintBkColor(hDC);
    PaintBkImage(hDC);
    PaintStatusImage(hDC);
    PaintText(hDC);
    PaintBorder(hDC);
}

void CControlUI::PaintBkColor(HDC hDC)
{
    if (m_dwBackColor == 0) {
        return;
    }
    if (m_dwBackColor2 == 0) {
        const bool bOpaque = (m_dwBackColor >> 24) == 0xFF;
        CRenderEngine::DrawColor(hDC, bOpaque ? m_rcPaint : m_rcItem, GetAdjustColor(m_dwBackColor));
        return;
    }
    if (m_dwBackColor3 == 0) {
        CRenderEngine::DrawGradient(hDC, m_rcItem, GetAdjustColor(m_dwBackColor),
            GetAdjustColor(m_dwBackColor2), true, 16);
        return;
    }
    RECT rc = m_rcItem;
    rc.bottom = (m_rcItem.bottom + m_rcItem.top) / 2;
    CRenderEngine::DrawGradient(hDC, rc, GetAdjustColor(m_dwBackColor),
        GetAdjustColor(m_dwBackColor2), true, 8);
    rc.top = rc.bottom;
    rc.bottom = m_rcItem.bottom;
    CRenderEngine::DrawGradient(hDC, rc, GetAdjustColor(m_dwBackColor2),
        GetAdjustColor(m_dwBackColor3), true, 8);
}

void CControlUI::PaintBkImage(HDC hDC)
{
    if (m_sBkImage.IsEmpty()) {
        return;
    }
    if (!DrawImage(hDC, m_sBkImage.GetData())) {
        m_sBkImage.Empty();
    }
}

void CControlUI::PaintStatusImage(HDC /*hDC*/) {}
void CControlUI::PaintText(HDC /*hDC*/) {}

void CControlUI::PaintBorder(HDC hDC)
{
    if (m_dwBorderColor == 0 && m_dwFocusBorderColor == 0) {
        return;
    }
    if (m_nBorderSize > 0 && (m_cxyBorderRound.cx > 0 || m_cxyBorderRound.cy > 0)) {
        const DWORD dwColor = (IsFocused() && m_dwFocusBorderColor != 0) ? m_dwFocusBorderColor
                                                                         : m_dwBorderColor;
        CRenderEngine::DrawRoundRect(hDC, m_rcItem, m_nBorderSize, m_cxyBorderRound.cx,
            m_cxyBorderRound.cy, GetAdjustColor(dwColor));
        return;
    }
    if (IsFocused() && m_dwFocusBorderColor != 0 && m_nBorderSize > 0) {
        CRenderEngine::DrawRect(hDC, m_rcItem, m_nBorderSize, GetAdjustColor(m_dwFocusBorderColor));
        return;
    }
    if (m_nLeftBorderSize > 0 || m_nTopBorderSize > 0 || m_nRightBorderSize > 0
        || m_nBottomBorderSize > 0) {
        const DWORD dwColor = GetAdjustColor(m_dwBorderColor);
        if (m_nLeftBorderSize > 0) {
            RECT rc = { m_rcItem.left, m_rcItem.top, m_rcItem.left, m_rcItem.bottom };
            CRenderEngine::DrawLine(hDC, rc, m_nLeftBorderSize, dwColor, m_nBorderStyle);
        }
        if (m_nTopBorderSize > 0) {
            RECT rc = { m_rcItem.left, m_rcItem.top, m_rcItem.right, m_rcItem.top };
            CRenderEngine::DrawLine(hDC, rc, m_nTopBorderSize, dwColor, m_nBorderStyle);
        }
        if (m_nRightBorderSize > 0) {
            RECT rc = { m_rcItem.right, m_rcItem.top, m_rcItem.right, m_rcItem.bottom };
            CRenderEngine::DrawLine(hDC, rc, m_nRightBorderSize, dwColor, m_nBorderStyle);
        }
        if (m_nBottomBorderSize > 0) {
            RECT rc = { m_rcItem.left, m_rcItem.bottom, m_rcItem.right, m_rcItem.bottom };
            CRenderEngine::DrawLine(hDC, rc, m_nBottomBorderSize, dwColor, m_nBorderStyle);
        }
        return;
    }
    if (m_nBorderSize > 0) {
        CRenderEngine::DrawRect(hDC, m_rcItem, m_nBorderSize, GetAdjustColor(m_dwBorderColor));
    }
}

void CControlUI::DoPostPaint(HDC /*hDC*/, const RECT& /*rcPaint*/) {}

bool CControlUI::DrawImage(HDC hDC, LPCWSTR pStrImage, LPCWSTR pStrModify)
{
    return CRenderEngine::DrawImageString(hDC, m_pManager, m_rcItem, m_rcPaint, pStrImage, pStrModify);
}

DWORD CControlUI::GetAdjustColor(DWORD dwColor) const
{
    if (!m_bColorHSL) {
        return dwColor;
    }
    short H = 180;
    short S = 100;
    short L = 100;
    CPaintManagerUI::GetHSL(&H, &S, &L);
    return CRenderEngine::AdjustColor(dwColor, H, S, L);
}

void CControlUI::SetBkColor(DWORD dwBackColor)
{
    if (m_dwBackColor == dwBackColor) {
        return;
    }
    m_dwBackColor = dwBackColor;
    Invalidate();
}

void CControlUI::SetBkColor2(DWORD dwBackColor)
{
    if (m_dwBackColor2 == dwBackColor) {
        return;
    }
    m_dwBackColor2 = dwBackColor;
    Invalidate();
}

void CControlUI::SetBkColor3(DWORD dwBackColor)
{
    if (m_dwBackColor3 == dwBackColor) {
        return;
    }
    m_dwBackColor3 = dwBackColor;
    Invalidate();
}

void CControlUI::SetBkImage(LPCWSTR pStrImage)
{
    if (m_sBkImage == pStrImage) {
        return;
    }
    m_sBkImage = pStrImage;
    Invalidate();
}

void CControlUI::SetBorderColor(DWORD dwBorderColor)
{
    if (m_dwBorderColor == dwBorderColor) {
        return;
    }
    m_dwBorderColor = dwBorderColor;
    Invalidate();
}

void CControlUI::SetFocusBorderColor(DWORD dwBorderColor)
{
    if (m_dwFocusBorderColor == dwBorderColor) {
        return;
    }
    m_dwFocusBorderColor = dwBorderColor;
    Invalidate();
}

void CControlUI::SetColorHSL(bool bColorHSL)
{
    if (m_bColorHSL == bColorHSL) {
        return;
    }
    m_bColorHSL = bColorHSL;
    Invalidate();
}

void CControlUI::SetBorderSize(int nSize)
{
    if (m_nBorderSize == nSize) {
        return;
    }
    m_nBorderSize = nSize;
    Invalidate();
}

void CControlUI::SetBorderSize(RECT rc)
{
    m_nLeftBorderSize = rc.left;
    m_nTopBorderSize = rc.top;
    m_nRightBorderSize = rc.right;
    m_nBottomBorderSize = rc.bottom;
    Invalidate();
}

void CControlUI::SetLeftBorderSize(int nSize)
{
    m_nLeftBorderSize = nSize;
    Invalidate();
}

void CControlUI::SetTopBorderSize(int nSize)
{
    m_nTopBorderSize = nSize;
    Invalidate();
}

void CControlUI::SetRightBorderSize(int nSize)
{
    m_nRightBorderSize = nSize;
    Invalidate();
}

void CControlUI::SetBottomBorderSize(int nSize)
{
    m_nBottomBorderSize = nSize;
    Invalidate();
}

void CControlUI::SetBorderRound(SIZE cxyRound)
{
    m_cxyBorderRound = cxyRound;
    Invalidate();
}

void CControlUI::SetBorderStyle(int nStyle)
{
    m_nBorderStyle = nStyle;
    Invalidate();
}

}  // namespace Veneer
