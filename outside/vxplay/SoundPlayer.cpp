#include "outside/vxplay/SoundPlayer.h"

#include "outside/vxplay/AvError.h"
#include "outside/vxplay/SoundSink.h"
#include "outside/vxplay/vxplay.h"
#include "outside/wrap/FfmpegHandles.h"
#include "platform/audio/AudioOutput.h"
#include "utility/vx_log.h"

#include <atomic>
#include <chrono>
#include <list>
#include <mutex>
#include <thread>

namespace vxplay {

namespace {

constexpr AVRational kMicro{1, 1000000};
// The decoder keeps this far ahead of what is heard: enough to ride out a
// busy machine, less than the output's queue.
constexpr int64_t kLeadUs = 500000;
constexpr int kMaxBackground = 8;

struct Job {
    std::thread thread;
    std::atomic<bool> stop{false};
    std::atomic<bool> done{false};
};

std::mutex g_jobsMutex;  // guards g_jobs
std::list<std::unique_ptr<Job>> g_jobs;

// A program that ends while a sound still plays: the sound ends with it.
struct JobsAtExit {
    ~JobsAtExit() { SoundPlayer::stopAll(); }
} g_jobsAtExit;

struct OpenedFile {
    vxwrap::InputFormatPtr fmt;
    int audio = -1;
};

int openFile(const std::string& path, OpenedFile& f)
{
    AVFormatContext* ctx = nullptr;
    int err = avformat_open_input(&ctx, path.c_str(), nullptr, nullptr);
    if (err < 0) {
        vx_log(VX_LOG_ERROR, "vxplay play_wav %s: %s", path.c_str(), avErrorText(err).c_str());
        return VXPLAY_ERR_IO;
    }
    f.fmt.reset(ctx);
    if (avformat_find_stream_info(ctx, nullptr) < 0)
        return VXPLAY_ERR_CODEC;
    f.audio = av_find_best_stream(ctx, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (f.audio < 0) {
        vx_log(VX_LOG_ERROR, "vxplay play_wav %s: no sound in the file", path.c_str());
        return VXPLAY_ERR_CODEC;
    }
    return VXPLAY_OK;
}

int playFile(OpenedFile& f, const std::atomic<bool>* stop)
{
    AVStream* st = f.fmt->streams[f.audio];
    SoundSink sink;
    vxwrap::PacketPtr pkt = vxwrap::makePacket();
    if (!pkt)
        return VXPLAY_ERR_NOMEM;
    const auto start = std::chrono::steady_clock::now();
    int64_t firstUs = AV_NOPTS_VALUE;
    while ((!stop || !*stop) && av_read_frame(f.fmt.get(), pkt.get()) >= 0) {
        if (pkt->stream_index == f.audio) {
            sink.play(st->codecpar, st->time_base, pkt.get());
            if (sink.deviceMissing())
                return VXPLAY_ERR_DEVICE;
            if (pkt->pts != AV_NOPTS_VALUE) {
                const int64_t us = av_rescale_q(pkt->pts, st->time_base, kMicro);
                if (firstUs == AV_NOPTS_VALUE)
                    firstUs = us;
                std::this_thread::sleep_until(start + std::chrono::microseconds(us - firstUs - kLeadUs));
            }
        }
        av_packet_unref(pkt.get());
    }
    if (!stop || !*stop)
        sink.drain(int(kLeadUs / 1000) * 4);
    return VXPLAY_OK;
}

}  // namespace

int SoundPlayer::play(const std::string& path, bool async)
{
    OpenedFile f;
    int result = openFile(path, f);
    if (result != VXPLAY_OK)
        return result;
    if (!async)
        return playFile(f, nullptr);

    const AVCodecParameters* par = f.fmt->streams[f.audio]->codecpar;
    if (!vx::AudioOutput::open(par->sample_rate > 0 ? par->sample_rate : 8000, par->ch_layout.nb_channels > 1 ? 2 : 1))
        return VXPLAY_ERR_DEVICE;
    std::lock_guard lock(g_jobsMutex);
    for (auto it = g_jobs.begin(); it != g_jobs.end();) {
        if ((*it)->done) {
            (*it)->thread.join();
            it = g_jobs.erase(it);
        } else {
            ++it;
        }
    }
    if (g_jobs.size() >= kMaxBackground)
        return VXPLAY_ERR_STATE;  // a host that plays sounds faster than they end
    auto job = std::make_unique<Job>();
    Job* raw = job.get();
    auto file = std::make_shared<OpenedFile>(std::move(f));
    raw->thread = std::thread([raw, file] {
        playFile(*file, &raw->stop);
        raw->done = true;
    });
    g_jobs.push_back(std::move(job));
    return VXPLAY_OK;
}

void SoundPlayer::stopAll()
{
    std::list<std::unique_ptr<Job>> jobs;
    {
        std::lock_guard lock(g_jobsMutex);
        jobs.swap(g_jobs);
    }
    for (auto& j : jobs) {
        j->stop = true;
        j->thread.join();
    }
}

}  // namespace vxplay
