#include "engine/ControlUI.h"
#include "foundation/BuilderReport.h"

#include <algorithm>
#include <cwchar>

#include "engine/IContainerUI.h"
#include "engine/PaintManagerUI.h"
#include "engine/RenderEngine.h"
#include "foundation/RectMath.h"
#include "foundation/ValueSyntax.h"

namespace Veneer {

using ValueSyntax::ParseInt;
using ValueSyntax::ParseBool;
using ValueSyntax::ParseColor;
using ValueSyntax::ParseRect;
using ValueSyntax::ParseSize;

namespace {

bool IsRectEmptyOrInverted(const RECT& rc)
{
    return rc.right <= rc.left || rc.bottom <= rc.top;
}

}  // namespace

CControlUI::CControlUI() = default;

CControlUI::~CControlUI()
{
    if (DestroyListeners) {
        DestroyListeners(this);
    }
    if (m_pManager != nullptr) {
        m_pManager->ReapObjects(this);
    }
}

CStdString CControlUI::GetName() const { return m_sName; }
void CControlUI::SetName(LPCWSTR pstrName) { m_sName = pstrName; }
LPCWSTR CControlUI::GetClass() const { return L"ControlUI"; }

LPVOID CControlUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"Control") == 0) {
        return this;
    }
    return nullptr;
}

UINT CControlUI::GetControlFlags() const { return 0; }

bool CControlUI::Activate()
{
    return IsVisible() && IsEnabled();
}

CPaintManagerUI* CControlUI::GetManager() const { return m_pManager; }

void CControlUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    // A manager keeps no reference to a control that leaves it (focus, hover,
    // timers, groups): the builder configures controls attached and detaches
    // them, and a tree deleted before it is ever attached must not leave the
    // manager pointing into freed memory.
    if (m_pManager != nullptr && m_pManager != pManager) m_pManager->ReapObjects(this);
    m_pManager = pManager;
    m_pParent = pParent;
    if (bInit && m_pParent != nullptr) {
        Init();
    }
}

CControlUI* CControlUI::GetParent() const { return m_pParent; }
CStdString CControlUI::GetText() const { return m_sText; }

void CControlUI::SetText(LPCWSTR pstrText)
{
    if (m_sText == pstrText) {
        return;
    }
    m_sText = pstrText;
    Invalidate();
}

const RECT& CControlUI::GetPos() const { return m_rcItem; }

bool CControlUI::ClipToAncestors(RECT& rc) const
{
    for (CControlUI* p = m_pParent; p != nullptr; p = p->GetParent()) {
        const RECT rcTemp = rc;
        if (!RectMath::Intersect(rc, rcTemp, p->GetPos())) {
            return false;
        }
    }
    return true;
}

void CControlUI::SetPos(RECT rc)
{
    if (rc.right < rc.left) {
        rc.right = rc.left;
    }
    if (rc.bottom < rc.top) {
        rc.bottom = rc.top;
    }

    RECT rcInvalidate = IsRectEmptyOrInverted(m_rcItem) ? rc : m_rcItem;
    m_rcItem = rc;
    if (m_pManager == nullptr) {
        return;
    }

    if (!m_bSetPos) {
        m_bSetPos = true;
        if (SizeListeners) {
            SizeListeners(this);
        }
        m_bSetPos = false;
    }

    if (m_bFloat && m_pParent != nullptr) {
        const RECT& rcParent = m_pParent->GetPos();
        m_cXY.cx = m_cXY.cx >= 0 ? m_rcItem.left - rcParent.left : m_rcItem.right - rcParent.right;
        m_cXY.cy = m_cXY.cy >= 0 ? m_rcItem.top - rcParent.top : m_rcItem.bottom - rcParent.bottom;
        m_cxFixed = m_rcItem.right - m_rcItem.left;
        m_cyFixed = m_rcItem.bottom - m_rcItem.top;
    }

    m_bUpdateNeeded = false;

    rcInvalidate.left = std::min(rcInvalidate.left, m_rcItem.left);
    rcInvalidate.top = std::min(rcInvalidate.top, m_rcItem.top);
    rcInvalidate.right = std::max(rcInvalidate.right, m_rcItem.right);
    rcInvalidate.bottom = std::max(rcInvalidate.bottom, m_rcItem.bottom);
    if (m_pManager->IsInBatchedInvalid(rcInvalidate)) {
        return;
    }
    if (!ClipToAncestors(rcInvalidate) || RectMath::IsEmpty(rcInvalidate)) {
        return;
    }
    m_pManager->Invalidate(rcInvalidate);
}

int CControlUI::GetWidth() const { return m_rcItem.right - m_rcItem.left; }
int CControlUI::GetHeight() const { return m_rcItem.bottom - m_rcItem.top; }
int CControlUI::GetX() const { return m_rcItem.left; }
int CControlUI::GetY() const { return m_rcItem.top; }
RECT CControlUI::GetPadding() const { return m_rcPadding; }

void CControlUI::SetPadding(RECT rcPadding)
{
    m_rcPadding = rcPadding;
    NeedParentUpdate();
}

SIZE CControlUI::GetFixedXY() const { return m_cXY; }

void CControlUI::SetFixedXY(SIZE szXY)
{
    m_cXY = szXY;
    if (m_bFloat) {
        NeedUpdate();
    } else {
        NeedParentUpdate();
    }
}

int CControlUI::GetFixedWidth() const { return m_cxFixed; }

void CControlUI::SetFixedWidth(int cx)
{
    if (cx < 0) {
        return;
    }
    m_cxFixed = cx;
    if (m_bFloat) {
        NeedUpdate();
    } else {
        NeedParentUpdate();
    }
}

int CControlUI::GetFixedHeight() const { return m_cyFixed; }

void CControlUI::SetFixedHeight(int cy)
{
    if (cy < 0) {
        return;
    }
    m_cyFixed = cy;
    if (m_bFloat) {
        NeedUpdate();
    } else {
        NeedParentUpdate();
    }
}

int CControlUI::GetMinWidth() const { return m_cxMin; }

void CControlUI::SetMinWidth(int cx)
{
    if (m_cxMin == cx || cx < 0) {
        return;
    }
    m_cxMin = cx;
    if (m_bFloat) {
        NeedUpdate();
    } else {
        NeedParentUpdate();
    }
}

int CControlUI::GetMaxWidth() const { return m_cxMax; }

void CControlUI::SetMaxWidth(int cx)
{
    if (m_cxMax == cx || cx < 0) {
        return;
    }
    m_cxMax = cx;
    if (m_bFloat) {
        NeedUpdate();
    } else {
        NeedParentUpdate();
    }
}

int CControlUI::GetMinHeight() const { return m_cyMin; }

void CControlUI::SetMinHeight(int cy)
{
    if (m_cyMin == cy || cy < 0) {
        return;
    }
    m_cyMin = cy;
    if (m_bFloat) {
        NeedUpdate();
    } else {
        NeedParentUpdate();
    }
}

int CControlUI::GetMaxHeight() const { return m_cyMax; }

void CControlUI::SetMaxHeight(int cy)
{
    if (m_cyMax == cy || cy < 0) {
        return;
    }
    m_cyMax = cy;
    if (m_bFloat) {
        NeedUpdate();
    } else {
        NeedParentUpdate();
    }
}

void CControlUI::SetRelativePos(SIZE szMove, SIZE szZoom)
{
    m_tRelativePos.bRelative = true;
    m_tRelativePos.nMoveXPercent = szMove.cx;
    m_tRelativePos.nMoveYPercent = szMove.cy;
    m_tRelativePos.nZoomXPercent = szZoom.cx;
    m_tRelativePos.nZoomYPercent = szZoom.cy;
}

void CControlUI::SetRelativeParentSize(SIZE sz) { m_tRelativePos.szParent = sz; }
TRelativePosUI CControlUI::GetRelativePos() const { return m_tRelativePos; }
bool CControlUI::IsRelativePos() const { return m_tRelativePos.bRelative; }

CStdString CControlUI::GetToolTip() const { return m_sToolTip; }

void CControlUI::SetToolTip(LPCWSTR pstrText)
{
    CStdString sText(pstrText);
    sText.Replace(L"<n>", L"\r\n");
    m_sToolTip = sText;
}

void CControlUI::SetToolTipWidth(int nWidth) { m_nTooltipWidth = nWidth; }
int CControlUI::GetToolTipWidth() const { return m_nTooltipWidth; }
WCHAR CControlUI::GetShortcut() const { return m_chShortcut; }
void CControlUI::SetShortcut(WCHAR ch) { m_chShortcut = ch; }
bool CControlUI::IsContextMenuUsed() const { return m_bMenuUsed; }
void CControlUI::SetContextMenuUsed(bool bMenuUsed) { m_bMenuUsed = bMenuUsed; }
const CStdString& CControlUI::GetUserData() const { return m_sUserData; }
void CControlUI::SetUserData(LPCWSTR pstrText) { m_sUserData = pstrText; }
UINT_PTR CControlUI::GetTag() const { return m_pTag; }
void CControlUI::SetTag(UINT_PTR pTag) { m_pTag = pTag; }

bool CControlUI::IsVisible() const
{
    return m_bVisible && m_bInternVisible;
}

void CControlUI::SetVisible(bool bVisible)
{
    if (m_bVisible == bVisible) {
        return;
    }
    const bool bWasVisible = IsVisible();
    m_bVisible = bVisible;
    m_bFocused = false;
    if (!bVisible && m_pManager != nullptr && m_pManager->GetFocus() == this) {
        m_pManager->SetFocus(nullptr);
    }
    if (IsVisible() != bWasVisible) {
        NeedParentUpdate();
    }
}

void CControlUI::SetInternVisible(bool bVisible)
{
    m_bInternVisible = bVisible;
    if (!bVisible && m_pManager != nullptr && m_pManager->GetFocus() == this) {
        m_pManager->SetFocus(nullptr);
    }
}

bool CControlUI::IsEnabled() const { return m_bEnabled; }

void CControlUI::SetEnabled(bool bEnable)
{
    if (m_bEnabled == bEnable) {
        return;
    }
    m_bEnabled = bEnable;
    Invalidate();
}

bool CControlUI::IsMouseEnabled() const { return m_bMouseEnabled; }
void CControlUI::SetMouseEnabled(bool bEnable) { m_bMouseEnabled = bEnable; }
bool CControlUI::IsKeyboardEnabled() const { return m_bKeyboardEnabled; }
void CControlUI::SetKeyboardEnabled(bool bEnable) { m_bKeyboardEnabled = bEnable; }
bool CControlUI::IsFocused() const { return m_bFocused; }

void CControlUI::SetFocus()
{
    if (m_pManager != nullptr) {
        m_pManager->SetFocus(this);
    }
}

bool CControlUI::IsFloat() const { return m_bFloat; }

void CControlUI::SetFloat(bool bFloat)
{
    if (m_bFloat == bFloat) {
        return;
    }
    m_bFloat = bFloat;
    NeedParentUpdate();
}

CControlUI* CControlUI::FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags)
{
    if ((uFlags & FIND_VISIBLE) != 0 && !IsVisible()) {
        return nullptr;
    }
    if ((uFlags & FIND_ENABLED) != 0 && !IsEnabled()) {
        return nullptr;
    }
    if ((uFlags & FIND_HITTEST) != 0) {
        if (!m_bMouseEnabled || pData == nullptr
            || !::PtInRect(&m_rcItem, *static_cast<const POINT*>(pData))) {
            return nullptr;
        }
    }
    return Proc(this, pData);
}

void CControlUI::Init()
{
    DoInit();
    if (InitListeners) {
        InitListeners(this);
    }
}

void CControlUI::DoInit() {}

void CControlUI::Event(TEventUI& event)
{
    if (EventListeners(&event)) {
        DoEvent(event);
    }
}

void CControlUI::DoEvent(TEventUI& event)
{
    switch (event.Type) {
    case EVENT_SETCURSOR:
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        return;
    case EVENT_SETFOCUS:
        m_bFocused = true;
        Invalidate();
        return;
    case EVENT_KILLFOCUS:
        m_bFocused = false;
        Invalidate();
        return;
    case EVENT_TIMER:
        if (m_pManager != nullptr) {
            m_pManager->SendNotify(this, L"timer", event.wParam, event.lParam);
        }
        return;
    case EVENT_CONTEXTMENU:
        if (IsContextMenuUsed()) {
            if (m_pManager != nullptr) {
                m_pManager->SendNotify(this, L"menu", event.wParam, event.lParam);
            }
            return;
        }
        break;
    default:
        break;
    }
    if (m_pParent != nullptr) {
        m_pParent->DoEvent(event);
    }
}

IContainerUI* CControlUI::GetMarkupContainer()
{
    return static_cast<IContainerUI*>(GetInterface(L"IContainer"));
}

bool CControlUI::HandsShortcutOn() const
{
    const LPCWSTR pstrClass = GetClass();
    return pstrClass != nullptr && std::wcsstr(pstrClass, L"LabelUI") != nullptr;
}

bool CControlUI::HandOnMouseEvent(TEventUI& event)
{
    if (IsMouseEnabled() || event.Type <= EVENT__MOUSEBEGIN || event.Type >= EVENT__MOUSEEND) return false;
    CControlUI* pTarget = GetMouseEventTarget();
    if (pTarget != nullptr) {
        pTarget->DoEvent(event);
    } else {
        CControlUI::DoEvent(event);
    }
    return true;
}

void CControlUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) {
        return;
    }
    const CStdString name(pstrName);
    if (name == L"pos") {
        const RECT rc = ParseRect(pstrValue);
        SIZE szXY = { rc.left >= 0 ? rc.left : rc.right, rc.top >= 0 ? rc.top : rc.bottom };
        SetFixedXY(szXY);
        SetFixedWidth(rc.right - rc.left);
        SetFixedHeight(rc.bottom - rc.top);
    } else if (name == L"relativepos") {
        const RECT rc = ParseRect(pstrValue);
        SetRelativePos(SIZE { rc.left, rc.top }, SIZE { rc.right, rc.bottom });
    } else if (name == L"padding") {
        SetPadding(ParseRect(pstrValue));
    } else if (name == L"bkcolor" || name == L"bkcolor1") {
        SetBkColor(ParseColor(pstrValue));
    } else if (name == L"bkcolor2") {
        SetBkColor2(ParseColor(pstrValue));
    } else if (name == L"bkcolor3") {
        SetBkColor3(ParseColor(pstrValue));
    } else if (name == L"bordercolor") {
        SetBorderColor(ParseColor(pstrValue, false));
    } else if (name == L"focusbordercolor") {
        SetFocusBorderColor(ParseColor(pstrValue, false));
    } else if (name == L"colorhsl") {
        SetColorHSL(ParseBool(pstrValue));
    } else if (name == L"bordersize") {
        if (wcschr(pstrValue, L',') == nullptr) {
            SetBorderSize(ParseInt(pstrValue));
            SetBorderSize(RECT { 0, 0, 0, 0 });
        } else {
            SetBorderSize(ParseRect(pstrValue));
        }
    } else if (name == L"leftbordersize") {
        SetLeftBorderSize(ParseInt(pstrValue));
    } else if (name == L"topbordersize") {
        SetTopBorderSize(ParseInt(pstrValue));
    } else if (name == L"rightbordersize") {
        SetRightBorderSize(ParseInt(pstrValue));
    } else if (name == L"bottombordersize") {
        SetBottomBorderSize(ParseInt(pstrValue));
    } else if (name == L"borderstyle") {
        SetBorderStyle(ParseInt(pstrValue));
    } else if (name == L"borderround") {
        SetBorderRound(ParseSize(pstrValue));
    } else if (name == L"bkimage") {
        SetBkImage(pstrValue);
    } else if (name == L"width") {
        SetFixedWidth(ParseInt(pstrValue));
    } else if (name == L"height") {
        SetFixedHeight(ParseInt(pstrValue));
    } else if (name == L"minwidth") {
        SetMinWidth(ParseInt(pstrValue));
    } else if (name == L"minheight") {
        SetMinHeight(ParseInt(pstrValue));
    } else if (name == L"maxwidth") {
        SetMaxWidth(ParseInt(pstrValue));
    } else if (name == L"maxheight") {
        SetMaxHeight(ParseInt(pstrValue));
    } else if (name == L"name") {
        SetName(pstrValue);
    } else if (name == L"text") {
        SetText(pstrValue);
    } else if (name == L"tooltip") {
        SetToolTip(pstrValue);
    } else if (name == L"userdata") {
        SetUserData(pstrValue);
    } else if (name == L"enabled") {
        SetEnabled(ParseBool(pstrValue));
    } else if (name == L"mouse") {
        SetMouseEnabled(ParseBool(pstrValue));
    } else if (name == L"keyboard") {
        SetKeyboardEnabled(ParseBool(pstrValue));
    } else if (name == L"visible") {
        SetVisible(ParseBool(pstrValue));
    } else if (name == L"float") {
        SetFloat(ParseBool(pstrValue));
    } else if (name == L"shortcut") {
        SetShortcut(pstrValue[0]);
    } else if (name == L"menu") {
        SetContextMenuUsed(ParseBool(pstrValue));
    } else if (name == L"virtualwnd") {
        SetVirtualWnd(pstrValue);
    } else {
        // The end of every class's chain: no class took the name.
        CBuilderReportScope::ReportUnknownAttribute(pstrName);
    }
}

SIZE CControlUI::EstimateSize(SIZE /*szAvailable*/)
{
    return SIZE { m_cxFixed, m_cyFixed };
}

CControlUI* CControlUI::ApplyAttributeList(LPCWSTR pstrList)
{
    if (pstrList == nullptr) {
        return this;
    }
    CStdString sName;
    CStdString sValue;
    const wchar_t* p = pstrList;
    while (*p != L'\0') {
        const wchar_t* pNameStart = p;
        while (*p != L'\0' && *p != L'=') {
            ++p;
        }
        if (*p == L'\0') {
            break;
        }
        sName.Assign(pNameStart, static_cast<int>(p - pNameStart));
        ++p;
        if (*p != L'"') {
            break;
        }
        ++p;
        const wchar_t* pValueStart = p;
        while (*p != L'\0' && *p != L'"') {
            ++p;
        }
        if (*p == L'\0') {
            break;
        }
        sValue.Assign(pValueStart, static_cast<int>(p - pValueStart));
        ++p;
        SetAttribute(sName.GetData(), sValue.GetData());
        if (*p != L' ') {
            break;
        }
        ++p;
    }
    return this;
}

void CControlUI::Invalidate()
{
    if (!IsVisible()) {
        return;
    }
    RECT rcInvalidate = m_rcItem;
    if (!ClipToAncestors(rcInvalidate)) {
        return;
    }
    if (m_pManager != nullptr) {
        m_pManager->Invalidate(rcInvalidate);
    }
}

void CControlUI::NeedUpdate()
{
    if (!IsVisible()) {
        return;
    }
    m_bUpdateNeeded = true;
    Invalidate();
    if (m_pManager != nullptr) {
        m_pManager->NeedUpdate();
    }
}

void CControlUI::NeedParentUpdate()
{
    if (m_pParent != nullptr) {
        m_pParent->NeedUpdate();
        m_pParent->Invalidate();
    } else {
        NeedUpdate();
    }
    if (m_pManager != nullptr) {
        m_pManager->NeedUpdate();
    }
}

CStdString CControlUI::GetVirtualWnd() const
{
    if (!m_sVirtualWnd.IsEmpty()) {
        return m_sVirtualWnd;
    }
    if (m_pParent != nullptr) {
        return m_pParent->GetVirtualWnd();
    }
    return CStdString();
}

void CControlUI::SetVirtualWnd(LPCWSTR pstrValue)
{
    m_sVirtualWnd = pstrValue;
    if (m_pManager != nullptr) {
        m_pManager->UsedVirtualWnd(true);
    }
}

}  // namespace Veneer
