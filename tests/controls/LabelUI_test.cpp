#include <gtest/gtest.h>

#include <type_traits>

#include "LabelPaintSurface.h"
#include "controls/LabelUI.h"
#include "engine/PaintManagerUI.h"

using namespace Veneer;
using namespace WidgetTests;

namespace {

class LabelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A large font makes glyph pixels easy to find.
        m_pm.AddFont(L"Tahoma", 28, true, false, false);
        m_label = new CLabelUI;
        m_label->SetManager(&m_pm, nullptr, false);
        m_label->SetFont(0);
    }
    void TearDown() override { delete m_label; }

    void Place(const RECT& rc) { m_label->SetPos(rc); }
    void Paint() { m_label->DoPaint(m_surface.Dc(), m_label->GetPos()); }

    CPaintManagerUI m_pm;
    CLabelUI* m_label { nullptr };
    PaintSurface m_surface { 240, 60 };
};

}  // namespace

TEST(LabelBasics, NamesDefaultsAndNothrowDestruction)
{
    CLabelUI label;
    EXPECT_STREQ(label.GetClass(), L"LabelUI");
    EXPECT_EQ(label.GetInterface(L"Label"), static_cast<LPVOID>(&label));
    EXPECT_EQ(label.GetInterface(L"Control"), static_cast<LPVOID>(static_cast<CControlUI*>(&label)));
    EXPECT_EQ(label.GetInterface(L"Button"), nullptr);
    EXPECT_EQ(label.GetTextStyle(), static_cast<UINT>(DT_VCENTER));
    EXPECT_EQ(label.GetFont(), -1);
    EXPECT_EQ(label.GetTransText(), 168);
    EXPECT_EQ(label.GetTransShadow1(), 60);
    EXPECT_EQ(label.GetTransStroke(), 255);
    EXPECT_EQ(label.GetTextColor1(), 0xFFFFFFFFu);
    EXPECT_EQ(label.GetTextShadowColorA(), 0xFF000000u);
    EXPECT_FALSE(label.GetEnabledEffect());
    EXPECT_TRUE(std::is_nothrow_destructible<CLabelUI>::value);
}

TEST(LabelAttributes, AlignWordsChangeTheStyleInOrder)
{
    CLabelUI label;
    label.SetAttribute(L"align", L"right");
    EXPECT_EQ(label.GetTextStyle(), static_cast<UINT>(DT_RIGHT));  // vcenter and single line removed

    label.SetTextStyle(0);
    label.SetAttribute(L"align", L"vcenter");
    EXPECT_EQ(label.GetTextStyle(), 0x25u);  // "vcenter" also holds "center"

    label.SetTextStyle(DT_CENTER | DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    label.SetAttribute(L"align", L"left");
    EXPECT_EQ(label.GetTextStyle(), 0u);

    label.SetTextStyle(DT_VCENTER);
    label.SetAttribute(L"align", L"top");
    EXPECT_EQ(label.GetTextStyle(), static_cast<UINT>(DT_SINGLELINE));

    label.SetTextStyle(DT_VCENTER);
    label.SetAttribute(L"align", L"bottom");
    EXPECT_EQ(label.GetTextStyle(), static_cast<UINT>(DT_BOTTOM | DT_SINGLELINE));

    label.SetTextStyle(DT_RIGHT);
    label.SetAttribute(L"align", L"center");
    EXPECT_EQ(label.GetTextStyle(), static_cast<UINT>(DT_CENTER));

    label.SetTextStyle(DT_VCENTER);
    label.SetAttribute(L"align", L"nonsense");
    EXPECT_EQ(label.GetTextStyle(), static_cast<UINT>(DT_VCENTER));
}

TEST(LabelAttributes, ValuesAndMalformedValues)
{
    CLabelUI label;
    label.SetAttribute(L"endellipsis", L"true");
    EXPECT_NE(label.GetTextStyle() & DT_END_ELLIPSIS, 0u);
    label.SetAttribute(L"endellipsis", L"TRUE");
    EXPECT_EQ(label.GetTextStyle() & DT_END_ELLIPSIS, 0u);

    label.SetAttribute(L"font", L"3");
    EXPECT_EQ(label.GetFont(), 3);
    label.SetAttribute(L"font", L"x");
    EXPECT_EQ(label.GetFont(), 0);

    label.SetAttribute(L"textcolor", L"#FF112233");
    EXPECT_EQ(label.GetTextColor(), 0xFF112233u);
    label.SetAttribute(L"disabledtextcolor", L"80445566");
    EXPECT_EQ(label.GetDisabledTextColor(), 0x80445566u);
    label.SetAttribute(L"textcolor", L"#zz");
    EXPECT_EQ(label.GetTextColor(), 0u);

    label.SetAttribute(L"textpadding", L"1,2,3,4");
    RECT padding = label.GetTextPadding();
    EXPECT_EQ(padding.left, 1);
    EXPECT_EQ(padding.top, 2);
    EXPECT_EQ(padding.right, 3);
    EXPECT_EQ(padding.bottom, 4);
    label.SetAttribute(L"textpadding", L"5,6");
    padding = label.GetTextPadding();
    EXPECT_EQ(padding.left, 5);
    EXPECT_EQ(padding.top, 6);
    EXPECT_EQ(padding.right, 0);
    EXPECT_EQ(padding.bottom, 0);

    label.SetAttribute(L"showhtml", L"true");
    EXPECT_TRUE(label.IsShowHtml());
    label.SetAttribute(L"rhaa", L"7");
    EXPECT_EQ(label.GetTextRenderingHintAntiAlias(), 0);
    label.SetAttribute(L"rhaa", L"4");
    EXPECT_EQ(label.GetTextRenderingHintAntiAlias(), 4);
    label.SetAttribute(L"rhaa", L"-1");
    EXPECT_EQ(label.GetTextRenderingHintAntiAlias(), 0);

    label.SetAttribute(L"transshadow", L"10");
    label.SetAttribute(L"transshadow1", L"11");
    label.SetAttribute(L"transtext", L"12");
    label.SetAttribute(L"transtext1", L"13");
    label.SetAttribute(L"transstroke", L"14");
    label.SetAttribute(L"gradientangle", L"-5");
    label.SetAttribute(L"gradientlength", L"30");
    EXPECT_EQ(label.GetTransShadow(), 10);
    EXPECT_EQ(label.GetTransShadow1(), 11);
    EXPECT_EQ(label.GetTransText(), 12);
    EXPECT_EQ(label.GetTransText1(), 13);
    EXPECT_EQ(label.GetTransStroke(), 14);
    EXPECT_EQ(label.GetGradientAngle(), -5);
    EXPECT_EQ(label.GetGradientLength(), 30);

    label.SetAttribute(L"enabledstroke", L"true");
    label.SetAttribute(L"enabledshadow", L"true");
    label.SetAttribute(L"textcolor1", L"#FF010203");
    label.SetAttribute(L"textshadowcolora", L"#FF040506");
    label.SetAttribute(L"textshadowcolorb", L"#FF070809");
    label.SetAttribute(L"strokecolor", L"#FF0A0B0C");
    EXPECT_TRUE(label.GetEnabledStroke());
    EXPECT_TRUE(label.GetEnabledShadow());
    EXPECT_EQ(label.GetTextColor1(), 0xFF010203u);
    EXPECT_EQ(label.GetTextShadowColorA(), 0xFF040506u);
    EXPECT_EQ(label.GetTextShadowColorB(), 0xFF070809u);
    EXPECT_EQ(label.GetStrokeColor(), 0xFF0A0B0Cu);

    // Names the label does not know reach the control base.
    label.SetAttribute(L"name", L"caption");
    EXPECT_EQ(label.GetName(), CStdString(L"caption"));
    label.SetAttribute(L"Font", L"9");
    EXPECT_EQ(label.GetFont(), 0);
}

TEST(LabelAttributes, ShadowOffsetFollowsTheAngle)
{
    CLabelUI label;
    label.SetAttribute(L"shadowoffset", L"2,45");
    Gdiplus::RectF offset = label.GetShadowOffset();
    EXPECT_FLOAT_EQ(offset.X, -2.0f);  // vertical shift lands in X
    EXPECT_FLOAT_EQ(offset.Y, -2.0f);

    label.SetShadowOffset(3, -135);
    offset = label.GetShadowOffset();
    EXPECT_FLOAT_EQ(offset.X, 3.0f);
    EXPECT_FLOAT_EQ(offset.Y, 3.0f);

    label.SetShadowOffset(3, 120);
    offset = label.GetShadowOffset();
    EXPECT_FLOAT_EQ(offset.X, -3.0f);
    EXPECT_FLOAT_EQ(offset.Y, 3.0f);

    label.SetShadowOffset(9, 181);  // out of range: unchanged
    offset = label.GetShadowOffset();
    EXPECT_FLOAT_EQ(offset.X, -3.0f);
    EXPECT_FLOAT_EQ(offset.Y, 3.0f);

    label.SetAttribute(L"shadowoffset", L"garbage");  // offset 0, angle 0
    offset = label.GetShadowOffset();
    EXPECT_FLOAT_EQ(offset.X, 0.0f);
    EXPECT_FLOAT_EQ(offset.Y, 0.0f);
}

TEST(LabelText, TextGoesToTheEffectsTextOnlyAfterEnabledEffect)
{
    CLabelUI before;
    before.SetAttribute(L"text", L"plain");
    before.SetAttribute(L"enabledeffect", L"true");
    EXPECT_EQ(before.GetText(), CStdString(L""));
    EXPECT_EQ(before.CControlUI::GetText(), CStdString(L"plain"));

    CLabelUI after;
    after.SetAttribute(L"enabledeffect", L"true");
    after.SetAttribute(L"text", L"effect");
    EXPECT_EQ(after.GetText(), CStdString(L"effect"));
    EXPECT_EQ(after.CControlUI::GetText(), CStdString(L""));
    after.SetEnabledEffect(false);
    EXPECT_EQ(after.GetText(), CStdString(L""));
}

TEST_F(LabelTest, EstimateSizeUsesTheFontHeightUnlessFixed)
{
    m_label->SetFixedWidth(70);
    const SIZE estimated = m_label->EstimateSize(SIZE { 500, 500 });
    EXPECT_EQ(estimated.cx, 70);
    EXPECT_EQ(estimated.cy, m_pm.GetFontInfo(0)->tm.tmHeight + 4);
    EXPECT_GT(estimated.cy, 20);

    m_label->SetFixedWidth(0);
    EXPECT_EQ(m_label->EstimateSize(SIZE { 500, 500 }).cx, 0);

    m_label->SetFixedHeight(17);
    const SIZE fixed = m_label->EstimateSize(SIZE { 500, 500 });
    EXPECT_EQ(fixed.cx, 0);
    EXPECT_EQ(fixed.cy, 17);
}

TEST_F(LabelTest, PaintsPlainTextInsideItsPaddedRectangle)
{
    Place(RECT { 10, 5, 230, 55 });
    m_label->SetText(L"Hello");
    m_label->SetTextPadding(RECT { 100, 0, 0, 0 });
    Paint();
    EXPECT_EQ(m_surface.CountDark(RECT { 0, 0, 110, 60 }), 0);
    EXPECT_GT(m_surface.CountDark(RECT { 110, 5, 230, 55 }), 30);
}

TEST_F(LabelTest, ZeroTextColourTakesTheManagerDefaultAndKeepsIt)
{
    m_pm.SetDefaultFontColor(0xFFFF0000);
    Place(RECT { 0, 0, 240, 60 });
    m_label->SetAttribute(L"textcolor", L"#00000000");
    m_label->SetText(L"Red");
    Paint();
    EXPECT_EQ(m_label->GetTextColor(), 0xFFFF0000u);
    EXPECT_GT(m_surface.Count(m_surface.Whole(), IsReddish), 20);
}

TEST_F(LabelTest, DisabledLabelUsesTheDisabledColour)
{
    Place(RECT { 0, 0, 240, 60 });
    m_label->SetText(L"Blue");
    m_label->SetTextColor(0xFFFF0000);
    m_label->SetDisabledTextColor(0xFF0000FF);
    m_label->SetEnabled(false);
    Paint();
    EXPECT_EQ(m_surface.Count(m_surface.Whole(), IsReddish), 0);
    EXPECT_GT(m_surface.Count(m_surface.Whole(), IsBluish), 20);
}

TEST_F(LabelTest, TaggedTextIsFormattedOnlyWithShowHtml)
{
    Place(RECT { 0, 0, 240, 60 });
    m_label->SetTextColor(0xFF000000);
    m_label->SetText(L"ab{c #0000FF}BLUE{/c}");
    Paint();
    EXPECT_EQ(m_surface.Count(m_surface.Whole(), IsBluish), 0);
    const int plainDark = m_surface.CountDark(m_surface.Whole());
    EXPECT_GT(plainDark, 0);

    m_surface.Fill(0xFFFFFF);
    m_label->SetShowHtml(true);
    Paint();
    EXPECT_GT(m_surface.Count(m_surface.Whole(), IsBluish), 20);
}

TEST_F(LabelTest, EmptyTextDrawsNothing)
{
    Place(RECT { 0, 0, 240, 60 });
    Paint();
    EXPECT_EQ(m_surface.CountDark(m_surface.Whole()), 0);
}

TEST_F(LabelTest, EffectsDrawTheEffectsTextWithGdiplus)
{
    Place(RECT { 0, 0, 240, 60 });
    m_label->SetAttribute(L"enabledeffect", L"true");
    m_label->SetAttribute(L"text", L"Effect");
    m_label->SetTextColor(0xFFFF0000);
    m_label->SetTransText(255);
    m_label->SetTransText1(255);
    Paint();
    EXPECT_GT(m_surface.Count(m_surface.Whole(), IsReddish), 30);
    EXPECT_EQ(m_surface.Count(m_surface.Whole(), IsBluish), 0);
    // Near alignment: nothing in the right part of the line.
    EXPECT_EQ(m_surface.Count(RECT { 200, 0, 240, 60 }, IsReddish), 0);
}

TEST_F(LabelTest, EffectsWithTextGivenFirstDrawNothing)
{
    Place(RECT { 0, 0, 240, 60 });
    m_label->SetAttribute(L"text", L"Effect");
    m_label->SetAttribute(L"enabledeffect", L"true");
    m_label->SetTextColor(0xFF000000);
    Paint();
    EXPECT_EQ(m_surface.CountDark(m_surface.Whole()), 0);
}

TEST_F(LabelTest, StrokeNeedsBothTheFlagAndANonZeroColour)
{
    Place(RECT { 0, 0, 240, 60 });
    m_label->SetAttribute(L"enabledeffect", L"true");
    m_label->SetAttribute(L"text", L"Stroke");
    m_label->SetTextColor(0xFFFF0000);
    m_label->SetAttribute(L"enabledstroke", L"true");
    Paint();
    EXPECT_EQ(m_surface.Count(m_surface.Whole(), IsBluish), 0);

    m_surface.Fill(0xFFFFFF);
    m_label->SetAttribute(L"strokecolor", L"#FF0000FF");
    Paint();
    EXPECT_GT(m_surface.Count(m_surface.Whole(), IsBluish), 20);

    m_surface.Fill(0xFFFFFF);
    m_label->SetAttribute(L"enabledstroke", L"false");
    Paint();
    EXPECT_EQ(m_surface.Count(m_surface.Whole(), IsBluish), 0);
}

TEST_F(LabelTest, ShadowIsDrawnAtItsOffset)
{
    Place(RECT { 0, 0, 240, 60 });
    m_label->SetAttribute(L"enabledeffect", L"true");
    m_label->SetAttribute(L"text", L"Shadow");
    m_label->SetTextColor(0xFFFF0000);
    m_label->SetTextShadowColorA(0xFF00C000);
    m_label->SetTransShadow(255);
    m_label->SetTransShadow1(255);
    m_label->SetShadowOffset(4, -135);  // placed at the origin: 4 right and 4 down
    m_label->SetAttribute(L"enabledshadow", L"false");
    Paint();
    EXPECT_EQ(m_surface.Count(m_surface.Whole(), IsGreenish), 0);

    m_surface.Fill(0xFFFFFF);
    m_label->SetAttribute(L"enabledshadow", L"true");
    Paint();
    EXPECT_GT(m_surface.Count(m_surface.Whole(), IsGreenish), 20);
}

TEST_F(LabelTest, GdiplusStaysAvailableWhileAnyLabelExists)
{
    CLabelUI* first = new CLabelUI;
    delete first;  // its shutdown must not end GDI+ for the others
    Place(RECT { 0, 0, 240, 60 });
    m_label->SetAttribute(L"enabledeffect", L"true");
    m_label->SetAttribute(L"text", L"Still");
    m_label->SetTextColor(0xFFFF0000);
    Paint();
    EXPECT_GT(m_surface.Count(m_surface.Whole(), IsReddish), 20);
}
