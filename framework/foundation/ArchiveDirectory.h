#pragma once
// The skin archive's central directory: found through its end record, every
// header checked once when found, then walked one header at a time.
#include <windows.h>

#include "foundation/ArchiveFormat.h"

namespace Veneer {

struct TArchiveEntry;

namespace ArchiveInternal {

class CArchiveSource;

class CArchiveDirectory {
public:
    // The source outlives the directory (both belong to one reader).
    explicit CArchiveDirectory(CArchiveSource& source) : m_source(source) {}

    // False when no end record leads to a directory whose headers all hold.
    bool Locate();

    int EntryCount() const { return m_entryCount; }
    // Entry data must end before this offset.
    ULONGLONG Start() const { return m_directoryStart; }

    bool GoToFirst();
    bool GoToNext();
    bool GoTo(int index);
    int CurrentIndex() const { return m_currentIndex; }
    const TCentralHeader& Current() const { return m_current; }

private:
    // Candidate end records are checked by walking their directory. Signatures
    // planted in a comment would otherwise cost a whole walk each: all of them
    // together may read at most twice the largest directory there can be.
    static constexpr ULONGLONG kHeaderCheckBudget = 2 * 65535;

    bool TryEndRecord(ULONGLONG position);
    // `withName` false: the fixed fields alone, checked; name and extra
    // field are left as they were.
    bool ReadCentralHeader(ULONGLONG offset, TCentralHeader& header, bool withName = true);

    CArchiveSource& m_source;
    int m_entryCount { 0 };
    ULONGLONG m_directoryStart { 0 };
    ULONGLONG m_directoryEnd { 0 };
    ULONGLONG m_bytesInFront { 0 };
    int m_currentIndex { -1 };
    TCentralHeader m_current;
    TCentralHeader m_next;  // read into, then swapped: its buffers are reused
    ULONGLONG m_headerChecksLeft { kHeaderCheckBudget };
};

// Name (ANSI code page), attributes, times and sizes of a central header.
void DescribeEntry(const TCentralHeader& header, int index, TArchiveEntry& entry);

}  // namespace ArchiveInternal
}  // namespace Veneer
