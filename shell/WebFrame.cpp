#include "WebFrame.h"

#include <new>

#include "LoginFrame.h"
#include "MicroClientConfig.h"
#include "PlayFrame.h"
#include "ShellResources.h"

using namespace Veneer;

namespace {
// Visible, overlapped window with caption, system menu, sizing frame and boxes.
const DWORD kPlayFrameStyle = 0x10CF0000;

CStdString AddressText(VARIANT* url)
{
    if (url == nullptr) return CStdString();
    if (url->vt == VT_BSTR) return CStdString(url->bstrVal != nullptr ? url->bstrVal : L"");
    if (url->vt == (VT_BYREF | VT_BSTR) && url->pbstrVal != nullptr && *url->pbstrVal != nullptr)
        return CStdString(*url->pbstrVal);
    VARIANT text;
    ::VariantInit(&text);
    CStdString result;
    if (SUCCEEDED(::VariantChangeType(&text, url, 0, VT_BSTR)) && text.bstrVal != nullptr)
        result = text.bstrVal;
    ::VariantClear(&text);
    return result;
}
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
    if (m_pPlayFrame != nullptr && ::IsWindow(m_pPlayFrame->GetHWND()))
        ::DestroyWindow(m_pPlayFrame->GetHWND());
}

UINT CMicroClientWebFrame::GetResourceID() const
{
    return IDR_SKIN;
}

void CMicroClientWebFrame::OnFinalMessage(HWND /*hWnd*/)
{
    delete this;
}

void CMicroClientWebFrame::InitWindow()
{
    CControlUI* control = m_PaintManager.FindControl(L"WebBrowser");
    if (control == nullptr) return;
    CWebBrowserUI* browser = static_cast<CWebBrowserUI*>(control->GetInterface(L"WebBrowser"));
    if (browser == nullptr) return;
    const std::wstring loginPage = ReadTrailerAddress(0);
    if (loginPage.empty()) return;
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
    ::SetWindowPos(m_hWnd, HWND_TOP, x, y, m_width, m_height, SWP_SHOWWINDOW);
}

void CMicroClientWebFrame::BeforeNavigate2(IDispatch* /*pDisp*/, VARIANT*& url, VARIANT*& /*Flags*/,
    VARIANT*& /*TargetFrameName*/, VARIANT*& /*PostData*/, VARIANT*& /*Headers*/, VARIANT_BOOL*& Cancel)
{
    const CStdString address = AddressText(url);
    if (!IsPlayAddress(address, GetClientConfig().playGamekeyWord)) return;
    if (Cancel != nullptr) *Cancel = VARIANT_TRUE;

    // Without a play frame the login windows stay up, so the user can still
    // try again or close the client.
    if (m_pPlayFrame == nullptr && !OpenPlayFrame(PlayStartAddress(address))) return;

    CMicroClientLogin* login = GetLoginFrame();
    if (login != nullptr) login->ShowWindow(false, true);
    ShowWindow(false, true);
    if (m_pPlayFrame != nullptr) ::SendMessageW(m_pPlayFrame->GetHWND(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
}

bool CMicroClientWebFrame::OpenPlayFrame(const CStdString& address)
{
    CMicroClientPlayFrame* frame = new (std::nothrow) CMicroClientPlayFrame();
    if (frame == nullptr) return false;
    m_pPlayFrame = frame;
    frame->SetSelfSlot(&m_pPlayFrame);
    frame->SetStartUrl(address);
    if (frame->Create(nullptr, L"Tarrowin", kPlayFrameStyle, 0, 0, 0, 0, 0, nullptr) == nullptr) {
        // A window that got as far as WM_NCCREATE deleted the object with it
        // and cleared the slot; otherwise the object is still ours.
        if (m_pPlayFrame == frame) delete frame;
        m_pPlayFrame = nullptr;
        return false;
    }
    frame->CenterWindow();
    return true;
}
