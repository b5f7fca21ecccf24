#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "controls/ContainerUI.h"
#include "engine/ControlUI.h"
#include "engine/PaintManagerUI.h"
#include "foundation/DialogBuilder.h"
#include "support/TestSupport.h"

using namespace Veneer;

namespace {

// A never shown window the paint manager can own: Window attributes apply
// only when the manager has one.
class HostWindow {
public:
    HostWindow()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"BuilderTestHost";
        ::RegisterClassW(&wc);
        m_hWnd = ::CreateWindowExW(0, L"BuilderTestHost", L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                   nullptr, ::GetModuleHandleW(nullptr), nullptr);
    }
    ~HostWindow() { ::DestroyWindow(m_hWnd); }
    HWND m_hWnd { nullptr };
};

class TrackedControl : public CControlUI {
public:
    explicit TrackedControl(int* destroyed) : m_destroyed(destroyed) {}
    ~TrackedControl() override { ++*m_destroyed; }
    LPCWSTR GetClass() const override { return L"TrackedUI"; }

private:
    int* m_destroyed;
};

class RefusingContainer : public CContainerUI {
public:
    bool Add(CControlUI*) override { return false; }
    LPCWSTR GetClass() const override { return L"RefusingUI"; }
};

class Callback : public IDialogBuilderCallback {
public:
    CControlUI* CreateControl(LPCWSTR pstrClass) override
    {
        asked.push_back(pstrClass);
        if (std::wcscmp(pstrClass, L"Tracked") == 0) return new TrackedControl(&destroyed);
        if (std::wcscmp(pstrClass, L"Refusing") == 0) return new RefusingContainer;
        return nullptr;
    }
    std::vector<std::wstring> asked;
    int destroyed { 0 };
};

IContainerUI* AsContainer(CControlUI* control)
{
    return control ? static_cast<IContainerUI*>(control->GetInterface(L"IContainer")) : nullptr;
}

std::wstring Name(CControlUI* control)
{
    return control ? std::wstring(control->GetName().GetData()) : L"<null>";
}

std::wstring LastError(const CDialogBuilder& builder)
{
    wchar_t text[100] = {};
    builder.GetLastErrorMessage(text, 100);
    return text;
}

bool SameRect(const RECT& rc, LONG l, LONG t, LONG r, LONG b)
{
    return rc.left == l && rc.top == t && rc.right == r && rc.bottom == b;
}

// Skin files are found through the resource folder by the markup parser.
bool MarkupFindsSkinFiles()
{
    CMarkup probe;
    return probe.LoadFromFile(L"part.xml");
}


class DialogBuilderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
        CPaintManagerUI::SetResourcePath(TestSupport::FixturePath(L"skins/sample/").c_str());
    }
};

}  // namespace

TEST_F(DialogBuilderTest, WindowAttributesReachTheManagerWhenItHasAWindow)
{
    HostWindow host;
    ASSERT_NE(host.m_hWnd, nullptr);
    CPaintManagerUI pm;
    pm.Init(host.m_hWnd);
    CDialogBuilder builder;
    CControlUI* root = builder.Create(
        L"<Window size=\"321,234\" caption=\"1,2,3,98\" sizebox=\"4,4,6,6\" roundcorner=\"5,7\""
        L" mininfo=\"100,80\" maxinfo=\"900,700\" showdirty=\"true\" shadow=\"true\""
        L" shadowimage=\"s.png\" shadowtopleft=\"0,0,8,8\" shadowtopright=\"12,0,8,8\""
        L" shadowbottomleft=\"0,12,8,8\" shadowbottomright=\"12,12,8,8\" alpha=\"200\""
        L" bktrans=\"true\" disabledfontcolor=\"#FF010203\" defaultfontcolor=\"#FF040506\""
        L" linkfontcolor=\"#FF070809\" linkhoverfontcolor=\"#FF0A0B0C\" selectedcolor=\"#FF0D0E0F\">"
        L"<Control name=\"c\"/></Window>",
        nullptr, nullptr, &pm);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(pm.GetInitSize().cx, 321);
    EXPECT_EQ(pm.GetInitSize().cy, 234);
    RECT rcWindow = {};
    ::GetWindowRect(host.m_hWnd, &rcWindow);
    EXPECT_EQ(rcWindow.right - rcWindow.left, 321) << "no root yet: the window takes the size";
    EXPECT_TRUE(SameRect(pm.GetCaptionRect(), 1, 2, 3, 98));
    EXPECT_TRUE(SameRect(pm.GetSizeBox(), 4, 4, 6, 6));
    EXPECT_EQ(pm.GetRoundCorner().cx, 5);
    EXPECT_EQ(pm.GetRoundCorner().cy, 7);
    EXPECT_EQ(pm.GetMinInfo().cx, 100);
    EXPECT_EQ(pm.GetMinInfo().cy, 80);
    EXPECT_EQ(pm.GetMaxInfo().cx, 900);
    EXPECT_EQ(pm.GetMaxInfo().cy, 700);
    EXPECT_TRUE(pm.IsShowUpdateRect());
    EXPECT_TRUE(pm.HasWindowShadow());
    EXPECT_STREQ(pm.GetWindowShadowImage().GetData(), L"s.png");
    // The middles are derived from the corners once the corners are in.
    const TWindowShadowInfo& shadow = pm.GetShadowSourceRects();
    EXPECT_TRUE(SameRect(shadow.rcTopLeft, 0, 0, 8, 8));
    EXPECT_TRUE(SameRect(shadow.rcTopRight, 12, 0, 20, 8));
    EXPECT_TRUE(SameRect(shadow.rcTopMiddle, 8, 0, 12, 8));
    EXPECT_TRUE(SameRect(shadow.rcLeftMiddle, 0, 8, 8, 12));
    EXPECT_EQ(pm.GetTransparent(), 200);
    EXPECT_NE(::GetWindowLongPtrW(host.m_hWnd, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    EXPECT_TRUE(pm.IsAlphaBackground());
    EXPECT_EQ(pm.GetDefaultDisabledColor(), 0xFF010203u);
    EXPECT_EQ(pm.GetDefaultFontColor(), 0xFF040506u);
    EXPECT_EQ(pm.GetDefaultLinkFontColor(), 0xFF070809u);
    EXPECT_EQ(pm.GetDefaultLinkHoverFontColor(), 0xFF0A0B0Cu);
    EXPECT_EQ(pm.GetDefaultSelectedBkColor(), 0xFF0D0E0Fu);
    delete root;
}

TEST_F(DialogBuilderTest, WindowAttributesApplyInDocumentOrder)
{
    HostWindow host;
    CPaintManagerUI pm;
    pm.Init(host.m_hWnd);
    CDialogBuilder builder;
    CControlUI* root = builder.Create(
        L"<Window caption=\"0,0,0,10\" size=\"50,40\" caption=\"0,0,0,98\"><Control/></Window>",
        nullptr, nullptr, &pm);
    ASSERT_NE(root, nullptr);
    EXPECT_TRUE(SameRect(pm.GetCaptionRect(), 0, 0, 0, 98));
    delete root;
}

TEST_F(DialogBuilderTest, WithoutAWindowOnlyResourcesRegister)
{
    CPaintManagerUI pm;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(
        L"<Window size=\"321,234\" caption=\"0,0,0,98\" sizebox=\"4,4,6,6\" roundcorner=\"5,5\">"
        L"<Image name=\"logo.png\" mask=\"#FFFF00FF\"/>"
        L"<Font name=\"Tahoma\" italic=\"true\"/>"
        L"<Font name=\"Arial\" size=\"14\" bold=\"true\" default=\"true\"/>"
        L"<Default name=\"Control\" value=\"tooltip=&quot;x&quot;\"/>"
        L"<Control name=\"c\"/></Window>",
        nullptr, nullptr, &pm);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(pm.GetInitSize().cx, 0);
    EXPECT_TRUE(SameRect(pm.GetCaptionRect(), 0, 0, 0, 0));
    EXPECT_TRUE(SameRect(pm.GetSizeBox(), 0, 0, 0, 0));
    EXPECT_EQ(pm.GetRoundCorner().cx, 0);

    ASSERT_EQ(pm.GetCustomFontCount(), 2u);
    TFontInfo* tahoma = pm.GetFontInfo(0);
    EXPECT_STREQ(tahoma->sFontName.GetData(), L"Tahoma");
    EXPECT_EQ(tahoma->iSize, 12) << "a Font without size is 12";
    EXPECT_TRUE(tahoma->bItalic);
    EXPECT_FALSE(tahoma->bBold);
    TFontInfo* def = pm.GetDefaultFontInfo();
    EXPECT_STREQ(def->sFontName.GetData(), L"Arial");
    EXPECT_EQ(def->iSize, 14);
    EXPECT_TRUE(def->bBold);

    EXPECT_STREQ(pm.GetDefaultAttributeList(L"Control"), L"tooltip=\"x\"");
    const TImageInfo* logo = pm.GetImage(L"logo.png");
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->nX, 8);
    EXPECT_EQ(logo->dwMask, 0xFFFF00FFu);
    delete root;
}

TEST_F(DialogBuilderTest, DefaultListComesBeforeTheElementsOwnAttributes)
{
    CPaintManagerUI pm;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(
        L"<Window><Default name=\"Control\" value=\"tooltip=&quot;from default&quot; "
        L"userdata=&quot;d&quot;\"/>"
        L"<Container name=\"box\"><Control name=\"own\" tooltip=\"mine\"/><Control name=\"plain\"/>"
        L"</Container></Window>",
        nullptr, nullptr, &pm);
    ASSERT_NE(root, nullptr);
    IContainerUI* box = AsContainer(root);
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(box->GetCount(), 2);
    CControlUI* own = box->GetItemAt(0);
    CControlUI* plain = box->GetItemAt(1);
    EXPECT_STREQ(own->GetToolTip().GetData(), L"mine");
    EXPECT_STREQ(own->GetUserData().GetData(), L"d");
    EXPECT_STREQ(plain->GetToolTip().GetData(), L"from default");
    // The list names elements: a Container is not configured by it.
    EXPECT_STREQ(root->GetToolTip().GetData(), L"");
    // Built controls are handed over detached; AttachDialog attaches them.
    EXPECT_EQ(root->GetManager(), nullptr);
    EXPECT_EQ(own->GetManager(), nullptr);
    delete root;
}

TEST_F(DialogBuilderTest, ElementAttributesApplyInDocumentOrder)
{
    CDialogBuilder builder;
    CControlUI* root = builder.Create(
        L"<Window><Container><Control name=\"widthlast\" pos=\"0,0,40,20\" width=\"55\"/>"
        L"<Control name=\"poslast\" width=\"55\" pos=\"0,0,40,20\"/></Container></Window>");
    ASSERT_NE(root, nullptr);
    IContainerUI* box = AsContainer(root);
    ASSERT_EQ(box->GetCount(), 2);
    EXPECT_EQ(box->GetItemAt(0)->GetFixedWidth(), 55);
    EXPECT_EQ(box->GetItemAt(0)->GetFixedHeight(), 20);
    EXPECT_EQ(box->GetItemAt(1)->GetFixedWidth(), 40);
    delete root;
}

TEST_F(DialogBuilderTest, UnknownElementIsSkippedWithItsSubtree)
{
    Callback callback;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(
        L"<Window><Container><Control name=\"before\"/><Unknown><Control name=\"inner\"/></Unknown>"
        L"<Control name=\"after\"/></Container></Window>",
        nullptr, &callback);
    ASSERT_NE(root, nullptr);
    IContainerUI* box = AsContainer(root);
    ASSERT_EQ(box->GetCount(), 2);
    EXPECT_EQ(Name(box->GetItemAt(0)), L"before");
    EXPECT_EQ(Name(box->GetItemAt(1)), L"after");
    ASSERT_EQ(callback.asked.size(), 1u);
    EXPECT_EQ(callback.asked[0], L"Unknown");
    delete root;
}

TEST_F(DialogBuilderTest, ElementNamesAreCaseSensitive)
{
    Callback callback;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(
        L"<Window><Container><control name=\"lower\"/><Control name=\"upper\"/></Container></Window>",
        nullptr, &callback);
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(AsContainer(root)->GetCount(), 1);
    EXPECT_EQ(Name(AsContainer(root)->GetItemAt(0)), L"upper");
    ASSERT_EQ(callback.asked.size(), 1u);
    EXPECT_EQ(callback.asked[0], L"control");
    delete root;
}

TEST_F(DialogBuilderTest, StockTableMapsElementNamesToClasses)
{
    const struct {
        const wchar_t* element;
        const wchar_t* cls;
    } rows[] = {
        { L"Text", L"TextUI" },
        { L"Label", L"LabelUI" },
        { L"Button", L"ButtonUI" },
        { L"Option", L"OptionUI" },
        { L"Control", L"ControlUI" },
        { L"CheckBox", L"CheckBoxUI" },
        { L"Container", L"ContainerUI" },
        { L"VerticalLayout", L"VerticalLayoutUI" },
        { L"HorizontalLayout", L"HorizontalLayoutUI" },
        { L"ScrollBar", L"ScrollBarUI" },
    };
    for (const auto& row : rows) {
        CControlUI* control = CDialogBuilder::CreateStockControl(row.element);
        ASSERT_NE(control, nullptr) << row.element;
        EXPECT_STREQ(control->GetClass(), row.cls);
        delete control;
    }
    EXPECT_EQ(CDialogBuilder::CreateStockControl(L"Controls"), nullptr);
    EXPECT_EQ(CDialogBuilder::CreateStockControl(L""), nullptr);
    EXPECT_EQ(CDialogBuilder::CreateStockControl(nullptr), nullptr);
}

TEST_F(DialogBuilderTest, CallbackBuildsNamesTheTableDoesNotKnow)
{
    Callback callback;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(L"<Window><Container><Tracked name=\"t\"/></Container></Window>",
                                      nullptr, &callback);
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(AsContainer(root)->GetCount(), 1);
    EXPECT_STREQ(AsContainer(root)->GetItemAt(0)->GetClass(), L"TrackedUI");
    EXPECT_EQ(Name(AsContainer(root)->GetItemAt(0)), L"t");
    delete root;
    EXPECT_EQ(callback.destroyed, 1);
}

namespace {

int g_pluginCalls = 0;

CControlUI* PluginDeclines(LPCWSTR)
{
    ++g_pluginCalls;
    return nullptr;
}

CControlUI* PluginMakesGauges(LPCWSTR pstrClass)
{
    ++g_pluginCalls;
    if (std::wcscmp(pstrClass, L"Gauge") != 0) return nullptr;
    CControlUI* gauge = new CControlUI;
    gauge->SetUserData(L"from plugin");
    return gauge;
}

}  // namespace

TEST_F(DialogBuilderTest, PluginsComeBeforeTheCallbackInRegistrationOrder)
{
    CStdPtrArray* plugins = CPaintManagerUI::GetPlugins();
    const int registered = plugins->GetSize();
    plugins->Add(reinterpret_cast<void*>(&PluginDeclines));
    plugins->Add(reinterpret_cast<void*>(&PluginMakesGauges));
    g_pluginCalls = 0;
    Callback callback;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(
        L"<Window><Container><Gauge name=\"g\"/><Tracked/><Control/></Container></Window>",
        nullptr, &callback);
    while (plugins->GetSize() > registered) plugins->Remove(plugins->GetSize() - 1);
    ASSERT_NE(root, nullptr);
    IContainerUI* box = AsContainer(root);
    ASSERT_EQ(box->GetCount(), 3);
    EXPECT_STREQ(box->GetItemAt(0)->GetUserData().GetData(), L"from plugin");
    EXPECT_STREQ(box->GetItemAt(1)->GetClass(), L"TrackedUI");
    // Gauge: both plugins; Tracked: both plugins, then the callback; the
    // stock Control and Container never reach a plugin.
    EXPECT_EQ(g_pluginCalls, 4);
    ASSERT_EQ(callback.asked.size(), 1u);
    EXPECT_EQ(callback.asked[0], L"Tracked");
    delete root;
}

TEST_F(DialogBuilderTest, ChildOfANonContainerIsNotAttachedAndNotLeaked)
{
    Callback callback;
    CPaintManagerUI pm;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(
        L"<Window><Container><Tracked name=\"outer\"><Tracked name=\"inner\"/></Tracked>"
        L"<Control name=\"sibling\"/></Container></Window>",
        nullptr, &callback, &pm);
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(AsContainer(root)->GetCount(), 2);
    EXPECT_EQ(Name(AsContainer(root)->GetItemAt(0)), L"outer");
    EXPECT_EQ(callback.destroyed, 1) << "the inner control has no place and is deleted";
    delete root;
    EXPECT_EQ(callback.destroyed, 2);
}

TEST_F(DialogBuilderTest, RefusedChildIsDeletedAndTheSiblingsStillTried)
{
    Callback callback;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(
        L"<Window><Refusing><Tracked/><Tracked/></Refusing></Window>", nullptr, &callback);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(AsContainer(root)->GetCount(), 0);
    EXPECT_EQ(callback.destroyed, 2);
    delete root;
}

TEST_F(DialogBuilderTest, ParentThatIsNoContainerStopsThePass)
{
    Callback callback;
    CControlUI parent;
    CDialogBuilder builder;
    CControlUI* result = builder.Create(L"<Window><Tracked/><Tracked/></Window>", nullptr,
                                        &callback, nullptr, &parent);
    EXPECT_EQ(result, nullptr);
    EXPECT_EQ(callback.destroyed, 1) << "the first control is deleted, the pass stops";
    EXPECT_EQ(callback.asked.size(), 1u);
}

TEST_F(DialogBuilderTest, OnlyTheFirstTopLevelControlIsKeptWithoutAParent)
{
    Callback callback;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(
        L"<Window><Tracked name=\"a\"/><Tracked name=\"b\"/><Tracked name=\"c\"/></Window>", nullptr,
        &callback);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(Name(root), L"a");
    EXPECT_EQ(callback.destroyed, 2);
    delete root;
}

TEST_F(DialogBuilderTest, ExistingParentReceivesTheControls)
{
    CContainerUI parent;
    CDialogBuilder builder;
    CControlUI* first = builder.Create(L"<Window><Control name=\"a\"/><Control name=\"b\"/></Window>",
                                       nullptr, nullptr, nullptr, &parent);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(Name(first), L"a");
    ASSERT_EQ(parent.GetCount(), 2);
    EXPECT_EQ(parent.GetItemAt(0), first);
}

TEST_F(DialogBuilderTest, IncludeBuildsTheIncludedSkinCountTimes)
{
    if (!MarkupFindsSkinFiles())
        GTEST_SKIP() << "CMarkup::LoadFromFile does not look in the resource folder yet";
    CPaintManagerUI pm;
    CDialogBuilder builder;
    CControlUI* root = builder.Create(
        L"<Window><VerticalLayout name=\"host\"><Control name=\"first\"/>"
        L"<Include source=\"part.xml\" count=\"3\"/><Include count=\"2\"/></VerticalLayout></Window>",
        nullptr, nullptr, &pm);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(Name(root), L"host") << "included controls never become the result";
    IContainerUI* host = AsContainer(root);
    ASSERT_EQ(host->GetCount(), 4);
    for (int i = 1; i < 4; ++i) {
        CControlUI* included = host->GetItemAt(i);
        EXPECT_EQ(Name(included), L"included");
        EXPECT_STREQ(included->GetClass(), L"HorizontalLayoutUI");
        ASSERT_EQ(AsContainer(included)->GetCount(), 1);
        EXPECT_EQ(Name(AsContainer(included)->GetItemAt(0)), L"includedchild");
    }
    // The included skin's own resources reach the manager too.
    EXPECT_GE(pm.GetCustomFontCount(), 1u);
    EXPECT_STREQ(pm.GetFontInfo(0)->sFontName.GetData(), L"Courier New");
    delete root;
}

TEST_F(DialogBuilderTest, SkinThatIncludesItselfStops)
{
    if (!MarkupFindsSkinFiles())
        GTEST_SKIP() << "CMarkup::LoadFromFile does not look in the resource folder yet";
    CDialogBuilder builder;
    CControlUI* root = builder.Create(L"selfinclude.xml");
    ASSERT_NE(root, nullptr);
    int depth = 1;
    for (CControlUI* level = root; AsContainer(level) && AsContainer(level)->GetCount() > 0;
         level = AsContainer(level)->GetItemAt(0))
        ++depth;
    EXPECT_GT(depth, 2);
    EXPECT_LT(depth, 40);
    delete root;
}

TEST_F(DialogBuilderTest, SkinFromAFileOfTheResourceFolder)
{
    if (!MarkupFindsSkinFiles())
        GTEST_SKIP() << "CMarkup::LoadFromFile does not look in the resource folder yet";
    CDialogBuilder builder;
    CControlUI* root = builder.Create(L"part.xml");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(Name(root), L"included");
    delete root;
}

TEST_F(DialogBuilderTest, SkinFromAResourceIncludesByResourceNumber)
{
    CDialogBuilder builder;
    CControlUI* root = builder.Create(STRINGorID(2402), L"xml");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(Name(root), L"root");
    IContainerUI* top = AsContainer(root);
    ASSERT_NE(top, nullptr);
    int included = 0;
    for (int i = 0; i < top->GetCount(); ++i)
        if (Name(top->GetItemAt(i)) == L"included") ++included;
    EXPECT_EQ(included, 2);
    delete root;
}

TEST_F(DialogBuilderTest, LoadFailuresReturnNull)
{
    {
        CDialogBuilder builder;
        EXPECT_EQ(builder.Create(L"no-such-skin.xml"), nullptr);
        EXPECT_EQ(LastError(builder), L"Error opening file");
    }
    {
        CDialogBuilder builder;
        EXPECT_EQ(builder.Create(L"<Window><Control></Window>"), nullptr);
        EXPECT_FALSE(LastError(builder).empty());
    }
    {
        CDialogBuilder builder;
        EXPECT_EQ(builder.Create(STRINGorID(2499), L"xml"), nullptr) << "missing resource";
        EXPECT_EQ(builder.Create(STRINGorID(2402), L"NOSUCHTYPE"), nullptr);
    }
    {
        CDialogBuilder builder;
        EXPECT_EQ(builder.Create(), nullptr) << "nothing loaded";
    }
}
