// The data panel's commands without windows: new document, dropped files,
// help, association, erasing, hiding and presentation sizes.
#include "StoreTestKit.h"

#include "session/Commands.h"
#include "session/PanelLayout.h"
#include "session/Presentation.h"
#include "session/StoreOperations.h"
#include "session/UndoPoints.h"

#include "model/Figures.h"
#include "model/History.h"
#include "model/MessageBox.h"
#include "model/ObjectNames.h"
#include "render/view/RedrawState.h"
#include "model/ProgramState.h"
#include "platform/fakes/FakeChoosers.h"
#include "platform/fakes/FakeFileAssociation.h"
#include "platform/fakes/MemorySettingsStore.h"
#include "render/view/Scale.h"

#include <QDir>


namespace {

class CommandsTest : public StoreTest {
protected:
    platform::MemorySettingsStore store_;
    platform::ScopedSettingsStore useStore_{store_};
    platform::FakeFileAssociation association_;
    platform::ScopedFileAssociation useAssociation_{association_};

    // A project with one function, y = x^2, saved under that file name in
    // the test's folder; the document is new again afterwards.
    QString SaveParabola(const QString& fileName)
    {
        SetYfx(1, Equation(QStringLiteral("x^2")));
        const QString path = PathOf(fileName);
        WriteBytes(fileName, EncodeProjectLines(WrittenLines()));
        ResetAllGlobals();
        SetOriginObject();
        ClearUndo();
        return path;
    }
    // A document that has something to lose: edited after its start.
    static void EditDocument() { SetYfx(2, Equation(QStringLiteral("2x"))); }

    QStringList Messages() const
    {
        QStringList texts;
        for (const auto& m : sink_.messages())
            texts << m.text;
        return texts;
    }
};

QList<QUrl> Local(const QString& path)
{
    return {QUrl::fromLocalFile(path)};
}

TEST_F(CommandsTest, ADroppedProjectAsksBeforeAnEditedDocumentGoes)
{
    const QString path = SaveParabola(QStringLiteral("A.KVF"));
    EditDocument();
    sink_.scriptAnswers({false});
    EXPECT_FALSE(DropProjectFile(Local(path)));
    EXPECT_EQ(Messages(), QStringList{ClearDocumentQuestion});
    EXPECT_EQ(DocumentTables.Functions[2].Func.Text, QStringLiteral("2x"));

    sink_.clear();
    EXPECT_TRUE(DropProjectFile(Local(path)));
    EXPECT_EQ(Messages(), QStringList{ClearDocumentQuestion});
    EXPECT_TRUE(DocumentTables.Functions[2].Func.Text.isEmpty());
    EXPECT_EQ(DocumentTables.Functions[1].Func.Text, QStringLiteral("x^2"));
    // Saving writes back to the file the project came from, in its spelling.
    EXPECT_TRUE(SaveProject());
    EXPECT_EQ(QDir(PathOf(QString())).entryList(QDir::Files), QStringList{QStringLiteral("A.KVF")});
}

TEST_F(CommandsTest, OpenAndSaveThroughTheChoosers)
{
    platform::FakeFileChooser files;
    platform::ScopedFileChooser useFiles{files};
    const QString path = SaveParabola(QStringLiteral("aula.kvf"));
    ProgramState.ProgramDir = QStringLiteral("/opt/kaviro/");

    // Cancelled: nothing asked, nothing opened.
    EXPECT_FALSE(OpenSampleClick());
    EXPECT_EQ(files.requests().back().folder, QStringLiteral("/opt/kaviro/sample"));
    EditDocument();
    files.queueAnswer(path);
    sink_.scriptAnswers({false});
    EXPECT_FALSE(OpenFileClick());
    EXPECT_EQ(sink_.last().text, ClearDocumentQuestion);
    EXPECT_EQ(DocumentTables.Functions[2].Func.Text, QStringLiteral("2x"));
    files.queueAnswer(path);
    EXPECT_TRUE(OpenFileClick());
    EXPECT_EQ(DocumentTables.Functions[1].Func.Text, QStringLiteral("x^2"));
    EXPECT_TRUE(DocumentTables.Functions[2].Func.Text.isEmpty());

    // The next open starts at the open file.
    OpenFileClick();
    EXPECT_EQ(files.requests().back().folder, PathOf(QString()));
    EXPECT_EQ(files.requests().back().fileName, QStringLiteral("aula.kvf"));

    // "Salvar" writes the open file; without one it asks for a name.
    EditDocument();
    EXPECT_TRUE(OverwriteClick());
    EXPECT_FALSE(Modified());
    InitAllData();
    EditDocument();
    const auto asked = files.requests().size();
    files.queueAnswer(PathOf(QStringLiteral("nova.kvf")));
    EXPECT_TRUE(OverwriteClick());
    EXPECT_EQ(files.requests().size(), asked + 1);
    EXPECT_TRUE(QFileInfo::exists(PathOf(QStringLiteral("nova.kvf"))));
    EXPECT_EQ(ProjectFile.FileName, PathOf(QStringLiteral("nova")));
}

TEST_F(CommandsTest, NewDocument)
{
    struct Case {
        const char* what;
        bool edited;
        bool answer;
        bool asked;
        bool cleared;
    };
    const Case cases[] = {
        {"unchanged", false, false, false, true},
        {"edited, OK", true, true, true, true},
        {"edited, Cancel", true, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetAllGlobals();
        SetOriginObject();
        sink_.clear();
        // A function stored and saved leaves the document unchanged.
        SetYfx(1, Equation(QStringLiteral("x")));
        ProgramState.Modified = 0;
        if (c.edited)
            EditDocument();
        TraceStore.Clear();
        RecordOneTrace();
        Segments.Append(1, 1, 0, 2, 1);
        PanelLayout.Panels[PanelFigures].Visible = 1;
        PanelLayout.StickerPlaces[3] = {100, 200, 1};
        if (c.asked)
            sink_.scriptAnswers({c.answer});
        const int clearsBefore = feature_.Clears;

        EXPECT_EQ(Init1Click(), c.cleared);
        EXPECT_EQ(feature_.Clears - clearsBefore, c.cleared ? 1 : 0) << "the features clear their stores";
        EXPECT_EQ(!sink_.empty(), c.asked);
        if (c.asked) {
            EXPECT_EQ(sink_.last().text, ClearDocumentQuestion);
        }
        EXPECT_EQ(DocumentTables.Functions[1].Func.Text.isEmpty(), c.cleared);
        EXPECT_EQ(TraceStore.IsEmpty(), c.cleared);
        EXPECT_EQ(Segments.Count() == 0, c.cleared);
        if (c.cleared) {
            EXPECT_EQ(PanelLayout.Panels[PanelFigures].Visible, 0);
            EXPECT_EQ(PanelLayout.Panels[PanelFunctions].Visible, 1);
            EXPECT_EQ(PanelLayout.StickerPlaces[3], (TStickerPlace{4, 24, 0}));
            EXPECT_TRUE(ProjectFile.FileName.isEmpty());
            EXPECT_FALSE(Modified());
            EXPECT_TRUE(BackUp.IsAtStart());
            EXPECT_EQ(DocumentTables.Points[22].Kind, ObjectPoint); // the origin
        }
    }
}

TEST_F(CommandsTest, ErasingAPointTakesItsFiguresAndOneUndoBringsThemBack)
{
    SetPnt(1, PointAt(1, QStringLiteral("(1,2)"))); // P
    SetPnt(2, PointAt(2, QStringLiteral("(3,1)"))); // Q
    Segments.Append(1, 2, 0, 2, 1);
    sink_.scriptAnswers({false, true});

    EXPECT_FALSE(EraseRowItem(TRowItem::Object, 1));
    EXPECT_EQ(DocumentTables.Points[1].Kind, ObjectPoint);
    EXPECT_TRUE(EraseRowItem(TRowItem::Object, 1));
    EXPECT_EQ(sink_.last().text, EraseQuestion);
    EXPECT_EQ(sink_.last().buttons, MsgOkCancel);
    EXPECT_EQ(DocumentTables.Points[1].Kind, ObjectEmpty);
    EXPECT_EQ(DocumentTables.Points[1].Label, QStringLiteral("P"));
    EXPECT_EQ(Segments.Count(), 0);

    Undo();
    EXPECT_EQ(DocumentTables.Points[1].Kind, ObjectPoint);
    EXPECT_EQ(Segments.Count(), 1);
}

TEST_F(CommandsTest, ErasingEachKindOfRow)
{
    SetYfx(3, Equation(QStringLiteral("x")));
    SetCfn(2, Equation(QStringLiteral("x^2+y^2-1"), ModeRelation));
    SetUsr(1, Equation(QStringLiteral("x+1"), ModeUserFunction).Func);
    SetPnt(1, PointAt(1, QStringLiteral("(1,2)")));
    SetPnt(2, PointAt(2, QStringLiteral("(3,1)")));
    Segments.Append(1, 2, 0, 2, 1);
    for (TRowItem kind : {TRowItem::Function, TRowItem::Relation, TRowItem::UserFunction, TRowItem::Figure})
        EXPECT_TRUE(EraseRowItem(kind, kind == TRowItem::Function ? 3 : kind == TRowItem::Relation ? 2 : 1));
    EXPECT_TRUE(DocumentTables.Functions[3].Func.Text.isEmpty());
    EXPECT_TRUE(DocumentTables.Relations[2].Func.Text.isEmpty());
    EXPECT_TRUE(DocumentTables.UserFunctions[1].Text.isEmpty());
    EXPECT_EQ(Segments.Count(), 0);
    EXPECT_EQ(DocumentTables.Points[1].Kind, ObjectPoint);
    // Parameters are never erased, and nobody is asked.
    sink_.clear();
    EXPECT_FALSE(EraseRowItem(TRowItem::Param, 1));
    EXPECT_TRUE(sink_.empty());
}

TEST_F(CommandsTest, RowMenuOffersWhatTheRowHas)
{
    struct Case {
        TRowItem kind;
        TRowMenuItems items;
    };
    const Case cases[] = {
        {TRowItem::Function, {true, true, true, true}},
        {TRowItem::Relation, {true, true, true, true}},
        {TRowItem::Object, {true, true, true, true}},
        {TRowItem::Param, {false, false, false, true}},
        {TRowItem::UserFunction, {true, true, false, true}},
        {TRowItem::Figure, {true, true, true, false}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RowMenuItems(c.kind), c.items) << static_cast<int>(c.kind);
}

TEST_F(CommandsTest, HiddenRowsStayDrawnAndComeBackByKind)
{
    SetYfx(2, Equation(QStringLiteral("x+1")));
    SetPnt(1, PointAt(1, QStringLiteral("(1,2)")));
    TPointFunction curve = DefaultPoint;
    curve.Kind = ObjectPolar;
    curve.R.Text = QStringLiteral("1");
    SetPnt(3, curve);

    HideRow(TRowItem::Function, 2);
    HideRow(TRowItem::Object, 1);
    HideRow(TRowItem::Object, 3);
    EXPECT_FALSE(RowModels.Functions.Rows[2].Shown);
    EXPECT_EQ(DocumentTables.Functions[2].Visible, 1);

    struct Case {
        int tag;
        bool function, point, curve;
    };
    // Each tag brings back its kind only; the last one shows all.
    const Case cases[] = {
        {2, false, false, false},
        {3, false, false, true},
        {4, false, true, true},
        {1, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tag);
        ShowAllRows(c.tag);
        EXPECT_EQ(RowModels.Functions.Rows[2].Shown, c.function);
        EXPECT_EQ(RowModels.Objects.Rows[1].Shown, c.point);
        EXPECT_EQ(RowModels.Objects.Rows[3].Shown, c.curve);
    }
    HideRow(TRowItem::Function, 2);
    ShowAllRows(0);
    EXPECT_TRUE(RowModels.Functions.Rows[2].Shown);
}

TEST_F(CommandsTest, ShowButtonsFlipTheRecordsVisibility)
{
    SetYfx(1, Equation(QStringLiteral("x")));
    SetCfn(1, Equation(QStringLiteral("x^2+y^2-1"), ModeRelation));
    SetPnt(1, PointAt(1, QStringLiteral("(1,2)")));
    SetPnt(2, PointAt(2, QStringLiteral("(3,1)")));
    Segments.Append(1, 2, 0, 2, 1);
    ClearChangedNames();

    ToggleItemVisible(TRowItem::Function, 1);
    ToggleItemVisible(TRowItem::Relation, 1);
    ToggleItemVisible(TRowItem::Object, 1);
    ToggleItemVisible(TRowItem::Figure, 1);
    EXPECT_EQ(DocumentTables.Functions[1].Visible, 0);
    EXPECT_EQ(DocumentTables.Relations[1].Visible, 0);
    EXPECT_EQ(DocumentTables.Points[1].Shown, 0);
    EXPECT_EQ(Segments.Data.Items[1].Shown, 0);
    EXPECT_TRUE(RowModels.Functions.Rows[1].ButtonDown);
    EXPECT_EQ(RowModels.Functions.Rows[1].LabelColor, ColorWhite);
    EXPECT_TRUE(RowModels.Objects.Rows[1].ButtonDown);
    EXPECT_TRUE(RowModels.Figures[1].ButtonDown);
    EXPECT_TRUE(RedrawState.ChangedNames.has(Vocabulary.FunctionTokens[1]));
    EXPECT_TRUE(RedrawState.ChangedNames.has(Vocabulary.PointTokens[1]));

    ToggleItemVisible(TRowItem::Function, 1);
    EXPECT_EQ(DocumentTables.Functions[1].Visible, 1);
    EXPECT_FALSE(RowModels.Functions.Rows[1].ButtonDown);
}

TEST_F(CommandsTest, ParametersBackToTheirStartOnlyWhenConfirmed)
{
    DocumentTables.Params[1].Value = 5.0L;
    DocumentTables.Params[13].Value = 2.0L; // '@'
    sink_.scriptAnswers({false, true});
    EXPECT_FALSE(ResetParamsAsked());
    EXPECT_EQ(DocumentTables.Params[1].Value, 5.0L);
    EXPECT_TRUE(ResetParamsAsked());
    EXPECT_EQ(sink_.last().text, ResetParamsQuestion);
    EXPECT_EQ(DocumentTables.Params[1].Value, 1.0L);
    EXPECT_EQ(DocumentTables.Params[13].Value, 0.0L);
    EXPECT_TRUE(RedrawState.ChangedNames.has(Vocabulary.ParamTokens[14]));
}

TEST_F(CommandsTest, TheAssociationIsRecordedOnlyWhenConfirmed)
{
    sink_.scriptAnswers({false, true});
    EXPECT_FALSE(SetAssociateAsked());
    EXPECT_FALSE(association_.recorded().has_value());
    EXPECT_TRUE(SetAssociateAsked());
    EXPECT_EQ(sink_.last().text, QStringLiteral("Arquivo com extensão \"kvf\" será aberto com KAVIRO"));
    EXPECT_EQ(sink_.last().kind, MsgWarning);
    EXPECT_EQ(sink_.last().buttons, MsgOkCancel);
    ASSERT_TRUE(association_.recorded().has_value());
    EXPECT_EQ(association_.recorded()->extension, QStringLiteral("kvf"));
}

TEST_F(CommandsTest, PresentationSizes)
{
    struct Case {
        bool on;
        int rowPitch, rowSize, fontSize, axisWidth, equationWidth, objectWidth;
    };
    const Case cases[] = {
        {true, 73, 24, 24, 2, 3, 4},
        {false, 38, 12, 12, 1, 2, 3},
    };
    SetYfx(1, Equation(QStringLiteral("x")));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.on);
        TogglePresentationMode(96);
        EXPECT_EQ(ProgramState.PresentationMode != 0, c.on);
        EXPECT_EQ(RowMetrics.RowPitch, c.rowPitch);
        EXPECT_EQ(RowMetrics.RowSize, c.rowSize);
        EXPECT_EQ(RowMetrics.ValueRowHeight, 38);
        EXPECT_EQ(ProgramState.FontSize, c.fontSize);
        EXPECT_EQ(GraphScale.AxisWidth, c.axisWidth);
        EXPECT_EQ(ProgramState.DefaultGraphStyle.Width, c.equationWidth);
        EXPECT_EQ(ProgramState.DefaultFigureStyle.Width, c.objectWidth);
        // Free slots take the new widths; records in use keep theirs.
        EXPECT_EQ(DocumentTables.Functions[2].Width, c.equationWidth);
        EXPECT_EQ(DocumentTables.Functions[1].Width, 2);
        EXPECT_EQ(DocumentTables.Points[5].Width, c.objectWidth);
        EXPECT_EQ(EmptyEquation().Width, c.equationWidth);
    }
    // A label font larger than the mode's stays in presentation mode only.
    ProgramState.FontSize = 30;
    TogglePresentationMode(96);
    EXPECT_EQ(ProgramState.FontSize, 30);
    TogglePresentationMode(96);
    EXPECT_EQ(ProgramState.FontSize, 12);
}

TEST_F(CommandsTest, PresentationShiftKeepsThePanelOnTheScreen)
{
    const QRect screen(0, 0, 1280, 1000);
    struct Case {
        QRect panel, graph;
        int shift;
    };
    const Case cases[] = {
        {{900, 0, 380, 800}, {100, 0, 800, 800}, 0},    // ends on the screen
        {{900, 0, 480, 800}, {300, 0, 600, 800}, 100},  // 100 past the edge
        {{900, 0, 480, 800}, {60, 0, 840, 800}, 0},     // the graph has no room
        {{900, 0, 480, 800}, {100, 0, 800, 800}, 100},  // just room enough
    };
    for (const Case& c : cases)
        EXPECT_EQ(PresentationShift(c.panel, c.graph, screen), c.shift);
}

} // namespace
