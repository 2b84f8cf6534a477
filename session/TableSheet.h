#pragma once

// The note editor's table sheet without its widget: the texts of the 200 by
// 10 table as the sheet shows them, what an entry typed into a cell becomes,
// copying and pasting in the user's separators, the sheet's own undo, a
// formula computed into selected cells, and the writes of the table into
// the document (on OK or Apply, the column widths on close, after the
// scatter wizard). Formulas typed into cells read their inputs from the
// texts on the sheet, not from the stored table, which differs until Apply.
#include "model/DocumentState.h"
#include "model/Value.h"

#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <vector>

// The sheet's texts, rows 0..200 by columns 0..10: row 0 and column 0 hold
// the numbers of the columns and rows, the rest the cells as typed (numbers
// in the user's decimal character).
class TTableTexts {
public:
    // Empty cells, numbered headers.
    TTableTexts();
    // The texts the document's table holds.
    static TTableTexts FromDocument();

    const QString& At(int row, int column) const;
    // Outside the table nothing happens.
    void Set(int row, int column, const QString& text);
    // Whether a data cell (rows 1..200, columns 1..10) holds any text.
    bool HasData() const;
    bool operator==(const TTableTexts&) const = default;

private:
    std::array<std::array<QString, TableColumns + 1>, TableRows + 1> texts_;
};

// A block of data cells, corners included.
struct TCellRange {
    int Top = 1;
    int Left = 1;
    int Bottom = 1;
    int Right = 1;
    bool operator==(const TCellRange&) const = default;
};

// What an entry becomes.
struct TCellEntry {
    QString Text;                 // what the cell holds from now on
    TValue Value;                 // Defined 0 for a text without value
    std::optional<QString> YText; // a pair's y, for the next column
};

// What the sheet shows for a cell's text: one blank before a text that
// begins like a number, so that numbers stand apart from the grid line.
QString CellDisplayText(const QString& text);
// The cell's name as formulas write it: "Cells(3,4)".
QString CellAddress(int row, int column);

// The text of the cell read as a number in the user's decimal character;
// undefined when empty or no number.
TValue GetGridCellValue(const TTableTexts& grid, int column, int row);
// The inputs x, y, z, w of a formula in that cell, read from the sheet:
// x, y and z from the columns the table's inputs name, in the cell's row;
// w from the row they name, in the cell's column.
struct TCellInputs {
    TValue X, Y, Z, W;
};
TCellInputs CellInputs(const TTableTexts& grid, int row, int column);

// An entry typed into the cell. A text that begins with "//" or '"' is kept
// as text. Otherwise, without blanks around it and one leading "=", a number
// is the value; anything else is computed as a formula with the cell's
// inputs (while it runs, a formula that reads the table reads the sheet):
// a defined result becomes its number (12 digits), a pair's y going to the
// next column; anything undefined keeps its text without value.
TCellEntry ParseCellText(const QString& text, int row, int column, const TTableTexts& grid);

// The sheet of an open note editor: its texts and the snapshots its undo
// goes back through.
class TTableGrid {
public:
    const TTableTexts& Texts() const { return texts_; }
    // Called after every change of the texts.
    std::function<void()> TextsChanged;

    // The texts from the document's table; the first snapshot.
    void FillFromDocument();

    // An entry typed into a data cell, then a snapshot.
    void Commit(int row, int column, const QString& text);
    // The cells emptied, then a snapshot.
    void Empty(const TCellRange& range);
    // The range's rows as lines of its cells' texts, TAB between fields and
    // CR LF between lines.
    QString CopyText(const TCellRange& range) const;
    // CopyText, then the cells emptied and a snapshot.
    QString Cut(const TCellRange& range);
    // The text's lines written from the cell down (to row 200), its
    // TAB-separated fields from the cell to the right (to column 10), each
    // field an entry; then a snapshot.
    void Paste(int row, int column, const QString& text);
    // Data row from (or column) taken out and put in at to, the others
    // closing up; the headers keep their numbers. Then a snapshot.
    void MoveRow(int from, int to);
    void MoveColumn(int from, int to);
    // The table's formula computed into every cell of the range, rows from
    // the top, columns from the left; a pair fills two columns and the walk
    // skips the second. Then a snapshot. The selection that follows: the
    // row below the range, or the range when it ends at row 200. Nothing
    // happens without a formula.
    std::optional<TCellRange> ComputeInto(const TCellRange& range);

    // The data cells as they stand, unless they stand as the last snapshot.
    void TakeSnapshot();
    // Back to the second-to-last snapshot, which becomes the last; false
    // with fewer than two.
    bool Undo();
    int SnapshotCount() const { return static_cast<int>(snapshots_.size()); }

    // The texts, each parsed as an entry, into the document's table (the
    // headers too); whether the table changed. Runs inside the note
    // editor's apply, which takes the undo point and marks the change.
    bool Apply();
    // A script writes a cell: its text shown as it is; a script empties
    // every data cell.
    void SetText(int row, int column, const QString& text);
    void EmptyAll();

private:
    void Place(int row, int column, const TCellEntry& entry);
    void Announce();
    // What scripts wrote since the last snapshot becomes a snapshot of its
    // own before the next change, so that undo takes back that change only.
    void KeepScriptWrites();

    TTableTexts texts_;
    std::vector<QString> snapshots_;
    bool scriptWrote_ = false;
};

// The document's table takes the sheet's texts as they stand: each a number
// or a text, formulas not computed again.
void StoreGridInCells(const TTableTexts& grid);
// The texts into the document's table, as TTableGrid::Apply.
bool ApplyTable(TTableTexts& grid);
// The table's formula edited in the calculator: stored, undoably, when it
// changed.
void StoreTableFormula(const TKavirofunction& record);
// The column widths the sheet had when it closed, in pixels.
void StoreTableColWidths(const std::array<int, TableColumns>& widths);
// After the scatter wizard made an object: an undo point, the sheet's texts
// into the document's table, and, when that changed it, the formulas that
// read the table drawn again; one action.
void StoreScatterTable(const TTableTexts& grid);

// The open note editor's sheet, for the scripts that write the table while
// it is open. Held by the sheet while it exists.
class TOpenTableGrid {
public:
    explicit TOpenTableGrid(TTableGrid& grid);
    ~TOpenTableGrid();
    TOpenTableGrid(const TOpenTableGrid&) = delete;
    TOpenTableGrid& operator=(const TOpenTableGrid&) = delete;

private:
    TTableGrid* previous_;
};
// A script stored a value in a cell: the open sheet shows its text.
// Nothing without an open sheet.
void SetGridCellText(int row, int column, const QString& text);
// A script emptied the table: the open sheet's data cells emptied.
void ClearGridCells();
// The value the open sheet shows in a cell; nothing without an open sheet.
std::optional<TValue> ReadGridCellValue(int row, int column);
