#pragma once
// The request log: one line per camera request, "METHOD TARGET AUTH STATUS",
// written and flushed before the reply goes out, so a client that has its
// reply finds the line. Safe from any thread.

#include <cstdio>
#include <mutex>
#include <string>

namespace camsim {

class RequestLog {
public:
    ~RequestLog();
    bool open(const std::string& path, std::string& error);
    void write(const std::string& method, const std::string& target, const std::string& auth,
               const std::string& status);

private:
    std::mutex mutex_;  // guards file_
    FILE* file_ = nullptr;
};

}  // namespace camsim
