#pragma once
// Where the sections of a Windows executable end in its file: the address
// trailer starts there. Plain C++ without Win32 so that the operators' trailer
// tool, built for the host, finds exactly the offset the client reads from.
#include <cstddef>
#include <cstdint>

namespace ImageSections {

// Reads `count` bytes at `offset` of the file into `buffer`; false when the
// file cannot supply all of them.
using ReadAt = bool (*)(void* context, std::uint64_t offset, void* buffer, std::size_t count);

inline std::uint16_t Le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
inline std::uint32_t Le32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Finds the end of the section data as stored in the file (the largest
// PointerToRawData + SizeOfRawData). The section table is located through
// SizeOfOptionalHeader, so 32-bit (PE32) and 64-bit (PE32+) images both work.
// Every offset comes from the file itself and is checked against its size:
// false for anything that is not a sane image or claims more than the file has.
inline bool FindSectionsEnd(ReadAt read, void* context, std::uint64_t fileSize, std::uint64_t& end)
{
    const std::uint64_t kDosHeaderSize = 64;
    const std::uint64_t kFileHeaderSize = 20;
    const std::uint64_t kSectionEntrySize = 40;
    end = 0;
    if (fileSize < kDosHeaderSize) return false;

    unsigned char dos[64] = {};
    if (!read(context, 0, dos, sizeof dos)) return false;
    if (dos[0] != 'M' || dos[1] != 'Z') return false;
    const std::uint64_t peOffset = Le32(dos + 0x3C);

    // Signature, file header and the optional header's magic.
    unsigned char nt[4 + 20 + 2] = {};
    if (peOffset + sizeof nt > fileSize) return false;
    if (!read(context, peOffset, nt, sizeof nt)) return false;
    if (nt[0] != 'P' || nt[1] != 'E' || nt[2] != 0 || nt[3] != 0) return false;
    const std::uint64_t sectionCount = Le16(nt + 4 + 2);
    const std::uint64_t optionalSize = Le16(nt + 4 + 16);
    const std::uint16_t magic = Le16(nt + 4 + 20);
    if (magic != 0x10B && magic != 0x20B) return false;
    if (sectionCount == 0) return false;

    const std::uint64_t tableStart = peOffset + 4 + kFileHeaderSize + optionalSize;
    if (tableStart + sectionCount * kSectionEntrySize > fileSize) return false;

    std::uint64_t last = 0;
    for (std::uint64_t i = 0; i < sectionCount; ++i) {
        unsigned char entry[40] = {};
        if (!read(context, tableStart + i * kSectionEntrySize, entry, sizeof entry)) return false;
        const std::uint64_t rawSize = Le32(entry + 16);
        const std::uint64_t rawPointer = Le32(entry + 20);
        // Uninitialised data (.bss) has no bytes in the file.
        if (rawSize == 0) continue;
        if (rawPointer + rawSize > last) last = rawPointer + rawSize;
    }
    if (last == 0 || last > fileSize) return false;
    end = last;
    return true;
}

}  // namespace ImageSections
