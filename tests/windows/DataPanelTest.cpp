// The data panel's rows, parameters, dragging and docking, driven through
// the widgets as a user would.
#include "WindowTestKit.h"

#include "DataPanelRecords.h"
#include "model/Figures.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "platform/fakes/FakeClock.h"
#include "render/plot/Figures.h"
#include "render/view/Scale.h"
#include "session/PanelLayout.h"
#include "session/ParameterSteps.h"
#include "session/RowModels.h"
#include "session/StoreOperations.h"
#include "windows/ConsoleDocking.h"
#include "windows/ConsoleDrag.h"

#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollArea>
#include <QSlider>
#include <QTest>
#include <QToolButton>

namespace {

class DataPanelTest : public WindowTest {
protected:
    void SetUp() override { StartProgram(); }

    TParamPanel& Params() { return *Console().Params; }
    TPrmList& Row(int j) { return Params().Rows[j]; }
    QWidget* Panel(int panel) { return Console().Panels[panel - 1]; }
    QWidget* Content() { return Console().ScrollBox1->widget(); }

    // Parameter a in use by y1 with that value and step.
    void UseParamA(long double value, long double step, bool added = true)
    {
        SetYfx(1, Equation(QStringLiteral("a*x")));
        TParameter& a = DocumentTables.Params[1];
        a.Value = value;
        a.Step = step;
        a.AddStep = added ? 1 : 0;
        ShowPrmValueTexts();
        UpdatePrmPanel();
        ProcessEvents();
    }

    // Delivers the drag of a row onto a point of the scroll box's content
    // and its drop there (Qt sends a drop only to the widget that took the
    // drag in).
    void DropRowAt(int panel, int slot, QPoint contentPos)
    {
        std::unique_ptr<QMimeData> data(RowDragData(panel, slot));
        QDragEnterEvent enter(contentPos, Qt::MoveAction, data.get(), Qt::LeftButton, {});
        QApplication::sendEvent(Content(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(contentPos, Qt::MoveAction, data.get(), Qt::LeftButton, {});
        QApplication::sendEvent(Content(), &drop);
        ProcessEvents();
    }
    QPoint CentreInContent(QWidget* w) { return w->mapTo(Content(), w->rect().center()); }
};

TEST_F(DataPanelTest, PanelsFillTheView)
{
    for (QWidget* panel : Console().Panels) {
        if (panel->isVisible()) {
            EXPECT_EQ(panel->width(), Console().ScrollBox1->viewport()->width()) << panel->objectName().toStdString();
        }
    }
}

TEST_F(DataPanelTest, RowsStandInTheirStoredOrder)
{
    for (int i : {1, 3, 2, 4})
        SetYfx(i, Equation(QStringLiteral("x+%1").arg(i)));
    SetYfx(3, Equation(QString()));
    ProcessEvents();
    TMainConsole& c = Console();
    struct Row {
        int slot, top;
    };
    for (const Row& r : {Row{1, 22}, Row{2, 60}, Row{4, 98}}) {
        EXPECT_TRUE(c.YfxRows[r.slot].Image->isVisible()) << r.slot;
        EXPECT_EQ(c.YfxRows[r.slot].Image->y(), r.top) << r.slot;
        EXPECT_EQ(c.YfxRows[r.slot].Button->y(), r.top) << r.slot;
    }
    EXPECT_FALSE(c.YfxRows[3].Image->isVisible());
    // Three rows, a margin and the add button.
    EXPECT_EQ(Panel(PanelFunctions)->height(), RowTop(4) + 4 + 22);
    EXPECT_TRUE(c.AddButtons[PanelFunctions - 1]->isVisible());
    // The panels stack without gaps.
    EXPECT_EQ(Panel(PanelRelations)->y(), Panel(PanelFunctions)->y() + Panel(PanelFunctions)->height());
}

TEST_F(DataPanelTest, LabelsAndHints)
{
    SetYfx(2, Equation(QStringLiteral("x^2")));
    SetCfn(1, Equation(QStringLiteral("x^2+y^2<4"), ModeRelation));
    // Only what the graph draws brings a parameter into use.
    TKavirofunction usr;
    usr.Text = QStringLiteral("x+b");
    PrepareExpression(usr, ModeUserFunction);
    SetUsr(1, usr);
    SetPnt(8, ObjectOf(8, ObjectPoint, QStringLiteral("1"), QStringLiteral("c")));
    SetYfx(3, Equation(QStringLiteral("@*x")));
    ProcessEvents();
    TMainConsole& c = Console();
    struct Label {
        QToolButton* button;
        const char16_t* text;
    };
    for (const Label& l : {Label{c.YfxRows[2].Button, u" y2="}, Label{c.CfnRows[1].Button, u" C1: "},
                           Label{c.UsrRows[1].Button, u"f ="}, Label{c.PntRows[8].Button, u"A"},
                           Label{Row(3).Letter, u"c ="},
                           Label{Row(ThetaParamIndex).Letter, u"\u03B8 ="}})
        EXPECT_EQ(l.button->text(), QString::fromUtf16(l.text));
    // A parameter's label keeps clear of its button's borders.
    for (const QToolButton* letter : {Row(3).Letter, Row(ThetaParamIndex).Letter})
        EXPECT_GE(letter->width(), letter->fontMetrics().horizontalAdvance(letter->text()) + 8);
    EXPECT_TRUE(Row(ThetaParamIndex).Letter->isVisible());
    EXPECT_FALSE(Row(1).Letter->isVisible()) << "a is not used";
    EXPECT_FALSE(Row(2).Letter->isVisible()) << "b only in a user function";
    EXPECT_EQ(c.YfxRows[2].Image->toolTip(), QStringLiteral("Clique : Editar/Deletar , Arrastar : Mover"));
    EXPECT_EQ(c.YfxRows[2].Button->toolTip(), QStringLiteral("Mostrar/Esconder"));
    EXPECT_EQ(Row(2).Fix->toolTip(), QStringLiteral("Fixar/não Fixar"));
    // The picture was typeset: not all white.
    const QImage& picture = c.YfxRows[2].Image->Image;
    ASSERT_FALSE(picture.isNull());
    int inked = 0;
    for (int x = 0; x < 40; ++x)
        for (int y = 0; y < picture.height(); ++y)
            inked += (picture.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
    EXPECT_GT(inked, 20) << "the formula starts at the left";
    // The parameter panel: rows from 24, its height from the rows and strip.
    EXPECT_EQ(Row(3).Letter->y(), 24);
    EXPECT_EQ(Panel(PanelParameters)->height(),
              ParamPanelHeight(RowModels.ParamShownCount, Params().RowHeight(), Params().StripHeight()));
    EXPECT_EQ(RowModels.ParamShownCount, 2);
}

TEST_F(DataPanelTest, TheShowButtonHidesTheRecord)
{
    SetYfx(1, Equation(QStringLiteral("x")));
    ProcessEvents();
    QToolButton* button = Console().YfxRows[1].Button;
    Click(button);
    EXPECT_EQ(DocumentTables.Functions[1].Visible, 0);
    EXPECT_TRUE(button->isChecked());
    EXPECT_EQ(button->palette().color(QPalette::ButtonText), QColor(Qt::white)) << "white while down";
    Click(button);
    EXPECT_EQ(DocumentTables.Functions[1].Visible, 1);
    EXPECT_FALSE(button->isChecked());
}

TEST_F(DataPanelTest, ARowMenuOpensOnARightClick)
{
    SetYfx(1, Equation(QStringLiteral("x")));
    SetPnt(1, ObjectOf(1, ObjectPoint, QStringLiteral("1"), QStringLiteral("2")));
    ProcessEvents();
    std::vector<std::pair<TConsoleRowKind, int>> asked;
    Console().RowMenuRequested = [&](TConsoleRowKind kind, int slot, QPoint) { asked.emplace_back(kind, slot); };
    Click(Console().YfxRows[1].Image, {}, Qt::RightButton);
    Click(Console().PntRows[1].Image, {}, Qt::RightButton);
    Click(Row(1).Letter, {}, Qt::RightButton);
    using P = std::pair<TConsoleRowKind, int>;
    EXPECT_EQ(asked, (std::vector<P>{P{TConsoleRowKind::Function, 1}, P{TConsoleRowKind::Object, 1},
                                     P{TConsoleRowKind::Param, 1}}));
}

TEST_F(DataPanelTest, DraggingARowPictureOntoAnother)
{
    // A, B, C, D at places 1..4.
    for (int k : {8, 9, 10, 11})
        SetPnt(k, ObjectOf(k, ObjectPoint, QString::number(k), QStringLiteral("0")));
    ProcessEvents();
    TMainConsole& c = Console();
    // A press that moves 7 pixels is still a click; 8 start the drag.
    QTest::mousePress(c.PntRows[11].Image, Qt::LeftButton, {}, {10, 10});
    QTest::mouseMove(c.PntRows[11].Image, {14, 13});
    EXPECT_TRUE(drags.drags().empty());
    QTest::mouseMove(c.PntRows[11].Image, {15, 13});
    QTest::mouseRelease(c.PntRows[11].Image, Qt::LeftButton, {}, {15, 13});
    ASSERT_EQ(drags.drags().size(), 1u);
    EXPECT_EQ(drags.drags()[0].formats, QStringList{ConsoleRowMimeType});

    DropRowAt(PanelPoints, 11, CentreInContent(c.PntRows[8].Image));
    struct Place {
        int slot, position;
    };
    for (const Place& p : {Place{11, 1}, Place{8, 2}, Place{9, 3}, Place{10, 4}}) {
        EXPECT_EQ(PanelLayout.PointRows[p.slot].Position, p.position) << p.slot;
        EXPECT_EQ(c.PntRows[p.slot].Image->y(), RowTop(p.position)) << p.slot;
    }
}

TEST_F(DataPanelTest, DraggingAParameterAcrossItsLetter)
{
    SetYfx(1, Equation(QStringLiteral("a*x+b")));
    ProcessEvents();
    ASSERT_EQ(Row(2).Letter->y(), ParamRowTop(2, Params().RowHeight()));
    // Up and down does not drag; more than 10 pixels across does.
    QTest::mousePress(Row(2).Letter, Qt::LeftButton, {}, {5, 5});
    QTest::mouseMove(Row(2).Letter, {5, 30});
    QTest::mouseMove(Row(2).Letter, {15, 30});
    EXPECT_TRUE(drags.drags().empty());
    QTest::mouseMove(Row(2).Letter, {16, 30});
    QTest::mouseRelease(Row(2).Letter, Qt::LeftButton, {}, {16, 30});
    ASSERT_EQ(drags.drags().size(), 1u);
    EXPECT_TRUE(Row(2).StepEdit->isVisible()) << "a drag is no click on the letter";
    DropRowAt(PanelParameters, 2, CentreInContent(Row(1).Letter));
    EXPECT_EQ(Row(2).Letter->y(), ParamRowTop(1, Params().RowHeight()));
    EXPECT_EQ(Row(1).Letter->y(), ParamRowTop(2, Params().RowHeight()));
}

TEST_F(DataPanelTest, DraggingARowElsewhereMovesItsPanel)
{
    SetYfx(1, Equation(QStringLiteral("x")));
    ProcessEvents();
    TMainConsole& c = Console();
    QWidget* functions = Panel(PanelFunctions);
    // Onto the user-function panel, below it: just under that panel.
    DropRowAt(PanelFunctions, 1, CentreInContent(Panel(PanelUserFunctions)));
    EXPECT_EQ(functions->y(), Panel(PanelUserFunctions)->y() + Panel(PanelUserFunctions)->height());
    EXPECT_EQ(Panel(PanelNotes)->y(), functions->y() + functions->height());
    // Onto the relation panel, now above it: to the top.
    DropRowAt(PanelFunctions, 1, CentreInContent(Panel(PanelRelations)));
    EXPECT_EQ(functions->y(), 0);
    // Onto the empty box below the panels: to the end.
    const QPoint below(10, Content()->height() - 2);
    ASSERT_EQ(c.ScrollBox1->widget()->childAt(below), nullptr);
    DropRowAt(PanelFunctions, 1, below);
    int lowest = 0;
    for (QWidget* panel : c.Panels)
        if (panel->isVisible())
            lowest = std::max(lowest, panel->y());
    EXPECT_EQ(functions->y(), lowest);
}

TEST_F(DataPanelTest, StepButtons)
{
    UseParamA(0.9L, 0.1L);
    Click(Row(1).Up);
    EXPECT_EQ(DocumentTables.Params[1].Value, 1.0L);
    EXPECT_EQ(Row(1).Edit->text(), QStringLiteral("1"));
    // The graph of y1 = a x follows (the picture was drawn at a = 1).
    const QImage before = GraphScale.GraphImages[0].Image().copy();
    Click(Row(1).Up);
    EXPECT_NE(GraphScale.GraphImages[0].Image(), before);
    UseParamA(0.9L, 0.1L);
    Click(Row(1).Up, {}, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(Row(1).Edit->text(), QStringLiteral("0.91"));
    // A multiplied step.
    UseParamA(2.0L, 2.0L, false);
    EXPECT_EQ(Row(1).Mode->text(), QStringLiteral("\u00D7"));
    Click(Row(1).Up);
    EXPECT_EQ(Row(1).Edit->text(), QStringLiteral("4"));
    Click(Row(1).Down);
    Click(Row(1).Down);
    EXPECT_EQ(Row(1).Edit->text(), QStringLiteral("1"));
    // Fixed parameters step together.
    SetYfx(2, Equation(QStringLiteral("b*x")));
    UseParamA(1.0L, 0.5L);
    Click(Row(1).Fix);
    Click(Row(2).Fix);
    Click(Row(1).Up);
    EXPECT_EQ(DocumentTables.Params[1].Value, 1.5L);
    EXPECT_EQ(DocumentTables.Params[2].Value, 1.1L);
}

TEST_F(DataPanelTest, AHeldStepButtonRepeatsOnTheClock)
{
    platform::FakeClock clock;
    platform::ScopedClock useClock(clock);
    UseParamA(0.0L, 1.0L);
    Options.ParamRepeatDelay = 500;
    Options.ParamDelay = 80;
    QTest::mousePress(Row(1).Up, Qt::LeftButton, {}, Row(1).Up->rect().center());
    struct Tick {
        int advance;
        long double value;
    };
    for (const Tick& t : {Tick{0, 1}, Tick{499, 1}, Tick{1, 2}, Tick{79, 2}, Tick{1, 3}, Tick{80, 4}}) {
        clock.advance(t.advance);
        Params().PollStepRepeat();
        EXPECT_EQ(DocumentTables.Params[1].Value, t.value) << "after " << clock.tickCount() << " ms";
    }
    QTest::mouseRelease(Row(1).Up, Qt::LeftButton, {}, Row(1).Up->rect().center());
    clock.advance(1000);
    Params().PollStepRepeat();
    EXPECT_EQ(DocumentTables.Params[1].Value, 4.0L) << "released";
    // Without a delay a press gives one step.
    Options.ParamDelay = 0;
    QTest::mousePress(Row(1).Up, Qt::LeftButton, {}, Row(1).Up->rect().center());
    clock.advance(5000);
    Params().PollStepRepeat();
    QTest::mouseRelease(Row(1).Up, Qt::LeftButton, {}, Row(1).Up->rect().center());
    EXPECT_EQ(DocumentTables.Params[1].Value, 5.0L);
}

TEST_F(DataPanelTest, SpeedBar)
{
    UseParamA(1.0L, 0.1L);
    ASSERT_TRUE(Params().TrBar->isVisible());
    struct Case {
        int position, delay;
    };
    for (const Case& c : {Case{10, 80}, Case{1, 152}, Case{0, 0}, Case{20, 1}, Case{19, 8}}) {
        Params().TrBar->setValue(c.position);
        EXPECT_EQ(Options.ParamDelay, c.delay) << c.position;
    }
    Options.ParamDelay = 80;
    Params().ShowSpeedAndTraces();
    EXPECT_EQ(Params().TrBar->value(), 10);
    // No parameter in use, no speed bar.
    SetYfx(1, Equation(QString()));
    ProcessEvents();
    EXPECT_FALSE(Params().TrBar->isVisible());
}

TEST_F(DataPanelTest, StepEditModeAndTable)
{
    UseParamA(1.0L, 0.1L);
    QLineEdit* step = Row(1).StepEdit;
    // A step of 0 is refused.
    step->selectAll();
    Type(step, QStringLiteral("0"));
    QTest::keyClick(step, Qt::Key_Return);
    EXPECT_EQ(step->text(), QStringLiteral("0.1"));
    EXPECT_EQ(DocumentTables.Params[1].Step, 0.1L);
    // The table: 0.1 → 0.2 up; 0.2 → 0.1 → 0.05 down; nothing beyond 1000.
    Click(Row(1).Dup);
    EXPECT_EQ(step->text(), QStringLiteral("0.2"));
    Click(Row(1).DDwn);
    Click(Row(1).DDwn);
    EXPECT_EQ(step->text(), QStringLiteral("0.05"));
    UseParamA(1.0L, 1000.0L);
    Click(Row(1).Dup);
    EXPECT_EQ(DocumentTables.Params[1].Step, 1000.0L);
    // The mode: a factor 1.1 becomes an increment 0.1 and back; a factor 1
    // would become a step of 0 and stays.
    UseParamA(1.0L, 1.1L, false);
    Click(Row(1).Mode);
    EXPECT_EQ(Row(1).Mode->text(), QStringLiteral("+"));
    EXPECT_EQ(ParamStepText(DocumentTables.Params[1].Step), QStringLiteral("0.1"));
    UseParamA(1.0L, 1.0L, false);
    Click(Row(1).Mode);
    EXPECT_EQ(Row(1).Mode->text(), QStringLiteral("\u00D7"));
    EXPECT_EQ(DocumentTables.Params[1].Step, 1.0L);
}

TEST_F(DataPanelTest, TypingIntoTheValueEdit)
{
    UseParamA(1.0L, 0.1L);
    QLineEdit* edit = Row(1).Edit;
    edit->setFocus();
    edit->selectAll();
    Type(edit, QStringLiteral("1/3"));
    EXPECT_EQ(edit->palette().color(QPalette::Text), QColor(0, 0, 255)) << "typed text is blue";
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(edit->text(), QStringLiteral("0.33333333"));
    EXPECT_EQ(edit->palette().color(QPalette::Text), QColor(0, 0, 0));
    // Alt+arrows: right steps up, left down; down goes to the next row.
    SetYfx(2, Equation(QStringLiteral("b*x")));
    UseParamA(1.0L, 0.5L);
    QTest::keyClick(Row(1).Edit, Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(DocumentTables.Params[1].Value, 1.5L);
    QTest::keyClick(Row(1).Edit, Qt::Key_Left, Qt::AltModifier);
    QTest::keyClick(Row(1).Edit, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(DocumentTables.Params[1].Value, 0.5L);
    Console().activateWindow();
    Row(1).Edit->setFocus();
    QTest::keyClick(Row(1).Edit, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(Params().NeighbourRow(1, 1), 2);
    EXPECT_EQ(Params().NeighbourRow(2, -1), 1);
    EXPECT_EQ(Params().NeighbourRow(2, 1), 0);
}

TEST_F(DataPanelTest, TheLetterHidesTheStepControls)
{
    UseParamA(1.0L, 0.1L);
    ASSERT_TRUE(Row(1).StepEdit->isVisible());
    Click(Row(1).Letter);
    EXPECT_FALSE(Row(1).StepEdit->isVisible());
    EXPECT_TRUE(Row(1).Letter->isChecked());
    EXPECT_TRUE(Row(1).Edit->isReadOnly());
    Click(Row(1).Letter);
    EXPECT_TRUE(Row(1).StepEdit->isVisible());
    EXPECT_FALSE(Row(1).Edit->isReadOnly());
}

TEST_F(DataPanelTest, SizesFollowPresentationModeAndWidth)
{
    SetYfx(1, Equation(QStringLiteral("x")));
    EXPECT_EQ(RowMetrics.RowPitch, 38);
    EXPECT_EQ(RowMetrics.ScriptButtonHeight, 29);
    ProgramState.PresentationMode = 1;
    Console().ApplySizes();
    ProcessEvents();
    EXPECT_EQ(RowMetrics.RowPitch, 73);
    EXPECT_EQ(RowModels.Functions.Rows[1].PictureSize, 24) << "pictures typeset at twice the size";
    EXPECT_EQ(Console().YfxRows[1].Image->height(), 71);
    EXPECT_EQ(Console().width(), TMainConsole::PresentationWidth);
    ProgramState.PresentationMode = 0;
    Console().ApplySizes();
    // The parameter strip: two rows below 241 pixels.
    struct Case {
        int width, strip;
    };
    for (const Case& c : {Case{240, 64}, Case{241, 32}}) {
        Console().resize(c.width, 400);
        ProcessEvents();
        EXPECT_EQ(Params().StripHeight(), c.strip) << c.width;
    }
    Console().resize(280, 40);
    ProcessEvents();
    EXPECT_GE(Console().height(), TMainConsole::MinimumHeight);
}

TEST_F(DataPanelTest, ScriptButtonsAndTheNotesPanel)
{
    TMainConsole& c = Console();
    std::vector<TScriptButtonInfo> scripts(21, TScriptButtonInfo{QStringLiteral("s"), true});
    c.BuildScriptButtons(scripts);
    scripts.resize(5);
    scripts[4].Visible = false;
    c.BuildScriptButtons(scripts);
    ProcessEvents();
    ASSERT_EQ(c.ScriptButtons.size(), 21u);
    for (int i = 0; i < 21; ++i)
        EXPECT_EQ(c.ScriptButtons[i]->isVisible(), i < 4) << i + 1;
    EXPECT_EQ(c.ScriptButtons[0]->geometry(), QRect(4, 28, 400, 29));
    EXPECT_EQ(c.ScriptButtons[3]->y(), 28 + 3 * 29);
    EXPECT_EQ(Panel(PanelNotes)->height(), 28 + 4 * 29 + 4);
    int run = -1;
    c.RunScriptButton = [&](int script) { run = script; };
    Click(c.ScriptButtons[2]);
    EXPECT_EQ(run, 2);
}

TEST_F(DataPanelTest, StickersOnTheNotesPanelAndWhileStepping)
{
    // Held step buttons hide the stickers on the graph, also the one the
    // step renders again; release shows them.
    UseParamA(0.0L, 1.0L);
    ShowNotes({QStringLiteral("a = !{a}"), QString(), QString(), QStringLiteral("B")});
    Options.ParamDelay = 80;
    const QImage before = Graph().Stickers[0]->pixmap().toImage();
    QTest::mousePress(Row(1).Up, Qt::LeftButton, {}, Row(1).Up->rect().center());
    EXPECT_FALSE(Graph().Stickers[0]->isVisible());
    EXPECT_NE(Graph().Stickers[0]->pixmap().toImage(), before) << "a's new value is rendered";
    QTest::mouseRelease(Row(1).Up, Qt::LeftButton, {}, Row(1).Up->rect().center());
    EXPECT_TRUE(Graph().Stickers[0]->isVisible());
    // Dropped onto the data panel: stacked on the notes panel.
    for (int number : {1, 2}) {
        QMimeData data;
        data.setData(StickerDragMimeType, QByteArray::number(number));
        QDragEnterEvent enter({5, 5}, Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(Content(), &enter);
        QDropEvent drop({5, 5}, Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(Content(), &drop);
    }
    ProcessEvents();
    QWidget* notes = Panel(PanelNotes);
    EXPECT_EQ(Graph().Stickers[0]->parentWidget(), notes);
    const int h1 = Graph().Stickers[0]->height();
    const int h2 = Graph().Stickers[1]->height();
    EXPECT_EQ(Graph().Stickers[0]->pos(), QPoint(4, 24));
    EXPECT_EQ(Graph().Stickers[1]->pos(), QPoint(4, 24 + h1 + 2));
    EXPECT_EQ(notes->height(), 24 + h1 + 2 + h2 + 8);
    EXPECT_EQ(PanelLayout.StickerPlaces[2].OnConsole, 1);
}

TEST_F(DataPanelTest, DockingPlacement)
{
    const QRect graph(100, 50, 600, 500);
    const std::vector<QRect> monitors{{0, 0, 1280, 1024}};
    struct Case {
        const char* what;
        QRect panel;
        bool fromGraph, wasDocked;
        QPoint pos;
        bool docked;
    };
    const Case cases[] = {
        {"15 right of the right edge", {715, 200, 280, 500}, false, false, {700, 50}, true},
        {"25 right stays", {725, 200, 280, 500}, false, false, {725, 200}, false},
        {"near the left edge", {-165, 80, 280, 500}, false, false, {-180, 50}, true},
        {"the graph moved a docked panel", {900, 300, 280, 500}, true, true, {700, 50}, true},
        {"the graph moved, not docked", {900, 300, 280, 500}, true, false, {900, 300}, false},
        {"above the screen comes down", {900, -40, 280, 500}, false, false, {900, 0}, false},
        {"off the right side comes back", {1300, 100, 280, 500}, false, false, {1000, 100}, false},
    };
    for (const Case& c : cases) {
        const TDockPlacement place = PlaceDockedConsole(graph, c.panel, c.fromGraph, c.wasDocked, monitors);
        EXPECT_EQ(place.PanelPos, c.pos) << c.what;
        EXPECT_EQ(place.Docked, c.docked) << c.what;
    }
    EXPECT_FALSE(PlaceDockedConsole(graph, {-165, 80, 280, 500}, false, false, monitors).GraphIsLeft);
}

TEST_F(DataPanelTest, AReleasedPanelSnapsToTheGraphWindow)
{
    ProgramState.StartupPending = 0;
    const QRect graph = Graph().frameGeometry();
    Console().move(graph.x() + graph.width() + 15, graph.y() + 40);
    ProcessEvents();
    EXPECT_EQ(Console().frameGeometry().topLeft(), QPoint(graph.x() + graph.width(), graph.y()));
    EXPECT_TRUE(ConsoleDocked());
    EXPECT_EQ(ProgramState.GraphIsLeft, 1);
}

TEST_F(DataPanelTest, AutoScrollSteps)
{
    struct Case {
        int x, step;
    };
    for (const Case& c : {Case{275, 3}, Case{270, 2}, Case{251, 1}, Case{250, 0}, Case{0, -3}, Case{15, -2},
                          Case{29, -1}, Case{30, 0}, Case{140, 0}})
        EXPECT_EQ(AutoScrollStep(c.x, 280), c.step) << c.x;
}

} // namespace
