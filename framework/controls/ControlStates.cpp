#include "controls/ControlStates.h"

#include "engine/PaintManagerUI.h"

namespace Veneer {

void RefreshFocusAndEnabled(const CControlUI& control, UINT& uState)
{
    if (control.IsFocused()) {
        uState |= STATE_FOCUSED;
    } else {
        uState &= ~STATE_FOCUSED;
    }
    if (!control.IsEnabled()) {
        uState |= STATE_DISABLED;
    } else {
        uState &= ~STATE_DISABLED;
    }
}

bool TrackHot(CControlUI& control, UINT& uState, const TEventUI& event)
{
    if (event.Type != EVENT_MOUSEENTER && event.Type != EVENT_MOUSELEAVE) {
        return false;
    }
    if (control.IsEnabled()) {
        if (event.Type == EVENT_MOUSEENTER) {
            uState |= STATE_HOT;
        } else {
            uState &= ~STATE_HOT;
        }
        control.Invalidate();
    }
    return true;
}

bool DrawOrDrop(CControlUI& control, HDC hDC, CStdString& sImage, LPCWSTR pStrModify)
{
    if (sImage.IsEmpty()) {
        return false;
    }
    if (control.DrawImage(hDC, sImage.GetData(), pStrModify)) {
        return true;
    }
    sImage.Empty();
    return false;
}

}  // namespace Veneer
