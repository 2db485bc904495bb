// A named mutex seen from a second process of the same user.

#include "platform/kernel/synch.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

const std::string kHelper = std::string(VX_BIN_DIR) + "/named_mutex_helper";

class NamedMutex : public testing::Test {
protected:
    void SetUp() override
    {
        // A private lock folder, so the test never meets another run's names.
        ASSERT_TRUE(m_tmp.ok());
        m_runtime = m_tmp.path();
        setenv("XDG_RUNTIME_DIR", m_runtime.c_str(), 1);
        m_name = "Global\\vx-test/" + std::to_string(getpid());
    }
    void TearDown() override { unsetenv("XDG_RUNTIME_DIR"); }

    // Runs the helper to completion; its exit status.
    int check()
    {
        pid_t pid;
        const char* argv[] = {kHelper.c_str(), "check", m_name.c_str(), nullptr};
        if (posix_spawn(&pid, kHelper.c_str(), nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
            return -1;
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    vxtest::TempDir m_tmp{"vx-test-runtime"};
    std::string m_runtime;
    std::string m_name;
};

TEST_F(NamedMutex, SecondProcessSeesItUntilItIsClosed)
{
    EXPECT_EQ(0, check());
    HANDLE h = CreateMutex(nullptr, TRUE, m_name.c_str());
    ASSERT_TRUE(h);
    EXPECT_EQ(DWORD(ERROR_SUCCESS), GetLastError());
    EXPECT_EQ(183, check());
    EXPECT_EQ(183, check());  // the helper's handle did not take it over
    ReleaseMutex(h);
    CloseHandle(h);
    EXPECT_EQ(0, check());
}

TEST_F(NamedMutex, DeathOfTheHolderFreesTheName)
{
    int toChild[2], fromChild[2];
    ASSERT_EQ(0, pipe(toChild));
    ASSERT_EQ(0, pipe(fromChild));
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, toChild[0], 0);
    posix_spawn_file_actions_adddup2(&fa, fromChild[1], 1);
    posix_spawn_file_actions_addclose(&fa, toChild[1]);
    posix_spawn_file_actions_addclose(&fa, fromChild[0]);
    pid_t pid;
    const char* argv[] = {kHelper.c_str(), "hold", m_name.c_str(), nullptr};
    ASSERT_EQ(0, posix_spawn(&pid, kHelper.c_str(), &fa, nullptr, const_cast<char**>(argv), environ));
    posix_spawn_file_actions_destroy(&fa);
    close(toChild[0]);
    close(fromChild[1]);
    char buf[64] = {};
    ASSERT_GT(read(fromChild[0], buf, sizeof buf - 1), 0);
    EXPECT_EQ(std::string("held 0\n"), buf);

    HANDLE h = CreateMutex(nullptr, TRUE, m_name.c_str());
    EXPECT_EQ(DWORD(ERROR_ALREADY_EXISTS), GetLastError());
    CloseHandle(h);

    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    close(toChild[1]);
    close(fromChild[0]);

    h = CreateMutex(nullptr, TRUE, m_name.c_str());
    EXPECT_EQ(DWORD(ERROR_SUCCESS), GetLastError());
    CloseHandle(h);
}

TEST_F(NamedMutex, AFolderOpenToOthersGivesNoNameButUnnamedMutexesStillWork)
{
    // Another process could not see the name there: it is refused rather
    // than handed out as if nobody else had it.
    const std::string folder = m_runtime + "/vxkst";
    ASSERT_EQ(0, mkdir(folder.c_str(), 0700));
    ASSERT_EQ(0, chmod(folder.c_str(), 0755));
    const std::string name = m_name + "-open";  // a name no earlier test of this process owns
    SetLastError(0);
    EXPECT_EQ(nullptr, CreateMutex(nullptr, TRUE, name.c_str()));
    EXPECT_EQ(DWORD(ERROR_ACCESS_DENIED), GetLastError());
    HANDLE unnamed = CreateMutex(nullptr, TRUE, nullptr);
    EXPECT_TRUE(unnamed);
    CloseHandle(unnamed);

    ASSERT_EQ(0, chmod(folder.c_str(), 0700));
    HANDLE h = CreateMutex(nullptr, TRUE, name.c_str());
    EXPECT_TRUE(h);
    EXPECT_EQ(DWORD(ERROR_SUCCESS), GetLastError());
    CloseHandle(h);
}

}  // namespace
