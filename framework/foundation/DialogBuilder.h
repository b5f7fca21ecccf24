#pragma once
#include "foundation/VeneerApi.h"
// CDialogBuilder turns one skin document into a control tree: it registers
// the window-wide resources the skin declares with the paint manager, applies
// the Window element's settings and builds one control per element.
#include <windows.h>

#include "engine/RenderEngine.h"
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

    CMarkup m_xml;
    IDialogBuilderCallback* m_pCallback { nullptr };
    // Null unless the skin came from a resource; then the type given, which
    // may be an integer resource type. Text types point into m_sTypeText.
    LPCWSTR m_pstrtype { nullptr };
    CStdString m_sTypeText;
    // How many Include elements deep this builder runs.
    int m_nIncludeDepth { 0 };
};

}  // namespace Veneer
