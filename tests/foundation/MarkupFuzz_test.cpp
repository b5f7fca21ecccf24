#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "foundation/Markup.h"
#include "support/TestSupport.h"

using Veneer::CMarkup;
using Veneer::CMarkupNode;

namespace {

const std::set<std::wstring>& KnownErrors()
{
    static const std::set<std::wstring> known = {
        L"Expected start tag", L"Error parsing element name", L"Expected start-tag closing",
        L"Expected end-tag start", L"Unmatched closing tag", L"Error while parsing attributes",
        L"Expected attribute value", L"Error while parsing attribute string",
        L"Missing byte-order mark",
    };
    return known;
}

bool IsNameText(LPCWSTR text)
{
    for (; *text; ++text) {
        const wchar_t ch = *text;
        const bool ascii = (ch >= L'0' && ch <= L'9') || (ch >= L'a' && ch <= L'z')
            || (ch >= L'A' && ch <= L'Z') || ch == L'_' || ch == L':';
        if (!ascii && (ch < 128 || !IsCharAlphaNumericW(ch)))
            return false;
    }
    return true;
}

// Walks every element without recursion; checks what the parser promises.
void CheckDocument(CMarkup& xml, const std::string& context)
{
    std::vector<CMarkupNode> pending;
    if (xml.GetRoot().IsValid())
        pending.push_back(xml.GetRoot());
    size_t visited = 0;
    while (!pending.empty()) {
        CMarkupNode node = pending.back();
        pending.pop_back();
        ASSERT_LT(++visited, 5000000u) << context;
        ASSERT_TRUE(IsNameText(node.GetName())) << context;
        ASSERT_NE(nullptr, node.GetValue()) << context;
        const int count = node.GetAttributeCount();
        ASSERT_GE(count, 0) << context;
        ASSERT_LE(count, 64) << context;
        for (int i = 0; i < count; ++i) {
            LPCWSTR name = node.GetAttributeName(i);
            ASSERT_TRUE(IsNameText(name)) << context;
            ASSERT_TRUE(node.HasAttribute(name)) << context;
            wchar_t copy[8];
            ASSERT_TRUE(node.GetAttributeValue(i, copy, 8)) << context;
            ASSERT_EQ(std::wstring(node.GetAttributeValue(i)).substr(0, 7), copy) << context;
        }
        if (node.HasSiblings())
            pending.push_back(node.GetSibling());
        if (node.HasChildren()) {
            CMarkupNode child = node.GetChild();
            ASSERT_TRUE(child.GetParent().IsValid()) << context;
            pending.push_back(child);
        }
    }
}

void LoadAndCheck(const std::vector<unsigned char>& bytes, int encoding, bool preserve,
    const std::string& context)
{
    CMarkup xml;
    xml.SetPreserveWhitespace(preserve);
    const bool loaded = xml.LoadFromMem(bytes.empty() ? nullptr : bytes.data(),
        static_cast<DWORD>(bytes.size()), encoding);
    if (loaded) {
        EXPECT_TRUE(xml.IsValid()) << context;
        CheckDocument(xml, context);
        return;
    }
    EXPECT_FALSE(xml.IsValid()) << context;
    wchar_t message[100] = {};
    xml.GetLastErrorMessage(message, 100);
    EXPECT_EQ(1u, KnownErrors().count(message)) << context;
}

std::vector<std::vector<unsigned char>> Samples()
{
    std::vector<std::vector<unsigned char>> samples;
    for (const wchar_t* name : { L"foundation/login.xml", L"foundation/play.xml", L"foundation/config.xml" }) {
        samples.push_back(TestSupport::ReadFileBytes(TestSupport::FixturePath(name)));
    }
    return samples;
}

void Mutate(std::vector<unsigned char>& doc, std::mt19937& rng)
{
    static const unsigned char specials[] = { '<', '>', '/', '"', '=', '&', ';', '!', '?', '-',
        ' ', '\t', '\n', 0, 0xFF, 0xFE, 0xEF, 0xBB, 0xBF, 0xC3, 0xE6, 'a', ':', '\'' };
    auto pick = [&rng](size_t n) { return static_cast<size_t>(rng() % (n ? n : 1)); };
    const int rounds = 1 + static_cast<int>(rng() % 4);
    for (int r = 0; r < rounds; ++r) {
        switch (rng() % 7) {
        case 0:  // flip a byte
            if (!doc.empty())
                doc[pick(doc.size())] ^= static_cast<unsigned char>(1u << (rng() % 8));
            break;
        case 1:  // insert a markup character
            doc.insert(doc.begin() + static_cast<long>(pick(doc.size() + 1)),
                specials[pick(sizeof(specials))]);
            break;
        case 2:  // overwrite with a markup character
            if (!doc.empty())
                doc[pick(doc.size())] = specials[pick(sizeof(specials))];
            break;
        case 3: {  // delete a range
            if (doc.empty())
                break;
            const size_t at = pick(doc.size());
            const size_t n = std::min(doc.size() - at, 1 + pick(40));
            doc.erase(doc.begin() + static_cast<long>(at), doc.begin() + static_cast<long>(at + n));
            break;
        }
        case 4: {  // duplicate a range somewhere else
            if (doc.empty())
                break;
            const size_t at = pick(doc.size());
            const size_t n = std::min(doc.size() - at, 1 + pick(200));
            std::vector<unsigned char> piece(doc.begin() + static_cast<long>(at),
                doc.begin() + static_cast<long>(at + n));
            doc.insert(doc.begin() + static_cast<long>(pick(doc.size() + 1)), piece.begin(), piece.end());
            break;
        }
        case 5:  // truncate
            doc.resize(pick(doc.size() + 1));
            break;
        default:  // random bytes
            for (int i = 0; i < 8 && !doc.empty(); ++i)
                doc[pick(doc.size())] = static_cast<unsigned char>(rng());
            break;
        }
    }
}

}  // namespace

TEST(MarkupFuzz, RandomMutations)
{
    const auto samples = Samples();
    for (const auto& sample : samples)
        ASSERT_FALSE(sample.empty());
    std::mt19937 rng(20261208u);
    const auto started = std::chrono::steady_clock::now();
    const int iterations = 4000;
    int done = 0;
    for (; done < iterations; ++done) {
        std::vector<unsigned char> doc = samples[rng() % samples.size()];
        Mutate(doc, rng);
        const int encodings[] = { 0, 0, 0, 2, 1 };
        int encoding = encodings[rng() % 5];
        if (encoding == 1) {
            // Widen to UTF-16 with a mark so that the swap path is exercised too.
            std::vector<unsigned char> wide = { 0xFF, 0xFE };
            const bool big = rng() % 2 == 0;
            if (big)
                std::swap(wide[0], wide[1]);
            for (unsigned char b : doc) {
                wide.push_back(big ? 0 : b);
                wide.push_back(big ? b : 0);
            }
            if (rng() % 4 == 0 && wide.size() > 3)
                wide.resize(wide.size() - 1 - rng() % 3);
            doc.swap(wide);
        }
        LoadAndCheck(doc, encoding, rng() % 2 == 0, "iteration " + std::to_string(done));
        if (HasFatalFailure())
            return;
        // Bounded time even on a slow machine or under heap checking.
        if (std::chrono::steady_clock::now() - started > std::chrono::seconds(60))
            break;
    }
    EXPECT_GE(done, 500);
}

TEST(MarkupFuzz, EveryPrefixOfASkin)
{
    const auto samples = Samples();
    for (const auto& sample : samples) {
        for (size_t n = 0; n <= sample.size(); ++n) {
            std::vector<unsigned char> prefix(sample.begin(), sample.begin() + static_cast<long>(n));
            LoadAndCheck(prefix, 0, true, "prefix " + std::to_string(n));
            if (HasFatalFailure())
                return;
        }
    }
}

TEST(MarkupFuzz, BinaryNoise)
{
    std::mt19937 rng(7u);
    for (int i = 0; i < 300; ++i) {
        std::vector<unsigned char> noise(rng() % 2048);
        for (auto& b : noise)
            b = static_cast<unsigned char>(rng());
        if (i % 3 == 0 && !noise.empty())
            noise[0] = '<';
        LoadAndCheck(noise, static_cast<int>(rng() % 3), i % 2 == 0, "noise " + std::to_string(i));
        if (HasFatalFailure())
            return;
    }
}

TEST(MarkupFuzz, DeepNesting)
{
    const int depth = 300000;
    std::wstring closed;
    for (int i = 0; i < depth; ++i)
        closed += L"<a x=\"1\">";
    std::wstring unclosed = closed;
    for (int i = 0; i < depth; ++i)
        closed += L"</a>";

    CMarkup xml;
    ASSERT_TRUE(xml.Load(closed.c_str()));
    CMarkupNode node = xml.GetRoot();
    int levels = 0;
    while (node.IsValid()) {
        ++levels;
        ASSERT_STREQ(L"a", node.GetName());
        node = node.GetChild();
    }
    EXPECT_EQ(depth, levels);

    EXPECT_FALSE(xml.Load(unclosed.c_str()));
    wchar_t message[100] = {};
    xml.GetLastErrorMessage(message, 100);
    EXPECT_STREQ(L"Expected end-tag start", message);

    std::wstring comments;
    for (int i = 0; i < depth; ++i)
        comments += L"<b><!-- x --><?p?>";
    EXPECT_FALSE(xml.Load(comments.c_str()));
    xml.GetLastErrorMessage(message, 100);
    EXPECT_STREQ(L"Expected start tag", message);
}
