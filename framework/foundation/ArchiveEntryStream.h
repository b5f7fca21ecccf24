#pragma once
// One entry of the skin archive read out: its local header checked against
// the central directory, its data copied or inflated (in blocks when read
// from a file), and its size
// and CRC-32 checked when the last byte is out.
#include <windows.h>
#include <zlib.h>

#include <vector>

#include "foundation/ArchiveFormat.h"

namespace Veneer {
namespace ArchiveInternal {

class CArchiveSource;

class CArchiveEntryStream {
public:
    // The source outlives the stream (both belong to one reader).
    explicit CArchiveEntryStream(CArchiveSource& source) : m_source(source) {}
    ~CArchiveEntryStream();
    CArchiveEntryStream(const CArchiveEntryStream&) = delete;
    CArchiveEntryStream& operator=(const CArchiveEntryStream&) = delete;

    // ARCHIVE_OK, or ARCHIVE_BAD_ENTRY when the local header disagrees with
    // `central` or the data would reach `dataLimit`.
    DWORD Open(const TCentralHeader& central, ULONGLONG dataLimit);
    // Delivers up to `length` bytes; false when the entry turns out damaged.
    bool Read(BYTE* out, DWORD length, DWORD& delivered);

    bool Finished() const { return m_finished; }
    DWORD Remaining() const { return m_remainingUncompressed; }

private:
    bool Refill();
    bool Finish();

    CArchiveSource& m_source;
    // The compressed data in place, when the source is memory; else it is
    // read through m_input a block at a time.
    const BYTE* m_view { nullptr };
    std::vector<BYTE> m_input;
    z_stream m_zlib {};
    bool m_inflating { false };
    bool m_stored { false };
    bool m_streamEnded { false };
    bool m_finished { false };
    bool m_emptyData { false };
    uLong m_crc { 0 };
    DWORD m_expectedCrc { 0 };
    ULONGLONG m_readPosition { 0 };
    DWORD m_remainingCompressed { 0 };
    DWORD m_remainingUncompressed { 0 };
};

}  // namespace ArchiveInternal
}  // namespace Veneer
