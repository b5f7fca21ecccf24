// Every stock control in one window, rendered for real and compared with a
// committed reference picture. Text rendering differs a little between
// systems, so pixels may differ by a tolerance and a small share of them may
// differ more.
#include <gtest/gtest.h>

#include <windows.h>

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
// ... and at most this share of the pixels may be different.
constexpr double kMaxDifferentShare = 0.03;

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
        L"TreeViewUI", L"TreeNodeUI", L"ListUI", L"ListHeaderItemUI", L"ListLabelElementUI" };
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

    size_t different = 0;
    for (size_t i = 0; i < actual.rgba.size(); i += 4) {
        for (size_t c = 0; c < 3; ++c) {
            if (std::abs(static_cast<int>(actual.rgba[i + c]) - static_cast<int>(reference.rgba[i + c]))
                > kChannelTolerance) {
                ++different;
                break;
            }
        }
    }
    const double share = static_cast<double>(different) / (static_cast<double>(kWidth) * kHeight);
    EXPECT_LE(share, kMaxDifferentShare) << different << " pixels differ; the rendering is in gallery_actual.png";
}

TEST(Gallery, ComparisonNoticesAMissingControl)
{
    // The tolerance must not swallow a whole control: hiding the tile
    // layout has to break the comparison.
    Gallery g;
    ASSERT_NE(nullptr, g.root);
    CControlUI* tiles = g.host.Manager().FindSubControlByClass(g.root, L"TileLayoutUI", 0);
    ASSERT_NE(nullptr, tiles);
    Picture reference;
    ASSERT_TRUE(ReadPng(GALLERY_REFERENCE, reference));
    const RECT rc = tiles->GetPos();
    tiles->SetVisible(false);
    g.host.Pump(60);
    const Picture actual = g.Capture();
    ASSERT_EQ(reference.rgba.size(), actual.rgba.size());
    size_t different = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            const size_t i = (static_cast<size_t>(y) * kWidth + x) * 4;
            if (std::abs(static_cast<int>(actual.rgba[i]) - static_cast<int>(reference.rgba[i])) > kChannelTolerance
                || std::abs(static_cast<int>(actual.rgba[i + 1]) - static_cast<int>(reference.rgba[i + 1]))
                    > kChannelTolerance
                || std::abs(static_cast<int>(actual.rgba[i + 2]) - static_cast<int>(reference.rgba[i + 2]))
                    > kChannelTolerance) {
                ++different;
            }
        }
    }
    EXPECT_GT(static_cast<double>(different) / (static_cast<double>(kWidth) * kHeight), kMaxDifferentShare);
}
