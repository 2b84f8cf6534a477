#include "session/CalculatorKeys.h"
#include "session/CalculatorTargets.h"

#include "SessionTest.h"
#include "engine/TokenTable.h"
#include "engine/Tokenizer.h"
#include "model/DocumentState.h"

#include <QSet>

namespace {

class CalculatorKeysTest : public SessionTest {
protected:
    static TCalcKey KeyNamed(const QString& name)
    {
        for (const TCalcKey& key : CalculatorKeys())
            if (key.Name == name)
                return key;
        ADD_FAILURE() << "no key " << name.toStdString();
        return {};
    }
    static TEditLine At(const QString& text, int caret, int selStart = 0, int selLength = 0)
    {
        return {text, caret, selLength ? selStart : caret, selLength};
    }
};

// Types the text key by key as the edit line does: each key goes through
// the noise counter, then the line is normalised.
QString TypeKeyByKey(const QString& keys)
{
    TEditLine line;
    TNoiseCounter counter;
    for (QChar key : keys) {
        if (counter.DropKey(key))
            continue;
        TTokenString tokens;
        line = NormalizeEditLine(InsertText(line, QString(key)), tokens);
        counter.AfterChange(tokens);
    }
    return line.Text;
}

TEST_F(CalculatorKeysTest, KeysInsertTheirTextWithTheCaretInsideTheBrackets)
{
    struct Case {
        const char* key;
        QString text;
        int caret;
    };
    const Case cases[] = {
        {"SBSum", QStringLiteral("Sum(,,,)"), 4},    {"SBProduct", QStringLiteral("Product(,,,)"), 8},
        {"SBIntgr", QStringLiteral("Intgr(,,,)"), 6}, {"SBGamma", QStringLiteral("Gamma()"), 6},
        {"SBBeta", QStringLiteral("Beta(,)"), 5},     {"SBsin", QStringLiteral("sin()"), 4},
        {"SBSquare", QStringLiteral("^2 "), 3},       {"SBInverse", QStringLiteral("^(-1) "), 6},
        {"SBTheta", QStringLiteral("@"), 1},          {"SBNotEqual", QStringLiteral("<>"), 2},
        {"SBGreaterEq", QStringLiteral(">="), 2},     {"SBLessEq", QStringLiteral("<="), 2},
        {"SBSpace", QStringLiteral(" "), 1},          {"SBInner", QStringLiteral("*"), 1},
        {"SBSqrt", QStringLiteral("Sqrt"), 4},        {"SBCbrt", QStringLiteral("Cbrt"), 4},
        {"SBPi", QStringLiteral("Pi"), 2},            {"SBmod", QStringLiteral("mod"), 3},
        {"SBDotX", QStringLiteral(".x"), 2},          {"SBPair", QStringLiteral("(,)"), 1},
        {"SBlogBase", QStringLiteral("log( , )"), 4}, {"SBP5", QStringLiteral("m"), 1},
        {"SBAbsBars", QStringLiteral("[]"), 1},
    };
    for (const Case& c : cases) {
        const TEditLine line = PressCalcKey(At({}, 0), KeyNamed(QString::fromLatin1(c.key)));
        EXPECT_EQ(line.Text, c.text) << c.key;
        EXPECT_EQ(line.Caret, c.caret) << c.key;
    }
}

TEST_F(CalculatorKeysTest, ListSeparatorsFollowTheLocale)
{
    UseCommaLocale();
    EXPECT_EQ(PressCalcKey(At({}, 0), KeyNamed(QStringLiteral("SBSum"))).Text, QStringLiteral("Sum(;;;)"));
    EXPECT_EQ(KeyNamed(QStringLiteral("SBDecimal")).Caption, QStringLiteral(","));
    EXPECT_EQ(KeyNamed(QStringLiteral("SBListSep")).Caption, QStringLiteral(";"));
    EXPECT_EQ(KeyNamed(QStringLiteral("SBlogBase")).Caption, QStringLiteral("log( ; )"));
}

TEST_F(CalculatorKeysTest, InsertingReplacesTheSelectionAndEditingKeysMoveOrDelete)
{
    struct Case {
        TEditLine before;
        const char* key;
        TEditLine after;
    };
    const QString t = QStringLiteral("1+2*3");
    const Case cases[] = {
        {At(t, 2, 2, 3), "SBSqrt", At(QStringLiteral("1+Sqrt"), 6)},
        {At(t, 1), "SBBeta", At(QStringLiteral("1Beta(,)+2*3"), 6)},
        {At(t, 5), "SBBack", At(QStringLiteral("1+2*"), 4)},
        {At(t, 0), "SBBack", At(t, 0)},
        {At(t, 0), "SBDel", At(QStringLiteral("+2*3"), 0)},
        {At(t, 5), "SBDel", At(t, 5)},
        {At(t, 1, 1, 3), "SBBack", At(QStringLiteral("13"), 1)},
        {At(t, 1, 1, 3), "SBDel", At(QStringLiteral("13"), 1)},
        {At(t, 0), "SBLeft", At(t, 0)},
        {At(t, 5), "SBRight", At(t, 5)},
        {At(t, 3), "SBLeft", At(t, 2)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PressCalcKey(c.before, KeyNamed(QString::fromLatin1(c.key))), c.after)
            << c.key << " on " << c.before.Text.toStdString() << " at " << c.before.Caret;
}

TEST_F(CalculatorKeysTest, HintsTakeTheUsersSeparators)
{
    struct Case {
        QString hint, dotComma, commaSemicolon;
    };
    const Case cases[] = {
        {QStringLiteral("inteiro : int(3.2)=3 , int(-3.2)=-4"), QStringLiteral("inteiro : int(3.2)=3 , int(-3.2)=-4"),
         QStringLiteral("inteiro : int(3,2)=3 ; int(-3,2)=-4")},
        // A comma that ends the hint is punctuation and stays.
        {QStringLiteral("a,b,"), QStringLiteral("a,b,"), QStringLiteral("a;b,")},
        {QStringLiteral("parâmetro"), QStringLiteral("parâmetro"), QStringLiteral("parâmetro")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LocaliseHint(c.hint), c.dotComma);
    UseCommaLocale();
    for (const Case& c : cases)
        EXPECT_EQ(LocaliseHint(c.hint), c.commaSemicolon);
    EXPECT_EQ(KeyNamed(QStringLiteral("SBint")).Hint, QStringLiteral("inteiro : int(3,2)=3 ; int(-3,2)=-4"));
    EXPECT_EQ(KeyNamed(QStringLiteral("SBDegree")).Hint, QStringLiteral("grau -> radiano : Ex 45°"));
}

TEST_F(CalculatorKeysTest, TheTableNamesEachButtonOnceInFourGroups)
{
    const std::vector<TCalcKey> keys = CalculatorKeys();
    QSet<QString> names;
    int perGroup[4] = {};
    for (const TCalcKey& key : keys) {
        EXPECT_FALSE(names.contains(key.Name)) << key.Name.toStdString();
        names.insert(key.Name);
        ASSERT_TRUE(key.Group >= 0 && key.Group < 4);
        ++perGroup[key.Group];
    }
    for (int n : perGroup)
        EXPECT_GT(n, 0);
    for (int i = 1; i <= 13; ++i)
        EXPECT_EQ(KeyNamed(QStringLiteral("SBP%1").arg(i)).Hint, QStringLiteral("parâmetro"));
    EXPECT_TRUE(names.contains(QString::fromLatin1(CalcLogKeyName)));
    EXPECT_EQ(LogKeyHint(2), QStringLiteral("logaritmo natural"));
    EXPECT_EQ(LogKeyHint(10), QStringLiteral("logaritmo comum"));
}

TEST_F(CalculatorKeysTest, OnlyUnscannableCharactersFeedTheNoiseCounter)
{
    // Twelve characters that form no token: the 8th and the 12th key are dropped.
    const QString noise(12, u'#');
    EXPECT_EQ(TypeKeyByKey(noise).size(), 10);
    // Long valid names never count, however long the formula.
    for (const QString& formula : {QStringLiteral("Product(k,1,10,k)"),
                                   QStringLiteral("Sum(k,1,10,Product(n,1,k,Gamma(n)+Beta(n,k)))+Intgr(x,0,1,x)")})
        EXPECT_EQ(TypeKeyByKey(formula).remove(u' '), formula);

    // Coming back within four characters of its tokens resets the count.
    TNoiseCounter counter;
    const TTokenString noisy = QChar(TokenCodes.Error) + QStringLiteral("#####");
    const TTokenString quiet = QChar(TokenCodes.Error) + QStringLiteral("####");
    for (int i = 0; i < 3; ++i)
        counter.AfterChange(noisy);
    EXPECT_TRUE(counter.DropKey(u'a'));
    EXPECT_FALSE(counter.DropKey(u'a'));
    counter.AfterChange(quiet);
    EXPECT_EQ(counter.Count(), 0);
    for (int i = 0; i < 3; ++i)
        counter.AfterChange(noisy);
    // Only printable characters are swallowed.
    EXPECT_FALSE(counter.DropKey(QChar(8)));
    EXPECT_FALSE(counter.DropKey(QChar(0x00E9)));
    EXPECT_TRUE(counter.DropKey(u'~'));
}

TEST_F(CalculatorKeysTest, SendingWritesEachTargetOrRefuses)
{
    TKavirofunction f;
    ASSERT_TRUE(CompileCalculatorText(f, QStringLiteral("x^2"), -3).Valid());
    ASSERT_TRUE(StoreUserFunction(1, f));
    EXPECT_EQ(DocumentTables.UserFunctions[1].Text, QStringLiteral("x^2"));

    platform::RecordingMessageSink messages;
    const platform::ScopedMessageSink useMessages(messages);
    TKavirofunction circular;
    ASSERT_TRUE(CompileCalculatorText(circular, QStringLiteral("f(x)+1"), -3).Valid());
    EXPECT_FALSE(StoreUserFunction(1, circular));
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.last().text, QStringLiteral("Refere à circulação da função"));
    EXPECT_EQ(DocumentTables.UserFunctions[1].Text, QStringLiteral("x^2"));

    struct Case {
        QString text;
        std::optional<long double> value;
    };
    for (const Case& c : {Case{QStringLiteral("2*3"), 6.0L}, Case{QStringLiteral("1/0"), std::nullopt},
                          Case{QStringLiteral("x"), std::nullopt}, Case{QStringLiteral("(1,2)"), std::nullopt}}) {
        TKavirofunction field;
        ASSERT_TRUE(CompileCalculatorText(field, c.text, -2).Valid()) << c.text.toStdString();
        EXPECT_EQ(FieldValue(field), c.value) << c.text.toStdString();
    }
    EXPECT_EQ(PlainNumber(QStringLiteral("5")), 5.0L);
    EXPECT_EQ(PlainNumber(QStringLiteral("(1, 2)")), std::nullopt);
    EXPECT_EQ(PlainNumber(QString()), std::nullopt);
    EXPECT_FALSE(ApplyParameterStep(1, 0.0L));
    EXPECT_TRUE(ApplyParameterStep(1, 0.5L));
    EXPECT_EQ(DocumentTables.Params[1].Step, 0.5L);
}

} // namespace
