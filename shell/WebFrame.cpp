#include "WebFrame.h"

#include "ShellResources.h"

using namespace Veneer;

UINT CMircroClientWebFrame::GetResourceID() const
{
    return IDR_SKIN;
}

void CMircroClientWebFrame::OnFinalMessage(HWND /*hWnd*/)
{
    delete this;
}

void CMircroClientWebFrame::InitWindow()
{
}

LRESULT CMircroClientWebFrame::OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
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

void CMircroClientWebFrame::FollowLoginFrame(int left, int top, int right, int bottom)
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
    ::SetWindowPos(m_hWnd, HWND_TOP, x, y, m_width, m_height, SWP_SHOWWINDOW);
}
