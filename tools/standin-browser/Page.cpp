#include "Page.h"

#include <algorithm>
#include <cwctype>

namespace Standin {

namespace {

const wchar_t kDefaultFace[] = L"Tahoma";

struct NamedColour {
    const wchar_t* name;
    COLORREF colour;
};

const NamedColour kColours[] = { { L"black", RGB(0, 0, 0) }, { L"white", RGB(255, 255, 255) },
    { L"red", RGB(255, 0, 0) }, { L"lime", RGB(0, 255, 0) }, { L"green", RGB(0, 128, 0) },
    { L"blue", RGB(0, 0, 255) }, { L"yellow", RGB(255, 255, 0) }, { L"gray", RGB(128, 128, 128) },
    { L"grey", RGB(128, 128, 128) }, { L"silver", RGB(192, 192, 192) }, { L"maroon", RGB(128, 0, 0) },
    { L"navy", RGB(0, 0, 128) }, { L"purple", RGB(128, 0, 128) }, { L"teal", RGB(0, 128, 128) },
    { L"olive", RGB(128, 128, 0) }, { L"fuchsia", RGB(255, 0, 255) }, { L"aqua", RGB(0, 255, 255) },
    { L"orange", RGB(255, 165, 0) } };

int ParseLength(const std::wstring& text, int fontSize, int percentOf, bool* ok)
{
    std::wstring value = ToLower(Trim(text));
    *ok = false;
    if (value.empty() || value == L"auto") {
        return 0;
    }
    wchar_t* end = nullptr;
    double number = wcstod(value.c_str(), &end);
    if (end == value.c_str()) {
        return 0;
    }
    std::wstring unit = Trim(end);
    double pixels = number;
    if (unit == L"%") {
        pixels = number * percentOf / 100.0;
    } else if (unit == L"em") {
        pixels = number * fontSize;
    } else if (unit == L"pt") {
        pixels = number * 96.0 / 72.0;
    } else if (!unit.empty() && unit != L"px") {
        return 0;
    }
    *ok = true;
    return static_cast<int>(pixels + (pixels >= 0 ? 0.5 : -0.5));
}

std::vector<std::wstring> SplitSpaces(const std::wstring& text)
{
    std::vector<std::wstring> parts;
    std::wstring current;
    int depth = 0;
    for (wchar_t c : text) {
        if (c == L'(') {
            ++depth;
        } else if (c == L')') {
            --depth;
        }
        if (std::iswspace(c) && depth <= 0) {
            if (!current.empty()) {
                parts.push_back(current);
            }
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        parts.push_back(current);
    }
    return parts;
}

struct Inherited {
    COLORREF colour { RGB(0, 0, 0) };
    std::wstring face { kDefaultFace };
    int size { 16 };
    bool bold { false };
    bool italic { false };
    bool underline { false };
    int align { 0 };  // 0 left, 1 centre, 2 right
    bool pre { false };
    int link { -1 };
    int form { -1 };
};

struct BoxStyle {
    enum Display { Inline, Block, None };
    Display display { Inline };
    bool hasBackground { false };
    COLORREF background { 0 };
    int width { -1 };
    int height { -1 };
    int margin[4] { 0, 0, 0, 0 };   // top, right, bottom, left
    int padding[4] { 0, 0, 0, 0 };
    bool centred { false };         // left and right margins auto
    int border { 0 };
    COLORREF borderColour { RGB(0, 0, 0) };
};

bool IsBlockTag(const std::wstring& tag)
{
    static const wchar_t* const names[] = { L"#root", L"html", L"body", L"div", L"p", L"h1", L"h2", L"h3",
        L"h4", L"h5", L"h6", L"ul", L"ol", L"li", L"form", L"center", L"table", L"tr", L"td", L"th", L"hr",
        L"pre", L"blockquote", L"header", L"footer", L"section", L"nav", L"main", L"article", L"dl", L"dt",
        L"dd", L"address", L"fieldset", L"tbody", L"thead", L"tfoot", L"caption" };
    for (auto name : names) {
        if (tag == name) {
            return true;
        }
    }
    return false;
}

bool IsHiddenTag(const std::wstring& tag)
{
    return tag == L"head" || tag == L"script" || tag == L"style" || tag == L"title" || tag == L"meta" ||
           tag == L"link" || tag == L"noscript" || tag == L"template" || tag == L"base" || tag == L"option";
}

void SetBoxSides(int (&sides)[4], const std::wstring& value, int fontSize, int percentOf, bool* autoSides)
{
    std::vector<std::wstring> parts = SplitSpaces(value);
    if (parts.empty() || parts.size() > 4) {
        return;
    }
    int values[4] {};
    bool autos[4] {};
    for (size_t i = 0; i < parts.size(); ++i) {
        bool ok = false;
        autos[i] = ToLower(parts[i]) == L"auto";
        values[i] = ParseLength(parts[i], fontSize, percentOf, &ok);
    }
    static const int map[4][4] = { { 0, 0, 0, 0 }, { 0, 1, 0, 1 }, { 0, 1, 2, 1 }, { 0, 1, 2, 3 } };
    const int* m = map[parts.size() - 1];
    for (int side = 0; side < 4; ++side) {
        sides[side] = values[m[side]];
    }
    if (autoSides) {
        *autoSides = autos[m[1]] && autos[m[3]];
    }
}

void ApplyCss(const std::wstring& css, Inherited& inh, BoxStyle& box, int containerWidth)
{
    size_t pos = 0;
    while (pos < css.size()) {
        size_t semi = css.find(L';', pos);
        if (semi == std::wstring::npos) {
            semi = css.size();
        }
        std::wstring declaration = css.substr(pos, semi - pos);
        pos = semi + 1;
        size_t colon = declaration.find(L':');
        if (colon == std::wstring::npos) {
            continue;
        }
        std::wstring name = ToLower(Trim(declaration.substr(0, colon)));
        std::wstring value = Trim(declaration.substr(colon + 1));
        size_t important = ToLower(value).find(L"!important");
        if (important != std::wstring::npos) {
            value = Trim(value.substr(0, important));
        }
        std::wstring lower = ToLower(value);
        bool ok = false;
        COLORREF colour = 0;
        if (name == L"background" || name == L"background-color") {
            for (const auto& part : SplitSpaces(value)) {
                if (ParseColour(part, &colour)) {
                    box.hasBackground = true;
                    box.background = colour;
                    break;
                }
                if (ToLower(part) == L"transparent" || ToLower(part) == L"none") {
                    box.hasBackground = false;
                }
            }
        } else if (name == L"color") {
            if (ParseColour(value, &colour)) {
                inh.colour = colour;
            }
        } else if (name == L"width") {
            int width = ParseLength(value, inh.size, containerWidth, &ok);
            if (ok) {
                box.width = std::max(0, width);
            }
        } else if (name == L"height") {
            int height = ParseLength(value, inh.size, 0, &ok);
            if (ok) {
                box.height = std::max(0, height);
            }
        } else if (name == L"margin") {
            SetBoxSides(box.margin, value, inh.size, containerWidth, &box.centred);
        } else if (name == L"padding") {
            SetBoxSides(box.padding, value, inh.size, containerWidth, nullptr);
        } else if (name.compare(0, 7, L"margin-") == 0 || name.compare(0, 8, L"padding-") == 0) {
            bool margin = name[0] == L'm';
            std::wstring side = name.substr(margin ? 7 : 8);
            int index = side == L"top" ? 0 : side == L"right" ? 1 : side == L"bottom" ? 2 : side == L"left" ? 3 : -1;
            int length = ParseLength(value, inh.size, containerWidth, &ok);
            if (index >= 0 && ok) {
                (margin ? box.margin : box.padding)[index] = length;
            }
        } else if (name == L"border" || name == L"border-width" || name == L"border-style" ||
                   name == L"border-color") {
            if (lower == L"none" || lower == L"0") {
                box.border = 0;
                continue;
            }
            for (const auto& part : SplitSpaces(value)) {
                int width = ParseLength(part, inh.size, 0, &ok);
                if (ok) {
                    box.border = width;
                } else if (ParseColour(part, &colour)) {
                    box.borderColour = colour;
                } else if (ToLower(part) != L"none" && box.border == 0) {
                    box.border = 1;
                }
            }
        } else if (name == L"text-align") {
            inh.align = lower == L"center" ? 1 : lower == L"right" ? 2 : 0;
        } else if (name == L"font-size") {
            int size = ParseLength(value, inh.size, inh.size, &ok);
            if (ok && size > 0) {
                inh.size = std::min(size, 400);
            }
        } else if (name == L"font-weight") {
            inh.bold = lower == L"bold" || lower == L"bolder" || _wtoi(lower.c_str()) >= 600;
        } else if (name == L"font-style") {
            inh.italic = lower == L"italic" || lower == L"oblique";
        } else if (name == L"text-decoration") {
            inh.underline = lower.find(L"underline") != std::wstring::npos;
        } else if (name == L"font-family") {
            std::wstring face = Trim(value.substr(0, value.find(L',')));
            if (face.size() >= 2 && (face.front() == L'"' || face.front() == L'\'')) {
                face = face.substr(1, face.size() - 2);
            }
            if (!face.empty()) {
                inh.face = face;
            }
        } else if (name == L"display") {
            box.display = lower == L"none" ? BoxStyle::None
                        : lower == L"inline" ? BoxStyle::Inline
                                             : BoxStyle::Block;
        } else if (name == L"white-space") {
            inh.pre = lower == L"pre" || lower == L"pre-wrap";
        }
    }
}

void ComputeStyle(const HtmlNode& node, Inherited& inh, BoxStyle& box, int containerWidth)
{
    const std::wstring& tag = node.tag;
    box.display = IsBlockTag(tag) ? BoxStyle::Block : IsHiddenTag(tag) ? BoxStyle::None : BoxStyle::Inline;
    static const int headingSizes[] = { 32, 24, 19, 16, 13, 11 };
    static const int headingMargins[] = { 21, 20, 18, 21, 22, 24 };
    if (tag.size() == 2 && tag[0] == L'h' && tag[1] >= L'1' && tag[1] <= L'6') {
        int level = tag[1] - L'1';
        inh.size = headingSizes[level];
        inh.bold = true;
        box.margin[0] = box.margin[2] = headingMargins[level];
    } else if (tag == L"body") {
        for (int side = 0; side < 4; ++side) {
            box.margin[side] = 8;
        }
    } else if (tag == L"p" || tag == L"dl") {
        box.margin[0] = box.margin[2] = inh.size;
    } else if (tag == L"ul" || tag == L"ol") {
        box.margin[0] = box.margin[2] = inh.size;
        box.padding[3] = 40;
    } else if (tag == L"blockquote") {
        box.margin[0] = box.margin[2] = inh.size;
        box.margin[1] = box.margin[3] = 40;
    } else if (tag == L"dd") {
        box.margin[3] = 40;
    } else if (tag == L"pre") {
        box.margin[0] = box.margin[2] = inh.size;
        inh.pre = true;
        inh.face = L"Courier New";
    } else if (tag == L"hr") {
        box.margin[0] = box.margin[2] = 8;
        box.height = 0;
        box.border = 1;
        box.borderColour = RGB(160, 160, 160);
    } else if (tag == L"center") {
        inh.align = 1;
    } else if (tag == L"th") {
        inh.bold = true;
        inh.align = 1;
    } else if (tag == L"b" || tag == L"strong") {
        inh.bold = true;
    } else if (tag == L"i" || tag == L"em" || tag == L"cite" || tag == L"var") {
        inh.italic = true;
    } else if (tag == L"u" || tag == L"ins") {
        inh.underline = true;
    } else if (tag == L"small") {
        inh.size = inh.size * 5 / 6;
    } else if (tag == L"big") {
        inh.size = inh.size * 6 / 5;
    } else if (tag == L"code" || tag == L"tt" || tag == L"kbd" || tag == L"samp") {
        inh.face = L"Courier New";
    } else if (tag == L"a" && node.Attribute(L"href")) {
        inh.colour = RGB(0, 0, 0xEE);
        inh.underline = true;
    }

    COLORREF colour = 0;
    const std::wstring* value = nullptr;
    if ((value = node.Attribute(L"bgcolor")) && ParseColour(*value, &colour)) {
        box.hasBackground = true;
        box.background = colour;
    }
    if (tag == L"font" || tag == L"body") {
        if ((value = node.Attribute(tag == L"font" ? L"color" : L"text")) && ParseColour(*value, &colour)) {
            inh.colour = colour;
        }
    }
    if (tag == L"font") {
        if ((value = node.Attribute(L"face")) && !value->empty()) {
            inh.face = Trim(value->substr(0, value->find(L',')));
        }
        if ((value = node.Attribute(L"size"))) {
            static const int sizes[] = { 10, 13, 16, 18, 24, 32, 48 };
            int size = _wtoi(value->c_str());
            if (!value->empty() && ((*value)[0] == L'+' || (*value)[0] == L'-')) {
                size += 3;
            }
            inh.size = sizes[std::min(7, std::max(1, size)) - 1];
        }
    }
    if (tag == L"body") {
        static const wchar_t* const marginNames[] = { L"topmargin", L"rightmargin", L"bottommargin", L"leftmargin" };
        for (int side = 0; side < 4; ++side) {
            if ((value = node.Attribute(marginNames[side]))) {
                box.margin[side] = _wtoi(value->c_str());
            }
        }
        if ((value = node.Attribute(L"marginwidth"))) {
            box.margin[1] = box.margin[3] = _wtoi(value->c_str());
        }
        if ((value = node.Attribute(L"marginheight"))) {
            box.margin[0] = box.margin[2] = _wtoi(value->c_str());
        }
    }
    if ((value = node.Attribute(L"align")) && box.display == BoxStyle::Block) {
        std::wstring align = ToLower(*value);
        inh.align = align == L"center" ? 1 : align == L"right" ? 2 : 0;
    }
    if (box.display == BoxStyle::Block && tag != L"body" && tag != L"html") {
        bool ok = false;
        if ((value = node.Attribute(L"width"))) {
            int width = ParseLength(*value, inh.size, containerWidth, &ok);
            if (ok) {
                box.width = std::max(0, width);
            }
        }
        if ((value = node.Attribute(L"height"))) {
            int height = ParseLength(*value, inh.size, 0, &ok);
            if (ok) {
                box.height = std::max(0, height);
            }
        }
        if (tag == L"table" && (value = node.Attribute(L"border")) && _wtoi(value->c_str()) > 0) {
            box.border = std::min(_wtoi(value->c_str()), 20);
            box.borderColour = RGB(128, 128, 128);
        }
    }
    if ((value = node.Attribute(L"style"))) {
        ApplyCss(*value, inh, box, containerWidth);
    }
    if (node.Attribute(L"hidden")) {
        box.display = BoxStyle::None;
    }
}

class Builder {
public:
    Builder(const Page& page, HDC dc, FontCache& fonts, Layout& out) : m_page(page), m_dc(dc), m_fonts(fonts), m_out(out) {}

    void Run(int width)
    {
        m_out.width = width;
        const HtmlNode* root = m_page.Root();
        Inherited inh;
        Block block { 0, width, 0 };
        for (const auto& child : root->children) {
            Visit(*child, inh, block);
        }
        FlushLine(block, false, 0);
        m_out.height = std::max(m_y, m_maxBottom);
        const HtmlNode* body = m_page.Body();
        COLORREF colour = 0;
        const std::wstring* value = nullptr;
        if (body && (value = body->Attribute(L"bgcolor")) && ParseColour(*value, &colour)) {
            m_out.canvas = colour;
        }
        if (body) {
            Inherited scratch;
            BoxStyle box;
            ComputeStyle(*body, scratch, box, width);
            if (box.hasBackground) {
                m_out.canvas = box.background;
            }
        }
    }

private:
    struct Block {
        int left;
        int width;
        int align;
    };

    int Metrics(int font, int* height)
    {
        TEXTMETRICW tm {};
        HGDIOBJ old = SelectObject(m_dc, m_fonts.Font(font));
        GetTextMetricsW(m_dc, &tm);
        SelectObject(m_dc, old);
        *height = tm.tmHeight;
        return tm.tmAveCharWidth;
    }

    int TextWidth(int font, const std::wstring& text)
    {
        SIZE size {};
        HGDIOBJ old = SelectObject(m_dc, m_fonts.Font(font));
        GetTextExtentPoint32W(m_dc, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(m_dc, old);
        return size.cx;
    }

    int FontOf(const Inherited& inh) { return m_fonts.Get(inh.face, inh.size, inh.bold, inh.italic, inh.underline); }

    bool Covers(int font, const std::wstring& text)
    {
        std::vector<WORD> glyphs(text.size());
        HGDIOBJ old = SelectObject(m_dc, m_fonts.Font(font));
        DWORD got = GetGlyphIndicesW(m_dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                                     GGI_MARK_NONEXISTING_GLYPHS);
        SelectObject(m_dc, old);
        return got != GDI_ERROR && std::find(glyphs.begin(), glyphs.end(), 0xFFFF) == glyphs.end();
    }

    // Like a real browser, text the page's face cannot show (Chinese in
    // Tahoma, say) takes the first face that can.
    int FontShowing(int font, const std::wstring& text, const Inherited& inh)
    {
        static const wchar_t* const fallbacks[] = { L"Microsoft YaHei", L"SimSun", L"WenQuanYi Micro Hei" };
        if (Covers(font, text)) {
            return font;
        }
        for (const wchar_t* face : fallbacks) {
            int other = m_fonts.Get(face, inh.size, inh.bold, inh.italic, inh.underline);
            if (Covers(other, text)) {
                return other;
            }
        }
        return font;
    }

    void Visit(const HtmlNode& node, const Inherited& parentInh, const Block& block)
    {
        if (node.IsText()) {
            Words(node.text, parentInh, block);
            return;
        }
        Inherited inh = parentInh;
        BoxStyle box;
        ComputeStyle(node, inh, box, block.width);
        if (box.display == BoxStyle::None) {
            return;
        }
        const std::wstring& tag = node.tag;
        if (tag == L"a") {
            int link = m_page.LinkIndexOf(&node);
            if (link >= 0) {
                inh.link = link;
            }
        } else if (tag == L"form") {
            inh.form = m_page.FormIndexOf(&node);
        }
        if (box.display == BoxStyle::Block) {
            BlockBox(node, inh, box, block);
            return;
        }
        if (tag == L"br") {
            int height = 0;
            Metrics(FontOf(inh), &height);
            FlushLine(block, true, height);
            return;
        }
        if (tag == L"img") {
            ImageBox(node, inh, box, block, -1);
            return;
        }
        if (tag == L"input" || tag == L"button" || tag == L"select" || tag == L"textarea") {
            Control(node, inh, box, block);
            return;
        }
        for (const auto& child : node.children) {
            Visit(*child, inh, block);
        }
    }

    void BlockBox(const HtmlNode& node, const Inherited& inh, const BoxStyle& box, const Block& parent)
    {
        FlushLine(parent, false, 0);
        bool canvasBox = node.tag == L"body" || node.tag == L"html";
        m_y += std::max(0, box.margin[0] - m_collapsible);
        int available = parent.width - box.margin[1] - box.margin[3];
        int outerWidth = box.width >= 0 ? box.width + box.padding[1] + box.padding[3] + 2 * box.border : available;
        outerWidth = std::max(0, outerWidth);
        int left = parent.left + box.margin[3];
        if (box.width >= 0 && (box.centred || parent.align == 1)) {
            left = parent.left + std::max(0, (parent.width - outerWidth) / 2);
        } else if (box.width >= 0 && parent.align == 2) {
            left = parent.left + std::max(0, parent.width - outerWidth);
        }
        int top = m_y;
        size_t fill = m_out.items.size();
        if (box.hasBackground && !canvasBox) {
            DisplayItem item;
            item.kind = DisplayItem::Fill;
            item.colour = box.background;
            item.link = inh.link;
            item.node = &node;
            m_out.items.push_back(item);
        }
        Block inner { left + box.border + box.padding[3],
                      std::max(0, outerWidth - 2 * box.border - box.padding[1] - box.padding[3]), inh.align };
        m_y += box.border + box.padding[0];
        m_collapsible = (box.border + box.padding[0]) ? 0 : m_collapsible;
        int contentTop = m_y;
        if (node.tag == L"li") {
            Inherited bullet = inh;
            bullet.link = -1;
            Words(L"\x2022 ", bullet, inner);
        }
        for (const auto& child : node.children) {
            Visit(*child, inh, inner);
        }
        FlushLine(inner, false, 0);
        if (box.height >= 0) {
            m_y = contentTop + box.height;
        }
        m_y += box.padding[2] + box.border;
        if (fill < m_out.items.size() && m_out.items[fill].kind == DisplayItem::Fill && m_out.items[fill].node == &node) {
            m_out.items[fill].rect = { left, top, left + outerWidth, m_y };
            m_collapsible = 0;
        }
        if (box.border > 0) {
            DisplayItem frame;
            frame.kind = DisplayItem::Frame;
            frame.rect = { left, top, left + outerWidth, m_y };
            frame.colour = box.borderColour;
            frame.thickness = box.border;
            frame.node = &node;
            m_out.items.push_back(frame);
            m_collapsible = 0;
        }
        m_maxBottom = std::max(m_maxBottom, m_y);
        if (m_y > top) {
            m_collapsible = 0;
        }
        m_y += box.margin[2];
        m_collapsible = std::max(m_collapsible, box.margin[2]);
    }

    void Words(const std::wstring& text, const Inherited& inh, const Block& block)
    {
        int font = FontOf(inh);
        int height = 0;
        Metrics(font, &height);
        if (inh.pre) {
            size_t start = 0;
            while (start <= text.size()) {
                size_t end = text.find(L'\n', start);
                std::wstring piece = text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
                if (!piece.empty() && piece.back() == L'\r') {
                    piece.pop_back();
                }
                if (!piece.empty()) {
                    AddText(piece, font, height, inh, block, false);
                }
                if (end == std::wstring::npos) {
                    break;
                }
                FlushLine(block, true, height);
                start = end + 1;
            }
            return;
        }
        size_t i = 0;
        while (i < text.size()) {
            if (std::iswspace(text[i]) && text[i] != 0xA0) {
                m_pendingSpace = true;
                ++i;
                continue;
            }
            size_t end = i;
            while (end < text.size() && !(std::iswspace(text[end]) && text[end] != 0xA0)) {
                ++end;
            }
            std::wstring word = text.substr(i, end - i);
            for (auto& c : word) {
                if (c == 0xA0) {
                    c = L' ';
                }
            }
            AddText(word, font, height, inh, block, true);
            i = end;
        }
    }

    void AddText(const std::wstring& word, int pageFont, int height, const Inherited& inh, const Block& block, bool wrap)
    {
        const int font = FontShowing(pageFont, word, inh);
        int width = TextWidth(font, word);
        int space = m_pendingSpace && !m_line.empty() ? TextWidth(font, L" ") : 0;
        m_pendingSpace = false;
        if (wrap && !m_line.empty() && m_lineX + space + width > block.width) {
            FlushLine(block, false, 0);
            space = 0;
        }
        if (wrap && width > block.width && word.size() > 1) {
            // Too long for any line (or text without spaces): break between characters.
            size_t start = 0;
            while (start < word.size()) {
                size_t count = 1;
                while (start + count < word.size() &&
                       m_lineX + TextWidth(font, word.substr(start, count + 1)) <= block.width) {
                    ++count;
                }
                std::wstring piece = word.substr(start, count);
                PlaceText(piece, font, TextWidth(font, piece), height, inh, 0);
                start += count;
                if (start < word.size()) {
                    FlushLine(block, false, 0);
                }
            }
            return;
        }
        PlaceText(word, font, width, height, inh, space);
    }

    void PlaceText(const std::wstring& text, int font, int width, int height, const Inherited& inh, int space)
    {
        DisplayItem item;
        item.kind = DisplayItem::Text;
        item.text = text;
        item.font = font;
        item.colour = inh.colour;
        item.link = inh.link;
        Place(item, width, height, space);
    }

    void Place(DisplayItem& item, int width, int height, int space)
    {
        int x = m_lineX + space;
        item.rect = { x, 0, x + width, height };
        m_line.push_back(m_out.items.size());
        m_out.items.push_back(item);
        m_lineX = x + width;
    }

    void PlaceAtom(DisplayItem& item, int width, int height, const Block& block)
    {
        int space = m_pendingSpace && !m_line.empty() ? 4 : 0;
        m_pendingSpace = false;
        if (!m_line.empty() && m_lineX + space + width > block.width) {
            FlushLine(block, false, 0);
            space = 0;
        }
        Place(item, width, height, space);
    }

    void ImageBox(const HtmlNode& node, const Inherited& inh, const BoxStyle& box, const Block& block, int form)
    {
        int index = m_page.ImageIndexOf(&node);
        int width = box.width;
        int height = box.height;
        bool ok = false;
        const std::wstring* value = nullptr;
        if (width < 0 && (value = node.Attribute(L"width"))) {
            width = std::max(0, ParseLength(*value, inh.size, block.width, &ok));
            width = ok ? width : -1;
        }
        if (height < 0 && (value = node.Attribute(L"height"))) {
            height = std::max(0, ParseLength(*value, inh.size, 0, &ok));
            height = ok ? height : -1;
        }
        const PageImage* image = index >= 0 ? &m_page.Images()[static_cast<size_t>(index)] : nullptr;
        bool known = image && image->bitmap && image->width > 0 && image->height > 0;
        if (width < 0 && height < 0) {
            width = known ? image->width : 0;
            height = known ? image->height : 0;
        } else if (width < 0) {
            width = known ? MulDiv(height, image->width, image->height) : height;
        } else if (height < 0) {
            height = known ? MulDiv(width, image->height, image->width) : width;
        }
        DisplayItem item;
        item.kind = DisplayItem::Image;
        item.image = index;
        item.link = inh.link;
        item.form = form;
        item.node = &node;
        PlaceAtom(item, std::min(width, 10000), std::min(height, 10000), block);
    }

    void Control(const HtmlNode& node, const Inherited& inh, const BoxStyle& box, const Block& block)
    {
        std::wstring type = ToLower(node.AttributeOr(L"type", node.tag == L"button" ? L"submit" : L"text"));
        if (node.tag == L"input" && type == L"hidden") {
            return;
        }
        if (node.tag == L"input" && type == L"image") {
            ImageBox(node, inh, box, block, inh.form);
            return;
        }
        int font = FontOf(inh);
        int textHeight = 0;
        int charWidth = Metrics(font, &textHeight);
        DisplayItem item;
        item.font = font;
        item.colour = inh.colour;
        item.node = &node;
        int width = 0;
        int height = textHeight + 6;
        bool button = node.tag == L"button" || type == L"submit" || type == L"button" || type == L"reset";
        if (node.tag == L"input" && button) {
            item.text = node.AttributeOr(L"value", type == L"submit" ? L"Submit Query" : type == L"reset" ? L"Reset" : L"");
        } else if (node.tag == L"button") {
            item.text = Trim(CollapseSpaces(TextContent(&node)));
        }
        if (button) {
            item.kind = DisplayItem::Button;
            item.form = type == L"submit" ? inh.form : -1;
            width = TextWidth(font, item.text) + 16;
            height = textHeight + 8;
        } else if (type == L"checkbox" || type == L"radio") {
            item.kind = DisplayItem::Field;
            item.text = node.Attribute(L"checked") ? L"x" : L"";
            width = height = 13;
        } else if (node.tag == L"select") {
            item.kind = DisplayItem::Field;
            const HtmlNode* chosen = nullptr;
            for (const auto& child : node.children) {
                if (child->tag == L"option" && (!chosen || child->Attribute(L"selected"))) {
                    chosen = child.get();
                }
            }
            item.text = chosen ? Trim(CollapseSpaces(TextContent(chosen))) : L"";
            width = TextWidth(font, item.text) + 24;
        } else if (node.tag == L"textarea") {
            item.kind = DisplayItem::Field;
            item.text = node.text;
            int cols = _wtoi(node.AttributeOr(L"cols", L"20").c_str());
            int rows = _wtoi(node.AttributeOr(L"rows", L"2").c_str());
            width = std::min(std::max(cols, 1), 200) * charWidth + 8;
            height = std::min(std::max(rows, 1), 100) * textHeight + 6;
        } else {
            item.kind = DisplayItem::Field;
            item.text = node.AttributeOr(L"value", L"");
            if (type == L"password") {
                item.text.assign(item.text.size(), L'\x2022');
            }
            int size = _wtoi(node.AttributeOr(L"size", L"20").c_str());
            width = std::min(std::max(size, 1), 200) * charWidth + 8;
        }
        if (box.width >= 0) {
            width = box.width;
        }
        if (box.height >= 0) {
            height = box.height;
        }
        PlaceAtom(item, width, height, block);
    }

    void FlushLine(const Block& block, bool forced, int minHeight)
    {
        if (m_line.empty()) {
            m_pendingSpace = false;
            if (forced) {
                m_y += minHeight;
                m_collapsible = 0;
            }
            return;
        }
        int height = minHeight;
        for (size_t index : m_line) {
            height = std::max(height, static_cast<int>(m_out.items[index].rect.bottom));
        }
        int offset = 0;
        if (block.align == 1) {
            offset = std::max(0, (block.width - m_lineX) / 2);
        } else if (block.align == 2) {
            offset = std::max(0, block.width - m_lineX);
        }
        for (size_t index : m_line) {
            RECT& r = m_out.items[index].rect;
            int h = r.bottom;
            r.left += block.left + offset;
            r.right += block.left + offset;
            r.top = m_y + height - h;
            r.bottom = m_y + height;
        }
        m_y += height;
        m_maxBottom = std::max(m_maxBottom, m_y);
        m_line.clear();
        m_lineX = 0;
        m_pendingSpace = false;
        m_collapsible = 0;
    }

    const Page& m_page;
    HDC m_dc;
    FontCache& m_fonts;
    Layout& m_out;
    int m_y { 0 };
    int m_maxBottom { 0 };
    int m_collapsible { 0 };
    int m_lineX { 0 };
    bool m_pendingSpace { false };
    std::vector<size_t> m_line;
};

}  // namespace

bool ParseColour(const std::wstring& input, COLORREF* colour)
{
    std::wstring text = ToLower(Trim(input));
    if (text.empty()) {
        return false;
    }
    for (const auto& named : kColours) {
        if (text == named.name) {
            *colour = named.colour;
            return true;
        }
    }
    if (text.compare(0, 4, L"rgb(") == 0) {
        int r = 0, g = 0, b = 0;
        if (swscanf(text.c_str() + 4, L"%d , %d , %d", &r, &g, &b) != 3) {
            return false;
        }
        auto clamp = [](int v) { return static_cast<BYTE>(std::min(255, std::max(0, v))); };
        *colour = RGB(clamp(r), clamp(g), clamp(b));
        return true;
    }
    if (text[0] == L'#') {
        text = text.substr(1);
    } else if (text.size() != 6) {
        return false;
    }
    if (!std::all_of(text.begin(), text.end(), [](wchar_t c) { return std::iswxdigit(c) != 0; })) {
        return false;
    }
    unsigned long value = wcstoul(text.c_str(), nullptr, 16);
    if (text.size() == 3) {
        int r = (value >> 8) & 15, g = (value >> 4) & 15, b = value & 15;
        *colour = RGB(r * 17, g * 17, b * 17);
        return true;
    }
    if (text.size() == 6) {
        *colour = RGB((value >> 16) & 255, (value >> 8) & 255, value & 255);
        return true;
    }
    return false;
}

Page::Page(const std::wstring& html, const std::wstring& url) : m_root(ParseHtml(html)), m_url(url), m_base(url)
{
    if (const HtmlNode* base = FindFirst(m_root.get(), L"base")) {
        if (const std::wstring* href = base->Attribute(L"href")) {
            m_base = ResolveUrl(url, *href);
        }
    }
    m_body = FindFirst(m_root.get(), L"body");
    if (const HtmlNode* title = FindFirst(m_root.get(), L"title")) {
        m_title = Trim(CollapseSpaces(title->text));
    }
    Collect(m_root.get());
}

Page::~Page()
{
    for (auto& image : m_images) {
        if (image.bitmap) {
            DeleteObject(image.bitmap);
        }
    }
}

void Page::Collect(const HtmlNode* node)
{
    const std::wstring& tag = node->tag;
    const std::wstring* value = nullptr;
    if ((tag == L"img" || (tag == L"input" && ToLower(node->AttributeOr(L"type", L"")) == L"image")) &&
        (value = node->Attribute(L"src")) && !Trim(*value).empty()) {
        std::wstring url = ResolveUrl(m_base, *value);
        int index = -1;
        for (size_t i = 0; i < m_images.size(); ++i) {
            if (m_images[i].url == url) {
                index = static_cast<int>(i);
            }
        }
        if (index < 0) {
            PageImage image;
            image.url = url;
            m_images.push_back(image);
            index = static_cast<int>(m_images.size() - 1);
        }
        m_imageOf[node] = index;
    } else if (tag == L"a" && (value = node->Attribute(L"href"))) {
        PageLink link;
        link.href = ResolveUrl(m_base, *value);
        link.target = node->AttributeOr(L"target", L"");
        m_links.push_back(link);
        m_linkOf[node] = static_cast<int>(m_links.size() - 1);
    } else if (tag == L"form") {
        PageForm form;
        form.node = node;
        std::wstring action = node->AttributeOr(L"action", L"");
        form.action = Trim(action).empty() ? m_url : ResolveUrl(m_base, action);
        form.method = ToLower(node->AttributeOr(L"method", L"get")) == L"post" ? L"post" : L"get";
        form.target = node->AttributeOr(L"target", L"");
        m_forms.push_back(form);
        m_formOf[node] = static_cast<int>(m_forms.size() - 1);
    } else if (tag == L"meta" && (value = node->Attribute(L"http-equiv")) && ToLower(Trim(*value)) == L"refresh" &&
               m_refreshSeconds < 0) {
        std::wstring content = node->AttributeOr(L"content", L"");
        m_refreshSeconds = std::max(0, std::min(_wtoi(content.c_str()), 3600));
        std::wstring lower = ToLower(content);
        size_t at = lower.find(L"url");
        m_refreshUrl = m_url;
        if (at != std::wstring::npos) {
            size_t eq = content.find(L'=', at);
            if (eq != std::wstring::npos) {
                std::wstring target = Trim(content.substr(eq + 1));
                if (!target.empty() && (target.front() == L'\'' || target.front() == L'"')) {
                    target = target.substr(1, target.find(target.front(), 1) - 1);
                }
                m_refreshUrl = ResolveUrl(m_base, target);
            }
        }
    } else if (tag == L"script" && (!Trim(node->text).empty() || node->Attribute(L"src"))) {
        m_scriptLines.push_back(node->line);
    }
    for (const auto& child : node->children) {
        Collect(child.get());
    }
}

int Page::ImageIndexOf(const HtmlNode* node) const
{
    auto it = m_imageOf.find(node);
    return it == m_imageOf.end() ? -1 : it->second;
}

int Page::LinkIndexOf(const HtmlNode* anchor) const
{
    auto it = m_linkOf.find(anchor);
    return it == m_linkOf.end() ? -1 : it->second;
}

int Page::FormIndexOf(const HtmlNode* form) const
{
    auto it = m_formOf.find(form);
    return it == m_formOf.end() ? -1 : it->second;
}

namespace {

void GatherFields(const HtmlNode* node, const HtmlNode* button, std::vector<std::pair<std::wstring, std::wstring>>& fields)
{
    const std::wstring* name = node->Attribute(L"name");
    if (name && !name->empty()) {
        std::wstring type = ToLower(node->AttributeOr(L"type", node->tag == L"button" ? L"submit" : L"text"));
        if (node->tag == L"input") {
            bool isButton = type == L"submit" || type == L"button" || type == L"reset" || type == L"image";
            bool unchecked = (type == L"checkbox" || type == L"radio") && !node->Attribute(L"checked");
            if (isButton) {
                if (node == button && type == L"submit") {
                    fields.emplace_back(*name, node->AttributeOr(L"value", L"Submit Query"));
                }
            } else if (!unchecked && type != L"file") {
                fields.emplace_back(*name, node->AttributeOr(L"value", type == L"checkbox" || type == L"radio" ? L"on" : L""));
            }
        } else if (node->tag == L"button") {
            if (node == button) {
                fields.emplace_back(*name, node->AttributeOr(L"value", L""));
            }
        } else if (node->tag == L"textarea") {
            fields.emplace_back(*name, node->text);
        } else if (node->tag == L"select") {
            const HtmlNode* chosen = nullptr;
            for (const auto& child : node->children) {
                if (child->tag == L"option" && (!chosen || child->Attribute(L"selected"))) {
                    chosen = child.get();
                }
            }
            if (chosen) {
                fields.emplace_back(*name, chosen->AttributeOr(L"value", Trim(TextContent(chosen)).c_str()));
            }
        }
    }
    for (const auto& child : node->children) {
        GatherFields(child.get(), button, fields);
    }
}

}  // namespace

Submission Page::Submit(int formIndex, const HtmlNode* button) const
{
    Submission submission;
    if (formIndex < 0 || static_cast<size_t>(formIndex) >= m_forms.size()) {
        return submission;
    }
    const PageForm& form = m_forms[static_cast<size_t>(formIndex)];
    std::vector<std::pair<std::wstring, std::wstring>> fields;
    GatherFields(form.node, button, fields);
    std::wstring query;
    for (const auto& field : fields) {
        if (!query.empty()) {
            query += L'&';
        }
        query += FormEncode(field.first) + L"=" + FormEncode(field.second);
    }
    submission.target = form.target;
    if (form.method == L"post") {
        submission.url = form.action;
        submission.postData.assign(query.begin(), query.end());
        return submission;
    }
    std::wstring action = form.action;
    size_t cut = action.find_first_of(L"?#");
    if (cut != std::wstring::npos) {
        action.resize(cut);
    }
    submission.url = action + L"?" + query;
    return submission;
}

FontCache::~FontCache()
{
    for (auto& entry : m_fonts) {
        DeleteObject(entry.font);
    }
}

int FontCache::Get(const std::wstring& face, int pixels, bool bold, bool italic, bool underline)
{
    std::wstring key = face + L"|" + std::to_wstring(pixels) + (bold ? L"b" : L"") + (italic ? L"i" : L"") +
                       (underline ? L"u" : L"");
    for (size_t i = 0; i < m_fonts.size(); ++i) {
        if (m_fonts[i].key == key) {
            return static_cast<int>(i);
        }
    }
    LOGFONTW lf {};
    lf.lfHeight = -std::max(1, pixels);
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = italic ? TRUE : FALSE;
    lf.lfUnderline = underline ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    Entry entry;
    entry.key = key;
    entry.font = CreateFontIndirectW(&lf);
    if (!entry.font) {
        entry.font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    m_fonts.push_back(entry);
    return static_cast<int>(m_fonts.size() - 1);
}

HFONT FontCache::Font(int index) const
{
    if (index < 0 || static_cast<size_t>(index) >= m_fonts.size()) {
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    return m_fonts[static_cast<size_t>(index)].font;
}

Layout LayoutPage(const Page& page, HDC dc, FontCache& fonts, int width)
{
    Layout layout;
    Builder(page, dc, fonts, layout).Run(std::max(0, width));
    return layout;
}

namespace {

void FillSolid(HDC dc, const RECT& rect, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

void Frame(HDC dc, RECT rect, COLORREF colour, int thickness)
{
    HBRUSH brush = CreateSolidBrush(colour);
    for (int i = 0; i < thickness && rect.right > rect.left && rect.bottom > rect.top; ++i) {
        FrameRect(dc, &rect, brush);
        InflateRect(&rect, -1, -1);
    }
    DeleteObject(brush);
}

}  // namespace

void PaintLayout(HDC dc, const Layout& layout, const Page& page, const FontCache& fonts, POINT origin, const RECT& clip)
{
    FillSolid(dc, clip, layout.canvas);
    SetBkMode(dc, TRANSPARENT);
    for (const auto& item : layout.items) {
        RECT rect = item.rect;
        OffsetRect(&rect, origin.x, origin.y);
        RECT visible {};
        if (!IntersectRect(&visible, &rect, &clip)) {
            continue;
        }
        switch (item.kind) {
        case DisplayItem::Fill:
            FillSolid(dc, visible, item.colour);
            break;
        case DisplayItem::Text: {
            HGDIOBJ old = SelectObject(dc, fonts.Font(item.font));
            SetTextColor(dc, item.colour);
            TextOutW(dc, rect.left, rect.top, item.text.c_str(), static_cast<int>(item.text.size()));
            SelectObject(dc, old);
            break;
        }
        case DisplayItem::Image: {
            if (item.image < 0) {
                break;
            }
            const PageImage& image = page.Images()[static_cast<size_t>(item.image)];
            if (!image.bitmap) {
                break;
            }
            HDC source = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(source, image.bitmap);
            BLENDFUNCTION blend { AC_SRC_OVER, 0, 255, AC_SRC_ALPHA };
            GdiAlphaBlend(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source, 0, 0,
                          image.width, image.height, blend);
            SelectObject(source, old);
            DeleteDC(source);
            break;
        }
        case DisplayItem::Button:
        case DisplayItem::Field: {
            bool button = item.kind == DisplayItem::Button;
            FillSolid(dc, rect, button ? RGB(225, 225, 225) : RGB(255, 255, 255));
            Frame(dc, rect, button ? RGB(173, 173, 173) : RGB(122, 122, 122), 1);
            HGDIOBJ old = SelectObject(dc, fonts.Font(item.font));
            SetTextColor(dc, RGB(0, 0, 0));
            RECT textRect = rect;
            InflateRect(&textRect, -3, 0);
            DrawTextW(dc, item.text.c_str(), static_cast<int>(item.text.size()), &textRect,
                      (button ? DT_CENTER : DT_LEFT) | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            SelectObject(dc, old);
            break;
        }
        case DisplayItem::Frame:
            Frame(dc, rect, item.colour, item.thickness);
            break;
        }
    }
}

int HitTest(const Layout& layout, POINT pagePoint)
{
    for (size_t i = layout.items.size(); i-- > 0;) {
        const DisplayItem& item = layout.items[i];
        bool clickable = item.link >= 0 || item.form >= 0 || item.kind == DisplayItem::Button;
        if (clickable && PtInRect(&item.rect, pagePoint)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace Standin
