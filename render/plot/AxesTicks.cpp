#include "render/plot/AxesTicks.h"

#include "model/Numeric.h"

#include <algorithm>
#include <cmath>

namespace {

// More ticks than any axis can show; a count beyond it is not enumerated.
constexpr long double MaxTickCount = 4611686018427387904.0L; // 2^62

} // namespace

std::int64_t UsableLabelInterval(std::int64_t interval)
{
    return std::max<std::int64_t>(1, interval);
}

bool TAxisTicks::IsLabelled(std::int64_t i, std::int64_t interval) const
{
    return std::fmod(FirstIndex + static_cast<long double>(i), static_cast<long double>(UsableLabelInterval(interval))) ==
           0.0L;
}

std::int64_t TAxisTicks::FirstLabelled(std::int64_t interval) const
{
    const auto n = static_cast<long double>(UsableLabelInterval(interval));
    const long double r = std::fmod(FirstIndex, n); // in (-n, n)
    const long double toNext = r == 0.0L ? 0.0L : (r > 0.0L ? n - r : -r);
    return static_cast<std::int64_t>(toNext);
}

TAxisTicks TicksFrom(long double low, long double high, long double step)
{
    TAxisTicks ticks;
    if (!(std::isfinite(step) && step > 0.0L && std::isfinite(low) && std::isfinite(high)))
        return ticks;
    long double k = std::trunc(low / step);
    if (k * step < low)
        k += 1.0L;
    ticks.First = k * step;
    ticks.Step = step;
    ticks.FirstIndex = k;
    if (ticks.First > high)
        return ticks;
    const long double estimate = std::floor((high - ticks.First) / step) + 1.0L;
    if (!(estimate < MaxTickCount))
        return ticks;
    auto n = static_cast<std::int64_t>(estimate);
    // The division may be an ulp off either way; the ticks themselves decide.
    while (n > 0 && ticks.At(n - 1) > high)
        --n;
    while (ticks.At(n) <= high)
        ++n;
    ticks.Count = n;
    return ticks;
}
