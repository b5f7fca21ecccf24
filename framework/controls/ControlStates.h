#pragma once
// State bits and state images that several stock controls keep alike:
// the button, the combo, the edit, the list header item and the slider.
#include <windows.h>

#include "engine/ControlUI.h"
#include "foundation/StdString.h"

namespace Veneer {

// STATE_FOCUSED and STATE_DISABLED of `uState` follow the control's focus and
// enabled flags.
void RefreshFocusAndEnabled(const CControlUI& control, UINT& uState);

// Hot tracking: on an enabled control, mouse enter sets STATE_HOT and mouse
// leave clears it, and the control repaints. False for every other event.
bool TrackHot(CControlUI& control, UINT& uState, const TEventUI& event);

// Draws an image string; one that does not draw is dropped for good, so a
// broken image costs one attempt. False when nothing was drawn.
bool DrawOrDrop(CControlUI& control, HDC hDC, CStdString& sImage, LPCWSTR pStrModify = nullptr);

}  // namespace Veneer
