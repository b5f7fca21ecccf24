#pragma once
// Helpers of the skin archive tests: the generated archives and a small,
// independent view of zip structure for damaging them on purpose.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/SkinArchive.h"
#include "support/TestSupport.h"

namespace SkinArchiveTest {

using Bytes = std::vector<unsigned char>;

inline std::wstring GeneratedPath(const std::wstring& name)
{
    return TestSupport::BuildPath(L"fixtures/archive/" + name);
}

inline Bytes LoadArchive(const std::wstring& name)
{
    return TestSupport::ReadFileBytes(GeneratedPath(name));
}

// The file an entry was made from (the build stages every input in one folder).
inline Bytes StagedFile(const std::wstring& entryName)
{
    return TestSupport::ReadFileBytes(GeneratedPath(L"stage/" + entryName));
}

struct ArchiveCloser {
    void operator()(Veneer::TSkinArchiveHandle* archive) const { Veneer::CloseSkinArchive(archive); }
};
using ArchivePtr = std::unique_ptr<Veneer::TSkinArchiveHandle, ArchiveCloser>;

inline ArchivePtr OpenMemory(const Bytes& bytes)
{
    return ArchivePtr(Veneer::OpenSkinArchive(bytes.data(), static_cast<DWORD>(bytes.size()), Veneer::ARCHIVE_MEMORY));
}

inline unsigned Get16(const Bytes& b, size_t at) { return b[at] | (b[at + 1] << 8); }
inline unsigned Get32(const Bytes& b, size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<unsigned>(b[at + 3]) << 24);
}
inline void Put16(Bytes& b, size_t at, unsigned v)
{
    b[at] = static_cast<unsigned char>(v);
    b[at + 1] = static_cast<unsigned char>(v >> 8);
}
inline void Put32(Bytes& b, size_t at, unsigned v)
{
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

// Offsets of the records of a well-formed archive (as the tools wrote it).
struct ZipLayout {
    struct Entry {
        size_t central { 0 };  // central header
        size_t local { 0 };    // local header, bytes in front included
        std::string name;
    };
    size_t end { 0 };  // end-of-central-directory record
    size_t bytesInFront { 0 };
    std::vector<Entry> entries;

    const Entry& Named(const std::string& name) const
    {
        for (const Entry& e : entries)
            if (e.name == name)
                return e;
        static const Entry none;
        return none;
    }
};

inline ZipLayout ReadLayout(const Bytes& b)
{
    ZipLayout layout;
    for (size_t at = b.size() >= 22 ? b.size() - 22 + 1 : 0; at-- > 0;) {
        if (Get32(b, at) == 0x06054b50) {
            layout.end = at;
            break;
        }
    }
    const size_t count = Get16(b, layout.end + 10);
    const size_t size = Get32(b, layout.end + 12);
    const size_t offset = Get32(b, layout.end + 16);
    layout.bytesInFront = layout.end - (offset + size);
    size_t at = offset + layout.bytesInFront;
    for (size_t i = 0; i < count; ++i) {
        ZipLayout::Entry e;
        e.central = at;
        e.local = Get32(b, at + 42) + layout.bytesInFront;
        const size_t nameLength = Get16(b, at + 28);
        e.name.assign(reinterpret_cast<const char*>(&b[at + 46]), nameLength);
        layout.entries.push_back(e);
        at += 46 + nameLength + Get16(b, at + 30) + Get16(b, at + 32);
    }
    return layout;
}

}  // namespace SkinArchiveTest
