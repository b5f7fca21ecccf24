// The ActiveX host with an embeddable object of the test executable.
#include <gtest/gtest.h>

#include <algorithm>

#include "controls/VerticalLayoutUI.h"
#include "hosting/ActiveXUI.h"
#include "HostingWindow.h"
#include "TestObject.h"

using namespace Veneer;
using HostingTest::HostWindow;
using HostingTest::TestObject;

namespace {

const wchar_t kWindowlessId[] = L"{6A1C0E21-5B7D-4C39-9E52-1F0A7D3C8B01}";
const wchar_t kWindowedId[] = L"{6A1C0E21-5B7D-4C39-9E52-1F0A7D3C8B02}";

struct Host {
    HostingTest::OleScope ole;
    HostingTest::TestObjectRegistration registration;
    HostWindow window { 300, 200 };
    CVerticalLayoutUI* root { new CVerticalLayoutUI };
    CActiveXUI* activex { new CActiveXUI };

    Host()
    {
        activex->SetFixedHeight(100);
        root->Add(activex);
        root->Add(new CControlUI);
    }
};

bool Received(const TestObject& object, UINT msg)
{
    return std::find(object.messages.begin(), object.messages.end(), msg) != object.messages.end();
}

}  // namespace

TEST(ActiveXHost, DelayedWindowlessObjectIsCreatedAtFirstLayout)
{
    Host h;
    h.activex->SetAttribute(L"clsid", kWindowlessId);
    EXPECT_TRUE(h.activex->IsDelayCreate());
    h.window.Manager().AttachDialog(h.root);
    TestObject::last = nullptr;
    IUnknown* probe = nullptr;
    EXPECT_EQ(h.activex->GetControl(IID_IUnknown, reinterpret_cast<void**>(&probe)), E_PENDING);

    ::ShowWindow(h.window.Handle(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(h.window.Handle());
    HostWindow::Pump(30);
    ASSERT_NE(TestObject::last, nullptr);
    TestObject& object = *TestObject::last;
    // Windowless: the paint window hosts it and the rectangle is the control's.
    EXPECT_EQ(h.activex->GetHostWindow(), h.window.Handle());
    EXPECT_EQ(object.lastPos.top, 0);
    EXPECT_EQ(object.lastPos.bottom, 100);
    EXPECT_EQ(object.lastPos.right, 300);
    EXPECT_GT(object.draws, 0) << "the host paints a windowless object";

    // Keys only while the control has the framework focus.
    ::SendMessageW(h.window.Handle(), WM_KEYDOWN, 'A', 0);
    EXPECT_FALSE(Received(object, WM_KEYDOWN));
    // Mouse messages reach it only where it reports a hit (its left half).
    ::SendMessageW(h.window.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(250, 50));
    EXPECT_FALSE(Received(object, WM_LBUTTONDOWN));
    ::SendMessageW(h.window.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    EXPECT_TRUE(Received(object, WM_LBUTTONDOWN));
    // The click gave it the focus.
    ::SendMessageW(h.window.Handle(), WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(h.activex->IsFocused(), Received(object, WM_KEYDOWN));
}

TEST(ActiveXHost, ImmediateCreationByProgramId)
{
    Host h;
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\Veneer.HostingTestObject\\CLSID", 0,
                  nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    ::RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kWindowedId), sizeof(kWindowedId));
    ::RegCloseKey(key);

    h.window.Attach(h.root);
    TestObject::last = nullptr;
    h.activex->SetAttribute(L"delaycreate", L"false");
    h.activex->SetAttribute(L"clsid", L"Veneer.HostingTestObject");
    EXPECT_TRUE(::IsEqualCLSID(h.activex->GetClisd(), HostingTest::CLSID_TestWindowed));
    ASSERT_NE(TestObject::last, nullptr) << "created at once, before any layout";
    EXPECT_TRUE(h.activex->IsCreated());

    // Windowed: a child window of the host's own holds the object's window.
    HWND host = h.activex->GetHostWindow();
    ASSERT_TRUE(::IsWindow(host));
    EXPECT_EQ(::GetParent(host), h.window.Handle());
    EXPECT_EQ(::GetParent(TestObject::last->Window()), host);

    h.activex->SetPos(RECT { 10, 20, 110, 70 });
    RECT rc = {};
    ::GetWindowRect(host, &rc);
    EXPECT_EQ(rc.right - rc.left, 100);
    EXPECT_EQ(rc.bottom - rc.top, 50);
    EXPECT_EQ(TestObject::last->lastPos.left, 0) << "windowed objects get rectangles from their window's origin";

    h.activex->SetVisible(false);
    EXPECT_FALSE(::IsWindowVisible(host));
    h.activex->SetVisible(true);
    EXPECT_TRUE(::IsWindowVisible(host));
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\Veneer.HostingTestObject");
}

TEST(ActiveXHost, ReleasingLeavesNothingThatCallsBackIntoTheHost)
{
    Host h;
    h.activex->SetAttribute(L"clsid", kWindowedId);
    h.window.Attach(h.root);
    ASSERT_NE(TestObject::last, nullptr);
    TestObject* object = TestObject::last;
    object->AddRef();
    HWND host = h.activex->GetHostWindow();
    ASSERT_TRUE(::IsWindow(host));
    IOleClientSite* site = object->HeldSite();
    ASSERT_NE(site, nullptr);

    // One accelerator table per site, however often the object asks.
    IOleInPlaceSite* inPlace = nullptr;
    ASSERT_EQ(site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inPlace)), S_OK);
    HACCEL tables[2] = {};
    for (HACCEL& table : tables) {
        IOleInPlaceFrame* frame = nullptr;
        IOleInPlaceUIWindow* doc = nullptr;
        RECT pos = {}, clip = {};
        OLEINPLACEFRAMEINFO info = {};
        info.cb = sizeof(info);
        ASSERT_EQ(inPlace->GetWindowContext(&frame, &doc, &pos, &clip, &info), S_OK);
        table = info.haccel;
        EXPECT_EQ(info.hwndFrame, h.window.Handle());
        frame->Release();
    }
    EXPECT_NE(tables[0], nullptr);
    EXPECT_EQ(tables[0], tables[1]);

    // Re-creating releases the old object, its site and its window.
    TestObject::last = nullptr;
    ASSERT_TRUE(h.activex->CreateControl(kWindowlessId));
    h.root->SetPos(RECT { 0, 0, 300, 200 });
    EXPECT_TRUE(object->closed);
    EXPECT_TRUE(object->siteCleared);
    EXPECT_FALSE(::IsWindow(host));
    ASSERT_NE(TestObject::last, nullptr);
    EXPECT_NE(TestObject::last, object);

    // The old site still exists (the object holds it) but has no host.
    HWND hWnd = nullptr;
    EXPECT_EQ(inPlace->GetWindow(&hWnd), E_UNEXPECTED);
    IOleInPlaceSiteWindowless* windowless = nullptr;
    ASSERT_EQ(site->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&windowless)), S_OK);
    HDC dc = nullptr;
    EXPECT_EQ(windowless->GetDC(nullptr, 0, &dc), E_UNEXPECTED);
    EXPECT_EQ(windowless->InvalidateRect(nullptr, FALSE), E_UNEXPECTED);
    EXPECT_EQ(site->ShowObject(), E_UNEXPECTED);
    windowless->Release();
    inPlace->Release();
    object->Release();
}

TEST(ActiveXHost, SiteEnumeratesTheOneObject)
{
    Host h;
    h.activex->SetAttribute(L"clsid", kWindowlessId);
    h.window.Attach(h.root);
    ASSERT_NE(TestObject::last, nullptr);
    IOleClientSite* site = TestObject::last->HeldSite();
    IOleContainer* container = nullptr;
    ASSERT_EQ(site->GetContainer(&container), S_OK);
    IEnumUnknown* items = nullptr;
    ASSERT_EQ(container->EnumObjects(OLECONTF_EMBEDDINGS, &items), S_OK);
    IUnknown* item = nullptr;
    ULONG fetched = 0;
    EXPECT_EQ(items->Next(1, &item, &fetched), S_OK);
    EXPECT_EQ(fetched, 1u);
    ASSERT_NE(item, nullptr);
    item->Release();
    EXPECT_EQ(items->Next(1, &item, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);
    items->Reset();
    EXPECT_EQ(items->Next(1, &item, &fetched), S_OK);
    item->Release();

    // Asked for more than there is: the one object, and S_FALSE.
    items->Reset();
    IUnknown* two[2] = { nullptr, nullptr };
    EXPECT_EQ(items->Next(2, two, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 1u);
    ASSERT_NE(two[0], nullptr);
    two[0]->Release();
    // A huge skip does not wrap around to the start.
    items->Reset();
    EXPECT_EQ(items->Skip(0xFFFFFFFFu), S_OK);
    EXPECT_EQ(items->Next(1, &item, &fetched), S_FALSE);
    items->Release();
    container->Release();
}

TEST(ActiveXHost, UnknownClassFailsOnceAndIsNotRetried)
{
    Host h;
    EXPECT_FALSE(h.activex->CreateControl(CLSID_NULL));
    h.activex->SetAttribute(L"clsid", L"{00000000-0000-0000-0000-0000000000AB}");
    h.window.Attach(h.root);
    EXPECT_TRUE(h.activex->IsCreated());
    EXPECT_EQ(h.activex->GetHostWindow(), nullptr);
    IUnknown* probe = nullptr;
    EXPECT_EQ(h.activex->GetControl(IID_IUnknown, reinterpret_cast<void**>(&probe)), E_PENDING);
}

TEST(ActiveXHost, ModuleNameTakesTheClassFromThatModule)
{
    Host h;
    // The platform browser's class, taken from its module directly.
    h.activex->SetAttribute(L"modulename", L"ieframe.dll");
    h.activex->SetAttribute(L"clsid", L"{8856F961-340A-11D0-A96B-00C04FD705A2}");
    EXPECT_STREQ(h.activex->GetModuleName().GetData(), L"ieframe.dll");
    h.window.Attach(h.root);
    IUnknown* browser = nullptr;
    ASSERT_EQ(h.activex->GetControl(IID_IUnknown, reinterpret_cast<void**>(&browser)), S_OK);
    browser->Release();
    EXPECT_TRUE(::IsWindow(h.activex->GetHostWindow()));
}

TEST(ActiveXHost, FrameKeptByTheObjectOutlivesTheControlSafely)
{
    Host h;
    h.activex->SetAttribute(L"clsid", kWindowedId);
    h.window.Attach(h.root);
    ASSERT_NE(TestObject::last, nullptr);
    TestObject* object = TestObject::last;
    object->AddRef();
    IOleInPlaceSite* inPlace = nullptr;
    ASSERT_EQ(object->HeldSite()->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inPlace)), S_OK);
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* doc = nullptr;
    RECT pos = {}, clip = {};
    OLEINPLACEFRAMEINFO info = {};
    info.cb = sizeof(info);
    ASSERT_EQ(inPlace->GetWindowContext(&frame, &doc, &pos, &clip, &info), S_OK);
    EXPECT_EQ(pos.right - pos.left, 300) << "the child window's client area";
    HWND hWnd = nullptr;
    EXPECT_EQ(frame->GetWindow(&hWnd), S_OK);
    EXPECT_EQ(hWnd, h.window.Handle());

    ASSERT_TRUE(h.root->Remove(h.activex));
    h.activex = nullptr;
    HostWindow::Pump(30);
    EXPECT_TRUE(object->closed);
    hWnd = reinterpret_cast<HWND>(1);
    EXPECT_EQ(frame->GetWindow(&hWnd), E_UNEXPECTED) << "the frame knows its control is gone";
    EXPECT_EQ(hWnd, nullptr);
    frame->Release();
    inPlace->Release();
    object->Release();
}

TEST(ActiveXHost, WindowlessObjectActivatedTwiceGetsEachMessageOnce)
{
    Host h;
    h.activex->SetAttribute(L"clsid", kWindowlessId);
    h.window.Attach(h.root);
    ASSERT_NE(TestObject::last, nullptr);
    TestObject* object = TestObject::last;
    object->AddRef();
    ASSERT_EQ(object->InPlaceDeactivate(), S_OK);
    RECT rc = h.activex->GetPos();
    ASSERT_EQ(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, object->HeldSite(), 0, h.window.Handle(), &rc), S_OK);
    EXPECT_EQ(h.activex->GetHostWindow(), h.window.Handle());

    // Forwarded and left unhandled, so every registered filter would pass it on.
    object->messages.clear();
    ::SendMessageW(h.window.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(h.window.Handle()), MAKELPARAM(5, 5));
    EXPECT_EQ(std::count(object->messages.begin(), object->messages.end(), UINT(WM_CONTEXTMENU)), 1);

    // Nothing of the control stays behind in the window's filters.
    ASSERT_TRUE(h.root->Remove(h.activex));
    h.activex = nullptr;
    HostWindow::Pump(30);
    object->messages.clear();
    ::SendMessageW(h.window.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(h.window.Handle()), MAKELPARAM(5, 5));
    EXPECT_TRUE(object->messages.empty());
    object->Release();
}

TEST(ActiveXHost, ObjectInvisibleAtRunTimeGetsNoScreenDeviceContext)
{
    struct MiscStatus {
        MiscStatus() { TestObject::extraMiscStatus = OLEMISC_INVISIBLEATRUNTIME; }
        ~MiscStatus() { TestObject::extraMiscStatus = 0; }
    } invisible;
    Host h;
    h.activex->SetAttribute(L"clsid", kWindowlessId);
    h.window.Attach(h.root);
    ASSERT_NE(TestObject::last, nullptr);
    EXPECT_EQ(h.activex->GetHostWindow(), nullptr) << "never activated in place";
    IOleClientSite* site = TestObject::last->HeldSite();
    ASSERT_NE(site, nullptr);
    IOleInPlaceSiteWindowless* windowless = nullptr;
    ASSERT_EQ(site->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&windowless)), S_OK);
    HDC dc = reinterpret_cast<HDC>(1);
    EXPECT_EQ(windowless->GetDC(nullptr, OLEDC_PAINTBKGND, &dc), E_FAIL);
    EXPECT_EQ(dc, nullptr);
    EXPECT_EQ(site->ShowObject(), E_FAIL);
    EXPECT_EQ(windowless->InvalidateRect(nullptr, FALSE), E_FAIL);
    windowless->Release();
}

TEST(ActiveXHost, WindowlessHitTestsTakeTheCursorAndTheWheelPointInClientTerms)
{
    Host h;
    h.activex->SetAttribute(L"clsid", kWindowlessId);
    h.window.Attach(h.root);
    ASSERT_NE(TestObject::last, nullptr);
    TestObject& object = *TestObject::last;
    HWND hWnd = h.window.Handle();
    ::SetWindowPos(hWnd, nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    HostWindow::Pump(20);
    POINT origin = {};
    ::ClientToScreen(hWnd, &origin);
    ASSERT_EQ(origin.x, 200);

    // The object answers hits in its left half: client x below 150.
    object.messages.clear();
    ::SendMessageW(hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(origin.x + 250, origin.y + 50));
    EXPECT_FALSE(Received(object, WM_MOUSEWHEEL));
    ::SendMessageW(hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(origin.x + 50, origin.y + 50));
    EXPECT_TRUE(Received(object, WM_MOUSEWHEEL));

    const LPARAM setCursor = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    ASSERT_TRUE(::SetCursorPos(origin.x + 250, origin.y + 50));
    ::SendMessageW(hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hWnd), setCursor);
    EXPECT_FALSE(Received(object, WM_SETCURSOR));
    ASSERT_TRUE(::SetCursorPos(origin.x + 50, origin.y + 50));
    ::SendMessageW(hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hWnd), setCursor);
    EXPECT_TRUE(Received(object, WM_SETCURSOR));

    // A windowless object's in-place rectangles are the control's place.
    IOleInPlaceSite* inPlace = nullptr;
    ASSERT_EQ(object.HeldSite()->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inPlace)), S_OK);
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* doc = nullptr;
    RECT pos = { -1, -1, -1, -1 }, clip = { -1, -1, -1, -1 };
    OLEINPLACEFRAMEINFO info = {};
    ASSERT_EQ(inPlace->GetWindowContext(&frame, &doc, &pos, &clip, &info), S_OK);
    EXPECT_TRUE(::EqualRect(&pos, &h.activex->GetPos()));
    EXPECT_TRUE(::EqualRect(&clip, &h.activex->GetPos()));
    frame->Release();
    inPlace->Release();
}
