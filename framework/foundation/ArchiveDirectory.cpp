#include "foundation/ArchiveDirectory.h"

#include <algorithm>
#include <utility>

#include "foundation/ArchiveSource.h"
#include "foundation/SkinArchive.h"

namespace Veneer {
namespace ArchiveInternal {

namespace {

constexpr DWORD kEndRecordBlock = 1028;
// The record's comment may be 65535 bytes long, so the record itself may
// start that far and its own size again from the end.
constexpr ULONGLONG kEndRecordSearch = 65535 + kEndRecordSize;

FILETIME UnixTimeToFileTime(LONG seconds)
{
    const ULONGLONG ticks = static_cast<ULONGLONG>(static_cast<LONGLONG>(seconds) + 11644473600LL) * 10000000ULL;
    FILETIME time {};
    time.dwLowDateTime = static_cast<DWORD>(ticks);
    time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return time;
}

}  // namespace

bool CArchiveDirectory::Locate()
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

bool CArchiveDirectory::TryEndRecord(ULONGLONG position)
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
        if (!ReadCentralHeader(offset, header, false))
            return false;
        offset = header.next;
    }
    return true;
}

bool CArchiveDirectory::ReadCentralHeader(ULONGLONG offset, TCentralHeader& header, bool withName)
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
    if (!withName)
        return true;
    header.name.resize(nameLength);
    header.extra.resize(extraLength);
    if (nameLength && !m_source.ReadExact(offset + kCentralHeaderSize, &header.name[0], nameLength))
        return false;
    if (extraLength && !m_source.ReadExact(offset + kCentralHeaderSize + nameLength, header.extra.data(), extraLength))
        return false;
    return true;
}

bool CArchiveDirectory::GoToFirst()
{
    m_currentIndex = -1;
    if (m_entryCount == 0 || !ReadCentralHeader(m_directoryStart, m_current))
        return false;
    m_currentIndex = 0;
    return true;
}

bool CArchiveDirectory::GoToNext()
{
    if (m_currentIndex < 0 || m_currentIndex + 1 >= m_entryCount)
        return false;
    if (!ReadCentralHeader(m_current.next, m_next))
        return false;
    std::swap(m_current, m_next);
    ++m_currentIndex;
    return true;
}

bool CArchiveDirectory::GoTo(int index)
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

void DescribeEntry(const TCentralHeader& header, int index, TArchiveEntry& entry)
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

}  // namespace ArchiveInternal
}  // namespace Veneer
