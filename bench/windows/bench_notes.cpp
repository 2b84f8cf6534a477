// The notes: a parameter step on an 800 × 600 graph without stickers and
// with ten stickers that each show the parameter twice, the note text of 500
// lines cut into stickers, and the note editor opened on a full note.
#include "bench/BenchSupport.h"
#include "bench/windows/WindowBenchKit.h"

#include "model/DocumentState.h"
#include "model/Options.h"
#include "notes/DocForm.h"
#include "render/scene/Redraw.h"
#include "script/ScriptCompiler.h"
#include "session/ParameterSteps.h"
#include "session/RowModels.h"
#include "session/Stickers.h"
#include "session/StoreOperations.h"
#include "windows/GraphAreaForm.h"
#include "windows/MainConsole.h"
#include "windows/ParamPanel.h"

#include <QLabel>
#include <QPlainTextEdit>

namespace {

TWindowBench& Windows()
{
    return SharedWindowBench();
}

TGraphAreaForm& Graph()
{
    return *Windows().Forms().GraphAreaForm;
}

// Ten stickers, sticker k showing a twice with k digits.
QStringList TenStickersOfA()
{
    QStringList lines;
    for (int k = 1; k <= 10; ++k) {
        if (k > 1)
            lines << QString() << QString();
        lines << QStringLiteral("Nota %1").arg(k) << QStringLiteral("a = !{a|%1}, 2a = !{2a}").arg(k);
    }
    return lines;
}

// A full note: ten stickers of 48 lines, two of them value fields, and 20
// scripts after them, 500 lines and more in all.
QStringList FullNote()
{
    QStringList lines;
    for (int k = 1; k <= 10; ++k) {
        if (k > 1)
            lines << QString() << QString();
        lines << QStringLiteral("Nota %1").arg(k);
        for (int i = 1; i <= 46; ++i)
            lines << QStringLiteral("linha %1 <B>de</B> texto <I>com</I> marcas").arg(i);
        lines << QStringLiteral("a = !{a|3} e ?{a*x^2+1}");
    }
    for (int s = 1; s <= 20; ++s)
        lines << QStringLiteral("#//S%1").arg(s) << QStringLiteral("#a := a + %1").arg(s) << QStringLiteral("#Draw");
    return lines;
}

// One function reading a on x −10..10 at 800 × 600; a at 1 stepping by
// 0.01; the notes given, shown on the graph.
void BuildDocument(const QStringList& notes)
{
    SetGraphTo800By600();
    Options.ParamDelay = 0;
    TEquationFunction f = DefaultEquation;
    f.Func.Text = QStringLiteral("a*sin(x)");
    PrepareExpression(f.Func, ModeFunction);
    SetYfx(1, f);
    TParameter& a = DocumentTables.Params[1];
    a.Value = 1.0L;
    a.Step = 0.01L;
    a.AddStep = 1;
    DocumentTables.PetaMemoLines = notes;
    CompileScripts(notes, THeaderErrors::Keep);
    BuildStickerTexts(notes);
    ArrangeStickers();
    RefreshStickers(true);
    ShowPrmValueTexts();
    UpdatePrmPanel();
    TWindowBench::ProcessEvents();
}

void StepOnce()
{
    TMainConsole& console = *Windows().Forms().MainConsole;
    console.Params->PressStep(1, StepUp, {});
    console.Params->ReleaseStep();
    TWindowBench::ProcessEvents();
}

QImage StickerPicture(int k)
{
    return Graph().Stickers[static_cast<std::size_t>(k - 1)]->pixmap().toImage();
}

// Arg 0: no stickers; 1: ten stickers that show a, each rendered again at
// every step.
void BM_StepParameterWithStickers(benchmark::State& state)
{
    const bool stickers = state.range(0) != 0;
    Windows();
    BuildDocument(stickers ? TenStickersOfA() : QStringList());
    if (DocumentTables.Stickers.Count != (stickers ? 10 : 0)) {
        FailBenchmark(state, "the note was not cut into its stickers");
        return;
    }
    StepOnce();
    const QImage before = StickerPicture(10);
    StepOnce();
    if (stickers && StickerPicture(10) == before) {
        FailBenchmark(state, "a step did not show a's new value on the last sticker");
        return;
    }
    for (auto _ : state)
        StepOnce();
    state.counters["stickers"] = DocumentTables.Stickers.Count;
    BuildDocument({});
}
BENCHMARK(BM_StepParameterWithStickers)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BuildStickerTextsOf500Lines(benchmark::State& state)
{
    Windows();
    const QStringList note = FullNote();
    BuildStickerTexts(note);
    const TMemoStr& built = DocumentTables.Stickers;
    if (built.Count != 10 || built.Lines[10].size() != 48 || built.Refs[10].isEmpty()) {
        FailBenchmark(state, "the full note was not cut into ten stickers of 48 lines with their references");
        return;
    }
    for (auto _ : state)
        BuildStickerTexts(note);
    state.counters["lines"] = static_cast<double>(note.size());
    BuildStickerTexts({});
}
BENCHMARK(BM_BuildStickerTextsOf500Lines)->Unit(benchmark::kMillisecond);

// From the menu item to the shown editor with its sheets filled, then
// closed again.
void BM_OpenNoteEditorOnAFullNote(benchmark::State& state)
{
    Windows();
    BuildDocument(FullNote());
    TdocForm& editor = ShowDocForm();
    TWindowBench::ProcessEvents();
    const bool filled = editor.MemoSticker->document()->blockCount() > 480 &&
                        editor.MemoScript->document()->blockCount() >= 60;
    CloseDocForm();
    TWindowBench::ProcessEvents();
    if (!filled) {
        FailBenchmark(state, "the editor's sheets were not filled with the note");
        return;
    }
    for (auto _ : state) {
        ShowDocForm();
        TWindowBench::ProcessEvents();
        state.PauseTiming();
        CloseDocForm();
        TWindowBench::ProcessEvents();
        state.ResumeTiming();
    }
    BuildDocument({});
}
BENCHMARK(BM_OpenNoteEditorOnAFullNote)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
