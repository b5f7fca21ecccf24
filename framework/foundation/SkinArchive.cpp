#include "foundation/SkinArchive.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "foundation/ArchiveDirectory.h"
#include "foundation/ArchiveEntryStream.h"
#include "foundation/ArchiveSource.h"
#include "foundation/HandleHolder.h"

namespace Veneer {

using namespace ArchiveInternal;

namespace {

DWORD g_lastResult = ARCHIVE_OK;

DWORD Remember(DWORD result)
{
    g_lastResult = result;
    return result;
}

constexpr DWORD kReaderKind = 1;
constexpr int kMaxQueryLength = 255;

bool IsAbsolutePath(const std::wstring& path)
{
    if (path.empty())
        return false;
    return path[0] == L'/' || path[0] == L'\\' || (path.size() > 1 && path[1] == L':');
}

bool ClimbsOut(const std::wstring& path)
{
    return path.find(L"../") != std::wstring::npos || path.find(L"..\\") != std::wstring::npos ||
           path == L".." || (path.size() >= 3 && path.compare(path.size() - 3, 3, L"/..") == 0) ||
           (path.size() >= 3 && path.compare(path.size() - 3, 3, L"\\..") == 0);
}

// Creates every folder on the way to `path`; when `includeLast`, `path` itself too.
void CreateFolders(const std::wstring& path, bool includeLast)
{
    for (size_t i = 0; i < path.size(); ++i) {
        if ((path[i] == L'\\' || path[i] == L'/') && i > 0 && path[i - 1] != L':')
            ::CreateDirectoryW(path.substr(0, i).c_str(), nullptr);
    }
    if (includeLast)
        ::CreateDirectoryW(path.c_str(), nullptr);
}

}  // namespace

class CSkinArchiveReader {
public:
    DWORD Open(const void* source, DWORD length, DWORD mode);
    DWORD Find(const wchar_t* name, bool ignoreCase, int* index, TArchiveEntry* entry);
    DWORD Get(int index, TArchiveEntry* entry);
    DWORD Extract(int index, void* destination, DWORD length, DWORD mode);

private:
    DWORD OpenEntry(int index);
    void CloseEntry();
    void CloseFinishedEntry();
    DWORD ExtractToFile(int index, void* destination, DWORD mode);

    CArchiveSource m_source;
    CArchiveDirectory m_directory { m_source };
    bool m_open { false };
    std::wstring m_root;
    int m_openIndex { -1 };
    std::unique_ptr<CArchiveEntryStream> m_stream;
    int m_describedIndex { -1 };
    TArchiveEntry m_described;
};

struct TSkinArchiveHandle {
    DWORD kind { kReaderKind };
    CSkinArchiveReader* reader { nullptr };
};

DWORD CSkinArchiveReader::Open(const void* source, DWORD length, DWORD mode)
{
    if (m_open)
        return ARCHIVE_ALREADY_OPEN;
    if (!source || mode < ARCHIVE_HANDLE || mode > ARCHIVE_MEMORY)
        return ARCHIVE_BAD_ARGUMENT;
    wchar_t folder[MAX_PATH] {};
    const DWORD folderLength = ::GetCurrentDirectoryW(MAX_PATH, folder);
    m_root.assign(folder, folderLength < MAX_PATH ? folderLength : 0);
    m_root += L"\\";

    DWORD result = ARCHIVE_OK;
    if (mode == ARCHIVE_HANDLE) {
        HANDLE handle = const_cast<HANDLE>(source);
        if (::GetFileType(handle) != FILE_TYPE_DISK)
            return ARCHIVE_NOT_DISK_FILE;
        result = m_source.OpenHandle(handle);
    } else if (mode == ARCHIVE_FILE) {
        result = m_source.OpenPath(static_cast<const wchar_t*>(source));
    } else {
        m_source.OpenMemory(static_cast<const BYTE*>(source), length);
    }
    if (result != ARCHIVE_OK)
        return result;
    if (!m_directory.Locate())
        return ARCHIVE_READ_FAILED;
    m_open = true;
    return m_directory.GoToFirst() || m_directory.EntryCount() == 0 ? ARCHIVE_OK : ARCHIVE_READ_FAILED;
}

// Loaders look an entry up before each extraction and make one extraction call;
// an entry left open after it was delivered whole must not make the next load
// of the same entry "continue" with nothing and report success.
void CSkinArchiveReader::CloseFinishedEntry()
{
    if (m_stream && m_stream->Finished())
        CloseEntry();
}

DWORD CSkinArchiveReader::Find(const wchar_t* name, bool ignoreCase, int* index, TArchiveEntry* entry)
{
    CloseFinishedEntry();
    auto notFound = [&](DWORD result) {
        if (index)
            *index = -1;
        if (entry) {
            *entry = TArchiveEntry {};
            entry->index = -1;
        }
        return result;
    };
    if (!name)
        return notFound(ARCHIVE_BAD_ARGUMENT);
    if (wcslen(name) > static_cast<size_t>(kMaxQueryLength))
        return notFound(ARCHIVE_NOT_FOUND);
    char wanted[kMaxNameBytes + 1] {};
    const int converted = ::WideCharToMultiByte(CP_ACP, 0, name, -1, wanted, kMaxNameBytes + 1, nullptr, nullptr);
    if (converted <= 0)
        return notFound(ARCHIVE_NOT_FOUND);
    const size_t wantedLength = strlen(wanted);
    std::replace(wanted, wanted + wantedLength, '\\', '/');

    auto fold = [ignoreCase](char c) {
        return ignoreCase && c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    };
    const int before = m_directory.CurrentIndex();
    for (bool more = m_directory.GoToFirst(); more; more = m_directory.GoToNext()) {
        const std::string& stored = m_directory.Current().name;
        if (stored.size() != wantedLength)
            continue;
        bool same = true;
        for (size_t i = 0; i < wantedLength && same; ++i)
            same = fold(stored[i]) == fold(wanted[i]);
        if (!same)
            continue;
        const int found = m_directory.CurrentIndex();
        if (index)
            *index = found;
        if (m_describedIndex != found) {
            DescribeEntry(m_directory.Current(), found, m_described);
            m_describedIndex = found;
        }
        if (entry)
            *entry = m_described;
        return ARCHIVE_OK;
    }
    if (before >= 0)
        m_directory.GoTo(before);
    return notFound(ARCHIVE_NOT_FOUND);
}

DWORD CSkinArchiveReader::Get(int index, TArchiveEntry* entry)
{
    CloseFinishedEntry();
    if (!entry || index < -1 || index >= m_directory.EntryCount())
        return ARCHIVE_BAD_ARGUMENT;
    if (index == -1) {
        *entry = TArchiveEntry {};
        entry->index = m_directory.EntryCount();
        return ARCHIVE_OK;
    }
    if (index != m_describedIndex) {
        if (!m_directory.GoTo(index))
            return ARCHIVE_READ_FAILED;
        DescribeEntry(m_directory.Current(), index, m_described);
        m_describedIndex = index;
    }
    *entry = m_described;
    return ARCHIVE_OK;
}

DWORD CSkinArchiveReader::OpenEntry(int index)
{
    if (!m_directory.GoTo(index))
        return ARCHIVE_READ_FAILED;
    auto stream = std::make_unique<CArchiveEntryStream>(m_source);
    const DWORD opened = stream->Open(m_directory.Current(), m_directory.Start());
    if (opened != ARCHIVE_OK)
        return opened;
    m_stream = std::move(stream);
    m_openIndex = index;
    return ARCHIVE_OK;
}

void CSkinArchiveReader::CloseEntry()
{
    m_stream.reset();
    m_openIndex = -1;
}

DWORD CSkinArchiveReader::Extract(int index, void* destination, DWORD length, DWORD mode)
{
    if (mode == ARCHIVE_HANDLE || mode == ARCHIVE_FILE)
        return ExtractToFile(index, destination, mode);
    if (mode != ARCHIVE_MEMORY)
        return ARCHIVE_BAD_ARGUMENT;
    if (index != m_openIndex || !m_stream) {
        CloseEntry();
        if (index < 0 || index >= m_directory.EntryCount())
            return ARCHIVE_BAD_ARGUMENT;
        const DWORD opened = OpenEntry(index);
        if (opened != ARCHIVE_OK)
            return opened;
    }
    if (!destination && length > 0)
        return ARCHIVE_BAD_ARGUMENT;
    if (length == 0 && !m_stream->Finished() && m_stream->Remaining() > 0) {
        // Nothing would be delivered: do not let an untouched entry look extracted.
        CloseEntry();
        return ARCHIVE_BAD_ARGUMENT;
    }
    DWORD delivered = 0;
    if (!m_stream->Read(static_cast<BYTE*>(destination), length, delivered)) {
        CloseEntry();
        return ARCHIVE_INFLATE_FAILED;
    }
    if (delivered > 0)
        return ARCHIVE_MORE_DATA;
    CloseEntry();
    return ARCHIVE_OK;
}

DWORD CSkinArchiveReader::ExtractToFile(int index, void* destination, DWORD mode)
{
    CloseEntry();
    if (index < 0 || index >= m_directory.EntryCount() || !destination)
        return ARCHIVE_BAD_ARGUMENT;
    TArchiveEntry entry;
    const DWORD described = Get(index, &entry);
    if (described != ARCHIVE_OK)
        return described;

    if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) {
        std::wstring folder = entry.name;
        // A stored name must not place a folder outside the extraction root.
        if (IsAbsolutePath(folder) || ClimbsOut(folder))
            return ARCHIVE_OPEN_FAILED;
        std::replace(folder.begin(), folder.end(), L'/', L'\\');
        while (!folder.empty() && folder.back() == L'\\')
            folder.pop_back();
        CreateFolders(m_root + folder, true);
        return ARCHIVE_OK;
    }

    CHandleHolder created;
    std::wstring createdPath;
    HANDLE target = nullptr;
    if (mode == ARCHIVE_HANDLE) {
        target = static_cast<HANDLE>(destination);
    } else {
        const std::wstring path = static_cast<const wchar_t*>(destination);
        if (path.empty())
            return ARCHIVE_BAD_ARGUMENT;
        const bool absolute = IsAbsolutePath(path);
        createdPath = absolute ? path : m_root + path;
        if (!absolute && !ClimbsOut(path))
            CreateFolders(createdPath, false);
        created.Reset(::CreateFileW(createdPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!created.IsValid())
            return ARCHIVE_OPEN_FAILED;
        target = created.Get();
    }

    auto discard = [&](DWORD result) {
        CloseEntry();
        if (created.IsValid()) {
            created.Reset();
            ::DeleteFileW(createdPath.c_str());
        }
        return result;
    };
    const DWORD opened = OpenEntry(index);
    if (opened != ARCHIVE_OK)
        return discard(opened);
    std::vector<BYTE> block(kInputBlock);
    for (;;) {
        DWORD delivered = 0;
        if (!m_stream->Read(block.data(), kInputBlock, delivered))
            return discard(ARCHIVE_INFLATE_FAILED);
        if (delivered == 0)
            break;
        DWORD written = 0;
        if (!::WriteFile(target, block.data(), delivered, &written, nullptr) || written != delivered)
            return discard(ARCHIVE_WRITE_FAILED);
    }
    CloseEntry();
    if (::GetFileType(target) == FILE_TYPE_DISK)
        ::SetFileTime(target, &entry.creationTime, &entry.accessTime, &entry.modificationTime);
    if (created.IsValid()) {
        created.Reset();
        const DWORD kept = entry.attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                               FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
        if (kept)
            ::SetFileAttributesW(createdPath.c_str(), kept);
    }
    return ARCHIVE_OK;
}

namespace {

DWORD CheckHandle(HSKINARCHIVE archive)
{
    if (!archive)
        return ARCHIVE_BAD_ARGUMENT;
    if (archive->kind != kReaderKind || !archive->reader)
        return ARCHIVE_NOT_READER;
    return ARCHIVE_OK;
}

}  // namespace

HSKINARCHIVE OpenSkinArchive(const void* source, DWORD length, DWORD mode)
{
    auto reader = std::make_unique<CSkinArchiveReader>();
    const DWORD result = reader->Open(source, length, mode);
    Remember(result);
    if (result != ARCHIVE_OK)
        return nullptr;
    auto handle = new TSkinArchiveHandle;
    handle->reader = reader.release();
    return handle;
}

DWORD FindArchiveEntry(HSKINARCHIVE archive, const wchar_t* name, bool ignoreCase, int* index, TArchiveEntry* entry)
{
    const DWORD checked = CheckHandle(archive);
    if (checked != ARCHIVE_OK) {
        if (index)
            *index = -1;
        return Remember(checked);
    }
    return Remember(archive->reader->Find(name, ignoreCase, index, entry));
}

DWORD GetArchiveEntry(HSKINARCHIVE archive, int index, TArchiveEntry* entry)
{
    const DWORD checked = CheckHandle(archive);
    if (checked != ARCHIVE_OK)
        return Remember(checked);
    return Remember(archive->reader->Get(index, entry));
}

DWORD ExtractArchiveEntry(HSKINARCHIVE archive, int index, void* destination, DWORD length, DWORD mode)
{
    const DWORD checked = CheckHandle(archive);
    if (checked != ARCHIVE_OK)
        return Remember(checked);
    return Remember(archive->reader->Extract(index, destination, length, mode));
}

DWORD CloseSkinArchive(HSKINARCHIVE archive)
{
    const DWORD checked = CheckHandle(archive);
    if (checked != ARCHIVE_OK)
        return Remember(checked);
    delete archive->reader;
    delete archive;
    return Remember(ARCHIVE_OK);
}

DWORD GetLastArchiveResult()
{
    return g_lastResult;
}

}  // namespace Veneer
