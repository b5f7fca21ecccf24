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

UINT CMicroClientLogin::GetResourceID() const
{
    return IDR_SKIN;
}

LRESULT CMicroClientLogin::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if ((uMsg == WM_SIZE || uMsg == WM_MOVE) && m_pWebFrame != nullptr) {
        RECT rc = {};
        ::GetWindowRect(m_hWnd, &rc);
        m_pWebFrame->FollowLoginFrame(rc.left, rc.top, rc.right, rc.bottom);
    }
    if (uMsg == WM_WINDOWPOSCHANGED && lParam != 0 &&
        (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_NOZORDER) == 0)
        KeepWebFrameOnTop(false);
    if (uMsg == WM_PAINT && !m_bWebFrameLifted) {
        const LRESULT result = WindowImplBase::HandleMessage(uMsg, wParam, lParam);
        m_bWebFrameLifted = true;
        KeepWebFrameOnTop(true);
        // Wine maps the re-created X window a little later: lift again a few times.
        ::SetTimer(m_hWnd, kLiftTimerId, kLiftTimerMs, nullptr);
        return result;
    }
    if (uMsg == WM_TIMER && wParam == kLiftTimerId) {
        KeepWebFrameOnTop(true);
        if (++m_liftCount >= kLiftCount) ::KillTimer(m_hWnd, kLiftTimerId);
        return 0;
    }
    return WindowImplBase::HandleMessage(uMsg, wParam, lParam);
}

void CMicroClientLogin::KeepWebFrameOnTop(bool restack)
{
    // An owned window belongs above its owner, but Wine lets the owner come
    // up over it when activated, and maps the layered frame's re-created X
    // window over the web frame's after the first paint. Only a real change
    // of the order makes Wine restack the X windows, hence the step below.
    if (m_pWebFrame == nullptr) return;
    HWND web = m_pWebFrame->GetHWND();
    if (!::IsWindowVisible(web)) return;
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    // No redraw for the short step below the login frame: it must not make
    // the login frame paint again.
    if (restack) ::SetWindowPos(web, m_hWnd, 0, 0, 0, 0, flags | SWP_NOREDRAW);
    ::SetWindowPos(web, HWND_TOP, 0, 0, 0, 0, flags);
}

void CMicroClientLogin::OnFinalMessage(HWND /*hWnd*/)
{
    delete this;
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

    m_pWebFrame = new (std::nothrow) CMicroClientWebFrame();
    if (m_pWebFrame != nullptr) {
        const RECT& web = config.loginWebRect;
        m_pWebFrame->FollowLoginFrame(web.left, web.top, web.right, web.bottom);
        m_pWebFrame->Create(m_hWnd, L"VemoWindow", kWebFrameStyle, 0, 0, 0, 0, 0, nullptr);
        m_pWebFrame->ShowWindow(true, true);
    }

    PlaceButton(L"minbtn", config.miniRect);
    PlaceButton(L"closebtn", config.closeRect);
}

void CMicroClientLogin::PlaceButton(LPCWSTR name, const RECT& rect)
{
    CControlUI* button = m_PaintManager.FindControl(name);
    if (button == nullptr) return;
    if (!button->IsFloat()) button->SetFloat(true);
    button->SetFixedXY(SIZE { rect.left, rect.top });
    button->SetFixedWidth(rect.right - rect.left);
    button->SetFixedHeight(rect.bottom - rect.top);
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

LRESULT CMicroClientLogin::ResponseDefaultKeyEvent(WPARAM /*wParam*/)
{
    // Neither Enter nor Escape closes the login frame.
    return 0;
}

LRESULT CMicroClientLogin::OnDestroy(UINT, WPARAM, LPARAM, bool& bHandled)
{
    ::PostQuitMessage(0);
    bHandled = false;
    return 0;
}
