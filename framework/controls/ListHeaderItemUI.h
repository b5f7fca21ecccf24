#pragma once
// One column of a list header: a clickable caption whose separator strip
// can be dragged to resize the column.
#include "controls/ContainerUI.h"

namespace Veneer {

class CListHeaderItemUI : public CContainerUI {
public:
    CListHeaderItemUI();

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    UINT GetControlFlags() const override;

    void SetEnabled(bool bEnable = true) override;
    bool IsDragable() const { return m_bDragable; }
    void SetDragable(bool bDragable);
    int GetSepWidth() const { return m_iSepWidth; }
    void SetSepWidth(int iWidth);
    DWORD GetTextStyle() const { return m_uTextStyle; }
    void SetTextStyle(UINT uStyle);
    DWORD GetTextColor() const { return m_dwTextColor; }
    void SetTextColor(DWORD dwTextColor) { m_dwTextColor = dwTextColor; }
    RECT GetTextPadding() const { return m_rcTextPadding; }
    void SetTextPadding(RECT rc);
    int GetFont() const { return m_iFont; }
    void SetFont(int index) { m_iFont = index; }
    bool IsShowHtml() const { return m_bShowHtml; }
    void SetShowHtml(bool bShowHtml = true);
    LPCTSTR GetNormalImage() const { return m_sNormalImage.GetData(); }
    void SetNormalImage(LPCTSTR pStrImage);
    LPCTSTR GetHotImage() const { return m_sHotImage.GetData(); }
    void SetHotImage(LPCTSTR pStrImage);
    LPCTSTR GetPushedImage() const { return m_sPushedImage.GetData(); }
    void SetPushedImage(LPCTSTR pStrImage);
    LPCTSTR GetFocusedImage() const { return m_sFocusedImage.GetData(); }
    void SetFocusedImage(LPCTSTR pStrImage);
    LPCTSTR GetSepImage() const { return m_sSepImage.GetData(); }
    void SetSepImage(LPCTSTR pStrImage);
    UINT GetButtonState() const { return m_uButtonState; }

    // The separator strip (not widened).
    RECT GetThumbRect() const;

    void DoEvent(TEventUI& event) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;
    void PaintText(HDC hDC) override;
    void PaintStatusImage(HDC hDC) override;

protected:
    // The strip widened into the item, for hit tests.
    RECT GetHitThumbRect() const;

    bool m_bDragable { true };
    UINT m_uButtonState { 0 };
    int m_iSepWidth { 4 };
    DWORD m_dwTextColor { 0 };
    int m_iFont { -1 };
    UINT m_uTextStyle { DT_CENTER | DT_VCENTER | DT_SINGLELINE };
    bool m_bShowHtml { false };
    RECT m_rcTextPadding { 2, 0, 2, 0 };
    CDuiString m_sNormalImage;
    CDuiString m_sHotImage;
    CDuiString m_sPushedImage;
    CDuiString m_sFocusedImage;
    CDuiString m_sSepImage;
    CDuiString m_sSepImageModify;
    POINT m_ptLastMouse { 0, 0 };
};

}  // namespace Veneer
