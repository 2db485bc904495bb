#include "ui/common/CIniFile.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "support/FileBytes.h"
#include "support/TempDir.h"
#include "support/german_locale.h"

namespace fs = std::filesystem;

namespace {

class IniFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_tmp.ok());
        m_dir = m_tmp.path();
        m_path = m_dir + "/vxkstcfg.ini";
        m_ini.SetPathName(m_path.c_str());
    }
    void Put(const std::string& bytes) const { vxtest::WriteFile(m_path, bytes); }
    std::string Bytes() const { return vxtest::ReadFile(m_path); }
    ino_t Inode() const
    {
        struct stat st {};
        return stat(m_path.c_str(), &st) == 0 ? st.st_ino : 0;
    }

    vxtest::TempDir m_tmp{"vx-inifile"};
    std::string m_dir;
    std::string m_path;
    CIniFile m_ini;
};

TEST_F(IniFile, PathAndCopies)
{
    CIniFile empty(nullptr);
    EXPECT_EQ(empty.GetPathName(), "");
    EXPECT_EQ(empty.GetProfileStringA("s", "k", "dflt"), "dflt");
    EXPECT_EQ(empty.WriteProfileInt("s", "k", 1), 0);

    CIniFile a("/x/a.ini");
    EXPECT_EQ(a.SetPathName(nullptr), 0);
    EXPECT_EQ(a.GetPathName(), "/x/a.ini");
    CIniFile b(a);
    CIniFile c;
    c = a;
    EXPECT_EQ(b.GetPathName(), "/x/a.ini");
    EXPECT_EQ(c.GetPathName(), "/x/a.ini");
    EXPECT_EQ(c.SetPathName("/y.ini"), 1);
    EXPECT_EQ(a.GetPathName(), "/x/a.ini");
}

TEST_F(IniFile, TypedReaders)
{
    Put("[Skin]\r\n"
        "c1=255 0\r\nc2=\r\nc3=300 0 0\r\nc4=255,0,0\r\nc5=  10   20  30  \r\n"
        "r3=10 20 30\r\nr4=10 20 30 40\r\nr0=\r\n"
        "[SysParam]\r\n"
        "n=42\r\nword=abc\r\nblank=\r\nbig=99999999999\r\nb0=0\r\nb7=7\r\nd=1.25\r\nbadd=x\r\n");
    EXPECT_EQ(m_ini.GetProfileColor("Skin", "c1", 7), RGB(255, 0, 255));
    EXPECT_EQ(m_ini.GetProfileColor("Skin", "c2", 7), 7u);
    EXPECT_EQ(m_ini.GetProfileColor("Skin", "missing", 7), 7u);
    EXPECT_EQ(m_ini.GetProfileColor("Skin", "c3", 7), RGB(44, 0, 0));
    EXPECT_EQ(m_ini.GetProfileColor("Skin", "c4", 7), RGB(255, 255, 255));
    EXPECT_EQ(m_ini.GetProfileColor("Skin", "c5", 7), RGB(10, 20, 30));

    EXPECT_EQ(m_ini.GetProfileRect("Skin", "r3"), CRect(10, 20, 40, 19));
    EXPECT_EQ(m_ini.GetProfileRect("Skin", "r4"), CRect(10, 20, 40, 60));
    EXPECT_EQ(m_ini.GetProfileRect("Skin", "r0"), CRect(0, 0, 0, 0));
    EXPECT_EQ(m_ini.GetProfileRect("Skin", "missing"), CRect(0, 0, 0, 0));

    EXPECT_EQ(m_ini.GetProfileIntA("SysParam", "n", 5), 42);
    EXPECT_EQ(m_ini.GetProfileIntA("SysParam", "word", 5), 0);
    EXPECT_EQ(m_ini.GetProfileIntA("SysParam", "blank", 5), 5);
    EXPECT_EQ(m_ini.GetProfileIntA("SysParam", "missing", 5), 5);
    EXPECT_EQ(m_ini.GetProfileIntA("SysParam", "big", 5), 2147483647);
    EXPECT_EQ(m_ini.GetProfileBool("SysParam", "missing", 5), 1);
    EXPECT_EQ(m_ini.GetProfileBool("SysParam", "b0", 1), 0);
    EXPECT_EQ(m_ini.GetProfileBool("SysParam", "b7", 0), 1);
    EXPECT_DOUBLE_EQ(m_ini.GetProfileDbl("SysParam", "d", 9.5), 1.25);
    EXPECT_DOUBLE_EQ(m_ini.GetProfileDbl("SysParam", "blank", 9.5), 9.5);
    EXPECT_DOUBLE_EQ(m_ini.GetProfileDbl("SysParam", "badd", 9.5), 0.0);
    EXPECT_EQ(m_ini.GetProfileStringA("SysParam", "missing", "dflt"), "dflt");
}

TEST_F(IniFile, LongValuesAreCutOnReadButAppendedWhole)
{
    std::string longValue(2000, 'v');
    longValue[1500] = 'w';
    Put("[s]\r\nk=" + longValue + "\r\n");
    EXPECT_EQ(m_ini.GetProfileStringA("s", "k", ""), longValue.substr(0, 1023).c_str());

    EXPECT_NE(m_ini.AppendProfileString("s", "k", "+end"), 0);
    EXPECT_EQ(Bytes(), "[s]\r\nk=" + longValue + "+end\r\n");
    EXPECT_NE(m_ini.AppendProfileString("s", "new", "abc"), 0);
    EXPECT_NE(m_ini.AppendProfileString("s", "new", "def"), 0);
    EXPECT_EQ(m_ini.GetProfileStringA("s", "new", ""), "abcdef");
}

TEST_F(IniFile, WritersExactBytes)
{
    EXPECT_NE(m_ini.WriteProfileInt("SysParam", "RecLen", -30), 0);
    EXPECT_NE(m_ini.WriteProfileBool("SysParam", "StartMin", 5), 0);
    EXPECT_NE(m_ini.WriteProfileDbl("SysParam", "Ratio", 1.5), 0);
    EXPECT_NE(m_ini.WriteProfileStringA("Config", "Name", "cam 1"), 0);
    EXPECT_NE(m_ini.IncreaseProfileInt("Config", "Runs", 3), 0);
    EXPECT_NE(m_ini.IncreaseProfileInt("Config", "Runs", 4), 0);
    EXPECT_NE(m_ini.WriteProfileInt("SysParam", "Big", 2147483600), 0);
    EXPECT_NE(m_ini.IncreaseProfileInt("SysParam", "Big", 1000), 0);
    EXPECT_EQ(Bytes(), "[SysParam]\r\nRecLen=-30\r\nStartMin=1\r\nRatio=1.500000\r\nBig=2147483647\r\n"
                       "[Config]\r\nName=cam 1\r\nRuns=7\r\n");
    EXPECT_EQ(m_ini.WriteProfileStringA("Config", "Name", "a\r\n[x]"), 0);
    EXPECT_EQ(m_ini.GetProfileStringA("Config", "Name", ""), "cam 1");
}

TEST_F(IniFile, DoublesUnderAGermanLocale)
{
    vxtest::GermanLocale german;
    if (!german.Use())
        GTEST_SKIP() << "no German locale can be made here";
    EXPECT_NE(m_ini.WriteProfileDbl("s", "d", 2.5), 0);
    EXPECT_EQ(Bytes(), "[s]\r\nd=2.500000\r\n");
    EXPECT_DOUBLE_EQ(m_ini.GetProfileDbl("s", "d", 0.0), 2.5);
}

TEST_F(IniFile, ListsSectionLinesAndNames)
{
    std::string text = "[ Config ]\r\n  a = 1  \r\n\r\n\tb=2\r\n[SysParam]\r\nx=1\r\n";
    for (int i = 0; i < 300; ++i)  // far more than one read buffer
        text += "[s" + std::to_string(i) + "]\r\nkey" + std::to_string(i) + "=value\r\n";
    Put(text);
    CStringArray lines;
    lines.Add("stale");
    EXPECT_EQ(m_ini.GetProfileSectionA("config", lines), 2u);
    ASSERT_EQ(lines.GetSize(), 2);
    EXPECT_EQ(lines[0], "a = 1");
    EXPECT_EQ(lines[1], "b=2");

    CStringArray names;
    EXPECT_EQ(m_ini.GetProfileSectionNames(names), 302u);
    EXPECT_EQ(names[0], "Config");
    EXPECT_EQ(names[1], "SysParam");
    EXPECT_EQ(names[301], "s299");

    EXPECT_EQ(m_ini.GetProfileSectionA("none", lines), 0u);
    EXPECT_EQ(lines.GetSize(), 0);
}

TEST_F(IniFile, RemovalsExactBytes)
{
    const std::string longLine(5000, 'x');
    struct Case {
        const char* name;
        std::string before;
        const char* section;
        const char* key;  // nullptr: remove the section
        int result;
        std::string after;  // for result 1
    } cases[] = {
        {"entry of a file written with CRLF", "[Config]\r\nA=1\r\nB=2\r\n[SysParam]\r\nA=3\r\n", "Config", "A", 1,
         "[Config]\r\nB=2\r\n[SysParam]\r\nA=3\r\n"},
        {"entry keeps each line's end", "[a]\nx=1\r\ny=2\rz=3", "a", "y", 1, "[a]\nx=1\r\nz=3"},
        {"last entry leaves no empty line", "[a]\r\nx=1\r\n", "a", "x", 1, "[a]\r\n"},
        {"names match without case and spaces", "[ Config ]\n  Key  = 1\n", "CONFIG", "KEY", 1, "[ Config ]\n"},
        {"only the first match of a section", "[a]\nk=1\nk=2\n", "a", "k", 1, "[a]\nk=2\n"},
        {"every section of the name", "[a]\nk=1\n[b]\nk=2\n[A]\nk=3\n[a]\nj=4\n[c]\n", "a", "k", 1,
         "[a]\n[b]\nk=2\n[A]\n[a]\nj=4\n[c]\n"},
        {"a commented header ends the section", "[a]\nj=1\n[b] ;c\nk=2\n", "a", "k", 0, ""},
        {"key of another section only", "[a]\nj=1\n[b]\nk=2\n", "a", "k", 0, ""},
        {"empty brackets end the section as for the reader", "[a]\n[]\n=k\nk=1\n", "a", "k", 0, ""},
        {"=line is no entry", "[a]\n=k\n k =1\n", "a", "", 0, ""},
        {"long lines survive", "[a]\n" + longLine + "\nk=1\n" + longLine, "a", "k", 1,
         "[a]\n" + longLine + "\n" + longLine},
        {"byte-order mark kept", "\xEF\xBB\xBF[a]\r\nk=1\r\n", "a", "k", 1, "\xEF\xBB\xBF[a]\r\n"},
        {"section of a file written with CRLF", "[Config]\r\nA=1\r\n\r\n[SysParam]\r\nB=2\r\n", "config", nullptr, 1,
         "[SysParam]\r\nB=2\r\n"},
        {"every section of the name, also one right behind", "[a]\nx\n[a]\ny\n[b]\nz\n[a]\n", "a", nullptr, 1,
         "[b]\nz\n"},
        {"last section of an unterminated file", "[b]\r\nz=1\r\n[a]\rk=1", "a", nullptr, 1, "[b]\r\nz=1\r\n"},
        {"section not there", "[b]\nz=1\n", "a", nullptr, 0, ""},
        {"commented header is no header of the class", "[a] ;c\nz=1\n", "a", nullptr, 0, ""},
    };
    for (const Case& c : cases) {
        Put(c.before);
        ino_t inode = Inode();
        int r = c.key ? m_ini.RemoveProfileEntry(c.section, c.key) : m_ini.RemoveProfileSection(c.section);
        EXPECT_EQ(r, c.result) << c.name;
        if (c.result) {
            EXPECT_EQ(Bytes(), c.after) << c.name;
        } else {
            EXPECT_EQ(Bytes(), c.before) << c.name;
            EXPECT_EQ(Inode(), inode) << c.name << ": the file was rewritten";
        }
    }
    fs::remove(m_path);
    EXPECT_EQ(m_ini.RemoveProfileEntry("a", "k"), 0);
    EXPECT_EQ(m_ini.RemoveProfileSection("a"), 0);
    EXPECT_FALSE(fs::exists(m_path));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 0);
}

// Gives the tests the protected line helpers.
class IniLines : public CIniFile {
public:
    using CIniFile::FindEntry;
    using CIniFile::FindSection;
    using CIniFile::IsEntry;
    using CIniFile::IsSection;
};

TEST(IniFileLines, RecognisesHeadersAndEntries)
{
    struct Case {
        const char* line;
        int section;
        const char* name;  // of the header or the entry's key
        int entry;
    } cases[] = {
        {"[Config]", 1, "Config", 0},
        {"  [ My Config ]  ", 1, "My Config", 0},
        {"[]", 0, "", 0},
        {"[   ]", 0, "", 0},
        {"[Config] ;c", 0, "", 0},
        {"[a=b]", 1, "a=b", 0},
        {"\t[a]", 0, "", 0},
        {" Key = v", 0, "Key", 1},
        {"Key", 0, "", 0},
        {"=v", 0, "", 0},
        {"   =v", 0, "", 0},
        {"a=b=c", 0, "a", 1},
        {"", 0, "", 0},
    };
    for (const Case& c : cases) {
        char out[64] = "untouched";
        EXPECT_EQ(IniLines::IsSection(c.line, out), c.section) << c.line;
        if (c.section) {
            EXPECT_STREQ(out, c.name) << c.line;
        }
        strcpy(out, "untouched");
        EXPECT_EQ(IniLines::IsEntry(c.line, out), c.entry) << c.line;
        if (c.entry) {
            EXPECT_STREQ(out, c.name) << c.line;
        }
        EXPECT_EQ(IniLines::IsSection(c.line, nullptr), c.section);
        EXPECT_EQ(IniLines::IsEntry(c.line, nullptr), c.entry);
    }
    EXPECT_EQ(IniLines::FindSection("config", " [ Config ] "), 1);
    EXPECT_EQ(IniLines::FindSection("Conf", "[Config]"), 0);
    EXPECT_EQ(IniLines::FindEntry("KEY", "  Key  =1"), 1);
    EXPECT_EQ(IniLines::FindEntry("Ke", "Key=1"), 0);
    EXPECT_EQ(IniLines::FindEntry("Key", "[Key=1]"), 0);
    std::string longName(300, 'n');
    std::vector<char> out(longName.size() + 3);
    EXPECT_EQ(IniLines::IsSection(("[" + longName + "]").c_str(), out.data()), 1);
    EXPECT_EQ(std::string(out.data()), longName);
}

TEST_F(IniFile, ConcurrentAppendsLoseNothing)
{
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([this] {
            CIniFile own(m_path.c_str());
            for (int i = 0; i < 10; ++i) {
                own.AppendProfileString("s", "log", "x");
                own.IncreaseProfileInt("s", "count", 1);
            }
        });
    for (std::thread& th : threads)
        th.join();
    EXPECT_EQ(m_ini.GetProfileStringA("s", "log", ""), std::string(40, 'x').c_str());
    EXPECT_EQ(m_ini.GetProfileIntA("s", "count", 0), 40);
}

}  // namespace
