#include <gtest/gtest.h>

#include "controls/ContainerUI.h"
#include "engine/ControlUI.h"
#include "engine/PaintManagerUI.h"

using namespace Veneer;

namespace {

// A 32-bit top-down surface to paint into and read back.
class Surface {
public:
    Surface(int width, int height) : m_width(width)
    {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = width;
        bmi.bmiHeader.biHeight = -height;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        m_dc = ::CreateCompatibleDC(nullptr);
        m_bitmap = ::CreateDIBSection(m_dc, &bmi, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_old = ::SelectObject(m_dc, m_bitmap);
        for (int i = 0; i < width * height; ++i) {
            m_bits[i] = 0x00FFFFFF;
        }
    }
    ~Surface()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    HDC DC() const { return m_dc; }
    // 0x00RRGGBB of a pixel.
    DWORD At(int x, int y) const
    {
        ::GdiFlush();
        return m_bits[y * m_width + x] & 0x00FFFFFF;
    }

private:
    int m_width { 0 };
    HDC m_dc { nullptr };
    HBITMAP m_bitmap { nullptr };
    HGDIOBJ m_old { nullptr };
    DWORD* m_bits { nullptr };
};

constexpr DWORD kWhite = 0x00FFFFFF;
constexpr DWORD kRed = 0x00FF0000;

}  // namespace

TEST(ControlPaint, OpaqueBackgroundFillsOnlyThePaintRectangle)
{
    Surface surface(40, 40);
    CControlUI control;
    control.SetBkColor(0xFFFF0000);
    control.SetPos(RECT { 0, 0, 40, 40 });
    control.DoPaint(surface.DC(), RECT { 0, 0, 20, 40 });
    EXPECT_EQ(kRed, surface.At(5, 5));
    EXPECT_EQ(kWhite, surface.At(30, 5));
}

TEST(ControlPaint, TranslucentBackgroundFillsTheWholeItemRectangle)
{
    Surface surface(40, 40);
    CControlUI control;
    control.SetBkColor(0x80FF0000);
    control.SetPos(RECT { 0, 0, 40, 40 });
    control.DoPaint(surface.DC(), RECT { 0, 0, 20, 40 });
    EXPECT_NE(kWhite, surface.At(5, 5));
    EXPECT_NE(kWhite, surface.At(30, 5));
}

TEST(ControlPaint, NothingOutsideTheItemRectangle)
{
    Surface surface(40, 40);
    CControlUI control;
    control.SetBkColor(0xFFFF0000);
    control.SetPos(RECT { 10, 10, 20, 20 });
    control.DoPaint(surface.DC(), RECT { 30, 30, 40, 40 });
    EXPECT_EQ(kWhite, surface.At(15, 15));
    control.DoPaint(surface.DC(), RECT { 0, 0, 40, 40 });
    EXPECT_EQ(kRed, surface.At(15, 15));
    EXPECT_EQ(kWhite, surface.At(25, 15));
}

TEST(ControlPaint, BordersAllAroundAndPerSide)
{
    Surface surface(40, 40);
    CControlUI framed;
    framed.SetPos(RECT { 0, 0, 20, 20 });
    framed.SetBorderColor(0xFF0000FF);
    framed.SetBorderSize(2);
    framed.DoPaint(surface.DC(), RECT { 0, 0, 40, 40 });
    EXPECT_EQ(0x000000FFu, surface.At(0, 10));
    EXPECT_EQ(0x000000FFu, surface.At(19, 10));
    EXPECT_EQ(kWhite, surface.At(10, 10));

    CControlUI sided;
    sided.SetPos(RECT { 20, 20, 40, 40 });
    sided.SetBorderColor(0xFF00FF00);
    sided.SetAttribute(L"bordersize", L"1,0,0,0");
    sided.DoPaint(surface.DC(), RECT { 0, 0, 40, 40 });
    EXPECT_EQ(0x0000FF00u, surface.At(20, 30));
    EXPECT_EQ(kWhite, surface.At(30, 20));
    EXPECT_EQ(kWhite, surface.At(39, 30));
}

TEST(ControlPaint, ImageThatCannotBeDrawnIsDropped)
{
    Surface surface(10, 10);
    CControlUI control;
    control.SetPos(RECT { 0, 0, 10, 10 });
    control.SetBkImage(L"file='missing.png'");
    // No paint manager: the image string cannot be drawn at all.
    control.DoPaint(surface.DC(), RECT { 0, 0, 10, 10 });
    EXPECT_STREQ(L"", control.GetBkImage());
}

TEST(ContainerPaint, ChildrenAreClippedToTheInnerRectangleButFloatChildrenAreNot)
{
    Surface surface(60, 60);
    CContainerUI container;
    container.SetAutoDestroy(false);
    container.SetInset(RECT { 10, 10, 10, 10 });
    CControlUI child;
    child.SetBkColor(0xFFFF0000);
    CControlUI floating;
    floating.SetFloat(true);
    floating.SetBkColor(0xFF0000FF);
    floating.SetFixedXY(SIZE { 0, 0 });
    floating.SetFixedWidth(5);
    floating.SetFixedHeight(5);
    container.Add(&child);
    container.Add(&floating);
    container.SetPos(RECT { 0, 0, 50, 50 });
    // Force the child over the inset and beyond the container.
    child.SetPos(RECT { 0, 0, 60, 60 });
    container.DoPaint(surface.DC(), RECT { 0, 0, 60, 60 });
    EXPECT_EQ(kRed, surface.At(25, 25));
    EXPECT_EQ(kWhite, surface.At(7, 25));
    EXPECT_EQ(kWhite, surface.At(55, 55));
    EXPECT_EQ(0x000000FFu, surface.At(2, 2));
    container.RemoveAll();
}

TEST(ControlPaint, RoundedCornersAreLeftUnpainted)
{
    Surface surface(40, 40);
    CControlUI control;
    control.SetBkColor(0xFFFF0000);
    control.SetBorderRound(SIZE { 16, 16 });
    control.SetPos(RECT { 0, 0, 40, 40 });
    control.DoPaint(surface.DC(), RECT { 0, 0, 40, 40 });
    EXPECT_EQ(kWhite, surface.At(0, 0));
    EXPECT_EQ(kWhite, surface.At(39, 39));
    EXPECT_EQ(kRed, surface.At(20, 20));
    EXPECT_EQ(kRed, surface.At(20, 0));
    // The clip is gone afterwards.
    CControlUI square;
    square.SetBkColor(0xFFFF0000);
    square.SetPos(RECT { 0, 0, 40, 40 });
    square.DoPaint(surface.DC(), RECT { 0, 0, 40, 40 });
    EXPECT_EQ(kRed, surface.At(0, 0));
}

TEST(ControlPaint, GradientsRunTopToBottom)
{
    Surface surface(10, 40);
    CControlUI control;
    control.SetBkColor(0xFFFF0000);
    control.SetBkColor2(0xFF0000FF);
    control.SetPos(RECT { 0, 0, 10, 40 });
    control.DoPaint(surface.DC(), RECT { 0, 0, 10, 40 });
    EXPECT_GT(surface.At(5, 1) >> 16, surface.At(5, 38) >> 16);
    EXPECT_LT(surface.At(5, 1) & 0xFF, surface.At(5, 38) & 0xFF);

    // Three colours: the middle colour is reached at the vertical middle.
    control.SetBkColor3(0xFFFF0000);
    control.DoPaint(surface.DC(), RECT { 0, 0, 10, 40 });
    EXPECT_GT(surface.At(5, 19) & 0xFF, surface.At(5, 1) & 0xFF);
    EXPECT_GT(surface.At(5, 21) & 0xFF, surface.At(5, 38) & 0xFF);
}
