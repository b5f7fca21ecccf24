#pragma once
// GDI+ headers use unqualified min/max, which NOMINMAX removes from
// <windows.h>. Every file that needs GDI+ includes this instead of <gdiplus.h>.
#include <windows.h>
#include <algorithm>

namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus

#include <gdiplus.h>
