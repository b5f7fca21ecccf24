#pragma once
#include "foundation/VeneerApi.h"
// A report-style list: a column header above a scrolling body of items,
// one shared item style record, single selection driven by mouse, keys and
// wheel. Also the interfaces list-like owners and their items talk through.
#include "controls/VerticalLayoutUI.h"

namespace Veneer {

class CListHeaderUI;
class CListBodyUI;

constexpr int UILIST_MAX_COLUMNS = 32;

// Item style shared by every item of one list (or combo).
struct VENEER_API TListInfoUI {
    int nColumns { 0 };
    RECT rcColumn[UILIST_MAX_COLUMNS] {};
    int nFont { -1 };
    UINT uTextStyle { DT_VCENTER };
    RECT rcTextPadding { 0, 0, 0, 0 };
    DWORD dwTextColor { 0xFF000000 };
    DWORD dwBkColor { 0 };
    CStdString sBkImage;
    bool bAlternateBk { false };
    DWORD dwSelectedTextColor { 0xFF000000 };
    DWORD dwSelectedBkColor { 0xFFC1E3FF };
    CStdString sSelectedImage;
    DWORD dwHotTextColor { 0xFF000000 };
    DWORD dwHotBkColor { 0xFFE9F5FF };
    CStdString sHotImage;
    DWORD dwDisabledTextColor { 0xFFCCCCCC };
    DWORD dwDisabledBkColor { 0xFFFFFFFF };
    CStdString sDisabledImage;
    DWORD dwLineColor { 0 };
    bool bShowHtml { false };
    bool bMultiExpandable { false };
};

class VENEER_API IListCallbackUI {
public:
    virtual LPCWSTR GetItemText(CControlUI* pList, int iItem, int iSubItem) = 0;

protected:
    ~IListCallbackUI() = default;
};

class VENEER_API IListOwnerUI {
public:
    virtual TListInfoUI* GetListInfo() = 0;
    virtual int GetCurSel() const = 0;
    virtual bool SelectItem(int iIndex, bool bTakeFocus = false) = 0;
    virtual void DoEvent(TEventUI& event) = 0;

protected:
    ~IListOwnerUI() = default;
};

class VENEER_API IListUI : public IListOwnerUI {
public:
    virtual CListHeaderUI* GetHeader() const = 0;
    virtual CContainerUI* GetList() const = 0;
    virtual IListCallbackUI* GetTextCallback() const = 0;
    virtual void SetTextCallback(IListCallbackUI* pCallback) = 0;
    virtual bool ExpandItem(int iIndex, bool bExpand = true) = 0;
    virtual int GetExpandedItem() const = 0;

protected:
    ~IListUI() = default;
};

class VENEER_API IListItemUI {
public:
    virtual int GetIndex() const = 0;
    virtual void SetIndex(int iIndex) = 0;
    virtual IListOwnerUI* GetOwner() = 0;
    virtual void SetOwner(CControlUI* pOwner) = 0;
    virtual bool IsSelected() const = 0;
    virtual bool Select(bool bSelect = true) = 0;
    virtual bool IsExpanded() const = 0;
    virtual bool Expand(bool bExpand = true) = 0;
    virtual void DrawItemText(HDC hDC, const RECT& rcItem) = 0;

protected:
    ~IListItemUI() = default;
};

// Compares two items for SortItems: negative, zero or positive.
typedef int (CALLBACK* PULVCompareFunc)(UINT_PTR, UINT_PTR, UINT_PTR);

class VENEER_API CListUI : public CVerticalLayoutUI, public IListUI {
public:
    CListUI();
    ~CListUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;

    bool GetScrollSelect() const { return m_bScrollSelect; }
    void SetScrollSelect(bool bScrollSelect) { m_bScrollSelect = bScrollSelect; }
    int GetCurSel() const override { return m_iCurSel; }
    bool SelectItem(int iIndex, bool bTakeFocus = false) override;

    CListHeaderUI* GetHeader() const override { return m_pHeader; }
    CContainerUI* GetList() const override;
    TListInfoUI* GetListInfo() override { return &m_ListInfo; }
    IListCallbackUI* GetTextCallback() const override { return m_pCallback; }
    void SetTextCallback(IListCallbackUI* pCallback) override { m_pCallback = pCallback; }
    bool ExpandItem(int iIndex, bool bExpand = true) override;
    int GetExpandedItem() const override { return m_iExpandedItem; }

    CControlUI* GetItemAt(int iIndex) const override;
    int GetItemIndex(CControlUI* pControl) const override;
    bool SetItemIndex(CControlUI* pControl, int iIndex) override;
    int GetCount() const override;
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    bool RemoveAt(int iIndex) override;
    void RemoveAll() override;

    void EnsureVisible(int iIndex);
    void Scroll(int dx, int dy);
    bool SortItems(PULVCompareFunc pfnCompare, UINT_PTR dwData);

    int GetChildPadding() const override;
    void SetChildPadding(int iPadding) override;

    void SetItemFont(int index);
    void SetItemTextStyle(UINT uStyle);
    void SetItemTextPadding(RECT rc);
    void SetItemTextColor(DWORD dwTextColor);
    void SetItemBkColor(DWORD dwBkColor);
    void SetItemBkImage(LPCWSTR pStrImage);
    void SetAlternateBk(bool bAlternateBk);
    void SetSelectedItemTextColor(DWORD dwTextColor);
    void SetSelectedItemBkColor(DWORD dwBkColor);
    void SetSelectedItemImage(LPCWSTR pStrImage);
    void SetHotItemTextColor(DWORD dwTextColor);
    void SetHotItemBkColor(DWORD dwBkColor);
    void SetHotItemImage(LPCWSTR pStrImage);
    void SetDisabledItemTextColor(DWORD dwTextColor);
    void SetDisabledItemBkColor(DWORD dwBkColor);
    void SetDisabledItemImage(LPCWSTR pStrImage);
    void SetItemLineColor(DWORD dwLineColor);
    void SetItemShowHtml(bool bShowHtml = true);
    bool IsItemShowHtml() const { return m_ListInfo.bShowHtml; }
    void SetMultiExpanding(bool bMultiExpandable) { m_ListInfo.bMultiExpandable = bMultiExpandable; }

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

    SIZE GetScrollPos() const override;
    SIZE GetScrollRange() const override;
    void SetScrollPos(SIZE szPos) override;
    void LineUp() override;
    void LineDown() override;
    void PageUp() override;
    void PageDown() override;
    void HomeUp() override;
    void EndDown() override;
    void LineLeft() override;
    void LineRight() override;
    void PageLeft() override;
    void PageRight() override;
    void HomeLeft() override;
    void EndRight() override;
    void EnableScrollBar(bool bEnableVertical = true, bool bEnableHorizontal = false) override;
    CScrollBarUI* GetVerticalScrollBar() const override;
    CScrollBarUI* GetHorizontalScrollBar() const override;

    void SetPos(RECT rc) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

protected:
    bool IsHeader(CControlUI* pControl) const;
    static bool IsHeaderItem(CControlUI* pControl);
    void UpdateColumnCount();
    bool RemoveOwnChild(CControlUI* pControl);
    // Selects a key or wheel target; nothing selectable there keeps the
    // current selection.
    void SelectFound(int iIndex);

    bool m_bScrollSelect { false };
    int m_iCurSel { -1 };
    int m_iExpandedItem { -1 };
    IListCallbackUI* m_pCallback { nullptr };
    CListBodyUI* m_pList { nullptr };
    CListHeaderUI* m_pHeader { nullptr };
    TListInfoUI m_ListInfo;
};

}  // namespace Veneer
