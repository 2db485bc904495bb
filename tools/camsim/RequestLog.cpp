#include "tools/camsim/RequestLog.h"

#include <cerrno>
#include <cstring>

namespace camsim {

RequestLog::~RequestLog()
{
    if (file_)
        fclose(file_);
}

bool RequestLog::open(const std::string& path, std::string& error)
{
    file_ = fopen(path.c_str(), "ae");
    if (!file_) {
        error = "cannot open log " + path + ": " + strerror(errno);
        return false;
    }
    return true;
}

void RequestLog::write(const std::string& method, const std::string& target, const std::string& auth,
                       const std::string& status)
{
    std::lock_guard lock(mutex_);
    if (!file_)
        return;
    // The target comes from the request line, which holds no blank, CR or LF.
    fprintf(file_, "%s %s %s %s\n", method.c_str(), target.c_str(), auth.c_str(), status.c_str());
    fflush(file_);
}

}  // namespace camsim
