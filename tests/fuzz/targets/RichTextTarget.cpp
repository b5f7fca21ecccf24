// The rich-text formatter: tags, links, line breaks, inline images, measuring.
#include <string>
#include <vector>

#include "engine/PaintManagerUI.h"
#include "engine/RenderEngine.h"
#include "fuzz/FuzzTarget.h"

using namespace Veneer;

namespace {

class Surface {
public:
    Surface()
    {
        BITMAPINFO info {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = 320;
        info.bmiHeader.biHeight = -120;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        m_dc = ::CreateCompatibleDC(nullptr);
        m_bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_old = ::SelectObject(m_dc, m_bitmap);
        m_manager.SetDefaultFont(L"Tahoma", 13, false, false, false);
        m_manager.AddFont(L"Tahoma", 16, true, false, false);
        m_manager.AddFont(L"Tahoma", 9, false, true, true);
    }
    ~Surface()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    HDC m_dc { nullptr };
    HBITMAP m_bitmap { nullptr };
    HGDIOBJ m_old { nullptr };
    CPaintManagerUI m_manager;
};

std::string Run(const Fuzz::Bytes& input)
{
    static Surface surface;
    std::wstring text(input.begin(), input.end());
    text.shrink_to_fit();
    const UINT styles[] = { 0, DT_SINGLELINE, DT_CALCRECT, DT_END_ELLIPSIS | DT_SINGLELINE, DT_CENTER | DT_VCENTER };
    const UINT style = styles[input.size() % 5];
    RECT rc { 0, 0, input.size() % 2 ? 320 : 40, 120 };
    const int capacity = 3;
    std::vector<RECT> links(capacity);
    std::vector<CStdString> names(capacity);
    int count = capacity;
    CRenderEngine::DrawHtmlText(surface.m_dc, &surface.m_manager, rc, text.c_str(), 0xFF000000u, links.data(),
        names.data(), count, style);
    if (count < 0 || count > capacity)
        return "more link rectangles reported than there is room for";
    int none = 0;
    RECT again { 0, 0, 200, 50 };
    CRenderEngine::DrawHtmlText(surface.m_dc, &surface.m_manager, again, text.c_str(), 0xFF000000u, nullptr, nullptr,
        none, style);
    return none == 0 ? std::string() : "links reported into no room";
}

std::vector<Fuzz::Bytes> Seeds()
{
    const char* texts[] = {
        "<b>bold</b> <i>it</i> <u>under</u> <s>strike</s> <c #FF00FF00>green</c> <f 1>font</f>",
        "<a go>link</a> tail <a>second</a><a third>3</a><a fourth>4</a>",
        "line<n>next<p>para<r>sel</r> <x 10>x<y 5>y",
        "<i img.png 3 1> image <i missing.png> {b}braces{/b} [b]square[/b]",
        "a very long line of text that has to break somewhere because the rectangle is narrow",
        "<c #>x</c><f 99>y</f><x -2147483648>z<i>",
    };
    std::vector<Fuzz::Bytes> seeds;
    for (const char* text : texts)
        seeds.emplace_back(text, text + strlen(text));
    return seeds;
}

Fuzz::Registration registration({ "richtext", Seeds, Run, nullptr });

}  // namespace
