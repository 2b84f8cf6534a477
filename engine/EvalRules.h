#pragma once

// The evaluators' dispatch: what each token code does, decided once when the
// vocabulary and the built-in table exist. Shared by the scalar and the
// array evaluator; internal to the engine.

#include "model/TokenString.h"
#include "model/Value.h"

#include <array>
#include <cstdint>

// What the evaluator does with a token, decided once per code.
enum class Rule : std::uint8_t {
    None, // blanks, commas, brackets
    InputX,
    InputY,
    InputZ,
    InputW,
    Pi,
    E,
    I,
    SZero,
    Undefined, // MouseIs, r outside an object's formulas, relation names, ".r" on a non-object
    Parameter,
    Graph,
    AxisX,
    AxisY,
    Object,
    Constant,
    Unary,
    Stepsize,
    PopToUndefined, // a one-argument token without a routine
    Binary,
    Add, // binary operators with a fast path for two defined reals
    Subtract,
    Multiply,
    ObjectComponent, // P(n, c)
    UserFunction,
    Multi,
    Path,
    Sum,
    Product,
    Intgr,
    Send,
    Cof,
    Sol,
};

// What an open Sum, Product or Intgr accumulates.
enum BinderKind : std::uint8_t { BinderSum = 0, BinderProduct = 1, BinderIntgr = 2 };

// The most steps a Sum or Product may take.
constexpr long double MaxLoopSteps = 2147483647.0L;

// Where a Sum or Product starts: from its lower bound up to Last, or, when a
// bound is undefined, from 10 below Last so that the body still runs once.
// A loop of more than MaxLoopSteps steps is refused like one with an
// undefined bound: its body runs once, at the lower bound, and the result
// is undefined.
struct TLoopStart {
    long double Last = 0.0L;
    bool BoundsOk = false;
    long double Current = 0.0L;
};
inline TLoopStart LoopStart(const TValue& lower, const TValue& upper)
{
    TLoopStart s;
    s.Last = upper.Defined ? upper.X : 0.0L;
    s.BoundsOk = upper.Defined && lower.Defined;
    s.Current = s.BoundsOk ? lower.X : s.Last - 10.0L;
    // Steps from Current to Last: the whole part of their distance plus one.
    if (s.BoundsOk && !(s.Last - s.Current < MaxLoopSteps))
        s.BoundsOk = false;
    return s;
}

struct TEvaluatorTables {
    std::array<Rule, 1001> Rules{};
    std::array<int, 1001> UserFunctionSlot{};
};
extern TEvaluatorTables EvalTables;

inline Rule RuleOf(TTokenCode t)
{
    return t <= 1000 ? EvalTables.Rules[t] : Rule::None;
}
