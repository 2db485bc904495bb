#include "platform/kernel/errors.h"
#include "platform/kernel/files.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class Files : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.ok());
        dir = tmp.path();
    }

    std::string path(const std::string& name) const { return dir + "/" + name; }
    void write(const std::string& name, const std::string& text) const { vxtest::WriteFile(path(name), text); }
    std::string read(const std::string& name) const { return vxtest::ReadFile(path(name)); }
    bool exists(const std::string& name) const { return access(path(name).c_str(), F_OK) == 0; }
    // Entries of the test folder, to see that nothing was left behind.
    int entries() const
    {
        int n = 0;
        DIR* d = opendir(dir.c_str());
        while (dirent* e = readdir(d))
            n += e->d_name[0] != '.' || (e->d_name[1] && e->d_name[1] != '.');
        closedir(d);
        return n;
    }

    vxtest::TempDir tmp{"vx-test-files"};
    std::string dir;
};

TEST_F(Files, CopyFileKeepsContentAndTimeAndHonoursFailIfExists)
{
    write("src", "recording");
    struct timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(0, utimensat(AT_FDCWD, path("src").c_str(), times, 0));
    ASSERT_TRUE(CopyFile(path("src").c_str(), path("dst").c_str(), TRUE));
    EXPECT_EQ("recording", read("dst"));
    struct stat st;
    stat(path("dst").c_str(), &st);
    EXPECT_EQ(1000000000, st.st_mtim.tv_sec);

    write("src", "newer");
    EXPECT_FALSE(CopyFile(path("src").c_str(), path("dst").c_str(), TRUE));
    EXPECT_EQ(DWORD(ERROR_FILE_EXISTS), GetLastError());
    EXPECT_EQ("recording", read("dst"));
    ASSERT_TRUE(CopyFile(path("src").c_str(), path("dst").c_str(), FALSE));
    EXPECT_EQ("newer", read("dst"));

    // Onto itself: refused, and the file survives.
    EXPECT_FALSE(CopyFile(path("src").c_str(), path("src").c_str(), FALSE));
    EXPECT_EQ("newer", read("src"));
    EXPECT_EQ(2, entries());  // no temporary file left
}

TEST_F(Files, CopyFileFailuresLeaveNothingBehind)
{
    EXPECT_FALSE(CopyFile(path("missing").c_str(), path("dst").c_str(), FALSE));
    EXPECT_EQ(DWORD(ERROR_FILE_NOT_FOUND), GetLastError());
    write("src", "x");
    EXPECT_FALSE(CopyFile(path("src").c_str(), path("no/dst").c_str(), FALSE));
    EXPECT_EQ(DWORD(ERROR_PATH_NOT_FOUND), GetLastError());
    ASSERT_EQ(0, mkdir(path("folder").c_str(), 0755));
    EXPECT_FALSE(CopyFile(path("src").c_str(), path("folder").c_str(), FALSE));
    EXPECT_FALSE(CopyFile(path("folder").c_str(), path("dst").c_str(), FALSE));
    EXPECT_EQ(2, entries());
}

TEST_F(Files, MoveFileNeverReplacesUnlessAsked)
{
    write("a", "A");
    write("b", "B");
    EXPECT_FALSE(MoveFile(path("a").c_str(), path("b").c_str()));
    EXPECT_EQ(DWORD(ERROR_ALREADY_EXISTS), GetLastError());
    EXPECT_EQ("A", read("a"));
    EXPECT_EQ("B", read("b"));
    EXPECT_TRUE(MoveFileEx(path("a").c_str(), path("b").c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_FALSE(exists("a"));
    EXPECT_EQ("A", read("b"));
    EXPECT_TRUE(MoveFile(path("b").c_str(), path("c").c_str()));
    EXPECT_EQ("A", read("c"));
    EXPECT_FALSE(MoveFile(path("missing").c_str(), path("d").c_str()));
    EXPECT_EQ(DWORD(ERROR_FILE_NOT_FOUND), GetLastError());
}

TEST_F(Files, DeleteAndDirectories)
{
    write("f", "x");
    EXPECT_TRUE(DeleteFile(path("f").c_str()));
    EXPECT_FALSE(DeleteFile(path("f").c_str()));
    EXPECT_EQ(DWORD(ERROR_FILE_NOT_FOUND), GetLastError());
    EXPECT_FALSE(DeleteFile(path("no/f").c_str()));
    EXPECT_EQ(DWORD(ERROR_PATH_NOT_FOUND), GetLastError());

    EXPECT_TRUE(CreateDirectory(path("d").c_str(), nullptr));
    EXPECT_FALSE(CreateDirectory(path("d").c_str(), nullptr));
    EXPECT_EQ(DWORD(ERROR_ALREADY_EXISTS), GetLastError());
    EXPECT_FALSE(CreateDirectory(path("no/d").c_str(), nullptr));
    EXPECT_EQ(DWORD(ERROR_PATH_NOT_FOUND), GetLastError());
    EXPECT_FALSE(DeleteFile(path("d").c_str()));  // not a file
    write("d/f", "x");
    EXPECT_FALSE(RemoveDirectory(path("d").c_str()));
    EXPECT_EQ(DWORD(ERROR_DIR_NOT_EMPTY), GetLastError());
    DeleteFile(path("d/f").c_str());
    EXPECT_TRUE(RemoveDirectory(path("d").c_str()));
}

TEST_F(Files, MakeSureDirectoryPathExistsStopsAtTheLastSeparator)
{
    struct Case {
        std::string given, folder, notCreated;
    };
    const Case cases[] = {
        {"a/b/c/", "a/b/c", ""},
        {"m/n/file.mp4", "m/n", "m/n/file.mp4"},
        {"w\\x\\y\\", "w/x/y", ""},
        {"p//q/", "p/q", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        EXPECT_TRUE(MakeSureDirectoryPathExists(path(c.given).c_str()));
        EXPECT_TRUE(PathIsDirectory(path(c.folder).c_str()));
        if (!c.notCreated.empty()) {
            EXPECT_FALSE(PathFileExists(path(c.notCreated).c_str()));
        }
        EXPECT_TRUE(MakeSureDirectoryPathExists(path(c.given).c_str()));  // again: nothing to do
    }
    write("file", "x");
    EXPECT_FALSE(MakeSureDirectoryPathExists(path("file/sub/").c_str()));
}

TEST_F(Files, Attributes)
{
    write("plain", "x");
    write(".hidden", "x");
    write("readonly", "x");
    chmod(path("readonly").c_str(), 0444);
    mkdir(path("folder").c_str(), 0755);
    struct Case {
        std::string name;
        DWORD attrs;
    };
    const Case cases[] = {
        {"plain", FILE_ATTRIBUTE_NORMAL},      {".hidden", FILE_ATTRIBUTE_HIDDEN},
        {"readonly", FILE_ATTRIBUTE_READONLY}, {"folder", FILE_ATTRIBUTE_DIRECTORY},
        {"folder/", FILE_ATTRIBUTE_DIRECTORY},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.attrs, GetFileAttributes(path(c.name).c_str())) << c.name;
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributes(path("missing").c_str()));
    EXPECT_EQ(DWORD(ERROR_FILE_NOT_FOUND), GetLastError());
    EXPECT_TRUE(PathFileExists(path("plain").c_str()));
    EXPECT_FALSE(PathIsDirectory(path("plain").c_str()));
    EXPECT_TRUE(PathIsDirectory((dir + "\\folder").c_str()));
    EXPECT_FALSE(PathFileExists(path("missing").c_str()));
    EXPECT_FALSE(PathFileExists(""));
}

TEST_F(Files, FreeSpaceOfAMissingPathIsThatOfItsNearestParent)
{
    ULARGE_INTEGER avail{}, total{}, free{};
    ASSERT_TRUE(GetDiskFreeSpaceEx(dir.c_str(), &avail, &total, &free));
    EXPECT_GT(total.QuadPart, 0u);
    EXPECT_LE(avail.QuadPart, total.QuadPart);
    EXPECT_EQ(avail.QuadPart, free.QuadPart);

    ULARGE_INTEGER avail2{}, total2{};
    ASSERT_TRUE(GetDiskFreeSpaceEx(path("not/yet/made/").c_str(), &avail2, &total2, nullptr));
    EXPECT_EQ(total.QuadPart, total2.QuadPart);
    write("plain", "x");
    EXPECT_TRUE(GetDiskFreeSpaceEx(path("plain/under/a/file").c_str(), nullptr, &total2, nullptr));
    EXPECT_EQ(total.QuadPart, total2.QuadPart);
}

TEST_F(Files, FileHandles)
{
    std::string p = path("h");
    HANDLE h = CreateFile(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    DWORD n = 0;
    EXPECT_TRUE(WriteFile(h, "hello world", 11, &n, nullptr));
    EXPECT_EQ(11u, n);
    EXPECT_EQ(11u, GetFileSize(h, nullptr));
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_FALSE(WriteFile(h, "x", 1, &n, nullptr));
    EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), GetLastError());

    EXPECT_EQ(INVALID_HANDLE_VALUE,
              CreateFile(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_EQ(DWORD(ERROR_FILE_EXISTS), GetLastError());

    h = CreateFile(p.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    EXPECT_EQ(6u, SetFilePointer(h, 6, nullptr, FILE_BEGIN));
    char buf[16] = {};
    EXPECT_TRUE(ReadFile(h, buf, sizeof buf, &n, nullptr));
    EXPECT_EQ(5u, n);
    EXPECT_STREQ("world", buf);
    EXPECT_TRUE(ReadFile(h, buf, sizeof buf, &n, nullptr));  // at the end: success, nothing read
    EXPECT_EQ(0u, n);
    CloseHandle(h);

    // CREATE_ALWAYS replaces and says the file was there.
    h = CreateFile(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    EXPECT_EQ(DWORD(ERROR_ALREADY_EXISTS), GetLastError());
    EXPECT_EQ(0u, GetFileSize(h, nullptr));
    CloseHandle(h);

    struct Missing {
        std::string name;
        DWORD disposition, error;
    };
    const Missing missing[] = {
        {"nope", OPEN_EXISTING, ERROR_FILE_NOT_FOUND},
        {"no/nope", OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
        {"no/nope", CREATE_ALWAYS, ERROR_PATH_NOT_FOUND},
    };
    for (const Missing& m : missing) {
        EXPECT_EQ(INVALID_HANDLE_VALUE,
                  CreateFile(path(m.name).c_str(), GENERIC_READ, 0, nullptr, m.disposition, 0, nullptr));
        EXPECT_EQ(m.error, GetLastError()) << m.name;
    }
    EXPECT_EQ(INVALID_HANDLE_VALUE, CreateFile(dir.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
}

TEST(TempPath, EndsWithASeparator)
{
    char buf[260];
    DWORD n = GetTempPath(sizeof buf, buf);
    ASSERT_GT(n, 0u);
    EXPECT_EQ('/', buf[n - 1]);
    EXPECT_EQ(n + 1, GetTempPath(1, buf));
}

}  // namespace
