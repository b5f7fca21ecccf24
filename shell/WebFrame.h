#pragma once
// The login web frame: a borderless popup owned by the login frame and laid
// over it, showing the operator's login page with pure green see-through. It
// starts play when the page navigates to an address with the play keyword.
#include "FrameRef.h"
#include "MicroClientFrame.h"
#include "PageNotice.h"
#include "hosting/WebBrowserUI.h"

class CMicroClientPlayFrame;

class CMicroClientWebFrame : public CMicroClientFrame,
                             public Veneer::CWebBrowserEventHandler,
                             public CFrameLifetime {
public:
    CMicroClientWebFrame() = default;
    ~CMicroClientWebFrame() override;

    // Places the window relative to the login frame's window rectangle; the
    // first call records the offset and size.
    void FollowLoginFrame(int left, int top, int right, int bottom);

    // Puts the window directly above its owner, the login frame, and nowhere
    // higher: other programs' windows over the login frame stay over it.
    void StackAboveOwner();

    // The play detection: an address with the play keyword is cancelled and
    // opens (or shows again) the play frame instead.
    void BeforeNavigate2(IDispatch* pDisp, VARIANT*& url, VARIANT*& Flags, VARIANT*& TargetFrameName,
        VARIANT*& PostData, VARIANT*& Headers, VARIANT_BOOL*& Cancel) override;

    // A page that cannot be loaded is not shown: the frame's notice takes
    // its place, and its retry button loads the page again.
    void NavigateError(IDispatch* pDisp, VARIANT*& url, VARIANT*& TargetFrameName,
        VARIANT*& StatusCode, VARIANT_BOOL*& Cancel) override;

    // Null before play starts and once the play frame's window is gone.
    CMicroClientPlayFrame* GetPlayFrame() const { return m_playFrame.Get(); }

protected:
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void InitWindow() override;
    Veneer::CStdString GetSkinFileName() const override { return L"loginWebWnd.xml"; }
    LRESULT OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    void OnClick(Veneer::TNotifyUI& msg) override;

    // Creates the play frame's window on `address`; false leaves no play frame.
    virtual bool OpenPlayFrame(const Veneer::CStdString& address);

private:
    // Starts moving the login frame, as a drag on its own picture does.
    void DragLoginFrame();

    // Not owned as a window child: this frame destroys its window when it goes.
    CFrameRef<CMicroClientPlayFrame> m_playFrame;
    Veneer::CWebBrowserUI* m_pBrowser { nullptr };
    CPageNotice m_notice;
    int m_offsetLeft { 0 };
    int m_offsetTop { 0 };
    int m_height { 0 };
    int m_width { 0 };
};

// True when `address` contains `keyword` (case-sensitive; an empty keyword
// matches every address).
bool IsPlayAddress(const Veneer::CStdString& address, const Veneer::CStdString& keyword);

// The play frame's start address: everything from the first "http://" on, or
// the whole address when it starts with it or has none.
Veneer::CStdString PlayStartAddress(const Veneer::CStdString& address);
