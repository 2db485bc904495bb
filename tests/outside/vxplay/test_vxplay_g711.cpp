// G.711 expanded by table: every byte gives the sample FFmpeg's own decoder
// and its 16-bit to float conversion would give, so the AAC encoder sees
// the same sound either way.

#include "outside/vxplay/G711.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <gtest/gtest.h>

namespace {

TEST(G711, EveryByteMatchesFfmpegsDecoder)
{
    for (AVCodecID id : {AV_CODEC_ID_PCM_ALAW, AV_CODEC_ID_PCM_MULAW}) {
        SCOPED_TRACE(avcodec_get_name(id));
        const float* table = vxplay::g711Samples(id);
        ASSERT_NE(table, nullptr);
        const AVCodec* codec = avcodec_find_decoder(id);
        ASSERT_NE(codec, nullptr);
        AVCodecContext* ctx = avcodec_alloc_context3(codec);
        ctx->sample_rate = 8000;
        av_channel_layout_default(&ctx->ch_layout, 1);
        ASSERT_EQ(avcodec_open2(ctx, codec, nullptr), 0);
        AVPacket* pkt = av_packet_alloc();
        ASSERT_EQ(av_new_packet(pkt, 256), 0);
        for (int i = 0; i < 256; ++i)
            pkt->data[i] = uint8_t(i);
        AVFrame* frame = av_frame_alloc();
        ASSERT_EQ(avcodec_send_packet(ctx, pkt), 0);
        ASSERT_EQ(avcodec_receive_frame(ctx, frame), 0);
        ASSERT_EQ(frame->format, AV_SAMPLE_FMT_S16);
        ASSERT_EQ(frame->nb_samples, 256);
        const auto* s16 = reinterpret_cast<const int16_t*>(frame->data[0]);
        for (int i = 0; i < 256; ++i)
            EXPECT_EQ(table[i], float(s16[i]) * (1.0f / 32768.0f)) << "byte " << i;
        av_frame_free(&frame);
        av_packet_free(&pkt);
        avcodec_free_context(&ctx);
    }
    EXPECT_EQ(vxplay::g711Samples(AV_CODEC_ID_ADPCM_G726), nullptr);
}

}  // namespace
