#pragma once
// A loaded page: its element tree, what the browser needs from it (title,
// links, forms, images, refresh), its layout for a width and its painting.
#include "Html.h"

#include <windows.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Standin {

struct PageImage {
    std::wstring url;
    HBITMAP bitmap { nullptr };  // 32-bit premultiplied DIB section, owned
    int width { 0 };
    int height { 0 };
    bool done { false };         // loaded or failed
};

struct PageForm {
    const HtmlNode* node { nullptr };
    std::wstring action;         // absolute
    std::wstring method;         // "get" or "post"
    std::wstring target;
};

struct PageLink {
    std::wstring href;           // absolute
    std::wstring target;
};

struct Submission {
    std::wstring url;
    std::string postData;        // empty for a GET
    std::wstring target;
};

class Page {
public:
    Page(const std::wstring& html, const std::wstring& url);
    ~Page();
    Page(const Page&) = delete;
    Page& operator=(const Page&) = delete;

    const std::wstring& Url() const { return m_url; }
    const std::wstring& Title() const { return m_title; }
    const HtmlNode* Root() const { return m_root.get(); }
    const HtmlNode* Body() const { return m_body; }
    bool HasRefresh() const { return m_refreshSeconds >= 0; }
    int RefreshSeconds() const { return m_refreshSeconds; }
    const std::wstring& RefreshUrl() const { return m_refreshUrl; }
    const std::vector<int>& ScriptLines() const { return m_scriptLines; }

    std::vector<PageImage>& Images() { return m_images; }
    const std::vector<PageImage>& Images() const { return m_images; }
    int ImageIndexOf(const HtmlNode* node) const;
    const std::vector<PageLink>& Links() const { return m_links; }
    int LinkIndexOf(const HtmlNode* anchor) const;
    const std::vector<PageForm>& Forms() const { return m_forms; }
    int FormIndexOf(const HtmlNode* form) const;

    // The address and body a form submission goes to; `button` is the
    // control that submitted (its name=value joins the fields).
    Submission Submit(int form, const HtmlNode* button) const;

private:
    void Collect(const HtmlNode* node);

    std::unique_ptr<HtmlNode> m_root;
    const HtmlNode* m_body { nullptr };
    std::wstring m_url;
    std::wstring m_base;
    std::wstring m_title;
    int m_refreshSeconds { -1 };
    std::wstring m_refreshUrl;
    std::vector<int> m_scriptLines;
    std::vector<PageImage> m_images;
    std::map<const HtmlNode*, int> m_imageOf;
    std::vector<PageLink> m_links;
    std::map<const HtmlNode*, int> m_linkOf;
    std::vector<PageForm> m_forms;
    std::map<const HtmlNode*, int> m_formOf;
};

// Fonts by description, shared by layout and painting of one view.
class FontCache {
public:
    FontCache() = default;
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;
    int Get(const std::wstring& face, int pixels, bool bold, bool italic, bool underline);
    HFONT Font(int index) const;

private:
    struct Entry {
        std::wstring key;
        HFONT font { nullptr };
    };
    std::vector<Entry> m_fonts;
};

struct DisplayItem {
    enum Kind { Fill, Text, Image, Button, Field, Frame };
    Kind kind { Fill };
    RECT rect {};                // page coordinates
    COLORREF colour { 0 };       // text, fill or frame colour
    std::wstring text;
    int font { -1 };
    int image { -1 };
    int link { -1 };
    int form { -1 };             // submits this form when clicked
    int thickness { 0 };         // frame line width
    const HtmlNode* node { nullptr };
};

struct Layout {
    std::vector<DisplayItem> items;
    int width { 0 };
    int height { 0 };
    COLORREF canvas { RGB(255, 255, 255) };
};

Layout LayoutPage(const Page& page, HDC dc, FontCache& fonts, int width);
// Paints the part of the page under `clip` (device coordinates) with the
// page origin at `origin`.
void PaintLayout(HDC dc, const Layout& layout, const Page& page, const FontCache& fonts, POINT origin,
                 const RECT& clip);
// The topmost clickable item at a page point, or -1.
int HitTest(const Layout& layout, POINT pagePoint);

bool ParseColour(const std::wstring& text, COLORREF* colour);

}  // namespace Standin
