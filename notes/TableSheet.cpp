#include "notes/TableSheet.h"

#include "notes/ScatterWizard.h"

#include "dialogs/CalcForm.h"
#include "dialogs/FormLook.h"
#include "dialogs/PermanentForms.h"
#include "dialogs/PntProperty.h"
#include "dialogs/PropertyDialog.h"
#include "engine/Compiler.h"
#include "model/DocumentState.h"
#include "model/MessageBox.h"
#include "model/ProgramState.h"
#include "platform/Clipboard.h"
#include "session/NoteSheets.h"
#include "session/ScatterWizard.h"

#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString GridFontName = QStringLiteral("Times New Roman");
constexpr int DefaultColumnWidth = 60;

// Widths are doubled in presentation mode.
int PresentationFactor()
{
    return ProgramState.PresentationMode ? 2 : 1;
}

QFont GridFont()
{
    return QFont(GridFontName, 10 * PresentationFactor());
}

QFont LetterFont(const QFont& grid)
{
    QFont font(GridFontName, grid.pointSize());
    font.setItalic(true);
    return font;
}

bool IsControlKey(const QKeyEvent& key, Qt::Key k)
{
    return key.key() == k && (key.modifiers() & Qt::ControlModifier);
}

// Ctrl+Tab and Ctrl+Shift+Tab turn the editor's sheets.
bool TurnsSheets(const QKeyEvent& key)
{
    return IsControlKey(key, Qt::Key_Tab) || IsControlKey(key, Qt::Key_Backtab);
}

} // namespace

TTableModel::TTableModel(TTableGrid& grid, QObject* parent)
    : QAbstractTableModel(parent)
    , grid_(grid)
{
}

int TTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : TableRows;
}

int TTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : TableColumns;
}

QVariant TTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const QString& text = grid_.Texts().At(index.row() + 1, index.column() + 1);
    if (role == Qt::DisplayRole)
        return CellDisplayText(text);
    if (role == Qt::EditRole)
        return text;
    return {};
}

bool TTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    grid_.Commit(index.row() + 1, index.column() + 1, value.toString());
    return true;
}

Qt::ItemFlags TTableModel::flags(const QModelIndex& index) const
{
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

QVariant TTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return orientation == Qt::Horizontal ? grid_.Texts().At(0, section + 1) : grid_.Texts().At(section + 1, 0);
}

void TTableModel::Refresh()
{
    Q_EMIT dataChanged(index(0, 0), index(TableRows - 1, TableColumns - 1));
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, TableColumns - 1);
    Q_EMIT headerDataChanged(Qt::Vertical, 0, TableRows - 1);
}

TTableHeader::TTableHeader(Qt::Orientation orientation, QWidget* parent)
    : QHeaderView(orientation, parent)
{
    setSectionsClickable(true);
    setSectionsMovable(true);
    setHighlightSections(true);
}

void TTableHeader::paintEvent(QPaintEvent* event)
{
    QHeaderView::paintEvent(event);
    if (orientation() != Qt::Horizontal)
        return;
    const TTableSelection& inputs = DocumentTables.TableSelection;
    QPainter painter(viewport());
    painter.setFont(LetterFont(font()));
    painter.setPen(Qt::blue);
    const std::pair<int, const char16_t*> letters[] = {{inputs.XColumn, u"x"}, {inputs.YColumn, u"y"}};
    for (const auto& [column, letter] : letters) {
        if (column < 1 || column > TableColumns)
            continue;
        const QRect section(sectionViewportPosition(column - 1), 0, sectionSize(column - 1), height());
        painter.drawText(section.adjusted(2, 1, -3, -1), Qt::AlignRight | Qt::AlignBottom,
                         QString::fromUtf16(letter));
    }
}

TCellDelegate::TCellDelegate(TTableSheet& sheet)
    : QStyledItemDelegate(&sheet)
    , sheet_(sheet)
{
}

QWidget* TCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const
{
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    editor_ = qobject_cast<QLineEdit*>(editor);
    if (editor_)
        editor_->setObjectName(QStringLiteral("CellEditor"));
    return editor;
}

bool TCellDelegate::eventFilter(QObject* watched, QEvent* event)
{
    // The calculator edits the entry: its window taking the focus ends
    // nothing.
    if (event->type() == QEvent::FocusOut && sheet_.EntryInCalculator())
        return false;
    if (event->type() == QEvent::KeyPress && watched == editor_ &&
        sheet_.EditorKey(editor_, static_cast<const QKeyEvent&>(*event)))
        return true;
    return QStyledItemDelegate::eventFilter(watched, event);
}

TTableSheet::TTableSheet(QWidget* parent)
    : QTableView(nullptr)
    , model_(new TTableModel(grid_, this))
    , delegate_(new TCellDelegate(*this))
    , page_(BuildPage(parent))
{
    setObjectName(QStringLiteral("GridTable"));
    setHorizontalHeader(new TTableHeader(Qt::Horizontal, this));
    setVerticalHeader(new TTableHeader(Qt::Vertical, this));
    setModel(model_);
    setItemDelegate(delegate_);
    setFont(GridFont());
    horizontalHeader()->setFont(GridFont());
    verticalHeader()->setFont(GridFont());
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setCornerButtonEnabled(true);
    corner_ = findChild<QAbstractButton*>();
    if (corner_)
        corner_->installEventFilter(this);
    connect(horizontalHeader(), &QHeaderView::sectionMoved, this,
            [this](int, int from, int to) { SectionMoved(Qt::Horizontal, from, to); });
    connect(verticalHeader(), &QHeaderView::sectionMoved, this,
            [this](int, int from, int to) { SectionMoved(Qt::Vertical, from, to); });
    grid_.TextsChanged = [this] {
        model_->Refresh();
        if (ContentChanged)
            ContentChanged();
    };
    BuildMenu();
    ShowWidths();
}

TTableSheet::~TTableSheet() = default;

QWidget* TTableSheet::BuildPage(QWidget* parent)
{
    auto* page = new QWidget(parent);
    page->setObjectName(QStringLiteral("TablePage"));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* tools = new QHBoxLayout;
    ImgFormula = new TFormulaPicture("ImgFormula", page);
    ImgFormula->setFixedHeight(32);
    ImgFormula->setToolTip(QStringLiteral("Table"));
    ImgFormula->Clicked = [this] { EditTableFormula(); };
    const auto button = [page, tools](const char* name, const QString& caption, const QString& hint) {
        auto* b = new QPushButton(caption, page);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(hint);
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
        b->setMaximumWidth(b->fontMetrics().horizontalAdvance(caption) + 16);
        tools->addWidget(b);
        return b;
    };
    tools->addWidget(ImgFormula, 1);
    BtnCalc = button("BtnCalc", QStringLiteral("="), QStringLiteral("Calculá-lo, coloque em células selecionadas"));
    BtnGraph = button("BtnGraph", QStringLiteral("&Gráfico"), QStringLiteral("Scatter gráfico"));
    BtnUndo = button("BtnUndo", QStringLiteral("Desfazer"), QStringLiteral("Desfazer"));
    connect(BtnCalc, &QPushButton::clicked, this, [this] { ComputeIntoSelection(); });
    connect(BtnGraph, &QPushButton::clicked, this, [this] { OpenScatterWizard(); });
    connect(BtnUndo, &QPushButton::clicked, this, [this] { UndoCells(); });
    layout->addLayout(tools);
    setParent(page);
    layout->addWidget(this, 1);
    return page;
}

void TTableSheet::BuildMenu()
{
    pmTable = new QMenu(this);
    pmTable->setObjectName(QStringLiteral("pmTable"));
    menuUndo_ = pmTable->addAction(QStringLiteral("&Desfazer"));
    pmTable->addSeparator();
    QAction* cut = pmTable->addAction(QStringLiteral("&Cortar"));
    QAction* copy = pmTable->addAction(QStringLiteral("C&opiar"));
    menuPaste_ = pmTable->addAction(QStringLiteral("Co&lar"));
    connect(menuUndo_, &QAction::triggered, this, [this] { UndoCells(); });
    connect(cut, &QAction::triggered, this, [this] { CutCells(); });
    connect(copy, &QAction::triggered, this, [this] { CopyCells(); });
    connect(menuPaste_, &QAction::triggered, this, [this] { PasteCells(); });
}

void TTableSheet::ShowWidths()
{
    const int factor = PresentationFactor();
    widthFactor_ = factor;
    for (int c = 1; c <= TableColumns; ++c) {
        const int width = DocumentTables.TableColWidths[c];
        setColumnWidth(c - 1, (width > 0 ? width : DefaultColumnWidth) * factor);
    }
    verticalHeader()->setFixedWidth(DefaultColumnWidth * 2 / 3 * factor);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(QFontMetrics(GridFont()).height() + 8);
}

void TTableSheet::ShowFormulaPicture()
{
    ImgFormula->ShowFormula(DocumentTables.TableFormula.NormText, 12);
}

void TTableSheet::SetUp()
{
    setUp_ = true;
    grid_.FillFromDocument();
    ShowWidths();
    const int row = std::clamp(NoteEditorState.TableRow, 1, TableRows);
    const int column = std::clamp(NoteEditorState.TableColumn, 1, TableColumns);
    setCurrentIndex(model_->index(row - 1, column - 1));
    ShowFormulaPicture();
}

bool TTableSheet::Apply()
{
    CommitOpenEditor();
    return grid_.Apply();
}

bool TTableSheet::HasContent() const
{
    return grid_.Texts().HasData();
}

void TTableSheet::DocumentReplaced()
{
    if (!setUp_)
        return;
    // An entry open on the old table goes without being taken.
    if (QLineEdit* editor = OpenEditor())
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    SetUp();
}

void TTableSheet::StoreOnClose()
{
    const QModelIndex cursor = currentIndex();
    if (cursor.isValid()) {
        NoteEditorState.TableRow = cursor.row() + 1;
        NoteEditorState.TableColumn = cursor.column() + 1;
    }
    std::array<int, TableColumns> widths{};
    for (int c = 0; c < TableColumns; ++c)
        widths[static_cast<std::size_t>(c)] = columnWidth(c) / widthFactor_;
    StoreTableColWidths(widths);
}

TCellRange TTableSheet::Selection() const
{
    const QModelIndexList cells = selectionModel() ? selectionModel()->selectedIndexes() : QModelIndexList();
    const QModelIndex cursor = currentIndex();
    if (cells.isEmpty()) {
        const int r = cursor.isValid() ? cursor.row() + 1 : 1;
        const int c = cursor.isValid() ? cursor.column() + 1 : 1;
        return {r, c, r, c};
    }
    TCellRange range{TableRows, TableColumns, 1, 1};
    for (const QModelIndex& i : cells) {
        range.Top = std::min(range.Top, i.row() + 1);
        range.Bottom = std::max(range.Bottom, i.row() + 1);
        range.Left = std::min(range.Left, i.column() + 1);
        range.Right = std::max(range.Right, i.column() + 1);
    }
    return range;
}

void TTableSheet::Select(const TCellRange& range)
{
    const QModelIndex topLeft = model_->index(range.Top - 1, range.Left - 1);
    setCurrentIndex(topLeft);
    selectionModel()->select(QItemSelection(topLeft, model_->index(range.Bottom - 1, range.Right - 1)),
                             QItemSelectionModel::ClearAndSelect);
}

void TTableSheet::CommitOpenEditor()
{
    QLineEdit* editor = OpenEditor();
    if (!editor)
        return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void TTableSheet::CopyCells()
{
    CommitOpenEditor();
    platform::CurrentClipboard().setText(grid_.CopyText(Selection()));
    grid_.TakeSnapshot();
}

void TTableSheet::CutCells()
{
    CommitOpenEditor();
    platform::CurrentClipboard().setText(grid_.Cut(Selection()));
}

void TTableSheet::PasteCells()
{
    CommitOpenEditor();
    const QString text = platform::CurrentClipboard().text();
    if (text.isEmpty())
        return;
    const TCellRange at = Selection();
    grid_.Paste(at.Top, at.Left, text);
}

void TTableSheet::UndoCells()
{
    CommitOpenEditor();
    grid_.Undo();
}

void TTableSheet::EmptyCells()
{
    CommitOpenEditor();
    grid_.Empty(Selection());
}

void TTableSheet::SelectAllCells()
{
    CommitOpenEditor();
    selectAll();
}

void TTableSheet::ComputeIntoSelection()
{
    CommitOpenEditor();
    if (const std::optional<TCellRange> next = grid_.ComputeInto(Selection()))
        Select(*next);
}

void TTableSheet::OpenScatterWizard()
{
    CommitOpenEditor();
    if (ScatterObjectsAllUsed()) {
        ShowMsgBox(QStringLiteral("Mais figuras não podem ser acrescentadas"), MsgError, MsgOk);
        return;
    }
    TGwizard1 wizard(ProposeScatter(Selection()), window());
    wizard.setPalette(page_->palette());
    wizard.move(window()->pos() + QPoint(-50, 20));
    const int object = wizard.Run();
    if (object < 1)
        return;
    StoreScatterTable(grid_.Texts());
    ShowPntProperty(object, 3);
}

void TTableSheet::EditTableFormula()
{
    CommitOpenEditor();
    TKavirofunction formula = DocumentTables.TableFormula;
    if (EditFormula(QStringLiteral("Table"), font(), ImgFormula, FormColor, ModeUserFunction, formula))
        StoreTableFormula(formula);
    ShowFormulaPicture();
}

void TTableSheet::EditCellInCalculator(const QModelIndex& index)
{
    CommitOpenEditor();
    if (!index.isValid() || !Forms.CalcForm)
        return;
    setCurrentIndex(index);
    edit(index);
    QLineEdit* editor = OpenEditor();
    if (!editor)
        return;
    const int row = index.row() + 1;
    const int column = index.column() + 1;
    const TCellInputs in = CellInputs(grid_.Texts(), row, column);
    entryInCalculator_ = true;
    const bool sent = Forms.CalcForm->EditCell(CellAddress(row, column), font(), FormColor, editor, in.X,
                                               in.Y, in.Z, in.W);
    entryInCalculator_ = false;
    // The calculator may have ended the entry (the document replaced).
    if (OpenEditor() != editor)
        return;
    if (sent)
        commitData(editor);
    closeEditor(editor, sent ? QAbstractItemDelegate::NoHint : QAbstractItemDelegate::RevertModelCache);
}

void TTableSheet::MoveCursorBy(int rows, int columns)
{
    const QModelIndex cursor = currentIndex();
    const int row = std::clamp(cursor.row() + rows, 0, TableRows - 1);
    const int column = std::clamp(cursor.column() + columns, 0, TableColumns - 1);
    setCurrentIndex(model_->index(row, column));
}

bool TTableSheet::Command(const QKeyEvent& key)
{
    if (IsControlKey(key, Qt::Key_C))
        CopyCells();
    else if (IsControlKey(key, Qt::Key_X))
        CutCells();
    else if (IsControlKey(key, Qt::Key_V))
        PasteCells();
    else if (IsControlKey(key, Qt::Key_Z))
        UndoCells();
    else
        return false;
    return true;
}

bool TTableSheet::EditorKey(QWidget* editor, const QKeyEvent& key)
{
    if (Command(key))
        return true;
    if (TurnsSheets(key)) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
        // The grid passes the key on to the sheets.
        QKeyEvent turn(key.type(), key.key(), key.modifiers());
        QCoreApplication::sendEvent(this, &turn);
        return true;
    }
    int rows = 0;
    int columns = 0;
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Down: rows = 1; break;
    case Qt::Key_Up: rows = -1; break;
    case Qt::Key_Tab: columns = 1; break;
    case Qt::Key_Backtab: columns = -1; break;
    default: return false;
    }
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    MoveCursorBy(rows, columns);
    return true;
}

void TTableSheet::keyPressEvent(QKeyEvent* event)
{
    if (Command(*event))
        return;
    if (TurnsSheets(*event)) {
        event->ignore();
        return;
    }
    if (IsControlKey(*event, Qt::Key_A)) {
        SelectAllCells();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Delete: EmptyCells(); return;
    case Qt::Key_Return:
    case Qt::Key_Enter: MoveCursorBy(1, 0); return;
    case Qt::Key_Tab: MoveCursorBy(0, 1); return;
    case Qt::Key_Backtab: MoveCursorBy(0, -1); return;
    default: QTableView::keyPressEvent(event);
    }
}

void TTableSheet::showEvent(QShowEvent* event)
{
    QTableView::showEvent(event);
    // The sheet chosen: the keys go to the grid.
    if (!event->spontaneous())
        setFocus();
}

void TTableSheet::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid()) {
        QTableView::mouseDoubleClickEvent(event);
        return;
    }
    EditCellInCalculator(index);
}

void TTableSheet::contextMenuEvent(QContextMenuEvent* event)
{
    CommitOpenEditor();
    menuUndo_->setEnabled(grid_.SnapshotCount() >= 2);
    menuPaste_->setEnabled(!platform::CurrentClipboard().text().isEmpty());
    pmTable->popup(event->globalPos());
}

void TTableSheet::SectionMoved(Qt::Orientation orientation, int oldVisual, int newVisual)
{
    QHeaderView* header = orientation == Qt::Horizontal ? horizontalHeader() : verticalHeader();
    {
        // The sections stay in their order; the texts move instead, and
        // the headers keep counting from 1.
        const QSignalBlocker quiet(header);
        header->moveSection(newVisual, oldVisual);
    }
    CommitOpenEditor();
    if (orientation == Qt::Horizontal)
        grid_.MoveColumn(oldVisual + 1, newVisual + 1);
    else
        grid_.MoveRow(oldVisual + 1, newVisual + 1);
}

bool TTableSheet::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint && watched == corner_) {
        PaintCorner(*corner_);
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

// The corner: "w" (read from the header row) top right, "z" (from the
// header column) bottom left, a diagonal between them.
void TTableSheet::PaintCorner(QWidget& corner)
{
    QPainter painter(&corner);
    const QRect r = corner.rect();
    painter.fillRect(r, corner.palette().button());
    painter.setPen(corner.palette().color(QPalette::Mid));
    painter.drawRect(r.adjusted(0, 0, -1, -1));
    painter.drawLine(r.topLeft(), r.bottomRight());
    painter.setPen(Qt::blue);
    painter.setFont(LetterFont(font()));
    painter.drawText(r.adjusted(2, 0, -3, 0), Qt::AlignRight | Qt::AlignTop, QStringLiteral("w"));
    painter.drawText(r.adjusted(3, 0, -2, -1), Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("z"));
}

void InstallTableSheet()
{
    SetTablePageMaker([](QWidget* parent) { return std::make_unique<TTableSheet>(parent); });
}
