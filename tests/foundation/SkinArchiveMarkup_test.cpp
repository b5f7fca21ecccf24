#include <gtest/gtest.h>

#include <string>

#include "SkinArchiveTestUtil.h"
#include "engine/PaintManagerUI.h"
#include "foundation/Markup.h"

using namespace Veneer;
using namespace SkinArchiveTest;

namespace {

std::wstring LastError(const CMarkup& xml)
{
    wchar_t text[100] {};
    xml.GetLastErrorMessage(text, 100);
    return text;
}

// Leaves the process-wide skin location as it found it, whatever the test did.
struct SkinLocation {
    explicit SkinLocation(const std::wstring& folder) { CPaintManagerUI::SetResourcePath(folder.c_str()); }
    ~SkinLocation()
    {
        CPaintManagerUI::SetResourceZip(L"", false);
        CPaintManagerUI::SetResourcePath(L"");
    }
};

}  // namespace

TEST(SkinArchiveMarkup, LoadsSkinFilesFromAnArchiveFile)
{
    SkinLocation location(GeneratedPath(L""));
    CPaintManagerUI::SetResourceZip(L"deflated.zip");
    CMarkup xml;
    ASSERT_TRUE(xml.LoadFromFile(L"skin/login.xml")) << LastError(xml);
    EXPECT_STREQ(L"Window", xml.GetRoot().GetName());
    // Looked up with backslashes and any ASCII case.
    EXPECT_TRUE(xml.LoadFromFile(L"SKIN\\Login.XML")) << LastError(xml);

    EXPECT_FALSE(xml.LoadFromFile(L"skin/missing.xml"));
    EXPECT_EQ(L"Could not find ziped file", LastError(xml));
    EXPECT_FALSE(xml.LoadFromFile(L"empty.txt"));
    EXPECT_EQ(L"File is empty", LastError(xml));

    CPaintManagerUI::SetResourceZip(L"no-such.zip");
    EXPECT_FALSE(xml.LoadFromFile(L"skin/login.xml"));
    EXPECT_EQ(L"Error opening zip file", LastError(xml));
}

TEST(SkinArchiveMarkup, LoadsTheSameFileAgainFromTheCachedMemoryArchive)
{
    SkinLocation location(L"");
    const Bytes bytes = LoadArchive(L"descriptor.zip");
    CPaintManagerUI::SetResourceZip(const_cast<unsigned char*>(bytes.data()), static_cast<unsigned>(bytes.size()));
    ASSERT_NE(nullptr, CPaintManagerUI::GetResourceZipHandle());
    // Every frame of the client loads its layout through the one cached handle.
    for (int load = 0; load < 3; ++load) {
        CMarkup xml;
        ASSERT_TRUE(xml.LoadFromFile(L"skin/playGameWindow.xml")) << load << ": " << LastError(xml);
        EXPECT_STREQ(L"Window", xml.GetRoot().GetName());
    }
}

TEST(SkinArchiveMarkup, DamagedOrOversizedEntriesAreNotParsed)
{
    SkinLocation location(L"");
    Bytes bytes = LoadArchive(L"descriptor.zip");
    const ZipLayout layout = ReadLayout(bytes);
    const size_t login = layout.Named("skin/login.xml").central;
    Put32(bytes, login + 16, Get32(bytes, login + 16) ^ 0x100);  // CRC
    const size_t random = layout.Named("random.txt").central;
    Put32(bytes, random + 24, CMarkup::MAX_FILE_SIZE + 1);  // possible for its data, too large to load
    CPaintManagerUI::SetResourceZip(bytes.data(), static_cast<unsigned>(bytes.size()));
    ASSERT_NE(nullptr, CPaintManagerUI::GetResourceZipHandle());
    CMarkup xml;
    EXPECT_FALSE(xml.LoadFromFile(L"skin/login.xml"));
    EXPECT_EQ(L"Could not unzip file", LastError(xml));
    EXPECT_FALSE(xml.LoadFromFile(L"random.txt"));
    EXPECT_EQ(L"File too large", LastError(xml));
    EXPECT_TRUE(xml.LoadFromFile(L"skin/loginWebWnd.xml")) << LastError(xml);
}
