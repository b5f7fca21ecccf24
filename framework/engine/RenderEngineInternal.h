#pragma once
// Pieces of the render engine that work without a paint manager: blend
// routines, image sources and decoding, and the image-string walker. The
// engine itself is built from them; tests exercise them directly.
#include <windows.h>

#include <cstddef>
#include <functional>
#include <vector>

#include "engine/RenderEngine.h"
#include "foundation/StdString.h"

namespace Veneer {

struct TSkinArchiveHandle;

namespace RenderInternal {

using AlphaBlendProc = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
using GradientFillProc = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

// Resolved from msimg32.dll once per process; the blend falls back to
// SoftwareAlphaBlend, the gradient to null.
AlphaBlendProc GetAlphaBlend();
GradientFillProc GetGradientFill();

// Stand-in for AlphaBlend with the same arguments and the same arithmetic:
// the source is premultiplied, the constant alpha scales all four channels.
BOOL WINAPI SoftwareAlphaBlend(HDC hdcDest, int xDest, int yDest, int cxDest, int cyDest,
    HDC hdcSrc, int xSrc, int ySrc, int cxSrc, int cySrc, BLENDFUNCTION blend);

// The one premultiplication used by every path (loader and colour fills).
inline BYTE Premultiply(BYTE channel, BYTE alpha)
{
    return static_cast<BYTE>(channel * alpha / 255);
}
// 0xAARRGGBB straight colour -> the same colour premultiplied, as a BGRA pixel.
inline DWORD PremultiplyColor(DWORD color)
{
    const BYTE a = static_cast<BYTE>(color >> 24);
    return (static_cast<DWORD>(a) << 24) | (static_cast<DWORD>(Premultiply(static_cast<BYTE>(color >> 16), a)) << 16)
        | (static_cast<DWORD>(Premultiply(static_cast<BYTE>(color >> 8), a)) << 8)
        | Premultiply(static_cast<BYTE>(color), a);
}

// A decoded pixel (bytes R, G, B, A; red lowest) -> the loader's BGRA pixel,
// premultiplied with Premultiply's results: red and blue share one
// multiplication in two 16-bit lanes, and floor(x / 255) is
// (x + 1 + (x >> 8)) >> 8, exact for every product of two bytes.
inline DWORD PremultipliedBgraFromRgba(DWORD rgba)
{
    const DWORD a = rgba >> 24;
    if (a == 255) return (rgba & 0xFF00FF00u) | ((rgba & 0xFFu) << 16) | ((rgba >> 16) & 0xFFu);
    DWORD rb = (rgba & 0x00FF00FFu) * a;
    rb = ((rb + 0x00010001u + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    DWORD g = ((rgba >> 8) & 0xFFu) * a;
    g = (g + 1 + (g >> 8)) >> 8;
    return (a << 24) | ((rb & 0xFFu) << 16) | (g << 8) | (rb >> 16);
}

// Writes `count` loader pixels from readPixel(i) (R lowest, straight alpha):
// premultiplied, blue first, and cleared where they equal `mask`. True when
// any pixel is not opaque or was cleared.
template <class TReadPixel>
bool StoreLoaderPixels(DWORD* out, size_t count, DWORD mask, TReadPixel readPixel)
{
    bool alpha = false;
    for (size_t i = 0; i < count; ++i) {
        const DWORD rgba = readPixel(i);
        DWORD value = PremultipliedBgraFromRgba(rgba);
        alpha |= (rgba >> 24) != 255;
        if (value == mask) {
            value = 0;
            alpha = true;
        }
        out[i] = value;
    }
    return alpha;
}

// No image file, archive entry or resource larger than this is read: the
// size is checked before anything is allocated.
constexpr DWORD kMaxImageBytes = 32u * 1024u * 1024u;
// Above this many declared pixels the bitmap is made only once the data has
// decoded: a header alone cannot make the loader commit that much memory.
constexpr unsigned long long kMaxDirectDecodePixels = 16ull * 1024ull * 1024ull;

// Each fills `data` with the whole source or returns false (data emptied).
bool ReadImageFile(LPCWSTR path, std::vector<BYTE>& data);
bool ReadImageResource(HMODULE module, LPCWSTR name, LPCWSTR type, std::vector<BYTE>& data);
// An entry of an open archive, found ignoring ASCII case; or of the archive
// file at archivePath, opened and closed for this one read.
bool ReadImageFromArchive(TSkinArchiveHandle* archive, LPCWSTR name, std::vector<BYTE>& data);
bool ReadImageFromArchiveFile(LPCWSTR archivePath, LPCWSTR name, std::vector<BYTE>& data);

// Decodes a PNG/JPEG/BMP/... held in memory into a premultiplied top-down
// DIB section; pixels equal to `mask` (0xAARRGGBB, after premultiplication)
// are cleared. Null when the data does not decode.
TImageInfo* DecodeImage(const BYTE* data, size_t size, DWORD mask);

// The common PNGs (8 bits a channel, not interlaced, no colour key) decoded
// a row at a time into a premultiplied bitmap, as DecodeImage would decode
// them. Null for any other data, and for any PNG it finds wrong: the caller
// then leaves the data to the general decoder.
TImageInfo* DecodePngRows(const BYTE* data, size_t size, DWORD mask);

// AlphaBlend with AC_SRC_ALPHA, unscaled, done by the framework itself when
// both contexts hold 32-bit DIB sections (the source premultiplied) and map
// logical to device pixels by an origin shift alone; the target's clip
// region is honoured. About a third of the platform's cost under Wine.
// False, with nothing drawn, for areas too small to gain and for any other
// context: the caller then calls AlphaBlend.
bool BlendOntoDib(HDC hdcDest, int xDest, int yDest, int width, int height, HDC hdcSrc, int xSrc, int ySrc,
    BYTE constantAlpha);

// AlphaBlend with the same arguments: unscaled blends the framework can do
// itself (BlendOntoDib) are done so, everything else by the platform.
BOOL BlendPremultiplied(HDC hdcDest, int xDest, int yDest, int cxDest, int cyDest, HDC hdcSrc, int xSrc, int ySrc,
    int cxSrc, int cySrc, BLENDFUNCTION blend);

// A bottom-up 32-bit DIB section (the row order the software blend, layered
// windows and bitmap exports use); `bits` receives its pixels.
HBITMAP CreateBottomUpDib32(HDC hdc, int width, int height, void** bits);

// A top-down 32-bit DIB section; `bits` receives its pixels.
HBITMAP CreateDib32(int width, int height, void** bits);

// Draws a nine-grid of a cached skin image from a composition kept at this
// destination size, composing it on first use: once composed, a frame costs
// one copy or blend instead of stretching every piece again. False when the
// grid gains nothing from it (nothing scaled, tiled, an opaque hole, or too
// large to keep); the caller then draws the pieces itself.
bool DrawComposedNineGrid(HDC hDC, HBITMAP hBitmap, const RECT& rc, const RECT& rcPaint, const RECT& rcBmpPart,
    const RECT& rcCorners, bool alphaChannel, BYTE uFade, bool hole);
// Drops every composition made from a bitmap about to be deleted (its handle
// may be reused by an unrelated bitmap).
void ForgetComposedNineGrids(HBITMAP hBitmap);

// The drawing state of one DrawImageString call.
struct TImageStringState {
    CStdString sName;
    CStdString sType;
    RECT rcDest { 0, 0, 0, 0 };
    RECT rcSource { 0, 0, 0, 0 };
    RECT rcCorner { 0, 0, 0, 0 };
    DWORD dwMask { 0 };
    BYTE uFade { 255 };
    bool bHole { false };
    bool bTiledX { false };
    bool bTiledY { false };
};

// Parses the image string and the optional modifier and calls `drawPending`
// for every image they name (the last one included). The callback may change
// the state (the source rectangle it settles on carries over).
using PendingImageSink = std::function<void(TImageStringState&)>;
void WalkImageString(LPCWSTR image, LPCWSTR modify, const RECT& rcItem, const PendingImageSink& drawPending);

}  // namespace RenderInternal
}  // namespace Veneer
