// The function options that change what formulas compute.
#include "StoreTestKit.h"

#include "session/AngleMode.h"

#include "model/Options.h"
#include "render/view/RedrawState.h"

namespace {

using AngleModeTest = StoreTest;

TEST_F(AngleModeTest, EachChangedOptionMarksTheNamesThatDependOnIt)
{
    DocumentTables.Points[1] = PointAt(1, QStringLiteral("(1,2)"));
    DocumentTables.Points[2].Kind = ObjectCircle;
    DocumentTables.Points[3].Kind = ObjectPolar;
    const TNamedTokens& t = TokenCodes;
    const auto point = [](int k) { return Vocabulary.PointTokens[k]; };
    struct Case {
        const char* what;
        std::uint8_t angle, area, log, circle;
        std::vector<TTokenCode> marked, unmarked;
    };
    const Case cases[] = {
        {"degree", 2, 1, 2, 1, {t.Sin, t.Cos, t.Arg}, {t.Log, point(2)}},
        {"interval", 1, 2, 2, 1, {t.Sin, t.Arg}, {t.Log}},
        {"common log", 1, 1, 1, 1, {t.Log}, {t.Sin, point(2)}},
        {"circle mode", 1, 1, 2, 2, {point(2), point(3)}, {point(1), t.Sin, t.Log}},
    };
    for (const Case& c : cases) {
        Options.Reset();
        ClearRedrawState();
        EXPECT_TRUE(SetAngleMode(c.angle, c.area, c.log, c.circle)) << c.what;
        EXPECT_EQ(Options.AngleMode, c.angle);
        EXPECT_EQ(Options.AngleArea, c.area);
        EXPECT_EQ(Options.LogMode, c.log);
        EXPECT_EQ(Options.CircleMode, c.circle);
        EXPECT_TRUE(IsDirtyObjects()) << c.what;
        for (TTokenCode code : c.marked)
            EXPECT_TRUE(RedrawState.ChangedNames.has(code)) << c.what << " " << TokensToText(QStringView(&code, 1)).toStdString();
        for (TTokenCode code : c.unmarked)
            EXPECT_FALSE(RedrawState.ChangedNames.has(code)) << c.what << " " << TokensToText(QStringView(&code, 1)).toStdString();
    }
}

TEST_F(AngleModeTest, NothingChangedMarksNothing)
{
    ClearRedrawState();
    const TDocumentOptions& o = Options;
    EXPECT_FALSE(SetAngleMode(o.AngleMode, o.AngleArea, o.LogMode, o.CircleMode));
    EXPECT_FALSE(IsDirtyObjects());
    EXPECT_TRUE(CharSetIsEmpty(RedrawState.ChangedNames));
}

} // namespace
