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
    static constexpr int Count = Hi - Lo + 1;

    constexpr TOffsetArray() = default;
    // The items in index order, Lo first.
    constexpr explicit TOffsetArray(const std::array<T, Count>& items)
        : items_(items)
    {
    }
    static TOffsetArray filledWith(const T& value)
    {
        TOffsetArray a;
        a.fill(value);
        return a;
    }

    constexpr T& operator[](int i)
    {
        assert(i >= Lo && i <= Hi);
        return items_[i - Lo];
    }
    constexpr const T& operator[](int i) const
    {
        assert(i >= Lo && i <= Hi);
        return items_[i - Lo];
    }
    static constexpr bool inRange(int i) { return i >= Lo && i <= Hi; }
    void fill(const T& value) { items_.fill(value); }
    constexpr auto begin() { return items_.begin(); }
    constexpr auto end() { return items_.end(); }
    constexpr auto begin() const { return items_.begin(); }
    constexpr auto end() const { return items_.end(); }
    bool operator==(const TOffsetArray&) const = default;

private:
    std::array<T, Count> items_{};
};
