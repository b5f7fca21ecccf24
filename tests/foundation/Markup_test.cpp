#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/Markup.h"

using Veneer::CMarkup;
using Veneer::CMarkupNode;

namespace {

std::wstring LastError(const CMarkup& xml)
{
    wchar_t text[100] = {};
    xml.GetLastErrorMessage(text, 100);
    return text;
}

std::wstring LastLocation(const CMarkup& xml)
{
    wchar_t text[50] = {};
    xml.GetLastErrorLocation(text, 50);
    return text;
}

}  // namespace

TEST(Markup, DeclarationAndCommentBeforeRoot)
{
    CMarkup xml;
    ASSERT_TRUE(xml.Load(L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                         L"<!-- skin -->\n<Window size=\"400,300\">\n"
                         L"  <Font name=\"a\" size=\"12\" />\n"
                         L"  <VerticalLayout><Button name=\"b\"/></VerticalLayout>\n"
                         L"</Window>"));
    CMarkupNode root = xml.GetRoot();
    ASSERT_TRUE(root.IsValid());
    EXPECT_STREQ(L"Window", root.GetName());
    EXPECT_STREQ(L"400,300", root.GetAttributeValue(L"size"));
    CMarkupNode font = root.GetChild();
    EXPECT_STREQ(L"Font", font.GetName());
    EXPECT_EQ(2, font.GetAttributeCount());
    EXPECT_STREQ(L"size", font.GetAttributeName(1));
    EXPECT_STREQ(L"", font.GetValue());
    CMarkupNode layout = font.GetSibling();
    EXPECT_STREQ(L"VerticalLayout", layout.GetName());
    EXPECT_FALSE(layout.HasSiblings());
    CMarkupNode button = root.GetChild(L"VerticalLayout").GetChild(L"Button");
    ASSERT_TRUE(button.IsValid());
    EXPECT_STREQ(L"b", button.GetAttributeValue(L"name"));
    EXPECT_STREQ(L"VerticalLayout", button.GetParent().GetName());
    EXPECT_FALSE(root.GetParent().IsValid());
    EXPECT_FALSE(root.GetChild(L"verticallayout").IsValid());
}

TEST(Markup, BrokenDocumentsReportTextAndLocation)
{
    struct Case {
        const wchar_t* document;
        const wchar_t* message;
        const wchar_t* location;
    };
    const Case cases[] = {
        { L"hello", L"Expected start tag", L"hello" },
        { L"<a", L"Error parsing element name", L"" },
        { L"<a b=\"1\" c>", L"Error while parsing attributes", L">" },
        { L"<a b=1>", L"Expected attribute value", L"1>" },
        { L"<a b=\"1>", L"Error while parsing attribute string", L"" },
        { L"<a b=\"1\" x", L"Error while parsing attributes", L"" },
        { L"<a b=\"1\"?></a>", L"Error while parsing attributes", L"?></a>" },
        { L"<a b=\"1\"/x></a>", L"Expected start-tag closing", L"/x></a>" },
        { L"<Window></Windows>", L"Unmatched closing tag", L"s>" },
        { L"<a><b></c></a>", L"Unmatched closing tag", L"c></a>" },
        { L"<a><b><c></c>", L"Expected start tag", L"" },
        { L"<a><b><c>text", L"Expected end-tag start", L"" },
    };
    for (const Case& c : cases) {
        CMarkup xml;
        EXPECT_FALSE(xml.Load(c.document)) << c.document;
        EXPECT_FALSE(xml.IsValid()) << c.document;
        EXPECT_EQ(c.message, LastError(xml)) << c.document;
        EXPECT_EQ(c.location, LastLocation(xml)) << c.document;
        EXPECT_FALSE(xml.GetRoot().IsValid());
    }
}

TEST(Markup, ErrorCopiesAreBounded)
{
    CMarkup xml;
    EXPECT_FALSE(xml.Load(L"this is not markup and it goes on for quite a long while, longer than fifty"));
    EXPECT_EQ(49u, LastLocation(xml).size());
    wchar_t small[6];
    wmemset(small, L'#', 6);
    xml.GetLastErrorMessage(small, 5);
    // Room for four characters and the terminator; nothing written beyond.
    EXPECT_STREQ(L"Expe", small);
    EXPECT_EQ(L'#', small[5]);
}

TEST(Markup, UnclosedRootTolerated)
{
    CMarkup xml;
    ASSERT_TRUE(xml.Load(L"<Window>text"));
    EXPECT_STREQ(L"Window", xml.GetRoot().GetName());
    EXPECT_STREQ(L"text", xml.GetRoot().GetValue());
    EXPECT_FALSE(xml.GetRoot().HasAttributes());

    ASSERT_TRUE(xml.Load(L"<Window caption=\"0,0,0,30\">text"));
    EXPECT_STREQ(L"Window", xml.GetRoot().GetName());
    EXPECT_EQ(1, xml.GetRoot().GetAttributeCount());
    EXPECT_STREQ(L"0,0,0,30", xml.GetRoot().GetAttributeValue(L"caption"));

    ASSERT_TRUE(xml.Load(L"<Window><Child a=\"1\">tail"));
    CMarkupNode root = xml.GetRoot();
    EXPECT_STREQ(L"Window", root.GetName());
    EXPECT_STREQ(L"Child", root.GetChild().GetName());
    EXPECT_STREQ(L"1", root.GetChild().GetAttributeValue(L"a"));

    ASSERT_TRUE(xml.Load(L"<Window><Child></Child>"));
    EXPECT_STREQ(L"Window", xml.GetRoot().GetName());
    EXPECT_STREQ(L"Child", xml.GetRoot().GetChild().GetName());
}

TEST(Markup, EntitiesAndUnknownReferences)
{
    CMarkup xml;
    ASSERT_TRUE(xml.Load(L"<a img=\"file=&apos;x.png&apos; &amp; &lt;&gt;&quot;\" n=\"&nbsp;&\">x &amp;&amp; y</a>"));
    CMarkupNode a = xml.GetRoot();
    EXPECT_STREQ(L"file='x.png' & <>\"", a.GetAttributeValue(L"img"));
    EXPECT_STREQ(L"&nbsp;&", a.GetAttributeValue(L"n"));
    EXPECT_STREQ(L"x && y", a.GetValue());
    EXPECT_EQ(2, a.GetAttributeCount());
}

TEST(Markup, WhitespacePreservation)
{
    CMarkup keep;
    ASSERT_TRUE(keep.Load(L"<a v=\"x   y\">p   q</a>"));
    EXPECT_STREQ(L"x   y", keep.GetRoot().GetAttributeValue(L"v"));
    EXPECT_STREQ(L"p   q", keep.GetRoot().GetValue());

    CMarkup collapse;
    collapse.SetPreserveWhitespace(false);
    ASSERT_TRUE(collapse.Load(L"<a v=\"x   y\" w=\"1\">p \t\n q\tr</a>"));
    EXPECT_STREQ(L"x y", collapse.GetRoot().GetAttributeValue(L"v"));
    EXPECT_STREQ(L"1", collapse.GetRoot().GetAttributeValue(L"w"));
    EXPECT_STREQ(L"p q\tr", collapse.GetRoot().GetValue());
}

TEST(Markup, SixtyFifthAttributeInvisible)
{
    std::wstring doc = L"<a";
    for (int i = 0; i < 65; ++i)
        doc += L" k" + std::to_wstring(i) + L"=\"" + std::to_wstring(i) + L"\"";
    doc += L"/>";
    CMarkup xml;
    ASSERT_TRUE(xml.Load(doc.c_str()));
    CMarkupNode a = xml.GetRoot();
    EXPECT_EQ(64, a.GetAttributeCount());
    EXPECT_STREQ(L"63", a.GetAttributeValue(L"k63"));
    EXPECT_FALSE(a.HasAttribute(L"k64"));
    EXPECT_STREQ(L"", a.GetAttributeValue(L"k64"));
    EXPECT_STREQ(L"", a.GetAttributeName(64));
    wchar_t buf[8] = {};
    EXPECT_FALSE(a.GetAttributeValue(L"k64", buf, 8));
    EXPECT_TRUE(a.GetAttributeValue(L"k12", buf, 8));
    EXPECT_STREQ(L"12", buf);
}

TEST(Markup, SelfClosingWithoutBlank)
{
    CMarkup xml;
    ASSERT_TRUE(xml.Load(L"<r><a/><b x=\"1\"/><c /></r>"));
    CMarkupNode a = xml.GetRoot().GetChild();
    EXPECT_STREQ(L"a", a.GetName());
    EXPECT_FALSE(a.HasAttributes());
    EXPECT_STREQ(L"b", a.GetSibling().GetName());
    EXPECT_STREQ(L"1", a.GetSibling().GetAttributeValue(L"x"));
    EXPECT_STREQ(L"c", a.GetSibling().GetSibling().GetName());
}

TEST(Markup, InvalidNodeAnswersNothing)
{
    CMarkupNode node;
    EXPECT_FALSE(node.IsValid());
    EXPECT_EQ(nullptr, node.GetName());
    EXPECT_EQ(nullptr, node.GetValue());
    EXPECT_EQ(0, node.GetAttributeCount());
    EXPECT_FALSE(node.HasAttribute(L"a"));
    EXPECT_FALSE(node.GetChild().IsValid());
    EXPECT_FALSE(node.GetChild(L"x").IsValid());
    wchar_t buf[4] = {};
    EXPECT_FALSE(node.GetAttributeValue(0, buf, 4));
    EXPECT_FALSE(node.GetAttributeValue(L"a", buf, 4));

    CMarkup empty;
    EXPECT_FALSE(empty.IsValid());
    EXPECT_FALSE(empty.GetRoot().IsValid());
}
