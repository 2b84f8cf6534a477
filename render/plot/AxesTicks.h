#pragma once

#include <cstdint>

// The ticks of an axis from a first tick up to the top of the range:
// t = First + i × Step for i = 0 .. Count - 1. Each is computed from the
// first, so none drifts; a tick's number counted from 0 is FirstIndex + i.
struct TAxisTicks {
    long double First = 0.0L;
    long double Step = 1.0L;
    long double FirstIndex = 0.0L;
    std::int64_t Count = 0;

    long double At(std::int64_t i) const { return First + static_cast<long double>(i) * Step; }
    // Every interval-th tick counted from 0 carries a label; an interval
    // below 1 (from a file) counts as 1.
    bool IsLabelled(std::int64_t i, std::int64_t interval) const;
    // The first labelled tick.
    std::int64_t FirstLabelled(std::int64_t interval) const;
};

// The ticks of the multiples of step from the first at or above low up to
// high. Nothing for a step that is not positive and finite.
TAxisTicks TicksFrom(long double low, long double high, long double step);

// Labels are drawn for every interval-th tick; 0 or less counts as 1.
std::int64_t UsableLabelInterval(std::int64_t interval);
