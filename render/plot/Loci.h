#pragma once

// The point lists of the curve objects (polar curves, parametric curves and
// point sequences): the curve's parameter runs from Low to High by its step
// and each value gives one point. A list is computed only when its object
// changed and is kept between redraws.
#include "engine/EvalEnv.h"
#include "model/CharSet.h"
#include "model/DocumentState.h"
#include "model/OffsetArray.h"
#include "model/PointState.h"
#include "model/Value.h"

#include <cstdint>
#include <vector>

class ScaleT;

constexpr int MaxLocusPoints = 5000;
constexpr int LocusGrowth = 500; // items added to a full list at a time

struct TLocusPoint {
    long double X = 0.0L;
    long double Y = 0.0L;
    long double T = 0.0L;      // the curve parameter's value
    std::uint8_t Defined = 0;  // 1 when both coordinates are defined
};

// One object's point list. Items holds Count points at the front; it grows
// by LocusGrowth items when full and keeps its size when recomputed.
struct Tlocus {
    std::vector<TLocusPoint> Items;
    int Count = 0;
    int ParamSlot = 0; // the parameter the list was computed over, 0 for none

    void Clear() { Count = 0; }
};

// The lists of the 22 objects.
struct TLocuses {
    TOffsetArray<Tlocus, 1, PointCount> Items;
    void Reset() { *this = TLocuses{}; }
};
extern TLocuses Locuses;
void ResetLocuses();

// Appends a point (defined when both values are) unless the list already
// holds MaxLocusPoints.
void AddLocusPoint(Tlocus& locus, const TValue& x, const TValue& y, long double t);

// The parameter values of a curve: Low, Low + step, Low + 2 step, ... while
// below High, then High itself; at most MaxLocusPoints values. Each value is
// computed from Low (no drift), and the run stops early when the values stop
// growing (a step too small to change them). Empty unless Low < High and the
// step is above 0, all finite.
std::vector<long double> LocusParameterValues(long double low, long double high, long double step);

// How a list is computed: the array evaluator in batches of columns, or the
// scalar evaluator one value at a time (needed by formulas whose Sum,
// Product, Intgr, sol or path bounds could depend on the parameter).
enum class TLocusPath : std::uint8_t { Auto, Array, Scalar };

// What the evaluation reads of the view: the objects' evaluated states (for
// formulas that name other objects), the x range that derivatives take their
// step from, and the height of a y pixel for "="; and the parameters, in
// which the curve's own parameter is bound to each of its values in turn.
struct TLocusSources {
    const TOffsetArray<TPointState, 1, PointCount>* PointStates = nullptr;
    long double XLow = -5.0L;
    long double XHigh = 5.0L;
    long double YUnitsPerPixel = 0.025L;
    const TEvalEnv* Env = &DocumentEvalEnv;
};
TLocusSources LocusSourcesOf(const ScaleT& view);

// True when a formula of the curve (directly or through user functions)
// uses Sum, Product, Intgr, sol or path.
bool NeedsScalarLocus(const TPointFunction& object);

// Recomputes object's list from its formulas and the parameters of the
// sources (Options.CircleMode and Options.ComplexMode apply). Writes nothing
// but the list.
void ComputeLocus(const TPointFunction& object, Tlocus& locus, const TLocusSources& sources,
                  TLocusPath path = TLocusPath::Auto);

// Recomputes the list of every curve object of the table that is shown or
// traced and whose name is among the changed names (every such curve when
// forced); an object that is no longer a curve loses its list.
void ComputeLoci(TLocuses& loci, const TWideCharSet& changedNames, bool force, const TLocusSources& sources,
                 const TPointRecords& objects = DocumentTables.Points);
// The same for the view's objects, the redraw's changed names and Locuses.
void ComputeLoci(const ScaleT& view, bool force);
