// The table sheet: 2,000 filled cells applied to the table, 200 × 10 fields
// pasted, a formula computed into 2,000 cells, and the note editor opened on
// its table sheet with a full table.
#include "bench/BenchSupport.h"
#include "bench/windows/WindowBenchKit.h"

#include "model/DocumentState.h"
#include "model/NumberText.h"
#include "model/Options.h"
#include "notes/DocForm.h"
#include "notes/TableSheet.h"
#include "session/TableSheet.h"

#include <QCoreApplication>
#include <QStringList>

#include <cmath>

namespace {

// Every data cell a number, some with decimals.
QString FullTableText()
{
    QStringList lines;
    for (int r = 1; r <= TableRows; ++r) {
        QStringList fields;
        for (int c = 1; c <= TableColumns; ++c)
            fields.append(FormatGeneral(r * 10 + c + (c % 3) * 0.25L, 15, Separators.DecimalChar));
        lines.append(fields.join(u'\t'));
    }
    return lines.join(QStringLiteral("\r\n"));
}

TTableGrid FullGrid()
{
    StartEngineOnce();
    ClearTable();
    TTableGrid grid;
    grid.FillFromDocument();
    grid.Paste(1, 1, FullTableText());
    return grid;
}

void BM_ApplyFullTable(benchmark::State& state)
{
    TTableGrid grid = FullGrid();
    grid.Apply();
    if (DocumentTables.Cells[200][10].Value != 2010.25L) {
        FailBenchmark(state, "the last cell was not applied");
        return;
    }
    for (auto _ : state) {
        ClearTable();
        benchmark::DoNotOptimize(grid.Apply());
    }
}
BENCHMARK(BM_ApplyFullTable)->Unit(benchmark::kMillisecond);

void BM_PasteFullTable(benchmark::State& state)
{
    StartEngineOnce();
    const QString text = FullTableText();
    TTableGrid grid;
    grid.FillFromDocument();
    grid.Paste(1, 1, text);
    if (grid.CopyText({1, 1, TableRows, TableColumns}) != text) {
        FailBenchmark(state, "the pasted table does not copy back");
        return;
    }
    for (auto _ : state) {
        grid.Empty({1, 1, TableRows, TableColumns});
        grid.Paste(1, 1, text);
    }
}
BENCHMARK(BM_PasteFullTable)->Unit(benchmark::kMillisecond);

void BM_ComputeIntoFullTable(benchmark::State& state)
{
    TTableGrid grid = FullGrid();
    TKavirofunction formula = CompiledFormula(QStringLiteral("x*z+sin(w)"), ModeUserFunction);
    StoreTableFormula(formula);
    grid.ComputeInto({1, 3, TableRows, TableColumns});
    TValue check = GetGridCellValue(grid.Texts(), 10, 200);
    const long double expected = 2001.25L * 200.0L + std::sin(10.0L);
    if (!check.Defined || !AgreesWithReference(check.X, expected)) {
        FailBenchmark(state, "the formula computed a wrong value");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(grid.ComputeInto({1, 1, TableRows, TableColumns}));
}
BENCHMARK(BM_ComputeIntoFullTable)->Unit(benchmark::kMillisecond);

void BM_OpenSheetOnFullTable(benchmark::State& state)
{
    SharedWindowBench();
    InstallTableSheet();
    TTableGrid grid = FullGrid();
    grid.Apply();
    for (auto _ : state) {
        TdocForm& editor = ShowDocForm();
        editor.PageControl1->setCurrentIndex(TdocForm::TableSheet);
        TWindowBench::ProcessEvents();
        state.PauseTiming();
        const bool full = editor.TablePage().HasContent();
        CloseDocForm();
        TWindowBench::ProcessEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
        if (!full) {
            FailBenchmark(state, "the sheet opened empty");
            return;
        }
    }
    SetTablePageMaker({});
}
BENCHMARK(BM_OpenSheetOnFullTable)->Unit(benchmark::kMillisecond);

} // namespace
