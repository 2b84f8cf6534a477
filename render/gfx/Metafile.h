#pragma once

#include "render/gfx/Canvas.h"
#include "render/gfx/DrawCommand.h"
#include "render/gfx/GfxTypes.h"

#include <QString>
#include <span>
#include <vector>

// A recorded picture: the drawing calls in order, each with the tools it was
// made with. A picture of Width × Height spans the pixels 0..Width and
// 0..Height, so it replays one to one into (0, 0, Width + 1, Height + 1).
struct TMetafile {
    struct TEntry {
        TDrawCommand Command;
        int State = 0; // index into States
        bool operator==(const TEntry&) const = default;
    };

    int Width = 0;
    int Height = 0;
    std::vector<TDrawState> States; // a new entry only when the tools changed
    std::vector<TEntry> Entries;

    void Clear()
    {
        States.clear();
        Entries.clear();
    }
    bool IsEmpty() const { return Entries.empty(); }
    // The same calls with the same tools: the same pixels wherever replayed.
    bool operator==(const TMetafile&) const = default;
};

// A canvas that records into the picture, which must outlive it. Drawing
// outside the picture's area is kept; replay clips it.
TCanvas MakeMetafileCanvas(TMetafile& metafile);

// Replays the picture into dest on the target: positions, boxes, wide and
// geometric pen widths and font heights are scaled by dest's size over the
// picture's, every call is clipped to dest (and to its own recorded clip),
// and the target's own tools stay as they were. Into a recording canvas the
// calls are recorded again, so pictures nest.
void PlayMetafile(const TMetafile& metafile, TCanvas& target, const TRect& dest);
// The same for the entries at the given indices only, in that order.
void PlayMetafileEntries(const TMetafile& metafile, TCanvas& target, const TRect& dest, std::span<const size_t> entries);

// One line per call, with the tools that matter for it; a "clip" line before
// each call whose clip differs from the one before. Exact and stable: tests
// compare it whole.
QString DumpMetafile(const TMetafile& metafile);
