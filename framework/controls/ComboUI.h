#pragma once
#include "foundation/VeneerApi.h"
// A drop-down selection control. Its children are list items; closed it
// shows the selected one in its face, open it lends them all to a pop-up
// window that lists them.
#include "controls/ContainerUI.h"
#include "controls/ListUI.h"
#include "engine/PaintManagerUI.h"
#include "controls/ComboWnd.h"

namespace Veneer {

class VENEER_API CComboUI : public CContainerUI, public IListOwnerUI {
public:
    CComboUI();
    ~CComboUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    CStdString GetText() const override;
    void SetEnabled(bool bEnable = true) override;
    void SetVisible(bool bVisible = true) override;
    void SetInternVisible(bool bVisible = true) override;

    TListInfoUI* GetListInfo() override { return &m_ListInfo; }
    int GetCurSel() const override { return m_iCurSel; }
    bool SelectItem(int iIndex, bool bTakeFocus = false) override;
    bool Activate() override;
    // The open pop-up, or null.
    CComboWnd* GetDropWindow() const { return m_pWindow; }

    bool SetItemIndex(CControlUI* pControl, int iIndex) override;
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    bool RemoveAt(int iIndex) override;
    void RemoveAll() override;

    RECT GetTextPadding() const { return m_rcTextPadding; }
    void SetTextPadding(RECT rc);
    LPCWSTR GetNormalImage() const { return m_sNormalImage.GetData(); }
    void SetNormalImage(LPCWSTR pStrImage);
    LPCWSTR GetHotImage() const { return m_sHotImage.GetData(); }
    void SetHotImage(LPCWSTR pStrImage);
    LPCWSTR GetPushedImage() const { return m_sPushedImage.GetData(); }
    void SetPushedImage(LPCWSTR pStrImage);
    LPCWSTR GetFocusedImage() const { return m_sFocusedImage.GetData(); }
    void SetFocusedImage(LPCWSTR pStrImage);
    LPCWSTR GetDisabledImage() const { return m_sDisabledImage.GetData(); }
    void SetDisabledImage(LPCWSTR pStrImage);
    LPCWSTR GetDropBoxAttributeList() const { return m_sDropBoxAttributes.GetData(); }
    void SetDropBoxAttributeList(LPCWSTR pstrList) { m_sDropBoxAttributes = pstrList; }
    SIZE GetDropBoxSize() const { return m_szDropBox; }
    void SetDropBoxSize(SIZE szDropBox);
    UINT GetButtonState() const { return m_uButtonState; }

    void SetItemFont(int index);
    void SetItemTextStyle(UINT uStyle);
    void SetItemTextPadding(RECT rc);
    void SetItemTextColor(DWORD dwTextColor);
    void SetItemBkColor(DWORD dwBkColor) { m_ListInfo.dwBkColor = dwBkColor; }
    void SetItemBkImage(LPCWSTR pStrImage) { m_ListInfo.sBkImage = pStrImage; }
    void SetAlternateBk(bool bAlternateBk) { m_ListInfo.bAlternateBk = bAlternateBk; }
    void SetSelectedItemTextColor(DWORD dwTextColor) { m_ListInfo.dwSelectedTextColor = dwTextColor; }
    void SetSelectedItemBkColor(DWORD dwBkColor) { m_ListInfo.dwSelectedBkColor = dwBkColor; }
    void SetSelectedItemImage(LPCWSTR pStrImage) { m_ListInfo.sSelectedImage = pStrImage; }
    void SetHotItemTextColor(DWORD dwTextColor) { m_ListInfo.dwHotTextColor = dwTextColor; }
    void SetHotItemBkColor(DWORD dwBkColor) { m_ListInfo.dwHotBkColor = dwBkColor; }
    void SetHotItemImage(LPCWSTR pStrImage) { m_ListInfo.sHotImage = pStrImage; }
    void SetDisabledItemTextColor(DWORD dwTextColor) { m_ListInfo.dwDisabledTextColor = dwTextColor; }
    void SetDisabledItemBkColor(DWORD dwBkColor) { m_ListInfo.dwDisabledBkColor = dwBkColor; }
    void SetDisabledItemImage(LPCWSTR pStrImage) { m_ListInfo.sDisabledImage = pStrImage; }
    void SetItemLineColor(DWORD dwLineColor) { m_ListInfo.dwLineColor = dwLineColor; }
    void SetItemShowHtml(bool bShowHtml = true);

    int GetItemFont() const { return m_ListInfo.nFont; }
    UINT GetItemTextStyle() const { return m_ListInfo.uTextStyle; }
    RECT GetItemTextPadding() const { return m_ListInfo.rcTextPadding; }
    DWORD GetItemTextColor() const { return m_ListInfo.dwTextColor; }
    DWORD GetItemBkColor() const { return m_ListInfo.dwBkColor; }
    LPCWSTR GetItemBkImage() const { return m_ListInfo.sBkImage.GetData(); }
    bool IsAlternateBk() const { return m_ListInfo.bAlternateBk; }
    DWORD GetSelectedItemTextColor() const { return m_ListInfo.dwSelectedTextColor; }
    DWORD GetSelectedItemBkColor() const { return m_ListInfo.dwSelectedBkColor; }
    LPCWSTR GetSelectedItemImage() const { return m_ListInfo.sSelectedImage.GetData(); }
    DWORD GetHotItemTextColor() const { return m_ListInfo.dwHotTextColor; }
    DWORD GetHotItemBkColor() const { return m_ListInfo.dwHotBkColor; }
    LPCWSTR GetHotItemImage() const { return m_ListInfo.sHotImage.GetData(); }
    DWORD GetDisabledItemTextColor() const { return m_ListInfo.dwDisabledTextColor; }
    DWORD GetDisabledItemBkColor() const { return m_ListInfo.dwDisabledBkColor; }
    LPCWSTR GetDisabledItemImage() const { return m_ListInfo.sDisabledImage.GetData(); }
    DWORD GetItemLineColor() const { return m_ListInfo.dwLineColor; }
    bool IsItemShowHtml() const { return m_ListInfo.bShowHtml; }

    SIZE EstimateSize(SIZE szAvailable) override;
    void SetPos(RECT rc) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

protected:
    friend class CComboWnd;

    // Selects a key or wheel target; nothing selectable there keeps the
    // current selection.
    void SelectFound(int iIndex);
    void RenumberFrom(int iFirst, int iLast);
    void RefreshStateBits();
    RECT GetTextRect() const;
    void PaintSelectedItem(HDC hDC, const RECT& rcText);
    void CloseDropWindow();

    CComboWnd* m_pWindow { nullptr };
    int m_iCurSel { -1 };
    RECT m_rcTextPadding { 0, 0, 0, 0 };
    CStdString m_sDropBoxAttributes;
    SIZE m_szDropBox { 0, 150 };
    UINT m_uButtonState { 0 };
    CStdString m_sNormalImage;
    CStdString m_sHotImage;
    CStdString m_sPushedImage;
    CStdString m_sFocusedImage;
    CStdString m_sDisabledImage;
    TListInfoUI m_ListInfo;
};

}  // namespace Veneer
