#include <gtest/gtest.h>
#include <climits>
#include "MicroClientConfig.h"
#include "support/TestSupport.h"

using Veneer::CMarkup;

namespace {

SIZE FrameSize(const wchar_t* value)
{
    CMicroClientConfig config;
    config.loginFrameSize = { 111, 222 };  // every number is overwritten
    ApplyConfigKey(config, L"loginFrameSize", value);
    return config.loginFrameSize;
}

void ExpectSize(LONG cx, LONG cy, const wchar_t* value)
{
    SIZE size = FrameSize(value);
    EXPECT_EQ(cx, size.cx) << "value " << std::wstring(value);
    EXPECT_EQ(cy, size.cy) << "value " << std::wstring(value);
}

void ExpectRect(const RECT& rect, LONG l, LONG t, LONG r, LONG b)
{
    EXPECT_EQ(l, rect.left);
    EXPECT_EQ(t, rect.top);
    EXPECT_EQ(r, rect.right);
    EXPECT_EQ(b, rect.bottom);
}

bool LoadText(const wchar_t* text, CMicroClientConfig& config)
{
    CMarkup document;
    document.Load(text);
    return LoadClientConfig(document, config);
}

}  // namespace

TEST(ClientConfigNumbers, SeparatorIsOneCharacterSkippedWhateverItIs)
{
    ExpectSize(1083, 656, L"1083,656");
    ExpectSize(1083, 656, L"1083, 656");
    ExpectSize(1083, 0, L"1083 ,656");
    ExpectSize(1083, 0, L"1083");
    ExpectSize(1083, 656, L"1083,656,7");
    ExpectSize(-5, 10, L"-5,10");
    ExpectSize(7, 9, L"+7x9");
    ExpectSize(0, 0, L"");
    // No digit: the reading stops where it began, so the skipped separator is the "x".
    ExpectSize(0, 0, L"x,5");
    ExpectSize(0, 5, L",5");
    ExpectSize(0, 0, L",");
}

TEST(ClientConfigNumbers, OutOfRangeValuesSaturate)
{
    ExpectSize(INT_MAX, INT_MIN, L"99999999999999999999,-99999999999999999999");
    ExpectSize(INT_MAX, INT_MIN, L"2147483648,-2147483649");
    ExpectSize(INT_MAX, INT_MIN, L"2147483647,-2147483648");
}

TEST(ClientConfigNumbers, RectanglesTakeFourNumbers)
{
    CMicroClientConfig config;
    ApplyConfigKey(config, L"loginWebRect", L"322,169,962,618");
    ApplyConfigKey(config, L"miniRect", L"897,138");
    ApplyConfigKey(config, L"closeRect", L" 1; 2; 3; 4; 5");
    ExpectRect(config.loginWebRect, 322, 169, 962, 618);
    ExpectRect(config.miniRect, 897, 138, 0, 0);
    ExpectRect(config.closeRect, 1, 2, 3, 4);
}

TEST(ClientConfigKeys, TextKeysAreStoredUnchangedAndKeysCompareExactly)
{
    CMicroClientConfig config;
    ApplyConfigKey(config, L"clientName", L"  Tarrowin ");
    ApplyConfigKey(config, L"playGamekeyWord", L"client=pc");
    ApplyConfigKey(config, L"loginURL", L"http://x/?a=1&b=2");
    ApplyConfigKey(config, L"LoginFrameSize", L"1,2");
    ApplyConfigKey(config, L"clientname", L"other");
    ApplyConfigKey(config, L"unknown", L"1,2,3,4");
    EXPECT_STREQ(L"  Tarrowin ", config.clientName.GetData());
    EXPECT_STREQ(L"client=pc", config.playGamekeyWord.GetData());
    EXPECT_STREQ(L"http://x/?a=1&b=2", config.loginURL.GetData());
    EXPECT_EQ(0, config.loginFrameSize.cx);
    EXPECT_EQ(0, config.loginFrameSize.cy);
}

TEST(ClientConfigDocument, OnlyAFirstValueAttributeOfADirectChildCounts)
{
    CMicroClientConfig config;
    EXPECT_TRUE(LoadText(L"<anyRoot>"
                         L"<loginFrameSize name=\"x\" value=\"1083,656\" />"
                         L"<LoginFrameSize value=\"5,6\" />"
                         L"<miniRect Value=\"1,2,3,4\" />"
                         L"<closeRect value=\"1,2,3,4\" extra=\"y\" />"
                         L"<group value=\"\"><clientName value=\"nested\" /></group>"
                         L"<playGamekeyWord value=\"client=pc\">text is ignored</playGamekeyWord>"
                         L"</anyRoot>",
                         config));
    EXPECT_EQ(0, config.loginFrameSize.cx);
    EXPECT_EQ(0, config.loginFrameSize.cy);
    ExpectRect(config.miniRect, 0, 0, 0, 0);
    ExpectRect(config.closeRect, 1, 2, 3, 4);
    EXPECT_TRUE(config.clientName.IsEmpty());
    EXPECT_STREQ(L"client=pc", config.playGamekeyWord.GetData());
}

TEST(ClientConfigDocument, LastDuplicateWins)
{
    CMicroClientConfig config;
    EXPECT_TRUE(LoadText(L"<microClient><clientName value=\"first\" /><miniRect value=\"1,1,1,1\" />"
                         L"<clientName value=\"second\" /><miniRect value=\"2\" /></microClient>",
                         config));
    EXPECT_STREQ(L"second", config.clientName.GetData());
    ExpectRect(config.miniRect, 2, 0, 0, 0);
}

TEST(ClientConfigDocument, UnparsedDocumentLeavesTheDefaults)
{
    CMicroClientConfig config;
    EXPECT_FALSE(LoadText(L"<microClient><clientName value=\"x\" /></wrong>", config));
    CMarkup empty;
    EXPECT_FALSE(LoadClientConfig(empty, config));
    EXPECT_TRUE(config.clientName.IsEmpty());
}

TEST(ClientConfigDocument, ShippedResourceCarriesTheShippedValues)
{
    CMarkup document;
    ASSERT_TRUE(LoadClientConfigResource(document, ::GetModuleHandleW(nullptr)));
    CMicroClientConfig config;
    ASSERT_TRUE(LoadClientConfig(document, config));
    EXPECT_EQ(1083, config.loginFrameSize.cx);
    EXPECT_EQ(656, config.loginFrameSize.cy);
    ExpectRect(config.loginWebRect, 322, 169, 962, 618);
    ExpectRect(config.miniRect, 897, 138, 919, 161);
    ExpectRect(config.closeRect, 927, 131, 955, 161);
    EXPECT_STREQ(L"client=pc", config.playGamekeyWord.GetData());
    EXPECT_STREQ(L"Tarrowin", config.clientName.GetData());
    EXPECT_FALSE(config.loginURL.IsEmpty());
}

TEST(ClientConfigDocument, ModuleWithoutTheResourceLeavesTheDefaults)
{
    CMarkup document;
    EXPECT_FALSE(LoadClientConfigResource(document, ::GetModuleHandleW(L"kernel32.dll")));
    CMicroClientConfig& config = GetClientConfig();
    EXPECT_FALSE(LoadClientConfig(document, config));
    EXPECT_EQ(&config, &GetClientConfig());
    EXPECT_TRUE(config.clientName.IsEmpty());
    EXPECT_TRUE(config.playGamekeyWord.IsEmpty());
    EXPECT_TRUE(config.loginURL.IsEmpty());
    ExpectRect(config.loginWebRect, 0, 0, 0, 0);
    ExpectRect(config.closeRect, 0, 0, 0, 0);
    ExpectRect(config.miniRect, 0, 0, 0, 0);
    EXPECT_EQ(0, config.loginFrameSize.cx);
    EXPECT_EQ(0, config.loginFrameSize.cy);
}
