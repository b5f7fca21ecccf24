// The paint manager's references to controls: ownership checks, forgetting
// a control that leaves the tree, delayed deletion, capture.
#include "engine/PaintManagerUI.h"

#include "engine/ControlUI.h"

namespace Veneer {

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

}  // namespace Veneer
