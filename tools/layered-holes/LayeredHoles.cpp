// LayeredHoles: does the desktop show a per-pixel-alpha layered window
// through the colour-key holes of a layered window above it? The login
// frame and its web frame are such a pair. Opens a 600x400 opaque orange
// window fed by UpdateLayeredWindow, lays a green window with a white square
// and green as its colour key over it, and after two seconds prints the
// screen colour, as Win32 composes it, in a hole, in the white square and
// beside the upper window:
//   hole=192,48,32 square=255,255,255 beside=192,48,32   (holes show through)
// Under Wine 8 (X11 driver, no compositor) Win32 answers that too, but the X
// display itself shows 0,0,0 in the hole: `xwd -root` while it runs.
#include <windows.h>

#include <cstdio>

namespace {

const COLORREF kKey = RGB(0, 255, 0);
const DWORD kOrange = 0xFFC03020;  // premultiplied BGRA, fully opaque
const int kWidth = 600;
const int kHeight = 400;

LRESULT CALLBACK UpperProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT) return ::DefWindowProcW(hWnd, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hWnd, &ps);
    RECT client;
    ::GetClientRect(hWnd, &client);
    HBRUSH key = ::CreateSolidBrush(kKey);
    ::FillRect(dc, &client, key);
    ::DeleteObject(key);
    RECT square = { 100, 100, 200, 200 };
    ::FillRect(dc, &square, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::EndPaint(hWnd, &ps);
    return 0;
}

bool PushPicture(HWND hWnd)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) return false;
    DWORD* pixels = static_cast<DWORD*>(bits);
    for (int i = 0; i < kWidth * kHeight; ++i) pixels[i] = kOrange;
    HDC memory = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    POINT position = { rc.left, rc.top };
    SIZE size = { kWidth, kHeight };
    POINT source = { 0, 0 };
    BLENDFUNCTION blend = { AC_SRC_OVER, 0, 255, AC_SRC_ALPHA };
    const BOOL pushed = ::UpdateLayeredWindow(hWnd, nullptr, &position, &size, memory, &source, 0, &blend, ULW_ALPHA);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::DeleteObject(bitmap);
    return pushed != FALSE;
}

void PrintPixel(const char* name, int x, int y)
{
    HDC screen = ::GetDC(nullptr);
    const COLORREF colour = ::GetPixel(screen, x, y);
    ::ReleaseDC(nullptr, screen);
    std::printf("%s=%d,%d,%d ", name, GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

}  // namespace

int main()
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSW cls = {};
    cls.hInstance = instance;
    cls.lpfnWndProc = ::DefWindowProcW;
    cls.lpszClassName = L"LayeredHolesLower";
    ::RegisterClassW(&cls);
    cls.lpfnWndProc = UpperProc;
    cls.lpszClassName = L"LayeredHolesUpper";
    ::RegisterClassW(&cls);

    HWND lower = ::CreateWindowExW(WS_EX_LAYERED, L"LayeredHolesLower", L"LayeredHolesLower", WS_POPUP,
        100, 100, kWidth, kHeight, nullptr, nullptr, instance, nullptr);
    if (lower == nullptr) return 2;
    ::ShowWindow(lower, SW_SHOWNA);
    if (!PushPicture(lower)) return 2;
    HWND upper = ::CreateWindowExW(WS_EX_LAYERED, L"LayeredHolesUpper", L"LayeredHolesUpper", WS_POPUP,
        200, 150, 300, 300, lower, nullptr, instance, nullptr);
    if (upper == nullptr) return 2;
    ::SetLayeredWindowAttributes(upper, kKey, 0, LWA_COLORKEY);
    ::ShowWindow(upper, SW_SHOWNA);

    const DWORD end = ::GetTickCount() + 2000;
    while (::GetTickCount() < end) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
        ::Sleep(20);
    }
    PrintPixel("hole", 220, 170);
    PrintPixel("square", 350, 300);
    PrintPixel("beside", 120, 120);
    std::printf("\n");
    ::DestroyWindow(lower);
    return 0;
}
