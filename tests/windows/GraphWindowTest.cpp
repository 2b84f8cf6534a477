// The graph window: its layout and resizing, the palette's sheets, the tool
// buttons, the keys and closing.
#include "WindowTestKit.h"

#include "dialogs/QtDialogServices.h"

#include "dialogs/CalcForm.h"
#include "model/DocumentState.h"
#include "model/History.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "model/Settings.h"
#include "render/view/Scale.h"
#include "session/ProjectFile.h"
#include "session/StoreOperations.h"
#include "session/ViewHistory.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QFile>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

namespace {

class GraphWindowTest : public WindowTest {
protected:
    // The window's client area resized, as the user would drag its frame.
    void ResizeClient(int width, int height)
    {
        Graph().resize(width, height);
        ProcessEvents();
    }
    // A client height that leaves the graph h pixels high.
    int ClientHeightFor(int h)
    {
        return h + 8 + Graph().PageControlHeight() + Graph().SBar->sizeHint().height();
    }
    QStringList TabTexts()
    {
        QStringList texts;
        const QTabWidget* pages = Graph().PageControl;
        for (int i = 0; i < pages->count(); ++i)
            if (pages->isTabVisible(i))
                texts << pages->tabText(i);
        return texts;
    }
    // Function 1 set to the text through the store, with its undo point.
    static void StoreFunction(const QString& text)
    {
        TEquationFunction f = DocumentTables.Functions[1];
        f.Func.Text = text;
        SetYfx(1, f);
    }
    static QString FunctionText() { return DocumentTables.Functions[1].Func.Text; }
    // The keys go to the graph window as the active window.
    void Activate()
    {
        Graph().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Graph()));
    }
    void CtrlKey(Qt::Key key, bool release = true)
    {
        QTest::keyPress(&Graph(), key, Qt::ControlModifier);
        if (release)
            QTest::keyRelease(&Graph(), key, Qt::ControlModifier);
    }
};

TEST_F(GraphWindowTest, TheGraphKeepsWithinItsBoundsWhenTheWindowIsResized)
{
    StartProgram();
    const struct {
        int clientWidth, graphHeight;
        int xPixels, yPixels;
    } cases[] = {
        {108, 400, 150, 400},   // 100 wide
        {1708, 400, 1600, 400}, // 1700 wide
        {508, 100, 500, 150},
        {508, 1700, 500, 1600},
    };
    for (const auto& c : cases) {
        ResizeClient(c.clientWidth, ClientHeightFor(c.graphHeight));
        EXPECT_EQ(GraphScale.XAxis.VHigh, c.xPixels) << c.clientWidth;
        EXPECT_EQ(GraphScale.YAxis.VHigh, c.yPixels) << c.graphHeight;
        EXPECT_EQ(Graph().GImage->size(), QSize(c.xPixels + 1, c.yPixels + 1));
        for (const TBitmap& image : GraphScale.GraphImages)
            EXPECT_EQ(image.Image().size(), QSize(c.xPixels + 1, c.yPixels + 1));
        // The window is fitted around the graph.
        EXPECT_EQ(Graph().width(), c.xPixels + 8);
    }
}

TEST_F(GraphWindowTest, WideningTheGraphKeepsTheScale)
{
    StartProgram();
    ResizeClient(408, ClientHeightFor(400));
    ASSERT_EQ(GraphScale.XAxis.VHigh, 400);
    GraphScale.XAxis.Number = 7;
    GraphScale.SetRange(GraphScale.GraphImages, {{-5.0L, -5.0L}, {5.0L, 5.0L}});
    ResizeClient(608, ClientHeightFor(400));
    EXPECT_EQ(GraphScale.XAxis.VHigh, 600);
    EXPECT_EQ(GraphScale.XAxis.Low, -7.5L);
    EXPECT_EQ(GraphScale.XAxis.High, 7.5L);
    EXPECT_EQ(GraphScale.XAxis.Number, 10); // 10.5 rounds to even
    EXPECT_EQ(GraphScale.YAxis.Low, -5.0L);
    EXPECT_EQ(GraphScale.YAxis.High, 5.0L);
}

TEST_F(GraphWindowTest, AFixedAreaKeepsItsRangeOverANewSize)
{
    StartProgram();
    ResizeClient(408, ClientHeightFor(400));
    GraphScale.SetRange(GraphScale.GraphImages, {{-5.0L, -5.0L}, {5.0L, 5.0L}});
    Options.AreaFixed = 1;
    ResizeClient(608, ClientHeightFor(400));
    EXPECT_EQ(GraphScale.XAxis.VHigh, 600);
    EXPECT_EQ(GraphScale.XAxis.Low, -5.0L);
    EXPECT_EQ(GraphScale.XAxis.High, 5.0L);
}

TEST_F(GraphWindowTest, TheScaleAndToolSheetsJoinFrom430Pixels)
{
    StartProgram();
    const struct {
        int clientWidth;
        QStringList tabs;
    } cases[] = {
        {430, {QStringLiteral("  Area / Escala  "), QStringLiteral("  Fundo / Ferramenta  ")}},
        {429, {QStringLiteral("Area"), QStringLiteral("Escala"), QStringLiteral("Fundo"), QStringLiteral("Ferramenta")}},
        {600, {QStringLiteral("  Area / Escala  "), QStringLiteral("  Fundo / Ferramenta  ")}},
    };
    for (const auto& c : cases) {
        ResizeClient(c.clientWidth, ClientHeightFor(400));
        ASSERT_EQ(Graph().width(), c.clientWidth);
        EXPECT_EQ(TabTexts(), c.tabs) << c.clientWidth;
        const bool joined = c.tabs.size() == 2;
        EXPECT_EQ(Graph().panelscale->parentWidget(), joined ? Graph().AreaSheet : Graph().TabSheet2);
        EXPECT_EQ(Graph().panelTool->parentWidget(), joined ? Graph().TabSheet3 : Graph().TabSheet1);
    }
    // An active sheet whose tab goes passes to its host.
    ResizeClient(429, ClientHeightFor(400));
    Graph().PageControl->setCurrentWidget(Graph().TabSheet2);
    ResizeClient(430, ClientHeightFor(400));
    EXPECT_EQ(Graph().PageControl->currentWidget(), Graph().AreaSheet);
}

TEST_F(GraphWindowTest, TheAxisStripsShowWhenTheAxesAreAtTheBorder)
{
    StartProgram();
    ResizeClient(408, ClientHeightFor(400));
    EXPECT_TRUE(Graph().panelYaxis->isHidden());
    EXPECT_TRUE(Graph().panelXAxis->isHidden());
    // The origin to the lower left: the y strip left of the graph, the x strip below.
    GraphScale.SetRange(GraphScale.GraphImages, {{1.0L, 1.0L}, {11.0L, 11.0L}});
    ProcessEvents();
    EXPECT_FALSE(Graph().panelYaxis->isHidden());
    EXPECT_FALSE(Graph().panelXAxis->isHidden());
    EXPECT_EQ(Graph().panelYaxis->x(), 0);
    EXPECT_EQ(Graph().PanelGraph->x(), Graph().panelYaxis->width());
    EXPECT_EQ(Graph().panelXAxis->y(), Graph().PanelGraph->height());
    EXPECT_EQ(Graph().width(), Graph().panelYaxis->width() + GraphScale.XAxis.VHigh + 8);
    // The origin to the upper right: the strips right of and above the graph.
    GraphScale.SetRange(GraphScale.GraphImages, {{-11.0L, -11.0L}, {-1.0L, -1.0L}});
    ProcessEvents();
    EXPECT_EQ(Graph().PanelGraph->x(), 0);
    EXPECT_EQ(Graph().panelYaxis->x(), Graph().PanelGraph->width());
    EXPECT_EQ(Graph().panelXAxis->y(), 0);
    EXPECT_EQ(Graph().PanelGraph->y(), Graph().panelXAxis->height());
}

TEST_F(GraphWindowTest, TheDisplayLevelButtonCyclesTheAxesMarks)
{
    StartProgram();
    const auto flags = [](const ScaleSubT& a) {
        return std::array<int, 4>{a.AxesVisible, a.GuideVisible, a.ValueVisible, a.ScaleVisible};
    };
    const struct {
        int from;
        Qt::KeyboardModifiers modifiers;
        std::array<int, 4> expected;
    } cases[] = {
        {4, {}, {0, 0, 0, 0}},
        {0, Qt::ShiftModifier, {1, 1, 1, 1}},
        {0, {}, {1, 0, 0, 0}},
        {2, {}, {1, 1, 1, 0}},
        {2, Qt::ShiftModifier, {1, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        for (ScaleSubT* axis : {&GraphScale.XAxis, &GraphScale.YAxis}) {
            axis->AxesVisible = c.from >= 1;
            axis->GuideVisible = c.from >= 2;
            axis->ValueVisible = c.from >= 3;
            axis->ScaleVisible = c.from >= 4;
        }
        Click(Graph().btnSon, {}, Qt::LeftButton, c.modifiers);
        EXPECT_EQ(flags(GraphScale.XAxis), c.expected) << c.from;
        EXPECT_EQ(flags(GraphScale.YAxis), c.expected) << c.from;
    }
}

TEST_F(GraphWindowTest, TheLabelSizeButtonStepsThroughFourSizes)
{
    StartProgram();
    const struct {
        int from;
        Qt::KeyboardModifiers modifiers;
        int size, axisWidth;
    } cases[] = {
        {12, {}, 18, 1}, {18, {}, 24, 2}, {24, {}, 32, 3}, {32, {}, 12, 1},
        {12, Qt::ShiftModifier, 32, 3}, {24, Qt::ShiftModifier, 18, 1}, {15, {}, 18, 1},
    };
    for (const auto& c : cases) {
        ProgramState.FontSize = c.from;
        Click(Graph().sbLsize, {}, Qt::LeftButton, c.modifiers);
        EXPECT_EQ(ProgramState.FontSize, c.size) << c.from;
        EXPECT_EQ(GraphScale.AxisWidth, c.axisWidth) << c.from;
    }
}

TEST_F(GraphWindowTest, TheDivisionButtonsChangeDivisionsOrTheLabelInterval)
{
    StartProgram();
    ResizeClient(408, ClientHeightFor(400));
    GraphScale.SetRange(GraphScale.GraphImages, {{-5.0L, -5.0L}, {5.0L, 5.0L}});
    ScaleSubT& x = GraphScale.XAxis;
    const int number = x.Number;
    Click(Graph().btnXn);
    EXPECT_GT(x.Number, number);
    Click(Graph().btnXW);
    Click(Graph().btnXW);
    EXPECT_LT(x.Number, number);

    // With Ctrl the label interval: never below 1, never above 10 nor half
    // the graph's length in ticks.
    x.LInterval = 1;
    Click(Graph().btnXn, {}, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(x.LInterval, 1);
    for (int i = 0; i < 20; ++i)
        Click(Graph().btnXW, {}, Qt::LeftButton, Qt::ControlModifier);
    const int ticks = static_cast<int>((x.VHigh / 2) / (x.CalcTickStep() * x.PixelsPerUnit));
    EXPECT_EQ(x.LInterval, std::min(10, std::max(1, ticks)));
    // Ticks wider than half the graph: the interval stays 1.
    x.Number = 1;
    GraphScale.SetRange(GraphScale.GraphImages, {{-5.0L, -5.0L}, {5.0L, 5.0L}});
    x.LInterval = 1;
    Click(Graph().btnXW, {}, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(x.LInterval, 1);

    // A polar view steps its angle count on the y buttons.
    Options.AxisType = 1;
    GraphScale.PolorNum = 12;
    Click(Graph().btnYn);
    EXPECT_EQ(GraphScale.PolorNum, 18);
    Click(Graph().btnYW);
    Click(Graph().btnYW);
    EXPECT_EQ(GraphScale.PolorNum, 9);
    // A count read from a file that the table lacks steps to its neighbours.
    GraphScale.PolorNum = 7;
    Click(Graph().btnYn);
    EXPECT_EQ(GraphScale.PolorNum, 8);
    GraphScale.PolorNum = 7;
    Click(Graph().btnYW);
    EXPECT_EQ(GraphScale.PolorNum, 6);
}

TEST_F(GraphWindowTest, TheAxisButtonPutsTheAxesOnTheBorder)
{
    StartProgram();
    Click(Graph().tbAxisOn);
    EXPECT_EQ(GraphScale.AxisOn, 1);
    EXPECT_FALSE(Graph().panelYaxis->isHidden());
    Click(Graph().tbAxisOn);
    EXPECT_EQ(GraphScale.AxisOn, 0);
    EXPECT_TRUE(Graph().panelYaxis->isHidden());
}

TEST_F(GraphWindowTest, TheCalculatorButtonShowsOrClosesTheCalculator)
{
    StartProgram();
    QWidget* calc = forms.CalcForm.get();
    ASSERT_TRUE(calc->isHidden());
    Click(Graph().sbcalc);
    EXPECT_FALSE(calc->isHidden());
    Click(Graph().sbcalc);
    EXPECT_TRUE(calc->isHidden());
}

TEST_F(GraphWindowTest, ChangingThePageGivesUpTheAreaTools)
{
    StartProgram();
    int clicks = 0;
    QObject::connect(Graph().sbtnwide, &QToolButton::clicked, [&clicks] { ++clicks; });
    Click(Graph().sbtnwide);
    Click(Graph().sbtnzoom);
    EXPECT_TRUE(Graph().sbtnzoom->isChecked());
    EXPECT_FALSE(Graph().sbtnwide->isChecked()); // one tool at a time
    Click(Graph().sbtnzoom);
    EXPECT_FALSE(Graph().sbtnzoom->isChecked()); // and all may be up
    Click(Graph().sbtnwide);
    Graph().PageControl->setCurrentWidget(Graph().TabSheet3);
    EXPECT_FALSE(Graph().sbtnwide->isChecked());
    EXPECT_EQ(clicks, 3); // the mouse work hears of it as a click
}

TEST_F(GraphWindowTest, AHeldCtrlShortcutRunsOnceUntilReleased)
{
    StartProgram();
    StoreFunction(QStringLiteral("x"));
    StoreFunction(QStringLiteral("x^2"));
    StoreFunction(QStringLiteral("x^3"));
    ASSERT_EQ(FunctionText(), QStringLiteral("x^3"));
    Activate();
    CtrlKey(Qt::Key_Z, false);
    CtrlKey(Qt::Key_Z, false); // held: swallowed
    EXPECT_EQ(FunctionText(), QStringLiteral("x^2"));
    QTest::keyRelease(&Graph(), Qt::Key_Z, Qt::ControlModifier);
    CtrlKey(Qt::Key_Z);
    EXPECT_EQ(FunctionText(), QStringLiteral("x"));
    CtrlKey(Qt::Key_Y);
    EXPECT_EQ(FunctionText(), QStringLiteral("x^2"));

    // Ctrl+O answered Cancel: its release went to the dialog, but the window
    // lost the focus meanwhile.
    files.queueAnswer(std::nullopt);
    CtrlKey(Qt::Key_O, false);
    EXPECT_EQ(files.requests().size(), 1u);
    EXPECT_TRUE(Graph().KeyLatch);
    Console().activateWindow(); // where the dialog would have been
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Console()));
    EXPECT_FALSE(Graph().KeyLatch);
    Activate();
    CtrlKey(Qt::Key_Z);
    EXPECT_EQ(FunctionText(), QStringLiteral("x"));
}

// Ctrl+S and Ctrl+O open their choosers every time: the chooser, shown as
// the program shows it, takes the key's release, and the latch goes when
// the chooser closes.
TEST_F(GraphWindowTest, CtrlSAndCtrlOWorkEveryTimeThroughTheirChoosers)
{
    StartProgram();
    QtFileChooser chooser;
    platform::ScopedFileChooser useChooser(chooser);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("aula.kvf"));
    // The chooser is answered with the path; the key goes up while it is open.
    const auto answerChooser = [&](const char* name, Qt::Key key) {
        modal.queueAnswer(QString::fromLatin1(name), [path, key](QObject& dialog) {
            auto& files = static_cast<QFileDialog&>(dialog);
            QTest::keyRelease(&files, key, Qt::ControlModifier);
            files.selectFile(path);
            QMetaObject::invokeMethod(&files, "accept");
            return files.result();
        });
    };
    const struct {
        Qt::Key key;
        const char* chooser;
    } rounds[] = {{Qt::Key_S, "DlgSave"}, {Qt::Key_O, "DlgOpen"}, {Qt::Key_O, "DlgOpen"}, {Qt::Key_O, "DlgOpen"}};
    std::size_t run = 0;
    Activate();
    for (const auto& r : rounds) {
        SCOPED_TRACE(run);
        // A new document each time, so that Ctrl+S asks for a name.
        ProjectFile.FileName.clear();
        answerChooser(r.chooser, r.key);
        QTest::keyPress(&Graph(), r.key, Qt::ControlModifier);
        ProcessEvents();
        ASSERT_EQ(modal.dialogsRun().size(), ++run);
        EXPECT_EQ(modal.dialogsRun().back(), QString::fromLatin1(r.chooser));
        EXPECT_FALSE(Graph().KeyLatch);
        EXPECT_EQ(ProjectFile.FileName + ProjectFile.Extension, path);
    }
    EXPECT_EQ(modal.pendingAnswers(), 0);
    // A key still held after its chooser closed repeats: no second chooser.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_O, Qt::ControlModifier, QString(), true);
    QCoreApplication::sendEvent(&Graph(), &repeat);
    EXPECT_EQ(modal.dialogsRun().size(), run);
}

TEST_F(GraphWindowTest, AltWithAnArrowGoesToTheDataPanel)
{
    StartProgram();
    Activate();
    QTest::keyClick(&Graph(), Qt::Key_Down, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&Console()));
    // A plain arrow stays with the graph.
    Activate();
    QTest::keyClick(&Graph(), Qt::Key_Down);
    EXPECT_TRUE(Graph().isActiveWindow());
}

TEST_F(GraphWindowTest, AProjectDroppedOnTheWindowIsOpened)
{
    StartProgram();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral(KAVIRO_WINDOWS_TEST_DATA "/sample.kvf"))});
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&Graph(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&Graph(), &drop);
    EXPECT_TRUE(ProjectFile.FileName.endsWith(QStringLiteral("sample")));
    EXPECT_EQ(Graph().windowTitle(), QStringLiteral("KAVIRO : sample"));
}

TEST_F(GraphWindowTest, CtrlSSavesAndCtrlOOpens)
{
    StartProgram();
    const QString path = QDir::temp().filePath(QStringLiteral("kaviro-graphwindow-test.kvf"));
    QFile::remove(path);
    StoreFunction(QStringLiteral("x^2"));
    Activate();
    files.queueAnswer(path);
    CtrlKey(Qt::Key_S);
    EXPECT_TRUE(QFile::exists(path));
    StoreFunction(QStringLiteral("x^3"));
    messages.scriptAnswers({true}); // "Limpar dado atual com [OK]"
    files.queueAnswer(path);
    CtrlKey(Qt::Key_O);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.last().text, QStringLiteral("Limpar dado atual com [OK]"));
    EXPECT_EQ(FunctionText(), QStringLiteral("x^2"));
    QFile::remove(path);
}

TEST_F(GraphWindowTest, ClosingAsksOnlyWhenSomethingWouldBeLost)
{
    StartProgram();
    const auto close = [this] {
        QCloseEvent event;
        QCoreApplication::sendEvent(&Graph(), &event);
        return event.isAccepted();
    };
    // An unchanged document closes without a question.
    EXPECT_TRUE(Graph().FormCloseQuery());
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(store.keyExists(RegKeyState));

    StoreFunction(QStringLiteral("x^2"));
    store.deleteKey(RegKeyState);
    messages.scriptAnswers({false});
    EXPECT_FALSE(close());
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.last().text, QStringLiteral("Sair com [OK]"));
    EXPECT_EQ(messages.last().kind, 0);
    EXPECT_EQ(messages.last().buttons, 12);
    EXPECT_TRUE(store.keyExists(RegKeyState)); // written all the same
    EXPECT_TRUE(Graph().isVisible());
    messages.scriptAnswers({true});
    EXPECT_TRUE(Graph().FormCloseQuery());
}

TEST_F(GraphWindowTest, ResetToolsPutsThePaletteBackToItsStart)
{
    StartProgram();
    Graph().PageControl->setCurrentWidget(Graph().TabSheet3);
    Graph().sbShowPosition->setChecked(true);
    Graph().sbShowEquation->setChecked(true);
    Graph().SetBackgroundSource(TGraphAreaForm::BackgroundFromClipboard);
    Graph().SetStretchMode(3);
    Graph().SetFileCaption(QStringLiteral("/tmp/aula"));
    GraphScale.AxisOn = 1;
    Graph().ResetTools();
    EXPECT_EQ(Graph().PageControl->currentWidget(), Graph().AreaSheet);
    EXPECT_FALSE(Graph().sbShowPosition->isChecked());
    EXPECT_FALSE(Graph().sbShowEquation->isChecked());
    EXPECT_TRUE(Graph().tbAxisOn->isChecked());
    EXPECT_EQ(Graph().BackgroundSource(), TGraphAreaForm::BackgroundFromFile);
    EXPECT_EQ(TGraphAreaForm::ButtonImage(Graph().SbbImgepast), 0);
    EXPECT_EQ(TGraphAreaForm::ButtonImage(Graph().sbStretch), 10);
    EXPECT_EQ(Graph().windowTitle(), QStringLiteral("KAVIRO"));
}

TEST_F(GraphWindowTest, TheCapturedPictureIsTheGraphAsShown)
{
    StartProgram({QStringLiteral(KAVIRO_WINDOWS_TEST_DATA "/sample.kvf")});
    const QImage picture = Graph().CaptureGraphImage();
    EXPECT_EQ(picture.size(), Graph().GImage->size());
    const QImage& graph = GraphScale.GraphImages[0].Image();
    int same = 0;
    for (int y = 10; y < 200; y += 7)
        for (int x = 10; x < 200; x += 7)
            same += picture.pixel(x + 4, y + 4) == graph.pixel(x, y);
    EXPECT_EQ(same, 28 * 28);
}

TEST_F(GraphWindowTest, TheCaptionNamesTheProject)
{
    StartProgram();
    Graph().SetFileCaption(QStringLiteral("/tmp/aula/parabola"));
    EXPECT_EQ(Graph().windowTitle(), QStringLiteral("KAVIRO : parabola"));
    Graph().SetFileCaption(QString());
    EXPECT_EQ(Graph().windowTitle(), QStringLiteral("KAVIRO"));
}

TEST_F(GraphWindowTest, HintsShowAsTooltipsAndInTheStatusBar)
{
    StartProgram();
    const struct {
        QToolButton* button;
        const char16_t* hint;
    } cases[] = {
        {Graph().tbUndo, u"Desfazer Domínio"},
        {Graph().tbAxisOn, u"Fora Graduações de Área"},
        {Graph().sbShowEquation, u"Mostrar Expressão"},
        {Graph().sbYvalue, u"Mostrar Valor da Função"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.button->toolTip(), QString::fromUtf16(c.hint));
        QStatusTipEvent tip(c.button->statusTip());
        QCoreApplication::sendEvent(c.button, &tip);
        EXPECT_EQ(Graph().SBarPanel0->text(), QString::fromUtf16(c.hint));
    }
    QTest::mouseMove(Graph().SBar);
    EXPECT_EQ(Graph().SBarPanel1->text(), QStringLiteral(" , "));
}

} // namespace
