// The point lists of curve objects: the parameter run, both evaluation
// paths, the circle modes and which lists a redraw recomputes.
#include "ObjectsTestKit.h"
#include "engine/TokenTable.h"
#include "model/Options.h"

#include <cmath>
#include <numbers>

namespace {

constexpr long double TwoPi = 2.0L * std::numbers::pi_v<long double>;

struct ParameterRun {
    const char* what;
    long double low, high, step;
    size_t count;   // values
    long double last;
};

TEST(LocusParameterValuesTest, RunsFromLowByStepAndEndsAtHigh)
{
    const ParameterRun runs[] = {
        {"r = cos 2θ from 0 to 2π by 0.1", 0.0L, TwoPi, 0.1L, 64, TwoPi},
        {"quarters", 0.0L, 1.0L, 0.25L, 5, 1.0L},
        {"a step past High", 0.0L, 1.0L, 5.0L, 2, 1.0L},
        {"Low = High", 1.0L, 1.0L, 0.1L, 0, 0.0L},
        {"Low > High", 2.0L, 1.0L, 0.1L, 0, 0.0L},
        {"step 0", 0.0L, 1.0L, 0.0L, 0, 0.0L},
        {"negative step", 0.0L, 1.0L, -0.1L, 0, 0.0L},
        {"NaN step", 0.0L, 1.0L, NAN, 0, 0.0L},
        // The cap: High would be the 5001st value.
        {"step 1e-30 on 0..1", 0.0L, 1.0L, 1e-30L, 5000, 4999e-30L},
        // 1 + k·1e-30 is 1: the run stops growing at once.
        {"step 1e-30 on 1..2", 1.0L, 2.0L, 1e-30L, 2, 2.0L},
    };
    for (const ParameterRun& r : runs) {
        const std::vector<long double> ts = LocusParameterValues(r.low, r.high, r.step);
        ASSERT_EQ(ts.size(), r.count) << r.what;
        if (r.count == 0)
            continue;
        EXPECT_EQ(ts.front(), r.low) << r.what;
        EXPECT_EQ(ts.back(), r.last) << r.what;
    }
    // Each value from Low, not from the one before: no drift.
    const std::vector<long double> tenths = LocusParameterValues(0.0L, 1.0L, 0.1L);
    ASSERT_EQ(tenths.size(), 11u);
    for (size_t k = 0; k + 1 < tenths.size(); ++k)
        EXPECT_EQ(tenths[k], static_cast<long double>(k) * 0.1L);
}

TEST(AddLocusPointTest, GrowsByFiveHundredAndDropsThe5001stPoint)
{
    Tlocus locus;
    const TValue one = ValueReal(1.0L);
    for (int i = 0; i < 501; ++i)
        AddLocusPoint(locus, one, one, i);
    EXPECT_EQ(locus.Items.size(), 1000u);
    for (int i = 501; i < 5001; ++i)
        AddLocusPoint(locus, one, one, i);
    EXPECT_EQ(locus.Count, MaxLocusPoints);
    EXPECT_EQ(locus.Items.size(), 5000u);
    EXPECT_EQ(locus.Items.back().T, 4999.0L);

    Tlocus half;
    AddLocusPoint(half, one, ValueUndefined(KindReal), 0.5L);
    EXPECT_EQ(half.Items[0].Defined, 0);
    EXPECT_EQ(half.Items[0].T, 0.5L);
}

class LociTest : public ObjectsTest {};

TEST_F(LociTest, PolarRoseInBothCircleModes)
{
    SetCurve(1, ObjectPolar, {}, {}, QStringLiteral("cos(2@)"), u'@', QStringLiteral("0"), QStringLiteral("2Pi"),
             0.1L);
    for (const TLocusPath path : {TLocusPath::Array, TLocusPath::Scalar}) {
        Options.CircleMode = 1;
        const Tlocus one = Locus(1, path);
        ASSERT_EQ(one.Count, 64);
        EXPECT_EQ(one.Items[63].T, TwoPi);
        const TLocusPoint& p = one.Items[16]; // θ = 1.6: radius cos 3.2 < 0, through the pole
        EXPECT_NEAR(static_cast<double>(p.T), 1.6, 1e-15);
        ASSERT_EQ(p.Defined, 1);
        EXPECT_NEAR(static_cast<double>(p.X), 0.0291, 5e-5);
        EXPECT_NEAR(static_cast<double>(p.Y), -0.9979, 5e-5);

        Options.CircleMode = 2;
        const Tlocus two = Locus(1, path);
        ASSERT_EQ(two.Count, 64);
        EXPECT_EQ(two.Items[16].Defined, 0);
        EXPECT_EQ(two.Items[0].Defined, 1); // radius 1 at θ = 0
        int defined = 0;
        for (int i = 0; i < two.Count; ++i)
            defined += two.Items[static_cast<size_t>(i)].Defined;
        EXPECT_GT(defined, 25); // half of the run, the two petals of positive radius
        EXPECT_LT(defined, 40);
    }
}

TEST_F(LociTest, ArrayAndScalarPathsAgree)
{
    // Another object, a user function and the vector form, over four batches.
    SetShape(2, ObjectPoint, 0.5L, -1.0L);
    DocumentTables.UserFunctions[1].Text = QStringLiteral("x^2-y");
    PrepareExpression(DocumentTables.UserFunctions[1], ModeUserFunction);
    SetCurve(1, ObjectParametric, QStringLiteral("cos(3t)+Q.x"), QStringLiteral("f(sin(t),a)"), {}, u't',
             QStringLiteral("-Pi"), QStringLiteral("Pi"), 0.001L);
    TPointFunction& vector = SetCurve(3, ObjectParametric, {}, {}, {}, u'u', QStringLiteral("0"),
                                      QStringLiteral("3"), 0.5L);
    vector.Dimension = 2;
    vector.Pos.Text = QStringLiteral("(u, sqrt(u-1))");
    PrepareExpression(vector.Pos, 3);

    for (const int k : {1, 3}) {
        ASSERT_FALSE(NeedsScalarLocus(Object(k)));
        const Tlocus a = Locus(k, TLocusPath::Array);
        const Tlocus s = Locus(k, TLocusPath::Scalar);
        ASSERT_EQ(a.Count, s.Count);
        for (int i = 0; i < a.Count; ++i) {
            const TLocusPoint& p = a.Items[static_cast<size_t>(i)];
            const TLocusPoint& q = s.Items[static_cast<size_t>(i)];
            ASSERT_EQ(p.Defined, q.Defined) << k << " at " << i;
            EXPECT_EQ(p.T, q.T);
            EXPECT_NEAR(static_cast<double>(p.X), static_cast<double>(q.X), 1e-15) << k << " at " << i;
            EXPECT_NEAR(static_cast<double>(p.Y), static_cast<double>(q.Y), 1e-15) << k << " at " << i;
        }
    }
    EXPECT_EQ(Locus(1).Count, MaxLocusPoints); // 6284 values, cut at the cap
    EXPECT_EQ(Locus(3).Items[1].Defined, 0); // sqrt(-0.5)
}

TEST_F(LociTest, BindersTakeTheScalarPathAndKeepTheParameterTable)
{
    // Sum's bound depends on t: the array path would read it from one column.
    SetCurve(1, ObjectSequence, QStringLiteral("t"), QStringLiteral("Sum(k,1,t,k)"), {}, u't', QStringLiteral("1"),
             QStringLiteral("10"), 1.0L);
    SetCurve(2, ObjectSequence, QStringLiteral("t"), QStringLiteral("t(t+1)/2"), {}, u't', QStringLiteral("1"),
             QStringLiteral("10"), 1.0L);
    EXPECT_TRUE(NeedsScalarLocus(Object(1)));
    EXPECT_FALSE(NeedsScalarLocus(Object(2)));
    const long double tBefore = DocumentTables.Params[10].Value;
    const Tlocus withSum = Locus(1);
    const Tlocus plain = Locus(2);
    EXPECT_EQ(DocumentTables.Params[10].Value, tBefore);
    ASSERT_EQ(withSum.Count, 10);
    ASSERT_EQ(plain.Count, 10);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(withSum.Items[static_cast<size_t>(i)].Y, plain.Items[static_cast<size_t>(i)].Y) << i;
        EXPECT_EQ(withSum.Items[static_cast<size_t>(i)].Defined, 1);
    }

    // Drawn, the two are the same picture.
    TRecorder a, b;
    DrawCurve(Mapping(), {&a.Canvas, nullptr}, Object(1), withSum, PenSettings(1));
    DrawCurve(Mapping(), {&b.Canvas, nullptr}, Object(2), plain, PenSettings(1));
    EXPECT_EQ(a.Lines(), b.Lines());
    EXPECT_FALSE(a.Lines().empty());
}

TEST_F(LociTest, EmptyIntervalsGiveEmptyLists)
{
    const char* const intervals[][2] = {{"1", "1"}, {"2", "1"}, {"0", "ln(-1)"}, {"", "1"}};
    for (const auto& [low, high] : intervals) {
        SetCurve(1, ObjectParametric, QStringLiteral("t"), QStringLiteral("t"), {}, u't', QString::fromUtf8(low),
                 QString::fromUtf8(high), 0.1L);
        const Tlocus locus = Locus(1);
        EXPECT_EQ(locus.Count, 0) << low << ".." << high;
        TRecorder rec;
        DrawCurve(Mapping(), {&rec.Canvas, nullptr}, Object(1), locus, PenSettings(1));
        EXPECT_TRUE(Starting(rec.Lines(), "polyline").empty());
    }
    SetCurve(1, ObjectParametric, QStringLiteral("t"), QStringLiteral("t"), {}, u't', QStringLiteral("0"),
             QStringLiteral("1"), 0.0L);
    EXPECT_EQ(Locus(1).Count, 0);
}

TEST_F(LociTest, RedrawRecomputesChangedShownCurvesOnly)
{
    for (const int k : {1, 2, 3})
        SetCurve(k, ObjectParametric, QStringLiteral("t"), QStringLiteral("t"), {}, u't', QStringLiteral("0"),
                 QStringLiteral("1"), 0.5L);
    Object(2).Shown = 0;
    Object(3).Shown = 0;
    Object(3).RAImg = 1; // hidden but traced
    TLocuses loci;
    loci.Items[4].Count = 7; // object 4 is no curve (any more)
    TWideCharSet changed;
    for (const int k : {1, 2, 3, 4})
        CharSetIncludeRange(changed, Vocabulary.PointTokens[k], Vocabulary.PointTokens[k]);
    TLocusSources sources = LocusSourcesOf(GraphScale);
    ComputeLoci(loci, changed, false, sources);
    EXPECT_EQ(loci.Items[1].Count, 3);
    EXPECT_EQ(loci.Items[2].Count, 0);
    EXPECT_EQ(loci.Items[3].Count, 3);
    EXPECT_EQ(loci.Items[4].Count, 0);

    Object(1).High.Text = QStringLiteral("2");
    PrepareExpression(Object(1).High, ModePlain);
    ComputeLoci(loci, TWideCharSet{}, false, sources);
    EXPECT_EQ(loci.Items[1].Count, 3); // not named as changed
    ComputeLoci(loci, TWideCharSet{}, true, sources);
    EXPECT_EQ(loci.Items[1].Count, 5);
}

} // namespace
