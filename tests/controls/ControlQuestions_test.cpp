// The engine asks controls questions instead of comparing class names; the
// stock controls answer as the class-name rules did.
#include <gtest/gtest.h>

#include <cwchar>
#include <memory>
#include <vector>

#include "ControlTestHelpers.h"
#include "controls/ButtonUI.h"
#include "controls/ListUI.h"
#include "controls/ScrollBarUI.h"
#include "foundation/DialogBuilder.h"

using namespace Veneer;
using namespace ControlTest;

namespace {

const wchar_t* const kStockElements[] = { L"Edit", L"List", L"Text", L"Combo", L"Label", L"Button",
    L"Option", L"Slider", L"Control", L"ActiveX", L"Progress", L"CheckBox", L"ComboBox", L"DateTime",
    L"TreeView", L"Container", L"TabLayout", L"ScrollBar", L"ListHeader", L"TileLayout", L"WebBrowser",
    L"ChildLayout", L"VerticalLayout", L"ListHeaderItem", L"ListTextElement", L"HorizontalLayout",
    L"ListLabelElement", L"ListContainerElement" };

// Records what reaches its DoEvent.
class RecordingContainer : public CContainerUI {
public:
    void DoEvent(TEventUI& event) override { events.push_back(event.Type); }
    std::vector<int> events;
};

}  // namespace

TEST(ControlQuestions, StockControlsAnswerAsTheirClassNamesDid)
{
    for (const wchar_t* element : kStockElements) {
        std::unique_ptr<CControlUI> control(CDialogBuilder::CreateStockControl(element));
        ASSERT_NE(control, nullptr) << element;
        const wchar_t* cls = control->GetClass();
        // Shortcuts passed over labels; the caption drags except through
        // buttons, options and texts; only a rich edit wants the tab key.
        EXPECT_EQ(control->HandsShortcutOn(), std::wcsstr(cls, L"LabelUI") != nullptr) << element;
        const bool captionControl =
            _wcsicmp(cls, L"ButtonUI") == 0 || _wcsicmp(cls, L"OptionUI") == 0 || _wcsicmp(cls, L"TextUI") == 0;
        EXPECT_EQ(control->TakesCaptionClick(), captionControl) << element;
        EXPECT_FALSE(control->WantsTab()) << element;
    }
}

TEST(ControlQuestions, MarkupChildrenJoinTheContainerAndTreeNodesTheirRow)
{
    std::unique_ptr<CControlUI> plain(CDialogBuilder::CreateStockControl(L"Control"));
    EXPECT_EQ(plain->GetMarkupContainer(), nullptr);
    std::unique_ptr<CControlUI> layout(CDialogBuilder::CreateStockControl(L"VerticalLayout"));
    EXPECT_EQ(layout->GetMarkupContainer(), layout->GetInterface(L"IContainer"));
    std::unique_ptr<CControlUI> node(CDialogBuilder::CreateStockControl(L"TreeNode"));
    ASSERT_NE(node, nullptr);
    IContainerUI* row = node->GetMarkupContainer();
    ASSERT_NE(row, nullptr);
    EXPECT_NE(row, node->GetInterface(L"IContainer"));
}

TEST(ControlQuestions, MouseDisabledControlsHandMouseEventsToParentOrOwner)
{
    RecordingContainer parent;
    auto* button = new CButtonUI;
    parent.Add(button);
    // Without a paint manager adding does not link the parent.
    button->SetManager(nullptr, &parent, false);
    button->SetPos(R(0, 0, 10, 10));
    button->SetMouseEnabled(false);
    TEventUI down = MouseEvent(EVENT_BUTTONDOWN, 1, 1);
    button->DoEvent(down);
    ASSERT_EQ(parent.events.size(), 1u);
    EXPECT_EQ(parent.events[0], EVENT_BUTTONDOWN);
    EXPECT_EQ(button->GetButtonState() & (STATE_PUSHED | STATE_CAPTURED), 0u);
    button->SetMouseEnabled(true);
    button->DoEvent(down);
    EXPECT_EQ(parent.events.size(), 1u);
    EXPECT_NE(button->GetButtonState() & STATE_CAPTURED, 0u);

    RecordingContainer owner;
    CScrollBarUI bar;
    bar.SetOwner(&owner);
    bar.SetMouseEnabled(false);
    TEventUI wheel = MouseEvent(EVENT_SCROLLWHEEL, 1, 1);
    bar.DoEvent(wheel);
    ASSERT_EQ(owner.events.size(), 1u);
    EXPECT_EQ(owner.events[0], EVENT_SCROLLWHEEL);
}
