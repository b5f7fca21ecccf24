#include "PngFile.h"

#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include "stb_image_write.h"

namespace SkinTool {

namespace {

void Collect(void* context, void* data, int size)
{
    std::vector<unsigned char>& bytes = *static_cast<std::vector<unsigned char>*>(context);
    const unsigned char* p = static_cast<const unsigned char*>(data);
    bytes.insert(bytes.end(), p, p + size);
}

}  // namespace

bool WriteBitmapPng(HBITMAP bitmap, const std::wstring& path)
{
    DIBSECTION dib = {};
    if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBits == nullptr ||
        dib.dsBm.bmBitsPixel != 32)
        return false;
    const int width = dib.dsBm.bmWidth;
    const int height = dib.dsBm.bmHeight;
    const bool bottomUp = dib.dsBmih.biHeight > 0;
    const unsigned char* bits = static_cast<const unsigned char*>(dib.dsBm.bmBits);
    // GDI leaves alpha undefined in what it draws: the picture is opaque.
    std::vector<unsigned char> rgba(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = bits + static_cast<size_t>(bottomUp ? height - 1 - y : y) * dib.dsBm.bmWidthBytes;
        for (int x = 0; x < width; ++x) {
            unsigned char* out = &rgba[(static_cast<size_t>(y) * width + x) * 4];
            out[0] = row[x * 4 + 2];
            out[1] = row[x * 4 + 1];
            out[2] = row[x * 4 + 0];
            out[3] = 255;
        }
    }
    std::vector<unsigned char> png;
    if (!stbi_write_png_to_func(Collect, &png, width, height, 4, rgba.data(), width * 4)) return false;

    // Written beside the target and moved over it: never a half-written picture.
    const std::wstring temporary = path + L".partial";
    HANDLE file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = ::WriteFile(file, png.data(), static_cast<DWORD>(png.size()), &written, nullptr) &&
                    written == png.size();
    ::CloseHandle(file);
    if (!ok || !::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        ::DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace SkinTool
