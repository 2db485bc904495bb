#include "outside/vxplay/Mp4Recorder.h"

#include "outside/vxplay/AvError.h"
#include "outside/vxplay/MallocTuning.h"
#include "outside/vxplay/ParameterSets.h"
#include "outside/vxplay/vxplay.h"
#include "utility/vx_log.h"

#include <algorithm>
#include <cstring>

namespace vxplay {

namespace {
constexpr AVRational kMicro{1, 1000000};
// A jump of the camera's clock beyond these is a new time line (a restarted
// stream, a camera that set its clock), not a gap in the recording.
constexpr int64_t kMaxForwardJumpUs = 10 * 1000000;
constexpr int64_t kMaxBackwardJumpUs = 1 * 1000000;
// The muxer holds the open fragment's media in one buffer grown by half at a
// time: below the mapping size it comes from the heap and is reused by the
// next fragment instead of being mapped, faulted in page by page and unmapped
// for each one.
static_assert(Mp4Recorder::kFragmentBytes + Mp4Recorder::kFragmentBytes / 2 < kMappedBlockBytes);
}  // namespace

Mp4Recorder::~Mp4Recorder()
{
    if (!m_error && m_file.avio())
        stop();
}

std::unique_ptr<Mp4Recorder> Mp4Recorder::start(const std::string& path, bool withAudio, int* result)
{
    std::unique_ptr<Mp4Recorder> r(new Mp4Recorder);
    r->m_withAudio = withAudio;
    r->m_work = vxwrap::makePacket();
    *result = r->m_work ? r->m_file.create(path) : VXPLAY_ERR_NOMEM;
    if (*result != VXPLAY_OK)
        return nullptr;
    return r;
}

// A restarted stream brings new track objects: a track is the file's when it
// has the same place, kind and codec.
Mp4Recorder::Output* Mp4Recorder::outputFor(const Track& t)
{
    for (auto& o : m_outputs) {
        if (o.track.get() == &t)
            return &o;
    }
    for (auto& o : m_outputs) {
        const auto& d = o.track->desc;
        if (d.stream_index == t.desc.stream_index && d.media_type == t.desc.media_type && d.codec_id == t.desc.codec_id)
            return &o;
    }
    return nullptr;
}

int Mp4Recorder::fail(int averror, const char* what)
{
    if (m_error)
        return m_error;
    m_error = resultFromAvError(averror);
    if (m_error == VXPLAY_OK)
        m_error = VXPLAY_ERR_IO;
    vx_log(VX_LOG_ERROR, "vxplay Mp4Recorder %s %s: %s", what, m_file.path().c_str(), avErrorText(averror).c_str());
    if (!m_headerOnDisk) {
        // Nothing could play it: a disk that is full would otherwise fill up
        // with empty files, one for every start that is tried.
        m_file.discard();
        vx_log(VX_LOG_WARN, "vxplay Mp4Recorder: %s removed, its header was never written", m_file.path().c_str());
        return m_error;
    }
    // Keep what reached the file: the fragments written so far still play.
    m_file.close();
    return m_error;
}

int Mp4Recorder::openMuxer(const StreamPacket& first, const std::vector<TrackPtr>& tracks)
{
    bool haveVideo = false;
    bool haveAudio = false;
    for (const auto& t : tracks) {
        if (!t || (t->isVideo() && haveVideo) || (t->isAudio() && (haveAudio || !m_withAudio)))
            continue;  // one picture and one sound track are what a segment file holds
        Output o;
        o.track = t;
        if (t->isAudio() && t->desc.codec_id != AV_CODEC_ID_AAC) {
            // Sound that cannot be turned into AAC is left out: the picture matters more.
            o.transcoder = AudioTranscoder::create(*t);
            if (!o.transcoder) {
                vx_log(VX_LOG_WARN, "vxplay Mp4Recorder: audio codec %d cannot be recorded, %s has no sound",
                       t->desc.codec_id, m_file.path().c_str());
                continue;
            }
        }
        haveVideo = haveVideo || t->isVideo();
        haveAudio = haveAudio || t->isAudio();
        m_outputs.push_back(std::move(o));
    }
    if (!outputFor(*first.track))
        return VXPLAY_OK;  // the first packet's track is not recorded: wait for one that is

    AVFormatContext* ctx = nullptr;
    int err = avformat_alloc_output_context2(&ctx, nullptr, "mp4", nullptr);
    if (err < 0 || !ctx)
        return fail(err < 0 ? err : AVERROR(ENOMEM), "cannot create the muxer for");
    m_fmt.reset(ctx);
    ctx->pb = m_file.avio();
    ctx->flags |= AVFMT_FLAG_CUSTOM_IO;

    for (auto& o : m_outputs) {
        const Track& t = *o.track;
        o.stream = avformat_new_stream(ctx, nullptr);
        if (!o.stream)
            return fail(AVERROR(ENOMEM), "cannot add a stream to");
        if (o.transcoder) {
            err = avcodec_parameters_from_context(o.stream->codecpar, o.transcoder->encoder());
            o.stream->time_base = o.transcoder->timeBase();
        } else {
            err = t.toParameters(o.stream->codecpar);
            o.stream->time_base = t.timeBase();
            if (err >= 0 && t.isVideo() && o.stream->codecpar->extradata_size == 0) {
                // The camera gave no parameter sets out of band: take them from the key frame.
                std::vector<uint8_t> sets =
                    extractParameterSets(AVCodecID(t.desc.codec_id), first.pkt->data, first.pkt->size);
                if (!sets.empty()) {
                    auto* p = static_cast<uint8_t*>(av_mallocz(sets.size() + AV_INPUT_BUFFER_PADDING_SIZE));
                    if (!p)
                        return fail(AVERROR(ENOMEM), "cannot start");
                    memcpy(p, sets.data(), sets.size());
                    o.stream->codecpar->extradata = p;
                    o.stream->codecpar->extradata_size = int(sets.size());
                }
            }
            if (t.isVideo() && t.desc.frame_rate_num > 0 && t.desc.frame_rate_den > 0)
                o.stream->avg_frame_rate = AVRational{t.desc.frame_rate_num, t.desc.frame_rate_den};
        }
        if (err < 0)
            return fail(err, "cannot describe a stream of");
        o.stream->codecpar->codec_tag = 0;
    }

    vxwrap::Dictionary opts;
    opts.set("movflags", "frag_keyframe+empty_moov+default_base_moof");
    opts.set("frag_size", std::to_string(kFragmentBytes).c_str());
    err = avformat_write_header(ctx, opts.address());
    if (err < 0)
        return fail(err, "cannot write the header of");
    m_headerWritten = true;
    for (auto& o : m_outputs)
        o.originUs = first.timeUs;
    m_lastOutUs = 0;
    err = m_file.flush();
    if (err < 0)
        return fail(err, "cannot write");
    m_headerOnDisk = true;
    vx_log(VX_LOG_INFO, "vxplay Mp4Recorder: recording %s", m_file.path().c_str());
    return VXPLAY_OK;
}

int Mp4Recorder::write(const StreamPacket& p, const std::vector<TrackPtr>& tracks)
{
    if (m_error)
        return m_error;
    if (!m_file.avio())
        return VXPLAY_ERR_STATE;
    if (!m_headerWritten) {
        bool streamHasVideo = false;
        for (const auto& t : tracks)
            streamHasVideo = streamHasVideo || (t && t->isVideo());
        if (streamHasVideo && !(p.isVideo() && p.key))
            return VXPLAY_OK;  // the file begins with a picture that decodes on its own
        m_outputs.clear();
        int err = openMuxer(p, tracks);
        if (err != VXPLAY_OK || !m_headerWritten)
            return err;
    }
    Output* found = outputFor(*p.track);
    if (!found)
        return VXPLAY_OK;
    Output& o = *found;

    if (o.lastInUs == AV_NOPTS_VALUE) {
        // A track whose clock is far from the file's (a camera that does not
        // tie its sound to its picture) is put where the file is now.
        const int64_t at = p.timeUs - o.originUs;
        if (at > m_lastOutUs + kMaxForwardJumpUs || at < m_lastOutUs - kMaxForwardJumpUs)
            o.originUs = p.timeUs - m_lastOutUs;
    } else {
        // A new time line on the camera's side keeps the file's own going on.
        const int64_t step = p.timeUs - o.lastInUs;
        if (step > kMaxForwardJumpUs || step < -kMaxBackwardJumpUs) {
            vx_log(VX_LOG_WARN, "vxplay Mp4Recorder: the stream's clock jumped %lld ms in %s", (long long)(step / 1000),
                   m_file.path().c_str());
            o.originUs = p.timeUs - (m_lastOutUs + std::max<int64_t>(o.lastDurationUs, 1000));
        }
    }
    if (o.lastInUs != AV_NOPTS_VALUE && p.timeUs > o.lastInUs)
        o.lastDurationUs = p.timeUs - o.lastInUs;
    o.lastInUs = p.timeUs;

    const int64_t timeUs = p.timeUs - o.originUs;
    if (timeUs < 0) {
        // Stamped before the file's first picture (sound that came after it
        // on the wire): outside the file, and not lost from it either.
        ++m_packetsBeforeStart;
        return VXPLAY_OK;
    }
    ++m_packetsReceived;

    if (o.transcoder) {
        AVStream* st = o.stream;
        int err = o.transcoder->feed(p.pkt.get(), timeUs, [&](AVPacket* enc) {
            enc->stream_index = st->index;
            av_packet_rescale_ts(enc, o.transcoder->timeBase(), st->time_base);
            // The encoder's priming packet lies before the start: an MP4
            // fragment cannot hold a negative time, and without it the
            // track starts with the picture.
            if (enc->dts < 0 || (o.lastDts != AV_NOPTS_VALUE && enc->dts <= o.lastDts))
                return 0;
            o.lastDts = enc->dts;
            int e = av_write_frame(m_fmt.get(), enc);
            if (e >= 0)
                ++m_packetsWritten;
            return e;
        });
        if (err < 0)
            return fail(err, "cannot write the sound of");
        ++m_packetsTaken;
        return VXPLAY_OK;
    }

    // Copied packet: move it onto the file's time line, in microseconds.
    av_packet_unref(m_work.get());
    int err = av_packet_ref(m_work.get(), p.pkt.get());
    if (err < 0)
        return fail(err, "cannot write");
    const AVRational tb = o.track->timeBase();
    int64_t ptsOffsetUs = 0;
    if (p.pkt->pts != AV_NOPTS_VALUE && p.pkt->dts != AV_NOPTS_VALUE)
        ptsOffsetUs = av_rescale_q(p.pkt->pts - p.pkt->dts, tb, kMicro);
    if (ptsOffsetUs < 0)
        ptsOffsetUs = 0;
    int64_t durationUs = 0;
    const auto& d = o.track->desc;
    if (o.track->isVideo() && d.frame_rate_num > 0 && d.frame_rate_den > 0)
        durationUs = av_rescale(1000000, d.frame_rate_den, d.frame_rate_num);
    else
        durationUs = o.lastDurationUs;
    m_work->duration = av_rescale_q(durationUs, kMicro, o.stream->time_base);
    return writeMuxed(o, m_work.get(), timeUs, ptsOffsetUs, p.key);
}

int Mp4Recorder::writeMuxed(Output& o, AVPacket* pkt, int64_t timeUs, int64_t ptsOffsetUs, bool key)
{
    AVStream* st = o.stream;
    int64_t dts = av_rescale_q(timeUs, kMicro, st->time_base);
    if (o.lastDts != AV_NOPTS_VALUE && dts <= o.lastDts)
        dts = o.lastDts + 1;
    pkt->dts = dts;
    pkt->pts = dts + av_rescale_q(ptsOffsetUs, kMicro, st->time_base);
    pkt->stream_index = st->index;
    pkt->pos = -1;
    if (key)
        pkt->flags |= AV_PKT_FLAG_KEY;
    o.lastDts = dts;
    m_lastOutUs = std::max(m_lastOutUs, timeUs);
    const bool videoKey = key && o.track->isVideo();
    int err = av_write_frame(m_fmt.get(), pkt);
    if (err < 0)
        return fail(err, "cannot write");
    ++m_packetsWritten;
    ++m_packetsTaken;
    if (videoKey) {
        // A key frame closed the previous fragment inside the muxer: put it on disk.
        err = m_file.flush();
        if (err < 0)
            return fail(err, "cannot write");
    }
    return VXPLAY_OK;
}

int Mp4Recorder::stop()
{
    if (!m_file.avio())
        return m_error;
    if (!m_headerWritten) {
        m_file.discard();
        vx_log(VX_LOG_WARN, "vxplay Mp4Recorder: no key frame came, %s removed", m_file.path().c_str());
        m_error = VXPLAY_ERR_NO_PICTURE;
        return m_error;
    }
    if (!m_error) {
        for (auto& o : m_outputs) {
            if (!o.transcoder)
                continue;
            AVStream* st = o.stream;
            int err = o.transcoder->finish([&](AVPacket* enc) {
                enc->stream_index = st->index;
                av_packet_rescale_ts(enc, o.transcoder->timeBase(), st->time_base);
                if (enc->dts < 0 || (o.lastDts != AV_NOPTS_VALUE && enc->dts <= o.lastDts))
                    return 0;
                o.lastDts = enc->dts;
                return av_write_frame(m_fmt.get(), enc);
            });
            if (err < 0)
                return fail(err, "cannot finish the sound of");
        }
        int err = av_write_trailer(m_fmt.get());
        if (err < 0)
            return fail(err, "cannot finish");
    }
    int err = m_file.close();
    if (err < 0 && !m_error)
        return fail(err, "cannot close");
    // Taken equal to received: no packet of the open file was lost.
    vx_log(VX_LOG_INFO,
           "vxplay Mp4Recorder: closed %s, %lld packets, took %lld of %lld received, %lld from before its start",
           m_file.path().c_str(), (long long)m_packetsWritten, (long long)m_packetsTaken, (long long)m_packetsReceived,
           (long long)m_packetsBeforeStart);
    return m_error;
}

}  // namespace vxplay
