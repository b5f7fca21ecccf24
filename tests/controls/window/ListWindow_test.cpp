// The list in a real window, driven by real mouse, wheel and key messages.
#include <gtest/gtest.h>

#include <string>

#include "ButtonWindowHost.h"
#include "controls/ListHeaderItemUI.h"
#include "controls/ListHeaderUI.h"
#include "controls/ListLabelElementUI.h"
#include "controls/ListUI.h"

using namespace Veneer;
using namespace WidgetWindowTests;

namespace {

std::wstring ListSkin(LPCWSTR listAttributes)
{
    std::wstring skin = L"<Window size=\"300,200\"><VerticalLayout>"
                        L"<List name=\"list\" vscrollbar=\"true\" itemselectedbkcolor=\"#FFFF0000\" "
                        L"itemhotbkcolor=\"#FFFFFFFF\" itembkcolor=\"#FFFFFFFF\" ";
    skin += listAttributes;
    skin += L"><ListHeader height=\"20\">"
            L"<ListHeaderItem name=\"h0\" text=\"A\" width=\"100\" />"
            L"<ListHeaderItem name=\"h1\" text=\"B\" width=\"100\" />"
            L"</ListHeader>";
    for (int i = 0; i < 20; ++i) {
        skin += L"<ListLabelElement height=\"20\" text=\"row " + std::to_wstring(i) + L"\" />";
    }
    skin += L"</List></VerticalLayout></Window>";
    return skin;
}

class ListWindow : public SkinnedWindow {
public:
    explicit ListWindow(LPCWSTR listAttributes = L"")
        : SkinnedWindow(300, 200, ListSkin(listAttributes).c_str())
    {
        list = static_cast<CListUI*>(Find(L"list"));
    }
    POINT ItemCentre(int i) { return Centre(list->GetItemAt(i)); }
    void KeyDown(WPARAM key)
    {
        ::PostMessageW(host.Handle(), WM_KEYDOWN, key, 0);
        ::PostMessageW(host.Handle(), WM_KEYUP, key, 0);
        Settle();
    }
    void ClickWith(POINT pt, WPARAM keys)
    {
        Move(pt);
        host.Post(WM_LBUTTONDOWN, MK_LBUTTON | keys, pt.x, pt.y);
        host.Post(WM_LBUTTONUP, keys, pt.x, pt.y);
        Settle();
    }
    WPARAM LastSelectParam() const
    {
        for (auto it = notes.rbegin(); it != notes.rend(); ++it) {
            if (it->type == L"itemselect") return it->wParam;
        }
        return static_cast<WPARAM>(-1);
    }

    CListUI* list { nullptr };
};

}  // namespace

TEST(ListWindow, ClickSelectsAndModifierClicksStillSelectOne)
{
    ListWindow w;
    ASSERT_NE(nullptr, w.list);
    ASSERT_EQ(20, w.list->GetCount());
    w.Click(w.ItemCentre(2));
    EXPECT_EQ(2, w.list->GetCurSel());
    EXPECT_EQ(1, w.Count(L"itemselect", w.list));
    EXPECT_EQ(2u, w.LastSelectParam());
    EXPECT_EQ(1, w.Count(L"itemclick", w.list->GetItemAt(2)));
    EXPECT_EQ(0xFF0000u, w.Pixel(w.ItemCentre(2)) & 0xFFFFFF);

    w.ClickWith(w.ItemCentre(4), MK_SHIFT);
    EXPECT_EQ(4, w.list->GetCurSel());
    w.ClickWith(w.ItemCentre(1), MK_CONTROL);
    EXPECT_EQ(1, w.list->GetCurSel());
    int selected = 0;
    for (int i = 0; i < w.list->GetCount(); ++i) {
        auto* item = static_cast<IListItemUI*>(w.list->GetItemAt(i)->GetInterface(L"ListItem"));
        selected += item->IsSelected() ? 1 : 0;
    }
    EXPECT_EQ(1, selected);
    EXPECT_EQ(0xFFFFFFu, w.Pixel(w.ItemCentre(4)) & 0xFFFFFF);
}

TEST(ListWindow, KeysSelectAndPagesOnlyScroll)
{
    ListWindow w;
    w.Click(w.ItemCentre(0));
    w.KeyDown(VK_DOWN);
    EXPECT_EQ(1, w.list->GetCurSel());
    w.KeyDown(VK_END);
    EXPECT_EQ(19, w.list->GetCurSel());
    EXPECT_GT(w.list->GetScrollPos().cy, 0);  // brought into view
    const RECT rcBody = w.list->GetList()->GetPos();
    EXPECT_LE(w.list->GetItemAt(19)->GetPos().bottom, rcBody.bottom);
    w.KeyDown(VK_DOWN);
    EXPECT_EQ(19, w.list->GetCurSel());
    w.KeyDown(VK_HOME);
    EXPECT_EQ(0, w.list->GetCurSel());
    EXPECT_EQ(0, w.list->GetScrollPos().cy);
    const int notesBefore = w.Count(L"itemselect");
    w.KeyDown(VK_NEXT);
    EXPECT_EQ(0, w.list->GetCurSel());
    EXPECT_GT(w.list->GetScrollPos().cy, 0);
    w.KeyDown(VK_PRIOR);
    EXPECT_EQ(0, w.list->GetScrollPos().cy);
    EXPECT_EQ(notesBefore, w.Count(L"itemselect"));
}

TEST(ListWindow, WheelScrollsOrWithScrollSelectSelects)
{
    ListWindow plain;
    plain.Click(plain.ItemCentre(0));
    const POINT pt = plain.ItemCentre(1);
    plain.host.Wheel(-120, pt.x, pt.y);
    plain.Settle();
    EXPECT_EQ(0, plain.list->GetCurSel());
    EXPECT_GT(plain.list->GetScrollPos().cy, 0);

    ListWindow selecting(L"scrollselect=\"true\"");
    selecting.Click(selecting.ItemCentre(0));
    const int before = selecting.Count(L"itemselect");
    const POINT at = selecting.ItemCentre(1);
    selecting.host.Wheel(-120, at.x, at.y);
    selecting.Settle();
    EXPECT_EQ(1, selecting.list->GetCurSel());
    EXPECT_EQ(before + 1, selecting.Count(L"itemselect", selecting.list));
    EXPECT_EQ(1u, selecting.LastSelectParam());
    selecting.host.Wheel(120, at.x, at.y);
    selecting.Settle();
    EXPECT_EQ(0, selecting.list->GetCurSel());
}

TEST(ListWindow, DraggedSeparatorResizesItsColumn)
{
    ListWindow w;
    auto* column = static_cast<CListHeaderItemUI*>(w.Find(L"h0"));
    ASSERT_NE(nullptr, column);
    ASSERT_EQ(100, column->GetPos().right);
    const int y = (column->GetPos().top + column->GetPos().bottom) / 2;
    w.Move(POINT { 98, y });
    w.Down(POINT { 98, y });
    w.host.Post(WM_MOUSEMOVE, MK_LBUTTON, 120, y);
    w.host.Post(WM_MOUSEMOVE, MK_LBUTTON, 148, y);
    w.Up(POINT { 148, y });
    w.Settle();
    EXPECT_EQ(150, column->GetFixedWidth());
    EXPECT_EQ(150, column->GetPos().right);
    EXPECT_EQ(150, w.list->GetListInfo()->rcColumn[0].right);
    EXPECT_EQ(250, w.list->GetListInfo()->rcColumn[1].right);
    EXPECT_EQ(0, w.Count(L"headerclick"));

    // Dragging far past the left edge stops short of the minimum width.
    w.Move(POINT { 148, y });
    w.Down(POINT { 148, y });
    w.host.Post(WM_MOUSEMOVE, MK_LBUTTON, -40, y);
    w.Up(POINT { -40, y });
    w.Settle();
    EXPECT_EQ(150, column->GetFixedWidth());
    EXPECT_GT(column->GetFixedWidth(), column->GetMinWidth());

    w.Click(SkinnedWindow::Centre(column));
    EXPECT_EQ(1, w.Count(L"headerclick", column));
}
