#include "session/OptionsStore.h"

#include "render/view/RedrawState.h"

#include "engine/Compiler.h"
#include "engine/TokenTable.h"
#include "model/DocumentState.h"
#include "model/Numeric.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "model/Settings.h"
#include "platform/SettingsStore.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"

#include <cmath>
#include <cstdint>
#include <optional>

namespace {

// Which stored values the program writes; a stored value outside them comes
// from a damaged or hand-edited file and keeps the current value.
using TValidValue = bool (*)(int);

bool AnyValue(int)
{
    return true;
}

// Angle unit, angle interval, logarithm, circle and theta modes.
bool IsMode(int n)
{
    return n == 1 || n == 2;
}

bool IsDivisionCount(int n)
{
    int clamped = n;
    ScaleSubT::ClampDivisions(clamped);
    return clamped == n;
}

bool IsLabelInterval(int n)
{
    return n >= 1;
}

bool IsFontSize(int n)
{
    return n > 4;
}

// A letter formulas can be compiled with: x, or θ ('@').
bool IsAxisLetter(QChar c)
{
    return c == u'x' || c == u'@';
}

// The count scaled from the stored pixel length to the current one, halves
// to even; a stored length of no pixels gives no scale.
int ScaledDivisions(int number, int currentPixels, int storedPixels)
{
    if (storedPixels <= 0)
        return number;
    int scaled = NearestInt(static_cast<long double>(number) * currentPixels / storedPixels);
    ScaleSubT::ClampDivisions(scaled);
    return scaled;
}

// ------------------------------------------------------------------ passes

// Writes each value of the table from the current state.
class OptionWriter {
public:
    void Flag(const QString& key, const QString& name, std::uint8_t& field)
    {
        store_.writeBool(key, name, field != 0);
    }
    void AreaFlag(const QString& name, std::uint8_t& field, bool) { Flag(RegKeyArea, name, field); }
    void Byte(const QString& key, const QString& name, std::uint8_t& field, TValidValue = AnyValue)
    {
        store_.writeInteger(key, name, field);
    }
    void Integer(const QString& key, const QString& name, int& field, TValidValue = AnyValue)
    {
        store_.writeInteger(key, name, field);
    }
    void Colour(const QString& key, const QString& name, TColor& field)
    {
        // The full 32 bits, read back as they were.
        store_.writeInteger(key, name, static_cast<int>(field));
    }
    void StoredOnlyInteger(const QString& key, const QString& name, int value) { store_.writeInteger(key, name, value); }
    void StoredOnlyDouble(const QString& key, const QString& name, long double value) { WriteDouble(key, name, value); }
    void Divisions(const QString& key, ScaleSubT& axis, bool) { Integer(key, QStringLiteral("Number"), axis.Number); }
    void TickBase(const QString& key, ScaleSubT& axis) { WriteDouble(key, QStringLiteral("base"), axis.Base); }
    void AxisName(const QString& key, ScaleSubT& axis)
    {
        store_.writeString(key, QStringLiteral("SCaption"), axis.PlainCaption);
        store_.writeString(key, QStringLiteral("Caption"), axis.Caption);
    }
    void Letter(const QString& key, ScaleSubT& axis)
    {
        store_.writeString(key, QStringLiteral("Letter"), QString(axis.Letter()));
    }

private:
    // Stored as the nearest double. Every double is an extended value, so
    // the store's shortest text for it ('.' as decimal point, whatever the
    // locale) reads back to exactly that double.
    void WriteDouble(const QString& key, const QString& name, long double value)
    {
        store_.writeFloat(key, name, static_cast<double>(value));
    }

    platform::SettingsStore& store_ = platform::CurrentSettingsStore();
};

// Reads each value of the table that LoadOptions takes over its field. A
// read that fails, or gives a value the program never writes, keeps the
// field.
class OptionReader {
public:
    void Flag(const QString& key, const QString& name, std::uint8_t& field)
    {
        const bool value = RegReadBoolDef(key, name, false);
        if (Read())
            field = value ? 1 : 0;
    }
    void AreaFlag(const QString& name, std::uint8_t& field, bool def)
    {
        field = RegReadBoolDef(RegKeyArea, name, def) ? 1 : 0;
    }
    void Byte(const QString& key, const QString& name, std::uint8_t& field, TValidValue valid = AnyValue)
    {
        // Byte options keep the low byte of what is stored, as they always have.
        const auto value = static_cast<std::uint8_t>(RegReadIntDef(key, name, 0));
        if (Read() && valid(value))
            field = value;
    }
    void Integer(const QString& key, const QString& name, int& field, TValidValue valid = AnyValue)
    {
        if (const std::optional<int> value = ValidInteger(key, name, valid))
            field = *value;
    }
    void Colour(const QString& key, const QString& name, TColor& field)
    {
        const int value = RegReadIntDef(key, name, 0);
        if (Read())
            field = static_cast<TColor>(value);
    }
    void StoredOnlyInteger(const QString&, const QString&, int) {}
    void StoredOnlyDouble(const QString&, const QString&, long double) {}
    // The stored count was chosen for the stored y length: scaled to the
    // current one, the ticks keep their spacing in pixels.
    void Divisions(const QString& key, ScaleSubT& axis, bool scaleToPixels)
    {
        std::optional<int> number = ValidInteger(key, QStringLiteral("Number"), IsDivisionCount);
        if (!number)
            return;
        if (scaleToPixels) {
            const int stored = RegReadIntDef(key, QStringLiteral("VHigh"), axis.VHigh);
            number = ScaledDivisions(*number, axis.VHigh, stored);
        }
        axis.Number = *number;
    }
    void TickBase(const QString& key, ScaleSubT& axis)
    {
        const double base = static_cast<double>(RegReadFloatDef(key, QStringLiteral("base"), 0.0L));
        if (Read() && std::isfinite(base) && base > 0.0)
            axis.Base = base;
    }
    // The plain name follows from the name in markup.
    void AxisName(const QString& key, ScaleSubT& axis)
    {
        const QString caption = RegReadStringDef(key, QStringLiteral("Caption"), axis.Caption);
        if (!Read())
            return;
        axis.Caption = caption;
        axis.SetNameText();
    }
    void Letter(const QString& key, ScaleSubT& axis)
    {
        const QString letter = RegReadStringDef(key, QStringLiteral("Letter"), QString());
        if (!letter.isEmpty() && IsAxisLetter(letter[0]))
            axis.SetLetter(letter[0]);
    }

private:
    static bool Read() { return !ProgramState.RegReadFailed; }
    static std::optional<int> ValidInteger(const QString& key, const QString& name, TValidValue valid)
    {
        const int value = RegReadIntDef(key, name, 0);
        return Read() && valid(value) ? std::optional<int>(value) : std::nullopt;
    }
};

// ------------------------------------------------------------------- table

// The values of one axis. The pixel length and range are stored for the
// start view (LoadScaleSettings reads them) and are not options.
template <class Pass>
void VisitAxis(Pass& pass, const QString& key, ScaleSubT& axis, bool isX)
{
    pass.StoredOnlyInteger(key, QStringLiteral("VHigh"), axis.VHigh);
    pass.StoredOnlyDouble(key, QStringLiteral("High"), axis.High);
    pass.StoredOnlyDouble(key, QStringLiteral("Low"), axis.Low);
    pass.Flag(key, QStringLiteral("AxesVisible"), axis.AxesVisible);
    pass.Flag(key, QStringLiteral("ScaleVisible"), axis.ScaleVisible);
    pass.Flag(key, QStringLiteral("ValueVisible"), axis.ValueVisible);
    pass.Flag(key, QStringLiteral("GuideVisible"), axis.GuideVisible);
    pass.Divisions(key, axis, !isX);
    pass.TickBase(key, axis);
    pass.Integer(key, QStringLiteral("LInterval"), axis.LInterval, IsLabelInterval);
    pass.AxisName(key, axis);
    if (isX)
        pass.Letter(key, axis);
}

template <class Pass>
void VisitStyle(Pass& pass, const QString& key, TDefaultStyle& style)
{
    pass.Colour(key, QStringLiteral("ColorNo1"), style.ColorNo1);
    pass.Integer(key, QStringLiteral("Width"), style.Width);
    pass.Integer(key, QStringLiteral("LineStyle"), style.LineStyle);
}

template <class Pass>
void VisitFigureStyle(Pass& pass, TDefaultFigure& style)
{
    const QString& key = RegKeyDefaultFigure;
    pass.Colour(key, QStringLiteral("ColorNo1"), style.ColorNo1);
    pass.Integer(key, QStringLiteral("Width"), style.Width);
    pass.Colour(key, QStringLiteral("RColorNo1"), style.RColorNo1);
    pass.Integer(key, QStringLiteral("RWidth"), style.RWidth);
    pass.Integer(key, QStringLiteral("LineStyle"), style.LineStyle);
    pass.Integer(key, QStringLiteral("Dimension"), style.Dimension);
}

template <class Pass>
void VisitViewOptions(Pass& pass, ScaleT& view, TDocumentOptions& o)
{
    const QString& key = RegKeyScale;
    pass.Flag(key, QStringLiteral("SquareQ"), view.SquareQ);
    pass.Flag(key, QStringLiteral("AxisOn"), view.AxisOn);
    pass.Byte(key, QStringLiteral("PsMesh"), view.PsMesh);
    pass.Byte(key, QStringLiteral("Letterposition"), view.Letterposition);
    pass.Flag(key, QStringLiteral("LetterFrac"), view.LetterFrac);
    pass.Byte(key, QStringLiteral("AxisWidth"), view.AxisWidth);
    pass.Byte(key, QStringLiteral("AxisStyle"), view.AxisStyle);
    pass.Integer(key, QStringLiteral("ThetaNum"), view.PolorNum, ScaleT::IsPolorNum);
    pass.Byte(key, QStringLiteral("AxisType"), o.AxisType);
    pass.Integer(key, QStringLiteral("FontSize"), ProgramState.FontSize, IsFontSize);
    pass.Flag(key, QStringLiteral("DegreeFont"), o.DegreeFont);
}

template <class Pass>
void VisitFunctionOptions(Pass& pass, TDocumentOptions& o)
{
    const QString& key = RegKeyFunction;
    pass.Byte(key, QStringLiteral("AngleMode"), o.AngleMode, IsMode);
    pass.Byte(key, QStringLiteral("LogMode"), o.LogMode, IsMode);
    pass.Byte(key, QStringLiteral("AngleArea"), o.AngleArea, IsMode);
    pass.Byte(key, QStringLiteral("CircleMode"), o.CircleMode, IsMode);
    pass.Byte(key, QStringLiteral("ThetaMode"), o.ThetaMode, IsMode);
    pass.Flag(key, QStringLiteral("ComplexMode"), o.ComplexMode);
    pass.Flag(key, QStringLiteral("AllowSqrtN"), o.AllowSqrtN);
}

template <class Pass>
void VisitGraphOptions(Pass& pass, TDocumentOptions& o)
{
    const QString& key = RegKeyGraph;
    pass.Flag(key, QStringLiteral("DrawOnDrag"), o.DrawOnDrag);
    pass.Flag(key, QStringLiteral("DrawOnCalc"), o.DrawOnCalc);
    pass.Flag(key, QStringLiteral("ShowSync"), o.ShowSync);
    pass.Byte(key, QStringLiteral("ScanWidth"), o.ScanWidth);
    pass.Byte(key, QStringLiteral("DrawMode"), o.DrawMode);
    pass.Byte(key, QStringLiteral("AfterImageColorNo"), o.AfterImageColorNo);
    pass.Byte(key, QStringLiteral("CapStyle"), o.CapStyle);
    pass.Flag(key, QStringLiteral("ShowProperty"), o.ShowProperty);
    pass.Flag(key, QStringLiteral("AimgOfArea"), o.AimgOfArea);
}

// Every stored option once, in the order written. The area flags read back
// as not fixed and rectified when missing; the marker is the start-up's to
// read (LoadSettings).
template <class Pass>
void VisitOptions(Pass& pass)
{
    ScaleT& view = GraphScale;
    TDocumentOptions& o = Options;
    TProgramState& state = ProgramState;
    pass.AreaFlag(QStringLiteral("AreaFixed"), o.AreaFixed, false);
    pass.AreaFlag(QStringLiteral("AreaRectify"), o.AreaRectify, true);
    VisitAxis(pass, RegKeyScaleX, view.XAxis, true);
    VisitAxis(pass, RegKeyScaleY, view.YAxis, false);
    VisitViewOptions(pass, view, o);
    VisitFunctionOptions(pass, o);
    VisitGraphOptions(pass, o);
    pass.StoredOnlyInteger(RegKeyMarker, QStringLiteral("ColorNo1"), o.PenMarker.ColorNo);
    pass.StoredOnlyInteger(RegKeyMarker, QStringLiteral("Size"), o.PenMarker.Size);
    VisitStyle(pass, RegKeyDefaultGraph, state.DefaultGraphStyle);
    VisitStyle(pass, RegKeyDefaultSegment, state.DefaultSegmentStyle);
    VisitFigureStyle(pass, state.DefaultFigureStyle);
}

} // namespace

void SaveOptions()
{
    platform::SettingsWriteBatch batch(platform::CurrentSettingsStore());
    OptionWriter writer;
    VisitOptions(writer);
}

void LoadOptions()
{
    const QChar letter = GraphScale.XAxis.Letter();
    const std::uint8_t thetaMode = Options.ThetaMode;
    OptionReader reader;
    VisitOptions(reader);
    if (GraphScale.XAxis.Letter() != letter || Options.ThetaMode != thetaMode)
        RecompileDocumentFormulas();
}

void DeleteOptions()
{
    platform::CurrentSettingsStore().deleteKey(RegKeyRoot);
}

void RecompileDocumentFormulas()
{
    TDocumentTables& t = DocumentTables;
    for (TEquationFunction& f : t.Functions)
        PrepareExpression(f.Func, ModeFunction);
    for (TEquationFunction& f : t.Relations)
        PrepareExpression(f.Func, ModeRelation);
    for (TKavirofunction& f : t.UserFunctions)
        PrepareExpression(f, ModeUserFunction);
    for (int k = 1; k <= PointCount; ++k) {
        TPointFunction& p = t.Points[k];
        for (TKavirofunction* f : {&p.Pos, &p.X, &p.Y, &p.R})
            PrepareExpression(*f, k);
        PrepareExpression(p.Low, ModePlain);
        PrepareExpression(p.High, ModePlain);
    }
    for (TKavirofunction& f : t.YvalueFunctions)
        PrepareExpression(f, ModeFunction);
    PrepareExpression(t.YvalueX, ModePlain);
    PrepareExpression(t.IntegralInterval.Lower, ModePlain);
    PrepareExpression(t.IntegralInterval.Upper, ModePlain);
    MarkNameChanged(TokenCodes.Theta);
}
