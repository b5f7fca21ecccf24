#pragma once
// Skinned scroll bar: two arrow buttons, a thumb, a rail mark and a track.
#include "engine/ControlUI.h"

namespace Veneer {

class CContainerUI;

class CScrollBarUI : public CControlUI {
public:
    CScrollBarUI();
    ~CScrollBarUI() override;

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

    CContainerUI* GetOwner() const { return m_pOwner; }
    void SetOwner(CContainerUI* pOwner) { m_pOwner = pOwner; }

    void SetVisible(bool bVisible = true) override;
    void SetEnabled(bool bEnable = true) override;
    void SetFocus() override;

    bool IsHorizontal() const { return m_bHorizontal; }
    void SetHorizontal(bool bHorizontal = true);
    int GetScrollRange() const { return m_nRange; }
    void SetScrollRange(int nRange);
    int GetScrollPos() const { return m_nScrollPos; }
    void SetScrollPos(int nPos);
    int GetLineSize() const { return m_nLineSize; }
    void SetLineSize(int nSize) { m_nLineSize = nSize; }

    bool GetShowButton1() const { return m_bShowButton1; }
    void SetShowButton1(bool bShow);
    bool GetShowButton2() const { return m_bShowButton2; }
    void SetShowButton2(bool bShow);

    LPCTSTR GetButton1NormalImage() const { return m_sButton1NormalImage.GetData(); }
    void SetButton1NormalImage(LPCTSTR pStrImage);
    LPCTSTR GetButton1HotImage() const { return m_sButton1HotImage.GetData(); }
    void SetButton1HotImage(LPCTSTR pStrImage);
    LPCTSTR GetButton1PushedImage() const { return m_sButton1PushedImage.GetData(); }
    void SetButton1PushedImage(LPCTSTR pStrImage);
    LPCTSTR GetButton1DisabledImage() const { return m_sButton1DisabledImage.GetData(); }
    void SetButton1DisabledImage(LPCTSTR pStrImage);

    LPCTSTR GetButton2NormalImage() const { return m_sButton2NormalImage.GetData(); }
    void SetButton2NormalImage(LPCTSTR pStrImage);
    LPCTSTR GetButton2HotImage() const { return m_sButton2HotImage.GetData(); }
    void SetButton2HotImage(LPCTSTR pStrImage);
    LPCTSTR GetButton2PushedImage() const { return m_sButton2PushedImage.GetData(); }
    void SetButton2PushedImage(LPCTSTR pStrImage);
    LPCTSTR GetButton2DisabledImage() const { return m_sButton2DisabledImage.GetData(); }
    void SetButton2DisabledImage(LPCTSTR pStrImage);

    LPCTSTR GetThumbNormalImage() const { return m_sThumbNormalImage.GetData(); }
    void SetThumbNormalImage(LPCTSTR pStrImage);
    LPCTSTR GetThumbHotImage() const { return m_sThumbHotImage.GetData(); }
    void SetThumbHotImage(LPCTSTR pStrImage);
    LPCTSTR GetThumbPushedImage() const { return m_sThumbPushedImage.GetData(); }
    void SetThumbPushedImage(LPCTSTR pStrImage);
    LPCTSTR GetThumbDisabledImage() const { return m_sThumbDisabledImage.GetData(); }
    void SetThumbDisabledImage(LPCTSTR pStrImage);

    LPCTSTR GetRailNormalImage() const { return m_sRailNormalImage.GetData(); }
    void SetRailNormalImage(LPCTSTR pStrImage);
    LPCTSTR GetRailHotImage() const { return m_sRailHotImage.GetData(); }
    void SetRailHotImage(LPCTSTR pStrImage);
    LPCTSTR GetRailPushedImage() const { return m_sRailPushedImage.GetData(); }
    void SetRailPushedImage(LPCTSTR pStrImage);
    LPCTSTR GetRailDisabledImage() const { return m_sRailDisabledImage.GetData(); }
    void SetRailDisabledImage(LPCTSTR pStrImage);

    LPCTSTR GetBkNormalImage() const { return m_sBkNormalImage.GetData(); }
    void SetBkNormalImage(LPCTSTR pStrImage);
    LPCTSTR GetBkHotImage() const { return m_sBkHotImage.GetData(); }
    void SetBkHotImage(LPCTSTR pStrImage);
    LPCTSTR GetBkPushedImage() const { return m_sBkPushedImage.GetData(); }
    void SetBkPushedImage(LPCTSTR pStrImage);
    LPCTSTR GetBkDisabledImage() const { return m_sBkDisabledImage.GetData(); }
    void SetBkDisabledImage(LPCTSTR pStrImage);

    // Part rectangles in window coordinates (all 0 thumb: no thumb).
    RECT GetButton1Rect() const { return m_rcButton1; }
    RECT GetButton2Rect() const { return m_rcButton2; }
    RECT GetThumbRect() const { return m_rcThumb; }
    UINT GetButton1State() const { return m_uButton1State; }
    UINT GetButton2State() const { return m_uButton2State; }
    UINT GetThumbState() const { return m_uThumbState; }

    void SetPos(RECT rc) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;

    void PaintBk(HDC hDC);
    void PaintButton1(HDC hDC);
    void PaintButton2(HDC hDC);
    void PaintThumb(HDC hDC);
    void PaintRail(HDC hDC);

    static constexpr UINT DEFAULT_TIMERID = 10;
    static constexpr UINT REPEAT_PERIOD_MS = 50;

protected:
    void ScrollLine(bool bForward);
    void ScrollPage(bool bForward);
    void PageTowards(POINT pt);
    // Draws the first image of the state choice that draws; false when none.
    bool DrawStateImage(HDC hDC, UINT uState, CDuiString* pNormal, CDuiString* pHot,
        CDuiString* pPushed, CDuiString* pDisabled, LPCTSTR pStrModify);
    bool DrawOrDrop(HDC hDC, CDuiString& sImage, LPCTSTR pStrModify);

    bool m_bHorizontal { false };
    int m_nRange { 100 };
    int m_nScrollPos { 0 };
    int m_nLineSize { 8 };
    CContainerUI* m_pOwner { nullptr };
    POINT m_ptLastMouse { 0, 0 };
    int m_nLastScrollPos { 0 };
    int m_nLastScrollOffset { 0 };
    int m_nScrollRepeatDelay { 0 };

    CDuiString m_sBkNormalImage;
    CDuiString m_sBkHotImage;
    CDuiString m_sBkPushedImage;
    CDuiString m_sBkDisabledImage;

    bool m_bShowButton1 { true };
    RECT m_rcButton1 { 0, 0, 0, 0 };
    UINT m_uButton1State { 0 };
    CDuiString m_sButton1NormalImage;
    CDuiString m_sButton1HotImage;
    CDuiString m_sButton1PushedImage;
    CDuiString m_sButton1DisabledImage;

    bool m_bShowButton2 { true };
    RECT m_rcButton2 { 0, 0, 0, 0 };
    UINT m_uButton2State { 0 };
    CDuiString m_sButton2NormalImage;
    CDuiString m_sButton2HotImage;
    CDuiString m_sButton2PushedImage;
    CDuiString m_sButton2DisabledImage;

    RECT m_rcThumb { 0, 0, 0, 0 };
    UINT m_uThumbState { 0 };
    CDuiString m_sThumbNormalImage;
    CDuiString m_sThumbHotImage;
    CDuiString m_sThumbPushedImage;
    CDuiString m_sThumbDisabledImage;

    CDuiString m_sRailNormalImage;
    CDuiString m_sRailHotImage;
    CDuiString m_sRailPushedImage;
    CDuiString m_sRailDisabledImage;

    CDuiString m_sImageModify;
};

}  // namespace Veneer
