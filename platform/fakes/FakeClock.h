#pragma once

#include "platform/Clock.h"

namespace platform {

// Test fake: time moves only when the test advances it.
class FakeClock final : public Clock {
public:
    std::int64_t tickCount() const override { return now_; }
    void advance(std::int64_t ms) { now_ += ms; }

private:
    std::int64_t now_ = 0;
};

} // namespace platform
