#include "render/plot/LineJoiner.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <utility>

namespace {

// Which ends of pieces a and b meet, in the order they are tried.
enum class TPairing { LastFirst, LastLast, FirstFirst, FirstLast, None };

TPairing FindPairing(const Tpolyline& a, const Tpolyline& b)
{
    if (a.back() == b.front())
        return TPairing::LastFirst;
    if (a.back() == b.back())
        return TPairing::LastLast;
    if (a.front() == b.front())
        return TPairing::FirstFirst;
    if (a.front() == b.back())
        return TPairing::FirstLast;
    return TPairing::None;
}

// a and b through their shared point, taken once, in a's direction.
Tpolyline Chain(Tpolyline&& a, Tpolyline&& b, TPairing pairing)
{
    switch (pairing) {
    case TPairing::LastFirst:
        a.insert(a.end(), b.begin() + 1, b.end());
        return std::move(a);
    case TPairing::LastLast:
        a.insert(a.end(), b.rbegin() + 1, b.rend());
        return std::move(a);
    case TPairing::FirstFirst:
        std::reverse(b.begin(), b.end());
        [[fallthrough]];
    case TPairing::FirstLast:
        b.insert(b.end(), a.begin() + 1, a.end());
        return std::move(b);
    case TPairing::None:
        break;
    }
    return std::move(a);
}

// Collinear strokes: the shared end of a moves to b's far end.
Tpolyline Merge(const Tpolyline& a, const Tpolyline& b, TPairing pairing)
{
    switch (pairing) {
    case TPairing::LastFirst:
        return {a.front(), b.back()};
    case TPairing::LastLast:
        return {a.front(), b.front()};
    case TPairing::FirstFirst:
        return {b.back(), a.back()};
    case TPairing::FirstLast:
        return {b.front(), a.back()};
    case TPairing::None:
        break;
    }
    return a;
}

} // namespace

void TPieceEndIndex::Build(const std::vector<Tpolyline>& pieces)
{
    // Room for both ends of every piece, at most half full.
    const size_t capacity = std::bit_ceil(4 * pieces.size() + 16);
    slots_.assign(capacity, Slot{});
    shift_ = 64 - std::countr_zero(capacity);
    nodes_.clear();
    for (size_t k = 0; k < pieces.size(); ++k) {
        if (pieces[k].empty())
            continue;
        Add(pieces[k].front(), static_cast<std::uint32_t>(k));
        Add(pieces[k].back(), static_cast<std::uint32_t>(k));
    }
}

size_t TPieceEndIndex::Find(std::uint64_t key) const
{
    const size_t mask = slots_.size() - 1;
    size_t s = static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> shift_) & mask;
    while (slots_[s].Head >= 0 && slots_[s].Key != key)
        s = (s + 1) & mask;
    return s;
}

void TPieceEndIndex::Add(QPoint end, std::uint32_t piece)
{
    Slot& slot = slots_[Find(Key(end))];
    slot.Key = Key(end);
    nodes_.push_back({piece, slot.Head});
    slot.Head = static_cast<std::int32_t>(nodes_.size() - 1);
}

void TconnectLines::Reset(TCanvas* first, TCanvas* second, bool mergeMode, bool skipMain, bool onSecond,
                          const TPenSettings& settings)
{
    canvases_ = {first, second, onSecond, skipMain};
    mergeMode_ = mergeMode;
    settings_ = settings;
    drawnCount_ = 0;
    open_.clear();
    done_.clear();
}

void TconnectLines::AddSegment(QPoint p1, QPoint p2)
{
    open_.push_back({p1, p2});
}

bool TconnectLines::JoinPair(size_t i, size_t j)
{
    if (i == j || i >= open_.size() || j >= open_.size())
        return false;
    Tpolyline& a = open_[i];
    Tpolyline& b = open_[j];
    if (a.empty() || b.empty())
        return false;
    const TPairing pairing = FindPairing(a, b);
    if (pairing == TPairing::None)
        return false;
    Tpolyline joined = mergeMode_ ? Merge(a, b, pairing) : Chain(std::move(a), std::move(b), pairing);
    open_[j] = std::move(joined);
    open_[i].clear();
    return true;
}

size_t TconnectLines::FirstPartner(size_t i) const
{
    const Tpolyline& a = open_[i];
    size_t first = std::numeric_limits<size_t>::max();
    const auto consider = [&](QPoint end) {
        ends_.ForEach(end, [&](std::uint32_t k) {
            const Tpolyline& b = open_[k];
            if (k > i && k < first && !b.empty() && (b.front() == end || b.back() == end))
                first = k;
        });
    };
    consider(a.back());
    if (a.front() != a.back())
        consider(a.front());
    return first;
}

// Each piece joins the first later piece that it touches. A traced curve
// keeps a handful of pieces open, quicker scanned than indexed; a hatch keeps
// hundreds, and its partners are looked up by end point. Both find the same
// partner. The index needs no update after a join: the joined piece in slot
// j ends where pieces i and j ended; no piece between the two touches i's
// ends (j was the first that did), and those that touch j's far end find j
// under it as before.
void TconnectLines::Join(int limitY)
{
    constexpr size_t IndexFrom = 32;
    const bool indexed = open_.size() >= IndexFrom;
    if (indexed)
        ends_.Build(open_);
    for (size_t i = 0; i < open_.size(); ++i) {
        if (open_[i].empty())
            continue;
        if (indexed)
            JoinPair(i, FirstPartner(i)); // false when there is none
        else
            for (size_t j = i + 1; j < open_.size(); ++j)
                if (JoinPair(i, j))
                    break;
    }
    for (Tpolyline& piece : open_)
        if (!piece.empty() && piece.front().y() < limitY && piece.back().y() < limitY)
            Retire(piece);
    DropEmptyPieces();
}

// A chain of one segment is a stray cut of the scan and is dropped; a hatch
// stroke of one segment is kept.
void TconnectLines::Retire(Tpolyline& piece)
{
    if (piece.size() > 2 || mergeMode_)
        done_.push_back(std::move(piece));
    piece.clear();
}

void TconnectLines::DropEmptyPieces()
{
    std::erase_if(open_, [](const Tpolyline& piece) { return piece.empty(); });
}

void TconnectLines::Collect()
{
    for (Tpolyline& piece : open_)
        if (!piece.empty())
            Retire(piece);
    TCanvas* main = canvases_.Main();
    TCanvas* trace = canvases_.Trace();
    for (const Tpolyline& piece : done_) {
        if (main)
            DrawPolyline(*main, piece, settings_);
        if (trace)
            DrawPolyline(*trace, piece, settings_);
    }
    open_.clear();
    done_.clear();
    drawnCount_ = 0;
}

void TconnectLines::Draw(TCanvas& canvas)
{
    for (size_t k = static_cast<size_t>(drawnCount_); k < done_.size(); ++k)
        DrawPolyline(canvas, done_[k], settings_);
    for (const Tpolyline& piece : open_)
        if (!piece.empty())
            DrawPolyline(canvas, piece, settings_);
    drawnCount_ = static_cast<int>(done_.size());
}
