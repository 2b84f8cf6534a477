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
#include <vector>

using Tpolyline = std::vector<QPoint>;

// Which pieces end at a point, so that a piece's partners are found without
// testing every later piece. Entries go stale as pieces change; the caller
// checks what it finds.
class TPieceEndIndex {
public:
    void Build(const std::vector<Tpolyline>& pieces);
    template <class Visit>
    void ForEach(QPoint end, Visit&& visit) const
    {
        const Slot& slot = slots_[Find(Key(end))];
        for (std::int32_t n = slot.Head; n >= 0; n = nodes_[static_cast<size_t>(n)].Next)
            visit(nodes_[static_cast<size_t>(n)].Piece);
    }

private:
    struct Slot {
        std::uint64_t Key = 0;
        std::int32_t Head = -1; // -1: a free slot
    };
    struct Node {
        std::uint32_t Piece;
        std::int32_t Next;
    };
    static std::uint64_t Key(QPoint p)
    {
        return (std::uint64_t{static_cast<std::uint32_t>(p.x())} << 32) | static_cast<std::uint32_t>(p.y());
    }
    // The slot holding the key, or the free slot where it belongs.
    size_t Find(std::uint64_t key) const;
    void Add(QPoint end, std::uint32_t piece);

    std::vector<Slot> slots_{1};
    std::vector<Node> nodes_;
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

    const std::vector<Tpolyline>& Open() const { return open_; }
    const std::vector<Tpolyline>& Done() const { return done_; }
    int DrawnCount() const { return drawnCount_; }

private:
    // The first piece after i that shares an end point with it, or none.
    size_t FirstPartner(size_t i) const;
    void Retire(Tpolyline& piece);
    void DropEmptyPieces();

    TPieceCanvases canvases_;
    bool mergeMode_ = false;
    TPenSettings settings_;
    int drawnCount_ = 0;
    std::vector<Tpolyline> open_;
    std::vector<Tpolyline> done_;
    TPieceEndIndex ends_;
};
