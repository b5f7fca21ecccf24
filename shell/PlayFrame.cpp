#include "PlayFrame.h"

#include <shellapi.h>

#include "LoginFrame.h"
#include "MicroClientConfig.h"
#include "ShellResources.h"
#include "engine/ControlUI.h"
#include "engine/ImageHolder.h"
#include "engine/RenderEngine.h"
#include "hosting/ComHolder.h"
#include "hosting/WebBrowserIds.h"

using namespace Veneer;

namespace {
// "正在游戏是否退出？" / "提示"
const wchar_t kExitQuestion[] = L"\u6B63\u5728\u6E38\u620F\u662F\u5426\u9000\u51FA\uFF1F";
const wchar_t kNoticeCaption[] = L"\u63D0\u793A";
const int kPlayClientWidth = 1286;
const int kPlayClientHeight = 768;
// Complete reload of the game page.
const int kRefreshCompletely = 3;
}

CMicroClientPlayFrame::~CMicroClientPlayFrame()
{
    HICON icon = m_hTrayIcon;
    m_trayIcon.Remove();
    if (icon != nullptr) ::DestroyIcon(icon);
}

void CMicroClientPlayFrame::InitWindow()
{
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    // Resizing is left to the skin's size box.
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_THICKFRAME));

    CControlUI* browser = m_PaintManager.FindControl(L"WebBrowser");
    if (browser != nullptr) m_pBrowser = static_cast<CWebBrowserUI*>(browser->GetInterface(L"WebBrowser"));
    if (m_pBrowser != nullptr) {
        m_pBrowser->SetHomePage(m_sStartUrl);
        if (!m_pBrowser->IsVisible()) m_pBrowser->SetVisible(true);
        m_pBrowser->SetWebBrowserEventHandler(this);
    }
    m_notice.Attach(m_pBrowser, m_PaintManager.FindControl(L"pageNotice"));
    m_pMaxBtn = m_PaintManager.FindControl(L"maxbtn");
    m_pRestoreBtn = m_PaintManager.FindControl(L"restorebtn");

    ResizeClient(kPlayClientWidth, kPlayClientHeight);

    m_hTrayIcon = static_cast<HICON>(::LoadImageW(CPaintManagerUI::GetInstance(),
        MAKEINTRESOURCEW(IDI_MICROCLIENT), IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
        ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    m_trayIcon.Add(m_hWnd, m_hTrayIcon, GetClientConfig().clientName.GetData());

    CImageHolder logo(CRenderEngine::LoadImageFromHICON(m_hTrayIcon));
    if (!logo) return;
    const bool added = m_PaintManager.AddImage(L"Logo.png", logo->hBitmap, logo->nX, logo->nY, false) != nullptr;
    // Added, the bitmap belongs to the paint manager; refused, it may be gone
    // with the refused record: either way only our record is left to free.
    logo.TakeBitmap();
    if (!added) return;
    CControlUI* logoControl = m_PaintManager.FindControl(L"logo");
    if (logoControl != nullptr) logoControl->SetBkImage(L"Logo.png");
}

void CMicroClientPlayFrame::ShowIfHidden()
{
    // A minimised window counts as visible and stays minimised.
    if (!::IsWindowVisible(m_hWnd)) ::ShowWindow(m_hWnd, SW_SHOW);
}

LRESULT CMicroClientPlayFrame::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == kTrayCallbackMessage) {
        const UINT mouse = static_cast<UINT>(lParam);
        if (mouse == WM_LBUTTONDOWN || mouse == WM_LBUTTONDBLCLK) {
            ShowIfHidden();
        } else if (mouse == WM_RBUTTONDOWN) {
            m_trayIcon.TrackMenu(CPaintManagerUI::GetInstance(), IDR_TRAYMENU);
        }
        return 1;
    }
    if (uMsg == WM_COMMAND) {
        const UINT command = LOWORD(wParam);
        if (command == IDM_SHOWGAME) {
            ShowIfHidden();
        } else if (command == IDM_EXITGAME) {
            const CFrameRef<CMicroClientPlayFrame> self(this);
            ConfirmExit();
            // The frame may be gone with the login frame by now.
            if (!self) return 0;
        }
    } else if (uMsg == WM_CLOSE) {
        ConfirmExit();
        return 1;
    } else if (uMsg == m_uTaskbarCreated && m_uTaskbarCreated != 0) {
        m_trayIcon.AddAgain();
        return 0;
    }
    return WindowImplBase::HandleMessage(uMsg, wParam, lParam);
}

void CMicroClientPlayFrame::ConfirmExit()
{
    // A second question while one is open (the tray menu, WM_CLOSE) could
    // end the client twice and return into frames already deleted.
    if (m_bAskingExit || m_bExiting) return;
    m_bAskingExit = true;
    const CFrameRef<CMicroClientPlayFrame> self(this);
    const int answer = ::MessageBoxW(m_hWnd, kExitQuestion, kNoticeCaption, MB_YESNO | MB_ICONINFORMATION);
    // The frame may have been destroyed while the box was open.
    if (!self) return;
    m_bAskingExit = false;
    if (answer != IDYES) return;
    m_bExiting = true;
    CMicroClientLogin* login = GetLoginFrame();
    if (login != nullptr) login->Close(1);
}

void CMicroClientPlayFrame::OnClick(TNotifyUI& msg)
{
    if (msg.pSender == nullptr) return;
    const CStdString name = msg.pSender->GetName();
    if (name == L"restorebtn") {
        msg.pSender->SetVisible(false);
        if (m_pMaxBtn != nullptr) m_pMaxBtn->SetVisible(true);
        ::ShowWindow(m_hWnd, SW_RESTORE);
    } else if (name == L"maxbtn") {
        msg.pSender->SetVisible(false);
        if (m_pRestoreBtn != nullptr) m_pRestoreBtn->SetVisible(true);
        ::ShowWindow(m_hWnd, SW_MAXIMIZE);
    } else if (name == L"kefubtn") {
        OpenCustomerService();
    } else if (name == L"minbtn") {
        ::ShowWindow(m_hWnd, SW_MINIMIZE);
    } else if (name == L"closebtn") {
        ConfirmExit();
    } else if (name == L"refreshbtn") {
        Reload();
    }
}

void CMicroClientPlayFrame::Reload()
{
    if (m_pBrowser == nullptr) return;
    // A page that never loaded has nothing to refresh: load it again.
    if (m_notice.IsShown()) {
        m_notice.Show(false);
        const CStdString& failed = m_notice.FailedAddress();
        m_pBrowser->Navigate2(failed.IsEmpty() ? m_sStartUrl.GetData() : failed.GetData());
        return;
    }
    m_pBrowser->Refresh2(kRefreshCompletely);
}

void CMicroClientPlayFrame::NavigateError(IDispatch* pDisp, VARIANT*& url, VARIANT*& /*TargetFrameName*/,
                                          VARIANT*& /*StatusCode*/, VARIANT_BOOL*& Cancel)
{
    m_notice.NavigateError(pDisp, url, Cancel);
}

void CMicroClientPlayFrame::OpenCustomerService() const
{
    const std::wstring address = ReadTrailerAddress(1);
    if (address.empty()) return;
    ::ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOW);
}

void CMicroClientPlayFrame::NavigateComplete2(IDispatch* /*pDisp*/, VARIANT*& /*url*/,
                                              const CStdString& /*sName*/)
{
    if (m_pBrowser == nullptr) return;
    IWebBrowser2* browser = m_pBrowser->GetWebBrowser2();
    if (browser == nullptr) return;
    CComHolder<IDispatch> document;
    if (FAILED(browser->get_Document(document.Out())) || !document) return;
    CComHolder<IHTMLDocument2> htmlDocument;
    if (FAILED(document->QueryInterface(IID_HtmlDocument2, htmlDocument.OutVoid())) || !htmlDocument) return;
    BSTR title = nullptr;
    if (FAILED(htmlDocument->get_title(&title))) return;
    const bool hasTitle = title != nullptr && ::SysStringLen(title) > 0;
    ::SysFreeString(title);
    if (!hasTitle) return;
    // The page's own title is not shown; it only decides whether the label is set.
    CControlUI* label = m_PaintManager.FindControl(L"titelLabel");
    if (label != nullptr) label->SetText(L"Tarrowin");
}
