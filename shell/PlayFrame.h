#pragma once
// The play frame: the resizable skinned window showing the game page, with
// its title bar buttons and the notification-area icon.
#include "TrayIcon.h"
#include "engine/WindowImplBase.h"
#include "hosting/WebBrowserUI.h"

class CMicroClientPlayFrame : public Veneer::WindowImplBase, public Veneer::CWebBrowserEventHandler {
public:
    CMicroClientPlayFrame() = default;
    ~CMicroClientPlayFrame() override;

    // The game page; set before Create, read by InitWindow.
    void SetStartUrl(const Veneer::CStdString& url) { m_sStartUrl = url; }
    const Veneer::CStdString& GetStartUrl() const { return m_sStartUrl; }

    // Asks whether to leave the game; Yes ends the client. While the question
    // is open, or once the exit is under way, further calls do nothing.
    void ConfirmExit();

    // Cleared when the object deletes itself, so its creator never keeps a
    // dangling pointer.
    void SetSelfSlot(CMicroClientPlayFrame** slot) { m_ppSelfSlot = slot; }

    void NavigateComplete2(IDispatch* pDisp, VARIANT*& url, const Veneer::CStdString& sName) override;

protected:
    LPCWSTR GetFrameClassName() const override { return L"Tarrowin"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;
    void InitWindow() override;
    void OnClick(Veneer::TNotifyUI& msg) override;
    Veneer::CStdString GetSkinDirectory() const override { return L".\\"; }
    Veneer::CStdString GetSkinFileName() const override { return L"playGameWindow.xml"; }
    LRESULT ResponseDefaultKeyEvent(WPARAM wParam) override;
    Veneer::UILIB_RESOURCETYPE GetResourceType() const override { return Veneer::SKIN_ZIP_RESOURCE; }
    UINT GetResourceID() const override;

private:
    void OpenCustomerService() const;
    void ShowIfHidden();

    Veneer::CWebBrowserUI* m_pBrowser { nullptr };
    CTrayIcon m_trayIcon;
    HICON m_hTrayIcon { nullptr };  // ours: loaded unshared
    Veneer::CControlUI* m_pMaxBtn { nullptr };
    Veneer::CControlUI* m_pRestoreBtn { nullptr };
    Veneer::CStdString m_sStartUrl;

    bool m_bAskingExit { false };
    bool m_bExiting { false };
    // Set while the exit question is open: tells ConfirmExit that the frame
    // went away underneath its message box.
    bool* m_pGoneFlag { nullptr };
    CMicroClientPlayFrame** m_ppSelfSlot { nullptr };
};
