// Project files of every older format, written by hand in each one's layout:
// the same lesson in all of them (tests/session/data/README.md), read back
// field by field, section by section.
#include "SessionTest.h"

#include "session/PanelLayout.h"

#include "model/Colors.h"
#include "model/DocumentState.h"
#include "model/Figures.h"
#include "model/ProgramState.h"
#include "render/view/Scale.h"

namespace {

struct OldFile {
    const char* name;
    int version; // 16 for "Kaviro/win 1.6"
};
void PrintTo(const OldFile& f, std::ostream* os)
{
    *os << f.name;
}

const OldFile OldFiles[] = {
    {"v16.kvf", 16}, {"v18.kvf", 18}, {"v19.kvf", 19}, {"v20.kvf", 20}, {"v21.kvf", 21}, {"v22.kvf", 22},
    {"v23.kvf", 23}, {"v24.kvf", 24}, {"v25.kvf", 25}, {"v26.kvf", 26}, {"v27.kvf", 27},
};

constexpr int Origin = 22; // object O

// Colour numbers of files before 2.8.
TColor Palette(int i)
{
    return ColorScheme.ColorPalette[static_cast<std::size_t>(i)];
}

class OldProjectFileTest : public SessionTest, public ::testing::WithParamInterface<OldFile> {
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        ProgramState.GraphPixelHeight = ProgramState.GraphMaxHeight = 400;
        host_.PageControl = 0;
        ASSERT_TRUE(OpenFixture(QString::fromLatin1(GetParam().name)));
        EXPECT_TRUE(sink_.empty()) << sink_.last().text.toStdString();
    }
    // The file's rules hold from this version on.
    static bool Since(int version) { return GetParam().version >= version; }

    const TDocumentTables& t = DocumentTables;
};

TEST_P(OldProjectFileTest, BackgroundAndFormulas)
{
    // No background section before 1.7.
    EXPECT_EQ(ProjectFile.BGfile, Since(17) ? PathOf(QStringLiteral("grade.png")) : QString());
    EXPECT_EQ(Options.BGMode, Since(17) ? 2 : 1);
    EXPECT_EQ(Options.BGstretchOn, 1);

    // Old spellings: θ was "Q" before 1.7; "pas", "Min" and "Max" before 2.4.
    EXPECT_EQ(t.UserFunctions[1].Text, QStringLiteral("min(x,a)"));
    EXPECT_EQ(t.Functions[1].Func.Text, QStringLiteral("x^2/4+path(P,A)"));
    EXPECT_EQ(t.Functions[2].Func.Text, QStringLiteral("max(sin(x),Q.x)"));
    EXPECT_EQ(t.Points[8].R.Text, QStringLiteral("1+cos(@)"));
    for (const TKavirofunction* f : {&t.UserFunctions[1], &t.Functions[1].Func, &t.Functions[2].Func,
                                     &t.Relations[1].Func, &t.Points[8].R})
        EXPECT_FALSE(f->Code.isEmpty()) << f->Text.toStdString();

    struct Style {
        const TEquationFunction& f;
        int afterImage;
        TColor color;
        int width, visible, lineStyle;
    };
    const Style styles[] = {
        {t.Functions[1], 1, Palette(4), 3, 1, 2},
        {t.Functions[2], 0, Palette(2), 2, 0, 1},
        {t.Relations[1], 0, Palette(2), 1, 1, 1},
    };
    for (const Style& s : styles) {
        EXPECT_EQ(s.f.AfterImage, s.afterImage);
        EXPECT_EQ(s.f.Color, s.color);
        EXPECT_EQ(s.f.Width, s.width);
        EXPECT_EQ(s.f.Visible, s.visible);
        EXPECT_EQ(s.f.LineStyle, s.lineStyle);
    }
    EXPECT_EQ(t.Relations[1].Func.Text, QStringLiteral("x^2+y^2<4"));
    EXPECT_EQ(t.Relations[1].AutoCalc, 1);
    EXPECT_EQ(t.Relations[1].Pattern, 3);
    EXPECT_EQ(t.Relations[1].Border, 0);
    EXPECT_TRUE(t.Functions[3].Func.Text.isEmpty());
    EXPECT_EQ(PanelLayout.UserFunctionRows[1], (TRowState{1, 1}));
    EXPECT_EQ(PanelLayout.FunctionRows[1], (TRowState{2, 1}));
    EXPECT_EQ(PanelLayout.FunctionRows[2], (TRowState{1, 1}));
    EXPECT_EQ(PanelLayout.RelationRows[1], (TRowState{1, 1}));
}

// P, Q and A are objects 1, 2 and 6 of the older numbering (A is 8 now);
// some files hold the origin O as object 20, one of them empty.
TEST_P(OldProjectFileTest, Objects)
{
    struct Expected {
        int k;
        int kind, labelPos, dimension;
        const char16_t *label, *x, *y, *r, *low, *high;
        char16_t paramChar;
        int pointAImg, rAImg;
        TColor color, rColor, inside;
        int pointStyle, draggable, pattern, lineStyle;
        int width, locusWidth, rWidth;
    };
    // Before 2.6 an object stays draggable only with a constant coordinate.
    const int qDraggable = Since(26) ? 1 : 0;
    const Expected objects[] = {
        {1, ObjectPoint, 3, 1, u"<B>P</B>", u"1", u"a", u"0", u"", u"", u't', 1, 0, Palette(1), Palette(1),
         Palette(0), 2, 1, 1, 1, 4, 0, 1},
        // Circles had no curve width before 2.1.
        {2, ObjectCircle, 0, 1, u"Q", u"a", u"b", u"b/2", u"", u"", u't', 0, 1, Palette(2), Palette(3), Palette(0), 0,
         qDraggable, 2, 2, 3, 0, 1},
        // Polar curves before 2.1: θ from 0 to 2π, one colour, the curve's width moved to the radius.
        {8, ObjectPolar, 1, 1, u"A", u"0", u"0", u"1+cos(@)", u"0", u"2Pi", u'@', 0, 0, Palette(3), Palette(3),
         Palette(0), 0, 1, 1, 1, 3, 0, 2},
        // O is the origin whatever the file says of it.
        {22, ObjectPoint, 0, 2, u"O", u"0", u"0", u"", u"", u"", u't', 0, 0, Palette(0), Palette(0), Palette(0), 0, 0,
         1, 1, 3, 0, 1},
    };
    for (const Expected& e : objects) {
        SCOPED_TRACE(e.k);
        const TPointFunction& p = t.Points[e.k];
        EXPECT_EQ(p.Kind, e.kind);
        EXPECT_EQ(p.LabelPos, e.labelPos);
        EXPECT_EQ(p.Dimension, e.dimension);
        EXPECT_EQ(p.Label, QString::fromUtf16(e.label));
        EXPECT_EQ(p.X.Text, QString::fromUtf16(e.x));
        EXPECT_EQ(p.Y.Text, QString::fromUtf16(e.y));
        if (e.k != Origin) { // the origin's radius is never used
            EXPECT_EQ(p.R.Text, QString::fromUtf16(e.r));
        }
        EXPECT_EQ(p.Low.Text, QString::fromUtf16(e.low));
        EXPECT_EQ(p.High.Text, QString::fromUtf16(e.high));
        EXPECT_EQ(p.ParamChar, e.paramChar);
        EXPECT_EQ(p.ParamStep, 0.1L);
        EXPECT_EQ(p.PointAImg, e.pointAImg);
        EXPECT_EQ(p.RAImg, e.rAImg);
        EXPECT_EQ(p.ColorNo1, e.color);
        EXPECT_EQ(p.RColorNo1, e.rColor);
        EXPECT_EQ(p.InsideColor, e.inside);
        EXPECT_EQ(p.Shown, 1);
        EXPECT_EQ(p.PointStyle, e.pointStyle);
        EXPECT_EQ(p.Draggable, e.draggable);
        EXPECT_EQ(p.Pattern, e.pattern);
        EXPECT_EQ(p.LineStyle, e.lineStyle);
        EXPECT_EQ(p.FigType, 0);
        EXPECT_EQ(p.Sync, 0);
        EXPECT_EQ(p.Width, e.width);
        EXPECT_EQ(p.LocusWidth, e.locusWidth);
        EXPECT_EQ(p.RWidth, e.rWidth);
        EXPECT_FALSE(p.Pos.Code.isEmpty());
    }
    for (int k : {3, 4, 5, 6, 7, 9, 20, 21})
        EXPECT_EQ(t.Points[k].Kind, ObjectEmpty) << k;
    // Rows: U and V came in at 6 and 7 with the 2.7 numbering, unplaced and shown.
    for (int k = 1; k <= PointCount; ++k) {
        const TRowState expected = k == 1 ? TRowState{1, 1}
                                   : k == 2 ? TRowState{2, 1}
                                   : k == 8 ? TRowState{3, 0}
                                   : k == 22 ? TRowState{4, 1}
                                             : TRowState{0, 1};
        EXPECT_EQ(PanelLayout.PointRows[k], expected) << k;
    }
}

TEST_P(OldProjectFileTest, Figures)
{
    ASSERT_EQ(Segments.Data.Count, 2);
    const Tsegment& segment = Segments.Data.Items[1];
    EXPECT_EQ(segment.Kind, FigureSegment);
    EXPECT_EQ(segment.Vertices[1], 1);
    EXPECT_EQ(segment.Vertices[2], 8);
    EXPECT_EQ(segment.Vertices[3], 0);
    // Before 2.2 the style fields held the first two vertices.
    EXPECT_EQ(segment.LineStyle, Since(22) ? 2 : 1);
    EXPECT_EQ(segment.Pattern, 1);
    EXPECT_EQ(segment.Color, Palette(3));
    EXPECT_EQ(segment.InsideColor, Palette(0));
    EXPECT_EQ(segment.Width, 2);
    EXPECT_EQ(segment.AfterImage, 0);
    EXPECT_EQ(segment.Shown, 1);
    EXPECT_EQ(segment.LabelPos, 2);
    EXPECT_EQ(segment.Label, QStringLiteral("PA"));

    // Kind 4 was an arrow the other way round; its pattern 9 is none.
    const Tsegment& arrow = Segments.Data.Items[2];
    EXPECT_EQ(arrow.Kind, FigureArrow);
    EXPECT_EQ(arrow.Vertices[1], Origin);
    EXPECT_EQ(arrow.Vertices[2], 2);
    EXPECT_EQ(arrow.LineStyle, 1);
    EXPECT_EQ(arrow.Pattern, 1);
    EXPECT_EQ(arrow.Color, Palette(2));
    EXPECT_EQ(arrow.Width, 1);
    EXPECT_EQ(arrow.AfterImage, 1);
    EXPECT_EQ(arrow.Shown, Since(26) ? 0 : 1); // hidden figures came with 2.6
    EXPECT_EQ(arrow.LabelPos, 0);
    EXPECT_EQ(arrow.Label, QStringLiteral("seta de O"));
}

TEST_P(OldProjectFileTest, Parameters)
{
    const auto& params = t.Params;
    EXPECT_EQ(params[1].Value, 2.5L);
    EXPECT_EQ(params[1].Fixed, 0);
    EXPECT_EQ(params[2].Value, 3.0L);
    EXPECT_EQ(params[2].Fixed, 1);
    EXPECT_EQ(params[3].Value, 1.0L);
    EXPECT_EQ(params[13].Value, 0.0L); // θ
    EXPECT_EQ(Options.ParamDelay, 120);
    if (Since(21)) {
        EXPECT_EQ(params[1].Step, 0.25L);
        EXPECT_EQ(params[1].AddStep, 1);
        EXPECT_EQ(params[1].Extra, 0);
        EXPECT_EQ(params[2].Step, 2.0L);
        EXPECT_EQ(params[2].AddStep, 0);
        EXPECT_EQ(params[3].Step, 0.1L);
        EXPECT_EQ(PanelLayout.ParamRows[1], (TRowState{1, 1}));
    } else {
        // One step for all of them.
        for (int j = 1; j <= ParamCount; ++j) {
            EXPECT_EQ(params[j].Step, 0.5L) << j;
            EXPECT_EQ(params[j].AddStep, 0) << j;
            EXPECT_EQ(params[j].Extra, 1) << j;
        }
    }
    // Shown parameters in use have their rows once the file is open.
    EXPECT_GT(PanelLayout.ParamRows[1].Position, 0);
    EXPECT_GT(PanelLayout.ParamRows[2].Position, 0);
    EXPECT_NE(PanelLayout.ParamRows[1].Position, PanelLayout.ParamRows[2].Position);
}

TEST_P(OldProjectFileTest, OptionsAxesAndView)
{
    // 1.6 files have short lines: what they lack keeps the older defaults.
    const bool full = Since(18);
    const TDocumentOptions& o = Options;
    EXPECT_EQ(o.AngleMode, 2);
    EXPECT_EQ(o.ScanWidth, 4);
    EXPECT_EQ(o.LogMode, full ? 2 : 1);
    EXPECT_EQ(o.ThetaMode, full ? 1 : 2);
    EXPECT_EQ(o.AngleArea, full ? 2 : 1);
    EXPECT_EQ(o.CapStyle, 1);
    EXPECT_EQ(o.DrawOnDrag, full ? 1 : 0);
    EXPECT_EQ(o.DrawOnCalc, 1);
    EXPECT_EQ(o.ComplexMode, 0);
    EXPECT_EQ(o.DrawMode, 2);
    EXPECT_EQ(o.ShowSync, 1);
    EXPECT_EQ(o.AfterImageColorNo, 3);
    EXPECT_EQ(o.CanAImg, 1);
    EXPECT_EQ(o.CircleMode, 0);

    const ScaleSubT& x = GraphScale.XAxis;
    const ScaleSubT& y = GraphScale.YAxis;
    EXPECT_EQ(x.Caption, QStringLiteral("tempo (s)"));
    EXPECT_EQ(y.Caption, QStringLiteral("y")); // an empty caption before 2.1
    EXPECT_EQ(x.Letter(), u'x');
    EXPECT_EQ(x.VHigh, 400);
    EXPECT_EQ(y.VHigh, 400);
    EXPECT_EQ((std::array{x.AxesVisible, x.ScaleVisible, x.ValueVisible, x.GuideVisible}),
              (std::array<std::uint8_t, 4>{1, 0, 1, 1}));
    EXPECT_EQ(o.DegreeFont, 1);
    EXPECT_EQ((std::array{y.AxesVisible, y.ScaleVisible, y.ValueVisible, y.GuideVisible}),
              (std::array<std::uint8_t, 4>{1, 1, 0, 1}));
    EXPECT_EQ(x.Number, 8);
    EXPECT_EQ(x.Base, 0.5L);
    EXPECT_EQ(x.LInterval, 2);
    EXPECT_EQ(y.Number, 7);
    // A range that fits whole tick steps is kept as stored.
    EXPECT_EQ(GraphScale.Range(), (TWorldRect{{-2.0L, -4.0L}, {8.0L, 4.0L}}));

    const ScaleT& v = GraphScale;
    EXPECT_EQ(v.SquareQ, 0);
    EXPECT_EQ(o.AreaRectify, 1);
    EXPECT_EQ(v.PsMesh, 2);
    EXPECT_EQ(v.AxisWidth, 1);
    EXPECT_EQ(ProgramState.FontSize, 12);
    EXPECT_EQ(v.AxisOn, 0);
    EXPECT_EQ(v.Letterposition, 3);
    EXPECT_EQ(PanelLayout.ShowPosition, 1);
    EXPECT_EQ(PanelLayout.ShowEquation, 0);
    EXPECT_EQ(v.PolorNum, full ? 24 : 12);
    EXPECT_EQ(v.LetterFrac, full ? 1 : 0);
}

TEST_P(OldProjectFileTest, ToolsPanelsNotesAndTable)
{
    // Before 2.0 the tools kept values only: the y-value x is not read, the
    // limits become texts, and no partitions count (0) gives 10.
    const Tinterval& in = t.IntegralInterval;
    EXPECT_EQ(t.YvalueX.Text, Since(20) ? QStringLiteral("2.5") : QStringLiteral("1"));
    EXPECT_EQ(in.Lower.Text, Since(20) ? QStringLiteral("-Pi") : QStringLiteral("-1.5"));
    EXPECT_EQ(in.Upper.Text, Since(20) ? QStringLiteral("Pi/2") : QStringLiteral("2.25"));
    EXPECT_EQ(in.sliceNo, Since(20) ? 64 : 10);
    EXPECT_EQ(in.Dfuncno, 2);
    EXPECT_EQ(in.Efuncno, 1);
    EXPECT_EQ(in.AreaQ, 1);
    EXPECT_EQ(t.YvalueFunctions[3].Text, QStringLiteral("y1+y2"));

    const auto& panels = PanelLayout.Panels;
    if (Since(21)) {
        EXPECT_EQ(panels[PanelFunctions], (TPanelPlace{7, 1}));
        EXPECT_EQ(panels[PanelCurves], (TPanelPlace{5, 0}));
        EXPECT_EQ(panels[PanelFigures], (TPanelPlace{0, 1}));
    } else {
        // Six places; curves share the points' place and show, figures go last, hidden.
        EXPECT_EQ(panels[PanelFunctions], (TPanelPlace{10, 1}));
        EXPECT_EQ(panels[PanelPoints], (TPanelPlace{30, 0}));
        EXPECT_EQ(panels[PanelCurves], (TPanelPlace{30, 0}));
        EXPECT_EQ(panels[PanelUserFunctions], (TPanelPlace{40, 1}));
        EXPECT_EQ(panels[PanelParameters], (TPanelPlace{50, 1}));
        EXPECT_EQ(panels[PanelFigures], (TPanelPlace{2000, 0}));
    }

    EXPECT_EQ(Options.PetaMemoStyle, 3);
    EXPECT_EQ(Options.PetaMemoColor, Palette(2));
    EXPECT_EQ(Options.PetaMemoBGcolor, 0);
    EXPECT_EQ(Options.PetaMemoSize, 14);
    EXPECT_EQ(t.PetaMemoLines, Lines({u"Nota da aula", u"#Set b=a*1.5"}));
    EXPECT_EQ(PanelLayout.StickerPlaces[1], (TStickerPlace{300, 150, 0}));
    EXPECT_EQ(PanelLayout.StickerPlaces[2], (TStickerPlace{20, 30, 1}));

    EXPECT_EQ(t.Cells[5][3].Text, QStringLiteral("2.5"));
    EXPECT_EQ(t.Cells[5][3].Value, 2.5L);
    EXPECT_EQ(t.Cells[5][3].Defined, 1);
    EXPECT_EQ(t.TableFormula.Text, QStringLiteral("x+y"));
    EXPECT_EQ(t.TableColWidths[1], 90);
    EXPECT_EQ(t.TableColWidths[10], 45);
    EXPECT_EQ(t.SimpleMemoLines, Lines({u"memo da aula"}));
}

// Saved in the current format and opened again, a second save is the same.
TEST_P(OldProjectFileTest, SavedAgainTheFileStaysTheSame)
{
    ASSERT_TRUE(SaveAs(QStringLiteral("first")));
    ASSERT_TRUE(Open(QStringLiteral("first")));
    ASSERT_TRUE(SaveAs(QStringLiteral("second")));
    EXPECT_EQ(ReadBytes(QStringLiteral("second.kvf")), ReadBytes(QStringLiteral("first.kvf")));
    EXPECT_TRUE(sink_.empty());
}

INSTANTIATE_TEST_SUITE_P(Versions, OldProjectFileTest, ::testing::ValuesIn(OldFiles),
                         [](const auto& info) { return std::string("v") + std::to_string(info.param.version); });

} // namespace
