// The curve objects drawn from their point lists.
#include "model/Colors.h"
#include "render/plot/BrushPattern.h"
#include "render/plot/Functions.h"
#include "render/plot/Objects.h"
#include "render/plot/PolyLineBuffer.h"

#include <cmath>
#include <optional>
#include <utility>

namespace {

TPolyFill FillModeOf(std::uint8_t figType)
{
    switch (figType) {
    case 1:
        return TPolyFill::Fan; // to the origin
    case 2:
        return TPolyFill::ToBaseY; // down to the x axis
    case 3:
        return TPolyFill::ToBaseX; // across to the y axis
    default:
        return TPolyFill::None;
    }
}

// The part of the segment a-b inside the square of pixels that the drawing
// layer takes (Liang-Barsky); nothing when it misses the square.
std::optional<std::pair<TPointL, TPointL>> ClipToLimit(TPointL a, TPointL b, long double limit)
{
    long double t0 = 0.0L;
    long double t1 = 1.0L;
    const long double dx = b.X - a.X;
    const long double dy = b.Y - a.Y;
    const long double p[4] = {-dx, dx, -dy, dy};
    const long double q[4] = {a.X + limit, limit - a.X, a.Y + limit, limit - a.Y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0L) {
            if (q[i] < 0.0L)
                return std::nullopt;
            continue;
        }
        const long double r = q[i] / p[i];
        if (p[i] < 0.0L)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
        if (t0 > t1)
            return std::nullopt;
    }
    return std::pair{TPointL{a.X + t0 * dx, a.Y + t0 * dy}, TPointL{a.X + t1 * dx, a.Y + t1 * dy}};
}

// Feeds the defined points of a list into the polyline buffer: an undefined
// point ends a piece, and a stretch beyond the pixel limit is cut at the
// limit so that what shows keeps its direction.
class CurvePieces {
public:
    explicit CurvePieces(const TViewMapping& mapping)
        : mapping_(mapping)
        , limit_(static_cast<long double>(mapping.X.PixelLimit()))
    {
    }

    // The pixel of a point inside the limit, for its symbol.
    std::optional<QPoint> Add(const TLocusPoint& p)
    {
        const TPointL at = mapping_.ValueToPixelF({p.X, p.Y});
        if (!p.Defined || !std::isfinite(at.X) || !std::isfinite(at.Y)) {
            Break();
            return std::nullopt;
        }
        const bool inside = Inside(at);
        if (!hasPrevious_) {
            if (inside)
                Start(Round(at));
        } else if (previousInside_ && inside) {
            Continue(Round(at));
        } else if (const auto part = ClipToLimit(previous_, at, limit_)) {
            if (!previousInside_)
                Start(Round(part->first));
            Continue(Round(part->second));
            if (!inside)
                End();
        }
        previous_ = at;
        hasPrevious_ = true;
        previousInside_ = inside;
        return inside ? std::optional<QPoint>(Round(at)) : std::nullopt;
    }

    void Break()
    {
        End();
        hasPrevious_ = false;
    }

private:
    void Start(QPoint p)
    {
        PolyLineBuffer.Add(p.x(), p.y());
        last_ = p;
        hasLast_ = true;
    }
    // Dense lists put many points on one pixel: each is drawn once.
    void Continue(QPoint p)
    {
        if (hasLast_ && p == last_)
            return;
        PolyLineBuffer.AddPoint(p.x(), p.y());
        last_ = p;
        hasLast_ = true;
    }
    void End()
    {
        PolyLineBuffer.Flush();
        hasLast_ = false;
    }

    bool Inside(TPointL p) const { return std::fabs(p.X) <= limit_ && std::fabs(p.Y) <= limit_; }
    QPoint Round(TPointL p) const
    {
        return {mapping_.X.ClampPixel(p.X).Pixel, mapping_.Y.ClampPixel(p.Y).Pixel};
    }

    const TViewMapping& mapping_;
    long double limit_;
    // Plain values with flags rather than optionals: GCC's optimiser takes an
    // optional's unset payload for a value read before it is written.
    TPointL previous_;
    bool hasPrevious_ = false;
    bool previousInside_ = false;
    QPoint last_; // the last point of the piece being built
    bool hasLast_ = false;
};

void SetCurveBrush(TCanvas& canvas, TColor inside, std::uint8_t pattern)
{
    canvas.Brush = TBrush{};
    canvas.Brush.Color = MonochromeColor(inside);
    SetBrushPattern(canvas.Brush, pattern);
}

} // namespace

void DrawCurve(const TViewMapping& mapping, const TPlotCanvases& canvases, const TPointFunction& object,
               const Tlocus& locus, const TPenSettings& settings)
{
    const TDrawContext& context = settings.Context;
    const bool afterImage = object.RAImg != 0;
    TCanvas* main = canvases.MainCanvas();
    TCanvas* trace = canvases.TraceCanvas(afterImage);
    const int width = context.Magnify(object.RWidth);
    const TPenStyle style = PenStyleCode(object.LineStyle);
    if (trace) {
        SetCurvePen(*trace, FadeColorBySetting(object.RColorNo1), width, style);
        SetCurveBrush(*trace, FadeColorBySetting(object.InsideColor), object.Pattern);
    }
    if (main) {
        SetCurvePen(*main, object.RColorNo1, width, style);
        SetCurveBrush(*main, object.InsideColor, object.Pattern);
    }
    const QPoint origin = mapping.WorldToPoint({0.0L, 0.0L});
    PolyLineBuffer.Init(canvases.Main, canvases.Trace, trace != nullptr, canvases.OnlyTrace,
                        TVPolyLine::DrawOutline | TVPolyLine::DrawFill, FillModeOf(object.FigType), origin.x(),
                        origin.y(), settings);

    const bool symbols = object.Kind == ObjectSequence && !IsWhiteColor(object.ColorNo1);
    std::vector<QPoint> symbolsAt;
    CurvePieces pieces(mapping);
    for (int i = 0; i < locus.Count; ++i) {
        const std::optional<QPoint> at = pieces.Add(locus.Items[static_cast<size_t>(i)]);
        if (symbols && at)
            symbolsAt.push_back(*at);
    }
    pieces.Break();

    // The symbols go over the line.
    for (const QPoint at : symbolsAt)
        DrawPointSymbols(canvases, afterImage, at, object.ColorNo1, object.Width, object.PointStyle != 0, context);
    for (TCanvas* canvas : {main, trace})
        if (canvas)
            ResetPenAndBrush(*canvas);
}

void DrawCurves(const TViewMapping& mapping, const TPlotCanvases& canvases, const TLocuses& loci,
                const TPointRecords& records, const TPenSettings& settings)
{
    ResetPointColors();
    for (int k = 1; k <= PointCount; ++k) {
        const TPointFunction& object = records[k];
        if (!IsCurveKind(object.Kind) || !object.Shown)
            continue;
        DrawCurve(mapping, canvases, object, loci.Items[k], settings);
        if (!canvases.Traces(object.RAImg != 0))
            continue;
        PointColors[k] = object.RColorNo1;
        if (object.Kind == ObjectSequence && !IsWhiteColor(object.ColorNo1))
            PointColors2[k] = object.ColorNo1;
    }
}

void DrawCurves(const TViewMapping& mapping, const TPlotCanvases& canvases)
{
    DrawCurves(mapping, canvases, Locuses, DocumentTables.Points, DocumentPenSettings(mapping.Context()));
}
