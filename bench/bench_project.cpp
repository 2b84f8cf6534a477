// The project file and the undo points on a full document (20 functions,
// 9 relations, 22 objects, 30 figures, 200 table rows, 100 note lines):
// saving, loading with compiling, an undo snapshot and an undo step (the
// windows and the redraw are the do-nothing defaults).
#include "BenchSupport.h"
#include "tests/session/SampleDocument.h"

#include "session/OptionsStore.h"
#include "session/ProjectFile.h"
#include "session/SessionResets.h"
#include "session/UndoPoints.h"

#include "engine/EngineStartup.h"
#include "model/History.h"
#include "model/LineCodec.h"
#include "platform/QtSettingsStore.h"
#include "platform/fakes/RecordingMessageSink.h"
#include "render/view/Scale.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QStringList WrittenLines()
{
    TstringData text;
    WriteProject(text);
    return text.Lines();
}

// A new full document, saved as <folder>/full.kvf.
class FullProject {
public:
    FullProject()
    {
        RegisterSessionResets();
        ResetAllGlobals();
        InitializeEngine();
        SetOriginObject();
        sample_document::Build();
        ProjectFile.FileName = dir_.filePath(QStringLiteral("full"));
        saved_ = SaveKvf();
        lines_ = WrittenLines();
    }
    bool Saved() const { return saved_ && sink_.empty(); }
    // What the document writes is what was saved: nothing was lost or changed.
    bool MatchesSaved() const { return WrittenLines() == lines_; }

private:
    QTemporaryDir dir_;
    platform::RecordingMessageSink sink_;
    platform::ScopedMessageSink scopedSink_{sink_};
    bool saved_ = false;
    QStringList lines_;
};

void BM_ProjectSave(benchmark::State& state)
{
    FullProject project;
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveKvf());
    if (!project.Saved())
        FailBenchmark(state, "the project was not saved");
}
BENCHMARK(BM_ProjectSave)->Unit(benchmark::kMillisecond);

// Reading, decoding, parsing and compiling every formula.
void BM_ProjectLoad(benchmark::State& state)
{
    FullProject project;
    // A refused load leaves the document as it was, so it is emptied first:
    // the load must bring back all that was saved.
    ResetDocument();
    if (!project.Saved() || !LoadKvf() || !project.MatchesSaved()) {
        FailBenchmark(state, "the loaded document differs from the saved one");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadKvf());
}
BENCHMARK(BM_ProjectLoad)->Unit(benchmark::kMillisecond);

// The same through OpenProject: histories cleared and everything refreshed.
void BM_ProjectOpen(benchmark::State& state)
{
    FullProject project;
    const QString name = ProjectFile.FileName;
    if (!project.Saved() || !OpenProject(name)) {
        FailBenchmark(state, "the saved project was not opened");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(OpenProject(name));
}
BENCHMARK(BM_ProjectOpen)->Unit(benchmark::kMillisecond);

// Each snapshot differs from the one before, so each is stored.
void BM_UndoSnapshot(benchmark::State& state)
{
    FullProject project;
    long double value = 0.0L;
    for (auto _ : state) {
        DocumentTables.Params[1].Value = ++value;
        SaveUndoPoint();
    }
    if (!project.Saved() || BackUp.Count() != std::min<long>(state.iterations(), TBackUp::Capacity))
        FailBenchmark(state, "snapshots were not stored");
}
BENCHMARK(BM_UndoSnapshot)->Unit(benchmark::kMicrosecond);

// One undo or redo: the snapshot read back and the rows and view refreshed.
void BM_UndoStep(benchmark::State& state)
{
    FullProject project;
    SaveUndoPoint();
    DocumentTables.Params[1].Value = 42.0L;
    Undo();
    bool back = true;
    for (auto _ : state) {
        if (back)
            Redo();
        else
            Undo();
        back = !back;
    }
    const long double expected = back ? 0.5L : 42.0L;
    if (!project.Saved() || DocumentTables.Params[1].Value != expected)
        FailBenchmark(state, "undo and redo did not restore the parameter");
}
BENCHMARK(BM_UndoStep)->Unit(benchmark::kMillisecond);

// The options read back and written again through the INI file in a folder
// of its own, as "New" and "Estabelecer Padrão" do.
void BM_OptionsLoadSave(benchmark::State& state)
{
    RegisterSessionResets();
    ResetAllGlobals();
    InitializeEngine();
    QTemporaryDir dir;
    platform::QtSettingsStore store(dir.filePath(QStringLiteral("kaviro.ini")));
    platform::ScopedSettingsStore scoped(store);
    GraphScale.XAxis.Number = 11;
    GraphScale.PsMesh = 3;
    SaveOptions();
    GraphScale.XAxis.Number = 7;
    GraphScale.PsMesh = 0;
    for (auto _ : state) {
        LoadOptions();
        SaveOptions();
    }
    if (GraphScale.XAxis.Number != 11 || GraphScale.PsMesh != 3)
        FailBenchmark(state, "the stored options were not read back");
    ResetAllGlobals();
}
BENCHMARK(BM_OptionsLoadSave)->Unit(benchmark::kMicrosecond);

} // namespace
