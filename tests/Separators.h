#pragma once

// The document's number punctuation in tests, with the vocabulary rebuilt
// for it.
#include "engine/EngineStartup.h"
#include "model/Options.h"

// A decimal comma and ';' between arguments, as in a Portuguese locale.
inline void UseCommaLocale()
{
    Separators.DecimalChar = u',';
    Separators.ListSepChar = u';';
    InitializeEngine();
}

// Back to '.' and ','.
inline void UsePointLocale()
{
    Separators.Reset();
    InitializeEngine();
}
