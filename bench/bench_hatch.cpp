// Hatching a relation's region that covers the whole 800 × 800 view: on
// screen, pixel by pixel onto the relation's layer (against a hand-written
// loop that sets the same pixels straight into the image), and as merged
// strokes in a picture magnified 16 times.
#include "BenchSupport.h"
#include "render/gfx/Bitmap.h"
#include "render/gfx/ColorConvert.h"
#include "render/gfx/Metafile.h"
#include "render/plot/Hatch.h"

#include <benchmark/benchmark.h>

#include <QImage>

namespace {

constexpr int Size = 800;
constexpr TColor Red = 0x0000FF;

TRegionMask WholeViewRegion()
{
    TRegionMask region;
    region.Reset(Size, Size);
    for (int x = 0; x <= Size + 1; ++x)
        region.SetRows(x, 0, Size + 1, 1);
    region.Masks = {1};
    return region;
}

TEquationFunction HatchedRelation(int pattern)
{
    TEquationFunction r;
    r.Color = Red;
    r.Pattern = static_cast<std::uint8_t>(pattern);
    return r;
}

// The pixels of phase 0 over the view, counted without the hatching code.
int PhaseZeroPixels(int pattern)
{
    int n = 0;
    for (int x = 0; x <= Size; ++x)
        for (int y = 0; y <= Size; ++y)
            n += HatchPhase(pattern, x, y) == 0;
    return n;
}

int RedPixels(const QImage& image)
{
    const QRgb red = ToQColor(Red).rgb();
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            n += row[x] == red;
    }
    return n;
}

// The reference: the region test and the phase per pixel, the pixel written
// into the image's memory, columns outer as the hatch goes.
void HandWrittenHatch(const TRegionMask& region, int pattern, QImage& image)
{
    const QRgb red = ToQColor(Red).rgb();
    const auto stride = static_cast<size_t>(image.bytesPerLine() / 4);
    QRgb* bits = reinterpret_cast<QRgb*>(image.bits());
    for (int x = 0; x <= region.Width(); ++x)
        for (int y = 0; y <= region.Height(); ++y)
            if (region.InRegion(x, y) && HatchPhase(pattern, x, y) == 0)
                bits[static_cast<size_t>(y) * stride + static_cast<size_t>(x)] = red;
}

void BM_HatchRegionOnScreen(benchmark::State& state)
{
    const int pattern = static_cast<int>(state.range(0));
    const TRegionMask region = WholeViewRegion();
    const TEquationFunction relation = HatchedRelation(pattern);
    TBitmap layer(Size + 1, Size + 1);
    const TPlotCanvases canvases{&layer.Canvas(), nullptr, false, false};
    FillRegion(region, relation, canvases, TPenSettings{}, false, Red);
    const int expected = PhaseZeroPixels(pattern);
    if (RedPixels(layer.Image()) != expected) {
        FailBenchmark(state, "the hatch did not set exactly the pixels of phase 0");
        return;
    }
    for (auto _ : state)
        FillRegion(region, relation, canvases, TPenSettings{}, false, Red);
    state.counters["pixels"] = expected;
}
BENCHMARK(BM_HatchRegionOnScreen)->Arg(1)->Arg(4)->Arg(9)->ArgName("pattern")->Unit(benchmark::kMillisecond);

void BM_HatchRegionHandWritten(benchmark::State& state)
{
    const int pattern = static_cast<int>(state.range(0));
    const TRegionMask region = WholeViewRegion();
    TBitmap layer(Size + 1, Size + 1);
    HandWrittenHatch(region, pattern, layer.Image());
    const int expected = PhaseZeroPixels(pattern);
    if (RedPixels(layer.Image()) != expected) {
        FailBenchmark(state, "the hand-written hatch did not set exactly the pixels of phase 0");
        return;
    }
    for (auto _ : state) {
        HandWrittenHatch(region, pattern, layer.Image());
        benchmark::ClobberMemory();
    }
    state.counters["pixels"] = expected;
}
BENCHMARK(BM_HatchRegionHandWritten)->Arg(1)->Arg(4)->Arg(9)->ArgName("pattern")->Unit(benchmark::kMillisecond);

// Falling diagonals magnified 16 times: one merged stroke per diagonal of
// phase 0, x − y = 16k for |k| <= 50.
void BM_HatchRegionMagnified(benchmark::State& state)
{
    const TRegionMask region = WholeViewRegion();
    const TEquationFunction relation = HatchedRelation(3);
    TPenSettings settings;
    settings.Context.Magnification = 16;
    TMetafile picture;
    TCanvas canvas = MakeMetafileCanvas(picture);
    const TPlotCanvases canvases{&canvas, nullptr, false, false};
    FillRegion(region, relation, canvases, settings, true, Red);
    if (picture.Entries.size() != 101) {
        FailBenchmark(state, "the diagonals did not merge into one stroke each");
        return;
    }
    for (auto _ : state) {
        picture.Clear();
        FillRegion(region, relation, canvases, settings, true, Red);
    }
    state.counters["strokes"] = static_cast<double>(picture.Entries.size());
}
BENCHMARK(BM_HatchRegionMagnified)->Unit(benchmark::kMillisecond);

} // namespace
