#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/Markup.h"
#include "support/TestSupport.h"

using Veneer::CMarkup;
using Veneer::CMarkupNode;
using TestSupport::FixturePath;
using TestSupport::ReadFileBytes;

namespace {

std::wstring LastError(const CMarkup& xml)
{
    wchar_t text[100] = {};
    xml.GetLastErrorMessage(text, 100);
    return text;
}

void ExpectLoginSkin(CMarkup& xml)
{
    CMarkupNode root = xml.GetRoot();
    ASSERT_TRUE(root.IsValid());
    EXPECT_STREQ(L"Window", root.GetName());
    CMarkupNode font = root.GetChild(L"Font");
    EXPECT_STREQ(L"\x65B0\x5B8B\x4F53", font.GetAttributeValue(L"name"));
    EXPECT_STREQ(L"textcolor=\"#FF000000\" align=\"center\"",
        root.GetChild(L"Default").GetAttributeValue(L"value"));
    CMarkupNode layout = root.GetChild(L"Container").GetChild(L"VerticalLayout");
    EXPECT_STREQ(L"file='loginBg.png'  mask='0xffff00ff'", layout.GetAttributeValue(L"bkimage"));
    CMarkupNode label = layout.GetChild(L"Label");
    EXPECT_STREQ(L"A <b> & 'c'", label.GetAttributeValue(L"text"));
    EXPECT_STREQ(L"free text   with  blanks", label.GetValue());
}

}  // namespace

TEST(MarkupLoad, EncodingsGiveTheSameDocument)
{
    const std::vector<unsigned char> utf8 = ReadFileBytes(FixturePath(L"foundation/login.xml"));
    const std::vector<unsigned char> bom = ReadFileBytes(FixturePath(L"foundation/login_bom.xml"));
    const std::vector<unsigned char> le = ReadFileBytes(FixturePath(L"foundation/login_utf16le.xml"));
    const std::vector<unsigned char> be = ReadFileBytes(FixturePath(L"foundation/login_utf16be.xml"));
    ASSERT_FALSE(utf8.empty());

    CMarkup xml;
    ASSERT_TRUE(xml.LoadFromMem(utf8.data(), static_cast<DWORD>(utf8.size())));
    ExpectLoginSkin(xml);
    ASSERT_TRUE(xml.LoadFromMem(bom.data(), static_cast<DWORD>(bom.size()), Veneer::XMLFILE_ENCODING_UTF8));
    ExpectLoginSkin(xml);
    ASSERT_TRUE(xml.LoadFromMem(le.data(), static_cast<DWORD>(le.size()), Veneer::XMLFILE_ENCODING_UNICODE));
    ExpectLoginSkin(xml);
    // The big-endian bytes stay as they were: they may be a read-only resource.
    const std::vector<unsigned char> original = be;
    ASSERT_TRUE(xml.LoadFromMem(be.data(), static_cast<DWORD>(be.size()), Veneer::XMLFILE_ENCODING_UNICODE));
    ExpectLoginSkin(xml);
    EXPECT_EQ(original, be);
}

TEST(MarkupLoad, ReadOnlyMemoryIsNeverWritten)
{
    const std::vector<unsigned char> be = ReadFileBytes(FixturePath(L"foundation/login_utf16be.xml"));
    void* page = VirtualAlloc(nullptr, be.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    ASSERT_NE(nullptr, page);
    memcpy(page, be.data(), be.size());
    DWORD old = 0;
    ASSERT_TRUE(VirtualProtect(page, be.size(), PAGE_READONLY, &old));
    CMarkup xml;
    EXPECT_TRUE(xml.LoadFromMem(static_cast<const BYTE*>(page), static_cast<DWORD>(be.size()),
        Veneer::XMLFILE_ENCODING_UNICODE));
    ExpectLoginSkin(xml);
    VirtualFree(page, 0, MEM_RELEASE);
}

TEST(MarkupLoad, AnsiAndRejectedUtf16)
{
    const char ansi[] = "<a v=\"plain\">text</a>";
    CMarkup xml;
    ASSERT_TRUE(xml.LoadFromMem(reinterpret_cast<const BYTE*>(ansi), sizeof(ansi) - 1,
        Veneer::XMLFILE_ENCODING_ANSI));
    EXPECT_STREQ(L"plain", xml.GetRoot().GetAttributeValue(L"v"));

    const BYTE noMark[] = { '<', 0, 'a', 0, '/', 0, '>', 0 };
    EXPECT_FALSE(xml.LoadFromMem(noMark, sizeof(noMark), Veneer::XMLFILE_ENCODING_UNICODE));
    EXPECT_FALSE(xml.IsValid());
    const BYTE one[] = { 0xFF };
    EXPECT_FALSE(xml.LoadFromMem(one, 1, Veneer::XMLFILE_ENCODING_UNICODE));
    EXPECT_FALSE(xml.LoadFromMem(reinterpret_cast<const BYTE*>(ansi), 4, 7));
    EXPECT_FALSE(xml.LoadFromMem(nullptr, 10));

    // An odd byte count drops the last byte.
    const BYTE odd[] = { 0xFF, 0xFE, '<', 0, 'b', 0, '/', 0, '>', 0, 'x' };
    ASSERT_TRUE(xml.LoadFromMem(odd, sizeof(odd), Veneer::XMLFILE_ENCODING_UNICODE));
    EXPECT_STREQ(L"b", xml.GetRoot().GetName());
}

TEST(MarkupLoad, EmbeddedNulEndsTheText)
{
    const char bytes[] = "<a x=\"1\">te\0xt</a>";
    CMarkup xml;
    ASSERT_TRUE(xml.LoadFromMem(reinterpret_cast<const BYTE*>(bytes), sizeof(bytes) - 1));
    EXPECT_STREQ(L"a", xml.GetRoot().GetName());
    EXPECT_STREQ(L"te", xml.GetRoot().GetValue());
    EXPECT_STREQ(L"1", xml.GetRoot().GetAttributeValue(L"x"));
    const char inValue[] = "<a x=\"1\0\"/>";
    EXPECT_FALSE(xml.LoadFromMem(reinterpret_cast<const BYTE*>(inValue), sizeof(inValue) - 1));
    EXPECT_EQ(L"Error while parsing attribute string", LastError(xml));
}

TEST(MarkupLoad, CdataIsReadAsText)
{
    CMarkup xml;
    ASSERT_TRUE(xml.Load(L"<a><b><![CDATA[x<y>]]></b></a>"));
    EXPECT_STREQ(L"x<y>", xml.GetRoot().GetChild().GetValue());
    // Where an element belongs, character data is refused like any text there.
    EXPECT_FALSE(xml.Load(L"<a><b/><![CDATA[x]]></a>"));
    EXPECT_EQ(L"Expected start tag", LastError(xml));
}

TEST(MarkupLoad, FileSizeLimits)
{
    const DWORD limit = CMarkup::MAX_FILE_SIZE;
    EXPECT_EQ(4194304u, limit);
    std::vector<unsigned char> doc(limit, ' ');
    const std::string head = "<Window a=\"1\">";
    const std::string tail = "</Window>";
    memcpy(doc.data(), head.data(), head.size());
    memcpy(doc.data() + doc.size() - tail.size(), tail.data(), tail.size());
    const std::wstring exact = TestSupport::BuildPath(L"markup_exact_limit.xml");
    ASSERT_TRUE(TestSupport::WriteFileBytes(exact, doc));
    CMarkup xml;
    EXPECT_TRUE(xml.LoadFromFile(exact.c_str())) << LastError(xml);
    EXPECT_STREQ(L"Window", xml.GetRoot().GetName());
    EXPECT_EQ(static_cast<size_t>(limit) - head.size() - tail.size(), wcslen(xml.GetRoot().GetValue()));

    doc.push_back(' ');
    const std::wstring over = TestSupport::BuildPath(L"markup_over_limit.xml");
    ASSERT_TRUE(TestSupport::WriteFileBytes(over, doc));
    EXPECT_FALSE(xml.LoadFromFile(over.c_str()));
    EXPECT_FALSE(xml.IsValid());
    EXPECT_EQ(L"File too large", LastError(xml));
    wchar_t location[50] = { L'x' };
    xml.GetLastErrorLocation(location, 50);
    EXPECT_STREQ(L"", location);

    const std::wstring empty = TestSupport::BuildPath(L"markup_empty.xml");
    ASSERT_TRUE(TestSupport::WriteFileBytes(empty, {}));
    EXPECT_FALSE(xml.LoadFromFile(empty.c_str()));
    EXPECT_EQ(L"File is empty", LastError(xml));

    EXPECT_FALSE(xml.LoadFromFile(TestSupport::BuildPath(L"no_such_markup.xml").c_str()));
    EXPECT_EQ(L"Error opening file", LastError(xml));

    DeleteFileW(exact.c_str());
    DeleteFileW(over.c_str());
    DeleteFileW(empty.c_str());
}

TEST(MarkupLoad, ReloadAndRelease)
{
    CMarkup xml(L"<a><b/></a>");
    EXPECT_TRUE(xml.IsValid());
    EXPECT_TRUE(xml.GetRoot().HasChildren());
    xml.Release();
    EXPECT_FALSE(xml.IsValid());
    EXPECT_FALSE(xml.GetRoot().IsValid());
    EXPECT_TRUE(xml.Load(L"<c>x</c>"));
    EXPECT_STREQ(L"c", xml.GetRoot().GetName());
    EXPECT_FALSE(xml.Load(L"<c>x</d>"));
    EXPECT_FALSE(xml.IsValid());
    EXPECT_EQ(L"Unmatched closing tag", LastError(xml));
    // The next successful load clears the error.
    EXPECT_TRUE(xml.Load(L"<c/>"));
    EXPECT_EQ(L"", LastError(xml));
}
