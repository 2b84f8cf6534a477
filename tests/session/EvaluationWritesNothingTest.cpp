// Evaluation reads the document and writes nothing: a relation scan, a
// locus, a Sum and a trace replay leave the project text, the parameter
// table and the figure list exactly as they were, also where a variable
// bound outside is read inside another formula (a user function reading a
// Sum's k or a curve's t, cof reading a relation's y).
#include "SessionTest.h"
#include "tests/render/scene/SceneTestKit.h"

#include "engine/ArrayEvaluator.h"
#include "model/Figures.h"
#include "model/ProgramState.h"
#include "platform/fakes/FakeInputState.h"
#include "render/plot/Loci.h"
#include "render/plot/Relations.h"
#include "render/scene/ColumnCaches.h"
#include "render/scene/TraceReplay.h"

#include <functional>

namespace {

class EvaluationWritesNothingTest : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        InitializeEngine();
        SetOriginObject();
        // h reads a Sum's k, g a curve's t.
        SetUserFunction(3, "x·k");
        SetUserFunction(2, "x+t");
        // What the scan, the loci, the Sum and the replay read.
        SetRelation(1, "cof(1,x·y)=1");
        SetRelation(2, "x^2+y^2<4 and y>0");
        SetFunction(1, "Sum(k,1,3,h(x))");
        SetFunction(2, "a·x");
        SetCurve(1, "g(0)", "t^2");
        SetCurve(2, "Sum(k,1,1,g(0))", "t"); // computed one value at a time
        Segments.Append(1, 2, 0x000000, 1, 1);
        // Values that no binding takes: a leak shows in the results.
        Param("k").Value = 0.5L;
        Param("t").Value = 0.25L;
        DocumentTables.Params[0].Value = 0.75L;
        ProgramState.StartupPending = 0;
    }

    static TParameter& Param(const char* name) { return DocumentTables.Params[ParamIndexOfToken(Token(name))]; }
    static void SetCurve(int k, const char* x, const char* y)
    {
        TPointFunction& p = DocumentTables.Points[k];
        p.Kind = ObjectParametric;
        SetFormula(k, p.X, x);
        SetFormula(k, p.Y, y);
        SetFormula(ModePlain, p.Low, "-1");
        SetFormula(ModePlain, p.High, "1");
        p.ParamStep = 0.5L;
        p.Shown = 1;
    }
    static TValue Value(const char* text)
    {
        TKavirofunction f = BlankFunction;
        f.Text = QString::fromUtf8(text);
        PrepareExpression(f, ModePlain);
        return EvaluateExpression(f, ValueReal(2.0L));
    }
    // Relation j plotted onto a recorder: what was drawn.
    std::vector<std::string> PlotRelation(int j)
    {
        TRecorder main;
        PlotFunction(view, {view.Mapping(1), {&main.Canvas, nullptr}, true, {}}, DocumentTables.Relations[j]);
        return main.Lines();
    }
};

// Every way of evaluating with something bound, each checked for the
// document it leaves and for the binding that reached the inner formula.
TEST_F(EvaluationWritesNothingTest, TheDocumentStaysByteForByteAsItWas)
{
    const QStringList text = WrittenLines();
    const TParamTable params = DocumentTables.Params;
    const TSegmentData figures = Segments.Data;
    const TPointStates figureStates = Segments.States;
    const auto unchanged = [&](const char* what) {
        EXPECT_EQ(WrittenLines(), text) << what;
        EXPECT_EQ(DocumentTables.Params, params) << what;
        EXPECT_EQ(Segments.Data, figures) << what;
        for (int k = 1; k <= PointCount; ++k)
            EXPECT_EQ(Segments.States[k].Kind, figureStates[k].Kind) << what;
    };
    const struct {
        const char* what;
        std::function<void()> run;
    } steps[] = {
        {"a scan of a relation whose cof reads y",
         [&] {
             // 0 = cof(1, x·y) − 1 = y − 1 is the line y = 1, on row 160.
             const std::vector<std::string> lines = PlotRelation(1);
             ASSERT_EQ(lines.size(), 1u);
             EXPECT_TRUE(lines[0].find(" 0,160 1,160 ") != std::string::npos && lines[0].ends_with(" 400,160"))
                 << lines[0];
         }},
        {"a scan of two pieces", [&] { EXPECT_FALSE(PlotRelation(2).empty()); }},
        {"loci through a user function that reads t, by columns and one value at a time",
         [&] {
             for (const TLocusPath path : {TLocusPath::Array, TLocusPath::Scalar}) {
                 for (int k : {1, 2}) {
                     Tlocus locus;
                     ComputeLocus(DocumentTables.Points[k], locus, LocusSourcesOf(view), path);
                     ASSERT_EQ(locus.Count, 5);
                     for (int i = 0; i < locus.Count; ++i)
                         EXPECT_EQ(locus.Items[i].X, locus.Items[i].T) << k;
                 }
             }
         }},
        {"a Sum over k of a user function that reads k, scalar and over columns",
         [&] {
             EXPECT_EQ(Value("Sum(k,1,3,h(x))").X, 12.0L);
             EXPECT_NEAR(static_cast<double>(Value("Product(k,1,2,h(x))·Intgr(t,0,1,g(0))").X), 4.0, 1e-15);
             TColumnArray out;
             EvaluateArrays(DocumentTables.Functions[1].Func, view.Columns.ColumnX(), ViewArrays(view), 0, nullptr,
                            false, out);
             EXPECT_EQ(out.X(300), 15.0L); // x = 2.5
         }},
    };
    for (const auto& step : steps) {
        step.run();
        unchanged(step.what);
    }
}

// Records traced at other parameters than the document's are drawn with
// their own: the curve (t, t²), the line y = a·x at a = 2 and the relation
// y = 1, then only what changed, the line at a = 3. Between the records, as
// after the replay, the document is as before, whatever the replay showed
// and coloured.
TEST_F(EvaluationWritesNothingTest, ATraceReplayDrawsTheRecordsParametersAndWritesNothing)
{
    TTraceColors colors;
    colors.Functions[2] = 0x0000FF;
    colors.Relations[1] = 0x00FF00;
    colors.Points[1] = 0x00A000;
    colors.Figures[1] = 0x808080;
    TParamTable recorded = DocumentTables.Params;
    for (const long double a : {2.0L, 3.0L}) {
        recorded[ParamIndexOfToken(Token("a"))].Value = a;
        TraceStore.Push(TPointStates{}, colors, recorded);
    }
    const QStringList text = WrittenLines();
    const TParamTable params = DocumentTables.Params;
    const TSegmentData figures = Segments.Data;
    const auto unchanged = [&] {
        return WrittenLines() == text && DocumentTables.Params == params && Segments.Data == figures;
    };
    // The replay looks at the keys after each record but the last.
    platform::FakeInputState keys;
    const platform::ScopedInputState useKeys{keys};
    int betweenRecords = 0;
    keys.onProcessEvents([&](int) {
        ++betweenRecords;
        EXPECT_TRUE(unchanged()) << "after record " << betweenRecords;
    });

    TMetafile picture;
    picture.Width = view.XAxis.VHigh;
    picture.Height = view.YAxis.VHigh;
    TCanvas canvas = MakeMetafileCanvas(picture);
    ReplayTraces(view, canvas);

    EXPECT_EQ(betweenRecords, 2);
    const std::vector<std::string> lines = MetafileLines(picture);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "polyline pen(18A918 1 solid mask) 160,160 180,190 200,200 220,190 240,160"); // (t, t²)
    EXPECT_EQ(lines[1], "polyline pen(7070FF 2 solid mask geometric flat) 0,600 400,-200");          // y = 2x
    EXPECT_TRUE(lines[2].find(" 0,160 1,160 ") != std::string::npos && lines[2].ends_with(" 400,160")); // y = 1
    EXPECT_EQ(lines[3], "polyline pen(7070FF 2 solid mask geometric flat) 0,800 400,-400");          // y = 3x
    EXPECT_TRUE(unchanged());
}

} // namespace
