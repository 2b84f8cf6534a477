#pragma once

#include "engine/Columns.h"
#include "engine/Evaluator.h"
#include "model/DocumentState.h"
#include "model/Formula.h"
#include "model/PointState.h"

// The columns of the x axis that are computed, and their world width.
struct TColumnAxis {
    int Vlow = 0;
    int VHigh = 400;
    long double Low = -5.0L;
    long double High = 5.0L;
    long double UnitsPerPixel() const { return (High - Low) / (VHigh - Vlow); }
};

// What the array evaluator reads of the graph view; the view points these at
// its own tables (tests at theirs). Without Graphs, graph names are undefined.
struct TArrayView {
    TColumnAxis XAxis;
    long double YUnitsPerPixel = 0.025L; // the height of one pixel, for "="
    GraphColumns* Graphs = nullptr;      // the column caches of y1 .. y20
    const TOffsetArray<TPointState, 1, PointCount>* PointStates = nullptr;
};

// A formula at every column of the x axis at once, with the parameters of
// env. y is the environment's y, z and w are zeros. varyingParam (1..14, 0
// for none) names a parameter whose value at each column comes from
// varyingValues. A graph name reads its column cache, computed first over
// the view's columns when it is not current; with refresh set it is
// recomputed over these inputs. Columns outside the axis's range are left
// undefined.
void EvaluateArrays(const TKavirofunction& record, const TColumnArray& x, const TArrayView& view, int varyingParam,
                    const TColumnArray* varyingValues, bool refresh, TColumnArray& result,
                    const TEvalEnv& env = DocumentEvalEnv);
void EvaluatePostfixArrays(const TFormulaView& formula, const TColumnArray& x, const TColumnArray& y,
                           const TColumnArray& z, const TColumnArray& w, const TArrayView& view, int varyingParam,
                           const TColumnArray* varyingValues, bool refresh, TColumnArray& result,
                           const TEvalEnv& env = DocumentEvalEnv);

// Column operations over the axis's range.
void FillColumns(TColumnArray& target, const TValue& value, const TColumnAxis& axis);
void ScaleColumns(TColumnArray& target, long double factor, const TColumnAxis& axis);
// Marks the columns where a difference L - R crosses or touches zero within
// one pixel's height: the "=" of relations drawn over columns.
void EqualityColumns(TColumnArray& difference, const TColumnAxis& axis, long double yUnitsPerPixel);
