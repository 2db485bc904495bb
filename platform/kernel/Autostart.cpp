#include "platform/kernel/Autostart_p.h"

#include "platform/kernel/AtomicFile_p.h"
#include "platform/kernel/errors.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <pwd.h>
#include <strings.h>
#include <unistd.h>

namespace vxk {
namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string Trim(const std::string& s)
{
    size_t b = 0, e = s.size();
    while (b < e && IsSpace(s[b]))
        ++b;
    while (e > b && IsSpace(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

std::string FileNameFor(const std::string& name)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (size_t i = 0; i < name.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        bool safe = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_'
                    || (c == '.' && i > 0);
        if (safe) {
            out += char(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out + ".desktop";
}

std::string AutostartFolder()
{
    std::string home = ConfigHome();
    return home.empty() ? home : home + "/autostart";
}

// The entry's file: the exact name, else one that differs only in ASCII
// case (value names ignore case, file names do not). Empty when none.
std::string FindEntry(const std::string& folder, const std::string& file)
{
    if (access((folder + "/" + file).c_str(), F_OK) == 0)
        return folder + "/" + file;
    DIR* d = opendir(folder.c_str());
    if (!d)
        return std::string();
    std::string found;
    while (struct dirent* e = readdir(d))
        if (strcasecmp(e->d_name, file.c_str()) == 0) {
            found = folder + "/" + e->d_name;
            break;
        }
    closedir(d);
    return found;
}

// Splits the arguments of a command line by the usual rules: white space
// separates, double quotes group, 2n backslashes before a quote give n and
// the quote acts, 2n+1 give n and a literal quote.
void SplitArguments(const std::string& s, size_t i, std::vector<std::string>& out)
{
    while (i < s.size()) {
        while (i < s.size() && IsSpace(s[i]))
            ++i;
        if (i >= s.size())
            break;
        std::string arg;
        bool quoted = false;
        while (i < s.size() && (quoted || !IsSpace(s[i]))) {
            if (s[i] == '\\') {
                size_t n = 0;
                while (i < s.size() && s[i] == '\\') {
                    ++n;
                    ++i;
                }
                if (i < s.size() && s[i] == '"') {
                    arg.append(n / 2, '\\');
                    if (n % 2) {
                        arg += '"';
                        ++i;
                    }
                } else {
                    arg.append(n, '\\');
                }
            } else if (s[i] == '"') {
                quoted = !quoted;
                ++i;
            } else {
                arg += s[i++];
            }
        }
        out.push_back(arg);
    }
}

// The inverse of SplitArguments, for entries written by somebody else.
std::string JoinArguments(const std::vector<std::string>& args)
{
    std::string out;
    for (const std::string& a : args) {
        if (!out.empty())
            out += ' ';
        if (!a.empty() && a.find_first_of(" \t\"") == std::string::npos) {
            out += a;
            continue;
        }
        out += '"';
        size_t backslashes = 0;
        for (char c : a) {
            if (c == '\\') {
                ++backslashes;
                continue;
            }
            out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
            backslashes = 0;
            out += c;
        }
        out.append(backslashes * 2, '\\');
        out += '"';
    }
    return out;
}

// Splits an Exec value (already unescaped) by the desktop entry rules.
std::vector<std::string> SplitExec(const std::string& exec)
{
    std::vector<std::string> args;
    size_t i = 0;
    while (i < exec.size()) {
        while (i < exec.size() && IsSpace(exec[i]))
            ++i;
        if (i >= exec.size())
            break;
        std::string arg;
        bool fieldCodeOnly = false;
        while (i < exec.size() && !IsSpace(exec[i])) {
            if (exec[i] == '"') {
                for (++i; i < exec.size() && exec[i] != '"'; ++i) {
                    if (exec[i] == '\\' && i + 1 < exec.size())
                        ++i;
                    arg += exec[i];
                }
                ++i;
            } else if (exec[i] == '%' && i + 1 < exec.size()) {
                if (exec[i + 1] == '%')
                    arg += '%';
                else
                    fieldCodeOnly = arg.empty();  // %f, %u, ... stand for files: none here
                i += 2;
            } else {
                arg += exec[i++];
            }
        }
        if (!(fieldCodeOnly && arg.empty()))
            args.push_back(arg);
    }
    return args;
}

}  // namespace

std::string ConfigHome()
{
    const char* xdg = getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg == '/')
        return xdg;
    const char* home = getenv("HOME");
    if (!home || *home != '/') {
        struct passwd* pw = getpwuid(getuid());
        home = pw ? pw->pw_dir : nullptr;
    }
    return home && *home == '/' ? std::string(home) + "/.config" : std::string();
}

std::vector<std::string> SplitRunCommand(const std::string& command)
{
    std::string s = Trim(command);
    std::vector<std::string> args;
    if (s.empty())
        return args;
    size_t rest;
    if (s[0] == '"') {
        size_t close = s.find('"', 1);
        args.push_back(s.substr(1, close == std::string::npos ? std::string::npos : close - 1));
        rest = close == std::string::npos ? s.size() : close + 1;
    } else if (access(s.c_str(), F_OK) == 0) {
        args.push_back(s);
        rest = s.size();
    } else {
        size_t space = 0;
        while (space < s.size() && !IsSpace(s[space]))
            ++space;
        args.push_back(s.substr(0, space));
        rest = space;
    }
    SplitArguments(s, rest, args);
    return args;
}

std::string DesktopExecLine(const std::vector<std::string>& args)
{
    static const char reserved[] = " \t\n\"'\\><~|&;$*?#()`";
    std::string out;
    for (const std::string& a : args) {
        if (!out.empty())
            out += ' ';
        bool quote = a.empty() || a.find_first_of(reserved) != std::string::npos;
        if (quote)
            out += '"';
        for (char c : a) {
            if (c == '%') {
                out += "%%";
                continue;
            }
            if (quote && (c == '"' || c == '`' || c == '$' || c == '\\'))
                out += '\\';
            out += c;
        }
        if (quote)
            out += '"';
    }
    return out;
}

std::string DesktopEscape(const std::string& value)
{
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        char c = value[i];
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case ' ':
            out += i == 0 ? "\\s" : " ";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string DesktopUnescape(const std::string& value)
{
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        char c = value[++i];
        out += c == 's' ? ' ' : c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
    }
    return out;
}

long WriteAutostart(const std::string& name, const std::string& command)
{
    std::vector<std::string> args = SplitRunCommand(command);
    if (name.empty() || args.empty() || args[0].empty())
        return ERROR_INVALID_PARAMETER;
    std::string folder = AutostartFolder();
    if (folder.empty() || MakeFolders(folder) != 0)
        return ERROR_CANTWRITE;
    std::string existing = FindEntry(folder, FileNameFor(name));
    std::string path = existing.empty() ? folder + "/" + FileNameFor(name) : existing;
    std::string text = "[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name="
                       + DesktopEscape(name)
                       + "\n"
                         "Exec="
                       + DesktopEscape(DesktopExecLine(args))
                       + "\n"
                         "X-GNOME-Autostart-enabled=true\n"
                         "X-VX-Run-Command="
                       + DesktopEscape(command) + "\n";
    return WriteFileAtomically(path, text) == 0 ? ERROR_SUCCESS : ERROR_CANTWRITE;
}

long ReadAutostart(const std::string& name, std::string& command)
{
    std::string folder = AutostartFolder();
    std::string path = folder.empty() ? folder : FindEntry(folder, FileNameFor(name));
    std::string text;
    if (path.empty() || ReadWholeFile(path, text) != 0)
        return ERROR_FILE_NOT_FOUND;
    bool inEntry = false, hidden = false, haveOurs = false;
    std::string exec, ours;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        std::string line = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        pos = end == std::string::npos ? text.size() : end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] == '[') {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        size_t eq = line.find('=');
        if (!inEntry || eq == std::string::npos)
            continue;
        std::string key = Trim(line.substr(0, eq)), value = Trim(line.substr(eq + 1));
        if (key == "Exec")
            exec = DesktopUnescape(value);
        else if (key == "X-VX-Run-Command") {
            ours = DesktopUnescape(value);
            haveOurs = true;
        } else if (key == "Hidden")
            hidden = value == "true";
    }
    if (hidden || (!haveOurs && exec.empty()))
        return ERROR_FILE_NOT_FOUND;  // a hidden entry counts as removed
    command = haveOurs ? ours : JoinArguments(SplitExec(exec));
    return ERROR_SUCCESS;
}

long DeleteAutostart(const std::string& name)
{
    std::string folder = AutostartFolder();
    std::string path = folder.empty() ? folder : FindEntry(folder, FileNameFor(name));
    if (path.empty())
        return ERROR_FILE_NOT_FOUND;
    if (unlink(path.c_str()) != 0)
        return errno == ENOENT ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED;
    return ERROR_SUCCESS;
}

}  // namespace vxk
