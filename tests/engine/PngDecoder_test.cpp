// The row-at-a-time PNG decoder: PNGs built here byte by byte (every colour
// kind, every filter, the stream cut across many chunks) decode to the
// pixels they were made from and to what the general decoder makes of them;
// what it leaves alone still loads; damage never crashes.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "engine/DecodedImage.h"
#include "engine/RenderEngine.h"
#include "engine/RenderEngineInternal.h"
#include "stb_image.h"

using namespace Veneer;
using namespace Veneer::RenderInternal;
using DecodedImage::ImagePtr;
using DecodedImage::Pixels;

namespace {

void PutBigEndian(std::vector<BYTE>& out, DWORD value)
{
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<BYTE>(value >> shift));
}

void PutChunk(std::vector<BYTE>& out, const char* type, const std::vector<BYTE>& body)
{
    PutBigEndian(out, static_cast<DWORD>(body.size()));
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    PutBigEndian(out, static_cast<DWORD>(::crc32(0, out.data() + typeAt, static_cast<uInt>(body.size() + 4))));
}

int Paeth(int a, int b, int c)
{
    const int p = a + b - c;
    const int pa = p > a ? p - a : a - p;
    const int pb = p > b ? p - b : b - p;
    const int pc = p > c ? p - c : c - p;
    return pa <= pb && pa <= pc ? a : (pb <= pc ? b : c);
}

struct TPngRecipe {
    int width { 5 };
    int height { 6 };
    BYTE depth { 8 };
    BYTE colour { 6 };
    int bytesPerPixel { 4 };
    std::vector<BYTE> raw;        // unfiltered scanlines, no filter bytes
    std::vector<BYTE> palette;    // PLTE body
    std::vector<BYTE> keys;       // tRNS body
    size_t chunkBytes { 7 };      // IDAT split
    bool paletteAfterData { false };
};

// Filters row y with filter y % 5, so every filter meets every position.
std::vector<BYTE> Filtered(const TPngRecipe& recipe)
{
    const size_t rowBytes = recipe.raw.size() / recipe.height;
    const size_t step = static_cast<size_t>(recipe.bytesPerPixel);
    std::vector<BYTE> out;
    for (int y = 0; y < recipe.height; ++y) {
        const BYTE* row = recipe.raw.data() + y * rowBytes;
        const BYTE* up = y > 0 ? row - rowBytes : nullptr;
        const BYTE filter = static_cast<BYTE>(y % 5);
        out.push_back(filter);
        for (size_t i = 0; i < rowBytes; ++i) {
            const int a = i >= step ? row[i - step] : 0;
            const int b = up != nullptr ? up[i] : 0;
            const int c = up != nullptr && i >= step ? up[i - step] : 0;
            const int predicted = filter == 0 ? 0 : filter == 1 ? a : filter == 2 ? b : filter == 3 ? (a + b) / 2 : Paeth(a, b, c);
            out.push_back(static_cast<BYTE>(row[i] - predicted));
        }
    }
    return out;
}

std::vector<BYTE> BuildPng(const TPngRecipe& recipe)
{
    std::vector<BYTE> png = { 0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A };
    std::vector<BYTE> header;
    PutBigEndian(header, static_cast<DWORD>(recipe.width));
    PutBigEndian(header, static_cast<DWORD>(recipe.height));
    header.insert(header.end(), { recipe.depth, recipe.colour, 0, 0, 0 });
    PutChunk(png, "IHDR", header);
    if (!recipe.palette.empty() && !recipe.paletteAfterData) PutChunk(png, "PLTE", recipe.palette);
    if (!recipe.keys.empty()) PutChunk(png, "tRNS", recipe.keys);

    const std::vector<BYTE> filtered = Filtered(recipe);
    uLongf packedSize = ::compressBound(static_cast<uLong>(filtered.size()));
    std::vector<BYTE> packed(packedSize);
    EXPECT_EQ(Z_OK, ::compress2(packed.data(), &packedSize, filtered.data(), static_cast<uLong>(filtered.size()), 9));
    packed.resize(packedSize);
    for (size_t at = 0; at < packed.size(); at += recipe.chunkBytes) {
        const size_t end = std::min(packed.size(), at + recipe.chunkBytes);
        PutChunk(png, "IDAT", std::vector<BYTE>(packed.begin() + at, packed.begin() + end));
    }
    if (!recipe.palette.empty() && recipe.paletteAfterData) PutChunk(png, "PLTE", recipe.palette);
    PutChunk(png, "IEND", {});
    return png;
}

BYTE Sample(int x, int y, int channel)
{
    return static_cast<BYTE>(x * 53 + y * 31 + channel * 97 + (x * y) % 7);
}

TPngRecipe Picture(BYTE colour, int channels)
{
    TPngRecipe recipe;
    recipe.colour = colour;
    recipe.bytesPerPixel = channels;
    for (int y = 0; y < recipe.height; ++y)
        for (int x = 0; x < recipe.width; ++x)
            for (int c = 0; c < channels; ++c) recipe.raw.push_back(Sample(x, y, c));
    return recipe;
}

// The straight 0xAARRGGBB colour the recipe's pixel i stands for.
DWORD SourceColour(const TPngRecipe& recipe, int i)
{
    const BYTE* p = recipe.raw.data() + i * recipe.bytesPerPixel;
    switch (recipe.colour) {
    case 0: return 0xFF000000u | p[0] * 0x010101u;
    case 2: return 0xFF000000u | (DWORD(p[0]) << 16) | (DWORD(p[1]) << 8) | p[2];
    case 4: return (DWORD(p[1]) << 24) | p[0] * 0x010101u;
    case 6: return (DWORD(p[3]) << 24) | (DWORD(p[0]) << 16) | (DWORD(p[1]) << 8) | p[2];
    default: {
        const size_t entry = p[0];
        if (3 * entry + 2 >= recipe.palette.size()) return 0xFF000000u;
        const DWORD alpha = entry < recipe.keys.size() ? recipe.keys[entry] : 255u;
        return (alpha << 24) | (DWORD(recipe.palette[3 * entry]) << 16) | (DWORD(recipe.palette[3 * entry + 1]) << 8)
            | recipe.palette[3 * entry + 2];
    }
    }
}

// What the general decoder makes of the same bytes, converted as the loader
// converts its output.
std::vector<DWORD> GeneralDecoderPixels(const std::vector<BYTE>& png)
{
    int width = 0, height = 0, channels = 0;
    stbi_uc* rgba = stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &width, &height, &channels, 4);
    std::vector<DWORD> out;
    if (rgba == nullptr) return out;
    for (int i = 0; i < width * height; ++i) {
        const stbi_uc* p = rgba + 4 * i;
        out.push_back(PremultiplyColor((DWORD(p[3]) << 24) | (DWORD(p[0]) << 16) | (DWORD(p[1]) << 8) | p[2]));
    }
    stbi_image_free(rgba);
    return out;
}

TPngRecipe PalettePicture()
{
    TPngRecipe recipe;
    recipe.colour = 3;
    recipe.bytesPerPixel = 1;
    for (int i = 0; i < 12; ++i) recipe.palette.insert(recipe.palette.end(), { BYTE(i * 20), BYTE(255 - i * 9), BYTE(i * 3) });
    recipe.keys = { 0, 128, 255, 7 };  // entries past the keys stay opaque
    for (int y = 0; y < recipe.height; ++y)
        for (int x = 0; x < recipe.width; ++x) recipe.raw.push_back(static_cast<BYTE>((x + 2 * y) % 12));
    return recipe;
}

}  // namespace

TEST(PngDecoder, EveryColourKindAndFilterDecodesToItsPixelsAndAgreesWithTheGeneralDecoder)
{
    std::vector<TPngRecipe> recipes = { Picture(0, 1), Picture(2, 3), Picture(4, 2), Picture(6, 4), PalettePicture() };
    TPngRecipe oneChunk = Picture(6, 4);
    oneChunk.chunkBytes = 1 << 20;
    recipes.push_back(oneChunk);
    TPngRecipe wide = Picture(6, 4);
    wide.width = 1;  // a row shorter than the filters' reach
    wide.raw.resize(static_cast<size_t>(wide.height) * 4);
    recipes.push_back(wide);
    for (const TPngRecipe& recipe : recipes) {
        SCOPED_TRACE(testing::Message() << "colour " << int(recipe.colour) << ", width " << recipe.width);
        const std::vector<BYTE> png = BuildPng(recipe);
        ImagePtr image(DecodePngRows(png.data(), png.size(), 0));
        ASSERT_TRUE(image);
        EXPECT_EQ(recipe.width, image->nX);
        EXPECT_EQ(recipe.height, image->nY);
        const std::vector<DWORD> pixels = Pixels(*image);
        bool translucent = false;
        for (int i = 0; i < recipe.width * recipe.height; ++i) {
            const DWORD colour = SourceColour(recipe, i);
            translucent |= (colour >> 24) != 255;
            ASSERT_EQ(PremultiplyColor(colour), pixels[i]) << "pixel " << i;
        }
        EXPECT_EQ(translucent, image->alphaChannel);
        EXPECT_EQ(GeneralDecoderPixels(png), pixels);
    }
}

TEST(PngDecoder, MaskClearsMatchingPixels)
{
    TPngRecipe recipe = Picture(2, 3);
    const std::vector<BYTE> png = BuildPng(recipe);
    const DWORD masked = PremultiplyColor(SourceColour(recipe, 7));
    ImagePtr image(DecodePngRows(png.data(), png.size(), masked));
    ASSERT_TRUE(image);
    EXPECT_TRUE(image->alphaChannel);
    EXPECT_EQ(0u, Pixels(*image)[7]);
    EXPECT_EQ(PremultiplyColor(SourceColour(recipe, 8)), Pixels(*image)[8]);
}

TEST(PngDecoder, KindsItLeavesAloneStillLoadThroughTheGeneralDecoder)
{
    TPngRecipe deep = Picture(6, 8);
    deep.depth = 16;
    TPngRecipe keyed = Picture(2, 3);
    keyed.keys = { 0, 1, 0, 2, 0, 3 };
    for (const TPngRecipe& recipe : { deep, keyed }) {
        const std::vector<BYTE> png = BuildPng(recipe);
        EXPECT_FALSE(ImagePtr(DecodePngRows(png.data(), png.size(), 0)));
        ImagePtr image(DecodeImage(png.data(), png.size(), 0));
        ASSERT_TRUE(image);
        EXPECT_EQ(recipe.width, image->nX);
        EXPECT_EQ(GeneralDecoderPixels(png), Pixels(*image));
    }
}

TEST(PngDecoder, DamagedFilesGiveNullWithoutCrashing)
{
    const std::vector<BYTE> good = BuildPng(PalettePicture());
    ASSERT_TRUE(ImagePtr(DecodePngRows(good.data(), good.size(), 0)));
    // Cut anywhere: null while the image data is incomplete, never a crash.
    for (size_t length = 0; length < good.size(); ++length) {
        std::vector<BYTE> cut(good.begin(), good.begin() + length);
        ImagePtr rows(DecodePngRows(cut.data(), cut.size(), 0));
        if (length < good.size() / 2) EXPECT_FALSE(rows) << length;
        ImagePtr((DecodeImage(cut.data(), cut.size(), 0)));
    }
    // Any single byte changed: decodes or not, never crashes.
    for (size_t at = 8; at < good.size(); ++at) {
        std::vector<BYTE> changed = good;
        changed[at] ^= 0x5A;
        ImagePtr(DecodePngRows(changed.data(), changed.size(), 0));
    }

    TPngRecipe late = PalettePicture();
    late.keys.clear();
    late.paletteAfterData = true;
    const std::vector<BYTE> noPaletteFirst = BuildPng(late);
    EXPECT_FALSE(ImagePtr(DecodePngRows(noPaletteFirst.data(), noPaletteFirst.size(), 0)));

    // A filter kind that does not exist.
    TPngRecipe recipe = Picture(6, 4);
    recipe.chunkBytes = 1 << 20;
    std::vector<BYTE> filtered = Filtered(recipe);
    filtered[0] = 9;
    uLongf packedSize = ::compressBound(static_cast<uLong>(filtered.size()));
    std::vector<BYTE> packed(packedSize);
    ASSERT_EQ(Z_OK, ::compress2(packed.data(), &packedSize, filtered.data(), static_cast<uLong>(filtered.size()), 9));
    packed.resize(packedSize);
    std::vector<BYTE> badFilter = BuildPng(recipe);
    const size_t idat = 8 + 25 + 8;  // the IDAT body follows the header chunk
    badFilter.erase(badFilter.begin() + idat - 8, badFilter.end());
    PutChunk(badFilter, "IDAT", packed);
    PutChunk(badFilter, "IEND", {});
    EXPECT_FALSE(ImagePtr(DecodePngRows(badFilter.data(), badFilter.size(), 0)));
}

TEST(PngDecoder, PaletteIndexesPastThePaletteAreOpaqueBlack)
{
    TPngRecipe recipe = PalettePicture();
    recipe.keys.clear();
    recipe.raw[3] = 200;
    const std::vector<BYTE> png = BuildPng(recipe);
    ImagePtr image(DecodePngRows(png.data(), png.size(), 0));
    ASSERT_TRUE(image);
    EXPECT_EQ(0xFF000000u, Pixels(*image)[3]);
}
