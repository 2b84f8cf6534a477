#include "render/scene/SceneToMetafile.h"

#include "model/Options.h"
#include "render/plot/Axes.h"
#include "render/plot/Functions.h"
#include "render/plot/Objects.h"
#include "render/scene/PlotterSteps.h"
#include "render/scene/RedrawParticipants.h"
#include "render/scene/TraceReplay.h"
#include "render/view/DrawContext.h"
#include "render/view/RedrawState.h"
#include "render/view/ViewServices.h"

namespace {

// Everything of the scene, in the order the window stacks it, at the
// mapping's magnification. The axes layer brings the rulers.
TAxesLayer DrawWholeScene(ScaleT& view, TCanvas& canvas, const TViewMapping& mapping)
{
    SetDirtyView();
    ReplayTraces(view, canvas);
    TAxesLayer axes = DrawAxes(canvas, view, mapping);
    const TSceneDrawing drawing{mapping, {&canvas, nullptr, false, false}};
    DrawFigures(view, drawing);
    DrawLoci(view, drawing);
    DrawPointSequences(view, drawing);
    DrawFunctions(view, mapping, drawing.Canvases);
    DrawObjects(view, drawing);
    DrawRelationsDirect(view, drawing);
    DrawPointRings(mapping, canvas, view.PointStates);
    canvas.Pen.Mode = TPenMode::Copy;
    ForEachRedrawParticipant([&](TRedrawParticipant& p) { p.ComposeScene(canvas); });
    ClearRedrawState();
    return axes;
}

// The axes layer keeps its grid pen width in the options; a picture at
// another magnification leaves the screen's in place.
class KeptMeshStyle {
public:
    KeptMeshStyle() = default;
    ~KeptMeshStyle() { Options.MeshStyle = saved_; }
    KeptMeshStyle(const KeptMeshStyle&) = delete;
    KeptMeshStyle& operator=(const KeptMeshStyle&) = delete;

private:
    std::uint8_t saved_ = Options.MeshStyle;
};

QSize PictureSize(const TMetafile& picture)
{
    return {picture.Width, picture.Height};
}

} // namespace

TRulerLayout LayOutRulers(QSize graph, QSize yRuler, QSize xRuler, bool yAtBorder, bool xAtBorder,
                          bool yRulerLeft, bool xRulerBelow, int gap)
{
    TRulerLayout layout;
    int graphLeft = 0;
    int graphTop = 0;
    layout.Width = graph.width();
    layout.Height = graph.height();
    int yRulerLeftEdge = 0;
    int xRulerTop = 0;
    if (yAtBorder) {
        if (yRulerLeft)
            graphLeft = gap + yRuler.width();
        else
            yRulerLeftEdge = gap + graph.width();
        layout.Width = gap + yRuler.width() + graph.width();
    }
    if (xAtBorder) {
        if (xRulerBelow)
            xRulerTop = gap + graph.height();
        else
            graphTop = gap + xRuler.height();
        layout.Height = gap + xRuler.height() + graph.height();
    }
    layout.Graph = {graphLeft, graphTop, graphLeft + graph.width(), graphTop + graph.height()};
    if (yAtBorder)
        layout.YRuler = {yRulerLeftEdge, graphTop, yRulerLeftEdge + yRuler.width(), graphTop + yRuler.height() + 1};
    if (xAtBorder)
        layout.XRuler = {graphLeft, xRulerTop, graphLeft + xRuler.width() + 1, xRulerTop + xRuler.height()};
    return layout;
}

TMetafile DrawToMetafile(ScaleT& view, int magnification)
{
    const TScopedMagnification scoped(magnification);
    const KeptMeshStyle meshStyle;
    const int m = scoped.Context().Magnification;
    const TViewMapping mapping = view.Mapping(m);

    TMetafile scene;
    scene.Width = (view.XAxis.VHigh + 1) * m;
    scene.Height = (view.YAxis.VHigh + 1) * m;
    TAxesLayer axes;
    {
        TCanvas canvas = MakeMetafileCanvas(scene);
        canvas.SetClipRect({0, 0, view.XAxis.VHigh * m, view.YAxis.VHigh * m});
        axes = DrawWholeScene(view, canvas, mapping);
    }

    // Where the rulers go is decided on the screen's pixels.
    const bool yAtBorder = view.IsYAxisAtBorder();
    const bool xAtBorder = view.IsXAxisAtBorder();
    if (!yAtBorder && !xAtBorder)
        return scene;
    const TViewMapping screen = view.Mapping();
    const bool yRulerLeft = screen.X.ValueToPixel(0.0L).Pixel <= view.XAxis.VHigh;
    const bool xRulerBelow = screen.Y.ValueToPixel(0.0L).Pixel >= 0;
    const TRulerLayout layout =
        LayOutRulers(PictureSize(scene), PictureSize(axes.YRulerMetafile), PictureSize(axes.XRulerMetafile),
                     yAtBorder, xAtBorder, yRulerLeft, xRulerBelow, scoped.Context().Magnify(5));

    TMetafile output;
    output.Width = layout.Width;
    output.Height = layout.Height;
    {
        TCanvas canvas = MakeMetafileCanvas(output);
        if (yAtBorder)
            canvas.StretchDraw(layout.YRuler, axes.YRulerMetafile);
        if (xAtBorder)
            canvas.StretchDraw(layout.XRuler, axes.XRulerMetafile);
        canvas.Draw(layout.Graph.Left, layout.Graph.Top, scene);
    }
    return output;
}
