#include "controls/ListHeaderUI.h"

#include <algorithm>
#include <cwchar>

#include "engine/PaintManagerUI.h"

namespace Veneer {

LPCWSTR CListHeaderUI::GetClass() const { return L"ListHeaderUI"; }

LPVOID CListHeaderUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"ListHeader") == 0) {
        return static_cast<CListHeaderUI*>(this);
    }
    return CHorizontalLayoutUI::GetInterface(pstrName);
}

SIZE CListHeaderUI::EstimateSize(SIZE szAvailable)
{
    SIZE cXY = { 0, m_cyFixed };
    if (cXY.cy == 0 && m_pManager != nullptr) {
        for (int it = 0; it < m_items.GetSize(); ++it) {
            cXY.cy = std::max<LONG>(cXY.cy, static_cast<CControlUI*>(m_items[it])->EstimateSize(szAvailable).cy);
        }
        const LONG cyMin = m_pManager->GetDefaultFontInfo()->tm.tmHeight + 6;
        cXY.cy = std::max(cXY.cy, cyMin);
    }
    for (int it = 0; it < m_items.GetSize(); ++it) {
        cXY.cx += static_cast<CControlUI*>(m_items[it])->EstimateSize(szAvailable).cx;
    }
    return cXY;
}

}  // namespace Veneer
