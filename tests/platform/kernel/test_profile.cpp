#include "platform/kernel/profile.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class Profile : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_tmp.ok());
        m_dir = m_tmp.path();
        m_path = m_dir + "/settings.ini";
    }

    void Put(const std::string& bytes) const { vxtest::WriteFile(m_path, bytes); }
    std::string Bytes() const { return vxtest::ReadFile(m_path); }
    ino_t Inode() const
    {
        struct stat st {};
        return stat(m_path.c_str(), &st) == 0 ? st.st_ino : 0;
    }
    std::string Get(const char* section, const char* key, const char* def = "<default>", DWORD size = 1024) const
    {
        std::vector<char> buf(size + 1, 'X');
        DWORD n = GetPrivateProfileStringA(section, key, def, buf.data(), size, m_path.c_str());
        EXPECT_EQ(buf[n], '\0');
        return std::string(buf.data(), n);
    }

    vxtest::TempDir m_tmp{"vx-profile"};
    std::string m_dir;
    std::string m_path;
};

TEST_F(Profile, LooksUpValuesInFileTexts)
{
    struct Case {
        const char* text;
        const char* section;
        const char* key;
        const char* expected;
    } cases[] = {
        {"[Config]\r\nName=cam\r\n", "Config", "Name", "cam"},
        {"[CONFIG]\nname=cam\n", "config", "NAME", "cam"},
        {"  [ Config ] ;x\n\t key \t=  v a l  \n", "Config", "key", "v a l"},
        {"[a]b]\nk=1\n", "a]b", "k", "1"},
        {"[s]\nk=\"  q  \"\n", "s", "k", "  q  "},
        {"[s]\nk='a b'\n", "s", "k", "a b"},
        {"[s]\nk=\"a'\n", "s", "k", "\"a'"},
        {"[s]\nk=\"\n", "s", "k", "\""},
        {"[s]\nk=\"\"\n", "s", "k", ""},
        {"[s]\nk=\n", "s", "k", ""},
        {"[s]\nurl=a=b\n", "s", "url", "a=b"},
        {"[s]\nk=v ;not a comment\n", "s", "k", "v ;not a comment"},
        // only the first section of a name and its first key count
        {"[s]\nk=1\n[s]\nk=2\nj=3\n", "s", "k", "1"},
        {"[s]\nk=1\n[s]\nk=2\nj=3\n", "s", "j", "<default>"},
        {"[s]\nk=1\nk=2\n", "s", "k", "1"},
        {"[s]\rk=1\rj=2", "s", "j", "2"},
        {"[s]\nk=1\r\nj=2\rl=3", "s", "l", "3"},
        {"[s]\nflag\n", "s", "flag", "<default>"},
        {"[s]\nk\nk=5\n", "s", "k", "5"},
        {"[s]\n;k=1\n", "s", "k", "<default>"},
        {"k=0\n[s]\nj=1\n", "s", "k", "<default>"},
        {"[s]\n[broken\nk=1\n", "s", "k", "1"},
        {"[s]\nk=1\n[t]\n", "t", "k", "<default>"},
        {"\xEF\xBB\xBF[s]\nk=1\n", "s", "k", "1"},
        {"", "s", "k", "<default>"},
        {"[s]\nk=1\n", " s ", " k ", "1"},
    };
    for (const Case& c : cases) {
        Put(c.text);
        EXPECT_EQ(Get(c.section, c.key), c.expected) << "file: " << c.text << " key: " << c.key;
    }
}

TEST_F(Profile, DefaultsAndBufferSizes)
{
    // missing file and empty path give the default, without trailing blanks
    EXPECT_EQ(Get("s", "k", "dflt \t "), "dflt");
    EXPECT_EQ(Get("s", "k", nullptr), "");
    char buf[8] = "xxxxxxx";
    EXPECT_EQ(GetPrivateProfileStringA("s", "k", "d", buf, sizeof buf, ""), 1u);
    EXPECT_STREQ(buf, "d");
    EXPECT_EQ(GetPrivateProfileStringA("s", "k", "d", buf, sizeof buf, nullptr), 1u);

    Put("[s]\nk=0123456789\n");
    EXPECT_EQ(Get("s", "k", "", 5), "0123");
    EXPECT_EQ(Get("s", "missing", "abcdefgh", 4), "abc");
    EXPECT_EQ(Get("s", "k", "", 1), "");
    EXPECT_EQ(GetPrivateProfileStringA("s", "k", "", buf, 0, m_path.c_str()), 0u);
    EXPECT_EQ(GetPrivateProfileStringA("s", "k", "", nullptr, 10, m_path.c_str()), 0u);
}

TEST_F(Profile, ListsSectionNamesKeysAndLines)
{
    Put("top=1\n[alpha]\n k1 = 1 \n\n;note\nk2\nK1=dup\n[beta]\nx=2\n[ALPHA]\nk3=3\n");
    auto list = [](const char* buf, DWORD n) { return std::string(buf, n); };
    char buf[256];

    DWORD n = GetPrivateProfileSectionNamesA(buf, sizeof buf, m_path.c_str());
    EXPECT_EQ(list(buf, n), std::string("alpha\0beta\0", 11));
    EXPECT_EQ(buf[n], '\0');
    n = GetPrivateProfileStringA(nullptr, "ignored", "d", buf, sizeof buf, m_path.c_str());
    EXPECT_EQ(list(buf, n), std::string("alpha\0beta\0", 11));

    n = GetPrivateProfileStringA("alpha", nullptr, "d", buf, sizeof buf, m_path.c_str());
    EXPECT_EQ(list(buf, n), std::string("k1\0", 3));
    EXPECT_EQ(buf[n], '\0');

    n = GetPrivateProfileSectionA("Alpha", buf, sizeof buf, m_path.c_str());
    EXPECT_EQ(list(buf, n), std::string("k1 = 1\0;note\0k2\0K1=dup\0", 23));
    EXPECT_EQ(buf[n], '\0');

    // too small: the last string is cut and two NULs end the buffer
    char small[8];
    n = GetPrivateProfileSectionNamesA(small, sizeof small, m_path.c_str());
    EXPECT_EQ(n, 6u);
    EXPECT_EQ(std::string(small, 8), std::string("alpha\0\0\0", 8));

    // nothing to list
    n = GetPrivateProfileSectionA("none", buf, sizeof buf, m_path.c_str());
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(buf[0], '\0');
    EXPECT_EQ(buf[1], '\0');
    n = GetPrivateProfileSectionNamesA(buf, sizeof buf, (m_dir + "/missing.ini").c_str());
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(buf[0], '\0');
}

TEST_F(Profile, ReadsIntegersWithSaturation)
{
    Put("[s]\na=12\nb= -7x\nc=abc\nd=\ne=99999999999\nf=-99999999999\ng=\"5\"\n");
    struct Case {
        const char* key;
        int value;
    } cases[] = {{"a", 12}, {"b", -7}, {"c", 0}, {"d", 33}, {"e", INT_MAX}, {"f", INT_MIN}, {"g", 5}, {"missing", 33}};
    for (const Case& c : cases)
        EXPECT_EQ(static_cast<int>(GetPrivateProfileIntA("s", c.key, 33, m_path.c_str())), c.value) << c.key;
}

TEST_F(Profile, WritesExactBytes)
{
    struct Case {
        const char* name;
        const char* before;  // nullptr: no file
        const char* section;
        const char* key;
        const char* value;
        const char* after;
    } cases[] = {
        {"new file", nullptr, "s", "k", "v", "[s]\r\nk=v\r\n"},
        {"new section", "[a]\r\nx=1\r\n", "b", "k", "v", "[a]\r\nx=1\r\n[b]\r\nk=v\r\n"},
        {"new section after unterminated line", "[a]\nx=1", "b", "k", "v", "[a]\nx=1\r\n[b]\r\nk=v\r\n"},
        {"new key before blank separator", "[a]\nx=1\n\n[b]\ny=2\n", "a", "k", "v", "[a]\nx=1\nk=v\r\n\n[b]\ny=2\n"},
        {"new key in last unterminated section", "[a]\rx=1", "A", "k", "v", "[a]\rx=1\r\nk=v\r\n"},
        {"new key in empty section", "[a]\n[b]\n", "a", "k", "v", "[a]\nk=v\r\n[b]\n"},
        {"replace keeps comments", "; top\r\n[a]\r\n; note\r\n  X = 1 ; old\r\ny=2\r\n", "a", "x", "9",
         "; top\r\n[a]\r\n; note\r\nX=9\r\ny=2\r\n"},
        {"replace keeps the line end", "[a]\nx=1\n[b]\rx=1\r", "b", "x", "2", "[a]\nx=1\n[b]\rx=2\r"},
        {"replace in first duplicate section", "[a]\nx=1\n[a]\nx=2\n", "a", "x", "3", "[a]\nx=3\n[a]\nx=2\n"},
        {"replace with empty value", "[a]\nx=1\n", "a", "x", "", "[a]\nx=\n"},
        {"delete key", "[a]\r\nx=1\r\ny=2\n", "a", "X", nullptr, "[a]\r\ny=2\n"},
        {"delete last unterminated key", "[a]\nx=1\ny=2", "a", "y", nullptr, "[a]\nx=1\n"},
        {"delete section", "[a]\nx=1\n\n[b]\ny=2\n", "a", nullptr, nullptr, "[b]\ny=2\n"},
        {"delete every section of the name", "[a]\nx=1\n[b]\ny=2\r\n[A]\rz=3", "a", nullptr, nullptr, "[b]\ny=2\r\n"},
        {"delete section keeps the byte-order mark", "\xEF\xBB\xBF[a]\nx=1\n", "a", nullptr, nullptr, "\xEF\xBB\xBF"},
        {"value keeps its blanks and quotes", "[a]\n", "a", "k", " \"q\" ", "[a]\nk= \"q\" \r\n"},
    };
    for (const Case& c : cases) {
        fs::remove(m_path);
        if (c.before)
            Put(c.before);
        EXPECT_TRUE(WritePrivateProfileStringA(c.section, c.key, c.value, m_path.c_str())) << c.name;
        EXPECT_EQ(Bytes(), c.after) << c.name;
    }
}

TEST_F(Profile, NothingFoundLeavesTheFileUntouched)
{
    const std::string text = "[a]\nx=1\n";
    Put(text);
    ino_t inode = Inode();
    EXPECT_TRUE(WritePrivateProfileStringA("b", "x", nullptr, m_path.c_str()));
    EXPECT_TRUE(WritePrivateProfileStringA("a", "y", nullptr, m_path.c_str()));
    EXPECT_TRUE(WritePrivateProfileStringA("b", nullptr, nullptr, m_path.c_str()));
    EXPECT_TRUE(WritePrivateProfileStringA("a", "x", "1", m_path.c_str()));  // same value
    EXPECT_EQ(Bytes(), text);
    EXPECT_EQ(Inode(), inode);

    std::string missing = m_dir + "/missing.ini";
    EXPECT_TRUE(WritePrivateProfileStringA("a", nullptr, nullptr, missing.c_str()));
    EXPECT_FALSE(fs::exists(missing));
}

TEST_F(Profile, RefusesBadWrites)
{
    const std::string text = "[a]\nx=1\n";
    Put(text);
    const char* p = m_path.c_str();
    EXPECT_FALSE(WritePrivateProfileStringA(nullptr, "x", "2", p));
    EXPECT_FALSE(WritePrivateProfileStringA("a", "x", "2", ""));
    EXPECT_FALSE(WritePrivateProfileStringA("a", "x", "2", nullptr));
    EXPECT_FALSE(WritePrivateProfileStringA("a", "x", "2\r\n[evil]", p));
    EXPECT_FALSE(WritePrivateProfileStringA("a", "x", "2\r", p));
    EXPECT_FALSE(WritePrivateProfileStringA("a", "x\ny", "2", p));
    EXPECT_FALSE(WritePrivateProfileStringA("a\n", "x", "2", p));
    EXPECT_FALSE(WritePrivateProfileStringA("a", "x=y", "2", p));
    EXPECT_FALSE(WritePrivateProfileStringA("a", " [x]", "2", p));
    EXPECT_EQ(Bytes(), text);

    EXPECT_FALSE(WritePrivateProfileStringA("a", "x", "2", (m_dir + "/no/such/folder.ini").c_str()));
    // a folder where the file should be: read gives the default, write fails
    fs::create_directory(m_dir + "/dir.ini");
    EXPECT_FALSE(WritePrivateProfileStringA("a", "x", "2", (m_dir + "/dir.ini").c_str()));
}

TEST_F(Profile, ReplacesTheFileAtomicallyKeepingModeAndLink)
{
    Put("[a]\nx=1\n");
    ASSERT_EQ(chmod(m_path.c_str(), 0640), 0);
    std::string link = m_dir + "/link.ini";
    fs::create_symlink(m_path, link);

    EXPECT_TRUE(WritePrivateProfileStringA("a", "x", "2", link.c_str()));
    EXPECT_EQ(Bytes(), "[a]\nx=2\n");
    EXPECT_TRUE(fs::is_symlink(link));
    struct stat st {};
    ASSERT_EQ(stat(m_path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    // nothing but the file and the link is left in the folder
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 2);
}

TEST_F(Profile, ConcurrentWritersLoseNothing)
{
    constexpr int kThreads = 4;
    constexpr int kKeys = 20;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([this, t] {
            for (int k = 0; k < kKeys; ++k) {
                std::string key = "t" + std::to_string(t) + "k" + std::to_string(k);
                WritePrivateProfileStringA(t % 2 ? "odd" : "even", key.c_str(), key.c_str(), m_path.c_str());
            }
        });
    for (std::thread& th : threads)
        th.join();
    for (int t = 0; t < kThreads; ++t)
        for (int k = 0; k < kKeys; ++k) {
            std::string key = "t" + std::to_string(t) + "k" + std::to_string(k);
            EXPECT_EQ(Get(t % 2 ? "odd" : "even", key.c_str()), key);
        }
}

}  // namespace
