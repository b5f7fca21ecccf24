// Nine-grid drawing, tiling, holes, fading and the two blend routines,
// checked on the pixels of a 32-bit DIB section.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "RenderTestCanvas.h"
#include "engine/RenderEngine.h"
#include "engine/RenderEngineInternal.h"
#include "support/TestSupport.h"

using namespace Veneer;
using namespace Veneer::RenderInternal;
using RenderTest::CCanvas;
using RenderTest::Hex;
using RenderTest::Near;

namespace {

struct TImageDeleter {
    void operator()(TImageInfo* image) const { CRenderEngine::FreeImage(image); }
};
using ImagePtr = std::unique_ptr<TImageInfo, TImageDeleter>;

ImagePtr LoadFixture(const wchar_t* name, DWORD mask = 0)
{
    const auto bytes = TestSupport::ReadFileBytes(TestSupport::FixturePath(std::wstring(L"render/") + name));
    return ImagePtr(DecodeImage(bytes.data(), bytes.size(), mask));
}

const RECT kNoCorners { 0, 0, 0, 0 };
const DWORD kBackground = 0xFF102030u;

// The nine parts of grid.png (12 x 12, 4-pixel corners).
const DWORD kRed = 0xFF0000u, kGreen = 0x00FF00u, kBlue = 0x0000FFu, kYellow = 0xFFFF00u;
const DWORD kCyan = 0x00FFFFu, kMagenta = 0xFF00FFu, kWhite = 0xFFFFFFu, kGray = 0x808080u, kCentre = 0x404040u;

void ExpectNineGrid(const CCanvas& canvas, const RECT& rc, bool centre)
{
    const int midX = (rc.left + rc.right) / 2;
    const int midY = (rc.top + rc.bottom) / 2;
    // Corners are never scaled: exactly 4 x 4 pixels each.
    EXPECT_EQ(kRed, canvas.Rgb(rc.left, rc.top));
    EXPECT_EQ(kRed, canvas.Rgb(rc.left + 3, rc.top + 3));
    EXPECT_EQ(kGreen, canvas.Rgb(rc.right - 1, rc.top));
    EXPECT_EQ(kGreen, canvas.Rgb(rc.right - 4, rc.top + 3));
    EXPECT_EQ(kBlue, canvas.Rgb(rc.left, rc.bottom - 1));
    EXPECT_EQ(kBlue, canvas.Rgb(rc.left + 3, rc.bottom - 4));
    EXPECT_EQ(kYellow, canvas.Rgb(rc.right - 1, rc.bottom - 1));
    EXPECT_EQ(kYellow, canvas.Rgb(rc.right - 4, rc.bottom - 4));
    // Edges stretched along their length only.
    EXPECT_EQ(kCyan, canvas.Rgb(midX, rc.top + 1));
    EXPECT_EQ(kMagenta, canvas.Rgb(midX, rc.bottom - 2));
    EXPECT_EQ(kWhite, canvas.Rgb(rc.left + 1, midY));
    EXPECT_EQ(kGray, canvas.Rgb(rc.right - 2, midY));
    if (centre) {
        EXPECT_EQ(kCentre, canvas.Rgb(midX, midY));
        EXPECT_EQ(kCentre, canvas.Rgb(rc.left + 4, rc.top + 4));
    } else {
        EXPECT_EQ(kBackground & 0xFFFFFFu, canvas.Rgb(midX, midY));
        EXPECT_EQ(kBackground & 0xFFFFFFu, canvas.Rgb(rc.left + 4, rc.top + 4));
    }
    // Nothing outside the destination.
    if (rc.left > 0) EXPECT_EQ(kBackground & 0xFFFFFFu, canvas.Rgb(rc.left - 1, midY));
    if (rc.bottom < canvas.Height()) EXPECT_EQ(kBackground & 0xFFFFFFu, canvas.Rgb(midX, rc.bottom));
}

}  // namespace

TEST(RenderDraw, NineGridOnBothPaths)
{
    ImagePtr grid = LoadFixture(L"grid.png");
    ASSERT_TRUE(grid);
    const RECT source { 0, 0, 12, 12 };
    const RECT corners { 4, 4, 4, 4 };
    const RECT rc { 5, 3, 65, 33 };
    for (bool blended : { false, true }) {
        SCOPED_TRACE(blended ? "blended" : "opaque");
        CCanvas canvas(80, 40, kBackground);
        CRenderEngine::DrawImage(canvas.DC(), grid->hBitmap, rc, rc, source, corners, blended);
        ExpectNineGrid(canvas, rc, true);
    }
}

TEST(RenderDraw, HoleLeavesTheCentreButNotTheOneToOneCopy)
{
    ImagePtr grid = LoadFixture(L"grid.png");
    ASSERT_TRUE(grid);
    const RECT source { 0, 0, 12, 12 };
    const RECT corners { 4, 4, 4, 4 };
    const RECT rc { 2, 2, 42, 32 };
    for (bool blended : { false, true }) {
        SCOPED_TRACE(blended ? "blended" : "opaque");
        CCanvas canvas(50, 40, kBackground);
        CRenderEngine::DrawImage(canvas.DC(), grid->hBitmap, rc, rc, source, corners, blended, 255, true);
        ExpectNineGrid(canvas, rc, false);
    }
    // Same size, no corners, opaque: a plain copy that ignores the hole.
    CCanvas canvas(20, 20, kBackground);
    const RECT same { 3, 3, 15, 15 };
    CRenderEngine::DrawImage(canvas.DC(), grid->hBitmap, same, same, source, kNoCorners, false, 255, true);
    EXPECT_EQ(kCentre, canvas.Rgb(9, 9));
    EXPECT_EQ(kRed, canvas.Rgb(3, 3));
    EXPECT_EQ(kYellow, canvas.Rgb(14, 14));
}

TEST(RenderDraw, OneToOneCopyHonoursThePaintRectangleAndSourceOffset)
{
    ImagePtr grid = LoadFixture(L"grid.png");
    ASSERT_TRUE(grid);
    CCanvas canvas(20, 20, kBackground);
    const RECT rc { 0, 0, 8, 8 };
    const RECT source { 4, 4, 12, 12 };  // centre and the bottom-right corner
    const RECT paint { 4, 4, 20, 20 };
    CRenderEngine::DrawImage(canvas.DC(), grid->hBitmap, rc, paint, source, kNoCorners, false);
    EXPECT_EQ(kBackground & 0xFFFFFFu, canvas.Rgb(0, 0));
    EXPECT_EQ(kBackground & 0xFFFFFFu, canvas.Rgb(3, 3));
    EXPECT_EQ(kYellow, canvas.Rgb(4, 4));
    EXPECT_EQ(kYellow, canvas.Rgb(7, 7));
    EXPECT_EQ(kBackground & 0xFFFFFFu, canvas.Rgb(8, 8));
}

TEST(RenderDraw, PiecesOutsideThePaintRectangleAreSkipped)
{
    ImagePtr grid = LoadFixture(L"grid.png");
    ASSERT_TRUE(grid);
    CCanvas canvas(40, 40, kBackground);
    const RECT rc { 0, 0, 40, 40 };
    const RECT paint { 0, 0, 3, 3 };  // meets the top-left corner only
    const RECT source { 0, 0, 12, 12 };
    const RECT corners { 4, 4, 4, 4 };
    CRenderEngine::DrawImage(canvas.DC(), grid->hBitmap, rc, paint, source, corners, false);
    EXPECT_EQ(kRed, canvas.Rgb(0, 0));
    EXPECT_EQ(kBackground & 0xFFFFFFu, canvas.Rgb(39, 39));
    EXPECT_EQ(kBackground & 0xFFFFFFu, canvas.Rgb(20, 20));
    EXPECT_EQ(kBackground & 0xFFFFFFu, canvas.Rgb(20, 1));
}

TEST(RenderDraw, TilingRepeatsTheCentreAndCutsTheLastTile)
{
    // tile.png is 2 x 3: red green / blue white / black yellow.
    ImagePtr tile = LoadFixture(L"tile.png");
    ASSERT_TRUE(tile);
    const DWORD pattern[3][2] = { { kRed, kGreen }, { kBlue, kWhite }, { 0x000000u, kYellow } };
    const RECT source { 0, 0, 2, 3 };
    for (bool blended : { false, true }) {
        SCOPED_TRACE(blended ? "blended" : "opaque");
        {
            CCanvas canvas(10, 10, kBackground);
            const RECT rc { 0, 0, 7, 8 };
            CRenderEngine::DrawImage(canvas.DC(), tile->hBitmap, rc, rc, source, kNoCorners, blended, 255, false, true, true);
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 7; ++x) ASSERT_EQ(pattern[y % 3][x % 2], canvas.Rgb(x, y)) << x << "," << y;
            EXPECT_EQ(kBackground & 0xFFFFFFu, canvas.Rgb(7, 0));
            EXPECT_EQ(kBackground & 0xFFFFFFu, canvas.Rgb(0, 8));
        }
        {
            // Along x only; the height equals the source height, so nothing stretches.
            CCanvas canvas(10, 10, kBackground);
            const RECT rc { 1, 1, 8, 4 };
            CRenderEngine::DrawImage(canvas.DC(), tile->hBitmap, rc, rc, source, kNoCorners, blended, 255, false, true, false);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 7; ++x) ASSERT_EQ(pattern[y][x % 2], canvas.Rgb(1 + x, 1 + y)) << x << "," << y;
            EXPECT_EQ(kBackground & 0xFFFFFFu, canvas.Rgb(8, 1));
        }
        {
            CCanvas canvas(10, 10, kBackground);
            const RECT rc { 1, 1, 3, 9 };
            CRenderEngine::DrawImage(canvas.DC(), tile->hBitmap, rc, rc, source, kNoCorners, blended, 255, false, false, true);
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 2; ++x) ASSERT_EQ(pattern[y % 3][x], canvas.Rgb(1 + x, 1 + y)) << x << "," << y;
            EXPECT_EQ(kBackground & 0xFFFFFFu, canvas.Rgb(1, 9));
        }
    }
}

TEST(RenderDraw, TiledCentreWithCornersAndHole)
{
    ImagePtr grid = LoadFixture(L"grid.png");
    ASSERT_TRUE(grid);
    const RECT source { 0, 0, 12, 12 };
    const RECT corners { 4, 4, 4, 4 };
    const RECT rc { 0, 0, 30, 30 };
    CCanvas canvas(30, 30, kBackground);
    CRenderEngine::DrawImage(canvas.DC(), grid->hBitmap, rc, rc, source, corners, false, 255, false, true, true);
    ExpectNineGrid(canvas, rc, true);
    EXPECT_EQ(kCentre, canvas.Rgb(25, 25));

    CCanvas holed(30, 30, kBackground);
    CRenderEngine::DrawImage(holed.DC(), grid->hBitmap, rc, rc, source, corners, false, 255, true, true, true);
    ExpectNineGrid(holed, rc, false);
}

TEST(RenderDraw, TilingAnEmptySourceAxisDrawsNoCentre)
{
    ImagePtr grid = LoadFixture(L"grid.png");
    ASSERT_TRUE(grid);
    CCanvas canvas(20, 20, kBackground);
    const RECT rc { 0, 0, 20, 20 };
    const RECT source { 0, 0, 8, 8 };
    const RECT corners { 4, 4, 4, 4 };  // inner source is 0 x 0
    CRenderEngine::DrawImage(canvas.DC(), grid->hBitmap, rc, rc, source, corners, false, 255, false, true, true);
    EXPECT_EQ(kBackground & 0xFFFFFFu, canvas.Rgb(10, 10));
    EXPECT_EQ(kRed, canvas.Rgb(0, 0));
}

TEST(RenderDraw, FadeBlendsAnOpaqueImage)
{
    ImagePtr grid = LoadFixture(L"grid.png");
    ASSERT_TRUE(grid);
    CCanvas canvas(12, 12, 0xFF000000u);
    const RECT rc { 0, 0, 12, 12 };
    CRenderEngine::DrawImage(canvas.DC(), grid->hBitmap, rc, rc, rc, kNoCorners, false, 128);
    EXPECT_TRUE(Near(canvas.Pixel(0, 0), 0x800000u, 2)) << Hex(canvas.Pixel(0, 0));
    EXPECT_TRUE(Near(canvas.Pixel(11, 11), 0x808000u, 2)) << Hex(canvas.Pixel(11, 11));

    CCanvas zero(12, 12, kBackground);
    CRenderEngine::DrawImage(zero.DC(), grid->hBitmap, rc, rc, rc, kNoCorners, false, 0);
    EXPECT_EQ(kBackground & 0xFFFFFFu, zero.Rgb(5, 5));
}

TEST(RenderDraw, TranslucentImageIsNotDarkenedTwice)
{
    ImagePtr image = LoadFixture(L"alpha.png");
    ASSERT_TRUE(image);
    CCanvas canvas(2, 1, 0xFF000000u);
    const RECT rc { 0, 0, 2, 1 };
    CRenderEngine::DrawImage(canvas.DC(), image->hBitmap, rc, rc, rc, kNoCorners, image->alphaChannel);
    // Half-transparent red over black is half red, not a quarter.
    EXPECT_TRUE(Near(canvas.Pixel(0, 0), 0x800000u, 2)) << Hex(canvas.Pixel(0, 0));
    EXPECT_EQ(kGreen, canvas.Rgb(1, 0));
}

TEST(RenderDraw, NullBitmapOrContextDrawsNothing)
{
    CCanvas canvas(4, 4, kBackground);
    const RECT rc { 0, 0, 4, 4 };
    CRenderEngine::DrawImage(canvas.DC(), nullptr, rc, rc, rc, kNoCorners, true);
    CRenderEngine::DrawImage(nullptr, nullptr, rc, rc, rc, kNoCorners, true);
    EXPECT_EQ(kBackground, canvas.Pixel(2, 2));
}

TEST(RenderDraw, SoftwareBlendMatchesAlphaBlend)
{
    const AlphaBlendProc platform = GetAlphaBlend();
    ASSERT_NE(platform, &SoftwareAlphaBlend) << "msimg32 AlphaBlend expected under Wine";

    // Premultiplied source pixels of many alphas over a varied destination.
    const int size = 16;
    CCanvas source(size, size, 0);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const DWORD a = static_cast<DWORD>((x * 16 + y) & 0xFF);
            const DWORD color = (a << 24) | ((x * 13u) << 16) | ((y * 11u) << 8) | ((x * y) & 0xFF);
            source.Bits()[y * size + x] = PremultiplyColor(color);
        }
    }
    for (BYTE constant : { BYTE(255), BYTE(200), BYTE(77) }) {
        for (BYTE format : { BYTE(AC_SRC_ALPHA), BYTE(0) }) {
            CCanvas viaPlatform(size, size);
            CCanvas viaSoftware(size, size);
            for (int i = 0; i < size * size; ++i) {
                const DWORD d = 0x80000000u | static_cast<DWORD>(i * 0x010305);
                viaPlatform.Bits()[i] = d;
                viaSoftware.Bits()[i] = d;
            }
            const BLENDFUNCTION blend { AC_SRC_OVER, 0, constant, format };
            ASSERT_TRUE(platform(viaPlatform.DC(), 0, 0, size, size, source.DC(), 0, 0, size, size, blend));
            ASSERT_TRUE(SoftwareAlphaBlend(viaSoftware.DC(), 0, 0, size, size, source.DC(), 0, 0, size, size, blend));
            for (int i = 0; i < size * size; ++i) {
                ASSERT_TRUE(Near(viaSoftware.Bits()[i], viaPlatform.Bits()[i], 2, format != 0))
                    << "pixel " << i << " constant " << int(constant) << " format " << int(format) << ": software "
                    << Hex(viaSoftware.Bits()[i]) << " platform " << Hex(viaPlatform.Bits()[i]);
            }
        }
    }
}

TEST(RenderDraw, SoftwareBlendStretchesAndRefusesEmptyTargets)
{
    CCanvas source(1, 1, PremultiplyColor(0x80FFFFFFu));
    CCanvas target(6, 4, 0xFF000000u);
    const BLENDFUNCTION blend { AC_SRC_OVER, 0, 255, AC_SRC_ALPHA };
    EXPECT_TRUE(SoftwareAlphaBlend(target.DC(), 1, 1, 4, 2, source.DC(), 0, 0, 1, 1, blend));
    EXPECT_TRUE(Near(target.Pixel(1, 1), 0x808080u, 2)) << Hex(target.Pixel(1, 1));
    EXPECT_TRUE(Near(target.Pixel(4, 2), 0x808080u, 2)) << Hex(target.Pixel(4, 2));
    EXPECT_EQ(0u, target.Rgb(0, 0));
    EXPECT_EQ(0u, target.Rgb(5, 3));
    EXPECT_FALSE(SoftwareAlphaBlend(target.DC(), 0, 0, 0, 2, source.DC(), 0, 0, 1, 1, blend));
}
