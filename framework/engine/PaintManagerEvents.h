#pragma once
// Builders of the event records the paint manager hands to controls; shared
// by its routing files only.
#include <windows.h>
#include <windowsx.h>

#include "engine/PaintManagerUI.h"

namespace Veneer {
namespace PaintEvents {

inline POINT PointFromLParam(LPARAM lParam)
{
    return POINT { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) };
}

inline TEventUI Make(int type, CControlUI* pSender, POINT pt)
{
    TEventUI event;
    event.Type = type;
    event.pSender = pSender;
    event.ptMouse = pt;
    event.dwTimestamp = ::GetTickCount();
    return event;
}

// A mouse button event carries the message as it came, its key state included.
inline TEventUI MouseButton(int type, CControlUI* pSender, POINT pt, WPARAM wParam, LPARAM lParam)
{
    TEventUI event = Make(type, pSender, pt);
    event.wParam = wParam;
    event.lParam = lParam;
    event.wKeyState = static_cast<WORD>(wParam);
    return event;
}

// Key events report where the mouse was last seen and the live modifier state.
inline TEventUI Key(int type, CControlUI* pSender, WPARAM wParam, POINT ptLastMouse, WORD wKeyState)
{
    TEventUI event = Make(type, pSender, ptLastMouse);
    event.chKey = static_cast<WCHAR>(wParam);
    event.wKeyState = wKeyState;
    return event;
}

}  // namespace PaintEvents
}  // namespace Veneer
