#pragma once

// Formulas of real arithmetic and elementary functions of x, y, z, w and
// the parameters (the common case) evaluated at one point without the stack
// machine's value records: the postfix code compiled once into a short
// program for an accumulator, whose value stays in a register from one
// operation to the next, with the operands read where they lie (inputs,
// constants, parameters) or from the few values set aside. Its results are
// the stack machine's to the bit; everything else (pairs, complex values,
// binders, graph names, objects, lists) stays with it. A plain call of a
// user function is compiled in: its code in place of the call.

#include "engine/Evaluator.h"
#include "engine/ProgramCache.h"
#include "model/Value.h"

#include <QString>
#include <array>
#include <memory>

class TScalarProgram;

// What the formula's program computes; a value of the kind
// ScalarProgramDeclined when the stack machine must compute it (no program
// for this formula, or inputs, constants or modes it does not handle).
// Charges no work and polls nothing: the caller does both as the machine
// would.
constexpr std::uint8_t ScalarProgramDeclined = KindNone;
// The inputs are what the tokens x, y, z and w read; y null for the
// environment's y, which also gives the parameters.
// User functions may be compiled into a program: nesting says whether the
// evaluation may open one more nested evaluation (Room), and takes the work
// their calls would have charged (Work), which the caller adds to its own.
struct TScalarNesting {
    bool Room = true;
    std::int64_t Work = 0;
};
TValue ScalarProgramValue(const TFormulaView& formula, const TValue& x, const TValue* y, const TValue& z,
                          const TValue& w, const TEvalEnv& env, TScalarNesting& nesting);

// The programs compiled so far, by where their code lies and what it says,
// and the switch that leaves every formula to the stack machine (to compare
// the two).
struct TScalarProgramEntry {
    const void* Where = nullptr; // the code's characters when compiled
    QString Code;
    std::shared_ptr<const TScalarProgram> Program; // null: needs the stack machine
};
using TScalarProgramTables = TProgramCache<TScalarProgramEntry>;
extern TScalarProgramTables ScalarPrograms;
