#include "session/IntegralTool.h"

#include "session/EditScope.h"
#include "session/MouseWork.h"
#include "session/RowModels.h"
#include "session/ToolWindows.h"
#include "session/UndoPoints.h"

#include "engine/Calculus.h"
#include "engine/Compiler.h"
#include "engine/Evaluator.h"
#include "engine/References.h"
#include "engine/TokenTable.h"
#include "model/MessageBox.h"
#include "model/NumberText.h"
#include "model/Options.h"
#include "render/view/RedrawState.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace {

TToolAttachment<TIntegralView, TIntegralMarkers>& Window()
{
    static TToolAttachment<TIntegralView, TIntegralMarkers> window;
    return window;
}

TKavirofunction& Limit(bool upper)
{
    Tinterval& in = DocumentTables.IntegralInterval;
    return upper ? in.Upper : in.Lower;
}

const TValue& LimitValue(bool upper)
{
    const Tinterval& in = DocumentTables.IntegralInterval;
    return upper ? in.UpperValue : in.LowerValue;
}

void EvaluateLimits()
{
    Tinterval& in = DocumentTables.IntegralInterval;
    const TValue zero = ValueReal(0.0L);
    in.LowerValue = EvaluateExpression(in.Lower, zero);
    in.UpperValue = EvaluateExpression(in.Upper, zero);
}

// A limit's line is on the graph: the window is shown, the marker set, the
// value defined.
bool IsLimitLineShown(bool upper)
{
    return Window().IsShown() && Limit(upper).Marker && LimitValue(upper).Defined;
}

bool IsLimitDraggable(bool upper)
{
    const TKavirofunction& limit = Limit(upper);
    return Window().IsShown() && IsConstantExpression(limit) && limit.Marker;
}

std::optional<long double> LimitMarkerValue(bool upper)
{
    const TValue& v = LimitValue(upper);
    return v.Defined ? std::optional<long double>(v.X) : std::nullopt;
}

// A limit takes a new record: the undo point first, then the values, the
// parameter rows it may bring into use, and the redraw.
void StoreLimit(bool upper, const TKavirofunction& record)
{
    const TEditScope edit;
    SaveUndoPoint();
    Limit(upper) = record;
    EvaluateLimits();
    UpdatePrmPanel();
    TEditScope::DocumentChanged();
    RedrawGraph();
}

// A choice of the window that the integrals do not depend on: stored and
// drawn without computing them again.
template <class Field>
void StoreChoice(Field& field, Field value, bool valuesChange)
{
    const bool active = ToolWindowState.ValuesActive;
    ToolWindowState.ValuesActive = active && valuesChange;
    {
        const TEditScope action;
        if (field != value) {
            field = value;
            TEditScope::DocumentChanged();
        }
        RedrawGraph();
    }
    ToolWindowState.ValuesActive = active;
}

// The function's value at x, 0 where it is undefined.
long double ValueOrZero(const TKavirofunction& f, long double x)
{
    const TValue v = EvaluateExpression(f, ValueReal(x));
    return v.Defined ? v.X : 0.0L;
}

} // namespace

QString SliceNoRangeMessage()
{
    return QStringLiteral("Número de partições será par, de 2 a 200.");
}

TSliceNoText ReadSliceNo(const QString& text, int& sliceNo)
{
    long double v = 0.0L;
    if (!ParseExtended(text, Separators.DecimalChar, v) || v != std::trunc(v) ||
        std::fabs(v) > static_cast<long double>(INT_MAX))
        return TSliceNoText::NotAnInteger;
    const int n = static_cast<int>(v);
    if (n < MinSliceNo || n > MaxSliceNo)
        return TSliceNoText::OutOfRange;
    sliceNo = n;
    return TSliceNoText::Accepted;
}

void MarkIntegralChanged()
{
    const Tinterval& in = DocumentTables.IntegralInterval;
    for (int f : {in.Dfuncno, in.Efuncno})
        if (f >= 1 && f <= FunctionCount)
            MarkNameChanged(Vocabulary.FunctionTokens[f]);
    MarkNameChanged(TokenCodes.Area);
    SetDirtyObjects();
}

bool StoreSliceNo(int sliceNo)
{
    int& stored = DocumentTables.IntegralInterval.sliceNo;
    if (stored == sliceNo)
        return false;
    stored = sliceNo;
    MarkIntegralChanged();
    return true;
}

TFunctionButtons FunctionButtonsDown()
{
    TFunctionButtons down;
    for (int i = 1; i <= FunctionCount; ++i)
        down[i] = RowModels.Functions.Rows[i].InUse && RowModels.Functions.Rows[i].ButtonDown;
    return down;
}

bool IsFunctionDefined(const TDocumentTables& doc, int i)
{
    return i >= 1 && i <= FunctionCount && !doc.Functions[i].Func.Code.isEmpty();
}

int IntegralRowsHeight(const TDocumentTables& doc, int n)
{
    const int last = n == 0 ? FunctionCount : std::clamp(n, 0, FunctionCount);
    int height = 4;
    for (int i = 1; i <= last; ++i)
        if (IsFunctionDefined(doc, i))
            height += 24;
    return n == 0 ? height + 24 : height;
}

int IntegralRowAreaHeight(const TDocumentTables& doc)
{
    return IntegralRowsHeight(doc, 0) + 30;
}

QString IntegralRowLabel(int i)
{
    const QString caption = EquationRowLabel(i, false);
    return caption.left(caption.indexOf(u'='));
}

TIntegralTable CalcIntegrals(const TDocumentTables& doc, const TFunctionButtons& buttonsDown)
{
    const Tinterval& in = doc.IntegralInterval;
    TIntegralTable table;
    table.Rows[0].Top = 4;
    table.RowAreaHeight = IntegralRowAreaHeight(doc);
    const bool limits = in.LowerValue.Defined && in.UpperValue.Defined;
    std::vector<long double> nodes;
    std::vector<long double> subtracted;
    long double h = 0.0L;
    if (limits) {
        const int n = std::clamp(in.sliceNo, MinSliceNo, MaxSliceNo);
        const long double lower = in.LowerValue.X;
        h = (in.UpperValue.X - lower) / n / 2.0L;
        const bool difference = in.Efuncno >= 1 && in.Efuncno <= FunctionCount;
        for (int p = 0; p < n; ++p) {
            const long double m = (2 * p + 1) * h + lower;
            for (int k = 1; k <= 5; ++k) {
                const long double node = h * CalculusTables.GaussNodes[k] + m;
                nodes.push_back(node);
                subtracted.push_back(difference ? ValueOrZero(doc.Functions[in.Efuncno].Func, node) : 0.0L);
            }
        }
    }
    for (int i = 1; i <= FunctionCount; ++i) {
        TIntegralRow& row = table.Rows[i];
        if (!IsFunctionDefined(doc, i)) {
            row.Top = HiddenIntegralRowTop;
            row.Text = limits ? QString() : QStringLiteral("---");
            continue;
        }
        row.Top = IntegralRowsHeight(doc, i);
        if (!limits) {
            row.Text = QStringLiteral("---");
            row.Enabled = !buttonsDown[i];
            continue;
        }
        if (buttonsDown[i]) {
            row.Text = QStringLiteral("0");
            row.Enabled = false;
            continue;
        }
        long double sum = 0.0L;
        for (std::size_t j = 0; j < nodes.size(); ++j) {
            long double d = ValueOrZero(doc.Functions[i].Func, nodes[j]) - subtracted[j];
            if (in.AreaQ == 1)
                d = std::fabs(d);
            sum += CalculusTables.GaussWeights[static_cast<int>(j % 5) + 1] * d;
        }
        row.Text = FormatFixed(sum * h, 15, 14, Separators.DecimalChar);
    }
    return table;
}

void EditIntegralLimit(bool upper, const TCalculatorEdit& edit)
{
    ToolWindowState.LimitEditing = true;
    TKavirofunction record = Limit(upper);
    const bool sent = edit(record);
    ToolWindowState.LimitEditing = false;
    if (sent) {
        StoreLimit(upper, record);
    } else {
        const TEditScope action;
        RedrawGraph();
    }
    if (AttachedIntegral())
        AttachedIntegral()->ShowLimits();
}

void SetIntegralShownFunction(int row)
{
    if (row < 0 || row > FunctionCount)
        return;
    StoreChoice(DocumentTables.IntegralInterval.Dfuncno, row, false);
}

void SetIntegralSubtractedFunction(int row)
{
    if (row < 0 || row > FunctionCount)
        return;
    StoreChoice(DocumentTables.IntegralInterval.Efuncno, row, false);
    if (AttachedIntegral() && ToolWindowState.ValuesActive)
        AttachedIntegral()->ShowIntegrals(CalcIntegrals(DocumentTables, FunctionButtonsDown()));
}

void SetIntegralAreaMode(bool area)
{
    StoreChoice(DocumentTables.IntegralInterval.AreaQ, std::uint8_t(area ? 1 : 0), true);
}

TSliceNoText ApplySliceNoText(QString& text)
{
    int n = DocumentTables.IntegralInterval.sliceNo;
    const TSliceNoText read = ReadSliceNo(text, n);
    switch (read) {
    case TSliceNoText::Accepted: {
        const TEditScope action;
        if (StoreSliceNo(n))
            TEditScope::DocumentChanged();
        break;
    }
    case TSliceNoText::OutOfRange:
        ShowMsgBox(SliceNoRangeMessage(), MsgWarning, MsgOk);
        text = QString::number(DocumentTables.IntegralInterval.sliceNo);
        break;
    case TSliceNoText::NotAnInteger:
        break;
    }
    return read;
}

void ToggleIntegralMarker(bool upper)
{
    const TEditScope action;
    const bool lineWasShown = IsLimitLineShown(upper);
    TKavirofunction& limit = Limit(upper);
    limit.Marker = limit.Marker ? 0 : 1;
    if (lineWasShown != IsLimitLineShown(upper))
        XorToolLine(LimitValue(upper).X);
    TEditScope::DocumentChanged();
}

void SetIntegralLimitFromGraph(bool upper, long double x)
{
    if (ToolWindowState.LimitEditing)
        return;
    TKavirofunction record = Limit(upper);
    record.Text = FormulaNumberText(x);
    PrepareExpression(record, ModePlain);
    StoreLimit(upper, record);
    if (AttachedIntegral())
        AttachedIntegral()->ShowLimits();
}

bool TIntegralMarkers::IsLowerMarkerDraggable()
{
    return IsLimitDraggable(false);
}

std::optional<long double> TIntegralMarkers::LowerMarkerValue()
{
    return LimitMarkerValue(false);
}

void TIntegralMarkers::SetLowerFromGraph(long double x)
{
    SetIntegralLimitFromGraph(false, x);
}

bool TIntegralMarkers::IsUpperMarkerDraggable()
{
    return IsLimitDraggable(true);
}

std::optional<long double> TIntegralMarkers::UpperMarkerValue()
{
    return LimitMarkerValue(true);
}

void TIntegralMarkers::SetUpperFromGraph(long double x)
{
    SetIntegralLimitFromGraph(true, x);
}

void TIntegralMarkers::MarkerLineGrabbed(int dragKind)
{
    const bool upper = dragKind == 4;
    if ((dragKind == 3 || upper) && IsLimitLineShown(upper))
        XorToolLine(LimitValue(upper).X);
}

void AttachIntegral(TIntegralView& view)
{
    Window().Attach(view);
    ToolWindowState.LimitEditing = false;
    ToolWindowState.ValuesActive = true;
    const TEditScope action;
    EvaluateLimits();
    RedrawGraph();
}

void DetachIntegral(bool redraw)
{
    if (!Window().Detach())
        return;
    ToolWindowState.LimitEditing = false;
    ToolWindowState.ValuesActive = false;
    if (redraw)
        RedrawGraph();
}

TIntegralView* AttachedIntegral()
{
    return Window().Attached();
}
