// Control timers: native window timers shared by the controls of one window.
#include "engine/PaintManagerUI.h"

#include "engine/ControlUI.h"

namespace Veneer {

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

}  // namespace Veneer
