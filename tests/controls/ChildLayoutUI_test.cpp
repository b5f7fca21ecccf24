#include <gtest/gtest.h>

#include "ControlTestHelpers.h"
#include "controls/ChildLayoutUI.h"
#include "controls/VerticalLayoutUI.h"
#include "support/TestSupport.h"

using namespace Veneer;
using namespace ControlTest;

namespace {

class ChildLayouts : public ::testing::Test {
protected:
    void SetUp() override { CPaintManagerUI::SetResourcePath(TestSupport::FixturePath(L"controls2/").c_str()); }
    void TearDown() override
    {
        delete root;
        CPaintManagerUI::SetResourcePath(L"");
    }
    // A child layout for `file` inside a root attached to the manager.
    CChildLayoutUI* Attach(LPCWSTR file)
    {
        root = new CVerticalLayoutUI;
        auto* child = new CChildLayoutUI;
        child->SetAttribute(L"xmlfile", file);
        root->Add(child);
        manager.InitControls(root);
        return child;
    }

    CPaintManagerUI manager;
    CVerticalLayoutUI* root { nullptr };
};

}  // namespace

TEST_F(ChildLayouts, BuildsItsFileWhenAttached)
{
    CChildLayoutUI* child = Attach(L"page.xml");
    EXPECT_STREQ(L"page.xml", child->GetChildLayoutXML().GetData());
    ASSERT_EQ(1, child->GetCount());
    EXPECT_EQ(child->GetItemAt(0), manager.FindControl(L"pageroot"));
    EXPECT_NE(nullptr, manager.FindControl(L"inner"));
}

TEST_F(ChildLayouts, AnswersOnlyItsOwnInterfaceNotTheContainers)
{
    CChildLayoutUI child;
    EXPECT_EQ(&child, child.GetInterface(L"ChildLayout"));
    EXPECT_EQ(nullptr, child.GetInterface(L"Container"));
    EXPECT_EQ(nullptr, child.GetInterface(L"IContainer"));
    EXPECT_EQ(&child, child.GetInterface(L"Control"));
}

TEST_F(ChildLayouts, MissingFileEndsWithNoChildren)
{
    CChildLayoutUI* child = Attach(L"no-such-file.xml");
    EXPECT_EQ(0, child->GetCount());
}

TEST_F(ChildLayouts, FileIncludingItselfIsRefused)
{
    CChildLayoutUI* child = Attach(L"self.xml");
    ASSERT_EQ(1, child->GetCount());
    auto* again = static_cast<CChildLayoutUI*>(manager.FindControl(L"again"));
    ASSERT_NE(nullptr, again);
    EXPECT_EQ(0, again->GetCount());
}

TEST_F(ChildLayouts, FilesIncludingEachOtherStopAtTheRepeat)
{
    Attach(L"ping.xml");
    auto* toPong = static_cast<CChildLayoutUI*>(manager.FindControl(L"toPong"));
    auto* toPing = static_cast<CChildLayoutUI*>(manager.FindControl(L"toPing"));
    ASSERT_NE(nullptr, toPong);
    ASSERT_NE(nullptr, toPing);
    EXPECT_EQ(1, toPong->GetCount());
    EXPECT_EQ(0, toPing->GetCount());
}
