// The markup parser: UTF-8, UTF-16 and ANSI decoding, entities, comments,
// declarations and character data, attributes, nesting.
#include <set>
#include <string>
#include <vector>

#include "foundation/Markup.h"
#include "fuzz/FuzzTarget.h"

using Veneer::CMarkup;
using Veneer::CMarkupNode;

namespace {

bool IsNameText(LPCWSTR text)
{
    for (; *text; ++text) {
        const wchar_t ch = *text;
        const bool ascii = (ch >= L'0' && ch <= L'9') || (ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z')
            || ch == L'_' || ch == L':';
        if (!ascii && (ch < 128 || !IsCharAlphaNumericW(ch)))
            return false;
    }
    return true;
}

// Walks every element without recursion and checks what the parser promises.
std::string CheckDocument(CMarkup& xml)
{
    std::vector<CMarkupNode> pending;
    if (!xml.GetRoot().IsValid())
        return "a document loaded without a root element";
    pending.push_back(xml.GetRoot());
    while (!pending.empty()) {
        CMarkupNode node = pending.back();
        pending.pop_back();
        if (!IsNameText(node.GetName()) || !node.GetValue())
            return "an element name outside the name characters";
        const int count = node.GetAttributeCount();
        if (count < 0 || count > 64)
            return "attribute count out of range";
        for (int i = 0; i < count; ++i) {
            LPCWSTR name = node.GetAttributeName(i);
            if (!IsNameText(name) || !node.HasAttribute(name))
                return "an attribute that cannot be found by its name";
            wchar_t copy[5];
            if (!node.GetAttributeValue(i, copy, 5) || std::wstring(node.GetAttributeValue(i)).substr(0, 4) != copy)
                return "a bounded attribute copy that differs";
        }
        if (node.HasSiblings())
            pending.push_back(node.GetSibling());
        if (node.HasChildren()) {
            CMarkupNode child = node.GetChild();
            if (!child.GetParent().IsValid())
                return "a child without its parent";
            pending.push_back(child);
        }
    }
    return std::string();
}

std::string Check(CMarkup& xml, bool loaded)
{
    static const std::set<std::wstring> known = { L"Expected start tag", L"Error parsing element name",
        L"Expected start-tag closing", L"Expected end-tag start", L"Unmatched closing tag",
        L"Error while parsing attributes", L"Expected attribute value", L"Error while parsing attribute string",
        L"Missing byte-order mark" };
    if (loaded)
        return CheckDocument(xml);
    if (xml.IsValid())
        return "a failed load left a document";
    wchar_t message[100] = {};
    xml.GetLastErrorMessage(message, 100);
    wchar_t location[50] = {};
    xml.GetLastErrorLocation(location, 50);
    return known.count(message) ? std::string() : "an unknown error message";
}

std::string Run(const Fuzz::Bytes& input)
{
    const int encodings[] = { 0, 2, 1 };
    for (int encoding : encodings) {
        for (bool preserve : { true, false }) {
            CMarkup xml;
            xml.SetPreserveWhitespace(preserve);
            const bool loaded = xml.LoadFromMem(input.empty() ? nullptr : input.data(),
                static_cast<DWORD>(input.size()), encoding);
            const std::string broken = Check(xml, loaded);
            if (!broken.empty())
                return broken + " (encoding " + std::to_string(encoding) + ")";
            if (encoding == 1)
                break;
        }
    }
    // The same bytes widened one to one reach the parser without any decoding.
    std::wstring wide(input.begin(), input.end());
    wide.shrink_to_fit();
    CMarkup xml;
    return Check(xml, xml.Load(wide.c_str()));
}

std::vector<Fuzz::Bytes> Seeds()
{
    std::vector<Fuzz::Bytes> seeds;
    for (const wchar_t* name : { L"foundation/login.xml", L"foundation/play.xml", L"foundation/config.xml",
             L"foundation/login_bom.xml", L"foundation/login_utf16le.xml", L"foundation/login_utf16be.xml" })
        seeds.push_back(Fuzz::ReadFile(Fuzz::FixturePath(name)));
    const char* built[] = {
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><!DOCTYPE w [<!ENTITY a \"x>\">]><w a=\"&amp;&lt;&gt;&quot;&apos;&nbsp;\">"
        "t<![CDATA[<b>]]>x<!-- c --><c/></w>",
        "<a><b><c><d><e><f x=\"1\" y=\"2\"/></e></d></c></b></a>",
        "<r v=\"\xE4\xB8\xAD\xF0\x9F\x98\x80\xED\xA0\x80\xC3\"> \t\n  </r>",
    };
    for (const char* text : built)
        seeds.emplace_back(text, text + strlen(text));
    return seeds;
}

void Mutate(Fuzz::Bytes& input, std::mt19937& random)
{
    static const char* pieces[] = { "<a>", "</a>", "<a x=\"1\">", "&amp;", "&apos;", "&", "&lt", "<![CDATA[", "]]>",
        "<!DOCTYPE x [", "<!--", "-->", "<?", "?>", "/>", "\xF0\x9F\x98", "\xED\xB0\x80", "\"", "=" };
    const char* piece = pieces[random() % (sizeof pieces / sizeof pieces[0])];
    const size_t at = input.empty() ? 0 : random() % (input.size() + 1);
    const int times = random() % 4 == 0 ? 1 + static_cast<int>(random() % 3000) : 1;
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    input.insert(input.begin() + static_cast<long>(at), text.begin(), text.end());
}

Fuzz::Registration registration({ "markup", Seeds, Run, Mutate });

}  // namespace
