#pragma once
// Base of the one-line list items.
#include "controls/ListItemUI.h"

namespace Veneer {

class CListElementUI : public CListItemUI<CControlUI> {
public:
    CListElementUI() = default;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
};

}  // namespace Veneer
