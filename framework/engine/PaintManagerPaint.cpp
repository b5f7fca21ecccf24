// Layout and painting of a window: double-buffered or layered.
#include "engine/PaintManagerUI.h"

#include <cstring>

#include "engine/ControlUI.h"
#include "engine/GdiHolders.h"
#include "engine/RenderEngineInternal.h"

namespace Veneer {

namespace {

// A paint bitmap is kept while it is exactly the client area's size.
bool BitmapFits(HBITMAP bitmap, const RECT& client)
{
    BITMAP info {};
    return ::GetObjectW(bitmap, sizeof(info), &info) == static_cast<int>(sizeof(info))
        && info.bmWidth == client.right - client.left && info.bmHeight == client.bottom - client.top;
}

}  // namespace

CControlUI* CALLBACK CPaintManagerUI::FindControlFromUpdate(CControlUI* pThis, LPVOID /*pData*/)
{
    return pThis->IsUpdateNeeded() ? pThis : nullptr;
}

void CPaintManagerUI::DeleteOffscreen()
{
    if (m_hDcOffscreen && m_hbmpOffscreenOld) ::SelectObject(m_hDcOffscreen.Get(), m_hbmpOffscreenOld);
    m_hbmpOffscreenOld = nullptr;
    m_hDcOffscreen.Reset();
    m_hbmpOffscreen.Reset();
}

void CPaintManagerUI::DeleteBackground()
{
    if (m_hDcBackground && m_hbmpBackgroundOld) ::SelectObject(m_hDcBackground.Get(), m_hbmpBackgroundOld);
    m_hbmpBackgroundOld = nullptr;
    m_hDcBackground.Reset();
    m_hbmpBackground.Reset();
}

void CPaintManagerUI::LayoutIfNeeded()
{
    if (!m_bUpdateNeeded || !m_pRoot) return;
    m_bUpdateNeeded = false;
    RECT rcClient { 0, 0, 0, 0 };
    ::GetClientRect(m_hWndPaint, &rcClient);
    if (::IsRectEmpty(&rcClient)) return;
    if (m_pRoot->IsUpdateNeeded()) {
        // The paint bitmaps stay: painting makes them anew only when the
        // client size no longer fits them.
        m_pRoot->SetPos(rcClient);
    } else {
        // Each SetPos clears the flag of the control it places; the bound
        // stops a control that keeps asking from looping forever.
        CControlUI* pPrevious = nullptr;
        for (int guard = 0; guard < 100000; ++guard) {
            CControlUI* pControl = m_pRoot->FindControl(FindControlFromUpdate, nullptr, FIND_VISIBLE | FIND_ME_FIRST);
            if (!pControl || pControl == pPrevious) break;
            pControl->SetPos(pControl->GetPos());
            pPrevious = pControl;
        }
    }
    if (m_bFirstLayout) {
        m_bFirstLayout = false;
        SendNotify(m_pRoot, L"windowinit", 0, 0, false);
    }
}

void CPaintManagerUI::PaintWindow()
{
    RECT rcUpdate { 0, 0, 0, 0 };
    if (!::GetUpdateRect(m_hWndPaint, &rcUpdate, FALSE)) return;
    if (!m_pRoot) {
        PAINTSTRUCT ps;
        ::BeginPaint(m_hWndPaint, &ps);
        ::EndPaint(m_hWndPaint, &ps);
        return;
    }
    if (m_bAlphaBackground) {
        PaintLayered();
    } else {
        PaintOrdinary(rcUpdate);
    }
}

void CPaintManagerUI::PaintOrdinary(const RECT& rcUpdate)
{
    TAliveToken token(this);
    LayoutIfNeeded();
    if (!token.bAlive) return;
    if (m_bFocusNeeded) SetNextTabControl(true);
    if (!token.bAlive) return;
    if (!m_pRoot) {
        PAINTSTRUCT ps;
        ::BeginPaint(m_hWndPaint, &ps);
        ::EndPaint(m_hWndPaint, &ps);
        return;
    }
    RECT rcClient { 0, 0, 0, 0 };
    ::GetClientRect(m_hWndPaint, &rcClient);
    if (m_bOffscreenPaint && m_hbmpOffscreen && !BitmapFits(m_hbmpOffscreen.Get(), rcClient)) DeleteOffscreen();
    if (m_bOffscreenPaint && !m_hbmpOffscreen) {
        DeleteOffscreen();
        m_hDcOffscreen.Reset(::CreateCompatibleDC(m_hDcPaint));
        // A 32-bit section rather than a device bitmap: blended images are
        // then drawn into its memory directly (see BlendOntoDib).
        void* bits = nullptr;
        m_hbmpOffscreen.Reset(RenderInternal::CreateDib32(rcClient.right - rcClient.left,
                                                          rcClient.bottom - rcClient.top, &bits));
        if (!m_hDcOffscreen || !m_hbmpOffscreen) DeleteOffscreen();
    }

    PAINTSTRUCT ps;
    ::BeginPaint(m_hWndPaint, &ps);
    if (m_bOffscreenPaint && m_hDcOffscreen && m_hbmpOffscreen) {
        m_hbmpOffscreenOld = ::SelectObject(m_hDcOffscreen.Get(), m_hbmpOffscreen.Get());
        int save = ::SaveDC(m_hDcOffscreen.Get());
        // Most text is in the default font: in place, each label's own
        // selection is skipped (selecting is dear under Wine).
        ::SelectObject(m_hDcOffscreen.Get(), GetFont(-1));
        m_pRoot->DoPaint(m_hDcOffscreen.Get(), ps.rcPaint);
        for (int i = 0; i < m_aPostPaintControls.GetSize(); ++i) {
            static_cast<CControlUI*>(m_aPostPaintControls[i])->DoPostPaint(m_hDcOffscreen.Get(), ps.rcPaint);
        }
        ::RestoreDC(m_hDcOffscreen.Get(), save);
        ::BitBlt(ps.hdc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
                 ps.rcPaint.bottom - ps.rcPaint.top, m_hDcOffscreen.Get(), ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
        ::SelectObject(m_hDcOffscreen.Get(), m_hbmpOffscreenOld);
        m_hbmpOffscreenOld = nullptr;
        if (m_bShowUpdateRect) {
            HGDIOBJ hOldPen = ::SelectObject(ps.hdc, m_hUpdateRectPen);
            HGDIOBJ hOldBrush = ::SelectObject(ps.hdc, ::GetStockObject(HOLLOW_BRUSH));
            ::Rectangle(ps.hdc, rcUpdate.left, rcUpdate.top, rcUpdate.right, rcUpdate.bottom);
            ::SelectObject(ps.hdc, hOldBrush);
            ::SelectObject(ps.hdc, hOldPen);
        }
    } else {
        int save = ::SaveDC(ps.hdc);
        ::SelectObject(ps.hdc, GetFont(-1));
        m_pRoot->DoPaint(ps.hdc, ps.rcPaint);
        ::RestoreDC(ps.hdc, save);
    }
    ::EndPaint(m_hWndPaint, &ps);
    if (m_bUpdateNeeded) ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
}

void CPaintManagerUI::PaintLayered()
{
    LONG_PTR exStyle = ::GetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE);
    if ((exStyle & WS_EX_LAYERED) == 0) ::SetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    RECT rcClient { 0, 0, 0, 0 };
    ::GetClientRect(m_hWndPaint, &rcClient);

    PAINTSTRUCT ps;
    ::BeginPaint(m_hWndPaint, &ps);
    TAliveToken token(this);
    LayoutIfNeeded();
    if (!token.bAlive) return;
    if (m_bFocusNeeded) SetNextTabControl(true);
    if (!token.bAlive) return;
    const int width = rcClient.right - rcClient.left;
    const int height = rcClient.bottom - rcClient.top;
    if (!m_bOffscreenPaint || !m_pRoot || width <= 0 || height <= 0) DeleteBackground();
    if (m_bOffscreenPaint && m_pRoot && width > 0 && height > 0) {
        // The last frame's section again while the size holds, cleared to
        // transparent: a fresh one costs a page fault per 4 KB on every paint.
        DIBSECTION section {};
        const bool reusable = m_hDcBackground && m_hbmpBackground && BitmapFits(m_hbmpBackground.Get(), rcClient)
            && ::GetObjectW(m_hbmpBackground.Get(), sizeof(section), &section) == static_cast<int>(sizeof(section))
            && section.dsBm.bmBits != nullptr;
        if (reusable) {
            ::GdiFlush();
            std::memset(section.dsBm.bmBits, 0, static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
        } else {
            DeleteBackground();
            m_hDcBackground.Reset(::CreateCompatibleDC(m_hDcPaint));
            void* bits = nullptr;
            m_hbmpBackground.Reset(RenderInternal::CreateBottomUpDib32(m_hDcPaint, width, height, &bits));
            if (m_hDcBackground && m_hbmpBackground) {
                m_hbmpBackgroundOld = ::SelectObject(m_hDcBackground.Get(), m_hbmpBackground.Get());
            }
        }
        if (m_hDcBackground && m_hbmpBackground) {
            // The kept context starts every frame as it started the first.
            const unsigned requestsBefore = m_uInvalidateRequests;
            const int save = ::SaveDC(m_hDcBackground.Get());
            ::SelectObject(m_hDcBackground.Get(), GetFont(-1));
            if (m_bHasWindowShadow) {
                RECT rcInner = rcClient;
                DrawWindowShadow(rcInner);
                m_pRoot->DoPaint(m_hDcBackground.Get(), rcInner);
            } else {
                m_pRoot->DoPaint(m_hDcBackground.Get(), rcClient);
            }
            ::RestoreDC(m_hDcBackground.Get(), save);
            RECT rcWnd { 0, 0, 0, 0 };
            ::GetWindowRect(m_hWndPaint, &rcWnd);
            POINT ptPos { rcWnd.left, rcWnd.top };
            SIZE sizeWnd { width, height };
            POINT ptSrc { 0, 0 };
            BLENDFUNCTION blend { AC_SRC_OVER, 0, 255, AC_SRC_ALPHA };
            ::UpdateLayeredWindow(m_hWndPaint, nullptr, &ptPos, &sizeWnd, m_hDcBackground.Get(), &ptSrc, 0, &blend,
                                  ULW_ALPHA);
            // The whole client area was just painted: what the system asks
            // for (Wine re-creates the window on the first UpdateLayeredWindow
            // and on becoming layered, and wants the same frame painted again)
            // is already there. A request the tree made while it painted is not.
            if (m_uInvalidateRequests == requestsBefore && !m_bUpdateNeeded) ::ValidateRect(m_hWndPaint, nullptr);
        } else {
            DeleteBackground();
        }
    }
    ::EndPaint(m_hWndPaint, &ps);
}

}  // namespace Veneer
