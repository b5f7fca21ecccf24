// Message routing of the paint manager on a real window: mouse, keyboard,
// timers, focus, notifications and removal of controls while events flow.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "engine/PaintManagerTestKit.h"

using namespace Veneer;
using namespace PaintManagerTestKit;

namespace {

// A 200x120 window: A (10,10)-(60,40), B (100,10)-(150,40), disabled C
// (10,60)-(60,90); the rest is the root box.
class PaintManagerRouting : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = std::make_unique<HostWindow>(200, 120);
        ASSERT_NE(nullptr, host->hwnd);
        pm = &host->manager;
        root = new BoxUI(L"root");
        a = root->Add(new ProbeUI(L"A"), RECT { 10, 10, 60, 40 });
        b = root->Add(new ProbeUI(L"B"), RECT { 100, 10, 150, 40 });
        c = root->Add(new ProbeUI(L"C"), RECT { 10, 60, 60, 90 });
        c->SetEnabled(false);
        a->sink = &aLog;
        ASSERT_TRUE(pm->AttachDialog(root));
        pm->AddNotifier(&log);
        // Keep the real pointer over the window so leave tracking stays quiet.
        RECT rc;
        ::GetWindowRect(host->hwnd, &rc);
        ::SetCursorPos(rc.left + 180, rc.top + 100);
        ::UpdateWindow(host->hwnd);
        Pump();
        ClearEvents();
    }

    void TearDown() override
    {
        pm->RemoveNotifier(&log);
        host.reset();
    }

    void ClearEvents()
    {
        for (ProbeUI* p : { a, b, c }) p->m_events.clear();
        aLog.clear();
        log.types.clear();
        log.senders.clear();
    }

    void Post(UINT msg, WPARAM wParam, LPARAM lParam)
    {
        ::PostMessageW(host->hwnd, msg, wParam, lParam);
        Pump();
    }

    static std::vector<int> MouseTypes(const ProbeUI* p)
    {
        std::vector<int> types;
        for (const TEventUI& e : p->m_events) {
            if (e.Type > EVENT__MOUSEBEGIN && e.Type < EVENT__MOUSEEND && e.Type != EVENT_MOUSEHOVER) {
                types.push_back(e.Type);
            }
        }
        return types;
    }

    std::unique_ptr<HostWindow> host;
    CPaintManagerUI* pm { nullptr };
    BoxUI* root { nullptr };
    ProbeUI* a { nullptr };
    ProbeUI* b { nullptr };
    ProbeUI* c { nullptr };
    std::vector<int> aLog;
    NotifyLog log;
};

}  // namespace

TEST_F(PaintManagerRouting, FirstPaintLaysOutAndSendsWindowInitOnce)
{
    RECT client;
    ::GetClientRect(host->hwnd, &client);
    EXPECT_TRUE(::EqualRect(&client, &root->GetPos()));
    EXPECT_EQ(100, b->GetPos().left);
    EXPECT_EQ(40, b->GetPos().bottom);
    EXPECT_FALSE(root->IsUpdateNeeded());
    // SetUp cleared the log; count again from a fresh window.
    HostWindow second(120, 80);
    NotifyLog secondLog;
    second.manager.AddNotifier(&secondLog);
    BoxUI* secondRoot = new BoxUI(L"r");
    second.manager.AttachDialog(secondRoot);
    for (int i = 0; i < 3; ++i) {
        ::InvalidateRect(second.hwnd, nullptr, FALSE);
        ::UpdateWindow(second.hwnd);
        Pump();
    }
    EXPECT_EQ(1, secondLog.Count(L"windowinit"));
    ASSERT_FALSE(secondLog.senders.empty());
    EXPECT_EQ(secondRoot, secondLog.senders[0]);
    second.manager.RemoveNotifier(&secondLog);
}

TEST_F(PaintManagerRouting, ClickNeedsPressAndReleaseOverTheSameEnabledControl)
{
    Post(WM_LBUTTONDOWN, MK_LBUTTON, Point(20, 20));
    EXPECT_EQ(host->hwnd, ::GetCapture());
    EXPECT_TRUE(pm->IsCaptured());
    Post(WM_LBUTTONUP, 0, Point(25, 25));
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(1, log.Count(L"click"));
    EXPECT_EQ(a, log.senders.back());

    // Pressed on A, released on B: A gets the release, nobody clicks.
    log.types.clear();
    Post(WM_LBUTTONDOWN, MK_LBUTTON, Point(20, 20));
    Post(WM_LBUTTONUP, 0, Point(120, 20));
    EXPECT_EQ(0, log.Count(L"click"));
    EXPECT_EQ(2, a->Count(EVENT_BUTTONUP));
    EXPECT_EQ(0, b->Count(EVENT_BUTTONUP));
    EXPECT_EQ(0, b->Count(EVENT_BUTTONDOWN));

    // A disabled control receives the press but never clicks.
    Post(WM_LBUTTONDOWN, MK_LBUTTON, Point(20, 70));
    Post(WM_LBUTTONUP, 0, Point(20, 70));
    EXPECT_EQ(1, c->Count(EVENT_BUTTONDOWN));
    EXPECT_EQ(0, log.Count(L"click"));
}

TEST_F(PaintManagerRouting, ReleaseOutsideTheWindowStillReachesThePressedControl)
{
    Post(WM_LBUTTONDOWN, MK_LBUTTON, Point(20, 20));
    Post(WM_MOUSEMOVE, MK_LBUTTON, Point(120, 20));  // over B while held
    Post(WM_LBUTTONUP, 0, Point(-30, 500));
    ASSERT_EQ(1, a->Count(EVENT_BUTTONUP));
    const TEventUI& up = a->m_events.back();
    EXPECT_EQ(-30, up.ptMouse.x);
    EXPECT_EQ(500, up.ptMouse.y);
    EXPECT_EQ(0, log.Count(L"click"));
    // The move while held went to A, B only became hot.
    EXPECT_EQ(0, b->Count(EVENT_MOUSEMOVE));
    EXPECT_EQ(1, b->Count(EVENT_MOUSEENTER));
    EXPECT_GE(a->Count(EVENT_MOUSEMOVE), 1);
}

TEST_F(PaintManagerRouting, HotTrackingLeaveEnterMoveInOrder)
{
    Post(WM_MOUSEMOVE, 0, Point(20, 20));
    EXPECT_EQ((std::vector<int> { EVENT_MOUSEENTER, EVENT_MOUSEMOVE }), MouseTypes(a));
    a->m_events.clear();
    ::PostMessageW(host->hwnd, WM_MOUSEMOVE, 0, Point(120, 20));
    Pump();
    EXPECT_EQ((std::vector<int> { EVENT_MOUSELEAVE }), MouseTypes(a));
    EXPECT_EQ((std::vector<int> { EVENT_MOUSEENTER, EVENT_MOUSEMOVE }), MouseTypes(b));
    // Leaving the window turns into a move to (-1, -1): the hot control leaves.
    b->m_events.clear();
    Post(WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ((std::vector<int> { EVENT_MOUSELEAVE }), MouseTypes(b));
    EXPECT_EQ(-1, pm->GetMousePos().x);
    EXPECT_EQ(-1, pm->GetMousePos().y);
}

TEST_F(PaintManagerRouting, EventsCarryPointKeysAndParameters)
{
    Post(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, Point(30, 15));
    ASSERT_EQ(1, a->Count(EVENT_BUTTONDOWN));
    const TEventUI* down = nullptr;
    for (const TEventUI& e : a->m_events) {
        if (e.Type == EVENT_BUTTONDOWN) down = &e;
    }
    ASSERT_NE(nullptr, down);
    EXPECT_EQ(a, down->pSender);
    EXPECT_EQ(30, down->ptMouse.x);
    EXPECT_EQ(15, down->ptMouse.y);
    EXPECT_EQ(MK_LBUTTON | MK_SHIFT, down->wKeyState);
    EXPECT_NE(0u, down->dwTimestamp);
    EXPECT_TRUE(a->IsFocused());  // a press gives the focus
    Post(WM_LBUTTONUP, 0, Point(30, 15));

    // Wheel: down for a negative delta, then a move at the last point.
    RECT rc;
    ::GetWindowRect(host->hwnd, &rc);
    Post(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(rc.left + 120, rc.top + 20));
    ASSERT_EQ(1, b->Count(EVENT_SCROLLWHEEL));
    for (const TEventUI& e : b->m_events) {
        if (e.Type == EVENT_SCROLLWHEEL) {
            EXPECT_EQ(static_cast<WPARAM>(SB_LINEDOWN), e.wParam);
        }
    }
    EXPECT_GE(b->Count(EVENT_MOUSEMOVE), 1);
}

TEST_F(PaintManagerRouting, ContextMenuGoesToTheRightPressedControl)
{
    b->SetContextMenuUsed(true);
    Post(WM_RBUTTONDOWN, MK_RBUTTON, Point(120, 20));
    EXPECT_EQ(1, b->Count(EVENT_RBUTTONDOWN));
    RECT rc;
    ::GetWindowRect(host->hwnd, &rc);
    Post(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(host->hwnd), MAKELPARAM(rc.left + 121, rc.top + 22));
    ASSERT_EQ(1, b->Count(EVENT_CONTEXTMENU));
    const TEventUI& menu = b->m_events.back();
    EXPECT_EQ(reinterpret_cast<LPARAM>(b), menu.lParam);
    EXPECT_EQ(121, menu.ptMouse.x);
    EXPECT_EQ(1, log.Count(L"menu"));
    EXPECT_FALSE(pm->IsCaptured());
}

TEST_F(PaintManagerRouting, KeysGoToTheFocusAndReleaseToTheKeyControl)
{
    pm->SetFocus(a);
    Post(WM_KEYDOWN, 'X', 0);
    Post(WM_CHAR, L'q', 0);
    pm->SetFocus(b);
    Post(WM_KEYUP, 'X', 0);
    EXPECT_EQ(1, a->Count(EVENT_KEYDOWN));
    EXPECT_GE(a->Count(EVENT_CHAR), 1);  // the posted one, maybe also one translated from the key
    bool posted = false;
    for (const TEventUI& e : a->m_events) posted = posted || (e.Type == EVENT_CHAR && e.chKey == L'q');
    EXPECT_TRUE(posted);
    EXPECT_EQ(1, a->Count(EVENT_KEYUP));  // the control that got the key down
    EXPECT_EQ(0, b->Count(EVENT_KEYUP));
    for (const TEventUI& e : a->m_events) {
        if (e.Type == EVENT_KEYDOWN) {
            EXPECT_EQ(L'X', e.chKey);
        }
    }
    Post(WM_SYSKEYDOWN, VK_F5, 0);
    EXPECT_EQ(1, b->Count(EVENT_SYSKEY));
    // A window size change tells the focused control.
    ::SetWindowPos(host->hwnd, nullptr, 0, 0, 220, 130, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    EXPECT_EQ(1, b->Count(EVENT_WINDOWSIZE));
    RECT client;
    ::GetClientRect(host->hwnd, &client);
    EXPECT_TRUE(::EqualRect(&client, &root->GetPos()));
}

TEST_F(PaintManagerRouting, FocusNotifications)
{
    pm->SetFocus(a);
    EXPECT_EQ(a, pm->GetFocus());
    EXPECT_TRUE(a->IsFocused());
    pm->SetFocus(b);
    EXPECT_FALSE(a->IsFocused());
    EXPECT_TRUE(b->IsFocused());
    EXPECT_EQ((std::vector<std::wstring> { L"setfocus", L"killfocus", L"setfocus" }), log.types);
    ASSERT_EQ(1, a->Count(EVENT_KILLFOCUS));
    for (const TEventUI& e : a->m_events) {
        if (e.Type == EVENT_KILLFOCUS) {
            EXPECT_EQ(b, e.pSender);
        }  // the new focus
    }
    pm->SetFocus(c);  // disabled: the old focus goes, nothing takes it
    EXPECT_EQ(nullptr, pm->GetFocus());
    pm->SetFocus(b);
    b->SetVisible(false);
    EXPECT_EQ(nullptr, pm->GetFocus());
}

namespace {

void PressTab(HWND hwnd, bool shift)
{
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    ::SetKeyboardState(keys);
    ::PostMessageW(hwnd, WM_KEYDOWN, VK_TAB, 0);
    Pump();
    keys[VK_SHIFT] = 0;
    ::SetKeyboardState(keys);
}

}  // namespace

TEST(PaintManagerTabs, TabOrderWrapsBothWays)
{
    HostWindow host(200, 100);
    BoxUI* root = new BoxUI(L"root");
    ProbeUI* first = root->Add(new ProbeUI(L"first"), RECT { 0, 0, 10, 10 });
    ProbeUI* plain = root->Add(new ProbeUI(L"plain"), RECT { 20, 0, 30, 10 });
    ProbeUI* second = root->Add(new ProbeUI(L"second"), RECT { 40, 0, 50, 10 });
    ProbeUI* hidden = root->Add(new ProbeUI(L"hidden"), RECT { 60, 0, 70, 10 });
    ProbeUI* last = root->Add(new ProbeUI(L"last"), RECT { 80, 0, 90, 10 });
    for (ProbeUI* p : { first, second, hidden, last }) p->m_flags = FLAG_TABSTOP;
    (void)plain;
    hidden->SetVisible(false);
    host.manager.AttachDialog(root);
    ::UpdateWindow(host.hwnd);
    Pump();
    // The first paint after attaching focuses the first tab stop.
    EXPECT_EQ(first, host.manager.GetFocus());
    PressTab(host.hwnd, false);
    EXPECT_EQ(second, host.manager.GetFocus());
    PressTab(host.hwnd, false);
    EXPECT_EQ(last, host.manager.GetFocus());
    PressTab(host.hwnd, false);
    EXPECT_EQ(first, host.manager.GetFocus());
    PressTab(host.hwnd, true);
    EXPECT_EQ(last, host.manager.GetFocus());
    PressTab(host.hwnd, true);
    EXPECT_EQ(second, host.manager.GetFocus());

    host.manager.SetFocus(nullptr);
    PressTab(host.hwnd, true);
    EXPECT_EQ(last, host.manager.GetFocus());
    host.manager.SetFocus(nullptr);
    PressTab(host.hwnd, false);
    EXPECT_EQ(first, host.manager.GetFocus());

    // With a layout pending, Tab waits for the next paint.
    host.manager.NeedUpdate();
    EXPECT_TRUE(host.manager.SetNextTabControl(true));
    EXPECT_EQ(first, host.manager.GetFocus());
    ::UpdateWindow(host.hwnd);
    Pump();
    EXPECT_EQ(second, host.manager.GetFocus());

    // SetFocusNeeded lands on the control at the next paint.
    host.manager.SetFocusNeeded(last);
    ::UpdateWindow(host.hwnd);
    Pump();
    EXPECT_EQ(last, host.manager.GetFocus());
}

namespace {

class LabelProbeUI : public ProbeUI {
public:
    using ProbeUI::ProbeUI;
    LPCWSTR GetClass() const override { return L"TestLabelUI"; }
    bool HandsShortcutOn() const override { return true; }
};

}  // namespace

TEST(PaintManagerTabs, AltShortcutsFocusAndActivate)
{
    HostWindow host(200, 100);
    BoxUI* root = new BoxUI(L"root");
    ProbeUI* edit = root->Add(new ProbeUI(L"edit"), RECT { 60, 0, 90, 10 });
    LabelProbeUI* label = root->Add(new LabelProbeUI(L"label"), RECT { 0, 0, 50, 10 });
    ProbeUI* button = root->Add(new ProbeUI(L"button"), RECT { 100, 0, 150, 10 });
    label->SetShortcut(L'n');
    button->SetShortcut(L'\x00e9');  // é: case mapping beyond ASCII
    host.manager.AttachDialog(root);
    ::UpdateWindow(host.hwnd);
    Pump();
    LRESULT lRes = 0;
    // The tree is searched last child first: after the label comes the edit.
    EXPECT_TRUE(host.manager.PreMessageHandler(WM_SYSCHAR, L'N', 0, lRes));
    EXPECT_EQ(edit, host.manager.GetFocus());
    EXPECT_TRUE(host.manager.PreMessageHandler(WM_SYSCHAR, L'\x00c9', 0, lRes));
    EXPECT_EQ(button, host.manager.GetFocus());
    EXPECT_FALSE(host.manager.PreMessageHandler(WM_SYSCHAR, L'Q', 0, lRes));
}

namespace {

// A plug-in label: straight from the control base, named like a label, and
// saying nothing about shortcuts itself.
class GameLabelUI : public CControlUI {
public:
    LPCWSTR GetClass() const override { return L"GameLabelUI"; }
};

}  // namespace

TEST(PaintManagerTabs, PlugInLabelsHandTheirShortcutOnByClassName)
{
    GameLabelUI plain;
    EXPECT_TRUE(plain.HandsShortcutOn());
    EXPECT_FALSE(CControlUI().HandsShortcutOn());

    HostWindow host(200, 100);
    BoxUI* root = new BoxUI(L"root");
    ProbeUI* edit = root->Add(new ProbeUI(L"edit"), RECT { 60, 0, 90, 10 });
    GameLabelUI* label = root->Add(new GameLabelUI, RECT { 0, 0, 50, 10 });
    label->SetShortcut(L'g');
    host.manager.AttachDialog(root);
    ::UpdateWindow(host.hwnd);
    Pump();
    LRESULT lRes = 0;
    // Last child first: the label marks the shortcut found, the edit after it takes it.
    EXPECT_TRUE(host.manager.PreMessageHandler(WM_SYSCHAR, L'G', 0, lRes));
    EXPECT_EQ(edit, host.manager.GetFocus());
    EXPECT_NE(label, host.manager.GetFocus());
}

TEST_F(PaintManagerRouting, TimersStartFireStopAndRestart)
{
    EXPECT_TRUE(pm->SetTimer(a, 7, 15));
    EXPECT_FALSE(pm->SetTimer(a, 7, 15));
    Pump(150);
    int fired = a->Count(EVENT_TIMER);
    EXPECT_GE(fired, 2);
    for (const TEventUI& e : a->m_events) {
        if (e.Type == EVENT_TIMER) {
            EXPECT_EQ(7u, e.wParam);
        }
    }
    EXPECT_GE(log.Count(L"timer"), 2);  // the base control turns it into a notification
    EXPECT_TRUE(pm->KillTimer(a, 7));
    EXPECT_FALSE(pm->KillTimer(a, 7));
    Pump(80);
    int afterKill = a->Count(EVENT_TIMER);
    Pump(80);
    EXPECT_EQ(afterKill, a->Count(EVENT_TIMER));
    EXPECT_TRUE(pm->SetTimer(a, 7, 15));
    Pump(100);
    EXPECT_GT(a->Count(EVENT_TIMER), afterKill);
    pm->KillTimer(a);
    EXPECT_FALSE(pm->KillTimer(a, 7));  // the record is gone
}

TEST_F(PaintManagerRouting, TimerStopsWithItsControl)
{
    EXPECT_TRUE(pm->SetTimer(a, 1, 10));
    Pump(60);
    EXPECT_GE(std::count(aLog.begin(), aLog.end(), EVENT_TIMER), 1);
    root->Remove(a);
    aLog.clear();
    int destroyedBefore = ProbeUI::s_destroyed;
    Pump(80);
    EXPECT_EQ(destroyedBefore + 1, ProbeUI::s_destroyed);
    EXPECT_EQ(0, std::count(aLog.begin(), aLog.end(), EVENT_TIMER));
    EXPECT_FALSE(pm->KillTimer(a, 1));
}

TEST_F(PaintManagerRouting, QueuedNotificationsArriveAfterTheHandlerInOrder)
{
    size_t seenInsideHandler = 0;
    log.onNotify = [this, &seenInsideHandler](TNotifyUI& msg) {
        if (msg.sType == L"click") {
            pm->SendNotify(b, L"later1", 1, 2, true);
            pm->SendNotify(b, L"later2", 0, 0, true);
            seenInsideHandler = log.types.size();
        }
    };
    Post(WM_LBUTTONDOWN, MK_LBUTTON, Point(20, 20));
    Post(WM_LBUTTONUP, 0, Point(20, 20));
    EXPECT_EQ(2u, seenInsideHandler);  // setfocus and click: the queued ones wait
    ASSERT_EQ(4u, log.types.size());
    EXPECT_EQ(L"click", log.types[1]);
    EXPECT_EQ(L"later1", log.types[2]);
    EXPECT_EQ(L"later2", log.types[3]);
    EXPECT_EQ(b, log.senders[2]);

    // Queued outside any handler: delivered when the window next handles a message.
    pm->SendNotify(a, L"idle", 0, 0, true);
    EXPECT_EQ(4u, log.types.size());
    ::SendMessageW(host->hwnd, WM_NULL, 0, 0);
    ASSERT_EQ(5u, log.types.size());
    EXPECT_EQ(L"idle", log.types[4]);
}

TEST_F(PaintManagerRouting, ControlRemovedInItsOwnHandlerIsDeletedLater)
{
    int destroyedBefore = ProbeUI::s_destroyed;
    a->onEvent = [this](ProbeUI* self, TEventUI& event) {
        if (event.Type == EVENT_BUTTONUP) root->Remove(self);
    };
    Post(WM_MOUSEMOVE, 0, Point(20, 20));
    ::PostMessageW(host->hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(20, 20));
    ::PostMessageW(host->hwnd, WM_LBUTTONUP, 0, Point(20, 20));
    ::PostMessageW(host->hwnd, WM_MOUSEMOVE, 0, Point(22, 22));
    Pump();
    EXPECT_EQ(destroyedBefore + 1, ProbeUI::s_destroyed);
    EXPECT_EQ(1, log.Count(L"click"));  // the handler finished on a live control
    EXPECT_EQ(nullptr, pm->FindControl(L"A"));
    EXPECT_EQ(nullptr, pm->GetFocus());
    // Later input over the old place reaches the root only.
    aLog.clear();
    Post(WM_LBUTTONDOWN, MK_LBUTTON, Point(20, 20));
    Post(WM_LBUTTONUP, 0, Point(20, 20));
    EXPECT_TRUE(aLog.empty());
}

TEST_F(PaintManagerRouting, ControlRemovedWhileCapturedGetsNoMoreEvents)
{
    a->onEvent = [this](ProbeUI* self, TEventUI& event) {
        if (event.Type == EVENT_BUTTONDOWN) root->Remove(self);
    };
    ::PostMessageW(host->hwnd, WM_MOUSEMOVE, 0, Point(20, 20));
    ::PostMessageW(host->hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(20, 20));
    // Everything below reaches the manager before the deletion message.
    ::PostMessageW(host->hwnd, WM_MOUSEMOVE, MK_LBUTTON, Point(25, 25));
    ::PostMessageW(host->hwnd, WM_KEYDOWN, 'K', 0);
    ::PostMessageW(host->hwnd, WM_LBUTTONUP, 0, Point(25, 25));
    Pump();
    EXPECT_EQ((std::vector<int> { EVENT_MOUSEENTER, EVENT_MOUSEMOVE, EVENT_SETFOCUS, EVENT_BUTTONDOWN }), aLog);
    EXPECT_FALSE(pm->IsCaptured());
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(0, log.Count(L"click"));
}

TEST_F(PaintManagerRouting, PostPaintControlRemovedIsNotPaintedAgain)
{
    a->m_rcPost = RECT { 0, 0, 5, 5 };
    EXPECT_TRUE(pm->AddPostPaint(a));
    EXPECT_TRUE(pm->AddPostPaint(b));
    EXPECT_EQ(2, pm->GetPostPaintCount());
    EXPECT_TRUE(pm->SetPostPaintIndex(b, 0));
    EXPECT_FALSE(pm->SetPostPaintIndex(b, 5));
    EXPECT_EQ(1, pm->GetPostPaintCount());
    EXPECT_TRUE(pm->AddPostPaint(b));
    root->Remove(a);
    EXPECT_EQ(1, pm->GetPostPaintCount());
    ::InvalidateRect(host->hwnd, nullptr, FALSE);
    ::UpdateWindow(host->hwnd);
    Pump();
    EXPECT_TRUE(pm->RemovePostPaint(b));
    EXPECT_FALSE(pm->RemovePostPaint(b));
}

TEST_F(PaintManagerRouting, ReplacingTheTreeDeletesTheOldOneLater)
{
    int destroyedBefore = ProbeUI::s_destroyed;
    pm->SetFocus(a);
    Post(WM_MOUSEMOVE, 0, Point(20, 20));
    BoxUI* fresh = new BoxUI(L"fresh");
    ProbeUI* d = fresh->Add(new ProbeUI(L"D"), RECT { 10, 10, 60, 40 });
    ASSERT_TRUE(pm->AttachDialog(fresh));
    EXPECT_EQ(nullptr, pm->GetFocus());
    ::UpdateWindow(host->hwnd);
    Pump();
    EXPECT_EQ(destroyedBefore + 3, ProbeUI::s_destroyed);  // A, B and C
    EXPECT_EQ(d, pm->FindControl(L"D"));
    EXPECT_EQ(nullptr, pm->FindControl(L"A"));
    Post(WM_MOUSEMOVE, 0, Point(21, 21));
    EXPECT_EQ(1, d->Count(EVENT_MOUSEENTER));
    EXPECT_EQ(1, log.Count(L"windowinit"));
}

TEST_F(PaintManagerRouting, FiltersAndCursor)
{
    struct Filter : IMessageFilterUI {
        UINT take { 0 };
        int seen { 0 };
        LRESULT MessageHandler(UINT uMsg, WPARAM, LPARAM, bool& bHandled) override
        {
            ++seen;
            if (uMsg == take) {
                bHandled = true;
                return 42;
            }
            return 0;
        }
    } filter;
    filter.take = WM_USER + 5;
    EXPECT_TRUE(pm->AddMessageFilter(&filter));
    EXPECT_EQ(42, ::SendMessageW(host->hwnd, WM_USER + 5, 0, 0));
    EXPECT_TRUE(pm->RemoveMessageFilter(&filter));
    EXPECT_FALSE(pm->RemoveMessageFilter(&filter));
    EXPECT_EQ(0, ::SendMessageW(host->hwnd, WM_USER + 5, 0, 0));

    LRESULT lRes = 0;
    EXPECT_TRUE(pm->MessageHandler(WM_ERASEBKGND, 0, 0, lRes));
    EXPECT_EQ(1, lRes);

    b->m_flags = FLAG_SETCURSOR;
    RECT rc;
    ::GetWindowRect(host->hwnd, &rc);
    ::SetCursorPos(rc.left + 120, rc.top + 20);
    EXPECT_TRUE(pm->MessageHandler(WM_SETCURSOR, reinterpret_cast<WPARAM>(host->hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), lRes));
    EXPECT_EQ(1, b->Count(EVENT_SETCURSOR));
    ::SetCursorPos(rc.left + 20, rc.top + 20);
    EXPECT_FALSE(pm->MessageHandler(WM_SETCURSOR, reinterpret_cast<WPARAM>(host->hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), lRes));
    EXPECT_FALSE(pm->MessageHandler(WM_SETCURSOR, reinterpret_cast<WPARAM>(host->hwnd), MAKELPARAM(HTCAPTION, WM_MOUSEMOVE), lRes));
}

TEST_F(PaintManagerRouting, CloseLetsHotAndPressedControlsGo)
{
    Post(WM_MOUSEMOVE, 0, Point(20, 20));
    Post(WM_LBUTTONDOWN, MK_LBUTTON, Point(20, 20));
    LRESULT lRes = 0;
    EXPECT_FALSE(pm->MessageHandler(WM_CLOSE, 0, 0, lRes));
    EXPECT_EQ(1, a->Count(EVENT_MOUSELEAVE));
    EXPECT_EQ(1, a->Count(EVENT_BUTTONUP));
    EXPECT_EQ(nullptr, pm->GetFocus());
    Post(WM_LBUTTONUP, 0, Point(20, 20));
    EXPECT_EQ(1, a->Count(EVENT_BUTTONUP));
}

TEST(PaintManagerLifetime, WindowDestroyedFromAClickHandlerEndsRoutingQuietly)
{
    HostWindow* host = new HostWindow(120, 60);
    BoxUI* root = new BoxUI(L"root");
    root->Add(new ProbeUI(L"close"), RECT { 0, 0, 60, 60 });
    host->manager.AttachDialog(root);
    ::UpdateWindow(host->hwnd);
    Pump();
    NotifyLog log;
    bool deleted = false;
    log.onNotify = [&](TNotifyUI& msg) {
        if (msg.sType == L"click" && !deleted) {
            deleted = true;
            delete host;
        }
    };
    host->manager.AddNotifier(&log);
    HWND hwnd = host->hwnd;
    ::PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(10, 10));
    ::PostMessageW(hwnd, WM_LBUTTONUP, 0, Point(10, 10));
    ::PostMessageW(hwnd, WM_MOUSEMOVE, 0, Point(12, 12));
    Pump(30);
    EXPECT_TRUE(deleted);
    EXPECT_FALSE(::IsWindow(hwnd));
}
