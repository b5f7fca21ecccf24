#pragma once
// The play frame's icon in the notification area.
#include <windows.h>
#include <shellapi.h>

// Callback message the icon sends to its owner window; lParam is the mouse message.
constexpr UINT kTrayCallbackMessage = WM_USER + 1;

class CTrayIcon {
public:
    CTrayIcon();
    ~CTrayIcon() = default;
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // Adds the icon; a tip longer than the record's field is cut to fit.
    void Add(HWND hOwner, HICON hIcon, LPCWSTR pstrTip);
    void Remove();
    // Adds the icon once more with the same record: a restarted shell has
    // forgotten it. Does nothing when the icon is not added.
    void AddAgain();

    // Shows menu resource `menuId`'s first submenu at the cursor for the owner
    // window; the chosen item arrives at the owner as WM_COMMAND.
    void TrackMenu(HINSTANCE instance, UINT menuId) const;

    bool IsAdded() const { return m_data.hWnd != nullptr; }
    HWND GetOwner() const { return m_hOwner; }
    const NOTIFYICONDATAW& GetData() const { return m_data; }

private:
    HWND m_hOwner { nullptr };
    HICON m_hIcon { nullptr };
    NOTIFYICONDATAW m_data {};
};
