#include "controls/CheckBoxUI.h"

namespace Veneer {

LPCWSTR CCheckBoxUI::GetClass() const
{
    return L"CheckBoxUI";
}

void CCheckBoxUI::SetCheck(bool bCheck)
{
    Selected(bCheck);
}

bool CCheckBoxUI::GetCheck() const
{
    return IsSelected();
}

}  // namespace Veneer
