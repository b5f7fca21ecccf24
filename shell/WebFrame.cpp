#include "WebFrame.h"

#include <windowsx.h>

#include <new>

#include "LoginFrame.h"
#include "MicroClientConfig.h"
#include "NavigationText.h"
#include "PlayFrame.h"
#include "ShellResources.h"

using namespace Veneer;

namespace {
// Visible, overlapped window with caption, system menu, sizing frame and boxes.
const DWORD kPlayFrameStyle = 0x10CF0000;
}  // namespace

bool IsPlayAddress(const CStdString& address, const CStdString& keyword)
{
    return address.Find(keyword.GetData()) >= 0;
}

CStdString PlayStartAddress(const CStdString& address)
{
    const int position = address.Find(L"http://");
    if (position <= 0) return address;
    return address.Right(address.GetLength() - position);
}

CMicroClientWebFrame::~CMicroClientWebFrame()
{
    CMicroClientPlayFrame* play = m_playFrame.Get();
    if (play != nullptr && ::IsWindow(play->GetHWND())) ::DestroyWindow(play->GetHWND());
}

LRESULT CMicroClientWebFrame::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_CLOSE) {
        // The page never closes on its own: Alt+F4, the system menu's Close
        // and WM_CLOSE end the client as the login frame's close button does,
        // or, once play has started, ask as the play frame does.
        CMicroClientPlayFrame* play = m_playFrame.Get();
        HWND target = play != nullptr ? play->GetHWND() : ::GetWindow(m_hWnd, GW_OWNER);
        if (target != nullptr) ::PostMessageW(target, WM_CLOSE, 1, 0);
        return 0;
    }
    if (m_notice.IsShown()) {
        // The notice is no caption of its own: dragging it moves the login
        // frame, which the web frame follows.
        if (uMsg == WM_NCHITTEST) return HTCLIENT;
        if (uMsg == WM_LBUTTONDOWN) {
            POINT pt = { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) };
            CControlUI* control = m_PaintManager.FindControl(pt);
            if (control == nullptr || control->GetName() != L"retrybtn") {
                DragLoginFrame();
                return 0;
            }
        }
    }
    return WindowImplBase::HandleMessage(uMsg, wParam, lParam);
}

void CMicroClientWebFrame::InitWindow()
{
    CControlUI* control = m_PaintManager.FindControl(L"WebBrowser");
    if (control == nullptr) return;
    CWebBrowserUI* browser = static_cast<CWebBrowserUI*>(control->GetInterface(L"WebBrowser"));
    if (browser == nullptr) return;
    const std::wstring loginPage = ReadTrailerAddress(0);
    if (loginPage.empty()) return;
    m_pBrowser = browser;
    m_notice.Attach(browser, m_PaintManager.FindControl(L"pageNotice"));
    browser->SetHomePage(loginPage.c_str());
    browser->SetWebBrowserEventHandler(this);
    if (!browser->IsVisible()) browser->SetVisible(true);
}

LRESULT CMicroClientWebFrame::OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    WindowImplBase::OnCreate(uMsg, wParam, lParam, bHandled);
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    style &= ~static_cast<LONG_PTR>(WS_CAPTION | WS_CLIPCHILDREN);
    style |= WS_CLIPSIBLINGS | WS_POPUP;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, style);
    LONG_PTR exStyle = ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE);
    exStyle &= ~static_cast<LONG_PTR>(WS_EX_APPWINDOW | WS_EX_DLGMODALFRAME | 0x00CF0000);
    exStyle |= WS_EX_LAYERED;
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, exStyle);
    // Pure green in the page is see-through to the login frame beneath.
    ::SetLayeredWindowAttributes(m_hWnd, RGB(0, 255, 0), 0, LWA_COLORKEY);
    return 0;
}

void CMicroClientWebFrame::FollowLoginFrame(int left, int top, int right, int bottom)
{
    int x = left + m_offsetLeft;
    int y = top + m_offsetTop;
    if (m_offsetLeft == 0 && m_offsetTop == 0) {
        m_offsetLeft = left;
        m_offsetTop = top;
        m_width = right - left;
        m_height = bottom - top;
        x = left;
        y = top;
    }
    if (m_hWnd == nullptr) return;
    // The order is kept relative to the login frame below, not raised to the top.
    ::SetWindowPos(m_hWnd, nullptr, x, y, m_width, m_height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    StackAboveOwner();
}

void CMicroClientWebFrame::StackAboveOwner()
{
    if (m_hWnd == nullptr) return;
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner == nullptr) return;
    HWND above = ::GetWindow(owner, GW_HWNDPREV);
    if (above == m_hWnd) return;
    // A non-topmost window is not placed behind a topmost one: when only
    // topmost windows are over the owner, the top of the rest is directly above it.
    if (above == nullptr || (::GetWindowLongPtrW(above, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0) above = HWND_TOP;
    ::SetWindowPos(m_hWnd, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CMicroClientWebFrame::BeforeNavigate2(IDispatch* /*pDisp*/, VARIANT*& url, VARIANT*& /*Flags*/,
    VARIANT*& /*TargetFrameName*/, VARIANT*& /*PostData*/, VARIANT*& /*Headers*/, VARIANT_BOOL*& Cancel)
{
    const CStdString address = NavigationAddress(url);
    if (!IsPlayAddress(address, GetClientConfig().playGamekeyWord)) return;
    if (Cancel != nullptr) *Cancel = VARIANT_TRUE;

    // Without a play frame the login windows stay up, so the user can still
    // try again or close the client.
    if (!m_playFrame && !OpenPlayFrame(PlayStartAddress(address))) return;

    CMicroClientLogin* login = GetLoginFrame();
    if (login != nullptr) login->ShowWindow(false, true);
    ShowWindow(false, true);
    CMicroClientPlayFrame* play = m_playFrame.Get();
    if (play != nullptr) ::SendMessageW(play->GetHWND(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
}

void CMicroClientWebFrame::NavigateError(IDispatch* pDisp, VARIANT*& url, VARIANT*& /*TargetFrameName*/,
    VARIANT*& /*StatusCode*/, VARIANT_BOOL*& Cancel)
{
    m_notice.NavigateError(pDisp, url, Cancel);
}

void CMicroClientWebFrame::OnClick(TNotifyUI& msg)
{
    if (msg.pSender == nullptr || msg.pSender->GetName() != L"retrybtn") return;
    if (m_pBrowser == nullptr) return;
    m_notice.Show(false);
    const CStdString& failed = m_notice.FailedAddress();
    if (failed.IsEmpty()) m_pBrowser->NavigateHomePage();
    else m_pBrowser->Navigate2(failed.GetData());
}

void CMicroClientWebFrame::DragLoginFrame()
{
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner == nullptr) return;
    ::ReleaseCapture();
    // SC_MOVE with the caption hit code: a move that follows the mouse.
    ::SendMessageW(owner, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

bool CMicroClientWebFrame::OpenPlayFrame(const CStdString& address)
{
    CMicroClientPlayFrame* frame = new (std::nothrow) CMicroClientPlayFrame();
    if (frame == nullptr) return false;
    m_playFrame.Reset(frame);
    frame->SetStartUrl(address);
    if (frame->Create(nullptr, L"Tarrowin", kPlayFrameStyle, 0, 0, 0, 0, 0, nullptr) == nullptr) {
        // A window that got as far as WM_NCCREATE deleted the object with it;
        // otherwise the object is still ours.
        if (m_playFrame) delete frame;
        m_playFrame.Reset();
        return false;
    }
    frame->CenterWindow();
    return true;
}
