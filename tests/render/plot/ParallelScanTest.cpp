// Relations scanned on several threads: every row and every drawn line as
// on one thread, over a corpus of relations of every drawing method; a
// break key held stops a scan on all of them.
#include "PlotTestKit.h"
#include "RelationsTestKit.h"
#include "engine/Evaluator.h"
#include "engine/ParallelWork.h"
#include "model/Options.h"
#include "platform/fakes/FakeInputState.h"
#include "render/plot/RelationPlot.h"
#include "render/plot/Relations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// Equations and inequalities of every method, pieces joined by and and or,
// parameters, user functions, objects, binders, derivatives, domains with
// holes, and chance (which stays on one thread).
const char* const RelationCorpus[] = {
    "x*y^2-sin(x+y)=1",
    "sin(x*y)=0",
    "x^2+y^2=4",
    "x^2/9+y^2/4<1",
    "x^3+y^3=3x*y",
    "y>x^2-a",
    "x·y=1",
    "x^2-y^2>1 and y<2",
    "x<0 or y<0",
    "0<y<x",
    "sqrt(x)+sqrt(y)=2",
    "ln(x·y)>0",
    "abs(x)+abs(y)<=3",
    "y=tan(x)",
    "f(x,y)=1",
    "g(x)>y",
    "Sum(k,1,5,sin(k·x)/k)=y",
    "f'(x,y)=y",
    "P.x·x+y=b",
    "x mod 2=y",
    "int(x)=int(y)",
    "(x-a)^2+(y-b)^2<>1",
    "cos(x)·cosh(y)=a",
    "x^y=y^x",
    "rnd(1)·0+x=y",
};

class ParallelScanTest : public RelationsViewTest {
protected:
    void SetUp() override
    {
        RelationsViewTest::SetUp();
        DocumentTables.Params[1].Value = 1.5L;  // a
        DocumentTables.Params[2].Value = -0.5L; // b
        SetUserFunction(1, "x^2+y^2·x/3");
        SetUserFunction(2, "sin(3x)+y");
        TPointFunction& p = DocumentTables.Points[1];
        p.Kind = ObjectPoint;
        p.Pos.Text = QStringLiteral("(1.25, 2)");
        PrepareExpression(p.Pos, 1);
        view.PointStates[1].Kind = ObjectPoint;
        view.PointStates[1].X = 1.25L;
        view.PointStates[1].Y = 2.0L;
    }

    static void SetUserFunction(int slot, const char* text)
    {
        TKavirofunction& f = DocumentTables.UserFunctions[slot];
        f.Text = QString::fromUtf8(text);
        PrepareExpression(f, ModeUserFunction);
    }

    // The relation as drawn straight into a picture, on that many threads.
    std::vector<std::string> Drawn(const TEquationFunction& r, int threads)
    {
        const TScopedWorkerThreads use(threads);
        TRecorder recorder;
        PlotFunction(view, {view.Mapping(1), {&recorder.Canvas, nullptr}, true, {}}, r);
        return recorder.Lines();
    }

    platform::FakeInputState keys;
    platform::ScopedInputState keysInstalled{keys};
};

// A piece scanned straight into a recorded picture and a region.
struct PieceScan {
    PieceScan(ScaleT& view, const TRelationPiece& piece, int magnification)
        : Grid(MakeRelationGrid(view, view.Mapping(magnification)))
        , Rows(Grid, piece.Difference())
    {
        Pens.Main = &Recorder.Canvas;
        Region.Reset(Grid.W, Grid.H);
    }
    // Scans rows width apart; false when broken off.
    bool Run(int width, TTokenCode op) { return ScanPiece(Grid, {&Rows, nullptr, width, true, op, 1}, Pens, Region, {}); }

    TRelationGrid Grid;
    TRelationRows Rows;
    TRecorder Recorder;
    TPiecePens Pens;
    TRegionMask Region;
};

bool SameColumn(const TColumnArray& a, const TColumnArray& b, int c)
{
    const TValue u = a.At(c);
    const TValue v = b.At(c);
    return u.Kind == v.Kind && u.Defined == v.Defined && u.X == v.X && u.Y == v.Y
           && std::signbit(u.X) == std::signbit(v.X) && std::signbit(u.Y) == std::signbit(v.Y);
}

TEST_F(ParallelScanTest, RowsAreTheSameOnOneThreadAndOnSeveral)
{
    const TRelationGrid grid = MakeRelationGrid(view, view.Mapping(1));
    for (const char* text : RelationCorpus) {
        const TRelationPieces split = SplitRelation(SetRelation(1, text));
        ASSERT_FALSE(split.Pieces.empty()) << text;
        for (const TRelationPiece& piece : split.Pieces) {
            TRelationRows rows(grid, piece.Difference());
            const int count = grid.H + 2;
            std::vector<long double> ys;
            std::vector<TColumnArray> alone(static_cast<size_t>(count)), together(static_cast<size_t>(count));
            std::vector<TColumnArray*> outs;
            for (int r = 0; r < count; ++r) {
                ys.push_back(grid.RowY(r));
                rows.EvaluateRelationColumns(ys.back(), alone[static_cast<size_t>(r)]);
                outs.push_back(&together[static_cast<size_t>(r)]);
            }
            const TScopedWorkerThreads five(5);
            ASSERT_TRUE(rows.EvaluateRelationRows(ys, outs)) << text;
            for (int r = 0; r < count; ++r)
                for (int c = -1; c <= grid.W + 1; ++c)
                    ASSERT_TRUE(SameColumn(alone[static_cast<size_t>(r)], together[static_cast<size_t>(r)], c))
                        << text << " row " << r << " column " << c;
        }
    }
}

TEST_F(ParallelScanTest, DrawingsAreTheSameOnOneThreadAndOnSeveral)
{
    struct Setting {
        int ScanWidth;
        bool AutoCalc;
    };
    for (const Setting s : {Setting{1, false}, Setting{4, true}, Setting{3, false}}) {
        Options.ScanWidth = static_cast<std::uint8_t>(s.ScanWidth);
        for (const char* text : RelationCorpus) {
            const TEquationFunction& r = SetRelation(1, text, s.AutoCalc);
            const std::vector<std::string> alone = Drawn(r, 1);
            EXPECT_FALSE(alone.empty()) << text;
            for (int threads : {2, 7})
                EXPECT_EQ(Drawn(r, threads), alone) << text << " on " << threads << " threads, scan width " << s.ScanWidth;
        }
    }
}

// The scan hands rows out in batches and in runs of a few rows, whose seams
// fall elsewhere for every height, scan width and number of threads: the
// contours and the region are the same wherever they fall.
TEST_F(ParallelScanTest, ScansAreTheSameWhereverTheWorkIsSplit)
{
    struct Scanned {
        bool Finished = false;
        std::vector<std::string> Lines;
        std::vector<std::uint8_t> Region;
    };
    const auto scan = [&](const char* text, int width, int threads) {
        const TScopedWorkerThreads use(threads);
        const TRelationPieces split = SplitRelation(SetRelation(1, text, false));
        PieceScan piece(view, split.Pieces[0], 2);
        Scanned s;
        s.Finished = piece.Run(width, split.Pieces[0].Operator);
        s.Lines = piece.Recorder.Lines();
        for (int r = 0; r <= piece.Grid.H + 1; ++r)
            for (int c = 0; c <= piece.Grid.W + 1; ++c)
                s.Region.push_back(piece.Region.At(c, r));
        return s;
    };
    for (const int height : {397, 130, 9}) {
        SetTestView(-5.0L, 5.0L, -4.0L, 4.5L, 301, height);
        for (const char* text : {"x*y^2-sin(x+y)<1", "sin(x*y)>0.2", "ln(x·y)>=0"})
            for (const int width : {1, 2, 5, 8}) {
                const Scanned alone = scan(text, width, 1);
                ASSERT_TRUE(alone.Finished);
                EXPECT_FALSE(alone.Lines.empty()) << text;
                for (const int threads : {3, 8}) {
                    const Scanned together = scan(text, width, threads);
                    const std::string where = std::string(text) + ", height " + std::to_string(height) + ", width "
                                              + std::to_string(width) + ", " + std::to_string(threads) + " threads";
                    EXPECT_TRUE(together.Finished) << where;
                    EXPECT_EQ(together.Lines, alone.Lines) << where;
                    EXPECT_TRUE(together.Region == alone.Region) << where;
                }
            }
    }
}

// Rows over budget end undefined on whichever thread computes them.
TEST_F(ParallelScanTest, RowsOverTheirBudgetAreTheSameOnEveryThread)
{
    EvaluationLimits.WorkBudget = 60;
    const TEquationFunction& r = SetRelation(1, "Sum(k,1,abs(y)·8,k·x)=1", false);
    Options.ScanWidth = 1;
    EXPECT_EQ(Drawn(r, 6), Drawn(r, 1));
}

TEST_F(ParallelScanTest, AHeldBreakKeyStopsTheScanOnEveryThread)
{
    EvaluationLimits.BreakPollInterval = 500;
    const TEquationFunction& r = SetRelation(1, "Sum(k,1,20,sin(k·x))·y=1", false);
    Options.ScanWidth = 1;
    const TRelationPieces split = SplitRelation(r);
    PieceScan piece(view, split.Pieces[0], 1);
    const TScopedWorkerThreads threads(4);
    keys.setKeyDown(platform::VkEscape);
    EXPECT_FALSE(piece.Run(1, 0));
    EXPECT_EQ(LastEvaluationEnd(), TEvaluationEnd::Interrupted);
    keys.releaseAll();
    EXPECT_TRUE(piece.Run(1, 0));
}

} // namespace
