// DrawImageString end to end: the paint manager's image cache, the Part's
// examples on pixels, and a mutation loop that really draws.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>

#include "RenderTestCanvas.h"
#include "engine/PaintManagerUI.h"
#include "engine/RenderEngine.h"
#include "support/TestSupport.h"

using namespace Veneer;
using RenderTest::CCanvas;
using RenderTest::Hex;
using RenderTest::Near;

namespace {

const DWORD kBackground = 0xFF102030u;
const DWORD kBack = kBackground & 0xFFFFFFu;

class RenderImageStringDraw : public ::testing::Test {
protected:
    void SetUp() override { CPaintManagerUI::SetResourcePath(TestSupport::FixturePath(L"render").c_str()); }
    void TearDown() override { CPaintManagerUI::SetResourcePath(L""); }

    bool Draw(CCanvas& canvas, const RECT& item, LPCWSTR image, LPCWSTR modify = nullptr)
    {
        return CRenderEngine::DrawImageString(canvas.DC(), &m_manager, item, item, image, modify);
    }

    CPaintManagerUI m_manager;
};

}  // namespace

TEST_F(RenderImageStringDraw, NullManagerOrContextIsRefused)
{
    CCanvas canvas(10, 10, kBackground);
    const RECT item { 0, 0, 10, 10 };
    EXPECT_FALSE(CRenderEngine::DrawImageString(canvas.DC(), nullptr, item, item, L"grid.png"));
    EXPECT_FALSE(CRenderEngine::DrawImageString(nullptr, &m_manager, item, item, L"grid.png"));
    EXPECT_TRUE(Draw(canvas, item, L"missing.png")) << "an image that cannot be loaded still returns true";
    EXPECT_EQ(kBack, canvas.Rgb(5, 5));
    EXPECT_TRUE(Draw(canvas, item, L"dest='1,1,5,5'")) << "no file key: the whole string names no image";
    EXPECT_EQ(kBack, canvas.Rgb(2, 2));
}

TEST_F(RenderImageStringDraw, BareNameStretchesOverTheItem)
{
    CCanvas canvas(40, 40, kBackground);
    const RECT item { 4, 4, 28, 28 };
    ASSERT_TRUE(Draw(canvas, item, L"grid.png"));
    EXPECT_EQ(0xFF0000u, canvas.Rgb(5, 5));
    EXPECT_EQ(0xFFFF00u, canvas.Rgb(26, 26));
    EXPECT_EQ(0x404040u, canvas.Rgb(16, 16));
    EXPECT_EQ(kBack, canvas.Rgb(3, 3));
    EXPECT_EQ(kBack, canvas.Rgb(28, 28));
}

TEST_F(RenderImageStringDraw, SliceWithCornersOnAWideControl)
{
    CCanvas canvas(220, 40, kBackground);
    const RECT item { 10, 5, 210, 35 };
    ASSERT_TRUE(Draw(canvas, item, L"file='grid.png' source='0,0,12,12' corner='4,4,4,4'"));
    EXPECT_EQ(0xFF0000u, canvas.Rgb(10, 5));
    EXPECT_EQ(0xFF0000u, canvas.Rgb(13, 8));
    EXPECT_EQ(0x404040u, canvas.Rgb(14, 9)) << "corners stay 4 x 4";
    EXPECT_EQ(0xFFFF00u, canvas.Rgb(209, 34));
    EXPECT_EQ(0xFFFF00u, canvas.Rgb(206, 31));
    EXPECT_EQ(0x00FFFFu, canvas.Rgb(110, 6));
    EXPECT_EQ(0x404040u, canvas.Rgb(110, 20));
}

TEST_F(RenderImageStringDraw, DestIsRelativeAndCutAtTheFarEdges)
{
    CCanvas canvas(40, 40, kBackground);
    const RECT item { 0, 0, 30, 30 };
    ASSERT_TRUE(Draw(canvas, item, L"file='tile.png' dest='10,10,100,100' source='0,0,1,1'"));
    EXPECT_EQ(kBack, canvas.Rgb(9, 9));
    EXPECT_EQ(0xFF0000u, canvas.Rgb(10, 10));
    EXPECT_EQ(0xFF0000u, canvas.Rgb(29, 29));
    EXPECT_EQ(kBack, canvas.Rgb(30, 30));
}

TEST_F(RenderImageStringDraw, SourceIsCutToTheImage)
{
    CCanvas canvas(20, 20, kBackground);
    const RECT item { 0, 0, 12, 12 };
    // A source larger than the image becomes the whole image: a 1:1 copy.
    ASSERT_TRUE(Draw(canvas, item, L"file='grid.png' source='0,0,500,500'"));
    EXPECT_EQ(0xFF0000u, canvas.Rgb(0, 0));
    EXPECT_EQ(0xFFFF00u, canvas.Rgb(11, 11));
}

TEST_F(RenderImageStringDraw, ModifierPlacesASlice)
{
    CCanvas canvas(40, 20, kBackground);
    const RECT item { 0, 0, 40, 20 };
    ASSERT_TRUE(Draw(canvas, item, L"grid.png", L"dest='20,0,32,12'"));
    EXPECT_EQ(kBack, canvas.Rgb(5, 5));
    EXPECT_EQ(0xFF0000u, canvas.Rgb(20, 0));
    EXPECT_EQ(0xFFFF00u, canvas.Rgb(31, 11));
}

TEST_F(RenderImageStringDraw, StackedFilesDrawInOrder)
{
    CCanvas canvas(24, 12, kBackground);
    const RECT item { 0, 0, 24, 12 };
    ASSERT_TRUE(Draw(canvas, item, L"file='tile.png' file='grid.png' dest='12,0,24,12'"));
    // tile.png (2 x 3) stretched over the whole item first.
    // (HALFTONE stretching blends neighbours, so only presence is checked.)
    EXPECT_NE(kBack, canvas.Rgb(3, 6));
    EXPECT_NE(kBack, canvas.Rgb(20, 11));
    EXPECT_EQ(0xFF0000u, canvas.Rgb(12, 0));
    EXPECT_EQ(0xFFFF00u, canvas.Rgb(23, 11)) << "the second image is drawn whole, not cut to the first's size";
}

TEST_F(RenderImageStringDraw, MaskAppliesOnFirstLoadOnly)
{
    CCanvas canvas(4, 4, kBackground);
    const RECT item { 0, 0, 2, 2 };
    ASSERT_TRUE(Draw(canvas, item, L"file='magenta.png' mask='#FFFF00FF'"));
    EXPECT_EQ(kBack, canvas.Rgb(0, 0)) << "masked magenta is transparent";
    EXPECT_EQ(0xFFFFFFu, canvas.Rgb(1, 0));
    const TImageInfo* cached = m_manager.GetImage(L"magenta.png");
    ASSERT_NE(nullptr, cached);
    EXPECT_TRUE(cached->alphaChannel);

    CCanvas again(4, 4, kBackground);
    ASSERT_TRUE(Draw(again, item, L"file='magenta.png' mask='FF00FF'"));
    EXPECT_EQ(kBack, again.Rgb(0, 0)) << "the first load is reused";

    CCanvas unmasked(4, 4, kBackground);
    CPaintManagerUI other;
    ASSERT_TRUE(CRenderEngine::DrawImageString(unmasked.DC(), &other, item, item, L"file='magenta.png' mask='FF00FF'"));
    EXPECT_EQ(0xFF00FFu, unmasked.Rgb(0, 0)) << "six digits never match an opaque pixel";
}

TEST_F(RenderImageStringDraw, FadeAndHole)
{
    CCanvas faded(12, 12, 0xFF000000u);
    const RECT item { 0, 0, 12, 12 };
    ASSERT_TRUE(Draw(faded, item, L"file='grid.png' fade='128'"));
    EXPECT_TRUE(Near(faded.Pixel(0, 0), 0x800000u, 2)) << Hex(faded.Pixel(0, 0));

    CCanvas holed(30, 30, kBackground);
    const RECT big { 0, 0, 30, 30 };
    ASSERT_TRUE(Draw(holed, big, L"file='grid.png' corner='4,4,4,4' hole='true'"));
    EXPECT_EQ(kBack, holed.Rgb(15, 15));
    EXPECT_EQ(0xFF0000u, holed.Rgb(0, 0));
    // Same size, no corners, opaque: the hole is ignored.
    CCanvas copied(12, 12, kBackground);
    ASSERT_TRUE(Draw(copied, item, L"file='grid.png' hole='true'"));
    EXPECT_EQ(0x404040u, copied.Rgb(6, 6));
}

TEST_F(RenderImageStringDraw, ResourceImages)
{
    CCanvas canvas(12, 12, kBackground);
    const RECT item { 0, 0, 12, 12 };
    ASSERT_TRUE(Draw(canvas, item, L"res='201' restype='png'"));
    EXPECT_EQ(0xFF0000u, canvas.Rgb(0, 0));
    EXPECT_EQ(0xFFFF00u, canvas.Rgb(11, 11));
}

TEST_F(RenderImageStringDraw, PaintRectangleLimitsDrawing)
{
    CCanvas canvas(24, 24, kBackground);
    const RECT item { 0, 0, 24, 24 };
    const RECT paint { 30, 30, 40, 40 };
    EXPECT_TRUE(CRenderEngine::DrawImageString(canvas.DC(), &m_manager, item, paint, L"grid.png"));
    EXPECT_EQ(kBack, canvas.Rgb(0, 0));
}

TEST_F(RenderImageStringDraw, MutatedStringsDrawWithoutCrashing)
{
    const std::wstring samples[] = {
        L"file='grid.png' source='0,0,12,12' corner='4,4,4,4' fade='200' xtiled='true' ytiled='true'",
        L"res='201' restype='png' dest='1,2,30,40' hole='true'",
        L"file='tile.png' file='alpha.png' dest='0,0,10,10' mask='#FFFF00FF'",
        L"frames.png",
    };
    std::mt19937 random(4242);
    CCanvas canvas(64, 64, kBackground);
    const RECT item { 2, 3, 60, 50 };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(4);
    int rounds = 0;
    while (rounds < 3000 && std::chrono::steady_clock::now() < deadline) {
        std::wstring text = samples[random() % 4];
        for (int e = 0; e < 3 && !text.empty(); ++e) {
            const size_t at = random() % text.size();
            if (random() % 2 == 0) text[at] = L"'=, -0123456789"[random() % 15];
            else text.erase(at, 1 + random() % 3);
        }
        ASSERT_TRUE(Draw(canvas, item, text.c_str(), rounds % 2 == 0 ? L"dest='-5,-5,100,100'" : nullptr));
        ++rounds;
    }
    EXPECT_GT(rounds, 50);
}
