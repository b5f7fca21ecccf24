// The tree view's structure without a window: the flat item order, the
// indentation, and adding and removing nodes by every route.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/CheckBoxUI.h"
#include "controls/HorizontalLayoutUI.h"
#include "controls/LabelUI.h"
#include "controls/ListHeaderUI.h"
#include "controls/OptionUI.h"
#include "controls/TreeViewUI.h"
#include "foundation/DialogBuilder.h"

using namespace Veneer;

namespace {

CTreeNodeUI* Node(LPCWSTR text)
{
    auto* node = new CTreeNodeUI;
    node->SetItemText(text);
    return node;
}

// The view's items as their texts, in order.
std::wstring Order(CTreeViewUI& view)
{
    std::wstring out;
    for (int i = 0; i < view.GetCount(); ++i) {
        auto* node = static_cast<CTreeNodeUI*>(view.GetItemAt(i)->GetInterface(L"TreeNode"));
        if (!out.empty()) out += L",";
        out += node != nullptr ? node->GetItemText().GetData() : L"?";
    }
    return out;
}

std::wstring Children(CTreeNodeUI* node)
{
    std::wstring out;
    for (int i = 0; i < node->GetCountChild(); ++i) {
        if (!out.empty()) out += L",";
        out += node->GetChildNode(i)->GetItemText().GetData();
    }
    return out;
}

int g_nodesGone = 0;

class CountedNodeUI : public CTreeNodeUI {
public:
    ~CountedNodeUI() override { ++g_nodesGone; }
};

class OtherNodeUI : public CTreeNodeUI {
public:
    LPCWSTR GetClass() const override { return L"OtherNodeUI"; }
};

// Fruit(Apple, Pear(Conference)), Nuts.
struct SmallTree {
    SmallTree()
    {
        fruit = Node(L"Fruit");
        apple = Node(L"Apple");
        pear = Node(L"Pear");
        conference = Node(L"Conference");
        nuts = Node(L"Nuts");
        EXPECT_TRUE(view.Add(fruit));
        EXPECT_TRUE(fruit->AddChildNode(apple));
        EXPECT_TRUE(fruit->AddChildNode(pear));
        EXPECT_TRUE(pear->AddChildNode(conference));
        EXPECT_TRUE(view.Add(nuts));
    }
    CTreeViewUI view;
    CTreeNodeUI* fruit { nullptr };
    CTreeNodeUI* apple { nullptr };
    CTreeNodeUI* pear { nullptr };
    CTreeNodeUI* conference { nullptr };
    CTreeNodeUI* nuts { nullptr };
};

}  // namespace

TEST(TreeViewUI, NamesAndConstruction)
{
    CTreeViewUI view;
    EXPECT_STREQ(L"TreeViewUI", view.GetClass());
    EXPECT_EQ(static_cast<void*>(&view), view.GetInterface(L"TreeView"));
    EXPECT_NE(nullptr, view.GetInterface(L"List"));
    ASSERT_NE(nullptr, view.GetHeader());
    EXPECT_FALSE(view.GetHeader()->IsVisible());
    EXPECT_TRUE(view.GetVisibleFolderBtn());
    EXPECT_FALSE(view.GetVisibleCheckBtn());

    CTreeNodeUI node;
    EXPECT_STREQ(L"TreeNodeUI", node.GetClass());
    EXPECT_EQ(static_cast<void*>(&node), node.GetInterface(L"TreeNode"));
    EXPECT_NE(nullptr, node.GetInterface(L"ListItem"));
    EXPECT_EQ(18, node.GetFixedHeight());
    EXPECT_EQ(250, node.GetFixedWidth());
    ASSERT_EQ(1, node.GetCount());
    CHorizontalLayoutUI* row = node.GetTreeNodeHoriznotal();
    EXPECT_EQ(row, node.GetItemAt(0));
    ASSERT_EQ(4, row->GetCount());
    EXPECT_EQ(node.GetDottedLine(), row->GetItemAt(0));
    EXPECT_EQ(node.GetFolderButton(), row->GetItemAt(1));
    EXPECT_EQ(node.GetCheckBox(), row->GetItemAt(2));
    EXPECT_EQ(node.GetItemButton(), row->GetItemAt(3));
    EXPECT_EQ(2, node.GetDottedLine()->GetFixedWidth());
    EXPECT_FALSE(node.GetDottedLine()->IsVisible());
    EXPECT_EQ(18, node.GetFolderButton()->GetFixedWidth());
    EXPECT_FALSE(node.GetCheckBox()->IsVisible());
    EXPECT_FALSE(node.GetItemButton()->IsMouseEnabled());
    EXPECT_EQ(-1, node.GetNodeIndex());
    EXPECT_EQ(-1, node.GetTreeIndex());
}

TEST(TreeViewUI, NodeBuiltWithAParentIsIndentedUnderIt)
{
    CTreeNodeUI parent;
    CTreeNodeUI child(&parent);
    EXPECT_EQ(&parent, child.GetParentNode());
    EXPECT_EQ(18, child.GetDottedLine()->GetFixedWidth());
    EXPECT_EQ(4, child.GetTreeNodeHoriznotal()->GetCount());

    // A parent that is no node is not recorded, but the node still owns
    // its row and its sub-controls.
    CLabelUI label;
    CTreeNodeUI orphan(&label);
    EXPECT_EQ(nullptr, orphan.GetParentNode());
    EXPECT_EQ(1, orphan.GetCount());
    EXPECT_EQ(4, orphan.GetTreeNodeHoriznotal()->GetCount());
    EXPECT_EQ(2, orphan.GetDottedLine()->GetFixedWidth());
}

TEST(TreeViewUI, SubtreesFollowTheirRootsInOrderAndIndentBySixteen)
{
    SmallTree t;
    EXPECT_EQ(L"Fruit,Apple,Pear,Conference,Nuts", Order(t.view));
    EXPECT_EQ(2, t.fruit->GetDottedLine()->GetFixedWidth());
    EXPECT_FALSE(t.fruit->GetDottedLine()->IsVisible());
    EXPECT_EQ(18, t.apple->GetDottedLine()->GetFixedWidth());
    EXPECT_TRUE(t.apple->GetDottedLine()->IsVisible());
    EXPECT_EQ(34, t.conference->GetDottedLine()->GetFixedWidth());
    EXPECT_EQ(&t.view, t.conference->GetTreeView());
    EXPECT_EQ(t.pear, t.conference->GetParentNode());
    EXPECT_EQ(t.conference, t.fruit->GetLastNode());
    EXPECT_EQ(t.nuts, t.nuts->GetLastNode());
    EXPECT_EQ(3, t.conference->GetTreeIndex());
    EXPECT_EQ(0, t.conference->GetNodeIndex());
    EXPECT_EQ(1, t.pear->GetNodeIndex());
    EXPECT_EQ(4, t.nuts->GetNodeIndex());
    EXPECT_EQ(L"Apple,Pear", Children(t.fruit));
    EXPECT_EQ(2, t.fruit->GetTreeNodes().GetSize());
}

TEST(TreeViewUI, ChildAddedToTheLastSubtreeLandsAtTheViewsEnd)
{
    SmallTree t;
    CTreeNodeUI* cashew = Node(L"Cashew");
    ASSERT_TRUE(t.nuts->AddChildNode(cashew));
    EXPECT_EQ(L"Fruit,Apple,Pear,Conference,Nuts,Cashew", Order(t.view));
    EXPECT_EQ(&t.view, cashew->GetTreeView());

    // After the node's last descendant, not right after the node.
    CTreeNodeUI* plum = Node(L"Plum");
    ASSERT_TRUE(t.fruit->Add(plum));
    EXPECT_EQ(L"Fruit,Apple,Pear,Conference,Plum,Nuts,Cashew", Order(t.view));
}

TEST(TreeViewUI, NodeAddedWithItsSubtreeKnowsItsView)
{
    SmallTree t;
    // A subtree assembled outside the view ...
    CTreeNodeUI* veg = Node(L"Veg");
    CTreeNodeUI* leek = Node(L"Leek");
    CTreeNodeUI* young = Node(L"Young");
    ASSERT_TRUE(veg->AddChildNode(leek));
    ASSERT_TRUE(leek->AddChildNode(young));
    EXPECT_EQ(nullptr, veg->GetTreeView());
    // ... inserted before a node brings all of itself along.
    ASSERT_TRUE(t.view.AddAt(veg, t.nuts));
    EXPECT_EQ(L"Fruit,Apple,Pear,Conference,Veg,Leek,Young,Nuts", Order(t.view));
    EXPECT_EQ(&t.view, veg->GetTreeView());
    EXPECT_EQ(&t.view, young->GetTreeView());

    // By index, the result is the index after the last node inserted; the
    // item count appends.
    CTreeNodeUI* herbs = Node(L"Herbs");
    ASSERT_TRUE(herbs->AddChildNode(Node(L"Mint")));
    EXPECT_EQ(10, t.view.AddAt(herbs, t.view.GetCount()));
    EXPECT_EQ(L"Fruit,Apple,Pear,Conference,Veg,Leek,Young,Nuts,Herbs,Mint", Order(t.view));
    EXPECT_EQ(&t.view, herbs->GetTreeView());
}

TEST(TreeViewUI, NodeAddAtPlacesChildrenAmongTheirSiblings)
{
    SmallTree t;
    // Before the child now at index 1 (Pear).
    CTreeNodeUI* fig = Node(L"Fig");
    ASSERT_TRUE(t.fruit->AddAt(fig, 1));
    EXPECT_EQ(L"Apple,Fig,Pear", Children(t.fruit));
    EXPECT_EQ(L"Fruit,Apple,Fig,Pear,Conference,Nuts", Order(t.view));
    // Past the end: after the elder sibling's whole subtree.
    CTreeNodeUI* quince = Node(L"Quince");
    ASSERT_TRUE(t.fruit->AddAt(quince, 99));
    EXPECT_EQ(L"Apple,Fig,Pear,Quince", Children(t.fruit));
    EXPECT_EQ(L"Fruit,Apple,Fig,Pear,Conference,Quince,Nuts", Order(t.view));
    EXPECT_EQ(18, quince->GetDottedLine()->GetFixedWidth());

    // Only nodes.
    auto* label = new CLabelUI;
    EXPECT_FALSE(t.fruit->AddAt(label, 0));
    delete label;
}

TEST(TreeViewUI, RemovedNodeLeavesItsParentAndTakesItsSubtree)
{
    SmallTree t;
    ASSERT_TRUE(t.view.Remove(t.pear));
    EXPECT_EQ(L"Fruit,Apple,Nuts", Order(t.view));
    EXPECT_EQ(L"Apple", Children(t.fruit));
    EXPECT_EQ(t.apple, t.fruit->GetLastNode());

    // Through the parent the same.
    ASSERT_TRUE(t.fruit->Remove(t.apple));
    EXPECT_EQ(L"Fruit,Nuts", Order(t.view));
    EXPECT_FALSE(t.fruit->IsHasChild());
    // A node that is not a child changes nothing.
    EXPECT_FALSE(t.fruit->RemoveAt(t.nuts));
    EXPECT_EQ(L"Fruit,Nuts", Order(t.view));
}

TEST(TreeViewUI, RemoveAtRemovesLeavesAndSubtreesAndRefusesBadIndexes)
{
    SmallTree t;
    EXPECT_FALSE(t.view.RemoveAt(-1));
    EXPECT_FALSE(t.view.RemoveAt(5));
    EXPECT_EQ(5, t.view.GetCount());
    ASSERT_TRUE(t.view.RemoveAt(1));  // Apple, a leaf
    EXPECT_EQ(L"Fruit,Pear,Conference,Nuts", Order(t.view));
    EXPECT_EQ(L"Pear", Children(t.fruit));
    ASSERT_TRUE(t.view.RemoveAt(0));  // Fruit with everything under it
    EXPECT_EQ(L"Nuts", Order(t.view));
    t.view.RemoveAll();
    EXPECT_EQ(0, t.view.GetCount());
}

TEST(TreeViewUI, WrongClassesAndBadIndexesAreRefused)
{
    SmallTree t;
    auto* other = new OtherNodeUI;
    EXPECT_FALSE(t.view.Add(static_cast<CTreeNodeUI*>(other)));
    EXPECT_EQ(-1, t.view.AddAt(static_cast<CTreeNodeUI*>(other), 0));
    EXPECT_FALSE(t.fruit->AddChildNode(other));
    EXPECT_FALSE(t.view.Add(static_cast<CTreeNodeUI*>(nullptr)));
    EXPECT_FALSE(t.view.AddAt(static_cast<CTreeNodeUI*>(nullptr), static_cast<CTreeNodeUI*>(nullptr)));
    delete other;

    CTreeNodeUI* loose = Node(L"Loose");
    EXPECT_EQ(-1, t.view.AddAt(loose, -1));
    EXPECT_EQ(-1, t.view.AddAt(loose, 6));
    CTreeNodeUI stranger;
    EXPECT_FALSE(t.view.AddAt(loose, &stranger));  // not in the view
    EXPECT_FALSE(t.view.Remove(&stranger));
    // Added once only.
    EXPECT_FALSE(t.view.Add(t.nuts));
    EXPECT_FALSE(t.fruit->AddChildNode(t.apple));
    EXPECT_FALSE(t.nuts->AddChildNode(t.conference));  // Pear's already
    EXPECT_FALSE(t.nuts->AddAt(t.conference, 0));
    EXPECT_EQ(L"Fruit,Apple,Pear,Conference,Nuts", Order(t.view));
    delete loose;
}

TEST(TreeViewUI, CheckingCascadesToEveryDescendant)
{
    SmallTree t;
    t.view.SetVisibleCheckBtn(true);
    EXPECT_TRUE(t.conference->GetVisibleCheckBtn());
    t.fruit->CheckBoxSelected(true);
    ASSERT_TRUE(t.view.SetItemCheckBox(true, t.fruit));
    EXPECT_TRUE(t.apple->IsCheckBoxSelected());
    EXPECT_TRUE(t.pear->IsCheckBoxSelected());
    EXPECT_TRUE(t.conference->IsCheckBoxSelected());
    EXPECT_FALSE(t.nuts->IsCheckBoxSelected());
    t.view.SetItemCheckBox(false);
    EXPECT_FALSE(t.conference->IsCheckBoxSelected());
    EXPECT_FALSE(t.fruit->IsCheckBoxSelected());
}

TEST(TreeViewUI, FoldingKeepsFoldedSubtreesHidden)
{
    SmallTree t;
    t.pear->GetFolderButton()->Selected(true);  // Pear folded
    t.view.SetItemExpand(false, t.pear);
    EXPECT_FALSE(t.conference->IsVisible());
    t.fruit->GetFolderButton()->Selected(true);
    t.view.SetItemExpand(false, t.fruit);
    EXPECT_FALSE(t.apple->IsVisible());
    EXPECT_FALSE(t.pear->IsVisible());
    t.fruit->GetFolderButton()->Selected(false);
    t.view.SetItemExpand(true, t.fruit);
    EXPECT_TRUE(t.apple->IsVisible());
    EXPECT_TRUE(t.pear->IsVisible());
    EXPECT_FALSE(t.conference->IsVisible());
    // The whole view: everything shown but what a folded node hides.
    t.view.SetItemExpand(false);
    EXPECT_FALSE(t.nuts->IsVisible());
    t.view.SetItemExpand(true);
    EXPECT_TRUE(t.nuts->IsVisible());
    EXPECT_TRUE(t.fruit->IsVisible());
    EXPECT_FALSE(t.conference->IsVisible());
}

TEST(TreeViewUI, AttributesReachNodesAndSubControls)
{
    SmallTree t;
    t.view.SetAttribute(L"visiblefolderbtn", L"false");
    EXPECT_FALSE(t.conference->GetVisibleFolderBtn());
    t.view.SetAttribute(L"itemminwidth", L"300");
    EXPECT_EQ(300u, t.view.GetItemMinWidth());
    EXPECT_EQ(300, t.apple->GetMinWidth());
    t.view.SetAttribute(L"itemtextcolor", L"#FF112233");
    EXPECT_EQ(0xFF112233u, t.pear->GetItemTextColor());
    EXPECT_EQ(0xFF112233u, t.pear->GetItemButton()->GetTextColor());
    t.view.SetAttribute(L"selitemhottextcolor", L"FF445566");
    EXPECT_EQ(0xFF445566u, t.nuts->GetSelItemHotTextColor());

    CTreeNodeUI node;
    node.SetAttribute(L"text", L"Hello");
    EXPECT_STREQ(L"Hello", node.GetItemText().GetData());
    node.SetAttribute(L"dotlineattr", L"width=\"7\"");
    EXPECT_EQ(7, node.GetDottedLine()->GetFixedWidth());
    node.SetAttribute(L"itemattr", L"textcolor=\"#FF0000FF\"");
    EXPECT_EQ(0xFF0000FFu, node.GetItemButton()->GetTextColor());
    node.SetAttribute(L"selitemtextcolor", L"#FF00FF00");
    node.Select(true);
    EXPECT_EQ(0xFF00FF00u, node.GetItemButton()->GetTextColor());
}

TEST(TreeViewUI, BuiltFromMarkup)
{
    CDialogBuilder builder;
    CControlUI* root = builder.Create(STRINGorID(
        L"<Window><TreeView name=\"tree\">"
        L"<TreeNode text=\"A\"><TreeNode text=\"A1\"><TreeNode text=\"A1a\" /></TreeNode><TreeNode text=\"A2\" />"
        L"<Label text=\"row extra\" width=\"10\" /></TreeNode>"
        L"<TreeNode text=\"B\" />"
        L"</TreeView></Window>"));
    ASSERT_NE(nullptr, root);
    auto* view = static_cast<CTreeViewUI*>(root->GetInterface(L"TreeView"));
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(L"A,A1,A1a,A2,B", Order(*view));
    auto* a = static_cast<CTreeNodeUI*>(view->GetItemAt(0));
    auto* a1 = static_cast<CTreeNodeUI*>(view->GetItemAt(1));
    auto* a1a = static_cast<CTreeNodeUI*>(view->GetItemAt(2));
    EXPECT_EQ(L"A1,A2", Children(a));
    EXPECT_EQ(18, a1->GetDottedLine()->GetFixedWidth());
    EXPECT_TRUE(a1->GetDottedLine()->IsVisible());
    EXPECT_EQ(34, a1a->GetDottedLine()->GetFixedWidth());
    EXPECT_EQ(view, a1a->GetTreeView());
    // A plain control inside a node joins the node's row.
    EXPECT_EQ(5, a->GetTreeNodeHoriznotal()->GetCount());
    delete root;
}

TEST(TreeViewUI, EveryNodeIsDeletedExactlyOnce)
{
    g_nodesGone = 0;
    {
        // A subtree outside any view belongs to its root.
        auto* root = new CountedNodeUI;
        auto* child = new CountedNodeUI;
        ASSERT_TRUE(root->AddChildNode(child));
        ASSERT_TRUE(child->AddChildNode(new CountedNodeUI));
        delete root;
        EXPECT_EQ(3, g_nodesGone);
    }
    g_nodesGone = 0;
    {
        auto* view = new CTreeViewUI;
        auto* root = new CountedNodeUI;
        ASSERT_TRUE(view->Add(root));
        ASSERT_TRUE(root->AddChildNode(new CountedNodeUI));
        auto* leaf = new CountedNodeUI;
        ASSERT_TRUE(root->AddChildNode(leaf));
        ASSERT_TRUE(leaf->AddChildNode(new CountedNodeUI));
        ASSERT_TRUE(view->Remove(leaf));  // no manager: deleted at once, with its child
        EXPECT_EQ(2, g_nodesGone);
        delete view;
        EXPECT_EQ(4, g_nodesGone);
    }
}
