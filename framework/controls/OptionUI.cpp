#include "controls/OptionUI.h"

#include <cwchar>

#include "engine/PaintManagerUI.h"
#include "engine/RenderEngine.h"
#include "foundation/StdPtrArray.h"
#include "foundation/ValueSyntax.h"

namespace Veneer {

namespace {

bool Is(LPCWSTR a, LPCWSTR b)
{
    return std::wcscmp(a, b) == 0;
}

}  // namespace

COptionUI::~COptionUI()
{
    // The group would otherwise keep a dangling member.
    if (!m_sGroupName.IsEmpty() && m_pManager != nullptr) m_pManager->RemoveOptionGroup(m_sGroupName, this);
}

LPCWSTR COptionUI::GetClass() const
{
    return L"OptionUI";
}

LPVOID COptionUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && Is(pstrName, L"Option")) return static_cast<COptionUI*>(this);
    return CButtonUI::GetInterface(pstrName);
}

void COptionUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    CControlUI::SetManager(pManager, pParent, bInit);
    if (bInit && !m_sGroupName.IsEmpty() && m_pManager != nullptr) m_pManager->AddOptionGroup(m_sGroupName, this);
}

void COptionUI::SetGroup(LPCWSTR pStrGroupName)
{
    if (pStrGroupName == nullptr) {
        if (m_sGroupName.IsEmpty()) return;
        if (m_pManager != nullptr) m_pManager->RemoveOptionGroup(m_sGroupName, this);
        m_sGroupName.Empty();
    } else {
        if (m_sGroupName == pStrGroupName) return;
        if (!m_sGroupName.IsEmpty() && m_pManager != nullptr) m_pManager->RemoveOptionGroup(m_sGroupName, this);
        m_sGroupName = pStrGroupName;
        if (!m_sGroupName.IsEmpty() && m_pManager != nullptr) m_pManager->AddOptionGroup(m_sGroupName, this);
    }
    Selected(m_bSelected);
}

void COptionUI::Selected(bool bSelected)
{
    if (m_bSelected == bSelected) return;
    m_bSelected = bSelected;
    if (m_bSelected) {
        m_uButtonState |= STATE_SELECTED;
    } else {
        m_uButtonState &= ~STATE_SELECTED;
    }

    if (m_pManager != nullptr) {
        if (m_sGroupName.IsEmpty()) {
            m_pManager->SendNotify(this, L"selectchanged");
        } else if (m_bSelected) {
            CStdPtrArray* aOptionGroup = m_pManager->GetOptionGroup(m_sGroupName);
            for (int i = 0; aOptionGroup != nullptr && i < aOptionGroup->GetSize(); ++i) {
                CControlUI* pMember = static_cast<CControlUI*>(aOptionGroup->GetAt(i));
                if (pMember == nullptr || pMember == this) continue;
                COptionUI* pOther = static_cast<COptionUI*>(pMember->GetInterface(L"Option"));
                if (pOther != nullptr) pOther->Selected(false);
            }
            m_pManager->SendNotify(this, L"selectchanged");
        }
    }
    Invalidate();
}

bool COptionUI::Activate()
{
    if (!CButtonUI::Activate()) return false;
    if (!m_sGroupName.IsEmpty()) {
        Selected(true);
    } else {
        Selected(!m_bSelected);
    }
    return true;
}

void COptionUI::SetEnabled(bool bEnable)
{
    CControlUI::SetEnabled(bEnable);
    if (!IsEnabled()) m_uButtonState = m_bSelected ? STATE_SELECTED : 0;
}

void COptionUI::SetSelectedImage(LPCWSTR pStrImage)
{
    m_sSelectedImage = pStrImage;
    Invalidate();
}

void COptionUI::SetSelectedHotImage(LPCWSTR pStrImage)
{
    m_sSelectedHotImage = pStrImage;
    Invalidate();
}

void COptionUI::SetForeImage(LPCWSTR pStrImage)
{
    m_sOptionForeImage = pStrImage;
    Invalidate();
}

DWORD COptionUI::GetSelectedTextColor()
{
    if (m_dwSelectedTextColor == 0 && m_pManager != nullptr) {
        m_dwSelectedTextColor = m_pManager->GetDefaultFontColor();
    }
    return m_dwSelectedTextColor;
}

void COptionUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr) return;
    if (pstrValue == nullptr) pstrValue = L"";

    if (Is(pstrName, L"group")) {
        SetGroup(pstrValue);
    } else if (Is(pstrName, L"selected")) {
        Selected(ValueSyntax::ParseBool(pstrValue));
    } else if (Is(pstrName, L"selectedimage")) {
        SetSelectedImage(pstrValue);
    } else if (Is(pstrName, L"selectedhotimage")) {
        SetSelectedHotImage(pstrValue);
    } else if (Is(pstrName, L"foreimage")) {
        SetForeImage(pstrValue);
    } else if (Is(pstrName, L"selectedbkcolor")) {
        SetSelectedBkColor(ValueSyntax::ParseColor(pstrValue, false));
    } else if (Is(pstrName, L"selectedtextcolor")) {
        SetSelectedTextColor(ValueSyntax::ParseColor(pstrValue, false));
    } else {
        CButtonUI::SetAttribute(pstrName, pstrValue);
    }
}

void COptionUI::PaintStatusImage(HDC hDC)
{
    // An option never shows its pushed look.
    m_uButtonState &= ~STATE_PUSHED;

    const bool selected = (m_uButtonState & STATE_SELECTED) != 0;
    const bool hot = (m_uButtonState & STATE_HOT) != 0;
    bool asButton = true;
    if (hot && selected && !m_sSelectedHotImage.IsEmpty()) {
        asButton = !DrawStateImage(hDC, m_sSelectedHotImage);
    } else if (selected) {
        if (!m_sSelectedImage.IsEmpty()) {
            asButton = !DrawStateImage(hDC, m_sSelectedImage);
        } else if (m_dwSelectedBkColor != 0) {
            CRenderEngine::DrawColor(hDC, m_rcPaint, GetAdjustColor(m_dwSelectedBkColor));
            return;
        }
    }
    if (asButton) CButtonUI::PaintStatusImage(hDC);
    if (!m_sOptionForeImage.IsEmpty()) DrawStateImage(hDC, m_sOptionForeImage);
}

void COptionUI::PaintText(HDC hDC)
{
    if ((m_uButtonState & STATE_SELECTED) == 0) {
        CButtonUI::PaintText(hDC);
        return;
    }
    if (m_pManager == nullptr) return;

    const DWORD oldTextColor = m_dwTextColor;
    if (m_dwSelectedTextColor != 0) m_dwTextColor = m_dwSelectedTextColor;
    ResolveDefaultColors();
    if (!m_sText.IsEmpty()) {
        RECT rc = GetTextRect();
        const DWORD color = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
        if (m_bShowHtml) {
            int nLinks = 0;
            CRenderEngine::DrawHtmlText(hDC, m_pManager, rc, m_sText, color, nullptr, nullptr, nLinks,
                                        m_uTextStyle);
        } else {
            CRenderEngine::DrawText(hDC, m_pManager, rc, m_sText, color, m_iFont, m_uTextStyle);
        }
    }
    m_dwTextColor = oldTextColor;
}

}  // namespace Veneer
