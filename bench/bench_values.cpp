// Costs of the value kernel that every evaluation pays many times.
#include "model/CharSet.h"
#include "model/NumberText.h"
#include "model/Value.h"

#include <benchmark/benchmark.h>

#include <array>

namespace {

void BM_CollectPointArgs(benchmark::State& state)
{
    std::array<TValue, 8> args;
    for (int i = 0; i < 8; ++i)
        args[i] = ValueReal(i * 0.5L);
    for (auto _ : state) {
        auto points = CollectPointArgs(args);
        benchmark::DoNotOptimize(points);
    }
}
BENCHMARK(BM_CollectPointArgs);

void BM_ValueCheckRange(benchmark::State& state)
{
    TValue v = ValuePoint(1.5L, -2.25E300L);
    for (auto _ : state) {
        benchmark::DoNotOptimize(v);
        bool ok = ValueCheckRange(v);
        benchmark::DoNotOptimize(ok);
    }
}
BENCHMARK(BM_ValueCheckRange);

void BM_CharSetHas(benchmark::State& state)
{
    TWideCharSet set;
    CharSetIncludeRange(set, 96, 115);
    char16_t c = 0;
    for (auto _ : state) {
        bool in = CharSetHas(set, c);
        benchmark::DoNotOptimize(in);
        c = static_cast<char16_t>((c + 7) % 1200);
    }
}
BENCHMARK(BM_CharSetHas);

void BM_ParseExtended(benchmark::State& state)
{
    const QString text = QStringLiteral("-1234.5678E-12");
    for (auto _ : state) {
        long double v = 0;
        bool ok = ParseExtended(text, u'.', v);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(BM_ParseExtended);

void BM_FormatGeneral(benchmark::State& state)
{
    long double v = 3.14159265358979323846L;
    for (auto _ : state) {
        QString s = FormatGeneral(v, 15, u'.');
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(BM_FormatGeneral);

} // namespace
