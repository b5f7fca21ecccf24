#pragma once
// Small helpers for control-tree tests that run without a window.
#include <gtest/gtest.h>

#include "controls/ContainerUI.h"
#include "engine/ControlUI.h"
#include "engine/PaintManagerUI.h"

namespace ControlTest {

inline RECT R(int l, int t, int r, int b) { return RECT { l, t, r, b }; }

inline ::testing::AssertionResult RectEq(const RECT& expected, const RECT& actual)
{
    if (expected.left == actual.left && expected.top == actual.top
        && expected.right == actual.right && expected.bottom == actual.bottom) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "expected " << expected.left << "," << expected.top << ","
                                         << expected.right << "," << expected.bottom << " got "
                                         << actual.left << "," << actual.top << "," << actual.right
                                         << "," << actual.bottom;
}

// A leaf with a fixed size wish (0 = stretch).
inline Veneer::CControlUI* Box(int cx, int cy)
{
    auto* p = new Veneer::CControlUI;
    p->SetFixedWidth(cx);
    p->SetFixedHeight(cy);
    return p;
}

inline Veneer::TEventUI MouseEvent(int type, int x, int y)
{
    Veneer::TEventUI event;
    event.Type = type;
    event.ptMouse = POINT { x, y };
    return event;
}

}  // namespace ControlTest
