#pragma once

#include "render/gfx/GfxTypes.h"

#include <QPoint>
#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>
#include <span>
#include <vector>

// The pixels of one stroke inside a clip, one bit each, so that pieces of a
// stroke that overlap (segments and their joins) set a pixel once: XOR must
// not touch a pixel twice. Storage is kept between strokes and only the rows
// a stroke touched are cleared; a bit per pixel costs a thirty-second of the
// image it draws on.
class TSpanRows {
public:
    // Forgets the pixels and takes a new clip.
    void Reset(const TRect& clip);

    int Top() const { return clip_.Top; }
    int Bottom() const { return clip_.Bottom; }

    // Pixels x0 .. x1 - 1 of row y; clipped.
    void Add(int y, int x0, int x1)
    {
        if (y < clip_.Top || y >= clip_.Bottom)
            return;
        x0 = std::max(x0, clip_.Left) - clip_.Left;
        x1 = std::min(x1, clip_.Right) - clip_.Left;
        if (x0 >= x1)
            return;
        const size_t row = static_cast<size_t>(y - clip_.Top);
        const int first = x0 >> 6;
        const int last = (x1 - 1) >> 6;
        if (lowWord_[row] == INT_MAX)
            touched_.push_back(y);
        lowWord_[row] = std::min(lowWord_[row], first);
        highWord_[row] = std::max(highWord_[row], last);
        std::uint64_t* words = bits_.data() + row * static_cast<size_t>(wordsPerRow_);
        const std::uint64_t head = ~std::uint64_t{0} << (x0 & 63);
        const std::uint64_t tail = ~std::uint64_t{0} >> (63 - ((x1 - 1) & 63));
        if (first == last) {
            words[first] |= head & tail;
            return;
        }
        words[first] |= head;
        std::fill(words + first + 1, words + last, ~std::uint64_t{0});
        words[last] |= tail;
    }

    // Calls visit(y, x0, x1) for each maximal run of pixels, rows in no
    // particular order.
    template <class Visit>
    void ForEach(Visit&& visit) const
    {
        for (int y : touched_) {
            const size_t row = static_cast<size_t>(y - clip_.Top);
            const std::uint64_t* words = bits_.data() + row * static_cast<size_t>(wordsPerRow_);
            int start = -1; // of the run that is open, relative to the clip
            for (int w = lowWord_[row]; w <= highWord_[row]; ++w) {
                const std::uint64_t word = words[w];
                int bit = 0;
                while (bit < 64) {
                    // A run's start is the next set bit, its end the next clear one.
                    const std::uint64_t rest = (start < 0 ? word : ~word) >> bit;
                    if (rest == 0)
                        break;
                    bit += std::countr_zero(rest);
                    if (start < 0) {
                        start = w * 64 + bit;
                    } else {
                        visit(y, clip_.Left + start, clip_.Left + w * 64 + bit);
                        start = -1;
                    }
                }
            }
            if (start >= 0)
                visit(y, clip_.Left + start, clip_.Left + (highWord_[row] + 1) * 64);
        }
    }

private:
    TRect clip_;
    int wordsPerRow_ = 0;
    std::vector<std::uint64_t> bits_;
    std::vector<int> lowWord_;  // INT_MAX for a row not touched
    std::vector<int> highWord_;
    std::vector<int> touched_;
};

// The pixels of a polyline drawn with a solid pen of the given width: round
// joins, round or flat ends. A pixel is covered when its sample point lies in
// the stroke, left and top edges inclusive; odd widths sample at the pixel's
// integer point, even widths half a pixel to the right and below, so that a
// horizontal line of width w covers w rows.
void AddWidePolyline(TSpanRows& spans, std::span<const QPoint> points, int width, bool roundEnds);
// A filled disc of that diameter about the point.
void AddDisc(TSpanRows& spans, QPoint centre, int diameter);
