// Every stock control in one window, rendered for real and compared with a
// committed reference picture. Text rendering differs a little between
// systems, so pixels may differ by a tolerance and a small share of them may
// differ more.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "controls/ContainerUI.h"
#include "controls/DateTimeUI.h"
#include "controls/TreeViewUI.h"
#include "controls/window/HostWindow.h"
#include "engine/PaintManagerUI.h"
#include "foundation/DialogBuilder.h"
#include "support/TestSupport.h"

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#endif
#define STBI_NO_STDIO
#include "stb_image.h"
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include "stb_image_write.h"
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

using namespace Veneer;

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 460;
// A channel off by more than this counts the pixel as different ...
constexpr int kChannelTolerance = 48;
// ... and at most this share of the pixels may be different, in the whole
// picture and in any one square tile of it.
constexpr double kMaxDifferentShare = 0.02;
constexpr int kTile = 32;
constexpr double kMaxDifferentTileShare = 0.25;

struct Picture {
    int width { 0 };
    int height { 0 };
    std::vector<unsigned char> rgba;
};

class Gallery {
public:
    Gallery() : host(kWidth, kHeight)
    {
        CPaintManagerUI::SetResourcePath(GALLERY_SKIN_DIR);
        CDialogBuilder builder;
        root = builder.Create(STRINGorID(L"gallery.xml"), nullptr, nullptr, &host.Manager());
        if (root == nullptr) return;
        host.Attach(root);
        // Idle: no control holds the focus, so no native window lies on top.
        host.Manager().SetFocus(nullptr);
        host.Pump(100);
    }

    Picture Capture()
    {
        Picture picture;
        ::InvalidateRect(host.Handle(), nullptr, TRUE);
        ::UpdateWindow(host.Handle());
        HDC window = ::GetDC(host.Handle());
        HDC memory = ::CreateCompatibleDC(window);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bitmap != nullptr && bits != nullptr) {
            HGDIOBJ old = ::SelectObject(memory, bitmap);
            ::BitBlt(memory, 0, 0, kWidth, kHeight, window, 0, 0, SRCCOPY);
            ::GdiFlush();
            picture.width = kWidth;
            picture.height = kHeight;
            picture.rgba.resize(static_cast<size_t>(kWidth) * kHeight * 4);
            const unsigned char* bgra = static_cast<const unsigned char*>(bits);
            for (size_t i = 0; i < picture.rgba.size(); i += 4) {
                picture.rgba[i] = bgra[i + 2];
                picture.rgba[i + 1] = bgra[i + 1];
                picture.rgba[i + 2] = bgra[i];
                picture.rgba[i + 3] = 255;
            }
            ::SelectObject(memory, old);
        }
        if (bitmap != nullptr) ::DeleteObject(bitmap);
        ::DeleteDC(memory);
        ::ReleaseDC(host.Handle(), window);
        return picture;
    }

    ControlWindowTest::HostWindow host;
    CControlUI* root { nullptr };
};

void AppendBytes(void* context, void* data, int size)
{
    auto* out = static_cast<std::vector<unsigned char>*>(context);
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

bool WritePng(const std::wstring& path, const Picture& picture)
{
    std::vector<unsigned char> png;
    if (stbi_write_png_to_func(&AppendBytes, &png, picture.width, picture.height, 4, picture.rgba.data(),
            picture.width * 4) == 0) {
        return false;
    }
    return TestSupport::WriteFileBytes(path, png);
}

bool ReadPng(const std::wstring& path, Picture& picture)
{
    const std::vector<unsigned char> bytes = TestSupport::ReadFileBytes(path);
    if (bytes.empty()) return false;
    int channels = 0;
    unsigned char* pixels = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &picture.width,
        &picture.height, &channels, 4);
    if (pixels == nullptr) return false;
    picture.rgba.assign(pixels, pixels + static_cast<size_t>(picture.width) * picture.height * 4);
    stbi_image_free(pixels);
    return true;
}

struct Difference {
    double share { 0.0 };
    double worstTileShare { 0.0 };
    POINT worstTile { 0, 0 };
    bool Matches() const { return share <= kMaxDifferentShare && worstTileShare <= kMaxDifferentTileShare; }
};

bool PixelDiffers(const Picture& a, const Picture& b, size_t i)
{
    for (size_t c = 0; c < 3; ++c) {
        if (std::abs(static_cast<int>(a.rgba[i + c]) - static_cast<int>(b.rgba[i + c])) > kChannelTolerance)
            return true;
    }
    return false;
}

Difference Compare(const Picture& actual, const Picture& reference)
{
    Difference d;
    if (actual.width != reference.width || actual.height != reference.height) {
        d.share = 1.0;
        return d;
    }
    const int tilesX = (actual.width + kTile - 1) / kTile;
    const int tilesY = (actual.height + kTile - 1) / kTile;
    std::vector<int> tileCounts(static_cast<size_t>(tilesX) * tilesY, 0);
    size_t different = 0;
    for (int y = 0; y < actual.height; ++y) {
        for (int x = 0; x < actual.width; ++x) {
            if (!PixelDiffers(actual, reference, (static_cast<size_t>(y) * actual.width + x) * 4)) continue;
            ++different;
            ++tileCounts[static_cast<size_t>(y / kTile) * tilesX + x / kTile];
        }
    }
    d.share = static_cast<double>(different) / (static_cast<double>(actual.width) * actual.height);
    for (int ty = 0; ty < tilesY; ++ty) {
        for (int tx = 0; tx < tilesX; ++tx) {
            const int w = std::min(kTile, actual.width - tx * kTile);
            const int h = std::min(kTile, actual.height - ty * kTile);
            const double share = static_cast<double>(tileCounts[static_cast<size_t>(ty) * tilesX + tx]) / (w * h);
            if (share > d.worstTileShare) {
                d.worstTileShare = share;
                d.worstTile = POINT { tx * kTile, ty * kTile };
            }
        }
    }
    return d;
}

int CountNodes(CContainerUI* container, LPCWSTR cls)
{
    int n = 0;
    for (int i = 0; i < container->GetCount(); ++i) {
        CControlUI* child = container->GetItemAt(i);
        if (std::wstring(child->GetClass()) == cls) ++n;
    }
    return n;
}

}  // namespace

TEST(Gallery, BuildsEveryStockControl)
{
    Gallery g;
    ASSERT_NE(nullptr, g.root);
    CPaintManagerUI& pm = g.host.Manager();
    const wchar_t* classes[] = { L"LabelUI", L"TextUI", L"ButtonUI", L"OptionUI", L"CheckBoxUI", L"ProgressUI",
        L"SliderUI", L"EditUI", L"DateTimeUI", L"TileLayoutUI", L"TabLayoutUI", L"ChildLayoutUI", L"ScrollBarUI",
        L"TreeViewUI", L"TreeNodeUI", L"ListUI", L"ListHeaderItemUI", L"ListLabelElementUI", L"ComboUI" };
    for (const wchar_t* cls : classes) {
        EXPECT_NE(nullptr, pm.FindSubControlByClass(g.root, cls, 0)) << cls;
    }
    auto* date = static_cast<CDateTimeUI*>(pm.FindControl(L"date"));
    ASSERT_NE(nullptr, date);
    EXPECT_STREQ(L"2020-05-17", date->GetText().GetData());
    auto* tree = static_cast<CTreeViewUI*>(pm.FindControl(L"tree"));
    ASSERT_NE(nullptr, tree);
    EXPECT_EQ(7, tree->GetCount());
    EXPECT_EQ(7, CountNodes(tree->GetList(), L"TreeNodeUI"));
}

TEST(Gallery, RendersLikeTheReferencePicture)
{
    Gallery g;
    ASSERT_NE(nullptr, g.root);
    const Picture actual = g.Capture();
    ASSERT_EQ(kWidth, actual.width);
    // Kept beside the build for a look when the comparison fails, and to
    // make a new reference from.
    const std::wstring actualPath = TestSupport::BuildPath(L"gallery_actual.png");
    EXPECT_TRUE(WritePng(actualPath, actual));

    Picture reference;
    ASSERT_TRUE(ReadPng(GALLERY_REFERENCE, reference)) << "no reference picture";
    ASSERT_EQ(actual.width, reference.width);
    ASSERT_EQ(actual.height, reference.height);
    const Difference d = Compare(actual, reference);
    EXPECT_LE(d.share, kMaxDifferentShare) << "the rendering is in gallery_actual.png";
    EXPECT_LE(d.worstTileShare, kMaxDifferentTileShare) << "tile at " << d.worstTile.x << "," << d.worstTile.y;
}

TEST(Gallery, ComparisonNoticesAMissingControl)
{
    // The tolerance must not swallow a control: hiding one breaks the
    // comparison, though the rest of the window is unchanged.
    Gallery g;
    ASSERT_NE(nullptr, g.root);
    Picture reference;
    ASSERT_TRUE(ReadPng(GALLERY_REFERENCE, reference));
    const Picture before = g.Capture();
    ASSERT_EQ(reference.rgba.size(), before.rgba.size());
    EXPECT_TRUE(Compare(before, reference).Matches());

    CControlUI* combo = g.host.Manager().FindControl(L"combo");
    ASSERT_NE(nullptr, combo);
    combo->SetVisible(false);
    g.host.Pump(60);
    EXPECT_FALSE(Compare(g.Capture(), reference).Matches());
}
