// The graphs y = f(x) from their column caches, on recording canvases, over
// the view −5..5 × −5..5 on 400 × 400 pixels.
#include "PlotTestKit.h"
#include "engine/ArrayEvaluator.h"
#include "engine/Compiler.h"
#include "model/Colors.h"
#include "model/DocumentState.h"
#include "render/plot/Functions.h"
#include "render/view/Scale.h"
#include "tests/render/ViewTestKit.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// One polyline or ellipse of the display list, read back.
struct Shape {
    std::string Kind; // "polyline", "ellipse"
    std::string Pen;
    std::vector<QPoint> Points; // the polyline's points, or the ellipse's two corners
};

std::vector<Shape> Shapes(const std::vector<std::string>& lines)
{
    static const QRegularExpression shape(QStringLiteral("^(polyline|ellipse) pen\\(([^)]*)\\)(?: brush\\([^)]*\\))? (.*)$"));
    static const QRegularExpression number(QStringLiteral("-?\\d+"));
    std::vector<Shape> shapes;
    for (const std::string& line : lines) {
        const QRegularExpressionMatch m = shape.match(QString::fromStdString(line));
        if (!m.hasMatch())
            continue;
        Shape s{m.captured(1).toStdString(), m.captured(2).toStdString(), {}};
        std::vector<int> n;
        for (auto it = number.globalMatch(m.captured(3)); it.hasNext();)
            n.push_back(it.next().captured().toInt());
        for (size_t i = 0; i + 1 < n.size(); i += 2)
            s.Points.emplace_back(n[i], n[i + 1]);
        shapes.push_back(std::move(s));
    }
    return shapes;
}

bool IsDot(const Shape& s)
{
    return s.Kind == "polyline" && s.Points.size() == 2 && s.Points[0] == s.Points[1];
}

class FunctionsTest : public ::testing::Test {
protected:
    ScaleT& view = GraphScale;
    TRecorder main;
    TRecorder trace;

    void SetUp() override
    {
        SetTestViewAxes(-5.0L, 5.0L, -5.0L, 5.0L, 400, 400);
        view.InitColumns();
    }

    // Function i with the formula, its cache computed over the view.
    TEquationFunction& SetFunction(int i, const char* text)
    {
        TEquationFunction& f = DocumentTables.Functions[i];
        f.Func.Text = QString::fromUtf8(text);
        PrepareExpression(f.Func, ModeFunction);
        TArrayView arrays;
        arrays.XAxis = TColumnAxis{0, 400, -5.0L, 5.0L};
        arrays.Graphs = &view.Columns;
        view.Columns.RefreshCache(i, [&](TColumnArray& out) {
            EvaluateArrays(f.Func, view.Columns.ColumnX(), arrays, 0, nullptr, false, out);
        });
        return f;
    }

    std::vector<Shape> Draw(std::uint8_t drawMode = DrawModeAuto, int magnification = 1, bool onlyTrace = false,
                            bool traceAll = false)
    {
        TCurveSettings settings;
        settings.Pen = PenSettings(1, magnification);
        settings.DrawMode = drawMode;
        DrawFunctions(view, view.Mapping(magnification), {&main.Canvas, &trace.Canvas, onlyTrace, traceAll},
                      settings);
        return Shapes(main.Lines());
    }
};

TEST_F(FunctionsTest, AStraightLineIsOneSegment)
{
    SetFunction(1, "x");
    const std::vector<Shape> shapes = Draw();
    ASSERT_EQ(shapes.size(), 1u);
    EXPECT_EQ(shapes[0].Kind, "polyline");
    EXPECT_EQ(shapes[0].Pen, "FF0000 2 solid mask geometric flat");
    EXPECT_EQ(shapes[0].Points, (std::vector<QPoint>{{0, 400}, {400, 0}}));
    EXPECT_TRUE(trace.Lines().empty());

    SetFunction(1, "3");
    main.Picture.Clear();
    const std::vector<Shape> flat = Draw();
    ASSERT_EQ(flat.size(), 1u);
    EXPECT_EQ(flat[0].Points, (std::vector<QPoint>{{0, 80}, {400, 80}}));
}

TEST_F(FunctionsTest, ACurveIsOnePolylineThroughEveryColumn)
{
    SetFunction(1, "x^2");
    const std::vector<Shape> shapes = Draw();
    ASSERT_EQ(shapes.size(), 1u);
    ASSERT_EQ(shapes[0].Points.size(), 401u);
    EXPECT_EQ(shapes[0].Points[200], QPoint(200, 200));
    EXPECT_EQ(shapes[0].Points[0], QPoint(0, -800));
}

TEST_F(FunctionsTest, StepsBreakWhereTheValueLeaps)
{
    SetFunction(1, "int(x)");
    std::vector<Shape> steps;
    int dots = 0;
    for (const Shape& s : Draw()) {
        if (IsDot(s))
            ++dots;
        else
            steps.push_back(s);
    }
    ASSERT_EQ(steps.size(), 10u);
    for (size_t k = 0; k < steps.size(); ++k) {
        const std::vector<QPoint>& p = steps[k].Points;
        ASSERT_EQ(p.size(), 40u) << k;
        EXPECT_EQ(p.front(), QPoint(40 * static_cast<int>(k), 400 - 40 * static_cast<int>(k))) << k;
        EXPECT_EQ(p.back().y(), p.front().y()) << k;
    }
    EXPECT_EQ(dots, 10); // the first column of each step after the first, and x = 5
}

TEST_F(FunctionsTest, ALoneValueIsADotAndNothingElse)
{
    DocumentTables.Functions[1].Func.Text = QStringLiteral("lone");
    view.Columns.RefreshCache(1, [&](TColumnArray& out) {
        out = view.Columns.UndefinedColumns();
        out.Set(200, ValueReal(0.0L));
    });
    Draw();
    EXPECT_EQ(main.Lines(),
              (std::vector<std::string>{"ellipse pen(FF0000 2 solid mask) brush(solid FF0000) 198 198 202 202"}));
}

TEST_F(FunctionsTest, APoleBreaksTheCurveUnlessColumnsAreConnected)
{
    // The pole lies between columns 200 and 201.
    SetFunction(1, "1/(x-0.0125)");
    for (const Shape& s : Draw()) {
        for (size_t k = 0; k + 1 < s.Points.size(); ++k)
            EXPECT_FALSE(s.Points[k].x() <= 200 && s.Points[k + 1].x() >= 201) << "joined across the pole";
    }
    main.Picture.Clear();
    const std::vector<Shape> connected = Draw(DrawModeConnect);
    ASSERT_EQ(connected.size(), 1u);
    EXPECT_EQ(connected[0].Points.size(), 401u);
}

TEST_F(FunctionsTest, PlotModeDrawsADotPerColumn)
{
    SetFunction(1, "x");
    const std::vector<Shape> dots = Draw(DrawModePlot);
    ASSERT_EQ(dots.size(), 401u);
    EXPECT_EQ(dots[0].Kind, "ellipse");
    // Radius (Width + 1) div 2 = 1 on screen.
    EXPECT_EQ(dots[200].Points, (std::vector<QPoint>{{199, 199}, {201, 201}}));

    // Magnified 16 times the radius is 48 div 2 = 24.
    main.Picture.Clear();
    const std::vector<Shape> big = Draw(DrawModePlot, 16);
    ASSERT_EQ(big.size(), 401u);
    EXPECT_EQ(big[200].Points, (std::vector<QPoint>{{3200 - 24, 3200 - 24}, {3200 + 24, 3200 + 24}}));
    EXPECT_EQ(big[200].Pen, "FF0000 32 solid mask");
}

TEST_F(FunctionsTest, TracedCurvesGoToTheTraceCanvasFaded)
{
    // Pure blue fades to white; red keeps a visible trace.
    TEquationFunction& traced = SetFunction(1, "x");
    traced.AfterImage = 1;
    traced.Color = 0x0000FF;
    TEquationFunction& plain = SetFunction(2, "-x");
    plain.Color = 0x00BF00;
    SetFunction(3, "x^2").Visible = 0;
    FunctionColors[3] = 0x123456;
    Draw();
    const std::vector<Shape> traces = Shapes(trace.Lines());
    ASSERT_EQ(traces.size(), 1u);
    const TColor faded = FadeColorBySetting(0x0000FF);
    char pen[64];
    std::snprintf(pen, sizeof pen, "%06X 2 solid mask geometric flat", ColorRGBPart(faded));
    EXPECT_EQ(traces[0].Pen, pen);
    EXPECT_EQ(Shapes(main.Lines()).size(), 2u);
    EXPECT_EQ(FunctionColors[1], 0x0000FFu);
    EXPECT_EQ(FunctionColors[2], NoTraceColor);
    EXPECT_EQ(FunctionColors[3], 0x123456u) << "a hidden function keeps its colour";

    // Only the trace: the main canvas stays empty; everything traced.
    main.Picture.Clear();
    trace.Picture.Clear();
    Draw(DrawModeAuto, 1, true, true);
    EXPECT_TRUE(main.Lines().empty());
    EXPECT_EQ(Shapes(trace.Lines()).size(), 2u);
    EXPECT_EQ(FunctionColors[2], 0x00BF00u);
    // The canvases are left with the plain pen.
    EXPECT_EQ(trace.Canvas.Pen, TPen{});
}

TEST_F(FunctionsTest, AFunctionWithoutACurrentCacheDrawsNothing)
{
    SetFunction(1, "x");
    view.InitColumns();
    Draw();
    EXPECT_TRUE(main.Lines().empty());
    EXPECT_EQ(FunctionColors[1], NoTraceColor);
}

} // namespace
