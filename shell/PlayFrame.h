#pragma once
// The play frame: the resizable skinned window showing the game page, with
// its title bar buttons and the notification-area icon.
#include "FrameRef.h"
#include "MicroClientFrame.h"
#include "PageNotice.h"
#include "TrayIcon.h"
#include "hosting/WebBrowserUI.h"

class CMicroClientPlayFrame : public CMicroClientFrame,
                              public Veneer::CWebBrowserEventHandler,
                              public CFrameLifetime {
public:
    CMicroClientPlayFrame() = default;
    ~CMicroClientPlayFrame() override;

    // The game page; set before Create, read by InitWindow.
    void SetStartUrl(const Veneer::CStdString& url) { m_sStartUrl = url; }
    const Veneer::CStdString& GetStartUrl() const { return m_sStartUrl; }

    // Asks whether to leave the game; Yes ends the client. While the question
    // is open, or once the exit is under way, further calls do nothing.
    void ConfirmExit();

    void NavigateComplete2(IDispatch* pDisp, VARIANT*& url, const Veneer::CStdString& sName) override;

    // A game page that cannot be loaded gives way to the frame's notice; the
    // refresh button loads it again.
    void NavigateError(IDispatch* pDisp, VARIANT*& url, VARIANT*& TargetFrameName,
        VARIANT*& StatusCode, VARIANT_BOOL*& Cancel) override;

protected:
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void InitWindow() override;
    void OnClick(Veneer::TNotifyUI& msg) override;
    Veneer::CStdString GetSkinFileName() const override { return L"playGameWindow.xml"; }

private:
    void OpenCustomerService() const;
    void ShowIfHidden();
    void Reload();

    Veneer::CWebBrowserUI* m_pBrowser { nullptr };
    CTrayIcon m_trayIcon;
    HICON m_hTrayIcon { nullptr };  // ours: loaded unshared
    Veneer::CControlUI* m_pMaxBtn { nullptr };
    Veneer::CControlUI* m_pRestoreBtn { nullptr };
    Veneer::CStdString m_sStartUrl;
    CPageNotice m_notice;
    // Broadcast by a restarted shell, whose notification area starts empty.
    const UINT m_uTaskbarCreated { ::RegisterWindowMessageW(L"TaskbarCreated") };

    bool m_bAskingExit { false };
    bool m_bExiting { false };
};
