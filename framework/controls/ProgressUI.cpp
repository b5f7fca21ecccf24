#include "controls/ProgressUI.h"

#include <climits>
#include <cwchar>

#include "foundation/ValueSyntax.h"

namespace Veneer {

int ScaleClamped(long long a, long long b, long long c)
{
    if (c == 0) {
        return 0;
    }
    // Operands come from 32-bit values and their differences (33 bits), so
    // the product may not fit in 64 bits: then go through floating point.
    const double approx = static_cast<double>(a) * static_cast<double>(b);
    long long result = 0;
    if (approx > -9.0e18 && approx < 9.0e18) {
        result = a * b / c;
    } else {
        const double quotient = approx / static_cast<double>(c);
        result = quotient > 4.0e9 ? 4000000000LL : quotient < -4.0e9 ? -4000000000LL : static_cast<long long>(quotient);
    }
    if (result > INT_MAX) {
        return INT_MAX;
    }
    if (result < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(result);
}

CProgressUI::CProgressUI()
{
    m_uTextStyle = DT_SINGLELINE | DT_CENTER;
    SetFixedHeight(12);
}

LPCWSTR CProgressUI::GetClass() const { return L"ProgressUI"; }

LPVOID CProgressUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"Progress") == 0) {
        return static_cast<CProgressUI*>(this);
    }
    return CLabelUI::GetInterface(pstrName);
}

void CProgressUI::SetHorizontal(bool bHorizontal)
{
    if (m_bHorizontal == bHorizontal) {
        return;
    }
    m_bHorizontal = bHorizontal;
    Invalidate();
}

void CProgressUI::SetStretchForeImage(bool bStretchForeImage)
{
    if (m_bStretchForeImage == bStretchForeImage) {
        return;
    }
    m_bStretchForeImage = bStretchForeImage;
    Invalidate();
}

void CProgressUI::SetMinValue(int nMin)
{
    m_nMin = nMin;
    Invalidate();
}

void CProgressUI::SetMaxValue(int nMax)
{
    m_nMax = nMax;
    Invalidate();
}

void CProgressUI::SetValue(int nValue)
{
    m_nValue = nValue;
    Invalidate();
}

void CProgressUI::SetForeImage(LPCWSTR pStrImage)
{
    if (pStrImage == nullptr) {
        pStrImage = L"";
    }
    if (m_sForeImage == pStrImage) {
        return;
    }
    m_sForeImage = pStrImage;
    Invalidate();
}

void CProgressUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) {
        return;
    }
    if (std::wcscmp(pstrName, L"foreimage") == 0) {
        SetForeImage(pstrValue);
    } else if (std::wcscmp(pstrName, L"hor") == 0) {
        SetHorizontal(ValueSyntax::ParseBool(pstrValue));
    } else if (std::wcscmp(pstrName, L"min") == 0) {
        SetMinValue(static_cast<int>(ValueSyntax::ParseInt(pstrValue)));
    } else if (std::wcscmp(pstrName, L"max") == 0) {
        SetMaxValue(static_cast<int>(ValueSyntax::ParseInt(pstrValue)));
    } else if (std::wcscmp(pstrName, L"value") == 0) {
        SetValue(static_cast<int>(ValueSyntax::ParseInt(pstrValue)));
    } else if (std::wcscmp(pstrName, L"isstretchfore") == 0) {
        SetStretchForeImage(ValueSyntax::ParseBool(pstrValue));
    } else {
        CLabelUI::SetAttribute(pstrName, pstrValue);
    }
}

void CProgressUI::NormaliseValues()
{
    if (m_nMin >= m_nMax) {
        // Maximum = minimum + 1, except at the top of the range.
        if (m_nMin == INT_MAX) {
            m_nMin = INT_MAX - 1;
        }
        m_nMax = m_nMin + 1;
    }
    if (m_nValue > m_nMax) {
        m_nValue = m_nMax;
    }
    if (m_nValue < m_nMin) {
        m_nValue = m_nMin;
    }
}

long long CProgressUI::ClampedOffset() const
{
    const long long range = static_cast<long long>(m_nMax) - m_nMin;
    const long long offset = static_cast<long long>(m_nValue) - m_nMin;
    if (range <= 0 || offset < 0) {
        return 0;
    }
    return offset > range ? range : offset;
}

RECT CProgressUI::GetFilledRect() const
{
    const LONG width = m_rcItem.right - m_rcItem.left;
    const LONG height = m_rcItem.bottom - m_rcItem.top;
    const long long range = static_cast<long long>(m_nMax) - m_nMin;
    const long long offset = ClampedOffset();
    if (m_bHorizontal) {
        return RECT { 0, 0, ScaleClamped(offset, width, range), height };
    }
    return RECT { 0, ScaleClamped(height, range - offset, range), width, height };
}

void CProgressUI::PaintStatusImage(HDC hDC)
{
    NormaliseValues();
    const RECT rc = GetFilledRect();
    if (m_sForeImage.IsEmpty()) {
        return;
    }
    wchar_t modify[160] = {};
    if (m_bStretchForeImage) {
        FormatBounded(modify, 160, L"dest='%d,%d,%d,%d'", rc.left, rc.top, rc.right, rc.bottom);
    } else {
        FormatBounded(modify, 160, L"dest='%d,%d,%d,%d' source='%d,%d,%d,%d'", rc.left, rc.top, rc.right,
            rc.bottom, rc.left, rc.top, rc.right, rc.bottom);
    }
    m_sForeImageModify = modify;
    if (!DrawImage(hDC, m_sForeImage.GetData(), m_sForeImageModify.GetData())) {
        m_sForeImage.Empty();
    }
}

}  // namespace Veneer
