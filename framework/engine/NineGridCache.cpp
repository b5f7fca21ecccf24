// Compositions of stretched nine-grids kept per destination size, so that a
// frame that draws the same grid again copies it instead of resampling it.
#include <vector>

#include "engine/GdiHolders.h"
#include "engine/RenderEngine.h"
#include "engine/RenderEngineInternal.h"

namespace Veneer {
namespace RenderInternal {

namespace {

// Bounds of what is kept: a few grids (a frame's background, its buttons),
// at most 24 MB of pixels in all.
constexpr size_t kMaxEntries = 8;
constexpr long long kMaxPixels = 6LL * 1024 * 1024;

struct TComposedGrid {
    HBITMAP source { nullptr };
    RECT part { 0, 0, 0, 0 };
    RECT corners { 0, 0, 0, 0 };
    int width { 0 };
    int height { 0 };
    bool blended { false };
    bool hole { false };
    HBITMAP composed { nullptr };
    unsigned long long lastUse { 0 };

    long long Pixels() const { return static_cast<long long>(width) * height; }
};

class CComposedGridCache {
public:
    ~CComposedGridCache()
    {
        for (TComposedGrid& grid : m_grids) ::DeleteObject(grid.composed);
    }

    TComposedGrid* Find(HBITMAP source, const RECT& part, const RECT& corners, int width, int height, bool blended,
        bool hole)
    {
        for (TComposedGrid& grid : m_grids) {
            if (grid.source == source && ::EqualRect(&grid.part, &part) && ::EqualRect(&grid.corners, &corners)
                && grid.width == width && grid.height == height && grid.blended == blended && grid.hole == hole) {
                grid.lastUse = ++m_clock;
                return &grid;
            }
        }
        return nullptr;
    }

    TComposedGrid* Add(TComposedGrid grid)
    {
        while (!m_grids.empty() && (m_grids.size() >= kMaxEntries || Pixels() + grid.Pixels() > kMaxPixels)) {
            EvictOldest();
        }
        grid.lastUse = ++m_clock;
        m_grids.push_back(grid);
        return &m_grids.back();
    }

    void Forget(HBITMAP source)
    {
        for (size_t i = m_grids.size(); i-- > 0;) {
            if (m_grids[i].source != source) continue;
            ::DeleteObject(m_grids[i].composed);
            m_grids.erase(m_grids.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }

private:
    long long Pixels() const
    {
        long long total = 0;
        for (const TComposedGrid& grid : m_grids) total += grid.Pixels();
        return total;
    }

    void EvictOldest()
    {
        size_t oldest = 0;
        for (size_t i = 1; i < m_grids.size(); ++i) {
            if (m_grids[i].lastUse < m_grids[oldest].lastUse) oldest = i;
        }
        ::DeleteObject(m_grids[oldest].composed);
        m_grids.erase(m_grids.begin() + static_cast<std::ptrdiff_t>(oldest));
    }

    std::vector<TComposedGrid> m_grids;
    unsigned long long m_clock { 0 };
};

CComposedGridCache& Cache()
{
    static CComposedGridCache cache;
    return cache;
}

// The nine destination pieces in drawing order, relative to the grid's
// origin; a piece the direct drawing would skip is left empty.
int Pieces(int width, int height, const RECT& cn, bool hole, RECT pieces[9])
{
    const int l = cn.left, t = cn.top, r = cn.right, b = cn.bottom;
    int count = 0;
    auto add = [&](int x0, int y0, int x1, int y1) { pieces[count++] = RECT { x0, y0, x1, y1 }; };
    if (!hole) add(l, t, width - r, height - b);
    if (l > 0 && t > 0) add(0, 0, l, t);
    if (t > 0) add(l, 0, width - r, t);
    if (r > 0 && t > 0) add(width - r, 0, width, t);
    if (l > 0) add(0, t, l, height - b);
    if (r > 0) add(width - r, t, width, height - b);
    if (l > 0 && b > 0) add(0, height - b, l, height);
    if (b > 0) add(l, height - b, width - r, height);
    if (r > 0 && b > 0) add(width - r, height - b, width, height);
    return count;
}

HBITMAP Compose(HDC hDC, HBITMAP source, const RECT& part, const RECT& corners, int width, int height, bool blended,
    bool hole)
{
    void* bits = nullptr;
    HBITMAP composed = CreateDib32(width, height, &bits);
    if (composed == nullptr) return nullptr;
    CMemDCHolder dc(hDC);
    if (!dc) {
        ::DeleteObject(composed);
        return nullptr;
    }
    CSelectObjectScope select(dc.Get(), composed);
    // The section starts all zero: blending premultiplied pieces onto it
    // leaves exactly the pieces, and an undrawn hole stays transparent.
    const RECT whole { 0, 0, width, height };
    CRenderEngine::DrawImage(dc.Get(), source, whole, whole, part, corners, blended, 255, hole);
    ::GdiFlush();
    return composed;
}

}  // namespace

bool DrawComposedNineGrid(HDC hDC, HBITMAP hBitmap, const RECT& rc, const RECT& rcPaint, const RECT& rcBmpPart,
    const RECT& rcCorners, bool alphaChannel, BYTE uFade, bool hole)
{
    if (hDC == nullptr || hBitmap == nullptr) return false;
    const bool blended = alphaChannel || uFade < 255;
    if (hole && !blended) return false;  // a copy would paint over the hole
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    const RECT& cn = rcCorners;
    if (cn.left < 0 || cn.top < 0 || cn.right < 0 || cn.bottom < 0) return false;
    const int innerDstW = width - cn.left - cn.right;
    const int innerDstH = height - cn.top - cn.bottom;
    const int innerSrcW = rcBmpPart.right - rcBmpPart.left - cn.left - cn.right;
    const int innerSrcH = rcBmpPart.bottom - rcBmpPart.top - cn.top - cn.bottom;
    if (innerDstW <= 0 || innerDstH <= 0 || innerSrcW <= 0 || innerSrcH <= 0) return false;
    // Corners are never scaled; with equal inner sizes nothing is, and the
    // pieces are plain copies already.
    if (innerDstW == innerSrcW && innerDstH == innerSrcH) return false;
    if (static_cast<long long>(width) * height > kMaxPixels / 2) return false;

    CComposedGridCache& cache = Cache();
    TComposedGrid* grid = cache.Find(hBitmap, rcBmpPart, cn, width, height, blended, hole);
    if (grid == nullptr) {
        TComposedGrid fresh;
        fresh.composed = Compose(hDC, hBitmap, rcBmpPart, cn, width, height, blended, hole);
        if (fresh.composed == nullptr) return false;
        fresh.source = hBitmap;
        fresh.part = rcBmpPart;
        fresh.corners = cn;
        fresh.width = width;
        fresh.height = height;
        fresh.blended = blended;
        fresh.hole = hole;
        grid = cache.Add(fresh);
    }

    CMemDCHolder dc(hDC);
    if (!dc) return false;
    CSelectObjectScope select(dc.Get(), grid->composed);
    // The pieces the direct drawing would draw: those meeting the paint
    // rectangle, each whole. Usually all of them, in one copy.
    RECT pieces[9];
    const int count = Pieces(width, height, cn, hole, pieces);
    RECT meeting[9];
    int met = 0;
    for (int i = 0; i < count; ++i) {
        RECT piece = pieces[i];
        ::OffsetRect(&piece, rc.left, rc.top);
        RECT overlap {};
        if (::IntersectRect(&overlap, &piece, &rcPaint)) meeting[met++] = pieces[i];
    }
    if (met == count) {
        met = 1;
        meeting[0] = RECT { 0, 0, width, height };
    }
    BLENDFUNCTION blend { AC_SRC_OVER, 0, uFade, AC_SRC_ALPHA };
    for (int i = 0; i < met; ++i) {
        const RECT& p = meeting[i];
        const int w = p.right - p.left;
        const int h = p.bottom - p.top;
        if (blended) {
            BlendPremultiplied(hDC, rc.left + p.left, rc.top + p.top, w, h, dc.Get(), p.left, p.top, w, h, blend);
        } else {
            ::BitBlt(hDC, rc.left + p.left, rc.top + p.top, w, h, dc.Get(), p.left, p.top, SRCCOPY);
        }
    }
    return true;
}

void ForgetComposedNineGrids(HBITMAP hBitmap)
{
    if (hBitmap != nullptr) Cache().Forget(hBitmap);
}

}  // namespace RenderInternal
}  // namespace Veneer
