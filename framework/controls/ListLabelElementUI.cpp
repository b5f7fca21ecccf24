#include "controls/ListLabelElementUI.h"

#include <cwchar>

#include "controls/ListItemPaint.h"
#include "engine/PaintManagerUI.h"
#include "engine/RenderEngine.h"
#include "foundation/RectMath.h"

namespace Veneer {

LPCWSTR CListLabelElementUI::GetClass() const { return L"ListLabelElementUI"; }

LPVOID CListLabelElementUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"ListLabelElement") == 0) {
        return static_cast<CListLabelElementUI*>(this);
    }
    return CListElementUI::GetInterface(pstrName);
}

void CListLabelElementUI::DoEvent(TEventUI& event)
{
    if (HandOnMouseEvent(event) || DoItemMouseEvent(event)) return;
    CListElementUI::DoEvent(event);
}

SIZE CListLabelElementUI::EstimateSize(SIZE /*szAvailable*/)
{
    if (m_pOwner == nullptr) {
        return SIZE { 0, 0 };
    }
    const TListInfoUI* pInfo = m_pOwner->GetListInfo();
    SIZE cXY = { m_cxFixed, m_cyFixed };
    if (cXY.cy == 0 && m_pManager != nullptr) {
        cXY.cy = m_pManager->GetFontInfo(pInfo->nFont)->tm.tmHeight + 8;
        cXY.cy += pInfo->rcTextPadding.top + pInfo->rcTextPadding.bottom;
    }
    if (cXY.cx == 0 && m_pManager != nullptr) {
        RECT rcText = { 0, 0, 9999, cXY.cy };
        HDC hDC = m_pManager->GetPaintDC();
        const UINT uStyle = (DT_SINGLELINE | DT_CALCRECT | pInfo->uTextStyle) & ~(DT_RIGHT | DT_CENTER);
        if (hDC == nullptr || m_sText.IsEmpty()) {
            rcText.right = 0;
        } else if (pInfo->bShowHtml) {
            int nLinks = 0;
            CRenderEngine::DrawHtmlText(hDC, m_pManager, rcText, m_sText.GetData(), 0, nullptr, nullptr, nLinks,
                uStyle);
        } else {
            CRenderEngine::DrawText(hDC, m_pManager, rcText, m_sText.GetData(), 0, pInfo->nFont, uStyle);
        }
        cXY.cx = rcText.right - rcText.left + pInfo->rcTextPadding.left + pInfo->rcTextPadding.right;
    }
    return cXY;
}

void CListLabelElementUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) {
        return;
    }
    DrawItemBk(hDC, m_rcItem);
    DrawItemText(hDC, m_rcItem);
}

void CListLabelElementUI::DrawItemText(HDC hDC, const RECT& rcItem)
{
    if (m_sText.IsEmpty() || m_pOwner == nullptr || m_pManager == nullptr) {
        return;
    }
    const TListInfoUI* pInfo = m_pOwner->GetListInfo();
    const DWORD dwTextColor = ListItemTextColor(this, pInfo, m_bSelected, m_uButtonState);
    RECT rcText = RectMath::Pad(rcItem, pInfo->rcTextPadding);
    if (pInfo->bShowHtml) {
        int nLinks = 0;
        CRenderEngine::DrawHtmlText(hDC, m_pManager, rcText, m_sText.GetData(), dwTextColor, nullptr, nullptr,
            nLinks, DT_SINGLELINE | pInfo->uTextStyle);
    } else {
        CRenderEngine::DrawText(hDC, m_pManager, rcText, m_sText.GetData(), dwTextColor, pInfo->nFont,
            DT_SINGLELINE | pInfo->uTextStyle);
    }
}

}  // namespace Veneer
