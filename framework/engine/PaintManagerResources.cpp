// Process-wide settings, per-window resources (fonts, images, default
// attribute lists, option groups), window-level settings, the window shadow
// and the name registry of the paint manager.
#include "engine/PaintManagerUI.h"

#include <algorithm>
#include <cwchar>

#include "engine/ControlUI.h"
#include "engine/RenderEngine.h"
#include "engine/RenderEngineInternal.h"
#include "foundation/SkinArchive.h"
#include "foundation/ValueSyntax.h"

namespace Veneer {

HINSTANCE CPaintManagerUI::m_hInstance = nullptr;
HINSTANCE CPaintManagerUI::m_hResourceInstance = nullptr;
CStdString CPaintManagerUI::m_pStrResourcePath;
CStdString CPaintManagerUI::m_pStrResourceZip;
bool CPaintManagerUI::m_bCachedResourceZip = false;
TSkinArchiveHandle* CPaintManagerUI::m_hResourceZip = nullptr;
HPEN CPaintManagerUI::m_hUpdateRectPen = nullptr;
CStdString CPaintManagerUI::m_pStrDefaultFontName;
CStdPtrArray CPaintManagerUI::m_aPreMessages;
CStdPtrArray CPaintManagerUI::m_aPlugins;
short CPaintManagerUI::m_H = 180;
short CPaintManagerUI::m_S = 100;
short CPaintManagerUI::m_L = 100;

namespace {

const wchar_t kMemoryArchiveName[] = L"membuffer";

LOGFONTW DefaultGuiLogFont()
{
    LOGFONTW lf {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(LOGFONTW), &lf);
    lf.lfCharSet = DEFAULT_CHARSET;
    return lf;
}

bool SameFont(const TFontInfo* info, LPCWSTR face, int size, bool bold, bool underline, bool italic)
{
    return info->sFontName == (face ? face : L"") && info->iSize == size && info->bBold == bold
        && info->bUnderline == underline && info->bItalic == italic;
}

// Screen DC for measuring fonts before the window exists.
class ScreenDC {
public:
    ScreenDC() : m_hDC(::GetDC(nullptr)) {}
    ~ScreenDC() { if (m_hDC) ::ReleaseDC(nullptr, m_hDC); }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    HDC Get() const { return m_hDC; }

private:
    HDC m_hDC { nullptr };
};

bool StartsWithDigit(LPCWSTR text)
{
    return text && text[0] >= L'0' && text[0] <= L'9';
}

TImageInfo* LoadByNameOrId(LPCWSTR name, LPCWSTR type, DWORD mask)
{
    if (type && type[0] != 0) {
        if (!StartsWithDigit(name)) return nullptr;
        UINT id = static_cast<UINT>(ValueSyntax::ParseInt(name));
        return CRenderEngine::LoadImage(STRINGorID(id), type, mask);
    }
    return CRenderEngine::LoadImage(STRINGorID(name), nullptr, mask);
}

}  // namespace

// ---------------------------------------------------------------- life ----

CPaintManagerUI::CPaintManagerUI()
{
    LOGFONTW lf = DefaultGuiLogFont();
    if (!m_pStrDefaultFontName.IsEmpty()) {
        CopyBounded(lf.lfFaceName, LF_FACESIZE, m_pStrDefaultFontName.GetData());
    }
    m_DefaultFontInfo.hFont = ::CreateFontIndirectW(&lf);
    m_DefaultFontInfo.sFontName = lf.lfFaceName;
    m_DefaultFontInfo.iSize = -lf.lfHeight;
    m_DefaultFontInfo.bBold = lf.lfWeight >= FW_BOLD;
    m_DefaultFontInfo.bUnderline = lf.lfUnderline != FALSE;
    m_DefaultFontInfo.bItalic = lf.lfItalic != FALSE;

    if (!m_hUpdateRectPen) {
        m_hUpdateRectPen = ::CreatePen(PS_SOLID, 1, RGB(220, 0, 0));
        ::InitCommonControls();
        ::LoadLibraryW(L"msimg32.dll");
    }
}

CPaintManagerUI::TAliveToken::TAliveToken(CPaintManagerUI* pManager)
    : pOwner(pManager), pNext(pManager->m_pAliveTokens)
{
    pManager->m_pAliveTokens = this;
}

CPaintManagerUI::TAliveToken::~TAliveToken()
{
    if (bAlive) pOwner->m_pAliveTokens = pNext;
}

CPaintManagerUI::~CPaintManagerUI()
{
    for (TAliveToken* token = m_pAliveTokens; token; token = token->pNext) token->bAlive = false;
    m_pAliveTokens = nullptr;

    CStdPtrArray delayed(m_aDelayedCleanup);
    m_aDelayedCleanup.Empty();
    for (int i = 0; i < delayed.GetSize(); ++i) delete static_cast<CControlUI*>(delayed[i]);
    for (int i = 0; i < m_aAsyncNotify.GetSize(); ++i) delete static_cast<TNotifyUI*>(m_aAsyncNotify[i]);
    m_aAsyncNotify.Empty();

    m_mNameHash.Resize(0);
    CControlUI* root = m_pRoot;
    m_pRoot = nullptr;
    delete root;

    if (m_DefaultFontInfo.hFont) ::DeleteObject(m_DefaultFontInfo.hFont);
    m_DefaultFontInfo.hFont = nullptr;
    RemoveAllFonts();
    RemoveAllImages();
    RemoveAllDefaultAttributeList();
    RemoveAllOptionGroups();
    RemoveAllTimers();

    if (m_hwndTooltip) ::DestroyWindow(m_hwndTooltip);
    m_hwndTooltip = nullptr;
    DeleteOffscreen();
    DeleteBackground();
    if (m_hDcPaint) ::ReleaseDC(m_hWndPaint, m_hDcPaint);
    m_hDcPaint = nullptr;
    int index = m_aPreMessages.Find(this);
    if (index >= 0) m_aPreMessages.Remove(index);
}

void CPaintManagerUI::Init(HWND hWnd)
{
    if (m_hDcPaint) ::ReleaseDC(m_hWndPaint, m_hDcPaint);
    m_hWndPaint = hWnd;
    m_hDcPaint = hWnd ? ::GetDC(hWnd) : nullptr;
    if (m_aPreMessages.Find(this) < 0) m_aPreMessages.Add(this);
}

bool CPaintManagerUI::AttachDialog(CControlUI* pControl)
{
    SetFocus(nullptr);
    m_pEventKey = nullptr;
    m_pEventHover = nullptr;
    m_pEventClick = nullptr;
    if (m_pRoot) {
        m_aPostPaintControls.Empty();
        AddDelayedCleanup(m_pRoot);
    }
    m_pRoot = pControl;
    m_bUpdateNeeded = true;
    m_bFirstLayout = true;
    m_bFocusNeeded = true;
    return InitControls(pControl, nullptr);
}

bool CPaintManagerUI::InitControls(CControlUI* pControl, CControlUI* pParent)
{
    if (!pControl) return false;
    pControl->SetManager(this, pParent ? pParent : pControl->GetParent(), true);
    pControl->FindControl(FindControlFromNameHash, this, 0);
    return true;
}

CControlUI* CALLBACK CPaintManagerUI::FindControlFromNameHash(CControlUI* pThis, LPVOID pData)
{
    CPaintManagerUI* pManager = static_cast<CPaintManagerUI*>(pData);
    CStdString name = pThis->GetName();
    if (!name.IsEmpty()) pManager->m_mNameHash.Set(name.GetData(), pThis);
    return nullptr;  // visit every control
}

SIZE CPaintManagerUI::GetClientSize() const
{
    RECT rc { 0, 0, 0, 0 };
    if (m_hWndPaint) ::GetClientRect(m_hWndPaint, &rc);
    return SIZE { rc.right - rc.left, rc.bottom - rc.top };
}

bool CPaintManagerUI::UseParentResource(CPaintManagerUI* pm)
{
    for (CPaintManagerUI* p = pm; p; p = p->m_pParentResourcePM) {
        if (p == this) return false;
    }
    m_pParentResourcePM = pm;
    return true;
}

// ------------------------------------------------------- process-wide ----

HINSTANCE CPaintManagerUI::GetInstance() { return m_hInstance; }
void CPaintManagerUI::SetInstance(HINSTANCE hInst) { m_hInstance = hInst; }

HINSTANCE CPaintManagerUI::GetResourceDll()
{
    return m_hResourceInstance ? m_hResourceInstance : m_hInstance;
}

void CPaintManagerUI::SetResourceDll(HINSTANCE hInst) { m_hResourceInstance = hInst; }

CStdString CPaintManagerUI::GetInstancePath()
{
    if (!m_hInstance) return CStdString();
    wchar_t path[MAX_PATH + 1] {};
    DWORD length = ::GetModuleFileNameW(m_hInstance, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) path[MAX_PATH] = 0;
    wchar_t* slash = std::wcsrchr(path, L'\\');
    if (slash) slash[1] = 0;
    return CStdString(path);
}

CStdString CPaintManagerUI::GetCurrentPath()
{
    wchar_t path[MAX_PATH + 1] {};
    DWORD length = ::GetCurrentDirectoryW(MAX_PATH, path);
    if (length == 0 || length >= MAX_PATH) return CStdString();
    return CStdString(path);
}

void CPaintManagerUI::SetCurrentPath(LPCWSTR pStrPath) { ::SetCurrentDirectoryW(pStrPath); }

const CStdString& CPaintManagerUI::GetResourcePath() { return m_pStrResourcePath; }

void CPaintManagerUI::SetResourcePath(LPCWSTR pStrPath)
{
    m_pStrResourcePath = pStrPath;
    int length = m_pStrResourcePath.GetLength();
    if (length == 0) return;
    wchar_t last = m_pStrResourcePath.GetAt(length - 1);
    if (last != L'\\' && last != L'/') m_pStrResourcePath += L'\\';
}

const CStdString& CPaintManagerUI::GetResourceZip() { return m_pStrResourceZip; }
bool CPaintManagerUI::IsCachedResourceZip() { return m_bCachedResourceZip; }
TSkinArchiveHandle* CPaintManagerUI::GetResourceZipHandle() { return m_hResourceZip; }

void CPaintManagerUI::SetResourceZip(LPCWSTR pstrZip, bool bCachedResourceZip)
{
    if (m_pStrResourceZip == (pstrZip ? pstrZip : L"") && m_bCachedResourceZip == bCachedResourceZip) return;
    if (m_bCachedResourceZip && m_hResourceZip) {
        CloseSkinArchive(m_hResourceZip);
        m_hResourceZip = nullptr;
    }
    m_pStrResourceZip = pstrZip;
    m_bCachedResourceZip = bCachedResourceZip;
    if (m_bCachedResourceZip) {
        CStdString path = m_pStrResourcePath + m_pStrResourceZip;
        m_hResourceZip = OpenSkinArchive(path.GetData(), 0, ARCHIVE_FILE);
    }
}

void CPaintManagerUI::SetResourceZip(LPVOID pVoid, unsigned int len)
{
    if (m_pStrResourceZip == kMemoryArchiveName) return;
    if (m_bCachedResourceZip && m_hResourceZip) {
        CloseSkinArchive(m_hResourceZip);
        m_hResourceZip = nullptr;
    }
    m_pStrResourceZip = kMemoryArchiveName;
    m_bCachedResourceZip = true;
    m_hResourceZip = OpenSkinArchive(pVoid, len, ARCHIVE_MEMORY);
}

const CStdString& CPaintManagerUI::GetDefaultFontName() { return m_pStrDefaultFontName; }
void CPaintManagerUI::SetDefaultFontName(LPCWSTR pStrFontName) { m_pStrDefaultFontName = pStrFontName; }

void CPaintManagerUI::Term()
{
    if (m_bCachedResourceZip && m_hResourceZip) {
        CloseSkinArchive(m_hResourceZip);
        m_hResourceZip = nullptr;
    }
}

bool CPaintManagerUI::LoadPlugin(LPCWSTR pstrModuleName)
{
    if (!pstrModuleName) return false;
    HMODULE hModule = ::LoadLibraryW(pstrModuleName);
    if (!hModule) return false;
    LPCREATECONTROL lpCreateControl =
        reinterpret_cast<LPCREATECONTROL>(reinterpret_cast<void*>(::GetProcAddress(hModule, "CreateControl")));
    if (!lpCreateControl) {
        ::FreeLibrary(hModule);
        return false;
    }
    void* entry = reinterpret_cast<void*>(lpCreateControl);
    if (m_aPlugins.Find(entry) >= 0) return true;
    m_aPlugins.Add(entry);
    return true;
}

CStdPtrArray* CPaintManagerUI::GetPlugins() { return &m_aPlugins; }

void CPaintManagerUI::ReloadSkin()
{
    for (int i = 0; i < m_aPreMessages.GetSize(); ++i) {
        static_cast<CPaintManagerUI*>(m_aPreMessages[i])->ReloadAllImages();
    }
}

void CPaintManagerUI::SetHSL(bool /*bUseHSL*/, short H, short S, short L)
{
    if (m_H == H && m_S == S && m_L == L) return;
    m_H = static_cast<short>(std::min<int>(std::max<int>(H, 0), 360));
    m_S = static_cast<short>(std::min<int>(std::max<int>(S, 0), 200));
    m_L = static_cast<short>(std::min<int>(std::max<int>(L, 0), 200));
    for (int i = 0; i < m_aPreMessages.GetSize(); ++i) {
        CPaintManagerUI* pManager = static_cast<CPaintManagerUI*>(m_aPreMessages[i]);
        if (pManager && pManager->GetRoot()) pManager->GetRoot()->Invalidate();
    }
}

void CPaintManagerUI::GetHSL(short* H, short* S, short* L)
{
    if (H) *H = m_H;
    if (S) *S = m_S;
    if (L) *L = m_L;
}

// ---------------------------------------------------- window settings ----

void CPaintManagerUI::SetInitSize(int cx, int cy)
{
    m_szInitWindowSize = SIZE { cx, cy };
    if (!m_pRoot && m_hWndPaint) {
        ::SetWindowPos(m_hWndPaint, nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    }
}

void CPaintManagerUI::SetTransparent(int nOpacity)
{
    m_nOpacity = std::min(std::max(nOpacity, 0), 255);
    if (!m_hWndPaint) return;
    typedef BOOL(WINAPI * SetLayeredProc)(HWND, COLORREF, BYTE, DWORD);
    HMODULE user32 = ::GetModuleHandleW(L"User32.dll");
    SetLayeredProc setLayered = user32
        ? reinterpret_cast<SetLayeredProc>(reinterpret_cast<void*>(::GetProcAddress(user32, "SetLayeredWindowAttributes")))
        : nullptr;
    if (!setLayered) return;
    LONG_PTR style = ::GetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE);
    LONG_PTR newStyle = (nOpacity >= 0 && nOpacity <= 255) ? (style | WS_EX_LAYERED) : (style & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    if (newStyle != style) ::SetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE, newStyle);
    setLayered(m_hWndPaint, 0, static_cast<BYTE>(m_nOpacity), LWA_ALPHA);
}

// ------------------------------------------------------ window shadow ----

void CPaintManagerUI::SetWindowShadowImage(LPCWSTR pstrImage) { m_sShadowImage = pstrImage; }

void CPaintManagerUI::SetTopleftShadowRect(int x, int y, int width, int height)
{
    m_shadowSource.rcTopLeft = RECT { x, y, x + width, y + height };
}

void CPaintManagerUI::SetToprightShadowRect(int x, int y, int width, int height)
{
    m_shadowSource.rcTopRight = RECT { x, y, x + width, y + height };
}

void CPaintManagerUI::SetBottomleftShadowRect(int x, int y, int width, int height)
{
    m_shadowSource.rcBottomLeft = RECT { x, y, x + width, y + height };
}

void CPaintManagerUI::SetBottomrightShadowRect(int x, int y, int width, int height)
{
    m_shadowSource.rcBottomRight = RECT { x, y, x + width, y + height };
}

void CPaintManagerUI::CalMiddleShadowRect()
{
    const RECT& tl = m_shadowSource.rcTopLeft;
    const RECT& tr = m_shadowSource.rcTopRight;
    const RECT& bl = m_shadowSource.rcBottomLeft;
    const RECT& br = m_shadowSource.rcBottomRight;
    m_shadowSource.rcTopMiddle = RECT { tl.right, 0, tr.left, tl.bottom };
    m_shadowSource.rcBottomMiddle = RECT { bl.right, bl.top, br.left, bl.bottom };
    m_shadowSource.rcLeftMiddle = RECT { tl.left, tl.bottom, tl.right, bl.top };
    m_shadowSource.rcRightMiddle = RECT { tr.left, tr.bottom, tr.right, br.top };
}

void CPaintManagerUI::CalRealShadowRect(const RECT& rect, TWindowShadowInfo& info) const
{
    const RECT& tl = m_shadowSource.rcTopLeft;
    const RECT& tr = m_shadowSource.rcTopRight;
    const RECT& bl = m_shadowSource.rcBottomLeft;
    const LONG w = tr.right - tr.left;
    const LONG h = bl.bottom - bl.top;
    info.rcTopLeft = RECT { 0, 0, tl.right, tl.bottom };
    info.rcTopRight = RECT { rect.right - w, 0, rect.right, tr.bottom };
    info.rcBottomLeft = RECT { 0, rect.bottom - h, bl.right, rect.bottom };
    info.rcBottomRight = RECT { rect.right - w, rect.bottom - h, rect.right, rect.bottom };
    info.rcTopMiddle = RECT { tl.right, 0, rect.right - w, tl.bottom };
    info.rcBottomMiddle = RECT { bl.right, rect.bottom - h, rect.right - w, rect.bottom };
    info.rcLeftMiddle = RECT { 0, tl.bottom, tl.right, rect.bottom - h };
    info.rcRightMiddle = RECT { rect.right - w, tr.bottom, rect.right, rect.bottom - h };
}

void CPaintManagerUI::GenerateShadowRenderString(const RECT& source, const RECT& destination, LPWSTR buffer) const
{
    if (!buffer) return;
    // A long image name must not run past the 512-character buffer.
    FormatBounded(buffer, 512, L"file='%ls' dest='%u,%u,%u,%u' source='%u,%u,%u,%u'", m_sShadowImage.GetData(),
        static_cast<unsigned>(destination.left), static_cast<unsigned>(destination.top),
        static_cast<unsigned>(destination.right), static_cast<unsigned>(destination.bottom),
        static_cast<unsigned>(source.left), static_cast<unsigned>(source.top),
        static_cast<unsigned>(source.right), static_cast<unsigned>(source.bottom));
}

void CPaintManagerUI::DrawWindowShadow(RECT& rect)
{
    TWindowShadowInfo dest;
    CalRealShadowRect(rect, dest);
    const TWindowShadowInfo& src = m_shadowSource;
    const RECT* pieces[8][2] = {
        { &src.rcTopLeft, &dest.rcTopLeft },
        { &src.rcTopMiddle, &dest.rcTopMiddle },
        { &src.rcTopRight, &dest.rcTopRight },
        { &src.rcLeftMiddle, &dest.rcLeftMiddle },
        { &src.rcRightMiddle, &dest.rcRightMiddle },
        { &src.rcBottomLeft, &dest.rcBottomLeft },
        { &src.rcBottomMiddle, &dest.rcBottomMiddle },
        { &src.rcBottomRight, &dest.rcBottomRight },
    };
    wchar_t buffer[512];
    for (const auto& piece : pieces) {
        GenerateShadowRenderString(*piece[0], *piece[1], buffer);
        CRenderEngine::DrawImageString(m_hDcBackground.Get(), this, rect, rect, buffer, nullptr);
    }
    const RECT& tl = src.rcTopLeft;
    const LONG w = src.rcTopRight.right - src.rcTopRight.left;
    const LONG h = src.rcBottomLeft.bottom - src.rcBottomLeft.top;
    rect = RECT { tl.right, tl.bottom, rect.right - w, rect.bottom - h };
}

// ----------------------------------------------------- default colours ----

DWORD CPaintManagerUI::GetDefaultDisabledColor() const
{
    return m_pParentResourcePM ? m_pParentResourcePM->GetDefaultDisabledColor() : m_dwDefaultDisabledColor;
}

DWORD CPaintManagerUI::GetDefaultFontColor() const
{
    return m_pParentResourcePM ? m_pParentResourcePM->GetDefaultFontColor() : m_dwDefaultFontColor;
}

DWORD CPaintManagerUI::GetDefaultLinkFontColor() const
{
    return m_pParentResourcePM ? m_pParentResourcePM->GetDefaultLinkFontColor() : m_dwDefaultLinkFontColor;
}

DWORD CPaintManagerUI::GetDefaultLinkHoverFontColor() const
{
    return m_pParentResourcePM ? m_pParentResourcePM->GetDefaultLinkHoverFontColor() : m_dwDefaultLinkHoverFontColor;
}

DWORD CPaintManagerUI::GetDefaultSelectedBkColor() const
{
    return m_pParentResourcePM ? m_pParentResourcePM->GetDefaultSelectedBkColor() : m_dwDefaultSelectedBkColor;
}

// -------------------------------------------------------------- fonts ----

HFONT CPaintManagerUI::CreateFontFromDefault(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                                             bool bItalic) const
{
    LOGFONTW lf = DefaultGuiLogFont();
    CopyBounded(lf.lfFaceName, LF_FACESIZE, pStrFontName);
    lf.lfHeight = -nSize;
    if (bBold) lf.lfWeight += FW_BOLD;
    if (bUnderline) lf.lfUnderline = TRUE;
    if (bItalic) lf.lfItalic = TRUE;
    return ::CreateFontIndirectW(&lf);
}

void CPaintManagerUI::MeasureFont(TFontInfo* pFontInfo) const
{
    if (!pFontInfo || !pFontInfo->hFont) return;
    ScreenDC screen;
    HDC hDC = m_hDcPaint ? m_hDcPaint : screen.Get();
    if (!hDC) return;
    HGDIOBJ hOld = ::SelectObject(hDC, pFontInfo->hFont);
    ::GetTextMetricsW(hDC, &pFontInfo->tm);
    ::SelectObject(hDC, hOld);
}

TFontInfo* CPaintManagerUI::GetDefaultFontInfo()
{
    if (m_pParentResourcePM) return m_pParentResourcePM->GetDefaultFontInfo();
    if (m_DefaultFontInfo.tm.tmHeight == 0) MeasureFont(&m_DefaultFontInfo);
    return &m_DefaultFontInfo;
}

void CPaintManagerUI::SetDefaultFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    HFONT hFont = CreateFontFromDefault(pStrFontName, nSize, bBold, bUnderline, bItalic);
    if (!hFont) return;
    if (m_DefaultFontInfo.hFont) ::DeleteObject(m_DefaultFontInfo.hFont);
    m_DefaultFontInfo.hFont = hFont;
    m_DefaultFontInfo.sFontName = pStrFontName;
    m_DefaultFontInfo.iSize = nSize;
    m_DefaultFontInfo.bBold = bBold;
    m_DefaultFontInfo.bUnderline = bUnderline;
    m_DefaultFontInfo.bItalic = bItalic;
    m_DefaultFontInfo.tm = TEXTMETRICW {};
    if (m_hDcPaint) MeasureFont(&m_DefaultFontInfo);
}

DWORD CPaintManagerUI::GetCustomFontCount() const
{
    return static_cast<DWORD>(m_aCustomFonts.GetSize());
}

HFONT CPaintManagerUI::AddFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    return AddFontAt(m_aCustomFonts.GetSize(), pStrFontName, nSize, bBold, bUnderline, bItalic);
}

HFONT CPaintManagerUI::AddFontAt(int index, LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                                 bool bItalic)
{
    if (index < 0 || index > m_aCustomFonts.GetSize()) return nullptr;
    HFONT hFont = CreateFontFromDefault(pStrFontName, nSize, bBold, bUnderline, bItalic);
    if (!hFont) return nullptr;
    TFontInfo* pFontInfo = new TFontInfo;
    pFontInfo->hFont = hFont;
    pFontInfo->sFontName = pStrFontName;
    pFontInfo->iSize = nSize;
    pFontInfo->bBold = bBold;
    pFontInfo->bUnderline = bUnderline;
    pFontInfo->bItalic = bItalic;
    if (m_hDcPaint) MeasureFont(pFontInfo);
    if (!m_aCustomFonts.InsertAt(index, pFontInfo)) {
        ::DeleteObject(hFont);
        delete pFontInfo;
        return nullptr;
    }
    return hFont;
}

HFONT CPaintManagerUI::GetFont(int index)
{
    if (index < 0 || index >= m_aCustomFonts.GetSize()) return GetDefaultFontInfo()->hFont;
    return static_cast<TFontInfo*>(m_aCustomFonts[index])->hFont;
}

HFONT CPaintManagerUI::GetFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    for (int i = 0; i < m_aCustomFonts.GetSize(); ++i) {
        TFontInfo* pFontInfo = static_cast<TFontInfo*>(m_aCustomFonts[i]);
        if (SameFont(pFontInfo, pStrFontName, nSize, bBold, bUnderline, bItalic)) return pFontInfo->hFont;
    }
    if (m_pParentResourcePM) return m_pParentResourcePM->GetFont(pStrFontName, nSize, bBold, bUnderline, bItalic);
    return nullptr;
}

int CPaintManagerUI::GetFontIndex(HFONT hFont) const
{
    for (int i = 0; i < m_aCustomFonts.GetSize(); ++i) {
        if (static_cast<TFontInfo*>(m_aCustomFonts[i])->hFont == hFont) return i;
    }
    return -1;
}

int CPaintManagerUI::GetFontIndex(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic) const
{
    for (int i = 0; i < m_aCustomFonts.GetSize(); ++i) {
        if (SameFont(static_cast<TFontInfo*>(m_aCustomFonts[i]), pStrFontName, nSize, bBold, bUnderline, bItalic)) {
            return i;
        }
    }
    return -1;
}

bool CPaintManagerUI::FindFont(HFONT hFont) const
{
    if (GetFontIndex(hFont) >= 0) return true;
    return m_pParentResourcePM ? m_pParentResourcePM->FindFont(hFont) : false;
}

bool CPaintManagerUI::FindFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic) const
{
    if (GetFontIndex(pStrFontName, nSize, bBold, bUnderline, bItalic) >= 0) return true;
    return m_pParentResourcePM ? m_pParentResourcePM->FindFont(pStrFontName, nSize, bBold, bUnderline, bItalic)
                               : false;
}

bool CPaintManagerUI::RemoveFont(HFONT hFont)
{
    int index = GetFontIndex(hFont);
    if (index < 0) return false;
    return RemoveFontAt(index);
}

bool CPaintManagerUI::RemoveFontAt(int index)
{
    if (index < 0 || index >= m_aCustomFonts.GetSize()) return false;
    TFontInfo* pFontInfo = static_cast<TFontInfo*>(m_aCustomFonts[index]);
    if (pFontInfo->hFont) ::DeleteObject(pFontInfo->hFont);
    delete pFontInfo;
    return m_aCustomFonts.Remove(index);
}

void CPaintManagerUI::RemoveAllFonts()
{
    for (int i = 0; i < m_aCustomFonts.GetSize(); ++i) {
        TFontInfo* pFontInfo = static_cast<TFontInfo*>(m_aCustomFonts[i]);
        if (pFontInfo->hFont) ::DeleteObject(pFontInfo->hFont);
        delete pFontInfo;
    }
    m_aCustomFonts.Empty();
}

TFontInfo* CPaintManagerUI::GetFontInfo(int index)
{
    if (index < 0 || index >= m_aCustomFonts.GetSize()) return GetDefaultFontInfo();
    TFontInfo* pFontInfo = static_cast<TFontInfo*>(m_aCustomFonts[index]);
    if (pFontInfo->tm.tmHeight == 0) MeasureFont(pFontInfo);
    return pFontInfo;
}

TFontInfo* CPaintManagerUI::GetFontInfo(HFONT hFont)
{
    int index = GetFontIndex(hFont);
    if (index >= 0) return GetFontInfo(index);
    if (m_pParentResourcePM) return m_pParentResourcePM->GetFontInfo(hFont);
    return GetDefaultFontInfo();
}

// ------------------------------------------------------------- images ----

const TImageInfo* CPaintManagerUI::GetImage(LPCWSTR bitmap)
{
    if (!bitmap) return nullptr;
    TImageInfo* data = static_cast<TImageInfo*>(m_mImageHash.Find(bitmap));
    if (data) return data;
    return m_pParentResourcePM ? m_pParentResourcePM->GetImage(bitmap) : nullptr;
}

const TImageInfo* CPaintManagerUI::GetImageEx(LPCWSTR bitmap, LPCWSTR type, DWORD mask)
{
    if (!bitmap) return nullptr;
    TImageInfo* data = static_cast<TImageInfo*>(m_mImageHash.Find(bitmap));
    if (data) return data;
    return AddImage(bitmap, type, mask);
}

const TImageInfo* CPaintManagerUI::AddImage(LPCWSTR bitmap, LPCWSTR type, DWORD mask)
{
    if (!bitmap || bitmap[0] == 0) return nullptr;
    TImageInfo* data = LoadByNameOrId(bitmap, type, mask);
    if (!data) return nullptr;
    if (m_bAlphaBackground) data->alphaChannel = true;
    if (type) data->sResType = type;
    data->dwMask = mask;
    if (!m_mImageHash.Insert(bitmap, data)) {
        // The name is taken: the cached entry stays, the new load goes.
        CRenderEngine::FreeImage(data);
        return nullptr;
    }
    return data;
}

const TImageInfo* CPaintManagerUI::AddImage(LPCWSTR bitmap, HBITMAP hBitmap, int iWidth, int iHeight, bool bAlpha)
{
    if (!bitmap || !hBitmap || iWidth <= 0 || iHeight <= 0) return nullptr;
    TImageInfo* data = new TImageInfo;
    data->hBitmap = hBitmap;
    data->nX = iWidth;
    data->nY = iHeight;
    data->alphaChannel = bAlpha;
    data->dwMask = 0;
    if (!m_mImageHash.Insert(bitmap, data)) {
        CRenderEngine::FreeImage(data);
        return nullptr;
    }
    return data;
}

bool CPaintManagerUI::RemoveImage(LPCWSTR bitmap)
{
    if (!bitmap) return false;
    TImageInfo* data = static_cast<TImageInfo*>(m_mImageHash.Find(bitmap));
    if (!data) return false;
    CRenderEngine::FreeImage(data);
    return m_mImageHash.Remove(bitmap);
}

void CPaintManagerUI::RemoveAllImages()
{
    for (int i = 0; i < m_mImageHash.GetSize(); ++i) {
        LPCWSTR key = m_mImageHash.GetAt(i);
        if (!key) continue;
        CRenderEngine::FreeImage(static_cast<TImageInfo*>(m_mImageHash.Find(key, false)));
    }
    m_mImageHash.RemoveAll();
}

void CPaintManagerUI::ReloadAllImages()
{
    bool reloaded = false;
    for (int i = 0; i < m_mImageHash.GetSize(); ++i) {
        LPCWSTR key = m_mImageHash.GetAt(i);
        if (!key) continue;
        TImageInfo* data = static_cast<TImageInfo*>(m_mImageHash.Find(key, false));
        if (!data) continue;
        TImageInfo* fresh = nullptr;
        if (data->sResType.IsEmpty()) {
            fresh = CRenderEngine::LoadImage(STRINGorID(key), nullptr, data->dwMask);
        } else if (StartsWithDigit(key)) {
            fresh = LoadByNameOrId(key, data->sResType.GetData(), data->dwMask);
        }
        if (!fresh) continue;
        if (data->hBitmap) {
            RenderInternal::ForgetComposedNineGrids(data->hBitmap);
            ::DeleteObject(data->hBitmap);
        }
        data->hBitmap = fresh->hBitmap;
        data->nX = fresh->nX;
        data->nY = fresh->nY;
        data->alphaChannel = fresh->alphaChannel;
        fresh->hBitmap = nullptr;
        CRenderEngine::FreeImage(fresh);
        reloaded = true;
    }
    if (reloaded && m_pRoot) m_pRoot->Invalidate();
}

// ------------------------------------------- default attribute lists ----

void CPaintManagerUI::AddDefaultAttributeList(LPCWSTR pStrControlName, LPCWSTR pStrControlAttrList)
{
    if (!pStrControlName) return;
    if (m_DefaultAttrHash.Find(pStrControlName)) return;  // the first list wins
    CStdString* pList = new CStdString(pStrControlAttrList);
    if (!m_DefaultAttrHash.Insert(pStrControlName, pList)) delete pList;
}

LPCWSTR CPaintManagerUI::GetDefaultAttributeList(LPCWSTR pStrControlName) const
{
    if (!pStrControlName) return nullptr;
    CStdString* pList = static_cast<CStdString*>(m_DefaultAttrHash.Find(pStrControlName));
    if (pList) return pList->GetData();
    return m_pParentResourcePM ? m_pParentResourcePM->GetDefaultAttributeList(pStrControlName) : nullptr;
}

bool CPaintManagerUI::RemoveDefaultAttributeList(LPCWSTR pStrControlName)
{
    if (!pStrControlName) return false;
    CStdString* pList = static_cast<CStdString*>(m_DefaultAttrHash.Find(pStrControlName));
    if (!pList) return false;
    delete pList;
    return m_DefaultAttrHash.Remove(pStrControlName);
}

void CPaintManagerUI::RemoveAllDefaultAttributeList()
{
    for (int i = 0; i < m_DefaultAttrHash.GetSize(); ++i) {
        LPCWSTR key = m_DefaultAttrHash.GetAt(i);
        if (key) delete static_cast<CStdString*>(m_DefaultAttrHash.Find(key, false));
    }
    m_DefaultAttrHash.RemoveAll();
}

// ------------------------------------------------------ option groups ----

bool CPaintManagerUI::AddOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl)
{
    if (!pStrGroupName) return false;
    CStdPtrArray* aOptionGroup = static_cast<CStdPtrArray*>(m_mOptionGroup.Find(pStrGroupName));
    if (aOptionGroup) {
        if (aOptionGroup->Find(pControl) >= 0) return false;
        aOptionGroup->Add(pControl);
        return true;
    }
    aOptionGroup = new CStdPtrArray(6);
    aOptionGroup->Add(pControl);
    if (!m_mOptionGroup.Insert(pStrGroupName, aOptionGroup)) {
        delete aOptionGroup;
        return false;
    }
    return true;
}

CStdPtrArray* CPaintManagerUI::GetOptionGroup(LPCWSTR pStrGroupName)
{
    if (!pStrGroupName) return nullptr;
    return static_cast<CStdPtrArray*>(m_mOptionGroup.Find(pStrGroupName));
}

void CPaintManagerUI::RemoveOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl)
{
    CStdPtrArray* aOptionGroup = GetOptionGroup(pStrGroupName);
    if (!aOptionGroup) return;
    int index = aOptionGroup->Find(pControl);
    if (index >= 0) aOptionGroup->Remove(index);
    if (aOptionGroup->IsEmpty()) {
        delete aOptionGroup;
        m_mOptionGroup.Remove(pStrGroupName);
    }
}

void CPaintManagerUI::RemoveAllOptionGroups()
{
    for (int i = 0; i < m_mOptionGroup.GetSize(); ++i) {
        LPCWSTR key = m_mOptionGroup.GetAt(i);
        if (key) delete static_cast<CStdPtrArray*>(m_mOptionGroup.Find(key, false));
    }
    m_mOptionGroup.RemoveAll();
}

// ------------------------------------------------------ finding controls ----

namespace {

struct FindByClass {
    CStdPtrArray* found { nullptr };
    LPCWSTR className { nullptr };
};

bool ClassMatches(CControlUI* pThis, LPCWSTR className)
{
    if (!className) return false;
    if (std::wcscmp(className, L"*") == 0) return true;
    LPCWSTR own = pThis->GetClass();
    return own && std::wcscmp(own, className) == 0;
}

}  // namespace

CControlUI* CPaintManagerUI::FindControl(POINT pt) const
{
    if (!m_pRoot) return nullptr;
    return m_pRoot->FindControl(FindControlFromPoint, &pt, FIND_VISIBLE | FIND_HITTEST | FIND_TOP_FIRST);
}

CControlUI* CPaintManagerUI::FindControl(LPCWSTR pstrName) const
{
    if (!pstrName) return nullptr;
    return static_cast<CControlUI*>(m_mNameHash.Find(pstrName));
}

CControlUI* CPaintManagerUI::FindSubControlByPoint(CControlUI* pParent, POINT pt) const
{
    if (!pParent) pParent = m_pRoot;
    if (!pParent) return nullptr;
    return pParent->FindControl(FindControlFromPoint, &pt, FIND_VISIBLE | FIND_HITTEST | FIND_TOP_FIRST);
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* pParent, LPCWSTR pstrName) const
{
    if (!pParent) pParent = m_pRoot;
    if (!pParent || !pstrName) return nullptr;
    return pParent->FindControl(FindControlFromName, const_cast<LPWSTR>(pstrName), 0);
}

CControlUI* CPaintManagerUI::FindSubControlByClass(CControlUI* pParent, LPCWSTR pstrClass, int iIndex)
{
    if (!pParent) pParent = m_pRoot;
    if (!pParent || !pstrClass || iIndex < 0) return nullptr;
    m_aFoundControls.Resize(iIndex + 1);
    FindByClass search { &m_aFoundControls, pstrClass };
    return pParent->FindControl(FindControlFromClass, &search, 0);
}

CStdPtrArray* CPaintManagerUI::FindSubControlsByClass(CControlUI* pParent, LPCWSTR pstrClass)
{
    m_aFoundControls.Empty();
    if (!pParent) pParent = m_pRoot;
    if (!pParent || !pstrClass) return &m_aFoundControls;
    FindByClass search { &m_aFoundControls, pstrClass };
    pParent->FindControl(FindControlsFromClass, &search, 0);
    return &m_aFoundControls;
}

CStdPtrArray* CPaintManagerUI::GetSubControlsByClass() { return &m_aFoundControls; }

CControlUI* CALLBACK CPaintManagerUI::FindControlFromPoint(CControlUI* pThis, LPVOID pData)
{
    const POINT* pt = static_cast<const POINT*>(pData);
    const RECT& rc = pThis->GetPos();
    return ::PtInRect(&rc, *pt) ? pThis : nullptr;
}

CControlUI* CALLBACK CPaintManagerUI::FindControlFromName(CControlUI* pThis, LPVOID pData)
{
    LPCWSTR pstrName = static_cast<LPCWSTR>(pData);
    CStdString name = pThis->GetName();
    if (name.IsEmpty()) return nullptr;
    return name.CompareNoCase(pstrName) == 0 ? pThis : nullptr;
}

CControlUI* CALLBACK CPaintManagerUI::FindControlFromClass(CControlUI* pThis, LPVOID pData)
{
    FindByClass* search = static_cast<FindByClass*>(pData);
    if (!ClassMatches(pThis, search->className)) return nullptr;
    CStdPtrArray* found = search->found;
    int slot = 0;
    while (slot < found->GetSize() && found->GetAt(slot)) ++slot;
    if (slot >= found->GetSize()) return nullptr;
    found->SetAt(slot, pThis);
    return slot == found->GetSize() - 1 ? pThis : nullptr;
}

CControlUI* CALLBACK CPaintManagerUI::FindControlsFromClass(CControlUI* pThis, LPVOID pData)
{
    FindByClass* search = static_cast<FindByClass*>(pData);
    if (ClassMatches(pThis, search->className)) search->found->Add(pThis);
    return nullptr;
}

}  // namespace Veneer
