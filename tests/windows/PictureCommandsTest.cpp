// The graph leaving the program from the windows, as a user asks for it:
// "Salvar Imagem", the picture series, the copy button and its menu, Ctrl+C
// and Ctrl+P, printing and its setup, and the About window.
#include "WindowTestKit.h"

#include "model/ProgramState.h"
#include "model/Settings.h"
#include "render/view/Scale.h"
#include "session/PictureExport.h"
#include "windows/ConsolePictures.h"
#include "windows/ToolIcons.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

class PictureCommandsTest : public WindowTest {
protected:
    QTemporaryDir dir_;

    void SetUp() override
    {
        StartProgram();
        SetFunctionFormula(1, QStringLiteral("x^2/4-1"));
    }
    QString PathOf(const QString& name) const { return dir_.filePath(name); }
    QAction* Item(const char* name) { return Find<QAction>(Console(), name); }
    QToolButton* Button(const char* name) { return Find<QToolButton>(Console(), name); }
    QSize GraphPictureSize() const { return {GraphScale.XAxis.VHigh + 1, GraphScale.YAxis.VHigh + 1}; }
    void Key(Qt::Key key)
    {
        QTest::keyClick(&Graph(), key, Qt::ControlModifier);
        ProcessEvents();
    }
    static QImage IconPicture(const QIcon& icon) { return icon.pixmap(16, 16).toImage(); }
};

// From the menu and from the toolbar: the picture of the graph as it is on
// screen, with its axis strips, at the graph picture's size.
TEST_F(PictureCommandsTest, SaveImageWritesTheGraphAsOnScreen)
{
    files.queueAnswer(PathOf(QStringLiteral("menu")), 4);
    Item("nsaveBmp")->trigger();
    files.queueAnswer(PathOf(QStringLiteral("barra.jpg")), 1);
    Button("tbSaveImage")->click();
    const QImage png(PathOf(QStringLiteral("menu.png")));
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.size(), GraphPictureSize());
    EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32), Graph().CaptureGraphImage());
    EXPECT_EQ(QImage(PathOf(QStringLiteral("barra.bmp"))).size(), GraphPictureSize());
    EXPECT_EQ(files.requests().back().caption, QStringLiteral("Salvar Imagem"));
    EXPECT_TRUE(messages.empty());
}

// The series button is down with its recording picture while a series
// runs; every redraw writes a picture; a single save, or a new document,
// stops it and puts the button back.
TEST_F(PictureCommandsTest, TheSeriesButtonShowsTheSeriesUntilItStops)
{
    QToolButton* series = Button("tbSaveMovie");
    const QImage stopped = IconPicture(series->icon());
    files.queueAnswer(PathOf(QStringLiteral("passo")), 4);
    series->click();
    ASSERT_TRUE(PictureExport.ExportState);
    EXPECT_TRUE(series->isChecked());
    EXPECT_EQ(IconPicture(series->icon()), IconPicture(ToolIconFor(ToolIcon::Recording)));
    EXPECT_EQ(messages.last().kind, 2);
    SetFunctionFormula(2, QStringLiteral("2x"));
    SetFunctionFormula(3, QStringLiteral("-x"));
    for (const char* name : {"passo000.png", "passo001.png"})
        EXPECT_EQ(QImage(PathOf(QString::fromLatin1(name))).size(), GraphPictureSize()) << name;

    // The file menu shows it checked.
    QMenu* file = Console().findChild<QMenu*>(QStringLiteral("fileMenu1"));
    Q_EMIT file->aboutToShow();
    EXPECT_TRUE(Item("nsavemovie")->isChecked());

    files.queueAnswer(PathOf(QStringLiteral("um")), 4);
    Item("nsaveBmp")->trigger();
    EXPECT_FALSE(series->isChecked());
    EXPECT_EQ(IconPicture(series->icon()), stopped);
    Q_EMIT file->aboutToShow();
    EXPECT_FALSE(Item("nsavemovie")->isChecked());

    files.queueAnswer(PathOf(QStringLiteral("outro")), 4);
    Item("nsavemovie")->trigger();
    ASSERT_TRUE(series->isChecked());
    messages.scriptAnswers({true});
    Item("Init1")->trigger();
    ProcessEvents();
    EXPECT_FALSE(PictureExport.ExportState) << "a new document stops it";
    EXPECT_FALSE(series->isChecked());
}

TEST_F(PictureCommandsTest, TheCopyButtonCopiesInTheKeptModeAndItsMenuChangesIt)
{
    QToolButton* capture = Button("tbCapture");
    ASSERT_NE(capture->menu(), nullptr);
    QStringList items;
    for (QAction* item : capture->menu()->actions())
        items << item->objectName() + u'=' + item->text() + u'=' + item->data().toString();
    EXPECT_EQ(items, (QStringList{QStringLiteral("NGraph=Gráfico(captura)=0"), QStringLiteral("NKaviro=Todo KAVIRO=3"),
                                  QStringLiteral("Ncolor=Gráfico(Alta-res Côr)=10"),
                                  QStringLiteral("NBW=Gráfico(Alta-res P/B)=11")}));
    // Mode 10 at the start: the metafile and its picture.
    capture->click();
    EXPECT_TRUE(capture->isDown()) << "pressed a moment";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !capture->isDown(); }, 2000));
    EXPECT_EQ(clipboard.formats(), (QStringList{QStringLiteral("image/emf"), QStringLiteral("image/x-emf"),
                                                QStringLiteral("image/png")}));
    // Both windows, side by side, as they are: nothing moves.
    const QPoint panelAt = Console().pos();
    capture->menu()->actions()[1]->trigger();
    EXPECT_EQ(ProgramSettings.CopyMode, 3);
    EXPECT_EQ(Console().pos(), panelAt);
    EXPECT_EQ(clipboard.image().width(), Graph().width() + Console().width());
    capture->click();
    EXPECT_EQ(clipboard.writes(), 3);
    EXPECT_EQ(clipboard.image().width(), Graph().width() + Console().width());
    // The graph's menu copies in the kept mode too.
    capture->menu()->actions()[0]->trigger();
    Graph().MnCapture->trigger();
    EXPECT_EQ(clipboard.image().size(), GraphPictureSize());
}

// Ctrl+C copies the graph as captured whatever the kept mode; Ctrl+P, the
// graph's menu, the file menu and the toolbar open the print dialog.
TEST_F(PictureCommandsTest, TheKeysMenusAndButtonsReachCopyAndPrint)
{
    ProgramSettings.CopyMode = 11;
    Key(Qt::Key_C);
    EXPECT_EQ(clipboard.image().size(), GraphPictureSize());
    EXPECT_TRUE(clipboard.formats().isEmpty());

    Key(Qt::Key_P);
    QTest::keyRelease(&Graph(), Qt::Key_P, Qt::ControlModifier);
    Graph().MnPrint->trigger();
    Item("nprint")->trigger();
    Button("TBPrint")->click();
    int prints = 0;
    for (const QString& dialog : modal.dialogsRun())
        prints += dialog == QStringLiteral("Dprint");
    EXPECT_EQ(prints, 4);
    EXPECT_EQ(printer.jobsBegun(), 0) << "the dialog was left with \"Sair\"";

    Item("nprintoption")->trigger();
    EXPECT_EQ(printerSetup.shown(), 1);
    Item("version1")->trigger();
    EXPECT_EQ(modal.dialogsRun().back(), QStringLiteral("version"));
}

TEST_F(PictureCommandsTest, TheFileMenuOffersTheSamplesWhenTheyAreThere)
{
    QMenu* file = Console().findChild<QMenu*>(QStringLiteral("fileMenu1"));
    for (bool there : {false, true}) {
        ProgramState.ProgramDir = dir_.path() + u'/';
        if (there) {
            ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("sample")));
        }
        Q_EMIT file->aboutToShow();
        EXPECT_EQ(Item("OpenSample")->isEnabled(), there);
    }
}

} // namespace
