#pragma once
#include "foundation/VeneerApi.h"
// A label that shows a date as year-month-day. While it has the focus the
// platform's date picker lies over it; the picked date is taken over when
// the picker loses the focus.
#include <windows.h>

#include "controls/LabelUI.h"
#include "engine/GdiHolders.h"
#include "engine/WindowWnd.h"

namespace Veneer {

class CDateTimeUI;

// The native picker of an open CDateTimeUI. It owns itself: it deletes
// itself when its window is gone.
class VENEER_API CDateTimeWnd : public CWindowWnd {
public:
    CDateTimeWnd();
    ~CDateTimeWnd() override;

    // Opens the window over the owner, or refreshes an open one. When the
    // window cannot be created the object is gone and the owner's picker
    // pointer is null.
    void OpenPicker(CDateTimeUI* pOwner);

    // Objects alive right now (for leak checks).
    static int GetLiveCount();

protected:
    LPCWSTR GetFrameClassName() const override;
    LPCWSTR GetSuperClassName() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;

private:
    friend class CDateTimeUI;

    CDateTimeUI* m_pOwner { nullptr };
    CBrushHolder m_hBkBrush;
    bool m_bInit { false };
};

class VENEER_API CDateTimeUI : public CLabelUI {
public:
    // How the text follows the time.
    enum UpdateMode {
        UPDATE_UNDECIDED = 0,
        UPDATE_TAKE_TIME = 1,
        UPDATE_CLEARED = 2,
        UPDATE_CANCELLED = 3,
    };

    CDateTimeUI();
    ~CDateTimeUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;

    SYSTEMTIME& GetTime();
    void SetTime(SYSTEMTIME* pst);
    bool IsReadOnly() const { return m_bReadOnly; }
    void SetReadOnly(bool bReadOnly);
    void UpdateText();
    int GetUpdateMode() const { return m_nDTUpdateFlag; }

    // The open picker's window, else null.
    HWND GetNativeWindow() const;

    void SetEnabled(bool bEnable = true) override;
    void SetVisible(bool bVisible = true) override;
    void SetInternVisible(bool bVisible = true) override;
    void SetPos(RECT rc) override;
    void DoEvent(TEventUI& event) override;

protected:
    friend class CDateTimeWnd;

    // Creates and opens a picker unless one is open; false when it could not.
    bool CreatePicker();
    // Closes an open picker as a focus loss would.
    void ClosePicker();

    SYSTEMTIME m_sysTime {};
    int m_nDTUpdateFlag { UPDATE_UNDECIDED };
    bool m_bReadOnly { false };
    CDateTimeWnd* m_pWindow { nullptr };
};

}  // namespace Veneer
