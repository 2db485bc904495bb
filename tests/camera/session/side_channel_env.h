#pragma once
// What the side-channel tests share: a loopback address of their own for
// each simulated camera (fixed ports such as 8088 then never collide with
// another test's), the camera's state values, and a 440 Hz microphone.
// Used from the test's thread.

#include "platform/audio/AudioOutput.h"
#include "support/CamsimProcess.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <string>
#include <unistd.h>
#include <vector>

// 127.A.B.C with A.B from the process id and C counting: distinct among
// the test programs that run at the same time.
inline std::string UniqueLoopback()
{
    static std::atomic<int> next{1};
    const unsigned pid = static_cast<unsigned>(getpid());
    return "127." + std::to_string((pid >> 8) & 0xFF) + "." + std::to_string(pid & 0xFF) + "."
           + std::to_string(1 + (next++ % 250));
}

// The number after "key=" in camsim's state; -1 when missing.
inline long StateValue(const std::string& state, const std::string& key)
{
    size_t p = state.find(key + "=");
    if (p == std::string::npos || (p > 0 && state[p - 1] != '\n'))
        return -1;
    return std::strtol(state.c_str() + p + key.size() + 1, nullptr, 10);
}

inline std::string StateText(const std::string& state, const std::string& key)
{
    size_t p = state.find(key + "=");
    if (p == std::string::npos)
        return {};
    p += key.size() + 1;
    return state.substr(p, state.find('\n', p) - p);
}

// The microphone hears a 440 Hz tone for as long as this lives.
struct Tone440 {
    Tone440()
    {
        vx::AudioTestHooks::setInput([phase = 0.0](int16_t* buf, size_t frames, int rate, int channels) mutable {
            for (size_t i = 0; i < frames; ++i) {
                int16_t v = static_cast<int16_t>(12000 * std::sin(phase));
                phase += 2 * M_PI * 440.0 / rate;
                for (int c = 0; c < channels; ++c)
                    buf[i * channels + c] = v;
            }
        });
    }
    ~Tone440() { vx::AudioTestHooks::setInput({}); }
};

// The port a family's side channel listens on, as camsim tells it.
inline int SidePort(const CamsimProcess& cam, int family, bool talk)
{
    switch (family) {
    case 71:
        return cam.httpPort();
    case 72:
        return static_cast<int>(StateValue(cam.state(), "side_port"));
    case 76:
        return talk ? 888 : 890;
    case 77:
        return 8088;
    default:
        return 0;
    }
}

inline const char* FamilyName(int family)
{
    switch (family) {
    case 71:
        return "HX";
    case 72:
        return "HV";
    case 73:
        return "DY";
    case 76:
        return "AJ";
    case 77:
        return "HTL";
    default:
        return "?";
    }
}

// A camsim of the family on a loopback address of its own, without RTSP.
struct SideCamera {
    int family;
    CamsimProcess cam;
    explicit SideCamera(int f, std::vector<std::string> extra = {}) : family(f), cam(Args(f, std::move(extra))) {}
    static std::vector<std::string> Args(int f, std::vector<std::string> extra)
    {
        std::vector<std::string> a = {"--family", FamilyName(f), "--bind", UniqueLoopback(), "--no-rtsp"};
        a.insert(a.end(), extra.begin(), extra.end());
        return a;
    }
    // AJ's ports are below 1024; where they cannot be opened the test skips.
    std::string Unbound() const { return StateText(cam.state(), "side_unbound"); }
    long State(const char* key) const { return StateValue(cam.state(), key); }
};

#define SKIP_IF_UNBOUND(c)                                                                                             \
    do {                                                                                                               \
        ASSERT_TRUE((c).cam.ok()) << (c).cam.error();                                                                  \
        if (std::string why = (c).Unbound(); !why.empty())                                                             \
            GTEST_SKIP() << "camsim could not open its side ports: " << why;                                           \
    } while (0)
