#pragma once
// IntersectRect, UnionRect and IsRectEmpty with the platform's results,
// inline: a layout pass calls them a few times a control, and through the
// import table they cost about ten times the arithmetic.
#include <windows.h>

namespace Veneer {
namespace RectMath {

inline bool IsEmpty(const RECT& rc) { return rc.right <= rc.left || rc.bottom <= rc.top; }

inline bool Intersect(RECT& out, const RECT& a, const RECT& b)
{
    if (IsEmpty(a) || IsEmpty(b) || a.left >= b.right || b.left >= a.right || a.top >= b.bottom
        || b.top >= a.bottom) {
        out = RECT { 0, 0, 0, 0 };
        return false;
    }
    out.left = a.left > b.left ? a.left : b.left;
    out.top = a.top > b.top ? a.top : b.top;
    out.right = a.right < b.right ? a.right : b.right;
    out.bottom = a.bottom < b.bottom ? a.bottom : b.bottom;
    return true;
}

inline bool Intersects(const RECT& a, const RECT& b)
{
    RECT unused;
    return Intersect(unused, a, b);
}

inline bool Union(RECT& out, const RECT& a, const RECT& b)
{
    if (IsEmpty(a)) {
        if (IsEmpty(b)) {
            out = RECT { 0, 0, 0, 0 };
            return false;
        }
        out = b;
        return true;
    }
    if (IsEmpty(b)) {
        out = a;
        return true;
    }
    out.left = a.left < b.left ? a.left : b.left;
    out.top = a.top < b.top ? a.top : b.top;
    out.right = a.right > b.right ? a.right : b.right;
    out.bottom = a.bottom > b.bottom ? a.bottom : b.bottom;
    return true;
}

// `rc` less a padding, whose four fields are the widths taken off each side.
inline RECT Pad(const RECT& rc, const RECT& padding)
{
    return RECT { rc.left + padding.left, rc.top + padding.top, rc.right - padding.right,
        rc.bottom - padding.bottom };
}

}  // namespace RectMath
}  // namespace Veneer
