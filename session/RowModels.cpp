#include "session/RowModels.h"

#include "session/PanelLayout.h"
#include "session/RowHost.h"

#include "engine/References.h"
#include "engine/TokenTable.h"
#include "model/NumberText.h"
#include "model/Numeric.h"
#include "model/ObjectNames.h"
#include "model/Options.h"
#include "model/ScriptStore.h"
#include "render/markup/TypesetImage.h"
#include "render/plot/Functions.h"
#include "render/plot/Relations.h"
#include "render/view/Scale.h"

#include <algorithm>
#include <vector>

TRowMetrics RowMetrics;
TRowModels RowModels;

namespace {

class NoRowHost final : public TRowHost {
public:
    void ShowRows(TRowKind) override {}
    void ShowRow(TRowKind, int) override {}
    void ShowFigureRows() override {}
    void ShowParamRows() override {}
    void ShowParamValue(int) override {}
    void ShowScriptButtons() override {}
};

// Parameter values show 8 significant digits, steps their full precision.
constexpr int ParamValueDigits = 8;
constexpr int ParamStepDigits = 15;

bool IsPlainOrigin(int k, const TPointFunction& object)
{
    return k == PointCount && object.Kind == ObjectPoint && object.LabelPos == 0
        && IsWhiteColor(object.ColorNo1);
}

// Display indices 1, 2, ... of the shown rows of one panel in the order of
// their stored positions (rows without a position last, by slot). Returns
// how many are shown.
template <int N>
int NumberShownRows(TRowList<N>& list, int panel)
{
    std::vector<int> slots;
    for (int i = 1; i <= N; ++i) {
        TRowModel& row = list.Rows[i];
        if (row.Panel != panel)
            continue;
        row.DisplayIndex = 0;
        if (row.Shown)
            slots.push_back(i);
    }
    auto key = [&](int i) { return list.Rows[i].Position > 0 ? list.Rows[i].Position : N + i; };
    std::stable_sort(slots.begin(), slots.end(), [&](int a, int b) { return key(a) < key(b); });
    int index = 0;
    for (int i : slots)
        list.Rows[i].DisplayIndex = ++index;
    return index;
}

// A row model begun anew with what every row with a picture shares: its
// panel, place, show flag and the first free slot (one that can take a
// record).
template <int N>
TRowModel& StartRow(TRowList<N>& list, int i, bool inUse, const TRowState& state, int panel,
                    bool canTakeRecord = true)
{
    TRowModel& row = list.Rows[i];
    row = TRowModel{};
    row.InUse = inUse;
    row.Panel = panel;
    row.Position = state.Position;
    row.Shown = inUse && state.Shown != 0;
    row.PictureSize = RowMetrics.RowSize;
    if (!inUse && canTakeRecord && list.AddSlot == 0)
        list.AddSlot = i;
    return row;
}

} // namespace

QString EquationRowLabel(int i, bool relation)
{
    return relation ? QStringLiteral(" C%1: ").arg(i) : QStringLiteral(" y%1=").arg(i);
}

QString UserFunctionRowLabel(int i)
{
    return UserFunctionNames[i].toString() + QStringLiteral(" =");
}

namespace {

template <int N>
void RefreshEquationRows(TRowList<N>& list, const TOffsetArray<TEquationFunction, 1, N>& table,
                         const TOffsetArray<TRowState, 1, N>& states, TOffsetArray<TColor, 1, N>& traceColors,
                         int panel, bool relations)
{
    list.AddSlot = 0;
    for (int i = 1; i <= N; ++i) {
        const TEquationFunction& f = table[i];
        traceColors[i] = f.AfterImage ? f.Color : NoTraceColor;
        TRowModel& row = StartRow(list, i, !f.Func.Text.isEmpty(), states[i], panel);
        row.Label = EquationRowLabel(i, relations);
        if (!row.InUse)
            continue;
        row.ButtonDown = f.Visible == 0;
        row.LabelColor = row.ButtonDown ? ColorWhite : f.Color;
        row.LabelBold = f.Width > 1;
        row.TextColor = f.Color;
        row.Picture = f.Func.NormText;
    }
    list.ShownCount = NumberShownRows(list, panel);
}

void FillObjectRow(int k)
{
    const TPointFunction& object = DocumentTables.Points[k];
    TRowModel& row = RowModels.Objects.Rows[k];
    row.Panel = IsCurveKind(object.Kind) ? PanelCurves : PanelPoints;
    row.Label = QString(PointLetter(k));
    row.Picture = MakePntText(object);
    row.PictureSize = RowMetrics.RowSize;
    row.ButtonDown = object.Shown == 0;
    row.LabelColor = row.ButtonDown ? ColorWhite : object.ColorNo1;
    row.LabelBold = object.Width > 1;
    row.TextColor = object.ColorNo1;
}

QString ParamLabel(int j)
{
    const QChar letter = ParamLetters[j];
    return (letter == u'@' ? QStringLiteral("\u03B8") : QString(letter)) + QStringLiteral(" =");
}

// A script uses a parameter that it writes or sweeps, that one of its
// expressions refers to, or whose change starts it.
bool ScriptsUseParam(int j, TTokenCode token)
{
    for (int i = 0; i < MacroCommands.Count(); ++i) {
        const TMacroCommandsub& script = MacroCommands.Items[static_cast<std::size_t>(i)];
        if (script.Trigger.contains(QChar(token)))
            return true;
        for (const Tlineset& command : script.Sets) {
            if (WritesTarget(command.Code) && command.Target == j)
                return true;
            for (const TKavirofunction& f : command.Args)
                if (!f.Code.isEmpty() && RefersToToken(token, f))
                    return true;
        }
    }
    return false;
}

bool IsParamInUse(int j)
{
    const TTokenCode token = Vocabulary.ParamTokens[j];
    const TDocumentTables& t = DocumentTables;
    auto refers = [token](const TKavirofunction& f) { return !f.Code.isEmpty() && RefersToToken(token, f); };
    for (const TEquationFunction& f : t.Functions)
        if (refers(f.Func))
            return true;
    for (const TPointFunction& p : t.Points)
        if (p.Kind != ObjectEmpty && PointRefersToToken(token, p))
            return true;
    for (const TKavirofunction& f : t.YvalueFunctions)
        if (refers(f))
            return true;
    if (refers(t.YvalueX) || refers(t.IntegralInterval.Lower) || refers(t.IntegralInterval.Upper))
        return true;
    const bool polarAngle = Options.ThetaMode == 1 && ParamLetters[j] == u'@';
    if (!polarAngle)
        for (const TEquationFunction& f : t.Relations)
            if (refers(f.Func))
                return true;
    return ScriptsUseParam(j, token);
}

} // namespace

TRowHost& CurrentRowHost()
{
    return platform::InstalledOr<TRowHost, NoRowHost>();
}

void TRowMetrics::Apply(int pixelsPerInch, bool presentation)
{
    const long double ppi = pixelsPerInch > 0 ? pixelsPerInch : 96;
    const int factor = presentation ? 2 : 1;
    RowSizeBase = NearestInt(1200.0L / ppi);
    TextSizeBase = NearestInt(10.0L * 1.2L);
    RowSize = RowSizeBase * factor;
    TextSize = TextSizeBase * factor;
    RowPitch = NearestInt(ppi / 72.0L * (RowSize * 2.2L + 2.0L));
    ValueRowHeight = NearestInt(ppi / 72.0L * (RowSizeBase * 2.2L + 2.0L));
    ScriptButtonHeight = NearestInt(TextSize * 2.4L);
}

int RowTop(int displayIndex)
{
    return RowMetrics.RowPitch * (displayIndex - 1) + 22;
}

void RefreshYfxRows()
{
    RefreshEquationRows(RowModels.Functions, DocumentTables.Functions, PanelLayout.FunctionRows, FunctionColors,
                        PanelFunctions, false);
    CurrentRowHost().ShowRows(TRowKind::Functions);
}

void RefreshCfnRows()
{
    RefreshEquationRows(RowModels.Relations, DocumentTables.Relations, PanelLayout.RelationRows, RelationColors,
                        PanelRelations, true);
    CurrentRowHost().ShowRows(TRowKind::Relations);
}

void RefreshUsrRows()
{
    auto& list = RowModels.UserFunctions;
    list.AddSlot = 0;
    for (int i = 1; i <= UserFunctionCount; ++i) {
        const TKavirofunction& f = DocumentTables.UserFunctions[i];
        TRowModel& row = StartRow(list, i, !f.Text.isEmpty(), PanelLayout.UserFunctionRows[i], PanelUserFunctions);
        row.Label = UserFunctionRowLabel(i);
        if (row.InUse)
            row.Picture = f.NormText;
    }
    list.ShownCount = NumberShownRows(list, PanelUserFunctions);
    CurrentRowHost().ShowRows(TRowKind::UserFunctions);
}

void RefreshPntRows()
{
    auto& list = RowModels.Objects;
    list.AddSlot = 0;
    for (int k = 1; k <= PointCount; ++k) {
        const TPointFunction& object = DocumentTables.Points[k];
        const bool inUse = object.Kind != ObjectEmpty && !IsPlainOrigin(k, object);
        // The origin's slot is never offered for "add".
        StartRow(list, k, inUse, PanelLayout.PointRows[k], IsCurveKind(object.Kind) ? PanelCurves : PanelPoints,
                 k != PointCount);
        if (inUse)
            FillObjectRow(k);
    }
    list.ShownCount = NumberShownRows(list, PanelPoints);
    list.CurveShownCount = NumberShownRows(list, PanelCurves);
    CurrentRowHost().ShowRows(TRowKind::Objects);
}

void ShowSegRows()
{
    const int count = Segments.Count();
    for (int s = 1; s <= SegmentCount; ++s) {
        TFigureRowModel& row = RowModels.Figures[s];
        row = TFigureRowModel{};
        if (s > count)
            continue;
        const Tsegment& figure = Segments.Data.Items[s];
        row.Shown = true;
        row.ButtonDown = figure.Shown == 0;
        row.Top = 22 * s + 4;
        row.Label = QStringLiteral("L%1").arg(s);
        row.Kind = figure.Kind;
        row.Color = figure.Color;
        row.SecondLineColor = figure.Width >= 2 ? figure.Color : ColorWhite;
        row.Filled = figure.Kind == FigureRectangle || figure.Kind == FigurePolygon || figure.Kind == FigureAngle
            || figure.Kind == FigureArc;
        row.InsideColor = figure.InsideColor;
        row.Pattern = figure.Pattern;
        for (int v = 1; v <= UsedVertexCount(figure) && v <= FigureVertexCount; ++v)
            row.VertexLetters += PointLetter(figure.Vertices[v]);
    }
    RowModels.FigurePanelHeight = 22 * count + 4 + 26;
    RowModels.FigureAddVisible = count < SegmentCount;
    CurrentRowHost().ShowFigureRows();
}

void UpdatePrmPanel()
{
    auto& rows = PanelLayout.ParamRows;
    const QChar xLetter = GraphScale.XAxis.Letter();
    std::vector<int> shown;
    for (int j = 1; j <= ParamCount; ++j) {
        TParamRowModel& row = RowModels.Params[j];
        TParameter& p = DocumentTables.Params[j];
        row.Label = ParamLabel(j);
        row.Shown = ParamLetters[j] != xLetter && rows[j].Shown != 0 && IsParamInUse(j);
        if (!row.Shown) {
            p.Extra = 1; // the step controls come back with the row
            row.DisplayIndex = 0;
            continue;
        }
        AssignRowPosition(rows, j);
        shown.push_back(j);
    }
    std::stable_sort(shown.begin(), shown.end(), [&](int a, int b) { return rows[a].Position < rows[b].Position; });
    int index = 0;
    for (int j : shown)
        RowModels.Params[j].DisplayIndex = ++index;
    RowModels.ParamShownCount = index;
    ShowPrmValues();
    CurrentRowHost().ShowParamRows();
}

void ShowPrmValues()
{
    for (int j = 1; j <= ParamCount; ++j) {
        const TParameter& p = DocumentTables.Params[j];
        TParamRowModel& row = RowModels.Params[j];
        row.Label = ParamLabel(j);
        row.StepText = ParamStepText(p.Step);
        row.Fixed = p.Fixed != 0;
        row.AddStep = p.AddStep != 0;
        row.StepControlsShown = p.Extra != 0;
        if (!row.Pending)
            row.EditText = ParamValueText(p.Value);
    }
}

QString ParamValueText(long double value)
{
    return FormatGeneral(value, ParamValueDigits, Separators.DecimalChar);
}

QString ParamStepText(long double step)
{
    return FormatGeneral(step, ParamStepDigits, Separators.DecimalChar);
}

void RefreshAllRows()
{
    RefreshYfxRows();
    RefreshCfnRows();
    RefreshUsrRows();
    RefreshPntRows();
    ShowSegRows();
    UpdatePrmPanel();
}

TTokenString MakePntText(const TPointFunction& object)
{
    const TNamedTokens& t = TokenCodes;
    auto named = [](TTokenCode name, const TKavirofunction& f) {
        return QString(QChar(name)) + QChar(TokenCodes.Equal) + f.NormText;
    };
    const QChar comma(t.Comma);
    switch (object.Kind) {
    case ObjectPoint:
        return object.Pos.NormText;
    case ObjectCircle:
        return object.Pos.NormText + comma + named(t.Radius, object.R);
    case ObjectHorizontalLine:
    case ObjectVerticalLine: {
        TTokenString text = object.Kind == ObjectHorizontalLine ? named(t.VarY, object.Y) : named(t.VarX, object.X);
        const QString radius = object.R.Text.trimmed();
        if (!radius.isEmpty() && radius != u"0")
            text += comma + named(t.Radius, object.R);
        return text;
    }
    case ObjectPolar:
        return named(t.Radius, object.R);
    case ObjectParametric:
    case ObjectSequence:
        if (object.Dimension == 2)
            return QString(QChar(t.Equal)) + object.Pos.NormText;
        return named(t.VarX, object.X) + comma + named(t.VarY, object.Y);
    default:
        return {};
    }
}

QString MakePntDefText(const TPointFunction& object)
{
    return QStringLiteral("x= ") + object.X.Text + QStringLiteral(", y= ") + object.Y.Text + QStringLiteral(", r= ")
        + object.R.Text;
}

void RedrawPntRow(int k)
{
    if (k < 1 || k > PointCount)
        return;
    TRowModel& row = RowModels.Objects.Rows[k];
    if (!row.InUse)
        return;
    FillObjectRow(k);
    CurrentRowHost().ShowRow(TRowKind::Objects, k);
}

void DrawRowPicture(const TRowModel& row, TBitmap& image)
{
    DrawExpressionInImage(image, row.PictureSize, row.Picture, false, false);
}
