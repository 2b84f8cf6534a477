#include "render/view/Scale.h"

#include "engine/Compiler.h"
#include "engine/TokenTable.h"
#include "model/Numeric.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "model/Settings.h"
#include "model/ViewRange.h"
#include "render/view/RedrawState.h"
#include "render/view/ViewServices.h"

#include <algorithm>
#include <cmath>
#include <numbers>

ScaleT GraphScale;

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
// Fitting a fitted range again moves it only where its tick step changed: a
// few rounds settle it. Ranges that fitting moves by less than a thousandth
// of a pixel (far below what even a print magnified 16 times shows) count as
// kept.
constexpr int MaxFittingRounds = 4;
constexpr long double FittingTolerance = 1E-3L;
constexpr int MaxPolorNum = 72;

// Repeated zooming can bring the bounds together; such a range has no
// pixels per unit.
bool IsUsableRect(const TWorldRect& range)
{
    return ScaleSubT::IsUsableRange(range.Low.X, range.High.X) && ScaleSubT::IsUsableRange(range.Low.Y, range.High.Y);
}

} // namespace

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
        TRedrawWindow& window = CurrentRedrawWindow();
        if (const std::optional<int> panel = window.DataPanelWidth()) {
            int width = stored.GraphPixelWidth;
            const int workArea = window.WorkAreaWidth();
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
    const QString translated = CurrentAxisNameTranslator().TranslateAxisName(Caption);
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

bool ScaleT::SetRange(TGraphImages& images, const TWorldRect& range)
{
    if (!IsUsableRect(range))
        return false;
    // A fitted range fits again to itself within rounding, or, where its
    // new width gives another tick step, to another range. So the range is
    // fitted until fitting keeps it, and the range that fitting keeps is
    // taken exactly as it stands; one that never settles (the origin far
    // off at a scale of thousands of units a pixel) is taken as given. The
    // outcome depends on the range alone: the view set to its own range
    // changes nothing, and a saved view opens as it was saved.
    TWorldRect wanted = range;
    bool settled = false;
    for (int round = 0; round < MaxFittingRounds && !settled; ++round) {
        FitRange(wanted);
        const TWorldRect fitted = Range();
        settled = IsSameView(fitted, wanted);
        if (!settled)
            wanted = fitted;
    }
    if (!settled)
        wanted = range;
    XAxis.SetBounds(wanted.Low.X, wanted.High.X);
    XAxis.Recalc();
    YAxis.SetBounds(wanted.Low.Y, wanted.High.Y);
    // A fitted y axis keeps the factors of its aspect.
    if (!settled)
        YAxis.Recalc();
    InitColumns();

    SetDirtyObjects();
    SetDirtyScale();
    for (int i = 1; i <= FunctionCount; ++i)
        MarkNamesChanged(QStringView(&Vocabulary.FunctionTokens[i], 1));
    MarkNamesChanged(QStringView(&TokenCodes.Area, 1));
    SetDirtyView();
    CurrentRedrawer().Redraw(*this, images);
    return true;
}

void ScaleT::FitRange(const TWorldRect& range)
{
    // Lengths from a file or an undo step may be anything; the aspect
    // below needs those the axes will have.
    XAxis.VHigh = ClampAxisPixels(XAxis.VHigh);
    YAxis.VHigh = ClampAxisPixels(YAxis.VHigh);
    XAxis.SetBounds(range.Low.X, range.High.X);
    YAxis.SetBounds(range.Low.Y, range.High.Y);
    long double ratio = (range.Height() / range.Width()) * (static_cast<long double>(XAxis.VHigh) / YAxis.VHigh);
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
    // The aspect takes the fitted x range: the y range has its units per
    // pixel already, and is not scaled by the x factor a second time (that
    // shrank it at every fitting while the view kept the aspect's factors).
    SetAspect(ratio);
    YAxis.Recalc();
    if (k) {
        const long double o = YAxis.Low < 0.0L && 0.0L < YAxis.High ? YAxis.PixelToValue(YAxis.ValueToPixel(0.0L))
                                                                      : 0.0L;
        // The y factors stay those of the aspect step, so that both axes
        // keep the same pixels per unit.
        YAxis.SetBounds(YAxis.Low - o, YAxis.High - o);
    }
}

bool ScaleT::IsSameView(const TWorldRect& a, const TWorldRect& b) const
{
    const long double x = XAxis.UnitsPerPixel * FittingTolerance;
    const long double y = YAxis.UnitsPerPixel * FittingTolerance;
    return std::fabs(a.Low.X - b.Low.X) <= x && std::fabs(a.High.X - b.High.X) <= x &&
           std::fabs(a.Low.Y - b.Low.Y) <= y && std::fabs(a.High.Y - b.High.Y) <= y;
}

bool ScaleT::SetRangeRecorded(TGraphImages& images, const TWorldRect& range)
{
    if (!IsUsableRect(range))
        return false;
    CurrentRedrawer().PushViewHistory(*this);
    return SetRange(images, range);
}

TWorldRect ScaleT::Range() const
{
    return {{XAxis.Low, YAxis.Low}, {XAxis.High, YAxis.High}};
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

bool ScaleT::ZoomAt(TWorldPoint centre, long double factorX, long double factorY)
{
    const auto zoomed = [&](TWorldPoint p) -> TWorldPoint {
        return {(p.X - centre.X) / factorX + centre.X, (p.Y - centre.Y) / factorY + centre.Y};
    };
    const TWorldRect range = Range();
    return SetRangeRecorded(GraphImages, {zoomed(range.Low), zoomed(range.High)});
}

void ScaleT::SetNormalView(TGraphImages& images)
{
    PolorNum = DefaultPolorNum;
    for (TPointState& s : PointStates)
        s.Kind = 0;
    const long double u = (XAxis.High - XAxis.Low) / XAxis.VHigh;
    const long double m = (YAxis.Low + YAxis.High) / 2.0L;
    const long double yHigh = YAxis.VHigh * u * ProgramState.AspectFactor / 2.0L + m;
    SetRange(images, {{XAxis.Low, 2.0L * m - yHigh}, {XAxis.High, yHigh}});
}

void ScaleT::InitColumns()
{
    Columns.InitColumns(XAxis);
}

bool ScaleT::IsPolorNum(int n)
{
    return n >= 1 && n <= MaxPolorNum;
}

int ScaleT::UsablePolorNum(int n)
{
    return IsPolorNum(n) ? n : DefaultPolorNum;
}

void ScaleT::StepUp()
{
    const auto next = std::upper_bound(std::begin(PolorSteps), std::end(PolorSteps), PolorCount());
    PolorNum = next != std::end(PolorSteps) ? *next : PolorSteps[std::size(PolorSteps) - 1];
    SetDirtyScale();
}

void ScaleT::StepDown()
{
    const auto next = std::lower_bound(std::begin(PolorSteps), std::end(PolorSteps), PolorCount());
    PolorNum = next != std::begin(PolorSteps) ? *(next - 1) : PolorSteps[0];
    SetDirtyScale();
}

TWorldPoint ScaleT::SnapPolar(int px, int py)
{
    const long double x0 = XAxis.PixelToValue(px);
    const long double y0 = YAxis.PixelToValue(py);
    long double r = std::sqrt(x0 * x0 + y0 * y0);
    long double a;
    if (x0 == 0.0L)
        a = y0 >= 0.0L ? Pi / 2.0L : -Pi / 2.0L;
    else
        a = std::atan(y0 / x0) + (x0 < 0.0L ? Pi : 0.0L);
    const long double d = 2.0L * Pi / PolorCount();
    a = NearestInt(a / d) * d;
    long double cosA = std::cos(a);
    long double sinA = std::sin(a);
    if (SameDouble(a, 0.0L) || SameDouble(a, Pi))
        sinA = 0.0L;
    if (SameDouble(a, Pi / 2.0L) || SameDouble(a, -Pi / 2.0L))
        cosA = 0.0L;
    r = XAxis.PixelToGridValue(XAxis.ValueToPixel(r));
    return {r * cosA, r * sinA};
}

bool ScaleT::IsYAxisAtBorder() const
{
    if (!YAxis.AxesVisible)
        return false;
    if (AxisOn)
        return true;
    const int p = XAxis.ValueToPixel(0.0L);
    return p < 4 || p > XAxis.VHigh;
}

bool ScaleT::IsXAxisAtBorder() const
{
    if (!XAxis.AxesVisible)
        return false;
    if (AxisOn)
        return true;
    const int p = YAxis.ValueToPixel(0.0L);
    return p < 0 || p > YAxis.VHigh - 2;
}
