#pragma once

#include "platform/Sound.h"

#include <vector>

namespace platform {

// Test fake: records what a device would play of each image (its format
// and the samples it reads, never more) and how often it was stopped.
class RecordingSoundDevice final : public SoundDevice {
public:
    struct Event {
        enum Kind { Play, Stop } what;
        WavSamples played; // Play: what a device plays; empty for an image it refuses
    };

    void play(const QByteArray& wavImage) override;
    void stop() override;

    const std::vector<Event>& events() const { return events_; }
    // The Play events' samples, in order.
    std::vector<WavSamples> plays() const;
    int stops() const;

private:
    std::vector<Event> events_;
};

} // namespace platform
