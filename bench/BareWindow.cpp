// The floor of the start-up probe: the least a Win32 window program does
// before it is idle (register a class, create and show a window, paint it
// once, run the message loop). Closes itself on WM_CLOSE like any window.
#include <windows.h>
#include <ole2.h>

#include <cwchar>

namespace {

LRESULT CALLBACK BareProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        ::FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ::EndPaint(hwnd, &ps);
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
    WNDCLASSW wc = {};
    wc.lpfnWndProc = BareProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"VeneerBareWindow";
    ::RegisterClassW(&wc);
    HWND hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"bare", WS_POPUP | WS_VISIBLE, 100, 100, 640, 480, nullptr,
        nullptr, instance, nullptr);
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
