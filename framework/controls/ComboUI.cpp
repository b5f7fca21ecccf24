#include "controls/ComboUI.h"

#include <algorithm>
#include <climits>
#include <cwchar>

#include "controls/ListItemAttributes.h"
#include "controls/ScrollBarUI.h"
#include "controls/VerticalLayoutUI.h"
#include "engine/RenderEngine.h"
#include "foundation/ValueSyntax.h"

namespace Veneer {

using ValueSyntax::ParseRect;
using ValueSyntax::ParseSize;

namespace {

int g_nLiveComboWindows = 0;

IListItemUI* AsListItem(CControlUI* pControl)
{
    return pControl != nullptr ? static_cast<IListItemUI*>(pControl->GetInterface(L"ListItem")) : nullptr;
}

bool IsMouseEvent(int type) { return type > EVENT__MOUSEBEGIN && type < EVENT__MOUSEEND; }

// Visits a whole subtree; the search never matches.
CControlUI* CALLBACK ReapVisitor(CControlUI* pThis, LPVOID pData)
{
    static_cast<CPaintManagerUI*>(pData)->ReapObjects(pThis);
    return nullptr;
}

}  // namespace

// CComboWnd -----------------------------------------------------------------

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

// CComboUI ------------------------------------------------------------------

CComboUI::CComboUI() = default;

CComboUI::~CComboUI()
{
    // The pop-up may still hold the items and post to this control.
    if (m_pWindow != nullptr) {
        CComboWnd* pWindow = m_pWindow;
        m_pWindow = nullptr;
        pWindow->DetachOwner();
    }
}

LPCWSTR CComboUI::GetClass() const { return L"ComboUI"; }

LPVOID CComboUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr) {
        if (wcscmp(pstrName, L"Combo") == 0) {
            return static_cast<CComboUI*>(this);
        }
        if (wcscmp(pstrName, L"IListOwner") == 0) {
            return static_cast<IListOwnerUI*>(this);
        }
    }
    return CContainerUI::GetInterface(pstrName);
}

CStdString CComboUI::GetText() const
{
    CControlUI* pControl = GetItemAt(m_iCurSel);
    return pControl != nullptr ? pControl->GetText() : CStdString();
}

void CComboUI::CloseDropWindow()
{
    if (m_pWindow != nullptr) {
        m_pWindow->Close();
    }
}

void CComboUI::SetEnabled(bool bEnable)
{
    CContainerUI::SetEnabled(bEnable);
    if (!IsEnabled()) {
        m_uButtonState = 0;
        // A disabled combo cannot be choosing: no pop-up stays open.
        CloseDropWindow();
    }
}

void CComboUI::SetVisible(bool bVisible)
{
    CContainerUI::SetVisible(bVisible);
    if (!IsVisible()) {
        CloseDropWindow();
    }
}

void CComboUI::SetInternVisible(bool bVisible)
{
    CContainerUI::SetInternVisible(bVisible);
    if (!IsVisible()) {
        CloseDropWindow();
    }
}

bool CComboUI::Activate()
{
    if (!CControlUI::Activate()) {
        return false;
    }
    if (m_pWindow != nullptr) {
        return true;
    }
    CComboWnd* pWindow = new CComboWnd;
    m_pWindow = pWindow;
    if (!pWindow->Init(this)) {
        if (m_pWindow == pWindow) {
            m_pWindow = nullptr;
        }
        delete pWindow;
        return false;
    }
    if (m_pManager != nullptr) {
        m_pManager->SendNotify(this, L"dropdown");
    }
    Invalidate();
    return true;
}

bool CComboUI::SelectItem(int iIndex, bool bTakeFocus)
{
    CloseDropWindow();
    if (iIndex == m_iCurSel) {
        return true;
    }
    const int iOldSel = m_iCurSel;
    if (m_iCurSel >= 0) {
        CControlUI* pControl = GetItemAt(m_iCurSel);
        if (pControl == nullptr) {
            return false;
        }
        m_iCurSel = -1;
        IListItemUI* pListItem = AsListItem(pControl);
        if (pListItem != nullptr) {
            pListItem->Select(false);
        }
        // The face showed that item; it must not keep showing it.
        Invalidate();
    }
    if (iIndex < 0 || m_items.GetSize() == 0) {
        return false;
    }
    if (iIndex >= m_items.GetSize()) {
        iIndex = m_items.GetSize() - 1;
    }
    CControlUI* pControl = GetItemAt(iIndex);
    if (pControl == nullptr || !pControl->IsVisible() || !pControl->IsEnabled()) {
        return false;
    }
    IListItemUI* pListItem = AsListItem(pControl);
    if (pListItem == nullptr) {
        return false;
    }
    m_iCurSel = iIndex;
    if (m_pWindow != nullptr || bTakeFocus) {
        pControl->SetFocus();
    }
    pListItem->Select(true);
    if (m_pManager != nullptr) {
        m_pManager->SendNotify(this, L"itemselect", static_cast<WPARAM>(m_iCurSel), static_cast<LPARAM>(iOldSel));
    }
    Invalidate();
    return true;
}

void CComboUI::SelectFound(int iIndex)
{
    if (iIndex < 0) {
        return;
    }
    SelectItem(iIndex);
}

void CComboUI::RenumberFrom(int iFirst, int iLast)
{
    for (int i = std::max(0, iFirst); i <= iLast && i < m_items.GetSize(); ++i) {
        IListItemUI* pListItem = AsListItem(GetItemAt(i));
        if (pListItem != nullptr) {
            pListItem->SetIndex(i);
        }
    }
}

bool CComboUI::SetItemIndex(CControlUI* pControl, int iIndex)
{
    const int iOrigIndex = GetItemIndex(pControl);
    if (iOrigIndex < 0) {
        return false;
    }
    if (iOrigIndex == iIndex) {
        return true;
    }
    IListItemUI* pSelected = m_iCurSel >= 0 ? AsListItem(GetItemAt(m_iCurSel)) : nullptr;
    if (!CContainerUI::SetItemIndex(pControl, iIndex)) {
        return false;
    }
    RenumberFrom(std::min(iOrigIndex, iIndex), std::max(iOrigIndex, iIndex));
    if (pSelected != nullptr) {
        m_iCurSel = pSelected->GetIndex();
    }
    return true;
}

bool CComboUI::Add(CControlUI* pControl)
{
    IListItemUI* pListItem = AsListItem(pControl);
    if (pListItem != nullptr) {
        pListItem->SetOwner(this);
        pListItem->SetIndex(m_items.GetSize());
    }
    return CContainerUI::Add(pControl);
}

bool CComboUI::AddAt(CControlUI* pControl, int iIndex)
{
    if (!CContainerUI::AddAt(pControl, iIndex)) {
        return false;
    }
    IListItemUI* pListItem = AsListItem(pControl);
    if (pListItem != nullptr) {
        pListItem->SetOwner(this);
        pListItem->SetIndex(iIndex);
    }
    RenumberFrom(iIndex + 1, m_items.GetSize() - 1);
    if (m_iCurSel >= iIndex) {
        m_iCurSel += 1;
    }
    if (m_pWindow != nullptr && m_pWindow->m_iOldSel >= iIndex) {
        m_pWindow->m_iOldSel += 1;
    }
    return true;
}

bool CComboUI::Remove(CControlUI* pControl)
{
    return RemoveAt(GetItemIndex(pControl));
}

bool CComboUI::RemoveAt(int iIndex)
{
    CControlUI* pControl = GetItemAt(iIndex);
    if (pControl == nullptr) {
        return false;
    }
    // An open pop-up lists the item: it lets go of it first.
    if (m_pWindow != nullptr) {
        m_pWindow->ForgetItem(pControl);
    }
    if (!CContainerUI::Remove(pControl)) {
        return false;
    }
    RenumberFrom(iIndex, m_items.GetSize() - 1);
    if (m_pWindow != nullptr) {
        // Escape restores by index: keep it on the same item, or on none.
        int& iOldSel = m_pWindow->m_iOldSel;
        if (iIndex == iOldSel) {
            iOldSel = -1;
        } else if (iIndex < iOldSel) {
            iOldSel -= 1;
        }
    }
    if (iIndex == m_iCurSel) {
        const int iSel = m_iCurSel;
        m_iCurSel = -1;
        // The item that moved into the slot comes after the removed one;
        // the nearest one above is wanted.
        SelectItem(FindSelectable(iSel - 1, false));
    } else if (iIndex < m_iCurSel) {
        m_iCurSel -= 1;
    }
    return true;
}

void CComboUI::RemoveAll()
{
    if (m_pWindow != nullptr) {
        for (int it = 0; it < m_items.GetSize(); ++it) {
            m_pWindow->ForgetItem(static_cast<CControlUI*>(m_items[it]));
        }
        m_pWindow->m_iOldSel = -1;
    }
    m_iCurSel = -1;
    CContainerUI::RemoveAll();
}

// ---- appearance ----

void CComboUI::SetTextPadding(RECT rc)
{
    m_rcTextPadding = rc;
    Invalidate();
}

void CComboUI::SetNormalImage(LPCWSTR pStrImage)
{
    m_sNormalImage = pStrImage;
    Invalidate();
}

void CComboUI::SetHotImage(LPCWSTR pStrImage)
{
    m_sHotImage = pStrImage;
    Invalidate();
}

void CComboUI::SetPushedImage(LPCWSTR pStrImage)
{
    m_sPushedImage = pStrImage;
    Invalidate();
}

void CComboUI::SetFocusedImage(LPCWSTR pStrImage)
{
    m_sFocusedImage = pStrImage;
    Invalidate();
}

void CComboUI::SetDisabledImage(LPCWSTR pStrImage)
{
    m_sDisabledImage = pStrImage;
    Invalidate();
}

void CComboUI::SetDropBoxSize(SIZE szDropBox)
{
    // A negative height would make a window of negative size.
    szDropBox.cy = std::max<LONG>(0, szDropBox.cy);
    m_szDropBox = szDropBox;
}

void CComboUI::SetItemFont(int index)
{
    m_ListInfo.nFont = index;
    Invalidate();
}

void CComboUI::SetItemTextStyle(UINT uStyle)
{
    m_ListInfo.uTextStyle = uStyle;
    Invalidate();
}

void CComboUI::SetItemTextPadding(RECT rc)
{
    m_ListInfo.rcTextPadding = rc;
    Invalidate();
}

void CComboUI::SetItemTextColor(DWORD dwTextColor)
{
    m_ListInfo.dwTextColor = dwTextColor;
    Invalidate();
}

void CComboUI::SetItemShowHtml(bool bShowHtml)
{
    if (m_ListInfo.bShowHtml == bShowHtml) {
        return;
    }
    m_ListInfo.bShowHtml = bShowHtml;
    Invalidate();
}

// ---- layout, input and painting ----

SIZE CComboUI::EstimateSize(SIZE szAvailable)
{
    if (m_cyFixed != 0) {
        return CControlUI::EstimateSize(szAvailable);
    }
    const LONG cyFont = m_pManager != nullptr ? m_pManager->GetDefaultFontInfo()->tm.tmHeight : 0;
    return SIZE { m_cxFixed, cyFont + 12 };
}

void CComboUI::SetPos(RECT rc)
{
    // Items are laid out only inside the pop-up; while they are lent to it
    // their places there stay.
    const bool bLent = m_pWindow != nullptr && !m_pWindow->m_bItemsReturned;
    if (!bLent) {
        const RECT rcNull = { 0, 0, 0, 0 };
        for (int it = 0; it < m_items.GetSize(); ++it) {
            static_cast<CControlUI*>(m_items[it])->SetPos(rcNull);
        }
    }
    CControlUI::SetPos(rc);
}

void CComboUI::DoEvent(TEventUI& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.Type)) {
        if (m_pParent != nullptr) {
            m_pParent->DoEvent(event);
        } else {
            CContainerUI::DoEvent(event);
        }
        return;
    }

    switch (event.Type) {
    case EVENT_SETFOCUS:
    case EVENT_KILLFOCUS:
        Invalidate();
        break;
    case EVENT_BUTTONDOWN:
        if (IsEnabled()) {
            Activate();
            m_uButtonState |= STATE_PUSHED | STATE_CAPTURED;
        }
        return;
    case EVENT_BUTTONUP:
        if ((m_uButtonState & STATE_CAPTURED) != 0) {
            m_uButtonState &= ~STATE_CAPTURED;
            Invalidate();
        }
        return;
    case EVENT_MOUSEMOVE:
    case EVENT_CONTEXTMENU:
        return;
    case EVENT_KEYDOWN:
        switch (event.chKey) {
        case VK_F4:
            Activate();
            return;
        case VK_UP:
        case VK_PRIOR:
            SelectFound(FindSelectable(m_iCurSel - 1, false));
            return;
        case VK_DOWN:
        case VK_NEXT:
            SelectFound(FindSelectable(m_iCurSel + 1, true));
            return;
        case VK_HOME:
            SelectFound(FindSelectable(0, false));
            return;
        case VK_END:
            SelectFound(FindSelectable(GetCount() - 1, true));
            return;
        default:
            break;
        }
        break;
    case EVENT_SCROLLWHEEL:
        if (LOWORD(event.wParam) == SB_LINEDOWN) {
            SelectFound(FindSelectable(m_iCurSel + 1, true));
        } else {
            SelectFound(FindSelectable(m_iCurSel - 1, false));
        }
        return;
    case EVENT_MOUSEENTER:
        if (::PtInRect(&m_rcItem, event.ptMouse)) {
            if ((m_uButtonState & STATE_HOT) == 0) {
                m_uButtonState |= STATE_HOT;
            }
            Invalidate();
        }
        return;
    case EVENT_MOUSELEAVE:
        if ((m_uButtonState & STATE_HOT) != 0) {
            m_uButtonState &= ~STATE_HOT;
            Invalidate();
        }
        return;
    default:
        break;
    }
    CControlUI::DoEvent(event);
}

void CComboUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) {
        return;
    }
    if (SetListItemAttribute(*this, pstrName, pstrValue)) {
        return;
    }
    if (wcscmp(pstrName, L"textpadding") == 0) {
        SetTextPadding(ParseRect(pstrValue));
    } else if (wcscmp(pstrName, L"normalimage") == 0) {
        SetNormalImage(pstrValue);
    } else if (wcscmp(pstrName, L"hotimage") == 0) {
        SetHotImage(pstrValue);
    } else if (wcscmp(pstrName, L"pushedimage") == 0) {
        SetPushedImage(pstrValue);
    } else if (wcscmp(pstrName, L"focusedimage") == 0) {
        SetFocusedImage(pstrValue);
    } else if (wcscmp(pstrName, L"disabledimage") == 0) {
        SetDisabledImage(pstrValue);
    } else if (wcscmp(pstrName, L"dropbox") == 0) {
        SetDropBoxAttributeList(pstrValue);
    } else if (wcscmp(pstrName, L"dropboxsize") == 0) {
        SetDropBoxSize(ParseSize(pstrValue));
    } else {
        CContainerUI::SetAttribute(pstrName, pstrValue);
    }
}

void CComboUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    CControlUI::DoPaint(hDC, rcPaint);
}

void CComboUI::RefreshStateBits()
{
    if (IsFocused()) {
        m_uButtonState |= STATE_FOCUSED;
    } else {
        m_uButtonState &= ~STATE_FOCUSED;
    }
    if (!IsEnabled()) {
        m_uButtonState |= STATE_DISABLED;
    } else {
        m_uButtonState &= ~STATE_DISABLED;
    }
}

void CComboUI::PaintStatusImage(HDC hDC)
{
    RefreshStateBits();
    CStdString* pStateImage = nullptr;
    if ((m_uButtonState & STATE_DISABLED) != 0) {
        pStateImage = &m_sDisabledImage;
    } else if ((m_uButtonState & STATE_PUSHED) != 0) {
        pStateImage = &m_sPushedImage;
    } else if ((m_uButtonState & STATE_HOT) != 0) {
        pStateImage = &m_sHotImage;
    } else if ((m_uButtonState & STATE_FOCUSED) != 0) {
        pStateImage = &m_sFocusedImage;
    }
    if (pStateImage != nullptr && !pStateImage->IsEmpty()) {
        if (DrawImage(hDC, pStateImage->GetData())) {
            return;
        }
        pStateImage->Empty();
    }
    if (!m_sNormalImage.IsEmpty() && !DrawImage(hDC, m_sNormalImage.GetData())) {
        m_sNormalImage.Empty();
    }
}

RECT CComboUI::GetTextRect() const
{
    RECT rcText = m_rcItem;
    rcText.left += m_rcTextPadding.left;
    rcText.right -= m_rcTextPadding.right;
    rcText.top += m_rcTextPadding.top;
    rcText.bottom -= m_rcTextPadding.bottom;
    return rcText;
}

void CComboUI::PaintSelectedItem(HDC hDC, const RECT& rcText)
{
    CControlUI* pControl = GetItemAt(m_iCurSel);
    if (pControl == nullptr) {
        return;
    }
    IListItemUI* pListItem = AsListItem(pControl);
    if (pListItem != nullptr) {
        pListItem->DrawItemText(hDC, rcText);
        return;
    }
    const RECT rcOldPos = pControl->GetPos();
    pControl->SetPos(rcText);
    pControl->DoPaint(hDC, rcText);
    pControl->SetPos(rcOldPos);
}

void CComboUI::PaintText(HDC hDC)
{
    if (m_iCurSel < 0) {
        return;
    }
    PaintSelectedItem(hDC, GetTextRect());
}

}  // namespace Veneer
