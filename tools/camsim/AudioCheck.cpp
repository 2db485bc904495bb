#include "tools/camsim/AudioCheck.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
}

namespace camsim {

const char* talkCodecName(TalkCodec codec)
{
    switch (codec) {
    case TalkCodec::G711A:
        return "g711a";
    case TalkCodec::G711U:
        return "g711u";
    case TalkCodec::G726:
        return "g726";
    case TalkCodec::None:
        break;
    }
    return "none";
}

int16_t alawToLinear(uint8_t a)
{
    a ^= 0x55;
    int t = (a & 0x0F) << 4;
    int seg = (a & 0x70) >> 4;
    switch (seg) {
    case 0:
        t += 8;
        break;
    case 1:
        t += 0x108;
        break;
    default:
        t += 0x108;
        t <<= seg - 1;
        break;
    }
    return static_cast<int16_t>((a & 0x80) ? t : -t);
}

int16_t ulawToLinear(uint8_t u)
{
    u = static_cast<uint8_t>(~u);
    int t = ((u & 0x0F) << 3) + 0x84;
    t <<= (u & 0x70) >> 4;
    return static_cast<int16_t>((u & 0x80) ? (0x84 - t) : (t - 0x84));
}

struct AudioDecoder::Av {
    AVCodecContext* ctx = nullptr;
    AVPacket* pkt = nullptr;
    AVFrame* frame = nullptr;
    ~Av()
    {
        av_frame_free(&frame);
        av_packet_free(&pkt);
        avcodec_free_context(&ctx);
    }
};

AudioDecoder::AudioDecoder(TalkCodec codec) : codec_(codec)
{
    if (codec != TalkCodec::G726)
        return;
    const AVCodec* c = avcodec_find_decoder(AV_CODEC_ID_ADPCM_G726LE);
    if (!c)
        return;
    auto av = std::make_unique<Av>();
    av->ctx = avcodec_alloc_context3(c);
    av->pkt = av_packet_alloc();
    av->frame = av_frame_alloc();
    if (!av->ctx || !av->pkt || !av->frame)
        return;
    av->ctx->sample_rate = 8000;
    av_channel_layout_default(&av->ctx->ch_layout, 1);
    av->ctx->bits_per_coded_sample = 2;  // 16 kbit/s
    if (avcodec_open2(av->ctx, c, nullptr) < 0)
        return;
    av_ = std::move(av);
}

AudioDecoder::~AudioDecoder() = default;

bool AudioDecoder::decode(const uint8_t* data, size_t length, std::vector<int16_t>& out)
{
    switch (codec_) {
    case TalkCodec::G711A:
        for (size_t i = 0; i < length; ++i)
            out.push_back(alawToLinear(data[i]));
        return true;
    case TalkCodec::G711U:
        for (size_t i = 0; i < length; ++i)
            out.push_back(ulawToLinear(data[i]));
        return true;
    case TalkCodec::G726: {
        if (!av_ || av_new_packet(av_->pkt, static_cast<int>(length)) < 0)
            return false;
        std::copy(data, data + length, av_->pkt->data);
        int r = avcodec_send_packet(av_->ctx, av_->pkt);
        av_packet_unref(av_->pkt);
        if (r < 0)
            return false;
        while (avcodec_receive_frame(av_->ctx, av_->frame) == 0) {
            const auto* s = reinterpret_cast<const int16_t*>(av_->frame->data[0]);
            if (av_->frame->format == AV_SAMPLE_FMT_S16)
                out.insert(out.end(), s, s + av_->frame->nb_samples);
            av_frame_unref(av_->frame);
        }
        return true;
    }
    case TalkCodec::None:
        break;
    }
    return false;
}

int dominantFrequency(const std::vector<int16_t>& samples, int sampleRate)
{
    if (samples.size() < static_cast<size_t>(sampleRate / 10))
        return 0;
    const int threshold = 300;
    int state = 0;  // -1 below, +1 above
    long crossings = 0;
    for (int16_t s : samples) {
        if (s > threshold && state <= 0) {
            if (state < 0)
                ++crossings;
            state = 1;
        } else if (s < -threshold && state >= 0) {
            if (state > 0)
                ++crossings;
            state = -1;
        }
    }
    double seconds = static_cast<double>(samples.size()) / sampleRate;
    return static_cast<int>(crossings / 2.0 / seconds + 0.5);
}

}  // namespace camsim
