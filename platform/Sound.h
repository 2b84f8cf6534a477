#pragma once

#include "platform/ServiceSlot.h"

#include <QByteArray>
#include <optional>

namespace platform {

// The sound output: plays the memory image of a PCM WAV file in the
// background.
class SoundDevice {
public:
    virtual ~SoundDevice() = default;
    // Starts playing the image and returns at once; what was playing is cut
    // off. A device plays the data-size bytes that follow the 44-byte
    // header, in the header's format: never the header, never bytes past
    // that size, and nothing for a data size of 0 or an image that is no
    // PCM WAV.
    virtual void play(const QByteArray& wavImage) = 0;
    // Cuts off what is playing.
    virtual void stop() = 0;
};

// Used while the system offers no sound output (and under test): silence.
class NullSoundDevice final : public SoundDevice {
public:
    void play(const QByteArray&) override {}
    void stop() override {}
};

// The installed device, else silence.
SoundDevice& CurrentSoundDevice();
using ScopedSoundDevice = ScopedService<SoundDevice>;

// What a device plays of a WAV image: its format and the samples.
struct WavSamples {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    QByteArray samples; // whole frames, interleaved, little-endian
    int frameBytes() const { return channels * bitsPerSample / 8; }
};
// The size of the header of the images the program writes.
inline constexpr int WavHeaderSize = 44;
// The samples of a 44-byte-header PCM WAV image: the data-size bytes after
// the header, cut to whole frames and to what the image holds. Nothing for
// an image that is no PCM WAV of 1 or 2 channels of 8 or 16 bits.
std::optional<WavSamples> ReadWavSamples(const QByteArray& wavImage);

} // namespace platform
