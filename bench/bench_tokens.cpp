// Costs of the vocabulary lookups the tokenizer and compiler make.
#include "engine/TokenTable.h"

#include <benchmark/benchmark.h>

namespace {

void BM_InitTokenTables(benchmark::State& state)
{
    for (auto _ : state)
        InitTokenTables();
}
BENCHMARK(BM_InitTokenTables);

void BM_FindTokenByName(benchmark::State& state)
{
    InitTokenTables();
    const QString names[] = {QStringLiteral("log"), QStringLiteral("y17"), QStringLiteral("O"),
                             QStringLiteral("nothing")};
    for (auto _ : state) {
        for (const QString& n : names)
            benchmark::DoNotOptimize(FindTokenByName(n));
    }
}
BENCHMARK(BM_FindTokenByName);

} // namespace
