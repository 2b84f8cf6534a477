// The trace store at 800 × 800 pixels with a full ring of 3000 records, each
// of one traced function y = a·sin(x) and one traced point (a, 1): the replay
// of the whole ring onto the trace layer, one push into the full ring, the
// mouse read-out over it, and writing and reading it as a trace file.
#include "BenchSupport.h"
#include "BenchView.h"
#include "engine/TokenTable.h"
#include "model/DocumentState.h"
#include "model/ProgramState.h"
#include "render/gfx/Metafile.h"
#include "render/scene/PointStates.h"
#include "render/scene/Redraw.h"
#include "render/scene/TraceReplay.h"
#include "render/scene/TraceStore.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"
#include "session/TraceFile.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

constexpr int Size = 800;
constexpr TColor Red = 0x0000FF;

long double ParameterOfRecord(int i)
{
    return 0.5L + i / 1000.0L;
}

// The document with the traced function and point, and the full ring of
// their records for a = 0.5, 0.501, ... as the redraws record them.
void FillRing()
{
    StartEngineOnce();
    ResetDocument();
    SetSquareBenchView(Size, 5.0L);
    InitRedrawState();
    ProgramState.StartupPending = 0;
    TDocumentTables& doc = DocumentTables;
    TEquationFunction& f = doc.Functions[1];
    f = DefaultEquation;
    f.Func = CompiledFormula(QStringLiteral("a·sin(x)"), -1);
    f.AfterImage = 1;
    f.Color = Red;
    TPointFunction& p = doc.Points[1];
    p = DefaultPoint;
    p.Kind = ObjectPoint;
    p.Pos = CompiledFormula(QStringLiteral("(a, 1)"), 1);
    p.PointAImg = 1;
    p.Draggable = 1;
    p.ColorNo1 = 0x00A000;
    TTraceColors colors;
    colors.Functions[1] = Red;
    TraceStore.Clear();
    for (int i = 1; i <= TBpnt::Size; ++i) {
        doc.Params[1].Value = ParameterOfRecord(i);
        BuildPointStates(GraphScale.PointStates);
        TraceStore.Push(GraphScale.PointStates, colors, doc.Params);
    }
    doc.Params[1].Value = 1.0L;
    BuildPointStates(GraphScale.PointStates);
}

TMetafile ReplayOnce()
{
    TMetafile picture;
    picture.Width = picture.Height = Size;
    TCanvas canvas = MakeMetafileCanvas(picture);
    ReplayTraces(GraphScale, canvas);
    return picture;
}

int CountLines(const QString& dump, const QString& start)
{
    return static_cast<int>(dump.count(QRegularExpression(QStringLiteral("(^|\n)") + start)));
}

// Every record draws its point and its curve, and the document is as before.
void BM_ReplayFullRing(benchmark::State& state)
{
    FillRing();
    const TMetafile picture = ReplayOnce();
    const QString dump = DumpMetafile(picture);
    if (CountLines(dump, QStringLiteral("ellipse")) != TBpnt::Size ||
        CountLines(dump, QStringLiteral("polyline")) < TBpnt::Size) {
        FailBenchmark(state, "the replay did not draw every record");
        return;
    }
    if (DocumentTables.Params[1].Value != 1.0L || DocumentTables.Functions[1].Color != Red) {
        FailBenchmark(state, "the replay did not put the document back");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(ReplayOnce().Entries.size());
    state.counters["records"] = TBpnt::Size;
}
BENCHMARK(BM_ReplayFullRing)->Unit(benchmark::kMillisecond);

// Into a full ring: the oldest record goes, its state is reused.
void BM_PushIntoFullRing(benchmark::State& state)
{
    FillRing();
    TTraceColors colors;
    colors.Functions[1] = Red;
    const int head = TraceStore.Head();
    TraceStore.Push(GraphScale.PointStates, colors, DocumentTables.Params);
    if (TraceStore.Head() != TBpnt::Advance(head) || TraceStore.RecordCount() != TBpnt::Size) {
        FailBenchmark(state, "the push did not replace the oldest record");
        return;
    }
    for (auto _ : state)
        TraceStore.Push(GraphScale.PointStates, colors, DocumentTables.Params);
}
BENCHMARK(BM_PushIntoFullRing)->Unit(benchmark::kMicrosecond);

// A miss looks at every record; a hit stops at the oldest near one.
void BM_FindSnapshotAtFullRing(benchmark::State& state)
{
    FillRing();
    const TViewMapping mapping = GraphScale.Mapping();
    // The points lie along y = 1 (pixel row 320) from x = 0.501 to 3.5.
    const TSnapshotHit hit = TraceStore.FindSnapshotAt(mapping, 680, 321);
    const QPoint at = mapping.WorldToPoint({hit.X, hit.Y});
    if (hit.Object != 1 || std::abs(at.x() - 680) >= 4 || std::abs(at.y() - 321) >= 4 ||
        TraceStore.FindSnapshotAt(mapping, 100, 100).Object != 0) {
        FailBenchmark(state, "the read-out found the wrong record");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(TraceStore.FindSnapshotAt(mapping, 100, 100));
}
BENCHMARK(BM_FindSnapshotAtFullRing)->Unit(benchmark::kMicrosecond);

void BM_SaveTraceFile(benchmark::State& state)
{
    FillRing();
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("aula"));
    // Each save records the present state too; the ring stays full.
    for (auto _ : state)
        SaveKvp(base);
    QFile file(base + TraceFileExtension);
    state.counters["bytes"] = static_cast<double>(file.size());
}
BENCHMARK(BM_SaveTraceFile)->Unit(benchmark::kMillisecond);

void BM_LoadTraceFile(benchmark::State& state)
{
    FillRing();
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("aula"));
    SaveKvp(base);
    const QByteArray saved = EncodeTraceFile();
    LoadKvp(base);
    // Loaded, the ring gives the same records again.
    if (TraceStore.RecordCount() != TBpnt::Size || EncodeTraceFile() != saved) {
        FailBenchmark(state, "the loaded ring differs from the saved one");
        return;
    }
    for (auto _ : state)
        LoadKvp(base);
}
BENCHMARK(BM_LoadTraceFile)->Unit(benchmark::kMillisecond);

} // namespace
