#include "render/view/Scale.h"

#include "engine/Compiler.h"
#include "engine/TokenTable.h"
#include "model/Numeric.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "model/Settings.h"
#include "model/ViewRange.h"
#include "render/view/RedrawState.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>

ScaleT GraphScale;
TScaleHooks ScaleHooks;

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;
constexpr int MaxDivisions = 40;
// Far more steps than any usable base and range need; a bound, not a limit.
constexpr int MaxTickStepIterations = 100000;

struct TRatio {
    int Num;
    int Den;
};
constexpr TRatio DecimalCycle[] = {{1, 2}, {2, 5}, {1, 2}};
constexpr TRatio AngleCycle[] = {{1, 2}, {2, 3}, {3, 4}, {3, 3}, {2, 3}, {1, 2}, {2, 5}, {1, 2}};

constexpr int PolorSteps[] = {1, 2, 3, 4, 5, 6, 8, 9, 12, 18, 24, 30, 36, 72};
constexpr int DefaultPolorNum = 12;

TPointL ClampedPoint(const TPointL& p)
{
    return {ClampToPixelLimit(p.X), ClampToPixelLimit(p.Y)};
}

long double ClampRectCoord(long double c, long double m)
{
    if (c < 0.0L)
        return -1.0L;
    return c <= m ? c : m + 1.0L;
}

bool BeyondLimit(const TPointL& p, long double limit)
{
    return std::fabs(p.X) > limit || std::fabs(p.Y) > limit;
}

} // namespace

int Magnify(long double size)
{
    return NearestInt(size * ProgramState.Magnification);
}

long double ClampToPixelLimit(long double v)
{
    const long double limit = PixelLimit();
    return std::clamp(v, -limit, limit);
}

int ClampAxisPixels(int pixels)
{
    return std::clamp(pixels, MinAxisPixels, MaxAxisPixels);
}

// ---------------------------------------------------------------- ScaleSubT

void ScaleSubT::Init(QChar letter, int reserve)
{
    const TStoredSettings& stored = ProgramSettings;
    const TProgramState& state = ProgramState;
    AxisChar = letter;
    if (stored.ControlPalette)
        reserve = 0;
    int h = state.GraphPixelHeight;
    if (state.GraphMaxHeight - reserve < state.GraphPixelHeight)
        h -= reserve;
    Vlow = 0;
    VHigh = h;
    if (IsY()) {
        High = stored.ScaleYHigh;
        Low = stored.ScaleYLow;
    } else {
        High = stored.ScaleXHigh;
        Low = stored.ScaleXLow;
        if (stored.ControlPalette)
            h = state.GraphPixelHeight;
        const std::optional<int> panel = ScaleHooks.DataPanelWidth ? ScaleHooks.DataPanelWidth() : std::nullopt;
        if (panel) {
            int width = stored.GraphPixelWidth;
            const int workArea = ScaleHooks.WorkAreaWidth ? ScaleHooks.WorkAreaWidth() : INT_MAX / 2;
            if (workArea < stored.GraphPixelWidth + *panel + 20)
                width = workArea - *panel - 20;
            VHigh = std::max(width, h);
        } else {
            VHigh = h;
        }
    }
    // Lengths from files or the history may exceed the column tables.
    VHigh = ClampAxisPixels(VHigh);
    AxesVisible = ScaleVisible = ValueVisible = GuideVisible = 1;
    Number = 7;
    LInterval = 1;
    Base = 1.0L;
    Caption = QString(letter);
    SetNameText();
    SetLetter(letter);
    PublishRange();
}

void ScaleSubT::SetBounds(long double low, long double high)
{
    Low = low;
    High = high;
    PublishRange();
}

void ScaleSubT::SetNameText()
{
    const QString translated = ScaleHooks.TranslateAxisName ? ScaleHooks.TranslateAxisName(Caption) : Caption;
    PlainCaption.clear();
    for (QChar c : translated)
        if (c.unicode() >= 26 && c != u'{' && c != u'}')
            PlainCaption += c;
}

void ScaleSubT::SetLetter(QChar letter)
{
    letter_ = letter;
    if (!IsY())
        CompileSettings.HorizontalAxisLetter = letter;
}

void ScaleSubT::Recalc()
{
    Vlow = 0;
    VHigh = ClampAxisPixels(VHigh);
    // An unusable range would give infinite factors; the old ones stay.
    if (!IsUsableRange(Low, High))
        return;
    const long double oldPixelsPerUnit = PixelsPerUnit;
    const long double oldZeroPixel = ZeroPixel;
    PixelsPerUnit = VHigh / (High - Low);
    UnitsPerPixel = 1.0L / PixelsPerUnit;
    ZeroPixel = std::trunc(-Low * PixelsPerUnit + 0.5L);
    if (IsY())
        ZeroPixel = VHigh - ZeroPixel;
    else if (ZeroPixel != oldZeroPixel || PixelsPerUnit != oldPixelsPerUnit)
        SetDirtyObjects();
    Decimals = UnitsPerPixel < 1.0L ? 1 - static_cast<int>(std::trunc(std::log(UnitsPerPixel) / std::log(10.0L))) : 0;
    PublishRange();
}

void ScaleSubT::PublishRange() const
{
    if (IsY()) {
        ViewRange.YLow = Low;
        ViewRange.YHigh = High;
        ViewRange.YPixels = VHigh;
    } else {
        ViewRange.XLow = Low;
        ViewRange.XHigh = High;
        ViewRange.XPixels = VHigh;
    }
}

int ScaleSubT::LengthToPixels(long double length)
{
    return ClampedPixel(length * PixelsPerUnit * ProgramState.Magnification);
}

long double ScaleSubT::PixelsToLength(long double length) const
{
    return length * UnitsPerPixel;
}

long double ScaleSubT::PixelToGridValue(int p) const
{
    const long double v = PixelToValue(p);
    const long double s = CalcTickStep();
    return std::round(v / s) * s;
}

bool ScaleSubT::IsPiBase() const
{
    std::int64_t num = 0;
    std::int64_t den = 1;
    return FloatToFraction(Base / Pi, num, den);
}

long double ScaleSubT::CalcTickStep() const
{
    const long double range = std::fabs(High - Low);
    // A base from a file may be anything; 0, negative or infinite would
    // never reach the target.
    const long double base = std::isfinite(Base) && Base > 0.0L ? Base : 1.0L;
    if (!(std::isfinite(range) && range > 0.0L))
        return base;
    if (Number == 0)
        return range * 1E6L; // no tick inside the range
    const int number = std::clamp(Number, 1, MaxDivisions);
    const bool angles = IsPiBase() || base == 90.0L || base == 180.0L;
    const TRatio* cycle = angles ? AngleCycle : DecimalCycle;
    const int cycleLength = angles ? std::size(AngleCycle) : std::size(DecimalCycle);
    const long double climb = angles ? 2.0L : 10.0L;

    const long double target = range / number;
    long double s = base;
    for (int i = 0; s < target && i < MaxTickStepIterations; ++i)
        s *= climb;
    int c = cycleLength - 1;
    for (int i = 0; s > target && i < MaxTickStepIterations; ++i) {
        c = (c + 1) % cycleLength;
        s = s * cycle[c].Num / cycle[c].Den;
    }
    return s;
}

void ScaleSubT::ClampDivisions(int& n)
{
    n = std::clamp(n, 1, MaxDivisions);
}

void ScaleSubT::IncreaseDivisions()
{
    const long double s0 = CalcTickStep();
    while (Number < MaxDivisions) {
        ++Number;
        if (CalcTickStep() != s0)
            break;
    }
    SetDirtyScale();
}

void ScaleSubT::DecreaseDivisions()
{
    if (Number > 1) {
        const long double s0 = CalcTickStep();
        while (CalcTickStep() == s0 && Number >= 2)
            --Number;
    }
    SetDirtyScale();
}

bool ScaleSubT::IsUsableRange(long double low, long double high)
{
    const long double width = high - low;
    return std::isfinite(low) && std::isfinite(high) && std::isfinite(width) && width > 0.0L &&
           width >= std::max(std::fabs(low), std::fabs(high)) * 1E-15L;
}

// ------------------------------------------------------------------- ScaleT

ScaleT::ScaleT()
{
    XAxis.AxisChar = u'x';
    YAxis.AxisChar = u'y';
    YAxis.Caption = YAxis.PlainCaption = QStringLiteral("y");
    for (TValue& v : UndefinedColumns.Values())
        v = ValueUndefined(KindReal);
}

void ScaleT::Startup()
{
    Layout(0, true);
    XAxis.Recalc();
    YAxis.Recalc();
    InitColumns();
    SquareQ = 0;
    for (TPointState& s : RecordedStates)
        s.Kind = 0;
    ViewParams = DocumentTables.Params;
    AxisOn = Letterposition = LetterFrac = 0;
    InitRedrawState();
}

void ScaleT::Layout(int reserve, bool reset)
{
    TProgramState& state = ProgramState;
    TStoredSettings& stored = ProgramSettings;
    if (reset) {
        PsMesh = 0;
        state.FontSize = state.DisplayFontSize;
        AxisWidth = state.PresentationMode ? 2 : 1;
        AxisStyle = 0;
        AxisOn = Letterposition = LetterFrac = 0;
    }
    state.GraphPixelHeight = state.GraphMaxHeight;
    stored.GraphPixelWidth = state.GraphPixelHeight;
    LoadScaleSettings();
    // The stored size may be anything; the graph is never larger than its axes.
    state.GraphPixelHeight = ClampAxisPixels(state.GraphPixelHeight);
    stored.GraphPixelWidth = state.GraphPixelHeight - (stored.ControlPalette ? 0 : reserve);
    XAxis.Init(u'x', reserve);
    YAxis.Init(u'y', reserve);
}

bool ScaleT::SetRange(TGraphImages& images, long double yHigh, long double xHigh, long double yLow, long double xLow)
{
    // Repeated zooming can bring the bounds together; such a range has no
    // pixels per unit, so the view stays as it is.
    if (!ScaleSubT::IsUsableRange(xLow, xHigh) || !ScaleSubT::IsUsableRange(yLow, yHigh))
        return false;
    XAxis.SetBounds(xLow, xHigh);
    YAxis.SetBounds(yLow, yHigh);
    long double ratio = ((yHigh - yLow) / (xHigh - xLow)) * (static_cast<long double>(XAxis.VHigh) / YAxis.VHigh);
    if (std::fabs(ratio - 1.0L) < 0.001L)
        ratio = 1.0L;
    XAxis.Recalc();

    // Fitting: one tick step covers a whole number of pixels and the tick at
    // c falls on a pixel.
    std::optional<long double> k;
    if (Options.AreaRectify && XAxis.Number >= 1) {
        const long double s = XAxis.CalcTickStep();
        const long double c = XAxis.Low < 0.0L && 0.0L < XAxis.High
                                  ? 0.0L
                                  : std::trunc(((XAxis.Low + XAxis.High) / 2.0L) / s) * s;
        const long double p0 = XAxis.PixelToValue(XAxis.ValueToPixel(c));
        const long double p1 = XAxis.PixelToValue(XAxis.ValueToPixel(c + s));
        if (p1 != p0) {
            k = s / (p1 - p0);
            XAxis.SetBounds((XAxis.Low - c) * *k + p0, (XAxis.High - c) * *k + p0);
            XAxis.Recalc();
        }
    }
    InitColumns();
    SetAspect(ratio);
    YAxis.Recalc();
    if (k) {
        const long double o = YAxis.Low < 0.0L && 0.0L < YAxis.High ? YAxis.PixelToValue(YAxis.ValueToPixel(0.0L))
                                                                      : 0.0L;
        const long double m = (YAxis.Low + YAxis.High) / 2.0L;
        // The y factors stay those of the aspect step, so that both axes
        // keep the same pixels per unit; the next Recalc of y maps the new
        // bounds.
        YAxis.SetBounds((YAxis.Low - m) * *k + m - o, (YAxis.High - m) * *k + m - o);
    }

    SetDirtyObjects();
    SetDirtyScale();
    for (int i = 1; i <= FunctionCount; ++i)
        MarkNamesChanged(QStringView(&Vocabulary.FunctionTokens[i], 1));
    MarkNamesChanged(QStringView(&TokenCodes.Area, 1));
    SetDirtyView();
    if (ScaleHooks.Redraw)
        ScaleHooks.Redraw(*this, images);
    return true;
}

bool ScaleT::SetRangeRecorded(TGraphImages& images, long double yHigh, long double xHigh, long double yLow,
                              long double xLow)
{
    if (!ScaleSubT::IsUsableRange(xLow, xHigh) || !ScaleSubT::IsUsableRange(yLow, yHigh))
        return false;
    if (ScaleHooks.PushViewHistory)
        ScaleHooks.PushViewHistory(*this);
    return SetRange(images, yHigh, xHigh, yLow, xLow);
}

void ScaleT::SetAspect(long double ratio)
{
    const long double m = (YAxis.Low + YAxis.High) / 2.0L;
    const long double h =
        (XAxis.High - XAxis.Low) * (static_cast<long double>(YAxis.VHigh) / XAxis.VHigh) / 2.0L;
    YAxis.SetBounds(m - ratio * h, m + ratio * h);
    SetDirtyView();
    SetDirtyScale();
}

bool ScaleT::IsEqualScale() const
{
    return XAxis.PixelsPerUnit == YAxis.PixelsPerUnit;
}

bool ScaleT::ZoomAt(long double cy, long double cx, long double fy, long double fx)
{
    const auto zoomed = [](long double v, long double centre, long double factor) {
        return (v - centre) / factor + centre;
    };
    return SetRangeRecorded(GraphImages, zoomed(YAxis.High, cy, fy), zoomed(XAxis.High, cx, fx),
                            zoomed(YAxis.Low, cy, fy), zoomed(XAxis.Low, cx, fx));
}

void ScaleT::SetNormalView(TGraphImages& images)
{
    PolorNum = DefaultPolorNum;
    for (TPointState& s : PointStates)
        s.Kind = 0;
    const long double u = (XAxis.High - XAxis.Low) / XAxis.VHigh;
    const long double m = (YAxis.Low + YAxis.High) / 2.0L;
    const long double yHigh = YAxis.VHigh * u * ProgramState.AspectFactor / 2.0L + m;
    SetRange(images, yHigh, XAxis.High, 2.0L * m - yHigh, XAxis.Low);
}

void ScaleT::InitColumns()
{
    for (int c = XAxis.Vlow - 1; c <= LastUsedColumn; ++c) {
        ColumnX[c] = ValueReal(XAxis.PixelToValue(c));
        UndefinedColumns[c] = ValueUndefined(KindReal);
    }
}

int ScaleT::ValidPolorNum()
{
    if (std::find(std::begin(PolorSteps), std::end(PolorSteps), PolorNum) == std::end(PolorSteps))
        PolorNum = DefaultPolorNum;
    return PolorNum;
}

void ScaleT::StepUp()
{
    const int current = ValidPolorNum();
    const auto next = std::upper_bound(std::begin(PolorSteps), std::end(PolorSteps), current);
    PolorNum = next != std::end(PolorSteps) ? *next : PolorSteps[std::size(PolorSteps) - 1];
    SetDirtyScale();
}

void ScaleT::StepDown()
{
    const int current = ValidPolorNum();
    const auto next = std::lower_bound(std::begin(PolorSteps), std::end(PolorSteps), current);
    PolorNum = next != std::begin(PolorSteps) ? *(next - 1) : PolorSteps[0];
    SetDirtyScale();
}

void ScaleT::SnapPolar(int px, int py, long double& y, long double& x)
{
    const long double x0 = XAxis.PixelToValue(px);
    const long double y0 = YAxis.PixelToValue(py);
    long double r = std::sqrt(x0 * x0 + y0 * y0);
    long double a;
    if (x0 == 0.0L)
        a = y0 >= 0.0L ? Pi / 2.0L : -Pi / 2.0L;
    else
        a = std::atan(y0 / x0) + (x0 < 0.0L ? Pi : 0.0L);
    const long double d = 2.0L * Pi / ValidPolorNum();
    a = NearestInt(a / d) * d;
    long double cosA = std::cos(a);
    long double sinA = std::sin(a);
    if (SameDouble(a, 0.0L) || SameDouble(a, Pi))
        sinA = 0.0L;
    if (SameDouble(a, Pi / 2.0L) || SameDouble(a, -Pi / 2.0L))
        cosA = 0.0L;
    r = XAxis.PixelToGridValue(XAxis.ValueToPixel(r));
    x = r * cosA;
    y = r * sinA;
}

bool ScaleT::IsYAxisAtBorder()
{
    if (!YAxis.AxesVisible)
        return false;
    if (AxisOn)
        return true;
    const int p = XAxis.ValueToPixel(0.0L);
    return p < 4 || p > XAxis.VHigh;
}

bool ScaleT::IsXAxisAtBorder()
{
    if (!XAxis.AxesVisible)
        return false;
    if (AxisOn)
        return true;
    const int p = YAxis.ValueToPixel(0.0L);
    return p < 0 || p > YAxis.VHigh - 2;
}

void ScaleT::WorldToPoint(QPoint& p, long double y, long double x)
{
    p = QPoint(XAxis.ValueToPixel(x), YAxis.ValueToPixel(y));
}

bool ScaleT::ClipLine(std::uint8_t kind, TPointL& p1, long double x1, long double y1, long double x2, long double y2,
                      TPointL& p2)
{
    const long double w = Magnify(XAxis.VHigh);
    const long double h = Magnify(YAxis.VHigh);
    const long double m = std::max(w, h);
    const long double limit = PixelLimit();
    const TPointL a{XAxis.ValueToPixelF(x1), YAxis.ValueToPixelF(y1)};
    const TPointL b{XAxis.ValueToPixelF(x2), YAxis.ValueToPixelF(y2)};
    p1 = ClampedPoint(a);
    p2 = ClampedPoint(b);
    const long double dx = b.X - a.X;
    const long double dy = b.Y - a.Y;
    // Equal end points, or ends with no pixel, make nothing to draw.
    if (!std::isfinite(dx) || !std::isfinite(dy) || (dx == 0.0L && dy == 0.0L))
        return false;

    switch (kind) {
    case ClipHalfLine: {
        if (IsNearZero(dx) && IsNearZero(dy))
            return false;
        if (std::fabs(dx) < std::fabs(dy)) {
            const long double border = dy > 0.0L ? h : 0.0L;
            const bool beyond = dy > 0.0L ? a.Y > h : a.Y < 0.0L;
            if (!beyond)
                p2 = ClampedPoint({a.X + dx * (border - a.Y) / dy, border});
        } else {
            const long double border = dx > 0.0L ? w : 0.0L;
            const bool beyond = dx > 0.0L ? a.X > w : a.X < 0.0L;
            if (!beyond)
                p2 = ClampedPoint({border, a.Y + dy * (border - a.X) / dx});
        }
        return true;
    }
    case ClipWholeLine:
        if (IsNearZero(dx) && IsNearZero(dy))
            return false;
        if (std::fabs(dx) < std::fabs(dy)) {
            p1 = ClampedPoint({a.X - dx * a.Y / dy, 0.0L});
            p2 = ClampedPoint({a.X + dx * (h - a.Y) / dy, h});
        } else {
            p1 = ClampedPoint({0.0L, a.Y - dy * a.X / dx});
            p2 = ClampedPoint({w, a.Y + dy * (w - a.X) / dx});
        }
        return true;
    case ClipRectangle:
        for (TPointL* p : {&p1, &p2}) {
            p->X = NearestInt(ClampRectCoord(p->X, m));
            p->Y = NearestInt(ClampRectCoord(p->Y, m));
        }
        return true;
    default:
        break;
    }

    const bool aBeyond = BeyondLimit(a, limit);
    const bool bBeyond = BeyondLimit(b, limit);
    if (!aBeyond && !bBeyond)
        return true;
    const bool whollyOutside = (a.X < 0.0L && b.X < 0.0L) || (a.Y < 0.0L && b.Y < 0.0L) ||
                               (a.X > w && b.X > w) || (a.Y > h && b.Y > h);
    if (whollyOutside)
        return true;
    // The foot of the perpendicular from the view's centre onto the line.
    const TPointL centre{w / 2.0L, h / 2.0L};
    const long double length = std::sqrt(dx * dx + dy * dy);
    const long double t = ((centre.X - a.X) * dx + (centre.Y - a.Y) * dy) / (length * length);
    const TPointL foot{a.X + t * dx, a.Y + t * dy};
    if (std::hypot(foot.X - centre.X, foot.Y - centre.Y) <= std::hypot(centre.X, centre.Y)) {
        // Far ends come in to twice the view's size from the foot, keeping
        // the direction.
        const long double reach = 2.0L * m / length;
        if (aBeyond)
            p1 = {foot.X - dx * reach, foot.Y - dy * reach};
        if (bBeyond)
            p2 = {foot.X + dx * reach, foot.Y + dy * reach};
    } else {
        p1.X = p2.X = 2.0L * w; // the line passes by the view
    }
    return true;
}

bool ScaleT::ClipLineToPoints(std::uint8_t kind, QPoint& p1, long double x1, long double y1, long double x2,
                              long double y2, QPoint& p2)
{
    TPointL q1;
    TPointL q2;
    const bool result = ClipLine(kind, q1, x1, y1, x2, y2, q2);
    p1 = QPoint(NearestInt(q1.X), NearestInt(q1.Y));
    p2 = QPoint(NearestInt(q2.X), NearestInt(q2.Y));
    return result;
}
