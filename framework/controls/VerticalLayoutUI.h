#pragma once
#include "foundation/VeneerApi.h"
// Stacks its children from top to bottom; optionally a drag-to-resize strip.
#include "controls/ContainerUI.h"

namespace Veneer {

class VENEER_API CVerticalLayoutUI : public CContainerUI {
public:
    CVerticalLayoutUI() = default;
    ~CVerticalLayoutUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;

    void SetSepHeight(int iHeight) { m_iSepHeight = iHeight; }
    int GetSepHeight() const { return m_iSepHeight; }
    void SetSepImmMode(bool bImmediately);
    bool IsSepImmMode() const { return m_bImmMode; }
    RECT GetThumbRect(bool bUseNew = false) const;

    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void DoEvent(TEventUI& event) override;
    void SetPos(RECT rc) override;
    void DoPostPaint(HDC hDC, const RECT& rcPaint) override;

protected:
    int m_iSepHeight { 0 };
    UINT m_uButtonState { 0 };
    POINT m_ptLastMouse { 0, 0 };
    RECT m_rcNewPos { 0, 0, 0, 0 };
    bool m_bImmMode { false };
};

}  // namespace Veneer
