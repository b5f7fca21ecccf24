// Stretched nine-grids drawn through image strings are composed once per
// destination size and copied afterwards: the copies must show exactly what
// drawing the pieces shows, respect the paint rectangle, and never outlive
// the image they were made from.
#include <gtest/gtest.h>

#include "RenderTestCanvas.h"
#include "engine/PaintManagerUI.h"
#include "engine/RenderEngine.h"
#include "support/TestSupport.h"

using namespace Veneer;
using RenderTest::CCanvas;
using RenderTest::Hex;

namespace {

const DWORD kBackground = 0xFF102030u;

HBITMAP SolidBitmap(int width, int height, DWORD premultiplied)
{
    BITMAPINFO bmi {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr) {
        for (int i = 0; i < width * height; ++i) static_cast<DWORD*>(bits)[i] = premultiplied;
    }
    return bitmap;
}

class RenderNineGrid : public ::testing::Test {
protected:
    void SetUp() override { CPaintManagerUI::SetResourcePath(TestSupport::FixturePath(L"render").c_str()); }
    void TearDown() override { CPaintManagerUI::SetResourcePath(L""); }

    // Every pixel of the image string's drawing against the pieces drawn
    // directly with the same arguments.
    void ExpectSameAsPieces(LPCWSTR image, const RECT& corners, BYTE fade, bool hole)
    {
        const RECT item { 3, 2, 157, 61 };
        CCanvas viaString(160, 64, kBackground);
        CCanvas direct(160, 64, kBackground);
        const TImageInfo* info = m_manager.GetImageEx(L"grid.png");
        ASSERT_NE(info, nullptr);
        const RECT source { 0, 0, info->nX, info->nY };
        // Twice: the first composes, the second copies the composition.
        for (int round = 0; round < 2; ++round) {
            viaString.Fill(kBackground);
            ASSERT_TRUE(CRenderEngine::DrawImageString(viaString.DC(), &m_manager, item, item, image));
            direct.Fill(kBackground);
            CRenderEngine::DrawImage(direct.DC(), info->hBitmap, item, item, source, corners, info->alphaChannel,
                fade, hole);
            int differing = 0;
            for (int y = 0; y < 64; ++y) {
                for (int x = 0; x < 160; ++x) {
                    if (viaString.Rgb(x, y) != direct.Rgb(x, y) && differing++ < 3) {
                        ADD_FAILURE() << image << " round " << round << " at " << x << "," << y << ": "
                                      << Hex(viaString.Rgb(x, y)) << " vs " << Hex(direct.Rgb(x, y));
                    }
                }
            }
            EXPECT_EQ(0, differing) << image;
        }
    }

    CPaintManagerUI m_manager;
};

}  // namespace

TEST_F(RenderNineGrid, CompositionShowsWhatThePiecesShow)
{
    ExpectSameAsPieces(L"file='grid.png' corner='4,4,4,4'", RECT { 4, 4, 4, 4 }, 255, false);
    ExpectSameAsPieces(L"file='grid.png' corner='3,2,5,4' fade='128'", RECT { 3, 2, 5, 4 }, 128, false);
    ExpectSameAsPieces(L"file='grid.png' corner='4,4,4,4' fade='200' hole='true'", RECT { 4, 4, 4, 4 }, 200, true);
    // An opaque hole cannot be a copy; it still draws what the pieces draw.
    ExpectSameAsPieces(L"file='grid.png' corner='4,4,4,4' hole='true'", RECT { 4, 4, 4, 4 }, 255, true);
}

TEST_F(RenderNineGrid, OnlyPiecesMeetingThePaintRectangleAreDrawn)
{
    CCanvas canvas(200, 60, kBackground);
    const RECT item { 0, 0, 200, 60 };
    LPCWSTR image = L"file='grid.png' corner='4,4,4,4'";
    ASSERT_TRUE(CRenderEngine::DrawImageString(canvas.DC(), &m_manager, item, item, image));
    const DWORD centre = canvas.Rgb(100, 30);
    const DWORD corner = canvas.Rgb(1, 1);

    // A paint rectangle inside the top-left corner: that corner alone.
    canvas.Fill(kBackground);
    const RECT paint { 0, 0, 3, 3 };
    ASSERT_TRUE(CRenderEngine::DrawImageString(canvas.DC(), &m_manager, item, paint, image));
    EXPECT_EQ(corner, canvas.Rgb(1, 1));
    EXPECT_EQ(kBackground & 0xFFFFFFu, canvas.Rgb(100, 30)) << "the centre does not meet the paint rectangle";
    EXPECT_EQ(kBackground & 0xFFFFFFu, canvas.Rgb(198, 58));
    EXPECT_NE(centre, kBackground & 0xFFFFFFu);
}

TEST_F(RenderNineGrid, ReplacedImageIsNeverDrawnFromAnOldComposition)
{
    CCanvas canvas(120, 40, kBackground);
    const RECT item { 0, 0, 120, 40 };
    LPCWSTR image = L"file='swap' corner='2,2,2,2'";
    ASSERT_NE(m_manager.AddImage(L"swap", SolidBitmap(8, 8, 0xFFFF0000u), 8, 8, false), nullptr);
    ASSERT_TRUE(CRenderEngine::DrawImageString(canvas.DC(), &m_manager, item, item, image));
    EXPECT_EQ(0xFF0000u, canvas.Rgb(60, 20));

    // Freed and replaced under the same name: the new bitmap may well get
    // the old one's handle.
    for (int i = 0; i < 4; ++i) {
        const DWORD colour = (i % 2 == 0) ? 0xFF0000FFu : 0xFF00FF00u;
        ASSERT_TRUE(m_manager.RemoveImage(L"swap"));
        ASSERT_NE(m_manager.AddImage(L"swap", SolidBitmap(8, 8, colour), 8, 8, false), nullptr);
        ASSERT_TRUE(CRenderEngine::DrawImageString(canvas.DC(), &m_manager, item, item, image));
        EXPECT_EQ(colour & 0xFFFFFFu, canvas.Rgb(60, 20)) << "round " << i;
        EXPECT_EQ(colour & 0xFFFFFFu, canvas.Rgb(1, 1)) << "round " << i;
    }
}
