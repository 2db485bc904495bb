#include "platform/kernel/errors.h"
#include "platform/kernel/module.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::string RealExe()
{
    char buf[PATH_MAX] = {};
    EXPECT_GT(readlink("/proc/self/exe", buf, sizeof buf - 1), 0);
    return buf;
}

bool EndsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(Module, ProgramFileNameAndItsRedirection)
{
    char buf[PATH_MAX];
    DWORD n = GetModuleFileName(nullptr, buf, sizeof buf);
    EXPECT_EQ(RealExe(), std::string(buf));
    EXPECT_EQ(strlen(buf), n);
    EXPECT_EQ(RealExe(), vxk::ModuleFileName(GetModuleHandle(nullptr)));

    setenv("VX_PROGRAM_DIR", "/tmp/vx-program/", 1);
    GetModuleFileName(nullptr, buf, sizeof buf);
    EXPECT_EQ(std::string("/tmp/vx-program/test_module"), buf);
    EXPECT_EQ("/tmp/vx-program", vxk::ProgramDirectory());
    unsetenv("VX_PROGRAM_DIR");

    // Cut to fit, still terminated, and reported.
    char small[5];
    EXPECT_EQ(5u, GetModuleFileName(nullptr, small, sizeof small));
    EXPECT_EQ(DWORD(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(RealExe().substr(0, 4), std::string(small));
}

TEST(Module, LoadsALibraryBesideTheProgramByItsBareName)
{
    const char* names[] = {"vxk_module_fixture", "vxk_module_fixture.dll", "VXK_MODULE_FIXTURE.DLL"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        HMODULE h = LoadLibrary(name);
        if (std::string(name) == "VXK_MODULE_FIXTURE.DLL") {
            // File names are case-sensitive here: only the suffix is not.
            EXPECT_EQ(nullptr, h);
            continue;
        }
        ASSERT_NE(nullptr, h);
        auto answer = reinterpret_cast<int (*)()>(GetProcAddress(h, "vxk_fixture_answer"));
        ASSERT_NE(nullptr, answer);
        EXPECT_EQ(42, answer());
        EXPECT_EQ(nullptr, GetProcAddress(h, "no_such_function"));
        EXPECT_EQ(DWORD(ERROR_PROC_NOT_FOUND), GetLastError());

        char path[PATH_MAX];
        ASSERT_GT(GetModuleFileName(h, path, sizeof path), 0u);
        EXPECT_EQ(std::string(VX_BIN_DIR) + "/libvxk_module_fixture.so", path);
        EXPECT_EQ(h, vxk::ModuleFromAddress(reinterpret_cast<const void*>(answer)));
        EXPECT_EQ(h, GetModuleHandle(name));
        EXPECT_TRUE(FreeLibrary(h));
    }
}

TEST(Module, ModuleOfAnAddress)
{
    EXPECT_TRUE(
        EndsWith(vxk::ModuleFileName(vxk::ModuleFromAddress(reinterpret_cast<const void*>(&GetModuleFileNameA))),
                 "/libvxplatform.so"));
    static int inTheProgram = 0;
    EXPECT_EQ(GetModuleHandle(nullptr), vxk::ModuleFromAddress(&inTheProgram));
    EXPECT_EQ(nullptr, vxk::ModuleFromAddress(nullptr));
}

TEST(Module, MissingLibrary)
{
    EXPECT_EQ(nullptr, LoadLibrary("vxk_no_such_library"));
    EXPECT_EQ(DWORD(ERROR_MOD_NOT_FOUND), GetLastError());
    EXPECT_EQ(nullptr, LoadLibrary("/nonexistent/libx.so"));
    EXPECT_EQ(nullptr, GetModuleHandle("vxk_no_such_library"));
}

}  // namespace
