// The data panel's menus, toolbar, row menu, drops and switches, driven as
// a user drives them.
#include "WindowTestKit.h"

#include "tests/render/GoldenFiles.h"

#include "model/History.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "platform/fakes/FakeInputState.h"
#include "render/scene/TraceStore.h"
#include "render/view/Scale.h"
#include "session/Commands.h"
#include "session/PanelLayout.h"
#include "session/ProjectFile.h"
#include "session/RowModels.h"
#include "session/StoreOperations.h"
#include "windows/ConsoleCommands.h"
#include "windows/GraphMouse.h"

#include "dialogs/CalcForm.h"
#include "engine/Compiler.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <QToolBar>
#include <QToolButton>
#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace {

class ConsoleCommandsTest : public WindowTest {
protected:
    QTemporaryDir dir_;

    QAction* Action(const char* name) { return Find<QAction>(Console(), name); }
    void Trigger(const char* name)
    {
        QAction* action = Action(name);
        ASSERT_NE(action, nullptr);
        action->trigger();
        ProcessEvents();
    }
    // The sample project copied into the test's folder under that name.
    QString CopySample(const QString& name)
    {
        const QString path = dir_.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile::remove(path);
        EXPECT_TRUE(QFile::copy(QStringLiteral(KAVIRO_WINDOWS_TEST_DATA "/sample.kvf"), path));
        return path;
    }
    void ExpectOpenedAndClosedWithoutAQuestion()
    {
        ProcessEvents();
        ASSERT_GT(FunctionCountInUse(), 0);
        EXPECT_TRUE(Graph().FormCloseQuery());
        EXPECT_TRUE(messages.empty()) << messages.last().text.toStdString();
    }
    static void EditDocument()
    {
        TEquationFunction f = DefaultEquation;
        f.Func.Text = QStringLiteral("2x");
        PrepareExpression(f.Func, ModeFunction);
        SetYfx(2, f);
    }
    // Drags the data over the window and drops it, as a file manager does.
    static bool DragAndDrop(QWidget& window, QMimeData& data)
    {
        const QPoint at = window.rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &drop);
        ProcessEvents();
        return drop.isAccepted();
    }
    static bool DropFile(QWidget& window, const QUrl& url)
    {
        QMimeData data;
        data.setUrls({url});
        return DragAndDrop(window, data);
    }
    int FunctionCountInUse() const
    {
        int n = 0;
        for (const TEquationFunction& f : DocumentTables.Functions)
            n += f.Func.Text.isEmpty() ? 0 : 1;
        return n;
    }
};

struct MenuItem {
    const char* menu;
    const char* name;
    const char16_t* caption;
    bool enabled;
};
// Every item of the menu bar, in its menu, with its caption.
const MenuItem MenuItems[] = {
    {"fileMenu1", "Init1", u"&Iniciar", true},
    {"fileMenu1", "OpenFile", u"&Abrir Arquivo", true},
    {"fileMenu1", "OpenSample", u"Abrir Exemplo", true},
    {"NewWrite", "N671ShiftJis1", nullptr, true},
    {"NewWrite", "N672Unicode1", nullptr, true},
    {"fileMenu1", "overwrite", u"&Salvar", true},
    {"fileMenu1", "nsaveBmp", u"Salvar I&magem", true},
    {"fileMenu1", "nsavemovie", u"Salvar Imagens Sucessivas", true},
    {"fileMenu1", "nSaveWave", u"Salvar Sons", false},
    {"fileMenu1", "nprintoption", u"Prop.Impressora", true},
    {"fileMenu1", "nprint", u"&Imprimir", true},
    {"fileMenu1", "Close1", u"&Sair", true},
    {"Option1", "menuUndo", u"&Desfazer", false},
    {"Option1", "menuRedo", u"&Refazer", false},
    {"Option1", "nEditMemo", u"&Editar Anotação", true},
    {"Option1", "nAppendMemo", u"Anexar Anotação", true},
    {"Option1", "menuSegment", u"Conectar Pontos", true},
    {"Option1", "menuoption", u"&Opções", true},
    {"Nenv", "SetInit", u"&Iniciar Padrão", true},
    {"Nenv", "SetDefault", u"&Estabelecer Padrão", true},
    {"Nenv", "SetAssociate", u"&Associação de Arquivos", true},
    {"Nenv", "nrelease", u"&Limpar Associação de Arquivos", true},
    {"Option1", "nClrAimg", u"Limpar &Traços", true},
    {"Option1", "InitPrm", u"Iniciar &parâmetros", true},
    {"NshowArea", "Ntool", u"Barra de Ferramentas", true},
    {"NshowArea", "Nyfx", u"[Função]", true},
    {"NshowArea", "NSeg", u"[Reta && Polígono]", true},
    {"NShowData", "NShowData0", u"Tudo", true},
    {"NShowData", "NShowData7", u"Reta && Polígono", true},
    {"Show1", "NShowHint", u"Mostrar &Sugestão", true},
    {"Show1", "Npresentation", u"&Modo de Apresentação", true},
    {"Show1", "nTransparent", u"Semi-Transparência", true},
    {"help", "PDF1", u"PDF manual", true},
    {"help", "HTML1", u"&manual em HTML", true},
    {"help", "version1", u"&Versão", true},
};

TEST_F(ConsoleCommandsTest, TheMenuBarHoldsEveryItemInItsMenu)
{
    StartProgram();
    const QStringList titles{QStringLiteral("&Arquivo"), QStringLiteral("&Editar"), QStringLiteral("&Ver"),
                             QStringLiteral("A&juda")};
    QStringList shown;
    for (QAction* menu : Console().menuBar()->actions())
        shown << menu->text();
    EXPECT_EQ(shown, titles);
    for (const MenuItem& item : MenuItems) {
        SCOPED_TRACE(item.name);
        QAction* action = Action(item.name);
        ASSERT_NE(action, nullptr);
        auto* menu = Console().findChild<QMenu*>(QString::fromLatin1(item.menu));
        ASSERT_NE(menu, nullptr);
        EXPECT_TRUE(menu->actions().contains(action));
        if (item.caption) {
            EXPECT_EQ(action->text(), QString::fromUtf16(item.caption));
        }
        EXPECT_EQ(action->isEnabled(), item.enabled);
    }
    // Separators where the designer put them: three groups in the file menu
    // between "Iniciar" and "Sair".
    int separators = 0;
    for (QAction* a : Console().findChild<QMenu*>(QStringLiteral("fileMenu1"))->actions())
        separators += a->isSeparator() ? 1 : 0;
    EXPECT_EQ(separators, 4);
}

TEST_F(ConsoleCommandsTest, ProjectsDroppedOnEitherWindowOpen)
{
    StartProgram();
    const QString upper = CopySample(QStringLiteral("A.KVF"));
    QString longName;
    while (longName.size() < 300)
        longName += QStringLiteral("uma-pasta-de-nome-longo/");
    const QString deep = CopySample(longName + QStringLiteral("aula.kvf"));
    ASSERT_GT(deep.size(), 300);

    for (QWidget* window : {static_cast<QWidget*>(&Console()), static_cast<QWidget*>(&Graph())}) {
        SCOPED_TRACE(window->objectName().toStdString());
        InitAllData();
        messages.clear();
        EXPECT_TRUE(DropFile(*window, QUrl::fromLocalFile(upper)));
        EXPECT_TRUE(messages.empty());
        EXPECT_GT(FunctionCountInUse(), 0);

        // Now the document has something to lose: the drop asks first.
        EditDocument();
        messages.scriptAnswers({false});
        DropFile(*window, QUrl::fromLocalFile(deep));
        EXPECT_EQ(messages.last().text, ClearDocumentQuestion);
        EXPECT_EQ(DocumentTables.Functions[2].Func.Text, QStringLiteral("2x"));
        messages.clear();
        messages.scriptAnswers({true});
        DropFile(*window, QUrl::fromLocalFile(deep));
        EXPECT_EQ(ProjectFile.FileName + ProjectFile.Extension, deep);
    }
}

TEST_F(ConsoleCommandsTest, AProjectShowsAButtonPerScriptUntilNew)
{
    StartProgram();
    DocumentTables.PetaMemoLines = {u"Nota"_s, u""_s, u"#//Mover"_s, u"#a := a + 1"_s, u""_s,
                                    u"#//Falha"_s, u"#Draw x"_s, u""_s, u"#HideScript"_s, u"#On a Change"_s};
    ProjectFile.FileName = dir_.filePath(QStringLiteral("roteiros"));
    ASSERT_TRUE(SaveKvf());
    InitAllData();
    EXPECT_TRUE(DropFile(Console(), QUrl::fromLocalFile(dir_.filePath(QStringLiteral("roteiros.kvf")))));
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.last().text, QStringLiteral("Comando Inválido : Draw x"));

    auto visibleButtons = [this] {
        QStringList names;
        for (QToolButton* button : Console().ScriptButtons)
            if (button->isVisible())
                names.append(button->text());
        return names;
    };
    // The failing script keeps its button; the hidden one has none.
    EXPECT_EQ(visibleButtons(), (QStringList{u"Mover"_s, u"Falha"_s}));
    Trigger("Init1");
    EXPECT_TRUE(visibleButtons().isEmpty());
}

TEST_F(ConsoleCommandsTest, AnythingElseDroppedIsRefusedUnread)
{
    StartProgram();
    QMimeData text;
    text.setText(QStringLiteral("y = x^2"));
    QMimeData two;
    two.setUrls({QUrl::fromLocalFile(CopySample(QStringLiteral("x.kvp"))),
                 QUrl::fromLocalFile(CopySample(QStringLiteral("b.kvf")))});
    QMimeData link;
    link.setUrls({QUrl(QStringLiteral("https://example.org/aula.kvf"))});
    QMimeData txt;
    txt.setUrls({QUrl::fromLocalFile(CopySample(QStringLiteral("a.txt")))});
    for (QMimeData* data : {&text, &two, &link, &txt}) {
        messages.clear();
        DragAndDrop(Graph(), *data);
        ASSERT_EQ(messages.messages().size(), 1u);
        EXPECT_EQ(messages.last().text, UnusableFileMessage);
        EXPECT_EQ(messages.last().kind, 1);
        EXPECT_EQ(messages.last().buttons, 4);
        EXPECT_EQ(FunctionCountInUse(), 0);
    }
}

TEST_F(ConsoleCommandsTest, NewAsksOnlyWhenSomethingChanged)
{
    StartProgram({QStringLiteral(KAVIRO_WINDOWS_TEST_DATA "/sample.kvf")});
    ASSERT_GT(FunctionCountInUse(), 0);
    Trigger("Init1");
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(FunctionCountInUse(), 0);

    EditDocument();
    messages.scriptAnswers({false});
    Trigger("Init1");
    EXPECT_EQ(messages.last().text, ClearDocumentQuestion);
    EXPECT_EQ(FunctionCountInUse(), 1);
    messages.scriptAnswers({true});
    Console().sbsegment->click(); // shows the figure panel
    ASSERT_TRUE(Console().Panels[PanelFigures - 1]->isVisible());
    Trigger("Init1");
    EXPECT_EQ(FunctionCountInUse(), 0);
    EXPECT_FALSE(Action("menuUndo")->isEnabled());
    // The panels of a new document: all but the figures', the tool off.
    for (int i = 0; i < PanelCount; ++i)
        EXPECT_EQ(Console().Panels[static_cast<std::size_t>(i)]->isVisible(), i + 1 != PanelFigures) << i;
    EXPECT_FALSE(Console().sbsegment->isChecked());
    EXPECT_EQ(AreaMode(), 0);
}

TEST_F(ConsoleCommandsTest, RowMenuOffersTheRowsItems)
{
    StartProgram();
    auto* rowMenu = Console().findChild<QMenu*>(QStringLiteral("PmData"));
    ASSERT_NE(rowMenu, nullptr);
    ASSERT_TRUE(Console().RowMenuRequested);
    struct Case {
        TConsoleRowKind kind;
        bool edit, erase, clear, hide;
    };
    const Case cases[] = {
        {TConsoleRowKind::Function, true, true, true, true},
        {TConsoleRowKind::Relation, true, true, true, true},
        {TConsoleRowKind::Object, true, true, true, true},
        {TConsoleRowKind::Figure, true, true, true, false},
        {TConsoleRowKind::Param, false, false, false, true},
        {TConsoleRowKind::UserFunction, true, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        Console().RowMenuRequested(c.kind, 1, Console().mapToGlobal(QPoint(20, 40)));
        ProcessEvents();
        EXPECT_TRUE(rowMenu->isVisible());
        EXPECT_EQ(Action("nedit")->isVisible(), c.edit);
        EXPECT_EQ(Action("nErase")->isVisible(), c.erase);
        EXPECT_EQ(Action("nClear")->isVisible(), c.clear);
        EXPECT_EQ(Action("nHideData")->isVisible(), c.hide);
        rowMenu->hide();
    }
}

TEST_F(ConsoleCommandsTest, EraseHideAndShowFromTheRowMenu)
{
    StartProgram();
    EditDocument(); // y2
    auto* rowMenu = Console().findChild<QMenu*>(QStringLiteral("PmData"));

    Console().RowMenuRequested(TConsoleRowKind::Function, 2, QPoint(10, 10));
    Trigger("nHideData");
    rowMenu->hide();
    EXPECT_FALSE(RowModels.Functions.Rows[2].Shown);
    EXPECT_EQ(DocumentTables.Functions[2].Visible, 1);
    Trigger("NShowData1");
    EXPECT_TRUE(RowModels.Functions.Rows[2].Shown);

    Console().RowMenuRequested(TConsoleRowKind::Function, 2, QPoint(10, 10));
    messages.scriptAnswers({true});
    Trigger("nErase");
    rowMenu->hide();
    EXPECT_EQ(messages.last().text, EraseQuestion);
    EXPECT_TRUE(DocumentTables.Functions[2].Func.Text.isEmpty());
    EXPECT_TRUE(Action("menuUndo")->isEnabled());
    Trigger("menuUndo");
    EXPECT_EQ(DocumentTables.Functions[2].Func.Text, QStringLiteral("2x"));
}

TEST_F(ConsoleCommandsTest, PresentationModeEnlargesAndComesBack)
{
    StartProgram({QStringLiteral(KAVIRO_WINDOWS_TEST_DATA "/sample.kvf")});
    struct Case {
        int rowPitch, rowSize, fontSize;
    };
    for (const Case& c : {Case{73, 24, 24}, Case{38, 12, 12}}) {
        Trigger("Npresentation");
        EXPECT_EQ(RowMetrics.RowPitch, c.rowPitch);
        EXPECT_EQ(RowMetrics.RowSize, c.rowSize);
        EXPECT_EQ(ProgramState.FontSize, c.fontSize);
        EXPECT_EQ(RowModels.Functions.Rows[1].PictureSize, c.rowSize);
    }
}

TEST_F(ConsoleCommandsTest, TheViewMenuShowsItsStateAndTransparencyOnlyWithCtrl)
{
    StartProgram();
    platform::FakeInputState keys;
    platform::ScopedInputState useKeys{keys};
    auto* view = Console().findChild<QMenu*>(QStringLiteral("Show1"));
    for (bool ctrl : {false, true}) {
        keys.setKeyDown(platform::VkControl, ctrl);
        Q_EMIT view->aboutToShow();
        EXPECT_EQ(Action("nTransparent")->isVisible(), ctrl);
    }
    EXPECT_TRUE(Action("Nyfx")->isChecked());
    EXPECT_FALSE(Action("NSeg")->isChecked());
    EXPECT_TRUE(Action("Ntool")->isChecked());
    EXPECT_TRUE(Action("NShowHint")->isChecked());
    Trigger("nTransparent");
    EXPECT_NEAR(Console().windowOpacity(), 120.0 / 255.0, 0.01);
    Trigger("nTransparent");
    EXPECT_DOUBLE_EQ(Console().windowOpacity(), 1.0);

    Trigger("Nyfx");
    EXPECT_EQ(PanelLayout.Panels[PanelFunctions].Visible, 0);
    Trigger("Ntool");
    EXPECT_FALSE(Console().findChild<QToolBar*>(QStringLiteral("ToolBar1"))->isVisible());
}

TEST_F(ConsoleCommandsTest, ClosingTheDataPanelClosesTheProgramAfterAsking)
{
    StartProgram();
    EditDocument();
    messages.scriptAnswers({false});
    EXPECT_FALSE(Console().close());
    EXPECT_EQ(messages.last().text, QStringLiteral("Sair com [OK]"));
    EXPECT_TRUE(Graph().isVisible());
    EXPECT_TRUE(Console().isVisible());
    messages.scriptAnswers({true});
    Console().close();
    EXPECT_FALSE(Graph().isVisible());
}

TEST_F(ConsoleCommandsTest, HelpItemsFollowTheHelpFiles)
{
    StartProgram();
    ProgramState.ProgramDir = dir_.path() + u'/';
    auto* help = Console().findChild<QMenu*>(QStringLiteral("help"));
    Q_EMIT help->aboutToShow();
    EXPECT_FALSE(Action("HTML1")->isVisible());
    EXPECT_FALSE(Action("PDF1")->isEnabled());
    ShowHelpFile(PdfHelpFile);
    EXPECT_EQ(messages.last().text, QStringLiteral("Não existe arquivo de ajuda"));

    QFile pdf(dir_.filePath(PdfHelpFile));
    ASSERT_TRUE(pdf.open(QIODevice::WriteOnly));
    pdf.close();
    Q_EMIT help->aboutToShow();
    EXPECT_TRUE(Action("PDF1")->isEnabled());
    Trigger("PDF1");
    EXPECT_EQ(desktop.opened(), QStringList{dir_.filePath(PdfHelpFile)});
}

TEST_F(ConsoleCommandsTest, ConnectPointsKeepsItsThreeSwitchesInStep)
{
    StartProgram();
    ASSERT_NE(Console().sbsegment, nullptr);
    Trigger("menuSegment");
    EXPECT_EQ(AreaMode(), 4);
    EXPECT_TRUE(Console().sbsegment->isChecked());
    EXPECT_TRUE(Graph().MnConnect->isChecked());
    EXPECT_EQ(PanelLayout.Panels[PanelFigures].Visible, 1);
    // Hiding the figure panel puts the tool away.
    Trigger("NSeg");
    EXPECT_EQ(AreaMode(), 0);
    EXPECT_FALSE(Action("menuSegment")->isChecked());
    Console().sbsegment->click();
    EXPECT_EQ(AreaMode(), 4);
    Console().sbsegment->click();
    EXPECT_EQ(AreaMode(), 0);
    // Another area tool on the graph releases the button.
    Console().sbsegment->click();
    Graph().sbtnzoom->click();
    EXPECT_EQ(AreaMode(), 1);
    EXPECT_FALSE(Console().sbsegment->isChecked());
    EXPECT_FALSE(Graph().MnConnect->isChecked());
}

TEST_F(ConsoleCommandsTest, HintsGoToTheGraphWindowsStatusBar)
{
    StartProgram();
    QToolButton* open = Find<QToolButton>(Console(), "sbOpen");
    QStatusTipEvent tip(open->statusTip());
    QApplication::sendEvent(open, &tip);
    EXPECT_EQ(Graph().SBarPanel0->text(), QStringLiteral("Abrir Arquivo"));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(open, &leave);
    EXPECT_TRUE(Graph().SBarPanel0->text().isEmpty());
    QToolButton* redo = Find<QToolButton>(Console(), "sbRedo");
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), redo->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(redo, &enter);
    EXPECT_EQ(Graph().SBarPanel0->text(), QStringLiteral("Refazer"));

    QHelpEvent tooltip(QEvent::ToolTip, QPoint(2, 2), open->mapToGlobal(QPoint(2, 2)));
    Trigger("NShowHint");
    EXPECT_TRUE(qApp->notify(open, &tooltip)); // eaten while hints are off
}

TEST_F(ConsoleCommandsTest, AFileNamedAtTheStartClosesWithoutAQuestion)
{
    StartProgram({CopySample(QStringLiteral("aberto.kvf"))});
    ExpectOpenedAndClosedWithoutAQuestion();
    // An edit after opening is worth the question.
    EditDocument();
    messages.scriptAnswers({false});
    EXPECT_FALSE(Graph().FormCloseQuery());
    EXPECT_EQ(messages.last().text, QStringLiteral("Sair com [OK]"));
}

TEST_F(ConsoleCommandsTest, AFileChosenToOpenClosesWithoutAQuestion)
{
    StartProgram();
    files.queueAnswer(CopySample(QStringLiteral("aberto.kvf")));
    Trigger("OpenFile");
    ExpectOpenedAndClosedWithoutAQuestion();
}

TEST_F(ConsoleCommandsTest, AFileDroppedToOpenClosesWithoutAQuestion)
{
    StartProgram();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(CopySample(QStringLiteral("aberto.kvf")))});
    ASSERT_TRUE(DragAndDrop(Graph(), data));
    ExpectOpenedAndClosedWithoutAQuestion();
}

TEST_F(ConsoleCommandsTest, ToolbarButtonsForward)
{
    StartProgram();
    QToolButton* calculator = Find<QToolButton>(Console(), "sbCalc");
    for (bool shown : {true, false}) {
        calculator->click();
        ProcessEvents();
        EXPECT_EQ(forms.CalcForm->isVisible(), shown);
    }
    EditDocument();
    files.queueAnswer(dir_.filePath(QStringLiteral("nova.kvf")));
    Find<QToolButton>(Console(), "sbSave")->click();
    EXPECT_TRUE(QFileInfo::exists(dir_.filePath(QStringLiteral("nova.kvf"))));
    EXPECT_FALSE(Modified());
    Find<QToolButton>(Console(), "sbUndo")->click();
    EXPECT_TRUE(DocumentTables.Functions[2].Func.Text.isEmpty());
}

// A greyed toolbar button (undo, with nothing to undo) has a faded picture:
// lighter and more transparent than the working picture, as the toolbar's
// golden shows.
TEST_F(ConsoleCommandsTest, AGreyedToolbarButtonLooksFaded)
{
    StartProgram();
    auto* bar = Find<QToolBar>(Console(), "ToolBar1");
    QToolButton* undo = Find<QToolButton>(Console(), "sbUndo");
    ASSERT_FALSE(undo->isEnabled());
    const QIcon icon = undo->icon();
    const QImage normal = icon.pixmap(bar->iconSize(), QIcon::Normal).toImage();
    const QImage greyed = icon.pixmap(bar->iconSize(), QIcon::Disabled).toImage();
    long normalAlpha = 0;
    long greyedAlpha = 0;
    for (int y = 0; y < normal.height(); ++y)
        for (int x = 0; x < normal.width(); ++x) {
            normalAlpha += qAlpha(normal.pixel(x, y));
            greyedAlpha += qAlpha(greyed.pixel(x, y));
        }
    EXPECT_GT(normalAlpha, 0);
    EXPECT_LT(greyedAlpha * 2, normalAlpha);
    EXPECT_TRUE(MatchesImageGolden(bar->grab().toImage(), QStringLiteral("windows/console-toolbar.png"), {48, 0.02}));
}

TEST_F(ConsoleCommandsTest, AltArrowBringsTheFocusToTheFirstParameter)
{
    StartProgram();
    SetFunctionFormula(1, QStringLiteral("k·x"));
    auto* k = Find<QLineEdit>(Console(), "EditPrm14");
    ASSERT_NE(k, nullptr);
    ASSERT_TRUE(k->isVisible());
    EXPECT_FALSE(Find<QLineEdit>(Console(), "EditPrm1")->isVisible());
    Console().setFocus();
    QKeyEvent plain(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(&Console(), &plain);
    EXPECT_NE(Console().focusWidget(), k);
    QKeyEvent alt(QEvent::KeyPress, Qt::Key_Down, Qt::AltModifier);
    QApplication::sendEvent(&Console(), &alt);
    EXPECT_EQ(Console().focusWidget(), k);
}

TEST_F(ConsoleCommandsTest, MenuItemsForwardToTheirDialogsAndSettings)
{
    StartProgram();
    Trigger("menuoption");
    EXPECT_EQ(modal.dialogsRun().size(), 1u) << "the options dialog";
    Trigger("SetDefault");
    EXPECT_TRUE(store.keyExists(QStringLiteral("SOFTWARE/KAVIRO/Option/Area")));
    Trigger("SetInit");
    EXPECT_EQ(store.valueCount(), 0);
    EditDocument();
    Trigger("N672Unicode1"); // cancelled in the chooser
    EXPECT_EQ(files.requests().size(), 1u);
    EXPECT_TRUE(Modified());
}

// What a refused file must leave as it was: the document, its file and
// caption, whether it is modified, the undo and view histories, the view.
struct TDocumentState {
    QStringList Text;
    QString File;
    QString Caption;
    int Modified = 0;
    int UndoIndex = 0;
    int UndoCount = 0;
    int ViewIndex = 0;
    int ViewCount = 0;
    long double XLow = 0.0L;
    long double XHigh = 0.0L;
    bool operator==(const TDocumentState&) const = default;
};

// A file that is no project, dropped, chosen with "Abrir Arquivo", the
// toolbar, "Abrir Exemplo" or Ctrl+O over an edited document: the user is
// told why, is not asked to give up the document, and nothing changes; the
// last edit can still be undone.
TEST_F(ConsoleCommandsTest, ARefusedFileChangesNothingWhicheverWayItComes)
{
    StartProgram({CopySample(QStringLiteral("aula.kvf"))});
    const auto storeFunction = [](const char16_t* text) {
        TEquationFunction f = DefaultEquation;
        f.Func.Text = QString::fromUtf16(text);
        PrepareExpression(f.Func, ModeFunction);
        SetYfx(2, f);
    };
    storeFunction(u"2x");
    storeFunction(u"3x");
    GraphScale.ZoomAt({0.0L, 0.0L}, 2.0L, 2.0L);
    ProcessEvents();
    const auto state = [this] {
        TstringData text;
        WriteProject(text);
        return TDocumentState{text.Lines(),
                              ProjectFile.FileName + ProjectFile.Extension,
                              Graph().windowTitle(),
                              ProgramState.Modified,
                              BackUp.Index(),
                              BackUp.Count(),
                              BackUpArea.Index(),
                              BackUpArea.Count(),
                              GraphScale.XAxis.Low,
                              GraphScale.XAxis.High};
    };
    const TDocumentState before = state();
    ASSERT_EQ(before.Modified, 1);
    ASSERT_GE(before.UndoIndex, 2);

    const auto write = [this](const QString& name, const QByteArray& bytes) {
        const QString path = dir_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    };
    QFile sample(QStringLiteral(KAVIRO_WINDOWS_TEST_DATA "/sample.kvf"));
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    const QByteArray sampleBytes = sample.readAll();
    const QString loadError = QStringLiteral("Erro ao carregar arquivo");
    const struct {
        QString path;
        QString message;
    } files[] = {
        {write(QStringLiteral("figura.kvf"), QByteArray("\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR", 16)), loadError},
        {write(QStringLiteral("vazio.kvf"), QByteArray()), loadError},
        {write(QStringLiteral("notas.kvf"), QByteArray("Aula de quinta\n")), QStringLiteral("Versão Inválida")},
        {write(QStringLiteral("cortado.kvf"), sampleBytes.left(sampleBytes.size() / 3)), loadError},
    };
    const struct {
        const char* way;
        std::function<void(const QString& path)> open;
    } ways[] = {
        {"Abrir Arquivo", [this](const QString& path) { this->files.queueAnswer(path); Trigger("OpenFile"); }},
        {"the toolbar", [this](const QString& path) {
             this->files.queueAnswer(path);
             Find<QToolButton>(Console(), "sbOpen")->click();
         }},
        {"Abrir Exemplo", [this](const QString& path) { this->files.queueAnswer(path); Trigger("OpenSample"); }},
        {"Ctrl+O", [this](const QString& path) {
             this->files.queueAnswer(path);
             Graph().activateWindow();
             ASSERT_TRUE(QTest::qWaitForWindowActive(&Graph()));
             QTest::keyClick(&Graph(), Qt::Key_O, Qt::ControlModifier);
         }},
        {"a drop on the data panel", [this](const QString& path) { DropFile(Console(), QUrl::fromLocalFile(path)); }},
        {"a drop on the graph", [this](const QString& path) { DropFile(Graph(), QUrl::fromLocalFile(path)); }},
    };
    for (const auto& way : ways)
        for (const auto& file : files) {
            SCOPED_TRACE(std::string(way.way) + ": " + QFileInfo(file.path).fileName().toStdString());
            messages.clear();
            way.open(file.path);
            ProcessEvents();
            ASSERT_EQ(messages.messages().size(), 1u) << messages.last().text.toStdString();
            EXPECT_EQ(messages.last().text, file.message);
            EXPECT_TRUE(state() == before);
            EXPECT_EQ(DocumentTables.Functions[2].Func.Text, QStringLiteral("3x"));
        }
    Trigger("menuUndo");
    EXPECT_EQ(DocumentTables.Functions[2].Func.Text, QStringLiteral("2x"));
}

// "Salvar Como" writes the name typed with ".kvf" appended, never another
// project whose name differs only in its extension, and asks before it
// replaces a file the chooser did not ask about.
TEST_F(ConsoleCommandsTest, SaveAsAppendsTheExtensionAndAsksBeforeReplacing)
{
    StartProgram();
    const QString other = CopySample(QStringLiteral("aula.kvf"));
    QFile original(other);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray otherBytes = original.readAll();
    original.close();
    const auto otherKept = [&] {
        QFile f(other);
        return f.open(QIODevice::ReadOnly) && f.readAll() == otherBytes;
    };
    EditDocument();

    const struct {
        const char* typed;
        const char* written;
    } names[] = {{"aula.v2", "aula.v2.kvf"}, {"aula 2.0", "aula 2.0.kvf"}};
    for (const auto& n : names) {
        SCOPED_TRACE(n.typed);
        messages.clear();
        files.queueAnswer(dir_.filePath(QString::fromUtf8(n.typed)));
        Trigger("N672Unicode1");
        EXPECT_TRUE(messages.empty());
        EXPECT_TRUE(QFileInfo::exists(dir_.filePath(QString::fromUtf8(n.written))));
        EXPECT_EQ(Graph().windowTitle(), QStringLiteral("KAVIRO : ") + QString::fromUtf8(n.typed));
        EXPECT_TRUE(otherKept());
        EXPECT_FALSE(Modified());
    }

    // "aula" names aula.kvf, which is there: asked first.
    EditDocument();
    messages.scriptAnswers({false});
    files.queueAnswer(dir_.filePath(QStringLiteral("aula")));
    Trigger("N672Unicode1");
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.last().text, QStringLiteral("Substituir o arquivo existente?"));
    EXPECT_EQ(messages.last().kind, 0);
    EXPECT_EQ(messages.last().buttons, 12);
    EXPECT_TRUE(otherKept());
    EXPECT_TRUE(Modified());
    EXPECT_EQ(Graph().windowTitle(), QStringLiteral("KAVIRO : aula 2.0"));
    messages.scriptAnswers({true});
    files.queueAnswer(dir_.filePath(QStringLiteral("aula")));
    Trigger("N672Unicode1");
    EXPECT_FALSE(otherKept());
    EXPECT_EQ(ProjectFile.FileName + ProjectFile.Extension, other);
    EXPECT_FALSE(Modified());
}

TEST_F(ConsoleCommandsTest, TraceButtonsOfTheParameterPanel)
{
    StartProgram({QStringLiteral(KAVIRO_WINDOWS_TEST_DATA "/sample.kvf")});
    QToolButton* traces = Find<QToolButton>(Console(), "SBAimg");
    ASSERT_NE(traces, nullptr);
    const bool was = Options.CanAImg != 0;
    traces->click();
    EXPECT_EQ(Options.CanAImg != 0, !was);
    traces->click();
    EXPECT_EQ(Options.CanAImg != 0, was);

    Find<QToolButton>(Console(), "BtnToAImage")->click();
    EXPECT_FALSE(TraceStore.IsEmpty());
    Find<QToolButton>(Console(), "BtnClrAImage")->click();
    EXPECT_TRUE(TraceStore.IsEmpty());
    Find<QToolButton>(Console(), "BtnToAImage")->click();
    Trigger("nClrAimg");
    EXPECT_TRUE(TraceStore.IsEmpty());
}

// The menus opened, against pictures reviewed by eye: the file menu with
// its four separators and the items of work still to come greyed, the edit menu with
// nothing to undo, the view menu without "Semi-Transparência" (Ctrl is not
// held), the help menu without help files (only the greyed PDF item and
// "Versão"), the row menu of a user function.
TEST_F(ConsoleCommandsTest, MenusOpened)
{
    StartProgram();
    ProgramState.ProgramDir = dir_.path() + u'/';
    for (const char* name : {"fileMenu1", "Option1", "Show1", "help"}) {
        auto* menu = Console().findChild<QMenu*>(QString::fromLatin1(name));
        menu->popup(QPoint(0, 0));
        ProcessEvents();
        EXPECT_TRUE(MatchesImageGolden(menu->grab().toImage(), QStringLiteral("windows/menu-%1.png").arg(QLatin1String(name)),
                                       {48, 0.02}));
        menu->hide();
    }
    // The row menu of a user function: no "Limpar Traços".
    Console().RowMenuRequested(TConsoleRowKind::UserFunction, 1, QPoint(0, 0));
    ProcessEvents();
    auto* rowMenu = Console().findChild<QMenu*>(QStringLiteral("PmData"));
    EXPECT_TRUE(MatchesImageGolden(rowMenu->grab().toImage(), QStringLiteral("windows/menu-PmData.png"), {48, 0.02}));
    rowMenu->hide();
}

// The graph with the sample project after "Modo de Apresentação", against
// a picture reviewed by eye: tick labels at 24 points, axes 2 wide, the
// curves as wide as before. (The data panel's own picture in this mode is
// with the data panel's tests.)
TEST_F(ConsoleCommandsTest, PresentationModeGraphGolden)
{
    StartProgram({QStringLiteral(KAVIRO_WINDOWS_TEST_DATA "/sample.kvf")});
    Trigger("Npresentation");
    EXPECT_TRUE(MatchesImageGolden(Graph().grab().toImage(), QStringLiteral("windows/commands-graph-presentation.png"),
                                   {48, 0.02}));
}

} // namespace
