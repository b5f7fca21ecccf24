// A layout pass hands the window one invalidation covering what it moved;
// the update region seen by the window is what it was before the gathering.
#include <gtest/gtest.h>

#include "controls/HorizontalLayoutUI.h"
#include "controls/VerticalLayoutUI.h"
#include "engine/PaintManagerTestKit.h"

using namespace Veneer;
using namespace PaintManagerTestKit;

namespace {

RECT UpdateRect(HWND hwnd)
{
    RECT rc {};
    ::GetUpdateRect(hwnd, &rc, FALSE);
    return rc;
}

::testing::AssertionResult SameRect(const RECT& expected, const RECT& actual)
{
    if (::EqualRect(&expected, &actual)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected (" << expected.left << "," << expected.top << ","
                                         << expected.right << "," << expected.bottom << ") got (" << actual.left
                                         << "," << actual.top << "," << actual.right << "," << actual.bottom << ")";
}

}  // namespace

TEST(LayoutInvalidation, BatchHoldsInvalidationsUntilTheOutermostEnd)
{
    HostWindow host(200, 120);
    ASSERT_NE(host.hwnd, nullptr);
    ::ValidateRect(host.hwnd, nullptr);

    RECT first { 10, 10, 30, 20 };
    RECT second { 50, 40, 70, 60 };
    host.manager.BeginInvalidationBatch();
    host.manager.Invalidate(first);
    host.manager.BeginInvalidationBatch();
    host.manager.Invalidate(second);
    host.manager.EndInvalidationBatch();
    RECT pending = UpdateRect(host.hwnd);
    EXPECT_TRUE(::IsRectEmpty(&pending)) << "the inner end flushed early";

    host.manager.EndInvalidationBatch();
    EXPECT_TRUE(SameRect(RECT { 10, 10, 70, 60 }, UpdateRect(host.hwnd)));

    // Closed: the next invalidation reaches the window at once, and an
    // unbalanced end is harmless.
    ::ValidateRect(host.hwnd, nullptr);
    host.manager.EndInvalidationBatch();
    RECT direct { 100, 100, 110, 110 };
    host.manager.Invalidate(direct);
    EXPECT_TRUE(SameRect(direct, UpdateRect(host.hwnd)));
}

TEST(LayoutInvalidation, LayoutPassInvalidatesOldAndNewPlaceOnce)
{
    HostWindow host(300, 200);
    ASSERT_NE(host.hwnd, nullptr);
    auto* root = new CVerticalLayoutUI;
    auto* outer = new CHorizontalLayoutUI;
    outer->SetFixedHeight(40);
    for (int i = 0; i < 5; ++i) outer->Add(new CControlUI);
    root->Add(outer);
    root->Add(new CControlUI);
    host.manager.AttachDialog(root);
    root->SetPos(RECT { 0, 0, 300, 200 });

    // Moving the row: its old and new places need painting, nothing else.
    ::ValidateRect(host.hwnd, nullptr);
    outer->SetPos(RECT { 20, 100, 220, 140 });
    EXPECT_TRUE(SameRect(RECT { 0, 0, 300, 140 }, UpdateRect(host.hwnd)));
    EXPECT_EQ(20, outer->GetItemAt(0)->GetPos().left);

    // After the pass the batch is closed: a single control's change is seen.
    ::ValidateRect(host.hwnd, nullptr);
    outer->GetItemAt(1)->Invalidate();
    EXPECT_TRUE(SameRect(outer->GetItemAt(1)->GetPos(), UpdateRect(host.hwnd)));
}
