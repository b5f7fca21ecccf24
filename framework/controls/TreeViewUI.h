#pragma once
#include "foundation/VeneerApi.h"
// A hierarchy shown as a flat list: every node, at any depth, is an item of
// the view's list, placed after its parent and its elder siblings' subtrees.
// Folding a node hides its descendants' rows; checking one checks them all.
#include "controls/ListContainerElementUI.h"
#include "controls/ListUI.h"
#include "engine/PaintManagerUI.h"
#include "foundation/StdPtrArray.h"

namespace Veneer {

class CCheckBoxUI;
class CHorizontalLayoutUI;
class CLabelUI;
class COptionUI;
class CTreeViewUI;

class VENEER_API CTreeNodeUI : public CListContainerElementUI {
public:
    // A parent that is not a tree node is not recorded; the node is then a
    // top-level node.
    explicit CTreeNodeUI(CControlUI* pParentNode = nullptr);
    ~CTreeNodeUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    // Tree nodes become child nodes; anything else a plain child.
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    using CListContainerElementUI::RemoveAt;
    bool Select(bool bSelect = true) override;

    bool AddChildNode(CTreeNodeUI* pNode);
    // Removes a child node with its subtree; false when it is not a child.
    bool RemoveAt(CTreeNodeUI* pNode);
    CTreeNodeUI* CalLocation(CTreeNodeUI* pNode);
    CTreeNodeUI* GetChildNode(int iIndex) const;
    int GetCountChild() const { return m_aTreeNodes.GetSize(); }
    bool IsHasChild() const { return m_aTreeNodes.GetSize() > 0; }
    CStdPtrArray GetTreeNodes() const;
    CTreeNodeUI* GetLastNode();
    int GetNodeIndex() const;
    int GetTreeIndex() const;

    CTreeNodeUI* GetParentNode() const { return m_pParentTreeNode; }
    void SetParentNode(CTreeNodeUI* pParentTreeNode) { m_pParentTreeNode = pParentTreeNode; }
    CTreeViewUI* GetTreeView() const { return m_pTreeView; }
    void SetTreeView(CTreeViewUI* pTreeView) { m_pTreeView = pTreeView; }

    CStdString GetItemText() const;
    void SetItemText(LPCWSTR pstrValue);
    void CheckBoxSelected(bool bSelected);
    bool IsCheckBoxSelected() const;
    bool GetVisibleCheckBtn() const;
    void SetVisibleCheckBtn(bool bVisible);
    bool GetVisibleFolderBtn() const;
    void SetVisibleFolderBtn(bool bVisible);
    bool GetVisibleTag() const { return m_bIsVisable; }
    void SetVisibleTag(bool bIsVisible) { m_bIsVisable = bIsVisible; }

    void SetItemTextColor(DWORD dwItemTextColor);
    DWORD GetItemTextColor() const { return m_dwItemTextColor; }
    void SetItemHotTextColor(DWORD dwItemHotTextColor);
    DWORD GetItemHotTextColor() const { return m_dwItemHotTextColor; }
    void SetSelItemTextColor(DWORD dwSelItemTextColor);
    DWORD GetSelItemTextColor() const { return m_dwSelItemTextColor; }
    void SetSelItemHotTextColor(DWORD dwSelHotItemTextColor);
    DWORD GetSelItemHotTextColor() const { return m_dwSelItemHotTextColor; }

    CHorizontalLayoutUI* GetTreeNodeHoriznotal() const { return m_pHoriz; }
    CCheckBoxUI* GetFolderButton() const { return m_pFolderButton; }
    CLabelUI* GetDottedLine() const { return m_pDottedLine; }
    CCheckBoxUI* GetCheckBox() const { return m_pCheckBox; }
    COptionUI* GetItemButton() const { return m_pItemButton; }

private:
    friend class CTreeViewUI;

    // Gives the node and its whole subtree the indentation of its place.
    void Indent(CTreeNodeUI* pNode, int width);
    // Takes a child out of the child list; false when it is not there.
    bool UnlinkChild(CTreeNodeUI* pNode);

    bool m_bIsVisable { true };
    DWORD m_dwItemTextColor { 0 };
    DWORD m_dwItemHotTextColor { 0 };
    DWORD m_dwSelItemTextColor { 0 };
    DWORD m_dwSelItemHotTextColor { 0 };
    CTreeViewUI* m_pTreeView { nullptr };
    CHorizontalLayoutUI* m_pHoriz { nullptr };
    CCheckBoxUI* m_pFolderButton { nullptr };
    CLabelUI* m_pDottedLine { nullptr };
    CCheckBoxUI* m_pCheckBox { nullptr };
    COptionUI* m_pItemButton { nullptr };
    CTreeNodeUI* m_pParentTreeNode { nullptr };
    CStdPtrArray m_aTreeNodes;
};

class VENEER_API CTreeViewUI : public CListUI, public INotifyUI {
public:
    CTreeViewUI();
    ~CTreeViewUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void Notify(TNotifyUI& msg) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    // Tree nodes take the tree routes below; other controls the list's.
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    bool RemoveAt(int iIndex) override;
    void RemoveAll() override;

    // Appends the node and its whole subtree.
    virtual bool Add(CTreeNodeUI* pControl);
    // Inserts the node with its subtree before another node of the view.
    virtual bool AddAt(CTreeNodeUI* pControl, CTreeNodeUI* pIndexNode);
    // Inserts the node with its subtree at an item index (the item count
    // appends); returns the index after the last inserted node, or -1.
    virtual long AddAt(CTreeNodeUI* pControl, int iIndex);
    // Removes the node with its subtree; false when it is not in the view.
    virtual bool Remove(CTreeNodeUI* pControl);
    virtual bool OnCheckBoxChanged(void* param);
    virtual bool OnFolderChanged(void* param);
    virtual bool OnDBClickItem(void* param);
    virtual bool SetItemCheckBox(bool bSelected, CTreeNodeUI* pTreeNode = nullptr);
    virtual void SetItemExpand(bool bExpanded, CTreeNodeUI* pTreeNode = nullptr);
    virtual void SetVisibleFolderBtn(bool bIsVisibled);
    virtual bool GetVisibleFolderBtn() const;
    virtual void SetVisibleCheckBtn(bool bIsVisibled);
    virtual bool GetVisibleCheckBtn() const;
    virtual void SetItemMinWidth(UINT uItemMinWidth);
    virtual UINT GetItemMinWidth() const;
    virtual void SetItemTextColor(DWORD dwItemTextColor);
    virtual void SetItemHotTextColor(DWORD dwItemHotTextColor);
    virtual void SetSelItemTextColor(DWORD dwSelItemTextColor);
    virtual void SetSelItemHotTextColor(DWORD dwSelHotItemTextColor);

private:
    // Listeners, button visibility and minimum width of a node joining.
    void Prepare(CTreeNodeUI* pNode);
    void Unsubscribe(CTreeNodeUI* pNode);
    // Cuts every parent/child link between the view's nodes.
    void UnlinkAll();
    CTreeNodeUI* NodeAt(int iIndex) const;

    UINT m_uItemMinWidth { 0 };
    bool m_bVisibleFolderBtn { true };
    bool m_bVisibleCheckBtn { false };
};

}  // namespace Veneer
