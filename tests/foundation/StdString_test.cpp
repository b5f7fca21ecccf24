#include <gtest/gtest.h>

#include <string>

#include "foundation/StdString.h"

using Veneer::CStdString;

namespace {

bool IsInline(const CStdString& s)
{
    const char* object = reinterpret_cast<const char*>(&s);
    const char* data = reinterpret_cast<const char*>(s.GetData());
    return data >= object && data < object + sizeof(CStdString);
}

}  // namespace

TEST(StdString, InlineHeapBoundary)
{
    const std::wstring s62(62, L'x');
    const std::wstring s63(63, L'y');
    CStdString a(s62.c_str());
    EXPECT_TRUE(IsInline(a));
    EXPECT_EQ(62, a.GetLength());
    CStdString b(s63.c_str());
    EXPECT_FALSE(IsInline(b));
    EXPECT_EQ(63, b.GetLength());
    EXPECT_STREQ(s63.c_str(), b.GetData());
    b = L"0123456789";
    EXPECT_TRUE(IsInline(b));
    EXPECT_STREQ(L"0123456789", b.GetData());

    // Appending across the boundary moves to the heap and keeps the text.
    CStdString c(s62.c_str());
    c += L'z';
    EXPECT_FALSE(IsInline(c));
    EXPECT_EQ(s62 + L"z", std::wstring(c.GetData()));
    c += c;
    EXPECT_EQ(126, c.GetLength());
    EXPECT_EQ(s62 + L"z" + s62 + L"z", std::wstring(c.GetData()));
}

TEST(StdString, AssignLengthAndNulls)
{
    CStdString s(L"abcdef", 3);
    EXPECT_STREQ(L"abc", s.GetData());
    // A length beyond the text stops at its terminator.
    CStdString shorter(L"ab", 200);
    EXPECT_STREQ(L"ab", shorter.GetData());
    EXPECT_EQ(2, shorter.GetLength());
    s.Assign(nullptr);
    EXPECT_TRUE(s.IsEmpty());
    s = static_cast<LPCWSTR>(nullptr);
    EXPECT_TRUE(s.IsEmpty());
    s = L'q';
    EXPECT_STREQ(L"q", s.GetData());
    s += static_cast<LPCWSTR>(nullptr);
    EXPECT_STREQ(L"q", s.GetData());
    s = "ansi";
    EXPECT_STREQ(L"ansi", s.GetData());
    s += " text";
    EXPECT_STREQ(L"ansi text", s.GetData());
    s = static_cast<LPCSTR>(nullptr);
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_STREQ(L"ab", (CStdString(L"a") + L"b").GetData());
    EXPECT_STREQ(L"a", (CStdString(L"a") + static_cast<LPCWSTR>(nullptr)).GetData());
}

TEST(StdString, SelfAssignmentAndAliasing)
{
    const std::wstring long70(70, L'L');
    CStdString heap(long70.c_str());
    const CStdString& alias = heap;
    heap = alias;
    EXPECT_EQ(long70, std::wstring(heap.GetData()));
    CStdString small(L"short");
    small = small;
    EXPECT_STREQ(L"short", small.GetData());

    // A tail of its own heap text that fits inline: copied before the block goes.
    heap.Assign(heap.GetData() + 60);
    EXPECT_TRUE(IsInline(heap));
    EXPECT_EQ(std::wstring(10, L'L'), std::wstring(heap.GetData()));

    CStdString grow(long70.c_str());
    grow.Append(grow.GetData() + 5);
    EXPECT_EQ(135, grow.GetLength());
}

TEST(StdString, HeapBlockShortenedBySetAtReturnsInline)
{
    CStdString s(std::wstring(80, L'h').c_str());
    s.SetAt(3, L'\0');
    EXPECT_EQ(3, s.GetLength());
    s.Append(L"xy");
    EXPECT_TRUE(IsInline(s));
    EXPECT_STREQ(L"hhhxy", s.GetData());
    // A heap string longer than 62 reuses its block when assigned something shorter.
    CStdString t(std::wstring(100, L'a').c_str());
    const LPCWSTR block = t.GetData();
    t = std::wstring(70, L'b').c_str();
    EXPECT_EQ(block, t.GetData());
    EXPECT_EQ(std::wstring(70, L'b'), std::wstring(t.GetData()));
}

TEST(StdString, LeftMidRight)
{
    CStdString s(L"abcdef");
    EXPECT_STREQ(L"cdef", s.Mid(2, -1).GetData());
    EXPECT_STREQ(L"cdef", s.Mid(2).GetData());
    EXPECT_STREQ(L"ef", s.Mid(4, 10).GetData());
    EXPECT_STREQ(L"", s.Mid(7).GetData());
    EXPECT_STREQ(L"", s.Mid(6).GetData());
    EXPECT_STREQ(L"", s.Mid(2, 0).GetData());
    EXPECT_STREQ(L"ab", s.Left(2).GetData());
    EXPECT_STREQ(L"", s.Left(-3).GetData());
    EXPECT_STREQ(L"abcdef", s.Left(60).GetData());
    CStdString abc(L"abc");
    EXPECT_STREQ(L"abc", abc.Right(10).GetData());
    EXPECT_STREQ(L"bc", abc.Right(2).GetData());
    EXPECT_STREQ(L"", abc.Right(0).GetData());
}

TEST(StdString, FindRules)
{
    CStdString s(L"abcabc");
    EXPECT_EQ(0, s.Find(L"abc"));
    EXPECT_EQ(3, s.Find(L"abc", 1));
    EXPECT_EQ(-1, s.Find(L"abc", 6));  // empty tail searched
    EXPECT_EQ(6, s.Find(L"", 6));
    EXPECT_EQ(-1, s.Find(L"abc", 7));
    EXPECT_EQ(-1, s.Find(L"abc", -1));
    EXPECT_EQ(2, s.Find(L'c'));
    EXPECT_EQ(5, s.Find(L'c', 3));
    EXPECT_EQ(-1, s.Find(L'c', 6));  // start = length is outside for characters
    EXPECT_EQ(-1, s.Find(L'c', -2));
    EXPECT_EQ(-1, s.Find(L'z'));
    EXPECT_EQ(5, s.ReverseFind(L'c'));
    EXPECT_EQ(-1, s.ReverseFind(L'z'));
    CStdString empty;
    EXPECT_EQ(-1, empty.Find(L'a'));
    EXPECT_EQ(0, empty.Find(L""));
}

TEST(StdString, Replace)
{
    CStdString s(L"aXa");
    EXPECT_EQ(2, s.Replace(L"a", L"aa"));
    EXPECT_STREQ(L"aaXaa", s.GetData());
    EXPECT_EQ(0, s.Replace(L"q", L"z"));
    EXPECT_EQ(0, s.Replace(L"", L"z"));
    EXPECT_STREQ(L"aaXaa", s.GetData());
    EXPECT_EQ(1, s.Replace(L"X", L""));
    EXPECT_STREQ(L"aaaa", s.GetData());
    CStdString tip(L"line one<n>line two<n>");
    EXPECT_EQ(2, tip.Replace(L"<n>", L"\r\n"));
    EXPECT_STREQ(L"line one\r\nline two\r\n", tip.GetData());
    // Growing past the inline buffer while replacing.
    CStdString grow(std::wstring(40, L'x').c_str());
    EXPECT_EQ(40, grow.Replace(L"x", L"yy"));
    EXPECT_EQ(std::wstring(80, L'y'), std::wstring(grow.GetData()));
}

TEST(StdString, CompareAndCase)
{
    CStdString s(L"Button");
    EXPECT_EQ(0, s.Compare(L"Button"));
    EXPECT_LT(s.Compare(L"button"), 0);
    EXPECT_EQ(0, s.CompareNoCase(L"bUTTON"));
    EXPECT_TRUE(s == L"Button");
    EXPECT_TRUE(s != L"button");
    EXPECT_TRUE(s < L"C");
    EXPECT_TRUE(s <= L"Button");
    EXPECT_TRUE(s > L"A");
    EXPECT_TRUE(s >= L"Button");
    EXPECT_GT(s.Compare(nullptr), 0);
    s.MakeUpper();
    EXPECT_STREQ(L"BUTTON", s.GetData());
    s.MakeLower();
    EXPECT_STREQ(L"button", s.GetData());
}

TEST(StdString, CaseMappingWholeRange)
{
    CStdString accents(L"\x00E9\x0101\x0436");
    accents.MakeUpper();
    EXPECT_STREQ(L"\x00C9\x0100\x0416", accents.GetData());
    accents.MakeLower();
    EXPECT_STREQ(L"\x00E9\x0101\x0436", accents.GetData());

    // Every code unit, surrogate halves and non-characters included.
    std::wstring all;
    for (unsigned ch = 1; ch <= 0xFFFF; ++ch)
        all += static_cast<wchar_t>(ch);
    CStdString upper(all.c_str());
    upper.MakeUpper();
    EXPECT_EQ(0xFFFF, upper.GetLength());
    EXPECT_EQ(L'A', upper[static_cast<int>(L'a') - 1]);
    CStdString lower(all.c_str());
    lower.MakeLower();
    EXPECT_EQ(0xFFFF, lower.GetLength());
    EXPECT_EQ(L'z', lower[static_cast<int>(L'Z') - 1]);
    EXPECT_EQ(L'\x00C9', upper[0xE9 - 1]);
    EXPECT_EQ(static_cast<wchar_t>(0xD800), upper[0xD800 - 1]);
}

TEST(StdString, Format)
{
    CStdString s;
    EXPECT_EQ(7, s.Format(L"%s-%d", L"abc", 123));
    EXPECT_STREQ(L"abc-123", s.GetData());
    const std::wstring big(300, L'w');
    EXPECT_EQ(302, s.Format(L"[%s]", big.c_str()));
    EXPECT_EQ(L"[" + big + L"]", std::wstring(s.GetData()));
    EXPECT_EQ(0, s.Format(L""));
    EXPECT_TRUE(s.IsEmpty());
}

TEST(StdString, SmallFormatTruncatesInsteadOfOverrunning)
{
    CStdString s;
    EXPECT_EQ(5, s.SmallFormat(L"%d", 12345));
    EXPECT_STREQ(L"12345", s.GetData());
    EXPECT_EQ(8, s.SmallFormat(L"%08X", 0xBEEFu));
    EXPECT_STREQ(L"0000BEEF", s.GetData());
    const std::wstring big(500, L'q');
    EXPECT_EQ(63, s.SmallFormat(L"%s%s", big.c_str(), big.c_str()));
    EXPECT_EQ(std::wstring(63, L'q'), std::wstring(s.GetData()));
    const std::wstring exact(63, L'e');
    EXPECT_EQ(63, s.SmallFormat(L"%s", exact.c_str()));
    EXPECT_EQ(exact, std::wstring(s.GetData()));
}
