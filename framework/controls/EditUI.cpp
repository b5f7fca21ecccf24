#include "controls/EditUI.h"

#include <cwchar>
#include <string>

#include "controls/ControlStates.h"
#include "engine/PaintManagerUI.h"
#include "engine/RenderEngine.h"
#include "foundation/ValueSyntax.h"

namespace Veneer {

namespace {

constexpr UINT kReflectBase = 0x2000;
int g_nLiveEditWindows = 0;

COLORREF ToColorRef(DWORD argb)
{
    return RGB(GetBValue(argb), GetGValue(argb), GetRValue(argb));
}

}  // namespace

// CEditWnd ------------------------------------------------------------------

CEditWnd::CEditWnd() { ++g_nLiveEditWindows; }

CEditWnd::~CEditWnd() { --g_nLiveEditWindows; }

int CEditWnd::GetLiveCount() { return g_nLiveEditWindows; }

LPCWSTR CEditWnd::GetFrameClassName() const { return L"EditWnd"; }

LPCWSTR CEditWnd::GetSuperClassName() const { return L"Edit"; }

RECT CEditWnd::CalPos() const
{
    if (m_pOwner == nullptr) {
        return RECT { 0, 0, 0, 0 };
    }
    RECT rcPos = m_pOwner->GetPos();
    const RECT rcInset = m_pOwner->GetTextPadding();
    rcPos.left += rcInset.left;
    rcPos.top += rcInset.top;
    rcPos.right -= rcInset.right;
    rcPos.bottom -= rcInset.bottom;
    CPaintManagerUI* pManager = m_pOwner->GetManager();
    TFontInfo* pFont = pManager != nullptr ? pManager->GetFontInfo(m_pOwner->GetFont()) : nullptr;
    const LONG lEditHeight = pFont != nullptr ? pFont->tm.tmHeight : 0;
    const LONG height = rcPos.bottom - rcPos.top;
    if (lEditHeight < height) {
        rcPos.top += (height - lEditHeight) / 2;
        rcPos.bottom = rcPos.top + lEditHeight;
    }
    return rcPos;
}

void CEditWnd::Init(CEditUI* pOwner)
{
    m_pOwner = pOwner;
    CPaintManagerUI* pManager = pOwner->GetManager();
    const RECT rcPos = CalPos();
    UINT uStyle = WS_CHILD | ES_AUTOHSCROLL;
    if (pOwner->IsPasswordMode()) {
        uStyle |= ES_PASSWORD;
    }
    HWND hParent = pManager != nullptr ? pManager->GetPaintWindow() : nullptr;
    if (hParent == nullptr || Create(hParent, nullptr, uStyle, 0, rcPos) == nullptr) {
        // A window that got as far as its final message has deleted this
        // object and cleared the owner's pointer; otherwise nothing else will.
        if (pOwner->m_pWindow == this) {
            pOwner->m_pWindow = nullptr;
            delete this;
        }
        return;
    }

    HFONT hFont = nullptr;
    const int iFontIndex = pOwner->GetFont();
    if (iFontIndex != -1) {
        hFont = pManager->GetFont(iFontIndex);
    }
    if (hFont == nullptr) {
        TFontInfo* pDefault = pManager->GetDefaultFontInfo();
        hFont = pDefault != nullptr ? pDefault->hFont : nullptr;
    }
    SendMessageW(WM_SETFONT, reinterpret_cast<WPARAM>(hFont), TRUE);
    SendMessageW(EM_LIMITTEXT, pOwner->GetMaxChar());
    if (pOwner->IsPasswordMode()) {
        SendMessageW(EM_SETPASSWORDCHAR, static_cast<WPARAM>(pOwner->GetPasswordChar()));
    }
    const CStdString text = pOwner->GetText();
    ::SetWindowTextW(m_hWnd, text.GetData());
    SendMessageW(EM_SETMODIFY, FALSE);
    SendMessageW(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
    ::EnableWindow(m_hWnd, pOwner->IsEnabled() ? TRUE : FALSE);
    SendMessageW(EM_SETREADONLY, pOwner->IsReadOnly() ? TRUE : FALSE);
    const LONG styleValue = ::GetWindowLongW(m_hWnd, GWL_STYLE) | static_cast<LONG>(pOwner->GetWindowStyls());
    ::SetWindowLongW(m_hWnd, GWL_STYLE, styleValue);
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::SetFocus(m_hWnd);
    m_bInit = true;
}

LRESULT CEditWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_KILLFOCUS) {
        const LRESULT lRes = ::CallWindowProcW(m_OldWndProc, m_hWnd, uMsg, wParam, lParam);
        PostMessageW(WM_CLOSE);
        return lRes;
    }
    if (uMsg == kReflectBase + WM_COMMAND) {
        const UINT code = HIWORD(wParam);
        if (code == EN_CHANGE) {
            if (m_bInit && m_pOwner != nullptr) {
                const int length = ::GetWindowTextLengthW(m_hWnd);
                CStdString text;
                if (length > 0) {
                    std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
                    const int copied = ::GetWindowTextW(m_hWnd, &buffer[0], length + 1);
                    buffer.resize(static_cast<size_t>(copied > 0 ? copied : 0));
                    text = buffer.c_str();
                }
                m_pOwner->m_sText = text;
                CPaintManagerUI* pManager = m_pOwner->GetManager();
                if (pManager != nullptr) {
                    pManager->SendNotify(m_pOwner, L"textchanged");
                }
            }
        } else if (code == EN_UPDATE) {
            ::InvalidateRect(m_hWnd, nullptr, FALSE);
        }
        return 0;
    }
    if (uMsg == WM_KEYDOWN && wParam == VK_RETURN) {
        if (m_pOwner != nullptr && m_pOwner->GetManager() != nullptr) {
            m_pOwner->GetManager()->SendNotify(m_pOwner, L"return");
        }
        return 0;
    }
    if (uMsg == WM_CHAR && wParam == L'\r') {
        // The Enter key already did its work above; the edit would beep.
        return 0;
    }
    if (uMsg == kReflectBase + WM_CTLCOLOREDIT || uMsg == kReflectBase + WM_CTLCOLORSTATIC) {
        if (m_pOwner == nullptr || m_pOwner->GetNativeEditBkColor() == 0xFFFFFFFF) {
            return 0;
        }
        HDC hDC = reinterpret_cast<HDC>(wParam);
        ::SetBkMode(hDC, TRANSPARENT);
        ::SetTextColor(hDC, ToColorRef(m_pOwner->GetTextColor()));
        if (!m_hBkBrush) {
            m_hBkBrush.Reset(::CreateSolidBrush(ToColorRef(m_pOwner->GetNativeEditBkColor())));
        }
        return reinterpret_cast<LRESULT>(m_hBkBrush.Get());
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void CEditWnd::OnFinalMessage(HWND /*hWnd*/)
{
    if (m_pOwner != nullptr) {
        m_pOwner->Invalidate();
        m_pOwner->m_pWindow = nullptr;
        m_pOwner = nullptr;
    }
    m_hBkBrush.Reset();
    delete this;
}

// CEditUI -------------------------------------------------------------------

CEditUI::CEditUI()
{
    SetTextPadding(RECT { 4, 3, 4, 3 });
    SetBkColor(0xFFFFFFFF);
}

CEditUI::~CEditUI()
{
    // The native window may outlive the control (it closes on a posted
    // message): cut it loose and close it now.
    if (m_pWindow != nullptr) {
        CEditWnd* pWindow = m_pWindow;
        m_pWindow = nullptr;
        pWindow->m_pOwner = nullptr;
        HWND hWnd = pWindow->GetHWND();
        if (hWnd != nullptr && ::IsWindow(hWnd)) {
            ::DestroyWindow(hWnd);
        } else {
            delete pWindow;
        }
    }
}

LPCWSTR CEditUI::GetClass() const { return L"EditUI"; }

LPVOID CEditUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"Edit") == 0) {
        return static_cast<CEditUI*>(this);
    }
    return CLabelUI::GetInterface(pstrName);
}

UINT CEditUI::GetControlFlags() const { return IsEnabled() ? (FLAG_TABSTOP | FLAG_SETCURSOR) : 0; }

HWND CEditUI::GetNativeWindow() const { return m_pWindow != nullptr ? m_pWindow->GetHWND() : nullptr; }

bool CEditUI::OpenNativeWindow()
{
    if (m_pWindow != nullptr) {
        return true;
    }
    m_pWindow = new CEditWnd;
    m_pWindow->Init(this);  // clears m_pWindow when it fails
    return m_pWindow != nullptr;
}

void CEditUI::CloseNativeWindow()
{
    if (m_pWindow == nullptr) {
        return;
    }
    if (m_pManager != nullptr && m_pManager->GetFocus() == this) {
        m_pManager->SetFocus(nullptr);
    }
    // Focus may have been elsewhere already; close the window regardless.
    if (m_pWindow != nullptr && m_pWindow->GetHWND() != nullptr) {
        ::PostMessageW(m_pWindow->GetHWND(), WM_CLOSE, 0, 0);
    }
}

void CEditUI::SetEnabled(bool bEnable)
{
    CControlUI::SetEnabled(bEnable);
    if (!IsEnabled()) {
        m_uButtonState = 0;
        // A disabled control cannot be edited: no native window stays open.
        CloseNativeWindow();
    }
}

void CEditUI::SetText(LPCWSTR pstrText)
{
    m_sText = pstrText != nullptr ? pstrText : L"";
    if (m_pWindow != nullptr && m_pWindow->GetHWND() != nullptr) {
        ::SetWindowTextW(m_pWindow->GetHWND(), m_sText.GetData());
    }
    Invalidate();
}

void CEditUI::SetMaxChar(UINT uMax)
{
    m_uMaxChar = uMax;
    if (m_pWindow != nullptr) {
        m_pWindow->SendMessageW(EM_LIMITTEXT, m_uMaxChar);
    }
}

void CEditUI::SetReadOnly(bool bReadOnly)
{
    if (m_bReadOnly == bReadOnly) {
        return;
    }
    m_bReadOnly = bReadOnly;
    if (m_pWindow != nullptr) {
        m_pWindow->SendMessageW(EM_SETREADONLY, m_bReadOnly ? TRUE : FALSE);
    }
    Invalidate();
}

void CEditUI::SetPasswordMode(bool bPasswordMode)
{
    if (m_bPasswordMode == bPasswordMode) {
        return;
    }
    m_bPasswordMode = bPasswordMode;
    Invalidate();
}

void CEditUI::SetPasswordChar(WCHAR cPasswordChar)
{
    if (m_cPasswordChar == cPasswordChar) {
        return;
    }
    m_cPasswordChar = cPasswordChar;
    if (m_pWindow != nullptr) {
        m_pWindow->SendMessageW(EM_SETPASSWORDCHAR, static_cast<WPARAM>(m_cPasswordChar));
    }
    Invalidate();
}

void CEditUI::SetNumberOnly(bool bNumberOnly)
{
    if (bNumberOnly) {
        m_iWindowStyls |= ES_NUMBER;
    } else {
        m_iWindowStyls &= ~static_cast<UINT>(ES_NUMBER);
    }
}

void CEditUI::SetNormalImage(LPCWSTR pStrImage)
{
    m_sNormalImage = pStrImage != nullptr ? pStrImage : L"";
    Invalidate();
}

void CEditUI::SetHotImage(LPCWSTR pStrImage)
{
    m_sHotImage = pStrImage != nullptr ? pStrImage : L"";
    Invalidate();
}

void CEditUI::SetFocusedImage(LPCWSTR pStrImage)
{
    m_sFocusedImage = pStrImage != nullptr ? pStrImage : L"";
    Invalidate();
}

void CEditUI::SetDisabledImage(LPCWSTR pStrImage)
{
    m_sDisabledImage = pStrImage != nullptr ? pStrImage : L"";
    Invalidate();
}

void CEditUI::SetSel(long nStartChar, long nEndChar)
{
    if (m_pWindow != nullptr) {
        m_pWindow->SendMessageW(EM_SETSEL, static_cast<WPARAM>(nStartChar), static_cast<LPARAM>(nEndChar));
    }
}

void CEditUI::SetSelAll() { SetSel(0, -1); }

void CEditUI::SetReplaceSel(LPCWSTR lpszReplace)
{
    if (m_pWindow != nullptr) {
        m_pWindow->SendMessageW(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(lpszReplace != nullptr ? lpszReplace : L""));
    }
}

void CEditUI::SelectAllText()
{
    if (m_pWindow == nullptr) {
        return;
    }
    const int length = m_sText.GetLength();
    m_pWindow->SendMessageW(EM_SETSEL, 0, static_cast<LPARAM>(length > 0 ? length : 1));
}

void CEditUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    if (m_pWindow != nullptr && m_pWindow->GetHWND() != nullptr) {
        const RECT rcPos = m_pWindow->CalPos();
        ::SetWindowPos(m_pWindow->GetHWND(), nullptr, rcPos.left, rcPos.top, rcPos.right - rcPos.left,
            rcPos.bottom - rcPos.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CEditUI::SetVisible(bool bVisible)
{
    CControlUI::SetVisible(bVisible);
    if (!IsVisible() && m_pWindow != nullptr && m_pManager != nullptr) {
        m_pManager->SetFocus(nullptr);
    }
}

void CEditUI::SetInternVisible(bool bVisible)
{
    CControlUI::SetInternVisible(bVisible);
    if (!IsVisible() && m_pWindow != nullptr && m_pManager != nullptr) {
        m_pManager->SetFocus(nullptr);
    }
}

SIZE CEditUI::EstimateSize(SIZE /*szAvailable*/)
{
    if (m_cyFixed != 0) {
        return SIZE { m_cxFixed, m_cyFixed };
    }
    LONG fontHeight = 0;
    if (m_pManager != nullptr) {
        TFontInfo* pFont = m_pManager->GetFontInfo(m_iFont);
        fontHeight = pFont != nullptr ? pFont->tm.tmHeight : 0;
    }
    return SIZE { m_cxFixed, fontHeight + 6 };
}

void CEditUI::DoEvent(TEventUI& event)
{
    if (HandOnMouseEvent(event)) return;

    switch (event.Type) {
    case EVENT_SETCURSOR:
        if (IsEnabled()) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_IBEAM));
            return;
        }
        break;
    case EVENT_WINDOWSIZE:
        if (m_pWindow != nullptr && m_pManager != nullptr) {
            m_pManager->SetFocusNeeded(this);
        }
        break;
    case EVENT_SCROLLWHEEL:
        if (m_pWindow != nullptr) {
            return;
        }
        break;
    case EVENT_SETFOCUS:
        if (IsEnabled()) {
            if (m_pWindow != nullptr) {
                return;
            }
            OpenNativeWindow();
            Invalidate();
        }
        break;
    case EVENT_KILLFOCUS:
        if (IsEnabled()) {
            Invalidate();
        }
        break;
    case EVENT_BUTTONDOWN:
    case EVENT_DBLCLICK:
    case EVENT_RBUTTONDOWN:
        if (IsEnabled()) {
            if (m_pManager != nullptr) {
                m_pManager->ReleaseCapture();
            }
            if (IsFocused() && m_pWindow == nullptr) {
                if (OpenNativeWindow() && ::PtInRect(&m_rcItem, event.ptMouse)) {
                    SelectAllText();
                }
            } else if (m_pWindow != nullptr) {
                SelectAllText();
            }
        }
        return;
    case EVENT_MOUSEMOVE:
    case EVENT_BUTTONUP:
    case EVENT_CONTEXTMENU:
        return;
    case EVENT_MOUSEENTER:
    case EVENT_MOUSELEAVE:
        TrackHot(*this, m_uButtonState, event);
        return;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

void CEditUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) {
        return;
    }
    if (std::wcscmp(pstrName, L"readonly") == 0) {
        SetReadOnly(ValueSyntax::ParseBool(pstrValue));
    } else if (std::wcscmp(pstrName, L"numberonly") == 0) {
        SetNumberOnly(ValueSyntax::ParseBool(pstrValue));
    } else if (std::wcscmp(pstrName, L"password") == 0) {
        SetPasswordMode(ValueSyntax::ParseBool(pstrValue));
    } else if (std::wcscmp(pstrName, L"maxchar") == 0) {
        SetMaxChar(static_cast<UINT>(ValueSyntax::ParseInt(pstrValue)));
    } else if (std::wcscmp(pstrName, L"normalimage") == 0) {
        SetNormalImage(pstrValue);
    } else if (std::wcscmp(pstrName, L"hotimage") == 0) {
        SetHotImage(pstrValue);
    } else if (std::wcscmp(pstrName, L"focusedimage") == 0) {
        SetFocusedImage(pstrValue);
    } else if (std::wcscmp(pstrName, L"disabledimage") == 0) {
        SetDisabledImage(pstrValue);
    } else if (std::wcscmp(pstrName, L"nativebkcolor") == 0) {
        SetNativeEditBkColor(ValueSyntax::ParseColor(pstrValue));
    } else {
        CLabelUI::SetAttribute(pstrName, pstrValue);
    }
}

void CEditUI::PaintStatusImage(HDC hDC)
{
    RefreshFocusAndEnabled(*this, m_uButtonState);

    CStdString* pState = nullptr;
    if ((m_uButtonState & STATE_DISABLED) != 0) {
        pState = &m_sDisabledImage;
    } else if ((m_uButtonState & STATE_FOCUSED) != 0) {
        pState = &m_sFocusedImage;
    } else if ((m_uButtonState & STATE_HOT) != 0) {
        pState = &m_sHotImage;
    }
    if (pState != nullptr && DrawOrDrop(*this, hDC, *pState)) {
        return;
    }
    DrawOrDrop(*this, hDC, m_sNormalImage);
}

void CEditUI::PaintText(HDC hDC)
{
    if (m_pManager == nullptr) {
        return;
    }
    ResolveDefaultColors();
    if (m_sText.IsEmpty()) {
        return;
    }
    CStdString sText = m_sText;
    if (m_bPasswordMode) {
        sText.Empty();
        LPCWSTR p = m_sText.GetData();
        while (*p != L'\0') {
            sText += m_cPasswordChar;
            p = ::CharNextW(p);
        }
    }
    RECT rc = GetTextRect();
    const DWORD color = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    CRenderEngine::DrawText(hDC, m_pManager, rc, sText.GetData(), color, m_iFont, m_uTextStyle | DT_SINGLELINE);
}

}  // namespace Veneer
