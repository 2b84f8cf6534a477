#include "model/DocumentState.h"
#include "model/GlobalResets.h"
#include "model/History.h"
#include "model/LineCodec.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "model/Settings.h"
#include "model/ViewRange.h"
#include "tests/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

int testResets = 0;

TEST(GlobalResetsTest, EveryModelTableReturnsToItsStartUpValues)
{
    Separators.DecimalChar = u',';
    Options.AngleMode = 2;
    ColorScheme.Monochrome = true;
    ProgramState.Magnification = 16;
    ProgramSettings.PrintSize = 10;
    ViewRange.XLow = -100.0L;
    DocumentTables.Params[1].Value = 42.0L;
    DocumentTables.Points[3].Pos.Text = QStringLiteral("(1,2)");
    BackUpArea.Push(TAreaView{});
    TstringData lines;
    lines.Add(QStringLiteral("a"));
    BackUp.Push(lines);
    ProjectData = lines;

    ResetAllGlobals();

    EXPECT_EQ(Separators.DecimalChar, u'.');
    EXPECT_EQ(Options.AngleMode, TDocumentOptions{}.AngleMode);
    EXPECT_FALSE(ColorScheme.Monochrome);
    EXPECT_EQ(ProgramState.Magnification, 1);
    EXPECT_EQ(ProgramSettings, TStoredSettings{});
    EXPECT_EQ(ViewRange.XLow, -5.0L);
    EXPECT_EQ(DocumentTables.Params[1].Value, 1.0L);
    EXPECT_TRUE(DocumentTables.Points[3].Pos.Text.isEmpty());
    EXPECT_EQ(BackUp.Count(), 0);
    EXPECT_EQ(BackUpArea.Count(), 0);
    EXPECT_EQ(ProjectData.Count(), 0);
}

TEST(GlobalResetsTest, ARegisteredNameIsReplacedInItsPlace)
{
    const QStringList before = RegisteredResetNames();
    ASSERT_FALSE(before.isEmpty());
    EXPECT_EQ(before.first(), QStringLiteral("separators"));
    EXPECT_TRUE(before.contains(QStringLiteral("document")));

    RegisterReset(QStringLiteral("test counter"), [] { testResets += 100; });
    RegisterReset(QStringLiteral("test counter"), [] { ++testResets; });
    RegisterModelResets(); // again: nothing moves
    EXPECT_EQ(RegisteredResetNames(), before + QStringList{QStringLiteral("test counter")});
    testResets = 0;
    ResetAllGlobals();
    EXPECT_EQ(testResets, 1);
}

} // namespace
