#pragma once

// The free-hand pen's colour number (0..5) and size, chosen on the graph
// window's pen panel. They are kept with the other settings by
// "Estabelecer Padrão".
#include <cstdint>

void SetPenMarker(std::uint8_t colorNo, std::uint8_t size);
