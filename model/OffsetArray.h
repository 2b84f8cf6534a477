#pragma once

#include <array>
#include <cassert>

// A fixed array indexed Lo..Hi, as the document's tables are (parameters
// -1..14, constants -1..22, slots 1..20).
template <class T, int Lo, int Hi>
class TOffsetArray {
    static_assert(Lo <= Hi);

public:
    static constexpr int Low = Lo;
    static constexpr int High = Hi;

    T& operator[](int i)
    {
        assert(i >= Lo && i <= Hi);
        return items_[i - Lo];
    }
    const T& operator[](int i) const
    {
        assert(i >= Lo && i <= Hi);
        return items_[i - Lo];
    }
    static constexpr bool inRange(int i) { return i >= Lo && i <= Hi; }
    void fill(const T& value) { items_.fill(value); }
    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::array<T, Hi - Lo + 1> items_{};
};
