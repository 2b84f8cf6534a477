#include "model/Figures.h"

#include <gtest/gtest.h>

namespace {

Tsegment Figure(std::uint8_t kind, std::initializer_list<std::uint8_t> vertices, TColor color = 0x0000FF)
{
    Tsegment f;
    f.Kind = kind;
    int i = 1;
    for (std::uint8_t v : vertices)
        f.Vertices[i++] = v;
    f.Color = color;
    return f;
}

TSegments ListOf(std::initializer_list<Tsegment> figures)
{
    TSegments list;
    for (const Tsegment& f : figures)
        list.Data.Items[++list.Data.Count] = f;
    return list;
}

TEST(FigureListTest, AppendFillsThirtySlotsWithNewSegmentsThenRefuses)
{
    TSegments list;
    for (int s = 1; s <= SegmentCount; ++s)
        ASSERT_TRUE(list.Append(1, 2, 0x00FF00, 3, 2));
    const TSegmentData full = list.Data;
    EXPECT_FALSE(list.Append(3, 4, 0x00FF00, 3, 2));
    EXPECT_EQ(list.Data, full);

    const Tsegment& f = list.Data.Items[SegmentCount];
    EXPECT_EQ(f.Kind, FigureSegment);
    EXPECT_EQ(f.Vertices[1], 1);
    EXPECT_EQ(f.Vertices[2], 2);
    EXPECT_EQ(f.Vertices[3], 0);
    EXPECT_EQ(f.Color, 0x00FF00u);
    EXPECT_EQ(f.Width, 3);
    EXPECT_EQ(f.LineStyle, 2);
    EXPECT_EQ(f.InsideColor, ColorWhite);
    EXPECT_EQ(f.Pattern, 1);
    EXPECT_EQ(f.AfterImage, 0);
    EXPECT_EQ(f.Shown, 1);
    EXPECT_TRUE(f.Label.isEmpty());
}

TEST(FigureListTest, RemoveMovesTheLaterFiguresDownAndIgnoresNumbersOutsideTheList)
{
    TSegments list = ListOf({Figure(1, {1, 2}, 1), Figure(2, {2, 3}, 2), Figure(3, {3, 4}, 3), Figure(5, {4, 5}, 4),
                             Figure(9, {5, 6}, 5)});
    const TSegmentData before = list.Data;
    for (int s : {0, -1, 6, 31})
        EXPECT_FALSE(list.Remove(s));
    EXPECT_EQ(list.Data, before);

    ASSERT_TRUE(list.Remove(3));
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Data.Items[3], before.Items[4]);
    EXPECT_EQ(list.Data.Items[4], before.Items[5]);
    EXPECT_EQ(list.Data.Items[2], before.Items[2]);
    EXPECT_EQ(list.GetItem(5).Kind, FigureNone); // beyond the list
    EXPECT_EQ(list.GetItem(0).Kind, FigureNone);
    EXPECT_EQ(list.GetItem(4), before.Items[5]);
}

TEST(FigureListTest, FindLastUsingReturnsTheHighestFigureWithTheVertex)
{
    const TSegments list = ListOf({Figure(1, {1, 2}), Figure(7, {2, 3, 4, 5}), Figure(1, {AxisXObject, 3})});
    EXPECT_EQ(list.FindLastUsing(2), 2);
    EXPECT_EQ(list.FindLastUsing(3), 3);
    EXPECT_EQ(list.FindLastUsing(1), 1);
    EXPECT_EQ(list.FindLastUsing(AxisXObject), 3);
    EXPECT_EQ(list.FindLastUsing(9), 0);
    EXPECT_EQ(list.FindLastUsing(0), 0); // an empty vertex is no object
}

TEST(FigureListTest, UsedVertexCountFollowsTheKind)
{
    struct Case {
        Tsegment F;
        int Used;
    };
    const Case cases[] = {
        {Figure(FigureSegment, {1, 2, 3}), 2},
        {Figure(FigureBrace, {1, 2}), 2},
        {Figure(FigureAngle, {1, 2, 3, 4}), 3},
        {Figure(FigureRightAngle, {1, 2}), 3}, // the missing third vertex makes it undrawable
        {Figure(FigurePolygon, {1, 2, 3, 4, 5}), 5},
        {Figure(FigurePolyline, {1, 2, 0, 4}), 3}, // vertices after an empty one are not used
        {Figure(FigureBezier, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}), 11},
        {Figure(4, {1, 2}), 0},
        {Figure(FigureNone, {1, 2}), 0},
        {Figure(14, {1, 2}), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UsedVertexCount(c.F), c.Used) << int(c.F.Kind);
}

TEST(FigureListTest, VertexNumbersAreObjectsAndTheTwoAxes)
{
    for (int v : {1, 22, 250, 251})
        EXPECT_TRUE(IsVertexNumber(v)) << v;
    for (int v : {0, 23, 249, 252, 255})
        EXPECT_FALSE(IsVertexNumber(v)) << v;
}

TEST(FigureListTest, ColoursShiftDownAndTheLastTurnsWhite)
{
    TFigureColours colours;
    for (int s = 1; s <= SegmentCount; ++s)
        colours[s] = static_cast<TColor>(s);
    ShiftFigureColoursDown(colours, 3);
    EXPECT_EQ(colours[2], 2u);
    EXPECT_EQ(colours[3], 4u);
    EXPECT_EQ(colours[29], 30u);
    EXPECT_EQ(colours[30], NoTraceColor);
    const TFigureColours before = colours;
    ShiftFigureColoursDown(colours, 0);
    ShiftFigureColoursDown(colours, 31);
    EXPECT_EQ(colours, before);
}

TEST(FigureListTest, TraceColoursOfARecordDecideWhichFiguresLeaveATrace)
{
    TSegments list = ListOf({Figure(1, {1, 2}), Figure(1, {2, 3})});
    TFigureColours colours = TFigureColours::filledWith(NoTraceColor);
    TFigureColours fills = TFigureColours::filledWith(NoTraceColor);
    colours[2] = 0x123456;
    fills[2] = 0x00FF00;
    list.TakeTraceColours(colours, fills);
    EXPECT_EQ(list.Data.Items[1].AfterImage, 0);
    EXPECT_EQ(list.Data.Items[2].AfterImage, 1);
    EXPECT_EQ(list.Data.Items[2].Color, 0x123456u);
    EXPECT_EQ(list.Data.Items[2].InsideColor, 0x00FF00u);
}

} // namespace
