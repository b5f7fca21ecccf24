#include <gtest/gtest.h>

#include "LabelPaintSurface.h"
#include "controls/ButtonUI.h"
#include "engine/PaintManagerUI.h"
#include "support/TestSupport.h"

using namespace Veneer;
using namespace WidgetTests;

namespace {

const RECT kButtonRect { 10, 10, 90, 40 };

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pm.AddNotifier(&m_recorder);
        m_button = new CButtonUI;
        m_button->SetManager(&m_pm, nullptr, false);
        m_button->SetPos(kButtonRect);
    }
    void TearDown() override
    {
        delete m_button;
        m_pm.RemoveNotifier(&m_recorder);
    }
    void Send(int type, POINT pt = POINT { 50, 25 }, WCHAR key = 0)
    {
        TEventUI event = MakeEvent(type, pt, key);
        m_button->Event(event);
    }
    int Clicks() const { return m_recorder.CountOf(L"click", m_button); }

    CPaintManagerUI m_pm;
    NotifyRecorder m_recorder;
    CButtonUI* m_button { nullptr };
};

// Paints into a DIB with the state images of a folder of solid-colour PNGs.
class ButtonPaintTest : public ButtonTest {
protected:
    void SetUp() override
    {
        CPaintManagerUI::SetResourcePath(TestSupport::FixturePath(L"widgets/").c_str());
        ButtonTest::SetUp();
        m_button->SetAttribute(L"normalimage", L"normal.png");
        m_button->SetAttribute(L"hotimage", L"hot.png");
        m_button->SetAttribute(L"pushedimage", L"pushed.png");
        m_button->SetAttribute(L"focusedimage", L"focused.png");
        m_button->SetAttribute(L"disabledimage", L"disabled.png");
    }
    DWORD PaintAndSample(POINT pt = POINT { 50, 25 })
    {
        m_surface.Fill(0xFFFFFF);
        m_button->DoPaint(m_surface.Dc(), m_button->GetPos());
        return m_surface.Pixel(pt.x, pt.y);
    }

    PaintSurface m_surface { 100, 50 };
};

}  // namespace

TEST(ButtonBasics, NamesStyleAndFlags)
{
    CButtonUI button;
    EXPECT_STREQ(button.GetClass(), L"ButtonUI");
    EXPECT_EQ(button.GetInterface(L"Button"), static_cast<LPVOID>(&button));
    EXPECT_EQ(button.GetInterface(L"Label"), static_cast<LPVOID>(static_cast<CLabelUI*>(&button)));
    EXPECT_EQ(button.GetInterface(L"Option"), nullptr);
    EXPECT_EQ(button.GetTextStyle(), 0x25u);
    EXPECT_EQ(button.GetControlFlags(), FLAG_TABSTOP | FLAG_SETCURSOR);
    button.SetKeyboardEnabled(false);
    EXPECT_EQ(button.GetControlFlags(), FLAG_SETCURSOR);
    button.SetKeyboardEnabled(true);
    button.SetEnabled(false);
    EXPECT_EQ(button.GetControlFlags(), FLAG_TABSTOP);  // not asked for a cursor
}

TEST(ButtonBasics, AttributesIncludingMalformedColours)
{
    CButtonUI button;
    button.SetAttribute(L"normalimage", L"file='a.png' corner='1,1,1,1'");
    button.SetAttribute(L"hotimage", L"b.png");
    button.SetAttribute(L"pushedimage", L"c.png");
    button.SetAttribute(L"focusedimage", L"d.png");
    button.SetAttribute(L"disabledimage", L"e.png");
    button.SetAttribute(L"foreimage", L"f.png");
    button.SetAttribute(L"hotforeimage", L"g.png");
    EXPECT_STREQ(button.GetNormalImage(), L"file='a.png' corner='1,1,1,1'");
    EXPECT_STREQ(button.GetHotImage(), L"b.png");
    EXPECT_STREQ(button.GetPushedImage(), L"c.png");
    EXPECT_STREQ(button.GetFocusedImage(), L"d.png");
    EXPECT_STREQ(button.GetDisabledImage(), L"e.png");
    EXPECT_STREQ(button.GetForeImage(), L"f.png");
    EXPECT_STREQ(button.GetHotForeImage(), L"g.png");

    button.SetAttribute(L"hotbkcolor", L"#FF102030");
    button.SetAttribute(L"hottextcolor", L"FF405060");
    button.SetAttribute(L"pushedtextcolor", L"#FF708090");
    button.SetAttribute(L"focusedtextcolor", L"#not-a-colour");
    EXPECT_EQ(button.GetHotBkColor(), 0xFF102030u);
    EXPECT_EQ(button.GetHotTextColor(), 0xFF405060u);
    EXPECT_EQ(button.GetPushedTextColor(), 0xFF708090u);
    EXPECT_EQ(button.GetFocusedTextColor(), 0u);

    // Label and control attributes still apply.
    button.SetAttribute(L"align", L"right");
    EXPECT_EQ(button.GetTextStyle(), static_cast<UINT>(DT_RIGHT));
    button.SetAttribute(L"text", L"OK");
    EXPECT_EQ(button.GetText(), CStdString(L"OK"));
    button.SetAttribute(L"enabled", L"True");
    EXPECT_FALSE(button.IsEnabled());
}

TEST_F(ButtonTest, PressAndReleaseInsideClicksOnce)
{
    Send(EVENT_MOUSEENTER);
    EXPECT_EQ(m_button->GetButtonState() & STATE_HOT, STATE_HOT);
    Send(EVENT_BUTTONDOWN);
    EXPECT_EQ(m_button->GetButtonState() & (STATE_PUSHED | STATE_CAPTURED), STATE_PUSHED | STATE_CAPTURED);
    EXPECT_EQ(Clicks(), 0);
    Send(EVENT_BUTTONUP);
    EXPECT_EQ(Clicks(), 1);
    EXPECT_EQ(m_button->GetButtonState() & (STATE_PUSHED | STATE_CAPTURED), 0u);
    EXPECT_EQ(m_button->GetButtonState() & STATE_HOT, STATE_HOT);
    Send(EVENT_MOUSELEAVE, POINT { -1, -1 });
    EXPECT_EQ(m_button->GetButtonState() & STATE_HOT, 0u);
}

TEST_F(ButtonTest, DraggingOutBeforeReleaseCancelsAndBackInClicks)
{
    Send(EVENT_BUTTONDOWN);
    Send(EVENT_MOUSEMOVE, POINT { 200, 200 });
    EXPECT_EQ(m_button->GetButtonState() & STATE_PUSHED, 0u);
    EXPECT_EQ(m_button->GetButtonState() & STATE_CAPTURED, STATE_CAPTURED);
    Send(EVENT_BUTTONUP, POINT { 200, 200 });
    EXPECT_EQ(Clicks(), 0);

    Send(EVENT_BUTTONDOWN);
    Send(EVENT_MOUSEMOVE, POINT { 200, 200 });
    Send(EVENT_MOUSEMOVE, POINT { 20, 20 });
    EXPECT_EQ(m_button->GetButtonState() & STATE_PUSHED, STATE_PUSHED);
    Send(EVENT_BUTTONUP, POINT { 20, 20 });
    EXPECT_EQ(Clicks(), 1);
}

TEST_F(ButtonTest, ReleaseWithoutPressOrPressOutsideDoesNotClick)
{
    Send(EVENT_BUTTONUP);
    Send(EVENT_BUTTONDOWN, POINT { 5, 5 });  // outside the rectangle
    EXPECT_EQ(m_button->GetButtonState() & STATE_CAPTURED, 0u);
    Send(EVENT_BUTTONUP);
    EXPECT_EQ(Clicks(), 0);
}

TEST_F(ButtonTest, DisabledButtonIgnoresPressesAndClearsItsState)
{
    Send(EVENT_MOUSEENTER);
    Send(EVENT_BUTTONDOWN);
    m_button->SetEnabled(false);
    EXPECT_EQ(m_button->GetButtonState(), 0u);
    Send(EVENT_BUTTONDOWN);
    Send(EVENT_BUTTONUP);
    Send(EVENT_MOUSEENTER);
    EXPECT_EQ(m_button->GetButtonState(), 0u);
    EXPECT_EQ(Clicks(), 0);
    EXPECT_FALSE(m_button->Activate());
    EXPECT_EQ(Clicks(), 0);
}

TEST_F(ButtonTest, SpaceOrReturnClickOncePerKeyDown)
{
    Send(EVENT_KEYDOWN, POINT {}, VK_SPACE);
    EXPECT_EQ(Clicks(), 1);
    Send(EVENT_KEYDOWN, POINT {}, VK_RETURN);
    EXPECT_EQ(Clicks(), 2);
    Send(EVENT_KEYUP, POINT {}, VK_RETURN);
    Send(EVENT_KEYDOWN, POINT {}, L'A');
    EXPECT_EQ(Clicks(), 2);
    m_button->SetKeyboardEnabled(false);
    Send(EVENT_KEYDOWN, POINT {}, VK_SPACE);
    EXPECT_EQ(Clicks(), 2);
}

TEST_F(ButtonTest, InvisibleButtonDoesNotActivate)
{
    m_button->SetVisible(false);
    EXPECT_FALSE(m_button->Activate());
    EXPECT_EQ(Clicks(), 0);
}

TEST_F(ButtonTest, ContextMenuSendsMenuOnlyWhenUsed)
{
    TEventUI menu = MakeEvent(EVENT_CONTEXTMENU);
    menu.wParam = 7;
    menu.lParam = 9;
    m_button->Event(menu);
    EXPECT_EQ(m_recorder.CountOf(L"menu"), 0);
    m_button->SetAttribute(L"menu", L"true");
    m_button->Event(menu);
    ASSERT_EQ(m_recorder.CountOf(L"menu"), 1);
    EXPECT_EQ(m_recorder.received.back().wParam, 7u);
    EXPECT_EQ(m_recorder.received.back().lParam, 9);
}

TEST_F(ButtonTest, FocusEventsSetTheFocusedFlag)
{
    Send(EVENT_SETFOCUS);
    EXPECT_TRUE(m_button->IsFocused());
    Send(EVENT_KILLFOCUS);
    EXPECT_FALSE(m_button->IsFocused());
}

TEST_F(ButtonTest, EstimateSizeAddsEightToTheFontHeight)
{
    m_button->SetFixedWidth(60);
    const SIZE size = m_button->EstimateSize(SIZE { 300, 300 });
    EXPECT_EQ(size.cx, 60);
    EXPECT_EQ(size.cy, m_pm.GetDefaultFontInfo()->tm.tmHeight + 8);
    m_button->SetFixedHeight(22);
    EXPECT_EQ(m_button->EstimateSize(SIZE { 300, 300 }).cy, 22);
}

TEST_F(ButtonPaintTest, EachStateShowsItsImage)
{
    EXPECT_EQ(PaintAndSample(), 0xFF0000u);  // normal
    Send(EVENT_MOUSEENTER);
    EXPECT_EQ(PaintAndSample(), 0x00FF00u);  // hot
    Send(EVENT_BUTTONDOWN);
    EXPECT_EQ(PaintAndSample(), 0x0000FFu);  // pushed
    Send(EVENT_BUTTONUP, POINT { 200, 200 });
    Send(EVENT_MOUSELEAVE, POINT { -1, -1 });
    Send(EVENT_SETFOCUS);
    EXPECT_EQ(PaintAndSample(), 0xFFFF00u);  // focused
    m_button->SetEnabled(false);
    EXPECT_EQ(PaintAndSample(), 0x808080u);  // disabled
    // Outside the item rectangle nothing is painted.
    EXPECT_EQ(m_surface.Pixel(5, 5), 0xFFFFFFu);
}

TEST_F(ButtonPaintTest, ForegroundImageIsDrawnOverTheStateImage)
{
    m_button->SetForeImage(L"file='fore.png' dest='0,0,4,4'");
    EXPECT_EQ(PaintAndSample(), 0xFF0000u);
    EXPECT_EQ(m_surface.Pixel(11, 11), 0xFF00FFu);
    Send(EVENT_BUTTONDOWN);
    PaintAndSample();
    EXPECT_EQ(m_surface.Pixel(11, 11), 0xFF00FFu);
}

TEST_F(ButtonPaintTest, HotForegroundImageReplacesTheForegroundImage)
{
    m_button->SetForeImage(L"file='fore.png' dest='0,0,4,4'");
    m_button->SetHotForeImage(L"file='hotfore.png' dest='4,0,8,4'");
    Send(EVENT_MOUSEENTER);
    EXPECT_EQ(PaintAndSample(), 0x00FF00u);
    EXPECT_EQ(m_surface.Pixel(15, 11), 0x00FFFFu);
    EXPECT_EQ(m_surface.Pixel(11, 11), 0x00FF00u);  // no foreground image
}

TEST_F(ButtonPaintTest, HotColourWithoutHotImageSkipsTheNormalImage)
{
    m_button->SetHotImage(L"");
    m_button->SetAttribute(L"hotbkcolor", L"#FF123456");
    Send(EVENT_MOUSEENTER);
    EXPECT_EQ(PaintAndSample(), 0x123456u);
}

TEST_F(ButtonPaintTest, BrokenImageIsDroppedAndTheNormalImageTakesOver)
{
    m_button->SetPushedImage(L"missing.png");
    Send(EVENT_BUTTONDOWN);
    PaintAndSample();
    EXPECT_STREQ(m_button->GetPushedImage(), L"");
    EXPECT_EQ(PaintAndSample(), 0xFF0000u);

    m_button->SetFocusedImage(L"also-missing.png");
    Send(EVENT_BUTTONUP);
    Send(EVENT_MOUSELEAVE, POINT { -1, -1 });
    Send(EVENT_SETFOCUS);
    // A focused image that fails falls back to the normal image at once.
    EXPECT_EQ(PaintAndSample(), 0xFF0000u);
    EXPECT_STREQ(m_button->GetFocusedImage(), L"");
}

TEST_F(ButtonPaintTest, TextColourFollowsTheState)
{
    m_button->SetNormalImage(L"");
    m_button->SetHotImage(L"");
    m_button->SetPushedImage(L"");
    m_pm.AddFont(L"Tahoma", 20, true, false, false);
    m_button->SetFont(0);
    m_button->SetText(L"Go");
    m_button->SetTextColor(0xFF000000);
    m_button->SetHotTextColor(0xFF0000FF);
    m_button->SetPushedTextColor(0xFFFF0000);
    PaintAndSample();
    EXPECT_GT(m_surface.CountDark(m_surface.Whole()), 10);
    EXPECT_EQ(m_surface.Count(m_surface.Whole(), IsBluish), 0);
    Send(EVENT_MOUSEENTER);
    PaintAndSample();
    EXPECT_GT(m_surface.Count(m_surface.Whole(), IsBluish), 10);
    Send(EVENT_BUTTONDOWN);
    PaintAndSample();
    EXPECT_GT(m_surface.Count(m_surface.Whole(), IsReddish), 10);
    EXPECT_EQ(m_surface.Count(m_surface.Whole(), IsBluish), 0);
}
