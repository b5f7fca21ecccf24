#include "controls/TreeViewUI.h"

#include <cwchar>

#include "controls/CheckBoxUI.h"
#include "controls/HorizontalLayoutUI.h"
#include "controls/LabelUI.h"
#include "controls/ListHeaderUI.h"
#include "controls/OptionUI.h"
#include "foundation/ValueSyntax.h"

namespace Veneer {

namespace {

constexpr int kIndentStep = 16;

bool IsTreeNodeClass(CControlUI* pControl)
{
    return pControl != nullptr && ::lstrcmpiW(pControl->GetClass(), L"TreeNodeUI") == 0;
}

CTreeNodeUI* AsTreeNode(CControlUI* pControl)
{
    return IsTreeNodeClass(pControl) ? static_cast<CTreeNodeUI*>(pControl) : nullptr;
}

bool Is(LPCWSTR a, LPCWSTR b) { return std::wcscmp(a, b) == 0; }

// The node a row's sub-control belongs to: sub-control -> row -> node.
CTreeNodeUI* NodeOfSubControl(CControlUI* pSender)
{
    if (pSender == nullptr || pSender->GetParent() == nullptr) return nullptr;
    return AsTreeNode(pSender->GetParent()->GetParent());
}

}  // namespace

// CTreeNodeUI ---------------------------------------------------------------

CTreeNodeUI::CTreeNodeUI(CControlUI* pParentNode)
{
    m_pHoriz = new CHorizontalLayoutUI;
    m_pFolderButton = new CCheckBoxUI;
    m_pDottedLine = new CLabelUI;
    m_pCheckBox = new CCheckBoxUI;
    m_pItemButton = new COptionUI;

    SetFixedHeight(18);
    SetFixedWidth(250);
    m_pFolderButton->SetFixedWidth(GetFixedHeight());
    m_pDottedLine->SetFixedWidth(2);
    m_pCheckBox->SetFixedWidth(GetFixedHeight());
    m_pItemButton->SetAttribute(L"align", L"left");
    m_pDottedLine->SetVisible(false);
    m_pCheckBox->SetVisible(false);
    m_pItemButton->SetMouseEnabled(false);
    // The row's own area is no target either: its clicks reach the node.
    m_pHoriz->SetMouseEnabled(false);

    // Whatever the parent, the row and its sub-controls belong to the node.
    CTreeNodeUI* pParent = AsTreeNode(pParentNode);
    if (pParent != nullptr) {
        m_pDottedLine->SetVisible(pParent->IsVisible());
        m_pDottedLine->SetFixedWidth(pParent->GetDottedLine()->GetFixedWidth() + kIndentStep);
        m_pParentTreeNode = pParent;
    }

    m_pHoriz->Add(m_pDottedLine);
    m_pHoriz->Add(m_pFolderButton);
    m_pHoriz->Add(m_pCheckBox);
    m_pHoriz->Add(m_pItemButton);
    CListContainerElementUI::Add(m_pHoriz);
}

CTreeNodeUI::~CTreeNodeUI()
{
    if (m_pParentTreeNode != nullptr) m_pParentTreeNode->UnlinkChild(this);
    m_pParentTreeNode = nullptr;
    // Children in a view belong to the view's list; children outside any
    // view belong to nobody else.
    CStdPtrArray children;
    for (int i = 0; i < m_aTreeNodes.GetSize(); ++i) children.Add(m_aTreeNodes[i]);
    m_aTreeNodes.Empty();
    for (int i = 0; i < children.GetSize(); ++i) {
        CTreeNodeUI* pChild = static_cast<CTreeNodeUI*>(children[i]);
        pChild->m_pParentTreeNode = nullptr;
        if (pChild->m_pTreeView == nullptr) delete pChild;
    }
}

LPCWSTR CTreeNodeUI::GetClass() const { return L"TreeNodeUI"; }

LPVOID CTreeNodeUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && Is(pstrName, L"TreeNode")) return static_cast<CTreeNodeUI*>(this);
    return CListContainerElementUI::GetInterface(pstrName);
}

IContainerUI* CTreeNodeUI::GetMarkupContainer()
{
    return m_pHoriz;
}

void CTreeNodeUI::DoEvent(TEventUI& event)
{
    if (HandOnMouseEvent(event)) return;
    CListContainerElementUI::DoEvent(event);

    if (event.Type == EVENT_DBLCLICK) {
        if (IsEnabled()) {
            if (m_pManager != nullptr) m_pManager->SendNotify(this, L"itemdbclick");
            Invalidate();
        }
    } else if (event.Type == EVENT_MOUSEENTER) {
        if (!IsEnabled()) {
            m_pItemButton->SetTextColor(m_pItemButton->GetDisabledTextColor());
        } else if (IsSelected()) {
            m_pItemButton->SetTextColor(m_dwSelItemHotTextColor != 0 ? m_dwSelItemHotTextColor : m_dwItemHotTextColor);
        } else {
            m_pItemButton->SetTextColor(m_dwItemHotTextColor);
        }
    } else if (event.Type == EVENT_MOUSELEAVE) {
        if (!IsEnabled()) {
            m_pItemButton->SetTextColor(m_pItemButton->GetDisabledTextColor());
        } else if (IsSelected()) {
            if (m_dwSelItemTextColor != 0) m_pItemButton->SetTextColor(m_dwSelItemTextColor);
        } else {
            m_pItemButton->SetTextColor(m_dwItemTextColor);
        }
    }
}

void CTreeNodeUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) return;
    if (Is(pstrName, L"text")) {
        m_pItemButton->SetText(pstrValue);
    } else if (Is(pstrName, L"horizattr")) {
        m_pHoriz->ApplyAttributeList(pstrValue);
    } else if (Is(pstrName, L"dotlineattr")) {
        m_pDottedLine->ApplyAttributeList(pstrValue);
    } else if (Is(pstrName, L"folderattr")) {
        m_pFolderButton->ApplyAttributeList(pstrValue);
    } else if (Is(pstrName, L"checkboxattr")) {
        m_pCheckBox->ApplyAttributeList(pstrValue);
    } else if (Is(pstrName, L"itemattr")) {
        m_pItemButton->ApplyAttributeList(pstrValue);
    } else if (Is(pstrName, L"itemtextcolor")) {
        SetItemTextColor(ValueSyntax::ParseColor(pstrValue));
    } else if (Is(pstrName, L"itemhottextcolor")) {
        SetItemHotTextColor(ValueSyntax::ParseColor(pstrValue));
    } else if (Is(pstrName, L"selitemtextcolor")) {
        SetSelItemTextColor(ValueSyntax::ParseColor(pstrValue));
    } else if (Is(pstrName, L"selitemhottextcolor")) {
        SetSelItemHotTextColor(ValueSyntax::ParseColor(pstrValue));
    } else {
        CListContainerElementUI::SetAttribute(pstrName, pstrValue);
    }
}

bool CTreeNodeUI::Add(CControlUI* pControl)
{
    if (IsTreeNodeClass(pControl)) return AddChildNode(static_cast<CTreeNodeUI*>(pControl));
    return CListContainerElementUI::Add(pControl);
}

bool CTreeNodeUI::AddAt(CControlUI* pControl, int iIndex)
{
    if (pControl == nullptr || pControl->GetInterface(L"TreeNode") == nullptr) return false;
    CTreeNodeUI* pNode = static_cast<CTreeNodeUI*>(pControl->GetInterface(L"TreeNode"));
    if (pNode == this || m_aTreeNodes.Find(pNode) >= 0) return false;
    if (pNode->m_pParentTreeNode != nullptr && pNode->m_pParentTreeNode != this) return false;

    // The new node goes before the child now at iIndex, or after the last
    // descendant of this node when it is appended.
    CTreeNodeUI* pBefore = iIndex >= 0 && iIndex < m_aTreeNodes.GetSize() ? GetChildNode(iIndex) : nullptr;
    const int iAfterLast = m_pTreeView != nullptr ? GetLastNode()->GetTreeIndex() + 1 : -1;

    CalLocation(pNode);
    if (m_pTreeView != nullptr) {
        const bool bInserted = pBefore != nullptr ? m_pTreeView->AddAt(pNode, pBefore)
                                                  : m_pTreeView->AddAt(pNode, iAfterLast) >= 0;
        if (!bInserted) {
            pNode->m_pParentTreeNode = nullptr;
            return false;
        }
    }
    if (pBefore != nullptr) {
        m_aTreeNodes.InsertAt(iIndex, pNode);
    } else {
        m_aTreeNodes.Add(pNode);
    }
    return true;
}

bool CTreeNodeUI::Remove(CControlUI* pControl)
{
    CTreeNodeUI* pNode = AsTreeNode(pControl);
    if (pNode != nullptr && m_aTreeNodes.Find(pNode) >= 0) return RemoveAt(pNode);
    return CListContainerElementUI::Remove(pControl);
}

bool CTreeNodeUI::Select(bool bSelect)
{
    const bool bResult = CListContainerElementUI::Select(bSelect);
    m_pItemButton->SetTextColor(IsSelected() ? m_dwSelItemTextColor : m_dwItemTextColor);
    return bResult;
}

bool CTreeNodeUI::AddChildNode(CTreeNodeUI* pNode)
{
    if (!IsTreeNodeClass(pNode) || pNode == this || m_aTreeNodes.Find(pNode) >= 0) return false;
    // A node has one parent: it leaves the other one first.
    if (pNode->m_pParentTreeNode != nullptr && pNode->m_pParentTreeNode != this) return false;
    const int iAfterLast = m_pTreeView != nullptr ? GetLastNode()->GetTreeIndex() + 1 : -1;
    CalLocation(pNode);
    if (m_pTreeView != nullptr && m_pTreeView->AddAt(pNode, iAfterLast) < 0) {
        pNode->m_pParentTreeNode = nullptr;
        return false;
    }
    m_aTreeNodes.Add(pNode);
    return true;
}

bool CTreeNodeUI::UnlinkChild(CTreeNodeUI* pNode)
{
    const int index = m_aTreeNodes.Find(pNode);
    if (index < 0) return false;
    m_aTreeNodes.Remove(index);
    return true;
}

bool CTreeNodeUI::RemoveAt(CTreeNodeUI* pNode)
{
    if (pNode == nullptr || m_aTreeNodes.Find(pNode) < 0) return false;
    while (pNode->IsHasChild()) pNode->RemoveAt(pNode->GetChildNode(0));
    UnlinkChild(pNode);
    pNode->m_pParentTreeNode = nullptr;
    if (pNode->m_pTreeView != nullptr) {
        pNode->m_pTreeView->Remove(pNode);
    } else {
        // Outside a view nobody else owns it.
        delete pNode;
    }
    return true;
}

void CTreeNodeUI::Indent(CTreeNodeUI* pNode, int width)
{
    pNode->m_pDottedLine->SetVisible(true);
    pNode->m_pDottedLine->SetFixedWidth(width);
    for (int i = 0; i < pNode->m_aTreeNodes.GetSize(); ++i)
        Indent(static_cast<CTreeNodeUI*>(pNode->m_aTreeNodes[i]), width + kIndentStep);
}

CTreeNodeUI* CTreeNodeUI::CalLocation(CTreeNodeUI* pNode)
{
    if (pNode == nullptr) return nullptr;
    Indent(pNode, m_pDottedLine->GetFixedWidth() + kIndentStep);
    pNode->m_pParentTreeNode = this;
    pNode->m_pItemButton->SetGroup(m_pItemButton->GetGroup());
    pNode->m_pTreeView = m_pTreeView;
    return pNode;
}

CTreeNodeUI* CTreeNodeUI::GetChildNode(int iIndex) const
{
    return static_cast<CTreeNodeUI*>(m_aTreeNodes.GetAt(iIndex));
}

CStdPtrArray CTreeNodeUI::GetTreeNodes() const
{
    CStdPtrArray copy;
    for (int i = 0; i < m_aTreeNodes.GetSize(); ++i) copy.Add(m_aTreeNodes[i]);
    return copy;
}

CTreeNodeUI* CTreeNodeUI::GetLastNode()
{
    CTreeNodeUI* pNode = this;
    while (pNode->IsHasChild()) pNode = pNode->GetChildNode(pNode->GetCountChild() - 1);
    return pNode;
}

int CTreeNodeUI::GetTreeIndex() const
{
    if (m_pTreeView == nullptr) return -1;
    return m_pTreeView->GetItemIndex(const_cast<CTreeNodeUI*>(this));
}

int CTreeNodeUI::GetNodeIndex() const
{
    if (m_pParentTreeNode == nullptr) return m_pTreeView != nullptr ? GetTreeIndex() : -1;
    return m_pParentTreeNode->m_aTreeNodes.Find(const_cast<CTreeNodeUI*>(this));
}

CStdString CTreeNodeUI::GetItemText() const { return m_pItemButton->GetText(); }

void CTreeNodeUI::SetItemText(LPCWSTR pstrValue) { m_pItemButton->SetText(pstrValue); }

void CTreeNodeUI::CheckBoxSelected(bool bSelected) { m_pCheckBox->Selected(bSelected); }

bool CTreeNodeUI::IsCheckBoxSelected() const { return m_pCheckBox->IsSelected(); }

bool CTreeNodeUI::GetVisibleCheckBtn() const { return m_pCheckBox->IsVisible(); }

void CTreeNodeUI::SetVisibleCheckBtn(bool bVisible) { m_pCheckBox->SetVisible(bVisible); }

bool CTreeNodeUI::GetVisibleFolderBtn() const { return m_pFolderButton->IsVisible(); }

void CTreeNodeUI::SetVisibleFolderBtn(bool bVisible) { m_pFolderButton->SetVisible(bVisible); }

void CTreeNodeUI::SetItemTextColor(DWORD dwItemTextColor)
{
    m_dwItemTextColor = dwItemTextColor;
    m_pItemButton->SetTextColor(m_dwItemTextColor);
}

void CTreeNodeUI::SetItemHotTextColor(DWORD dwItemHotTextColor)
{
    m_dwItemHotTextColor = dwItemHotTextColor;
    Invalidate();
}

void CTreeNodeUI::SetSelItemTextColor(DWORD dwSelItemTextColor)
{
    m_dwSelItemTextColor = dwSelItemTextColor;
    Invalidate();
}

void CTreeNodeUI::SetSelItemHotTextColor(DWORD dwSelHotItemTextColor)
{
    m_dwSelItemHotTextColor = dwSelHotItemTextColor;
    Invalidate();
}

// CTreeViewUI ---------------------------------------------------------------

CTreeViewUI::CTreeViewUI()
{
    if (GetHeader() != nullptr) GetHeader()->SetVisible(false);
}

CTreeViewUI::~CTreeViewUI()
{
    // The list deletes its items in its own order: no node may look at
    // another on its way out.
    UnlinkAll();
}

LPCWSTR CTreeViewUI::GetClass() const { return L"TreeViewUI"; }

LPVOID CTreeViewUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && Is(pstrName, L"TreeView")) return static_cast<CTreeViewUI*>(this);
    return CListUI::GetInterface(pstrName);
}

void CTreeViewUI::Notify(TNotifyUI& /*msg*/) {}

CTreeNodeUI* CTreeViewUI::NodeAt(int iIndex) const { return AsTreeNode(GetItemAt(iIndex)); }

void CTreeViewUI::Unsubscribe(CTreeNodeUI* pNode)
{
    pNode->NotifyListeners -= MakeDelegate(this, &CTreeViewUI::OnDBClickItem);
    pNode->GetFolderButton()->NotifyListeners -= MakeDelegate(this, &CTreeViewUI::OnFolderChanged);
    pNode->GetCheckBox()->NotifyListeners -= MakeDelegate(this, &CTreeViewUI::OnCheckBoxChanged);
}

void CTreeViewUI::Prepare(CTreeNodeUI* pNode)
{
    Unsubscribe(pNode);  // a node re-added must not be heard twice
    pNode->NotifyListeners += MakeDelegate(this, &CTreeViewUI::OnDBClickItem);
    pNode->GetFolderButton()->NotifyListeners += MakeDelegate(this, &CTreeViewUI::OnFolderChanged);
    pNode->GetCheckBox()->NotifyListeners += MakeDelegate(this, &CTreeViewUI::OnCheckBoxChanged);
    pNode->SetVisibleFolderBtn(m_bVisibleFolderBtn);
    pNode->SetVisibleCheckBtn(m_bVisibleCheckBtn);
    if (m_uItemMinWidth > 0) pNode->SetMinWidth(static_cast<int>(m_uItemMinWidth));
}

void CTreeViewUI::UnlinkAll()
{
    for (int i = 0; i < GetCount(); ++i) {
        CTreeNodeUI* pNode = NodeAt(i);
        if (pNode == nullptr) continue;
        pNode->m_aTreeNodes.Empty();
        pNode->m_pParentTreeNode = nullptr;
        pNode->m_pTreeView = nullptr;
    }
}

bool CTreeViewUI::Add(CControlUI* pControl)
{
    if (IsTreeNodeClass(pControl)) return Add(static_cast<CTreeNodeUI*>(pControl));
    return CListUI::Add(pControl);
}

bool CTreeViewUI::AddAt(CControlUI* pControl, int iIndex)
{
    if (IsTreeNodeClass(pControl)) return AddAt(static_cast<CTreeNodeUI*>(pControl), iIndex) >= 0;
    return CListUI::AddAt(pControl, iIndex);
}

bool CTreeViewUI::Remove(CControlUI* pControl)
{
    if (IsTreeNodeClass(pControl)) return Remove(static_cast<CTreeNodeUI*>(pControl));
    return CListUI::Remove(pControl);
}

bool CTreeViewUI::Add(CTreeNodeUI* pControl)
{
    if (!IsTreeNodeClass(pControl) || GetItemIndex(pControl) >= 0) return false;
    Prepare(pControl);
    if (!CListUI::Add(pControl)) {
        Unsubscribe(pControl);
        return false;
    }
    pControl->m_pTreeView = this;
    for (int i = 0; i < pControl->GetCountChild(); ++i) Add(pControl->GetChildNode(i));
    return true;
}

long CTreeViewUI::AddAt(CTreeNodeUI* pControl, int iIndex)
{
    if (!IsTreeNodeClass(pControl) || iIndex < 0 || iIndex > GetCount() || GetItemIndex(pControl) >= 0) return -1;
    Prepare(pControl);
    const bool bAdded = iIndex == GetCount() ? CListUI::Add(pControl) : CListUI::AddAt(pControl, iIndex);
    if (!bAdded) {
        Unsubscribe(pControl);
        return -1;
    }
    pControl->m_pTreeView = this;
    long next = iIndex + 1;
    for (int i = 0; i < pControl->GetCountChild(); ++i) {
        const long after = AddAt(pControl->GetChildNode(i), static_cast<int>(next));
        if (after >= 0) next = after;
    }
    return next;
}

bool CTreeViewUI::AddAt(CTreeNodeUI* pControl, CTreeNodeUI* pIndexNode)
{
    if (pControl == nullptr && pIndexNode == nullptr) return false;
    const int position = GetItemIndex(pIndexNode);
    if (position < 0) return false;
    return AddAt(pControl, position) >= 0;
}

bool CTreeViewUI::Remove(CTreeNodeUI* pControl)
{
    if (!IsTreeNodeClass(pControl) || GetItemIndex(pControl) < 0) return false;
    while (pControl->IsHasChild()) {
        CTreeNodeUI* pChild = pControl->GetChildNode(0);
        if (pChild->m_pTreeView != this) {
            // A child that never entered this view goes with its parent.
            pControl->UnlinkChild(pChild);
            pChild->m_pParentTreeNode = nullptr;
            if (pChild->m_pTreeView == nullptr) delete pChild;
            continue;
        }
        pControl->RemoveAt(pChild);
    }
    if (pControl->m_pParentTreeNode != nullptr) pControl->m_pParentTreeNode->UnlinkChild(pControl);
    pControl->m_pParentTreeNode = nullptr;
    pControl->m_pTreeView = nullptr;
    Unsubscribe(pControl);
    return CListUI::Remove(pControl);
}

bool CTreeViewUI::RemoveAt(int iIndex)
{
    CControlUI* pItem = GetItemAt(iIndex);
    if (pItem == nullptr) return false;
    if (IsTreeNodeClass(pItem)) return Remove(static_cast<CTreeNodeUI*>(pItem));
    return CListUI::RemoveAt(iIndex);
}

void CTreeViewUI::RemoveAll()
{
    for (int i = 0; i < GetCount(); ++i) {
        CTreeNodeUI* pNode = NodeAt(i);
        if (pNode != nullptr) Unsubscribe(pNode);
    }
    UnlinkAll();
    CListUI::RemoveAll();
}

bool CTreeViewUI::OnCheckBoxChanged(void* param)
{
    TNotifyUI* pMsg = static_cast<TNotifyUI*>(param);
    if (pMsg == nullptr || pMsg->sType != L"selectchanged") return true;
    CTreeNodeUI* pNode = NodeOfSubControl(pMsg->pSender);
    if (pNode == nullptr) return true;
    SetItemCheckBox(pNode->IsCheckBoxSelected(), pNode);
    return true;
}

bool CTreeViewUI::OnFolderChanged(void* param)
{
    TNotifyUI* pMsg = static_cast<TNotifyUI*>(param);
    if (pMsg == nullptr || pMsg->sType != L"selectchanged") return true;
    CTreeNodeUI* pNode = NodeOfSubControl(pMsg->pSender);
    if (pNode == nullptr) return true;
    const bool bExpanded = !pNode->GetFolderButton()->IsSelected();
    pNode->SetVisibleTag(bExpanded);
    SetItemExpand(bExpanded, pNode);
    return true;
}

bool CTreeViewUI::OnDBClickItem(void* param)
{
    TNotifyUI* pMsg = static_cast<TNotifyUI*>(param);
    if (pMsg == nullptr || pMsg->sType != L"itemdbclick") return false;
    CTreeNodeUI* pNode = AsTreeNode(pMsg->pSender);
    if (pNode == nullptr) return false;
    CCheckBoxUI* pFolder = pNode->GetFolderButton();
    pFolder->Selected(!pFolder->IsSelected());
    const bool bExpanded = !pFolder->IsSelected();
    pNode->SetVisibleTag(bExpanded);
    SetItemExpand(bExpanded, pNode);
    return true;
}

bool CTreeViewUI::SetItemCheckBox(bool bSelected, CTreeNodeUI* pTreeNode)
{
    if (pTreeNode != nullptr) {
        for (int i = 0; i < pTreeNode->GetCountChild(); ++i) {
            CTreeNodeUI* pChild = pTreeNode->GetChildNode(i);
            pChild->CheckBoxSelected(bSelected);
            if (pChild->IsHasChild()) SetItemCheckBox(bSelected, pChild);
        }
        return true;
    }
    for (int i = 0; i < GetCount(); ++i) {
        CTreeNodeUI* pNode = NodeAt(i);
        if (pNode == nullptr) continue;
        pNode->CheckBoxSelected(bSelected);
        if (pNode->IsHasChild()) SetItemCheckBox(bSelected, pNode);
    }
    return true;
}

void CTreeViewUI::SetItemExpand(bool bExpanded, CTreeNodeUI* pTreeNode)
{
    if (pTreeNode != nullptr) {
        for (int i = 0; i < pTreeNode->GetCountChild(); ++i) {
            CTreeNodeUI* pChild = pTreeNode->GetChildNode(i);
            pChild->SetVisible(bExpanded);
            if (pChild->IsHasChild() && !pChild->GetFolderButton()->IsSelected()) SetItemExpand(bExpanded, pChild);
        }
        return;
    }
    // Every item; rows under a folded node stay hidden when showing.
    for (int i = 0; i < GetCount(); ++i) {
        CTreeNodeUI* pNode = NodeAt(i);
        if (pNode == nullptr) continue;
        bool bShow = bExpanded;
        for (CTreeNodeUI* p = pNode->GetParentNode(); bShow && p != nullptr; p = p->GetParentNode())
            bShow = !p->GetFolderButton()->IsSelected();
        pNode->SetVisible(bShow);
    }
}

void CTreeViewUI::SetVisibleFolderBtn(bool bIsVisibled)
{
    m_bVisibleFolderBtn = bIsVisibled;
    for (int i = 0; i < GetCount(); ++i) {
        CTreeNodeUI* pNode = NodeAt(i);
        if (pNode != nullptr) pNode->SetVisibleFolderBtn(m_bVisibleFolderBtn);
    }
}

bool CTreeViewUI::GetVisibleFolderBtn() const { return m_bVisibleFolderBtn; }

void CTreeViewUI::SetVisibleCheckBtn(bool bIsVisibled)
{
    m_bVisibleCheckBtn = bIsVisibled;
    for (int i = 0; i < GetCount(); ++i) {
        CTreeNodeUI* pNode = NodeAt(i);
        if (pNode != nullptr) pNode->SetVisibleCheckBtn(m_bVisibleCheckBtn);
    }
}

bool CTreeViewUI::GetVisibleCheckBtn() const { return m_bVisibleCheckBtn; }

void CTreeViewUI::SetItemMinWidth(UINT uItemMinWidth)
{
    m_uItemMinWidth = uItemMinWidth;
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* pItem = GetItemAt(i);
        if (pItem != nullptr) pItem->SetMinWidth(static_cast<int>(m_uItemMinWidth));
    }
    Invalidate();
}

UINT CTreeViewUI::GetItemMinWidth() const { return m_uItemMinWidth; }

void CTreeViewUI::SetItemTextColor(DWORD dwItemTextColor)
{
    for (int i = 0; i < GetCount(); ++i) {
        CTreeNodeUI* pNode = NodeAt(i);
        if (pNode != nullptr) pNode->SetItemTextColor(dwItemTextColor);
    }
}

void CTreeViewUI::SetItemHotTextColor(DWORD dwItemHotTextColor)
{
    for (int i = 0; i < GetCount(); ++i) {
        CTreeNodeUI* pNode = NodeAt(i);
        if (pNode != nullptr) pNode->SetItemHotTextColor(dwItemHotTextColor);
    }
}

void CTreeViewUI::SetSelItemTextColor(DWORD dwSelItemTextColor)
{
    for (int i = 0; i < GetCount(); ++i) {
        CTreeNodeUI* pNode = NodeAt(i);
        if (pNode != nullptr) pNode->SetSelItemTextColor(dwSelItemTextColor);
    }
}

void CTreeViewUI::SetSelItemHotTextColor(DWORD dwSelHotItemTextColor)
{
    for (int i = 0; i < GetCount(); ++i) {
        CTreeNodeUI* pNode = NodeAt(i);
        if (pNode != nullptr) pNode->SetSelItemHotTextColor(dwSelHotItemTextColor);
    }
}

void CTreeViewUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) return;
    if (Is(pstrName, L"visiblefolderbtn")) {
        SetVisibleFolderBtn(Is(pstrValue, L"true"));
    } else if (Is(pstrName, L"visiblecheckbtn")) {
        SetVisibleCheckBtn(Is(pstrValue, L"true"));
    } else if (Is(pstrName, L"itemminwidth")) {
        SetItemMinWidth(static_cast<UINT>(ValueSyntax::ParseInt(pstrValue)));
    } else if (Is(pstrName, L"itemtextcolor")) {
        SetItemTextColor(ValueSyntax::ParseColor(pstrValue));
    } else if (Is(pstrName, L"itemhottextcolor")) {
        SetItemHotTextColor(ValueSyntax::ParseColor(pstrValue));
    } else if (Is(pstrName, L"selitemtextcolor")) {
        SetSelItemTextColor(ValueSyntax::ParseColor(pstrValue));
    } else if (Is(pstrName, L"selitemhottextcolor")) {
        SetSelItemHotTextColor(ValueSyntax::ParseColor(pstrValue));
    } else {
        CListUI::SetAttribute(pstrName, pstrValue);
    }
}

}  // namespace Veneer
