#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/PaintManagerUI.h"
#include "foundation/Markup.h"
#include "support/TestSupport.h"

using Veneer::CMarkup;
using Veneer::CPaintManagerUI;

namespace {

std::wstring LastError(const CMarkup& xml)
{
    wchar_t text[100] = {};
    xml.GetLastErrorMessage(text, 100);
    return text;
}

// The settings are process-wide: every test leaves them as it found them.
class MarkupArchive : public ::testing::Test {
protected:
    void TearDown() override
    {
        CPaintManagerUI::SetResourceZip(L"", false);
        CPaintManagerUI::SetResourcePath(L"");
    }
};

}  // namespace

TEST_F(MarkupArchive, PlainFolder)
{
    CPaintManagerUI::SetResourcePath(TestSupport::FixturePath(L"foundation").c_str());
    CMarkup xml;
    ASSERT_TRUE(xml.LoadFromFile(L"login.xml")) << LastError(xml);
    EXPECT_STREQ(L"Window", xml.GetRoot().GetName());
    EXPECT_FALSE(xml.LoadFromFile(L"missing.xml"));
    EXPECT_EQ(L"Error opening file", LastError(xml));
}

TEST_F(MarkupArchive, ArchiveFileOpenedPerLoad)
{
    CPaintManagerUI::SetResourcePath(TestSupport::BuildPath(L"tests").c_str());
    CPaintManagerUI::SetResourceZip(L"markup_skin.zip", false);
    CMarkup xml;
    ASSERT_TRUE(xml.LoadFromFile(L"login.xml")) << LastError(xml);
    EXPECT_STREQ(L"Window", xml.GetRoot().GetName());
    // Names are matched ignoring ASCII case, backslashes taken as slashes.
    ASSERT_TRUE(xml.LoadFromFile(L"SKINS\\Play.XML")) << LastError(xml);
    EXPECT_STREQ(L"1024,768", xml.GetRoot().GetAttributeValue(L"size"));

    EXPECT_FALSE(xml.LoadFromFile(L"nothere.xml"));
    EXPECT_EQ(L"Could not find ziped file", LastError(xml));
    EXPECT_FALSE(xml.LoadFromFile(L"empty.xml"));
    EXPECT_EQ(L"File is empty", LastError(xml));
    ASSERT_TRUE(xml.LoadFromFile(L"limit.xml")) << LastError(xml);
    EXPECT_STREQ(L"Window", xml.GetRoot().GetName());
    EXPECT_FALSE(xml.LoadFromFile(L"big.xml"));
    EXPECT_EQ(L"File too large", LastError(xml));
    EXPECT_FALSE(xml.IsValid());

    CPaintManagerUI::SetResourceZip(L"no_such_archive.zip", false);
    EXPECT_FALSE(xml.LoadFromFile(L"login.xml"));
    EXPECT_EQ(L"Error opening zip file", LastError(xml));
}

TEST_F(MarkupArchive, CachedMemoryArchiveStaysOpen)
{
    const std::vector<unsigned char> zip =
        TestSupport::ReadFileBytes(TestSupport::BuildPath(L"tests/markup_skin.zip"));
    ASSERT_FALSE(zip.empty());
    CPaintManagerUI::SetResourceZip(const_cast<unsigned char*>(zip.data()),
        static_cast<unsigned int>(zip.size()));
    ASSERT_NE(nullptr, CPaintManagerUI::GetResourceZipHandle());
    CMarkup xml;
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(xml.LoadFromFile(L"login.xml")) << LastError(xml);
        EXPECT_STREQ(L"Window", xml.GetRoot().GetName());
        ASSERT_TRUE(xml.LoadFromFile(L"skins/play.xml")) << LastError(xml);
        EXPECT_FALSE(xml.LoadFromFile(L"nothere.xml"));
    }
    EXPECT_NE(nullptr, CPaintManagerUI::GetResourceZipHandle());
    CPaintManagerUI::Term();
}
