#include "script/ScriptWindow.h"

TScriptWindow& CurrentScriptWindow()
{
    return platform::InstalledOr<TScriptWindow, TScriptWindow>();
}
