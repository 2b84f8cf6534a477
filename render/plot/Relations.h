#pragma once

// The nine relations, equations and inequalities in x and y. A relation is
// cut into pieces at its top-level "and" and "or"; each piece is drawn by
// the cheapest method that fits it (an explicit curve y op f(x), a conic
// solved column by column, a polynomial scanned through interpolation, or a
// general scan of the pixel grid traced into contours), and the region
// where the pieces' inequalities combine to true is hatched.
#include "engine/Evaluator.h"
#include "model/DocumentState.h"
#include "model/Formula.h"
#include "render/plot/PlotCanvases.h"
#include "render/plot/RelationMask.h"
#include "render/view/Scale.h"
#include "render/view/ViewMapping.h"

#include <cstdint>
#include <functional>
#include <vector>

class TColumnArray;

// The colour each relation was last drawn with onto the trace canvas, white
// when it left no trace: what the next trace record keeps of it.
extern TOffsetArray<TColor, 1, RelationCount> RelationColors;
void ResetRelationColors();

// The region of the relation being drawn: one grid, reused by every
// relation (the reset gives its memory back).
extern TRegionMask RelationFillGrid;

// A relation has a formula text and a colour other than white.
bool IsRelationInUse(int i);
bool IsRelationInUse(const TEquationFunction& record);
// In use and visible.
bool IsRelationDrawable(int i);
bool IsRelationDrawable(const TEquationFunction& record);

// One piece of a relation: compiled in relation mode, so its code ends with
// "0 op 1 -" when it has a comparison.
struct TRelationPiece {
    TKavirofunction Func;
    TTokenCode Operator = 0; // the comparison; 0 when there is none
    std::uint8_t Bit = 0;    // 2^(k-1) for piece k

    // The difference L - R: the code without its comparison tail, or the
    // whole code of a piece without comparison (drawn as "= 0"). Refers to
    // Func, which must stay where it is.
    TFormulaView Difference() const;
    bool IsEquation() const;   // "=", or no comparison
    bool IsStrict() const;     // ">", "<", "≠"
};

struct TRelationPieces {
    std::vector<TRelationPiece> Pieces; // at most MaxRelationPieces
    std::vector<std::uint8_t> Masks;    // one per run of pieces joined by "and"
};

// The relation's scanned tokens with relation and graph names expanded,
// whole-enclosing brackets stripped, chained comparisons unfolded, cut at
// "and" and "or" into compiled pieces. Nothing when a referenced slot is
// empty; splitting stops at a piece that does not compile.
TRelationPieces SplitRelation(const TEquationFunction& record);

// The piece reads y op f(x): its text starts "y" and an operator among
// "+-><=", and no y follows in its code.
bool IsExplicitRelation(const TKavirofunction& piece);

enum class TRelationMethod : std::uint8_t {
    Explicit = 0,
    Interpolated = 1, // a polynomial: the scan takes its rows from interpolation
    Scan = 2,
    Conic = 3,
};

// The method a piece of the record is drawn with in the view.
TRelationMethod RelationMethodOf(ScaleT& view, const TRelationPiece& piece, const TEquationFunction& record);

// The roots of g over pixel columns, as the parabola through columns 0, 50
// and 100 gives them. 2, 1 or 0 roots; -1 when g is identically zero. The
// roots start at -1 (a column left of the view).
int ColumnParabolaRoots(const TColumnArray& g, long double& r1, long double& r2);

// How a relation is drawn: the view's mapping at the output magnification,
// the canvases, and whether it goes straight into a picture (vector hatch,
// no intermediate display).
struct TRelationDrawing {
    TViewMapping Mapping;
    TPlotCanvases Canvases;
    bool Direct = false;
    // Shows the work so far during a long scan; empty when nothing is shown.
    std::function<void()> ShowProgress;
};

// Plots one relation: its pieces into the canvases and its region hatched,
// evaluated with the parameters of env.
void PlotFunction(ScaleT& view, const TRelationDrawing& drawing, const TEquationFunction& record,
                  const TEvalEnv& env = DocumentEvalEnv);

// Re-plots the drawable relations whose RelationChanged is set into their
// layers (images[3..11]) and ANDs every drawable layer onto images[2], in
// number order; the scan shows its progress on images[0]. traceCanvas
// receives what leaves a trace (every relation with traceAll), onlyTrace
// leaves the layers alone. Sets RelationColors.
void DrawRelations(ScaleT& view, TGraphImages& images, TCanvas* traceCanvas, bool traceAll, bool onlyTrace);
// Every drawable relation of the table straight onto the canvases, without
// layers, evaluated with the parameters of env.
void DrawRelationsDirect(ScaleT& view, const TViewMapping& mapping, const TPlotCanvases& canvases,
                         const TRelationRecords& relations = DocumentTables.Relations,
                         const TEvalEnv& env = DocumentEvalEnv);
