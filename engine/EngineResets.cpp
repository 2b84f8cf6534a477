#include "engine/EngineResets.h"

#include "engine/Compiler.h"
#include "engine/EngineStartup.h"

void RegisterEngineResets()
{
    RegisterModelResets();
    RegisterReset(QStringLiteral("compile settings"), [] { CompileSettings.Reset(); });
    // The vocabulary follows the separators, which the model reset before.
    RegisterReset(QStringLiteral("engine tables"), InitializeEngine);
}
