#pragma once
// Writes small zip archives in memory for tests that need shapes the zip
// tools do not make (huge comments, decoy end records, chosen sizes).
#include <zlib.h>

#include <string>
#include <vector>

namespace ZipWriter {

using Bytes = std::vector<unsigned char>;

inline void Put16(Bytes& out, unsigned v)
{
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}

inline void Put32(Bytes& out, unsigned v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// Raw deflate, as zip stores it.
inline Bytes Deflate(const Bytes& data, int level = 6)
{
    z_stream z {};
    deflateInit2(&z, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    Bytes out(deflateBound(&z, static_cast<uLong>(data.size())) + 16);
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

struct Entry {
    std::string name;
    Bytes data;
    bool deflated { true };
};

struct Archive {
    Bytes bytes;
    size_t directoryStart { 0 };
    size_t directorySize { 0 };
    unsigned entries { 0 };
};

inline void PutEndRecord(Bytes& out, unsigned entries, size_t directorySize, size_t directoryStart,
    unsigned commentLength)
{
    Put32(out, 0x06054b50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, entries);
    Put16(out, entries);
    Put32(out, static_cast<unsigned>(directorySize));
    Put32(out, static_cast<unsigned>(directoryStart));
    Put16(out, commentLength);
}

// Local headers, data and central directory; the end record is left to the caller.
inline Archive WriteEntries(const std::vector<Entry>& entries)
{
    Archive archive;
    Bytes central;
    for (const Entry& entry : entries) {
        const Bytes stored = entry.deflated ? Deflate(entry.data) : entry.data;
        const unsigned crc = static_cast<unsigned>(
            crc32(0, entry.data.empty() ? nullptr : entry.data.data(), static_cast<uInt>(entry.data.size())));
        const unsigned local = static_cast<unsigned>(archive.bytes.size());
        const unsigned method = entry.deflated ? 8 : 0;
        Bytes& out = archive.bytes;
        Put32(out, 0x04034b50);
        Put16(out, 20);
        Put16(out, 0);
        Put16(out, method);
        Put32(out, 0);
        Put32(out, crc);
        Put32(out, static_cast<unsigned>(stored.size()));
        Put32(out, static_cast<unsigned>(entry.data.size()));
        Put16(out, static_cast<unsigned>(entry.name.size()));
        Put16(out, 0);
        out.insert(out.end(), entry.name.begin(), entry.name.end());
        out.insert(out.end(), stored.begin(), stored.end());

        Put32(central, 0x02014b50);
        Put16(central, 20);
        Put16(central, 20);
        Put16(central, 0);
        Put16(central, method);
        Put32(central, 0);
        Put32(central, crc);
        Put32(central, static_cast<unsigned>(stored.size()));
        Put32(central, static_cast<unsigned>(entry.data.size()));
        Put16(central, static_cast<unsigned>(entry.name.size()));
        Put16(central, 0);
        Put16(central, 0);
        Put16(central, 0);
        Put16(central, 0);
        Put32(central, 0);
        Put32(central, local);
        central.insert(central.end(), entry.name.begin(), entry.name.end());
        ++archive.entries;
    }
    archive.directoryStart = archive.bytes.size();
    archive.directorySize = central.size();
    archive.bytes.insert(archive.bytes.end(), central.begin(), central.end());
    return archive;
}

inline Bytes Write(const std::vector<Entry>& entries, const std::string& comment = std::string())
{
    Archive archive = WriteEntries(entries);
    PutEndRecord(archive.bytes, archive.entries, archive.directorySize, archive.directoryStart,
        static_cast<unsigned>(comment.size()));
    archive.bytes.insert(archive.bytes.end(), comment.begin(), comment.end());
    return archive.bytes;
}

}  // namespace ZipWriter
