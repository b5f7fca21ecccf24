// Painting of the paint manager checked on the pixels of real windows:
// double-buffered, direct, layered and layered with a window shadow.
#include <gtest/gtest.h>

#include <memory>

#include "engine/PaintManagerTestKit.h"
#include "engine/RenderEngine.h"

using namespace Veneer;
using namespace PaintManagerTestKit;

namespace {

// Reads back what the window shows: a copy of its client area from the
// screen, so both ordinary and layered windows are covered.
class Surface {
public:
    explicit Surface(HWND hwnd)
    {
        RECT rc;
        ::GetClientRect(hwnd, &rc);
        POINT origin { 0, 0 };
        ::ClientToScreen(hwnd, &origin);
        m_width = rc.right;
        m_height = rc.bottom;
        HDC screen = ::GetDC(nullptr);
        HDC mem = ::CreateCompatibleDC(screen);
        BITMAPINFO bmi {};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = m_width;
        bmi.bmiHeader.biHeight = -m_height;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP bitmap = ::CreateDIBSection(screen, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = ::SelectObject(mem, bitmap);
        ::BitBlt(mem, 0, 0, m_width, m_height, screen, origin.x, origin.y, SRCCOPY);
        ::GdiFlush();
        const DWORD* pixels = static_cast<const DWORD*>(bits);
        m_pixels.assign(pixels, pixels + m_width * m_height);
        ::SelectObject(mem, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(mem);
        ::ReleaseDC(nullptr, screen);
    }

    COLORREF At(int x, int y) const
    {
        DWORD p = m_pixels[static_cast<size_t>(y) * m_width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

private:
    int m_width { 0 };
    int m_height { 0 };
    std::vector<DWORD> m_pixels;
};

::testing::AssertionResult Near(COLORREF expected, COLORREF actual)
{
    auto close = [](int a, int b) { return a - b <= 8 && b - a <= 8; };
    if (close(GetRValue(expected), GetRValue(actual)) && close(GetGValue(expected), GetGValue(actual))
        && close(GetBValue(expected), GetBValue(actual))) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << std::hex << "expected 0x" << expected << " got 0x" << actual;
}

struct Scene {
    BoxUI* root { nullptr };
    ProbeUI* blue { nullptr };
    ProbeUI* red { nullptr };
};

Scene BuildScene(HostWindow& host, bool opaqueAlpha)
{
    Scene scene;
    scene.root = new BoxUI(L"root", RGB(255, 255, 255));
    scene.blue = scene.root->Add(new ProbeUI(L"blue", RGB(0, 0, 255)), RECT { 10, 10, 60, 40 });
    scene.red = scene.root->Add(new ProbeUI(L"red", RGB(255, 0, 0)), RECT { 70, 10, 120, 40 });
    scene.blue->m_opaqueAlpha = opaqueAlpha;
    scene.red->m_opaqueAlpha = opaqueAlpha;
    host.manager.AttachDialog(scene.root);
    return scene;
}

void Repaint(HWND hwnd)
{
    ::InvalidateRect(hwnd, nullptr, FALSE);
    ::UpdateWindow(hwnd);
    Pump(30);
}

}  // namespace

TEST(PaintManagerPaint, DoubleBufferedTreeReachesTheWindow)
{
    HostWindow host(160, 60, 0, 50, 50);
    Scene scene = BuildScene(host, false);
    ::UpdateWindow(host.hwnd);
    Pump(30);
    Surface surface(host.hwnd);
    EXPECT_TRUE(Near(RGB(0, 0, 255), surface.At(30, 20)));
    EXPECT_TRUE(Near(RGB(255, 0, 0), surface.At(100, 30)));
    EXPECT_TRUE(Near(RGB(255, 255, 255), surface.At(5, 5)));
    EXPECT_TRUE(Near(RGB(255, 255, 255), surface.At(150, 50)));

    // Post-paint controls draw over the tree, in list order.
    scene.red->m_rcPost = RECT { 20, 15, 40, 30 };
    scene.blue->m_rcPost = RECT { 30, 15, 50, 30 };
    scene.blue->m_postColor = RGB(0, 255, 0);
    host.manager.AddPostPaint(scene.red);
    host.manager.AddPostPaint(scene.blue);
    Repaint(host.hwnd);
    Surface post(host.hwnd);
    EXPECT_TRUE(Near(RGB(255, 0, 255), post.At(25, 20)));
    EXPECT_TRUE(Near(RGB(0, 255, 0), post.At(35, 20)));  // the later one wins
    EXPECT_TRUE(Near(RGB(0, 0, 255), post.At(15, 35)));

    // A change of a control reaches the window on the next paint.
    scene.blue->m_color = RGB(0, 128, 0);
    scene.blue->Invalidate();
    ::UpdateWindow(host.hwnd);
    Pump(30);
    Surface changed(host.hwnd);
    EXPECT_TRUE(Near(RGB(0, 128, 0), changed.At(15, 35)));
}

TEST(PaintManagerPaint, OnlyTheUpdateRectangleIsRepainted)
{
    HostWindow host(160, 60, 0, 50, 50);
    Scene scene = BuildScene(host, false);
    ::UpdateWindow(host.hwnd);
    Pump(30);
    int redPaints = scene.red->m_paints;
    RECT blueArea = scene.blue->GetPos();
    ::InvalidateRect(host.hwnd, &blueArea, FALSE);
    ::UpdateWindow(host.hwnd);
    EXPECT_EQ(redPaints, scene.red->m_paints);
    EXPECT_GT(scene.blue->m_paints, 1);
}

TEST(PaintManagerPaint, DirectPaintingWithoutTheOffscreenBitmap)
{
    HostWindow host(160, 60, 0, 50, 50);
    host.manager.SetOffscreenPaint(false);
    Scene scene = BuildScene(host, false);
    (void)scene;
    ::UpdateWindow(host.hwnd);
    Pump(30);
    Surface surface(host.hwnd);
    EXPECT_TRUE(Near(RGB(0, 0, 255), surface.At(30, 20)));
    EXPECT_TRUE(Near(RGB(255, 0, 0), surface.At(100, 30)));
}

TEST(PaintManagerPaint, ResizeLaysOutAgainAndRepaints)
{
    HostWindow host(160, 60, 0, 50, 50);
    Scene scene = BuildScene(host, false);
    ::UpdateWindow(host.hwnd);
    Pump(30);
    ::SetWindowPos(host.hwnd, nullptr, 0, 0, 200, 80, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::UpdateWindow(host.hwnd);
    Pump(30);
    EXPECT_EQ(200, scene.root->GetPos().right);
    EXPECT_EQ(80, scene.root->GetPos().bottom);
    Surface surface(host.hwnd);
    EXPECT_TRUE(Near(RGB(255, 255, 255), surface.At(190, 70)));
    EXPECT_TRUE(Near(RGB(0, 0, 255), surface.At(30, 20)));
}

TEST(PaintManagerPaint, LayeredWindowShowsTheTreeThroughUpdateLayeredWindow)
{
    HostWindow host(160, 60, 0, 50, 50);
    host.manager.SetBackgroundTransparent(true);
    Scene scene = BuildScene(host, true);
    (void)scene;
    ::UpdateWindow(host.hwnd);
    Pump(50);
    EXPECT_NE(0, ::GetWindowLongPtrW(host.hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    Surface surface(host.hwnd);
    EXPECT_TRUE(Near(RGB(0, 0, 255), surface.At(30, 20)));
    EXPECT_TRUE(Near(RGB(255, 0, 0), surface.At(100, 30)));
}

namespace {

// Paints an opaque red square while told to (nothing otherwise) and counts
// its paints; it can ask for one more paint from inside its first.
class StampUI : public CControlUI {
public:
    void DoPaint(HDC hDC, const RECT& rcPaint) override
    {
        RECT rc;
        if (!::IntersectRect(&rc, &rcPaint, &m_rcItem)) return;
        ++m_paints;
        if (m_stamp) {
            FillSolid(hDC, rc, RGB(255, 0, 0));
            MakeOpaque(hDC, rc);
        }
        if (m_repaintOnce && m_paints == 1) Invalidate();
    }
    bool m_stamp { true };
    bool m_repaintOnce { false };
    int m_paints { 0 };
};

}  // namespace

TEST(PaintManagerPaint, LayeredFramesStartClearEvenWhenTheirBitmapIsKept)
{
    HostWindow host(160, 60, 0, 50, 50);
    host.manager.SetBackgroundTransparent(true);
    StampUI* stamp = new StampUI;
    host.manager.AttachDialog(stamp);
    ::UpdateWindow(host.hwnd);
    Pump(50);
    EXPECT_TRUE(Near(RGB(255, 0, 0), Surface(host.hwnd).At(80, 30)));
    // A repaint without a new layout: last frame's pixels must not show.
    stamp->m_stamp = false;
    Repaint(host.hwnd);
    EXPECT_FALSE(Near(RGB(255, 0, 0), Surface(host.hwnd).At(80, 30)));
}

TEST(PaintManagerPaint, LayeredWindowPaintsOnceWhenShownAndAgainWhenAskedWhilePainting)
{
    HostWindow host(160, 60, 0, 50, 50);
    host.manager.SetBackgroundTransparent(true);
    Scene scene = BuildScene(host, true);
    ::UpdateWindow(host.hwnd);
    Pump(100);
    // Wine's re-created window asks for a second whole paint of the same frame.
    EXPECT_EQ(1, scene.blue->m_paints);

    HostWindow other(160, 60, 0, 50, 150);
    other.manager.SetBackgroundTransparent(true);
    StampUI* control = new StampUI;
    control->m_repaintOnce = true;
    other.manager.AttachDialog(control);
    ::UpdateWindow(other.hwnd);
    Pump(100);
    EXPECT_EQ(2, control->m_paints);
}

namespace {

// A 30x30 shadow image: 10-pixel corners in green, edges in blue, centre
// unused; fully opaque so the blend shows the colours unchanged.
HBITMAP ShadowBitmap()
{
    BITMAPINFO bmi {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = 30;
    bmi.bmiHeader.biHeight = -30;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) return bitmap;
    DWORD* pixels = static_cast<DWORD*>(bits);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) {
            bool edgeX = x < 10 || x >= 20;
            bool edgeY = y < 10 || y >= 20;
            pixels[y * 30 + x] = (edgeX && edgeY) ? 0xFF00FF00 : 0xFF0000FF;
        }
    }
    return bitmap;
}

}  // namespace

TEST(PaintManagerPaint, LayeredWindowShadowFramesTheTree)
{
    HostWindow host(160, 80, 0, 50, 50);
    CPaintManagerUI& pm = host.manager;
    pm.SetBackgroundTransparent(true);
    ASSERT_NE(nullptr, pm.AddImage(L"shadow.bmp", ShadowBitmap(), 30, 30, true));
    pm.SetHasWindowShadow(true);
    pm.SetWindowShadowImage(L"shadow.bmp");
    pm.SetTopleftShadowRect(0, 0, 10, 10);
    pm.SetToprightShadowRect(20, 0, 10, 10);
    pm.SetBottomleftShadowRect(0, 20, 10, 10);
    pm.SetBottomrightShadowRect(20, 20, 10, 10);
    pm.CalMiddleShadowRect();
    BoxUI* root = new BoxUI(L"root", RGB(255, 255, 255));
    ProbeUI* body = root->Add(new ProbeUI(L"body", RGB(255, 0, 0)), RECT { 0, 0, 160, 80 });
    body->m_opaqueAlpha = true;
    pm.AttachDialog(root);
    ::UpdateWindow(host.hwnd);
    Pump(50);
    Surface surface(host.hwnd);
    EXPECT_TRUE(Near(RGB(0, 255, 0), surface.At(3, 3)));      // top-left corner
    EXPECT_TRUE(Near(RGB(0, 255, 0), surface.At(155, 75)));   // bottom-right corner
    EXPECT_TRUE(Near(RGB(0, 0, 255), surface.At(80, 4)));     // top middle
    EXPECT_TRUE(Near(RGB(0, 0, 255), surface.At(4, 40)));     // left middle
    EXPECT_TRUE(Near(RGB(255, 0, 0), surface.At(80, 40)));    // the tree inside the shadow
    EXPECT_TRUE(Near(RGB(255, 0, 0), surface.At(11, 11)));
}
