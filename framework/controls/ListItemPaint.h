#pragma once
// Painting shared by the plain and the container list items.
#include "controls/ListUI.h"
#include "engine/PaintManagerUI.h"

namespace Veneer {

// Background of a list item in the owner's style (colour, state image,
// own or shared background image, separating line).
void PaintListItemBk(CControlUI* pItem, HDC hDC, TListInfoUI* pInfo, int iIndex, bool bSelected,
    UINT uButtonState);

// Text colour of an item in its current state.
DWORD ListItemTextColor(const CControlUI* pItem, const TListInfoUI* pInfo, bool bSelected, UINT uButtonState);

}  // namespace Veneer

namespace Veneer {

// Control flags of a list item: it wants the Return key.
constexpr UINT kListItemFlags = 0x00000004;

}  // namespace Veneer
