// Plain text, text measurement and the rich-text formatter.
#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <vector>

#include "engine/GdiHolders.h"
#include "engine/PaintManagerUI.h"
#include "engine/RenderEngine.h"

namespace Veneer {

namespace {

COLORREF ToColorRef(DWORD color)
{
    return RGB(GetBValue(color), GetGValue(color), GetRValue(color));
}

bool IsOpenBracket(wchar_t ch)
{
    return ch == L'<' || ch == L'{';
}

bool IsCloseBracket(wchar_t ch)
{
    return ch == L'>' || ch == L'}';
}

bool IsBlank(wchar_t ch)
{
    return ch > 0 && ch <= 32;
}

LPCWSTR SkipBlanks(LPCWSTR p)
{
    while (IsBlank(*p)) ++p;
    return p;
}

// Past the next '>' or '}', or at the terminator when the tag never closes.
LPCWSTR SkipTag(LPCWSTR p)
{
    while (*p != L'\0' && !IsCloseBracket(*p)) ++p;
    return *p != L'\0' ? p + 1 : p;
}

bool IsAsciiLetter(wchar_t ch)
{
    return (ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z');
}

// The closing raw tag: '<' or '{', '/', 'r', '>' or '}'.
bool IsRawEnd(LPCWSTR p)
{
    return IsOpenBracket(p[0]) && p[1] == L'/' && p[2] == L'r' && IsCloseBracket(p[3]);
}

// Lays out and draws one call's rich text; see DrawHtmlText.
class CHtmlFormatter {
public:
    CHtmlFormatter(HDC hdc, CPaintManagerUI* manager, RECT& rc, LPCWSTR text, DWORD textColor, RECT* links,
        CStdString* linkTexts, int& linkCount, UINT style)
        : m_hdc(hdc), m_manager(manager), m_rc(rc), m_text(text), m_textColor(textColor), m_links(links),
          m_linkTexts(linkTexts), m_linkCount(linkCount), m_style(style)
    {
        m_capacity = (links != nullptr && linkTexts != nullptr && linkCount > 0) ? linkCount : 0;
        m_draw = (style & DT_CALCRECT) == 0;
        m_fonts.reserve(10);
        m_colors.reserve(10);
        m_paragraphs.reserve(10);
    }

    void Run();

private:
    struct TLineStart {
        std::vector<TFontInfo*> fonts;
        std::vector<DWORD> colors;
        std::vector<int> paragraphs;
        LPCWSTR position { nullptr };
        bool raw { false };
        bool selected { false };
    };

    TFontInfo* CurrentFont() { return m_fonts.empty() ? m_manager->GetDefaultFontInfo() : m_fonts.back(); }
    const TEXTMETRICW& Metrics() { return CurrentFont()->tm; }
    int Paragraph() const { return m_paragraphs.empty() ? 0 : m_paragraphs.back(); }
    int FontLineHeight() { return Metrics().tmHeight + Metrics().tmExternalLeading + Paragraph(); }
    void RaiseLineHeight() { m_cyLine = std::max(m_cyLine, FontLineHeight()); }
    void NoteWidth() { m_cxMaxWidth = std::max(m_cxMaxWidth, static_cast<int>(m_pt.x)); }
    // Baseline-bottom alignment of text to the measured line height.
    int TextTop() { return m_pt.y + m_cyLineHeight - Metrics().tmHeight - Metrics().tmExternalLeading; }

    void ApplyTextState()
    {
        ::SetTextColor(m_hdc, ToColorRef(m_colors.empty() ? m_textColor : m_colors.back()));
        ::SelectObject(m_hdc, CurrentFont()->hFont);
        ::SetBkMode(m_hdc, m_selected ? OPAQUE : TRANSPARENT);
    }

    void PushFont(TFontInfo* font)
    {
        if (font == nullptr) return;
        m_fonts.push_back(font);
        ::SelectObject(m_hdc, font->hFont);
        RaiseLineHeight();
    }

    TFontInfo* FindOrAddFont(LPCWSTR face, int size, bool bold, bool underline, bool italic)
    {
        HFONT font = m_manager->GetFont(face, size, bold, underline, italic);
        if (font == nullptr) font = m_manager->AddFont(face, size, bold, underline, italic);
        return font != nullptr ? m_manager->GetFontInfo(font) : nullptr;
    }

    // b, u, a, i: the current font with one more style, unless it has it.
    void PushStyledFont(bool bold, bool underline, bool italic)
    {
        TFontInfo* current = CurrentFont();
        if ((bold && current->bBold) || (underline && current->bUnderline) || (italic && current->bItalic)) return;
        PushFont(FindOrAddFont(current->sFontName.GetData(), current->iSize, current->bBold || bold,
            current->bUnderline || underline, current->bItalic || italic));
    }

    void PopFont()
    {
        TFontInfo* leaving = CurrentFont();
        if (!m_fonts.empty()) m_fonts.pop_back();
        TFontInfo* now = CurrentFont();
        if (leaving->bItalic && !now->bItalic) {
            ABC abc {};
            if (::GetCharABCWidthsW(m_hdc, L' ', L' ', &abc)) m_pt.x += abc.abcC / 2;
        }
        ::SelectObject(m_hdc, now->hFont);
        RaiseLineHeight();
    }

    void PopColor()
    {
        if (!m_colors.empty()) m_colors.pop_back();
        ::SetTextColor(m_hdc, ToColorRef(m_colors.empty() ? m_textColor : m_colors.back()));
    }

    void SaveLineStart(LPCWSTR position)
    {
        m_lineStart.fonts = m_fonts;
        m_lineStart.colors = m_colors;
        m_lineStart.paragraphs = m_paragraphs;
        m_lineStart.position = position;
        m_lineStart.raw = m_raw;
        m_lineStart.selected = m_selected;
    }

    LPCWSTR OpeningTag(LPCWSTR p);
    LPCWSTR ClosingTag(LPCWSTR p);
    LPCWSTR InlineImage(LPCWSTR tagStart, LPCWSTR argument);
    LPCWSTR TextRun(LPCWSTR p);
    LPCWSTR SingleCharacter(LPCWSTR p, wchar_t ch, int consumed);
    void CloseOpenLinkForLine();
    // Returns the position to continue at, or null to stop.
    LPCWSTR EndLine(LPCWSTR p);

    HDC m_hdc { nullptr };
    CPaintManagerUI* m_manager { nullptr };
    RECT& m_rc;
    LPCWSTR m_text { nullptr };
    DWORD m_textColor { 0 };
    RECT* m_links { nullptr };
    CStdString* m_linkTexts { nullptr };
    int& m_linkCount;
    UINT m_style { 0 };
    int m_capacity { 0 };
    bool m_draw { true };

    std::vector<TFontInfo*> m_fonts;
    std::vector<DWORD> m_colors;
    std::vector<int> m_paragraphs;
    TLineStart m_lineStart;

    POINT m_pt { 0, 0 };
    int m_cyLine { 0 };
    int m_cyLineHeight { 0 };
    int m_cxMaxWidth { 0 };
    int m_cyMinHeight { 0 };
    POINT m_ptLinkStart { 0, 0 };
    bool m_lineEnd { false };
    bool m_raw { false };
    bool m_inLink { false };
    bool m_selected { false };
    bool m_lineDraw { false };

    int m_linkIndex { 0 };
    int m_lineLinkIndex { 0 };
    bool m_lineInLink { false };
    bool m_hoverLink { false };
    CStdString m_hoverText;
};

void CHtmlFormatter::Run()
{
    const RECT original = m_rc;
    RECT clipBox {};
    ::GetClipBox(m_hdc, &clipBox);
    CRegionHolder oldRegion(::CreateRectRgnIndirect(&clipBox));
    CRegionHolder region(::CreateRectRgnIndirect(&original));
    if (m_draw) ::ExtSelectClipRgn(m_hdc, region.Get(), RGN_AND);

    TFontInfo* defaultFont = m_manager->GetDefaultFontInfo();
    HGDIOBJ oldFont = ::SelectObject(m_hdc, defaultFont->hFont);
    ::SetBkMode(m_hdc, TRANSPARENT);
    ::SetTextColor(m_hdc, ToColorRef(m_textColor));
    ::SetBkColor(m_hdc, ToColorRef(m_manager->GetDefaultSelectedBkColor()));

    if (m_draw && (m_style & (DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM)) != 0) {
        RECT measured { 0, 0, 9999, 100 };
        int noLinks = 0;
        CRenderEngine::DrawHtmlText(m_hdc, m_manager, measured, m_text, m_textColor, nullptr, nullptr, noLinks,
            m_style | DT_CALCRECT);
        const int w = measured.right - measured.left;
        const int h = measured.bottom - measured.top;
        if ((m_style & DT_SINGLELINE) != 0) {
            if ((m_style & DT_CENTER) != 0) {
                m_rc.left = m_rc.left + (m_rc.right - m_rc.left) / 2 - w / 2;
                m_rc.right = m_rc.left + w;
            }
            if ((m_style & DT_RIGHT) != 0) m_rc.left = m_rc.right - w;
        }
        if ((m_style & DT_VCENTER) != 0) {
            m_rc.top = m_rc.top + (m_rc.bottom - m_rc.top) / 2 - h / 2;
            m_rc.bottom = m_rc.top + h;
        }
        if ((m_style & DT_BOTTOM) != 0) m_rc.top = m_rc.bottom - h;
        ::SelectObject(m_hdc, defaultFont->hFont);
    }

    const POINT mouse = m_manager->GetMousePos();
    for (int i = 0; i < m_capacity && !m_hoverLink; ++i) {
        if (::PtInRect(&m_links[i], mouse)) {
            m_hoverLink = true;
            m_hoverText = m_linkTexts[i];
        }
    }

    m_pt = POINT { m_rc.left, m_rc.top };
    m_ptLinkStart = m_pt;
    m_cyLine = FontLineHeight();
    SaveLineStart(m_text);

    LPCWSTR p = m_text;
    while (p != nullptr) {
        if (*p == L'\0') {
            // The last line still needs its drawing phase; then stop.
            if (m_draw && !m_lineDraw) {
                p = EndLine(p);
                continue;
            }
            CloseOpenLinkForLine();
            break;
        }
        if (m_lineEnd || *p == L'\n' || m_pt.x >= m_rc.right) {
            if (*p == L'\n' && !m_lineEnd) ++p;
            p = EndLine(p);
            continue;
        }
        if (m_raw) {
            if (IsRawEnd(p)) {
                m_raw = false;
                p += 4;
            } else {
                p = TextRun(p);
            }
            continue;
        }
        if (IsOpenBracket(p[0]) && p[1] >= L'a' && p[1] <= L'z' && (p[2] == L' ' || IsCloseBracket(p[2]))) {
            p = OpeningTag(p);
        } else if (IsOpenBracket(p[0]) && p[1] == L'/' && p[2] != L'\0') {
            p = ClosingTag(p);
        } else if (p[0] == L'<' && (p[1] == L'{' || p[1] == L'}') && p[2] == L'>') {
            p = SingleCharacter(p, p[1], 3);
        } else if (p[0] == L'{' && (p[1] == L'<' || p[1] == L'>') && p[2] == L'}') {
            p = SingleCharacter(p, p[1], 3);
        } else if (p[0] == L' ') {
            p = SingleCharacter(p, L' ', 1);
        } else {
            p = TextRun(p);
        }
    }

    m_linkCount = std::min(m_linkIndex, m_capacity);
    if (!m_draw) {
        m_rc.bottom = std::max(m_cyMinHeight, static_cast<int>(m_pt.y) + m_cyLine);
        m_rc.right = std::min(static_cast<int>(m_rc.right), m_cxMaxWidth);
    } else {
        ::SelectClipRgn(m_hdc, oldRegion.Get());
    }
    ::SelectObject(m_hdc, oldFont);
}

LPCWSTR CHtmlFormatter::OpeningTag(LPCWSTR p)
{
    const LPCWSTR tagStart = p;
    const wchar_t letter = p[1];
    const LPCWSTR argument = SkipBlanks(p + 2);
    switch (letter) {
    case L'a': {
        LPCWSTR end = argument;
        while (*end != L'\0' && !IsCloseBracket(*end)) ++end;
        const CStdString linkText = CStdString(argument, static_cast<int>(end - argument));
        if (!m_lineDraw && m_linkIndex < m_capacity) m_linkTexts[m_linkIndex] = linkText;
        const bool hover = m_hoverLink && m_hoverText == linkText.GetData();
        const DWORD color = hover ? m_manager->GetDefaultLinkHoverFontColor() : m_manager->GetDefaultLinkFontColor();
        m_colors.push_back(color);
        ::SetTextColor(m_hdc, ToColorRef(color));
        PushStyledFont(false, true, false);
        m_inLink = true;
        m_ptLinkStart = m_pt;
        break;
    }
    case L'b':
        PushStyledFont(true, false, false);
        break;
    case L'c': {
        LPCWSTR digits = argument;
        if (*digits == L'#') ++digits;
        // Signed conversion: eight digits above 7FFFFFFF saturate.
        m_colors.push_back(static_cast<DWORD>(std::wcstol(digits, nullptr, 16)));
        ::SetTextColor(m_hdc, ToColorRef(m_colors.back()));
        break;
    }
    case L'f':
        if (*argument >= L'0' && *argument <= L'9') {
            const int index = static_cast<int>(std::wcstol(argument, nullptr, 10));
            PushFont(m_manager->GetFontInfo(index));
        } else {
            LPCWSTR end = argument;
            while (*end != L'\0' && !IsCloseBracket(*end) && *end != L' ') ++end;
            const CStdString face(argument, static_cast<int>(end - argument));
            LPCWSTR q = SkipBlanks(end);
            int size = 10;
            if (*q >= L'0' && *q <= L'9') {
                wchar_t* after = nullptr;
                size = static_cast<int>(std::wcstol(q, &after, 10));
                q = after;
            }
            LPCWSTR styleEnd = q;
            while (*styleEnd != L'\0' && !IsCloseBracket(*styleEnd)) ++styleEnd;
            CStdString styles(q, static_cast<int>(styleEnd - q));
            styles.MakeLower();
            PushFont(FindOrAddFont(face.GetData(), size, styles.Find(L"bold") >= 0, styles.Find(L"underline") >= 0,
                styles.Find(L"italic") >= 0));
        }
        RaiseLineHeight();
        break;
    case L'i':
        if (*argument == L'\0' || IsCloseBracket(*argument)) {
            PushStyledFont(false, false, true);
        } else {
            return InlineImage(tagStart, argument);
        }
        break;
    case L'n':
        if ((m_style & DT_SINGLELINE) == 0) m_lineEnd = true;
        break;
    case L'p': {
        if (m_pt.x > m_rc.left) m_lineEnd = true;
        m_paragraphs.push_back(static_cast<int>(std::wcstol(argument, nullptr, 10)));
        m_cyLine = std::max(m_cyLine, FontLineHeight());
        break;
    }
    case L'r':
        m_raw = true;
        break;
    case L's':
        m_selected = !m_selected;
        ::SetBkMode(m_hdc, m_selected ? OPAQUE : TRANSPARENT);
        break;
    case L'u':
        PushStyledFont(false, true, false);
        break;
    case L'x':
        m_pt.x += std::wcstol(argument, nullptr, 10);
        NoteWidth();
        break;
    case L'y':
        m_cyLine = static_cast<int>(std::wcstol(argument, nullptr, 10));
        break;
    default:
        break;
    }
    return SkipTag(argument);
}

LPCWSTR CHtmlFormatter::ClosingTag(LPCWSTR p)
{
    switch (p[2]) {
    case L'a':
        if (m_linkIndex < m_capacity) {
            if (!m_lineDraw) {
                m_links[m_linkIndex] = RECT { m_ptLinkStart.x, m_ptLinkStart.y, std::min(m_pt.x, m_rc.right),
                    m_pt.y + Metrics().tmHeight + Metrics().tmExternalLeading };
            }
            ++m_linkIndex;
        }
        PopColor();
        m_inLink = false;
        PopFont();
        break;
    case L'b':
    case L'f':
    case L'i':
    case L'u':
        PopFont();
        break;
    case L'c':
        PopColor();
        break;
    case L'p':
        if (m_pt.x > m_rc.left) m_lineEnd = true;
        if (!m_paragraphs.empty()) m_paragraphs.pop_back();
        m_cyLine = std::max(m_cyLine, FontLineHeight());
        break;
    case L's':
        m_selected = !m_selected;
        ::SetBkMode(m_hdc, m_selected ? OPAQUE : TRANSPARENT);
        break;
    default:
        break;
    }
    return SkipTag(p + 2);
}

LPCWSTR CHtmlFormatter::InlineImage(LPCWSTR tagStart, LPCWSTR argument)
{
    const LPCWSTR tagEnd = SkipTag(argument);
    LPCWSTR q = argument;
    LPCWSTR nameEnd = q;
    while (*nameEnd != L'\0' && !IsCloseBracket(*nameEnd) && *nameEnd != L' ') ++nameEnd;
    CStdString name(q, static_cast<int>(nameEnd - q));
    q = SkipBlanks(nameEnd);
    int frames = 1;
    int frame = 0;
    if (*q >= L'0' && *q <= L'9') {
        wchar_t* after = nullptr;
        frames = static_cast<int>(std::wcstol(q, &after, 10));
        q = SkipBlanks(after);
        if (*q >= L'0' && *q <= L'9') frame = static_cast<int>(std::wcstol(q, nullptr, 10));
    }
    if (frames < 1) frames = 1;
    if (frame < 0 || frame >= frames) frame = 0;

    // The key='value' form is looked for inside this tag only.
    const CStdString tag(argument, static_cast<int>(tagEnd - argument));
    CStdString type;
    if (tag.Find(L"file='") >= 0 || tag.Find(L"res='") >= 0) {
        LPCWSTR r = argument;
        for (;;) {
            r = SkipBlanks(r);
            LPCWSTR keyEnd = r;
            while (*keyEnd != L'\0' && *keyEnd != L'=' && static_cast<unsigned>(*keyEnd) > 32) ++keyEnd;
            const CStdString key(r, static_cast<int>(keyEnd - r));
            LPCWSTR s = SkipBlanks(keyEnd);
            if (*s != L'=') break;
            s = SkipBlanks(s + 1);
            if (*s != L'\'') break;
            LPCWSTR valueStart = ++s;
            while (*s != L'\0' && *s != L'\'') ++s;
            if (*s != L'\'') break;
            const CStdString value(valueStart, static_cast<int>(s - valueStart));
            if (key == L"file" || key == L"res") name = value;
            else if (key == L"restype") type = value;
            ++s;
            if (*s != L' ') break;
            r = s + 1;
        }
    }

    const TImageInfo* image = m_manager->GetImageEx(name.GetData(), type.IsEmpty() ? nullptr : type.GetData(), 0);
    if (image == nullptr) return tagEnd;
    const int width = frames > 1 ? image->nX / frames : image->nX;
    const int height = image->nY;

    if (m_pt.x + width > m_rc.right && m_pt.x > m_rc.left && (m_style & DT_SINGLELINE) == 0) {
        m_lineEnd = true;
        return tagStart;
    }
    if (m_draw && m_lineDraw) {
        RECT rcImage { m_pt.x, m_pt.y + m_cyLineHeight - height, m_pt.x + width, m_pt.y + m_cyLineHeight };
        if (height < m_cyLineHeight) {
            rcImage.bottom -= (m_cyLineHeight - height) / 2;
            rcImage.top = rcImage.bottom - height;
        }
        const RECT source { width * frame, 0, width * (frame + 1), height };
        const RECT corners { 0, 0, 0, 0 };
        CRenderEngine::DrawImage(m_hdc, image->hBitmap, rcImage, rcImage, source, corners, image->alphaChannel, 255);
    }
    m_cyLine = std::max(m_cyLine, height);
    m_pt.x += width;
    m_cyMinHeight = std::max(m_cyMinHeight, static_cast<int>(m_pt.y) + height);
    NoteWidth();
    return tagEnd;
}

LPCWSTR CHtmlFormatter::SingleCharacter(LPCWSTR p, wchar_t ch, int consumed)
{
    SIZE size {};
    ::GetTextExtentPoint32W(m_hdc, &ch, 1, &size);
    if (m_draw && m_lineDraw) ::TextOutW(m_hdc, m_pt.x, TextTop(), &ch, 1);
    m_pt.x += size.cx;
    NoteWidth();
    return p + consumed;
}

LPCWSTR CHtmlFormatter::TextRun(LPCWSTR p)
{
    const LPCWSTR start = p;
    LPCWSTR end = p + 1;
    if (m_raw) {
        end = p;
        while (*end != L'\0' && *end != L'\n' && !IsRawEnd(end)) ++end;
    } else {
        while (*end != L'\0' && *end != L'\n' && !IsOpenBracket(*end)) ++end;
    }

    const TEXTMETRICW& tm = Metrics();
    const int available = m_rc.right;
    int count = 0;
    int lastBreak = 0;
    bool ellipsis = false;
    SIZE extent {};
    for (LPCWSTR c = start; c < end; ++c) {
        ++count;
        extent.cx = count * tm.tmMaxCharWidth;
        // The cheap estimate decides when a real measurement is needed.
        if (m_pt.x + extent.cx >= available) ::GetTextExtentPoint32W(m_hdc, start, count, &extent);
        if (m_pt.x + extent.cx > available) {
            if (m_pt.x != m_rc.left) --count;
            if ((m_style & DT_WORDBREAK) != 0 && lastBreak > 0) count = lastBreak;
            if ((m_style & DT_END_ELLIPSIS) != 0 && count > 0) {
                --count;
                if (count > 0) --count;
                ellipsis = true;
            }
            m_lineEnd = true;
            break;
        }
        if (!IsAsciiLetter(*c)) lastBreak = count;
    }

    ::GetTextExtentPoint32W(m_hdc, start, count, &extent);
    if (count == 0) extent.cx = 0;
    if (m_draw && m_lineDraw) {
        int x = m_pt.x;
        if ((m_style & DT_SINGLELINE) == 0) {
            const int room = (m_rc.right - m_rc.left) - extent.cx;
            if ((m_style & DT_CENTER) != 0) x += room / 2;
            else if ((m_style & DT_RIGHT) != 0) x += room;
        }
        const int y = TextTop();
        if (count > 0) ::TextOutW(m_hdc, x, y, start, count);
        if (ellipsis) ::TextOutW(m_hdc, x + extent.cx, y, L"...", 3);
    }
    // After an ellipsis the line is full: the pen goes to the right edge.
    m_pt.x = ellipsis ? std::max(m_rc.right, m_pt.x + extent.cx) : m_pt.x + extent.cx;
    NoteWidth();
    return start + count;
}

void CHtmlFormatter::CloseOpenLinkForLine()
{
    if (m_lineDraw) {
        if (m_inLink && m_linkIndex < m_capacity) ++m_linkIndex;
        return;
    }
    if (m_inLink && m_linkIndex < m_capacity) {
        m_links[m_linkIndex] = RECT { m_ptLinkStart.x, m_ptLinkStart.y, std::min(m_pt.x, m_rc.right), m_pt.y + m_cyLine };
        ++m_linkIndex;
        // The link goes on in the next line under the same text, when there
        // is a slot left for it.
        if (m_linkIndex < m_capacity) m_linkTexts[m_linkIndex] = m_linkTexts[m_linkIndex - 1];
    }
    for (int i = m_lineLinkIndex; i < m_linkIndex && i < m_capacity; ++i) m_links[i].bottom = m_pt.y + m_cyLine;
}

LPCWSTR CHtmlFormatter::EndLine(LPCWSTR p)
{
    CloseOpenLinkForLine();
    if (m_draw && !m_lineDraw) {
        // Second phase: walk the same line again and draw it.
        m_inLink = m_lineInLink;
        m_linkIndex = m_lineLinkIndex;
        m_fonts = m_lineStart.fonts;
        m_colors = m_lineStart.colors;
        m_paragraphs = m_lineStart.paragraphs;
        m_raw = m_lineStart.raw;
        m_selected = m_lineStart.selected;
        m_cyLineHeight = m_cyLine;
        m_pt.x = m_rc.left;
        m_ptLinkStart = m_pt;
        m_lineEnd = false;
        m_lineDraw = true;
        ApplyTextState();
        return m_lineStart.position;
    }

    m_lineInLink = m_inLink;
    m_lineLinkIndex = m_linkIndex;
    if ((m_style & DT_SINGLELINE) != 0) return nullptr;

    // A line that consumed nothing (a character wider than the whole line
    // cut away by the ellipsis) would repeat forever: step over it.
    if (p == m_lineStart.position && *p != L'\0' && *p != L'\n') ++p;

    m_pt.x = m_rc.left;
    m_pt.y += m_cyLine;
    if (m_draw && m_pt.y >= m_rc.bottom) return nullptr;
    m_ptLinkStart = m_pt;
    m_cyLine = FontLineHeight();
    if (m_rc.left >= m_rc.right) return nullptr;
    m_lineEnd = false;
    m_lineDraw = false;
    SaveLineStart(p);
    return p;
}

}  // namespace

void CRenderEngine::DrawText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, LPCWSTR pstrText, DWORD dwTextColor,
    int iFont, UINT uStyle)
{
    if (hDC == nullptr || pstrText == nullptr || pManager == nullptr) return;
    ::SetBkMode(hDC, TRANSPARENT);
    ::SetTextColor(hDC, ToColorRef(dwTextColor));
    CSelectObjectScope selectFont(hDC, pManager->GetFont(iFont));
    ::DrawTextW(hDC, pstrText, -1, &rc, uStyle | DT_NOPREFIX);
}

SIZE CRenderEngine::GetTextSize(HDC hDC, CPaintManagerUI* pManager, LPCWSTR pstrText, int iFont, UINT /*uStyle*/)
{
    SIZE size { 0, 0 };
    if (hDC == nullptr || pstrText == nullptr || pManager == nullptr) return size;
    CSelectObjectScope selectFont(hDC, pManager->GetFont(iFont));
    ::GetTextExtentPoint32W(hDC, pstrText, static_cast<int>(std::wcslen(pstrText)), &size);
    return size;
}

void CRenderEngine::DrawHtmlText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, LPCWSTR pstrText, DWORD dwTextColor,
    RECT* prcLinks, CStdString* sLinks, int& nLinkRects, UINT uStyle)
{
    if (hDC == nullptr || pstrText == nullptr || pManager == nullptr || ::IsRectEmpty(&rc)) return;
    CHtmlFormatter formatter(hDC, pManager, rc, pstrText, dwTextColor, prcLinks, sLinks, nLinkRects, uStyle);
    formatter.Run();
}

}  // namespace Veneer
