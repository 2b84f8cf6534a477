#include "script/ScriptTargets.h"

#include "engine/Compiler.h"
#include "engine/Evaluator.h"
#include "engine/NumberFields.h"
#include "engine/TokenTable.h"
#include "model/BuiltinsOperators.h"
#include "model/NumberText.h"
#include "model/Numeric.h"
#include "model/Options.h"
#include "render/markup/TypesetImage.h"
#include "render/view/RedrawState.h"
#include "script/ScriptWindow.h"
#include "session/EditScope.h"
#include "session/RowModels.h"

namespace {

// An index of P(k), Cells(r, c) or CellsP(r, c): the rounded value when it
// is defined and lies within low..high before rounding.
std::optional<int> ScriptIndex(const Tlineset& command, std::size_t arg, const TScriptVariables& variables,
                               long double low, long double high)
{
    const TValue v = EvaluateScriptArg(command, arg, variables);
    if (!v.Defined || !(v.X >= low && v.X <= high))
        return std::nullopt;
    return NearestInt(v.X);
}

// Object k and part s (1 x, 2 y, 3 r, 4 the position) of a target.
struct TObjectPart {
    int Object = 0;
    int Part = 0;
};

// P(k): the rounded k must name an object, 1..22 (0.5 rounds to 0).
std::optional<TObjectPart> ObjectByNumber(const Tlineset& command, const TScriptVariables& variables)
{
    const std::optional<int> k = ScriptIndex(command, 1, variables, 0.5L, PointCount + 0.5L);
    const std::optional<int> s = ScriptIndex(command, 2, variables, 0.5L, static_cast<int>(SelectorWhole) + 0.5L);
    if (!k || !s || *k < 1 || *k > PointCount || *s < SelectorX || *s > SelectorWhole)
        return std::nullopt;
    return TObjectPart{*k, *s};
}

std::optional<TObjectPart> ObjectTargetPart(const Tlineset& command, const TScriptVariables& variables)
{
    if (command.Target == TargetObjectByNumber)
        return ObjectByNumber(command, variables);
    const int k = command.Target % ObjectTargetStep;
    const int s = command.Target / ObjectTargetStep;
    if (k < 1 || k > PointCount || s < SelectorX || s > SelectorWhole)
        return std::nullopt;
    return TObjectPart{k, s};
}

bool IsObjectTarget(int target)
{
    return target == TargetObjectByNumber
        || (target > ObjectTargetStep && target <= ObjectTarget(PointCount, SelectorWhole));
}

struct TCellPlace {
    int Row = 0;
    int Column = 0;
};

// Rows -0.5..200.5 and columns -0.5..10.5, rounded halves to even.
std::optional<TCellPlace> CellTarget(const Tlineset& command, const TScriptVariables& variables)
{
    const std::optional<int> r = ScriptIndex(command, 1, variables, -0.5L, TableRows + 0.5L);
    const std::optional<int> c = ScriptIndex(command, 2, variables, -0.5L, TableColumns + 0.5L);
    if (!r || !c)
        return std::nullopt;
    return TCellPlace{*r, *c};
}

TValue CellValue(int row, int column)
{
    TValue v = ValueReal(0.0L);
    GetCellValue(row, column, v);
    return v;
}

// Everything that reads a changed name is drawn again, and the document
// is modified once the action ends.
void MarkChanged(char16_t name)
{
    MarkNameChanged(name);
    SetDirtyObjects();
    TEditScope::DocumentChanged();
}

void AssignParam(int j, const TValue& value)
{
    if (!value.Defined)
        return;
    DocumentTables.Params[j].Value = value.X;
    // A value typed into the row and not yet taken over is dropped.
    TParamRowModel& row = RowModels.Params[j];
    row.Pending = false;
    row.EditColor = AppliedEditColor;
    MarkChanged(Vocabulary.ParamTokens[j]);
}

// x and y (or z and w) from a pair, as reals; both undefined for an
// undefined value.
void AssignPair(TValue& first, TValue& second, const TValue& value)
{
    if (!value.Defined) {
        first = second = ValueUndefined(KindReal);
        return;
    }
    first = ValueReal(value.X);
    second = ValueReal(value.Y);
}

void SetObjectFormula(TKavirofunction& f, long double value, int k)
{
    f.Text = ScriptCoordinateText(value);
    PrepareExpression(f, k);
}

// Outside complex mode a position takes a pair and a coordinate a real; in
// complex mode a real is a point on the x axis, and a radius takes no pair.
void AssignObject(TObjectPart target, TValue value)
{
    const bool radius = target.Part == SelectorR;
    const bool whole = target.Part == SelectorWhole;
    if (Options.ComplexMode) {
        if (radius && value.Kind == KindPair)
            return;
        if (!radius)
            value = ValueToPoint(value);
    } else if (whole != (value.Kind == KindPair)) {
        return;
    }
    if (!value.Defined)
        return;
    const int k = target.Object;
    TPointFunction& object = DocumentTables.Points[k];
    switch (target.Part) {
    case SelectorX:
        SetObjectFormula(object.X, value.X, k);
        break;
    case SelectorY:
        SetObjectFormula(object.Y, value.X, k);
        break;
    case SelectorR:
        SetObjectFormula(object.R, value.X, k);
        break;
    default:
        SetObjectFormula(object.X, value.X, k);
        SetObjectFormula(object.Y, value.Y, k);
        break;
    }
    if (!radius) {
        JoinPointTexts(object, PointTextDirection::Join);
        PrepareExpression(object.Pos, k);
    }
    ScriptRunState.ScriptMovedObjects[static_cast<std::size_t>(k)] = true;
    MarkChanged(Vocabulary.PointTokens[k]);
}

void StoreCell(TCellPlace place, const TValue& value)
{
    SetCellValue(place.Row, place.Column, value, QString());
    if (place.Row >= 0 && place.Row <= TableRows && place.Column >= 0 && place.Column <= TableColumns)
        CurrentScriptWindow().ShowTableCell(place.Row, place.Column,
                                            DocumentTables.Cells[place.Row][place.Column].Text);
}

// A pair stores its y in the next column too (none after column 10); a
// pair of cells takes nothing but a pair.
void AssignCells(TCellPlace place, const TValue& value, bool pairOfCells)
{
    const TCellPlace next{place.Row, place.Column + 1};
    if (value.Defined && value.Kind == KindPair) {
        StoreCell(place, ValueReal(value.X));
        StoreCell(next, ValueReal(value.Y));
    } else if (pairOfCells) {
        StoreCell(place, ValueUndefined(KindReal));
        StoreCell(next, ValueUndefined(KindReal));
    } else {
        StoreCell(place, value);
    }
    MarkNameChanged(TokenCodes.Cells);
    MarkChanged(TokenCodes.CellsP);
}

} // namespace

TValue EvaluateScriptArg(const TKavirofunction& arg, const TScriptVariables& variables)
{
    return EvaluatePostfix(arg, variables.X, variables.Y, variables.Z, variables.W);
}

TValue EvaluateScriptArg(const Tlineset& command, std::size_t index, const TScriptVariables& variables)
{
    if (index >= command.Args.size())
        return ValueUndefined(KindReal);
    return EvaluateScriptArg(command.Args[index], variables);
}

TValue ReadScriptTarget(const Tlineset& command, const TScriptVariables& variables)
{
    const int t = command.Target;
    if (t >= FirstParamTarget && t <= LastParamTarget)
        return ValueReal(DocumentTables.Params[t].Value);
    if (IsObjectTarget(t)) {
        const std::optional<TObjectPart> target = ObjectTargetPart(command, variables);
        return target ? EvaluatePoint(target->Object, target->Part) : ValueUndefined(KindReal);
    }
    switch (t) {
    case TargetVariableX:
        return variables.X;
    case TargetVariableY:
        return variables.Y;
    case TargetVariableZ:
        return variables.Z;
    case TargetVariableW:
        return variables.W;
    case TargetPairXY:
        return ValueMakePoint(variables.X, variables.Y);
    case TargetPairZW:
        return ValueMakePoint(variables.Z, variables.W);
    case TargetCells:
    case TargetCellsPair: {
        const std::optional<TCellPlace> place = CellTarget(command, variables);
        if (!place)
            return ValueUndefined(KindReal);
        const TValue cell = CellValue(place->Row, place->Column);
        return t == TargetCells ? cell : ValueMakePoint(cell, CellValue(place->Row, place->Column + 1));
    }
    default:
        return ValueUndefined(KindReal);
    }
}

void AssignScriptTarget(const Tlineset& command, TScriptVariables& variables, const TValue& value)
{
    const int t = command.Target;
    if (t >= FirstParamTarget && t <= LastParamTarget)
        return AssignParam(t, value);
    if (IsObjectTarget(t)) {
        if (const std::optional<TObjectPart> target = ObjectTargetPart(command, variables))
            AssignObject(*target, value);
        return;
    }
    switch (t) {
    case TargetVariableX:
        variables.X = value;
        return;
    case TargetVariableY:
        variables.Y = value;
        return;
    case TargetVariableZ:
        variables.Z = value;
        return;
    case TargetVariableW:
        variables.W = value;
        return;
    case TargetPairXY:
        return AssignPair(variables.X, variables.Y, value);
    case TargetPairZW:
        return AssignPair(variables.Z, variables.W, value);
    case TargetCells:
    case TargetCellsPair:
        if (const std::optional<TCellPlace> place = CellTarget(command, variables))
            AssignCells(*place, value, t == TargetCellsPair);
        return;
    default:
        return;
    }
}

void StepScriptTarget(const Tlineset& command, TScriptVariables& variables, bool increment)
{
    const TValue current = ReadScriptTarget(command, variables);
    const TValue step = EvaluateScriptArg(command, 0, variables);
    if (!current.Defined || !step.Defined)
        return;
    const TValue next = increment ? ValueAddCore(current, step) : ValueSubtract(current, step);
    AssignScriptTarget(command, variables, ValueSnap(next));
}

QString ScriptCoordinateText(long double value)
{
    QString text = FormatGeneral(value, 15, Separators.DecimalChar);
    if (text.contains(QStringLiteral("E-")))
        return QStringLiteral("0");
    ExponentToPower(text);
    return text;
}
