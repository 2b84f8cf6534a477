#pragma once

#include "model/LineCodec.h"

#include <algorithm>
#include <array>
#include <cstdint>

// Two bounded histories with a redo side: whole-document snapshots for undo
// and redo, and graph views for back and forward. Entries 0 .. Count-1 are
// held; those before Index are behind the user, those from Index on ahead.
// A push equal to the newest entry behind is skipped, a push drops what is
// ahead, and a full history drops its oldest entry.

// The index bookkeeping of both histories.
template <class T, int N>
class THistoryList {
public:
    static constexpr int Capacity = N;

    void Clear()
    {
        items_.fill(T{});
        index_ = 0;
        count_ = 0;
    }
    bool IsAtStart() const { return index_ == 0; }
    int Index() const { return index_; }
    int Count() const { return count_; }
    const T& Item(int i) const { return items_[static_cast<std::size_t>(i)]; }

protected:
    bool CanStepForward() const { return index_ + 1 < count_; }
    // The newest entry behind, which a push is compared with; null at the start.
    const T* Newest() const { return index_ > 0 ? &items_[index_ - 1] : nullptr; }
    // Drops what is ahead, and the oldest entry when full; the new entry goes
    // into the returned slot.
    T& NextSlot()
    {
        if (index_ == N) {
            std::move(items_.begin() + 1, items_.end(), items_.begin());
            --index_;
        }
        for (int i = index_; i < count_; ++i)
            items_[i] = T{};
        ++index_;
        count_ = index_;
        return items_[index_ - 1];
    }
    // The entry one step back or ahead, now at Index; null when there is none.
    const T* StepBack() { return index_ > 0 ? &items_[--index_] : nullptr; }
    const T* StepForward() { return CanStepForward() ? &items_[++index_] : nullptr; }

private:
    std::array<T, N> items_{};
    int index_ = 0;
    int count_ = 0;
};

// Whole-document snapshots for undo and redo.
class TBackUp : public THistoryList<TstringData, 50> {
public:
    // Stores a copy of the lines of data.
    void Push(const TstringData& data);
    // One step back: target takes a copy of the entry now at Index. False,
    // and target untouched, when nothing is behind.
    bool Undo(TstringData& target);
    // One step ahead, the same way.
    bool Redo(TstringData& target);
    bool CanRedo() const { return CanStepForward(); }
};

// One view of the graph.
struct TAreaView {
    long double XLow = 0.0L;
    long double XHigh = 0.0L;
    long double YLow = 0.0L;
    long double YHigh = 0.0L;
    int XVHigh = 0; // pixel length of the x axis
    int YVHigh = 0;
    int XNumber = 0; // divisions
    int YNumber = 0;
    std::uint8_t SquareQ = 0; // equal scales
    bool operator==(const TAreaView&) const = default;
};

// Graph views for back and forward.
class TBackUpArea : public THistoryList<TAreaView, 200> {
public:
    // Skipped when the newest entry behind shows the same ranges on the same
    // pixel lengths, whatever its divisions and scale flag.
    void Push(const TAreaView& view);
    // One step back: view := the entry now at Index. False, and view
    // untouched, when nothing is behind.
    bool Back(TAreaView& view);
    bool Forward(TAreaView& view);
    bool CanForward() const { return CanStepForward(); }
};

extern TBackUp BackUp;
extern TBackUpArea BackUpArea;

// Same number of lines, each equal (case counts).
bool SameStringData(const TstringData& a, const TstringData& b);
// Nothing would be lost by closing: both histories are at their start, or
// the document has no unsaved edits.
bool IsNothingToSave();
