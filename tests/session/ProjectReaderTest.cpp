// Reading project texts of every format version, and the mends of the reader.
#include "SessionTest.h"

#include "session/PanelLayout.h"

#include "engine/Compiler.h"
#include "model/DocumentState.h"
#include "model/Figures.h"
#include "model/ProgramState.h"
#include "render/view/Scale.h"

namespace {

using ProjectReaderTest = SessionTest;

const TDocumentTables& Doc()
{
    return DocumentTables;
}

QString Text(const TKavirofunction& f)
{
    return f.Text;
}

// Write → read → write gives the same text.
void ExpectStableRewrite()
{
    const QStringList first = WrittenLines();
    ASSERT_TRUE(ReadLines(first));
    EXPECT_EQ(WrittenLines(), first);
}

TEST_F(ProjectReaderTest, VersionHeadersOutsideTheRangeAreRefused)
{
    struct Case {
        const char16_t* header;
        bool accepted;
    };
    const Case cases[] = {
        {u"Kaviro/win 1.5", false}, {u"Kaviro/win 2.9", false}, {u"Kaviro/win 3.0", false},
        {u"Kaviro 1.8", false},     {u"Kaviro/win 1.8", true},  {u"Kaviro/win 1.6", true},
    };
    QStringList lines = FixtureLines(QStringLiteral("v18.kvf"));
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.header).toStdString());
        ResetAllGlobals();
        SetOriginObject();
        DocumentTables.Functions[3].Func.Text = QStringLiteral("kept");
        sink_.clear();
        lines[0] = QString::fromUtf16(c.header);
        EXPECT_EQ(OpenLines(QStringLiteral("header"), lines), c.accepted);
        if (c.accepted) {
            EXPECT_TRUE(sink_.empty());
            EXPECT_EQ(ProjectFile.FileName, PathOf(QStringLiteral("header")));
        } else {
            ASSERT_EQ(sink_.messages().size(), 1u);
            EXPECT_EQ(sink_.last().text, QStringLiteral("Versão Inválida"));
            EXPECT_EQ(sink_.last().kind, 0);
            EXPECT_TRUE(ProjectFile.FileName.isEmpty());
            EXPECT_EQ(Text(Doc().Functions[3].Func), QStringLiteral("kept"));
        }
    }
}

TEST_F(ProjectReaderTest, Version28FixtureInEveryEncodingIsTheSameDocument)
{
    ASSERT_TRUE(OpenFixture(QStringLiteral("v28.kvf")));
    EXPECT_EQ(ProjectFile.FileKind, TFileKind::Utf8);
    const QStringList fromUtf8 = WrittenLines();
    // The same text as UTF-16, and as 8-bit text ("á" is E1).
    ASSERT_TRUE(OpenLines(QStringLiteral("utf16"), FixtureLines(QStringLiteral("v28.kvf"))));
    EXPECT_EQ(ProjectFile.FileKind, TFileKind::Utf16LE);
    EXPECT_EQ(WrittenLines(), fromUtf8);
    WriteBytes(QStringLiteral("ansi.kvf"), QString::fromUtf8(Fixture(QStringLiteral("v28.kvf"))).toLatin1());
    ASSERT_TRUE(Open(QStringLiteral("ansi")));
    EXPECT_EQ(ProjectFile.FileKind, TFileKind::Windows1252);
    EXPECT_EQ(WrittenLines(), fromUtf8);

    const TPointFunction& p = Doc().Points[1];
    EXPECT_EQ(p.Label, QStringLiteral("Olá <B>P</B> = !{P.x|3}"));
    EXPECT_EQ(p.ColorNo1, 255u);
    EXPECT_EQ(p.LabelPos, 3);
    EXPECT_EQ(Doc().Points[8].Kind, ObjectCircle);
    EXPECT_EQ(Segments.Data.Count, 2);
    EXPECT_EQ(Segments.Data.Items[1].Vertices[2], 22);
    EXPECT_EQ(Segments.Data.Items[2].Label, QStringLiteral("triângulo"));
    EXPECT_EQ(Segments.Data.Items[2].Vertices[3], 22);
    EXPECT_EQ(Doc().IntegralInterval.sliceNo, 64);
    EXPECT_EQ(GraphScale.XAxis.Caption, QStringLiteral("tempo (s)"));
    EXPECT_EQ(GraphScale.XAxis.Base, 0.5L);
    EXPECT_EQ(GraphScale.PolorNum, 24);
    EXPECT_EQ(GraphScale.Letterposition, 3);
    EXPECT_EQ(PanelLayout.ShowPosition, 1);
    EXPECT_EQ(PanelLayout.ShowEquation, 0);
    EXPECT_EQ(Doc().PetaMemoLines,
              Lines({u"Olá, mundo: a = {a+0.5}", u"recuado\tcom tabs", u"#On a Change", u"#Set b=a*1.5"}));
    EXPECT_EQ(feature_.Replacements.back(), Doc().PetaMemoLines);
    EXPECT_EQ(Doc().Cells[1][3].Text, QStringLiteral("texto"));
    EXPECT_EQ(Doc().Cells[1][3].Defined, 0);
    EXPECT_EQ(Doc().Cells[1][2].Value, 2.75L);
    EXPECT_EQ(Text(Doc().TableFormula), QStringLiteral("Cells(1,1)+x"));
    EXPECT_EQ(Doc().TableColWidths[10], 45);
    EXPECT_EQ(Doc().SimpleMemoLines, Lines({u"Olá, mundo.", u"1.5 não é número aqui"}));
    const std::array<int, PanelCount> order = PanelStackOrder();
    EXPECT_EQ(order.front(), PanelFigures);
    EXPECT_EQ(order.back(), PanelFunctions);
    ExpectStableRewrite();
}

// Lines of a written document, edited to hold what this program never writes.
class DamagedTextTest : public SessionTest {
protected:
    QStringList lines_;
    void SetUp() override
    {
        SessionTest::SetUp();
        DocumentTables.Points[1].Kind = ObjectPoint;
        DocumentTables.Points[1].X.Text = QStringLiteral("1");
        DocumentTables.Points[1].Y.Text = QStringLiteral("2");
        lines_ = WrittenLines();
    }
    int Find(const QString& line, int from = 0) const { return static_cast<int>(lines_.indexOf(line, from)); }
};

TEST_F(DamagedTextTest, UnknownObjectLetterIsSteppedOverByItsLayout)
{
    const int o = Find(QStringLiteral("O"), Find(QStringLiteral("Point")));
    // A whole entry of an object "Z" before the origin, its lines shaped like an object's.
    lines_.insert(o, QStringLiteral("Z"));
    lines_.insert(o + 1, QStringLiteral("1 0 1"));
    for (int i = 0; i < 10; ++i)
        lines_.insert(o + 2, QStringLiteral("9 9 9"));
    lines_[Find(QStringLiteral("Point")) + 1].replace(0, 2, QStringLiteral("23"));
    ASSERT_TRUE(ReadLines(lines_));
    EXPECT_EQ(Doc().Points[22].Kind, ObjectPoint);
    EXPECT_EQ(Text(Doc().Points[22].X), QStringLiteral("0"));
    EXPECT_EQ(Doc().Points[22].Width, 3);
    EXPECT_EQ(Doc().Params[1].Value, 1.0L); // the next section is read in its place
}

// Whatever a file says of object O, it stays a point at the origin; its
// label and colours are the file's.
TEST_F(DamagedTextTest, ObjectOStaysTheOrigin)
{
    const int o = Find(QStringLiteral("O"), Find(QStringLiteral("Point")));
    const QStringList entry = lines_.mid(o, 12);
    const QStringList kindOnly{QStringLiteral("O"), QStringLiteral("0 0 1")};
    QStringList moved = entry;
    moved[1] = QStringLiteral("2 4 1"); // a circle, label place 4, two coordinates
    moved[2] = QStringLiteral("origem");
    moved[3] = QStringLiteral("5");
    moved[4] = QStringLiteral("a");
    for (const QStringList& replacement : {kindOnly, moved}) {
        QStringList lines = lines_;
        for (int i = 0; i < entry.size(); ++i)
            lines.removeAt(o);
        for (int i = 0; i < replacement.size(); ++i)
            lines.insert(o + i, replacement[i]);
        ASSERT_TRUE(ReadLines(lines));
        const TPointFunction& origin = Doc().Points[22];
        EXPECT_EQ(origin.Kind, ObjectPoint);
        EXPECT_EQ(Text(origin.X), QStringLiteral("0"));
        EXPECT_EQ(Text(origin.Y), QStringLiteral("0"));
        EXPECT_EQ(origin.Dimension, 2);
        EXPECT_EQ(origin.Draggable, 0);
        EXPECT_FALSE(origin.Pos.Code.isEmpty());
        if (replacement.size() > 2) {
            EXPECT_EQ(origin.Label, QStringLiteral("origem"));
            EXPECT_EQ(origin.LabelPos, 4);
        }
    }
}

// Kind 4 was an arrow the other way round; one with a single end keeps it
// first, where the vertex list begins.
TEST_F(ProjectReaderTest, AnOldArrowWithOneEndKeepsIt)
{
    WriteBytes(QStringLiteral("arrow.kvf"), Fixture(QStringLiteral("fuzz/arrow-with-one-end.kvf")));
    ASSERT_TRUE(Open(QStringLiteral("arrow")));
    const Tsegment& arrow = Segments.Data.Items[2];
    EXPECT_EQ(arrow.Kind, FigureArrow);
    EXPECT_EQ(arrow.Vertices[1], 5);
    EXPECT_EQ(arrow.Vertices[2], 0);
}

TEST_F(DamagedTextTest, CountsBeyondTheTablesReadWhatFits)
{
    // 15 parameters, 31 figures, 12 sticker lines: the surplus is stepped over.
    int params = Find(QStringLiteral("paramater")) + 1;
    lines_[params] = QStringLiteral("15");
    lines_.insert(params + 29, QStringLiteral("7 0"));
    lines_.insert(params + 30, QStringLiteral("1 1 0.1 1 0"));
    const int figures = Find(QStringLiteral("Segments")) + 1;
    lines_[figures] = QStringLiteral("31");
    for (int s = 0; s < 31; ++s)
        for (const char16_t* line : {u"1 2 0 0 0 0 0 0 0 0 0", u"0 L", u"1 1 1 0 0 2 0 1"})
            lines_.insert(figures + 1, QString::fromUtf16(line));
    const int stickers = Find(QStringLiteral("11"), Find(QStringLiteral("PetaMEMO SECTION")));
    lines_[stickers] = QStringLiteral("12");
    lines_.insert(stickers + 1, QStringLiteral("5 5 0"));
    lines_.insert(stickers + 12, QStringLiteral("7 7 1"));
    // A colour number beyond the palette in an older file is clamped.
    ASSERT_TRUE(ReadLines(lines_));
    EXPECT_EQ(Segments.Data.Count, SegmentCount);
    EXPECT_EQ(Segments.Data.Items[30].Vertices[2], 2);
    EXPECT_EQ(Doc().Params[14].Value, 1.0L);
    EXPECT_EQ(Options.ParamDelay, 80); // read from its own line after the surplus
    EXPECT_EQ(Options.AngleMode, 1);
    EXPECT_EQ(PanelLayout.StickerPlaces[1], (TStickerPlace{5, 5, 0}));
    EXPECT_EQ(PanelLayout.StickerPlaces[11], (TStickerPlace{0, 0, 0}));
}

TEST_F(DamagedTextTest, ColourNumbersOfOlderFilesAreClamped)
{
    lines_[0] = QStringLiteral("Kaviro/win 2.7");
    const int object = Find(QStringLiteral("P"), Find(QStringLiteral("Point"))) + 10;
    lines_[object] = QStringLiteral("99 -4 2 1 0 1 1 1 0 0");
    ASSERT_TRUE(ReadLines(lines_));
    EXPECT_EQ(Doc().Points[1].ColorNo1, ColorScheme.ColorPalette[15]);
    EXPECT_EQ(Doc().Points[1].RColorNo1, ColorScheme.ColorPalette[0]);
    EXPECT_EQ(Doc().Points[1].InsideColor, 0x0000FFu);
}

TEST_F(DamagedTextTest, IntegralPartitionsOutOfRangeGiveTen)
{
    for (const char16_t* line : {u"40 0", u"40 201", u"40 x", u"40"}) {
        lines_[Find(QStringLiteral("Svalue Evalue sliceNo")) + 3] = QString::fromUtf16(line);
        ASSERT_TRUE(ReadLines(lines_));
        EXPECT_EQ(Doc().IntegralInterval.sliceNo, 10);
    }
}

TEST_F(DamagedTextTest, TableFormulaStoredOnceHasTheWidthsOnTheNextLine)
{
    const int widths = Find(QStringLiteral("60 60 60 60 60 60 60 60 60 60"));
    lines_.removeAt(widths - 1); // the formula's second copy
    lines_[widths - 1] = QStringLiteral("90 80 70 60 60 60 60 60 60 60");
    ASSERT_TRUE(ReadLines(lines_));
    EXPECT_EQ(Doc().TableColWidths[1], 90);
    EXPECT_EQ(Doc().TableColWidths[3], 70);
}

TEST_F(DamagedTextTest, TextEndingAfterTheViewKeepsTheRestAsItWas)
{
    lines_ = lines_.mid(0, Find(QStringLiteral("ScaleS")) + 3);
    Options.PetaMemoColor = 0x123456;
    ASSERT_TRUE(ReadLines(lines_));
    EXPECT_EQ(Options.PetaMemoColor, 0x123456u);
    EXPECT_EQ(Doc().IntegralInterval.sliceNo, 10);
    EXPECT_EQ(Doc().YvalueFunctions[9].Text, QStringLiteral("y9"));
}

TEST_F(DamagedTextTest, TableFormulaWithoutWidthsKeepsTheDefaults)
{
    const int widths = Find(QStringLiteral("60 60 60 60 60 60 60 60 60 60"));
    lines_.removeAt(widths);
    lines_.removeAt(widths - 1); // the formula's second copy
    lines_[widths - 2] = QStringLiteral("12 13");
    ASSERT_TRUE(ReadLines(lines_));
    EXPECT_EQ(Text(Doc().TableFormula), QStringLiteral("12 13"));
    EXPECT_EQ(Doc().TableColWidths[1], 60);
}

// A circle of references gets no code in its first record; the load goes on
// and says so once, however many circles there were.
TEST_F(ProjectReaderTest, CircularRecordsLoseTheirCodeAndTheLoadGoesOn)
{
    DocumentTables.UserFunctions[1].Text = QStringLiteral("g(x)+1");
    DocumentTables.UserFunctions[2].Text = QStringLiteral("f(x)*2");
    DocumentTables.Functions[1].Func.Text = QStringLiteral("y2");
    DocumentTables.Functions[2].Func.Text = QStringLiteral("y1+1");
    DocumentTables.Functions[3].Func.Text = QStringLiteral("x^2");
    ASSERT_TRUE(ReadLines(WrittenLines()));
    EXPECT_EQ(sink_.messages().size(), 1u);
    EXPECT_EQ(sink_.last().text, QStringLiteral("Refere à circulação da função"));
    EXPECT_TRUE(Doc().UserFunctions[1].Code.isEmpty());
    EXPECT_FALSE(Doc().UserFunctions[2].Code.isEmpty());
    EXPECT_TRUE(Doc().Functions[1].Func.Code.isEmpty());
    EXPECT_FALSE(Doc().Functions[2].Func.Code.isEmpty());
    EXPECT_FALSE(Doc().Functions[3].Func.Code.isEmpty());
    EXPECT_EQ(Text(Doc().UserFunctions[1]), QStringLiteral("g(x)+1"));
}

TEST_F(ProjectReaderTest, EmptyRadiusIsWrittenAsZero)
{
    TPointFunction& p = DocumentTables.Points[1];
    p.Kind = ObjectPoint;
    p.X.Text = QStringLiteral("1");
    p.R.Text = QStringLiteral("  ");
    ASSERT_TRUE(ReadLines(WrittenLines())); // rows placed as a read places them
    p.R.Text = QStringLiteral("  ");
    const QStringList lines = WrittenLines();
    EXPECT_EQ(lines[lines.indexOf(QStringLiteral("P"), lines.indexOf(QStringLiteral("Point"))) + 5], QStringLiteral("0"));
    ASSERT_TRUE(ReadLines(lines));
    EXPECT_EQ(Text(Doc().Points[1].R), QStringLiteral("0"));
    EXPECT_EQ(WrittenLines(), lines);
}

TEST_F(ProjectReaderTest, AReadTellsTheWindowsAndTheFeatures)
{
    DocumentTables.PetaMemoLines = Lines({u"nota", u"#On a Change"});
    ASSERT_TRUE(ReadLines(WrittenLines()));
    ASSERT_EQ(feature_.Replacements.size(), 1u);
    EXPECT_EQ(feature_.Replacements.back(), Doc().PetaMemoLines);
    EXPECT_TRUE(sink_.empty());
    EXPECT_EQ(host_.PanelArrangements, 1);
    EXPECT_EQ(host_.StretchButtonUpdates, 1);
    // Reading is no refresh: that is RefreshAll's.
    EXPECT_EQ(host_.RowRefreshes, 0);
}

TEST_F(ProjectReaderTest, WhatAFeatureCouldNotTakeIsShownAndTheReadStands)
{
    CountingDocumentParticipant notes;
    const TDocumentParticipation notesTakePart(notes, TDocumentOrder::Notes);
    feature_.Error = TDocumentError{QStringLiteral("linha 2: comando desconhecido"), MsgWarning};
    DocumentTables.PetaMemoLines = Lines({u"nota", u"#Xyz"});
    ASSERT_TRUE(ReadLines(WrittenLines()));
    ASSERT_EQ(sink_.messages().size(), 1u);
    EXPECT_EQ(sink_.last().text, QStringLiteral("linha 2: comando desconhecido"));
    EXPECT_EQ(sink_.last().kind, MsgWarning);
    // The features after the one that failed still take the document.
    EXPECT_EQ(notes.Replacements.size(), 1u);
    EXPECT_EQ(Doc().PetaMemoLines, Lines({u"nota", u"#Xyz"}));
}

} // namespace
