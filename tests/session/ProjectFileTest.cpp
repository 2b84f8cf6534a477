// Opening and saving project files, and the refresh after a load.
#include "SessionTest.h"

#include "session/PanelLayout.h"

#include "model/DocumentState.h"
#include "model/History.h"
#include "model/ProgramState.h"
#include "model/Settings.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"

#include <QDir>
#include <QFileDevice>

namespace {

using ProjectFileTest = SessionTest;

TEST_F(ProjectFileTest, ProjectNamesLoseOnlyATrailingExtension)
{
    struct Case {
        const char16_t* given;
        const char16_t* base;
    };
    const Case cases[] = {
        {u"a.kvf", u"a"},           {u"a.KVF", u"a"},   {u"a.kvp", u"a"},   {u"a.Kvp", u"a"},
        {u"a.kvf.bak", u"a.kvf.bak"}, {u"x.kvf/a", u"x.kvf/a"}, {u"a", u"a"}, {u"a.kvf.kvf", u"a.kvf"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProjectBaseName(QString::fromUtf16(c.given)), QString::fromUtf16(c.base));

    // ".kvf" in a folder name stays where it is.
    ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("aulas.kvf")));
    ASSERT_TRUE(SaveAs(QStringLiteral("aulas.kvf/reta")));
    RecordOneTrace();
    ASSERT_TRUE(SaveKvp(PathOf(QStringLiteral("aulas.kvf/reta"))));
    ResetAllGlobals();
    for (const char16_t* name : {u"aulas.kvf/reta", u"aulas.kvf/reta.KVF", u"aulas.kvf/reta.kvp"}) {
        ASSERT_TRUE(Open(QString::fromUtf16(name)));
        EXPECT_EQ(ProjectFile.FileName, PathOf(QStringLiteral("aulas.kvf/reta")));
    }
    EXPECT_TRUE(TraceStore.HasRecords()); // aulas.kvf/reta.kvp
    EXPECT_TRUE(sink_.empty());
}

TEST_F(ProjectFileTest, MissingFileSaysSoAndChangesNothing)
{
    ProjectFile.FileName = QStringLiteral("/current");
    EXPECT_FALSE(Open(QStringLiteral("nada")));
    ASSERT_EQ(sink_.messages().size(), 1u);
    EXPECT_EQ(sink_.last().text, QStringLiteral("Sem arquivo") + PathOf(QStringLiteral("nada.kvf")));
    EXPECT_EQ(sink_.last().kind, 1);
    EXPECT_EQ(ProjectFile.FileName, QStringLiteral("/current"));
    EXPECT_TRUE(host_.Captions.empty());
}

// Files that are no project, or end before their view, are refused and
// nothing changes: the document, its file name, its caption, whether it is
// modified and its history.
TEST_F(ProjectFileTest, DamagedFilesAreRefusedWholesale)
{
    DocumentTables.Functions[2].Func.Text = QStringLiteral("x+1");
    GraphScale.XAxis.SetBounds(-1.0L, 9.0L);
    PanelLayout.StickerPlaces[3].Left = 77;
    ASSERT_TRUE(ReadLines(WrittenLines()));
    const QStringList before = WrittenLines();
    BackUp.Push(ProjectData);
    ProjectFile.FileName = PathOf(QStringLiteral("atual"));
    ProjectFile.FileKind = TFileKind::Windows1252;
    ProgramState.Modified = 1;

    QStringList withNul = FixtureLines(QStringLiteral("v28.kvf"));
    withNul[12] += QChar(u'\0');
    QStringList endsBeforeView = FixtureLines(QStringLiteral("v28.kvf"));
    endsBeforeView = endsBeforeView.mid(0, endsBeforeView.indexOf(QStringLiteral("ScaleS")));
    QStringList newer = FixtureLines(QStringLiteral("v28.kvf"));
    newer[0] = QStringLiteral("Kaviro/win 2.9");
    const QString loadError = QStringLiteral("Erro ao carregar arquivo");
    const QString badVersion = QStringLiteral("Versão Inválida");
    struct Case {
        const char* name;
        QByteArray bytes;
        QString message;
        int kind;
    };
    const Case cases[] = {
        {"empty", QByteArray(), loadError, 1},
        {"binary", QByteArray("\x00\x01\x02\xFF\xFE\x00", 6), loadError, 1},
        {"picture", QByteArray("\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR\x00\x00\x01\x00", 20), loadError, 1},
        {"other text", QByteArray("y = x^2\r\n"), badVersion, 0},
        {"newer version", EncodeProjectLines(newer), badVersion, 0},
        {"header only", EncodeProjectLines({QStringLiteral("Kaviro/win 2.8")}), loadError, 1},
        {"NUL", EncodeProjectLines(withNul), loadError, 1},
        {"ends before view", EncodeProjectLines(endsBeforeView), loadError, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sink_.clear();
        WriteBytes(QStringLiteral("bad.kvf"), c.bytes);
        EXPECT_FALSE(Open(QStringLiteral("bad")));
        ASSERT_EQ(sink_.messages().size(), 1u);
        EXPECT_EQ(sink_.last().text, c.message);
        EXPECT_EQ(sink_.last().kind, c.kind);
        EXPECT_EQ(ProjectFile.FileName, PathOf(QStringLiteral("atual")));
        EXPECT_EQ(ProjectFile.FileKind, TFileKind::Windows1252);
        EXPECT_EQ(ProgramState.Modified, 1);
        EXPECT_TRUE(host_.Captions.empty());
        EXPECT_EQ(WrittenLines(), before);
        EXPECT_EQ(BackUp.Index(), 1); // the history of the document stays
    }
}

TEST_F(ProjectFileTest, AFailedSaveSaysSoAndKeepsTheEdits)
{
    WriteBytes(QStringLiteral("arquivo"), QByteArray("not a folder"));
    ProjectFile.FileName = PathOf(QStringLiteral("arquivo/guardado"));
    ProgramState.Modified = 1;
    RecordOneTrace(); // no trace file is tried after the project failed
    EXPECT_FALSE(SaveProject());
    ASSERT_EQ(sink_.messages().size(), 1u);
    EXPECT_EQ(sink_.last().text, QStringLiteral("Erro ao salvar arquivo\n") + PathOf(QStringLiteral("arquivo/guardado.kvf")));
    EXPECT_EQ(sink_.last().kind, 1);
    EXPECT_EQ(sink_.last().buttons, 4);
    EXPECT_EQ(ProgramState.Modified, 1);
    EXPECT_EQ(ReadBytes(QStringLiteral("arquivo")), QByteArray("not a folder"));
}

TEST_F(ProjectFileTest, AFailedSaveKeepsTheOldFileWhole)
{
    ASSERT_TRUE(SaveAs(QStringLiteral("guardado")));
    const QByteArray old = ReadBytes(QStringLiteral("guardado.kvf"));
    DocumentTables.Functions[1].Func.Text = QStringLiteral("x^3");
    ProgramState.Modified = 1;
    RecordOneTrace();

    // The folder cannot be written: the new file cannot even be started.
    QFile::setPermissions(dir_.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool saved = SaveProject();
    QFile::setPermissions(dir_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (QFileInfo(dir_.path()).isWritable() && saved)
        GTEST_SKIP() << "the folder stays writable (running as root)";
    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadBytes(QStringLiteral("guardado.kvf")), old);
    ASSERT_EQ(sink_.messages().size(), 1u);
    EXPECT_EQ(sink_.last().text, QStringLiteral("Erro ao salvar arquivo\n") + PathOf(QStringLiteral("guardado.kvf")));
    EXPECT_EQ(sink_.last().kind, 1);
    EXPECT_EQ(sink_.last().buttons, 4);
    EXPECT_EQ(ProgramState.Modified, 1);
    EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("guardado.kvp"))));
}

TEST_F(ProjectFileTest, SaveAndSaveAs)
{
    ProgramState.Modified = 1;
    RecordOneTrace();
    EXPECT_FALSE(SaveProject()); // no name yet: the caller asks for one
    EXPECT_EQ(ProgramState.Modified, 1);

    ASSERT_TRUE(SaveProjectAs(PathOf(QStringLiteral("nova.kvf"))));
    EXPECT_EQ(ProjectFile.FileName, PathOf(QStringLiteral("nova")));
    EXPECT_TRUE(QFileInfo::exists(PathOf(QStringLiteral("nova.kvf"))));
    EXPECT_TRUE(QFileInfo::exists(PathOf(QStringLiteral("nova.kvp")))); // the traces beside it
    EXPECT_EQ(host_.Captions, std::vector<QString>{PathOf(QStringLiteral("nova"))});
    EXPECT_EQ(ProgramState.Modified, 0);
    EXPECT_EQ(ProjectFile.FileKind, TFileKind::Utf16LE);
}

// Save As writes the file the chosen name names: ".kvf" is appended to a name
// that does not end in it, never put in place of another extension, and a
// file that name would replace is replaced only when the user agrees (the
// chooser asked about the name chosen, not about this one).
TEST_F(ProjectFileTest, SaveAsAppendsTheExtensionAndAsksBeforeReplacingAnotherFile)
{
    struct Case {
        const char16_t* chosen;
        const char16_t* written;
        bool exists;   // the written file is there before
        int answer;    // to the question; -1: none is asked
    };
    const Case cases[] = {
        {u"aula.kvf", u"aula.kvf", false, -1},
        {u"aula.kvf", u"aula.kvf", true, -1}, // the chooser's own answer
        {u"aula.KVF", u"aula.KVF", false, -1},
        {u"aula", u"aula.kvf", false, -1},
        {u"aula", u"aula.kvf", true, 1},
        {u"aula", u"aula.kvf", true, 0},
        {u"aula.v2", u"aula.v2.kvf", false, -1},
        {u"aula 2.0", u"aula 2.0.kvf", false, -1},
        {u"aula.kvp", u"aula.kvp.kvf", false, -1},
        {u"aula.v2", u"aula.v2.kvf", true, 0},
    };
    const QByteArray old("o projeto de antes");
    for (const Case& c : cases) {
        const QString chosen = PathOf(QString::fromUtf16(c.chosen));
        const QString written = PathOf(QString::fromUtf16(c.written));
        SCOPED_TRACE(chosen.toStdString());
        for (const QString& f : QDir(dir_.path()).entryList(QDir::Files))
            QFile::remove(PathOf(f));
        const bool beside = written != PathOf(QStringLiteral("aula.kvf"));
        if (beside)
            WriteBytes(QStringLiteral("aula.kvf"), old); // another project of a similar name
        if (c.exists)
            WriteBytes(QString::fromUtf16(c.written), old);
        ProjectFile.FileName = PathOf(QStringLiteral("antes"));
        ProgramState.Modified = 1;
        sink_.clear();
        if (c.answer >= 0)
            sink_.scriptAnswers({c.answer == 1});

        const bool saved = SaveProjectAs(chosen);

        const bool asked = c.answer >= 0;
        ASSERT_EQ(sink_.messages().size(), asked ? 1u : 0u);
        if (asked) {
            EXPECT_EQ(sink_.last().text, QStringLiteral("Substituir o arquivo existente?"));
            EXPECT_EQ(sink_.last().kind, 0);
            EXPECT_EQ(sink_.last().buttons, 12);
        }
        const bool writes = c.answer != 0;
        EXPECT_EQ(saved, writes);
        EXPECT_EQ(ReadBytes(QString::fromUtf16(c.written)).startsWith("\xFF\xFE"), writes);
        EXPECT_EQ(ProgramState.Modified, writes ? 0 : 1);
        EXPECT_EQ(ProjectFile.FileName + ProjectFile.Extension,
                  writes ? written : PathOf(QStringLiteral("antes.kvf")));
        if (beside) {
            EXPECT_EQ(ReadBytes(QStringLiteral("aula.kvf")), old);
        }
    }
}

// The traces are part of the work: a project saved without them stays
// modified, as one whose text could not be written.
TEST_F(ProjectFileTest, AFailedTraceSaveKeepsTheDocumentModified)
{
    ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("aula.kvp"))); // a folder where the traces go
    ProjectFile.FileName = PathOf(QStringLiteral("aula"));
    ProgramState.Modified = 1;
    RecordOneTrace();
    EXPECT_FALSE(SaveProject());
    EXPECT_TRUE(QFileInfo::exists(PathOf(QStringLiteral("aula.kvf"))));
    ASSERT_EQ(sink_.messages().size(), 1u);
    EXPECT_EQ(sink_.last().text, QStringLiteral("Erro ao salvar arquivo\n") + PathOf(QStringLiteral("aula.kvp")));
    EXPECT_EQ(ProgramState.Modified, 1);
}

TEST_F(ProjectFileTest, OpeningRefreshesEverythingAndClearsTheHistories)
{
    BackUp.Push(ProjectData);
    BackUpArea.Push(TAreaView{});
    MarkNamesChanged(u"\x0005");
    RedrawState.LastChangedNames = RedrawState.RedrawNames = RedrawState.ChangedNames;
    ASSERT_TRUE(OpenFixture(QStringLiteral("v28.kvf")));
    EXPECT_TRUE(BackUp.IsAtStart());
    EXPECT_TRUE(BackUpArea.IsAtStart());
    EXPECT_EQ(host_.UndoControls.back(), std::make_pair(false, false));
    EXPECT_EQ(host_.ViewHistoryUpdates, 1);
    EXPECT_EQ(host_.RowRefreshes, 1);
    EXPECT_EQ(host_.GraphAreaResizes, 1);
    EXPECT_EQ(host_.AxisOnButtons, std::vector<bool>{false});
    // The background file does not exist: not shown, not loaded.
    EXPECT_EQ(ProjectFile.BGfile, PathOf(QStringLiteral("fundo.png")));
    EXPECT_EQ(Options.BGshown, 0);
    EXPECT_TRUE(host_.BackgroundFiles.empty());
    EXPECT_EQ(ProgramState.Modified, 0);
    EXPECT_FALSE(ProgramState.InRefreshAll);
    // Everything is marked changed for the next redraw; the closure memory is gone.
    EXPECT_TRUE(RedrawState.ChangedNames.has(1000));
    EXPECT_TRUE(IsDirtyObjects());
    EXPECT_TRUE(CharSetIsEmpty(RedrawState.LastChangedNames));
    EXPECT_TRUE(CharSetIsEmpty(RedrawState.RedrawNames));
    EXPECT_EQ(GraphScale.XAxis.High > GraphScale.XAxis.Low, true);
}

TEST_F(ProjectFileTest, ExistingBackgroundFileIsShown)
{
    WriteBytes(QStringLiteral("fundo.png"), QByteArray("png"));
    ASSERT_TRUE(OpenFixture(QStringLiteral("v28.kvf")));
    EXPECT_EQ(Options.BGshown, 1);
    EXPECT_EQ(host_.BackgroundFiles, std::vector<QString>{PathOf(QStringLiteral("fundo.png"))});
}

// The stored graph area is fitted to the screen's height, keeping its shape,
// unless the settings keep the stored size.
TEST_F(ProjectFileTest, StoredAreaIsFittedToTheScreen)
{
    struct Case {
        int storedX, storedY;
        int pixelHeight, maxHeight, pageControl;
        bool bySize;
        int x, y;
    };
    const Case cases[] = {
        {600, 300, 400, 400, 0, false, 400, 200},
        {600, 300, 400, 400, 0, true, 600, 300},
        {300, 600, 400, 500, 50, false, 225, 450},  // the tabs take 50 of 500
        {600, 30, 400, 400, 0, false, 1600, 150},    // at least 150 high, at most 1600 wide
        {0, 300, 400, 400, 0, false, 200, 400},      // no width: the shortest, then fitted
        {0, 300, 400, 400, 0, true, 150, 300},       // only clamped
        {4000, 4000, 400, 400, 0, true, 1600, 1600},
        // Fitted again 401 × 201 would be 399 × 200, and that 401 × 201: the smaller is kept.
        {600, 301, 400, 400, 0, false, 399, 200},
        {401, 201, 400, 400, 0, false, 399, 200},
    };
    QStringList lines = FixtureLines(QStringLiteral("v28.kvf"));
    const int x = static_cast<int>(lines.indexOf(QStringLiteral("ScaleX"))) + 2;
    const int y = static_cast<int>(lines.indexOf(QStringLiteral("ScaleY"))) + 2;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.storedX * 10000 + c.storedY);
        lines[x] = QStringLiteral("0 ") + QString::number(c.storedX) + QStringLiteral(" x");
        lines[y] = QStringLiteral("0 ") + QString::number(c.storedY) + QStringLiteral(" y");
        ProgramState.GraphPixelHeight = c.pixelHeight;
        ProgramState.GraphMaxHeight = c.maxHeight;
        host_.PageControl = c.pageControl;
        ProgramSettings.AreaSizeByFile = c.bySize ? 1 : 0;
        ASSERT_TRUE(OpenLines(QStringLiteral("area"), lines));
        EXPECT_EQ(GraphScale.XAxis.VHigh, c.x);
        EXPECT_EQ(GraphScale.YAxis.VHigh, c.y);
        EXPECT_EQ(GraphScale.XAxis.Vlow, 0);
        // Saved and opened again on the same screen, it keeps its size.
        ASSERT_TRUE(SaveAs(QStringLiteral("again")));
        ASSERT_TRUE(Open(QStringLiteral("again")));
        EXPECT_EQ(GraphScale.XAxis.VHigh, c.x);
        EXPECT_EQ(GraphScale.YAxis.VHigh, c.y);
    }
}

// Stored 600 × 300 and shown 400 high: 400 × 200, and the stickers move with it.
TEST_F(ProjectFileTest, StickersMoveWithTheFittedArea)
{
    QStringList lines = FixtureLines(QStringLiteral("v24.kvf"));
    lines[lines.indexOf(QStringLiteral("ScaleX")) + 2] = QStringLiteral("0 600 x");
    lines[lines.indexOf(QStringLiteral("ScaleY")) + 2] = QStringLiteral("0 300 y");
    ProgramState.GraphPixelHeight = ProgramState.GraphMaxHeight = 400;
    host_.PageControl = 0;
    ASSERT_TRUE(OpenLines(QStringLiteral("area"), lines));
    EXPECT_EQ(GraphScale.XAxis.VHigh, 400);
    EXPECT_EQ(GraphScale.YAxis.VHigh, 200);
    EXPECT_EQ(PanelLayout.StickerPlaces[1], (TStickerPlace{200, 100, 0}));
    EXPECT_EQ(PanelLayout.StickerPlaces[2], (TStickerPlace{13, 20, 1}));
}

} // namespace
