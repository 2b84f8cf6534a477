#pragma once

// The tables the compiled-program machines keep: a fixed number of slots,
// each holding the last code compiled there (with a null program when the
// code needs the general machine, so that it is not compiled again), the
// counters the tests and benchmarks read, and the switch that leaves every
// formula to the general machine (to compare the two). Every thread that
// evaluates compiles into a table of its own, so that evaluations on several
// threads share nothing they write; the switch is one for all, set while no
// evaluation runs.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

template <class EntryType>
struct TProgramCache {
    using Entry = EntryType;
    static constexpr int Slots = 256;

    struct TTable {
        std::array<Entry, Slots> Cache;
        long long Compiles = 0; // programs compiled (or refused) since the reset
        long long Runs = 0;     // evaluations done by a program
        std::uint64_t Generation = 0;
    };

    bool Enabled = true;
    // Bumped by every reset: each thread's table starts afresh at its next use.
    std::uint64_t Generation = 1;

    void Reset()
    {
        Enabled = true;
        ++Generation;
    }

    // The calling thread's table. Looked at on every evaluation: the
    // pointer to it is a plain thread-local word, read without the guard
    // that a thread-local object needs.
    TTable& ThisThread()
    {
        TTable* table = Current();
        if (table && table->Generation == Generation) [[likely]]
            return *table;
        return Renew();
    }

    // The entry of the slot the hash names in this thread's table: as it is
    // when matches(entry) says it holds this code, else filled anew by
    // compileInto(entry).
    template <class Matches, class CompileInto>
    Entry& Find(std::size_t hash, Matches matches, CompileInto compileInto)
    {
        return Find(ThisThread(), hash, matches, compileInto);
    }
    // The same in a table the caller already holds.
    template <class Matches, class CompileInto>
    static Entry& Find(TTable& table, std::size_t hash, Matches matches, CompileInto compileInto)
    {
        Entry& e = table.Cache[hash % Slots];
        if (!matches(e)) {
            ++table.Compiles;
            compileInto(e);
        }
        return e;
    }

private:
    static TTable*& Current()
    {
        static thread_local constinit TTable* current = nullptr;
        return current;
    }

    // The thread's table made, or emptied after a reset.
    [[gnu::noinline]] TTable& Renew()
    {
        thread_local std::unique_ptr<TTable> owned;
        if (!owned)
            owned = std::make_unique<TTable>();
        else
            *owned = TTable{};
        owned->Generation = Generation;
        Current() = owned.get();
        return *owned;
    }
};
