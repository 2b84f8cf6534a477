#include "engine/ScalarProgram.h"

#include "engine/BuiltinTable.h"
#include "engine/Columns.h"
#include "engine/EvalRules.h"
#include "engine/RealKernels.h"
#include "engine/TokenCode.h"
#include "engine/TokenTable.h"
#include "model/BuiltinsCommon.h"
#include "model/BuiltinsElementary.h"
#include "model/DocumentState.h"
#include "model/ElementaryKernels.h"
#include "model/Options.h"

#include <QHash>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

TScalarProgramTables ScalarPrograms;

namespace {

// What one step does to the accumulator. Load and Spill move it; the
// binary operations combine it with an operand (on either side), the unary
// ones change it in place. Unary and Binary call the built-in routine.
enum class ScalarOp : std::uint8_t {
    Load,
    Spill,
    Add,
    Subtract,
    Multiply,
    Divide,
    Power,
    Less,
    LessEq,
    Greater,
    GreaterEq,
    And,
    Or,
    Binary,
    Negate,
    Sin,
    Cos,
    Tan,
    Exp,
    Ln,
    Log,
    Sqrt,
    Abs,
    Not,
    Unary,
    Snap, // a user function's value, rounded as an evaluation rounds its result
};

// Where an operand lies outside the program: an input, a constant of the
// formula, a parameter, or a value the program holds (π, e, the zero of a
// leading sign).
enum class LeafKind : std::uint8_t { Input, Constant, Parameter, Fixed };

struct TLeaf {
    LeafKind kind = LeafKind::Fixed;
    int index = 0; // the input (0..3: x, y, z, w), constant slot or parameter slot
    int owner = 0; // constants: 0 the formula's, else the user function's slot
    long double value = 0.0L;
};

struct TScalarStep {
    ScalarOp op;
    bool accRight = false;     // binary: the accumulator is the right operand
    std::uint16_t operand = 0; // leaves first, then the values set aside
    TTokenCode token = 0;
};

// The steps once more for the common run, where every value stays defined:
// each operand's place is decided when compiling (a leaf, the value set
// aside last, which stays in a register, or one in memory), and each step
// either gives a defined value or sends the evaluation back to the general
// steps, which then compute it from the start.
enum class FastOp : std::uint8_t {
    Load,
    Spill,     // the accumulator set aside, in the register
    SpillMove, // the same, the register's value first moved to its slot
    Add,
    Subtract,
    SubtractFrom, // the operand minus the accumulator
    Multiply,
    Divide,
    DivideInto, // the operand divided by the accumulator
    Power,      // by a whole exponent when the operand is one, else the routine
    Less,
    LessEq,
    Greater,
    GreaterEq,
    And,
    Or,
    Binary,
    Negate,
    Sin,
    Cos,
    Tan,
    Exp,
    Ln,
    Log,
    Sqrt,
    Abs,
    Unary,
    Snap,
    Undefined, // a step whose result is undefined for a defined operand
};

enum class Source : std::uint8_t { None, Leaf, Held, Slot };

struct TFastStep {
    FastOp op;
    Source source = Source::None;
    bool accRight = false;     // comparisons, and, or, routines
    std::uint16_t operand = 0; // the leaf, or the slot
    TTokenCode token = 0;
    std::int16_t load = -1; // a leaf loaded into the accumulator first (a load joined to the step)
    // The range check may be left out when every leaf is moderate (see
    // TMagnitude): the result is then in range whatever the leaves are.
    bool checked = true;
};

} // namespace

// A user function whose code the program holds in place of the call.
struct TInlinedCall {
    int slot = 0;
    QString code; // the function's code when compiled in
};

class TScalarProgram {
public:
    std::vector<TLeaf> leaves;
    std::vector<TInlinedCall> inlined; // the program holds while these codes stay
    std::int64_t inlinedWork = 0;      // what the calls would charge: their codes' lengths
    std::vector<TScalarStep> steps;
    std::vector<TFastStep> fast;
    bool uncheckedSteps = false; // some fast step may leave out its range check
    int spills = 0; // values set aside at once, at most
    // No operation can give a complex value from reals in complex mode.
    bool complexSafe = true;
};

namespace {

// ----- Compiling ------------------------------------------------------------

bool BinaryOp(TTokenCode t, ScalarOp& op)
{
    const TNamedTokens& k = TokenCodes;
    const std::pair<TTokenCode, ScalarOp> table[] = {
        {k.Plus, ScalarOp::Add},          {k.Minus, ScalarOp::Subtract},       {k.Dot, ScalarOp::Multiply},
        {k.Cross, ScalarOp::Multiply},    {k.Divide, ScalarOp::Divide},        {k.Power, ScalarOp::Power},
        {k.Less, ScalarOp::Less},         {k.LessEqual, ScalarOp::LessEq},     {k.Greater, ScalarOp::Greater},
        {k.GreaterEqual, ScalarOp::GreaterEq}, {k.And, ScalarOp::And},        {k.Or, ScalarOp::Or},
    };
    if (FindTokenOp(table, t, op))
        return true;
    if (!IsGenericBinary(t))
        return false;
    op = ScalarOp::Binary;
    return true;
}

bool UnaryOp(TTokenCode t, ScalarOp& op)
{
    const TNamedTokens& k = TokenCodes;
    const std::pair<TTokenCode, ScalarOp> table[] = {
        {k.Underscore, ScalarOp::Negate}, {k.Sin, ScalarOp::Sin}, {k.Cos, ScalarOp::Cos},   {k.Tan, ScalarOp::Tan},
        {k.Exp, ScalarOp::Exp},           {k.Ln, ScalarOp::Ln},   {k.Log, ScalarOp::Log},   {k.Sqrt, ScalarOp::Sqrt},
        {k.Abs, ScalarOp::Abs},           {k.Not, ScalarOp::Not},
    };
    if (FindTokenOp(table, t, op))
        return true;
    if (!IsGenericUnary(t))
        return false;
    op = ScalarOp::Unary;
    return true;
}

// Turns the postfix code into accumulator steps. The stack of the code is
// followed at compile time: an entry is a leaf (read where it lies), the
// accumulator (at most one entry, the last computed), or a value set aside
// in the slot of its stack level.
class ScalarCompiler {
public:
    std::shared_ptr<const TScalarProgram> compile(QStringView code);

private:
    enum class Where : std::uint8_t { Leaf, Acc, Spilled };
    struct Entry {
        Where where = Where::Leaf;
        std::uint16_t index = 0; // leaf number; for Spilled its stack level
        bool leadingSign = false;
    };
    // Operands of the steps before the leaves are all known: spilled values
    // are numbered from SpillBase and moved behind the leaves at the end.
    static constexpr std::uint16_t SpillBase = 0x8000;

    // Inside a user function compiled in place of its call: what its inputs
    // and constants are.
    struct TCallFrame {
        std::array<Entry, 4> inputs; // x, y, z, w: the call's arguments
        int slot = 0;
    };

    bool token(TTokenCode t);
    bool input(int k);
    bool userFunction(TTokenCode t);
    bool pushLeaf(LeafKind kind, int index, long double value = 0.0L, bool leadingSign = false, int owner = 0);
    bool pushAcc()
    {
        if (stack_.size() >= EvaluationStackSize)
            return false;
        stack_.push_back({Where::Acc, 0, false});
        return true;
    }
    std::uint16_t operandOf(const Entry& e) const
    {
        return e.where == Where::Leaf ? e.index : static_cast<std::uint16_t>(SpillBase + e.index);
    }
    // Sets aside the accumulator's value when an entry below the top needs it kept.
    void spillAcc()
    {
        for (std::size_t level = 0; level < stack_.size(); ++level) {
            Entry& e = stack_[level];
            if (e.where != Where::Acc)
                continue;
            e = Entry{Where::Spilled, static_cast<std::uint16_t>(level), false};
            p_->spills = std::max(p_->spills, static_cast<int>(level) + 1);
            step(ScalarOp::Spill, false, operandOf(e));
        }
    }
    // Brings an operand into the accumulator.
    void load(const Entry& e)
    {
        if (e.where == Where::Acc)
            return;
        spillAcc();
        step(ScalarOp::Load, false, operandOf(e));
    }
    void step(ScalarOp op, bool accRight, std::uint16_t operand, TTokenCode t = 0)
    {
        p_->steps.push_back({op, accRight, operand, t});
    }
    bool unary(TTokenCode t);
    bool binary(TTokenCode t);

    std::vector<Entry> stack_;
    std::shared_ptr<TScalarProgram> p_;
    const TCallFrame* frame_ = nullptr;
};

// Bounds of the binary exponents of a value's magnitude: nonzero values
// lie within [2^lo, 2^hi]. When every leaf of an evaluation is zero or within
// [2^-ModerateLeafExponent, 2^(ModerateLeafExponent+1)], the bounds of each
// step's value follow from its operands'; a step whose bounds stay within
// 2^±8000 (inside 1E±2415) cannot leave the usable range, and its check is
// left out.
constexpr int ModerateLeafExponent = 64;

struct TMagnitude {
    static constexpr int Unknown = 1 << 20;
    int lo = -Unknown;
    int hi = Unknown;

    static TMagnitude Leaf() { return {-ModerateLeafExponent, ModerateLeafExponent + 1}; }
    static TMagnitude Clamped(long lo, long hi)
    {
        return {static_cast<int>(std::max<long>(lo, -Unknown)), static_cast<int>(std::min<long>(hi, Unknown))};
    }
    bool InRange() const { return lo >= -8000 && hi <= 8000; }
    // A nonzero sum or difference is a multiple of the smaller operand's
    // last place (2^-63 of it).
    static TMagnitude Sum(TMagnitude a, TMagnitude b)
    {
        return Clamped(std::min<long>(a.lo, b.lo) - 64, std::max<long>(a.hi, b.hi) + 1);
    }
    static TMagnitude Product(TMagnitude a, TMagnitude b)
    {
        return Clamped(static_cast<long>(a.lo) + b.lo - 1, static_cast<long>(a.hi) + b.hi + 1);
    }
    static TMagnitude Reciprocal(TMagnitude b) { return Clamped(-static_cast<long>(b.hi) - 1, -static_cast<long>(b.lo) + 1); }
    // a^n for a whole 0 < |n| <= 20, by repeated squaring.
    static TMagnitude WholePower(TMagnitude a)
    {
        const long lo = std::min<long>(20L * a.lo, -20L * a.hi) - 40;
        const long hi = std::max<long>(20L * a.hi, -20L * a.lo) + 40;
        return Clamped(lo, hi);
    }
    static TMagnitude Either(TMagnitude a, TMagnitude b) { return {std::min(a.lo, b.lo), std::max(a.hi, b.hi)}; }
};

// The magnitude of a step's value and whether its range check stays.
// wholePower: a power of the accumulator by a leaf, which the fast steps
// raise by repeated squaring when the leaf is a small whole number (and
// when it is not, they check every step after it).
void Bound(const TScalarStep& s, TMagnitude operand, bool wholePower, TMagnitude& acc, bool& checked)
{
    TMagnitude v; // unknown
    switch (s.op) {
    case ScalarOp::Add:
    case ScalarOp::Subtract: v = TMagnitude::Sum(acc, operand); break;
    case ScalarOp::Multiply: v = TMagnitude::Product(acc, operand); break;
    case ScalarOp::Divide: {
        const TMagnitude divisor = s.accRight ? acc : operand;
        const TMagnitude r = TMagnitude::Reciprocal(divisor);
        v = TMagnitude::Product(r, s.accRight ? operand : acc);
        if (!r.InRange())
            v = TMagnitude{};
        break;
    }
    case ScalarOp::Power:
        if (wholePower)
            v = TMagnitude::WholePower(acc);
        break;
    case ScalarOp::Less:
    case ScalarOp::LessEq:
    case ScalarOp::Greater:
    case ScalarOp::GreaterEq:
    case ScalarOp::Not: v = {0, 0}; break;
    case ScalarOp::And:
    case ScalarOp::Or: v = TMagnitude::Either(acc, operand); break;
    case ScalarOp::Negate:
    case ScalarOp::Abs: v = acc; break;
    default: break; // functions and routines: unknown
    }
    checked = !v.InRange();
    acc = v;
}

// The fast form of the steps. Where the general steps look at run time
// whether an operand is the value set aside last (kept in a register), this
// follows the same register from step to step here, once.
FastOp FastOpOf(const TScalarStep& s)
{
    switch (s.op) {
    case ScalarOp::Load: return FastOp::Load;
    case ScalarOp::Spill: return FastOp::Spill;
    case ScalarOp::Add: return FastOp::Add;
    case ScalarOp::Subtract: return s.accRight ? FastOp::SubtractFrom : FastOp::Subtract;
    case ScalarOp::Multiply: return FastOp::Multiply;
    case ScalarOp::Divide: return s.accRight ? FastOp::DivideInto : FastOp::Divide;
    case ScalarOp::Power: return FastOp::Power;
    case ScalarOp::Less: return FastOp::Less;
    case ScalarOp::LessEq: return FastOp::LessEq;
    case ScalarOp::Greater: return FastOp::Greater;
    case ScalarOp::GreaterEq: return FastOp::GreaterEq;
    case ScalarOp::And: return FastOp::And;
    case ScalarOp::Or: return FastOp::Or;
    case ScalarOp::Binary: return FastOp::Binary;
    case ScalarOp::Negate: return FastOp::Negate;
    case ScalarOp::Sin: return FastOp::Sin;
    case ScalarOp::Cos: return FastOp::Cos;
    case ScalarOp::Tan: return FastOp::Tan;
    case ScalarOp::Exp: return FastOp::Exp;
    case ScalarOp::Ln: return FastOp::Ln;
    case ScalarOp::Log: return FastOp::Log;
    case ScalarOp::Sqrt: return FastOp::Sqrt;
    case ScalarOp::Abs: return FastOp::Abs;
    case ScalarOp::Unary: return FastOp::Unary;
    case ScalarOp::Snap: return FastOp::Snap;
    case ScalarOp::Not: break; // undefined of a defined value
    }
    return FastOp::Undefined;
}

std::vector<TFastStep> FastStepsOf(const TScalarProgram& p)
{
    const int leaves = static_cast<int>(p.leaves.size());
    std::vector<TFastStep> fast;
    fast.reserve(p.steps.size());
    int heldAt = -1;
    // Magnitudes of the leaves and of the values set aside, by operand.
    std::vector<TMagnitude> stored(leaves + p.spills, TMagnitude::Leaf());
    TMagnitude acc;
    for (const TScalarStep& s : p.steps) {
        TFastStep f{FastOpOf(s)};
        f.accRight = s.accRight;
        f.token = s.token;
        if (s.op == ScalarOp::Load)
            acc = stored[s.operand];
        else if (s.op == ScalarOp::Spill)
            stored[s.operand] = acc;
        else
            Bound(s, s.op <= ScalarOp::Binary ? stored[s.operand] : TMagnitude{},
                  !s.accRight && s.operand < leaves, acc, f.checked);
        if (f.op == FastOp::Spill) {
            if (heldAt >= 0) {
                f.op = FastOp::SpillMove;
                f.operand = static_cast<std::uint16_t>(heldAt - leaves);
            }
            heldAt = s.operand;
        } else if (s.op <= ScalarOp::Binary) {
            const int o = s.operand;
            f.source = o == heldAt ? Source::Held : o < leaves ? Source::Leaf : Source::Slot;
            f.operand = static_cast<std::uint16_t>(o < leaves ? o : o - leaves);
            // A power by a whole exponent reads it from a leaf on the right.
            if (f.op == FastOp::Power && (s.accRight || f.source != Source::Leaf))
                f.op = FastOp::Binary;
        }
        // A load of a leaf joins the step after it when that one reads the
        // accumulator (every step but a load or a spill does).
        if (!fast.empty() && fast.back().op == FastOp::Load && fast.back().source == Source::Leaf
            && fast.back().load < 0 && f.op != FastOp::Load && f.op != FastOp::Spill && f.op != FastOp::SpillMove) {
            f.load = static_cast<std::int16_t>(fast.back().operand);
            fast.back() = f;
            continue;
        }
        fast.push_back(f);
    }
    return fast;
}

std::shared_ptr<const TScalarProgram> ScalarCompiler::compile(QStringView code)
{
    p_ = std::make_shared<TScalarProgram>();
    for (QChar ch : code) {
        if (!token(ch.unicode()))
            return nullptr;
    }
    // A malformed code leaves several values (or none): the machine's business.
    if (stack_.size() != 1 || stack_.back().leadingSign)
        return nullptr;
    load(stack_.back());
    const auto leaves = static_cast<std::uint16_t>(p_->leaves.size());
    for (TScalarStep& s : p_->steps) {
        if (s.operand >= SpillBase)
            s.operand = static_cast<std::uint16_t>(s.operand - SpillBase + leaves);
    }
    p_->fast = FastStepsOf(*p_);
    p_->uncheckedSteps = std::ranges::any_of(p_->fast, [](const TFastStep& f) { return !f.checked; });
    return p_;
}

bool ScalarCompiler::pushLeaf(LeafKind kind, int index, long double value, bool leadingSign, int owner)
{
    if (stack_.size() >= EvaluationStackSize)
        return false;
    std::size_t i = 0;
    while (i < p_->leaves.size()) {
        const TLeaf& l = p_->leaves[i];
        if (l.kind == kind && l.index == index && l.owner == owner && (kind != LeafKind::Fixed || l.value == value))
            break;
        ++i;
    }
    if (i == p_->leaves.size())
        p_->leaves.push_back({kind, index, owner, value});
    stack_.push_back({Where::Leaf, static_cast<std::uint16_t>(i), leadingSign});
    return true;
}

bool ScalarCompiler::token(TTokenCode t)
{
    switch (RuleOf(t)) {
    case Rule::None: return true;
    case Rule::InputX: return input(0);
    case Rule::InputY: return input(1);
    case Rule::InputZ: return input(2);
    case Rule::InputW: return input(3);
    case Rule::Pi: return pushLeaf(LeafKind::Fixed, 0, ValuePi().X);
    case Rule::E: return pushLeaf(LeafKind::Fixed, 0, ValueE().X);
    // The zero of a leading sign adds and subtracts like a real 0, and is
    // refused anywhere else.
    case Rule::SZero: return pushLeaf(LeafKind::Fixed, 0, 0.0L, true);
    case Rule::Parameter: {
        const int slot = ParamIndexOfToken(t);
        if (slot >= 1 && slot <= ParamCount)
            return pushLeaf(LeafKind::Parameter, slot);
        return pushLeaf(LeafKind::Fixed, 0, 0.0L);
    }
    case Rule::Constant: return pushLeaf(LeafKind::Constant, ConstantSlot(t), 0.0L, false, frame_ ? frame_->slot : 0);
    case Rule::UserFunction: return userFunction(t);
    case Rule::Unary: return unary(t);
    case Rule::Add:
    case Rule::Subtract:
    case Rule::Multiply:
    case Rule::Binary: return binary(t);
    default:
        // Imaginary unit, undefined names, graph names, objects, points of
        // the inputs, lists, binders, cof, sol, path and Stepsize need the
        // stack machine.
        return false;
    }
}

bool ScalarCompiler::input(int k)
{
    if (!frame_)
        return pushLeaf(LeafKind::Input, k);
    if (stack_.size() >= EvaluationStackSize)
        return false;
    stack_.push_back(frame_->inputs[static_cast<std::size_t>(k)]);
    return true;
}

// f(a1, a2, a3, a4) with the derivative order 0 written first (the code
// pushes the order and the four arguments, then the name): the function's
// code compiled in its place, reading the arguments where they lie, and its
// value rounded as the evaluation of the call rounds it. Only plain calls of
// functions that call no user function are compiled in; the program is
// compiled again once one of their codes changes.
bool ScalarCompiler::userFunction(TTokenCode t)
{
    const int slot = EvalTables.UserFunctionSlot[t];
    if (frame_ || stack_.size() < 5 || slot < 1 || slot > UserFunctionCount)
        return false;
    const std::size_t base = stack_.size() - 5;
    const Entry order = stack_[base];
    if (order.where != Where::Leaf)
        return false;
    const TLeaf& orderLeaf = p_->leaves[order.index];
    if (orderLeaf.kind != LeafKind::Constant || orderLeaf.index != 0 || orderLeaf.owner != 0)
        return false;
    for (std::size_t k = base; k < stack_.size(); ++k)
        if (stack_[k].leadingSign)
            return false;
    const QString& code = DocumentTables.UserFunctions[slot].Code;
    if (code.isEmpty())
        return false;
    // The arguments stay on the stack below the function's values, each
    // read where it lies; the one in the accumulator is set aside first.
    spillAcc();
    TCallFrame frame;
    for (std::size_t k = 0; k < 4; ++k)
        frame.inputs[k] = stack_[base + 1 + k];
    frame.slot = slot;
    frame_ = &frame;
    bool compiled = true;
    for (QChar ch : code)
        if (!(compiled = token(ch.unicode())))
            break;
    frame_ = nullptr;
    if (!compiled || stack_.size() != base + 6 || stack_.back().leadingSign)
        return false;
    load(stack_.back());
    step(ScalarOp::Snap, false, 0);
    stack_.resize(base);
    p_->inlined.push_back({slot, code});
    p_->inlinedWork += code.size();
    return pushAcc();
}

bool ScalarCompiler::unary(TTokenCode t)
{
    ScalarOp op;
    if (stack_.empty() || stack_.back().leadingSign || !UnaryOp(t, op))
        return false;
    load(stack_.back());
    stack_.pop_back();
    step(op, false, 0, t);
    if (MayGoComplex(t))
        p_->complexSafe = false;
    return pushAcc();
}

bool ScalarCompiler::binary(TTokenCode t)
{
    ScalarOp op;
    if (stack_.size() < 2 || !BinaryOp(t, op))
        return false;
    const Entry b = stack_.back();
    const Entry a = stack_[stack_.size() - 2];
    const bool sum = op == ScalarOp::Add || op == ScalarOp::Subtract;
    if (b.leadingSign || (a.leadingSign && !sum))
        return false;
    stack_.resize(stack_.size() - 2);
    if (b.where == Where::Acc) {
        step(op, true, operandOf(a), t);
    } else {
        load(a);
        step(op, false, operandOf(b), t);
    }
    if (MayGoComplex(t))
        p_->complexSafe = false;
    return pushAcc();
}

// ----- Running ----------------------------------------------------------------

// A defined real with Y = +0 in the usable range: what the steps read.
// Checked on the bits, without loading the values.
inline bool PlainReal(const TValue& v)
{
    return v.Kind == KindReal && v.Defined && IsPositiveZero(v.Y) && InRange(v.X);
}

// Where each operand lies for this evaluation; false when one is not a
// plain real.
// The inputs are passed one by one: a table of them built by the caller
// would be read back before its stores complete.
bool PlaceLeaves(const TScalarProgram& p, const TConstValues* consts, const TValue& x, const TValue* y,
                 const TValue& z, const TValue& w, const TEvalEnv& env, const long double** where)
{
    for (std::size_t i = 0; i < p.leaves.size(); ++i) {
        const TLeaf& leaf = p.leaves[i];
        switch (leaf.kind) {
        case LeafKind::Input: {
            const TValue* input = leaf.index == 0 ? &x : leaf.index == 1 ? y : leaf.index == 2 ? &z : &w;
            if (!input) {
                // The environment's y, as a real of its value.
                const long double& y = env.Value(0);
                if (!InRange(y))
                    return false;
                where[i] = &y;
                break;
            }
            const TValue& v = *input;
            if (!PlainReal(v))
                return false;
            where[i] = &v.X;
            break;
        }
        case LeafKind::Constant: {
            const TConstValues* table = leaf.owner ? &DocumentTables.UserFunctions[leaf.owner].ConstValues : consts;
            if (!table)
                return false;
            const TValue& v = (*table)[leaf.index];
            if (!PlainReal(v))
                return false;
            where[i] = &v.X;
            break;
        }
        case LeafKind::Parameter: {
            const long double& v = env.Value(leaf.index);
            if (!InRange(v))
                return false;
            where[i] = &v;
            break;
        }
        case LeafKind::Fixed: where[i] = &leaf.value; break;
        }
    }
    return true;
}

// A value set aside while the accumulator computes another.
struct TSpilled {
    long double value;
    bool defined;
};

// Operands that a program may read where they lie.
constexpr int MaxLeaves = 2 * EvaluationStackSize;

// The steps over the accumulator; false when a routine gave something
// other than a real. Every undefined value but a routine's has the value +0,
// as the routines leave it.
bool RunSteps(const TScalarProgram& p, const long double* const* where, TSpilled* spilled, long double& result,
              bool& resultDefined)
{
    const int leaves = static_cast<int>(p.leaves.size());
    long double acc = 0.0L;
    bool ad = false;
    // The value set aside last stays in a register too (an 80-bit value
    // stored and read back soon after waits for the store); it goes to
    // memory when another one is set aside.
    long double held = 0.0L;
    bool heldDefined = false;
    int heldAt = -1;
    const auto read = [&](int operand, long double& o, bool& od) {
        if (operand == heldAt) {
            o = held;
            od = heldDefined;
        } else {
            o = *where[operand];
            od = operand < leaves || spilled[operand - leaves].defined;
        }
    };
    for (const TScalarStep& s : p.steps) {
        long double v = 0.0L;
        bool d = false;
        if (s.op <= ScalarOp::Binary && s.op != ScalarOp::Load) {
            if (s.op == ScalarOp::Spill) {
                if (heldAt >= 0)
                    spilled[heldAt - leaves] = TSpilled{held, heldDefined};
                held = acc;
                heldDefined = ad;
                heldAt = s.operand;
                continue;
            }
            long double o;
            bool od;
            read(s.operand, o, od);
            const long double a = s.accRight ? o : acc;
            const long double b = s.accRight ? acc : o;
            const bool da = s.accRight ? od : ad;
            const bool db = s.accRight ? ad : od;
            switch (s.op) {
            case ScalarOp::Add:
                v = a + b;
                d = da & db & InUsableRangeQuick(v);
                break;
            case ScalarOp::Subtract:
                v = a - b;
                d = da & db & InUsableRangeQuick(v);
                break;
            case ScalarOp::Multiply:
                v = a * b;
                d = da & db & InUsableRangeQuick(v);
                break;
            case ScalarOp::Divide: d = Quotient(a, da, b, db, v) && InUsableRangeQuick(v); break;
            case ScalarOp::Power: {
                // A whole exponent written in the formula by repeated squaring.
                int n = 0;
                if (!s.accRight && s.operand < leaves && SmallWholeExponentInMemory(*where[s.operand], n)) {
                    d = WholePower(a, da, n, v);
                    break;
                }
                [[fallthrough]];
            }
            case ScalarOp::Binary: {
                const TValue r =
                    BuiltinTable.Binary[s.token](TValue{KindReal, da, a, 0.0L}, TValue{KindReal, db, b, 0.0L});
                if (r.Kind != KindReal || !IsPositiveZero(r.Y))
                    return false;
                acc = r.X;
                ad = r.Defined;
                continue;
            }
            case ScalarOp::Less: v = 1.0L, d = da & db & (a < b); break;
            case ScalarOp::LessEq: v = 1.0L, d = da & db & (a <= b); break;
            case ScalarOp::Greater: v = 1.0L, d = da & db & (a > b); break;
            case ScalarOp::GreaterEq: v = 1.0L, d = da & db & (a >= b); break;
            case ScalarOp::And: d = LargerOfBoth(a, da, b, db, v); break;
            case ScalarOp::Or: d = LargerDefined(a, da, b, db, v); break;
            default: break;
            }
        } else {
            switch (s.op) {
            case ScalarOp::Load: read(s.operand, acc, ad); continue;
            case ScalarOp::Negate:
                v = 0.0L - acc;
                d = ad;
                break;
            case ScalarOp::Sin:
            case ScalarOp::Cos:
                if (ad) {
                    v = SinOrCosOfAngle(s.op == ScalarOp::Sin, acc);
                    d = InUsableRangeQuick(v);
                }
                break;
            case ScalarOp::Tan:
                d = ad && TangentOfAngle(acc, v) && InUsableRangeQuick(v);
                break;
            case ScalarOp::Exp:
                // e^x underflows to 0 before its argument leaves the range.
                if (ad) {
                    v = ExpL(acc);
                    d = v != 0.0L && InUsableRangeQuick(v);
                }
                break;
            case ScalarOp::Ln:
            case ScalarOp::Log:
                if (ad && acc > 0.0L) {
                    v = s.op == ScalarOp::Ln || Options.LogMode == 2 ? LnL(acc) : std::log10(acc);
                    d = InUsableRangeQuick(v);
                }
                break;
            case ScalarOp::Sqrt:
                if (ad && acc >= 0.0L) {
                    v = std::sqrt(acc);
                    d = InUsableRangeQuick(v);
                }
                break;
            case ScalarOp::Abs:
                v = std::fabs(acc);
                d = ad && InUsableRangeQuick(v);
                break;
            case ScalarOp::Not:
                v = 1.0L;
                d = !ad;
                break;
            case ScalarOp::Unary: {
                const TValue r = BuiltinTable.Unary[s.token](TValue{KindReal, ad, acc, 0.0L});
                if (r.Kind != KindReal || !IsPositiveZero(r.Y))
                    return false;
                acc = r.X;
                ad = r.Defined;
                continue;
            }
            case ScalarOp::Snap:
                if (ad)
                    acc = SnapToIntegerQuick(acc);
                continue;
            default: break;
            }
        }
        acc = d ? v : 0.0L;
        ad = d;
    }
    result = acc;
    resultDefined = ad;
    return true;
}

// "^" of a defined real by a whole exponent n, as WholePower computes it:
// squares and cubes written out (the products repeated squaring forms; a
// negative base gives the same magnitude, rounding being symmetric).
inline bool FastWholePower(long double a, int n, bool checked, long double& v)
{
    if (a == 0.0L) {
        v = 0.0L;
        return n > 0;
    }
    if (n == 2)
        v = a * a;
    else if (n == 3)
        v = a * (a * a);
    else
        return WholePower(a, true, n, v);
    return !checked || (v != 0.0L && InUsableRangeQuick(v));
}

// True when every leaf is zero or of a moderate magnitude (TMagnitude::Leaf).
bool ModerateLeaves(const TScalarProgram& p, const long double* const* where)
{
    bool moderate = true;
    for (std::size_t i = 0; i < p.leaves.size(); ++i) {
        const TBits b = BitsOf(*where[i]);
        const unsigned e = b.signAndExponent & 0x7FFFu;
        moderate &= (e == 0 && b.mantissa == 0)
                    || e - (ExponentBias - ModerateLeafExponent) <= 2u * ModerateLeafExponent;
    }
    return moderate;
}

// The fast form of the steps: NaN as soon as a value would be undefined
// (or a routine gave no real), and the general steps then decide; every
// value they give is in range. Every step computes what the general one
// computes for defined operands. The value comes back in a register: one
// stored and read back at once would wait for the store.
long double RunFastSteps(const TScalarProgram& p, const long double* const* where, TSpilled* slots)
{
    constexpr long double Failed = std::numeric_limits<long double>::quiet_NaN();
    // The range checks the leaves' magnitudes do not make needless.
    bool checkAll = !(p.uncheckedSteps && ModerateLeaves(p, where));
    long double acc = 0.0L;
    long double held = 0.0L;
    const auto leaf = [&](int i) -> long double { return *where[i]; };
    const auto operand = [&](const TFastStep& s) -> long double {
        switch (s.source) {
        case Source::Leaf: return leaf(s.operand);
        case Source::Held: return held;
        case Source::Slot: return slots[s.operand].value;
        case Source::None: break;
        }
        return 0.0L;
    };
    // Comparisons, and, or and routines: their operands in order.
    const auto inOrder = [&](const TFastStep& s, long double& a, long double& b) {
        const long double o = operand(s);
        a = s.accRight ? o : acc;
        b = s.accRight ? acc : o;
    };
    for (const TFastStep& s : p.fast) {
        if (s.load >= 0)
            acc = leaf(s.load);
        long double v = 0.0L;
        long double a, b;
        switch (s.op) {
        case FastOp::Load: acc = operand(s); continue;
        case FastOp::SpillMove: slots[s.operand].value = held; [[fallthrough]];
        case FastOp::Spill: held = acc; continue;
        case FastOp::Add: v = acc + operand(s); break;
        case FastOp::Subtract: v = acc - operand(s); break;
        case FastOp::SubtractFrom: v = operand(s) - acc; break;
        case FastOp::Multiply: v = acc * operand(s); break;
        case FastOp::Divide:
        case FastOp::DivideInto: {
            const long double o = operand(s);
            const long double divisor = s.op == FastOp::Divide ? o : acc;
            const long double r = 1.0L / divisor;
            if (divisor == 0.0L || ((checkAll || s.checked) && !InUsableRangeQuick(r)))
                return Failed;
            v = r * (s.op == FastOp::Divide ? acc : o);
            break;
        }
        case FastOp::Power: {
            int n = 0;
            if (SmallWholeExponentInMemory(*where[s.operand], n)) {
                if (!FastWholePower(acc, n, checkAll || s.checked, acc))
                    return Failed;
                continue;
            }
            // Any other power may be far larger: the bounds of what follows
            // no longer hold.
            checkAll = true;
            [[fallthrough]];
        }
        case FastOp::Binary: {
            inOrder(s, a, b);
            const TValue r = BuiltinTable.Binary[s.token](TValue{KindReal, 1, a, 0.0L}, TValue{KindReal, 1, b, 0.0L});
            if (r.Kind != KindReal || !r.Defined || !IsPositiveZero(r.Y))
                return Failed;
            acc = r.X;
            continue;
        }
        case FastOp::Less:
        case FastOp::LessEq:
        case FastOp::Greater:
        case FastOp::GreaterEq: {
            inOrder(s, a, b);
            const bool holds = s.op == FastOp::Less     ? a < b
                               : s.op == FastOp::LessEq ? a <= b
                               : s.op == FastOp::Greater ? a > b
                                                         : a >= b;
            if (!holds)
                return Failed;
            acc = 1.0L;
            continue;
        }
        case FastOp::And:
            inOrder(s, a, b);
            LargerOfBoth(a, true, b, true, acc);
            continue;
        case FastOp::Or:
            inOrder(s, a, b);
            LargerDefined(a, true, b, true, acc);
            continue;
        case FastOp::Negate: acc = 0.0L - acc; continue;
        case FastOp::Sin:
        case FastOp::Cos: v = SinOrCosOfAngle(s.op == FastOp::Sin, acc); break;
        case FastOp::Tan:
            if (!TangentOfAngle(acc, v))
                return Failed;
            break;
        case FastOp::Exp:
            v = ExpL(acc);
            if (v == 0.0L)
                return Failed;
            break;
        case FastOp::Ln:
        case FastOp::Log:
            if (!(acc > 0.0L))
                return Failed;
            v = s.op == FastOp::Ln || Options.LogMode == 2 ? LnL(acc) : std::log10(acc);
            break;
        case FastOp::Sqrt:
            if (!(acc >= 0.0L))
                return Failed;
            v = std::sqrt(acc);
            break;
        case FastOp::Abs: v = std::fabs(acc); break;
        case FastOp::Unary: {
            const TValue r = BuiltinTable.Unary[s.token](TValue{KindReal, 1, acc, 0.0L});
            if (r.Kind != KindReal || !r.Defined || !IsPositiveZero(r.Y))
                return Failed;
            acc = r.X;
            continue;
        }
        case FastOp::Snap: acc = SnapToIntegerQuick(acc); continue;
        case FastOp::Undefined: return Failed;
        }
        // The range check of every step that has one.
        if ((checkAll || s.checked) && !InUsableRangeQuick(v))
            return Failed;
        acc = v;
    }
    return acc;
}

// A real result, copied from a real zero so that its Y is stored without
// the x87.
inline TValue RealResult(bool defined, long double x)
{
    static constexpr TValue RealZero{KindReal, 0, 0.0L, 0.0L};
    TValue result = RealZero;
    result.Defined = defined;
    result.X = x;
    return result;
}

std::size_t HashOfPlace(const void* where, qsizetype size)
{
    const auto bits = reinterpret_cast<std::uintptr_t>(where);
    return (bits >> 4) ^ (bits >> 12) ^ static_cast<std::size_t>(size) * 0x9E3779B9u;
}

// Codes are a few dozen tokens: compared inline, eight bytes at a time,
// without a library call.
bool SameCode(const QString& stored, QStringView code)
{
    if (stored.size() != code.size())
        return false;
    const auto* a = reinterpret_cast<const char*>(stored.constData());
    const auto* b = reinterpret_cast<const char*>(code.data());
    const std::size_t bytes = sizeof(QChar) * static_cast<std::size_t>(code.size());
    std::size_t i = 0;
    for (; i + 8 <= bytes; i += 8) {
        std::uint64_t x, y;
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        if (x != y)
            return false;
    }
    for (; i < bytes; i += 2) {
        std::uint16_t x, y;
        std::memcpy(&x, a + i, 2);
        std::memcpy(&y, b + i, 2);
        if (x != y)
            return false;
    }
    return true;
}

// Whether the user functions compiled into the program still have the codes
// it was compiled with.
bool InlinedCallsCurrent(const TScalarProgram* p)
{
    if (!p)
        return true;
    for (const TInlinedCall& call : p->inlined)
        if (!SameCode(call.code, DocumentTables.UserFunctions[call.slot].Code))
            return false;
    return true;
}

// The program of the code, from the cache or compiled now. The cache is
// looked up by where the code lies, which is checked against what it says.
const TScalarProgram* ProgramFor(TScalarProgramTables::TTable& table, QStringView code)
{
    return TScalarProgramTables::Find(
            table, HashOfPlace(code.data(), code.size()),
            [&](const TScalarProgramEntry& e) {
                return e.Where == code.data() && SameCode(e.Code, code) && InlinedCallsCurrent(e.Program.get());
            },
            [&](TScalarProgramEntry& e) {
                e.Where = code.data();
                e.Code = code.toString();
                e.Program = ScalarCompiler().compile(code);
            })
        .Program.get();
}

// Room for the operands of most programs; larger ones take the long way.
constexpr std::size_t FewPlaces = 24;
constexpr int FewSpills = 8;

// The program's value with its operands placed in the arrays given.
template <std::size_t Places, int Spills>
[[gnu::always_inline]] inline TValue RunProgram(const TScalarProgram& p, const TFormulaView& formula, const TValue& x, const TValue* y,
                  const TValue& z, const TValue& w, const TEvalEnv& env, long long& runs)
{
    constexpr TValue Declined{ScalarProgramDeclined, 0, 0.0L, 0.0L};
    const long double* where[Places];
    TSpilled spilled[Spills];
    if (!PlaceLeaves(p, formula.ConstValues, x, y, z, w, env, where))
        return Declined;
    const std::size_t leaves = p.leaves.size();
    for (int i = 0; i < p.spills; ++i)
        where[leaves + static_cast<std::size_t>(i)] = &spilled[i].value;
    // Snapped as the machine snaps its result. The fast steps' value stays
    // in a register on its way into the record.
    const long double fast = RunFastSteps(p, where, spilled);
    if (!std::isnan(fast)) {
        ++runs;
        return RealResult(true, SnapToIntegerQuick(fast));
    }
    // Where a user function's value would not stay defined, the machine
    // evaluates the call as it does every call.
    if (!p.inlined.empty())
        return Declined;
    long double value = 0.0L;
    bool valueDefined = true;
    if (!RunSteps(p, where, spilled, value, valueDefined))
        return Declined;
    ++runs;
    return RealResult(valueDefined, valueDefined ? SnapToIntegerQuick(value) : value);
}

[[gnu::noinline]] TValue RunLargeProgram(const TScalarProgram& p, const TFormulaView& formula, const TValue& x,
                                         const TValue* y, const TValue& z, const TValue& w, const TEvalEnv& env,
                                         long long& runs)
{
    return RunProgram<MaxLeaves + EvaluationStackSize, EvaluationStackSize>(p, formula, x, y, z, w, env, runs);
}

} // namespace

TValue ScalarProgramValue(const TFormulaView& formula, const TValue& x, const TValue* y, const TValue& z,
                          const TValue& w, const TEvalEnv& env, TScalarNesting& nesting)
{
    // Every result is a value built where it is returned.
    constexpr TValue Declined{ScalarProgramDeclined, 0, 0.0L, 0.0L};
    if (!ScalarPrograms.Enabled || formula.Code.isEmpty())
        return Declined;
    // No routine a program calls evaluates a formula, so the cache entry
    // stays as it is while the program runs.
    TScalarProgramTables::TTable& table = ScalarPrograms.ThisThread();
    const TScalarProgram* p = ProgramFor(table, formula.Code);
    if (!p || (Options.ComplexMode && !p->complexSafe) || p->leaves.size() > MaxLeaves)
        return Declined;
    if (!p->inlined.empty()) {
        if (!nesting.Room)
            return Declined;
        nesting.Work = p->inlinedWork;
    }
    long long& runs = table.Runs;
    if (p->leaves.size() + static_cast<std::size_t>(p->spills) <= FewPlaces && p->spills <= FewSpills)
        return RunProgram<FewPlaces, FewSpills>(*p, formula, x, y, z, w, env, runs);
    return RunLargeProgram(*p, formula, x, y, z, w, env, runs);
}
