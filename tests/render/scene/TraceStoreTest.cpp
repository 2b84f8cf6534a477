// The trace store: the ring, what a record keeps, the mouse read-out of a
// trace and the erasing of traces.
#include "SceneTestKit.h"
#include "render/plot/Figures.h"
#include "render/plot/Functions.h"
#include "render/plot/Objects.h"
#include "render/scene/TraceRecording.h"
#include "render/scene/TraceStore.h"

namespace {

class TraceStoreTest : public SceneTest {
protected:
    TBpnt& store = TraceStore;
    TPointStates states;
    TTraceColors colors;

    static TPointState Point(long double x, long double y, bool traced)
    {
        TPointState s;
        s.Kind = ObjectPoint;
        s.X = x;
        s.Y = y;
        s.PointAImg = traced ? 1 : 0;
        return s;
    }
    // Object P traced at (x, 0).
    void PushTracedP(long double x)
    {
        states[1] = Point(x, 0.0L, true);
        store.Push(states, colors, DocumentTables.Params);
    }
    // Every record from the base record to the newest, as a replay reads them.
    std::vector<TTraceRecord> ReadAll()
    {
        std::vector<TTraceRecord> records;
        store.ResetCursor();
        do
            records.push_back(store.ReadNext());
        while (!store.AtEnd());
        return records;
    }
};

TEST_F(TraceStoreTest, TheRingKeepsTheNewest3000Records)
{
    struct Case {
        int Pushes, Head, Tail, Read;
    };
    for (const Case c : {Case{1, 2, 1, 2}, Case{2999, 3000, 1, 3000}, Case{3000, 1, 2, 3000}, Case{3001, 2, 3, 3000},
                         Case{6005, 6005 % 3000 + 1, 6005 % 3000 + 2, 3000}}) {
        SCOPED_TRACE(c.Pushes);
        store.Clear();
        for (int i = 1; i <= c.Pushes; ++i)
            PushTracedP(i);
        EXPECT_EQ(store.Head(), c.Head);
        EXPECT_EQ(store.Tail(), c.Tail);
        const std::vector<TTraceRecord> records = ReadAll();
        ASSERT_EQ(static_cast<int>(records.size()), c.Read);
        EXPECT_EQ(store.RecordCount(), c.Read);
        // Oldest first, the newest last; an unfilled ring starts with its base record.
        EXPECT_EQ(records.back().States[1].X, c.Pushes);
        if (c.Pushes >= TBpnt::Size)
            EXPECT_EQ(records.front().States[1].X, c.Pushes - TBpnt::Size + 1);
        else
            EXPECT_EQ(records.front().States[1].Kind, ObjectEmpty);
    }
    EXPECT_EQ(TBpnt::Advance(3000), 1);
    EXPECT_EQ(TBpnt::Advance(1), 2);
}

TEST_F(TraceStoreTest, NothingIsRecordedUntilSomethingIsTracedAndOneRecordEndsTheTraces)
{
    states[1] = Point(1.0L, 1.0L, false);
    for (int i = 0; i < 10; ++i)
        store.Push(states, colors, DocumentTables.Params);
    EXPECT_TRUE(store.IsEmpty());
    EXPECT_FALSE(store.HasRecords());

    PushTracedP(1.0L);
    states[1].PointAImg = 0;
    store.Push(states, colors, DocumentTables.Params);
    store.Push(states, colors, DocumentTables.Params);
    EXPECT_EQ(store.RecordCount(), 3); // base, traced, the end of the traces
    EXPECT_FALSE(store.Traced());

    // A trace colour alone is something traced.
    colors.Functions[4] = 0x00FF00;
    store.Push(states, colors, DocumentTables.Params);
    EXPECT_EQ(store.RecordCount(), 4);
    EXPECT_TRUE(store.Traced());
}

TEST_F(TraceStoreTest, OnlyTracedObjectsAndWhatTracedThingsReadKeepAState)
{
    SetFunction(1, "Q.x·x");
    SetFormula(3, DocumentTables.Points[3].X, "S.x+1");
    Segments.Data.Count = 1;
    Tsegment& figure = Segments.Data.Items[1];
    figure.Kind = FigureSegment;
    figure.Vertices[1] = 5; // T
    figure.Vertices[2] = 6; // U
    struct Case {
        const char* What;
        int Object;
        TPointState State;
        bool Traced;
    };
    TPointState withPath = Point(0, 0, false);
    withPath.LocusWidth = 2;
    TPointState undefinedTracedFigureEnd;
    const auto traceAll = [&](bool on) {
        DocumentTables.Functions[1].AfterImage = on;
        DocumentTables.Points[3].PointAImg = on;
        figure.AfterImage = on;
    };
    for (const bool on : {false, true}) {
        traceAll(on);
        for (const Case& c : {Case{"its own trace", 1, Point(0, 0, true), true},
                              Case{"a path", 1, withPath, true},
                              Case{"untraced", 2, Point(0, 0, false), on},     // read by the traced function
                              Case{"read by a traced object", 4, Point(0, 0, false), on},
                              Case{"a traced figure's vertex", 5, Point(0, 0, false), on},
                              Case{"an undefined figure vertex", 6, undefinedTracedFigureEnd, false},
                              Case{"nothing traced reads it", 7, Point(0, 0, false), false}}) {
            SCOPED_TRACE(std::string(c.What) + (on ? " (traced readers)" : ""));
            TPointStates s;
            s[c.Object] = c.State;
            EXPECT_EQ(TracedObjects(s)[static_cast<size_t>(c.Object)], c.Traced);
        }
    }
    // A record holds states of the traced objects only.
    states[1] = Point(1.0L, 2.0L, true);
    states[7] = Point(3.0L, 4.0L, false);
    store.Push(states, colors, DocumentTables.Params);
    const std::vector<TTraceRecord> records = ReadAll();
    EXPECT_EQ(records.back().States[1].Y, 2.0L);
    EXPECT_EQ(records.back().States[7].Kind, ObjectEmpty);
}

TEST_F(TraceStoreTest, ARecordWhileTheScaleChangedKeepsNoColours)
{
    FunctionColors[2] = 0x00FF00;
    PointColors[5] = 0x0000FF;
    states[1] = Point(0, 0, true);
    PushTraceRecord(store, states, DocumentTables.Params);
    SetDirtyScale();
    PushTraceRecord(store, states, DocumentTables.Params);
    const std::vector<TTraceRecord> records = ReadAll();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1].Colors.Functions[2], 0x00FF00u);
    EXPECT_EQ(records[1].Colors.Points[5], 0x0000FFu);
    EXPECT_EQ(records[2].Colors, TTraceColors{});
    EXPECT_EQ(records[2].States[1].Kind, ObjectPoint);
}

TEST_F(TraceStoreTest, ErasingAFunctionsTraceLeavesTheOthers)
{
    for (int i = 1; i <= FunctionCount; ++i)
        colors.Functions[i] = static_cast<TColor>(i);
    for (int r = 0; r < 5; ++r)
        PushTracedP(r);
    ClearRedrawState();
    store.EraseYfxTrace(3);
    EXPECT_TRUE(IsDirtyTraces());
    const std::vector<TTraceRecord> records = ReadAll();
    for (size_t r = 1; r < records.size(); ++r)
        for (int i = 1; i <= FunctionCount; ++i)
            EXPECT_EQ(records[r].Colors.Functions[i], i == 3 ? NoTraceColor : static_cast<TColor>(i));

    // Nothing left to erase: the trace layer is not rebuilt for it.
    ClearRedrawState();
    store.EraseYfxTrace(3);
    store.EraseCfnTrace(2);
    store.EraseSegmentTrace(30);
    store.EraseYfxTrace(21);
    EXPECT_FALSE(IsDirtyTraces());
}

TEST_F(TraceStoreTest, ErasingAPointsTraceErasesWhatReadsIt)
{
    SetFunction(2, "P.y+x");
    SetFunction(3, "x");
    SetFormula(4, DocumentTables.Points[4].X, "P.x");
    colors.Functions[2] = 0x11;
    colors.Functions[3] = 0x22;
    colors.Points[4] = 0x33;
    colors.Points[1] = 0x44;
    PushTracedP(1.0L);
    states[1] = TPointState{}; // P not recorded: what reads it keeps its trace here
    DocumentTables.Functions[3].AfterImage = 1;
    store.Push(states, colors, DocumentTables.Params);
    store.ErasePointTrace(1);
    const std::vector<TTraceRecord> records = ReadAll();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1].States[1].Kind, ObjectEmpty);
    EXPECT_EQ(records[1].Colors.Functions[2], NoTraceColor);
    EXPECT_EQ(records[1].Colors.Points[4], NoTraceColor);
    EXPECT_EQ(records[1].Colors.Functions[3], 0x22u);
    EXPECT_EQ(records[2].Colors.Functions[2], 0x11u);
    // P's own curve colours go from every record.
    EXPECT_EQ(records[1].Colors.Points[1], NoTraceColor);
    EXPECT_EQ(records[2].Colors.Points[1], NoTraceColor);

    // Erasing by a name: everything that reads parameter a.
    SetFunction(5, "a·x");
    colors.Functions[5] = 0x55;
    store.Push(states, colors, DocumentTables.Params);
    store.EraseTracesUsing(Token("a"));
    EXPECT_EQ(ReadAll().back().Colors.Functions[5], NoTraceColor);
    EXPECT_EQ(ReadAll().back().Colors.Functions[3], 0x22u);
}

TEST_F(TraceStoreTest, DeletingAFigureMovesTheLaterFiguresColoursAndFillsDown)
{
    for (int s = 1; s <= SegmentCount; ++s) {
        colors.Figures[s] = static_cast<TColor>(s);
        colors.FigureFills[s] = static_cast<TColor>(100 + s);
    }
    PushTracedP(0);
    store.DeleteSegment(3);
    const TTraceColors c = ReadAll().back().Colors;
    EXPECT_EQ(c.Figures[2], 2u);
    EXPECT_EQ(c.Figures[3], 4u);
    EXPECT_EQ(c.FigureFills[3], 104u);
    EXPECT_EQ(c.Figures[29], 30u);
    EXPECT_EQ(c.Figures[30], NoTraceColor);
    EXPECT_EQ(c.FigureFills[30], NoTraceColor);
}

TEST_F(TraceStoreTest, TheMouseFindsTheOldestRecordedDraggablePointWithinThreePixels)
{
    TPointFunction& p = DocumentTables.Points[1];
    p.Kind = ObjectPoint;
    p.Draggable = 1;
    // (1, 1) is pixel (240, 160) on −5..5 over 400 × 400.
    PushTracedP(1.0L);
    states[1] = Point(1.0L, 1.0L, true);
    store.Push(states, colors, DocumentTables.Params);
    store.Push(states, colors, DocumentTables.Params);
    const TViewMapping mapping = view.Mapping();
    struct Case {
        int Px, Py, Object;
    };
    for (const Case c : {Case{243, 160, 1}, Case{240, 157, 1}, Case{237, 163, 1}, Case{244, 160, 0}, Case{240, 156, 0},
                         Case{238, 201, 1}}) {
        SCOPED_TRACE(testing::Message() << c.Px << "," << c.Py);
        EXPECT_EQ(store.FindSnapshotAt(mapping, c.Px, c.Py).Object, c.Object);
    }
    const TSnapshotHit hit = store.FindSnapshotAt(mapping, 241, 161);
    EXPECT_EQ(hit.X, 1.0L);
    EXPECT_EQ(hit.Y, 1.0L);
    // Where two records are near, the older one answers: (1, 0.05) is pixel (240, 198).
    states[1] = Point(1.0L, 0.05L, true);
    store.Push(states, colors, DocumentTables.Params);
    EXPECT_EQ(store.FindSnapshotAt(mapping, 240, 198).Y, 0.0L);
    p.Draggable = 0;
    EXPECT_EQ(store.FindSnapshotAt(mapping, 240, 160).Object, 0);
    p.Draggable = 1;
    p.Shown = 0;
    EXPECT_EQ(store.FindSnapshotAt(mapping, 240, 160).Object, 0);
}

TEST_F(TraceStoreTest, ClearingEmptiesTheStoreAndTheBaseRecordTracesNothing)
{
    colors.Functions[1] = 0x123456;
    for (int i = 0; i < 3001; ++i)
        PushTracedP(i);
    store.Clear();
    EXPECT_TRUE(store.IsEmpty());
    EXPECT_EQ(store.Head(), 1);
    EXPECT_EQ(store.Tail(), 1);
    const std::vector<TTraceRecord> records = ReadAll();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_FALSE(records[0].Colors.AnyTraced());
    EXPECT_EQ(records[0].States[1].Kind, ObjectEmpty);
}

TEST_F(TraceStoreTest, ATraceStepRecordsEverythingInItsColours)
{
    SetFunction(1, "x");
    DocumentTables.Functions[1].Color = 0x0000FF;
    Segments.Data.Count = 1;
    Segments.Data.Items[1].Color = 0x00FF00;
    Segments.Data.Items[1].InsideColor = 0x00FFFF;
    view.PointStates[2] = Point(1.0L, 1.0L, false);
    PointColors[3] = 0x333333;
    PushAllTraced(view);
    const TTraceRecord record = ReadAll().back();
    EXPECT_EQ(record.Colors.Functions[1], 0x0000FFu);
    EXPECT_EQ(record.Colors.Figures[1], 0x00FF00u);
    EXPECT_EQ(record.Colors.FigureFills[1], 0x00FFFFu);
    EXPECT_EQ(record.Colors.Figures[2], NoTraceColor);
    EXPECT_EQ(record.Colors.Points[3], 0x333333u);
    EXPECT_EQ(record.States[2].Kind, ObjectPoint);
    EXPECT_EQ(record.States[2].PointAImg, 1);
    EXPECT_EQ(view.PointStates[2].PointAImg, 0); // the view's own states are left
}

} // namespace
