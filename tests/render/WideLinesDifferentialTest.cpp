// The canvas's wide polylines against a plain reference rasterizer: each
// join disc and segment rectangle computed on its own, its runs gathered per
// row, sorted and merged, and every pixel combined one at a time. Random
// strokes of every width, cap and pen mode, clipped and far outside the
// picture, must give the same image bit for bit.
#include "PixelProbe.h"
#include "render/gfx/Bitmap.h"
#include "render/gfx/Canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <utility>
#include <vector>

namespace {

// ---- the reference -------------------------------------------------------

using TRuns = std::vector<std::vector<std::pair<int, int>>>;

struct TReferenceStroke {
    const TRect& clip;
    TRuns& rows;
    double radius;
    double offset;

    struct TInterval {
        double Low = -std::numeric_limits<double>::infinity();
        double High = std::numeric_limits<double>::infinity();
    };

    void Add(int y, int x0, int x1) const
    {
        x0 = std::max(x0, clip.Left);
        x1 = std::min(x1, clip.Right);
        if (y >= clip.Top && y < clip.Bottom && x0 < x1)
            rows[static_cast<size_t>(y - clip.Top)].emplace_back(x0, x1);
    }

    template <class RowInterval>
    void ForRows(double top, double bottom, RowInterval interval) const
    {
        const int first = static_cast<int>(std::ceil(top - offset));
        const int last = static_cast<int>(std::ceil(bottom - offset)) - 1;
        for (int y = first; y <= last; ++y) {
            const TInterval x = interval(y + offset);
            if (x.Low < x.High)
                Add(y, static_cast<int>(std::ceil(x.Low - offset)), static_cast<int>(std::ceil(x.High - offset)));
        }
    }

    static TInterval Solve(double a, double b, double low, double high)
    {
        if (std::fabs(a) < 1E-12)
            return b >= low && b <= high ? TInterval{} : TInterval{0.0, 0.0};
        const double x0 = (low - b) / a;
        const double x1 = (high - b) / a;
        return a < 0 ? TInterval{x1, x0} : TInterval{x0, x1};
    }

    void Disc(double cx, double cy) const
    {
        ForRows(cy - radius, cy + radius, [&](double ys) {
            const double dy = ys - cy;
            const double h2 = radius * radius - dy * dy;
            return h2 < 0 ? TInterval{0.0, 0.0} : TInterval{cx - std::sqrt(h2), cx + std::sqrt(h2)};
        });
    }

    void Segment(double ax, double ay, double bx, double by) const
    {
        const double length = std::hypot(bx - ax, by - ay);
        if (length == 0)
            return;
        const double ux = (bx - ax) / length;
        const double uy = (by - ay) / length;
        const double extent = std::fabs(uy) * length + 2 * radius * std::fabs(ux);
        const double midY = (ay + by) / 2;
        ForRows(midY - extent / 2, midY + extent / 2, [&](double ys) {
            const double dy = ys - ay;
            const TInterval along = Solve(ux, dy * uy - ax * ux, 0.0, length);
            const TInterval across = Solve(-uy, dy * ux + ax * uy, -radius, radius);
            return TInterval{std::max(along.Low, across.Low), std::min(along.High, across.High)};
        });
    }
};

QRgb ReferenceCombine(TPenMode mode, QRgb src, QRgb dst)
{
    switch (mode) {
    case TPenMode::Mask:
        return (src & dst) | 0xFF000000u;
    case TPenMode::Xor:
        return ((src ^ dst) & 0x00FFFFFFu) | 0xFF000000u;
    case TPenMode::Merge:
        return src | dst | 0xFF000000u;
    case TPenMode::Copy:
        break;
    }
    return src | 0xFF000000u;
}

void ReferencePolyline(QImage& image, const std::vector<QPoint>& points, const TPen& pen, const TRect& clip)
{
    TRuns rows(static_cast<size_t>(clip.Height()));
    const int width = std::max(1, pen.Width);
    const TReferenceStroke stroke{clip, rows, width / 2.0, width % 2 == 1 ? 0.0 : 0.5};
    const bool roundEnds = !(pen.Geometric && pen.Cap == TPenCap::Flat);
    const bool dot = std::all_of(points.begin(), points.end(), [&](const QPoint& p) { return p == points.front(); });
    for (size_t i = 0; i < points.size(); ++i) {
        const bool end = i == 0 || i + 1 == points.size();
        if ((!end || roundEnds) && (!dot || i == 0))
            stroke.Disc(points[i].x(), points[i].y());
        if (i > 0)
            stroke.Segment(points[i - 1].x(), points[i - 1].y(), points[i].x(), points[i].y());
    }
    const QRgb color = ToQColor(pen.Color).rgb();
    for (size_t r = 0; r < rows.size(); ++r) {
        auto& runs = rows[r];
        std::sort(runs.begin(), runs.end());
        int covered = std::numeric_limits<int>::min(); // each pixel once, for XOR
        for (const auto& [x0, x1] : runs) {
            for (int x = std::max(x0, covered); x < x1; ++x) {
                const int y = clip.Top + static_cast<int>(r);
                image.setPixel(x, y, ReferenceCombine(pen.Mode, color, image.pixel(x, y)));
            }
            covered = std::max(covered, x1);
        }
    }
}

// ---- random strokes -------------------------------------------------------

struct TStrokeCase {
    std::vector<QPoint> Points;
    TPen Pen;
    std::optional<TRect> Clip;
};

class TStrokeMaker {
public:
    explicit TStrokeMaker(unsigned seed)
        : random_(seed)
    {
    }

    TStrokeCase Make()
    {
        TStrokeCase c;
        c.Pen.Width = Uniform(1, 30);
        c.Pen.Geometric = Uniform(0, 3) != 0 || c.Pen.Width == 1; // width 1 only draws wide when geometric
        c.Pen.Cap = Uniform(0, 1) ? TPenCap::Flat : TPenCap::Round;
        c.Pen.Mode = static_cast<TPenMode>(Uniform(0, 3));
        c.Pen.Color = static_cast<TColor>(Uniform(0, 0xFFFFFF));
        if (Uniform(0, 2) == 0)
            c.Clip = TRect{Uniform(-20, 60), Uniform(-20, 50), Uniform(40, 160), Uniform(30, 140)};
        switch (Uniform(0, 4)) {
        case 0: c.Points = Wander(Uniform(2, 12), 0, 0, 160, 120, 60); break;
        case 1: c.Points = NearlyStraight(); break;
        case 2: c.Points = Wander(Uniform(2, 6), -30000, -30000, 30000, 30000, 60000); break;
        case 3: c.Points = SharpTurns(); break;
        default: c.Points = Dot(); break;
        }
        return c;
    }

private:
    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    std::vector<QPoint> Wander(int n, int left, int top, int right, int bottom, int step)
    {
        std::vector<QPoint> points{{Uniform(left, right), Uniform(top, bottom)}};
        while (static_cast<int>(points.size()) < n) {
            const QPoint& p = points.back();
            points.emplace_back(std::clamp(p.x() + Uniform(-step, step), left, right),
                                std::clamp(p.y() + Uniform(-step, step), top, bottom));
        }
        return points;
    }

    // Long runs in one direction with small deviations: collinear and nearly
    // straight joins, steps of a pixel as curves through every column have.
    std::vector<QPoint> NearlyStraight()
    {
        const int dx = Uniform(-3, 3);
        const int dy = Uniform(-3, 3);
        const int step = Uniform(1, 12);
        std::vector<QPoint> points{{Uniform(-20, 180), Uniform(-20, 140)}};
        for (int i = Uniform(2, 40); i > 0; --i) {
            const QPoint& p = points.back();
            const int wobble = Uniform(0, 3) == 0 ? Uniform(-1, 1) : 0;
            points.emplace_back(p.x() + dx * step + (dy != 0 ? wobble : 0), p.y() + dy * step + (dx != 0 ? wobble : 0));
        }
        return points;
    }

    // Reversals and acute angles, repeated points and zero-length segments.
    std::vector<QPoint> SharpTurns()
    {
        std::vector<QPoint> points{{Uniform(0, 160), Uniform(0, 120)}};
        for (int i = Uniform(2, 8); i > 0; --i) {
            const QPoint& p = points.back();
            switch (Uniform(0, 3)) {
            case 0: points.push_back(p); break;
            case 1: points.push_back(points.size() > 1 ? points[points.size() - 2] : p + QPoint(5, 0)); break;
            default: points.emplace_back(p.x() + Uniform(-40, 40), p.y() + Uniform(-40, 40)); break;
            }
        }
        return points;
    }

    std::vector<QPoint> Dot()
    {
        return std::vector<QPoint>(static_cast<size_t>(Uniform(1, 3)), QPoint(Uniform(-20, 180), Uniform(-20, 140)));
    }

    std::mt19937 random_;
};

QImage NoiseImage(int width, int height, unsigned seed)
{
    std::mt19937 random(seed);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, 0xFF000000u | (random() & 0x00FFFFFFu));
    return image;
}

TEST(WideLinesDifferential, RandomStrokesMatchTheReferenceBitForBit)
{
    constexpr int Rounds = 60;
    constexpr int StrokesPerRound = 40;
    TStrokeMaker maker(20261207u);
    for (int round = 0; round < Rounds; ++round) {
        QImage image = NoiseImage(160, 120, static_cast<unsigned>(round));
        QImage expected = image.copy();
        TCanvas canvas = MakeImageCanvas(image);
        for (int k = 0; k < StrokesPerRound; ++k) {
            const TStrokeCase c = maker.Make();
            canvas.Pen = c.Pen;
            if (c.Clip)
                canvas.SetClipRect(*c.Clip);
            else
                canvas.ClearClipRect();
            canvas.Polyline(c.Points);
            const TRect bounds{0, 0, image.width(), image.height()};
            const TRect clip = c.Clip ? IntersectRects(*c.Clip, bounds) : bounds;
            if (!clip.IsEmpty())
                ReferencePolyline(expected, c.Points, c.Pen, clip);
            ASSERT_EQ(image, expected) << "round " << round << ", stroke " << k << ": width " << c.Pen.Width
                                       << ", mode " << static_cast<int>(c.Pen.Mode) << ", " << c.Points.size() << " points";
        }
    }
}

// A picture much wider than one word of pixels, so that runs cross words
// and the rows of one stroke reuse the storage another stroke left.
TEST(WideLinesDifferential, WidePicturesAndRepeatedStrokesMatchTheReference)
{
    QImage image = NoiseImage(700, 90, 7u);
    QImage expected = image.copy();
    TCanvas canvas = MakeImageCanvas(image);
    const TRect all{0, 0, 700, 90};
    for (int width : {1, 2, 7, 30}) {
        for (TPenMode mode : {TPenMode::Xor, TPenMode::Mask}) {
            const TPen pen{0x3377BB, width, TPenStyle::Solid, mode, true, TPenCap::Round};
            canvas.Pen = pen;
            std::vector<QPoint> wave;
            for (int x = -40; x <= 740; x += 3)
                wave.emplace_back(x, static_cast<int>(45 + 40 * std::sin(x / (9.0 + width))));
            canvas.Polyline(wave);
            ReferencePolyline(expected, wave, pen, all);
            const std::vector<QPoint> across{{-5, 10 + width}, {705, 12 + width}};
            canvas.Polyline(across);
            ReferencePolyline(expected, across, pen, all);
            ASSERT_EQ(image, expected) << "width " << width << ", mode " << static_cast<int>(mode);
        }
    }
}

// One picture whose size changes between strokes, as the graph's pictures do
// when one project after another is opened (600 × 300, then 400 × 400), with
// clips of every shape: the rows of each stroke fit whatever the strokes
// before it left, down to the last pixel of the last row.
TEST(WideLinesDifferential, PicturesResizedBetweenStrokesMatchTheReference)
{
    struct Size {
        int Width, Height;
    };
    const Size sizes[] = {{600, 300}, {400, 400}, {100, 1000}, {2000, 40}, {64, 64}, {65, 700}, {1, 1}, {600, 300}};
    TBitmap picture;
    TCanvas& canvas = picture.Canvas();
    for (const Size& size : sizes) {
        picture.SetSize(size.Width, size.Height);
        QImage& image = picture.Image();
        const TRect all{0, 0, size.Width, size.Height};
        const TRect clips[] = {all,
                               {0, 0, 1, size.Height},
                               {0, size.Height - 1, size.Width, size.Height},
                               {size.Width / 3, size.Height / 4, size.Width, size.Height}};
        for (const TRect& clip : clips) {
            canvas.SetClipRect(clip);
            for (int width : {1, 4, 31}) {
                const TPen pen{0x3377BB, width, TPenStyle::Solid, TPenMode::Xor, true, TPenCap::Round};
                canvas.Pen = pen;
                // Along the last row, and corner to corner.
                const std::vector<QPoint> strokes[] = {
                    {{-10, size.Height - 1}, {size.Width + 10, size.Height - 1}},
                    {{0, 0}, {size.Width - 1, size.Height - 1}, {size.Width - 1, 0}},
                };
                for (const std::vector<QPoint>& points : strokes) {
                    QImage expected = image.copy();
                    canvas.Polyline(points);
                    ReferencePolyline(expected, points, pen, clip);
                    ASSERT_EQ(image, expected) << size.Width << " × " << size.Height << ", clip " << clip.Left << ','
                                               << clip.Top << ',' << clip.Right << ',' << clip.Bottom << ", width "
                                               << width;
                }
            }
        }
    }
}

} // namespace
