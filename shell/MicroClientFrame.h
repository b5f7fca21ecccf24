#pragma once
// What the client's three frames answer alike: one window class, their skin
// from the zip resource, no default keys, and an object that goes with its
// window.
#include "ShellResources.h"
#include "engine/WindowImplBase.h"

class CMicroClientFrame : public Veneer::WindowImplBase {
protected:
    LPCWSTR GetFrameClassName() const override { return L"Tarrowin"; }
    Veneer::CStdString GetSkinDirectory() const override { return L".\\"; }
    Veneer::UILIB_RESOURCETYPE GetResourceType() const override { return Veneer::SKIN_ZIP_RESOURCE; }
    UINT GetResourceID() const override { return IDR_SKIN; }
    // Neither Enter nor Escape closes a frame: not the login frame, not the
    // page laid over it, not the game.
    LRESULT ResponseDefaultKeyEvent(WPARAM /*wParam*/) override { return 0; }
    // Frames delete themselves with their windows.
    void OnFinalMessage(HWND /*hWnd*/) override { delete this; }
};
