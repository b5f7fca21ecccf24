#include "TrayIcon.h"

#include <cwchar>

CTrayIcon::CTrayIcon()
{
    ::ZeroMemory(&m_data, sizeof(m_data));
}

void CTrayIcon::Add(HWND hOwner, HICON hIcon, LPCWSTR pstrTip)
{
    m_hOwner = hOwner;
    m_hIcon = hIcon;
    m_data.cbSize = sizeof(NOTIFYICONDATAW);
    m_data.hWnd = hOwner;
    m_data.uID = 0;
    m_data.hIcon = hIcon;
    m_data.uFlags = NIF_MESSAGE | NIF_ICON;
    m_data.uCallbackMessage = kTrayCallbackMessage;
    if (pstrTip != nullptr) {
        m_data.uFlags |= NIF_TIP;
        // The field keeps a terminator: a longer name is cut, never overrun.
        const size_t field = sizeof(m_data.szTip) / sizeof(m_data.szTip[0]);
        ::wcsncpy(m_data.szTip, pstrTip, field - 1);
        m_data.szTip[field - 1] = L'\0';
    }
    ::Shell_NotifyIconW(NIM_ADD, &m_data);
}

void CTrayIcon::AddAgain()
{
    if (m_data.hWnd == nullptr) return;
    ::Shell_NotifyIconW(NIM_ADD, &m_data);
}

void CTrayIcon::Remove()
{
    if (m_data.hWnd != nullptr) {
        ::Shell_NotifyIconW(NIM_DELETE, &m_data);
        ::ZeroMemory(&m_data, sizeof(m_data));
    }
    m_hOwner = nullptr;
}

void CTrayIcon::TrackMenu(HINSTANCE instance, UINT menuId) const
{
    if (m_hOwner == nullptr) return;
    HMENU menu = ::LoadMenuW(instance, MAKEINTRESOURCEW(menuId));
    if (menu == nullptr) return;
    HMENU popup = ::GetSubMenu(menu, 0);
    if (popup != nullptr) {
        POINT pt = {};
        ::GetCursorPos(&pt);
        // Without the owner in the foreground the menu would not close when
        // the user clicks elsewhere; the null message lets it close at once.
        ::SetForegroundWindow(m_hOwner);
        ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, pt.x, pt.y, 0, m_hOwner, nullptr);
        ::PostMessageW(m_hOwner, WM_NULL, 0, 0);
    }
    ::DestroyMenu(menu);
}
