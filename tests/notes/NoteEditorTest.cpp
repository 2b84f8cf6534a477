// The note editor used as a user does: opened from the menus and from a
// sticker, its sheets typed into, applied, confirmed and cancelled, a
// script that does not compile, the stickers' look from the palette, a new
// sticker appended, the editor following undo, open and new, its tabs, its
// script menu, and how its sheets look.
#include "../dialogs/PropertyDialogTestKit.h"

#include "model/DocumentState.h"
#include "model/History.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "dialogs/MarkupMenu.h"
#include "notes/DocForm.h"
#include "notes/TablePage.h"
#include "script/ScriptCompiler.h"
#include "session/NoteSheets.h"
#include "session/ParameterSteps.h"
#include "session/ProjectFile.h"
#include "session/Stickers.h"
#include "tests/render/GoldenFiles.h"

#include <QComboBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextCursor>

namespace {

using namespace Qt::Literals::StringLiterals;

// Text is drawn by the platform's font engine.
constexpr TImageTolerance TextTolerance{48, 0.02};

const QStringList Notes = {u"Nota"_s, u"a = !{a}"_s, u""_s, u""_s, u"Outra"_s, u"#//S"_s, u"#a := 2"_s};

class NoteEditorTest : public PropertyDialogTest {
protected:
    void SetUp() override
    {
        PropertyDialogTest::SetUp();
        ProgramState.Modified = 0;
    }

    void Trigger(const char* name)
    {
        QAction* action = Find<QAction>(Console(), name);
        ASSERT_NE(action, nullptr);
        action->trigger();
        ProcessEvents();
    }
    // The editor from the data panel's edit menu.
    TdocForm& Open()
    {
        Trigger("nEditMemo");
        EXPECT_NE(OpenDocForm(), nullptr);
        return *OpenDocForm();
    }
    // The document's notes as a project read leaves them.
    static void UseNotes(const QStringList& lines, const QStringList& nota = {})
    {
        DocumentTables.SimpleMemoLines = nota;
        CompileScripts(lines, THeaderErrors::Keep);
        ShowNotes(lines);
    }
    // The sheet's text replaced by typing, Return between the lines.
    static void Retype(QPlainTextEdit* sheet, const QString& text)
    {
        sheet->selectAll();
        QTest::keyClick(sheet, Qt::Key_Delete);
        const QStringList lines = text.split(u'\n');
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                QTest::keyClick(sheet, Qt::Key_Return);
            Type(sheet, lines[i]);
        }
    }
    static QString TextOf(const QPlainTextEdit* sheet) { return sheet->toPlainText(); }
    static void Press(QPushButton* button)
    {
        button->click();
        ProcessEvents();
    }
    QLabel* Sticker(int k) { return Graph().Stickers[static_cast<std::size_t>(k - 1)]; }
    static QStringList TabTexts(const TdocForm& editor)
    {
        QStringList texts;
        for (int i = 0; i < editor.PageControl1->count(); ++i)
            texts.append(editor.PageControl1->tabText(i));
        return texts;
    }
};

TEST_F(NoteEditorTest, OpensOnceFilledFromTheDocument)
{
    UseNotes(Notes, {u"lembrete"_s});
    TdocForm& editor = Open();
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(editor.windowTitle(), u"Anotação"_s);
    EXPECT_EQ(editor.size(), QSize(308, 449));
    EXPECT_EQ(TabTexts(editor), (QStringList{u"colante"_s, u"Script"_s, u"Table"_s, u"Nota"_s}));
    EXPECT_EQ(editor.btnOK->text(), u"&O K"_s);
    EXPECT_EQ(editor.btnCancel->text(), u"&Cancelar"_s);
    EXPECT_EQ(editor.BtnApl->text(), u"A&plicar"_s);
    EXPECT_EQ(editor.PageControl1->currentIndex(), int(TdocForm::StickerSheet));
    EXPECT_EQ(TextOf(editor.MemoSticker), u"Nota\na = !{a}\n\n\nOutra"_s);
    EXPECT_EQ(TextOf(editor.MemoScript), u"//S\na := 2"_s);
    EXPECT_EQ(TextOf(editor.MemoNota), u"lembrete"_s);
    EXPECT_EQ(editor.MemoSticker->font().family(), ProgramState.SctickerEdit);
    EXPECT_EQ(editor.MemoNota->font().family(), ProgramState.SctickerEdit);
    EXPECT_EQ(editor.MemoScript->font().family(), ProgramState.ScriptEdit);
    EXPECT_EQ(editor.CBSize->currentText(), u"12"_s);
    EXPECT_EQ(editor.CBSize->count(), int(StickerSizeChoices.size()));
    // The sticker sheet offers the markup insertion menu.
    EXPECT_EQ(editor.MemoSticker->contextMenuPolicy(), Qt::CustomContextMenu);

    // The menu again, the graph's sticker menu and a double click on a
    // sticker bring the same editor to the front.
    Trigger("nEditMemo");
    EXPECT_EQ(OpenDocForm(), &editor);
    QAction* fromGraph = Find<QAction>(Graph(), "MnEditMemo");
    ASSERT_NE(fromGraph, nullptr);
    fromGraph->trigger();
    ProcessEvents();
    EXPECT_EQ(OpenDocForm(), &editor);

    // Closed it is freed; it opens again where and as it was left, on the
    // sheet that was shown.
    editor.move(editor.pos() + QPoint(30, 20));
    editor.resize(340, 470);
    editor.PageControl1->setCurrentIndex(TdocForm::NotaSheet);
    const QPoint left = editor.pos();
    editor.close();
    ProcessEvents();
    EXPECT_EQ(OpenDocForm(), nullptr);
    ASSERT_TRUE(Sticker(1)->isVisible());
    QTest::mouseDClick(Sticker(1), Qt::LeftButton, {}, QPoint(5, 5));
    ProcessEvents();
    ASSERT_NE(OpenDocForm(), nullptr);
    EXPECT_EQ(OpenDocForm()->pos(), left);
    EXPECT_EQ(OpenDocForm()->size(), QSize(340, 470));
    EXPECT_EQ(OpenDocForm()->PageControl1->currentIndex(), int(TdocForm::NotaSheet));
}

// Apply takes the sheets and keeps the editor; the sticker shows the value
// and follows the parameter; OK takes and closes; Cancel closes and takes
// nothing; OK on what was shown takes no undo point.
TEST_F(NoteEditorTest, ApplyOkAndCancel)
{
    TdocForm& editor = Open();
    const int points = BackUp.Count();
    Retype(editor.MemoSticker, u"a = !{a}"_s);
    Press(editor.BtnApl);
    EXPECT_EQ(OpenDocForm(), &editor);
    EXPECT_EQ(DocumentTables.PetaMemoLines, QStringList{u"a = !{a}"_s});
    EXPECT_EQ(BackUp.Count(), points + 1);
    EXPECT_EQ(ProgramState.Modified, 1);
    ASSERT_TRUE(Sticker(1)->isVisible());
    const QImage before = Sticker(1)->pixmap().toImage();
    ASSERT_FALSE(before.isNull());
    StepParameter(1, 1);
    ProcessEvents();
    EXPECT_NE(Sticker(1)->pixmap().toImage(), before) << "the sticker shows a's new value";

    // Nothing changed since: no second undo point.
    Press(editor.BtnApl);
    EXPECT_EQ(BackUp.Count(), points + 1);

    Retype(editor.MemoSticker, u"a = !{a}\n\n\nb = !{b}"_s);
    Press(editor.btnCancel);
    EXPECT_EQ(OpenDocForm(), nullptr);
    EXPECT_EQ(DocumentTables.PetaMemoLines, QStringList{u"a = !{a}"_s});
    EXPECT_FALSE(Sticker(2)->isVisible());

    TdocForm& again = Open();
    EXPECT_EQ(TextOf(again.MemoSticker), u"a = !{a}"_s);
    Retype(again.MemoSticker, u"a = !{a}\n\n\nb = !{b}"_s);
    Press(again.btnOK);
    EXPECT_EQ(OpenDocForm(), nullptr);
    EXPECT_EQ(DocumentTables.Stickers.Count, 2);
    EXPECT_TRUE(Sticker(2)->isVisible());

    const int settled = BackUp.Count();
    ProgramState.Modified = 0;
    Press(Open().btnOK);
    EXPECT_EQ(OpenDocForm(), nullptr);
    EXPECT_EQ(BackUp.Count(), settled);
    EXPECT_EQ(ProgramState.Modified, 0);
}

// A script that does not compile: its message once, the editor open with
// the user's text, the notes and scripts in force kept; OK does not close.
TEST_F(NoteEditorTest, AScriptErrorKeepsTheEditorAndTheText)
{
    UseNotes(Notes);
    TdocForm& editor = Open();
    Retype(editor.MemoSticker, u"Nova"_s);
    Retype(editor.MemoScript, u"//S\nDraw x"_s);
    messages.clear();
    Press(editor.BtnApl);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.last().text, u"Comando Inválido : Draw x"_s);
    EXPECT_EQ(DocumentTables.PetaMemoLines, Notes);
    EXPECT_EQ(TextOf(editor.MemoSticker), u"Nova"_s);
    EXPECT_EQ(TextOf(editor.MemoScript), u"//S\nDraw x"_s);

    messages.clear();
    Press(editor.btnOK);
    EXPECT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(OpenDocForm(), &editor);
    EXPECT_EQ(DocumentTables.PetaMemoLines, Notes);
}

// The style, frame colour and text colour come from the palette onto the
// editor's working copies; the size box takes whole numbers above 4. The
// document takes them on Apply only; Cancel leaves them all.
TEST_F(NoteEditorTest, ThePaletteSetsTheWorkingStyle)
{
    UseNotes({u"Nota"_s});
    const TStickerStyle start = CurrentStickerStyle();
    TdocForm& editor = Open();
    ChooseStyle(editor.SBMemoStyle, "SBmemo2");
    ChooseStyle(editor.SBBGColor, "SBBC1");
    ChooseStyle(editor.SBColor, "sbc0");
    EXPECT_EQ(editor.WorkingStyle().Style, 2);
    EXPECT_EQ(editor.WorkingStyle().BGcolor, 1);
    EXPECT_EQ(CurrentStickerStyle(), start) << "nothing before Apply";
    const int points = BackUp.Count();
    Press(editor.btnCancel);
    EXPECT_EQ(CurrentStickerStyle(), start);
    EXPECT_EQ(BackUp.Count(), points);

    TdocForm& again = Open();
    EXPECT_EQ(again.WorkingStyle(), start) << "the working copies start from the document";
    ChooseStyle(again.SBMemoStyle, "SBmemo4");
    again.CBSize->setEditText(u"3"_s);
    Press(again.BtnApl);
    EXPECT_EQ(Options.PetaMemoStyle, 4);
    EXPECT_EQ(Options.PetaMemoSize, start.Size) << "3 is no size";
    EXPECT_EQ(again.CBSize->currentText(), QString::number(start.Size));
    EXPECT_EQ(BackUp.Count(), points + 1);
    again.CBSize->setEditText(u"20"_s);
    Press(again.BtnApl);
    EXPECT_EQ(Options.PetaMemoSize, 20);
    EXPECT_EQ(BackUp.Count(), points + 2);
}

// "Anexar Anotação": the sticker sheet with the caret after two blank lines
// at its end, ready for a new sticker.
TEST_F(NoteEditorTest, AppendingStartsANewSticker)
{
    UseNotes({u"Nota"_s, u""_s, u"#//S"_s, u"#Draw"_s});
    Trigger("nAppendMemo");
    TdocForm* editor = OpenDocForm();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->PageControl1->currentIndex(), int(TdocForm::StickerSheet));
    EXPECT_EQ(TextOf(editor->MemoSticker), u"Nota\n\n\n"_s);
    EXPECT_EQ(editor->MemoSticker->textCursor().position(), int(TextOf(editor->MemoSticker).size()));
    // Left empty, the new sticker is no change.
    const int points = BackUp.Count();
    Press(editor->BtnApl);
    EXPECT_EQ(BackUp.Count(), points);
    EXPECT_EQ(ProgramState.Modified, 0);
    Type(editor->MemoSticker, u"Nova"_s);
    Press(editor->btnOK);
    EXPECT_EQ(DocumentTables.Stickers.Count, 2);
    EXPECT_EQ(DocumentTables.PetaMemoLines,
              (QStringList{u"Nota"_s, u""_s, u""_s, u"Nova"_s, u"#//S"_s, u"#Draw"_s}));

    // An empty note: no blank lines before the first sticker.
    UseNotes({});
    Trigger("nAppendMemo");
    EXPECT_EQ(TextOf(OpenDocForm()->MemoSticker), QString());
}

// The open editor shows the document as undo and redo leave it; a new
// document, and so a project opened, closes it.
TEST_F(NoteEditorTest, FollowsTheDocument)
{
    TdocForm& editor = Open();
    Retype(editor.MemoSticker, u"Primeira"_s);
    Press(editor.BtnApl);
    Retype(editor.MemoSticker, u"Segunda"_s);
    Retype(editor.MemoNota, u"lembrete"_s);
    Press(editor.BtnApl);
    Trigger("menuUndo");
    EXPECT_EQ(TextOf(editor.MemoSticker), u"Primeira"_s);
    EXPECT_EQ(TextOf(editor.MemoNota), QString());
    Trigger("menuRedo");
    EXPECT_EQ(TextOf(editor.MemoSticker), u"Segunda"_s);
    EXPECT_EQ(TextOf(editor.MemoNota), u"lembrete"_s);

    // Opening a project clears the document first, which closes the
    // editor, as New does; opened again it shows the project's notes.
    QTemporaryDir dir;
    const QString saved = dir.filePath(u"notas.kvf"_s);
    ASSERT_TRUE(SaveProjectAs(saved));
    Retype(editor.MemoSticker, u"Terceira"_s);
    Press(editor.BtnApl);
    messages.setDefaultAnswer(true);
    files.queueAnswer(saved);
    Trigger("OpenFile");
    EXPECT_EQ(OpenDocForm(), nullptr);
    EXPECT_EQ(DocumentTables.PetaMemoLines, QStringList{u"Segunda"_s});
    TdocForm& reopened = Open();
    EXPECT_EQ(TextOf(reopened.MemoSticker), u"Segunda"_s);
    EXPECT_EQ(TextOf(reopened.MemoNota), u"lembrete"_s);
    // A file that is refused changes nothing: the editor stays.
    files.queueAnswer(dir.filePath(u"nenhum.kvf"_s));
    Trigger("OpenFile");
    EXPECT_EQ(OpenDocForm(), &reopened);

    Trigger("Init1");
    EXPECT_EQ(OpenDocForm(), nullptr);
    EXPECT_EQ(DocumentTables.Stickers.Count, 0);
    EXPECT_FALSE(Sticker(1)->isVisible());
}

// "Apagar Todas as Anotações" on the graph while the editor is open: the
// editor shows the stickers gone and keeps the scripts, so that OK does not
// bring the stickers back.
TEST_F(NoteEditorTest, FollowsClearingAllStickers)
{
    UseNotes(Notes);
    TdocForm& editor = Open();
    ASSERT_EQ(TextOf(editor.MemoSticker), u"Nota\na = !{a}\n\n\nOutra"_s);
    messages.setDefaultAnswer(true);
    Graph().ClearAllMemos();
    EXPECT_EQ(DocumentTables.Stickers.Count, 0);
    EXPECT_EQ(OpenDocForm(), &editor);
    EXPECT_EQ(TextOf(editor.MemoSticker), QString());
    EXPECT_EQ(TextOf(editor.MemoScript), u"//S\na := 2"_s);
    Press(editor.btnOK);
    EXPECT_EQ(DocumentTables.Stickers.Count, 0);
    EXPECT_EQ(DocumentTables.PetaMemoLines, (QStringList{u"#//S"_s, u"#a := 2"_s}));
}

// A tab is highlighted while its sheet holds something.
TEST_F(NoteEditorTest, TabsShowWhichSheetsHoldSomething)
{
    UseNotes({u"Nota"_s});
    TdocForm& editor = Open();
    EXPECT_TRUE(editor.IsTabHighlighted(TdocForm::StickerSheet));
    EXPECT_FALSE(editor.IsTabHighlighted(TdocForm::ScriptSheet));
    EXPECT_FALSE(editor.IsTabHighlighted(TdocForm::TableSheet));
    EXPECT_FALSE(editor.IsTabHighlighted(TdocForm::NotaSheet));
    Type(editor.MemoScript, u"Draw"_s);
    Type(editor.MemoNota, u" "_s);
    EXPECT_TRUE(editor.IsTabHighlighted(TdocForm::ScriptSheet));
    EXPECT_FALSE(editor.IsTabHighlighted(TdocForm::NotaSheet)) << "blanks are nothing";
    Retype(editor.MemoSticker, u"\n\n"_s);
    EXPECT_FALSE(editor.IsTabHighlighted(TdocForm::StickerSheet));
}

// The table's page as the table sheet provides it: set up when shown,
// applied after the notes, asked whether it holds something, told of a
// replaced document and of the close.
class RecordingTablePage final : public TTablePage {
public:
    explicit RecordingTablePage(QWidget* parent, QStringList& calls)
        : page_(new QWidget(parent))
        , calls_(calls)
    {
    }
    QWidget* Widget() override { return page_; }
    void SetUp() override { calls_.append(u"SetUp"_s); }
    // Writes a cell, as a typed one is written.
    bool Apply() override
    {
        calls_.append(u"Apply"_s);
        SetCellValue(1, 1, ValueReal(5.0L), u"5"_s);
        return true;
    }
    bool HasContent() const override { return Content; }
    void DocumentReplaced() override { calls_.append(u"DocumentReplaced"_s); }
    void StoreOnClose() override { calls_.append(u"StoreOnClose"_s); }
    bool Content = false;

private:
    QWidget* page_;
    QStringList& calls_;
};

TEST_F(NoteEditorTest, TheTablePageTakesItsTurns)
{
    QStringList calls;
    RecordingTablePage* page = nullptr;
    SetTablePageMaker([&](QWidget* parent) {
        auto made = std::make_unique<RecordingTablePage>(parent, calls);
        page = made.get();
        return made;
    });
    TdocForm& editor = Open();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(calls, QStringList{u"SetUp"_s});
    EXPECT_EQ(editor.PageControl1->widget(TdocForm::TableSheet), page->Widget());
    const int points = BackUp.Count();
    Press(editor.BtnApl);
    EXPECT_EQ(calls.last(), u"Apply"_s);
    EXPECT_EQ(BackUp.Count(), points + 1) << "a changed table is a change";
    page->Content = true;
    page->ContentChanged();
    EXPECT_TRUE(editor.IsTabHighlighted(TdocForm::TableSheet));
    Trigger("menuUndo");
    EXPECT_EQ(calls.last(), u"DocumentReplaced"_s);
    // A failed script leaves the table alone.
    Retype(editor.MemoScript, u"foo bar"_s);
    calls.clear();
    Press(editor.BtnApl);
    EXPECT_FALSE(calls.contains(u"Apply"_s));
    Press(editor.btnCancel);
    EXPECT_EQ(calls.last(), u"StoreOnClose"_s);
    SetTablePageMaker({});
}

// The sticker sheet's popup is the markup insertion menu: a value field
// typed around the selection, the caret inside an empty one.
TEST_F(NoteEditorTest, TheStickerSheetOffersTheMarkupMenu)
{
    TdocForm& editor = Open();
    Type(editor.MemoSticker, u"a = "_s);
    Q_EMIT editor.MemoSticker->customContextMenuRequested(QPoint(5, 5));
    ProcessEvents();
    TMarkupMenu& menu = *Graph().pmMemo;
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.Control(), editor.MemoSticker);
    EXPECT_TRUE(menu.Color1->menuAction()->isVisible());
    menu.hide();
    menu.findChild<QAction*>(u"Value1"_s)->trigger();
    EXPECT_EQ(TextOf(editor.MemoSticker), u"a = !{ }"_s);
    Type(editor.MemoSticker, u"a"_s);
    EXPECT_EQ(TextOf(editor.MemoSticker), u"a = !{a }"_s);
    QTextCursor cursor = editor.MemoSticker->textCursor();
    cursor.setPosition(4);
    cursor.setPosition(9, QTextCursor::KeepAnchor);
    editor.MemoSticker->setTextCursor(cursor);
    menu.findChild<QAction*>(u"Bold1"_s)->trigger();
    EXPECT_EQ(TextOf(editor.MemoSticker), u"a = <B>!{a }</B>"_s);
}

// The script menu inserts its texts at the caret; Tab inserts four blanks.
TEST_F(NoteEditorTest, TheScriptMenuAndTab)
{
    TdocForm& editor = Open();
    editor.PageControl1->setCurrentIndex(TdocForm::ScriptSheet);
    const auto item = [&](const QString& submenu, const QString& caption) -> QAction* {
        for (QAction* entry : editor.pmScript->actions())
            if (entry->menu() && entry->text() == submenu)
                for (QAction* a : entry->menu()->actions())
                    if (a->text() == caption)
                        return a;
        return nullptr;
    };
    QStringList submenus;
    for (QAction* entry : editor.pmScript->actions())
        if (entry->menu())
            submenus.append(entry->text());
    EXPECT_EQ(submenus, (QStringList{u"Assinalar"_s, u"Condição"_s, u"Loop"_s, u"Calcular&&Desenhar"_s, u"Traço"_s,
                                     u"Mostrar&&Côr"_s, u"Função de Côr"_s, u"Executar"_s, u"Fazer Som"_s,
                                     u"Table"_s, u"mais"_s}));
    QAction* ifEndif = item(u"Condição"_s, u"If then / endif"_s);
    ASSERT_NE(ifEndif, nullptr);
    ifEndif->trigger();
    EXPECT_EQ(TextOf(editor.MemoScript), u"If  then  \n\nendif\n"_s);
    QTest::keyClick(editor.MemoScript, Qt::Key_Tab);
    EXPECT_EQ(TextOf(editor.MemoScript), u"If  then  \n\nendif\n    "_s);
    // Ctrl+Tab turns to the next sheet and types nothing.
    editor.PageControl1->setCurrentIndex(TdocForm::ScriptSheet);
    QTest::keyClick(editor.MemoScript, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(TextOf(editor.MemoScript), u"If  then  \n\nendif\n    "_s);
    EXPECT_EQ(editor.PageControl1->currentIndex(), TdocForm::TableSheet);
    QAction* settime = item(u"Executar"_s, u"Settime(<mili segundo>) / wait"_s);
    ASSERT_NE(settime, nullptr);
    editor.MemoScript->clear();
    settime->trigger();
    EXPECT_EQ(TextOf(editor.MemoScript), u"Settime( ) \n\nwait\n"_s);
}

// The four sheets as a user sees them.
TEST_F(NoteEditorTest, TheSheetsLookAsReviewed)
{
    UseNotes(Notes, {u"lembrete"_s});
    TdocForm& editor = Open();
    const char* names[] = {"colante", "script", "table", "nota"};
    for (int sheet = TdocForm::StickerSheet; sheet <= TdocForm::NotaSheet; ++sheet) {
        editor.PageControl1->setCurrentIndex(sheet);
        ProcessEvents();
        EXPECT_TRUE(MatchesImageGolden(editor.grab().toImage(),
                                       u"notes/editor-"_s + QString::fromLatin1(names[sheet]) + u".png"_s,
                                       TextTolerance));
    }
}

} // namespace
