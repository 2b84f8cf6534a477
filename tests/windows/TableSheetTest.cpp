// The note editor's table sheet as a user works it: typing and the keys,
// the headers and the corner, a dragged header, the calculator on a cell
// and on the formula, copying and pasting through the clipboard, the
// scatter wizard, and the sheet following the document.
#include "WindowTestKit.h"

#include "dialogs/PropertyDialog.h"
#include "notes/DocForm.h"
#include "notes/ScatterWizard.h"
#include "notes/TableSheet.h"
#include "script/ScriptRun.h"
#include "session/ProjectFile.h"
#include "session/TableSheet.h"
#include "session/UndoPoints.h"
#include "session/StoreOperations.h"

#include "engine/Compiler.h"
#include "model/DocumentState.h"
#include "model/History.h"
#include "model/LineCodec.h"
#include "model/ProgramState.h"
#include "render/gfx/ColorConvert.h"
#include "render/view/Scale.h"
#include "tests/Separators.h"
#include "tests/render/GoldenFiles.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace {

class TableSheetWindowTest : public WindowTest {
protected:
    void SetUp() override
    {
        StartProgram();
        InstallTableSheet();
    }
    void TearDown() override
    {
        CloseDocForm();
        ProcessEvents();
        SetTablePageMaker({});
        UsePointLocale();
    }

    // The note editor open on its table sheet.
    static TTableSheet& OpenSheet()
    {
        TdocForm& editor = ShowDocForm();
        editor.PageControl1->setCurrentIndex(TdocForm::TableSheet);
        ProcessEvents();
        auto* sheet = dynamic_cast<TTableSheet*>(&editor.TablePage());
        EXPECT_NE(sheet, nullptr);
        sheet->setFocus();
        return *sheet;
    }
    static QModelIndex Cell(TTableSheet& sheet, int row, int column)
    {
        return sheet.model()->index(row - 1, column - 1);
    }
    static QString Shown(TTableSheet& sheet, int row, int column)
    {
        return sheet.model()->data(Cell(sheet, row, column), Qt::DisplayRole).toString();
    }
    static void ClickCell(TTableSheet& sheet, int row, int column)
    {
        sheet.scrollTo(Cell(sheet, row, column));
        Click(sheet.viewport(), sheet.visualRect(Cell(sheet, row, column)).center());
    }
    static QLineEdit* OpenEditor(TTableSheet& sheet)
    {
        return sheet.OpenEditor();
    }
    // Keys go where the user's keys go: into an open entry, else the grid.
    static void Key(TTableSheet& sheet, int key, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget* target = OpenEditor(sheet) ? static_cast<QWidget*>(OpenEditor(sheet)) : &sheet;
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
        ProcessEvents();
    }
    static void TypeKeys(TTableSheet& sheet, const QString& text)
    {
        for (const QChar c : text) {
            QWidget* target = OpenEditor(sheet) ? static_cast<QWidget*>(OpenEditor(sheet)) : &sheet;
            if (c.unicode() < 128)
                QTest::keyClicks(target, QString(c));
            else
                QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), {});
        }
        ProcessEvents();
    }
    // Clicks the cell and types the entries into it and the cells to its
    // right, Tab between them; the last entry stays open.
    static void TypeAcross(TTableSheet& sheet, int row, int column, const QStringList& entries)
    {
        ClickCell(sheet, row, column);
        for (qsizetype i = 0; i < entries.size(); ++i) {
            if (i > 0)
                Key(sheet, Qt::Key_Tab);
            TypeKeys(sheet, entries[i]);
        }
    }
    static TCellRange CurrentCell(TTableSheet& sheet)
    {
        const QModelIndex i = sheet.currentIndex();
        return {i.row() + 1, i.column() + 1, i.row() + 1, i.column() + 1};
    }
};

TEST_F(TableSheetWindowTest, TypedEntriesAreTakenByTheKeysThatMoveOn)
{
    TTableSheet& sheet = OpenSheet();
    ClickCell(sheet, 1, 1);
    TypeKeys(sheet, QStringLiteral("12"));
    ASSERT_NE(OpenEditor(sheet), nullptr) << "any key starts an entry";
    Key(sheet, Qt::Key_Tab);
    TypeKeys(sheet, QStringLiteral("olá"));
    Key(sheet, Qt::Key_Return);
    EXPECT_EQ(Shown(sheet, 1, 1), QStringLiteral(" 12"));
    EXPECT_EQ(Shown(sheet, 1, 2), QStringLiteral("olá"));
    EXPECT_EQ(CurrentCell(sheet), (TCellRange{2, 2, 2, 2})) << "Enter moves down";

    TypeKeys(sheet, QStringLiteral("=x+1"));
    Key(sheet, Qt::Key_Up);
    EXPECT_EQ(Shown(sheet, 2, 2), QStringLiteral("=x+1")) << "x of row 2 is empty";
    EXPECT_EQ(CurrentCell(sheet), (TCellRange{1, 2, 1, 2}));
    TypeKeys(sheet, QStringLiteral("99"));
    Key(sheet, Qt::Key_Escape);
    EXPECT_EQ(Shown(sheet, 1, 2), QStringLiteral("olá")) << "Esc puts the text back";
    Key(sheet, Qt::Key_Down);
    EXPECT_EQ(CurrentCell(sheet), (TCellRange{2, 2, 2, 2}));
    Key(sheet, Qt::Key_F2);
    ASSERT_NE(OpenEditor(sheet), nullptr);
    EXPECT_EQ(OpenEditor(sheet)->text(), QStringLiteral("=x+1")) << "editing starts from the text itself";
    Key(sheet, Qt::Key_Escape);

    ClickCell(sheet, 1, 1);
    TypeKeys(sheet, QStringLiteral("3"));
    ClickCell(sheet, 5, 5);
    EXPECT_EQ(Shown(sheet, 1, 1), QStringLiteral(" 3")) << "typing over a cell replaces its text; a click takes it";
    ClickCell(sheet, 1, 1);
    ClickCell(sheet, 1, 1);
    Key(sheet, Qt::Key_Delete);
    EXPECT_EQ(Shown(sheet, 1, 1), QString());

    ClickCell(sheet, 200, 3);
    TypeKeys(sheet, QStringLiteral("7"));
    Key(sheet, Qt::Key_Enter);
    EXPECT_EQ(Shown(sheet, 200, 3), QStringLiteral(" 7"));
    EXPECT_EQ(CurrentCell(sheet), (TCellRange{200, 3, 200, 3})) << "not past the last row";
}

// Ctrl+Tab and Ctrl+Shift+Tab turn the editor's sheets from the grid too,
// an open entry taken first, as in every tabbed window.
TEST_F(TableSheetWindowTest, CtrlTabTurnsTheSheetsFromTheGrid)
{
    TTableSheet& sheet = OpenSheet();
    TdocForm& editor = *OpenDocForm();
    ClickCell(sheet, 1, 1);
    TypeKeys(sheet, QStringLiteral("5"));
    QTest::keyClick(OpenEditor(sheet), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(editor.PageControl1->currentIndex(), TdocForm::NotaSheet);
    EXPECT_EQ(Shown(sheet, 1, 1), QStringLiteral(" 5"));
    EXPECT_EQ(CurrentCell(sheet), (TCellRange{1, 1, 1, 1})) << "the cursor stays";
    editor.PageControl1->setCurrentIndex(TdocForm::TableSheet);
    QTest::keyClick(&sheet, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(editor.PageControl1->currentIndex(), TdocForm::ScriptSheet);
    EXPECT_EQ(CurrentCell(sheet), (TCellRange{1, 1, 1, 1}));
}

TEST_F(TableSheetWindowTest, UndoTakesBackTheLastEntryOnly)
{
    TTableSheet& sheet = OpenSheet();
    Key(sheet, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(sheet.Texts(), TTableTexts()) << "nothing to undo right after opening";
    TypeAcross(sheet, 1, 1, {QStringLiteral("1"), QStringLiteral("2")});
    Key(sheet, Qt::Key_Tab);
    Key(sheet, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Shown(sheet, 1, 1), QStringLiteral(" 1"));
    EXPECT_EQ(Shown(sheet, 1, 2), QString());
    // Ctrl+Z with an entry open takes the entry first, then undoes it.
    TypeKeys(sheet, QStringLiteral("5"));
    Key(sheet, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(OpenEditor(sheet), nullptr);
    EXPECT_EQ(Shown(sheet, 1, 2), QString());
    EXPECT_EQ(Shown(sheet, 1, 1), QStringLiteral(" 1"));
}

TEST_F(TableSheetWindowTest, CopyGoesToTheProgramsClipboardWithAnOpenEntryTaken)
{
    UseCommaLocale();
    TTableSheet& sheet = OpenSheet();
    TypeAcross(sheet, 1, 1, {QStringLiteral("1,5"), QStringLiteral("2")});
    Key(sheet, Qt::Key_Return);
    TypeAcross(sheet, 2, 1, {QStringLiteral("3"), QStringLiteral("4")});
    sheet.Select({1, 1, 2, 2});
    Key(sheet, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(OpenEditor(sheet), nullptr);
    EXPECT_EQ(clipboard.text(), QStringLiteral("1,5\t2\r\n3\t4")) << "the texts, without the blank shown";
    EXPECT_EQ(Shown(sheet, 2, 2), QStringLiteral(" 4"));

    Key(sheet, Qt::Key_X, Qt::ControlModifier);
    EXPECT_FALSE(sheet.Texts().HasData());
    sheet.Select({5, 3, 5, 3});
    Key(sheet, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Shown(sheet, 5, 3), QStringLiteral(" 1,5"));
    EXPECT_EQ(Shown(sheet, 6, 4), QStringLiteral(" 4"));
}

TEST_F(TableSheetWindowTest, TheContextMenuOffersPasteOnlyWithText)
{
    TTableSheet& sheet = OpenSheet();
    for (const bool withText : {false, true}) {
        clipboard.setText(withText ? QStringLiteral("8") : QString());
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), sheet.viewport()->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(sheet.viewport(), &event);
        ASSERT_TRUE(sheet.pmTable->isVisible());
        const QList<QAction*> actions = sheet.pmTable->actions();
        QStringList captions;
        for (QAction* a : actions)
            if (!a->isSeparator())
                captions << a->text();
        EXPECT_EQ(captions, (QStringList{QStringLiteral("&Desfazer"), QStringLiteral("&Cortar"),
                                         QStringLiteral("C&opiar"), QStringLiteral("Co&lar")}));
        EXPECT_EQ(actions.last()->isEnabled(), withText);
        if (withText)
            actions.last()->trigger();
        sheet.pmTable->hide();
    }
    EXPECT_EQ(Shown(sheet, 1, 1), QStringLiteral(" 8"));
}

TEST_F(TableSheetWindowTest, TheHeadersAndTheCornerSelect)
{
    TTableSheet& sheet = OpenSheet();
    QHeaderView* columns = sheet.horizontalHeader();
    QHeaderView* rows = sheet.verticalHeader();
    Click(columns->viewport(), QPoint(columns->sectionViewportPosition(2) + 10, 5));
    EXPECT_EQ(sheet.Selection(), (TCellRange{1, 3, 200, 3}));
    Click(rows->viewport(), QPoint(5, rows->sectionViewportPosition(4) + 5));
    EXPECT_EQ(sheet.Selection(), (TCellRange{5, 1, 5, 10}));
    auto* corner = sheet.findChild<QAbstractButton*>();
    ASSERT_NE(corner, nullptr);
    Click(corner);
    EXPECT_EQ(sheet.Selection(), (TCellRange{1, 1, 200, 10}));
    ClickCell(sheet, 3, 3);
    Key(sheet, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(sheet.Selection(), (TCellRange{1, 1, 200, 10}));
}

TEST_F(TableSheetWindowTest, ADraggedHeaderMovesTheTextsAndTheNumbersStay)
{
    TTableSheet& sheet = OpenSheet();
    TypeAcross(sheet, 1, 1, {QStringLiteral("//a"), QStringLiteral("//b")});
    Key(sheet, Qt::Key_Tab);
    QHeaderView* columns = sheet.horizontalHeader();
    const int y = columns->height() / 2;
    Drag(columns->viewport(), QPoint(columns->sectionViewportPosition(0) + 10, y),
         QPoint(columns->sectionViewportPosition(2) + columns->sectionSize(2) - 5, y), 8);
    EXPECT_EQ(sheet.Texts().At(1, 1), QStringLiteral("//b"));
    EXPECT_EQ(sheet.Texts().At(1, 3), QStringLiteral("//a"));
    for (int c = 0; c < TableColumns; ++c) {
        EXPECT_EQ(columns->visualIndex(c), c);
        EXPECT_EQ(sheet.model()->headerData(c, Qt::Horizontal).toString(), QString::number(c + 1));
    }
    Key(sheet, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(sheet.Texts().At(1, 1), QStringLiteral("//a")) << "a move is undone like an entry";

    QHeaderView* rows = sheet.verticalHeader();
    const int x = rows->width() / 2;
    Drag(rows->viewport(), QPoint(x, rows->sectionViewportPosition(0) + 5),
         QPoint(x, rows->sectionViewportPosition(3) + rows->sectionSize(3) - 3), 8);
    EXPECT_EQ(sheet.Texts().At(4, 1), QStringLiteral("//a"));
    EXPECT_EQ(sheet.Texts().At(1, 1), QString());
    EXPECT_EQ(rows->visualIndex(0), 0);

    // Applied after a row move, the row numbers are what the table holds in column 0.
    sheet.Apply();
    for (int r : {1, 2, 200})
        EXPECT_EQ(DocumentTables.Cells[r][0].Value, r);
}

TEST_F(TableSheetWindowTest, ADoubleClickOpensTheCalculatorOnTheCellWithItsInputs)
{
    TTableSheet& sheet = OpenSheet();
    ClickCell(sheet, 3, 1);
    TypeKeys(sheet, QStringLiteral("5"));
    Key(sheet, Qt::Key_Return);
    QString caption;
    modal.queueAnswer(QStringLiteral("CalcForm"), [&caption](QObject& dialog) {
        auto& form = static_cast<QWidget&>(dialog);
        caption = form.findChild<QLabel*>(QStringLiteral("LabelCaption"))->text();
        auto* edit = form.findChild<QLineEdit*>(QStringLiteral("EditCalc"));
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("x*2"));
        form.findChild<QAbstractButton*>(QStringLiteral("BtnSendTo"))->click();
        return 1;
    });
    sheet.scrollTo(Cell(sheet, 3, 4));
    QTest::mouseDClick(sheet.viewport(), Qt::LeftButton, {}, sheet.visualRect(Cell(sheet, 3, 4)).center());
    ProcessEvents();
    EXPECT_TRUE(modal.unanswered().empty());
    EXPECT_EQ(caption, QStringLiteral("Cells(3,4)"));
    EXPECT_EQ(Shown(sheet, 3, 4), QStringLiteral(" 10"));
    EXPECT_EQ(OpenEditor(sheet), nullptr);
}

TEST_F(TableSheetWindowTest, TheFormulaIsEditedInTheCalculatorAndComputedIntoTheSelection)
{
    TTableSheet& sheet = OpenSheet();
    QueueCalculatorSend(modal, QStringLiteral("z*w"));
    Click(sheet.ImgFormula);
    EXPECT_FALSE(DocumentTables.TableFormula.Code.isEmpty());
    sheet.Select({2, 3, 3, 4});
    Click(sheet.BtnCalc);
    EXPECT_EQ(Shown(sheet, 2, 3), QStringLiteral(" 6"));
    EXPECT_EQ(Shown(sheet, 3, 4), QStringLiteral(" 12"));
    EXPECT_EQ(sheet.Selection(), (TCellRange{4, 3, 4, 4}));
    Click(sheet.BtnCalc);
    EXPECT_EQ(Shown(sheet, 4, 4), QStringLiteral(" 16"));
    EXPECT_EQ(sheet.BtnCalc->toolTip(), QStringLiteral("Calculá-lo, coloque em células selecionadas"));
}

TEST_F(TableSheetWindowTest, AValueTypedAndAppliedIsThereWhenTheEditorOpensAgain)
{
    TTableSheet& first = OpenSheet();
    ClickCell(first, 4, 2);
    TypeKeys(first, QStringLiteral("=3*3"));
    // OK takes the open entry first.
    Click(OpenDocForm()->btnOK);
    ProcessEvents();
    EXPECT_EQ(OpenDocForm(), nullptr);
    EXPECT_EQ(DocumentTables.Cells[4][2].Value, 9.0L);
    EXPECT_TRUE(Modified());
    TTableSheet& again = OpenSheet();
    EXPECT_EQ(Shown(again, 4, 2), QStringLiteral(" 9"));
    EXPECT_EQ(CurrentCell(again), (TCellRange{4, 2, 4, 2})) << "the cursor is remembered";
    EXPECT_TRUE(OpenDocForm()->IsTabHighlighted(TdocForm::TableSheet));
}

TEST_F(TableSheetWindowTest, TheSheetIsFilledAgainWhenTheDocumentGoesBack)
{
    TTableSheet& sheet = OpenSheet();
    ClickCell(sheet, 1, 1);
    TypeKeys(sheet, QStringLiteral("7"));
    Click(OpenDocForm()->BtnApl);
    EXPECT_EQ(DocumentTables.Cells[1][1].Value, 7.0L);
    ClickCell(sheet, 2, 1);
    TypeKeys(sheet, QStringLiteral("8"));
    Key(sheet, Qt::Key_Return);
    Undo();
    ProcessEvents();
    EXPECT_EQ(DocumentTables.Cells[1][1].Defined, 0);
    EXPECT_FALSE(sheet.Texts().HasData()) << "the stale sheet is gone";
    Click(OpenDocForm()->BtnApl);
    EXPECT_EQ(DocumentTables.Cells[2][1].Defined, 0);
    Redo();
    ProcessEvents();
    EXPECT_EQ(Shown(sheet, 1, 1), QStringLiteral(" 7"));
}

TEST_F(TableSheetWindowTest, ANewUserPastesTwoColumnsAndMakesAScatter)
{
    TTableSheet& sheet = OpenSheet();
    clipboard.setText(QStringLiteral("1\t2\r\n2\t4\r\n3\t6\r\n"));
    ClickCell(sheet, 1, 1);
    Key(sheet, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Shown(sheet, 3, 2), QStringLiteral(" 6"));
    sheet.Select({1, 1, 3, 2});
    QPoint wizardAt;
    modal.queueAnswer(QStringLiteral("Gwizard1"), [&wizardAt](QObject& dialog) {
        auto& wizard = static_cast<TGwizard1&>(dialog);
        wizardAt = wizard.pos();
        EXPECT_EQ(wizard.windowTitle(), QStringLiteral("Scatter gráfico"));
        EXPECT_EQ(wizard.cbName->currentText(), QStringLiteral("P"));
        EXPECT_EQ(wizard.EditFirstRow->text(), QStringLiteral("1"));
        EXPECT_EQ(wizard.EditLastRow->text(), QStringLiteral("3"));
        EXPECT_EQ(wizard.cbXColumn->currentText(), QStringLiteral("1"));
        EXPECT_EQ(wizard.cbYColumn->currentText(), QStringLiteral("2"));
        wizard.CheckLines->setChecked(true);
        Click(wizard.BtnOK);
        return 0;
    });
    const int undoSteps = BackUp.Count();
    Click(sheet.BtnGraph);
    EXPECT_TRUE(modal.unanswered().empty());
    EXPECT_EQ(BackUp.Count(), undoSteps + 2) << "the object, then the table";
    EXPECT_EQ(wizardAt, OpenDocForm()->pos() + QPoint(-50, 20));
    const TPointFunction& p = DocumentTables.Points[1];
    EXPECT_EQ(p.Kind, ObjectSequence);
    EXPECT_EQ(p.Y.Text, QStringLiteral("Cells(k,2) "));
    EXPECT_EQ(DocumentTables.Cells[3][2].Value, 6.0L) << "the sheet went into the table before Apply";
    QWidget* dialog = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("PntProperty") && w->isVisible())
            dialog = w;
    ASSERT_NE(dialog, nullptr) << "the object dialog opens on the new object";
    dialog->close();
    ProcessEvents();
    // The points are drawn where the table puts them.
    const QImage graph = Graph().GImage->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb colour = ToQColor(p.ColorNo1).rgb() & 0xFFFFFF;
    for (const auto& [x, y] : {std::pair{1.0L, 2.0L}, std::pair{2.0L, 4.0L}}) {
        const QPoint at = GraphScale.WorldToPoint({x, y});
        int shown = 0;
        for (int dy = -3; dy <= 3; ++dy)
            for (int dx = -3; dx <= 3; ++dx)
                if (graph.rect().contains(at + QPoint(dx, dy)) && (graph.pixel(at + QPoint(dx, dy)) & 0xFFFFFF) == colour)
                    ++shown;
        EXPECT_GT(shown, 0) << "no point at (" << double(x) << ", " << double(y) << ")";
    }
}

TEST_F(TableSheetWindowTest, TheWizardMakesNothingWhenCancelledOrWithoutAFreeObject)
{
    TTableSheet& sheet = OpenSheet();
    modal.queueResult(QStringLiteral("Gwizard1"), 0);
    Click(sheet.BtnGraph);
    EXPECT_EQ(modal.dialogsRun().size(), 1u);
    EXPECT_EQ(DocumentTables.Points[1].Kind, ObjectEmpty);

    for (int n = 1; n <= 21; ++n)
        StoreDraggablePoint(n, QStringLiteral("(1, 1)"));
    Click(sheet.BtnGraph);
    EXPECT_EQ(modal.dialogsRun().size(), 1u) << "the wizard does not open";
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.last().text, QStringLiteral("Mais figuras não podem ser acrescentadas"));
    EXPECT_EQ(messages.last().kind, 1);
    EXPECT_EQ(messages.last().buttons, 4);
}

TEST_F(TableSheetWindowTest, ColumnWidthsAreDoubledInPresentationModeAndKeptOnClosing)
{
    std::array<int, TableColumns> widths{};
    widths.fill(50);
    widths[2] = 70;
    StoreTableColWidths(widths);
    ProgramState.PresentationMode = 1;
    TTableSheet& sheet = OpenSheet();
    EXPECT_EQ(sheet.columnWidth(0), 100);
    EXPECT_EQ(sheet.columnWidth(2), 140);
    EXPECT_EQ(sheet.verticalHeader()->width(), 80) << "the row numbers' column: two thirds of 60, doubled";
    sheet.setColumnWidth(3, 90);
    CloseDocForm();
    ProcessEvents();
    EXPECT_EQ(DocumentTables.TableColWidths[3], 70);
    EXPECT_EQ(DocumentTables.TableColWidths[4], 45) << "halved again";
    ProgramState.PresentationMode = 0;
}

// Presentation mode switched on or off while the editor is open: the widths
// the editor showed are the ones stored on closing, neither halved nor
// doubled.
TEST_F(TableSheetWindowTest, PresentationModeSwitchedWhileTheSheetIsOpenKeepsTheWidths)
{
    for (const int before : {0, 1}) {
        std::array<int, TableColumns> widths{};
        widths.fill(60);
        StoreTableColWidths(widths);
        ProgramState.PresentationMode = before;
        OpenSheet();
        ProgramState.PresentationMode = 1 - before;
        CloseDocForm();
        ProcessEvents();
        EXPECT_EQ(DocumentTables.TableColWidths[1], 60) << "presentation mode " << before << " when opened";
    }
    ProgramState.PresentationMode = 0;
}

TEST_F(TableSheetWindowTest, ScriptsWriteIntoTheSheetWhileTheEditorExists)
{
    TTableSheet& sheet = OpenSheet();
    SetGridCellText(2, 3, QStringLiteral("5"));
    EXPECT_EQ(Shown(sheet, 2, 3), QStringLiteral(" 5"));
    EXPECT_EQ(ReadGridCellValue(2, 3)->X, 5.0L);
    EXPECT_TRUE(OpenDocForm()->IsTabHighlighted(TdocForm::TableSheet));
    ClearGridCells();
    EXPECT_EQ(Shown(sheet, 2, 3), QString());
    CloseDocForm();
    ProcessEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(ReadGridCellValue(2, 3)) << "no editor, no sheet";
}

// A script run from its button writes cells the open sheet shows at once,
// and empties them.
TEST_F(TableSheetWindowTest, ARunningScriptsCellsShowInTheOpenSheet)
{
    DocumentTables.PetaMemoLines = QStringList{QStringLiteral("Aula"), QString(), QStringLiteral("#//Enche"),
                                               QStringLiteral("#Cells(1, 2) := 5"),
                                               QStringLiteral("#CellsP(3, 1) := (7, 8)"), QString(),
                                               QStringLiteral("#//Limpa"), QStringLiteral("#ClrAllCells")};
    TstringData text;
    WriteProject(text);
    ASSERT_TRUE(ReadProject(text));
    TTableSheet& sheet = OpenSheet();
    RunScript(0);
    EXPECT_EQ(Shown(sheet, 1, 2), QStringLiteral(" 5"));
    EXPECT_EQ(Shown(sheet, 3, 1), QStringLiteral(" 7"));
    EXPECT_EQ(Shown(sheet, 3, 2), QStringLiteral(" 8")) << "a pair fills the next column too";
    RunScript(1);
    for (auto [row, column] : {std::pair{1, 2}, {3, 1}, {3, 2}})
        EXPECT_EQ(Shown(sheet, row, column), QString()) << row << "," << column;
}

TEST_F(TableSheetWindowTest, TheSheetLooksAsReviewed)
{
    TKavirofunction formula = BlankFunction;
    formula.Text = QStringLiteral("(x, x^2)");
    PrepareExpression(formula, ModeUserFunction);
    StoreTableFormula(formula);
    TTableSheet& sheet = OpenSheet();
    sheet.Select({1, 1, 1, 1});
    TypeAcross(sheet, 1, 1, {QStringLiteral("1.5"), QStringLiteral("//nota")});
    Key(sheet, Qt::Key_Return);
    QWidget* page = sheet.Widget();
    page->resize(420, 300);
    ProcessEvents();
    EXPECT_TRUE(MatchesImageGolden(page->grab().toImage(), QStringLiteral("windows/table-sheet.png"), {48, 0.02}));
}

} // namespace
