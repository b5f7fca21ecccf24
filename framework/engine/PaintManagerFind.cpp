// Option groups and finding controls in a window's tree.
#include "engine/PaintManagerUI.h"

#include <cwchar>

#include "engine/ControlUI.h"

namespace Veneer {

// ------------------------------------------------------ option groups ----

bool CPaintManagerUI::AddOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl)
{
    if (!pStrGroupName) return false;
    CStdPtrArray* aOptionGroup = static_cast<CStdPtrArray*>(m_mOptionGroup.Find(pStrGroupName));
    if (aOptionGroup) {
        if (aOptionGroup->Find(pControl) >= 0) return false;
        aOptionGroup->Add(pControl);
        return true;
    }
    aOptionGroup = new CStdPtrArray(6);
    aOptionGroup->Add(pControl);
    if (!m_mOptionGroup.Insert(pStrGroupName, aOptionGroup)) {
        delete aOptionGroup;
        return false;
    }
    return true;
}

CStdPtrArray* CPaintManagerUI::GetOptionGroup(LPCWSTR pStrGroupName)
{
    if (!pStrGroupName) return nullptr;
    return static_cast<CStdPtrArray*>(m_mOptionGroup.Find(pStrGroupName));
}

void CPaintManagerUI::RemoveOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl)
{
    CStdPtrArray* aOptionGroup = GetOptionGroup(pStrGroupName);
    if (!aOptionGroup) return;
    int index = aOptionGroup->Find(pControl);
    if (index >= 0) aOptionGroup->Remove(index);
    if (aOptionGroup->IsEmpty()) {
        delete aOptionGroup;
        m_mOptionGroup.Remove(pStrGroupName);
    }
}

void CPaintManagerUI::RemoveAllOptionGroups()
{
    for (int i = 0; i < m_mOptionGroup.GetSize(); ++i) {
        LPCWSTR key = m_mOptionGroup.GetAt(i);
        if (key) delete static_cast<CStdPtrArray*>(m_mOptionGroup.Find(key, false));
    }
    m_mOptionGroup.RemoveAll();
}

// ------------------------------------------------------ finding controls ----

namespace {

struct FindByClass {
    CStdPtrArray* found { nullptr };
    LPCWSTR className { nullptr };
};

bool ClassMatches(CControlUI* pThis, LPCWSTR className)
{
    if (!className) return false;
    if (std::wcscmp(className, L"*") == 0) return true;
    LPCWSTR own = pThis->GetClass();
    return own && std::wcscmp(own, className) == 0;
}

}  // namespace

CControlUI* CPaintManagerUI::FindControl(POINT pt) const
{
    if (!m_pRoot) return nullptr;
    return m_pRoot->FindControl(FindControlFromPoint, &pt, FIND_VISIBLE | FIND_HITTEST | FIND_TOP_FIRST);
}

CControlUI* CPaintManagerUI::FindControl(LPCWSTR pstrName) const
{
    if (!pstrName) return nullptr;
    return static_cast<CControlUI*>(m_mNameHash.Find(pstrName));
}

CControlUI* CPaintManagerUI::FindSubControlByPoint(CControlUI* pParent, POINT pt) const
{
    if (!pParent) pParent = m_pRoot;
    if (!pParent) return nullptr;
    return pParent->FindControl(FindControlFromPoint, &pt, FIND_VISIBLE | FIND_HITTEST | FIND_TOP_FIRST);
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* pParent, LPCWSTR pstrName) const
{
    if (!pParent) pParent = m_pRoot;
    if (!pParent || !pstrName) return nullptr;
    return pParent->FindControl(FindControlFromName, const_cast<LPWSTR>(pstrName), 0);
}

CControlUI* CPaintManagerUI::FindSubControlByClass(CControlUI* pParent, LPCWSTR pstrClass, int iIndex)
{
    if (!pParent) pParent = m_pRoot;
    if (!pParent || !pstrClass || iIndex < 0) return nullptr;
    m_aFoundControls.Resize(iIndex + 1);
    FindByClass search { &m_aFoundControls, pstrClass };
    return pParent->FindControl(FindControlFromClass, &search, 0);
}

CStdPtrArray* CPaintManagerUI::FindSubControlsByClass(CControlUI* pParent, LPCWSTR pstrClass)
{
    m_aFoundControls.Empty();
    if (!pParent) pParent = m_pRoot;
    if (!pParent || !pstrClass) return &m_aFoundControls;
    FindByClass search { &m_aFoundControls, pstrClass };
    pParent->FindControl(FindControlsFromClass, &search, 0);
    return &m_aFoundControls;
}

CStdPtrArray* CPaintManagerUI::GetSubControlsByClass() { return &m_aFoundControls; }

CControlUI* CALLBACK CPaintManagerUI::FindControlFromPoint(CControlUI* pThis, LPVOID pData)
{
    const POINT* pt = static_cast<const POINT*>(pData);
    const RECT& rc = pThis->GetPos();
    return ::PtInRect(&rc, *pt) ? pThis : nullptr;
}

CControlUI* CALLBACK CPaintManagerUI::FindControlFromName(CControlUI* pThis, LPVOID pData)
{
    LPCWSTR pstrName = static_cast<LPCWSTR>(pData);
    CStdString name = pThis->GetName();
    if (name.IsEmpty()) return nullptr;
    return name.CompareNoCase(pstrName) == 0 ? pThis : nullptr;
}

CControlUI* CALLBACK CPaintManagerUI::FindControlFromClass(CControlUI* pThis, LPVOID pData)
{
    FindByClass* search = static_cast<FindByClass*>(pData);
    if (!ClassMatches(pThis, search->className)) return nullptr;
    CStdPtrArray* found = search->found;
    int slot = 0;
    while (slot < found->GetSize() && found->GetAt(slot)) ++slot;
    if (slot >= found->GetSize()) return nullptr;
    found->SetAt(slot, pThis);
    return slot == found->GetSize() - 1 ? pThis : nullptr;
}

CControlUI* CALLBACK CPaintManagerUI::FindControlsFromClass(CControlUI* pThis, LPVOID pData)
{
    FindByClass* search = static_cast<FindByClass*>(pData);
    if (ClassMatches(pThis, search->className)) search->found->Add(pThis);
    return nullptr;
}

}  // namespace Veneer
