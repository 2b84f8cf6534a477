#include "model/DocumentState.h"

#include "model/NumberText.h"
#include "model/ObjectNames.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "model/ScriptStore.h"

TDocumentTables DocumentTables;

namespace {

constexpr int DefaultColumnWidth = 60;

// A formula slot holding a text that its owner compiles later.
TKavirofunction FormulaText(const QString& text)
{
    TKavirofunction f = BlankFunction;
    f.Text = text;
    f.Marker = 1;
    return f;
}

bool IsCellInTable(int row, int col)
{
    return TOffsetArray<TCellRow, 0, TableRows>::inRange(row) && TCellRow::inRange(col);
}

} // namespace

void ResetDocumentState()
{
    Options.Reset();
    SetNormalColorScheme();
    ProgramState.ScriptDrawState = 0;
    ProgramState.Modified = 0;

    TDocumentTables& t = DocumentTables;
    t.YvalueX = FormulaText(QStringLiteral("1"));
    t.YvalueXValue = ValueUndefined(KindReal);
    // The limit values are the integral tool's to recompute.
    Tinterval& interval = t.IntegralInterval;
    interval.Lower = FormulaText(QStringLiteral("-1"));
    interval.Upper = FormulaText(QStringLiteral("1"));
    interval.sliceNo = 10;
    interval.Dfuncno = 1;
    interval.Efuncno = 0;
    interval.AreaQ = 0;
    t.TableColWidths.fill(DefaultColumnWidth);
    t.FunctionTraceColors.fill(NoTraceColor);
    t.RelationTraceColors.fill(NoTraceColor);
    t.PointTraceColors.fill(NoTraceColor);
    t.SegmentTraceColors.fill(NoTraceColor);
}

void ResetParameter(int i)
{
    TParameter& p = DocumentTables.Params[i];
    p.Fixed = 0;
    p.Step = 0.1L;
    p.AddStep = 1;
    p.Extra = 1;
}

void ResetPrms()
{
    auto& params = DocumentTables.Params;
    params[0].Value = 0.0L;
    for (int i = 1; i <= ParamCount; ++i) {
        ResetParameter(i);
        params[i].Value = i == ThetaParamIndex ? 0.0L : 1.0L;
    }
}

void ResetObjectRecords()
{
    TDocumentTables& t = DocumentTables;
    t.UserFunctions.fill(BlankFunction);
    for (int i = 1; i <= PointCount; ++i) {
        t.Points[i] = DefaultPoint;
        t.Points[i].Label = QString(PointLetter(i));
    }
    t.Functions.fill(DefaultEquation);
    t.Relations.fill(DefaultEquation);
    for (int i = 1; i <= YvalueRowCount; ++i)
        t.YvalueFunctions[i].Text = QStringLiteral("y") + QString::number(i);
}

void ClearTable()
{
    const TValue empty = ValueUndefined(KindReal);
    for (int r = 1; r <= TableRows; ++r) {
        for (int c = 1; c <= TableColumns; ++c)
            SetCellValue(r, c, empty, QString());
    }
    for (int r = 1; r <= TableRows; ++r)
        SetCellValue(r, 0, ValueReal(r), QString());
    for (int c = 1; c <= TableColumns; ++c)
        SetCellValue(0, c, ValueReal(c), QString());
    DocumentTables.TableFormula = BlankFunction;
    DocumentTables.TableSelection = TTableSelection{1, 2, 0, 0};
}

void ResetLists()
{
    TDocumentTables& t = DocumentTables;
    // The scripts live in the note text: they stay, one empty line apart.
    t.PetaMemoLines.clear();
    for (int i = 0; i < MacroCommands.Count(); ++i) {
        if (i > 0)
            t.PetaMemoLines.append(QString());
        t.PetaMemoLines.append(MacroCommands.Items[static_cast<std::size_t>(i)].Lines);
    }
    t.Stickers = TMemoStr{};
}

void NewDocumentLists()
{
    ResetLists();
    DocumentTables.PetaMemoLines.clear();
    MacroCommands.Reset();
    DocumentTables.SimpleMemoLines.clear();
}

void ResetDocument()
{
    NewDocumentLists();
    ResetDocumentState();
    ResetPrms();
    ResetObjectRecords();
    ClearTable();
}

void SetCellValue(int row, int col, const TValue& value, const QString& text)
{
    if (!IsCellInTable(row, col))
        return;
    TCell& cell = DocumentTables.Cells[row][col];
    cell.Defined = value.Defined;
    cell.Value = value.Defined ? value.X : 0.0L;
    cell.Text = value.Defined ? FormatGeneral(value.X, 15, Separators.DecimalChar) : text;
}

void GetCellValue(int row, int col, TValue& value)
{
    if (!IsCellInTable(row, col)) {
        value = ValueUndefined(KindReal);
        return;
    }
    const TCell& cell = DocumentTables.Cells[row][col];
    value.Defined = cell.Defined;
    value.X = cell.Value;
}
