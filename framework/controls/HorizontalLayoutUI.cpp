#include "controls/HorizontalLayoutUI.h"

#include <cwchar>

#include "foundation/ValueSyntax.h"

namespace Veneer {

LPCWSTR CHorizontalLayoutUI::GetClass() const { return L"HorizontalLayoutUI"; }

LPVOID CHorizontalLayoutUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"HorizontalLayout") == 0) {
        return static_cast<CHorizontalLayoutUI*>(this);
    }
    return CLinearLayoutUI::GetInterface(pstrName);
}

void CHorizontalLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName != nullptr && pstrValue != nullptr && std::wcscmp(pstrName, L"sepwidth") == 0) {
        SetSepWidth(ValueSyntax::ParseInt(pstrValue));
        return;
    }
    CLinearLayoutUI::SetAttribute(pstrName, pstrValue);
}

}  // namespace Veneer
