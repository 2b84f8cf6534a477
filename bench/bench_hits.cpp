// The view's answers to one mouse move over a full document (22 objects and
// 30 figures), the whole scene drawn into one picture at magnification 16,
// and that picture printed in bands onto 3600 × 3600 printer pixels.
#include "BenchSupport.h"
#include "BenchView.h"
#include "model/DocumentState.h"
#include "model/Figures.h"
#include "platform/fakes/FakePrinting.h"
#include "render/plot/Figures.h"
#include "render/plot/Loci.h"
#include "render/scene/HitTests.h"
#include "render/scene/PointStates.h"
#include "render/scene/Printing.h"
#include "render/scene/Redraw.h"
#include "render/scene/SceneToMetafile.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QString>
#include <set>

namespace {

void SetObject(int k, std::uint8_t kind, const QString& x, const QString& y, const QString& r = {})
{
    TPointFunction& p = DocumentTables.Points[k];
    p.Kind = kind;
    p.Pos = CompiledFormula(QStringLiteral("(%1,%2)").arg(x, y), k);
    p.X = CompiledFormula(x, k);
    p.Y = CompiledFormula(y, k);
    p.R = CompiledFormula(r, k);
    p.Draggable = 1;
}

void SetCurve(int k, std::uint8_t kind, const QString& x, const QString& y, const QString& r, char16_t param,
              const QString& low, const QString& high, long double step)
{
    SetObject(k, kind, x, y, r);
    TPointFunction& p = DocumentTables.Points[k];
    p.ParamChar = param;
    p.Low = CompiledFormula(low, k);
    p.High = CompiledFormula(high, k);
    p.ParamStep = step;
}

// Ten points across the top, four circles, two lines of each direction, two
// parametric curves, a polar curve and a point sequence; 30 segments
// between the points. Every state and locus as a redraw leaves them.
void SetFullScene(int size)
{
    StartEngineOnce();
    ResetDocument();
    SetSquareBenchView(size, 10.0L);
    for (int k = 1; k <= 10; ++k)
        SetObject(k, ObjectPoint, QString::number(k - 5.5), QStringLiteral("8"));
    for (int k = 11; k <= 14; ++k)
        SetObject(k, ObjectCircle, QString::number(3 * (k - 11) - 4.5), QStringLiteral("-5"), QStringLiteral("1"));
    SetObject(15, ObjectHorizontalLine, {}, QStringLiteral("-8"));
    SetObject(16, ObjectHorizontalLine, {}, QStringLiteral("-9"));
    SetObject(17, ObjectVerticalLine, QStringLiteral("8"), {});
    SetObject(18, ObjectVerticalLine, QStringLiteral("9"), {});
    SetCurve(19, ObjectParametric, QStringLiteral("3cos(t)"), QStringLiteral("3sin(t)"), {}, u't',
             QStringLiteral("0"), QStringLiteral("2Pi"), 0.1L);
    SetCurve(20, ObjectParametric, QStringLiteral("t"), QStringLiteral("sin(t)+2"), {}, u't', QStringLiteral("-6"),
             QStringLiteral("6"), 0.1L);
    SetCurve(21, ObjectPolar, {}, {}, QStringLiteral("2+cos(3@)"), u'@', QStringLiteral("0"), QStringLiteral("2Pi"),
             0.05L);
    SetCurve(22, ObjectSequence, QStringLiteral("t"), QStringLiteral("-t/2"), {}, u't', QStringLiteral("1"),
             QStringLiteral("9"), 1.0L);
    BuildPointStates(GraphScale.PointStates);
    ComputeLoci(GraphScale, true);
    Segments.Reset();
    for (int s = 0; s < SegmentCount; ++s)
        Segments.Append(1 + s % 10, 1 + (s + 3 + s / 10) % 10, 0xFF0000, 2, 1);
    Segments.CopyStates(GraphScale.PointStates);
}

// What the graph window asks on one move of the mouse: an object to drag,
// a circle edge, what the read-out names (any object, a curve point), the
// point under a figure being drawn, and a figure.
struct TMoveAnswers {
    int Drag = 0;
    int Edge = 0;
    int Named = 0;
    int Curve = 0;
    int Point = 0;
    int Figure = 0;
    bool operator==(const TMoveAnswers&) const = default;
};

TMoveAnswers AnswerMove(QPoint mouse)
{
    const ScaleT& view = GraphScale;
    TMoveAnswers a;
    a.Drag = HitObjectAt(view, mouse, false).Object;
    a.Edge = HitCircleEdge(view, mouse);
    a.Named = HitObjectAt(view, mouse, true).Object;
    a.Curve = HitCurveAt(view, mouse).Object;
    a.Point = HitDraggablePoint(view, mouse);
    a.Figure = HitTest(DocumentFigureView(view), mouse.x(), mouse.y());
    return a;
}

void BM_HitTestsOfOneMouseMove(benchmark::State& state)
{
    SetFullScene(800);
    const ScaleT& view = GraphScale;
    const int loci = Locuses.Items[19].Count + Locuses.Items[20].Count + Locuses.Items[21].Count +
                     Locuses.Items[22].Count;
    // Where nothing is, every test walks all it has; then a point, a circle's
    // edge and a curve sample must be found.
    const QPoint empty(700, 700);
    const QPoint point = view.WorldToPoint({-4.5L, 8.0L});
    const QPoint edge = view.WorldToPoint({-3.5L, -5.0L});
    const QPoint sample = view.WorldToPoint({0.0L, 3.0L});
    if (loci < 63 + 121 + 126 + 9 || !(AnswerMove(empty) == TMoveAnswers{}) || AnswerMove(point).Drag != 1 ||
        AnswerMove(point).Point != 1 || AnswerMove(edge).Edge != 11 || AnswerMove(sample).Curve != 19) {
        FailBenchmark(state, "the hit tests do not find what the scene holds");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(AnswerMove(empty));
    state.counters["samples"] = loci;
}
BENCHMARK(BM_HitTestsOfOneMouseMove)->Unit(benchmark::kMicrosecond);

// Five functions, a relation, three objects and the axes.
void SetPrintScene(int size)
{
    StartEngineOnce();
    ResetDocument();
    SetSquareBenchView(size, 10.0L);
    const char* const functions[5] = {"x^2/4-3", "3sin(x)", "exp(-x^2)·5", "int(x)/2", "1/(x-0.3)"};
    const TColor colours[5] = {0xFF0000, 0x0000FF, 0x00BF00, 0xD000D0, 0x808080};
    for (int i = 1; i <= 5; ++i) {
        TEquationFunction& f = DocumentTables.Functions[i];
        f = DefaultEquation;
        f.Func = CompiledFormula(QString::fromUtf8(functions[i - 1]), -1);
        f.Color = colours[i - 1];
    }
    DocumentTables.Relations[1].Func = CompiledFormula(QStringLiteral("x^2+y^2<16"), 0);
    SetObject(1, ObjectPoint, QStringLiteral("2"), QStringLiteral("3"));
    SetObject(2, ObjectCircle, QStringLiteral("-3"), QStringLiteral("-2"), QStringLiteral("2"));
    SetObject(3, ObjectHorizontalLine, {}, QStringLiteral("-6"));
    InitRedrawState();
    SetDirtyObjects();
    SetDirtyView();
    Redraw(GraphScale, GraphScale.GraphImages);
}

// Every function's colour on a polyline of the picture.
bool FunctionsDrawn(const TMetafile& picture)
{
    std::set<TColor> seen;
    for (const TMetafile::TEntry& e : picture.Entries)
        if (e.Command.Op == TDrawOp::Polyline)
            seen.insert(picture.States[e.State].Pen.Color & 0xFFFFFF);
    for (int i = 1; i <= 5; ++i)
        if (!seen.count(DocumentTables.Functions[i].Color))
            return false;
    return true;
}

void BM_DrawToMetafile16(benchmark::State& state)
{
    SetPrintScene(400);
    const TMetafile check = DrawToMetafile(GraphScale, 16);
    if (check.Width != 401 * 16 || !FunctionsDrawn(check)) {
        FailBenchmark(state, "the picture is not the scene at magnification 16");
        return;
    }
    size_t entries = 0;
    for (auto _ : state) {
        const TMetafile picture = DrawToMetafile(GraphScale, 16);
        entries = picture.Entries.size();
    }
    state.counters["entries"] = static_cast<double>(entries);
}
BENCHMARK(BM_DrawToMetafile16)->Unit(benchmark::kMillisecond);

// A 600 × 600 view is 9616 × 9616 at 16; three quarters of a 4800-pixel
// page prints it 3600 × 3600.
void BM_BandedPrint3600(benchmark::State& state)
{
    SetPrintScene(600);
    platform::FakePrinting printer({4800, 6600});
    long long inked = 0;
    printer.onBand([&inked](int, int, const QImage& band) {
        for (int y = 0; y < band.height(); y += 8) {
            const QRgb* row = reinterpret_cast<const QRgb*>(band.constScanLine(y));
            for (int x = 0; x < band.width(); x += 8)
                inked += row[x] != 0xFFFFFFFFu;
        }
    });
    const TPrintRequest request{PrintColorGraph, QStringLiteral("bench"), 75, false};
    if (PrintGraphMetafile(GraphScale, request, printer) != TPrintResult::Printed ||
        printer.printedBox() != QRect(600, 220, 3600, 3600) || inked < 1000) {
        FailBenchmark(state, "the print is not the scene 3600 pixels wide, centred");
        return;
    }
    printer.onBand({});
    for (auto _ : state)
        benchmark::DoNotOptimize(PrintGraphMetafile(GraphScale, request, printer));
    state.counters["bands"] = static_cast<double>(printer.bands().size()) / (state.iterations() + 1);
}
BENCHMARK(BM_BandedPrint3600)->Unit(benchmark::kMillisecond);

} // namespace
