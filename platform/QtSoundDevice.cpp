#include "platform/QtSoundDevice.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QtEndian>
#include <cmath>
#include <cstdint>

namespace platform {

namespace {

// Enough to bridge the moments when the program computes without handling
// events.
constexpr int BufferMs = 250;

QAudioFormat FormatOf(const WavSamples& wav)
{
    QAudioFormat format;
    format.setSampleRate(wav.sampleRate);
    format.setChannelCount(wav.channels);
    format.setSampleFormat(wav.bitsPerSample == 16 ? QAudioFormat::Int16 : QAudioFormat::UInt8);
    return format;
}

} // namespace

struct QtSoundDevice::Playback {
    QByteArray samples;
    QBuffer buffer;
    std::unique_ptr<QAudioSink> sink;
};

QtSoundDevice::QtSoundDevice() = default;

QtSoundDevice::~QtSoundDevice()
{
    stop();
}

void QtSoundDevice::play(const QByteArray& wavImage)
{
    stop();
    std::optional<WavSamples> wav = ReadWavSamples(wavImage);
    if (!wav || wav->samples.isEmpty())
        return;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return;
    QAudioFormat format = FormatOf(*wav);
    if (!device.isFormatSupported(format) && wav->bitsPerSample == 16) {
        const int rate = device.preferredFormat().sampleRate();
        wav->samples = ResampleFrames(wav->samples, wav->channels, wav->sampleRate, rate);
        wav->sampleRate = rate;
        format.setSampleRate(rate);
    }
    auto playback = std::make_unique<Playback>();
    playback->samples = std::move(wav->samples);
    playback->buffer.setBuffer(&playback->samples);
    playback->buffer.open(QIODevice::ReadOnly);
    playback->sink = std::make_unique<QAudioSink>(device, format);
    playback->sink->setBufferSize(format.bytesForDuration(BufferMs * 1000));
    QAudioSink* sink = playback->sink.get();
    // Played to its end: the output is let go.
    QObject::connect(sink, &QAudioSink::stateChanged, sink, [sink](QAudio::State state) {
        if (state == QAudio::IdleState)
            sink->stop();
    });
    sink->start(&playback->buffer);
    playing_ = std::move(playback);
}

void QtSoundDevice::stop()
{
    if (!playing_)
        return;
    playing_->sink->stop();
    playing_.reset();
}

SystemSoundOutput::SystemSoundOutput()
{
    if (QMediaDevices::audioOutputs().isEmpty())
        return;
    device_ = std::make_unique<QtSoundDevice>();
    use_ = std::make_unique<ScopedSoundDevice>(*device_);
}

SystemSoundOutput::~SystemSoundOutput()
{
    use_.reset();
    device_.reset();
}

QByteArray ResampleFrames(const QByteArray& frames, int channels, int fromRate, int toRate)
{
    if (fromRate == toRate || fromRate <= 0 || toRate <= 0 || channels <= 0)
        return frames;
    const qint64 frameBytes = 2 * channels;
    const qint64 count = frames.size() / frameBytes;
    if (count == 0)
        return {};
    const qint64 outCount = std::max<qint64>(1, count * toRate / fromRate);
    const char* in = frames.constData();
    auto sample = [&](qint64 frame, int channel) {
        return qFromLittleEndian<std::int16_t>(in + frame * frameBytes + 2 * channel);
    };
    QByteArray out(outCount * frameBytes, Qt::Uninitialized);
    char* to = out.data();
    for (qint64 i = 0; i < outCount; ++i) {
        // The frame's position in the input, in input frames.
        const qint64 scaled = i * fromRate;
        const qint64 first = std::min(scaled / toRate, count - 1);
        const qint64 second = std::min(first + 1, count - 1);
        const double t = static_cast<double>(scaled % toRate) / toRate;
        for (int c = 0; c < channels; ++c) {
            const double v = sample(first, c) + (sample(second, c) - sample(first, c)) * t;
            qToLittleEndian<std::int16_t>(static_cast<std::int16_t>(std::lround(v)), to + i * frameBytes + 2 * c);
        }
    }
    return out;
}

} // namespace platform
