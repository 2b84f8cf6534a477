#pragma once

#include "render/gfx/Bitmap.h"
#include "render/gfx/Metafile.h"

#include <QImage>
#include <QSize>
#include <cstddef>
#include <optional>
#include <vector>

// Replays a picture onto a bitmap the way the bitmap's canvas StretchDraws
// it, pixel for pixel, but faster when the picture mostly repeats the last
// one. Lines and shapes drawn with the mask pen AND their colours into the
// pixels, so a run of them gives the same pixels in any order; the ones that
// also stood in the last replay's run are kept as one prepared layer of
// pixels, ANDed in at once, and only the others are drawn again. A redraw in
// which one curve of twenty moves thus rasterizes one curve.
class TPictureReplayCache {
public:
    // Needs an RGB32 target whose canvas aligns patterns to its own origin
    // (every TBitmap's does); the picture goes down into dest as by
    // target.Canvas().StretchDraw(dest, picture).
    void Play(const TMetafile& picture, TBitmap& target, const TRect& dest);
    void Clear() { *this = TPictureReplayCache{}; }

    // How the last replays went, for tests and measurements.
    struct TCounts {
        int LayersBuilt = 0;  // the kept pixels prepared anew
        int LayersReused = 0; // the kept pixels applied as they were
        size_t EntriesKept = 0; // in the layer of the last replay
    };
    const TCounts& Counts() const { return counts_; }

private:
    struct TItem {
        TDrawCommand Command;
        TDrawState State;
        size_t Hash = 0;
    };
    // What the kept pixels depend on besides the entries.
    struct TKey {
        QSize Target;
        TRect Dest;
        int Width = 0;
        int Height = 0;
        std::optional<TRect> Clip;
        bool operator==(const TKey&) const = default;
    };
    // Pixels Y, X0 .. X1 - 1 of the layer, their colours from Offset on.
    struct TRun {
        int Y = 0;
        int X0 = 0;
        int X1 = 0;
        size_t Offset = 0;
    };

    void KeepMarked(const TMetafile& picture, const TCanvas& canvas, const TRect& dest, QSize size, size_t first,
                    const std::vector<TItem>& run, const std::vector<char>& marks);
    void BuildLayer(const TMetafile& picture, const TCanvas& canvas, const TRect& dest, QSize size,
                    const std::vector<size_t>& kept);
    void ApplyLayer(QImage& image) const;
    bool HasLayer() const { return !kept_.empty(); }

    TKey key_;
    std::vector<TItem> kept_;     // what the layer's pixels hold (none: no layer)
    std::vector<TItem> previous_; // the mask run of the last replay
    std::vector<TRun> runs_;
    std::vector<QRgb> colors_;
    TCounts counts_;
};
