// Options and check boxes in a real window, clicked with real messages.
#include <gtest/gtest.h>

#include <vector>

#include "ButtonWindowHost.h"
#include "controls/CheckBoxUI.h"
#include "controls/OptionUI.h"

using namespace Veneer;
using namespace WidgetWindowTests;

namespace {

const wchar_t kSkin[] =
    L"<Window size=\"400,40\">"
    L"<Default name=\"Option\" value=\"width=&quot;100&quot; group=&quot;tabs&quot; "
    L"normalimage=&quot;normal.png&quot; selectedimage=&quot;selected.png&quot;\" />"
    L"<HorizontalLayout bkcolor=\"#FFFFFFFF\">"
    L"<Option name=\"one\" selected=\"true\" />"
    L"<Option name=\"two\" />"
    L"<Option name=\"three\" />"
    L"<CheckBox name=\"check\" width=\"100\" normalimage=\"normal.png\" selectedimage=\"selected.png\" />"
    L"</HorizontalLayout>"
    L"</Window>";

struct OptionWindow : SkinnedWindow {
    OptionWindow() : SkinnedWindow(400, 40, kSkin)
    {
        one = static_cast<COptionUI*>(Find(L"one"));
        two = static_cast<COptionUI*>(Find(L"two"));
        three = static_cast<COptionUI*>(Find(L"three"));
        check = static_cast<CCheckBoxUI*>(Find(L"check"));
    }
    COptionUI* one { nullptr };
    COptionUI* two { nullptr };
    COptionUI* three { nullptr };
    CCheckBoxUI* check { nullptr };
};

}  // namespace

TEST(OptionWindow, GroupFromDefaultsAndTheSelectedLook)
{
    OptionWindow w;
    ASSERT_NE(w.one, nullptr);
    ASSERT_NE(w.check, nullptr);
    EXPECT_STREQ(w.check->GetClass(), L"CheckBoxUI");
    CStdPtrArray* group = w.host.Manager().GetOptionGroup(L"tabs");
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->GetSize(), 3);
    EXPECT_TRUE(w.one->IsSelected());
    EXPECT_EQ(w.Pixel(OptionWindow::Centre(w.one)), 0xFF8000u);
    EXPECT_EQ(w.Pixel(OptionWindow::Centre(w.two)), 0xFF0000u);
}

TEST(OptionWindow, ClickingAnotherOptionMovesTheSelection)
{
    OptionWindow w;
    ASSERT_NE(w.three, nullptr);
    w.Click(OptionWindow::Centre(w.three));
    EXPECT_TRUE(w.three->IsSelected());
    EXPECT_FALSE(w.one->IsSelected());
    EXPECT_FALSE(w.two->IsSelected());
    std::vector<Note> changes;
    for (const Note& n : w.notes) {
        if (n.type == L"click" || n.type == L"selectchanged") changes.push_back(n);
    }
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].type, L"click");
    EXPECT_EQ(changes[1].type, L"selectchanged");
    EXPECT_EQ(changes[1].sender, w.three);
    EXPECT_EQ(w.Pixel(OptionWindow::Centre(w.one)), 0xFF0000u);
    // Still hot over the option: the selected look stays (no selected hot image).
    EXPECT_EQ(w.Pixel(OptionWindow::Centre(w.three)), 0xFF8000u);

    w.notes.clear();
    w.Click(OptionWindow::Centre(w.three));
    EXPECT_TRUE(w.three->IsSelected());
    EXPECT_EQ(w.Count(L"click"), 1);
    EXPECT_EQ(w.Count(L"selectchanged"), 0);
}

TEST(OptionWindow, CheckBoxTogglesOnEachClick)
{
    OptionWindow w;
    const POINT pc = OptionWindow::Centre(w.check);
    w.Click(pc);
    EXPECT_TRUE(w.check->GetCheck());
    EXPECT_EQ(w.Pixel(pc), 0xFF8000u);
    w.Click(pc);
    EXPECT_FALSE(w.check->GetCheck());
    EXPECT_EQ(w.Count(L"selectchanged", w.check), 2);
    EXPECT_EQ(w.Count(L"click", w.check), 2);
    EXPECT_TRUE(w.one->IsSelected());  // not in the group
}
