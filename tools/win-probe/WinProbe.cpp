// WinProbe COMMAND ...: looks at and talks to the windows of the desktop.
//   list [TITLE]                 one line per top-level window (and its children with -c)
//   post TARGET MSG WPARAM LPARAM   PostMessageW to every matching window
//   send TARGET MSG WPARAM LPARAM   SendMessageW, prints the result
//   show TARGET CMD              ShowWindow with the SW_ number CMD
//   top TARGET                   moves it to the top of the Z order, unactivated
//   invalidate TARGET            makes it (and its children) paint again
//   text TARGET                  the static texts of a dialog, one per line
//   untray TARGET                removes the notification-area icon (id 0) of
//                                each, as a restarting shell forgets them
// TARGET is a window title, optionally followed by "+STYLE" (hex bits the
// window's style must have) or "#CLASS", and then by "/CLASS" to pick that
// window's descendants of that class instead; numbers are decimal or 0x-hex.
// A message that is not a number is a registered message name ("TaskbarCreated").
// Output is UTF-8. Exit code 0 when a window matched, 1 otherwise.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>
#include "Utf8Text.h"

namespace {

struct Target {
    std::wstring title;
    std::wstring className;
    std::wstring childClassName;
    bool anyTitle { false };
    LONG_PTR style { 0 };
};

using ToolText::Utf8;

long long Number(const wchar_t* text)
{
    return static_cast<long long>(std::wcstoull(text, nullptr, 0));
}

Target ParseTarget(const std::wstring& pattern)
{
    Target target;
    std::wstring rest = pattern;
    const size_t slash = rest.find(L'/');
    if (slash != std::wstring::npos) {
        target.childClassName = rest.substr(slash + 1);
        rest.resize(slash);
    }
    const size_t plus = rest.rfind(L'+');
    if (plus != std::wstring::npos && plus + 1 < rest.size() && rest.compare(plus + 1, 2, L"0x") == 0) {
        target.style = static_cast<LONG_PTR>(Number(rest.c_str() + plus + 1));
        rest.resize(plus);
    }
    const size_t hash = rest.find(L'#');
    if (hash != std::wstring::npos) {
        target.className = rest.substr(hash + 1);
        rest.resize(hash);
    }
    target.title = rest;
    target.anyTitle = rest == L"*";
    return target;
}

std::wstring Text(HWND hWnd)
{
    wchar_t buffer[512] = {};
    ::GetWindowTextW(hWnd, buffer, 512);
    return buffer;
}

std::wstring ClassOf(HWND hWnd)
{
    wchar_t buffer[256] = {};
    ::GetClassNameW(hWnd, buffer, 256);
    return buffer;
}

bool Matches(HWND hWnd, const Target& target)
{
    if (!target.anyTitle && Text(hWnd) != target.title) return false;
    if (!target.className.empty() && ClassOf(hWnd) != target.className) return false;
    const LONG_PTR style = ::GetWindowLongPtrW(hWnd, GWL_STYLE);
    return (style & target.style) == target.style;
}

struct Search {
    const Target* target;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND hWnd, LPARAM lParam)
{
    Search* search = reinterpret_cast<Search*>(lParam);
    if (Matches(hWnd, *search->target)) search->found.push_back(hWnd);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND hWnd, LPARAM lParam)
{
    Search* search = reinterpret_cast<Search*>(lParam);
    if (ClassOf(hWnd) == search->target->childClassName) search->found.push_back(hWnd);
    return TRUE;
}

std::vector<HWND> Find(const Target& target)
{
    Search search { &target, {} };
    ::EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
    if (target.childClassName.empty()) return search.found;
    Search children { &target, {} };
    for (HWND hWnd : search.found) ::EnumChildWindows(hWnd, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children.found;
}

void Describe(HWND hWnd, const char* indent)
{
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    RECT client = {};
    ::GetClientRect(hWnd, &client);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    std::printf("%shwnd=0x%llx pid=%lu class=%s visible=%d iconic=%d zoomed=%d rect=%ld,%ld,%ld,%ld client=%ld,%ld "
                "style=0x%llx exstyle=0x%llx title=%s\n",
        indent, static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hWnd)), pid,
        Utf8(ClassOf(hWnd)).c_str(), ::IsWindowVisible(hWnd) ? 1 : 0, ::IsIconic(hWnd) ? 1 : 0,
        ::IsZoomed(hWnd) ? 1 : 0, rc.left, rc.top, rc.right, rc.bottom, client.right, client.bottom,
        static_cast<unsigned long long>(::GetWindowLongPtrW(hWnd, GWL_STYLE)),
        static_cast<unsigned long long>(::GetWindowLongPtrW(hWnd, GWL_EXSTYLE)), Utf8(Text(hWnd)).c_str());
}

BOOL CALLBACK DescribeChild(HWND hWnd, LPARAM)
{
    Describe(hWnd, "  ");
    return TRUE;
}

BOOL CALLBACK PrintText(HWND hWnd, LPARAM)
{
    if (ClassOf(hWnd) == L"Static") {
        const std::wstring text = Text(hWnd);
        if (!text.empty()) std::printf("%s\n", Utf8(text).c_str());
    }
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: WinProbe list|post|send|show|text ...\n");
        return 2;
    }
    const std::wstring command = argv[1];
    if (command == L"list") {
        bool children = false;
        std::wstring pattern = L"*";
        for (int i = 2; i < argc; ++i) {
            if (std::wcscmp(argv[i], L"-c") == 0) children = true;
            else pattern = argv[i];
        }
        const std::vector<HWND> windows = Find(ParseTarget(pattern));
        for (HWND hWnd : windows) {
            Describe(hWnd, "");
            if (children) ::EnumChildWindows(hWnd, DescribeChild, 0);
        }
        return windows.empty() ? 1 : 0;
    }
    if (argc < 3) return 2;
    const std::vector<HWND> windows = Find(ParseTarget(argv[2]));
    if (windows.empty()) return 1;
    if ((command == L"post" || command == L"send") && argc >= 6) {
        const bool named = argv[3][0] != L'\0' && (argv[3][0] < L'0' || argv[3][0] > L'9');
        const UINT msg = named ? ::RegisterWindowMessageW(argv[3]) : static_cast<UINT>(Number(argv[3]));
        const WPARAM wParam = static_cast<WPARAM>(Number(argv[4]));
        const LPARAM lParam = static_cast<LPARAM>(Number(argv[5]));
        for (HWND hWnd : windows) {
            if (command == L"post") {
                ::PostMessageW(hWnd, msg, wParam, lParam);
            } else {
                const LRESULT result = ::SendMessageW(hWnd, msg, wParam, lParam);
                std::printf("%lld\n", static_cast<long long>(result));
            }
        }
        return 0;
    }
    if (command == L"show" && argc >= 4) {
        for (HWND hWnd : windows) ::ShowWindow(hWnd, static_cast<int>(Number(argv[3])));
        return 0;
    }
    if (command == L"top") {
        for (HWND hWnd : windows)
            ::SetWindowPos(hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return 0;
    }
    if (command == L"invalidate") {
        for (HWND hWnd : windows) ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        return 0;
    }
    if (command == L"untray") {
        for (HWND hWnd : windows) {
            NOTIFYICONDATAW data = {};
            data.cbSize = sizeof(data);
            data.hWnd = hWnd;
            ::Shell_NotifyIconW(NIM_DELETE, &data);
        }
        return 0;
    }
    if (command == L"text") {
        for (HWND hWnd : windows) ::EnumChildWindows(hWnd, PrintText, 0);
        return 0;
    }
    return 2;
}
