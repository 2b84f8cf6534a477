#include "PlotTestKit.h"
#include "render/plot/LineJoiner.h"

#include <gtest/gtest.h>
#include <climits>
#include <random>

namespace {

using Lines = std::vector<std::string>;

using Points = std::vector<QPoint>;

TconnectLines Joiner(bool mergeMode, TCanvas* first = nullptr, TCanvas* second = nullptr, bool skipMain = false,
                     bool onSecond = false)
{
    TconnectLines joiner;
    joiner.Reset(first, second, mergeMode, skipMain, onSecond, PenSettings(1));
    return joiner;
}

// Each way two pieces can touch, in both modes: chains run in the first
// piece's direction through the shared point; merged strokes keep the far ends.
TEST(LineJoinerTest, PiecesJoinAtTheirSharedEndInEitherMode)
{
    struct Case {
        Points A;
        Points B;
        Points Chained;
        Points Merged;
    };
    const Case cases[] = {
        {{{0, 0}, {5, 5}}, {{5, 5}, {9, 3}}, {{0, 0}, {5, 5}, {9, 3}}, {{0, 0}, {9, 3}}},
        {{{0, 0}, {5, 5}}, {{9, 3}, {5, 5}}, {{0, 0}, {5, 5}, {9, 3}}, {{0, 0}, {9, 3}}},
        {{{5, 5}, {0, 0}}, {{5, 5}, {9, 3}}, {{9, 3}, {5, 5}, {0, 0}}, {{9, 3}, {0, 0}}},
        {{{5, 5}, {0, 0}}, {{9, 3}, {5, 5}}, {{9, 3}, {5, 5}, {0, 0}}, {{9, 3}, {0, 0}}},
        // Touching at both ends: the first piece's last point is tried first.
        {{{0, 0}, {5, 5}}, {{5, 5}, {0, 0}}, {{0, 0}, {5, 5}, {0, 0}}, {{0, 0}, {0, 0}}},
        {{{0, 0}, {5, 5}}, {{0, 0}, {5, 5}}, {{0, 0}, {5, 5}, {0, 0}}, {{0, 0}, {0, 0}}},
    };
    for (const bool merge : {false, true})
        for (const Case& c : cases) {
            TconnectLines joiner = Joiner(merge);
            joiner.AddSegment(c.A[0], c.A[1]);
            joiner.AddSegment(c.B[0], c.B[1]);
            ASSERT_TRUE(joiner.JoinPair(0, 1));
            EXPECT_TRUE(joiner.Open()[0].empty());
            EXPECT_EQ(joiner.Open()[1], merge ? c.Merged : c.Chained) << merge;
        }
    TconnectLines joiner = Joiner(false);
    joiner.AddSegment({0, 0}, {1, 1});
    joiner.AddSegment({2, 2}, {3, 3});
    EXPECT_FALSE(joiner.JoinPair(0, 1));
}

// A piece joins the first later piece it touches, and the joined piece moves
// on to that place, so a run of touching pieces becomes one curve per pass.
TEST(LineJoinerTest, JoinTakesTheFirstMatchAndLinksRunsInOnePass)
{
    TconnectLines joiner = Joiner(false);
    joiner.AddSegment({0, 10}, {1, 10}); // touches the next two: the first wins
    joiner.AddSegment({1, 10}, {2, 11});
    joiner.AddSegment({1, 10}, {1, 20});
    joiner.AddSegment({2, 11}, {3, 10});
    joiner.Join(0);
    EXPECT_EQ(joiner.Open(), std::vector<Points>({{{1, 10}, {1, 20}}, {{0, 10}, {1, 10}, {2, 11}, {3, 10}}}));
}

// Join finds partners through an index of end points when many pieces are
// open; it must pick the same partner as the plain scan over the later
// pieces, in both modes, on pieces that touch often (points of a 5 × 5 grid).
TEST(LineJoinerTest, JoinPicksThePartnerThePlainScanPicks)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(0, 4);
    const auto point = [&] { return QPoint(coordinate(random), coordinate(random)); };
    for (const bool merge : {false, true})
        for (int round = 0; round < 20; ++round) {
            TconnectLines indexed = Joiner(merge);
            TconnectLines plain = Joiner(merge);
            for (int pass = 0; pass < 6; ++pass) {
                for (int k = 0; k < 40; ++k) {
                    const QPoint p1 = point();
                    const QPoint p2 = point();
                    indexed.AddSegment(p1, p2);
                    plain.AddSegment(p1, p2);
                }
                indexed.Join(INT_MIN); // nothing retires
                const size_t n = plain.Open().size();
                for (size_t i = 0; i < n; ++i)
                    for (size_t j = i + 1; j < n; ++j)
                        if (plain.JoinPair(i, j))
                            break;
                std::vector<Points> expected;
                for (const Points& piece : plain.Open())
                    if (!piece.empty())
                        expected.push_back(piece);
                // The plain side keeps its emptied pieces, which never join.
                ASSERT_EQ(indexed.Open(), expected) << merge << " " << round << " " << pass;
            }
        }
}

// The joiner as first written, one vector per piece and a plain scan for
// partners: what the pooled pieces and the end-point index must reproduce.
class ReferenceJoiner {
public:
    explicit ReferenceJoiner(bool merge) : merge_(merge) {}
    void AddSegment(QPoint p1, QPoint p2) { open_.push_back({p1, p2}); }
    void Join(int limitY)
    {
        for (size_t i = 0; i < open_.size(); ++i)
            for (size_t j = i + 1; j < open_.size() && !open_[i].empty(); ++j)
                JoinPair(open_[i], open_[j]);
        for (Points& piece : open_)
            if (!piece.empty() && piece.front().y() < limitY && piece.back().y() < limitY) {
                if (piece.size() > 2 || merge_)
                    done_.push_back(piece);
                piece.clear();
            }
        std::erase_if(open_, [](const Points& piece) { return piece.empty(); });
    }
    std::vector<Points> open_;
    std::vector<Points> done_;

private:
    void JoinPair(Points& a, Points& b) const
    {
        if (b.empty())
            return;
        Points joined;
        if (a.back() == b.front())
            joined = merge_ ? Points{a.front(), b.back()} : Concatenated(a, b);
        else if (a.back() == b.back())
            joined = merge_ ? Points{a.front(), b.front()} : Concatenated(a, Points(b.rbegin(), b.rend()));
        else if (a.front() == b.front())
            joined = merge_ ? Points{b.back(), a.back()} : Concatenated(Points(b.rbegin(), b.rend()), a);
        else if (a.front() == b.back())
            joined = merge_ ? Points{b.front(), a.back()} : Concatenated(b, a);
        else
            return;
        b = joined;
        a.clear();
    }
    // a, then b without its first point.
    static Points Concatenated(Points a, const Points& b)
    {
        a.insert(a.end(), b.begin() + 1, b.end());
        return a;
    }
    bool merge_;
};

// Join must pick the partner the plain scan picks and build the same
// polylines, in both modes, on pieces that touch often (points of a small
// grid), with few open pieces (scanned) and many (indexed), over passes that
// retire pieces between them and let chains grow long at either end.
TEST(LineJoinerTest, JoinMatchesTheJoinerAsFirstWritten)
{
    std::mt19937 random(7);
    for (const bool merge : {false, true})
        for (const int perPass : {5, 40, 300})
            for (int round = 0; round < 10; ++round) {
                std::uniform_int_distribution<int> coordinate(0, perPass < 40 ? 3 : 6);
                TconnectLines joiner = Joiner(merge);
                ReferenceJoiner reference(merge);
                for (int pass = 0; pass < 12; ++pass) {
                    for (int k = 0; k < perPass; ++k) {
                        const QPoint p1(coordinate(random), coordinate(random) + pass);
                        const QPoint p2(coordinate(random), coordinate(random) + pass);
                        joiner.AddSegment(p1, p2);
                        reference.AddSegment(p1, p2);
                    }
                    const int limit = round % 2 ? pass : INT_MIN; // odd rounds retire pieces
                    joiner.Join(limit);
                    reference.Join(limit);
                    ASSERT_EQ(joiner.Open(), reference.open_) << merge << " " << perPass << " " << round << " " << pass;
                    ASSERT_EQ(joiner.Done(), reference.done_) << merge << " " << perPass << " " << round << " " << pass;
                }
            }
}

// A piece is finished when both its ends lie above the limit row; then a
// chain of one segment is dropped and a hatch stroke kept.
TEST(LineJoinerTest, PiecesWhollyAboveTheLimitRetire)
{
    for (const bool merge : {false, true}) {
        TconnectLines joiner = Joiner(merge);
        joiner.AddSegment({0, 0}, {5, 5});
        joiner.AddSegment({5, 5}, {9, 3});   // joins the first: both ends above 6
        joiner.AddSegment({20, 1}, {24, 4}); // alone, above 6
        joiner.AddSegment({30, 2}, {30, 6}); // reaches the limit row: stays open
        joiner.Join(6);
        EXPECT_EQ(joiner.Open(), std::vector<Points>({{{30, 2}, {30, 6}}})) << merge;
        if (merge)
            EXPECT_EQ(joiner.Done(), std::vector<Points>({{{0, 0}, {9, 3}}, {{20, 1}, {24, 4}}}));
        else
            EXPECT_EQ(joiner.Done(), std::vector<Points>({{{0, 0}, {5, 5}, {9, 3}}}));
    }
}

TEST(LineJoinerTest, CollectDrawsEveryFinishedPieceOnTheChosenCanvases)
{
    const std::string pen = "polyline pen(000000 1 solid copy) ";
    struct Case {
        bool Merge;
        bool SkipMain;
        bool OnSecond;
        Lines Main;
        Lines Trace;
    };
    const Lines chained = {pen + "0,0 5,5 9,3"};
    const Lines merged = {pen + "0,0 9,3", pen + "20,1 24,4"};
    const Case cases[] = {
        {false, false, false, chained, {}},
        {false, true, true, {}, chained},
        {true, false, true, merged, merged},
    };
    for (const Case& c : cases) {
        TRecorder main;
        TRecorder trace;
        TconnectLines joiner = Joiner(c.Merge, &main.Canvas, &trace.Canvas, c.SkipMain, c.OnSecond);
        joiner.AddSegment({0, 0}, {5, 5});
        joiner.AddSegment({5, 5}, {9, 3});
        joiner.Join(0); // joined, nothing retired
        joiner.AddSegment({20, 1}, {24, 4});
        joiner.Collect();
        EXPECT_EQ(main.Lines(), c.Main) << c.Merge << c.SkipMain << c.OnSecond;
        EXPECT_EQ(trace.Lines(), c.Trace) << c.Merge << c.SkipMain << c.OnSecond;
        EXPECT_TRUE(joiner.Open().empty());
        EXPECT_TRUE(joiner.Done().empty());
    }
}

// The display during a long scan shows each finished piece once, and the
// open pieces every time.
TEST(LineJoinerTest, IntermediateDrawShowsNewFinishedPiecesAndAllOpenOnes)
{
    TRecorder screen;
    TconnectLines joiner = Joiner(false);
    joiner.AddSegment({0, 0}, {5, 5});
    joiner.AddSegment({5, 5}, {9, 3});
    joiner.AddSegment({40, 8}, {40, 20});
    joiner.Join(7);
    joiner.Draw(screen.Canvas);
    EXPECT_EQ(joiner.DrawnCount(), 1);
    joiner.Draw(screen.Canvas);
    const std::string pen = "polyline pen(000000 1 solid copy) ";
    EXPECT_EQ(screen.Lines(), Lines({pen + "0,0 5,5 9,3", pen + "40,8 40,20", pen + "40,8 40,20"}));
}

} // namespace
