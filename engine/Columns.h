#pragma once

#include "model/Value.h"

#include <cassert>
#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

// True for +0 only: all ten bytes of the 80-bit value are zero. Cheaper than
// a comparison and a sign test on the x87 stack.
inline bool IsPositiveZero(const long double& v)
{
    std::uint64_t mantissa;
    std::uint16_t signExponent;
    std::memcpy(&mantissa, &v, sizeof mantissa);
    std::memcpy(&signExponent, reinterpret_cast<const char*>(&v) + sizeof mantissa, sizeof signExponent);
    return (mantissa | signExponent) == 0;
}

// One value per pixel column of the x axis (columns -1 .. 1610; -1 .. 1601
// in use), stored as separate lanes: X, Kind and Defined for every column,
// and a Y lane that exists only once some column has held a non-zero Y
// (points, and complex numbers in complex mode). Without that lane every
// column's Y is +0, which is what reals and undefined values carry; with it,
// a column reads back exactly the value stored. An undefined column keeps
// its kind in the Kind lane.
class TColumnArray {
public:
    static constexpr int First = -1;
    static constexpr int Last = 1610;
    static constexpr int Count = Last - First + 1;

    TColumnArray()
        : x_(Count)
        , kind_(Count)
        , defined_(Count)
    {
    }

    TValue At(int c) const
    {
        const int i = index(c);
        return TValue{kind_[i], defined_[i], x_[i], y_.empty() ? 0.0L : y_[i]};
    }
    void Set(int c, const TValue& v)
    {
        const int i = index(c);
        kind_[i] = v.Kind;
        defined_[i] = v.Defined;
        x_[i] = v.X;
        if (!y_.empty())
            y_[i] = v.Y;
        else if (!IsPositiveZero(v.Y))
            AddYLane()[c] = v.Y;
    }
    long double X(int c) const { return x_[index(c)]; }
    long double Y(int c) const { return y_.empty() ? 0.0L : y_[index(c)]; }
    std::uint8_t Kind(int c) const { return kind_[index(c)]; }
    std::uint8_t Defined(int c) const { return defined_[index(c)]; }

    // Columns from .. from + n - 1 as records, and records written back
    // into them: routines that take records run over a block of them, so
    // that none reads a record stored an instant before (the 80-bit loads
    // would wait for those stores).
    void ReadRecords(int from, int n, TValue* to) const;
    void WriteRecords(int from, int n, const TValue* records);

    // Every column from first to last set to v.
    void Fill(int first, int last, const TValue& v);
    // Columns first .. last copied from another array.
    void CopyFrom(const TColumnArray& from, int first, int last);

    // The lanes for loops over columns, indexed by column number.
    long double* XLane() { return x_.data() - First; }
    const long double* XLane() const { return x_.data() - First; }
    std::uint8_t* KindLane() { return kind_.data() - First; }
    const std::uint8_t* KindLane() const { return kind_.data() - First; }
    std::uint8_t* DefinedLane() { return defined_.data() - First; }
    const std::uint8_t* DefinedLane() const { return defined_.data() - First; }
    // Null while no column has a Y.
    long double* YLane() { return y_.empty() ? nullptr : y_.data() - First; }
    const long double* YLane() const { return y_.empty() ? nullptr : y_.data() - First; }
    bool HasYLane() const { return !y_.empty(); }
    // The Y lane, created with every Y at +0 when missing.
    long double* AddYLane();

    // Exchanges the columns of two arrays without copying them.
    void swap(TColumnArray& other) noexcept
    {
        x_.swap(other.x_);
        y_.swap(other.y_);
        kind_.swap(other.kind_);
        defined_.swap(other.defined_);
    }

private:
    static int index(int c)
    {
        assert(c >= First && c <= Last);
        return c - First;
    }

    std::vector<long double> x_;
    std::vector<long double> y_; // empty: every Y is +0
    std::vector<std::uint8_t> kind_;
    std::vector<std::uint8_t> defined_;
};

constexpr int LastUsedColumn = 1601;

// The view's column caches of the graphs y1 .. y20, as the array evaluator
// reads and fills them for graph names in a formula. The owner decides
// when a cache is current; only these operations write one.
class GraphColumns {
public:
    using Fill = std::function<void(TColumnArray&)>;

    virtual ~GraphColumns() = default;
    // The world x of every column of the view.
    virtual const TColumnArray& ColumnX() const = 0;
    // Graph k's columns when they are current for the view, else null.
    virtual const TColumnArray* ValidCache(int k) const = 0;
    // Recomputes graph k's cache over the view's own columns with fill; the
    // cache is current afterwards.
    virtual const TColumnArray& RefreshCache(int k, const Fill& fill) = 0;
    // Stores values computed over other inputs (a varying parameter, another
    // x) in graph k's cache; it is not current for the view afterwards.
    virtual const TColumnArray& OverwriteCache(int k, const Fill& fill) = 0;
};
