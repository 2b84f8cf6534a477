#include "model/History.h"
#include "model/ProgramState.h"
#include "tests/QtPrinters.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TstringData Snapshot(int n)
{
    TstringData data;
    data.WriteStr(QStringLiteral("Kaviro/win 2.8"));
    data.WriteInt(n);
    return data;
}

int SnapshotNumber(const TstringData& data)
{
    return data.Lines().value(1).toInt();
}

// The histories are large: keep them off the stack.
class HistoryTest : public ::testing::Test {
protected:
    std::unique_ptr<TBackUp> backUp = std::make_unique<TBackUp>();
    std::unique_ptr<TBackUpArea> area = std::make_unique<TBackUpArea>();
};

TEST_F(HistoryTest, SameStringDataComparesEveryLineExactly)
{
    TstringData a = Snapshot(1);
    TstringData b = Snapshot(1);
    EXPECT_TRUE(SameStringData(a, b));
    b.LoadLine();
    b.NextLine(); // the read position does not count
    EXPECT_TRUE(SameStringData(a, b));
    b.WriteStr(QString());
    EXPECT_FALSE(SameStringData(a, b));
    TstringData c;
    c.Assign({QStringLiteral("kaviro/win 2.8"), QStringLiteral("1")});
    EXPECT_FALSE(SameStringData(a, c));
    EXPECT_TRUE(SameStringData(TstringData{}, TstringData{}));
}

TEST_F(HistoryTest, PushingTheSameSnapshotTwiceStoresItOnce)
{
    backUp->Push(Snapshot(1));
    backUp->Push(Snapshot(1));
    EXPECT_EQ(backUp->Count(), 1);
    EXPECT_EQ(backUp->Index(), 1);
    backUp->Push(Snapshot(2));
    backUp->Push(Snapshot(1)); // only the newest entry is compared
    EXPECT_EQ(backUp->Count(), 3);
}

TEST_F(HistoryTest, AFullHistoryDropsItsOldestSnapshot)
{
    for (int n = 1; n <= 51; ++n)
        backUp->Push(Snapshot(n));
    EXPECT_EQ(backUp->Count(), 50);
    EXPECT_EQ(backUp->Index(), 50);
    EXPECT_EQ(SnapshotNumber(backUp->Item(0)), 2);
    EXPECT_EQ(SnapshotNumber(backUp->Item(49)), 51);

    for (int n = 52; n <= 120; ++n)
        backUp->Push(Snapshot(n));
    EXPECT_EQ(SnapshotNumber(backUp->Item(0)), 71);
    TstringData target;
    ASSERT_TRUE(backUp->Undo(target));
    EXPECT_EQ(SnapshotNumber(target), 120);
}

TEST_F(HistoryTest, UndoAndRedoWalkTheSnapshots)
{
    TstringData target = Snapshot(99);
    EXPECT_FALSE(backUp->Undo(target));
    EXPECT_EQ(SnapshotNumber(target), 99);

    backUp->Push(Snapshot(1));
    EXPECT_FALSE(backUp->IsAtStart());
    ASSERT_TRUE(backUp->Undo(target));
    EXPECT_EQ(SnapshotNumber(target), 1);
    EXPECT_EQ(backUp->Index(), 0);
    EXPECT_TRUE(backUp->IsAtStart());
    EXPECT_FALSE(backUp->Undo(target));

    backUp->Push(Snapshot(1));
    backUp->Push(Snapshot(2));
    backUp->Push(Snapshot(3));
    backUp->Undo(target);
    backUp->Undo(target);
    EXPECT_EQ(SnapshotNumber(target), 2);
    EXPECT_TRUE(backUp->CanRedo());
    ASSERT_TRUE(backUp->Redo(target));
    EXPECT_EQ(SnapshotNumber(target), 3);
    EXPECT_FALSE(backUp->CanRedo());
    EXPECT_FALSE(backUp->Redo(target));

    // The target is read from its first line again.
    target.LoadLine();
    EXPECT_EQ(target.Line, QStringLiteral("Kaviro/win 2.8"));
}

TEST_F(HistoryTest, APushAfterAnUndoDropsTheRedoSide)
{
    TstringData target;
    for (int n = 1; n <= 4; ++n)
        backUp->Push(Snapshot(n));
    backUp->Undo(target);
    backUp->Undo(target);
    ASSERT_TRUE(backUp->CanRedo());
    backUp->Push(Snapshot(7));
    EXPECT_FALSE(backUp->CanRedo());
    EXPECT_EQ(backUp->Count(), 3);
    EXPECT_EQ(SnapshotNumber(backUp->Item(2)), 7);

    // After undoing, the entry behind the current one is the one compared.
    backUp->Undo(target);
    backUp->Undo(target);
    EXPECT_EQ(SnapshotNumber(target), 2);
    backUp->Push(Snapshot(1));
    EXPECT_TRUE(backUp->CanRedo());
    EXPECT_EQ(backUp->Count(), 3);

    backUp->Clear();
    EXPECT_EQ(backUp->Count(), 0);
    EXPECT_TRUE(backUp->IsAtStart());
    EXPECT_EQ(backUp->Item(0).Count(), 0);
}

TAreaView View(long double xHigh, int divisions = 10)
{
    TAreaView v;
    v.XLow = -xHigh;
    v.XHigh = xHigh;
    v.YLow = -5.0L;
    v.YHigh = 5.0L;
    v.XVHigh = 400;
    v.YVHigh = 400;
    v.XNumber = divisions;
    v.YNumber = divisions;
    return v;
}

TEST_F(HistoryTest, ViewsThatDifferOnlyInDivisionsOrScaleFlagAreOneView)
{
    area->Push(View(5.0L, 10));
    TAreaView same = View(5.0L, 20);
    same.SquareQ = 1;
    area->Push(same);
    EXPECT_EQ(area->Count(), 1);

    TAreaView wider = View(5.0L);
    wider.XVHigh = 500;
    area->Push(wider);
    area->Push(View(6.0L));
    EXPECT_EQ(area->Count(), 3);
}

TEST_F(HistoryTest, ViewHistoryWalksBackAndForwardAndDropsItsOldest)
{
    for (int n = 1; n <= 201; ++n)
        area->Push(View(n));
    EXPECT_EQ(area->Count(), 200);
    EXPECT_EQ(area->Index(), 200);
    EXPECT_EQ(area->Item(0).XHigh, 2.0L);

    TAreaView v;
    ASSERT_TRUE(area->Back(v));
    EXPECT_EQ(v, View(201.0L));
    ASSERT_TRUE(area->Back(v));
    EXPECT_EQ(v.XHigh, 200.0L);
    EXPECT_TRUE(area->CanForward());
    ASSERT_TRUE(area->Forward(v));
    EXPECT_EQ(v.XHigh, 201.0L);
    EXPECT_FALSE(area->Forward(v));

    area->Clear();
    EXPECT_TRUE(area->IsAtStart());
    EXPECT_FALSE(area->Back(v));
    EXPECT_EQ(v.XHigh, 201.0L);
}

TEST(IsNothingToSaveTest, OnlyAModifiedDocumentWithAMovedHistoryNeedsSaving)
{
    struct Case {
        bool modified;
        bool undoMoved;
        bool viewMoved;
        bool nothingToSave;
    };
    const Case cases[] = {
        {true, false, false, true},
        {false, true, true, true},
        {true, true, false, false},
        {true, false, true, false},
    };
    for (const Case& c : cases) {
        BackUp.Clear();
        BackUpArea.Clear();
        if (c.undoMoved)
            BackUp.Push(Snapshot(1));
        if (c.viewMoved)
            BackUpArea.Push(View(5.0L));
        ProgramState.Modified = c.modified ? 1 : 0;
        EXPECT_EQ(IsNothingToSave(), c.nothingToSave)
            << c.modified << c.undoMoved << c.viewMoved;
    }
    BackUp.Clear();
    BackUpArea.Clear();
    ProgramState.Modified = 0;
}

} // namespace
