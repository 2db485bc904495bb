#include "platform/kernel/CFileFind.h"
#include "platform/kernel/errors.h"
#include "platform/kernel/files.h"
#include "platform/kernel/ktime.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

class FileFind : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        tmp = std::make_unique<vxtest::TempDir>("vx-test-find");
        ASSERT_TRUE(tmp->ok());
        dir = tmp->path();
        for (const char* name : {"a.mp4", "B.MP4", "c.avi", "noext", ".hidden", "\xC3\xA9.avi", "a.mp4x"})
            std::ofstream(dir + "/" + name) << "12345";
        mkdir((dir + "/sub").c_str(), 0755);
        struct timespec times[2] = {{1500000000, 0}, {1500000000, 0}};
        utimensat(AT_FDCWD, (dir + "/c.avi").c_str(), times, 0);
    }
    static void TearDownTestSuite() { tmp.reset(); }

    static std::vector<std::string> Find(const std::string& pattern)
    {
        std::vector<std::string> names;
        CFileFind finder;
        BOOL more = finder.FindFile(pattern.c_str());
        while (more) {
            more = finder.FindNextFile();
            names.push_back(std::string(finder.GetFileName()));
        }
        return names;
    }

    static std::unique_ptr<vxtest::TempDir> tmp;
    static std::string dir;
};
std::unique_ptr<vxtest::TempDir> FileFind::tmp;
std::string FileFind::dir;

TEST_F(FileFind, Wildcards)
{
    using V = std::vector<std::string>;
    struct Case {
        std::string pattern;
        V names;
    };
    const Case cases[] = {
        {"*.mp4", V{"B.MP4", "a.mp4"}},
        {"?.avi", V{"c.avi", "\xC3\xA9.avi"}},  // '?' is one character, also a multi-byte one
        {"*.*", V{".", "..", ".hidden", "B.MP4", "a.mp4", "a.mp4x", "c.avi", "noext", "sub", "\xC3\xA9.avi"}},
        {"*", V{".", "..", ".hidden", "B.MP4", "a.mp4", "a.mp4x", "c.avi", "noext", "sub", "\xC3\xA9.avi"}},
        {"noext.*", V{"noext"}},
        {"*mp4*", V{"B.MP4", "a.mp4", "a.mp4x"}},
        {"c.avi", V{"c.avi"}},
        {"*.m?4", V{"B.MP4", "a.mp4"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.names, Find(dir + "/" + c.pattern)) << c.pattern;
    // The separator may be written as a backslash.
    const V avi{"c.avi", "\xC3\xA9.avi"};
    EXPECT_EQ(avi, Find(dir + "\\*.avi"));
}

TEST_F(FileFind, NothingFound)
{
    CFileFind finder;
    EXPECT_FALSE(finder.FindFile((dir + "/*.mkv").c_str()));
    EXPECT_EQ(DWORD(ERROR_FILE_NOT_FOUND), GetLastError());
    EXPECT_FALSE(finder.FindNextFile());
    EXPECT_FALSE(finder.FindFile((dir + "/missing/*.*").c_str()));
    EXPECT_EQ(DWORD(ERROR_PATH_NOT_FOUND), GetLastError());
    EXPECT_EQ(CString(), finder.GetFileName());
}

TEST_F(FileFind, EntryDetails)
{
    CFileFind finder;
    ASSERT_TRUE(finder.FindFile((dir + "/c.avi").c_str()));
    EXPECT_FALSE(finder.FindNextFile());  // stepped to the only entry, which is the last
    EXPECT_EQ(CString("c.avi"), finder.GetFileName());
    EXPECT_EQ(CString((dir + "/c.avi").c_str()), finder.GetFilePath());
    EXPECT_EQ(CString("c"), finder.GetFileTitle());
    EXPECT_EQ(CString((dir + "/").c_str()), finder.GetRoot());
    EXPECT_EQ(5u, finder.GetLength());
    EXPECT_FALSE(finder.IsDirectory());
    EXPECT_FALSE(finder.IsDots());
    CTime t;
    ASSERT_TRUE(finder.GetLastWriteTime(t));
    EXPECT_EQ(time_t(1500000000), t.GetTime());
    FILETIME ft;
    ASSERT_TRUE(finder.GetLastWriteTime(&ft));
    EXPECT_EQ(1500000000LL * 10000000LL, vxk::UnixTicksFromFileTime(ft));

    ASSERT_TRUE(finder.FindFile((dir + "/s*").c_str()));
    finder.FindNextFile();
    EXPECT_TRUE(finder.IsDirectory());
    EXPECT_TRUE(finder.MatchesMask(FILE_ATTRIBUTE_DIRECTORY));

    ASSERT_TRUE(finder.FindFile((dir + "/*").c_str()));
    finder.FindNextFile();
    EXPECT_TRUE(finder.IsDots());

    // A relative pattern still gives full paths.
    char* cwd = getcwd(nullptr, 0);
    ASSERT_EQ(0, chdir(dir.c_str()));
    ASSERT_TRUE(finder.FindFile("*.avi"));
    finder.FindNextFile();
    EXPECT_EQ(CString((dir + "/c.avi").c_str()), finder.GetFilePath());
    EXPECT_EQ(0, chdir(cwd));
    free(cwd);
    finder.Close();
    EXPECT_EQ(CString(), finder.GetFileName());
}

}  // namespace
