#include "platform/fakes/RecordingSoundDevice.h"

namespace platform {

void RecordingSoundDevice::play(const QByteArray& wavImage)
{
    events_.push_back({Event::Play, ReadWavSamples(wavImage).value_or(WavSamples{})});
}

void RecordingSoundDevice::stop()
{
    events_.push_back({Event::Stop, {}});
}

std::vector<WavSamples> RecordingSoundDevice::plays() const
{
    std::vector<WavSamples> played;
    for (const Event& e : events_)
        if (e.what == Event::Play)
            played.push_back(e.played);
    return played;
}

int RecordingSoundDevice::stops() const
{
    int n = 0;
    for (const Event& e : events_)
        n += e.what == Event::Stop ? 1 : 0;
    return n;
}

} // namespace platform
