#pragma once

// The functions' column caches kept current for the view: only functions
// whose names changed are evaluated again, each over all columns at once,
// and the ends of their domains are found between two columns.
#include "engine/ArrayEvaluator.h"
#include "engine/Columns.h"
#include "model/Formula.h"

class ScaleT;

// What the array evaluator reads of the view: its columns, the height of a
// pixel, the function caches and the object states.
TArrayView ViewArrays(ScaleT& view);

// Functions of the table without code get the undefined columns; those
// whose name is in the change set, and those not current for the view, are
// evaluated with the parameters of env; then the domain edges of every shown
// function are refined. Returns how many caches were evaluated.
int UpdateColumnCaches(ScaleT& view, const TFunctionRecords& functions = DocumentTables.Functions,
                       const TEvalEnv& env = DocumentEvalEnv);

// Where two neighbouring columns straddle an edge of the formula's domain,
// the edge is found by bisection and its value put into the column nearer
// to it, so the curve reaches the edge instead of stopping a column short.
// columnX holds the world x of every column; columns 0 .. lastColumn - 1
// are searched. True when a column changed.
bool RefineDomainEdges(const TKavirofunction& formula, TColumnArray& cache, const TColumnArray& columnX,
                       int lastColumn, const TEvalEnv& env = DocumentEvalEnv);
