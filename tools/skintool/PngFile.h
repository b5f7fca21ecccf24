#pragma once
// Writes a 32-bit DIB section (as the render engine makes them) to a PNG file.
#include <windows.h>

#include <string>

namespace SkinTool {

bool WriteBitmapPng(HBITMAP bitmap, const std::wstring& path);

}  // namespace SkinTool
