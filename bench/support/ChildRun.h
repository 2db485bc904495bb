#pragma once
// Running one side of a benchmark in a child process, so that its CPU time
// and peak memory are its own: start this program again in a child role,
// read what it writes, and take its rusage when it ends.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

namespace vxbench {

struct Usage {
    double cpuSeconds = 0;  // user + system
    long maxRssKb = 0;      // peak resident size
    int status = -1;        // exit code, 128 + signal, or -1 when not waited for
};

// Waits for the child and returns what it used.
inline Usage waitChild(pid_t pid)
{
    Usage u;
    rusage ru{};
    int status = 0;
    if (pid <= 0 || wait4(pid, &status, 0, &ru) != pid)
        return u;
    u.cpuSeconds = static_cast<double>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec)
                   + static_cast<double>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
    u.maxRssKb = ru.ru_maxrss;
    u.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return u;
}

// This program again with args; the child's fd 3 is outFd (-1: none).
inline pid_t spawnSelf(const std::vector<std::string>& args, int outFd)
{
    // By its own path, not /proc/self/exe, so that the child carries the
    // program's name and a profiler can pick it out.
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    std::vector<std::string> argv = {self};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargv;
    for (auto& a : argv)
        cargv.push_back(const_cast<char*>(a.c_str()));
    cargv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        if (outFd >= 0 && dup2(outFd, 3) < 0)
            _exit(126);
        execv(self.c_str(), cargv.data());
        _exit(127);
    }
    return pid;
}

// A child that reports on its fd 3: its pid, and the read end of that pipe
// (for readAll); pid -1 when no pipe could be made.
struct Reporter {
    pid_t pid = -1;
    int fd = -1;
};

inline Reporter spawnSelfReporting(const std::vector<std::string>& args)
{
    int pipefd[2];
    if (pipe2(pipefd, O_CLOEXEC) != 0)
        return {};
    const pid_t pid = spawnSelf(args, pipefd[1]);
    close(pipefd[1]);
    return {pid, pipefd[0]};
}

// Everything the other end writes until it closes; closes fd.
inline std::string readAll(int fd)
{
    std::string text;
    char buf[4096];
    ssize_t n;
    while ((n = read(fd, buf, sizeof buf)) > 0)
        text.append(buf, static_cast<size_t>(n));
    close(fd);
    return text;
}

}  // namespace vxbench
