#pragma once

// Joins the two-point pieces that a row-by-row scan produces into long
// polylines. Chain mode links pieces end to end into curves; merge mode
// lengthens collinear hatch strokes that touch into single segments. After
// every row the pieces lying wholly above it are retired, so joining only
// looks at the pieces near the scan line.
#include "render/gfx/Canvas.h"
#include "render/plot/Pens.h"

#include <QPoint>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

using Tpolyline = std::vector<QPoint>;

// Which pieces end at a point, so that a piece's partners are found without
// testing every later piece. Entries go stale as pieces change; the caller
// checks what it finds. Rebuilding reuses the table: slots of an earlier
// build read as free by their generation, so a build costs only its entries.
class TPieceEndIndex {
public:
    // Indexes both ends of pieces[k] under k; `ends(piece)` gives a piece's
    // {front, back}, or nothing for an emptied piece.
    template <class Piece, class Ends>
    void Build(const std::vector<Piece>& pieces, Ends&& ends)
    {
        Clear(pieces.size());
        for (size_t k = 0; k < pieces.size(); ++k)
            if (const auto e = ends(pieces[k])) {
                Add(e->first, static_cast<std::uint32_t>(k));
                Add(e->second, static_cast<std::uint32_t>(k));
            }
    }
    template <class Visit>
    void ForEach(QPoint end, Visit&& visit) const
    {
        const Slot& slot = slots_[Find(Key(end))];
        if (slot.Generation != generation_)
            return;
        for (std::int32_t n = slot.Head; n >= 0; n = nodes_[static_cast<size_t>(n)].Next)
            visit(nodes_[static_cast<size_t>(n)].Piece);
    }

private:
    struct Slot {
        std::uint64_t Key = 0;
        std::int32_t Head = -1;
        std::uint32_t Generation = 0; // live only in the build of that number
    };
    struct Node {
        std::uint32_t Piece;
        std::int32_t Next;
    };
    static std::uint64_t Key(QPoint p)
    {
        return (std::uint64_t{static_cast<std::uint32_t>(p.x())} << 32) | static_cast<std::uint32_t>(p.y());
    }
    // Starts an empty index with room for both ends of `pieces` pieces.
    void Clear(size_t pieces);
    // The slot holding the key, or the free slot where it belongs.
    size_t Find(std::uint64_t key) const;
    void Add(QPoint end, std::uint32_t piece);

    std::vector<Slot> slots_{1};
    std::vector<Node> nodes_;
    std::uint32_t generation_ = 0;
    int shift_ = 63;
};

class TconnectLines {
public:
    // Either canvas may be null (nothing is drawn there).
    void Reset(TCanvas* first, TCanvas* second, bool mergeMode, bool skipMain, bool onSecond,
               const TPenSettings& settings);
    void AddSegment(QPoint p1, QPoint p2);
    // Joins open pieces i and j (i < j) at the first shared end point, tried
    // in the order i's last point against j's first and last, then i's first
    // against j's first and last. The result runs in piece i's direction and
    // takes slot j, slot i empties: so a run of touching pieces links up in
    // one pass of Join. False when they share no end point.
    bool JoinPair(size_t i, size_t j);
    // Joins each open piece with the first later piece it touches, then
    // retires the pieces whose both ends lie above limitY.
    void Join(int limitY);
    // Retires every open piece, draws all finished ones and starts empty.
    void Collect();
    // Shows the work so far on the canvas: the finished pieces not shown
    // before, and every open piece.
    void Draw(TCanvas& canvas);

    // Copies of the open pieces (emptied slots as empty polylines) and the
    // finished ones, for tests.
    std::vector<Tpolyline> Open() const;
    std::vector<Tpolyline> Done() const;
    size_t OpenCount() const { return open_.size(); }
    size_t DoneCount() const { return doneStarts_.size() - 1; }
    int DrawnCount() const { return drawnCount_; }

private:
    // A piece's points are a list of nodes in one pool, each node knowing
    // its two neighbours but not which is which: so a piece reverses by
    // swapping its ends, and two pieces join by linking an end of each, with
    // no copying and no allocation per segment.
    struct PointNode {
        QPoint P;
        std::int32_t Links[2];
    };
    struct Piece {
        QPoint Front;
        QPoint Back;
        std::int32_t Head = -1; // the node of Front, -1 for an emptied piece
        std::int32_t Tail = -1;
        std::int32_t Count = 0;
        bool Empty() const { return Count == 0; }
    };

    std::int32_t NewNode(QPoint p);
    void FreeNodes(const Piece& piece);
    // Visits the nodes, or the points, of a piece from front to back.
    template <class Visit>
    void ForEachNode(const Piece& piece, Visit&& visit) const;
    template <class Visit>
    void ForEachPoint(const Piece& piece, Visit&& visit) const;
    Tpolyline Points(const Piece& piece) const;
    void DropFront(Piece& piece);
    static void Reverse(Piece& piece);
    // a followed by b; the nodes of both are taken.
    Piece Concatenate(const Piece& a, const Piece& b);
    Piece TwoPointPiece(QPoint p1, QPoint p2);
    // The first piece after i that shares an end point with it, or none.
    size_t FirstPartner(size_t i) const;
    void Retire(Piece& piece);
    void DropEmptyPieces();
    std::span<const QPoint> DonePiece(size_t k) const;

    TPieceCanvases canvases_;
    bool mergeMode_ = false;
    TPenSettings settings_;
    int drawnCount_ = 0;
    std::vector<PointNode> nodes_;
    std::int32_t freeNodes_ = -1; // chained through Links[0]
    std::vector<Piece> open_;
    // Finished pieces end to end: piece k is donePoints_[doneStarts_[k] ..
    // doneStarts_[k + 1]).
    std::vector<QPoint> donePoints_;
    std::vector<size_t> doneStarts_{0};
    TPieceEndIndex ends_;
};
