// Weak references between frames: a frame deletes itself with its window,
// and whoever holds it learns so whichever way the window went.
#include <gtest/gtest.h>

#include <windows.h>

#include "FrameRef.h"
#include "engine/WindowWnd.h"

namespace {

class SelfDeletingFrame : public Veneer::CWindowWnd, public CFrameLifetime {
public:
    explicit SelfDeletingFrame(bool* deleted) : m_pDeleted(deleted) {}
    ~SelfDeletingFrame() override { *m_pDeleted = true; }

protected:
    LPCWSTR GetFrameClassName() const override { return L"FrameRefTestFrame"; }
    void OnFinalMessage(HWND /*hWnd*/) override { delete this; }

private:
    bool* m_pDeleted;
};

}  // namespace

TEST(FrameRef, EmptyUntilSetAndClearedByReset)
{
    CFrameRef<SelfDeletingFrame> ref;
    EXPECT_EQ(nullptr, ref.Get());
    EXPECT_FALSE(ref);
    bool deleted = false;
    auto* frame = new SelfDeletingFrame(&deleted);
    ref.Reset(frame);
    EXPECT_EQ(frame, ref.Get());
    ref.Reset();
    EXPECT_EQ(nullptr, ref.Get());
    delete frame;
    EXPECT_TRUE(deleted);
}

TEST(FrameRef, ForgetsAFrameWhoseWindowIsDestroyed)
{
    bool deleted = false;
    auto* frame = new SelfDeletingFrame(&deleted);
    const CFrameRef<SelfDeletingFrame> ref(frame);
    const CFrameRef<SelfDeletingFrame> copy = ref;
    ASSERT_NE(nullptr, frame->Create(nullptr, L"frame", WS_POPUP, 0, 0, 0, 10, 10));
    HWND window = frame->GetHWND();
    EXPECT_EQ(frame, ref.Get());
    ::DestroyWindow(window);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(nullptr, ref.Get());
    EXPECT_EQ(nullptr, copy.Get());
}

TEST(FrameRef, ForgetsAFrameDestroyedWithItsOwner)
{
    bool ownerDeleted = false;
    bool ownedDeleted = false;
    auto* owner = new SelfDeletingFrame(&ownerDeleted);
    ASSERT_NE(nullptr, owner->Create(nullptr, L"owner", WS_POPUP, 0, 0, 0, 10, 10));
    auto* owned = new SelfDeletingFrame(&ownedDeleted);
    const CFrameRef<SelfDeletingFrame> ref(owned);
    ASSERT_NE(nullptr, owned->Create(owner->GetHWND(), L"owned", WS_POPUP, 0, 0, 0, 10, 10));
    ::DestroyWindow(owner->GetHWND());
    EXPECT_TRUE(ownedDeleted);
    EXPECT_EQ(nullptr, ref.Get());
}
