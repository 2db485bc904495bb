#include "outside/vxplay/Player.h"

#include "platform/ui/vxsurface.h"
#include "utility/vx_log.h"

#include <cmath>
#include <cstring>
#include <unistd.h>

namespace vxplay {

namespace {
constexpr AVRational kMicro{1, 1000000};
// The ring keeps at least the pre-record and the current group of pictures;
// the cap bounds a camera with a huge bit rate or no key frames.
constexpr size_t kRingMaxBytes = 6 * 1024 * 1024;
constexpr int kMaxPacketBytes = 32 * 1024 * 1024;
// A decoder that falls this far behind the stream starts again at a key frame.
constexpr size_t kMaxDecodeQueue = 250;
constexpr int kMaxTracks = 16;
}  // namespace

Player::Player(bool display, int prerecordMs)
    : m_display(display), m_prerecordUs(int64_t(prerecordMs > 0 ? prerecordMs : 0) * 1000),
      m_tracks(std::make_shared<const std::vector<TrackPtr>>()), m_ring(m_prerecordUs, kRingMaxBytes)
{}

Player::~Player()
{
    shutdown();
}

void Player::shutdown()
{
    if (m_closing.exchange(true))
        return;
    m_playing = false;
    {
        std::unique_ptr<FilePlayer> file;
        {
            std::lock_guard lock(m_fileMutex);
            file = std::move(m_file);
        }
        file.reset();
    }
    stopDecodeThread();
    dropWindowPicture();
    RecordJob open;
    std::optional<RecordJob> start;
    {
        std::lock_guard write(m_writeMutex);
        std::lock_guard lock(m_recMutex);
        open.rec = std::move(m_recorder);
        open.func = m_recFunc;
        open.user = m_recUser;
        start = takeStart();
        m_recOn = false;
        m_ring.clear();
    }
    if (open.rec)
        finishJob(open);
    if (start)
        finishJob(*start);
    failSnapshots(VXPLAY_ERR_NO_PICTURE);
    m_gate.close();
}

bool Player::onOwnThread()
{
    {
        std::lock_guard lock(m_decMutex);
        if (m_decThread.get_id() == std::this_thread::get_id())
            return true;
    }
    std::lock_guard lock(m_fileMutex);
    return m_file && m_file->onOwnThread();
}

void Player::shutdownFromCallback(std::shared_ptr<Player> self)
{
    // This thread holds the gate (it is inside a callback), so closing it
    // takes effect at once; joining this thread has to wait until it returns.
    self->m_gate.close();
    std::thread([self] { self->shutdown(); }).detach();
}

// ---- callbacks

void Player::raiseEvent(int code, int64_t value)
{
    vxplay_event_func func;
    void* user;
    {
        std::lock_guard lock(m_cbMutex);
        func = m_eventFunc;
        user = m_eventUser;
    }
    if (func)
        m_gate.call([&] { func(user, code, value); });
}

void Player::reportResult(vxplay_result_func func, void* user, int result, const std::string& path)
{
    if (func)
        m_gate.call([&] { func(user, result, path.c_str()); });
}

void Player::setDecodeCallback(vxplay_decode_func func, void* user)
{
    std::lock_guard lock(m_cbMutex);
    m_decodeFunc = func;
    m_decodeUser = user;
}

void Player::setEventCallback(vxplay_event_func func, void* user)
{
    std::lock_guard lock(m_cbMutex);
    m_eventFunc = func;
    m_eventUser = user;
}

// ---- play state

int Player::setWindow(void* hwnd)
{
    if (m_closing)
        return VXPLAY_ERR_STATE;
    std::lock_guard lock(m_viewMutex);
    m_view.hwnd = hwnd;
    return VXPLAY_OK;
}

int Player::playStart()
{
    if (m_closing)
        return VXPLAY_ERR_STATE;
    {
        std::lock_guard lock(m_viewMutex);
        m_firstShown = false;
    }
    m_playing = true;
    if (m_display)
        ensureDecodeThread();
    return VXPLAY_OK;
}

int Player::playStop()
{
    if (m_closing)
        return VXPLAY_ERR_STATE;
    m_playing = false;
    fileClose();
    {
        std::lock_guard lock(m_decMutex);
        m_decQueue.clear();
    }
    failSnapshots(VXPLAY_ERR_NO_PICTURE);
    dropWindowPicture();
    return VXPLAY_OK;
}

int Player::setAudioEnabled(bool on)
{
    if (m_closing)
        return VXPLAY_ERR_STATE;
    m_sound = on;
    return VXPLAY_OK;
}

// ---- the stream

std::shared_ptr<const std::vector<TrackPtr>> Player::tracks()
{
    std::lock_guard lock(m_trackMutex);
    return m_tracks;
}

int Player::initTrack(const vxstream_track& desc)
{
    if (m_closing)
        return VXPLAY_ERR_STATE;
    if (desc.stream_index < 0 || desc.stream_index >= kMaxTracks)
        return VXPLAY_ERR_ARG;
    TrackPtr t = Track::fromDescription(desc);
    if (!t)
        return VXPLAY_ERR_ARG;
    // Track 0 comes first in every description of a stream: a new stream
    // (after a reconnect) starts a new table, and the old stream's packets
    // in the ring belong to another time line.
    const bool fresh = desc.stream_index == 0;
    {
        std::lock_guard lock(m_trackMutex);
        auto next = std::make_shared<std::vector<TrackPtr>>(fresh ? std::vector<TrackPtr>() : *m_tracks);
        if (next->size() <= size_t(desc.stream_index))
            next->resize(size_t(desc.stream_index) + 1);
        (*next)[size_t(desc.stream_index)] = t;
        m_tracks = std::move(next);
    }
    if (fresh) {
        std::lock_guard lock(m_recMutex);
        m_ring.clear();
        m_lastTimeUs.clear();
    }
    vx_log(VX_LOG_DEBUG, "vxplay track %d: %s codec %d, time base %d/%d", desc.stream_index,
           t->isVideo() ? "video" : "audio", desc.codec_id, desc.time_base_num, desc.time_base_den);
    return VXPLAY_OK;
}

int Player::input(int streamIndex, int mediaType, const uint8_t* data, int size, int64_t pts, int64_t dts, int flags)
{
    if (m_closing)
        return VXPLAY_ERR_STATE;
    if (!data || size <= 0 || size > kMaxPacketBytes || streamIndex < 0)
        return VXPLAY_ERR_ARG;
    auto all = tracks();
    if (size_t(streamIndex) >= all->size() || !(*all)[size_t(streamIndex)])
        return VXPLAY_ERR_STATE;  // a packet of a track nobody described
    const TrackPtr& track = (*all)[size_t(streamIndex)];
    if (mediaType != track->desc.media_type)
        return VXPLAY_ERR_ARG;

    auto sp = std::make_shared<StreamPacket>();
    sp->pkt = vxwrap::makePacket();
    if (!sp->pkt || av_new_packet(sp->pkt.get(), size) < 0)
        return VXPLAY_ERR_NOMEM;
    memcpy(sp->pkt->data, data, size_t(size));
    sp->pkt->pts = pts == VXSTREAM_NOPTS ? AV_NOPTS_VALUE : pts;
    sp->pkt->dts = dts == VXSTREAM_NOPTS ? AV_NOPTS_VALUE : dts;
    sp->pkt->stream_index = streamIndex;
    sp->pkt->time_base = track->timeBase();
    sp->track = track;
    sp->key = track->isAudio() || (flags & VXSTREAM_FLAG_KEY);
    if (sp->key)
        sp->pkt->flags |= AV_PKT_FLAG_KEY;
    const int64_t stamp = sp->pkt->dts != AV_NOPTS_VALUE ? sp->pkt->dts : sp->pkt->pts;

    // The file work of the recording runs under the write lock only: a
    // start, a status or a count on another thread goes on meanwhile.
    std::unique_lock write(m_writeMutex);
    std::optional<RecordJob> start;
    {
        std::lock_guard lock(m_recMutex);
        if (m_lastTimeUs.size() <= size_t(streamIndex))
            m_lastTimeUs.resize(size_t(streamIndex) + 1, AV_NOPTS_VALUE);
        int64_t& last = m_lastTimeUs[size_t(streamIndex)];
        if (stamp != AV_NOPTS_VALUE)
            sp->timeUs = av_rescale_q(stamp, track->timeBase(), kMicro);
        else
            sp->timeUs = last == AV_NOPTS_VALUE ? 0 : last + 1;  // keeps the order, no better guess
        last = sp->timeUs;
        // A start takes the ring as it was before this packet, which the
        // file gets after them.
        start = takeStart();
        m_ring.push(sp);
    }
    RecordJob failed;
    int result = VXPLAY_OK;
    if (start) {
        // The recording starts here: its file is made on this thread, and
        // the packets before this one go in first.
        result = openJob(*start, m_sound);
        if (result == VXPLAY_OK) {
            m_recorder = std::move(start->rec);
            m_recFunc = start->func;
            m_recUser = start->user;
            result = writePending(*m_recorder, start->pending);
        } else {
            failed = std::move(*start);
        }
    }
    if (m_recorder) {
        const int64_t taken = m_recorder->packetsTaken();
        const int64_t received = m_recorder->packetsReceived();
        if (result == VXPLAY_OK)
            result = m_recorder->write(*sp, *all);
        // What the file counts as its own: from its first picture on, of
        // the tracks it holds. Before it (a stream that has not sent a key
        // frame yet, sound stamped earlier) nothing belongs in the file.
        if (m_recorder->packetsReceived() > received) {
            ++m_receivedWhileRecording;
            m_recordedWhileRecording += m_recorder->packetsTaken() > taken ? 1 : 0;
        }
        if (result != VXPLAY_OK) {
            failed.rec = std::move(m_recorder);
            failed.path = failed.rec->path();
            failed.func = m_recFunc;
            failed.user = m_recUser;
        }
    }
    if (result != VXPLAY_OK) {
        std::lock_guard lock(m_recMutex);
        m_recOn = false;
        m_haveContinueMark = false;
    }
    write.unlock();
    if (result != VXPLAY_OK) {
        // The recording ends here; what reached the file still plays.
        if (failed.rec)
            failed.rec->stop();
        reportResult(failed.func, failed.user, result, failed.path);
    }
    if ((m_display && m_playing) || m_snapshotPending)
        enqueueDecode(sp);
    return VXPLAY_OK;
}

// ---- recording

int Player::writePending(Mp4Recorder& rec, const std::vector<StreamPacketPtr>& pending)
{
    if (pending.empty())
        return VXPLAY_OK;
    auto all = tracks();
    for (const auto& p : pending) {
        const int result = rec.write(*p, *all);
        if (result != VXPLAY_OK)
            return result;
    }
    return VXPLAY_OK;
}

int Player::openJob(RecordJob& job, bool withAudio)
{
    if (job.rec)
        return VXPLAY_OK;
    int result = VXPLAY_OK;
    job.rec = Mp4Recorder::start(job.path, withAudio, &result);
    if (!job.rec)
        vx_log(VX_LOG_ERROR, "vxplay record start %s: %s", job.path.c_str(),
               result == VXPLAY_ERR_EXISTS ? "the file exists" : "cannot create the file");
    return job.rec ? VXPLAY_OK : result;
}

int Player::finishJob(RecordJob& job)
{
    int result = openJob(job, m_sound);
    if (result == VXPLAY_OK) {
        // Closing (the last fragment, the sync) runs outside every lock, so
        // the stream goes on into the ring meanwhile.
        result = writePending(*job.rec, job.pending);
        const int stopped = job.rec->stop();
        if (result == VXPLAY_OK)
            result = stopped;
    }
    reportResult(job.func, job.user, result, job.path);
    return result;
}

std::optional<Player::RecordJob> Player::takeStart()
{
    std::optional<RecordJob> job;
    job.swap(m_start);
    if (job && (!job->fromMark || !m_ring.snapshotFrom(job->mark, job->pending)))
        job->pending = m_ring.snapshot(job->withHistory);
    return job;
}

int Player::recordStart(const std::string& path, int flag, vxplay_result_func func, void* user, bool openNow)
{
    if (m_closing)
        return VXPLAY_ERR_STATE;
    if (path.empty())
        return VXPLAY_ERR_ARG;
    RecordJob job;
    job.path = path;
    job.func = func;
    job.user = user;
    std::unique_lock<std::mutex> write;
    if (openNow) {
        // The file is made under the write lock only, as the reader thread
        // makes one: a status or a count meanwhile never waits for the disk.
        write = std::unique_lock(m_writeMutex);
        if (m_recOn)
            return VXPLAY_ERR_STATE;
        const int result = openJob(job, m_sound);
        if (result != VXPLAY_OK)
            return result;
    }
    std::unique_lock lock(m_recMutex);
    if (m_recOn) {
        // Another start came first: the file made for this one goes again
        // (a file without a picture is removed by its stop).
        lock.unlock();
        if (job.rec)
            job.rec->stop();
        return VXPLAY_ERR_STATE;
    }
    job.withHistory = flag != 0;
    job.fromMark = flag != 0 && m_haveContinueMark;
    job.mark = m_continueMark;
    m_haveContinueMark = false;
    m_start = std::move(job);
    m_recOn = true;
    vx_log(VX_LOG_INFO, "vxplay record start %s", path.c_str());
    return VXPLAY_OK;
}

void Player::recordCounts(int64_t* received, int64_t* recorded) const
{
    *received = m_receivedWhileRecording.load();
    *recorded = m_recordedWhileRecording.load();
}

int Player::recordStop()
{
    RecordJob job;
    {
        // Waits for the packet being written (the file stays whole).
        std::lock_guard write(m_writeMutex);
        std::lock_guard lock(m_recMutex);
        if (!m_recOn)
            return VXPLAY_ERR_STATE;
        m_recOn = false;
        if (std::optional<RecordJob> start = takeStart()) {
            // No packet came since the start: the stop makes the file.
            job = std::move(*start);
        } else {
            job.rec = std::move(m_recorder);
            job.path = job.rec ? job.rec->path() : std::string();
            job.func = m_recFunc;
            job.user = m_recUser;
        }
        // Every packet up to here goes into the file: a next segment takes
        // on from the group of pictures it ended in.
        m_haveContinueMark = !job.rec || !job.rec->failed();
        if (m_haveContinueMark)
            m_continueMark = m_ring.continueMark();
    }
    if (!job.rec && job.path.empty())
        return VXPLAY_ERR_STATE;
    return finishJob(job);
}

// ---- pictures

int Player::setAspect(float aspect)
{
    if (!std::isfinite(aspect) || aspect < 0.0f || aspect > 100.0f)
        return VXPLAY_ERR_ARG;
    std::lock_guard lock(m_viewMutex);
    m_view.aspect = aspect;
    return VXPLAY_OK;
}

int Player::setTransform(int transform)
{
    if (transform < 0 || transform > 3)
        return VXPLAY_ERR_ARG;
    std::lock_guard lock(m_viewMutex);
    m_view.transform = transform;
    return VXPLAY_OK;
}

int Player::setOsd(int slot, const char* text)
{
    if (slot != 0 && slot != -1)
        return VXPLAY_ERR_ARG;
    {
        std::lock_guard lock(m_viewMutex);
        if (slot == -1)
            m_view.osd.clear();
        else
            m_view.osd = text ? std::string(text, strnlen(text, 1024)) : std::string();
    }
    return VXPLAY_OK;
}

int Player::displayLast()
{
    if (m_closing)
        return VXPLAY_ERR_STATE;
    std::lock_guard show(m_showMutex);
    vxwrap::FramePtr last;
    View view;
    {
        std::lock_guard lock(m_viewMutex);
        if (!m_last)
            return VXPLAY_ERR_NO_PICTURE;
        last = vxwrap::makeFrame();
        if (!last || av_frame_ref(last.get(), m_last.get()) < 0)
            return VXPLAY_ERR_NOMEM;
        view = m_view;
    }
    present(last.get(), view);
    return VXPLAY_OK;
}

// A stopped or destroyed player leaves no frozen picture in its window: the
// window shows its own painting (its status text) again. Under the show lock,
// so a picture being handed over now goes first; a callback of the player's
// own thread already holds it.
void Player::dropWindowPicture()
{
    std::unique_lock<std::mutex> show(m_showMutex, std::defer_lock);
    if (!onOwnThread())
        show.lock();
    std::lock_guard lock(m_viewMutex);
    if (m_view.hwnd)
        vx_surface_clear(m_view.hwnd);
}

void Player::present(const AVFrame* frame, const View& view)
{
    if (!view.hwnd)
        return;
    if (!m_converter.toBgra(frame, view.transform, m_bgra))
        return;
    vxsurface_frame f{};
    f.pixels = m_bgra.pixels.data();
    f.width = m_bgra.width;
    f.height = m_bgra.height;
    f.stride = m_bgra.stride;
    if (view.aspect <= 0.0f) {
        f.aspect = 0.0f;
    } else if (view.aspect == 1.0f) {
        // Exact fit: the picture's own shape, pixel aspect included.
        AVRational sar = frame->sample_aspect_ratio;
        if (sar.num <= 0 || sar.den <= 0)
            sar = AVRational{1, 1};
        f.aspect = float(double(frame->width) * sar.num / (double(frame->height) * sar.den));
    } else {
        f.aspect = view.aspect;
    }
    f.osd_text = view.osd.c_str();
    vx_surface_present(view.hwnd, &f);
}

void Player::showPicture(AVFrame* frame)
{
    if (m_closing)
        return;
    bool first = false;
    View view;
    std::vector<PendingSnapshot> snaps;
    std::lock_guard show(m_showMutex);
    {
        std::lock_guard lock(m_viewMutex);
        // A recorder decodes only for a snapshot and keeps no picture: its
        // next snapshot must not be an old one.
        if (m_display) {
            if (!m_last)
                m_last = vxwrap::makeFrame();
            else
                av_frame_unref(m_last.get());
            if (m_last && av_frame_ref(m_last.get(), frame) < 0)
                m_last.reset();
        }
        view = m_view;
        snaps.swap(m_snapshots);
        m_snapshotPending = false;
        if (m_display && m_playing && !m_firstShown) {
            first = true;
            m_firstShown = true;
        }
    }
    present(frame, view);
    for (const auto& s : snaps) {
        const int result = m_converter.writePng(frame, view.transform, s.path);
        vx_log(result == VXPLAY_OK ? VX_LOG_INFO : VX_LOG_ERROR, "vxplay snapshot %s: %d", s.path.c_str(), result);
        reportResult(s.func, s.user, result, s.path);
    }
    if (first) {
        vxplay_decode_func func;
        void* user;
        {
            std::lock_guard lock(m_cbMutex);
            func = m_decodeFunc;
            user = m_decodeUser;
        }
        if (func)
            m_gate.call([&] { func(user, 0, 0); });
        raiseEvent(VXPLAY_EVENT_VOUT, 0);
    }
}

int Player::snapshot(const std::string& path, vxplay_result_func func, void* user)
{
    if (m_closing)
        return VXPLAY_ERR_STATE;
    if (path.empty())
        return VXPLAY_ERR_ARG;
    if (::access(path.c_str(), F_OK) == 0)
        return VXPLAY_ERR_EXISTS;
    vxwrap::FramePtr last;
    int transform = 0;
    {
        std::lock_guard lock(m_viewMutex);
        transform = m_view.transform;
        if (m_last) {
            last = vxwrap::makeFrame();
            if (!last || av_frame_ref(last.get(), m_last.get()) < 0)
                return VXPLAY_ERR_NOMEM;
        }
    }
    if (last) {
        int result;
        {
            std::lock_guard show(m_showMutex);
            result = m_converter.writePng(last.get(), transform, path);
        }
        reportResult(func, user, result, path);
        return result;
    }
    bool hasVideo = false;
    for (const auto& t : *tracks())
        hasVideo = hasVideo || (t && t->isVideo());
    std::lock_guard file(m_fileMutex);
    if (!hasVideo && !m_file)
        return VXPLAY_ERR_NO_PICTURE;
    {
        std::lock_guard lock(m_viewMutex);
        m_snapshots.push_back(PendingSnapshot{path, func, user});
        m_snapshotPending = true;
    }
    if (!m_file)
        ensureDecodeThread();
    return VXPLAY_OK;
}

void Player::failSnapshots(int result)
{
    std::vector<PendingSnapshot> snaps;
    {
        std::lock_guard lock(m_viewMutex);
        snaps.swap(m_snapshots);
        m_snapshotPending = false;
    }
    for (const auto& s : snaps)
        reportResult(s.func, s.user, result, s.path);
}

// ---- the decode thread

void Player::ensureDecodeThread()
{
    std::lock_guard lock(m_decMutex);
    if (m_decThread.joinable() || m_closing)
        return;
    m_decStop = false;
    m_decThread = std::thread([this] { decodeLoop(); });
}

void Player::stopDecodeThread()
{
    std::thread t;
    {
        std::lock_guard lock(m_decMutex);
        m_decStop = true;
        m_decQueue.clear();
        m_decChanged.notify_all();
        t = std::move(m_decThread);
    }
    if (!t.joinable())
        return;
    if (t.get_id() == std::this_thread::get_id())
        t.detach();  // destroyed from its own callback: it leaves when the callback returns
    else
        t.join();
}

void Player::enqueueDecode(StreamPacketPtr p)
{
    std::lock_guard lock(m_decMutex);
    if (m_decStop || !m_decThread.joinable())
        return;
    if (m_decQueue.size() >= kMaxDecodeQueue) {
        vx_log(VX_LOG_WARN, "vxplay decoding falls behind the stream, skipping to the next key frame");
        m_decQueue.clear();
    }
    m_decQueue.push_back(std::move(p));
    m_decChanged.notify_one();
}

void Player::decodeLoop()
{
    std::unique_ptr<VideoDecoder> decoder;
    TrackPtr decoderTrack;
    bool waitKey = true;
    bool decoderFailed = false;
    SoundSink sound;
    vxwrap::CodecParametersPtr par(avcodec_parameters_alloc());
    vxwrap::CodecParametersPtr soundPar(avcodec_parameters_alloc());
    TrackPtr soundTrack;
    for (;;) {
        StreamPacketPtr p;
        {
            std::unique_lock lock(m_decMutex);
            m_decChanged.wait(lock, [&] { return m_decStop || !m_decQueue.empty(); });
            if (m_decStop)
                return;
            p = std::move(m_decQueue.front());
            m_decQueue.pop_front();
        }
        if (p->isVideo()) {
            if (p->track != decoderTrack) {
                decoderTrack = p->track;
                decoder.reset();
                decoderFailed = false;
                if (par && decoderTrack->toParameters(par.get()) >= 0)
                    decoder = VideoDecoder::create(par.get(), decoderTrack->timeBase());
                waitKey = true;
                if (!decoder) {
                    decoderFailed = true;
                    raiseEvent(VXPLAY_EVENT_STREAM_FAILED, 0);
                }
            }
            if (decoderFailed || !decoder)
                continue;
            if (waitKey && !p->key)
                continue;
            waitKey = false;
            if (decoder->decode(p->pkt.get(), [&](AVFrame* f) { showPicture(f); }) < 0)
                waitKey = true;
        } else if (m_display && m_playing && m_sound && soundPar) {
            if (p->track != soundTrack) {
                soundTrack = p->track;
                if (soundTrack->toParameters(soundPar.get()) < 0)
                    continue;
            }
            sound.play(soundPar.get(), soundTrack->timeBase(), p->pkt.get());
        }
    }
}

// ---- files

int Player::fileSet(const std::string& path)
{
    if (m_closing)
        return VXPLAY_ERR_STATE;
    if (path.empty())
        return VXPLAY_ERR_ARG;
    std::lock_guard lock(m_fileMutex);
    m_filePath = path;
    return VXPLAY_OK;
}

int Player::fileInterrupt(bool on)
{
    m_fileInterrupt = on;
    return VXPLAY_OK;
}

int Player::fileOpen()
{
    if (m_closing)
        return VXPLAY_ERR_STATE;
    if (m_fileInterrupt)
        return VXPLAY_ERR_IO;
    {
        // A file still playing is closed first, outside the lock: its thread
        // may be inside a callback that calls back into this instance.
        std::unique_ptr<FilePlayer> old;
        {
            std::lock_guard lock(m_fileMutex);
            old = std::move(m_file);
        }
    }
    std::lock_guard lock(m_fileMutex);
    if (m_filePath.empty() || m_file)
        return VXPLAY_ERR_STATE;
    {
        std::lock_guard view(m_viewMutex);
        m_firstShown = false;
    }
    auto file = std::make_unique<FilePlayer>(static_cast<FileHost&>(*this));
    m_playing = true;  // before the file thread shows its first picture
    const int result = file->open(m_filePath);
    if (result != VXPLAY_OK) {
        m_playing = false;
        vx_log(VX_LOG_ERROR, "vxplay file open failed: %d", result);
        return result;
    }
    m_file = std::move(file);
    return VXPLAY_OK;
}

int Player::fileClose()
{
    std::unique_ptr<FilePlayer> file;
    {
        std::lock_guard lock(m_fileMutex);
        file = std::move(m_file);
    }
    if (!file)
        return VXPLAY_ERR_STATE;
    file->close();
    return VXPLAY_OK;
}

int Player::filePause()
{
    std::lock_guard lock(m_fileMutex);
    return m_file ? m_file->pause() : VXPLAY_ERR_STATE;
}

int Player::fileResume()
{
    std::lock_guard lock(m_fileMutex);
    return m_file ? m_file->resume() : VXPLAY_ERR_STATE;
}

int64_t Player::fileLength()
{
    std::lock_guard lock(m_fileMutex);
    return m_file ? m_file->lengthUs() : -1;
}

int64_t Player::filePosition()
{
    std::lock_guard lock(m_fileMutex);
    return m_file ? m_file->positionUs() : -1;
}

int Player::fileSeek(int64_t us)
{
    std::lock_guard lock(m_fileMutex);
    return m_file ? m_file->seek(us) : VXPLAY_ERR_STATE;
}

}  // namespace vxplay
