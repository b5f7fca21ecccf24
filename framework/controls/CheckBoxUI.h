#pragma once
#include "foundation/VeneerApi.h"
// An option with check-box vocabulary: without a group it toggles.
#include <windows.h>

#include "controls/OptionUI.h"

namespace Veneer {

class VENEER_API CCheckBoxUI : public COptionUI {
public:
    LPCWSTR GetClass() const override;

    void SetCheck(bool bCheck);
    bool GetCheck() const;
};

}  // namespace Veneer
