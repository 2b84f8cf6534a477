#pragma once

// Tick labels: decimals, fractions, multiples of π, degrees.
#include "render/plot/Axes.h"
#include "render/plot/AxesTicks.h"

#include <QChar>
#include <QPoint>
#include <QString>

// What a tick label of a value says.
struct TTickLabelText {
    bool Exists = false; // false: no label (a fraction finer than a millionth)
    bool Zero = false;   // the value counts as 0: labelled on the rulers only
    QString Sign;        // "−" (U+2212) for a negative value
    QString Text;        // the plain label, or the stacked fraction's numerator
    QString Denominator; // not empty: a stacked fraction
    bool PiAfter = false; // "π" follows the fraction
    QString Measure;     // the text the label's width is taken from, without the sign

    bool IsStacked() const { return !Denominator.isEmpty(); }
};

// The label of a tick value: on a π axis a multiple of π, as a fraction
// when asked, else the decimals of |v| without trailing zeros (with the document's
// decimal separator).
TTickLabelText TickLabelText(long double v, bool piAxis, bool fractions);

struct TTickLabelSize {
    int Width = 0;
    int Height = 0;
};

// Measures a tick label of v and, unless measureOnly, draws it by the tick
// at `at` (the tick's point on the axis line), or leaves it out when it
// would run into the axis name or partly out of the view. Nothing for a
// value that has no label.
TTickLabelSize DrawTickLabel(TCanvas& canvas, const TAxesFrame& frame, TAxisRole role, bool measureOnly, bool ruler,
                             QPoint at, long double v);

// Which of the ticks carry labels: every n-th counted from 0, n a multiple of
// the axis's label interval. When the labels of every interval-th tick would
// run into each other, the whole row is thinned alike, to every 2nd, 5th,
// 10th, 20th … of them, the first at which every kept label clears its
// neighbours: the labels stay symmetric about 0 and the axis keeps some.
std::int64_t LabelledTickInterval(TCanvas& canvas, const TAxesFrame& frame, TAxisRole role, bool ruler,
                                  const TAxisTicks& ticks);

// The width the y ruler needs: its widest label, or its name and a gap.
int MeasureYLabels(TCanvas& canvas, const TAxesFrame& frame);

// The canvas font of tick labels: Times New Roman, plain, black, one point
// larger than the document's label size.
void SetTickLabelFont(TCanvas& canvas, const TAxesFrame& frame);

// The axis name as it is drawn: bold italic, in label markup.
QString AxisNameMarkup(const ScaleSubT& axis);
// The canvas font of the axis names and the origin's "O".
void SetAxisNameFont(TCanvas& canvas, const TAxesFrame& frame);
// The width of the axis name in the canvas font.
int MeasureAxisName(TCanvas& canvas, const TAxesFrame& frame, const ScaleSubT& axis);
// Draws the axis name with its top-left at (x, top).
void DrawAxisName(TCanvas& canvas, const TAxesFrame& frame, const ScaleSubT& axis, int x, int top);
