// Undo and redo over whole-document snapshots.
#include "SessionTest.h"

#include "session/UndoPoints.h"

#include "model/DocumentState.h"
#include "model/History.h"
#include "model/ProgramState.h"
#include "render/view/Scale.h"

namespace {

using UndoPointsTest = SessionTest;

QString FunctionText()
{
    return DocumentTables.Functions[1].Func.Text;
}

// An edit as the store operations make it: the snapshot first.
void Edit(const QString& text)
{
    SaveUndoPoint();
    DocumentTables.Functions[1].Func.Text = text;
}

TEST_F(UndoPointsTest, UndoAndRedoWalkTheEdits)
{
    Edit(QStringLiteral("x"));  // A
    Edit(QStringLiteral("x^2")); // B
    EXPECT_EQ(host_.UndoControls.back(), std::make_pair(true, false));

    Undo();
    EXPECT_EQ(FunctionText(), QStringLiteral("x"));
    EXPECT_EQ(host_.UndoControls.back(), std::make_pair(true, true));
    Redo();
    EXPECT_EQ(FunctionText(), QStringLiteral("x^2"));
    EXPECT_EQ(host_.UndoControls.back(), std::make_pair(true, false));

    Undo();
    Undo();
    EXPECT_EQ(FunctionText(), QString());
    EXPECT_EQ(host_.UndoControls.back(), std::make_pair(false, true));
    // At the start and at the end nothing happens, whoever calls.
    const int refreshes = host_.RowRefreshes;
    Undo();
    EXPECT_EQ(FunctionText(), QString());
    Redo();
    Redo();
    EXPECT_EQ(FunctionText(), QStringLiteral("x^2"));
    Redo();
    EXPECT_EQ(FunctionText(), QStringLiteral("x^2"));
    EXPECT_EQ(host_.RowRefreshes, refreshes + 2);

    // A new edit after undoing drops what could be redone.
    Undo();
    Edit(QStringLiteral("cos(x)"));
    EXPECT_FALSE(BackUp.CanRedo());
    Undo();
    EXPECT_EQ(FunctionText(), QStringLiteral("x"));
}

TEST_F(UndoPointsTest, AnUnchangedDocumentPushesNothing)
{
    Edit(QStringLiteral("x"));
    SaveUndoPoint();
    SaveUndoPoint();
    EXPECT_EQ(BackUp.Count(), 2); // before the edit, and after it once
}

TEST_F(UndoPointsTest, ADragUndoesInOneStep)
{
    TPointFunction& p = DocumentTables.Points[1];
    p.Kind = ObjectPoint;
    p.X.Text = QStringLiteral("0");
    SaveUndoPoint(); // an earlier edit
    DragState = {true, true};
    for (int move = 1; move <= 20; ++move) {
        SaveUndoPoint();
        DocumentTables.Points[1].X.Text = QString::number(move);
        DragState.FirstChange = false;
    }
    DragState.Dragging = false;
    // The drag's first snapshot equals the earlier one and is not stored again.
    EXPECT_EQ(BackUp.Count(), 1);
    Undo();
    EXPECT_EQ(DocumentTables.Points[1].X.Text, QStringLiteral("0"));
    Redo();
    EXPECT_EQ(DocumentTables.Points[1].X.Text, QStringLiteral("20"));
}

// The snapshot holds the view, the options and the notes; not the file.
TEST_F(UndoPointsTest, UndoRestoresViewOptionsAndNotesButNotTheFile)
{
    ProjectFile.FileName = QStringLiteral("/aulas/reta");
    ProjectFile.BGfile = QStringLiteral("/imagens/fundo.png");
    RecordOneTrace();
    SaveUndoPoint();
    GraphScale.XAxis.SetBounds(-1.0L, 1.0L);
    Options.ComplexMode = 1;
    DocumentTables.PetaMemoLines = Lines({u"nota"});
    ProgramState.Modified = 1;
    Undo();
    EXPECT_EQ(GraphScale.XAxis.Low, -5.0L);
    EXPECT_EQ(Options.ComplexMode, 0);
    EXPECT_TRUE(DocumentTables.PetaMemoLines.isEmpty());
    EXPECT_EQ(ProjectFile.FileName, QStringLiteral("/aulas/reta"));
    EXPECT_EQ(ProjectFile.BGfile, QStringLiteral("/imagens/fundo.png"));
    EXPECT_EQ(TraceStore.RecordCount(), 2); // the traces stay as they are
    EXPECT_EQ(ProgramState.Modified, 1);    // still unsaved: closing asks
    ClearUndo();
    EXPECT_EQ(host_.UndoControls.back(), std::make_pair(false, false));
    EXPECT_TRUE(BackUp.IsAtStart());
}

} // namespace
