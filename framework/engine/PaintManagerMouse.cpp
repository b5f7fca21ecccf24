// Mouse messages of the paint manager: hot tracking, hover and tooltip,
// buttons with capture, context menu, wheel and cursor.
#include "engine/PaintManagerUI.h"

#include "engine/ControlUI.h"
#include "engine/PaintManagerEvents.h"

namespace Veneer {

bool CPaintManagerUI::OnMouseHover(TRoutedMessage& msg)
{
    m_bMouseTracking = false;
    POINT pt = PaintEvents::PointFromLParam(msg.lParam);
    CControlUI* pHover = FindControl(pt);
    if (!pHover) return false;
    if (m_pEventHover) {
        TEventUI event = PaintEvents::Make(EVENT_MOUSEHOVER, m_pEventHover, pt);
        m_pEventHover->Event(event);
        if (msg.Gone()) return true;
    }
    msg.lRes = 0;
    if (!OwnsControl(pHover)) return true;
    m_sToolTipText = pHover->GetToolTip();
    if (m_sToolTipText.IsEmpty()) return true;
    ShowToolTip(pHover);
    return true;
}

void CPaintManagerUI::ShowToolTip(CControlUI* pHover)
{
    m_ToolTip = TOOLINFOW {};
    m_ToolTip.cbSize = TTTOOLINFOW_V2_SIZE;
    m_ToolTip.uFlags = TTF_IDISHWND;
    m_ToolTip.hwnd = m_hWndPaint;
    m_ToolTip.uId = reinterpret_cast<UINT_PTR>(m_hWndPaint);
    m_ToolTip.hinst = m_hInstance;
    m_ToolTip.lpszText = const_cast<LPWSTR>(m_sToolTipText.GetData());
    m_ToolTip.rect = pHover->GetPos();
    if (!m_hwndTooltip) {
        m_hwndTooltip = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWndPaint, nullptr, m_hInstance,
            nullptr);
        if (m_hwndTooltip) ::SendMessageW(m_hwndTooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
    }
    if (!m_hwndTooltip) return;
    ::SendMessageW(m_hwndTooltip, TTM_SETMAXTIPWIDTH, 0, pHover->GetToolTipWidth());
    ::SendMessageW(m_hwndTooltip, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
    ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&m_ToolTip));
}

void CPaintManagerUI::HideToolTip()
{
    if (m_hwndTooltip) ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_ToolTip));
}

bool CPaintManagerUI::OnMouseLeave(TRoutedMessage& msg)
{
    HideToolTip();
    if (m_bMouseTracking) ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, static_cast<LPARAM>(-1));
    if (msg.Gone()) return true;
    m_bMouseTracking = false;
    return false;
}

void CPaintManagerUI::TrackMouseOnce()
{
    if (m_bMouseTracking) return;
    TRACKMOUSEEVENT tme {};
    tme.cbSize = sizeof(TRACKMOUSEEVENT);
    tme.dwFlags = TME_HOVER | TME_LEAVE;
    tme.hwndTrack = m_hWndPaint;
    tme.dwHoverTime = m_hwndTooltip
        ? static_cast<DWORD>(::SendMessageW(m_hwndTooltip, TTM_GETDELAYTIME, TTDT_INITIAL, 0))
        : 400;
    ::_TrackMouseEvent(&tme);
    m_bMouseTracking = true;
}

bool CPaintManagerUI::OnMouseMove(TRoutedMessage& msg)
{
    TrackMouseOnce();
    POINT pt = PaintEvents::PointFromLParam(msg.lParam);
    m_ptLastMousePos = pt;
    CControlUI* pNewHover = FindControl(pt);
    if (pNewHover && !OwnsControl(pNewHover)) return false;
    TEventUI event = PaintEvents::Make(EVENT_MOUSELEAVE, nullptr, pt);
    if (pNewHover != m_pEventHover && m_pEventHover) {
        CControlUI* pOld = m_pEventHover;
        event.pSender = pOld;
        pOld->Event(event);
        if (msg.Gone()) return true;
        m_pEventHover = nullptr;
        HideToolTip();
    }
    if (pNewHover && !OwnsControl(pNewHover)) pNewHover = nullptr;  // removed by the leave handler
    if (pNewHover != m_pEventHover && pNewHover) {
        event.Type = EVENT_MOUSEENTER;
        event.pSender = pNewHover;
        m_pEventHover = pNewHover;
        pNewHover->Event(event);
        if (msg.Gone()) return true;
    }
    if (pNewHover && !OwnsControl(pNewHover)) pNewHover = nullptr;
    event.Type = EVENT_MOUSEMOVE;
    CControlUI* pTarget = m_pEventClick ? m_pEventClick : pNewHover;
    if (!pTarget) return false;
    event.pSender = pTarget;
    pTarget->Event(event);
    return msg.Gone();
}

bool CPaintManagerUI::OnLButtonDown(TRoutedMessage& msg)
{
    ::SetFocus(m_hWndPaint);
    POINT pt = PaintEvents::PointFromLParam(msg.lParam);
    m_ptLastMousePos = pt;
    CControlUI* pControl = FindControl(pt);
    if (!OwnsControl(pControl)) return false;
    m_pEventClick = pControl;
    pControl->SetFocus();
    if (msg.Gone()) return true;
    if (m_pEventClick != pControl) return false;  // removed while taking the focus
    SetCapture();
    TEventUI event = PaintEvents::MouseButton(EVENT_BUTTONDOWN, pControl, pt, msg.wParam, msg.lParam);
    pControl->Event(event);
    return msg.Gone();
}

bool CPaintManagerUI::OnLButtonDblClk(TRoutedMessage& msg)
{
    ::SetFocus(m_hWndPaint);
    POINT pt = PaintEvents::PointFromLParam(msg.lParam);
    m_ptLastMousePos = pt;
    CControlUI* pControl = FindControl(pt);
    if (!OwnsControl(pControl)) return false;
    SetCapture();
    TEventUI event = PaintEvents::MouseButton(EVENT_DBLCLICK, pControl, pt, msg.wParam, msg.lParam);
    pControl->Event(event);
    if (msg.Gone()) return true;
    ClickedOrReleased(pControl);
    return false;
}

// After a press: the control keeps the mouse unless the press removed it.
void CPaintManagerUI::ClickedOrReleased(CControlUI* pControl)
{
    if (OwnsControl(pControl)) {
        m_pEventClick = pControl;
    } else if (m_bMouseCapture) {
        ReleaseCapture();
    }
}

bool CPaintManagerUI::OnLButtonUp(TRoutedMessage& msg)
{
    POINT pt = PaintEvents::PointFromLParam(msg.lParam);
    m_ptLastMousePos = pt;
    if (!m_pEventClick) return false;
    ReleaseCapture();
    CControlUI* pControl = m_pEventClick;
    TEventUI event = PaintEvents::MouseButton(EVENT_BUTTONUP, pControl, pt, msg.wParam, msg.lParam);
    pControl->Event(event);
    if (msg.Gone()) return true;
    m_pEventClick = nullptr;
    return false;
}

bool CPaintManagerUI::OnRButtonDown(TRoutedMessage& msg)
{
    ::SetFocus(m_hWndPaint);
    POINT pt = PaintEvents::PointFromLParam(msg.lParam);
    m_ptLastMousePos = pt;
    CControlUI* pControl = FindControl(pt);
    if (!OwnsControl(pControl)) return false;
    pControl->SetFocus();
    if (msg.Gone()) return true;
    if (!OwnsControl(pControl)) return false;
    SetCapture();
    TEventUI event = PaintEvents::MouseButton(EVENT_RBUTTONDOWN, pControl, pt, msg.wParam, msg.lParam);
    pControl->Event(event);
    if (msg.Gone()) return true;
    ClickedOrReleased(pControl);
    return false;
}

bool CPaintManagerUI::OnContextMenu(TRoutedMessage& msg)
{
    POINT pt = PaintEvents::PointFromLParam(msg.lParam);
    ::ScreenToClient(m_hWndPaint, &pt);
    m_ptLastMousePos = pt;
    if (!m_pEventClick) return false;
    ReleaseCapture();
    CControlUI* pControl = m_pEventClick;
    TEventUI event = PaintEvents::Make(EVENT_CONTEXTMENU, pControl, pt);
    event.wKeyState = static_cast<WORD>(msg.wParam);
    event.lParam = reinterpret_cast<LPARAM>(pControl);
    pControl->Event(event);
    if (msg.Gone()) return true;
    m_pEventClick = nullptr;
    return false;
}

bool CPaintManagerUI::OnMouseWheel(TRoutedMessage& msg)
{
    POINT pt = PaintEvents::PointFromLParam(msg.lParam);
    ::ScreenToClient(m_hWndPaint, &pt);
    m_ptLastMousePos = pt;
    CControlUI* pControl = FindControl(pt);
    if (!OwnsControl(pControl)) return false;
    int zDelta = static_cast<short>(HIWORD(msg.wParam));
    TEventUI event = PaintEvents::Make(EVENT_SCROLLWHEEL, pControl, pt);
    event.wParam = zDelta < 0 ? SB_LINEDOWN : SB_LINEUP;
    event.lParam = msg.lParam;
    event.wKeyState = MapKeyState();
    pControl->Event(event);
    if (msg.Gone()) return true;
    // Hot tracking follows the scrolled content.
    ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, MAKELPARAM(m_ptLastMousePos.x, m_ptLastMousePos.y));
    return msg.Gone();
}

bool CPaintManagerUI::OnSetCursor(TRoutedMessage& msg)
{
    if (LOWORD(msg.lParam) != HTCLIENT) return false;
    if (m_bMouseCapture) {
        msg.lRes = TRUE;
        return true;
    }
    POINT pt;
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWndPaint, &pt);
    CControlUI* pControl = FindControl(pt);
    if (!OwnsControl(pControl)) return false;
    if ((pControl->GetControlFlags() & FLAG_SETCURSOR) == 0) return false;
    TEventUI event = PaintEvents::Make(EVENT_SETCURSOR, pControl, pt);
    event.wParam = msg.wParam;
    event.lParam = msg.lParam;
    event.wKeyState = MapKeyState();
    pControl->Event(event);
    if (msg.Gone()) return true;
    msg.lRes = TRUE;
    return true;
}

}  // namespace Veneer
