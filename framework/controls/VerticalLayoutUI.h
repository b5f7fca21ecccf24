#pragma once
#include "foundation/VeneerApi.h"
// Stacks its children from top to bottom; optionally a drag-to-resize strip.
#include "controls/LinearLayoutUI.h"

namespace Veneer {

class VENEER_API CVerticalLayoutUI : public CLinearLayoutUI {
public:
    CVerticalLayoutUI() : CLinearLayoutUI(true) {}

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    void SetSepHeight(int iHeight) { m_iSepSize = iHeight; }
    int GetSepHeight() const { return m_iSepSize; }
};

}  // namespace Veneer
