#include "engine/EngineResets.h"

#include "engine/BlockProgram.h"
#include "engine/Compiler.h"
#include "engine/EngineStartup.h"
#include "engine/Evaluator.h"
#include "engine/ScalarProgram.h"

void RegisterEngineResets()
{
    RegisterModelResets();
    RegisterReset(QStringLiteral("compile settings"), [] { CompileSettings.Reset(); });
    RegisterReset(QStringLiteral("evaluation limits"), [] { EvaluationLimits.Reset(); });
    RegisterReset(QStringLiteral("block programs"), [] { BlockPrograms.Reset(); });
    RegisterReset(QStringLiteral("scalar programs"), [] { ScalarPrograms.Reset(); });
    // The vocabulary follows the separators, which the model reset before.
    RegisterReset(QStringLiteral("engine tables"), InitializeEngine);
}
