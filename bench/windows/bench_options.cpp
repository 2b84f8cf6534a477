// The options dialog: opening it (created, loaded from the settings, shown
// and painted), and OK with a change of the x axis's letter on a full
// document, which compiles every formula again (the redraw left out).
#include "bench/BenchSupport.h"
#include "bench/windows/WindowBenchKit.h"
#include "dialogs/DetailForm.h"
#include "engine/Compiler.h"
#include "engine/NumberFields.h"
#include "model/DocumentState.h"
#include "render/view/Scale.h"
#include "render/view/ViewServices.h"
#include "session/OptionsApply.h"

#include <QLineEdit>

#include <string>

namespace {

// Redraws nothing: what OK costs besides the picture.
class NoRedraw final : public TRedrawer {
public:
    void Redraw(ScaleT&, TGraphImages&) override {}
    void PushViewHistory(const ScaleT&) override {}
};

TWindowBench& Windows()
{
    return SharedWindowBench();
}

// 20 functions, 9 relations, 8 user functions and 22 objects, compiled.
void FillDocument()
{
    TDocumentTables& t = DocumentTables;
    for (int i = 1; i <= FunctionCount; ++i) {
        t.Functions[i].Func.Text = QStringLiteral("sin(%1x)+a*x^2/%1-f(x)").arg(i);
        PrepareExpression(t.Functions[i].Func, ModeFunction);
    }
    for (int i = 1; i <= RelationCount; ++i) {
        t.Relations[i].Func.Text = QStringLiteral("x^2+y^2<%1+@").arg(i);
        PrepareExpression(t.Relations[i].Func, ModeRelation);
    }
    for (int i = 1; i <= UserFunctionCount; ++i) {
        t.UserFunctions[i].Text = QStringLiteral("x<%1").arg(i);
        PrepareExpression(t.UserFunctions[i], ModeUserFunction);
    }
    for (int k = 1; k <= PointCount; ++k) {
        TPointFunction& p = t.Points[k];
        p.Kind = k % 3 == 0 ? ObjectCircle : ObjectPoint;
        p.X.Text = QStringLiteral("cos(a+%1)").arg(k);
        p.Y.Text = QStringLiteral("sin(b*%1)").arg(k);
        p.R.Text = p.Kind == ObjectCircle ? QStringLiteral("1") : QString();
        p.Low.Text = QStringLiteral("0");
        p.High.Text = QStringLiteral("2Pi");
        JoinPointTexts(p, PointTextDirection::Join);
        for (TKavirofunction* f : {&p.Pos, &p.X, &p.Y, &p.R})
            PrepareExpression(*f, k);
        PrepareExpression(p.Low, ModePlain);
        PrepareExpression(p.High, ModePlain);
    }
}

// Every formula compiled as it would be from scratch with the current letter.
bool EveryFormulaFresh()
{
    TDocumentTables& t = DocumentTables;
    const auto fresh = [](const TKavirofunction& f, int mode) {
        TKavirofunction copy = f;
        PrepareExpression(copy, mode);
        return copy.Code == f.Code;
    };
    for (const TEquationFunction& f : t.Functions)
        if (!fresh(f.Func, ModeFunction))
            return false;
    for (const TEquationFunction& f : t.Relations)
        if (!fresh(f.Func, ModeRelation))
            return false;
    for (const TKavirofunction& f : t.UserFunctions)
        if (!fresh(f, ModeUserFunction))
            return false;
    for (int k = 1; k <= PointCount; ++k)
        if (!fresh(t.Points[k].X, k) || !fresh(t.Points[k].Y, k))
            return false;
    return true;
}

void OptionsOkWithLetterChange(benchmark::State& state)
{
    Windows();
    FillDocument();
    NoRedraw noRedraw;
    ScopedRedrawer useNoRedraw(noRedraw);
    TOptionInputs in = CurrentOptionInputs();
    const TTokenString before = DocumentTables.Functions[1].Func.Code;
    in.XLetterIsX = false;
    ApplyOptions(in);
    if (GraphScale.XAxis.Letter() != u'@' || !EveryFormulaFresh())
        return FailBenchmark(state, "the letter θ did not reach every formula");
    in.XLetterIsX = true;
    ApplyOptions(in);
    if (DocumentTables.Functions[1].Func.Code != before || !EveryFormulaFresh())
        return FailBenchmark(state, "back to x, the formulas differ from before");
    for (auto _ : state) {
        in.XLetterIsX = !in.XLetterIsX;
        ApplyOptions(in);
    }
    in.XLetterIsX = true;
    ApplyOptions(in);
}
BENCHMARK(OptionsOkWithLetterChange)->Unit(benchmark::kMillisecond);

void OpenOptionsDialog(benchmark::State& state)
{
    Windows();
    {
        TDetailForm check;
        check.FormShow();
        const QString width = check.Control<QLineEdit>("Edit3")->text();
        if (width != QString::number(GraphScale.XAxis.VHigh))
            return FailBenchmark(state, "the width shown is not the view's: " + width.toStdString());
    }
    for (auto _ : state) {
        TDetailForm dialog;
        dialog.FormShow();
        dialog.show();
        benchmark::DoNotOptimize(dialog.grab());
        dialog.close();
    }
    TWindowBench::ProcessEvents();
}
BENCHMARK(OpenOptionsDialog)->Unit(benchmark::kMillisecond);

} // namespace
