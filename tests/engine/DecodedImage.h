#pragma once
// A decoded image owned by a test, and its pixels read back.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/RenderEngine.h"

namespace DecodedImage {

struct TImageDeleter {
    void operator()(Veneer::TImageInfo* image) const { Veneer::CRenderEngine::FreeImage(image); }
};
using ImagePtr = std::unique_ptr<Veneer::TImageInfo, TImageDeleter>;

// The bitmap's pixels as 0xAARRGGBB, top row first.
inline std::vector<DWORD> Pixels(const Veneer::TImageInfo& image)
{
    DIBSECTION section {};
    EXPECT_EQ(static_cast<int>(sizeof(section)), ::GetObjectW(image.hBitmap, sizeof(section), &section));
    EXPECT_EQ(32, section.dsBm.bmBitsPixel);
    const DWORD* bits = static_cast<const DWORD*>(section.dsBm.bmBits);
    return std::vector<DWORD>(bits, bits + image.nX * image.nY);
}

}  // namespace DecodedImage
