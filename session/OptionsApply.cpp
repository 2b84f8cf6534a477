#include "session/OptionsApply.h"

#include "session/AngleMode.h"
#include "session/EditScope.h"
#include "session/IntegralTool.h"
#include "session/OptionsStore.h"
#include "session/ProjectHost.h"
#include "session/RowModels.h"
#include "session/UndoPoints.h"

#include "engine/Compiler.h"
#include "engine/TokenTable.h"
#include "model/Colors.h"
#include "model/DocumentState.h"
#include "model/MessageBox.h"
#include "model/NumberText.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "model/Settings.h"
#include "platform/SystemErrorBox.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>

namespace {

// Ranges are shown with this many significant digits when loaded; presets
// write theirs with 6.
constexpr int RangeDigits = 15;
constexpr int PresetDigits = 6;
constexpr int BaseDigits = 15;

QChar Decimal()
{
    return Separators.DecimalChar;
}

QString RangeText(long double v, int digits = RangeDigits)
{
    return FormatGeneral(v, digits, Decimal());
}

std::optional<long double> ReadNumber(const QString& text)
{
    long double v = 0.0L;
    if (!ParseExtended(text, Decimal(), v))
        return std::nullopt;
    return v;
}

// An integer as typed: a number without a fraction that fits an int.
std::optional<int> ReadInteger(const QString& text)
{
    const std::optional<long double> v = ReadNumber(text);
    if (!v || *v != std::trunc(*v) || std::fabs(*v) > static_cast<long double>(INT_MAX))
        return std::nullopt;
    return static_cast<int>(*v);
}

TAxisOptionInputs AxisInputs(const ScaleSubT& axis)
{
    TAxisOptionInputs a;
    a.AxesVisible = axis.AxesVisible != 0;
    a.ScaleVisible = axis.ScaleVisible != 0;
    a.ValueVisible = axis.ValueVisible != 0;
    a.GuideVisible = axis.GuideVisible != 0;
    a.BaseText = axis.Base > 0.0L ? FormatGeneral(axis.Base, BaseDigits, Decimal()) : QString();
    a.NameText = axis.Caption;
    a.Number = axis.Number;
    a.LInterval = axis.LInterval;
    return a;
}

// Presets show every axis part, with 7 divisions labelled at each tick.
void PresetAxis(TAxisOptionInputs& a, long double base)
{
    a.AxesVisible = a.ScaleVisible = a.ValueVisible = a.GuideVisible = true;
    a.Number = 7;
    a.LInterval = 1;
    if (base > 0.0L)
        a.BaseText = FormatGeneral(base, BaseDigits, Decimal());
}

void SetRangeTexts(TOptionInputs& in, long double x0, long double x1, long double y0, long double y1)
{
    in.XLowText = RangeText(x0, PresetDigits);
    in.XHighText = RangeText(x1, PresetDigits);
    in.YLowText = RangeText(y0, PresetDigits);
    in.YHighText = RangeText(y1, PresetDigits);
}

// The value a range edit stands for: the current bound while the edit still
// shows it as loaded, so that OK on an untouched page keeps the exact view.
long double RangeValue(const QString& text, long double current)
{
    if (text.trimmed() == RangeText(current))
        return current;
    return ReadNumber(text).value_or(current);
}

TWorldRect TypedRange(const TOptionInputs& in)
{
    const ScaleT& v = GraphScale;
    return {{RangeValue(in.XLowText, v.XAxis.Low), RangeValue(in.YLowText, v.YAxis.Low)},
            {RangeValue(in.XHighText, v.XAxis.High), RangeValue(in.YHighText, v.YAxis.High)}};
}

template <class Tokens>
void MarkTokensChanged(const Tokens& tokens)
{
    for (int i = Tokens::Low; i <= Tokens::High; ++i)
        MarkNameChanged(tokens[i]);
}

void MarkEverythingChanged()
{
    MarkNameRangeChanged(0, TWideCharSet::Size - 1);
    SetDirtyObjects();
    SetDirtyFlag3();
}

// The tick base typed: a negative one made positive; 0 or no number keeps
// the current base.
long double TypedBase(const QString& text, long double current)
{
    const std::optional<long double> b = ReadNumber(text);
    if (!b || *b == 0.0L)
        return current;
    return *b < 0.0L ? -*b : *b;
}

void ApplyAxis(ScaleSubT& axis, const TAxisOptionInputs& a)
{
    axis.AxesVisible = a.AxesVisible ? 1 : 0;
    axis.ScaleVisible = a.ScaleVisible ? 1 : 0;
    axis.ValueVisible = a.ValueVisible ? 1 : 0;
    axis.GuideVisible = a.GuideVisible ? 1 : 0;
    axis.Base = TypedBase(a.BaseText, axis.Base);
    axis.Caption = a.NameText;
    axis.SetNameText();
    int number = a.Number;
    ScaleSubT::ClampDivisions(number);
    axis.Number = number;
    axis.LInterval = std::max(1, a.LInterval);
}

template <class Field>
bool Store(Field& field, Field value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

void CompileEach(auto& table, int mode)
{
    for (auto& slot : table) {
        if constexpr (requires { slot.Func; })
            PrepareExpression(slot.Func, mode);
        else
            PrepareExpression(slot, mode);
    }
}

} // namespace

TOptionInputs CurrentOptionInputs()
{
    const ScaleT& v = GraphScale;
    const TDocumentOptions& o = Options;
    TOptionInputs in;
    in.WidthText = QString::number(v.XAxis.VHigh);
    in.HeightText = QString::number(v.YAxis.VHigh);
    in.XLowText = RangeText(v.XAxis.Low);
    in.XHighText = RangeText(v.XAxis.High);
    in.YLowText = RangeText(v.YAxis.Low);
    in.YHighText = RangeText(v.YAxis.High);
    in.AreaFixed = o.AreaFixed != 0;
    in.AreaRectify = o.AreaRectify != 0;
    in.AreaSizeByFile = ProgramSettings.AreaSizeByFile != 0;

    in.X = AxisInputs(v.XAxis);
    in.Y = AxisInputs(v.YAxis);
    in.XLetterIsX = v.XAxis.Letter() == u'x';
    in.DegreeFont = o.DegreeFont != 0;
    in.AxisLineButton = AxisLineButtonOf(v.AxisStyle, v.AxisWidth);
    in.MeshStyle = v.PsMesh;
    in.LabelPosition = v.Letterposition;
    in.Fraction = v.LetterFrac != 0;
    in.Polar = o.AxisType != 0;
    in.FontSizeText = QString::number(ProgramState.FontSize);

    in.ShowSync = o.ShowSync != 0;
    in.DrawOnDrag = o.DrawOnDrag != 0;
    in.DrawOnCalc = o.DrawOnCalc != 0;
    in.ShowProperty = o.ShowProperty != 0;
    in.AimgOfArea = o.AimgOfArea != 0;
    in.ScanWidth = o.ScanWidth;
    in.DrawMode = o.DrawMode;
    in.AfterImageColorNo = o.AfterImageColorNo;
    in.CapStyle = o.CapStyle;

    in.AngleMode = o.AngleMode;
    in.AngleArea = o.AngleArea;
    in.LogMode = o.LogMode;
    in.CircleMode = o.CircleMode;
    in.ThetaMode = o.ThetaMode;
    in.Complex = o.ComplexMode != 0;
    in.AllowSqrtN = o.AllowSqrtN != 0;
    in.SliceNo = DocumentTables.IntegralInterval.sliceNo;
    in.SliceNoText = QString::number(in.SliceNo);

    const TProgramState& s = ProgramState;
    in.SctickerEdit = s.SctickerEdit;
    in.ScriptEdit = s.ScriptEdit;
    in.SctickerLarge = s.SctickerLarge;
    in.SctickerSmall = s.SctickerSmall;
    return in;
}

void ApplyPreset(TOptionInputs& in, TOptionsPreset preset)
{
    constexpr long double HalfPi = std::numbers::pi_v<long double> / 2.0L;
    in.Polar = false;
    switch (preset) {
    case TOptionsPreset::Radian:
    case TOptionsPreset::Degree:
        in.AngleMode = preset == TOptionsPreset::Radian ? 1 : 2;
        SetRangeTexts(in, -5.0L, 5.0L, -5.0L, 5.0L);
        PresetAxis(in.X, 1.0L);
        PresetAxis(in.Y, 1.0L);
        break;
    case TOptionsPreset::RadianPi:
        in.AngleMode = 1;
        SetRangeTexts(in, -4.0L, 4.0L, -4.0L, 4.0L);
        PresetAxis(in.X, HalfPi);
        PresetAxis(in.Y, 1.0L);
        break;
    case TOptionsPreset::DegreeTurn:
        in.AngleMode = 2;
        SetRangeTexts(in, -100.0L, 380.0L, -4.0L, 4.0L);
        PresetAxis(in.X, 90.0L);
        PresetAxis(in.Y, 1.0L);
        in.DegreeFont = true;
        break;
    case TOptionsPreset::Polar:
        in.AngleMode = 1;
        SetRangeTexts(in, -5.0L, 5.0L, -5.0L, 5.0L);
        PresetAxis(in.X, 1.0L);
        PresetAxis(in.Y, 0.0L); // the y base stays
        in.Polar = true;
        break;
    }
}

void ResetAreaPage(TOptionInputs& in)
{
    // The current view, and the flags of a new document.
    const TOptionInputs current = CurrentOptionInputs();
    in.WidthText = current.WidthText;
    in.HeightText = current.HeightText;
    in.XLowText = current.XLowText;
    in.XHighText = current.XHighText;
    in.YLowText = current.YLowText;
    in.YHighText = current.YHighText;
    const TDocumentOptions fresh;
    in.AreaFixed = fresh.AreaFixed != 0;
    in.AreaRectify = fresh.AreaRectify != 0;
    in.AreaSizeByFile = TStoredSettings{}.AreaSizeByFile != 0;
}

void ResetScalePage(TOptionInputs& in)
{
    const ScaleSubT fresh;
    const TDocumentOptions freshOptions;
    for (TAxisOptionInputs* a : {&in.X, &in.Y}) {
        PresetAxis(*a, fresh.Base);
        a->Number = fresh.Number;
        a->LInterval = fresh.LInterval;
    }
    in.X.NameText = QStringLiteral("x");
    in.Y.NameText = QStringLiteral("y");
    in.XLetterIsX = true;
    in.DegreeFont = freshOptions.DegreeFont != 0;
    in.AxisLineButton = 1;
    in.MeshStyle = 0;
    in.LabelPosition = 0;
    in.Fraction = false;
    in.Polar = freshOptions.AxisType != 0;
    in.FontSizeText = QString::number(TProgramState{}.FontSize);
}

void ResetGraphPage(TOptionInputs& in)
{
    // Four of the five boxes: what to draw while dragging and calculating,
    // the property dialog while dragging and the traces of fills. Hiding
    // figures with their objects is the document's own choice and stays.
    const TDocumentOptions fresh;
    in.DrawMode = 1;
    in.ScanWidth = 4;
    in.AfterImageColorNo = 2;
    in.CapStyle = 0;
    in.DrawOnDrag = fresh.DrawOnDrag != 0;
    in.DrawOnCalc = fresh.DrawOnCalc != 0;
    in.ShowProperty = fresh.ShowProperty != 0;
    in.AimgOfArea = fresh.AimgOfArea != 0;
}

void ResetFunctionPage(TOptionInputs& in)
{
    // Three of the four boxes: negative radii, complex numbers and √(-1).
    // Theta as argument changes how relations compile and stays.
    const TDocumentOptions fresh;
    in.LogMode = 2;
    in.AngleMode = 1;
    in.AngleArea = 1;
    in.CircleMode = fresh.CircleMode;
    in.Complex = fresh.ComplexMode != 0;
    in.AllowSqrtN = fresh.AllowSqrtN != 0;
}

void ResetFontPage(TOptionInputs& in)
{
    in.SctickerEdit = ProgramState.DefaultFontName;
    in.ScriptEdit = ProgramState.DefaultFontName;
    in.SctickerLarge = QStringLiteral("Arial Unicode MS");
    in.SctickerSmall = QStringLiteral("Times New Roman");
}

int AxisLineButtonOf(std::uint8_t axisStyle, std::uint8_t axisWidth)
{
    if (axisWidth < 1 || axisWidth > 3)
        return 0;
    return (axisStyle == 0 ? 0 : 3) + axisWidth;
}

bool CheckSliceNo(QString& text, int& sliceNo)
{
    if (ReadSliceNo(text, sliceNo) == TSliceNoText::Accepted)
        return true;
    // The message names even counts from 2, yet 1 and odd counts work.
    ShowMsgBox(SliceNoRangeMessage(), MsgError, MsgOk);
    text = QString::number(sliceNo);
    return false;
}

bool CheckInput(TOptionInputs& in)
{
    platform::SystemErrorBox& box = platform::CurrentSystemErrorBox();
    const std::optional<int> w = ReadInteger(in.WidthText);
    const std::optional<int> h = ReadInteger(in.HeightText);
    const auto inSize = [](const std::optional<int>& n) { return n && *n >= MinAxisPixels && *n <= MaxAxisPixels; };
    if (!inSize(w) || !inSize(h)) {
        box.showError(QStringLiteral("Tamanho da janela é %1 * %2").arg(MinAxisPixels).arg(MaxAxisPixels));
        return false;
    }
    const bool numbers = ReadNumber(in.XLowText) && ReadNumber(in.XHighText) && ReadNumber(in.YLowText) &&
                         ReadNumber(in.YHighText);
    const TWorldRect r = TypedRange(in);
    // The view refuses a range that is not finite or too narrow for its
    // pixels; refused here, before anything is applied.
    if (!numbers || !ScaleSubT::IsUsableRange(r.Low.X, r.High.X) || !ScaleSubT::IsUsableRange(r.Low.Y, r.High.Y)) {
        box.showError(QStringLiteral("Tamanho da janela inválido"));
        return false;
    }
    return CheckSliceNo(in.SliceNoText, in.SliceNo);
}

void ApplyGeneral(const TOptionInputs& in, TRecompilePlan& plan)
{
    TDocumentOptions& o = Options;
    o.DrawOnDrag = in.DrawOnDrag ? 1 : 0;
    o.DrawOnCalc = in.DrawOnCalc ? 1 : 0;
    o.ShowProperty = in.ShowProperty ? 1 : 0;
    if (Store(o.AimgOfArea, std::uint8_t(in.AimgOfArea ? 1 : 0)))
        SetDirtyObjects();
    if (Store(o.ShowSync, std::uint8_t(in.ShowSync ? 1 : 0)))
        SetDirtyObjects();
    if (Store(o.CapStyle, in.CapStyle))
        SetDirtyObjects();

    StoreSliceNo(in.SliceNo);
    const bool complex = Store(o.ComplexMode, std::uint8_t(in.Complex ? 1 : 0));
    const bool sqrtN = Store(o.AllowSqrtN, std::uint8_t(in.AllowSqrtN ? 1 : 0));
    if (complex || sqrtN)
        MarkEverythingChanged();
    if (Store(o.DrawMode, in.DrawMode)) {
        MarkTokensChanged(Vocabulary.FunctionTokens);
        SetDirtyObjects();
    }
    // The circle mode goes with the angle modes below, which mark the
    // circles and polar curves it changes.
    if (Store(o.ThetaMode, in.ThetaMode)) {
        plan.ThetaModeChanged = true;
        MarkTokensChanged(Vocabulary.RelationTokens);
        MarkTokensChanged(Vocabulary.UserFunctionTokens);
    }
    if (Store(o.AfterImageColorNo, in.AfterImageColorNo))
        SetDirtyFlag3();
    if (Store(o.ScanWidth, in.ScanWidth)) {
        MarkTokensChanged(Vocabulary.RelationTokens);
        SetDirtyFlag3();
    }
    SetNormalColorScheme();
    SetAngleMode(in.AngleMode, in.AngleArea, in.LogMode, in.CircleMode);
}

void ApplyScale(const TOptionInputs& in, TRecompilePlan& plan)
{
    ScaleT& v = GraphScale;
    TDocumentOptions& o = Options;
    ApplyAxis(v.XAxis, in.X);
    ApplyAxis(v.YAxis, in.Y);
    const QChar letter = in.XLetterIsX ? QChar(u'x') : QChar(u'@');
    if (v.XAxis.Letter() != letter) {
        v.XAxis.SetLetter(letter);
        plan.LetterChanged = true;
    }
    if (const std::optional<int> size = ReadInteger(in.FontSizeText); size && *size > 4)
        ProgramState.FontSize = *size;
    v.PsMesh = in.MeshStyle;
    if (in.AxisLineButton >= 1 && in.AxisLineButton <= 6) {
        v.AxisStyle = static_cast<std::uint8_t>((in.AxisLineButton - 1) / 3);
        v.AxisWidth = static_cast<std::uint8_t>(in.AxisLineButton <= 3 ? in.AxisLineButton : in.AxisLineButton - 3);
    }
    v.Letterposition = in.LabelPosition;
    v.LetterFrac = in.Fraction ? 1 : 0;
    o.AxisType = in.Polar ? 1 : 0;
    if (in.Polar && v.PsMesh == 1)
        v.PsMesh = 2;
    o.DegreeFont = in.DegreeFont ? 1 : 0;
    SetDirtyScale();
}

void RecompileAfterOptions(const TRecompilePlan& plan)
{
    TDocumentTables& t = DocumentTables;
    if (plan.LetterChanged) {
        // Compiling reads the letter: every formula of the document and of
        // the value and integral tools.
        RecompileDocumentFormulas();
        MarkEverythingChanged();
    } else {
        CompileEach(t.Relations, ModeRelation);
        if (plan.ThetaModeChanged)
            CompileEach(t.UserFunctions, ModeUserFunction);
    }
    if (plan.LetterChanged || plan.ThetaModeChanged)
        UpdatePrmPanel();
}

void ApplyArea(const TOptionInputs& in)
{
    ScaleT& v = GraphScale;
    TDocumentOptions& o = Options;
    const int w = ClampAxisPixels(ReadInteger(in.WidthText).value_or(v.XAxis.VHigh));
    const int h = ClampAxisPixels(ReadInteger(in.HeightText).value_or(v.YAxis.VHigh));
    const TWorldRect range = TypedRange(in);
    o.AreaRectify = in.AreaRectify ? 1 : 0;
    o.AreaFixed = in.AreaFixed ? 1 : 0;
    ProgramSettings.AreaSizeByFile = in.AreaSizeByFile ? 1 : 0;
    const bool sizeChanged = w != v.XAxis.VHigh || h != v.YAxis.VHigh;
    if (sizeChanged) {
        v.XAxis.VHigh = w;
        v.YAxis.VHigh = h;
        CurrentProjectHost().ResizeGraphArea();
    }
    // Whatever the options marked is drawn when the action ends.
    if (!sizeChanged && range == v.Range())
        return;
    v.SetRange(v.GraphImages, range);
}

void ApplyFonts(const TOptionInputs& in)
{
    TProgramState& s = ProgramState;
    s.SctickerEdit = in.SctickerEdit;
    s.SctickerLarge = in.SctickerLarge;
    s.SctickerSmall = in.SctickerSmall;
    s.ScriptEdit = in.ScriptEdit;
}

void ApplyOptions(const TOptionInputs& in)
{
    const TEditScope edit;
    SaveUndoPoint();
    TEditScope::DocumentChanged();
    TRecompilePlan plan;
    ApplyGeneral(in, plan);
    ApplyScale(in, plan);
    RecompileAfterOptions(plan);
    ApplyArea(in);
    ApplyFonts(in);
}
