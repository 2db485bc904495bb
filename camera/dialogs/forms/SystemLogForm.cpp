#include "camera/dialogs/forms/SystemLogForm.h"

#include <algorithm>

namespace syslog_form {

const char* const kSyncPath = "/cgi-bin/hi3510/logsync.cgi";
const char* const kFilePath = "/log/syslog.txt";
const char* const kResetPath = "/cgi-bin/hi3510/param.cgi?cmd=cleanlog&-name=sys";

bool SyncSucceeded(const CString& reply)
{
    return reply.Find("[Succeed]get ok") >= 0;
}

bool ResetSucceeded(const CString& reply)
{
    return reply.Find("[Succeed]set ok") >= 0;
}

std::vector<std::string> SplitLog(const CString& text)
{
    std::string s = text.GetString();
    size_t blank = s.find("\r\n\r\n");
    if (blank != std::string::npos)
        s = s.substr(blank + 4);
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < s.size()) {
        size_t nl = s.find('\n', at);
        std::string line = s.substr(at, nl == std::string::npos ? std::string::npos : nl - at);
        at = nl == std::string::npos ? s.size() : nl + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.find('[') != std::string::npos && line.find(']') != std::string::npos)
            lines.push_back(std::move(line));
    }
    return lines;
}

std::string CellText(const std::string& line, int row, int column)
{
    if (column == 0)
        return std::to_string(row + 1);
    size_t open = line.find('[');
    size_t close = line.find(']');
    if (open == std::string::npos || close == std::string::npos || close < open)
        return {};
    if (column == 1) {
        std::string time = line.substr(open + 1, close - open - 1);
        std::replace(time.begin(), time.end(), '_', '-');
        return time;
    }
    if (column == 2 && close + 2 < line.size())
        return line.substr(close + 2);
    return {};
}

}  // namespace syslog_form
