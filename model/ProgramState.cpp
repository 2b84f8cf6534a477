#include "model/ProgramState.h"

#include "model/DocumentState.h"
#include "model/History.h"
#include "model/LineCodec.h"
#include "model/Options.h"
#include "model/Settings.h"
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
    ProgramSettings.Reset();
    BackUp.Clear();
    BackUpArea.Clear();
    ResetDocument();
    ProjectData.Clear();
    // The stored settings are loaded here, after the resets, which would
    // otherwise overwrite them.
    LoadSettings();
}
