#include "Html.h"

#include <shlwapi.h>
#include <wininet.h>

#include <algorithm>
#include <cwctype>

namespace Standin {

const std::wstring* HtmlNode::Attribute(const wchar_t* name) const
{
    for (const auto& attribute : attributes) {
        if (attribute.first == name) {
            return &attribute.second;
        }
    }
    return nullptr;
}

std::wstring HtmlNode::AttributeOr(const wchar_t* name, const wchar_t* fallback) const
{
    const std::wstring* value = Attribute(name);
    return value ? *value : std::wstring(fallback);
}

std::wstring ToLower(std::wstring text)
{
    for (auto& c : text) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    return text;
}

std::wstring Trim(const std::wstring& text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && std::iswspace(text[begin])) {
        ++begin;
    }
    while (end > begin && std::iswspace(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

bool StartsWithNoCase(const std::wstring& text, const wchar_t* prefix)
{
    size_t n = wcslen(prefix);
    return text.size() >= n && _wcsnicmp(text.c_str(), prefix, n) == 0;
}

namespace {

bool IsVoid(const std::wstring& tag)
{
    static const wchar_t* const names[] = { L"area", L"base", L"br", L"col", L"embed", L"hr", L"img",
        L"input", L"link", L"meta", L"param", L"source", L"track", L"wbr" };
    for (auto name : names) {
        if (tag == name) {
            return true;
        }
    }
    return false;
}

bool IsRawText(const std::wstring& tag)
{
    return tag == L"script" || tag == L"style" || tag == L"title" || tag == L"textarea" || tag == L"xmp";
}

// Elements whose start closes an open paragraph.
bool ClosesParagraph(const std::wstring& tag)
{
    static const wchar_t* const names[] = { L"p", L"div", L"h1", L"h2", L"h3", L"h4", L"h5", L"h6", L"ul",
        L"ol", L"table", L"form", L"pre", L"blockquote", L"hr", L"center", L"dl", L"section", L"header",
        L"footer", L"nav", L"article", L"address", L"fieldset" };
    for (auto name : names) {
        if (tag == name) {
            return true;
        }
    }
    return false;
}

struct Entity {
    const wchar_t* name;
    wchar_t value;
};

const Entity kEntities[] = { { L"amp", L'&' }, { L"lt", L'<' }, { L"gt", L'>' }, { L"quot", L'"' },
    { L"apos", L'\'' }, { L"nbsp", 0xA0 }, { L"copy", 0xA9 }, { L"reg", 0xAE }, { L"middot", 0xB7 },
    { L"raquo", 0xBB }, { L"laquo", 0xAB }, { L"hellip", 0x2026 }, { L"mdash", 0x2014 },
    { L"ndash", 0x2013 }, { L"times", 0xD7 }, { L"yen", 0xA5 }, { L"euro", 0x20AC } };

void AppendCodePoint(std::wstring& out, unsigned long cp)
{
    if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        out += 0xFFFD;
    } else if (cp >= 0x10000) {
        cp -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (cp >> 10));
        out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
    } else {
        out += static_cast<wchar_t>(cp);
    }
}

std::wstring DecodeEntities(const std::wstring& text)
{
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'&') {
            out += text[i];
            continue;
        }
        size_t semi = text.find(L';', i + 1);
        if (semi == std::wstring::npos || semi - i > 10) {
            out += text[i];
            continue;
        }
        std::wstring name = text.substr(i + 1, semi - i - 1);
        if (!name.empty() && name[0] == L'#') {
            bool hex = name.size() > 1 && (name[1] == L'x' || name[1] == L'X');
            std::wstring digits = name.substr(hex ? 2 : 1);
            if (digits.empty() || digits.size() > 7) {
                out += text[i];
                continue;
            }
            wchar_t* end = nullptr;
            unsigned long cp = wcstoul(digits.c_str(), &end, hex ? 16 : 10);
            if (!end || *end != 0) {
                out += text[i];
                continue;
            }
            AppendCodePoint(out, cp);
            i = semi;
            continue;
        }
        bool found = false;
        for (const auto& entity : kEntities) {
            if (name == entity.name) {
                out += entity.value;
                found = true;
                break;
            }
        }
        if (found) {
            i = semi;
        } else {
            out += text[i];
        }
    }
    return out;
}

const size_t kMaxDepth = 200;

class Parser {
public:
    explicit Parser(const std::wstring& source) : m_src(source) {}

    std::unique_ptr<HtmlNode> Run()
    {
        auto root = std::make_unique<HtmlNode>();
        root->tag = L"#root";
        m_stack.push_back(root.get());
        size_t textStart = 0;
        while (m_pos < m_src.size()) {
            if (m_src[m_pos] != L'<') {
                ++m_pos;
                continue;
            }
            wchar_t next = m_pos + 1 < m_src.size() ? m_src[m_pos + 1] : 0;
            bool markup = std::iswalpha(next) || next == L'/' || next == L'!' || next == L'?';
            if (!markup) {
                ++m_pos;
                continue;
            }
            FlushText(textStart, m_pos);
            ParseMarkup();
            textStart = m_pos;
        }
        FlushText(textStart, m_src.size());
        return root;
    }

private:
    int LineAt(size_t pos)
    {
        while (m_linePos < pos && m_linePos < m_src.size()) {
            if (m_src[m_linePos] == L'\n') {
                ++m_line;
            }
            ++m_linePos;
        }
        return m_line;
    }

    void FlushText(size_t begin, size_t end)
    {
        if (end <= begin) {
            return;
        }
        auto node = std::make_unique<HtmlNode>();
        node->text = DecodeEntities(m_src.substr(begin, end - begin));
        node->line = LineAt(begin);
        Append(std::move(node));
    }

    HtmlNode* Append(std::unique_ptr<HtmlNode> node)
    {
        HtmlNode* parent = m_stack.back();
        node->parent = parent;
        parent->children.push_back(std::move(node));
        return parent->children.back().get();
    }

    void SkipPast(const wchar_t* terminator)
    {
        size_t end = m_src.find(terminator, m_pos);
        m_pos = end == std::wstring::npos ? m_src.size() : end + wcslen(terminator);
    }

    std::wstring ReadName()
    {
        size_t begin = m_pos;
        while (m_pos < m_src.size() && !std::iswspace(m_src[m_pos]) && m_src[m_pos] != L'>' &&
               m_src[m_pos] != L'/' && m_src[m_pos] != L'=') {
            ++m_pos;
        }
        return ToLower(m_src.substr(begin, m_pos - begin));
    }

    void SkipSpaces()
    {
        while (m_pos < m_src.size() && std::iswspace(m_src[m_pos])) {
            ++m_pos;
        }
    }

    void ParseMarkup()
    {
        if (m_src.compare(m_pos, 4, L"<!--") == 0) {
            m_pos += 4;
            SkipPast(L"-->");
            return;
        }
        if (m_src[m_pos + 1] == L'!' || m_src[m_pos + 1] == L'?') {
            SkipPast(L">");
            return;
        }
        if (m_src[m_pos + 1] == L'/') {
            m_pos += 2;
            std::wstring name = ReadName();
            SkipPast(L">");
            CloseElement(name);
            return;
        }
        int line = LineAt(m_pos);
        ++m_pos;
        auto node = std::make_unique<HtmlNode>();
        node->tag = ReadName();
        node->line = line;
        bool selfClosing = false;
        while (m_pos < m_src.size()) {
            SkipSpaces();
            if (m_pos >= m_src.size()) {
                break;
            }
            if (m_src[m_pos] == L'>') {
                ++m_pos;
                break;
            }
            if (m_src[m_pos] == L'/') {
                selfClosing = true;
                ++m_pos;
                continue;
            }
            std::wstring name = ReadName();
            if (name.empty()) {
                ++m_pos;
                continue;
            }
            std::wstring value;
            SkipSpaces();
            if (m_pos < m_src.size() && m_src[m_pos] == L'=') {
                ++m_pos;
                SkipSpaces();
                if (m_pos < m_src.size() && (m_src[m_pos] == L'"' || m_src[m_pos] == L'\'')) {
                    wchar_t quote = m_src[m_pos++];
                    size_t end = m_src.find(quote, m_pos);
                    if (end == std::wstring::npos) {
                        end = m_src.size();
                    }
                    value = m_src.substr(m_pos, end - m_pos);
                    m_pos = std::min(end + 1, m_src.size());
                } else {
                    size_t begin = m_pos;
                    while (m_pos < m_src.size() && !std::iswspace(m_src[m_pos]) && m_src[m_pos] != L'>') {
                        ++m_pos;
                    }
                    value = m_src.substr(begin, m_pos - begin);
                }
            }
            if (!node->Attribute(name.c_str())) {
                node->attributes.emplace_back(name, DecodeEntities(value));
            }
        }
        OpenElement(std::move(node), selfClosing);
    }

    void OpenElement(std::unique_ptr<HtmlNode> node, bool selfClosing)
    {
        const std::wstring tag = node->tag;
        if (ClosesParagraph(tag) && m_stack.back()->tag == L"p") {
            m_stack.pop_back();
        }
        if (tag == L"li" || tag == L"option" || tag == L"dt" || tag == L"dd" || tag == L"tr" ||
            tag == L"td" || tag == L"th") {
            CloseSibling(tag);
        }
        HtmlNode* added = Append(std::move(node));
        if (IsVoid(tag) || selfClosing) {
            return;
        }
        // Tree walkers recurse: runaway nesting stops deepening here.
        bool tooDeep = m_stack.size() >= kMaxDepth;
        if (IsRawText(tag)) {
            std::wstring close = L"</" + tag;
            size_t end = m_pos;
            for (;;) {
                end = m_src.find(L"</", end);
                if (end == std::wstring::npos || _wcsnicmp(m_src.c_str() + end, close.c_str(), close.size()) == 0) {
                    break;
                }
                end += 2;
            }
            if (end == std::wstring::npos) {
                end = m_src.size();
            }
            std::wstring raw = m_src.substr(m_pos, end - m_pos);
            added->text = tag == L"script" || tag == L"style" ? raw : DecodeEntities(raw);
            m_pos = end;
            if (m_pos < m_src.size()) {
                SkipPast(L">");
            }
            return;
        }
        if (!tooDeep) {
            m_stack.push_back(added);
        }
    }

    // A new list item (row, cell, option) ends the open one of its kind.
    void CloseSibling(const std::wstring& tag)
    {
        for (size_t i = m_stack.size(); i-- > 1;) {
            const std::wstring& open = m_stack[i]->tag;
            if (open == L"ul" || open == L"ol" || open == L"table" || open == L"select" || open == L"dl") {
                return;
            }
            bool same = open == tag || (tag == L"td" && open == L"th") || (tag == L"th" && open == L"td") ||
                        (tag == L"dt" && open == L"dd") || (tag == L"dd" && open == L"dt");
            if (same) {
                m_stack.resize(i);
                return;
            }
        }
    }

    void CloseElement(const std::wstring& name)
    {
        for (size_t i = m_stack.size(); i-- > 1;) {
            if (m_stack[i]->tag == name) {
                m_stack.resize(i);
                return;
            }
        }
    }

    const std::wstring& m_src;
    size_t m_pos { 0 };
    size_t m_linePos { 0 };
    int m_line { 1 };
    std::vector<HtmlNode*> m_stack;
};

UINT CodePageOf(std::wstring charset)
{
    charset = ToLower(Trim(charset));
    if (!charset.empty() && (charset.front() == L'"' || charset.front() == L'\'')) {
        charset = charset.substr(1);
    }
    while (!charset.empty() && (charset.back() == L'"' || charset.back() == L'\'' || charset.back() == L';')) {
        charset.pop_back();
    }
    if (charset == L"utf-8" || charset == L"utf8") {
        return CP_UTF8;
    }
    if (charset == L"gbk" || charset == L"gb2312" || charset == L"cp936" || charset == L"x-gbk") {
        return 936;
    }
    if (charset == L"gb18030") {
        return 54936;
    }
    if (charset == L"big5") {
        return 950;
    }
    if (charset == L"shift_jis" || charset == L"sjis") {
        return 932;
    }
    if (charset == L"iso-8859-1" || charset == L"windows-1252" || charset == L"latin1" || charset == L"us-ascii") {
        return 1252;
    }
    return 0;
}

std::wstring CharsetAfter(const std::wstring& text, size_t at)
{
    size_t begin = at;
    while (begin < text.size() && (text[begin] == L'=' || text[begin] == L' ' || text[begin] == L'"' ||
                                   text[begin] == L'\'')) {
        ++begin;
    }
    size_t end = begin;
    while (end < text.size() && (std::iswalnum(text[end]) || text[end] == L'-' || text[end] == L'_')) {
        ++end;
    }
    return text.substr(begin, end - begin);
}

std::wstring Widen(const std::string& bytes, UINT codePage, DWORD flags, bool* ok)
{
    *ok = true;
    if (bytes.empty()) {
        return std::wstring();
    }
    int length = MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (length <= 0) {
        *ok = false;
        return std::wstring();
    }
    std::wstring out(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), &out[0], length);
    return out;
}

}  // namespace

std::unique_ptr<HtmlNode> ParseHtml(const std::wstring& source)
{
    return Parser(source).Run();
}

std::wstring DecodeText(const std::string& input, const std::wstring& contentType)
{
    std::string bytes = input;
    if (bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF &&
        static_cast<unsigned char>(bytes[1]) == 0xBB && static_cast<unsigned char>(bytes[2]) == 0xBF) {
        bytes.erase(0, 3);
        bool ok = false;
        return Widen(bytes, CP_UTF8, 0, &ok);
    }
    UINT codePage = 0;
    std::wstring type = ToLower(contentType);
    size_t at = type.find(L"charset");
    if (at != std::wstring::npos) {
        codePage = CodePageOf(CharsetAfter(type, at + 7));
    }
    if (!codePage) {
        std::string head = bytes.substr(0, 2048);
        std::wstring wideHead(head.begin(), head.end());
        for (auto& c : wideHead) {
            c = static_cast<wchar_t>(std::towlower(c & 0xFF));
        }
        size_t meta = wideHead.find(L"charset");
        if (meta != std::wstring::npos) {
            codePage = CodePageOf(CharsetAfter(wideHead, meta + 7));
        }
    }
    bool ok = false;
    if (codePage) {
        std::wstring text = Widen(bytes, codePage, 0, &ok);
        if (ok) {
            return text;
        }
    }
    std::wstring text = Widen(bytes, CP_UTF8, MB_ERR_INVALID_CHARS, &ok);
    if (ok) {
        return text;
    }
    return Widen(bytes, CP_ACP, 0, &ok);
}

const HtmlNode* FindFirst(const HtmlNode* root, const wchar_t* tag)
{
    if (!root) {
        return nullptr;
    }
    if (root->tag == tag) {
        return root;
    }
    for (const auto& child : root->children) {
        if (const HtmlNode* found = FindFirst(child.get(), tag)) {
            return found;
        }
    }
    return nullptr;
}

std::wstring TextContent(const HtmlNode* node)
{
    if (!node) {
        return std::wstring();
    }
    if (node->IsText() || node->tag == L"title" || node->tag == L"textarea") {
        return node->text;
    }
    if (node->tag == L"script" || node->tag == L"style") {
        return std::wstring();
    }
    std::wstring out;
    for (const auto& child : node->children) {
        out += TextContent(child.get());
    }
    return out;
}

std::wstring CollapseSpaces(const std::wstring& text)
{
    std::wstring out;
    bool space = false;
    for (wchar_t c : text) {
        if (std::iswspace(c) && c != 0xA0) {
            space = !out.empty();
            continue;
        }
        if (space) {
            out += L' ';
            space = false;
        }
        out += c;
    }
    return out;
}

std::wstring NormaliseTypedUrl(const std::wstring& typed)
{
    std::wstring url = Trim(typed);
    if (url.empty()) {
        return url;
    }
    if (url.size() >= 2 && url[1] == L':' && std::iswalpha(url[0])) {
        wchar_t buffer[INTERNET_MAX_URL_LENGTH];
        DWORD length = INTERNET_MAX_URL_LENGTH;
        if (SUCCEEDED(UrlCreateFromPathW(url.c_str(), buffer, &length, 0))) {
            return buffer;
        }
        return url;
    }
    size_t colon = url.find(L':');
    size_t slash = url.find(L'/');
    bool hasScheme = colon != std::wstring::npos && colon > 1 && (slash == std::wstring::npos || colon < slash);
    if (hasScheme) {
        std::wstring scheme = ToLower(url.substr(0, colon));
        bool plainScheme = std::all_of(scheme.begin(), scheme.end(),
            [](wchar_t c) { return std::iswalnum(c) || c == L'+' || c == L'-' || c == L'.'; });
        // "localhost:8080/x" reads as host and port, not as a scheme.
        bool port = colon + 1 < url.size() && std::iswdigit(url[colon + 1]);
        if (plainScheme && !port) {
            return url;
        }
    }
    return L"http://" + url;
}

std::wstring ResolveUrl(const std::wstring& base, const std::wstring& relative)
{
    std::wstring rel = Trim(relative);
    if (base.empty()) {
        return NormaliseTypedUrl(rel);
    }
    std::vector<wchar_t> buffer(INTERNET_MAX_URL_LENGTH * 2);
    DWORD length = static_cast<DWORD>(buffer.size());
    if (SUCCEEDED(UrlCombineW(base.c_str(), rel.c_str(), buffer.data(), &length, 0))) {
        return buffer.data();
    }
    return rel;
}

std::wstring FormEncode(const std::wstring& text)
{
    std::string utf8;
    int length = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                     nullptr, nullptr);
    if (length > 0) {
        utf8.resize(static_cast<size_t>(length));
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &utf8[0], length, nullptr,
                            nullptr);
    }
    static const char hex[] = "0123456789ABCDEF";
    std::wstring out;
    for (unsigned char c : utf8) {
        if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '*') {
            out += static_cast<wchar_t>(c);
        } else if (c == ' ') {
            out += L'+';
        } else {
            out += L'%';
            out += static_cast<wchar_t>(hex[c >> 4]);
            out += static_cast<wchar_t>(hex[c & 15]);
        }
    }
    return out;
}

}  // namespace Standin
