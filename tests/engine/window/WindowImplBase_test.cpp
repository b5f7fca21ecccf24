#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>

#include "controls/ContainerUI.h"
#include "engine/ControlUI.h"
#include "engine/PaintManagerUI.h"
#include "engine/WindowImplBase.h"
#include "foundation/DialogBuilder.h"
#include "foundation/Markup.h"
#include "support/TestSupport.h"

using namespace Veneer;

namespace {

const UINT WM_TEST_CLOSE7 = WM_APP + 20;
// hittest.xml as resource 2404 of type "xml".
const wchar_t kHitTestSkin[] = L"2404";
// sample.xml, its Include naming part.xml by resource number.
const wchar_t kSampleSkin[] = L"2402";

class SkinWindow : public WindowImplBase {
public:
    SkinWindow(UILIB_RESOURCETYPE type, LPCWSTR directory, LPCWSTR file)
        : m_type(type), m_directory(directory), m_file(file)
    {
    }

    UINT resourceId { 0 };
    CStdString zipName;
    int inits { 0 };
    CControlUI* rootAtInit { nullptr };
    int finals { 0 };

    using WindowImplBase::m_lpResourceZIPBuffer;
    using WindowImplBase::m_dwResourceZIPSize;

    CPaintManagerUI& Manager() { return m_PaintManager; }

    LRESULT HitTest(int x, int y)
    {
        POINT pt = { x, y };
        ::ClientToScreen(m_hWnd, &pt);
        return ::SendMessageW(m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
    }

    HWND Open(HWND owner = nullptr)
    {
        return Create(owner, L"skin test", WS_POPUP | WS_CLIPCHILDREN, 0, 100, 80, 0, 0);
    }

protected:
    LPCWSTR GetFrameClassName() const override { return L"VeneerSkinWindow"; }
    CStdString GetSkinDirectory() const override { return m_directory; }
    CStdString GetSkinFileName() const override { return m_file; }
    UILIB_RESOURCETYPE GetResourceType() const override { return m_type; }
    CStdString GetZIPFileName() const override { return zipName; }
    UINT GetResourceID() const override { return resourceId; }

    void InitWindow() override
    {
        ++inits;
        rootAtInit = m_PaintManager.GetRoot();
    }

    LRESULT HandleCustomMessage(UINT uMsg, WPARAM, LPARAM, bool& bHandled) override
    {
        bHandled = false;
        if (uMsg != WM_TEST_CLOSE7) return 0;
        bHandled = true;
        Close(7);
        return 0;
    }

    void OnFinalMessage(HWND hWnd) override
    {
        WindowImplBase::OnFinalMessage(hWnd);
        ++finals;
    }

private:
    UILIB_RESOURCETYPE m_type;
    CStdString m_directory;
    CStdString m_file;
};

// A skin that fails to load shows a blocking message box and ends the
// process: answer any box at once so that such a failure is quick.
class BoxGuard {
public:
    BoxGuard()
    {
        m_stop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        m_thread = ::CreateThread(nullptr, 0, &BoxGuard::Run, this, 0, nullptr);
    }
    ~BoxGuard()
    {
        ::SetEvent(m_stop);
        ::WaitForSingleObject(m_thread, INFINITE);
        ::CloseHandle(m_thread);
        ::CloseHandle(m_stop);
    }
    BoxGuard(const BoxGuard&) = delete;
    BoxGuard& operator=(const BoxGuard&) = delete;

private:
    static DWORD WINAPI Run(void* param)
    {
        BoxGuard* self = static_cast<BoxGuard*>(param);
        while (::WaitForSingleObject(self->m_stop, 20) == WAIT_TIMEOUT) {
            HWND box = ::FindWindowW(L"#32770", nullptr);
            if (box != nullptr) {
                std::fprintf(stderr, "unexpected message box\n");
                ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            }
        }
        return 0;
    }
    HANDLE m_stop { nullptr };
    HANDLE m_thread { nullptr };
};

class WindowImplBaseTest : public ::testing::Test {
protected:
    void SetUp() override { CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr)); }

    BoxGuard m_boxGuard;

    // Lays the tree out the way the first paint does.
    static void ShowAndPaint(SkinWindow& window)
    {
        ::ShowWindow(window.GetHWND(), SW_SHOWNOACTIVATE);
        ::UpdateWindow(window.GetHWND());
        TestSupport::PumpMessages(30);
    }
};

// Skin files are found through the resource folder or the cached archive by
// the markup parser.
bool MarkupFindsSkinFiles()
{
    CPaintManagerUI::SetResourcePath(TestSupport::FixturePath(L"skins/sample/").c_str());
    CMarkup probe;
    return probe.LoadFromFile(L"part.xml");
}


bool StockKnows(LPCWSTR element)
{
    CControlUI* control = CDialogBuilder::CreateStockControl(element);
    delete control;
    return control != nullptr;
}

bool SameRect(const RECT& rc, LONG l, LONG t, LONG r, LONG b)
{
    return rc.left == l && rc.top == t && rc.right == r && rc.bottom == b;
}

// Every element of the sample skin: element name, control name, class.
const struct {
    const wchar_t* element;
    const wchar_t* name;
    const wchar_t* cls;
} kSampleElements[] = {
    { L"VerticalLayout", L"root", L"VerticalLayoutUI" },
    { L"HorizontalLayout", L"titlebar", L"HorizontalLayoutUI" },
    { L"Control", L"icon", L"ControlUI" },
    { L"Label", L"title", L"LabelUI" },
    { L"Button", L"closebtn", L"ButtonUI" },
    { L"Container", L"body", L"ContainerUI" },
    { L"Text", L"text", L"TextUI" },
    { L"Edit", L"edit", L"EditUI" },
    { L"RichEdit", L"richedit", L"RichEditUI" },
    { L"Option", L"option", L"OptionUI" },
    { L"CheckBox", L"checkbox", L"CheckBoxUI" },
    { L"Combo", L"combo", L"ComboUI" },
    { L"ComboBox", L"combobox", L"ComboBoxUI" },
    { L"Slider", L"slider", L"SliderUI" },
    { L"Progress", L"progress", L"ProgressUI" },
    { L"DateTime", L"datetime", L"DateTimeUI" },
    { L"ScrollBar", L"scrollbar", L"ScrollBarUI" },
    { L"ActiveX", L"activex", L"ActiveXUI" },
    { L"WebBrowser", L"browser", L"WebBrowserUI" },
    { L"TabLayout", L"tabs", L"TabLayoutUI" },
    { L"TileLayout", L"tiles", L"TileLayoutUI" },
    { L"ChildLayout", L"child", L"ChildLayoutUI" },
    { L"List", L"list", L"ListUI" },
    { L"ListHeader", L"listheader", L"ListHeaderUI" },
    { L"ListHeaderItem", L"listheaderitem", L"ListHeaderItemUI" },
    { L"ListTextElement", L"listtext", L"ListTextElementUI" },
    { L"ListLabelElement", L"listlabel", L"ListLabelElementUI" },
    { L"ListContainerElement", L"listcontainer", L"ListContainerElementUI" },
    { L"TreeView", L"tree", L"TreeViewUI" },
};

void ExpectSampleSkin(SkinWindow& window)
{
    CPaintManagerUI& pm = window.Manager();
    CControlUI* root = pm.GetRoot();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(window.inits, 1);
    EXPECT_EQ(window.rootAtInit, root) << "InitWindow runs after the tree is attached";
    EXPECT_STREQ(root->GetName().GetData(), L"root");

    // Classes and names; elements whose classes are not built yet are
    // skipped by the builder and so missing from the tree.
    for (const auto& row : kSampleElements) {
        CControlUI* control = pm.FindControl(row.name);
        if (!StockKnows(row.element)) {
            EXPECT_EQ(control, nullptr) << row.name;
            continue;
        }
        ASSERT_NE(control, nullptr) << row.name;
        EXPECT_STREQ(control->GetClass(), row.cls) << row.name;
        EXPECT_EQ(control->GetManager(), &pm) << row.name;
    }
    EXPECT_EQ(pm.FindControl(L"unknown"), nullptr);
    EXPECT_EQ(pm.FindControl(L"underunknown"), nullptr);

    // Defaults first, then the element's own attributes in document order.
    CControlUI* plain = pm.FindControl(L"plain");
    ASSERT_NE(plain, nullptr);
    EXPECT_STREQ(plain->GetToolTip().GetData(), L"own");
    EXPECT_STREQ(plain->GetUserData().GetData(), L"defaulted");
    CControlUI* icon = pm.FindControl(L"icon");
    ASSERT_NE(icon, nullptr);
    EXPECT_STREQ(icon->GetToolTip().GetData(), L"from default");
    EXPECT_EQ(icon->GetFixedWidth(), 32);
    EXPECT_EQ(pm.FindControl(L"widthlast")->GetFixedWidth(), 55);
    EXPECT_EQ(pm.FindControl(L"poslast")->GetFixedWidth(), 40);
    EXPECT_EQ(root->GetBkColor(), 0xFFF0F0F0u);

    // The Include element built its part twice at the end of the root.
    IContainerUI* top = static_cast<IContainerUI*>(root->GetInterface(L"IContainer"));
    ASSERT_NE(top, nullptr);
    ASSERT_EQ(top->GetCount(), 4);
    EXPECT_STREQ(top->GetItemAt(2)->GetName().GetData(), L"included");
    EXPECT_STREQ(top->GetItemAt(3)->GetName().GetData(), L"included");
    EXPECT_NE(top->GetItemAt(2), top->GetItemAt(3));

    // Window attributes.
    RECT rcClient = {};
    ::GetClientRect(window.GetHWND(), &rcClient);
    EXPECT_EQ(rcClient.right, 420);
    EXPECT_EQ(rcClient.bottom, 320);
    EXPECT_TRUE(SameRect(pm.GetSizeBox(), 4, 4, 6, 6));
    EXPECT_TRUE(SameRect(pm.GetCaptionRect(), 0, 0, 0, 32));
    EXPECT_EQ(pm.GetRoundCorner().cx, 6);
    EXPECT_EQ(pm.GetMinInfo().cx, 200);
    EXPECT_EQ(pm.GetMaxInfo().cy, 1200);
    EXPECT_TRUE(pm.IsShowUpdateRect());
    EXPECT_TRUE(pm.HasWindowShadow());
    EXPECT_TRUE(SameRect(pm.GetShadowSourceRects().rcBottomMiddle, 8, 12, 12, 20));
    EXPECT_EQ(pm.GetTransparent(), 250);
    EXPECT_FALSE(pm.IsAlphaBackground());
    EXPECT_EQ(pm.GetDefaultDisabledColor(), 0xFF808080u);
    EXPECT_EQ(pm.GetDefaultFontColor(), 0xFF102030u);
    EXPECT_EQ(pm.GetDefaultLinkFontColor(), 0xFF0000EEu);
    EXPECT_EQ(pm.GetDefaultLinkHoverFontColor(), 0xFFEE0000u);
    EXPECT_EQ(pm.GetDefaultSelectedBkColor(), 0xFFCCE8FFu);

    // Resources: fonts in document order (the part's font once per include),
    // the default font, the image, the default attribute lists.
    ASSERT_EQ(pm.GetCustomFontCount(), 4u);
    EXPECT_STREQ(pm.GetFontInfo(0)->sFontName.GetData(), L"Arial");
    EXPECT_STREQ(pm.GetFontInfo(1)->sFontName.GetData(), L"Tahoma");
    EXPECT_EQ(pm.GetFontInfo(1)->iSize, 12);
    EXPECT_TRUE(pm.GetFontInfo(1)->bUnderline);
    EXPECT_STREQ(pm.GetFontInfo(3)->sFontName.GetData(), L"Courier New");
    EXPECT_STREQ(pm.GetDefaultFontInfo()->sFontName.GetData(), L"Arial");
    EXPECT_EQ(pm.GetDefaultFontInfo()->iSize, 14);
    const TImageInfo* logo = pm.GetImage(L"logo.png");
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->nX, 8);
    EXPECT_EQ(logo->dwMask, 0xFFFF00FFu);
    EXPECT_STREQ(pm.GetDefaultAttributeList(L"Button"), L"tooltip=\"button default\"");
}

void ExpectSampleSkinFrom(SkinWindow& window)
{
    ASSERT_NE(window.Open(), nullptr);
    ExpectSampleSkin(window);
    ::DestroyWindow(window.GetHWND());
    EXPECT_EQ(window.finals, 1);
}

}  // namespace

TEST_F(WindowImplBaseTest, SampleSkinFromTheSkinFolder)
{
    if (!MarkupFindsSkinFiles())
        GTEST_SKIP() << "CMarkup::LoadFromFile does not look in the skin location yet";
    SkinWindow window(SKIN_FOLDER, BUILDER_SKIN_RELDIR, L"sample.xml");
    ExpectSampleSkinFrom(window);
}

TEST_F(WindowImplBaseTest, SampleSkinFromAZipFile)
{
    if (!MarkupFindsSkinFiles())
        GTEST_SKIP() << "CMarkup::LoadFromFile does not look in the skin location yet";
    SkinWindow window(SKIN_ZIP_FILE, L"builder\\", L"sample.xml");
    window.zipName = L"sample.zip";
    ExpectSampleSkinFrom(window);
    EXPECT_TRUE(CPaintManagerUI::IsCachedResourceZip());
}

TEST_F(WindowImplBaseTest, SampleSkinFromAZipResource)
{
    if (!MarkupFindsSkinFiles())
        GTEST_SKIP() << "CMarkup::LoadFromFile does not look in the skin location yet";
    SkinWindow window(SKIN_ZIP_RESOURCE, L"", L"sample.xml");
    window.resourceId = 2401;
    ExpectSampleSkinFrom(window);
    EXPECT_STREQ(CPaintManagerUI::GetResourceZip().GetData(), L"membuffer");
}

TEST_F(WindowImplBaseTest, SampleSkinFromAnXmlResource)
{
    // Images still come from the folder: only the markup is a resource.
    SkinWindow window(SKIN_RESOURCE, BUILDER_SKIN_RELDIR, kSampleSkin);
    ExpectSampleSkinFrom(window);
}

TEST_F(WindowImplBaseTest, ZipResourceBufferOutlivesTheWindowThatLoadedIt)
{
    if (!MarkupFindsSkinFiles())
        GTEST_SKIP() << "CMarkup::LoadFromFile does not look in the skin location yet";
    {
        SkinWindow first(SKIN_ZIP_RESOURCE, L"", L"hittest.xml");
        first.resourceId = 2401;
        ASSERT_NE(first.Open(), nullptr);
        ASSERT_NE(first.Manager().GetRoot(), nullptr);
        ::DestroyWindow(first.GetHWND());
        EXPECT_EQ(first.finals, 1);
    }
    // The cached archive still reads from the shared buffer.
    ASSERT_TRUE(SkinWindow::m_lpResourceZIPBuffer != nullptr);
    ASSERT_GT(SkinWindow::m_dwResourceZIPSize, 4u);
    EXPECT_EQ(std::memcmp(SkinWindow::m_lpResourceZIPBuffer.get(), "PK\x03\x04", 4), 0);
    ASSERT_NE(CPaintManagerUI::GetResourceZipHandle(), nullptr);

    SkinWindow second(SKIN_ZIP_RESOURCE, L"", L"sample.xml");
    second.resourceId = 2401;
    ASSERT_NE(second.Open(), nullptr);
    ExpectSampleSkin(second);
    ::DestroyWindow(second.GetHWND());
}

TEST_F(WindowImplBaseTest, MissingZipResourceLeavesTheWindowWithoutSkin)
{
    // Put aside a buffer an earlier test of this process may have loaded (a
    // cached archive still reads from it).
    std::unique_ptr<BYTE[]> loaded = std::move(SkinWindow::m_lpResourceZIPBuffer);
    const DWORD loadedSize = SkinWindow::m_dwResourceZIPSize;
    SkinWindow window(SKIN_ZIP_RESOURCE, L"", L"sample.xml");
    window.resourceId = 2499;
    ASSERT_NE(window.Open(), nullptr);
    EXPECT_EQ(window.Manager().GetRoot(), nullptr);
    EXPECT_EQ(window.inits, 0);
    EXPECT_TRUE(SkinWindow::m_lpResourceZIPBuffer == nullptr);
    ::DestroyWindow(window.GetHWND());
    SkinWindow::m_lpResourceZIPBuffer = std::move(loaded);
    SkinWindow::m_dwResourceZIPSize = loadedSize;
}

TEST_F(WindowImplBaseTest, CreateTakesTheBorderlessStyle)
{
    SkinWindow window(SKIN_RESOURCE, BUILDER_SKIN_RELDIR, kHitTestSkin);
    ASSERT_NE(window.Create(nullptr, L"styled", WS_OVERLAPPEDWINDOW, 0, 10, 10, 0, 0), nullptr);
    const LONG_PTR style = ::GetWindowLongPtrW(window.GetHWND(), GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, 0);
    EXPECT_NE(style & WS_CLIPCHILDREN, 0);
    EXPECT_NE(style & WS_CLIPSIBLINGS, 0);
    RECT rcWindow = {};
    RECT rcClient = {};
    ::GetWindowRect(window.GetHWND(), &rcWindow);
    ::GetClientRect(window.GetHWND(), &rcClient);
    EXPECT_EQ(rcWindow.right - rcWindow.left, rcClient.right) << "no non-client area";
    EXPECT_EQ(rcClient.right, 300);
    EXPECT_EQ(rcClient.bottom, 200);
    ::DestroyWindow(window.GetHWND());
}

TEST_F(WindowImplBaseTest, SizeBoxHitTest)
{
    SkinWindow window(SKIN_RESOURCE, BUILDER_SKIN_RELDIR, kHitTestSkin);
    ASSERT_NE(window.Open(), nullptr);
    ShowAndPaint(window);
    // Client 300 x 200, size box 4,4,6,6.
    EXPECT_EQ(window.HitTest(2, 1), HTTOPLEFT);
    EXPECT_EQ(window.HitTest(150, 2), HTTOP);
    EXPECT_EQ(window.HitTest(297, 1), HTTOPRIGHT);
    EXPECT_EQ(window.HitTest(1, 150), HTLEFT);
    EXPECT_EQ(window.HitTest(296, 150), HTRIGHT);
    EXPECT_EQ(window.HitTest(2, 198), HTBOTTOMLEFT);
    EXPECT_EQ(window.HitTest(150, 197), HTBOTTOM);
    EXPECT_EQ(window.HitTest(297, 197), HTBOTTOMRIGHT);
    // Edges themselves: x = 4 and x = 294 are inside.
    EXPECT_EQ(window.HitTest(4, 150), HTCLIENT);
    EXPECT_EQ(window.HitTest(294, 150), HTCLIENT);
    EXPECT_EQ(window.HitTest(150, 194), HTCLIENT);
    ::DestroyWindow(window.GetHWND());
}

TEST_F(WindowImplBaseTest, CaptionHitTestOverPlainControls)
{
    SkinWindow window(SKIN_RESOURCE, BUILDER_SKIN_RELDIR, kHitTestSkin);
    ASSERT_NE(window.Open(), nullptr);
    ShowAndPaint(window);
    // Caption 0,0,0,98: the top row is 60 high, "bottom" fills the rest.
    EXPECT_EQ(window.HitTest(250, 50), HTCAPTION);
    EXPECT_EQ(window.HitTest(150, 80), HTCAPTION);
    EXPECT_EQ(window.HitTest(150, 97), HTCAPTION);
    EXPECT_EQ(window.HitTest(150, 98), HTCLIENT);
    EXPECT_EQ(window.HitTest(150, 150), HTCLIENT);

    window.Manager().SetCaptionRect(RECT { 0, 0, 0, 0 });
    EXPECT_EQ(window.HitTest(250, 50), HTCLIENT) << "an empty caption drags nothing";
    window.Manager().SetCaptionRect(RECT { 200, 0, 20, 98 });
    EXPECT_EQ(window.HitTest(199, 50), HTCLIENT);
    EXPECT_EQ(window.HitTest(200, 50), HTCAPTION);
    EXPECT_EQ(window.HitTest(279, 50), HTCAPTION);
    EXPECT_EQ(window.HitTest(280, 50), HTCLIENT);
    ::DestroyWindow(window.GetHWND());
}

TEST_F(WindowImplBaseTest, CaptionHitTestOverALabelAndAButton)
{
    if (!StockKnows(L"Label") || !StockKnows(L"Button"))
        GTEST_SKIP() << "CLabelUI and CButtonUI are not built yet";
    SkinWindow window(SKIN_RESOURCE, BUILDER_SKIN_RELDIR, kHitTestSkin);
    ASSERT_NE(window.Open(), nullptr);
    ShowAndPaint(window);
    ASSERT_STREQ(window.Manager().FindControl(POINT { 50, 50 })->GetClass(), L"LabelUI");
    ASSERT_STREQ(window.Manager().FindControl(POINT { 150, 50 })->GetClass(), L"ButtonUI");
    EXPECT_EQ(window.HitTest(50, 50), HTCAPTION);
    EXPECT_EQ(window.HitTest(150, 50), HTCLIENT);
    EXPECT_EQ(window.HitTest(50, 98), HTCLIENT);
    ::DestroyWindow(window.GetHWND());
}

TEST_F(WindowImplBaseTest, MaximisedWindowHasNoSizingBorder)
{
    SkinWindow window(SKIN_RESOURCE, BUILDER_SKIN_RELDIR, kHitTestSkin);
    ASSERT_NE(window.Open(), nullptr);
    ShowAndPaint(window);
    ::ShowWindow(window.GetHWND(), SW_MAXIMIZE);
    ::UpdateWindow(window.GetHWND());
    TestSupport::PumpMessages(30);
    ASSERT_TRUE(::IsZoomed(window.GetHWND()));

    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromWindow(window.GetHWND(), MONITOR_DEFAULTTONEAREST), &info);
    RECT rcClient = {};
    ::GetClientRect(window.GetHWND(), &rcClient);
    EXPECT_EQ(rcClient.right, info.rcWork.right - info.rcWork.left);
    EXPECT_EQ(rcClient.bottom, info.rcWork.bottom - info.rcWork.top);

    EXPECT_EQ(window.HitTest(2, 1), HTCAPTION);
    EXPECT_EQ(window.HitTest(1, 150), HTCLIENT);
    EXPECT_EQ(window.HitTest(rcClient.right - 2, rcClient.bottom - 2), HTCLIENT);
    ::DestroyWindow(window.GetHWND());
}

TEST_F(WindowImplBaseTest, MinimumTrackingSizeComesFromTheSkin)
{
    SkinWindow window(SKIN_RESOURCE, BUILDER_SKIN_RELDIR, kSampleSkin);
    ASSERT_NE(window.Open(), nullptr);
    MINMAXINFO mmi = {};
    window.SendMessageW(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    EXPECT_EQ(mmi.ptMinTrackSize.x, 200);
    EXPECT_EQ(mmi.ptMinTrackSize.y, 150);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromWindow(window.GetHWND(), MONITOR_DEFAULTTONEAREST), &info);
    EXPECT_EQ(mmi.ptMaxPosition.x, info.rcWork.left - info.rcMonitor.left);
    EXPECT_LE(mmi.ptMaxTrackSize.x, info.rcWork.right - info.rcWork.left);
    ::DestroyWindow(window.GetHWND());
}

TEST_F(WindowImplBaseTest, RoundCornersBecomeTheWindowRegion)
{
    SkinWindow window(SKIN_RESOURCE, BUILDER_SKIN_RELDIR, kSampleSkin);
    ASSERT_NE(window.Open(), nullptr);
    ::SetWindowPos(window.GetHWND(), nullptr, 0, 0, 400, 300,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(window.GetHWND(), region), ERROR);
    EXPECT_FALSE(::PtInRegion(region, 0, 0)) << "the corner is cut";
    EXPECT_TRUE(::PtInRegion(region, 10, 10));
    EXPECT_TRUE(::PtInRegion(region, 399, 150));
    EXPECT_FALSE(::PtInRegion(region, 399, 299));
    ::DeleteObject(region);
    ::DestroyWindow(window.GetHWND());
}

TEST_F(WindowImplBaseTest, EscapeClosesWithIdOk)
{
    SkinWindow window(SKIN_RESOURCE, BUILDER_SKIN_RELDIR, kHitTestSkin);
    ASSERT_NE(window.Open(), nullptr);
    window.PostMessageW(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(window.ShowModal(), static_cast<UINT>(IDOK));
    EXPECT_EQ(window.GetHWND(), nullptr);
}

TEST_F(WindowImplBaseTest, ReturnDoesNotClose)
{
    SkinWindow window(SKIN_RESOURCE, BUILDER_SKIN_RELDIR, kHitTestSkin);
    ASSERT_NE(window.Open(), nullptr);
    // Had Return closed the window, its close code would come first.
    window.PostMessageW(WM_KEYDOWN, VK_RETURN, 0);
    window.PostMessageW(WM_TEST_CLOSE7);
    EXPECT_EQ(window.ShowModal(), 7u);
}

TEST_F(WindowImplBaseTest, ShowModalReenablesTheOwner)
{
    SkinWindow owner(SKIN_RESOURCE, BUILDER_SKIN_RELDIR, kHitTestSkin);
    ASSERT_NE(owner.Open(), nullptr);
    SkinWindow modal(SKIN_RESOURCE, BUILDER_SKIN_RELDIR, kHitTestSkin);
    ASSERT_NE(modal.Open(owner.GetHWND()), nullptr);
    modal.PostMessageW(WM_TEST_CLOSE7);
    EXPECT_EQ(modal.ShowModal(), 7u);
    EXPECT_TRUE(::IsWindowEnabled(owner.GetHWND()));
    ::DestroyWindow(owner.GetHWND());
}

TEST_F(WindowImplBaseTest, DefaultButtonsDriveTheWindow)
{
    SkinWindow window(SKIN_RESOURCE, BUILDER_SKIN_RELDIR, kHitTestSkin);
    ASSERT_NE(window.Open(), nullptr);
    ShowAndPaint(window);
    CControlUI button;
    button.SetName(L"maxbtn");
    window.Manager().SendNotify(&button, L"click");
    EXPECT_TRUE(::IsZoomed(window.GetHWND()));
    button.SetName(L"restorebtn");
    window.Manager().SendNotify(&button, L"click");
    EXPECT_FALSE(::IsZoomed(window.GetHWND()));
    button.SetName(L"minbtn");
    window.Manager().SendNotify(&button, L"click");
    EXPECT_TRUE(::IsIconic(window.GetHWND()));
    button.SetName(L"otherbtn");
    window.Manager().SendNotify(&button, L"click");
    EXPECT_TRUE(::IsWindow(window.GetHWND()));

    button.SetName(L"closebtn");
    window.Manager().SendNotify(&button, L"click");
    TestSupport::PumpMessages(50);
    EXPECT_EQ(window.GetHWND(), nullptr);
    EXPECT_EQ(window.finals, 1);
}

TEST_F(WindowImplBaseTest, SystemCloseGoesThroughTheCloseMessage)
{
    SkinWindow window(SKIN_RESOURCE, BUILDER_SKIN_RELDIR, kHitTestSkin);
    ASSERT_NE(window.Open(), nullptr);
    EXPECT_EQ(window.SendMessageW(WM_SYSCOMMAND, SC_CLOSE, 0), 0);
    EXPECT_EQ(window.GetHWND(), nullptr);
    EXPECT_EQ(window.finals, 1);
}

TEST_F(WindowImplBaseTest, FrameMessagesAreAnsweredHere)
{
    SkinWindow window(SKIN_RESOURCE, BUILDER_SKIN_RELDIR, kHitTestSkin);
    ASSERT_NE(window.Open(), nullptr);
    EXPECT_EQ(window.SendMessageW(WM_ERASEBKGND, 0, 0), 1);
    EXPECT_EQ(window.SendMessageW(WM_NCACTIVATE, FALSE, 0), TRUE);
    EXPECT_EQ(window.SendMessageW(WM_NCACTIVATE, TRUE, 0), FALSE);
    CControlUI sender;
    TNotifyUI msg;
    msg.sType = L"click";
    msg.pSender = &sender;
    window.Notify(msg);  // an unnamed sender: nothing happens
    EXPECT_TRUE(::IsWindow(window.GetHWND()));
    EXPECT_EQ(window.CreateControl(L"Anything"), nullptr);
    ::DestroyWindow(window.GetHWND());
}

TEST_F(WindowImplBaseTest, WindowOutlivingItsObjectStopsRoutingToIt)
{
    SkinWindow* window = new SkinWindow(SKIN_RESOURCE, BUILDER_SKIN_RELDIR, kHitTestSkin);
    HWND hWnd = window->Open();
    ASSERT_NE(hWnd, nullptr);
    ShowAndPaint(*window);
    delete window;
    EXPECT_EQ(::GetWindowLongPtrW(hWnd, GWLP_USERDATA), 0);
    ::InvalidateRect(hWnd, nullptr, TRUE);
    ::UpdateWindow(hWnd);
    TestSupport::PumpMessages(20);
    EXPECT_TRUE(::DestroyWindow(hWnd));
}

namespace {

// Answers the skin failure box in the child process of the death test and
// reports whether it carried the expected texts.
DWORD WINAPI ReportFailureBox(void*)
{
    for (int i = 0; i < 500; ++i) {
        HWND box = ::FindWindowW(L"#32770", nullptr);
        if (box != nullptr) {
            wchar_t caption[64] = {};
            wchar_t text[64] = {};
            ::GetWindowTextW(box, caption, 64);
            ::GetDlgItemTextW(box, 0xFFFF, text, 64);
            const bool ok = std::wcscmp(caption, L"Veneer") == 0 &&
                            std::wcscmp(text, L"\u52A0\u8F7D\u8D44\u6E90\u6587\u4EF6\u5931\u8D25") == 0;
            std::fprintf(stderr, ok ? "failure box shown\n" : "unexpected box\n");
            std::fflush(stderr);
            ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            return 0;
        }
        ::Sleep(20);
    }
    return 0;
}

void OpenBrokenSkin()
{
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    HANDLE thread = ::CreateThread(nullptr, 0, ReportFailureBox, nullptr, 0, nullptr);
    SkinWindow window(SKIN_FOLDER, BUILDER_SKIN_RELDIR, L"no-such-skin.xml");
    window.Open();
    ::CloseHandle(thread);
}

}  // namespace

// Not a fixture test: the fixture answers message boxes itself.
TEST(WindowImplBaseDeath, SkinThatCannotBeBuiltEndsTheProcess)
{
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(OpenBrokenSkin(), ::testing::ExitedWithCode(1), "failure box shown");
}
