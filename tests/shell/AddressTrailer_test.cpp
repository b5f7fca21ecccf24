#include <gtest/gtest.h>
#include "AddressTrailer.h"
#include "MicroClientConfig.h"
#include "support/TestSupport.h"

using TestSupport::BuildPath;
using TestSupport::ReadFileBytes;
using TestSupport::WriteFileBytes;

namespace {

typedef std::vector<unsigned char> Bytes;

// The stripped samples of both image formats that the build makes.
const wchar_t* const kSamples[] = { L"tests/shell/trailer_sample_pe32.exe",
                                    L"tests/shell/trailer_sample_pe32plus.exe" };

Bytes Sample(const wchar_t* name)
{
    Bytes bytes = ReadFileBytes(BuildPath(name));
    EXPECT_GT(bytes.size(), 1024u) << "missing sample executable";
    return bytes;
}

// Writes `bytes` to a file of this test and reads its trailer back.
std::string TrailerOf(const Bytes& bytes)
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->name()) + ".exe";
    std::wstring path = BuildPath(L"tests/shell/" + std::wstring(name.begin(), name.end()));
    EXPECT_TRUE(WriteFileBytes(path, bytes));
    std::string text = ReadAddressTrailer(path.c_str());
    ::DeleteFileW(path.c_str());
    return text;
}

Bytes WithTail(Bytes bytes, const std::string& tail)
{
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

void Put32(Bytes& bytes, size_t offset, unsigned value)
{
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<unsigned char>(value >> (8 * i));
}

void Put16(Bytes& bytes, size_t offset, unsigned value)
{
    bytes[offset] = static_cast<unsigned char>(value);
    bytes[offset + 1] = static_cast<unsigned char>(value >> 8);
}

unsigned Get32(const Bytes& bytes, size_t offset)
{
    return bytes[offset] | (bytes[offset + 1] << 8) | (bytes[offset + 2] << 16) | (unsigned(bytes[offset + 3]) << 24);
}

}  // namespace

TEST(AddressTrailer, ReadsTextAppendedAfterTheLastSectionOfBothImageFormats)
{
    for (const wchar_t* name : kSamples) {
        SCOPED_TRACE(std::string(name, name + wcslen(name)));
        const Bytes sample = Sample(name);
        EXPECT_EQ("", TrailerOf(sample));

        std::string text = TrailerOf(WithTail(sample, std::string("A|B\0\0\0\0\0garbage", 15)));
        EXPECT_EQ("A|B", text);
        std::vector<std::string> pieces = SplitText(text, "|");
        ASSERT_EQ(2u, pieces.size());
        EXPECT_EQ("A", pieces[0]);
        EXPECT_EQ("B", pieces[1]);
    }
}

TEST(AddressTrailer, MissingLoginAddressLeavesOnlyTheServicePage)
{
    std::string text = TrailerOf(WithTail(Sample(kSamples[0]), std::string("|B\0", 3)));
    EXPECT_EQ("|B", text);
    std::vector<std::string> pieces = SplitText(text, "|");
    ASSERT_EQ(1u, pieces.size());
    EXPECT_EQ("B", pieces[0]);
}

TEST(AddressTrailer, TextWithoutSeparatorComesBackAsIs)
{
    std::string text = TrailerOf(WithTail(Sample(kSamples[1]), std::string("A\0", 2)));
    EXPECT_EQ("A", text);
    EXPECT_EQ(std::string::npos, text.find('|'));
}

TEST(AddressTrailer, TextWithoutNulIsCutAfter256Bytes)
{
    std::string tail;
    for (int i = 0; i < 300; ++i) tail += static_cast<char>('a' + i % 26);
    tail[100] = '|';
    for (const wchar_t* name : kSamples) {
        std::string text = TrailerOf(WithTail(Sample(name), tail));
        EXPECT_EQ(tail.substr(0, 256), text);
    }
}

TEST(AddressTrailer, FileThatCannotBeOpenedIsReportedInAMessageBox)
{
    std::wstring path = BuildPath(L"tests/shell/no-such-client.exe");
    TestSupport::MessageBoxAnswerer answerer(IDOK);
    EXPECT_EQ("", ReadAddressTrailer(path.c_str()));
    ASSERT_TRUE(answerer.Answered());
    EXPECT_EQ(L"资源文件不存在，打开错误" + path, answerer.Text());
    EXPECT_EQ(L"提示", answerer.Caption());
}

TEST(AddressTrailer, TruncatedOrNonsenseHeadersGiveAnEmptyText)
{
    for (const wchar_t* name : kSamples) {
        SCOPED_TRACE(std::string(name, name + wcslen(name)));
        const Bytes sample = WithTail(Sample(name), std::string("A|B\0", 4));
        const unsigned peOffset = Get32(sample, 0x3C);

        EXPECT_EQ("", TrailerOf(Bytes()));
        EXPECT_EQ("", TrailerOf(Bytes(sample.begin(), sample.begin() + 40)));
        // Cut inside the section table, then inside the section data.
        EXPECT_EQ("", TrailerOf(Bytes(sample.begin(), sample.begin() + peOffset + 24 + 8)));
        EXPECT_EQ("", TrailerOf(Bytes(sample.begin(), sample.begin() + sample.size() / 2)));

        Bytes bad = sample;
        Put32(bad, 0x3C, 0x7FFFFFF0u);
        EXPECT_EQ("", TrailerOf(bad));
        bad = sample;
        Put32(bad, 0x3C, 0xFFFFFFFFu);
        EXPECT_EQ("", TrailerOf(bad));
        bad = sample;
        Put16(bad, peOffset + 6, 0xFFFF);  // NumberOfSections
        EXPECT_EQ("", TrailerOf(bad));
        bad = sample;
        Put16(bad, peOffset + 20, 0xFFF0);  // SizeOfOptionalHeader
        EXPECT_EQ("", TrailerOf(bad));
        bad = sample;
        Put16(bad, peOffset + 6, 0);
        EXPECT_EQ("", TrailerOf(bad));
        bad = sample;
        bad[peOffset] = 'X';
        EXPECT_EQ("", TrailerOf(bad));

        // A section claiming raw data far beyond the end of the file.
        bad = sample;
        const size_t table = peOffset + 24 + (bad[peOffset + 20] | (bad[peOffset + 21] << 8));
        Put32(bad, table + 20, 0xFFFFFF00u);
        Put32(bad, table + 16, 0x1000u);
        EXPECT_EQ("", TrailerOf(bad));
    }
    EXPECT_EQ("", TrailerOf(Bytes(600, 'M')));
}

TEST(SplitText, KeepsOnlyNonEmptyPieces)
{
    EXPECT_EQ((std::vector<std::string>{ "A", "B" }), SplitText("A||B", "|"));
    EXPECT_EQ((std::vector<std::string>{ "A" }), SplitText("A|", "|"));
    EXPECT_EQ((std::vector<std::string>{ "A", "B", "C" }), SplitText(",A;B,,C;", ",;"));
    EXPECT_TRUE(SplitText("||", "|").empty());
    EXPECT_TRUE(SplitText("", "|").empty());
    EXPECT_TRUE(SplitText("A|B", "").empty());
    EXPECT_EQ((std::vector<std::string>{ "A|B" }), SplitText("A|B", ","));
}

TEST(AddressTrailer, APaddedTrailerFollowedByASignatureBlockStillReads)
{
    for (const wchar_t* name : kSamples) {
        SCOPED_TRACE(std::string(name, name + wcslen(name)));
        Bytes signedCopy = Sample(name);
        const size_t start = signedCopy.size();
        const std::string stamped = AddressTrailer::StampedBytes("http://a/|http://b/", start);
        EXPECT_EQ(0u, (start + stamped.size()) % 8);
        signedCopy = WithTail(signedCopy, stamped);
        // A certificate table as a signing tool appends it, and the directory entry naming it.
        const size_t table = signedCopy.size();
        signedCopy = WithTail(signedCopy, std::string("\x40\x00\x00\x00\x00\x02\x02\x00", 8) + std::string(56, '\x5A'));
        const unsigned peOffset = Get32(signedCopy, 0x3C);
        const bool pe32 = signedCopy[peOffset + 24] == 0x0B && signedCopy[peOffset + 25] == 0x01;
        const size_t entry = peOffset + 24 + (pe32 ? 96 : 112) + 32;
        Put32(signedCopy, entry, static_cast<unsigned>(table));
        Put32(signedCopy, entry + 4, 64);
        EXPECT_EQ("http://a/|http://b/", TrailerOf(signedCopy));
        EXPECT_EQ(L"http://b/", TrailerAddress(TrailerOf(signedCopy), 1));
    }
}
