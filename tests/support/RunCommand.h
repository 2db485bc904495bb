#pragma once
// Runs a shell command (ffmpeg, ffprobe, ...) and returns what it wrote to
// its standard output; empty when it could not start.

#include <cstdio>
#include <string>

namespace vxtest {

inline std::string runCommand(const std::string& cmd)
{
    std::string out;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p)
        return out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    pclose(p);
    return out;
}

}  // namespace vxtest
