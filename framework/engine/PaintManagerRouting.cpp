// The paint manager's message handler: queued notifications, message
// filters, then one small handler a message, found in the routing table.
#include "engine/PaintManagerUI.h"

#include "engine/ControlUI.h"
#include "engine/PaintManagerEvents.h"

namespace Veneer {

CPaintManagerUI::MessageRoute CPaintManagerUI::FindRoute(UINT uMsg)
{
    struct TRoute {
        UINT uMsg;
        MessageRoute handler;
    };
    static const TRoute kRoutes[] = {
        { WM_VENEER_DELAYEDCLEANUP, &CPaintManagerUI::OnDelayedCleanup },
        { WM_CLOSE, &CPaintManagerUI::OnClose },
        { WM_ERASEBKGND, &CPaintManagerUI::OnEraseBackground },
        { WM_PAINT, &CPaintManagerUI::OnPaint },
        { WM_PRINTCLIENT, &CPaintManagerUI::OnPrintClient },
        { WM_GETMINMAXINFO, &CPaintManagerUI::OnGetMinMaxInfo },
        { WM_SIZE, &CPaintManagerUI::OnSize },
        { WM_TIMER, &CPaintManagerUI::OnTimer },
        { WM_MOUSEHOVER, &CPaintManagerUI::OnMouseHover },
        { WM_MOUSELEAVE, &CPaintManagerUI::OnMouseLeave },
        { WM_MOUSEMOVE, &CPaintManagerUI::OnMouseMove },
        { WM_LBUTTONDOWN, &CPaintManagerUI::OnLButtonDown },
        { WM_LBUTTONDBLCLK, &CPaintManagerUI::OnLButtonDblClk },
        { WM_LBUTTONUP, &CPaintManagerUI::OnLButtonUp },
        { WM_RBUTTONDOWN, &CPaintManagerUI::OnRButtonDown },
        { WM_CONTEXTMENU, &CPaintManagerUI::OnContextMenu },
        { WM_MOUSEWHEEL, &CPaintManagerUI::OnMouseWheel },
        { WM_SETCURSOR, &CPaintManagerUI::OnSetCursor },
        { WM_KEYDOWN, &CPaintManagerUI::OnKeyDown },
        { WM_KEYUP, &CPaintManagerUI::OnKeyUp },
        { WM_CHAR, &CPaintManagerUI::OnChar },
        { WM_NOTIFY, &CPaintManagerUI::OnNotify },
        { WM_COMMAND, &CPaintManagerUI::OnReflectToChild },
        { WM_CTLCOLOREDIT, &CPaintManagerUI::OnReflectToChild },
        { WM_CTLCOLORSTATIC, &CPaintManagerUI::OnReflectToChild },
    };
    for (const TRoute& route : kRoutes) {
        if (route.uMsg == uMsg) return route.handler;
    }
    return nullptr;
}

bool CPaintManagerUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    if (!m_hWndPaint) return false;
    TAliveToken token(this);
    // A manager destroyed by a handler reports the message as handled, so
    // that its window object (destroyed with it) is not used any more.
    return RouteMessage(uMsg, wParam, lParam, lRes, token) || !token.bAlive;
}

bool CPaintManagerUI::RouteMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes, const TAliveToken& token)
{
    if (!DeliverQueuedNotifications()) return true;

    for (int i = 0; i < m_aMessageFilters.GetSize(); ++i) {
        bool bHandled = false;
        LRESULT lResult =
            static_cast<IMessageFilterUI*>(m_aMessageFilters[i])->MessageHandler(uMsg, wParam, lParam, bHandled);
        if (!token.bAlive) return true;
        if (bHandled) {
            lRes = lResult;
            return true;
        }
    }

    MessageRoute route = FindRoute(uMsg);
    TRoutedMessage msg { uMsg, wParam, lParam, lRes, token };
    if (route && (this->*route)(msg)) return true;

    if (!DeliverQueuedNotifications()) return true;
    return false;
}

bool CPaintManagerUI::OnDelayedCleanup(TRoutedMessage& /*msg*/)
{
    CStdPtrArray doomed(m_aDelayedCleanup);
    m_aDelayedCleanup.Empty();
    for (int i = 0; i < doomed.GetSize(); ++i) delete static_cast<CControlUI*>(doomed[i]);
    return false;
}

bool CPaintManagerUI::OnClose(TRoutedMessage& msg)
{
    TEventUI event = PaintEvents::Make(EVENT_MOUSELEAVE, m_pEventHover, m_ptLastMousePos);
    if (m_pEventHover) {
        m_pEventHover->Event(event);
        if (msg.Gone()) return true;
    }
    if (m_pEventClick) {
        event.Type = EVENT_BUTTONUP;
        event.pSender = m_pEventClick;
        m_pEventClick->Event(event);
        if (msg.Gone()) return true;
    }
    m_pEventHover = nullptr;
    m_pEventClick = nullptr;
    m_pEventKey = nullptr;
    if (m_bMouseCapture) ReleaseCapture();
    SetFocus(nullptr);
    if (msg.Gone()) return true;
    HWND hwndOwner = ::GetWindow(m_hWndPaint, GW_OWNER);
    if (hwndOwner) ::SetFocus(hwndOwner);
    return false;
}

bool CPaintManagerUI::OnEraseBackground(TRoutedMessage& msg)
{
    msg.lRes = 1;
    return true;
}

bool CPaintManagerUI::OnPaint(TRoutedMessage& msg)
{
    PaintWindow();
    if (msg.Gone()) return true;
    msg.lRes = 0;
    return true;
}

bool CPaintManagerUI::OnPrintClient(TRoutedMessage& msg)
{
    if (!m_pRoot) return false;
    RECT rcClient;
    ::GetClientRect(m_hWndPaint, &rcClient);
    HDC hDC = reinterpret_cast<HDC>(msg.wParam);
    int save = ::SaveDC(hDC);
    m_pRoot->DoPaint(hDC, rcClient);
    if ((msg.lParam & PRF_CHILDREN) != 0) {
        for (HWND hWndChild = ::GetWindow(m_hWndPaint, GW_CHILD); hWndChild;
             hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
            RECT rcPos;
            ::GetWindowRect(hWndChild, &rcPos);
            ::MapWindowPoints(HWND_DESKTOP, m_hWndPaint, reinterpret_cast<LPPOINT>(&rcPos), 2);
            ::SetWindowOrgEx(hDC, -rcPos.left, -rcPos.top, nullptr);
            ::SendMessageW(hWndChild, WM_PRINT, msg.wParam, msg.lParam | PRF_NONCLIENT);
        }
    }
    ::RestoreDC(hDC, save);
    return false;
}

bool CPaintManagerUI::OnGetMinMaxInfo(TRoutedMessage& msg)
{
    LPMINMAXINFO lpMMI = reinterpret_cast<LPMINMAXINFO>(msg.lParam);
    if (!lpMMI) return false;
    if (m_szMinWindow.cx > 0) lpMMI->ptMinTrackSize.x = m_szMinWindow.cx;
    if (m_szMinWindow.cy > 0) lpMMI->ptMinTrackSize.y = m_szMinWindow.cy;
    if (m_szMaxWindow.cx > 0) lpMMI->ptMaxTrackSize.x = m_szMaxWindow.cx;
    if (m_szMaxWindow.cy > 0) lpMMI->ptMaxTrackSize.y = m_szMaxWindow.cy;
    return false;
}

bool CPaintManagerUI::OnSize(TRoutedMessage& msg)
{
    if (m_pFocus) {
        TEventUI event;
        event.Type = EVENT_WINDOWSIZE;
        event.pSender = m_pFocus;
        event.dwTimestamp = ::GetTickCount();
        m_pFocus->Event(event);
        if (msg.Gone()) return true;
    }
    if (m_pRoot) m_pRoot->NeedUpdate();
    msg.lRes = 0;
    return true;
}

bool CPaintManagerUI::OnTimer(TRoutedMessage& msg)
{
    for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        TTimerInfo* pTimer = static_cast<TTimerInfo*>(m_aTimers[i]);
        if (pTimer->hWnd != m_hWndPaint || pTimer->uWinTimer != LOWORD(msg.wParam) || pTimer->bKilled) continue;
        TEventUI event = PaintEvents::Make(EVENT_TIMER, pTimer->pSender, m_ptLastMousePos);
        event.wParam = pTimer->nLocalID;
        event.lParam = msg.lParam;
        pTimer->pSender->Event(event);
        return msg.Gone();
    }
    return false;
}

bool CPaintManagerUI::OnNotify(TRoutedMessage& msg)
{
    msg.lRes = 0;
    LPNMHDR lpNMHDR = reinterpret_cast<LPNMHDR>(msg.lParam);
    if (lpNMHDR) msg.lRes = ::SendMessageW(lpNMHDR->hwndFrom, msg.uMsg + 0x2000, msg.wParam, msg.lParam);
    return true;
}

// Commands and colour questions of native child windows go back to them.
bool CPaintManagerUI::OnReflectToChild(TRoutedMessage& msg)
{
    if (msg.lParam == 0) return false;
    HWND hWndChild = reinterpret_cast<HWND>(msg.lParam);
    msg.lRes = ::SendMessageW(hWndChild, msg.uMsg + 0x2000, msg.wParam, msg.lParam);
    return true;
}

}  // namespace Veneer
