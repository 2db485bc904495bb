#include "outside/vxplay/TalkEncoder.h"

#include "outside/vxplay/AvError.h"
#include "outside/vxplay/vxplay.h"
#include "utility/vx_log.h"

#include <cstring>

namespace vxplay {

std::unique_ptr<TalkEncoder> TalkEncoder::create(int codec)
{
    AVCodecID id;
    switch (codec) {
    case VXPLAY_TALK_G711A:
        id = AV_CODEC_ID_PCM_ALAW;
        break;
    case VXPLAY_TALK_G711U:
        id = AV_CODEC_ID_PCM_MULAW;
        break;
    case VXPLAY_TALK_G726:
        // The RTP packing of G.726 (RFC 3551): the first sample in the low bits.
        id = AV_CODEC_ID_ADPCM_G726LE;
        break;
    default:
        return nullptr;
    }
    const AVCodec* c = avcodec_find_encoder(id);
    if (!c) {
        vx_log(VX_LOG_ERROR, "vxplay talk: no encoder for codec %d", codec);
        return nullptr;
    }
    std::unique_ptr<TalkEncoder> e(new TalkEncoder);
    e->m_enc.reset(avcodec_alloc_context3(c));
    e->m_frame = vxwrap::makeFrame();
    e->m_pkt = vxwrap::makePacket();
    if (!e->m_enc || !e->m_frame || !e->m_pkt)
        return nullptr;
    AVCodecContext* ctx = e->m_enc.get();
    ctx->sample_rate = kSampleRate;
    ctx->sample_fmt = AV_SAMPLE_FMT_S16;
    av_channel_layout_default(&ctx->ch_layout, 1);
    ctx->time_base = AVRational{1, kSampleRate};
    ctx->frame_size = kBlockSamples;
    if (id == AV_CODEC_ID_ADPCM_G726LE)
        ctx->bit_rate = 16000;
    int err = avcodec_open2(ctx, c, nullptr);
    if (err < 0) {
        vx_log(VX_LOG_ERROR, "vxplay talk: cannot open the encoder: %s", avErrorText(err).c_str());
        return nullptr;
    }
    return e;
}

void TalkEncoder::push(const int16_t* samples, size_t count, const BlockSink& sink)
{
    m_pending.insert(m_pending.end(), samples, samples + count);
    size_t used = 0;
    while (m_pending.size() - used >= size_t(kBlockSamples)) {
        av_frame_unref(m_frame.get());
        m_frame->format = AV_SAMPLE_FMT_S16;
        m_frame->nb_samples = kBlockSamples;
        m_frame->sample_rate = kSampleRate;
        av_channel_layout_default(&m_frame->ch_layout, 1);
        if (av_frame_get_buffer(m_frame.get(), 0) < 0)
            break;
        memcpy(m_frame->data[0], m_pending.data() + used, sizeof(int16_t) * kBlockSamples);
        used += kBlockSamples;
        const int64_t ms = m_blocks * 20;
        m_frame->pts = m_blocks * kBlockSamples;
        ++m_blocks;
        if (avcodec_send_frame(m_enc.get(), m_frame.get()) < 0)
            continue;
        while (avcodec_receive_packet(m_enc.get(), m_pkt.get()) >= 0) {
            sink(m_pkt->data, m_pkt->size, ms);
            av_packet_unref(m_pkt.get());
        }
    }
    m_pending.erase(m_pending.begin(), m_pending.begin() + long(used));
}

}  // namespace vxplay
