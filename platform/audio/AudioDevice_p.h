#pragma once
// Opening a sound device for the 16-bit samples both directions use.

#include <QAudioDevice>
#include <QAudioFormat>
#include <QIODevice>

#include <memory>

namespace vx {

// Starts a source or sink (Endpoint) on the device for 16-bit samples at the
// given rate and channel count. Null when there is no device, it cannot take
// that format or it does not start; io is then untouched. The endpoint lives
// and dies on the calling thread, the one that reads or writes it.
template <class Endpoint>
std::unique_ptr<Endpoint> StartInt16(const QAudioDevice& device, int rate, int channels, QIODevice*& io)
{
    QAudioFormat format;
    format.setSampleRate(rate);
    format.setChannelCount(channels);
    format.setSampleFormat(QAudioFormat::Int16);
    if (device.isNull() || !device.isFormatSupported(format))
        return nullptr;
    auto endpoint = std::make_unique<Endpoint>(device, format);
    QIODevice* started = endpoint->start();
    if (!started || endpoint->error() != QAudio::NoError)
        return nullptr;
    io = started;
    return endpoint;
}

}  // namespace vx
