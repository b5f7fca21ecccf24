#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "SkinArchiveTestUtil.h"

using namespace Veneer;
using namespace SkinArchiveTest;

namespace {

// Memory whose last byte is followed by an inaccessible page, so that any read
// or write past the end of what is placed there faults at once.
class GuardedBlock {
public:
    explicit GuardedBlock(size_t capacity)
    {
        SYSTEM_INFO info {};
        ::GetSystemInfo(&info);
        m_page = info.dwPageSize;
        m_span = (capacity + m_page - 1) / m_page * m_page;
        m_base = static_cast<unsigned char*>(::VirtualAlloc(nullptr, m_span + m_page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        if (m_base)
            ::VirtualProtect(m_base + m_span, m_page, PAGE_NOACCESS, &old);
    }
    ~GuardedBlock()
    {
        if (m_base)
            ::VirtualFree(m_base, 0, MEM_RELEASE);
    }
    GuardedBlock(const GuardedBlock&) = delete;
    GuardedBlock& operator=(const GuardedBlock&) = delete;

    bool IsValid() const { return m_base != nullptr; }
    size_t Capacity() const { return m_span; }
    // `size` bytes ending right at the guard page.
    unsigned char* Tail(size_t size) const { return m_base + m_span - size; }

private:
    unsigned char* m_base { nullptr };
    size_t m_page { 4096 };
    size_t m_span { 0 };
};

bool IsDefinedResult(DWORD result)
{
    return result == ARCHIVE_OK || result == ARCHIVE_MORE_DATA || result == ARCHIVE_BAD_ENTRY ||
           result == ARCHIVE_READ_FAILED || result == ARCHIVE_INFLATE_FAILED || result == ARCHIVE_BAD_ARGUMENT;
}

Bytes Mutate(const Bytes& original, const ZipLayout& layout, std::mt19937& random)
{
    Bytes bytes = original;
    const size_t directory = layout.entries.empty() ? 0 : layout.entries.front().central;
    const int changes = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < changes; ++i) {
        size_t at = 0;
        switch (random() % 4) {
        case 0:
            at = random() % bytes.size();
            break;
        case 1:
        case 2:  // the central directory and end record decide what the reader trusts
            at = directory + random() % (bytes.size() - directory);
            break;
        default: {
            const ZipLayout::Entry& entry = layout.entries[random() % layout.entries.size()];
            at = std::min(bytes.size() - 1, entry.local + random() % 48);
        }
        }
        switch (random() % 3) {
        case 0: bytes[at] = static_cast<unsigned char>(random()); break;
        case 1: bytes[at] = 0xFF; break;
        default: bytes[at] ^= static_cast<unsigned char>(1u << (random() % 8)); break;
        }
    }
    if (random() % 16 == 0)
        bytes.resize(random() % bytes.size());
    return bytes;
}

}  // namespace

TEST(SkinArchiveFuzz, RandomMutationsFailCleanly)
{
    const Bytes bases[] = { LoadArchive(L"fuzz.zip"), LoadArchive(L"fuzz-descriptor.zip") };
    GuardedBlock input(64 * 1024);
    GuardedBlock output(1024 * 1024);
    ASSERT_TRUE(input.IsValid() && output.IsValid());
    std::mt19937 random(20261208);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    int opened = 0;
    int extracted = 0;
    int rounds = 0;
    for (; rounds < 4000 && std::chrono::steady_clock::now() < deadline; ++rounds) {
        const Bytes& base = bases[rounds % 2];
        ASSERT_FALSE(base.empty());
        ASSERT_LE(base.size(), input.Capacity());
        const Bytes bytes = Mutate(base, ReadLayout(base), random);
        unsigned char* data = input.Tail(bytes.size());
        std::copy(bytes.begin(), bytes.end(), data);

        ArchivePtr archive(OpenSkinArchive(data, static_cast<DWORD>(bytes.size()), ARCHIVE_MEMORY));
        if (!archive)
            continue;
        ++opened;
        TArchiveEntry info;
        ASSERT_EQ(ARCHIVE_OK, GetArchiveEntry(archive.get(), -1, &info));
        for (int i = 0; i < info.index && i < 64; ++i) {
            TArchiveEntry entry;
            if (GetArchiveEntry(archive.get(), i, &entry) != ARCHIVE_OK || entry.uncompressedSize > output.Capacity())
                continue;
            unsigned char* out = output.Tail(entry.uncompressedSize);
            const DWORD first = ExtractArchiveEntry(archive.get(), i, out, entry.uncompressedSize, ARCHIVE_MEMORY);
            ASSERT_TRUE(IsDefinedResult(first)) << std::hex << first;
            if (first == ARCHIVE_MORE_DATA) {
                // Reported whole: the next call must find nothing left.
                ASSERT_EQ(ARCHIVE_OK, ExtractArchiveEntry(archive.get(), i, out, entry.uncompressedSize, ARCHIVE_MEMORY));
                ++extracted;
            }
        }
        int index = 0;
        TArchiveEntry found;
        const DWORD search = FindArchiveEntry(archive.get(), L"skin\\LOGIN.xml", true, &index, &found);
        ASSERT_TRUE(search == ARCHIVE_OK || search == ARCHIVE_NOT_FOUND);
        ASSERT_EQ(search == ARCHIVE_OK ? found.index : -1, index);
    }
    std::printf("%d mutated archives, %d opened, %d entries extracted whole\n", rounds, opened, extracted);
    EXPECT_GT(opened, 0);
    EXPECT_GT(extracted, 0);
}
