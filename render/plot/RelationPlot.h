#pragma once

// What the drawing methods of a relation piece share: the pixel grid of the
// view, the evaluation of a piece over a row of columns, the pens of a
// piece, and the methods themselves.
#include "engine/ArrayEvaluator.h"
#include "engine/BlockProgram.h"
#include "engine/Columns.h"
#include "render/plot/LineJoiner.h"
#include "render/plot/Relations.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

// The unmagnified pixel grid of the view: columns 0 .. W, rows 0 .. H, the
// scan reaching one beyond. Pieces are evaluated at magnification 1 and drawn
// at the mapping's.
struct TRelationGrid {
    int W = 400;
    int H = 400;
    TViewMapping Mapping;       // the output magnification
    TAxisMapping Rows;          // the y axis on screen: pixel rows to world y
    const TColumnArray* ColumnX = nullptr;
    TArrayView Arrays;          // columns -1 .. W + 1
    const TEvalEnv* Env = &DocumentEvalEnv; // the parameters the pieces are evaluated with; rows bind y

    int Magnification() const { return Mapping.Magnification(); }
    int Magnify(int pixel) const { return pixel * Mapping.Magnification(); }
    long double RowY(int row) const { return Rows.PixelToValue(row); }
    TDrawContext Context() const { return Mapping.Context(); }
};
// env must outlive the grid.
TRelationGrid MakeRelationGrid(ScaleT& view, const TViewMapping& mapping, const TEvalEnv& env = DocumentEvalEnv);

// A piece's difference over every column at a fixed y, which is also the y
// of what the piece evaluates inside.
class TRelationRows {
public:
    TRelationRows(const TRelationGrid& grid, const TFormulaView& difference);
    ~TRelationRows();
    void EvaluateRelationColumns(long double y, TColumnArray& out);
    // Row k at ys[k] into *outs[k] for every k, as EvaluateRelationColumns
    // gives it: on all cores unless the piece draws chance, reads the keys
    // or reaches a graph's columns. alongside, when given, runs once on
    // this thread before the rows it evaluates itself, while the other
    // threads evaluate theirs. False when the user broke it off; alongside
    // may then not have run. The tasks, when given, run beside the rows on
    // any thread; they must not evaluate.
    bool EvaluateRelationRows(std::span<const long double> ys, std::span<TColumnArray* const> outs,
                              const std::function<void()>& alongside = {}, int tasks = 0,
                              const std::function<void(int task, int slot)>& task = {});

private:
    TRowEvaluator& ForSlot(int slot);

    const TRelationGrid& grid_;
    TFormulaView difference_;
    bool alone_ = false; // rows may be evaluated on several threads at once
    TRowEvaluator rows_;
    // The other threads' evaluators (each keeps arrays of its own), made
    // before a batch needs them.
    std::vector<std::unique_ptr<TRowEvaluator>> slots_;
};

// Where a piece draws, with its pens set.
struct TPiecePens {
    TCanvas* Main = nullptr;  // null when only the trace is drawn
    TCanvas* Trace = nullptr; // null when the piece leaves no trace
    TPenSettings Settings;
    TColor MainColor = 0;     // the boundary's colour on the main canvas
    bool OnlyTrace = false;
};

// The polynomial test's samples: the piece at 11 × 11 pixels spread over
// the view, and the Lagrange weights of every column and row against them.
struct TPolynomialSamples {
    static constexpr int N = 11;
    std::array<int, N> Columns{};
    std::array<int, N> RowsAt{};
    std::array<std::array<long double, N>, N> M{}; // [column sample][row sample]
    std::vector<std::array<long double, N>> ColumnWeights; // columns 0 .. W + 1
    std::vector<std::array<long double, N>> RowWeights;    // rows 0 .. H + 1

    // The interpolated piece at pixel (column, row).
    long double At(int column, int row) const;
    // Row r over columns 0 .. W + 1 into values.
    void Row(int row, long double* values) const;

private:
    // The samples' columns weighted down to row r.
    std::array<long double, N> AtRow(int row) const;
};

// The piece is a polynomial of degree at most 10 in each direction, as 30
// checks at fixed pseudo-random pixels confirm; the samples are kept.
bool PolynomialTest(const TRelationGrid& grid, const TFormulaView& difference, TPolynomialSamples& samples);
// The sampled polynomial is of degree 2 at most in x and y with constant x^2
// and y^2 coefficients.
bool ConicTest(const TPolynomialSamples& samples);

// Signs of the scan: 0 within 1e-9 of zero, 1 above, -1 below, 100 for no value.
constexpr long double ZeroBand = 1E-9L;
constexpr int NoSign = 100;
inline int ScanSign(long double v)
{
    return v > ZeroBand ? 1 : (v < -ZeroBand ? -1 : 0);
}

// The four corners of a contour cell in their fixed order.
enum : int { CornerBL = 0, CornerBR = 1, CornerTL = 2, CornerTR = 3 };
struct TCellCorners {
    std::array<int, 4> Signs{};
    std::array<long double, 4> Values{};
};
// The contour through the cell whose lower right corner is (c, r), columns
// c - 1 .. c and rows r - 1 .. r, as segments in magnified pixels, added to
// the joiner or to the list.
struct TContourSegment {
    QPoint From;
    QPoint To;
};
void ContourCell(int c, int r, const TCellCorners& corners, int magnification, TconnectLines& joiner);
void ContourCell(int c, int r, const TCellCorners& corners, int magnification, std::vector<TContourSegment>& segments);

// The arrays of evaluated rows that a scan uses, kept for the next scan:
// fresh ones would be new pages, cleared by the system, at every scan. A
// scan takes them and gives them back; the reset gives their memory back.
extern std::vector<TColumnArray> ScanRowArrays;

// The scan of the pixel grid: contours traced into the joiner (when
// contours is on) and the piece's bits set in the region. Rows come from
// the samples when given, else from evaluation with scanWidth - 1 rows
// interpolated between evaluated ones. False when the user broke it off.
struct TScanRequest {
    TRelationRows* Rows = nullptr;
    const TPolynomialSamples* Samples = nullptr;
    int ScanWidth = 1;
    bool Contours = true;
    TTokenCode Operator = 0;
    std::uint8_t Bit = 0;
};
bool ScanPiece(const TRelationGrid& grid, const TScanRequest& request, const TPiecePens& pens, TRegionMask& region,
               const std::function<void()>& showProgress);

// The conic solved column by column: two branches, a line with its
// asymptote, or vertical lines.
void PlotConic(const TRelationGrid& grid, TRelationRows& rows, const TPiecePens& pens);
