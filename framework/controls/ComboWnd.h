#pragma once
#include "foundation/VeneerApi.h"
#include "engine/PaintManagerUI.h"
#include "engine/WindowWnd.h"

namespace Veneer {

class CComboUI;
class CVerticalLayoutUI;

// The pop-up list of an open combo. It owns itself: it deletes itself when
// its window is gone, and never before the message it is handling returns.
class VENEER_API CComboWnd : public CWindowWnd {
public:
    CComboWnd();
    ~CComboWnd() override;

    // Creates and shows the window for pOwner. False when it could not; the
    // caller then deletes the object.
    bool Init(CComboUI* pOwner);
    void EnsureVisible(int iIndex);
    void Scroll(int dx, int dy);

    CVerticalLayoutUI* GetListLayout() const { return m_pLayout; }
    CPaintManagerUI& GetPaintManager() { return m_pm; }

    // Objects alive right now (for leak checks).
    static int GetLiveCount();

protected:
    LPCWSTR GetFrameClassName() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;

private:
    friend class CComboUI;

    LRESULT Dispatch(UINT uMsg, WPARAM wParam, LPARAM lParam);
    void CreateListLayout();
    // Gives every item back to the owner's window (once).
    void ReturnItems(bool bRelayout);
    // Takes one item out of the pop-up before the owner lets it go.
    void ForgetItem(CControlUI* pControl);
    // The owner is going away: let go of it and close.
    void DetachOwner();

    CPaintManagerUI m_pm;
    CComboUI* m_pOwner { nullptr };
    CVerticalLayoutUI* m_pLayout { nullptr };
    int m_iOldSel { -1 };
    int m_nDepth { 0 };
    bool m_bDeletePending { false };
    bool m_bItemsReturned { false };
};

}  // namespace Veneer
