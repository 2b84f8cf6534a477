// Drawing the relations: each piece by the method that fits it, the region
// of the pieces' inequalities hatched, every relation in a layer of its own.
#include "render/plot/Relations.h"

#include "engine/TokenTable.h"
#include "model/Colors.h"
#include "model/Options.h"
#include "render/gfx/ImageHelpers.h"
#include "render/plot/Functions.h"
#include "render/plot/Hatch.h"
#include "render/plot/RelationPlot.h"
#include "render/view/RedrawState.h"
#include "render/view/ViewServices.h"

#include <algorithm>

TOffsetArray<TColor, 1, RelationCount> RelationColors = TOffsetArray<TColor, 1, RelationCount>::filledWith(NoTraceColor);

void ResetRelationColors()
{
    RelationColors.fill(NoTraceColor);
}

// The region of the relation being drawn; its storage is reused.
TRegionMask RelationFillGrid;

bool IsRelationInUse(const TEquationFunction& record)
{
    return !record.Func.Text.isEmpty() && !IsWhiteColor(record.Color);
}

bool IsRelationInUse(int i)
{
    return IsRelationInUse(DocumentTables.Relations[i]);
}

bool IsRelationDrawable(const TEquationFunction& record)
{
    return IsRelationInUse(record) && record.Visible == 1;
}

bool IsRelationDrawable(int i)
{
    return IsRelationDrawable(DocumentTables.Relations[i]);
}

namespace {

// A strict inequality's boundary is not part of the region: faded, or
// hidden (white under the mask pen) when the record asks for no border.
TColor BoundaryColor(const TRelationPiece& piece, const TEquationFunction& record)
{
    if (!piece.IsStrict())
        return record.Color;
    return record.Border == 0 ? FadeColor(record.Color, 0.75L) : ColorWhite;
}

TPiecePens SetPiecePens(const TRelationPiece& piece, const TEquationFunction& record, const TRelationDrawing& drawing,
                        const TPenSettings& settings)
{
    const TPlotCanvases& canvases = drawing.Canvases;
    TPiecePens pens;
    pens.Main = canvases.MainCanvas();
    pens.Trace = canvases.TraceCanvas(record.AfterImage != 0);
    pens.Settings = settings;
    pens.MainColor = BoundaryColor(piece, record);
    pens.OnlyTrace = canvases.OnlyTrace;
    const int width = settings.Context.Magnify(record.Width);
    const TPenStyle style = PenStyleCode(record.LineStyle);
    if (pens.Trace)
        SetCurvePen(*pens.Trace, FadeColorBySetting(record.Color), width, style);
    if (pens.Main)
        SetCurvePen(*pens.Main, pens.MainColor, width, style);
    return pens;
}

void ResetPiecePens(const TPiecePens& pens)
{
    for (TCanvas* canvas : {pens.Main, pens.Trace})
        if (canvas)
            ResetPenAndBrush(*canvas);
}

// y op f(x): the curve of f, and the rows above or below it.
void PlotExplicit(const TRelationGrid& grid, const TRelationPiece& piece, TRelationRows& rows,
                  const TRelationDrawing& drawing, const TEquationFunction& record, const TPiecePens& pens,
                  TRegionMask& region)
{
    TColumnArray f;
    rows.EvaluateRelationColumns(0.0L, f);
    long double* x = f.XLane();
    const std::uint8_t* defined = f.DefinedLane();
    for (int c = -1; c <= grid.W + 1; ++c)
        if (defined[c])
            x[c] = -x[c];
    f.Set(-1, ValueUndefined(KindReal));
    f.Set(grid.W + 1, ValueUndefined(KindReal));

    const TNamedTokens& t = TokenCodes;
    const TTokenCode op = piece.Operator;
    const bool above = op == t.Greater || op == t.GreaterEqual || op == t.NotEqual;
    const bool below = op == t.Less || op == t.LessEqual || op == t.NotEqual;
    if (above || below) {
        for (int c = 0; c <= grid.W; ++c) {
            if (!defined[c] || f.Kind(c) != KindReal)
                continue;
            const int p = grid.Rows.ValueToPixel(x[c]).Pixel;
            if (above)
                region.SetRows(c, 0, std::min(p, grid.H), piece.Bit);
            if (below)
                region.SetRows(c, std::max(p, 0), grid.H, piece.Bit);
        }
    }
    DrawCurve(grid.Mapping, drawing.Canvases, pens.MainColor, f, record,
              DocumentCurveSettings(grid.Context()));
}

TRelationMethod ChooseMethod(const TRelationGrid& grid, const TRelationPiece& piece, const TEquationFunction& record,
                             TPolynomialSamples& samples)
{
    if (IsExplicitRelation(piece.Func))
        return TRelationMethod::Explicit;
    if (record.AutoCalc && PolynomialTest(grid, piece.Difference(), samples))
        return ConicTest(samples) ? TRelationMethod::Conic : TRelationMethod::Interpolated;
    return TRelationMethod::Scan;
}

// Draws one piece and sets its bits; the colour its boundary got on the main canvas.
TColor PlotCurve(const TRelationGrid& grid, const TRelationPiece& piece, const TRelationDrawing& drawing,
                 const TEquationFunction& record, TRegionMask& region, const TPenSettings& settings)
{
    TRelationRows rows(grid, piece.Difference());
    TPolynomialSamples samples;
    const TRelationMethod method = ChooseMethod(grid, piece, record, samples);
    const TPiecePens pens = SetPiecePens(piece, record, drawing, settings);
    const std::function<void()> noProgress;
    const std::function<void()>& progress = drawing.Direct ? noProgress : drawing.ShowProgress;
    TScanRequest scan{&rows, nullptr, Options.ScanWidth, true, piece.Operator, piece.Bit};
    switch (method) {
    case TRelationMethod::Explicit:
        PlotExplicit(grid, piece, rows, drawing, record, pens, region);
        break;
    case TRelationMethod::Conic:
        PlotConic(grid, rows, pens);
        if (!piece.IsEquation()) {
            scan.Contours = false;
            ScanPiece(grid, scan, pens, region, progress);
        }
        break;
    case TRelationMethod::Interpolated:
        scan.Samples = &samples;
        ScanPiece(grid, scan, pens, region, progress);
        break;
    case TRelationMethod::Scan:
        ScanPiece(grid, scan, pens, region, progress);
        break;
    }
    ResetPiecePens(pens);
    return pens.MainColor;
}

} // namespace

TRelationMethod RelationMethodOf(ScaleT& view, const TRelationPiece& piece, const TEquationFunction& record)
{
    const TScopedMagnification screen(1);
    TPolynomialSamples samples;
    return ChooseMethod(MakeRelationGrid(view, view.Mapping(1)), piece, record, samples);
}

void PlotFunction(ScaleT& view, const TRelationDrawing& drawing, const TEquationFunction& record, const TEvalEnv& env)
{
    const TRelationPieces split = SplitRelation(record);
    if (split.Pieces.empty())
        return;
    // Pieces are evaluated on the screen's pixels whatever the output.
    const TScopedMagnification screen(1);
    const TRelationGrid grid = MakeRelationGrid(view, drawing.Mapping, env);
    const TPenSettings settings = DocumentPenSettings(drawing.Mapping.Context());
    TRegionMask& region = RelationFillGrid;
    region.Reset(grid.W, grid.H);
    region.Masks = split.Masks;
    TColor lastColor = record.Color;
    for (const TRelationPiece& piece : split.Pieces)
        lastColor = PlotCurve(grid, piece, drawing, record, region, settings);
    FillRegion(region, record, drawing.Canvases, settings, drawing.Direct, lastColor);
}

void DrawRelations(ScaleT& view, TGraphImages& images, TCanvas* traceCanvas, bool traceAll, bool onlyTrace)
{
    TRedrawWindow& window = CurrentRedrawWindow();
    TBitmap& target = images[2];
    TBitmap& graph = images[0];
    for (int i = 1; i <= RelationCount; ++i) {
        const TEquationFunction& record = DocumentTables.Relations[i];
        const bool traced = traceAll || record.AfterImage != 0;
        RelationColors[i] = IsRelationInUse(i) && traced ? record.Color : NoTraceColor;
        if (!IsRelationDrawable(i))
            continue;
        TBitmap& layer = images[static_cast<size_t>(2 + i)];
        bool replot = RedrawState.RelationChanged[i] != 0;
        if (layer.Width() != target.Width() || layer.Height() != target.Height()) {
            layer.SetSize(target.Width(), target.Height());
            replot = true;
        }
        if (replot) {
            if (!onlyTrace)
                FillImage(layer, Options.GraphBGColor);
            // The scan so far over the graph as it stands, shown at once.
            const auto showProgress = [&] {
                TCanvas& canvas = graph.Canvas();
                const TCopyMode mode = canvas.CopyMode;
                canvas.CopyMode = TCopyMode::SrcAnd;
                canvas.Draw(0, 0, layer.Image());
                canvas.CopyMode = mode;
                window.RepaintGraph();
            };
            const TRelationDrawing drawing{view.Mapping(1), {&layer.Canvas(), traceCanvas, onlyTrace, traceAll}, false,
                                           showProgress};
            PlotFunction(view, drawing, record);
        }
        TCanvas& canvas = target.Canvas();
        canvas.CopyMode = TCopyMode::SrcAnd;
        canvas.Draw(0, 0, layer.Image());
        canvas.CopyMode = TCopyMode::SrcCopy;
    }
}

void DrawRelationsDirect(ScaleT& view, const TViewMapping& mapping, const TPlotCanvases& canvases,
                         const TRelationRecords& relations, const TEvalEnv& env)
{
    for (const TEquationFunction& record : relations)
        if (IsRelationDrawable(record))
            PlotFunction(view, {mapping, canvases, true, {}}, record, env);
}
