// Points, circles, lines and curve objects on the recorded commands and on
// pixels.
#include "ObjectsTestKit.h"
#include "model/GlobalResets.h"
#include "model/Options.h"
#include "render/plot/BrushPattern.h"
#include "tests/render/PixelProbe.h"

#include <QImage>

namespace {

TEST_F(ObjectsTest, ShapesInPixels)
{
    struct Case {
        const char* what;
        std::uint8_t kind;
        long double x, y, r;
        std::vector<std::string> shapes; // the ellipses and polylines drawn
        int magnification = 1;
    };
    const Case cases[] = {
        // The outline in the radius colour and width, the centre in the point's.
        {"circle (0,0) radius 1", ObjectCircle, 0.0L, 0.0L, 1.0L,
         {"ellipse pen(FF0000 1 solid mask) brush(clear) 160 160 241 241",
          "ellipse pen(0000FF 1 solid mask) brush(solid 0000FF) 195 195 206 206"}},
        {"the same circle magnified twice", ObjectCircle, 0.0L, 0.0L, 1.0L,
         {"ellipse pen(FF0000 2 solid mask geometric flat) brush(clear) 320 320 481 481",
          "ellipse pen(0000FF 1 solid mask) brush(solid 0000FF) 390 390 411 411"},
         2},
        // Lines in the point's colour and width.
        {"horizontal line y = 0 radius 1: a band", ObjectHorizontalLine, 0.0L, 0.0L, 1.0L,
         {"polyline pen(0000FF 3 solid mask geometric flat) 0,200 400,200",
          "polyline pen(0000FF 3 solid mask geometric flat) 0,160 400,160"}},
        {"horizontal line radius 0: one line", ObjectHorizontalLine, 0.0L, 0.0L, 0.0L,
         {"polyline pen(0000FF 3 solid mask geometric flat) 0,200 400,200"}},
        {"vertical line x = 1 radius 0.5", ObjectVerticalLine, 1.0L, 0.0L, 0.5L,
         {"polyline pen(0000FF 3 solid mask geometric flat) 240,0 240,400",
          "polyline pen(0000FF 3 solid mask geometric flat) 260,0 260,400"}},
    };
    for (const Case& c : cases) {
        ResetAllGlobals();
        SetUp();
        states = {};
        TPointFunction& p = SetShape(1, c.kind, c.x, c.y, c.r);
        p.RColorNo1 = 0xFF0000;
        p.ColorNo1 = 0x0000FF;
        CopyStyle(1);
        TRecorder rec;
        DrawObjects(Mapping(c.magnification), {&rec.Canvas, nullptr}, states, DocumentTables.Points,
                    PenSettings(1, c.magnification));
        std::vector<std::string> shapes = Starting(rec.Lines(), "ellipse");
        for (const std::string& line : Starting(rec.Lines(), "polyline"))
            shapes.push_back(line);
        EXPECT_EQ(shapes, c.shapes) << c.what;
    }
}

TEST_F(ObjectsTest, InsideFillsTakeThePatternUnderAWhitePen)
{
    TPointFunction& band = SetShape(1, ObjectHorizontalLine, 0.0L, 1.0L, -1.0L);
    band.InsideColor = 0x00FF00;
    band.Pattern = PatternDiagCross;
    TPointFunction& disc = SetShape(2, ObjectCircle, 0.0L, 0.0L, 0.5L);
    disc.InsideColor = 0x00FF00;
    disc.RColorNo1 = 0x008080; // mid-bright: its faded outline shows
    CopyStyle(1);
    CopyStyle(2);
    TRecorder rec;
    DrawObjects(Mapping(), {&rec.Canvas, nullptr}, states, DocumentTables.Points, PenSettings(1));
    const std::vector<std::string> lines = rec.Lines();
    // The band lies below y = 1 by the negative radius; 10 pixels beyond the view on both sides.
    EXPECT_EQ(Starting(lines, "rectangle"),
              std::vector<std::string>{"rectangle pen(FFFFFF 1 solid mask) brush(diagcross 00FF00) -10 160 410 200"});
    EXPECT_EQ(Starting(lines, "ellipse pen(FFFFFF").size(), 1u);

    // The trace canvas gets the fill only when traces take fills.
    Object(2).RAImg = 1;
    CopyStyle(2);
    for (const std::uint8_t aimgOfArea : {0, 1}) {
        TRecorder main, trace;
        DrawObjects(Mapping(), {&main.Canvas, &trace.Canvas}, states, DocumentTables.Points,
                    PenSettings(1, 1, aimgOfArea));
        EXPECT_EQ(Starting(trace.Lines(), "ellipse pen(FFFFFF").size(), aimgOfArea) << int(aimgOfArea);
        EXPECT_EQ(Starting(trace.Lines(), "ellipse").size(), 1u + aimgOfArea) << "the outline, no centre";
    }
}

TEST_F(ObjectsTest, TracesOnlyTraceAndLabels)
{
    TPointFunction& p = SetShape(1, ObjectPoint, 1.0L, 1.0L);
    p.PointAImg = 1;
    p.Label = QStringLiteral("P");
    p.LabelPos = 4;
    SetShape(2, ObjectPoint, -1.0L, -1.0L).Label = QStringLiteral("Q"); // no label position: no label
    TPointFunction& hidden = SetShape(3, ObjectPoint, 2.0L, 2.0L);
    hidden.Shown = 0;
    hidden.LabelPos = 4;
    SetShape(4, ObjectPoint, 3.0L, 3.0L).ColorNo1 = ColorWhite; // white: no symbol
    for (const int k : {1, 4})
        CopyStyle(k);

    TRecorder main, trace;
    DrawObjects(Mapping(), {&main.Canvas, &trace.Canvas}, states, DocumentTables.Points, PenSettings(1));
    const std::vector<std::string> ellipses = Starting(main.Lines(), "ellipse");
    ASSERT_EQ(ellipses.size(), 2u);
    EXPECT_EQ(ellipses[0], "ellipse pen(FF0000 1 solid mask) brush(solid FF0000) 235 155 246 166");
    std::vector<std::string> texts = Starting(main.Lines(), "text");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find("\"P\""), std::string::npos);
    // Only the traced point, faded, and no label on the trace canvas.
    const std::vector<std::string> traced = Starting(trace.Lines(), "ellipse");
    ASSERT_EQ(traced.size(), 1u);
    EXPECT_EQ(traced[0].find("FF0000"), std::string::npos);
    EXPECT_TRUE(Starting(trace.Lines(), "text").empty());

    TRecorder onlyMain, onlyTrace;
    DrawObjects(Mapping(), {&onlyMain.Canvas, &onlyTrace.Canvas, true}, states, DocumentTables.Points,
                PenSettings(1));
    EXPECT_TRUE(onlyMain.Lines().empty());
    EXPECT_EQ(Starting(onlyTrace.Lines(), "ellipse").size(), 1u);
}

TEST_F(ObjectsTest, HollowPointStaysWhiteOverALaterCurve)
{
    TPointFunction& p = SetShape(1, ObjectPoint, 0.0L, 0.0L);
    p.PointStyle = 1;
    p.ColorNo1 = 0x0000FF;
    CopyStyle(1);
    SetCurve(2, ObjectParametric, QStringLiteral("t"), QStringLiteral("0"), {}, u't', QStringLiteral("-2"),
             QStringLiteral("2"), 0.5L)
        .RColorNo1 = 0x00AA00;
    const Tlocus line = Locus(2);

    for (const bool rings : {false, true}) {
        QImage image = BlankImage(401, 401);
        TCanvas canvas = MakeImageCanvas(image);
        DrawObjects(Mapping(), {&canvas, nullptr}, states, DocumentTables.Points, PenSettings(1));
        EXPECT_EQ(PixelAt(image, 203, 198), ColorWhite) << "white inside, under the mask mode too";
        DrawCurve(Mapping(), {&canvas, nullptr}, Object(2), line, PenSettings(1));
        if (rings)
            DrawPointRings(Mapping(), canvas, states, DocumentTables.Points);
        EXPECT_EQ(PixelAt(image, 203, 200), rings ? ColorWhite : 0x00AA00u) << rings;
        EXPECT_EQ(PixelAt(image, 200, 195), 0x0000FFu) << "the ring";
        EXPECT_EQ(PixelAt(image, 150, 200), 0x00AA00u) << "the curve outside the ring";
    }
}

TEST_F(ObjectsTest, CurvePensPointColorsAndSequenceSymbols)
{
    TPointFunction& seq = SetCurve(1, ObjectSequence, QStringLiteral("n"), QStringLiteral("n"), {}, u'n',
                                   QStringLiteral("0"), QStringLiteral("2"), 1.0L);
    seq.RColorNo1 = 0x00AA00;
    seq.RWidth = 3;
    seq.ColorNo1 = 0x0000FF;
    seq.Width = 1;
    seq.RAImg = 1;
    TPointFunction& hidden = SetCurve(2, ObjectParametric, QStringLiteral("t"), QStringLiteral("t"), {}, u't',
                                      QStringLiteral("0"), QStringLiteral("1"), 0.5L);
    hidden.Shown = 0;
    PointColors[2] = 0x123456;
    TLocuses loci;
    loci.Items[1] = Locus(1);
    loci.Items[2] = Locus(2);

    TRecorder main, trace;
    DrawCurves(Mapping(), {&main.Canvas, &trace.Canvas}, loci, DocumentTables.Points, PenSettings(1));
    const std::vector<std::string> lines = main.Lines();
    EXPECT_EQ(Starting(lines, "polyline"),
              std::vector<std::string>{"polyline pen(00AA00 3 solid mask geometric flat) 200,200 240,160 280,120"});
    const std::vector<std::string> symbols = Starting(lines, "ellipse");
    ASSERT_EQ(symbols.size(), 3u);
    EXPECT_EQ(symbols[1], "ellipse pen(0000FF 1 solid mask) brush(solid 0000FF) 237 157 244 164");
    EXPECT_EQ(Starting(trace.Lines(), "ellipse").size(), 3u);
    EXPECT_EQ(PointColors[1], 0x00AA00u);
    EXPECT_EQ(PointColors2[1], 0x0000FFu);
    EXPECT_EQ(PointColors[2], NoTraceColor); // hidden: reset, not drawn
    EXPECT_EQ(PointColors2[2], NoTraceColor);
}

TEST_F(ObjectsTest, CurvesBreakAtUndefinedPointsAndEndAtThePixelLimit)
{
    struct Case {
        const char* y;
        long double step;
        std::vector<std::string> pieces; // their points
    };
    const Case cases[] = {
        // Undefined at t = 0: two pieces.
        {"1/t", 0.25L, {"160,240 170,253 180,280 190,360", "210,40 220,120 230,147 240,160"}},
        // Steep: the pieces beyond the 10000-pixel limit are cut there, on course.
        {"1000t", 0.5L, {"190,10000 200,200 210,-10000"}},
    };
    for (const Case& c : cases) {
        SetCurve(1, ObjectParametric, QStringLiteral("t"), QString::fromUtf8(c.y), {}, u't', QStringLiteral("-1"),
                 QStringLiteral("1"), c.step);
        TRecorder rec;
        DrawCurve(Mapping(), {&rec.Canvas, nullptr}, Object(1), Locus(1), PenSettings(1));
        std::vector<std::string> pieces;
        for (const std::string& line : Starting(rec.Lines(), "polyline"))
            pieces.push_back(line.substr(line.find(") ") + 2));
        EXPECT_EQ(pieces, c.pieces) << c.y;
    }
}

TEST_F(ObjectsTest, PathsOfMovingPoints)
{
    TPointStates before;
    SetShape(1, ObjectPoint, 0.0L, 0.0L).ColorNo1 = 0x008080; // mid-bright: fading keeps it
    SetShape(2, ObjectCircle, 1.0L, 1.0L, 1.0L);
    SetShape(3, ObjectPoint, 2.0L, 2.0L);
    for (const int k : {1, 2, 3}) {
        CopyStyle(k);
        before[k] = states[k];
    }
    states[1].X = 1.0L;
    states[1].LocusWidth = 2;
    states[2].Y = 2.0L;
    states[2].LocusWidth = 255; // widths not taken this redraw
    states[3].Y = 4.0L;         // no path: width 0

    TRecorder main, trace;
    DrawPointPaths(Mapping(), {&main.Canvas, &trace.Canvas}, before, states, DocumentTables.Points, PenSettings(0));
    const std::vector<std::string> expected{"polyline pen(008080 2 solid mask) 200,200 240,200"};
    EXPECT_EQ(main.Lines(), expected);
    EXPECT_EQ(trace.Lines(), expected);
    TRecorder onlyTrace;
    DrawPointPaths(Mapping(), {nullptr, &onlyTrace.Canvas, true}, before, states, DocumentTables.Points,
                   PenSettings(0));
    EXPECT_EQ(onlyTrace.Lines(), expected);
}

} // namespace
