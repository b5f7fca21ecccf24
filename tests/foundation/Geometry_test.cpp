#include <gtest/gtest.h>

#include "foundation/Delegate.h"
#include "foundation/Geometry.h"
#include "foundation/WaitCursor.h"

using namespace Veneer;

TEST(Geometry, RectOperations)
{
    CRect rc(10, 20, 30, 60);
    EXPECT_EQ(20, rc.GetWidth());
    EXPECT_EQ(40, rc.GetHeight());
    EXPECT_FALSE(rc.IsNull());
    rc.Join(CRect(0, 30, 15, 100));
    EXPECT_EQ(CRect(0, 20, 30, 100).left, rc.left);
    EXPECT_EQ(100, rc.bottom);
    EXPECT_EQ(30, rc.right);
    rc.Offset(5, -5);
    EXPECT_EQ(5, rc.left);
    EXPECT_EQ(15, rc.top);
    rc.ResetOffset();
    EXPECT_EQ(0, rc.left);
    EXPECT_EQ(0, rc.top);
    EXPECT_EQ(30, rc.right);
    EXPECT_EQ(80, rc.bottom);
    rc.Inflate(2, 3);
    EXPECT_EQ(-2, rc.left);
    EXPECT_EQ(83, rc.bottom);
    rc.Deflate(2, 3);
    EXPECT_EQ(0, rc.left);
    EXPECT_EQ(80, rc.bottom);

    CRect flipped(50, 40, 10, 5);
    flipped.Normalize();
    EXPECT_EQ(10, flipped.left);
    EXPECT_EQ(50, flipped.right);
    EXPECT_EQ(5, flipped.top);
    EXPECT_EQ(40, flipped.bottom);

    CRect u(0, 0, 10, 10);
    u.Union(CRect(20, 20, 20, 30));  // empty operand ignored
    EXPECT_EQ(10, u.right);
    u.Union(CRect(5, 5, 40, 12));
    EXPECT_EQ(40, u.right);
    u.Empty();
    EXPECT_TRUE(u.IsNull());

    RECT plain = { 1, 2, 3, 4 };
    CRect copy(plain);
    EXPECT_EQ(4, copy.bottom);
    const RECT* asRect = &copy;
    EXPECT_EQ(1, asRect->left);
}

TEST(Geometry, SizeAndPoint)
{
    CSize fromRect(RECT { 10, 20, 15, 50 });
    EXPECT_EQ(5, fromRect.cx);
    EXPECT_EQ(30, fromRect.cy);
    CSize zero;
    EXPECT_EQ(0, zero.cx);
    CPoint packed(static_cast<LPARAM>(0xFFFF0005));
    EXPECT_EQ(5, packed.x);
    EXPECT_EQ(-1, packed.y);
    CPoint negative(static_cast<LPARAM>(MAKELPARAM(static_cast<WORD>(-20), 300)));
    EXPECT_EQ(-20, negative.x);
    EXPECT_EQ(300, negative.y);
    CPoint xy(3, 4);
    EXPECT_EQ(4, xy.y);
}

TEST(Geometry, WaitCursorRestores)
{
    HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    SetCursor(arrow);
    {
        CWaitCursor wait;
        EXPECT_EQ(LoadCursorW(nullptr, IDC_WAIT), GetCursor());
    }
    EXPECT_EQ(arrow, GetCursor());
}

namespace {

int g_calls = 0;
bool CountTrue(void*) { ++g_calls; return true; }
bool CountFalse(void*) { ++g_calls; return false; }

struct Listener {
    int hits { 0 };
    void* last { nullptr };
    bool OnEvent(void* param)
    {
        ++hits;
        last = param;
        return true;
    }
    bool OnOther(void*) { return false; }
};

}  // namespace

TEST(Delegate, EventSourceOrderAndStop)
{
    g_calls = 0;
    CEventSource source;
    EXPECT_FALSE(static_cast<bool>(source));
    EXPECT_TRUE(source(nullptr));
    source += CountTrue;
    source += CountFalse;
    source += CountTrue;  // equal to the first: kept once
    EXPECT_TRUE(static_cast<bool>(source));
    EXPECT_FALSE(source(nullptr));
    EXPECT_EQ(2, g_calls);

    source -= CountFalse;
    g_calls = 0;
    EXPECT_TRUE(source(nullptr));
    EXPECT_EQ(1, g_calls);
    source -= CountFalse;  // absent: nothing
    source -= CountTrue;
    EXPECT_FALSE(static_cast<bool>(source));
}

TEST(Delegate, MemberDelegates)
{
    Listener a, b;
    CEventSource source;
    source += MakeDelegate(&a, &Listener::OnEvent);
    source += MakeDelegate(&a, &Listener::OnEvent);
    source += MakeDelegate(&b, &Listener::OnEvent);
    int value = 7;
    EXPECT_TRUE(source(&value));
    EXPECT_EQ(1, a.hits);
    EXPECT_EQ(1, b.hits);
    EXPECT_EQ(&value, a.last);

    CDelegate<Listener, Listener> one(&a, &Listener::OnEvent);
    CDelegate<Listener, Listener> other(&a, &Listener::OnOther);
    EXPECT_TRUE(one.Equals(MakeDelegate(&a, &Listener::OnEvent)));
    EXPECT_FALSE(one.Equals(other));
    EXPECT_FALSE(one.Equals(MakeDelegate(&b, &Listener::OnEvent)));
    EXPECT_EQ(&a, one.GetObjectW());
    CDelegateBase* clone = one.Clone();
    EXPECT_TRUE(clone->Equals(one));
    EXPECT_TRUE((*clone)(nullptr));
    EXPECT_EQ(2, a.hits);
    delete clone;

    source += other;
    source -= MakeDelegate(&b, &Listener::OnEvent);
    EXPECT_FALSE(source(nullptr));
    EXPECT_EQ(3, a.hits);
    EXPECT_EQ(1, b.hits);
}
