#pragma once
#include "foundation/VeneerApi.h"
// A list item showing one line of text in the list's item style.
#include "controls/ListElementUI.h"

namespace Veneer {

class VENEER_API CListLabelElementUI : public CListElementUI {
public:
    CListLabelElementUI() = default;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    void DoEvent(TEventUI& event) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;
    void DrawItemText(HDC hDC, const RECT& rcItem) override;
};

}  // namespace Veneer
