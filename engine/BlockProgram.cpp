#include "engine/BlockProgram.h"

#include "engine/ArrayEvaluator.h"
#include "engine/BuiltinTable.h"
#include "engine/EvalRules.h"
#include "engine/RealKernels.h"
#include "engine/TokenCode.h"
#include "engine/TokenTable.h"
#include "model/BuiltinsCommon.h"
#include "model/BuiltinsElementary.h"
#include "model/ElementaryKernels.h"
#include "model/Numeric.h"
#include "model/Options.h"

#include <QHash>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>
#include <utility>
#include <vector>

TBlockProgramTables BlockPrograms;

namespace {

// Columns per pass of one operation: the lanes of a program stay in the
// first-level cache.
constexpr int BlockColumns = 64;

// Where an operand lives: a register (the lane of its stack level), an
// input lane (x, y, z, w, the varying parameter), or a single value; None
// for the operand a one-argument operation lacks.
enum class Where : std::uint8_t { None, Register, Input, Uniform };
enum InputSlot : std::uint8_t { InX = 0, InY, InZ, InW, InVarying, InputCount };

struct TOperand {
    Where where = Where::None;
    std::uint16_t index = 0;
};

// What an operation over lanes computes. The first group repeats the
// built-in routines' arithmetic for defined and undefined reals; the last
// three call the routine for every column.
enum class LaneOp : std::uint8_t {
    Add,
    Subtract,
    Multiply,
    Divide,
    Negate,
    Power,
    Sin,
    Cos,
    Tan,
    Exp,
    Ln,
    Log,
    Sqrt,
    Abs,
    Less,
    LessEq,
    Greater,
    GreaterEq,
    And,
    Or,
    Not,
    Unary,
    Binary,
    Multi,
};

struct TLaneStep {
    LaneOp op;
    TTokenCode token;
    TOperand a, b;
    std::uint16_t target;       // register written
    std::uint16_t argStart = 0; // Multi: its operands in TBlockProgram::laneArgs, last written first
    std::uint16_t argCount = 0;
};

// What a step after the first of a chain does to the running value with a
// single value: v + u, v - u, u - v, v · u.
enum class LinkOp : std::uint8_t { Add, Subtract, SubtractFrom, Multiply };
constexpr int MaxLinks = 2;

// Steps run in one pass over a block: one step, or a chain: a sum,
// difference, product or quotient by a single value (or a square, when the
// exponent turns out to be 2) followed by up to MaxLinks sums, differences
// or products of its value with single values, or quotients by them, each
// step reading the one before (which nothing else reads). A chain keeps the
// value of each column in a register from step to step.
struct TPass {
    std::uint16_t first = 0;
    std::uint16_t count = 1;
    bool chain = false;
    std::array<LinkOp, MaxLinks> links{};
    std::array<std::uint16_t, MaxLinks> linkOperands{}; // single values
    std::array<bool, MaxLinks> byReciprocal{};          // a quotient: the product by the operand's reciprocal
};

// A value that is the same in every column, computed once per evaluation.
enum class UniformOp : std::uint8_t { Value, Input, Param, Const, Unary, Binary, Multi };

struct TUniformStep {
    UniformOp op = UniformOp::Value;
    TTokenCode token = 0;
    std::uint16_t a = 0, b = 0;
    std::uint16_t argStart = 0, argCount = 0; // Multi: in TBlockProgram::uniformArgs
    TValue value;
};

} // namespace

class TBlockProgram {
public:
    std::vector<TUniformStep> uniforms;
    std::vector<std::uint16_t> uniformArgs;
    std::vector<TLaneStep> steps;
    std::vector<TPass> passes;
    std::vector<TOperand> laneArgs;
    // Multi-argument calls read their count from a constant: it must still
    // hold the count the program was built for.
    std::vector<std::pair<std::uint16_t, int>> countChecks;
    std::uint32_t lanes = 0;                 // TBlockLanes::Key of the inputs it was built for
    std::array<bool, InputCount> inputLanes{}; // the lanes it reads
    TOperand result;
    int registers = 0;
    // No operation can give a complex value from reals in complex mode.
    bool complexSafe = true;
};

namespace {

// ----- Compiling ------------------------------------------------------------

bool SpecialUnary(TTokenCode t, LaneOp& op)
{
    const TNamedTokens& k = TokenCodes;
    const std::pair<TTokenCode, LaneOp> table[] = {
        {k.Underscore, LaneOp::Negate}, {k.Sin, LaneOp::Sin},   {k.Cos, LaneOp::Cos},   {k.Tan, LaneOp::Tan},
        {k.Exp, LaneOp::Exp},           {k.Ln, LaneOp::Ln},     {k.Log, LaneOp::Log},   {k.Sqrt, LaneOp::Sqrt},
        {k.Abs, LaneOp::Abs},
        {k.Not, LaneOp::Not},
    };
    return FindTokenOp(table, t, op);
}

bool SpecialBinary(TTokenCode t, LaneOp& op)
{
    const TNamedTokens& k = TokenCodes;
    const std::pair<TTokenCode, LaneOp> table[] = {
        {k.Plus, LaneOp::Add},         {k.Minus, LaneOp::Subtract},   {k.Dot, LaneOp::Multiply},
        {k.Cross, LaneOp::Multiply},   {k.Divide, LaneOp::Divide},    {k.Power, LaneOp::Power},
        {k.Less, LaneOp::Less},        {k.LessEqual, LaneOp::LessEq}, {k.Greater, LaneOp::Greater},
        {k.GreaterEqual, LaneOp::GreaterEq}, {k.And, LaneOp::And},    {k.Or, LaneOp::Or},
    };
    return FindTokenOp(table, t, op);
}

// A step a chain may begin with: a sum, difference or product, or a
// quotient or power of a column by a single value.
bool StartsChain(const TLaneStep& s)
{
    switch (s.op) {
    case LaneOp::Add:
    case LaneOp::Subtract:
    case LaneOp::Multiply: return true;
    case LaneOp::Divide:
    case LaneOp::Power: return s.a.where != Where::Uniform && s.b.where == Where::Uniform;
    default: return false;
    }
}

// Step s as a link after step before: it reads before's value and a single
// value.
bool AsLink(const TLaneStep& s, const TLaneStep& before, TPass& pass, int k)
{
    const auto isBefore = [&](const TOperand& o) { return o.where == Where::Register && o.index == before.target; };
    const bool accLeft = isBefore(s.a);
    if (!(accLeft ? s.b.where == Where::Uniform : isBefore(s.b) && s.a.where == Where::Uniform))
        return false;
    pass.linkOperands[k] = accLeft ? s.b.index : s.a.index;
    pass.byReciprocal[k] = false;
    // Sums and products are the same either way round, to the bit.
    switch (s.op) {
    case LaneOp::Add: pass.links[k] = LinkOp::Add; return true;
    case LaneOp::Multiply: pass.links[k] = LinkOp::Multiply; return true;
    case LaneOp::Subtract: pass.links[k] = accLeft ? LinkOp::Subtract : LinkOp::SubtractFrom; return true;
    case LaneOp::Divide:
        pass.links[k] = LinkOp::Multiply;
        pass.byReciprocal[k] = true;
        return accLeft;
    default: return false;
    }
}

// The steps grouped into passes: each step that may begin a chain with as
// many of the steps after it as can be its links.
std::vector<TPass> PassesOf(const std::vector<TLaneStep>& steps)
{
    std::vector<TPass> passes;
    std::size_t k = 0;
    while (k < steps.size()) {
        TPass pass;
        pass.first = static_cast<std::uint16_t>(k);
        pass.chain = StartsChain(steps[k]);
        if (pass.chain) {
            while (pass.count <= MaxLinks && k + pass.count < steps.size()
                   && AsLink(steps[k + pass.count], steps[k + pass.count - 1], pass, pass.count - 1))
                ++pass.count;
        }
        k += pass.count;
        passes.push_back(pass);
    }
    return passes;
}

class ProgramCompiler {
public:
    explicit ProgramCompiler(const TBlockLanes& lanes)
        : varying_(lanes.VaryingParam)
        , key_(lanes.Key())
    {
        lanes_[InX] = lanes.X;
        lanes_[InY] = lanes.Y;
        lanes_[InZ] = lanes.Z;
        lanes_[InW] = lanes.W;
        lanes_[InVarying] = varying_ > 0;
    }

    std::shared_ptr<const TBlockProgram> compile(QStringView code);

private:
    bool token(TTokenCode t);
    bool push(TOperand o)
    {
        if (stack_.size() >= EvaluationStackSize)
            return false;
        stack_.push_back(o);
        return true;
    }
    bool pop(TOperand& o)
    {
        if (stack_.empty())
            return false;
        o = stack_.back();
        stack_.pop_back();
        return true;
    }
    bool pushUniform(const TUniformStep& s)
    {
        p_->uniforms.push_back(s);
        return push({Where::Uniform, static_cast<std::uint16_t>(p_->uniforms.size() - 1)});
    }
    bool pushUniform(UniformOp op, TTokenCode t, std::uint16_t a = 0, std::uint16_t b = 0)
    {
        TUniformStep s;
        s.op = op;
        s.token = t;
        s.a = a;
        s.b = b;
        return pushUniform(s);
    }
    bool pushValue(const TValue& v)
    {
        TUniformStep s;
        s.value = v;
        return pushUniform(s);
    }
    bool input(InputSlot slot)
    {
        if (lanes_[slot]) {
            p_->inputLanes[slot] = true;
            return push({Where::Input, slot});
        }
        return pushUniform(UniformOp::Input, 0, slot);
    }
    // A lane operation whose result takes the stack level it is pushed at.
    bool pushStep(LaneOp op, TTokenCode t, TOperand a, TOperand b, std::uint16_t argStart = 0,
                  std::uint16_t argCount = 0)
    {
        const auto level = static_cast<std::uint16_t>(stack_.size());
        p_->registers = std::max(p_->registers, level + 1);
        p_->steps.push_back({op, t, a, b, level, argStart, argCount});
        if (MayGoComplex(t))
            p_->complexSafe = false;
        return push({Where::Register, level});
    }
    bool unary(TTokenCode t);
    bool binary(TTokenCode t);
    bool multi(TTokenCode t);

    std::array<bool, InputCount> lanes_{};
    int varying_;
    std::uint32_t key_;
    std::vector<TOperand> stack_;
    std::shared_ptr<TBlockProgram> p_;
};

std::shared_ptr<const TBlockProgram> ProgramCompiler::compile(QStringView code)
{
    p_ = std::make_shared<TBlockProgram>();
    p_->lanes = key_;
    for (QChar ch : code) {
        if (!token(ch.unicode()))
            return nullptr;
    }
    if (stack_.empty())
        return nullptr;
    // A formula of single values alone is left to the array machine, which
    // fills them in.
    p_->result = stack_.back();
    if (p_->steps.empty() && p_->result.where == Where::Uniform)
        return nullptr;
    p_->passes = PassesOf(p_->steps);
    return p_;
}

bool ProgramCompiler::token(TTokenCode t)
{
    switch (RuleOf(t)) {
    case Rule::None: return true;
    case Rule::InputX: return input(InX);
    case Rule::InputY: return input(InY);
    case Rule::InputZ: return input(InZ);
    case Rule::InputW: return input(InW);
    case Rule::Pi: return pushValue(ValuePi());
    case Rule::E: return pushValue(ValueE());
    case Rule::I: return pushValue(ValueI());
    case Rule::SZero: return pushValue(SZeroValue);
    case Rule::Undefined: return pushValue(ValueUndefined(KindReal));
    case Rule::Parameter:
        if (varying_ > 0 && ParamIndexOfToken(t) == varying_)
            return input(InVarying);
        return pushUniform(UniformOp::Param, t);
    case Rule::Constant: return pushUniform(UniformOp::Const, t);
    case Rule::Unary: return unary(t);
    case Rule::PopToUndefined: {
        TOperand a;
        return pop(a) && pushValue(ValueUndefined(KindReal));
    }
    case Rule::Add:
    case Rule::Subtract:
    case Rule::Multiply:
    case Rule::Binary: return binary(t);
    case Rule::Multi: return multi(t);
    default:
        // Graph names, objects, points of the inputs, user functions,
        // binders, cof, sol, path and Stepsize need the array machine.
        return false;
    }
}

bool ProgramCompiler::unary(TTokenCode t)
{
    TOperand a;
    if (!pop(a))
        return false;
    if (a.where == Where::Uniform)
        return pushUniform(UniformOp::Unary, t, a.index);
    LaneOp op = LaneOp::Unary;
    if (!SpecialUnary(t, op) && !IsGenericUnary(t))
        return false;
    return pushStep(op, t, a, {});
}

bool ProgramCompiler::binary(TTokenCode t)
{
    // "=" over columns marks where a difference crosses zero: the array
    // machine's business, even for single values.
    if (t == TokenCodes.Equal)
        return false;
    TOperand a, b;
    if (!pop(b) || !pop(a))
        return false;
    if (a.where == Where::Uniform && b.where == Where::Uniform)
        return pushUniform(UniformOp::Binary, t, a.index, b.index);
    LaneOp op = LaneOp::Binary;
    if (!SpecialBinary(t, op) && !IsGenericBinary(t))
        return false;
    return pushStep(op, t, a, b);
}

bool ProgramCompiler::multi(TTokenCode t)
{
    // The count is the constant before the token; slots up to 22 hold their
    // own numbers.
    TOperand count;
    if (!pop(count) || count.where != Where::Uniform)
        return false;
    const TUniformStep& c = p_->uniforms[count.index];
    const int n = c.op == UniformOp::Const ? ConstantSlot(c.token) : -1;
    if (n < 0 || n > MaxArgumentCount || n > static_cast<int>(stack_.size()))
        return false;
    p_->countChecks.push_back({count.index, n});
    // Popped last argument first, as the routines take them.
    std::vector<TOperand> args(n);
    bool uniform = true;
    for (int i = 0; i < n; ++i) {
        pop(args[i]);
        uniform = uniform && args[i].where == Where::Uniform;
    }
    if (uniform) {
        const auto start = static_cast<std::uint16_t>(p_->uniformArgs.size());
        for (const TOperand& a : args)
            p_->uniformArgs.push_back(a.index);
        TUniformStep s;
        s.op = UniformOp::Multi;
        s.token = t;
        s.argStart = start;
        s.argCount = static_cast<std::uint16_t>(n);
        return pushUniform(s);
    }
    if (t != TokenCodes.Max && t != TokenCodes.Min)
        return false;
    const auto start = static_cast<std::uint16_t>(p_->laneArgs.size());
    p_->laneArgs.insert(p_->laneArgs.end(), args.begin(), args.end());
    return pushStep(LaneOp::Multi, t, {}, {}, start, static_cast<std::uint16_t>(n));
}

// ----- Running ----------------------------------------------------------------

struct alignas(64) TLane {
    long double X[BlockColumns];
    std::uint8_t D[BlockColumns];
};

// The lanes and single values of a run, kept between runs: a program never
// runs inside another one on the same thread.
struct TRunScratch {
    std::vector<TLane> lanes;
    std::vector<TValue> uniforms;
    // The single values as the lane kernels read them.
    std::vector<long double> uniformX;
    std::vector<std::uint8_t> uniformD;
};

TRunScratch& Scratch()
{
    thread_local TRunScratch scratch;
    return scratch;
}

// An operand within one block: values and flags, read with a stride of 1
// (lanes) or 0 (a single value).
struct TArg {
    const long double* x;
    const std::uint8_t* d;
};

// Where an operation writes one block: a register, or for the program's
// last operation the result's own lanes.
struct TOut {
    long double* X;
    std::uint8_t* D;
};

// After an operation: a column that is undefined, or (checkRange) whose
// value left the usable range, becomes undefined with the value +0.
void Settle(TOut out, int n, bool checkRange)
{
    for (int i = 0; i < n; ++i) {
        const bool ok = out.D[i] && (!checkRange || InRange(out.X[i]));
        out.D[i] = ok;
        if (!ok)
            SetBits(out.X[i], 0, 0);
    }
}

// For |x| in [1, 128) with biased exponent 16383 + k (k < 7): the bits
// below the units, and the largest fraction, in units of the last mantissa
// bit, that lies within 1E-17 of the whole number below |x|. Entry 7 stands
// for every other value, which keeps its bits: no bits to clear.
struct TSnapLimits {
    std::array<std::uint64_t, 8> mask{};
    std::array<std::uint64_t, 8> fraction{};
    TBits tiny; // 1E-17
    TSnapLimits()
    {
        for (int k = 0; k < 7; ++k) {
            mask[k] = (std::uint64_t{1} << (63 - k)) - 1;
            fraction[k] = static_cast<std::uint64_t>(std::floor(std::ldexp(1E-17L, 63 - k)));
        }
        tiny = BitsOf(1E-17L);
    }
};

// Made once at start-up: a local static would be checked for its
// construction at every column the snap loops pass.
const TSnapLimits SnapLimits;

// SnapToInteger on the bits: values from 128 up are whole or more than
// 1E-17 from a whole number; below, a value within 1E-17 beyond the whole
// number towards zero from it becomes that number, and |x| <= 1E-17 becomes +0.
// Without branches: the columns of a curve mix all three kinds of values.
inline void Snap(const long double& from, long double& to)
{
    const TSnapLimits& limits = SnapLimits;
    const TBits b = BitsOf(from);
    const unsigned e = b.signAndExponent & 0x7FFFu;
    const unsigned k = e - ExponentBias;
    const unsigned entry = k < 7 ? k : 7;
    const std::uint64_t mask = limits.mask[entry];
    const bool near = (b.mantissa & mask) <= limits.fraction[entry];
    std::uint64_t mantissa = near ? b.mantissa & ~mask : b.mantissa;
    std::uint16_t signAndExponent = b.signAndExponent;
    const unsigned tinyE = limits.tiny.signAndExponent;
    const bool tiny = e < tinyE || (e == tinyE && b.mantissa <= limits.tiny.mantissa);
    mantissa = tiny ? 0 : mantissa;
    signAndExponent = tiny ? 0 : signAndExponent;
    SetBits(to, mantissa, signAndExponent);
}

template <int StrideA, class F>
void UnaryLoop(TArg a, TOut out, int n, F f)
{
    for (int i = 0; i < n; ++i) {
        long double v = 0.0L;
        out.D[i] = f(a.x[i * StrideA], a.d[i * StrideA] != 0, v);
        out.X[i] = v;
    }
}

template <int StrideA, int StrideB, class F>
void BinaryLoop(TArg a, TArg b, TOut out, int n, F f)
{
    for (int i = 0; i < n; ++i) {
        long double v = 0.0L;
        out.D[i] = f(a.x[i * StrideA], a.d[i * StrideA] != 0, b.x[i * StrideB], b.d[i * StrideB] != 0, v);
        out.X[i] = v;
    }
}

// The kernels below give, for a defined or undefined real, what the built-in
// routine gives; the differential tests hold them to it bit for bit. Each
// returns whether the result is defined before the range check of v, which
// Settle does for those whose routine checks it.

// "+", "-", "·": the values in one loop (a single value stays on the x87
// stack), the flags in another; Settle checks the range.
template <int StrideA, int StrideB, class Op>
void ArithmeticLoop(TArg a, TArg b, TOut out, int n, Op op)
{
    if constexpr (StrideA == 0) {
        const long double left = *a.x;
        for (int i = 0; i < n; ++i)
            out.X[i] = op(left, b.x[i]);
    } else if constexpr (StrideB == 0) {
        const long double right = *b.x;
        for (int i = 0; i < n; ++i)
            out.X[i] = op(a.x[i], right);
    } else {
        for (int i = 0; i < n; ++i)
            out.X[i] = op(a.x[i], b.x[i]);
    }
    for (int i = 0; i < n; ++i)
        out.D[i] = a.d[i * StrideA] & b.d[i * StrideB];
}

// The value of one link.
template <LinkOp Op>
inline long double Link(long double v, long double u)
{
    if constexpr (Op == LinkOp::Add)
        return v + u;
    else if constexpr (Op == LinkOp::Subtract)
        return v - u;
    else if constexpr (Op == LinkOp::SubtractFrom)
        return u - v;
    else
        return v * u;
}

// A chain over a block whose operands are all moderate (see ModerateColumns):
// no value of its steps can leave the usable range, so none is checked; a
// column is defined when every operand is. The single values of the links
// are copied where nothing the loop writes can reach them, so that they stay
// in registers.
template <LaneOp First, LinkOp... Links>
void ChainLoop(TArg a, int strideA, TArg b, int strideB, const long double* linkValues, bool linksDefined, TOut out,
               int n)
{
    const std::array<long double, sizeof...(Links)> u = [&]<std::size_t... K>(std::index_sequence<K...>) {
        return std::array<long double, sizeof...(Links)>{linkValues[K]...};
    }(std::make_index_sequence<sizeof...(Links)>{});
    for (int i = 0; i < n; ++i) {
        const long double x = a.x[i * strideA];
        const long double y = b.x[i * strideB];
        long double v = First == LaneOp::Add ? x + y : First == LaneOp::Subtract ? x - y : x * y;
        [&]<std::size_t... K>(std::index_sequence<K...>) {
            ((v = Link<Links>(v, u[K])), ...);
        }(std::make_index_sequence<sizeof...(Links)>{});
        const bool ok = (a.d[i * strideA] & b.d[i * strideB]) && linksDefined;
        if (ok)
            out.X[i] = v;
        else
            SetBits(out.X[i], 0, 0);
        out.D[i] = ok;
    }
}

using TChainLoop = void (*)(TArg, int, TArg, int, const long double*, bool, TOut, int);

template <LaneOp First, LinkOp... Chosen>
TChainLoop ChainLoopFor(const LinkOp* links, int count)
{
    if constexpr (sizeof...(Chosen) == MaxLinks) {
        return &ChainLoop<First, Chosen...>;
    } else {
        if (count == 0)
            return &ChainLoop<First, Chosen...>;
        switch (*links) {
        case LinkOp::Add: return ChainLoopFor<First, Chosen..., LinkOp::Add>(links + 1, count - 1);
        case LinkOp::Subtract: return ChainLoopFor<First, Chosen..., LinkOp::Subtract>(links + 1, count - 1);
        case LinkOp::SubtractFrom: return ChainLoopFor<First, Chosen..., LinkOp::SubtractFrom>(links + 1, count - 1);
        case LinkOp::Multiply: break;
        }
        return ChainLoopFor<First, Chosen..., LinkOp::Multiply>(links + 1, count - 1);
    }
}

// The loop of a chain of this many links.
TChainLoop ChainLoopOf(LaneOp first, const LinkOp* links, int count)
{
    switch (first) {
    case LaneOp::Add: return ChainLoopFor<LaneOp::Add>(links, count);
    case LaneOp::Subtract: return ChainLoopFor<LaneOp::Subtract>(links, count);
    default: return ChainLoopFor<LaneOp::Multiply>(links, count);
    }
}

// Values whose magnitude lies between 2^-64 and 2^66, or zeros: sums,
// differences and products of at most MaxLinks + 1 steps of them stay far
// inside the usable range (their binary exponents within ±700; a nonzero
// difference is at least the last place of its smaller operand).
constexpr unsigned ModerateLow = ExponentBias - 64;
constexpr unsigned ModerateWidth = 130;

bool ModerateColumns(const long double* x, int n)
{
    bool moderate = true;
    for (int i = 0; i < n; ++i) {
        std::uint16_t signAndExponent;
        std::memcpy(&signAndExponent, reinterpret_cast<const char*>(&x[i]) + sizeof(std::uint64_t),
                    sizeof signAndExponent);
        const unsigned e = signAndExponent & 0x7FFFu;
        // Zeros are rare enough to be told from the other small values apart.
        moderate &= e - ModerateLow < ModerateWidth || (e == 0 && BitsOf(x[i]).mantissa == 0);
    }
    return moderate;
}

template <class Relation>
auto Comparison(Relation holds)
{
    return [holds](long double a, bool da, long double b, bool db, long double& v) {
        v = 1.0L;
        return da & db & holds(a, b);
    };
}

// A function of the angle unit's sine and cosine, computed for defined
// columns only.
template <class F>
auto OfDefined(F f)
{
    return [f](long double a, bool da, long double& v) {
        if (!da)
            return false;
        v = f(a);
        return true;
    };
}

// A logarithm: of a positive real only (real mode); the others are
// undefined without the C library's slow way to say so.
template <class F>
auto OfPositive(F f)
{
    return [f](long double a, bool da, long double& v) {
        if (!da || !(a > 0.0L))
            return false;
        v = f(a);
        return true;
    };
}

// The whole exponent of a power step, or 0 when the routine computes it.
int WholeExponentOf(const TLaneStep& s, const std::vector<TValue>& uniforms)
{
    int exponent = 0;
    if (s.b.where == Where::Uniform && SmallWholeExponent(uniforms[s.b.index], exponent))
        return exponent;
    return 0;
}

class BlockRun {
public:
    BlockRun(const TBlockProgram& p, const TBlockInputs& inputs, TRunScratch& scratch)
        : p_(p)
        , inputs_(inputs)
        , lanes_(scratch.lanes)
        , u_(scratch.uniforms)
        , uniformX_(scratch.uniformX)
        , uniformD_(scratch.uniformD)
    {
    }

    bool prepare(const TConstValues* consts, const TEvalEnv& env, int first, int last);
    // Columns from..from+n-1 of result; false when a routine gave something
    // other than a real.
    bool block(int from, int n, TColumnArray& result);
    void write(int from, int n, TColumnArray& result) const;
    const TValue& uniformResult() const { return u_[p_.result.index]; }

private:
    void computeUniforms(const TConstValues* consts, const TEvalEnv& env);
    bool uniformsFit() const;
    bool inputsFit(int first, int last) const;
    const TColumnArray* inputLane(int slot) const
    {
        switch (slot) {
        case InX: return inputs_.X.Lane;
        case InY: return inputs_.Y.Lane;
        case InZ: return inputs_.Z.Lane;
        case InW: return inputs_.W.Lane;
        default: return inputs_.Varying;
        }
    }
    // The last operation, when it gives the result, writes it in place.
    TOut target(const TLaneStep& s) const
    {
        return &s == last_ ? resultOut_ : TOut{lanes_[s.target].X, lanes_[s.target].D};
    }
    TArg arg(const TOperand& o, int from) const
    {
        switch (o.where) {
        case Where::Register: return {lanes_[o.index].X, lanes_[o.index].D};
        case Where::Input: {
            const TColumnArray* a = inputLane(o.index);
            return {a->XLane() + from, a->DefinedLane() + from};
        }
        default: return {&uniformX_[o.index], &uniformD_[o.index]};
        }
    }
    // checkRange: the routine passes its result through the range check.
    template <class F>
    void unary(const TLaneStep& s, int from, int n, bool checkRange, F f)
    {
        UnaryLoop<1>(arg(s.a, from), target(s), n, f);
        Settle(target(s), n, checkRange);
    }
    // loop(strideA, strideB, a, b, out) over the step's operands, with the
    // stride of a single value 0; then Settle.
    template <class Loop>
    void overOperands(const TLaneStep& s, int from, int n, bool checkRange, Loop loop)
    {
        using Lane = std::integral_constant<int, 1>;
        using Single = std::integral_constant<int, 0>;
        const TArg a = arg(s.a, from);
        const TArg b = arg(s.b, from);
        const TOut out = target(s);
        if (s.a.where == Where::Uniform)
            loop(Single{}, Lane{}, a, b, out);
        else if (s.b.where == Where::Uniform)
            loop(Lane{}, Single{}, a, b, out);
        else
            loop(Lane{}, Lane{}, a, b, out);
        Settle(out, n, checkRange);
    }
    template <class F>
    void binary(const TLaneStep& s, int from, int n, bool checkRange, F f)
    {
        overOperands(s, from, n, checkRange, [n, f](auto strideA, auto strideB, TArg a, TArg b, TOut out) {
            BinaryLoop<decltype(strideA)::value, decltype(strideB)::value>(a, b, out, n, f);
        });
    }
    template <class Op>
    void arithmetic(const TLaneStep& s, int from, int n, Op op)
    {
        overOperands(s, from, n, true, [n, op](auto strideA, auto strideB, TArg a, TArg b, TOut out) {
            ArithmeticLoop<decltype(strideA)::value, decltype(strideB)::value>(a, b, out, n, op);
        });
    }
    bool power(const TLaneStep& s, int from, int n);
    bool step(const TLaneStep& s, int from, int n);
    bool chain(const TPass& pass, int from, int n);
    void divideBySingle(const TLaneStep& s, int from, int n);
    bool routine(const TLaneStep& s, int from, int n);
    TValue columnValue(const TOperand& o, int from, int i) const
    {
        if (o.where == Where::Uniform)
            return u_[o.index];
        const TArg a = arg(o, from);
        return TValue{KindReal, a.d[i], a.x[i], 0.0L};
    }

    const TBlockProgram& p_;
    const TBlockInputs& inputs_;
    std::vector<TLane>& lanes_;
    std::vector<TValue>& u_;
    std::vector<long double>& uniformX_;
    std::vector<std::uint8_t>& uniformD_;
    // The operation that gives the result, and where it writes in this block.
    const TLaneStep* last_ = nullptr;
    TOut resultOut_{};
};

void BlockRun::computeUniforms(const TConstValues* consts, const TEvalEnv& env)
{
    u_.resize(p_.uniforms.size());
    TValue args[MaxArgumentCount];
    for (std::size_t i = 0; i < p_.uniforms.size(); ++i) {
        const TUniformStep& s = p_.uniforms[i];
        switch (s.op) {
        case UniformOp::Value: u_[i] = s.value; break;
        case UniformOp::Input: {
            const TBlockInput* in[] = {&inputs_.X, &inputs_.Y, &inputs_.Z, &inputs_.W};
            u_[i] = in[s.a]->Uniform;
            break;
        }
        case UniformOp::Param: u_[i] = ValueReal(ParamValue(s.token, env)); break;
        case UniformOp::Const:
            u_[i] = consts ? (*consts)[ConstantSlot(s.token)] : ValueUndefined(KindReal);
            break;
        case UniformOp::Unary: u_[i] = BuiltinTable.Unary[s.token](u_[s.a]); break;
        case UniformOp::Binary: u_[i] = BuiltinTable.Binary[s.token](u_[s.a], u_[s.b]); break;
        case UniformOp::Multi: {
            for (int k = 0; k < s.argCount; ++k)
                args[k] = u_[p_.uniformArgs[s.argStart + k]];
            const TMultiRoutine routine = BuiltinTable.Multi[s.token];
            u_[i] = routine ? routine(std::span<const TValue>(args, s.argCount)) : ValueUndefined(KindReal);
            break;
        }
        }
    }
}

// The lane kernels read single values as reals: each one a lane operation
// meets must be a real (or the zero of a leading sign before "+" and "-").
bool BlockRun::uniformsFit() const
{
    for (const auto& [index, n] : p_.countChecks) {
        const TValue& c = u_[index];
        if (!c.Defined || c.Kind != KindReal || c.X != static_cast<long double>(n))
            return false;
    }
    auto real = [this](const TOperand& o) {
        return o.where != Where::Uniform || (u_[o.index].Kind == KindReal && IsPositiveZero(u_[o.index].Y));
    };
    for (const TLaneStep& s : p_.steps) {
        if (s.op == LaneOp::Unary || s.op == LaneOp::Binary || s.op == LaneOp::Multi)
            continue; // the routine reads the value as it is
        const bool leadingSign = (s.op == LaneOp::Add || s.op == LaneOp::Subtract) && s.a.where == Where::Uniform
                                 && u_[s.a.index].Kind == KindSZero;
        if ((!real(s.a) && !leadingSign) || !real(s.b))
            return false;
    }
    return true;
}

// Every input column of the range that the program reads as a lane must
// be a real with Y = +0.
bool BlockRun::inputsFit(int first, int last) const
{
    for (int slot = 0; slot < InputCount; ++slot) {
        if (!p_.inputLanes[slot])
            continue;
        const TColumnArray* a = inputLane(slot);
        if (!a)
            return false;
        // Gathered over the range without a branch per column.
        const std::uint8_t* kind = a->KindLane();
        unsigned otherKinds = 0;
        for (int c = first; c <= last; ++c)
            otherKinds |= kind[c] ^ KindReal;
        if (otherKinds != 0)
            return false;
        if (const long double* y = a->YLane()) {
            std::uint64_t bits = 0;
            for (int c = first; c <= last; ++c) {
                const TBits yb = BitsOf(y[c]);
                bits |= yb.mantissa | yb.signAndExponent;
            }
            if (bits != 0)
                return false;
        }
    }
    return true;
}

bool BlockRun::prepare(const TConstValues* consts, const TEvalEnv& env, int first, int last)
{
    computeUniforms(consts, env);
    if (!uniformsFit() || !inputsFit(first, last))
        return false;
    uniformX_.resize(u_.size());
    uniformD_.resize(u_.size());
    for (std::size_t i = 0; i < u_.size(); ++i) {
        // The zero of a leading sign adds like a real 0.
        const bool real = u_[i].Kind == KindReal || u_[i].Kind == KindSZero;
        uniformD_[i] = real && u_[i].Defined;
        uniformX_[i] = uniformD_[i] ? u_[i].X : 0.0L;
    }
    if (static_cast<int>(lanes_.size()) < p_.registers)
        lanes_.resize(p_.registers);
    return true;
}

// "/" by a single value: its reciprocal once, then a product per column, as
// Quotient computes them.
void BlockRun::divideBySingle(const TLaneStep& s, int from, int n)
{
    const TArg a = arg(s.a, from);
    const TOut out = target(s);
    const long double divisor = uniformX_[s.b.index];
    const long double reciprocal = 1.0L / divisor;
    const std::uint8_t ok = uniformD_[s.b.index] && divisor != 0.0L && InUsableRange(reciprocal);
    for (int i = 0; i < n; ++i)
        out.X[i] = reciprocal * a.x[i];
    for (int i = 0; i < n; ++i)
        out.D[i] = a.d[i] & ok;
    Settle(out, n, true);
}

// "^" of a column and a whole exponent by repeated squaring; other powers
// by the routine.
bool BlockRun::power(const TLaneStep& s, int from, int n)
{
    const int exponent = WholeExponentOf(s, u_);
    if (exponent != 0) {
        unary(s, from, n, false, [exponent](long double a, bool da, long double& v) {
            return WholePower(a, da, exponent, v);
        });
        return true;
    }
    return routine(s, from, n);
}

// The built-in routine column by column: for the functions without a kernel
// of their own.
bool BlockRun::routine(const TLaneStep& s, int from, int n)
{
    const TOut out = target(s);
    bool reals = true;
    auto put = [&](int i, const TValue& r) {
        reals = reals && r.Kind == KindReal && IsPositiveZero(r.Y);
        out.X[i] = r.X;
        out.D[i] = r.Defined;
    };
    switch (s.op) {
    case LaneOp::Multi: {
        const TMultiRoutine f = BuiltinTable.Multi[s.token];
        TValue args[MaxArgumentCount];
        for (int i = 0; i < n; ++i) {
            for (int k = 0; k < s.argCount; ++k)
                args[k] = columnValue(p_.laneArgs[s.argStart + k], from, i);
            put(i, f(std::span<const TValue>(args, s.argCount)));
        }
        break;
    }
    case LaneOp::Binary:
    case LaneOp::Power: {
        const TBinaryRoutine f = BuiltinTable.Binary[s.token];
        for (int i = 0; i < n; ++i)
            put(i, f(columnValue(s.a, from, i), columnValue(s.b, from, i)));
        break;
    }
    default: {
        const TUnaryRoutine f = BuiltinTable.Unary[s.token];
        for (int i = 0; i < n; ++i)
            put(i, f(columnValue(s.a, from, i)));
        break;
    }
    }
    return reals;
}

bool BlockRun::block(int from, int n, TColumnArray& result)
{
    last_ = p_.result.where == Where::Register && p_.steps.back().target == p_.result.index ? &p_.steps.back()
                                                                                              : nullptr;
    resultOut_ = TOut{result.XLane() + from, result.DefinedLane() + from};
    for (const TPass& pass : p_.passes) {
        if (pass.chain && chain(pass, from, n))
            continue;
        for (int k = 0; k < pass.count; ++k)
            if (!step(p_.steps[pass.first + k], from, n))
                return false;
    }
    return true;
}

// A single value as a chain reads it: as it is, or its reciprocal for a
// quotient (defined when "/" by it gives defined values), computed as the
// quotients compute it.
void ChainValue(long double value, bool defined, bool reciprocal, long double& x, bool& d)
{
    if (!reciprocal) {
        x = value;
        d = defined;
        return;
    }
    x = 1.0L / value;
    d = defined && value != 0.0L && InUsableRange(x);
}

// A chain in one loop over the block, when its operands are moderate there;
// false (and nothing written) when not, or when a power's exponent is not
// 2: then its steps run one by one, with their range checks.
bool BlockRun::chain(const TPass& pass, int from, int n)
{
    const TLaneStep& first = p_.steps[pass.first];
    const int links = pass.count - 1;
    long double linkValues[MaxLinks];
    bool linksDefined = true;
    for (int k = 0; k < links; ++k) {
        bool d;
        ChainValue(uniformX_[pass.linkOperands[k]], uniformD_[pass.linkOperands[k]], pass.byReciprocal[k],
                   linkValues[k], d);
        linksDefined = linksDefined && d;
    }
    TArg a = arg(first.a, from);
    TArg b = arg(first.b, from);
    int strideA = first.a.where == Where::Uniform ? 0 : 1;
    int strideB = first.b.where == Where::Uniform ? 0 : 1;
    bool sameOperands = first.a.where == first.b.where && first.a.index == first.b.index;
    LaneOp op = first.op;
    // A quotient by a single value is the product by its reciprocal; a
    // square the product of the column by itself (as repeated squaring
    // forms it), which is never 0 nor out of range for moderate columns.
    long double divisor;
    std::uint8_t divisorDefined;
    if (op == LaneOp::Divide) {
        bool d;
        ChainValue(uniformX_[first.b.index], uniformD_[first.b.index], true, divisor, d);
        divisorDefined = d;
        b = TArg{&divisor, &divisorDefined};
        op = LaneOp::Multiply;
    } else if (op == LaneOp::Power) {
        if (WholeExponentOf(first, u_) != 2)
            return false;
        b = a;
        strideB = strideA;
        sameOperands = true;
        op = LaneOp::Multiply;
    }
    if (!ModerateColumns(a.x, strideA ? n : 1) || (!sameOperands && !ModerateColumns(b.x, strideB ? n : 1))
        || !ModerateColumns(linkValues, links))
        return false;
    const TOut out = target(p_.steps[pass.first + links]);
    ChainLoopOf(op, pass.links.data(), links)(a, strideA, b, strideB, linkValues, linksDefined, out, n);
    return true;
}

// One step over a block; false when a routine gave something other than a
// real.
bool BlockRun::step(const TLaneStep& s, int from, int n)
{
    constexpr bool Checked = true;
    constexpr bool Unchecked = false;
    {
        switch (s.op) {
        case LaneOp::Add: arithmetic(s, from, n, std::plus<long double>()); break;
        case LaneOp::Subtract: arithmetic(s, from, n, std::minus<long double>()); break;
        case LaneOp::Multiply: arithmetic(s, from, n, std::multiplies<long double>()); break;
        case LaneOp::Divide:
            if (s.b.where == Where::Uniform)
                divideBySingle(s, from, n);
            else
                binary(s, from, n, Checked, Quotient);
            break;
        case LaneOp::Power:
            if (!power(s, from, n))
                return false;
            break;
        case LaneOp::Negate:
            unary(s, from, n, Unchecked, [](long double a, bool da, long double& v) {
                v = 0.0L - a;
                return da;
            });
            break;
        case LaneOp::Sin:
        case LaneOp::Cos: {
            // The angle unit's kernel, called directly as SinOfAngle and
            // CosOfAngle would call it.
            const bool degrees = builtins::DegreeMode();
            long double (*kernel)(long double) =
                s.op == LaneOp::Sin ? (degrees ? SinDegreesL : SinL) : (degrees ? CosDegreesL : CosL);
            unary(s, from, n, Checked, OfDefined(kernel));
            break;
        }
        case LaneOp::Tan:
            unary(s, from, n, Checked,
                  [](long double a, bool da, long double& v) { return da && TangentOfAngle(a, v); });
            break;
        case LaneOp::Exp:
            // e^x underflows to 0 before its argument leaves the range.
            unary(s, from, n, Checked, [](long double a, bool da, long double& v) {
                if (!da)
                    return false;
                v = ExpL(a);
                return v != 0.0L;
            });
            break;
        case LaneOp::Ln: unary(s, from, n, Checked, OfPositive(LnL)); break;
        case LaneOp::Log:
            if (Options.LogMode == 2)
                unary(s, from, n, Checked, OfPositive(LnL));
            else
                unary(s, from, n, Checked, OfPositive([](long double a) { return std::log10(a); }));
            break;
        case LaneOp::Sqrt:
            unary(s, from, n, Checked, [](long double a, bool da, long double& v) {
                if (!da || !(a >= 0.0L))
                    return false;
                v = std::sqrt(a);
                return true;
            });
            break;
        case LaneOp::Abs:
            unary(s, from, n, Checked, [](long double a, bool da, long double& v) {
                v = std::fabs(a);
                return da;
            });
            break;
        case LaneOp::Less: binary(s, from, n, Unchecked, Comparison(std::less<long double>())); break;
        case LaneOp::LessEq: binary(s, from, n, Unchecked, Comparison(std::less_equal<long double>())); break;
        case LaneOp::Greater: binary(s, from, n, Unchecked, Comparison(std::greater<long double>())); break;
        case LaneOp::GreaterEq: binary(s, from, n, Unchecked, Comparison(std::greater_equal<long double>())); break;
        case LaneOp::And:
            // The operand with the larger value, the right one on a tie.
            binary(s, from, n, Unchecked, LargerOfBoth);
            break;
        case LaneOp::Or:
            // The defined operand with the larger value, the left one on a tie.
            binary(s, from, n, Unchecked, LargerDefined);
            break;
        case LaneOp::Not:
            unary(s, from, n, Unchecked, [](long double, bool da, long double& v) {
                v = 1.0L;
                return !da;
            });
            break;
        case LaneOp::Unary:
        case LaneOp::Binary:
        case LaneOp::Multi:
            if (!routine(s, from, n))
                return false;
            break;
        }
    }
    return true;
}

// The result of a block into its columns, snapped as every result is: in
// place when the last operation wrote it there.
void BlockRun::write(int from, int n, TColumnArray& result) const
{
    long double* x = result.XLane() + from;
    std::uint8_t* defined = result.DefinedLane() + from;
    if (last_) {
        for (int i = 0; i < n; ++i) {
            if (defined[i])
                Snap(x[i], x[i]);
        }
    } else {
        const TArg r = arg(p_.result, from);
        for (int i = 0; i < n; ++i) {
            if (r.d[i])
                Snap(r.x[i], x[i]);
            else
                std::memcpy(&x[i], &r.x[i], sizeof(long double));
            defined[i] = r.d[i];
        }
    }
    std::fill(result.KindLane() + from, result.KindLane() + from + n, KindReal);
    // +0 has no bits set: cleared as bytes, not stored as 80-bit values.
    if (long double* y = result.YLane())
        std::memset(static_cast<void*>(y + from), 0, sizeof(long double) * static_cast<std::size_t>(n));
}

} // namespace

TBlockInputs ColumnInputs(const TColumnArray& x, const TColumnArray& y, const TColumnArray& z, const TColumnArray& w,
                          int varyingParam, const TColumnArray* varying)
{
    TBlockInputs in;
    in.X.Lane = &x;
    in.Y.Lane = &y;
    in.Z.Lane = &z;
    in.W.Lane = &w;
    in.VaryingParam = varying ? varyingParam : 0;
    in.Varying = in.VaryingParam > 0 ? varying : nullptr;
    return in;
}

TBlockInputs RowInputs(const TColumnArray& x, long double y, int varyingParam, const TColumnArray* varying)
{
    TBlockInputs in;
    in.X.Lane = &x;
    in.Y.Uniform = ValueReal(y);
    in.Z.Uniform = ValueReal(0.0L);
    in.W.Uniform = ValueReal(0.0L);
    in.VaryingParam = varying ? varyingParam : 0;
    in.Varying = in.VaryingParam > 0 ? varying : nullptr;
    return in;
}

TBlockLanes TBlockLanes::Of(const TBlockInputs& inputs)
{
    return TBlockLanes{inputs.X.Lane != nullptr, inputs.Y.Lane != nullptr, inputs.Z.Lane != nullptr,
                       inputs.W.Lane != nullptr, inputs.Varying ? inputs.VaryingParam : 0};
}

std::uint32_t TBlockLanes::Key() const
{
    return (X ? 1u : 0u) | (Y ? 2u : 0u) | (Z ? 4u : 0u) | (W ? 8u : 0u)
           | (static_cast<std::uint32_t>(VaryingParam) << 4);
}

std::shared_ptr<const TBlockProgram> BlockProgramFor(QStringView code, const TBlockLanes& lanesOfInputs)
{
    const std::uint32_t lanes = lanesOfInputs.Key();
    return BlockPrograms
        .Find(
            qHash(code) ^ (lanes * 0x9E3779B9u),
            [&](const TBlockProgramEntry& e) { return e.Valid && e.Lanes == lanes && e.Code == code; },
            [&](TBlockProgramEntry& e) {
                e.Code = code.toString();
                e.Lanes = lanes;
                e.Valid = true;
                e.Program = ProgramCompiler(lanesOfInputs).compile(code);
            })
        .Program;
}

bool RunBlockProgram(const TBlockProgram& program, const TConstValues* consts, const TBlockInputs& inputs,
                     const TEvalEnv& env, int first, int last, TColumnArray& result)
{
    if (TBlockLanes::Of(inputs).Key() != program.lanes || (Options.ComplexMode && !program.complexSafe))
        return false;
    BlockRun run(program, inputs, Scratch());
    if (!run.prepare(consts, env, first, last))
        return false;
    if (program.result.where == Where::Uniform) {
        result.Fill(first, last, ValueSnap(run.uniformResult()));
    } else {
        for (int from = first; from <= last; from += BlockColumns) {
            const int n = std::min(BlockColumns, last - from + 1);
            if (!run.block(from, n, result))
                return false;
            run.write(from, n, result);
        }
    }
    ++BlockPrograms.ThisThread().Runs;
    return true;
}

bool EvaluateBlockColumns(const TFormulaView& formula, const TBlockInputs& inputs, const TEvalEnv& env, int first,
                          int last, TColumnArray& result)
{
    if (!BlockPrograms.Enabled || formula.Code.isEmpty())
        return false;
    const std::shared_ptr<const TBlockProgram> program = BlockProgramFor(formula.Code, TBlockLanes::Of(inputs));
    return program && RunBlockProgram(*program, formula.ConstValues, inputs, env, first, last, result);
}

// ----- Rows -------------------------------------------------------------------

TRowEvaluator::TRowEvaluator(const TKavirofunction& record)
    : TRowEvaluator(ViewOf(record))
{
}

TRowEvaluator::TRowEvaluator(const TFormulaView& formula)
    : formula_(formula)
{
    if (BlockPrograms.Enabled && !formula_.Code.isEmpty())
        program_ = BlockProgramFor(formula_.Code, TBlockLanes{});
}

TRowEvaluator::~TRowEvaluator() = default;

void TRowEvaluator::EvaluateRow(const TColumnArray& x, const TEvalEnv& row, const TArrayView& view, TColumnArray& out)
{
    const TColumnAxis& axis = view.XAxis;
    const long double y = row.Value(0);
    if (program_
        && RunBlockProgram(*program_, formula_.ConstValues, RowInputs(x, y, 0, nullptr), row, axis.Vlow, axis.VHigh, out)) {
        out.Fill(TColumnArray::First, axis.Vlow - 1, ValueUndefined(KindReal));
        out.Fill(axis.VHigh + 1, TColumnArray::Last, ValueUndefined(KindReal));
        return;
    }
    if (!ys_) {
        ys_ = std::make_unique<TColumnArray>();
        zeros_ = std::make_unique<TColumnArray>();
    }
    FillColumns(*ys_, ValueReal(y), axis);
    FillColumns(*zeros_, ValueReal(0.0L), axis);
    EvaluatePostfixArrays(formula_, x, *ys_, *zeros_, *zeros_, view, 0, nullptr, false, out, row);
}
