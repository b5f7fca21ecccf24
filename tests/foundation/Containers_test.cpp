#include <gtest/gtest.h>

#include <string>

#include "foundation/StdPtrArray.h"
#include "foundation/StdStringPtrMap.h"
#include "foundation/StdValArray.h"

using Veneer::CStdPtrArray;
using Veneer::CStdStringPtrMap;
using Veneer::CStdValArray;

namespace {

void* P(intptr_t v) { return reinterpret_cast<void*>(v); }

// The map's bucket index for `key` with `buckets` buckets.
unsigned BucketOf(const std::wstring& key, unsigned buckets)
{
    unsigned h = 0;
    for (size_t i = key.size(); i > 0; --i)
        h = h * 33u + key[i - 1];
    return h % buckets;
}

}  // namespace

TEST(StdPtrArray, AddInsertRemove)
{
    CStdPtrArray a;
    EXPECT_TRUE(a.IsEmpty());
    for (intptr_t i = 1; i <= 30; ++i)
        ASSERT_TRUE(a.Add(P(i)));
    EXPECT_EQ(30, a.GetSize());
    EXPECT_EQ(P(1), a.GetAt(0));
    EXPECT_EQ(nullptr, a.GetAt(30));
    EXPECT_EQ(nullptr, a.GetAt(-1));
    EXPECT_TRUE(a.InsertAt(0, P(100)));
    EXPECT_TRUE(a.InsertAt(31, P(200)));  // at count: appends
    EXPECT_FALSE(a.InsertAt(33, P(300)));
    EXPECT_FALSE(a.InsertAt(-1, P(300)));
    EXPECT_EQ(32, a.GetSize());
    EXPECT_EQ(P(100), a[0]);
    EXPECT_EQ(P(1), a[1]);
    EXPECT_EQ(P(200), a[31]);
    EXPECT_EQ(5, a.Find(P(5)));
    EXPECT_EQ(-1, a.Find(P(999)));
    EXPECT_TRUE(a.Remove(0));
    EXPECT_FALSE(a.Remove(31));
    EXPECT_EQ(P(1), a[0]);
    EXPECT_EQ(P(200), a[30]);
    EXPECT_TRUE(a.SetAt(30, P(7)));
    EXPECT_FALSE(a.SetAt(31, P(7)));
    EXPECT_EQ(6, a.Find(P(7)));

    CStdPtrArray copy(a);
    EXPECT_EQ(a.GetSize(), copy.GetSize());
    EXPECT_NE(a.GetData(), copy.GetData());
    CStdPtrArray assigned;
    assigned = a;
    EXPECT_EQ(P(7), assigned[30]);

    a.Resize(4);
    EXPECT_EQ(4, a.GetSize());
    EXPECT_EQ(nullptr, a.GetAt(3));
    a.Empty();
    EXPECT_EQ(0, a.GetSize());
    EXPECT_EQ(nullptr, a.GetData());
}

TEST(StdValArray, CopiesBytes)
{
    struct Item {
        int a;
        double b;
    };
    CStdValArray v(sizeof(Item));
    for (int i = 0; i < 25; ++i) {
        Item item { i, i * 0.5 };
        ASSERT_TRUE(v.Add(&item));
    }
    EXPECT_EQ(25, v.GetSize());
    EXPECT_EQ(24, static_cast<Item*>(v.GetAt(24))->a);
    EXPECT_EQ(nullptr, v.GetAt(25));
    EXPECT_TRUE(v.Remove(0));
    EXPECT_FALSE(v.Remove(24));
    EXPECT_EQ(1, static_cast<Item*>(v[0])->a);
    EXPECT_DOUBLE_EQ(12.0, static_cast<Item*>(v[23])->b);
    EXPECT_FALSE(v.Add(nullptr));
    EXPECT_EQ(24, v.GetSize());
    const LPVOID block = v.GetData();
    v.Empty();
    EXPECT_TRUE(v.IsEmpty());
    EXPECT_EQ(block, v.GetData());
}

TEST(StdStringPtrMap, InsertSetRemove)
{
    CStdStringPtrMap map;
    EXPECT_EQ(nullptr, map.Find(L"a"));
    EXPECT_TRUE(map.Insert(L"a", P(1)));
    EXPECT_FALSE(map.Insert(L"a", P(2)));
    EXPECT_EQ(P(1), map.Find(L"a"));
    EXPECT_EQ(nullptr, map.Find(L"A"));
    EXPECT_EQ(P(1), map.Set(L"a", P(3)));
    EXPECT_EQ(P(3), map.Find(L"a"));
    EXPECT_EQ(nullptr, map.Set(L"b", P(4)));
    EXPECT_EQ(2, map.GetSize());
    EXPECT_FALSE(map.Remove(L"zz"));
    EXPECT_TRUE(map.Remove(L"a"));
    EXPECT_FALSE(map.Remove(L"a"));
    EXPECT_EQ(1, map.GetSize());
    EXPECT_STREQ(L"b", map.GetAt(0));
    EXPECT_EQ(nullptr, map.GetAt(1));
    EXPECT_EQ(nullptr, map[-1]);
    map.RemoveAll();
    EXPECT_EQ(0, map.GetSize());
    EXPECT_TRUE(map.Insert(L"c", P(5)));

    // A long key (heap-held copy) works like a short one.
    const std::wstring longKey(200, L'k');
    EXPECT_TRUE(map.Insert(longKey.c_str(), P(6)));
    EXPECT_EQ(P(6), map.Find(longKey.c_str()));

    map.Resize(0);
    EXPECT_FALSE(map.Insert(L"x", P(1)));
    EXPECT_EQ(P(9), map.Set(L"x", P(9)));
    EXPECT_EQ(nullptr, map.Find(L"x"));
    EXPECT_FALSE(map.Remove(L"x"));
    EXPECT_EQ(nullptr, map.GetAt(0));
}

TEST(StdStringPtrMap, BucketCountsAndIterationOrder)
{
    // Five buckets are raised to sixteen: keys land by hash modulo 16.
    CStdStringPtrMap small(5);
    std::wstring first, second;
    for (wchar_t c = L'a'; c <= L'z' && second.empty(); ++c) {
        const std::wstring key(1, c);
        if (first.empty())
            first = key;
        else if (BucketOf(key, 16) == BucketOf(first, 16))
            second = key;
    }
    ASSERT_FALSE(second.empty());
    EXPECT_EQ(L"a", first);
    EXPECT_EQ(L"q", second);  // 'a' + 16 shares the bucket only with 16 buckets
    EXPECT_NE(BucketOf(first, 83), BucketOf(second, 83));

    ASSERT_TRUE(small.Insert(first.c_str(), P(1)));
    ASSERT_TRUE(small.Insert(second.c_str(), P(2)));
    // Newest at the head.
    EXPECT_EQ(second, small.GetAt(0));
    EXPECT_EQ(first, small.GetAt(1));
    // A hit moves to the front of its chain; without optimize it stays.
    EXPECT_EQ(P(1), small.Find(first.c_str(), false));
    EXPECT_EQ(second, small.GetAt(0));
    EXPECT_EQ(P(1), small.Find(first.c_str()));
    EXPECT_EQ(first, small.GetAt(0));
    EXPECT_EQ(second, small.GetAt(1));
    // Removing the head keeps the rest of the chain reachable.
    EXPECT_TRUE(small.Remove(first.c_str()));
    EXPECT_EQ(P(2), small.Find(second.c_str()));

    // Buckets are iterated from the last to the first.
    CStdStringPtrMap order(16);
    order.Insert(L"a", P(1));  // bucket 97 % 16 = 1
    order.Insert(L"b", P(2));  // bucket 2
    EXPECT_STREQ(L"b", order.GetAt(0));
    EXPECT_STREQ(L"a", order.GetAt(1));
}

TEST(StdStringPtrMap, ManyKeysAndMiddleRemoval)
{
    CStdStringPtrMap map(16);
    for (int i = 0; i < 500; ++i)
        ASSERT_TRUE(map.Insert(std::to_wstring(i).c_str(), P(i + 1)));
    EXPECT_EQ(500, map.GetSize());
    for (int i = 0; i < 500; i += 3)
        ASSERT_TRUE(map.Remove(std::to_wstring(i).c_str()));
    for (int i = 0; i < 500; ++i) {
        const void* expected = (i % 3 == 0) ? nullptr : P(i + 1);
        ASSERT_EQ(expected, map.Find(std::to_wstring(i).c_str())) << i;
    }
    int seen = 0;
    for (int i = 0; i < map.GetSize(); ++i)
        seen += map.GetAt(i) != nullptr;
    EXPECT_EQ(map.GetSize(), seen);
}
