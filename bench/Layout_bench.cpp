// Lays out and paints a tree of 1,000 controls in nested linear layouts at
// 1286x768, beside a bare BitBlt of a surface of the same size in the same
// run. Medians over repetitions.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "BenchSupport.h"
#include "controls/HorizontalLayoutUI.h"
#include "controls/VerticalLayoutUI.h"
#include "engine/PaintManagerUI.h"

using namespace Veneer;

namespace {

constexpr int kWidth = 1286;
constexpr int kHeight = 768;
constexpr int kRows = 27;
constexpr int kColumnsPerRow = 9;
constexpr int kLeavesPerColumn = 3;
constexpr int kRepetitions = 200;

// Root, rows, columns and leaves: 1 + 27 + 243 + 729 = 1000 controls, with
// fixed, stretching and clamped sizes, paddings, borders and colours.
CVerticalLayoutUI* BuildTree(int& count)
{
    auto* root = new CVerticalLayoutUI;
    root->SetBkColor(0xFFF0F0F0);
    root->SetInset(RECT { 4, 4, 4, 4 });
    root->SetChildPadding(2);
    count = 1;
    for (int r = 0; r < kRows; ++r) {
        auto* row = new CHorizontalLayoutUI;
        row->SetChildPadding(3);
        if (r % 3 == 0) {
            row->SetFixedHeight(30);
        }
        row->SetBkColor(r % 2 == 0 ? 0xFFE0E8F0 : 0xFFF0E8E0);
        root->Add(row);
        ++count;
        for (int c = 0; c < kColumnsPerRow; ++c) {
            auto* column = new CVerticalLayoutUI;
            if (c % 4 == 1) {
                column->SetFixedWidth(90);
            }
            column->SetBorderColor(0xFF808080);
            column->SetBorderSize(1);
            row->Add(column);
            ++count;
            for (int l = 0; l < kLeavesPerColumn; ++l) {
                auto* leaf = new CControlUI;
                leaf->SetPadding(RECT { 1, 1, 1, 1 });
                if (l == 0) {
                    leaf->SetFixedHeight(6);
                } else if (l == 1) {
                    leaf->SetMaxHeight(12);
                }
                leaf->SetBkColor(0xFF000000 | static_cast<DWORD>((r * 9 + c) * 0x010203 + l * 0x30));
                if ((r + c + l) % 5 == 0) {
                    leaf->SetBkColor(0x80FF0000);
                }
                column->Add(leaf);
                ++count;
            }
        }
    }
    return root;
}

}  // namespace

int main()
{
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    HWND window = Bench::HiddenWindow(L"VeneerLayoutBench", kWidth, kHeight);
    if (window == nullptr) {
        std::printf("cannot create the window\n");
        return 1;
    }

    int count = 0;
    int status = 0;
    {
        CPaintManagerUI manager;
        manager.Init(window);
        CVerticalLayoutUI* root = BuildTree(count);
        manager.AttachDialog(root);

        Bench::Surface surfaceBuffer(kWidth, kHeight);
        Bench::Surface targetBuffer(kWidth, kHeight);
        HDC surface = surfaceBuffer.dc();
        HDC target = targetBuffer.dc();

        const RECT full = { 0, 0, kWidth, kHeight };
        const RECT narrower = { 0, 0, kWidth - 37, kHeight };
        bool toggle = false;
        const double layout = Bench::MedianMicroseconds(kRepetitions, [&] {
            // Alternate sizes so every pass really moves the children.
            root->SetPos((toggle = !toggle) ? narrower : full);
        });
        root->SetPos(full);

        // The same tree with no window behind it: the arithmetic alone,
        // without the invalidation each placed control hands to the window.
        int detachedCount = 0;
        CVerticalLayoutUI* detached = BuildTree(detachedCount);
        const double layoutDetached = Bench::MedianMicroseconds(kRepetitions, [&] {
            detached->SetPos((toggle = !toggle) ? narrower : full);
        });
        delete detached;
        // What an attached pass cannot avoid: the one invalidation it hands
        // the window (a round trip to the window server under Wine).
        const double invalidate = Bench::MedianMicroseconds(kRepetitions, [&] {
            ::InvalidateRect(window, &full, FALSE);
        });

        const double paint = Bench::MedianMicroseconds(kRepetitions, [&] {
            root->DoPaint(surface, full);
            ::GdiFlush();
        });
        // The leaves alone, without the containers' clip regions around them.
        std::vector<CControlUI*> leaves;
        for (int r = 0; r < root->GetCount(); ++r) {
            auto* row = static_cast<CContainerUI*>(root->GetItemAt(r));
            for (int c = 0; c < row->GetCount(); ++c) {
                auto* column = static_cast<CContainerUI*>(row->GetItemAt(c));
                for (int l = 0; l < column->GetCount(); ++l) {
                    leaves.push_back(column->GetItemAt(l));
                }
            }
        }
        const double paintLeaves = Bench::MedianMicroseconds(kRepetitions, [&] {
            for (CControlUI* leaf : leaves) {
                leaf->DoPaint(surface, full);
            }
            ::GdiFlush();
        });
        const double blit = Bench::MedianMicroseconds(kRepetitions, [&] {
            ::BitBlt(target, 0, 0, kWidth, kHeight, surface, 0, 0, SRCCOPY);
            ::GdiFlush();
        });

        if (!surfaceBuffer.ok() || !targetBuffer.ok()) {
            std::printf("cannot create the surfaces\n");
            status = 1;
        } else {
            std::printf("controls: %d, surface %dx%d, median of %d\n", count, kWidth, kHeight, kRepetitions);
            std::printf("layout pass:      %10.1f us\n", layout);
            std::printf("  without window: %10.1f us\n", layoutDetached);
            std::printf("full paint:       %10.1f us\n", paint);
            std::printf("  leaves alone:   %10.1f us (%d controls)\n", paintLeaves, static_cast<int>(leaves.size()));
            std::printf("bare BitBlt:      %10.1f us (baseline)\n", blit);
            std::printf("paint / BitBlt:   %10.1f x\n", blit > 0 ? paint / blit : 0.0);
            Bench::Row("layout pass, 1,000 controls in a window", layout, "us", "the same pass detached",
                layoutDetached, "x<=3");
            std::printf("  one InvalidateRect: %8.1f us\n", invalidate);
            Bench::Row("  pass detached + one InvalidateRect", layoutDetached + invalidate, "us",
                "the same pass detached", layoutDetached, "-");
            Bench::Row("full paint, 1,000 controls at 1286x768", paint, "us", "BitBlt of that surface", blit,
                "<=4000");
        }
    }
    ::DestroyWindow(window);
    return status;
}
