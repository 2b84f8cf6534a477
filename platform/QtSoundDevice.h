#pragma once

// The system's sound output through Qt Multimedia, in a library of its own
// (kaviro_platform_sound) that the program links and the other tests do not.
#include "platform/Sound.h"

#include <QByteArray>
#include <memory>

namespace platform {

// Plays each image on the system's default output from a copy of its
// samples; Qt's audio backend feeds the output, no thread of ours. An
// output that refuses the image's rate plays a copy resampled to the rate
// it prefers.
class QtSoundDevice final : public SoundDevice {
public:
    QtSoundDevice();
    ~QtSoundDevice() override;
    QtSoundDevice(const QtSoundDevice&) = delete;
    QtSoundDevice& operator=(const QtSoundDevice&) = delete;

    void play(const QByteArray& wavImage) override;
    void stop() override;

private:
    struct Playback;
    std::unique_ptr<Playback> playing_;
};

// The system's sound output, installed for the lifetime of this object when
// the system has one (a machine without sound, or a virtual display without
// a sound server, keeps the silent default). Made after the application
// object and gone before it.
class SystemSoundOutput {
public:
    SystemSoundOutput();
    ~SystemSoundOutput();
    SystemSoundOutput(const SystemSoundOutput&) = delete;
    SystemSoundOutput& operator=(const SystemSoundOutput&) = delete;
    bool installed() const { return device_ != nullptr; }

private:
    std::unique_ptr<QtSoundDevice> device_;
    std::unique_ptr<ScopedSoundDevice> use_;
};

// Interleaved 16-bit frames of `channels` samples at fromRate, resampled
// to toRate by linear interpolation between neighbouring frames; the first
// frame is kept. The same bytes when the rates are equal.
QByteArray ResampleFrames(const QByteArray& frames, int channels, int fromRate, int toRate);

} // namespace platform
