#include "platform/fakes/FakeInputState.h"

namespace platform {

bool FakeInputState::isKeyDown(int virtualKey) const
{
    return IsVirtualKey(virtualKey) && down_[virtualKey];
}

void FakeInputState::processEvents(int maxWaitMs)
{
    rounds_.push_back(maxWaitMs);
    if (action_)
        action_(maxWaitMs);
}

void FakeInputState::setKeyDown(int virtualKey, bool down)
{
    if (IsVirtualKey(virtualKey))
        down_[virtualKey] = down;
}

} // namespace platform
