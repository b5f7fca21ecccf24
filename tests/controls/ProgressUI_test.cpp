#include <gtest/gtest.h>

#include <climits>

#include "ControlTestHelpers.h"
#include "controls/ProgressUI.h"
#include "foundation/DialogBuilder.h"

using namespace Veneer;
using namespace ControlTest;

namespace {

// Paints the status image into a scratch DC, which normalises the values.
void Paint(CProgressUI& progress)
{
    HDC hDC = ::CreateCompatibleDC(nullptr);
    progress.PaintStatusImage(hDC);
    ::DeleteDC(hDC);
}

}  // namespace

TEST(Progress, DefaultsAndClass)
{
    CProgressUI progress;
    EXPECT_STREQ(L"ProgressUI", progress.GetClass());
    EXPECT_EQ(&progress, progress.GetInterface(L"Progress"));
    EXPECT_NE(nullptr, progress.GetInterface(L"Label"));
    EXPECT_EQ(12, progress.GetFixedHeight());
    EXPECT_EQ(static_cast<UINT>(DT_SINGLELINE | DT_CENTER), progress.GetTextStyle());
    EXPECT_EQ(0, progress.GetMinValue());
    EXPECT_EQ(100, progress.GetMaxValue());
    EXPECT_TRUE(progress.IsHorizontal());
    EXPECT_TRUE(progress.IsStretchForeImage());
}

TEST(Progress, HorizontalFillIsProportional)
{
    CProgressUI progress;
    progress.SetPos(R(0, 0, 200, 12));
    progress.SetValue(25);
    EXPECT_TRUE(RectEq(R(0, 0, 50, 12), progress.GetFilledRect()));
    progress.SetValue(100);
    EXPECT_TRUE(RectEq(R(0, 0, 200, 12), progress.GetFilledRect()));
}

TEST(Progress, VerticalFillGrowsFromTheBottom)
{
    CProgressUI progress;
    progress.SetAttribute(L"hor", L"false");
    progress.SetPos(R(10, 10, 30, 110));
    progress.SetValue(30);
    EXPECT_TRUE(RectEq(R(0, 70, 20, 100), progress.GetFilledRect()));
}

TEST(Progress, PaintNormalisesMinimumEqualToMaximumAndOutOfRangeValues)
{
    CProgressUI progress;
    progress.SetPos(R(0, 0, 100, 12));
    progress.SetMinValue(10);
    progress.SetMaxValue(10);
    EXPECT_TRUE(RectEq(R(0, 0, 0, 12), progress.GetFilledRect()));  // no division by zero
    Paint(progress);
    EXPECT_EQ(11, progress.GetMaxValue());
    EXPECT_EQ(10, progress.GetValue());

    progress.SetMinValue(0);
    progress.SetMaxValue(100);
    progress.SetValue(150);
    Paint(progress);
    EXPECT_EQ(100, progress.GetValue());
    progress.SetValue(-5);
    Paint(progress);
    EXPECT_EQ(0, progress.GetValue());
}

TEST(Progress, ExtremeIntegersNeitherOverflowNorEscapeTheControl)
{
    CProgressUI progress;
    progress.SetPos(R(0, 0, 200, 12));
    progress.SetMinValue(INT_MIN);
    progress.SetMaxValue(INT_MAX);
    progress.SetValue(INT_MAX);
    EXPECT_TRUE(RectEq(R(0, 0, 200, 12), progress.GetFilledRect()));
    progress.SetValue(0);
    EXPECT_EQ(100, progress.GetFilledRect().right);

    progress.SetMinValue(INT_MAX);
    progress.SetMaxValue(INT_MAX);
    Paint(progress);
    EXPECT_LT(progress.GetMinValue(), progress.GetMaxValue());
    EXPECT_EQ(INT_MAX, progress.GetMaxValue());

    progress.SetMinValue(50);
    progress.SetMaxValue(-50);  // minimum above maximum, before any paint
    progress.SetValue(INT_MIN);
    const RECT rc = progress.GetFilledRect();
    EXPECT_GE(rc.right, 0);
    EXPECT_LE(rc.right, 200);
}

TEST(Progress, AttributesIncludingMalformedNumbers)
{
    CProgressUI progress;
    progress.SetAttribute(L"min", L"5");
    progress.SetAttribute(L"max", L"50");
    progress.SetAttribute(L"value", L"abc");
    progress.SetAttribute(L"isstretchfore", L"TRUE");
    progress.SetAttribute(L"foreimage", L"fore.png");
    EXPECT_EQ(5, progress.GetMinValue());
    EXPECT_EQ(50, progress.GetMaxValue());
    EXPECT_EQ(0, progress.GetValue());
    EXPECT_FALSE(progress.IsStretchForeImage());
    EXPECT_STREQ(L"fore.png", progress.GetForeImage());
}

TEST(Progress, MissingForegroundImageIsEmptiedAtPaint)
{
    CProgressUI progress;
    progress.SetPos(R(0, 0, 100, 12));
    progress.SetForeImage(L"file='missing.png'");
    Paint(progress);
    EXPECT_STREQ(L"", progress.GetForeImage());
}

TEST(Progress, BuilderMakesProgressAndSlider)
{
    CDialogBuilder builder;
    CControlUI* root = builder.Create(STRINGorID(L"<Window><HorizontalLayout><Progress value=\"7\" /><Slider /></HorizontalLayout></Window>"));
    ASSERT_NE(nullptr, root);
    auto* layout = static_cast<CContainerUI*>(root->GetInterface(L"Container"));
    ASSERT_EQ(2, layout->GetCount());
    EXPECT_STREQ(L"ProgressUI", layout->GetItemAt(0)->GetClass());
    EXPECT_STREQ(L"SliderUI", layout->GetItemAt(1)->GetClass());
    delete root;
}
