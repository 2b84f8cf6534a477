#pragma once

#include "engine/Columns.h"
#include "model/DocumentState.h"
#include "model/OffsetArray.h"

#include <cstdint>

class ScaleSubT;

// The column tables of the view: the world x of every pixel column, the
// column caches of the functions y1 .. y20 and the all-undefined columns.
// Every InitColumns starts a new generation of the view; a cache is current
// only when it was computed in the present generation and not invalidated
// since, so no cache outlives the range it was computed for.
class ViewColumns final : public GraphColumns {
public:
    ViewColumns();

    // ColumnX from the x axis (columns Vlow - 1 .. 1601, each a defined real
    // at the axis's snapped PixelToValue); every cache stops being current.
    void InitColumns(const ScaleSubT& xAxis);
    std::uint64_t Generation() const { return generation_; }

    const TColumnArray& ColumnX() const override { return columnX_; }
    // The content of a cache whose function cannot be evaluated.
    const TColumnArray& UndefinedColumns() const { return undefined_; }

    const TColumnArray* ValidCache(int k) const override;
    const TColumnArray& RefreshCache(int k, const Fill& fill) override;
    const TColumnArray& OverwriteCache(int k, const Fill& fill) override;
    // Edits a current cache in place (a finer value at a domain edge); it
    // stays current. Nothing happens to a cache that is not current. adjust
    // says whether it changed a column.
    void AdjustCache(int k, const std::function<bool(TColumnArray&)>& adjust);
    // Counts the writes to cache k: the same number, the same columns.
    std::uint64_t Version(int k) const { return caches_[k].Version; }
    // A function without code: its cache becomes the undefined columns, current.
    void SetUndefinedCache(int k);
    // The function's formula or something it reads changed.
    void InvalidateCache(int k);

private:
    struct ColumnCache {
        TColumnArray Values;
        std::uint64_t CurrentIn = 0; // the generation it was computed in; 0: not current
        std::uint64_t Version = 0;
    };

    std::uint64_t generation_ = 1;
    TColumnArray columnX_;
    TColumnArray undefined_;
    TOffsetArray<ColumnCache, 1, FunctionCount> caches_;
};
