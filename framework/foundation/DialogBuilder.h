#pragma once
#include "foundation/VeneerApi.h"
// CDialogBuilder turns one skin document into a control tree: it registers
// the window-wide resources the skin declares with the paint manager, applies
// the Window element's settings and builds one control per element.
#include <windows.h>

#include <vector>

#include "engine/RenderEngine.h"
#include "foundation/BuilderReport.h"
#include "foundation/StdString.h"
#include "foundation/Markup.h"

namespace Veneer {

class CControlUI;
class CPaintManagerUI;

// Creates controls for element names the builder does not know.
class VENEER_API IDialogBuilderCallback {
public:
    // A new control for the element name, or null.
    virtual CControlUI* CreateControl(LPCWSTR pstrClass) = 0;

protected:
    ~IDialogBuilderCallback() = default;
};

class VENEER_API CDialogBuilder {
public:
    CDialogBuilder() = default;
    ~CDialogBuilder() = default;
    CDialogBuilder(const CDialogBuilder&) = delete;
    CDialogBuilder& operator=(const CDialogBuilder&) = delete;

    // `xml` is a resource id (found with `type` in the resource module), a
    // markup text starting with "<", or a skin file name. Returns the first
    // top-level control, or null; the caller owns the tree.
    CControlUI* Create(STRINGorID xml, LPCWSTR type = nullptr,
                       IDialogBuilderCallback* pCallback = nullptr,
                       CPaintManagerUI* pManager = nullptr, CControlUI* pParent = nullptr);
    // Builds from the markup already loaded.
    CControlUI* Create(IDialogBuilderCallback* pCallback = nullptr,
                       CPaintManagerUI* pManager = nullptr, CControlUI* pParent = nullptr);

    // Optional: told of every problem met while building (file, line and
    // what was skipped or defaulted). Include builders inherit it. Set it
    // before Create; not owned. Without one nothing is reported and nothing
    // else changes.
    void SetReport(IDialogBuilderReport* pReport) { m_pReport = pReport; }
    IDialogBuilderReport* GetReport() const { return m_pReport; }

    CMarkup* GetMarkup() { return &m_xml; }
    void GetLastErrorMessage(LPWSTR pstrMessage, SIZE_T cchMax) const;
    void GetLastErrorLocation(LPWSTR pstrSource, SIZE_T cchMax) const;

    // The control class for an element name of the stock table, or null.
    static CControlUI* CreateStockControl(LPCWSTR pstrClass);

private:
    CControlUI* ParseChildren(CMarkupNode* pRoot, CControlUI* pParent = nullptr,
                       CPaintManagerUI* pManager = nullptr);
    void ApplyResourceElements(CMarkupNode& root, CPaintManagerUI* pManager);
    void ApplyWindowAttributes(CMarkupNode& root, CPaintManagerUI* pManager);
    void BuildInclude(CMarkupNode& node, CControlUI* pParent, CPaintManagerUI* pManager);
    CControlUI* CreateForElement(LPCWSTR pstrClass);
    void SetResourceType(LPCWSTR type);
    void SetSourceName(STRINGorID xml);
    void Report(const CMarkupNode& node, EBuilderProblem kind, LPCWSTR subject, const CStdString& message) const;
    void CheckResourceAttributes(CMarkupNode& node, LPCWSTR const* known);
    void CheckDefaultList(CMarkupNode& node, LPCWSTR pControlName, LPCWSTR pList, CPaintManagerUI* pManager);
    void CheckAttributeValue(CBuilderReportScope& scope, LPCWSTR name, LPCWSTR value, CPaintManagerUI* pManager);
    void ApplyAttributes(CControlUI* pControl, CMarkupNode& node, CPaintManagerUI* pManager);
    bool IsBeingBuilt(const CStdString& source) const;
    void CheckFonts(CPaintManagerUI* pManager);

    CMarkup m_xml;
    IDialogBuilderCallback* m_pCallback { nullptr };
    // Null unless the skin came from a resource; then the type given, which
    // may be an integer resource type. Text types point into m_sTypeText.
    LPCWSTR m_pstrtype { nullptr };
    CStdString m_sTypeText;
    // How many Include elements deep this builder runs.
    int m_nIncludeDepth { 0 };

    // Reporting only: where problems are said to be, the builder whose
    // Include started this one, and font indexes to check once the whole
    // skin has registered its fonts.
    IDialogBuilderReport* m_pReport { nullptr };
    CStdString m_sSource { L"markup" };
    CDialogBuilder* m_pIncluder { nullptr };
    bool m_bCycleReported { false };
    bool m_bLoadFailed { false };
    bool m_bDepthReported { false };
    struct TFontUse {
        CStdString file;
        int line;
        int index;
    };
    std::vector<TFontUse> m_aFontUses;

    // Element levels open in the control pass, an including skin's counted in.
    int m_nNestingDepth { 0 };
    // "count" and nested Includes multiply: one skin may have at most this
    // many included skins built in all, or a count of two billion hangs the
    // builder. An included builder draws on its includer's allowance.
    static constexpr int kMaxIncludedBuilds = 1024;
    int m_nIncludesLeft { kMaxIncludedBuilds };
    int* m_pIncludesLeft { nullptr };
};

}  // namespace Veneer
