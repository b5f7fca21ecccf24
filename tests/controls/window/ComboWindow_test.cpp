// The combo and its pop-up in real windows, driven by real messages.
#include <gtest/gtest.h>

#include <string>

#include "ButtonWindowHost.h"
#include "controls/ComboBoxUI.h"
#include "controls/ComboUI.h"
#include "controls/ListLabelElementUI.h"
#include "controls/VerticalLayoutUI.h"

using namespace Veneer;
using namespace WidgetWindowTests;

namespace {

std::wstring ComboSkin(int items, LPCWSTR element = L"Combo", LPCWSTR attributes = L"")
{
    std::wstring skin = L"<Window size=\"300,120\"><VerticalLayout name=\"root\" bkcolor=\"#FFFFFFFF\">"
                        L"<HorizontalLayout height=\"24\"><";
    skin += element;
    skin += L" name=\"combo\" width=\"200\" dropboxsize=\"0,150\" itemselectedbkcolor=\"#FFFF0000\" ";
    skin += attributes;
    skin += L">";
    for (int i = 0; i < items; ++i) {
        skin += L"<ListLabelElement height=\"20\" text=\"item " + std::to_wstring(i) + L"\" />";
    }
    skin += L"</";
    skin += element;
    skin += L"></HorizontalLayout><Control /></VerticalLayout></Window>";
    return skin;
}

class ComboWindow : public SkinnedWindow {
public:
    explicit ComboWindow(int items, LPCWSTR element = L"Combo", LPCWSTR attributes = L"")
        : SkinnedWindow(300, 120, ComboSkin(items, element, attributes).c_str())
    {
        combo = static_cast<CComboUI*>(Find(L"combo"));
    }
    HWND Popup() const
    {
        CComboWnd* window = combo->GetDropWindow();
        return window != nullptr ? window->GetHWND() : nullptr;
    }
    void Open()
    {
        Click(Centre(combo));
        ASSERT_NE(nullptr, Popup());
    }
    void PopupKey(WPARAM key)
    {
        ::PostMessageW(Popup(), WM_KEYDOWN, key, 0);
        Settle();
    }
    RECT PopupRect() const
    {
        RECT rc = {};
        ::GetWindowRect(Popup(), &rc);
        return rc;
    }
    RECT ComboScreenRect() const
    {
        RECT rc = combo->GetPos();
        ::MapWindowPoints(host.Handle(), HWND_DESKTOP, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
    bool ItemsAreHome() const
    {
        for (int i = 0; i < combo->GetCount(); ++i) {
            CControlUI* item = combo->GetItemAt(i);
            if (item->GetManager() != &const_cast<ComboWindow*>(this)->host.Manager() || item->GetParent() != combo) {
                return false;
            }
        }
        return true;
    }

    CComboUI* combo { nullptr };
};

}  // namespace

TEST(ComboWindow, OpensByClickAndF4AndEscapeCloses)
{
    const int live = CComboWnd::GetLiveCount();
    ComboWindow w(3);
    ASSERT_NE(nullptr, w.combo);
    w.Open();
    EXPECT_EQ(1, w.Count(L"dropdown", w.combo));
    EXPECT_TRUE(::IsWindowVisible(w.Popup()));
    EXPECT_EQ(live + 1, CComboWnd::GetLiveCount());
    EXPECT_EQ(&w.combo->GetDropWindow()->GetPaintManager(), w.combo->GetItemAt(0)->GetManager());
    w.PopupKey(VK_ESCAPE);
    EXPECT_EQ(nullptr, w.Popup());
    EXPECT_EQ(live, CComboWnd::GetLiveCount());
    EXPECT_TRUE(w.ItemsAreHome());
    EXPECT_EQ(w.combo, w.host.Manager().GetFocus());

    ::PostMessageW(w.host.Handle(), WM_KEYDOWN, VK_F4, 0);
    w.Settle();
    EXPECT_NE(nullptr, w.Popup());
    EXPECT_EQ(2, w.Count(L"dropdown", w.combo));
    w.PopupKey(VK_RETURN);
    EXPECT_EQ(nullptr, w.Popup());
    EXPECT_EQ(live, CComboWnd::GetLiveCount());
}

TEST(ComboWindow, PopupHeightIsTheNeedCappedByTheDropBox)
{
    ComboWindow ten(10);
    ten.Open();
    RECT rc = ten.PopupRect();
    EXPECT_EQ(150, rc.bottom - rc.top);
    EXPECT_EQ(ten.ComboScreenRect().bottom, rc.top);
    EXPECT_EQ(200, rc.right - rc.left);
    ten.PopupKey(VK_ESCAPE);

    ComboWindow three(3);
    three.Open();
    rc = three.PopupRect();
    EXPECT_EQ(64, rc.bottom - rc.top);
    three.PopupKey(VK_ESCAPE);
}

TEST(ComboWindow, OpensUpwardNearTheScreenBottom)
{
    ComboWindow w(3);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromWindow(w.host.Handle(), MONITOR_DEFAULTTOPRIMARY), &info);
    ::SetWindowPos(w.host.Handle(), nullptr, 10, info.rcWork.bottom - 40, 0, 0,
        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    w.Settle();
    w.Open();
    const RECT rc = w.PopupRect();
    EXPECT_EQ(w.ComboScreenRect().top, rc.bottom);
    EXPECT_EQ(64, rc.bottom - rc.top);
    w.PopupKey(VK_ESCAPE);
}

TEST(ComboWindow, ArrowKeysSelectAndCloseItemsComeBack)
{
    ComboWindow w(5);
    ASSERT_TRUE(w.combo->SelectItem(0));
    w.Open();
    w.PopupKey(VK_DOWN);
    EXPECT_EQ(1, w.combo->GetCurSel());
    EXPECT_EQ(nullptr, w.Popup());
    EXPECT_TRUE(w.ItemsAreHome());
    EXPECT_EQ(0, w.combo->GetItemAt(1)->GetPos().right);  // laid out only inside the pop-up
    EXPECT_STREQ(L"item 1", w.combo->GetText().GetData());
    EXPECT_GE(w.Count(L"itemselect", w.combo), 2);
}

TEST(ComboWindow, EscapeRestoresTheSelectionItOpenedWith)
{
    ComboWindow w(5);
    ASSERT_TRUE(w.combo->SelectItem(1));
    w.Open();
    // Both keys queue before the pop-up closes on the first.
    ::PostMessageW(w.Popup(), WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageW(w.Popup(), WM_KEYDOWN, VK_ESCAPE, 0);
    w.Settle();
    EXPECT_EQ(1, w.combo->GetCurSel());
    EXPECT_EQ(nullptr, w.Popup());
    EXPECT_TRUE(w.ItemsAreHome());
}

TEST(ComboWindow, ClickOnAnItemSelectsItAndCloses)
{
    ComboWindow w(5);
    w.Open();
    CControlUI* item = w.combo->GetItemAt(3);
    const POINT pt = SkinnedWindow::Centre(item);  // pop-up coordinates while open
    ::PostMessageW(w.Popup(), WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    ::PostMessageW(w.Popup(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    ::PostMessageW(w.Popup(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    w.Settle();
    EXPECT_EQ(3, w.combo->GetCurSel());
    EXPECT_EQ(nullptr, w.Popup());
    EXPECT_EQ(3u, w.notes.back().type == L"itemselect" ? w.notes.back().wParam : 3u);
    EXPECT_TRUE(w.ItemsAreHome());
}

TEST(ComboWindow, WheelOverTheClosedComboSelectsTheNext)
{
    ComboWindow w(4);
    ASSERT_TRUE(w.combo->SelectItem(1));
    const POINT pt = SkinnedWindow::Centre(w.combo);
    w.host.Wheel(-120, pt.x, pt.y);
    w.Settle();
    EXPECT_EQ(2, w.combo->GetCurSel());
    w.host.Wheel(120, pt.x, pt.y);
    w.Settle();
    EXPECT_EQ(1, w.combo->GetCurSel());
    EXPECT_EQ(nullptr, w.Popup());
}

TEST(ComboWindow, RemovingTheSelectedItemSelectsTheOneAboveAndNotifies)
{
    ComboWindow w(4);
    ASSERT_TRUE(w.combo->SelectItem(2));
    const int before = w.Count(L"itemselect", w.combo);
    EXPECT_TRUE(w.combo->RemoveAt(2));
    EXPECT_EQ(1, w.combo->GetCurSel());
    EXPECT_EQ(before + 1, w.Count(L"itemselect", w.combo));
    EXPECT_EQ(1u, w.notes.back().wParam);
    w.Settle();
    EXPECT_EQ(3, w.combo->GetCount());
}

TEST(ComboWindow, DisablingClosesThePopup)
{
    const int live = CComboWnd::GetLiveCount();
    ComboWindow w(3);
    w.Open();
    w.combo->SetEnabled(false);
    w.Settle();
    EXPECT_EQ(nullptr, w.Popup());
    EXPECT_EQ(live, CComboWnd::GetLiveCount());
    EXPECT_TRUE(w.ItemsAreHome());
    w.Click(SkinnedWindow::Centre(w.combo));
    EXPECT_EQ(nullptr, w.Popup());
}

TEST(ComboWindow, ItemsRemovedWhileOpenAreNeverTouchedAgain)
{
    const int live = CComboWnd::GetLiveCount();
    ComboWindow w(5);
    ASSERT_TRUE(w.combo->SelectItem(4));
    w.Open();
    EXPECT_TRUE(w.combo->RemoveAt(1));
    w.Settle();
    ASSERT_NE(nullptr, w.Popup());
    EXPECT_EQ(4, w.combo->GetDropWindow()->GetListLayout()->GetCount());
    w.combo->RemoveAll();
    w.Settle();
    ASSERT_NE(nullptr, w.Popup());
    EXPECT_EQ(0, w.combo->GetDropWindow()->GetListLayout()->GetCount());
    ::UpdateWindow(w.Popup());
    w.PopupKey(VK_ESCAPE);
    EXPECT_EQ(nullptr, w.Popup());
    EXPECT_EQ(live, CComboWnd::GetLiveCount());
    EXPECT_EQ(-1, w.combo->GetCurSel());
}

TEST(ComboWindow, DeletingTheOpenComboClosesThePopup)
{
    const int live = CComboWnd::GetLiveCount();
    {
        ComboWindow w(3);
        w.Open();
        auto* row = static_cast<CContainerUI*>(w.combo->GetParent()->GetInterface(L"Container"));
        ASSERT_NE(nullptr, row);
        EXPECT_TRUE(row->Remove(w.combo));  // destroyed by the manager's delayed cleanup
        w.Settle();
        EXPECT_EQ(live, CComboWnd::GetLiveCount());
    }
    {
        ComboWindow w(3);
        w.Open();
        auto* row = static_cast<CContainerUI*>(w.combo->GetParent()->GetInterface(L"Container"));
        row->SetAutoDestroy(false);
        row->Remove(w.combo);
        delete w.combo;
        w.Settle();
        EXPECT_EQ(live, CComboWnd::GetLiveCount());
    }
}

TEST(ComboWindow, MainWindowGoneTakesThePopupAlong)
{
    const int live = CComboWnd::GetLiveCount();
    ComboWindow w(3);
    w.Open();
    ::DestroyWindow(w.host.Handle());
    w.Settle();
    EXPECT_EQ(live, CComboWnd::GetLiveCount());
    EXPECT_EQ(nullptr, w.combo->GetDropWindow());
    EXPECT_TRUE(w.ItemsAreHome());
}

namespace {

// A 50 x 10 strip of five solid 10-pixel frames.
const COLORREF kFrameColours[5] = { RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0),
    RGB(255, 0, 255) };

HBITMAP MakeArrowStrip()
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = 50;
    bmi.bmiHeader.biHeight = -10;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* pixels = static_cast<DWORD*>(bits);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 50; ++x) {
            const COLORREF c = kFrameColours[x / 10];
            pixels[y * 50 + x] = 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    }
    return bitmap;
}

DWORD Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

}  // namespace

TEST(ComboWindow, ComboBoxCutsTenPixelArrowFramesHotIsTheSecond)
{
    ComboWindow w(3, L"ComboBox", L"arrowimage=\"file='arrowstrip' source='0,0,50,10'\"");
    auto* box = static_cast<CComboBoxUI*>(w.combo);
    ASSERT_NE(nullptr, w.host.Manager().AddImage(L"arrowstrip", MakeArrowStrip(), 50, 10, false));
    box->Invalidate();
    w.Settle();
    const RECT rc = box->GetPos();
    const POINT arrow = { rc.right - 5, (rc.top + rc.bottom) / 2 };
    EXPECT_EQ(10, box->GetArrowWidth());
    EXPECT_EQ(Rgb(kFrameColours[0]), w.Pixel(arrow));
    EXPECT_NE(Rgb(kFrameColours[0]), w.Pixel(POINT { rc.right - 15, arrow.y }));
    w.Move(POINT { rc.left + 20, arrow.y });
    w.Settle();
    EXPECT_NE(0u, box->GetButtonState() & STATE_HOT);
    EXPECT_EQ(Rgb(kFrameColours[1]), w.Pixel(arrow));
    box->SetEnabled(false);
    w.Settle();
    EXPECT_EQ(Rgb(kFrameColours[4]), w.Pixel(arrow));
}

TEST(ComboWindow, ComboBoxWithoutAWellFormedSourceDrawsNoArrow)
{
    ComboWindow w(3, L"ComboBox", L"arrowimage=\"file='arrowstrip' source='0,0,50\"");
    auto* box = static_cast<CComboBoxUI*>(w.combo);
    ASSERT_NE(nullptr, w.host.Manager().AddImage(L"arrowstrip", MakeArrowStrip(), 50, 10, false));
    box->Invalidate();
    w.Settle();
    const RECT rc = box->GetPos();
    EXPECT_EQ(0, box->GetArrowWidth());
    EXPECT_EQ(0xFFFFFFu, w.Pixel(POINT { rc.right - 5, (rc.top + rc.bottom) / 2 }));
}

TEST(ComboWindow, EscapeRestoresTheSameItemAfterRemovalsWhileOpen)
{
    ComboWindow w(5);
    ASSERT_TRUE(w.combo->SelectItem(3));
    CControlUI* chosen = w.combo->GetItemAt(3);
    w.Open();
    EXPECT_TRUE(w.combo->RemoveAt(0));
    w.Settle();
    ASSERT_NE(nullptr, w.Popup());
    w.PopupKey(VK_ESCAPE);
    EXPECT_EQ(nullptr, w.Popup());
    EXPECT_EQ(chosen, w.combo->GetItemAt(w.combo->GetCurSel()));
    EXPECT_EQ(2, w.combo->GetCurSel());
}

TEST(ComboWindow, FaceShowsTheSelectedItemsText)
{
    ComboWindow w(3, L"Combo", L"bkcolor=\"#FFFFFFFF\" itemtextcolor=\"#FF000000\" textpadding=\"4,0,4,0\"");
    const RECT rc = w.combo->GetPos();
    auto dark = [](int r, int g, int b) { return r < 100 && g < 100 && b < 100; };
    EXPECT_EQ(0, w.CountPixels(rc, dark));
    ASSERT_TRUE(w.combo->SelectItem(1));
    w.Settle();
    EXPECT_GT(w.CountPixels(rc, dark), 10);
    w.combo->SelectItem(-1);
    w.Settle();
    EXPECT_EQ(0, w.CountPixels(rc, dark));
}
