#include <gtest/gtest.h>

#include <string>

#include "foundation/DuiString.h"

using Veneer::CDuiString;

namespace {

bool IsInline(const CDuiString& s)
{
    const char* object = reinterpret_cast<const char*>(&s);
    const char* data = reinterpret_cast<const char*>(s.GetData());
    return data >= object && data < object + sizeof(CDuiString);
}

}  // namespace

TEST(DuiString, InlineHeapBoundary)
{
    const std::wstring s62(62, L'x');
    const std::wstring s63(63, L'y');
    CDuiString a(s62.c_str());
    EXPECT_TRUE(IsInline(a));
    EXPECT_EQ(62, a.GetLength());
    CDuiString b(s63.c_str());
    EXPECT_FALSE(IsInline(b));
    EXPECT_EQ(63, b.GetLength());
    EXPECT_STREQ(s63.c_str(), b.GetData());
    b = L"0123456789";
    EXPECT_TRUE(IsInline(b));
    EXPECT_STREQ(L"0123456789", b.GetData());
}

TEST(DuiString, FormatWideArguments)
{
    CDuiString s;
    EXPECT_EQ(7, s.Format(L"%s-%d", L"abc", 123));
    EXPECT_STREQ(L"abc-123", s.GetData());
    EXPECT_EQ(5, s.SmallFormat(L"%d", 12345));
    EXPECT_STREQ(L"12345", s.GetData());
}
