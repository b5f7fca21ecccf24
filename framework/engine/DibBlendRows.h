#pragma once
// One row of premultiplied source over a destination, as AlphaBlend with
// AC_SRC_ALPHA computes it: every channel d = s + d * (255 - a_s) / 255,
// rounded, the source first scaled by the constant alpha the same way. The
// portable and the SSE2 rows give identical pixels.
#include <windows.h>

namespace Veneer {
namespace RenderInternal {

using BlendRowProc = void (*)(DWORD* dst, const DWORD* src, int count, DWORD constantAlpha);

// Internal to each file that includes them: the SSE2 file is built with
// other instructions, and a shared inline copy from there could be the one
// the linker keeps for every caller.
namespace {

// round(value / 255) in two 16-bit lanes, each value at most 255 * 255.
inline DWORD DivideLanesBy255(DWORD lanes)
{
    lanes += 0x00800080u;
    return ((lanes + ((lanes >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
}

// Every channel of a pixel times factor / 255, rounded.
inline DWORD ScalePixel(DWORD pixel, DWORD factor)
{
    return DivideLanesBy255((pixel & 0x00FF00FFu) * factor)
        | (DivideLanesBy255(((pixel >> 8) & 0x00FF00FFu) * factor) << 8);
}

inline DWORD Over(DWORD dst, DWORD src)
{
    const DWORD alpha = src >> 24;
    if (alpha == 255) return src;
    if (src == 0) return dst;
    return src + ScalePixel(dst, 255 - alpha);
}

inline void BlendRowPortable(DWORD* dst, const DWORD* src, int count, DWORD constantAlpha)
{
    if (constantAlpha == 255) {
        for (int i = 0; i < count; ++i) dst[i] = Over(dst[i], src[i]);
        return;
    }
    for (int i = 0; i < count; ++i) dst[i] = Over(dst[i], ScalePixel(src[i], constantAlpha));
}

}  // namespace

// Four pixels a step; only to be called where the processor has SSE2.
void BlendRowSse2(DWORD* dst, const DWORD* src, int count, DWORD constantAlpha);

}  // namespace RenderInternal
}  // namespace Veneer
