// The program's start: the windows it creates, the project the arguments
// name, the graph's room on the screen, and the start-up work running once.
#include "WindowTestKit.h"
#include "EventCounter.h"

#include "dialogs/CalcForm.h"
#include "dialogs/FmSetColor.h"
#include "model/GlobalResets.h"
#include "model/History.h"
#include "model/ProgramState.h"
#include "model/Settings.h"
#include "render/view/Scale.h"
#include "session/ProjectFile.h"
#include "windows/WindowHosts.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPointer>
#include <QPainter>
#include <QTemporaryDir>
#include <functional>

namespace {

const QString SampleProject = QStringLiteral(KAVIRO_WINDOWS_TEST_DATA "/sample.kvf");

class StartUpTest : public WindowTest {
protected:
    QTemporaryDir dir;

    // The sample project copied into the temporary folder under that name.
    QString Place(const QString& name)
    {
        const QString path = dir.path() + u'/' + name;
        EXPECT_TRUE(QFile::copy(SampleProject, path)) << path.toStdString();
        return path;
    }
    QString InDir(const QString& name) const { return dir.path() + u'/' + name; }

    // Starts again from the program's start-up state.
    void Restart(const QStringList& arguments)
    {
        forms = {};
        messages.clear();
        ResetAllGlobals();
        StartProgram(arguments);
    }
};

TEST_F(StartUpTest, TheArgumentsJoinedByBlanksNameTheProject)
{
    Place(QStringLiteral("my proj.kvf"));
    Place(QStringLiteral("demo.kvf"));
    const struct {
        QStringList arguments;
        const char* opened; // base name in the folder
        const char* caption;
    } cases[] = {
        {{InDir(QStringLiteral("my")), QStringLiteral("proj.kvf")}, "my proj", "KAVIRO : my proj"},
        {{InDir(QStringLiteral("demo"))}, "demo", "KAVIRO : demo"},
        {{InDir(QStringLiteral("demo.kvp"))}, "demo", "KAVIRO : demo"},
        {{InDir(QStringLiteral("./demo.kvf"))}, "demo", "KAVIRO : demo"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(u'|').toStdString());
        Restart(c.arguments);
        EXPECT_TRUE(messages.empty()) << messages.last().text.toStdString();
        EXPECT_EQ(ProjectFile.FileName, InDir(QString::fromUtf8(c.opened)));
        EXPECT_EQ(Graph().windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_EQ(DocumentTables.Functions[1].Func.Text, QStringLiteral("2sin(x)"));
    }
}

TEST_F(StartUpTest, AMissingProjectIsSaidOnceAndTheEmptyDocumentRuns)
{
    StartProgram({InDir(QStringLiteral("none"))});
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.last().text, QStringLiteral("Sem arquivo") + InDir(QStringLiteral("none.kvf")));
    EXPECT_EQ(messages.last().kind, 1);
    EXPECT_EQ(messages.last().buttons, 4);
    EXPECT_TRUE(ProjectFile.FileName.isEmpty());
    EXPECT_EQ(Graph().windowTitle(), QStringLiteral("KAVIRO"));
    // The standard range, fitted to whole pixels per unit.
    const ScaleSubT& x = GraphScale.XAxis;
    EXPECT_NEAR(static_cast<double>(x.Low), -5.0, static_cast<double>(x.UnitsPerPixel));
    EXPECT_NEAR(static_cast<double>(x.High), 5.0, static_cast<double>(x.UnitsPerPixel));
    EXPECT_EQ(BackUp.Count(), 0);
    EXPECT_TRUE(BackUpArea.IsAtStart());
    EXPECT_TRUE(DocumentTables.Functions[1].Func.Text.isEmpty());
}

TEST_F(StartUpTest, ShowingTheDataPanelAgainDoesNotStartAgain)
{
    StartProgram({InDir(QStringLiteral("none"))});
    ASSERT_EQ(messages.messages().size(), 1u);
    Console().hide();
    ProcessEvents();
    Console().show();
    ProcessEvents();
    EXPECT_EQ(messages.messages().size(), 1u);
    EXPECT_TRUE(Console().StartedUp());
}

TEST_F(StartUpTest, TheStartRecordsTheProgramFolderAndEmptiesTheHistories)
{
    BackUpArea.Push(TAreaView{});
    StartProgram();
    EXPECT_TRUE(ProgramState.ProgramDir.endsWith(u'/'));
    EXPECT_EQ(ProgramState.ProgramDir, QCoreApplication::applicationDirPath() + u'/');
    EXPECT_TRUE(BackUpArea.IsAtStart());
    EXPECT_TRUE(messages.empty());
}

TEST_F(StartUpTest, FourWindowsWithTheirNamesCaptionsAndFont)
{
    StartProgram();
    ASSERT_EQ(Forms.GraphAreaForm, forms.GraphAreaForm.get());
    ASSERT_EQ(Forms.MainConsole, forms.MainConsole.get());
    ASSERT_NE(Forms.FmSetColor, nullptr);
    ASSERT_NE(Forms.CalcForm, nullptr);
    const struct {
        QWidget* window;
        const char* name;
        const char* caption;
    } windows[] = {
        {Forms.GraphAreaForm, "GraphAreaForm", "KAVIRO"},
        {Forms.FmSetColor, "FmSetColor", nullptr},
        {Forms.MainConsole, "MainConsole", "Painel de Dados"},
        {Forms.CalcForm, "CalcForm", "Calculadora"},
    };
    for (const auto& w : windows) {
        EXPECT_EQ(w.window->objectName(), QString::fromUtf8(w.name));
        if (w.caption) {
            EXPECT_EQ(w.window->windowTitle(), QString::fromUtf8(w.caption)) << w.name;
        }
        EXPECT_EQ(w.window->font().family(), QStringLiteral("Arial Unicode MS")) << w.name;
        // Disabling the main windows for a dialog leaves the others usable.
        EXPECT_EQ(w.window->parentWidget(), nullptr) << w.name;
    }
    Graph().setEnabled(false);
    Console().setEnabled(false);
    EXPECT_TRUE(Forms.FmSetColor->isEnabled());
    EXPECT_TRUE(Forms.CalcForm->isEnabled());
    // The windows are found by the names the program gives them.
    for (const char* name : {"panelyfx", "panelcfn", "panelCrv", "panelPnt", "PanelPrm", "PanelUsr", "PanelMem", "PanelSeg"})
        Find<QWidget>(Console(), name);
    EXPECT_EQ(Find<QWidget>(Graph(), "GImage"), Graph().GImage);
}

TEST_F(StartUpTest, TheWindowsGoInTheReverseOrderOfTheirMaking)
{
    // Replacing the windows (as a restart does) and dropping them both free
    // the graph window last: the later windows point at it to the end.
    for (const bool byAssignment : {true, false}) {
        StartProgram();
        QStringList freed;
        for (QWidget* w : std::initializer_list<QWidget*>{Forms.GraphAreaForm, Forms.FmSetColor, Forms.MainConsole,
                                                         Forms.CalcForm})
            QObject::connect(w, &QObject::destroyed, [&freed, name = w->objectName()] { freed << name; });
        if (byAssignment) {
            forms = {};
        } else {
            TProgramWindows taken = std::move(forms);
        }
        EXPECT_EQ(freed, (QStringList{QStringLiteral("CalcForm"), QStringLiteral("MainConsole"),
                                      QStringLiteral("FmSetColor"), QStringLiteral("GraphAreaForm")}))
            << (byAssignment ? "assigned" : "destroyed");
        EXPECT_EQ(Forms.GraphAreaForm, nullptr);
        EXPECT_EQ(Forms.MainConsole, nullptr);
        EXPECT_EQ(Forms.CalcForm, nullptr);
        EXPECT_EQ(Forms.FmSetColor, nullptr);
    }
}

TEST_F(StartUpTest, ClosingWhileAParameterIsBeingTypedTouchesNothingFreed)
{
    // The edit loses the focus as the data panel goes, and finishes its
    // editing then: the panel's parts must still be whole.
    StartProgram();
    SetFunctionFormula(1, QStringLiteral("k·x"));
    auto* k = Find<QLineEdit>(Console(), "EditPrm14");
    ASSERT_TRUE(k && k->isVisible());
    Console().activateWindow();
    k->setFocus();
    ProcessEvents();
    Type(k, QStringLiteral("3"));
    int finished = 0;
    QObject::connect(k, &QLineEdit::editingFinished, [&finished] { ++finished; });
    forms = {};
    EXPECT_EQ(finished, 1) << "the edit did not finish as it went";
    EXPECT_EQ(Forms.MainConsole, nullptr);
}

TEST_F(StartUpTest, AStickerOnTheDataPanelOutlivesThePanel)
{
    // The graph window owns its stickers wherever they lie.
    StartProgram();
    QPointer<QLabel> sticker = Graph().Stickers[0];
    sticker->setPixmap(QPixmap(20, 10));
    Console().DropStickerOnPanel(sticker);
    ASSERT_NE(sticker->parentWidget(), Graph().PanelGraph);
    forms.MainConsole.reset();
    ASSERT_FALSE(sticker.isNull());
    EXPECT_EQ(sticker->parentWidget(), Graph().PanelGraph);
}

TEST_F(StartUpTest, TheWindowsStandAtTheTopOfTheWorkAreaAndInsideIt)
{
    StartProgram();
    const QRect work = WorkArea();
    const QRect graph = Graph().frameGeometry();
    const QRect panel = Console().frameGeometry();
    EXPECT_EQ(graph.top(), work.top());
    EXPECT_EQ(panel.top(), work.top());
    EXPECT_EQ(panel.height(), graph.height());
    EXPECT_LE(graph.height(), work.height());
    if (graph.width() + panel.width() <= work.width()) {
        // A third of the room left, then the two side by side.
        EXPECT_EQ(graph.left() - work.left(), (work.width() - graph.width() - panel.width()) / 3);
        EXPECT_EQ(panel.left(), graph.right() + 1);
    } else {
        // Too wide together: the panel is moved back over the graph window.
        EXPECT_EQ(graph.left(), work.left());
        EXPECT_EQ(panel.right(), work.right());
    }
}

TEST_F(StartUpTest, AStoredGraphSizeIsCutToThisScreen)
{
    store.writeInteger(RegKeyScaleX, QStringLiteral("VHigh"), 5000);
    StartProgram();
    const TProgramState& state = ProgramState;
    EXPECT_GT(state.GraphMaxHeight, 0);
    EXPECT_EQ(state.GraphPixelHeight, state.GraphMaxHeight);
    EXPECT_LE(GraphScale.YAxis.VHigh, state.GraphMaxHeight);
    EXPECT_LE(Graph().frameGeometry().height(), WorkArea().height());

    // A new layout (as "New" does) reads the stored length again.
    GraphScale.Layout(Graph().PageControlHeight(), true);
    EXPECT_EQ(state.GraphPixelHeight, state.GraphMaxHeight);
    EXPECT_LE(GraphScale.YAxis.VHigh, state.GraphMaxHeight);

    // A smaller stored length is kept.
    store.writeInteger(RegKeyScaleX, QStringLiteral("VHigh"), 300);
    GraphScale.Layout(Graph().PageControlHeight(), true);
    EXPECT_EQ(state.GraphPixelHeight, 300);
}

TEST_F(StartUpTest, ClosingTheGraphWindowAsksOnlyWhenSomethingWouldBeLost)
{
    StartProgram();
    ASSERT_TRUE(Graph().close()); // nothing changed: closes at once
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(store.keyExists(RegKeyState)); // the settings are written

    Graph().show();
    ProgramState.Modified = 1;
    BackUp.Push(TstringData{});
    messages.scriptAnswers({false, true});
    EXPECT_FALSE(Graph().close());
    EXPECT_TRUE(Graph().isVisible());
    EXPECT_TRUE(Graph().close());
    ASSERT_EQ(messages.messages().size(), 2u);
    EXPECT_EQ(messages.last().text, QStringLiteral("Sair com [OK]"));
    EXPECT_EQ(messages.last().buttons, 12);
}

// The program ends when the graph window closes, however it is closed,
// after asking when an edit would be lost; the data panel then lets its own
// close pass. Nothing ends while the user keeps the work.
TEST_F(StartUpTest, TheProgramEndsWithTheGraphWindow)
{
    const struct {
        const char* way;
        std::function<void(TGraphAreaForm&, TMainConsole&)> close;
    } ways[] = {
        {"the window's close", [](TGraphAreaForm& graph, TMainConsole&) { graph.close(); }},
        {"Sair", [](TGraphAreaForm&, TMainConsole& panel) { Find<QAction>(panel, "Close1")->trigger(); }},
        {"the data panel's close", [](TGraphAreaForm&, TMainConsole& panel) { panel.close(); }},
    };
    const struct {
        bool edited;
        bool answer;
        bool ends;
    } cases[] = {{false, false, true}, {true, false, false}, {true, true, true}};
    for (const auto& way : ways)
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(way.way) + (c.edited ? ", edited" : "") + (c.answer ? ", OK" : ""));
            Restart({});
            int ended = 0;
            Graph().SetAfterClose([&ended] { ++ended; });
            if (c.edited) {
                ProgramState.Modified = 1;
                BackUp.Push(TstringData{});
                messages.scriptAnswers({c.answer});
                // Refused, the data panel's close below asks again.
                if (!c.answer)
                    messages.scriptAnswers({false});
            }
            store.deleteKey(RegKeyState);
            way.close(Graph(), Console());
            ProcessEvents();
            ASSERT_EQ(messages.messages().size(), c.edited ? 1u : 0u);
            if (c.edited) {
                EXPECT_EQ(messages.last().text, QStringLiteral("Sair com [OK]"));
            }
            EXPECT_EQ(ended, c.ends ? 1 : 0);
            EXPECT_EQ(Graph().IsClosed(), c.ends);
            EXPECT_EQ(Graph().isVisible(), !c.ends);
            EXPECT_TRUE(store.keyExists(RegKeyState)); // the settings are written either way
            // Once the graph window has gone, nothing keeps the data panel.
            EXPECT_EQ(Console().close(), c.ends);
            EXPECT_EQ(ended, c.ends ? 1 : 0);
        }
}

// A project refused on the command line is said once; the empty document
// runs with no file, both windows at the top of the work area.
TEST_F(StartUpTest, AProjectRefusedOnTheCommandLineLeavesTheEmptyDocument)
{
    QFile picture(InDir(QStringLiteral("figura.kvf")));
    ASSERT_TRUE(picture.open(QIODevice::WriteOnly));
    picture.write(QByteArray("\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR", 16));
    picture.close();
    StartProgram({picture.fileName()});
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.last().text, QStringLiteral("Erro ao carregar arquivo"));
    EXPECT_TRUE(ProjectFile.FileName.isEmpty());
    EXPECT_EQ(Graph().windowTitle(), QStringLiteral("KAVIRO"));
    EXPECT_EQ(ProgramState.Modified, 0);
    EXPECT_TRUE(DocumentTables.Functions[1].Func.Text.isEmpty());
    const QRect work = WorkArea();
    for (const QWidget* window : {static_cast<QWidget*>(&Graph()), static_cast<QWidget*>(&Console())}) {
        EXPECT_EQ(window->frameGeometry().top(), work.top()) << window->objectName().toStdString();
        EXPECT_TRUE(work.contains(window->frameGeometry().topLeft()));
    }
}

TEST_F(StartUpTest, TheGraphShowsEveryRedrawAsTheViewDrewIt)
{
    StartProgram({Place(QStringLiteral("sample.kvf"))});
    const QImage& picture = GraphScale.GraphImages[0].Image();
    EXPECT_EQ(Graph().GImage->size(), picture.size());
    EXPECT_EQ(Graph().GImage->grab().toImage().convertToFormat(QImage::Format_RGB32), picture);

    TEventCounter counter(QEvent::Paint);
    Graph().GImage->installEventFilter(&counter);
    const QImage before = picture.copy();
    GraphScale.ZoomAt({0.0L, 0.0L}, 2.0L, 2.0L);
    ProcessEvents();
    EXPECT_GE(counter.Count, 1);
    EXPECT_NE(picture, before);
    EXPECT_EQ(Graph().GImage->grab().toImage().convertToFormat(QImage::Format_RGB32), picture);
}

} // namespace
