#include "platform/audio/AudioInput.h"

#include "platform/audio/AudioDevice_p.h"
#include "platform/audio/AudioTestHooks_p.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSource>
#include <QIODevice>
#include <QMediaDevices>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>
#include <vector>

namespace vx {

struct AudioInput::Impl {
    int rate = 0;
    int channels = 0;
    Consumer consumer;
    AudioTestHooks::InputHook hook;
    std::atomic<bool> stop{false};
    std::thread thread;

    void run(std::promise<bool>& started);
};

void AudioInput::Impl::run(std::promise<bool>& started)
{
    if (hook) {
        started.set_value(true);
        const size_t frames = size_t(rate / 50);
        std::vector<int16_t> buf(frames * size_t(channels));
        auto next = std::chrono::steady_clock::now();
        while (!stop) {
            next += std::chrono::milliseconds(20);
            std::this_thread::sleep_until(next);
            if (stop)
                break;
            hook(buf.data(), frames, rate, channels);
            consumer(buf.data(), frames);
        }
        return;
    }
    QIODevice* io = nullptr;
    auto source = StartInt16<QAudioSource>(QMediaDevices::defaultAudioInput(), rate, channels, io);
    if (!source) {
        started.set_value(false);
        return;
    }
    started.set_value(true);
    std::vector<int16_t> buf;
    while (!stop) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const qint64 avail = io->bytesAvailable() / qint64(sizeof(int16_t) * size_t(channels));
        if (avail <= 0)
            continue;
        buf.resize(size_t(avail) * size_t(channels));
        const qint64 got = io->read(reinterpret_cast<char*>(buf.data()), qint64(buf.size() * sizeof(int16_t)));
        if (got > 0)
            consumer(buf.data(), size_t(got) / (sizeof(int16_t) * size_t(channels)));
        if (source->error() != QAudio::NoError && source->error() != QAudio::UnderrunError)
            break;
    }
    source->stop();
}

AudioInput::AudioInput(std::unique_ptr<Impl> impl) : d(std::move(impl)) {}

std::unique_ptr<AudioInput> AudioInput::open(int sampleRate, int channels, Consumer consumer)
{
    if (sampleRate < 1000 || sampleRate > 192000 || channels < 1 || channels > 8 || !consumer)
        return nullptr;
    auto impl = std::make_unique<Impl>();
    impl->rate = sampleRate;
    impl->channels = channels;
    impl->consumer = std::move(consumer);
    impl->hook = audio_hooks::input();
    if (!impl->hook && QMediaDevices::defaultAudioInput().isNull())
        return nullptr;
    std::promise<bool> started;
    std::future<bool> ok = started.get_future();
    Impl* raw = impl.get();
    raw->thread = std::thread([raw, &started] { raw->run(started); });
    if (!ok.get()) {
        raw->thread.join();
        return nullptr;
    }
    return std::unique_ptr<AudioInput>(new AudioInput(std::move(impl)));
}

AudioInput::~AudioInput()
{
    d->stop = true;
    if (d->thread.joinable())
        d->thread.join();
}

}  // namespace vx
