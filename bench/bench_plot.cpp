// Pens, polylines and the line joiner: joining the pieces of a traced
// implicit curve and of a vector hatch row by row, and drawing a styled curve
// against the canvas's own polyline with the same pen.
#include "render/gfx/Canvas.h"
#include "render/plot/Axes.h"
#include "render/plot/Figures.h"
#include "render/plot/LineJoiner.h"
#include "render/plot/Loci.h"
#include "render/plot/Objects.h"
#include "render/plot/Pens.h"
#include "render/plot/PlotResets.h"
#include "engine/EngineStartup.h"
#include "render/scene/PointStates.h"
#include "model/GlobalResets.h"
#include "tests/session/SampleDocument.h"

#include <QImage>
#include <QRegularExpression>
#include <benchmark/benchmark.h>
#include <cmath>
#include <vector>

namespace {

constexpr int Size = 800;

// The segments of a row-by-row contour scan of sin(x/23)·sin(y/31) = 0.3
// over 4-pixel cells, row by row. A crossing on a cell edge is computed
// from that edge's two corners alone, so neighbouring cells agree on it.
std::vector<std::vector<std::pair<QPoint, QPoint>>> ContourRows()
{
    constexpr int Cell = 4;
    constexpr int N = Size / Cell;
    const auto f = [](int c, int r) { return std::sin(c * Cell / 23.0) * std::sin(r * Cell / 31.0) - 0.3; };
    const auto cut = [&](int c0, int r0, int c1, int r1) {
        const double v0 = f(c0, r0);
        const double v1 = f(c1, r1);
        const double t = v0 / (v0 - v1);
        return QPoint(static_cast<int>(std::lround((c0 + t * (c1 - c0)) * Cell)),
                      static_cast<int>(std::lround((r0 + t * (r1 - r0)) * Cell)));
    };
    const auto sign = [&](int c, int r) { return f(c, r) > 0; };
    std::vector<std::vector<std::pair<QPoint, QPoint>>> rows(N + 1);
    for (int r = 1; r <= N; ++r)
        for (int c = 1; c <= N; ++c) {
            std::vector<QPoint> cuts;
            if (sign(c - 1, r - 1) != sign(c, r - 1))
                cuts.push_back(cut(c - 1, r - 1, c, r - 1));
            if (sign(c, r - 1) != sign(c, r))
                cuts.push_back(cut(c, r - 1, c, r));
            if (sign(c - 1, r) != sign(c, r))
                cuts.push_back(cut(c - 1, r, c, r));
            if (sign(c - 1, r - 1) != sign(c - 1, r))
                cuts.push_back(cut(c - 1, r - 1, c - 1, r));
            for (size_t k = 0; k + 1 < cuts.size(); k += 2)
                rows[static_cast<size_t>(r)].emplace_back(cuts[k], cuts[k + 1]);
        }
    return rows;
}

// Curves of about 50 segments each; the scan keeps a few dozen pieces open.
void BM_JoinContourChain(benchmark::State& state)
{
    const auto rows = ContourRows();
    size_t segments = 0;
    for (const auto& row : rows)
        segments += row.size();
    size_t polylines = 0;
    for (auto _ : state) {
        TconnectLines joiner;
        joiner.Reset(nullptr, nullptr, false, false, false, TPenSettings{});
        for (size_t r = 1; r < rows.size(); ++r) {
            for (const auto& [p1, p2] : rows[r])
                joiner.AddSegment(p1, p2);
            joiner.Join(static_cast<int>(r - 1) * 4);
        }
        polylines = joiner.DoneCount() + joiner.OpenCount();
        joiner.Collect();
    }
    state.counters["segments"] = static_cast<double>(segments);
    state.counters["polylines"] = static_cast<double>(polylines);
}
BENCHMARK(BM_JoinContourChain)->Unit(benchmark::kMillisecond);

// A falling diagonal hatch, one stroke per pixel on every eighth diagonal:
// each diagonal must merge into one segment.
void BM_JoinHatchMerge(benchmark::State& state)
{
    constexpr int Diagonals = 2 * ((Size - 1) / 8) + 1;
    for (auto _ : state) {
        TconnectLines joiner;
        joiner.Reset(nullptr, nullptr, true, false, false, TPenSettings{});
        for (int y = 0; y < Size; ++y) {
            for (int x = 0; x < Size; ++x)
                if ((x - y) % 8 == 0)
                    joiner.AddSegment(QPoint(x, y), QPoint(x + 1, y + 1));
            joiner.Join(y - 1);
        }
        joiner.Join(Size + 1);
        if (joiner.DoneCount() != static_cast<size_t>(Diagonals) || joiner.OpenCount() != 0) {
            state.SkipWithError("the hatch did not merge into one segment per diagonal");
            return;
        }
        joiner.Collect();
    }
}
BENCHMARK(BM_JoinHatchMerge)->Unit(benchmark::kMillisecond);

// One curve across the view: 801 points, as a function over 800 columns.
std::vector<QPoint> Curve()
{
    std::vector<QPoint> points;
    for (int x = 0; x <= Size; ++x)
        points.emplace_back(x, static_cast<int>(400 + 300 * std::sin(x / 60.0)));
    return points;
}

TPen CurvePen(TPenStyle style)
{
    return TPen{.Color = 0x0000FF, .Width = 2, .Style = style, .Mode = TPenMode::Mask};
}

// The styled routine against the canvas's polyline with the pen it makes;
// both must leave the same pixels.
void DrawCurve(benchmark::State& state, TPenStyle style, bool styled)
{
    const std::vector<QPoint> curve = Curve();
    TPenSettings settings;
    QImage image(Size + 1, Size + 1, QImage::Format_RGB32);
    TCanvas canvas = MakeImageCanvas(image);
    canvas.Pen = CurvePen(style);
    TPen geometric = canvas.Pen;
    geometric.Geometric = true;
    geometric.Cap = TPenCap::Flat;

    image.fill(Qt::white);
    DrawPolyline(canvas, curve, settings);
    const QImage reference = image;
    image.fill(Qt::white);
    canvas.Pen = geometric;
    canvas.Polyline(curve);
    if (image != reference) {
        state.SkipWithError("the styled polyline differs from the canvas's own");
        return;
    }
    // Mask pens draw the same pixels again and again: no clearing in between.
    canvas.Pen = styled ? CurvePen(style) : geometric;
    for (auto _ : state) {
        if (styled)
            DrawPolyline(canvas, curve, settings);
        else
            canvas.Polyline(curve);
        benchmark::ClobberMemory();
    }
}

void BM_DrawStyledPolylineSolid(benchmark::State& state)
{
    DrawCurve(state, TPenStyle::Solid, true);
}
void BM_CanvasPolylineSolid(benchmark::State& state)
{
    DrawCurve(state, TPenStyle::Solid, false);
}
void BM_DrawStyledPolylineDash(benchmark::State& state)
{
    DrawCurve(state, TPenStyle::Dash, true);
}
void BM_CanvasPolylineDash(benchmark::State& state)
{
    DrawCurve(state, TPenStyle::Dash, false);
}
BENCHMARK(BM_DrawStyledPolylineSolid)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CanvasPolylineSolid)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawStyledPolylineDash)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CanvasPolylineDash)->Unit(benchmark::kMicrosecond);

// The axes layer of an 800 × 800 view, recorded as the background layer
// does it: grid lines at every unit of −10..10, the tick labels, both axis
// names and both rulers, measured with the platform's fonts.
void BM_AxesLayer800(benchmark::State& state)
{
    ScaleT& view = GraphScale;
    for (ScaleSubT* axis : {&view.XAxis, &view.YAxis}) {
        axis->VHigh = Size;
        axis->Number = 20; // a tick every 40 pixels
        axis->SetBounds(-10.0L, 10.0L);
        axis->Recalc();
    }
    const TViewMapping mapping = view.Mapping();
    const auto record = [&](TAxesLayer& layer) {
        TMetafile picture;
        picture.Width = picture.Height = Size;
        {
            TCanvas canvas = MakeMetafileCanvas(picture);
            layer = DrawAxes(canvas, view, mapping);
        }
        return picture;
    };
    // 41 grid lines with 38 labels, 2 axes; each ruler 21 ticks and 20 labels.
    TAxesLayer layer;
    const QString graph = DumpMetafile(record(layer));
    const auto count = [](const QString& dump, const char* pattern) {
        return static_cast<int>(dump.count(QRegularExpression(QString::fromUtf8(pattern))));
    };
    if (count(graph, "(?m)^polyline pen\\(E0A0A0") != 42 || count(graph, "(?m)^text .*\"(−)?[0-9]+\"$") != 38 ||
        count(DumpMetafile(layer.XRulerMetafile), "(?m)^text .*\"(−)?[0-9]+\"$") != 20 ||
        count(DumpMetafile(layer.YRulerMetafile), "(?m)^text .*\"(−)?[0-9]+\"$") != 20) {
        state.SkipWithError("the axes layer is not the one expected");
        return;
    }
    std::size_t commands = 0;
    for (auto _ : state) {
        const TMetafile picture = record(layer);
        commands = picture.Entries.size() + layer.XRulerMetafile.Entries.size() + layer.YRulerMetafile.Entries.size();
        benchmark::DoNotOptimize(commands);
    }
    state.counters["commands"] = static_cast<double>(commands);
}
BENCHMARK(BM_AxesLayer800)->Unit(benchmark::kMicrosecond);

// ----- Objects and loci -------------------------------------------------

// The parametric curve of the locus benchmarks: 5000 parameter values.
TPointFunction& LocusCurve()
{
    TPointFunction& p = DocumentTables.Points[1];
    p = TPointFunction{};
    p.Kind = ObjectParametric;
    p.X.Text = QStringLiteral("4cos(3t)·(1+0.2sin(11t))");
    p.Y.Text = QStringLiteral("4sin(2t)·(1+0.2cos(7t))");
    p.ParamChar = u't';
    p.ParamStep = 0.001L;
    p.Low.Text = QStringLiteral("0");
    p.High.Text = QStringLiteral("5");
    p.RWidth = 2;
    PrepareExpression(p.X, 1);
    PrepareExpression(p.Y, 1);
    PrepareExpression(p.Low, ModePlain);
    PrepareExpression(p.High, ModePlain);
    return p;
}

void StartObjectsDocument()
{
    RegisterPlotResets();
    ResetAllGlobals();
    for (ScaleSubT* axis : {&GraphScale.XAxis, &GraphScale.YAxis}) {
        axis->VHigh = Size;
        axis->SetBounds(-5.0L, 5.0L);
        axis->Recalc();
    }
}

// Computed on one path and drawn into a recording, as the scene does; first
// both paths must give the same points.
void LocusComputedAndDrawn(benchmark::State& state, TLocusPath path)
{
    StartObjectsDocument();
    const TPointFunction& curve = LocusCurve();
    const TLocusSources sources = LocusSourcesOf(GraphScale);
    Tlocus array, scalar;
    ComputeLocus(curve, array, sources, TLocusPath::Array);
    ComputeLocus(curve, scalar, sources, TLocusPath::Scalar);
    bool same = array.Count == MaxLocusPoints && scalar.Count == MaxLocusPoints;
    for (int i = 0; same && i < array.Count; ++i) {
        const TLocusPoint& a = array.Items[static_cast<size_t>(i)];
        const TLocusPoint& b = scalar.Items[static_cast<size_t>(i)];
        same = a.Defined == 1 && b.Defined == 1 && std::fabs(a.X - b.X) < 1e-15L && std::fabs(a.Y - b.Y) < 1e-15L;
    }
    if (!same) {
        state.SkipWithError("the array and the scalar locus differ");
        return;
    }
    const TViewMapping mapping = GraphScale.Mapping();
    const TPenSettings settings = DocumentPenSettings(mapping.Context());
    Tlocus locus;
    std::size_t commands = 0;
    for (auto _ : state) {
        ComputeLocus(curve, locus, sources, path);
        TMetafile picture;
        picture.Width = picture.Height = Size;
        {
            TCanvas canvas = MakeMetafileCanvas(picture);
            DrawCurve(mapping, {&canvas, nullptr}, curve, locus, settings);
        }
        commands = picture.Entries.size();
        benchmark::DoNotOptimize(commands);
    }
    state.counters["points"] = locus.Count;
    state.counters["commands"] = static_cast<double>(commands);
}
void BM_Locus5000ArrayPath(benchmark::State& state)
{
    LocusComputedAndDrawn(state, TLocusPath::Array);
}
void BM_Locus5000ScalarPath(benchmark::State& state)
{
    LocusComputedAndDrawn(state, TLocusPath::Scalar);
}
BENCHMARK(BM_Locus5000ArrayPath)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Locus5000ScalarPath)->Unit(benchmark::kMicrosecond);

// The 22 objects of the full sample document (every kind, labels with
// fields), as the scene draws them: curves from their lists, the objects
// with their labels, the rings of hollow points.
void BM_AllObjectsDrawn(benchmark::State& state)
{
    StartObjectsDocument();
    InitializeEngine();
    sample_document::FillFormulas();
    sample_document::FillObjects();
    for (int k = 1; k <= PointCount; ++k) {
        TPointFunction& p = DocumentTables.Points[k];
        p.PointStyle = static_cast<std::uint8_t>(k % 2);
        p.InsideColor = k % 3 ? ColorWhite : 0xC0E0FF;
        p.Pattern = static_cast<std::uint8_t>(1 + k % 8);
        p.RWidth = 2;
        if (p.Kind == ObjectHorizontalLine || p.Kind == ObjectVerticalLine)
            PrepareExpression(p.R, k); // a band
    }
    TPointStates states;
    BuildPointStates(states);
    ComputeLoci(Locuses, TWideCharSet{}, true, LocusSourcesOf(GraphScale));
    int drawable = 0;
    int curvePoints = 0;
    for (int k = 1; k <= PointCount; ++k) {
        drawable += states[k].Kind != 0;
        curvePoints += Locuses.Items[k].Count;
    }
    if (drawable < 10 || curvePoints < 500) {
        state.SkipWithError("the sample document's objects are not drawable");
        return;
    }
    const TViewMapping mapping = GraphScale.Mapping();
    std::size_t commands = 0;
    for (auto _ : state) {
        TMetafile picture;
        picture.Width = picture.Height = Size;
        {
            TCanvas canvas = MakeMetafileCanvas(picture);
            const TPlotCanvases canvases{&canvas, nullptr};
            DrawCurves(mapping, canvases);
            DrawObjects(mapping, canvases, states);
            DrawPointRings(mapping, canvas, states);
        }
        commands = picture.Entries.size();
        benchmark::DoNotOptimize(commands);
    }
    state.counters["drawable"] = drawable;
    state.counters["curve points"] = curvePoints;
    state.counters["commands"] = static_cast<double>(commands);
}
BENCHMARK(BM_AllObjectsDrawn)->Unit(benchmark::kMicrosecond);

// ----- Figures -------------------------------------------------------------

// The mouse over 30 figures of every kind on the 800 × 800 view −5..5: the
// test runs from the topmost figure down, so a miss tests all 30. Mouse
// positions on the first figure and off every figure; first the answers
// must be the expected ones.
void BM_FigureHitTest30(benchmark::State& state)
{
    RegisterPlotResets();
    ResetAllGlobals();
    TSegments figures;
    for (int k = 1; k <= PointCount; ++k) {
        const long double a = k * 2.0L * 3.14159265358979323846L / PointCount;
        figures.States[k] = TPointState{.Kind = ObjectPoint, .X = 4.0L * std::cos(a), .Y = 4.0L * std::sin(a)};
    }
    const std::uint8_t kinds[] = {FigureSegment, FigureLine,    FigureArrow,  FigureRectangle, FigurePolyline,
                                  FigurePolygon, FigureAngle,   FigureHalfLine, FigureArc,     FigureBrace,
                                  FigureBezier,  FigureRightAngle};
    // Figure 1 is the segment from object 1 to object 12 through the middle.
    for (int s = 1; s <= SegmentCount; ++s) {
        Tsegment& f = figures.Data.Items[s];
        f.Kind = s == 1 ? std::uint8_t{FigureSegment} : kinds[static_cast<std::size_t>(s) % std::size(kinds)];
        const int n = f.Kind == FigurePolygon || f.Kind == FigureBezier ? 7 : 3;
        for (int i = 1; i <= n; ++i)
            f.Vertices[i] = static_cast<std::uint8_t>((s + 3 * i) % PointCount + 1);
    }
    figures.Data.Items[1].Vertices[1] = 1;
    figures.Data.Items[1].Vertices[2] = 12;
    figures.Data.Count = SegmentCount;
    TFigureView view{figures, {}, {}};
    view.Mapping.X = {.PixelsPerUnit = 80.0L, .UnitsPerPixel = 0.0125L, .ZeroPixel = 400.0L, .Pixels = Size};
    view.Mapping.Y = view.Mapping.X;
    view.Mapping.Y.YFlipped = true;
    // The segment 1–12 runs along the x axis from (720, 400) to (80, 400)
    // pixels; nothing lies near the corner.
    const QPoint onFirst(401, 402), offAll(3, 797);
    int drawable = 0;
    for (int s = 1; s <= SegmentCount; ++s)
        drawable += BuildPolygon(view, s).has_value();
    if (drawable != SegmentCount || !HitSegment(view, 1, onFirst.x(), onFirst.y()) ||
        HitTest(view, offAll.x(), offAll.y()) != 0) {
        state.SkipWithError("the figures are not the ones expected");
        return;
    }
    const bool miss = state.range(0) == 0;
    const QPoint mouse = miss ? offAll : onFirst;
    int hit = 0;
    for (auto _ : state) {
        hit = HitTest(view, mouse.x(), mouse.y());
        benchmark::DoNotOptimize(hit);
    }
    state.counters["hit"] = hit;
}
BENCHMARK(BM_FigureHitTest30)->Arg(0)->Arg(1)->ArgName("onFigure")->Unit(benchmark::kMicrosecond);

} // namespace

