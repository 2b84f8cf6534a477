#include "engine/EngineStartup.h"

#include "engine/BuiltinTable.h"
#include "engine/Calculus.h"
#include "engine/Evaluator.h"
#include "engine/TokenTable.h"

void InitializeEngine()
{
    InitTokenTables();
    InitBuiltinTable();
    InitEvaluator();
    InitGaussLegendre();
}
