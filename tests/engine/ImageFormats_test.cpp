// The decoder is compiled for the formats skins use; every other one is refused.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/DecodedImage.h"
#include "engine/RenderEngine.h"
#include "engine/RenderEngineInternal.h"

using namespace Veneer;
using namespace Veneer::RenderInternal;
using DecodedImage::ImagePtr;

namespace {

using Bytes = std::vector<BYTE>;

ImagePtr Decode(const Bytes& bytes)
{
    return ImagePtr(DecodeImage(bytes.data(), bytes.size(), 0));
}

Bytes Text(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

void Put32(Bytes& b, unsigned v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<BYTE>(v >> (8 * i)));
}

void Put16(Bytes& b, unsigned v)
{
    b.push_back(static_cast<BYTE>(v));
    b.push_back(static_cast<BYTE>(v >> 8));
}

// A 2 x 1 bottom-up 24-bit bitmap: one red and one blue pixel.
Bytes SmallBmp()
{
    Bytes b = Text("BM");
    Put32(b, 14 + 40 + 8);
    Put32(b, 0);
    Put32(b, 14 + 40);
    Put32(b, 40);
    Put32(b, 2);
    Put32(b, 1);
    Put16(b, 1);
    Put16(b, 24);
    Put32(b, 0);
    Put32(b, 8);
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, 0);
    Put32(b, 0);
    const BYTE row[] = { 0, 0, 255, 255, 0, 0, 0, 0 };
    b.insert(b.end(), row, row + 8);
    return b;
}

}  // namespace

TEST(ImageFormats, SkinFormatsDecode)
{
    ImagePtr bmp = Decode(SmallBmp());
    ASSERT_TRUE(bmp);
    EXPECT_EQ(2, bmp->nX);
    EXPECT_EQ(1, bmp->nY);

    // The smallest transparent GIF there is.
    const BYTE gif[] = { 'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0,
        '!', 0xF9, 4, 1, 0, 0, 0, 0, ',', 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 'D', 1, 0, ';' };
    ImagePtr decoded = Decode(Bytes(gif, gif + sizeof(gif)));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(1, decoded->nX);
    EXPECT_TRUE(decoded->alphaChannel);
}

TEST(ImageFormats, OtherFormatsAreRefused)
{
    // Valid files of formats no skin needs, among them the two that broke the decoder:
    // a 16-bit PNM and an HDR whose run count is zero at the end of the input.
    Bytes pnm16 = Text("P6\n1 1\n65535\n");
    pnm16.insert(pnm16.end(), 6, 0x80);
    Bytes pnm8 = Text("P6\n1 1\n255\n");
    pnm8.insert(pnm8.end(), 3, 0x80);
    Bytes hdr = Text("#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 1 +X 8\n");
    const BYTE run[] = { 2, 2, 0, 8, 0x80 };
    hdr.insert(hdr.end(), run, run + sizeof(run));
    Bytes tga = { 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 24, 0, 1, 2, 3 };
    Bytes psd = Text("8BPS");
    psd.insert(psd.end(), 40, 0);
    Bytes pic = { 0x53, 0x80, 0xF6, 0x34 };
    pic.insert(pic.end(), 100, 0);
    for (const Bytes& refused : { pnm16, pnm8, hdr, tga, psd, pic })
        EXPECT_FALSE(Decode(refused)) << refused.size();
}
