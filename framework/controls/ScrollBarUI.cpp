#include "controls/ScrollBarUI.h"

#include <algorithm>

#include "controls/ControlStates.h"
#include "controls/ContainerUI.h"
#include "engine/PaintManagerUI.h"
#include "engine/RenderEngine.h"
#include "foundation/ValueSyntax.h"

namespace Veneer {

using ValueSyntax::ParseInt;
using ValueSyntax::ParseBool;

namespace {

constexpr DWORD kMissingImageOutline = 0x0085E4FF;

bool IsNullRect(const RECT& rc)
{
    return rc.left == 0 && rc.top == 0 && rc.right == 0 && rc.bottom == 0;
}

}  // namespace

CScrollBarUI::CScrollBarUI()
{
    m_cxFixed = 16;
}

CScrollBarUI::~CScrollBarUI() = default;

LPCWSTR CScrollBarUI::GetClass() const { return L"ScrollBarUI"; }

LPVOID CScrollBarUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"ScrollBar") == 0) {
        return static_cast<CScrollBarUI*>(this);
    }
    return CControlUI::GetInterface(pstrName);
}

void CScrollBarUI::SetVisible(bool bVisible)
{
    if (m_bVisible == bVisible) {
        return;
    }
    m_bVisible = bVisible;
    m_bFocused = false;
}

void CScrollBarUI::SetEnabled(bool bEnable)
{
    CControlUI::SetEnabled(bEnable);
    if (!IsEnabled()) {
        m_uButton1State = 0;
        m_uButton2State = 0;
        m_uThumbState = 0;
    }
}

void CScrollBarUI::SetFocus()
{
    if (m_pOwner != nullptr) {
        m_pOwner->SetFocus();
    } else {
        CControlUI::SetFocus();
    }
}

void CScrollBarUI::SetHorizontal(bool bHorizontal)
{
    if (m_bHorizontal == bHorizontal) {
        return;
    }
    m_bHorizontal = bHorizontal;
    if (m_bHorizontal) {
        if (m_cyFixed == 0) {
            m_cxFixed = 0;
            m_cyFixed = 16;
        }
    } else {
        if (m_cxFixed == 0) {
            m_cxFixed = 16;
            m_cyFixed = 0;
        }
    }
    if (m_pOwner != nullptr) {
        m_pOwner->NeedUpdate();
    } else {
        NeedParentUpdate();
    }
}

void CScrollBarUI::SetScrollRange(int nRange)
{
    if (m_nRange == nRange) {
        return;
    }
    m_nRange = std::max(0, nRange);
    if (m_nScrollPos > m_nRange) {
        m_nScrollPos = m_nRange;
    }
    SetPos(m_rcItem);
}

void CScrollBarUI::SetScrollPos(int nPos)
{
    if (m_nScrollPos == nPos) {
        return;
    }
    m_nScrollPos = std::max(0, std::min(nPos, m_nRange));
    SetPos(m_rcItem);
}

void CScrollBarUI::SetShowButton1(bool bShow)
{
    m_bShowButton1 = bShow;
    SetPos(m_rcItem);
}

void CScrollBarUI::SetShowButton2(bool bShow)
{
    m_bShowButton2 = bShow;
    SetPos(m_rcItem);
}

void CScrollBarUI::SetButton1NormalImage(LPCWSTR pStrImage)
{
    m_sButton1NormalImage = pStrImage;
    Invalidate();
}

void CScrollBarUI::SetButton1HotImage(LPCWSTR pStrImage)
{
    m_sButton1HotImage = pStrImage;
    Invalidate();
}

void CScrollBarUI::SetButton1PushedImage(LPCWSTR pStrImage)
{
    m_sButton1PushedImage = pStrImage;
    Invalidate();
}

void CScrollBarUI::SetButton1DisabledImage(LPCWSTR pStrImage)
{
    m_sButton1DisabledImage = pStrImage;
    Invalidate();
}

void CScrollBarUI::SetButton2NormalImage(LPCWSTR pStrImage)
{
    m_sButton2NormalImage = pStrImage;
    Invalidate();
}

void CScrollBarUI::SetButton2HotImage(LPCWSTR pStrImage)
{
    m_sButton2HotImage = pStrImage;
    Invalidate();
}

void CScrollBarUI::SetButton2PushedImage(LPCWSTR pStrImage)
{
    m_sButton2PushedImage = pStrImage;
    Invalidate();
}

void CScrollBarUI::SetButton2DisabledImage(LPCWSTR pStrImage)
{
    m_sButton2DisabledImage = pStrImage;
    Invalidate();
}

void CScrollBarUI::SetThumbNormalImage(LPCWSTR pStrImage)
{
    m_sThumbNormalImage = pStrImage;
    Invalidate();
}

void CScrollBarUI::SetThumbHotImage(LPCWSTR pStrImage)
{
    m_sThumbHotImage = pStrImage;
    Invalidate();
}

void CScrollBarUI::SetThumbPushedImage(LPCWSTR pStrImage)
{
    m_sThumbPushedImage = pStrImage;
    Invalidate();
}

void CScrollBarUI::SetThumbDisabledImage(LPCWSTR pStrImage)
{
    m_sThumbDisabledImage = pStrImage;
    Invalidate();
}

void CScrollBarUI::SetRailNormalImage(LPCWSTR pStrImage)
{
    m_sRailNormalImage = pStrImage;
    Invalidate();
}

void CScrollBarUI::SetRailHotImage(LPCWSTR pStrImage)
{
    m_sRailHotImage = pStrImage;
    Invalidate();
}

void CScrollBarUI::SetRailPushedImage(LPCWSTR pStrImage)
{
    m_sRailPushedImage = pStrImage;
    Invalidate();
}

void CScrollBarUI::SetRailDisabledImage(LPCWSTR pStrImage)
{
    m_sRailDisabledImage = pStrImage;
    Invalidate();
}

void CScrollBarUI::SetBkNormalImage(LPCWSTR pStrImage)
{
    m_sBkNormalImage = pStrImage;
    Invalidate();
}

void CScrollBarUI::SetBkHotImage(LPCWSTR pStrImage)
{
    m_sBkHotImage = pStrImage;
    Invalidate();
}

void CScrollBarUI::SetBkPushedImage(LPCWSTR pStrImage)
{
    m_sBkPushedImage = pStrImage;
    Invalidate();
}

void CScrollBarUI::SetBkDisabledImage(LPCWSTR pStrImage)
{
    m_sBkDisabledImage = pStrImage;
    Invalidate();
}

void CScrollBarUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    rc = m_rcItem;

    // One layout along the bar's axis: `lo`..`hi` along it, `across` the
    // edge it stands on, `s` its thickness.
    const bool bVertical = !m_bHorizontal;
    const int s = bVertical ? m_cxFixed : m_cyFixed;
    const int lo = bVertical ? rc.top : rc.left;
    const int hi = bVertical ? rc.bottom : rc.right;
    const int across = bVertical ? rc.left : rc.top;
    auto place = [bVertical](int alongLo, int alongHi, int acrossLo, int acrossHi) {
        return bVertical ? RECT { acrossLo, alongLo, acrossHi, alongHi }
                         : RECT { alongLo, acrossLo, alongHi, acrossHi };
    };

    const int length = hi - lo;
    int t = length;
    if (m_bShowButton1) {
        t -= s;
    }
    if (m_bShowButton2) {
        t -= s;
    }
    // Too short for a thumb: the buttons share the length.
    const int button = t > s ? s : std::min(length / 2, s);
    m_rcButton1 = m_bShowButton1 ? place(lo, lo + button, across, across + s) : place(lo, lo, across, across);
    m_rcButton2 = m_bShowButton2 ? place(hi - button, hi, across, across + s) : place(hi, hi, across, across);
    if (t <= s) {
        m_rcThumb = RECT { 0, 0, 0, 0 };
        return;
    }

    const int button1End = m_bShowButton1 ? lo + s : lo;
    const int button2Start = m_bShowButton2 ? hi - s : hi;
    int thumbLo = button1End;
    int thumbHi = button2Start;
    if (m_nRange > 0) {
        const int thumb = std::max(static_cast<int>(static_cast<long long>(length) * t / (length + m_nRange)), s);
        thumbLo = static_cast<int>(static_cast<long long>(t - thumb) * m_nScrollPos / m_nRange) + button1End;
        thumbHi = thumbLo + thumb;
        if (thumbHi > button2Start) {
            thumbLo = button2Start - thumb;
            thumbHi = button2Start;
        }
    }
    m_rcThumb = place(thumbLo, thumbHi, across, across + s);
}

void CScrollBarUI::ScrollLine(bool bForward)
{
    if (m_pOwner != nullptr) {
        if (m_bHorizontal) {
            bForward ? m_pOwner->LineRight() : m_pOwner->LineLeft();
        } else {
            bForward ? m_pOwner->LineDown() : m_pOwner->LineUp();
        }
        return;
    }
    SetScrollPos(m_nScrollPos + (bForward ? m_nLineSize : -m_nLineSize));
}

void CScrollBarUI::ScrollPage(bool bForward)
{
    if (m_pOwner != nullptr) {
        if (m_bHorizontal) {
            bForward ? m_pOwner->PageRight() : m_pOwner->PageLeft();
        } else {
            bForward ? m_pOwner->PageDown() : m_pOwner->PageUp();
        }
        return;
    }
    const int nPage = m_bHorizontal ? m_rcItem.right - m_rcItem.left : m_rcItem.bottom - m_rcItem.top;
    SetScrollPos(m_nScrollPos + (bForward ? nPage : -nPage));
}

void CScrollBarUI::PageTowards(POINT pt)
{
    if (!m_bHorizontal) {
        if (pt.y < m_rcThumb.top) {
            ScrollPage(false);
        } else if (pt.y > m_rcThumb.bottom) {
            ScrollPage(true);
        }
    } else {
        if (pt.x < m_rcThumb.left) {
            ScrollPage(false);
        } else if (pt.x > m_rcThumb.right) {
            ScrollPage(true);
        }
    }
}

CControlUI* CScrollBarUI::GetMouseEventTarget() const
{
    if (m_pOwner != nullptr) return m_pOwner;
    return m_pParent;
}

void CScrollBarUI::DoEvent(TEventUI& event)
{
    if (HandOnMouseEvent(event)) return;

    switch (event.Type) {
    case EVENT_SETFOCUS:
    case EVENT_KILLFOCUS:
    case EVENT_CONTEXTMENU:
        return;

    case EVENT_BUTTONDOWN:
    case EVENT_DBLCLICK: {
        if (!IsEnabled()) {
            return;
        }
        m_nLastScrollOffset = 0;
        m_nScrollRepeatDelay = 0;
        if (m_pManager != nullptr) {
            m_pManager->SetTimer(this, DEFAULT_TIMERID, REPEAT_PERIOD_MS);
        }
        if (::PtInRect(&m_rcButton1, event.ptMouse)) {
            m_uButton1State |= STATE_PUSHED;
            ScrollLine(false);
        } else if (::PtInRect(&m_rcButton2, event.ptMouse)) {
            m_uButton2State |= STATE_PUSHED;
            ScrollLine(true);
        } else if (::PtInRect(&m_rcThumb, event.ptMouse)) {
            m_uThumbState |= STATE_CAPTURED | STATE_PUSHED;
            m_ptLastMouse = event.ptMouse;
            m_nLastScrollPos = m_nScrollPos;
        } else {
            PageTowards(event.ptMouse);
        }
        if (m_pManager != nullptr && m_pOwner == nullptr) {
            m_pManager->SendNotify(this, L"scroll");
        }
        return;
    }

    case EVENT_BUTTONUP:
        m_nScrollRepeatDelay = 0;
        m_nLastScrollOffset = 0;
        if (m_pManager != nullptr) {
            m_pManager->KillTimer(this, DEFAULT_TIMERID);
        }
        if ((m_uThumbState & STATE_CAPTURED) != 0) {
            m_uThumbState &= ~(STATE_CAPTURED | STATE_PUSHED);
        } else if ((m_uButton1State & STATE_PUSHED) != 0) {
            m_uButton1State &= ~STATE_PUSHED;
        } else if ((m_uButton2State & STATE_PUSHED) != 0) {
            m_uButton2State &= ~STATE_PUSHED;
        }
        Invalidate();
        return;

    case EVENT_MOUSEMOVE:
        if ((m_uThumbState & STATE_CAPTURED) != 0) {
            if (!m_bHorizontal) {
                const int d = (m_rcItem.bottom - m_rcItem.top) - (m_rcThumb.bottom - m_rcThumb.top)
                    - 2 * m_cxFixed;
                if (d != 0) {
                    m_nLastScrollOffset = static_cast<int>(
                        static_cast<long long>(event.ptMouse.y - m_ptLastMouse.y) * m_nRange / d);
                }
            } else {
                const int d = (m_rcItem.right - m_rcItem.left) - (m_rcThumb.right - m_rcThumb.left)
                    - 2 * m_cyFixed;
                if (d != 0) {
                    m_nLastScrollOffset = static_cast<int>(
                        static_cast<long long>(event.ptMouse.x - m_ptLastMouse.x) * m_nRange / d);
                }
            }
            return;
        }
        if ((m_uThumbState & STATE_HOT) != 0) {
            if (!::PtInRect(&m_rcThumb, event.ptMouse)) {
                m_uThumbState &= ~STATE_HOT;
                Invalidate();
            }
        } else if (IsEnabled() && ::PtInRect(&m_rcThumb, event.ptMouse)) {
            m_uThumbState |= STATE_HOT;
            Invalidate();
        }
        return;

    case EVENT_TIMER:
        if (event.wParam != DEFAULT_TIMERID) {
            break;
        }
        ++m_nScrollRepeatDelay;
        if ((m_uThumbState & STATE_CAPTURED) != 0) {
            const int nPos = m_nLastScrollPos + m_nLastScrollOffset;
            if (m_pOwner != nullptr) {
                SIZE sz = m_pOwner->GetScrollPos();
                if (m_bHorizontal) {
                    sz.cx = nPos;
                } else {
                    sz.cy = nPos;
                }
                m_pOwner->SetScrollPos(sz);
            } else {
                SetScrollPos(nPos);
            }
            Invalidate();
        } else if ((m_uButton1State & STATE_PUSHED) != 0) {
            if (m_nScrollRepeatDelay > 5) {
                ScrollLine(false);
            }
        } else if ((m_uButton2State & STATE_PUSHED) != 0) {
            if (m_nScrollRepeatDelay > 5) {
                ScrollLine(true);
            }
        } else if (m_nScrollRepeatDelay > 5) {
            POINT pt = { 0, 0 };
            ::GetCursorPos(&pt);
            if (m_pManager != nullptr) {
                ::ScreenToClient(m_pManager->GetPaintWindow(), &pt);
            }
            PageTowards(pt);
        }
        if (m_pManager != nullptr && m_pOwner == nullptr) {
            m_pManager->SendNotify(this, L"scroll");
        }
        return;

    case EVENT_MOUSEENTER:
        if (IsEnabled()) {
            m_uButton1State |= STATE_HOT;
            m_uButton2State |= STATE_HOT;
            if (::PtInRect(&m_rcThumb, event.ptMouse)) {
                m_uThumbState |= STATE_HOT;
            }
            Invalidate();
        }
        return;

    case EVENT_MOUSELEAVE:
        if (IsEnabled()) {
            m_uButton1State &= ~STATE_HOT;
            m_uButton2State &= ~STATE_HOT;
            m_uThumbState &= ~STATE_HOT;
            Invalidate();
        }
        return;

    default:
        break;
    }

    if (m_pOwner != nullptr) {
        m_pOwner->DoEvent(event);
    } else {
        CControlUI::DoEvent(event);
    }
}

void CScrollBarUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) {
        return;
    }
    const CStdString name(pstrName);
    if (name == L"button1normalimage") SetButton1NormalImage(pstrValue);
    else if (name == L"button1hotimage") SetButton1HotImage(pstrValue);
    else if (name == L"button1pushedimage") SetButton1PushedImage(pstrValue);
    else if (name == L"button1disabledimage") SetButton1DisabledImage(pstrValue);
    else if (name == L"button2normalimage") SetButton2NormalImage(pstrValue);
    else if (name == L"button2hotimage") SetButton2HotImage(pstrValue);
    else if (name == L"button2pushedimage") SetButton2PushedImage(pstrValue);
    else if (name == L"button2disabledimage") SetButton2DisabledImage(pstrValue);
    else if (name == L"thumbnormalimage") SetThumbNormalImage(pstrValue);
    else if (name == L"thumbhotimage") SetThumbHotImage(pstrValue);
    else if (name == L"thumbpushedimage") SetThumbPushedImage(pstrValue);
    else if (name == L"thumbdisabledimage") SetThumbDisabledImage(pstrValue);
    else if (name == L"railnormalimage") SetRailNormalImage(pstrValue);
    else if (name == L"railhotimage") SetRailHotImage(pstrValue);
    else if (name == L"railpushedimage") SetRailPushedImage(pstrValue);
    else if (name == L"raildisabledimage") SetRailDisabledImage(pstrValue);
    else if (name == L"bknormalimage") SetBkNormalImage(pstrValue);
    else if (name == L"bkhotimage") SetBkHotImage(pstrValue);
    else if (name == L"bkpushedimage") SetBkPushedImage(pstrValue);
    else if (name == L"bkdisabledimage") SetBkDisabledImage(pstrValue);
    else if (name == L"hor") SetHorizontal(ParseBool(pstrValue));
    else if (name == L"linesize") SetLineSize(ParseInt(pstrValue));
    else if (name == L"range") SetScrollRange(ParseInt(pstrValue));
    else if (name == L"value") SetScrollPos(ParseInt(pstrValue));
    else if (name == L"showbutton1") SetShowButton1(ParseBool(pstrValue));
    else if (name == L"showbutton2") SetShowButton2(ParseBool(pstrValue));
    else CControlUI::SetAttribute(pstrName, pstrValue);
}

void CScrollBarUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) {
        return;
    }
    PaintBk(hDC);
    PaintButton1(hDC);
    PaintButton2(hDC);
    PaintThumb(hDC);
    PaintRail(hDC);
}

bool CScrollBarUI::DrawOrDrop(HDC hDC, CStdString& sImage, LPCWSTR pStrModify)
{
    return Veneer::DrawOrDrop(*this, hDC, sImage, pStrModify);
}

bool CScrollBarUI::DrawStateImage(HDC hDC, UINT uState, CStdString* pNormal, CStdString* pHot,
    CStdString* pPushed, CStdString* pDisabled, LPCWSTR pStrModify)
{
    if ((uState & STATE_DISABLED) != 0) {
        if (DrawOrDrop(hDC, *pDisabled, pStrModify)) {
            return true;
        }
    } else if ((uState & STATE_PUSHED) != 0) {
        if (DrawOrDrop(hDC, *pPushed, pStrModify)) {
            return true;
        }
    } else if ((uState & STATE_HOT) != 0) {
        if (DrawOrDrop(hDC, *pHot, pStrModify)) {
            return true;
        }
    }
    return DrawOrDrop(hDC, *pNormal, pStrModify);
}

void CScrollBarUI::PaintBk(HDC hDC)
{
    if (IsEnabled()) {
        m_uThumbState &= ~STATE_DISABLED;
    } else {
        m_uThumbState |= STATE_DISABLED;
    }
    DrawStateImage(hDC, m_uThumbState, &m_sBkNormalImage, &m_sBkHotImage, &m_sBkPushedImage,
        &m_sBkDisabledImage, nullptr);
}

void CScrollBarUI::PaintPart(HDC hDC, const RECT& rcPart, UINT& uState, CStdString* pNormal,
    CStdString* pHot, CStdString* pPushed, CStdString* pDisabled)
{
    if (IsEnabled()) {
        uState &= ~STATE_DISABLED;
    } else {
        uState |= STATE_DISABLED;
    }
    m_sImageModify.Format(L"dest='%d,%d,%d,%d'", rcPart.left - m_rcItem.left, rcPart.top - m_rcItem.top,
        rcPart.right - m_rcItem.left, rcPart.bottom - m_rcItem.top);
    if (!DrawStateImage(hDC, uState, pNormal, pHot, pPushed, pDisabled, m_sImageModify.GetData())) {
        CRenderEngine::DrawRect(hDC, rcPart, 2, kMissingImageOutline);
    }
}

void CScrollBarUI::PaintButton1(HDC hDC)
{
    if (!m_bShowButton1) {
        return;
    }
    PaintPart(hDC, m_rcButton1, m_uButton1State, &m_sButton1NormalImage, &m_sButton1HotImage,
        &m_sButton1PushedImage, &m_sButton1DisabledImage);
}

void CScrollBarUI::PaintButton2(HDC hDC)
{
    if (!m_bShowButton2) {
        return;
    }
    PaintPart(hDC, m_rcButton2, m_uButton2State, &m_sButton2NormalImage, &m_sButton2HotImage,
        &m_sButton2PushedImage, &m_sButton2DisabledImage);
}

void CScrollBarUI::PaintThumb(HDC hDC)
{
    if (IsNullRect(m_rcThumb)) {
        return;
    }
    PaintPart(hDC, m_rcThumb, m_uThumbState, &m_sThumbNormalImage, &m_sThumbHotImage, &m_sThumbPushedImage,
        &m_sThumbDisabledImage);
}

void CScrollBarUI::PaintRail(HDC hDC)
{
    if (IsNullRect(m_rcThumb)) {
        return;
    }
    if (!m_bHorizontal) {
        const int s = m_cxFixed;
        const int m = (m_rcThumb.top + m_rcThumb.bottom) / 2 - m_rcItem.top;
        m_sImageModify.Format(L"dest='%d,%d,%d,%d'", m_rcThumb.left - m_rcItem.left,
            m - s / 2, m_rcThumb.right - m_rcItem.left, m + s - s / 2);
    } else {
        const int s = m_cyFixed;
        const int m = (m_rcThumb.left + m_rcThumb.right) / 2 - m_rcItem.left;
        m_sImageModify.Format(L"dest='%d,%d,%d,%d'", m - s / 2, m_rcThumb.top - m_rcItem.top,
            m + s - s / 2, m_rcThumb.bottom - m_rcItem.top);
    }
    DrawStateImage(hDC, m_uThumbState, &m_sRailNormalImage, &m_sRailHotImage, &m_sRailPushedImage,
        &m_sRailDisabledImage, m_sImageModify.GetData());
}

}  // namespace Veneer
