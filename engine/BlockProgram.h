#pragma once

// Formulas of real arithmetic and elementary functions (y = f(x), relations,
// loci: the common case) compiled from their postfix code into a program of
// tight loops over blocks of columns. Values that are the same in every
// column are computed once with the built-in routines; what varies lives in
// lanes of long double values and defined flags. The results are those of
// the array evaluator to the bit; everything else (pairs, binders, graph
// names, objects, user functions, "=", complex results) stays with it.

#include "engine/Columns.h"
#include "engine/Evaluator.h"
#include "engine/ProgramCache.h"
#include "model/Value.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>

struct TArrayView;
class TBlockProgram;

// One input of an evaluation: a lane of columns, or (Lane null) one value
// for every column.
struct TBlockInput {
    const TColumnArray* Lane = nullptr;
    TValue Uniform;
};

// The inputs that the tokens x, y, z, w and the varying parameter read.
struct TBlockInputs {
    TBlockInput X, Y, Z, W;
    int VaryingParam = 0; // 1..14 with Varying set; 0 for none
    const TColumnArray* Varying = nullptr;
};

// Inputs that are all lanes, as a formula over columns receives them.
TBlockInputs ColumnInputs(const TColumnArray& x, const TColumnArray& y, const TColumnArray& z, const TColumnArray& w,
                          int varyingParam, const TColumnArray* varying);
// x a lane, y one value, z = w = 0: a formula drawn over a row of columns.
TBlockInputs RowInputs(const TColumnArray& x, long double y, int varyingParam, const TColumnArray* varying);

// Which inputs vary from column to column: a program is compiled for one
// such choice, and computes what depends on the others once per run.
struct TBlockLanes {
    bool X = true;
    bool Y = false;
    bool Z = false;
    bool W = false;
    int VaryingParam = 0;

    static TBlockLanes Of(const TBlockInputs& inputs);
    std::uint32_t Key() const;
};

// The formula's program for these lanes, from the cache or compiled now;
// null when the formula needs the array machine.
std::shared_ptr<const TBlockProgram> BlockProgramFor(QStringView code, const TBlockLanes& lanes);

// Columns first..last of result computed by the program. False when this
// evaluation needs the array machine after all (inputs whose lanes are not
// the program's, complex mode for a program that may meet complex values
// there, a single value or an input column that is not a real where the
// program needs one); the range of result is then unspecified.
// Parameters are read from env.
bool RunBlockProgram(const TBlockProgram& program, const TConstValues* consts, const TBlockInputs& inputs,
                     const TEvalEnv& env, int first, int last, TColumnArray& result);

// Both steps: false when the formula or this evaluation needs the array
// machine, or block programs are switched off.
bool EvaluateBlockColumns(const TFormulaView& formula, const TBlockInputs& inputs, const TEvalEnv& env, int first,
                          int last, TColumnArray& result);

// The programs compiled so far, by code and lanes, and the switch that
// leaves every formula to the array machine (to compare the two).
struct TBlockProgramEntry {
    QString Code;
    std::uint32_t Lanes = 0;
    bool Valid = false;
    std::shared_ptr<const TBlockProgram> Program; // null: needs the array machine
};
using TBlockProgramTables = TProgramCache<TBlockProgramEntry>;
extern TBlockProgramTables BlockPrograms;

// A formula evaluated over the columns of one row after another at a fixed
// y, as the scans of relations do: the program is found once, and every row
// reuses it and the same arrays.
class TRowEvaluator {
public:
    // The record must outlive the evaluator.
    explicit TRowEvaluator(const TKavirofunction& record);
    // A view of a formula (part of a record's code), which must outlive it.
    explicit TRowEvaluator(const TFormulaView& formula);
    ~TRowEvaluator();

    // The formula at (x(c), y) for every column c of the view's range, with
    // z = w = 0 and y the value the environment gives y (a relation's row
    // binds it, so that what the formula evaluates inside reads it too):
    // what EvaluatePostfixArrays gives with y filled into every column.
    // Columns outside the range are undefined.
    void EvaluateRow(const TColumnArray& x, const TEvalEnv& row, const TArrayView& view, TColumnArray& out);

    bool HasProgram() const { return program_ != nullptr; }

private:
    TFormulaView formula_;
    std::shared_ptr<const TBlockProgram> program_;
    // The array machine's inputs, made when a row first needs them.
    std::unique_ptr<TColumnArray> ys_;
    std::unique_ptr<TColumnArray> zeros_;
};
