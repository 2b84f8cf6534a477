#include "notes/DocForm.h"

#include "dialogs/EditCommands.h"
#include "dialogs/FmSetColor.h"
#include "dialogs/FormLook.h"
#include "dialogs/HintSetting.h"
#include "dialogs/MarkupMenu.h"
#include "dialogs/PermanentForms.h"
#include "dialogs/PropertyDialog.h"
#include "model/ProgramState.h"
#include "platform/Clipboard.h"
#include "script/NoteApply.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTextCursor>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QPointer<TdocForm>& TheEditor()
{
    static QPointer<TdocForm> editor;
    return editor;
}

// A tab that holds something is drawn in this colour.
const QColor HighlightedTab(Qt::blue);

QPlainTextEdit* MakeSheetEdit(QWidget* parent, const char* name, const QString& fontName)
{
    auto* edit = new QPlainTextEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setFont(QFont(fontName, 10));
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    return edit;
}

// The text of a sheet as it stands: line breaks as "\n", every other
// character (no-break spaces too) as typed.
QString SheetTextOf(const QPlainTextEdit* edit)
{
    QString text = edit->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

bool HoldsSomething(const QPlainTextEdit* edit)
{
    return !SheetTextOf(edit).trimmed().isEmpty();
}

QWidget* SheetPage(QWidget* content)
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(content);
    return page;
}

} // namespace

TdocForm::TdocForm()
    : QWidget(nullptr, Qt::Window)
{
    setObjectName(QStringLiteral("docForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Anotação"));
    setFont(FormFont(8));
    FillBackground(*this, FormColor);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    layout->addWidget(PageControl1, 1);

    MemoScript = MakeSheetEdit(this, "MemoScript", ProgramState.ScriptEdit);
    MemoNota = MakeSheetEdit(this, "MemoNota", ProgramState.SctickerEdit);
    PageControl1->addTab(BuildStickerSheet(), QStringLiteral("colante"));
    PageControl1->addTab(SheetPage(MemoScript), QStringLiteral("Script"));
    tablePage_ = MakeTablePage(PageControl1);
    PageControl1->addTab(tablePage_->Widget(), QStringLiteral("Table"));
    PageControl1->addTab(SheetPage(MemoNota), QStringLiteral("Nota"));

    auto* buttons = new QWidget(this);
    BuildButtons(buttons);
    layout->addWidget(buttons);

    AttachMarkupMenu(MemoSticker);
    BuildScriptMenu();
    MemoScript->installEventFilter(this);
    for (QPlainTextEdit* edit : {MemoSticker, MemoScript, MemoNota})
        connect(edit, &QPlainTextEdit::textChanged, this, [this] { ShowTabHighlights(); });
    tablePage_->ContentChanged = [this] { ShowTabHighlights(); };

    move(NoteEditorState.Pos.value_or(DialogAnchorPos()));
    resize(NoteEditorState.Size);
    FillFromDocument();
}

TdocForm::~TdocForm() = default;

QWidget* TdocForm::BuildStickerSheet()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* controls = new QHBoxLayout;
    controls->setSpacing(3);
    const auto caption = [page, controls](const char16_t* text) {
        controls->addWidget(new QLabel(QString::fromUtf16(text), page));
    };
    SBMemoStyle = new TStyleButton("SBMemoStyle", page);
    SBBGColor = new TStyleButton("SBBGColor", page);
    SBColor = new TStyleButton("SBColor", page);
    CBSize = new QComboBox(page);
    CBSize->setObjectName(QStringLiteral("CBSize"));
    CBSize->setEditable(true);
    CBSize->setInsertPolicy(QComboBox::NoInsert);
    for (int size : StickerSizeChoices)
        CBSize->addItem(QString::number(size));
    caption(u"Mostrar");
    controls->addWidget(SBMemoStyle);
    caption(u"BGCor");
    controls->addWidget(SBBGColor);
    caption(u"Côr");
    controls->addWidget(SBColor);
    caption(u"Letra");
    controls->addWidget(CBSize);
    controls->addStretch(1);
    layout->addLayout(controls);
    MemoSticker = MakeSheetEdit(page, "MemoSticker", ProgramState.SctickerEdit);
    layout->addWidget(MemoSticker, 1);

    SBMemoStyle->BindByte(TStyleFamily::MemoStyle, &working_.Style);
    SBBGColor->BindByte(TStyleFamily::BackColor, &working_.BGcolor);
    SBColor->BindColor(&working_.Color);
    for (TStyleButton* button : {SBMemoStyle, SBBGColor, SBColor})
        button->Chosen = [button] { button->ShowGlyph(); };
    return page;
}

void TdocForm::BuildButtons(QWidget* row)
{
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    const auto make = [row, layout](const char* name, const QString& caption) {
        auto* button = new QPushButton(caption, row);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        layout->addWidget(button);
        return button;
    };
    btnOK = make("btnOK", QStringLiteral("&O K"));
    btnCancel = make("btnCancel", QStringLiteral("&Cancelar"));
    BtnApl = make("BtnApl", QStringLiteral("A&plicar"));
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { close(); });
    connect(BtnApl, &QPushButton::clicked, this, [this] { BtnAplClick(); });
}

void TdocForm::BuildScriptMenu()
{
    pmScript = new QMenu(this);
    pmScript->setObjectName(QStringLiteral("pmScript"));
    for (const TScriptSubmenu& entry : ScriptMenuEntries()) {
        QMenu* submenu = pmScript->addMenu(entry.Caption);
        for (const TScriptMenuItem& item : entry.Items) {
            // A caption's "&" would be taken for a shortcut's mark.
            QAction* action = submenu->addAction(QString(item.Caption).replace(u'&', QStringLiteral("&&")));
            const QString caption = item.Caption;
            connect(action, &QAction::triggered, this, [this, caption] { Draw2Click(caption); });
        }
    }
    pmScript->addSeparator();
    scriptUndo_ = pmScript->addAction(QStringLiteral("&Desfazer"));
    pmScript->addSeparator();
    scriptCut_ = pmScript->addAction(QStringLiteral("&Cortar"));
    scriptCopy_ = pmScript->addAction(QStringLiteral("C&opiar"));
    scriptPaste_ = pmScript->addAction(QStringLiteral("Co&lar"));
    connect(scriptUndo_, &QAction::triggered, this, [this] { UndoEdit(MemoScript); });
    connect(scriptCut_, &QAction::triggered, this, [this] { CutSelection(MemoScript); });
    connect(scriptCopy_, &QAction::triggered, this, [this] { CopySelection(MemoScript); });
    connect(scriptPaste_, &QAction::triggered, this, [this] { PasteClipboard(MemoScript); });
    MemoScript->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(MemoScript, &QWidget::customContextMenuRequested, this,
            [this](QPoint pos) { ShowScriptMenu(MemoScript->viewport()->mapToGlobal(pos)); });
}

void TdocForm::ShowScriptMenu(QPoint globalPos)
{
    const bool selection = !SelectedText(MemoScript).isEmpty();
    scriptUndo_->setEnabled(CanUndo(MemoScript));
    scriptCut_->setEnabled(selection);
    scriptCopy_->setEnabled(selection);
    scriptPaste_->setEnabled(!platform::CurrentClipboard().text().isEmpty());
    pmScript->popup(globalPos);
}

void TdocForm::FillFromDocument()
{
    const TNoteSheetTexts sheets = FillNoteSheets();
    MemoSticker->setPlainText(sheets.Stickers);
    MemoScript->setPlainText(sheets.Scripts);
    MemoNota->setPlainText(sheets.Nota);
    working_ = CurrentStickerStyle();
    ShowStyleControls();
    ShowTabHighlights();
}

void TdocForm::ShowStyleControls()
{
    for (TStyleButton* button : {SBMemoStyle, SBBGColor, SBColor})
        button->ShowGlyph();
    CBSize->setEditText(QString::number(working_.Size));
}

TNoteSheetTexts TdocForm::SheetTexts() const
{
    return {SheetTextOf(MemoSticker), SheetTextOf(MemoScript), SheetTextOf(MemoNota)};
}

bool TdocForm::ApplyChanges()
{
    working_.Size = StickerSizeFromText(CBSize->currentText(), working_.Size);
    CBSize->setEditText(QString::number(working_.Size));
    const TNoteApplyOutcome outcome =
        ::ApplyChanges(SheetTexts(), working_, [this] { return tablePage_->Apply(); });
    ShowScriptErrors(outcome.Errors);
    return outcome.Applied;
}

void TdocForm::btnOKClick()
{
    if (ApplyChanges())
        close();
}

void TdocForm::BtnAplClick()
{
    ApplyChanges();
}

void TdocForm::PrepareAppend()
{
    PageControl1->setCurrentIndex(StickerSheet);
    QString text = SheetTextOf(MemoSticker);
    while (text.endsWith(u'\n'))
        text.chop(1);
    if (!text.isEmpty())
        text += QStringLiteral("\n\n\n");
    if (text != SheetTextOf(MemoSticker))
        MemoSticker->setPlainText(text);
    MemoSticker->moveCursor(QTextCursor::End);
    MemoSticker->setFocus();
}

void TdocForm::Draw2Click(const QString& caption)
{
    MemoScript->insertPlainText(ScriptInsertText(caption));
}

bool TdocForm::IsTabHighlighted(TSheet sheet) const
{
    return PageControl1->tabBar()->tabTextColor(sheet) == HighlightedTab;
}

void TdocForm::ShowTabHighlights()
{
    const bool holds[] = {HoldsSomething(MemoSticker), HoldsSomething(MemoScript), tablePage_->HasContent(),
                          HoldsSomething(MemoNota)};
    QTabBar* tabs = PageControl1->tabBar();
    for (int sheet = StickerSheet; sheet <= NotaSheet; ++sheet)
        tabs->setTabTextColor(sheet, holds[sheet] ? HighlightedTab : palette().color(QPalette::WindowText));
}

void TdocForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    TakeHintSetting(*this);
    if (event->spontaneous())
        return;
    tablePage_->SetUp();
    PageControl1->setCurrentIndex(std::clamp(NoteEditorState.Sheet, int(StickerSheet), int(NotaSheet)));
    ShowTabHighlights();
    // The keys go to the sheet shown.
    for (QPlainTextEdit* edit : {MemoSticker, MemoScript, MemoNota})
        if (PageControl1->currentWidget()->isAncestorOf(edit))
            edit->setFocus();
}

void TdocForm::closeEvent(QCloseEvent* event)
{
    NoteEditorState.Pos = pos();
    NoteEditorState.Size = size();
    NoteEditorState.Sheet = PageControl1->currentIndex();
    tablePage_->StoreOnClose();
    QWidget::closeEvent(event);
    // Freed soon: the next opening makes a new one.
    if (TheEditor() == this)
        TheEditor() = nullptr;
}

bool TdocForm::eventFilter(QObject* watched, QEvent* event)
{
    // Ctrl+Tab still turns the sheets, as in every tabbed window.
    if (watched == MemoScript && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Tab &&
        !(static_cast<QKeyEvent*>(event)->modifiers() & Qt::ControlModifier)) {
        MemoScript->insertPlainText(ScriptTabText);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

std::optional<TDocumentError> TdocForm::DocumentSteps::DocumentReplaced(const QStringList&)
{
    form_.FillFromDocument();
    form_.tablePage_->DocumentReplaced();
    return std::nullopt;
}

TdocForm& ShowDocForm()
{
    QPointer<TdocForm>& editor = TheEditor();
    if (!editor)
        editor = new TdocForm;
    editor->show();
    editor->raise();
    editor->activateWindow();
    return *editor;
}

TdocForm& ShowDocFormForAppend()
{
    TdocForm& editor = ShowDocForm();
    editor.PrepareAppend();
    return editor;
}

TdocForm* OpenDocForm()
{
    return TheEditor().data();
}

void CloseDocForm()
{
    if (TdocForm* editor = TheEditor())
        editor->close();
}
