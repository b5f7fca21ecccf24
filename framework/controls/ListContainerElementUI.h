#pragma once
#include "foundation/VeneerApi.h"
// A list item that is itself a container of arbitrary controls.
#include "controls/ListItemUI.h"

namespace Veneer {

class VENEER_API CListContainerElementUI : public CListItemUI<CContainerUI> {
public:
    CListContainerElementUI() = default;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    void DoEvent(TEventUI& event) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;
    void DrawItemText(HDC hDC, const RECT& rcItem) override;
};

}  // namespace Veneer
