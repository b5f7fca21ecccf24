// Window-level behaviour of the paint manager: size limits, initial size,
// transparency, tooltips, printing, reflection to child windows and the
// pre-translation of queued messages.
#include <gtest/gtest.h>

#include <memory>

#include "engine/PaintManagerTestKit.h"

using namespace Veneer;
using namespace PaintManagerTestKit;

namespace {

// A child window that records the reflected messages it receives.
struct ReflectTarget {
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg >= 0x2000 && msg < 0x3000) {
            s_last = msg;
            return 77;
        }
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    static HWND Create(HWND parent)
    {
        static bool registered = false;
        if (!registered) {
            WNDCLASSW wc {};
            wc.lpfnWndProc = &ReflectTarget::Proc;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.lpszClassName = L"VeneerReflectTarget";
            ::RegisterClassW(&wc);
            registered = true;
        }
        return ::CreateWindowExW(0, L"VeneerReflectTarget", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent,
                                 nullptr, ::GetModuleHandleW(nullptr), nullptr);
    }
    static inline UINT s_last = 0;
};

class CountingAccelerator : public ITranslateAccelerator {
public:
    LRESULT TranslateAccelerator(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F2) {
            ++consumed;
            return 0;
        }
        return 1;
    }
    int consumed { 0 };
};

}  // namespace

TEST(PaintManagerWindow, SizeLimitsGoIntoMinMaxInfo)
{
    HostWindow host(100, 80);
    host.manager.SetMinInfo(50, 0);
    host.manager.SetMaxInfo(0, 300);
    MINMAXINFO info {};
    info.ptMinTrackSize = POINT { 1, 2 };
    info.ptMaxTrackSize = POINT { 3, 4 };
    LRESULT lRes = 0;
    EXPECT_FALSE(host.manager.MessageHandler(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info), lRes));
    EXPECT_EQ(50, info.ptMinTrackSize.x);
    EXPECT_EQ(2, info.ptMinTrackSize.y);
    EXPECT_EQ(3, info.ptMaxTrackSize.x);
    EXPECT_EQ(300, info.ptMaxTrackSize.y);
}

TEST(PaintManagerWindow, InitialSizeResizesOnlyBeforeTheTreeIsAttached)
{
    HostWindow host(100, 80);
    host.manager.SetInitSize(140, 90);
    RECT rc;
    ::GetWindowRect(host.hwnd, &rc);
    EXPECT_EQ(140, rc.right - rc.left);
    EXPECT_EQ(90, rc.bottom - rc.top);
    host.manager.AttachDialog(new BoxUI(L"root"));
    host.manager.SetInitSize(60, 60);
    ::GetWindowRect(host.hwnd, &rc);
    EXPECT_EQ(140, rc.right - rc.left);
    EXPECT_EQ(60, host.manager.GetInitSize().cx);
    EXPECT_EQ(140, host.manager.GetClientSize().cx);
}

TEST(PaintManagerWindow, TransparencyMakesTheWindowLayered)
{
    HostWindow host(100, 80);
    host.manager.SetTransparent(300);
    EXPECT_EQ(255, host.manager.GetTransparent());
    host.manager.SetTransparent(128);
    EXPECT_EQ(128, host.manager.GetTransparent());
    EXPECT_NE(0, ::GetWindowLongPtrW(host.hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(host.hwnd, nullptr, &alpha, &flags));
    EXPECT_EQ(128, alpha);
    EXPECT_NE(0u, flags & LWA_ALPHA);
    host.manager.SetTransparent(-4);
    EXPECT_EQ(0, host.manager.GetTransparent());
    EXPECT_EQ(0, ::GetWindowLongPtrW(host.hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST(PaintManagerWindow, HoverShowsTheTooltipOfTheControl)
{
    HostWindow host(120, 60);
    BoxUI* root = new BoxUI(L"root");
    ProbeUI* tipped = root->Add(new ProbeUI(L"tipped"), RECT { 0, 0, 60, 60 });
    ProbeUI* plain = root->Add(new ProbeUI(L"plain"), RECT { 60, 0, 120, 60 });
    tipped->SetToolTip(L"first<n>second");
    host.manager.AttachDialog(root);
    ::UpdateWindow(host.hwnd);
    Pump();
    ::SendMessageW(host.hwnd, WM_MOUSEMOVE, 0, Point(70, 10));
    LRESULT lRes = 0;
    EXPECT_TRUE(host.manager.MessageHandler(WM_MOUSEHOVER, 0, Point(70, 10), lRes));
    EXPECT_EQ(1, plain->Count(EVENT_MOUSEHOVER));
    EXPECT_EQ(nullptr, host.manager.GetTooltipWindow());  // no text, no tooltip window

    ::SendMessageW(host.hwnd, WM_MOUSEMOVE, 0, Point(10, 10));
    EXPECT_TRUE(host.manager.MessageHandler(WM_MOUSEHOVER, 0, Point(10, 10), lRes));
    EXPECT_EQ(1, tipped->Count(EVENT_MOUSEHOVER));
    HWND tooltip = host.manager.GetTooltipWindow();
    ASSERT_NE(nullptr, tooltip);
    wchar_t cls[64] {};
    ::GetClassNameW(tooltip, cls, 64);
    EXPECT_STREQ(L"tooltips_class32", cls);
    EXPECT_EQ(host.hwnd, ::GetWindow(tooltip, GW_OWNER));
    EXPECT_EQ(300, ::SendMessageW(tooltip, TTM_GETMAXTIPWIDTH, 0, 0));
    EXPECT_GE(::SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);

    // Hover over empty space: nothing found, not handled.
    EXPECT_FALSE(host.manager.MessageHandler(WM_MOUSEHOVER, 0, Point(500, 500), lRes));
}

TEST(PaintManagerWindow, PrintClientPaintsTheTreeIntoTheGivenContext)
{
    HostWindow host(80, 40);
    BoxUI* root = new BoxUI(L"root", RGB(255, 255, 255));
    root->Add(new ProbeUI(L"blue", RGB(0, 0, 255)), RECT { 0, 0, 40, 40 });
    host.manager.AttachDialog(root);
    ::UpdateWindow(host.hwnd);
    Pump();
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 80, 40);
    HGDIOBJ old = ::SelectObject(mem, bitmap);
    ::SendMessageW(host.hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
    EXPECT_EQ(RGB(0, 0, 255), ::GetPixel(mem, 20, 20));
    EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(mem, 60, 20));
    ::SelectObject(mem, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
}

TEST(PaintManagerWindow, UpdateRectangleOutlineIsDrawnWhenAsked)
{
    HostWindow host(100, 60, 0, 70, 70);
    BoxUI* root = new BoxUI(L"root", RGB(255, 255, 255));
    host.manager.AttachDialog(root);
    host.manager.SetShowUpdateRect(true);
    EXPECT_TRUE(host.manager.IsShowUpdateRect());
    ::UpdateWindow(host.hwnd);
    Pump(20);
    RECT area { 20, 10, 60, 40 };
    ::InvalidateRect(host.hwnd, &area, FALSE);
    ::UpdateWindow(host.hwnd);
    Pump(20);
    HDC dc = ::GetDC(host.hwnd);
    EXPECT_EQ(RGB(220, 0, 0), ::GetPixel(dc, 20, 25));
    EXPECT_EQ(RGB(220, 0, 0), ::GetPixel(dc, 40, 10));
    EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(dc, 40, 25));
    ::ReleaseDC(host.hwnd, dc);
}

TEST(PaintManagerWindow, ChildWindowMessagesAreReflected)
{
    HostWindow host(100, 60);
    HWND child = ReflectTarget::Create(host.hwnd);
    ASSERT_NE(nullptr, child);
    NMHDR header {};
    header.hwndFrom = child;
    header.code = 5;
    EXPECT_EQ(77, ::SendMessageW(host.hwnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header)));
    EXPECT_EQ(static_cast<UINT>(WM_NOTIFY + 0x2000), ReflectTarget::s_last);
    EXPECT_EQ(77, ::SendMessageW(host.hwnd, WM_COMMAND, MAKEWPARAM(1, EN_CHANGE), reinterpret_cast<LPARAM>(child)));
    EXPECT_EQ(static_cast<UINT>(WM_COMMAND + 0x2000), ReflectTarget::s_last);
    LRESULT lRes = 5;
    EXPECT_FALSE(host.manager.MessageHandler(WM_COMMAND, 1, 0, lRes));  // a menu command is not reflected
    EXPECT_TRUE(host.manager.MessageHandler(WM_NOTIFY, 0, 0, lRes));
    EXPECT_EQ(0, lRes);
    ::DestroyWindow(child);
}

TEST(PaintManagerWindow, QueuedMessagesOfChildWindowsReachTheOwningManager)
{
    HostWindow host(200, 60);
    BoxUI* root = new BoxUI(L"root");
    ProbeUI* first = root->Add(new ProbeUI(L"first"), RECT { 0, 0, 10, 10 });
    ProbeUI* second = root->Add(new ProbeUI(L"second"), RECT { 20, 0, 30, 10 });
    first->m_flags = FLAG_TABSTOP;
    second->m_flags = FLAG_TABSTOP;
    host.manager.AttachDialog(root);
    ::UpdateWindow(host.hwnd);
    Pump();
    ASSERT_EQ(first, host.manager.GetFocus());
    HWND child = ReflectTarget::Create(host.hwnd);
    MSG msg {};
    msg.hwnd = child;
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_TAB;
    // The manager pre-handles it but the child still gets the message.
    EXPECT_FALSE(CPaintManagerUI::TranslateMessage(&msg));
    EXPECT_EQ(second, host.manager.GetFocus());

    CountingAccelerator accelerator;
    EXPECT_TRUE(host.manager.AddTranslateAccelerator(&accelerator));
    msg.wParam = VK_F2;
    EXPECT_TRUE(CPaintManagerUI::TranslateMessage(&msg));
    msg.hwnd = host.hwnd;
    EXPECT_TRUE(CPaintManagerUI::TranslateMessage(&msg));
    EXPECT_EQ(2, accelerator.consumed);
    msg.wParam = 'A';
    EXPECT_FALSE(CPaintManagerUI::TranslateMessage(&msg));
    EXPECT_TRUE(host.manager.RemoveTranslateAccelerator(&accelerator));
    EXPECT_FALSE(host.manager.RemoveTranslateAccelerator(&accelerator));
    // A window no manager knows is left alone.
    msg.hwnd = ::GetDesktopWindow();
    msg.wParam = VK_TAB;
    EXPECT_FALSE(CPaintManagerUI::TranslateMessage(&msg));
    ::DestroyWindow(child);
}

TEST(PaintManagerWindow, PreMessageFiltersComeFirst)
{
    HostWindow host(100, 60);
    struct Swallow : IMessageFilterUI {
        LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM, bool& bHandled) override
        {
            if (uMsg == WM_KEYDOWN && wParam == VK_ESCAPE) bHandled = true;
            return 9;
        }
    } filter;
    host.manager.AddPreMessageFilter(&filter);
    LRESULT lRes = 0;
    EXPECT_TRUE(host.manager.PreMessageHandler(WM_KEYDOWN, VK_ESCAPE, 0, lRes));
    EXPECT_EQ(9, lRes);
    EXPECT_FALSE(host.manager.PreMessageHandler(WM_KEYDOWN, 'A', 0, lRes));
    EXPECT_TRUE(host.manager.RemovePreMessageFilter(&filter));
    EXPECT_FALSE(host.manager.PreMessageHandler(WM_KEYDOWN, VK_ESCAPE, 0, lRes));
}
