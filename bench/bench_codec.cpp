// Costs of the project text: every undo point writes the whole document and
// pushes it, every undo reads it back.
#include "model/History.h"
#include "model/LineCodec.h"
#include "model/Options.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int Entries = 1000; // five lines each

// A document-like text: per entry a caption, a formula, a style line, a text
// field line and a number line.
void WriteProjectText(TstringData& data)
{
    TKavirofunction f;
    f.Text = QStringLiteral("sin(a·x)×2+x^2·0.5°");
    for (int i = 0; i < Entries; ++i) {
        data.WriteStr(QStringLiteral("Point"));
        data.WriteFunction(f);
        data.AddInt(i);
        data.AddInt(0xFF0000);
        data.AddInt(2);
        data.AddBool(true);
        data.AddInt(1);
        data.EndLine();
        data.AddTabField(QStringLiteral("data"));
        data.AddTabField(QStringLiteral("1.5"));
        data.AddTabField(QStringLiteral("label text"));
        data.EndLine();
        data.AddFloat(i * 0.1L);
        data.AddFloat(-1.0L / (i + 3));
        data.EndLine();
    }
}

void ReadProjectText(TstringData& data)
{
    data.LoadLine();
    int n = 0;
    long double x = 0.0L;
    bool b = false;
    QString s;
    for (int i = 0; i < Entries; ++i) {
        data.SkipTo(QStringLiteral("Point"));
        data.NextLine();
        for (int k = 0; k < 3; ++k)
            data.ReadInt(n);
        data.ReadBool(b);
        data.ReadIntLn(n);
        data.ReadTabField(s);
        data.ReadTabField(s);
        data.ReadTabFieldLn(s);
        data.ReadFloat(x);
        data.ReadFloatLn(x);
    }
    benchmark::DoNotOptimize(x);
}

void BM_WriteProjectText5000Lines(benchmark::State& state)
{
    for (auto _ : state) {
        TstringData data;
        WriteProjectText(data);
        benchmark::DoNotOptimize(data.Count());
    }
}
BENCHMARK(BM_WriteProjectText5000Lines)->Unit(benchmark::kMicrosecond);

void BM_ReadProjectText5000Lines(benchmark::State& state)
{
    TstringData source;
    WriteProjectText(source);
    for (auto _ : state) {
        TstringData data;
        data.Assign(source.Lines());
        ReadProjectText(data);
    }
}
BENCHMARK(BM_ReadProjectText5000Lines)->Unit(benchmark::kMicrosecond);

void BM_DelocalizeAndLocalize5000Lines(benchmark::State& state)
{
    TstringData source;
    WriteProjectText(source);
    Separators.DecimalChar = u',';
    Separators.ListSepChar = u';';
    for (auto _ : state) {
        TstringData data;
        data.Assign(source.Lines());
        data.DelocalizeNumbers();
        data.LocalizeNumbers();
        benchmark::DoNotOptimize(data.Count());
    }
    Separators.Reset();
}
BENCHMARK(BM_DelocalizeAndLocalize5000Lines)->Unit(benchmark::kMicrosecond);

// An undo point with nothing changed: the whole text is compared, nothing stored.
void BM_PushUnchangedSnapshot(benchmark::State& state)
{
    auto backUp = std::make_unique<TBackUp>();
    TstringData data;
    WriteProjectText(data);
    backUp->Push(data);
    TstringData same;
    WriteProjectText(same);
    for (auto _ : state)
        backUp->Push(same);
}
BENCHMARK(BM_PushUnchangedSnapshot)->Unit(benchmark::kMicrosecond);

} // namespace
