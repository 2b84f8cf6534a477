#include "render/plot/LineJoiner.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <optional>
#include <utility>

namespace {

constexpr std::int32_t NoNode = -1;

// Which ends of pieces a and b meet, in the order they are tried.
enum class TPairing { LastFirst, LastLast, FirstFirst, FirstLast, None };

TPairing FindPairing(QPoint aFront, QPoint aBack, QPoint bFront, QPoint bBack)
{
    if (aBack == bFront)
        return TPairing::LastFirst;
    if (aBack == bBack)
        return TPairing::LastLast;
    if (aFront == bFront)
        return TPairing::FirstFirst;
    if (aFront == bBack)
        return TPairing::FirstLast;
    return TPairing::None;
}

} // namespace

void TPieceEndIndex::Clear(size_t pieces)
{
    // Room for both ends of every piece, at most half full.
    const size_t capacity = std::bit_ceil(4 * pieces + 16);
    if (capacity > slots_.size() || ++generation_ == 0) {
        slots_.assign(std::max(capacity, slots_.size()), Slot{});
        shift_ = 64 - std::countr_zero(slots_.size());
        generation_ = 1;
    }
    nodes_.clear();
}

size_t TPieceEndIndex::Find(std::uint64_t key) const
{
    const size_t mask = slots_.size() - 1;
    size_t s = static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> shift_) & mask;
    while (slots_[s].Generation == generation_ && slots_[s].Key != key)
        s = (s + 1) & mask;
    return s;
}

void TPieceEndIndex::Add(QPoint end, std::uint32_t piece)
{
    Slot& slot = slots_[Find(Key(end))];
    if (slot.Generation != generation_)
        slot = {Key(end), -1, generation_};
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
    nodes_.clear();
    freeNodes_ = NoNode;
    open_.clear();
    donePoints_.clear();
    doneStarts_.assign(1, 0);
}

std::int32_t TconnectLines::NewNode(QPoint p)
{
    if (freeNodes_ == NoNode) {
        nodes_.push_back({p, {NoNode, NoNode}});
        return static_cast<std::int32_t>(nodes_.size() - 1);
    }
    const std::int32_t n = freeNodes_;
    freeNodes_ = nodes_[static_cast<size_t>(n)].Links[0];
    nodes_[static_cast<size_t>(n)] = {p, {NoNode, NoNode}};
    return n;
}

template <class Visit>
void TconnectLines::ForEachNode(const Piece& piece, Visit&& visit) const
{
    std::int32_t previous = NoNode;
    for (std::int32_t n = piece.Head; n != NoNode;) {
        const PointNode& node = nodes_[static_cast<size_t>(n)];
        const std::int32_t next = node.Links[0] == previous ? node.Links[1] : node.Links[0];
        visit(n); // may reuse the node: its successor is known
        previous = n;
        n = next;
    }
}

template <class Visit>
void TconnectLines::ForEachPoint(const Piece& piece, Visit&& visit) const
{
    ForEachNode(piece, [&](std::int32_t n) { visit(nodes_[static_cast<size_t>(n)].P); });
}

void TconnectLines::FreeNodes(const Piece& piece)
{
    ForEachNode(piece, [&](std::int32_t n) {
        nodes_[static_cast<size_t>(n)].Links[0] = freeNodes_;
        freeNodes_ = n;
    });
}

Tpolyline TconnectLines::Points(const Piece& piece) const
{
    Tpolyline points;
    points.reserve(static_cast<size_t>(piece.Count));
    ForEachPoint(piece, [&](QPoint p) { points.push_back(p); });
    return points;
}

TconnectLines::Piece TconnectLines::TwoPointPiece(QPoint p1, QPoint p2)
{
    const std::int32_t n1 = NewNode(p1);
    const std::int32_t n2 = NewNode(p2);
    nodes_[static_cast<size_t>(n1)].Links[0] = n2;
    nodes_[static_cast<size_t>(n2)].Links[0] = n1;
    return {p1, p2, n1, n2, 2};
}

void TconnectLines::AddSegment(QPoint p1, QPoint p2)
{
    open_.push_back(TwoPointPiece(p1, p2));
}

// The front node leaves the piece; its neighbour, which forgets it, becomes
// the front. The piece keeps at least one node.
void TconnectLines::DropFront(Piece& piece)
{
    const std::int32_t front = piece.Head;
    PointNode& node = nodes_[static_cast<size_t>(front)];
    const std::int32_t next = node.Links[0] != NoNode ? node.Links[0] : node.Links[1];
    std::int32_t* links = nodes_[static_cast<size_t>(next)].Links;
    (links[0] == front ? links[0] : links[1]) = NoNode;
    node.Links[0] = freeNodes_;
    freeNodes_ = front;
    piece.Head = next;
    piece.Front = nodes_[static_cast<size_t>(next)].P;
    --piece.Count;
}

void TconnectLines::Reverse(Piece& piece)
{
    std::swap(piece.Head, piece.Tail);
    std::swap(piece.Front, piece.Back);
}

TconnectLines::Piece TconnectLines::Concatenate(const Piece& a, const Piece& b)
{
    const auto linkTo = [&](std::int32_t end, std::int32_t other) {
        std::int32_t* links = nodes_[static_cast<size_t>(end)].Links;
        (links[0] == NoNode ? links[0] : links[1]) = other;
    };
    linkTo(a.Tail, b.Head);
    linkTo(b.Head, a.Tail);
    return {a.Front, b.Back, a.Head, b.Tail, a.Count + b.Count};
}

bool TconnectLines::JoinPair(size_t i, size_t j)
{
    if (i == j || i >= open_.size() || j >= open_.size())
        return false;
    Piece a = open_[i];
    Piece b = open_[j];
    if (a.Empty() || b.Empty())
        return false;
    const TPairing pairing = FindPairing(a.Front, a.Back, b.Front, b.Back);
    if (pairing == TPairing::None)
        return false;
    Piece joined;
    if (mergeMode_) {
        // Collinear strokes: the shared end of a moves to b's far end.
        const std::pair<QPoint, QPoint> ends = pairing == TPairing::LastFirst  ? std::pair{a.Front, b.Back}
                                               : pairing == TPairing::LastLast ? std::pair{a.Front, b.Front}
                                               : pairing == TPairing::FirstFirst ? std::pair{b.Back, a.Back}
                                                                                 : std::pair{b.Front, a.Back};
        FreeNodes(a);
        FreeNodes(b);
        joined = TwoPointPiece(ends.first, ends.second);
    } else {
        // a and b through their shared point, taken once, in a's direction.
        if (pairing == TPairing::LastLast || pairing == TPairing::FirstFirst)
            Reverse(b);
        if (pairing == TPairing::LastFirst || pairing == TPairing::LastLast) {
            DropFront(b);
            joined = Concatenate(a, b);
        } else {
            DropFront(a);
            joined = Concatenate(b, a);
        }
    }
    open_[j] = joined;
    open_[i] = Piece{};
    return true;
}

size_t TconnectLines::FirstPartner(size_t i) const
{
    const Piece& a = open_[i];
    size_t first = std::numeric_limits<size_t>::max();
    const auto consider = [&](QPoint end) {
        ends_.ForEach(end, [&](std::uint32_t k) {
            const Piece& b = open_[k];
            if (k > i && k < first && !b.Empty() && (b.Front == end || b.Back == end))
                first = k;
        });
    };
    consider(a.Back);
    if (a.Front != a.Back)
        consider(a.Front);
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
        ends_.Build(open_, [](const Piece& p) {
            return p.Empty() ? std::nullopt : std::optional(std::pair{p.Front, p.Back});
        });
    for (size_t i = 0; i < open_.size(); ++i) {
        if (open_[i].Empty())
            continue;
        if (indexed)
            JoinPair(i, FirstPartner(i)); // false when there is none
        else
            for (size_t j = i + 1; j < open_.size(); ++j)
                if (JoinPair(i, j))
                    break;
    }
    for (Piece& piece : open_)
        if (!piece.Empty() && piece.Front.y() < limitY && piece.Back.y() < limitY)
            Retire(piece);
    DropEmptyPieces();
}

// A chain of one segment is a stray cut of the scan and is dropped; a hatch
// stroke of one segment is kept.
void TconnectLines::Retire(Piece& piece)
{
    if (piece.Count > 2 || mergeMode_) {
        ForEachPoint(piece, [&](QPoint p) { donePoints_.push_back(p); });
        doneStarts_.push_back(donePoints_.size());
    }
    FreeNodes(piece);
    piece = Piece{};
}

void TconnectLines::DropEmptyPieces()
{
    std::erase_if(open_, [](const Piece& piece) { return piece.Empty(); });
}

std::span<const QPoint> TconnectLines::DonePiece(size_t k) const
{
    return std::span(donePoints_).subspan(doneStarts_[k], doneStarts_[k + 1] - doneStarts_[k]);
}

std::vector<Tpolyline> TconnectLines::Open() const
{
    std::vector<Tpolyline> pieces;
    for (const Piece& piece : open_)
        pieces.push_back(Points(piece));
    return pieces;
}

std::vector<Tpolyline> TconnectLines::Done() const
{
    std::vector<Tpolyline> pieces;
    for (size_t k = 0; k < DoneCount(); ++k) {
        const std::span<const QPoint> points = DonePiece(k);
        pieces.emplace_back(points.begin(), points.end());
    }
    return pieces;
}

void TconnectLines::Collect()
{
    for (Piece& piece : open_)
        if (!piece.Empty())
            Retire(piece);
    TCanvas* main = canvases_.Main();
    TCanvas* trace = canvases_.Trace();
    for (size_t k = 0; k < DoneCount(); ++k) {
        if (main)
            DrawPolyline(*main, DonePiece(k), settings_);
        if (trace)
            DrawPolyline(*trace, DonePiece(k), settings_);
    }
    nodes_.clear();
    freeNodes_ = NoNode;
    open_.clear();
    donePoints_.clear();
    doneStarts_.assign(1, 0);
    drawnCount_ = 0;
}

void TconnectLines::Draw(TCanvas& canvas)
{
    for (size_t k = static_cast<size_t>(drawnCount_); k < DoneCount(); ++k)
        DrawPolyline(canvas, DonePiece(k), settings_);
    for (const Piece& piece : open_)
        if (!piece.Empty())
            DrawPolyline(canvas, Points(piece), settings_);
    drawnCount_ = static_cast<int>(DoneCount());
}
