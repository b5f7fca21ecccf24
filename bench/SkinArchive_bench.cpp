// Opening a skin-sized archive and extracting every entry, beside bare zlib
// inflating the same entries in the same run. Medians over repetitions.
// Usage: SkinArchive_bench [archive.zip]  (default: the build's fixtures/archive/skin.zip)
#include <windows.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "foundation/SkinArchive.h"

using namespace Veneer;

namespace {

using Bytes = std::vector<unsigned char>;
constexpr int kRepetitions = 300;

unsigned Get16(const Bytes& b, size_t at) { return b[at] | (b[at + 1] << 8); }
unsigned Get32(const Bytes& b, size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<unsigned>(b[at + 3]) << 24);
}

Bytes ReadWholeFile(const std::wstring& path)
{
    Bytes bytes;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    LARGE_INTEGER size {};
    DWORD read = 0;
    if (::GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < (1 << 30)) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        if (!::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size())
            bytes.clear();
    }
    ::CloseHandle(file);
    return bytes;
}

std::wstring DefaultArchivePath()
{
    wchar_t exe[MAX_PATH] {};
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring path = exe;
    path.erase(path.find_last_of(L"\\/") + 1);
    return path + L"..\\fixtures\\archive\\skin.zip";
}

// The baseline's own view of the archive: where each entry's data lies.
struct RawEntry {
    std::wstring name;
    unsigned method { 0 };
    unsigned crc { 0 };
    size_t data { 0 };
    size_t compressed { 0 };
    size_t uncompressed { 0 };
};

std::vector<RawEntry> ListEntries(const Bytes& b)
{
    std::vector<RawEntry> entries;
    size_t end = b.size() - 22;
    while (end > 0 && Get32(b, end) != 0x06054b50)
        --end;
    size_t at = Get32(b, end + 16);
    for (unsigned i = 0, count = Get16(b, end + 10); i < count; ++i) {
        RawEntry e;
        const size_t nameLength = Get16(b, at + 28);
        e.method = Get16(b, at + 10);
        e.crc = Get32(b, at + 16);
        e.compressed = Get32(b, at + 20);
        e.uncompressed = Get32(b, at + 24);
        for (size_t c = 0; c < nameLength; ++c)
            e.name += static_cast<wchar_t>(b[at + 46 + c]);
        const size_t local = Get32(b, at + 42);
        e.data = local + 30 + Get16(b, local + 26) + Get16(b, local + 28);
        if (e.name.empty() || e.name.back() != L'/')
            entries.push_back(e);
        at += 46 + nameLength + Get16(b, at + 30) + Get16(b, at + 32);
    }
    return entries;
}

double Now()
{
    static LARGE_INTEGER frequency {};
    if (!frequency.QuadPart)
        ::QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter {};
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// One timing of each piece of work per round, in turn, so that the machine's
// other load falls on all of them alike; medians. False when one fails.
template <typename... Work>
bool AlternatingMedians(std::vector<double>& medians, Work... work)
{
    std::vector<std::vector<double>> times(sizeof...(work));
    for (int i = 0; i < kRepetitions; ++i) {
        size_t which = 0;
        bool ok = true;
        auto time = [&](auto& piece) {
            const double start = Now();
            ok = piece() && ok;
            times[which++].push_back(Now() - start);
        };
        (time(work), ...);
        if (!ok)
            return false;
    }
    medians.clear();
    for (auto& each : times)
        medians.push_back(Median(each));
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    std::wstring path = DefaultArchivePath();
    if (argc > 1) {
        path.clear();
        for (const char* c = argv[1]; *c; ++c)
            path += static_cast<wchar_t>(*c);
    }
    const Bytes archive = ReadWholeFile(path);
    if (archive.size() < 22) {
        std::printf("SkinArchive_bench: cannot read %ls (build the fixtures first)\n", path.c_str());
        return 1;
    }
    const std::vector<RawEntry> entries = ListEntries(archive);
    std::vector<Bytes> outputs;
    size_t total = 0;
    for (const RawEntry& e : entries) {
        outputs.emplace_back(e.uncompressed);
        total += e.uncompressed;
    }

    auto readerByIndex = [&]() {
        HSKINARCHIVE handle = OpenSkinArchive(archive.data(), static_cast<DWORD>(archive.size()), ARCHIVE_MEMORY);
        if (!handle)
            return false;
        TArchiveEntry info;
        GetArchiveEntry(handle, -1, &info);
        bool ok = true;
        for (int i = 0, file = 0; i < info.index && ok; ++i) {
            TArchiveEntry entry;
            ok = GetArchiveEntry(handle, i, &entry) == ARCHIVE_OK;
            if (!ok || (entry.attributes & FILE_ATTRIBUTE_DIRECTORY))
                continue;
            Bytes& out = outputs[file++];
            const DWORD result = ExtractArchiveEntry(handle, i, out.data(), entry.uncompressedSize, ARCHIVE_MEMORY);
            ok = result == ARCHIVE_OK || result == ARCHIVE_MORE_DATA;
        }
        CloseSkinArchive(handle);
        return ok;
    };
    // As the loaders do it: every entry looked up by name, case folded.
    auto readerByName = [&]() {
        HSKINARCHIVE handle = OpenSkinArchive(archive.data(), static_cast<DWORD>(archive.size()), ARCHIVE_MEMORY);
        if (!handle)
            return false;
        bool ok = true;
        for (size_t i = 0; i < entries.size() && ok; ++i) {
            int index = -1;
            TArchiveEntry entry;
            ok = FindArchiveEntry(handle, entries[i].name.c_str(), true, &index, &entry) == ARCHIVE_OK;
            const DWORD result = ok ? ExtractArchiveEntry(handle, index, outputs[i].data(), entry.uncompressedSize, ARCHIVE_MEMORY) : 0;
            ok = ok && (result == ARCHIVE_OK || result == ARCHIVE_MORE_DATA);
        }
        CloseSkinArchive(handle);
        return ok;
    };
    auto bareZlib = [&]() {
        for (size_t i = 0; i < entries.size(); ++i) {
            const RawEntry& e = entries[i];
            Bytes& out = outputs[i];
            if (e.method == 0) {
                memcpy(out.data(), archive.data() + e.data, e.uncompressed);
            } else {
                z_stream z {};
                if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
                    return false;
                z.next_in = const_cast<Bytef*>(archive.data() + e.data);
                z.avail_in = static_cast<uInt>(e.compressed);
                z.next_out = out.data();
                z.avail_out = static_cast<uInt>(out.size());
                const int status = inflate(&z, Z_FINISH);
                inflateEnd(&z);
                if (status != Z_STREAM_END)
                    return false;
            }
            if (crc32(0, out.data(), static_cast<uInt>(out.size())) != e.crc)
                return false;
        }
        return true;
    };

    // Warm caches and allocators before measuring.
    readerByIndex();
    bareZlib();
    std::vector<double> medians;
    const bool extracted = AlternatingMedians(medians, readerByIndex, readerByName, bareZlib);
    std::printf("SkinArchive_bench: %ls\n", path.c_str());
    std::printf("  %zu entries, %zu bytes compressed archive, %zu bytes extracted; median of %d alternating runs\n",
                entries.size(), archive.size(), total, kRepetitions);
    if (!extracted) {
        std::printf("  extraction failed\n");
        return 1;
    }
    const double byIndex = medians[0];
    const double byName = medians[1];
    const double baseline = medians[2];
    std::printf("  reader: open + extract every entry by index   %8.3f ms\n", byIndex);
    std::printf("  reader: open + find by name + extract         %8.3f ms\n", byName);
    std::printf("  baseline: bare zlib inflate + CRC-32          %8.3f ms\n", baseline);
    std::printf("  reader / baseline                              %8.2fx\n", byIndex / baseline);
    Bench::Row("skin archive open + extract all", byIndex, "ms", "bare zlib inflate + CRC-32", baseline, "x<=1.15");
    return 0;
}
