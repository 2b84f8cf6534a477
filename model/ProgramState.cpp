#include "model/ProgramState.h"

#include "model/DocumentState.h"
#include "model/Options.h"
#include "platform/ScreenFont.h"

TProgramState ProgramState;

void TProgramState::Reset()
{
    *this = TProgramState{};
    DefaultFontName = platform::DefaultScreenFontName();
    SctickerEdit = DefaultFontName;
    ScriptEdit = DefaultFontName;
}

void InitializeDocument()
{
    static bool initialized = false;
    if (initialized)
        return;
    initialized = true;

    Separators.LoadFromLocale();
    ProgramState.Reset();
    ResetDocument();
    // The stored settings are loaded here, after the resets, which would
    // otherwise overwrite them.
}
