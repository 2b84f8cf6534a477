#pragma once

#include "platform/ServiceSlot.h"

namespace platform {

// Windows virtual-key numbers. Formulas and scripts stored in files name keys
// and mouse buttons by these, so they are kept whatever the platform.
enum VirtualKey : int {
    VkLButton = 1,
    VkRButton = 2,
    VkMButton = 4,
    VkXButton1 = 5,
    VkXButton2 = 6,
    VkBack = 8,
    VkTab = 9,
    VkReturn = 13,
    VkShift = 16,
    VkControl = 17,
    VkMenu = 18, // Alt
    VkEscape = 27,
    VkSpace = 32,
    VkPrior = 33,
    VkNext = 34,
    VkEnd = 35,
    VkHome = 36,
    VkLeft = 37,
    VkUp = 38,
    VkRight = 39,
    VkDown = 40,
    VkInsert = 45,
    VkDelete = 46,
    Vk0 = 48, // '0'..'9' are 48..57
    VkA = 65, // 'A'..'Z' are 65..90
    VkF1 = 112, // F1..F12 are 112..123
    VkF12 = 123,
    VirtualKeyCount = 256,
};

// A number the key state keeps; any other is never down.
constexpr bool IsVirtualKey(int virtualKey)
{
    return virtualKey > 0 && virtualKey < VirtualKeyCount;
}

// The keys and mouse buttons held down, as the program last saw them.
class InputState {
public:
    virtual ~InputState() = default;
    virtual bool isKeyDown(int virtualKey) const = 0;
    // Handles the pending events, so that the key state is fresh, while user
    // input meant for the windows is dropped: long work polls here and no
    // click may start other work inside it. When maxWaitMs > 0 and nothing is
    // pending, waits up to that long for an event without using the CPU.
    virtual void processEvents(int maxWaitMs) = 0;
};

// The installed input state, else the application's.
InputState& CurrentInputState();
using ScopedInputState = ScopedService<InputState>;

// The key state as last seen; handles no events (formulas read it).
bool IsKeyDown(int virtualKey);
// The primary mouse button is down; handles pending events first.
bool IsMouseButtonDown();
// Esc or F1 is down: the request to stop long work. Handles pending events first.
bool IsBreakKeyDown();
bool IsAltDown();
bool IsShiftDown();
bool IsCtrlDown();

} // namespace platform
