// A file saved, opened and saved again is the same file: saving never moves
// a digit, a blank or a row, however often it is repeated.
#include "SampleDocument.h"
#include "SessionTest.h"

#include "model/ProgramState.h"

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
        NewProgram();
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

} // namespace
