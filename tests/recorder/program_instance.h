#pragma once
// The real program in a test: a program folder and a runtime folder of its
// own, offscreen, and a run of the program in it that a test can wait for.

#include "support/FileBytes.h"
#include "support/TempDir.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <fcntl.h>

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace progtest {

inline const std::string kProgram = std::string(VX_BIN_DIR) + "/VXKST-HD";

using vxtest::ReadFile;
using vxtest::WaitUntil;

class Folder {
public:
    explicit Folder(int logLevel = 6)
    {
        mkdir(dir.file("config").c_str(), 0700);
        mkdir(dir.file("rt").c_str(), 0700);
        std::ofstream(dir.file("config/vxkstskin.ini"))
            << ReadFile(std::string(VX_SOURCE_DIR) + "/recorder/config/vxkstskin.ini");
        std::ofstream(dir.file("config/vxkstcfg.ini")) << "[Config]\nlog_level=" << logLevel << "\n";
    }
    std::string Log() const { return ReadFile(dir.file("vxkst.log")); }
    vxtest::TempDir dir;
};

// One run of the program in the folder.
class Instance {
public:
    // `noDisplay`: neither a display nor a platform is named, as for a
    // program started by a service.
    // `display`: the environment that names a display instead of offscreen
    // ("DISPLAY=:5", "QT_QPA_PLATFORM=xcb"). `output`: the standard output
    // and error go to `output`.out and `output`.err.
    Instance(const Folder& f, std::vector<std::string> args, bool noDisplay = false,
             const std::vector<std::string>& display = {}, const std::string& output = "")
    {
        std::vector<std::string> env = {"VX_PROGRAM_DIR=" + f.dir.path(), "VX_RUNTIME_DIR=" + f.dir.file("rt")};
        if (!display.empty())
            env.insert(env.end(), display.begin(), display.end());
        else if (!noDisplay)
            env.push_back("QT_QPA_PLATFORM=offscreen");
        for (char** e = environ; *e; ++e) {
            std::string v = *e;
            if (v.rfind("VX_PROGRAM_DIR=", 0) && v.rfind("VX_RUNTIME_DIR=", 0) && v.rfind("QT_QPA_PLATFORM=", 0)
                && v.rfind("DISPLAY=", 0) && v.rfind("WAYLAND_DISPLAY=", 0))
                env.push_back(v);
        }
        args.insert(args.begin(), kProgram);
        std::vector<char*> argv, envp;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        for (auto& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (!output.empty()) {
            posix_spawn_file_actions_addopen(&actions, 1, (output + ".out").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                             0600);
            posix_spawn_file_actions_addopen(&actions, 2, (output + ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                             0600);
        }
        if (posix_spawn(&m_pid, kProgram.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Instance()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    // The exit status, or -1 when it did not end in time.
    int Wait(double seconds = 20)
    {
        int status = 0;
        bool ended = WaitUntil([&] { return waitpid(m_pid, &status, WNOHANG) == m_pid; }, seconds);
        if (!ended)
            return -1;
        m_pid = -1;
        return status;
    }
    pid_t pid() const { return m_pid; }

private:
    pid_t m_pid = -1;
};

}  // namespace progtest
