#include "foundation/DialogBuilder.h"

#include <cwchar>

#include "controls/ButtonUI.h"
#include "controls/CheckBoxUI.h"
#include "controls/ChildLayoutUI.h"
#include "controls/ComboBoxUI.h"
#include "controls/ComboUI.h"
#include "controls/ContainerUI.h"
#include "controls/DateTimeUI.h"
#include "controls/EditUI.h"
#include "controls/HorizontalLayoutUI.h"
#include "controls/LabelUI.h"
#include "controls/ListContainerElementUI.h"
#include "controls/ListHeaderItemUI.h"
#include "controls/ListHeaderUI.h"
#include "controls/ListLabelElementUI.h"
#include "controls/ListTextElementUI.h"
#include "controls/ListUI.h"
#include "controls/OptionUI.h"
#include "controls/ProgressUI.h"
#include "controls/ScrollBarUI.h"
#include "controls/SliderUI.h"
#include "controls/TabLayoutUI.h"
#include "controls/TextUI.h"
#include "controls/TileLayoutUI.h"
#include "controls/TreeViewUI.h"
#include "controls/VerticalLayoutUI.h"
#include "engine/ControlUI.h"
#include "engine/PaintManagerUI.h"
#include "foundation/ValueSyntax.h"
#include "hosting/ActiveXUI.h"
#include "hosting/WebBrowserUI.h"

namespace Veneer {

namespace {

// Included skins may include others; a skin that includes itself would
// otherwise recurse until the stack runs out.
const int kMaxIncludeDepth = 16;
// The control pass recurses once per element level, and so do layout and
// painting later: deeper subtrees are left out (2,000 levels overflow a 2 MB stack).
const int kMaxNestingDepth = 256;

template <class T>
CControlUI* NewControl()
{
    return new T;
}

struct ElementClass {
    LPCWSTR name;
    size_t length;
    CControlUI* (*create)();
};

#define VENEER_ELEMENT(name, cls) { name, sizeof(name) / sizeof(wchar_t) - 1, &NewControl<cls> }

// Element name -> control class. A name is compared only with the names of
// its own length. "RichEdit" has no stock class here: like any unknown name
// it is left to the plug-ins and the caller's callback.
const ElementClass kStockControls[] = {
    VENEER_ELEMENT(L"Control", CControlUI),
    VENEER_ELEMENT(L"Container", CContainerUI),
    VENEER_ELEMENT(L"ScrollBar", CScrollBarUI),
    VENEER_ELEMENT(L"VerticalLayout", CVerticalLayoutUI),
    VENEER_ELEMENT(L"HorizontalLayout", CHorizontalLayoutUI),
    VENEER_ELEMENT(L"Text", CTextUI),
    VENEER_ELEMENT(L"Label", CLabelUI),
    VENEER_ELEMENT(L"Button", CButtonUI),
    VENEER_ELEMENT(L"Option", COptionUI),
    VENEER_ELEMENT(L"CheckBox", CCheckBoxUI),
    VENEER_ELEMENT(L"TileLayout", CTileLayoutUI),
    VENEER_ELEMENT(L"TabLayout", CTabLayoutUI),
    VENEER_ELEMENT(L"ChildLayout", CChildLayoutUI),
    VENEER_ELEMENT(L"Progress", CProgressUI),
    VENEER_ELEMENT(L"Slider", CSliderUI),
    VENEER_ELEMENT(L"Edit", CEditUI),
    VENEER_ELEMENT(L"List", CListUI),
    VENEER_ELEMENT(L"ListHeader", CListHeaderUI),
    VENEER_ELEMENT(L"ListHeaderItem", CListHeaderItemUI),
    VENEER_ELEMENT(L"ListLabelElement", CListLabelElementUI),
    VENEER_ELEMENT(L"ListTextElement", CListTextElementUI),
    VENEER_ELEMENT(L"ListContainerElement", CListContainerElementUI),
    VENEER_ELEMENT(L"Combo", CComboUI),
    VENEER_ELEMENT(L"ComboBox", CComboBoxUI),
    VENEER_ELEMENT(L"DateTime", CDateTimeUI),
    VENEER_ELEMENT(L"TreeView", CTreeViewUI),
    VENEER_ELEMENT(L"ActiveX", CActiveXUI),
    VENEER_ELEMENT(L"WebBrowser", CWebBrowserUI),
};

#undef VENEER_ELEMENT

bool Is(LPCWSTR a, LPCWSTR b)
{
    return std::wcscmp(a, b) == 0;
}

// A control that can be attached nowhere. Its subtree was configured with
// the manager and then detached; attaching it again (without Init) lets every
// destructor unregister what it registered there (names, option groups).
void DiscardControl(CControlUI* pControl, CPaintManagerUI* pManager)
{
    if (pControl == nullptr) return;
    if (pManager != nullptr) pControl->SetManager(pManager, nullptr, false);
    delete pControl;
}

}  // namespace

CControlUI* CDialogBuilder::CreateStockControl(LPCWSTR pstrClass)
{
    if (pstrClass == nullptr) return nullptr;
    const size_t length = std::wcslen(pstrClass);
    for (const ElementClass& entry : kStockControls) {
        if (entry.length == length && Is(entry.name, pstrClass)) return entry.create();
    }
    return nullptr;
}

void CDialogBuilder::SetResourceType(LPCWSTR type)
{
    if (type == nullptr || IS_INTRESOURCE(type)) {
        m_sTypeText.Empty();
        m_pstrtype = type;
        return;
    }
    m_sTypeText = type;
    m_pstrtype = m_sTypeText.GetData();
}

CControlUI* CDialogBuilder::Create(STRINGorID xml, LPCWSTR type, IDialogBuilderCallback* pCallback,
                                   CPaintManagerUI* pManager, CControlUI* pParent)
{
    if (IS_INTRESOURCE(xml.m_lpstr)) {
        HINSTANCE module = CPaintManagerUI::GetResourceDll();
        HRSRC hResource = ::FindResourceW(module, xml.m_lpstr, type);
        if (hResource == nullptr) return nullptr;
        HGLOBAL hGlobal = ::LoadResource(module, hResource);
        if (hGlobal == nullptr) return nullptr;
        const DWORD size = ::SizeofResource(module, hResource);
        const BYTE* bytes = static_cast<const BYTE*>(::LockResource(hGlobal));
        if (bytes == nullptr) {
            ::FreeResource(hGlobal);
            return nullptr;
        }
        m_pCallback = pCallback;
        // The markup decodes into a buffer of its own: the read-only resource
        // is never written.
        const bool loaded = m_xml.LoadFromMem(bytes, size);
        ::FreeResource(hGlobal);
        if (!loaded) return nullptr;
        SetResourceType(type);
    } else {
        if (xml.m_lpstr == nullptr) return nullptr;
        m_pCallback = pCallback;
        SetResourceType(nullptr);
        if (xml.m_lpstr[0] == L'<') {
            if (!m_xml.Load(xml.m_lpstr)) return nullptr;
        } else {
            if (!m_xml.LoadFromFile(xml.m_lpstr)) return nullptr;
        }
    }
    return Create(pCallback, pManager, pParent);
}

CControlUI* CDialogBuilder::Create(IDialogBuilderCallback* pCallback, CPaintManagerUI* pManager,
                                   CControlUI* pParent)
{
    m_pCallback = pCallback;
    m_nIncludesLeft = kMaxIncludedBuilds;  // per build; an included builder uses its includer's
    CMarkupNode root = m_xml.GetRoot();
    if (!root.IsValid()) return nullptr;

    if (pManager != nullptr) {
        ApplyResourceElements(root, pManager);
        if (Is(root.GetName(), L"Window") && pManager->GetPaintWindow() != nullptr)
            ApplyWindowAttributes(root, pManager);
        if (pManager->HasWindowShadow()) pManager->CalMiddleShadowRect();
    }
    return ParseChildren(&root, pParent, pManager);
}

void CDialogBuilder::ApplyResourceElements(CMarkupNode& root, CPaintManagerUI* pManager)
{
    for (CMarkupNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
        LPCWSTR pstrClass = node.GetName();
        const int count = node.GetAttributeCount();
        if (Is(pstrClass, L"Image")) {
            LPCWSTR pImageName = nullptr;
            LPCWSTR pImageResType = nullptr;
            DWORD mask = 0;
            for (int i = 0; i < count; ++i) {
                LPCWSTR name = node.GetAttributeName(i);
                LPCWSTR value = node.GetAttributeValue(i);
                if (Is(name, L"name"))
                    pImageName = value;
                else if (Is(name, L"restype"))
                    pImageResType = value;
                else if (Is(name, L"mask"))
                    mask = ValueSyntax::ParseColor(value, false);
            }
            if (pImageName != nullptr) pManager->AddImage(pImageName, pImageResType, mask);
        } else if (Is(pstrClass, L"Font")) {
            LPCWSTR pFontName = nullptr;
            int size = 12;
            bool bold = false;
            bool underline = false;
            bool italic = false;
            bool defaultFont = false;
            for (int i = 0; i < count; ++i) {
                LPCWSTR name = node.GetAttributeName(i);
                LPCWSTR value = node.GetAttributeValue(i);
                if (Is(name, L"name"))
                    pFontName = value;
                else if (Is(name, L"size"))
                    size = static_cast<int>(ValueSyntax::ParseInt(value));
                else if (Is(name, L"bold"))
                    bold = ValueSyntax::ParseBool(value);
                else if (Is(name, L"underline"))
                    underline = ValueSyntax::ParseBool(value);
                else if (Is(name, L"italic"))
                    italic = ValueSyntax::ParseBool(value);
                else if (Is(name, L"default"))
                    defaultFont = ValueSyntax::ParseBool(value);
            }
            if (pFontName != nullptr) {
                pManager->AddFont(pFontName, size, bold, underline, italic);
                if (defaultFont) pManager->SetDefaultFont(pFontName, size, bold, underline, italic);
            }
        } else if (Is(pstrClass, L"Default")) {
            LPCWSTR pControlName = nullptr;
            LPCWSTR pControlValue = nullptr;
            for (int i = 0; i < count; ++i) {
                LPCWSTR name = node.GetAttributeName(i);
                LPCWSTR value = node.GetAttributeValue(i);
                if (Is(name, L"name"))
                    pControlName = value;
                else if (Is(name, L"value"))
                    pControlValue = value;
            }
            if (pControlName != nullptr)
                pManager->AddDefaultAttributeList(pControlName, pControlValue ? pControlValue : L"");
        }
    }
}

void CDialogBuilder::ApplyWindowAttributes(CMarkupNode& root, CPaintManagerUI* pManager)
{
    const int count = root.GetAttributeCount();
    for (int i = 0; i < count; ++i) {
        LPCWSTR name = root.GetAttributeName(i);
        LPCWSTR value = root.GetAttributeValue(i);
        long v[4] = {};
        if (Is(name, L"size")) {
            const SIZE size = ValueSyntax::ParseSize(value);
            pManager->SetInitSize(size.cx, size.cy);
        } else if (Is(name, L"sizebox")) {
            pManager->SetSizeBox(ValueSyntax::ParseRect(value));
        } else if (Is(name, L"caption")) {
            pManager->SetCaptionRect(ValueSyntax::ParseRect(value));
        } else if (Is(name, L"roundcorner")) {
            const SIZE size = ValueSyntax::ParseSize(value);
            pManager->SetRoundCorner(size.cx, size.cy);
        } else if (Is(name, L"mininfo")) {
            const SIZE size = ValueSyntax::ParseSize(value);
            pManager->SetMinInfo(size.cx, size.cy);
        } else if (Is(name, L"maxinfo")) {
            const SIZE size = ValueSyntax::ParseSize(value);
            pManager->SetMaxInfo(size.cx, size.cy);
        } else if (Is(name, L"showdirty")) {
            pManager->SetShowUpdateRect(ValueSyntax::ParseBool(value));
        } else if (Is(name, L"shadow")) {
            pManager->SetHasWindowShadow(ValueSyntax::ParseBool(value));
        } else if (Is(name, L"shadowimage")) {
            pManager->SetWindowShadowImage(value);
        } else if (Is(name, L"shadowtopleft")) {
            ValueSyntax::ParseNumberList(value, v, 4);
            pManager->SetTopleftShadowRect(v[0], v[1], v[2], v[3]);
        } else if (Is(name, L"shadowtopright")) {
            ValueSyntax::ParseNumberList(value, v, 4);
            pManager->SetToprightShadowRect(v[0], v[1], v[2], v[3]);
        } else if (Is(name, L"shadowbottomleft")) {
            ValueSyntax::ParseNumberList(value, v, 4);
            pManager->SetBottomleftShadowRect(v[0], v[1], v[2], v[3]);
        } else if (Is(name, L"shadowbottomright")) {
            ValueSyntax::ParseNumberList(value, v, 4);
            pManager->SetBottomrightShadowRect(v[0], v[1], v[2], v[3]);
        } else if (Is(name, L"alpha")) {
            pManager->SetTransparent(static_cast<int>(ValueSyntax::ParseInt(value)));
        } else if (Is(name, L"bktrans")) {
            pManager->SetBackgroundTransparent(ValueSyntax::ParseBool(value));
        } else if (Is(name, L"disabledfontcolor")) {
            pManager->SetDefaultDisabledColor(ValueSyntax::ParseColor(value, false));
        } else if (Is(name, L"defaultfontcolor")) {
            pManager->SetDefaultFontColor(ValueSyntax::ParseColor(value, false));
        } else if (Is(name, L"linkfontcolor")) {
            pManager->SetDefaultLinkFontColor(ValueSyntax::ParseColor(value, false));
        } else if (Is(name, L"linkhoverfontcolor")) {
            pManager->SetDefaultLinkHoverFontColor(ValueSyntax::ParseColor(value, false));
        } else if (Is(name, L"selectedcolor")) {
            pManager->SetDefaultSelectedBkColor(ValueSyntax::ParseColor(value, false));
        }
    }
}

CControlUI* CDialogBuilder::CreateForElement(LPCWSTR pstrClass)
{
    CControlUI* pControl = CreateStockControl(pstrClass);
    if (pControl != nullptr) return pControl;
    CStdPtrArray* plugins = CPaintManagerUI::GetPlugins();
    for (int i = 0; plugins != nullptr && i < plugins->GetSize(); ++i) {
        LPCREATECONTROL create = reinterpret_cast<LPCREATECONTROL>(plugins->GetAt(i));
        if (create == nullptr) continue;
        pControl = create(pstrClass);
        if (pControl != nullptr) return pControl;
    }
    if (m_pCallback != nullptr) return m_pCallback->CreateControl(pstrClass);
    return nullptr;
}

void CDialogBuilder::BuildInclude(CMarkupNode& node, CControlUI* pParent, CPaintManagerUI* pManager)
{
    wchar_t source[500] = {};
    bool hasSource = false;
    long count = 1;
    const int attributes = node.GetAttributeCount();
    for (int i = 0; i < attributes; ++i) {
        LPCWSTR name = node.GetAttributeName(i);
        wchar_t value[500] = {};
        CopyBounded(value, 500, node.GetAttributeValue(i));
        if (Is(name, L"count")) {
            count = ValueSyntax::ParseInt(value);
        } else if (Is(name, L"source")) {
            CopyBounded(source, 500, value);
            hasSource = true;
        }
    }
    if (!hasSource || m_nIncludeDepth >= kMaxIncludeDepth) return;
    int& includesLeft = m_pIncludesLeft != nullptr ? *m_pIncludesLeft : m_nIncludesLeft;
    for (long i = 0; i < count && includesLeft > 0; ++i) {
        --includesLeft;
        CDialogBuilder builder;
        builder.m_nIncludeDepth = m_nIncludeDepth + 1;
        builder.m_nNestingDepth = m_nNestingDepth;
        builder.m_pIncludesLeft = &includesLeft;
        CControlUI* pControl = nullptr;
        if (m_pstrtype != nullptr) {
            const UINT id = static_cast<WORD>(ValueSyntax::ParseInt(source));
            pControl = builder.Create(STRINGorID(id), m_pstrtype, m_pCallback, pManager, pParent);
        } else {
            pControl = builder.Create(STRINGorID(source), nullptr, m_pCallback, pManager, pParent);
        }
        // Without a parent the included tree has no owner.
        if (pParent == nullptr) DiscardControl(pControl, pManager);
    }
}

CControlUI* CDialogBuilder::ParseChildren(CMarkupNode* pRoot, CControlUI* pParent, CPaintManagerUI* pManager)
{
    if (m_nNestingDepth >= kMaxNestingDepth) return nullptr;
    struct LevelGuard {
        int& depth;
        explicit LevelGuard(int& d) : depth(d) { ++depth; }
        ~LevelGuard() { --depth; }
        LevelGuard(const LevelGuard&) = delete;
        LevelGuard& operator=(const LevelGuard&) = delete;
    } level(m_nNestingDepth);
    IContainerUI* pContainer = nullptr;
    bool containerAsked = false;
    CControlUI* pReturn = nullptr;
    for (CMarkupNode node = pRoot->GetChild(); node.IsValid(); node = node.GetSibling()) {
        LPCWSTR pstrClass = node.GetName();
        if (Is(pstrClass, L"Image") || Is(pstrClass, L"Font") || Is(pstrClass, L"Default"))
            continue;
        if (Is(pstrClass, L"Include")) {
            BuildInclude(node, pParent, pManager);
            continue;
        }

        if (Is(pstrClass, L"TreeNode")) {
            // Nested nodes become child nodes of their parent node; a top
            // node joins its view with its whole subtree once built.
            CTreeNodeUI* pParentNode =
                pParent != nullptr ? static_cast<CTreeNodeUI*>(pParent->GetInterface(L"TreeNode")) : nullptr;
            CTreeViewUI* pView =
                pParent != nullptr ? static_cast<CTreeViewUI*>(pParent->GetInterface(L"TreeView")) : nullptr;
            if (pParentNode == nullptr && pView == nullptr) return nullptr;
            CTreeNodeUI* pNode = new CTreeNodeUI;
            if (pParentNode != nullptr && !pParentNode->Add(pNode)) {
                delete pNode;
                continue;
            }
            if (pManager != nullptr) {
                pNode->SetManager(pManager, nullptr, false);
                LPCWSTR pDefaultAttributes = pManager->GetDefaultAttributeList(L"TreeNode");
                if (pDefaultAttributes != nullptr) pNode->ApplyAttributeList(pDefaultAttributes);
            }
            const int attributes = node.GetAttributeCount();
            for (int i = 0; i < attributes; ++i)
                pNode->SetAttribute(node.GetAttributeName(i), node.GetAttributeValue(i));
            if (node.HasChildren()) ParseChildren(&node, pNode, pManager);
            if (pParentNode == nullptr && !pView->Add(pNode)) DiscardControl(pNode, pManager);
            continue;
        }

        CControlUI* pControl = CreateForElement(pstrClass);
        if (pControl == nullptr) continue;

        if (node.HasChildren()) ParseChildren(&node, pControl, pManager);

        CTreeNodeUI* pParentNode =
            pParent != nullptr ? static_cast<CTreeNodeUI*>(pParent->GetInterface(L"TreeNode")) : nullptr;
        if (pParentNode != nullptr) {
            // Inside a tree node a control joins the node's row.
            if (!pParentNode->GetTreeNodeHoriznotal()->Add(pControl)) {
                DiscardControl(pControl, pManager);
                continue;
            }
        } else if (pParent != nullptr) {
            if (!containerAsked) {
                pContainer = static_cast<IContainerUI*>(pParent->GetInterface(L"IContainer"));
                containerAsked = true;
            }
            if (pContainer == nullptr) {
                DiscardControl(pControl, pManager);
                return nullptr;
            }
            if (!pContainer->Add(pControl)) {
                DiscardControl(pControl, pManager);
                continue;
            }
        } else if (pReturn != nullptr) {
            // Only the first top-level control is handed back: a later one
            // would belong to nobody.
            DiscardControl(pControl, pManager);
            continue;
        }

        if (pManager != nullptr) {
            pControl->SetManager(pManager, nullptr, false);
            LPCWSTR pDefaultAttributes = pManager->GetDefaultAttributeList(pstrClass);
            if (pDefaultAttributes != nullptr) pControl->ApplyAttributeList(pDefaultAttributes);
        }
        const int count = node.GetAttributeCount();
        for (int i = 0; i < count; ++i)
            pControl->SetAttribute(node.GetAttributeName(i), node.GetAttributeValue(i));
        if (pManager != nullptr) pControl->SetManager(nullptr, nullptr, false);

        if (pReturn == nullptr) pReturn = pControl;
    }
    return pReturn;
}

void CDialogBuilder::GetLastErrorMessage(LPWSTR pstrMessage, SIZE_T cchMax) const
{
    m_xml.GetLastErrorMessage(pstrMessage, cchMax);
}

void CDialogBuilder::GetLastErrorLocation(LPWSTR pstrSource, SIZE_T cchMax) const
{
    m_xml.GetLastErrorLocation(pstrSource, cchMax);
}

}  // namespace Veneer
