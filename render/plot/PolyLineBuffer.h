#pragma once

// The polyline under construction that every curve plotter shares: points
// are collected into a fixed buffer and drawn, outlined and optionally
// filled, onto a main canvas and a trace canvas whenever a piece ends.
#include "render/gfx/Canvas.h"
#include "render/plot/Pens.h"

#include <QPoint>
#include <array>
#include <cstdint>
#include <span>

// How a filled piece is closed into a polygon.
enum class TPolyFill : std::uint8_t {
    None = 0,         // the points as they are
    Fan = 1,          // through the base point
    ToBaseY = 2,      // down (or up) to the horizontal line y = base y
    ToBaseX = 3,      // across to the vertical line x = base x
};

class TVPolyLine {
public:
    static constexpr int Capacity = 5000;
    // Draw flags.
    static constexpr std::uint8_t DrawOutline = 1;
    static constexpr std::uint8_t DrawFill = 2;

    // Starts over: no points, the canvases and how the pieces are drawn.
    // Either canvas may be null (nothing is drawn there).
    void Init(TCanvas* first, TCanvas* second, bool onSecond, bool skipMain, std::uint8_t drawFlags,
              TPolyFill fillMode, int baseX, int baseY, const TPenSettings& settings);
    // Appends while fewer than Capacity points are held; later points are ignored.
    void AddPoint(int x, int y);
    // Draws the piece so far and starts a new one at (x, y).
    void Add(int x, int y);
    // Draws the piece (a single point as a dot) and empties the buffer.
    void Flush();
    // Outline and fill of the piece on one canvas; the buffer stays.
    void Draw(TCanvas& canvas);

    int Count() const { return count_; }
    std::span<const QPoint> Points() const { return {points_.data(), static_cast<size_t>(count_)}; }

    // The start-up state: no points, no canvases.
    void Reset();

private:
    static bool BrushShows(const TBrush& brush);
    // Appends the closing points of the fill after the piece; returns the
    // polygon's point count. The piece itself keeps its count.
    int CloseForFill();

    int count_ = 0;
    TPieceCanvases canvases_;
    std::uint8_t drawFlags_ = 0;
    TPolyFill fillMode_ = TPolyFill::None;
    int baseX_ = 0;
    int baseY_ = 0;
    TPenSettings settings_;
    // Two slots beyond the capacity for the points that close a fill.
    std::array<QPoint, Capacity + 2> points_{};
};

// The one shared buffer.
extern TVPolyLine PolyLineBuffer;
void ResetPolyLineBuffer();
