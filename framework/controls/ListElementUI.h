#pragma once
// Base of the one-line list items.
#include "controls/ListItemUI.h"

namespace Veneer {

class CListElementUI : public CListItemUI<CControlUI> {
public:
    CListElementUI() = default;

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
};

}  // namespace Veneer
