#include "render/plot/Functions.h"

#include "model/Colors.h"
#include "model/Options.h"
#include "render/plot/PolyLineBuffer.h"
#include "render/view/Scale.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <initializer_list>

TOffsetArray<TColor, 1, FunctionCount> FunctionColors = TOffsetArray<TColor, 1, FunctionCount>::filledWith(NoTraceColor);

void ResetFunctionColors()
{
    FunctionColors.fill(NoTraceColor);
}

namespace {

// Below this second difference of the values, and one pixel of the rows, a
// curve counts as a straight line and is drawn as one segment.
constexpr long double StraightValueTolerance = 1E-17L;
// A jump of more rows than this (magnified) may break an auto-mode curve;
// it does when the value changes more than JumpRatio times as much as on
// the other side, or changes direction.
constexpr long double JumpRows = 10.0L;
constexpr long double JumpRatio = 50.0L;

// The columns of one curve: values straight from the cache's lane, the
// defined flags of the columns read (with those given as edges undefined,
// whatever the cache holds there), and the pixel row of every defined column.
class CurveColumns {
public:
    CurveColumns(const TColumnArray& cache, const TViewMapping& mapping, std::initializer_list<int> edges = {})
        : First(0)
        , Last(mapping.X.Pixels)
        , magnification_(mapping.Magnification())
        , values_(cache.XLane())
    {
        const std::uint8_t* defined = cache.DefinedLane();
        std::copy(defined + First - 1, defined + Last + 2, defined_.begin() + Index(First - 1));
        for (int c : edges)
            if (c >= First - 1 && c <= Last + 1)
                defined_[Index(c)] = 0;
        for (int c = First - 1; c <= Last + 1; ++c)
            rows_[Index(c)] = Defined(c) ? mapping.Y.ValueToPixel(values_[c]).Pixel : 0;
    }

    const int First;
    const int Last;

    bool Defined(int c) const { return defined_[Index(c)] != 0; }
    long double Value(int c) const { return values_[c]; }
    int Row(int c) const { return rows_[Index(c)]; }
    int PixelX(int c) const { return c * magnification_; }

    // Every visible column defined, and values and rows without bends.
    bool IsStraight() const
    {
        for (int c = First; c <= Last; ++c)
            if (!Defined(c))
                return false;
        for (int c = First + 1; c < Last; ++c) {
            if (std::fabs(Value(c - 1) - 2.0L * Value(c) + Value(c + 1)) > StraightValueTolerance)
                return false;
            if (std::abs(Row(c - 1) - 2 * Row(c) + Row(c + 1)) > 1)
                return false;
        }
        return true;
    }

private:
    static int Index(int c) { return c - TColumnArray::First; }

    int magnification_;
    const long double* values_;
    std::array<std::uint8_t, TColumnArray::Count> defined_;
    std::array<int, TColumnArray::Count> rows_;
};

// The canvases of one curve with their pens set.
struct CurveCanvases {
    TCanvas* Main = nullptr;
    TCanvas* Trace = nullptr;

    void Dot(int x, int y, int radius) const
    {
        for (TCanvas* canvas : {Main, Trace})
            if (canvas)
                canvas->Ellipse(x - radius, y - radius, x + radius, y + radius);
    }
};

void AddColumn(const CurveColumns& cols, int c)
{
    PolyLineBuffer.AddPoint(cols.PixelX(c), cols.Row(c));
}

void RestartAt(const CurveColumns& cols, int c)
{
    PolyLineBuffer.Add(cols.PixelX(c), cols.Row(c));
}

void DrawPlotMode(const CurveColumns& cols, const CurveCanvases& canvases, int radius)
{
    for (int c = cols.First; c <= cols.Last; ++c)
        if (cols.Defined(c))
            canvases.Dot(cols.PixelX(c), cols.Row(c), radius);
}

void DrawConnectMode(const CurveColumns& cols)
{
    for (int c = cols.First; c <= cols.Last; ++c)
        if (cols.Defined(c))
            AddColumn(cols, c);
}

// The auto mode at one column: joined to its left neighbour unless a jump
// says otherwise; a lone value is a dot.
void DrawAutoColumn(const CurveColumns& cols, const CurveCanvases& canvases, int c, int dotRadius, long double jump)
{
    if (!cols.Defined(c))
        return;
    if (!cols.Defined(c - 1)) {
        if (cols.Defined(c + 1))
            RestartAt(cols, c);
        else
            canvases.Dot(cols.PixelX(c), cols.Row(c), dotRadius);
        return;
    }
    const bool nextDefined = cols.Defined(c + 1);
    const long double dv1 = cols.Value(c) - cols.Value(c - 1);
    const long double dv2 = nextDefined ? cols.Value(c + 1) - cols.Value(c) : 0.0L;
    const int dp1 = cols.Row(c) - cols.Row(c - 1);
    const int dp2 = nextDefined ? cols.Row(c + 1) - cols.Row(c) : 0;
    if (std::abs(dp1) > jump) {
        // A jump on the left: a new piece starts here when the value leaps
        // or turns.
        if (nextDefined && (std::fabs(dv1) > JumpRatio * std::fabs(dv2) || dv1 * dv2 < 0.0L))
            RestartAt(cols, c);
        else
            AddColumn(cols, c);
        return;
    }
    AddColumn(cols, c);
    if (nextDefined && std::abs(dp2) > jump && (std::fabs(dv2) > JumpRatio * std::fabs(dv1) || dv1 * dv2 < 0.0L))
        RestartAt(cols, c + 1);
}

} // namespace

TCurveSettings DocumentCurveSettings(const TDrawContext& context)
{
    return {DocumentPenSettings(context), Options.DrawMode};
}

void SetCurvePen(TCanvas& canvas, TColor color, int width, TPenStyle style)
{
    const TColor shown = MonochromeColor(color);
    canvas.Pen = TPen{.Color = shown, .Width = width, .Style = style, .Mode = TPenMode::Mask};
    canvas.Brush.Style = TBrushStyle::Solid;
    canvas.Brush.Color = shown;
}

void ResetPenAndBrush(TCanvas& canvas)
{
    canvas.Pen = TPen{};
    canvas.Brush.Style = TBrushStyle::Solid;
    canvas.Brush.Color = canvas.Pen.Color;
}

namespace {

void DrawCurveColumns(const TViewMapping& mapping, const TPlotCanvases& canvases, TColor mainColor,
                      const CurveColumns& cols, const TEquationFunction& record, const TCurveSettings& settings)
{
    const TDrawContext context = mapping.Context();
    const bool trace = canvases.Traces(record.AfterImage != 0);
    const CurveCanvases pens{canvases.MainCanvas(), canvases.TraceCanvas(record.AfterImage != 0)};
    const int width = context.Magnify(record.Width);
    const int plotRadius = context.Magnify(record.Width + 1) / 2;
    const int dotRadius = context.Magnify(record.Width);
    const TPenStyle style = PenStyleCode(record.LineStyle);
    if (pens.Trace)
        SetCurvePen(*pens.Trace, FadeColorBySetting(record.Color), width, style);
    if (pens.Main)
        SetCurvePen(*pens.Main, mainColor, width, style);
    PolyLineBuffer.Init(canvases.Main, canvases.Trace, trace, canvases.OnlyTrace, TVPolyLine::DrawOutline,
                        TPolyFill::None, 0, 0, settings.Pen);

    if (settings.DrawMode == DrawModePlot) {
        DrawPlotMode(cols, pens, plotRadius);
    } else if (cols.IsStraight()) {
        AddColumn(cols, cols.First);
        AddColumn(cols, cols.Last);
    } else if (settings.DrawMode == DrawModeConnect) {
        DrawConnectMode(cols);
    } else {
        const long double jump = context.Magnify(JumpRows);
        for (int c = cols.First; c <= cols.Last; ++c)
            DrawAutoColumn(cols, pens, c, dotRadius, jump);
    }
    PolyLineBuffer.Flush();

    if (pens.Trace)
        ResetPenAndBrush(*pens.Trace);
    if (pens.Main)
        ResetPenAndBrush(*pens.Main);
}

} // namespace

void DrawCurve(const TViewMapping& mapping, const TPlotCanvases& canvases, TColor mainColor,
               const TColumnArray& cache, const TEquationFunction& record, const TCurveSettings& settings)
{
    DrawCurveColumns(mapping, canvases, mainColor, CurveColumns(cache, mapping), record, settings);
}

bool IsFunctionDrawn(const TEquationFunction& f)
{
    return !f.Func.Text.isEmpty() && f.Visible == 1;
}

const TColumnArray& FunctionColumns(const ScaleT& view, int i)
{
    const TColumnArray* current = view.Columns.ValidCache(i);
    return current ? *current : view.Columns.UndefinedColumns();
}

void DrawFunction(const ScaleT& view, const TViewMapping& mapping, const TPlotCanvases& canvases,
                  const TCurveSettings& settings, int i, const TEquationFunction& f)
{
    const int first = view.XAxis.Vlow;
    const int last = view.XAxis.VHigh;
    // Whatever the evaluator left beside the view, the curve ends at its edges.
    DrawCurveColumns(mapping, canvases, f.Color, CurveColumns(FunctionColumns(view, i), mapping, {first - 1, last + 1}),
                     f, settings);
    NoteFunctionDrawn(i, f, canvases);
}

void NoteFunctionDrawn(int i, const TEquationFunction& f, const TPlotCanvases& canvases)
{
    FunctionColors[i] = canvases.Traces(f.AfterImage != 0) ? f.Color : NoTraceColor;
}

void DrawFunctions(const ScaleT& view, const TViewMapping& mapping, const TPlotCanvases& canvases,
                   const TCurveSettings& settings, const TFunctionRecords& functions)
{
    for (int i = 1; i <= FunctionCount; ++i)
        if (IsFunctionDrawn(functions[i]))
            DrawFunction(view, mapping, canvases, settings, i, functions[i]);
}

void DrawFunctions(const ScaleT& view, const TViewMapping& mapping, const TPlotCanvases& canvases)
{
    DrawFunctions(view, mapping, canvases, DocumentCurveSettings(mapping.Context()));
}
