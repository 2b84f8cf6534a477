#include "engine/ArrayEvaluator.h"

#include "engine/BlockProgram.h"
#include "engine/BuiltinTable.h"
#include "engine/Calculus.h"
#include "engine/EvalRules.h"
#include "engine/References.h"
#include "engine/TokenCode.h"
#include "engine/TokenTable.h"
#include "model/BuiltinsElementary.h"
#include "model/BuiltinsOperators.h"
#include "model/Numeric.h"
#include "model/Options.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>
#include <optional>
#include <vector>

namespace {

// Arrays of 1612 values are too large for the machine's own stack: each
// nesting level keeps a pool that grows once and is reused by every call.
class ColumnWorkspace {
public:
    TColumnArray& acquire()
    {
        if (free_.empty()) {
            arrays_.push_back(std::make_unique<TColumnArray>());
            return *arrays_.back();
        }
        TColumnArray* a = free_.back();
        free_.pop_back();
        return *a;
    }
    void release(TColumnArray* a)
    {
        if (a)
            free_.push_back(a);
    }
    void releaseAll()
    {
        free_.clear();
        for (auto& a : arrays_)
            free_.push_back(a.get());
    }

private:
    std::vector<std::unique_ptr<TColumnArray>> arrays_;
    std::vector<TColumnArray*> free_;
};

// Each thread evaluates in workspaces of its own.
std::vector<std::unique_ptr<ColumnWorkspace>>& Workspaces()
{
    thread_local std::vector<std::unique_ptr<ColumnWorkspace>> pools;
    return pools;
}

thread_local constinit int ArrayDepth = 0;
// Set once a nesting reaches the limit: every evaluation still open gives up
// at once, so a cycle that branches ends in linear time too.
thread_local constinit bool ArrayDepthExceeded = false;

// One workspace per nesting level, released when the level ends.
struct WorkspaceLease {
    ColumnWorkspace* ws = nullptr;
    bool ok;
    WorkspaceLease()
    {
        if (ArrayDepth >= MaxEvaluationDepth)
            ArrayDepthExceeded = true;
        ok = !ArrayDepthExceeded;
        if (!ok)
            return;
        auto& pools = Workspaces();
        if (static_cast<int>(pools.size()) <= ArrayDepth)
            pools.push_back(std::make_unique<ColumnWorkspace>());
        ws = pools[ArrayDepth].get();
        ++ArrayDepth;
    }
    ~WorkspaceLease()
    {
        if (!ok)
            return;
        if (--ArrayDepth == 0)
            ArrayDepthExceeded = false;
        ws->releaseAll();
    }
};

void FillUndefinedOutside(TColumnArray& a, const TColumnAxis& axis)
{
    a.Fill(TColumnArray::First, axis.Vlow - 1, ValueUndefined(KindReal));
    a.Fill(axis.VHigh + 1, TColumnArray::Last, ValueUndefined(KindReal));
}

// ValueSnap over the columns of a range: every defined X, and Y of pairs.
// Written unconditionally, so that -0 becomes +0 as it does in ValueSnap.
void SnapColumns(TColumnArray& a, int first, int last)
{
    long double* x = a.XLane();
    long double* y = a.YLane();
    const std::uint8_t* kind = a.KindLane();
    const std::uint8_t* defined = a.DefinedLane();
    for (int c = first; c <= last; ++c) {
        if (!defined[c])
            continue;
        x[c] = SnapToInteger(x[c]);
        if (y && kind[c] == KindPair)
            y[c] = SnapToInteger(y[c]);
    }
}

TValue ObjectPosition(const TPointState& s, int part)
{
    // Points and circles have a position; lines keep their one coordinate.
    const bool positioned = s.Kind == 1 || s.Kind == 2;
    switch (part) {
    case 1: return (positioned || s.Kind == 4) ? ValueReal(s.X) : ValueUndefined(KindReal);
    case 2: return (positioned || s.Kind == 3) ? ValueReal(s.Y) : ValueUndefined(KindReal);
    case 3: return s.Kind == 2 ? ValueReal(s.R) : ValueUndefined(KindReal);
    default: return positioned ? ValuePoint(s.X, s.Y) : ValueUndefined(KindPair);
    }
}

// Routines that take value records run over blocks of this many columns.
constexpr int BlockColumns = 64;

// One entry of the machine's stack: an array of columns, or (a == nullptr)
// one value that stands for every column. Arrays the machine owns may be
// overwritten and go back to the workspace; inputs, the varying parameter
// and graph caches are borrowed: read, never written, not given back.
struct TStackEntry {
    const TColumnArray* a = nullptr;
    TColumnArray* own = nullptr; // a, when the machine owns it
    TValue u;
};

TStackEntry Owned(TColumnArray* a)
{
    return TStackEntry{a, a, TValue{}};
}

TStackEntry Borrowed(const TColumnArray* a)
{
    return TStackEntry{a, nullptr, TValue{}};
}

// The operands of real arithmetic, read from the lanes of an array or from
// one value that stands for every column.
struct ColumnOperand {
    const TColumnArray* a;
    const long double* x;
    const std::uint8_t* kind;
    const std::uint8_t* defined;
    explicit ColumnOperand(const TColumnArray& array)
        : a(&array)
        , x(array.XLane())
        , kind(array.KindLane())
        , defined(array.DefinedLane())
    {
    }
    bool real(int c) const { return kind[c] == KindReal && defined[c]; }
    long double value(int c) const { return x[c]; }
    TValue at(int c) const { return a->At(c); }
};

struct UniformOperand {
    TValue u;
    bool isReal;
    explicit UniformOperand(const TValue& v)
        : u(v)
        , isReal(v.Kind == KindReal && v.Defined)
    {
    }
    bool real(int) const { return isReal; }
    long double value(int) const { return u.X; }
    const TValue& at(int) const { return u; }
};

// "+", "-", "·" and "×" over a range of columns: two defined reals are
// computed on the lanes, anything else by the operator's routine.
template <class L, class R, class Op>
void RealArithmeticColumns(TColumnArray& out, int first, int last, const L& l, const R& r, Op op,
                           TBinaryRoutine routine)
{
    long double* x = out.XLane();
    long double* y = out.YLane();
    std::uint8_t* kind = out.KindLane();
    std::uint8_t* defined = out.DefinedLane();
    for (int c = first; c <= last; ++c) {
        if (l.real(c) && r.real(c)) {
            const long double v = op(l.value(c), r.value(c));
            const bool usable = InUsableRange(v);
            x[c] = usable ? v : 0.0L;
            kind[c] = KindReal;
            defined[c] = usable;
            if (y)
                y[c] = 0.0L;
        } else {
            out.Set(c, routine(l.at(c), r.at(c)));
            y = out.YLane();
        }
    }
}

long double RealArithmetic(Rule rule, long double a, long double b)
{
    return rule == Rule::Add ? a + b : rule == Rule::Subtract ? a - b : a * b;
}

struct TArrayFrame {
    std::uint8_t Kind = BinderSum;
    int ParamNo = 0;
    int BodyStart = 0;
    std::int64_t Count = 0;
    int Node = 1;
    long double Current = 0.0L;
    long double Last = 0.0L;
    long double Half = 0.0L;
    long double Mid = 0.0L;
    long double SavedSlot = 0.0L;
    const TColumnArray* SavedInput = nullptr; // the x or y input before the loop
    TColumnArray* Bound = nullptr;            // the bound x or y input while the loop runs
    TColumnArray* Acc = nullptr;
    bool BoundsOk = false;
    int Slices = 1;
};

class ArrayMachine {
public:
    ArrayMachine(const TFormulaView& f, const TColumnArray& x, const TColumnArray& y, const TColumnArray& z,
                 const TColumnArray& w, const TArrayView& view, int varyingParam, const TColumnArray* varying,
                 bool refresh, const TEvalEnv& env, ColumnWorkspace& ws)
        : f_(f)
        , x_(&x)
        , y_(&y)
        , z_(&z)
        , w_(&w)
        , view_(view)
        , axis_(view.XAxis)
        , varyingParam_(varying ? varyingParam : 0)
        , varying_(varying)
        , refresh_(refresh)
        , env_(&env)
        , ws_(ws)
    {
    }

    void run(TColumnArray& result);

private:
    int first() const { return axis_.Vlow; }
    int last() const { return axis_.VHigh; }
    int columns() const { return std::max(1, last() - first() + 1); }

    TColumnArray* fresh() { return &ws_.acquire(); }
    TColumnArray* filled(const TValue& v)
    {
        TColumnArray* a = fresh();
        FillColumns(*a, v, axis_);
        return a;
    }
    TColumnArray* copyOf(const TColumnArray& from)
    {
        TColumnArray* a = fresh();
        a->CopyFrom(from, first(), last());
        return a;
    }
    void push(TColumnArray* a) { pushColumn(Owned(a)); }
    void pushBorrowed(const TColumnArray* a) { pushColumn(Borrowed(a)); }
    // Constants, parameters and other values that are the same in every
    // column stay one value until an operation needs them spread out.
    void pushUniform(const TValue& v) { pushColumn(TStackEntry{nullptr, nullptr, v}); }
    void pushColumn(const TStackEntry& e)
    {
        if (count_ >= EvaluationStackSize) {
            failed_ = true;
            drop(e);
            return;
        }
        stack_[count_++] = e;
    }
    TStackEntry popColumn()
    {
        return count_ > 0 ? stack_[--count_] : TStackEntry{nullptr, nullptr, ValueUndefined(KindReal)};
    }
    // The top entry as an array, spread out when it is uniform.
    TStackEntry pop()
    {
        const TStackEntry e = popColumn();
        return e.a ? e : Owned(filled(e.u));
    }
    // Every array the machine owns goes back to the workspace once used.
    void drop(const TStackEntry& e) { release(e.own); }
    void release(TColumnArray* a) { ws_.release(a); }
    // An array the operation may overwrite: a borrowed one is copied first.
    TColumnArray* writable(const TStackEntry& e) { return e.own ? e.own : copyOf(*e.a); }
    // Where an operation on these operands writes: an operand the machine
    // owns, else a new array.
    TColumnArray* target(const TStackEntry& l, const TStackEntry& r) { return l.own ? l.own : r.own ? r.own : fresh(); }
    // Gives back the operands that did not become out.
    void dropOperands(const TStackEntry& l, const TStackEntry& r, const TColumnArray* out)
    {
        if (l.own != out)
            drop(l);
        if (r.own != out)
            drop(r);
    }
    TValue popFirst()
    {
        const TStackEntry e = popColumn();
        const TValue v = e.a ? e.a->At(first()) : e.u;
        drop(e);
        return v;
    }

    void step(TTokenCode t, Rule rule, int& p);
    void unary(TUnaryRoutine routine);
    void binary(TBinaryRoutine routine);
    void arithmetic(Rule rule, TBinaryRoutine routine);
    template <class Op>
    void combine(const TStackEntry& l, const TStackEntry& r, Op op);
    void equality();
    void stepsize();
    void graph(TTokenCode t);
    void object(int i, int part);
    void objectComponent();
    void userFunction(TTokenCode t);
    void derivative(int order, const TFormulaView& body, const TColumnArray& a1, const TColumnArray& a2,
                    const TColumnArray& a3, const TColumnArray& a4, TColumnArray& out);
    void antiderivative(const TFormulaView& body, const TColumnArray& a1, const TColumnArray& a2,
                        const TColumnArray& a3, const TColumnArray& a4, TColumnArray& out);
    void multi(TTokenCode t, bool path);
    void openLoop(std::uint8_t kind, int p);
    void openIntegral(int p);
    bool takeVariable(TArrayFrame& f, int number);
    void bindVariable(TArrayFrame& f);
    void restoreVariable(const TArrayFrame& f);
    TEvalEnv& bindingEnv();
    void closeBinder(int& p);
    void cofOrSol(bool sol, int& p);
    bool varies(const TPointFunction& p) const;
    // True while an open Sum, Product or Intgr binds the parameter slot.
    bool boundByBinder(int slot) const
    {
        for (int i = 0; i < open_; ++i) {
            if (frames_[i].ParamNo == slot)
                return true;
        }
        return false;
    }
    // The varying parameter as the formulas evaluated inside see it: none
    // while a binder binds it, whose value they read then.
    int nestedVaryingParam() const { return boundByBinder(varyingParam_) ? 0 : varyingParam_; }

    TFormulaView f_;
    const TColumnArray* x_;
    const TColumnArray* y_;
    const TColumnArray* z_;
    const TColumnArray* w_;
    const TArrayView& view_;
    TColumnAxis axis_;
    int varyingParam_;
    const TColumnArray* varying_;
    bool refresh_;
    // The caller's parameters; once a binder opens, the machine's own copy
    // of them, in which the binders bind their variables.
    const TEvalEnv* env_;
    std::optional<TEvalEnv> boundEnv_;
    ColumnWorkspace& ws_;
    TStackEntry stack_[EvaluationStackSize];
    int count_ = 0;
    TArrayFrame frames_[MaxOpenBinders];
    int open_ = 0;
    bool failed_ = false;
};

void ArrayMachine::run(TColumnArray& result)
{
    const int n = static_cast<int>(f_.Code.size());
    // Work is tokens times columns; loops charge their repeats.
    ChargeEvaluationWork(std::int64_t{n} * columns());
    for (int p = 0; p < n && !failed_ && !ArrayDepthExceeded && !EvaluationStopped(); ++p) {
        const TTokenCode t = f_.Code[p].unicode();
        step(t, RuleOf(t), p);
    }
    while (open_ > 0)
        restoreVariable(frames_[--open_]);
    if (failed_ || ArrayDepthExceeded || EvaluationStopped() || count_ == 0) {
        FillColumns(result, ValueUndefined(KindReal), axis_);
        return;
    }
    const TStackEntry top = popColumn();
    if (!top.a) {
        FillColumns(result, ValueSnap(top.u), axis_);
        return;
    }
    if (!top.own) {
        result.CopyFrom(*top.a, first(), last());
        SnapColumns(result, first(), last());
        return;
    }
    // The machine's own array becomes the result: snapped in place and
    // handed over without a copy.
    SnapColumns(*top.own, first(), last());
    result.swap(*top.own);
    drop(top);
}

void ArrayMachine::step(TTokenCode t, Rule rule, int& p)
{
    const TNamedTokens& k = TokenCodes;
    switch (rule) {
    case Rule::None: return;
    case Rule::InputX: pushBorrowed(x_); return;
    case Rule::InputY: pushBorrowed(y_); return;
    case Rule::InputZ: pushBorrowed(z_); return;
    case Rule::InputW: pushBorrowed(w_); return;
    case Rule::Pi: pushUniform(ValuePi()); return;
    case Rule::E: pushUniform(ValueE()); return;
    case Rule::I: pushUniform(ValueI()); return;
    case Rule::SZero: pushUniform(SZeroValue); return;
    case Rule::Undefined: pushUniform(ValueUndefined(KindReal)); return;
    case Rule::Parameter:
        if (varyingParam_ > 0 && ParamIndexOfToken(t) == varyingParam_ && !boundByBinder(varyingParam_))
            pushBorrowed(varying_);
        else
            pushUniform(ValueReal(ParamValue(t, *env_)));
        return;
    case Rule::Graph: graph(t); return;
    case Rule::AxisX:
    case Rule::AxisY: {
        const TColumnArray& a = rule == Rule::AxisX ? *x_ : *z_;
        const TColumnArray& b = rule == Rule::AxisX ? *y_ : *w_;
        TColumnArray* out = fresh();
        for (int c = first(); c <= last(); ++c)
            out->Set(c, ValueMakePoint(a.At(c), b.At(c)));
        push(out);
        return;
    }
    case Rule::Object: object(t - Vocabulary.PointTokens[1] + 1, 0); return;
    case Rule::Constant: pushUniform(f_.ConstValues ? (*f_.ConstValues)[ConstantSlot(t)] : ValueUndefined(KindReal)); return;
    case Rule::Unary: unary(BuiltinTable.Unary[t]); return;
    case Rule::Stepsize: stepsize(); return;
    case Rule::PopToUndefined:
        drop(popColumn());
        pushUniform(ValueUndefined(KindReal));
        return;
    case Rule::Add:
    case Rule::Subtract:
    case Rule::Multiply:
        arithmetic(rule, BuiltinTable.Binary[t]);
        return;
    case Rule::Binary:
        if (t == k.Equal)
            equality();
        else
            binary(BuiltinTable.Binary[t]);
        return;
    case Rule::ObjectComponent: objectComponent(); return;
    case Rule::UserFunction: userFunction(t); return;
    case Rule::Multi: multi(t, false); return;
    case Rule::Path: multi(t, true); return;
    case Rule::Sum: openLoop(BinderSum, p); return;
    case Rule::Product: openLoop(BinderProduct, p); return;
    case Rule::Intgr: openIntegral(p); return;
    case Rule::Send: closeBinder(p); return;
    case Rule::Cof: cofOrSol(false, p); return;
    case Rule::Sol: cofOrSol(true, p); return;
    }
}

void ArrayMachine::unary(TUnaryRoutine routine)
{
    const TStackEntry in = popColumn();
    if (!in.a) {
        pushUniform(routine(in.u));
        return;
    }
    TColumnArray* out = in.own ? in.own : fresh();
    TValue args[BlockColumns];
    TValue results[BlockColumns];
    for (int c = first(); c <= last(); c += BlockColumns) {
        const int n = std::min(BlockColumns, last() - c + 1);
        in.a->ReadRecords(c, n, args);
        for (int i = 0; i < n; ++i)
            ::new (&results[i]) TValue(routine(args[i]));
        out->WriteRecords(c, n, results);
    }
    push(out);
}

// op over two entries, column by column; the result goes into an operand
// the machine owns, else into a new array, and stays one value when both
// operands are.
template <class Op>
void ArrayMachine::combine(const TStackEntry& l, const TStackEntry& r, Op op)
{
    if (!l.a && !r.a) {
        pushUniform(op(l.u, r.u));
        return;
    }
    TColumnArray* out = target(l, r);
    TValue left[BlockColumns];
    TValue right[BlockColumns];
    TValue results[BlockColumns];
    for (int c = first(); c <= last(); c += BlockColumns) {
        const int n = std::min(BlockColumns, last() - c + 1);
        if (l.a)
            l.a->ReadRecords(c, n, left);
        if (r.a)
            r.a->ReadRecords(c, n, right);
        for (int i = 0; i < n; ++i)
            ::new (&results[i]) TValue(op(l.a ? left[i] : l.u, r.a ? right[i] : r.u));
        out->WriteRecords(c, n, results);
    }
    dropOperands(l, r, out);
    push(out);
}

void ArrayMachine::binary(TBinaryRoutine routine)
{
    const TStackEntry r = popColumn();
    const TStackEntry l = popColumn();
    combine(l, r, routine);
}

void ArrayMachine::arithmetic(Rule rule, TBinaryRoutine routine)
{
    const TStackEntry r = popColumn();
    const TStackEntry l = popColumn();
    if (!l.a && !r.a) {
        const bool reals = UniformOperand(l.u).isReal && UniformOperand(r.u).isReal;
        const long double v = reals ? RealArithmetic(rule, l.u.X, r.u.X) : 0.0L;
        pushUniform(!reals ? routine(l.u, r.u) : InUsableRange(v) ? ValueReal(v) : ValueUndefined(KindReal));
        return;
    }
    TColumnArray* out = target(l, r);
    const auto columns = [&](const auto& left, const auto& right) {
        switch (rule) {
        case Rule::Add:
            RealArithmeticColumns(*out, first(), last(), left, right, std::plus<long double>(), routine);
            break;
        case Rule::Subtract:
            RealArithmeticColumns(*out, first(), last(), left, right, std::minus<long double>(), routine);
            break;
        default:
            RealArithmeticColumns(*out, first(), last(), left, right, std::multiplies<long double>(), routine);
            break;
        }
    };
    if (l.a && r.a)
        columns(ColumnOperand(*l.a), ColumnOperand(*r.a));
    else if (l.a)
        columns(ColumnOperand(*l.a), UniformOperand(r.u));
    else
        columns(UniformOperand(l.u), ColumnOperand(*r.a));
    dropOperands(l, r, out);
    push(out);
}

void ArrayMachine::equality()
{
    binary(ValueSubtract);
    const TStackEntry d = pop();
    TColumnArray* difference = writable(d);
    EqualityColumns(*difference, axis_, view_.YUnitsPerPixel);
    push(difference);
}

void ArrayMachine::stepsize()
{
    const TStackEntry e = pop();
    TColumnArray* a = writable(e);
    for (int c = first(); c <= last(); ++c) {
        const TValue v = a->At(c);
        const int slot = NearestInt(v.X);
        const bool ok = !NotRealValue(v) && slot >= -1 && slot <= ParamCount;
        a->Set(c, ok ? ValueReal(env_->Step(slot)) : ValueUndefined(KindReal));
    }
    push(a);
}

// A graph name pushes its column cache. Without refresh the cache is
// computed over the view's own columns (whether or not a parameter varies)
// when it is not current, so a stale cache is never pushed, with the
// parameters and nothing that this evaluation binds, as the view keeps it;
// with refresh it is recomputed over this evaluation's inputs.
void ArrayMachine::graph(TTokenCode t)
{
    GraphColumns* graphs = view_.Graphs;
    if (!graphs) {
        pushUniform(ValueUndefined(KindReal));
        return;
    }
    const int k = Vocabulary.FunctionIndexOfToken[t];
    const TKavirofunction& fn = DocumentTables.Functions[k].Func;
    if (refresh_) {
        pushBorrowed(&graphs->OverwriteCache(k, [&](TColumnArray& out) {
            EvaluateArrays(fn, *x_, view_, nestedVaryingParam(), varying_, refresh_, out, *env_);
        }));
        return;
    }
    const TColumnArray* cache = graphs->ValidCache(k);
    if (!cache) {
        cache = &graphs->RefreshCache(k, [&](TColumnArray& out) {
            EvaluateArrays(fn, graphs->ColumnX(), view_, 0, nullptr, false, out, env_->Unbound());
        });
    }
    pushBorrowed(cache);
}

bool ArrayMachine::varies(const TPointFunction& p) const
{
    if (varyingParam_ <= 0)
        return false;
    const TTokenCode param = Vocabulary.ParamTokens[varyingParam_];
    return RefersToToken(param, p.Pos) || RefersToToken(param, p.R);
}

void ArrayMachine::object(int i, int part)
{
    if (i < 1 || i > PointCount) {
        pushUniform(ValueUndefined(part >= 1 && part <= 3 ? KindReal : KindPair));
        return;
    }
    const TPointFunction& p = DocumentTables.Points[i];
    if (!varies(p)) {
        const TPointState state = view_.PointStates ? (*view_.PointStates)[i] : TPointState{};
        pushUniform(ObjectPosition(state, part));
        return;
    }
    TColumnArray* out = fresh();
    const bool component = part >= 1 && part <= 3;
    const TKavirofunction& fn = part == 1 ? p.X : part == 2 ? p.Y : part == 3 ? p.R : p.Pos;
    TColumnArray* xs = filled(ValueUndefined(component ? KindReal : KindPair));
    TColumnArray* ys = filled(ValueReal(env_->Value(0)));
    TColumnArray* zero = filled(ValueReal(0.0L));
    EvaluatePostfixArrays(ViewOf(fn), *xs, *ys, *zero, *zero, view_, nestedVaryingParam(), varying_, refresh_, *out,
                          *env_);
    release(xs);
    release(ys);
    release(zero);
    if (!component) {
        for (int c = first(); c <= last(); ++c)
            out->Set(c, ValueToPoint(out->At(c)));
    }
    push(out);
}

void ArrayMachine::objectComponent()
{
    const TValue part = popFirst();
    const TValue n = popFirst();
    object(NearestInt(n.X), NearestInt(part.X));
}

void ArrayMachine::userFunction(TTokenCode t)
{
    TStackEntry a4 = pop();
    TStackEntry a3 = pop();
    TStackEntry a2 = pop();
    TStackEntry a1 = pop();
    const TValue mode = popFirst();
    // A point as first argument feeds x and y; one in the third slot z and w.
    auto split = [this](const TStackEntry& pair, TStackEntry& xs, TStackEntry& ys) {
        TColumnArray* xa = fresh();
        TColumnArray* ya = fresh();
        for (int c = first(); c <= last(); ++c) {
            const TValue v = pair.a->At(c);
            xa->Set(c, ValueX(v));
            ya->Set(c, ValueY(v));
        }
        drop(pair);
        xs = Owned(xa);
        ys = Owned(ya);
    };
    if (a1.a->Kind(first()) == KindPair) {
        drop(a4);
        a4 = a3;
        a3 = a2;
        const TStackEntry pair = a1;
        split(pair, a1, a2);
    }
    if (a3.a->Kind(first()) == KindPair) {
        drop(a4);
        const TStackEntry pair = a3;
        split(pair, a3, a4);
    }
    const TFormulaView body = ViewOf(DocumentTables.UserFunctions[EvalTables.UserFunctionSlot[t]]);
    TColumnArray* out = fresh();
    switch (NearestInt(mode.X)) {
    case 0:
        EvaluatePostfixArrays(body, *a1.a, *a2.a, *a3.a, *a4.a, view_, nestedVaryingParam(), varying_, refresh_, *out,
                              *env_);
        break;
    case 1: derivative(1, body, *a1.a, *a2.a, *a3.a, *a4.a, *out); break;
    case 2: derivative(2, body, *a1.a, *a2.a, *a3.a, *a4.a, *out); break;
    case 3: antiderivative(body, *a1.a, *a2.a, *a3.a, *a4.a, *out); break;
    default: FillColumns(*out, ValueUndefined(KindReal), axis_); break;
    }
    for (const TStackEntry& a : {a1, a2, a3, a4})
        drop(a);
    push(out);
}

// f' and f'' at every column from seven samples; an undefined sample makes
// its column undefined (no retry over columns).
void ArrayMachine::derivative(int order, const TFormulaView& body, const TColumnArray& a1, const TColumnArray& a2,
                              const TColumnArray& a3, const TColumnArray& a4, TColumnArray& out)
{
    const TCalculusTables& tables = CalculusTables;
    long double h = 1.0L / 64.0L;
    if (order == 1)
        h = std::min(h, axis_.UnitsPerPixel() / 4.0L);
    TColumnArray* samples[7];
    TColumnArray* xs = fresh();
    for (int k = 0; k < 7; ++k) {
        for (int c = first(); c <= last(); ++c) {
            xs->Set(c, a1.Defined(c) ? ValueReal(a1.X(c) + tables.DerivStepOffsets[k] * h)
                                     : ValueUndefined(KindReal));
        }
        samples[k] = fresh();
        EvaluatePostfixArrays(body, *xs, a2, a3, a4, view_, nestedVaryingParam(), varying_, refresh_, *samples[k],
                              *env_);
    }
    release(xs);
    const std::array<long double, 7>& weights = tables.DerivWeights[order];
    for (int c = first(); c <= last(); ++c) {
        bool defined = a1.Defined(c) != 0;
        long double sx = 0.0L, sy = 0.0L;
        for (int k = 0; k < 7 && defined; ++k) {
            const TColumnArray& s = *samples[k];
            defined = s.Defined(c) != 0;
            sx += weights[k] * s.X(c);
            sy += weights[k] * s.Y(c);
        }
        const std::uint8_t kind = samples[3]->Kind(c) == KindPair ? KindPair : KindReal;
        if (!defined) {
            out.Set(c, ValueUndefined(kind));
            continue;
        }
        const long double scale = order == 2 ? h * h : h;
        const TValue v = kind == KindPair ? ValuePoint(sx / scale, sy / scale) : ValueReal(sx / scale);
        out.Set(c, ValueCheckRange(v) ? v : ValueUndefined(kind));
    }
    for (TColumnArray* a : samples)
        release(a);
}

// F at every column from one polynomial fit over the span of the columns.
void ArrayMachine::antiderivative(const TFormulaView& body, const TColumnArray& a1, const TColumnArray& a2,
                                  const TColumnArray& a3, const TColumnArray& a4, TColumnArray& out)
{
    FillColumns(out, ValueUndefined(KindReal), axis_);
    TColumnArray* values = fresh();
    EvaluatePostfixArrays(body, a1, a2, a3, a4, view_, nestedVaryingParam(), varying_, refresh_, *values, *env_);
    bool allDefined = true;
    for (int c = first(); c <= last() && allDefined; ++c)
        allDefined = a1.Defined(c) && values->Defined(c);
    release(values);
    if (!allDefined)
        return;
    // One fit for all columns, over the span from the last column's x to 0;
    // near 0 the span reaches out to 5 so that the nodes never collapse.
    const long double lastX = a1.X(last());
    TLgrComp fit;
    fit.Degree = 8;
    fit.Build(body, a2.At(last()), std::fabs(lastX) > 1.0L ? lastX : 5.0L, 0.0L, a3.At(last()), a4.At(last()),
              *env_);
    if (!fit.Valid)
        return;
    for (int c = first(); c <= last(); ++c)
        out.Set(c, fit.IntegrateFromZero(a1.At(c)));
}

void ArrayMachine::multi(TTokenCode t, bool path)
{
    const int n = NearestInt(popFirst().X);
    if (n < 0 || n > MaxArgumentCount || n > count_) {
        failed_ = true;
        return;
    }
    TStackEntry args[MaxArgumentCount];
    for (int i = 0; i < n; ++i)
        args[i] = pop();
    TColumnArray* out = fresh();
    if (path) {
        // The points come from the first column; the curve is built once.
        TValue xs[TLgrComp::MaxDegree + 1], ys[TLgrComp::MaxDegree + 1];
        const int points = n - 1;
        bool ok = points >= 2 && points <= TLgrComp::MaxDegree + 1;
        for (int i = 0; i < points && ok; ++i) {
            const TValue p = args[i].a->At(first());
            ok = p.Kind == KindPair && p.Defined;
            xs[i] = ValueReal(p.X);
            ys[i] = ValueReal(p.Y);
        }
        TLgrComp fit;
        if (ok)
            fit.BuildFromPoints(std::span<const TValue>(xs, points), std::span<const TValue>(ys, points));
        for (int c = first(); c <= last(); ++c) {
            const TValue at = ok ? args[n - 1].a->At(c) : ValueUndefined(KindReal);
            out->Set(c, !NotRealValue(at) ? fit.Evaluate(at.X) : ValueUndefined(KindReal));
        }
    } else {
        const TMultiRoutine routine = BuiltinTable.Multi[t];
        TValue column[MaxArgumentCount];
        for (int c = first(); c <= last(); ++c) {
            for (int i = 0; i < n; ++i)
                column[i] = args[i].a->At(c);
            out->Set(c, routine ? routine(std::span<const TValue>(column, n)) : ValueUndefined(KindReal));
        }
    }
    for (int i = 0; i < n; ++i)
        drop(args[i]);
    push(out);
}

bool ArrayMachine::takeVariable(TArrayFrame& f, int number)
{
    if (number < -1 || number > ParamCount)
        return false;
    f.ParamNo = number;
    f.SavedSlot = env_->Value(number);
    f.SavedInput = number == -1 ? x_ : number == 0 ? y_ : nullptr;
    return true;
}

// The environment the binders bind in, made from the caller's when the
// first one opens.
TEvalEnv& ArrayMachine::bindingEnv()
{
    if (!boundEnv_) {
        boundEnv_.emplace(*env_);
        env_ = &*boundEnv_;
    }
    return *boundEnv_;
}

// The bound variable takes Current in its slot and, for x and y, in the input.
void ArrayMachine::bindVariable(TArrayFrame& f)
{
    bindingEnv().Bind(f.ParamNo, f.Current);
    if (f.ParamNo != -1 && f.ParamNo != 0)
        return;
    if (!f.Bound)
        f.Bound = fresh();
    FillColumns(*f.Bound, ValueReal(f.Current), axis_);
    (f.ParamNo == -1 ? x_ : y_) = f.Bound;
}

void ArrayMachine::restoreVariable(const TArrayFrame& f)
{
    bindingEnv().Bind(f.ParamNo, f.SavedSlot);
    if (f.ParamNo == -1)
        x_ = f.SavedInput;
    else if (f.ParamNo == 0)
        y_ = f.SavedInput;
    release(f.Bound);
}

void ArrayMachine::openLoop(std::uint8_t kind, int p)
{
    if (open_ >= MaxOpenBinders) {
        failed_ = true;
        return;
    }
    TArrayFrame& f = frames_[open_];
    f = TArrayFrame{};
    f.Kind = kind;
    f.BodyStart = p + 1;
    f.Acc = filled(ValuePoint(kind == BinderSum ? 0.0L : 1.0L, 0.0L));
    // Bounds come from the first column: they may not depend on x.
    const TValue upper = popFirst();
    const TValue lower = popFirst();
    const TLoopStart start = LoopStart(lower, upper);
    f.Last = start.Last;
    f.BoundsOk = start.BoundsOk;
    f.Current = start.Current;
    if (!takeVariable(f, NearestInt(popFirst().X))) {
        release(f.Acc);
        failed_ = true;
        return;
    }
    ++open_;
    bindVariable(f);
}

void ArrayMachine::openIntegral(int p)
{
    if (open_ >= MaxOpenBinders) {
        failed_ = true;
        return;
    }
    TArrayFrame& f = frames_[open_];
    f = TArrayFrame{};
    f.Kind = BinderIntgr;
    f.BodyStart = p + 1;
    const TValue b = popFirst();
    const TValue a = popFirst();
    f.Acc = filled(ValuePoint(0.0L, 0.0L));
    const TIntegralStart start = IntegralStart(a, b);
    f.Slices = start.Slices;
    f.BoundsOk = start.BoundsOk;
    f.Half = start.Half;
    f.Mid = start.Mid;
    f.Current = start.Current;
    if (!takeVariable(f, NearestInt(popFirst().X))) {
        release(f.Acc);
        failed_ = true;
        return;
    }
    ++open_;
    bindVariable(f);
}

void ArrayMachine::closeBinder(int& p)
{
    const TStackEntry bodyEntry = pop();
    const TColumnArray& body = *bodyEntry.a;
    if (open_ == 0) {
        drop(bodyEntry);
        failed_ = true;
        return;
    }
    TArrayFrame& f = frames_[open_ - 1];
    TColumnArray& acc = *f.Acc;
    std::uint8_t* accKind = acc.KindLane();
    bool more = false;
    if (f.Kind == BinderIntgr) {
        const long double weight = CalculusTables.GaussWeights[f.Node];
        for (int c = first(); c <= last(); ++c) {
            if (f.Count == 0 && f.Node == 1)
                accKind[c] = body.Kind(c);
            if (f.Count < f.Slices && body.Defined(c))
                acc.Set(c, ValueAddCore(acc.At(c), ValueMultiply(body.At(c), ValueReal(weight))));
            if (!f.BoundsOk)
                acc.Set(c, ValueUndefined(body.Kind(c)));
        }
        if (++f.Node == 6) {
            ++f.Count;
            f.Node = 1;
            f.Mid += 2.0L * f.Half;
        }
        f.Current = f.Half * CalculusTables.GaussNodes[f.Node] + f.Mid;
        bindVariable(f);
        more = f.BoundsOk && f.Count < f.Slices;
        if (!more && f.BoundsOk) {
            for (int c = first(); c <= last(); ++c)
                acc.Set(c, ValueMultiply(ValueReal(f.Half), acc.At(c)));
        }
    } else {
        const bool accumulate = f.BoundsOk && f.Current <= f.Last;
        for (int c = first(); c <= last(); ++c) {
            if (f.Count == 0)
                accKind[c] = body.Kind(c);
            if (accumulate) {
                const TValue a = acc.At(c);
                acc.Set(c, f.Kind == BinderSum ? ValueAddCore(a, body.At(c)) : ValueMultiply(a, body.At(c)));
            } else if (!f.BoundsOk) {
                acc.Set(c, ValueUndefined(body.Kind(c)));
            }
        }
        ++f.Count;
        if (f.BoundsOk) {
            const long double next = f.Current + 1.0L;
            if (next == f.Current) {
                for (int c = first(); c <= last(); ++c)
                    acc.Set(c, ValueUndefined(body.Kind(c)));
            } else {
                f.Current = next;
                bindVariable(f);
                more = f.Current <= f.Last;
            }
        }
    }
    drop(bodyEntry);
    if (more) {
        ChargeEvaluationWork(std::int64_t{p - f.BodyStart + 1} * columns());
        p = f.BodyStart - 1;
        return;
    }
    push(f.Acc);
    restoreVariable(f);
    --open_;
}

void ArrayMachine::cofOrSol(bool sol, int& p)
{
    const TStackEntry k = pop();
    const int rel = FindMatchingSend(f_.Code, p);
    if (rel < 0) {
        drop(k);
        failed_ = true;
        return;
    }
    const TFormulaView body{f_.Code.mid(p + 1, rel - 1), f_.ConstValues};
    TColumnArray* out = fresh();
    if (sol) {
        for (int c = first(); c <= last(); ++c) {
            out->Set(c, k.a->Defined(c)
                            ? SolValue(body, NearestInt(k.a->X(c)), y_->At(c), z_->At(c), w_->At(c), *env_)
                            : ValueUndefined(KindReal));
        }
    } else {
        const TValue k0 = k.a->At(first());
        const bool ok = k0.Defined && k0.X >= 0.0L && k0.X < 10.0L;
        FillColumns(*out, ok ? CofValue(NearestInt(k0.X), body, *env_) : ValueUndefined(KindReal), axis_);
    }
    drop(k);
    push(out);
    p += rel;
}

// True when the code reads an input or a graph name: otherwise one scalar
// evaluation fills every column.
bool DependsOnColumns(QStringView code)
{
    const TNamedTokens& t = TokenCodes;
    for (QChar ch : code) {
        const TTokenCode c = ch.unicode();
        if (c == t.VarX || c == t.VarY || c == t.VarZ || c == t.VarW || c == t.AxisX || c == t.AxisY
            || CharSetHas(Vocabulary.GraphTokens, c))
            return true;
    }
    return false;
}

// True when the code reads the y, z or w inputs itself: their tokens, the
// points X and Y, or sol, which passes them on.
bool ReadsYZW(QStringView code)
{
    const TNamedTokens& t = TokenCodes;
    for (QChar ch : code) {
        const TTokenCode c = ch.unicode();
        if (c == t.VarY || c == t.VarZ || c == t.VarW || c == t.AxisX || c == t.AxisY || c == t.Sol)
            return true;
    }
    return false;
}

} // namespace

void FillColumns(TColumnArray& target, const TValue& value, const TColumnAxis& axis)
{
    target.Fill(axis.Vlow, axis.VHigh, value);
}

void ScaleColumns(TColumnArray& target, long double factor, const TColumnAxis& axis)
{
    long double* x = target.XLane();
    long double* y = target.YLane();
    const std::uint8_t* kind = target.KindLane();
    const std::uint8_t* defined = target.DefinedLane();
    for (int c = axis.Vlow; c <= axis.VHigh; ++c) {
        if (!defined[c])
            continue;
        x[c] *= factor;
        if (y && kind[c] == KindPair)
            y[c] *= factor;
    }
}

void EqualityColumns(TColumnArray& d, const TColumnAxis& axis, long double yUnitsPerPixel)
{
    const int first = axis.Vlow;
    const int last = axis.VHigh;
    if (d.Kind(first) != KindReal) {
        for (int c = first; c <= last; ++c)
            d.Set(c, ValueEqual(d.At(c), ValueReal(0.0L)));
        d.Set(first, ValueUndefined(KindReal));
        d.Set(last, ValueUndefined(KindReal));
        return;
    }
    // Decided from the differences before any column is overwritten.
    const TColumnArray diff = d;
    const long double* x = diff.XLane();
    const std::uint8_t* kind = diff.KindLane();
    const std::uint8_t* defined = diff.DefinedLane();
    auto crossesTo = [&](int c, int n) {
        return defined[n] && kind[n] == KindReal && ((x[c] < 0.0L && x[n] > 0.0L) || (x[c] > 0.0L && x[n] < 0.0L))
               && std::fabs(x[c]) < std::fabs(x[n]);
    };
    for (int c = first + 1; c < last; ++c) {
        bool holds = false;
        if (defined[c] && kind[c] == KindReal) {
            const long double m = std::fabs(x[c]);
            holds = x[c] == 0.0L || crossesTo(c, c - 1) || crossesTo(c, c + 1)
                    || (defined[c - 1] && defined[c + 1] && m <= yUnitsPerPixel && std::fabs(x[c - 1]) > m
                        && m < std::fabs(x[c + 1]));
        }
        d.Set(c, holds ? ValueReal(1.0L) : ValueUndefined(KindReal));
    }
    d.Set(first, ValueUndefined(KindReal));
    d.Set(last, ValueUndefined(KindReal));
}

void EvaluatePostfixArrays(const TFormulaView& formula, const TColumnArray& x, const TColumnArray& y,
                           const TColumnArray& z, const TColumnArray& w, const TArrayView& view, int varyingParam,
                           const TColumnArray* varyingValues, bool refresh, TColumnArray& result, const TEvalEnv& env)
{
    const TColumnAxis& axis = view.XAxis;
    // A value for every column, each with the budget of one scalar value.
    const TEvaluationScope scope(std::max(1, axis.VHigh - axis.Vlow + 1));
    WorkspaceLease lease;
    if (!lease.ok || formula.Code.isEmpty() || EvaluationStopped()) {
        FillColumns(result, ValueUndefined(KindReal), axis);
    } else if (!EvaluateBlockColumns(formula, ColumnInputs(x, y, z, w, varyingParam, varyingValues), env, axis.Vlow,
                                     axis.VHigh, result)) {
        ArrayMachine machine(formula, x, y, z, w, view, varyingParam, varyingValues, refresh, env, *lease.ws);
        machine.run(result);
    }
    FillUndefinedOutside(result, axis);
}

void EvaluateArrays(const TKavirofunction& record, const TColumnArray& x, const TArrayView& view, int varyingParam,
                    const TColumnArray* varyingValues, bool refresh, TColumnArray& result, const TEvalEnv& env)
{
    const TColumnAxis& axis = view.XAxis;
    const bool varies = varyingParam > 0 && varyingValues;
    if (record.Code.isEmpty()) {
        FillColumns(result, ValueUndefined(KindReal), axis);
        FillUndefinedOutside(result, axis);
        return;
    }
    if (!varies && !DependsOnColumns(record.Code)) {
        FillColumns(result, EvaluateExpression(record, ValueUndefined(KindReal), env), axis);
        FillUndefinedOutside(result, axis);
        return;
    }
    WorkspaceLease lease;
    if (!lease.ok) {
        FillColumns(result, ValueUndefined(KindReal), axis);
        FillUndefinedOutside(result, axis);
        return;
    }
    // y, z and w are single values here: a block program computes what
    // depends on them once.
    if (EvaluateBlockColumns(ViewOf(record), RowInputs(x, env.Value(0), varyingParam, varyingValues), env, axis.Vlow,
                             axis.VHigh, result)) {
        FillUndefinedOutside(result, axis);
        return;
    }
    TColumnArray& ys = lease.ws->acquire();
    TColumnArray& zeros = lease.ws->acquire();
    // Most formulas never read y, z or w: filling 1612 columns twice would
    // cost more than evaluating them.
    if (ReadsYZW(record.Code)) {
        FillColumns(ys, ValueReal(env.Value(0)), axis);
        FillColumns(zeros, ValueReal(0.0L), axis);
    }
    EvaluatePostfixArrays(ViewOf(record), x, ys, zeros, zeros, view, varyingParam, varyingValues, refresh, result, env);
}
