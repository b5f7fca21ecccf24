#pragma once
#include "foundation/VeneerApi.h"
// Skinned scroll bar: two arrow buttons, a thumb, a rail mark and a track.
#include "engine/ControlUI.h"

namespace Veneer {

class CContainerUI;

class VENEER_API CScrollBarUI : public CControlUI {
public:
    CScrollBarUI();
    ~CScrollBarUI() override;

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

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

    LPCWSTR GetButton1NormalImage() const { return m_sButton1NormalImage.GetData(); }
    void SetButton1NormalImage(LPCWSTR pStrImage);
    LPCWSTR GetButton1HotImage() const { return m_sButton1HotImage.GetData(); }
    void SetButton1HotImage(LPCWSTR pStrImage);
    LPCWSTR GetButton1PushedImage() const { return m_sButton1PushedImage.GetData(); }
    void SetButton1PushedImage(LPCWSTR pStrImage);
    LPCWSTR GetButton1DisabledImage() const { return m_sButton1DisabledImage.GetData(); }
    void SetButton1DisabledImage(LPCWSTR pStrImage);

    LPCWSTR GetButton2NormalImage() const { return m_sButton2NormalImage.GetData(); }
    void SetButton2NormalImage(LPCWSTR pStrImage);
    LPCWSTR GetButton2HotImage() const { return m_sButton2HotImage.GetData(); }
    void SetButton2HotImage(LPCWSTR pStrImage);
    LPCWSTR GetButton2PushedImage() const { return m_sButton2PushedImage.GetData(); }
    void SetButton2PushedImage(LPCWSTR pStrImage);
    LPCWSTR GetButton2DisabledImage() const { return m_sButton2DisabledImage.GetData(); }
    void SetButton2DisabledImage(LPCWSTR pStrImage);

    LPCWSTR GetThumbNormalImage() const { return m_sThumbNormalImage.GetData(); }
    void SetThumbNormalImage(LPCWSTR pStrImage);
    LPCWSTR GetThumbHotImage() const { return m_sThumbHotImage.GetData(); }
    void SetThumbHotImage(LPCWSTR pStrImage);
    LPCWSTR GetThumbPushedImage() const { return m_sThumbPushedImage.GetData(); }
    void SetThumbPushedImage(LPCWSTR pStrImage);
    LPCWSTR GetThumbDisabledImage() const { return m_sThumbDisabledImage.GetData(); }
    void SetThumbDisabledImage(LPCWSTR pStrImage);

    LPCWSTR GetRailNormalImage() const { return m_sRailNormalImage.GetData(); }
    void SetRailNormalImage(LPCWSTR pStrImage);
    LPCWSTR GetRailHotImage() const { return m_sRailHotImage.GetData(); }
    void SetRailHotImage(LPCWSTR pStrImage);
    LPCWSTR GetRailPushedImage() const { return m_sRailPushedImage.GetData(); }
    void SetRailPushedImage(LPCWSTR pStrImage);
    LPCWSTR GetRailDisabledImage() const { return m_sRailDisabledImage.GetData(); }
    void SetRailDisabledImage(LPCWSTR pStrImage);

    LPCWSTR GetBkNormalImage() const { return m_sBkNormalImage.GetData(); }
    void SetBkNormalImage(LPCWSTR pStrImage);
    LPCWSTR GetBkHotImage() const { return m_sBkHotImage.GetData(); }
    void SetBkHotImage(LPCWSTR pStrImage);
    LPCWSTR GetBkPushedImage() const { return m_sBkPushedImage.GetData(); }
    void SetBkPushedImage(LPCWSTR pStrImage);
    LPCWSTR GetBkDisabledImage() const { return m_sBkDisabledImage.GetData(); }
    void SetBkDisabledImage(LPCWSTR pStrImage);

    // Part rectangles in window coordinates (all 0 thumb: no thumb).
    RECT GetButton1Rect() const { return m_rcButton1; }
    RECT GetButton2Rect() const { return m_rcButton2; }
    RECT GetThumbRect() const { return m_rcThumb; }
    UINT GetButton1State() const { return m_uButton1State; }
    UINT GetButton2State() const { return m_uButton2State; }
    UINT GetThumbState() const { return m_uThumbState; }

    void SetPos(RECT rc) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;

    void PaintBk(HDC hDC);
    void PaintButton1(HDC hDC);
    void PaintButton2(HDC hDC);
    void PaintThumb(HDC hDC);
    void PaintRail(HDC hDC);

    static constexpr UINT DEFAULT_TIMERID = 10;
    static constexpr UINT REPEAT_PERIOD_MS = 50;

protected:
    CControlUI* GetMouseEventTarget() const override;
    void ScrollLine(bool bForward);
    void ScrollPage(bool bForward);
    void PageTowards(POINT pt);
    // Draws the first image of the state choice that draws; false when none.
    bool DrawStateImage(HDC hDC, UINT uState, CStdString* pNormal, CStdString* pHot,
        CStdString* pPushed, CStdString* pDisabled, LPCWSTR pStrModify);
    bool DrawOrDrop(HDC hDC, CStdString& sImage, LPCWSTR pStrModify);
    // A button or the thumb in its state, the disabled bit following the
    // bar's; a part none of whose images draws is outlined instead.
    void PaintPart(HDC hDC, const RECT& rcPart, UINT& uState, CStdString* pNormal, CStdString* pHot,
        CStdString* pPushed, CStdString* pDisabled);

    bool m_bHorizontal { false };
    int m_nRange { 100 };
    int m_nScrollPos { 0 };
    int m_nLineSize { 8 };
    CContainerUI* m_pOwner { nullptr };
    POINT m_ptLastMouse { 0, 0 };
    int m_nLastScrollPos { 0 };
    int m_nLastScrollOffset { 0 };
    int m_nScrollRepeatDelay { 0 };

    CStdString m_sBkNormalImage;
    CStdString m_sBkHotImage;
    CStdString m_sBkPushedImage;
    CStdString m_sBkDisabledImage;

    bool m_bShowButton1 { true };
    RECT m_rcButton1 { 0, 0, 0, 0 };
    UINT m_uButton1State { 0 };
    CStdString m_sButton1NormalImage;
    CStdString m_sButton1HotImage;
    CStdString m_sButton1PushedImage;
    CStdString m_sButton1DisabledImage;

    bool m_bShowButton2 { true };
    RECT m_rcButton2 { 0, 0, 0, 0 };
    UINT m_uButton2State { 0 };
    CStdString m_sButton2NormalImage;
    CStdString m_sButton2HotImage;
    CStdString m_sButton2PushedImage;
    CStdString m_sButton2DisabledImage;

    RECT m_rcThumb { 0, 0, 0, 0 };
    UINT m_uThumbState { 0 };
    CStdString m_sThumbNormalImage;
    CStdString m_sThumbHotImage;
    CStdString m_sThumbPushedImage;
    CStdString m_sThumbDisabledImage;

    CStdString m_sRailNormalImage;
    CStdString m_sRailHotImage;
    CStdString m_sRailPushedImage;
    CStdString m_sRailDisabledImage;

    CStdString m_sImageModify;
};

}  // namespace Veneer
