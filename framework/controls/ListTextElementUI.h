#pragma once
// A list item with one text per header column; texts may come from the
// list's text callback and may carry links.
#include "controls/ListLabelElementUI.h"
#include "foundation/StdPtrArray.h"

namespace Veneer {

class CListTextElementUI : public CListLabelElementUI {
public:
    CListTextElementUI() = default;
    ~CListTextElementUI() override;

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    UINT GetControlFlags() const override;

    using CListLabelElementUI::GetText;
    using CListLabelElementUI::SetText;
    LPCTSTR GetText(int iIndex) const;
    void SetText(int iIndex, LPCTSTR pstrText);

    void SetOwner(CControlUI* pOwner) override;
    CDuiString* GetLinkContent(int iIndex);
    int GetLinkCount() const { return m_nLinks; }

    void DoEvent(TEventUI& event) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void DrawItemText(HDC hDC, const RECT& rcItem) override;

    static constexpr int kMaxLinks = 8;

protected:
    int m_nLinks { 0 };
    RECT m_rcLinks[kMaxLinks] {};
    CDuiString m_sLinks[kMaxLinks];
    int m_nHoverLink { -1 };
    IListUI* m_pOwnerList { nullptr };
    CStdPtrArray m_aTexts;
};

}  // namespace Veneer
