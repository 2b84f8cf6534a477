#include "session/ToolWindows.h"

#include "session/DocumentParticipants.h"
#include "session/IntegralTool.h"
#include "session/ValueTableTool.h"

#include "engine/Compiler.h"
#include "model/DocumentState.h"
#include "render/scene/Redraw.h"
#include "render/scene/RedrawParticipants.h"
#include "render/view/Scale.h"
#include "render/view/ViewServices.h"

TToolWindowState ToolWindowState;

namespace {

// Over the finished graph: the open window's values computed (the value
// table's rows follow a parameter step even with the line off), then its
// line, or the integral's limits and shaded area.
class ToolOverlay final : public TRedrawParticipant {
public:
    void DrawOver(TCanvas& canvas, const TViewMapping&, bool refresh) override
    {
        TOverlayTools tools;
        if (TValueTableView* table = AttachedValueTable()) {
            if (refresh)
                table->ShowValues(ValueTableRows(DocumentTables.YvalueXValue));
            if (IsYValueLineShown())
                tools.YValueLineX = DocumentTables.YvalueXValue.X;
        }
        if (TIntegralView* integral = AttachedIntegral()) {
            if (refresh && ToolWindowState.ValuesActive)
                integral->ShowIntegrals(CalcIntegrals(DocumentTables, FunctionButtonsDown()));
            tools.IntegralToolActive = true;
        }
        DrawOverlayTools(GraphScale, canvas, tools);
    }
};

// The open window shows every document read, restored or made new.
class ToolDocumentSteps final : public TDocumentParticipant {
public:
    std::optional<TDocumentError> DocumentReplaced(const QStringList&) override
    {
        ShowDocument();
        return std::nullopt;
    }
    void DocumentCleared() override { ShowDocument(); }

private:
    static void ShowDocument()
    {
        if (TValueTableView* table = AttachedValueTable())
            table->ShowDocument();
        if (TIntegralView* integral = AttachedIntegral())
            integral->ShowDocument();
    }
};

} // namespace

void InstallToolWindowServices()
{
    static ToolOverlay overlay;
    static ToolDocumentSteps documentSteps;
    static const TRedrawParticipation drawsOver(overlay, TRedrawOrder::ToolWindows);
    static const TDocumentParticipation showsDocuments(documentSteps, TDocumentOrder::ToolWindows);
}

void CompileToolFormulas()
{
    TDocumentTables& t = DocumentTables;
    for (TKavirofunction& row : t.YvalueFunctions)
        PrepareExpression(row, ModeFunction);
    for (TKavirofunction* f : {&t.YvalueX, &t.IntegralInterval.Lower, &t.IntegralInterval.Upper})
        PrepareExpression(*f, ModePlain);
}

void XorToolLine(long double x)
{
    TOverlayTools line;
    line.YValueLineX = x;
    DrawOverlayTools(GraphScale, GraphScale.GraphImages[0].Canvas(), line);
    CurrentRedrawWindow().RepaintGraph();
}

void RedrawGraph()
{
    GraphScale.Redraw(GraphScale.GraphImages);
}
