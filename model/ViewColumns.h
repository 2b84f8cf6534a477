#pragma once

#include "model/Value.h"

#include <cassert>
#include <cstdint>

// Per pixel column of the x axis (columns -1 .. 1610; -1 .. 1601 in use).
class TColumnArray {
public:
    static constexpr int First = -1;
    static constexpr int Last = 1610;
    static constexpr int Count = Last - First + 1;

    TColumnArray()
        : values_(Count)
    {
    }
    TValue& operator[](int c)
    {
        assert(c >= First && c <= Last);
        return values_[c - First];
    }
    const TValue& operator[](int c) const
    {
        assert(c >= First && c <= Last);
        return values_[c - First];
    }
    // Exchanges the columns of two arrays without copying them.
    void swap(TColumnArray& other) noexcept { values_.swap(other.values_); }
    // All columns, -1 first, as the array evaluator takes them.
    TarrayValue& Values() { return values_; }
    const TarrayValue& Values() const { return values_; }

private:
    TarrayValue values_;
};

constexpr int LastUsedColumn = 1601;

// The values of one function y = f(x) per pixel column, and whether they
// belong to the current view and formula.
struct TColumnCache {
    TColumnArray Values;
    std::uint16_t Valid = 0;
};
