#include "outside/vxplay/SoundSink.h"

#include "utility/vx_log.h"

namespace vxplay {

SoundSink::SoundSink() : m_frame(vxwrap::makeFrame()) {}

SoundSink::~SoundSink() = default;

bool SoundSink::ensureDecoder(const AVCodecParameters* par, AVRational timeBase)
{
    if (m_dec && m_codec == par->codec_id && m_rate == par->sample_rate && m_channels == par->ch_layout.nb_channels)
        return true;
    m_dec.reset();
    const AVCodec* codec = avcodec_find_decoder(par->codec_id);
    if (!codec)
        return false;
    vxwrap::CodecContextPtr ctx(avcodec_alloc_context3(codec));
    if (!ctx || avcodec_parameters_to_context(ctx.get(), par) < 0)
        return false;
    if (ctx->sample_rate <= 0)
        ctx->sample_rate = 8000;
    if (ctx->ch_layout.nb_channels <= 0)
        av_channel_layout_default(&ctx->ch_layout, 1);
    ctx->pkt_timebase = timeBase;
    if (avcodec_open2(ctx.get(), codec, nullptr) < 0)
        return false;
    m_dec = std::move(ctx);
    m_codec = par->codec_id;
    m_rate = par->sample_rate;
    m_channels = par->ch_layout.nb_channels;
    return true;
}

void SoundSink::play(const AVCodecParameters* par, AVRational timeBase, const AVPacket* pkt)
{
    if (m_noDevice || !m_frame || !ensureDecoder(par, timeBase))
        return;
    if (avcodec_send_packet(m_dec.get(), pkt) < 0)
        return;
    while (avcodec_receive_frame(m_dec.get(), m_frame.get()) >= 0) {
        playFrame(m_frame.get());
        av_frame_unref(m_frame.get());
    }
}

void SoundSink::playFrame(const AVFrame* f)
{
    if (m_noDevice || f->nb_samples <= 0 || f->sample_rate <= 0)
        return;
    const int channels = f->ch_layout.nb_channels > 1 ? 2 : 1;
    if (!m_out || m_out->sampleRate() != f->sample_rate || m_out->channels() != channels) {
        m_out = vx::AudioOutput::open(f->sample_rate, channels);
        if (!m_out) {
            m_noDevice = true;
            vx_log(VX_LOG_WARN, "vxplay SoundSink: no sound output device, playing without sound");
            return;
        }
    }
    if (!m_swr || m_swrRate != f->sample_rate || m_swrChannels != f->ch_layout.nb_channels
        || m_swrFormat != f->format) {
        AVChannelLayout outLayout;
        av_channel_layout_default(&outLayout, channels);
        SwrContext* swr = nullptr;
        if (swr_alloc_set_opts2(&swr, &outLayout, AV_SAMPLE_FMT_S16, f->sample_rate,
                                const_cast<AVChannelLayout*>(&f->ch_layout), AVSampleFormat(f->format), f->sample_rate,
                                0, nullptr)
                < 0
            || swr_init(swr) < 0) {
            swr_free(&swr);
            return;
        }
        m_swr.reset(swr);
        m_swrRate = f->sample_rate;
        m_swrChannels = f->ch_layout.nb_channels;
        m_swrFormat = f->format;
    }
    const int outCount = swr_get_out_samples(m_swr.get(), f->nb_samples);
    if (outCount <= 0)
        return;
    m_buf.resize(size_t(outCount) * size_t(channels));
    uint8_t* out[1] = {reinterpret_cast<uint8_t*>(m_buf.data())};
    const int got =
        swr_convert(m_swr.get(), out, outCount, const_cast<const uint8_t**>(f->extended_data), f->nb_samples);
    if (got > 0 && !m_out->write(m_buf.data(), size_t(got))) {
        vx_log(VX_LOG_WARN, "vxplay SoundSink: the sound output failed");
        m_out.reset();
        m_noDevice = true;
    }
}

void SoundSink::drain(int timeoutMs)
{
    if (m_out)
        m_out->drain(timeoutMs);
}

void SoundSink::reset()
{
    m_dec.reset();
    m_out.reset();
    m_noDevice = false;
}

}  // namespace vxplay
