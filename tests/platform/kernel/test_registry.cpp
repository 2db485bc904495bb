#include "platform/kernel/errors.h"
#include "platform/kernel/registry.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

const char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class Registry : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.ok());
        home = tmp.path();
        setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    }
    void TearDown() override { unsetenv("XDG_CONFIG_HOME"); }

    static LSTATUS SetString(HKEY k, const char* name, const std::string& value)
    {
        return RegSetValueEx(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), DWORD(value.size() + 1));
    }
    static std::string GetString(HKEY k, const char* name, LSTATUS* result = nullptr)
    {
        char buf[512] = {};
        DWORD size = sizeof buf, type = 0;
        LSTATUS r = RegQueryValueEx(k, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
        if (result)
            *result = r;
        return r == ERROR_SUCCESS && type == REG_SZ ? std::string(buf) : std::string("<none>");
    }

    vxtest::TempDir tmp{"vx-test-registry"};
    std::string home;
};

TEST_F(Registry, ValuesAreKeptAndReadBack)
{
    HKEY k = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\VX\\Test", 0, nullptr, 0, KEY_ALL_ACCESS,
                                            nullptr, &k, &disposition));
    EXPECT_EQ(DWORD(REG_CREATED_NEW_KEY), disposition);
    EXPECT_EQ(ERROR_SUCCESS, SetString(k, "Path", "/srv/rec\nnext=line [x] 100%"));
    DWORD count = 42;
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueEx(k, "Count", 0, REG_DWORD, reinterpret_cast<BYTE*>(&count), 4));
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(k));

    // Another handle, names in another case.
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyEx(HKEY_CURRENT_USER, "software\\vx\\TEST", 0, KEY_READ, &k));
    EXPECT_EQ("/srv/rec\nnext=line [x] 100%", GetString(k, "PATH"));
    DWORD value = 0, size = sizeof value, type = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueEx(k, "count", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size));
    EXPECT_EQ(DWORD(REG_DWORD), type);
    EXPECT_EQ(42u, value);

    // Size query, then a buffer one byte short.
    size = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueEx(k, "Path", nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(28u, size);  // with its NUL
    std::vector<BYTE> small(size - 1);
    size = DWORD(small.size());
    EXPECT_EQ(ERROR_MORE_DATA, RegQueryValueEx(k, "Path", nullptr, nullptr, small.data(), &size));
    EXPECT_EQ(28u, size);

    // Opened for reading only.
    EXPECT_EQ(ERROR_ACCESS_DENIED, SetString(k, "Path", "x"));
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteValue(k, "Path"));
    RegCloseKey(k);

    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\VX\\Test", 0, KEY_ALL_ACCESS, &k));
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteValue(k, "path"));
    LSTATUS r;
    GetString(k, "Path", &r);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, r);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteValue(k, "Path"));
    RegCloseKey(k);

    struct stat st;
    ASSERT_EQ(0, stat((home + "/vx/registry").c_str(), &st));
    EXPECT_EQ(0600u, st.st_mode & 0777);
}

TEST_F(Registry, Failures)
{
    HKEY k = nullptr;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Missing", 0, KEY_READ, &k));
    EXPECT_EQ(nullptr, k);
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKey(HKEY_LOCAL_MACHINE, "Software\\VX", &k));
    DWORD v = 1;
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegSetValueEx(k, "Short", 0, REG_DWORD, reinterpret_cast<BYTE*>(&v), 3));
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(k));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(k));
    EXPECT_EQ(ERROR_INVALID_HANDLE, SetString(k, "x", "y"));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegOpenKeyEx(reinterpret_cast<HKEY>(0x1234), "x", 0, KEY_READ, &k));

    // The same path under another root is another key.
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\VX", 0, KEY_READ, &k));

    // A store that cannot be read is never replaced.
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKey(HKEY_CURRENT_USER, "Software\\VX", &k));
    ASSERT_EQ(ERROR_SUCCESS, SetString(k, "Keep", "me"));
    std::string store = home + "/vx/registry";
    ASSERT_EQ(0, rename(store.c_str(), (store + ".real").c_str()));
    ASSERT_EQ(0, mkdir(store.c_str(), 0700));  // reading it now fails
    EXPECT_NE(ERROR_SUCCESS, SetString(k, "Other", "x"));
    rmdir(store.c_str());
    rename((store + ".real").c_str(), store.c_str());
    EXPECT_EQ("me", GetString(k, "Keep"));
    RegCloseKey(k);
}

TEST_F(Registry, WritersInParallelLoseNothing)
{
    HKEY k = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKey(HKEY_CURRENT_USER, "Software\\VX\\Parallel", &k));
    std::vector<std::thread> writers;
    for (int t = 0; t < 6; ++t)
        writers.emplace_back([k, t] {
            for (int i = 0; i < 15; ++i) {
                std::string name = "v" + std::to_string(t) + "_" + std::to_string(i);
                EXPECT_EQ(ERROR_SUCCESS, SetString(k, name.c_str(), name));
            }
        });
    for (auto& w : writers)
        w.join();
    for (int t = 0; t < 6; ++t)
        for (int i = 0; i < 15; ++i) {
            std::string name = "v" + std::to_string(t) + "_" + std::to_string(i);
            EXPECT_EQ(name, GetString(k, name.c_str()));
        }
    RegCloseKey(k);
}

TEST_F(Registry, RunValuesAreDesktopAutostartEntries)
{
    // The program of the first case exists, so its unquoted path with a
    // space is one argument.
    std::string program = home + "/my apps/VXKST-HD";
    ASSERT_EQ(0, mkdir((home + "/my apps").c_str(), 0755));
    std::ofstream(program) << "#!/bin/sh\n";
    struct Case {
        std::string data;
        std::string exec;
    };
    const Case cases[] = {
        {program, "\"" + program + "\""},
        {"/usr/bin/vx-recorder", "/usr/bin/vx-recorder"},
        {"\"/opt/a$b/p%q\" -start_rec", "\"/opt/a\\\\$b/p%%q\" -start_rec"},
        {"\"/opt/x\\y\" \"two words\" back\\slash", "\"/opt/x\\\\\\\\y\" \"two words\" \"back\\\\\\\\slash\""},
    };
    HKEY run = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyEx(HKEY_CURRENT_USER, kRun, 0, KEY_ALL_ACCESS, &run));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data);
        ASSERT_EQ(ERROR_SUCCESS, SetString(run, "VXKST-HD", c.data));
        std::string entry = vxtest::ReadFile(home + "/autostart/VXKST-HD.desktop");
        EXPECT_NE(std::string::npos, entry.find("[Desktop Entry]\nType=Application\nName=VXKST-HD\n")) << entry;
        EXPECT_NE(std::string::npos, entry.find("\nExec=" + c.exec + "\n")) << entry;
        EXPECT_EQ(c.data, GetString(run, "vxkst-hd"));
    }
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteValue(run, "VXKST-HD"));
    EXPECT_NE(0, access((home + "/autostart/VXKST-HD.desktop").c_str(), F_OK));
    LSTATUS r;
    GetString(run, "VXKST-HD", &r);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, r);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteValue(run, "VXKST-HD"));

    // Only command lines belong there; a name that is no file name is escaped.
    DWORD one = 1;
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegSetValueEx(run, "X", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), 4));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, SetString(run, "X", "   "));
    ASSERT_EQ(ERROR_SUCCESS, SetString(run, "../evil", "/bin/true"));
    EXPECT_EQ(0, access((home + "/autostart/%2E.%2Fevil.desktop").c_str(), F_OK));
    EXPECT_EQ("/bin/true", GetString(run, "../evil"));
    RegCloseKey(run);
}

TEST_F(Registry, EntriesWrittenByOthersReadAsCommandLines)
{
    ASSERT_EQ(0, mkdir((home + "/autostart").c_str(), 0755));
    std::ofstream(home + "/autostart/other.desktop")
        << "[Desktop Entry]\nType=Application\nName=Other\nExec=\"/opt/other app/run\" --tray %U\n";
    std::ofstream(home + "/autostart/gone.desktop") << "[Desktop Entry]\nExec=/bin/gone\nHidden=true\n";
    HKEY run = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyEx(HKEY_CURRENT_USER, kRun, 0, KEY_READ, &run));
    EXPECT_EQ("\"/opt/other app/run\" --tray", GetString(run, "Other"));
    LSTATUS r;
    GetString(run, "gone", &r);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, r);
    RegCloseKey(run);
}

}  // namespace
