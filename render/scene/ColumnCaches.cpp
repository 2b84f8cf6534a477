#include "render/scene/ColumnCaches.h"

#include "engine/Evaluator.h"
#include "engine/TokenTable.h"
#include "model/DocumentState.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"

#include <cmath>

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
    int evaluated = 0;
    for (int i = 1; i <= FunctionCount; ++i) {
        if (columns.ValidCache(i))
            continue;
        ++evaluated;
        const TKavirofunction& f = functions[i].Func;
        columns.RefreshCache(i, [&](TColumnArray& out) {
            EvaluateArrays(f, columns.ColumnX(), arrays, 0, nullptr, false, out, env);
        });
    }
    for (int i = 1; i <= FunctionCount; ++i) {
        const TEquationFunction& f = functions[i];
        if (!IsShownWithCode(f))
            continue;
        columns.AdjustCache(i, [&](TColumnArray& cache) {
            RefineDomainEdges(f.Func, cache, columns.ColumnX(), view.XAxis.VHigh, env);
        });
    }
    return evaluated;
}

void RefineDomainEdges(const TKavirofunction& formula, TColumnArray& cache, const TColumnArray& columnX,
                       int lastColumn, const TEvalEnv& env)
{
    for (int c = 0; c < lastColumn; ++c)
        if (IsDomainEdge(cache, c, lastColumn))
            RefineEdge(formula, cache, columnX, c, env);
}
