#include "controls/DateTimeUI.h"

#include <commctrl.h>

#include <cwchar>

#include "engine/PaintManagerUI.h"

namespace Veneer {

namespace {

int g_nLivePickers = 0;

// The picker class lives in the common controls; on systems that register
// classes lazily it must be asked for.
void EnsurePickerClass()
{
    static bool registered = false;
    if (registered) return;
    INITCOMMONCONTROLSEX icc = {};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_DATE_CLASSES;
    registered = ::InitCommonControlsEx(&icc) != FALSE;
}

}  // namespace

// CDateTimeWnd --------------------------------------------------------------

CDateTimeWnd::CDateTimeWnd() { ++g_nLivePickers; }

CDateTimeWnd::~CDateTimeWnd() { --g_nLivePickers; }

int CDateTimeWnd::GetLiveCount() { return g_nLivePickers; }

LPCWSTR CDateTimeWnd::GetFrameClassName() const { return L"DateTimeWnd"; }

LPCWSTR CDateTimeWnd::GetSuperClassName() const { return DATETIMEPICK_CLASSW; }

void CDateTimeWnd::OpenPicker(CDateTimeUI* pOwner)
{
    if (pOwner == nullptr) return;
    m_pOwner = pOwner;
    pOwner->m_nDTUpdateFlag = CDateTimeUI::UPDATE_UNDECIDED;

    CPaintManagerUI* pManager = pOwner->GetManager();
    if (m_hWnd == nullptr) {
        EnsurePickerClass();
        HWND hParent = pManager != nullptr ? pManager->GetPaintWindow() : nullptr;
        if (hParent == nullptr || Create(hParent, nullptr, WS_CHILD, 0, pOwner->GetPos()) == nullptr) {
            // A window that reached its final message has already deleted
            // this object and cleared the owner's pointer.
            if (pOwner->m_pWindow == this) {
                pOwner->m_pWindow = nullptr;
                delete this;
            }
            return;
        }
        SendMessageW(WM_SETFONT, reinterpret_cast<WPARAM>(pManager->GetFont(pOwner->GetFont())), TRUE);
    }

    if (pOwner->GetText().IsEmpty()) ::GetLocalTime(&pOwner->m_sysTime);
    SendMessageW(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&pOwner->m_sysTime));
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::SetFocus(m_hWnd);
    m_bInit = true;
}

LRESULT CDateTimeWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_KILLFOCUS) {
        const LRESULT lRes = ::CallWindowProcW(m_OldWndProc, m_hWnd, uMsg, wParam, lParam);
        if (m_pOwner != nullptr && m_pOwner->m_nDTUpdateFlag == CDateTimeUI::UPDATE_UNDECIDED) {
            SYSTEMTIME picked = m_pOwner->m_sysTime;
            if (SendMessageW(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&picked)) == GDT_VALID)
                m_pOwner->m_sysTime = picked;
            m_pOwner->m_nDTUpdateFlag = CDateTimeUI::UPDATE_TAKE_TIME;
            m_pOwner->UpdateText();
        }
        PostMessageW(WM_CLOSE);
        return lRes;
    }
    if (uMsg == WM_KEYUP && (wParam == VK_DELETE || wParam == VK_BACK)) {
        const LRESULT lRes = ::CallWindowProcW(m_OldWndProc, m_hWnd, uMsg, wParam, lParam);
        if (m_pOwner != nullptr) {
            m_pOwner->m_nDTUpdateFlag = CDateTimeUI::UPDATE_CLEARED;
            m_pOwner->UpdateText();
        }
        PostMessageW(WM_CLOSE);
        return lRes;
    }
    if (uMsg == WM_KEYUP && wParam == VK_ESCAPE) {
        const LRESULT lRes = ::CallWindowProcW(m_OldWndProc, m_hWnd, uMsg, wParam, lParam);
        if (m_pOwner != nullptr) m_pOwner->m_nDTUpdateFlag = CDateTimeUI::UPDATE_CANCELLED;
        PostMessageW(WM_CLOSE);
        return lRes;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void CDateTimeWnd::OnFinalMessage(HWND /*hWnd*/)
{
    m_hBkBrush.Reset();
    if (m_pOwner != nullptr) {
        if (m_pOwner->m_pWindow == this) m_pOwner->m_pWindow = nullptr;
        m_pOwner->Invalidate();
        m_pOwner = nullptr;
    }
    delete this;
}

// CDateTimeUI ---------------------------------------------------------------

CDateTimeUI::CDateTimeUI()
{
    ::GetLocalTime(&m_sysTime);
    m_nDTUpdateFlag = UPDATE_TAKE_TIME;
    UpdateText();
    m_nDTUpdateFlag = UPDATE_UNDECIDED;
}

CDateTimeUI::~CDateTimeUI()
{
    // The picker closes on a posted message and may outlive the control:
    // cut it loose and close it now.
    if (m_pWindow == nullptr) return;
    CDateTimeWnd* pWindow = m_pWindow;
    m_pWindow = nullptr;
    pWindow->m_pOwner = nullptr;
    HWND hWnd = pWindow->GetHWND();
    if (hWnd != nullptr && ::IsWindow(hWnd)) {
        ::DestroyWindow(hWnd);
    } else {
        delete pWindow;
    }
}

LPCWSTR CDateTimeUI::GetClass() const { return L"DateTimeUI"; }

LPVOID CDateTimeUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"DateTime") == 0) return static_cast<CDateTimeUI*>(this);
    return CLabelUI::GetInterface(pstrName);
}

UINT CDateTimeUI::GetControlFlags() const { return IsEnabled() ? FLAG_SETCURSOR : 0; }

SYSTEMTIME& CDateTimeUI::GetTime() { return m_sysTime; }

void CDateTimeUI::SetTime(SYSTEMTIME* pst)
{
    if (pst == nullptr) return;
    m_sysTime = *pst;
    Invalidate();
}

void CDateTimeUI::SetReadOnly(bool bReadOnly)
{
    m_bReadOnly = bReadOnly;
    Invalidate();
}

void CDateTimeUI::UpdateText()
{
    if (m_nDTUpdateFlag == UPDATE_CLEARED) {
        SetText(L"");
    } else if (m_nDTUpdateFlag == UPDATE_TAKE_TIME) {
        CStdString text;
        text.SmallFormat(L"%4d-%02d-%02d", m_sysTime.wYear, m_sysTime.wMonth, m_sysTime.wDay);
        SetText(text.GetData());
    }
}

HWND CDateTimeUI::GetNativeWindow() const { return m_pWindow != nullptr ? m_pWindow->GetHWND() : nullptr; }

bool CDateTimeUI::CreatePicker()
{
    if (m_pWindow != nullptr) return true;
    m_pWindow = new CDateTimeWnd;
    m_pWindow->OpenPicker(this);  // clears m_pWindow when it fails
    return m_pWindow != nullptr;
}

void CDateTimeUI::ClosePicker()
{
    if (m_pWindow == nullptr) return;
    // Moving the native focus away takes the picked date over, as any
    // focus loss does; the close below covers a picker without the focus.
    if (m_pManager != nullptr && m_pManager->GetFocus() == this) m_pManager->SetFocus(nullptr);
    if (m_pWindow != nullptr && m_pWindow->GetHWND() != nullptr)
        ::PostMessageW(m_pWindow->GetHWND(), WM_CLOSE, 0, 0);
}

void CDateTimeUI::SetEnabled(bool bEnable)
{
    CLabelUI::SetEnabled(bEnable);
    if (!IsEnabled()) ClosePicker();
}

void CDateTimeUI::SetVisible(bool bVisible)
{
    CLabelUI::SetVisible(bVisible);
    if (!IsVisible()) ClosePicker();
}

void CDateTimeUI::SetInternVisible(bool bVisible)
{
    CLabelUI::SetInternVisible(bVisible);
    if (!IsVisible()) ClosePicker();
}

void CDateTimeUI::SetPos(RECT rc)
{
    CLabelUI::SetPos(rc);
    HWND hWnd = GetNativeWindow();
    if (hWnd != nullptr) {
        ::SetWindowPos(hWnd, nullptr, m_rcItem.left, m_rcItem.top, m_rcItem.right - m_rcItem.left,
            m_rcItem.bottom - m_rcItem.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CDateTimeUI::DoEvent(TEventUI& event)
{
    if (HandOnMouseEvent(event)) return;
    if (event.Type == EVENT_SETCURSOR && IsEnabled()) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_IBEAM));
        return;
    }
    if (event.Type == EVENT_WINDOWSIZE && m_pWindow != nullptr) {
        if (m_pManager != nullptr) m_pManager->SetFocusNeeded(this);
        return;
    }
    if (event.Type == EVENT_SCROLLWHEEL && m_pWindow != nullptr) return;

    switch (event.Type) {
    case EVENT_SETFOCUS:
        if (IsEnabled()) {
            if (m_pWindow != nullptr) return;
            if (CreatePicker()) m_pWindow->ShowWindow(true, true);
        }
        break;
    case EVENT_KILLFOCUS:
        if (IsEnabled()) Invalidate();
        break;
    case EVENT_BUTTONDOWN:
    case EVENT_DBLCLICK:
    case EVENT_RBUTTONDOWN:
        if (IsEnabled()) {
            if (m_pManager != nullptr) m_pManager->ReleaseCapture();
            if (IsFocused() && m_pWindow == nullptr) {
                CreatePicker();
            } else if (m_pWindow != nullptr) {
                m_pWindow->OpenPicker(this);
            }
            if (m_pWindow != nullptr) m_pWindow->ShowWindow(true, true);
        }
        return;
    case EVENT_MOUSEMOVE:
    case EVENT_BUTTONUP:
    case EVENT_CONTEXTMENU:
    case EVENT_MOUSEENTER:
    case EVENT_MOUSELEAVE:
        return;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

}  // namespace Veneer
