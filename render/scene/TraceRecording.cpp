#include "render/scene/TraceRecording.h"

#include "render/plot/Figures.h"
#include "render/plot/Functions.h"
#include "render/plot/Objects.h"
#include "render/plot/Relations.h"
#include "render/view/RedrawState.h"

TTraceColors LastDrawnTraceColors()
{
    TTraceColors colors;
    colors.Functions = FunctionColors;
    colors.Relations = RelationColors;
    colors.Points = PointColors;
    colors.PointsR = PointColors2;
    colors.Figures = SegmentColors;
    colors.FigureFills = SegmentColors2;
    return colors;
}

void RestoreLastDrawnColors(const TTraceColors& colors)
{
    FunctionColors = colors.Functions;
    RelationColors = colors.Relations;
    PointColors = colors.Points;
    PointColors2 = colors.PointsR;
    SegmentColors = colors.Figures;
    SegmentColors2 = colors.FigureFills;
}

void RecordTrace(ScaleT& view)
{
    view.RecordedStates = view.PointStates;
    PushTraceRecord(TraceStore, view.RecordedStates, view.ViewParams);
}

void PushTraceRecord(TBpnt& store, const TPointStates& states, const TParamTable& params)
{
    store.Push(states, IsDirtyScale() ? DefaultTraceColors() : LastDrawnTraceColors(), params);
}

void PushAllTraced(ScaleT& view)
{
    TraceStore.PushAllTraced(view.PointStates, PointColors, PointColors2);
}
