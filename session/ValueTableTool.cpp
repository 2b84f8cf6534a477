#include "session/ValueTableTool.h"

#include "session/EditScope.h"
#include "session/MouseWork.h"
#include "session/RowModels.h"
#include "session/ToolWindows.h"
#include "session/UndoPoints.h"

#include "engine/Compiler.h"
#include "engine/Evaluator.h"
#include "engine/References.h"
#include "model/NumberText.h"
#include "model/Options.h"

#include <optional>

namespace {

TToolAttachment<TValueTableView, TValueTableMarkers>& Window()
{
    static TToolAttachment<TValueTableView, TValueTableMarkers> window;
    return window;
}

void EvaluateX()
{
    DocumentTables.YvalueXValue = EvaluateExpression(DocumentTables.YvalueX, ValueReal(0.0L));
}

void ShowValues()
{
    if (AttachedValueTable())
        AttachedValueTable()->ShowValues(ValueTableRows(DocumentTables.YvalueXValue));
}

// x takes a new record: the undo point first, then its value, the
// parameter rows it may bring into use, and the redraw that moves its line.
void StoreX(const TKavirofunction& record)
{
    const TEditScope edit;
    SaveUndoPoint();
    DocumentTables.YvalueX = record;
    EvaluateX();
    UpdatePrmPanel();
    TEditScope::DocumentChanged();
    RedrawGraph();
}

} // namespace

QString ValueTableText(const TValue& value)
{
    if (!value.Defined)
        return QStringLiteral("---");
    return FormatFixed(value.X, 14, 12, Separators.DecimalChar);
}

TValueTableRows ValueTableRows(const TValue& x)
{
    TValueTableRows rows;
    for (int i = 1; i <= YvalueRowCount; ++i) {
        const TKavirofunction& row = DocumentTables.YvalueFunctions[i];
        const bool computable = x.Defined && !row.Code.isEmpty();
        rows[i - 1] = ValueTableText(computable ? EvaluateExpression(row, x) : ValueUndefined(KindReal));
    }
    return rows;
}

bool IsYValueLineShown()
{
    const TDocumentTables& doc = DocumentTables;
    return Window().IsShown() && doc.YvalueX.Marker && doc.YvalueXValue.Defined &&
           !ToolWindowState.EditingX;
}

void EditYvalueX(const TCalculatorEdit& edit)
{
    const bool lineWasShown = IsYValueLineShown();
    ToolWindowState.EditingX = true;
    if (lineWasShown)
        XorToolLine(DocumentTables.YvalueXValue.X);
    TKavirofunction record = DocumentTables.YvalueX;
    const bool sent = edit(record);
    ToolWindowState.EditingX = false;
    if (sent)
        StoreX(record);
    else if (lineWasShown)
        XorToolLine(DocumentTables.YvalueXValue.X);
    if (AttachedValueTable())
        AttachedValueTable()->ShowX();
}

void EditYvalueFunction(int i, const TCalculatorEdit& edit)
{
    if (i < 1 || i > YvalueRowCount)
        return;
    TKavirofunction record = DocumentTables.YvalueFunctions[i];
    if (!edit(record))
        return;
    {
        const TEditScope action;
        SaveUndoPoint();
        DocumentTables.YvalueFunctions[i] = record;
        UpdatePrmPanel();
        TEditScope::DocumentChanged();
    }
    ShowValues();
}

void ToggleYvalueMarker()
{
    const TEditScope action;
    const bool lineWasShown = IsYValueLineShown();
    TKavirofunction& x = DocumentTables.YvalueX;
    x.Marker = x.Marker ? 0 : 1;
    if (lineWasShown != IsYValueLineShown())
        XorToolLine(DocumentTables.YvalueXValue.X);
    TEditScope::DocumentChanged();
}

void SetYvalueXFromGraph(long double x)
{
    if (ToolWindowState.EditingX)
        return;
    TKavirofunction record = DocumentTables.YvalueX;
    record.Text = FormulaNumberText(x);
    PrepareExpression(record, ModePlain);
    StoreX(record);
    if (AttachedValueTable())
        AttachedValueTable()->ShowX();
}

bool TValueTableMarkers::IsXMarkerDraggable()
{
    const TKavirofunction& x = DocumentTables.YvalueX;
    return Window().IsShown() && IsConstantExpression(x) && x.Marker;
}

std::optional<long double> TValueTableMarkers::XMarkerValue()
{
    const TValue& x = DocumentTables.YvalueXValue;
    return x.Defined ? std::optional<long double>(x.X) : std::nullopt;
}

void TValueTableMarkers::SetXFromGraph(long double x)
{
    SetYvalueXFromGraph(x);
}

void TValueTableMarkers::MarkerLineGrabbed(int dragKind)
{
    if (dragKind == 2 && IsYValueLineShown())
        XorToolLine(DocumentTables.YvalueXValue.X);
}

void AttachValueTable(TValueTableView& view)
{
    Window().Attach(view);
    EvaluateX();
    ShowValues();
    if (IsYValueLineShown())
        XorToolLine(DocumentTables.YvalueXValue.X);
}

void DetachValueTable(bool redraw)
{
    if (!Window().Detach())
        return;
    ToolWindowState.EditingX = false;
    if (redraw)
        RedrawGraph();
}

TValueTableView* AttachedValueTable()
{
    return Window().Attached();
}
