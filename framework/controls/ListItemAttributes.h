#pragma once
// Item-look attributes shared by the list and the combo: both keep their items'
// look in a TListInfoUI behind setters of the same names.
#include <windows.h>

#include <cwchar>

#include "controls/ListUI.h"
#include "foundation/ValueSyntax.h"

namespace Veneer {

// Applies one "item..." attribute; false when the name is not one of them.
template <class TListOwner>
bool SetListItemAttribute(TListOwner& owner, LPCWSTR pstrName, LPCWSTR pstrValue)
{
    using ValueSyntax::ParseBool;
    using ValueSyntax::ParseColor;
    using ValueSyntax::ParseInt;
    using ValueSyntax::ParseRect;
    if (wcscmp(pstrName, L"itemfont") == 0) {
        owner.SetItemFont(ParseInt(pstrValue));
    } else if (wcscmp(pstrName, L"itemalign") == 0) {
        UINT uStyle = owner.GetListInfo()->uTextStyle;
        if (wcsstr(pstrValue, L"left") != nullptr) {
            uStyle &= ~(DT_CENTER | DT_RIGHT);
        }
        if (wcsstr(pstrValue, L"center") != nullptr) {
            uStyle &= ~DT_RIGHT;
            uStyle |= DT_CENTER;
        }
        if (wcsstr(pstrValue, L"right") != nullptr) {
            uStyle &= ~DT_CENTER;
            uStyle |= DT_RIGHT;
        }
        owner.SetItemTextStyle(uStyle);
    } else if (wcscmp(pstrName, L"itemtextpadding") == 0) {
        owner.SetItemTextPadding(ParseRect(pstrValue));
    } else if (wcscmp(pstrName, L"itemtextcolor") == 0) {
        owner.SetItemTextColor(ParseColor(pstrValue, false));
    } else if (wcscmp(pstrName, L"itembkcolor") == 0) {
        owner.SetItemBkColor(ParseColor(pstrValue, false));
    } else if (wcscmp(pstrName, L"itembkimage") == 0) {
        owner.SetItemBkImage(pstrValue);
    } else if (wcscmp(pstrName, L"itemaltbk") == 0) {
        owner.SetAlternateBk(ParseBool(pstrValue));
    } else if (wcscmp(pstrName, L"itemselectedtextcolor") == 0) {
        owner.SetSelectedItemTextColor(ParseColor(pstrValue, false));
    } else if (wcscmp(pstrName, L"itemselectedbkcolor") == 0) {
        owner.SetSelectedItemBkColor(ParseColor(pstrValue, false));
    } else if (wcscmp(pstrName, L"itemselectedimage") == 0) {
        owner.SetSelectedItemImage(pstrValue);
    } else if (wcscmp(pstrName, L"itemhottextcolor") == 0) {
        owner.SetHotItemTextColor(ParseColor(pstrValue, false));
    } else if (wcscmp(pstrName, L"itemhotbkcolor") == 0) {
        owner.SetHotItemBkColor(ParseColor(pstrValue, false));
    } else if (wcscmp(pstrName, L"itemhotimage") == 0) {
        owner.SetHotItemImage(pstrValue);
    } else if (wcscmp(pstrName, L"itemdisabledtextcolor") == 0) {
        owner.SetDisabledItemTextColor(ParseColor(pstrValue, false));
    } else if (wcscmp(pstrName, L"itemdisabledbkcolor") == 0) {
        owner.SetDisabledItemBkColor(ParseColor(pstrValue, false));
    } else if (wcscmp(pstrName, L"itemdisabledimage") == 0) {
        owner.SetDisabledItemImage(pstrValue);
    } else if (wcscmp(pstrName, L"itemlinecolor") == 0) {
        owner.SetItemLineColor(ParseColor(pstrValue, false));
    } else if (wcscmp(pstrName, L"itemshowhtml") == 0) {
        owner.SetItemShowHtml(ParseBool(pstrValue));
    } else {
        return false;
    }
    return true;
}

}  // namespace Veneer
