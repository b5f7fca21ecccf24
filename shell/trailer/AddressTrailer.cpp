#include "AddressTrailer.h"

namespace AddressTrailer {

namespace {

std::uint16_t Le16(const unsigned char* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t Le32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

const std::uint64_t kFileHeaderSize = 20;
const std::uint64_t kSectionEntrySize = 40;

// The headers every question starts from. Every offset comes from the file
// and is checked against its size.
struct Headers {
    std::uint64_t peOffset { 0 };
    std::uint64_t sectionCount { 0 };
    std::uint64_t optionalSize { 0 };
    std::uint16_t magic { 0 };
};

bool ReadHeaders(ReadAt read, void* context, std::uint64_t fileSize, Headers& headers)
{
    if (fileSize < 64) return false;
    unsigned char dos[64] = {};
    if (!read(context, 0, dos, sizeof dos)) return false;
    if (dos[0] != 'M' || dos[1] != 'Z') return false;
    headers.peOffset = Le32(dos + 0x3C);

    // Signature, file header and the optional header's magic.
    unsigned char nt[4 + 20 + 2] = {};
    if (headers.peOffset + sizeof nt > fileSize) return false;
    if (!read(context, headers.peOffset, nt, sizeof nt)) return false;
    if (nt[0] != 'P' || nt[1] != 'E' || nt[2] != 0 || nt[3] != 0) return false;
    headers.sectionCount = Le16(nt + 4 + 2);
    headers.optionalSize = Le16(nt + 4 + 16);
    headers.magic = Le16(nt + 4 + 20);
    return headers.magic == 0x10B || headers.magic == 0x20B;
}

}  // namespace

bool FindSectionsEnd(ReadAt read, void* context, std::uint64_t fileSize, std::uint64_t& end)
{
    end = 0;
    Headers headers;
    if (!ReadHeaders(read, context, fileSize, headers) || headers.sectionCount == 0) return false;
    const std::uint64_t tableStart = headers.peOffset + 4 + kFileHeaderSize + headers.optionalSize;
    if (tableStart + headers.sectionCount * kSectionEntrySize > fileSize) return false;

    std::uint64_t last = 0;
    for (std::uint64_t i = 0; i < headers.sectionCount; ++i) {
        unsigned char entry[40] = {};
        if (!read(context, tableStart + i * kSectionEntrySize, entry, sizeof entry)) return false;
        const std::uint64_t rawSize = Le32(entry + 16);
        const std::uint64_t rawPointer = Le32(entry + 20);
        // Uninitialised data (.bss) has no bytes in the file.
        if (rawSize == 0) continue;
        if (rawPointer + rawSize > last) last = rawPointer + rawSize;
    }
    if (last == 0 || last > fileSize) return false;
    end = last;
    return true;
}

bool FindSecurityDirectory(ReadAt read, void* context, std::uint64_t fileSize, SecurityDirectory& directory)
{
    directory = SecurityDirectory();
    Headers headers;
    if (!ReadHeaders(read, context, fileSize, headers)) return false;
    // Entry 4 of the data directory, after the fixed fields (96 bytes in
    // PE32, 112 in PE32+) and NumberOfRvaAndSizes.
    const std::uint64_t fixed = headers.magic == 0x10B ? 96 : 112;
    const std::uint64_t optionalStart = headers.peOffset + 4 + kFileHeaderSize;
    directory.checksumOffset = optionalStart + 64;
    unsigned char count[4] = {};
    if (headers.optionalSize < fixed || optionalStart + fixed > fileSize) return false;
    if (!read(context, optionalStart + fixed - 4, count, sizeof count)) return false;
    // An image with fewer directory entries has no certificate table.
    if (Le32(count) <= 4 || headers.optionalSize < fixed + 5 * 8) return true;
    directory.entryOffset = optionalStart + fixed + 4 * 8;
    unsigned char entry[8] = {};
    if (directory.entryOffset + sizeof entry > fileSize) return false;
    if (!read(context, directory.entryOffset, entry, sizeof entry)) return false;
    directory.address = Le32(entry);
    directory.size = Le32(entry + 4);
    return true;
}

std::uint32_t ImageChecksum(const unsigned char* data, std::size_t size, std::uint64_t checksumOffset)
{
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < size; i += 2) {
        if (i >= checksumOffset && i < checksumOffset + 4) continue;
        std::uint32_t word = data[i];
        if (i + 1 < size) word |= static_cast<std::uint32_t>(data[i + 1]) << 8;
        sum += word;
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint32_t>(sum + size);
}

std::string TextOf(const char* bytes, std::size_t count)
{
    if (bytes == nullptr) return std::string();
    if (count > kReadBytes) count = kReadBytes;
    std::size_t length = 0;
    while (length < count && bytes[length] != '\0') ++length;
    return std::string(bytes, length);
}

std::string RefusalOf(const std::string& text)
{
    if (text.size() > kMaxText)
        return "the text is " + std::to_string(text.size()) + " bytes long; at most " + std::to_string(kMaxText) +
               " are allowed";
    if (text.find(kSeparator) == std::string::npos)
        return "the text has no \"|\" between the login page and the customer-service page address";
    for (unsigned char ch : text) {
        if (ch >= 0x80) return "the text has bytes outside ASCII; write addresses in ASCII (percent-encode the rest)";
        if (ch == 0) return "the text has a NUL byte";
    }
    return std::string();
}

std::string StampedBytes(const std::string& text, std::uint64_t start)
{
    std::string bytes = text;
    bytes.push_back('\0');
    while ((start + bytes.size()) % kAlignment != 0) bytes.push_back('\0');
    return bytes;
}

std::vector<std::string> SplitText(const std::string& text, const std::string& separators)
{
    std::vector<std::string> pieces;
    if (separators.empty()) return pieces;
    std::size_t cut = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && separators.find(text[i]) == std::string::npos) continue;
        if (i > cut) pieces.push_back(text.substr(cut, i - cut));
        cut = i + 1;
    }
    return pieces;
}

std::wstring Widen(const std::string& text)
{
    std::wstring wide;
    wide.reserve(text.size());
    // Addresses are ASCII; any other byte keeps its value as a code point.
    for (char c : text) wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return wide;
}

std::wstring Address(const std::string& trailer, std::size_t piece)
{
    if (trailer.find(kSeparator) == std::string::npos) return std::wstring();
    const std::vector<std::string> pieces = SplitText(trailer, std::string(1, kSeparator));
    if (piece >= pieces.size()) return std::wstring();
    return Widen(pieces[piece]);
}

}  // namespace AddressTrailer
