#pragma once
// Small controls and a host window for exercising the paint manager on its
// own: a probe that records its events and a box that places its children
// at fixed rectangles.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "engine/ControlUI.h"
#include "engine/PaintManagerUI.h"

namespace PaintManagerTestKit {

using namespace Veneer;

inline void FillSolid(HDC hDC, const RECT& rc, COLORREF color)
{
    HBRUSH brush = ::CreateSolidBrush(color);
    ::FillRect(hDC, &rc, brush);
    ::DeleteObject(brush);
}

// Sets alpha 255 over rc in the DIB section selected into hDC: GDI leaves
// alpha at 0, which a layered window shows as fully transparent.
inline void MakeOpaque(HDC hDC, const RECT& rc)
{
    DIBSECTION dib {};
    HGDIOBJ bitmap = ::GetCurrentObject(hDC, OBJ_BITMAP);
    if (!bitmap || ::GetObjectW(bitmap, sizeof(dib), &dib) != sizeof(dib) || !dib.dsBm.bmBits) return;
    if (dib.dsBm.bmBitsPixel != 32) return;
    const int width = dib.dsBm.bmWidth;
    const int height = dib.dsBm.bmHeight;
    const bool bottomUp = dib.dsBmih.biHeight > 0;
    BYTE* bits = static_cast<BYTE*>(dib.dsBm.bmBits);
    for (int y = std::max<int>(rc.top, 0); y < std::min<int>(rc.bottom, height); ++y) {
        int row = bottomUp ? height - 1 - y : y;
        for (int x = std::max<int>(rc.left, 0); x < std::min<int>(rc.right, width); ++x) {
            bits[(row * width + x) * 4 + 3] = 0xFF;
        }
    }
}

// Records every event it receives; behaves like a push button for clicks.
class ProbeUI : public CControlUI {
public:
    explicit ProbeUI(LPCWSTR name = L"", COLORREF color = RGB(0, 0, 255)) : m_color(color) { SetName(name); }
    ~ProbeUI() override { ++s_destroyed; }

    LPCWSTR GetClass() const override { return L"ProbeUI"; }
    LPVOID GetInterface(LPCWSTR pstrName) override
    {
        if (std::wstring(pstrName) == L"Probe") return this;
        return CControlUI::GetInterface(pstrName);
    }
    UINT GetControlFlags() const override { return m_flags; }

    void DoEvent(TEventUI& event) override
    {
        m_events.push_back(event);
        if (sink) sink->push_back(event.Type);
        if (onEvent) onEvent(this, event);
        switch (event.Type) {
        case EVENT_BUTTONDOWN:
        case EVENT_DBLCLICK:
            m_pressed = true;
            return;
        case EVENT_BUTTONUP: {
            bool click = m_pressed && IsEnabled() && ::PtInRect(&m_rcItem, event.ptMouse) && m_pManager;
            m_pressed = false;
            // Last action: a click handler may delete this control.
            if (click) m_pManager->SendNotify(this, L"click");
            return;
        }
        case EVENT_SETFOCUS:
        case EVENT_KILLFOCUS:
        case EVENT_TIMER:
        case EVENT_CONTEXTMENU:
        case EVENT_SETCURSOR:
            CControlUI::DoEvent(event);
            return;
        default:
            return;
        }
    }

    void DoPaint(HDC hDC, const RECT& rcPaint) override
    {
        RECT rc;
        if (!::IntersectRect(&rc, &rcPaint, &m_rcItem)) return;
        FillSolid(hDC, rc, m_color);
        if (m_opaqueAlpha) MakeOpaque(hDC, rc);
        ++m_paints;
    }

    void DoPostPaint(HDC hDC, const RECT& rcPaint) override
    {
        RECT rc;
        if (!::IntersectRect(&rc, &rcPaint, &m_rcPost)) return;
        FillSolid(hDC, rc, m_postColor);
    }

    int Count(int type) const
    {
        int n = 0;
        for (const TEventUI& e : m_events) n += e.Type == type ? 1 : 0;
        return n;
    }

    std::vector<int> Types() const
    {
        std::vector<int> types;
        for (const TEventUI& e : m_events) types.push_back(e.Type);
        return types;
    }

    static inline int s_destroyed = 0;

    std::vector<TEventUI> m_events;
    std::function<void(ProbeUI*, TEventUI&)> onEvent;
    std::vector<int>* sink { nullptr };  // outlives the probe
    bool m_opaqueAlpha { false };         // set alpha 255 where it paints (layered windows)
    UINT m_flags { 0 };
    COLORREF m_color { RGB(0, 0, 255) };
    RECT m_rcPost { 0, 0, 0, 0 };
    COLORREF m_postColor { RGB(255, 0, 255) };
    int m_paints { 0 };
    bool m_pressed { false };
};

// Owns its children and places each at the rectangle given to Add.
class BoxUI : public CControlUI {
public:
    explicit BoxUI(LPCWSTR name = L"", COLORREF color = RGB(255, 255, 255)) : m_color(color) { SetName(name); }
    ~BoxUI() override
    {
        for (CControlUI* child : m_children) delete child;
    }

    LPCWSTR GetClass() const override { return L"BoxUI"; }

    template <typename T> T* Add(T* child, RECT place)
    {
        m_children.push_back(child);
        m_places.push_back(place);
        if (m_pManager) m_pManager->InitControls(child, this);
        else child->SetManager(nullptr, this, false);
        NeedUpdate();
        return child;
    }

    // Takes the child out; its deletion goes through the manager's
    // delayed-cleanup list, as containers do.
    bool Remove(CControlUI* child)
    {
        for (size_t i = 0; i < m_children.size(); ++i) {
            if (m_children[i] != child) continue;
            m_children.erase(m_children.begin() + static_cast<long>(i));
            m_places.erase(m_places.begin() + static_cast<long>(i));
            if (m_pManager) m_pManager->AddDelayedCleanup(child);
            else delete child;
            NeedUpdate();
            return true;
        }
        return false;
    }

    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit) override
    {
        for (CControlUI* child : m_children) child->SetManager(pManager, this, bInit);
        CControlUI::SetManager(pManager, pParent, bInit);
    }

    void SetPos(RECT rc) override
    {
        CControlUI::SetPos(rc);
        ++m_layouts;
        for (size_t i = 0; i < m_children.size(); ++i) {
            RECT place = m_places[i];
            ::OffsetRect(&place, rc.left, rc.top);
            m_children[i]->SetPos(place);
        }
    }

    void DoPaint(HDC hDC, const RECT& rcPaint) override
    {
        RECT rc;
        if (!::IntersectRect(&rc, &rcPaint, &m_rcItem)) return;
        FillSolid(hDC, rc, m_color);
        for (CControlUI* child : m_children) {
            if (child->IsVisible()) child->DoPaint(hDC, rc);
        }
    }

    CControlUI* FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags) override
    {
        if ((uFlags & FIND_VISIBLE) != 0 && !IsVisible()) return nullptr;
        if ((uFlags & FIND_ENABLED) != 0 && !IsEnabled()) return nullptr;
        if ((uFlags & FIND_HITTEST) != 0 && !::PtInRect(&m_rcItem, *static_cast<POINT*>(pData))) return nullptr;
        if ((uFlags & FIND_ME_FIRST) != 0) {
            CControlUI* self = CControlUI::FindControl(Proc, pData, uFlags);
            if (self) return self;
        }
        if ((uFlags & FIND_TOP_FIRST) != 0) {
            for (size_t i = m_children.size(); i-- > 0;) {
                CControlUI* found = m_children[i]->FindControl(Proc, pData, uFlags);
                if (found) return found;
            }
        } else {
            for (CControlUI* child : m_children) {
                CControlUI* found = child->FindControl(Proc, pData, uFlags);
                if (found) return found;
            }
        }
        if ((uFlags & FIND_ME_FIRST) == 0) return CControlUI::FindControl(Proc, pData, uFlags);
        return nullptr;
    }

    std::vector<CControlUI*> m_children;
    std::vector<RECT> m_places;
    COLORREF m_color { RGB(255, 255, 255) };
    int m_layouts { 0 };
};

// Records notifications.
class NotifyLog : public INotifyUI {
public:
    void Notify(TNotifyUI& msg) override
    {
        types.push_back(msg.sType.GetData());
        senders.push_back(msg.pSender);
        if (onNotify) onNotify(msg);
    }
    int Count(const std::wstring& type) const
    {
        int n = 0;
        for (const std::wstring& t : types) n += t == type ? 1 : 0;
        return n;
    }
    std::vector<std::wstring> types;
    std::vector<CControlUI*> senders;
    std::function<void(TNotifyUI&)> onNotify;
};

// A plain popup window whose every message goes to its paint manager first.
class HostWindow {
public:
    HostWindow(int width, int height, DWORD exStyle = 0, int x = 40, int y = 40)
    {
        static bool registered = false;
        if (!registered) {
            WNDCLASSW wc {};
            wc.style = CS_DBLCLKS;
            wc.lpfnWndProc = &HostWindow::WndProc;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
            wc.lpszClassName = L"VeneerPaintManagerTestHost";
            ::RegisterClassW(&wc);
            registered = true;
        }
        hwnd = ::CreateWindowExW(exStyle, L"VeneerPaintManagerTestHost", L"paint manager test",
            WS_POPUP | WS_VISIBLE, x, y, width, height, nullptr, nullptr, ::GetModuleHandleW(nullptr), this);
        if (hwnd) manager.Init(hwnd);
    }
    ~HostWindow()
    {
        if (hwnd && ::IsWindow(hwnd)) ::DestroyWindow(hwnd);
    }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    static LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        HostWindow* self = reinterpret_cast<HostWindow*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (uMsg == WM_NCCREATE) {
            self = static_cast<HostWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        if (uMsg == WM_NCDESTROY) {
            ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
            if (self) self->hwnd = nullptr;
        }
        if (self && self->hwnd) {
            self->messages.push_back(uMsg);
            LRESULT lRes = 0;
            if (self->manager.MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
        }
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }

    CPaintManagerUI manager;
    HWND hwnd { nullptr };
    std::vector<UINT> messages;
};

// Runs the message loop the way CPaintManagerUI::MessageLoop does, for `ms`
// milliseconds, or until the queue is empty when ms is 0.
inline void Pump(DWORD ms = 0)
{
    DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (CPaintManagerUI::TranslateMessage(&msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (::GetTickCount() - start >= ms) return;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

inline LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

}  // namespace PaintManagerTestKit
