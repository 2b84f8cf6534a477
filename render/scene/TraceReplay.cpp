#include "render/scene/TraceReplay.h"

#include "engine/EvalEnv.h"
#include "engine/TokenTable.h"
#include "model/Colors.h"
#include "model/DocumentState.h"
#include "model/Figures.h"
#include "model/ProgramState.h"
#include "platform/InputState.h"
#include "render/plot/Figures.h"
#include "render/plot/Functions.h"
#include "render/plot/Loci.h"
#include "render/plot/Objects.h"
#include "render/plot/Pens.h"
#include "render/plot/Relations.h"
#include "render/scene/ColumnCaches.h"
#include "render/scene/PlotterSteps.h"
#include "render/scene/RedrawClosure.h"
#include "render/scene/TraceRecording.h"
#include "render/scene/TraceStore.h"
#include "render/view/RedrawState.h"
#include "render/view/ViewServices.h"

namespace {

// What a replay changes of the view, put back however it ends.
class ReplayGuard {
public:
    explicit ReplayGuard(ScaleT& view)
        : view_(view)
        , columns_(view.Columns)
        , redrawState_(RedrawState)
        , states_(view.PointStates)
        , recordedStates_(view.RecordedStates)
        , loci_(Locuses)
        , colors_(LastDrawnTraceColors())
    {
    }
    ~ReplayGuard()
    {
        view_.Columns = columns_;
        RedrawState = redrawState_;
        view_.PointStates = states_;
        view_.RecordedStates = recordedStates_;
        Locuses = loci_;
        RestoreLastDrawnColors(colors_);
    }
    ReplayGuard(const ReplayGuard&) = delete;
    ReplayGuard& operator=(const ReplayGuard&) = delete;

private:
    ScaleT& view_;
    ViewColumns columns_;
    TRedrawState redrawState_;
    TPointStates states_;
    TPointStates recordedStates_;
    TLocuses loci_;
    TTraceColors colors_;
};

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

// What the replay draws instead of the document's records, which it never
// writes: copies of them made when it starts, with the functions, relations
// and curves in the trace colours of the record being drawn and shown only
// when they changed since the record before, and the figures at the
// record's object states in its trace colours.
struct ReplayRecords {
    TFunctionRecords Functions = DocumentTables.Functions;
    TRelationRecords Relations = DocumentTables.Relations;
    TPointRecords Points = DocumentTables.Points;
    TSegments Figures = Segments;

    void TakeFigures(const TTraceRecord& record)
    {
        Figures.CopyStates(record.States);
        Figures.TakeTraceColours(record.Colors.Figures, record.Colors.FigureFills);
    }

    // Functions, relations and curves in their trace colours; what has a
    // colour other than white leaves a trace.
    void TakeTraceColors(const TTraceColors& colors)
    {
        for (int i = 1; i <= FunctionCount; ++i) {
            Functions[i].Color = colors.Functions[i];
            Functions[i].AfterImage = !IsWhiteColor(colors.Functions[i]);
        }
        for (int j = 1; j <= RelationCount; ++j) {
            Relations[j].Color = colors.Relations[j];
            Relations[j].AfterImage = !IsWhiteColor(colors.Relations[j]);
        }
        for (int k = 1; k <= PointCount; ++k) {
            TPointFunction& p = Points[k];
            p.RColorNo1 = colors.Points[k];
            // A point sequence's symbols take the second colour; other curves' fills do.
            const bool sequence = p.Kind == ObjectSequence;
            p.ColorNo1 = sequence ? colors.PointsR[k] : NoTraceColor;
            p.InsideColor = sequence ? NoTraceColor : colors.PointsR[k];
            if (IsCurve(p.Kind)) {
                p.RAImg = !IsWhiteColor(colors.Points[k]);
                p.PointAImg = sequence && !IsWhiteColor(colors.PointsR[k]);
            }
        }
    }

    // Of what the document shows, only what the change set names is drawn
    // again; the rest of the record looks as the record before left it.
    void ShowOnlyChanged(const TWideCharSet& changed)
    {
        const TDocumentTables& doc = DocumentTables;
        for (int i = 1; i <= FunctionCount; ++i)
            Functions[i].Visible = doc.Functions[i].Visible && changed.has(Vocabulary.FunctionTokens[i]);
        for (int j = 1; j <= RelationCount; ++j)
            Relations[j].Visible = doc.Relations[j].Visible && changed.has(Vocabulary.RelationTokens[j]);
        for (int k = 1; k <= PointCount; ++k)
            if (IsCurve(doc.Points[k].Kind))
                Points[k].Shown = doc.Points[k].Shown && changed.has(Vocabulary.PointTokens[k]);
    }
};

bool SamePlace(const TPointState& a, const TPointState& b)
{
    return a.X == b.X && a.Y == b.Y && a.R == b.R;
}

// The change set from the difference to the previous record (to the
// document for the first record's parameters), closed over the references.
void RebuildChangeSet(const TTraceRecord& record, const TTraceRecord* previous)
{
    const TDocumentTables& doc = DocumentTables;
    const TTraceColors& now = record.Colors;
    ClearChangedNames();
    for (int i = 1; i <= FunctionCount; ++i) {
        if (!previous || !SameColor(now.Functions[i], previous->Colors.Functions[i]))
            MarkName(Vocabulary.FunctionTokens[i]);
    }
    for (int j = 1; j <= RelationCount; ++j) {
        const bool traced = !IsWhiteColor(now.Relations[j]);
        if (traced && (!previous || IsWhiteColor(previous->Colors.Relations[j])))
            MarkName(Vocabulary.RelationTokens[j]);
    }
    for (int k = 1; k <= PointCount; ++k) {
        if (!IsCurve(doc.Points[k].Kind))
            continue;
        if (!previous || !SameColor(now.Points[k], previous->Colors.Points[k]) ||
            !SameColor(now.PointsR[k], previous->Colors.PointsR[k]))
            MarkName(Vocabulary.PointTokens[k]);
    }
    const TParamTable& paramsWere = previous ? previous->Params : doc.Params;
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

// The changed traces, evaluated with the record's parameters.
void DrawChangedTraces(ScaleT& view, const TSceneDrawing& drawing, const ReplayRecords& shown,
                       const TEvalEnv& params)
{
    const TViewMapping& mapping = drawing.Mapping;
    const TPlotCanvases& canvases = drawing.Canvases;
    TLocusSources sources = LocusSourcesOf(view);
    sources.Env = &params;
    ComputeLoci(Locuses, RedrawState.ChangedNames, false, sources, shown.Points);
    DrawCurves(mapping, canvases, Locuses, shown.Points, DocumentPenSettings(mapping.Context()));
    UpdateColumnCaches(view, shown.Functions, params);
    DrawFunctions(view, mapping, canvases, DocumentCurveSettings(mapping.Context()), shown.Functions);
    DrawRelationsDirect(view, mapping, canvases, shown.Relations, params);
}

void ReplayRecord(ScaleT& view, const TSceneDrawing& drawing, const TTraceRecord& record,
                  const TTraceRecord* previous, ReplayRecords& shown)
{
    view.RecordedStates = previous ? previous->States : record.States;
    view.PointStates = record.States;
    shown.TakeFigures(record);
    DrawFigures(view, drawing.Mapping, drawing.Canvases, shown.Figures);
    DrawObjects(view, drawing);
    DrawLoci(view, drawing);
    if (!previous && ProgramState.StartupPending) {
        ProgramState.StartupPending = 0;
        return;
    }
    // A record that traces nothing draws nothing; the first always counts.
    if (previous && !record.Colors.AnyTraced())
        return;
    RebuildChangeSet(record, previous);
    shown.TakeTraceColors(record.Colors);
    shown.ShowOnlyChanged(RedrawState.ChangedNames);
    DrawChangedTraces(view, drawing, shown, TEvalEnv(record.Params));
}

} // namespace

void ReplayTraces(ScaleT& view, TCanvas& canvas)
{
    TBpnt& store = TraceStore;
    if (!store.HasRecords())
        return;
    const ReplayCaption caption;
    const ReplayGuard guard(view);
    ReplayRecords shown;
    const TSceneDrawing drawing{view.Mapping(ProgramState.Magnification), {nullptr, &canvas, true, false}};
    TTraceRecord records[2];
    int current = 0;
    const TTraceRecord* previous = nullptr;
    store.ResetCursor();
    do {
        TTraceRecord& record = records[current];
        store.ReadNext(record);
        ReplayRecord(view, drawing, record, previous, shown);
        previous = &record;
        current = 1 - current;
    } while (!store.AtEnd() && !platform::IsBreakKeyDown());
}
