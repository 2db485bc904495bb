#pragma once
// One talk session: the microphone at 8 kHz, encoded in 20 ms blocks, each
// handed to the host's send callback on the capture thread.

#include "outside/vxplay/TalkEncoder.h"
#include "outside/vxplay/vxplay.h"
#include "platform/audio/AudioInput.h"

#include <memory>

namespace vxplay {

class Talk {
public:
    // nullptr for an unknown codec or without a microphone.
    static std::unique_ptr<Talk> start(int codec, vxplay_talk_send_func func, void* user);
    ~Talk();  // the capture stops; no send after it returns

private:
    Talk() = default;
    std::unique_ptr<TalkEncoder> m_encoder;
    vxplay_talk_send_func m_func = nullptr;
    void* m_user = nullptr;
    std::unique_ptr<vx::AudioInput> m_input;
};

}  // namespace vxplay
