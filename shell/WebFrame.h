#pragma once
// The login web frame: a borderless popup owned by the login frame and laid
// over it, showing the operator's login page with pure green see-through. It
// starts play when the page navigates to an address with the play keyword.
#include "engine/WindowImplBase.h"
#include "hosting/WebBrowserUI.h"

class CMicroClientPlayFrame;

class CMicroClientWebFrame : public Veneer::WindowImplBase, public Veneer::CWebBrowserEventHandler {
public:
    CMicroClientWebFrame() = default;
    ~CMicroClientWebFrame() override;

    // Places the window relative to the login frame's window rectangle; the
    // first call records the offset and size.
    void FollowLoginFrame(int left, int top, int right, int bottom);

    // The play detection: an address with the play keyword is cancelled and
    // opens (or shows again) the play frame instead.
    void BeforeNavigate2(IDispatch* pDisp, VARIANT*& url, VARIANT*& Flags, VARIANT*& TargetFrameName,
        VARIANT*& PostData, VARIANT*& Headers, VARIANT_BOOL*& Cancel) override;

    CMicroClientPlayFrame* GetPlayFrame() const { return m_pPlayFrame; }

protected:
    LPCWSTR GetFrameClassName() const override { return L"Tarrowin"; }
    void OnFinalMessage(HWND hWnd) override;
    void InitWindow() override;
    Veneer::CStdString GetSkinDirectory() const override { return L".\\"; }
    Veneer::CStdString GetSkinFileName() const override { return L"loginWebWnd.xml"; }
    Veneer::UILIB_RESOURCETYPE GetResourceType() const override { return Veneer::SKIN_ZIP_RESOURCE; }
    UINT GetResourceID() const override;
    LRESULT OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

    // Creates the play frame's window on `address`; false leaves no play frame.
    virtual bool OpenPlayFrame(const Veneer::CStdString& address);

private:
    // Not owned as a window child: this frame destroys its window when it goes.
    CMicroClientPlayFrame* m_pPlayFrame { nullptr };
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
