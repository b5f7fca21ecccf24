// The paint manager together with the stock container, layout and button.
#include <gtest/gtest.h>

#include "controls/ButtonUI.h"
#include "controls/VerticalLayoutUI.h"
#include "engine/PaintManagerTestKit.h"

using namespace Veneer;
using namespace PaintManagerTestKit;

namespace {

int g_destroyed = 0;

bool CountDestroyed(void*)
{
    ++g_destroyed;
    return true;
}

COLORREF ScreenPixel(HWND hwnd, int x, int y)
{
    POINT pt { x, y };
    ::ClientToScreen(hwnd, &pt);
    HDC screen = ::GetDC(nullptr);
    COLORREF color = ::GetPixel(screen, pt.x, pt.y);
    ::ReleaseDC(nullptr, screen);
    return color;
}

}  // namespace

TEST(PaintManagerWithControls, ButtonRemovedInItsClickHandlerIsDeletedLater)
{
    HostWindow host(120, 100);
    CVerticalLayoutUI* root = new CVerticalLayoutUI;
    CButtonUI* first = new CButtonUI;
    first->SetName(L"first");
    first->SetFixedHeight(40);
    first->DestroyListeners += CountDestroyed;
    CButtonUI* second = new CButtonUI;
    second->SetName(L"second");
    second->SetFixedHeight(40);
    root->Add(first);
    root->Add(second);
    host.manager.AttachDialog(root);
    NotifyLog log;
    log.onNotify = [&](TNotifyUI& msg) {
        if (msg.sType == L"click" && msg.pSender == first) root->Remove(first);
    };
    host.manager.AddNotifier(&log);
    ::UpdateWindow(host.hwnd);
    Pump();
    EXPECT_EQ(40, first->GetPos().bottom);

    g_destroyed = 0;
    ::PostMessageW(host.hwnd, WM_MOUSEMOVE, 0, Point(20, 20));
    ::PostMessageW(host.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(20, 20));
    ::PostMessageW(host.hwnd, WM_LBUTTONUP, 0, Point(20, 20));
    ::PostMessageW(host.hwnd, WM_MOUSEMOVE, 0, Point(21, 21));
    ::PostMessageW(host.hwnd, WM_KEYDOWN, VK_SPACE, 0);
    Pump();
    EXPECT_EQ(1, log.Count(L"click"));
    EXPECT_EQ(1, g_destroyed);
    EXPECT_EQ(nullptr, host.manager.FindControl(L"first"));
    EXPECT_EQ(nullptr, host.manager.GetFocus());

    // The layout closes the gap: the second button now sits on top.
    ::UpdateWindow(host.hwnd);
    Pump();
    EXPECT_EQ(0, second->GetPos().top);
    ::PostMessageW(host.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(20, 20));
    ::PostMessageW(host.hwnd, WM_LBUTTONUP, 0, Point(20, 20));
    Pump();
    EXPECT_EQ(2, log.Count(L"click"));
    EXPECT_EQ(second, log.senders.back());
    host.manager.RemoveNotifier(&log);
}

TEST(PaintManagerWithControls, PressOnOneButtonReleaseOnAnotherDoesNotClick)
{
    HostWindow host(120, 100);
    CVerticalLayoutUI* root = new CVerticalLayoutUI;
    CButtonUI* top = new CButtonUI;
    top->SetFixedHeight(40);
    CButtonUI* bottom = new CButtonUI;
    bottom->SetFixedHeight(40);
    root->Add(top);
    root->Add(bottom);
    host.manager.AttachDialog(root);
    NotifyLog log;
    host.manager.AddNotifier(&log);
    ::UpdateWindow(host.hwnd);
    Pump();
    ::PostMessageW(host.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(20, 20));
    ::PostMessageW(host.hwnd, WM_MOUSEMOVE, MK_LBUTTON, Point(20, 60));
    ::PostMessageW(host.hwnd, WM_LBUTTONUP, 0, Point(20, 60));
    Pump();
    EXPECT_EQ(0, log.Count(L"click"));
    bottom->SetEnabled(false);
    ::PostMessageW(host.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(20, 60));
    ::PostMessageW(host.hwnd, WM_LBUTTONUP, 0, Point(20, 60));
    Pump();
    EXPECT_EQ(0, log.Count(L"click"));
    ::PostMessageW(host.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(20, 20));
    ::PostMessageW(host.hwnd, WM_LBUTTONUP, 0, Point(20, 20));
    Pump();
    EXPECT_EQ(1, log.Count(L"click"));
    host.manager.RemoveNotifier(&log);
}

TEST(PaintManagerWithControls, BackgroundColoursReachTheWindow)
{
    HostWindow host(120, 100, 0, 60, 60);
    CVerticalLayoutUI* root = new CVerticalLayoutUI;
    root->SetBkColor(0xFFFFFFFF);
    CControlUI* band = new CControlUI;
    band->SetFixedHeight(30);
    band->SetBkColor(0xFF0000FF);
    root->Add(band);
    host.manager.AttachDialog(root);
    ::UpdateWindow(host.hwnd);
    Pump(30);
    EXPECT_EQ(RGB(0, 0, 255), ScreenPixel(host.hwnd, 50, 15));
    EXPECT_EQ(RGB(255, 255, 255), ScreenPixel(host.hwnd, 50, 60));
    band->SetBkColor(0xFF00FF00);
    ::UpdateWindow(host.hwnd);
    Pump(30);
    EXPECT_EQ(RGB(0, 255, 0), ScreenPixel(host.hwnd, 50, 15));
}
