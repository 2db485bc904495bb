#include "StreamFixture.h"

#include "outside/wrap/FfmpegHandles.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavcodec/bsf.h>
#include <libavformat/avformat.h>
}

namespace vxtest {

namespace {
constexpr int64_t kCameraClockVideo = 900000000;  // 10000 s at 90 kHz
constexpr int64_t kCameraClockAudio = 80000000;   // 10000 s at 8 kHz

[[noreturn]] void die(const std::string& what)
{
    fprintf(stderr, "StreamFixture: %s\n", what.c_str());
    abort();
}
}  // namespace

std::string scratchRoot()
{
    namespace fs = std::filesystem;
    // Never destroyed: the exit handler below still needs it.
    static const std::string* root = [] {
        auto* p = new std::string((fs::temp_directory_path() / ("vxplay-test-" + std::to_string(getpid()))).string());
        fs::create_directories(*p);
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(*root, ec);
        });
        return p;
    }();
    return *root;
}

std::string scratchDir(const std::string& name)
{
    namespace fs = std::filesystem;
    fs::path p = fs::path(scratchRoot()) / name;
    fs::remove_all(p);
    fs::create_directories(p);
    return p.string();
}

const StreamFixture& StreamFixture::get()
{
    static StreamFixture* f = make("fixture", "", int(kSeconds));
    return *f;
}

const StreamFixture& StreamFixture::busy()
{
    // Noise at a fine quantizer: about 1 MB/s, a few times a 4-Mbit/s camera.
    static StreamFixture* f = make("busy", "-vf noise=alls=20:allf=t -qp 24 ", 6);
    return *f;
}

StreamFixture* StreamFixture::make(const std::string& name, const std::string& videoOptions, int seconds)
{
    auto* s = new StreamFixture;
    s->dir = scratchDir(name);
    const std::string mkv = s->dir + "/camera.mkv";
    const std::string cmd = "ffmpeg -nostdin -v error -f lavfi -i testsrc=size=320x240:rate=25 -f lavfi -i "
                            "sine=frequency=440:sample_rate=8000:samples_per_frame=160 -t "
                            + std::to_string(seconds) + " -map 0:v -map 1:a " + videoOptions
                            + "-c:v libx264 -preset ultrafast -bf 0 -g 50 -keyint_min 50 "
                              "-sc_threshold 0 -pix_fmt yuv420p -c:a pcm_alaw -ac 1 -ar 8000 -y '"
                            + mkv + "' 2>&1";
    const std::string err = runCommand(cmd);
    if (!std::filesystem::exists(mkv))
        die("ffmpeg failed: " + err);

    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, mkv.c_str(), nullptr, nullptr) < 0)
        die("cannot read " + mkv);
    vxwrap::InputFormatPtr input(raw);
    AVFormatContext* fmt = input.get();
    if (avformat_find_stream_info(fmt, nullptr) < 0)
        die("cannot read " + mkv);
    AVBSFContext* rawBsf = nullptr;
    const int v = av_find_best_stream(fmt, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    const int a = av_find_best_stream(fmt, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (v < 0 || a < 0)
        die("fixture lacks a track");
    if (av_bsf_alloc(av_bsf_get_by_name("h264_mp4toannexb"), &rawBsf) < 0)
        die("no h264_mp4toannexb");
    vxwrap::BsfPtr filter(rawBsf);
    AVBSFContext* bsf = filter.get();
    avcodec_parameters_copy(bsf->par_in, fmt->streams[v]->codecpar);
    bsf->time_base_in = fmt->streams[v]->time_base;
    if (av_bsf_init(bsf) < 0)
        die("bsf init");

    // Track 0 video, track 1 sound, as a camera's RTSP session gives them.
    s->m_extradata.emplace_back(bsf->par_out->extradata, bsf->par_out->extradata + bsf->par_out->extradata_size);
    auto track = [](int index, int media, AVCodecID codec, int clockRate) {
        vxstream_track t{};
        t.stream_index = index;
        t.track_count = 2;
        t.media_type = media;
        t.codec_id = codec;
        t.time_base_num = 1;
        t.time_base_den = clockRate;
        return t;
    };
    vxstream_track vt = track(0, VXSTREAM_MEDIA_VIDEO, AV_CODEC_ID_H264, 90000);
    vt.width = kWidth;
    vt.height = kHeight;
    vt.frame_rate_num = 25;
    vt.frame_rate_den = 1;
    s->tracks.push_back(vt);
    vxstream_track at = track(1, VXSTREAM_MEDIA_AUDIO, AV_CODEC_ID_PCM_ALAW, 8000);
    at.sample_rate = 8000;
    at.channels = 1;
    at.bit_rate = 64000;
    s->tracks.push_back(at);
    s->tracks[0].extradata = s->m_extradata[0].data();
    s->tracks[0].extradata_size = int(s->m_extradata[0].size());

    vxwrap::PacketPtr packet = vxwrap::makePacket();
    AVPacket* pkt = packet.get();
    while (av_read_frame(fmt, pkt) >= 0) {
        const AVStream* st = fmt->streams[pkt->stream_index];
        if (pkt->stream_index == v) {
            av_bsf_send_packet(bsf, pkt);
            while (av_bsf_receive_packet(bsf, pkt) >= 0) {
                FixturePacket p;
                p.stream = 0;
                p.mediaType = VXSTREAM_MEDIA_VIDEO;
                p.data.assign(pkt->data, pkt->data + pkt->size);
                p.pts = av_rescale_q(pkt->pts, st->time_base, AVRational{1, 90000}) + kCameraClockVideo;
                p.dts = av_rescale_q(pkt->dts, st->time_base, AVRational{1, 90000}) + kCameraClockVideo;
                p.flags = (pkt->flags & AV_PKT_FLAG_KEY) ? VXSTREAM_FLAG_KEY : 0;
                p.seconds = pkt->dts * av_q2d(st->time_base);
                s->packets.push_back(std::move(p));
                av_packet_unref(pkt);
            }
        } else if (pkt->stream_index == a) {
            FixturePacket p;
            p.stream = 1;
            p.mediaType = VXSTREAM_MEDIA_AUDIO;
            p.data.assign(pkt->data, pkt->data + pkt->size);
            p.pts = av_rescale_q(pkt->pts, st->time_base, AVRational{1, 8000}) + kCameraClockAudio;
            p.dts = p.pts;
            p.seconds = pkt->pts * av_q2d(st->time_base);
            s->packets.push_back(std::move(p));
        }
        av_packet_unref(pkt);
    }
    return s;
}

void StreamFixture::describe(vxplay_inst inst) const
{
    for (const auto& t : tracks)
        vxplay_init_track(inst, &t);
}

void StreamFixture::feed(vxplay_inst inst, double from, double to) const
{
    for (const auto& p : packets) {
        if (p.seconds >= from && p.seconds < to)
            input(inst, p);
    }
}

void StreamFixture::input(vxplay_inst inst, const FixturePacket& p)
{
    vxplay_input_stream(inst, nullptr, p.stream, p.mediaType, p.data.data(), int(p.data.size()), p.pts, p.dts, p.flags);
}

ProbeResult probe(const std::string& path)
{
    ProbeResult r;
    const std::string q = "'" + path + "'";
    const std::string streams = runCommand("ffprobe -v error -show_entries stream=codec_type,codec_name,width,height "
                                           "-of default=noprint_wrappers=1 "
                                           + q + " 2>/dev/null");
    // Lines come per stream: codec_name, codec_type, width, height.
    std::string name;
    size_t pos = 0;
    while (pos < streams.size()) {
        size_t end = streams.find('\n', pos);
        if (end == std::string::npos)
            end = streams.size();
        const std::string line = streams.substr(pos, end - pos);
        pos = end + 1;
        if (line.rfind("codec_name=", 0) == 0)
            name = line.substr(11);
        else if (line == "codec_type=video")
            r.videoCodec = name;
        else if (line == "codec_type=audio")
            r.audioCodec = name;
        else if (line.rfind("width=", 0) == 0 && r.width == 0)
            r.width = atoi(line.c_str() + 6);
        else if (line.rfind("height=", 0) == 0 && r.height == 0)
            r.height = atoi(line.c_str() + 7);
    }
    const std::string dur =
        runCommand("ffprobe -v error -show_entries format=duration -of csv=p=0 " + q + " 2>/dev/null");
    r.duration = atof(dur.c_str());
    const std::string frames = runCommand("ffprobe -v error -select_streams v:0 -count_frames -show_entries "
                                          "stream=nb_read_frames -of csv=p=0 "
                                          + q + " 2>/dev/null");
    r.videoFrames = atoi(frames.c_str());
    const std::string first = runCommand("ffprobe -v error -select_streams v:0 -read_intervals %+#1 -show_entries "
                                         "frame=key_frame -of csv=p=0 "
                                         + q + " 2>/dev/null");
    r.firstFrameKey = first.rfind("1", 0) == 0;
    r.ok = !r.videoCodec.empty();
    return r;
}

}  // namespace vxtest
