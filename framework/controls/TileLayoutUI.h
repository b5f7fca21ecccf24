#pragma once
#include "foundation/VeneerApi.h"
// A grid of equal-width cells filled row by row; each row is as high as its
// tallest member and every child is centred in its cell.
#include "controls/ContainerUI.h"

namespace Veneer {

class VENEER_API CTileLayoutUI : public CContainerUI {
public:
    CTileLayoutUI() = default;
    ~CTileLayoutUI() override = default;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    void SetPos(RECT rc) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    SIZE GetItemSize() const { return m_szItem; }
    void SetItemSize(SIZE szItem);
    int GetColumns() const { return m_nColumns; }
    void SetColumns(int nCols);

protected:
    SIZE m_szItem { 0, 0 };
    int m_nColumns { 1 };
};

}  // namespace Veneer
