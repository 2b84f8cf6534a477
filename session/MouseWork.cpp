#include "session/MouseWork.h"

#include "engine/Compiler.h"
#include "engine/Evaluator.h"
#include "engine/NumberFields.h"
#include "model/DocumentState.h"
#include "model/Numeric.h"
#include "model/NumberText.h"
#include "model/ObjectNames.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "render/markup/TypesetImage.h"
#include "render/markup/TypesetLayout.h"
#include "render/plot/CoordinateText.h"
#include "render/plot/Figures.h"
#include "render/scene/HitTests.h"
#include "render/scene/TraceStore.h"
#include "session/RowModels.h"
#include "session/StoreOperations.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace {

int Sign(long long v)
{
    return (v > 0) - (v < 0);
}

// The world values a and b of a pixel span, low value first, and the
// axis's range: the zoom-out of one axis.
void ShrinkInto(long double a, long double b, long double& low, long double& high)
{
    const long double k = a == b ? 1.0L : (b - a) / (high - low);
    const long double newLow = low + (low - a) / k;
    const long double newHigh = high + (high - b) / k;
    low = newLow;
    high = newHigh;
}

// The corners of the square 2 pixels around the mouse, in world values.
struct TProbeSquare {
    std::array<long double, 2> X;
    std::array<long double, 2> Y;
};
TProbeSquare ProbeSquare(const ScaleT& view, QPoint mouse)
{
    return {{view.XAxis.PixelToValue(mouse.x() - 2), view.XAxis.PixelToValue(mouse.x() + 2)},
            {view.YAxis.PixelToValue(mouse.y() - 2), view.YAxis.PixelToValue(mouse.y() + 2)}};
}

// At least two defined corner values, and not all on one side of 0.
bool CornersCross(const std::array<std::optional<long double>, 4>& corners)
{
    int defined = 0;
    int sign = 2;
    bool mixed = false;
    for (const std::optional<long double>& c : corners) {
        if (!c)
            continue;
        ++defined;
        const int s = (*c > 0.0L) - (*c < 0.0L);
        if (sign == 2)
            sign = s;
        else if (s != sign)
            mixed = true;
    }
    return defined >= 2 && mixed;
}

std::optional<long double> RealOf(const TValue& v)
{
    if (!v.Defined || v.Kind != KindReal)
        return std::nullopt;
    return v.X;
}

bool IsDrawnFormula(const TEquationFunction& f)
{
    return f.Visible != 0 && !f.Func.Code.isEmpty();
}

} // namespace

TZoomDrag ZoomRectangle(QPoint down, QPoint mouse, int xPixels, int yPixels, bool shift, bool ctrl)
{
    const int dx = std::abs(mouse.x() - down.x());
    if (!shift && xPixels > 0) {
        const long long dy = static_cast<long long>(dx) * yPixels / xPixels;
        mouse.setY(down.y() + Sign(mouse.y() - down.y()) * static_cast<int>(dy));
    }
    const int dy = std::abs(mouse.y() - down.y());
    TPixelRect r;
    if (ctrl)
        r = {down.x() - dx, down.y() - dy, down.x() + dx, down.y() + dy};
    else
        r = {std::min(down.x(), mouse.x()), std::min(down.y(), mouse.y()), std::max(down.x(), mouse.x()),
             std::max(down.y(), mouse.y())};
    return {r, mouse};
}

TWorldRect ZoomInRange(const ScaleT& view, const TPixelRect& rect)
{
    return {{view.XAxis.PixelToValue(rect.Left), view.YAxis.PixelToValue(rect.Bottom)},
            {view.XAxis.PixelToValue(rect.Right), view.YAxis.PixelToValue(rect.Top)}};
}

TWorldRect ZoomOutRange(const ScaleT& view, const TPixelRect& rect)
{
    TWorldRect range = view.Range();
    ShrinkInto(view.XAxis.PixelToValue(rect.Left), view.XAxis.PixelToValue(rect.Right), range.Low.X, range.High.X);
    ShrinkInto(view.YAxis.PixelToValue(rect.Bottom), view.YAxis.PixelToValue(rect.Top), range.Low.Y, range.High.Y);
    return range;
}

TWorldRect MoveRange(const ScaleT& view, QPoint down, QPoint mouse)
{
    const long double dx = view.XAxis.PixelToValue(mouse.x()) - view.XAxis.PixelToValue(down.x());
    const long double dy = view.YAxis.PixelToValue(mouse.y()) - view.YAxis.PixelToValue(down.y());
    const TWorldRect r = view.Range();
    return {{r.Low.X - dx, r.Low.Y - dy}, {r.High.X - dx, r.High.Y - dy}};
}

long double ZoomMenuFactor(const QString& itemName)
{
    static const std::array<std::pair<const char*, long double>, 6> factors{{
        {"x21", 2.0L}, {"x51", 5.0L}, {"x10", 10.0L}, {"x1d2", 0.5L}, {"x1d5", 0.2L}, {"x1d10", 0.1L}}};
    for (const auto& [name, factor] : factors)
        if (itemName == QLatin1String(name))
            return factor;
    return 0.0L;
}

QString FormulaNumberText(long double value)
{
    QString text = FormatGeneral(value, 15, Separators.DecimalChar);
    ExponentToPower(text);
    return text;
}

QString FormulaCoordText(QString coordText)
{
    coordText = coordText.trimmed();
    ExponentToPower(coordText);
    return coordText;
}

QString CoordinateReadOut(const ScaleT& view, QPoint mouse)
{
    const QString text = u'(' + FormatPixelCoord(mouse.x(), view.XAxis, 0) + Separators.ListSepChar +
                         FormatPixelCoord(mouse.y(), view.YAxis, 0) + u')';
    return u' ' + text.left(26);
}

QString MouseHintText(int draggedKind, int areaMode)
{
    if (draggedKind == ObjectPolar || draggedKind == ObjectParametric)
        return QStringLiteral("Fixar no vértice com tecla Ctrl");
    if (draggedKind != 0)
        return QStringLiteral("Fixar na grade com tecla Ctrl");
    if (areaMode == AreaZoomIn || areaMode == AreaZoomOut)
        return QStringLiteral("Liberar razão x-y com tecla Shift, Definir a partir do centro com tecla Ctrl");
    return u' ' + QString(Separators.ListSepChar) + u' ';
}

int HitFunctionAt(const ScaleT& view, QPoint mouse)
{
    const TProbeSquare sq = ProbeSquare(view, mouse);
    for (int i = FunctionCount; i >= 1; --i) {
        const TEquationFunction& f = DocumentTables.Functions[i];
        if (!IsDrawnFormula(f))
            continue;
        std::array<std::optional<long double>, 4> corners;
        for (int ix = 0; ix < 2; ++ix) {
            const std::optional<long double> y = RealOf(EvaluateExpression(f.Func, ValueReal(sq.X[ix])));
            for (int iy = 0; iy < 2; ++iy)
                if (y)
                    corners[2 * ix + iy] = *y - sq.Y[iy];
        }
        if (CornersCross(corners))
            return i;
    }
    return 0;
}

int HitRelationAt(const ScaleT& view, QPoint mouse)
{
    const TProbeSquare sq = ProbeSquare(view, mouse);
    const TValue zero = ValueReal(0.0L);
    for (int i = RelationCount; i >= 1; --i) {
        const TEquationFunction& f = DocumentTables.Relations[i];
        if (!IsDrawnFormula(f))
            continue;
        std::array<std::optional<long double>, 4> corners;
        // As the scan draws it: what the relation evaluates inside reads the corner's y too.
        for (int ix = 0; ix < 2; ++ix)
            for (int iy = 0; iy < 2; ++iy)
                corners[2 * ix + iy] = RealOf(EvaluatePostfix(f.Func, ValueReal(sq.X[ix]), ValueReal(sq.Y[iy]), zero,
                                                              zero, DocumentEvalEnv.With(0, sq.Y[iy])));
        if (CornersCross(corners))
            return i;
    }
    return 0;
}

namespace {

THoverTarget ObjectTarget(int k)
{
    return {QString(PointLetter(k)) + u':', MakePntText(DocumentTables.Points[k])};
}

} // namespace

THoverTarget HoverTarget(const ScaleT& view, QPoint mouse)
{
    if (const int k = HitObjectAt(view, mouse, true).Object; k >= 1 && k <= PointCount)
        return ObjectTarget(k);
    if (const int k = TraceStore.FindSnapshotAt(view.Mapping(), mouse.x(), mouse.y()).Object; k != 0)
        return ObjectTarget(k);
    if (const int k = HitCircleEdge(view, mouse); k != 0)
        return ObjectTarget(k);
    if (const int k = HitCurveAt(view, mouse).Object; k >= 1 && k <= PointCount)
        return ObjectTarget(k);
    if (const int i = HitFunctionAt(view, mouse); i != 0)
        return {u'y' + QString::number(i) + u'=', DocumentTables.Functions[i].Func.NormText};
    if (const int i = HitRelationAt(view, mouse); i != 0)
        return {u'C' + QString::number(i) + u':', DocumentTables.Relations[i].Func.NormText};
    return {};
}

QImage ReadOutPicture(const THoverTarget& target, int fontSize)
{
    constexpr int margin = 3;
    const int formulaSize = static_cast<int>(NearestInt(fontSize * 1.1L));
    TBitmap measure(1, 1);
    TCanvas& m = measure.Canvas();
    m.Font = TFont{TypesetFontName};
    m.Font.SetSize(fontSize);
    m.Font.Bold = true;
    const int nameWidth = m.TextWidth(target.Name);
    const int nameHeight = m.TextHeight(target.Name);
    TTypesetOptions options;
    options.Draw = false;
    const TTypesetExtent extent = DrawExpression(m, 0, 0, formulaSize, target.Formula, options);
    const int top = std::min(extent.Top, 0);
    const int height = std::max(extent.Bottom, nameHeight) - top + 2 * margin;
    TBitmap image(nameWidth + extent.Width + 3 * margin, std::max(height, nameHeight + 2 * margin));
    TCanvas& c = image.Canvas();
    c.Brush = TBrush{TBrushStyle::Solid, ColorWhite, {}};
    c.FillRect({0, 0, image.Width(), image.Height()});
    c.Font = m.Font;
    c.Brush.Style = TBrushStyle::Clear;
    c.TextOut(margin, margin - top, target.Name);
    options.Draw = true;
    DrawExpression(c, 2 * margin + nameWidth, margin - top, formulaSize, target.Formula, options);
    return image.Image().copy();
}

TPopupTargets PopupTargetsAt(const ScaleT& view, QPoint mouse)
{
    TPopupTargets t;
    t.Object = HitObjectAt(view, mouse, true).Object;
    if (t.Object < 1 || t.Object > PointCount)
        t.Object = HitCircleEdge(view, mouse);
    t.Figure = HitTest(DocumentFigureView(view), mouse.x(), mouse.y());
    t.Function = HitFunctionAt(view, mouse);
    t.Relation = HitRelationAt(view, mouse);
    t.Curve = HitCurveAt(view, mouse).Object;
    if (t.Curve < 1 || t.Curve > PointCount)
        t.Curve = 0;
    if (t.Object == t.Curve)
        t.Object = 0;
    return t;
}

std::vector<int> EmptyPointSlots()
{
    std::vector<int> slots;
    for (int k = 1; k < PointCount; ++k)
        if (DocumentTables.Points[k].Kind == ObjectEmpty)
            slots.push_back(k);
    return slots;
}

int PointMenuColumnBreak(int count)
{
    return count > 6 ? (count + 1) / 2 + 1 : 0;
}

bool PlacePointAt(const ScaleT& view, int k, QPoint pixel)
{
    if (k < 1 || k > PointCount || DocumentTables.Points[k].Kind != ObjectEmpty)
        return false;
    TPointFunction p = DocumentTables.Points[k];
    p.Kind = ObjectPoint;
    p.X.Text = FormulaCoordText(FormatPixelCoord(pixel.x(), view.XAxis, 0));
    p.Y.Text = FormulaCoordText(FormatPixelCoord(pixel.y(), view.YAxis, 0));
    PrepareExpression(p.X, k);
    PrepareExpression(p.Y, k);
    p.LabelPos = 3;
    p.Draggable = 1;
    const TDefaultFigure& style = ProgramState.DefaultFigureStyle;
    p.Dimension = static_cast<std::uint8_t>(style.Dimension);
    p.ColorNo1 = style.ColorNo1;
    p.RColorNo1 = style.RColorNo1;
    p.Width = static_cast<std::uint8_t>(style.Width);
    p.RWidth = static_cast<std::uint8_t>(style.RWidth);
    p.LineStyle = static_cast<std::uint8_t>(style.LineStyle);
    JoinPointTexts(p, PointTextDirection::Join);
    PrepareExpression(p.Pos, k);
    SetPnt(k, p);
    return true;
}
