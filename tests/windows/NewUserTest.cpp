// A new user's whole path through the program: the sample opened, points
// dragged, functions, relations, circles and curves added through their
// dialogs with the formulas typed in the calculator, points connected, the
// options changed, a parameter stepped, the view zoomed and read, undone,
// saved and opened again. Only the real widgets are driven; after each step
// the test looks at what the user would see.
#include "../dialogs/PropertyDialogTestKit.h"

#include "dialogs/CalcForm.h"
#include "dialogs/DetailForm.h"
#include "dialogs/PntProperty.h"
#include "engine/Evaluator.h"
#include "model/Figures.h"
#include "model/ObjectNames.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "render/gfx/ColorConvert.h"
#include "render/view/Scale.h"
#include "session/Commands.h"
#include "session/MouseWork.h"
#include "session/PanelLayout.h"
#include "session/ProjectFile.h"
#include "session/RowModels.h"
#include "session/StoreOperations.h"
#include "windows/GraphMouse.h"

#include <QAction>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>

namespace {

class NewUserTest : public PropertyDialogTest {
protected:
    QTemporaryDir dir_;

    void SetUp() override {}

    // --- the windows as the user sees them ---------------------------------

    QWidget* G() { return Graph().GImage; }
    static QPoint PixelOf(long double x, long double y) { return GraphScale.WorldToPoint({x, y}); }
    QImage GraphPicture()
    {
        ProcessEvents();
        return G()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    // Whether a pixel within radius of at shows the colour.
    bool ShowsColour(const QImage& picture, QPoint at, TColor colour, int radius = 2)
    {
        const QRgb wanted = ToQColor(colour).rgb() & 0xFFFFFF;
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; ++dx) {
                const QPoint p = at + QPoint(dx, dy);
                if (picture.rect().contains(p) && (picture.pixel(p) & 0xFFFFFF) == wanted)
                    return true;
            }
        return false;
    }
    // How many of the points of the curve x(s), y(s) for s over [low, high]
    // show the colour on the graph.
    template <class Curve>
    int PointsShown(TColor colour, long double low, long double high, Curve curve, int count = 20, int radius = 2)
    {
        const QImage picture = GraphPicture();
        int shown = 0;
        for (int i = 0; i < count; ++i) {
            const long double s = low + (high - low) * (i + 0.5L) / count;
            const auto [x, y] = curve(s);
            shown += ShowsColour(picture, PixelOf(x, y), colour, radius) ? 1 : 0;
        }
        return shown;
    }

    // --- the user's hands ---------------------------------------------------

    QAction* Action(const char* name) { return Find<QAction>(Console(), name); }
    void Trigger(const char* name)
    {
        QAction* action = Action(name);
        ASSERT_NE(action, nullptr);
        ASSERT_TRUE(action->isEnabled()) << name;
        action->trigger();
        ProcessEvents();
    }
    void ClickNamed(QWidget& root, const char* name)
    {
        auto* w = Find<QWidget>(root, name);
        ASSERT_NE(w, nullptr);
        Click(w);
        ProcessEvents();
    }
    // A move with the buttons held, as the window system sends it.
    void Move(QPoint pos, Qt::MouseButtons buttons = Qt::NoButton)
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(pos), QPointF(G()->mapToGlobal(pos)), Qt::NoButton, buttons, {});
        QApplication::sendEvent(G(), &e);
    }
    void DragOnGraph(QPoint from, QPoint to, int steps = 8)
    {
        Move(from);
        QTest::mousePress(G(), Qt::LeftButton, {}, from);
        for (int i = 1; i <= steps; ++i)
            Move(from + (to - from) * i / steps, Qt::LeftButton);
        QTest::mouseRelease(G(), Qt::LeftButton, {}, to);
        ProcessEvents();
    }

    // The object dialog opened by an add button of the data panel, the
    // kind chosen, the formulas typed into the named pictures, the named
    // boxes ticked, OK pressed. The message shown, or an empty text.
    QString AddObject(const char* addButton, const char* kind,
                      std::initializer_list<std::pair<const char*, QString>> formulas,
                      std::initializer_list<const char*> ticks = {})
    {
        ClickNamed(Console(), addButton);
        auto* dialog = OpenDialog<QWidget>("PntProperty");
        EXPECT_NE(dialog, nullptr) << addButton;
        if (!dialog)
            return QStringLiteral("no dialog");
        // On the button's indicator, where a user clicks a choice.
        QWidget* choice = Find<QWidget>(*dialog, kind);
        Click(choice, QPoint(6, choice->height() / 2));
        for (const auto& [picture, text] : formulas) {
            QueueFormula(text);
            Click(Find<QWidget>(*dialog, picture));
            ProcessEvents();
        }
        for (const char* tick : ticks) {
            QWidget* box = Find<QWidget>(*dialog, tick);
            Click(box, QPoint(6, box->height() / 2));
        }
        messages.clear();
        Click(Find<QWidget>(*dialog, "BtnOK"));
        ProcessEvents();
        return messages.empty() ? QString() : messages.last().text;
    }
    // A function or relation added through its add button, typed in the
    // calculator and stored by OK.
    void AddFormula(const char* addButton, const QString& text)
    {
        QueueFormula(text);
        ClickNamed(Console(), addButton);
        QWidget* dialog = OpenDialog<QWidget>("CfxProperty");
        ASSERT_NE(dialog, nullptr) << addButton;
        Click(Find<QWidget>(*dialog, "BtnOK"));
        ProcessEvents();
        ASSERT_EQ(OpenDialog<QWidget>("CfxProperty"), nullptr) << text.toStdString() << " was refused";
    }

    // A row of the data panel the user sees.
    static bool Listed(const TYfxList& row) { return row.Shown && row.Image->isVisible(); }

    // "Opções" from the edit menu: the named buttons clicked, then OK.
    void ChooseOptions(std::initializer_list<const char*> buttons)
    {
        modal.queueAnswer(QStringLiteral("DetailForm"), [buttons](QObject& object) {
            auto& dialog = static_cast<QWidget&>(object);
            for (const char* name : buttons)
                Click(Find<QWidget>(dialog, name));
            Click(Find<QWidget>(dialog, "btnOK"));
            return 1;
        });
        Trigger("menuoption");
        EXPECT_EQ(modal.pendingAnswers(), 0);
    }

    // --- what the document holds ----------------------------------------------

    static int FirstSlotWith(const QString& text)
    {
        for (int i = 1; i <= FunctionCount; ++i)
            if (DocumentTables.Functions[i].Func.Text == text)
                return i;
        return 0;
    }
    static QStringList Texts()
    {
        QStringList texts;
        for (const TEquationFunction& f : DocumentTables.Functions)
            texts << f.Func.Text;
        for (const TEquationFunction& f : DocumentTables.Relations)
            texts << f.Func.Text;
        // Object O, the last, is the program's own: always the origin.
        for (int k = 1; k < PointCount; ++k) {
            const TPointFunction& p = DocumentTables.Points[k];
            texts << QString::number(p.Kind) + u':' + p.X.Text + u'|' + p.Y.Text + u'|' + p.R.Text;
        }
        return texts;
    }
    // A writable copy of the sample project at path.
    static QString CopySample(const QString& path)
    {
        QDir().mkpath(QFileInfo(path).path());
        EXPECT_TRUE(QFile::copy(QStringLiteral(KAVIRO_WINDOWS_TEST_DATA "/sample.kvf"), path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }
    // The records' texts equal those kept before, each difference named.
    static void ExpectTexts(const QStringList& before)
    {
        const QStringList now = Texts();
        ASSERT_EQ(now.size(), before.size());
        for (qsizetype i = 0; i < now.size(); ++i)
            EXPECT_EQ(now[i].toStdString(), before[i].toStdString()) << "record " << i;
    }
    // The sample project in a sample folder beside the program.
    QString PlaceSampleFolder()
    {
        ProgramState.ProgramDir = dir_.filePath(QStringLiteral("program")) + u'/';
        return CopySample(ProgramState.ProgramDir + QStringLiteral("sample/aula.kvf"));
    }
};

// Opens a sample, drags a point, adds a function, undoes it, saves, starts
// again and opens the saved project.
TEST_F(NewUserTest, OpenASampleEditUndoSaveAndOpenItAgain)
{
    StartProgram();
    const QString sample = PlaceSampleFolder();
    files.queueAnswer(sample);
    Trigger("OpenSample");
    ASSERT_EQ(files.requests().size(), 1u);
    EXPECT_EQ(QDir(files.requests()[0].folder), QFileInfo(sample).dir()) << "the chooser opens in the sample folder";
    EXPECT_EQ(files.requests()[0].caption, QStringLiteral("Abrir Exemplo"));
    EXPECT_TRUE(messages.empty()) << "an empty document opens the sample without asking";
    ASSERT_EQ(DocumentTables.Functions[1].Func.Text, QStringLiteral("2sin(x)"));
    EXPECT_EQ(DocumentTables.Relations[1].Func.Text, QStringLiteral("x^2+y^2<4"));
    // Its rows are listed, its curves drawn in their colours.
    for (int i = 1; i <= 3; ++i)
        EXPECT_TRUE(Listed(Console().YfxRows[i])) << i;
    EXPECT_TRUE(Listed(Console().CfnRows[1]));
    EXPECT_FALSE(Listed(Console().YfxRows[4]));
    const TColor red = DocumentTables.Functions[1].Color;
    EXPECT_GE(PointsShown(red, -4.5L, 4.5L, [](long double x) { return std::pair{x, 2 * std::sin(x)}; }), 18);
    EXPECT_FALSE(Action("menuUndo")->isEnabled());

    // A point placed through the object dialog, then dragged.
    EXPECT_EQ(AddObject("sbAddPnt", "RBPoint", {{"ImgX", QStringLiteral("1")}, {"imgY", QStringLiteral("1")}},
                        {"CBDrag"}),
              QString());
    ASSERT_EQ(DocumentTables.Points[1].Kind, ObjectPoint);
    EXPECT_TRUE(Listed(Console().PntRows[1]));
    EXPECT_TRUE(Action("menuUndo")->isEnabled());
    EXPECT_EQ(DocumentTables.Points[1].Draggable, 1);
    const QPoint target = PixelOf(3, -1);
    DragOnGraph(PixelOf(1, 1), target);
    EXPECT_EQ(PixelOf(EvaluatePoint(1, 1).X, EvaluatePoint(1, 2).X), target);
    EXPECT_TRUE(ShowsColour(GraphPicture(), target, DocumentTables.Points[1].ColorNo1));

    // A function typed in the calculator, drawn in its colour, undone.
    AddFormula("sbAddYfx", QStringLiteral("x/2+1"));
    const int y4 = FirstSlotWith(QStringLiteral("x/2+1"));
    ASSERT_EQ(y4, 4);
    EXPECT_TRUE(Listed(Console().YfxRows[4]));
    const TColor colour = DocumentTables.Functions[4].Color;
    const auto line = [](long double x) { return std::pair{x, x / 2 + 1}; };
    EXPECT_GE(PointsShown(colour, -4.5L, 4.5L, line), 16);
    Trigger("menuUndo");
    EXPECT_TRUE(DocumentTables.Functions[4].Func.Text.isEmpty());
    EXPECT_FALSE(Listed(Console().YfxRows[4]));
    EXPECT_LE(PointsShown(colour, -4.5L, 4.5L, line), 4) << "the undone line is gone from the graph";
    EXPECT_TRUE(Action("menuRedo")->isEnabled());

    // Saved under a new name, started again, opened.
    const QStringList before = Texts();
    const QString saved = dir_.filePath(QStringLiteral("minha aula.kvf"));
    files.queueAnswer(saved);
    Trigger("N672Unicode1");
    ASSERT_TRUE(QFileInfo::exists(saved));
    EXPECT_FALSE(Modified());
    messages.clear();
    Trigger("Init1");
    EXPECT_TRUE(messages.empty()) << "a saved document is cleared without asking";
    EXPECT_TRUE(DocumentTables.Functions[1].Func.Text.isEmpty());
    EXPECT_FALSE(Listed(Console().YfxRows[1]));
    EXPECT_FALSE(Listed(Console().PntRows[1]));
    EXPECT_FALSE(Action("menuUndo")->isEnabled());

    files.queueAnswer(saved);
    Trigger("OpenFile");
    EXPECT_TRUE(messages.empty());
    ExpectTexts(before);
    EXPECT_TRUE(Listed(Console().PntRows[1]));
    EXPECT_EQ(PixelOf(EvaluatePoint(1, 1).X, EvaluatePoint(1, 2).X), target);
    EXPECT_GE(PointsShown(red, -4.5L, 4.5L, [](long double x) { return std::pair{x, 2 * std::sin(x)}; }), 18);
    EXPECT_FALSE(Modified());

    // Saved again under another name, the two files are the same.
    const QString again = dir_.filePath(QStringLiteral("de novo.kvf"));
    files.queueAnswer(again);
    Trigger("N672Unicode1");
    QFile first(saved), second(again);
    ASSERT_TRUE(first.open(QIODevice::ReadOnly) && second.open(QIODevice::ReadOnly));
    EXPECT_EQ(first.readAll(), second.readAll());
}

// Builds a small lesson on an empty start: a relation, a circle and a
// parametric curve through their dialogs, two points connected, a function
// with a parameter stepped, the window size and angle unit changed in the
// options, the view zoomed in and out and read, then everything undone.
TEST_F(NewUserTest, BuildALessonThroughTheDialogsAndUndoIt)
{
    StartProgram();
    const auto ellipse = [](long double s) { return std::pair{3 * std::cos(s), 2 * std::sin(s)}; };
    const auto circle = [](long double s) { return std::pair{2 * std::cos(s), 2 * std::sin(s)}; };
    const auto curve = [](long double s) { return std::pair{4 * std::cos(s), std::sin(2 * s) * 3}; };
    const long double twoPi = 2 * 3.14159265358979323846L;

    AddFormula("sbAddCfn", QStringLiteral("x^2/9+y^2/4<=1"));
    ASSERT_EQ(DocumentTables.Relations[1].Func.Text, QStringLiteral("x^2/9+y^2/4<=1"));
    EXPECT_TRUE(Listed(Console().CfnRows[1]));
    // The region is hatched inside the ellipse, its border drawn.
    const auto scaled = [&ellipse](long double k) {
        return [&ellipse, k](long double s) {
            const auto [x, y] = ellipse(s);
            return std::pair{k * x, k * y};
        };
    };
    const TColor hatch = DocumentTables.Relations[1].Color;
    // The hatching's lines are some 11 pixels apart across.
    EXPECT_GE(PointsShown(hatch, 0, twoPi, scaled(0.6L), 24, 6), 22) << "hatched inside";
    EXPECT_EQ(PointsShown(hatch, 0, twoPi, scaled(1.3L), 24), 0) << "nothing outside";
    EXPECT_GE(PointsShown(hatch, 0, twoPi, ellipse, 24), 22) << "the ellipse's border, part of the region";

    EXPECT_EQ(AddObject("sbAddPnt", "RBcircle",
                        {{"ImgX", QStringLiteral("0")}, {"imgY", QStringLiteral("0")}, {"ImgR", QStringLiteral("2")}}),
              QString());
    ASSERT_EQ(DocumentTables.Points[1].Kind, ObjectCircle);
    EXPECT_TRUE(Listed(Console().PntRows[1]));
    EXPECT_GE(PointsShown(DocumentTables.Points[1].ColorNo1, 0, twoPi, circle, 24), 20);

    EXPECT_EQ(AddObject("sbAddCrv", "RBLocus",
                        {{"ImgX", QStringLiteral("4cos(t)")},
                         {"imgY", QStringLiteral("3sin(2t)")},
                         {"ImgHigh", QStringLiteral("2Pi")}}),
              QString());
    ASSERT_EQ(DocumentTables.Points[2].Kind, ObjectParametric);
    EXPECT_TRUE(Listed(Console().PntRows[2]));
    EXPECT_EQ(Console().PntRows[2].Image->parentWidget(), Console().Panels[PanelCurves - 1]);
    EXPECT_GE(PointsShown(DocumentTables.Points[2].ColorNo1, 0, twoPi, curve, 24), 20);

    // Two points connected with the figure tool.
    for (const char* y : {"1", "-1"})
        ASSERT_EQ(AddObject("sbAddPnt", "RBPoint", {{"ImgX", QStringLiteral("-3")}, {"imgY", QString::fromUtf8(y)}}),
                  QString());
    ASSERT_EQ(DocumentTables.Points[4].Kind, ObjectPoint);
    Trigger("menuSegment");
    EXPECT_TRUE(Console().sbsegment->isChecked());
    // The new figure's dialog opens; the user keeps the segment with OK.
    modal.queueAnswer(QStringLiteral("SegProperty"), [](QObject& dialog) {
        Click(static_cast<QWidget&>(dialog).findChild<QWidget*>(QStringLiteral("BtnOk")));
        return 1;
    });
    const int beforeFigure = BackUp.Count();
    DragOnGraph(PixelOf(-3, 1), PixelOf(-3, -1));
    EXPECT_EQ(modal.pendingAnswers(), 0);
    EXPECT_EQ(BackUp.Count(), beforeFigure + 1) << "one undo point for the new figure";
    ASSERT_EQ(Segments.Count(), 1);
    EXPECT_EQ(Segments.GetItem(1).Vertices[1], 3);
    EXPECT_EQ(Segments.GetItem(1).Vertices[2], 4);
    EXPECT_TRUE(Listed(Console().SegRows[1]));
    EXPECT_TRUE(ShowsColour(GraphPicture(), PixelOf(-3, 0.5L), Segments.GetItem(1).Color));
    Trigger("menuSegment");
    EXPECT_EQ(AreaMode(), AreaPointer);

    // A function with a parameter: its row appears, its step moves the line.
    AddFormula("sbAddYfx", QStringLiteral("a·x"));
    const int a = 1;
    TPrmList& row = Console().Params->Rows[a];
    ASSERT_TRUE(row.Shown);
    EXPECT_TRUE(row.Edit->isVisible());
    EXPECT_EQ(row.Edit->text(), QStringLiteral("1"));
    const TColor lineColour = DocumentTables.Functions[1].Color;
    const auto slope = [](long double k) { return [k](long double x) { return std::pair{x, k * x}; }; };
    EXPECT_GE(PointsShown(lineColour, -4, 4, slope(1)), 18);
    Click(row.Up);
    ProcessEvents();
    EXPECT_EQ(row.Edit->text(), QStringLiteral("1.1"));
    EXPECT_EQ(DocumentTables.Params[a].Value, 1.1L);
    EXPECT_GE(PointsShown(lineColour, 1.5L, 3.5L, slope(1.1L), 10), 9) << "the line turned with the step";
    EXPECT_LE(PointsShown(lineColour, 2.5L, 3.5L, slope(1), 10), 3) << "and left its old place";

    // The options: a graph of 500 × 400 pixels, angles in degrees.
    const int viewWidth = GraphScale.XAxis.VHigh, viewHeight = GraphScale.YAxis.VHigh;
    const int undoPoints = BackUp.Count();
    modal.queueAnswer(QStringLiteral("DetailForm"), [](QObject& object) {
        auto& dialog = static_cast<QWidget&>(object);
        for (auto [name, text] : {std::pair{"Edit3", "500"}, std::pair{"Edit4", "400"}}) {
            auto* edit = dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
            EXPECT_NE(edit, nullptr) << name;
            if (!edit)
                return 0;
            edit->selectAll();
            QTest::keyClicks(edit, QString::fromLatin1(text));
        }
        Click(dialog.findChild<QWidget*>(QStringLiteral("SBDeg")));
        Click(dialog.findChild<QWidget*>(QStringLiteral("btnOK")));
        return 1;
    });
    Trigger("menuoption");
    EXPECT_EQ(modal.pendingAnswers(), 0);
    EXPECT_TRUE(errorBoxes.empty());
    EXPECT_EQ(GraphScale.XAxis.VHigh, 500);
    EXPECT_EQ(GraphScale.YAxis.VHigh, 400);
    EXPECT_EQ(G()->size(), QSize(501, 401)) << "the graph widget shows the new size";
    EXPECT_GE(Console().x(), Graph().x() + Graph().width()) << "the data panel stays beside the graph";
    EXPECT_EQ(Console().height(), Graph().height()) << "and as high as the graph window";
    EXPECT_EQ(Options.AngleMode, 2);
    EXPECT_EQ(BackUp.Count(), undoPoints + 1);
    EXPECT_GE(PointsShown(DocumentTables.Points[1].ColorNo1, 0, twoPi, circle, 24), 20) << "redrawn at the new size";

    // In degrees, sin reaches 1 at 90: the degree preset's view and a
    // function typed afterwards.
    ChooseOptions({"SB3"});
    // Squares kept square: the preset's range, fitted to the graph's shape.
    ASSERT_NEAR(static_cast<double>(GraphScale.XAxis.Low), -100.0, 5.0);
    AddFormula("sbAddYfx", QStringLiteral("sin(x)"));
    const int sine = FirstSlotWith(QStringLiteral("sin(x)"));
    ASSERT_NE(sine, 0);
    EXPECT_GE(PointsShown(DocumentTables.Functions[sine].Color, -90, 360,
                          [](long double x) { return std::pair{x, std::sin(x * 3.14159265358979323846L / 180)}; }),
              18);
    Trigger("menuUndo");
    Trigger("menuUndo");
    ASSERT_EQ(Options.AngleMode, 2);

    // Zoomed in on a rectangle, out by a double click, a position read.
    const long double width = GraphScale.Range().Width();
    Click(Graph().sbtnzoom);
    ASSERT_EQ(AreaMode(), AreaZoomIn);
    DragOnGraph(PixelOf(-2, 2), PixelOf(2, -2));
    EXPECT_LT(GraphScale.Range().Width(), width * 0.6L);
    EXPECT_GE(PointsShown(DocumentTables.Points[1].ColorNo1, 0, twoPi, circle, 24), 18) << "the circle zoomed";
    // The graph's view history goes back to the view before the zoom.
    const TWorldRect zoomedIn = GraphScale.Range();
    ClickNamed(Graph(), "tbUndo");
    EXPECT_EQ(GraphScale.Range().Width(), width);
    ClickNamed(Graph(), "tbRedo");
    EXPECT_NEAR(static_cast<double>(GraphScale.Range().Low.X), static_cast<double>(zoomedIn.Low.X), 1e-12);
    EXPECT_NEAR(static_cast<double>(GraphScale.Range().Width()), static_cast<double>(zoomedIn.Width()), 1e-12);
    Click(Graph().sbtnwide);
    const QPoint centre(GraphScale.XAxis.VHigh / 2, GraphScale.YAxis.VHigh / 2);
    Move(centre);
    const long double zoomed = GraphScale.Range().Width();
    QTest::mouseDClick(G(), Qt::LeftButton, {}, centre);
    EXPECT_GT(GraphScale.Range().Width(), zoomed * 1.5L);
    Click(Graph().sbtnwide);
    EXPECT_EQ(AreaMode(), AreaPointer);
    Click(Graph().sbShowPosition);
    ASSERT_TRUE(Graph().sbShowPosition->isChecked());
    // The position under the pointer, in the status bar.
    const QPoint corner(12, 20);
    Move(corner);
    ProcessEvents();
    const QString readOut = Graph().SBarPanel0->text();
    ASSERT_TRUE(readOut.startsWith(QStringLiteral(" (")) && readOut.endsWith(u')')) << readOut.toStdString();
    const QStringList xy = readOut.mid(2, readOut.size() - 3).split(u',');
    ASSERT_EQ(xy.size(), 2) << readOut.toStdString();
    const long double pixelX = GraphScale.Range().Width() / GraphScale.XAxis.VHigh;
    EXPECT_NEAR(xy[0].toDouble(), static_cast<double>(GraphScale.XAxis.PixelToValue(corner.x())),
                static_cast<double>(pixelX));
    EXPECT_NEAR(xy[1].toDouble(), static_cast<double>(GraphScale.YAxis.PixelToValue(corner.y())),
                static_cast<double>(pixelX));
    EXPECT_TRUE(messages.empty()) << messages.last().text.toStdString();

    // Everything undone, step by step, back to the empty start.
    while (Action("menuUndo")->isEnabled())
        Trigger("menuUndo");
    EXPECT_EQ(GraphScale.XAxis.VHigh, viewWidth);
    EXPECT_EQ(GraphScale.YAxis.VHigh, viewHeight);
    EXPECT_EQ(Options.AngleMode, 1);
    EXPECT_EQ(Segments.Count(), 0);
    EXPECT_TRUE(DocumentTables.Relations[1].Func.Text.isEmpty());
    for (int k = 1; k <= 4; ++k)
        EXPECT_EQ(DocumentTables.Points[k].Kind, ObjectEmpty) << k;
    EXPECT_FALSE(Listed(Console().CfnRows[1]));
    EXPECT_FALSE(Listed(Console().PntRows[2]));
    EXPECT_FALSE(Listed(Console().SegRows[1]));
    EXPECT_FALSE(row.Edit->isVisible());
}

// On a copy of the sample: the calculator from the toolbar, a function's
// colour changed from its row through the palette and undone with Ctrl+Z on
// the graph, a point placed from the graph's menu and dragged live, a row
// hidden and shown, a parameter typed, presentation mode, Ctrl+S and
// Ctrl+O on the graph window.
TEST_F(NewUserTest, KeysMenusPaletteAndCalculatorOnTheSample)
{
    const QString project = CopySample(dir_.filePath(QStringLiteral("aula.kvf")));
    StartProgram({project});
    ASSERT_EQ(DocumentTables.Functions[2].Func.Text, QStringLiteral("x^2/4-3"));
    const auto parabola = [](long double x) { return std::pair{x, x * x / 4 - 3}; };

    // The free calculator: 2+3 "=".
    ClickNamed(Console(), "sbCalc");
    QWidget* calculator = Forms.CalcForm;
    ASSERT_TRUE(calculator->isVisible());
    Type(Find<QWidget>(*calculator, "EditCalc"), QStringLiteral("2+3"));
    ClickNamed(*calculator, "BtnEqual");
    EXPECT_TRUE(Find<QLabel>(*calculator, "LabelResult")->text().contains(u'5'))
        << Find<QLabel>(*calculator, "LabelResult")->text().toStdString();
    ClickNamed(Console(), "sbCalc");
    EXPECT_FALSE(calculator->isVisible());
    // The graph's tool page opens the same calculator.
    Graph().findChild<QTabWidget*>()->setCurrentWidget(Graph().TabSheet3);
    ClickNamed(Graph(), "sbcalc");
    EXPECT_TRUE(calculator->isVisible());
    calculator->close();
    ProcessEvents();

    // y2 in red, 3 wide, from its row; Enter stores it.
    const TColor blue = DocumentTables.Functions[2].Color;
    constexpr TColor red = 0x0000FF;
    EXPECT_GE(PointsShown(blue, -4.5L, 4.5L, parabola), 18);
    ClickNamed(Console(), "panelyfxImage2");
    auto* dialog = OpenDialog<QWidget>("CfxProperty");
    ASSERT_NE(dialog, nullptr);
    ChooseStyle(Find<QWidget>(*dialog, "SBPcolor"), "sbc2");
    ChooseStyle(Find<QWidget>(*dialog, "SBWidth"), "SBAL3");
    Key(dialog, Qt::Key_Return);
    ASSERT_EQ(OpenDialog<QWidget>("CfxProperty"), nullptr);
    EXPECT_EQ(DocumentTables.Functions[2].Color, red);
    EXPECT_EQ(DocumentTables.Functions[2].Width, 3);
    EXPECT_GE(PointsShown(red, -4.5L, 4.5L, parabola), 18);
    EXPECT_EQ(Console().YfxRows[2].Button->palette().color(QPalette::ButtonText), ToQColor(red));
    EXPECT_TRUE(Modified());

    QTest::keyClick(&Graph(), Qt::Key_Z, Qt::ControlModifier);
    ProcessEvents();
    EXPECT_EQ(DocumentTables.Functions[2].Color, blue);
    EXPECT_GE(PointsShown(blue, -4.5L, 4.5L, parabola), 18);
    EXPECT_EQ(Console().YfxRows[2].Button->palette().color(QPalette::ButtonText), ToQColor(blue));
    EXPECT_TRUE(Modified()) << "the undone step still differs from the file";
    EXPECT_FALSE(Action("menuUndo")->isEnabled());
    EXPECT_FALSE(Find<QWidget>(Console(), "sbUndo")->isEnabled());
    EXPECT_TRUE(Action("menuRedo")->isEnabled());

    // Live drawing while dragging, from the options' graph page.
    modal.queueAnswer(QStringLiteral("DetailForm"), [](QObject& object) {
        auto& options = static_cast<QWidget&>(object);
        auto* box = options.findChild<QCheckBox*>(QStringLiteral("cbDrawOnDrag"));
        EXPECT_NE(box, nullptr);
        if (box)
            box->setChecked(true);
        Click(options.findChild<QWidget*>(QStringLiteral("btnOK")));
        return 1;
    });
    Trigger("menuoption");
    EXPECT_EQ(Options.DrawOnDrag, 1);

    // A point from the graph's menu: its dialog opens, OK keeps it; then
    // it is dragged and one undo puts it back.
    const QPoint at = PixelOf(-2, 3);
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, G()->mapToGlobal(at));
    QApplication::sendEvent(G(), &menuEvent);
    ProcessEvents();
    ASSERT_TRUE(Graph().PopupMenuGraph->isVisible());
    auto* p1 = Graph().MnGetPoint->findChild<QToolButton*>(QStringLiteral("P1"));
    ASSERT_NE(p1, nullptr);
    p1->click();
    Graph().PopupMenuGraph->hide();
    ProcessEvents();
    auto* pointDialog = OpenDialog<QWidget>("PntProperty");
    ASSERT_NE(pointDialog, nullptr) << "a new point shows its properties";
    Click(Find<QWidget>(*pointDialog, "BtnOK"));
    ProcessEvents();
    ASSERT_EQ(DocumentTables.Points[1].Kind, ObjectPoint);
    EXPECT_TRUE(Listed(Console().PntRows[1]));
    EXPECT_EQ(PixelOf(EvaluatePoint(1, 1).X, EvaluatePoint(1, 2).X), at);
    const QPoint target = PixelOf(2, 3);
    DragOnGraph(at, target, 20);
    EXPECT_EQ(PixelOf(EvaluatePoint(1, 1).X, EvaluatePoint(1, 2).X), target);
    EXPECT_TRUE(ShowsColour(GraphPicture(), target, DocumentTables.Points[1].ColorNo1));
    // A live drag is one step: undo puts the point back, a second one
    // takes it away, redo brings both again.
    Trigger("menuUndo");
    EXPECT_EQ(PixelOf(EvaluatePoint(1, 1).X, EvaluatePoint(1, 2).X), at);
    Trigger("menuUndo");
    EXPECT_EQ(DocumentTables.Points[1].Kind, ObjectEmpty);
    EXPECT_FALSE(Listed(Console().PntRows[1]));
    Trigger("menuRedo");
    Trigger("menuRedo");
    EXPECT_EQ(PixelOf(EvaluatePoint(1, 1).X, EvaluatePoint(1, 2).X), target);
    EXPECT_FALSE(Action("menuRedo")->isEnabled());

    // y3 hidden from its row's menu, still drawn; shown again.
    QWidget* y3 = Find<QWidget>(Console(), "panelyfxImage3");
    Click(y3, {}, Qt::RightButton);
    ProcessEvents();
    Trigger("nHideData");
    Find<QWidget>(Console(), "PmData")->hide();
    EXPECT_FALSE(Listed(Console().YfxRows[3]));
    const TColor green = DocumentTables.Functions[3].Color;
    const auto wave = [](long double a) {
        return [a](long double x) { return std::pair{x, a * std::cos(2 * x) + 1}; };
    };
    EXPECT_GE(PointsShown(green, -4.5L, 4.5L, wave(1)), 17) << "a hidden row stays drawn";
    Trigger("NShowData1");
    EXPECT_TRUE(Listed(Console().YfxRows[3]));

    // The parameter typed into its edit.
    QLineEdit* a = Console().Params->Rows[1].Edit;
    ASSERT_TRUE(a->isVisible());
    a->selectAll();
    Type(a, QStringLiteral("2"));
    QTest::keyClick(a, Qt::Key_Return);
    ProcessEvents();
    EXPECT_EQ(DocumentTables.Params[1].Value, 2.0L);
    EXPECT_GE(PointsShown(green, -4.5L, 4.5L, wave(2)), 17);

    // Presentation mode and back: the rows are typeset larger, then again.
    const int pitch = RowMetrics.RowPitch;
    Trigger("Npresentation");
    EXPECT_GT(Console().YfxRows[1].Image->height(), pitch);
    Trigger("Npresentation");
    EXPECT_EQ(Console().YfxRows[1].Image->height(), pitch - 2);

    // Ctrl+S on the graph writes the project; Ctrl+O opens it again.
    ASSERT_TRUE(Modified());
    const QStringList before = Texts();
    QTest::keyClick(&Graph(), Qt::Key_S, Qt::ControlModifier);
    ProcessEvents();
    EXPECT_FALSE(Modified());
    EXPECT_TRUE(files.requests().empty()) << "the project's own file, without asking";
    Trigger("Init1");
    EXPECT_TRUE(DocumentTables.Functions[1].Func.Text.isEmpty());
    files.queueAnswer(project);
    QTest::keyClick(&Graph(), Qt::Key_O, Qt::ControlModifier);
    ProcessEvents();
    ExpectTexts(before);
    EXPECT_EQ(DocumentTables.Params[1].Value, 2.0L);
    EXPECT_EQ(PixelOf(EvaluatePoint(1, 1).X, EvaluatePoint(1, 2).X), target);
    EXPECT_TRUE(modal.unanswered().empty());
    EXPECT_TRUE(messages.empty()) << messages.last().text.toStdString();
}

// A user function typed in the calculator and used by a function, then
// changed from its row; two points connected and the figure's dialog
// cancelled; a point erased from its row's menu with its figure, and one
// undo bringing both back.
TEST_F(NewUserTest, UserFunctionsFiguresAndErasing)
{
    StartProgram();
    QueueFormula(QStringLiteral("x^2-1"));
    ClickNamed(Console(), "sbAddUsr");
    EXPECT_EQ(modal.pendingAnswers(), 0);
    ASSERT_EQ(DocumentTables.UserFunctions[1].Text, QStringLiteral("x^2-1"));
    EXPECT_TRUE(Listed(Console().UsrRows[1]));
    const QString f = UserFunctionNames[1].toString();
    AddFormula("sbAddYfx", f + QStringLiteral("(x)/2"));
    const TColor colour = DocumentTables.Functions[1].Color;
    const auto half = [](int power) {
        return [power](long double x) { return std::pair{x, (power == 2 ? x * x - 1 : x * x * x) / 2}; };
    };
    EXPECT_GE(PointsShown(colour, -2.5L, 2.5L, half(2)), 18);

    QueueFormula(QStringLiteral("x^3"));
    ClickNamed(Console(), "PanelUsrImage1");
    ASSERT_EQ(DocumentTables.UserFunctions[1].Text, QStringLiteral("x^3"));
    EXPECT_GE(PointsShown(colour, -1.5L, 1.5L, half(3)), 18) << "the function follows its user function";
    EXPECT_LE(PointsShown(colour, 1.2L, 2.0L, half(2), 10), 3);

    // P and Q connected; the new figure's dialog is cancelled.
    for (const char* x : {"-3", "3"})
        ASSERT_EQ(AddObject("sbAddPnt", "RBPoint", {{"ImgX", QString::fromUtf8(x)}, {"imgY", QStringLiteral("3")}}),
                  QString());
    Trigger("menuSegment");
    modal.queueAnswer(QStringLiteral("SegProperty"), [](QObject& dialog) {
        Click(static_cast<QWidget&>(dialog).findChild<QWidget*>(QStringLiteral("btnCancel")));
        return 0;
    });
    DragOnGraph(PixelOf(-3, 3), PixelOf(3, 3));
    Trigger("menuSegment");
    EXPECT_EQ(modal.pendingAnswers(), 0);
    // The connection is made; cancel only leaves its style as it was.
    ASSERT_EQ(Segments.Count(), 1);
    EXPECT_TRUE(Listed(Console().SegRows[1]));
    EXPECT_TRUE(ShowsColour(GraphPicture(), PixelOf(0, 3), Segments.GetItem(1).Color));

    // P erased from its row: its figure goes with it; one undo brings both.
    Click(Find<QWidget>(Console(), "panelPntImage1"), {}, Qt::RightButton);
    ProcessEvents();
    messages.scriptAnswers({true});
    Trigger("nErase");
    Find<QWidget>(Console(), "PmData")->hide();
    EXPECT_EQ(messages.last().text, EraseQuestion);
    EXPECT_EQ(DocumentTables.Points[1].Kind, ObjectEmpty);
    EXPECT_EQ(Segments.Count(), 0);
    EXPECT_FALSE(Listed(Console().PntRows[1]));
    EXPECT_FALSE(Listed(Console().SegRows[1]));
    EXPECT_FALSE(ShowsColour(GraphPicture(), PixelOf(0, 3), Segments.GetItem(1).Color));
    Trigger("menuUndo");
    EXPECT_EQ(DocumentTables.Points[1].Kind, ObjectPoint);
    EXPECT_EQ(Segments.Count(), 1);
    EXPECT_TRUE(Listed(Console().PntRows[1]));
    EXPECT_TRUE(Listed(Console().SegRows[1]));
    EXPECT_TRUE(ShowsColour(GraphPicture(), PixelOf(0, 3), Segments.GetItem(1).Color));
}

// From the keyboard and the file manager: Alt+Down from the graph window
// reaches the parameter, Alt+Right steps it and the curve moves; a project
// dropped on the graph window asks before replacing an edited document.
TEST_F(NewUserTest, KeyboardStepsAndADroppedProject)
{
    const QString project = CopySample(dir_.filePath(QStringLiteral("aula.kvf")));
    StartProgram({project});
    const TColor green = DocumentTables.Functions[3].Color;
    const auto wave = [](long double a) {
        return [a](long double x) { return std::pair{x, a * std::cos(2 * x) + 1}; };
    };
    ASSERT_GE(PointsShown(green, -4.5L, 4.5L, wave(1)), 17);

    QLineEdit* a = Console().Params->Rows[1].Edit;
    QTest::keyClick(&Graph(), Qt::Key_Down, Qt::AltModifier);
    ProcessEvents();
    EXPECT_EQ(Console().focusWidget(), a);
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(a, Qt::Key_Right, Qt::AltModifier);
    ProcessEvents();
    EXPECT_EQ(a->text(), QStringLiteral("1.5"));
    EXPECT_NEAR(static_cast<double>(DocumentTables.Params[1].Value), 1.5, 1e-15);
    EXPECT_GE(PointsShown(green, -4.5L, 4.5L, wave(1.5L)), 17) << "the curve follows the steps";

    // An edit, then the project dropped on the graph: Cancel keeps the
    // edit, OK opens the file as it was saved.
    AddFormula("sbAddYfx", QStringLiteral("x"));
    ASSERT_EQ(DocumentTables.Functions[4].Func.Text, QStringLiteral("x"));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(project)});
    const auto drop = [this, &data] {
        const QPoint at = Graph().rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&Graph(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&Graph(), &dropped);
        ProcessEvents();
    };
    messages.scriptAnswers({false});
    drop();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.last().text, ClearDocumentQuestion);
    EXPECT_EQ(DocumentTables.Functions[4].Func.Text, QStringLiteral("x"));
    EXPECT_TRUE(Listed(Console().YfxRows[4]));
    messages.scriptAnswers({true});
    drop();
    EXPECT_TRUE(DocumentTables.Functions[4].Func.Text.isEmpty());
    EXPECT_FALSE(Listed(Console().YfxRows[4]));
    EXPECT_EQ(DocumentTables.Params[1].Value, 1.0L);
    EXPECT_EQ(a->text(), QStringLiteral("1"));
    EXPECT_GE(PointsShown(green, -4.5L, 4.5L, wave(1)), 17);
    EXPECT_FALSE(Modified());
    EXPECT_FALSE(Action("menuUndo")->isEnabled());

    // Two edits, one undone: closing still asks, Cancel keeps everything.
    AddFormula("sbAddYfx", QStringLiteral("x"));
    AddFormula("sbAddYfx", QStringLiteral("-x"));
    Trigger("menuUndo");
    messages.clear();
    messages.scriptAnswers({false});
    EXPECT_FALSE(Console().close());
    ASSERT_FALSE(messages.empty()) << "the remaining edit would be lost";
    EXPECT_EQ(messages.last().text, QStringLiteral("Sair com [OK]"));
    EXPECT_TRUE(Graph().isVisible());
    EXPECT_EQ(DocumentTables.Functions[4].Func.Text, QStringLiteral("x"));
}

// A curve synchronised with its parameter: the parameter's row appears
// with the curve's step, and stepping it moves the point along the curve.
TEST_F(NewUserTest, ASynchronisedCurveStepsItsPoint)
{
    StartProgram();
    ASSERT_EQ(AddObject("sbAddCrv", "RBLocus",
                        {{"ImgX", QStringLiteral("3cos(t)")},
                         {"imgY", QStringLiteral("3sin(t)")},
                         {"ImgHigh", QStringLiteral("2Pi")}},
                        {"cbSync"}),
              QString());
    ASSERT_EQ(DocumentTables.Points[1].Kind, ObjectParametric);
    EXPECT_EQ(DocumentTables.Points[1].Sync, 1);
    const int t = 10;
    ASSERT_EQ(ParamLetters[t], u't');
    TPrmList& row = Console().Params->Rows[t];
    ASSERT_TRUE(row.Shown);
    EXPECT_TRUE(row.Edit->isVisible());
    EXPECT_EQ(DocumentTables.Params[t].Step, DocumentTables.Points[1].ParamStep);
    const TColor colour = DocumentTables.Points[1].ColorNo1;
    const auto onCurve = [](long double s) { return std::pair{3 * std::cos(s), 3 * std::sin(s)}; };
    EXPECT_GE(PointsShown(colour, 0, 2 * 3.14159265358979323846L, onCurve, 24), 20);
    const QPoint before = PixelOf(EvaluatePoint(1, 1).X, EvaluatePoint(1, 2).X);
    for (int i = 0; i < 5; ++i)
        Click(row.Up);
    ProcessEvents();
    const long double value = DocumentTables.Params[t].Value;
    const QPoint after = PixelOf(EvaluatePoint(1, 1).X, EvaluatePoint(1, 2).X);
    EXPECT_NE(after, before) << "the curve's point moved with t";
    EXPECT_EQ(after, PixelOf(3 * std::cos(value), 3 * std::sin(value)));
    EXPECT_EQ(row.Edit->text().toDouble(), static_cast<double>(value));
    EXPECT_TRUE(messages.empty()) << messages.last().text.toStdString();
}

// A row's name button hides and shows its curve; the options kept as the
// standard ("Estabelecer Padrão") are those of the next new document, and
// "Iniciar Padrão" brings the program's own back.
TEST_F(NewUserTest, ShowButtonsAndTheStandardOptions)
{
    StartProgram({CopySample(dir_.filePath(QStringLiteral("aula.kvf")))});
    const TColor red = DocumentTables.Functions[1].Color;
    const auto sine = [](long double x) { return std::pair{x, 2 * std::sin(x)}; };
    Click(Console().YfxRows[1].Button);
    ProcessEvents();
    EXPECT_EQ(DocumentTables.Functions[1].Visible, 0);
    EXPECT_LE(PointsShown(red, -4.5L, 4.5L, sine), 2) << "hidden from the graph";
    EXPECT_TRUE(Listed(Console().YfxRows[1])) << "the row stays";
    Click(Console().YfxRows[1].Button);
    ProcessEvents();
    EXPECT_GE(PointsShown(red, -4.5L, 4.5L, sine), 18);

    ChooseOptions({"SBDeg"});
    ASSERT_EQ(Options.AngleMode, 2);
    Trigger("SetDefault");
    messages.scriptAnswers({true});
    Trigger("Init1");
    EXPECT_TRUE(DocumentTables.Functions[1].Func.Text.isEmpty());
    EXPECT_EQ(Options.AngleMode, 2) << "the new document starts with the standard kept";
    Trigger("SetInit");
    Trigger("Init1");
    EXPECT_EQ(Options.AngleMode, 1) << "and with the program's own after Iniciar Padrão";
    EXPECT_TRUE(modal.unanswered().empty());
}

// A draggable circle: its centre moves it, its edge changes its radius,
// each drag one undo step.
TEST_F(NewUserTest, DraggingACircleByItsCentreAndItsEdge)
{
    StartProgram();
    ASSERT_EQ(AddObject("sbAddPnt", "RBcircle",
                        {{"ImgX", QStringLiteral("0")}, {"imgY", QStringLiteral("0")}, {"ImgR", QStringLiteral("1")}},
                        {"CBDrag"}),
              QString());
    ASSERT_EQ(DocumentTables.Points[1].Kind, ObjectCircle);
    const TColor colour = DocumentTables.Points[1].ColorNo1;
    DragOnGraph(PixelOf(0, 0), PixelOf(1, 1));
    EXPECT_EQ(PixelOf(EvaluatePoint(1, 1).X, EvaluatePoint(1, 2).X), PixelOf(1, 1));
    const auto around = [](long double cx, long double cy, long double r) {
        return [=](long double s) { return std::pair{cx + r * std::cos(s), cy + r * std::sin(s)}; };
    };
    const long double twoPi = 2 * 3.14159265358979323846L;
    EXPECT_GE(PointsShown(colour, 0, twoPi, around(1, 1, 1), 24), 20);

    DragOnGraph(PixelOf(2, 1), PixelOf(3, 1));
    EXPECT_NEAR(static_cast<double>(EvaluatePoint(1, 3).X), 2.0, 0.05) << "the edge sets the radius";
    EXPECT_GE(PointsShown(colour, 0, twoPi, around(1, 1, 2), 24), 20);
    Trigger("menuUndo");
    EXPECT_NEAR(static_cast<double>(EvaluatePoint(1, 3).X), 1.0, 1e-9);
    EXPECT_EQ(PixelOf(EvaluatePoint(1, 1).X, EvaluatePoint(1, 2).X), PixelOf(1, 1));
    Trigger("menuUndo");
    EXPECT_EQ(PixelOf(EvaluatePoint(1, 1).X, EvaluatePoint(1, 2).X), PixelOf(0, 0));
    EXPECT_GE(PointsShown(colour, 0, twoPi, around(0, 0, 1), 24), 20);
    EXPECT_TRUE(messages.empty()) << messages.last().text.toStdString();
}

// An object whose kind changes from its row moves between the point and
// curve panels; each panel's add button stays below its last row.
TEST_F(NewUserTest, AnObjectChangingKindMovesToItsPanel)
{
    StartProgram();
    ASSERT_EQ(AddObject("sbAddPnt", "RBPoint", {{"ImgX", QStringLiteral("1")}, {"imgY", QStringLiteral("2")}}),
              QString());
    QWidget* points = Console().Panels[PanelPoints - 1];
    QWidget* curves = Console().Panels[PanelCurves - 1];
    TYfxList& row = Console().PntRows[1];
    ASSERT_EQ(row.Image->parentWidget(), points);
    const auto addBelowRow = [&row](const char* add) {
        QWidget* button = Find<QWidget>(*row.Image->parentWidget(), add);
        return button && button->isVisible() && button->y() >= row.Image->geometry().bottom();
    };
    EXPECT_TRUE(addBelowRow("sbAddPnt"));

    ClickNamed(Console(), "panelPntImage1");
    QWidget* dialog = OpenDialog<QWidget>("PntProperty");
    ASSERT_NE(dialog, nullptr);
    QWidget* locus = Find<QWidget>(*dialog, "RBLocus");
    Click(locus, QPoint(6, locus->height() / 2));
    for (auto [picture, text] : {std::pair{"ImgX", "2cos(t)"}, std::pair{"imgY", "sin(t)"}}) {
        QueueFormula(QString::fromUtf8(text));
        Click(Find<QWidget>(*dialog, picture));
        ProcessEvents();
    }
    Click(Find<QWidget>(*dialog, "BtnOK"));
    ProcessEvents();
    ASSERT_EQ(DocumentTables.Points[1].Kind, ObjectParametric);
    EXPECT_EQ(row.Image->parentWidget(), curves);
    EXPECT_TRUE(Listed(row));
    EXPECT_TRUE(addBelowRow("sbAddCrv"));
    EXPECT_TRUE(Find<QWidget>(*points, "sbAddPnt")->isVisible());
    EXPECT_LT(points->height(), curves->height()) << "the point panel holds no row now";
    Trigger("menuUndo");
    EXPECT_EQ(row.Image->parentWidget(), points);
    EXPECT_TRUE(Listed(row));
}

// Saved in either of the two encodings the file menu offers, the
// project opens again as it was: a product, θ and a stepped parameter.
TEST_F(NewUserTest, BothSaveEncodingsOpenAgainEqual)
{
    StartProgram();
    ASSERT_EQ(PointLetter(PointCount), u'O');
    EXPECT_EQ(DocumentTables.Points[PointCount].Kind, ObjectPoint) << "the origin O is there from the start";
    AddFormula("sbAddYfx", QStringLiteral("a*x+sin(x)"));
    AddFormula("sbAddCfn", QStringLiteral("x^2+y^2<=9"));
    // θ comes from the calculator's own button.
    modal.queueAnswer(QStringLiteral("CalcForm"), [](QObject& object) {
        auto& calculator = static_cast<QWidget&>(object);
        QWidget* edit = Find<QWidget>(calculator, "EditCalc");
        Type(edit, QStringLiteral("1+cos("));
        Click(Find<QWidget>(calculator, "SBTheta"));
        Type(edit, QStringLiteral(")"));
        Click(Find<QWidget>(calculator, "BtnSendTo"));
        return 1;
    });
    ClickNamed(Console(), "sbAddCrv");
    QWidget* dialog = OpenDialog<QWidget>("PntProperty");
    ASSERT_NE(dialog, nullptr);
    QWidget* polar = Find<QWidget>(*dialog, "RBPolor");
    Click(polar, QPoint(6, polar->height() / 2));
    Click(Find<QWidget>(*dialog, "ImgR"));
    ProcessEvents();
    Click(Find<QWidget>(*dialog, "BtnOK"));
    ProcessEvents();
    ASSERT_EQ(DocumentTables.Points[1].Kind, ObjectPolar);
    EXPECT_TRUE(DocumentTables.Points[1].R.Text.contains(u'@')) << DocumentTables.Points[1].R.Text.toStdString();
    ClickNamed(Console(), "sbPrmUp1");
    const QStringList before = Texts();
    const long double a = DocumentTables.Params[1].Value;
    for (const char* item : {"N671ShiftJis1", "N672Unicode1"}) {
        SCOPED_TRACE(item);
        const QString path = dir_.filePath(QString::fromLatin1(item) + QStringLiteral(".kvf"));
        files.queueAnswer(path);
        Trigger(item);
        ASSERT_TRUE(QFileInfo::exists(path));
        Trigger("Init1");
        files.queueAnswer(path);
        Trigger("OpenFile");
        ExpectTexts(before);
        EXPECT_EQ(DocumentTables.Params[1].Value, a);
        EXPECT_TRUE(Listed(Console().PntRows[1]));
        EXPECT_TRUE(messages.empty()) << messages.last().text.toStdString();
    }
}

// A mistake typed in the calculator is refused there with a message; the
// user mends it in the same window and the function is added.
TEST_F(NewUserTest, AMistakeMendedInTheCalculator)
{
    StartProgram();
    bool stayedOpen = false;
    modal.queueAnswer(QStringLiteral("CalcForm"), [this, &stayedOpen](QObject& object) {
        auto& calculator = static_cast<QWidget&>(object);
        auto* edit = Find<QLineEdit>(calculator, "EditCalc");
        Type(edit, QStringLiteral("2x+"));
        Click(Find<QWidget>(calculator, "BtnSendTo"));
        stayedOpen = calculator.isVisible();
        EXPECT_FALSE(messages.empty()) << "the mistake is shown";
        Type(edit, QStringLiteral("1"));
        Click(Find<QWidget>(calculator, "BtnSendTo"));
        return calculator.isVisible() ? 0 : 1;
    });
    ClickNamed(Console(), "sbAddYfx");
    EXPECT_TRUE(stayedOpen);
    QWidget* dialog = OpenDialog<QWidget>("CfxProperty");
    ASSERT_NE(dialog, nullptr);
    Click(Find<QWidget>(*dialog, "BtnOK"));
    ProcessEvents();
    EXPECT_EQ(DocumentTables.Functions[1].Func.Text, QStringLiteral("2x+1"));
    EXPECT_TRUE(Listed(Console().YfxRows[1]));
    EXPECT_GE(PointsShown(DocumentTables.Functions[1].Color, -2.5L, 1.5L,
                          [](long double x) { return std::pair{x, 2 * x + 1}; }),
              18);
}

} // namespace
