#include "controls/ListContainerElementUI.h"

#include <cwchar>

#include "controls/ListItemPaint.h"
#include "engine/PaintManagerUI.h"
#include "engine/RenderEngine.h"
#include "foundation/RectMath.h"

namespace Veneer {

LPCWSTR CListContainerElementUI::GetClass() const { return L"ListContainerElementUI"; }

LPVOID CListContainerElementUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"ListContainerElement") == 0) {
        return static_cast<CListContainerElementUI*>(this);
    }
    return CListItemUI<CContainerUI>::GetInterface(pstrName);
}

void CListContainerElementUI::DoEvent(TEventUI& event)
{
    if (HandOnMouseEvent(event) || DoItemMouseEvent(event)) return;
    CListItemUI<CContainerUI>::DoEvent(event);
}

void CListContainerElementUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) {
        return;
    }
    DrawItemBk(hDC, m_rcItem);
    CContainerUI::DoPaint(hDC, rcPaint);
}

void CListContainerElementUI::DrawItemText(HDC hDC, const RECT& rcItem)
{
    if (m_sText.IsEmpty() || m_pOwner == nullptr || m_pManager == nullptr) {
        return;
    }
    const TListInfoUI* pInfo = m_pOwner->GetListInfo();
    const DWORD dwTextColor = ListItemTextColor(this, pInfo, m_bSelected, m_uButtonState);
    RECT rcText = RectMath::Pad(rcItem, pInfo->rcTextPadding);
    CRenderEngine::DrawText(hDC, m_pManager, rcText, m_sText.GetData(), dwTextColor, pInfo->nFont,
        DT_SINGLELINE | pInfo->uTextStyle);
}

}  // namespace Veneer
