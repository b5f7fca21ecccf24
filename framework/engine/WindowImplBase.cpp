#include "engine/WindowImplBase.h"

#include <windowsx.h>

#include <cstring>
#include <cwchar>
#include <new>

#include "engine/ControlUI.h"
#include "foundation/ValueSyntax.h"

namespace Veneer {

std::unique_ptr<BYTE[]> WindowImplBase::m_lpResourceZIPBuffer;
DWORD WindowImplBase::m_dwResourceZIPSize = 0;

VENEER_BEGIN_MESSAGE_MAP(WindowImplBase, CNotifyPump)
    VENEER_ON_MSGTYPE(L"click", WindowImplBase::OnClick)
VENEER_END_MESSAGE_MAP()

namespace {

// "加载资源文件失败"
const wchar_t kSkinLoadFailed[] = L"\u52A0\u8F7D\u8D44\u6E90\u6587\u4EF6\u5931\u8D25";

// The work area of the monitor nearest to the window, relative to the
// monitor's own origin.
RECT RelativeWorkArea(HWND hWnd)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &info);
    RECT work = info.rcWork;
    ::OffsetRect(&work, -info.rcMonitor.left, -info.rcMonitor.top);
    return work;
}

}  // namespace

WindowImplBase::~WindowImplBase()
{
    // The paint manager goes with this object: a window that outlives it must
    // not route messages here any more.
    if (m_hWnd == nullptr) return;
    m_PaintManager.RemovePreMessageFilter(this);
    m_PaintManager.RemoveNotifier(this);
    DetachFromWindow();
}

UINT WindowImplBase::GetClassStyle() const
{
    return CS_DBLCLKS;
}

CControlUI* WindowImplBase::CreateControl(LPCWSTR /*pstrClass*/)
{
    return nullptr;
}

void WindowImplBase::Notify(TNotifyUI& msg)
{
    NotifyPump(msg);
}

LRESULT WindowImplBase::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM /*lParam*/,
                                       bool& /*bHandled*/)
{
    if (uMsg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE))
        return ResponseDefaultKeyEvent(wParam);
    return 0;
}

LRESULT WindowImplBase::ResponseDefaultKeyEvent(WPARAM wParam)
{
    if (wParam == VK_ESCAPE) {
        Close(IDOK);
        return 1;
    }
    return 0;
}

void WindowImplBase::OnClick(TNotifyUI& msg)
{
    if (msg.pSender == nullptr) return;
    const CStdString name = msg.pSender->GetName();
    if (name == L"closebtn") {
        Close(IDOK);
    } else if (name == L"minbtn") {
        SendMessageW(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else if (name == L"maxbtn") {
        SendMessageW(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    } else if (name == L"restorebtn") {
        SendMessageW(WM_SYSCOMMAND, SC_RESTORE, 0);
    }
}

UILIB_RESOURCETYPE WindowImplBase::GetResourceType() const
{
    return SKIN_FOLDER;
}

CStdString WindowImplBase::GetZIPFileName() const
{
    return CStdString();
}

UINT WindowImplBase::GetResourceID() const
{
    return 0;
}

LONG WindowImplBase::GetStyle()
{
    const LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    return static_cast<LONG>(style & ~static_cast<LONG_PTR>(WS_CAPTION));
}

// Message handling --------------------------------------------------------

LRESULT WindowImplBase::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT lRes = 0;
    bool bHandled = true;
    switch (uMsg) {
    case WM_CREATE: lRes = OnCreate(uMsg, wParam, lParam, bHandled); break;
    case WM_DESTROY: lRes = OnDestroy(uMsg, wParam, lParam, bHandled); break;
    case WM_SIZE: lRes = OnSize(uMsg, wParam, lParam, bHandled); break;
    case WM_SETFOCUS: lRes = OnSetFocus(uMsg, wParam, lParam, bHandled); break;
    case WM_KILLFOCUS: lRes = OnKillFocus(uMsg, wParam, lParam, bHandled); break;
    case WM_CLOSE: lRes = OnClose(uMsg, wParam, lParam, bHandled); break;
    case WM_ERASEBKGND: lRes = OnErasebkgnd(uMsg, wParam, lParam, bHandled); break;
    case WM_GETMINMAXINFO: lRes = OnGetMinMaxInfo(uMsg, wParam, lParam, bHandled); break;
    case WM_NCCALCSIZE: lRes = OnNcCalcSize(uMsg, wParam, lParam, bHandled); break;
    case WM_NCHITTEST: lRes = OnNcHitTest(uMsg, wParam, lParam, bHandled); break;
    case WM_NCPAINT: lRes = OnNcPaint(uMsg, wParam, lParam, bHandled); break;
    case WM_NCACTIVATE: lRes = OnNcActivate(uMsg, wParam, lParam, bHandled); break;
    case WM_KEYDOWN: lRes = OnKeyDown(uMsg, wParam, lParam, bHandled); break;
    case WM_CHAR: lRes = OnChar(uMsg, wParam, lParam, bHandled); break;
    case WM_SYSCOMMAND: lRes = OnSysCommand(uMsg, wParam, lParam, bHandled); break;
    case WM_MOUSEMOVE: lRes = OnMouseMove(uMsg, wParam, lParam, bHandled); break;
    case WM_LBUTTONDOWN: lRes = OnLButtonDown(uMsg, wParam, lParam, bHandled); break;
    case WM_LBUTTONUP: lRes = OnLButtonUp(uMsg, wParam, lParam, bHandled); break;
    case WM_MOUSEWHEEL: lRes = OnMouseWheel(uMsg, wParam, lParam, bHandled); break;
    default: bHandled = false; break;
    }
    if (bHandled) return lRes;

    lRes = HandleCustomMessage(uMsg, wParam, lParam, bHandled);
    if (bHandled) return lRes;

    if (m_PaintManager.MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

LRESULT WindowImplBase::HandleCustomMessage(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnClose(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnDestroy(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnNcActivate(UINT, WPARAM wParam, LPARAM, bool& bHandled)
{
    if (::IsIconic(m_hWnd)) bHandled = false;
    return (wParam == 0) ? TRUE : FALSE;
}

LRESULT WindowImplBase::OnNcCalcSize(UINT, WPARAM wParam, LPARAM lParam, bool& /*bHandled*/)
{
    if (lParam == 0) return 0;
    LPRECT pRect = nullptr;
    if (wParam == TRUE)
        pRect = &reinterpret_cast<LPNCCALCSIZE_PARAMS>(lParam)->rgrc[0];
    else
        pRect = reinterpret_cast<LPRECT>(lParam);

    if (::IsZoomed(m_hWnd)) {
        const RECT work = RelativeWorkArea(m_hWnd);
        pRect->right = pRect->left + (work.right - work.left);
        pRect->bottom = pRect->top + (work.bottom - work.top);
        return WVR_REDRAW;
    }
    return 0;
}

LRESULT WindowImplBase::OnNcPaint(UINT, WPARAM, LPARAM, bool& /*bHandled*/)
{
    return 0;
}

LRESULT WindowImplBase::OnNcHitTest(UINT, WPARAM, LPARAM lParam, bool& /*bHandled*/)
{
    POINT pt = { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) };
    ::ScreenToClient(m_hWnd, &pt);
    RECT rcClient = {};
    ::GetClientRect(m_hWnd, &rcClient);

    if (!::IsZoomed(m_hWnd)) {
        const RECT rcSizeBox = m_PaintManager.GetSizeBox();
        const bool left = pt.x < rcClient.left + rcSizeBox.left;
        const bool right = pt.x > rcClient.right - rcSizeBox.right;
        if (pt.y < rcClient.top + rcSizeBox.top) {
            if (left) return HTTOPLEFT;
            if (right) return HTTOPRIGHT;
            return HTTOP;
        }
        if (pt.y > rcClient.bottom - rcSizeBox.bottom) {
            if (left) return HTBOTTOMLEFT;
            if (right) return HTBOTTOMRIGHT;
            return HTBOTTOM;
        }
        if (left) return HTLEFT;
        if (right) return HTRIGHT;
    }

    const RECT rcCaption = m_PaintManager.GetCaptionRect();
    if (pt.x >= rcClient.left + rcCaption.left && pt.x < rcClient.right - rcCaption.right &&
        pt.y >= rcCaption.top && pt.y < rcCaption.bottom) {
        CControlUI* pControl = m_PaintManager.FindControl(pt);
        if (pControl != nullptr && !pControl->TakesCaptionClick()) return HTCAPTION;
    }
    return HTCLIENT;
}

LRESULT WindowImplBase::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, bool& bHandled)
{
    bHandled = false;
    if (lParam == 0) return 0;
    MINMAXINFO* lpMMI = reinterpret_cast<MINMAXINFO*>(lParam);
    const RECT work = RelativeWorkArea(m_hWnd);
    lpMMI->ptMaxPosition.x = work.left;
    lpMMI->ptMaxPosition.y = work.top;
    lpMMI->ptMaxTrackSize.x = work.right - work.left;
    lpMMI->ptMaxTrackSize.y = work.bottom - work.top;
    const SIZE minInfo = m_PaintManager.GetMinInfo();
    lpMMI->ptMinTrackSize.x = minInfo.cx;
    lpMMI->ptMinTrackSize.y = minInfo.cy;
    return 0;
}

LRESULT WindowImplBase::OnMouseWheel(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnMouseHover(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnSize(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = false;
    const SIZE szRoundCorner = m_PaintManager.GetRoundCorner();
    if (::IsIconic(m_hWnd) || (szRoundCorner.cx == 0 && szRoundCorner.cy == 0)) return 0;
    RECT rcWnd = {};
    ::GetWindowRect(m_hWnd, &rcWnd);
    ::OffsetRect(&rcWnd, -rcWnd.left, -rcWnd.top);
    rcWnd.right++;
    rcWnd.bottom++;
    HRGN hRgn = ::CreateRoundRectRgn(rcWnd.left, rcWnd.top, rcWnd.right, rcWnd.bottom,
                                     szRoundCorner.cx, szRoundCorner.cy);
    if (hRgn == nullptr) return 0;
    // Once set, the region belongs to the system and must not be deleted here.
    if (!::SetWindowRgn(m_hWnd, hRgn, TRUE)) ::DeleteObject(hRgn);
    return 0;
}

LRESULT WindowImplBase::OnChar(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    if (wParam == SC_CLOSE) {
        bHandled = true;
        SendMessageW(WM_CLOSE);
        return 0;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

LRESULT WindowImplBase::OnKeyDown(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnKillFocus(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnSetFocus(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnLButtonDown(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnLButtonUp(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnMouseMove(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnErasebkgnd(UINT, WPARAM, LPARAM, bool& /*bHandled*/)
{
    return 1;
}

// Skin loading ------------------------------------------------------------

bool WindowImplBase::LoadResourceZipBuffer()
{
    if (m_lpResourceZIPBuffer) return true;
    HINSTANCE module = CPaintManagerUI::GetResourceDll();
    HRSRC hResource = ::FindResourceW(module, MAKEINTRESOURCEW(GetResourceID()), L"ZIPRES");
    if (hResource == nullptr) return false;
    HGLOBAL hGlobal = ::LoadResource(module, hResource);
    if (hGlobal == nullptr) return false;
    const DWORD size = ::SizeofResource(module, hResource);
    const void* bytes = ::LockResource(hGlobal);
    if (size == 0 || bytes == nullptr) {
        ::FreeResource(hGlobal);
        return false;
    }
    std::unique_ptr<BYTE[]> buffer(new (std::nothrow) BYTE[size]);
    if (!buffer) {
        ::FreeResource(hGlobal);
        return false;
    }
    std::memcpy(buffer.get(), bytes, size);
    ::FreeResource(hGlobal);
    m_lpResourceZIPBuffer = std::move(buffer);
    m_dwResourceZIPSize = size;
    return true;
}

LRESULT WindowImplBase::OnCreate(UINT, WPARAM, LPARAM, bool& /*bHandled*/)
{
    LONG_PTR styleValue = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    styleValue &= ~static_cast<LONG_PTR>(WS_CAPTION);
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, styleValue | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    RECT rcClient = {};
    ::GetClientRect(m_hWnd, &rcClient);
    ::SetWindowPos(m_hWnd, nullptr, rcClient.left, rcClient.top, rcClient.right - rcClient.left,
                   rcClient.bottom - rcClient.top, SWP_FRAMECHANGED);

    m_PaintManager.Init(m_hWnd);
    m_PaintManager.AddPreMessageFilter(this);

    CStdString resourcePath = CPaintManagerUI::GetInstancePath();
    resourcePath += GetSkinDirectory();
    CPaintManagerUI::SetResourcePath(resourcePath);

    switch (GetResourceType()) {
    case SKIN_ZIP_FILE:
        CPaintManagerUI::SetResourceZip(GetZIPFileName(), true);
        break;
    case SKIN_ZIP_RESOURCE:
        if (!LoadResourceZipBuffer()) return 0;
        CPaintManagerUI::SetResourceZip(m_lpResourceZIPBuffer.get(), m_dwResourceZIPSize);
        break;
    default:
        break;
    }

    CDialogBuilder builder;
    CControlUI* pRoot = nullptr;
    const CStdString skinFile = GetSkinFileName();
    if (GetResourceType() == SKIN_RESOURCE) {
        const UINT id = static_cast<WORD>(ValueSyntax::ParseInt(skinFile));
        pRoot = builder.Create(STRINGorID(id), L"xml", this, &m_PaintManager);
    } else {
        pRoot = builder.Create(STRINGorID(skinFile.GetData()), nullptr, this, &m_PaintManager);
    }
    if (pRoot == nullptr) {
        ::MessageBoxW(nullptr, kSkinLoadFailed, L"Veneer", MB_OK | MB_ICONERROR);
        ::ExitProcess(1);
    }
    m_PaintManager.AttachDialog(pRoot);
    m_PaintManager.AddNotifier(this);
    InitWindow();
    return 0;
}

void WindowImplBase::OnFinalMessage(HWND /*hWnd*/)
{
    m_PaintManager.RemovePreMessageFilter(this);
    m_PaintManager.RemoveNotifier(this);
    if (m_PaintManager.GetRoot() != nullptr) m_PaintManager.ReapObjects(m_PaintManager.GetRoot());
}

}  // namespace Veneer
