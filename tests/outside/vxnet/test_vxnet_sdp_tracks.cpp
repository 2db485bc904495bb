// Starting a stream from what its SDP says: the picture's size and frame
// rate read from the H.264 parameter sets, and the decision to skip probing
// only when every track is fully described (otherwise the stream is probed
// as before, and nothing of the SDP's description is changed).

#include "outside/vxnet/SpsInfo.h"
#include "outside/vxnet/StreamReader.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace vxnet;

namespace {

// The parameter sets a simulated 1080p25 camera puts into its SDP
// (sprop-parameter-sets), as start-code separated units.
const std::vector<uint8_t> kSps = {0x67, 0x42, 0xc0, 0x28, 0xda, 0x01, 0xe0, 0x08, 0x9f, 0x97, 0x01, 0x6a, 0x02, 0x02,
                                   0x02, 0x80, 0x00, 0x00, 0x03, 0x00, 0x80, 0x00, 0x00, 0x19, 0x47, 0x8c, 0x19, 0x50};
const std::vector<uint8_t> kPps = {0x68, 0xce, 0x3c, 0x80};

std::vector<uint8_t> annexB(const std::vector<std::vector<uint8_t>>& units)
{
    std::vector<uint8_t> out;
    for (const auto& u : units) {
        out.insert(out.end(), {0, 0, 0, 1});
        out.insert(out.end(), u.begin(), u.end());
    }
    return out;
}

std::vector<uint8_t> avcc(const std::vector<uint8_t>& sps, const std::vector<uint8_t>& pps)
{
    std::vector<uint8_t> out = {1, sps[1], sps[2], sps[3], 0xff, 0xe1, uint8_t(sps.size() >> 8), uint8_t(sps.size())};
    out.insert(out.end(), sps.begin(), sps.end());
    out.insert(out.end(), {1, uint8_t(pps.size() >> 8), uint8_t(pps.size())});
    out.insert(out.end(), pps.begin(), pps.end());
    return out;
}

TEST(SpsInfo, ReadsSizeAndFrameRateFromEitherLayout)
{
    for (const auto& data : {annexB({kSps, kPps}), annexB({kPps, kSps}), avcc(kSps, kPps)}) {
        SpsInfo info;
        ASSERT_TRUE(readH264Sps(data.data(), int(data.size()), info));
        EXPECT_EQ(info.width, 1920);
        EXPECT_EQ(info.height, 1080);  // 1088 coded, cropped by 8
        ASSERT_GT(info.frameRateDen, 0);
        EXPECT_DOUBLE_EQ(double(info.frameRateNum) / info.frameRateDen, 25.0);
    }
}

TEST(SpsInfo, RefusesWhatItCannotReadWhole)
{
    SpsInfo full;
    const auto whole = annexB({kSps});
    ASSERT_TRUE(readH264Sps(whole.data(), int(whole.size()), full));
    // Cut anywhere: either refused, or (cut after the timing) the same answer.
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        SpsInfo info;
        if (readH264Sps(whole.data(), int(cut), info)) {
            EXPECT_EQ(info.width, full.width) << "cut at " << cut;
            EXPECT_EQ(info.frameRateNum, full.frameRateNum) << "cut at " << cut;
        }
    }
    SpsInfo info;
    const auto ppsOnly = annexB({kPps});
    EXPECT_FALSE(readH264Sps(ppsOnly.data(), int(ppsOnly.size()), info));
    const std::vector<uint8_t> noise(64, 0xff);
    EXPECT_FALSE(readH264Sps(noise.data(), int(noise.size()), info));
    EXPECT_FALSE(readH264Sps(nullptr, 0, info));
}

// A demuxer context as the RTSP demuxer leaves it after reading the SDP.
struct SdpContext {
    AVFormatContext* ctx = avformat_alloc_context();
    ~SdpContext() { avformat_free_context(ctx); }

    AVStream* video(AVCodecID codec, const std::vector<uint8_t>& extradata)
    {
        AVStream* st = avformat_new_stream(ctx, nullptr);
        st->codecpar->codec_type = AVMEDIA_TYPE_VIDEO;
        st->codecpar->codec_id = codec;
        if (!extradata.empty()) {
            st->codecpar->extradata =
                static_cast<uint8_t*>(av_mallocz(extradata.size() + AV_INPUT_BUFFER_PADDING_SIZE));
            std::memcpy(st->codecpar->extradata, extradata.data(), extradata.size());
            st->codecpar->extradata_size = int(extradata.size());
        }
        return st;
    }
    AVStream* audio(AVCodecID codec, int rate, int channels)
    {
        AVStream* st = avformat_new_stream(ctx, nullptr);
        st->codecpar->codec_type = AVMEDIA_TYPE_AUDIO;
        st->codecpar->codec_id = codec;
        st->codecpar->sample_rate = rate;
        if (channels > 0)
            av_channel_layout_default(&st->codecpar->ch_layout, channels);
        return st;
    }
};

TEST(TracksFromSdp, FillsSizeAndRateWhenEveryTrackIsDescribed)
{
    SdpContext s;
    AVStream* v = s.video(AV_CODEC_ID_H264, annexB({kSps, kPps}));
    s.audio(AV_CODEC_ID_PCM_ALAW, 8000, 1);
    ASSERT_TRUE(tracksFromSdp(s.ctx));
    EXPECT_EQ(v->codecpar->width, 1920);
    EXPECT_EQ(v->codecpar->height, 1080);
    EXPECT_EQ(v->avg_frame_rate.num, 25);
    EXPECT_EQ(v->avg_frame_rate.den, 1);
    EXPECT_EQ(v->r_frame_rate.num, 25);
}

TEST(TracksFromSdp, FallsBackToProbingWhenATrackLacksSomething)
{
    const struct {
        const char* what;
        AVCodecID video;
        std::vector<uint8_t> extradata;
        AVCodecID audio;
        int rate;
        int channels;
    } cases[] = {
        {"no parameter sets in the SDP", AV_CODEC_ID_H264, {}, AV_CODEC_ID_PCM_ALAW, 8000, 1},
        {"only the picture parameter set", AV_CODEC_ID_H264, annexB({kPps}), AV_CODEC_ID_PCM_ALAW, 8000, 1},
        {"a codec whose sets are not read", AV_CODEC_ID_HEVC, annexB({kSps, kPps}), AV_CODEC_ID_PCM_ALAW, 8000, 1},
        {"AAC without its configuration", AV_CODEC_ID_H264, annexB({kSps, kPps}), AV_CODEC_ID_AAC, 16000, 1},
        {"sound without a rate", AV_CODEC_ID_H264, annexB({kSps, kPps}), AV_CODEC_ID_PCM_MULAW, 0, 1},
        {"an unknown sound codec", AV_CODEC_ID_H264, annexB({kSps, kPps}), AV_CODEC_ID_NONE, 8000, 1},
    };
    for (const auto& c : cases) {
        SdpContext s;
        AVStream* v = s.video(c.video, c.extradata);
        s.audio(c.audio, c.rate, c.channels);
        EXPECT_FALSE(tracksFromSdp(s.ctx)) << c.what;
        EXPECT_EQ(v->codecpar->width, 0) << c.what;
        EXPECT_EQ(v->avg_frame_rate.num, 0) << c.what;
    }

    // The same set without picture usability information: the frame rate
    // would have to be measured.
    const std::vector<uint8_t> untimed = {0x67, 0x42, 0xc0, 0x28, 0xda, 0x01, 0xe0, 0x08, 0x9f, 0x95};
    SpsInfo info;
    const auto data = annexB({untimed, kPps});
    ASSERT_TRUE(readH264Sps(data.data(), int(data.size()), info));
    EXPECT_EQ(info.width, 1920);
    EXPECT_EQ(info.frameRateNum, 0);
    SdpContext s;
    s.video(AV_CODEC_ID_H264, data);
    EXPECT_FALSE(tracksFromSdp(s.ctx)) << "no picture timing";

    SdpContext empty;
    EXPECT_FALSE(tracksFromSdp(empty.ctx)) << "no tracks at all";
}

}  // namespace
