#include "platform/audio/AudioTestHooks_p.h"

#include <mutex>

namespace vx {

namespace {
std::mutex g_hookMutex;  // guards the two hooks below
AudioTestHooks::OutputHook g_output;
AudioTestHooks::InputHook g_input;
}  // namespace

void AudioTestHooks::setOutput(OutputHook hook)
{
    std::lock_guard lock(g_hookMutex);
    g_output = std::move(hook);
}

void AudioTestHooks::setInput(InputHook hook)
{
    std::lock_guard lock(g_hookMutex);
    g_input = std::move(hook);
}

AudioTestHooks::OutputHook audio_hooks::output()
{
    std::lock_guard lock(g_hookMutex);
    return g_output;
}

AudioTestHooks::InputHook audio_hooks::input()
{
    std::lock_guard lock(g_hookMutex);
    return g_input;
}

}  // namespace vx
