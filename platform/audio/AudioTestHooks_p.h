#pragma once
// The installed test stand-ins, read when a device is opened.
#include "platform/audio/AudioOutput.h"

namespace vx::audio_hooks {

AudioTestHooks::OutputHook output();
AudioTestHooks::InputHook input();

}  // namespace vx::audio_hooks
