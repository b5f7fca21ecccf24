#include <gtest/gtest.h>

#include "ControlTestHelpers.h"
#include "controls/TileLayoutUI.h"
#include "foundation/DialogBuilder.h"

using namespace Veneer;
using namespace ControlTest;

TEST(TileLayout, ItemWidthDerivesTheColumnCountFromTheWidth)
{
    CTileLayoutUI tile;
    tile.SetItemSize(SIZE { 100, 0 });
    tile.Add(Box(0, 10));
    tile.SetPos(R(0, 0, 300, 100));
    EXPECT_EQ(3, tile.GetColumns());
    tile.SetPos(R(0, 0, 250, 100));
    EXPECT_EQ(2, tile.GetColumns());
    tile.SetPos(R(0, 0, 80, 100));
    EXPECT_EQ(1, tile.GetColumns());
}

TEST(TileLayout, InsetWiderThanTheLayoutGivesOneColumnAndNoNegativeCells)
{
    CTileLayoutUI tile;
    tile.SetItemSize(SIZE { 100, 0 });
    tile.SetInset(R(60, 5, 60, 5));
    tile.SetChildPadding(10);
    CControlUI* a = Box(0, 10);
    tile.Add(a);
    tile.SetPos(R(0, 0, 80, 100));
    EXPECT_EQ(1, tile.GetColumns());
    EXPECT_GE(a->GetWidth(), 0);
    EXPECT_GE(a->GetHeight(), 0);
}

TEST(TileLayout, ChildPaddingGivesHalfGapsInsideAndNoneAtTheEdges)
{
    CTileLayoutUI tile;
    tile.SetColumns(2);
    tile.SetChildPadding(10);
    CControlUI* c[4] = { Box(0, 20), Box(0, 20), Box(0, 20), Box(0, 20) };
    for (CControlUI* p : c) {
        tile.Add(p);
    }
    tile.SetPos(R(0, 0, 200, 200));
    EXPECT_TRUE(RectEq(R(0, 0, 95, 20), c[0]->GetPos()));
    EXPECT_TRUE(RectEq(R(105, 0, 200, 20), c[1]->GetPos()));
    EXPECT_TRUE(RectEq(R(0, 30, 95, 50), c[2]->GetPos()));
    EXPECT_TRUE(RectEq(R(105, 30, 200, 50), c[3]->GetPos()));
}

TEST(TileLayout, TallestMemberSetsTheRowAndSmallerOnesAreCentred)
{
    CTileLayoutUI tile;
    tile.SetColumns(2);
    tile.SetChildPadding(4);
    CControlUI* a = Box(20, 10);
    CControlUI* b = Box(20, 40);
    CControlUI* c = Box(20, 10);
    tile.Add(a);
    tile.Add(b);
    tile.Add(c);
    tile.SetPos(R(0, 0, 100, 200));
    // Cell 0 is 0..48 wide, 0..40 high: a 20x10 child centred in it.
    EXPECT_TRUE(RectEq(R(14, 15, 34, 25), a->GetPos()));
    EXPECT_EQ(0, b->GetPos().top);
    EXPECT_EQ(40, b->GetPos().bottom);
    // Next row starts at 40 + 4.
    EXPECT_EQ(44 + (10 - 10) / 2, c->GetPos().top);
}

TEST(TileLayout, ColumnsAttributeIgnoresZeroAndNegative)
{
    CTileLayoutUI tile;
    tile.SetAttribute(L"columns", L"3");
    EXPECT_EQ(3, tile.GetColumns());
    tile.SetAttribute(L"columns", L"0");
    tile.SetAttribute(L"columns", L"-4");
    tile.SetAttribute(L"columns", L"junk");
    EXPECT_EQ(3, tile.GetColumns());
    tile.SetAttribute(L"itemsize", L"40,30");
    EXPECT_EQ(40, tile.GetItemSize().cx);
    EXPECT_EQ(30, tile.GetItemSize().cy);
}

TEST(TileLayout, NegativeOrMalformedItemSizeKeepsTheColumnCount)
{
    CTileLayoutUI tile;
    tile.SetColumns(2);
    tile.SetAttribute(L"itemsize", L"-100,x");
    CControlUI* a = Box(0, 10);
    tile.Add(a);
    tile.SetPos(R(0, 0, 100, 50));
    EXPECT_EQ(2, tile.GetColumns());
    EXPECT_EQ(50, a->GetWidth());
}

TEST(TileLayout, BuilderMakesTileLayouts)
{
    CDialogBuilder builder;
    CControlUI* root = builder.Create(STRINGorID(L"<Window><TileLayout columns=\"4\"><Control /></TileLayout></Window>"));
    ASSERT_NE(nullptr, root);
    auto* tile = static_cast<CTileLayoutUI*>(root->GetInterface(L"TileLayout"));
    ASSERT_NE(nullptr, tile);
    EXPECT_STREQ(L"TileLayoutUI", tile->GetClass());
    EXPECT_EQ(4, tile->GetColumns());
    EXPECT_EQ(1, tile->GetCount());
    delete root;
}
