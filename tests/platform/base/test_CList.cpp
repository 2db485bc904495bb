#include "platform/base/CList.h"
#include "platform/base/CPtrList.h"
#include "platform/base/CStringList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
template <class L>
std::vector<std::string> Forward(const L& list)
{
    std::vector<std::string> out;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        out.push_back(std::string(list.GetNext(pos)));
    return out;
}
template <class L>
std::vector<std::string> Backward(const L& list)
{
    std::vector<std::string> out;
    for (POSITION pos = list.GetTailPosition(); pos;)
        out.push_back(std::string(list.GetPrev(pos)));
    return out;
}
using V = std::vector<std::string>;
}  // namespace

TEST(CList, AddWalkAndRemove)
{
    CStringList l;
    EXPECT_TRUE(l.IsEmpty());
    EXPECT_EQ(l.GetHeadPosition(), nullptr);
    l.AddTail("b");
    l.AddTail("c");
    POSITION a = l.AddHead("a");
    EXPECT_EQ(l.GetCount(), 3);
    EXPECT_EQ(Forward(l), (V{"a", "b", "c"}));
    EXPECT_EQ(Backward(l), (V{"c", "b", "a"}));
    EXPECT_STREQ(l.GetHead(), "a");
    EXPECT_STREQ(l.GetTail(), "c");
    EXPECT_STREQ(l.GetAt(a), "a");

    POSITION b = l.Find("b");
    ASSERT_NE(b, nullptr);
    l.InsertBefore(b, "ab");
    l.InsertAfter(b, "bc");
    EXPECT_EQ(Forward(l), (V{"a", "ab", "b", "bc", "c"}));
    l.SetAt(b, "B");
    l.RemoveAt(a);  // other positions stay valid
    EXPECT_STREQ(l.GetAt(b), "B");
    EXPECT_EQ(Forward(l), (V{"ab", "B", "bc", "c"}));
    EXPECT_STREQ(l.RemoveHead(), "ab");
    EXPECT_STREQ(l.RemoveTail(), "c");
    EXPECT_EQ(Forward(l), (V{"B", "bc"}));
    EXPECT_EQ(Backward(l), (V{"bc", "B"}));

    // A null position inserts at the ends.
    l.InsertBefore(nullptr, "first");
    l.InsertAfter(nullptr, "last");
    EXPECT_EQ(Forward(l), (V{"first", "B", "bc", "last"}));
    l.RemoveAll();
    EXPECT_TRUE(l.IsEmpty());
    EXPECT_EQ(Backward(l), V{});
}

TEST(CList, FindAndIndexes)
{
    CList<int, int> l;
    for (int v : {5, 7, 5, 9})
        l.AddTail(v);
    POSITION first = l.Find(5);
    POSITION second = l.Find(5, first);  // searching after a position
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(l.Find(5, second), nullptr);
    EXPECT_EQ(l.Find(42), nullptr);
    EXPECT_EQ(l.FindIndex(0), first);
    EXPECT_EQ(l.GetAt(l.FindIndex(3)), 9);
    EXPECT_EQ(l.FindIndex(4), nullptr);
    EXPECT_EQ(l.FindIndex(-1), nullptr);
}

TEST(CList, EmptyListAndCopies)
{
    CList<int, int> l;
    EXPECT_EQ(l.GetHead(), 0);
    EXPECT_EQ(l.RemoveHead(), 0);
    EXPECT_EQ(l.RemoveTail(), 0);
    POSITION none = nullptr;
    EXPECT_EQ(l.GetNext(none), 0);
    l.RemoveAt(nullptr);
    EXPECT_EQ(l.GetCount(), 0);

    l.AddTail(1);
    l.AddTail(2);
    CList<int, int> copy(l);
    copy.AddTail(&l);     // appending a list, here a copy
    copy.AddTail(&copy);  // and itself
    EXPECT_EQ(copy.GetCount(), 8);
    copy.AddHead(&l);
    EXPECT_EQ(copy.GetHead(), 1);
    EXPECT_EQ(copy.GetCount(), 10);
    l = copy;
    EXPECT_EQ(l.GetCount(), 10);

    int x = 0;
    CPtrList ptrs;
    ptrs.AddTail(&x);
    EXPECT_EQ(ptrs.GetHead(), &x);
}
