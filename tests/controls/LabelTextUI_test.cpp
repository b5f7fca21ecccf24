// CTextUI: multi-line text with clickable links.
#include <gtest/gtest.h>

#include "LabelPaintSurface.h"
#include "controls/TextUI.h"
#include "engine/PaintManagerUI.h"

using namespace Veneer;
using namespace WidgetTests;

namespace {

class TextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pm.AddNotifier(&m_recorder);
        m_parent.SetManager(&m_pm, nullptr, false);
        m_text = new CTextUI;
        m_text->SetManager(&m_pm, &m_parent, false);
        m_text->SetPos(RECT { 0, 0, 300, 100 });
    }
    void TearDown() override
    {
        delete m_text;
        m_pm.RemoveNotifier(&m_recorder);
    }
    void Paint() { m_text->DoPaint(m_surface.Dc(), m_text->GetPos()); }
    POINT CentreOfLink(int index) const
    {
        const RECT& rc = m_text->GetLinkRects()[index];
        return POINT { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
    }

    CPaintManagerUI m_pm;
    NotifyRecorder m_recorder;
    EventSpyControl m_parent;
    CTextUI* m_text { nullptr };
    PaintSurface m_surface { 300, 100 };
};

}  // namespace

TEST(TextBasics, NamesAndDefaults)
{
    CTextUI text;
    EXPECT_STREQ(text.GetClass(), L"TextUI");
    EXPECT_EQ(text.GetInterface(L"Text"), static_cast<LPVOID>(&text));
    EXPECT_EQ(text.GetInterface(L"Label"), static_cast<LPVOID>(static_cast<CLabelUI*>(&text)));
    EXPECT_EQ(text.GetTextStyle(), static_cast<UINT>(DT_WORDBREAK));
    const RECT padding = text.GetTextPadding();
    EXPECT_EQ(padding.left, 2);
    EXPECT_EQ(padding.right, 2);
    EXPECT_EQ(padding.top, 0);
    EXPECT_EQ(text.GetLinkCount(), 0);
    EXPECT_EQ(text.GetLinkContent(0), nullptr);
    EXPECT_EQ(text.GetControlFlags(), 0u);
}

TEST_F(TextTest, RichTextLinksBecomeClickableAreas)
{
    m_text->SetShowHtml(true);
    m_text->SetText(L"go {a first}here{/a} or {a second}there{/a}");
    Paint();
    ASSERT_EQ(m_text->GetLinkCount(), 2);
    ASSERT_NE(m_text->GetLinkContent(1), nullptr);
    EXPECT_EQ(*m_text->GetLinkContent(0), CStdString(L"first"));
    EXPECT_EQ(*m_text->GetLinkContent(1), CStdString(L"second"));
    EXPECT_EQ(m_text->GetLinkContent(2), nullptr);
    EXPECT_EQ(m_text->GetLinkContent(-1), nullptr);
    EXPECT_EQ(m_text->GetControlFlags(), FLAG_SETCURSOR);

    TEventUI up = MakeEvent(EVENT_BUTTONUP, CentreOfLink(1));
    m_text->Event(up);
    ASSERT_EQ(m_recorder.received.size(), 1u);
    EXPECT_EQ(m_recorder.received[0].type, L"link");
    EXPECT_EQ(m_recorder.received[0].wParam, 1u);
    EXPECT_EQ(m_recorder.received[0].sender, m_text);
    EXPECT_TRUE(m_parent.events.empty());

    // A release outside every link goes on to the label (and so the parent).
    TEventUI outside = MakeEvent(EVENT_BUTTONUP, POINT { 299, 99 });
    m_text->Event(outside);
    EXPECT_EQ(m_recorder.received.size(), 1u);
    ASSERT_EQ(m_parent.events.size(), 1u);
    EXPECT_EQ(m_parent.events[0], EVENT_BUTTONUP);
}

TEST_F(TextTest, SetCursorInsideALinkShowsTheHand)
{
    m_text->SetShowHtml(true);
    m_text->SetText(L"{a only}link{/a}");
    Paint();
    ASSERT_EQ(m_text->GetLinkCount(), 1);
    TEventUI cursor = MakeEvent(EVENT_SETCURSOR, CentreOfLink(0));
    m_text->Event(cursor);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));
    EXPECT_TRUE(m_parent.events.empty());
}

TEST_F(TextTest, HoverChangesAreConsumedOnce)
{
    m_text->SetShowHtml(true);
    m_text->SetText(L"{a only}link{/a}");
    Paint();
    ASSERT_EQ(m_text->GetLinkCount(), 1);
    TEventUI move = MakeEvent(EVENT_MOUSEMOVE, CentreOfLink(0));
    m_text->Event(move);
    EXPECT_TRUE(m_parent.events.empty());  // hover changed: consumed
    m_text->Event(move);
    EXPECT_EQ(m_parent.events.size(), 1u);  // no change: passed on
    TEventUI leave = MakeEvent(EVENT_MOUSELEAVE, POINT { -1, -1 });
    m_text->Event(leave);
    EXPECT_EQ(m_parent.events.size(), 1u);  // leaving a hovered link: consumed
}

TEST_F(TextTest, DisabledOrMouseDeafTextSendsNoLink)
{
    m_text->SetShowHtml(true);
    m_text->SetText(L"{a only}link{/a}");
    Paint();
    ASSERT_EQ(m_text->GetLinkCount(), 1);
    const POINT inside = CentreOfLink(0);

    m_text->SetEnabled(false);
    TEventUI up = MakeEvent(EVENT_BUTTONUP, inside);
    m_text->Event(up);
    EXPECT_EQ(m_recorder.CountOf(L"link"), 0);
    EXPECT_EQ(m_text->GetControlFlags(), 0u);

    m_text->SetEnabled(true);
    m_text->SetMouseEnabled(false);
    m_text->Event(up);
    EXPECT_EQ(m_recorder.CountOf(L"link"), 0);
    ASSERT_FALSE(m_parent.events.empty());
    EXPECT_EQ(m_parent.events.back(), EVENT_BUTTONUP);
}

TEST_F(TextTest, AtMostEightLinksAreReported)
{
    m_text->SetShowHtml(true);
    CStdString many;
    for (int i = 0; i < 10; ++i) many += L"{a x}L{/a} ";
    m_text->SetText(many);
    Paint();
    EXPECT_EQ(m_text->GetLinkCount(), 8);
}

TEST_F(TextTest, PlainOrEmptyTextReportsNoLinks)
{
    m_text->SetShowHtml(true);
    m_text->SetText(L"{a one}one{/a} {a two}two{/a}");
    Paint();
    ASSERT_EQ(m_text->GetLinkCount(), 2);
    const POINT formerLink = CentreOfLink(0);

    // The same text without tag interpretation has no links, and the old
    // rectangles are not clickable any more.
    m_text->SetShowHtml(false);
    Paint();
    EXPECT_EQ(m_text->GetLinkCount(), 0);
    EXPECT_EQ(m_text->GetControlFlags(), 0u);
    TEventUI up = MakeEvent(EVENT_BUTTONUP, formerLink);
    m_text->Event(up);
    EXPECT_EQ(m_recorder.CountOf(L"link"), 0);

    m_text->SetShowHtml(true);
    Paint();
    ASSERT_EQ(m_text->GetLinkCount(), 2);
    m_text->SetText(L"");
    Paint();
    EXPECT_EQ(m_text->GetLinkCount(), 0);
}

TEST_F(TextTest, WrapsLongTextOverSeveralLines)
{
    m_text->SetTextColor(0xFF000000);
    m_text->SetText(L"word word word word word word word word word word word word");
    m_text->SetPos(RECT { 0, 0, 80, 100 });
    Paint();
    // Several lines: dark pixels well below the first line.
    const int lineHeight = m_pm.GetDefaultFontInfo()->tm.tmHeight;
    EXPECT_GT(m_surface.CountDark(RECT { 0, lineHeight * 2, 80, 100 }), 0);

    const SIZE narrow = m_text->EstimateSize(SIZE { 80, 0 });
    const SIZE wide = m_text->EstimateSize(SIZE { 1000, 0 });
    EXPECT_GT(narrow.cy, wide.cy);
    EXPECT_GE(wide.cy, lineHeight);
    EXPECT_LE(narrow.cx, 80);

    m_text->SetFixedHeight(33);
    EXPECT_EQ(m_text->EstimateSize(SIZE { 80, 0 }).cy, 33);
}

TEST(TextBasics, EstimateWithoutManagerGivesTheFixedSize)
{
    CTextUI text;
    text.SetFixedWidth(40);
    text.SetText(L"words");
    const SIZE size = text.EstimateSize(SIZE { 100, 100 });
    EXPECT_EQ(size.cx, 40);
    EXPECT_EQ(size.cy, 0);
}
