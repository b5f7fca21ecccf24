#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "LabelPaintSurface.h"
#include "controls/CheckBoxUI.h"
#include "controls/OptionUI.h"
#include "engine/PaintManagerUI.h"
#include "support/TestSupport.h"

using namespace Veneer;
using namespace WidgetTests;

namespace {

class OptionTest : public ::testing::Test {
protected:
    void SetUp() override { m_pm.AddNotifier(&m_recorder); }
    void TearDown() override
    {
        m_options.clear();
        m_pm.RemoveNotifier(&m_recorder);
    }
    // Attached as the builder and containers do: with a parent and Init.
    template <class T = COptionUI>
    T* Add(LPCWSTR group = nullptr, RECT rc = RECT { 0, 0, 40, 20 })
    {
        T* option = new T;
        m_options.emplace_back(option);
        if (group != nullptr) option->SetAttribute(L"group", group);
        option->SetManager(&m_pm, &m_parent, true);
        option->SetPos(rc);
        return option;
    }
    void Click(COptionUI* option)
    {
        const RECT& rc = option->GetPos();
        const POINT pt { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
        TEventUI down = MakeEvent(EVENT_BUTTONDOWN, pt);
        option->Event(down);
        TEventUI up = MakeEvent(EVENT_BUTTONUP, pt);
        option->Event(up);
    }
    int GroupSize(LPCWSTR group)
    {
        CStdPtrArray* members = m_pm.GetOptionGroup(group);
        return members == nullptr ? 0 : members->GetSize();
    }

    CPaintManagerUI m_pm;
    NotifyRecorder m_recorder;
    EventSpyControl m_parent;
    std::vector<std::unique_ptr<COptionUI>> m_options;
};

}  // namespace

TEST(OptionBasics, NamesAndCheckBoxVocabulary)
{
    COptionUI option;
    EXPECT_STREQ(option.GetClass(), L"OptionUI");
    EXPECT_EQ(option.GetInterface(L"Option"), static_cast<LPVOID>(&option));
    EXPECT_EQ(option.GetInterface(L"Button"), static_cast<LPVOID>(static_cast<CButtonUI*>(&option)));
    EXPECT_FALSE(option.IsSelected());

    CCheckBoxUI check;
    EXPECT_STREQ(check.GetClass(), L"CheckBoxUI");
    EXPECT_EQ(check.GetInterface(L"Option"), static_cast<LPVOID>(static_cast<COptionUI*>(&check)));
    check.SetCheck(true);
    EXPECT_TRUE(check.GetCheck());
    EXPECT_TRUE(check.IsSelected());
    check.SetCheck(false);
    EXPECT_FALSE(check.GetCheck());
}

TEST(OptionBasics, Attributes)
{
    COptionUI option;
    option.SetAttribute(L"selectedimage", L"s.png");
    option.SetAttribute(L"selectedhotimage", L"sh.png");
    option.SetAttribute(L"foreimage", L"own.png");
    option.SetAttribute(L"selectedbkcolor", L"#FF010203");
    option.SetAttribute(L"selectedtextcolor", L"#FF040506");
    option.SetAttribute(L"group", L"g");
    option.SetAttribute(L"normalimage", L"n.png");
    EXPECT_STREQ(option.GetSelectedImage(), L"s.png");
    EXPECT_STREQ(option.GetSelectedHotImage(), L"sh.png");
    EXPECT_STREQ(option.GetForeImage(), L"own.png");
    EXPECT_STREQ(option.CButtonUI::GetForeImage(), L"");  // the option keeps its own
    EXPECT_EQ(option.GetSelectBkColor(), 0xFF010203u);
    EXPECT_EQ(option.GetSelectedTextColor(), 0xFF040506u);
    EXPECT_STREQ(option.GetGroup(), L"g");
    EXPECT_STREQ(option.GetNormalImage(), L"n.png");

    option.SetAttribute(L"selected", L"yes");
    EXPECT_FALSE(option.IsSelected());
    option.SetAttribute(L"selected", L"true");
    EXPECT_TRUE(option.IsSelected());
    EXPECT_EQ(option.GetButtonState() & STATE_SELECTED, STATE_SELECTED);
    option.SetAttribute(L"selectedbkcolor", L"#");
    EXPECT_EQ(option.GetSelectBkColor(), 0u);
}

TEST_F(OptionTest, SelectedTextColourGetterFillsTheDefault)
{
    COptionUI* option = Add();
    m_pm.SetDefaultFontColor(0xFF112233);
    EXPECT_EQ(option->GetSelectedTextColor(), 0xFF112233u);
    m_pm.SetDefaultFontColor(0xFF000000);
    EXPECT_EQ(option->GetSelectedTextColor(), 0xFF112233u);  // stored
}

TEST_F(OptionTest, LoneOptionToggles)
{
    COptionUI* option = Add();
    Click(option);
    EXPECT_TRUE(option->IsSelected());
    EXPECT_EQ(m_recorder.Types(), (std::vector<std::wstring> { L"click", L"selectchanged" }));
    Click(option);
    EXPECT_FALSE(option->IsSelected());
    EXPECT_EQ(m_recorder.CountOf(L"selectchanged", option), 2);
    EXPECT_EQ(m_recorder.CountOf(L"click", option), 2);
}

TEST_F(OptionTest, CheckBoxClickTogglesAndNotifiesClickFirst)
{
    CCheckBoxUI* check = Add<CCheckBoxUI>();
    Click(check);
    EXPECT_TRUE(check->GetCheck());
    EXPECT_EQ(m_recorder.Types(), (std::vector<std::wstring> { L"click", L"selectchanged" }));
    Click(check);
    EXPECT_FALSE(check->GetCheck());
}

TEST_F(OptionTest, SelectingOneDeselectsTheGroupSilently)
{
    COptionUI* a = Add(L"tabs", RECT { 0, 0, 40, 20 });
    COptionUI* b = Add(L"tabs", RECT { 40, 0, 80, 20 });
    COptionUI* c = Add(L"tabs", RECT { 80, 0, 120, 20 });
    COptionUI* other = Add(L"elsewhere", RECT { 0, 20, 40, 40 });
    EXPECT_EQ(GroupSize(L"tabs"), 3);
    other->Selected(true);
    a->Selected(true);
    m_recorder.received.clear();

    Click(b);
    EXPECT_TRUE(b->IsSelected());
    EXPECT_FALSE(a->IsSelected());
    EXPECT_FALSE(c->IsSelected());
    EXPECT_TRUE(other->IsSelected());  // another group is untouched
    ASSERT_EQ(m_recorder.received.size(), 2u);
    EXPECT_EQ(m_recorder.received[0].type, L"click");
    EXPECT_EQ(m_recorder.received[1].type, L"selectchanged");
    EXPECT_EQ(m_recorder.received[1].sender, b);

    // Clicking the selected member keeps it and only clicks.
    m_recorder.received.clear();
    Click(b);
    EXPECT_TRUE(b->IsSelected());
    EXPECT_EQ(m_recorder.Types(), (std::vector<std::wstring> { L"click" }));

    // Deselecting a grouped option by code sends nothing.
    m_recorder.received.clear();
    b->Selected(false);
    EXPECT_TRUE(m_recorder.received.empty());
}

TEST_F(OptionTest, SelectedAttributeInAGroupDeselectsTheOthers)
{
    COptionUI* a = Add(L"g");
    COptionUI* b = Add(L"g");
    a->SetAttribute(L"selected", L"true");
    b->SetAttribute(L"selected", L"true");
    EXPECT_FALSE(a->IsSelected());
    EXPECT_TRUE(b->IsSelected());
}

TEST_F(OptionTest, GroupMembershipFollowsSetGroupAndDestruction)
{
    COptionUI* a = Add(L"one");
    Add(L"one");
    EXPECT_EQ(GroupSize(L"one"), 2);
    a->SetGroup(L"two");
    EXPECT_EQ(GroupSize(L"one"), 1);
    EXPECT_EQ(GroupSize(L"two"), 1);
    a->SetGroup(L"two");  // unchanged
    EXPECT_EQ(GroupSize(L"two"), 1);
    a->SetGroup(nullptr);
    EXPECT_EQ(GroupSize(L"two"), 0);
    EXPECT_STREQ(a->GetGroup(), L"");

    // Attaching again with Init does not add a member twice.
    COptionUI* b = Add(L"three");
    b->SetManager(&m_pm, &m_parent, true);
    EXPECT_EQ(GroupSize(L"three"), 1);

    // A destroyed option leaves its group.
    m_options.clear();
    EXPECT_EQ(GroupSize(L"one"), 0);
    EXPECT_EQ(GroupSize(L"three"), 0);
}

TEST_F(OptionTest, GroupSetBeforeAManagerJoinsOnInit)
{
    COptionUI* option = new COptionUI;
    m_options.emplace_back(option);
    option->SetGroup(L"late");
    EXPECT_EQ(GroupSize(L"late"), 0);
    option->SetManager(&m_pm, nullptr, false);
    EXPECT_EQ(GroupSize(L"late"), 0);
    option->SetManager(&m_pm, &m_parent, true);
    EXPECT_EQ(GroupSize(L"late"), 1);
}

TEST_F(OptionTest, DisablingKeepsOnlyTheSelectedBit)
{
    COptionUI* option = Add();
    option->Selected(true);
    TEventUI enter = MakeEvent(EVENT_MOUSEENTER, POINT { 5, 5 });
    option->Event(enter);
    option->SetEnabled(false);
    EXPECT_EQ(option->GetButtonState(), STATE_SELECTED);
    option->Selected(false);
    option->SetEnabled(true);
    option->SetEnabled(false);
    EXPECT_EQ(option->GetButtonState(), 0u);
}

// ---- painting ----

namespace {

class OptionPaintTest : public OptionTest {
protected:
    void SetUp() override
    {
        CPaintManagerUI::SetResourcePath(TestSupport::FixturePath(L"widgets/").c_str());
        OptionTest::SetUp();
        m_option = Add(nullptr, RECT { 10, 10, 90, 40 });
        m_option->SetAttribute(L"normalimage", L"normal.png");
        m_option->SetAttribute(L"hotimage", L"hot.png");
        m_option->SetAttribute(L"pushedimage", L"pushed.png");
        m_option->SetAttribute(L"selectedimage", L"selected.png");
    }
    DWORD PaintAndSample()
    {
        m_surface.Fill(0xFFFFFF);
        m_option->DoPaint(m_surface.Dc(), m_option->GetPos());
        return m_surface.Pixel(50, 25);
    }
    void Send(int type, POINT pt = POINT { 50, 25 })
    {
        TEventUI event = MakeEvent(type, pt);
        m_option->Event(event);
    }

    COptionUI* m_option { nullptr };
    PaintSurface m_surface { 100, 50 };
};

}  // namespace

TEST_F(OptionPaintTest, StateImagesOfAnOption)
{
    EXPECT_EQ(PaintAndSample(), 0xFF0000u);
    Send(EVENT_MOUSEENTER);
    Send(EVENT_BUTTONDOWN);
    EXPECT_EQ(PaintAndSample(), 0x00FF00u);  // never the pushed look: hot
    Send(EVENT_BUTTONUP);
    EXPECT_TRUE(m_option->IsSelected());
    EXPECT_EQ(PaintAndSample(), 0xFF8000u);  // selected (hot, no selected hot image)
    m_option->SetSelectedHotImage(L"selectedhot.png");
    EXPECT_EQ(PaintAndSample(), 0x8000FFu);
    Send(EVENT_MOUSELEAVE, POINT { -1, -1 });
    EXPECT_EQ(PaintAndSample(), 0xFF8000u);
}

TEST_F(OptionPaintTest, SelectedColourFillsAndSkipsTheForegroundImage)
{
    m_option->SetSelectedImage(L"");
    m_option->SetAttribute(L"selectedbkcolor", L"#FF204060");
    m_option->SetAttribute(L"foreimage", L"file='fore.png' dest='0,0,4,4'");
    EXPECT_EQ(PaintAndSample(), 0xFF0000u);
    EXPECT_EQ(m_surface.Pixel(11, 11), 0xFF00FFu);  // own foreground over the normal look
    m_option->Selected(true);
    EXPECT_EQ(PaintAndSample(), 0x204060u);
    EXPECT_EQ(m_surface.Pixel(11, 11), 0x204060u);
}

TEST_F(OptionPaintTest, BrokenSelectedImagePaintsAsAButton)
{
    m_option->SetSelectedImage(L"missing.png");
    m_option->Selected(true);
    EXPECT_EQ(PaintAndSample(), 0xFF0000u);
    EXPECT_STREQ(m_option->GetSelectedImage(), L"");
}

TEST_F(OptionPaintTest, SelectedTextColourIsTemporary)
{
    m_option->SetNormalImage(L"");
    m_option->SetSelectedImage(L"");
    m_pm.AddFont(L"Tahoma", 20, true, false, false);
    m_option->SetFont(0);
    m_option->SetTextColor(0xFF000000);
    m_option->SetSelectedTextColor(0xFF0000FF);
    m_option->Selected(true);

    // Empty text: nothing drawn, colour restored.
    PaintAndSample();
    EXPECT_EQ(m_option->GetTextColor(), 0xFF000000u);

    m_option->SetText(L"Tab");
    PaintAndSample();
    EXPECT_GT(m_surface.Count(m_surface.Whole(), IsBluish), 10);
    EXPECT_EQ(m_option->GetTextColor(), 0xFF000000u);

    m_option->Selected(false);
    PaintAndSample();
    EXPECT_EQ(m_surface.Count(m_surface.Whole(), IsBluish), 0);
    EXPECT_GT(m_surface.CountDark(m_surface.Whole()), 10);
}
