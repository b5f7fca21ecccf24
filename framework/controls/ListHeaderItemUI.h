#pragma once
#include "foundation/VeneerApi.h"
// One column of a list header: a clickable caption whose separator strip
// can be dragged to resize the column.
#include "controls/ContainerUI.h"

namespace Veneer {

class VENEER_API CListHeaderItemUI : public CContainerUI {
public:
    CListHeaderItemUI();

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
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
    LPCWSTR GetNormalImage() const { return m_sNormalImage.GetData(); }
    void SetNormalImage(LPCWSTR pStrImage);
    LPCWSTR GetHotImage() const { return m_sHotImage.GetData(); }
    void SetHotImage(LPCWSTR pStrImage);
    LPCWSTR GetPushedImage() const { return m_sPushedImage.GetData(); }
    void SetPushedImage(LPCWSTR pStrImage);
    LPCWSTR GetFocusedImage() const { return m_sFocusedImage.GetData(); }
    void SetFocusedImage(LPCWSTR pStrImage);
    LPCWSTR GetSepImage() const { return m_sSepImage.GetData(); }
    void SetSepImage(LPCWSTR pStrImage);
    UINT GetButtonState() const { return m_uButtonState; }

    // The separator strip (not widened).
    RECT GetThumbRect() const;

    void DoEvent(TEventUI& event) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
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
    CStdString m_sNormalImage;
    CStdString m_sHotImage;
    CStdString m_sPushedImage;
    CStdString m_sFocusedImage;
    CStdString m_sSepImage;
    CStdString m_sSepImageModify;
    POINT m_ptLastMouse { 0, 0 };
};

}  // namespace Veneer
