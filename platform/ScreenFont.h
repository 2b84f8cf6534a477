#pragma once

#include <QString>

namespace platform {

// The family of the platform's general screen font; a generic family name
// when the program runs without a screen.
QString DefaultScreenFontName();

} // namespace platform
