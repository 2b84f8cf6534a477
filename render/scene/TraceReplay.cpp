#include "render/scene/TraceReplay.h"

#include "engine/TokenTable.h"
#include "model/DocumentState.h"
#include "model/Figures.h"
#include "model/ProgramState.h"
#include "platform/InputState.h"
#include "render/plot/Functions.h"
#include "render/plot/Loci.h"
#include "render/scene/ColumnCaches.h"
#include "render/scene/PlotterSteps.h"
#include "render/scene/RedrawClosure.h"
#include "render/scene/TraceRecording.h"
#include "render/scene/TraceStore.h"
#include "render/view/RedrawState.h"
#include "render/view/ViewServices.h"

namespace {

// Everything a replay changes, put back however it ends.
class ReplayGuard {
public:
    explicit ReplayGuard(ScaleT& view)
        : view_(view)
        , columns_(view.Columns)
        , redrawState_(RedrawState)
        , functions_(DocumentTables.Functions)
        , relations_(DocumentTables.Relations)
        , points_(DocumentTables.Points)
        , params_(DocumentTables.Params)
        , states_(view.PointStates)
        , recordedStates_(view.RecordedStates)
        , figures_(Segments)
        , loci_(Locuses)
        , colors_(LastDrawnTraceColors())
    {
    }
    ~ReplayGuard()
    {
        view_.Columns = columns_;
        RedrawState = redrawState_;
        DocumentTables.Functions = functions_;
        DocumentTables.Relations = relations_;
        DocumentTables.Points = points_;
        DocumentTables.Params = params_;
        view_.PointStates = states_;
        view_.RecordedStates = recordedStates_;
        Segments = figures_;
        Locuses = loci_;
        RestoreLastDrawnColors(colors_);
    }
    ReplayGuard(const ReplayGuard&) = delete;
    ReplayGuard& operator=(const ReplayGuard&) = delete;

    const TParamTable& ParamsBefore() const { return params_; }

    // Every function, relation and curve shown as before the replay: the
    // drawing of the changed traces hides the others for a while.
    void ShowAsBefore() const
    {
        TDocumentTables& doc = DocumentTables;
        for (int i = 1; i <= FunctionCount; ++i)
            doc.Functions[i].Visible = functions_[i].Visible;
        for (int j = 1; j <= RelationCount; ++j)
            doc.Relations[j].Visible = relations_[j].Visible;
        for (int k = 1; k <= PointCount; ++k)
            doc.Points[k].Shown = points_[k].Shown;
    }

private:
    ScaleT& view_;
    ViewColumns columns_;
    TRedrawState redrawState_;
    TOffsetArray<TEquationFunction, 1, FunctionCount> functions_;
    TOffsetArray<TEquationFunction, 1, RelationCount> relations_;
    TOffsetArray<TPointFunction, 1, PointCount> points_;
    TParamTable params_;
    TPointStates states_;
    TPointStates recordedStates_;
    TSegments figures_;
    TLocuses loci_;
    TTraceColors colors_;
};

// The replay's note after the graph window's caption, and what was there
// before put back.
class ReplayCaption {
public:
    ReplayCaption()
        : window_(CurrentRedrawWindow())
        , saved_(window_.CaptionSuffix())
    {
        window_.SetCaptionSuffix(saved_ + ReplayCaptionSuffix);
    }
    ~ReplayCaption() { window_.SetCaptionSuffix(saved_); }
    ReplayCaption(const ReplayCaption&) = delete;
    ReplayCaption& operator=(const ReplayCaption&) = delete;

private:
    TRedrawWindow& window_;
    QString saved_;
};

bool IsCurve(std::uint8_t kind)
{
    return kind == ObjectPolar || kind == ObjectParametric || kind == ObjectSequence;
}

void MarkName(TTokenCode token)
{
    MarkNameRangeChanged(token, token);
}

// The record's parameters, object states and figure colours take over.
void UseRecord(ScaleT& view, const TTraceRecord& record, const TTraceRecord* previous)
{
    DocumentTables.Params = record.Params;
    view.RecordedStates = previous ? previous->States : record.States;
    view.PointStates = record.States;
    Segments.CopyStates(record.States);
    Segments.TakeTraceColours(record.Colors.Figures, record.Colors.FigureFills);
}

// Functions, relations and curves are drawn in their trace colours.
void TakeTraceColors(const TTraceColors& colors)
{
    TDocumentTables& doc = DocumentTables;
    for (int i = 1; i <= FunctionCount; ++i)
        doc.Functions[i].Color = colors.Functions[i];
    for (int j = 1; j <= RelationCount; ++j)
        doc.Relations[j].Color = colors.Relations[j];
    for (int k = 1; k <= PointCount; ++k) {
        TPointFunction& p = doc.Points[k];
        p.RColorNo1 = colors.Points[k];
        // A point sequence's symbols take the second colour; other curves' fills do.
        const bool sequence = p.Kind == ObjectSequence;
        p.ColorNo1 = sequence ? colors.PointsR[k] : NoTraceColor;
        p.InsideColor = sequence ? NoTraceColor : colors.PointsR[k];
    }
}

bool SamePlace(const TPointState& a, const TPointState& b)
{
    return a.X == b.X && a.Y == b.Y && a.R == b.R;
}

// The change set from the difference to the previous record (to the
// document before the replay for the first record's parameters), closed
// over the references.
void RebuildChangeSet(const TTraceRecord& record, const TTraceRecord* previous, const TParamTable& paramsBefore)
{
    TDocumentTables& doc = DocumentTables;
    const TTraceColors& now = record.Colors;
    ClearChangedNames();
    for (int i = 1; i <= FunctionCount; ++i) {
        doc.Functions[i].AfterImage = !IsWhiteColor(now.Functions[i]);
        if (!previous || !SameColor(now.Functions[i], previous->Colors.Functions[i]))
            MarkName(Vocabulary.FunctionTokens[i]);
    }
    for (int j = 1; j <= RelationCount; ++j) {
        const bool traced = !IsWhiteColor(now.Relations[j]);
        doc.Relations[j].AfterImage = traced;
        if (traced && (!previous || IsWhiteColor(previous->Colors.Relations[j])))
            MarkName(Vocabulary.RelationTokens[j]);
    }
    for (int k = 1; k <= PointCount; ++k) {
        TPointFunction& p = doc.Points[k];
        if (!IsCurve(p.Kind))
            continue;
        p.RAImg = !IsWhiteColor(now.Points[k]);
        p.PointAImg = p.Kind == ObjectSequence && !IsWhiteColor(now.PointsR[k]);
        if (!previous || !SameColor(now.Points[k], previous->Colors.Points[k]) ||
            !SameColor(now.PointsR[k], previous->Colors.PointsR[k]))
            MarkName(Vocabulary.PointTokens[k]);
    }
    const TParamTable& paramsWere = previous ? previous->Params : paramsBefore;
    for (int p = 1; p <= ParamCount; ++p)
        if (record.Params[p].Value != paramsWere[p].Value)
            MarkName(Vocabulary.ParamTokens[p]);
    for (int k = 1; k <= PointCount; ++k) {
        if (!doc.Points[k].Draggable)
            continue;
        const bool is = record.States[k].Kind != ObjectEmpty;
        const bool was = previous && previous->States[k].Kind != ObjectEmpty;
        if ((is || was) && !(is && was && SamePlace(record.States[k], previous->States[k])))
            MarkName(Vocabulary.PointTokens[k]);
    }
    BuildRedrawClosure();
}

// Only what the change set names is drawn again; the rest of the record
// looks as the record before left it.
void ShowOnlyChanged()
{
    TDocumentTables& doc = DocumentTables;
    const TWideCharSet& changed = RedrawState.ChangedNames;
    for (int i = 1; i <= FunctionCount; ++i)
        doc.Functions[i].Visible = doc.Functions[i].Visible && changed.has(Vocabulary.FunctionTokens[i]);
    for (int j = 1; j <= RelationCount; ++j)
        doc.Relations[j].Visible = doc.Relations[j].Visible && changed.has(Vocabulary.RelationTokens[j]);
    for (int k = 1; k <= PointCount; ++k)
        if (IsCurve(doc.Points[k].Kind))
            doc.Points[k].Shown = doc.Points[k].Shown && changed.has(Vocabulary.PointTokens[k]);
}

void DrawChangedTraces(ScaleT& view, const TSceneDrawing& drawing)
{
    ShowOnlyChanged();
    UpdateLoci(view);
    DrawPointSequences(view, drawing);
    UpdateColumnCaches(view);
    DrawFunctions(view, drawing.Mapping, drawing.Canvases);
    DrawRelationsDirect(view, drawing);
}

void ReplayRecord(ScaleT& view, const TSceneDrawing& drawing, const TTraceRecord& record,
                  const TTraceRecord* previous, const ReplayGuard& guard)
{
    guard.ShowAsBefore();
    UseRecord(view, record, previous);
    DrawFigures(view, drawing);
    DrawObjects(view, drawing);
    DrawLoci(view, drawing);
    TakeTraceColors(record.Colors);
    if (!previous && ProgramState.StartupPending) {
        ProgramState.StartupPending = 0;
        return;
    }
    // A record that traces nothing draws nothing; the first always counts.
    if (previous && !record.Colors.AnyTraced())
        return;
    RebuildChangeSet(record, previous, guard.ParamsBefore());
    DrawChangedTraces(view, drawing);
}

} // namespace

void ReplayTraces(ScaleT& view, TCanvas& canvas)
{
    TBpnt& store = TraceStore;
    if (!store.HasRecords())
        return;
    const ReplayCaption caption;
    const ReplayGuard guard(view);
    const TSceneDrawing drawing{view.Mapping(ProgramState.Magnification), {nullptr, &canvas, true, false}};
    TTraceRecord records[2];
    int current = 0;
    const TTraceRecord* previous = nullptr;
    store.ResetCursor();
    do {
        TTraceRecord& record = records[current];
        store.ReadNext(record);
        ReplayRecord(view, drawing, record, previous, guard);
        previous = &record;
        current = 1 - current;
    } while (!store.AtEnd() && !platform::IsBreakKeyDown());
}
