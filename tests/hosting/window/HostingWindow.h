#pragma once
// A bare native window with a paint manager, and COM set up for the thread,
// for tests of hosted objects.
#include <windows.h>
#include <ole2.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/ControlUI.h"
#include "engine/PaintManagerUI.h"
#include "support/TestSupport.h"

namespace HostingTest {

class OleScope {
public:
    OleScope() : m_ok(SUCCEEDED(::OleInitialize(nullptr))) {}
    ~OleScope()
    {
        if (m_ok) ::OleUninitialize();
    }
    OleScope(const OleScope&) = delete;
    OleScope& operator=(const OleScope&) = delete;

private:
    bool m_ok { false };
};

class HostWindow {
public:
    HostWindow(int width, int height)
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &HostWindow::WndProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VeneerHostingTestHost";
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        ::RegisterClassW(&wc);  // a second registration fails harmlessly
        Veneer::CPaintManagerUI::SetInstance(wc.hInstance);
        m_hWnd = ::CreateWindowExW(0, wc.lpszClassName, L"hosting test",
            WS_POPUP | WS_CLIPCHILDREN, 0, 0, width, height, nullptr, nullptr, wc.hInstance, this);
    }
    ~HostWindow()
    {
        if (m_hWnd != nullptr) ::DestroyWindow(m_hWnd);
    }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND Handle() const { return m_hWnd; }
    Veneer::CPaintManagerUI& Manager() { return m_manager; }

    void Attach(Veneer::CControlUI* root)
    {
        m_manager.AttachDialog(root);
        ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
        ::UpdateWindow(m_hWnd);
        Pump(30);
    }

    static void Pump(DWORD ms) { TestSupport::PumpMessages(ms); }

    // Pumps until done() holds or the time runs out; answers done().
    static bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
    {
        DWORD start = ::GetTickCount();
        while (!done()) {
            if (::GetTickCount() - start > timeoutMs) return done();
            TestSupport::PumpMessages(10);
        }
        return true;
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
            if (self->m_manager.MessageHandler(msg, wParam, lParam, result)) return result;
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

inline std::wstring VariantText(const VARIANT* v)
{
    if (v == nullptr) return L"";
    if (v->vt == VT_BSTR && v->bstrVal != nullptr) return v->bstrVal;
    if (v->vt == (VT_BYREF | VT_BSTR) && v->pbstrVal != nullptr && *v->pbstrVal != nullptr) {
        return *v->pbstrVal;
    }
    if (v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal != nullptr) return VariantText(v->pvarVal);
    return L"";
}

}  // namespace HostingTest
