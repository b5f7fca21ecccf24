#include "controls/ListElementUI.h"

#include <cwchar>

namespace Veneer {

LPCWSTR CListElementUI::GetClass() const { return L"ListElementUI"; }

LPVOID CListElementUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"ListElement") == 0) {
        return static_cast<CListElementUI*>(this);
    }
    return CListItemUI<CControlUI>::GetInterface(pstrName);
}

}  // namespace Veneer
