#pragma once
// A bare native window whose messages go to a paint manager, for tests that
// drive controls with real messages.
#include <windows.h>

#include "engine/ControlUI.h"
#include "engine/PaintManagerUI.h"
#include "support/TestSupport.h"

namespace ControlWindowTest {

class HostWindow {
public:
    HostWindow(int width, int height)
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &HostWindow::WndProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VeneerControlTestHost";
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.style = CS_DBLCLKS;
        ::RegisterClassW(&wc);  // a second registration fails harmlessly
        Veneer::CPaintManagerUI::SetInstance(wc.hInstance);
        m_hWnd = ::CreateWindowExW(0, wc.lpszClassName, L"control test", WS_POPUP, 0, 0, width,
            height, nullptr, nullptr, wc.hInstance, this);
        // A pointer left over the window by an earlier test would make controls hot.
        ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    ~HostWindow()
    {
        if (m_hWnd != nullptr) {
            ::DestroyWindow(m_hWnd);
        }
    }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND Handle() const { return m_hWnd; }
    Veneer::CPaintManagerUI& Manager() { return m_manager; }

    // Attaches the tree, shows the window and lets the first paint lay it out.
    void Attach(Veneer::CControlUI* root)
    {
        m_manager.AttachDialog(root);
        ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
        ::UpdateWindow(m_hWnd);
        Pump(30);
    }

    void Pump(DWORD ms) { TestSupport::PumpMessages(ms); }

    void Post(UINT msg, WPARAM wParam, int x, int y)
    {
        ::PostMessageW(m_hWnd, msg, wParam, MAKELPARAM(x, y));
    }
    void Wheel(int delta, int x, int y)
    {
        POINT pt = { x, y };
        ::ClientToScreen(m_hWnd, &pt);
        ::PostMessageW(m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))),
            MAKELPARAM(pt.x, pt.y));
    }

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            auto* self = static_cast<HostWindow*>(create->lpCreateParams);
            ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            self->m_hWnd = hWnd;
            self->m_manager.Init(hWnd);
        }
        auto* self = reinterpret_cast<HostWindow*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (self != nullptr && msg != WM_NCCREATE) {
            LRESULT result = 0;
            if (self->m_manager.MessageHandler(msg, wParam, lParam, result)) {
                return result;
            }
        }
        if (msg == WM_NCDESTROY && self != nullptr) {
            ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
            self->m_hWnd = nullptr;
        }
        return ::DefWindowProcW(hWnd, msg, wParam, lParam);
    }

    HWND m_hWnd { nullptr };
    Veneer::CPaintManagerUI m_manager;
};

}  // namespace ControlWindowTest
