// Runs the mutation loop of one target (or all) under the guard heap:
//   fuzz_runner --target NAME|all --seeds 1,2 --iterations N [--save FOLDER]
// First every kept regression input of the target is replayed, then each seed
// drives N mutated inputs. A fault (heap overrun, use after free, crash or a
// broken promise) prints target, seed and iteration, saves the input and makes
// the exit code non-zero; a heap fault or crash ends the run at once.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "fuzz/FuzzTarget.h"
#include "fuzz/GuardHeap.h"

namespace Fuzz {

namespace {

std::vector<Target>& Registry()
{
    static std::vector<Target> targets;
    return targets;
}

// What is being run, for the fault handler (which must not allocate).
struct Current {
    const char* target { "" };
    unsigned seed { 0 };
    long iteration { -1 };  // -1: a regression input
    const unsigned char* data { nullptr };
    size_t size { 0 };
    wchar_t saveFolder[MAX_PATH] {};
} g_current;

void WriteErr(const char* text)
{
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_ERROR_HANDLE), text, static_cast<DWORD>(strlen(text)), &written, nullptr);
    written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), text, static_cast<DWORD>(strlen(text)), &written, nullptr);
}

// Saves the current input as <folder>/<target>-seed<S>-it<I>.bin; returns the name.
void SaveCurrent(wchar_t* path, size_t capacity)
{
    _snwprintf(path, capacity, L"%ls/%hs-seed%u-it%ld.bin", g_current.saveFolder, g_current.target,
        g_current.seed, g_current.iteration);
    path[capacity - 1] = 0;
    ::CreateDirectoryW(g_current.saveFolder, nullptr);
    HANDLE file = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    if (g_current.size)
        ::WriteFile(file, g_current.data, static_cast<DWORD>(g_current.size), &written, nullptr);
    ::CloseHandle(file);
}

[[noreturn]] void ReportFatal(const char* kind, const void* address, DWORD code, const void* instruction)
{
    wchar_t path[MAX_PATH * 2] {};
    SaveCurrent(path, MAX_PATH * 2);
    char text[1024];
    _snprintf(text, sizeof text,
        "FAULT target=%s seed=%u iteration=%ld: %s (code 0x%08lX, address %p, at instruction %p); input saved as %ls\n"
        "fuzz target=%s faults=1\n",
        g_current.target, g_current.seed, g_current.iteration, kind, static_cast<unsigned long>(code), address,
        instruction, path, g_current.target);
    text[sizeof text - 1] = 0;
    WriteErr(text);
    ::TerminateProcess(::GetCurrentProcess(), 3);
    for (;;) {
    }
}

LONG CALLBACK OnException(EXCEPTION_POINTERS* info)
{
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    if (record->ExceptionCode == GuardHeap::kMisuseException)
        ReportFatal("damaged heap block header (underrun or double free)", nullptr, record->ExceptionCode,
            record->ExceptionAddress);
    if (record->ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record->NumberParameters >= 2) {
        const void* address = reinterpret_cast<const void*>(record->ExceptionInformation[1]);
        // Faults elsewhere may be the system's own probing; the unhandled filter sees real ones.
        if (GuardHeap::InArena(address))
            ReportFatal(GuardHeap::DescribeFault(address), address, record->ExceptionCode, record->ExceptionAddress);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

LONG WINAPI OnUnhandled(EXCEPTION_POINTERS* info)
{
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    const void* address = record->NumberParameters >= 2
        ? reinterpret_cast<const void*>(record->ExceptionInformation[1]) : record->ExceptionAddress;
    ReportFatal("crash", address, record->ExceptionCode, record->ExceptionAddress);
}

const unsigned char kSpecials[] = { '<', '>', '/', '"', '=', '&', ';', '!', '?', '-', '[', ']', ' ', '\t',
    '\n', 0, 0xFF, 0xFE, 0xEF, 0xBB, 0xBF, 0xC3, 0xE6, 0xED, 0xA0, 0x80, 'a', ':', '\'', '#', ',', '0', '9' };

void MutateOnce(Bytes& input, const std::vector<Bytes>& seeds, const Target& target, std::mt19937& random)
{
    auto pick = [&random](size_t n) { return n ? static_cast<size_t>(random() % n) : 0; };
    switch (random() % 11) {
    case 0:
        if (!input.empty())
            input[pick(input.size())] ^= static_cast<unsigned char>(1u << (random() % 8));
        break;
    case 1:
        if (!input.empty())
            input[pick(input.size())] = static_cast<unsigned char>(random());
        break;
    case 2:
        input.insert(input.begin() + static_cast<long>(pick(input.size() + 1)), kSpecials[pick(sizeof kSpecials)]);
        break;
    case 3:
        if (!input.empty())
            input[pick(input.size())] = kSpecials[pick(sizeof kSpecials)];
        break;
    case 4: {
        if (input.empty())
            break;
        const size_t at = pick(input.size());
        const size_t n = std::min(input.size() - at, 1 + pick(64));
        input.erase(input.begin() + static_cast<long>(at), input.begin() + static_cast<long>(at + n));
        break;
    }
    case 5: {  // repeat a piece, sometimes many times (nesting, long runs)
        if (input.empty())
            break;
        const size_t at = pick(input.size());
        const size_t n = std::min(input.size() - at, 1 + pick(48));
        const Bytes piece(input.begin() + static_cast<long>(at), input.begin() + static_cast<long>(at + n));
        const size_t times = random() % 8 == 0 ? 1 + pick(400) : 1;
        Bytes repeated;
        for (size_t i = 0; i < times && repeated.size() < (1u << 20); ++i)
            repeated.insert(repeated.end(), piece.begin(), piece.end());
        input.insert(input.begin() + static_cast<long>(pick(input.size() + 1)), repeated.begin(), repeated.end());
        break;
    }
    case 6: {  // splice a piece of another seed in
        const Bytes& other = seeds[pick(seeds.size())];
        if (other.empty())
            break;
        const size_t at = pick(other.size());
        const size_t n = std::min(other.size() - at, 1 + pick(256));
        input.insert(input.begin() + static_cast<long>(pick(input.size() + 1)), other.begin() + static_cast<long>(at),
            other.begin() + static_cast<long>(at + n));
        break;
    }
    case 7:
        input.resize(pick(input.size() + 1));
        break;
    case 8:
    case 9:
        if (input.size() >= 4)
            PutExtreme(input, pick(input.size() - 3), random() % 2 ? 2 : 4, random);
        break;
    default:
        if (target.mutate)
            target.mutate(input, random);
        break;
    }
}

struct Options {
    std::string target { "all" };
    std::vector<unsigned> seeds { 1 };
    long iterations { 1000 };
};

bool ParseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i];
        const std::string value = argv[i + 1];
        if (key == "--target") {
            options.target = value;
        } else if (key == "--iterations") {
            options.iterations = std::strtol(value.c_str(), nullptr, 10);
        } else if (key == "--seeds") {
            options.seeds.clear();
            for (size_t at = 0; at < value.size();) {
                const size_t comma = std::min(value.find(',', at), value.size());
                options.seeds.push_back(static_cast<unsigned>(std::strtoul(value.substr(at, comma - at).c_str(), nullptr, 10)));
                at = comma + 1;
            }
        } else if (key == "--save") {
            MultiByteToWideChar(CP_UTF8, 0, value.c_str(), -1, g_current.saveFolder, MAX_PATH);
        } else {
            return false;
        }
    }
    return (argc % 2) == 1 && !options.seeds.empty() && options.iterations >= 0;
}

// Runs one input; false (after printing) when a promise was broken.
bool RunOne(const Target& target, const Bytes& input)
{
    // The input lives in a block of exactly its size: reading past it faults.
    Bytes exact(input);
    g_current.data = exact.data();
    g_current.size = exact.size();
    const std::string broken = target.run(exact);
    if (broken.empty())
        return true;
    wchar_t path[MAX_PATH * 2] {};
    SaveCurrent(path, MAX_PATH * 2);
    std::printf("FAULT target=%s seed=%u iteration=%ld: %s; input saved as %ls\n", target.name, g_current.seed,
        g_current.iteration, broken.c_str(), path);
    std::fflush(stdout);
    return false;
}

int RunTarget(const Target& target, const Options& options)
{
    g_current.target = target.name;
    const auto started = std::chrono::steady_clock::now();
    int faults = 0;

    std::vector<Bytes> regressions = ReadFolder(SeedPath(L"../regressions/" + std::wstring(target.name, target.name + strlen(target.name))));
    g_current.seed = 0;
    long index = 0;
    for (const Bytes& input : regressions) {
        g_current.iteration = -(++index);
        faults += RunOne(target, input) ? 0 : 1;
    }

    const std::vector<Bytes> seeds = target.seeds();
    if (seeds.empty()) {
        std::printf("FAULT target=%s: no seed inputs\n", target.name);
        return 1;
    }
    for (const Bytes& seed : seeds) {
        g_current.iteration = 0;
        faults += RunOne(target, seed) ? 0 : 1;
    }
    for (unsigned seed : options.seeds) {
        g_current.seed = seed;
        std::mt19937 random(seed);
        for (long i = 0; i < options.iterations; ++i) {
            g_current.iteration = i + 1;
            Bytes input = seeds[random() % seeds.size()];
            const int rounds = 1 + static_cast<int>(random() % 4);
            for (int r = 0; r < rounds; ++r)
                MutateOnce(input, seeds, target, random);
            faults += RunOne(target, input) ? 0 : 1;
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::string seedList;
    for (unsigned seed : options.seeds)
        seedList += (seedList.empty() ? "" : ",") + std::to_string(seed);
    std::printf("fuzz target=%s seeds=%s iterations=%ld (x%zu seeds, %zu seed inputs, %zu regression inputs) "
        "faults=%d guard-heap=%s time=%.1fs\n",
        target.name, seedList.c_str(), options.iterations, options.seeds.size(), seeds.size(), regressions.size(),
        faults, GuardHeap::IsProtecting() ? "on" : "OFF", seconds);
    std::fflush(stdout);
    return faults;
}

}  // namespace

Registration::Registration(const Target& target)
{
    Registry().push_back(target);
}

const std::vector<Target>& Targets()
{
    return Registry();
}

Bytes ReadFile(const std::wstring& path)
{
    Bytes bytes;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    const DWORD size = ::GetFileSize(file, nullptr);
    bytes.resize(size);
    DWORD read = 0;
    if (size && (!::ReadFile(file, bytes.data(), size, &read, nullptr) || read != size))
        bytes.clear();
    ::CloseHandle(file);
    return bytes;
}

std::vector<Bytes> ReadFolder(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found {};
    HANDLE search = ::FindFirstFileW((folder + L"/*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(found.cFileName);
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    std::sort(names.begin(), names.end());
    std::vector<Bytes> inputs;
    for (const std::wstring& name : names)
        inputs.push_back(ReadFile(folder + L"/" + name));
    return inputs;
}

std::wstring FixturePath(const std::wstring& relative)
{
    return std::wstring(TEST_FIXTURES_DIR) + L"/" + relative;
}

std::wstring SeedPath(const std::wstring& relative)
{
    return std::wstring(TEST_FIXTURES_DIR) + L"/../fuzz/seeds/" + relative;
}

std::wstring WideText(const Bytes& input)
{
    std::wstring text;
    text.reserve(input.size() / 2 + 1);
    for (size_t i = 0; i + 1 < input.size(); i += 2)
        text.push_back(static_cast<wchar_t>(input[i] | (input[i + 1] << 8)));
    text.shrink_to_fit();
    return text;
}

void PutExtreme(Bytes& input, size_t at, int width, std::mt19937& random)
{
    static const unsigned values[] = { 0, 1, 0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu, 0xFFFFu, 0x8000u, 0x7FFFu, 0x10000u };
    unsigned value = values[random() % (sizeof values / sizeof values[0])];
    for (int i = 0; i < width && at + i < input.size(); ++i)
        input[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

}  // namespace Fuzz

int main(int argc, char** argv)
{
    using namespace Fuzz;
    ::AddVectoredExceptionHandler(1, OnException);
    ::SetUnhandledExceptionFilter(OnUnhandled);
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: fuzz_runner --target NAME|all --seeds 1,2 --iterations N [--save FOLDER]\n");
        return 2;
    }
    if (!g_current.saveFolder[0])
        wcscpy(g_current.saveFolder, (std::wstring(TEST_BINARY_DIR) + L"/fuzz-findings").c_str());
    int faults = 0;
    bool found = false;
    for (const Target& target : Targets()) {
        if (options.target != "all" && options.target != target.name)
            continue;
        found = true;
        faults += RunTarget(target, options);
    }
    if (!found) {
        std::fprintf(stderr, "no target named %s; targets:", options.target.c_str());
        for (const Target& target : Targets())
            std::fprintf(stderr, " %s", target.name);
        std::fprintf(stderr, "\n");
        return 2;
    }
    return faults ? 1 : 0;
}
