#pragma once
#include "foundation/VeneerApi.h"
// A container whose content is another skin file, built when the layout is
// attached to its window.
#include "controls/ContainerUI.h"
#include "foundation/StdString.h"

namespace Veneer {

class VENEER_API CChildLayoutUI : public CContainerUI {
public:
    CChildLayoutUI() = default;
    ~CChildLayoutUI() override = default;

    LPCWSTR GetClass() const override;
    // Answers "ChildLayout" and otherwise only what a plain control answers.
    LPVOID GetInterface(LPCWSTR pstrName) override;

    void Init() override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    void SetChildLayoutXML(CStdString pXML) { m_pstrXMLFile = pXML; }
    CStdString GetChildLayoutXML() const { return m_pstrXMLFile; }

private:
    CStdString m_pstrXMLFile;
    bool m_bBuilt { false };
};

}  // namespace Veneer
