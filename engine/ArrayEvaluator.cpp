#include "engine/ArrayEvaluator.h"

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

std::vector<std::unique_ptr<ColumnWorkspace>>& Workspaces()
{
    static std::vector<std::unique_ptr<ColumnWorkspace>> pools;
    return pools;
}

int ArrayDepth = 0;
// Set once a nesting reaches the limit: every evaluation still open gives up
// at once, so a cycle that branches ends in linear time too.
bool ArrayDepthExceeded = false;

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
    for (int c = TColumnArray::First; c <= TColumnArray::Last; ++c) {
        if (c < axis.Vlow || c > axis.VHigh)
            a[c] = ValueUndefined(KindReal);
    }
}

void Copy(TColumnArray& to, const TColumnArray& from, const TColumnAxis& axis)
{
    for (int c = axis.Vlow; c <= axis.VHigh; ++c)
        to[c] = from[c];
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

// One entry of the machine's stack: an array of columns, or (a == nullptr)
// one value that stands for every column.
struct TStackEntry {
    TColumnArray* a = nullptr;
    TValue u;
};

struct TArrayFrame {
    std::uint8_t Kind = BinderSum;
    int ParamNo = 0;
    int BodyStart = 0;
    int Count = 0;
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
                 bool refresh, ColumnWorkspace& ws)
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
        , ws_(ws)
    {
    }

    void run(TColumnArray& result);

private:
    int first() const { return axis_.Vlow; }
    int last() const { return axis_.VHigh; }

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
        Copy(*a, from, axis_);
        return a;
    }
    void push(TColumnArray* a) { pushColumn(TStackEntry{a, TValue{}}); }
    // Constants, parameters and other values that are the same in every
    // column stay one value until an operation needs them spread out.
    void pushUniform(const TValue& v) { pushColumn(TStackEntry{nullptr, v}); }
    void pushColumn(const TStackEntry& e)
    {
        if (count_ >= EvaluationStackSize) {
            failed_ = true;
            drop(e.a);
            return;
        }
        stack_[count_++] = e;
    }
    TStackEntry popColumn() { return count_ > 0 ? stack_[--count_] : TStackEntry{nullptr, ValueUndefined(KindReal)}; }
    // The top entry as an array, spread out when it is uniform.
    TColumnArray* pop()
    {
        const TStackEntry e = popColumn();
        return e.a ? e.a : filled(e.u);
    }
    // Inputs, the varying parameter and graph caches go on the stack without
    // a copy; they are read, never written, and not given back.
    void pushBorrowed(const TColumnArray* a)
    {
        borrowed_.push_back(a);
        push(const_cast<TColumnArray*>(a));
    }
    bool isBorrowed(const TColumnArray* a) const
    {
        return std::find(borrowed_.begin(), borrowed_.end(), a) != borrowed_.end();
    }
    // Every array the machine owns goes back to the workspace once used.
    void drop(TColumnArray* a)
    {
        if (!a)
            return;
        const auto it = std::find(borrowed_.begin(), borrowed_.end(), a);
        if (it != borrowed_.end())
            borrowed_.erase(it);
        else
            ws_.release(a);
    }
    // An array the operation may overwrite: a borrowed one is copied first.
    TColumnArray* writable(TColumnArray* a)
    {
        if (!isBorrowed(a))
            return a;
        TColumnArray* copy = copyOf(*a);
        drop(a);
        return copy;
    }
    TValue popFirst()
    {
        const TStackEntry e = popColumn();
        const TValue v = e.a ? (*e.a)[first()] : e.u;
        drop(e.a);
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
    void derivative(int order, const TFormulaView& body, TColumnArray* a1, TColumnArray* a2, TColumnArray* a3,
                    TColumnArray* a4, TColumnArray& out);
    void antiderivative(const TFormulaView& body, TColumnArray* a1, TColumnArray* a2, TColumnArray* a3,
                        TColumnArray* a4, TColumnArray& out);
    void multi(TTokenCode t, bool path);
    void openLoop(std::uint8_t kind, int p);
    void openIntegral(int p);
    bool takeVariable(TArrayFrame& f, int number);
    void bindVariable(TArrayFrame& f);
    void restoreVariable(const TArrayFrame& f);
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
    ColumnWorkspace& ws_;
    TStackEntry stack_[EvaluationStackSize];
    int count_ = 0;
    std::vector<const TColumnArray*> borrowed_;
    TArrayFrame frames_[MaxOpenBinders];
    int open_ = 0;
    bool failed_ = false;
};

void ArrayMachine::run(TColumnArray& result)
{
    const int n = static_cast<int>(f_.Code.size());
    for (int p = 0; p < n && !failed_ && !ArrayDepthExceeded; ++p) {
        const TTokenCode t = f_.Code[p].unicode();
        step(t, RuleOf(t), p);
    }
    while (open_ > 0)
        restoreVariable(frames_[--open_]);
    if (failed_ || ArrayDepthExceeded || count_ == 0) {
        FillColumns(result, ValueUndefined(KindReal), axis_);
        return;
    }
    const TStackEntry top = popColumn();
    if (!top.a) {
        FillColumns(result, ValueSnap(top.u), axis_);
        return;
    }
    if (isBorrowed(top.a)) {
        for (int c = first(); c <= last(); ++c)
            result[c] = ValueSnap((*top.a)[c]);
        drop(top.a);
        return;
    }
    // The machine's own array becomes the result: snapped in place (most
    // columns need no write) and handed over without a copy.
    TColumnArray& own = *top.a;
    for (int c = first(); c <= last(); ++c) {
        TValue& v = own[c];
        if (!v.Defined)
            continue;
        const long double x = SnapToInteger(v.X);
        if (x != v.X)
            v.X = x;
        if (v.Kind == KindPair) {
            const long double y = SnapToInteger(v.Y);
            if (y != v.Y)
                v.Y = y;
        }
    }
    result.swap(own);
    drop(top.a);
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
            pushUniform(ValueReal(ParamValue(t)));
        return;
    case Rule::Graph: graph(t); return;
    case Rule::AxisX:
    case Rule::AxisY: {
        const TColumnArray& a = rule == Rule::AxisX ? *x_ : *z_;
        const TColumnArray& b = rule == Rule::AxisX ? *y_ : *w_;
        TColumnArray* out = fresh();
        for (int c = first(); c <= last(); ++c)
            (*out)[c] = ValueMakePoint(a[c], b[c]);
        push(out);
        return;
    }
    case Rule::Object: object(t - Vocabulary.PointTokens[1] + 1, 0); return;
    case Rule::Constant: pushUniform(f_.ConstValues ? (*f_.ConstValues)[ConstantSlot(t)] : ValueUndefined(KindReal)); return;
    case Rule::Unary: unary(BuiltinTable.Unary[t]); return;
    case Rule::Stepsize: stepsize(); return;
    case Rule::PopToUndefined:
        drop(popColumn().a);
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
    TColumnArray* out = isBorrowed(in.a) ? fresh() : in.a;
    for (int c = first(); c <= last(); ++c)
        (*out)[c] = routine((*in.a)[c]);
    if (out != in.a)
        drop(in.a);
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
    TColumnArray* out = (l.a && !isBorrowed(l.a)) ? l.a : (r.a && !isBorrowed(r.a)) ? r.a : fresh();
    if (l.a && r.a) {
        for (int c = first(); c <= last(); ++c)
            (*out)[c] = op((*l.a)[c], (*r.a)[c]);
    } else if (l.a) {
        for (int c = first(); c <= last(); ++c)
            (*out)[c] = op((*l.a)[c], r.u);
    } else {
        for (int c = first(); c <= last(); ++c)
            (*out)[c] = op(l.u, (*r.a)[c]);
    }
    if (l.a != out)
        drop(l.a);
    if (r.a != out)
        drop(r.a);
    push(out);
}

void ArrayMachine::binary(TBinaryRoutine routine)
{
    const TStackEntry r = popColumn();
    const TStackEntry l = popColumn();
    combine(l, r, routine);
}

// "+", "-", "·" and "×": two defined reals are computed here, anything else
// by the operator's routine.
void ArrayMachine::arithmetic(Rule rule, TBinaryRoutine routine)
{
    const TStackEntry r = popColumn();
    const TStackEntry l = popColumn();
    combine(l, r, [rule, routine](const TValue& a, const TValue& b) {
        if (a.Kind == KindReal && b.Kind == KindReal && a.Defined && b.Defined) {
            const long double v = rule == Rule::Add ? a.X + b.X : rule == Rule::Subtract ? a.X - b.X : a.X * b.X;
            return InUsableRange(v) ? TValue{KindReal, v, 0.0L, 1} : ValueUndefined(KindReal);
        }
        return routine(a, b);
    });
}

void ArrayMachine::equality()
{
    binary(ValueSubtract);
    TColumnArray* difference = writable(pop());
    EqualityColumns(*difference, axis_, view_.YUnitsPerPixel);
    push(difference);
}

void ArrayMachine::stepsize()
{
    TColumnArray* a = writable(pop());
    for (int c = first(); c <= last(); ++c) {
        const TValue& v = (*a)[c];
        const int slot = NearestInt(v.X);
        const bool ok = !NotRealValue(v) && slot >= -1 && slot <= ParamCount;
        (*a)[c] = ok ? ValueReal(DocumentTables.Params[slot].Step) : ValueUndefined(KindReal);
    }
    push(a);
}

void ArrayMachine::graph(TTokenCode t)
{
    const int k = Vocabulary.FunctionIndexOfToken[t];
    if (!view_.ColumnCaches) {
        push(filled(ValueUndefined(KindReal)));
        return;
    }
    TColumnCache& cache = (*view_.ColumnCaches)[k];
    const TKavirofunction& fn = DocumentTables.Functions[k].Func;
    if (refresh_) {
        EvaluateArrays(fn, *x_, view_, varyingParam_, varying_, refresh_, cache.Values);
    } else if (!cache.Valid) {
        // Filled over the view's own columns before use, whether or not a
        // parameter varies, so a stale cache is never pushed.
        const TColumnArray& columns = view_.ColumnX ? *view_.ColumnX : *x_;
        EvaluateArrays(fn, columns, view_, 0, nullptr, false, cache.Values);
        cache.Valid = 1;
    }
    pushBorrowed(&cache.Values);
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
    {
        const bool component = part >= 1 && part <= 3;
        const TKavirofunction& fn = part == 1 ? p.X : part == 2 ? p.Y : part == 3 ? p.R : p.Pos;
        TColumnArray* xs = filled(ValueUndefined(component ? KindReal : KindPair));
        TColumnArray* ys = filled(ValueReal(DocumentTables.Params[0].Value));
        TColumnArray* zero = filled(ValueReal(0.0L));
        EvaluatePostfixArrays(ViewOf(fn), *xs, *ys, *zero, *zero, view_, varyingParam_, varying_, refresh_, *out);
        drop(xs);
        drop(ys);
        drop(zero);
        if (!component) {
            for (int c = first(); c <= last(); ++c)
                (*out)[c] = ValueToPoint((*out)[c]);
        }
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
    TColumnArray* a4 = pop();
    TColumnArray* a3 = pop();
    TColumnArray* a2 = pop();
    TColumnArray* a1 = pop();
    const TValue mode = popFirst();
    // A point as first argument feeds x and y; one in the third slot z and w.
    auto split = [this](TColumnArray* pair, TColumnArray*& xs, TColumnArray*& ys) {
        xs = fresh();
        ys = fresh();
        for (int c = first(); c <= last(); ++c) {
            (*xs)[c] = ValueX((*pair)[c]);
            (*ys)[c] = ValueY((*pair)[c]);
        }
        drop(pair);
    };
    if ((*a1)[first()].Kind == KindPair) {
        drop(a4);
        a4 = a3;
        a3 = a2;
        TColumnArray* pair = a1;
        split(pair, a1, a2);
    }
    if ((*a3)[first()].Kind == KindPair) {
        drop(a4);
        TColumnArray* pair = a3;
        split(pair, a3, a4);
    }
    const TFormulaView body = ViewOf(DocumentTables.UserFunctions[EvalTables.UserFunctionSlot[t]]);
    TColumnArray* out = fresh();
    switch (NearestInt(mode.X)) {
    case 0: EvaluatePostfixArrays(body, *a1, *a2, *a3, *a4, view_, varyingParam_, varying_, refresh_, *out); break;
    case 1: derivative(1, body, a1, a2, a3, a4, *out); break;
    case 2: derivative(2, body, a1, a2, a3, a4, *out); break;
    case 3: antiderivative(body, a1, a2, a3, a4, *out); break;
    default: FillColumns(*out, ValueUndefined(KindReal), axis_); break;
    }
    for (TColumnArray* a : {a1, a2, a3, a4})
        drop(a);
    push(out);
}

// f' and f'' at every column from seven samples; an undefined sample makes
// its column undefined (no retry over columns).
void ArrayMachine::derivative(int order, const TFormulaView& body, TColumnArray* a1, TColumnArray* a2,
                              TColumnArray* a3, TColumnArray* a4, TColumnArray& out)
{
    const TCalculusTables& tables = CalculusTables;
    long double h = 1.0L / 64.0L;
    if (order == 1)
        h = std::min(h, axis_.UnitsPerPixel() / 4.0L);
    TColumnArray* samples[7];
    TColumnArray* xs = fresh();
    for (int k = 0; k < 7; ++k) {
        for (int c = first(); c <= last(); ++c) {
            const TValue& x = (*a1)[c];
            (*xs)[c] = x.Defined ? ValueReal(x.X + tables.DerivStepOffsets[k] * h) : ValueUndefined(KindReal);
        }
        samples[k] = fresh();
        EvaluatePostfixArrays(body, *xs, *a2, *a3, *a4, view_, varyingParam_, varying_, refresh_, *samples[k]);
    }
    drop(xs);
    const std::array<long double, 7>& weights = tables.DerivWeights[order];
    for (int c = first(); c <= last(); ++c) {
        bool defined = (*a1)[c].Defined != 0;
        long double sx = 0.0L, sy = 0.0L;
        for (int k = 0; k < 7 && defined; ++k) {
            const TValue& s = (*samples[k])[c];
            defined = s.Defined != 0;
            sx += weights[k] * s.X;
            sy += weights[k] * s.Y;
        }
        const std::uint8_t kind = (*samples[3])[c].Kind == KindPair ? KindPair : KindReal;
        if (!defined) {
            out[c] = ValueUndefined(kind);
            continue;
        }
        const long double scale = order == 2 ? h * h : h;
        TValue v = kind == KindPair ? ValuePoint(sx / scale, sy / scale) : ValueReal(sx / scale);
        out[c] = ValueCheckRange(v) ? v : ValueUndefined(kind);
    }
    for (TColumnArray* a : samples)
        drop(a);
}

// F at every column from one polynomial fit over the span of the columns.
void ArrayMachine::antiderivative(const TFormulaView& body, TColumnArray* a1, TColumnArray* a2, TColumnArray* a3,
                                  TColumnArray* a4, TColumnArray& out)
{
    FillColumns(out, ValueUndefined(KindReal), axis_);
    TColumnArray* values = fresh();
    EvaluatePostfixArrays(body, *a1, *a2, *a3, *a4, view_, varyingParam_, varying_, refresh_, *values);
    bool allDefined = true;
    for (int c = first(); c <= last() && allDefined; ++c)
        allDefined = (*a1)[c].Defined && (*values)[c].Defined;
    drop(values);
    if (!allDefined)
        return;
    // One fit for all columns, over the span from the last column's x to 0;
    // near 0 the span reaches out to 5 so that the nodes never collapse.
    const long double lastX = (*a1)[last()].X;
    TLgrComp fit;
    fit.Degree = 8;
    fit.Build(body, (*a2)[last()], std::fabs(lastX) > 1.0L ? lastX : 5.0L, 0.0L, (*a3)[last()], (*a4)[last()]);
    if (!fit.Valid)
        return;
    for (int c = first(); c <= last(); ++c)
        out[c] = fit.IntegrateFromZero((*a1)[c]);
}

void ArrayMachine::multi(TTokenCode t, bool path)
{
    const int n = NearestInt(popFirst().X);
    if (n < 0 || n > MaxArgumentCount || n > count_) {
        failed_ = true;
        return;
    }
    TColumnArray* args[MaxArgumentCount];
    for (int i = 0; i < n; ++i)
        args[i] = pop();
    TColumnArray* out = fresh();
    if (path) {
        // The points come from the first column; the curve is built once.
        TValue xs[TLgrComp::MaxDegree + 1], ys[TLgrComp::MaxDegree + 1];
        const int points = n - 1;
        bool ok = points >= 2 && points <= TLgrComp::MaxDegree + 1;
        for (int i = 0; i < points && ok; ++i) {
            const TValue& p = (*args[i])[first()];
            ok = p.Kind == KindPair && p.Defined;
            xs[i] = ValueReal(p.X);
            ys[i] = ValueReal(p.Y);
        }
        TLgrComp fit;
        if (ok)
            fit.BuildFromPoints(std::span<const TValue>(xs, points), std::span<const TValue>(ys, points));
        for (int c = first(); c <= last(); ++c) {
            const TValue* t = ok ? &(*args[n - 1])[c] : nullptr;
            (*out)[c] = (t && !NotRealValue(*t)) ? fit.Evaluate(t->X) : ValueUndefined(KindReal);
        }
    } else {
        const TMultiRoutine routine = BuiltinTable.Multi[t];
        TValue column[MaxArgumentCount];
        for (int c = first(); c <= last(); ++c) {
            for (int i = 0; i < n; ++i)
                column[i] = (*args[i])[c];
            (*out)[c] = routine ? routine(std::span<const TValue>(column, n)) : ValueUndefined(KindReal);
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
    f.SavedSlot = DocumentTables.Params[number].Value;
    f.SavedInput = number == -1 ? x_ : number == 0 ? y_ : nullptr;
    return true;
}

// The bound variable takes Current in its slot and, for x and y, in the input.
void ArrayMachine::bindVariable(TArrayFrame& f)
{
    DocumentTables.Params[f.ParamNo].Value = f.Current;
    if (f.ParamNo != -1 && f.ParamNo != 0)
        return;
    if (!f.Bound)
        f.Bound = fresh();
    FillColumns(*f.Bound, ValueReal(f.Current), axis_);
    (f.ParamNo == -1 ? x_ : y_) = f.Bound;
}

void ArrayMachine::restoreVariable(const TArrayFrame& f)
{
    DocumentTables.Params[f.ParamNo].Value = f.SavedSlot;
    if (f.ParamNo == -1)
        x_ = f.SavedInput;
    else if (f.ParamNo == 0)
        y_ = f.SavedInput;
    drop(f.Bound);
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
        drop(f.Acc);
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
        drop(f.Acc);
        failed_ = true;
        return;
    }
    ++open_;
    bindVariable(f);
}

void ArrayMachine::closeBinder(int& p)
{
    TColumnArray* bodyArray = pop();
    const TColumnArray& body = *bodyArray;
    if (open_ == 0) {
        drop(bodyArray);
        failed_ = true;
        return;
    }
    TArrayFrame& f = frames_[open_ - 1];
    TColumnArray& acc = *f.Acc;
    bool more = false;
    if (f.Kind == BinderIntgr) {
        const long double weight = CalculusTables.GaussWeights[f.Node];
        for (int c = first(); c <= last(); ++c) {
            if (f.Count == 0 && f.Node == 1)
                acc[c].Kind = body[c].Kind;
            if (f.Count < f.Slices && body[c].Defined)
                acc[c] = ValueAddCore(acc[c], ValueMultiply(body[c], ValueReal(weight)));
            if (!f.BoundsOk)
                acc[c] = ValueUndefined(body[c].Kind);
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
                acc[c] = ValueMultiply(ValueReal(f.Half), acc[c]);
        }
    } else {
        const bool accumulate = f.BoundsOk && f.Current <= f.Last;
        for (int c = first(); c <= last(); ++c) {
            if (f.Count == 0)
                acc[c].Kind = body[c].Kind;
            if (accumulate)
                acc[c] = f.Kind == BinderSum ? ValueAddCore(acc[c], body[c]) : ValueMultiply(acc[c], body[c]);
            else if (!f.BoundsOk)
                acc[c] = ValueUndefined(body[c].Kind);
        }
        ++f.Count;
        if (f.BoundsOk) {
            const long double next = f.Current + 1.0L;
            if (next == f.Current) {
                for (int c = first(); c <= last(); ++c)
                    acc[c] = ValueUndefined(body[c].Kind);
            } else {
                f.Current = next;
                bindVariable(f);
                more = f.Current <= f.Last;
            }
        }
    }
    drop(bodyArray);
    if (more) {
        p = f.BodyStart - 1;
        return;
    }
    push(f.Acc);
    restoreVariable(f);
    --open_;
}

void ArrayMachine::cofOrSol(bool sol, int& p)
{
    TColumnArray* k = pop();
    const int rel = FindMatchingSend(f_.Code, p);
    if (rel < 0) {
        failed_ = true;
        return;
    }
    const TFormulaView body{f_.Code.mid(p + 1, rel - 1), f_.ConstValues};
    TColumnArray* out = fresh();
    if (sol) {
        for (int c = first(); c <= last(); ++c) {
            const TValue& kc = (*k)[c];
            (*out)[c] = kc.Defined ? SolValue(body, NearestInt(kc.X), (*y_)[c], (*z_)[c], (*w_)[c])
                                   : ValueUndefined(KindReal);
        }
    } else {
        const TValue k0 = (*k)[first()];
        const bool ok = k0.Defined && k0.X >= 0.0L && k0.X < 10.0L;
        FillColumns(*out, ok ? CofValue(NearestInt(k0.X), body) : ValueUndefined(KindReal), axis_);
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
    for (int c = axis.Vlow; c <= axis.VHigh; ++c)
        target[c] = value;
}

void ScaleColumns(TColumnArray& target, long double factor, const TColumnAxis& axis)
{
    for (int c = axis.Vlow; c <= axis.VHigh; ++c) {
        TValue& v = target[c];
        if (!v.Defined)
            continue;
        v.X *= factor;
        if (v.Kind == KindPair)
            v.Y *= factor;
    }
}

void EqualityColumns(TColumnArray& d, const TColumnAxis& axis, long double yUnitsPerPixel)
{
    const int first = axis.Vlow;
    const int last = axis.VHigh;
    if (d[first].Kind != KindReal) {
        for (int c = first; c <= last; ++c)
            d[c] = ValueEqual(d[c], ValueReal(0.0L));
        d[first] = ValueUndefined(KindReal);
        d[last] = ValueUndefined(KindReal);
        return;
    }
    // Decided from the differences before any column is overwritten.
    std::vector<TValue> diff(d.Values().begin() + (first - TColumnArray::First),
                             d.Values().begin() + (last - TColumnArray::First) + 1);
    auto at = [&](int c) -> const TValue& { return diff[c - first]; };
    auto crossesTo = [&](int c, int n) {
        const TValue& v = at(c);
        const TValue& u = at(n);
        return u.Defined && u.Kind == KindReal && ((v.X < 0.0L && u.X > 0.0L) || (v.X > 0.0L && u.X < 0.0L))
               && std::fabs(v.X) < std::fabs(u.X);
    };
    for (int c = first + 1; c < last; ++c) {
        const TValue& v = at(c);
        bool holds = false;
        if (v.Defined && v.Kind == KindReal) {
            const TValue& l = at(c - 1);
            const TValue& r = at(c + 1);
            const long double m = std::fabs(v.X);
            holds = v.X == 0.0L || crossesTo(c, c - 1) || crossesTo(c, c + 1)
                    || (l.Defined && r.Defined && m <= yUnitsPerPixel && std::fabs(l.X) > m && m < std::fabs(r.X));
        }
        d[c] = holds ? ValueReal(1.0L) : ValueUndefined(KindReal);
    }
    d[first] = ValueUndefined(KindReal);
    d[last] = ValueUndefined(KindReal);
}

void EvaluatePostfixArrays(const TFormulaView& formula, const TColumnArray& x, const TColumnArray& y,
                           const TColumnArray& z, const TColumnArray& w, const TArrayView& view, int varyingParam,
                           const TColumnArray* varyingValues, bool refresh, TColumnArray& result)
{
    const TColumnAxis& axis = view.XAxis;
    WorkspaceLease lease;
    if (!lease.ok || formula.Code.isEmpty()) {
        FillColumns(result, ValueUndefined(KindReal), axis);
    } else {
        ArrayMachine machine(formula, x, y, z, w, view, varyingParam, varyingValues, refresh, *lease.ws);
        machine.run(result);
    }
    FillUndefinedOutside(result, axis);
}

void EvaluateArrays(const TKavirofunction& record, const TColumnArray& x, const TArrayView& view, int varyingParam,
                    const TColumnArray* varyingValues, bool refresh, TColumnArray& result)
{
    const TColumnAxis& axis = view.XAxis;
    const bool varies = varyingParam > 0 && varyingValues;
    if (record.Code.isEmpty()) {
        FillColumns(result, ValueUndefined(KindReal), axis);
        FillUndefinedOutside(result, axis);
        return;
    }
    if (!varies && !DependsOnColumns(record.Code)) {
        FillColumns(result, EvaluateExpression(record, ValueUndefined(KindReal)), axis);
        FillUndefinedOutside(result, axis);
        return;
    }
    WorkspaceLease lease;
    if (!lease.ok) {
        FillColumns(result, ValueUndefined(KindReal), axis);
        FillUndefinedOutside(result, axis);
        return;
    }
    TColumnArray& ys = lease.ws->acquire();
    TColumnArray& zeros = lease.ws->acquire();
    // Most formulas never read y, z or w: filling 1612 columns twice would
    // cost more than evaluating them.
    if (ReadsYZW(record.Code)) {
        FillColumns(ys, ValueReal(DocumentTables.Params[0].Value), axis);
        FillColumns(zeros, ValueReal(0.0L), axis);
    }
    EvaluatePostfixArrays(ViewOf(record), x, ys, zeros, zeros, view, varyingParam, varyingValues, refresh, result);
}
