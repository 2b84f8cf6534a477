#pragma once

#include "model/Value.h"

#include <array>
#include <span>

// The routine of each built-in, indexed by token code, so that evaluation
// dispatches without comparing names. Unary routines take the popped value;
// binary ones the left and the right operand as written; multi-argument ones
// the argument list as popped (last argument first).
using TUnaryRoutine = TValue (*)(const TValue&);
using TBinaryRoutine = TValue (*)(const TValue&, const TValue&);
using TMultiRoutine = TValue (*)(std::span<const TValue>);

struct TBuiltinTable {
    std::array<TUnaryRoutine, 1001> Unary{};
    std::array<TBinaryRoutine, 1001> Binary{};
    std::array<TMultiRoutine, 1001> Multi{};
};
extern TBuiltinTable BuiltinTable;

// Fills the table from TokenCodes; runs after InitTokenTables. The entries
// that need the evaluator itself ("P", "path", "Stepsize") stay empty for the
// evaluator to handle.
void InitBuiltinTable();
