#include "SkinRender.h"

#include "PngFile.h"
#include "SkinWindow.h"
#include "engine/ControlUI.h"
#include "engine/PaintManagerUI.h"
#include "engine/RenderEngine.h"

using namespace Veneer;

namespace SkinTool {

namespace {

// Puts a control in a state the way the paint manager would, by the events
// the pointer sends.
bool SendState(CPaintManagerUI& manager, const std::wstring& name, bool pushed, std::wstring& why)
{
    CControlUI* control = manager.FindControl(name.c_str());
    if (control == nullptr) {
        why = L"no control named '" + name + L"'";
        return false;
    }
    const RECT& rc = control->GetPos();
    TEventUI event;
    event.pSender = control;
    event.dwTimestamp = ::GetTickCount();
    event.ptMouse.x = (rc.left + rc.right) / 2;
    event.ptMouse.y = (rc.top + rc.bottom) / 2;
    event.Type = EVENT_MOUSEENTER;
    control->Event(event);
    if (pushed) {
        event.Type = EVENT_BUTTONDOWN;
        control->Event(event);
    }
    return true;
}

class BitmapHolder {
public:
    explicit BitmapHolder(HBITMAP bitmap) : m_bitmap(bitmap) {}
    ~BitmapHolder()
    {
        if (m_bitmap != nullptr) ::DeleteObject(m_bitmap);
    }
    BitmapHolder(const BitmapHolder&) = delete;
    BitmapHolder& operator=(const BitmapHolder&) = delete;
    HBITMAP Get() const { return m_bitmap; }

private:
    HBITMAP m_bitmap { nullptr };
};

}  // namespace

bool RenderSkin(SkinWindow& window, const RenderOptions& options, const std::wstring& png, std::wstring& why)
{
    CPaintManagerUI& manager = window.Manager();
    CControlUI* root = window.Root();
    if (root == nullptr) {
        why = L"the skin built no control";
        return false;
    }
    SIZE size = options.size;
    if (size.cx <= 0 || size.cy <= 0) size = manager.GetInitSize();
    if (size.cx <= 0 || size.cy <= 0 || size.cx > 8192 || size.cy > 8192) {
        why = L"the window has no usable size: give one with --size WxH";
        return false;
    }
    ::SetWindowPos(window.Window(), nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    const RECT rc = { 0, 0, size.cx, size.cy };
    root->SetPos(rc);
    if (!options.hot.empty() && !SendState(manager, options.hot, false, why)) return false;
    if (!options.pushed.empty() && !SendState(manager, options.pushed, true, why)) return false;
    // A state change may ask for layout again.
    root->SetPos(rc);

    BitmapHolder bitmap(CRenderEngine::GenerateBitmap(&manager, root, rc));
    if (bitmap.Get() == nullptr) {
        why = L"painting failed";
        return false;
    }
    if (!WriteBitmapPng(bitmap.Get(), png)) {
        why = L"cannot write " + png;
        return false;
    }
    return true;
}

}  // namespace SkinTool
