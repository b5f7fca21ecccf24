#include <gtest/gtest.h>

#include "ControlTestHelpers.h"
#include "controls/ScrollBarUI.h"

using namespace Veneer;
using namespace ControlTest;

namespace {

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

// A solid 16x16 opaque bitmap registered in the manager's image cache.
void AddSolidImage(CPaintManagerUI& manager, LPCWSTR name, DWORD rgb)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = 16;
    bmi.bmiHeader.biHeight = -16;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    DWORD* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    for (int i = 0; i < 16 * 16; ++i) {
        bits[i] = 0xFF000000 | rgb;
    }
    manager.AddImage(name, bitmap, 16, 16, false);
}

// Red 0x85, green 0xE4, blue 0xFF as the surface stores it.
constexpr DWORD kOutline = 0x0085E4FF;

}  // namespace

TEST(ScrollBarPaint, PartsWithoutImagesGetAnOutline)
{
    Surface surface(16, 100);
    CScrollBarUI bar;
    bar.SetPos(R(0, 0, 16, 100));
    bar.DoPaint(surface.DC(), R(0, 0, 16, 100));
    const DWORD outline = surface.At(0, 5);
    EXPECT_EQ(kOutline, outline);
    EXPECT_EQ(outline, surface.At(0, 90));   // button 2
    EXPECT_EQ(outline, surface.At(0, 30));   // thumb
    EXPECT_EQ(0x00FFFFFFu, surface.At(8, 8));  // inside button 1
    EXPECT_EQ(0x00FFFFFFu, surface.At(8, 70)); // the bare track
}

TEST(ScrollBarPaint, StateImagesFollowTheThumbState)
{
    CPaintManagerUI manager;
    AddSolidImage(manager, L"normal", 0x00FF00);
    AddSolidImage(manager, L"hot", 0x0000FF);
    AddSolidImage(manager, L"pushed", 0xFF0000);
    AddSolidImage(manager, L"button", 0x808080);
    auto* bar = new CScrollBarUI;
    bar->ApplyAttributeList(L"thumbnormalimage=\"normal\" thumbhotimage=\"hot\" thumbpushedimage=\"pushed\" "
                            L"button1normalimage=\"button\" button2normalimage=\"button\"");
    manager.InitControls(bar);
    bar->SetPos(R(0, 0, 16, 100));

    Surface surface(16, 100);
    bar->DoPaint(surface.DC(), R(0, 0, 16, 100));
    EXPECT_EQ(0x0000FF00u, surface.At(8, 30));
    EXPECT_EQ(0x00808080u, surface.At(8, 8));
    EXPECT_EQ(0x00808080u, surface.At(8, 92));

    TEventUI enter = MouseEvent(EVENT_MOUSEENTER, 8, 30);
    bar->DoEvent(enter);
    bar->DoPaint(surface.DC(), R(0, 0, 16, 100));
    EXPECT_EQ(0x000000FFu, surface.At(8, 30));

    TEventUI down = MouseEvent(EVENT_BUTTONDOWN, 8, 30);
    bar->DoEvent(down);
    bar->DoPaint(surface.DC(), R(0, 0, 16, 100));
    EXPECT_EQ(0x00FF0000u, surface.At(8, 30));
    TEventUI up = MouseEvent(EVENT_BUTTONUP, 8, 30);
    bar->DoEvent(up);

    // Disabled without a disabled image falls back to the normal one.
    bar->SetEnabled(false);
    bar->DoPaint(surface.DC(), R(0, 0, 16, 100));
    EXPECT_EQ(0x0000FF00u, surface.At(8, 30));
    delete bar;
}
