#include "outside/vxplay/Talk.h"

#include "utility/vx_log.h"

namespace vxplay {

std::unique_ptr<Talk> Talk::start(int codec, vxplay_talk_send_func func, void* user)
{
    std::unique_ptr<Talk> t(new Talk);
    t->m_encoder = TalkEncoder::create(codec);
    if (!t->m_encoder) {
        vx_log(VX_LOG_ERROR, "vxplay talk start: codec %d is not a talk codec", codec);
        return nullptr;
    }
    t->m_func = func;
    t->m_user = user;
    Talk* raw = t.get();
    t->m_input = vx::AudioInput::open(TalkEncoder::kSampleRate, 1, [raw](const int16_t* samples, size_t frames) {
        raw->m_encoder->push(samples, frames, [raw](const uint8_t* block, int length, int64_t ms) {
            raw->m_func(block, length, ms, raw->m_user);
        });
    });
    if (!t->m_input) {
        vx_log(VX_LOG_ERROR, "vxplay talk start: no microphone");
        return nullptr;
    }
    vx_log(VX_LOG_INFO, "vxplay talk started, codec %d", codec);
    return t;
}

Talk::~Talk()
{
    m_input.reset();
}

}  // namespace vxplay
