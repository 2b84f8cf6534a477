// A scene of every kind of object against a golden display list (exact fake
// metrics) and a golden picture (the platform's fonts, within the text
// tolerance).
#include "ObjectsTestKit.h"
#include "model/Options.h"
#include "render/plot/BrushPattern.h"
#include "tests/render/GoldenFiles.h"
#include "tests/render/PixelProbe.h"

#include <QImage>

namespace {

class ObjectsGoldenTest : public ObjectsTest {
protected:
    TLocuses loci;

    void SetUp() override
    {
        ObjectsTest::SetUp();
        // P: a hollow point labelled above right; Q: a filled point labelled below left.
        TPointFunction& p = SetShape(1, ObjectPoint, 1.0L, 2.0L);
        p.PointStyle = 1;
        p.Label = QStringLiteral("P");
        p.LabelPos = 3;
        TPointFunction& q = SetShape(2, ObjectPoint, -3.0L, 3.5L);
        q.ColorNo1 = 0x008000;
        q.Label = QStringLiteral("<B>Q</B>");
        q.LabelPos = 2;
        // R: a circle with a falling hatch inside; S: a dotted band; T: a dashed vertical line.
        TPointFunction& r = SetShape(3, ObjectCircle, -2.0L, 1.0L, 1.5L);
        r.RColorNo1 = 0x800000;
        r.RWidth = 2;
        r.InsideColor = 0xC08000;
        r.Pattern = PatternFDiagonal;
        TPointFunction& s = SetShape(4, ObjectHorizontalLine, 0.0L, -3.0L, 0.5L);
        s.ColorNo1 = 0x0080C0;
        s.Width = 1;
        s.InsideColor = 0x0080C0;
        s.Pattern = PatternDense;
        s.Label = QStringLiteral("y=-3");
        s.LabelPos = 9;
        TPointFunction& t = SetShape(5, ObjectVerticalLine, 3.5L, 0.0L);
        t.Width = 2;
        t.LineStyle = 2;
        for (const int k : {1, 2, 3, 4, 5})
            CopyStyle(k);

        // U: a rose through the pole; V: a sine filled down to the x axis;
        // A: a point sequence with hollow symbols.
        TPointFunction& u = SetCurve(6, ObjectPolar, {}, {}, QStringLiteral("2cos(2@)"), u'@', QStringLiteral("0"),
                                     QStringLiteral("2Pi"), 0.05L);
        u.RColorNo1 = 0xC000C0;
        TPointFunction& v = SetCurve(7, ObjectParametric, QStringLiteral("t"), QStringLiteral("sin(2t)+1"), {}, u't',
                                     QStringLiteral("0"), QStringLiteral("4.5"), 0.1L);
        v.RColorNo1 = 0x000000;
        v.RWidth = 1;
        v.InsideColor = 0xA0FFA0;
        v.FigType = 2;
        TPointFunction& a = SetCurve(8, ObjectSequence, QStringLiteral("n/2-4.5"), QStringLiteral("-(n/4)^2"), {},
                                     u'n', QStringLiteral("0"), QStringLiteral("8"), 1.0L);
        a.RColorNo1 = 0xA0A0A0;
        a.RWidth = 1;
        a.ColorNo1 = 0x0000C0;
        a.Width = 2;
        a.PointStyle = 1;
        for (const int k : {6, 7, 8})
            loci.Items[k] = Locus(k);
    }

    // As the scene draws them: curves, then objects, then the rings.
    void Draw(TCanvas& canvas)
    {
        const TPlotCanvases canvases{&canvas, nullptr};
        DrawCurves(Mapping(), canvases, loci, DocumentTables.Points, PenSettings(1));
        DrawObjects(Mapping(), canvases, states, DocumentTables.Points, PenSettings(1));
        DrawPointRings(Mapping(), canvas, states, DocumentTables.Points);
    }
};

TEST_F(ObjectsGoldenTest, DisplayListMatchesTheGolden)
{
    TRecorder rec;
    rec.Picture.Width = 400;
    rec.Picture.Height = 400;
    Draw(rec.Canvas);
    EXPECT_TRUE(MatchesTextGolden(DumpMetafile(rec.Picture), QStringLiteral("objects/scene.txt")));
}

TEST_F(ObjectsGoldenTest, PictureMatchesTheGolden)
{
    QtTextMetrics platformMetrics;
    ScopedTextMetrics usePlatform{platformMetrics};
    QImage image = BlankImage(401, 401);
    TCanvas canvas = MakeImageCanvas(image);
    Draw(canvas);
    EXPECT_EQ(PixelAt(image, 240, 120), ColorWhite) << "P stays hollow over the sine's fill";
    EXPECT_TRUE(MatchesImageGolden(image, QStringLiteral("objects/scene.png"), {48, 0.02}));
}

} // namespace
