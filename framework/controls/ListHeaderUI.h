#pragma once
#include "foundation/VeneerApi.h"
// The column header of a list: a horizontal layout of header items.
#include "controls/HorizontalLayoutUI.h"

namespace Veneer {

class VENEER_API CListHeaderUI : public CHorizontalLayoutUI {
public:
    CListHeaderUI() = default;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    SIZE EstimateSize(SIZE szAvailable) override;
};

}  // namespace Veneer
