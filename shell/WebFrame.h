#pragma once
// The login web frame: a borderless popup owned by the login frame and laid
// over it, showing the operator's login page with pure green see-through.
#include "engine/WindowImplBase.h"

class CMircroClientWebFrame : public Veneer::WindowImplBase {
public:
    CMircroClientWebFrame() = default;

    // Places the window relative to the login frame's window rectangle; the
    // first call records the offset and size.
    void FollowLoginFrame(int left, int top, int right, int bottom);

protected:
    LPCWSTR GetFrameClassName() const override { return L"Tarrowin"; }
    void OnFinalMessage(HWND hWnd) override;
    void InitWindow() override;
    Veneer::CDuiString GetSkinDirectory() const override { return L".\\"; }
    Veneer::CDuiString GetSkinFileName() const override { return L"loginWebWnd.xml"; }
    Veneer::UILIB_RESOURCETYPE GetResourceType() const override { return Veneer::SKIN_ZIP_RESOURCE; }
    UINT GetResourceID() const override;
    LRESULT OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

private:
    int m_offsetLeft { 0 };
    int m_offsetTop { 0 };
    int m_height { 0 };
    int m_width { 0 };
};
