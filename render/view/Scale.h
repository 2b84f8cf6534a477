#pragma once

#include "model/DocumentState.h"
#include "model/Numeric.h"
#include "model/OffsetArray.h"
#include "model/ProgramState.h"
#include "model/Value.h"
#include "model/PointState.h"
#include "model/ViewColumns.h"
#include "render/gfx/Bitmap.h"

#include <QChar>
#include <QPoint>
#include <QString>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>

// Every pixel size of the drawing, multiplied by the output magnification
// (1 on screen, 16 when printing) and rounded.
int Magnify(long double size);
// The largest pixel coordinate handed to the drawing layer: 10000 on screen,
// 30000 when magnified.
inline int PixelLimit()
{
    return ProgramState.Magnification == 1 ? 10000 : 30000;
}
long double ClampToPixelLimit(long double v);

// An axis is between these many pixels long: the column tables hold 1612.
constexpr int MinAxisPixels = 150;
constexpr int MaxAxisPixels = 1600;
int ClampAxisPixels(int pixels);

// One axis of the view: its world range, pixel length, mapping factors, tick
// settings and name. Every conversion between world values and pixels goes
// through it. The y axis grows upwards while its pixels grow downwards.
// After a change of Low, High or VHigh, Recalc must run before converting.
class ScaleSubT {
public:
    QChar AxisChar = u'x';
    int Vlow = 0;
    int VHigh = 400;
    std::uint8_t AxesVisible = 1;
    std::uint8_t ScaleVisible = 1; // the grid
    std::uint8_t ValueVisible = 1; // the tick labels
    std::uint8_t GuideVisible = 1; // the tick marks
    std::uint8_t OutOfRange = 0;   // the last ValueToPixel or LengthToPixels was clamped
    int Number = 7;                // divisions of the range when the tick step is chosen
    int LInterval = 1;             // every LInterval-th tick is labelled
    long double Base = 1.0L;       // the unit tick steps are built from
    long double Low = -5.0L;
    long double High = 5.0L;
    int Decimals = 0; // decimals worth showing at this resolution
    QString Caption = QStringLiteral("x");      // the name, in label markup
    QString PlainCaption = QStringLiteral("x"); // the name without markup
    long double PixelsPerUnit = 40.0L;
    long double UnitsPerPixel = 0.025L;
    long double ZeroPixel = 200.0L; // unmagnified pixel of world 0, possibly outside the axis

    // Pixel length from the window layout, start range from the settings,
    // default ticks and name. Does not recalculate.
    void Init(QChar letter, int reserve);
    // Stores the bounds and nothing else.
    void SetBounds(long double low, long double high);
    // PlainCaption from Caption.
    void SetNameText();
    void Recalc();

    // The variable letter of the axis; the x axis's is the letter formulas
    // are compiled with.
    QChar Letter() const { return letter_; }
    void SetLetter(QChar letter);

    long double ValueToPixelF(long double v) const;
    int ValueToPixel(long double v);
    int LengthToPixels(long double length);
    long double PixelToValueRaw(long double p) const;
    // Snaps a value within a 100000th of a pixel to the integer toward zero.
    long double PixelToValue(int p) const;
    long double PixelsToLength(long double length) const;
    // The value of the pixel rounded to the tick step (dragging).
    long double PixelToGridValue(int p) const;

    long double CalcTickStep() const;
    bool IsPiBase() const;
    static void ClampDivisions(int& n);
    // Move Number to the next count that gives another tick step.
    void IncreaseDivisions();
    void DecreaseDivisions();

    // A range the mapping can use: finite, High above Low, and not so narrow
    // that a pixel would hold no distinct value.
    static bool IsUsableRange(long double low, long double high);

private:
    bool IsY() const { return AxisChar == u'y'; }
    // The pixel of p, or the limit with OutOfRange set.
    int ClampedPixel(long double p);
    void PublishRange() const;

    QChar letter_ = u'x';
};

// The pictures of the graph window: [0] the visible graph, [1] the trace
// layer, [2] all relations combined, [3] .. [11] relations 1 .. 9.
constexpr int GraphImageCount = 12;
using TGraphImages = std::array<TBitmap, GraphImageCount>;

struct TPointL {
    long double X = 0.0L;
    long double Y = 0.0L;
};

// Figure kinds ClipLine treats apart.
enum : std::uint8_t { ClipWholeLine = 2, ClipRectangle = 5, ClipHalfLine = 9 };

// Every plotted point goes through these conversions, so they are inline
// and round without a library call or a change of the x87 control word.
inline long double ScaleSubT::ValueToPixelF(long double v) const
{
    if (IsY())
        v = -v;
    return (v * PixelsPerUnit + ZeroPixel) * ProgramState.Magnification;
}

inline int ScaleSubT::ClampedPixel(long double p)
{
    const int limit = PixelLimit();
    if (p >= -limit && p <= limit) {
        OutOfRange = 0;
        // Whole and within ±30000: exact as a double.
        return static_cast<int>(static_cast<double>(RoundHalfEven(p)));
    }
    // Beyond the limit, or no pixel at all (NaN): off the view.
    OutOfRange = 1;
    return p < 0.0L ? -limit : limit;
}

inline int ScaleSubT::ValueToPixel(long double v)
{
    return ClampedPixel(ValueToPixelF(v));
}

inline long double ScaleSubT::PixelToValueRaw(long double p) const
{
    const int m = ProgramState.Magnification;
    const long double v = ((m == 1 ? p : p / m) - ZeroPixel) * UnitsPerPixel;
    return IsY() ? -v : v;
}

inline long double ScaleSubT::PixelToValue(int p) const
{
    const long double v = PixelToValueRaw(p);
    const long double i = TruncateTowardZero(v);
    return std::fabs(v - i) < UnitsPerPixel * 1E-5L ? i : v;
}

// The single drawing state of the graph window: both axes, the view
// options, the evaluated objects, the column tables and the graph pictures.
class ScaleT {
public:
    ScaleT();
    ScaleT(const ScaleT&) = delete;
    ScaleT& operator=(const ScaleT&) = delete;

    ScaleSubT XAxis;
    ScaleSubT YAxis;
    std::uint8_t SquareQ = 0;        // equal scale requested
    std::uint8_t AxisOn = 0;         // the axes are drawn on the border rulers only
    std::uint8_t PsMesh = 0;         // grid: 0 lines, 1 crosses, 2 dotted, 3 dark lines
    std::uint8_t Letterposition = 0; // tick-label placement
    std::uint8_t LetterFrac = 0;     // tick labels as fractions
    TOffsetArray<TPointState, 1, PointCount> PointStates;
    TOffsetArray<TColumnCache, 1, FunctionCount> ColumnCaches;
    TColumnArray ColumnX;          // the world x of every column, a defined real
    TColumnArray UndefinedColumns; // a cache whose function cannot be evaluated
    std::uint8_t AxisWidth = 1;    // 2 in presentation mode
    std::uint8_t AxisStyle = 0;    // 0 arrow heads, else plain lines
    TOffsetArray<TPointState, 1, PointCount> RecordedStates;
    int PolorNum = 12; // angle steps in a full turn
    TOffsetArray<TParameter, -1, ParamCount> ViewParams;
    TGraphImages GraphImages;

    // The start-up of the view: layout, mapping, columns, redraw state.
    void Startup();
    void Layout(int reserve, bool reset);
    // Sets both ranges, fits them to whole tick steps when AreaRectify is
    // on, keeps the aspect, marks everything that depends on the view and
    // redraws. A range that is not usable is refused (false) and the view
    // stays as it was.
    bool SetRange(TGraphImages& images, long double yHigh, long double xHigh, long double yLow, long double xLow);
    // The same, saving the current view in the view history first.
    bool SetRangeRecorded(TGraphImages& images, long double yHigh, long double xHigh, long double yLow,
                          long double xLow);
    // The y range about its middle so that y units per pixel are ratio times
    // the x units per pixel.
    void SetAspect(long double ratio);
    bool IsEqualScale() const;
    // A factor above 1 zooms in about (cx, cy).
    bool ZoomAt(long double cy, long double cx, long double fy, long double fx);
    // Angle steps back to 12 and the y range to the start aspect.
    void SetNormalView(TGraphImages& images);
    void InitColumns();

    void StepUp();
    void StepDown();
    // The world point of a pixel snapped to the angle steps and the x grid.
    void SnapPolar(int px, int py, long double& y, long double& x);

    bool IsXAxisAtBorder();
    bool IsYAxisAtBorder();
    void WorldToPoint(QPoint& p, long double y, long double x);
    // End points of a figure in pixels that the drawing layer can take:
    // lines run from border to border, half-lines to the border, rectangles
    // are clamped just outside the view, other segments keep their direction
    // beyond the view. False when nothing is to be drawn.
    bool ClipLine(std::uint8_t kind, TPointL& p1, long double x1, long double y1, long double x2, long double y2,
                  TPointL& p2);
    bool ClipLineToPoints(std::uint8_t kind, QPoint& p1, long double x1, long double y1, long double x2,
                          long double y2, QPoint& p2);

private:
    int ValidPolorNum();
};

extern ScaleT GraphScale;

// The steps of the window layer and of later parts that the view calls;
// each is left empty until its owner installs it, and an empty step does
// nothing (the name hook leaves the text as it is).
struct TScaleHooks {
    // The width of the data panel, or nothing while the panel does not exist.
    std::function<std::optional<int>()> DataPanelWidth;
    std::function<int()> WorkAreaWidth;
    // The axis name with its label markup translated to control characters.
    std::function<QString(const QString&)> TranslateAxisName;
    // Saves the current view before a recorded range change.
    std::function<void(const ScaleT&)> PushViewHistory;
    // The layered redraw of the view into the pictures.
    std::function<void(ScaleT&, TGraphImages&)> Redraw;
};
extern TScaleHooks ScaleHooks;
