#include "session/StoreOperations.h"

#include "session/EditScope.h"
#include "session/FigureEdit.h"
#include "session/PanelLayout.h"
#include "session/RowHost.h"
#include "session/RowModels.h"
#include "session/UndoPoints.h"

#include "engine/Evaluator.h"
#include "engine/NumberFields.h"
#include "engine/TokenTable.h"
#include "model/Figures.h"
#include "model/ObjectNames.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "render/plot/Figures.h"
#include "render/plot/Objects.h"
#include "render/scene/Redraw.h"
#include "render/scene/TraceStore.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"

namespace {

// A record came into use or went out of it: its row takes or gives up a place.
void UpdateRowPosition(std::span<TRowState> rows, int n, bool wasInUse, bool inUse)
{
    if (inUse && !wasInUse)
        AssignRowPosition(rows, n);
    else if (!inUse)
        ReleaseRowPosition(rows, n);
}

// The objects changed and the document with them; the action's scope
// redraws.
void MarkStored()
{
    SetDirtyObjects();
    TEditScope::DocumentChanged();
}


const TKavirofunction& FormulaOf(const TEquationFunction& f)
{
    return f.Func;
}
const TKavirofunction& FormulaOf(const TKavirofunction& f)
{
    return f;
}

enum TMarkOrder { MarkThenPanel, PanelThenMark };

// The scheme of every formula record: undo point, traces dropped when the
// text changes, the row's place, the record, its rows, the name marked
// and the parameter panel brought up to date, the redraw.
template <class Record>
void StoreFormula(Record& stored, const Record& record, std::span<TRowState> rows, int n, TTokenCode name,
                  void (*dropTraces)(int), void (*refreshRows)(), TMarkOrder order)
{
    const Record next = record; // the record may be the stored one
    const TEditScope edit;
    SaveUndoPoint();
    const QString& oldText = FormulaOf(stored).Text;
    const QString& newText = FormulaOf(next).Text;
    if (newText != oldText)
        dropTraces(n);
    UpdateRowPosition(rows, n, !oldText.isEmpty(), !newText.isEmpty());
    stored = next;
    refreshRows();
    if (order == PanelThenMark)
        UpdatePrmPanel();
    MarkNameChanged(name);
    if (order == MarkThenPanel)
        UpdatePrmPanel();
    MarkStored();
}

// The object's traces no longer fit the new record: another kind, another
// curve, or a fixed object elsewhere. A draggable point keeps its traces
// when it moves.
bool ObjectTracesChange(const TPointFunction& stored, const TPointFunction& next)
{
    if (next.Kind != stored.Kind)
        return true;
    auto differs = [](const TKavirofunction& a, const TKavirofunction& b) { return a.Text != b.Text; };
    if (IsCurveKind(next.Kind))
        return differs(next.X, stored.X) || differs(next.Y, stored.Y) || differs(next.R, stored.R)
            || differs(next.Low, stored.Low) || differs(next.High, stored.High) || next.ParamStep != stored.ParamStep
            || next.ParamChar != stored.ParamChar;
    if (next.Kind >= ObjectPoint && next.Kind <= ObjectVerticalLine && stored.Draggable == 0)
        return differs(next.X, stored.X) || differs(next.Y, stored.Y)
            || (next.Kind == ObjectCircle && differs(next.R, stored.R));
    return false;
}

void ErasePointTraces(int n)
{
    TraceStore.ErasePointTrace(n);
    GraphScale.RecordedStates[n].Kind = ObjectEmpty;
    PointColors[n] = NoTraceColor;
    PointColors2[n] = NoTraceColor;
}

// A real bound of a curve's parameter interval, or nothing.
bool CurveBound(const TKavirofunction& f, long double& bound)
{
    if (f.Code.isEmpty())
        return false;
    const TValue v = EvaluateExpression(f, ValueUndefined(KindReal));
    bound = v.X;
    return v.Defined && v.Kind == KindReal;
}

long double ClampToSynchronisedCurves(int j, long double value)
{
    for (const TPointFunction& object : DocumentTables.Points) {
        if (object.Sync == 0 || object.Kind == ObjectEmpty || PrmIndex(QStringView(&object.ParamChar, 1)) != j)
            continue;
        long double bound = 0.0L;
        if (CurveBound(object.Low, bound) && bound > value)
            value = bound;
        if (CurveBound(object.High, bound) && bound < value)
            value = bound;
    }
    return value;
}

void ShowParamEdit(int j, const QString& text, bool typed)
{
    TParamRowModel& row = RowModels.Params[j];
    row.EditText = text;
    row.Pending = typed;
    row.EditColor = typed ? TypedEditColor : AppliedEditColor;
    CurrentRowHost().ShowParamValue(j);
}

} // namespace

void SetYfx(int n, const TEquationFunction& record)
{
    if (n < 1 || n > FunctionCount)
        return;
    StoreFormula(DocumentTables.Functions[n], record, PanelLayout.FunctionRows, n, Vocabulary.FunctionTokens[n],
                 [](int i) {
                     TraceStore.EraseYfxTrace(i);
                     TraceStore.EraseTracesUsing(Vocabulary.FunctionTokens[i]);
                 },
                 RefreshYfxRows, MarkThenPanel);
}

void SetCfn(int n, const TEquationFunction& record)
{
    if (n < 1 || n > RelationCount)
        return;
    StoreFormula(DocumentTables.Relations[n], record, PanelLayout.RelationRows, n, Vocabulary.RelationTokens[n],
                 [](int j) { TraceStore.EraseCfnTrace(j); }, RefreshCfnRows, MarkThenPanel);
}

void SetUsr(int n, const TKavirofunction& record)
{
    if (n < 1 || n > UserFunctionCount)
        return;
    // A user function can bring parameters into use: the panel first.
    StoreFormula(DocumentTables.UserFunctions[n], record, PanelLayout.UserFunctionRows, n,
                 Vocabulary.UserFunctionTokens[n],
                 [](int i) { TraceStore.EraseTracesUsing(Vocabulary.UserFunctionTokens[i]); }, RefreshUsrRows,
                 PanelThenMark);
}

void SetPnt(int n, const TPointFunction& record)
{
    if (n < 1 || n > PointCount)
        return;
    TPointFunction next = record;
    const TEditScope edit;
    SaveUndoPoint();
    TPointFunction& stored = DocumentTables.Points[n];
    if (next.Kind == ObjectEmpty) {
        for (int s = Segments.FindLastUsing(n); s != 0; s = Segments.FindLastUsing(n))
            DeleteFigure(s, false);
        ShowSegRows();
        GraphScale.RecordedStates[n].Kind = ObjectEmpty;
        next.Label = QString(PointLetter(n));
    }
    if (ObjectTracesChange(stored, next))
        ErasePointTraces(n);
    UpdateRowPosition(PanelLayout.PointRows, n, stored.Kind != ObjectEmpty, next.Kind != ObjectEmpty);
    stored = next;
    RefreshPntRows();
    UpdatePrmPanel();
    MarkNameChanged(Vocabulary.PointTokens[n]);
    MarkStored();
}

void SetPrmValue(int j, long double value)
{
    if (j < 1 || j > ParamCount)
        return;
    value = ClampToSynchronisedCurves(j, value);
    TParameter& p = DocumentTables.Params[j];
    if (value != p.Value) {
        p.Value = value;
        SetDirtyObjects();
        MarkNameChanged(Vocabulary.ParamTokens[j]);
    }
    ShowParamEdit(j, ParamValueText(p.Value), false);
}

bool SetPrmIfChanged(int j, long double value)
{
    if (j < 1 || j > ParamCount || value == DocumentTables.Params[j].Value)
        return false;
    SetPrmValue(j, value);
    return true;
}

bool ApplyPrmEdit(int j)
{
    if (j < 1 || j > ParamCount)
        return false;
    QString text = RowModels.Params[j].EditText;
    long double value = DocumentTables.Params[j].Value;
    const bool changed = ParseNumberText(text, value, true) && SetPrmIfChanged(j, value);
    // The edit shows the value it holds now, typed as a formula or not.
    if (!changed)
        ShowParamEdit(j, ParamValueText(DocumentTables.Params[j].Value), false);
    return changed;
}

void TypePrmEdit(int j, const QString& text)
{
    if (j < 1 || j > ParamCount)
        return;
    RowModels.PendingPrmEdits = true;
    ShowParamEdit(j, text, true);
}

void ApplyPendingPrmEdits()
{
    if (!RowModels.PendingPrmEdits)
        return;
    for (int j = 1; j <= ParamCount; ++j) {
        TParamRowModel& row = RowModels.Params[j];
        if (!row.Pending)
            continue;
        ApplyPrmEdit(j);
        row.Pending = false;
        row.EditColor = AppliedEditColor;
        CurrentRowHost().ShowParamValue(j);
    }
    RowModels.PendingPrmEdits = false;
}

void ShowPrmValueTexts()
{
    for (int j = 1; j <= ParamCount; ++j)
        ShowParamEdit(j, ParamValueText(DocumentTables.Params[j].Value), false);
    RowModels.PendingPrmEdits = false;
}

void SetItemColor(TItemKind kind, int n, TColor color, int which)
{
    if (which != ItemMainColor && which != ItemSecondColor && which != ItemFillColor)
        return;
    TDocumentTables& t = DocumentTables;
    switch (kind) {
    case TItemKind::Function:
    case TItemKind::Relation: {
        const bool functions = kind == TItemKind::Function;
        if (n < 1 || n > (functions ? FunctionCount : RelationCount) || which == ItemFillColor)
            return;
        TEquationFunction& f = functions ? t.Functions[n] : t.Relations[n];
        f.Color = color;
        TRowModel& row = (functions ? RowModels.Functions.Rows[n] : RowModels.Relations.Rows[n]);
        if (which == ItemMainColor) {
            row.TextColor = color;
            if (!row.ButtonDown)
                row.LabelColor = color;
        }
        CurrentRowHost().ShowRow(functions ? TRowKind::Functions : TRowKind::Relations, n);
        return;
    }
    case TItemKind::Object: {
        if (n < 1 || n > PointCount)
            return;
        TPointFunction& object = t.Points[n];
        TColor& target = which == ItemMainColor ? object.ColorNo1
            : which == ItemSecondColor           ? object.RColorNo1
                                                 : object.InsideColor;
        target = color;
        TRowModel& row = RowModels.Objects.Rows[n];
        if (which == ItemMainColor) {
            row.TextColor = color;
            if (!row.ButtonDown)
                row.LabelColor = color;
        }
        CurrentRowHost().ShowRow(TRowKind::Objects, n);
        return;
    }
    case TItemKind::Figure: {
        if (n < 1 || n > Segments.Count())
            return;
        Tsegment& figure = Segments.Data.Items[n];
        (which == ItemFillColor ? figure.InsideColor : figure.Color) = color;
        ShowSegRows();
        return;
    }
    }
}

void EraseItemGraph(TItemKind kind, int n)
{
    switch (kind) {
    case TItemKind::Function:
        if (n >= 1 && n <= FunctionCount)
            TraceStore.EraseYfxTrace(n);
        return;
    case TItemKind::Relation:
        if (n >= 1 && n <= RelationCount)
            TraceStore.EraseCfnTrace(n);
        return;
    case TItemKind::Object:
        if (n >= 1 && n <= PointCount && DocumentTables.Points[n].Kind != ObjectEmpty) {
            TraceStore.ErasePointTrace(n);
            GraphScale.RecordedStates[n].Kind = ObjectEmpty;
        }
        return;
    case TItemKind::Figure:
        if (n >= 1 && n <= SegmentCount)
            TraceStore.EraseSegmentTrace(n);
        return;
    }
}

void ClearAllTraces()
{
    const TEditScope edit;
    ClearTracesAndRedraw(GraphScale, GraphScale.GraphImages);
}

void SetTracesRecorded(bool on)
{
    Options.CanAImg = on ? 1 : 0;
}

void SetVectorEntry(bool on)
{
    Options.VectorOn = on ? 1 : 0;
}

bool Modified()
{
    return ProgramState.Modified != 0;
}
