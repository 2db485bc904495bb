#include "recorder/LegacyReader.h"

#include "platform/kernel/program_folder.h"
#include "platform/platform.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <sstream>

extern char** environ;

namespace {

constexpr size_t kMaxOutput = 64u * 1024 * 1024;
constexpr int kTimeoutMs = 60000;

std::string Hex(const std::string& s)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(s.size() * 2);
    for (unsigned char c : s) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

bool Unhex(const std::string& s, std::string& out)
{
    if (s.size() % 2)
        return false;
    out.clear();
    auto nibble = [](char c) {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        return -1;
    };
    for (size_t i = 0; i < s.size(); i += 2) {
        int hi = nibble(s[i]), lo = nibble(s[i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        out += static_cast<char>(hi * 16 + lo);
    }
    return true;
}

class MdbChildReader : public ILegacyReader {
public:
    explicit MdbChildReader(std::string helper) : m_helper(std::move(helper)) {}

    bool Read(const std::string& path, LegacyTables& out, std::string& error) override
    {
        out = LegacyTables{};
        std::string text;
        if (!Run(path, text, error))
            return false;
        LegacyTables tables;
        if (!ParseLegacyRows(text, tables)) {
            error = "the reader's answer is malformed";
            return false;
        }
        out = std::move(tables);
        return true;
    }

private:
    bool Run(const std::string& path, std::string& text, std::string& error)
    {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) {
            error = "no pipe";
            return false;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        std::vector<char*> argv = {const_cast<char*>(m_helper.c_str()), const_cast<char*>(path.c_str()), nullptr};
        pid_t pid = -1;
        int rc = posix_spawn(&pid, m_helper.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        if (rc != 0) {
            close(fds[0]);
            error = "the reader " + m_helper + " cannot be started";
            return false;
        }
        bool tooMuch = false, timedOut = false;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kTimeoutMs);
        char buf[65536];
        for (;;) {
            auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                timedOut = true;
                break;
            }
            pollfd p{fds[0], POLLIN, 0};
            int r = poll(&p, 1, static_cast<int>(left.count()));
            if (r < 0 && errno == EINTR)
                continue;
            if (r <= 0) {
                timedOut = r == 0;
                break;
            }
            ssize_t n = read(fds[0], buf, sizeof buf);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            text.append(buf, static_cast<size_t>(n));
            if (text.size() > kMaxOutput) {
                tooMuch = true;
                break;
            }
        }
        close(fds[0]);
        if (timedOut || tooMuch)
            kill(pid, SIGKILL);
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
        if (timedOut || tooMuch) {
            error = timedOut ? "the reader did not finish" : "the reader's answer is too large";
            return false;
        }
        if (WIFSIGNALED(status)) {
            error = "the reader ended with signal " + std::to_string(WTERMSIG(status));
            return false;
        }
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            error = "the reader cannot read the file";
            return false;
        }
        return true;
    }

    std::string m_helper;
};

}  // namespace

std::string FormatLegacyRow(const std::string& table, const LegacyRow& row)
{
    std::string line = table;
    for (const auto& [column, value] : row)
        line += "\t" + column + "=" + Hex(value);
    return line + "\n";
}

bool ParseLegacyRows(const std::string& text, LegacyTables& out)
{
    LegacyTables tables;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string table, field;
        if (!std::getline(fields, table, '\t'))
            return false;
        std::vector<LegacyRow>* target = table == "TBL_CAMERA"         ? &tables.cameras
                                         : table == "TBL_CHANNEL_LIST" ? &tables.schedules
                                                                       : nullptr;
        if (!target)
            return false;
        LegacyRow row;
        while (std::getline(fields, field, '\t')) {
            size_t eq = field.find('=');
            std::string value;
            if (eq == std::string::npos || eq == 0 || !Unhex(field.substr(eq + 1), value))
                return false;
            row[field.substr(0, eq)] = value;
        }
        target->push_back(std::move(row));
    }
    out = std::move(tables);
    return true;
}

std::unique_ptr<ILegacyReader> MakeMdbReader(std::string helperPath)
{
    if (helperPath.empty()) {
        // Beside the real program file in a build folder, in the installed
        // helpers' folder otherwise; never in the program folder, which
        // holds only data.
        helperPath = vxk::HelperProgramsFolder() + "/vxkst-mdbread";
    }
    return std::make_unique<MdbChildReader>(std::move(helperPath));
}
