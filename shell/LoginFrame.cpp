#include "LoginFrame.h"

#include <new>

#include "MicroClientConfig.h"
#include "ShellResources.h"
#include "WebFrame.h"
#include "engine/ControlUI.h"

using namespace Veneer;

namespace {
// Same style bits as the login frame: popup, visible, clipping, caption, system menu.
const DWORD kWebFrameStyle = 0x96C80000;
// Far from the paint manager's control timers.
const UINT_PTR kLiftTimerId = 0x7E11;
const UINT kLiftTimerMs = 250;
const int kLiftCount = 8;
}

CMicroClientLogin* GetLoginFrame()
{
    static CMicroClientLogin* frame = new (std::nothrow) CMicroClientLogin();
    return frame;
}

LRESULT CMicroClientLogin::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CMicroClientWebFrame* web = m_webFrame.Get();
    if ((uMsg == WM_SIZE || uMsg == WM_MOVE) && web != nullptr) {
        RECT rc = {};
        ::GetWindowRect(m_hWnd, &rc);
        web->FollowLoginFrame(rc.left, rc.top, rc.right, rc.bottom);
    }
    if (uMsg == WM_WINDOWPOSCHANGED && lParam != 0 &&
        (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_NOZORDER) == 0)
        KeepWebFrameAbove();
    if (uMsg == WM_PAINT && !m_bWebFrameLifted) {
        const LRESULT result = WindowImplBase::HandleMessage(uMsg, wParam, lParam);
        m_bWebFrameLifted = true;
        KeepWebFrameAbove();
        // Wine maps the re-created X window a little later: lift again a few times.
        ::SetTimer(m_hWnd, kLiftTimerId, kLiftTimerMs, nullptr);
        return result;
    }
    if (uMsg == WM_TIMER && wParam == kLiftTimerId) {
        KeepWebFrameAbove();
        if (++m_liftCount >= kLiftCount) ::KillTimer(m_hWnd, kLiftTimerId);
        return 0;
    }
    return WindowImplBase::HandleMessage(uMsg, wParam, lParam);
}

void CMicroClientLogin::KeepWebFrameAbove()
{
    // An owned window belongs above its owner, but Wine lets the owner come
    // up over it when activated, and maps the layered frame's re-created X
    // window over the web frame's after the first paint. Only a real change
    // of the order makes Wine restack the X windows, hence the step below.
    // The web frame goes directly above this frame, never above what other
    // programs show over it.
    CMicroClientWebFrame* web = m_webFrame.Get();
    if (web == nullptr || !::IsWindowVisible(web->GetHWND())) return;
    // No redraw for the short step below the login frame: it must not make
    // the login frame paint again.
    ::SetWindowPos(web->GetHWND(), m_hWnd, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    web->StackAboveOwner();
}

void CMicroClientLogin::InitWindow()
{
    const CMicroClientConfig& config = GetClientConfig();
    SetIcon(IDI_MICROCLIENT);
    const SIZE size = config.loginFrameSize;
    ResizeClient(size.cx, size.cy);
    // The bottom margin is the width on purpose: the whole picture is caption.
    RECT caption = { 0, 0, 0, size.cx };
    m_PaintManager.SetCaptionRect(caption);

    CreateWebFrame();

    PlaceControl(L"minbtn", config.miniRect);
    PlaceControl(L"closebtn", config.closeRect);
}

void CMicroClientLogin::CreateWebFrame()
{
    CMicroClientWebFrame* web = new (std::nothrow) CMicroClientWebFrame();
    if (web == nullptr) return;
    const RECT& rect = GetClientConfig().loginWebRect;
    web->FollowLoginFrame(rect.left, rect.top, rect.right, rect.bottom);
    m_webFrame.Reset(web);
    if (web->Create(m_hWnd, L"VemoWindow", kWebFrameStyle, 0, 0, 0, 0, 0, nullptr) == nullptr) {
        // A window that got as far as WM_NCCREATE deleted the object with it.
        if (m_webFrame) delete web;
        m_webFrame.Reset();
        return;
    }
    web->ShowWindow(true, true);
}

void CMicroClientLogin::PlaceControl(LPCWSTR name, const RECT& rect)
{
    CControlUI* control = m_PaintManager.FindControl(name);
    if (control == nullptr) return;
    if (!control->IsFloat()) control->SetFloat(true);
    control->SetFixedXY(SIZE { rect.left, rect.top });
    control->SetFixedWidth(rect.right - rect.left);
    control->SetFixedHeight(rect.bottom - rect.top);
}

void CMicroClientLogin::OnClick(TNotifyUI& msg)
{
    if (msg.pSender == nullptr) return;
    const CStdString name = msg.pSender->GetName();
    if (name == L"minbtn")
        SendMessageW(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    else if (name == L"closebtn")
        Close(1);
}

LRESULT CMicroClientLogin::OnDestroy(UINT, WPARAM, LPARAM, bool& bHandled)
{
    ::PostQuitMessage(0);
    bHandled = false;
    return 0;
}
