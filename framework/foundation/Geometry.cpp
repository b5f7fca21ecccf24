#include "foundation/Geometry.h"

#include <algorithm>

namespace Veneer {

CRect::CRect()
{
    left = top = right = bottom = 0;
}

CRect::CRect(const RECT& src)
{
    left = src.left;
    top = src.top;
    right = src.right;
    bottom = src.bottom;
}

CRect::CRect(int iLeft, int iTop, int iRight, int iBottom)
{
    left = iLeft;
    top = iTop;
    right = iRight;
    bottom = iBottom;
}

void CRect::Empty()
{
    left = top = right = bottom = 0;
}

bool CRect::IsNull() const
{
    return left == 0 && top == 0 && right == 0 && bottom == 0;
}

void CRect::Join(const RECT& rc)
{
    left = std::min(left, rc.left);
    top = std::min(top, rc.top);
    right = std::max(right, rc.right);
    bottom = std::max(bottom, rc.bottom);
}

void CRect::ResetOffset()
{
    ::OffsetRect(this, -left, -top);
}

void CRect::Normalize()
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
}

void CRect::Offset(int cx, int cy)
{
    ::OffsetRect(this, cx, cy);
}

void CRect::Inflate(int cx, int cy)
{
    ::InflateRect(this, cx, cy);
}

void CRect::Deflate(int cx, int cy)
{
    ::InflateRect(this, -cx, -cy);
}

void CRect::Union(const RECT& rc)
{
    const RECT mine = *this;
    ::UnionRect(this, &mine, &rc);
}

CSize::CSize()
{
    cx = cy = 0;
}

CSize::CSize(const SIZE& src)
{
    cx = src.cx;
    cy = src.cy;
}

CSize::CSize(const RECT& rc)
{
    cx = rc.right - rc.left;
    cy = rc.bottom - rc.top;
}

CSize::CSize(int x, int y)
{
    cx = x;
    cy = y;
}

CPoint::CPoint()
{
    x = y = 0;
}

CPoint::CPoint(const POINT& src)
{
    x = src.x;
    y = src.y;
}

CPoint::CPoint(int px, int py)
{
    x = px;
    y = py;
}

CPoint::CPoint(LPARAM lParam)
{
    x = static_cast<short>(LOWORD(lParam));
    y = static_cast<short>(HIWORD(lParam));
}

}  // namespace Veneer
