// The window shadow of a layered window: its image pieces and where they go.
#include "engine/PaintManagerUI.h"

#include <cwchar>

#include "engine/RenderEngine.h"
#include "foundation/ValueSyntax.h"

namespace Veneer {

// ------------------------------------------------------ window shadow ----

void CPaintManagerUI::SetWindowShadowImage(LPCWSTR pstrImage) { m_sShadowImage = pstrImage; }

void CPaintManagerUI::SetTopleftShadowRect(int x, int y, int width, int height)
{
    m_shadowSource.rcTopLeft = RECT { x, y, x + width, y + height };
}

void CPaintManagerUI::SetToprightShadowRect(int x, int y, int width, int height)
{
    m_shadowSource.rcTopRight = RECT { x, y, x + width, y + height };
}

void CPaintManagerUI::SetBottomleftShadowRect(int x, int y, int width, int height)
{
    m_shadowSource.rcBottomLeft = RECT { x, y, x + width, y + height };
}

void CPaintManagerUI::SetBottomrightShadowRect(int x, int y, int width, int height)
{
    m_shadowSource.rcBottomRight = RECT { x, y, x + width, y + height };
}

void CPaintManagerUI::CalMiddleShadowRect()
{
    const RECT& tl = m_shadowSource.rcTopLeft;
    const RECT& tr = m_shadowSource.rcTopRight;
    const RECT& bl = m_shadowSource.rcBottomLeft;
    const RECT& br = m_shadowSource.rcBottomRight;
    m_shadowSource.rcTopMiddle = RECT { tl.right, 0, tr.left, tl.bottom };
    m_shadowSource.rcBottomMiddle = RECT { bl.right, bl.top, br.left, bl.bottom };
    m_shadowSource.rcLeftMiddle = RECT { tl.left, tl.bottom, tl.right, bl.top };
    m_shadowSource.rcRightMiddle = RECT { tr.left, tr.bottom, tr.right, br.top };
}

void CPaintManagerUI::CalRealShadowRect(const RECT& rect, TWindowShadowInfo& info) const
{
    const RECT& tl = m_shadowSource.rcTopLeft;
    const RECT& tr = m_shadowSource.rcTopRight;
    const RECT& bl = m_shadowSource.rcBottomLeft;
    const LONG w = tr.right - tr.left;
    const LONG h = bl.bottom - bl.top;
    info.rcTopLeft = RECT { 0, 0, tl.right, tl.bottom };
    info.rcTopRight = RECT { rect.right - w, 0, rect.right, tr.bottom };
    info.rcBottomLeft = RECT { 0, rect.bottom - h, bl.right, rect.bottom };
    info.rcBottomRight = RECT { rect.right - w, rect.bottom - h, rect.right, rect.bottom };
    info.rcTopMiddle = RECT { tl.right, 0, rect.right - w, tl.bottom };
    info.rcBottomMiddle = RECT { bl.right, rect.bottom - h, rect.right - w, rect.bottom };
    info.rcLeftMiddle = RECT { 0, tl.bottom, tl.right, rect.bottom - h };
    info.rcRightMiddle = RECT { rect.right - w, tr.bottom, rect.right, rect.bottom - h };
}

void CPaintManagerUI::GenerateShadowRenderString(const RECT& source, const RECT& destination, LPWSTR buffer) const
{
    if (!buffer) return;
    // A long image name must not run past the 512-character buffer.
    FormatBounded(buffer, 512, L"file='%ls' dest='%u,%u,%u,%u' source='%u,%u,%u,%u'", m_sShadowImage.GetData(),
        static_cast<unsigned>(destination.left), static_cast<unsigned>(destination.top),
        static_cast<unsigned>(destination.right), static_cast<unsigned>(destination.bottom),
        static_cast<unsigned>(source.left), static_cast<unsigned>(source.top),
        static_cast<unsigned>(source.right), static_cast<unsigned>(source.bottom));
}

void CPaintManagerUI::DrawWindowShadow(RECT& rect)
{
    TWindowShadowInfo dest;
    CalRealShadowRect(rect, dest);
    const TWindowShadowInfo& src = m_shadowSource;
    const RECT* pieces[8][2] = {
        { &src.rcTopLeft, &dest.rcTopLeft },
        { &src.rcTopMiddle, &dest.rcTopMiddle },
        { &src.rcTopRight, &dest.rcTopRight },
        { &src.rcLeftMiddle, &dest.rcLeftMiddle },
        { &src.rcRightMiddle, &dest.rcRightMiddle },
        { &src.rcBottomLeft, &dest.rcBottomLeft },
        { &src.rcBottomMiddle, &dest.rcBottomMiddle },
        { &src.rcBottomRight, &dest.rcBottomRight },
    };
    wchar_t buffer[512];
    for (const auto& piece : pieces) {
        GenerateShadowRenderString(*piece[0], *piece[1], buffer);
        CRenderEngine::DrawImageString(m_hDcBackground.Get(), this, rect, rect, buffer, nullptr);
    }
    const RECT& tl = src.rcTopLeft;
    const LONG w = src.rcTopRight.right - src.rcTopRight.left;
    const LONG h = src.rcBottomLeft.bottom - src.rcBottomLeft.top;
    rect = RECT { tl.right, tl.bottom, rect.right - w, rect.bottom - h };
}

}  // namespace Veneer
