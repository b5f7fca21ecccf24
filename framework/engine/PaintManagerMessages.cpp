// Message routing, events, notifications, timers, focus and painting of the
// paint manager.
#include "engine/PaintManagerUI.h"

#include <windowsx.h>
#include <cwchar>

#include "engine/ControlUI.h"
#include "foundation/ValueSyntax.h"

#if __has_include("controls/RichEditUI.h")
#include "controls/RichEditUI.h"
#define VENEER_HAS_RICHEDIT 1
#endif

namespace Veneer {

namespace {

POINT PointFromLParam(LPARAM lParam)
{
    return POINT { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) };
}

struct FindTab {
    CControlUI* pFocus { nullptr };
    bool bSeenFocus { false };
    CControlUI* pFirst { nullptr };
    CControlUI* pLast { nullptr };
    CControlUI* pBefore { nullptr };  // last tab stop before the focus
    CControlUI* pAfter { nullptr };   // first tab stop after the focus
};

struct FindShortcut {
    wchar_t ch { 0 };
    bool bPickNext { false };
};

bool IsLabelClass(CControlUI* pControl)
{
    LPCWSTR cls = pControl->GetClass();
    return cls && std::wcsstr(cls, L"LabelUI") != nullptr;
}

// A mouse button event carries the message as it came, its key state included.
TEventUI MouseButtonEvent(int type, CControlUI* pSender, POINT pt, WPARAM wParam, LPARAM lParam)
{
    TEventUI event;
    event.Type = type;
    event.pSender = pSender;
    event.wParam = wParam;
    event.lParam = lParam;
    event.ptMouse = pt;
    event.wKeyState = static_cast<WORD>(wParam);
    event.dwTimestamp = ::GetTickCount();
    return event;
}

// Key events report where the mouse was last seen and the live modifier state.
TEventUI KeyEvent(int type, CControlUI* pSender, WPARAM wParam, POINT ptLastMouse, WORD wKeyState)
{
    TEventUI event;
    event.Type = type;
    event.pSender = pSender;
    event.chKey = static_cast<WCHAR>(wParam);
    event.ptMouse = ptLastMouse;
    event.wKeyState = wKeyState;
    event.dwTimestamp = ::GetTickCount();
    return event;
}

}  // namespace

// ------------------------------------------------------------- helpers ----

WORD CPaintManagerUI::MapKeyState()
{
    WORD state = 0;
    if (::GetKeyState(VK_LBUTTON) < 0) state |= MK_LBUTTON;
    if (::GetKeyState(VK_RBUTTON) < 0) state |= MK_RBUTTON;
    if (::GetKeyState(VK_SHIFT) < 0) state |= MK_SHIFT;
    if (::GetKeyState(VK_CONTROL) < 0) state |= MK_CONTROL;
    if (::GetKeyState(VK_MENU) < 0) state |= 0x20;  // alt
    return state;
}

bool CPaintManagerUI::IsInSubtree(CControlUI* pControl, CControlUI* pAncestor)
{
    if (!pAncestor) return false;
    for (CControlUI* p = pControl; p; p = p->GetParent()) {
        if (p == pAncestor) return true;
    }
    return false;
}

bool CPaintManagerUI::IsPendingDeletion(CControlUI* pControl) const
{
    if (m_aDelayedCleanup.IsEmpty()) return false;
    for (CControlUI* p = pControl; p; p = p->GetParent()) {
        if (m_aDelayedCleanup.Find(p) >= 0) return true;
    }
    return false;
}

bool CPaintManagerUI::OwnsControl(CControlUI* pControl) const
{
    return pControl && pControl->GetManager() == this && !IsPendingDeletion(pControl);
}

// A control leaving the tree (queued for deletion or being destroyed) must
// never be reached again through the references kept here.
void CPaintManagerUI::ForgetControl(CControlUI* pControl)
{
    if (!pControl) return;
    if (IsInSubtree(m_pEventKey, pControl)) m_pEventKey = nullptr;
    if (IsInSubtree(m_pEventHover, pControl)) m_pEventHover = nullptr;
    if (IsInSubtree(m_pFocus, pControl)) m_pFocus = nullptr;
    if (IsInSubtree(m_pEventClick, pControl)) {
        m_pEventClick = nullptr;
        if (m_bMouseCapture) ReleaseCapture();
    }
    for (int i = m_aPostPaintControls.GetSize() - 1; i >= 0; --i) {
        if (IsInSubtree(static_cast<CControlUI*>(m_aPostPaintControls[i]), pControl)) m_aPostPaintControls.Remove(i);
    }
    for (int i = 0; i < m_aAsyncNotify.GetSize(); ++i) {
        TNotifyUI* pMsg = static_cast<TNotifyUI*>(m_aAsyncNotify[i]);
        if (IsInSubtree(pMsg->pSender, pControl)) pMsg->pSender = nullptr;
    }
}

void CPaintManagerUI::ReapObjects(CControlUI* pControl)
{
    if (!pControl) return;
    ForgetControl(pControl);
    KillTimer(pControl);
    CStdString name = pControl->GetName();
    if (!name.IsEmpty() && m_mNameHash.Find(name.GetData()) == pControl) m_mNameHash.Remove(name.GetData());
    // Option groups and the delayed list must not keep a destroyed control.
    for (int i = m_mOptionGroup.GetSize() - 1; i >= 0; --i) {
        LPCWSTR key = m_mOptionGroup.GetAt(i);
        if (!key) continue;
        CStdPtrArray* group = static_cast<CStdPtrArray*>(m_mOptionGroup.Find(key, false));
        if (group && group->Find(pControl) >= 0) {
            CStdString groupName(key);
            RemoveOptionGroup(groupName.GetData(), pControl);
        }
    }
    int delayed = m_aDelayedCleanup.Find(pControl);
    if (delayed >= 0) m_aDelayedCleanup.Remove(delayed);
}

void CPaintManagerUI::AddDelayedCleanup(CControlUI* pControl)
{
    if (!pControl) return;
    ForgetControl(pControl);
    // Timers of the removed subtree would keep firing until the deletion.
    for (bool found = true; found;) {
        found = false;
        for (int i = 0; i < m_aTimers.GetSize(); ++i) {
            TTimerInfo* pTimer = static_cast<TTimerInfo*>(m_aTimers[i]);
            if (IsInSubtree(pTimer->pSender, pControl)) {
                KillTimer(pTimer->pSender);
                found = true;
                break;
            }
        }
    }
    pControl->SetManager(this, nullptr, false);
    if (m_aDelayedCleanup.Find(pControl) < 0) m_aDelayedCleanup.Add(pControl);
    if (m_hWndPaint) ::PostMessageW(m_hWndPaint, WM_VENEER_DELAYEDCLEANUP, 0, 0);
}

void CPaintManagerUI::SetCapture()
{
    ::SetCapture(m_hWndPaint);
    m_bMouseCapture = true;
}

void CPaintManagerUI::ReleaseCapture()
{
    ::ReleaseCapture();
    m_bMouseCapture = false;
}

// ------------------------------------------------------- notifications ----

bool CPaintManagerUI::DeliverNotify(TNotifyUI& msg)
{
    TAliveToken token(this);
    if (msg.pSender && msg.pSender->NotifyListeners) msg.pSender->NotifyListeners(&msg);
    for (int i = 0; token.bAlive && i < m_aNotifiers.GetSize(); ++i) {
        static_cast<INotifyUI*>(m_aNotifiers[i])->Notify(msg);
    }
    return token.bAlive;
}

bool CPaintManagerUI::DeliverQueuedNotifications()
{
    while (!m_aAsyncNotify.IsEmpty()) {
        TNotifyUI* pMsg = static_cast<TNotifyUI*>(m_aAsyncNotify[0]);
        m_aAsyncNotify.Remove(0);
        bool alive = DeliverNotify(*pMsg);
        delete pMsg;
        if (!alive) return false;
    }
    return true;
}

void CPaintManagerUI::SendNotify(CControlUI* pControl, LPCWSTR pstrMessage, WPARAM wParam, LPARAM lParam,
                                 bool bAsync)
{
    TNotifyUI Msg;
    Msg.pSender = pControl;
    Msg.sType = pstrMessage;
    Msg.wParam = wParam;
    Msg.lParam = lParam;
    SendNotify(Msg, bAsync);
}

void CPaintManagerUI::SendNotify(TNotifyUI& Msg, bool bAsync)
{
    Msg.ptMouse = m_ptLastMousePos;
    Msg.dwTimestamp = ::GetTickCount();
    if (m_bUsedVirtualWnd && Msg.pSender) Msg.sVirtualWnd = Msg.pSender->GetVirtualWnd();
    if (!bAsync) {
        DeliverNotify(Msg);
        return;
    }
    TNotifyUI* pMsg = new TNotifyUI;
    pMsg->sType = Msg.sType;
    pMsg->pSender = Msg.pSender;
    pMsg->wParam = Msg.wParam;
    pMsg->lParam = Msg.lParam;
    pMsg->ptMouse = Msg.ptMouse;
    pMsg->dwTimestamp = Msg.dwTimestamp;
    if (!m_aAsyncNotify.Add(pMsg)) delete pMsg;
}

namespace {

bool RemoveFirst(CStdPtrArray& list, void* item)
{
    int index = list.Find(item);
    if (index < 0) return false;
    return list.Remove(index);
}

}  // namespace

bool CPaintManagerUI::AddNotifier(INotifyUI* pNotifier) { return m_aNotifiers.Add(pNotifier); }
bool CPaintManagerUI::RemoveNotifier(INotifyUI* pNotifier) { return RemoveFirst(m_aNotifiers, pNotifier); }
bool CPaintManagerUI::AddPreMessageFilter(IMessageFilterUI* pFilter) { return m_aPreMessageFilters.Add(pFilter); }
bool CPaintManagerUI::RemovePreMessageFilter(IMessageFilterUI* pFilter)
{
    return RemoveFirst(m_aPreMessageFilters, pFilter);
}
bool CPaintManagerUI::AddMessageFilter(IMessageFilterUI* pFilter) { return m_aMessageFilters.Add(pFilter); }
bool CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* pFilter) { return RemoveFirst(m_aMessageFilters, pFilter); }
bool CPaintManagerUI::AddTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator)
{
    return m_aTranslateAccelerator.Add(pTranslateAccelerator);
}
bool CPaintManagerUI::RemoveTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator)
{
    return RemoveFirst(m_aTranslateAccelerator, pTranslateAccelerator);
}

// ------------------------------------------------------------ post-paint ----

int CPaintManagerUI::GetPostPaintCount() const { return m_aPostPaintControls.GetSize(); }
bool CPaintManagerUI::AddPostPaint(CControlUI* pControl) { return m_aPostPaintControls.Add(pControl); }
bool CPaintManagerUI::RemovePostPaint(CControlUI* pControl) { return RemoveFirst(m_aPostPaintControls, pControl); }

bool CPaintManagerUI::SetPostPaintIndex(CControlUI* pControl, int iIndex)
{
    RemovePostPaint(pControl);
    return m_aPostPaintControls.InsertAt(iIndex, pControl);
}

// -------------------------------------------------------------- timers ----

bool CPaintManagerUI::SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse)
{
    if (!pControl || !m_hWndPaint) return false;
    for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        TTimerInfo* pTimer = static_cast<TTimerInfo*>(m_aTimers[i]);
        if (pTimer->pSender != pControl || pTimer->hWnd != m_hWndPaint || pTimer->nLocalID != nTimerID) continue;
        if (!pTimer->bKilled) return false;
        if (!::SetTimer(m_hWndPaint, pTimer->uWinTimer, uElapse, nullptr)) return false;
        pTimer->bKilled = false;
        return true;
    }
    m_uTimerID = (m_uTimerID + 1) % 0xFF;
    if (!::SetTimer(m_hWndPaint, m_uTimerID, uElapse, nullptr)) return false;
    TTimerInfo* pTimer = new TTimerInfo;
    pTimer->hWnd = m_hWndPaint;
    pTimer->pSender = pControl;
    pTimer->nLocalID = nTimerID;
    pTimer->uWinTimer = m_uTimerID;
    pTimer->bKilled = false;
    if (!m_aTimers.Add(pTimer)) {
        ::KillTimer(m_hWndPaint, pTimer->uWinTimer);
        delete pTimer;
        return false;
    }
    return true;
}

bool CPaintManagerUI::KillTimer(CControlUI* pControl, UINT nTimerID)
{
    for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        TTimerInfo* pTimer = static_cast<TTimerInfo*>(m_aTimers[i]);
        if (pTimer->pSender == pControl && pTimer->hWnd == m_hWndPaint && pTimer->nLocalID == nTimerID
            && !pTimer->bKilled) {
            if (::IsWindow(m_hWndPaint)) ::KillTimer(pTimer->hWnd, pTimer->uWinTimer);
            pTimer->bKilled = true;
            return true;
        }
    }
    return false;
}

void CPaintManagerUI::KillTimer(CControlUI* pControl)
{
    for (int i = m_aTimers.GetSize() - 1; i >= 0; --i) {
        TTimerInfo* pTimer = static_cast<TTimerInfo*>(m_aTimers[i]);
        if (pTimer->pSender != pControl || pTimer->hWnd != m_hWndPaint) continue;
        if (!pTimer->bKilled && ::IsWindow(m_hWndPaint)) ::KillTimer(pTimer->hWnd, pTimer->uWinTimer);
        delete pTimer;
        m_aTimers.Remove(i);
    }
}

void CPaintManagerUI::RemoveAllTimers()
{
    for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        TTimerInfo* pTimer = static_cast<TTimerInfo*>(m_aTimers[i]);
        if (pTimer->hWnd == m_hWndPaint && !pTimer->bKilled && ::IsWindow(m_hWndPaint)) {
            ::KillTimer(pTimer->hWnd, pTimer->uWinTimer);
        }
        delete pTimer;
    }
    m_aTimers.Empty();
}

// --------------------------------------------------------------- focus ----

void CPaintManagerUI::SetFocus(CControlUI* pControl)
{
    HWND hFocusWnd = ::GetFocus();
    if (m_hWndPaint && hFocusWnd != m_hWndPaint && pControl != m_pFocus) ::SetFocus(m_hWndPaint);
    if (pControl == m_pFocus) return;
    if (m_pFocus) {
        CControlUI* pOld = m_pFocus;
        TEventUI event;
        event.Type = EVENT_KILLFOCUS;
        event.pSender = pControl;
        event.dwTimestamp = ::GetTickCount();
        pOld->Event(event);
        SendNotify(pOld, L"killfocus");
        if (m_pFocus == pOld) m_pFocus = nullptr;
    }
    if (!pControl) return;
    if (!OwnsControl(pControl) || !pControl->IsVisible() || !pControl->IsEnabled()) return;
    m_pFocus = pControl;
    TEventUI event;
    event.Type = EVENT_SETFOCUS;
    event.pSender = pControl;
    event.dwTimestamp = ::GetTickCount();
    pControl->Event(event);
    if (OwnsControl(pControl)) SendNotify(pControl, L"setfocus");
}

void CPaintManagerUI::SetFocusNeeded(CControlUI* pControl)
{
    if (m_hWndPaint) ::SetFocus(m_hWndPaint);
    if (!pControl) return;
    if (m_pFocus) {
        CControlUI* pOld = m_pFocus;
        TEventUI event;
        event.Type = EVENT_KILLFOCUS;
        event.pSender = pControl;
        event.dwTimestamp = ::GetTickCount();
        pOld->Event(event);
        SendNotify(pOld, L"killfocus");
        if (m_pFocus == pOld) m_pFocus = nullptr;
    }
    m_pFocus = nullptr;
    if (m_pRoot) {
        FindTab info;
        info.pFocus = pControl;
        m_pRoot->FindControl(FindControlFromTab, &info, FIND_VISIBLE | FIND_ENABLED | FIND_ME_FIRST);
        m_pFocus = info.pBefore;
    }
    m_bFocusNeeded = true;
    if (m_pRoot) m_pRoot->NeedUpdate();
}

CControlUI* CALLBACK CPaintManagerUI::FindControlFromTab(CControlUI* pThis, LPVOID pData)
{
    FindTab* info = static_cast<FindTab*>(pData);
    if (pThis == info->pFocus) {
        info->bSeenFocus = true;
        return nullptr;
    }
    if ((pThis->GetControlFlags() & FLAG_TABSTOP) == 0) return nullptr;
    if (!info->pFirst) info->pFirst = pThis;
    info->pLast = pThis;
    if (!info->bSeenFocus) {
        info->pBefore = pThis;
    } else if (!info->pAfter) {
        info->pAfter = pThis;
    }
    return nullptr;  // the whole tree is walked
}

bool CPaintManagerUI::SetNextTabControl(bool bForward)
{
    if (m_bUpdateNeeded && bForward) {
        m_bFocusNeeded = true;
        if (m_hWndPaint) ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
        return true;
    }
    if (m_pRoot) {
        FindTab info;
        info.pFocus = m_pFocus;
        m_pRoot->FindControl(FindControlFromTab, &info, FIND_VISIBLE | FIND_ENABLED | FIND_ME_FIRST);
        CControlUI* pPick = nullptr;
        if (bForward) {
            pPick = (info.bSeenFocus && info.pAfter) ? info.pAfter : info.pFirst;
        } else {
            pPick = (info.bSeenFocus && info.pBefore) ? info.pBefore : info.pLast;
        }
        if (pPick) SetFocus(pPick);
    }
    m_bFocusNeeded = false;
    return true;
}

// -------------------------------------------------- pre-translation ----

CControlUI* CALLBACK CPaintManagerUI::FindControlFromShortcut(CControlUI* pThis, LPVOID pData)
{
    if (!pThis->IsVisible()) return nullptr;
    FindShortcut* fs = static_cast<FindShortcut*>(pData);
    wchar_t shortcut = pThis->GetShortcut();
    if (shortcut != 0 && fs->ch == UpperChar(shortcut)) fs->bPickNext = true;
    // Labels never take the focus: the next control after them does.
    if (IsLabelClass(pThis)) return nullptr;
    return fs->bPickNext ? pThis : nullptr;
}

bool CPaintManagerUI::PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    for (int i = 0; i < m_aPreMessageFilters.GetSize(); ++i) {
        bool bHandled = false;
        LRESULT lResult = static_cast<IMessageFilterUI*>(m_aPreMessageFilters[i])
                              ->MessageHandler(uMsg, wParam, lParam, bHandled);
        if (bHandled) {
            lRes = lResult;
            return true;
        }
    }
    switch (uMsg) {
    case WM_KEYDOWN: {
        if (wParam != VK_TAB) return false;
        if (m_pFocus && m_pFocus->IsVisible() && m_pFocus->IsEnabled()) {
            LPCWSTR cls = m_pFocus->GetClass();
            if (cls && std::wcsstr(cls, L"RichEditUI") != nullptr) {
#ifdef VENEER_HAS_RICHEDIT
                CRichEditUI* pRichEdit = static_cast<CRichEditUI*>(m_pFocus->GetInterface(L"RichEdit"));
                if (pRichEdit && pRichEdit->IsWantTab()) return false;
#endif
            }
        }
        SetNextTabControl(::GetKeyState(VK_SHIFT) >= 0);
        return true;
    }
    case WM_SYSCHAR: {
        if (!m_pRoot) return false;
        FindShortcut fs;
        fs.ch = UpperChar(static_cast<wchar_t>(wParam));
        CControlUI* pControl = m_pRoot->FindControl(FindControlFromShortcut, &fs,
                                                    FIND_ENABLED | FIND_ME_FIRST | FIND_TOP_FIRST);
        if (!pControl) return false;
        pControl->SetFocus();
        if (OwnsControl(pControl)) pControl->Activate();
        return true;
    }
    case WM_SYSKEYDOWN: {
        if (m_pFocus) {
            TEventUI event = KeyEvent(EVENT_SYSKEY, m_pFocus, wParam, m_ptLastMousePos, MapKeyState());
            m_pFocus->Event(event);
        }
        return false;
    }
    default:
        return false;
    }
}

bool CPaintManagerUI::TranslateAccelerator(LPMSG pMsg)
{
    for (int i = 0; i < m_aTranslateAccelerator.GetSize(); ++i) {
        LRESULT lResult =
            static_cast<ITranslateAccelerator*>(m_aTranslateAccelerator[i])->TranslateAccelerator(pMsg);
        if (lResult == 0) return true;
    }
    return false;
}

bool CPaintManagerUI::TranslateMessage(const LPMSG pMsg)
{
    if (!pMsg) return false;
    LONG_PTR style = ::GetWindowLongPtrW(pMsg->hwnd, GWL_STYLE);
    LRESULT lRes = 0;
    if ((style & WS_CHILD) != 0) {
        HWND hWndParent = ::GetParent(pMsg->hwnd);
        for (int i = m_aPreMessages.GetSize() - 1; i >= 0; --i) {
            if (i >= m_aPreMessages.GetSize()) continue;
            CPaintManagerUI* pT = static_cast<CPaintManagerUI*>(m_aPreMessages[i]);
            for (HWND hTempParent = hWndParent; hTempParent; hTempParent = ::GetParent(hTempParent)) {
                if (pMsg->hwnd == pT->GetPaintWindow() || hTempParent == pT->GetPaintWindow()) {
                    if (pT->TranslateAccelerator(pMsg)) return true;
                    pT->PreMessageHandler(pMsg->message, pMsg->wParam, pMsg->lParam, lRes);
                }
            }
        }
        return false;
    }
    for (int i = 0; i < m_aPreMessages.GetSize(); ++i) {
        CPaintManagerUI* pT = static_cast<CPaintManagerUI*>(m_aPreMessages[i]);
        if (pMsg->hwnd != pT->GetPaintWindow()) continue;
        if (pT->TranslateAccelerator(pMsg)) return true;
        return pT->PreMessageHandler(pMsg->message, pMsg->wParam, pMsg->lParam, lRes);
    }
    return false;
}

void CPaintManagerUI::MessageLoop()
{
    MSG msg {};
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        try {
            if (CPaintManagerUI::TranslateMessage(&msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        } catch (...) {
            // A failure in one message must not end the program's loop.
        }
    }
}

// ------------------------------------------------------ message handler ----

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

    switch (uMsg) {
    case WM_VENEER_DELAYEDCLEANUP: {
        CStdPtrArray doomed(m_aDelayedCleanup);
        m_aDelayedCleanup.Empty();
        for (int i = 0; i < doomed.GetSize(); ++i) delete static_cast<CControlUI*>(doomed[i]);
        break;
    }
    case WM_CLOSE: {
        TEventUI event;
        event.ptMouse = m_ptLastMousePos;
        event.dwTimestamp = ::GetTickCount();
        if (m_pEventHover) {
            event.Type = EVENT_MOUSELEAVE;
            event.pSender = m_pEventHover;
            m_pEventHover->Event(event);
            if (!token.bAlive) return true;
        }
        if (m_pEventClick) {
            event.Type = EVENT_BUTTONUP;
            event.pSender = m_pEventClick;
            m_pEventClick->Event(event);
            if (!token.bAlive) return true;
        }
        m_pEventHover = nullptr;
        m_pEventClick = nullptr;
        m_pEventKey = nullptr;
        if (m_bMouseCapture) ReleaseCapture();
        SetFocus(nullptr);
        if (!token.bAlive) return true;
        HWND hwndOwner = ::GetWindow(m_hWndPaint, GW_OWNER);
        if (hwndOwner) ::SetFocus(hwndOwner);
        break;
    }
    case WM_ERASEBKGND:
        lRes = 1;
        return true;
    case WM_PAINT:
        PaintWindow();
        if (!token.bAlive) return true;
        lRes = 0;
        return true;
    case WM_PRINTCLIENT: {
        if (!m_pRoot) break;
        RECT rcClient;
        ::GetClientRect(m_hWndPaint, &rcClient);
        HDC hDC = reinterpret_cast<HDC>(wParam);
        int save = ::SaveDC(hDC);
        m_pRoot->DoPaint(hDC, rcClient);
        if ((lParam & PRF_CHILDREN) != 0) {
            for (HWND hWndChild = ::GetWindow(m_hWndPaint, GW_CHILD); hWndChild;
                 hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
                RECT rcPos;
                ::GetWindowRect(hWndChild, &rcPos);
                ::MapWindowPoints(HWND_DESKTOP, m_hWndPaint, reinterpret_cast<LPPOINT>(&rcPos), 2);
                ::SetWindowOrgEx(hDC, -rcPos.left, -rcPos.top, nullptr);
                ::SendMessageW(hWndChild, WM_PRINT, wParam, lParam | PRF_NONCLIENT);
            }
        }
        ::RestoreDC(hDC, save);
        break;
    }
    case WM_GETMINMAXINFO: {
        LPMINMAXINFO lpMMI = reinterpret_cast<LPMINMAXINFO>(lParam);
        if (!lpMMI) break;
        if (m_szMinWindow.cx > 0) lpMMI->ptMinTrackSize.x = m_szMinWindow.cx;
        if (m_szMinWindow.cy > 0) lpMMI->ptMinTrackSize.y = m_szMinWindow.cy;
        if (m_szMaxWindow.cx > 0) lpMMI->ptMaxTrackSize.x = m_szMaxWindow.cx;
        if (m_szMaxWindow.cy > 0) lpMMI->ptMaxTrackSize.y = m_szMaxWindow.cy;
        break;
    }
    case WM_SIZE: {
        if (m_pFocus) {
            TEventUI event;
            event.Type = EVENT_WINDOWSIZE;
            event.pSender = m_pFocus;
            event.dwTimestamp = ::GetTickCount();
            m_pFocus->Event(event);
            if (!token.bAlive) return true;
        }
        if (m_pRoot) m_pRoot->NeedUpdate();
        lRes = 0;
        return true;
    }
    case WM_TIMER: {
        for (int i = 0; i < m_aTimers.GetSize(); ++i) {
            TTimerInfo* pTimer = static_cast<TTimerInfo*>(m_aTimers[i]);
            if (pTimer->hWnd == m_hWndPaint && pTimer->uWinTimer == LOWORD(wParam) && !pTimer->bKilled) {
                TEventUI event;
                event.Type = EVENT_TIMER;
                event.pSender = pTimer->pSender;
                event.dwTimestamp = ::GetTickCount();
                event.ptMouse = m_ptLastMousePos;
                event.wParam = pTimer->nLocalID;
                event.lParam = lParam;
                pTimer->pSender->Event(event);
                if (!token.bAlive) return true;
                break;
            }
        }
        break;
    }
    case WM_MOUSEHOVER: {
        m_bMouseTracking = false;
        POINT pt = PointFromLParam(lParam);
        CControlUI* pHover = FindControl(pt);
        if (!pHover) break;
        if (m_pEventHover) {
            TEventUI event;
            event.Type = EVENT_MOUSEHOVER;
            event.pSender = m_pEventHover;
            event.ptMouse = pt;
            event.dwTimestamp = ::GetTickCount();
            m_pEventHover->Event(event);
            if (!token.bAlive) return true;
        }
        if (!OwnsControl(pHover)) {
            lRes = 0;
            return true;
        }
        m_sToolTipText = pHover->GetToolTip();
        if (m_sToolTipText.IsEmpty()) {
            lRes = 0;
            return true;
        }
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
        if (m_hwndTooltip) {
            ::SendMessageW(m_hwndTooltip, TTM_SETMAXTIPWIDTH, 0, pHover->GetToolTipWidth());
            ::SendMessageW(m_hwndTooltip, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
            ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&m_ToolTip));
        }
        lRes = 0;
        return true;
    }
    case WM_MOUSELEAVE: {
        if (m_hwndTooltip) ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_ToolTip));
        if (m_bMouseTracking) ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, static_cast<LPARAM>(-1));
        if (!token.bAlive) return true;
        m_bMouseTracking = false;
        break;
    }
    case WM_MOUSEMOVE: {
        if (!m_bMouseTracking) {
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
        POINT pt = PointFromLParam(lParam);
        m_ptLastMousePos = pt;
        CControlUI* pNewHover = FindControl(pt);
        if (pNewHover && !OwnsControl(pNewHover)) break;
        TEventUI event;
        event.ptMouse = pt;
        event.dwTimestamp = ::GetTickCount();
        if (pNewHover != m_pEventHover && m_pEventHover) {
            CControlUI* pOld = m_pEventHover;
            event.Type = EVENT_MOUSELEAVE;
            event.pSender = pOld;
            pOld->Event(event);
            if (!token.bAlive) return true;
            m_pEventHover = nullptr;
            if (m_hwndTooltip) {
                ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_ToolTip));
            }
        }
        if (pNewHover && !OwnsControl(pNewHover)) pNewHover = nullptr;  // removed by the leave handler
        if (pNewHover != m_pEventHover && pNewHover) {
            event.Type = EVENT_MOUSEENTER;
            event.pSender = pNewHover;
            m_pEventHover = pNewHover;
            pNewHover->Event(event);
            if (!token.bAlive) return true;
        }
        if (pNewHover && !OwnsControl(pNewHover)) pNewHover = nullptr;
        event.Type = EVENT_MOUSEMOVE;
        if (m_pEventClick) {
            event.pSender = m_pEventClick;
            m_pEventClick->Event(event);
            if (!token.bAlive) return true;
        } else if (pNewHover) {
            event.pSender = pNewHover;
            pNewHover->Event(event);
            if (!token.bAlive) return true;
        }
        break;
    }
    case WM_LBUTTONDOWN: {
        ::SetFocus(m_hWndPaint);
        POINT pt = PointFromLParam(lParam);
        m_ptLastMousePos = pt;
        CControlUI* pControl = FindControl(pt);
        if (!OwnsControl(pControl)) break;
        m_pEventClick = pControl;
        pControl->SetFocus();
        if (!token.bAlive) return true;
        if (m_pEventClick != pControl) break;  // removed while taking the focus
        SetCapture();
        TEventUI event = MouseButtonEvent(EVENT_BUTTONDOWN, pControl, pt, wParam, lParam);
        pControl->Event(event);
        if (!token.bAlive) return true;
        break;
    }
    case WM_LBUTTONDBLCLK: {
        ::SetFocus(m_hWndPaint);
        POINT pt = PointFromLParam(lParam);
        m_ptLastMousePos = pt;
        CControlUI* pControl = FindControl(pt);
        if (!OwnsControl(pControl)) break;
        SetCapture();
        TEventUI event = MouseButtonEvent(EVENT_DBLCLICK, pControl, pt, wParam, lParam);
        pControl->Event(event);
        if (!token.bAlive) return true;
        if (OwnsControl(pControl)) {
            m_pEventClick = pControl;
        } else if (m_bMouseCapture) {
            ReleaseCapture();
        }
        break;
    }
    case WM_LBUTTONUP: {
        POINT pt = PointFromLParam(lParam);
        m_ptLastMousePos = pt;
        if (!m_pEventClick) break;
        ReleaseCapture();
        CControlUI* pControl = m_pEventClick;
        TEventUI event = MouseButtonEvent(EVENT_BUTTONUP, pControl, pt, wParam, lParam);
        pControl->Event(event);
        if (!token.bAlive) return true;
        m_pEventClick = nullptr;
        break;
    }
    case WM_RBUTTONDOWN: {
        ::SetFocus(m_hWndPaint);
        POINT pt = PointFromLParam(lParam);
        m_ptLastMousePos = pt;
        CControlUI* pControl = FindControl(pt);
        if (!OwnsControl(pControl)) break;
        pControl->SetFocus();
        if (!token.bAlive) return true;
        if (!OwnsControl(pControl)) break;
        SetCapture();
        TEventUI event = MouseButtonEvent(EVENT_RBUTTONDOWN, pControl, pt, wParam, lParam);
        pControl->Event(event);
        if (!token.bAlive) return true;
        if (OwnsControl(pControl)) {
            m_pEventClick = pControl;
        } else if (m_bMouseCapture) {
            ReleaseCapture();
        }
        break;
    }
    case WM_CONTEXTMENU: {
        POINT pt = PointFromLParam(lParam);
        ::ScreenToClient(m_hWndPaint, &pt);
        m_ptLastMousePos = pt;
        if (!m_pEventClick) break;
        ReleaseCapture();
        CControlUI* pControl = m_pEventClick;
        TEventUI event;
        event.Type = EVENT_CONTEXTMENU;
        event.pSender = pControl;
        event.ptMouse = pt;
        event.wKeyState = static_cast<WORD>(wParam);
        event.lParam = reinterpret_cast<LPARAM>(pControl);
        event.dwTimestamp = ::GetTickCount();
        pControl->Event(event);
        if (!token.bAlive) return true;
        m_pEventClick = nullptr;
        break;
    }
    case WM_MOUSEWHEEL: {
        POINT pt = PointFromLParam(lParam);
        ::ScreenToClient(m_hWndPaint, &pt);
        m_ptLastMousePos = pt;
        CControlUI* pControl = FindControl(pt);
        if (!OwnsControl(pControl)) break;
        int zDelta = static_cast<short>(HIWORD(wParam));
        TEventUI event;
        event.Type = EVENT_SCROLLWHEEL;
        event.pSender = pControl;
        event.wParam = zDelta < 0 ? SB_LINEDOWN : SB_LINEUP;
        event.lParam = lParam;
        event.ptMouse = pt;
        event.wKeyState = MapKeyState();
        event.dwTimestamp = ::GetTickCount();
        pControl->Event(event);
        if (!token.bAlive) return true;
        ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, MAKELPARAM(m_ptLastMousePos.x, m_ptLastMousePos.y));
        if (!token.bAlive) return true;
        break;
    }
    case WM_SETCURSOR: {
        if (LOWORD(lParam) != HTCLIENT) break;
        if (m_bMouseCapture) {
            lRes = TRUE;
            return true;
        }
        POINT pt;
        ::GetCursorPos(&pt);
        ::ScreenToClient(m_hWndPaint, &pt);
        CControlUI* pControl = FindControl(pt);
        if (!OwnsControl(pControl)) break;
        if ((pControl->GetControlFlags() & FLAG_SETCURSOR) == 0) break;
        TEventUI event;
        event.Type = EVENT_SETCURSOR;
        event.pSender = pControl;
        event.wParam = wParam;
        event.lParam = lParam;
        event.ptMouse = pt;
        event.wKeyState = MapKeyState();
        event.dwTimestamp = ::GetTickCount();
        pControl->Event(event);
        if (!token.bAlive) return true;
        lRes = TRUE;
        return true;
    }
    case WM_KEYDOWN: {
        if (!m_pFocus) break;
        CControlUI* pControl = m_pFocus;
        TEventUI event = KeyEvent(EVENT_KEYDOWN, pControl, wParam, m_ptLastMousePos, MapKeyState());
        pControl->Event(event);
        if (!token.bAlive) return true;
        m_pEventKey = OwnsControl(pControl) ? pControl : nullptr;
        break;
    }
    case WM_KEYUP: {
        if (!m_pEventKey) break;
        CControlUI* pControl = m_pEventKey;
        TEventUI event = KeyEvent(EVENT_KEYUP, pControl, wParam, m_ptLastMousePos, MapKeyState());
        pControl->Event(event);
        if (!token.bAlive) return true;
        m_pEventKey = nullptr;
        break;
    }
    case WM_CHAR: {
        if (!m_pFocus) break;
        TEventUI event = KeyEvent(EVENT_CHAR, m_pFocus, wParam, m_ptLastMousePos, MapKeyState());
        m_pFocus->Event(event);
        if (!token.bAlive) return true;
        break;
    }
    case WM_NOTIFY: {
        lRes = 0;
        LPNMHDR lpNMHDR = reinterpret_cast<LPNMHDR>(lParam);
        if (lpNMHDR) lRes = ::SendMessageW(lpNMHDR->hwndFrom, uMsg + 0x2000, wParam, lParam);
        return true;
    }
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
        if (lParam == 0) break;
        HWND hWndChild = reinterpret_cast<HWND>(lParam);
        lRes = ::SendMessageW(hWndChild, uMsg + 0x2000, wParam, lParam);
        return true;
    }
    default:
        break;
    }

    if (!DeliverQueuedNotifications()) return true;
    return false;
}

// ------------------------------------------------------------- painting ----

CControlUI* CALLBACK CPaintManagerUI::FindControlFromUpdate(CControlUI* pThis, LPVOID /*pData*/)
{
    return pThis->IsUpdateNeeded() ? pThis : nullptr;
}

void CPaintManagerUI::DeleteOffscreen()
{
    if (m_hDcOffscreen && m_hbmpOffscreenOld) ::SelectObject(m_hDcOffscreen.Get(), m_hbmpOffscreenOld);
    m_hbmpOffscreenOld = nullptr;
    m_hDcOffscreen.Reset();
    m_hbmpOffscreen.Reset();
}

void CPaintManagerUI::DeleteBackground()
{
    if (m_hDcBackground && m_hbmpBackgroundOld) ::SelectObject(m_hDcBackground.Get(), m_hbmpBackgroundOld);
    m_hbmpBackgroundOld = nullptr;
    m_hDcBackground.Reset();
    m_hbmpBackground.Reset();
}

void CPaintManagerUI::LayoutIfNeeded()
{
    if (!m_bUpdateNeeded || !m_pRoot) return;
    m_bUpdateNeeded = false;
    RECT rcClient { 0, 0, 0, 0 };
    ::GetClientRect(m_hWndPaint, &rcClient);
    if (::IsRectEmpty(&rcClient)) return;
    if (m_pRoot->IsUpdateNeeded()) {
        m_pRoot->SetPos(rcClient);
        DeleteOffscreen();
        DeleteBackground();
    } else {
        // Each SetPos clears the flag of the control it places; the bound
        // stops a control that keeps asking from looping forever.
        CControlUI* pPrevious = nullptr;
        for (int guard = 0; guard < 100000; ++guard) {
            CControlUI* pControl = m_pRoot->FindControl(FindControlFromUpdate, nullptr, FIND_VISIBLE | FIND_ME_FIRST);
            if (!pControl || pControl == pPrevious) break;
            pControl->SetPos(pControl->GetPos());
            pPrevious = pControl;
        }
    }
    if (m_bFirstLayout) {
        m_bFirstLayout = false;
        SendNotify(m_pRoot, L"windowinit", 0, 0, false);
    }
}

void CPaintManagerUI::PaintWindow()
{
    RECT rcUpdate { 0, 0, 0, 0 };
    if (!::GetUpdateRect(m_hWndPaint, &rcUpdate, FALSE)) return;
    if (!m_pRoot) {
        PAINTSTRUCT ps;
        ::BeginPaint(m_hWndPaint, &ps);
        ::EndPaint(m_hWndPaint, &ps);
        return;
    }
    if (m_bAlphaBackground) {
        PaintLayered();
    } else {
        PaintOrdinary(rcUpdate);
    }
}

void CPaintManagerUI::PaintOrdinary(const RECT& rcUpdate)
{
    TAliveToken token(this);
    LayoutIfNeeded();
    if (!token.bAlive) return;
    if (m_bFocusNeeded) SetNextTabControl(true);
    if (!token.bAlive) return;
    if (!m_pRoot) {
        PAINTSTRUCT ps;
        ::BeginPaint(m_hWndPaint, &ps);
        ::EndPaint(m_hWndPaint, &ps);
        return;
    }
    if (m_bOffscreenPaint && !m_hbmpOffscreen) {
        RECT rcClient { 0, 0, 0, 0 };
        ::GetClientRect(m_hWndPaint, &rcClient);
        DeleteOffscreen();
        m_hDcOffscreen.Reset(::CreateCompatibleDC(m_hDcPaint));
        m_hbmpOffscreen.Reset(::CreateCompatibleBitmap(m_hDcPaint, rcClient.right - rcClient.left,
                                                       rcClient.bottom - rcClient.top));
        if (!m_hDcOffscreen || !m_hbmpOffscreen) DeleteOffscreen();
    }

    PAINTSTRUCT ps;
    ::BeginPaint(m_hWndPaint, &ps);
    if (m_bOffscreenPaint && m_hDcOffscreen && m_hbmpOffscreen) {
        m_hbmpOffscreenOld = ::SelectObject(m_hDcOffscreen.Get(), m_hbmpOffscreen.Get());
        int save = ::SaveDC(m_hDcOffscreen.Get());
        m_pRoot->DoPaint(m_hDcOffscreen.Get(), ps.rcPaint);
        for (int i = 0; i < m_aPostPaintControls.GetSize(); ++i) {
            static_cast<CControlUI*>(m_aPostPaintControls[i])->DoPostPaint(m_hDcOffscreen.Get(), ps.rcPaint);
        }
        ::RestoreDC(m_hDcOffscreen.Get(), save);
        ::BitBlt(ps.hdc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
                 ps.rcPaint.bottom - ps.rcPaint.top, m_hDcOffscreen.Get(), ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
        ::SelectObject(m_hDcOffscreen.Get(), m_hbmpOffscreenOld);
        m_hbmpOffscreenOld = nullptr;
        if (m_bShowUpdateRect) {
            HGDIOBJ hOldPen = ::SelectObject(ps.hdc, m_hUpdateRectPen);
            HGDIOBJ hOldBrush = ::SelectObject(ps.hdc, ::GetStockObject(HOLLOW_BRUSH));
            ::Rectangle(ps.hdc, rcUpdate.left, rcUpdate.top, rcUpdate.right, rcUpdate.bottom);
            ::SelectObject(ps.hdc, hOldBrush);
            ::SelectObject(ps.hdc, hOldPen);
        }
    } else {
        int save = ::SaveDC(ps.hdc);
        m_pRoot->DoPaint(ps.hdc, ps.rcPaint);
        ::RestoreDC(ps.hdc, save);
    }
    ::EndPaint(m_hWndPaint, &ps);
    if (m_bUpdateNeeded) ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
}

void CPaintManagerUI::PaintLayered()
{
    LONG_PTR exStyle = ::GetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE);
    if ((exStyle & WS_EX_LAYERED) == 0) ::SetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    RECT rcClient { 0, 0, 0, 0 };
    ::GetClientRect(m_hWndPaint, &rcClient);

    PAINTSTRUCT ps;
    ::BeginPaint(m_hWndPaint, &ps);
    DeleteBackground();
    TAliveToken token(this);
    LayoutIfNeeded();
    if (!token.bAlive) return;
    if (m_bFocusNeeded) SetNextTabControl(true);
    if (!token.bAlive) return;
    const int width = rcClient.right - rcClient.left;
    const int height = rcClient.bottom - rcClient.top;
    if (m_bOffscreenPaint && m_pRoot && width > 0 && height > 0) {
        m_hDcBackground.Reset(::CreateCompatibleDC(m_hDcPaint));
        BITMAPINFO bmi {};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = width;
        bmi.bmiHeader.biHeight = height;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        m_hbmpBackground.Reset(::CreateDIBSection(m_hDcPaint, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (m_hDcBackground && m_hbmpBackground) {
            m_hbmpBackgroundOld = ::SelectObject(m_hDcBackground.Get(), m_hbmpBackground.Get());
            if (m_bHasWindowShadow) {
                RECT rcInner = rcClient;
                DrawWindowShadow(rcInner);
                m_pRoot->DoPaint(m_hDcBackground.Get(), rcInner);
            } else {
                m_pRoot->DoPaint(m_hDcBackground.Get(), rcClient);
            }
            RECT rcWnd { 0, 0, 0, 0 };
            ::GetWindowRect(m_hWndPaint, &rcWnd);
            POINT ptPos { rcWnd.left, rcWnd.top };
            SIZE sizeWnd { width, height };
            POINT ptSrc { 0, 0 };
            BLENDFUNCTION blend { AC_SRC_OVER, 0, 255, AC_SRC_ALPHA };
            ::UpdateLayeredWindow(m_hWndPaint, nullptr, &ptPos, &sizeWnd, m_hDcBackground.Get(), &ptSrc, 0, &blend,
                                  ULW_ALPHA);
        } else {
            DeleteBackground();
        }
    }
    ::EndPaint(m_hWndPaint, &ps);
}

}  // namespace Veneer
