// The image-string language: keys, values, errors, stacking and modifiers,
// observed through the images the walker asks to draw.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "engine/RenderEngineInternal.h"

using namespace Veneer;
using namespace Veneer::RenderInternal;

namespace {

struct TDrawn {
    std::wstring name;
    std::wstring type;
    RECT dest;
    RECT source;
    RECT corner;
    DWORD mask;
    BYTE fade;
    bool hole;
    bool xtiled;
    bool ytiled;
};

const RECT kItem { 100, 50, 300, 80 };

std::vector<TDrawn> Walk(LPCWSTR image, LPCWSTR modify = nullptr, const RECT& item = kItem)
{
    std::vector<TDrawn> drawn;
    WalkImageString(image, modify, item, [&](TImageStringState& s) {
        drawn.push_back(TDrawn { s.sName.GetData(), s.sType.GetData(), s.rcDest, s.rcSource, s.rcCorner, s.dwMask,
            s.uFade, s.bHole, s.bTiledX, s.bTiledY });
    });
    return drawn;
}

bool Same(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST(RenderImageString, BareNameDrawsWithDefaults)
{
    for (LPCWSTR text : { L"bk.png", L"my skin/back ground.png", L"a=b.png" }) {
        const auto drawn = Walk(text);
        ASSERT_EQ(1u, drawn.size()) << text;
        EXPECT_EQ(text, drawn[0].name);
        EXPECT_TRUE(Same(kItem, drawn[0].dest));
        EXPECT_TRUE(Same(RECT { 0, 0, 0, 0 }, drawn[0].source));
        EXPECT_EQ(255, drawn[0].fade);
        EXPECT_EQ(0u, drawn[0].mask);
        EXPECT_FALSE(drawn[0].hole || drawn[0].xtiled || drawn[0].ytiled);
        EXPECT_TRUE(drawn[0].type.empty());
    }
}

TEST(RenderImageString, EveryKeyIsApplied)
{
    const auto drawn = Walk(L"file='btn.png' source='1,2,61,32' corner='4,5,6,7' mask='#FFFF00FF' fade='128' "
                            L"hole='true' xtiled='true' ytiled='true' dest='10,5,50,25'");
    ASSERT_EQ(1u, drawn.size());
    const TDrawn& d = drawn[0];
    EXPECT_EQ(L"btn.png", d.name);
    EXPECT_TRUE(Same(RECT { 1, 2, 61, 32 }, d.source));
    EXPECT_TRUE(Same(RECT { 4, 5, 6, 7 }, d.corner));
    EXPECT_EQ(0xFFFF00FFu, d.mask);
    EXPECT_EQ(128, d.fade);
    EXPECT_TRUE(d.hole);
    EXPECT_TRUE(d.xtiled);
    EXPECT_TRUE(d.ytiled);
    EXPECT_TRUE(Same(RECT { 110, 55, 150, 75 }, d.dest));
}

TEST(RenderImageString, ValueSyntaxes)
{
    // dest is cut at the item's right and bottom, never at its left and top.
    auto d = Walk(L"file='a' dest='-5,-6,500,600'");
    EXPECT_TRUE(Same(RECT { 95, 44, 300, 80 }, d.back().dest));
    // Missing numbers are 0; any single character separates.
    d = Walk(L"file='a' source='3;4'");
    EXPECT_TRUE(Same(RECT { 3, 4, 0, 0 }, d.back().source));
    // A non-number reads as 0 and its character counts as the separator.
    d = Walk(L"file='a' corner='x,2,3,4'");
    EXPECT_TRUE(Same(RECT { 0, 0, 2, 3 }, d.back().corner));
    // Mask with or without '#'; six digits leave alpha 0.
    EXPECT_EQ(0x00FF00FFu, Walk(L"file='a' mask='FF00FF'").back().mask);
    EXPECT_EQ(0xFFFF00FFu, Walk(L"file='a' mask='#FFFF00FF'").back().mask);
    // Fade converted unsigned and truncated to 8 bits.
    EXPECT_EQ(44, Walk(L"file='a' fade='300'").back().fade);
    EXPECT_EQ(0, Walk(L"file='a' fade='abc'").back().fade);
    // Only exactly "true" switches a flag on.
    d = Walk(L"file='a' xtiled='True' ytiled='1' hole='yes'");
    EXPECT_FALSE(d.back().xtiled || d.back().ytiled || d.back().hole);
    // An empty value is ignored; unknown keys too.
    d = Walk(L"file='a' fade='' colour='red' dest='1,1,2,2'");
    EXPECT_EQ(255, d.back().fade);
    EXPECT_TRUE(Same(RECT { 101, 51, 102, 52 }, d.back().dest));
}

TEST(RenderImageString, SyntaxErrorsStopThePassButKeepWhatCameBefore)
{
    // Missing closing quote.
    auto d = Walk(L"file='a.png' fade='100");
    ASSERT_EQ(1u, d.size());
    EXPECT_EQ(L"a.png", d[0].name);
    EXPECT_EQ(255, d[0].fade);
    // One space must follow a pair; blanks before the next key are skipped.
    d = Walk(L"file='a.png'  fade='100'");
    EXPECT_EQ(100, d.back().fade);
    // A tab or a comma as separator ends the pass.
    d = Walk(L"file='a.png'\tfade='100'");
    EXPECT_EQ(255, d.back().fade);
    // Spaces around '=' are allowed.
    d = Walk(L"file = 'a.png' fade= '100'");
    EXPECT_EQ(L"a.png", d.back().name);
    EXPECT_EQ(100, d.back().fade);
    // No quote after '='.
    d = Walk(L"file=a.png");
    ASSERT_EQ(1u, d.size());
    EXPECT_EQ(L"file=a.png", d[0].name);
    // Pairs without a file keep the whole string as the name.
    d = Walk(L"dest='1,2,3,4'");
    ASSERT_EQ(1u, d.size());
    EXPECT_EQ(L"dest='1,2,3,4'", d[0].name);
    // Trailing '=' or quote at the very end: never read past the terminator.
    for (LPCWSTR text : { L"file=", L"file='", L"file", L"=", L"'", L"", L" ", L"file='a' " }) {
        d = Walk(text);
        ASSERT_EQ(1u, d.size()) << text;
    }
    d = Walk(nullptr);
    ASSERT_EQ(1u, d.size());
    EXPECT_TRUE(d[0].name.empty());
}

TEST(RenderImageString, StackedImagesInheritState)
{
    const auto d = Walk(L"file='a.png' file='b.png' dest='0,0,10,10'");
    ASSERT_EQ(2u, d.size());
    EXPECT_EQ(L"a.png", d[0].name);
    EXPECT_TRUE(Same(kItem, d[0].dest));
    EXPECT_EQ(L"b.png", d[1].name);
    EXPECT_TRUE(Same(RECT { 100, 50, 110, 60 }, d[1].dest));

    const auto inherit = Walk(L"file='a.png' fade='10' hole='true' file='b.png'");
    ASSERT_EQ(2u, inherit.size());
    EXPECT_EQ(10, inherit[1].fade);
    EXPECT_TRUE(inherit[1].hole);
}

TEST(RenderImageString, ResourcePairsCountAsSpecified)
{
    // "res" does not count as an image: one draw, with the type.
    auto d = Walk(L"res='201' restype='PNG'");
    ASSERT_EQ(1u, d.size());
    EXPECT_EQ(L"201", d[0].name);
    EXPECT_EQ(L"PNG", d[0].type);
    // "file" then "restype": drawn once when the type is read, once at the end.
    d = Walk(L"file='a.png' restype='PNG'");
    ASSERT_EQ(2u, d.size());
    EXPECT_TRUE(d[0].type.empty());
    EXPECT_EQ(L"PNG", d[1].type);
    EXPECT_EQ(L"a.png", d[1].name);
    // A second "res" after a counted image draws the pending one first.
    d = Walk(L"file='a.png' res='7'");
    ASSERT_EQ(2u, d.size());
    EXPECT_EQ(L"a.png", d[0].name);
    EXPECT_EQ(L"7", d[1].name);
}

TEST(RenderImageString, ModifierCarriesOnFromTheImageString)
{
    auto d = Walk(L"file='bar.png' corner='2,2,2,2'", L"dest='10,0,20,30'");
    ASSERT_EQ(1u, d.size());
    EXPECT_EQ(L"bar.png", d[0].name);
    EXPECT_TRUE(Same(RECT { 2, 2, 2, 2 }, d[0].corner));
    EXPECT_TRUE(Same(RECT { 110, 50, 120, 80 }, d[0].dest));
    // The image count restarts in the modifier: its "file" replaces the name
    // without drawing the first image.
    d = Walk(L"file='one.png'", L"file='two.png'");
    ASSERT_EQ(1u, d.size());
    EXPECT_EQ(L"two.png", d[0].name);
    // A bare name image string with a slice modifier.
    d = Walk(L"thumb.png", L"dest='0,0,5,5' source='0,0,5,5'");
    ASSERT_EQ(1u, d.size());
    EXPECT_EQ(L"thumb.png", d[0].name);
    EXPECT_TRUE(Same(RECT { 0, 0, 5, 5 }, d[0].source));
}

// Random edits of real image strings: the walker must stay inside the text
// and finish; bounded in time.
TEST(RenderImageString, MutatedStringsNeverCrash)
{
    const std::wstring samples[] = {
        L"file='btn.png' source='0,0,60,30' corner='4,4,4,4' mask='#FFFF00FF' fade='200'",
        L"res='201' restype='PNG' dest='1,2,3,4' hole='true' xtiled='true' ytiled='true'",
        L"file='a.png' file='b.png' dest='0,0,10,10'",
        L"plain name.png",
    };
    const wchar_t alphabet[] = L"'= ,#\t\n0123456789-abcdefilmnorstuxyz";
    std::mt19937 random(12345);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    int rounds = 0;
    size_t draws = 0;
    while (rounds < 20000 && std::chrono::steady_clock::now() < deadline) {
        std::wstring text = samples[random() % 4];
        const int edits = 1 + static_cast<int>(random() % 6);
        for (int e = 0; e < edits && !text.empty(); ++e) {
            const size_t at = random() % text.size();
            switch (random() % 4) {
            case 0: text.erase(at, 1 + random() % 4); break;
            case 1: text.insert(at, 1, alphabet[random() % (sizeof(alphabet) / sizeof(wchar_t) - 1)]); break;
            case 2: text[at] = static_cast<wchar_t>(random() % 0x80); break;
            default: text = text.substr(0, at); break;
            }
        }
        // An embedded NUL simply ends the string early.
        const std::wstring modify = (rounds % 3 == 0) ? text.substr(text.size() / 2) : std::wstring();
        WalkImageString(text.c_str(), modify.empty() ? nullptr : modify.c_str(), kItem,
            [&](TImageStringState& s) {
                ++draws;
                ASSERT_LE(s.rcDest.right, kItem.right);
                ASSERT_LE(s.rcDest.bottom, kItem.bottom);
            });
        ++rounds;
    }
    EXPECT_GT(rounds, 100);
    EXPECT_GE(draws, static_cast<size_t>(rounds));
}
