// The pop-up list of an open combo.
#include "controls/ComboWnd.h"

#include <algorithm>
#include <cwchar>

#include "controls/ComboUI.h"
#include "controls/ScrollBarUI.h"
#include "controls/VerticalLayoutUI.h"

namespace Veneer {

namespace {

int g_nLiveComboWindows = 0;

// Visits a whole subtree; the search never matches.
CControlUI* CALLBACK ReapVisitor(CControlUI* pThis, LPVOID pData)
{
    static_cast<CPaintManagerUI*>(pData)->ReapObjects(pThis);
    return nullptr;
}

}  // namespace

CComboWnd::CComboWnd() { ++g_nLiveComboWindows; }

CComboWnd::~CComboWnd() { --g_nLiveComboWindows; }

int CComboWnd::GetLiveCount() { return g_nLiveComboWindows; }

LPCWSTR CComboWnd::GetFrameClassName() const { return L"ComboWnd"; }

bool CComboWnd::Init(CComboUI* pOwner)
{
    m_pOwner = pOwner;
    m_iOldSel = pOwner->GetCurSel();
    CPaintManagerUI* pOwnerManager = pOwner->GetManager();
    HWND hOwnerWnd = pOwnerManager != nullptr ? pOwnerManager->GetPaintWindow() : nullptr;
    if (hOwnerWnd == nullptr || !::IsWindow(hOwnerWnd)) {
        return false;
    }

    const RECT rcOwner = pOwner->GetPos();
    const SIZE szDrop = pOwner->GetDropBoxSize();
    RECT rc = rcOwner;
    rc.top = rc.bottom;
    rc.bottom = rc.top + szDrop.cy;
    if (szDrop.cx > 0) {
        rc.right = rc.left + szDrop.cx;
    }
    const SIZE szAvailable = { rc.right - rc.left, rc.bottom - rc.top };
    long long cyNeeded = 0;
    for (int it = 0; it < pOwner->GetCount(); ++it) {
        CControlUI* pControl = pOwner->GetItemAt(it);
        if (!pControl->IsVisible()) {
            continue;
        }
        cyNeeded += std::max<LONG>(0, pControl->EstimateSize(szAvailable).cy);
    }
    cyNeeded += 4;
    const int cyHeight = static_cast<int>(std::min<long long>(cyNeeded, szDrop.cy));
    rc.bottom = rc.top + cyHeight;
    ::MapWindowPoints(hOwnerWnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&rc), 2);

    MONITORINFO oMonitor = {};
    oMonitor.cbSize = sizeof(oMonitor);
    ::GetMonitorInfoW(::MonitorFromWindow(hOwnerWnd, MONITOR_DEFAULTTOPRIMARY), &oMonitor);
    if (rc.bottom > oMonitor.rcWork.bottom) {
        rc.left = rcOwner.left;
        rc.right = rcOwner.right;
        if (szDrop.cx > 0) {
            rc.right = rc.left + szDrop.cx;
        }
        rc.top = rcOwner.top - cyHeight;
        rc.bottom = rcOwner.top;
        ::MapWindowPoints(hOwnerWnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&rc), 2);
    }

    // A creation that fails ends in OnFinalMessage; the object must outlive
    // Create, which still stores the handle after the window is gone.
    ++m_nDepth;
    HWND hWnd = Create(hOwnerWnd, nullptr, WS_POPUP, WS_EX_TOOLWINDOW, rc);
    --m_nDepth;
    if (hWnd == nullptr || m_bDeletePending) {
        m_hWnd = nullptr;
        return false;
    }

    HWND hWndParent = m_hWnd;
    while (::GetParent(hWndParent) != nullptr) {
        hWndParent = ::GetParent(hWndParent);
    }
    ::ShowWindow(m_hWnd, SW_SHOW);
    ::SendMessageW(hWndParent, WM_NCACTIVATE, TRUE, 0);
    return true;
}

void CComboWnd::CreateListLayout()
{
    m_pm.Init(m_hWnd);
    m_pLayout = new CVerticalLayoutUI;
    CPaintManagerUI* pOwnerManager = m_pOwner->GetManager();
    m_pm.UseParentResource(pOwnerManager);
    m_pLayout->SetManager(&m_pm, nullptr, true);
    LPCWSTR pDefaultAttributes = pOwnerManager->GetDefaultAttributeList(L"VerticalLayout");
    if (pDefaultAttributes != nullptr) {
        m_pLayout->ApplyAttributeList(pDefaultAttributes);
    }
    m_pLayout->SetInset(RECT { 1, 1, 1, 1 });
    m_pLayout->SetBkColor(0xFFFFFFFF);
    m_pLayout->SetBorderColor(0xFFC6C7D2);
    m_pLayout->SetBorderSize(1);
    m_pLayout->SetAutoDestroy(false);
    m_pLayout->EnableScrollBar(true, false);
    m_pLayout->ApplyAttributeList(m_pOwner->GetDropBoxAttributeList());
    for (int it = 0; it < m_pOwner->GetCount(); ++it) {
        m_pLayout->Add(m_pOwner->GetItemAt(it));
    }
    m_pm.AttachDialog(m_pLayout);
}

void CComboWnd::ReturnItems(bool bRelayout)
{
    if (m_bItemsReturned) {
        return;
    }
    m_bItemsReturned = true;
    if (m_pLayout != nullptr) {
        // No hot, clicked, focused or timed reference of the pop-up may
        // outlive the loan.
        for (int it = 0; it < m_pLayout->GetCount(); ++it) {
            m_pLayout->GetItemAt(it)->FindControl(ReapVisitor, &m_pm, 0);
        }
        m_pLayout->RemoveAll();
    }
    if (m_pOwner == nullptr) {
        return;
    }
    m_pOwner->SetManager(m_pOwner->GetManager(), m_pOwner->GetParent(), false);
    if (bRelayout) {
        m_pOwner->SetPos(m_pOwner->GetPos());
    }
}

void CComboWnd::ForgetItem(CControlUI* pControl)
{
    if (m_bItemsReturned || m_pLayout == nullptr || pControl == nullptr || m_pOwner == nullptr) {
        return;
    }
    pControl->FindControl(ReapVisitor, &m_pm, 0);
    m_pLayout->Remove(pControl);
    pControl->SetManager(m_pOwner->GetManager(), m_pOwner, false);
}

void CComboWnd::DetachOwner()
{
    ReturnItems(false);
    m_pOwner = nullptr;
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) {
        // Inside one of this window's own messages the object outlives the
        // destruction until that message returns.
        ::DestroyWindow(m_hWnd);
        return;
    }
    if (m_nDepth == 0) {
        delete this;
    } else {
        m_bDeletePending = true;
    }
}

void CComboWnd::EnsureVisible(int iIndex)
{
    if (m_pOwner == nullptr || m_pLayout == nullptr || m_bItemsReturned || m_pOwner->GetCurSel() < 0) {
        return;
    }
    CControlUI* pItem = m_pOwner->GetItemAt(iIndex);
    if (pItem == nullptr) {
        return;
    }
    const RECT rcItem = pItem->GetPos();
    RECT rcList = m_pLayout->GetPos();
    CScrollBarUI* pHorizontalScrollBar = m_pLayout->GetHorizontalScrollBar();
    if (pHorizontalScrollBar != nullptr && pHorizontalScrollBar->IsVisible()) {
        rcList.bottom -= pHorizontalScrollBar->GetFixedHeight();
    }
    if (rcItem.top >= rcList.top && rcItem.bottom < rcList.bottom) {
        return;
    }
    int dy = 0;
    if (rcItem.top < rcList.top) {
        dy = rcItem.top - rcList.top;
    }
    if (rcItem.bottom > rcList.bottom) {
        dy = rcItem.bottom - rcList.bottom;
    }
    Scroll(0, dy);
}

void CComboWnd::Scroll(int dx, int dy)
{
    if ((dx == 0 && dy == 0) || m_pLayout == nullptr) {
        return;
    }
    SIZE sz = m_pLayout->GetScrollPos();
    sz.cx += dx;
    sz.cy += dy;
    m_pLayout->SetScrollPos(sz);
}

LRESULT CComboWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    ++m_nDepth;
    const LRESULT lRes = Dispatch(uMsg, wParam, lParam);
    --m_nDepth;
    if (m_nDepth == 0 && m_bDeletePending) {
        delete this;
    }
    return lRes;
}

LRESULT CComboWnd::Dispatch(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_CREATE:
        if (m_pOwner == nullptr || m_pOwner->GetManager() == nullptr) {
            return -1;
        }
        CreateListLayout();
        return 0;
    case WM_CLOSE: {
        // The manager ends hover and click while the items are still its own.
        LRESULT lRes = 0;
        m_pm.MessageHandler(uMsg, wParam, lParam, lRes);
        ReturnItems(true);
        if (m_pOwner != nullptr) {
            m_pOwner->SetFocus();
        }
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }
    case WM_DESTROY:
        // Gone without a close (its owner window went): the items go home.
        ReturnItems(true);
        break;
    case WM_LBUTTONUP: {
        const POINT pt = { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
        CControlUI* pControl = m_pm.FindControl(pt);
        if (pControl != nullptr && wcscmp(pControl->GetClass(), L"ScrollBarUI") != 0) {
            PostMessageW(WM_KILLFOCUS);
        }
        break;
    }
    case WM_KEYDOWN:
        switch (wParam) {
        case VK_RETURN:
            PostMessageW(WM_KILLFOCUS);
            break;
        case VK_ESCAPE:
            if (m_pOwner != nullptr) {
                m_pOwner->SelectItem(m_iOldSel, true);
                EnsureVisible(m_iOldSel);
            }
            PostMessageW(WM_KILLFOCUS);
            break;
        default: {
            TEventUI event;
            event.Type = EVENT_KEYDOWN;
            event.chKey = static_cast<WCHAR>(wParam);
            event.dwTimestamp = ::GetTickCount();
            if (m_pOwner != nullptr) {
                m_pOwner->DoEvent(event);
            }
            if (m_pOwner != nullptr) {
                EnsureVisible(m_pOwner->GetCurSel());
            }
            return 0;
        }
        }
        break;
    case WM_MOUSEWHEEL: {
        const int zDelta = static_cast<short>(HIWORD(wParam));
        TEventUI event;
        event.Type = EVENT_SCROLLWHEEL;
        event.wParam = zDelta < 0 ? SB_LINEDOWN : SB_LINEUP;
        event.lParam = lParam;
        event.dwTimestamp = ::GetTickCount();
        if (m_pOwner != nullptr) {
            m_pOwner->DoEvent(event);
        }
        if (m_pOwner != nullptr) {
            EnsureVisible(m_pOwner->GetCurSel());
        }
        return 0;
    }
    case WM_KILLFOCUS:
        if (m_hWnd != reinterpret_cast<HWND>(wParam)) {
            PostMessageW(WM_CLOSE);
        }
        break;
    default:
        break;
    }
    if (m_hWnd == nullptr) {
        return 0;
    }
    LRESULT lRes = 0;
    if (m_pm.MessageHandler(uMsg, wParam, lParam, lRes)) {
        return lRes;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void CComboWnd::OnFinalMessage(HWND /*hWnd*/)
{
    ReturnItems(true);
    if (m_pOwner != nullptr) {
        CComboUI* pOwner = m_pOwner;
        m_pOwner = nullptr;
        pOwner->m_pWindow = nullptr;
        pOwner->m_uButtonState &= ~STATE_PUSHED;
        pOwner->Invalidate();
    }
    if (m_nDepth > 0) {
        m_bDeletePending = true;
        return;
    }
    delete this;
}

}  // namespace Veneer
