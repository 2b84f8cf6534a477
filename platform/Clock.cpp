#include "platform/Clock.h"

#include "platform/InputState.h"

namespace platform {

Clock& CurrentClock()
{
    return InstalledOr<Clock, SystemClock>();
}

void Delay(int ms)
{
    const Clock& clock = CurrentClock();
    InputState& input = CurrentInputState();
    const std::int64_t start = clock.tickCount();
    input.processEvents(0);
    for (;;) {
        const std::int64_t left = ms - (clock.tickCount() - start);
        if (left <= 0)
            break;
        input.processEvents(static_cast<int>(left));
    }
}

} // namespace platform
