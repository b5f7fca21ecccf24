#include "foundation/SkinArchive.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace Veneer {

namespace {

DWORD g_lastResult = ARCHIVE_OK;

DWORD Remember(DWORD result)
{
    g_lastResult = result;
    return result;
}

constexpr DWORD kReaderKind = 1;
constexpr DWORD kInputBlock = 16384;
constexpr DWORD kEndRecordBlock = 1028;
constexpr DWORD kEndRecordSize = 22;
// The record's comment may be 65535 bytes long, so the record itself may
// start that far and its own size again from the end.
constexpr ULONGLONG kEndRecordSearch = 65535 + kEndRecordSize;
// Candidate end records are checked by walking their directory. Signatures
// planted in a comment would otherwise cost a whole walk each: all of them
// together may read at most twice the largest directory there can be.
constexpr ULONGLONG kHeaderCheckBudget = 2 * 65535;
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
constexpr int kMaxQueryLength = 255;
constexpr int kMaxNameBytes = 259;

WORD Le16(const BYTE* p)
{
    return static_cast<WORD>(p[0] | (p[1] << 8));
}

DWORD Le32(const BYTE* p)
{
    return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) |
           (static_cast<DWORD>(p[2]) << 16) | (static_cast<DWORD>(p[3]) << 24);
}

class CFileHandle {
public:
    CFileHandle() = default;
    explicit CFileHandle(HANDLE handle) : m_handle(handle) {}
    ~CFileHandle() { Reset(); }
    CFileHandle(const CFileHandle&) = delete;
    CFileHandle& operator=(const CFileHandle&) = delete;

    HANDLE Get() const { return m_handle; }
    bool IsValid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    void Reset(HANDLE handle = INVALID_HANDLE_VALUE)
    {
        if (IsValid())
            ::CloseHandle(m_handle);
        m_handle = handle;
    }
    HANDLE Release()
    {
        HANDLE handle = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        return handle;
    }

private:
    HANDLE m_handle { INVALID_HANDLE_VALUE };
};

// Where the archive bytes come from. Offsets are relative to the archive's
// start; reads past the end come back short, never outside the source.
class CArchiveSource {
public:
    void OpenMemory(const BYTE* data, DWORD length)
    {
        m_memory = data;
        m_size = length;
    }

    DWORD OpenHandle(HANDLE handle)
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

    DWORD OpenPath(const wchar_t* path)
    {
        m_file.Reset(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!m_file.IsValid())
            return ARCHIVE_OPEN_FAILED;
        return MeasureFile();
    }

    ULONGLONG Size() const { return m_size; }

    DWORD ReadAt(ULONGLONG offset, void* buffer, DWORD count)
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

    bool ReadExact(ULONGLONG offset, void* buffer, DWORD count)
    {
        return ReadAt(offset, buffer, count) == count;
    }

private:
    static constexpr DWORD kSmallRead = 1024;

    DWORD MeasureFile()
    {
        LARGE_INTEGER size {};
        if (!::GetFileSizeEx(m_file.Get(), &size))
            return ARCHIVE_READ_FAILED;
        const ULONGLONG total = static_cast<ULONGLONG>(size.QuadPart);
        m_size = total > m_start ? total - m_start : 0;
        return ARCHIVE_OK;
    }

    DWORD ReadFileAt(ULONGLONG offset, void* buffer, DWORD count)
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
    DWORD ReadCached(ULONGLONG offset, BYTE* buffer, DWORD count)
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

    const BYTE* m_memory { nullptr };
    CFileHandle m_file;
    ULONGLONG m_start { 0 };
    ULONGLONG m_size { 0 };
    std::vector<BYTE> m_cache;
    ULONGLONG m_cacheStart { 0 };
    DWORD m_cacheLength { 0 };
};

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

struct TEntryStream {
    std::vector<BYTE> input;
    z_stream zlib {};
    bool inflating { false };
    bool stored { false };
    bool streamEnded { false };
    bool finished { false };
    bool emptyData { false };
    uLong crc { 0 };
    DWORD expectedCrc { 0 };
    ULONGLONG readPosition { 0 };
    DWORD remainingCompressed { 0 };
    DWORD remainingUncompressed { 0 };

    ~TEntryStream()
    {
        if (inflating)
            inflateEnd(&zlib);
    }
};

FILETIME UnixTimeToFileTime(LONG seconds)
{
    const ULONGLONG ticks = static_cast<ULONGLONG>(static_cast<LONGLONG>(seconds) + 11644473600LL) * 10000000ULL;
    FILETIME time {};
    time.dwLowDateTime = static_cast<DWORD>(ticks);
    time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return time;
}

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
    bool LocateEndRecord();
    bool TryEndRecord(ULONGLONG position);
    bool ReadCentralHeader(ULONGLONG offset, TCentralHeader& header);
    bool GoToFirst();
    bool GoToNext();
    bool GoTo(int index);
    void Describe(const TCentralHeader& header, int index, TArchiveEntry& entry) const;
    DWORD OpenEntry(int index);
    void CloseEntry();
    void CloseFinishedEntry();
    bool ReadEntry(BYTE* out, DWORD length, DWORD& delivered);
    bool Refill();
    bool FinishEntry();
    DWORD ExtractToFile(int index, void* destination, DWORD mode);

    CArchiveSource m_source;
    bool m_open { false };
    std::wstring m_root;
    int m_entryCount { 0 };
    ULONGLONG m_directoryStart { 0 };
    ULONGLONG m_directoryEnd { 0 };
    ULONGLONG m_bytesInFront { 0 };
    int m_currentIndex { -1 };
    TCentralHeader m_current;
    int m_openIndex { -1 };
    std::unique_ptr<TEntryStream> m_stream;
    int m_describedIndex { -1 };
    TArchiveEntry m_described;
    ULONGLONG m_headerChecksLeft { kHeaderCheckBudget };
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
    if (!LocateEndRecord())
        return ARCHIVE_READ_FAILED;
    m_open = true;
    return GoToFirst() || m_entryCount == 0 ? ARCHIVE_OK : ARCHIVE_READ_FAILED;
}

bool CSkinArchiveReader::LocateEndRecord()
{
    const ULONGLONG size = m_source.Size();
    if (size < kEndRecordSize)
        return false;
    const ULONGLONG searchFloor = size > kEndRecordSearch ? size - kEndRecordSearch : 0;
    BYTE block[kEndRecordBlock];
    ULONGLONG blockEnd = size;
    ULONGLONG nextCandidate = size;  // candidates at or after this were tried
    for (;;) {
        const ULONGLONG blockStart = blockEnd - searchFloor > kEndRecordBlock ? blockEnd - kEndRecordBlock : searchFloor;
        const DWORD blockLength = static_cast<DWORD>(blockEnd - blockStart);
        if (!m_source.ReadExact(blockStart, block, blockLength))
            return false;
        for (DWORD i = blockLength >= 4 ? blockLength - 4 + 1 : 0; i-- > 0;) {
            const ULONGLONG position = blockStart + i;
            if (position >= nextCandidate || Le32(block + i) != kEndSignature)
                continue;
            nextCandidate = position;
            // A signature inside a comment or data is not the record: keep looking.
            if (TryEndRecord(position))
                return true;
            if (m_headerChecksLeft == 0)
                return false;
        }
        if (blockStart == searchFloor)
            return false;
        blockEnd = blockStart + 4;  // overlap so a signature across blocks is seen
    }
}

bool CSkinArchiveReader::TryEndRecord(ULONGLONG position)
{
    BYTE record[kEndRecordSize];
    if (position + kEndRecordSize > m_source.Size() || !m_source.ReadExact(position, record, kEndRecordSize))
        return false;
    const WORD thisDisk = Le16(record + 4);
    const WORD directoryDisk = Le16(record + 6);
    const WORD entriesHere = Le16(record + 8);
    const WORD entriesTotal = Le16(record + 10);
    const DWORD directorySize = Le32(record + 12);
    const DWORD directoryOffset = Le32(record + 16);
    const WORD commentLength = Le16(record + 20);
    if (thisDisk != 0 || directoryDisk != 0 || entriesHere != entriesTotal)
        return false;
    if (position + kEndRecordSize + commentLength > m_source.Size())
        return false;
    const ULONGLONG directoryEnd = static_cast<ULONGLONG>(directoryOffset) + directorySize;
    if (directoryEnd > position)
        return false;
    if (static_cast<ULONGLONG>(entriesTotal) * kCentralHeaderSize > directorySize)
        return false;
    m_bytesInFront = position - directoryEnd;
    m_directoryStart = directoryOffset + m_bytesInFront;
    m_directoryEnd = position;
    m_entryCount = entriesTotal;

    // Every entry is checked once here so that no later walk meets a header
    // whose sizes or offsets point outside the archive.
    ULONGLONG offset = m_directoryStart;
    TCentralHeader header;
    for (int i = 0; i < m_entryCount; ++i) {
        if (m_headerChecksLeft == 0)
            return false;
        --m_headerChecksLeft;
        if (!ReadCentralHeader(offset, header))
            return false;
        offset = header.next;
    }
    return true;
}

bool CSkinArchiveReader::ReadCentralHeader(ULONGLONG offset, TCentralHeader& header)
{
    BYTE fixed[kCentralHeaderSize];
    if (offset + kCentralHeaderSize > m_directoryEnd || !m_source.ReadExact(offset, fixed, kCentralHeaderSize))
        return false;
    if (Le32(fixed) != kCentralSignature)
        return false;
    header.versionMadeBy = Le16(fixed + 4);
    header.flags = Le16(fixed + 8);
    header.method = Le16(fixed + 10);
    header.dosTime = Le16(fixed + 12);
    header.dosDate = Le16(fixed + 14);
    header.crc = Le32(fixed + 16);
    header.compressedSize = Le32(fixed + 20);
    header.uncompressedSize = Le32(fixed + 24);
    const WORD nameLength = Le16(fixed + 28);
    const WORD extraLength = Le16(fixed + 30);
    const WORD commentLength = Le16(fixed + 32);
    header.externalAttributes = Le32(fixed + 38);
    header.localHeader = Le32(fixed + 42) + m_bytesInFront;
    header.next = offset + kCentralHeaderSize + nameLength + extraLength + commentLength;
    if (header.next > m_directoryEnd)
        return false;
    if (header.localHeader + kLocalHeaderSize + header.compressedSize > m_directoryStart)
        return false;
    if (header.method == kMethodStored && header.uncompressedSize > header.compressedSize)
        return false;
    if (header.method == kMethodDeflated &&
        header.uncompressedSize > static_cast<ULONGLONG>(header.compressedSize) * kMaxDeflateRatio)
        return false;
    header.name.resize(nameLength);
    header.extra.resize(extraLength);
    if (nameLength && !m_source.ReadExact(offset + kCentralHeaderSize, &header.name[0], nameLength))
        return false;
    if (extraLength && !m_source.ReadExact(offset + kCentralHeaderSize + nameLength, header.extra.data(), extraLength))
        return false;
    return true;
}

bool CSkinArchiveReader::GoToFirst()
{
    m_currentIndex = -1;
    if (m_entryCount == 0 || !ReadCentralHeader(m_directoryStart, m_current))
        return false;
    m_currentIndex = 0;
    return true;
}

bool CSkinArchiveReader::GoToNext()
{
    if (m_currentIndex < 0 || m_currentIndex + 1 >= m_entryCount)
        return false;
    TCentralHeader next;
    if (!ReadCentralHeader(m_current.next, next))
        return false;
    m_current = std::move(next);
    ++m_currentIndex;
    return true;
}

bool CSkinArchiveReader::GoTo(int index)
{
    if (index < 0 || index >= m_entryCount)
        return false;
    if (m_currentIndex < 0 || index < m_currentIndex) {
        if (!GoToFirst())
            return false;
    }
    while (m_currentIndex < index) {
        if (!GoToNext())
            return false;
    }
    return true;
}

void CSkinArchiveReader::Describe(const TCentralHeader& header, int index, TArchiveEntry& entry) const
{
    entry = TArchiveEntry {};
    entry.index = index;
    const int nameBytes = std::min(static_cast<int>(header.name.size()), kMaxNameBytes);
    if (nameBytes > 0) {
        const int written = ::MultiByteToWideChar(CP_ACP, 0, header.name.data(), nameBytes, entry.name, kMaxNameBytes);
        entry.name[std::max(0, std::min(written, kMaxNameBytes))] = L'\0';
    }

    const DWORD dosBits = header.externalAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                                       FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY |
                                                       FILE_ATTRIBUTE_ARCHIVE);
    entry.attributes = dosBits;
    const BYTE madeOn = static_cast<BYTE>(header.versionMadeBy >> 8);
    const DWORD unixMode = header.externalAttributes >> 16;
    if (madeOn == 3 && unixMode != 0) {
        if ((unixMode & 0xF000) == 0x4000)
            entry.attributes |= FILE_ATTRIBUTE_DIRECTORY;
        if (!(unixMode & 0200))
            entry.attributes |= FILE_ATTRIBUTE_READONLY;
    }
    if (!header.name.empty() && header.name.back() == '/')
        entry.attributes |= FILE_ATTRIBUTE_DIRECTORY;

    FILETIME local {};
    FILETIME stamp {};
    if (::DosDateTimeToFileTime(header.dosDate, header.dosTime, &local))
        ::LocalFileTimeToFileTime(&local, &stamp);
    entry.accessTime = entry.creationTime = entry.modificationTime = stamp;
    // Extended timestamp: flags, then the times its flags announce, as far as present.
    for (size_t at = 0; at + 4 <= header.extra.size();) {
        const WORD tag = Le16(&header.extra[at]);
        const WORD size = Le16(&header.extra[at + 2]);
        const size_t data = at + 4;
        if (data + size > header.extra.size())
            break;
        if (tag == 0x5455 && size >= 1) {
            const BYTE flags = header.extra[data];
            size_t field = data + 1;
            FILETIME* targets[] = { &entry.modificationTime, &entry.accessTime, &entry.creationTime };
            for (int bit = 0; bit < 3; ++bit) {
                if (!(flags & (1 << bit)))
                    continue;
                if (field + 4 > data + size)
                    break;
                *targets[bit] = UnixTimeToFileTime(static_cast<LONG>(Le32(&header.extra[field])));
                field += 4;
            }
        }
        at = data + size;
    }

    entry.compressedSize = header.compressedSize;
    entry.uncompressedSize = header.uncompressedSize;
}

// Loaders look an entry up before each extraction and make one extraction call;
// an entry left open after it was delivered whole must not make the next load
// of the same entry "continue" with nothing and report success.
void CSkinArchiveReader::CloseFinishedEntry()
{
    if (m_stream && m_stream->finished)
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
    const int before = m_currentIndex;
    for (bool more = GoToFirst(); more; more = GoToNext()) {
        const std::string& stored = m_current.name;
        if (stored.size() != wantedLength)
            continue;
        bool same = true;
        for (size_t i = 0; i < wantedLength && same; ++i)
            same = fold(stored[i]) == fold(wanted[i]);
        if (!same)
            continue;
        if (index)
            *index = m_currentIndex;
        if (m_describedIndex != m_currentIndex) {
            Describe(m_current, m_currentIndex, m_described);
            m_describedIndex = m_currentIndex;
        }
        if (entry)
            *entry = m_described;
        return ARCHIVE_OK;
    }
    if (before >= 0)
        GoTo(before);
    return notFound(ARCHIVE_NOT_FOUND);
}

DWORD CSkinArchiveReader::Get(int index, TArchiveEntry* entry)
{
    CloseFinishedEntry();
    if (!entry || index < -1 || index >= m_entryCount)
        return ARCHIVE_BAD_ARGUMENT;
    if (index == -1) {
        *entry = TArchiveEntry {};
        entry->index = m_entryCount;
        return ARCHIVE_OK;
    }
    if (index != m_describedIndex) {
        if (!GoTo(index))
            return ARCHIVE_READ_FAILED;
        Describe(m_current, index, m_described);
        m_describedIndex = index;
    }
    *entry = m_described;
    return ARCHIVE_OK;
}

DWORD CSkinArchiveReader::OpenEntry(int index)
{
    if (!GoTo(index))
        return ARCHIVE_READ_FAILED;
    const TCentralHeader& central = m_current;
    BYTE local[kLocalHeaderSize];
    if (!m_source.ReadExact(central.localHeader, local, kLocalHeaderSize) || Le32(local) != kLocalSignature)
        return ARCHIVE_BAD_ENTRY;
    const WORD flags = Le16(local + 6);
    const WORD method = Le16(local + 8);
    if (method != central.method || (method != kMethodStored && method != kMethodDeflated))
        return ARCHIVE_BAD_ENTRY;
    if ((flags | central.flags) & kFlagEncrypted)
        return ARCHIVE_BAD_ENTRY;
    // With a data descriptor the local header carries zeros for CRC and sizes;
    // the central directory is the authority for them.
    if (!(flags & kFlagDataDescriptor) &&
        (Le32(local + 14) != central.crc || Le32(local + 18) != central.compressedSize ||
         Le32(local + 22) != central.uncompressedSize))
        return ARCHIVE_BAD_ENTRY;
    const ULONGLONG dataStart = central.localHeader + kLocalHeaderSize + Le16(local + 26) + Le16(local + 28);
    if (dataStart + central.compressedSize > m_directoryStart)
        return ARCHIVE_BAD_ENTRY;
    if (method == kMethodStored && central.compressedSize != central.uncompressedSize)
        return ARCHIVE_BAD_ENTRY;

    auto stream = std::make_unique<TEntryStream>();
    stream->stored = method == kMethodStored;
    stream->crc = crc32(0, nullptr, 0);
    stream->expectedCrc = central.crc;
    stream->readPosition = dataStart;
    stream->remainingCompressed = central.compressedSize;
    stream->remainingUncompressed = central.uncompressedSize;
    stream->emptyData = central.compressedSize == 0;
    if (!stream->stored) {
        stream->input.resize(kInputBlock);
        if (inflateInit2(&stream->zlib, -MAX_WBITS) != Z_OK)
            return ARCHIVE_BAD_ENTRY;
        stream->inflating = true;
    }
    m_stream = std::move(stream);
    m_openIndex = index;
    return ARCHIVE_OK;
}

void CSkinArchiveReader::CloseEntry()
{
    m_stream.reset();
    m_openIndex = -1;
}

bool CSkinArchiveReader::Refill()
{
    TEntryStream& s = *m_stream;
    if (s.remainingCompressed == 0)
        return false;
    const DWORD count = std::min(kInputBlock, s.remainingCompressed);
    if (!m_source.ReadExact(s.readPosition, s.input.data(), count))
        return false;
    s.readPosition += count;
    s.remainingCompressed -= count;
    s.zlib.next_in = s.input.data();
    s.zlib.avail_in = count;
    return true;
}

// Delivers up to `length` bytes; false when the entry turns out damaged.
bool CSkinArchiveReader::ReadEntry(BYTE* out, DWORD length, DWORD& delivered)
{
    delivered = 0;
    TEntryStream& s = *m_stream;
    while (delivered < length && s.remainingUncompressed > 0) {
        const DWORD wanted = std::min(length - delivered, s.remainingUncompressed);
        DWORD produced = 0;
        if (s.stored) {
            const DWORD count = std::min(wanted, kInputBlock);
            if (!m_source.ReadExact(s.readPosition, out + delivered, count))
                return false;
            s.readPosition += count;
            s.remainingCompressed -= count;
            produced = count;
        } else {
            // With all input read, zlib may still hold output: ask it again.
            if (s.zlib.avail_in == 0 && s.remainingCompressed > 0 && !Refill())
                return false;
            const uInt inputBefore = s.zlib.avail_in;
            s.zlib.next_out = out + delivered;
            s.zlib.avail_out = wanted;
            const int status = inflate(&s.zlib, Z_NO_FLUSH);
            produced = wanted - s.zlib.avail_out;
            if (status == Z_STREAM_END)
                s.streamEnded = true;
            else if (status != Z_OK && status != Z_BUF_ERROR)
                return false;
            if (produced == 0 && s.zlib.avail_in == inputBefore && !s.streamEnded)
                return false;
        }
        s.crc = crc32(s.crc, out + delivered, produced);
        delivered += produced;
        s.remainingUncompressed -= produced;
        if (s.streamEnded && s.remainingUncompressed > 0)
            return false;
    }
    if (s.remainingUncompressed == 0 && !s.finished) {
        if (!FinishEntry())
            return false;
        s.finished = true;
    }
    return true;
}

// All declared bytes are out: the stream must end here and the CRC match.
bool CSkinArchiveReader::FinishEntry()
{
    TEntryStream& s = *m_stream;
    while (!s.stored && !s.streamEnded) {
        // Some writers store an empty file as deflated with no data at all.
        if (s.emptyData)
            break;
        if (s.zlib.avail_in == 0 && s.remainingCompressed > 0 && !Refill())
            return false;
        BYTE extra = 0;
        const uInt inputBefore = s.zlib.avail_in;
        s.zlib.next_out = &extra;
        s.zlib.avail_out = 1;
        const int status = inflate(&s.zlib, Z_NO_FLUSH);
        if (s.zlib.avail_out == 0)
            return false;  // more data than the directory declares
        if (status == Z_STREAM_END)
            s.streamEnded = true;
        else if ((status != Z_OK && status != Z_BUF_ERROR) || s.zlib.avail_in == inputBefore)
            return false;
    }
    return s.crc == s.expectedCrc;
}

DWORD CSkinArchiveReader::Extract(int index, void* destination, DWORD length, DWORD mode)
{
    if (mode == ARCHIVE_HANDLE || mode == ARCHIVE_FILE)
        return ExtractToFile(index, destination, mode);
    if (mode != ARCHIVE_MEMORY)
        return ARCHIVE_BAD_ARGUMENT;
    if (index != m_openIndex || !m_stream) {
        CloseEntry();
        if (index < 0 || index >= m_entryCount)
            return ARCHIVE_BAD_ARGUMENT;
        const DWORD opened = OpenEntry(index);
        if (opened != ARCHIVE_OK)
            return opened;
    }
    if (!destination && length > 0)
        return ARCHIVE_BAD_ARGUMENT;
    if (length == 0 && !m_stream->finished && m_stream->remainingUncompressed > 0) {
        // Nothing would be delivered: do not let an untouched entry look extracted.
        CloseEntry();
        return ARCHIVE_BAD_ARGUMENT;
    }
    DWORD delivered = 0;
    if (!ReadEntry(static_cast<BYTE*>(destination), length, delivered)) {
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
    if (index < 0 || index >= m_entryCount || !destination)
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

    CFileHandle created;
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
        if (!ReadEntry(block.data(), kInputBlock, delivered))
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
