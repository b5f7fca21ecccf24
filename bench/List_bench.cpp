// Scrolls a 10,000-row, three-column list by lines and by pages, painting
// the list after every step, beside a bare BitBlt of a surface of the same
// size in the same run. Medians over the steps.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "controls/ListHeaderItemUI.h"
#include "controls/ListTextElementUI.h"
#include "controls/ListUI.h"
#include "engine/PaintManagerUI.h"

using namespace Veneer;

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kRows = 10000;
constexpr int kColumns = 3;
constexpr int kSteps = 300;

CListUI* BuildList()
{
    auto* list = new CListUI;
    list->EnableScrollBar(true, false);
    list->SetItemLineColor(0xFFE0E0E0);
    list->SetAlternateBk(true);
    list->SetItemBkColor(0xFFF8F8FF);
    static const wchar_t* const kTitles[kColumns] = { L"Name", L"Level", L"Server" };
    for (int c = 0; c < kColumns; ++c) {
        auto* column = new CListHeaderItemUI;
        column->SetText(kTitles[c]);
        column->SetFixedWidth(c == 0 ? 300 : 150);
        list->Add(column);
    }
    for (int r = 0; r < kRows; ++r) {
        auto* row = new CListTextElementUI;
        list->Add(row);
        row->SetText(0, (L"player " + std::to_wstring(r)).c_str());
        row->SetText(1, std::to_wstring(r % 120).c_str());
        row->SetText(2, (L"zone " + std::to_wstring(r % 17)).c_str());
    }
    return list;
}

}  // namespace

int main()
{
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    HWND window = Bench::HiddenWindow(L"VeneerListBench", kWidth, kHeight);
    if (window == nullptr) {
        std::printf("cannot create the window\n");
        return 1;
    }

    int status = 0;
    {
        CPaintManagerUI manager;
        manager.Init(window);
        const double buildStart = Bench::NowMicroseconds();
        CListUI* list = BuildList();
        manager.AttachDialog(list);
        const RECT full = { 0, 0, kWidth, kHeight };
        list->SetPos(full);
        const double firstLayout = Bench::NowMicroseconds() - buildStart;

        Bench::Surface surfaceBuffer(kWidth, kHeight);
        Bench::Surface targetBuffer(kWidth, kHeight);
        HDC surface = surfaceBuffer.dc();
        HDC target = targetBuffer.dc();

        auto paint = [&] {
            list->DoPaint(surface, full);
            ::GdiFlush();
        };
        const int range = list->GetScrollRange().cy;
        auto wrapAtEnd = [&] {
            if (list->GetScrollPos().cy >= range) {
                list->HomeUp();
            }
        };
        const double lineStep = Bench::MedianMicroseconds(kSteps, [&] {
            wrapAtEnd();
            list->LineDown();
            paint();
        });
        list->HomeUp();
        const double pageStep = Bench::MedianMicroseconds(kSteps, [&] {
            wrapAtEnd();
            list->PageDown();
            paint();
        });
        const double paintOnly = Bench::MedianMicroseconds(kSteps, paint);
        const double blit = Bench::MedianMicroseconds(kSteps, [&] {
            ::BitBlt(target, 0, 0, kWidth, kHeight, surface, 0, 0, SRCCOPY);
            ::GdiFlush();
        });

        if (!surfaceBuffer.ok() || !targetBuffer.ok() || range <= 0) {
            std::printf("cannot create the surfaces or the list does not scroll\n");
            status = 1;
        } else {
            std::printf("rows: %d x %d columns, surface %dx%d, scroll range %d, median of %d steps\n", kRows,
                kColumns, kWidth, kHeight, range, kSteps);
            std::printf("build + first layout: %10.1f us\n", firstLayout);
            std::printf("line step + paint:    %10.1f us\n", lineStep);
            std::printf("page step + paint:    %10.1f us\n", pageStep);
            std::printf("paint alone:          %10.1f us\n", paintOnly);
            std::printf("bare BitBlt:          %10.1f us (baseline)\n", blit);
            std::printf("line step / BitBlt:   %10.1f x\n", blit > 0 ? lineStep / blit : 0.0);
            Bench::Row("list of 10,000 rows: line step with repaint", lineStep, "us", "BitBlt of the surface", blit,
                "<=1200");
        }
    }
    ::DestroyWindow(window);
    return status;
}
