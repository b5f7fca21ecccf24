#include "controls/VerticalLayoutUI.h"

#include <cwchar>

#include "foundation/ValueSyntax.h"

namespace Veneer {

LPCWSTR CVerticalLayoutUI::GetClass() const { return L"VerticalLayoutUI"; }

LPVOID CVerticalLayoutUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"VerticalLayout") == 0) {
        return static_cast<CVerticalLayoutUI*>(this);
    }
    return CLinearLayoutUI::GetInterface(pstrName);
}

void CVerticalLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName != nullptr && pstrValue != nullptr && std::wcscmp(pstrName, L"sepheight") == 0) {
        SetSepHeight(ValueSyntax::ParseInt(pstrValue));
        return;
    }
    CLinearLayoutUI::SetAttribute(pstrName, pstrValue);
}

}  // namespace Veneer
