#include "session/FreePenOptions.h"

#include "model/Options.h"

void SetPenMarker(std::uint8_t colorNo, std::uint8_t size)
{
    Options.PenMarker = {colorNo, size};
}
