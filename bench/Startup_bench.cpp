// Starts the real client and a bare window program side by side, nine runs
// each in turn: time from process start to its first idle message loop
// (WaitForInputIdle), and peak working set once its first frame has settled;
// then each one's CPU time over ten idle seconds. Medians.
// usage: Startup_bench.exe CLIENT.exe BARE.exe
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchSupport.h"

namespace {

constexpr int kRuns = 9;
constexpr DWORD kSettleMs = 1500;
constexpr DWORD kIdleMs = 10000;
// The login frame restacks its web frame for two seconds after its first
// paint (a Wine workaround): start-up work, not idling.
constexpr DWORD kIdleSettleMs = 3000;

struct Started {
    PROCESS_INFORMATION pi {};
    double startMs { -1 };
};

Started Start(const std::wstring& exe, const wchar_t* arguments = L"")
{
    Started s;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    std::wstring command = L"\"" + exe + L"\" " + arguments;
    const double t0 = Bench::NowMicroseconds();
    if (!::CreateProcessW(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &s.pi)) {
        return s;
    }
    if (::WaitForInputIdle(s.pi.hProcess, 30000) == 0) {
        s.startMs = (Bench::NowMicroseconds() - t0) / 1000.0;
    }
    return s;
}

void Stop(Started& s)
{
    if (s.pi.hProcess == nullptr) return;
    // Only the child this probe started.
    ::TerminateProcess(s.pi.hProcess, 0);
    ::WaitForSingleObject(s.pi.hProcess, 10000);
    ::CloseHandle(s.pi.hThread);
    ::CloseHandle(s.pi.hProcess);
    s.pi = {};
}

double PeakMiB(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS pmc = {};
    pmc.cb = sizeof(pmc);
    if (!::GetProcessMemoryInfo(process, &pmc, sizeof(pmc))) return -1;
    return static_cast<double>(pmc.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

double CpuMs(HANDLE process)
{
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
    auto ticks = [](const FILETIME& f) { return (static_cast<ULONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
}

double Median(std::vector<double> v)
{
    if (v.empty()) return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double IdleCpuMs(const std::wstring& exe)
{
    // The pointer away from every window: Wine follows a window's mouse-leave
    // tracking by asking X for the pointer every hover time (400 ms) while
    // the pointer rests over it, work of the platform's that Windows does not
    // do, and that would land on whichever program happens to be under it.
    ::SetCursorPos(0, 0);
    POINT pointer {};
    if (::GetCursorPos(&pointer) && (pointer.x != 0 || pointer.y != 0)) {
        std::printf("the pointer stays at %ld,%ld (the display does not let it move): Wine's leave tracking of a "
                    "window under it runs during the idle measure\n", pointer.x, pointer.y);
    }
    Started s = Start(exe);
    if (s.startMs < 0) {
        Stop(s);
        return -1;
    }
    ::Sleep(kIdleSettleMs);
    const double before = CpuMs(s.pi.hProcess);
    ::Sleep(kIdleMs);
    const double after = CpuMs(s.pi.hProcess);
    Stop(s);
    return after - before;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::printf("usage: Startup_bench CLIENT.exe BARE.exe [PLAYING-CLIENT.exe]\n");
        return 2;
    }
    const std::wstring client = argv[1];
    const std::wstring bare = argv[2];
    // The client, the bare program, the bare program with the platform
    // pieces the client loads before its first idle, and that with a layered
    // window of the login frame's size as well.
    static const wchar_t* const kBareArguments[] = { L"", L"", L"--platform", L"--platform --layered=1083x656" };
    std::vector<double> starts[4], peaks[4];
    for (int run = 0; run < kRuns; ++run) {
        for (int which = 0; which < 4; ++which) {
            Started s = Start(which == 0 ? client : bare, kBareArguments[which]);
            if (s.startMs >= 0) {
                ::Sleep(kSettleMs);
                starts[which].push_back(s.startMs);
                peaks[which].push_back(PeakMiB(s.pi.hProcess));
            }
            Stop(s);
        }
    }
    const std::vector<double>& clientStart = starts[0];
    const std::vector<double>& bareStart = starts[1];
    const std::vector<double>& clientPeak = peaks[0];
    const std::vector<double>& barePeak = peaks[1];
    if (clientStart.empty() || bareStart.empty()) {
        std::printf("a program did not reach its message loop (client %zu runs, bare %zu runs)\n",
            clientStart.size(), bareStart.size());
        return 1;
    }
    const double clientIdle = IdleCpuMs(client);
    const double bareIdle = IdleCpuMs(bare);
    std::printf("start-up: %d runs each; client %.1f ms, bare %.1f ms; peak working set %.1f / %.1f MiB\n",
        kRuns, Median(clientStart), Median(bareStart), Median(clientPeak), Median(barePeak));
    Bench::Row("start to first idle (WaitForInputIdle)", Median(clientStart), "ms", "bare window program",
        Median(bareStart), "x<=1.5");
    Bench::Row("peak working set at the login frame", Median(clientPeak), "MiB", "bare window program",
        Median(barePeak), "x<=1.6");
    if (!starts[2].empty()) {
        Bench::Row("  bare program + the client's platform pieces: start", Median(starts[2]), "ms",
            "bare window program", Median(bareStart), "-");
        Bench::Row("  bare program + the client's platform pieces: working set", Median(peaks[2]), "MiB",
            "bare window program", Median(barePeak), "-");
    }
    if (!starts[3].empty()) {
        Bench::Row("  ... + a layered 1083x656 window painted as the client's: start", Median(starts[3]), "ms",
            "bare window program", Median(bareStart), "-");
        Bench::Row("  ... + a layered 1083x656 window painted as the client's: working set", Median(peaks[3]), "MiB",
            "bare window program", Median(barePeak), "-");
    }
    Bench::Row("CPU time over 10 idle s, login frame", clientIdle, "ms", "bare window program", bareIdle, "<=0");
    // A copy whose login address already holds the play keyword opens the
    // play frame on its first navigation: the game page, idle.
    if (argc > 3) {
        const double playIdle = IdleCpuMs(argv[3]);
        Bench::Row("CPU time over 10 idle s, play frame", playIdle, "ms", "bare window program", bareIdle, "<=0");
    }
    return 0;
}
