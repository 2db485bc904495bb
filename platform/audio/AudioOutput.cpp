#include "platform/audio/AudioOutput.h"

#include "platform/audio/AudioDevice_p.h"
#include "platform/audio/AudioTestHooks_p.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

namespace vx {

struct AudioOutput::Impl {
    int rate = 0;
    int channels = 0;
    AudioTestHooks::OutputHook hook;

    std::mutex mutex;  // guards queue and the flags below it
    std::condition_variable changed;
    std::deque<int16_t> queue;
    bool stop = false;
    bool failed = false;
    bool busy = false;  // the device still plays what it was given
    std::thread thread;

    size_t maxQueued() const { return size_t(rate) * size_t(channels) * 2; }
    void run(std::promise<bool>& started);
    void runHook(std::promise<bool>& started);
    void runDevice(std::promise<bool>& started);
    // Up to max samples from the front of the queue.
    std::vector<int16_t> take(size_t max);
};

std::vector<int16_t> AudioOutput::Impl::take(size_t max)
{
    std::lock_guard lock(mutex);
    const size_t n = std::min(max, queue.size());
    std::vector<int16_t> out(queue.begin(), queue.begin() + long(n));
    queue.erase(queue.begin(), queue.begin() + long(n));
    // Taken is not yet played: drain() waits for busy to clear as well.
    busy = busy || n > 0;
    return out;
}

void AudioOutput::Impl::runHook(std::promise<bool>& started)
{
    started.set_value(true);
    const size_t block = size_t(std::max(1, rate / 100)) * size_t(channels);
    auto next = std::chrono::steady_clock::now();
    for (;;) {
        std::vector<int16_t> samples = take(block);
        if (!samples.empty())
            hook(samples.data(), samples.size() / size_t(channels), rate, channels);
        next += std::chrono::milliseconds(10);
        std::unique_lock lock(mutex);
        busy = false;
        if (queue.empty())
            changed.notify_all();
        if (changed.wait_until(lock, next, [&] { return stop; }))
            return;
        if (next < std::chrono::steady_clock::now() - std::chrono::seconds(1))
            next = std::chrono::steady_clock::now();  // fell far behind: do not hurry to catch up
    }
}

void AudioOutput::Impl::runDevice(std::promise<bool>& started)
{
    QIODevice* io = nullptr;
    auto sink = StartInt16<QAudioSink>(QMediaDevices::defaultAudioOutput(), rate, channels, io);
    if (!sink) {
        started.set_value(false);
        return;
    }
    started.set_value(true);
    for (;;) {
        {
            std::lock_guard lock(mutex);
            if (stop)
                break;
        }
        if (sink->error() != QAudio::NoError && sink->error() != QAudio::UnderrunError) {
            std::lock_guard lock(mutex);
            failed = true;
            changed.notify_all();
            break;
        }
        const qsizetype room = sink->bytesFree() / qsizetype(sizeof(int16_t));
        std::vector<int16_t> samples = take(size_t(std::max<qsizetype>(room, 0)));
        if (!samples.empty())
            io->write(reinterpret_cast<const char*>(samples.data()), qint64(samples.size() * sizeof(int16_t)));
        {
            std::lock_guard lock(mutex);
            busy = sink->bytesFree() < sink->bufferSize() && sink->state() == QAudio::ActiveState;
            if (queue.empty() && !busy)
                changed.notify_all();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    sink->stop();
}

void AudioOutput::Impl::run(std::promise<bool>& started)
{
    if (hook)
        runHook(started);
    else
        runDevice(started);
}

AudioOutput::AudioOutput(std::unique_ptr<Impl> impl) : d(std::move(impl)) {}

std::unique_ptr<AudioOutput> AudioOutput::open(int sampleRate, int channels)
{
    if (sampleRate < 1000 || sampleRate > 192000 || channels < 1 || channels > 8)
        return nullptr;
    auto impl = std::make_unique<Impl>();
    impl->rate = sampleRate;
    impl->channels = channels;
    impl->hook = audio_hooks::output();
    if (!impl->hook && QMediaDevices::defaultAudioOutput().isNull())
        return nullptr;  // no device: fail before starting a thread
    std::promise<bool> started;
    std::future<bool> ok = started.get_future();
    Impl* raw = impl.get();
    raw->thread = std::thread([raw, &started] { raw->run(started); });
    if (!ok.get()) {
        raw->thread.join();
        return nullptr;
    }
    return std::unique_ptr<AudioOutput>(new AudioOutput(std::move(impl)));
}

AudioOutput::~AudioOutput()
{
    {
        std::lock_guard lock(d->mutex);
        d->stop = true;
        d->changed.notify_all();
    }
    if (d->thread.joinable())
        d->thread.join();
}

bool AudioOutput::write(const int16_t* samples, size_t frames)
{
    std::lock_guard lock(d->mutex);
    if (d->failed)
        return false;
    d->queue.insert(d->queue.end(), samples, samples + frames * size_t(d->channels));
    if (d->queue.size() > d->maxQueued())
        d->queue.erase(d->queue.begin(), d->queue.begin() + long(d->queue.size() - d->maxQueued()));
    return true;
}

bool AudioOutput::drain(int timeoutMs)
{
    std::unique_lock lock(d->mutex);
    return d->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        return d->failed || (d->queue.empty() && !d->busy);
    }) && !d->failed;
}

int AudioOutput::sampleRate() const
{
    return d->rate;
}

int AudioOutput::channels() const
{
    return d->channels;
}

}  // namespace vx
