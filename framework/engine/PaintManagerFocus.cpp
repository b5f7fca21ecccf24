// Keyboard focus and tab order of the paint manager.
#include "engine/PaintManagerUI.h"

#include "engine/ControlUI.h"

namespace Veneer {

namespace {

struct FindTab {
    CControlUI* pFocus { nullptr };
    bool bSeenFocus { false };
    CControlUI* pFirst { nullptr };
    CControlUI* pLast { nullptr };
    CControlUI* pBefore { nullptr };  // last tab stop before the focus
    CControlUI* pAfter { nullptr };   // first tab stop after the focus
};

}  // namespace

void CPaintManagerUI::SetFocus(CControlUI* pControl)
{
    HWND hFocusWnd = ::GetFocus();
    if (m_hWndPaint && hFocusWnd != m_hWndPaint && pControl != m_pFocus) ::SetFocus(m_hWndPaint);
    if (pControl == m_pFocus) return;
    KillFocus(pControl);
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

void CPaintManagerUI::KillFocus(CControlUI* pNewFocus)
{
    if (!m_pFocus) return;
    CControlUI* pOld = m_pFocus;
    TEventUI event;
    event.Type = EVENT_KILLFOCUS;
    event.pSender = pNewFocus;
    event.dwTimestamp = ::GetTickCount();
    pOld->Event(event);
    SendNotify(pOld, L"killfocus");
    if (m_pFocus == pOld) m_pFocus = nullptr;
}

void CPaintManagerUI::SetFocusNeeded(CControlUI* pControl)
{
    if (m_hWndPaint) ::SetFocus(m_hWndPaint);
    if (!pControl) return;
    KillFocus(pControl);
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

}  // namespace Veneer
