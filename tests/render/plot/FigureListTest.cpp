// Edits of the document's figure list: adding, deleting and storing, with
// their undo points, trace colours and redraws.
#include "model/Figures.h"
#include "model/ProgramState.h"
#include "platform/MessageSink.h"
#include "platform/fakes/RecordingMessageSink.h"
#include "render/plot/Figures.h"
#include "render/plot/fakes/CountingFigureServices.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"
#include "render/view/fakes/CountingViewServices.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

class FigureListEditTest : public ::testing::Test {
protected:
    CountingUndoPoints undo;
    ScopedUndoPoints useUndo{undo};
    RecordingFigureTraces traces;
    ScopedFigureTraces useTraces{traces};
    CountingRedrawer redrawer;
    ScopedRedrawer useRedrawer{redrawer};
    platform::RecordingMessageSink messages;
    platform::ScopedMessageSink useMessages{messages};

    // Five segments with distinct colours and fills, drawn and traced.
    void PutFive()
    {
        for (int s = 1; s <= 5; ++s) {
            Segments.Append(s, s + 1, static_cast<TColor>(s), 2, 1);
            Segments.Data.Items[s].InsideColor = static_cast<TColor>(100 + s);
            SegmentColors[s] = static_cast<TColor>(s);
            SegmentColors2[s] = static_cast<TColor>(100 + s);
            traces.Colours[s] = static_cast<TColor>(s);
            traces.Fills[s] = static_cast<TColor>(100 + s);
        }
    }
};

TEST_F(FigureListEditTest, TheThirtyFirstFigureIsRefusedWithAMessageAndChangesNothing)
{
    for (int s = 1; s <= SegmentCount; ++s)
        ASSERT_EQ(AddFigure(1, 2), s);
    EXPECT_EQ(undo.Saved, SegmentCount);
    EXPECT_TRUE(messages.empty());
    const TSegmentData full = Segments.Data;

    EXPECT_EQ(AddFigure(3, 4), 0);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.last().text, QStringLiteral("Mais segmentos não podem ser adicionados."));
    EXPECT_EQ(messages.last().kind, 0);
    EXPECT_EQ(Segments.Data, full);
    EXPECT_EQ(undo.Saved, SegmentCount); // not even the undo history
}

TEST_F(FigureListEditTest, ANewSegmentTakesTheStyleOfNewFiguresAndIsDrawnAtOnce)
{
    ProgramState.DefaultSegmentStyle = {.ColorNo1 = 0x0000FF, .Width = 1, .LineStyle = 1};
    Segments.States[1] = TPointState{.Kind = 1, .X = -2.5L, .Y = 2.5L}; // pixel (100, 100)
    Segments.States[2] = TPointState{.Kind = 1, .X = 0.0L, .Y = 2.5L};  // pixel (200, 100)
    TBitmap& graph = GraphScale.GraphImages[0];
    graph.SetSize(401, 401);
    ASSERT_EQ(AddFigure(1, 2), 1);
    const Tsegment& f = Segments.Data.Items[1];
    EXPECT_EQ(f.Color, 0x0000FFu);
    EXPECT_EQ(f.Width, 1);
    EXPECT_EQ(graph.Image().pixel(150, 100), QColor(Qt::red).rgb());
    EXPECT_EQ(graph.Image().pixel(150, 110), QColor(Qt::white).rgb());
    EXPECT_EQ(redrawer.Redraws, 0); // no full redraw
    graph.SetSize(0, 0);
}

TEST_F(FigureListEditTest, DeletingFigureThreeOfFiveMovesTheLaterOnesWithAllTheirColours)
{
    PutFive();
    const TSegmentData before = Segments.Data;
    DeleteFigure(3, true);
    EXPECT_EQ(undo.Saved, 1);
    ASSERT_EQ(Segments.Count(), 4);
    EXPECT_EQ(Segments.Data.Items[2], before.Items[2]);
    EXPECT_EQ(Segments.Data.Items[3], before.Items[4]);
    EXPECT_EQ(Segments.Data.Items[4], before.Items[5]);
    // Last drawn colours, trace colours and fill colours move together.
    for (const TFigureColours* colours : {&SegmentColors, &traces.Colours}) {
        EXPECT_EQ((*colours)[2], 2u);
        EXPECT_EQ((*colours)[3], 4u);
        EXPECT_EQ((*colours)[4], 5u);
        EXPECT_EQ((*colours)[5], NoTraceColor);
    }
    for (const TFigureColours* fills : {&SegmentColors2, &traces.Fills}) {
        EXPECT_EQ((*fills)[2], 102u);
        EXPECT_EQ((*fills)[3], 104u);
        EXPECT_EQ((*fills)[4], 105u);
        EXPECT_EQ((*fills)[5], NoTraceColor);
    }
    EXPECT_EQ(traces.Deleted, std::vector<int>{3});

    DeleteFigure(1, false);
    EXPECT_EQ(undo.Saved, 1); // no undo point asked for
    EXPECT_EQ(Segments.Count(), 3);
}

TEST_F(FigureListEditTest, DeletingANumberOutsideTheListDoesNothing)
{
    PutFive();
    const TSegmentData before = Segments.Data;
    const TFigureColours colours = SegmentColors;
    for (int s : {0, -1, 6, 30, 31}) {
        DeleteFigure(s, true);
        DeleteFigureAndRedraw(s, true);
    }
    EXPECT_EQ(Segments.Data, before);
    EXPECT_EQ(SegmentColors, colours);
    EXPECT_EQ(undo.Saved, 0);
    EXPECT_TRUE(traces.Deleted.empty());
}

TEST_F(FigureListEditTest, DeleteAndSetRedrawTheGraph)
{
    PutFive();
    ClearRedrawState();
    DeleteFigureAndRedraw(2, true);
    EXPECT_EQ(Segments.Count(), 4);
    EXPECT_TRUE(IsDirtyObjects());
    EXPECT_EQ(redrawer.Redraws, 1);
    EXPECT_EQ(redrawer.LastImages, &GraphScale.GraphImages);

    ClearRedrawState();
    Tsegment changed = Segments.GetItem(4);
    changed.Kind = FigureLine;
    SetFigure(4, changed);
    EXPECT_EQ(Segments.GetItem(4), changed);
    EXPECT_TRUE(IsDirtyObjects());
    EXPECT_EQ(redrawer.Redraws, 2);

    const TSegmentData before = Segments.Data;
    SetFigure(5, changed); // beyond the list
    EXPECT_EQ(Segments.Data, before);
    EXPECT_EQ(undo.Saved, 1);
}

} // namespace
