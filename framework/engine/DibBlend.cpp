// Unscaled premultiplied blending straight into a 32-bit DIB target. The
// platform's AlphaBlend spends several times this per pixel under Wine, and
// a composed nine-grid or a window-sized picture is blended whole on every
// frame. Only plain contexts are taken: device pixels equal logical ones up
// to an origin shift, and the clip region is read as rectangles.
#include <vector>

#include "engine/DibBlendRows.h"
#include "engine/GdiHolders.h"
#include "engine/RenderEngineInternal.h"
#include "foundation/RectMath.h"

namespace Veneer {
namespace RenderInternal {

namespace {

// Below this many pixels the probes for the bitmaps' orientation cost more
// than the platform's blend would.
constexpr long long kMinimumPixels = 16 * 1024;

// A 32-bit section's pixels, addressed by row whatever its orientation.
struct TDibPixels {
    BYTE* bits { nullptr };
    int width { 0 };
    int height { 0 };
    bool topDown { true };

    DWORD* Row(int y) const
    {
        const int line = topDown ? y : height - 1 - y;
        return reinterpret_cast<DWORD*>(bits + static_cast<size_t>(line) * width * 4);
    }
};

bool DibPixelsOf(HBITMAP bitmap, TDibPixels& pixels)
{
    DIBSECTION section {};
    if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof(section), &section) != static_cast<int>(sizeof(section)))
        return false;
    if (section.dsBm.bmBitsPixel != 32 || section.dsBm.bmBits == nullptr) return false;
    const DWORD compression = section.dsBmih.biCompression;
    const bool standardMasks = compression == BI_BITFIELDS && section.dsBitfields[0] == 0x00FF0000u
        && section.dsBitfields[1] == 0x0000FF00u && section.dsBitfields[2] == 0x000000FFu;
    if (compression != BI_RGB && !standardMasks) return false;
    pixels.bits = static_cast<BYTE*>(section.dsBm.bmBits);
    pixels.width = section.dsBm.bmWidth;
    pixels.height = section.dsBm.bmHeight;
    return pixels.width > 0 && pixels.height > 0;
}

enum class EOrientation { TopDown, BottomUp, Unknown };

// Which end of a selected section's memory holds its top row. The header
// does not tell (GetObject reports a top-down section's height as positive),
// so two marks are written to the first and last rows in memory, the
// device's top-left pixel is read back through GDI, and the marks removed.
EOrientation OrientationOf(HDC hdc, const TDibPixels& section)
{
    if (section.height == 1) return EOrientation::TopDown;
    CMemDCHolder probeDC(hdc);
    void* probeBits = nullptr;
    CBitmapHolder probe(CreateDib32(1, 1, &probeBits));
    if (!probeDC || !probe || probeBits == nullptr) return EOrientation::Unknown;
    CSelectObjectScope select(probeDC.Get(), probe.Get());
    POINT topLeft { 0, 0 };
    if (!::DPtoLP(hdc, &topLeft, 1)) return EOrientation::Unknown;

    DWORD* first = section.Row(0);
    DWORD* last = section.Row(section.height - 1);
    const DWORD savedFirst = *first;
    const DWORD savedLast = *last;
    *first = 0x00A1B2C3u;
    *last = 0x003C2B1Au;
    const BOOL copied = ::BitBlt(probeDC.Get(), 0, 0, 1, 1, hdc, topLeft.x, topLeft.y, SRCCOPY);
    ::GdiFlush();
    *first = savedFirst;
    *last = savedLast;
    const DWORD seen = *static_cast<const DWORD*>(probeBits) & 0x00FFFFFFu;
    if (!copied) return EOrientation::Unknown;
    if (seen == 0x00A1B2C3u) return EOrientation::TopDown;
    if (seen == 0x003C2B1Au) return EOrientation::BottomUp;
    return EOrientation::Unknown;
}

// The SSE2 rows where the processor has them (every x64 one does).
BlendRowProc ChooseBlendRow()
{
    static const BlendRowProc row =
        ::IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE) ? &BlendRowSse2 : &BlendRowPortable;
    return row;
}

// Device pixels are logical ones up to an origin shift.
bool IsPlain(HDC hdc)
{
    return ::GetMapMode(hdc) == MM_TEXT && ::GetGraphicsMode(hdc) == GM_COMPATIBLE && ::GetLayout(hdc) == 0;
}

// The context's clip as device rectangles; false when it cannot be read.
bool ClipRectangles(HDC hdc, const RECT& bounds, std::vector<RECT>& rects)
{
    CRegionHolder clip(::CreateRectRgn(0, 0, 0, 0));
    CRegionHolder meta(::CreateRectRgn(0, 0, 0, 0));
    if (!clip || !meta) return false;
    if (::GetMetaRgn(hdc, meta.Get()) != 0) {
        RECT box {};
        if (::GetRgnBox(meta.Get(), &box) != NULLREGION) return false;
    }
    const int hasClip = ::GetClipRgn(hdc, clip.Get());
    if (hasClip < 0) return false;
    if (hasClip == 0) {
        rects.push_back(bounds);
        return true;
    }
    const DWORD bytes = ::GetRegionData(clip.Get(), 0, nullptr);
    if (bytes < sizeof(RGNDATAHEADER)) return false;
    std::vector<BYTE> data(bytes);
    RGNDATA* region = reinterpret_cast<RGNDATA*>(data.data());
    if (::GetRegionData(clip.Get(), bytes, region) != bytes) return false;
    const RECT* each = reinterpret_cast<const RECT*>(region->Buffer);
    for (DWORD i = 0; i < region->rdh.nCount; ++i) {
        RECT piece {};
        if (RectMath::Intersect(piece, each[i], bounds)) rects.push_back(piece);
    }
    return true;
}

}  // namespace

bool BlendOntoDib(HDC hdcDest, int xDest, int yDest, int width, int height, HDC hdcSrc, int xSrc, int ySrc,
    BYTE constantAlpha)
{
    if (hdcDest == nullptr || hdcSrc == nullptr || width <= 0 || height <= 0) return false;
    if (static_cast<long long>(width) * height < kMinimumPixels) return false;
    if (!IsPlain(hdcDest) || !IsPlain(hdcSrc)) return false;
    TDibPixels target;
    TDibPixels source;
    if (!DibPixelsOf(static_cast<HBITMAP>(::GetCurrentObject(hdcDest, OBJ_BITMAP)), target)
        || !DibPixelsOf(static_cast<HBITMAP>(::GetCurrentObject(hdcSrc, OBJ_BITMAP)), source)) {
        return false;
    }
    POINT from { xSrc, ySrc };
    if (!::LPtoDP(hdcSrc, &from, 1)) return false;
    if (from.x < 0 || from.y < 0 || from.x + width > source.width || from.y + height > source.height) return false;

    POINT origin { xDest, yDest };
    if (!::LPtoDP(hdcDest, &origin, 1)) return false;
    const RECT surface { 0, 0, target.width, target.height };
    RECT dest { origin.x, origin.y, origin.x + width, origin.y + height };
    RECT bounds {};
    std::vector<RECT> rects;
    if (RectMath::Intersect(bounds, dest, surface) && !ClipRectangles(hdcDest, bounds, rects)) return false;

    if (rects.empty()) return true;
    ::GdiFlush();  // drawing still queued for either bitmap lands first
    const EOrientation targetOrder = OrientationOf(hdcDest, target);
    const EOrientation sourceOrder = OrientationOf(hdcSrc, source);
    if (targetOrder == EOrientation::Unknown || sourceOrder == EOrientation::Unknown) return false;
    target.topDown = targetOrder == EOrientation::TopDown;
    source.topDown = sourceOrder == EOrientation::TopDown;
    const BlendRowProc blendRow = ChooseBlendRow();
    for (const RECT& piece : rects) {
        const int count = piece.right - piece.left;
        for (int y = piece.top; y < piece.bottom; ++y) {
            const DWORD* pixels = source.Row(from.y + y - dest.top) + from.x + (piece.left - dest.left);
            blendRow(target.Row(y) + piece.left, pixels, count, constantAlpha);
        }
    }
    return true;
}

BOOL BlendPremultiplied(HDC hdcDest, int xDest, int yDest, int cxDest, int cyDest, HDC hdcSrc, int xSrc, int ySrc,
    int cxSrc, int cySrc, BLENDFUNCTION blend)
{
    const bool unscaled = cxDest == cxSrc && cyDest == cySrc;
    if (unscaled && blend.BlendOp == AC_SRC_OVER && (blend.AlphaFormat & AC_SRC_ALPHA) != 0
        && BlendOntoDib(hdcDest, xDest, yDest, cxDest, cyDest, hdcSrc, xSrc, ySrc, blend.SourceConstantAlpha)) {
        return TRUE;
    }
    return GetAlphaBlend()(hdcDest, xDest, yDest, cxDest, cyDest, hdcSrc, xSrc, ySrc, cxSrc, cySrc, blend);
}

}  // namespace RenderInternal
}  // namespace Veneer
