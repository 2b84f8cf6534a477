#pragma once

#include "platform/ServiceSlot.h"

#include <QElapsedTimer>
#include <cstdint>

namespace platform {

// A millisecond tick count that never runs backwards.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t tickCount() const = 0;
};

class SystemClock final : public Clock {
public:
    SystemClock() { timer_.start(); }
    std::int64_t tickCount() const override { return timer_.elapsed(); }

private:
    QElapsedTimer timer_;
};

// The installed clock, else the system's.
Clock& CurrentClock();
using ScopedClock = ScopedService<Clock>;

// Waits ms milliseconds while handling events (user input is dropped, key
// state is kept). Pending events are handled at least once, even for 0.
void Delay(int ms);

} // namespace platform
