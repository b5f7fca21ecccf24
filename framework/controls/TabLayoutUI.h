#pragma once
#include "foundation/VeneerApi.h"
// Shows one child (a page) at a time and switches pages by index.
#include "controls/ContainerUI.h"

namespace Veneer {

class VENEER_API CTabLayoutUI : public CContainerUI {
public:
    CTabLayoutUI() = default;
    ~CTabLayoutUI() override = default;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    void RemoveAll() override;

    int GetCurSel() const { return m_iCurSel; }
    bool SelectItem(int iIndex);
    bool SelectItem(CControlUI* pControl);

    void SetPos(RECT rc) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

protected:
    int m_iCurSel { -1 };
};

}  // namespace Veneer
