#include "render/scene/Redraw.h"

#include "engine/References.h"
#include "engine/TokenCode.h"
#include "engine/TokenTable.h"
#include "model/Colors.h"
#include "model/DocumentState.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "render/gfx/ImageHelpers.h"
#include "render/plot/Axes.h"
#include "render/plot/Functions.h"
#include "render/plot/Relations.h"
#include "render/scene/ColumnCaches.h"
#include "render/scene/PlotterSteps.h"
#include "render/scene/PointStates.h"
#include "render/scene/RedrawParticipants.h"
#include "render/scene/RedrawClosure.h"
#include "render/scene/TraceRecording.h"
#include "render/scene/TraceReplay.h"
#include "render/view/RedrawState.h"

#include <cstring>
#include <utility>

TSceneState SceneState;
TRedrawCounters RedrawCounters;

namespace {

// A picture of the view's size: it replays one to one over the layer images,
// which are one pixel larger than the axes' lengths.
TMetafile ViewPicture(const ScaleT& view)
{
    TMetafile picture;
    picture.Width = view.XAxis.VHigh;
    picture.Height = view.YAxis.VHigh;
    return picture;
}

TRect LayerBox(const ScaleT& view)
{
    return {0, 0, view.XAxis.VHigh + 1, view.YAxis.VHigh + 1};
}

TCanvas ClippedCanvas(const ScaleT& view, TMetafile& picture)
{
    TCanvas canvas = MakeMetafileCanvas(picture);
    canvas.SetClipRect({0, 0, view.XAxis.VHigh, view.YAxis.VHigh});
    return canvas;
}

// The busy cursor for the length of a redraw, also when it ends early.
class BusyCursor {
public:
    explicit BusyCursor(TRedrawWindow& window)
        : window_(window)
    {
        window_.BeginBusyCursor();
    }
    ~BusyCursor() { window_.EndBusyCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    TRedrawWindow& window_;
};

// Each participant sees the change set as it stands at its turn; what it
// changes joins the live set. Nothing runs inside a script's own redraw or
// while the windows are rebuilt after a load.
void RunBeforeRedraw()
{
    if (ProgramState.ScriptDrawState != 0 || ProgramState.InRefreshAll)
        return;
    ForEachRedrawParticipant([](TRedrawParticipant& p) {
        const TWideCharSet changed = RedrawState.ChangedNames;
        p.BeforeRedraw(changed);
    });
}

bool SameFormula(const TKavirofunction& a, const TKavirofunction& b)
{
    return a.Text == b.Text && a.NormText == b.NormText && a.Code == b.Code;
}

bool SameRelationRecord(const TEquationFunction& a, const TEquationFunction& b)
{
    return SameFormula(a.Func, b.Func) && a.AfterImage == b.AfterImage && a.Color == b.Color && a.Width == b.Width &&
           a.AutoCalc == b.AutoCalc && a.Visible == b.Visible && a.Pattern == b.Pattern && a.Border == b.Border &&
           a.LineStyle == b.LineStyle;
}

std::array<qint64, 1 + RelationCount> RelationImageKeys(const TGraphImages& images)
{
    std::array<qint64, 1 + RelationCount> keys{};
    for (size_t i = 0; i < keys.size(); ++i)
        keys[i] = images[2 + i].Image().cacheKey();
    return keys;
}

// Everything around the relations that their pixels depend on: the options,
// the pens' font size, the view, and the relation pictures as they were left.
TSceneState::TRelationLayers RelationSurroundings(const ScaleT& view, const TGraphImages& images)
{
    TSceneState::TRelationLayers now;
    now.Options = Options;
    now.FontSize = ProgramState.FontSize;
    const TViewMapping mapping = view.Mapping(1);
    now.X = mapping.X;
    now.Y = mapping.Y;
    now.XLow = view.XAxis.Low;
    now.XHigh = view.XAxis.High;
    now.YLow = view.YAxis.Low;
    now.YHigh = view.YAxis.High;
    now.ImageKeys = RelationImageKeys(images);
    return now;
}

bool SameSurroundings(const TSceneState::TRelationLayers& a, const TSceneState::TRelationLayers& b)
{
    return a.Options == b.Options && a.FontSize == b.FontSize && a.X == b.X && a.Y == b.Y && a.XLow == b.XLow &&
           a.XHigh == b.XHigh && a.YLow == b.YLow && a.YHigh == b.YHigh && a.ImageKeys == b.ImageKeys;
}

// Built-ins whose value comes from outside the formulas and the names
// (chance, the table, the mouse and keys, the integral tool, scripts): a
// relation reading one is plotted at every redraw.
bool ReadsOutsideState(const TKavirofunction& f)
{
    const TNamedTokens& t = TokenCodes;
    for (const TTokenCode c : {t.Rnd, t.Roll, t.Pressed, t.MouseIs, t.Cells, t.CellsP, t.Area, t.Stepsize, t.Send,
                               t.Sol, t.Path, t.Polygon})
        if (RefersToToken(c, f))
            return true;
    return false;
}

// A name the relation reads was marked changed; the closure marks these
// too, but only when the objects are dirty.
bool ReadsChangedName(const TKavirofunction& f)
{
    const TWideCharSet& changed = RedrawState.ChangedNames;
    for (int c = 1; c <= VocabularySize; ++c)
        if (changed.has(static_cast<char16_t>(c)) && RefersToToken(static_cast<TTokenCode>(c), f))
            return true;
    return false;
}

// Whether relation j's layer no longer shows what plotting it now would.
bool RelationLayerStale(int j, bool surroundingsChanged, bool traceAll)
{
    const TRedrawState& state = RedrawState;
    if (IsDirtyView() || surroundingsChanged || state.RelationChanged[j] ||
        state.ChangedNames.has(Vocabulary.RelationTokens[j]))
        return true;
    // Nothing of an unseen relation is on its layer: only its record counts.
    if (!IsRelationDrawable(j))
        return !SameRelationRecord(DocumentTables.Relations[j], SceneState.RelationLayers.Records[j]);
    const TEquationFunction& record = DocumentTables.Relations[j];
    // A traced relation stamps the scene's after-image each time.
    return !state.RelationDrawnOnce[j] || traceAll || record.AfterImage != 0 ||
           !SameRelationRecord(record, SceneState.RelationLayers.Records[j]) || ReadsChangedName(record.Func) ||
           ReadsOutsideState(record.Func);
}

// Which relations are plotted again, and the relation layer rebuilt when
// any is or the view changed. A plotted relation keeps its layer until
// something it reads changes.
void UpdateRelationLayer(ScaleT& view, TGraphImages& images, const TSceneDrawing& drawing)
{
    TRedrawState& state = RedrawState;
    TSceneState::TRelationLayers now = RelationSurroundings(view, images);
    const bool surroundingsChanged = !SameSurroundings(now, SceneState.RelationLayers);
    bool any = false;
    for (int j = 1; j <= RelationCount; ++j) {
        if (RelationLayerStale(j, surroundingsChanged, drawing.Canvases.TraceAll)) {
            state.RelationChanged[j] = 1;
            state.RelationDrawnOnce[j] = 0;
            any = true;
        }
    }
    if (!(IsDirtyView() || any || IsDirtyFlag3()))
        return;
    FillImage(images[2], Options.GraphBGColor);
    DrawRelations(view, images, drawing);
    // Only a plot into the layers counts as drawn.
    if (drawing.Canvases.OnlyTrace)
        return;
    now.ImageKeys = RelationImageKeys(images);
    for (int j = 1; j <= RelationCount; ++j) {
        now.Records[j] = DocumentTables.Relations[j];
        if (state.RelationChanged[j] && IsRelationDrawable(j)) {
            state.RelationDrawnOnce[j] = 1;
            ++RedrawCounters.RelationsPlotted;
        }
    }
    SceneState.RelationLayers = std::move(now);
}

// Kept pixels onto the graph. Copied into the graph's own pixels when it
// has some of that size to itself: shared, they would be copied into newly
// mapped memory at the first stroke, which costs several times more.
void TakeKeptPixels(TBitmap& graph, const QImage& pixels)
{
    QImage& image = graph.Image();
    if (image.isDetached() && image.size() == pixels.size() && image.format() == pixels.format() &&
        image.bytesPerLine() == pixels.bytesPerLine() && !image.isNull()) {
        std::memcpy(image.bits(), pixels.constBits(), static_cast<size_t>(pixels.sizeInBytes()));
        return;
    }
    graph.Assign(pixels);
}

// The graph filled with the background colour and the axes drawn over it;
// the pixels of the last time when they would come out the same.
void DrawAxesOverBackground(const ScaleT& view, TBitmap& graph, TMetafile&& axes)
{
    TSceneState::TAxesLayer& kept = SceneState.AxesLayer;
    const TColor color = Options.GraphBGColor;
    // A clip would leave pixels of the last redraw outside it.
    const bool whole = !graph.Canvas().ClipRect();
    if (whole && kept.Color == color && !kept.Pixels.isNull() && kept.Pixels.size() == graph.Image().size() &&
        kept.Axes == axes) {
        SetFillTools(graph.Canvas(), color);
        TakeKeptPixels(graph, kept.Pixels);
        return;
    }
    FillImage(graph, color);
    graph.Canvas().StretchDraw(LayerBox(view), axes);
    kept = whole ? TSceneState::TAxesLayer{std::move(axes), color, graph.Image()} : TSceneState::TAxesLayer{};
}

} // namespace

void Redraw(ScaleT& view, TGraphImages& images)
{
    TRedrawWindow& window = CurrentRedrawWindow();
    const BusyCursor busy(window);
    ++RedrawCounters.Redraws;
    DrawBackgroundLayer(view, images);
    DrawGraphLayer(view, images);
    DrawOverlay(view, images[0].Canvas(), true);
    if (IsDirtyObjects()) {
        const bool force = ProgramState.InRefreshAll;
        ForEachRedrawParticipant([&](TRedrawParticipant& p) { p.AfterObjects(images, force); });
    }
    ClearRedrawState();
    DrawBackgroundPicture(view, images);
    ForEachRedrawParticipant([&](TRedrawParticipant& p) { p.OverBackground(images[0].Canvas()); });
    window.RepaintGraph();
    ForEachRedrawParticipant([](TRedrawParticipant& p) { p.AfterRepaint(); });
}

void DrawBackgroundLayer(ScaleT& view, TGraphImages& images)
{
    TBitmap& graph = images[0];
    TBitmap& traces = images[1];
    if (Options.CanAImg && IsDirtyObjects()) {
        RecordTrace(view);
        StampLastSceneOnTraces(view, images);
    }
    if (IsDirtyView() || IsDirtyFlag3() || IsDirtyTraces()) {
        FillImage(traces, Options.GraphBGColor);
        TMetafile replay = ViewPicture(view);
        TCanvas canvas = ClippedCanvas(view, replay);
        ReplayTraces(view, canvas);
        traces.Canvas().StretchDraw(LayerBox(view), replay);
    }
    TMetafile axes = ViewPicture(view);
    TCanvas canvas = MakeMetafileCanvas(axes);
    DrawAxes(canvas, view, view.Mapping());
    if (TraceStore.IsEmpty()) {
        DrawAxesOverBackground(view, graph, std::move(axes));
        return;
    }
    graph.Assign(traces.Image());
    graph.Canvas().StretchDraw(LayerBox(view), axes);
}

void DrawGraphLayer(ScaleT& view, TGraphImages& images)
{
    if (IsDirtyView())
        ForEachRedrawParticipant([](TRedrawParticipant& p) { p.ViewChanged(); });
    TCanvas& graph = images[0].Canvas();
    graph.CopyMode = TCopyMode::SrcAnd;
    DrawScene(view, images, 0);
    if (AnyRelationShown()) {
        graph.CopyMode = TCopyMode::SrcAnd;
        graph.Draw(0, 0, images[2].Image());
        graph.CopyMode = TCopyMode::SrcCopy;
    }
    DrawObjectOverlayMarks(view, graph);
}

void DrawScene(ScaleT& view, TGraphImages& images, int mode)
{
    ForEachRedrawParticipant([](TRedrawParticipant& p) { p.ApplyPendingEdits(); });
    view.ViewParams = DocumentTables.Params;
    // A script may redraw the whole view from here: nothing of this scene
    // exists yet that the inner redraw could replace.
    RunBeforeRedraw();

    TMetafile scenePicture = ViewPicture(view);
    TMetafile graphPicture = ViewPicture(view);
    {
        TCanvas sceneCanvas = ClippedCanvas(view, scenePicture);
        TCanvas graphCanvas = ClippedCanvas(view, graphPicture);
        RedrawState.RelationChanged.fill(0);
        const bool statesRebuilt = IsDirtyObjects();
        if (statesRebuilt) {
            BuildRedrawClosure();
            BuildPointStates(view.PointStates);
        }
        ForEachRedrawParticipant([&](TRedrawParticipant& p) { p.ObjectsEvaluated(view, statesRebuilt); });
        const TSceneDrawing drawing{view.Mapping(), {&graphCanvas, &sceneCanvas, false, mode != 0}};
        DrawFigures(view, drawing);
        DrawLoci(view, drawing);
        if (IsDirtyObjects()) {
            RedrawCounters.CachesEvaluated += UpdateColumnCaches(view);
            UpdateLoci(view);
        }
        DrawPointSequences(view, drawing);
        SceneState.Curves.Draw(view, drawing.Mapping, drawing.Canvases, graphPicture, scenePicture);
        DrawObjects(view, drawing);
        SceneState.GraphReplay.Play(graphPicture, images[0], LayerBox(view));
        // Relations leave their traces on the scene canvas too.
        UpdateRelationLayer(view, images, drawing);
    }
    SceneState.SceneMetafile = std::move(scenePicture);
    SceneState.GraphMetafile = std::move(graphPicture);
    ForEachRedrawParticipant([](TRedrawParticipant& p) { p.SceneDrawn(); });
}

void DrawBackgroundPicture(ScaleT& view, TGraphImages& images)
{
    if (!Options.BGshown)
        return;
    TBitmap& graph = images[0];
    TCanvas& canvas = graph.Canvas();
    const QImage* picture = CurrentRedrawWindow().BackgroundPicture();
    // A picture without pixels has no aspect to keep.
    if (picture && picture->width() > 0 && picture->height() > 0) {
        const QImage graphCopy = graph.Image().copy();
        const long long w = picture->width();
        const long long h = picture->height();
        const int cx = (view.XAxis.VHigh + 2) / 2;
        const int cy = (view.YAxis.VHigh + 2) / 2;
        canvas.CopyMode = TCopyMode::SrcCopy;
        if (Options.BGstretchOn) {
            long long halfWidth = cx;
            long long halfHeight = cy;
            if (Options.BGMode == 1)
                halfHeight = h * cx / w;
            else if (Options.BGMode == 2)
                halfWidth = w * cy / h;
            canvas.StretchDraw({static_cast<int>(cx - halfWidth), static_cast<int>(cy - halfHeight),
                                static_cast<int>(cx + halfWidth), static_cast<int>(cy + halfHeight)},
                               *picture);
        } else {
            canvas.Draw(cx - static_cast<int>(w / 2), cy - static_cast<int>(h / 2), *picture);
        }
        canvas.DrawTransparent(0, 0, graphCopy);
        canvas.CopyMode = TCopyMode::SrcAnd;
    }
}

void DrawChangedObjects(ScaleT& view, TGraphImages& images)
{
    TMetafile picture = ViewPicture(view);
    {
        TCanvas canvas = ClippedCanvas(view, picture);
        PushAllTraced(view);
        const TSceneDrawing drawing{view.Mapping(), {&canvas, nullptr, false, false}};
        DrawFunctions(view, drawing.Mapping, drawing.Canvases);
        DrawObjects(view, drawing);
        DrawPointSequences(view, drawing);
        DrawFigures(view, drawing);
    }
    images[0].Canvas().StretchDraw(LayerBox(view), picture);
    if (!AnyRelationShown())
        StampAfterImages(view, images, picture);
}

void StampAfterImages(ScaleT& view, TGraphImages& images, const TMetafile& picture)
{
    TCanvas& canvas = images[1].Canvas();
    canvas.StretchDraw(LayerBox(view), picture);
    const TCanvas::TTools tools = canvas.SaveTools();
    const TColorScheme& scheme = ColorScheme;
    const size_t entry = Options.AfterImageColorNo < scheme.SchemeColors.size() ? Options.AfterImageColorNo : 0;
    canvas.Pen = TPen{.Style = TPenStyle::Clear, .Mode = TPenMode::Merge};
    canvas.Brush.Style = TBrushStyle::Solid;
    canvas.Brush.Color = scheme.SchemeColors[entry];
    const TRect box = LayerBox(view);
    canvas.Rectangle(box.Left, box.Top, box.Right, box.Bottom);
    canvas.RestoreTools(tools);
}

void StampLastSceneOnTraces(ScaleT& view, TGraphImages& images)
{
    images[1].Canvas().StretchDraw(LayerBox(view), SceneState.SceneMetafile);
}

void ClearTracesAndRedraw(ScaleT& view, TGraphImages& images)
{
    TraceStore.Clear();
    SetDirtyView();
    for (TPointState& s : view.RecordedStates)
        s.Kind = 0;
    Redraw(view, images);
}

void TSceneRedrawer::Redraw(ScaleT& view, TGraphImages& images)
{
    ::Redraw(view, images);
}

void TSceneRedrawer::PushViewHistory(const ScaleT&)
{
    CurrentRedrawWindow().RecordView();
}

namespace {

TSceneRedrawer& SceneRedrawer()
{
    static TSceneRedrawer redrawer;
    return redrawer;
}

} // namespace

void UninstallSceneRedrawer()
{
    // A fake a test installed stays.
    if (platform::ServiceSlot<TRedrawer>::installed() == &SceneRedrawer())
        platform::ServiceSlot<TRedrawer>::install(nullptr);
}

void InstallSceneRedrawer()
{
    platform::ServiceSlot<TRedrawer>::install(&SceneRedrawer());
}
