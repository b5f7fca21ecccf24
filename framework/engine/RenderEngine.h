#pragma once
#include "foundation/VeneerApi.h"
// Static drawing routines shared by every control: image loading and the
// image string, nine-grid drawing, colour fills and gradients, lines, plain
// and rich text, and the clip record controls paint inside.
#include <windows.h>

#include "foundation/StdString.h"

namespace Veneer {

class CPaintManagerUI;
class CControlUI;

// A file name or a numeric resource id (kept as MAKEINTRESOURCE pseudo-pointer).
class VENEER_API STRINGorID {
public:
    STRINGorID(LPCWSTR text) : m_lpstr(text) {}
    STRINGorID(UINT id) : m_lpstr(MAKEINTRESOURCEW(id)) {}
    LPCWSTR m_lpstr { nullptr };
};

// One loaded image: a 32-bit top-down DIB section, BGRA bytes, colour
// premultiplied by alpha. The record owns the bitmap (FreeImage deletes both).
struct VENEER_API TImageInfo {
    HBITMAP hBitmap { nullptr };
    int nX { 0 };                 // width in pixels
    int nY { 0 };                 // height in pixels
    bool alphaChannel { false };  // some pixel is not opaque: draw by blending
    CStdString sResType;          // module resource type, empty for files
    DWORD dwMask { 0 };           // mask colour the image was loaded with
};

// The clip in force while a control paints; the destructor puts back the
// clip that was there before.
class VENEER_API CRenderClip {
public:
    CRenderClip() = default;
    ~CRenderClip();
    CRenderClip(const CRenderClip&) = delete;
    CRenderClip& operator=(const CRenderClip&) = delete;

    RECT rcItem { 0, 0, 0, 0 };
    HDC hDC { nullptr };
    HRGN hRgn { nullptr };
    HRGN hOldRgn { nullptr };

    static void GenerateClip(HDC hDC, RECT rc, CRenderClip& clip);
    static void GenerateRoundClip(HDC hDC, RECT rc, RECT rcItem, int width, int height, CRenderClip& clip);
    static void UseOldClipBegin(HDC hDC, CRenderClip& clip);
    static void UseOldClipEnd(HDC hDC, CRenderClip& clip);
};

class VENEER_API CRenderEngine {
public:
    // Colours are 0xAARRGGBB. H is a hue shift (180 = none), S and L scale
    // saturation and lightness in percent (100 = none).
    static DWORD AdjustColor(DWORD dwColor, short H, short S, short L);

    // type == null: a skin file (folder or archive, then the name as a path);
    // otherwise a resource of that type in the resource module. Caller owns
    // the result; null on any failure.
    static TImageInfo* LoadImage(STRINGorID bitmap, LPCWSTR type = nullptr, DWORD mask = 0);
    static TImageInfo* LoadImageFromHICON(HICON hIcon);
    static void FreeImage(TImageInfo* bitmap);

    // Nine-grid draw of rcBmpPart of hBitmap into rc; pieces outside rcPaint
    // are skipped. The corner rectangle holds the four corner sizes.
    static void DrawImage(HDC hDC, HBITMAP hBitmap, const RECT& rc, const RECT& rcPaint,
        const RECT& rcBmpPart, const RECT& rcCorners, bool alphaChannel, BYTE uFade = 255,
        bool hole = false, bool xtiled = false, bool ytiled = false);
    // False only for a null manager or context.
    static bool DrawImageString(HDC hDC, CPaintManagerUI* pManager, const RECT& rcItem,
        const RECT& rcPaint, LPCWSTR pStrImage, LPCWSTR pStrModify = nullptr);

    static void DrawColor(HDC hDC, const RECT& rc, DWORD color);
    static void DrawGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical, int nSteps);
    static void DrawLine(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor, int nStyle = PS_SOLID);
    static void DrawRect(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor);
    static void DrawRoundRect(HDC hDC, const RECT& rc, int nSize, int width, int height, DWORD dwPenColor);

    // Plain text through DrawTextW (DT_NOPREFIX always added).
    static void DrawText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, LPCWSTR pstrText,
        DWORD dwTextColor, int iFont, UINT uStyle);
    // Rich text. On entry nLinkRects is the capacity of prcLinks/sLinks (both
    // may be null with capacity 0); on return the number of link rectangles.
    static void DrawHtmlText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, LPCWSTR pstrText,
        DWORD dwTextColor, RECT* prcLinks, CStdString* sLinks, int& nLinkRects, UINT uStyle);
    static SIZE GetTextSize(HDC hDC, CPaintManagerUI* pManager, LPCWSTR pstrText, int iFont, UINT uStyle);

    // A 32-bit bottom-up DIB section of rc's size holding what pControl paints there.
    static HBITMAP GenerateBitmap(CPaintManagerUI* pManager, CControlUI* pControl, RECT rc);
};

}  // namespace Veneer
