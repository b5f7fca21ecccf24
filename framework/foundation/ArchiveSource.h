#pragma once
// Where the skin archive reader's bytes come from: a memory block the caller
// keeps alive, a duplicated file handle or a file it opens itself.
#include <windows.h>

#include <vector>

#include "foundation/HandleHolder.h"

namespace Veneer {
namespace ArchiveInternal {

// Offsets are relative to the archive's start; reads past the end come back
// short, never outside the source.
class CArchiveSource {
public:
    void OpenMemory(const BYTE* data, DWORD length);
    DWORD OpenHandle(HANDLE handle);
    DWORD OpenPath(const wchar_t* path);

    ULONGLONG Size() const { return m_size; }
    DWORD ReadAt(ULONGLONG offset, void* buffer, DWORD count);
    bool ReadExact(ULONGLONG offset, void* buffer, DWORD count) { return ReadAt(offset, buffer, count) == count; }
    // The bytes themselves, without a copy, when the source is a memory block
    // holding all of them; null otherwise.
    const BYTE* View(ULONGLONG offset, DWORD count) const
    {
        if (m_memory == nullptr || offset > m_size || count > m_size - offset) return nullptr;
        return m_memory + offset;
    }

private:
    DWORD MeasureFile();
    DWORD ReadFileAt(ULONGLONG offset, void* buffer, DWORD count);
    DWORD ReadCached(ULONGLONG offset, BYTE* buffer, DWORD count);

    const BYTE* m_memory { nullptr };
    CHandleHolder m_file;
    ULONGLONG m_start { 0 };
    ULONGLONG m_size { 0 };
    std::vector<BYTE> m_cache;
    ULONGLONG m_cacheStart { 0 };
    DWORD m_cacheLength { 0 };
};

}  // namespace ArchiveInternal
}  // namespace Veneer
