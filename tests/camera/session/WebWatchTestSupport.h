#pragma once
// Shared pieces of the camera object's end-to-end tests: one GUI thread
// (offscreen), the library started once, a log capture, a parent window that
// records the camera messages it receives, and ffprobe.

#include "camera/session/CWebWatchNB.h"
#include "camera/session/CameraMessages.h"
#include "platform/platform.h"
#include "utility/vx_log.h"

#include "support/CamsimProcess.h"
#include "support/CamsimRecord.h"
#include "support/RunCommand.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace wwtest {

// Every log line since the last Clear, for tests that read them.
class LogCapture {
public:
    static LogCapture& Get()
    {
        static LogCapture capture;
        return capture;
    }
    void Install()
    {
        vx_log_set_level(VX_LOG_TRACE);
        vx_log_set_log_func(&LogCapture::Sink);
    }
    void Clear()
    {
        std::lock_guard lock(m_mutex);
        m_lines.clear();
    }
    std::vector<std::string> Lines()
    {
        std::lock_guard lock(m_mutex);
        return m_lines;
    }
    bool Contains(const std::string& text)
    {
        for (const auto& l : Lines()) {
            if (l.find(text) != std::string::npos)
                return true;
        }
        return false;
    }

private:
    static void Sink(int, const char* line, int length)
    {
        std::lock_guard lock(Get().m_mutex);
        if (Get().m_lines.size() < 200000)
            Get().m_lines.emplace_back(line, static_cast<size_t>(length));
    }
    std::mutex m_mutex;
    std::vector<std::string> m_lines;
};

class Environment : public ::testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_TRUE(vxw::InitGuiThread());
        LogCapture::Get().Install();
        ASSERT_EQ(CWebWatchBase::InitLib(), 1);
    }
    void TearDown() override
    {
        CWebWatchBase::DeinitLib();
        vxw::ShutdownGuiThread();
    }
};

// Runs the GUI thread's loop until cond holds, at most ms.
inline bool WaitFor(const std::function<bool()>& cond, DWORD ms = 10000)
{
    return vxw::PumpUntil(cond, ms);
}

struct Message {
    UINT code;
    WPARAM wParam;
    LPARAM lParam;
};

// A top-level window that keeps every camera message it receives.
class ParentWindow : public CWnd {
public:
    ParentWindow() { CreateEx(0, "VxTestParent", "parent", WS_POPUP, 0, 0, 320, 240, nullptr, nullptr); }
    ~ParentWindow() override
    {
        if (::IsWindow(m_hWnd))
            DestroyWindow();
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_USER && message < WM_USER + 100) {
            m_messages.push_back({message, wParam, lParam});
            if (message == UM_VX_GET_DOWNLOAD_PATH && lParam)
                memset(reinterpret_cast<char*>(lParam), 'd', 260);  // fills the whole buffer
            if (message == UM_VX_SET_DOWNLOAD_PATH && lParam)
                m_downloadPath = reinterpret_cast<const char*>(lParam);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    int Count(UINT code) const
    {
        int n = 0;
        for (const auto& m : m_messages)
            n += m.code == code;
        return n;
    }
    std::vector<Message> Of(UINT code) const
    {
        std::vector<Message> out;
        for (const auto& m : m_messages) {
            if (m.code == code)
                out.push_back(m);
        }
        return out;
    }
    std::vector<Message> m_messages;
    std::string m_downloadPath;
};

using vxtest::runCommand;

// "codec,width,height" of the first video stream and the number of decoded
// video frames; empty when ffprobe cannot read the file.
inline std::string ProbeVideo(const std::string& path)
{
    return runCommand("ffprobe -v error -select_streams v:0 -count_frames -show_entries "
                      "stream=codec_name,width,height,nb_read_frames -of csv=p=0 '"
                      + path + "' 2>/dev/null");
}

// The folders TempDir made, removed with everything in them when the test
// program ends (the camera objects and their threads are gone by then).
struct MadeFolders {
    std::mutex mutex;
    std::vector<std::string> dirs;
    ~MadeFolders()
    {
        for (const std::string& dir : dirs) {
            std::error_code ec;
            std::filesystem::remove_all(dir, ec);
        }
    }
};

inline std::string TempDir(const std::string& name)
{
    static MadeFolders made;
    std::string dir = std::string(::testing::TempDir()) + "webwatch_" + name + "_" + std::to_string(getpid());
    runCommand("rm -rf '" + dir + "'");
    mkdir(dir.c_str(), 0755);
    std::lock_guard lock(made.mutex);
    made.dirs.push_back(dir);
    return dir;
}

inline std::vector<std::string> FilesIn(const std::string& dir, const std::string& suffix = "")
{
    std::vector<std::string> files;
    std::string out = runCommand("ls -1 '" + dir + "' 2>/dev/null");
    size_t pos = 0;
    while (pos < out.size()) {
        size_t nl = out.find('\n', pos);
        std::string name = out.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
        if (!name.empty()
            && (suffix.empty()
                || (name.size() >= suffix.size()
                    && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)))
            files.push_back(name);
        if (nl == std::string::npos)
            break;
        pos = nl + 1;
    }
    return files;
}

using vxtest::CamsimRecord;

}  // namespace wwtest

#define WEBWATCH_TEST_MAIN()                                                                                           \
    int main(int argc, char** argv)                                                                                    \
    {                                                                                                                  \
        ::testing::InitGoogleTest(&argc, argv);                                                                        \
        ::testing::AddGlobalTestEnvironment(new wwtest::Environment());                                                \
        return RUN_ALL_TESTS();                                                                                        \
    }
