#include "foundation/ArchiveSource.h"

#include <algorithm>
#include <cstring>

#include "foundation/ArchiveFormat.h"
#include "foundation/SkinArchive.h"

namespace Veneer {
namespace ArchiveInternal {

namespace {

constexpr DWORD kSmallRead = 1024;

}  // namespace

void CArchiveSource::OpenMemory(const BYTE* data, DWORD length)
{
    m_memory = data;
    m_size = length;
}

DWORD CArchiveSource::OpenHandle(HANDLE handle)
{
    HANDLE duplicate = nullptr;
    if (!::DuplicateHandle(::GetCurrentProcess(), handle, ::GetCurrentProcess(), &duplicate,
                           0, FALSE, DUPLICATE_SAME_ACCESS))
        return ARCHIVE_DUPLICATE_FAILED;
    m_file.Reset(duplicate);
    // The handle may sit on an archive embedded in a larger file.
    LARGE_INTEGER zero {};
    LARGE_INTEGER position {};
    if (!::SetFilePointerEx(m_file.Get(), zero, &position, FILE_CURRENT))
        return ARCHIVE_READ_FAILED;
    m_start = static_cast<ULONGLONG>(position.QuadPart);
    return MeasureFile();
}

DWORD CArchiveSource::OpenPath(const wchar_t* path)
{
    m_file.Reset(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!m_file.IsValid())
        return ARCHIVE_OPEN_FAILED;
    return MeasureFile();
}

DWORD CArchiveSource::ReadAt(ULONGLONG offset, void* buffer, DWORD count)
{
    if (offset >= m_size || count == 0)
        return 0;
    const DWORD available = static_cast<DWORD>(std::min<ULONGLONG>(count, m_size - offset));
    if (m_memory) {
        memcpy(buffer, m_memory + offset, available);
        return available;
    }
    if (available <= kSmallRead)
        return ReadCached(offset, static_cast<BYTE*>(buffer), available);
    return ReadFileAt(offset, buffer, available);
}

DWORD CArchiveSource::MeasureFile()
{
    LARGE_INTEGER size {};
    if (!::GetFileSizeEx(m_file.Get(), &size))
        return ARCHIVE_READ_FAILED;
    const ULONGLONG total = static_cast<ULONGLONG>(size.QuadPart);
    m_size = total > m_start ? total - m_start : 0;
    return ARCHIVE_OK;
}

DWORD CArchiveSource::ReadFileAt(ULONGLONG offset, void* buffer, DWORD count)
{
    LARGE_INTEGER position {};
    position.QuadPart = static_cast<LONGLONG>(m_start + offset);
    if (!::SetFilePointerEx(m_file.Get(), position, nullptr, FILE_BEGIN))
        return 0;
    DWORD done = 0;
    if (!::ReadFile(m_file.Get(), buffer, count, &done, nullptr))
        return 0;
    return done;
}

// Walking the central directory reads many small headers: serve them from
// one block instead of a system call each.
DWORD CArchiveSource::ReadCached(ULONGLONG offset, BYTE* buffer, DWORD count)
{
    if (offset < m_cacheStart || offset + count > m_cacheStart + m_cacheLength) {
        m_cache.resize(kInputBlock);
        m_cacheStart = offset;
        m_cacheLength = ReadFileAt(offset, m_cache.data(), kInputBlock);
        if (offset + count > m_cacheStart + m_cacheLength)
            count = static_cast<DWORD>(m_cacheStart + m_cacheLength - offset);
    }
    memcpy(buffer, m_cache.data() + (offset - m_cacheStart), count);
    return count;
}

}  // namespace ArchiveInternal
}  // namespace Veneer
