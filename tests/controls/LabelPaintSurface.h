#pragma once
// Shared by the label, button and option tests: a 32-bit DIB to paint
// controls into and read back, and a recorder of notifications.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "engine/ControlUI.h"
#include "engine/PaintManagerUI.h"

namespace WidgetTests {

class PaintSurface {
public:
    PaintSurface(int width, int height) : m_width(width), m_height(height)
    {
        BITMAPINFO info {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_dc = ::CreateCompatibleDC(nullptr);
        m_bitmap = ::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_old = ::SelectObject(m_dc, m_bitmap);
        Fill(0xFFFFFF);
    }
    ~PaintSurface()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    PaintSurface(const PaintSurface&) = delete;
    PaintSurface& operator=(const PaintSurface&) = delete;

    HDC Dc() const { return m_dc; }
    bool Valid() const { return m_bits != nullptr; }

    // 0x00RRGGBB
    DWORD Pixel(int x, int y) const
    {
        ::GdiFlush();
        return m_bits[y * m_width + x] & 0x00FFFFFF;
    }
    void Fill(DWORD rgb)
    {
        ::GdiFlush();
        for (int i = 0; i < m_width * m_height; ++i) m_bits[i] = rgb;
    }
    int Count(const RECT& area, const std::function<bool(int r, int g, int b)>& match) const
    {
        ::GdiFlush();
        int count = 0;
        for (int y = std::max(0L, area.top); y < std::min(static_cast<LONG>(m_height), area.bottom); ++y) {
            for (int x = std::max(0L, area.left); x < std::min(static_cast<LONG>(m_width), area.right); ++x) {
                const DWORD p = m_bits[y * m_width + x];
                if (match((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF)) ++count;
            }
        }
        return count;
    }
    int CountDark(const RECT& area) const
    {
        return Count(area, [](int r, int g, int b) { return r + g + b < 300; });
    }
    RECT Whole() const { return RECT { 0, 0, m_width, m_height }; }

private:
    int m_width { 0 };
    int m_height { 0 };
    HDC m_dc { nullptr };
    HBITMAP m_bitmap { nullptr };
    HGDIOBJ m_old { nullptr };
    DWORD* m_bits { nullptr };
};

inline bool IsReddish(int r, int g, int b)
{
    return r > 150 && r - g > 80 && r - b > 80;
}
inline bool IsBluish(int r, int g, int b)
{
    return b > 150 && b - r > 80 && b - g > 80;
}
inline bool IsGreenish(int r, int g, int b)
{
    return g > 100 && g - r > 60 && g - b > 60;
}

struct Notification {
    std::wstring type;
    Veneer::CControlUI* sender { nullptr };
    WPARAM wParam { 0 };
    LPARAM lParam { 0 };
};

class NotifyRecorder : public Veneer::INotifyUI {
public:
    void Notify(Veneer::TNotifyUI& msg) override
    {
        received.push_back(Notification { msg.sType.GetData(), msg.pSender, msg.wParam, msg.lParam });
    }
    std::vector<std::wstring> Types() const
    {
        std::vector<std::wstring> types;
        for (const auto& n : received) types.push_back(n.type);
        return types;
    }
    int CountOf(const std::wstring& type, Veneer::CControlUI* sender = nullptr) const
    {
        int count = 0;
        for (const auto& n : received) {
            if (n.type == type && (sender == nullptr || n.sender == sender)) ++count;
        }
        return count;
    }
    std::vector<Notification> received;
};

// Records the events a control passes on to its parent.
class EventSpyControl : public Veneer::CControlUI {
public:
    void DoEvent(Veneer::TEventUI& event) override { events.push_back(event.Type); }
    std::vector<int> events;
};

inline Veneer::TEventUI MakeEvent(int type, POINT pt = POINT { 0, 0 }, WCHAR key = 0)
{
    Veneer::TEventUI event;
    event.Type = type;
    event.ptMouse = pt;
    event.chKey = key;
    return event;
}

}  // namespace WidgetTests
