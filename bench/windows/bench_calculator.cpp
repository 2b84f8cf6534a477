// One keystroke in the calculator's edit line on a 60-character formula:
// the key, the respelling, the typeset preview and the repaint. Keys
// alternate between typing a digit at the end and deleting it again, so
// the formula stays the same length.
#include "bench/BenchSupport.h"
#include "bench/windows/WindowBenchKit.h"
#include "dialogs/CalcForm.h"
#include "dialogs/CalcPreview.h"
#include "dialogs/PermanentForms.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

struct TCalculatorBench {
    TWindowBench& Windows = SharedWindowBench();
    TCalculatorBench()
    {
        Forms.CalcForm->show();
        TWindowBench::ProcessEvents();
    }
    TCalcForm& Calc() { return *Forms.CalcForm; }
    QLineEdit* Edit() { return Calc().findChild<QLineEdit*>(QStringLiteral("EditCalc")); }
    TCalcPreview* Preview() { return Calc().findChild<TCalcPreview*>(QStringLiteral("ImageView")); }
};

TCalculatorBench& Bench()
{
    static TCalculatorBench bench;
    return bench;
}

void SendKey(QWidget* target, int key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &press);
    QCoreApplication::sendEvent(target, &release);
}

// Ink of the formula right of x in the preview: it was typeset, not left blank.
bool PreviewHasInkRightOf(const QImage& picture, int x)
{
    for (int px = x; px < picture.width() - 2; ++px)
        for (int py = 2; py < picture.height() - 2; ++py)
            if (qGray(picture.pixel(px, py)) < 128)
                return true;
    return false;
}

void MeasureKeystroke(benchmark::State& state, const QString& formula, int inkRightOf)
{
    TCalculatorBench& bench = Bench();
    QLineEdit* edit = bench.Edit();
    edit->setText(formula);
    edit->setCursorPosition(static_cast<int>(edit->text().size()));
    const QString start = edit->text();
    SendKey(edit, Qt::Key_1, QStringLiteral("1"));
    TWindowBench::ProcessEvents();
    const bool typed = edit->text() == start + u'1';
    const bool drawn = PreviewHasInkRightOf(bench.Preview()->Picture(), inkRightOf);
    SendKey(edit, Qt::Key_Backspace, {});
    if (formula.size() != 60 || !typed || !drawn || edit->text() != start) {
        FailBenchmark(state, "the keystroke did not reach the preview: " + edit->text().toStdString());
        return;
    }
    bool add = true;
    for (auto _ : state) {
        if (add)
            SendKey(edit, Qt::Key_1, QStringLiteral("1"));
        else
            SendKey(edit, Qt::Key_Backspace, {});
        add = !add;
        TWindowBench::ProcessEvents();
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_CalculatorKeystrokeLine(benchmark::State& state)
{
    MeasureKeystroke(state, QStringLiteral("sin(a+b)+cos(m+n)+tan(p+q)+Sqrt(2)+Gamma(3.5)+Beta(2,3)+1234"), 300);
}
BENCHMARK(BM_CalculatorKeystrokeLine)->Unit(benchmark::kMillisecond);

void BM_CalculatorKeystrokeFractions(benchmark::State& state)
{
    MeasureKeystroke(state, QStringLiteral("Sum(k,1,10,k^2)/Product(k,1,5,k+1)+Sqrt(x^2+1)/(a+b^(c+1))+1"), 150);
}
BENCHMARK(BM_CalculatorKeystrokeFractions)->Unit(benchmark::kMillisecond);

} // namespace
