#pragma once
// What the benchmarks share: the performance counter in microseconds, the
// median of repeated runs of a piece of work, a hidden window for a paint
// manager, and a 32-bit drawing surface.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace Bench {

inline double NowMicroseconds()
{
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f {};
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now {};
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

template <class Fn>
double MedianMicroseconds(int repetitions, Fn&& fn)
{
    std::vector<double> samples;
    samples.reserve(static_cast<size_t>(repetitions));
    for (int i = 0; i < repetitions; ++i) {
        const double start = NowMicroseconds();
        fn();
        samples.push_back(NowMicroseconds() - start);
    }
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

// One row of the table scripts/bench.sh prints: a figure, its floor measured
// in the same run (floor 0: none), and the budget, either "x<=N" on the ratio
// to the floor or "<=N" on the figure itself.
inline void Row(const char* what, double value, const char* unit, const char* floorName, double floor,
    const char* budget)
{
    std::printf("ROW\t%s\t%.3f\t%s\t%s\t%.3f\t%s\n", what, value, unit, floorName, floor, budget);
}

// Hidden: a paint manager only needs a window to invalidate.
inline HWND HiddenWindow(const wchar_t* className, int width, int height)
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = className;
    ::RegisterClassW(&wc);
    return ::CreateWindowExW(0, className, L"bench", WS_POPUP, 0, 0, width, height, nullptr, nullptr, instance,
        nullptr);
}

// A memory DC holding a top-down 32-bit DIB.
class Surface {
public:
    Surface(int width, int height)
    {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = width;
        bmi.bmiHeader.biHeight = -height;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        m_dc = ::CreateCompatibleDC(nullptr);
        m_bitmap = ::CreateDIBSection(m_dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (m_bitmap != nullptr) m_old = ::SelectObject(m_dc, m_bitmap);
    }
    ~Surface()
    {
        if (m_old != nullptr) ::SelectObject(m_dc, m_old);
        if (m_bitmap != nullptr) ::DeleteObject(m_bitmap);
        if (m_dc != nullptr) ::DeleteDC(m_dc);
    }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    HDC dc() const { return m_dc; }
    bool ok() const { return m_bitmap != nullptr; }

private:
    HDC m_dc { nullptr };
    HBITMAP m_bitmap { nullptr };
    HGDIOBJ m_old { nullptr };
};

}  // namespace Bench
