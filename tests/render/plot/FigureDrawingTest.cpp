// Figures drawn: every kind against a golden display list and a golden
// picture, and which canvas gets what with the colours traces record.
#include "FigureTestKit.h"
#include "model/Colors.h"
#include "model/Options.h"
#include "render/gfx/TextMetrics.h"
#include "tests/render/GoldenFiles.h"

#include <QImage>
#include <QString>

namespace {

std::string Hex(TColor c)
{
    return QStringLiteral("%1").arg(c & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper().toStdString();
}

// Lines of the recording that draw with a pen of this colour.
int LinesWithPen(const TRecorder& rec, TColor color)
{
    int n = 0;
    for (const std::string& line : rec.Lines())
        n += line.find("pen(" + Hex(color)) != std::string::npos;
    return n;
}

class FigureDrawingTest : public FigureTest {
protected:
    FakeTextMetrics fakeMetrics;
    ScopedTextMetrics useFake{fakeMetrics};

    // Vertices spread over the view: P Q R S in the upper left, T U V A in
    // the upper right, B C D and the lines below.
    void SetUp() override
    {
        SetPoint(P, -4, 2);
        SetPoint(Q, -1, 4);
        SetPoint(R, -2, 1);
        SetPoint(S, -4, 4);
        SetPoint(T, 1, 1);
        SetPoint(U, 4, 1);
        SetPoint(V, 2, 4);
        SetPoint(A, 3, 3);
        SetPoint(B, -3, -2);
        SetPoint(C, 0, -4);
        SetPoint(D, 3, -2);
        SetHorizontalLine(12, -3);
        SetHorizontalLine(13, -4.5L);
    }

    // One figure of every kind, each in its own style.
    void PutEveryKind()
    {
        Item(Put(FigureSegment, {P, Q}, 0x0000FF)).Label = QStringLiteral("PQ");
        Item(list.Count()).LabelPos = 4;
        Item(Put(FigureLine, {R, T}, 0x008000)).LineStyle = 2;
        Item(Put(FigureArrow, {B, C}, 0xFF0000)).Width = 3;
        Tsegment& band = Item(Put(FigureRectangle, {12, 13}, 0x808080));
        band.InsideColor = 0x00C0FF;
        band.Pattern = 4;
        Item(Put(FigurePolyline, {S, Q, V}, 0x800080)).LineStyle = 3;
        Tsegment& polygon = Item(Put(FigurePolygon, {T, U, A, V}, 0x004080));
        polygon.InsideColor = 0xFFC000;
        polygon.Pattern = 2;
        polygon.Label = QStringLiteral("F");
        polygon.LabelPos = 5;
        Tsegment& angle = Item(Put(FigureAngle, {U, T, V}, 0x0000C0));
        angle.InsideColor = 0x80FF80;
        Item(Put(FigureHalfLine, {D, U}, 0x404040)).Width = 1;
        Tsegment& arc = Item(Put(FigureArc, {D, C, B}, 0xC00000));
        arc.InsideColor = 0xC0C0FF;
        arc.Pattern = 3;
        Item(Put(FigureBrace, {C, B}, 0x008080)).Label = QStringLiteral("b");
        Item(Put(FigureBezier, {S, R, Q, A, V, U, D}, 0x000080)).Width = 1;
        Item(Put(FigureRightAngle, {C, D, 13}, 0x000000));
    }
};

const char* const KindNames[] = {"", "segment", "line", "arrow", "", "rectangle band", "polyline", "polygon",
                                 "angle mark", "half-line", "arc", "brace", "Bézier curve", "right-angle mark"};

TEST_F(FigureDrawingTest, EveryKindMatchesTheGoldenDisplayList)
{
    PutEveryKind();
    QString all;
    for (int s = 1; s <= list.Count(); ++s) {
        TRecorder rec;
        DrawSegment(View(), rec.Canvas, s, true);
        all += QStringLiteral("== ") + QString::fromUtf8(KindNames[Item(s).Kind]) + u'\n' + DumpMetafile(rec.Picture);
    }
    // A trace without fills: the faded colour, no fill, the label still.
    TRecorder trace;
    DrawSegment(View(), trace.Canvas, 6, false);
    all += QStringLiteral("== polygon as a trace\n") + DumpMetafile(trace.Picture);
    // Printed: every size magnified.
    TRecorder printed;
    settings.Pen.Context.Magnification = 16;
    TFigureView big{list, TViewMapping{}.AtMagnification(16), settings};
    DrawSegment(big, printed.Canvas, 7, true);
    all += QStringLiteral("== angle mark magnified 16\n") + DumpMetafile(printed.Picture);
    EXPECT_TRUE(MatchesTextGolden(all, QStringLiteral("figures/kinds.txt")));
}

TEST_F(FigureDrawingTest, EveryKindMatchesTheGoldenPicture)
{
    PutEveryKind();
    for (int s = 1; s <= list.Count(); ++s)
        Item(s).Label.clear(); // text is the platform's
    QImage image(401, 401, QImage::Format_RGB32);
    image.fill(Qt::white);
    TCanvas canvas = MakeImageCanvas(image);
    canvas.SetClipRect({0, 0, 401, 401});
    for (int s = 1; s <= list.Count(); ++s)
        DrawSegment(View(), canvas, s, true);
    EXPECT_TRUE(MatchesImageGolden(image, QStringLiteral("figures/kinds.png")));
}

TEST_F(FigureDrawingTest, DrawSegmentLeavesTheCanvasToolsAsTheyWere)
{
    PutEveryKind();
    TRecorder rec;
    rec.Canvas.Pen = TPen{.Color = 0x123456, .Width = 7};
    rec.Canvas.Brush = TBrush{.Style = TBrushStyle::Vertical, .Color = 0x654321, .Pattern = {}};
    const TCanvas::TTools before = rec.Canvas.SaveTools();
    for (int s = 1; s <= list.Count(); ++s) {
        DrawSegment(View(), rec.Canvas, s, true);
        EXPECT_EQ(rec.Canvas.Pen, before.Pen) << s;
        EXPECT_EQ(rec.Canvas.Brush, before.Brush) << s;
        EXPECT_EQ(rec.Canvas.Font, before.Font) << s;
    }
}

TEST_F(FigureDrawingTest, DrawAllSendsTracedFiguresToTheTraceAndRecordsTheirColours)
{
    struct Case {
        const char* What;
        bool OnlyTrace;
        bool TraceAll;
        std::uint8_t AimgOfArea;
        int MainLines;      // two figures of a fill and an outline each, or nothing
        bool FirstOnTrace;  // the untraced figure goes to the trace too
        bool FullTrace;     // the trace in full colours with its fill
    };
    const Case cases[] = {
        {"normal", false, false, 0, 4, false, false},
        {"only the trace", true, false, 0, 0, false, false},
        {"everything traced", false, true, 0, 4, true, false},
        {"traces with fills", false, false, 1, 4, false, true},
    };
    for (const Case& c : cases) {
        ResetSegmentColors();
        list.Clear();
        Tsegment& plain = Item(Put(FigurePolygon, {T, U, A}, 0x00C040));
        plain.InsideColor = 0x00FFFF;
        Tsegment& traced = Item(Put(FigurePolygon, {P, Q, R}, 0x0080E0));
        traced.InsideColor = 0x00FF00;
        traced.AfterImage = 1;
        Item(Put(FigureSegment, {P, T}, 0x00FF00)).Shown = 0; // hidden: never drawn, never recorded
        settings.Pen.AimgOfArea = c.AimgOfArea;
        TRecorder main, trace;
        DrawAll(View(), {.Main = &main.Canvas, .Trace = &trace.Canvas, .OnlyTrace = c.OnlyTrace, .TraceAll = c.TraceAll});

        EXPECT_EQ(main.Lines().size(), std::size_t(c.MainLines)) << c.What;
        EXPECT_EQ(LinesWithPen(main, 0x00C040), c.MainLines / 2) << c.What;
        const TColor tracedPen = c.FullTrace ? TColor(0x0080E0) : FadeColorBySetting(0x0080E0);
        const TColor firstPen = FadeColorBySetting(0x00C040);
        EXPECT_EQ(LinesWithPen(trace, tracedPen), c.FullTrace ? 2 : 1) << c.What; // with its fill
        EXPECT_EQ(LinesWithPen(trace, firstPen), c.FirstOnTrace ? 1 : 0) << c.What;
        EXPECT_EQ(trace.Lines().size(), std::size_t((c.FullTrace ? 2 : 1) + (c.FirstOnTrace ? 1 : 0))) << c.What;
        EXPECT_EQ(SegmentColors[1], c.FirstOnTrace ? TColor(0x00C040) : NoTraceColor) << c.What;
        EXPECT_EQ(SegmentColors2[1], c.FirstOnTrace ? TColor(0x00FFFF) : NoTraceColor) << c.What;
        EXPECT_EQ(SegmentColors[2], 0x0080E0u) << c.What;
        EXPECT_EQ(SegmentColors2[2], 0x00FF00u) << c.What;
        EXPECT_EQ(SegmentColors[3], NoTraceColor) << c.What;
    }
}

TEST_F(FigureDrawingTest, DrawTracedDrawsOnlyFiguresThatLeaveATrace)
{
    Put(FigureSegment, {P, Q}, 0x00C040);
    Item(Put(FigureSegment, {R, T}, 0x0080E0)).AfterImage = 1;
    TRecorder rec;
    DrawTraced(View(), rec.Canvas);
    ASSERT_EQ(rec.Lines().size(), 1u);
    EXPECT_EQ(LinesWithPen(rec, FadeColorBySetting(0x0080E0)), 1);
}

// Monochrome printing turns figure colours grey.
TEST_F(FigureDrawingTest, ColoursPassThroughTheColourScheme)
{
    Put(FigureSegment, {P, Q}, 0x0000FF);
    SetMonochromeColorScheme();
    const TColor grey = MonochromeColor(0x0000FF);
    TRecorder rec;
    DrawSegment(View(), rec.Canvas, 1, true);
    SetNormalColorScheme();
    EXPECT_NE(grey, TColor(0x0000FF));
    EXPECT_EQ(LinesWithPen(rec, grey), 1);
}

} // namespace
