#pragma once

// The note editor's "Table" sheet: a grid of the 200 by 10 table with the
// row and column numbers in its headers, the inputs x, y, z and w of the
// table's formula marked there; typing, copying and pasting with other
// programs, its own undo, the table's formula computed into the selected
// cells, and the scatter wizard. What it shows is written into the table on
// OK or Apply.
#include "notes/TablePage.h"
#include "session/TableSheet.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>

class QAbstractButton;
class QMenu;
class QPushButton;
class TFormulaPicture;

// The sheet's texts as the view sees them: row i and column j of the view
// are row i + 1 and column j + 1 of the table. Numbers are shown one blank
// apart from the grid line; editing starts from the text itself.
class TTableModel final : public QAbstractTableModel {
public:
    TTableModel(TTableGrid& grid, QObject* parent);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // An entry typed into a cell.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Every cell shown anew.
    void Refresh();

private:
    TTableGrid& grid_;
};

// A header of the sheet: the numbers, and the letters "x" and "y" in the
// corner of the columns the table's formula reads them from.
class TTableHeader final : public QHeaderView {
public:
    TTableHeader(Qt::Orientation orientation, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

class TTableSheet;

// The cell editor: Enter, Up and Down take the entry and move; the sheet's
// copy, cut, paste and undo keys take the entry and act on the cells.
class TCellDelegate final : public QStyledItemDelegate {
public:
    explicit TCellDelegate(TTableSheet& sheet);
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    // The open editor, or null.
    QLineEdit* Editor() const { return editor_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TTableSheet& sheet_;
    mutable QPointer<QLineEdit> editor_;
};

class TTableSheet final : public QTableView, public TTablePage {
public:
    explicit TTableSheet(QWidget* parent);
    ~TTableSheet() override;

    // The page: the buttons above the grid.
    QWidget* Widget() override { return page_; }
    void SetUp() override;
    bool Apply() override;
    bool HasContent() const override;
    void DocumentReplaced() override;
    void StoreOnClose() override;

    // The formula's picture and the buttons above the grid.
    TFormulaPicture* ImgFormula;
    QPushButton* BtnCalc;
    QPushButton* BtnGraph;
    QPushButton* BtnUndo;
    QMenu* pmTable;

    const TTableTexts& Texts() const { return grid_.Texts(); }
    // The selected data cells (the cursor cell when nothing is selected).
    TCellRange Selection() const;
    void Select(const TCellRange& range);

    // What the keys, the menu and the buttons do; each takes an open
    // entry first.
    void CopyCells();
    void CutCells();
    void PasteCells();
    void UndoCells();
    void EmptyCells();
    void SelectAllCells();
    void ComputeIntoSelection();
    void OpenScatterWizard();
    void EditTableFormula();
    // The calculator on the cell, with its inputs; what it sends is the
    // entry.
    void EditCellInCalculator(const QModelIndex& index);
    // An open entry taken into its cell.
    void CommitOpenEditor();
    // The open entry's editor, or null.
    QLineEdit* OpenEditor() const { return state() == EditingState ? delegate_->Editor() : nullptr; }
    // The cursor moves by rows and columns, staying in the table.
    void MoveCursorBy(int rows, int columns);
    // The open entry is being edited in the calculator.
    bool EntryInCalculator() const { return entryInCalculator_; }
    // The editor's key: the entry taken, then the move or the command.
    bool EditorKey(QWidget* editor, const QKeyEvent& key);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildPage(QWidget* parent);
    void BuildMenu();
    void ShowWidths();
    void ShowFormulaPicture();
    void SectionMoved(Qt::Orientation orientation, int oldVisual, int newVisual);
    void PaintCorner(QWidget& corner);
    bool Command(const QKeyEvent& key);

    TTableGrid grid_;
    TTableModel* model_;
    TCellDelegate* delegate_;
    QWidget* page_;
    QAction* menuUndo_ = nullptr;
    QAction* menuPaste_ = nullptr;
    QAbstractButton* corner_ = nullptr;
    bool setUp_ = false;
    bool entryInCalculator_ = false;
    // The widths are shown doubled in presentation mode; stored as they
    // were shown, whatever the mode is when the sheet closes.
    int widthFactor_ = 1;
    // Scripts write into the sheet while it exists.
    TOpenTableGrid open_{grid_};
};

// Installs the sheet as the note editor's "Table" page (at start-up).
void InstallTableSheet();
