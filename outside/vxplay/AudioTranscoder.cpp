#include "outside/vxplay/AudioTranscoder.h"

#include "outside/vxplay/AvError.h"
#include "outside/vxplay/G711.h"
#include "utility/vx_log.h"

namespace vxplay {

std::unique_ptr<AudioTranscoder> AudioTranscoder::create(const Track& in)
{
    std::unique_ptr<AudioTranscoder> t(new AudioTranscoder);
    const AVCodec* dec = avcodec_find_decoder(AVCodecID(in.desc.codec_id));
    const AVCodec* enc = avcodec_find_encoder(AV_CODEC_ID_AAC);
    if (!dec || !enc) {
        vx_log(VX_LOG_ERROR, "vxplay AudioTranscoder: no %s for codec %d", dec ? "AAC encoder" : "decoder",
               in.desc.codec_id);
        return nullptr;
    }
    t->m_dec.reset(avcodec_alloc_context3(dec));
    vxwrap::CodecParametersPtr par(avcodec_parameters_alloc());
    if (!t->m_dec || !par || in.toParameters(par.get()) < 0
        || avcodec_parameters_to_context(t->m_dec.get(), par.get()) < 0)
        return nullptr;
    if (t->m_dec->sample_rate <= 0)
        t->m_dec->sample_rate = 8000;
    t->m_dec->pkt_timebase = in.timeBase();
    int err = avcodec_open2(t->m_dec.get(), dec, nullptr);
    if (err < 0) {
        vx_log(VX_LOG_ERROR, "vxplay AudioTranscoder: cannot open the %s decoder: %s", dec->name,
               avErrorText(err).c_str());
        return nullptr;
    }

    t->m_enc.reset(avcodec_alloc_context3(enc));
    if (!t->m_enc)
        return nullptr;
    AVCodecContext* e = t->m_enc.get();
    e->sample_rate = t->m_dec->sample_rate;
    e->sample_fmt = AV_SAMPLE_FMT_FLTP;
    const int channels = t->m_dec->ch_layout.nb_channels > 1 ? 2 : 1;
    av_channel_layout_default(&e->ch_layout, channels);
    // About three bits a sample for narrow-band sound: more than that is
    // beyond what a camera's sound can use, and the encoder then encodes
    // every frame again and again trying to reach the rate (a steady tone at
    // 32 kbit/s costs it four times as much as at 24 kbit/s, for the same file).
    const int perChannel = e->sample_rate <= 8000 ? 24000 : e->sample_rate <= 16000 ? 32000 : 64000;
    e->bit_rate = int64_t(perChannel) * channels;
    e->time_base = AVRational{1, e->sample_rate};
    e->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;  // MP4 keeps the configuration in the header
    // Camera sound is narrow-band speech: the fast coder is good enough for
    // it and costs a fraction of the default search, with hundreds of cameras.
    vxwrap::Dictionary opts;
    opts.set("aac_coder", "fast");
    err = avcodec_open2(e, enc, opts.address());
    if (err < 0) {
        vx_log(VX_LOG_ERROR, "vxplay AudioTranscoder: cannot open the AAC encoder at %d Hz: %s", e->sample_rate,
               avErrorText(err).c_str());
        return nullptr;
    }

    SwrContext* swr = nullptr;
    err = swr_alloc_set_opts2(&swr, &e->ch_layout, e->sample_fmt, e->sample_rate, &t->m_dec->ch_layout,
                              t->m_dec->sample_fmt, t->m_dec->sample_rate, 0, nullptr);
    t->m_swr.reset(swr);
    if (err < 0 || swr_init(swr) < 0)
        return nullptr;
    t->m_fifo.reset(av_audio_fifo_alloc(e->sample_fmt, channels, e->frame_size * 4));
    t->m_decoded = vxwrap::makeFrame();
    t->m_toEncode = vxwrap::makeFrame();
    t->m_encoded = vxwrap::makePacket();
    if (!t->m_fifo || !t->m_decoded || !t->m_toEncode || !t->m_encoded)
        return nullptr;
    // The encoder takes G.711's own rate and channels: its bytes need no
    // more than a table.
    if (t->m_dec->ch_layout.nb_channels == channels && t->m_dec->sample_rate == e->sample_rate)
        t->m_g711 = g711Samples(in.desc.codec_id);
    return t;
}

int AudioTranscoder::feedG711(const AVPacket* in, int64_t startUs, const PacketSink& sink)
{
    const int channels = m_enc->ch_layout.nb_channels;
    const int count = in->size / channels;
    if (count <= 0)
        return 0;
    if (m_nextPts == AV_NOPTS_VALUE)
        m_nextPts = av_rescale_q(startUs, AVRational{1, 1000000}, m_enc->time_base);
    m_planar.resize(size_t(count) * size_t(channels));
    float* planes[2] = {m_planar.data(), m_planar.data() + count};
    for (int i = 0; i < count; ++i)
        for (int c = 0; c < channels; ++c)
            planes[c][i] = m_g711[in->data[i * channels + c]];
    if (av_audio_fifo_write(m_fifo.get(), reinterpret_cast<void**>(planes), count) < count)
        return AVERROR(ENOMEM);
    return encodeAvailable(false, sink);
}

int AudioTranscoder::feed(const AVPacket* in, int64_t startUs, const PacketSink& sink)
{
    if (m_g711)
        return feedG711(in, startUs, sink);
    int err = avcodec_send_packet(m_dec.get(), in);
    if (err < 0 && err != AVERROR(EAGAIN))
        return 0;  // a damaged audio packet is skipped, the recording goes on
    for (;;) {
        err = avcodec_receive_frame(m_dec.get(), m_decoded.get());
        if (err == AVERROR(EAGAIN) || err == AVERROR_EOF)
            break;
        if (err < 0)
            return 0;
        // The samples are counted from the first packet on, so the track
        // stays continuous however the camera's audio clock jitters.
        if (m_nextPts == AV_NOPTS_VALUE)
            m_nextPts = av_rescale_q(startUs, AVRational{1, 1000000}, m_enc->time_base);
        const int outCount = swr_get_out_samples(m_swr.get(), m_decoded->nb_samples);
        if (outCount > 0) {
            if (av_audio_fifo_realloc(m_fifo.get(), av_audio_fifo_size(m_fifo.get()) + outCount) < 0)
                return AVERROR(ENOMEM);
            uint8_t* planes[8] = {};
            vxwrap::FramePtr tmp = vxwrap::makeFrame();
            tmp->format = m_enc->sample_fmt;
            tmp->nb_samples = outCount;
            av_channel_layout_copy(&tmp->ch_layout, &m_enc->ch_layout);
            if (av_frame_get_buffer(tmp.get(), 0) < 0)
                return AVERROR(ENOMEM);
            for (int c = 0; c < tmp->ch_layout.nb_channels && c < 8; ++c)
                planes[c] = tmp->data[c];
            const int got = swr_convert(m_swr.get(), planes, outCount,
                                        const_cast<const uint8_t**>(m_decoded->extended_data), m_decoded->nb_samples);
            if (got > 0)
                av_audio_fifo_write(m_fifo.get(), reinterpret_cast<void**>(planes), got);
        }
        av_frame_unref(m_decoded.get());
        err = encodeAvailable(false, sink);
        if (err < 0)
            return err;
    }
    return 0;
}

int AudioTranscoder::encodeAvailable(bool flush, const PacketSink& sink)
{
    const int frameSize = m_enc->frame_size > 0 ? m_enc->frame_size : 1024;
    while (av_audio_fifo_size(m_fifo.get()) >= frameSize || (flush && av_audio_fifo_size(m_fifo.get()) > 0)) {
        const int n = std::min(frameSize, av_audio_fifo_size(m_fifo.get()));
        av_frame_unref(m_toEncode.get());
        m_toEncode->format = m_enc->sample_fmt;
        m_toEncode->nb_samples = frameSize;
        m_toEncode->sample_rate = m_enc->sample_rate;
        av_channel_layout_copy(&m_toEncode->ch_layout, &m_enc->ch_layout);
        if (av_frame_get_buffer(m_toEncode.get(), 0) < 0)
            return AVERROR(ENOMEM);
        av_audio_fifo_read(m_fifo.get(), reinterpret_cast<void**>(m_toEncode->data), n);
        // The last frame may be short: the encoder takes it as it is, so the
        // track ends with the last real sample.
        m_toEncode->nb_samples = n;
        m_toEncode->pts = m_nextPts;
        m_nextPts += n;
        int err = avcodec_send_frame(m_enc.get(), m_toEncode.get());
        if (err < 0)
            return err;
        err = drainEncoder(sink);
        if (err < 0)
            return err;
    }
    return 0;
}

int AudioTranscoder::drainEncoder(const PacketSink& sink)
{
    for (;;) {
        int err = avcodec_receive_packet(m_enc.get(), m_encoded.get());
        if (err == AVERROR(EAGAIN) || err == AVERROR_EOF)
            return 0;
        if (err < 0)
            return err;
        err = sink(m_encoded.get());
        av_packet_unref(m_encoded.get());
        if (err < 0)
            return err;
    }
}

int AudioTranscoder::finish(const PacketSink& sink)
{
    if (m_nextPts == AV_NOPTS_VALUE)
        return 0;
    int err = encodeAvailable(true, sink);
    if (err < 0)
        return err;
    err = avcodec_send_frame(m_enc.get(), nullptr);
    if (err < 0 && err != AVERROR_EOF)
        return err;
    return drainEncoder(sink);
}

}  // namespace vxplay
