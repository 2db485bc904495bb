#include "platform/kernel/crash_report.h"

#include <cerrno>
#include <execinfo.h>
#include <fcntl.h>
#include <signal.h>
#include <ucontext.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VX_CRASH_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define VX_CRASH_SANITIZED 1
#endif
#endif

namespace vxk {

namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr size_t kPathMax = 4096;

// Everything the handler needs is prepared before a crash: no allocation,
// no locale, no stdio inside it.
char g_pending[kPathMax];
char g_temp[kPathMax];
bool g_installed = false;

void WriteAll(int fd, const char* s, size_t n)
{
    while (n > 0) {
        ssize_t w = write(fd, s, n);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        s += w;
        n -= static_cast<size_t>(w);
    }
}

void WriteText(int fd, const char* s)
{
    WriteAll(fd, s, strlen(s));
}

void WriteHex(int fd, uint64_t v)
{
    char buf[19];
    buf[0] = '0';
    buf[1] = 'x';
    char digits[16];
    int n = 0;
    do {
        digits[n++] = "0123456789abcdef"[v & 15];
        v >>= 4;
    } while (v && n < 16);
    for (int i = 0; i < n; ++i)
        buf[2 + i] = digits[n - 1 - i];
    WriteAll(fd, buf, static_cast<size_t>(2 + n));
}

void WriteDec(int fd, int v)
{
    char buf[12];
    int n = 0;
    unsigned u = v < 0 ? static_cast<unsigned>(-v) : static_cast<unsigned>(v);
    do {
        buf[sizeof buf - 1 - n++] = static_cast<char>('0' + u % 10);
        u /= 10;
    } while (u && n < 11);
    if (v < 0)
        WriteText(fd, "-");
    WriteAll(fd, buf + sizeof buf - n, static_cast<size_t>(n));
}

uint64_t InstructionAddress(void* context, siginfo_t* info)
{
    auto* uc = static_cast<ucontext_t*>(context);
#if defined(__x86_64__)
    if (uc)
        return static_cast<uint64_t>(uc->uc_mcontext.gregs[REG_RIP]);
#elif defined(__aarch64__)
    if (uc)
        return static_cast<uint64_t>(uc->uc_mcontext.pc);
#elif defined(__i386__)
    if (uc)
        return static_cast<uint64_t>(uc->uc_mcontext.gregs[REG_EIP]);
#else
    (void)uc;
#endif
    return reinterpret_cast<uint64_t>(info ? info->si_addr : nullptr);
}

[[maybe_unused]] void Handler(int sig, siginfo_t* info, void* context)
{
    int fd = open(g_temp, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd >= 0) {
        WriteText(fd, "signal ");
        WriteDec(fd, sig);
        WriteText(fd, "\naddress ");
        WriteHex(fd, InstructionAddress(context, info));
        WriteText(fd, "\nfault ");
        WriteHex(fd, reinterpret_cast<uint64_t>(info ? info->si_addr : nullptr));
        WriteText(fd, "\nbacktrace\n");
        void* frames[64];
        int n = backtrace(frames, 64);
        for (int i = 0; i < n; ++i) {
            WriteHex(fd, reinterpret_cast<uint64_t>(frames[i]));
            WriteText(fd, "\n");
        }
        backtrace_symbols_fd(frames, n, fd);
        WriteText(fd, "maps\n");
        int maps = open("/proc/self/maps", O_RDONLY | O_CLOEXEC);
        if (maps >= 0) {
            char buf[4096];
            for (;;) {
                ssize_t r = read(maps, buf, sizeof buf);
                if (r < 0 && errno == EINTR)
                    continue;
                if (r <= 0)
                    break;
                WriteAll(fd, buf, static_cast<size_t>(r));
            }
            close(maps);
        }
        fsync(fd);
        close(fd);
        rename(g_temp, g_pending);
    }
    // End as the signal would have: the default action, raised again.
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    sigaction(sig, &dfl, nullptr);
    raise(sig);
}

}  // namespace

bool InstallCrashHandler(const std::string& pendingPath)
{
#ifdef VX_CRASH_SANITIZED
    (void)pendingPath;
    return false;
#else
    if (pendingPath.empty() || pendingPath.size() + 5 >= kPathMax)
        return false;
    std::memcpy(g_pending, pendingPath.c_str(), pendingPath.size() + 1);
    std::snprintf(g_temp, sizeof g_temp, "%s.tmp", pendingPath.c_str());
    // The first back trace loads the unwinder, which may allocate: do it now.
    void* warm[2];
    backtrace(warm, 2);
    static char* altStack = nullptr;
    if (!altStack) {
        size_t size = 64 * 1024;
        altStack = static_cast<char*>(std::malloc(size));
        if (altStack) {
            stack_t ss{};
            ss.ss_sp = altStack;
            ss.ss_size = size;
            sigaltstack(&ss, nullptr);
        }
    }
    struct sigaction sa {};
    sa.sa_sigaction = Handler;
    sa.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESETHAND;
    sigemptyset(&sa.sa_mask);
    for (int s : kSignals)
        sigaction(s, &sa, nullptr);
    g_installed = true;
    return true;
#endif
}

std::string CrashReportPath()
{
    return g_installed ? std::string(g_pending) : std::string();
}

bool ReadCrashReport(const std::string& path, CrashReport& out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::stringstream ss;
    ss << in.rdbuf();
    out = CrashReport{};
    out.text = ss.str();
    std::istringstream lines(out.text);
    std::string line;
    if (!std::getline(lines, line) || std::sscanf(line.c_str(), "signal %d", &out.signal) != 1)
        return false;
    if (!std::getline(lines, line) || std::sscanf(line.c_str(), "address %" SCNx64, &out.address) != 1)
        return false;
    enum { Head, Frames, Symbols, Maps } part = Head;
    while (std::getline(lines, line)) {
        if (part == Head) {
            if (line == "backtrace")
                part = Frames;
        } else if (part == Frames || part == Symbols) {
            uint64_t a = 0;
            if (line == "maps")
                part = Maps;
            else if (part == Frames && line.rfind("0x", 0) == 0 && std::sscanf(line.c_str(), "%" SCNx64, &a) == 1)
                out.frames.push_back(a);
            else
                part = Symbols;
        } else {
            // "start-end perms offset dev inode   path"
            uint64_t lo = 0, hi = 0;
            if (std::sscanf(line.c_str(), "%" SCNx64 "-%" SCNx64, &lo, &hi) != 2)
                continue;
            if (out.address >= lo && out.address < hi) {
                size_t slash = line.find('/');
                size_t bracket = line.find('[');
                size_t at = slash != std::string::npos ? slash : bracket;
                if (at != std::string::npos)
                    out.module = line.substr(at);
            }
        }
    }
    return true;
}

}  // namespace vxk
