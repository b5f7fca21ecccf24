#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SkinArchiveTestUtil.h"

using namespace Veneer;
using namespace SkinArchiveTest;

namespace {

struct Extraction {
    DWORD first { 0xFFFFFFFF };
    DWORD second { 0xFFFFFFFF };
    Bytes data;
};

// Extracts like the framework's loaders: one buffer of exactly the entry's size.
Extraction ExtractExact(HSKINARCHIVE archive, int index)
{
    Extraction result;
    TArchiveEntry entry;
    if (GetArchiveEntry(archive, index, &entry) != ARCHIVE_OK)
        return result;
    result.data.resize(entry.uncompressedSize);
    result.first = ExtractArchiveEntry(archive, index, result.data.data(), entry.uncompressedSize, ARCHIVE_MEMORY);
    result.second = ExtractArchiveEntry(archive, index, result.data.data(), entry.uncompressedSize, ARCHIVE_MEMORY);
    return result;
}

int IndexOf(HSKINARCHIVE archive, const wchar_t* name)
{
    int index = -2;
    TArchiveEntry entry;
    FindArchiveEntry(archive, name, false, &index, &entry);
    return index;
}

std::string Narrow(const wchar_t* text)
{
    std::string out;
    for (; *text; ++text)
        out += static_cast<char>(*text);
    return out;
}

void ExpectEveryEntryMatchesItsSource(const std::wstring& archiveName)
{
    SCOPED_TRACE(std::string(archiveName.begin(), archiveName.end()));
    const Bytes bytes = LoadArchive(archiveName);
    ASSERT_FALSE(bytes.empty());
    ArchivePtr archive = OpenMemory(bytes);
    ASSERT_TRUE(archive);
    TArchiveEntry info;
    ASSERT_EQ(ARCHIVE_OK, GetArchiveEntry(archive.get(), -1, &info));
    ASSERT_GE(info.index, 10);
    int files = 0;
    for (int i = 0; i < info.index; ++i) {
        TArchiveEntry entry;
        ASSERT_EQ(ARCHIVE_OK, GetArchiveEntry(archive.get(), i, &entry));
        if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        SCOPED_TRACE(Narrow(entry.name));
        const Bytes expected = StagedFile(entry.name);
        ASSERT_EQ(expected.size(), entry.uncompressedSize);
        const Extraction got = ExtractExact(archive.get(), i);
        EXPECT_EQ(expected.empty() ? ARCHIVE_OK : ARCHIVE_MORE_DATA, got.first);
        EXPECT_EQ(ARCHIVE_OK, got.second);
        EXPECT_TRUE(got.data == expected);
        ++files;
    }
    EXPECT_GE(files, 12);
}

}  // namespace

TEST(SkinArchive, FindsAndExtractsADeflatedEntryFromMemory)
{
    const Bytes bytes = LoadArchive(L"deflated.zip");
    ArchivePtr archive = OpenMemory(bytes);
    ASSERT_TRUE(archive);
    int index = -1;
    TArchiveEntry entry;
    ASSERT_EQ(ARCHIVE_OK, FindArchiveEntry(archive.get(), L"random.txt", true, &index, &entry));
    EXPECT_EQ(index, entry.index);
    EXPECT_STREQ(L"random.txt", entry.name);
    EXPECT_EQ(120000u, entry.uncompressedSize);
    // Compressed, and large enough to need several input blocks.
    EXPECT_LT(entry.compressedSize, entry.uncompressedSize);
    EXPECT_GT(entry.compressedSize, 3u * 16384u);

    Bytes data(entry.uncompressedSize);
    EXPECT_EQ(ARCHIVE_MORE_DATA, ExtractArchiveEntry(archive.get(), index, data.data(), entry.uncompressedSize, ARCHIVE_MEMORY));
    EXPECT_EQ(ARCHIVE_MORE_DATA, GetLastArchiveResult());
    EXPECT_EQ(ARCHIVE_OK, ExtractArchiveEntry(archive.get(), index, data.data(), entry.uncompressedSize, ARCHIVE_MEMORY));
    EXPECT_TRUE(data == StagedFile(L"random.txt"));
}

TEST(SkinArchive, EveryEntryOfEachToolsArchiveMatchesItsSource)
{
    ExpectEveryEntryMatchesItsSource(L"deflated.zip");
    ExpectEveryEntryMatchesItsSource(L"stored.zip");
    ExpectEveryEntryMatchesItsSource(L"descriptor.zip");  // data descriptors, local sizes 0
    ExpectEveryEntryMatchesItsSource(L"sfx.zip");         // program in front, offsets adjusted
    ExpectEveryEntryMatchesItsSource(L"commented.zip");
}

TEST(SkinArchive, AnEntryLoadsAgainAfterANewSearch)
{
    // The loaders' pattern on the cached handle: find, one exact-size call, repeat.
    const Bytes bytes = LoadArchive(L"deflated.zip");
    const Bytes expected = StagedFile(L"skin/login.xml");
    ArchivePtr archive = OpenMemory(bytes);
    ASSERT_TRUE(archive);
    for (int load = 0; load < 3; ++load) {
        SCOPED_TRACE(load);
        int index = -1;
        TArchiveEntry entry;
        ASSERT_EQ(ARCHIVE_OK, FindArchiveEntry(archive.get(), L"skin/login.xml", true, &index, &entry));
        Bytes data(entry.uncompressedSize);
        EXPECT_EQ(ARCHIVE_MORE_DATA, ExtractArchiveEntry(archive.get(), index, data.data(), entry.uncompressedSize, ARCHIVE_MEMORY));
        EXPECT_TRUE(data == expected);
    }
}

TEST(SkinArchive, StoredArchiveHoldsEntriesUncompressed)
{
    ArchivePtr archive(OpenSkinArchive(GeneratedPath(L"stored.zip").c_str(), 0, ARCHIVE_FILE));
    ASSERT_TRUE(archive);
    int index = -1;
    TArchiveEntry entry;
    ASSERT_EQ(ARCHIVE_OK, FindArchiveEntry(archive.get(), L"random.txt", true, &index, &entry));
    EXPECT_EQ(entry.compressedSize, entry.uncompressedSize);
    const Extraction got = ExtractExact(archive.get(), index);
    EXPECT_EQ(ARCHIVE_MORE_DATA, got.first);
    EXPECT_EQ(ARCHIVE_OK, got.second);
    EXPECT_TRUE(got.data == StagedFile(L"random.txt"));
}

TEST(SkinArchive, OpensFromAFileHandleAtItsPosition)
{
    // The archive sits inside a larger file; the handle points at its start.
    Bytes file(777, 'x');
    const Bytes zip = LoadArchive(L"deflated.zip");
    file.insert(file.end(), zip.begin(), zip.end());
    const std::wstring path = GeneratedPath(L"handle-source.bin");
    ASSERT_TRUE(TestSupport::WriteFileBytes(path, file));
    HANDLE handle = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, handle);
    LARGE_INTEGER start {};
    start.QuadPart = 777;
    ::SetFilePointerEx(handle, start, nullptr, FILE_BEGIN);
    ArchivePtr archive(OpenSkinArchive(handle, 0, ARCHIVE_HANDLE));
    // The reader keeps its own duplicate.
    ::CloseHandle(handle);
    ASSERT_TRUE(archive);
    const int index = IndexOf(archive.get(), L"skin/login.xml");
    ASSERT_GE(index, 0);
    const Extraction got = ExtractExact(archive.get(), index);
    EXPECT_EQ(ARCHIVE_MORE_DATA, got.first);
    EXPECT_TRUE(got.data == StagedFile(L"skin/login.xml"));
}

TEST(SkinArchive, RefusesMissingFilesAndSourcesThatAreNotDiskFiles)
{
    EXPECT_EQ(nullptr, OpenSkinArchive(GeneratedPath(L"no-such.zip").c_str(), 0, ARCHIVE_FILE));
    EXPECT_EQ(ARCHIVE_OPEN_FAILED, GetLastArchiveResult());

    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    ASSERT_TRUE(::CreatePipe(&readEnd, &writeEnd, nullptr, 0));
    EXPECT_EQ(nullptr, OpenSkinArchive(readEnd, 0, ARCHIVE_HANDLE));
    EXPECT_EQ(ARCHIVE_NOT_DISK_FILE, GetLastArchiveResult());
    ::CloseHandle(readEnd);
    ::CloseHandle(writeEnd);

    const Bytes notZip(5000, 'z');
    EXPECT_FALSE(OpenMemory(notZip));
    EXPECT_EQ(nullptr, OpenSkinArchive(nullptr, 10, ARCHIVE_MEMORY));
    EXPECT_EQ(ARCHIVE_BAD_ARGUMENT, GetLastArchiveResult());
    EXPECT_EQ(nullptr, OpenSkinArchive(notZip.data(), 10, 7));
    EXPECT_EQ(ARCHIVE_BAD_ARGUMENT, GetLastArchiveResult());
}

TEST(SkinArchive, ReadsAnArchiveWithDataInFront)
{
    // Unadjusted offsets: the reader corrects them by the bytes in front.
    Bytes withStub(4096, 0x90);
    const Bytes zip = LoadArchive(L"descriptor.zip");
    withStub.insert(withStub.end(), zip.begin(), zip.end());
    {
        ArchivePtr archive = OpenMemory(withStub);
        ASSERT_TRUE(archive);
        const Extraction got = ExtractExact(archive.get(), IndexOf(archive.get(), L"Sub/Folder/Deep.txt"));
        EXPECT_EQ(ARCHIVE_MORE_DATA, got.first);
        EXPECT_TRUE(got.data == StagedFile(L"Sub/Folder/Deep.txt"));
    }
    const std::wstring path = GeneratedPath(L"stubbed.zip");
    ASSERT_TRUE(TestSupport::WriteFileBytes(path, withStub));
    ArchivePtr fromFile(OpenSkinArchive(path.c_str(), 0, ARCHIVE_FILE));
    ASSERT_TRUE(fromFile);
    const Extraction got = ExtractExact(fromFile.get(), IndexOf(fromFile.get(), L"random.txt"));
    EXPECT_EQ(ARCHIVE_MORE_DATA, got.first);
    EXPECT_TRUE(got.data == StagedFile(L"random.txt"));
}

TEST(SkinArchive, NamesMatchWithSlashAndAsciiCaseRules)
{
    const Bytes bytes = LoadArchive(L"deflated.zip");
    ArchivePtr archive = OpenMemory(bytes);
    ASSERT_TRUE(archive);
    int index = -1;
    TArchiveEntry entry;
    EXPECT_EQ(ARCHIVE_OK, FindArchiveEntry(archive.get(), L"Sub\\Folder\\Deep.txt", false, &index, &entry));
    EXPECT_STREQ(L"Sub/Folder/Deep.txt", entry.name);
    const int deep = index;
    EXPECT_EQ(ARCHIVE_OK, FindArchiveEntry(archive.get(), L"sub\\FOLDER/deep.TXT", true, &index, &entry));
    EXPECT_EQ(deep, index);

    const wchar_t* misses[] = { L"sub/folder/deep.txt", L"./Sub/Folder/Deep.txt", L"/Sub/Folder/Deep.txt",
                                L"Sub/Folder/Deep.tx", L"Sub/Folder/Deep.txt ", L"" };
    for (const wchar_t* name : misses) {
        SCOPED_TRACE(Narrow(name));
        index = 5;
        entry.uncompressedSize = 99;
        EXPECT_EQ(ARCHIVE_NOT_FOUND, FindArchiveEntry(archive.get(), name, false, &index, &entry));
        EXPECT_EQ(-1, index);
        EXPECT_EQ(-1, entry.index);
        EXPECT_EQ(0u, entry.uncompressedSize);
        EXPECT_EQ(L'\0', entry.name[0]);
    }
    // Only ASCII letters fold: a non-ASCII letter differing in case is another name.
    EXPECT_EQ(ARCHIVE_NOT_FOUND, FindArchiveEntry(archive.get(), L"README.TXT\u00e9", true, &index, &entry));
    EXPECT_EQ(ARCHIVE_NOT_FOUND, FindArchiveEntry(archive.get(), std::wstring(256, L'a').c_str(), true, &index, &entry));
    EXPECT_EQ(ARCHIVE_OK, FindArchiveEntry(archive.get(), L"README.TXT", true, &index, &entry));
}

TEST(SkinArchive, AFailedSearchLeavesTheReaderUsable)
{
    const Bytes bytes = LoadArchive(L"descriptor.zip");
    ArchivePtr archive = OpenMemory(bytes);
    ASSERT_TRUE(archive);
    const int index = IndexOf(archive.get(), L"skin/images/title.png");
    ASSERT_GE(index, 0);
    Bytes data(StagedFile(L"skin/images/title.png").size());
    // Part of the entry, a failed search, then the rest: the open entry continues.
    EXPECT_EQ(ARCHIVE_MORE_DATA, ExtractArchiveEntry(archive.get(), index, data.data(), 1000, ARCHIVE_MEMORY));
    EXPECT_EQ(-1, IndexOf(archive.get(), L"missing.png"));
    EXPECT_EQ(ARCHIVE_MORE_DATA, ExtractArchiveEntry(archive.get(), index, data.data() + 1000,
                                                     static_cast<DWORD>(data.size() - 1000), ARCHIVE_MEMORY));
    EXPECT_TRUE(data == StagedFile(L"skin/images/title.png"));
    EXPECT_EQ(index, IndexOf(archive.get(), L"skin/images/title.png"));
}

TEST(SkinArchive, DescribesTheArchiveAndItsEntries)
{
    const Bytes bytes = LoadArchive(L"deflated.zip");
    const ZipLayout layout = ReadLayout(bytes);
    ArchivePtr archive = OpenMemory(bytes);
    ASSERT_TRUE(archive);
    TArchiveEntry info;
    ASSERT_EQ(ARCHIVE_OK, GetArchiveEntry(archive.get(), -1, &info));
    EXPECT_EQ(static_cast<int>(layout.entries.size()), info.index);
    EXPECT_EQ(L'\0', info.name[0]);
    EXPECT_EQ(ARCHIVE_BAD_ARGUMENT, GetArchiveEntry(archive.get(), info.index, &info));
    EXPECT_EQ(ARCHIVE_BAD_ARGUMENT, GetArchiveEntry(archive.get(), -2, &info));

    TArchiveEntry folder;
    ASSERT_EQ(ARCHIVE_OK, FindArchiveEntry(archive.get(), L"Sub/Folder/", true, nullptr, &folder));
    EXPECT_TRUE(folder.attributes & FILE_ATTRIBUTE_DIRECTORY);
    TArchiveEntry file;
    int index = -1;
    ASSERT_EQ(ARCHIVE_OK, FindArchiveEntry(archive.get(), L"readme.txt", true, &index, &file));
    EXPECT_FALSE(file.attributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_NE(0u, file.modificationTime.dwHighDateTime);
    // Entries are reported in central-directory order; a repeated request gives the same.
    for (size_t i = 0; i < layout.entries.size(); ++i) {
        TArchiveEntry a;
        TArchiveEntry b;
        ASSERT_EQ(ARCHIVE_OK, GetArchiveEntry(archive.get(), static_cast<int>(i), &a));
        ASSERT_EQ(ARCHIVE_OK, GetArchiveEntry(archive.get(), static_cast<int>(i), &b));
        EXPECT_EQ(layout.entries[i].name, Narrow(a.name));
        EXPECT_EQ(0, memcmp(&a, &b, sizeof a));
    }
}

TEST(SkinArchive, ExtendedTimestampGivesTheModificationTime)
{
    Bytes bytes = LoadArchive(L"deflated.zip");
    const ZipLayout layout = ReadLayout(bytes);
    const ZipLayout::Entry& readme = layout.Named("readme.txt");
    const size_t nameLength = Get16(bytes, readme.central + 28);
    const size_t extraLength = Get16(bytes, readme.central + 30);
    size_t at = readme.central + 46 + nameLength;
    const size_t end = at + extraLength;
    bool patched = false;
    for (; at + 4 <= end; at += 4 + Get16(bytes, at + 2)) {
        if (Get16(bytes, at) == 0x5455 && (bytes[at + 4] & 1)) {
            Put32(bytes, at + 5, 1000000000);  // 2001-09-09 01:46:40 UTC
            patched = true;
        }
    }
    ASSERT_TRUE(patched) << "zip wrote no extended timestamp";
    ArchivePtr archive = OpenMemory(bytes);
    ASSERT_TRUE(archive);
    TArchiveEntry entry;
    ASSERT_EQ(ARCHIVE_OK, FindArchiveEntry(archive.get(), L"readme.txt", false, nullptr, &entry));
    SYSTEMTIME utc {};
    ASSERT_TRUE(::FileTimeToSystemTime(&entry.modificationTime, &utc));
    EXPECT_EQ(2001, utc.wYear);
    EXPECT_EQ(9, utc.wMonth);
    EXPECT_EQ(9, utc.wDay);
    EXPECT_EQ(1, utc.wHour);
    EXPECT_EQ(46, utc.wMinute);
    EXPECT_EQ(40, utc.wSecond);
}

TEST(SkinArchive, ExtractsInChunksAndIntoALargerBuffer)
{
    const Bytes bytes = LoadArchive(L"descriptor.zip");
    const Bytes expected = StagedFile(L"random.txt");
    ArchivePtr archive = OpenMemory(bytes);
    ASSERT_TRUE(archive);
    const int index = IndexOf(archive.get(), L"random.txt");
    Bytes collected;
    unsigned char chunk[7000];
    DWORD result = ARCHIVE_MORE_DATA;
    int calls = 0;
    while (result == ARCHIVE_MORE_DATA && calls < 100) {
        result = ExtractArchiveEntry(archive.get(), index, chunk, sizeof chunk, ARCHIVE_MEMORY);
        if (result == ARCHIVE_MORE_DATA)
            collected.insert(collected.end(), chunk, chunk + std::min(sizeof chunk, expected.size() - collected.size()));
        ++calls;
    }
    EXPECT_EQ(ARCHIVE_OK, result);
    EXPECT_TRUE(collected == expected);

    Bytes large(expected.size() + 100, 0xEE);
    EXPECT_EQ(ARCHIVE_MORE_DATA, ExtractArchiveEntry(archive.get(), index, large.data(), static_cast<DWORD>(large.size()), ARCHIVE_MEMORY));
    EXPECT_EQ(ARCHIVE_OK, ExtractArchiveEntry(archive.get(), index, large.data(), static_cast<DWORD>(large.size()), ARCHIVE_MEMORY));
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), large.begin()));
    EXPECT_EQ(0xEE, large.back());
}

TEST(SkinArchive, EmptyEntriesAndEmptyBuffers)
{
    for (const wchar_t* name : { L"deflated.zip", L"descriptor.zip" }) {
        const Bytes bytes = LoadArchive(name);
        ArchivePtr archive = OpenMemory(bytes);
        ASSERT_TRUE(archive);
        const int empty = IndexOf(archive.get(), L"empty.txt");
        ASSERT_GE(empty, 0);
        unsigned char byte = 0;
        EXPECT_EQ(ARCHIVE_OK, ExtractArchiveEntry(archive.get(), empty, &byte, 0, ARCHIVE_MEMORY));
        EXPECT_EQ(ARCHIVE_OK, ExtractArchiveEntry(archive.get(), empty, &byte, 1, ARCHIVE_MEMORY));
        // A buffer that can take nothing must not pass off a non-empty entry as extracted.
        const int readme = IndexOf(archive.get(), L"readme.txt");
        EXPECT_EQ(ARCHIVE_BAD_ARGUMENT, ExtractArchiveEntry(archive.get(), readme, &byte, 0, ARCHIVE_MEMORY));
        EXPECT_EQ(ARCHIVE_BAD_ARGUMENT, ExtractArchiveEntry(archive.get(), readme, nullptr, 10, ARCHIVE_MEMORY));
        EXPECT_EQ(ARCHIVE_BAD_ARGUMENT, ExtractArchiveEntry(archive.get(), 10000, &byte, 1, ARCHIVE_MEMORY));
        EXPECT_EQ(ARCHIVE_BAD_ARGUMENT, ExtractArchiveEntry(archive.get(), readme, &byte, 1, 9));
    }
}

TEST(SkinArchive, AnUnsupportedMethodGivesBadEntry)
{
    const Bytes bytes = LoadArchive(L"bzip2.zip");
    ArchivePtr archive = OpenMemory(bytes);
    ASSERT_TRUE(archive);
    const int index = IndexOf(archive.get(), L"random.txt");
    ASSERT_GE(index, 0);
    unsigned char buffer[64];
    EXPECT_EQ(ARCHIVE_BAD_ENTRY, ExtractArchiveEntry(archive.get(), index, buffer, sizeof buffer, ARCHIVE_MEMORY));
}

TEST(SkinArchive, RejectsNullAndForeignHandles)
{
    TArchiveEntry entry;
    int index = 3;
    EXPECT_EQ(ARCHIVE_BAD_ARGUMENT, CloseSkinArchive(nullptr));
    EXPECT_EQ(ARCHIVE_BAD_ARGUMENT, GetLastArchiveResult());
    EXPECT_EQ(ARCHIVE_BAD_ARGUMENT, FindArchiveEntry(nullptr, L"x", true, &index, &entry));
    EXPECT_EQ(-1, index);
    EXPECT_EQ(ARCHIVE_BAD_ARGUMENT, GetArchiveEntry(nullptr, 0, &entry));
    EXPECT_EQ(ARCHIVE_BAD_ARGUMENT, ExtractArchiveEntry(nullptr, 0, &entry, 1, ARCHIVE_MEMORY));
    // A handle record of another kind (same layout: kind tag, then the object).
    struct { DWORD kind; void* object; } foreign { 2, &entry };
    HSKINARCHIVE wrong = reinterpret_cast<HSKINARCHIVE>(&foreign);
    EXPECT_EQ(ARCHIVE_NOT_READER, GetArchiveEntry(wrong, 0, &entry));
    EXPECT_EQ(ARCHIVE_NOT_READER, CloseSkinArchive(wrong));
    EXPECT_EQ(ARCHIVE_NOT_READER, GetLastArchiveResult());
}

// Damaged archives, derived from the tools' output.

TEST(SkinArchiveDamage, TruncatedArchivesDoNotOpen)
{
    const Bytes bytes = LoadArchive(L"deflated.zip");
    for (size_t cut : { size_t(1), size_t(10), size_t(22), size_t(100), bytes.size() / 2, bytes.size() - 30 }) {
        SCOPED_TRACE(cut);
        const Bytes shorter(bytes.begin(), bytes.end() - cut);
        EXPECT_FALSE(OpenMemory(shorter));
        EXPECT_EQ(ARCHIVE_READ_FAILED, GetLastArchiveResult());
    }
    // The memory length is what bounds the reader, not the block behind it.
    EXPECT_EQ(nullptr, OpenSkinArchive(bytes.data(), static_cast<DWORD>(bytes.size() - 1), ARCHIVE_MEMORY));
}

TEST(SkinArchiveDamage, AStreamShorterThanDeclaredFails)
{
    // Data descriptors: only the central directory says how long the data is.
    Bytes bytes = LoadArchive(L"descriptor.zip");
    const ZipLayout layout = ReadLayout(bytes);
    const size_t central = layout.Named("random.txt").central;
    Put32(bytes, central + 20, Get32(bytes, central + 20) / 2);
    ArchivePtr archive = OpenMemory(bytes);
    ASSERT_TRUE(archive);
    const Extraction got = ExtractExact(archive.get(), IndexOf(archive.get(), L"random.txt"));
    EXPECT_EQ(ARCHIVE_INFLATE_FAILED, got.first);

    // More bytes declared than the stream yields.
    Bytes longer = LoadArchive(L"descriptor.zip");
    Put32(longer, layout.Named("readme.txt").central + 24, Get32(longer, layout.Named("readme.txt").central + 24) + 5);
    archive = OpenMemory(longer);
    ASSERT_TRUE(archive);
    EXPECT_EQ(ARCHIVE_INFLATE_FAILED, ExtractExact(archive.get(), IndexOf(archive.get(), L"readme.txt")).first);

    // Fewer bytes declared than the stream yields.
    Bytes fewer = LoadArchive(L"descriptor.zip");
    Put32(fewer, layout.Named("readme.txt").central + 24, Get32(fewer, layout.Named("readme.txt").central + 24) - 1);
    archive = OpenMemory(fewer);
    ASSERT_TRUE(archive);
    EXPECT_EQ(ARCHIVE_INFLATE_FAILED, ExtractExact(archive.get(), IndexOf(archive.get(), L"readme.txt")).first);
}

TEST(SkinArchiveDamage, ACrcMismatchFailsTheExtraction)
{
    Bytes bytes = LoadArchive(L"deflated.zip");
    const ZipLayout layout = ReadLayout(bytes);
    const ZipLayout::Entry& random = layout.Named("random.txt");
    // The CRC is changed in both headers so that they still agree.
    Put32(bytes, random.central + 16, Get32(bytes, random.central + 16) ^ 1);
    Put32(bytes, random.local + 14, Get32(bytes, random.local + 14) ^ 1);
    ArchivePtr archive = OpenMemory(bytes);
    ASSERT_TRUE(archive);
    const int index = IndexOf(archive.get(), L"random.txt");
    EXPECT_EQ(ARCHIVE_INFLATE_FAILED, ExtractExact(archive.get(), index).first);
    // Read in pieces, the last piece reports it.
    unsigned char chunk[50000];
    EXPECT_EQ(ARCHIVE_MORE_DATA, ExtractArchiveEntry(archive.get(), index, chunk, sizeof chunk, ARCHIVE_MEMORY));
    EXPECT_EQ(ARCHIVE_MORE_DATA, ExtractArchiveEntry(archive.get(), index, chunk, sizeof chunk, ARCHIVE_MEMORY));
    EXPECT_EQ(ARCHIVE_INFLATE_FAILED, ExtractArchiveEntry(archive.get(), index, chunk, sizeof chunk, ARCHIVE_MEMORY));

    // A stored entry with one data byte changed.
    Bytes stored = LoadArchive(L"stored.zip");
    const ZipLayout storedLayout = ReadLayout(stored);
    const size_t local = storedLayout.Named("readme.txt").local;
    stored[local + 30 + Get16(stored, local + 26) + Get16(stored, local + 28) + 3] ^= 0x20;
    archive = OpenMemory(stored);
    ASSERT_TRUE(archive);
    EXPECT_EQ(ARCHIVE_INFLATE_FAILED, ExtractExact(archive.get(), IndexOf(archive.get(), L"readme.txt")).first);
}

TEST(SkinArchiveDamage, CorruptDeflateDataFails)
{
    const Bytes original = LoadArchive(L"descriptor.zip");
    const ZipLayout layout = ReadLayout(original);
    const size_t local = layout.Named("skin/login.xml").local;
    const size_t data = local + 30 + Get16(original, local + 26) + Get16(original, local + 28);
    const size_t length = Get32(original, layout.Named("skin/login.xml").central + 20);
    for (size_t offset : { size_t(0), length / 3, length / 2, length - 1 }) {
        SCOPED_TRACE(offset);
        Bytes bytes = original;
        bytes[data + offset] ^= 0xA5;
        ArchivePtr archive = OpenMemory(bytes);
        ASSERT_TRUE(archive);
        const Extraction got = ExtractExact(archive.get(), IndexOf(archive.get(), L"skin/login.xml"));
        EXPECT_EQ(ARCHIVE_INFLATE_FAILED, got.first);
    }
}

TEST(SkinArchiveDamage, ALocalHeaderThatDisagreesGivesBadEntry)
{
    const Bytes original = LoadArchive(L"deflated.zip");
    const ZipLayout layout = ReadLayout(original);
    const size_t local = layout.Named("readme.txt").local;
    struct Patch {
        size_t at;
        unsigned value;
    };
    const Patch patches[] = {
        { local, 0x04034b51 },                                // signature
        { local + 8, 12 },                                    // method differs from the directory's
        { local + 14, Get32(original, local + 14) + 1 },      // CRC (no data descriptor here)
        { local + 22, Get32(original, local + 22) + 1 },      // uncompressed size
        { local + 6, Get16(original, local + 6) | 1 },        // encrypted
    };
    for (const Patch& patch : patches) {
        SCOPED_TRACE(patch.at - local);
        Bytes bytes = original;
        if (patch.at == local + 8 || patch.at == local + 6)
            Put16(bytes, patch.at, patch.value);
        else
            Put32(bytes, patch.at, patch.value);
        ArchivePtr archive = OpenMemory(bytes);
        ASSERT_TRUE(archive);
        unsigned char buffer[256];
        EXPECT_EQ(ARCHIVE_BAD_ENTRY, ExtractArchiveEntry(archive.get(), IndexOf(archive.get(), L"readme.txt"),
                                                         buffer, sizeof buffer, ARCHIVE_MEMORY));
    }
    // A local offset moved onto another header: signature found, but not this entry's.
    Bytes moved = original;
    Put32(moved, layout.Named("readme.txt").central + 42, static_cast<unsigned>(layout.Named("random.txt").local));
    ArchivePtr archive = OpenMemory(moved);
    ASSERT_TRUE(archive);
    EXPECT_EQ(ARCHIVE_BAD_ENTRY, ExtractExact(archive.get(), IndexOf(archive.get(), L"readme.txt")).first);
}

TEST(SkinArchiveDamage, BadDirectoryRecordsAreRefused)
{
    const Bytes original = LoadArchive(L"deflated.zip");
    const ZipLayout layout = ReadLayout(original);
    const size_t end = layout.end;
    const size_t firstCentral = layout.entries.front().central;
    struct Patch {
        const char* what;
        size_t at;
        int width;
        unsigned value;
    };
    const Patch patches[] = {
        { "directory offset past the record", end + 16, 4, Get32(original, end + 16) + 1 },
        { "directory offset far away", end + 16, 4, 0x7FFFFFF0 },
        { "directory size past the record", end + 12, 4, Get32(original, end + 12) + 1 },
        { "directory size huge", end + 12, 4, 0xFFFFFFF0 },
        { "directory size too small for the entries", end + 12, 4, 46 },
        { "more entries than the directory holds", end + 10, 2, 0xFFFF },
        { "entry counts differ", end + 8, 2, Get16(original, end + 8) - 1 },
        { "second disk", end + 4, 2, 1 },
        { "central signature", firstCentral, 4, 0x02014b51 },
        { "local offset beyond the directory", firstCentral + 42, 4, static_cast<unsigned>(end) },
        { "local offset huge", firstCentral + 42, 4, 0xFFFFFF00 },
        { "name length past the directory", firstCentral + 28, 2, 0xFFFF },
        { "extra length past the directory", firstCentral + 30, 2, 0xFFF0 },
    };
    for (const Patch& patch : patches) {
        SCOPED_TRACE(patch.what);
        Bytes bytes = original;
        if (patch.width == 2)
            Put16(bytes, patch.at, patch.value);
        else
            Put32(bytes, patch.at, patch.value);
        EXPECT_FALSE(OpenMemory(bytes));
    }
}

TEST(SkinArchiveDamage, ACommentLengthPastTheEndIsRefused)
{
    Bytes bytes = LoadArchive(L"commented.zip");
    ASSERT_TRUE(OpenMemory(bytes));
    const ZipLayout layout = ReadLayout(bytes);
    const unsigned comment = Get16(bytes, layout.end + 20);
    ASSERT_GT(comment, 0u);
    Put16(bytes, layout.end + 20, comment + 1);
    EXPECT_FALSE(OpenMemory(bytes));
    Put16(bytes, layout.end + 20, 0xFFFF);
    EXPECT_FALSE(OpenMemory(bytes));
}

TEST(SkinArchiveDamage, AnEndRecordBeyondTheSearchWindowIsNotFound)
{
    const Bytes original = LoadArchive(L"deflated.zip");
    const ZipLayout layout = ReadLayout(original);
    ASSERT_EQ(0u, Get16(original, layout.end + 20));
    auto withComment = [&](unsigned length) {
        Bytes bytes = original;
        Put16(bytes, layout.end + 20, length);
        bytes.resize(bytes.size() + length, 'c');
        return bytes;
    };
    // The record may start as far from the end as the longest comment allows, no further.
    EXPECT_TRUE(OpenMemory(withComment(65535 - 22 + 1)));
    EXPECT_TRUE(OpenMemory(withComment(65535)));
    Bytes outside = withComment(65535);
    outside.push_back('c');
    EXPECT_FALSE(OpenMemory(outside));
}

TEST(SkinArchiveDamage, ImpossibleDeclaredSizesAreRefused)
{
    const Bytes deflated = LoadArchive(L"deflated.zip");
    const ZipLayout layout = ReadLayout(deflated);
    const size_t random = layout.Named("random.txt").central;
    Bytes bytes = deflated;
    Put32(bytes, random + 24, 0xFFFFFFF0);  // far beyond what the data can inflate to
    EXPECT_FALSE(OpenMemory(bytes));
    bytes = deflated;
    Put32(bytes, random + 20, 0x7FFFFFF0);  // more compressed data than the archive holds
    EXPECT_FALSE(OpenMemory(bytes));

    const Bytes stored = LoadArchive(L"stored.zip");
    const size_t readme = ReadLayout(stored).Named("readme.txt").central;
    bytes = stored;
    Put32(bytes, readme + 24, Get32(bytes, readme + 24) + 1);  // stored data cannot grow
    EXPECT_FALSE(OpenMemory(bytes));

    // Within the bounds the archive still opens and the entry still reports its size.
    bytes = deflated;
    const unsigned compressed = Get32(bytes, random + 20);
    Put32(bytes, random + 24, compressed * 1032);
    ArchivePtr archive = OpenMemory(bytes);
    ASSERT_TRUE(archive);
    TArchiveEntry entry;
    ASSERT_EQ(ARCHIVE_OK, FindArchiveEntry(archive.get(), L"random.txt", true, nullptr, &entry));
    EXPECT_EQ(compressed * 1032, entry.uncompressedSize);
}

// Extraction to files (not used by the framework itself).

TEST(SkinArchiveFiles, ExtractsToPathsHandlesAndFolders)
{
    wchar_t previous[MAX_PATH] {};
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    const std::wstring root = GeneratedPath(L"extract-root");
    ::CreateDirectoryW(root.c_str(), nullptr);
    ASSERT_TRUE(::SetCurrentDirectoryW(root.c_str()));
    // The extraction root is the current folder when the archive opens.
    Bytes bytes = LoadArchive(L"deflated.zip");
    const ZipLayout layout = ReadLayout(bytes);
    // A folder entry renamed to climb out of the root (same length, both headers).
    const ZipLayout::Entry& folder = layout.Named("Sub/Folder/");
    memcpy(&bytes[folder.central + 46], "../../zzzz/", 11);
    memcpy(&bytes[folder.local + 30], "../../zzzz/", 11);
    ArchivePtr archive = OpenMemory(bytes);
    ::SetCurrentDirectoryW(previous);
    ASSERT_TRUE(archive);

    const std::wstring relative = L"out\\nested\\readme.txt";
    EXPECT_EQ(ARCHIVE_OK, ExtractArchiveEntry(archive.get(), IndexOf(archive.get(), L"readme.txt"),
                                              const_cast<wchar_t*>(relative.c_str()), 0, ARCHIVE_FILE));
    EXPECT_TRUE(TestSupport::ReadFileBytes(root + L"\\" + relative) == StagedFile(L"readme.txt"));

    const std::wstring absolute = root + L"\\random-copy.txt";
    EXPECT_EQ(ARCHIVE_OK, ExtractArchiveEntry(archive.get(), IndexOf(archive.get(), L"random.txt"),
                                              const_cast<wchar_t*>(absolute.c_str()), 0, ARCHIVE_FILE));
    EXPECT_TRUE(TestSupport::ReadFileBytes(absolute) == StagedFile(L"random.txt"));

    const std::wstring viaHandle = root + L"\\via-handle.xml";
    HANDLE handle = ::CreateFileW(viaHandle.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, handle);
    EXPECT_EQ(ARCHIVE_OK, ExtractArchiveEntry(archive.get(), IndexOf(archive.get(), L"skin/login.xml"), handle, 0, ARCHIVE_HANDLE));
    ::CloseHandle(handle);
    EXPECT_TRUE(TestSupport::ReadFileBytes(viaHandle) == StagedFile(L"skin/login.xml"));

    EXPECT_EQ(ARCHIVE_OK, ExtractArchiveEntry(archive.get(), IndexOf(archive.get(), L"Sub/"),
                                              const_cast<wchar_t*>(L"unused"), 0, ARCHIVE_FILE));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW((root + L"\\Sub").c_str()));
    EXPECT_EQ(ARCHIVE_OPEN_FAILED, ExtractArchiveEntry(archive.get(), IndexOf(archive.get(), L"../../zzzz/"),
                                                       const_cast<wchar_t*>(L"unused"), 0, ARCHIVE_FILE));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(TestSupport::BuildPath(L"fixtures/zzzz").c_str()));
}

TEST(SkinArchiveFiles, AFailedExtractionLeavesNoFileBehind)
{
    Bytes bytes = LoadArchive(L"deflated.zip");
    const ZipLayout layout = ReadLayout(bytes);
    const ZipLayout::Entry& random = layout.Named("random.txt");
    Put32(bytes, random.central + 16, Get32(bytes, random.central + 16) ^ 1);
    Put32(bytes, random.local + 14, Get32(bytes, random.local + 14) ^ 1);
    ArchivePtr archive = OpenMemory(bytes);
    ASSERT_TRUE(archive);
    const std::wstring target = GeneratedPath(L"damaged-copy.txt");
    ::DeleteFileW(target.c_str());
    EXPECT_EQ(ARCHIVE_INFLATE_FAILED, ExtractArchiveEntry(archive.get(), IndexOf(archive.get(), L"random.txt"),
                                                          const_cast<wchar_t*>(target.c_str()), 0, ARCHIVE_FILE));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(target.c_str()));
}
