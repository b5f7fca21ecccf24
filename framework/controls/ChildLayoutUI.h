#pragma once
// A container whose content is another skin file, built when the layout is
// attached to its window.
#include "controls/ContainerUI.h"
#include "foundation/DuiString.h"

namespace Veneer {

class CChildLayoutUI : public CContainerUI {
public:
    CChildLayoutUI() = default;
    ~CChildLayoutUI() override = default;

    LPCTSTR GetClass() const override;
    // Answers "ChildLayout" and otherwise only what a plain control answers.
    LPVOID GetInterface(LPCTSTR pstrName) override;

    void Init() override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;

    void SetChildLayoutXML(CDuiString pXML) { m_pstrXMLFile = pXML; }
    CDuiString GetChildLayoutXML() const { return m_pstrXMLFile; }

private:
    CDuiString m_pstrXMLFile;
    bool m_bBuilt { false };
};

}  // namespace Veneer
