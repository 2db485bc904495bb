#include "outside/vxplay/FilePlayer.h"

#include "outside/vxplay/AvError.h"
#include "outside/vxplay/SoundSink.h"
#include "outside/vxplay/VideoDecoder.h"
#include "outside/vxplay/vxplay.h"
#include "utility/vx_log.h"

namespace vxplay {

namespace {
constexpr AVRational kMicro{1, 1000000};
constexpr int64_t kPositionEveryUs = 1000000;
}  // namespace

FilePlayer::FilePlayer(FileHost& host) : m_host(host) {}

FilePlayer::~FilePlayer()
{
    close();
}

int FilePlayer::interruptCallback(void* opaque)
{
    auto* self = static_cast<FilePlayer*>(opaque);
    // The host's interrupt is for an open that hangs; a file that plays is
    // ended by close().
    return self->m_stop || (self->m_opening && self->m_host.fileInterrupted()) ? 1 : 0;
}

int FilePlayer::open(const std::string& url)
{
    if (m_fmt || url.empty())
        return VXPLAY_ERR_STATE;
    AVFormatContext* ctx = avformat_alloc_context();
    if (!ctx)
        return VXPLAY_ERR_NOMEM;
    ctx->interrupt_callback.callback = &FilePlayer::interruptCallback;
    ctx->interrupt_callback.opaque = this;
    vxwrap::Dictionary opts;
    // A remote file that stops answering fails instead of hanging the player.
    opts.set("rw_timeout", "10000000");
    m_opening = true;
    int err = avformat_open_input(&ctx, url.c_str(), nullptr, opts.address());
    if (err < 0) {
        vx_log(VX_LOG_ERROR, "vxplay FilePlayer: cannot open the file: %s", avErrorText(err).c_str());
        return resultFromAvError(err) == VXPLAY_ERR_CODEC ? VXPLAY_ERR_CODEC : VXPLAY_ERR_IO;
    }
    m_fmt.reset(ctx);
    err = avformat_find_stream_info(ctx, nullptr);
    m_opening = false;
    if (err < 0) {
        vx_log(VX_LOG_ERROR, "vxplay FilePlayer: cannot read the file's streams: %s", avErrorText(err).c_str());
        m_fmt.reset();
        return VXPLAY_ERR_CODEC;
    }
    m_video = av_find_best_stream(ctx, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    m_audio = av_find_best_stream(ctx, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (m_video < 0 && m_audio < 0) {
        m_fmt.reset();
        return VXPLAY_ERR_CODEC;
    }
    m_lengthUs = ctx->duration != AV_NOPTS_VALUE && ctx->duration > 0 ? ctx->duration : 0;
    m_positionUs = 0;
    m_stop = false;
    m_thread = std::thread([this] { run(); });
    return VXPLAY_OK;
}

void FilePlayer::close()
{
    m_stop = true;
    {
        std::lock_guard lock(m_mutex);
        m_changed.notify_all();
    }
    if (m_thread.joinable()) {
        if (m_thread.get_id() == std::this_thread::get_id())
            m_thread.detach();
        else
            m_thread.join();
    }
    m_fmt.reset();
}

int FilePlayer::pause()
{
    std::lock_guard lock(m_mutex);
    if (!m_paused) {
        m_paused = true;
        m_pausedAt = std::chrono::steady_clock::now();
    }
    return VXPLAY_OK;
}

int FilePlayer::resume()
{
    std::lock_guard lock(m_mutex);
    if (m_paused) {
        m_paused = false;
        m_clockStart += std::chrono::steady_clock::now() - m_pausedAt;
        m_changed.notify_all();
    }
    return VXPLAY_OK;
}

int FilePlayer::seek(int64_t us)
{
    if (us < 0)
        return VXPLAY_ERR_ARG;
    // Far past any end; keeps start time plus target inside 64 bits.
    constexpr int64_t kFar = INT64_MAX / 4;
    if (us > kFar)
        us = kFar;
    std::lock_guard lock(m_mutex);
    m_seekUs = us;
    m_changed.notify_all();
    return VXPLAY_OK;
}

bool FilePlayer::waitUntil(int64_t ptsUs)
{
    std::unique_lock lock(m_mutex);
    if (!m_clockSet) {
        m_clockSet = true;
        m_clockBaseUs = ptsUs;
        m_clockStart = std::chrono::steady_clock::now();
    }
    for (;;) {
        if (m_stop || m_seekUs >= 0)
            return false;
        if (m_paused) {
            m_changed.wait(lock);
            continue;
        }
        const auto due = m_clockStart + std::chrono::microseconds(ptsUs - m_clockBaseUs);
        if (std::chrono::steady_clock::now() >= due)
            return true;
        m_changed.wait_until(lock, due);
    }
}

void FilePlayer::run()
{
    AVFormatContext* fmt = m_fmt.get();
    const int64_t startUs = fmt->start_time != AV_NOPTS_VALUE ? fmt->start_time : 0;
    std::unique_ptr<VideoDecoder> decoder;
    if (m_video >= 0) {
        AVStream* st = fmt->streams[m_video];
        decoder = VideoDecoder::create(st->codecpar, st->time_base);
    }
    SoundSink sound;
    vxwrap::PacketPtr pkt = vxwrap::makePacket();
    if (!pkt || (m_video >= 0 && !decoder && m_audio < 0)) {
        m_host.fileEvent(VXPLAY_EVENT_FILE_FAILED, 0);
        return;
    }
    m_host.fileEvent(VXPLAY_EVENT_FILE_LENGTH, m_lengthUs);

    int64_t skipUntilUs = -1;  // after a seek: frames before the target are decoded, not shown
    int64_t lastReportUs = -kPositionEveryUs;
    int64_t lastLengthUs = 0;
    const int64_t announcedUs = m_lengthUs;
    bool ended = false;
    auto show = [&](AVFrame* f) {
        if (f->best_effort_timestamp == AV_NOPTS_VALUE)
            return;
        const int64_t us = av_rescale_q(f->best_effort_timestamp, fmt->streams[m_video]->time_base, kMicro) - startUs;
        if (us < skipUntilUs)
            return;
        skipUntilUs = -1;
        if (!waitUntil(us))
            return;
        m_positionUs = us;
        if (m_positionUs > m_lengthUs) {
            // A source that does not tell its length up front (a stream over
            // HTTP without ranges): the length grows as it plays, told once a second.
            m_lengthUs = m_positionUs.load();
            if (us - lastLengthUs >= kPositionEveryUs) {
                lastLengthUs = us;
                m_host.fileEvent(VXPLAY_EVENT_FILE_LENGTH, m_lengthUs);
            }
        }
        m_host.filePicture(f);
        if (us - lastReportUs >= kPositionEveryUs || us < lastReportUs) {
            lastReportUs = us;
            m_host.fileEvent(VXPLAY_EVENT_FILE_POSITION, us);
        }
    };

    while (!m_stop) {
        int64_t seekUs = -1;
        {
            std::lock_guard lock(m_mutex);
            std::swap(seekUs, m_seekUs);
        }
        if (seekUs >= 0) {
            const int64_t target = startUs + seekUs;
            const int err = avformat_seek_file(fmt, -1, INT64_MIN, target, target, AVSEEK_FLAG_BACKWARD);
            if (err < 0)
                vx_log(VX_LOG_WARN, "vxplay FilePlayer: seek to %lld us failed: %s", (long long)seekUs,
                       avErrorText(err).c_str());
            if (decoder)
                decoder->reset();
            sound.reset();
            skipUntilUs = seekUs;
            ended = false;
            std::lock_guard lock(m_mutex);
            // The clock restarts at the first picture after the seek.
            m_clockSet = false;
        }
        if (ended) {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [&] { return m_stop || m_seekUs >= 0; });
            continue;
        }
        int err = av_read_frame(fmt, pkt.get());
        if (err == AVERROR_EOF || (err < 0 && avio_feof(fmt->pb))) {
            if (decoder)
                decoder->decode(nullptr, show);
            sound.drain(2000);
            if (m_stop)
                break;
            {
                std::lock_guard lock(m_mutex);
                if (m_seekUs >= 0)
                    continue;  // a seek came in while the last pictures were shown
            }
            ended = true;
            if (m_lengthUs > announcedUs)
                m_host.fileEvent(VXPLAY_EVENT_FILE_LENGTH, m_lengthUs);
            if (m_lengthUs > 0)
                m_positionUs = m_lengthUs.load();
            m_host.fileEvent(VXPLAY_EVENT_FILE_END, 0);
            if (decoder)
                decoder->reset();
            continue;
        }
        if (err < 0) {
            if (m_stop)
                break;
            vx_log(VX_LOG_ERROR, "vxplay FilePlayer: reading failed: %s", avErrorText(err).c_str());
            m_host.fileEvent(VXPLAY_EVENT_FILE_FAILED, 0);
            ended = true;
            continue;
        }
        if (pkt->stream_index == m_video && decoder) {
            if (decoder->decode(pkt.get(), show) < 0) {
                m_host.fileEvent(VXPLAY_EVENT_FILE_FAILED, 0);
                ended = true;
            }
        } else if (pkt->stream_index == m_audio && m_host.fileSound() && skipUntilUs < 0) {
            AVStream* st = fmt->streams[m_audio];
            if (m_video < 0 && pkt->pts != AV_NOPTS_VALUE) {
                // Without pictures the sound sets the pace.
                const int64_t us = av_rescale_q(pkt->pts, st->time_base, kMicro) - startUs;
                if (waitUntil(us))
                    m_positionUs = us;
            }
            sound.play(st->codecpar, st->time_base, pkt.get());
        }
        av_packet_unref(pkt.get());
    }
    if (!ended)
        m_host.fileEvent(VXPLAY_EVENT_FILE_STOPPED, 0);
}

}  // namespace vxplay
