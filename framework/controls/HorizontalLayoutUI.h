#pragma once
#include "foundation/VeneerApi.h"
// Places its children from left to right; optionally a drag-to-resize strip.
#include "controls/ContainerUI.h"

namespace Veneer {

class VENEER_API CHorizontalLayoutUI : public CContainerUI {
public:
    CHorizontalLayoutUI() = default;
    ~CHorizontalLayoutUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;

    void SetSepWidth(int iWidth) { m_iSepWidth = iWidth; }
    int GetSepWidth() const { return m_iSepWidth; }
    void SetSepImmMode(bool bImmediately);
    bool IsSepImmMode() const { return m_bImmMode; }
    RECT GetThumbRect(bool bUseNew = false) const;

    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void DoEvent(TEventUI& event) override;
    void SetPos(RECT rc) override;
    void DoPostPaint(HDC hDC, const RECT& rcPaint) override;

protected:
    int m_iSepWidth { 0 };
    UINT m_uButtonState { 0 };
    POINT m_ptLastMouse { 0, 0 };
    RECT m_rcNewPos { 0, 0, 0, 0 };
    bool m_bImmMode { false };
};

}  // namespace Veneer
