#include "controls/ListItemPaint.h"

#include "controls/ControlStates.h"
#include "engine/RenderEngine.h"

namespace Veneer {

void PaintListItemBk(CControlUI* pItem, HDC hDC, TListInfoUI* pInfo, int iIndex, bool bSelected, UINT uButtonState)
{
    if (pInfo == nullptr) {
        return;
    }
    const bool bOddRow = pInfo->bAlternateBk && (iIndex % 2) != 0;
    DWORD iBackColor = bOddRow ? 0 : pInfo->dwBkColor;
    if ((uButtonState & STATE_HOT) != 0) {
        iBackColor = pInfo->dwHotBkColor;
    }
    if (bSelected) {
        iBackColor = pInfo->dwSelectedBkColor;
    }
    if (!pItem->IsEnabled()) {
        iBackColor = pInfo->dwDisabledBkColor;
    }
    if (iBackColor != 0) {
        CRenderEngine::DrawColor(hDC, pItem->GetPos(), pItem->GetAdjustColor(iBackColor));
    }

    if (!pItem->IsEnabled() && DrawOrDrop(*pItem, hDC, pInfo->sDisabledImage)) {
        return;
    }
    if (bSelected && DrawOrDrop(*pItem, hDC, pInfo->sSelectedImage)) {
        return;
    }
    if ((uButtonState & STATE_HOT) != 0 && DrawOrDrop(*pItem, hDC, pInfo->sHotImage)) {
        return;
    }

    const CStdString sOwnImage = pItem->GetBkImage();
    if (!sOwnImage.IsEmpty()) {
        if (!bOddRow && !pItem->DrawImage(hDC, sOwnImage.GetData())) {
            pItem->SetBkImage(L"");
        }
    } else if (DrawOrDrop(*pItem, hDC, pInfo->sBkImage)) {
        return;
    }

    if (pInfo->dwLineColor != 0) {
        const RECT& rcItem = pItem->GetPos();
        const RECT rcLine = { rcItem.left, rcItem.bottom - 1, rcItem.right, rcItem.bottom - 1 };
        CRenderEngine::DrawLine(hDC, rcLine, 1, pItem->GetAdjustColor(pInfo->dwLineColor));
    }
}

DWORD ListItemTextColor(const CControlUI* pItem, const TListInfoUI* pInfo, bool bSelected, UINT uButtonState)
{
    DWORD dwColor = pInfo->dwTextColor;
    if ((uButtonState & STATE_HOT) != 0) {
        dwColor = pInfo->dwHotTextColor;
    }
    if (bSelected) {
        dwColor = pInfo->dwSelectedTextColor;
    }
    if (!pItem->IsEnabled()) {
        dwColor = pInfo->dwDisabledTextColor;
    }
    return dwColor;
}

}  // namespace Veneer
