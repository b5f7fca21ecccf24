#pragma once
#include "foundation/VeneerApi.h"
// An option with check-box vocabulary: without a group it toggles.
#include <windows.h>

#include "controls/OptionUI.h"

namespace Veneer {

class VENEER_API CCheckBoxUI : public COptionUI {
public:
    LPCWSTR GetClass() const override;
    // The caption test spares buttons, options and texts by their own
    // classes only: a check box in a caption area drags the window.
    bool TakesCaptionClick() const override { return false; }

    void SetCheck(bool bCheck);
    bool GetCheck() const;
};

}  // namespace Veneer
