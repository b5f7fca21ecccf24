// Blending straight into a DIB target gives what the platform's AlphaBlend
// gives for the same pixels, origin and clip, and leaves targets it cannot
// address untouched.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "engine/DibBlendRows.h"
#include "engine/GdiHolders.h"
#include "engine/RenderEngineInternal.h"

using namespace Veneer;
using namespace Veneer::RenderInternal;

namespace {

constexpr int kSide = 160;

struct TSurface {
    CBitmapHolder bitmap;
    DWORD* bits { nullptr };
};

TSurface MakeSurface(int width, int height, bool topDown, WORD bitCount = 32)
{
    BITMAPINFO bmi {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = topDown ? -height : height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = bitCount;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    TSurface surface;
    surface.bitmap.Reset(::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
    surface.bits = static_cast<DWORD*>(bits);
    return surface;
}

// Premultiplied pixels over the whole alpha range, transparent and opaque
// ones among them.
void FillSource(TSurface& source, unsigned seed)
{
    std::srand(seed);
    for (int i = 0; i < kSide * kSide; ++i) {
        const DWORD alpha = i % 7 == 0 ? 0u : i % 5 == 0 ? 255u : static_cast<DWORD>(std::rand() % 256);
        DWORD pixel = alpha << 24;
        for (int shift = 0; shift < 24; shift += 8) pixel |= (static_cast<DWORD>(std::rand()) % (alpha + 1)) << shift;
        source.bits[i] = pixel;
    }
}

void FillTarget(TSurface& target, unsigned seed)
{
    std::srand(seed);
    for (int i = 0; i < kSide * kSide; ++i)
        target.bits[i] = static_cast<DWORD>(std::rand()) << 16 ^ static_cast<DWORD>(std::rand());
}

struct TCase {
    const char* name;
    bool topDown;
    bool sourceTopDown;
    POINT windowOrigin;
    bool clipped;
    BYTE constantAlpha;
};

// Draws the case with `blend` into a fresh target and returns its pixels.
template <class TBlend>
std::vector<DWORD> Draw(const TCase& c, TBlend blend)
{
    TSurface target = MakeSurface(kSide, kSide, c.topDown);
    FillTarget(target, 11);
    CMemDCHolder dc(nullptr);
    CSelectObjectScope select(dc.Get(), target.bitmap.Get());
    ::SetWindowOrgEx(dc.Get(), c.windowOrigin.x, c.windowOrigin.y, nullptr);
    if (c.clipped) {
        CRegionHolder clip(::CreateRectRgn(20, 30, 90, 150));
        CRegionHolder second(::CreateRectRgn(100, 10, 150, 70));
        ::CombineRgn(clip.Get(), clip.Get(), second.Get(), RGN_OR);
        ::SelectClipRgn(dc.Get(), clip.Get());
    }
    // Logical (14, 12) with the source's (3, 5): partly outside the target.
    blend(dc.Get(), 14 + c.windowOrigin.x, 12 + c.windowOrigin.y, 150, 152, 3, 5);
    ::GdiFlush();
    return std::vector<DWORD>(target.bits, target.bits + kSide * kSide);
}

}  // namespace

TEST(DibBlend, MatchesThePlatformBlendForOriginsClipsAndConstantAlpha)
{
    TSurface topDownSource = MakeSurface(kSide, kSide, true);
    FillSource(topDownSource, 5);
    TSurface bottomUpSource = MakeSurface(kSide, kSide, false);
    FillSource(bottomUpSource, 5);
    const TCase cases[] = {
        { "plain", true, true, { 0, 0 }, false, 255 },
        { "bottom-up target", false, true, { 0, 0 }, false, 255 },
        { "bottom-up source", true, false, { 0, 0 }, false, 255 },
        { "shifted origin", true, true, { -27, 15 }, false, 255 },
        { "clipped", true, true, { 0, 0 }, true, 255 },
        { "constant alpha", false, false, { 13, -12 }, true, 97 },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const TSurface& source = c.sourceTopDown ? topDownSource : bottomUpSource;
        const std::vector<DWORD> platform = Draw(c, [&](HDC dc, int x, int y, int w, int h, int sx, int sy) {
            CMemDCHolder sourceDC(nullptr);
            CSelectObjectScope select(sourceDC.Get(), source.bitmap.Get());
            const BLENDFUNCTION blend { AC_SRC_OVER, 0, c.constantAlpha, AC_SRC_ALPHA };
            ASSERT_TRUE(GetAlphaBlend()(dc, x, y, w, h, sourceDC.Get(), sx, sy, w, h, blend));
        });
        const std::vector<DWORD> ours = Draw(c, [&](HDC dc, int x, int y, int w, int h, int sx, int sy) {
            CMemDCHolder sourceDC(nullptr);
            CSelectObjectScope select(sourceDC.Get(), source.bitmap.Get());
            ASSERT_TRUE(BlendOntoDib(dc, x, y, w, h, sourceDC.Get(), sx, sy, c.constantAlpha));
        });
        const std::vector<DWORD> before = Draw(c, [](HDC, int, int, int, int, int, int) {});
        int changed = 0;
        for (size_t i = 0; i < ours.size(); ++i) {
            changed += ours[i] != before[i];
            for (int shift = 0; shift < 32; shift += 8) {
                const int a = static_cast<int>((platform[i] >> shift) & 0xFF);
                const int b = static_cast<int>((ours[i] >> shift) & 0xFF);
                ASSERT_LE(std::abs(a - b), 1) << "pixel " << i << " channel " << shift / 8;
            }
        }
        EXPECT_GT(changed, 2000);
    }
}

TEST(DibBlend, TargetsItCannotAddressAreLeftAlone)
{
    TSurface source = MakeSurface(kSide, kSide, true);
    FillSource(source, 9);
    CMemDCHolder sourceDC(nullptr);
    CSelectObjectScope selectSource(sourceDC.Get(), source.bitmap.Get());
    auto untouched = [&](HDC dc, const DWORD* bits, size_t count) {
        const std::vector<DWORD> before(bits, bits + count);
        EXPECT_FALSE(BlendOntoDib(dc, 0, 0, 130, 130, sourceDC.Get(), 0, 0, 255));
        ::GdiFlush();
        EXPECT_EQ(before, std::vector<DWORD>(bits, bits + count));
    };

    TSurface target = MakeSurface(kSide, kSide, true);
    FillTarget(target, 3);
    CMemDCHolder dc(nullptr);
    CSelectObjectScope select(dc.Get(), target.bitmap.Get());
    ::SetMapMode(dc.Get(), MM_ANISOTROPIC);
    ::SetViewportExtEx(dc.Get(), 2, 2, nullptr);
    untouched(dc.Get(), target.bits, kSide * kSide);
    ::SetMapMode(dc.Get(), MM_TEXT);
    ::SetGraphicsMode(dc.Get(), GM_ADVANCED);
    untouched(dc.Get(), target.bits, kSide * kSide);
    ::SetGraphicsMode(dc.Get(), GM_COMPATIBLE);
    // A source rectangle beyond the source, and an area too small to pay.
    EXPECT_FALSE(BlendOntoDib(dc.Get(), 0, 0, 130, 130, sourceDC.Get(), kSide - 129, 0, 255));
    EXPECT_FALSE(BlendOntoDib(dc.Get(), 0, 0, 30, 30, sourceDC.Get(), 0, 0, 255));
    EXPECT_TRUE(BlendOntoDib(dc.Get(), 0, 0, 130, 130, sourceDC.Get(), 0, 0, 255));

    TSurface deep = MakeSurface(kSide, kSide, true, 24);
    CMemDCHolder deepDC(nullptr);
    CSelectObjectScope selectDeep(deepDC.Get(), deep.bitmap.Get());
    untouched(deepDC.Get(), deep.bits, kSide * kSide * 3 / 4);

    CMemDCHolder bare(nullptr);  // its stock one-pixel monochrome bitmap
    EXPECT_FALSE(BlendOntoDib(bare.Get(), 0, 0, 130, 130, sourceDC.Get(), 0, 0, 255));
}

TEST(DibBlend, BothRowsGiveTheExactRoundedBlendForEveryAlphaAndChannel)
{
    // Every destination channel under every source alpha, with the source
    // channel at 0, half and all of its alpha, and tails of every length.
    std::vector<DWORD> src, dst;
    for (DWORD alpha = 0; alpha < 256; ++alpha) {
        for (DWORD d = 0; d < 256; ++d) {
            const DWORD channel = (alpha * (d % 3)) / 2;
            src.push_back((alpha << 24) | (channel << 16) | ((alpha - channel) << 8) | channel);
            dst.push_back((d << 24) | (d << 16) | ((255 - d) << 8) | (d ^ 0x5A));
        }
    }
    const bool sse2 = ::IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE) != FALSE;
    for (const DWORD constantAlpha : { 255u, 254u, 128u, 97u, 1u, 0u }) {
        SCOPED_TRACE(testing::Message() << "constant alpha " << constantAlpha);
        std::vector<DWORD> portable = dst;
        BlendRowPortable(portable.data(), src.data(), static_cast<int>(src.size()), constantAlpha);
        for (size_t i = 0; i < src.size(); i += 997) {
            for (int shift = 0; shift < 32; shift += 8) {
                const DWORD scaled = ((src[i] >> shift & 0xFF) * constantAlpha + 127) / 255;
                const DWORD alpha = ((src[i] >> 24) * constantAlpha + 127) / 255;
                const DWORD expected = scaled + ((dst[i] >> shift & 0xFF) * (255 - alpha) + 127) / 255;
                ASSERT_EQ(expected, portable[i] >> shift & 0xFF) << "pixel " << i;
            }
        }
        if (!sse2) continue;
        for (const int length : { 0, 1, 3, 4, 5, 7, 8, 37, static_cast<int>(src.size()) }) {
            std::vector<DWORD> wide = dst;
            BlendRowSse2(wide.data(), src.data(), length, constantAlpha);
            std::vector<DWORD> narrow = dst;
            BlendRowPortable(narrow.data(), src.data(), length, constantAlpha);
            ASSERT_EQ(narrow, wide) << "length " << length;
        }
    }
}
