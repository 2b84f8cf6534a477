// Popping up the style palette under a style button: from the call to the
// painted window, the palette hidden again between pop-ups.
#include "bench/BenchSupport.h"
#include "bench/windows/WindowBenchKit.h"
#include "tests/windows/EventCounter.h"
#include "dialogs/FmSetColor.h"
#include "dialogs/PermanentForms.h"

#include <QEvent>
#include <QToolButton>
#include <QWidget>

#include <cstdint>
#include <memory>

namespace {

// A dialog with a style button beside the shared windows; made for each
// benchmark, so that no widget outlives the application.
struct TPaletteBench {
    TWindowBench& Windows = SharedWindowBench();
    QWidget Dialog;
    QToolButton* StyleButton = new QToolButton(&Dialog);

    TPaletteBench()
    {
        Dialog.setGeometry(200, 200, 200, 80);
        StyleButton->setGeometry(20, 10, 23, 23);
        Dialog.show();
        TWindowBench::ProcessEvents();
    }
    TFmSetColor& Palette() { return *Forms.FmSetColor; }
};

template <class PopUp>
void MeasurePopUp(benchmark::State& state, const char* panel, PopUp popUp)
{
    TPaletteBench bench;
    TFmSetColor& palette = bench.Palette();
    TEventCounter counter(QEvent::Paint); // a pop-up is measured to its painted picture
    palette.installEventFilter(&counter);
    popUp(palette, bench.StyleButton);
    TWindowBench::ProcessEvents();
    palette.removeEventFilter(&counter);
    auto* shown = palette.findChild<QWidget*>(QString::fromUtf8(panel));
    const bool right = palette.isVisible() && counter.Count > 0 && shown && shown->isVisible() &&
                       palette.size() == shown->size();
    palette.hide();
    TWindowBench::ProcessEvents();
    if (!right) {
        FailBenchmark(state, std::string("the palette did not show and paint ") + panel);
        return;
    }
    for (auto _ : state) {
        popUp(palette, bench.StyleButton);
        TWindowBench::ProcessEvents();
        state.PauseTiming();
        palette.hide();
        TWindowBench::ProcessEvents();
        state.ResumeTiming();
    }
}

void BM_PopUpColourPanel(benchmark::State& state)
{
    TColor colour = 0;
    MeasurePopUp(state, "PanelPcolor",
                 [&](TFmSetColor& palette, QToolButton* button) { palette.ShowColorPanel(colour, button); });
}
BENCHMARK(BM_PopUpColourPanel)->Unit(benchmark::kMillisecond);

void BM_PopUpWidthPanel(benchmark::State& state)
{
    std::uint8_t width = 2;
    MeasurePopUp(state, "PanelWidth",
                 [&](TFmSetColor& palette, QToolButton* button) { palette.ShowWidthPanel(width, button, true); });
}
BENCHMARK(BM_PopUpWidthPanel)->Unit(benchmark::kMillisecond);

} // namespace
