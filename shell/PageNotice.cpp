#include "PageNotice.h"

#include "NavigationText.h"

void CPageNotice::Attach(Veneer::CWebBrowserUI* pBrowser, Veneer::CControlUI* pNotice)
{
    m_pBrowser = pBrowser;
    m_pNotice = pNotice;
}

void CPageNotice::NavigateError(IDispatch* pDisp, VARIANT* url, VARIANT_BOOL* pCancel)
{
    // Inner frames of a loaded page keep the engine's own handling.
    if (m_pBrowser == nullptr || m_pNotice == nullptr) return;
    if (!IsTopLevelNavigation(pDisp, m_pBrowser->GetWebBrowser2())) return;
    if (pCancel != nullptr) *pCancel = VARIANT_TRUE;
    m_sFailedAddress = NavigationAddress(url);
    Show(true);
}

void CPageNotice::Show(bool show)
{
    if (m_pNotice == nullptr) return;
    m_pNotice->SetVisible(show);
    if (m_pBrowser != nullptr) m_pBrowser->SetVisible(!show);
}
