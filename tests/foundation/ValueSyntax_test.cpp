#include <gtest/gtest.h>

#include <string>

#include "foundation/ValueSyntax.h"

using namespace Veneer;

TEST(ValueSyntax, NumbersListsAndSizes)
{
    RECT rc = ValueSyntax::ParseRect(L"-40,5,-10,25");
    EXPECT_EQ(-40, rc.left);
    EXPECT_EQ(5, rc.top);
    EXPECT_EQ(-10, rc.right);
    EXPECT_EQ(25, rc.bottom);
    // Any single character separates; exactly one is skipped.
    rc = ValueSyntax::ParseRect(L"1 2x3;4");
    EXPECT_EQ(3, rc.right);
    EXPECT_EQ(4, rc.bottom);
    rc = ValueSyntax::ParseRect(L"1,,3,4");
    EXPECT_EQ(0, rc.top);
    EXPECT_EQ(3, rc.right);
    // Short lists never read past the text; the missing numbers are 0.
    long v[4] = { 9, 9, 9, 9 };
    EXPECT_EQ(2, ValueSyntax::ParseNumberList(L"7,8", v, 4));
    EXPECT_EQ(7, v[0]);
    EXPECT_EQ(8, v[1]);
    EXPECT_EQ(0, v[2]);
    EXPECT_EQ(0, v[3]);
    EXPECT_EQ(0, ValueSyntax::ParseNumberList(nullptr, v, 4));
    EXPECT_EQ(1, ValueSyntax::ParseNumberList(L"", v, 4));
    SIZE sz = ValueSyntax::ParseSize(L"400,300");
    EXPECT_EQ(400, sz.cx);
    EXPECT_EQ(300, sz.cy);
    sz = ValueSyntax::ParseSize(L"12");
    EXPECT_EQ(12, sz.cx);
    EXPECT_EQ(0, sz.cy);

    EXPECT_EQ(-12, ValueSyntax::ParseInt(L"  -12px"));
    EXPECT_EQ(0, ValueSyntax::ParseInt(L"px"));
    EXPECT_EQ(0, ValueSyntax::ParseInt(nullptr));
    LPCWSTR end = nullptr;
    LPCWSTR text = L"42,7";
    EXPECT_EQ(42, ValueSyntax::ParseInt(text, &end));
    EXPECT_EQ(text + 2, end);
}

TEST(ValueSyntax, ColoursAndBooleans)
{
    EXPECT_EQ(0xFF102030u, ValueSyntax::ParseColor(L"#FF102030"));
    EXPECT_EQ(0xFF102030u, ValueSyntax::ParseColor(L"FF102030"));
    EXPECT_EQ(0xFF102030u, ValueSyntax::ParseColor(L"  #ff102030"));
    EXPECT_EQ(0xFF102030u, ValueSyntax::ParseColor(L"0xFF102030"));
    EXPECT_EQ(0x00102030u, ValueSyntax::ParseColor(L"#102030"));
    EXPECT_EQ(0u, ValueSyntax::ParseColor(L" #FF102030", false));
    EXPECT_EQ(0xFF102030u, ValueSyntax::ParseColor(L"#FF102030", false));
    EXPECT_EQ(0u, ValueSyntax::ParseColor(L""));
    EXPECT_EQ(0u, ValueSyntax::ParseColor(L"   "));
    EXPECT_EQ(0u, ValueSyntax::ParseColor(nullptr));

    EXPECT_TRUE(ValueSyntax::ParseBool(L"true"));
    EXPECT_FALSE(ValueSyntax::ParseBool(L"True"));
    EXPECT_FALSE(ValueSyntax::ParseBool(L"TRUE"));
    EXPECT_FALSE(ValueSyntax::ParseBool(L"1"));
    EXPECT_FALSE(ValueSyntax::ParseBool(L"true "));
    EXPECT_FALSE(ValueSyntax::ParseBool(nullptr));
}

TEST(ValueSyntax, BoundedFormattingNeverOverruns)
{
    wchar_t buffer[12];
    wmemset(buffer, L'#', 12);
    EXPECT_EQ(7, FormatBounded(buffer, 8, L"%s%d", L"abcdef", 12345));
    EXPECT_STREQ(L"abcdef1", buffer);
    for (int i = 8; i < 12; ++i)
        EXPECT_EQ(L'#', buffer[i]);
    EXPECT_EQ(3, FormatBounded(buffer, 8, L"%d", 123));
    EXPECT_STREQ(L"123", buffer);
    EXPECT_EQ(7, FormatBounded(buffer, 8, L"%s", L"1234567"));
    EXPECT_STREQ(L"1234567", buffer);
    EXPECT_EQ(0, FormatBounded(buffer, 1, L"%s", L"x"));
    EXPECT_EQ(L'\0', buffer[0]);
    EXPECT_EQ(0, FormatBounded(nullptr, 0, L"%s", L"x"));

    EXPECT_EQ(3, CopyBounded(buffer, 4, L"abcdef"));
    EXPECT_STREQ(L"abc", buffer);
    EXPECT_EQ(0, CopyBounded(buffer, 4, nullptr));
    EXPECT_STREQ(L"", buffer);
}

TEST(ValueSyntax, CharacterCaseMapping)
{
    EXPECT_EQ(L'A', UpperChar(L'a'));
    EXPECT_EQ(L'a', LowerChar(L'A'));
    EXPECT_EQ(L'\x00C9', UpperChar(L'\x00E9'));
    EXPECT_EQ(L'1', UpperChar(L'1'));
    EXPECT_EQ(static_cast<wchar_t>(0xD800), UpperChar(static_cast<wchar_t>(0xD800)));
    for (unsigned ch = 0; ch <= 0xFFFF; ++ch) {
        const wchar_t c = static_cast<wchar_t>(ch);
        // Mapping an upper-case result back never yields a different letter
        // class for plain ASCII; for the rest it must simply be defined.
        (void)UpperChar(c);
        (void)LowerChar(c);
    }
    EXPECT_EQ(L'\0', UpperChar(L'\0'));
}
