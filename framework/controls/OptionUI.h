#pragma once
#include "foundation/VeneerApi.h"
// A selectable button. Alone it toggles; in a named group (kept by the paint
// manager) selecting one deselects the others. Each change of a lone option,
// and each selection in a group, sends "selectchanged".
#include <windows.h>

#include "controls/ButtonUI.h"
#include "foundation/StdString.h"

namespace Veneer {

class VENEER_API COptionUI : public CButtonUI {
public:
    COptionUI() = default;
    ~COptionUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    bool Activate() override;
    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
    void SetEnabled(bool bEnable = true) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    virtual void Selected(bool bSelected);
    bool IsSelected() const { return m_bSelected; }

    // Null leaves the current group.
    void SetGroup(LPCWSTR pStrGroupName = nullptr);
    LPCWSTR GetGroup() const { return m_sGroupName; }

    LPCWSTR GetSelectedImage() const { return m_sSelectedImage; }
    void SetSelectedImage(LPCWSTR pStrImage);
    LPCWSTR GetSelectedHotImage() const { return m_sSelectedHotImage; }
    void SetSelectedHotImage(LPCWSTR pStrImage);
    // The option's own foreground image, drawn after its state image.
    LPCWSTR GetForeImage() const { return m_sOptionForeImage; }
    void SetForeImage(LPCWSTR pStrImage);

    void SetSelectedBkColor(DWORD dwBkColor) { m_dwSelectedBkColor = dwBkColor; }
    DWORD GetSelectBkColor() const { return m_dwSelectedBkColor; }
    void SetSelectedTextColor(DWORD dwTextColor) { m_dwSelectedTextColor = dwTextColor; }
    // 0 (unset) is replaced by the manager's default font colour, and kept.
    DWORD GetSelectedTextColor();

protected:
    bool m_bSelected { false };
    CStdString m_sGroupName;
    DWORD m_dwSelectedBkColor { 0 };
    DWORD m_dwSelectedTextColor { 0 };
    CStdString m_sSelectedImage;
    CStdString m_sSelectedHotImage;
    CStdString m_sOptionForeImage;
};

}  // namespace Veneer
