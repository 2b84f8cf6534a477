#include "render/gfx/PictureReplayCache.h"

#include "engine/ParallelWork.h"

#include <QHashFunctions>
#include <algorithm>
#include <unordered_map>
#include <utility>

namespace {

// Lines and shapes in the mask pen mode: their lines and fills AND a colour
// into the pixels they cover, wherever they fall and whatever is there, so
// they commute with each other and drawing one twice changes nothing.
bool IsMaskEntry(const TMetafile& picture, const TMetafile::TEntry& e)
{
    switch (e.Command.Op) {
    case TDrawOp::Pixel:
    case TDrawOp::FillRect:
    case TDrawOp::Text:
    case TDrawOp::Image:
        return false;
    default:
        return picture.States[e.State].Pen.Mode == TPenMode::Mask;
    }
}

// The longest run of consecutive mask entries, as [first, last).
std::pair<size_t, size_t> LongestMaskRun(const TMetafile& picture)
{
    std::pair<size_t, size_t> best{0, 0};
    size_t start = 0;
    for (size_t i = 0; i <= picture.Entries.size(); ++i) {
        if (i < picture.Entries.size() && IsMaskEntry(picture, picture.Entries[i]))
            continue;
        if (i - start > best.second - best.first)
            best = {start, i};
        start = i + 1;
    }
    return best;
}

size_t EntryHash(const TDrawCommand& c, const TDrawState& s)
{
    const size_t points = qHashBits(c.Points.data(), c.Points.size() * sizeof(QPoint));
    return qHashMulti(points, static_cast<int>(c.Op), c.Box.Left, c.Box.Top, c.Box.Right, c.Box.Bottom,
                      c.Corner.width(), c.Corner.height(), s.Pen.Color, s.Pen.Width, static_cast<int>(s.Pen.Style),
                      static_cast<int>(s.Brush.Style), s.Brush.Color);
}

// Marks the entries of run that equal some item of items; says whether
// every item was found.
template <class Item>
bool MarkCommon(const std::vector<Item>& items, const std::vector<Item>& run, std::vector<char>& marks)
{
    std::unordered_multimap<size_t, size_t> byHash;
    byHash.reserve(run.size());
    for (size_t i = 0; i < run.size(); ++i)
        byHash.emplace(run[i].Hash, i);
    bool all = true;
    for (const Item& item : items) {
        bool found = false;
        const auto [from, to] = byHash.equal_range(item.Hash);
        for (auto it = from; it != to; ++it) {
            const Item& other = run[it->second];
            if (item.Command == other.Command && item.State == other.State) {
                marks[it->second] = 1;
                found = true;
            }
        }
        all = all && found;
    }
    return all;
}

// Mask entries give the same pixels in any order and wherever they are cut:
// the image is cut into bands of rows, and each band gets every entry,
// clipped to it, on a core of its own. Few entries are drawn in turn, where
// waking the other cores would cost more than they save.
void PlayMaskEntries(const TMetafile& picture, QImage& image, const std::optional<TRect>& clip, const TRect& dest,
                     const std::vector<size_t>& entries)
{
    constexpr size_t FewEntries = 2;
    constexpr int BandsPerThread = 2; // the bands with the steep parts of curves take longer
    constexpr int MinBandRows = 16;
    const int bands = std::min(WorkerThreadCount() * BandsPerThread, image.height() / MinBandRows);
    if (entries.size() < FewEntries || WorkerThreadCount() == 1 || bands < 2) {
        TCanvas canvas = MakeImageCanvas(image);
        if (clip)
            canvas.SetClipRect(*clip);
        PlayMetafileEntries(picture, canvas, dest, entries);
        return;
    }
    // Each band draws through an image of its own over the same pixels,
    // which none of them copies.
    uchar* bits = image.bits();
    const int width = image.width();
    const int height = image.height();
    const qsizetype stride = image.bytesPerLine();
    const QImage::Format format = image.format();
    RunInParallel(bands, [&](int band, int) {
        QImage pixels(bits, width, height, stride, format);
        TCanvas canvas = MakeImageCanvas(pixels);
        const TRect rows{0, height * band / bands, width, height * (band + 1) / bands};
        canvas.SetClipRect(clip ? IntersectRects(*clip, rows) : rows);
        PlayMetafileEntries(picture, canvas, dest, entries);
    });
}

} // namespace

void TPictureReplayCache::Play(const TMetafile& picture, TBitmap& target, const TRect& dest)
{
    TCanvas& canvas = target.Canvas();
    QImage& image = target.Image();
    const auto [first, last] = LongestMaskRun(picture);
    if (dest.IsEmpty() || image.format() != QImage::Format_RGB32 || last - first < 2) {
        PlayMetafile(picture, canvas, dest);
        const TCounts counts = counts_;
        Clear();
        counts_ = counts;
        return;
    }
    const TKey key{image.size(), dest, picture.Width, picture.Height, canvas.ClipRect()};
    std::vector<TItem> run;
    run.reserve(last - first);
    for (size_t i = first; i < last; ++i) {
        const TMetafile::TEntry& e = picture.Entries[i];
        const TDrawState& state = picture.States[e.State];
        run.push_back({e.Command, state, EntryHash(e.Command, state)});
    }

    std::vector<char> inLayer(run.size(), 0);
    const bool reuse = HasLayer() && key == key_ && MarkCommon(kept_, run, inLayer);
    if (reuse) {
        ++counts_.LayersReused;
    } else {
        std::fill(inLayer.begin(), inLayer.end(), 0);
        if (key == key_)
            MarkCommon(previous_, run, inLayer);
        KeepMarked(picture, canvas, dest, image.size(), first, run, inLayer);
    }
    counts_.EntriesKept = kept_.size();

    std::vector<size_t> before(first);
    for (size_t i = 0; i < first; ++i)
        before[i] = i;
    PlayMetafileEntries(picture, canvas, dest, before);
    if (HasLayer())
        ApplyLayer(image);
    std::vector<size_t> moved;
    for (size_t i = 0; i < run.size(); ++i)
        if (!inLayer[i])
            moved.push_back(first + i);
    PlayMaskEntries(picture, image, canvas.ClipRect(), dest, moved);
    std::vector<size_t> after;
    for (size_t i = last; i < picture.Entries.size(); ++i)
        after.push_back(i);
    PlayMetafileEntries(picture, canvas, dest, after);

    previous_ = std::move(run);
    key_ = key;
}

// What stood in the last replay too is likely to stand in the next: the
// marked entries of the run become the layer.
void TPictureReplayCache::KeepMarked(const TMetafile& picture, const TCanvas& canvas, const TRect& dest, QSize size,
                                     size_t first, const std::vector<TItem>& run, const std::vector<char>& marks)
{
    std::vector<size_t> kept;
    kept_.clear();
    for (size_t i = 0; i < run.size(); ++i)
        if (marks[i]) {
            kept.push_back(first + i);
            kept_.push_back(run[i]);
        }
    if (HasLayer()) {
        BuildLayer(picture, canvas, dest, size, kept);
        ++counts_.LayersBuilt;
    }
}

// The kept entries drawn onto white, and the pixels they changed taken as runs.
void TPictureReplayCache::BuildLayer(const TMetafile& picture, const TCanvas& canvas, const TRect& dest, QSize size,
                                     const std::vector<size_t>& kept)
{
    QImage layer(size, QImage::Format_RGB32);
    layer.fill(0xFFFFFFFFu);
    PlayMaskEntries(picture, layer, canvas.ClipRect(), dest, kept);
    runs_.clear();
    colors_.clear();
    for (int y = 0; y < layer.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(layer.constScanLine(y));
        int x = 0;
        while (x < layer.width()) {
            while (x < layer.width() && row[x] == 0xFFFFFFFFu)
                ++x;
            if (x == layer.width())
                break;
            TRun r{y, x, x, colors_.size()};
            while (x < layer.width() && row[x] != 0xFFFFFFFFu)
                colors_.push_back(row[x++]);
            r.X1 = x;
            runs_.push_back(r);
        }
    }
}

// As the mask pen combines a pixel: AND, the alpha byte opaque.
void TPictureReplayCache::ApplyLayer(QImage& image) const
{
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    for (const TRun& r : runs_) {
        auto* row = reinterpret_cast<QRgb*>(bits + r.Y * stride);
        const QRgb* colors = colors_.data() + r.Offset;
        for (int x = r.X0; x < r.X1; ++x)
            row[x] = (row[x] & colors[x - r.X0]) | 0xFF000000u;
    }
}
