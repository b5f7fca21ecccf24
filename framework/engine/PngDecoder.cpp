// The PNGs skins are made of (8 bits a channel, not interlaced) decoded a row
// at a time: zlib inflates each scanline into a two-row window, and the row
// is unfiltered and converted straight into the bitmap. No copy of the whole
// compressed stream or of the whole filtered image is ever held, and zlib
// inflates about twice as fast as the general decoder. Every other PNG, and
// any file this path finds wrong, is left to the general decoder, so the two
// never disagree on what decodes.
#include <zlib.h>

#include <cstring>
#include <memory>
#include <new>

#include "engine/RenderEngineInternal.h"

namespace Veneer {
namespace RenderInternal {

namespace {

const BYTE kSignature[8] = { 137, 80, 78, 71, 13, 10, 26, 10 };

enum EPngColour : BYTE { kGrey = 0, kRgb = 2, kPalette = 3, kGreyAlpha = 4, kRgba = 6 };

DWORD BigEndian32(const BYTE* bytes)
{
    return (static_cast<DWORD>(bytes[0]) << 24) | (static_cast<DWORD>(bytes[1]) << 16)
        | (static_cast<DWORD>(bytes[2]) << 8) | bytes[3];
}

DWORD ChunkType(const char (&name)[5])
{
    return BigEndian32(reinterpret_cast<const BYTE*>(name));
}

int BytesPerPixel(BYTE colour)
{
    switch (colour) {
    case kGrey: return 1;
    case kRgb: return 3;
    case kPalette: return 1;
    case kGreyAlpha: return 2;
    case kRgba: return 4;
    default: return 0;
    }
}

class CInflater {
public:
    CInflater() { m_ready = ::inflateInit(&stream) == Z_OK; }
    ~CInflater()
    {
        if (m_ready) ::inflateEnd(&stream);
    }
    CInflater(const CInflater&) = delete;
    CInflater& operator=(const CInflater&) = delete;
    bool IsReady() const { return m_ready; }

    z_stream stream {};

private:
    bool m_ready { false };
};

BYTE Paeth(int left, int up, int upLeft)
{
    const int estimate = left + up - upLeft;
    const int toLeft = estimate > left ? estimate - left : left - estimate;
    const int toUp = estimate > up ? estimate - up : up - estimate;
    const int toUpLeft = estimate > upLeft ? estimate - upLeft : upLeft - estimate;
    if (toLeft <= toUp && toLeft <= toUpLeft) return static_cast<BYTE>(left);
    if (toUp <= toUpLeft) return static_cast<BYTE>(up);
    return static_cast<BYTE>(upLeft);
}

// Undoes a scanline's filter in place; `previous` is the row above, already
// unfiltered (zeros above the first row).
bool Unfilter(BYTE filter, BYTE* row, const BYTE* previous, size_t length, size_t step)
{
    switch (filter) {
    case 0:
        return true;
    case 1:
        for (size_t i = step; i < length; ++i) row[i] = static_cast<BYTE>(row[i] + row[i - step]);
        return true;
    case 2:
        for (size_t i = 0; i < length; ++i) row[i] = static_cast<BYTE>(row[i] + previous[i]);
        return true;
    case 3:
        for (size_t i = 0; i < step && i < length; ++i) row[i] = static_cast<BYTE>(row[i] + (previous[i] >> 1));
        for (size_t i = step; i < length; ++i)
            row[i] = static_cast<BYTE>(row[i] + ((row[i - step] + previous[i]) >> 1));
        return true;
    case 4:
        for (size_t i = 0; i < step && i < length; ++i) row[i] = static_cast<BYTE>(row[i] + previous[i]);
        for (size_t i = step; i < length; ++i)
            row[i] = static_cast<BYTE>(row[i] + Paeth(row[i - step], previous[i], previous[i - step]));
        return true;
    default:
        return false;
    }
}

struct TPngPicture {
    DWORD width { 0 };
    DWORD height { 0 };
    BYTE colour { 0 };
    DWORD palette[256] {};  // R lowest, as the general decoder hands pixels over
    DWORD* bits { nullptr };
    DWORD mask { 0 };
    bool alpha { false };
};

// One unfiltered scanline into the bitmap's row.
void StoreRow(TPngPicture& picture, const BYTE* row, DWORD y)
{
    DWORD* out = picture.bits + static_cast<size_t>(y) * picture.width;
    const DWORD count = picture.width;
    const DWORD mask = picture.mask;
    bool alpha = false;
    switch (picture.colour) {
    case kRgba:
        alpha = StoreLoaderPixels(out, count, mask, [row](size_t x) {
            DWORD rgba = 0;
            std::memcpy(&rgba, row + 4 * x, sizeof(rgba));
            return rgba;
        });
        break;
    case kRgb:
        alpha = StoreLoaderPixels(out, count, mask, [row](size_t x) {
            const BYTE* pixel = row + 3 * x;
            return 0xFF000000u | (static_cast<DWORD>(pixel[2]) << 16) | (static_cast<DWORD>(pixel[1]) << 8) | pixel[0];
        });
        break;
    case kPalette: {
        const DWORD* palette = picture.palette;
        alpha = StoreLoaderPixels(out, count, mask, [row, palette](size_t x) { return palette[row[x]]; });
        break;
    }
    case kGrey:
        alpha = StoreLoaderPixels(out, count, mask, [row](size_t x) { return 0xFF000000u | row[x] * 0x010101u; });
        break;
    default:  // grey and alpha
        alpha = StoreLoaderPixels(out, count, mask, [row](size_t x) {
            return (static_cast<DWORD>(row[2 * x + 1]) << 24) | row[2 * x] * 0x010101u;
        });
        break;
    }
    picture.alpha |= alpha;
}

// Inflates one IDAT chunk's bytes, storing each scanline as it completes.
// False on a zlib error or a bad filter; `rowsDone` counts stored rows.
// `rows` holds two scanlines of `stride` bytes, the current and the one above.
bool InflateChunk(CInflater& inflater, const BYTE* data, DWORD length, TPngPicture& picture, BYTE* rows,
    size_t stride, size_t& filled, DWORD& rowsDone)
{
    const size_t step = static_cast<size_t>(BytesPerPixel(picture.colour));
    z_stream& stream = inflater.stream;
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = length;
    while (rowsDone < picture.height) {
        BYTE* current = rows + (rowsDone % 2) * stride;
        const BYTE* previous = rows + ((rowsDone + 1) % 2) * stride;
        stream.next_out = current + filled;
        stream.avail_out = static_cast<uInt>(stride - filled);
        const int result = ::inflate(&stream, Z_NO_FLUSH);
        filled = stride - stream.avail_out;
        if (filled == stride) {
            if (!Unfilter(current[0], current + 1, previous + 1, stride - 1, step)) return false;
            StoreRow(picture, current + 1, rowsDone);
            ++rowsDone;
            filled = 0;
        }
        if (result == Z_STREAM_END || result == Z_BUF_ERROR) return true;
        if (result != Z_OK) return false;
        if (stream.avail_in == 0 && filled != 0) return true;
    }
    return true;
}

}  // namespace

TImageInfo* DecodePngRows(const BYTE* data, size_t size, DWORD mask)
{
    if (data == nullptr || size < 8 + 25 || std::memcmp(data, kSignature, sizeof(kSignature)) != 0) return nullptr;
    const BYTE* header = data + 8;
    if (BigEndian32(header) != 13 || BigEndian32(header + 4) != ChunkType("IHDR")) return nullptr;
    TPngPicture picture;
    picture.width = BigEndian32(header + 8);
    picture.height = BigEndian32(header + 12);
    picture.colour = header[17];
    picture.mask = mask;
    const BYTE depth = header[16];
    const bool plain = header[18] == 0 && header[19] == 0 && header[20] == 0;
    if (depth != 8 || !plain || BytesPerPixel(picture.colour) == 0) return nullptr;
    if (picture.width == 0 || picture.height == 0
        || static_cast<unsigned long long>(picture.width) * picture.height > kMaxDirectDecodePixels) {
        return nullptr;
    }
    for (DWORD& entry : picture.palette) entry = 0xFF000000u;

    const size_t stride = static_cast<size_t>(picture.width) * BytesPerPixel(picture.colour) + 1;
    std::unique_ptr<BYTE[]> rows;
    CInflater inflater;
    if (!inflater.IsReady()) return nullptr;
    void* bits = nullptr;
    HBITMAP bitmap = nullptr;
    size_t filled = 0;
    DWORD rowsDone = 0;
    bool sawPalette = false;
    bool failed = false;
    for (size_t at = 8; !failed && rowsDone < picture.height;) {
        if (size - at < 12) {
            failed = true;
            break;
        }
        const DWORD length = BigEndian32(data + at);
        const DWORD type = BigEndian32(data + at + 4);
        if (length > size - at - 12) {
            failed = true;
            break;
        }
        const BYTE* body = data + at + 8;
        at += 12 + static_cast<size_t>(length);
        if (type == ChunkType("IHDR")) {
            if (at != 8 + 25) failed = true;
        } else if (type == ChunkType("PLTE")) {
            if (length % 3 != 0 || length > 3 * 256 || bitmap != nullptr) {
                failed = true;
                break;
            }
            for (DWORD i = 0; i < length / 3; ++i) {
                picture.palette[i] = 0xFF000000u | (static_cast<DWORD>(body[3 * i + 2]) << 16)
                    | (static_cast<DWORD>(body[3 * i + 1]) << 8) | body[3 * i];
            }
            sawPalette = true;
        } else if (type == ChunkType("tRNS")) {
            // Transparency keys of grey and colour pictures stay with the
            // general decoder.
            if (picture.colour != kPalette || !sawPalette || length > 256 || bitmap != nullptr) {
                failed = true;
                break;
            }
            for (DWORD i = 0; i < length; ++i)
                picture.palette[i] = (picture.palette[i] & 0x00FFFFFFu) | (static_cast<DWORD>(body[i]) << 24);
        } else if (type == ChunkType("IDAT")) {
            if (picture.colour == kPalette && !sawPalette) {
                failed = true;
                break;
            }
            if (bitmap == nullptr) {
                bitmap = CreateDib32(static_cast<int>(picture.width), static_cast<int>(picture.height), &bits);
                if (bitmap == nullptr || bits == nullptr) {
                    failed = true;
                    break;
                }
                picture.bits = static_cast<DWORD*>(bits);
                // Made with the bitmap, once there is data: a header alone
                // commits nothing; zeros stand above the first row.
                rows.reset(new (std::nothrow) BYTE[2 * stride]());
                if (!rows) {
                    failed = true;
                    break;
                }
            }
            failed = !InflateChunk(inflater, body, length, picture, rows.get(), stride, filled, rowsDone);
        } else if (type == ChunkType("IEND")) {
            break;
        } else if ((type & 0x20000000u) == 0) {
            // An unknown critical chunk (Apple's CgBI among them).
            failed = true;
        }
    }
    if (failed || rowsDone < picture.height) {
        if (bitmap != nullptr) ::DeleteObject(bitmap);
        return nullptr;
    }
    TImageInfo* info = new TImageInfo;
    info->hBitmap = bitmap;
    info->nX = static_cast<int>(picture.width);
    info->nY = static_cast<int>(picture.height);
    info->alphaChannel = picture.alpha;
    return info;
}

}  // namespace RenderInternal
}  // namespace Veneer
