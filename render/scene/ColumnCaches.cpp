#include "render/scene/ColumnCaches.h"

#include "engine/Evaluator.h"
#include "engine/ParallelWork.h"
#include "engine/References.h"
#include "engine/TokenTable.h"
#include "model/DocumentState.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"

#include <cmath>
#include <cstring>
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

// The 80 bits of both parts, the kind and definedness.
bool SameBits(const TValue& a, const TValue& b)
{
    constexpr size_t Bits80 = 10;
    return a.Kind == b.Kind && a.Defined == b.Defined && std::memcmp(&a.X, &b.X, Bits80) == 0 &&
           std::memcmp(&a.Y, &b.Y, Bits80) == 0;
}

bool HasDomainEdge(const TColumnArray& cache, int lastColumn)
{
    for (int c = 0; c < lastColumn; ++c)
        if (IsDomainEdge(cache, c, lastColumn))
            return true;
    return false;
}

// True when it changed the cache.
bool RefineEdge(const TKavirofunction& formula, TColumnArray& cache, const TColumnArray& columnX, int c,
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
    if (columnX.X(nearer) == edge)
        return false;
    const TValue v = EvaluateExpression(formula, ValueReal(edge), env);
    const bool changed = !SameBits(v, cache.At(nearer));
    cache.Set(nearer, v);
    return changed;
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
    // no cache: the functions with edges to find share the cores.
    std::vector<int> withEdges, inOrderAgain;
    for (int i = 1; i <= FunctionCount; ++i) {
        const TColumnArray* cache = columns.ValidCache(i);
        if (!IsShownWithCode(functions[i]) || !cache || !HasDomainEdge(*cache, view.XAxis.VHigh))
            continue;
        (ReadsChanceOrKeys(functions[i].Func.Code) ? inOrderAgain : withEdges).push_back(i);
    }
    const auto refine = [&](int i) {
        columns.AdjustCache(i, [&](TColumnArray& cache) {
            return RefineDomainEdges(functions[i].Func, cache, columns.ColumnX(), view.XAxis.VHigh, env);
        });
    };
    RunInParallel(static_cast<int>(withEdges.size()), [&](int k, int) { refine(withEdges[static_cast<size_t>(k)]); });
    for (int i : inOrderAgain)
        refine(i);
    return static_cast<int>(stale.size());
}

bool RefineDomainEdges(const TKavirofunction& formula, TColumnArray& cache, const TColumnArray& columnX,
                       int lastColumn, const TEvalEnv& env)
{
    bool changed = false;
    for (int c = 0; c < lastColumn; ++c)
        if (IsDomainEdge(cache, c, lastColumn))
            changed = RefineEdge(formula, cache, columnX, c, env) || changed;
    return changed;
}
