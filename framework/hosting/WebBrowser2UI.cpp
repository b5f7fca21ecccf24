#include "hosting/WebBrowser2UI.h"

#include <cwchar>
#include <new>

#include "hosting/ComHolder.h"
#include "hosting/WebBrowserEventSinker.h"
#include "hosting/WebBrowserIds.h"

namespace Veneer {

CWebBrowser2UI::CWebBrowser2UI()
{
    m_clsid = CLSID_WebBrowserObject;
}

CWebBrowser2UI::~CWebBrowser2UI()
{
    try {
        ReleaseControl();
    } catch (...) {
    }
}

void CWebBrowser2UI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    const bool bTrue = std::wcscmp(pstrValue, L"true") == 0;
    if (std::wcscmp(pstrName, L"url") == 0) {
        m_sUrl = pstrValue;
    } else if (std::wcscmp(pstrName, L"autonavi") == 0) {
        m_bAutoNavigate = bTrue;
    } else if (std::wcscmp(pstrName, L"autosink") == 0) {
        m_bAutoSink = bTrue;
    } else if (std::wcscmp(pstrName, L"boder") == 0) {
        m_bBorder = bTrue;
    } else if (std::wcscmp(pstrName, L"scrollbar") == 0) {
        m_bScrollBar = bTrue;
    } else if (std::wcscmp(pstrName, L"clsid") == 0 || std::wcscmp(pstrName, L"modulename") == 0) {
        // The hosted object is always the browser.
    } else {
        CActiveXUI::SetAttribute(pstrName, pstrValue);
    }
}

void CWebBrowser2UI::Navigate2(LPCWSTR lpszUrl)
{
    if (m_pWebBrowser2 == nullptr) return;
    CStdString sUrl = lpszUrl != nullptr ? CStdString(lpszUrl) : m_sUrl;
    if (sUrl.IsEmpty()) return;
    VARIANT url;
    ::VariantInit(&url);
    url.vt = VT_BSTR;
    url.bstrVal = ::SysAllocString(sUrl.GetData());
    if (url.bstrVal == nullptr) return;
    CComHolder<IWebBrowser2> browser;
    browser.Assign(m_pWebBrowser2);
    browser->Navigate2(&url, nullptr, nullptr, nullptr, nullptr);
    ::VariantClear(&url);
}

bool CWebBrowser2UI::DoCreateControl()
{
    if (!CActiveXUI::DoCreateControl()) return false;
    GetControl(IID_WebBrowser2, reinterpret_cast<LPVOID*>(&m_pWebBrowser2));
    if (m_pWebBrowser2 != nullptr && m_bAutoSink) {
        WebBrowserEventSinker* pSinker = new (std::nothrow) WebBrowserEventSinker(this);
        if (pSinker != nullptr) {
            pSinker->SetBorder(m_bBorder);
            pSinker->SetScrollBar(m_bScrollBar);
            if (SUCCEEDED(pSinker->Connect(m_pWebBrowser2))) {
                m_pSinker = pSinker;
            } else {
                pSinker->Release();
            }
        }
    }
    if (m_pWebBrowser2 != nullptr && m_bAutoNavigate) {
        if (m_pSinker != nullptr) Navigate2(L"about:blank");
        if (!m_sUrl.IsEmpty()) Navigate2(m_sUrl.GetData());
    }
    return true;
}

void CWebBrowser2UI::ReleaseControl()
{
    if (m_pSinker != nullptr) {
        WebBrowserEventSinker* pSinker = m_pSinker;
        m_pSinker = nullptr;
        pSinker->ClearOwner();
        pSinker->Disconnect();
        pSinker->Release();
    }
    if (m_pWebBrowser2 != nullptr) {
        IWebBrowser2* pBrowser = m_pWebBrowser2;
        m_pWebBrowser2 = nullptr;
        pBrowser->Release();
    }
    CActiveXUI::ReleaseControl();
}

}  // namespace Veneer
