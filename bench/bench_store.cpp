// The store operations with the redraw on an 800 × 600 graph: stepping a
// parameter that 20 functions read (store, redraw, the row's value text),
// storing one function end to end (undo point, row pictures typeset, redraw)
// and the object rows of 21 objects with their pictures typeset.
#include "BenchSupport.h"
#include "BenchView.h"
#include "engine/Evaluator.h"
#include "engine/TokenTable.h"
#include "model/DocumentState.h"
#include "render/scene/Redraw.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"
#include "session/ParameterSteps.h"
#include "session/RowHost.h"
#include "session/SessionResets.h"
#include "session/StoreOperations.h"

#include <benchmark/benchmark.h>

#include <QString>

namespace {

constexpr int Width = 800;
constexpr int Height = 600;

// Five of each, transcendental ones among them: %1 is 1..5.
const char* const FormulaShapes[4] = {"a·sin(x+%1)", "a·x^2/%1-1", "exp(-x^2/%1)·a", "ln(abs(a·x)+%1)"};

QString FormulaOf(int i)
{
    return QString::fromUtf8(FormulaShapes[(i - 1) % 4]).arg((i - 1) / 4 + 1);
}

// Row widgets as the data panel has them: every shown row's picture is
// typeset when its list or the row is shown again.
class TypesettingRowHost final : public TRowHost {
public:
    int Pictures = 0;
    void ShowRows(TRowKind kind) override
    {
        if (kind == TRowKind::Functions)
            for (const TRowModel& row : RowModels.Functions.Rows)
                Draw(row);
        if (kind == TRowKind::Objects)
            for (const TRowModel& row : RowModels.Objects.Rows)
                Draw(row);
    }
    void ShowRow(TRowKind, int) override {}
    void ShowFigureRows() override {}
    void ShowParamRows() override {}
    void ShowParamValue(int) override {}
    void ShowScriptButtons() override {}

private:
    void Draw(const TRowModel& row)
    {
        if (!row.Shown)
            return;
        DrawRowPicture(row, image_);
        ++Pictures;
    }
    TBitmap image_{400, 38};
};

TEquationFunction FunctionOf(const QString& text)
{
    TEquationFunction f = DefaultEquation;
    f.Func = CompiledFormula(text, -1);
    return f;
}

// A new document of 20 functions reading a, stored through SetYfx, on the
// scene pipeline at 800 × 600.
class StoreBench {
public:
    StoreBench()
    {
        StartEngineOnce();
        RegisterSessionResets();
        ResetAllGlobals();
        SetBenchView(Width, Height, 5.0L, 3.75L);
        for (int i = 1; i <= FunctionCount; ++i)
            SetYfx(i, FunctionOf(FormulaOf(i)));
    }

    TypesettingRowHost Rows;

private:
    TSceneRedrawer redrawer_;
    ScopedRedrawer useRedrawer_{redrawer_};
    ScopedRowHost useRows_{Rows};
};

// Function 1's cache against the scalar evaluator, and the row's text.
bool StepAgrees(std::string& why)
{
    const ViewColumns& columns = GraphScale.Columns;
    const TColumnArray* cache = columns.ValidCache(1);
    if (!cache) {
        why = "cache of y1 not current";
        return false;
    }
    for (int c : {1, 333, 799}) {
        const TValue v = EvaluateExpression(DocumentTables.Functions[1].Func, columns.ColumnX().At(c));
        if (v.Defined != cache->Defined(c) || (v.Defined && !AgreesWithReference(cache->X(c), v.X))) {
            why = "y1 differs at column " + std::to_string(c);
            return false;
        }
    }
    if (RowModels.Params[1].EditText != ParamValueText(DocumentTables.Params[1].Value)) {
        why = "the row does not show a's value";
        return false;
    }
    return true;
}

void BM_StoreStepParameterA20Functions(benchmark::State& state)
{
    StoreBench bench;
    StepParameter(1, StepUp);
    std::string why;
    if (DocumentTables.Params[1].Value != 1.1L || !StepAgrees(why)) {
        FailBenchmark(state, why.empty() ? "a did not step to 1.1" : why);
        return;
    }
    int direction = StepUp;
    for (auto _ : state) {
        // Up and down so that the values stay in range.
        direction = -direction;
        StepParameter(1, direction);
    }
    state.counters["steps/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StoreStepParameterA20Functions)->Unit(benchmark::kMillisecond);

void BM_StoreSetYfxEndToEnd(benchmark::State& state)
{
    StoreBench bench;
    const TEquationFunction texts[2] = {FunctionOf(QStringLiteral("a·sin(x)+1")), FunctionOf(QStringLiteral("a·sin(x)"))};
    SetYfx(1, texts[0]);
    std::string why;
    if (DocumentTables.Functions[1].Func.Text != texts[0].Func.Text || !StepAgrees(why)) {
        FailBenchmark(state, why.empty() ? "y1 was not stored" : why);
        return;
    }
    int k = 0;
    for (auto _ : state)
        SetYfx(1, texts[++k % 2]);
    state.counters["pictures"] = static_cast<double>(bench.Rows.Pictures) / static_cast<double>(state.iterations() + 1);
}
BENCHMARK(BM_StoreSetYfxEndToEnd)->Unit(benchmark::kMillisecond);

void BM_StoreRefreshPntRows21(benchmark::State& state)
{
    StoreBench bench;
    for (int k = 1; k <= 21; ++k) {
        TPointFunction& p = DocumentTables.Points[k];
        p = DefaultPoint;
        p.Kind = k % 2 ? ObjectPoint : ObjectCircle;
        p.Pos = CompiledFormula(QStringLiteral("(a·%1, sin(%1))").arg(k), k);
        p.R = CompiledFormula(QStringLiteral("sqrt(%1)/2").arg(k), k);
    }
    RefreshPntRows();
    if (RowModels.Objects.ShownCount != 21 || RowModels.Objects.Rows[22].InUse) {
        FailBenchmark(state, "not 21 object rows");
        return;
    }
    for (auto _ : state)
        RefreshPntRows();
}
BENCHMARK(BM_StoreRefreshPntRows21)->Unit(benchmark::kMillisecond);

} // namespace
