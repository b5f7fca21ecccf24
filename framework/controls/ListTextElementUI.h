#pragma once
#include "foundation/VeneerApi.h"
// A list item with one text per header column; texts may come from the
// list's text callback and may carry links.
#include "controls/ListLabelElementUI.h"
#include "foundation/StdPtrArray.h"

namespace Veneer {

class VENEER_API CListTextElementUI : public CListLabelElementUI {
public:
    CListTextElementUI() = default;
    ~CListTextElementUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;

    using CListLabelElementUI::GetText;
    using CListLabelElementUI::SetText;
    LPCWSTR GetText(int iIndex) const;
    void SetText(int iIndex, LPCWSTR pstrText);

    void SetOwner(CControlUI* pOwner) override;
    CStdString* GetLinkContent(int iIndex);
    int GetLinkCount() const { return m_nLinks; }

    void DoEvent(TEventUI& event) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void DrawItemText(HDC hDC, const RECT& rcItem) override;

    static constexpr int kMaxLinks = 8;

protected:
    int m_nLinks { 0 };
    RECT m_rcLinks[kMaxLinks] {};
    CStdString m_sLinks[kMaxLinks];
    int m_nHoverLink { -1 };
    IListUI* m_pOwnerList { nullptr };
    CStdPtrArray m_aTexts;
};

}  // namespace Veneer
