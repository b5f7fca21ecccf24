#include "NameHints.h"

#include <algorithm>
#include <cwctype>
#include <vector>

namespace SkinTool {

namespace {

const wchar_t* const kElements[] = {
    L"Window", L"Image", L"Font", L"Default", L"Include", L"TreeNode", L"Control", L"Container",
    L"ScrollBar", L"VerticalLayout", L"HorizontalLayout", L"Text", L"Label", L"Button", L"Option",
    L"CheckBox", L"TileLayout", L"TabLayout", L"ChildLayout", L"Progress", L"Slider", L"Edit", L"List",
    L"ListHeader", L"ListHeaderItem", L"ListLabelElement", L"ListTextElement", L"ListContainerElement",
    L"Combo", L"ComboBox", L"DateTime", L"TreeView", L"ActiveX", L"WebBrowser", L"RichEdit",
};

// Taken from the attribute chains of the stock controls and the Window element.
const wchar_t* const kAttributes[] = {
    L"align", L"alpha", L"arrowimage", L"autonavi", L"autosink", L"bkcolor", L"bkcolor1", L"bkcolor2",
    L"bkcolor3", L"bkdisabledimage", L"bkhotimage", L"bkimage", L"bknormalimage", L"bkpushedimage",
    L"bktrans", L"bordercolor", L"borderround", L"bordersize", L"borderstyle", L"bottombordersize",
    L"button1disabledimage", L"button1hotimage", L"button1normalimage", L"button1pushedimage",
    L"button2disabledimage", L"button2hotimage", L"button2normalimage", L"button2pushedimage", L"caption",
    L"checkboxattr", L"childpadding", L"clsid", L"colorhsl", L"columns", L"count", L"default",
    L"defaultfontcolor", L"delaycreate", L"disabledfontcolor", L"disabledimage", L"disabledtextcolor",
    L"dotlineattr", L"dragable", L"dropbox", L"dropboxsize", L"enabled", L"enabledeffect", L"enabledshadow",
    L"enabledstroke", L"endellipsis", L"float", L"focusbordercolor", L"focusedimage", L"focusedtextcolor",
    L"folderattr", L"font", L"foreimage", L"gradientangle", L"gradientlength", L"group", L"header",
    L"headerbkimage", L"height", L"homepage", L"horizattr", L"hotbkcolor", L"hotforeimage", L"hotimage",
    L"hottextcolor", L"hscrollbar", L"hscrollbarstyle", L"inset", L"isstretchfore", L"itemalign",
    L"itemaltbk", L"itemattr", L"itembkcolor", L"itembkimage", L"itemdisabledbkcolor",
    L"itemdisabledimage", L"itemdisabledtextcolor", L"itemendellipsis", L"itemfont", L"itemhotbkcolor",
    L"itemhotimage", L"itemhottextcolor", L"itemlinecolor", L"itemminwidth", L"itemselectedbkcolor",
    L"itemselectedimage", L"itemselectedtextcolor", L"itemshowhtml", L"itemsize", L"itemtextcolor",
    L"itemtextpadding", L"keyboard", L"leftbordersize", L"linkfontcolor", L"linkhoverfontcolor",
    L"linesize", L"mask", L"max", L"maxchar", L"maxheight", L"maxinfo", L"maxwidth", L"menu", L"min",
    L"minheight", L"mininfo", L"minwidth", L"modulename", L"mouse", L"mousechild", L"multiexpanding",
    L"name", L"nativebkcolor", L"normalimage", L"numberonly", L"padding", L"password", L"pos",
    L"pushedimage", L"pushedtextcolor", L"raildisabledimage", L"railhotimage", L"railnormalimage",
    L"railpushedimage", L"range", L"readonly", L"relativepos", L"restype", L"rightbordersize",
    L"roundcorner", L"scrollbar", L"scrollselect", L"selected", L"selectedbkcolor", L"selectedcolor",
    L"selectedhotimage", L"selectedid", L"selectedimage", L"selectedtextcolor", L"selitemhottextcolor",
    L"selitemtextcolor", L"sepheight", L"sepimage", L"sepimm", L"sepwidth", L"shadow", L"shadowbottomleft",
    L"shadowbottomright", L"shadowimage", L"shadowoffset", L"shadowtopleft", L"shadowtopright", L"shortcut",
    L"showbutton1", L"showbutton2", L"showdirty", L"showhtml", L"size", L"sizebox", L"source", L"step",
    L"strokecolor", L"text", L"textcolor", L"textcolor1", L"textpadding", L"textshadowcolora",
    L"textshadowcolorb", L"thumbdisabledimage", L"thumbhotimage", L"thumbimage", L"thumbnormalimage",
    L"thumbpushedimage", L"thumbsize", L"tooltip", L"topbordersize", L"transshadow", L"transshadow1",
    L"transstroke", L"transtext", L"transtext1", L"url", L"userdata", L"value", L"virtualwnd", L"visible",
    L"visiblecheckbtn", L"visiblefolderbtn", L"vscrollbar", L"vscrollbarstyle", L"width", L"xmlfile",
    L"bold", L"underline", L"italic",
};

template <size_t N>
std::wstring Nearest(const std::wstring& name, const wchar_t* const (&names)[N])
{
    std::wstring best;
    int bestDistance = 0;
    for (const wchar_t* candidate : names) {
        const int distance = NameDistance(name, candidate);
        if (best.empty() || distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    // Costs are doubled: allow about one edit in two characters.
    const int limit = std::max<int>(4, static_cast<int>(name.size()));
    if (best.empty() || bestDistance > limit || best == name) return std::wstring();
    return best;
}

}  // namespace

int NameDistance(const std::wstring& a, const std::wstring& b)
{
    // Doubled costs: 2 per edit, 1 for a change of case only.
    std::vector<int> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = static_cast<int>(j) * 2;
    for (size_t i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = static_cast<int>(i) * 2;
        for (size_t j = 1; j <= b.size(); ++j) {
            int change = 0;
            if (a[i - 1] != b[j - 1]) change = std::towlower(a[i - 1]) == std::towlower(b[j - 1]) ? 1 : 2;
            const int best = std::min({ row[j] + 2, row[j - 1] + 2, diagonal + change });
            diagonal = row[j];
            row[j] = best;
        }
    }
    return row[b.size()];
}

std::wstring NearestElement(const std::wstring& name)
{
    return Nearest(name, kElements);
}

std::wstring NearestAttribute(const std::wstring& name)
{
    return Nearest(name, kAttributes);
}

}  // namespace SkinTool
