// The stand-in browser's markup side: parsing, what a page exposes to the
// browser (title, links, forms, refresh) and the layout that is painted.
#include "Html.h"
#include "Page.h"

#include <gtest/gtest.h>

#include <string>

using namespace Standin;

namespace {

Layout LayOut(const Page& page, FontCache& fonts, int width)
{
    HDC dc = CreateCompatibleDC(nullptr);
    Layout layout = LayoutPage(page, dc, fonts, width);
    DeleteDC(dc);
    return layout;
}

}  // namespace

TEST(StandinHtml, ParsesForgivingMarkupIntoATree)
{
    Page page(L"<!DOCTYPE html><html><head><title> Tarrowin \n</title><!-- <a href=x> -->"
              L"<script>if (a < b) { x = '</div>'; }</script></head>"
              L"<body bgcolor=#00FF00><p>one<p>two &amp; &#x4E2D;&#25991; &nbsp;<a href='/next?a=1&amp;b=2'>go</a>"
              L"<input type=hidden name=n value=v><br/></body></html>",
              L"http://127.0.0.1:8000/dir/page.html");
    EXPECT_EQ(L"Tarrowin", page.Title());
    ASSERT_NE(nullptr, page.Body());
    EXPECT_EQ(L"#00FF00", page.Body()->AttributeOr(L"bgcolor", L""));
    // An open paragraph ends where the next one starts.
    int paragraphs = 0;
    for (const auto& child : page.Body()->children) {
        paragraphs += child->tag == L"p";
    }
    EXPECT_EQ(2, paragraphs);
    EXPECT_NE(std::wstring::npos, TextContent(page.Body()).find(L"two & \x4E2D\x6587"));
    ASSERT_EQ(1u, page.Links().size());  // the commented-out anchor is no link
    EXPECT_EQ(L"http://127.0.0.1:8000/next?a=1&b=2", page.Links()[0].href);
    ASSERT_EQ(1u, page.ScriptLines().size());
}

TEST(StandinHtml, BrokenOrHostileInputStillGivesAPage)
{
    const wchar_t* inputs[] = { L"", L"<", L"<a href=\"never closed", L"</p></div></body>", L"<<<>>>&#99999999;&#xD800;",
                                L"<title>unterminated", L"<script>no end", L"<img src=>", L"<meta http-equiv=refresh content=>" };
    for (const wchar_t* input : inputs) {
        Page page(input, L"http://127.0.0.1/");
        FontCache fonts;
        Layout layout = LayOut(page, fonts, 300);
        EXPECT_GE(layout.height, 0);
    }
    std::wstring deep;
    for (int i = 0; i < 50000; ++i) {
        deep += L"<div><span>";
    }
    Page page(deep + L"x", L"http://127.0.0.1/");
    FontCache fonts;
    Layout layout = LayOut(page, fonts, 300);
    EXPECT_GT(layout.height, 0);
}

TEST(StandinHtml, FormsBuildTheirSubmission)
{
    Page page(L"<form action='/play.html?old=1#f' method=get>"
              L"<input type=hidden name=client value=pc><input type=text name=user value='a b'>"
              L"<input type=checkbox name=off><input type=submit name=go value=Play></form>"
              L"<form action=post.cgi method=POST><input name=who value=\x6D4B></form>",
              L"http://127.0.0.1:81/login/index.html");
    ASSERT_EQ(2u, page.Forms().size());
    const HtmlNode* button = FindFirst(page.Root(), L"form")->children.back().get();
    Submission get = page.Submit(0, button);
    EXPECT_EQ(L"http://127.0.0.1:81/play.html?client=pc&user=a+b&go=Play", get.url);
    EXPECT_TRUE(get.postData.empty());
    Submission post = page.Submit(1, nullptr);
    EXPECT_EQ(L"http://127.0.0.1:81/login/post.cgi", post.url);
    EXPECT_EQ("who=%E6%B5%8B", post.postData);
    EXPECT_TRUE(page.Submit(7, nullptr).url.empty());
}

TEST(StandinHtml, MetaRefreshAndCharsets)
{
    Page page(L"<meta http-equiv=\"Refresh\" content=\"2; URL='/next.html'\">", L"http://h/a/b.html");
    EXPECT_TRUE(page.HasRefresh());
    EXPECT_EQ(2, page.RefreshSeconds());
    EXPECT_EQ(L"http://h/next.html", page.RefreshUrl());

    std::string gbk = "<meta charset=\"gbk\"><p>\xD6\xD0\xCE\xC4</p>";  // "中文" in GBK
    EXPECT_NE(std::wstring::npos, DecodeText(gbk, L"text/html").find(L"\x4E2D\x6587"));
    std::string utf8 = "<p>\xE4\xB8\xAD</p>";
    EXPECT_NE(std::wstring::npos, DecodeText(utf8, L"text/html").find(L"\x4E2D"));
    EXPECT_NE(std::wstring::npos, DecodeText("\xEF\xBB\xBFok", L"text/html; charset=iso-8859-1").find(L"ok"));
    EXPECT_EQ(L"http://127.0.0.1:8080/x", NormaliseTypedUrl(L"127.0.0.1:8080/x"));
    EXPECT_EQ(L"about:blank", NormaliseTypedUrl(L"about:blank"));
    EXPECT_EQ(L"file:///Z:/tmp/a.html", NormaliseTypedUrl(L"Z:\\tmp\\a.html"));
}

TEST(StandinLayout, ColoursStayExactAndLinksAreClickable)
{
    COLORREF colour = 0;
    EXPECT_TRUE(ParseColour(L"#0f0", &colour));
    EXPECT_EQ(RGB(0, 255, 0), colour);
    EXPECT_TRUE(ParseColour(L" lime ", &colour));
    EXPECT_EQ(RGB(0, 255, 0), colour);
    EXPECT_TRUE(ParseColour(L"rgb(0, 255, 0)", &colour));
    EXPECT_EQ(RGB(0, 255, 0), colour);
    EXPECT_FALSE(ParseColour(L"#12", &colour));
    EXPECT_FALSE(ParseColour(L"greenish", &colour));

    Page page(L"<body style='margin:0'><div style='height:30px'></div>"
              L"<div style='width:200px;height:50px;background:#00FF00;margin:0 auto'></div>"
              L"<a href='/go'><div style='height:40px;background:blue'></div></a></body>",
              L"http://127.0.0.1/");
    FontCache fonts;
    Layout layout = LayOut(page, fonts, 400);
    const DisplayItem* green = nullptr;
    for (const auto& item : layout.items) {
        if (item.kind == DisplayItem::Fill && item.colour == RGB(0, 255, 0)) {
            green = &item;
        }
    }
    ASSERT_NE(nullptr, green);
    EXPECT_EQ(100, green->rect.left);   // centred by auto margins
    EXPECT_EQ(30, green->rect.top);
    EXPECT_EQ(300, green->rect.right);
    EXPECT_EQ(80, green->rect.bottom);
    int hit = HitTest(layout, POINT { 10, 100 });
    ASSERT_GE(hit, 0);
    EXPECT_EQ(0, layout.items[static_cast<size_t>(hit)].link);
    EXPECT_EQ(-1, HitTest(layout, POINT { 150, 50 }));  // the green box leads nowhere
    EXPECT_EQ(120, layout.height);
}

TEST(StandinLayout, TextTheFaceCannotShowTakesAFaceThatCan)
{
    Page page(L"<body style='font-family:Tahoma'>Play \u8FDB\u5165\u6E38\u620F</body>", L"http://127.0.0.1/");
    FontCache fonts;
    Layout layout = LayOut(page, fonts, 400);
    HDC dc = CreateCompatibleDC(nullptr);
    int texts = 0;
    for (const auto& item : layout.items) {
        if (item.kind != DisplayItem::Text) {
            continue;
        }
        ++texts;
        WORD glyphs[8] = {};
        HGDIOBJ old = SelectObject(dc, fonts.Font(item.font));
        GetGlyphIndicesW(dc, item.text.c_str(), static_cast<int>(item.text.size()), glyphs, GGI_MARK_NONEXISTING_GLYPHS);
        SelectObject(dc, old);
        for (size_t i = 0; i < item.text.size(); ++i) {
            EXPECT_NE(0xFFFF, glyphs[i]) << "no glyph for character " << i << " of a word";
        }
    }
    DeleteDC(dc);
    EXPECT_EQ(2, texts);
}
