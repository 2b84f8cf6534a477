#include "render/plot/FigureServices.h"
#include "render/plot/Figures.h"

#include "model/MessageBox.h"
#include "model/ProgramState.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"

int AddFigure(int k1, int k2)
{
    if (Segments.Count() >= SegmentCount) {
        ShowMsgBox(QStringLiteral("Mais segmentos não podem ser adicionados."), MsgWarning, MsgOk);
        return 0;
    }
    CurrentUndoPoints().SaveUndoPoint();
    const TDefaultStyle& style = ProgramState.DefaultSegmentStyle;
    Segments.Append(k1, k2, style.ColorNo1, style.Width, style.LineStyle);
    const int s = Segments.Count();
    // Shown at once, without waiting for a redraw.
    TBitmap& graph = GraphScale.GraphImages[0];
    if (graph.Width() > 0 && graph.Height() > 0)
        DrawSegment(DocumentFigureView(GraphScale), graph.Canvas(), s, true);
    return s;
}

void DeleteFigure(int s, bool undo)
{
    if (s < 1 || s > Segments.Count())
        return;
    if (undo)
        CurrentUndoPoints().SaveUndoPoint();
    Segments.Remove(s);
    ShiftFigureColoursDown(SegmentColors, s);
    ShiftFigureColoursDown(SegmentColors2, s);
    CurrentFigureTraces().FigureDeleted(s);
}

void DeleteFigureAndRedraw(int s, bool undo)
{
    DeleteFigure(s, undo);
    SetDirtyObjects();
    GraphScale.Redraw(GraphScale.GraphImages);
}

void SetFigure(int s, const Tsegment& figure)
{
    if (s < 1 || s > Segments.Count())
        return;
    Segments.Data.Items[s] = figure;
    SetDirtyObjects();
    GraphScale.Redraw(GraphScale.GraphImages);
}
