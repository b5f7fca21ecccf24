#pragma once
// The notice a frame shows in place of its page when the page cannot be
// loaded, and the address to try again from it.
#include <windows.h>

#include "engine/ControlUI.h"
#include "foundation/StdString.h"
#include "hosting/WebBrowserUI.h"

class CPageNotice {
public:
    // Both controls belong to the frame's tree; either may be missing, and
    // without both no error is taken over.
    void Attach(Veneer::CWebBrowserUI* pBrowser, Veneer::CControlUI* pNotice);

    // A page of the browser itself (not an inner frame) failed: its
    // navigation is cancelled, its address kept and the notice shown.
    void NavigateError(IDispatch* pDisp, VARIANT* url, VARIANT_BOOL* pCancel);

    // The notice and the browser take turns.
    void Show(bool show);
    bool IsShown() const { return m_pNotice != nullptr && m_pNotice->IsVisible(); }
    // Empty until a page failed.
    const Veneer::CStdString& FailedAddress() const { return m_sFailedAddress; }

private:
    Veneer::CWebBrowserUI* m_pBrowser { nullptr };
    Veneer::CControlUI* m_pNotice { nullptr };
    Veneer::CStdString m_sFailedAddress;
};
