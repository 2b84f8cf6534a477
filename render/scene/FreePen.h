#pragma once

// The free-hand pen's marks on the graph: round marks in pixel coordinates
// of the graph picture, painted again after every redraw and into printed
// and exported pictures at their magnification. They belong to the graph
// window, never to the document.
#include "model/Colors.h"
#include "render/gfx/Canvas.h"
#include "render/view/DrawContext.h"

#include <QImage>
#include <cstdint>
#include <vector>

// One mark: its centre on the graph picture, the pen's colour number
// (0..5) and size.
struct TPenMark {
    int X = 0;
    int Y = 0;
    std::uint8_t Pattern = 0;
    std::uint8_t Size = 0;
    bool operator==(const TPenMark&) const = default;
};

// The pen's colours by number. The odd numbers are solid and drawn over the
// graph; the even ones are light and ANDed onto it like a highlighter.
TColor FreePenColor(int n);
// The 8 × 8 tile the pen paints with for colour number n: one colour, that
// of number n (number 1 for any n outside 0..5).
QImage FreePenPatternTile(int n);
// Whether colour number n paints an opaque disc (1, 3 and 5).
bool IsOpaquePenPattern(int n);

class TfreePen {
public:
    static constexpr int MaxMarks = 10000;

    TfreePen();

    // No marks, and no pattern loaded.
    void Clear();
    // Appends a mark; false, and nothing kept, once the store is full.
    bool Add(int x, int y, int size, int pattern);
    // Removes every mark whose centre lies inside the rectangle, bounds
    // included, in either corner order; the others keep their order.
    void EraseRect(int x1, int y1, int x2, int y2);
    // Paints mark i (1..Count) at the context's magnification: an opaque
    // disc for the solid colours, a masked one, one pixel larger in radius,
    // for the light ones. The canvas's tools are put back afterwards.
    void DrawMark(TCanvas& canvas, int i, const TDrawContext& context = {});
    void DrawLast(TCanvas& canvas, const TDrawContext& context = {}) { DrawMark(canvas, Count(), context); }
    // Every mark, oldest first.
    void DrawAll(TCanvas& canvas, const TDrawContext& context = {});

    bool IsEmpty() const { return marks_.empty(); }
    int Count() const { return static_cast<int>(marks_.size()); }
    // Mark i, 1..Count.
    const TPenMark& Mark(int i) const { return marks_[static_cast<std::size_t>(i - 1)]; }
    // How often the pattern was loaded: only when the colour changes
    // between consecutive marks painted.
    int PatternLoads() const { return patternLoads_; }

private:
    void LoadPattern(int pattern);

    std::vector<TPenMark> marks_;
    QImage pattern_;
    int lastPattern_ = -1;
    int patternLoads_ = 0;
};
