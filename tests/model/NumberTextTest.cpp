#include "model/MessageBox.h"
#include "model/NumberText.h"
#include "model/Options.h"
#include "model/StringUtils.h"
#include "platform/fakes/RecordingMessageSink.h"

#include "tests/QtPrinters.h"
#include "tests/model/ExtendedEdgeValues.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

TEST(NumberTextTest, ParseExtendedAcceptsPlainNumbersOnly)
{
    struct Case {
        const char16_t* text;
        char16_t decimal;
        bool ok;
        long double value;
    };
    const Case cases[] = {
        {u"1.5", u'.', true, 1.5L},
        {u"  -2e3 ", u'.', true, -2000.0L},
        {u"+.5", u'.', true, 0.5L},
        {u"7.", u'.', true, 7.0L},
        {u"1E-5000", u'.', true, 0.0L},
        {u"1,5", u',', true, 1.5L},
        {u"0.1", u'.', true, 0.1L},
        {u"1.5", u',', false, 0},
        {u"1,5", u'.', false, 0},
        {u"nan", u'.', false, 0},
        {u"inf", u'.', false, 0},
        {u"-INF", u'.', false, 0},
        {u"1e5000", u'.', false, 0},
        {u"0x10", u'.', false, 0},
        {u"1e", u'.', false, 0},
        {u"--1", u'.', false, 0},
        {u"+-1", u'.', false, 0},
        {u"+", u'.', false, 0},
        {u"", u'.', false, 0},
        {u"   ", u'.', false, 0},
        {u"1 2", u'.', false, 0},
    };
    for (const Case& c : cases) {
        long double v = -99.0L;
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(ParseExtended(text, QChar(c.decimal), v), c.ok) << text.toStdString();
        if (c.ok)
            EXPECT_EQ(v, c.value) << text.toStdString();
        else
            EXPECT_EQ(v, -99.0L) << "value must stay untouched: " << text.toStdString();
    }
}

TEST(NumberTextTest, FormatGeneralSwitchesToScientificOutsideItsRange)
{
    struct Case {
        long double v;
        int digits;
        const char* text;
    };
    const Case cases[] = {
        {0.0L, 6, "0"},
        {-0.0L, 6, "0"},
        {100.0L, 6, "100"},
        {123456.0L, 6, "123456"},
        {1234567.0L, 6, "1.23457E6"},
        {999999.5L, 6, "1E6"},
        {-2.5L, 6, "-2.5"},
        {1.0L / 3.0L, 6, "0.333333"},
        {0.0001L, 6, "0.0001"},
        {0.00001L, 6, "0.00001"},
        {0.0000012L, 6, "1.2E-6"},
        {1.5E-7L, 12, "1.5E-7"},
        {1E20L, 15, "1E20"},
        {0.1L, 18, "0.1"},
        {3.14159265358979323846L, 12, "3.14159265359"},
        {2.0L / 3.0L, 30, "0.666666666666666667"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatGeneral(c.v, c.digits, u'.'), QString::fromLatin1(c.text)) << c.text;
    EXPECT_EQ(FormatGeneral(-2.5L, 6, u','), QStringLiteral("-2,5"));
    EXPECT_EQ(FormatGeneral(1.25E-9L, 6, u','), QStringLiteral("1,25E-9"));
}

class NumberTextWithMessages : public ::testing::Test {
protected:
    void SetUp() override { Separators.Reset(); }
    void TearDown() override { Separators.Reset(); }
    platform::RecordingMessageSink sink;
    platform::ScopedMessageSink scope{sink};
};

TEST_F(NumberTextWithMessages, StrToExtendedCheckedSetsTheErrorFlag)
{
    int flag = 7;
    EXPECT_EQ(StrToExtendedChecked(QStringLiteral("2.25"), flag), 2.25L);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(StrToExtendedChecked(QStringLiteral("two"), flag), 0.0L);
    EXPECT_EQ(flag, 1);
    EXPECT_TRUE(sink.empty());

    Separators.DecimalChar = u',';
    EXPECT_EQ(StrToExtendedChecked(QStringLiteral("2,25"), flag), 2.25L);
    EXPECT_EQ(flag, 0);
}

TEST_F(NumberTextWithMessages, StrToIntCheckedRoundsHalvesToEven)
{
    QString text = QStringLiteral("12.5");
    int n = 0;
    EXPECT_TRUE(StrToIntChecked(text, n));
    EXPECT_EQ(n, 12);
    text = QStringLiteral("-13.5");
    EXPECT_TRUE(StrToIntChecked(text, n));
    EXPECT_EQ(n, -14);
    EXPECT_EQ(text, QStringLiteral("-13.5"));
    EXPECT_TRUE(sink.empty());
}

TEST_F(NumberTextWithMessages, StrToIntCheckedRefusesNonNumbersAndHugeNumbers)
{
    for (const QString& bad : {QStringLiteral("abc"), QStringLiteral("1e30"), QStringLiteral("-3e9")}) {
        QString text = bad;
        int n = 42;
        EXPECT_FALSE(StrToIntChecked(text, n)) << bad.toStdString();
        EXPECT_EQ(n, 42);
        EXPECT_EQ(text, QStringLiteral("42"));
        ASSERT_FALSE(sink.empty());
        EXPECT_EQ(sink.last().text, QStringLiteral("Tipo numérico inválido"));
        EXPECT_EQ(sink.last().kind, MsgError);
        EXPECT_EQ(sink.last().buttons, MsgOk);
    }
    EXPECT_EQ(sink.messages().size(), 3u);
}

TEST(StringUtilsTest, DeleteCharsLeaveEmptyStringsAlone)
{
    QString s = QStringLiteral("abc");
    DeleteFirstChar(s);
    EXPECT_EQ(s, QStringLiteral("bc"));
    DeleteLastChar(s);
    EXPECT_EQ(s, QStringLiteral("b"));
    DeleteLastChar(s);
    DeleteLastChar(s);
    DeleteFirstChar(s);
    EXPECT_TRUE(s.isEmpty());
}

TEST(MessageBoxTest, ShowMsgBoxAnswersFromTheInstalledSink)
{
    platform::RecordingMessageSink sink;
    platform::ScopedMessageSink scope(sink);
    sink.scriptAnswers({false, true});
    EXPECT_FALSE(ShowMsgBox(QStringLiteral("Apagar com [OK]"), MsgWarning, MsgOkCancel));
    EXPECT_TRUE(ShowMsgBox(QStringLiteral("Sair com [OK]"), MsgWarning, MsgOkCancel));
    ASSERT_EQ(sink.messages().size(), 2u);
    EXPECT_EQ(sink.messages()[0].text, QStringLiteral("Apagar com [OK]"));
    EXPECT_EQ(sink.messages()[1].buttons, MsgOkCancel);
}

} // namespace

namespace {

TEST(NumberTextTest, NumbersBelowTheNormalRangeReadToTheNearestValue)
{
    // Subnormal values are k · 2^-16445.
    const auto subnormal = [](long double k) { return std::ldexp(k, -16445); };
    struct Case {
        const char16_t* text;
        long double value;
    };
    const Case cases[] = {
        {u"4e-4951", subnormal(1)},
        {u"-3.6451995318824746025e-4951", -subnormal(1)},
        {u"1.8e-4951", 0.0L},         // below half the smallest
        {u"1.9e-4951", subnormal(1)}, // above it
        {u"1.1e-4950", subnormal(3)},
        {u"0.000001e-4945", subnormal(0)},
        {u"1e-99999999999999", 0.0L},
        {u"3.3621031431120935063e-4932", std::numeric_limits<long double>::min()},
    };
    for (const Case& c : cases) {
        long double v = -1.0L;
        EXPECT_TRUE(ParseExtended(QStringView(c.text), u'.', v)) << QString::fromUtf16(c.text).toStdString();
        EXPECT_EQ(v, c.value) << QString::fromUtf16(c.text).toStdString();
    }
    // Shortest and long texts of subnormal values read back exactly; the
    // long ones lie within a hair of the next value.
    for (std::uint64_t k = 1; k < (std::uint64_t{1} << 63); k = k * 3 + 1) {
        const long double x = subnormal(static_cast<long double>(k));
        for (const int digits : {-1, 19, 21}) {
            char buf[64];
            const auto r = digits < 0 ? std::to_chars(buf, buf + sizeof buf, x)
                                      : std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, digits);
            long double v = 0.0L;
            ASSERT_TRUE(ParseExtended(QString::fromLatin1(buf, r.ptr - buf), u'.', v));
            EXPECT_EQ(v, x) << std::string(buf, r.ptr);
        }
    }
}

// Printed, read and printed again gives the same text, at every precision
// and at the edges of the format (a value below the normal range was cut
// like one beyond the largest, and drifted down at each round).
TEST(NumberTextTest, GeneralTextsPrintTheSameAfterReadingBack)
{
    for (const long double x : ExtendedEdgeValues()) {
        for (const int precision : {1, 6, 12, 15, 18}) {
            const QString text = FormatGeneral(x, precision, u'.');
            long double v = 0.0L;
            ASSERT_TRUE(ParseExtended(text, u'.', v)) << text.toStdString();
            EXPECT_EQ(FormatGeneral(v, precision, u'.'), text);
        }
    }
    EXPECT_EQ(FormatGeneral(std::ldexp(137166702570541362.0L, -16445), 15, u'.'), QStringLiteral("5E-4934"));
    EXPECT_EQ(FormatGeneral(std::numeric_limits<long double>::denorm_min(), 15, u'.'),
              QStringLiteral("3.64519953188247E-4951"));
}

TEST(NumberTextTest, ShortestTextsReadBackToTheSameValue)
{
    for (const long double x : ExtendedEdgeValues()) {
        const QString text = FormatShortest(x, u'.');
        long double v = -1.0L;
        ASSERT_TRUE(ParseExtended(text, u'.', v)) << text.toStdString();
        EXPECT_EQ(v, x) << text.toStdString();
        EXPECT_EQ(FormatShortest(v, u'.'), text);
    }
    struct Case {
        long double value;
        const char16_t* text;
    };
    const Case cases[] = {
        {0.1L, u"0.1"},
        {5.0L, u"5"},
        {-2.5E-7L, u"-2.5E-7"},
        {0.00001L, u"0.00001"},
        {1E14L, u"100000000000000"},
        {1E15L, u"1E15"},
        {-0.0L, u"0"},
        {1.0L / 3.0L, u"0.33333333333333333334"},
        {1.0L + 0x1p-63L, u"1.0000000000000000001"},
        {std::numeric_limits<long double>::denorm_min(), u"4E-4951"},
        {std::numeric_limits<long double>::max(), u"1.189731495357231765E4932"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatShortest(c.value, u'.'), QString::fromUtf16(c.text));
    EXPECT_EQ(FormatShortest(-2.5L, u','), QStringLiteral("-2,5"));
}

TEST(NumberTextTest, TheLargestValuePrintsAsATextThatReadsBack)
{
    const long double largest = std::numeric_limits<long double>::max();
    for (int precision = 1; precision <= 18; ++precision) {
        for (const long double x : {largest, -largest, std::nextafter(largest, 0.0L)}) {
            const QString text = FormatGeneral(x, precision, u'.');
            long double v = 0.0L;
            ASSERT_TRUE(ParseExtended(text, u'.', v)) << text.toStdString();
            EXPECT_LE(std::fabs(v), largest);
            EXPECT_GT(std::fabs(v), largest * 0.8L) << text.toStdString();
        }
    }
    EXPECT_EQ(FormatGeneral(largest, 2, u'.'), QStringLiteral("1.1E4932"));
    EXPECT_EQ(FormatGeneral(largest, 15, u'.'), QStringLiteral("1.18973149535723E4932"));
    EXPECT_EQ(FormatGeneral(-largest, 16, u','), QStringLiteral("-1,189731495357231E4932"));
    EXPECT_EQ(FormatGeneral(1.26E4000L, 2, u'.'), QStringLiteral("1.3E4000")); // others still round up
}

} // namespace
