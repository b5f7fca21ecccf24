// Colour fills, gradients, lines, frames, colour adjustment and clipping.
#include <gtest/gtest.h>

#include "RenderTestCanvas.h"
#include "engine/RenderEngine.h"

using namespace Veneer;
using RenderTest::CCanvas;
using RenderTest::Channel;
using RenderTest::Hex;
using RenderTest::Near;

TEST(RenderColor, FillsByAlpha)
{
    CCanvas canvas(10, 10, 0xFF000000u);
    const RECT rc { 2, 2, 8, 8 };
    CRenderEngine::DrawColor(canvas.DC(), rc, 0x00FFFFFFu);
    EXPECT_EQ(0u, canvas.Rgb(4, 4));

    CRenderEngine::DrawColor(canvas.DC(), rc, 0xFF336699u);
    EXPECT_EQ(0x336699u, canvas.Rgb(2, 2));
    EXPECT_EQ(0x336699u, canvas.Rgb(7, 7));
    EXPECT_EQ(0u, canvas.Rgb(8, 8));
    EXPECT_EQ(0u, canvas.Rgb(1, 1));
}

TEST(RenderColor, TranslucentFillIsNotTooBright)
{
    // White at alpha 128 over black is mid grey; straight (unpremultiplied)
    // colour through AlphaBlend would give white.
    CCanvas black(4, 4, 0xFF000000u);
    const RECT rc { 0, 0, 4, 4 };
    CRenderEngine::DrawColor(black.DC(), rc, 0x80FFFFFFu);
    EXPECT_TRUE(Near(black.Pixel(1, 1), 0x808080u, 2)) << Hex(black.Pixel(1, 1));

    // Black at alpha 0xAA over white keeps a third of the white.
    CCanvas white(4, 4, 0xFFFFFFFFu);
    CRenderEngine::DrawColor(white.DC(), rc, 0xAA000000u);
    EXPECT_TRUE(Near(white.Pixel(2, 2), 0x555555u, 2)) << Hex(white.Pixel(2, 2));

    // Red at alpha 64 over blue.
    CCanvas blue(4, 4, 0xFF0000FFu);
    CRenderEngine::DrawColor(blue.DC(), rc, 0x40FF0000u);
    EXPECT_TRUE(Near(blue.Pixel(0, 0), 0x4000BFu, 2)) << Hex(blue.Pixel(0, 0));
}

TEST(RenderColor, OpaqueGradientRunsFromFirstToSecond)
{
    CCanvas canvas(64, 64, 0xFF000000u);
    const RECT rc { 0, 0, 64, 64 };
    CRenderEngine::DrawGradient(canvas.DC(), rc, 0xFFFF0000u, 0xFF0000FFu, true, 64);
    EXPECT_TRUE(Near(canvas.Pixel(10, 0), 0xFF0000u, 8)) << Hex(canvas.Pixel(10, 0));
    EXPECT_TRUE(Near(canvas.Pixel(10, 63), 0x0000FFu, 8)) << Hex(canvas.Pixel(10, 63));
    EXPECT_TRUE(Near(canvas.Pixel(10, 32), 0x7F0080u, 8)) << Hex(canvas.Pixel(10, 32));
    // Vertical: every pixel of a row is the same colour.
    EXPECT_EQ(canvas.Rgb(0, 20), canvas.Rgb(63, 20));

    CCanvas horizontal(64, 8, 0xFF000000u);
    const RECT strip { 0, 0, 64, 8 };
    CRenderEngine::DrawGradient(horizontal.DC(), strip, 0xFF00FF00u, 0xFFFFFFFFu, false, 16);
    EXPECT_TRUE(Near(horizontal.Pixel(0, 4), 0x00FF00u, 8)) << Hex(horizontal.Pixel(0, 4));
    EXPECT_TRUE(Near(horizontal.Pixel(63, 4), 0xFFFFFFu, 8)) << Hex(horizontal.Pixel(63, 4));
    EXPECT_EQ(horizontal.Rgb(31, 0), horizontal.Rgb(31, 7));
    // Monotonic red channel from left to right.
    for (int x = 1; x < 64; ++x) ASSERT_GE(Channel(horizontal.Pixel(x, 4), 16), Channel(horizontal.Pixel(x - 1, 4), 16));
}

TEST(RenderColor, TranslucentGradientBlendsAtTheAverageAlpha)
{
    CCanvas none(8, 8, 0xFF123456u);
    const RECT rc { 0, 0, 8, 8 };
    CRenderEngine::DrawGradient(none.DC(), rc, 0x00FFFFFFu, 0x00FFFFFFu, true, 16);
    EXPECT_EQ(0x123456u, none.Rgb(4, 4));

    // (0xFF + 0x01) / 2 = 0x80: white over black comes out mid grey.
    CCanvas canvas(8, 8, 0xFF000000u);
    CRenderEngine::DrawGradient(canvas.DC(), rc, 0xFFFFFFFFu, 0x01FFFFFFu, true, 16);
    for (int y : { 0, 4, 7 }) EXPECT_TRUE(Near(canvas.Pixel(4, y), 0x808080u, 2)) << y << " " << Hex(canvas.Pixel(4, y));

    CCanvas offset(20, 20, 0xFF000000u);
    const RECT inner { 5, 5, 15, 15 };
    CRenderEngine::DrawGradient(offset.DC(), inner, 0x80FFFFFFu, 0x80FFFFFFu, false, 8);
    EXPECT_TRUE(Near(offset.Pixel(5, 5), 0x808080u, 2)) << Hex(offset.Pixel(5, 5));
    EXPECT_TRUE(Near(offset.Pixel(14, 14), 0x808080u, 2)) << Hex(offset.Pixel(14, 14));
    EXPECT_EQ(0u, offset.Rgb(4, 4));
    EXPECT_EQ(0u, offset.Rgb(15, 15));
}

TEST(RenderColor, LinesAndFrames)
{
    CCanvas canvas(20, 20, 0xFF000000u);
    const RECT line { 0, 10, 20, 10 };
    CRenderEngine::DrawLine(canvas.DC(), line, 1, 0xFF00FF00u);
    EXPECT_EQ(0x00FF00u, canvas.Rgb(5, 10));
    EXPECT_EQ(0u, canvas.Rgb(5, 9));
    EXPECT_EQ(0u, canvas.Rgb(5, 11));

    CCanvas framed(20, 20, 0xFF000000u);
    const RECT frame { 2, 2, 18, 18 };
    CRenderEngine::DrawRect(framed.DC(), frame, 2, 0xFFFF0000u);
    // Inside-frame pen: the 2-pixel border lies within the rectangle.
    EXPECT_EQ(0xFF0000u, framed.Rgb(2, 10));
    EXPECT_EQ(0xFF0000u, framed.Rgb(3, 10));
    EXPECT_EQ(0u, framed.Rgb(4, 10));
    EXPECT_EQ(0xFF0000u, framed.Rgb(17, 10));
    EXPECT_EQ(0u, framed.Rgb(18, 10));
    EXPECT_EQ(0u, framed.Rgb(10, 10)) << "null brush: inside stays empty";

    CCanvas round(40, 40, 0xFF000000u);
    const RECT rr { 0, 0, 40, 40 };
    CRenderEngine::DrawRoundRect(round.DC(), rr, 1, 20, 20, 0xFF0000FFu);
    EXPECT_EQ(0x0000FFu, round.Rgb(20, 0));
    EXPECT_EQ(0u, round.Rgb(0, 0)) << "rounded corner left out";
}

TEST(RenderColor, AdjustColor)
{
    EXPECT_EQ(0x7F123456u, CRenderEngine::AdjustColor(0x7F123456u, 180, 100, 100));
    // The lowest byte counts as the first channel: +120 degrees moves it to the second.
    EXPECT_EQ(0xFF00FF00u, CRenderEngine::AdjustColor(0xFF0000FFu, 300, 100, 100));
    EXPECT_EQ(0x40FF0000u, CRenderEngine::AdjustColor(0x4000FF00u, 300, 100, 100));
    EXPECT_EQ(0xFF000000u, CRenderEngine::AdjustColor(0xFF123456u, 180, 100, 0));
    // No saturation: grey of the same lightness.
    const DWORD grey = CRenderEngine::AdjustColor(0xFF0000FFu, 180, 0, 100);
    EXPECT_EQ(Channel(grey, 0), Channel(grey, 8));
    EXPECT_EQ(Channel(grey, 8), Channel(grey, 16));
    EXPECT_NEAR(127, Channel(grey, 0), 1);
    // Greys have no hue to shift.
    EXPECT_EQ(0xFF808080u, CRenderEngine::AdjustColor(0xFF808080u, 90, 100, 100));
}

TEST(RenderColor, ClipRestrictsAndRestores)
{
    CCanvas canvas(20, 20, 0xFF000000u);
    const RECT all { 0, 0, 20, 20 };
    {
        CRenderClip clip;
        CRenderClip::GenerateClip(canvas.DC(), RECT { 5, 5, 10, 10 }, clip);
        EXPECT_EQ(5, clip.rcItem.left);
        CRenderEngine::DrawColor(canvas.DC(), all, 0xFFFF0000u);
        EXPECT_EQ(0xFF0000u, canvas.Rgb(5, 5));
        EXPECT_EQ(0u, canvas.Rgb(10, 10));

        CRenderClip::UseOldClipBegin(canvas.DC(), clip);
        CRenderEngine::DrawColor(canvas.DC(), RECT { 0, 0, 2, 2 }, 0xFF00FF00u);
        CRenderClip::UseOldClipEnd(canvas.DC(), clip);
        EXPECT_EQ(0x00FF00u, canvas.Rgb(1, 1));
        CRenderEngine::DrawColor(canvas.DC(), all, 0xFF0000FFu);
        EXPECT_EQ(0x00FF00u, canvas.Rgb(1, 1));
    }
    CRenderEngine::DrawColor(canvas.DC(), all, 0xFFFFFFFFu);
    EXPECT_EQ(0xFFFFFFu, canvas.Rgb(15, 15));
}

TEST(RenderColor, RoundClipCutsTheCorners)
{
    CCanvas canvas(40, 40, 0xFF000000u);
    {
        CRenderClip clip;
        const RECT item { 0, 0, 40, 40 };
        CRenderClip::GenerateRoundClip(canvas.DC(), item, item, 20, 20, clip);
        CRenderEngine::DrawColor(canvas.DC(), item, 0xFFFFFFFFu);
    }
    EXPECT_EQ(0u, canvas.Rgb(0, 0));
    EXPECT_EQ(0u, canvas.Rgb(39, 39));
    EXPECT_EQ(0xFFFFFFu, canvas.Rgb(20, 20));
    EXPECT_EQ(0xFFFFFFu, canvas.Rgb(20, 0));
}
