#include "controls/ComboBoxUI.h"

#include <climits>
#include <cwchar>

namespace Veneer {

namespace {

// Reads "l,t,r,b'" at text: four decimal integers (optional minus) separated
// by single commas and closed by a quote. Anything else is refused; the
// read never passes the terminator.
bool ParseQuotedRect(LPCWSTR text, long long values[4], int& length)
{
    LPCWSTR pos = text;
    for (int i = 0; i < 4; ++i) {
        bool negative = false;
        if (*pos == L'-') {
            negative = true;
            ++pos;
        }
        if (*pos < L'0' || *pos > L'9') {
            return false;
        }
        long long value = 0;
        while (*pos >= L'0' && *pos <= L'9') {
            value = value * 10 + (*pos - L'0');
            if (value > INT_MAX) {
                return false;
            }
            ++pos;
        }
        values[i] = negative ? -value : value;
        const wchar_t expected = i < 3 ? L',' : L'\'';
        if (*pos != expected) {
            return false;
        }
        ++pos;
    }
    length = static_cast<int>(pos - text);
    return true;
}

bool FitsInt(long long value) { return value >= INT_MIN && value <= INT_MAX; }

}  // namespace

LPCWSTR CComboBoxUI::GetClass() const { return L"ComboBoxUI"; }

LPVOID CComboBoxUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"ComboBox") == 0) {
        return static_cast<CComboBoxUI*>(this);
    }
    return CComboUI::GetInterface(pstrName);
}

void CComboBoxUI::SetArrowImage(LPCWSTR pStrImage)
{
    m_sArrowImage = pStrImage;
    Invalidate();
}

void CComboBoxUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) {
        return;
    }
    if (wcscmp(pstrName, L"arrowimage") == 0) {
        SetArrowImage(pstrValue);
    } else {
        CComboUI::SetAttribute(pstrName, pstrValue);
    }
}

void CComboBoxUI::PaintStatusImage(HDC hDC)
{
    if (m_sArrowImage.IsEmpty()) {
        m_nArrowWidth = 0;
        CComboUI::PaintStatusImage(hDC);
        return;
    }
    RefreshStateBits();
    int nIndex = 0;
    if ((m_uButtonState & STATE_DISABLED) != 0) {
        nIndex = 4;
    } else if ((m_uButtonState & STATE_PUSHED) != 0) {
        nIndex = 2;
    } else if ((m_uButtonState & STATE_HOT) != 0) {
        nIndex = 1;
    } else if ((m_uButtonState & STATE_FOCUSED) != 0) {
        nIndex = 3;
    }

    // Without a well-formed source strip there is no frame to cut.
    m_nArrowWidth = 0;
    static const wchar_t kSourceKey[] = L"source='";
    const int iKey = m_sArrowImage.Find(kSourceKey);
    if (iKey < 0) {
        return;
    }
    const int iNumbers = iKey + static_cast<int>(wcslen(kSourceKey));
    long long strip[4] = {};
    int nLength = 0;
    if (!ParseQuotedRect(m_sArrowImage.GetData() + iNumbers, strip, nLength)) {
        return;
    }
    const long long cxFrame = (strip[2] - strip[0]) / 5;
    if (cxFrame <= 0) {
        return;
    }
    const long long sourceLeft = strip[0] + nIndex * cxFrame;
    const long long sourceRight = sourceLeft + cxFrame;
    if (!FitsInt(sourceLeft) || !FitsInt(sourceRight) || !FitsInt(cxFrame)) {
        return;
    }
    m_nArrowWidth = static_cast<int>(cxFrame);

    const int nBorder = m_nBorderSize;
    RECT rcDest = { nBorder, nBorder, (m_rcItem.right - m_rcItem.left) - nBorder,
        (m_rcItem.bottom - m_rcItem.top) - nBorder };
    rcDest.left = rcDest.right - m_nArrowWidth;

    CStdString sPair;
    sPair.Format(L"source='%d,%d,%d,%d' dest='%d,%d,%d,%d'", static_cast<int>(sourceLeft),
        static_cast<int>(strip[1]), static_cast<int>(sourceRight), static_cast<int>(strip[3]),
        static_cast<int>(rcDest.left), static_cast<int>(rcDest.top), static_cast<int>(rcDest.right),
        static_cast<int>(rcDest.bottom));
    CStdString sModify = m_sArrowImage.Left(iKey);
    sModify += sPair;
    sModify += m_sArrowImage.Mid(iNumbers + nLength);
    if (!DrawImage(hDC, m_sArrowImage.GetData(), sModify.GetData())) {
        m_sArrowImage.Empty();
        m_nArrowWidth = 0;
    }
}

void CComboBoxUI::PaintText(HDC hDC)
{
    if (m_iCurSel < 0) {
        return;
    }
    RECT rcText = GetTextRect();
    rcText.right -= m_nArrowWidth;
    PaintSelectedItem(hDC, rcText);
}

}  // namespace Veneer
