// Decoding images into premultiplied bitmaps, masks, damaged data, and the
// file and resource sources.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/DecodedImage.h"
#include "engine/RenderEngine.h"
#include "engine/RenderEngineInternal.h"
#include "engine/StbOutput.h"
#include "support/TestSupport.h"

using namespace Veneer;
using namespace Veneer::RenderInternal;
using DecodedImage::ImagePtr;
using DecodedImage::Pixels;

namespace {

std::vector<BYTE> Fixture(const wchar_t* name)
{
    const auto bytes = TestSupport::ReadFileBytes(TestSupport::FixturePath(std::wstring(L"render/") + name));
    return std::vector<BYTE>(bytes.begin(), bytes.end());
}

ImagePtr Decode(const std::vector<BYTE>& bytes, DWORD mask = 0)
{
    return ImagePtr(DecodeImage(bytes.data(), bytes.size(), mask));
}

}  // namespace

TEST(RenderImageDecode, OpaquePngKeepsColoursInBlueFirstOrder)
{
    ImagePtr image = Decode(Fixture(L"grid.png"));
    ASSERT_TRUE(image);
    EXPECT_EQ(12, image->nX);
    EXPECT_EQ(12, image->nY);
    EXPECT_FALSE(image->alphaChannel);
    EXPECT_TRUE(image->sResType.IsEmpty());
    const auto pixels = Pixels(*image);
    EXPECT_EQ(0xFFFF0000u, pixels[0]);            // red corner
    EXPECT_EQ(0xFF00FFFFu, pixels[5]);            // cyan top edge
    EXPECT_EQ(0xFF00FF00u, pixels[11]);           // green corner
    EXPECT_EQ(0xFF404040u, pixels[6 * 12 + 6]);   // centre
    EXPECT_EQ(0xFFFFFF00u, pixels[11 * 12 + 11]); // yellow corner
}

TEST(RenderImageDecode, TranslucentPixelsArePremultipliedOnce)
{
    ImagePtr image = Decode(Fixture(L"alpha.png"));
    ASSERT_TRUE(image);
    EXPECT_TRUE(image->alphaChannel);
    const auto pixels = Pixels(*image);
    // Red 255 at alpha 128 is stored as 255 * 128 / 255 = 128.
    EXPECT_EQ(0x80800000u, pixels[0]);
    EXPECT_EQ(0xFF00FF00u, pixels[1]);
}

TEST(RenderImageDecode, PixelConversionMatchesPremultiplyForEveryChannelAndAlpha)
{
    // Red and blue are multiplied side by side in one register: a carry
    // between them, or a rounding off by one, shows in some pair.
    for (DWORD a = 0; a < 256; ++a) {
        for (DWORD c = 0; c < 256; ++c) {
            const DWORD r = c, g = 255 - c, b = c ^ 0x5A;
            const DWORD rgba = (a << 24) | (b << 16) | (g << 8) | r;
            const DWORD expected = (a << 24)
                | (static_cast<DWORD>(Premultiply(static_cast<BYTE>(r), static_cast<BYTE>(a))) << 16)
                | (static_cast<DWORD>(Premultiply(static_cast<BYTE>(g), static_cast<BYTE>(a))) << 8)
                | Premultiply(static_cast<BYTE>(b), static_cast<BYTE>(a));
            ASSERT_EQ(expected, PremultipliedBgraFromRgba(rgba)) << "alpha " << a << ", channel " << c;
        }
    }
}

TEST(RenderImageDecode, DecoderGetsTheOfferedBitmapMemoryOnceAndNeverFreesIt)
{
    std::vector<unsigned char> bitmap(64, 0x11);
    {
        CStbOutputScope output(bitmap.data(), bitmap.size());
        void* other = StbMalloc(32);
        EXPECT_NE(static_cast<void*>(bitmap.data()), other);
        void* first = StbMalloc(64);
        EXPECT_EQ(static_cast<void*>(bitmap.data()), first);
        void* second = StbMalloc(64);
        EXPECT_NE(first, second);
        StbFree(first);  // left to the bitmap
        static_cast<unsigned char*>(first)[63] = 0x22;
        // Growing it moves the contents to the heap.
        void* grown = StbRealloc(first, 128);
        ASSERT_NE(nullptr, grown);
        EXPECT_NE(first, grown);
        EXPECT_EQ(0x11, static_cast<unsigned char*>(grown)[0]);
        EXPECT_EQ(0x22, static_cast<unsigned char*>(grown)[63]);
        StbFree(grown);
        StbFree(second);
        StbFree(other);
    }
    // With the scope closed nothing is offered.
    void* plain = StbMalloc(64);
    EXPECT_NE(static_cast<void*>(bitmap.data()), plain);
    StbFree(plain);
}

TEST(RenderImageDecode, HeadersClaimingHugePicturesWithoutDataAreRefused)
{
    // A PNG signature and header alone: below and above the size at which
    // the bitmap is made before decoding, neither may load or crash.
    for (const unsigned side : { 4000u, 30000u }) {
        std::vector<BYTE> png = { 0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R' };
        for (int shift = 24; shift >= 0; shift -= 8) png.push_back(static_cast<BYTE>(side >> shift));
        for (int shift = 24; shift >= 0; shift -= 8) png.push_back(static_cast<BYTE>(side >> shift));
        png.insert(png.end(), { 8, 6, 0, 0, 0, 0, 0, 0, 0 });  // 8-bit RGBA, CRC
        EXPECT_FALSE(Decode(png)) << side;
    }
}

TEST(RenderImageDecode, MaskComparesTheWholePixelAfterPremultiplication)
{
    // Six digits carry alpha 0: never equal to an opaque pixel.
    ImagePtr unmasked = Decode(Fixture(L"magenta.png"), 0x00FF00FFu);
    ASSERT_TRUE(unmasked);
    EXPECT_FALSE(unmasked->alphaChannel);
    EXPECT_EQ(0xFFFF00FFu, Pixels(*unmasked)[0]);

    ImagePtr masked = Decode(Fixture(L"magenta.png"), 0xFFFF00FFu);
    ASSERT_TRUE(masked);
    EXPECT_TRUE(masked->alphaChannel);
    const auto pixels = Pixels(*masked);
    EXPECT_EQ(0u, pixels[0]);
    EXPECT_EQ(0xFFFFFFFFu, pixels[1]);
    EXPECT_EQ(0xFF000000u, pixels[2]);
    EXPECT_EQ(0u, pixels[3]);

    // The default mask 0 only matches pixels that already are transparent black.
    ImagePtr defaultMask = Decode(Fixture(L"magenta.png"), 0);
    ASSERT_TRUE(defaultMask);
    EXPECT_FALSE(defaultMask->alphaChannel);
}

TEST(RenderImageDecode, DamagedDataGivesNull)
{
    const std::vector<BYTE> good = Fixture(L"grid.png");
    ASSERT_GT(good.size(), 40u);
    EXPECT_FALSE(DecodeImage(nullptr, 10, 0));
    EXPECT_FALSE(DecodeImage(good.data(), 0, 0));

    std::vector<BYTE> truncated(good.begin(), good.begin() + good.size() / 2);
    EXPECT_FALSE(Decode(truncated));

    std::vector<BYTE> garbage(300);
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<BYTE>(i * 37 + 11);
    EXPECT_FALSE(Decode(garbage));

    // A PNG header that claims a huge picture with no data behind it.
    std::vector<BYTE> huge(good.begin(), good.begin() + 33);
    huge[16] = 0x7F;
    huge[20] = 0x7F;
    EXPECT_FALSE(Decode(huge));
}

TEST(RenderImageDecode, FileSourceReadsWholeFilesOnly)
{
    std::vector<BYTE> data;
    EXPECT_TRUE(ReadImageFile(TestSupport::FixturePath(L"render/grid.png").c_str(), data));
    EXPECT_EQ(Fixture(L"grid.png"), data);

    EXPECT_FALSE(ReadImageFile(TestSupport::FixturePath(L"render/missing.png").c_str(), data));
    EXPECT_TRUE(data.empty());
    EXPECT_FALSE(ReadImageFile(nullptr, data));
    EXPECT_FALSE(ReadImageFile(L"", data));

    const std::wstring empty = TestSupport::BuildPath(L"render_empty.png");
    ASSERT_TRUE(TestSupport::WriteFileBytes(empty, {}));
    EXPECT_FALSE(ReadImageFile(empty.c_str(), data));
}

TEST(RenderImageDecode, ResourceSourceCopiesTheResource)
{
    std::vector<BYTE> data;
    // Type names are stored upper-case; lookups ignore case.
    EXPECT_TRUE(ReadImageResource(nullptr, MAKEINTRESOURCEW(201), L"png", data));
    EXPECT_EQ(Fixture(L"grid.png"), data);
    ImagePtr image = Decode(data);
    ASSERT_TRUE(image);
    EXPECT_EQ(12, image->nX);

    EXPECT_FALSE(ReadImageResource(nullptr, MAKEINTRESOURCEW(299), L"png", data));
    EXPECT_TRUE(data.empty());
    EXPECT_FALSE(ReadImageResource(nullptr, MAKEINTRESOURCEW(201), L"nosuchtype", data));
}
