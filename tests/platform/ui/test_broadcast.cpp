// Registered messages broadcast by a second program of the same user reach
// this program's top-level windows; sockets of programs that are gone are
// cleared away; unknown datagrams are dropped.
#include "support/TempDir.h"
#include "ui_test_env.h"

#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

extern char** environ;

namespace {

constexpr const char* kName = "vx-test-broadcast-show";
std::string g_dir;

class ReceiverWnd : public CWnd {
public:
    int received = 0;
    WPARAM lastW = 0;

protected:
    LRESULT OnShow(WPARAM w, LPARAM)
    {
        ++received;
        lastW = w;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

UINT g_show = RegisterWindowMessage(kName);

BEGIN_MESSAGE_MAP(ReceiverWnd, CWnd)
ON_REGISTERED_MESSAGE(g_show, OnShow)
END_MESSAGE_MAP()

int RunSecondStart(const char* name)
{
    // A second program registers other names first: ids differ, names match.
    RegisterWindowMessage("something-else-first");
    UINT msg = RegisterWindowMessage(name);
    DWORD recipients = BSM_APPLICATIONS;
    return BroadcastSystemMessage(BSF_POSTMESSAGE, &recipients, msg, 5, 0) > 0 ? 0 : 1;
}

void Datagram(const std::string& path, const std::string& text)
{
    int fd = socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path.c_str(), sizeof(addr.sun_path) - 1);
    sendto(fd, text.data(), text.size(), 0, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    close(fd);
}

TEST(Broadcast, ASecondProgramReachesTheTopLevelWindowsByName)
{
    ReceiverWnd w;
    ASSERT_TRUE(w.CreateEx(0, "VxReceiver", "r", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));

    // A socket left behind by a program that crashed.
    std::string stale = g_dir + "/w-999999.sock";
    {
        int fd = socket(AF_UNIX, SOCK_DGRAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::strncpy(addr.sun_path, stale.c_str(), sizeof(addr.sun_path) - 1);
        ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
        close(fd);
    }

    std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    std::string arg1 = "--second-start";
    std::string arg2 = kName;
    char* argv[] = {self.data(), arg1.data(), arg2.data(), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, self.c_str(), nullptr, nullptr, argv, environ), 0);
    int status = 0;
    ASSERT_TRUE(WaitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; }, 20000));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(WaitFor([&] { return w.received == 1; }));
    EXPECT_EQ(w.lastW, 5u);
    EXPECT_FALSE(std::filesystem::exists(stale));

    // Malformed or unregistered datagrams change nothing.
    std::string own = g_dir + "/w-" + std::to_string(getpid()) + ".sock";
    ASSERT_TRUE(std::filesystem::exists(own));
    Datagram(own, "garbage");
    Datagram(own, "VXBC1");
    Datagram(own, std::string(600, 'A'));
    Datagram(own, std::string("VXBC1 ") + kName + " 9 0\n");
    ASSERT_TRUE(WaitFor([&] { return w.received == 2; }));
    EXPECT_EQ(w.lastW, 9u);
    WaitFor([] { return false; }, 100);
    EXPECT_EQ(w.received, 2);
}

TEST(Broadcast, OnlyRegisteredMessagesAreBroadcast)
{
    DWORD recipients = BSM_APPLICATIONS;
    EXPECT_EQ(BroadcastSystemMessage(BSF_POSTMESSAGE, &recipients, WM_CLOSE, 0, 0), -1);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--second-start") == 0)
        return RunSecondStart(argv[2]);
    vxtest::TempDir dir("vx-ui-broadcast");
    if (!dir.ok())
        return 2;
    g_dir = dir.path();
    setenv("VX_RUNTIME_DIR", dir.path().c_str(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new UiEnvironment());
    return RUN_ALL_TESTS();
}
