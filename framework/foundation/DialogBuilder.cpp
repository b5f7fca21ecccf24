#include "foundation/DialogBuilder.h"

#include <cwchar>
#include <memory>

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
#include "engine/ImageStringImages.h"
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

bool EndsWith(LPCWSTR text, LPCWSTR suffix)
{
    const size_t length = std::wcslen(text);
    const size_t suffixLength = std::wcslen(suffix);
    return length >= suffixLength && std::wcscmp(text + length - suffixLength, suffix) == 0;
}

CStdString Quoted(LPCWSTR before, LPCWSTR subject, LPCWSTR after)
{
    CStdString text = before;
    text += L"'";
    text += subject != nullptr ? subject : L"";
    text += L"'";
    text += after;
    return text;
}

// Only while reporting: a scope for the values of one element.
std::unique_ptr<CBuilderReportScope> ScopeFor(IDialogBuilderReport* report, const CStdString& file, int line)
{
    if (report == nullptr) return nullptr;
    return std::unique_ptr<CBuilderReportScope>(new CBuilderReportScope(report, file.GetData(), line));
}

const LPCWSTR kImageAttributes[] = { L"name", L"restype", L"mask", nullptr };
const LPCWSTR kFontAttributes[] = { L"name", L"size", L"bold", L"underline", L"italic", L"default", nullptr };
const LPCWSTR kDefaultAttributes[] = { L"name", L"value", nullptr };
const LPCWSTR kIncludeAttributes[] = { L"count", L"source", nullptr };

struct TImageCheck {
    CBuilderReportScope* scope;
    CPaintManagerUI* manager;
};

void CheckImage(void* context, LPCWSTR name, LPCWSTR type, DWORD mask)
{
    TImageCheck* check = static_cast<TImageCheck*>(context);
    if (check->manager == nullptr || check->manager->GetImageEx(name, type, mask) != nullptr) return;
    check->scope->Report(EBuilderProblem::MissingImage, name,
        Quoted(L"image ", name, L" cannot be found or decoded: not drawn").GetData());
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

void CDialogBuilder::SetSourceName(STRINGorID xml)
{
    if (IS_INTRESOURCE(xml.m_lpstr)) {
        m_sSource.SmallFormat(L"resource %u", static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(xml.m_lpstr)));
    } else if (xml.m_lpstr == nullptr || xml.m_lpstr[0] == L'<') {
        m_sSource = L"markup";
    } else {
        m_sSource = xml.m_lpstr;
    }
}

void CDialogBuilder::Report(const CMarkupNode& node, EBuilderProblem kind, LPCWSTR subject,
                            const CStdString& message) const
{
    if (m_pReport == nullptr) return;
    CBuilderReportScope scope(m_pReport, m_sSource.GetData(), node.GetLine());
    scope.Report(kind, subject, message.GetData());
}

CControlUI* CDialogBuilder::Create(STRINGorID xml, LPCWSTR type, IDialogBuilderCallback* pCallback,
                                   CPaintManagerUI* pManager, CControlUI* pParent)
{
    SetSourceName(xml);
    m_bLoadFailed = false;
    // A file that cannot be read at all is reported by the Include that
    // names it; a parse error has a line of its own.
    auto failed = [&](LPCWSTR why) -> CControlUI* {
        m_bLoadFailed = true;
        if (m_pReport != nullptr && (m_pIncluder == nullptr || m_xml.GetLastErrorLine() > 0)) {
            wchar_t message[100] = {};
            m_xml.GetLastErrorMessage(message, 100);
            CBuilderReportScope scope(m_pReport, m_sSource.GetData(), m_xml.GetLastErrorLine());
            scope.Report(EBuilderProblem::UnreadableFile, m_sSource.GetData(),
                (CStdString(L"cannot be read: ") + (message[0] != L'\0' ? message : why)).GetData());
        }
        return nullptr;
    };
    if (IS_INTRESOURCE(xml.m_lpstr)) {
        HINSTANCE module = CPaintManagerUI::GetResourceDll();
        HRSRC hResource = ::FindResourceW(module, xml.m_lpstr, type);
        if (hResource == nullptr) return failed(L"no such resource");
        HGLOBAL hGlobal = ::LoadResource(module, hResource);
        if (hGlobal == nullptr) return failed(L"no such resource");
        const DWORD size = ::SizeofResource(module, hResource);
        const BYTE* bytes = static_cast<const BYTE*>(::LockResource(hGlobal));
        if (bytes == nullptr) {
            ::FreeResource(hGlobal);
            return failed(L"no such resource");
        }
        m_pCallback = pCallback;
        // The markup decodes into a buffer of its own: the read-only resource
        // is never written.
        const bool loaded = m_xml.LoadFromMem(bytes, size);
        ::FreeResource(hGlobal);
        if (!loaded) return failed(L"does not parse");
        SetResourceType(type);
    } else {
        if (xml.m_lpstr == nullptr) return nullptr;
        m_pCallback = pCallback;
        SetResourceType(nullptr);
        if (xml.m_lpstr[0] == L'<') {
            if (!m_xml.Load(xml.m_lpstr)) return failed(L"does not parse");
        } else {
            if (!m_xml.LoadFromFile(xml.m_lpstr)) return failed(L"does not parse");
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

    if (m_pReport != nullptr && m_pIncluder == nullptr && Is(root.GetName(), L"Window") && !root.HasAttribute(L"size"))
        Report(root, EBuilderProblem::WindowWithoutSize, L"Window",
            L"Window without 'size': the window keeps the size it was created with");
    if (pManager != nullptr) {
        ApplyResourceElements(root, pManager);
        if (Is(root.GetName(), L"Window") && pManager->GetPaintWindow() != nullptr)
            ApplyWindowAttributes(root, pManager);
        if (pManager->HasWindowShadow()) pManager->CalMiddleShadowRect();
    }
    CControlUI* pResult = ParseChildren(&root, pParent, pManager);
    if (m_pReport != nullptr && m_pIncluder == nullptr) CheckFonts(pManager);
    return pResult;
}

void CDialogBuilder::CheckFonts(CPaintManagerUI* pManager)
{
    if (pManager == nullptr) return;
    const int defined = static_cast<int>(pManager->GetCustomFontCount());
    for (const TFontUse& use : m_aFontUses) {
        if (use.index < defined) continue;
        CStdString message;
        message.SmallFormat(L"font %d is never defined (%d defined): the default font is used", use.index, defined);
        CBuilderReportScope scope(m_pReport, use.file.GetData(), use.line);
        CStdString subject;
        subject.SmallFormat(L"%d", use.index);
        scope.Report(EBuilderProblem::UndefinedFont, subject.GetData(), message.GetData());
    }
    m_aFontUses.clear();
}

void CDialogBuilder::CheckResourceAttributes(CMarkupNode& node, LPCWSTR const* known)
{
    if (m_pReport == nullptr) return;
    const int count = node.GetAttributeCount();
    for (int i = 0; i < count; ++i) {
        LPCWSTR name = node.GetAttributeName(i);
        bool found = false;
        for (LPCWSTR const* k = known; *k != nullptr && !found; ++k) found = Is(*k, name);
        if (!found)
            Report(node, EBuilderProblem::UnknownAttribute, name,
                Quoted(L"unknown attribute ", name, (CStdString(L" of ") + node.GetName() + L": ignored").GetData()));
    }
}

void CDialogBuilder::CheckDefaultList(CMarkupNode& node, LPCWSTR pControlName, LPCWSTR pList, CPaintManagerUI* pManager)
{
    CControlUI* pProbe = Is(pControlName, L"TreeNode") ? new CTreeNodeUI : CreateForElement(pControlName);
    if (pProbe == nullptr) {
        Report(node, EBuilderProblem::UnknownDefault, pControlName,
            Quoted(L"Default for unknown element ", pControlName, L": never applied"));
        return;
    }
    // The list is tried on a control of its own, so that its problems are
    // reported once, at the Default, instead of at every element it serves.
    pProbe->SetManager(pManager, nullptr, false);
    {
        CBuilderReportScope scope(m_pReport, m_sSource.GetData(), node.GetLine());
        pProbe->ApplyAttributeList(pList);
    }
    DiscardControl(pProbe, pManager);
}

void CDialogBuilder::CheckAttributeValue(CBuilderReportScope& scope, LPCWSTR name, LPCWSTR value,
                                         CPaintManagerUI* pManager)
{
    if (EndsWith(name, L"image")) {
        TImageCheck check { &scope, pManager };
        if (!ListImageStringImages(value, &CheckImage, &check))
            CBuilderReportScope::ReportMalformedValue(L"an image string (file='...' key='value' ...)", value);
    } else if (Is(name, L"font") || Is(name, L"itemfont")) {
        CDialogBuilder* pTop = this;
        while (pTop->m_pIncluder != nullptr) pTop = pTop->m_pIncluder;
        const long index = ValueSyntax::ParseInt(value, nullptr);
        if (index >= 0) pTop->m_aFontUses.push_back(TFontUse { m_sSource, scope.GetLine(), static_cast<int>(index) });
    }
}

void CDialogBuilder::ApplyAttributes(CControlUI* pControl, CMarkupNode& node, CPaintManagerUI* pManager)
{
    const int count = node.GetAttributeCount();
    if (m_pReport == nullptr) {
        for (int i = 0; i < count; ++i) pControl->SetAttribute(node.GetAttributeName(i), node.GetAttributeValue(i));
        return;
    }
    CBuilderReportScope scope(m_pReport, m_sSource.GetData(), node.GetLine());
    for (int i = 0; i < count; ++i) {
        LPCWSTR name = node.GetAttributeName(i);
        LPCWSTR value = node.GetAttributeValue(i);
        scope.SetAttribute(name);
        pControl->SetAttribute(name, value);
        CheckAttributeValue(scope, name, value, pManager);
    }
}

bool CDialogBuilder::IsBeingBuilt(const CStdString& source) const
{
    for (const CDialogBuilder* builder = this; builder != nullptr; builder = builder->m_pIncluder) {
        if (builder->m_sSource.CompareNoCase(source.GetData()) == 0) return true;
    }
    return false;
}

void CDialogBuilder::ApplyResourceElements(CMarkupNode& root, CPaintManagerUI* pManager)
{
    for (CMarkupNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
        LPCWSTR pstrClass = node.GetName();
        const int count = node.GetAttributeCount();
        const bool resource = Is(pstrClass, L"Image") || Is(pstrClass, L"Font") || Is(pstrClass, L"Default");
        std::unique_ptr<CBuilderReportScope> scope = ScopeFor(resource ? m_pReport : nullptr, m_sSource, node.GetLine());
        auto current = [&](LPCWSTR name) {
            if (scope) scope->SetAttribute(name);
        };
        if (Is(pstrClass, L"Image")) {
            CheckResourceAttributes(node, kImageAttributes);
            LPCWSTR pImageName = nullptr;
            LPCWSTR pImageResType = nullptr;
            DWORD mask = 0;
            for (int i = 0; i < count; ++i) {
                LPCWSTR name = node.GetAttributeName(i);
                LPCWSTR value = node.GetAttributeValue(i);
                current(name);
                if (Is(name, L"name"))
                    pImageName = value;
                else if (Is(name, L"restype"))
                    pImageResType = value;
                else if (Is(name, L"mask"))
                    mask = ValueSyntax::ParseColor(value, false);
            }
            if (pImageName != nullptr && pManager->AddImage(pImageName, pImageResType, mask) == nullptr && scope)
                scope->Report(EBuilderProblem::MissingImage, pImageName,
                    Quoted(L"image ", pImageName, L" cannot be found or decoded: not registered").GetData());
        } else if (Is(pstrClass, L"Font")) {
            CheckResourceAttributes(node, kFontAttributes);
            LPCWSTR pFontName = nullptr;
            int size = 12;
            bool bold = false;
            bool underline = false;
            bool italic = false;
            bool defaultFont = false;
            for (int i = 0; i < count; ++i) {
                LPCWSTR name = node.GetAttributeName(i);
                LPCWSTR value = node.GetAttributeValue(i);
                current(name);
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
            CheckResourceAttributes(node, kDefaultAttributes);
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
            if (pControlName != nullptr) {
                pManager->AddDefaultAttributeList(pControlName, pControlValue ? pControlValue : L"");
                scope.reset();
                if (m_pReport != nullptr) CheckDefaultList(node, pControlName, pControlValue ? pControlValue : L"", pManager);
            }
        }
    }
}

void CDialogBuilder::ApplyWindowAttributes(CMarkupNode& root, CPaintManagerUI* pManager)
{
    const int count = root.GetAttributeCount();
    std::unique_ptr<CBuilderReportScope> scope = ScopeFor(m_pReport, m_sSource, root.GetLine());
    for (int i = 0; i < count; ++i) {
        LPCWSTR name = root.GetAttributeName(i);
        LPCWSTR value = root.GetAttributeValue(i);
        if (scope) scope->SetAttribute(name);
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
            if (scope) CheckAttributeValue(*scope, name, value, pManager);
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
        } else if (scope) {
            scope->Report(EBuilderProblem::UnknownAttribute, name,
                Quoted(L"unknown attribute ", name, L" of Window: ignored").GetData());
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
    if (m_pReport != nullptr) {
        CheckResourceAttributes(node, kIncludeAttributes);
        if (!hasSource)
            Report(node, EBuilderProblem::UnreadableFile, L"Include", L"Include without 'source': nothing included");
    }
    if (m_pReport != nullptr && hasSource && !m_bCycleReported) {
        CStdString included;
        if (m_pstrtype != nullptr)
            included.SmallFormat(L"resource %u", static_cast<unsigned>(static_cast<WORD>(ValueSyntax::ParseInt(source, nullptr))));
        else
            included = source[0] == L'<' ? L"markup" : source;
        bool reported = false;
        for (const CDialogBuilder* b = this; b != nullptr; b = b->m_pIncluder) reported = reported || b->m_bCycleReported;
        if (!reported && included != L"markup" && IsBeingBuilt(included)) {
            m_bCycleReported = true;
            Report(node, EBuilderProblem::CircularInclude, source,
                Quoted(L"Include of ", source, L", which is already being built: a circular include, cut after a few rounds"));
        }
    }
    if (!hasSource || m_nIncludeDepth >= kMaxIncludeDepth) return;
    int& includesLeft = m_pIncludesLeft != nullptr ? *m_pIncludesLeft : m_nIncludesLeft;
    for (long i = 0; i < count && includesLeft > 0; ++i) {
        --includesLeft;
        CDialogBuilder builder;
        builder.m_nIncludeDepth = m_nIncludeDepth + 1;
        builder.m_pReport = m_pReport;
        builder.m_pIncluder = this;
        builder.m_nNestingDepth = m_nNestingDepth;
        builder.m_pIncludesLeft = &includesLeft;
        CControlUI* pControl = nullptr;
        if (m_pstrtype != nullptr) {
            const UINT id = static_cast<WORD>(ValueSyntax::ParseInt(source));
            pControl = builder.Create(STRINGorID(id), m_pstrtype, m_pCallback, pManager, pParent);
        } else {
            pControl = builder.Create(STRINGorID(source), nullptr, m_pCallback, pManager, pParent);
        }
        if (i == 0 && m_pReport != nullptr && builder.m_bLoadFailed && builder.m_xml.GetLastErrorLine() == 0) {
            wchar_t message[100] = {};
            builder.m_xml.GetLastErrorMessage(message, 100);
            Report(node, EBuilderProblem::UnreadableFile, source,
                Quoted(L"Include ", source, (CStdString(L" cannot be read: ") + message + L"; nothing included").GetData()));
        }
        // Without a parent the included tree has no owner.
        if (pParent == nullptr) DiscardControl(pControl, pManager);
    }
}

CControlUI* CDialogBuilder::ParseChildren(CMarkupNode* pRoot, CControlUI* pParent, CPaintManagerUI* pManager)
{
    if (m_nNestingDepth >= kMaxNestingDepth) {
        if (m_pReport != nullptr && !m_bDepthReported) {
            m_bDepthReported = true;
            Report(*pRoot, EBuilderProblem::TooDeep, pRoot->GetName(),
                L"elements nested more than 256 levels deep: the deeper ones are skipped");
        }
        return nullptr;
    }
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
            ApplyAttributes(pNode, node, pManager);
            if (node.HasChildren()) ParseChildren(&node, pNode, pManager);
            if (pParentNode == nullptr && !pView->Add(pNode)) DiscardControl(pNode, pManager);
            continue;
        }

        CControlUI* pControl = CreateForElement(pstrClass);
        if (pControl == nullptr) {
            Report(node, EBuilderProblem::UnknownElement, pstrClass,
                Quoted(L"unknown element ", pstrClass, L": skipped with its children"));
            continue;
        }

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
                Report(node, EBuilderProblem::NotAContainer, pstrClass,
                    Quoted(L"element ", pstrClass, (CStdString(L" inside ") + pParent->GetClass() +
                        L", which holds no children: it and the siblings after it are not attached").GetData()));
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
        ApplyAttributes(pControl, node, pManager);
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
