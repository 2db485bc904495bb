// Fatal signals leave a pending report and still end the process by the
// signal; the report names the signal, the address, the module and a back
// trace.
#include "platform/kernel/crash_report.h"

#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

#if defined(__SANITIZE_ADDRESS__)
#define VX_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VX_SANITIZED 1
#endif
#endif

// Runs `crash` in a child that installed the handler; the child's status.
[[maybe_unused]] int CrashChild(const std::string& report, void (*crash)())
{
    pid_t pid = fork();
    if (pid == 0) {
        if (!vxk::InstallCrashHandler(report))
            _exit(3);
        crash();
        _exit(4);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

[[maybe_unused]] volatile int* g_null = nullptr;

TEST(CrashHandler, SignalsWriteAReportAndStillEndTheProcess)
{
#ifdef VX_SANITIZED
    GTEST_SKIP() << "the sanitizer owns the signals";
#else
    struct Case {
        int signal;
        void (*crash)();
    };
    const Case cases[] = {
        {SIGSEGV, [] { *g_null = 1; }},
        {SIGSEGV, [] { kill(getpid(), SIGSEGV); }},
        {SIGABRT, [] { std::abort(); }},
        {SIGFPE, [] { raise(SIGFPE); }},
    };
    for (const Case& c : cases) {
        vxtest::TempDir dir;
        std::string report = dir.file("pending.txt");
        int status = CrashChild(report, c.crash);
        ASSERT_TRUE(WIFSIGNALED(status)) << status;
        EXPECT_EQ(WTERMSIG(status), c.signal);
        vxk::CrashReport r;
        ASSERT_TRUE(vxk::ReadCrashReport(report, r));
        EXPECT_EQ(r.signal, c.signal);
        EXPECT_NE(r.address, 0u);
        EXPECT_FALSE(r.frames.empty());
        EXPECT_NE(r.text.find("\nmaps\n"), std::string::npos);
        EXPECT_FALSE(r.module.empty()) << r.text.substr(0, 200);
        EXPECT_NE(access((report + ".tmp").c_str(), F_OK), 0);
    }
#endif
}

TEST(CrashHandler, OtherFilesAreNoReports)
{
    vxtest::TempDir dir;
    vxk::CrashReport r;
    EXPECT_FALSE(vxk::ReadCrashReport(dir.file("missing"), r));
    FILE* f = std::fopen(dir.file("junk").c_str(), "w");
    std::fputs("hello\n", f);
    std::fclose(f);
    EXPECT_FALSE(vxk::ReadCrashReport(dir.file("junk"), r));
}

}  // namespace
