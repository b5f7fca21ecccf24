#pragma once
// A 32-bit top-down DIB section selected into a memory context: the render
// tests draw into it and read pixels back as 0xAARRGGBB.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace RenderTest {

class CCanvas {
public:
    CCanvas(int width, int height, DWORD fill = 0xFF000000u) : m_width(width), m_height(height)
    {
        BITMAPINFO bmi {};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = width;
        bmi.bmiHeader.biHeight = -height;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        m_dc = ::CreateCompatibleDC(nullptr);
        m_bitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_old = ::SelectObject(m_dc, m_bitmap);
        Fill(fill);
    }
    ~CCanvas()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    CCanvas(const CCanvas&) = delete;
    CCanvas& operator=(const CCanvas&) = delete;

    HDC DC() const { return m_dc; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    DWORD* Bits() const { return m_bits; }

    void Fill(DWORD value)
    {
        ::GdiFlush();
        for (int i = 0; i < m_width * m_height; ++i) m_bits[i] = value;
    }
    DWORD Pixel(int x, int y) const
    {
        ::GdiFlush();
        return m_bits[y * m_width + x];
    }
    // Colour only (alpha byte dropped): what GDI writes there is not defined.
    DWORD Rgb(int x, int y) const { return Pixel(x, y) & 0x00FFFFFFu; }

private:
    int m_width { 0 };
    int m_height { 0 };
    HDC m_dc { nullptr };
    HBITMAP m_bitmap { nullptr };
    HGDIOBJ m_old { nullptr };
    DWORD* m_bits { nullptr };
};

inline int Channel(DWORD color, int shift)
{
    return static_cast<int>((color >> shift) & 0xFF);
}

// Every channel (alpha included when withAlpha) within `tolerance`.
inline bool Near(DWORD actual, DWORD expected, int tolerance, bool withAlpha = false)
{
    for (int shift = 0; shift < (withAlpha ? 32 : 24); shift += 8) {
        if (std::abs(Channel(actual, shift) - Channel(expected, shift)) > tolerance) return false;
    }
    return true;
}

inline std::string Hex(DWORD value)
{
    char text[16] = {};
    static const char digits[] = "0123456789ABCDEF";
    for (int i = 0; i < 8; ++i) text[i] = digits[(value >> (28 - 4 * i)) & 0xF];
    return text;
}

}  // namespace RenderTest
