#pragma once
#include "foundation/VeneerApi.h"
#include <windows.h>
#include <exdisp.h>

#include "hosting/ActiveXUI.h"

namespace Veneer {

class WebBrowserEventSinker;

// A browser control built by code only; reports finished pages with the
// notification "HTML_COMPLETE" (wParam: the narrow address, lParam: 1 when
// a navigation error happened on the way).
class VENEER_API CWebBrowser2UI : public CActiveXUI {
public:
    CWebBrowser2UI();
    ~CWebBrowser2UI() override;

    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    // A null address means the start address.
    void Navigate2(LPCWSTR lpszUrl = nullptr);
    IWebBrowser2* GetWebBrowser2() const { return m_pWebBrowser2; }
    void SetUrl(LPCWSTR lpszUrl) { m_sUrl = lpszUrl != nullptr ? lpszUrl : L""; }
    CStdString GetUrl() const { return m_sUrl; }
    void SetAutoNavigate(bool bAuto) { m_bAutoNavigate = bAuto; }
    void SetAutoSink(bool bAuto) { m_bAutoSink = bAuto; }
    void SetBorder(bool bBorder) { m_bBorder = bBorder; }
    void SetScrollBar(bool bScrollBar) { m_bScrollBar = bScrollBar; }

protected:
    bool DoCreateControl() override;
    void ReleaseControl() override;

    IWebBrowser2* m_pWebBrowser2 { nullptr };
    CStdString m_sUrl;
    bool m_bAutoNavigate { true };
    bool m_bAutoSink { true };
    WebBrowserEventSinker* m_pSinker { nullptr };
    bool m_bBorder { false };
    bool m_bScrollBar { false };
};

}  // namespace Veneer
