// Where image bytes come from (file, archive entry, module resource) and
// how they become a premultiplied 32-bit bitmap.
#include <climits>
#include <cstring>
#include <memory>

#include "engine/GdiPlusInclude.h"
#include "engine/GdiPlusSession.h"
#include "engine/RenderEngineInternal.h"
#include "engine/StbOutput.h"
#include "foundation/HandleHolder.h"
#include "stb_image.h"

namespace Veneer {
namespace RenderInternal {

namespace {

struct TStbPixelsDeleter {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

}  // namespace

bool ReadImageFile(LPCWSTR path, std::vector<BYTE>& data)
{
    data.clear();
    if (path == nullptr || *path == L'\0') return false;
    CHandleHolder file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return false;
    LARGE_INTEGER size {};
    if (!::GetFileSizeEx(file.Get(), &size)) return false;
    if (size.QuadPart <= 0 || size.QuadPart > kMaxImageBytes) return false;
    data.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!::ReadFile(file.Get(), data.data(), static_cast<DWORD>(data.size()), &read, nullptr)
        || read != data.size()) {
        data.clear();
        return false;
    }
    return true;
}

bool ReadImageResource(HMODULE module, LPCWSTR name, LPCWSTR type, std::vector<BYTE>& data)
{
    data.clear();
    if (name == nullptr || type == nullptr) return false;
    HRSRC found = ::FindResourceW(module, name, type);
    if (found == nullptr) return false;
    HGLOBAL loaded = ::LoadResource(module, found);
    if (loaded == nullptr) return false;
    const DWORD size = ::SizeofResource(module, found);
    const void* bytes = ::LockResource(loaded);
    if (size == 0 || size > kMaxImageBytes || bytes == nullptr) {
        ::FreeResource(loaded);
        return false;
    }
    data.assign(static_cast<const BYTE*>(bytes), static_cast<const BYTE*>(bytes) + size);
    ::FreeResource(loaded);
    return true;
}

TImageInfo* DecodeImage(const BYTE* data, size_t size, DWORD mask)
{
    if (data == nullptr || size == 0 || size > static_cast<size_t>(INT_MAX)) return nullptr;
    if (TImageInfo* picture = DecodePngRows(data, size, mask)) return picture;

    // The bitmap first when the header tells a plausible size: the decoder
    // then writes its output into the bitmap's own pixels, converted in place,
    // instead of into a second buffer the size of the picture.
    int declaredWidth = 0;
    int declaredHeight = 0;
    int declaredChannels = 0;
    void* bits = nullptr;
    HBITMAP bitmap = nullptr;
    if (stbi_info_from_memory(data, static_cast<int>(size), &declaredWidth, &declaredHeight, &declaredChannels)
        && declaredWidth > 0 && declaredHeight > 0
        && static_cast<unsigned long long>(declaredWidth) * static_cast<unsigned long long>(declaredHeight)
            <= kMaxDirectDecodePixels) {
        bitmap = CreateDib32(declaredWidth, declaredHeight, &bits);
        if (bitmap == nullptr) bits = nullptr;
    }
    const size_t declaredBytes = static_cast<size_t>(declaredWidth) * static_cast<size_t>(declaredHeight) * 4;
    // Declared before the pixels: their release must still see the offer.
    CStbOutputScope output(bits, declaredBytes);

    int width = 0;
    int height = 0;
    int channels = 0;
    std::unique_ptr<stbi_uc, TStbPixelsDeleter> pixels(
        stbi_load_from_memory(data, static_cast<int>(size), &width, &height, &channels, 4));
    const bool sameSize = width == declaredWidth && height == declaredHeight;
    if (!pixels || width <= 0 || height <= 0 || (pixels.get() == bits && !sameSize)) {
        if (bitmap != nullptr) ::DeleteObject(bitmap);
        return nullptr;
    }
    if (bitmap != nullptr && !sameSize) {
        ::DeleteObject(bitmap);
        bitmap = nullptr;
    }
    if (bitmap == nullptr) {
        bitmap = CreateDib32(width, height, &bits);
        if (bitmap == nullptr || bits == nullptr) {
            if (bitmap != nullptr) ::DeleteObject(bitmap);
            return nullptr;
        }
    }

    // One pass over the decoded pixels, each read and written as one 32-bit
    // value (in place when the decoder wrote into the bitmap).
    const stbi_uc* src = pixels.get();
    const bool alpha = StoreLoaderPixels(static_cast<DWORD*>(bits), static_cast<size_t>(width) * height, mask,
        [src](size_t i) {
            DWORD rgba = 0;
            std::memcpy(&rgba, src + 4 * i, sizeof(rgba));
            return rgba;
        });

    TImageInfo* info = new TImageInfo;
    info->hBitmap = bitmap;
    info->nX = width;
    info->nY = height;
    info->alphaChannel = alpha;
    return info;
}

}  // namespace RenderInternal

void CRenderEngine::FreeImage(TImageInfo* bitmap)
{
    if (bitmap == nullptr) return;
    if (bitmap->hBitmap != nullptr) {
        RenderInternal::ForgetComposedNineGrids(bitmap->hBitmap);
        ::DeleteObject(bitmap->hBitmap);
    }
    delete bitmap;
}

TImageInfo* CRenderEngine::LoadImageFromHICON(HICON hIcon)
{
    using namespace Gdiplus::DllExports;
    if (hIcon == nullptr || !EnsureGdiPlus()) return nullptr;
    Gdiplus::GpBitmap* image = nullptr;
    if (GdipCreateBitmapFromHICON(hIcon, &image) != Gdiplus::Ok || image == nullptr) return nullptr;
    struct TImageRelease {
        Gdiplus::GpBitmap* image;
        ~TImageRelease() { GdipDisposeImage(image); }
    } release { image };

    UINT width = 0;
    UINT height = 0;
    GdipGetImageWidth(image, &width);
    GdipGetImageHeight(image, &height);
    HBITMAP bitmap = nullptr;
    if (GdipCreateHBITMAPFromBitmap(image, &bitmap, 0xFF000000u) != Gdiplus::Ok || bitmap == nullptr) return nullptr;

    TImageInfo* info = new TImageInfo;
    info->hBitmap = bitmap;
    info->nX = static_cast<int>(width);
    info->nY = static_cast<int>(height);
    info->alphaChannel = false;
    return info;
}

}  // namespace Veneer
