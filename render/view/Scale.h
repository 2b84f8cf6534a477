#pragma once

#include "model/DocumentState.h"
#include "model/Numeric.h"
#include "model/OffsetArray.h"
#include "model/ProgramState.h"
#include "model/Value.h"
#include "model/PointState.h"
#include "render/gfx/Bitmap.h"
#include "render/view/ViewColumns.h"
#include "render/view/ViewMapping.h"

#include <QChar>
#include <QPoint>
#include <QString>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>

// An axis is between these many pixels long: the column tables hold 1612.
constexpr int MinAxisPixels = 150;
constexpr int MaxAxisPixels = 1600;
int ClampAxisPixels(int pixels);

// One axis of the view: its world range, pixel length, mapping factors, tick
// settings and name. Every conversion between world values and pixels goes
// through it. The y axis grows upwards while its pixels grow downwards.
// After a change of Low, High or VHigh, Recalc must run before converting.
// Its own conversions are those of the screen; a drawing at another
// magnification converts through Mapping(magnification).
class ScaleSubT {
public:
    QChar AxisChar = u'x';
    int Vlow = 0;
    int VHigh = 400;
    std::uint8_t AxesVisible = 1;
    std::uint8_t ScaleVisible = 1; // the grid
    std::uint8_t ValueVisible = 1; // the tick labels
    std::uint8_t GuideVisible = 1; // the tick marks
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

    // The mapping of this axis as a value. Whether a pixel was clamped to
    // the pixel limit comes with the pixel from its ValueToPixel and
    // LengthToPixels.
    TAxisMapping Mapping(int magnification = 1) const
    {
        return {PixelsPerUnit, UnitsPerPixel, ZeroPixel, VHigh, UsableMagnification(magnification), IsY()};
    }
    long double ValueToPixelF(long double v) const { return Mapping().ValueToPixelF(v); }
    int ValueToPixel(long double v) const { return Mapping().ValueToPixel(v).Pixel; }
    int LengthToPixels(long double length) const { return Mapping().LengthToPixels(length).Pixel; }
    long double PixelToValueRaw(long double p) const { return Mapping().PixelToValueRaw(p); }
    // Snaps a value within a 100000th of a pixel to the integer toward zero.
    long double PixelToValue(int p) const { return Mapping().PixelToValue(p); }
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
    void PublishRange() const;

    QChar letter_ = u'x';
};

// The pictures of the graph window: [0] the visible graph, [1] the trace
// layer, [2] all relations combined, [3] .. [11] relations 1 .. 9.
constexpr int GraphImageCount = 12;
using TGraphImages = std::array<TBitmap, GraphImageCount>;

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
    ViewColumns Columns; // ColumnX, the function caches and the undefined columns
    std::uint8_t AxisWidth = 1;    // 2 in presentation mode
    std::uint8_t AxisStyle = 0;    // 0 arrow heads, else plain lines
    TOffsetArray<TPointState, 1, PointCount> RecordedStates;
    int PolorNum = 12; // angle steps in a full turn; see PolorCount
    TOffsetArray<TParameter, -1, ParamCount> ViewParams;
    TGraphImages GraphImages;

    // The start-up of the view: layout, mapping, columns, redraw state.
    void Startup();
    // The layered redraw into the pictures, through the installed redrawer.
    void Redraw(TGraphImages& images);
    void Layout(int reserve, bool reset);
    // Sets both ranges, fits them to whole tick steps when AreaRectify is
    // on, keeps the aspect, marks everything that depends on the view and
    // redraws. A range that is not usable is refused (false) and the view
    // stays as it was. The outcome is a range that fitting keeps: setting
    // the view to its own range changes nothing.
    bool SetRange(TGraphImages& images, const TWorldRect& range);
    // The same, saving the current view in the view history first.
    bool SetRangeRecorded(TGraphImages& images, const TWorldRect& range);
    // The visible range.
    TWorldRect Range() const;
    // The y range about its middle so that y units per pixel are ratio times
    // the x units per pixel.
    void SetAspect(long double ratio);
    bool IsEqualScale() const;
    // A factor above 1 zooms in about the centre.
    bool ZoomAt(TWorldPoint centre, long double factorX, long double factorY);
    // Angle steps back to 12 and the y range to the start aspect.
    void SetNormalView(TGraphImages& images);
    // The column x values from the x axis; no function cache stays current.
    void InitColumns();

    // The next angle step count of the buttons' table above or below the
    // one in use (7 steps up to 8 and down to 6).
    void StepUp();
    void StepDown();
    // A count of angle steps that is used as it stands: 1 to 72. Any other
    // (from a file or the settings) counts as 12.
    static bool IsPolorNum(int n);
    static int UsablePolorNum(int n);
    // The angle steps in use: PolorNum, or 12 when it is none.
    int PolorCount() const { return UsablePolorNum(PolorNum); }
    // The world point of a pixel snapped to the angle steps and the x grid.
    TWorldPoint SnapPolar(int px, int py);

    bool IsXAxisAtBorder() const;
    bool IsYAxisAtBorder() const;

    // Both axes' mapping as a value: what drawing code takes. The members
    // below convert on the screen; a drawing at magnification 16 uses
    // Mapping(16) and its Context().
    TViewMapping Mapping(int magnification = 1) const
    {
        return {XAxis.Mapping(magnification), YAxis.Mapping(magnification)};
    }
    QPoint WorldToPoint(TWorldPoint w) const { return Mapping().WorldToPoint(w); }
    // End points of a figure in pixels that the drawing layer can take;
    // nothing when there is nothing to draw (see TViewMapping::ClipLine).
    std::optional<TPixelLine> ClipLine(std::uint8_t kind, TWorldPoint a, TWorldPoint b) const
    {
        return Mapping().ClipLine(kind, a, b);
    }
    std::optional<TPointLine> ClipLineToPoints(std::uint8_t kind, TWorldPoint a, TWorldPoint b) const
    {
        return Mapping().ClipLineToPoints(kind, a, b);
    }

private:
    // Both bounds, the aspect and the fitting to whole tick steps, without
    // the column table and the redraw.
    void FitRange(const TWorldRect& range);
    // The two ranges differ by less than a millionth of a pixel.
    bool IsSameView(const TWorldRect& a, const TWorldRect& b) const;
};

extern ScaleT GraphScale;
