// Keyboard side of the paint manager: pre-translation of queued messages
// (tab navigation, shortcut keys, accelerators), the message loop and the
// key messages of the window.
#include "engine/PaintManagerUI.h"

#include <cwchar>

#include "engine/ControlUI.h"
#include "engine/PaintManagerEvents.h"
#include "foundation/ValueSyntax.h"

#if __has_include("controls/RichEditUI.h")
#include "controls/RichEditUI.h"
#define VENEER_HAS_RICHEDIT 1
#endif

namespace Veneer {

namespace {

struct FindShortcut {
    wchar_t ch { 0 };
    bool bPickNext { false };
};

bool IsLabelClass(CControlUI* pControl)
{
    LPCWSTR cls = pControl->GetClass();
    return cls && std::wcsstr(cls, L"LabelUI") != nullptr;
}

}  // namespace

WORD CPaintManagerUI::MapKeyState()
{
    WORD state = 0;
    if (::GetKeyState(VK_LBUTTON) < 0) state |= MK_LBUTTON;
    if (::GetKeyState(VK_RBUTTON) < 0) state |= MK_RBUTTON;
    if (::GetKeyState(VK_SHIFT) < 0) state |= MK_SHIFT;
    if (::GetKeyState(VK_CONTROL) < 0) state |= MK_CONTROL;
    if (::GetKeyState(VK_MENU) < 0) state |= 0x20;  // alt
    return state;
}

CControlUI* CALLBACK CPaintManagerUI::FindControlFromShortcut(CControlUI* pThis, LPVOID pData)
{
    if (!pThis->IsVisible()) return nullptr;
    FindShortcut* fs = static_cast<FindShortcut*>(pData);
    wchar_t shortcut = pThis->GetShortcut();
    if (shortcut != 0 && fs->ch == UpperChar(shortcut)) fs->bPickNext = true;
    // Labels never take the focus: the next control after them does.
    if (IsLabelClass(pThis)) return nullptr;
    return fs->bPickNext ? pThis : nullptr;
}

bool CPaintManagerUI::PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    for (int i = 0; i < m_aPreMessageFilters.GetSize(); ++i) {
        bool bHandled = false;
        LRESULT lResult = static_cast<IMessageFilterUI*>(m_aPreMessageFilters[i])
                              ->MessageHandler(uMsg, wParam, lParam, bHandled);
        if (bHandled) {
            lRes = lResult;
            return true;
        }
    }
    switch (uMsg) {
    case WM_KEYDOWN: {
        if (wParam != VK_TAB) return false;
        if (m_pFocus && m_pFocus->IsVisible() && m_pFocus->IsEnabled()) {
            LPCWSTR cls = m_pFocus->GetClass();
            if (cls && std::wcsstr(cls, L"RichEditUI") != nullptr) {
#ifdef VENEER_HAS_RICHEDIT
                CRichEditUI* pRichEdit = static_cast<CRichEditUI*>(m_pFocus->GetInterface(L"RichEdit"));
                if (pRichEdit && pRichEdit->IsWantTab()) return false;
#endif
            }
        }
        SetNextTabControl(::GetKeyState(VK_SHIFT) >= 0);
        return true;
    }
    case WM_SYSCHAR: {
        if (!m_pRoot) return false;
        FindShortcut fs;
        fs.ch = UpperChar(static_cast<wchar_t>(wParam));
        CControlUI* pControl = m_pRoot->FindControl(FindControlFromShortcut, &fs,
                                                    FIND_ENABLED | FIND_ME_FIRST | FIND_TOP_FIRST);
        if (!pControl) return false;
        pControl->SetFocus();
        if (OwnsControl(pControl)) pControl->Activate();
        return true;
    }
    case WM_SYSKEYDOWN: {
        if (m_pFocus) {
            TEventUI event = PaintEvents::Key(EVENT_SYSKEY, m_pFocus, wParam, m_ptLastMousePos, MapKeyState());
            m_pFocus->Event(event);
        }
        return false;
    }
    default:
        return false;
    }
}

bool CPaintManagerUI::TranslateAccelerator(LPMSG pMsg)
{
    for (int i = 0; i < m_aTranslateAccelerator.GetSize(); ++i) {
        LRESULT lResult =
            static_cast<ITranslateAccelerator*>(m_aTranslateAccelerator[i])->TranslateAccelerator(pMsg);
        if (lResult == 0) return true;
    }
    return false;
}

bool CPaintManagerUI::TranslateMessage(const LPMSG pMsg)
{
    if (!pMsg) return false;
    LONG_PTR style = ::GetWindowLongPtrW(pMsg->hwnd, GWL_STYLE);
    LRESULT lRes = 0;
    if ((style & WS_CHILD) != 0) {
        HWND hWndParent = ::GetParent(pMsg->hwnd);
        for (int i = m_aPreMessages.GetSize() - 1; i >= 0; --i) {
            if (i >= m_aPreMessages.GetSize()) continue;
            CPaintManagerUI* pT = static_cast<CPaintManagerUI*>(m_aPreMessages[i]);
            for (HWND hTempParent = hWndParent; hTempParent; hTempParent = ::GetParent(hTempParent)) {
                if (pMsg->hwnd == pT->GetPaintWindow() || hTempParent == pT->GetPaintWindow()) {
                    if (pT->TranslateAccelerator(pMsg)) return true;
                    pT->PreMessageHandler(pMsg->message, pMsg->wParam, pMsg->lParam, lRes);
                }
            }
        }
        return false;
    }
    for (int i = 0; i < m_aPreMessages.GetSize(); ++i) {
        CPaintManagerUI* pT = static_cast<CPaintManagerUI*>(m_aPreMessages[i]);
        if (pMsg->hwnd != pT->GetPaintWindow()) continue;
        if (pT->TranslateAccelerator(pMsg)) return true;
        return pT->PreMessageHandler(pMsg->message, pMsg->wParam, pMsg->lParam, lRes);
    }
    return false;
}

void CPaintManagerUI::MessageLoop()
{
    MSG msg {};
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        try {
            if (CPaintManagerUI::TranslateMessage(&msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        } catch (...) {
            // A failure in one message must not end the program's loop.
        }
    }
}

// ------------------------------------------------------ key messages ----

bool CPaintManagerUI::OnKeyDown(TRoutedMessage& msg)
{
    if (!m_pFocus) return false;
    CControlUI* pControl = m_pFocus;
    TEventUI event = PaintEvents::Key(EVENT_KEYDOWN, pControl, msg.wParam, m_ptLastMousePos, MapKeyState());
    pControl->Event(event);
    if (msg.Gone()) return true;
    m_pEventKey = OwnsControl(pControl) ? pControl : nullptr;
    return false;
}

bool CPaintManagerUI::OnKeyUp(TRoutedMessage& msg)
{
    if (!m_pEventKey) return false;
    CControlUI* pControl = m_pEventKey;
    TEventUI event = PaintEvents::Key(EVENT_KEYUP, pControl, msg.wParam, m_ptLastMousePos, MapKeyState());
    pControl->Event(event);
    if (msg.Gone()) return true;
    m_pEventKey = nullptr;
    return false;
}

bool CPaintManagerUI::OnChar(TRoutedMessage& msg)
{
    if (!m_pFocus) return false;
    TEventUI event = PaintEvents::Key(EVENT_CHAR, m_pFocus, msg.wParam, m_ptLastMousePos, MapKeyState());
    m_pFocus->Event(event);
    return msg.Gone();
}

}  // namespace Veneer
