#pragma once

#include "session/SessionResets.h"

// The scripts' tables: the run state and the sound. Registers the
// libraries' below first.
void RegisterScriptResets();
