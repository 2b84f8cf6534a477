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

// Version 1.8 is read with the rules of 1.7: the background section is there,
// empty objects still hold all their lines, colours are numbers.
TEST_F(ProjectReaderTest, Version18ReadsWithTheRulesOf17)
{
    ASSERT_TRUE(OpenFixture(QStringLiteral("v18.kvf")));
    EXPECT_EQ(ProjectFile.BGfile, dir_.path() + QStringLiteral("/papel quadriculado.bmp"));
    EXPECT_EQ(Options.BGMode, 2);
    EXPECT_EQ(Options.BGstretchOn, 1);
    // θ was written "Q" before 1.7 only.
    EXPECT_EQ(Text(Doc().UserFunctions[1]), QStringLiteral("Q+Q.x"));
    const TPointFunction& p = Doc().Points[1];
    EXPECT_EQ(p.Kind, ObjectPoint);
    EXPECT_EQ(p.ColorNo1, 0xFF0000u); // colour number 1
    EXPECT_EQ(p.InsideColor, ColorWhite);
    EXPECT_EQ(Doc().Points[2].Kind, ObjectEmpty);
    EXPECT_EQ(Doc().Points[2].ColorNo1, ColorScheme.ColorPalette[7]);
    ExpectStableRewrite();
}

TEST_F(ProjectReaderTest, Version16)
{
    ASSERT_TRUE(OpenFixture(QStringLiteral("v16.kvf")));
    EXPECT_TRUE(ProjectFile.BGfile.isEmpty());
    EXPECT_EQ(Text(Doc().UserFunctions[1]), QStringLiteral("@+Q.x"));
    EXPECT_FALSE(Doc().UserFunctions[1].Code.isEmpty());
    EXPECT_EQ(Text(Doc().Points[1].Y), QStringLiteral("@"));
    // One parameter stored; the step line sets every parameter's step.
    EXPECT_EQ(Doc().Params[1].Value, 3.0L);
    EXPECT_EQ(Doc().Params[1].Fixed, 1);
    EXPECT_EQ(Doc().Params[2].Value, 1.0L);
    for (int j = 1; j <= ParamCount; ++j)
        EXPECT_EQ(Doc().Params[j].Step, 0.2L) << j;
    // A short options line keeps the older defaults.
    EXPECT_EQ(Options.ThetaMode, 2);
    EXPECT_EQ(Options.LogMode, 1);
    EXPECT_EQ(GraphScale.XAxis.Caption, QStringLiteral("eixo x"));
    EXPECT_EQ(GraphScale.YAxis.Caption, QStringLiteral("y"));
    // The integral limits were stored as values; they become the limits' texts.
    const Tinterval& in = Doc().IntegralInterval;
    EXPECT_EQ(in.sliceNo, 30);
    EXPECT_EQ(Text(in.Lower), QStringLiteral("-1.5"));
    EXPECT_EQ(Text(in.Upper), QStringLiteral("2.25"));
    // The file ends after the integral: the rest keeps its defaults.
    EXPECT_EQ(Text(Doc().YvalueFunctions[9]), QStringLiteral("y9"));
    ExpectStableRewrite();
}

TEST_F(ProjectReaderTest, Version20)
{
    host_.PageControl = 0;
    ProgramState.GraphPixelHeight = 400;
    ProgramState.GraphMaxHeight = 400;
    ASSERT_TRUE(OpenFixture(QStringLiteral("v20.kvf")));
    EXPECT_EQ(Options.BGstretchOn, 0);
    EXPECT_EQ(Options.BGMode, 1);
    EXPECT_EQ(Text(Doc().UserFunctions[1]), QStringLiteral("f(x)=min(x,a)"));
    // An empty slot's colour number is converted too.
    EXPECT_EQ(Doc().Functions[1].Color, ColorScheme.ColorPalette[3]);
    EXPECT_EQ(Doc().Functions[2].Color, 0x0000FFu);
    EXPECT_EQ(Doc().Relations[1].Pattern, 3);

    // Object 6 is now 8; object 20 moves with them to 22.
    const TPointFunction& polar = Doc().Points[8];
    EXPECT_EQ(polar.Kind, ObjectPolar);
    EXPECT_EQ(polar.ParamChar, u'@');
    EXPECT_EQ(Text(polar.Low), QStringLiteral("0"));
    EXPECT_EQ(Text(polar.High), QStringLiteral("2Pi"));
    EXPECT_EQ(polar.RWidth, 2);
    EXPECT_EQ(polar.LocusWidth, 0);
    EXPECT_EQ(polar.ColorNo1, 0x0000FFu);
    EXPECT_EQ(polar.RColorNo1, 0x0000FFu);
    EXPECT_EQ(Doc().Points[6].Kind, ObjectEmpty);
    EXPECT_EQ(Doc().Points[20].Kind, ObjectEmpty);
    EXPECT_EQ(Doc().Points[22].Kind, ObjectPoint);
    EXPECT_EQ(Doc().Points[22].Label, QStringLiteral("O"));
    // Rows 6 and 7 are new: no place, shown; the others moved with their objects.
    EXPECT_EQ(PanelLayout.PointRows[6], (TRowState{0, 1}));
    EXPECT_EQ(PanelLayout.PointRows[7], (TRowState{0, 1}));
    EXPECT_EQ(PanelLayout.PointRows[8].Position, 2);
    EXPECT_EQ(PanelLayout.PointRows[22].Position, 3);

    // Kind 4 is an arrow with its ends exchanged; vertex 20 is 22 now.
    const Tsegment& arrow = Segments.Data.Items[1];
    EXPECT_EQ(arrow.Kind, FigureArrow);
    EXPECT_EQ(arrow.Vertices[1], 22);
    EXPECT_EQ(arrow.Vertices[2], 8);
    EXPECT_EQ(arrow.Color, 0xFF0000u);
    EXPECT_EQ(arrow.InsideColor, ColorWhite);
    EXPECT_EQ(arrow.Label, QStringLiteral("seta"));

    EXPECT_EQ(Doc().Params[1].Value, 2.0L);
    EXPECT_EQ(Doc().Params[3].Step, 0.5L);
    EXPECT_EQ(Doc().Params[3].AddStep, 0);
    EXPECT_EQ(Options.ParamDelay, 120);
    // The stored integral partitions are read back.
    EXPECT_EQ(Doc().IntegralInterval.sliceNo, 25);
    EXPECT_EQ(Doc().IntegralInterval.AreaQ, 1);
    EXPECT_EQ(Text(Doc().YvalueX), QStringLiteral("2"));
    // Panels before 2.1: six places; curves share the points' place, figures go last and hidden.
    EXPECT_EQ(PanelLayout.Panels[PanelCurves].Top, PanelLayout.Panels[PanelPoints].Top);
    EXPECT_EQ(PanelLayout.Panels[PanelFigures], (TPanelPlace{2000, 0}));
    EXPECT_EQ(PanelLayout.Panels[PanelUserFunctions].Top, 40);
    EXPECT_EQ(Options.PetaMemoColor, 0x0000FFu);
    EXPECT_EQ(Doc().PetaMemoLines, Lines({u"Notas antigas", u"#Set a=2.5"}));
    // Stored 600 × 300 shown 400 high: 400 × 200, and the sticker moves with it.
    EXPECT_EQ(GraphScale.XAxis.VHigh, 400);
    EXPECT_EQ(GraphScale.YAxis.VHigh, 200);
    EXPECT_EQ(PanelLayout.StickerPlaces[1], (TStickerPlace{200, 100, 0}));
    EXPECT_EQ(PanelLayout.StickerPlaces[2].OnConsole, 1);
    EXPECT_EQ(Doc().Cells[5][3].Value, 2.5L);
    EXPECT_EQ(Doc().SimpleMemoLines, Lines({u"memo"}));
    ExpectStableRewrite();
}

TEST_F(ProjectReaderTest, Version22)
{
    ASSERT_TRUE(OpenFixture(QStringLiteral("v22.kvf")));
    EXPECT_EQ(Text(Doc().Functions[1].Func), QStringLiteral("max(path(P,Q),1)"));
    EXPECT_EQ(Doc().Functions[1].LineStyle, 2);
    // Before 2.6 an object stays draggable only with a constant coordinate.
    EXPECT_EQ(Doc().Points[1].Draggable, 0);
    EXPECT_EQ(Doc().Points[2].Draggable, 1);
    EXPECT_EQ(Doc().Points[1].Label, QStringLiteral("<B>P</B>"));
    const TPointFunction& curve = Doc().Points[9];
    EXPECT_EQ(curve.Kind, ObjectParametric);
    EXPECT_EQ(Text(curve.R), QStringLiteral("0"));
    EXPECT_EQ(curve.ParamStep, 0.05L);
    EXPECT_EQ(curve.LocusWidth, 2);

    const Tsegment& polygon = Segments.Data.Items[1];
    EXPECT_EQ(polygon.Kind, FigurePolygon);
    EXPECT_EQ(polygon.LineStyle, 2);
    EXPECT_EQ(polygon.Pattern, 5);
    EXPECT_EQ(polygon.Color, ColorScheme.ColorPalette[5]);
    EXPECT_EQ(polygon.Vertices[3], 9);
    EXPECT_EQ(polygon.Label, QStringLiteral("poligono"));
    const Tsegment& segment = Segments.Data.Items[2];
    EXPECT_EQ(segment.Pattern, 1); // 9 is no pattern
    EXPECT_EQ(segment.LabelPos, 4);
    EXPECT_EQ(segment.Vertices[1], 9);
    EXPECT_EQ(segment.Vertices[2], 22);

    EXPECT_EQ(Doc().Params[1].Extra, 0);
    EXPECT_EQ(Doc().Params[1].Step, 0.5L);
    EXPECT_EQ(PanelLayout.ParamRows[1].Position, 1);
    EXPECT_EQ(Options.ParamDelay, 60);
    EXPECT_EQ(GraphScale.XAxis.Caption, QString());
    EXPECT_EQ(GraphScale.YAxis.Caption, QStringLiteral("y"));
    EXPECT_EQ(host_.AxisOnButtons, std::vector<bool>{true});
    EXPECT_EQ(PanelLayout.Panels[PanelFigures].Visible, 0);
    // A note line keeps what follows its tabs.
    EXPECT_EQ(Doc().PetaMemoLines, Lines({u"nota\tcom tab"}));
    // The formula stored once: the widths are on the next line.
    EXPECT_EQ(Doc().TableColWidths[1], 90);
    EXPECT_EQ(Doc().TableColWidths[3], 70);
    ExpectStableRewrite();
}

TEST_F(ProjectReaderTest, Version26)
{
    ASSERT_TRUE(OpenFixture(QStringLiteral("v26.kvf")));
    // Objects are found by their letters: B is 9 now.
    EXPECT_EQ(Doc().Points[9].Kind, ObjectPoint);
    EXPECT_EQ(Text(Doc().Points[9].Y), QStringLiteral("a"));
    EXPECT_EQ(Doc().Points[9].Draggable, 1); // from 2.6 on as stored
    EXPECT_EQ(Doc().Points[9].ColorNo1, ColorScheme.ColorPalette[3]);
    EXPECT_EQ(Doc().Points[7].Kind, ObjectEmpty);
    EXPECT_EQ(PanelLayout.PointRows[6], (TRowState{0, 1}));
    EXPECT_EQ(PanelLayout.PointRows[7], (TRowState{0, 1}));
    EXPECT_EQ(PanelLayout.PointRows[8], (TRowState{2, 0}));
    EXPECT_EQ(PanelLayout.PointRows[9].Position, 3);
    const Tsegment& f = Segments.Data.Items[1];
    EXPECT_EQ(f.Vertices[2], 9);
    EXPECT_EQ(f.Label, QStringLiteral("PB"));
    EXPECT_EQ(f.Color, 0x0000FFu);
    // The file ends after the view: the notes were not read, their colour stays.
    EXPECT_EQ(Options.PetaMemoColor, 0xFF0000u);
    EXPECT_EQ(Doc().IntegralInterval.sliceNo, 10);
    ExpectStableRewrite();
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
