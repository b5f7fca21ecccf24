#include <gtest/gtest.h>

#include <climits>

#include "ControlTestHelpers.h"
#include "controls/SliderUI.h"
#include "controls/VerticalLayoutUI.h"

using namespace Veneer;
using namespace ControlTest;

namespace {

struct Counter : INotifyUI {
    void Notify(TNotifyUI& msg) override
    {
        if (msg.sType == L"valuechanged") {
            ++count;
        }
    }
    int count { 0 };
};

class Sliders : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = new CVerticalLayoutUI;
        slider = new CSliderUI;
        root->Add(slider);
        manager.InitControls(root);
        manager.AddNotifier(&counter);
        slider->SetPos(R(0, 0, 110, 20));
    }
    void TearDown() override
    {
        manager.RemoveNotifier(&counter);
        delete root;
    }
    void Send(int type, int x, int y, WPARAM wParam = 0)
    {
        TEventUI event = MouseEvent(type, x, y);
        event.pSender = slider;
        event.wParam = wParam;
        slider->DoEvent(event);
    }

    CPaintManagerUI manager;
    Counter counter;
    CVerticalLayoutUI* root { nullptr };
    CSliderUI* slider { nullptr };
};

}  // namespace

TEST_F(Sliders, ReleaseOnTheTrackSetsTheValueFromThePosition)
{
    Send(EVENT_BUTTONUP, 60, 10);
    EXPECT_EQ(55, slider->GetValue());
    Send(EVENT_BUTTONUP, 3, 10);
    EXPECT_EQ(0, slider->GetValue());
    Send(EVENT_BUTTONUP, 108, 10);
    EXPECT_EQ(100, slider->GetValue());
    EXPECT_EQ(3, counter.count);
}

TEST_F(Sliders, VerticalValuesCountFromTheBottom)
{
    slider->SetHorizontal(false);
    slider->SetPos(R(0, 0, 20, 110));
    Send(EVENT_BUTTONUP, 10, 50);
    EXPECT_EQ(55, slider->GetValue());
    Send(EVENT_BUTTONUP, 10, 107);
    EXPECT_EQ(0, slider->GetValue());
    Send(EVENT_BUTTONUP, 10, 2);
    EXPECT_EQ(100, slider->GetValue());
}

TEST_F(Sliders, ThumbFollowsTheValue)
{
    slider->SetValue(50);
    EXPECT_TRUE(RectEq(R(50, 5, 60, 15), slider->GetThumbRect()));
    slider->SetHorizontal(false);
    slider->SetPos(R(0, 0, 20, 110));
    EXPECT_TRUE(RectEq(R(5, 50, 15, 60), slider->GetThumbRect()));
}

TEST_F(Sliders, DraggingTheThumbNotifiesOnceAtTheRelease)
{
    Send(EVENT_BUTTONDOWN, 5, 10);  // thumb at value 0 is 0..10
    EXPECT_NE(0u, slider->GetButtonState() & STATE_CAPTURED);
    Send(EVENT_MOUSEMOVE, 30, 10);
    EXPECT_EQ(25, slider->GetValue());
    Send(EVENT_MOUSEMOVE, 80, 10);
    EXPECT_EQ(75, slider->GetValue());
    EXPECT_EQ(0, counter.count);
    Send(EVENT_BUTTONUP, 80, 10);
    EXPECT_EQ(1, counter.count);
    EXPECT_EQ(0u, slider->GetButtonState() & STATE_CAPTURED);
    Send(EVENT_MOUSEMOVE, 20, 10);  // no longer captured
    EXPECT_EQ(75, slider->GetValue());
}

TEST_F(Sliders, PressOnTheTrackDoesNotCapture)
{
    Send(EVENT_BUTTONDOWN, 80, 10);
    EXPECT_EQ(0u, slider->GetButtonState() & STATE_CAPTURED);
    Send(EVENT_MOUSEMOVE, 60, 10);
    EXPECT_EQ(0, slider->GetValue());
}

TEST_F(Sliders, WheelStepsAndNotifiesEvenPastTheMaximum)
{
    slider->SetChangeStep(30);
    slider->SetValue(90);
    Send(EVENT_SCROLLWHEEL, 50, 10, SB_LINEUP);
    EXPECT_EQ(120, slider->GetValue());
    EXPECT_EQ(1, counter.count);
    Send(EVENT_SCROLLWHEEL, 50, 10, SB_LINEDOWN);
    EXPECT_EQ(90, slider->GetValue());
    EXPECT_EQ(2, counter.count);
    slider->SetValue(INT_MAX);
    Send(EVENT_SCROLLWHEEL, 50, 10, SB_LINEUP);
    EXPECT_EQ(INT_MAX, slider->GetValue());
}

TEST_F(Sliders, DisabledSliderIgnoresPressReleaseAndWheel)
{
    slider->SetValue(40);
    slider->SetEnabled(false);
    EXPECT_EQ(0u, slider->GetControlFlags());
    Send(EVENT_BUTTONDOWN, 45, 10);
    Send(EVENT_BUTTONUP, 100, 10);
    Send(EVENT_SCROLLWHEEL, 50, 10, SB_LINEUP);
    Send(EVENT_MOUSEENTER, 50, 10);
    EXPECT_EQ(40, slider->GetValue());
    EXPECT_EQ(0, counter.count);
    EXPECT_EQ(0u, slider->GetButtonState());
}

TEST_F(Sliders, DisablingWhileDraggingDropsTheCapture)
{
    Send(EVENT_BUTTONDOWN, 5, 10);
    slider->SetEnabled(false);
    EXPECT_EQ(0u, slider->GetButtonState());
    Send(EVENT_MOUSEMOVE, 60, 10);
    EXPECT_EQ(0, slider->GetValue());
}

TEST_F(Sliders, EqualMinimumAndMaximumNeverDivideByZero)
{
    slider->SetMinValue(7);
    slider->SetMaxValue(7);
    Send(EVENT_BUTTONUP, 60, 10);
    EXPECT_EQ(7, slider->GetValue());
    EXPECT_EQ(0, slider->GetThumbRect().left);
    slider->SetThumbSize(SIZE { 200, 200 });  // thumb wider than the track
    Send(EVENT_BUTTONUP, 55, 10);
    slider->SetAttribute(L"thumbsize", L"-4,-9");
    EXPECT_EQ(0, slider->GetThumbSize().cx);
    EXPECT_EQ(0, slider->GetThumbSize().cy);
}

TEST_F(Sliders, ExtremeRangeGivesValuesInsideIt)
{
    slider->SetMinValue(INT_MIN);
    slider->SetMaxValue(INT_MAX);
    Send(EVENT_BUTTONUP, 55, 10);
    EXPECT_GT(slider->GetValue(), INT_MIN);
    EXPECT_LT(slider->GetValue(), INT_MAX);
    EXPECT_NEAR(0.0, static_cast<double>(slider->GetValue()), 0.01 * INT_MAX);
    Send(EVENT_BUTTONUP, 109, 10);
    EXPECT_EQ(INT_MAX, slider->GetValue());
    const RECT rc = slider->GetThumbRect();
    EXPECT_EQ(100, rc.left);
}

TEST_F(Sliders, AttributesAndInterfaces)
{
    slider->SetAttribute(L"step", L"5");
    slider->SetAttribute(L"thumbsize", L"12,14");
    slider->SetAttribute(L"thumbimage", L"t.png");
    slider->SetAttribute(L"max", L"40");
    EXPECT_EQ(5, slider->GetChangeStep());
    EXPECT_EQ(12, slider->GetThumbSize().cx);
    EXPECT_EQ(14, slider->GetThumbSize().cy);
    EXPECT_STREQ(L"t.png", slider->GetThumbImage());
    EXPECT_EQ(40, slider->GetMaxValue());
    EXPECT_EQ(slider, slider->GetInterface(L"Slider"));
    EXPECT_NE(nullptr, slider->GetInterface(L"Progress"));
    EXPECT_EQ(static_cast<UINT>(FLAG_SETCURSOR), slider->GetControlFlags());
}
