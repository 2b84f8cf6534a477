#include "script/ScriptResets.h"

#include "script/ScriptRun.h"
#include "script/Sound.h"

void RegisterScriptResets()
{
    RegisterSessionResets();
    RegisterReset(QStringLiteral("script runs"), [] { ScriptRunState.Reset(); });
    RegisterReset(QStringLiteral("sound"), [] { Sound = TSound{}; });
}
