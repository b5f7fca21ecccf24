#include "ResourceCounts.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace Soak {

namespace {

bool g_gdiFromSystem = false;
bool g_userFromSystem = false;

long ScanGdi()
{
    long count = 0;
    for (ULONG_PTR slot = 1; slot < 0x10000; ++slot) {
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0)
            ++count;
    }
    return count;
}

BOOL CALLBACK CountChild(HWND, LPARAM context)
{
    ++*reinterpret_cast<long*>(context);
    return TRUE;
}

// Windows of this process: top-level ones with all their descendants, and
// message-only ones (EnumChildWindows already walks whole subtrees, so
// children are counted from their top-level window only).
long CountWindows()
{
    long count = 0;
    auto countTree = [&count](HWND top) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(top, &owner);
        if (owner != ::GetCurrentProcessId())
            return;
        ++count;
        ::EnumChildWindows(top, CountChild, reinterpret_cast<LPARAM>(&count));
    };
    for (HWND top = ::GetWindow(::GetDesktopWindow(), GW_CHILD); top; top = ::GetWindow(top, GW_HWNDNEXT))
        countTree(top);
    for (HWND top = ::FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); top;
         top = ::FindWindowExW(HWND_MESSAGE, top, nullptr, nullptr))
        countTree(top);
    return count;
}

// Menus, icons and cursors are checked in this process's own handle table
// (no call leaves the process for a slot that is not ours).
long ScanUser()
{
    HDC probe = ::CreateCompatibleDC(nullptr);
    HBITMAP pixel = ::CreateCompatibleBitmap(probe, 1, 1);
    HGDIOBJ old = ::SelectObject(probe, pixel);
    long count = CountWindows();
    for (ULONG_PTR slot = 0x20; slot < 0xFFF0; slot += 2) {
        HANDLE handle = reinterpret_cast<HANDLE>(slot);
        if (::IsMenu(static_cast<HMENU>(handle)))
            ++count;
        else if (::DrawIconEx(probe, 0, 0, static_cast<HICON>(handle), 1, 1, 0, nullptr, DI_NORMAL))
            ++count;
    }
    ::SelectObject(probe, old);
    ::DeleteObject(pixel);
    ::DeleteDC(probe);
    return count;
}

long long CommittedPrivate()
{
    long long total = 0;
    MEMORY_BASIC_INFORMATION info {};
    const unsigned char* at = nullptr;
    while (::VirtualQuery(at, &info, sizeof info) == sizeof info) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE)
            total += static_cast<long long>(info.RegionSize);
        const unsigned char* next = static_cast<const unsigned char*>(info.BaseAddress) + info.RegionSize;
        if (next <= at)
            break;
        at = next;
    }
    return total;
}

// "RssAnon:  1234 kB" of the Linux process Wine runs this program in.
long long AnonymousResident()
{
    HANDLE file = ::CreateFileW(L"Z:\\proc\\self\\status", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
        nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return -1;
    char text[8192] = {};
    DWORD got = 0;
    ::ReadFile(file, text, sizeof text - 1, &got, nullptr);
    ::CloseHandle(file);
    const char* line = std::strstr(text, "RssAnon:");
    return line ? std::atoll(line + 8) * 1024 : -1;
}

}  // namespace

Counts Measure()
{
    Counts counts;
    const DWORD gdi = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    g_gdiFromSystem = gdi != 0;
    counts.gdi = gdi != 0 ? static_cast<long>(gdi) : ScanGdi();
    const DWORD user = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    g_userFromSystem = user != 0;
    counts.user = user != 0 ? static_cast<long>(user) : ScanUser();
    counts.privateBytes = CommittedPrivate();
    counts.anonymousBytes = AnonymousResident();
    return counts;
}

std::string Routes()
{
    std::string routes = g_gdiFromSystem ? "GDI: GetGuiResources" : "GDI: GetGuiResources answers 0, GetObjectType over every handle slot";
    routes += g_userFromSystem ? "; USER: GetGuiResources"
                               : "; USER: GetGuiResources answers 0, windows enumerated, IsMenu/DrawIconEx over every handle slot";
    routes += "; private: VirtualQuery committed MEM_PRIVATE";
    routes += AnonymousResident() >= 0 ? "; anon: /proc/self/status RssAnon" : "";
    return routes;
}

bool CountsAreLive(std::string& why)
{
    const Counts before = Measure();
    HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3));
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    HMENU menu = ::CreateMenu();
    const BYTE andMask[32 * 4] = {};
    const BYTE xorMask[32 * 4] = {};
    HICON icon = ::CreateIcon(nullptr, 32, 32, 1, 1, andMask, xorMask);
    const Counts during = Measure();
    ::DestroyIcon(icon);
    ::DestroyMenu(menu);
    ::DestroyWindow(window);
    ::DeleteObject(brush);
    const Counts after = Measure();
    char text[200];
    std::snprintf(text, sizeof text, "GDI %ld -> %ld -> %ld, USER %ld -> %ld -> %ld", before.gdi, during.gdi,
        after.gdi, before.user, during.user, after.user);
    why = text;
    // The icon holds GDI bitmaps of its own, so GDI rises by at least one.
    return during.gdi > before.gdi && after.gdi == before.gdi && during.user >= before.user + 3
        && after.user == before.user;
}

}  // namespace Soak
