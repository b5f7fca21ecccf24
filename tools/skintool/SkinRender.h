#pragma once
// Paints a built skin off-screen with the real render engine.
#include <windows.h>

#include <string>

namespace SkinTool {

class SkinWindow;

struct RenderOptions {
    SIZE size { 0, 0 };    // 0,0: the Window element's own size
    std::wstring hot;      // control shown hot (pointer over it)
    std::wstring pushed;   // control shown pushed (button held down)
};

// Lays the tree out at the size, paints it and writes the PNG. False with
// the reason on failure.
bool RenderSkin(SkinWindow& window, const RenderOptions& options, const std::wstring& png, std::wstring& why);

}  // namespace SkinTool
