// Drawing layer and axis mapping: the conversions every plotted point goes
// through, and mask polylines drawn directly or recorded and replayed.
#include "render/view/Scale.h"
#include "render/gfx/Canvas.h"
#include "render/gfx/EmfRecords.h"
#include "render/gfx/EmfWriter.h"
#include "render/gfx/Metafile.h"

#include <QGuiApplication>
#include <QImage>
#include <benchmark/benchmark.h>
#include <cmath>
#include <vector>

namespace {

constexpr int Conversions = 10'000'000;

ScaleSubT DefaultAxis(char16_t letter)
{
    ScaleSubT axis;
    axis.AxisChar = letter;
    axis.VHigh = 800;
    axis.SetBounds(-5.3L, 5.3L);
    axis.Recalc();
    return axis;
}

// 10^7 conversions per iteration.
void BM_ValueToPixel(benchmark::State& state)
{
    ScaleSubT axis = DefaultAxis(u'y');
    for (auto _ : state) {
        int sum = 0;
        long double v = -6.0L;
        for (int i = 0; i < Conversions; ++i) {
            sum += axis.ValueToPixel(v);
            v += 1E-6L;
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_ValueToPixel)->Unit(benchmark::kMillisecond);

void BM_PixelToValue(benchmark::State& state)
{
    ScaleSubT axis = DefaultAxis(u'x');
    for (auto _ : state) {
        long double sum = 0.0L;
        for (int i = 0; i < Conversions; ++i)
            sum += axis.PixelToValue(i & 1023);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_PixelToValue)->Unit(benchmark::kMillisecond);

// Twenty curves of 1600 points across an 800 × 800 view.
std::vector<std::vector<QPoint>> Curves()
{
    std::vector<std::vector<QPoint>> curves(20);
    for (int k = 0; k < 20; ++k)
        for (int i = 0; i < 1600; ++i) {
            const double x = i / 2.0;
            curves[k].emplace_back(static_cast<int>(x), static_cast<int>(400 + 300 * std::sin(x / 40.0 + k * 0.3)));
        }
    return curves;
}

void DrawCurves(TCanvas& canvas, const std::vector<std::vector<QPoint>>& curves)
{
    canvas.Pen.Mode = TPenMode::Mask;
    for (size_t k = 0; k < curves.size(); ++k) {
        canvas.Pen.Color = 0x0000FF + static_cast<TColor>(k * 0x0A0A00);
        canvas.Pen.Width = 1 + static_cast<int>(k % 3);
        canvas.Polyline(curves[k]);
    }
}

void BM_MaskPolylinesDirect(benchmark::State& state)
{
    const auto curves = Curves();
    QImage image(800, 800, QImage::Format_RGB32);
    TCanvas canvas = MakeImageCanvas(image);
    for (auto _ : state) {
        image.fill(Qt::white);
        DrawCurves(canvas, curves);
    }
}
BENCHMARK(BM_MaskPolylinesDirect)->Unit(benchmark::kMillisecond);

void BM_MaskPolylinesRecordAndReplay(benchmark::State& state)
{
    const auto curves = Curves();
    QImage image(800, 800, QImage::Format_RGB32);
    TCanvas target = MakeImageCanvas(image);
    for (auto _ : state) {
        image.fill(Qt::white);
        TMetafile picture;
        picture.Width = 800;
        picture.Height = 800;
        TCanvas recorder = MakeMetafileCanvas(picture);
        DrawCurves(recorder, curves);
        target.StretchDraw({0, 0, 801, 801}, picture);
    }
}
BENCHMARK(BM_MaskPolylinesRecordAndReplay)->Unit(benchmark::kMillisecond);

// One curve through every column of an 800 × 800 view, as a function's graph
// is drawn, with a wide solid mask pen of the given width.
void BM_WidePolyline(benchmark::State& state)
{
    std::vector<QPoint> curve;
    for (int x = 0; x <= 800; ++x)
        curve.emplace_back(x, static_cast<int>(400 + 300 * std::sin(x / 25.0)));
    QImage image(800, 800, QImage::Format_RGB32);
    image.fill(Qt::white);
    TCanvas canvas = MakeImageCanvas(image);
    canvas.Pen = TPen{0x0000FF, static_cast<int>(state.range(0)), TPenStyle::Solid, TPenMode::Mask, true, TPenCap::Round};
    canvas.Polyline(curve);
    if (image.pixel(400, static_cast<int>(400 + 300 * std::sin(16.0))) != qRgb(255, 0, 0)) {
        state.SkipWithError("the curve is not drawn");
        return;
    }
    for (auto _ : state)
        canvas.Polyline(curve);
}
BENCHMARK(BM_WidePolyline)->Arg(2)->Arg(5)->Arg(16)->Unit(benchmark::kMicrosecond);

// A graph drawn at magnification 16 (a 400 × 400 view, 6416 pixels wide):
// five curves of 801 points with wide mask pens, a relation's hatch of 3000
// strokes, a circle, a point and a parametric curve, axes with 40 ticks and
// their labels.
TMetafile MagnifiedScene()
{
    constexpr int M = 16;
    TMetafile picture;
    picture.Width = 401 * M;
    picture.Height = 401 * M;
    TCanvas c = MakeMetafileCanvas(picture);
    c.Pen = TPen{0x000000, M, TPenStyle::Solid, TPenMode::Mask, true, TPenCap::Round};
    for (int k = 0; k < 5; ++k) {
        std::vector<QPoint> curve;
        for (int i = 0; i <= 800; ++i)
            curve.emplace_back(i * 8, static_cast<int>(3200 + 2400 * std::sin(i / 60.0 + k)));
        c.Pen.Color = 0x0000FF + static_cast<TColor>(k * 0x202000);
        c.Polyline(curve);
    }
    c.Pen = TPen{0x00A000, M, TPenStyle::Solid, TPenMode::Mask, true, TPenCap::Flat};
    for (int i = 0; i < 3000; ++i) {
        const int x = (i % 100) * 64;
        const int y = (i / 100) * 200;
        const QPoint stroke[] = {{x, y}, {x + 48, y + 48}};
        c.Polyline(stroke);
    }
    c.Pen = TPen{0xFF0000, 2 * M, TPenStyle::Solid, TPenMode::Mask, true, TPenCap::Round};
    c.Brush.Style = TBrushStyle::Clear;
    c.Ellipse(1600, 1600, 4800, 4800);
    c.Brush = TBrush{TBrushStyle::Solid, 0xFF0000, {}};
    c.Ellipse(3100, 3100, 3300, 3300);
    std::vector<QPoint> parametric;
    for (int i = 0; i <= 400; ++i)
        parametric.emplace_back(static_cast<int>(3200 + 2000 * std::cos(i / 20.0)),
                                static_cast<int>(3200 + 1000 * std::sin(i / 30.0)));
    c.Polyline(parametric);
    c.Pen = TPen{0x000000, M, TPenStyle::Solid, TPenMode::Mask, true, TPenCap::Flat};
    c.Font.Height = -13 * M;
    const QPoint xAxis[] = {{0, 3200}, {6400, 3200}};
    const QPoint yAxis[] = {{3200, 0}, {3200, 6400}};
    c.Polyline(xAxis);
    c.Polyline(yAxis);
    for (int i = 0; i <= 20; ++i) {
        const QPoint tickX[] = {{i * 320, 3150}, {i * 320, 3250}};
        const QPoint tickY[] = {{3150, i * 320}, {3250, i * 320}};
        c.Polyline(tickX);
        c.Polyline(tickY);
        c.TextOut(i * 320, 3300, QString::number(i - 10));
        c.TextOut(3300, i * 320, QString::number(10 - i));
    }
    return picture;
}

// Writing the graph's enhanced metafile. The file is first read back whole
// (every record, and its declared size); its size is reported as "bytes".
void BM_WriteEmfOfMagnifiedScene(benchmark::State& state)
{
    const TMetafile picture = MagnifiedScene();
    const QByteArray emf = WriteEmf(picture);
    int records = 0;
    const QString error = EnumEmfRecords(emf, [&](const TEmfRecord&) { return ++records; });
    TEmfRecordIterator header(emf);
    const bool sound = error.isEmpty() && header.Next() &&
                       header.Record().U32(emf_header::Bytes) == static_cast<std::uint32_t>(emf.size());
    if (!sound) {
        state.SkipWithError("the metafile does not read back");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteEmf(picture));
    state.counters["bytes"] = static_cast<double>(emf.size());
    state.counters["records"] = records;
}
BENCHMARK(BM_WriteEmfOfMagnifiedScene)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
