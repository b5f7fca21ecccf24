// Plain text, text measurement and the rich-text formatter: tags, links,
// line breaking, ellipsis, alignment and inline images, measured against the
// platform's own text extents and checked on pixels.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>

#include "RenderTestCanvas.h"
#include "engine/PaintManagerUI.h"
#include "engine/RenderEngine.h"
#include "support/TestSupport.h"

using namespace Veneer;
using RenderTest::CCanvas;
using RenderTest::Channel;

namespace {

class RenderText : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_manager.SetDefaultFont(L"Tahoma", 13, false, false, false);
        CPaintManagerUI::SetResourcePath(TestSupport::FixturePath(L"render").c_str());
    }
    void TearDown() override { CPaintManagerUI::SetResourcePath(L""); }

    const TEXTMETRICW& Metrics() { return m_manager.GetDefaultFontInfo()->tm; }
    int LineHeight() { return Metrics().tmHeight + Metrics().tmExternalLeading; }

    HFONT Font(bool bold, bool underline = false, bool italic = false)
    {
        if (!bold && !underline && !italic) return m_manager.GetDefaultFontInfo()->hFont;
        HFONT font = m_manager.GetFont(L"Tahoma", 13, bold, underline, italic);
        if (font == nullptr) font = m_manager.AddFont(L"Tahoma", 13, bold, underline, italic);
        return font;
    }

    int Extent(LPCWSTR text, HFONT font = nullptr)
    {
        HGDIOBJ old = ::SelectObject(m_canvas.DC(), font != nullptr ? font : Font(false));
        SIZE size {};
        ::GetTextExtentPoint32W(m_canvas.DC(), text, static_cast<int>(wcslen(text)), &size);
        ::SelectObject(m_canvas.DC(), old);
        return size.cx;
    }

    RECT Measure(LPCWSTR text, RECT rc = RECT { 0, 0, 400, 200 }, UINT style = 0)
    {
        int links = 0;
        CRenderEngine::DrawHtmlText(m_canvas.DC(), &m_manager, rc, text, 0xFF000000u, nullptr, nullptr, links,
            style | DT_CALCRECT);
        return rc;
    }

    CPaintManagerUI m_manager;
    CCanvas m_canvas { 400, 200, 0xFFFFFFFFu };
};

// Counts pixels in [x0, x1) x [y0, y1) matching a predicate on 0xRRGGBB.
template <typename TPredicate>
int CountPixels(const CCanvas& canvas, int x0, int y0, int x1, int y1, TPredicate predicate)
{
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (predicate(canvas.Rgb(x, y))) ++count;
    return count;
}

bool IsReddish(DWORD c)
{
    return Channel(c, 16) > 180 && Channel(c, 8) < 90 && Channel(c, 0) < 90;
}
bool IsGreenish(DWORD c)
{
    return Channel(c, 8) > 180 && Channel(c, 16) < 90 && Channel(c, 0) < 90;
}
bool IsBright(DWORD c)
{
    return Channel(c, 16) > 180 && Channel(c, 8) > 180 && Channel(c, 0) > 180;
}
bool IsInk(DWORD c)
{
    return c != 0xFFFFFFu;
}

}  // namespace

TEST_F(RenderText, MeasuresEmptyAndPlainText)
{
    ASSERT_GT(LineHeight(), 0);
    const RECT empty = Measure(L"", RECT { 10, 10, 200, 100 });
    EXPECT_EQ(10 + LineHeight(), empty.bottom);
    EXPECT_EQ(0, empty.right) << "the widest x starts at 0, not at the left edge";

    const RECT plain = Measure(L"Hello world");
    EXPECT_EQ(Extent(L"Hello world"), plain.right);
    EXPECT_EQ(LineHeight(), plain.bottom);
}

TEST_F(RenderText, BoldFindsOrAddsAFont)
{
    const DWORD fonts = m_manager.GetCustomFontCount();
    const RECT bold = Measure(L"<b>Hello</b>");
    EXPECT_EQ(fonts + 1, m_manager.GetCustomFontCount()) << "the bold variant joins the font table";
    EXPECT_EQ(Extent(L"Hello", Font(true)), bold.right);
    EXPECT_GT(bold.right, Extent(L"Hello"));
    Measure(L"{b}Hello{/b}");
    EXPECT_EQ(fonts + 1, m_manager.GetCustomFontCount()) << "found again, not added twice";

    // The inner b pushes nothing; its closing tag pops the outer bold.
    const RECT nested = Measure(L"<b><b>H</b>i</b>j");
    EXPECT_EQ(Extent(L"H", Font(true)) + Extent(L"i") + Extent(L"j"), nested.right);
}

TEST_F(RenderText, FontTagsByIndexAndByName)
{
    const int index = static_cast<int>(m_manager.GetCustomFontCount());
    ASSERT_NE(nullptr, m_manager.AddFont(L"Tahoma", 30, false, false, false));
    const RECT big = Measure((L"<f " + std::to_wstring(index) + L">Hi</f>").c_str());
    EXPECT_GT(big.bottom, LineHeight() * 2);

    const RECT named = Measure(L"<f Tahoma 20 Bold Italic>Hi</f>");
    HFONT font = m_manager.GetFont(L"Tahoma", 20, true, false, true);
    ASSERT_NE(nullptr, font) << "the named font was added with its styles";
    EXPECT_EQ(Extent(L"Hi", font), named.right);
}

TEST_F(RenderText, ColourTagsOnPixels)
{
    CCanvas canvas(300, 30, 0xFF000000u);
    RECT rc { 0, 0, 300, 30 };
    int links = 0;
    CRenderEngine::DrawHtmlText(canvas.DC(), &m_manager, rc, L"<c #FF0000>WWWW</c>WWWW", 0xFFFFFFFFu, nullptr, nullptr,
        links, DT_SINGLELINE);
    const int split = Extent(L"WWWW");
    EXPECT_GT(CountPixels(canvas, 0, 0, split, 30, IsReddish), 10);
    EXPECT_EQ(0, CountPixels(canvas, split + 1, 0, 300, 30, IsReddish));
    EXPECT_GT(CountPixels(canvas, split + 1, 0, 300, 30, IsBright), 10);

    // A closing tag with no opening one returns to the text colour argument.
    CCanvas closing(300, 30, 0xFF000000u);
    RECT rc2 { 0, 0, 300, 30 };
    CRenderEngine::DrawHtmlText(closing.DC(), &m_manager, rc2, L"</c>WWWW", 0xFF00FF00u, nullptr, nullptr, links, 0);
    EXPECT_GT(CountPixels(closing, 0, 0, 300, 30, IsGreenish), 10);

    // Eight digits above 7FFFFFFF saturate to 7FFFFFFF: white, not blue.
    CCanvas saturated(300, 30, 0xFF000000u);
    RECT rc3 { 0, 0, 300, 30 };
    CRenderEngine::DrawHtmlText(saturated.DC(), &m_manager, rc3, L"<c FF0000FF>WWWW", 0xFF000000u, nullptr, nullptr,
        links, 0);
    EXPECT_GT(CountPixels(saturated, 0, 0, 300, 30, IsBright), 10);
    EXPECT_EQ(0, CountPixels(saturated, 0, 0, 300, 30, [](DWORD c) { return Channel(c, 0) > 180 && Channel(c, 16) < 90; }));
}

TEST_F(RenderText, LinksReportTheirRectangles)
{
    RECT links[4] {};
    CStdString texts[4];
    int count = 4;
    RECT rc { 0, 0, 300, 50 };
    CRenderEngine::DrawHtmlText(m_canvas.DC(), &m_manager, rc, L"<a go>link</a> tail", 0xFF000000u, links, texts,
        count, 0);
    ASSERT_EQ(1, count);
    EXPECT_EQ(CStdString(L"go"), texts[0]);
    EXPECT_EQ(0, links[0].left);
    EXPECT_EQ(0, links[0].top);
    EXPECT_EQ(Extent(L"link", Font(false, true)), links[0].right);
    EXPECT_EQ(LineHeight(), links[0].bottom);
    // Link text is drawn in the link colour (blue).
    EXPECT_GT(CountPixels(m_canvas, 0, 0, links[0].right, LineHeight(),
                  [](DWORD c) { return Channel(c, 0) > 150 && Channel(c, 16) < 100; }),
        5);
}

TEST_F(RenderText, AWrappedLinkGivesOneRectanglePerLine)
{
    const int width = Extent(L"aaa ", Font(false, true)) + 2;
    RECT links[4] {};
    CStdString texts[4];
    int count = 4;
    RECT rc { 0, 0, width, 100 };
    CRenderEngine::DrawHtmlText(m_canvas.DC(), &m_manager, rc, L"<a go>aaa bbb</a>", 0xFF000000u, links, texts, count,
        DT_WORDBREAK);
    ASSERT_EQ(2, count);
    EXPECT_EQ(CStdString(L"go"), texts[0]);
    EXPECT_EQ(CStdString(L"go"), texts[1]);
    EXPECT_EQ(0, links[0].top);
    EXPECT_EQ(links[0].bottom, links[1].top);
    EXPECT_EQ(0, links[1].left);
    EXPECT_GT(links[1].right, 0);
}

TEST_F(RenderText, TheLinkTableNeverOverflows)
{
    const int width = Extent(L"aaa ", Font(false, true)) + 2;
    RECT links[3] { {}, { 1, 2, 3, 4 }, { 5, 6, 7, 8 } };
    CStdString texts[3] { L"", L"sentinel", L"sentinel" };
    int count = 1;
    RECT rc { 0, 0, width, 100 };
    CRenderEngine::DrawHtmlText(m_canvas.DC(), &m_manager, rc, L"<a one>aaa bbb ccc</a><a two>x</a>", 0xFF000000u,
        links, texts, count, DT_WORDBREAK);
    EXPECT_EQ(1, count);
    EXPECT_EQ(CStdString(L"one"), texts[0]);
    EXPECT_EQ(CStdString(L"sentinel"), texts[1]);
    EXPECT_EQ(CStdString(L"sentinel"), texts[2]);
    EXPECT_EQ(1, links[1].left);
    EXPECT_EQ(5, links[2].left);

    // No arrays at all.
    int none = 0;
    RECT rc2 { 0, 0, width, 100 };
    CRenderEngine::DrawHtmlText(m_canvas.DC(), &m_manager, rc2, L"<a x>aaa bbb</a>", 0, nullptr, nullptr, none, 0);
    EXPECT_EQ(0, none);
}

TEST_F(RenderText, LineBreaks)
{
    EXPECT_EQ(2 * LineHeight(), Measure(L"a\nb").bottom);
    EXPECT_EQ(2 * LineHeight(), Measure(L"a<n>b").bottom);
    EXPECT_EQ(3 * LineHeight(), Measure(L"a\n\nb").bottom);
    const RECT single = Measure(L"a<n>b", RECT { 0, 0, 400, 200 }, DT_SINGLELINE);
    EXPECT_EQ(LineHeight(), single.bottom);
    EXPECT_EQ(Extent(L"a") + Extent(L"b"), single.right);
    // Paragraph spacing raises the line.
    EXPECT_EQ(LineHeight() + 7, Measure(L"<p 7>x</p>").bottom);
    // Horizontal space and an explicit line height.
    EXPECT_EQ(20 + Extent(L"a"), Measure(L"<x 20>a").right);
    EXPECT_EQ(40, Measure(L"<y 40>a").bottom);
}

TEST_F(RenderText, WordBreaking)
{
    // Breaks after the space; the second word goes to the next line.
    const int width = Extent(L"abc de");
    const RECT words = Measure(L"abc defgh", RECT { 0, 0, width, 200 }, DT_WORDBREAK);
    EXPECT_EQ(2 * LineHeight(), words.bottom);
    EXPECT_LE(words.right, width);

    // No break point: the word is cut at the character that overflows.
    const int narrow = Extent(L"abc") + 1;
    const RECT cut = Measure(L"abcdef", RECT { 0, 0, narrow, 200 }, DT_WORDBREAK);
    EXPECT_EQ(2 * LineHeight(), cut.bottom);

    // Narrower than one character: every line still takes one.
    const RECT tiny = Measure(L"WWW", RECT { 0, 0, 2, 200 }, DT_WORDBREAK);
    EXPECT_EQ(3 * LineHeight(), tiny.bottom);
}

TEST_F(RenderText, EllipsisReplacesTheLastFittingCharacters)
{
    const wchar_t text[] = L"The quick brown fox jumps over the lazy dog";
    const int width = Extent(L"The quick brown f");
    // Characters that fit in full.
    int fit = 0;
    while (text[fit] != 0) {
        std::wstring prefix(text, fit + 1);
        if (Extent(prefix.c_str()) > width) break;
        ++fit;
    }
    CCanvas drawn(300, 30, 0xFFFFFFFFu);
    RECT rc { 0, 0, width, 30 };
    int links = 0;
    CRenderEngine::DrawHtmlText(drawn.DC(), &m_manager, rc, text, 0xFF000000u, nullptr, nullptr, links,
        DT_SINGLELINE | DT_END_ELLIPSIS);

    // The run keeps the overflowing character, then loses two: fit - 1 remain.
    CCanvas expected(300, 30, 0xFFFFFFFFu);
    HGDIOBJ old = ::SelectObject(expected.DC(), Font(false));
    ::SetBkMode(expected.DC(), TRANSPARENT);
    ::SetTextColor(expected.DC(), RGB(0, 0, 0));
    const std::wstring kept(text, fit - 1);
    const HRGN clip = ::CreateRectRgn(0, 0, width, 30);
    ::SelectClipRgn(expected.DC(), clip);
    ::TextOutW(expected.DC(), 0, 0, kept.c_str(), static_cast<int>(kept.size()));
    ::TextOutW(expected.DC(), Extent(kept.c_str()), 0, L"...", 3);
    ::SelectClipRgn(expected.DC(), nullptr);
    ::DeleteObject(clip);
    ::SelectObject(expected.DC(), old);

    int differences = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 300; ++x)
            if (drawn.Rgb(x, y) != expected.Rgb(x, y)) ++differences;
    EXPECT_EQ(0, differences);
    EXPECT_GT(CountPixels(drawn, 0, 0, width, 30, IsInk), 20);
    EXPECT_EQ(0, CountPixels(drawn, width, 0, 300, 30, IsInk)) << "clipped to the rectangle";
}

TEST_F(RenderText, AlignmentMovesTheRectangle)
{
    const int w = Extent(L"Hi");
    const int h = LineHeight();
    int links = 0;
    RECT centre { 0, 0, 200, 30 };
    CRenderEngine::DrawHtmlText(m_canvas.DC(), &m_manager, centre, L"Hi", 0, nullptr, nullptr, links,
        DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    EXPECT_EQ(100 - w / 2, centre.left);
    EXPECT_EQ(centre.left + w, centre.right);
    EXPECT_EQ(15 - h / 2, centre.top);
    EXPECT_EQ(centre.top + h, centre.bottom);

    RECT right { 0, 0, 200, 30 };
    CRenderEngine::DrawHtmlText(m_canvas.DC(), &m_manager, right, L"Hi", 0, nullptr, nullptr, links,
        DT_SINGLELINE | DT_RIGHT | DT_BOTTOM);
    EXPECT_EQ(200 - w, right.left);
    EXPECT_EQ(30 - h, right.top);
}

TEST_F(RenderText, CentredRunsWithoutSingleLine)
{
    CCanvas canvas(200, 30, 0xFFFFFFFFu);
    RECT rc { 0, 0, 200, 30 };
    int links = 0;
    CRenderEngine::DrawHtmlText(canvas.DC(), &m_manager, rc, L"WWW", 0xFF000000u, nullptr, nullptr, links, DT_CENTER);
    int left = 200, right = -1;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 200; ++x)
            if (IsInk(canvas.Rgb(x, y))) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    ASSERT_GE(right, 0);
    EXPECT_NEAR(100, (left + right + 1) / 2, 3);
}

TEST_F(RenderText, RawTextAndEscapes)
{
    EXPECT_EQ(Extent(L"<b>x"), Measure(L"<r><b>x</r>").right);
    EXPECT_EQ(Extent(L"{"), Measure(L"<{>").right);
    EXPECT_EQ(Extent(L"}"), Measure(L"<}>").right);
    EXPECT_EQ(Extent(L"<"), Measure(L"{<}").right);
    EXPECT_EQ(Extent(L">"), Measure(L"{>}").right);
    // A bracket that forms no tag is text.
    EXPECT_EQ(Extent(L"<B"), Measure(L"<B").right);
    // An unterminated tag swallows the rest.
    EXPECT_EQ(Extent(L"a"), Measure(L"a<b never closed").right);
}

TEST_F(RenderText, InlineImagesWithFrames)
{
    const int h = std::max(LineHeight(), 10);
    const int bottom = h - (h - 10) / 2;
    const int top = bottom - 10;
    {
        CCanvas canvas(100, 40, 0xFFFFFFFFu);
        RECT rc { 0, 0, 100, 40 };
        int links = 0;
        CRenderEngine::DrawHtmlText(canvas.DC(), &m_manager, rc, L"<i frames.png 4 2>", 0, nullptr, nullptr, links, 0);
        EXPECT_EQ(0x0000FFu, canvas.Rgb(5, top + 5)) << "frame 2 is blue";
        EXPECT_EQ(0xFFFFFFu, canvas.Rgb(12, top + 5)) << "one frame wide";
    }
    {
        CCanvas canvas(100, 40, 0xFFFFFFFFu);
        RECT rc { 0, 0, 100, 40 };
        int links = 0;
        CRenderEngine::DrawHtmlText(canvas.DC(), &m_manager, rc, L"<i frames.png 4 7>", 0, nullptr, nullptr, links, 0);
        EXPECT_EQ(0xFF0000u, canvas.Rgb(5, top + 5)) << "an index beyond the count uses frame 0";
    }
    {
        CCanvas canvas(100, 40, 0xFFFFFFFFu);
        RECT rc { 0, 0, 100, 40 };
        int links = 0;
        CRenderEngine::DrawHtmlText(canvas.DC(), &m_manager, rc, L"<i file='frames.png'>", 0, nullptr, nullptr, links,
            0);
        EXPECT_EQ(0xFF0000u, canvas.Rgb(5, top + 5));
        EXPECT_EQ(0x00FF00u, canvas.Rgb(15, top + 5));
        EXPECT_EQ(0xFFFF00u, canvas.Rgb(35, top + 5));
    }
    const RECT measured = Measure(L"<i frames.png 4>ab");
    EXPECT_EQ(10 + Extent(L"ab"), measured.right);
    EXPECT_EQ(h, measured.bottom);
    // A missing image draws nothing and takes no room.
    EXPECT_EQ(Extent(L"ab"), Measure(L"<i missing.png>ab").right);
    // An image that does not fit moves to the next line.
    const RECT wrapped = Measure(L"abc<i frames.png>", RECT { 0, 0, Extent(L"abc") + 20, 200 });
    EXPECT_EQ(LineHeight() + h, wrapped.bottom);
    EXPECT_EQ(40, wrapped.right) << "the image's line is the widest";
}

TEST_F(RenderText, PlainTextAndTextSize)
{
    const SIZE size = CRenderEngine::GetTextSize(m_canvas.DC(), &m_manager, L"Hello", -1, 0);
    EXPECT_EQ(Extent(L"Hello"), size.cx);
    EXPECT_EQ(Metrics().tmHeight, size.cy);
    const SIZE none = CRenderEngine::GetTextSize(m_canvas.DC(), nullptr, L"Hello", -1, 0);
    EXPECT_EQ(0, none.cx);

    // '&' is drawn, never taken as a mnemonic prefix.
    RECT rc { 0, 0, 300, 100 };
    CRenderEngine::DrawText(m_canvas.DC(), &m_manager, rc, L"&a", 0xFF000000u, -1, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(Extent(L"&a"), rc.right);

    CCanvas canvas(100, 30, 0xFFFFFFFFu);
    RECT draw { 0, 0, 100, 30 };
    CRenderEngine::DrawText(canvas.DC(), &m_manager, draw, L"Hi", 0xFFFF0000u, -1, DT_SINGLELINE);
    EXPECT_GT(CountPixels(canvas, 0, 0, 100, 30, IsReddish), 3);
    CRenderEngine::DrawText(canvas.DC(), nullptr, draw, L"Hi", 0xFFFF0000u, -1, 0);
}

TEST_F(RenderText, NullInputsDoNothing)
{
    int links = 0;
    RECT rc { 0, 0, 100, 30 };
    CRenderEngine::DrawHtmlText(m_canvas.DC(), nullptr, rc, L"x", 0, nullptr, nullptr, links, DT_CALCRECT);
    EXPECT_EQ(100, rc.right);
    CRenderEngine::DrawHtmlText(m_canvas.DC(), &m_manager, rc, nullptr, 0, nullptr, nullptr, links, DT_CALCRECT);
    EXPECT_EQ(100, rc.right);
    RECT empty { 0, 0, 0, 0 };
    CRenderEngine::DrawHtmlText(m_canvas.DC(), &m_manager, empty, L"x", 0, nullptr, nullptr, links, DT_CALCRECT);
    EXPECT_EQ(0, empty.bottom);
}

TEST_F(RenderText, MutatedRichTextNeverCrashes)
{
    const std::wstring pieces[] = { L"<b>", L"</b>", L"<i>", L"</i>", L"<u>", L"</u>", L"<a link>", L"</a>",
        L"<c #FF0000>", L"</c>", L"<f 0>", L"<f Tahoma 14 bold>", L"</f>", L"<n>", L"<p 5>", L"</p>", L"<r>",
        L"</r>", L"<s>", L"</s>", L"<x 7>", L"<y 20>", L"<i frames.png 4 1>", L"<i file='grid.png'>", L"{b}",
        L"{/b}", L"<{>", L"{<}", L" ", L"\n", L"word", L"longerwordwithoutbreaks", L"<", L"{", L">", L"}",
        L"<a", L"<i ", L"<c", L"<f" };
    std::mt19937 random(777);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(4);
    int rounds = 0;
    while (rounds < 3000 && std::chrono::steady_clock::now() < deadline) {
        std::wstring text;
        const int count = 1 + static_cast<int>(random() % 14);
        for (int i = 0; i < count; ++i) text += pieces[random() % (sizeof(pieces) / sizeof(pieces[0]))];
        if (!text.empty() && random() % 3 == 0) text.erase(random() % text.size(), 1 + random() % 3);
        const UINT styles[] = { 0, DT_WORDBREAK, DT_SINGLELINE | DT_END_ELLIPSIS, DT_CENTER | DT_VCENTER,
            DT_WORDBREAK | DT_END_ELLIPSIS | DT_RIGHT | DT_BOTTOM, DT_CALCRECT | DT_WORDBREAK };
        RECT links[2] {};
        CStdString texts[2];
        int capacity = 2;
        RECT rc { 3, 2, 3 + static_cast<LONG>(random() % 120), 2 + static_cast<LONG>(random() % 60) };
        CRenderEngine::DrawHtmlText(m_canvas.DC(), &m_manager, rc, text.c_str(), 0xFF000000u, links, texts, capacity,
            styles[random() % 6]);
        ASSERT_GE(capacity, 0);
        ASSERT_LE(capacity, 2);
        ++rounds;
    }
    EXPECT_GT(rounds, 50);
}
