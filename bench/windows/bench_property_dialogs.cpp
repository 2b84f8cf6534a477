// The property dialogs: opening one on an existing record (created, loaded,
// its formulas typeset, shown and painted), and OK on a point through the
// store to the redrawn graph.
#include "bench/BenchSupport.h"
#include "bench/windows/WindowBenchKit.h"
#include "dialogs/CfxProperty.h"
#include "dialogs/PntProperty.h"
#include "engine/Compiler.h"
#include "engine/NumberFields.h"
#include "model/DocumentState.h"
#include "session/Commands.h"
#include "session/StoreOperations.h"

#include <QPushButton>

#include <string>

namespace {

constexpr int CurveSlot = 3;

void StoreObject(int n, std::uint8_t kind, const QString& x, const QString& y, const QString& r)
{
    TPointFunction p = DocumentTables.Points[n];
    p.Kind = kind;
    p.X.Text = x;
    p.Y.Text = y;
    p.R.Text = r;
    p.Low.Text = QStringLiteral("0");
    p.High.Text = QStringLiteral("2Pi");
    JoinPointTexts(p, PointTextDirection::Join);
    for (TKavirofunction* f : {&p.X, &p.Y, &p.R, &p.Pos})
        PrepareExpression(*f, n);
    PrepareExpression(p.Low, ModePlain);
    PrepareExpression(p.High, ModePlain);
    SetPnt(n, p);
}

// The shared windows on a new document holding one function, one relation,
// a point, a circle and a curve (whatever earlier benchmarks left is
// cleared first).
void PrepareDialogDocument()
{
    SharedWindowBench();
    InitAllData();
    TEquationFunction f = DefaultEquation;
    f.Func.Text = QStringLiteral("sin(x)/x+x^2/10");
    PrepareExpression(f.Func, ModeFunction);
    SetYfx(1, f);
    f.Func.Text = QStringLiteral("x^2/4+y^2<1");
    PrepareExpression(f.Func, ModeRelation);
    SetCfn(1, f);
    StoreObject(1, ObjectPoint, QStringLiteral("1"), QStringLiteral("2"), {});
    StoreObject(2, ObjectCircle, QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("Sqrt(2)"));
    StoreObject(CurveSlot, ObjectParametric, QStringLiteral("cos(t)"), QStringLiteral("sin(2t)"), {});
    TWindowBench::ProcessEvents();
}

template <class Dialog>
Dialog* OpenDialog(const char* name)
{
    TWindowBench::ProcessEvents();
    return dynamic_cast<Dialog*>(FindOpenDialog(QString::fromUtf8(name)));
}

void CloseDialog(QWidget* dialog)
{
    if (dialog)
        dialog->close();
    TWindowBench::ProcessEvents();
}

// Opens, checks what was loaded, and times the opening.
template <class Dialog, class Show, class Loaded>
void MeasureOpening(benchmark::State& state, const char* name, Show show, Loaded loaded)
{
    PrepareDialogDocument();
    show();
    Dialog* dialog = OpenDialog<Dialog>(name);
    const bool right = dialog && loaded(*dialog);
    CloseDialog(dialog);
    if (!right) {
        FailBenchmark(state, std::string(name) + " did not open on its record");
        return;
    }
    for (auto _ : state) {
        show();
        dialog = OpenDialog<Dialog>(name);
        state.PauseTiming();
        CloseDialog(dialog);
        state.ResumeTiming();
    }
}

void BM_OpenFunctionDialog(benchmark::State& state)
{
    MeasureOpening<TCfxProperty>(state, "CfxProperty", [] { ShowYfxProperty(1); }, [](TCfxProperty& d) {
        return d.Copy().Func.Text == DocumentTables.Functions[1].Func.Text && !d.ImgFunction->Image().isNull();
    });
}
BENCHMARK(BM_OpenFunctionDialog)->Unit(benchmark::kMillisecond);

void BM_OpenRelationDialog(benchmark::State& state)
{
    MeasureOpening<TCfxProperty>(state, "CfxProperty", [] { ShowCfnProperty(1); }, [](TCfxProperty& d) {
        return d.Copy().Func.Text == DocumentTables.Relations[1].Func.Text && d.Panel2->isVisible();
    });
}
BENCHMARK(BM_OpenRelationDialog)->Unit(benchmark::kMillisecond);

// Argument: the object's slot (1 point, 2 circle, 3 curve).
void BM_OpenObjectDialog(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    MeasureOpening<TPntProperty>(state, "PntProperty", [n] { ShowPntProperty(n, 3); }, [n](TPntProperty& d) {
        return d.Copy().Kind == DocumentTables.Points[n].Kind && d.Copy().X.Text == DocumentTables.Points[n].X.Text;
    });
}
BENCHMARK(BM_OpenObjectDialog)->Arg(1)->Arg(2)->Arg(CurveSlot)->Unit(benchmark::kMillisecond);

void BM_OkOnPoint(benchmark::State& state)
{
    PrepareDialogDocument();
    const TPointFunction before = DocumentTables.Points[1];
    ShowPntProperty(1, 3);
    auto* dialog = OpenDialog<TPntProperty>("PntProperty");
    if (!dialog) {
        FailBenchmark(state, "the object dialog did not open");
        return;
    }
    dialog->BtnOK->click();
    TWindowBench::ProcessEvents();
    if (OpenDialog<TPntProperty>("PntProperty") || DocumentTables.Points[1].Pos.Text != before.Pos.Text) {
        FailBenchmark(state, "OK did not store the point");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        ShowPntProperty(1, 3);
        dialog = OpenDialog<TPntProperty>("PntProperty");
        state.ResumeTiming();
        dialog->BtnOK->click();
        TWindowBench::ProcessEvents();
    }
}
BENCHMARK(BM_OkOnPoint)->Unit(benchmark::kMillisecond);

} // namespace
