#include "render/scene/ColumnCaches.h"

#include "engine/Evaluator.h"
#include "engine/ParallelWork.h"
#include "engine/References.h"
#include "engine/TokenTable.h"
#include "model/DocumentState.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"

#include <cmath>
#include <vector>

namespace {

// Halvings of the interval between two columns: far below the resolution
// of any view.
constexpr int EdgeBisections = 50;

bool IsDomainEdge(const TColumnArray& cache, int c, int lastColumn)
{
    const std::uint8_t* defined = cache.DefinedLane();
    // The domain begins between c and c + 1 ...
    if (c >= 1 && !defined[c - 1] && !defined[c] && defined[c + 1])
        return true;
    // ... or ends there.
    return defined[c] && c + 1 < lastColumn && !defined[c + 1] && !defined[c + 2];
}

void RefineEdge(const TKavirofunction& formula, TColumnArray& cache, const TColumnArray& columnX, int c,
                const TEvalEnv& env)
{
    const long double xc = columnX.X(c);
    const long double xn = columnX.X(c + 1);
    const bool beginsHere = !cache.Defined(c);
    long double inside = beginsHere ? xn : xc;
    long double outside = beginsHere ? xc : xn;
    for (int i = 0; i < EdgeBisections; ++i) {
        const long double middle = (inside + outside) / 2.0L;
        if (EvaluateExpression(formula, ValueReal(middle), env).Defined)
            inside = middle;
        else
            outside = middle;
    }
    const long double edge = inside;
    const int nearer = std::fabs(edge - xn) < std::fabs(edge - xc) ? c + 1 : c;
    if (columnX.X(nearer) != edge)
        cache.Set(nearer, EvaluateExpression(formula, ValueReal(edge), env));
}

bool IsShownWithCode(const TEquationFunction& f)
{
    return !f.Func.Code.isEmpty() && f.Color != 0 && f.Visible != 0;
}

} // namespace

TArrayView ViewArrays(ScaleT& view)
{
    TArrayView arrays;
    arrays.XAxis = TColumnAxis{view.XAxis.Vlow, view.XAxis.VHigh, view.XAxis.Low, view.XAxis.High};
    arrays.YUnitsPerPixel = view.YAxis.UnitsPerPixel;
    arrays.Graphs = &view.Columns;
    arrays.PointStates = &view.PointStates;
    return arrays;
}

int UpdateColumnCaches(ScaleT& view, const TFunctionRecords& functions, const TEvalEnv& env)
{
    ViewColumns& columns = view.Columns;
    // All changed caches stop being current first, so that a graph name
    // evaluated on the way recomputes the graph it reads.
    for (int i = 1; i <= FunctionCount; ++i) {
        if (functions[i].Func.Code.isEmpty())
            columns.SetUndefinedCache(i);
        else if (RedrawState.ChangedNames.has(Vocabulary.FunctionTokens[i]))
            columns.InvalidateCache(i);
    }
    const TArrayView arrays = ViewArrays(view);
    std::vector<int> stale;
    for (int i = 1; i <= FunctionCount; ++i)
        if (!columns.ValidCache(i))
            stale.push_back(i);
    const auto evaluate = [&](int i) {
        columns.RefreshCache(i, [&](TColumnArray& out) {
            EvaluateArrays(functions[i].Func, columns.ColumnX(), arrays, 0, nullptr, false, out, env);
        });
    };
    // A graph name met on the way computes its graph's cache over the
    // view's columns with the document's formula and nothing bound: what
    // this computes for the document's own functions with nothing bound.
    // So the functions that read no graph can go first, on all cores, and
    // the others follow in order, finding the graphs they read current.
    const bool ownFunctions = &functions == &DocumentTables.Functions && !env.HasBindings();
    const auto alone = [&](int i) {
        const QStringView code(functions[i].Func.Code);
        return ownFunctions && !ReadsGraphColumns(code) && !ReadsChanceOrKeys(code);
    };
    std::vector<int> together, inOrder;
    for (int i : stale)
        (alone(i) ? together : inOrder).push_back(i);
    RunInParallel(static_cast<int>(together.size()), [&](int k, int) { evaluate(together[static_cast<size_t>(k)]); });
    for (int i : inOrder)
        if (!columns.ValidCache(i))
            evaluate(i);
    // Each edge is refined in its own cache from scalar values, which read
    // no cache.
    std::vector<int> shown, shownInOrder;
    for (int i = 1; i <= FunctionCount; ++i)
        if (IsShownWithCode(functions[i]))
            (ReadsChanceOrKeys(functions[i].Func.Code) ? shownInOrder : shown).push_back(i);
    const auto refine = [&](int i) {
        columns.AdjustCache(i, [&](TColumnArray& cache) {
            RefineDomainEdges(functions[i].Func, cache, columns.ColumnX(), view.XAxis.VHigh, env);
        });
    };
    RunInParallel(static_cast<int>(shown.size()), [&](int k, int) { refine(shown[static_cast<size_t>(k)]); });
    for (int i : shownInOrder)
        refine(i);
    return static_cast<int>(stale.size());
}

void RefineDomainEdges(const TKavirofunction& formula, TColumnArray& cache, const TColumnArray& columnX,
                       int lastColumn, const TEvalEnv& env)
{
    for (int c = 0; c < lastColumn; ++c)
        if (IsDomainEdge(cache, c, lastColumn))
            RefineEdge(formula, cache, columnX, c, env);
}
