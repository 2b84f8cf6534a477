#include "render/view/ViewColumns.h"

#include "render/view/Scale.h"

#include <algorithm>

ViewColumns::ViewColumns()
{
    undefined_.Fill(TColumnArray::First, TColumnArray::Last, ValueUndefined(KindReal));
}

void ViewColumns::InitColumns(const ScaleSubT& xAxis)
{
    for (int c = std::max(xAxis.Vlow - 1, TColumnArray::First); c <= LastUsedColumn; ++c) {
        columnX_.Set(c, ValueReal(xAxis.PixelToValue(c)));
        undefined_.Set(c, ValueUndefined(KindReal));
    }
    ++generation_;
}

const TColumnArray* ViewColumns::ValidCache(int k) const
{
    const ColumnCache& cache = caches_[k];
    return cache.CurrentIn == generation_ ? &cache.Values : nullptr;
}

const TColumnArray& ViewColumns::RefreshCache(int k, const Fill& fill)
{
    ColumnCache& cache = caches_[k];
    cache.CurrentIn = 0;
    fill(cache.Values);
    cache.CurrentIn = generation_;
    ++cache.Version;
    return cache.Values;
}

const TColumnArray& ViewColumns::OverwriteCache(int k, const Fill& fill)
{
    ColumnCache& cache = caches_[k];
    fill(cache.Values);
    // Also when a nested graph name refreshed it over the view meanwhile.
    cache.CurrentIn = 0;
    ++cache.Version;
    return cache.Values;
}

void ViewColumns::AdjustCache(int k, const std::function<bool(TColumnArray&)>& adjust)
{
    ColumnCache& cache = caches_[k];
    if (cache.CurrentIn == generation_ && adjust(cache.Values))
        ++cache.Version;
}

void ViewColumns::SetUndefinedCache(int k)
{
    ColumnCache& cache = caches_[k];
    cache.Values = undefined_;
    cache.CurrentIn = generation_;
    ++cache.Version;
}

void ViewColumns::InvalidateCache(int k)
{
    caches_[k].CurrentIn = 0;
}
