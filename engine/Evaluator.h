#pragma once

#include "model/Formula.h"
#include "model/Value.h"

#include <QStringView>

// A compiled formula as the evaluator reads it: the postfix code and the
// constant values it refers to. Bodies of cof and sol are views into the
// code of the formula that holds them.
struct TFormulaView {
    QStringView Code;
    const TConstValues* ConstValues = nullptr;
};

inline TFormulaView ViewOf(const TKavirofunction& record)
{
    return TFormulaView{record.Code, &record.ConstValues};
}

// Limits of one evaluation; beyond them the result is undefined.
constexpr int EvaluationStackSize = 100;
constexpr int MaxOpenBinders = 30;
constexpr int MaxEvaluationDepth = 100; // graph names, user functions, objects nested

// The stack machine: the value of the compiled formula for the inputs that
// the tokens x, y, z and w push. Never raises; an undefined result carries
// every domain error.
TValue EvaluatePostfix(const TKavirofunction& record, const TValue& x, const TValue& y, const TValue& z,
                       const TValue& w);
TValue EvaluatePostfix(const TFormulaView& formula, const TValue& x, const TValue& y, const TValue& z,
                       const TValue& w);

// The common entry: y is the parameter table's y, z and w are real zeros.
TValue EvaluateExpression(const TKavirofunction& record, const TValue& x);
TValue EvaluateExpression(const TFormulaView& formula, const TValue& x);

// Object i (1..22): part 1, 2, 3 its x, y or r formula as a real; any other
// part its position as a pair.
TValue EvaluatePoint(int i, int part);

// The value of the parameter a parameter token names.
long double ParamValue(TTokenCode token);

// Position, counted from 1 within the code after start, of the "Send" that
// closes the binder at start; -1 when there is none.
int FindMatchingSend(QStringView code, int start);

// Builds the evaluator's dispatch by token (after the vocabulary and the
// built-in table exist).
void InitEvaluator();
