// Render engine figures, each beside a bare baseline measured in the same run:
// loading and premultiplying a 1286 x 768 PNG against stb_image's decode of
// the same bytes, and nine-grid drawing into a DIB of that size against a
// plain BitBlt of the same bitmap.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "engine/PaintManagerUI.h"
#include "engine/RenderEngine.h"
#include "stb_image.h"

using namespace Veneer;

namespace {

double Milliseconds(int rounds, const std::function<void()>& work)
{
    LARGE_INTEGER frequency {}, start {}, end {};
    ::QueryPerformanceFrequency(&frequency);
    work();  // warm-up
    ::QueryPerformanceCounter(&start);
    for (int i = 0; i < rounds; ++i) work();
    ::QueryPerformanceCounter(&end);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart) / rounds;
}

std::wstring BesideExecutable(const wchar_t* name)
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    return folder + name;
}

std::vector<unsigned char> ReadAll(const std::wstring& path)
{
    std::vector<unsigned char> bytes;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    bytes.resize(::GetFileSize(file, nullptr));
    DWORD read = 0;
    if (!::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size())
        bytes.clear();
    ::CloseHandle(file);
    return bytes;
}

HBITMAP CreateTarget(int width, int height)
{
    BITMAPINFO bmi {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::wstring path = argc > 1 ? std::wstring(argv[1], argv[1] + strlen(argv[1]))
                                       : BesideExecutable(L"render_bench.png");
    const std::vector<unsigned char> bytes = ReadAll(path);
    if (bytes.empty()) {
        std::printf("cannot read %ls\n", path.c_str());
        return 1;
    }
    TImageInfo* image = CRenderEngine::LoadImage(path.c_str());
    if (image == nullptr) {
        std::printf("cannot load %ls\n", path.c_str());
        return 1;
    }
    std::printf("image %d x %d, %zu bytes, alpha %s\n", image->nX, image->nY, bytes.size(),
        image->alphaChannel ? "yes" : "no");

    const int loadRounds = 10;
    const double load = Milliseconds(loadRounds, [&] { CRenderEngine::FreeImage(CRenderEngine::LoadImage(path.c_str())); });
    const double decode = Milliseconds(loadRounds, [&] {
        int w = 0, h = 0, n = 0;
        stbi_image_free(stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &n, 4));
    });
    std::printf("load + premultiply (LoadImage, from file)   %8.2f ms   baseline stb decode from memory %8.2f ms\n",
        load, decode);
    Bench::Row("PNG load + premultiply", load, "ms", "stb_image decode from memory", decode, "x<=1.15");

    const int width = image->nX;
    const int height = image->nY;
    HDC target = ::CreateCompatibleDC(nullptr);
    HBITMAP targetBitmap = CreateTarget(width, height);
    HGDIOBJ oldTarget = ::SelectObject(target, targetBitmap);
    HDC source = ::CreateCompatibleDC(nullptr);

    const RECT rc { 0, 0, width, height };
    const RECT corners { 12, 12, 12, 12 };
    const int drawRounds = 20;
    const double blended = Milliseconds(drawRounds, [&] {
        CRenderEngine::DrawImage(target, image->hBitmap, rc, rc, RECT { 0, 0, width, height - 100 }, corners, true);
    });
    const double opaque = Milliseconds(drawRounds, [&] {
        CRenderEngine::DrawImage(target, image->hBitmap, rc, rc, RECT { 0, 0, width, height - 100 }, corners, false);
    });
    const double bitblt = Milliseconds(drawRounds, [&] {
        HGDIOBJ old = ::SelectObject(source, image->hBitmap);
        ::BitBlt(target, 0, 0, width, height, source, 0, 0, SRCCOPY);
        ::SelectObject(source, old);
        ::GdiFlush();
    });
    std::printf("nine-grid, blended (AlphaBlend pieces)        %8.2f ms   baseline BitBlt of the bitmap    %8.2f ms\n",
        blended, bitblt);
    std::printf("nine-grid, opaque (StretchBlt pieces)         %8.2f ms   baseline BitBlt of the bitmap    %8.2f ms\n",
        opaque, bitblt);

    // As controls draw it: an image string over the manager's cached image,
    // whose stretched grid is composed on the first frame and copied after.
    CPaintManagerUI manager;
    auto addCopy = [&](LPCWSTR name, bool alpha) {
        TImageInfo* copy = CRenderEngine::LoadImage(path.c_str());
        if (copy == nullptr) return false;
        const bool added = manager.AddImage(name, copy->hBitmap, copy->nX, copy->nY, alpha) != nullptr;
        if (added) copy->hBitmap = nullptr;  // the manager owns it now
        CRenderEngine::FreeImage(copy);
        return added;
    };
    if (!addCopy(L"grid-alpha", true) || !addCopy(L"grid-opaque", false)) {
        std::printf("cannot add the image to a paint manager\n");
        return 1;
    }
    wchar_t slice[160] = {};
    std::swprintf(slice, 160, L"source='0,0,%d,%d' corner='12,12,12,12'", width, height - 100);
    const std::wstring blendedString = std::wstring(L"file='grid-alpha' ") + slice;
    const std::wstring opaqueString = std::wstring(L"file='grid-opaque' ") + slice;
    const double blendedFrame = Milliseconds(drawRounds, [&] {
        CRenderEngine::DrawImageString(target, &manager, rc, rc, blendedString.c_str());
        ::GdiFlush();
    });
    const double opaqueFrame = Milliseconds(drawRounds, [&] {
        CRenderEngine::DrawImageString(target, &manager, rc, rc, opaqueString.c_str());
        ::GdiFlush();
    });
    std::printf("nine-grid as a control draws it: blended %8.2f ms, opaque %8.2f ms\n", blendedFrame, opaqueFrame);
    Bench::Row("nine-grid opaque, as a control draws it", opaqueFrame, "ms", "BitBlt of the bitmap", bitblt, "x<=10");
    Bench::Row("nine-grid blended, as a control draws it", blendedFrame, "ms", "BitBlt of the bitmap", bitblt,
        "x<=20");
    Bench::Row("  first frame / bare DrawImage, opaque pieces", opaque, "ms", "BitBlt of the bitmap", bitblt, "-");
    Bench::Row("  first frame / bare DrawImage, blended pieces", blended, "ms", "BitBlt of the bitmap", bitblt, "-");
    // The floor of any blended frame: the platform's AlphaBlend of the whole
    // surface, which the cached grid hands its one draw to.
    const double alphaBlend = Milliseconds(drawRounds, [&] {
        HGDIOBJ old = ::SelectObject(source, image->hBitmap);
        const BLENDFUNCTION blend { AC_SRC_OVER, 0, 255, AC_SRC_ALPHA };
        ::AlphaBlend(target, 0, 0, width, height, source, 0, 0, width, height, blend);
        ::SelectObject(source, old);
        ::GdiFlush();
    });
    Bench::Row("  one AlphaBlend of the surface (platform)", alphaBlend, "ms", "BitBlt of the bitmap", bitblt, "-");

    ::DeleteDC(source);
    ::SelectObject(target, oldTarget);
    ::DeleteObject(targetBitmap);
    ::DeleteDC(target);
    CRenderEngine::FreeImage(image);
    return 0;
}
