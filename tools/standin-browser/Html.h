#pragma once
// The markup model of the stand-in browser: a forgiving HTML parser that
// yields a plain element tree, and the text and address helpers around it.
#include <windows.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace Standin {

struct HtmlNode {
    std::wstring tag;   // lower case; empty for a text node
    std::wstring text;  // text nodes, and the raw text of script, style, title, textarea
    std::vector<std::pair<std::wstring, std::wstring>> attributes;  // names lower case
    std::vector<std::unique_ptr<HtmlNode>> children;
    HtmlNode* parent { nullptr };
    int line { 1 };     // source line of the start tag

    const std::wstring* Attribute(const wchar_t* name) const;
    std::wstring AttributeOr(const wchar_t* name, const wchar_t* fallback) const;
    bool IsText() const { return tag.empty(); }
};

// Never fails: whatever the input, a root element ("#root") comes back.
std::unique_ptr<HtmlNode> ParseHtml(const std::wstring& source);

// Bytes of a response to text: the charset of the content type, else of a
// meta element, else UTF-8 when the bytes are valid UTF-8, else the ANSI page.
std::wstring DecodeText(const std::string& bytes, const std::wstring& contentType);

const HtmlNode* FindFirst(const HtmlNode* root, const wchar_t* tag);
std::wstring TextContent(const HtmlNode* node);
std::wstring CollapseSpaces(const std::wstring& text);
std::wstring ToLower(std::wstring text);
std::wstring Trim(const std::wstring& text);
bool StartsWithNoCase(const std::wstring& text, const wchar_t* prefix);

// An address relative to base made absolute; a bare path or host name
// typed as an address gets its scheme.
std::wstring ResolveUrl(const std::wstring& base, const std::wstring& relative);
std::wstring NormaliseTypedUrl(const std::wstring& typed);
// application/x-www-form-urlencoded, UTF-8.
std::wstring FormEncode(const std::wstring& text);

}  // namespace Standin
