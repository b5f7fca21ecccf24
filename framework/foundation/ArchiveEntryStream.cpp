#include "foundation/ArchiveEntryStream.h"

#include <algorithm>

#include "foundation/ArchiveSource.h"
#include "foundation/SkinArchive.h"

namespace Veneer {
namespace ArchiveInternal {

CArchiveEntryStream::~CArchiveEntryStream()
{
    if (m_inflating)
        inflateEnd(&m_zlib);
}

DWORD CArchiveEntryStream::Open(const TCentralHeader& central, ULONGLONG dataLimit)
{
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
    if (dataStart + central.compressedSize > dataLimit)
        return ARCHIVE_BAD_ENTRY;
    if (method == kMethodStored && central.compressedSize != central.uncompressedSize)
        return ARCHIVE_BAD_ENTRY;

    m_stored = method == kMethodStored;
    m_crc = crc32(0, nullptr, 0);
    m_expectedCrc = central.crc;
    m_readPosition = dataStart;
    m_remainingCompressed = central.compressedSize;
    m_remainingUncompressed = central.uncompressedSize;
    m_emptyData = central.compressedSize == 0;
    m_view = m_source.View(dataStart, central.compressedSize);
    if (!m_stored) {
        if (!m_view)
            m_input.resize(kInputBlock);
        if (inflateInit2(&m_zlib, -MAX_WBITS) != Z_OK)
            return ARCHIVE_BAD_ENTRY;
        m_inflating = true;
    }
    return ARCHIVE_OK;
}

bool CArchiveEntryStream::Refill()
{
    if (m_remainingCompressed == 0)
        return false;
    if (m_view) {
        m_zlib.next_in = const_cast<BYTE*>(m_view);
        m_zlib.avail_in = m_remainingCompressed;
        m_readPosition += m_remainingCompressed;
        m_remainingCompressed = 0;
        return true;
    }
    const DWORD count = std::min(kInputBlock, m_remainingCompressed);
    if (!m_source.ReadExact(m_readPosition, m_input.data(), count))
        return false;
    m_readPosition += count;
    m_remainingCompressed -= count;
    m_zlib.next_in = m_input.data();
    m_zlib.avail_in = count;
    return true;
}

bool CArchiveEntryStream::Read(BYTE* out, DWORD length, DWORD& delivered)
{
    delivered = 0;
    while (delivered < length && m_remainingUncompressed > 0) {
        const DWORD wanted = std::min(length - delivered, m_remainingUncompressed);
        DWORD produced = 0;
        if (m_stored) {
            const DWORD count = std::min(wanted, kInputBlock);
            if (!m_source.ReadExact(m_readPosition, out + delivered, count))
                return false;
            m_readPosition += count;
            m_remainingCompressed -= count;
            produced = count;
        } else {
            // With all input read, zlib may still hold output: ask it again.
            if (m_zlib.avail_in == 0 && m_remainingCompressed > 0 && !Refill())
                return false;
            const uInt inputBefore = m_zlib.avail_in;
            m_zlib.next_out = out + delivered;
            m_zlib.avail_out = wanted;
            // All input at hand and room for all output: zlib then inflates
            // without keeping (and copying into) a window of its own.
            const bool whole = m_remainingCompressed == 0 && wanted == m_remainingUncompressed;
            const int status = inflate(&m_zlib, whole ? Z_FINISH : Z_NO_FLUSH);
            produced = wanted - m_zlib.avail_out;
            if (status == Z_STREAM_END)
                m_streamEnded = true;
            else if (status != Z_OK && status != Z_BUF_ERROR)
                return false;
            if (produced == 0 && m_zlib.avail_in == inputBefore && !m_streamEnded)
                return false;
        }
        m_crc = crc32(m_crc, out + delivered, produced);
        delivered += produced;
        m_remainingUncompressed -= produced;
        if (m_streamEnded && m_remainingUncompressed > 0)
            return false;
    }
    if (m_remainingUncompressed == 0 && !m_finished) {
        if (!Finish())
            return false;
        m_finished = true;
    }
    return true;
}

// All declared bytes are out: the stream must end here and the CRC match.
bool CArchiveEntryStream::Finish()
{
    while (!m_stored && !m_streamEnded) {
        // Some writers store an empty file as deflated with no data at all.
        if (m_emptyData)
            break;
        if (m_zlib.avail_in == 0 && m_remainingCompressed > 0 && !Refill())
            return false;
        BYTE extra = 0;
        const uInt inputBefore = m_zlib.avail_in;
        m_zlib.next_out = &extra;
        m_zlib.avail_out = 1;
        const int status = inflate(&m_zlib, Z_NO_FLUSH);
        if (m_zlib.avail_out == 0)
            return false;  // more data than the directory declares
        if (status == Z_STREAM_END)
            m_streamEnded = true;
        else if ((status != Z_OK && status != Z_BUF_ERROR) || m_zlib.avail_in == inputBefore)
            return false;
    }
    return m_crc == m_expectedCrc;
}

}  // namespace ArchiveInternal
}  // namespace Veneer
