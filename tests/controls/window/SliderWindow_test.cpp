// The slider driven by real mouse messages in a real window.
#include <gtest/gtest.h>

#include "ButtonWindowHost.h"
#include "controls/SliderUI.h"

using namespace Veneer;
using namespace WidgetWindowTests;

namespace {

const wchar_t kSkin[] =
    L"<Window size=\"200,60\">"
    L"<HorizontalLayout bkcolor=\"#FFFFFFFF\">"
    L"<Slider name=\"s\" width=\"110\" height=\"20\" thumbsize=\"10,10\" />"
    L"</HorizontalLayout>"
    L"</Window>";

}  // namespace

TEST(SliderWindow, DragSendsOneValueChangedAtTheRelease)
{
    SkinnedWindow w(200, 60, kSkin);
    auto* slider = static_cast<CSliderUI*>(w.Find(L"s"));
    ASSERT_NE(nullptr, slider);
    const RECT rc = slider->GetPos();
    const int y = (rc.top + rc.bottom) / 2;
    w.Move(POINT { rc.left + 5, y });
    w.Down(POINT { rc.left + 5, y });
    w.host.Post(WM_MOUSEMOVE, MK_LBUTTON, rc.left + 30, y);
    w.host.Post(WM_MOUSEMOVE, MK_LBUTTON, rc.left + 60, y);
    w.Settle();
    EXPECT_EQ(55, slider->GetValue());
    EXPECT_EQ(0, w.Count(L"valuechanged"));
    w.Up(POINT { rc.left + 60, y });
    w.Settle();
    EXPECT_EQ(55, slider->GetValue());
    EXPECT_EQ(1, w.Count(L"valuechanged", slider));
}

TEST(SliderWindow, ClickOnTheTrackJumpsThere)
{
    SkinnedWindow w(200, 60, kSkin);
    auto* slider = static_cast<CSliderUI*>(w.Find(L"s"));
    ASSERT_NE(nullptr, slider);
    const RECT rc = slider->GetPos();
    w.Click(POINT { rc.left + 105, (rc.top + rc.bottom) / 2 });
    EXPECT_EQ(100, slider->GetValue());
    EXPECT_EQ(1, w.Count(L"valuechanged", slider));
}
