#include "platform/Sound.h"

#include <QtEndian>

namespace platform {

namespace {

std::uint32_t Read32(const QByteArray& image, int at)
{
    return qFromLittleEndian<std::uint32_t>(image.constData() + at);
}

std::uint16_t Read16(const QByteArray& image, int at)
{
    return qFromLittleEndian<std::uint16_t>(image.constData() + at);
}

} // namespace

SoundDevice& CurrentSoundDevice()
{
    return InstalledOr<SoundDevice, NullSoundDevice>();
}

std::optional<WavSamples> ReadWavSamples(const QByteArray& wavImage)
{
    if (wavImage.size() < WavHeaderSize || !wavImage.startsWith("RIFF") || wavImage.mid(8, 8) != "WAVEfmt "
        || wavImage.mid(36, 4) != "data" || Read16(wavImage, 20) != 1)
        return std::nullopt;
    WavSamples wav;
    wav.channels = Read16(wavImage, 22);
    wav.sampleRate = static_cast<int>(Read32(wavImage, 24));
    wav.bitsPerSample = Read16(wavImage, 34);
    if ((wav.channels != 1 && wav.channels != 2) || (wav.bitsPerSample != 8 && wav.bitsPerSample != 16)
        || wav.sampleRate <= 0)
        return std::nullopt;
    const qint64 held = wavImage.size() - WavHeaderSize;
    qint64 size = std::min<qint64>(Read32(wavImage, 40), held);
    size -= size % wav.frameBytes();
    wav.samples = wavImage.mid(WavHeaderSize, size);
    return wav;
}

} // namespace platform
