#include "controls/ChildLayoutUI.h"

#include <cwchar>
#include <vector>

#include "foundation/DialogBuilder.h"

namespace Veneer {

namespace {

// Files whose child layouts are being built right now, outermost first. A
// file that includes itself, directly or through others, would otherwise
// build forever.
std::vector<CStdString>& FilesInProgress()
{
    static std::vector<CStdString> files;
    return files;
}

bool IsInProgress(const CStdString& file)
{
    for (const CStdString& f : FilesInProgress()) {
        if (_wcsicmp(f.GetData(), file.GetData()) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

LPCWSTR CChildLayoutUI::GetClass() const { return L"ChildLayoutUI"; }

LPVOID CChildLayoutUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"ChildLayout") == 0) {
        return static_cast<CChildLayoutUI*>(this);
    }
    return CControlUI::GetInterface(pstrName);
}

void CChildLayoutUI::Init()
{
    if (m_pstrXMLFile.IsEmpty() || m_bBuilt) {
        return;
    }
    m_bBuilt = true;
    if (IsInProgress(m_pstrXMLFile)) {
        RemoveAll();
        return;
    }
    FilesInProgress().push_back(m_pstrXMLFile);
    CDialogBuilder builder;
    CControlUI* pChild = builder.Create(STRINGorID(m_pstrXMLFile.GetData()), nullptr, nullptr, m_pManager, nullptr);
    if (pChild != nullptr) {
        // Attaching initialises the new subtree, nested child layouts too,
        // while this file still counts as in progress.
        Add(pChild);
    } else {
        RemoveAll();
    }
    FilesInProgress().pop_back();
}

void CChildLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) {
        return;
    }
    if (std::wcscmp(pstrName, L"xmlfile") == 0) {
        SetChildLayoutXML(pstrValue);
    } else {
        CContainerUI::SetAttribute(pstrName, pstrValue);
    }
}

}  // namespace Veneer
