#include "session/TableSheet.h"

#include "session/EditScope.h"
#include "session/UndoPoints.h"

#include "engine/Compiler.h"
#include "engine/Evaluator.h"
#include "engine/References.h"
#include "engine/TokenTable.h"
#include "model/NumberText.h"
#include "model/Options.h"
#include "render/view/RedrawState.h"

#include <QStringList>
#include <algorithm>

namespace {

// Typed formulas show 12 digits, computed ones 15.
constexpr int TypedDigits = 12;
constexpr int ComputedDigits = 15;

bool InData(int row, int column)
{
    return row >= 1 && row <= TableRows && column >= 1 && column <= TableColumns;
}

QString NumberText(long double value, int digits)
{
    return FormatGeneral(value, digits, Separators.DecimalChar);
}

bool ReadsTable(const TKavirofunction& formula)
{
    return RefersToToken(TokenCodes.Cells, formula) || RefersToToken(TokenCodes.CellsP, formula);
}

// While a formula that reads the table runs, the table holds what the sheet
// shows; afterwards it holds what it held.
class TSheetInCells {
public:
    TSheetInCells(const TTableTexts& grid, bool needed)
        : needed_(needed)
    {
        if (!needed_)
            return;
        saved_ = DocumentTables.Cells;
        StoreGridInCells(grid);
    }
    ~TSheetInCells()
    {
        if (needed_)
            DocumentTables.Cells = std::move(saved_);
    }
    TSheetInCells(const TSheetInCells&) = delete;
    TSheetInCells& operator=(const TSheetInCells&) = delete;

private:
    bool needed_;
    decltype(TDocumentTables::Cells) saved_;
};

TValue EvaluateInCell(const TKavirofunction& formula, int row, int column, const TTableTexts& grid)
{
    const TCellInputs in = CellInputs(grid, row, column);
    return EvaluatePostfix(formula, in.X, in.Y, in.Z, in.W);
}

bool SameCells(const decltype(TDocumentTables::Cells)& a, const decltype(TDocumentTables::Cells)& b)
{
    for (int r = 0; r <= TableRows; ++r)
        for (int c = 0; c <= TableColumns; ++c) {
            const TCell& x = a[r][c];
            const TCell& y = b[r][c];
            if (x.Defined != y.Defined || x.Value != y.Value || x.Text != y.Text)
                return false;
        }
    return true;
}

// Lines split at CR LF, LF or CR; a line break at the end adds no line.
QStringList PastedLines(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text.isEmpty() ? QStringList() : text.split(u'\n');
}

QString SnapshotOf(const TTableTexts& texts)
{
    QString snapshot;
    for (int r = 1; r <= TableRows; ++r) {
        if (r > 1)
            snapshot += QStringLiteral("\r\n");
        for (int c = 1; c <= TableColumns; ++c)
            snapshot += texts.At(r, c) + u'\t';
    }
    return snapshot;
}

TOffsetArray<QString, 1, TableColumns> RowTexts(const TTableTexts& texts, int row)
{
    TOffsetArray<QString, 1, TableColumns> line;
    for (int c = 1; c <= TableColumns; ++c)
        line[c] = texts.At(row, c);
    return line;
}

TTableGrid*& OpenGrid()
{
    static TTableGrid* grid = nullptr;
    return grid;
}

} // namespace

TTableTexts::TTableTexts()
{
    for (int r = 1; r <= TableRows; ++r)
        texts_[r][0] = QString::number(r);
    for (int c = 1; c <= TableColumns; ++c)
        texts_[0][c] = QString::number(c);
}

TTableTexts TTableTexts::FromDocument()
{
    TTableTexts texts;
    for (int r = 1; r <= TableRows; ++r)
        for (int c = 1; c <= TableColumns; ++c)
            texts.texts_[r][c] = DocumentTables.Cells[r][c].Text;
    return texts;
}

const QString& TTableTexts::At(int row, int column) const
{
    static const QString none;
    if (row < 0 || row > TableRows || column < 0 || column > TableColumns)
        return none;
    return texts_[row][column];
}

void TTableTexts::Set(int row, int column, const QString& text)
{
    if (row < 0 || row > TableRows || column < 0 || column > TableColumns)
        return;
    texts_[row][column] = text;
}

bool TTableTexts::HasData() const
{
    for (int r = 1; r <= TableRows; ++r)
        for (int c = 1; c <= TableColumns; ++c)
            if (!texts_[r][c].isEmpty())
                return true;
    return false;
}

QString CellDisplayText(const QString& text)
{
    if (!text.isEmpty() && QStringLiteral("0123456789-").contains(text[0]))
        return u' ' + text;
    return text;
}

QString CellAddress(int row, int column)
{
    return QStringLiteral("Cells(%1%2%3)").arg(row).arg(Separators.ListSepChar).arg(column);
}

TValue GetGridCellValue(const TTableTexts& grid, int column, int row)
{
    long double value = 0.0L;
    const QString& text = grid.At(row, column);
    if (!text.isEmpty() && ParseExtended(text, Separators.DecimalChar, value))
        return ValueReal(value);
    return ValueUndefined(KindReal);
}

TCellInputs CellInputs(const TTableTexts& grid, int row, int column)
{
    const TTableSelection& inputs = DocumentTables.TableSelection;
    return {GetGridCellValue(grid, inputs.XColumn, row), GetGridCellValue(grid, inputs.YColumn, row),
            GetGridCellValue(grid, inputs.ZColumn, row), GetGridCellValue(grid, column, inputs.WRow)};
}

TCellEntry ParseCellText(const QString& text, int row, int column, const TTableTexts& grid)
{
    TCellEntry entry{text, ValueUndefined(KindReal), std::nullopt};
    if (text.startsWith(QStringLiteral("//")) || text.startsWith(u'"'))
        return entry;
    QString rest = text.trimmed();
    if (rest.isEmpty())
        return {QString(), entry.Value, std::nullopt};
    if (rest.startsWith(u'='))
        rest = rest.mid(1).trimmed();
    long double number = 0.0L;
    if (ParseExtended(rest, Separators.DecimalChar, number))
        return {rest, ValueReal(number), std::nullopt};

    TKavirofunction formula = BlankFunction;
    formula.Text = rest;
    if (!PrepareExpression(formula, ModePlain) || formula.Code.isEmpty())
        return entry;
    const TValue value = [&] {
        const TSheetInCells sheet(grid, ReadsTable(formula));
        return EvaluateInCell(formula, row, column, grid);
    }();
    if (!value.Defined)
        return entry;
    entry.Text = NumberText(value.X, TypedDigits);
    entry.Value = value;
    // No pair spills past the last column.
    if (value.Kind == KindPair && column < TableColumns)
        entry.YText = NumberText(value.Y, TypedDigits);
    return entry;
}

void TTableGrid::FillFromDocument()
{
    texts_ = TTableTexts::FromDocument();
    snapshots_.clear();
    TakeSnapshot();
    Announce();
}

void TTableGrid::Place(int row, int column, const TCellEntry& entry)
{
    texts_.Set(row, column, entry.Text);
    if (entry.YText)
        texts_.Set(row, column + 1, *entry.YText);
}

void TTableGrid::Announce()
{
    if (TextsChanged)
        TextsChanged();
}

void TTableGrid::Commit(int row, int column, const QString& text)
{
    KeepScriptWrites();
    if (!InData(row, column))
        return;
    Place(row, column, ParseCellText(text, row, column, texts_));
    TakeSnapshot();
    Announce();
}

void TTableGrid::Empty(const TCellRange& range)
{
    KeepScriptWrites();
    for (int r = range.Top; r <= range.Bottom; ++r)
        for (int c = range.Left; c <= range.Right; ++c)
            if (InData(r, c))
                texts_.Set(r, c, QString());
    TakeSnapshot();
    Announce();
}

QString TTableGrid::CopyText(const TCellRange& range) const
{
    QStringList lines;
    for (int r = range.Top; r <= range.Bottom; ++r) {
        QStringList fields;
        for (int c = range.Left; c <= range.Right; ++c)
            fields.append(texts_.At(r, c));
        lines.append(fields.join(u'\t'));
    }
    return lines.join(QStringLiteral("\r\n"));
}

QString TTableGrid::Cut(const TCellRange& range)
{
    const QString text = CopyText(range);
    Empty(range);
    return text;
}

void TTableGrid::Paste(int row, int column, const QString& text)
{
    KeepScriptWrites();
    const QStringList lines = PastedLines(text);
    for (qsizetype i = 0; i < lines.size() && row + i <= TableRows; ++i) {
        const int r = row + static_cast<int>(i);
        const QStringList fields = lines[i].split(u'\t');
        for (qsizetype j = 0; j < fields.size() && column + j <= TableColumns; ++j) {
            const int c = column + static_cast<int>(j);
            Place(r, c, ParseCellText(fields[j], r, c, texts_));
        }
    }
    TakeSnapshot();
    Announce();
}

void TTableGrid::MoveRow(int from, int to)
{
    KeepScriptWrites();
    if (!InData(from, 1) || !InData(to, 1) || from == to)
        return;
    const auto moved = RowTexts(texts_, from);
    const int step = to > from ? 1 : -1;
    for (int r = from; r != to; r += step)
        for (int c = 1; c <= TableColumns; ++c)
            texts_.Set(r, c, texts_.At(r + step, c));
    for (int c = 1; c <= TableColumns; ++c)
        texts_.Set(to, c, moved[c]);
    TakeSnapshot();
    Announce();
}

void TTableGrid::MoveColumn(int from, int to)
{
    KeepScriptWrites();
    if (!InData(1, from) || !InData(1, to) || from == to)
        return;
    const int step = to > from ? 1 : -1;
    for (int r = 1; r <= TableRows; ++r) {
        const QString moved = texts_.At(r, from);
        for (int c = from; c != to; c += step)
            texts_.Set(r, c, texts_.At(r, c + step));
        texts_.Set(r, to, moved);
    }
    TakeSnapshot();
    Announce();
}

std::optional<TCellRange> TTableGrid::ComputeInto(const TCellRange& range)
{
    const TKavirofunction& formula = DocumentTables.TableFormula;
    if (formula.Code.isEmpty())
        return std::nullopt;
    KeepScriptWrites();
    {
        const TSheetInCells sheet(texts_, ReadsTable(formula));
        for (int r = range.Top; r <= range.Bottom; ++r)
            for (int c = range.Left; c <= range.Right; ++c) {
                const TValue v = EvaluateInCell(formula, r, c, texts_);
                texts_.Set(r, c, v.Defined ? NumberText(v.X, ComputedDigits) : QString());
                if (v.Kind != KindPair)
                    continue;
                if (c < TableColumns)
                    texts_.Set(r, c + 1, v.Defined ? NumberText(v.Y, ComputedDigits) : QString());
                ++c;
            }
    }
    TakeSnapshot();
    Announce();
    if (range.Bottom >= TableRows)
        return range;
    return TCellRange{range.Bottom + 1, range.Left, range.Bottom + 1, range.Right};
}

void TTableGrid::KeepScriptWrites()
{
    if (scriptWrote_)
        TakeSnapshot();
}

void TTableGrid::TakeSnapshot()
{
    scriptWrote_ = false;
    QString snapshot = SnapshotOf(texts_);
    if (snapshots_.empty() || snapshots_.back() != snapshot)
        snapshots_.push_back(std::move(snapshot));
}

bool TTableGrid::Undo()
{
    KeepScriptWrites();
    if (snapshots_.size() < 2)
        return false;
    snapshots_.pop_back();
    const QStringList lines = snapshots_.back().split(QStringLiteral("\r\n"));
    TTableTexts rebuilt;
    texts_ = rebuilt;
    for (qsizetype i = 0; i < lines.size() && i < TableRows; ++i) {
        const int r = static_cast<int>(i) + 1;
        QStringList fields = lines[i].split(u'\t');
        fields.removeLast(); // after the last TAB
        for (qsizetype j = 0; j < fields.size() && j < TableColumns; ++j) {
            const int c = static_cast<int>(j) + 1;
            Place(r, c, ParseCellText(fields[j], r, c, texts_));
        }
    }
    Announce();
    return true;
}

bool TTableGrid::Apply()
{
    const bool changed = ApplyTable(texts_);
    Announce();
    return changed;
}

void TTableGrid::SetText(int row, int column, const QString& text)
{
    texts_.Set(row, column, text);
    scriptWrote_ = true;
    Announce();
}

void TTableGrid::EmptyAll()
{
    for (int r = 1; r <= TableRows; ++r)
        for (int c = 1; c <= TableColumns; ++c)
            texts_.Set(r, c, QString());
    scriptWrote_ = true;
    Announce();
}

void StoreGridInCells(const TTableTexts& grid)
{
    for (int r = 0; r <= TableRows; ++r)
        for (int c = 0; c <= TableColumns; ++c)
            SetCellValue(r, c, GetGridCellValue(grid, c, r), grid.At(r, c));
}

bool ApplyTable(TTableTexts& grid)
{
    const auto before = DocumentTables.Cells;
    for (int r = 0; r <= TableRows; ++r)
        for (int c = 0; c <= TableColumns; ++c) {
            const TCellEntry entry = ParseCellText(grid.At(r, c), r, c, grid);
            grid.Set(r, c, entry.Text);
            SetCellValue(r, c, entry.Value, entry.Text);
            if (entry.YText) {
                grid.Set(r, c + 1, *entry.YText);
                SetCellValue(r, c + 1, ValueReal(entry.Value.Y), *entry.YText);
            }
        }
    return !SameCells(before, DocumentTables.Cells);
}

void StoreTableFormula(const TKavirofunction& record)
{
    TKavirofunction& stored = DocumentTables.TableFormula;
    if (stored.Text == record.Text && stored.Code == record.Code)
        return;
    const TEditScope edit;
    SaveUndoPoint();
    stored = record;
    TEditScope::DocumentChanged();
}

void StoreTableColWidths(const std::array<int, TableColumns>& widths)
{
    for (int c = 1; c <= TableColumns; ++c)
        DocumentTables.TableColWidths[c] = widths[static_cast<std::size_t>(c - 1)];
}

void StoreScatterTable(const TTableTexts& grid)
{
    const TEditScope edit;
    SaveUndoPoint();
    const auto before = DocumentTables.Cells;
    StoreGridInCells(grid);
    if (SameCells(before, DocumentTables.Cells))
        return;
    TEditScope::DocumentChanged();
    MarkNameChanged(TokenCodes.Cells);
    MarkNameChanged(TokenCodes.CellsP);
    SetDirtyObjects();
}

TOpenTableGrid::TOpenTableGrid(TTableGrid& grid)
    : previous_(OpenGrid())
{
    OpenGrid() = &grid;
}

TOpenTableGrid::~TOpenTableGrid()
{
    OpenGrid() = previous_;
}

void SetGridCellText(int row, int column, const QString& text)
{
    if (TTableGrid* grid = OpenGrid())
        grid->SetText(row, column, text);
}

void ClearGridCells()
{
    if (TTableGrid* grid = OpenGrid())
        grid->EmptyAll();
}

std::optional<TValue> ReadGridCellValue(int row, int column)
{
    if (TTableGrid* grid = OpenGrid())
        return GetGridCellValue(grid->Texts(), column, row);
    return std::nullopt;
}
