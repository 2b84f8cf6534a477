#pragma once

// The table the compiled-program machines keep: a fixed number of slots,
// each holding the last code compiled there (with a null program when the
// code needs the general machine, so that it is not compiled again), the
// counters the tests and benchmarks read, and the switch that leaves every
// formula to the general machine (to compare the two).

#include <array>
#include <cstddef>

template <class EntryType>
struct TProgramCache {
    using Entry = EntryType;
    static constexpr int Slots = 256;
    bool Enabled = true;
    std::array<Entry, Slots> Cache;
    long long Compiles = 0; // programs compiled (or refused) since the reset
    long long Runs = 0;     // evaluations done by a program

    void Reset() { *this = TProgramCache{}; }

    // The entry of the slot the hash names: as it is when matches(entry)
    // says it holds this code, else filled anew by compileInto(entry).
    template <class Matches, class CompileInto>
    Entry& Find(std::size_t hash, Matches matches, CompileInto compileInto)
    {
        Entry& e = Cache[hash % Slots];
        if (!matches(e)) {
            ++Compiles;
            compileInto(e);
        }
        return e;
    }
};
