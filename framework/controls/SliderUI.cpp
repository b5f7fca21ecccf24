#include "controls/SliderUI.h"

#include <climits>
#include <cwchar>

#include "controls/ControlStates.h"
#include "engine/PaintManagerUI.h"
#include "foundation/ValueSyntax.h"

namespace Veneer {

namespace {

int SaturatingAdd(int a, long long b)
{
    const long long sum = static_cast<long long>(a) + b;
    if (sum > INT_MAX) {
        return INT_MAX;
    }
    if (sum < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(sum);
}

void SetImage(CControlUI* pControl, CStdString& field, LPCWSTR pStrImage)
{
    field = pStrImage != nullptr ? pStrImage : L"";
    pControl->Invalidate();
}

}  // namespace

CSliderUI::CSliderUI()
{
    m_uTextStyle = DT_SINGLELINE | DT_CENTER;
}

LPCWSTR CSliderUI::GetClass() const { return L"SliderUI"; }

LPVOID CSliderUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"Slider") == 0) {
        return static_cast<CSliderUI*>(this);
    }
    return CProgressUI::GetInterface(pstrName);
}

UINT CSliderUI::GetControlFlags() const { return IsEnabled() ? FLAG_SETCURSOR : 0; }

void CSliderUI::SetEnabled(bool bEnable)
{
    CControlUI::SetEnabled(bEnable);
    if (!IsEnabled()) {
        m_uButtonState = 0;
    }
}

void CSliderUI::SetThumbImage(LPCWSTR pStrImage) { SetImage(this, m_sThumbImage, pStrImage); }
void CSliderUI::SetThumbHotImage(LPCWSTR pStrImage) { SetImage(this, m_sThumbHotImage, pStrImage); }
void CSliderUI::SetThumbPushedImage(LPCWSTR pStrImage) { SetImage(this, m_sThumbPushedImage, pStrImage); }

RECT CSliderUI::GetThumbRect() const
{
    const long long range = static_cast<long long>(m_nMax) - m_nMin;
    const long long offset = ClampedOffset();
    const LONG w = m_szThumb.cx;
    const LONG h = m_szThumb.cy;
    if (m_bHorizontal) {
        const LONG left = m_rcItem.left
            + ScaleClamped(static_cast<long long>(m_rcItem.right) - m_rcItem.left - w, offset, range);
        const LONG top = (m_rcItem.bottom + m_rcItem.top - h) / 2;
        return RECT { left, top, left + w, top + h };
    }
    const LONG left = (m_rcItem.right + m_rcItem.left - w) / 2;
    const LONG top = m_rcItem.bottom - h
        - ScaleClamped(static_cast<long long>(m_rcItem.bottom) - m_rcItem.top - h, offset, range);
    return RECT { left, top, left + w, top + h };
}

int CSliderUI::ValueFromPoint(POINT pt) const
{
    const long long range = static_cast<long long>(m_nMax) - m_nMin;
    if (m_bHorizontal) {
        const LONG w = m_szThumb.cx;
        if (pt.x >= m_rcItem.right - w / 2) {
            return m_nMax;
        }
        if (pt.x <= m_rcItem.left + w / 2) {
            return m_nMin;
        }
        const long long track = static_cast<long long>(m_rcItem.right) - m_rcItem.left - w;
        return SaturatingAdd(m_nMin, ScaleClamped(range, static_cast<long long>(pt.x) - m_rcItem.left - w / 2, track));
    }
    const LONG h = m_szThumb.cy;
    if (pt.y >= m_rcItem.bottom - h / 2) {
        return m_nMin;
    }
    if (pt.y <= m_rcItem.top + h / 2) {
        return m_nMax;
    }
    const long long track = static_cast<long long>(m_rcItem.bottom) - m_rcItem.top - h;
    return SaturatingAdd(m_nMin, ScaleClamped(range, static_cast<long long>(m_rcItem.bottom) - pt.y - h / 2, track));
}

void CSliderUI::DoEvent(TEventUI& event)
{
    if (HandOnMouseEvent(event)) return;

    switch (event.Type) {
    case EVENT_BUTTONDOWN:
    case EVENT_DBLCLICK:
        if (IsEnabled()) {
            const RECT rcThumb = GetThumbRect();
            if (::PtInRect(&rcThumb, event.ptMouse)) {
                m_uButtonState |= STATE_CAPTURED;
            }
        }
        return;
    case EVENT_BUTTONUP:
        m_uButtonState &= ~STATE_CAPTURED;
        // A disabled slider keeps its value: the user cannot change it.
        if (!IsEnabled()) {
            return;
        }
        m_nValue = ValueFromPoint(event.ptMouse);
        if (m_pManager != nullptr) {
            m_pManager->SendNotify(this, L"valuechanged");
        }
        Invalidate();
        return;
    case EVENT_CONTEXTMENU:
        return;
    case EVENT_SCROLLWHEEL:
        if (!IsEnabled()) {
            return;
        }
        switch (LOWORD(event.wParam)) {
        case SB_LINEUP:
            SetValue(SaturatingAdd(m_nValue, m_nStep));
            if (m_pManager != nullptr) {
                m_pManager->SendNotify(this, L"valuechanged");
            }
            return;
        case SB_LINEDOWN:
            SetValue(SaturatingAdd(m_nValue, -static_cast<long long>(m_nStep)));
            if (m_pManager != nullptr) {
                m_pManager->SendNotify(this, L"valuechanged");
            }
            return;
        default:
            break;
        }
        break;
    case EVENT_MOUSEMOVE:
        if ((m_uButtonState & STATE_CAPTURED) != 0) {
            m_nValue = ValueFromPoint(event.ptMouse);
            Invalidate();
        }
        return;
    case EVENT_SETCURSOR:
        if (IsEnabled()) {
            const RECT rcThumb = GetThumbRect();
            if (::PtInRect(&rcThumb, event.ptMouse)) {
                ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
                return;
            }
        }
        break;
    case EVENT_MOUSEENTER:
    case EVENT_MOUSELEAVE:
        TrackHot(*this, m_uButtonState, event);
        return;
    default:
        break;
    }
    CControlUI::DoEvent(event);
}

void CSliderUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) {
        return;
    }
    if (std::wcscmp(pstrName, L"thumbimage") == 0) {
        SetThumbImage(pstrValue);
    } else if (std::wcscmp(pstrName, L"thumbhotimage") == 0) {
        SetThumbHotImage(pstrValue);
    } else if (std::wcscmp(pstrName, L"thumbpushedimage") == 0) {
        SetThumbPushedImage(pstrValue);
    } else if (std::wcscmp(pstrName, L"thumbsize") == 0) {
        SetThumbSize(ValueSyntax::ParseSize(pstrValue));
    } else if (std::wcscmp(pstrName, L"step") == 0) {
        SetChangeStep(static_cast<int>(ValueSyntax::ParseInt(pstrValue)));
    } else {
        CProgressUI::SetAttribute(pstrName, pstrValue);
    }
}

void CSliderUI::PaintStatusImage(HDC hDC)
{
    CProgressUI::PaintStatusImage(hDC);

    RECT rcThumb = GetThumbRect();
    ::OffsetRect(&rcThumb, -m_rcItem.left, -m_rcItem.top);
    wchar_t modify[80] = {};
    FormatBounded(modify, 80, L"dest='%d,%d,%d,%d'", rcThumb.left, rcThumb.top, rcThumb.right, rcThumb.bottom);
    m_sImageModify = modify;

    CStdString* pState = nullptr;
    if ((m_uButtonState & STATE_CAPTURED) != 0) {
        pState = &m_sThumbPushedImage;
    } else if ((m_uButtonState & STATE_HOT) != 0) {
        pState = &m_sThumbHotImage;
    }
    if (pState != nullptr && DrawOrDrop(*this, hDC, *pState, m_sImageModify.GetData())) {
        return;
    }
    DrawOrDrop(*this, hDC, m_sThumbImage, m_sImageModify.GetData());
}

}  // namespace Veneer
