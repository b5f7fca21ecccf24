#pragma once
#include "foundation/VeneerApi.h"
// The platform RECT, SIZE and POINT with operations added; passed wherever
// the platform type is expected.
#include <windows.h>

namespace Veneer {

class VENEER_API CRect : public tagRECT {
public:
    CRect();
    CRect(const RECT& src);
    CRect(int iLeft, int iTop, int iRight, int iBottom);

    int GetWidth() const { return right - left; }
    int GetHeight() const { return bottom - top; }
    void Empty();
    bool IsNull() const;
    // Widens to include rc without testing for empty rectangles.
    void Join(const RECT& rc);
    void ResetOffset();
    void Normalize();
    void Offset(int cx, int cy);
    void Inflate(int cx, int cy);
    void Deflate(int cx, int cy);
    void Union(const RECT& rc);
};

class VENEER_API CSize : public tagSIZE {
public:
    CSize();
    CSize(const SIZE& src);
    CSize(const RECT& rc);
    CSize(int cx, int cy);
};

class VENEER_API CPoint : public tagPOINT {
public:
    CPoint();
    CPoint(const POINT& src);
    CPoint(int x, int y);
    // From a packed mouse-message parameter: signed 16-bit x (low) and y (high).
    explicit CPoint(LPARAM lParam);
};

}  // namespace Veneer
