// The real program, offscreen, with a program folder and a runtime folder of
// its own: single instance, a second start's command line, log levels and
// the crash report of the next start.
#include "program_instance.h"

#include <filesystem>

using namespace progtest;

namespace {

bool Started(const Folder& f)
{
    return WaitUntil([&] { return f.Log().find("CMainDlg::OnInitDialog") != std::string::npos; });
}

TEST(Program, ASecondStartForwardsItsCommandLine)
{
    const struct {
        std::vector<std::string> args;
        bool exits;
    } cases[] = {
        {{"-stop_rec", "-exit"}, true},
        {{"-exit", "-stop_rec"}, true},
        {{"--exit"}, true},
        {{"-unknown"}, false},
        {{}, false},
    };
    for (const auto& c : cases) {
        Folder f;
        Instance first(f, {});
        ASSERT_TRUE(Started(f));
        std::string logBefore = f.Log();
        std::string dbBefore = ReadFile(f.dir.file("VXKST.sqlite"));
        Instance second(f, c.args);
        EXPECT_EQ(second.Wait(), 0);
        if (c.exits) {
            EXPECT_EQ(first.Wait(), 0) << "the first instance ends";
            EXPECT_NE(f.Log().find("OnExitMsg"), std::string::npos);
        } else {
            EXPECT_TRUE(WaitUntil([&] { return f.Log().find("OnInstanceMsg") != std::string::npos; }));
            EXPECT_EQ(f.Log().find("OnExitMsg"), std::string::npos);
            // The second start touched neither the log nor the database.
            EXPECT_EQ(f.Log().substr(0, logBefore.size()), logBefore);
            EXPECT_EQ(ReadFile(f.dir.file("VXKST.sqlite")), dbBefore);
            Instance ender(f, {"-exit"});
            EXPECT_EQ(ender.Wait(), 0);
            EXPECT_EQ(first.Wait(), 0);
        }
    }
}

// Every file of the program folder but the runtime folder, with its size.
std::vector<std::string> Contents(const Folder& f)
{
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::recursive_directory_iterator(f.dir.path())) {
        std::string rel = e.path().string().substr(f.dir.path().size());
        if (rel.rfind("/rt", 0) == 0)
            continue;
        out.push_back(rel + (e.is_regular_file() ? " " + std::to_string(e.file_size()) : ""));
    }
    std::sort(out.begin(), out.end());
    return out;
}

TEST(Program, ARequestForARecorderThatDoesNotRunEndsAtOnce)
{
    const struct {
        std::vector<std::string> args;
        int status;
        const char* out;
        const char* err;
    } cases[] = {
        {{"-exit"}, 1, "", "VXKST-HD is not running\n"},
        {{"-stop_rec"}, 1, "", "VXKST-HD is not running\n"},
        {{"-stop_rec", "-exit"}, 1, "", "VXKST-HD is not running\n"},
        {{"--help"}, 0, "-stop_rec", ""},
        {{"--bogus"}, 2, "", "unknown option \"--bogus\""},
        {{"-start_rec", "-h"}, 0, "Usage: VXKST-HD", ""},
    };
    vxtest::TempDir outputs;
    for (const auto& c : cases) {
        std::string what = c.args[0] + (c.args.size() > 1 ? " " + c.args[1] : "");
        SCOPED_TRACE(what);
        Folder f;
        const std::vector<std::string> before = Contents(f);
        const std::string output = outputs.file("run");
        Instance run(f, c.args, false, {}, output);
        const int status = run.Wait();
        ASSERT_TRUE(WIFEXITED(status)) << status;
        EXPECT_EQ(WEXITSTATUS(status), c.status);
        const std::string out = ReadFile(output + ".out"), err = ReadFile(output + ".err");
        if (*c.out) {
            EXPECT_NE(out.find(c.out), std::string::npos) << out;
        } else {
            EXPECT_EQ(out.find("Usage"), std::string::npos) << out;
        }
        if (*c.err) {
            EXPECT_NE(err.find(c.err), std::string::npos) << err;
        }
        if (c.status == 2) {
            EXPECT_NE(err.find("Usage: VXKST-HD"), std::string::npos) << err;
        }
        EXPECT_EQ(Contents(f), before) << "nothing is written";
    }
    // "-start_rec" and no option start the recorder.
    for (const std::vector<std::string>& args : {std::vector<std::string>{"-start_rec"}, std::vector<std::string>{}}) {
        Folder f;
        Instance first(f, args);
        ASSERT_TRUE(Started(f));
        Instance ender(f, {"-exit"});
        EXPECT_EQ(ender.Wait(), 0);
        EXPECT_EQ(first.Wait(), 0);
    }
}

TEST(Program, AnUnreadableLegacyFileIsReportedAndLeftAlone)
{
    Folder f;
    std::string bytes(8192, '\x5a');
    std::ofstream(f.dir.file("VXKST.dat"), std::ios::binary) << bytes;
    Instance first(f, {});
    ASSERT_TRUE(Started(f));
    std::string log = f.Log();
    EXPECT_NE(log.find("ERROR:"), std::string::npos);
    EXPECT_NE(log.find("cannot be read"), std::string::npos) << log;
    EXPECT_EQ(ReadFile(f.dir.file("VXKST.dat")), bytes);
    Instance ender(f, {"-exit"});
    EXPECT_EQ(first.Wait(), 0);
}

TEST(Program, ARuntimeFolderOpenToOthersStopsTheStartInsteadOfAllowingTwoRecorders)
{
    // Without its instance lock a second recorder could not find the first:
    // the program says why and ends, and so does an "-exit" sent there.
    Folder f;
    ASSERT_EQ(chmod(f.dir.file("rt").c_str(), 0755), 0);
    for (const std::vector<std::string>& args : {std::vector<std::string>{}, std::vector<std::string>{"-exit"}}) {
        Instance run(f, args);
        const int status = run.Wait();
        ASSERT_TRUE(WIFEXITED(status)) << status;
        EXPECT_EQ(WEXITSTATUS(status), 1);
    }
    EXPECT_FALSE(std::filesystem::exists(f.dir.file("VXKST.sqlite")));
    EXPECT_EQ(f.Log().find("CMainDlg::OnInitDialog"), std::string::npos);
}

TEST(Program, StartsWithoutADisplay)
{
    Folder f;
    Instance first(f, {}, true);
    ASSERT_TRUE(Started(f));
    Instance ender(f, {"-exit"}, true);
    EXPECT_EQ(ender.Wait(), 0);
    EXPECT_EQ(first.Wait(), 0);
}

TEST(Program, LogLevels)
{
    {
        Folder f(0);
        Instance first(f, {});
        ASSERT_TRUE(WaitUntil([&] { return access(f.dir.file("VXKST.sqlite").c_str(), F_OK) == 0; }));
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        Instance ender(f, {"-exit"});
        EXPECT_EQ(first.Wait(), 0);
        EXPECT_NE(access(f.dir.file("vxkst.log").c_str(), F_OK), 0) << "level 0 writes no log";
    }
    for (int level : {3, 4}) {
        Folder f(level);
        std::ofstream(f.dir.file("vxkst.log")) << "an older run\n";
        Instance first(f, {});
        ASSERT_TRUE(WaitUntil([&] { return access(f.dir.file("VXKST.sqlite").c_str(), F_OK) == 0; }));
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        Instance ender(f, {"-exit"});
        EXPECT_EQ(first.Wait(), 0);
        std::string log = f.Log();
        EXPECT_EQ(log.find("an older run"), std::string::npos) << "emptied at start";
        if (level == 3) {
            EXPECT_EQ(log.find("log level"), std::string::npos);
        } else {
            std::string firstLine = log.substr(0, log.find('\n'));
            EXPECT_NE(firstLine.find("log level 4, pre-record 5000"), std::string::npos) << firstLine;
        }
    }
}

TEST(Program, ACrashIsOfferedAtTheNextStart)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer owns the signals";
#else
    Folder f;
    {
        Instance first(f, {});
        ASSERT_TRUE(Started(f));
        kill(first.pid(), SIGSEGV);
        int status = first.Wait();
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(WTERMSIG(status), SIGSEGV);
    }
    EXPECT_EQ(access(f.dir.file("VXKST.dmp").c_str(), F_OK), -1);
    EXPECT_EQ(access(f.dir.file("VXKST.crash").c_str(), F_OK), 0);
    unlink(f.dir.file("vxkst.log").c_str());
    // Offscreen nobody answers: the question's default, Yes, keeps it. The
    // window asks once it runs.
    Instance next(f, {});
    ASSERT_TRUE(Started(f));
    ASSERT_TRUE(WaitUntil([&] { return access(f.dir.file("VXKST.dmp").c_str(), F_OK) == 0; }));
    std::string dump = ReadFile(f.dir.file("VXKST.dmp"));
    EXPECT_EQ(dump.rfind("signal 11\n", 0), 0u);
    EXPECT_NE(dump.find("\nbacktrace\n"), std::string::npos);
    EXPECT_NE(dump.find("\nmaps\n"), std::string::npos);
    EXPECT_NE(access(f.dir.file("VXKST.crash").c_str(), F_OK), 0);
    Instance ender(f, {"-exit"});
    EXPECT_EQ(next.Wait(), 0);
#endif
}

}  // namespace
