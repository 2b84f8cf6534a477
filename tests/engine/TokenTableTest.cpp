#include "engine/TokenTable.h"
#include "engine/fakes/RecordingTokenDumpViewer.h"
#include "platform/ServiceSlot.h"
#include "tests/engine/EngineTest.h"

#include "tests/QtPrinters.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class TokenTableTest : public EngineTest {
protected:    static const TTokenEntry& entry(int code) { return Vocabulary.TokenTable[code]; }
    static std::vector<int> members(const TWideCharSet& set)
    {
        std::vector<int> codes;
        for (int i = 0; i < TWideCharSet::Size; ++i) {
            if (CharSetHasIndex(set, i))
                codes.push_back(i);
        }
        return codes;
    }
    static std::vector<int> range(int lo, int hi)
    {
        std::vector<int> r;
        for (int i = lo; i <= hi; ++i)
            r.push_back(i);
        return r;
    }
};

TEST_F(TokenTableTest, EntriesSitAtTheirCodes)
{
    struct Case {
        int code;
        const char* name;
        const char* kind;
    };
    const Case cases[] = {
        {1, " ", "z "},     {2, ",", "z,"},      {7, "Send", "Z:"},   {9, "°", "md"},
        {13, "and", "a&"},  {20, "=", "a\\"},    {23, "×", "a?"},     {24, "·", "a*"},
        {27, "mod", "a\\"}, {29, "arg", "rm"},   {54, "Ptan", "rv"},  {56, "P", "qg"},
        {64, "Cells", "qc"}, {68, "not", "oc"},  {78, "log", "nl"},   {80, "_", "ny"},
        {93, "Pressed", "nz"}, {94, "log", "ql"}, {95, "sol", "zs"},  {96, "y1", "y1"},
        {104, "y9", "y9"},  {105, "y10", "ya"},  {115, "y20", "yk"},  {116, "w", "kw"},
        {118, "x", "kx"},   {120, "a", "k1"},    {132, "@", "kq"},    {133, "k", "kd"},
        {137, "SZERO", "k0"}, {139, "MouseIs", "kM"}, {140, "''", "gs"}, {141, "'", "gt"},
        {142, "f1", "fa"},  {147, "f", "fc"},    {149, "h", "fe"},    {150, "F1", "Ff"},
        {157, "H", "Fj"},   {158, "C1", "C1"},   {166, "C9", "C9"},   {167, "P", "pp"},
        {174, "A", "pa"},   {188, "O", "po"},    {189, "X", "px"},    {190, "Y", "py"},
        {191, "(", "c("},   {194, "]", "c]"},    {195, ".", "b."},    {196, "error", "!r"},
        {197, "0", "b0"},   {206, "9", "b9"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(entry(c.code).Name, QString::fromUtf8(c.name)) << c.code;
        EXPECT_EQ(entry(c.code).Kind, QString::fromUtf8(c.kind)) << c.code;
    }
    EXPECT_TRUE(entry(0).Name.isEmpty());
    EXPECT_TRUE(entry(207).Name.isEmpty());
}

TEST_F(TokenTableTest, FindTokenByNameTakesTheFirstExactMatch)
{
    EXPECT_EQ(FindTokenByName(u"log"), 78);
    EXPECT_EQ(FindTokenByName(u"P"), 56);
    EXPECT_EQ(FindTokenByName(u"F"), 155);
    EXPECT_EQ(FindTokenByName(u"Log"), 0);
    EXPECT_EQ(FindTokenByName(u""), 0);
    EXPECT_EQ(FindTokenByName(u"y20"), 115);
}

TEST_F(TokenTableTest, NamedCodesTellDuplicateNamesApartByClass)
{
    EXPECT_EQ(TokenCodes.Log, 78);
    EXPECT_EQ(TokenCodes.LogBase, 94);
    EXPECT_EQ(TokenCodes.PointFunc, 56);
    EXPECT_EQ(TokenCodes.PointO, 188);
    EXPECT_EQ(TokenCodes.AxisX, 189);
    EXPECT_EQ(TokenCodes.Theta, 132);
    EXPECT_EQ(TokenCodes.Sol, 95);
    EXPECT_EQ(TokenCodes.Error, 196);
    // The comparisons follow ">=" in a fixed order.
    EXPECT_EQ(TokenCodes.GreaterEqual + 1, TokenCodes.LessEqual);
    EXPECT_EQ(TokenCodes.GreaterEqual + 2, TokenCodes.NotEqual);
    EXPECT_EQ(TokenCodes.GreaterEqual + 3, TokenCodes.Greater);
    EXPECT_EQ(TokenCodes.GreaterEqual + 4, TokenCodes.Less);
}

TEST_F(TokenTableTest, ClassesHoldExactlyTheirMembers)
{
    EXPECT_EQ(members(Vocabulary.ConstantTokens), range(196, 247));
    EXPECT_EQ(members(Vocabulary.GraphTokens), range(96, 115));
    EXPECT_EQ(members(Vocabulary.BinaryOperatorTokens), range(13, 28));
    EXPECT_EQ(members(Vocabulary.VariableTokens), range(116, 139));
    EXPECT_EQ(members(Vocabulary.ParameterTokens), range(120, 133));
    EXPECT_EQ(members(Vocabulary.PointAndAxisTokens), range(167, 190));
    EXPECT_EQ(members(Vocabulary.PointTokenClass), range(167, 188));
    EXPECT_EQ(members(Vocabulary.PlainFunctionTokens), range(81, 93));
    EXPECT_EQ(members(Vocabulary.OneArgumentTokens), range(69, 93));
    EXPECT_EQ(members(Vocabulary.TwoArgumentTokens), [] {
        auto r = range(55, 64);
        r.push_back(94);
        return r;
    }());
    EXPECT_EQ(members(Vocabulary.MultiArgumentTokens), range(29, 54));
    EXPECT_EQ(members(Vocabulary.BinderTokens), (std::vector<int>{3, 4, 5, 6, 95}));
    EXPECT_EQ(members(Vocabulary.PostfixTokens), range(8, 12));
    EXPECT_EQ(members(Vocabulary.UserFunctionTokenClass), range(142, 157));
    EXPECT_EQ(members(Vocabulary.PrimeTokens), (std::vector<int>{140, 141}));
    EXPECT_EQ(members(Vocabulary.UpperUserFunctionTokens), range(150, 157));
    EXPECT_EQ(members(Vocabulary.InverseTrigTokens), range(65, 68));
    // The decimal point and the digits; the error token between them is no digit.
    EXPECT_EQ(members(Vocabulary.DigitTokens), [] {
        auto r = range(197, 206);
        r.insert(r.begin(), 195);
        return r;
    }());
    EXPECT_EQ(members(Vocabulary.TrigTokens), (std::vector<int>{73, 74, 75}));
    EXPECT_EQ(members(Vocabulary.LogicCompareTokens), range(13, 20));
    EXPECT_EQ(members(Vocabulary.AndOrTokens), (std::vector<int>{13, 14}));
    EXPECT_EQ(members(Vocabulary.RelationNameTokens), range(158, 166));

    // Functions of every arity and the user functions, but no binder or operator.
    const TWideCharSet& fn = Vocabulary.FunctionNameTokens;
    for (int code : {29, 54, 56, 65, 73, 93, 94, 142, 157})
        EXPECT_TRUE(CharSetHas(fn, code)) << code;
    for (int code : {3, 21, 95, 96, 120, 167})
        EXPECT_FALSE(CharSetHas(fn, code)) << code;
}

TEST_F(TokenTableTest, IndexTablesMapSlotsToCodesAndBack)
{
    EXPECT_EQ(Vocabulary.ParamTokens[1], 120);
    EXPECT_EQ(Vocabulary.ParamTokens[14], 133);
    EXPECT_EQ(ParamIndexOfToken(TokenCodes.ParamK), 14);
    EXPECT_EQ(ParamIndexOfToken(TokenCodes.Theta), 13);
    EXPECT_EQ(ParamIndexOfToken(Vocabulary.ParamTokens[5]), 5);

    EXPECT_EQ(Vocabulary.FunctionTokens[10], 105);
    EXPECT_EQ(Vocabulary.FunctionIndexOfToken[105], 10);
    EXPECT_EQ(Vocabulary.FunctionIndexOfToken[TokenCodes.VarX], 0);
    EXPECT_EQ(Vocabulary.RelationTokens[9], 166);
    EXPECT_EQ(Vocabulary.RelationIndexOfToken[166], 9);
    EXPECT_EQ(Vocabulary.RelationIndexOfToken[96], 0);

    EXPECT_EQ(Vocabulary.PointTokens[1], 167);
    EXPECT_EQ(Vocabulary.PointTokens[8], 174);
    EXPECT_EQ(Vocabulary.PointTokens[22], 188);
    EXPECT_EQ(Vocabulary.PointTokens[23], 189);
    EXPECT_EQ(Vocabulary.PointTokens[24], 190);

    const int userCodes[] = {147, 148, 149, 142, 143, 144, 145, 146};
    for (int i = 1; i <= 8; ++i)
        EXPECT_EQ(Vocabulary.UserFunctionTokens[i], userCodes[i - 1]) << i;

    EXPECT_EQ(Vocabulary.ConstTokens[-1], 196);
    EXPECT_EQ(Vocabulary.ConstTokens[0], 197);
    EXPECT_EQ(Vocabulary.ConstTokens[22], 219);
    EXPECT_EQ(ConstantSlot(ConstantCode(50)), 50);
    EXPECT_EQ(ConstantCode(50), LastConstantCode);
}

TEST_F(TokenTableTest, CommaLocaleRenamesTheSeparators)
{
    UseCommaLocale();
    EXPECT_EQ(entry(195).Name, QStringLiteral(","));
    EXPECT_EQ(entry(2).Name, QStringLiteral(";"));
    // The codes stay where they were.
    EXPECT_EQ(TokenCodes.DecimalPoint, 195);
    EXPECT_EQ(TokenCodes.Comma, 2);
    EXPECT_EQ(FindTokenByName(u";"), 2);
    EXPECT_EQ(FindTokenByName(u","), 195);
    EXPECT_EQ(FindTokenByName(u"."), 0);
}

TEST_F(TokenTableTest, TokensToTextNamesEveryCodeAndMarksTheRest)
{
    const QString tokens = MakeTokenString({73, 191, 118, 26, 199, 192});
    EXPECT_EQ(TokensToText(tokens), QStringLiteral("sin(x^2)"));
    const QString odd = MakeTokenString({0, 500, 999, 0xFFFF});
    EXPECT_EQ(TokensToText(odd), QString(4, QChar(0xFFFD)));
}

TEST_F(TokenTableTest, DumpTokensShowsConstantsAsZeroAndTellsTheViewer)
{
    RecordingTokenDumpViewer viewer;
    const platform::ScopedService<TTokenDumpViewer> installed(viewer);
    // x 2.5 (constant slot 23) * ...: a compiled "x·k" with a literal.
    const QString compiled = MakeTokenString({118, ConstantCode(23), 24});
    const QString copy = compiled;
    EXPECT_EQ(DumpTokens(compiled), QStringLiteral("x0·"));
    EXPECT_EQ(viewer.Dumps, QStringList{QStringLiteral("x0·")});
    EXPECT_EQ(compiled, copy);
}

} // namespace
