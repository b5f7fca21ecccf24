#include "controls/ListTextElementUI.h"

#include <cwchar>

#include "controls/ListItemPaint.h"
#include "engine/PaintManagerUI.h"
#include "engine/RenderEngine.h"
#include "foundation/RectMath.h"

namespace Veneer {

CListTextElementUI::~CListTextElementUI()
{
    for (int it = 0; it < m_aTexts.GetSize(); ++it) {
        delete static_cast<CStdString*>(m_aTexts[it]);
    }
    m_aTexts.Empty();
}

LPCWSTR CListTextElementUI::GetClass() const { return L"ListTextElementUI"; }

LPVOID CListTextElementUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"ListTextElement") == 0) {
        return static_cast<CListTextElementUI*>(this);
    }
    return CListLabelElementUI::GetInterface(pstrName);
}

UINT CListTextElementUI::GetControlFlags() const
{
    return (IsEnabled() && m_nLinks > 0) ? (kListItemFlags | FLAG_SETCURSOR) : kListItemFlags;
}

LPCWSTR CListTextElementUI::GetText(int iIndex) const
{
    if (iIndex < 0 || iIndex >= m_aTexts.GetSize()) {
        return nullptr;
    }
    const CStdString* pText = static_cast<const CStdString*>(m_aTexts[iIndex]);
    return pText != nullptr ? pText->GetData() : nullptr;
}

void CListTextElementUI::SetText(int iIndex, LPCWSTR pstrText)
{
    if (m_pOwner == nullptr) {
        return;
    }
    const TListInfoUI* pInfo = m_pOwner->GetListInfo();
    if (iIndex < 0 || iIndex >= pInfo->nColumns) {
        return;
    }
    while (m_aTexts.GetSize() < pInfo->nColumns) {
        m_aTexts.Add(new CStdString);
    }
    CStdString* pText = static_cast<CStdString*>(m_aTexts[iIndex]);
    const LPCWSTR pstrNew = pstrText != nullptr ? pstrText : L"";
    if (*pText == pstrNew) {
        return;
    }
    *pText = pstrNew;
    Invalidate();
}

void CListTextElementUI::SetOwner(CControlUI* pOwner)
{
    CListElementUI::SetOwner(pOwner);
    m_pOwnerList = pOwner != nullptr ? static_cast<IListUI*>(pOwner->GetInterface(L"IList")) : nullptr;
}

CStdString* CListTextElementUI::GetLinkContent(int iIndex)
{
    if (iIndex < 0 || iIndex >= m_nLinks) {
        return nullptr;
    }
    return &m_sLinks[iIndex];
}

void CListTextElementUI::DoEvent(TEventUI& event)
{
    if (HandOnMouseEvent(event)) return;
    if (event.Type == EVENT_SETCURSOR) {
        for (int i = 0; i < m_nLinks; ++i) {
            if (::PtInRect(&m_rcLinks[i], event.ptMouse)) {
                ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
                return;
            }
        }
    }
    if (event.Type == EVENT_BUTTONUP && IsEnabled()) {
        for (int i = 0; i < m_nLinks; ++i) {
            if (::PtInRect(&m_rcLinks[i], event.ptMouse)) {
                if (m_pManager != nullptr) {
                    m_pManager->SendNotify(this, L"link", static_cast<WPARAM>(i));
                }
                return;
            }
        }
    }
    if (m_nLinks > 0 && event.Type == EVENT_MOUSEMOVE) {
        int nHoverLink = -1;
        for (int i = 0; i < m_nLinks; ++i) {
            if (::PtInRect(&m_rcLinks[i], event.ptMouse)) {
                nHoverLink = i;
                break;
            }
        }
        if (m_nHoverLink != nHoverLink) {
            m_nHoverLink = nHoverLink;
            Invalidate();
        }
    }
    if (m_nLinks > 0 && event.Type == EVENT_MOUSELEAVE && m_nHoverLink != -1) {
        m_nHoverLink = -1;
        Invalidate();
    }
    CListLabelElementUI::DoEvent(event);
}

SIZE CListTextElementUI::EstimateSize(SIZE /*szAvailable*/)
{
    SIZE cXY = { m_cxFixed, m_cyFixed };
    if (m_pOwner == nullptr) {
        return cXY;
    }
    const TListInfoUI* pInfo = m_pOwner->GetListInfo();
    if (cXY.cy == 0 && m_pManager != nullptr) {
        cXY.cy = m_pManager->GetFontInfo(pInfo->nFont)->tm.tmHeight + 8;
        cXY.cy += pInfo->rcTextPadding.top + pInfo->rcTextPadding.bottom;
    }
    return cXY;
}

void CListTextElementUI::DrawItemText(HDC hDC, const RECT& rcItem)
{
    if (m_pOwner == nullptr || m_pManager == nullptr) {
        return;
    }
    const TListInfoUI* pInfo = m_pOwner->GetListInfo();
    const DWORD dwTextColor = ListItemTextColor(this, pInfo, m_bSelected, m_uButtonState);
    IListCallbackUI* pCallback = m_pOwnerList != nullptr ? m_pOwnerList->GetTextCallback() : nullptr;
    m_nLinks = 0;
    const int nColumns = pInfo->nColumns < UILIST_MAX_COLUMNS ? pInfo->nColumns : UILIST_MAX_COLUMNS;
    for (int i = 0; i < nColumns; ++i) {
        const RECT rcColumn = { pInfo->rcColumn[i].left, rcItem.top, pInfo->rcColumn[i].right, rcItem.bottom };
        RECT rcText = RectMath::Pad(rcColumn, pInfo->rcTextPadding);
        LPCWSTR pstrText = pCallback != nullptr ? pCallback->GetItemText(this, m_iIndex, i) : GetText(i);
        if (pstrText == nullptr || pstrText[0] == L'\0') {
            continue;
        }
        if (pInfo->bShowHtml) {
            int nLinks = kMaxLinks - m_nLinks;
            RECT* prcLinks = nLinks > 0 ? &m_rcLinks[m_nLinks] : nullptr;
            CStdString* psLinks = nLinks > 0 ? &m_sLinks[m_nLinks] : nullptr;
            CRenderEngine::DrawHtmlText(hDC, m_pManager, rcText, pstrText, dwTextColor, prcLinks, psLinks, nLinks,
                DT_SINGLELINE | pInfo->uTextStyle);
            if (nLinks > 0) {
                m_nLinks += nLinks < kMaxLinks - m_nLinks ? nLinks : kMaxLinks - m_nLinks;
            }
        } else {
            CRenderEngine::DrawText(hDC, m_pManager, rcText, pstrText, dwTextColor, pInfo->nFont,
                DT_SINGLELINE | pInfo->uTextStyle);
        }
    }
    for (int i = m_nLinks; i < kMaxLinks; ++i) {
        m_rcLinks[i] = RECT { 0, 0, 0, 0 };
        m_sLinks[i].Empty();
    }
}

}  // namespace Veneer
