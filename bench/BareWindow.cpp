// The floor of the start-up probe: the least a Win32 window program does
// before it is idle (register a class, create and show a window, paint it
// once, run the message loop). Closes itself on WM_CLOSE like any window.
// "--platform" adds the platform pieces the client loads; "--layered=WxH"
// makes the window a layered one of that size, painted as the client's
// login frame is (a 32-bit section handed to UpdateLayeredWindow).
#include <windows.h>
#include <ole2.h>

#include <cwchar>

namespace {

SIZE g_layered { 0, 0 };

// One frame of the layered window: an opaque section of its size.
void PaintLayered(HWND hwnd)
{
    BITMAPINFO bmi {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = g_layered.cx;
    bmi.bmiHeader.biHeight = g_layered.cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HBITMAP frame = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dc != nullptr && frame != nullptr && bits != nullptr) {
        DWORD* pixels = static_cast<DWORD*>(bits);
        for (LONG i = 0; i < g_layered.cx * g_layered.cy; ++i) pixels[i] = 0xFF203040u;
        HGDIOBJ old = ::SelectObject(dc, frame);
        POINT source { 0, 0 };
        BLENDFUNCTION blend { AC_SRC_OVER, 0, 255, AC_SRC_ALPHA };
        ::UpdateLayeredWindow(hwnd, nullptr, nullptr, &g_layered, dc, &source, 0, &blend, ULW_ALPHA);
        // The repaint Wine asks for after re-creating the window, declined
        // as the client declines it.
        ::ValidateRect(hwnd, nullptr);
        ::SelectObject(dc, old);
    }
    if (frame != nullptr) ::DeleteObject(frame);
    if (dc != nullptr) ::DeleteDC(dc);
}

LRESULT CALLBACK BareProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        if (g_layered.cx == 0) ::FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ::EndPaint(hwnd, &ps);
        if (g_layered.cx != 0) {
            const LONG_PTR exStyle = ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
            if ((exStyle & WS_EX_LAYERED) == 0) ::SetWindowLongPtrW(hwnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
            PaintLayered(hwnd);
        }
        return 0;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace

// With "--platform": first what the client needs of the platform before its
// first idle and no code of its own (OLE, the DLLs it imports, the browser
// object's), so the table can tell the platform's share from the client's.
void LoadThePlatformPieces()
{
    ::OleInitialize(nullptr);
    static const wchar_t* const kModules[] = { L"gdiplus.dll", L"msimg32.dll", L"comctl32.dll", L"oleaut32.dll",
        L"shlwapi.dll", L"shell32.dll", L"winmm.dll", L"wininet.dll", L"mpr.dll" };
    for (const wchar_t* module : kModules) ::LoadLibraryW(module);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int show)
{
    if (commandLine != nullptr && ::wcsstr(commandLine, L"--platform") != nullptr) LoadThePlatformPieces();
    const wchar_t* layered = commandLine != nullptr ? ::wcsstr(commandLine, L"--layered=") : nullptr;
    if (layered != nullptr && (::swscanf(layered, L"--layered=%ldx%ld", &g_layered.cx, &g_layered.cy) != 2
            || g_layered.cx <= 0 || g_layered.cy <= 0)) {
        g_layered = SIZE { 0, 0 };
    }
    WNDCLASSW wc = {};
    wc.lpfnWndProc = BareProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"VeneerBareWindow";
    ::RegisterClassW(&wc);
    // Made layered by its first paint, as the client's frame is.
    const SIZE size = g_layered.cx != 0 ? g_layered : SIZE { 640, 480 };
    HWND hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"bare", WS_POPUP | WS_VISIBLE, 100, 100, size.cx, size.cy,
        nullptr, nullptr, instance, nullptr);
    if (hwnd == nullptr) return 1;
    ::ShowWindow(hwnd, show);
    ::UpdateWindow(hwnd);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
