// Buttons in a real window, driven by real mouse and keyboard messages.
#include <gtest/gtest.h>

#include "ButtonWindowHost.h"
#include "controls/ButtonUI.h"

using namespace Veneer;
using namespace WidgetWindowTests;

namespace {

const wchar_t kSkin[] =
    L"<Window size=\"300,60\">"
    L"<HorizontalLayout bkcolor=\"#FFFFFFFF\">"
    L"<Button name=\"a\" width=\"100\" normalimage=\"normal.png\" hotimage=\"hot.png\""
    L" pushedimage=\"pushed.png\" focusedimage=\"focused.png\" disabledimage=\"disabled.png\" />"
    L"<Button name=\"b\" width=\"100\" normalimage=\"normal.png\" hotimage=\"hot.png\" />"
    L"<Button name=\"off\" width=\"100\" enabled=\"false\" normalimage=\"normal.png\""
    L" disabledimage=\"disabled.png\" />"
    L"</HorizontalLayout>"
    L"</Window>";

struct ButtonWindow : SkinnedWindow {
    ButtonWindow() : SkinnedWindow(300, 60, kSkin)
    {
        a = static_cast<CButtonUI*>(Find(L"a"));
        b = static_cast<CButtonUI*>(Find(L"b"));
        off = static_cast<CButtonUI*>(Find(L"off"));
    }
    CButtonUI* a { nullptr };
    CButtonUI* b { nullptr };
    CButtonUI* off { nullptr };
};

}  // namespace

TEST(ButtonWindow, BuilderMakesButtonsThatPaintTheirNormalOrDisabledImage)
{
    ButtonWindow w;
    ASSERT_NE(w.a, nullptr);
    ASSERT_NE(w.b, nullptr);
    ASSERT_NE(w.off, nullptr);
    EXPECT_STREQ(w.a->GetClass(), L"ButtonUI");
    EXPECT_EQ(w.a->GetPos().right, 100);
    EXPECT_EQ(w.Pixel(ButtonWindow::Centre(w.b)), 0xFF0000u);
    // The window may hand the first tab stop the focus when it opens.
    EXPECT_EQ(w.Pixel(ButtonWindow::Centre(w.a)), w.a->IsFocused() ? 0xFFFF00u : 0xFF0000u);
    EXPECT_EQ(w.Pixel(ButtonWindow::Centre(w.off)), 0x808080u);
}

TEST(ButtonWindow, HotPushedAndFocusedLooksFollowTheMouse)
{
    ButtonWindow w;
    const POINT pa = ButtonWindow::Centre(w.a);
    w.Move(pa);
    w.Settle();
    EXPECT_EQ(w.Pixel(pa), 0x00FF00u);  // hot
    w.Down(pa);
    w.Settle();
    EXPECT_EQ(w.Pixel(pa), 0x0000FFu);  // pushed
    w.Up(pa);
    w.Settle();
    EXPECT_EQ(w.Pixel(pa), 0x00FF00u);  // hot again after the click
    w.Move(ButtonWindow::Centre(w.b));
    w.Settle();
    EXPECT_TRUE(w.a->IsFocused());
    EXPECT_EQ(w.Pixel(pa), 0xFFFF00u);  // focused, no longer hot
}

TEST(ButtonWindow, PressAndReleaseOverTheSameButtonClicksOnce)
{
    ButtonWindow w;
    w.Click(ButtonWindow::Centre(w.a));
    EXPECT_EQ(w.Count(L"click"), 1);
    EXPECT_EQ(w.Count(L"click", w.a), 1);
}

TEST(ButtonWindow, ReleaseOverAnotherButtonClicksNeither)
{
    ButtonWindow w;
    const POINT pa = ButtonWindow::Centre(w.a);
    const POINT pb = ButtonWindow::Centre(w.b);
    w.Move(pa);
    w.Down(pa);
    w.Move(pb);
    w.Up(pb);
    w.Settle();
    EXPECT_EQ(w.Count(L"click"), 0);
    EXPECT_EQ(w.a->GetButtonState() & (STATE_PUSHED | STATE_CAPTURED), 0u);
}

TEST(ButtonWindow, DraggingBackInBeforeReleaseClicks)
{
    ButtonWindow w;
    const POINT pa = ButtonWindow::Centre(w.a);
    w.Move(pa);
    w.Down(pa);
    w.Move(POINT { 150, 30 });
    w.Settle();
    EXPECT_NE(w.Pixel(pa), 0x0000FFu);  // captured but not pushed
    w.Move(pa);
    w.Up(pa);
    w.Settle();
    EXPECT_EQ(w.Count(L"click", w.a), 1);
}

TEST(ButtonWindow, ReleaseOutsideTheWindowDoesNotClick)
{
    ButtonWindow w;
    const POINT pa = ButtonWindow::Centre(w.a);
    w.Move(pa);
    w.Down(pa);
    w.Move(POINT { 500, 500 });
    w.Up(POINT { 500, 500 });
    w.Settle();
    EXPECT_EQ(w.Count(L"click"), 0);
}

TEST(ButtonWindow, DisabledButtonNeverClicks)
{
    ButtonWindow w;
    const POINT po = ButtonWindow::Centre(w.off);
    w.Click(po);
    EXPECT_EQ(w.Count(L"click"), 0);
    EXPECT_EQ(w.Pixel(po), 0x808080u);

    w.off->SetEnabled(true);
    w.Settle();
    w.Click(po);
    EXPECT_EQ(w.Count(L"click", w.off), 1);
}

TEST(ButtonWindow, SpaceOnTheFocusedButtonClicks)
{
    ButtonWindow w;
    w.a->SetFocus();
    w.Settle();
    ::PostMessageW(w.host.Handle(), WM_KEYDOWN, VK_SPACE, 0);
    ::PostMessageW(w.host.Handle(), WM_KEYUP, VK_SPACE, 0);
    ::PostMessageW(w.host.Handle(), WM_KEYDOWN, VK_RETURN, 0);
    w.Settle();
    EXPECT_EQ(w.Count(L"click", w.a), 2);
}

TEST(ButtonWindow, SystemMouseInputClicks)
{
    ButtonWindow w;
    ::SetForegroundWindow(w.host.Handle());
    POINT pa = ButtonWindow::Centre(w.a);
    ::ClientToScreen(w.host.Handle(), &pa);
    ::SetCursorPos(pa.x, pa.y);
    w.Settle();
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(::SendInput(2, inputs, sizeof(INPUT)), 2u);
    w.host.Pump(300);
    EXPECT_EQ(w.Count(L"click", w.a), 1);
}
