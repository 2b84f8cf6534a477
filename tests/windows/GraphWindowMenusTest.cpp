// The graph window's popup menus, auto-hiding palette, stickers and
// background picture.
#include "WindowTestKit.h"

#include "engine/Compiler.h"
#include "model/DocumentState.h"
#include "model/History.h"
#include "model/Options.h"
#include "model/Settings.h"
#include "render/scene/TraceStore.h"
#include "render/view/Scale.h"
#include "session/ProjectFile.h"
#include "session/StoreOperations.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

class GraphWindowMenusTest : public WindowTest {
protected:
    QTemporaryDir dir;

    void OpenGraphMenuAt(QPoint pixel)
    {
        QContextMenuEvent event(QContextMenuEvent::Mouse, pixel, Graph().GImage->mapToGlobal(pixel));
        QCoreApplication::sendEvent(Graph().GImage, &event);
        ProcessEvents();
    }
    QImage GraphPixels() const { return GraphScale.GraphImages[0].Image().copy(); }
    QString PictureFile(const char* name, const char* format)
    {
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::red);
        const QString path = dir.filePath(QString::fromUtf8(name));
        EXPECT_TRUE(picture.save(path, format));
        return path;
    }
    TStickerImage& Sticker(int number) { return *static_cast<TStickerImage*>(Graph().Stickers[number - 1]); }
    // Notes of that many stickers, the last one moved to pos on the graph.
    TStickerImage& PlaceSticker(int number, QPoint pos)
    {
        QStringList notes;
        for (int n = 1; n <= number; ++n)
            notes << QStringLiteral("Nota %1").arg(n) << QString() << QString();
        ShowNotes(notes);
        TStickerImage& sticker = Sticker(number);
        sticker.move(pos);
        EXPECT_TRUE(sticker.isVisible());
        return sticker;
    }
};

TEST_F(GraphWindowMenusTest, TheGraphMenuHoldsItsFourteenItemsInOrder)
{
    StartProgram();
    const QStringList expected = {
        QStringLiteral("Zoom"), QStringLiteral("Construir Traço"), QStringLiteral("Limpar Traços"),
        QStringLiteral("Obter Ponto"), QStringLiteral("Conectar Pontos"),
        QStringLiteral("Propriedades do Objeto Elementar"), QStringLiteral("Propriedades de Reta&&Polígono"),
        QStringLiteral("Propriedades da Função"), QStringLiteral("Propriedades da Relação"),
        QStringLiteral("Propriedades da Curva Parametrizada"), QStringLiteral("Mostrar Coordenadas"),
        QStringLiteral("Mostrar Expressão"), QStringLiteral("Capturar"), QStringLiteral("Imprimir")};
    QStringList captions;
    for (QAction* item : Graph().PopupMenuGraph->actions())
        captions << item->text();
    EXPECT_EQ(captions, expected);
    QStringList zoom;
    for (QAction* item : Graph().MnZoom->actions())
        zoom << item->objectName() + u'=' + item->text();
    EXPECT_EQ(zoom, (QStringList{QStringLiteral("x21=x 2"), QStringLiteral("x51=x 5"), QStringLiteral("x10=x 10"),
                                 QStringLiteral("x1d2=x 1/2"), QStringLiteral("x1d5=x 1/5"),
                                 QStringLiteral("x1d10=x 1/10")}));
    EXPECT_TRUE(Graph().MnGetPoint->actions().isEmpty()); // the mouse work fills it
    EXPECT_TRUE(Graph().MnCapture->isEnabled());
    EXPECT_TRUE(Graph().MnPrint->isEnabled());
}

TEST_F(GraphWindowMenusTest, TheGraphMenuOpensAtTheMouseAndTogglesTheShowButtons)
{
    StartProgram();
    Graph().sbShowEquation->setChecked(true);
    OpenGraphMenuAt(QPoint(30, 40));
    EXPECT_EQ(Graph().LastMousePixel, QPoint(30, 40));
    EXPECT_TRUE(Graph().PopupMenuGraph->isVisible());
    EXPECT_FALSE(Graph().MnShowPosition->isChecked());
    EXPECT_TRUE(Graph().MnShowEquation->isChecked());
    Graph().MnShowPosition->trigger();
    Graph().MnShowEquation->trigger();
    Graph().PopupMenuGraph->hide();
    EXPECT_TRUE(Graph().sbShowPosition->isChecked());
    EXPECT_FALSE(Graph().sbShowEquation->isChecked());
}

TEST_F(GraphWindowMenusTest, TheTraceItemsStampAndClearTheTraces)
{
    StartProgram();
    TEquationFunction line = DocumentTables.Functions[1];
    line.Func.Text = QStringLiteral("x");
    ASSERT_TRUE(PrepareExpression(line.Func, -1));
    SetYfx(1, line);
    const QImage before = GraphScale.GraphImages[1].Image().copy();
    Graph().MnBuildTrace->trigger();
    EXPECT_NE(GraphScale.GraphImages[1].Image(), before);
    Graph().MnClearTraces->trigger();
    EXPECT_EQ(GraphScale.GraphImages[1].Image(), before);
}

TEST_F(GraphWindowMenusTest, TheAutoHidingPaletteComesBackNearTheGraphsTop)
{
    StartProgram();
    const int graphHeight = GraphScale.YAxis.VHigh;
    const int withPalette = Graph().height();
    Graph().pmHideAutoCtrlPalette->popup(QPoint(0, 0));
    EXPECT_TRUE(Graph().MnAlwaysShowPalette->isChecked());
    Graph().pmHideAutoCtrlPalette->hide();
    Graph().MnAutoHidePalette->trigger();
    ProcessEvents();
    EXPECT_EQ(ProgramSettings.ControlPalette, 1);
    EXPECT_EQ(GraphScale.YAxis.VHigh, graphHeight);
    EXPECT_EQ(Graph().height(), withPalette - Graph().PageControlHeight());
    const struct {
        int y;
        bool shown;
    } moves[] = {{200, false}, {9, true}, {150, false}, {10, false}, {0, true}, {150, false}};
    for (const auto& m : moves) {
        QTest::mouseMove(Graph().GImage, QPoint(50, m.y));
        EXPECT_EQ(!Graph().PageControl->isHidden(), m.shown) << m.y;
    }
    Graph().MnAlwaysShowPalette->trigger();
    ProcessEvents();
    QTest::mouseMove(Graph().GImage, QPoint(50, 200));
    EXPECT_FALSE(Graph().PageControl->isHidden());
    EXPECT_EQ(Graph().height(), withPalette);
}

TEST_F(GraphWindowMenusTest, AStickerIsDraggedOnTheGraphAndHandedOnBeyondIt)
{
    StartProgram();
    TStickerImage& sticker = PlaceSticker(1, QPoint(50, 50));
    const QPoint start = sticker.pos();
    QTest::mousePress(&sticker, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(sticker.Opaque);
    QTest::mouseMove(&sticker, QPoint(25, 15));
    EXPECT_EQ(sticker.pos(), start + QPoint(20, 10));
    QTest::mouseRelease(&sticker, Qt::LeftButton, {}, QPoint(25, 15));
    EXPECT_FALSE(sticker.Opaque);
    EXPECT_TRUE(drags.drags().empty());

    // Its centre leaves the graph: a drag-and-drop that lands nowhere, so
    // the data panel takes the sticker.
    QTest::mousePress(&sticker, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(&sticker, QPoint(5 - sticker.x() - 40, 5));
    ASSERT_EQ(drags.drags().size(), 1u);
    EXPECT_EQ(drags.drags()[0].sourceName, QStringLiteral("Sticker1"));
    EXPECT_EQ(sticker.parentWidget(), Console().Panels[6]);
    EXPECT_TRUE(Graph().IsStickerImage(&sticker));
    EXPECT_FALSE(Graph().IsStickerImage(Graph().GImage));

    // From the data panel a press starts the drag at once; dropped on the
    // graph it lies centred on the drop.
    QTest::mousePress(&sticker, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(drags.drags().size(), 2u);
    QMimeData data;
    data.setData(drags.drags()[1].formats.value(0), QByteArray("1"));
    QDragEnterEvent enter(QPoint(100, 80), Qt::MoveAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(Graph().GImage, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(100, 80), Qt::MoveAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(Graph().GImage, &drop);
    EXPECT_EQ(sticker.parentWidget(), Graph().PanelGraph);
    EXPECT_EQ(sticker.pos() + QPoint(sticker.width() / 2, sticker.height() / 2), Graph().GImage->pos() + QPoint(100, 80));
}

TEST_F(GraphWindowMenusTest, StickersTakeNoMouseWhileTheGraphIsDragged)
{
    StartProgram();
    TStickerImage& sticker = PlaceSticker(2, QPoint(20, 20));
    Graph().SetStickersEnabled(false);
    EXPECT_FALSE(sticker.isEnabled());
    EXPECT_TRUE(sticker.Opaque);
    Graph().SetStickersEnabled(true);
    EXPECT_TRUE(sticker.isEnabled());
    EXPECT_FALSE(sticker.Opaque);
}

TEST_F(GraphWindowMenusTest, TheStickerMenuOffersWhatTheNotesAllow)
{
    StartProgram();
    const auto shown = [this] {
        Graph().ShowMemoMenuItems();
        return std::array<bool, 3>{Graph().MnShowMemo->isVisible(), Graph().MnHideMemo->isVisible(),
                                   Graph().MnClearMemo->isVisible()};
    };
    EXPECT_EQ(shown(), (std::array<bool, 3>{false, false, false}));
    PlaceSticker(1, QPoint(10, 10));
    EXPECT_EQ(shown(), (std::array<bool, 3>{false, true, true}));
    Graph().MnHideMemo->trigger();
    EXPECT_EQ(Options.PetaMemoStyle, 0);
    EXPECT_TRUE(Sticker(1).isHidden());
    EXPECT_EQ(shown(), (std::array<bool, 3>{true, false, true}));
    Graph().MnShowMemo->trigger();
    EXPECT_EQ(Options.PetaMemoStyle, 3);
    EXPECT_FALSE(Sticker(1).isHidden());

    // Clearing asks first; on OK an undo point keeps the notes.
    messages.scriptAnswers({false, true});
    Graph().MnClearMemo->trigger();
    EXPECT_EQ(messages.last().text, QStringLiteral("Limpar todos os dados memorizados com [OK]"));
    EXPECT_EQ(DocumentTables.PetaMemoLines.size(), 3);
    const int undoPoints = BackUp.Index();
    Graph().MnClearMemo->trigger();
    EXPECT_TRUE(DocumentTables.PetaMemoLines.isEmpty());
    EXPECT_TRUE(Sticker(1).isHidden());
    EXPECT_EQ(BackUp.Index(), undoPoints + 1);
}

TEST_F(GraphWindowMenusTest, ABackgroundPictureComesFromAFileOrTheClipboard)
{
    StartProgram();
    const QImage plain = GraphPixels();
    const struct {
        QString file;
        bool shown;
    } files_[] = {
        {dir.filePath(QStringLiteral("missing.png")), false},
        {PictureFile("fundo.png", "PNG"), true},
        {PictureFile("fundo.bmp", "BMP"), true},
        {PictureFile("fundo.jpg", "JPG"), true},
    };
    for (const auto& f : files_) {
        Options.BGshown = 0;
        files.queueAnswer(f.file);
        Graph().MnBGFromFile->trigger();
        EXPECT_EQ(Options.BGshown, f.shown ? 1 : 0) << f.file.toStdString();
        EXPECT_EQ(ProjectFile.BGfile, f.file);
        EXPECT_EQ(GraphPixels() != plain, f.shown) << f.file.toStdString();
        Graph().ClearBackground();
    }
    // Windows metafiles and files no reader knows count as missing.
    QFile emf(dir.filePath(QStringLiteral("fundo.emf")));
    ASSERT_TRUE(emf.open(QIODevice::WriteOnly));
    emf.write(QByteArray(" EMF", 4).repeated(40));
    emf.close();
    Graph().LoadBackgroundFile(emf.fileName());
    EXPECT_EQ(Options.BGshown, 0);
    EXPECT_TRUE(messages.empty());

    // The clipboard: nothing there changes nothing; a picture is shown
    // without a file.
    ProjectFile.BGfile = QStringLiteral("antigo.png");
    Graph().MnBGFromClipboard->trigger();
    EXPECT_EQ(Options.BGshown, 0);
    EXPECT_EQ(ProjectFile.BGfile, QStringLiteral("antigo.png"));
    QImage picture(20, 20, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    clipboard.setImage(picture);
    Graph().MnBGFromClipboard->trigger();
    EXPECT_EQ(Options.BGshown, 1);
    EXPECT_TRUE(ProjectFile.BGfile.isEmpty());
    EXPECT_EQ(TGraphAreaForm::ButtonImage(Graph().SbbImgepast), 1);
    // The paste button repeats the source last chosen.
    Graph().ClearBackground();
    Click(Graph().SbbImgepast, QPoint(4, 10));
    EXPECT_EQ(Options.BGshown, 1);
    EXPECT_EQ(files.requests().size(), 4u);

    // "Limpar Fundo": its picture while pressed, and no picture after.
    QTest::mousePress(Graph().sbbImageOff, Qt::LeftButton);
    EXPECT_EQ(TGraphAreaForm::ButtonImage(Graph().sbbImageOff), 3);
    QTest::mouseRelease(Graph().sbbImageOff, Qt::LeftButton);
    EXPECT_EQ(TGraphAreaForm::ButtonImage(Graph().sbbImageOff), 2);
    EXPECT_EQ(Options.BGshown, 0);
    EXPECT_EQ(GraphPixels(), plain);
}

TEST_F(GraphWindowMenusTest, TheStretchMenuSetsTheModeAndTheButtonTogglesIt)
{
    StartProgram();
    const QList<QAction*> items = Graph().pmBGStretch->actions();
    ASSERT_EQ(items.size(), 3);
    Options.BGstretchOn = 0;
    for (int mode = 1; mode <= 3; ++mode) {
        EXPECT_EQ(items[mode - 1]->data().toInt(), mode);
        items[mode - 1]->trigger();
        EXPECT_EQ(Options.BGMode, mode);
        EXPECT_EQ(Options.BGstretchOn, 1);
        EXPECT_EQ(TGraphAreaForm::ButtonImage(Graph().sbStretch), mode + 9);
    }
    Click(Graph().sbStretch, QPoint(4, 10));
    EXPECT_EQ(Options.BGstretchOn, 0);
    Click(Graph().sbStretch, QPoint(4, 10));
    EXPECT_EQ(Options.BGstretchOn, 1);
}

} // namespace
