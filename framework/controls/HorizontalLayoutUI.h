#pragma once
#include "foundation/VeneerApi.h"
// Places its children from left to right; optionally a drag-to-resize strip.
#include "controls/LinearLayoutUI.h"

namespace Veneer {

class VENEER_API CHorizontalLayoutUI : public CLinearLayoutUI {
public:
    CHorizontalLayoutUI() : CLinearLayoutUI(false) {}

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    void SetSepWidth(int iWidth) { m_iSepSize = iWidth; }
    int GetSepWidth() const { return m_iSepSize; }
};

}  // namespace Veneer
