// Notifications, listener lists and post-paint controls of the paint manager.
#include "engine/PaintManagerUI.h"

#include "engine/ControlUI.h"

namespace Veneer {

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

}  // namespace Veneer
