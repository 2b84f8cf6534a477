#include "engine/Evaluator.h"

#include "engine/BuiltinTable.h"
#include "engine/Calculus.h"
#include "engine/EvalRules.h"
#include "engine/ParallelWork.h"
#include "engine/ScalarProgram.h"
#include "engine/TokenCode.h"
#include "engine/TokenTable.h"
#include "model/BuiltinsElementary.h"
#include "model/BuiltinsOperators.h"
#include "model/DocumentState.h"
#include "model/Numeric.h"
#include "model/Options.h"

#include <algorithm>
#include <optional>

TEvaluatorTables EvalTables;
thread_local constinit TEvaluationRun EvaluationRun;
TEvaluationLimits EvaluationLimits;

namespace {

void StopEvaluation(TEvaluationEnd end)
{
    EvaluationRun.Stopped = true;
    EvaluationRun.End = end;
}

} // namespace

bool EvaluationWorkCheckpoint()
{
    TEvaluationRun& r = EvaluationRun;
    const TEvaluationLimits& l = EvaluationLimits;
    if (r.Stopped)
        return false;
    if (r.Used > r.Budget) {
        StopEvaluation(TEvaluationEnd::OverBudget);
        return false;
    }
    if (BatchInterrupted()) {
        StopEvaluation(TEvaluationEnd::Interrupted);
        return false;
    }
    if (r.Used >= r.NextPoll) {
        r.NextPoll = r.Used + l.BreakPollInterval;
        if (BreakRequested()) {
            StopEvaluation(TEvaluationEnd::Interrupted);
            return false;
        }
    }
    r.NextCheck = std::min(r.NextPoll, r.Budget + 1);
    return true;
}

TEvaluationEnd LastEvaluationEnd()
{
    return EvaluationRun.End;
}

namespace {

// Nesting of evaluations through graph names, user functions and objects:
// a cycle loaded from a file must end. Each thread nests on its own.
thread_local constinit int EvaluationDepth = 0;
// Set once a nesting reaches the limit: every evaluation still open gives up
// at once, so a cycle that branches (y1 = y2+y2) ends in linear time too.
thread_local constinit bool DepthExceeded = false;

struct DepthGuard {
    bool ok;
    DepthGuard()
    {
        if (++EvaluationDepth > MaxEvaluationDepth)
            DepthExceeded = true;
        ok = !DepthExceeded;
    }
    ~DepthGuard()
    {
        if (--EvaluationDepth == 0)
            DepthExceeded = false;
    }
};

struct TBinderFrame {
    std::uint8_t Kind = BinderSum;
    int ParamNo = 0;
    int BodyStart = 0; // index in the code of the first body token
    std::int64_t Count = 0;
    int Node = 1;
    long double Current = 0.0L;
    long double Last = 0.0L;
    long double Half = 0.0L;
    long double Mid = 0.0L;
    TValue Saved;              // the bound variable before the loop
    long double SavedSlot = 0; // the parameter slot before the loop (x and y have both)
    TValue Acc;
    bool BoundsOk = false;
    int Slices = 1;
};

TValue UndefinedOfKind(const TValue& v)
{
    return ValueUndefined(v.Kind);
}

constexpr TValue RealZero{KindReal, 1, 0.0L, 0.0L};

// Storage that is not cleared on construction: an evaluation only reads
// what it pushed, and clearing 10 KB per call would dominate short formulas.
template <class T, int N>
struct UninitializedArray {
    union {
        T items[N];
    };
    UninitializedArray() {}
    T& operator[](int i) { return items[i]; }
};

// One run of the stack machine over a compiled formula. The inputs are read
// where the caller keeps them; a binder that binds x or y points its input
// at the machine's own copy. Parameters are read from the caller's
// environment until a binder opens; from then on from the machine's own
// copy of it, where the binders bind their variables.
//
// Records are copied whole (16-byte moves). On the processors measured, an
// 80-bit value just stored is not forwarded to a load of any width, so
// copying field by field (10-byte x87 loads and stores) gains nothing, while
// a slot written with 16-byte moves is forwarded to the 10-byte loads that
// read its X next.
class PostfixMachine {
public:
    PostfixMachine(const TFormulaView& f, const TValue& x, const TValue& y, const TValue& z, const TValue& w,
                   const TEvalEnv& env)
        : code_(f.Code)
        , consts_(f.ConstValues)
        , x_(&x)
        , y_(&y)
        , z_(&z)
        , w_(&w)
        , env_(&env)
    {
    }

    // Writes the result field by field into the caller's record.
    void run(TValue& result);

private:
    bool push(const TValue& v)
    {
        if (count_ >= EvaluationStackSize) {
            failed_ = true;
            return false;
        }
        stack_[count_++] = v;
        return true;
    }
    TValue pop()
    {
        if (count_ == 0)
            return ValueUndefined(KindReal);
        return stack_[--count_];
    }

    // An operand missing from a malformed code reads as undefined.
    void pushUnder(const TValue& v)
    {
        for (int i = count_; i > 0; --i)
            stack_[i] = stack_[i - 1];
        stack_[0] = v;
        ++count_;
    }
    void step(TTokenCode t, Rule rule, int& p);
    void applyUserFunction(TTokenCode t);
    void applyMulti(TTokenCode t, bool path);
    void openLoop(std::uint8_t kind, int p);
    void openIntegral(int p);
    bool takeVariable(TBinderFrame& f, int number);
    void closeBinder(int& p);
    void closeLoop(TBinderFrame& f, const TValue& body, int& p);
    void closeIntegral(TBinderFrame& f, const TValue& body, int& p);
    void repeatBody(const TBinderFrame& f, int& p);
    void bindVariable(const TBinderFrame& f, long double value);
    void restoreVariable(const TBinderFrame& f);
    TEvalEnv& bindingEnv();
    void applyCofOrSol(bool sol, int& p);

    QStringView code_;
    const TConstValues* consts_;
    const TValue* x_;
    const TValue* y_;
    const TValue* z_;
    const TValue* w_;
    const TEvalEnv* env_;
    std::optional<TEvalEnv> boundEnv_; // the caller's, with the binders' variables bound
    // x and y while a binder binds them; raw storage, not set up per run.
    UninitializedArray<TValue, 2> bound_;
    UninitializedArray<TValue, EvaluationStackSize> stack_;
    int count_ = 0;
    UninitializedArray<TBinderFrame, MaxOpenBinders> frames_;
    int open_ = 0;
    bool failed_ = false;
};

void PostfixMachine::run(TValue& result)
{
    const int n = static_cast<int>(code_.size());
    // Without a jump back every token runs at most once: loops charge the
    // rest as they repeat.
    if (n == 0 || !ChargeEvaluationWork(n)) {
        result = ValueUndefined(KindReal);
        return;
    }
    const QChar* code = code_.data();
    // The X of one stack entry, a defined real that arithmetic just
    // computed, is kept apart in acc (slot `cached`; its X in memory is
    // stale) until a token other than arithmetic and pushes needs it, so that
    // chains like «x·x - 2·x + 1» do not store each 80-bit result only to
    // read it back at once, which waits for the store to complete.
    long double acc = 0.0L;
    int cached = -1;
    const auto flush = [&] {
        if (cached >= 0)
            stack_[cached].X = acc;
        cached = -1;
    };
    for (int p = 0; p < n && !failed_ && !DepthExceeded && !EvaluationStopped(); ++p) {
        const TTokenCode t = code[p].unicode();
        const Rule rule = RuleOf(t);
        switch (rule) {
        case Rule::Add:
        case Rule::Subtract:
        case Rule::Multiply: {
            if (count_ < 2)
                break;
            const int li = count_ - 2;
            const int ri = count_ - 1;
            TValue& l = stack_[li];
            const TValue& r = stack_[ri];
            if (l.Kind != KindReal || r.Kind != KindReal || !l.Defined || !r.Defined)
                break;
            if (cached != li && cached != ri)
                flush();
            const long double a = cached == li ? acc : l.X;
            const long double b = cached == ri ? acc : r.X;
            const long double v = rule == Rule::Add ? a + b : rule == Rule::Subtract ? a - b : a * b;
            --count_;
            // l already is a defined real: only its value changes.
            if (InUsableRange(v)) {
                acc = v;
                cached = li;
            } else {
                l.X = 0.0L;
                l.Defined = 0;
                cached = -1;
            }
            continue;
        }
        case Rule::Constant:
            if (consts_ && count_ < EvaluationStackSize) {
                stack_[count_++] = (*consts_)[ConstantSlot(t)];
                continue;
            }
            break;
        case Rule::InputX:
            if (count_ < EvaluationStackSize) {
                stack_[count_++] = *x_;
                continue;
            }
            break;
        default: break;
        }
        flush();
        step(t, rule, p);
    }
    // A binder left open by malformed code must not leave its variable bound.
    while (open_ > 0)
        restoreVariable(frames_[--open_]);
    if (failed_ || DepthExceeded || EvaluationStopped() || count_ == 0) {
        result = ValueUndefined(KindReal);
        return;
    }
    // ValueSnap of the top, written straight into the result.
    const TValue& top = stack_[count_ - 1];
    result.Kind = top.Kind;
    result.Defined = top.Defined;
    // Two branches rather than one merged value, which would go through memory.
    if (cached == count_ - 1)
        result.X = SnapToInteger(acc);
    else
        result.X = top.Defined ? SnapToInteger(top.X) : top.X;
    result.Y = top.Defined && top.Kind == KindPair ? SnapToInteger(top.Y) : top.Y;
}

void PostfixMachine::step(TTokenCode t, Rule rule, int& p)
{
    switch (rule) {
    case Rule::None: return;
    case Rule::InputX: push(*x_); return;
    case Rule::InputY: push(*y_); return;
    case Rule::InputZ: push(*z_); return;
    case Rule::InputW: push(*w_); return;
    case Rule::Pi: push(ValuePi()); return;
    case Rule::E: push(ValueE()); return;
    case Rule::I: push(ValueI()); return;
    case Rule::SZero: push(SZeroValue); return;
    case Rule::Undefined: push(ValueUndefined(KindReal)); return;
    case Rule::Parameter: push(ValueReal(ParamValue(t, *env_))); return;
    case Rule::Graph:
        push(EvaluateExpression(DocumentTables.Functions[Vocabulary.FunctionIndexOfToken[t]].Func, *x_, *env_));
        return;
    case Rule::AxisX: push(ValueMakePoint(*x_, *y_)); return;
    case Rule::AxisY: push(ValueMakePoint(*z_, *w_)); return;
    case Rule::Object: push(EvaluatePoint(t - Vocabulary.PointTokens[1] + 1, 0, *env_)); return;
    case Rule::Constant: {
        const int slot = ConstantSlot(t);
        push(consts_ ? (*consts_)[slot] : ValueUndefined(KindReal));
        return;
    }
    case Rule::Unary: {
        if (count_ == 0)
            push(ValueUndefined(KindReal));
        TValue& top = stack_[count_ - 1];
        top = BuiltinTable.Unary[t](top);
        return;
    }
    case Rule::Stepsize: {
        const TValue a = pop();
        const int slot = NearestInt(a.X);
        const bool ok = !NotRealValue(a) && slot >= -1 && slot <= ParamCount;
        push(ok ? ValueReal(env_->Step(slot)) : ValueUndefined(KindReal));
        return;
    }
    case Rule::PopToUndefined:
        pop();
        push(ValueUndefined(KindReal));
        return;
    case Rule::Add: // two defined reals were handled by run()
    case Rule::Subtract:
    case Rule::Multiply:
    case Rule::Binary: {
        while (count_ < 2)
            pushUnder(ValueUndefined(KindReal));
        TValue& l = stack_[count_ - 2];
        l = BuiltinTable.Binary[t](l, stack_[count_ - 1]);
        --count_;
        return;
    }
    case Rule::ObjectComponent: {
        const TValue r = pop();
        const TValue l = pop();
        push(EvaluatePoint(NearestInt(l.X), NearestInt(r.X), *env_));
        return;
    }
    case Rule::UserFunction: applyUserFunction(t); return;
    case Rule::Multi: applyMulti(t, false); return;
    case Rule::Path: applyMulti(t, true); return;
    case Rule::Sum: openLoop(BinderSum, p); return;
    case Rule::Product: openLoop(BinderProduct, p); return;
    case Rule::Intgr: openIntegral(p); return;
    case Rule::Send: closeBinder(p); return;
    case Rule::Cof: applyCofOrSol(false, p); return;
    case Rule::Sol: applyCofOrSol(true, p); return;
    }
}

void PostfixMachine::applyUserFunction(TTokenCode t)
{
    TValue a4 = pop();
    TValue a3 = pop();
    TValue a2 = pop();
    TValue a1 = pop();
    const TValue mode = pop();
    // A point as first argument feeds x and y; one in the third slot z and w.
    if (a1.Kind == KindPair) {
        a4 = a3;
        a3 = a2;
        a2 = ValueY(a1);
        a1 = ValueX(a1);
    }
    if (a3.Kind == KindPair) {
        a4 = ValueY(a3);
        a3 = ValueX(a3);
    }
    const TKavirofunction& record = DocumentTables.UserFunctions[EvalTables.UserFunctionSlot[t]];
    const TFormulaView f = ViewOf(record);
    switch (NearestInt(mode.X)) {
    case 0: push(EvaluatePostfix(f, a1, a2, a3, a4, *env_)); return;
    case 1: push(DerivativeValue(1, f, a1, a2, a3, a4, *env_)); return;
    case 2: push(DerivativeValue(2, f, a1, a2, a3, a4, *env_)); return;
    case 3: push(AntiderivativeValue(f, a1, a2, a3, a4, *env_)); return;
    default: push(ValueUndefined(KindReal)); return;
    }
}

void PostfixMachine::applyMulti(TTokenCode t, bool path)
{
    const int n = NearestInt(pop().X);
    if (n < 0 || n > MaxArgumentCount || n > count_) {
        failed_ = true;
        return;
    }
    // Popped in reverse: args[0] is the last argument written.
    UninitializedArray<TValue, MaxArgumentCount> argStore;
    TValue* args = argStore.items;
    for (int i = 0; i < n; ++i)
        args[i] = pop();
    const std::span<const TValue> list(args, static_cast<std::size_t>(n));
    if (path) {
        push(n >= 1 ? PathValue(args[n - 1], list.first(static_cast<std::size_t>(n - 1))) : ValueUndefined(KindReal));
        return;
    }
    const TMultiRoutine routine = BuiltinTable.Multi[t];
    push(routine ? routine(list) : ValueUndefined(KindReal));
}

// The environment the binders bind in, made from the caller's when the
// first one opens.
TEvalEnv& PostfixMachine::bindingEnv()
{
    if (!boundEnv_) {
        boundEnv_.emplace(*env_);
        env_ = &*boundEnv_;
    }
    return *boundEnv_;
}

// Binds the variable: its parameter slot and, for x and y, the input too.
void PostfixMachine::bindVariable(const TBinderFrame& f, long double value)
{
    bindingEnv().Bind(f.ParamNo, value);
    if (f.ParamNo == -1) {
        bound_[0] = ValueReal(value);
        x_ = &bound_[0];
    } else if (f.ParamNo == 0) {
        bound_[1] = ValueReal(value);
        y_ = &bound_[1];
    }
}

void PostfixMachine::restoreVariable(const TBinderFrame& f)
{
    bindingEnv().Bind(f.ParamNo, f.SavedSlot);
    if (f.ParamNo == -1) {
        bound_[0] = f.Saved;
        x_ = &bound_[0];
    } else if (f.ParamNo == 0) {
        bound_[1] = f.Saved;
        y_ = &bound_[1];
    }
}

// Takes the bound variable's number off the stack; false when it names no slot.
bool PostfixMachine::takeVariable(TBinderFrame& f, int number)
{
    if (number < -1 || number > ParamCount)
        return false;
    f.ParamNo = number;
    f.SavedSlot = env_->Value(number);
    f.Saved = number == -1 ? *x_ : number == 0 ? *y_ : ValueReal(f.SavedSlot);
    return true;
}

void PostfixMachine::openLoop(std::uint8_t kind, int p)
{
    if (open_ >= MaxOpenBinders) {
        failed_ = true;
        return;
    }
    TBinderFrame& f = frames_[open_];
    f = TBinderFrame{};
    f.Kind = kind;
    f.Acc = ValuePoint(kind == BinderSum ? 0.0L : 1.0L, 0.0L);
    f.BodyStart = p + 1;
    const TValue upper = pop();
    const TValue lower = pop();
    const TLoopStart start = LoopStart(lower, upper);
    f.Last = start.Last;
    f.BoundsOk = start.BoundsOk;
    f.Current = start.Current;
    if (!takeVariable(f, NearestInt(pop().X))) {
        failed_ = true;
        return;
    }
    ++open_;
    bindVariable(f, f.Current);
}

void PostfixMachine::openIntegral(int p)
{
    if (open_ >= MaxOpenBinders) {
        failed_ = true;
        return;
    }
    TBinderFrame& f = frames_[open_];
    f = TBinderFrame{};
    f.Kind = BinderIntgr;
    f.BodyStart = p + 1;
    f.Node = 1;
    const TValue b = pop();
    const TValue a = pop();
    f.Acc = ValuePoint(0.0L, 0.0L);
    const TIntegralStart start = IntegralStart(a, b);
    f.Slices = start.Slices;
    f.BoundsOk = start.BoundsOk;
    f.Half = start.Half;
    f.Mid = start.Mid;
    f.Current = start.Current;
    if (!takeVariable(f, NearestInt(pop().X))) {
        failed_ = true;
        return;
    }
    ++open_;
    bindVariable(f, f.Current);
}

void PostfixMachine::closeBinder(int& p)
{
    const TValue body = pop();
    if (open_ == 0) {
        failed_ = true;
        return;
    }
    TBinderFrame& f = frames_[open_ - 1];
    if (f.Kind == BinderIntgr)
        closeIntegral(f, body, p);
    else
        closeLoop(f, body, p);
}

// Jumps back to the body start; the body's tokens are charged once more.
void PostfixMachine::repeatBody(const TBinderFrame& f, int& p)
{
    ChargeEvaluationWork(p - f.BodyStart + 1);
    p = f.BodyStart - 1; // the loop's ++p lands on the body start
}

void PostfixMachine::closeLoop(TBinderFrame& f, const TValue& body, int& p)
{
    if (f.Count == 0)
        f.Acc.Kind = body.Kind;
    ++f.Count;
    bool more = false;
    if (f.BoundsOk) {
        if (f.Current <= f.Last)
            f.Acc = f.Kind == BinderSum ? ValueAddCore(f.Acc, body) : ValueMultiply(f.Acc, body);
        const long double next = f.Current + 1.0L;
        if (next == f.Current) {
            // So large that adding 1 changes nothing: the loop would never end.
            f.Acc = UndefinedOfKind(body);
        } else {
            f.Current = next;
            bindVariable(f, f.Current);
            more = f.Current <= f.Last;
        }
    } else {
        f.Acc = UndefinedOfKind(body);
    }
    if (more) {
        repeatBody(f, p);
        return;
    }
    push(f.Acc);
    restoreVariable(f);
    --open_;
}

void PostfixMachine::closeIntegral(TBinderFrame& f, const TValue& body, int& p)
{
    const TCalculusTables& c = CalculusTables;
    if (f.Count == 0 && f.Node == 1)
        f.Acc.Kind = body.Kind;
    if (f.Count < f.Slices && body.Defined)
        f.Acc = ValueAddCore(f.Acc, ValueMultiply(body, ValueReal(c.GaussWeights[f.Node])));
    if (++f.Node == 6) {
        ++f.Count;
        f.Node = 1;
        f.Mid += 2.0L * f.Half;
    }
    f.Current = f.Half * c.GaussNodes[f.Node] + f.Mid;
    bindVariable(f, f.Current);
    if (!f.BoundsOk)
        f.Acc = UndefinedOfKind(body);
    if (f.BoundsOk && f.Count < f.Slices) {
        repeatBody(f, p);
        return;
    }
    push(f.BoundsOk ? ValueMultiply(ValueReal(f.Half), f.Acc) : UndefinedOfKind(body));
    restoreVariable(f);
    --open_;
}

void PostfixMachine::applyCofOrSol(bool sol, int& p)
{
    const TValue k = pop();
    const int rel = FindMatchingSend(code_, p);
    if (rel < 0) {
        failed_ = true;
        return;
    }
    const TFormulaView body{code_.mid(p + 1, rel - 1), consts_};
    TValue result = ValueUndefined(KindReal);
    if (sol) {
        if (k.Defined)
            result = SolValue(body, NearestInt(k.X), *y_, *z_, *w_, *env_);
    } else if (k.Defined && k.X >= 0.0L && k.X < 10.0L) {
        result = CofValue(NearestInt(k.X), body, *env_);
    }
    push(result);
    p += rel; // on the "Send"; the loop moves past it
}

// y null: the environment's y, made into a value only when the machine
// needs one. Kept apart from Evaluate, which stays small enough to be
// inlined into its callers.
[[gnu::noinline]] void RunMachine(const TFormulaView& formula, const TValue& x, const TValue* y, const TValue& z,
                                  const TValue& w, const TEvalEnv& env, TValue& result)
{
    const TValue envY = y ? TValue{} : ValueReal(env.Value(0));
    PostfixMachine machine(formula, x, y ? *y : envY, z, w, env);
    machine.run(result);
}

TValue Evaluate(const TFormulaView& formula, const TValue& x, const TValue* y, const TValue& z, const TValue& w,
                const TEvalEnv& env)
{
    const TEvaluationScope scope;
    DepthGuard guard;
    // One result, built in place (a record stored and read back at once
    // waits for the store): the program's, or the machine's when it has none.
    const bool open = guard.ok && !EvaluationStopped();
    // A user function compiled into the program is one nesting deeper.
    TScalarNesting nesting{.Room = EvaluationDepth < MaxEvaluationDepth};
    TValue result = open ? ScalarProgramValue(formula, x, y, z, w, env, nesting) : ValueUndefined(KindReal);
    if (result.Kind == ScalarProgramDeclined)
        RunMachine(formula, x, y, z, w, env, result);
    else if (open && !ChargeEvaluationWork(formula.Code.size() + nesting.Work)) {
        // The same work as the machine charges for a run without loops, and
        // the calls of user functions charge for theirs.
        result = ValueUndefined(KindReal);
    }
    return result;
}

} // namespace

TValue EvaluatePostfix(const TFormulaView& formula, const TValue& x, const TValue& y, const TValue& z,
                       const TValue& w, const TEvalEnv& env)
{
    return Evaluate(formula, x, &y, z, w, env);
}

TValue EvaluatePostfix(const TKavirofunction& record, const TValue& x, const TValue& y, const TValue& z,
                       const TValue& w, const TEvalEnv& env)
{
    return EvaluatePostfix(ViewOf(record), x, y, z, w, env);
}

TValue EvaluateExpression(const TFormulaView& formula, const TValue& x, const TEvalEnv& env)
{
    return Evaluate(formula, x, nullptr, RealZero, RealZero, env);
}

TValue EvaluateExpression(const TKavirofunction& record, const TValue& x, const TEvalEnv& env)
{
    return EvaluateExpression(ViewOf(record), x, env);
}

TValue EvaluatePoint(int i, int part, const TEvalEnv& env)
{
    const bool component = part >= 1 && part <= 3;
    if (i < 1 || i > PointCount)
        return ValueUndefined(component ? KindReal : KindPair);
    const TPointFunction& p = DocumentTables.Points[i];
    if (component) {
        const TKavirofunction& f = part == 1 ? p.X : part == 2 ? p.Y : p.R;
        return EvaluateExpression(f, ValueUndefined(KindReal), env);
    }
    TValue v = EvaluateExpression(p.Pos, ValueUndefined(KindPair), env);
    if (Options.ComplexMode)
        v = ValueToPoint(v);
    return v.Defined ? v : ValueUndefined(KindPair);
}

long double ParamValue(TTokenCode token, const TEvalEnv& env)
{
    const int slot = ParamIndexOfToken(token);
    return (slot >= 1 && slot <= ParamCount) ? env.Value(slot) : 0.0L;
}

int FindMatchingSend(QStringView code, int start)
{
    const TNamedTokens& t = TokenCodes;
    int depth = 1;
    for (int j = start + 1; j < code.size(); ++j) {
        const TTokenCode c = code[j].unicode();
        if (c == t.Sum || c == t.Product || c == t.Intgr || c == t.Cof || c == t.Sol)
            ++depth;
        else if (c == t.Send && --depth < 1)
            return j - start;
    }
    return -1;
}

void InitEvaluator()
{
    const TTokenVocabulary& v = Vocabulary;
    const TNamedTokens& t = TokenCodes;
    TEvaluatorTables& e = EvalTables;
    e = TEvaluatorTables{};
    for (int code = FirstConstantCode; code <= LastConstantCode; ++code)
        e.Rules[code] = Rule::Constant;
    // The error token and the digits, from FirstConstantCode on, are
    // constants in compiled code.
    for (int code = 1; code < FirstConstantCode; ++code) {
        const QChar cls = v.TokenTable[code].classLetter();
        Rule& r = e.Rules[code];
        if (CharSetHas(v.ParameterTokens, code))
            r = Rule::Parameter;
        else if (cls == u'k')
            r = Rule::Undefined; // r, MouseIs: overridden below where they mean something
        else if (cls == u'y')
            r = Rule::Graph;
        else if (CharSetHas(v.PointTokenClass, code))
            r = Rule::Object;
        else if (cls == u'n' || cls == u'o' || cls == u'm')
            r = BuiltinTable.Unary[code] ? Rule::Unary : Rule::PopToUndefined;
        else if (cls == u'a' || cls == u'q')
            r = BuiltinTable.Binary[code] ? Rule::Binary : Rule::Undefined;
        else if (cls == u'f' || cls == u'F')
            r = Rule::UserFunction;
        else if (cls == u'r')
            r = Rule::Multi;
        else if (cls == u'C')
            r = Rule::Undefined;
    }
    e.Rules[t.VarX] = Rule::InputX;
    e.Rules[t.VarY] = Rule::InputY;
    e.Rules[t.VarZ] = Rule::InputZ;
    e.Rules[t.VarW] = Rule::InputW;
    e.Rules[t.Pi] = Rule::Pi;
    e.Rules[t.E] = Rule::E;
    e.Rules[t.Imaginary] = Rule::I;
    e.Rules[t.SZero] = Rule::SZero;
    e.Rules[t.AxisX] = Rule::AxisX;
    e.Rules[t.AxisY] = Rule::AxisY;
    e.Rules[t.Stepsize] = Rule::Stepsize;
    e.Rules[t.Plus] = Rule::Add;
    e.Rules[t.Minus] = Rule::Subtract;
    e.Rules[t.Dot] = Rule::Multiply;
    e.Rules[t.Cross] = Rule::Multiply;
    e.Rules[t.PointFunc] = Rule::ObjectComponent;
    e.Rules[t.Path] = Rule::Path;
    e.Rules[t.Sum] = Rule::Sum;
    e.Rules[t.Product] = Rule::Product;
    e.Rules[t.Intgr] = Rule::Intgr;
    e.Rules[t.Send] = Rule::Send;
    e.Rules[t.Cof] = Rule::Cof;
    e.Rules[t.Sol] = Rule::Sol;
    if (!BuiltinTable.Unary[t.DotR])
        e.Rules[t.DotR] = Rule::PopToUndefined; // ".r" on something that is no object

    for (int slot = 1; slot <= UserFunctionCount; ++slot)
        e.UserFunctionSlot[v.UserFunctionTokens[slot]] = slot;
    // The compiler turns F, G, H, F1..F5 into the lower-case names.
    for (int code = 1; code <= VocabularySize; ++code) {
        if (CharSetHas(v.UpperUserFunctionTokens, code))
            e.UserFunctionSlot[code] = e.UserFunctionSlot[code - 8];
    }
}
