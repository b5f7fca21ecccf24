#pragma once
#include "foundation/VeneerApi.h"
// Read-only zip reader for skin archives: a file on disk or a block in memory.
// Entries are stored or deflated (zlib inflates them). Archives are never written.
#include <windows.h>

namespace Veneer {

// Opaque archive handle: created by OpenSkinArchive, destroyed by CloseSkinArchive.
struct TSkinArchiveHandle;
using HSKINARCHIVE = TSkinArchiveHandle*;

// Sources for OpenSkinArchive and destinations for ExtractArchiveEntry.
constexpr DWORD ARCHIVE_HANDLE = 1;  // a platform file handle (duplicated; disk files only)
constexpr DWORD ARCHIVE_FILE = 2;    // a wide file path
constexpr DWORD ARCHIVE_MEMORY = 3;  // a memory block the caller keeps alive

// Result codes; 0 is success.
constexpr DWORD ARCHIVE_OK = 0;
constexpr DWORD ARCHIVE_DUPLICATE_FAILED = 0x100;
constexpr DWORD ARCHIVE_OPEN_FAILED = 0x200;
constexpr DWORD ARCHIVE_WRITE_FAILED = 0x400;
constexpr DWORD ARCHIVE_NOT_FOUND = 0x500;
constexpr DWORD ARCHIVE_MORE_DATA = 0x600;
constexpr DWORD ARCHIVE_BAD_ENTRY = 0x700;
constexpr DWORD ARCHIVE_READ_FAILED = 0x800;
constexpr DWORD ARCHIVE_BAD_ARGUMENT = 0x10000;
constexpr DWORD ARCHIVE_NOT_READER = 0x80000;
constexpr DWORD ARCHIVE_ALREADY_OPEN = 0x1000000;
constexpr DWORD ARCHIVE_NOT_DISK_FILE = 0x2000000;
constexpr DWORD ARCHIVE_INFLATE_FAILED = 0x5000000;

struct VENEER_API TArchiveEntry {
    int index { -1 };                 // position in the central directory
    wchar_t name[260] {};             // stored path, ANSI code page, forward slashes
    DWORD attributes { 0 };           // FILE_ATTRIBUTE_* bits
    FILETIME accessTime {};
    FILETIME creationTime {};
    FILETIME modificationTime {};
    DWORD compressedSize { 0 };
    DWORD uncompressedSize { 0 };     // never more than the stored data can inflate to
};

// `length` is the size of a memory block (ARCHIVE_MEMORY); ignored for files.
// Returns null on failure (see GetLastArchiveResult).
HSKINARCHIVE OpenSkinArchive(const void* source, DWORD length, DWORD mode);

// Finds `name` (backslashes taken as slashes; ignoreCase folds ASCII letters only).
DWORD FindArchiveEntry(HSKINARCHIVE archive, const wchar_t* name, bool ignoreCase,
                       int* index, TArchiveEntry* entry);

// Index -1 describes the archive: the entry count goes in `index`.
DWORD GetArchiveEntry(HSKINARCHIVE archive, int index, TArchiveEntry* entry);

// ARCHIVE_MEMORY: fills `destination` (`length` bytes). ARCHIVE_MORE_DATA means
// bytes were delivered and all of them are sound; a call for the same index
// continues, and the entry is reported whole only after its size and CRC-32 check
// out. Any failure returns another code and the buffer must not be used.
// An entry delivered whole stays open until the next call for another index or
// the next Find/GetArchiveEntry, so a later lookup extracts it afresh.
// ARCHIVE_HANDLE / ARCHIVE_FILE: `destination` is a file handle / wide path.
DWORD ExtractArchiveEntry(HSKINARCHIVE archive, int index, void* destination,
                          DWORD length, DWORD mode);

DWORD CloseSkinArchive(HSKINARCHIVE archive);

// The result of the last call above, process-wide.
DWORD GetLastArchiveResult();

}  // namespace Veneer
