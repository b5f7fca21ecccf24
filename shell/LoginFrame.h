#pragma once
// The client's main window: the skinned login picture with its minimise and
// close buttons. Its destruction ends the program.
#include "FrameRef.h"
#include "MicroClientFrame.h"

class CMicroClientWebFrame;

class CMicroClientLogin : public CMicroClientFrame {
public:
    CMicroClientLogin() = default;

    // Null before the web frame exists and once its window is gone.
    CMicroClientWebFrame* GetWebFrame() const { return m_webFrame.Get(); }

protected:
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void InitWindow() override;
    void OnClick(Veneer::TNotifyUI& msg) override;
    Veneer::CStdString GetSkinFileName() const override { return L"login.xml"; }
    LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

private:
    void PlaceControl(LPCWSTR name, const RECT& rect);
    void CreateWebFrame();
    void KeepWebFrameAbove();

    // The web frame deletes itself with its window; this frame only owns the window.
    CFrameRef<CMicroClientWebFrame> m_webFrame;
    bool m_bWebFrameLifted { false };
    int m_liftCount { 0 };
};

// The one login frame of the process, allocated on first use; null only when
// allocation fails.
CMicroClientLogin* GetLoginFrame();
