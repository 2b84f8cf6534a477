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

    // Labels that would collide with their neighbours or the axis name are
    // left out, not shrunk.
    const long double labelled = frame.TickStep(role) * UsableLabelInterval(axis.LInterval);
    const int interval = frame.SpacingMapping(role).LengthToPixels(labelled).Pixel;
    if (isX) {
        if (interval <= frame.Magnify(10) + w ||
            lx + w >= frame.Magnify(frame.Mapping.X.Pixels - 8) - frame.Magnify(frame.FontSize()))
            return {w, h};
    } else if (interval <= frame.Magnify(5) + h || ly <= frame.Magnify(8) + frame.Magnify(frame.FontSize())) {
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

int MeasureYLabels(TCanvas& canvas, const TAxesFrame& frame)
{
    const ScaleSubT& y = frame.View.YAxis;
    int widest = 0;
    if (y.AxesVisible && y.ValueVisible) {
        const long double step = frame.TickStep(TAxisRole::Y);
        const int interval = UsableLabelInterval(y.LInterval);
        const TAxisTicks ticks = TicksFrom(y.Low, y.High, step);
        if (frame.TickSpacing(TAxisRole::Y, step * interval) >= 1.0L)
            for (std::int64_t i = ticks.FirstLabelled(interval); i < ticks.Count; i += interval)
                widest = std::max(
                    widest, DrawTickLabel(canvas, frame, TAxisRole::Y, true, true, QPoint(), ticks.At(i)).Width);
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
