// The polar view's count of angle steps as a project file gives it: kept from
// 1 to 72, 12 for anything else, and written back as it is kept.
#include "SessionTest.h"

#include "render/view/Scale.h"

namespace {

using AngleStepCountTest = SessionTest;

TEST_F(AngleStepCountTest, CountsFrom1To72AreKeptAndOthersGive12)
{
    const std::pair<const char16_t*, int> cases[] = {
        {u"1", 1}, {u"7", 7}, {u"10", 10}, {u"72", 72}, {u"0", 12}, {u"73", 12}, {u"-5", 12}, {u"x", 12},
    };
    QStringList lines = WrittenLines();
    const qsizetype view = lines.indexOf(QStringLiteral("ScaleS")) + 2;
    ASSERT_GE(view, 2);
    for (const auto& [stored, kept] : cases) {
        QStringList fields = lines[view].split(u' ');
        ASSERT_GE(fields.size(), 11);
        fields[9] = QStringLiteral("1"); // polar
        fields[10] = QString::fromUtf16(stored);
        lines[view] = fields.join(u' ');
        GraphScale.PolorNum = 36;
        ASSERT_TRUE(ReadLines(lines)) << QString::fromUtf16(stored).toStdString();
        EXPECT_EQ(GraphScale.PolorNum, kept) << QString::fromUtf16(stored).toStdString();
        EXPECT_EQ(WrittenLines()[view].split(u' ')[10], QString::number(kept));
    }
}

} // namespace
