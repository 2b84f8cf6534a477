// The evaluated object states and their fixed 100-byte form.
#include "SceneTestKit.h"
#include "model/ObjectNames.h"
#include "model/Options.h"
#include "model/PointStateCodec.h"
#include "render/scene/PointStates.h"

#include <cmath>
#include <limits>

namespace {

class PointStatesTest : public SceneTest {
protected:
    struct Object {
        std::uint8_t Kind;
        const char* Pos;
        const char* X;
        const char* Y;
        const char* R;
    };
    static void SetObject(int k, const Object& o)
    {
        TPointFunction& p = DocumentTables.Points[k];
        p.Kind = o.Kind;
        SetFormula(k, p.Pos, o.Pos);
        SetFormula(k, p.X, o.X);
        SetFormula(k, p.Y, o.Y);
        SetFormula(k, p.R, o.R);
    }
};

TEST_F(PointStatesTest, KindsKeepWhatTheyAreDrawnFromAndDropWhatTheyCannotDraw)
{
    struct Case {
        const char* Title;
        Object Source;
        std::uint8_t CircleMode;
        std::uint8_t Kind;
        long double X, Y, R;
    };
    const Case cases[] = {
        {"point", {ObjectPoint, "(1, 2)", "1", "2", ""}, 1, ObjectPoint, 1.0L, 2.0L, 0.0L},
        {"point, undefined y", {ObjectPoint, "(1, sqrt(-1))", "1", "sqrt(-1)", ""}, 1, ObjectEmpty, 0, 0, 0},
        {"circle", {ObjectCircle, "(1, 2)", "1", "2", "3"}, 1, ObjectCircle, 1.0L, 2.0L, 3.0L},
        {"circle, radius -1", {ObjectCircle, "(1, 2)", "1", "2", "-1"}, 1, ObjectCircle, 1.0L, 2.0L, -1.0L},
        {"circle, radius -1, mode 2", {ObjectCircle, "(1, 2)", "1", "2", "-1"}, 2, ObjectEmpty, 1.0L, 2.0L, 0},
        {"horizontal line", {ObjectHorizontalLine, "", "", "3", ""}, 1, ObjectHorizontalLine, 0, 3.0L, 0},
        {"vertical line", {ObjectVerticalLine, "", "-2", "", ""}, 1, ObjectVerticalLine, -2.0L, 0, 0},
        {"vertical line, undefined", {ObjectVerticalLine, "", "ln(0)", "", ""}, 1, ObjectEmpty, 0, 0, 0},
        // Curves keep their handle: the position at the parameters' values
        // (t = 2, theta = 0 here).
        {"parametric curve", {ObjectParametric, "(t, t^2)", "t", "t^2", ""}, 1, ObjectPoint, 2.0L, 4.0L, 0},
        {"parametric curve, undefined there", {ObjectParametric, "(t, sqrt(-t))", "t", "sqrt(-t)", ""}, 1,
         ObjectEmpty, 0, 0, 0},
        {"parametric curve, no position", {ObjectParametric, "", "t", "t^2", ""}, 1, ObjectEmpty, 0, 0, 0},
        {"polar curve", {ObjectPolar, "(r cos@, r sin@)", "r cos@", "r sin@", "2"}, 1, ObjectPoint, 2.0L, 0, 2.0L},
        {"polar curve, radius -1", {ObjectPolar, "(r cos@, r sin@)", "r cos@", "r sin@", "-1"}, 1, ObjectPoint,
         -1.0L, 0, -1.0L},
        {"polar curve, radius -1, mode 2", {ObjectPolar, "(r cos@, r sin@)", "r cos@", "r sin@", "-1"}, 2,
         ObjectEmpty, -1.0L, 0, 0},
        {"polar curve, no position", {ObjectPolar, "", "", "", "2"}, 1, ObjectEmpty, 0, 0, 2.0L},
        {"point sequence", {ObjectSequence, "(t, t)", "t", "t", ""}, 1, ObjectEmpty, 0, 0, 0},
    };
    DocumentTables.Params[PrmIndex(u"t")].Value = 2.0L;
    DocumentTables.Params[PrmIndex(u"@")].Value = 0.0L;
    for (const Case& c : cases) {
        Options.CircleMode = c.CircleMode;
        SetObject(1, c.Source);
        const TPointState s = BuildPointState(1);
        EXPECT_EQ(s.Kind, c.Kind) << c.Title;
        EXPECT_EQ(s.X, c.X) << c.Title;
        EXPECT_EQ(s.Y, c.Y) << c.Title;
        EXPECT_EQ(s.R, c.R) << c.Title;
    }
}

TEST_F(PointStatesTest, StylesAreCopiedAndLocusWidthsWaitForTheDrawing)
{
    TPointFunction& p = DocumentTables.Points[3];
    SetObject(3, {ObjectPoint, "(0, 0)", "0", "0", ""});
    p.ColorNo1 = 0x123456;
    p.RColorNo1 = 0x654321;
    p.InsideColor = 0x00FF00;
    p.PointAImg = 1;
    p.Width = 5;
    p.RWidth = 4;
    p.PointStyle = 2;
    p.LineStyle = 3;
    p.LocusWidth = 2;
    TPointStates states;
    BuildPointStates(states);
    const TPointState& s = states[3];
    EXPECT_EQ(s.Kind, ObjectPoint);
    EXPECT_EQ(s.ColorNo1, 0x123456u);
    EXPECT_EQ(s.RColorNo1, 0x654321u);
    EXPECT_EQ(s.InsideColor, 0x00FF00u);
    EXPECT_EQ(s.PointAImg, 1);
    EXPECT_EQ(s.Width, 5);
    EXPECT_EQ(s.RWidth, 4);
    EXPECT_EQ(s.PointStyle, 2);
    EXPECT_EQ(s.LineStyle, 3);
    EXPECT_EQ(s.LocusWidth, 255);
    EXPECT_EQ(states[4].Kind, ObjectEmpty);
    SetDirtyFlag4();
    EXPECT_EQ(BuildPointState(3).LocusWidth, 2);
    p.LocusWidth = 0;
    ClearRedrawState();
    EXPECT_EQ(BuildPointState(3).LocusWidth, 0);
}

TEST(PointStateCodecTest, WritesTheFixedLittleEndianLayout)
{
    TPointState s;
    s.Kind = 2;
    s.X = 1.5L;
    s.Y = -2.0L;
    s.R = 0.0L;
    s.ColorNo1 = 0x00332211;
    s.RColorNo1 = 0x02665544;
    s.InsideColor = 0x00FFFFFF;
    s.PointAImg = 1;
    s.RAImg = 0;
    s.Width = 3;
    s.LocusWidth = 255;
    s.RWidth = 4;
    s.PointStyle = 5;
    s.LineStyle = 6;
    const TPointStateBlock b = EncodePointState(s);
    const std::vector<std::uint8_t> x(b.begin() + 2, b.begin() + 12);
    EXPECT_EQ(x, (std::vector<std::uint8_t>{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0xFF, 0x3F}));
    const std::vector<std::uint8_t> y(b.begin() + 12, b.begin() + 22);
    EXPECT_EQ(y, (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0xC0}));
    EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + 22, b.begin() + 32), std::vector<std::uint8_t>(10, 0));
    EXPECT_EQ(b[0], 2);
    EXPECT_EQ(b[1], 0);
    EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + 32, b.begin() + 40),
              (std::vector<std::uint8_t>{0x11, 0x22, 0x33, 0x00, 0x44, 0x55, 0x66, 0x02}));
    EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + 44, b.begin() + 49), (std::vector<std::uint8_t>{1, 0, 3, 255, 4}));
    EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + 49, b.begin() + 98), std::vector<std::uint8_t>(49, 0));
    EXPECT_EQ(b[98], 5);
    EXPECT_EQ(b[99], 6);

    const TPointState back = DecodePointState(b);
    EXPECT_EQ(EncodePointState(back), b);
    EXPECT_EQ(back.X, 1.5L);
    EXPECT_EQ(back.ColorNo1, s.ColorNo1);
}

TEST(PointStateCodecTest, ExtendedValuesRoundTripExactly)
{
    using L = std::numeric_limits<long double>;
    const long double values[] = {0.0L, -0.0L, 1.0L, -1.5L, 0.1L, 1E-300L, 1E4000L, -1E-4940L,
                                  L::min(), L::denorm_min(), L::max(), L::lowest(), L::epsilon(),
                                  L::infinity(), -L::infinity()};
    for (const long double v : values) {
        std::array<std::uint8_t, Extended80Bytes> bytes{};
        WriteExtended80(v, bytes);
        const long double back = ReadExtended80(bytes);
        EXPECT_EQ(back, v) << static_cast<double>(v);
        EXPECT_EQ(std::signbit(back), std::signbit(v)) << static_cast<double>(v);
    }
    std::array<std::uint8_t, Extended80Bytes> bytes{};
    WriteExtended80(L::quiet_NaN(), bytes);
    EXPECT_TRUE(std::isnan(ReadExtended80(bytes)));
    EXPECT_EQ(bytes[9] & 0x7F, 0x7F);
    // The smallest subnormal: only the lowest significand bit.
    WriteExtended80(L::denorm_min(), bytes);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[8], 0);
    EXPECT_EQ(bytes[9], 0);
}

} // namespace
