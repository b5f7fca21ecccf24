#include <gtest/gtest.h>

#include "ControlTestHelpers.h"
#include "controls/ScrollBarUI.h"
#include "controls/VerticalLayoutUI.h"

using namespace Veneer;
using namespace ControlTest;

// A tree attached to a paint manager that has no window.
class AttachedTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = new CVerticalLayoutUI;
        root->SetName(L"Root");
        auto* group = new CVerticalLayoutUI;
        group->SetName(L"Group");
        auto* label = new CControlUI;
        label->SetName(L"Title");
        label->SetText(L"hello");
        label->SetUserData(L"data");
        label->SetFixedHeight(20);
        label->SetFixedWidth(30);
        group->Add(label);
        root->Add(group);
        manager.InitControls(root);
    }
    void TearDown() override { delete root; }

    CPaintManagerUI manager;
    CVerticalLayoutUI* root { nullptr };
};

TEST_F(AttachedTree, AttachingSetsManagerAndParentsAndRegistersNames)
{
    CControlUI* group = root->GetItemAt(0);
    auto* container = static_cast<CContainerUI*>(group->GetInterface(L"Container"));
    ASSERT_NE(nullptr, container);
    CControlUI* label = container->GetItemAt(0);
    EXPECT_EQ(&manager, label->GetManager());
    EXPECT_EQ(group, label->GetParent());
    EXPECT_EQ(root, group->GetParent());
    EXPECT_EQ(label, manager.FindControl(L"Title"));
}

TEST_F(AttachedTree, NameLookupIsCaseSensitiveSubControlLookupIsNot)
{
    EXPECT_EQ(nullptr, manager.FindControl(L"title"));
    CControlUI* label = root->FindSubControl(L"TITLE");
    ASSERT_NE(nullptr, label);
    EXPECT_STREQ(L"Title", label->GetName().GetData());
    EXPECT_EQ(nullptr, root->FindSubControl(L"missing"));
    EXPECT_EQ(root, root->FindSubControl(L"root"));
}

TEST_F(AttachedTree, SubControlHelpers)
{
    EXPECT_STREQ(L"hello", root->GetSubControlText(L"title").GetData());
    EXPECT_EQ(20, root->GetSubControlFixedHeight(L"Title"));
    EXPECT_EQ(30, root->GetSubControlFixedWidth(L"Title"));
    EXPECT_STREQ(L"data", root->GetSubControlUserData(L"Title").GetData());
    EXPECT_TRUE(root->SetSubControlText(L"title", L"bye"));
    EXPECT_TRUE(root->SetSubControlFixedHeight(L"title", 25));
    EXPECT_TRUE(root->SetSubControlFixedWdith(L"title", 35));
    EXPECT_TRUE(root->SetSubControlUserData(L"title", L"other"));
    EXPECT_STREQ(L"bye", root->GetSubControlText(L"Title").GetData());
    EXPECT_EQ(25, root->GetSubControlFixedHeight(L"Title"));
    EXPECT_EQ(35, root->GetSubControlFixedWidth(L"Title"));
    EXPECT_STREQ(L"other", root->GetSubControlUserData(L"Title").GetData());

    EXPECT_FALSE(root->SetSubControlText(L"nobody", L"x"));
    EXPECT_FALSE(root->SetSubControlFixedHeight(L"nobody", 1));
    EXPECT_FALSE(root->SetSubControlFixedWdith(L"nobody", 1));
    EXPECT_FALSE(root->SetSubControlUserData(L"nobody", L"x"));
    EXPECT_TRUE(root->GetSubControlText(L"nobody").IsEmpty());
    EXPECT_EQ(-1, root->GetSubControlFixedHeight(L"nobody"));
    EXPECT_EQ(-1, root->GetSubControlFixedWidth(L"nobody"));
    EXPECT_TRUE(root->GetSubControlUserData(L"nobody").IsEmpty());

    CContainerUI detached;
    EXPECT_EQ(nullptr, detached.FindSubControl(L"Title"));
    EXPECT_EQ(-1, detached.GetSubControlFixedHeight(L"Title"));
}

TEST_F(AttachedTree, ChildrenAddedLaterAreAttachedAndNamed)
{
    auto* late = new CControlUI;
    late->SetName(L"Late");
    root->Add(late);
    EXPECT_EQ(&manager, late->GetManager());
    EXPECT_EQ(root, late->GetParent());
    EXPECT_EQ(late, manager.FindControl(L"Late"));
}

TEST_F(AttachedTree, ScrollBarsShareTheManagerAndUseItsDefaultLists)
{
    manager.AddDefaultAttributeList(L"VScrollBar", L"width=\"11\" linesize=\"4\"");
    root->EnableScrollBar(true, false);
    CScrollBarUI* bar = root->GetVerticalScrollBar();
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(&manager, bar->GetManager());
    EXPECT_EQ(11, bar->GetFixedWidth());
    EXPECT_EQ(4, bar->GetLineSize());
}

TEST_F(AttachedTree, LineStepIsTheDefaultFontHeightPlusEight)
{
    root->EnableScrollBar(true, false);
    for (int i = 0; i < 20; ++i) {
        root->Add(Box(0, 40));
    }
    root->SetPos(R(0, 0, 100, 100));
    ASSERT_TRUE(root->GetVerticalScrollBar()->IsVisible());
    const int line = manager.GetDefaultFontInfo()->tm.tmHeight + 8;
    EXPECT_GT(line, 8);
    root->LineDown();
    EXPECT_EQ(line, root->GetScrollPos().cy);
}

TEST_F(AttachedTree, RemovedChildrenAreForgottenByName)
{
    auto* group = static_cast<CContainerUI*>(root->GetItemAt(0)->GetInterface(L"Container"));
    group->SetDelayedDestroy(false);
    EXPECT_TRUE(group->RemoveAt(0));
    EXPECT_EQ(nullptr, manager.FindControl(L"Title"));
    EXPECT_EQ(nullptr, root->FindSubControl(L"Title"));
}

TEST_F(AttachedTree, HidingAFocusedControlClearsTheWindowFocus)
{
    CControlUI* group = root->GetItemAt(0);
    manager.SetFocus(group);
    if (manager.GetFocus() != group) {
        GTEST_SKIP() << "focus needs a window here";
    }
    group->SetVisible(false);
    EXPECT_EQ(nullptr, manager.GetFocus());
}

TEST_F(AttachedTree, SetPosClearsTheUpdateFlagAndHidingMarksTheParent)
{
    root->SetPos(R(0, 0, 100, 100));
    CControlUI* group = root->GetItemAt(0);
    EXPECT_FALSE(root->IsUpdateNeeded());
    EXPECT_FALSE(group->IsUpdateNeeded());
    group->SetVisible(false);
    EXPECT_TRUE(root->IsUpdateNeeded());
}

TEST_F(AttachedTree, FloatChildRecordsItsPlacementForLaterLayouts)
{
    auto* floating = new CControlUI;
    floating->SetFloat(true);
    floating->SetFixedXY(SIZE { -30, 10 });
    floating->SetFixedWidth(20);
    floating->SetFixedHeight(20);
    root->Add(floating);
    root->SetPos(R(0, 0, 100, 100));
    EXPECT_TRUE(RectEq(R(50, 10, 70, 30), floating->GetPos()));
    floating->SetPos(R(40, 20, 70, 50));
    EXPECT_EQ(-30, floating->GetFixedXY().cx);
    EXPECT_EQ(20, floating->GetFixedXY().cy);
    EXPECT_EQ(30, floating->GetFixedWidth());
    root->SetPos(R(0, 0, 200, 100));
    EXPECT_TRUE(RectEq(R(140, 20, 170, 50), floating->GetPos()));
}
