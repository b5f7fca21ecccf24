// Bitmap drawing (nine-grid, tiling, blending), colour fills, gradients,
// lines, colour adjustment and the clip record.
#include "engine/RenderEngine.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "engine/GdiHolders.h"
#include "engine/RenderEngineInternal.h"

namespace Veneer {
namespace RenderInternal {

namespace {

struct TMsimg32Routines {
    AlphaBlendProc alphaBlend { nullptr };
    GradientFillProc gradientFill { nullptr };
};

const TMsimg32Routines& Msimg32()
{
    // Function-local static: resolved once, on first use, for the process.
    static const TMsimg32Routines routines = [] {
        TMsimg32Routines found;
        HMODULE module = ::GetModuleHandleW(L"msimg32.dll");
        if (module == nullptr) module = ::LoadLibraryW(L"msimg32.dll");
        if (module != nullptr) {
            found.alphaBlend = reinterpret_cast<AlphaBlendProc>(
                reinterpret_cast<void*>(::GetProcAddress(module, "AlphaBlend")));
            found.gradientFill = reinterpret_cast<GradientFillProc>(
                reinterpret_cast<void*>(::GetProcAddress(module, "GradientFill")));
        }
        if (found.alphaBlend == nullptr) found.alphaBlend = &SoftwareAlphaBlend;
        return found;
    }();
    return routines;
}

}  // namespace

HBITMAP CreateBottomUpDib32(HDC hdc, int width, int height, void** bits)
{
    BITMAPINFO bmi {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    bmi.bmiHeader.biSizeImage = static_cast<DWORD>(width) * static_cast<DWORD>(height) * 4;
    return ::CreateDIBSection(hdc, &bmi, DIB_RGB_COLORS, bits, nullptr, 0);
}

AlphaBlendProc GetAlphaBlend()
{
    return Msimg32().alphaBlend;
}

GradientFillProc GetGradientFill()
{
    return Msimg32().gradientFill;
}

HBITMAP CreateDib32(int width, int height, void** bits)
{
    if (width <= 0 || height <= 0) return nullptr;
    BITMAPINFO bmi {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    bmi.bmiHeader.biSizeImage = static_cast<DWORD>(width) * static_cast<DWORD>(height) * 4;
    return ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, bits, nullptr, 0);
}

BOOL WINAPI SoftwareAlphaBlend(HDC hdcDest, int xDest, int yDest, int cxDest, int cyDest,
    HDC hdcSrc, int xSrc, int ySrc, int cxSrc, int cySrc, BLENDFUNCTION blend)
{
    if (cxDest <= 0 || cyDest <= 0) return FALSE;
    CMemDCHolder memDC(hdcDest);
    if (!memDC) return FALSE;

    void* srcBits = nullptr;
    CBitmapHolder srcBitmap(CreateBottomUpDib32(hdcDest, cxDest, cyDest, &srcBits));
    void* dstBits = nullptr;
    CBitmapHolder dstBitmap(CreateBottomUpDib32(hdcDest, cxDest, cyDest, &dstBits));
    if (!srcBitmap || !dstBitmap || srcBits == nullptr || dstBits == nullptr) return FALSE;

    {
        CSelectObjectScope select(memDC.Get(), srcBitmap.Get());
        ::StretchBlt(memDC.Get(), 0, 0, cxDest, cyDest, hdcSrc, xSrc, ySrc, cxSrc, cySrc, SRCCOPY);
    }
    CSelectObjectScope select(memDC.Get(), dstBitmap.Get());
    ::BitBlt(memDC.Get(), 0, 0, cxDest, cyDest, hdcDest, xDest, yDest, SRCCOPY);
    ::GdiFlush();

    // Premultiplied source, as AlphaBlend defines it: the constant alpha
    // scales every source channel, the destination keeps (1 - a_src * c).
    const int constant = blend.SourceConstantAlpha;
    const bool perPixel = (blend.AlphaFormat & AC_SRC_ALPHA) != 0;
    const BYTE* src = static_cast<const BYTE*>(srcBits);
    BYTE* dst = static_cast<BYTE*>(dstBits);
    const size_t count = static_cast<size_t>(cxDest) * static_cast<size_t>(cyDest);
    for (size_t i = 0; i < count; ++i, src += 4, dst += 4) {
        const int srcAlpha = perPixel ? src[3] : 255;
        const int coverage = (srcAlpha * constant + 127) / 255;  // 0..255
        for (int c = 0; c < 4; ++c) {
            const int source = (c == 3) ? srcAlpha : src[c];
            const int value = (source * constant + dst[c] * (255 - coverage) + 127) / 255;
            dst[c] = static_cast<BYTE>(std::min(value, 255));
        }
    }
    ::BitBlt(hdcDest, xDest, yDest, cxDest, cyDest, memDC.Get(), 0, 0, SRCCOPY);
    return TRUE;
}

}  // namespace RenderInternal

using namespace RenderInternal;

namespace {

// One nine-grid piece: skipped when empty or outside the paint rectangle.
class CPieceDrawer {
public:
    CPieceDrawer(HDC hdc, HDC memDC, const RECT& paint, bool blended, BYTE fade)
        : m_hdc(hdc), m_memDC(memDC), m_paint(paint), m_blended(blended)
    {
        m_blend.BlendOp = AC_SRC_OVER;
        m_blend.BlendFlags = 0;
        m_blend.SourceConstantAlpha = fade;
        m_blend.AlphaFormat = AC_SRC_ALPHA;
    }

    bool Meets(const RECT& dest) const
    {
        RECT overlap {};
        return ::IntersectRect(&overlap, &dest, &m_paint) != FALSE;
    }

    // Stretched copy of (sx, sy, sw, sh) into (dx, dy, dw, dh).
    void Draw(int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh, bool unstretchedCopy = false) const
    {
        if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
        const RECT dest { dx, dy, dx + dw, dy + dh };
        if (!Meets(dest)) return;
        if (m_blended) {
            BlendPremultiplied(m_hdc, dx, dy, dw, dh, m_memDC, sx, sy, sw, sh, m_blend);
        } else if (unstretchedCopy || (dw == sw && dh == sh)) {
            // An unscaled piece is a plain copy; StretchBlt in HALFTONE mode
            // filters it pixel by pixel for nothing.
            ::BitBlt(m_hdc, dx, dy, dw, dh, m_memDC, sx, sy, SRCCOPY);
        } else {
            ::StretchBlt(m_hdc, dx, dy, dw, dh, m_memDC, sx, sy, sw, sh, SRCCOPY);
        }
    }

private:
    HDC m_hdc { nullptr };
    HDC m_memDC { nullptr };
    RECT m_paint { 0, 0, 0, 0 };
    bool m_blended { false };
    BLENDFUNCTION m_blend {};
};

void DrawCentre(const CPieceDrawer& piece, const RECT& dst, const RECT& src, bool xtiled, bool ytiled)
{
    const int dw = dst.right - dst.left;
    const int dh = dst.bottom - dst.top;
    const int sw = src.right - src.left;
    const int sh = src.bottom - src.top;
    if (dw <= 0 || dh <= 0 || !piece.Meets(dst)) return;
    // A tiled axis with no source extent has nothing to repeat: draw nothing.
    if ((xtiled && sw <= 0) || (ytiled && sh <= 0)) return;

    if (!xtiled && !ytiled) {
        piece.Draw(dst.left, dst.top, dw, dh, src.left, src.top, sw, sh);
    } else if (ytiled && !xtiled) {
        const int tiles = (dh + sh - 1) / sh;
        for (int j = 0; j < tiles; ++j) {
            const int top = dst.top + sh * j;
            const int bottom = std::min(top + sh, static_cast<int>(dst.bottom));
            piece.Draw(dst.left, top, dw, bottom - top, src.left, src.top, sw, bottom - top);
        }
    } else if (xtiled && !ytiled) {
        const int tiles = (dw + sw - 1) / sw;
        for (int i = 0; i < tiles; ++i) {
            const int left = dst.left + sw * i;
            const int right = std::min(left + sw, static_cast<int>(dst.right));
            piece.Draw(left, dst.top, right - left, dh, src.left, src.top, right - left, sh);
        }
    } else {
        const int rows = (dh + sh - 1) / sh;
        const int columns = (dw + sw - 1) / sw;
        for (int j = 0; j < rows; ++j) {
            const int top = dst.top + sh * j;
            const int height = std::min(top + sh, static_cast<int>(dst.bottom)) - top;
            for (int i = 0; i < columns; ++i) {
                const int left = dst.left + sw * i;
                const int width = std::min(left + sw, static_cast<int>(dst.right)) - left;
                piece.Draw(left, top, width, height, src.left, src.top, width, height, true);
            }
        }
    }
}

}  // namespace

void CRenderEngine::DrawImage(HDC hDC, HBITMAP hBitmap, const RECT& rc, const RECT& rcPaint,
    const RECT& rcBmpPart, const RECT& rcCorners, bool alphaChannel, BYTE uFade, bool hole,
    bool xtiled, bool ytiled)
{
    GetAlphaBlend();
    if (hDC == nullptr || hBitmap == nullptr) return;
    CMemDCHolder memDC(hDC);
    if (!memDC) return;
    CSelectObjectScope select(memDC.Get(), hBitmap);
    ::SetStretchBltMode(hDC, HALFTONE);

    const RECT& bmp = rcBmpPart;
    const RECT& cn = rcCorners;
    const RECT innerDst { rc.left + cn.left, rc.top + cn.top, rc.right - cn.right, rc.bottom - cn.bottom };
    const RECT innerSrc { bmp.left + cn.left, bmp.top + cn.top, bmp.right - cn.right, bmp.bottom - cn.bottom };
    const int innerDstW = innerDst.right - innerDst.left;
    const int innerDstH = innerDst.bottom - innerDst.top;
    const int innerSrcW = innerSrc.right - innerSrc.left;
    const int innerSrcH = innerSrc.bottom - innerSrc.top;

    const bool blended = alphaChannel || uFade < 255;
    if (!blended && rc.right - rc.left == bmp.right - bmp.left && rc.bottom - rc.top == bmp.bottom - bmp.top
        && cn.left == 0 && cn.top == 0 && cn.right == 0 && cn.bottom == 0) {
        RECT overlap {};
        if (::IntersectRect(&overlap, &rcPaint, &rc)) {
            ::BitBlt(hDC, overlap.left, overlap.top, overlap.right - overlap.left, overlap.bottom - overlap.top,
                memDC.Get(), bmp.left + overlap.left - rc.left, bmp.top + overlap.top - rc.top, SRCCOPY);
        }
        return;
    }

    const CPieceDrawer piece(hDC, memDC.Get(), rcPaint, blended, uFade);
    if (!hole) DrawCentre(piece, innerDst, innerSrc, xtiled, ytiled);
    if (cn.left > 0 && cn.top > 0) {
        piece.Draw(rc.left, rc.top, cn.left, cn.top, bmp.left, bmp.top, cn.left, cn.top);
    }
    if (cn.top > 0) {
        piece.Draw(innerDst.left, rc.top, innerDstW, cn.top, innerSrc.left, bmp.top, innerSrcW, cn.top);
    }
    if (cn.right > 0 && cn.top > 0) {
        piece.Draw(rc.right - cn.right, rc.top, cn.right, cn.top, bmp.right - cn.right, bmp.top, cn.right, cn.top);
    }
    if (cn.left > 0) {
        piece.Draw(rc.left, innerDst.top, cn.left, innerDstH, bmp.left, innerSrc.top, cn.left, innerSrcH);
    }
    if (cn.right > 0) {
        piece.Draw(rc.right - cn.right, innerDst.top, cn.right, innerDstH, bmp.right - cn.right, innerSrc.top,
            cn.right, innerSrcH);
    }
    if (cn.left > 0 && cn.bottom > 0) {
        piece.Draw(rc.left, rc.bottom - cn.bottom, cn.left, cn.bottom, bmp.left, bmp.bottom - cn.bottom, cn.left,
            cn.bottom);
    }
    if (cn.bottom > 0) {
        piece.Draw(innerDst.left, rc.bottom - cn.bottom, innerDstW, cn.bottom, innerSrc.left, bmp.bottom - cn.bottom,
            innerSrcW, cn.bottom);
    }
    if (cn.right > 0 && cn.bottom > 0) {
        piece.Draw(rc.right - cn.right, rc.bottom - cn.bottom, cn.right, cn.bottom, bmp.right - cn.right,
            bmp.bottom - cn.bottom, cn.right, cn.bottom);
    }
}

namespace {

COLORREF ToColorRef(DWORD color)
{
    return RGB(GetBValue(color), GetGValue(color), GetRValue(color));
}

// A 1x1 32-bit section selected into a memory context of its own.
struct TPixelSource {
    TPixelSource()
    {
        void* p = nullptr;
        bitmap = CreateDib32(1, 1, &p);
        bits = static_cast<DWORD*>(p);
        dc = ::CreateCompatibleDC(nullptr);
        if (dc != nullptr && bitmap != nullptr) old = ::SelectObject(dc, bitmap);
    }
    ~TPixelSource()
    {
        if (old != nullptr) ::SelectObject(dc, old);
        if (dc != nullptr) ::DeleteDC(dc);
        if (bitmap != nullptr) ::DeleteObject(bitmap);
    }
    TPixelSource(const TPixelSource&) = delete;
    TPixelSource& operator=(const TPixelSource&) = delete;
    bool Ready() const { return old != nullptr && bits != nullptr; }

    HBITMAP bitmap { nullptr };
    DWORD* bits { nullptr };
    HDC dc { nullptr };
    HGDIOBJ old { nullptr };
};

}  // namespace

void CRenderEngine::DrawColor(HDC hDC, const RECT& rc, DWORD color)
{
    const BYTE alpha = static_cast<BYTE>(color >> 24);
    if (hDC == nullptr || alpha == 0) return;
    if (alpha == 255) {
        ::SetBkColor(hDC, ToColorRef(color));
        ::ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
        return;
    }
    if (rc.right <= rc.left || rc.bottom <= rc.top) return;
    // One pixel stretched over the rectangle by a blend. The pixel and its
    // context live for the process: a translucent fill is common (every
    // selected or hot list row) and creating them per fill cost more than
    // the blend.
    static TPixelSource pixel;
    if (!pixel.Ready()) return;
    ::GdiFlush();
    // Blending takes premultiplied pixels; a straight colour would come out too bright.
    *pixel.bits = PremultiplyColor(color);
    BLENDFUNCTION blend { AC_SRC_OVER, 0, 255, AC_SRC_ALPHA };
    GetAlphaBlend()(hDC, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, pixel.dc, 0, 0, 1, 1, blend);
}

void CRenderEngine::DrawGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical, int nSteps)
{
    const AlphaBlendProc alphaBlend = GetAlphaBlend();
    const GradientFillProc gradientFill = GetGradientFill();
    if (hDC == nullptr) return;
    const BYTE alpha = static_cast<BYTE>(((dwFirst >> 24) + (dwSecond >> 24)) >> 1);
    if (alpha == 0) return;
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    if (width <= 0 || height <= 0) return;

    HDC paintDC = hDC;
    RECT area = rc;
    CMemDCHolder memDC;
    CBitmapHolder memBitmap;
    std::unique_ptr<CSelectObjectScope> selectBitmap;
    if (alpha != 255) {
        memDC.Reset(::CreateCompatibleDC(hDC));
        memBitmap.Reset(::CreateCompatibleBitmap(hDC, width, height));
        if (!memDC || !memBitmap) return;
        selectBitmap = std::make_unique<CSelectObjectScope>(memDC.Get(), memBitmap.Get());
        paintDC = memDC.Get();
        area = RECT { 0, 0, width, height };
    }

    if (gradientFill != nullptr) {
        TRIVERTEX vertices[2] {};
        vertices[0].x = area.left;
        vertices[0].y = area.top;
        vertices[0].Red = static_cast<COLOR16>(((dwFirst >> 16) & 0xFF) << 8);
        vertices[0].Green = static_cast<COLOR16>(((dwFirst >> 8) & 0xFF) << 8);
        vertices[0].Blue = static_cast<COLOR16>((dwFirst & 0xFF) << 8);
        vertices[0].Alpha = 0xFF00;
        vertices[1].x = area.right;
        vertices[1].y = area.bottom;
        vertices[1].Red = static_cast<COLOR16>(((dwSecond >> 16) & 0xFF) << 8);
        vertices[1].Green = static_cast<COLOR16>(((dwSecond >> 8) & 0xFF) << 8);
        vertices[1].Blue = static_cast<COLOR16>((dwSecond & 0xFF) << 8);
        vertices[1].Alpha = 0xFF00;
        GRADIENT_RECT gradient { 0, 1 };
        gradientFill(paintDC, vertices, 2, &gradient, 1, bVertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
    } else {
        int shift = 1;
        if (nSteps >= 64) shift = 6;
        else if (nSteps >= 32) shift = 5;
        else if (nSteps >= 16) shift = 4;
        else if (nSteps >= 8) shift = 3;
        else if (nSteps >= 4) shift = 2;
        const int bands = 1 << shift;
        for (int i = 0; i < bands; ++i) {
            auto mix = [&](int bitShift) {
                const int first = (dwFirst >> bitShift) & 0xFF;
                const int second = (dwSecond >> bitShift) & 0xFF;
                return static_cast<BYTE>((second * (bands - i) + first * i) >> shift);
            };
            CBrushHolder brush(::CreateSolidBrush(RGB(mix(16), mix(8), mix(0))));
            RECT band = area;
            if (bVertical) {
                band.bottom = area.bottom - ((i * height) >> shift);
                band.top = area.bottom - (((i + 1) * height) >> shift);
            } else {
                band.right = area.right - ((i * width) >> shift);
                band.left = area.right - (((i + 1) * width) >> shift);
            }
            if (band.right > band.left && band.bottom > band.top) ::FillRect(paintDC, &band, brush.Get());
        }
    }

    if (alpha != 255) {
        // The gradient itself is opaque colour: only the constant alpha
        // applies, whatever the alpha bytes the fill left behind.
        BLENDFUNCTION blend { AC_SRC_OVER, 0, alpha, 0 };
        alphaBlend(hDC, rc.left, rc.top, width, height, paintDC, 0, 0, width, height, blend);
    }
}

void CRenderEngine::DrawLine(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor, int nStyle)
{
    if (hDC == nullptr) return;
    LOGPEN description {};
    description.lopnStyle = static_cast<UINT>(nStyle);
    description.lopnWidth.x = nSize;
    description.lopnColor = ToColorRef(dwPenColor);
    CPenHolder pen(::CreatePenIndirect(&description));
    if (!pen) return;
    CSelectObjectScope select(hDC, pen.Get());
    POINT previous {};
    ::MoveToEx(hDC, rc.left, rc.top, &previous);
    ::LineTo(hDC, rc.right, rc.bottom);
}

void CRenderEngine::DrawRect(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor)
{
    if (hDC == nullptr) return;
    CPenHolder pen(::CreatePen(PS_SOLID | PS_INSIDEFRAME, nSize, ToColorRef(dwPenColor)));
    if (!pen) return;
    CSelectObjectScope selectPen(hDC, pen.Get());
    CSelectObjectScope selectBrush(hDC, ::GetStockObject(NULL_BRUSH));
    ::Rectangle(hDC, rc.left, rc.top, rc.right, rc.bottom);
}

void CRenderEngine::DrawRoundRect(HDC hDC, const RECT& rc, int nSize, int width, int height, DWORD dwPenColor)
{
    if (hDC == nullptr) return;
    CPenHolder pen(::CreatePen(PS_SOLID | PS_INSIDEFRAME, nSize, ToColorRef(dwPenColor)));
    if (!pen) return;
    CSelectObjectScope selectPen(hDC, pen.Get());
    CSelectObjectScope selectBrush(hDC, ::GetStockObject(NULL_BRUSH));
    ::RoundRect(hDC, rc.left, rc.top, rc.right, rc.bottom, width, height);
}

DWORD CRenderEngine::AdjustColor(DWORD dwColor, short H, short S, short L)
{
    if (H == 180 && S == 100 && L == 100) return dwColor;

    auto channel = [](DWORD value) { return std::clamp(static_cast<int>(value & 0xFF), 0, 255) / 255.0; };
    const double r = channel(dwColor);
    const double g = channel(dwColor >> 8);
    const double b = channel(dwColor >> 16);
    const double m = std::min({ r, g, b });
    const double M = std::max({ r, g, b });
    double hue = 0.0;
    double saturation = 0.0;
    double lightness = (m + M) / 2.0;
    if (m != M) {
        double f = 0.0;
        double i = 0.0;
        if (r == m) {
            f = g - b;
            i = 3.0;
        } else if (g == m) {
            f = b - r;
            i = 5.0;
        } else {
            f = r - g;
            i = 1.0;
        }
        hue = i - f / (M - m);
        if (hue >= 6.0) hue -= 6.0;
        hue *= 60.0;
        saturation = (2.0 * lightness <= 1.0) ? (M - m) / (M + m) : (M - m) / (2.0 - M - m);
    }

    hue += H - 180;
    if (hue <= 0.0) hue += 360.0;
    saturation = saturation * S / 100.0;
    lightness = lightness * L / 100.0;

    const double q = (2.0 * lightness < 1.0) ? lightness * (1.0 + saturation)
                                             : lightness + saturation - lightness * saturation;
    const double p = 2.0 * lightness - q;
    const double h = hue / 360.0;
    auto value = [p, q](double t) {
        if (t < 0.0) t += 1.0;
        else if (t > 1.0) t -= 1.0;
        double v = p;
        if (6.0 * t < 1.0) v = p + (q - p) * 6.0 * t;
        else if (2.0 * t < 1.0) v = q;
        else if (3.0 * t < 2.0) v = p + (q - p) * (2.0 / 3.0 - t) * 6.0;
        return static_cast<DWORD>(std::clamp(v * 255.0, 0.0, 255.0));
    };
    const DWORD first = value(h + 1.0 / 3.0);
    const DWORD second = value(h);
    const DWORD third = value(h - 1.0 / 3.0);
    return (dwColor & 0xFF000000u) | (third << 16) | (second << 8) | first;
}

CRenderClip::~CRenderClip()
{
    if (hDC != nullptr && hOldRgn != nullptr) ::SelectClipRgn(hDC, hOldRgn);
    if (hOldRgn != nullptr) ::DeleteObject(hOldRgn);
    if (hRgn != nullptr) ::DeleteObject(hRgn);
}

namespace {

void ResetClip(CRenderClip& clip)
{
    // A record filled twice would leak the first pair of regions.
    if (clip.hOldRgn != nullptr) ::DeleteObject(clip.hOldRgn);
    if (clip.hRgn != nullptr) ::DeleteObject(clip.hRgn);
    clip.hOldRgn = nullptr;
    clip.hRgn = nullptr;
}

}  // namespace

void CRenderClip::GenerateClip(HDC hDC, RECT rc, CRenderClip& clip)
{
    ResetClip(clip);
    RECT box {};
    ::GetClipBox(hDC, &box);
    clip.hOldRgn = ::CreateRectRgnIndirect(&box);
    clip.hRgn = ::CreateRectRgnIndirect(&rc);
    ::ExtSelectClipRgn(hDC, clip.hRgn, RGN_AND);
    clip.hDC = hDC;
    clip.rcItem = rc;
}

void CRenderClip::GenerateRoundClip(HDC hDC, RECT rc, RECT rcItem, int width, int height, CRenderClip& clip)
{
    ResetClip(clip);
    RECT box {};
    ::GetClipBox(hDC, &box);
    clip.hOldRgn = ::CreateRectRgnIndirect(&box);
    clip.hRgn = ::CreateRectRgnIndirect(&rc);
    CRegionHolder round(::CreateRoundRectRgn(rcItem.left, rcItem.top, rcItem.right + 1, rcItem.bottom + 1, width, height));
    if (clip.hRgn != nullptr && round) ::CombineRgn(clip.hRgn, clip.hRgn, round.Get(), RGN_AND);
    ::ExtSelectClipRgn(hDC, clip.hRgn, RGN_AND);
    clip.hDC = hDC;
    clip.rcItem = rc;
}

void CRenderClip::UseOldClipBegin(HDC hDC, CRenderClip& clip)
{
    ::SelectClipRgn(hDC, clip.hOldRgn);
}

void CRenderClip::UseOldClipEnd(HDC hDC, CRenderClip& clip)
{
    ::SelectClipRgn(hDC, clip.hRgn);
}

}  // namespace Veneer
