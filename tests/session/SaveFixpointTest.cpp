// A file saved, opened and saved again is the same file: saving never moves
// a digit, a blank or a row, however often it is repeated.
#include "SampleDocument.h"
#include "SessionTest.h"

#include "model/DocumentState.h"
#include "model/Figures.h"
#include "model/ProgramState.h"
#include "render/view/Scale.h"

#include <QDir>
#include <QDirIterator>

namespace {

// Every project file the tests and the program ship: the sample project and
// the data folders of the tests.
QStringList ProjectFilesOfTheTests()
{
    const QDir source(QStringLiteral(KAVIRO_SOURCE_DIR));
    QStringList files{source.filePath(QStringLiteral("demo.kvf"))};
    QDirIterator it(source.filePath(QStringLiteral("tests")), {QStringLiteral("*.kvf")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    files.sort();
    return files;
}

// The same bytes; else the first line that differs.
void ExpectSameFile(const QByteArray& saved, const QByteArray& expected)
{
    if (saved == expected)
        return;
    const QStringList a = DecodeProjectBytes(saved).Lines;
    const QStringList b = DecodeProjectBytes(expected).Lines;
    qsizetype i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    ADD_FAILURE() << "line " << i + 1 << ": \"" << a.value(i).toStdString() << "\" where it was \""
                  << b.value(i).toStdString() << "\"";
}

class SaveFixpointTest : public SessionTest {
protected:
    // A new program: every table back to its start, as the tests' main does.
    void NewProgram()
    {
        ResetAllGlobals();
        InitializeEngine();
        SetOriginObject();
        sink_.clear();
    }
    QByteArray SaveBytes(const QString& name)
    {
        EXPECT_TRUE(SaveAs(name));
        return ReadBytes(name + QStringLiteral(".kvf"));
    }
    // Opens <name>, saves it, opens that and saves it again: both saves
    // must be the same. False when the file is refused.
    bool ExpectSavedTheSameTwice(const QString& name)
    {
        if (!Open(name))
            return false;
        const QByteArray first = SaveBytes(QStringLiteral("first"));
        NewProgram();
        EXPECT_TRUE(Open(QStringLiteral("first")));
        ExpectSameFile(SaveBytes(QStringLiteral("second")), first);
        return true;
    }
};

TEST_F(SaveFixpointTest, EveryProjectOfTheTestsSavesTheSameTwice)
{
    int opened = 0;
    for (const QString& path : ProjectFilesOfTheTests()) {
        SCOPED_TRACE(path.toStdString());
        sink_.clear();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        WriteBytes(QStringLiteral("project.kvf"), file.readAll());
        opened += ExpectSavedTheSameTwice(QStringLiteral("project")) ? 1 : 0;
    }
    EXPECT_GE(opened, 30); // all but the refused ones
}

TEST_F(SaveFixpointTest, TheDemoSavedThreeTimesIsTheSameEachTime)
{
    QFile demo(QStringLiteral(KAVIRO_SOURCE_DIR "/demo.kvf"));
    ASSERT_TRUE(demo.open(QIODevice::ReadOnly));
    WriteBytes(QStringLiteral("demo.kvf"), demo.readAll());
    ASSERT_TRUE(Open(QStringLiteral("demo")));
    const QByteArray first = SaveBytes(QStringLiteral("demo"));
    for (int i = 0; i < 2; ++i) {
        NewProgram();
        ASSERT_TRUE(Open(QStringLiteral("demo")));
        SCOPED_TRACE(i + 2);
        ExpectSameFile(SaveBytes(QStringLiteral("demo")), first);
    }
}

// A document that fills every table, as the program saves it.
TEST_F(SaveFixpointTest, AFullDocumentSavesTheSameTwice)
{
    sample_document::Build();
    SaveBytes(QStringLiteral("full"));
    NewProgram();
    EXPECT_TRUE(ExpectSavedTheSameTwice(QStringLiteral("full")));
}

// Texts as a dialog may leave them, with blanks around them or a tab: the
// first save writes what reading gives back, so the second writes the same.
TEST_F(SaveFixpointTest, TextsWithBlanksAndTabsSaveTheSameTwice)
{
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"0 ", u" a"}, {u"  x+1", u"a "}, {u"x\tresto", u"  "}, {u"\t", u""}, {u"2", u"a  b"}, {u"0 ", u"\ta"},
    };
    for (const auto& [formula, label] : cases) {
        SCOPED_TRACE(QString::fromUtf16(formula).toStdString() + "|" + QString::fromUtf16(label).toStdString());
        NewProgram();
        TDocumentTables& t = DocumentTables;
        t.Functions[1].Func.Text = QString::fromUtf16(formula);
        t.YvalueX.Text = QString::fromUtf16(formula);
        t.TableFormula.Text = QString::fromUtf16(formula);
        TPointFunction& p = t.Points[1];
        p.Kind = ObjectPoint;
        p.X.Text = QStringLiteral("1");
        p.Y.Text = QString::fromUtf16(formula);
        p.R.Text = QString::fromUtf16(formula);
        p.Label = QString::fromUtf16(label);
        Segments.Data.Count = 1;
        Segments.Data.Items[1].Kind = FigureSegment;
        Segments.Data.Items[1].Vertices[1] = 1;
        Segments.Data.Items[1].Vertices[2] = 22;
        Segments.Data.Items[1].Label = QString::fromUtf16(label);
        GraphScale.XAxis.Caption = QString::fromUtf16(label);
        SaveBytes(QStringLiteral("typed"));
        NewProgram();
        EXPECT_TRUE(ExpectSavedTheSameTwice(QStringLiteral("typed")));
        // Labels are kept as typed (a tab too: they are the rest of their line).
        EXPECT_EQ(Segments.Data.Items[1].Label, QString::fromUtf16(label));
        EXPECT_EQ(GraphScale.XAxis.Caption, QString::fromUtf16(label));
        EXPECT_EQ(DocumentTables.Points[1].Label, QString::fromUtf16(label));
    }
}

} // namespace
