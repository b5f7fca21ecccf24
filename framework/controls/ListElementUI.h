#pragma once
#include "foundation/VeneerApi.h"
// Base of the one-line list items.
#include "controls/ListItemUI.h"

namespace Veneer {

class VENEER_API CListElementUI : public CListItemUI<CControlUI> {
public:
    CListElementUI() = default;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
};

}  // namespace Veneer
