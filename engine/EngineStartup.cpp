#include "engine/EngineStartup.h"

#include "engine/TokenTable.h"

void InitializeEngine()
{
    InitTokenTables();
}
