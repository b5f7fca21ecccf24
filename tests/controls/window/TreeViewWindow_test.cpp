// The tree view driven by real mouse messages: folding by the folder button
// and by double click, and check marks cascading down.
#include <gtest/gtest.h>

#include "ButtonWindowHost.h"
#include "controls/CheckBoxUI.h"
#include "controls/ListHeaderUI.h"
#include "controls/TreeViewUI.h"

using namespace Veneer;
using namespace WidgetWindowTests;

namespace {

const wchar_t kSkin[] =
    L"<Window size=\"300,200\">"
    L"<VerticalLayout name=\"root\" bkcolor=\"#FFFFFFFF\">"
    L"<TreeView name=\"tree\" visiblecheckbtn=\"true\">"
    L"<TreeNode name=\"a\" text=\"A\">"
    L"<TreeNode name=\"a1\" text=\"A1\"><TreeNode name=\"a1x\" text=\"A1x\" /></TreeNode>"
    L"<TreeNode name=\"a2\" text=\"A2\" />"
    L"</TreeNode>"
    L"<TreeNode name=\"b\" text=\"B\" />"
    L"</TreeView>"
    L"</VerticalLayout>"
    L"</Window>";

struct TreeWindow : SkinnedWindow {
    TreeWindow() : SkinnedWindow(300, 200, kSkin)
    {
        tree = static_cast<CTreeViewUI*>(Find(L"tree"));
        a = Node(L"a");
        a1 = Node(L"a1");
        a1x = Node(L"a1x");
        a2 = Node(L"a2");
        b = Node(L"b");
    }
    CTreeNodeUI* Node(LPCWSTR name)
    {
        CControlUI* control = Find(name);
        return control != nullptr ? static_cast<CTreeNodeUI*>(control->GetInterface(L"TreeNode")) : nullptr;
    }
    // A point on the node's text, clear of its buttons.
    static POINT Text(CTreeNodeUI* node)
    {
        const RECT& rc = node->GetItemButton()->GetPos();
        return POINT { rc.left + 10, (rc.top + rc.bottom) / 2 };
    }
    void DoubleClick(POINT pt)
    {
        Move(pt);
        Down(pt);
        Up(pt);
        host.Post(WM_LBUTTONDBLCLK, MK_LBUTTON, pt.x, pt.y);
        Up(pt);
        Settle();
    }
    bool Shown(CTreeNodeUI* node) const { return node->IsVisible(); }

    CTreeViewUI* tree { nullptr };
    CTreeNodeUI* a { nullptr };
    CTreeNodeUI* a1 { nullptr };
    CTreeNodeUI* a1x { nullptr };
    CTreeNodeUI* a2 { nullptr };
    CTreeNodeUI* b { nullptr };
};

}  // namespace

TEST(TreeViewWindow, NestedNodesAreListedInOrderAndIndented)
{
    TreeWindow w;
    ASSERT_NE(nullptr, w.tree);
    ASSERT_NE(nullptr, w.a1x);
    ASSERT_NE(nullptr, w.b);
    EXPECT_EQ(0, w.a->GetTreeIndex());
    EXPECT_EQ(1, w.a1->GetTreeIndex());
    EXPECT_EQ(2, w.a1x->GetTreeIndex());
    EXPECT_EQ(3, w.a2->GetTreeIndex());
    EXPECT_EQ(4, w.b->GetTreeIndex());
    // Rows stack downwards; the text moves right by 16 a level below the first.
    EXPECT_LT(w.a->GetPos().top, w.a1->GetPos().top);
    EXPECT_LT(w.a1x->GetPos().top, w.a2->GetPos().top);
    const int x0 = w.a->GetItemButton()->GetPos().left;
    EXPECT_EQ(x0 + 18, w.a1->GetItemButton()->GetPos().left);  // a top strip is hidden
    EXPECT_EQ(x0 + 34, w.a1x->GetItemButton()->GetPos().left);
    EXPECT_EQ(18, w.a2->GetDottedLine()->GetWidth());
    EXPECT_FALSE(w.tree->GetHeader()->IsVisible());
}

TEST(TreeViewWindow, FolderButtonFoldsAndFoldedGrandchildrenStayHidden)
{
    TreeWindow w;
    const int bTop = w.b->GetPos().top;
    w.Click(SkinnedWindow::Centre(w.a->GetFolderButton()));
    EXPECT_TRUE(w.a->GetFolderButton()->IsSelected());
    EXPECT_FALSE(w.a->GetVisibleTag());
    EXPECT_FALSE(w.Shown(w.a1));
    EXPECT_FALSE(w.Shown(w.a1x));
    EXPECT_FALSE(w.Shown(w.a2));
    EXPECT_TRUE(w.Shown(w.b));
    EXPECT_LT(w.b->GetPos().top, bTop);  // B moved up into the freed rows

    w.Click(SkinnedWindow::Centre(w.a->GetFolderButton()));
    EXPECT_TRUE(w.Shown(w.a1));
    EXPECT_TRUE(w.Shown(w.a1x));
    EXPECT_TRUE(w.Shown(w.a2));
    EXPECT_EQ(bTop, w.b->GetPos().top);

    // Fold A1, then A, then unfold A: A1x stays folded away.
    w.Click(SkinnedWindow::Centre(w.a1->GetFolderButton()));
    EXPECT_FALSE(w.Shown(w.a1x));
    w.Click(SkinnedWindow::Centre(w.a->GetFolderButton()));
    w.Click(SkinnedWindow::Centre(w.a->GetFolderButton()));
    EXPECT_TRUE(w.Shown(w.a1));
    EXPECT_TRUE(w.Shown(w.a2));
    EXPECT_FALSE(w.Shown(w.a1x));
}

TEST(TreeViewWindow, DoubleClickTogglesTheFolder)
{
    TreeWindow w;
    w.DoubleClick(TreeWindow::Text(w.a));
    EXPECT_TRUE(w.a->GetFolderButton()->IsSelected());
    EXPECT_FALSE(w.Shown(w.a1));
    EXPECT_FALSE(w.Shown(w.a2));
    EXPECT_GE(w.Count(L"itemdbclick", w.a), 1);
    w.DoubleClick(TreeWindow::Text(w.a));
    EXPECT_FALSE(w.a->GetFolderButton()->IsSelected());
    EXPECT_TRUE(w.Shown(w.a1));
    EXPECT_TRUE(w.Shown(w.a2));
    // A leaf has nothing to fold; its rows around it stay.
    w.DoubleClick(TreeWindow::Text(w.b));
    EXPECT_TRUE(w.Shown(w.b));
    EXPECT_TRUE(w.Shown(w.a2));
}

TEST(TreeViewWindow, CheckingANodeChecksEveryDescendant)
{
    TreeWindow w;
    ASSERT_TRUE(w.a->GetVisibleCheckBtn());
    w.Click(SkinnedWindow::Centre(w.a->GetCheckBox()));
    EXPECT_TRUE(w.a->IsCheckBoxSelected());
    EXPECT_TRUE(w.a1->IsCheckBoxSelected());
    EXPECT_TRUE(w.a1x->IsCheckBoxSelected());
    EXPECT_TRUE(w.a2->IsCheckBoxSelected());
    EXPECT_FALSE(w.b->IsCheckBoxSelected());
    // Unchecking a middle node reaches its own subtree only.
    w.Click(SkinnedWindow::Centre(w.a1->GetCheckBox()));
    EXPECT_FALSE(w.a1->IsCheckBoxSelected());
    EXPECT_FALSE(w.a1x->IsCheckBoxSelected());
    EXPECT_TRUE(w.a2->IsCheckBoxSelected());
    EXPECT_TRUE(w.a->IsCheckBoxSelected());
}

TEST(TreeViewWindow, ClickingTheTextSelectsTheNode)
{
    TreeWindow w;
    w.Click(TreeWindow::Text(w.a2));
    EXPECT_TRUE(w.a2->IsSelected());
    EXPECT_EQ(3, w.tree->GetCurSel());
    EXPECT_FALSE(w.a2->GetFolderButton()->IsSelected());
}

TEST(TreeViewWindow, RemovingANodeWhileShownTakesItsRows)
{
    TreeWindow w;
    ASSERT_TRUE(w.tree->Remove(w.a1));
    w.Settle();
    EXPECT_EQ(3, w.tree->GetCount());
    EXPECT_EQ(1, w.a->GetCountChild());
    EXPECT_EQ(w.a2, w.a->GetChildNode(0));
    EXPECT_EQ(1, w.a2->GetTreeIndex());
    // Folding still works on what is left.
    w.Click(SkinnedWindow::Centre(w.a->GetFolderButton()));
    EXPECT_FALSE(w.Shown(w.a2));
}
