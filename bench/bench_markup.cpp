// Formula typesetting and label markup with the real fonts: a formula of
// about forty tokens typeset into a data-panel image (measured, then drawn),
// and a three-line label with two value fields translated and drawn. The
// share of the time spent in the Qt font metrics is reported as a counter
// (0 once the typesetter's own width and height caches are warm).
#include "engine/EngineStartup.h"
#include "engine/Tokenizer.h"
#include "model/DocumentState.h"
#include "model/ProgramState.h"
#include "render/gfx/Bitmap.h"
#include "render/gfx/TextMetrics.h"
#include "render/markup/MarkupDraw.h"
#include "render/markup/MarkupTranslate.h"
#include "render/markup/TypesetDisplay.h"
#include "render/markup/TypesetImage.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

// The Qt metrics, timed.
class TimedTextMetrics final : public TTextMetrics {
public:
    std::chrono::nanoseconds Spent{0};

    int TextWidth(const TFont& font, const QString& text) override
    {
        return Timed([&] { return real_.TextWidth(font, text); });
    }
    int TextHeight(const TFont& font, const QString& text) override
    {
        return Timed([&] { return real_.TextHeight(font, text); });
    }
    int Ascent(const TFont& font) override
    {
        return Timed([&] { return real_.Ascent(font); });
    }

private:
    template <class F>
    int Timed(F f)
    {
        const auto start = std::chrono::steady_clock::now();
        const int v = f();
        Spent += std::chrono::steady_clock::now() - start;
        return v;
    }
    QtTextMetrics real_;
};

void Fail(const char* what)
{
    std::fprintf(stderr, "bench_markup: %s\n", what);
    std::exit(1);
}

void Setup()
{
    static const bool done = [] {
        InitializeDocument();
        InitializeEngine();
        return true;
    }();
    (void)done;
}

// 40 tokens once scanned: fractions, a radical, exponents.
const QString Formula = QStringLiteral("(x^2+3x-1)/Sqrt(x^3+2)+a^2/(2b)-e^(-x^2/2)");

TTokenString Scanned(QString text)
{
    QString normalised;
    int caret = 0;
    TTokenString tokens;
    NormalizeExpressionText(text, normalised, caret, tokens);
    return tokens;
}

bool HasInk(const QImage& image, int margin)
{
    for (int y = margin; y < image.height() - margin; ++y) {
        for (int x = margin; x < image.width() - margin; ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                return true;
        }
    }
    return false;
}

template <class Work>
void RunTimed(benchmark::State& state, Work work)
{
    TimedTextMetrics metrics;
    ScopedTextMetrics install(metrics);
    work(); // warm the metric caches
    metrics.Spent = {};
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        work();
    const auto total = std::chrono::steady_clock::now() - start;
    state.counters["qt_metrics_share"] = static_cast<double>(metrics.Spent.count()) / total.count();
}

// Measured, then drawn where the measurement puts it.
void TypesetIntoImage(TBitmap& image, const TTokenString& tokens)
{
    image.Image().fill(Qt::white);
    TTypesetOptions options;
    options.Draw = false;
    const TTypesetExtent e = DrawExpression(image.Canvas(), 3, 0, 13, tokens, options);
    options.Draw = true;
    DrawExpression(image.Canvas(), 3, 1 - e.Top, 13, tokens, options);
}

void BM_TypesetFormulaIntoImage(benchmark::State& state)
{
    Setup();
    const TTokenString tokens = Scanned(Formula);
    if (ExpressionToMarkup(tokens).size() < 40)
        Fail("the formula is shorter than 40 display tokens");
    TBitmap image(300, 60);
    TypesetIntoImage(image, tokens);
    if (!HasInk(image.Image(), 0))
        Fail("nothing was typeset");
    RunTimed(state, [&] { TypesetIntoImage(image, tokens); });
}
BENCHMARK(BM_TypesetFormulaIntoImage)->Unit(benchmark::kMicrosecond);

// A data panel row 38 pixels high: the formula does not fit at first and is
// drawn a second time, scaled down.
void BM_FormulaInDataPanelRow(benchmark::State& state)
{
    Setup();
    const TTokenString tokens = Scanned(Formula);
    TBitmap image(300, 38);
    DrawExpressionInImage(image, 12, tokens, false, false);
    if (!HasInk(image.Image(), 2))
        Fail("nothing was typeset");
    RunTimed(state, [&] { DrawExpressionInImage(image, 12, tokens, false, false); });
}
BENCHMARK(BM_FormulaInDataPanelRow)->Unit(benchmark::kMicrosecond);

const QString LabelLines[] = {
    QStringLiteral("<b>Area</b> = !{a*b|4} cm<SUP>2</SUP>"),
    QStringLiteral("<RED>ratio</RED> {a/b} = !{a/b}"),
    QStringLiteral("v{AB} and ~f{1|2}"),
};

void DrawLabel(TBitmap& image)
{
    image.Image().fill(Qt::white);
    TCanvas& canvas = image.Canvas();
    canvas.Font = TFont{};
    canvas.Font.SetSize(12);
    int top = 2;
    for (const QString& line : LabelLines)
        top = DrawMarkupLine(canvas, line, 4, top, {}).Bottom + 2;
}

void BM_DrawThreeLineLabel(benchmark::State& state)
{
    Setup();
    DocumentTables.Params[1].Value = 3.0L; // a
    DocumentTables.Params[2].Value = 7.0L; // b
    if (TranslateMarkup(ModePlain, LabelLines[0]) != QStringLiteral("\x0A" "Area\x0B = {21} cm\x18" "2\x14") ||
        !TranslateMarkup(ModePlain, LabelLines[1]).endsWith(QStringLiteral("{0.42857}")))
        Fail("the value fields read wrong");
    TBitmap image(300, 90);
    DrawLabel(image);
    if (!HasInk(image.Image(), 0))
        Fail("nothing was drawn");
    RunTimed(state, [&] { DrawLabel(image); });
}
BENCHMARK(BM_DrawThreeLineLabel)->Unit(benchmark::kMicrosecond);

} // namespace

namespace {

// The translation alone (fields compiled and evaluated, tags replaced), to
// tell it from the drawing.
void BM_TranslateThreeLineLabel(benchmark::State& state)
{
    Setup();
    for (auto _ : state) {
        for (const QString& line : LabelLines)
            benchmark::DoNotOptimize(TranslateMarkup(ModePlain, line));
    }
}
BENCHMARK(BM_TranslateThreeLineLabel)->Unit(benchmark::kMicrosecond);

} // namespace

namespace {

// The label measured only: translation and layout without the rasteriser.
void BM_MeasureThreeLineLabel(benchmark::State& state)
{
    Setup();
    TBitmap image(300, 90);
    TCanvas& canvas = image.Canvas();
    canvas.Font = TFont{};
    canvas.Font.SetSize(12);
    TMarkupOptions measure;
    measure.Draw = false;
    for (auto _ : state) {
        int top = 2;
        for (const QString& line : LabelLines)
            top = DrawMarkupLine(canvas, line, 4, top, measure).Bottom + 2;
        benchmark::DoNotOptimize(top);
    }
}
BENCHMARK(BM_MeasureThreeLineLabel)->Unit(benchmark::kMicrosecond);

} // namespace
