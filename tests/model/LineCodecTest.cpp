#include "model/LineCodec.h"
#include "model/Options.h"
#include "tests/QtPrinters.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class LineCodecTest : public ::testing::Test {
protected:
    void TearDown() override { Separators.Reset(); }

    static void UseCommaLocale()
    {
        Separators.DecimalChar = u',';
        Separators.ListSepChar = u';';
    }

    // A list holding the given lines, the first one loaded.
    static TstringData Reading(const QStringList& lines)
    {
        TstringData data;
        data.Assign(lines);
        data.LoadLine();
        return data;
    }
};

TEST_F(LineCodecTest, FieldsAreJoinedByOneSeparator)
{
    struct Case {
        std::vector<const char*> fields;
        const char* line;
    };
    const Case cases[] = {
        {{"", "a"}, "a"},       // an empty first field is lost
        {{"a", "", "b"}, "a  b"}, // a later one leaves two blanks
        {{"1", "2", "3"}, "1 2 3"},
        {{""}, ""},
    };
    for (const Case& c : cases) {
        TstringData data;
        for (const char* f : c.fields)
            data.AddField(QString::fromUtf8(f));
        data.EndLine();
        ASSERT_EQ(data.Count(), 1);
        EXPECT_EQ(data.Lines()[0], QString::fromUtf8(c.line));
        EXPECT_TRUE(data.Line.isEmpty());
    }

    TstringData tabs;
    tabs.AddTabField(QStringLiteral("data"));
    tabs.AddTabField(QStringLiteral("1"));
    tabs.AddTabField(QStringLiteral("x y"));
    EXPECT_EQ(tabs.Line, QStringLiteral("data\t1\tx y"));
}

TEST_F(LineCodecTest, TypedWritersUseTheDocumentsDecimalCharacter)
{
    TstringData data;
    data.AddInt(-3);
    data.AddFloat(2.5L);
    data.AddBool(true);
    data.AddBool(false);
    data.AddFloat(1.0L / 3.0L);
    data.EndLine();
    EXPECT_EQ(data.Lines()[0], QStringLiteral("-3 2.5 1 0 0.333333333333333"));

    UseCommaLocale();
    data.WriteFloat(-0.125L);
    data.WriteInt(7);
    data.WriteBool(true);
    data.WriteStr(QStringLiteral("a b"));
    EXPECT_EQ(data.Lines().mid(1), (QStringList{QStringLiteral("-0,125"), QStringLiteral("7"),
                                                QStringLiteral("1"), QStringLiteral("a b")}));
}

TEST_F(LineCodecTest, FormulasAreWrittenWithTheirSpecialCharactersSpelledOut)
{
    const std::pair<const char*, const char*> cases[] = {
        {"3·x×2°", "3*x&2degree"},
        {"sin(30°)·°", "sin(30degree)*degree"},
        {"x^2", "x^2"},
        {"", ""},
    };
    for (const auto& [text, encoded] : cases)
        EXPECT_EQ(EncodeSpecialChars(QString::fromUtf8(text)), QString::fromUtf8(encoded));

    TstringData data;
    TKavirofunction f;
    f.Text = QStringLiteral("3·x×2°");
    data.WriteFunction(f);
    EXPECT_EQ(data.Lines()[0], QStringLiteral("3*x&2degree"));
}

TEST_F(LineCodecTest, IntegerTokensAreTakenOffTheFront)
{
    TstringData data = Reading({QStringLiteral("  12 x")});
    int i = 0;
    data.ReadInt(i);
    EXPECT_EQ(i, 12);
    EXPECT_EQ(data.Line, QStringLiteral("x"));
    data.ReadInt(i);
    EXPECT_EQ(i, 12); // "x" is no integer
    EXPECT_TRUE(data.Line.isEmpty());
    data.ReadInt(i);
    EXPECT_EQ(i, 12); // nothing left

    const std::pair<const char*, int> tokens[] = {
        {"42", 42}, {"-7", -7}, {"+5", 5}, {"2147483647", 2147483647},
        {"2147483648", -1}, {"1.5", -1}, {"1e3", -1}, {"0x10", -1}, {"+-1", -1}, {"-", -1},
    };
    for (const auto& [token, expected] : tokens) {
        TstringData one = Reading({QString::fromUtf8(token)});
        int value = -1;
        one.ReadInt(value);
        EXPECT_EQ(value, expected) << token;
    }
}

TEST_F(LineCodecTest, FloatTokensReadWithTheDocumentsDecimalCharacter)
{
    struct Case {
        bool comma;
        const char* token;
        long double expected; // -99 when the target must stay
    };
    const Case cases[] = {
        {false, "2.5", 2.5L}, {false, "-1E-7", -1E-7L}, {false, "1e4000", 1e4000L},
        {false, "2,5", -99.0L}, {true, "2,5", 2.5L}, {true, "2.5", -99.0L},
        {false, "nan", -99.0L}, {false, "inf", -99.0L}, {false, "-INF", -99.0L},
        {false, "1e6000", -99.0L}, {false, "abc", -99.0L},
    };
    for (const Case& c : cases) {
        Separators.Reset();
        if (c.comma)
            UseCommaLocale();
        TstringData data = Reading({QString::fromUtf8(c.token) + QStringLiteral(" rest")});
        long double x = -99.0L;
        data.ReadFloat(x);
        EXPECT_EQ(x, c.expected) << c.token;
        EXPECT_EQ(data.Line, QStringLiteral("rest"));
    }
}

TEST_F(LineCodecTest, FlagsAndBytes)
{
    // Only 1 is true; an unreadable token keeps the flag.
    const std::tuple<const char*, bool, bool> flags[] = {
        {"1", false, true}, {"0", true, false}, {"2", true, false}, {"x", true, true}, {"x", false, false},
    };
    for (const auto& [token, before, after] : flags) {
        TstringData data = Reading({QString::fromUtf8(token)});
        bool b = before;
        data.ReadBool(b);
        EXPECT_EQ(b, after) << token;
        TstringData again = Reading({QString::fromUtf8(token)});
        std::uint8_t byteFlag = before ? 1 : 0;
        again.ReadBool(byteFlag);
        EXPECT_EQ(byteFlag, after ? 1 : 0) << token;
    }

    const std::pair<const char*, int> bytes[] = {{"200", 200}, {"0", 0}, {"256", 9}, {"-1", 9}, {"z", 9}};
    for (const auto& [token, expected] : bytes) {
        TstringData data = Reading({QString::fromUtf8(token)});
        std::uint8_t b = 9;
        data.ReadByte(b);
        EXPECT_EQ(b, expected) << token;
    }
}

TEST_F(LineCodecTest, TabFieldsAndCharacters)
{
    TstringData data = Reading({QStringLiteral(" a b \tc\t d "), QStringLiteral("@ 0.1")});
    QString s;
    data.ReadTabField(s);
    EXPECT_EQ(s, QStringLiteral("a b"));
    EXPECT_EQ(data.Line, QStringLiteral("c\t d "));
    data.ReadTabField(s);
    data.ReadTabField(s);
    EXPECT_EQ(s, QStringLiteral("d"));
    EXPECT_TRUE(data.Line.isEmpty());

    data.NextLine();
    char16_t c = u't';
    data.ReadChar(c);
    EXPECT_EQ(c, u'@');
    EXPECT_EQ(data.Line, QStringLiteral(" 0.1"));
    data.Line.clear();
    data.ReadChar(c);
    EXPECT_EQ(c, u'@');
}

TEST_F(LineCodecTest, LineReadersMoveOnAndReadingPastTheEndGivesEmptyLines)
{
    TstringData data = Reading({QStringLiteral("3 extra"), QStringLiteral("1.5"), QStringLiteral("1"),
                                QStringLiteral("7"), QStringLiteral("name\tx"), QStringLiteral("t")});
    int i = 0;
    long double x = 0.0L;
    bool b = false;
    std::uint8_t byte = 0;
    QString s;
    char16_t c = u' ';
    data.ReadIntLn(i);
    data.ReadFloatLn(x);
    data.ReadBoolLn(b);
    data.ReadByteLn(byte);
    data.ReadTabFieldLn(s);
    data.ReadCharLn(c);
    EXPECT_EQ(i, 3);
    EXPECT_EQ(x, 1.5L);
    EXPECT_TRUE(b);
    EXPECT_EQ(byte, 7);
    EXPECT_EQ(s, QStringLiteral("name"));
    EXPECT_EQ(c, u't');

    EXPECT_TRUE(data.Line.isEmpty());
    data.ReadIntLn(i);
    data.NextLine();
    EXPECT_EQ(i, 3);
    EXPECT_TRUE(data.Line.isEmpty());
    EXPECT_TRUE(data.IsAtEnd());
    // Reading takes nothing out of the list.
    EXPECT_EQ(data.Count(), 6);
}

TEST_F(LineCodecTest, SkipToFindsTheCaptionAsWritten)
{
    const QStringList lines{QStringLiteral("head"), QStringLiteral(" Point"), QStringLiteral("x"),
                            QStringLiteral("Points\t3"), QStringLiteral("after"), QStringLiteral("last")};
    TstringData data = Reading(lines);
    data.SkipTo(QStringLiteral("Point"));
    EXPECT_EQ(data.Line, QStringLiteral("after"));

    TstringData exact = Reading({QStringLiteral("Point"), QStringLiteral("next"), QStringLiteral("end")});
    exact.SkipTo(QStringLiteral("Point"));
    EXPECT_EQ(exact.Line, QStringLiteral("next"));

    // Not found: stops with one line left, that line in the buffer.
    TstringData missing = Reading(lines);
    missing.SkipTo(QStringLiteral("Table"));
    EXPECT_TRUE(missing.IsAtEnd());
    EXPECT_EQ(missing.Line, QStringLiteral("last"));

    // An empty line never matches, and an empty list ends at once.
    TstringData blanks = Reading({QString(), QString(), QStringLiteral("----------"), QStringLiteral("x"), QStringLiteral("y")});
    blanks.SkipTo(QStringLiteral("--------"));
    EXPECT_EQ(blanks.Line, QStringLiteral("x"));
    TstringData empty;
    empty.SkipTo(QStringLiteral("Point"));
    EXPECT_TRUE(empty.IsAtEnd());
}

TEST_F(LineCodecTest, SeparatorAndEndTests)
{
    const std::pair<const char*, bool> lines[] = {
        {"----------", true}, {"--------", true}, {"-------", false}, {" --------", false}, {"", false},
    };
    for (const auto& [line, separator] : lines) {
        TstringData data = Reading({QString::fromUtf8(line)});
        EXPECT_EQ(data.IsSeparatorLine(), separator) << line;
    }

    TstringData data = Reading({QStringLiteral("a"), QStringLiteral("b")});
    EXPECT_FALSE(data.IsAtEnd());
    data.NextLine();
    EXPECT_TRUE(data.IsAtEnd());
    data.Assign(data.Lines()); // reading starts again
    EXPECT_FALSE(data.IsAtEnd());
}

TEST_F(LineCodecTest, SavingWritesFilePunctuation)
{
    UseCommaLocale();
    TstringData data;
    data.Assign({QStringLiteral("head 1,5;2"), QStringLiteral("1,5;2"), QStringLiteral("a;b,c"),
                 QStringLiteral("2;3;"), QStringLiteral(",")});
    data.DelocalizeNumbers();
    EXPECT_EQ(data.Lines(), (QStringList{QStringLiteral("head 1,5;2"), QStringLiteral("1.5,2"),
                                         QStringLiteral("a,b.c"), QStringLiteral("2,3;"), QStringLiteral(",")}));

    Separators.Reset();
    TstringData point;
    point.Assign({QStringLiteral("h"), QStringLiteral("1,5;2")});
    point.DelocalizeNumbers();
    EXPECT_EQ(point.Lines()[1], QStringLiteral("1,5;2"));
}

TEST_F(LineCodecTest, LoadingTurnsFilePunctuationIntoTheLocales)
{
    UseCommaLocale();
    const QStringList head{QStringLiteral("Kaviro/win 2.8"), QStringLiteral("[Don't Edit] 3.14"),
                           QStringLiteral("1.5,2"), QStringLiteral("1.5,2")};
    TstringData data;
    data.Assign(head + QStringList{QStringLiteral("1.5,2"), QStringLiteral("1.05"), QStringLiteral("a. b"),
                                   QStringLiteral("x.y .5"), QStringLiteral("2,")});
    data.LocalizeNumbers();
    EXPECT_EQ(data.Lines().mid(0, 4), head); // lines 0..3 are never converted
    EXPECT_EQ(data.Lines().mid(4), (QStringList{QStringLiteral("1,5;2"), QStringLiteral("1,05"), QStringLiteral("a. b"),
                                                QStringLiteral("x.y ,5"), QStringLiteral("2,")}));

    // A file whose number line already holds a comma is in the locale's form.
    TstringData kept;
    kept.Assign({QStringLiteral("h"), QStringLiteral("[Don't Edit] 3,14"), QString(), QString(), QStringLiteral("1.5,2")});
    kept.LocalizeNumbers();
    EXPECT_EQ(kept.Lines()[4], QStringLiteral("1.5,2"));

    Separators.Reset();
    TstringData point;
    point.Assign(head + QStringList{QStringLiteral("1.5,2")});
    point.LocalizeNumbers();
    EXPECT_EQ(point.Lines()[4], QStringLiteral("1.5,2"));
}

TEST_F(LineCodecTest, NumbersSurviveASaveAndLoadInACommaLocale)
{
    UseCommaLocale();
    const long double values[] = {1.05L, -0.001L, 2.5E-9L, 123456.789L, 0.0L};
    TstringData data;
    data.WriteStr(QStringLiteral("Kaviro/win 2.8"));
    data.AddField(QStringLiteral("[Don't Edit]"));
    data.AddFloat(3.14L);
    data.EndLine();
    data.WriteStr(QStringLiteral("----------"));
    data.WriteStr(QStringLiteral("caption"));
    for (long double v : values)
        data.AddFloat(v);
    data.EndLine();

    data.DelocalizeNumbers();
    EXPECT_EQ(data.Lines()[1], QStringLiteral("[Don't Edit] 3.14"));
    EXPECT_EQ(data.Lines()[4], QStringLiteral("1.05 -0.001 2.5E-9 123456.789 0"));
    data.LocalizeNumbers();
    data.Assign(data.Lines());
    data.LoadLine();
    data.SkipTo(QStringLiteral("caption"));
    for (long double v : values) {
        long double x = -99.0L;
        data.ReadFloat(x);
        EXPECT_EQ(x, v);
    }
}

} // namespace
