// The list in a real window, driven by real mouse, wheel and key messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ButtonWindowHost.h"
#include "controls/ListHeaderItemUI.h"
#include "controls/ListHeaderUI.h"
#include "controls/ListLabelElementUI.h"
#include "controls/ListTextElementUI.h"
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

TEST(ListWindow, AlternateBackgroundLeavesOddRowsBare)
{
    ListWindow w(L"itemaltbk=\"true\" itembkcolor=\"#FF0000FF\"");
    w.list->SetItemBkColor(0xFF0000FF);
    w.Settle();
    EXPECT_EQ(0x0000FFu, w.Pixel(w.ItemCentre(0)) & 0xFFFFFF);
    EXPECT_NE(0x0000FFu, w.Pixel(w.ItemCentre(1)) & 0xFFFFFF);
    EXPECT_EQ(0x0000FFu, w.Pixel(w.ItemCentre(2)) & 0xFFFFFF);
    w.list->SetAlternateBk(false);
    w.Settle();
    EXPECT_EQ(0x0000FFu, w.Pixel(w.ItemCentre(1)) & 0xFFFFFF);
}

TEST(ListWindow, ReturnAndDoubleClickActivate)
{
    ListWindow w;
    w.Click(w.ItemCentre(3));
    w.KeyDown(VK_RETURN);
    EXPECT_EQ(1, w.Count(L"itemactivate", w.list->GetItemAt(3)));
    const POINT pt = w.ItemCentre(5);
    w.host.Post(WM_LBUTTONDBLCLK, MK_LBUTTON, pt.x, pt.y);
    w.host.Post(WM_LBUTTONUP, 0, pt.x, pt.y);
    w.Settle();
    EXPECT_EQ(1, w.Count(L"itemactivate", w.list->GetItemAt(5)));
}

namespace {

const wchar_t kTextSkin[] =
    L"<Window size=\"300,120\"><VerticalLayout>"
    L"<List name=\"list\" itemshowhtml=\"true\" itembkcolor=\"#FFFFFFFF\" itemhotbkcolor=\"#FFFFFFFF\">"
    L"<ListHeader height=\"20\"><ListHeaderItem text=\"A\" width=\"120\" /><ListHeaderItem text=\"B\" width=\"120\" />"
    L"</ListHeader>"
    L"<ListTextElement name=\"r0\" height=\"22\" /><ListTextElement name=\"r1\" height=\"22\" />"
    L"</List></VerticalLayout></Window>";

class RecordingCallback : public IListCallbackUI {
public:
    LPCWSTR GetItemText(CControlUI* /*pList*/, int iItem, int iSubItem) override
    {
        calls.push_back(iItem * 10 + iSubItem);
        return iSubItem == 0 ? L"left" : L"right";
    }
    std::vector<int> calls;
};

}  // namespace

TEST(ListWindow, TextElementLinksNotifyWithTheirIndex)
{
    SkinnedWindow w(300, 120, kTextSkin);
    auto* row = static_cast<CListTextElementUI*>(w.Find(L"r0"));
    ASSERT_NE(nullptr, row);
    row->SetText(1, L"{a go}here{/a} more");
    w.Settle();
    ::UpdateWindow(w.host.Handle());
    ASSERT_EQ(1, row->GetLinkCount());
    ASSERT_NE(nullptr, row->GetLinkContent(0));
    EXPECT_STREQ(L"go", row->GetLinkContent(0)->GetData());
    EXPECT_EQ(0x06u, row->GetControlFlags());
    auto* list = static_cast<CListUI*>(w.Find(L"list"));
    const RECT& rcColumn = list->GetListInfo()->rcColumn[1];
    // Left-aligned: the link starts at the column's left edge.
    const POINT onLink = { rcColumn.left + 6, (row->GetPos().top + row->GetPos().bottom) / 2 };
    w.Click(onLink);
    EXPECT_EQ(1, w.Count(L"link", row));
    EXPECT_EQ(0u, w.notes.back().type == L"link" ? w.notes.back().wParam : 0u);
    EXPECT_EQ(0, list->GetCurSel());  // the press selected the row as well
}

TEST(ListWindow, TextCallbackSuppliesEveryColumn)
{
    SkinnedWindow w(300, 120, kTextSkin);
    auto* list = static_cast<CListUI*>(w.Find(L"list"));
    ASSERT_NE(nullptr, list);
    RecordingCallback callback;
    list->SetTextCallback(&callback);
    EXPECT_EQ(&callback, list->GetTextCallback());
    list->Invalidate();
    ::UpdateWindow(w.host.Handle());
    auto seen = [&](int code) {
        return std::find(callback.calls.begin(), callback.calls.end(), code) != callback.calls.end();
    };
    EXPECT_TRUE(seen(0));
    EXPECT_TRUE(seen(1));
    EXPECT_TRUE(seen(10));
    EXPECT_TRUE(seen(11));
    EXPECT_FALSE(seen(2));  // two columns only
    list->SetTextCallback(nullptr);
}
