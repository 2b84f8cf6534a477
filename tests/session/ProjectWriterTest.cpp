// The project text as written: bytes of a fresh save, the lines the format
// fixes, and write → read → write identity.
#include "SampleDocument.h"
#include "SessionTest.h"

#include "session/PanelLayout.h"
#include "session/ProjectEncoding.h"

#include "engine/Compiler.h"
#include "model/DocumentState.h"
#include "model/Figures.h"
#include "render/view/Scale.h"

#include <algorithm>
#include <vector>

namespace {

using ProjectWriterTest = SessionTest;

int IndexOf(const QStringList& lines, const QString& line, int from = 0)
{
    return static_cast<int>(lines.indexOf(line, from));
}

// The lines after a section's caption.
QStringList SectionAfter(const QStringList& lines, const QString& caption, int count)
{
    const int at = IndexOf(lines, caption);
    return at < 0 ? QStringList() : lines.mid(at + 1, count);
}

TEST_F(ProjectWriterTest, FreshDocumentBytesAndFixedLines)
{
    ASSERT_TRUE(SaveAs(QStringLiteral("fresh")));
    const QByteArray bytes = ReadBytes(QStringLiteral("fresh.kvf"));
    ASSERT_GT(bytes.size(), 8);
    EXPECT_EQ(bytes.left(4), QByteArray("\xFF\xFE\x4B\x00", 4));
    EXPECT_EQ(bytes.right(4), QByteArray("\x0D\x00\x0A\x00", 4));

    const TDecodedText text = DecodeProjectBytes(bytes);
    EXPECT_EQ(text.Kind, TFileKind::Utf16LE);
    const QStringList& lines = text.Lines;
    EXPECT_EQ(lines.first(), QStringLiteral("Kaviro/win 2.8"));
    EXPECT_EQ(lines[1], QStringLiteral("[Don't Edit] 3.14"));
    EXPECT_EQ(lines.last(), QStringLiteral("----------"));
    // Every line ends with CR LF: as many as there are lines, and no lone CR or LF.
    EXPECT_EQ(bytes.count(QByteArray("\x0D\x00\x0A\x00", 4)), lines.size());

    const QString options = QStringLiteral("KakuMode ScanWidth LogMode ThetaMode AreaMode capStyle");
    EXPECT_EQ(SectionAfter(lines, options, 7),
              Lines({u"1 4 2 1 1 1 0 1 0 0 0", u"DrawMode SegmentShowSync", u"1 0", u"AfterImageColorNo, CanAImg",
                     u"2 1", u"circleMode", u"1"}));
    const QStringList params = SectionAfter(lines, QStringLiteral("paramater"), 30);
    ASSERT_EQ(params.size(), 30);
    EXPECT_EQ(params[0], QStringLiteral("14"));
    EXPECT_EQ(params[1], QStringLiteral("1 0"));
    EXPECT_TRUE(params[2].startsWith(QStringLiteral("1 1 0.1"))) << params[2].toStdString();
    EXPECT_EQ(params[29], QStringLiteral("1 1 80"));
    EXPECT_EQ(SectionAfter(lines, QStringLiteral("Style, Color, BGcolor , Size, PositionX, positionY"), 1),
              QStringList{QStringLiteral("3 16711680 0 12 0 0 0")});
    // The origin object is always written, so the object count is 22.
    EXPECT_TRUE(SectionAfter(lines, QStringLiteral("Point"), 1).first().startsWith(QStringLiteral("22 ")));
}

TEST_F(ProjectWriterTest, FigureToOriginAndTableCellLines)
{
    Tsegment& f = Segments.Data.Items[1];
    f = Tsegment{};
    f.Kind = FigureSegment;
    f.Vertices[1] = 1;  // P
    f.Vertices[2] = 22; // O
    Segments.Data.Count = 1;
    DocumentTables.Cells[5][3].Text = QStringLiteral("2.5");

    const QStringList lines = WrittenLines();
    const QStringList figure = SectionAfter(lines, QStringLiteral("Segments"), 4);
    EXPECT_EQ(figure[0], QStringLiteral("1"));
    EXPECT_EQ(figure[3], QStringLiteral("1 252 0 0 0 0 0 0 0 0 0"));
    const QStringList table = SectionAfter(lines, QStringLiteral("Table Data"), 3);
    EXPECT_EQ(table[0], QStringLiteral("5"));
    EXPECT_EQ(table[1], QStringLiteral("data\t\t\t2.5\t\t\t\t\t\t\t"));
    // No other row is written: the formula follows.
    EXPECT_EQ(SectionAfter(lines, QStringLiteral("RowNo, ColumnNo"), 1).first(), QStringLiteral("1 10"));

    ASSERT_TRUE(ReadLines(lines));
    EXPECT_EQ(Segments.Data.Items[1].Vertices[2], 22);
    EXPECT_EQ(DocumentTables.Cells[5][3].Text, QStringLiteral("2.5"));
    EXPECT_EQ(DocumentTables.Cells[5][3].Value, 2.5L);
}

TEST_F(ProjectWriterTest, FullDocumentWriteReadWriteIsIdentical)
{
    sample_document::Build();
    const QStringList first = WrittenLines();
    const TDocumentTables before = DocumentTables;
    const TSegmentData figures = Segments.Data;
    const TPanelLayout layout = PanelLayout;

    ASSERT_TRUE(ReadLines(first));
    EXPECT_EQ(WrittenLines(), first);
    EXPECT_EQ(Segments.Data, figures);
    EXPECT_EQ(PanelLayout, layout);
    for (int i = 1; i <= FunctionCount; ++i) {
        EXPECT_EQ(DocumentTables.Functions[i].Func.Text, before.Functions[i].Func.Text);
        EXPECT_EQ(DocumentTables.Functions[i].Func.Code, before.Functions[i].Func.Code) << i;
        EXPECT_FALSE(DocumentTables.Functions[i].Func.Code.isEmpty()) << i;
    }
    for (int k = 1; k <= PointCount; ++k) {
        EXPECT_EQ(DocumentTables.Points[k].Label, before.Points[k].Label);
        EXPECT_EQ(DocumentTables.Points[k].Pos.Code, before.Points[k].Pos.Code) << k;
    }
    EXPECT_EQ(DocumentTables.PetaMemoLines, before.PetaMemoLines);
    EXPECT_EQ(DocumentTables.IntegralInterval.sliceNo, 37);
    EXPECT_EQ(GraphScale.XAxis.Caption, QStringLiteral("tempo <I>t</I>"));
    EXPECT_EQ(GraphScale.XAxis.Low, -2.5L);
}

// A comma locale reads the file into its own punctuation and writes the
// same bytes back; text outside formulas and fields keeps its commas.
TEST_F(ProjectWriterTest, CommaLocaleWritesTheSameFile)
{
    sample_document::Build();
    ASSERT_TRUE(SaveAs(QStringLiteral("point")));
    const QByteArray pointBytes = ReadBytes(QStringLiteral("point.kvf"));

    UseCommaLocale();
    // Loaded without the refresh, which would fit the view's range to the ticks.
    ASSERT_TRUE(LoadKvf());
    const TDocumentTables& t = DocumentTables;
    EXPECT_EQ(t.Points[1].X.Text, QStringLiteral("1,25+1"));
    EXPECT_EQ(t.Points[2].Label, QStringLiteral("<B>Q</B> = !{Q.x|3}, ok"));
    EXPECT_EQ(t.PetaMemoLines[0], QStringLiteral("Nota 1, valor {a+1,5}"));
    EXPECT_EQ(t.PetaMemoLines[9], QStringLiteral("#Set a=10,5"));
    EXPECT_EQ(t.SimpleMemoLines[0], QStringLiteral("Olá, mundo"));
    EXPECT_EQ(t.Cells[7][2].Text, QStringLiteral("texto, livre"));
    EXPECT_EQ(t.Cells[1][1].Text, QStringLiteral("1,5"));
    EXPECT_EQ(t.Cells[1][1].Value, 1.5L);
    EXPECT_FALSE(t.Points[1].Pos.Code.isEmpty());

    ASSERT_TRUE(SaveAs(QStringLiteral("comma")));
    EXPECT_EQ(ReadBytes(QStringLiteral("comma.kvf")), pointBytes);
}

// Cut files (every byte count) either load with defaults for what is
// missing or are refused with the document as it was; never a crash.
TEST_F(ProjectWriterTest, EveryCutOfASavedFileLoadsOrIsRefusedWhole)
{
    sample_document::Build();
    ASSERT_TRUE(SaveAs(QStringLiteral("whole")));
    const QByteArray bytes = ReadBytes(QStringLiteral("whole.kvf"));
    const QStringList lines = DecodeProjectBytes(bytes).Lines;
    const int viewLine = IndexOf(lines, QStringLiteral("ScaleS")) + 2;
    // Byte offset just past the view's line and its line end.
    qsizetype viewEnd = 2;
    for (int i = 0; i <= viewLine; ++i)
        viewEnd += 2 * (lines[i].size() + 2);

    ResetAllGlobals();
    SetOriginObject();
    DocumentTables.Functions[1].Func.Text = QStringLiteral("before");
    ASSERT_TRUE(ReadLines(WrittenLines())); // placed as a read places it
    const QStringList untouched = WrittenLines();

    // Cuts on a stride that keeps the test short, and every cut near the view's end.
    std::vector<qsizetype> cuts;
    for (qsizetype cut = 0; cut < bytes.size(); cut += 211)
        cuts.push_back(cut);
    for (qsizetype cut = viewEnd - 40; cut < viewEnd + 40; ++cut)
        cuts.push_back(cut);
    for (const qsizetype cut : cuts) {
        SCOPED_TRACE(cut);
        WriteBytes(QStringLiteral("cut.kvf"), bytes.left(cut));
        sink_.clear();
        const QString nameBefore = ProjectFile.FileName;
        const bool opened = Open(QStringLiteral("cut"));
        // The view's line is complete once its CR is there.
        EXPECT_EQ(opened, cut >= viewEnd - 2);
        if (opened) {
            EXPECT_TRUE(sink_.empty());
            EXPECT_EQ(GraphScale.PolorNum, 24);
            // Back to the document before the next cut.
            ASSERT_TRUE(ReadLines(untouched));
        } else {
            EXPECT_FALSE(sink_.empty());
            EXPECT_EQ(ProjectFile.FileName, nameBefore);
            EXPECT_EQ(WrittenLines(), untouched);
        }
    }
}

} // namespace
