#include "platform/base/CArray.h"
#include "platform/base/CPtrArray.h"
#include "platform/base/CStringArray.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
std::vector<int> Items(const CArray<int, int>& a)
{
    return std::vector<int>(a.begin(), a.end());
}
using V = std::vector<int>;
}  // namespace

TEST(CArray, AddSizeAndAccess)
{
    CArray<int, int> a;
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(a.GetUpperBound(), -1);
    EXPECT_EQ(a.GetData(), nullptr);
    EXPECT_EQ(a.Add(5), 0);
    EXPECT_EQ(a.Add(6), 1);
    EXPECT_EQ(a.GetSize(), 2);
    EXPECT_EQ(a.GetCount(), 2);
    EXPECT_EQ(a.GetUpperBound(), 1);
    EXPECT_EQ(a[1], 6);
    a[0] = 7;
    a.ElementAt(1) += 1;
    a.SetAt(1, a.GetAt(1) + 1);
    EXPECT_EQ(Items(a), (V{7, 8}));
    EXPECT_EQ(a.GetData()[0], 7);

    a.SetSize(4);  // new elements are zero
    EXPECT_EQ(Items(a), (V{7, 8, 0, 0}));
    a.SetSize(1);
    EXPECT_EQ(Items(a), V{7});
    a.SetSize(-1);  // refused, nothing changes
    EXPECT_EQ(Items(a), V{7});
    a.SetAtGrow(3, 9);
    EXPECT_EQ(Items(a), (V{7, 0, 0, 9}));
    a.RemoveAll();
    EXPECT_TRUE(a.IsEmpty());
}

TEST(CArray, IndexesOutsideTheArrayAreHarmless)
{
    CArray<int, int> a;
    a.Add(1);
    EXPECT_EQ(a.GetAt(5), 0);
    EXPECT_EQ(a[-1], 0);
    a[7] = 42;  // lands in a scratch element, never in the array
    EXPECT_EQ(a[7], 0);
    a.SetAt(3, 4);
    a.RemoveAt(3);
    a.RemoveAt(-1);
    a.SetAtGrow(-1, 5);
    a.InsertAt(-1, 5);
    EXPECT_EQ(Items(a), V{1});
}

TEST(CArray, InsertRemoveAppendCopy)
{
    struct Case {
        V start;
        int index, value, count;
        V expected;
    } inserts[] = {
        {{1, 2, 3}, 0, 9, 1, {9, 1, 2, 3}}, {{1, 2, 3}, 1, 9, 2, {1, 9, 9, 2, 3}},
        {{1, 2, 3}, 3, 9, 1, {1, 2, 3, 9}}, {{1, 2, 3}, 5, 9, 1, {1, 2, 3, 0, 0, 9}},  // past the end: grows first
        {{1, 2, 3}, 1, 9, 0, {1, 2, 3}},
    };
    for (const auto& c : inserts) {
        CArray<int, int> a;
        for (int v : c.start)
            a.Add(v);
        a.InsertAt(c.index, c.value, c.count);
        EXPECT_EQ(Items(a), c.expected) << c.index << "," << c.count;
    }
    struct Rem {
        int index, count;
        V expected;
    } removes[] = {{0, 1, {2, 3, 4}}, {1, 2, {1, 4}}, {2, 10, {1, 2}}, {4, 1, {1, 2, 3, 4}}, {1, 0, {1, 2, 3, 4}}};
    for (const auto& c : removes) {
        CArray<int, int> a;
        for (int v : {1, 2, 3, 4})
            a.Add(v);
        a.RemoveAt(c.index, c.count);
        EXPECT_EQ(Items(a), c.expected) << c.index << "," << c.count;
    }

    CArray<int, int> a, b;
    a.Add(1);
    b.Add(2);
    b.Add(3);
    EXPECT_EQ(a.Append(b), 1);
    EXPECT_EQ(Items(a), (V{1, 2, 3}));
    EXPECT_EQ(a.Append(a), 3);  // appending to itself doubles it
    EXPECT_EQ(Items(a), (V{1, 2, 3, 1, 2, 3}));
    a.Copy(b);
    EXPECT_EQ(Items(a), (V{2, 3}));
    a.InsertAt(1, &b);
    EXPECT_EQ(Items(a), (V{2, 2, 3, 3}));
}

TEST(CArray, ElementsOfTheArrayItselfAsArguments)
{
    // Growing reallocates; the argument must be copied before that.
    CArray<std::string> a;
    a.Add("first");
    for (int i = 0; i < 100; ++i)
        a.Add(a[0]);
    a.SetAtGrow(500, a[0]);
    a.InsertAt(0, a[1], 3);
    EXPECT_EQ(a.GetSize(), 504);
    EXPECT_EQ(a[0], "first");
    EXPECT_EQ(a[503], "first");
    EXPECT_EQ(a[400], "");
}

TEST(CArray, StructsAndStringArrays)
{
    struct Rec {
        int id;
        CString name;
    };
    CArray<Rec> recs;
    recs.Add(Rec{1, "one"});
    recs.SetSize(2);
    EXPECT_EQ(recs[1].id, 0);
    EXPECT_TRUE(recs[1].name.IsEmpty());

    CStringArray names;
    names.Add("a");
    names.Add(CString("b"));
    names.Add(std::string("c"));
    names.InsertAt(0, "z");
    EXPECT_EQ(names.GetSize(), 4);
    EXPECT_STREQ(names[0], "z");
    EXPECT_STREQ(names.GetAt(3), "c");
    EXPECT_STREQ(names.GetAt(4), "");
    CStringArray copy;
    copy.Copy(names);
    copy.RemoveAt(0);
    EXPECT_STREQ(copy[0], "a");
    EXPECT_EQ(names.GetSize(), 4);

    int x = 0;
    CPtrArray ptrs;
    ptrs.Add(&x);
    ptrs.Add(nullptr);
    EXPECT_EQ(ptrs[0], &x);
    EXPECT_EQ(ptrs[5], nullptr);
}
