#include "outside/vxnet/StreamReader.h"

#include "outside/vxnet/AccessUnits.h"
#include "outside/vxnet/ErrorMap.h"
#include "outside/vxnet/SpsInfo.h"
#include "outside/wrap/FfmpegHandles.h"
#include "utility/vx_log.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace vxnet {

namespace {
thread_local StreamReader* t_current = nullptr;
}

bool tracksFromSdp(AVFormatContext* input)
{
    struct Found {
        AVStream* st;
        SpsInfo sps;
    };
    std::vector<Found> video;
    int tracks = 0;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        AVStream* st = input->streams[i];
        const AVCodecParameters* par = st->codecpar;
        if (par->codec_type == AVMEDIA_TYPE_VIDEO) {
            // The parameter sets give the picture's size; without their
            // timing the frame rate would have to be measured.
            SpsInfo sps;
            if (par->codec_id != AV_CODEC_ID_H264 || !readH264Sps(par->extradata, par->extradata_size, sps)
                || sps.frameRateNum <= 0)
                return false;
            video.push_back({st, sps});
            ++tracks;
        } else if (par->codec_type == AVMEDIA_TYPE_AUDIO) {
            // AAC needs its configuration, which only some SDPs carry.
            if (par->codec_id == AV_CODEC_ID_NONE || par->sample_rate <= 0 || par->ch_layout.nb_channels <= 0
                || (par->codec_id == AV_CODEC_ID_AAC && par->extradata_size <= 0))
                return false;
            ++tracks;
        }
    }
    if (tracks == 0)
        return false;
    for (auto& v : video) {
        v.st->codecpar->width = v.sps.width;
        v.st->codecpar->height = v.sps.height;
        AVRational rate{0, 1};
        av_reduce(&rate.num, &rate.den, v.sps.frameRateNum, v.sps.frameRateDen, INT32_MAX);
        v.st->avg_frame_rate = rate;
        v.st->r_frame_rate = rate;
    }
    return true;
}

namespace {

std::vector<std::unique_ptr<AccessUnitJoiner>> joinersFor(AVFormatContext* input, bool described)
{
    // Only streams the SDP described, whose tracks come out of the RTP
    // depacketizers whole without a parser (H.264 pieces are joined here).
    std::vector<std::unique_ptr<AccessUnitJoiner>> joiners;
    if (!described)
        return joiners;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVCodecParameters* par = input->streams[i]->codecpar;
        if (par->codec_type == AVMEDIA_TYPE_VIDEO && par->codec_id != AV_CODEC_ID_H264)
            return joiners;
        if (par->codec_type == AVMEDIA_TYPE_AUDIO && par->codec_id != AV_CODEC_ID_PCM_ALAW
            && par->codec_id != AV_CODEC_ID_PCM_MULAW && par->codec_id != AV_CODEC_ID_AAC
            && par->codec_id != AV_CODEC_ID_ADPCM_G726 && par->codec_id != AV_CODEC_ID_ADPCM_G726LE)
            return joiners;
    }
    joiners.resize(input->nb_streams);
    for (unsigned i = 0; i < input->nb_streams; ++i)
        if (input->streams[i]->codecpar->codec_id == AV_CODEC_ID_H264)
            joiners[i] = std::make_unique<AccessUnitJoiner>();
    // FFmpeg's parser scans every byte of every picture for start codes to
    // find where it ends, a tenth of the recorder's time; the RTP timestamp
    // says it for nothing. No value is filled in from others either: the
    // timestamps are the camera's own, as with the parser.
    input->flags |= AVFMT_FLAG_NOPARSE | AVFMT_FLAG_NOFILLIN;
    return joiners;
}

}  // namespace

StreamReader* StreamReader::current()
{
    return t_current;
}

StreamReader::StreamReader(std::string url, std::string log_url, StreamCallbacks callbacks, const Interrupt* interrupt)
    : m_url(std::move(url)), m_logUrl(std::move(log_url)), m_cb(callbacks), m_interrupt(interrupt)
{}

StreamReader::~StreamReader()
{
    close();
}

int StreamReader::onInterrupt(void* opaque)
{
    auto* self = static_cast<StreamReader*>(opaque);
    if (self->m_closing.load())
        return 1;
    if (self->m_opening.load() && self->m_interrupt && self->m_interrupt->requested()) {
        self->m_interrupted.store(true);
        return 1;
    }
    if (BitrateMeter::nowMs() > self->m_deadline.load()) {
        self->m_stalled.store(true);
        return 1;
    }
    return 0;
}

int StreamReader::open(int timeout_ms)
{
    if (m_thread.joinable())
        return VXNET_ERR_BUSY;
    m_deadline.store(BitrateMeter::nowMs() + timeout_ms);
    m_thread = std::thread([this] { run(); });
    std::unique_lock lock(m_openMutex);
    // The reader's own deadline ends a silent camera; this wait only guards
    // against a call inside FFmpeg that ignores the interrupt.
    bool answered = m_openCv.wait_for(lock, std::chrono::milliseconds(timeout_ms + 5000),
                                      [this] { return m_openState != OpenState::Pending; });
    if (!answered) {
        lock.unlock();
        close();
        return VXNET_ERR_TIMEOUT;
    }
    if (m_openState == OpenState::Failed) {
        int code = m_openResult;
        lock.unlock();
        close();
        return code;
    }
    return VXNET_OK;
}

int StreamReader::close()
{
    if (!m_thread.joinable())
        return VXNET_OK;
    if (m_thread.get_id() == std::this_thread::get_id())
        return VXNET_ERR_BUSY;
    m_closing.store(true);
    m_thread.join();
    return VXNET_OK;
}

void StreamReader::run()
{
    t_current = this;
    auto opened = [this](int code) {
        std::lock_guard lock(m_openMutex);
        m_openState = code == VXNET_OK ? OpenState::Open : OpenState::Failed;
        m_openResult = code;
        m_openCv.notify_all();
    };

    AVFormatContext* raw = avformat_alloc_context();
    if (!raw) {
        opened(VXNET_ERR_NO_MEMORY);
        return;
    }
    raw->interrupt_callback.callback = &StreamReader::onInterrupt;
    raw->interrupt_callback.opaque = this;
    vxwrap::Dictionary options;
    options.set("rtsp_transport", "tcp");
    // Socket reads that hang longer than this fail, in microseconds.
    options.set("timeout", "5000000");
    // Start quickly: the SDP already describes the tracks.
    options.set("analyzeduration", "2000000");
    int rc = avformat_open_input(&raw, m_url.c_str(), nullptr, options.address());
    vxwrap::InputFormatPtr input(raw);  // avformat_open_input freed raw on failure and set it null
    auto failText = [](int averror) {
        char text[AV_ERROR_MAX_STRING_SIZE] = {0};
        av_strerror(averror, text, sizeof text);
        return std::string(text);
    };
    if (rc < 0) {
        int code = m_stalled.load() || m_interrupted.load() ? VXNET_ERR_TIMEOUT : errorFromAv(rc);
        vx_log(m_interrupted.load() ? VX_LOG_INFO : VX_LOG_ERROR, "vxnet StreamReader::open [%s] failed: %s",
               m_logUrl.c_str(), m_interrupted.load() ? "interrupted" : failText(rc).c_str());
        m_error.store(code);
        m_finished.store(true);
        opened(code);
        return;
    }
    // The camera has set the session up and plays: the caller goes on while
    // the first packets tell the tracks' parameters, which takes up to the
    // analysis time. Many cameras can so be opened one after the other.
    m_deadline.store(BitrateMeter::nowMs() + kStallMs);
    m_opening.store(false);
    opened(VXNET_OK);
    // Probing decodes pictures, which costs a decoder's memory and time per
    // camera; where the SDP says everything a recording needs, it is skipped.
    const bool described = tracksFromSdp(input.get());
    if (!described) {
        vx_log(VX_LOG_DEBUG, "vxnet StreamReader::run [%s] probing the tracks", m_logUrl.c_str());
        rc = avformat_find_stream_info(input.get(), nullptr);
    }
    if (rc < 0) {
        if (!m_closing.load()) {
            int code = m_stalled.load() ? VXNET_ERR_TIMEOUT : errorFromAv(rc);
            if (code == VXNET_OK || code == VXNET_ERR_STREAM_END)
                code = VXNET_ERR_STREAM;
            vx_log(VX_LOG_ERROR, "vxnet StreamReader::run [%s] no track parameters: %s", m_logUrl.c_str(),
                   failText(rc).c_str());
            m_error.store(code);
            m_finished.store(true);
            if (m_cb.error)
                m_cb.error(m_cb.errorUser, code);
        }
        m_finished.store(true);
        return;
    }

    // Only audio and video go to the consumer; they are numbered 0..n-1 in
    // the demuxer's order, and packets of other streams are dropped.
    std::vector<int> index(input->nb_streams, -1);
    int tracks = 0;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        AVMediaType type = input->streams[i]->codecpar->codec_type;
        if (type == AVMEDIA_TYPE_VIDEO || type == AVMEDIA_TYPE_AUDIO)
            index[i] = tracks++;
    }
    vx_log(VX_LOG_INFO, "vxnet StreamReader::run [%s] %d tracks", m_logUrl.c_str(), tracks);
    std::vector<std::unique_ptr<AccessUnitJoiner>> joiners = joinersFor(input.get(), described);

    for (unsigned i = 0; i < input->nb_streams && !m_closing.load(); ++i) {
        if (index[i] < 0 || !m_cb.track)
            continue;
        const AVStream* st = input->streams[i];
        const AVCodecParameters* par = st->codecpar;
        vxstream_track t{};
        t.stream_index = index[i];
        t.track_count = tracks;
        t.media_type = par->codec_type == AVMEDIA_TYPE_VIDEO ? VXSTREAM_MEDIA_VIDEO : VXSTREAM_MEDIA_AUDIO;
        t.codec_id = par->codec_id;
        t.time_base_num = st->time_base.num;
        t.time_base_den = st->time_base.den;
        t.width = par->width;
        t.height = par->height;
        AVRational fr = st->avg_frame_rate.num ? st->avg_frame_rate : st->r_frame_rate;
        t.frame_rate_num = fr.num;
        t.frame_rate_den = fr.den;
        t.sample_rate = par->sample_rate;
        t.channels = par->ch_layout.nb_channels;
        t.bits_per_coded_sample = par->bits_per_coded_sample;
        t.block_align = par->block_align;
        t.bit_rate = par->bit_rate;
        t.extradata = par->extradata;
        t.extradata_size = par->extradata_size;
        m_cb.track(m_cb.trackUser, &t);
    }

    auto deliver = [&](unsigned si, const uint8_t* data, int size, int64_t pts, int64_t dts, bool key) {
        if (!m_cb.data)
            return;
        int media = input->streams[si]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO ? VXSTREAM_MEDIA_VIDEO
                                                                                   : VXSTREAM_MEDIA_AUDIO;
        m_cb.data(m_cb.dataUser, index[si], media, data, size, pts, dts, key ? VXSTREAM_FLAG_KEY : 0);
    };
    vxwrap::PacketPtr pkt(av_packet_alloc());
    int code = pkt ? VXNET_OK : VXNET_ERR_NO_MEMORY;
    while (code == VXNET_OK && !m_closing.load()) {
        const int64_t askedAt = BitrateMeter::nowMs();
        rc = av_read_frame(input.get(), pkt.get());
        // A read that had to wait woke up for the first bytes of what the
        // camera sent: letting the rest arrive before reading on takes the
        // batch with one wake-up instead of one per network segment. The
        // camera's bytes wait in the socket meanwhile; nothing is dropped.
        if (rc >= 0 && BitrateMeter::nowMs() - askedAt >= kWaitedMs && !m_closing.load())
            std::this_thread::sleep_for(std::chrono::milliseconds(kBatchMs));
        if (rc < 0) {
            if (m_closing.load())
                break;
            code = m_stalled.load() ? VXNET_ERR_TIMEOUT : errorFromAv(rc);
            if (code == VXNET_OK)
                code = VXNET_ERR_STREAM;
            vx_log(VX_LOG_ERROR, "vxnet StreamReader::run [%s] stream ended: %s", m_logUrl.c_str(),
                   failText(rc).c_str());
            break;
        }
        int64_t now = BitrateMeter::nowMs();
        m_deadline.store(now + kStallMs);
        unsigned si = static_cast<unsigned>(pkt->stream_index);
        if (si < index.size() && index[si] >= 0 && pkt->size > 0) {
            m_meter.add(static_cast<size_t>(pkt->size), now);
            if (si < joiners.size() && joiners[si]) {
                joiners[si]->add(pkt->data, pkt->size, pkt->pts, [&](const AccessUnit& au) {
                    deliver(si, au.data, au.size, au.pts, au.pts, au.key);
                });
            } else {
                // Unparsed packets carry no filled-in decoding time: with
                // no reordering known, it is the presentation time.
                const int64_t dts = pkt->dts == AV_NOPTS_VALUE && !joiners.empty() ? pkt->pts : pkt->dts;
                deliver(si, pkt->data, pkt->size, pkt->pts, dts, pkt->flags & AV_PKT_FLAG_KEY);
            }
        }
        av_packet_unref(pkt.get());
    }
    // The last picture of a stream that ended; one its owner closed is not
    // delivered any more.
    if (!m_closing.load()) {
        for (unsigned si = 0; si < joiners.size(); ++si)
            if (joiners[si])
                joiners[si]->flush([&](const AccessUnit& au) { deliver(si, au.data, au.size, au.pts, au.pts, au.key); });
    }
    m_meter.reset();
    if (code != VXNET_OK && !m_closing.load()) {
        m_error.store(code);
        m_finished.store(true);
        // Once, and never for a stream its owner closed.
        if (m_cb.error)
            m_cb.error(m_cb.errorUser, code);
    }
    m_finished.store(true);
}

}  // namespace vxnet
