#include "SegmentCount.h"

#include "outside/wrap/FfmpegHandles.h"

#include <dirent.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

std::vector<std::string> mp4Files(const std::string& dir)
{
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string n = e->d_name;
            if (n.size() > 4 && n.compare(n.size() - 4, 4, ".mp4") == 0)
                names.push_back(dir + "/" + n);
        }
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

SegmentCount countSegments(const std::string& dir)
{
    SegmentCount c;
    bool first = true;
    for (const std::string& path : mp4Files(dir)) {
        ++c.files;
        AVFormatContext* raw = nullptr;
        if (avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0) {
            ++c.unreadable;
            continue;
        }
        vxwrap::InputFormatPtr ctx(raw);
        if (avformat_find_stream_info(ctx.get(), nullptr) < 0) {
            ++c.unreadable;
            continue;
        }
        vxwrap::PacketPtr pkt = vxwrap::makePacket();
        bool sawVideo = false;
        int64_t firstDts = AV_NOPTS_VALUE;
        int64_t lastEnd = AV_NOPTS_VALUE;
        AVRational videoTb{1, 1};
        int err = 0;
        while ((err = av_read_frame(ctx.get(), pkt.get())) >= 0) {
            const AVStream* st = ctx->streams[pkt->stream_index];
            if (st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
                if (!sawVideo && !(pkt->flags & AV_PKT_FLAG_KEY))
                    ++c.notStartingWithKey;
                sawVideo = true;
                ++c.videoPackets;
                videoTb = st->time_base;
                if (firstDts == AV_NOPTS_VALUE)
                    firstDts = pkt->dts;
                lastEnd = pkt->dts + pkt->duration;
            } else if (st->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) {
                ++c.audioPackets;
                // The demuxer gives the first packet of a fragmented file no
                // duration: it is one whole encoder frame.
                if (pkt->duration > 0 && st->codecpar->sample_rate > 0)
                    c.audioSamples +=
                        av_rescale_q(pkt->duration, st->time_base, AVRational{1, st->codecpar->sample_rate});
                else
                    c.audioSamples += st->codecpar->frame_size > 0 ? st->codecpar->frame_size : 0;
            }
            av_packet_unref(pkt.get());
        }
        if (err != AVERROR_EOF)
            ++c.unreadable;
        if (firstDts != AV_NOPTS_VALUE) {
            const double seconds = static_cast<double>(lastEnd - firstDts) * av_q2d(videoTb);
            c.minSeconds = first ? seconds : std::min(c.minSeconds, seconds);
            c.maxSeconds = first ? seconds : std::max(c.maxSeconds, seconds);
            first = false;
        }
    }
    return c;
}
