// The graph leaving the program at 800 × 600 pixels: a PNG and a GIF file,
// the redraw with a picture series running against one without, the
// high-resolution copy, and one free-hand pen mark. Each checks what it
// makes before it is timed.
#include "BenchSupport.h"
#include "BenchView.h"
#include "model/DocumentState.h"
#include "platform/fakes/FakeClipboard.h"
#include "render/gfx/Bitmap.h"
#include "render/scene/FreePen.h"
#include "render/scene/Redraw.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"
#include "session/Commands.h"
#include "session/PictureExport.h"
#include "session/PictureWriters.h"

#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

namespace {

constexpr int Width = 800;
constexpr int Height = 600;

const char* const Curves[] = {"a·sin(x)", "x^2/4-3", "exp(-x^2)·3", "cos(2x)+a", "x^3/20-x"};

// Five curves over a view of 800 × 600 pixels, drawn once by the pipeline.
class PictureScene {
public:
    PictureScene()
    {
        StartEngineOnce();
        ResetDocument();
        PictureExport.Reset();
        int n = 0;
        for (const char* text : Curves) {
            TEquationFunction& f = DocumentTables.Functions[++n];
            f = DefaultEquation;
            f.Func = CompiledFormula(QString::fromUtf8(text), -1);
        }
        SetBenchView(Width, Height, 5.0L, 3.75L);
        InitRedrawState();
        Redraw();
    }
    ~PictureScene() { PictureExport.Reset(); }

    // A full redraw after a parameter step, as a step button makes.
    void Redraw()
    {
        DocumentTables.Params[1].Value += 0.01L;
        SetDirtyObjects();
        GraphScale.Redraw(GraphScale.GraphImages);
    }
    QString PathOf(const QString& name) const { return dir_.filePath(name); }

private:
    TSceneRedrawer redrawer_;
    ScopedRedrawer use_{redrawer_};
    TNoCommandHost commands_;
    ScopedCommandHost useCommands_{commands_};
    QTemporaryDir dir_;
};

void SavePicture(benchmark::State& state, const QString& name)
{
    PictureScene scene;
    const QString path = scene.PathOf(name);
    const TPictureSaveResult first = SaveGraphImage(GraphScale, path, 4);
    const QImage written(first.FileName);
    if (first.Outcome != TPictureSaveResult::Written || written.size() != QSize(Width + 1, Height + 1)) {
        FailBenchmark(state, "the picture was not written whole: " + first.Error.toStdString());
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveGraphImage(GraphScale, path, 4));
    state.counters["bytes"] = static_cast<double>(QFileInfo(first.FileName).size());
}

void BM_SavePng800x600(benchmark::State& state)
{
    SavePicture(state, QStringLiteral("graph.png"));
}
BENCHMARK(BM_SavePng800x600)->Unit(benchmark::kMillisecond);

void BM_SaveGif800x600(benchmark::State& state)
{
    SavePicture(state, QStringLiteral("graph.gif"));
}
BENCHMARK(BM_SaveGif800x600)->Unit(benchmark::kMillisecond);

// A graph over a photograph has more colours than a GIF holds: 256 are
// chosen for it.
void BM_EncodeGifOfManyColours800x600(benchmark::State& state)
{
    QImage picture(Width + 1, Height + 1, QImage::Format_RGB32);
    for (int y = 0; y <= Height; ++y)
        for (int x = 0; x <= Width; ++x)
            picture.setPixel(x, y, qRgb(x * 255 / Width, y * 255 / Height, (x + y) % 256));
    const QImage decoded = QImage::fromData(EncodeGif(picture));
    if (decoded.size() != picture.size()) {
        FailBenchmark(state, "the GIF does not decode");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodeGif(picture));
}
BENCHMARK(BM_EncodeGifOfManyColours800x600)->Unit(benchmark::kMillisecond);

// A redraw with a PNG series running writes one picture; the time it adds
// is the difference to the redraw without.
void RedrawWithSeries(benchmark::State& state, bool series)
{
    PictureScene scene;
    InstallPictureSeries();
    PictureExport.ExportState = series;
    PictureExport.SeriesBase = scene.PathOf(QStringLiteral("passo"));
    PictureExport.FilterIndex = 4;
    scene.Redraw();
    const bool wrote = QFileInfo::exists(scene.PathOf(QStringLiteral("passo000.png")));
    if (wrote != series) {
        FailBenchmark(state, series ? "the series wrote no picture" : "a picture without a series");
        return;
    }
    for (auto _ : state) {
        // One picture a step, written over: the folder stays small.
        PictureExport.SeriesCounter = 0;
        scene.Redraw();
    }
}

void BM_RedrawWithoutSeries(benchmark::State& state)
{
    RedrawWithSeries(state, false);
}
BENCHMARK(BM_RedrawWithoutSeries)->Unit(benchmark::kMillisecond);

void BM_RedrawWithPngSeries(benchmark::State& state)
{
    RedrawWithSeries(state, true);
}
BENCHMARK(BM_RedrawWithPngSeries)->Unit(benchmark::kMillisecond);

// The scene drawn at magnification 4 into an enhanced metafile with its
// picture for programs without metafiles.
void BM_CopyHighResolution(benchmark::State& state)
{
    PictureScene scene;
    platform::FakeClipboard clipboard;
    const platform::ScopedClipboard use(clipboard);
    if (!CopyGraphToClipboard(GraphScale, PrintColorGraph, false, false) ||
        clipboard.data(QStringLiteral("image/emf")).isEmpty() ||
        QImage::fromData(clipboard.data(QStringLiteral("image/png"))).width() != Width + 1) {
        FailBenchmark(state, "the copy lacks its metafile or its picture");
        return;
    }
    for (auto _ : state)
        CopyGraphToClipboard(GraphScale, PrintColorGraph, false, false);
    state.counters["emf bytes"] = static_cast<double>(clipboard.data(QStringLiteral("image/emf")).size());
}
BENCHMARK(BM_CopyHighResolution)->Unit(benchmark::kMillisecond);

// One mark of the pen's largest size painted on the graph, as each mouse
// move paints the newest; the colours alternate, so that the pattern is
// loaded every time.
void BM_PenMark(benchmark::State& state)
{
    TBitmap graph(Width + 1, Height + 1);
    TfreePen pen;
    pen.Add(100, 100, 6, 1);
    pen.DrawLast(graph.Canvas());
    if (graph.Image().pixel(100, 100) != qRgb(255, 0, 0)) {
        FailBenchmark(state, "the mark was not painted");
        return;
    }
    int i = 0;
    for (auto _ : state) {
        if (pen.Count() == TfreePen::MaxMarks) {
            state.PauseTiming();
            pen.Clear();
            state.ResumeTiming();
        }
        ++i;
        pen.Add(100 + i % 600, 100 + i % 400, 6, i % 2 == 0 ? 1 : 2);
        pen.DrawLast(graph.Canvas());
    }
}
BENCHMARK(BM_PenMark)->Unit(benchmark::kMicrosecond);

} // namespace
