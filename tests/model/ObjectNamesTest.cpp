#include "model/DocumentState.h"
#include "model/ObjectNames.h"

#include <gtest/gtest.h>

namespace {

TEST(ObjectNamesTest, PointLettersAndIndexes)
{
    const std::pair<int, QChar> letters[] = {{1, u'P'}, {7, u'V'}, {8, u'A'}, {22, u'O'}, {250, u'x'},
                                             {251, u'y'}, {0, u' '}, {23, u' '}, {-1, u' '}};
    for (const auto& [i, letter] : letters)
        EXPECT_EQ(PointLetter(i), letter) << i;

    const std::pair<QString, int> indexes[] = {{QStringLiteral("P"), 1}, {QStringLiteral("A"), 8},
                                               {QStringLiteral("O"), 22}, {QStringLiteral("p"), -1},
                                               {QStringLiteral("PQ"), -1}, {QString(), -1},
                                               {QStringLiteral("x"), -1}};
    for (const auto& [s, i] : indexes)
        EXPECT_EQ(PointIndex(s), i) << s.toStdString();
}

TEST(ObjectNamesTest, PointIndexOfNameNeedsAnExistingObject)
{
    ResetObjectRecords();
    DocumentTables.Points[8].Kind = ObjectPoint; // A
    const std::pair<QString, int> cases[] = {
        {QStringLiteral("a"), 8},   {QStringLiteral("A"), 8},   {QStringLiteral("A.x"), 8},
        {QStringLiteral("B"), 0},   {QStringLiteral("x"), 250}, {QStringLiteral("Y"), 251},
        {QStringLiteral("z"), 0},   {QString(), 0},
    };
    for (const auto& [s, i] : cases)
        EXPECT_EQ(PointIndexOfName(s), i) << s.toStdString();
    ResetObjectRecords();
    EXPECT_EQ(PointIndexOfName(QStringLiteral("a")), 0);
}

TEST(ObjectNamesTest, ParameterAndUserFunctionNames)
{
    const std::pair<QString, int> params[] = {{QStringLiteral("y"), 0},  {QStringLiteral("a"), 1},
                                              {QStringLiteral("@"), 13}, {QStringLiteral("k"), 14},
                                              {QStringLiteral("x"), -1}, {QStringLiteral("ab"), -1},
                                              {QStringLiteral("A"), -1}, {QString(), -1}};
    for (const auto& [s, i] : params)
        EXPECT_EQ(PrmIndex(s), i) << s.toStdString();

    const std::pair<QString, int> functions[] = {{QStringLiteral("f"), 1},  {QStringLiteral("h"), 3},
                                                 {QStringLiteral("f1"), 4}, {QStringLiteral("f5"), 8},
                                                 {QStringLiteral("F"), 0},  {QStringLiteral("f6"), 0}};
    for (const auto& [s, i] : functions)
        EXPECT_EQ(UserFunctionIndex(s), i) << s.toStdString();
}

TEST(ObjectNamesTest, VertexCounts)
{
    const std::uint8_t vertices[11] = {1, 2, 1, 250, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(CountVertexRefs(1, vertices), 2);
    EXPECT_EQ(CountVertexRefs(250, vertices), 1);
    EXPECT_EQ(CountVertexRefs(3, vertices), 0);
    EXPECT_EQ(CountVertexRefs(0, vertices), 0);
    EXPECT_EQ(CountVertices(vertices), 4);
}

} // namespace
