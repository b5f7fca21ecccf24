// Long runs inside one process: each scenario is warmed up, measured, run
// N times and measured again; growth beyond its budget fails the run.
//   soak_runner --scenario NAME|all [--iterations N] [--frames N]
// Prints one table row per scenario: before, after and budget of GDI
// objects, USER objects, committed private bytes and anonymous resident bytes.
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "LoginFrame.h"
#include "MicroClientConfig.h"
#include "PlayFrame.h"
#include "ResourceCounts.h"
#include "TestPaths.h"
#include "controls/ComboUI.h"
#include "controls/ComboWnd.h"
#include "controls/DateTimeUI.h"
#include "controls/EditUI.h"
#include "controls/VerticalLayoutUI.h"
#include "controls/window/HostWindow.h"
#include "engine/PaintManagerUI.h"
#include "foundation/DialogBuilder.h"
#include "foundation/Markup.h"
#include "hosting/WebBrowserUI.h"

using namespace Veneer;
using ControlWindowTest::HostWindow;

namespace {

// Runs every message waiting, and those the handling posts, then paints.
void Drain()
{
    for (int round = 0; round < 4; ++round) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                continue;  // a frame's destruction posts it; the soak goes on
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(0);
    }
}

template <class Done>
bool PumpUntil(Done done, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        Drain();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

std::wstring FixtureDir(const wchar_t* relative)
{
    return std::wstring(TEST_FIXTURES_DIR) + L"/" + relative;
}

// A host window with a tree built from markup; null root when the skin did not build.
struct Skinned {
    HostWindow host;
    CControlUI* root { nullptr };
    Skinned(int width, int height, LPCWSTR skin) : host(width, height)
    {
        CDialogBuilder builder;
        root = builder.Create(STRINGorID(skin), nullptr, nullptr, &host.Manager());
        if (root)
            host.Attach(root);
    }
};

bool GalleryOnce()
{
    CPaintManagerUI::SetResourcePath(FixtureDir(L"../gallery/skin/").c_str());
    HostWindow host(640, 460);
    CDialogBuilder builder;
    CControlUI* root = builder.Create(STRINGorID(L"gallery.xml"), nullptr, nullptr, &host.Manager());
    if (!root)
        return false;
    host.Attach(root);
    ::InvalidateRect(host.Handle(), nullptr, TRUE);
    ::UpdateWindow(host.Handle());
    Drain();
    return true;
}

struct ComboStage : Skinned {
    CComboUI* combo { nullptr };
    ComboStage()
        : Skinned(300, 200, L"<Window><VerticalLayout><Combo name=\"c\" height=\"24\" dropboxsize=\"0,120\">"
                            L"<ListLabelElement text=\"one\" height=\"20\"/><ListLabelElement text=\"two\" height=\"20\"/>"
                            L"</Combo><Control/></VerticalLayout></Window>")
    {
        combo = static_cast<CComboUI*>(host.Manager().FindControl(L"c"));
    }
    bool Once()
    {
        if (!combo || !combo->Activate())
            return false;
        Drain();
        CComboWnd* popup = combo->GetDropWindow();
        if (!popup)
            return false;
        ::SendMessageW(popup->GetHWND(), WM_KEYDOWN, VK_ESCAPE, 0);
        return PumpUntil([&] { return combo->GetDropWindow() == nullptr; }, 2000);
    }
};

// An edit or a date-time control: focus opens its native window, unfocus closes it.
template <class Control>
struct NativeStage : Skinned {
    Control* control { nullptr };
    explicit NativeStage(LPCWSTR skin) : Skinned(300, 120, skin)
    {
        control = static_cast<Control*>(host.Manager().FindControl(L"n"));
    }
    bool Once()
    {
        if (!control)
            return false;
        host.Manager().SetFocus(control);
        Drain();
        HWND native = control->GetNativeWindow();
        if (!native)
            return false;
        host.Manager().SetFocus(nullptr);
        return PumpUntil([&] { return !::IsWindow(native); }, 2000);
    }
};

class PageWatcher : public CWebBrowserEventHandler {
public:
    void NavigateComplete2(IDispatch*, VARIANT*&, const CStdString&) override { ++completed; }
    void NavigateError(IDispatch*, VARIANT*&, VARIANT*&, VARIANT*&, VARIANT_BOOL*&) override { ++failed; }
    int completed { 0 };
    int failed { 0 };
};

// Two small pages of its own in the build tree, as file addresses.
std::wstring LocalPage(const wchar_t* name)
{
    const std::wstring path = std::wstring(TEST_BINARY_DIR) + L"/soak-" + name;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        const std::string page = "<html><head><title>soak</title></head><body><p>" +
            std::string(name, name + wcslen(name)) + "</p><a href=\"x.html\">link</a></body></html>";
        DWORD written = 0;
        ::WriteFile(file, page.data(), static_cast<DWORD>(page.size()), &written, nullptr);
        ::CloseHandle(file);
    }
    return L"file:///" + path;
}

struct BrowserStage {
    HostWindow host { 500, 400 };
    CWebBrowserUI* browser { new CWebBrowserUI };
    PageWatcher watcher;
    int turn { 0 };
    BrowserStage()
    {
        std::wstring module = std::wstring(TEST_BINARY_DIR) + L"/tools/standin-browser/StandinBrowser.dll";
        for (wchar_t& c : module)
            c = c == L'/' ? L'\\' : c;
        auto* root = new CVerticalLayoutUI;
        browser->SetAttribute(L"modulename", module.c_str());
        browser->SetAttribute(L"clsid", L"{8856F961-340A-11D0-A96B-00C04FD705A2}");
        browser->SetAttribute(L"autonavi", L"true");
        browser->SetAttribute(L"delaycreate", L"true");
        browser->SetWebBrowserEventHandler(&watcher);
        root->Add(browser);
        host.Attach(root);
    }
    ~BrowserStage() { browser->SetWebBrowserEventHandler(nullptr); }
    bool Once()
    {
        const std::wstring page = LocalPage(++turn % 2 ? L"a.html" : L"b.html");
        const int before = watcher.completed;
        const int errors = watcher.failed;
        if (!PumpUntil([&] { return browser->GetWebBrowser2() != nullptr; }, 5000))
            return false;
        browser->Navigate2(page.c_str());
        const bool arrived = PumpUntil([&] { return watcher.completed > before; }, 5000);
        if (!arrived || watcher.failed != errors)
            std::fprintf(stderr, "browser: %ls %s (%d navigation errors)\n", page.c_str(),
                arrived ? "arrived with errors" : "never completed", watcher.failed - errors);
        return arrived && watcher.failed == errors;
    }
};

const DWORD kLoginFrameStyle = 0x96C80000;
const DWORD kPlayFrameStyle = 0x10CF0000;  // as the web frame creates it

bool LoginOnce()
{
    auto* login = new CMicroClientLogin();
    if (!login->Create(nullptr, L"Tarrowin", kLoginFrameStyle, 0, 0, 0, 0, 0, nullptr))
        return false;
    ::ShowWindow(login->GetHWND(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(login->GetHWND());
    Drain();
    ::DestroyWindow(login->GetHWND());  // the frame deletes itself
    Drain();
    return true;
}

bool PlayOnce()
{
    auto* play = new CMicroClientPlayFrame();
    play->SetStartUrl(LocalPage(L"a.html").c_str());
    if (!play->Create(nullptr, L"Tarrowin", kPlayFrameStyle, 0, 0, 0, 0, 0, nullptr))
        return false;
    ::ShowWindow(play->GetHWND(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(play->GetHWND());
    Drain();
    ::DestroyWindow(play->GetHWND());
    Drain();
    return true;
}

struct Budget {
    long gdi;
    long user;
    long long privateBytes;
    long long anonymousBytes;
};

struct Scenario {
    const char* name;
    int defaultIterations;
    Budget budget;
    std::function<bool(int iterations)> run;  // the stage is set up inside, measured around the loop
};

template <class Stage>
std::function<bool(int)> Staged(std::function<Stage*()> make, std::function<void(int)>* measure)
{
    return [make, measure](int iterations) {
        Stage* stage = make();
        bool ok = true;
        for (int i = 0; i < 10 && ok; ++i)
            ok = stage->Once();  // warm-up: caches fill
        (*measure)(0);
        for (int i = 0; i < iterations && ok; ++i)
            ok = stage->Once();
        Drain();
        (*measure)(1);
        delete stage;
        return ok;
    };
}

Soak::Counts g_before;
Soak::Counts g_after;
std::function<void(int)> g_measure = [](int which) { (which == 0 ? g_before : g_after) = Soak::Measure(); };

template <class Once>
std::function<bool(int)> Repeated(Once once)
{
    return [once](int iterations) {
        bool ok = true;
        for (int i = 0; i < 10 && ok; ++i)
            ok = once();
        Drain();
        g_measure(0);
        for (int i = 0; i < iterations && ok; ++i)
            ok = once();
        Drain();
        g_measure(1);
        return ok;
    };
}

// Noise: heap blocks that stay reserved by the allocator, caches of Wine's own.
const long long kMB = 1024 * 1024;
const Budget kControls { 0, 0, 1 * kMB, 4 * kMB };
const Budget kWindows { 0, 0, 2 * kMB, 8 * kMB };

std::vector<Scenario> Scenarios()
{
    return {
        { "gallery", 500, kWindows, Repeated(GalleryOnce) },
        { "combo-popup", 500, kControls, Staged<ComboStage>([] { return new ComboStage; }, &g_measure) },
        { "edit-native", 500, kControls,
            Staged<NativeStage<CEditUI>>([] {
                return new NativeStage<CEditUI>(L"<Window><VerticalLayout><Edit name=\"n\" height=\"30\" text=\"abc\"/>"
                                                L"<Control/></VerticalLayout></Window>");
            }, &g_measure) },
        { "datetime-picker", 500, kControls,
            Staged<NativeStage<CDateTimeUI>>([] {
                return new NativeStage<CDateTimeUI>(L"<Window><VerticalLayout><DateTime name=\"n\" height=\"30\" "
                                                    L"text=\"1999-12-31\"/><Control/></VerticalLayout></Window>");
            }, &g_measure) },
        { "browser-navigate", 500, kWindows, Staged<BrowserStage>([] { return new BrowserStage; }, &g_measure) },
        { "login-frame", 100, kWindows, Repeated(LoginOnce) },
        { "play-frame", 100, kWindows, Repeated(PlayOnce) },
    };
}

std::string Bytes(long long value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f MB", static_cast<double>(value) / kMB);
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string only = "all";
    int iterations = -1;
    int frames = -1;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--scenario"))
            only = argv[i + 1];
        else if (!std::strcmp(argv[i], "--iterations"))
            iterations = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--frames"))
            frames = std::atoi(argv[i + 1]);
    }
    ::OleInitialize(nullptr);
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    CPaintManagerUI::SetInstance(instance);
    CPaintManagerUI::SetResourceDll(instance);
    CMarkup document;
    if (LoadClientConfigResource(document, instance))
        LoadClientConfig(document, GetClientConfig());

    std::string why;
    const bool live = Soak::CountsAreLive(why);
    std::printf("counting: %s\n", Soak::Routes().c_str());
    std::printf("self-check (one brush, window, menu and icon made and freed): %s, %s\n", live ? "counts" : "BLIND",
        why.c_str());
    if (!live)
        return 1;
    std::printf("%-17s %6s | %11s | %11s | %21s | %21s | %s\n", "scenario", "runs", "GDI b/a/+", "USER b/a/+",
        "private before/after", "anon before/after", "verdict");
    int failures = 0;
    bool found = false;
    for (const Scenario& scenario : Scenarios()) {
        if (only != "all" && only != scenario.name)
            continue;
        found = true;
        const bool frame = !std::strncmp(scenario.name, "login", 5) || !std::strncmp(scenario.name, "play", 4);
        int runs = frame ? (frames >= 0 ? frames : scenario.defaultIterations)
                         : (iterations >= 0 ? iterations : scenario.defaultIterations);
        const DWORD started = ::GetTickCount();
        const bool ran = scenario.run(runs);
        const Budget& b = scenario.budget;
        const bool within = g_after.gdi - g_before.gdi <= b.gdi && g_after.user - g_before.user <= b.user
            && g_after.privateBytes - g_before.privateBytes <= b.privateBytes
            && (g_before.anonymousBytes < 0 || g_after.anonymousBytes - g_before.anonymousBytes <= b.anonymousBytes);
        const bool ok = ran && within;
        failures += ok ? 0 : 1;
        std::printf("%-17s %6d | %4ld/%4ld/%ld | %4ld/%4ld/%ld | %8s/%8s +%s | %8s/%8s +%s | %s (%.1f s)\n",
            scenario.name, runs, g_before.gdi, g_after.gdi, b.gdi, g_before.user, g_after.user, b.user,
            Bytes(g_before.privateBytes).c_str(), Bytes(g_after.privateBytes).c_str(), Bytes(b.privateBytes).c_str(),
            Bytes(g_before.anonymousBytes).c_str(), Bytes(g_after.anonymousBytes).c_str(),
            Bytes(b.anonymousBytes).c_str(), !ran ? "DID NOT RUN" : within ? "within budget" : "OVER BUDGET",
            (::GetTickCount() - started) / 1000.0);
        std::fflush(stdout);
    }
    ::OleUninitialize();
    if (!found) {
        std::fprintf(stderr, "no scenario named %s\n", only.c_str());
        return 2;
    }
    std::printf("soak: %d scenario(s) over budget or not run\n", failures);
    return failures ? 1 : 0;
}
