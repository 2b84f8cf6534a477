#include "session/ViewHistory.h"

#include "render/view/Scale.h"
#include "session/EditScope.h"
#include "session/ProjectHost.h"

namespace {

void WriteViewIntoAxes(const TAreaView& view)
{
    ScaleT& scale = GraphScale;
    scale.XAxis.SetBounds(view.XLow, view.XHigh);
    scale.YAxis.SetBounds(view.YLow, view.YHigh);
    scale.XAxis.VHigh = view.XVHigh;
    scale.YAxis.VHigh = view.YVHigh;
    scale.XAxis.Number = view.XNumber;
    scale.YAxis.Number = view.YNumber;
    scale.SquareQ = view.SquareQ;
}

bool PixelLengthsDiffer(int xVHigh, int yVHigh)
{
    return GraphScale.XAxis.VHigh != xVHigh || GraphScale.YAxis.VHigh != yVHigh;
}

} // namespace

TAreaView CurrentView()
{
    const ScaleT& scale = GraphScale;
    return {scale.XAxis.Low,     scale.XAxis.High,    scale.YAxis.Low,    scale.YAxis.High, scale.XAxis.VHigh,
            scale.YAxis.VHigh,   scale.XAxis.Number,  scale.YAxis.Number, scale.SquareQ};
}

void PushViewHistory()
{
    if (CurrentProjectHost().SuppressesViewHistory())
        return;
    BackUpArea.Push(CurrentView());
    CurrentProjectHost().UpdateViewHistoryControls();
}

void UndoView()
{
    // With nothing behind there is nowhere to go; the history stays as it is.
    if (BackUpArea.IsAtStart()) {
        CurrentProjectHost().UpdateViewHistoryControls();
        return;
    }
    const int xVHigh = GraphScale.XAxis.VHigh;
    const int yVHigh = GraphScale.YAxis.VHigh;
    TAreaView view;
    if (!BackUpArea.CanForward()) {
        // The view left is kept ahead, so that forward returns to it.
        PushViewHistory();
        BackUpArea.Back(view);
    }
    if (!BackUpArea.Back(view)) {
        CurrentProjectHost().UpdateViewHistoryControls();
        return;
    }
    WriteViewIntoAxes(view);
    ApplyView(PixelLengthsDiffer(xVHigh, yVHigh));
}

void RedoView()
{
    const int xVHigh = GraphScale.XAxis.VHigh;
    const int yVHigh = GraphScale.YAxis.VHigh;
    TAreaView view;
    if (!BackUpArea.Forward(view)) {
        CurrentProjectHost().UpdateViewHistoryControls();
        return;
    }
    WriteViewIntoAxes(view);
    ApplyView(PixelLengthsDiffer(xVHigh, yVHigh));
}

bool SetViewRange(const TWorldRect& range)
{
    const TEditScope view;
    return GraphScale.SetRange(GraphScale.GraphImages, range);
}

void ApplyView(bool resize)
{
    const TEditScope view;
    if (resize)
        CurrentProjectHost().ResizeGraphArea();
    SetViewRange(GraphScale.Range());
    CurrentProjectHost().UpdateViewHistoryControls();
}
