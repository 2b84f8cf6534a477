// The replay that keeps unchanged mask-pen drawing as pixels against the
// plain replay: random pictures (mask lines of every width and style, mask
// shapes with solid and hatched brushes, copy and XOR drawing around them)
// changed a little from frame to frame, onto a patterned background, must
// give the same image bit for bit, and the kept pixels must be used. The
// mask drawing is cut into bands of rows drawn on several threads: the same
// pixels again, whatever the number of threads.
#include "engine/ParallelWork.h"
#include "render/gfx/Bitmap.h"
#include "render/gfx/PictureReplayCache.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

constexpr int Size = 120;

class TRandomPicture {
public:
    explicit TRandomPicture(unsigned seed)
        : random_(seed)
    {
    }

    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    // Random drawing; mask says whether it is in the mask pen mode.
    void Draw(TCanvas& canvas, bool mask)
    {
        canvas.Pen = TPen{.Color = RandomColor(), .Width = Between(0, 5), .Style = RandomStyle(),
                          .Mode = mask ? TPenMode::Mask : (Between(0, 1) ? TPenMode::Copy : TPenMode::Xor)};
        canvas.Pen.Geometric = Between(0, 3) == 0;
        canvas.Brush.Style = Between(0, 2) == 0 ? TBrushStyle::DiagCross : TBrushStyle::Solid;
        canvas.Brush.Color = RandomColor();
        switch (Between(0, 5)) {
        case 0:
            canvas.Ellipse(Coord(), Coord(), Coord(), Coord());
            return;
        case 1: {
            const std::vector<QPoint> points = Points(Between(3, 6));
            canvas.Polygon(points);
            return;
        }
        case 2:
            canvas.Pie(Coord(), Coord(), Coord(), Coord(), Coord(), Coord(), Coord(), Coord());
            return;
        default: {
            // A curve column by column, as functions are drawn.
            std::vector<QPoint> points;
            int y = Coord();
            for (int x = -5; x <= Size + 5; x += Between(1, 3)) {
                y += Between(-6, 6);
                points.emplace_back(x, y);
            }
            canvas.Polyline(points);
            return;
        }
        }
    }

    void DrawNonMask(TCanvas& canvas)
    {
        if (Between(0, 1) == 0) {
            canvas.Brush.Style = TBrushStyle::Solid;
            canvas.Brush.Color = RandomColor();
            canvas.FillRect({Coord(), Coord(), Coord(), Coord()});
        } else {
            Draw(canvas, false);
        }
    }

private:
    TColor RandomColor() { return static_cast<TColor>(std::uniform_int_distribution<unsigned>(0, 0xFFFFFF)(random_)); }
    TPenStyle RandomStyle() { return Between(0, 2) == 0 ? static_cast<TPenStyle>(Between(0, 4)) : TPenStyle::Solid; }
    int Coord() { return Between(-20, Size + 20); }
    std::vector<QPoint> Points(int n)
    {
        std::vector<QPoint> points;
        for (int i = 0; i < n; ++i)
            points.emplace_back(Coord(), Coord());
        return points;
    }

    std::mt19937 random_;
};

// A frame: some drawing before, the mask run, some after. The run's pieces
// are drawn from their own seeds, so a frame changes a piece by changing
// its seed.
TMetafile Frame(const std::vector<unsigned>& pieces, unsigned around)
{
    TMetafile picture;
    picture.Width = picture.Height = Size;
    TCanvas canvas = MakeMetafileCanvas(picture);
    TRandomPicture before(around);
    for (int i = before.Between(0, 2); i > 0; --i)
        before.DrawNonMask(canvas);
    for (unsigned seed : pieces)
        TRandomPicture(seed).Draw(canvas, true);
    for (int i = before.Between(0, 2); i > 0; --i)
        before.DrawNonMask(canvas);
    return picture;
}

void FillBackground(TBitmap& bitmap)
{
    bitmap.SetSize(Size + 1, Size + 1);
    for (int y = 0; y <= Size; ++y)
        for (int x = 0; x <= Size; ++x)
            bitmap.Image().setPixel(x, y, 0xFF000000u | (((x * 7) ^ (y * 13)) & 0xFF) * 0x010101u | 0x3F3F3Fu);
}

class PictureReplayCacheTest : public ::testing::TestWithParam<int> {};

TEST_P(PictureReplayCacheTest, RepeatedPicturesReplayBitForBitAsThePlainReplay)
{
    const TScopedWorkerThreads threads(GetParam());
    std::mt19937 random(20261207);
    struct TCase {
        TRect Dest;
        bool Clipped;
    };
    const TCase cases[] = {
        {{0, 0, Size + 1, Size + 1}, false}, // one to one, as the scene replays
        {{0, 0, Size + 1, Size + 1}, true},
        {{10, -4, 90, 100}, false}, // scaled and moved
    };
    TPictureReplayCache cache;
    for (const TCase& c : cases) {
        std::vector<unsigned> pieces(12);
        for (unsigned& p : pieces)
            p = random();
        for (int frame = 0; frame < 40; ++frame) {
            // Mostly one piece changes, as when one curve moves; now and
            // then another one, or a piece comes or goes.
            const int change = static_cast<int>(random() % 10);
            pieces[change < 7 ? 0 : random() % pieces.size()] = random();
            if (change == 8)
                pieces.push_back(random());
            if (change == 9 && pieces.size() > 3)
                pieces.erase(pieces.begin() + static_cast<long>(random() % pieces.size()));
            const TMetafile picture = Frame(pieces, static_cast<unsigned>(frame % 3));

            TBitmap cached;
            TBitmap plain;
            FillBackground(cached);
            FillBackground(plain);
            if (c.Clipped) {
                cached.Canvas().SetClipRect({7, 5, 100, 111});
                plain.Canvas().SetClipRect({7, 5, 100, 111});
            }
            cache.Play(picture, cached, c.Dest);
            plain.Canvas().StretchDraw(c.Dest, picture);
            ASSERT_EQ(cached.Image(), plain.Image()) << "frame " << frame;
        }
    }
    EXPECT_GT(cache.Counts().LayersReused, 40);
    EXPECT_GT(cache.Counts().LayersBuilt, 3);
}

// One thread draws in turn; three and eight cut the picture into bands.
INSTANTIATE_TEST_SUITE_P(Threads, PictureReplayCacheTest, ::testing::Values(1, 3, 8));

} // namespace
