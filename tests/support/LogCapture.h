#pragma once
// Keeps every vx_log line, from whichever thread wrote it, at trace level
// while it lives (for tests that check what reaches the log, such as no
// password). One at a time; lines are kept in static storage so a worker
// still inside the sink when the capture ends writes to nothing freed.
// Takes its own mutex only, around the lines.

#include "utility/vx_log.h"

#include <mutex>
#include <string>
#include <vector>

class LogCapture {
public:
    LogCapture() : m_level(vx_log_get_level())
    {
        Clear();
        m_previous = vx_log_set_log_func(&LogCapture::Sink);
        vx_log_set_level(VX_LOG_TRACE);
    }
    ~LogCapture()
    {
        vx_log_set_log_func(m_previous);
        vx_log_set_level(m_level);
        Clear();
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<std::string> Lines() const
    {
        std::lock_guard lock(s_mutex);
        return s_lines;
    }
    // The lines, each ended by a newline.
    std::string Text() const
    {
        std::string text;
        for (const std::string& line : Lines())
            text.append(line).append("\n");
        return text;
    }

private:
    static void Clear()
    {
        std::lock_guard lock(s_mutex);
        s_lines.clear();
    }
    static void Sink(int, const char* line, int length)
    {
        std::lock_guard lock(s_mutex);
        s_lines.emplace_back(line, static_cast<size_t>(length));
    }
    static inline std::mutex s_mutex;
    static inline std::vector<std::string> s_lines;
    int m_level;
    vx_log_func m_previous = nullptr;
};
