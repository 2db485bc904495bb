#include "platform/base/CMap.h"
#include "platform/base/CString.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

TEST(CMap, LookupSetRemove)
{
    CMap<CString, const char*, int, int> m;
    EXPECT_TRUE(m.IsEmpty());
    int v = -1;
    EXPECT_FALSE(m.Lookup("a", v));
    EXPECT_EQ(v, -1);  // untouched when missing
    m.SetAt("a", 1);
    m["b"] = 2;
    m["b"] += 1;
    EXPECT_EQ(m.GetCount(), 2);
    EXPECT_TRUE(m.Lookup("b", v));
    EXPECT_EQ(v, 3);
    EXPECT_EQ(m["new"], 0);  // operator[] adds a default value
    EXPECT_EQ(m.GetCount(), 3);
    ASSERT_NE(m.PLookup("a"), nullptr);
    EXPECT_STREQ(m.PLookup("a")->key, "a");
    m.PLookup("a")->value = 10;
    EXPECT_EQ(m["a"], 10);
    EXPECT_EQ(m.PLookup("zz"), nullptr);
    EXPECT_TRUE(m.RemoveKey("a"));
    EXPECT_FALSE(m.RemoveKey("a"));
    EXPECT_FALSE(m.Lookup("a", v));
    m.RemoveAll();
    EXPECT_EQ(m.GetCount(), 0);
    EXPECT_EQ(m.GetStartPosition(), nullptr);
}

TEST(CMap, WalkSeesEveryEntryOnceAcrossGrowth)
{
    CMap<int, int, CString, const CString&> m;
    std::map<int, std::string> expected;
    for (int i = 0; i < 1000; ++i) {
        CString s;
        s.Format("v%d", i);
        m[i * 7919] = s;
        expected[i * 7919] = s.str();
    }
    for (int i = 0; i < 1000; i += 3) {
        EXPECT_TRUE(m.RemoveKey(i * 7919));
        expected.erase(i * 7919);
    }
    std::map<int, std::string> seen;
    for (POSITION pos = m.GetStartPosition(); pos;) {
        int key = 0;
        CString value;
        m.GetNextAssoc(pos, key, value);
        EXPECT_TRUE(seen.emplace(key, value.str()).second) << "key seen twice: " << key;
    }
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(m.GetCount(), static_cast<INT_PTR>(expected.size()));

    size_t pairs = 0;
    for (auto* p = m.PGetFirstAssoc(); p; p = m.PGetNextAssoc(p))
        ++pairs;
    EXPECT_EQ(pairs, expected.size());

    auto copy = m;
    EXPECT_EQ(copy.GetCount(), m.GetCount());
    CString v;
    EXPECT_TRUE(copy.Lookup(7919, v));
    EXPECT_STREQ(v, "v1");
}

TEST(CMap, TextPointerKeysCompareByText)
{
    CMap<const char*, const char*, int, int> m;
    char key1[] = "camera";
    char key2[] = "camera";
    m[key1] = 5;
    int v = 0;
    EXPECT_TRUE(m.Lookup(key2, v));
    EXPECT_EQ(v, 5);
    POSITION none = nullptr;
    const char* k = nullptr;
    m.GetNextAssoc(none, k, v);  // reads nothing
    EXPECT_EQ(k, nullptr);
}
