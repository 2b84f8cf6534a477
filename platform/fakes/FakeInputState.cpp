#include "platform/fakes/FakeInputState.h"

namespace platform {

bool FakeInputState::isKeyDown(int virtualKey) const
{
    return virtualKey > 0 && virtualKey < VirtualKeyCount && down_[virtualKey];
}

void FakeInputState::processEvents(int maxWaitMs)
{
    rounds_.push_back(maxWaitMs);
    if (action_)
        action_(maxWaitMs);
}

void FakeInputState::setKeyDown(int virtualKey, bool down)
{
    if (virtualKey > 0 && virtualKey < VirtualKeyCount)
        down_[virtualKey] = down;
}

} // namespace platform
