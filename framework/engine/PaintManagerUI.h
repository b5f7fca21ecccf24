#pragma once
#include "foundation/VeneerApi.h"
// The per-window manager of the framework: owns a window's control tree,
// fonts, image cache, default attribute lists, option groups, timers and
// paint surfaces, and turns the window's native messages into control events.
#include <windows.h>
#include <commctrl.h>

#include "engine/GdiHolders.h"
#include "foundation/StdString.h"
#include "foundation/StdPtrArray.h"
#include "foundation/StdStringPtrMap.h"

namespace Veneer {

class CControlUI;
class CPaintManagerUI;
struct TImageInfo;
struct TSkinArchiveHandle;

// Control-factory entry point exported by plug-in libraries as "CreateControl".
typedef CControlUI* (*LPCREATECONTROL)(LPCWSTR pstrType);

// Event types; the numbers are fixed because controls compare them.
enum EVENTTYPE_UI {
    EVENT__FIRST = 1,
    EVENT__KEYBEGIN = 2,
    EVENT_KEYDOWN = 3,
    EVENT_KEYUP = 4,
    EVENT_CHAR = 5,
    EVENT_SYSKEY = 6,
    EVENT__KEYEND = 7,
    EVENT__MOUSEBEGIN = 8,
    EVENT_MOUSEMOVE = 9,
    EVENT_MOUSELEAVE = 10,
    EVENT_MOUSEENTER = 11,
    EVENT_MOUSEHOVER = 12,
    EVENT_BUTTONDOWN = 13,
    EVENT_BUTTONUP = 14,
    EVENT_RBUTTONDOWN = 15,
    EVENT_DBLCLICK = 16,
    EVENT_CONTEXTMENU = 17,
    EVENT_SCROLLWHEEL = 18,
    EVENT__MOUSEEND = 19,
    EVENT_KILLFOCUS = 20,
    EVENT_SETFOCUS = 21,
    EVENT_WINDOWSIZE = 22,
    EVENT_SETCURSOR = 23,
    EVENT_TIMER = 24,
    EVENT__LAST = 25,
};

// Private message that makes the manager delete controls queued by
// AddDelayedCleanup.
const UINT WM_VENEER_DELAYEDCLEANUP = WM_APP + 1;

struct VENEER_API TFontInfo {
    HFONT hFont { nullptr };  // owned
    CStdString sFontName;
    int iSize { 0 };
    bool bBold { false };
    bool bUnderline { false };
    bool bItalic { false };
    TEXTMETRICW tm {};
};

struct VENEER_API TEventUI {
    int Type { 0 };
    CControlUI* pSender { nullptr };
    DWORD dwTimestamp { 0 };
    POINT ptMouse { 0, 0 };
    WCHAR chKey { 0 };
    WORD wKeyState { 0 };
    WPARAM wParam { 0 };
    LPARAM lParam { 0 };
};

struct VENEER_API TNotifyUI {
    CStdString sType;
    CStdString sVirtualWnd;
    CControlUI* pSender { nullptr };
    DWORD dwTimestamp { 0 };
    POINT ptMouse { 0, 0 };
    WPARAM wParam { 0 };
    LPARAM lParam { 0 };
};

// One control timer; the platform timer id is shared by the whole window.
struct VENEER_API TTimerInfo {
    CControlUI* pSender { nullptr };
    UINT nLocalID { 0 };
    HWND hWnd { nullptr };
    UINT uWinTimer { 0 };
    bool bKilled { false };
};

// Destination rectangles of the eight window shadow pieces.
struct VENEER_API TWindowShadowInfo {
    RECT rcTopLeft {};
    RECT rcTopRight {};
    RECT rcBottomLeft {};
    RECT rcBottomRight {};
    RECT rcTopMiddle {};
    RECT rcBottomMiddle {};
    RECT rcLeftMiddle {};
    RECT rcRightMiddle {};
};

class VENEER_API INotifyUI {
public:
    virtual void Notify(TNotifyUI& msg) = 0;

protected:
    ~INotifyUI() = default;
};

class VENEER_API IMessageFilterUI {
public:
    virtual LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) = 0;

protected:
    ~IMessageFilterUI() = default;
};

class VENEER_API ITranslateAccelerator {
public:
    // 0 means the message was consumed.
    virtual LRESULT TranslateAccelerator(MSG* pMsg) = 0;

protected:
    ~ITranslateAccelerator() = default;
};

class VENEER_API CPaintManagerUI {
public:
    CPaintManagerUI();
    ~CPaintManagerUI();
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

    // ---- process-wide settings ----
    static HINSTANCE GetInstance();
    static void SetInstance(HINSTANCE hInst);
    static HINSTANCE GetResourceDll();
    static void SetResourceDll(HINSTANCE hInst);
    static CStdString GetInstancePath();
    static CStdString GetCurrentPath();
    static void SetCurrentPath(LPCWSTR pStrPath);
    static const CStdString& GetResourcePath();
    static void SetResourcePath(LPCWSTR pStrPath);
    static const CStdString& GetResourceZip();
    static bool IsCachedResourceZip();
    static TSkinArchiveHandle* GetResourceZipHandle();
    static void SetResourceZip(LPCWSTR pstrZip, bool bCachedResourceZip = false);
    // The memory block must outlive the archive handle opened on it.
    static void SetResourceZip(LPVOID pVoid, unsigned int len);
    static const CStdString& GetDefaultFontName();
    static void SetDefaultFontName(LPCWSTR pStrFontName);
    static void Term();

    static bool LoadPlugin(LPCWSTR pstrModuleName);
    static CStdPtrArray* GetPlugins();

    static void ReloadSkin();
    static void SetHSL(bool bUseHSL, short H, short S, short L);
    static void GetHSL(short* H, short* S, short* L);

    static void MessageLoop();
    static bool TranslateMessage(const LPMSG pMsg);

    // ---- window life and tree ----
    void Init(HWND hWnd);
    bool AttachDialog(CControlUI* pControl);
    bool InitControls(CControlUI* pControl, CControlUI* pParent = nullptr);
    void ReapObjects(CControlUI* pControl);

    CControlUI* GetRoot() const { return m_pRoot; }
    HDC GetPaintDC() const { return m_hDcPaint; }
    HWND GetPaintWindow() const { return m_hWndPaint; }
    HWND GetTooltipWindow() const { return m_hwndTooltip; }
    POINT GetMousePos() const { return m_ptLastMousePos; }
    SIZE GetClientSize() const;

    bool UseParentResource(CPaintManagerUI* pm);
    CPaintManagerUI* GetParentResource() const { return m_pParentResourcePM; }

    // ---- window-level settings ----
    SIZE GetInitSize() const { return m_szInitWindowSize; }
    void SetInitSize(int cx, int cy);
    const RECT& GetSizeBox() const { return m_rcSizeBox; }
    void SetSizeBox(const RECT& rcSizeBox) { m_rcSizeBox = rcSizeBox; }
    const RECT& GetCaptionRect() const { return m_rcCaption; }
    void SetCaptionRect(const RECT& rcCaption) { m_rcCaption = rcCaption; }
    SIZE GetRoundCorner() const { return m_szRoundCorner; }
    void SetRoundCorner(int cx, int cy) { m_szRoundCorner = SIZE { cx, cy }; }
    SIZE GetMinInfo() const { return m_szMinWindow; }
    void SetMinInfo(int cx, int cy) { m_szMinWindow = SIZE { cx, cy }; }
    SIZE GetMaxInfo() const { return m_szMaxWindow; }
    void SetMaxInfo(int cx, int cy) { m_szMaxWindow = SIZE { cx, cy }; }
    int GetTransparent() const { return m_nOpacity; }
    void SetTransparent(int nOpacity);
    void SetBackgroundTransparent(bool bTrans) { m_bAlphaBackground = bTrans; }
    bool IsAlphaBackground() const { return m_bAlphaBackground; }
    bool IsShowUpdateRect() const { return m_bShowUpdateRect; }
    void SetShowUpdateRect(bool show) { m_bShowUpdateRect = show; }
    void UsedVirtualWnd(bool bUsed) { m_bUsedVirtualWnd = bUsed; }
    bool IsUsedVirtualWnd() const { return m_bUsedVirtualWnd; }

    // Off-screen painting is on by default; layered painting needs it.
    bool IsOffscreenPaint() const { return m_bOffscreenPaint; }
    void SetOffscreenPaint(bool bOffscreen) { m_bOffscreenPaint = bOffscreen; }

    // ---- window shadow ----
    bool HasWindowShadow() const { return m_bHasWindowShadow; }
    void SetHasWindowShadow(bool bHas) { m_bHasWindowShadow = bHas; }
    const CStdString& GetWindowShadowImage() const { return m_sShadowImage; }
    void SetWindowShadowImage(LPCWSTR pstrImage);
    void SetTopleftShadowRect(int x, int y, int width, int height);
    void SetToprightShadowRect(int x, int y, int width, int height);
    void SetBottomleftShadowRect(int x, int y, int width, int height);
    void SetBottomrightShadowRect(int x, int y, int width, int height);
    void CalMiddleShadowRect();
    void CalRealShadowRect(const RECT& rect, TWindowShadowInfo& info) const;
    // Writes into a buffer of at least 512 characters; never beyond it.
    void GenerateShadowRenderString(const RECT& source, const RECT& destination, LPWSTR buffer) const;
    void DrawWindowShadow(RECT& rect);
    // Source rectangles in the shadow image, in the order of TWindowShadowInfo.
    const TWindowShadowInfo& GetShadowSourceRects() const { return m_shadowSource; }

    // ---- default colours ----
    DWORD GetDefaultDisabledColor() const;
    void SetDefaultDisabledColor(DWORD dwColor) { m_dwDefaultDisabledColor = dwColor; }
    DWORD GetDefaultFontColor() const;
    void SetDefaultFontColor(DWORD dwColor) { m_dwDefaultFontColor = dwColor; }
    DWORD GetDefaultLinkFontColor() const;
    void SetDefaultLinkFontColor(DWORD dwColor) { m_dwDefaultLinkFontColor = dwColor; }
    DWORD GetDefaultLinkHoverFontColor() const;
    void SetDefaultLinkHoverFontColor(DWORD dwColor) { m_dwDefaultLinkHoverFontColor = dwColor; }
    DWORD GetDefaultSelectedBkColor() const;
    void SetDefaultSelectedBkColor(DWORD dwColor) { m_dwDefaultSelectedBkColor = dwColor; }

    // ---- fonts (font ids are indexes into the custom table) ----
    TFontInfo* GetDefaultFontInfo();
    void SetDefaultFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    DWORD GetCustomFontCount() const;
    HFONT AddFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    HFONT AddFontAt(int index, LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    HFONT GetFont(int index);
    HFONT GetFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    int GetFontIndex(HFONT hFont) const;
    int GetFontIndex(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic) const;
    bool FindFont(HFONT hFont) const;
    bool FindFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic) const;
    bool RemoveFont(HFONT hFont);
    bool RemoveFontAt(int index);
    void RemoveAllFonts();
    TFontInfo* GetFontInfo(int index);
    TFontInfo* GetFontInfo(HFONT hFont);

    // ---- images (keys are names as written in the skin, case-sensitive) ----
    const TImageInfo* GetImage(LPCWSTR bitmap);
    const TImageInfo* GetImageEx(LPCWSTR bitmap, LPCWSTR type = nullptr, DWORD mask = 0);
    const TImageInfo* AddImage(LPCWSTR bitmap, LPCWSTR type = nullptr, DWORD mask = 0);
    // Takes ownership of hBitmap on success and when the name is taken.
    const TImageInfo* AddImage(LPCWSTR bitmap, HBITMAP hBitmap, int iWidth, int iHeight, bool bAlpha);
    bool RemoveImage(LPCWSTR bitmap);
    void RemoveAllImages();
    void ReloadAllImages();

    // ---- default attribute lists ----
    void AddDefaultAttributeList(LPCWSTR pStrControlName, LPCWSTR pStrControlAttrList);
    LPCWSTR GetDefaultAttributeList(LPCWSTR pStrControlName) const;
    bool RemoveDefaultAttributeList(LPCWSTR pStrControlName);
    const CStdStringPtrMap& GetDefaultAttributes() const { return m_DefaultAttrHash; }
    void RemoveAllDefaultAttributeList();

    // ---- option groups ----
    bool AddOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl);
    CStdPtrArray* GetOptionGroup(LPCWSTR pStrGroupName);
    void RemoveOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl);
    void RemoveAllOptionGroups();

    // ---- finding controls ----
    CControlUI* FindControl(POINT pt) const;
    CControlUI* FindControl(LPCWSTR pstrName) const;
    CControlUI* FindSubControlByPoint(CControlUI* pParent, POINT pt) const;
    CControlUI* FindSubControlByName(CControlUI* pParent, LPCWSTR pstrName) const;
    CControlUI* FindSubControlByClass(CControlUI* pParent, LPCWSTR pstrClass, int iIndex = 0);
    CStdPtrArray* FindSubControlsByClass(CControlUI* pParent, LPCWSTR pstrClass);
    CStdPtrArray* GetSubControlsByClass();

    // ---- focus, capture, invalidation ----
    CControlUI* GetFocus() const { return m_pFocus; }
    void SetFocus(CControlUI* pControl);
    void SetFocusNeeded(CControlUI* pControl);
    bool SetNextTabControl(bool bForward = true);
    void SetCapture();
    void ReleaseCapture();
    bool IsCaptured() const { return m_bMouseCapture; }
    void NeedUpdate() { m_bUpdateNeeded = true; }
    void Invalidate(RECT& rcItem);
    // While a batch is open, invalidations are gathered into one rectangle
    // that the outermost End hands to the window (a layout pass places
    // hundreds of controls; each InvalidateRect is a round trip under Wine).
    void BeginInvalidationBatch() { ++m_nInvalidationBatch; }
    void EndInvalidationBatch();
    // True when an open batch already holds all of rc: a container placing
    // its children has invalidated its own rectangle first, and each child's
    // clipped rectangle would add nothing to it.
    bool IsInBatchedInvalid(const RECT& rc) const
    {
        return m_nInvalidationBatch > 0 && rc.left >= m_rcBatchedInvalid.left && rc.top >= m_rcBatchedInvalid.top
            && rc.right <= m_rcBatchedInvalid.right && rc.bottom <= m_rcBatchedInvalid.bottom;
    }

    // ---- timers ----
    bool SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse);
    bool KillTimer(CControlUI* pControl, UINT nTimerID);
    void KillTimer(CControlUI* pControl);
    void RemoveAllTimers();

    // ---- notifications and listeners ----
    void SendNotify(TNotifyUI& Msg, bool bAsync = false);
    void SendNotify(CControlUI* pControl, LPCWSTR pstrMessage, WPARAM wParam = 0, LPARAM lParam = 0,
                    bool bAsync = false);
    bool AddNotifier(INotifyUI* pControl);
    bool RemoveNotifier(INotifyUI* pControl);
    bool AddPreMessageFilter(IMessageFilterUI* pFilter);
    bool RemovePreMessageFilter(IMessageFilterUI* pFilter);
    bool AddMessageFilter(IMessageFilterUI* pFilter);
    bool RemoveMessageFilter(IMessageFilterUI* pFilter);
    bool AddTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator);
    bool RemoveTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator);
    bool TranslateAccelerator(LPMSG pMsg);

    // ---- post-paint and delayed deletion ----
    int GetPostPaintCount() const;
    bool AddPostPaint(CControlUI* pControl);
    bool RemovePostPaint(CControlUI* pControl);
    bool SetPostPaintIndex(CControlUI* pControl, int iIndex);
    void AddDelayedCleanup(CControlUI* pControl);

    // ---- message handling ----
    bool MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    bool PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);

private:
    // Marks a stack frame of the manager: the destructor clears bAlive of
    // every open token, so a handler that destroyed the window's manager
    // can stop before touching it again.
    struct TAliveToken {
        explicit TAliveToken(CPaintManagerUI* pManager);
        ~TAliveToken();
        TAliveToken(const TAliveToken&) = delete;
        TAliveToken& operator=(const TAliveToken&) = delete;
        bool bAlive { true };
        CPaintManagerUI* pOwner { nullptr };
        TAliveToken* pNext { nullptr };
    };

    static CControlUI* CALLBACK FindControlFromNameHash(CControlUI* pThis, LPVOID pData);
    static CControlUI* CALLBACK FindControlFromPoint(CControlUI* pThis, LPVOID pData);
    static CControlUI* CALLBACK FindControlFromTab(CControlUI* pThis, LPVOID pData);
    static CControlUI* CALLBACK FindControlFromShortcut(CControlUI* pThis, LPVOID pData);
    static CControlUI* CALLBACK FindControlFromUpdate(CControlUI* pThis, LPVOID pData);
    static CControlUI* CALLBACK FindControlFromName(CControlUI* pThis, LPVOID pData);
    static CControlUI* CALLBACK FindControlFromClass(CControlUI* pThis, LPVOID pData);
    static CControlUI* CALLBACK FindControlsFromClass(CControlUI* pThis, LPVOID pData);

    HFONT CreateFontFromDefault(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic) const;
    void MeasureFont(TFontInfo* pFontInfo) const;
    // Both return false when the manager was destroyed meanwhile.
    bool DeliverQueuedNotifications();
    bool DeliverNotify(TNotifyUI& msg);
    bool RouteMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes, const TAliveToken& token);

    // A window message on its way through the routing table.
    struct TRoutedMessage {
        UINT uMsg;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT& lRes;
        const TAliveToken& token;
        bool Gone() const { return !token.bAlive; }
    };
    // A handler returns true when the message is handled or the manager is
    // gone; false lets the queued notifications run and the message go on.
    typedef bool (CPaintManagerUI::*MessageRoute)(TRoutedMessage& msg);
    static MessageRoute FindRoute(UINT uMsg);
    bool OnDelayedCleanup(TRoutedMessage& msg);
    bool OnClose(TRoutedMessage& msg);
    bool OnEraseBackground(TRoutedMessage& msg);
    bool OnPaint(TRoutedMessage& msg);
    bool OnPrintClient(TRoutedMessage& msg);
    bool OnGetMinMaxInfo(TRoutedMessage& msg);
    bool OnSize(TRoutedMessage& msg);
    bool OnTimer(TRoutedMessage& msg);
    bool OnMouseHover(TRoutedMessage& msg);
    bool OnMouseLeave(TRoutedMessage& msg);
    bool OnMouseMove(TRoutedMessage& msg);
    bool OnLButtonDown(TRoutedMessage& msg);
    bool OnLButtonDblClk(TRoutedMessage& msg);
    bool OnLButtonUp(TRoutedMessage& msg);
    bool OnRButtonDown(TRoutedMessage& msg);
    bool OnContextMenu(TRoutedMessage& msg);
    bool OnMouseWheel(TRoutedMessage& msg);
    bool OnSetCursor(TRoutedMessage& msg);
    bool OnKeyDown(TRoutedMessage& msg);
    bool OnKeyUp(TRoutedMessage& msg);
    bool OnChar(TRoutedMessage& msg);
    bool OnNotify(TRoutedMessage& msg);
    bool OnReflectToChild(TRoutedMessage& msg);
    void TrackMouseOnce();
    void ShowToolTip(CControlUI* pHover);
    void HideToolTip();
    void ClickedOrReleased(CControlUI* pControl);
    static bool IsInSubtree(CControlUI* pControl, CControlUI* pAncestor);
    void ForgetControl(CControlUI* pControl);
    bool IsPendingDeletion(CControlUI* pControl) const;
    bool OwnsControl(CControlUI* pControl) const;
    // The focused control loses the focus to `pNewFocus` (the sender of its
    // kill-focus event) and is notified; the focus is then empty unless a
    // handler moved it.
    void KillFocus(CControlUI* pNewFocus);
    void PaintWindow();
    void PaintOrdinary(const RECT& rcUpdate);
    void PaintLayered();
    void LayoutIfNeeded();
    void DeleteOffscreen();
    void DeleteBackground();
    static WORD MapKeyState();

    HWND m_hWndPaint { nullptr };
    int m_nOpacity { 255 };
    HDC m_hDcPaint { nullptr };
    CMemDCHolder m_hDcOffscreen;
    CMemDCHolder m_hDcBackground;
    CBitmapHolder m_hbmpOffscreen;
    CBitmapHolder m_hbmpBackground;
    HGDIOBJ m_hbmpOffscreenOld { nullptr };
    HGDIOBJ m_hbmpBackgroundOld { nullptr };
    HWND m_hwndTooltip { nullptr };
    TOOLINFOW m_ToolTip {};
    CStdString m_sToolTipText;  // the tool description points into it
    bool m_bShowUpdateRect { false };

    CControlUI* m_pRoot { nullptr };
    CControlUI* m_pFocus { nullptr };
    CControlUI* m_pEventHover { nullptr };
    CControlUI* m_pEventClick { nullptr };
    CControlUI* m_pEventKey { nullptr };
    POINT m_ptLastMousePos { -1, -1 };

    SIZE m_szMinWindow { 0, 0 };
    SIZE m_szMaxWindow { 0, 0 };
    SIZE m_szInitWindowSize { 0, 0 };
    RECT m_rcSizeBox { 0, 0, 0, 0 };
    SIZE m_szRoundCorner { 0, 0 };
    RECT m_rcCaption { 0, 0, 0, 0 };

    UINT m_uTimerID { 0x1000 };

    int m_nInvalidationBatch { 0 };
    RECT m_rcBatchedInvalid { 0, 0, 0, 0 };
    // Counts the tree's requests to repaint: a layered paint tells by it
    // whether one came while the tree painted.
    unsigned m_uInvalidateRequests { 0 };

    bool m_bFirstLayout { true };
    bool m_bUpdateNeeded { false };
    bool m_bFocusNeeded { false };
    bool m_bOffscreenPaint { true };
    bool m_bAlphaBackground { false };
    bool m_bMouseTracking { false };
    bool m_bMouseCapture { false };
    bool m_bUsedVirtualWnd { false };
    bool m_bHasWindowShadow { false };

    CStdPtrArray m_aNotifiers;
    CStdPtrArray m_aTimers;
    CStdPtrArray m_aPreMessageFilters;
    CStdPtrArray m_aMessageFilters;
    CStdPtrArray m_aPostPaintControls;
    CStdPtrArray m_aDelayedCleanup;
    CStdPtrArray m_aAsyncNotify;
    CStdPtrArray m_aFoundControls;

    CStdStringPtrMap m_mNameHash { 83 };
    CStdStringPtrMap m_mOptionGroup { 83 };

    CPaintManagerUI* m_pParentResourcePM { nullptr };

    DWORD m_dwDefaultDisabledColor { 0xFFA7A6AA };
    DWORD m_dwDefaultFontColor { 0xFF000000 };
    DWORD m_dwDefaultLinkFontColor { 0xFF0000FF };
    DWORD m_dwDefaultLinkHoverFontColor { 0xFFD3215F };
    DWORD m_dwDefaultSelectedBkColor { 0xFFBAE4FF };

    TFontInfo m_DefaultFontInfo;
    CStdPtrArray m_aCustomFonts;
    CStdStringPtrMap m_mImageHash { 83 };
    CStdStringPtrMap m_DefaultAttrHash { 83 };
    CStdPtrArray m_aTranslateAccelerator;

    CStdString m_sShadowImage;
    TWindowShadowInfo m_shadowSource;

    TAliveToken* m_pAliveTokens { nullptr };

    static HINSTANCE m_hInstance;
    static HINSTANCE m_hResourceInstance;
    static CStdString m_pStrResourcePath;
    static CStdString m_pStrResourceZip;
    static bool m_bCachedResourceZip;
    static TSkinArchiveHandle* m_hResourceZip;
    static HPEN m_hUpdateRectPen;
    static CStdString m_pStrDefaultFontName;
    static CStdPtrArray m_aPreMessages;
    static CStdPtrArray m_aPlugins;
    static short m_H;
    static short m_S;
    static short m_L;
};

}  // namespace Veneer
