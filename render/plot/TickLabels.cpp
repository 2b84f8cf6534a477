#include "render/plot/TickLabels.h"

#include "model/Numeric.h"
#include "model/NumberText.h"
#include "model/Options.h"
#include "render/markup/MarkupDraw.h"
#include "render/plot/AxesTicks.h"
#include "render/view/TickLabelAids.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;
// Finer fractions are not worth a label.
constexpr std::int64_t MaxLabelDenominator = 1000000;
const QString PiSign = QStringLiteral("\u03C0");
const QString MinusSign = QStringLiteral("\u2212");
const QString DegreeSign = QStringLiteral("\u00B0");

QString Digits(std::int64_t n)
{
    return QString::number(n);
}

// A multiple of π (q = v / π), or a fraction of v itself, as a label.
TTickLabelText FractionLabel(long double q, bool pi)
{
    TTickLabelText label;
    // Within a billionth of a whole number it is that number.
    const long double whole = std::trunc(std::fabs(q) + 0.5L);
    if (SameDouble(std::fabs(q), whole))
        q = std::copysign(whole, q);
    std::int64_t n = 0;
    std::int64_t d = 1;
    if (!FloatToFraction(std::fabs(q), n, d) || d > MaxLabelDenominator)
        return label;
    label.Exists = true;
    const QString piAfter = pi ? PiSign : QString();
    if (n == 0) {
        label.Text = QStringLiteral("0");
    } else if (d == 1) {
        label.Text = pi && n == 1 ? PiSign : Digits(n) + piAfter;
    } else {
        label.Text = pi && n == 1 ? PiSign : Digits(n);
        label.Denominator = Digits(d);
        label.PiAfter = pi && n != 1;
        label.Measure = Digits(std::max(n, d)) + piAfter;
    }
    return label;
}

} // namespace

TTickLabelText TickLabelText(long double v, bool piAxis, bool fractions)
{
    TTickLabelText label;
    if (piAxis || fractions) {
        label = FractionLabel(piAxis ? v / Pi : v, piAxis);
        if (!label.Exists)
            return label;
    } else {
        label.Exists = true;
        label.Text = TrimTrailingZeros(FormatFixed(std::fabs(v), 19, 9, Separators.DecimalChar));
    }
    if (label.Measure.isEmpty())
        label.Measure = label.Text;
    label.Zero = label.Text == QStringLiteral("0");
    if (v < 0.0L && !label.Zero && !label.Text.isEmpty())
        label.Sign = MinusSign;
    return label;
}

void SetTickLabelFont(TCanvas& canvas, const TAxesFrame& frame)
{
    canvas.Font = TFont{.Name = QStringLiteral("Times New Roman"), .Color = ColorBlack};
    canvas.Font.SetSize(frame.Magnify(frame.FontSize() + 1));
}

TTickLabelSize DrawTickLabel(TCanvas& canvas, const TAxesFrame& frame, TAxisRole role, bool measureOnly, bool ruler,
                             QPoint at, long double v)
{
    SetTickLabelFont(canvas, frame);
    const ScaleT& view = frame.View;
    const ScaleSubT& axis = frame.Axis(role);
    const TTickLabelText label = TickLabelText(v, frame.IsPiAxis(role), view.LetterFrac != 0);
    if (!label.Exists || (label.Zero && !ruler))
        return {};
    const int w = canvas.TextWidth(label.Sign + label.Measure);
    const int digitHeight = canvas.TextHeight(QStringLiteral("8"));
    const int h = label.IsStacked() ? NearestInt(digitHeight * 1.6L) : digitHeight;
    if (measureOnly)
        return {w, h};

    const bool isX = role == TAxisRole::X;
    const bool corner = view.Letterposition != 1 && !ruler && view.PsMesh != 1 &&
                        (axis.ScaleVisible || view.Letterposition != 0);
    int lx = 0;
    int ly = 0;
    if (corner) {
        lx = at.x() - w - frame.Magnify(3);
        ly = at.y() + frame.Magnify(1);
    } else if (isX) {
        lx = at.x() + w / 2 - w;
        ly = at.y() + frame.Magnify(2);
    } else {
        lx = at.x() - w - frame.Magnify(3);
        ly = at.y() - NearestInt(h / 2.0L);
    }

    // Labels that would run into the axis name, or out of the view at its
    // left or bottom edge, are left out (their neighbours' spacing is the
    // caller's: see LabelledTickInterval).
    if (isX) {
        if (lx < 0 || lx + w >= frame.Magnify(frame.Mapping.X.Pixels - 8) - frame.Magnify(frame.FontSize()))
            return {w, h};
    } else if (ly <= frame.Magnify(8) + frame.Magnify(frame.FontSize()) ||
               ly + h > frame.Magnify(frame.Mapping.Y.Pixels)) {
        return {w, h};
    }

    int textY = ly;
    int end = lx;
    if (!label.IsStacked()) {
        const QString text = label.Sign + label.Text;
        canvas.TextOut(lx, ly, text);
        end = lx + canvas.TextWidth(text);
    } else {
        const int gap = NearestInt(canvas.Font.Size() / 10.0L);
        textY = ly + NearestInt(h / 8.0L);
        int x = lx - 2 * gap;
        if (!label.Sign.isEmpty())
            canvas.TextOut(x, textY, label.Sign);
        x += canvas.TextWidth(label.Sign) + gap;
        DrawStackedFraction(canvas, x, textY, label.Denominator, label.Text);
        if (label.PiAfter) {
            x += gap;
            canvas.TextOut(x, textY, PiSign);
            x += canvas.TextWidth(PiSign);
        }
        end = x;
    }
    if (isX && frame.Settings.DegreeLabels)
        canvas.TextOut(end, textY - frame.Magnify(2), DegreeSign);
    return {w, h};
}

namespace {

// Whether labels `length` apart in world units (the widest w wide and h
// high) keep clear of each other: the space between two of them exceeds
// the label and a gap. The polar view's y ruler ticks by x steps, but its
// labels stand along the y axis: they are spaced in y pixels.
bool LabelsFit(const TAxesFrame& frame, TAxisRole role, long double length, TTickLabelSize widest)
{
    const int spacing = frame.AxisMapping(role).LengthToPixels(length).Pixel;
    return role == TAxisRole::X ? spacing > frame.Magnify(10) + widest.Width
                                : spacing > frame.Magnify(5) + widest.Height;
}

// The widest and the highest label of every interval-th tick.
TTickLabelSize LargestLabel(TCanvas& canvas, const TAxesFrame& frame, TAxisRole role, bool ruler,
                            const TAxisTicks& ticks, std::int64_t interval)
{
    TTickLabelSize largest;
    for (std::int64_t i = ticks.FirstLabelled(interval); i < ticks.Count; i += interval) {
        const TTickLabelSize size = DrawTickLabel(canvas, frame, role, true, ruler, QPoint(), ticks.At(i));
        largest.Width = std::max(largest.Width, size.Width);
        largest.Height = std::max(largest.Height, size.Height);
    }
    return largest;
}

} // namespace

std::int64_t LabelledTickInterval(TCanvas& canvas, const TAxesFrame& frame, TAxisRole role, bool ruler,
                                  const TAxisTicks& ticks)
{
    const std::int64_t interval = UsableLabelInterval(frame.Axis(role).LInterval);
    const TAxisMapping& mapping = frame.AxisMapping(role);
    const long double step = frame.TickStep(role);
    const long double axisLength = mapping.MagnifiedPixels();
    // Labels less than the smallest gap apart never fit: no need to measure.
    const int smallestGap = frame.Magnify(role == TAxisRole::X ? 10 : 5);
    constexpr std::int64_t Thinnings[] = {1, 2, 5};
    constexpr std::int64_t MaxInterval = std::int64_t{1} << 62;
    std::int64_t n = interval;
    for (std::int64_t decade = 1; interval <= MaxInterval / 10 / decade; decade *= 10) {
        for (const std::int64_t k : Thinnings) {
            n = interval * k * decade;
            const long double length = step * static_cast<long double>(n);
            // Once the labels are a view apart at most one shows: it is kept.
            if (frame.TickSpacing(role, length) > axisLength)
                return n;
            if (mapping.LengthToPixels(length).Pixel > smallestGap &&
                LabelsFit(frame, role, length, LargestLabel(canvas, frame, role, ruler, ticks, n)))
                return n;
        }
    }
    return n;
}

int MeasureYLabels(TCanvas& canvas, const TAxesFrame& frame)
{
    const ScaleSubT& y = frame.View.YAxis;
    int widest = 0;
    if (y.AxesVisible && y.ValueVisible) {
        const TAxisTicks ticks = TicksFrom(y.Low, y.High, frame.TickStep(TAxisRole::Y));
        const std::int64_t interval = LabelledTickInterval(canvas, frame, TAxisRole::Y, true, ticks);
        widest = LargestLabel(canvas, frame, TAxisRole::Y, true, ticks, interval).Width;
    }
    SetAxisNameFont(canvas, frame);
    return std::max(widest, MeasureAxisName(canvas, frame, y) + frame.Magnify(8));
}

QString AxisNameMarkup(const ScaleSubT& axis)
{
    // Bold italic whatever the name's characters (no code page to ask).
    return QStringLiteral("<I><B>") + axis.Caption;
}

void SetAxisNameFont(TCanvas& canvas, const TAxesFrame& frame)
{
    canvas.Font = TFont{.Name = QStringLiteral("Times New Roman"), .Color = ColorBlack};
    canvas.Font.SetSize(frame.Magnify(frame.FontSize()));
}

namespace {

TMarkupExtent WriteAxisName(TCanvas& canvas, const TAxesFrame& frame, const ScaleSubT& axis, int x, int top,
                            bool draw)
{
    TMarkupOptions options;
    options.Draw = draw;
    options.BaseColor = ColorBlack;
    options.CompileMode = ModePlain;
    options.Context = frame.Settings.Pen.Context;
    return DrawMarkupLine(canvas, AxisNameMarkup(axis), x, top, options);
}

} // namespace

int MeasureAxisName(TCanvas& canvas, const TAxesFrame& frame, const ScaleSubT& axis)
{
    return WriteAxisName(canvas, frame, axis, 0, 0, false).Right;
}

void DrawAxisName(TCanvas& canvas, const TAxesFrame& frame, const ScaleSubT& axis, int x, int top)
{
    WriteAxisName(canvas, frame, axis, x, top, true);
}
