#pragma once
// A real window whose tree the dialog builder makes from skin markup, with a
// recorder of its notifications and a way to read its pixels back.
#include <windows.h>

#include <string>
#include <vector>

#include "HostWindow.h"
#include "engine/ControlUI.h"
#include "engine/PaintManagerUI.h"
#include "engine/RenderEngine.h"
#include "foundation/DialogBuilder.h"
#include "support/TestSupport.h"

namespace WidgetWindowTests {

struct Note {
    std::wstring type;
    Veneer::CControlUI* sender { nullptr };
    WPARAM wParam { 0 };
};

class SkinnedWindow : public Veneer::INotifyUI {
public:
    SkinnedWindow(int width, int height, LPCWSTR markup) : host(width, height)
    {
        Veneer::CPaintManagerUI::SetResourcePath(TestSupport::FixturePath(L"widgets/").c_str());
        Veneer::CDialogBuilder builder;
        root = builder.Create(Veneer::STRINGorID(markup), nullptr, nullptr, &host.Manager());
        host.Manager().AddNotifier(this);
        if (root != nullptr) host.Attach(root);
    }
    virtual ~SkinnedWindow() { host.Manager().RemoveNotifier(this); }

    void Notify(Veneer::TNotifyUI& msg) override
    {
        notes.push_back(Note { msg.sType.GetData(), msg.pSender, msg.wParam });
    }
    int Count(LPCWSTR type, Veneer::CControlUI* sender = nullptr) const
    {
        int count = 0;
        for (const Note& n : notes) {
            if (n.type == type && (sender == nullptr || n.sender == sender)) ++count;
        }
        return count;
    }
    Veneer::CControlUI* Find(LPCWSTR name) { return host.Manager().FindControl(name); }

    static POINT Centre(Veneer::CControlUI* control)
    {
        const RECT& rc = control->GetPos();
        return POINT { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
    }
    void Move(POINT pt) { host.Post(WM_MOUSEMOVE, 0, pt.x, pt.y); }
    void Down(POINT pt) { host.Post(WM_LBUTTONDOWN, MK_LBUTTON, pt.x, pt.y); }
    void Up(POINT pt) { host.Post(WM_LBUTTONUP, 0, pt.x, pt.y); }
    void Click(POINT pt)
    {
        Move(pt);
        Down(pt);
        Up(pt);
        Settle();
    }
    // Lets posted input and the paints it causes run.
    void Settle() { host.Pump(60); }

    // 0x00RRGGBB of the window's client area as painted.
    DWORD Pixel(POINT pt)
    {
        ::UpdateWindow(host.Handle());
        HDC dc = ::GetDC(host.Handle());
        const COLORREF c = ::GetPixel(dc, pt.x, pt.y);
        ::ReleaseDC(host.Handle(), dc);
        return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
    int CountPixels(const RECT& area, bool (*match)(int r, int g, int b))
    {
        ::UpdateWindow(host.Handle());
        HDC dc = ::GetDC(host.Handle());
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                const COLORREF c = ::GetPixel(dc, x, y);
                if (match(GetRValue(c), GetGValue(c), GetBValue(c))) ++count;
            }
        }
        ::ReleaseDC(host.Handle(), dc);
        return count;
    }

    ControlWindowTest::HostWindow host;
    Veneer::CControlUI* root { nullptr };
    std::vector<Note> notes;
};

}  // namespace WidgetWindowTests
