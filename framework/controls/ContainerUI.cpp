#include "controls/ContainerUI.h"

#include <algorithm>

#include "controls/ScrollBarUI.h"
#include "engine/PaintManagerUI.h"
#include "engine/RenderEngine.h"
#include "foundation/RectMath.h"
#include "foundation/ValueSyntax.h"
#include "engine/InvalidationBatch.h"

namespace Veneer {

using ValueSyntax::ParseInt;
using ValueSyntax::ParseBool;
using ValueSyntax::ParseRect;

namespace {

// Visits every control of a subtree; the search never matches.
CControlUI* CALLBACK ReapVisitor(CControlUI* pThis, LPVOID pData)
{
    static_cast<CPaintManagerUI*>(pData)->ReapObjects(pThis);
    return nullptr;
}

// The scrolling operations of one axis, backwards before forwards.
struct TScrollSteps {
    void (CContainerUI::*pLineBack)();
    void (CContainerUI::*pLineForward)();
    void (CContainerUI::*pPageBack)();
    void (CContainerUI::*pPageForward)();
    void (CContainerUI::*pHome)();
    void (CContainerUI::*pEnd)();
};

const TScrollSteps kVerticalSteps { &CContainerUI::LineUp, &CContainerUI::LineDown, &CContainerUI::PageUp,
    &CContainerUI::PageDown, &CContainerUI::HomeUp, &CContainerUI::EndDown };
const TScrollSteps kHorizontalSteps { &CContainerUI::LineLeft, &CContainerUI::LineRight, &CContainerUI::PageLeft,
    &CContainerUI::PageRight, &CContainerUI::HomeLeft, &CContainerUI::EndRight };

bool IsUsable(const CScrollBarUI* pScrollBar)
{
    return pScrollBar != nullptr && pScrollBar->IsVisible() && pScrollBar->IsEnabled();
}

// Arrow, page, home and end keys and wheel steps; false for anything else.
bool ScrollByEvent(CContainerUI& container, const TScrollSteps& steps, const TEventUI& event)
{
    void (CContainerUI::*pStep)() = nullptr;
    if (event.Type == EVENT_KEYDOWN) {
        switch (event.chKey) {
        case VK_DOWN: pStep = steps.pLineForward; break;
        case VK_UP: pStep = steps.pLineBack; break;
        case VK_NEXT: pStep = steps.pPageForward; break;
        case VK_PRIOR: pStep = steps.pPageBack; break;
        case VK_HOME: pStep = steps.pHome; break;
        case VK_END: pStep = steps.pEnd; break;
        default: break;
        }
    } else if (event.Type == EVENT_SCROLLWHEEL) {
        switch (LOWORD(event.wParam)) {
        case SB_LINEUP: pStep = steps.pLineBack; break;
        case SB_LINEDOWN: pStep = steps.pLineForward; break;
        default: break;
        }
    }
    if (pStep == nullptr) return false;
    (container.*pStep)();
    return true;
}

}  // namespace

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI()
{
    m_bDelayedDestroy = false;
    RemoveAll();
    delete m_pVerticalScrollBar;
    m_pVerticalScrollBar = nullptr;
    delete m_pHorizontalScrollBar;
    m_pHorizontalScrollBar = nullptr;
}

LPCWSTR CContainerUI::GetClass() const { return L"ContainerUI"; }

LPVOID CContainerUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr) {
        if (wcscmp(pstrName, L"IContainer") == 0) {
            return static_cast<IContainerUI*>(this);
        }
        if (wcscmp(pstrName, L"Container") == 0) {
            return static_cast<CContainerUI*>(this);
        }
    }
    return CControlUI::GetInterface(pstrName);
}

CControlUI* CContainerUI::GetItemAt(int iIndex) const
{
    if (iIndex < 0 || iIndex >= m_items.GetSize()) {
        return nullptr;
    }
    return static_cast<CControlUI*>(m_items[iIndex]);
}

int CContainerUI::GetItemIndex(CControlUI* pControl) const
{
    for (int it = 0; it < m_items.GetSize(); ++it) {
        if (static_cast<CControlUI*>(m_items[it]) == pControl) {
            return it;
        }
    }
    return -1;
}

bool CContainerUI::SetItemIndex(CControlUI* pControl, int iIndex)
{
    const int iOld = GetItemIndex(pControl);
    if (iOld < 0) {
        return false;
    }
    // After taking the child out, the valid places are 0..count-1; refusing
    // anything else up front keeps the child in the list instead of losing it.
    if (iIndex < 0 || iIndex >= m_items.GetSize()) {
        return false;
    }
    NeedUpdate();
    m_items.Remove(iOld);
    if (!m_items.InsertAt(iIndex, pControl)) {
        m_items.InsertAt(iOld, pControl);
        return false;
    }
    return true;
}

int CContainerUI::GetCount() const { return m_items.GetSize(); }

bool CContainerUI::Add(CControlUI* pControl)
{
    if (pControl == nullptr) {
        return false;
    }
    if (m_pManager != nullptr) {
        m_pManager->InitControls(pControl, this);
    }
    if (IsVisible()) {
        NeedUpdate();
    } else {
        pControl->SetInternVisible(false);
    }
    return m_items.Add(pControl);
}

bool CContainerUI::AddAt(CControlUI* pControl, int iIndex)
{
    if (pControl == nullptr) {
        return false;
    }
    if (m_pManager != nullptr) {
        m_pManager->InitControls(pControl, this);
    }
    if (IsVisible()) {
        NeedUpdate();
    } else {
        pControl->SetInternVisible(false);
    }
    return m_items.InsertAt(iIndex, pControl);
}

void CContainerUI::ReleaseChild(CControlUI* pControl)
{
    if (m_bDelayedDestroy && m_pManager != nullptr) {
        // The child lives on until the manager's cleanup message; make sure
        // no hot, captured or focused reference reaches it meanwhile.
        pControl->FindControl(ReapVisitor, m_pManager, 0);
        m_pManager->AddDelayedCleanup(pControl);
    } else {
        delete pControl;
    }
}

bool CContainerUI::Remove(CControlUI* pControl)
{
    if (pControl == nullptr) {
        return false;
    }
    const int iIndex = GetItemIndex(pControl);
    if (iIndex < 0) {
        return false;
    }
    NeedUpdate();
    // Out of the list first: the child's destructor may look at its parent.
    const bool bRemoved = m_items.Remove(iIndex);
    if (m_bAutoDestroy) {
        ReleaseChild(pControl);
    }
    return bRemoved;
}

bool CContainerUI::RemoveAt(int iIndex)
{
    CControlUI* pControl = GetItemAt(iIndex);
    if (pControl == nullptr) {
        return false;
    }
    return Remove(pControl);
}

void CContainerUI::RemoveAll()
{
    CStdPtrArray items;
    for (int it = 0; it < m_items.GetSize(); ++it) {
        items.Add(m_items[it]);
    }
    m_items.Empty();
    if (m_bAutoDestroy) {
        for (int it = 0; it < items.GetSize(); ++it) {
            ReleaseChild(static_cast<CControlUI*>(items[it]));
        }
    }
    NeedUpdate();
}

void CContainerUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    for (int it = 0; it < m_items.GetSize(); ++it) {
        static_cast<CControlUI*>(m_items[it])->SetManager(pManager, this, bInit);
    }
    if (m_pVerticalScrollBar != nullptr) {
        m_pVerticalScrollBar->SetManager(pManager, this, bInit);
    }
    if (m_pHorizontalScrollBar != nullptr) {
        m_pHorizontalScrollBar->SetManager(pManager, this, bInit);
    }
    CControlUI::SetManager(pManager, pParent, bInit);
}

void CContainerUI::SetPos(RECT rc)
{
    CInvalidationBatch batch(m_pManager);
    CControlUI::SetPos(rc);
    if (m_items.IsEmpty()) {
        return;
    }
    rc = m_rcItem;
    rc.left += m_rcInset.left;
    rc.top += m_rcInset.top;
    rc.right -= m_rcInset.right;
    rc.bottom -= m_rcInset.bottom;
    for (int it = 0; it < m_items.GetSize(); ++it) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items[it]);
        if (!pControl->IsVisible()) {
            continue;
        }
        if (pControl->IsFloat()) {
            SetFloatPos(it);
        } else {
            pControl->SetPos(rc);
        }
    }
}

void CContainerUI::SetVisible(bool bVisible)
{
    if (m_bVisible == bVisible) {
        return;
    }
    CControlUI::SetVisible(bVisible);
    for (int it = 0; it < m_items.GetSize(); ++it) {
        static_cast<CControlUI*>(m_items[it])->SetInternVisible(IsVisible());
    }
}

void CContainerUI::SetInternVisible(bool bVisible)
{
    CControlUI::SetInternVisible(bVisible);
    for (int it = 0; it < m_items.GetSize(); ++it) {
        static_cast<CControlUI*>(m_items[it])->SetInternVisible(IsVisible());
    }
}

void CContainerUI::SetMouseEnabled(bool bEnable)
{
    if (m_pVerticalScrollBar != nullptr) {
        m_pVerticalScrollBar->SetMouseEnabled(bEnable);
    }
    if (m_pHorizontalScrollBar != nullptr) {
        m_pHorizontalScrollBar->SetMouseEnabled(bEnable);
    }
    CControlUI::SetMouseEnabled(bEnable);
}

RECT CContainerUI::GetInnerRect() const
{
    RECT rc = m_rcItem;
    rc.left += m_rcInset.left;
    rc.top += m_rcInset.top;
    rc.right -= m_rcInset.right;
    rc.bottom -= m_rcInset.bottom;
    if (m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible()) {
        rc.right -= m_pVerticalScrollBar->GetFixedWidth();
    }
    if (m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible()) {
        rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
    }
    return rc;
}

CControlUI* CContainerUI::FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags)
{
    if ((uFlags & FIND_VISIBLE) != 0 && !IsVisible()) {
        return nullptr;
    }
    if ((uFlags & FIND_ENABLED) != 0 && !IsEnabled()) {
        return nullptr;
    }
    if ((uFlags & FIND_HITTEST) != 0) {
        if (pData == nullptr || !::PtInRect(&m_rcItem, *static_cast<const POINT*>(pData))) {
            return nullptr;
        }
        if (!m_bMouseChildEnabled) {
            CControlUI* pResult = nullptr;
            if (m_pVerticalScrollBar != nullptr) {
                pResult = m_pVerticalScrollBar->FindControl(Proc, pData, uFlags);
            }
            if (pResult == nullptr && m_pHorizontalScrollBar != nullptr) {
                pResult = m_pHorizontalScrollBar->FindControl(Proc, pData, uFlags);
            }
            if (pResult == nullptr) {
                pResult = CControlUI::FindControl(Proc, pData, uFlags);
            }
            return pResult;
        }
    }

    if (m_pVerticalScrollBar != nullptr) {
        CControlUI* pResult = m_pVerticalScrollBar->FindControl(Proc, pData, uFlags);
        if (pResult != nullptr) {
            return pResult;
        }
    }
    if (m_pHorizontalScrollBar != nullptr) {
        CControlUI* pResult = m_pHorizontalScrollBar->FindControl(Proc, pData, uFlags);
        if (pResult != nullptr) {
            return pResult;
        }
    }

    if ((uFlags & FIND_ME_FIRST) != 0) {
        CControlUI* pResult = CControlUI::FindControl(Proc, pData, uFlags);
        if (pResult != nullptr) {
            return pResult;
        }
    }

    const RECT rc = GetInnerRect();
    const int nCount = m_items.GetSize();
    for (int n = 0; n < nCount; ++n) {
        const int it = (uFlags & FIND_TOP_FIRST) != 0 ? nCount - 1 - n : n;
        CControlUI* pChild = static_cast<CControlUI*>(m_items[it]);
        CControlUI* pResult = pChild->FindControl(Proc, pData, uFlags);
        if (pResult == nullptr) {
            continue;
        }
        if ((uFlags & FIND_HITTEST) != 0 && !pResult->IsFloat()
            && !::PtInRect(&rc, *static_cast<const POINT*>(pData))) {
            continue;
        }
        return pResult;
    }

    if ((uFlags & FIND_ME_FIRST) == 0) {
        return CControlUI::FindControl(Proc, pData, uFlags);
    }
    return nullptr;
}

void CContainerUI::DoEvent(TEventUI& event)
{
    if (HandOnMouseEvent(event)) return;
    if (event.Type == EVENT_SETFOCUS) {
        m_bFocused = true;
        return;
    }
    if (event.Type == EVENT_KILLFOCUS) {
        m_bFocused = false;
        return;
    }
    // Keys and the wheel scroll along the vertical bar when it is usable,
    // else along the horizontal one.
    const TScrollSteps* pSteps = nullptr;
    if (IsUsable(m_pVerticalScrollBar)) {
        pSteps = &kVerticalSteps;
    } else if (IsUsable(m_pHorizontalScrollBar)) {
        pSteps = &kHorizontalSteps;
    }
    if (pSteps != nullptr && ScrollByEvent(*this, *pSteps, event)) return;
    CControlUI::DoEvent(event);
}

void CContainerUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) {
        return;
    }
    if (wcscmp(pstrName, L"inset") == 0) {
        SetInset(ParseRect(pstrValue));
    } else if (wcscmp(pstrName, L"mousechild") == 0) {
        SetMouseChildEnabled(ParseBool(pstrValue));
    } else if (wcscmp(pstrName, L"vscrollbar") == 0) {
        EnableScrollBar(ParseBool(pstrValue), m_pHorizontalScrollBar != nullptr);
    } else if (wcscmp(pstrName, L"vscrollbarstyle") == 0) {
        EnableScrollBar(true, m_pHorizontalScrollBar != nullptr);
        if (m_pVerticalScrollBar != nullptr) {
            m_pVerticalScrollBar->ApplyAttributeList(pstrValue);
        }
    } else if (wcscmp(pstrName, L"hscrollbar") == 0) {
        EnableScrollBar(m_pVerticalScrollBar != nullptr, ParseBool(pstrValue));
    } else if (wcscmp(pstrName, L"hscrollbarstyle") == 0) {
        EnableScrollBar(m_pVerticalScrollBar != nullptr, true);
        if (m_pHorizontalScrollBar != nullptr) {
            m_pHorizontalScrollBar->ApplyAttributeList(pstrValue);
        }
    } else if (wcscmp(pstrName, L"childpadding") == 0) {
        SetChildPadding(ParseInt(pstrValue));
    } else {
        CControlUI::SetAttribute(pstrName, pstrValue);
    }
}

void CContainerUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    RECT rcTemp = { 0, 0, 0, 0 };
    if (!RectMath::Intersect(rcTemp, rcPaint, m_rcItem)) {
        return;
    }
    CRenderClip clip;
    CRenderClip::GenerateClip(hDC, rcTemp, clip);
    CControlUI::DoPaint(hDC, rcPaint);

    if (!m_items.IsEmpty()) {
        const RECT rc = GetInnerRect();
        if (!RectMath::Intersect(rcTemp, rcPaint, rc)) {
            for (int it = 0; it < m_items.GetSize(); ++it) {
                CControlUI* pControl = static_cast<CControlUI*>(m_items[it]);
                if (!pControl->IsVisible() || !pControl->IsFloat()) {
                    continue;
                }
                if (!RectMath::Intersects(rcPaint, pControl->GetPos())
                    || !RectMath::Intersects(m_rcItem, pControl->GetPos())) {
                    continue;
                }
                pControl->DoPaint(hDC, rcPaint);
            }
        } else {
            CRenderClip childClip;
            CRenderClip::GenerateClip(hDC, rcTemp, childClip);
            for (int it = 0; it < m_items.GetSize(); ++it) {
                CControlUI* pControl = static_cast<CControlUI*>(m_items[it]);
                if (!pControl->IsVisible() || !RectMath::Intersects(rcPaint, pControl->GetPos())) {
                    continue;
                }
                if (pControl->IsFloat()) {
                    if (!RectMath::Intersects(m_rcItem, pControl->GetPos())) {
                        continue;
                    }
                    CRenderClip::UseOldClipBegin(hDC, childClip);
                    pControl->DoPaint(hDC, rcPaint);
                    CRenderClip::UseOldClipEnd(hDC, childClip);
                } else {
                    if (!RectMath::Intersects(rc, pControl->GetPos())) {
                        continue;
                    }
                    pControl->DoPaint(hDC, rcPaint);
                }
            }
        }
    }

    if (m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible()
        && RectMath::Intersects(rcPaint, m_pVerticalScrollBar->GetPos())) {
        m_pVerticalScrollBar->DoPaint(hDC, rcPaint);
    }
    if (m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible()
        && RectMath::Intersects(rcPaint, m_pHorizontalScrollBar->GetPos())) {
        m_pHorizontalScrollBar->DoPaint(hDC, rcPaint);
    }
}

RECT CContainerUI::GetInset() const { return m_rcInset; }

void CContainerUI::SetInset(RECT rcInset)
{
    m_rcInset = rcInset;
    NeedUpdate();
}

int CContainerUI::GetChildPadding() const { return m_iChildPadding; }

void CContainerUI::SetChildPadding(int iPadding)
{
    m_iChildPadding = iPadding;
    NeedUpdate();
}

bool CContainerUI::IsAutoDestroy() const { return m_bAutoDestroy; }
void CContainerUI::SetAutoDestroy(bool bAuto) { m_bAutoDestroy = bAuto; }
bool CContainerUI::IsDelayedDestroy() const { return m_bDelayedDestroy; }
void CContainerUI::SetDelayedDestroy(bool bDelayed) { m_bDelayedDestroy = bDelayed; }
bool CContainerUI::IsMouseChildEnabled() const { return m_bMouseChildEnabled; }
void CContainerUI::SetMouseChildEnabled(bool bEnable) { m_bMouseChildEnabled = bEnable; }

int CContainerUI::FindSelectable(int iIndex, bool bForward)
{
    const int nCount = GetCount();
    if (nCount == 0) {
        return -1;
    }
    iIndex = std::max(0, std::min(iIndex, nCount - 1));
    auto selectable = [this](int i) {
        CControlUI* pControl = GetItemAt(i);
        return pControl->GetInterface(L"ListItem") != nullptr && pControl->IsVisible()
            && pControl->IsEnabled();
    };
    if (bForward) {
        for (int i = iIndex; i < nCount; ++i) {
            if (selectable(i)) {
                return i;
            }
        }
        return -1;
    }
    for (int i = iIndex; i >= 0; --i) {
        if (selectable(i)) {
            return i;
        }
    }
    return FindSelectable(0, true);
}

void CContainerUI::SetFloatPos(int iIndex)
{
    if (iIndex < 0 || iIndex >= m_items.GetSize()) {
        return;
    }
    CControlUI* pControl = static_cast<CControlUI*>(m_items[iIndex]);
    if (!pControl->IsVisible() || !pControl->IsFloat()) {
        return;
    }

    const SIZE szXY = pControl->GetFixedXY();
    const SIZE sz = { pControl->GetFixedWidth(), pControl->GetFixedHeight() };
    RECT rcCtrl = { 0, 0, 0, 0 };
    if (szXY.cx >= 0) {
        rcCtrl.left = m_rcItem.left + szXY.cx;
        rcCtrl.right = rcCtrl.left + sz.cx;
    } else {
        rcCtrl.right = m_rcItem.right + szXY.cx;
        rcCtrl.left = rcCtrl.right - sz.cx;
    }
    if (szXY.cy >= 0) {
        rcCtrl.top = m_rcItem.top + szXY.cy;
        rcCtrl.bottom = rcCtrl.top + sz.cy;
    } else {
        rcCtrl.bottom = m_rcItem.bottom + szXY.cy;
        rcCtrl.top = rcCtrl.bottom - sz.cy;
    }

    if (pControl->IsRelativePos()) {
        const TRelativePosUI tRelativePos = pControl->GetRelativePos();
        const SIZE szParent = { m_rcItem.right - m_rcItem.left, m_rcItem.bottom - m_rcItem.top };
        if (tRelativePos.szParent.cx != 0) {
            const int nIncrementX = szParent.cx - tRelativePos.szParent.cx;
            const int nIncrementY = szParent.cy - tRelativePos.szParent.cy;
            rcCtrl.left += nIncrementX * tRelativePos.nMoveXPercent / 100;
            rcCtrl.top += nIncrementY * tRelativePos.nMoveYPercent / 100;
            rcCtrl.right = rcCtrl.left + sz.cx + nIncrementX * tRelativePos.nZoomXPercent / 100;
            rcCtrl.bottom = rcCtrl.top + sz.cy + nIncrementY * tRelativePos.nZoomYPercent / 100;
        }
        pControl->SetRelativeParentSize(szParent);
    }
    pControl->SetPos(rcCtrl);
}

}  // namespace Veneer
