// The blend row with SSE2: two pixels in each half of a register, a channel
// a 16-bit lane. This file alone is built for SSE2 on 32-bit x86; callers
// check the processor first.
#include <emmintrin.h>

#include "engine/DibBlendRows.h"

namespace Veneer {
namespace RenderInternal {

namespace {

// round(x / 255) in every 16-bit lane, x at most 255 * 255.
inline __m128i DivideBy255(__m128i x)
{
    x = _mm_add_epi16(x, _mm_set1_epi16(128));
    return _mm_srli_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), 8);
}

// Each pixel's alpha in all four of its lanes.
inline __m128i SpreadAlpha(__m128i pixels)
{
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(pixels, 0xFF), 0xFF);
}

// Two pixels, widened: source over destination.
inline __m128i OverWide(__m128i dst, __m128i src, __m128i constantAlpha, bool scaled)
{
    if (scaled) src = DivideBy255(_mm_mullo_epi16(src, constantAlpha));
    const __m128i remaining = _mm_sub_epi16(_mm_set1_epi16(255), SpreadAlpha(src));
    return _mm_add_epi16(src, DivideBy255(_mm_mullo_epi16(dst, remaining)));
}

}  // namespace

void BlendRowSse2(DWORD* dst, const DWORD* src, int count, DWORD constantAlpha)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i constant = _mm_set1_epi16(static_cast<short>(constantAlpha));
    const bool scaled = constantAlpha != 255;
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
        const __m128i low = OverWide(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(s, zero), constant, scaled);
        const __m128i high = OverWide(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(s, zero), constant, scaled);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_packus_epi16(low, high));
    }
    BlendRowPortable(dst + i, src + i, count - i, constantAlpha);
}

}  // namespace RenderInternal
}  // namespace Veneer
