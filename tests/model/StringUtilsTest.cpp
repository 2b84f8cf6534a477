#include "model/Options.h"
#include "model/StringUtils.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString S(const char16_t* s)
{
    return QString::fromUtf16(s);
}

class StringHelpersTest : public ::testing::Test {
protected:
    void TearDown() override { Separators.Reset(); }
};

TEST_F(StringHelpersTest, TextBeforeAndAfterFindTheSeparatorIgnoringCase)
{
    struct Case {
        const char16_t* sep;
        const char16_t* s;
        const char16_t* before;
        const char16_t* after;
    };
    const Case cases[] = {
        {u" Change", u"On a CHANGE b change", u"On a", u" b change"},
        {u"=", u"y=2x", u"y", u"2x"},
        {u"=", u"2x", u"2x", u""},    // absent: all before, nothing after
        {u"x", u"x", u"", u""},
        {u"ção", u"AÇÃO:x", u"A", u":x"},
        {u"", u"abc", u"abc", u""}, // an empty separator occurs nowhere
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextBefore(S(c.sep), S(c.s)), S(c.before)) << QString(S(c.s)).toStdString();
        EXPECT_EQ(TextAfter(S(c.sep), S(c.s)), S(c.after)) << QString(S(c.s)).toStdString();
    }
    const QString longTail(12000, u'z');
    EXPECT_EQ(TextAfter(QStringLiteral(":"), QStringLiteral("a:") + longTail).size(), 10000);
}

TEST_F(StringHelpersTest, PosIgnoreCaseIsOneBased)
{
    EXPECT_EQ(PosIgnoreCase(QStringLiteral("ON"), QStringLiteral("xon")), 2);
    EXPECT_EQ(PosIgnoreCase(QStringLiteral("x"), QStringLiteral("X")), 1);
    EXPECT_EQ(PosIgnoreCase(QStringLiteral("q"), QStringLiteral("abc")), 0);
    EXPECT_EQ(PosIgnoreCase(QString(), QStringLiteral("abc")), 0);
}

TEST_F(StringHelpersTest, SplitsFollowTheDocumentsListSeparator)
{
    QString left, right;
    Separators.ListSepChar = u';';
    SplitAtListSeparator(QStringLiteral(" 1, 5 ; 2 ;3"), left, right);
    EXPECT_EQ(left, QStringLiteral("1,5"));
    EXPECT_EQ(right, QStringLiteral(" 2 ;3"));
    SplitAtListSeparator(QStringLiteral("a b"), left, right);
    EXPECT_EQ(left, QStringLiteral("ab"));
    EXPECT_EQ(right, QString());
    EXPECT_EQ(CommaToListSeparator(QStringLiteral("1,2,3")), QStringLiteral("1;2;3"));
    Separators.ListSepChar = u',';
    EXPECT_EQ(CommaToListSeparator(QStringLiteral("1,2")), QStringLiteral("1,2"));

    SplitAtTab(QStringLiteral("  name \tvalue\tmore"), left, right);
    EXPECT_EQ(left, QStringLiteral("name"));
    EXPECT_EQ(right, QStringLiteral("value\tmore"));
}

TEST_F(StringHelpersTest, SmallStringHelpers)
{
    EXPECT_EQ(ReplaceAll(QStringLiteral("ab"), QStringLiteral("x"), QStringLiteral("abcABab")), QStringLiteral("xcABx"));
    EXPECT_EQ(ReplaceAll(QString(), QStringLiteral("x"), QStringLiteral("abc")), QStringLiteral("abc"));
    EXPECT_EQ(CountChar(u'a', QStringLiteral("banana")), 3);
    EXPECT_TRUE(ContainsAnyChar(QStringLiteral("a<b"), u"<>="));
    EXPECT_FALSE(ContainsAnyChar(QStringLiteral("ab"), u"<>="));
    EXPECT_EQ(FullWidthSpaceToSpace(S(u"a\u3000b\u3000")), QStringLiteral("a b "));
    EXPECT_EQ(RemoveSpaces(QStringLiteral(" a b ")), QStringLiteral("ab"));
    EXPECT_EQ(LastCharStr(QStringLiteral("abc")), QStringLiteral("c"));
    EXPECT_EQ(LastCharStr(QString()), QString());
    EXPECT_TRUE(StartsWithHash(QStringLiteral("#On a Change")));
    EXPECT_FALSE(StartsWithHash(QStringLiteral(" #x")));
}

TEST_F(StringHelpersTest, RemoveFileExtLooksOnlyAtTheFileName)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("graph.kvf"), QStringLiteral("graph")},
        {QStringLiteral("/home/u/a.b/graph.tar.kvp"), QStringLiteral("/home/u/a.b/graph.tar")},
        {QStringLiteral("/home/u/a.b/graph"), QStringLiteral("/home/u/a.b/graph")},
        {QStringLiteral("noext"), QStringLiteral("noext")},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(RemoveFileExt(name), expected) << name.toStdString();
}

TEST_F(StringHelpersTest, ExpandLongPathCleansExistingPathsOnly)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Sub Dir")));
    const QString clean = QDir::cleanPath(QFileInfo(dir.path()).absoluteFilePath()) + QStringLiteral("/Sub Dir");

    EXPECT_EQ(ExpandLongPath(dir.path() + QStringLiteral("/./Sub Dir/")), clean);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("x")));
    EXPECT_EQ(ExpandLongPath(dir.path() + QStringLiteral("/x/../Sub Dir")), clean);
    EXPECT_EQ(ExpandLongPath(QDir::current().relativeFilePath(clean)), clean);
    // Missing paths come back as given, less a trailing slash and any "/./".
    EXPECT_EQ(ExpandLongPath(dir.path() + QStringLiteral("/missing/././a.kvf/")),
              dir.path() + QStringLiteral("/missing/a.kvf"));
    EXPECT_EQ(ExpandLongPath(dir.path() + QStringLiteral("/y/../Sub Dir")), dir.path() + QStringLiteral("/y/../Sub Dir"));
    EXPECT_EQ(ExpandLongPath(QString()), QString());
}

} // namespace
