#pragma once

#include "engine/EvalEnv.h"
#include "model/Formula.h"
#include "model/Value.h"

#include <QStringView>
#include <algorithm>
#include <cstdint>

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

// Every evaluation ends. One that no other evaluation started (a top-level
// one) may do this much work for each value it computes, counted in tokens
// handled, including everything it starts: nested formulas, derivatives,
// sums. The array machine handles each token for every column, and computes
// a value for every column: over C columns it may do C times the work, so a
// formula the scalar machine computes at each column is computed over the
// columns too. Beyond it the evaluation ends undefined, as it does when the
// user holds Esc (or F1), which a long evaluation looks at after each
// BreakPollInterval units of work, whatever its budget.
struct TEvaluationLimits {
    std::int64_t WorkBudget = 100'000'000;                 // about a second of scalar work for one value
    std::int64_t BreakPollInterval = std::int64_t{1} << 22; // a few hundredths of a second
    void Reset() { *this = TEvaluationLimits{}; }
};
extern TEvaluationLimits EvaluationLimits;

enum class TEvaluationEnd : std::uint8_t {
    Finished,
    OverBudget,  // ended undefined: too much work
    Interrupted, // ended undefined: the user broke it off
};

// How the last top-level evaluation on this thread ended (or, after a
// batch of parallel work the user broke off, Interrupted).
TEvaluationEnd LastEvaluationEnd();

// The evaluation in progress, shared by the scalar and the array machine.
struct TEvaluationRun {
    int Open = 0;            // evaluations open, nested ones included
    std::int64_t Used = 0;   // work of the top-level evaluation so far
    std::int64_t Budget = 0; // the work it may do: WorkBudget for each of its values
    std::int64_t NextPoll = 0;  // Used at which the break key is looked at next
    std::int64_t NextCheck = 0; // the earlier of NextPoll and the end of the budget
    bool Stopped = false;    // every open evaluation ends undefined at once
    TEvaluationEnd End = TEvaluationEnd::Finished;
};
// Each thread's own: evaluations on several threads at once (ParallelWork.h)
// keep separate budgets.
extern thread_local constinit TEvaluationRun EvaluationRun;

// Starts the budget of a top-level evaluation that computes that many values
// at once (the array machine's columns). Inline: a short formula's whole
// evaluation takes a few dozen nanoseconds.
inline void BeginTopLevelEvaluation(std::int64_t values = 1)
{
    const TEvaluationLimits& l = EvaluationLimits;
    // No top-level evaluation computes more values than the widest graph
    // has columns: the product stays far from overflowing.
    const std::int64_t budget = l.WorkBudget * std::max<std::int64_t>(1, values);
    EvaluationRun = TEvaluationRun{.Open = 1,
                                   .Budget = budget,
                                   .NextPoll = l.BreakPollInterval,
                                   .NextCheck = std::min(l.BreakPollInterval, budget + 1)};
}

// Held by each evaluation while it runs: the outermost one starts a fresh
// budget for its values (a nested one's count does not matter).
class TEvaluationScope {
public:
    explicit TEvaluationScope(std::int64_t values = 1)
    {
        if (EvaluationRun.Open++ == 0)
            BeginTopLevelEvaluation(values);
    }
    ~TEvaluationScope()
    {
        if (--EvaluationRun.Open == 0)
            EvaluationRun.Stopped = false; // End stays for LastEvaluationEnd
    }
    TEvaluationScope(const TEvaluationScope&) = delete;
    TEvaluationScope& operator=(const TEvaluationScope&) = delete;
};

// True once the evaluation in progress must end.
inline bool EvaluationStopped()
{
    return EvaluationRun.Stopped;
}

// Over budget, or a look at the break key due: decides whether to stop.
bool EvaluationWorkCheckpoint();

// Adds units of work to the evaluation in progress and looks at the break
// key when a poll is due. False once the evaluation must end.
inline bool ChargeEvaluationWork(std::int64_t units)
{
    TEvaluationRun& r = EvaluationRun;
    r.Used += units;
    if (r.Used < r.NextCheck)
        return !r.Stopped;
    return EvaluationWorkCheckpoint();
}

// The stack machine: the value of the compiled formula for the inputs that
// the tokens x, y, z and w push, with the parameters of env. Never raises;
// an undefined result carries every domain error.
TValue EvaluatePostfix(const TKavirofunction& record, const TValue& x, const TValue& y, const TValue& z,
                       const TValue& w, const TEvalEnv& env = DocumentEvalEnv);
TValue EvaluatePostfix(const TFormulaView& formula, const TValue& x, const TValue& y, const TValue& z,
                       const TValue& w, const TEvalEnv& env = DocumentEvalEnv);

// The common entry: y is the environment's y, z and w are real zeros.
TValue EvaluateExpression(const TKavirofunction& record, const TValue& x, const TEvalEnv& env = DocumentEvalEnv);
TValue EvaluateExpression(const TFormulaView& formula, const TValue& x, const TEvalEnv& env = DocumentEvalEnv);

// Object i (1..22): part 1, 2, 3 its x, y or r formula as a real; any other
// part its position as a pair.
TValue EvaluatePoint(int i, int part, const TEvalEnv& env = DocumentEvalEnv);

// The value of the parameter a parameter token names.
long double ParamValue(TTokenCode token, const TEvalEnv& env);

// Position, counted from 1 within the code after start, of the "Send" that
// closes the binder at start; -1 when there is none.
int FindMatchingSend(QStringView code, int start);

// Builds the evaluator's dispatch by token (after the vocabulary and the
// built-in table exist).
void InitEvaluator();
