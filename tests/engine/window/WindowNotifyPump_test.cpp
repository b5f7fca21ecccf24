#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/ControlUI.h"
#include "engine/PaintManagerUI.h"
#include "engine/WindowWnd.h"

using namespace Veneer;

namespace {

// Records which handler took a notification.
class BasePump : public CNotifyPump {
public:
    std::vector<std::string> calls;
    WPARAM lastWParam { 0 };
    LPARAM lastLParam { 0 };

    void OnBaseClick(TNotifyUI&) { calls.push_back("base click"); }
    void OnBaseSelect(TNotifyUI&) { calls.push_back("base select"); }
    void OnBaseTimer(TNotifyUI&) { calls.push_back("base timer"); }

    VENEER_DECLARE_MESSAGE_MAP()
};

VENEER_BEGIN_MESSAGE_MAP(BasePump, CNotifyPump)
    VENEER_ON_MSGTYPE(L"click", BasePump::OnBaseClick)
    VENEER_ON_MSGTYPE(L"selectchanged", BasePump::OnBaseSelect)
    VENEER_ON_MSGTYPE(L"timer", BasePump::OnBaseTimer)
VENEER_END_MESSAGE_MAP()

// A derived map, chained to BasePump's; it has a second base so that the
// handlers live at an offset inside the object.
struct Padding {
    virtual ~Padding() = default;
    int filler[7] {};
};

class DerivedPump : public Padding, public BasePump {
public:
    void OnAnyClick(TNotifyUI&) { calls.push_back("any click"); }
    void OnLaterAnyClick(TNotifyUI&) { calls.push_back("later any click"); }
    void OnOkClick(TNotifyUI&) { calls.push_back("ok click"); }
    void OnTimerParams(WPARAM wParam, LPARAM lParam)
    {
        calls.push_back("timer params");
        lastWParam = wParam;
        lastLParam = lParam;
    }

    VENEER_DECLARE_MESSAGE_MAP()
};

VENEER_BEGIN_MESSAGE_MAP(DerivedPump, BasePump)
    VENEER_ON_MSGTYPE(L"click", DerivedPump::OnAnyClick)
    VENEER_ON_MSGTYPE(L"click", DerivedPump::OnLaterAnyClick)
    VENEER_ON_MSGTYPE_CTRNAME(L"click", L"okbtn", DerivedPump::OnOkClick)
    VENEER_ON_MSGTYPE_PARAMS(L"timer", L"", DerivedPump::OnTimerParams)
VENEER_END_MESSAGE_MAP()

class PanelPump : public CNotifyPump {
public:
    int selects { 0 };
    void OnSelect(TNotifyUI&) { ++selects; }

    VENEER_DECLARE_MESSAGE_MAP()
};

VENEER_BEGIN_MESSAGE_MAP(PanelPump, CNotifyPump)
    VENEER_ON_MSGTYPE(L"selectchanged", PanelPump::OnSelect)
VENEER_END_MESSAGE_MAP()

TNotifyUI Message(LPCWSTR type, CControlUI* sender, LPCWSTR virtualWnd = L"")
{
    TNotifyUI msg;
    msg.sType = type;
    msg.pSender = sender;
    msg.sVirtualWnd = virtualWnd;
    return msg;
}

}  // namespace

TEST(WindowNotifyPump, NamedEntryWinsOverTypeOnlyEntries)
{
    DerivedPump pump;
    CControlUI ok;
    ok.SetName(L"okbtn");
    TNotifyUI msg = Message(L"click", &ok);
    EXPECT_TRUE(pump.LoopDispatch(msg));
    ASSERT_EQ(pump.calls.size(), 1u);
    EXPECT_EQ(pump.calls[0], "ok click");
}

TEST(WindowNotifyPump, LastTypeOnlyEntryTakesOtherSenders)
{
    DerivedPump pump;
    CControlUI other;
    other.SetName(L"OKBTN");  // names compare exactly
    TNotifyUI msg = Message(L"click", &other);
    EXPECT_TRUE(pump.LoopDispatch(msg));
    TNotifyUI anonymous = Message(L"click", nullptr);
    EXPECT_TRUE(pump.LoopDispatch(anonymous));
    ASSERT_EQ(pump.calls.size(), 2u);
    EXPECT_EQ(pump.calls[0], "later any click");
    EXPECT_EQ(pump.calls[1], "later any click");
}

TEST(WindowNotifyPump, DerivedMapComesBeforeTheBaseMap)
{
    DerivedPump derived;
    BasePump base;
    TNotifyUI click = Message(L"click", nullptr);
    EXPECT_TRUE(base.LoopDispatch(click));
    EXPECT_TRUE(derived.LoopDispatch(click));
    TNotifyUI select = Message(L"selectchanged", nullptr);
    EXPECT_TRUE(derived.LoopDispatch(select)) << "falls through to the base map";
    ASSERT_EQ(base.calls.size(), 1u);
    EXPECT_EQ(base.calls[0], "base click");
    ASSERT_EQ(derived.calls.size(), 2u);
    EXPECT_EQ(derived.calls[0], "later any click");
    EXPECT_EQ(derived.calls[1], "base select");
}

TEST(WindowNotifyPump, ParameterHandlersGetWParamAndLParam)
{
    DerivedPump pump;
    TNotifyUI timer = Message(L"timer", nullptr);
    timer.wParam = 17;
    timer.lParam = -5;
    EXPECT_TRUE(pump.LoopDispatch(timer));
    ASSERT_EQ(pump.calls.size(), 1u);
    EXPECT_EQ(pump.calls[0], "timer params");
    EXPECT_EQ(pump.lastWParam, 17u);
    EXPECT_EQ(pump.lastLParam, -5);
}

TEST(WindowNotifyPump, TypesAreCaseSensitiveAndUnknownTypesUnhandled)
{
    DerivedPump pump;
    TNotifyUI upper = Message(L"CLICK", nullptr);
    EXPECT_FALSE(pump.LoopDispatch(upper));
    TNotifyUI unknown = Message(L"windowinit", nullptr);
    EXPECT_FALSE(pump.LoopDispatch(unknown));
    CNotifyPump plain;
    EXPECT_FALSE(plain.LoopDispatch(unknown));
    EXPECT_TRUE(pump.calls.empty());
}

TEST(WindowNotifyPump, VirtualWindowsAreMatchedIgnoringCase)
{
    DerivedPump owner;
    PanelPump panel;
    EXPECT_TRUE(owner.AddVirtualWnd(L"SettingsPanel", &panel));
    EXPECT_FALSE(owner.AddVirtualWnd(L"SettingsPanel", &panel));

    TNotifyUI select = Message(L"selectchanged", nullptr, L"settingspanel");
    owner.NotifyPump(select);
    EXPECT_EQ(panel.selects, 1);
    EXPECT_TRUE(owner.calls.empty()) << "handled by the virtual window";

    // The virtual window has no entry for it: the owner's own map gets it.
    TNotifyUI click = Message(L"click", nullptr, L"SETTINGSPANEL");
    owner.NotifyPump(click);
    TNotifyUI elsewhere = Message(L"click", nullptr, L"elsewhere");
    owner.NotifyPump(elsewhere);
    ASSERT_EQ(owner.calls.size(), 2u);
    EXPECT_EQ(owner.calls[0], "later any click");

    EXPECT_TRUE(owner.RemoveVirtualWnd(L"SettingsPanel"));
    EXPECT_FALSE(owner.RemoveVirtualWnd(L"SettingsPanel"));
    owner.NotifyPump(select);
    EXPECT_EQ(panel.selects, 1);
    ASSERT_EQ(owner.calls.size(), 3u);
    EXPECT_EQ(owner.calls[2], "base select");
}
