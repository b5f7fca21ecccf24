// Labels and text controls in a real window built from skin markup.
#include <gtest/gtest.h>

#include "ButtonWindowHost.h"
#include "controls/LabelUI.h"
#include "controls/TextUI.h"

using namespace Veneer;
using namespace WidgetWindowTests;

namespace {

const wchar_t kSkin[] =
    L"<Window size=\"200,200\">"
    L"<Font name=\"Tahoma\" size=\"20\" bold=\"true\" />"
    L"<VerticalLayout bkcolor=\"#FFFFFFFF\">"
    L"<Label name=\"caption\" font=\"0\" textcolor=\"#FF000000\" textpadding=\"100,0,0,0\" text=\"Hi\" />"
    L"<Text name=\"links\" showhtml=\"true\" textcolor=\"#FF000000\""
    L" text=\"see {a one}first{/a} and {a two}second{/a} and more words to wrap the line\" />"
    L"<Label name=\"effect\" height=\"40\" font=\"0\" enabledeffect=\"true\" text=\"Glow\""
    L" textcolor=\"#FFFF0000\" transtext=\"255\" transtext1=\"255\" />"
    L"<Control />"
    L"</VerticalLayout>"
    L"</Window>";

bool IsDark(int r, int g, int b)
{
    return r + g + b < 300;
}
bool IsRed(int r, int g, int b)
{
    return r > 150 && r - g > 80 && r - b > 80;
}

struct LabelWindow : SkinnedWindow {
    LabelWindow() : SkinnedWindow(200, 200, kSkin)
    {
        caption = static_cast<CLabelUI*>(Find(L"caption"));
        links = static_cast<CTextUI*>(Find(L"links"));
        effect = static_cast<CLabelUI*>(Find(L"effect"));
    }
    CLabelUI* caption { nullptr };
    CTextUI* links { nullptr };
    CLabelUI* effect { nullptr };
};

}  // namespace

TEST(LabelWindow, LabelTakesItsFontHeightAndPaintsInsideItsPadding)
{
    LabelWindow w;
    ASSERT_NE(w.caption, nullptr);
    const RECT rc = w.caption->GetPos();
    EXPECT_EQ(rc.bottom - rc.top, w.host.Manager().GetFontInfo(0)->tm.tmHeight + 4);
    EXPECT_EQ(rc.right - rc.left, 200);
    EXPECT_EQ(w.CountPixels(RECT { 0, rc.top, 100, rc.bottom }, IsDark), 0);
    EXPECT_GT(w.CountPixels(RECT { 100, rc.top, 200, rc.bottom }, IsDark), 20);
}

TEST(LabelWindow, TextMeasuresItsWrappedHeight)
{
    LabelWindow w;
    ASSERT_NE(w.links, nullptr);
    const RECT rc = w.links->GetPos();
    const int line = w.host.Manager().GetDefaultFontInfo()->tm.tmHeight;
    EXPECT_GE(rc.bottom - rc.top, line * 2);
    EXPECT_GT(w.CountPixels(RECT { rc.left, rc.top + line, rc.right, rc.bottom }, IsDark), 0);
}

TEST(LabelWindow, ClickingALinkReportsItsIndex)
{
    LabelWindow w;
    ASSERT_NE(w.links, nullptr);
    ASSERT_EQ(w.links->GetLinkCount(), 2);
    EXPECT_EQ(*w.links->GetLinkContent(1), CStdString(L"two"));
    const RECT link = w.links->GetLinkRects()[1];
    const POINT pt { (link.left + link.right) / 2, (link.top + link.bottom) / 2 };
    w.Click(pt);
    ASSERT_EQ(w.Count(L"link", w.links), 1);
    EXPECT_EQ(w.notes.back().wParam, 1u);

    // Text between the links is not a link.
    const RECT first = w.links->GetLinkRects()[0];
    w.Click(POINT { first.right + 3, (first.top + first.bottom) / 2 });
    EXPECT_EQ(w.Count(L"link"), 1);
}

TEST(LabelWindow, EffectsTextIsPaintedThroughGdiplus)
{
    LabelWindow w;
    ASSERT_NE(w.effect, nullptr);
    EXPECT_EQ(w.effect->GetText(), CStdString(L"Glow"));
    const RECT rc = w.effect->GetPos();
    EXPECT_GT(w.CountPixels(rc, IsRed), 20);

    w.effect->SetEnabledEffect(false);
    w.effect->Invalidate();
    w.Settle();
    EXPECT_EQ(w.CountPixels(rc, IsRed), 0);  // the ordinary text is empty
}
