#pragma once
// For skin checks: the images an image string names, without drawing them.
#include <windows.h>

namespace Veneer {

// Calls `visit` with each image (name, resource type or null, mask) that
// drawing the image string would load, in order. False when the string is
// malformed (drawing then stops where parsing stopped).
using ImageStringVisitor = void (*)(void* context, LPCWSTR name, LPCWSTR type, DWORD mask);
bool ListImageStringImages(LPCWSTR image, ImageStringVisitor visit, void* context);

}  // namespace Veneer
