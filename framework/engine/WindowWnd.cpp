#include "engine/WindowWnd.h"

#include <cwchar>

#include "engine/ControlUI.h"
#include "engine/PaintManagerUI.h"

namespace Veneer {

namespace {

const wchar_t kObjectProperty[] = L"WndX";

}  // namespace

// Window procedures -------------------------------------------------------

// A C++ exception cannot unwind through user32's frames: whatever a handler
// throws ends here, and the message gets the previous procedure's answer.
LRESULT CWindowWnd::Route(CWindowWnd* pThis, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (!pThis) return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    try {
        return pThis->HandleMessage(uMsg, wParam, lParam);
    } catch (...) {
        // Answered by the previous procedure below.
    }
    try {
        return ::CallWindowProcW(pThis->m_OldWndProc, hWnd, uMsg, wParam, lParam);
    } catch (...) {
        // Nothing may unwind into user32: the message gets 0.
        return 0;
    }
}

LRESULT CALLBACK CWindowWnd::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return Dispatch(hWnd, uMsg, wParam, lParam, false);
}

LRESULT CALLBACK CWindowWnd::SuperclassProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return Dispatch(hWnd, uMsg, wParam, lParam, true);
}

LRESULT CWindowWnd::Dispatch(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, bool bInProperty)
{
    CWindowWnd* pThis = nullptr;
    if (uMsg == WM_NCCREATE) {
        const CREATESTRUCTW* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        pThis = static_cast<CWindowWnd*>(cs->lpCreateParams);
        if (pThis) {
            pThis->m_hWnd = hWnd;
            if (bInProperty) {
                ::SetPropW(hWnd, kObjectProperty, static_cast<HANDLE>(pThis));
            } else {
                ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pThis));
            }
        }
        return Route(pThis, hWnd, uMsg, wParam, lParam);
    }
    pThis = bInProperty ? static_cast<CWindowWnd*>(::GetPropW(hWnd, kObjectProperty))
                        : reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (uMsg == WM_NCDESTROY && pThis) {
        LRESULT lRes = 0;
        try {
            lRes = ::CallWindowProcW(pThis->m_OldWndProc, hWnd, uMsg, wParam, lParam);
        } catch (...) {
            // The window goes either way; its object must still be let go below.
        }
        if (bInProperty) {
            // The property must not outlive the window: remove it, not just null it.
            ::RemovePropW(hWnd, kObjectProperty);
        } else {
            ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
        }
        if (pThis->m_bSubclassed) pThis->Unsubclass();
        pThis->m_hWnd = nullptr;
        try {
            pThis->OnFinalMessage(hWnd);
        } catch (...) {
            // Nothing may unwind into user32; the window is gone already.
        }
        return lRes;
    }
    return Route(pThis, hWnd, uMsg, wParam, lParam);
}

CWindowWnd::~CWindowWnd()
{
    DetachFromWindow();
}

void CWindowWnd::DetachFromWindow()
{
    if (m_hWnd == nullptr) return;
    if (::IsWindow(m_hWnd)) {
        if (::GetWindowLongPtrW(m_hWnd, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this))
            ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
        if (::GetPropW(m_hWnd, kObjectProperty) == static_cast<HANDLE>(this))
            ::RemovePropW(m_hWnd, kObjectProperty);
        if (m_bSubclassed) Unsubclass();
    }
    m_hWnd = nullptr;
}

// Registration and creation ----------------------------------------------

LPCWSTR CWindowWnd::GetSuperClassName() const
{
    return nullptr;
}

UINT CWindowWnd::GetClassStyle() const
{
    return 0;
}

bool CWindowWnd::RegisterWindowClass()
{
    WNDCLASSW wc = {};
    wc.style = GetClassStyle();
    wc.lpfnWndProc = &CWindowWnd::WindowProc;
    wc.hInstance = CPaintManagerUI::GetInstance();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = GetFrameClassName();
    if (::RegisterClassW(&wc) != 0) return true;
    return ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool CWindowWnd::RegisterSuperclass()
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (!::GetClassInfoExW(nullptr, GetSuperClassName(), &wc)) {
        if (!::GetClassInfoExW(CPaintManagerUI::GetInstance(), GetSuperClassName(), &wc))
            return false;
    }
    m_OldWndProc = wc.lpfnWndProc;
    wc.lpfnWndProc = &CWindowWnd::SuperclassProc;
    wc.hInstance = CPaintManagerUI::GetInstance();
    wc.lpszClassName = GetFrameClassName();
    if (::RegisterClassExW(&wc) != 0) return true;
    return ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CWindowWnd::Create(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle,
                        const RECT rc, HMENU hMenu)
{
    return Create(hwndParent, pstrName, dwStyle, dwExStyle, rc.left, rc.top, rc.right - rc.left,
                  rc.bottom - rc.top, hMenu);
}

HWND CWindowWnd::Create(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle, int x,
                        int y, int cx, int cy, HMENU hMenu)
{
    if (GetSuperClassName() != nullptr && !RegisterSuperclass()) return nullptr;
    if (GetSuperClassName() == nullptr && !RegisterWindowClass()) return nullptr;
    m_hWnd = ::CreateWindowExW(dwExStyle, GetFrameClassName(), pstrName, dwStyle, x, y, cx, cy,
                               hwndParent, hMenu, CPaintManagerUI::GetInstance(), this);
    return m_hWnd;
}

HWND CWindowWnd::CreateVeneerWindow(HWND hwndParent, LPCWSTR pstrWindowName, DWORD dwStyle,
                                 DWORD dwExStyle)
{
    return Create(hwndParent, pstrWindowName, dwStyle, dwExStyle, 0, 0, 0, 0, nullptr);
}

HWND CWindowWnd::Subclass(HWND hWnd)
{
    WNDPROC previous = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
        hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWindowWnd::WindowProc)));
    if (previous == nullptr) return nullptr;
    m_OldWndProc = previous;
    m_bSubclassed = true;
    m_hWnd = hWnd;
    ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return m_hWnd;
}

void CWindowWnd::Unsubclass()
{
    if (!::IsWindow(m_hWnd)) return;
    if (!m_bSubclassed) return;
    ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_OldWndProc));
    m_OldWndProc = ::DefWindowProcW;
    m_bSubclassed = false;
}

// Window operations -------------------------------------------------------

void CWindowWnd::ShowWindow(bool bShow, bool bTakeFocus)
{
    if (!::IsWindow(m_hWnd)) return;
    ::ShowWindow(m_hWnd, bShow ? (bTakeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

UINT CWindowWnd::ShowModal()
{
    if (!::IsWindow(m_hWnd)) return 0;
    UINT nRet = 0;
    HWND hWndOwner = ::GetWindow(m_hWnd, GW_OWNER);
    ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
    ::EnableWindow(hWndOwner, FALSE);
    MSG msg = {};
    bool quit = false;
    while (::IsWindow(m_hWnd)) {
        BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            break;
        }
        if (got == -1) break;
        if (msg.message == WM_CLOSE && msg.hwnd == m_hWnd) {
            nRet = static_cast<UINT>(msg.wParam);
            ::EnableWindow(hWndOwner, TRUE);
            ::SetFocus(hWndOwner);
        }
        if (!CPaintManagerUI::TranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    ::EnableWindow(hWndOwner, TRUE);
    ::SetFocus(hWndOwner);
    if (quit) ::PostQuitMessage(static_cast<int>(msg.wParam));
    return nRet;
}

void CWindowWnd::Close(UINT nRet)
{
    if (!::IsWindow(m_hWnd)) return;
    ::PostMessageW(m_hWnd, WM_CLOSE, static_cast<WPARAM>(nRet), 0);
}

void CWindowWnd::CenterWindow()
{
    if (!::IsWindow(m_hWnd)) return;
    RECT rcDlg = {};
    ::GetWindowRect(m_hWnd, &rcDlg);
    HWND hWndOwner = ::GetWindow(m_hWnd, GW_OWNER);
    HMONITOR monitor = ::MonitorFromWindow(hWndOwner ? hWndOwner : m_hWnd, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(monitor, &info);
    const RECT rcArea = info.rcWork;
    RECT rcCenter = rcArea;
    if (hWndOwner) ::GetWindowRect(hWndOwner, &rcCenter);

    const int dlgWidth = rcDlg.right - rcDlg.left;
    const int dlgHeight = rcDlg.bottom - rcDlg.top;
    int xLeft = (rcCenter.left + rcCenter.right) / 2 - dlgWidth / 2;
    int yTop = (rcCenter.top + rcCenter.bottom) / 2 - dlgHeight / 2;

    if (xLeft < rcArea.left)
        xLeft = rcArea.left;
    else if (xLeft + dlgWidth > rcArea.right)
        xLeft = rcArea.right - dlgWidth;
    if (yTop < rcArea.top)
        yTop = rcArea.top;
    else if (yTop + dlgHeight > rcArea.bottom)
        yTop = rcArea.bottom - dlgHeight;
    ::SetWindowPos(m_hWnd, nullptr, xLeft, yTop, -1, -1,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::SetIcon(UINT nRes)
{
    // Shared icons belong to the system, so the window never has to free them.
    HINSTANCE instance = CPaintManagerUI::GetInstance();
    HICON hIcon = static_cast<HICON>(::LoadImageW(
        instance, MAKEINTRESOURCEW(nRes), IMAGE_ICON, ::GetSystemMetrics(SM_CXICON),
        ::GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR | LR_SHARED));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hIcon));
    hIcon = static_cast<HICON>(::LoadImageW(
        instance, MAKEINTRESOURCEW(nRes), IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
        ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR | LR_SHARED));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hIcon));
}

LRESULT CWindowWnd::SendMessageW(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageW(m_hWnd, uMsg, wParam, lParam);
}

LRESULT CWindowWnd::PostMessageW(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageW(m_hWnd, uMsg, wParam, lParam);
}

void CWindowWnd::ResizeClient(int cx, int cy)
{
    RECT rc = {};
    if (!::GetClientRect(m_hWnd, &rc)) return;
    if (cx != -1) rc.right = cx;
    if (cy != -1) rc.bottom = cy;
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE));
    const BOOL hasMenu = (style & WS_CHILD) == 0 && ::GetMenu(m_hWnd) != nullptr;
    if (!::AdjustWindowRectEx(&rc, style, hasMenu, exStyle)) return;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

LRESULT CWindowWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return ::CallWindowProcW(m_OldWndProc, m_hWnd, uMsg, wParam, lParam);
}

void CWindowWnd::OnFinalMessage(HWND /*hWnd*/)
{
}

// Notification pump -------------------------------------------------------

const VENEER_MSGMAP_ENTRY CNotifyPump::messageEntries[] = {
    { L"", L"", VeneerSig::End, nullptr },
};

const VENEER_MSGMAP CNotifyPump::messageMap = { nullptr, &CNotifyPump::messageEntries[0] };

const VENEER_MSGMAP* CNotifyPump::GetBaseMessageMap()
{
    return nullptr;
}

const VENEER_MSGMAP* CNotifyPump::GetMessageMap() const
{
    return &CNotifyPump::messageMap;
}

bool CNotifyPump::AddVirtualWnd(CStdString strName, CNotifyPump* pObject)
{
    if (m_VirtualWndMap.Find(strName.GetData()) != nullptr) return false;
    return m_VirtualWndMap.Insert(strName.GetData(), pObject);
}

bool CNotifyPump::RemoveVirtualWnd(CStdString strName)
{
    if (m_VirtualWndMap.Find(strName.GetData()) == nullptr) return false;
    return m_VirtualWndMap.Remove(strName.GetData());
}

void CNotifyPump::NotifyPump(TNotifyUI& msg)
{
    if (!msg.sVirtualWnd.IsEmpty()) {
        for (int i = 0; i < m_VirtualWndMap.GetSize(); ++i) {
            LPCWSTR key = m_VirtualWndMap.GetAt(i);
            if (key == nullptr || ::_wcsicmp(key, msg.sVirtualWnd.GetData()) != 0) continue;
            // No move-to-front here: that would reorder the map under the walk.
            CNotifyPump* pObject = static_cast<CNotifyPump*>(m_VirtualWndMap.Find(key, false));
            if (pObject && pObject->LoopDispatch(msg)) return;
            break;
        }
    }
    LoopDispatch(msg);
}

bool CNotifyPump::LoopDispatch(TNotifyUI& msg)
{
    const CStdString senderName = msg.pSender ? msg.pSender->GetName() : CStdString();
    for (const VENEER_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        const VENEER_MSGMAP_ENTRY* chosen = nullptr;
        for (const VENEER_MSGMAP_ENTRY* entry = map->lpEntries;
             entry != nullptr && entry->nSig != VeneerSig::End; ++entry) {
            if (entry->sMsgType != msg.sType) continue;
            if (entry->sCtrlName.IsEmpty()) {
                chosen = entry;
                continue;
            }
            if (entry->sCtrlName == senderName) {
                chosen = entry;
                break;
            }
        }
        if (chosen == nullptr || chosen->pfn == nullptr) continue;
        switch (chosen->nSig) {
        case VeneerSig::Params: {
            VENEER_PMSG_PARAMS handler = reinterpret_cast<VENEER_PMSG_PARAMS>(chosen->pfn);
            (this->*handler)(msg.wParam, msg.lParam);
            return true;
        }
        case VeneerSig::Notify:
            (this->*(chosen->pfn))(msg);
            return true;
        default:
            return false;
        }
    }
    return false;
}

}  // namespace Veneer
