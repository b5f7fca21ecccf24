// GenerateBitmap: a control painted into a bitmap of its own size.
#include <gtest/gtest.h>

#include "engine/ControlUI.h"
#include "engine/PaintManagerUI.h"
#include "engine/RenderEngine.h"

using namespace Veneer;

TEST(RenderBitmap, ControlPaintsIntoASectionOfItsSize)
{
    CPaintManagerUI manager;
    CControlUI control;
    control.SetManager(&manager, nullptr, false);
    control.SetBkColor(0xFFFF0000u);
    const RECT rc { 10, 20, 40, 36 };
    control.SetPos(rc);

    HBITMAP bitmap = CRenderEngine::GenerateBitmap(&manager, &control, rc);
    ASSERT_NE(nullptr, bitmap);
    DIBSECTION section {};
    ASSERT_EQ(static_cast<int>(sizeof(section)), ::GetObjectW(bitmap, sizeof(section), &section));
    EXPECT_EQ(30, section.dsBm.bmWidth);
    EXPECT_EQ(16, section.dsBm.bmHeight);
    EXPECT_EQ(32, section.dsBm.bmBitsPixel);
    const DWORD* bits = static_cast<const DWORD*>(section.dsBm.bmBits);
    EXPECT_EQ(0xFF0000u, bits[0] & 0xFFFFFFu);
    EXPECT_EQ(0xFF0000u, bits[30 * 16 - 1] & 0xFFFFFFu);
    ::DeleteObject(bitmap);

    EXPECT_EQ(nullptr, CRenderEngine::GenerateBitmap(nullptr, &control, rc));
    EXPECT_EQ(nullptr, CRenderEngine::GenerateBitmap(&manager, nullptr, rc));
    EXPECT_EQ(nullptr, CRenderEngine::GenerateBitmap(&manager, &control, RECT { 5, 5, 5, 9 }));
}
