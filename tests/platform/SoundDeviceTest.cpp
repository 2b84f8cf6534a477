// What a sound device plays of a WAV image (the samples its header counts,
// whole frames, nothing past them), the copy resampled for an output that
// refuses the image's rate.
#include "platform/QtSoundDevice.h"
#include "platform/fakes/RecordingSoundDevice.h"

#include <QtEndian>
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace {

// A PCM WAV image: the 44-byte header saying dataSize, then the bytes.
QByteArray WavImage(int channels, int rate, int bits, std::uint32_t dataSize, const QByteArray& bytes)
{
    QByteArray image(44, '\0');
    char* h = image.data();
    memcpy(h, "RIFF", 4);
    qToLittleEndian<std::uint32_t>(dataSize + 36, h + 4);
    memcpy(h + 8, "WAVEfmt ", 8);
    qToLittleEndian<std::uint32_t>(16, h + 16);
    qToLittleEndian<std::uint16_t>(1, h + 20);
    qToLittleEndian<std::uint16_t>(static_cast<std::uint16_t>(channels), h + 22);
    qToLittleEndian<std::uint32_t>(static_cast<std::uint32_t>(rate), h + 24);
    const int block = channels * bits / 8;
    qToLittleEndian<std::uint32_t>(static_cast<std::uint32_t>(block * rate), h + 28);
    qToLittleEndian<std::uint16_t>(static_cast<std::uint16_t>(block), h + 32);
    qToLittleEndian<std::uint16_t>(static_cast<std::uint16_t>(bits), h + 34);
    memcpy(h + 36, "data", 4);
    qToLittleEndian<std::uint32_t>(dataSize, h + 40);
    return image + bytes;
}

QByteArray Frames16(const std::vector<std::int16_t>& samples)
{
    QByteArray bytes(static_cast<qsizetype>(samples.size() * 2), '\0');
    for (std::size_t i = 0; i < samples.size(); ++i)
        qToLittleEndian<std::int16_t>(samples[i], bytes.data() + 2 * i);
    return bytes;
}

TEST(SoundDeviceTest, ADevicePlaysOnlyTheSamplesTheHeaderCounts)
{
    const QByteArray eight = Frames16({1, 2, 3, 4, 5, 6, 7, 8}); // 4 stereo frames
    struct Case {
        const char* What;
        QByteArray Image;
        int Bytes; // -1: refused
    };
    const Case cases[] = {
        {"all held", WavImage(2, 22050, 16, 16, eight), 16},
        {"bytes past the data size", WavImage(2, 22050, 16, 8, eight), 8},
        {"a data size past the image", WavImage(2, 22050, 16, 1000, eight), 16},
        {"a part of a frame", WavImage(2, 22050, 16, 10, eight), 8},
        {"data size 0", WavImage(2, 22050, 16, 0, eight), 0},
        {"mono, 8 bits", WavImage(1, 8000, 8, 3, eight), 3},
        {"no header", eight, -1},
        {"24 bits", WavImage(2, 22050, 24, 12, eight), -1},
        {"a rate of 0", WavImage(2, 0, 16, 16, eight), -1},
    };
    for (const Case& c : cases) {
        const std::optional<platform::WavSamples> wav = platform::ReadWavSamples(c.Image);
        ASSERT_EQ(wav.has_value(), c.Bytes >= 0) << c.What;
        if (wav) {
            EXPECT_EQ(wav->samples, eight.left(c.Bytes)) << c.What;
        }
    }
    // The recording fake reports what a device plays.
    platform::RecordingSoundDevice device;
    device.play(WavImage(2, 22050, 16, 8, eight));
    device.stop();
    ASSERT_EQ(device.plays().size(), 1u);
    EXPECT_EQ(device.plays().front().samples, eight.left(8));
    EXPECT_EQ(device.plays().front().sampleRate, 22050);
    EXPECT_EQ(device.stops(), 1);
}

TEST(SoundDeviceTest, AnOutputThatRefusesTheRatePlaysAResampledCopy)
{
    // Two stereo frames: (0, 100) then (1000, -100).
    const QByteArray two = Frames16({0, 100, 1000, -100});
    EXPECT_EQ(platform::ResampleFrames(two, 2, 22050, 22050), two);
    // Twice the rate: the frame between the two is their mean; the last
    // stays until its end.
    EXPECT_EQ(platform::ResampleFrames(two, 2, 22050, 44100), Frames16({0, 100, 500, 0, 1000, -100, 1000, -100}));
    // Half the rate: every other frame, the first kept.
    EXPECT_EQ(platform::ResampleFrames(Frames16({1, 2, 3, 4}), 1, 44100, 22050), Frames16({1, 3}));
    EXPECT_TRUE(platform::ResampleFrames(QByteArray(), 2, 8000, 48000).isEmpty());
    // A second of sound stays a second long.
    const QByteArray second(22050 * 4, '\0');
    EXPECT_EQ(platform::ResampleFrames(second, 2, 22050, 48000).size(), 48000 * 4);
}

} // namespace
