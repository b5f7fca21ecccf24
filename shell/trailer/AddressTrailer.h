#pragma once
// The address trailer: "login page|customer-service page" after the last
// section of the client executable. Its whole format lives here, in plain
// C++ without Win32, so that the client, the trailer tool (built for Windows
// and for the Linux machine that packs releases) and the config dump all
// read and write exactly the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace AddressTrailer {

// The client reads this many bytes at the trailer's start; the text ends at
// the first NUL, so at most kMaxText bytes of text fit.
const std::size_t kReadBytes = 256;
const std::size_t kMaxText = kReadBytes - 1;
const char kSeparator = '|';
// Stamped trailers are padded with NULs to this alignment: a signing tool
// appends its certificate table at an aligned offset after them.
const std::size_t kAlignment = 8;

// Reads `count` bytes at `offset` of the file into `buffer`; false when the
// file cannot supply all of them.
using ReadAt = bool (*)(void* context, std::uint64_t offset, void* buffer, std::size_t count);

// Where the trailer starts: the end of the section data as stored in the file
// (the largest PointerToRawData + SizeOfRawData), for 32-bit (PE32) and
// 64-bit (PE32+) images alike. False for anything that is not a sane image
// or claims more than the file holds.
bool FindSectionsEnd(ReadAt read, void* context, std::uint64_t fileSize, std::uint64_t& end);

// The security (certificate table) entry of the optional header's data
// directory: where a signature lives in the file.
struct SecurityDirectory {
    std::uint64_t checksumOffset { 0 };  // file offset of the optional header's CheckSum
    std::uint64_t entryOffset { 0 };  // file offset of the 8-byte entry; 0 when the image has none
    std::uint32_t address { 0 };      // file offset of the certificate table
    std::uint32_t size { 0 };
    bool IsSigned() const { return address != 0 || size != 0; }
};
bool FindSecurityDirectory(ReadAt read, void* context, std::uint64_t fileSize, SecurityDirectory& directory);

// The optional header's CheckSum of an image held in memory: the 16-bit
// one's-complement sum of the file (the CheckSum field read as 0) plus its length.
std::uint32_t ImageChecksum(const unsigned char* data, std::size_t size, std::uint64_t checksumOffset);

// The text of `count` bytes read at the trailer's start (up to kReadBytes):
// everything before the first NUL, or all of it when there is none.
std::string TextOf(const char* bytes, std::size_t count);

// Why `text` cannot be stamped as a trailer, or empty when it can.
std::string RefusalOf(const std::string& text);

// The bytes to append at file offset `start`: the text, a NUL, and NULs up
// to the next multiple of kAlignment of the file size.
std::string StampedBytes(const std::string& text, std::uint64_t start);

// The non-empty pieces of `text` between any of the `separators`, in order.
std::vector<std::string> SplitText(const std::string& text, const std::string& separators);

// Bytes of a trailer piece as wide characters (0x00-0xFF keep their value).
std::wstring Widen(const std::string& text);

// Piece `piece` (0: login page, 1: customer-service page) of a trailer
// text; empty when the text has no separator or fewer pieces.
std::wstring Address(const std::string& trailer, std::size_t piece);

}  // namespace AddressTrailer
