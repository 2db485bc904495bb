#include "platform/base/CString.h"
#include "platform/base/crt.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

TEST(Crt, CountsFillsAndNumbers)
{
    int arr[7];
    EXPECT_EQ(_countof(arr), 7u);
    ZeroMemory(arr, sizeof(arr));
    EXPECT_EQ(arr[6], 0);
    FillMemory(arr, sizeof(arr), 0xff);
    EXPECT_EQ(arr[0], -1);
    int copy[7];
    CopyMemory(copy, arr, sizeof(arr));
    EXPECT_EQ(copy[3], -1);

    EXPECT_EQ(lstrlen("abc"), 3);
    EXPECT_EQ(lstrlen(nullptr), 0);
    EXPECT_EQ(_ttoi("42abc"), 42);
    EXPECT_EQ(_ttoi(nullptr), 0);
    EXPECT_EQ(_ttoi("  -17"), -17);
    EXPECT_EQ(_ttoi("99999999999"), 2147483647);  // saturates, never wraps
    EXPECT_EQ(_ttoi("-99999999999"), -2147483647 - 1);
    EXPECT_EQ(_ttoi64("8589934592"), 8589934592LL);
    EXPECT_DOUBLE_EQ(_tstof("2.5"), 2.5);
}

TEST(Crt, CaseInsensitiveComparison)
{
    EXPECT_EQ(_stricmp("Content-Type", "content-type"), 0);
    EXPECT_LT(_stricmp("a", "B"), 0);
    EXPECT_GT(_stricmp("b", "A"), 0);
    EXPECT_EQ(_stricmp(nullptr, ""), 0);
    EXPECT_EQ(_strnicmp("HTTP/1.1", "http/1.0", 7), 0);
    EXPECT_NE(_strnicmp("HTTP/1.1", "http/1.0", 8), 0);
    EXPECT_EQ(lstrcmpi("ABC", "abd"), -1);
}

TEST(Crt, BoundedCopiesNeverOverrun)
{
    char buf[8];
    EXPECT_EQ(strcpy_s(buf, "1234567"), 0);
    EXPECT_STREQ(buf, "1234567");
    EXPECT_EQ(strcpy_s(buf, "12345678"), ERANGE);
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(strcpy_s(buf, "abc"), 0);
    EXPECT_EQ(strcat_s(buf, "defg"), 0);
    EXPECT_STREQ(buf, "abcdefg");
    EXPECT_EQ(strcat_s(buf, "h"), ERANGE);
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(strncpy_s(buf, sizeof(buf), "abcdefghij", 3), 0);
    EXPECT_STREQ(buf, "abc");
    EXPECT_EQ(sprintf_s(buf, "%d-%s", 12, "ab"), 5);
    EXPECT_STREQ(buf, "12-ab");
    EXPECT_EQ(sprintf_s(buf, "[%s]", CString("cam")), 5);  // a CString goes as its text
    EXPECT_STREQ(buf, "[cam]");
    EXPECT_EQ(sprintf_s(buf, "%s", "too long text"), -1);
    EXPECT_STREQ(buf, "");
    int count = 0;
    EXPECT_EQ(sprintf_s(buf, "%n", &count), -1);
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(strcpy_s(nullptr, 4, "x"), EINVAL);
}

TEST(Crt, SplitPath)
{
    struct Case {
        const char* path;
        const char* dir;
        const char* name;
        const char* ext;
    } cases[] = {
        {"/rec/cam1/20240105083000.mp4", "/rec/cam1/", "20240105083000", ".mp4"},
        {"file.tar.gz", "", "file.tar", ".gz"},
        {"/rec/noext", "/rec/", "noext", ""},
        {"/rec/", "/rec/", "", ""},
        {"", "", "", ""},
    };
    for (const auto& c : cases) {
        char drive[_MAX_DRIVE], dir[_MAX_DIR], name[_MAX_FNAME], ext[_MAX_EXT];
        _splitpath(c.path, drive, dir, name, ext);
        EXPECT_STREQ(drive, "");
        EXPECT_STREQ(dir, c.dir) << c.path;
        EXPECT_STREQ(name, c.name) << c.path;
        EXPECT_STREQ(ext, c.ext) << c.path;
    }
    char dir[4];
    EXPECT_EQ(_splitpath_s("/long/folder/x.y", nullptr, 0, dir, sizeof(dir), nullptr, 0, nullptr, 0), ERANGE);
    EXPECT_STREQ(dir, "");
    // A path longer than the standard sizes is cut to nothing, not overrun.
    std::string longPath = "/" + std::string(300, 'd') + "/file.txt";
    char d2[_MAX_DIR], n2[_MAX_FNAME], e2[_MAX_EXT];
    _splitpath(longPath.c_str(), nullptr, d2, n2, e2);
    EXPECT_STREQ(d2, "");
}
