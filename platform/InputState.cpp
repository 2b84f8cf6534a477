#include "platform/InputState.h"

#include "platform/QtInputState.h"

namespace platform {

InputState& CurrentInputState()
{
    return InstalledOr<InputState, QtInputState>();
}

bool IsKeyDown(int virtualKey)
{
    return CurrentInputState().isKeyDown(virtualKey);
}

bool IsMouseButtonDown()
{
    InputState& input = CurrentInputState();
    input.processEvents(0);
    return input.isKeyDown(VkLButton);
}

bool IsBreakKeyDown()
{
    InputState& input = CurrentInputState();
    input.processEvents(0);
    return input.isKeyDown(VkEscape) || input.isKeyDown(VkF1);
}

bool IsAltDown()
{
    return IsKeyDown(VkMenu);
}

bool IsShiftDown()
{
    return IsKeyDown(VkShift);
}

bool IsCtrlDown()
{
    return IsKeyDown(VkControl);
}

} // namespace platform
