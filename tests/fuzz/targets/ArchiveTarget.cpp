// The skin archive reader: end record, central directory, local headers,
// data descriptors, declared sizes, inflating whole and in parts.
#include <cstring>
#include <string>
#include <vector>

#include "foundation/SkinArchive.h"
#include "fuzz/FuzzTarget.h"
#include "fuzz/ZipWriter.h"
#include "TestPaths.h"

using namespace Veneer;

namespace {

bool IsDefined(DWORD result)
{
    return result == ARCHIVE_OK || result == ARCHIVE_MORE_DATA || result == ARCHIVE_BAD_ENTRY
        || result == ARCHIVE_READ_FAILED || result == ARCHIVE_INFLATE_FAILED || result == ARCHIVE_BAD_ARGUMENT;
}

struct Closer {
    HSKINARCHIVE archive;
    ~Closer() { CloseSkinArchive(archive); }
};

// Whole extraction into a block of exactly the entry's size; the result code
// of the call that found nothing left (0 on success).
DWORD ExtractWhole(HSKINARCHIVE archive, int index, std::vector<BYTE>& out)
{
    DWORD result = ExtractArchiveEntry(archive, index, out.data(), static_cast<DWORD>(out.size()), ARCHIVE_MEMORY);
    if (result == ARCHIVE_MORE_DATA)
        result = ExtractArchiveEntry(archive, index, out.data(), static_cast<DWORD>(out.size()), ARCHIVE_MEMORY);
    return result;
}

std::string Run(const Fuzz::Bytes& input)
{
    HSKINARCHIVE archive = OpenSkinArchive(input.data(), static_cast<DWORD>(input.size()), ARCHIVE_MEMORY);
    if (!archive)
        return std::string();
    Closer closer { archive };
    TArchiveEntry info;
    if (GetArchiveEntry(archive, -1, &info) != ARCHIVE_OK)
        return "the archive description failed";
    for (int i = 0; i < info.index && i < 32; ++i) {
        TArchiveEntry entry;
        if (GetArchiveEntry(archive, i, &entry) != ARCHIVE_OK)
            return "an entry of an opened archive cannot be described";
        if (entry.uncompressedSize == 0 || entry.uncompressedSize > (1u << 20))
            continue;
        std::vector<BYTE> whole(entry.uncompressedSize);
        const DWORD wholeResult = ExtractWhole(archive, i, whole);
        if (!IsDefined(wholeResult))
            return "undefined extraction result " + std::to_string(wholeResult);
        // The same entry read in parts must give the same bytes and the same verdict.
        const DWORD part = entry.uncompressedSize <= 4096 ? 1 + (entry.uncompressedSize + i) % 13 : 5000;
        std::vector<BYTE> pieces(entry.uncompressedSize);
        DWORD partsResult = ARCHIVE_MORE_DATA;
        size_t got = 0;
        std::vector<BYTE> block(part);
        while (partsResult == ARCHIVE_MORE_DATA) {
            partsResult = ExtractArchiveEntry(archive, i, block.data(), part, ARCHIVE_MEMORY);
            if (partsResult != ARCHIVE_MORE_DATA)
                break;
            const size_t n = std::min<size_t>(part, pieces.size() - got);
            if (n == 0)
                return "more data delivered than the entry declares";
            memcpy(pieces.data() + got, block.data(), n);
            got += n;
        }
        if ((wholeResult == ARCHIVE_OK) != (partsResult == ARCHIVE_OK))
            return "whole and partial extraction disagree on entry " + std::to_string(i);
        if (wholeResult == ARCHIVE_OK && (got != whole.size() || pieces != whole))
            return "partial extraction delivered other bytes on entry " + std::to_string(i);
    }
    int index = 0;
    TArchiveEntry found;
    const DWORD search = FindArchiveEntry(archive, L"skin\\LOGIN.xml", true, &index, &found);
    if (search != ARCHIVE_OK && search != ARCHIVE_NOT_FOUND)
        return "undefined search result";
    if ((search == ARCHIVE_OK ? found.index : -1) != index)
        return "search index and description disagree";
    return std::string();
}

std::vector<Fuzz::Bytes> Seeds()
{
    std::vector<Fuzz::Bytes> seeds;
    for (const wchar_t* name : { L"fuzz.zip", L"fuzz-descriptor.zip" })
        seeds.push_back(Fuzz::ReadFile(std::wstring(TEST_BINARY_DIR) + L"/fixtures/archive/" + name));
    Fuzz::Bytes text(3000);
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<unsigned char>("skin archive "[i % 13] + (i % 97 == 0));
    seeds.push_back(ZipWriter::Write({ { "skin/login.xml", text }, { "stored.bin", Fuzz::Bytes(40, 7), false },
        { "empty", Fuzz::Bytes(), true } }, "a comment"));
    // Crosses a 32 KB window and the 16 KB input blocks.
    Fuzz::Bytes large(40000);
    for (size_t i = 0; i < large.size(); ++i)
        large[i] = static_cast<unsigned char>((i * 2654435761u) >> 27);
    seeds.push_back(ZipWriter::Write({ { "large.bin", large } }));
    return seeds;
}

// Hits the fields of the records the reader trusts.
void Mutate(Fuzz::Bytes& input, std::mt19937& random)
{
    static const unsigned char signatures[][4] = { { 'P', 'K', 5, 6 }, { 'P', 'K', 1, 2 }, { 'P', 'K', 3, 4 } };
    const unsigned char* wanted = signatures[random() % 3];
    std::vector<size_t> hits;
    for (size_t i = 0; i + 4 <= input.size(); ++i)
        if (memcmp(&input[i], wanted, 4) == 0)
            hits.push_back(i);
    if (hits.empty())
        return;
    const size_t record = hits[random() % hits.size()];
    const size_t field = record + 4 + (random() % 21) * 2;
    if (field + 4 <= input.size())
        Fuzz::PutExtreme(input, field, random() % 2 ? 2 : 4, random);
}

Fuzz::Registration registration({ "archive", Seeds, Run, Mutate });

}  // namespace
