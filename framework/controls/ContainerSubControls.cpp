// Named controls inside a container's subtree, read and written by name.
#include "controls/ContainerUI.h"

#include "engine/PaintManagerUI.h"

namespace Veneer {

CControlUI* CContainerUI::FindSubControl(LPCWSTR pstrSubControlName)
{
    if (m_pManager == nullptr) {
        return nullptr;
    }
    return m_pManager->FindSubControlByName(this, pstrSubControlName);
}

bool CContainerUI::SetSubControlText(LPCWSTR pstrSubControlName, LPCWSTR pstrText)
{
    CControlUI* pSubControl = FindSubControl(pstrSubControlName);
    if (pSubControl == nullptr) {
        return false;
    }
    pSubControl->SetText(pstrText);
    return true;
}

bool CContainerUI::SetSubControlFixedHeight(LPCWSTR pstrSubControlName, int cy)
{
    CControlUI* pSubControl = FindSubControl(pstrSubControlName);
    if (pSubControl == nullptr) {
        return false;
    }
    pSubControl->SetFixedHeight(cy);
    return true;
}

bool CContainerUI::SetSubControlFixedWdith(LPCWSTR pstrSubControlName, int cx)
{
    CControlUI* pSubControl = FindSubControl(pstrSubControlName);
    if (pSubControl == nullptr) {
        return false;
    }
    pSubControl->SetFixedWidth(cx);
    return true;
}

bool CContainerUI::SetSubControlUserData(LPCWSTR pstrSubControlName, LPCWSTR pstrText)
{
    CControlUI* pSubControl = FindSubControl(pstrSubControlName);
    if (pSubControl == nullptr) {
        return false;
    }
    pSubControl->SetUserData(pstrText);
    return true;
}

CStdString CContainerUI::GetSubControlText(LPCWSTR pstrSubControlName)
{
    CControlUI* pSubControl = FindSubControl(pstrSubControlName);
    if (pSubControl == nullptr) {
        return CStdString();
    }
    return pSubControl->GetText();
}

int CContainerUI::GetSubControlFixedHeight(LPCWSTR pstrSubControlName)
{
    CControlUI* pSubControl = FindSubControl(pstrSubControlName);
    if (pSubControl == nullptr) {
        return -1;
    }
    return pSubControl->GetFixedHeight();
}

int CContainerUI::GetSubControlFixedWidth(LPCWSTR pstrSubControlName)
{
    CControlUI* pSubControl = FindSubControl(pstrSubControlName);
    if (pSubControl == nullptr) {
        return -1;
    }
    return pSubControl->GetFixedWidth();
}

CStdString CContainerUI::GetSubControlUserData(LPCWSTR pstrSubControlName)
{
    CControlUI* pSubControl = FindSubControl(pstrSubControlName);
    if (pSubControl == nullptr) {
        return CStdString();
    }
    return pSubControl->GetUserData();
}

}  // namespace Veneer
