// The graph window: a resize by the user (the layer images rebuilt, the
// range kept in scale, everything redrawn and the window laid out again),
// and one paint of the graph picture.
#include "bench/BenchSupport.h"
#include "bench/windows/WindowBenchKit.h"

#include "engine/Compiler.h"
#include "model/DocumentState.h"
#include "model/Options.h"
#include "render/scene/Redraw.h"
#include "render/view/Scale.h"
#include "session/StoreOperations.h"
#include "windows/GraphAreaForm.h"

#include <QStatusBar>

#include <cmath>

namespace {

TWindowBench& Windows()
{
    return SharedWindowBench();
}

TGraphAreaForm& Graph()
{
    return *Windows().Forms().GraphAreaForm;
}

// The client size that gives a graph of w × h.
QSize ClientFor(int w, int h)
{
    return {w + 8, h + 8 + Graph().PageControlHeight() + Graph().SBar->sizeHint().height()};
}

// An 800 × 600 graph on x −10..10, y −7.5..7.5 holding 20 functions.
void BuildDocument()
{
    Windows();
    Options.AreaRectify = 0;
    Options.AreaFixed = 0;
    Graph().resize(ClientFor(800, 600));
    TWindowBench::ProcessEvents();
    GraphScale.SetRange(GraphScale.GraphImages, {{-10.0L, -7.5L}, {10.0L, 7.5L}});
    for (int i = 1; i <= FunctionCount; ++i) {
        TEquationFunction f = DefaultEquation;
        f.Func.Text = QStringLiteral("sin(x*%1/7)+%2/5-2").arg(i).arg(i);
        PrepareExpression(f.Func, ModeFunction);
        SetYfx(i, f);
    }
    TWindowBench::ProcessEvents();
}

bool GraphIs(int w, int h)
{
    const ScaleT& view = GraphScale;
    return view.XAxis.VHigh == w && view.YAxis.VHigh == h && view.GraphImages[11].Width() == w + 1 &&
           view.GraphImages[11].Height() == h + 1 && Graph().GImage->width() == w + 1;
}

// The functions' default blue on the graph picture.
int BluePixels()
{
    const QImage& graph = GraphScale.GraphImages[0].Image();
    int n = 0;
    for (int y = 0; y < graph.height(); ++y)
        for (int x = 0; x < graph.width(); ++x)
            n += graph.pixel(x, y) == qRgb(0, 0, 255);
    return n;
}

void ResizeTo(int w, int h)
{
    Graph().resize(ClientFor(w, h));
    TWindowBench::ProcessEvents();
}

// Each iteration is one resize, between 800 × 600 and 801 × 601.
void BM_GraphWindowResize(benchmark::State& state)
{
    BuildDocument();
    const TRedrawCounters before = RedrawCounters;
    ResizeTo(801, 601);
    // The graph was drawn anew on its new columns.
    const bool grown =
        GraphIs(801, 601) && GraphScale.XAxis.High > 10.0L && RedrawCounters.Redraws > before.Redraws &&
        BluePixels() > 20 * 800;
    ResizeTo(800, 600);
    // Back at its size the range is the one it started with, to rounding.
    if (!grown || !GraphIs(800, 600) || std::fabs(GraphScale.XAxis.High - 10.0L) > 1e-15L) {
        FailBenchmark(state, "the resize did not bring the graph and its images to the new size");
        return;
    }
    bool wide = false;
    for (auto _ : state) {
        wide = !wide;
        ResizeTo(wide ? 801 : 800, wide ? 601 : 600);
    }
}
BENCHMARK(BM_GraphWindowResize)->Unit(benchmark::kMillisecond)->Iterations(20);

// One paint of the graph picture onto the window.
void BM_GraphWindowPaint(benchmark::State& state)
{
    BuildDocument();
    QWidget* graph = Graph().GImage;
    if (graph->grab().toImage().convertToFormat(QImage::Format_RGB32) != GraphScale.GraphImages[0].Image()) {
        FailBenchmark(state, "the graph widget does not show the graph picture");
        return;
    }
    for (auto _ : state)
        graph->repaint();
}
BENCHMARK(BM_GraphWindowPaint)->Unit(benchmark::kMicrosecond);

} // namespace
