// The mouse on the graph, from the event to the repainted picture: a live
// drag of a point that functions depend on (each move stores the point,
// keeps the undo bookkeeping, refreshes its row, redraws and paints), and
// the hover read-out that names the function or relation under the mouse.
#include "bench/BenchSupport.h"
#include "bench/windows/WindowBenchKit.h"

#include "engine/Compiler.h"
#include "engine/Evaluator.h"
#include "engine/NumberFields.h"
#include "model/History.h"
#include "model/Options.h"
#include "render/view/Scale.h"
#include "session/StoreOperations.h"
#include "session/UndoPoints.h"
#include "windows/GraphAreaForm.h"
#include "windows/GraphMouse.h"

#include <QApplication>
#include <QMouseEvent>
#include <QToolButton>

#include <cmath>
#include <vector>

namespace {

constexpr int MovesPerDrag = 200;

TWindowBench& Windows()
{
    return SharedWindowBench();
}

TGraphAreaForm& Graph()
{
    return *Windows().Forms().GraphAreaForm;
}

void Send(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QWidget* g = Graph().GImage;
    QMouseEvent e(type, QPointF(pos), QPointF(g->mapToGlobal(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(g, &e);
}

// An 800 × 600 graph on x −10..10, y −7.5..7.5 holding 20 functions, the
// first `usingP` of them moved by the draggable point P, and `relations`
// relations.
void BuildDocument(int usingP, int relations)
{
    Options.DrawOnDrag = 1;
    SetGraphTo800By600();
    TPointFunction p = DefaultPoint;
    p.Kind = ObjectPoint;
    p.Draggable = 1;
    p.Pos.Text = QStringLiteral("(0, 0)");
    JoinPointTexts(p, PointTextDirection::Split);
    for (TKavirofunction* f : {&p.Pos, &p.X, &p.Y})
        PrepareExpression(*f, 1);
    SetPnt(1, p);
    for (int i = 1; i <= FunctionCount; ++i) {
        TEquationFunction f = DefaultEquation;
        f.Func.Text = i <= usingP ? QStringLiteral("sin(x-P.x+%1)+P.y/%2").arg(i).arg(i)
                                  : QStringLiteral("sin(x*%1/7)+%2/5-2").arg(i).arg(i);
        PrepareExpression(f.Func, ModeFunction);
        SetYfx(i, f);
    }
    for (int j = 1; j <= RelationCount; ++j) {
        TEquationFunction r = DefaultEquation;
        r.Func.Text = j <= relations ? QStringLiteral("x^2+y^2-%1").arg(j * j) : QString();
        if (!r.Func.Text.isEmpty())
            PrepareExpression(r.Func, ModeRelation);
        SetCfn(j, r);
    }
    TWindowBench::ProcessEvents();
}

// The pixel of the k-th move: round a circle of 150 pixels about the centre.
QPoint MovePixel(int k)
{
    const double a = 2.0 * 3.141592653589793 * k / MovesPerDrag;
    return {400 + static_cast<int>(std::lround(150.0 * std::sin(a))),
            300 - static_cast<int>(std::lround(150.0 * (1.0 - std::cos(a))))};
}

QPoint PointP()
{
    return GraphScale.WorldToPoint({EvaluatePoint(1, 1).X, EvaluatePoint(1, 2).X});
}

// A drag of P once round the circle, back to where it started.
void DragOnce()
{
    const QPoint start = PointP();
    Send(QEvent::MouseMove, start, Qt::NoButton, Qt::NoButton);
    Send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    for (int k = 1; k <= MovesPerDrag; ++k) {
        Send(QEvent::MouseMove, MovePixel(k) + (start - QPoint(400, 300)), Qt::NoButton, Qt::LeftButton);
        TWindowBench::ProcessEvents();
    }
    Send(QEvent::MouseButtonRelease, MovePixel(MovesPerDrag) + (start - QPoint(400, 300)), Qt::LeftButton,
         Qt::NoButton);
    TWindowBench::ProcessEvents();
}

void BM_DragRedraw(benchmark::State& state)
{
    Windows();
    BuildDocument(static_cast<int>(state.range(0)), 0);
    SetAreaMode(0);
    // Checked first: P follows the mouse (a quarter of the way round is
    // 150 pixels right and up), a whole drag undoes in one step, and the
    // picture is 801 × 601.
    const QPoint start = PointP();
    DragOnce();
    const QPoint closed = PointP();
    Send(QEvent::MouseMove, start, Qt::NoButton, Qt::NoButton);
    Send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    for (int k = 1; k <= MovesPerDrag / 4; ++k)
        Send(QEvent::MouseMove, MovePixel(k) + (start - QPoint(400, 300)), Qt::NoButton, Qt::LeftButton);
    const QPoint moved = PointP();
    Send(QEvent::MouseButtonRelease, moved, Qt::LeftButton, Qt::NoButton);
    Undo();
    if (closed != start || moved != start + QPoint(150, -150) || PointP() != start ||
        GraphScale.GraphImages[0].Width() != 801 || GraphScale.GraphImages[0].Height() != 601) {
        FailBenchmark(state, "the drag did not move P under the mouse or undo in one step");
        return;
    }
    for (auto _ : state)
        DragOnce();
    state.SetItemsProcessed(state.iterations() * MovesPerDrag);
}
BENCHMARK(BM_DragRedraw)->Arg(4)->Arg(20)->Unit(benchmark::kMillisecond)->Iterations(5);

// The pixel of function 20's graph at x.
QPoint OnFunction20(long double x)
{
    return GraphScale.WorldToPoint({x, EvaluateExpression(DocumentTables.Functions[20].Func, ValueReal(x)).X});
}

// Hovering anywhere (mostly over nothing: every function and relation is
// tried), or along function 20's graph (the formula typeset at every move).
void BM_HoverReadOut(benchmark::State& state)
{
    Windows();
    BuildDocument(0, RelationCount);
    SetAreaMode(0);
    Graph().sbShowPosition->setChecked(true);
    Graph().sbShowEquation->setChecked(true);
    const bool onCurve = state.range(0) != 0;
    Send(QEvent::MouseMove, OnFunction20(1.0L), Qt::NoButton, Qt::NoButton);
    TWindowBench::ProcessEvents();
    if (!Graph().CoImage->isVisible()) {
        FailBenchmark(state, "no read-out over a function");
        return;
    }
    int k = 0;
    for (auto _ : state) {
        const QPoint pixel = onCurve ? OnFunction20(-9.0L + (k % 180) * 0.1L)
                                     : QPoint(37 + (k * 7) % 730, 23 + (k * 13) % 560);
        Send(QEvent::MouseMove, pixel, Qt::NoButton, Qt::NoButton);
        TWindowBench::ProcessEvents();
        ++k;
    }
}
BENCHMARK(BM_HoverReadOut)->ArgName("onCurve")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
