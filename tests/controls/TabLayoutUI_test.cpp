#include <gtest/gtest.h>

#include <vector>

#include "ControlTestHelpers.h"
#include "controls/TabLayoutUI.h"

using namespace Veneer;
using namespace ControlTest;

namespace {

struct Recorder : INotifyUI {
    void Notify(TNotifyUI& msg) override
    {
        if (msg.sType == L"tabselect") {
            changes.push_back({ static_cast<int>(msg.wParam), static_cast<int>(msg.lParam) });
        }
    }
    std::vector<std::pair<int, int>> changes;
};

class Tabs : public ::testing::Test {
protected:
    void SetUp() override
    {
        tab = new CTabLayoutUI;
        for (CControlUI*& p : page) {
            p = Box(0, 0);
            tab->Add(p);
        }
        manager.InitControls(tab);
        manager.AddNotifier(&recorder);
    }
    void TearDown() override
    {
        manager.RemoveNotifier(&recorder);
        delete tab;
    }
    int VisibleCount() const
    {
        int n = 0;
        for (int i = 0; i < tab->GetCount(); ++i) {
            n += tab->GetItemAt(i)->IsVisible() ? 1 : 0;
        }
        return n;
    }

    CPaintManagerUI manager;
    Recorder recorder;
    CTabLayoutUI* tab { nullptr };
    CControlUI* page[3] {};
};

}  // namespace

TEST_F(Tabs, FirstVisiblePageIsSelectedAndTheRestHidden)
{
    EXPECT_EQ(0, tab->GetCurSel());
    EXPECT_TRUE(page[0]->IsVisible());
    EXPECT_FALSE(page[1]->IsVisible());
    EXPECT_FALSE(page[2]->IsVisible());
}

TEST_F(Tabs, SelectingNotifiesOncePerChangeWithNewAndOld)
{
    EXPECT_TRUE(tab->SelectItem(2));
    EXPECT_TRUE(tab->SelectItem(2));
    EXPECT_TRUE(tab->SelectItem(page[1]));
    ASSERT_EQ(2u, recorder.changes.size());
    EXPECT_EQ(std::make_pair(2, 0), recorder.changes[0]);
    EXPECT_EQ(std::make_pair(1, 2), recorder.changes[1]);
    EXPECT_EQ(1, VisibleCount());
    EXPECT_TRUE(page[1]->IsVisible());
}

TEST_F(Tabs, OutOfRangeOrForeignSelectionFails)
{
    EXPECT_FALSE(tab->SelectItem(-1));
    EXPECT_FALSE(tab->SelectItem(3));
    EXPECT_FALSE(tab->SelectItem(INT_MAX));
    CControlUI stranger;
    EXPECT_FALSE(tab->SelectItem(&stranger));
    EXPECT_TRUE(recorder.changes.empty());
    EXPECT_EQ(0, tab->GetCurSel());
}

TEST_F(Tabs, RemovingTheSelectedPageSelectsPageZero)
{
    tab->SelectItem(2);
    tab->Remove(page[2]);
    EXPECT_EQ(0, tab->GetCurSel());
    EXPECT_TRUE(page[0]->IsVisible());
    EXPECT_EQ(1, VisibleCount());
}

TEST_F(Tabs, RemovingAnEarlierPageKeepsTheSelectedPage)
{
    tab->SelectItem(2);
    tab->Remove(page[0]);
    EXPECT_EQ(1, tab->GetCurSel());
    EXPECT_EQ(page[2], tab->GetItemAt(tab->GetCurSel()));
    tab->RemoveAll();
    EXPECT_EQ(-1, tab->GetCurSel());
    EXPECT_FALSE(tab->Remove(nullptr));
}

TEST_F(Tabs, PageInsertedBeforeTheSelectionIsHidden)
{
    tab->SelectItem(1);
    CControlUI* early = Box(0, 0);
    ASSERT_TRUE(tab->AddAt(early, 0));
    EXPECT_EQ(2, tab->GetCurSel());
    EXPECT_EQ(page[1], tab->GetItemAt(2));
    EXPECT_FALSE(early->IsVisible());
    EXPECT_EQ(1, VisibleCount());
}

TEST_F(Tabs, OnlyTheSelectedPageIsPositionedShrunkByInsetAndPadding)
{
    tab->SetInset(R(2, 3, 4, 5));
    page[0]->SetPadding(R(1, 1, 1, 1));
    tab->SetPos(R(0, 0, 100, 50));
    EXPECT_TRUE(RectEq(R(3, 4, 95, 44), page[0]->GetPos()));
    EXPECT_TRUE(RectEq(R(0, 0, 0, 0), page[1]->GetPos()));
}

TEST_F(Tabs, SelectedIdAttributeSelects)
{
    tab->SetAttribute(L"selectedid", L"2");
    EXPECT_EQ(2, tab->GetCurSel());
    tab->SetAttribute(L"selectedid", L"-2147483648");
    tab->SetAttribute(L"selectedid", L"99999999999");
    EXPECT_EQ(2, tab->GetCurSel());
}
