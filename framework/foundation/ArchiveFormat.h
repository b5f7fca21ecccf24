#pragma once
// The zip records the skin archive reader understands: little-endian fields,
// their fixed sizes and the bounds that keep hostile archives in check.
#include <windows.h>

#include <string>
#include <vector>

namespace Veneer {
namespace ArchiveInternal {

constexpr DWORD kInputBlock = 16384;
constexpr DWORD kEndRecordSize = 22;
constexpr DWORD kCentralHeaderSize = 46;
constexpr DWORD kLocalHeaderSize = 30;
constexpr DWORD kEndSignature = 0x06054b50;
constexpr DWORD kCentralSignature = 0x02014b50;
constexpr DWORD kLocalSignature = 0x04034b50;
constexpr WORD kFlagEncrypted = 0x0001;
constexpr WORD kFlagDataDescriptor = 0x0008;
constexpr WORD kMethodStored = 0;
constexpr WORD kMethodDeflated = 8;
// A deflate stream cannot expand beyond 258 bytes per two bits (a 1-bit length
// code and a 1-bit distance code), so no honest entry declares more than this.
constexpr ULONGLONG kMaxDeflateRatio = 1032;
// Longest stored name an entry reports (TArchiveEntry::name less its terminator).
constexpr int kMaxNameBytes = 259;

inline WORD Le16(const BYTE* p)
{
    return static_cast<WORD>(p[0] | (p[1] << 8));
}

inline DWORD Le32(const BYTE* p)
{
    return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) |
           (static_cast<DWORD>(p[2]) << 16) | (static_cast<DWORD>(p[3]) << 24);
}

struct TCentralHeader {
    WORD versionMadeBy { 0 };
    WORD flags { 0 };
    WORD method { 0 };
    WORD dosTime { 0 };
    WORD dosDate { 0 };
    DWORD crc { 0 };
    DWORD compressedSize { 0 };
    DWORD uncompressedSize { 0 };
    DWORD externalAttributes { 0 };
    ULONGLONG localHeader { 0 };  // from the archive's start, bytes in front included
    ULONGLONG next { 0 };
    std::string name;
    std::vector<BYTE> extra;
};

}  // namespace ArchiveInternal
}  // namespace Veneer
