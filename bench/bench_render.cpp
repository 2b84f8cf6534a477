// Drawing layer and axis mapping: the conversions every plotted point goes
// through, and mask polylines drawn directly or recorded and replayed.
#include "render/view/Scale.h"
#include "render/gfx/Canvas.h"
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
