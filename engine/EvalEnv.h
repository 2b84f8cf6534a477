#pragma once

// What the parameter tokens of a formula read while it is evaluated, and the
// y that EvaluateExpression passes on: a table of parameters (the
// document's, or a trace record's) with some slots bound to values of their
// own. A relation's row binds y, a curve's locus its parameter, and Sum,
// Product and Intgr bind their variable; the evaluators hand the
// environment down to every formula they evaluate inside (graph names,
// user functions, objects, derivatives, fits), so that a binding reaches
// them all and evaluation never writes the table.
#include "model/DocumentState.h"

#include <array>
#include <cstdint>

class TEvalEnv {
public:
    // The document's parameters, nothing bound.
    constexpr TEvalEnv()
        : table_(&DocumentTables.Params)
    {
    }
    // Another table of parameters, nothing bound.
    constexpr explicit TEvalEnv(const TParamTable& table)
        : table_(&table)
    {
    }

    // This environment with slot (-1 x, 0 y, 1..14 the parameters) bound to value.
    TEvalEnv With(int slot, long double value) const
    {
        TEvalEnv bound = *this;
        bound.Bind(slot, value);
        return bound;
    }
    void Bind(int slot, long double value)
    {
        values_[Index(slot)] = value;
        bound_ |= Bit(slot);
    }

    // The value of the slot: its binding, else the table's.
    const long double& Value(int slot) const
    {
        return (bound_ & Bit(slot)) ? values_[Index(slot)] : (*table_)[slot].Value;
    }
    // Whether some slot is bound.
    bool HasBindings() const { return bound_ != 0; }
    // Steps are read from the table; nothing binds them.
    long double Step(int slot) const { return (*table_)[slot].Step; }
    // The same table with nothing bound: what outlives one evaluation (the
    // view's column caches) is computed with it.
    TEvalEnv Unbound() const { return TEvalEnv(*table_); }

private:
    static constexpr int Index(int slot) { return slot - TParamTable::Low; }
    static constexpr std::uint32_t Bit(int slot) { return std::uint32_t{1} << Index(slot); }
    static_assert(TParamTable::Count <= 32);

    const TParamTable* table_;
    std::uint32_t bound_ = 0;
    std::array<long double, TParamTable::Count> values_{};
};

// The document's parameters alone: what an evaluation reads unless its
// caller binds something.
inline constexpr TEvalEnv DocumentEvalEnv{};
