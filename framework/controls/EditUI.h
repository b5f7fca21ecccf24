#pragma once
#include "foundation/VeneerApi.h"
// Single-line text input. Idle it paints its text like a label; with the
// focus it puts a native edit window over its text area and copies every
// change back.
#include "controls/LabelUI.h"
#include "engine/GdiHolders.h"
#include "engine/WindowWnd.h"

namespace Veneer {

class CEditUI;

// The native edit window of an editing CEditUI. It owns itself: it deletes
// itself when its window is gone.
class VENEER_API CEditWnd : public CWindowWnd {
public:
    CEditWnd();
    ~CEditWnd() override;

    // Creates the window over the owner's text area. On failure the object
    // is gone and the owner's pointer to it is null.
    void Init(CEditUI* pOwner);
    // The owner's text area, narrowed to the font height.
    RECT CalPos() const;

    // Objects alive right now (for leak checks).
    static int GetLiveCount();

protected:
    LPCWSTR GetFrameClassName() const override;
    LPCWSTR GetSuperClassName() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;

private:
    friend class CEditUI;

    CEditUI* m_pOwner { nullptr };
    CBrushHolder m_hBkBrush;
    bool m_bInit { false };
};

class VENEER_API CEditUI : public CLabelUI {
public:
    CEditUI();
    ~CEditUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;

    void SetEnabled(bool bEnable = true) override;
    void SetText(LPCWSTR pstrText) override;
    void SetMaxChar(UINT uMax);
    UINT GetMaxChar() const { return m_uMaxChar; }
    void SetReadOnly(bool bReadOnly);
    bool IsReadOnly() const { return m_bReadOnly; }
    void SetPasswordMode(bool bPasswordMode);
    bool IsPasswordMode() const { return m_bPasswordMode; }
    void SetPasswordChar(WCHAR cPasswordChar);
    WCHAR GetPasswordChar() const { return m_cPasswordChar; }
    void SetNumberOnly(bool bNumberOnly);
    bool IsNumberOnly() const { return (m_iWindowStyls & ES_NUMBER) != 0; }
    int GetWindowStyls() const { return static_cast<int>(m_iWindowStyls); }

    LPCWSTR GetNormalImage() const { return m_sNormalImage.GetData(); }
    void SetNormalImage(LPCWSTR pStrImage);
    LPCWSTR GetHotImage() const { return m_sHotImage.GetData(); }
    void SetHotImage(LPCWSTR pStrImage);
    LPCWSTR GetFocusedImage() const { return m_sFocusedImage.GetData(); }
    void SetFocusedImage(LPCWSTR pStrImage);
    LPCWSTR GetDisabledImage() const { return m_sDisabledImage.GetData(); }
    void SetDisabledImage(LPCWSTR pStrImage);
    void SetNativeEditBkColor(DWORD dwBkColor) { m_dwEditbkColor = dwBkColor; }
    DWORD GetNativeEditBkColor() const { return m_dwEditbkColor; }

    void SetSel(long nStartChar, long nEndChar);
    void SetSelAll();
    void SetReplaceSel(LPCWSTR lpszReplace);

    // The native window while editing, else null.
    HWND GetNativeWindow() const;
    UINT GetButtonState() const { return m_uButtonState; }

    void SetPos(RECT rc) override;
    void SetVisible(bool bVisible = true) override;
    void SetInternVisible(bool bVisible = true) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

protected:
    friend class CEditWnd;

    // Opens the native window unless one is open; false when it could not.
    bool OpenNativeWindow();
    // Ends editing when the control can no longer be edited.
    void CloseNativeWindow();
    void SelectAllText();

    CEditWnd* m_pWindow { nullptr };
    UINT m_uMaxChar { 255 };
    bool m_bReadOnly { false };
    bool m_bPasswordMode { false };
    WCHAR m_cPasswordChar { L'*' };
    UINT m_uButtonState { 0 };
    CStdString m_sNormalImage;
    CStdString m_sHotImage;
    CStdString m_sFocusedImage;
    CStdString m_sDisabledImage;
    DWORD m_dwEditbkColor { 0xFFFFFFFF };
    UINT m_iWindowStyls { 0 };
};

}  // namespace Veneer
