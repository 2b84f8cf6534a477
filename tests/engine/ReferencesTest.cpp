#include "engine/Compiler.h"
#include "engine/References.h"
#include "engine/Tokenizer.h"
#include "model/DocumentState.h"
#include "platform/fakes/RecordingMessageSink.h"
#include "tests/QtPrinters.h"
#include "tests/engine/EngineTest.h"

#include <gtest/gtest.h>

namespace {

class ReferencesTest : public EngineDocumentTest {
protected:

    static void Store(TKavirofunction& f, const char* text, int mode)
    {
        f = BlankFunction;
        f.Text = QString::fromUtf8(text);
        ASSERT_TRUE(PrepareExpression(f, mode)) << text;
    }
    static void SetFunction(int k, const char* text) { Store(DocumentTables.Functions[k].Func, text, ModeFunction); }
    static void SetRelation(int k, const char* text) { Store(DocumentTables.Relations[k].Func, text, ModeRelation); }
    static void SetUserFunction(int k, const char* text)
    {
        Store(DocumentTables.UserFunctions[k], text, ModeUserFunction);
    }
    static TKavirofunction Formula(const char* text)
    {
        TKavirofunction f;
        Store(f, text, ModePlain);
        return f;
    }
    static TTokenString Scanned(const char* text)
    {
        TKavirofunction f = BlankFunction;
        f.Text = QString::fromUtf8(text);
        PrepareExpression(f, -4);
        return f.NormText;
    }

    platform::RecordingMessageSink sink;
    platform::ScopedMessageSink scope{sink};
};

TEST_F(ReferencesTest, ReferencesFollowGraphsButNotUserFunctionVariables)
{
    SetFunction(1, "x");
    SetUserFunction(1, "x^2+a");
    const TNamedTokens& t = TokenCodes;
    EXPECT_TRUE(RefersToToken(t.VarX, Formula("y1 + f(2)")));
    EXPECT_FALSE(RefersToToken(t.VarX, Formula("f(2)")));
    EXPECT_TRUE(RefersToToken(t.ParamA, Formula("f(2)"))); // a is no variable of f
    EXPECT_FALSE(RefersToToken(t.ParamA, Formula("y1 + 2")));
    EXPECT_TRUE(RefersToToken(t.VarX, Formula("y1")));
}

TEST_F(ReferencesTest, ObjectComponentsLeadToTheirFormulas)
{
    TPointFunction& p = DocumentTables.Points[1];
    p.Kind = ObjectPoint;
    Store(p.X, "a+1", 1);
    Store(p.Y, "2", 1);
    Store(p.Pos, "(b, 2)", 1);
    const TNamedTokens& t = TokenCodes;
    EXPECT_TRUE(RefersToToken(t.ParamA, Formula("P.x")));
    EXPECT_FALSE(RefersToToken(t.ParamA, Formula("P.y")));
    EXPECT_TRUE(RefersToToken(Vocabulary.ParamTokens[2], Formula("P")));
    EXPECT_TRUE(RefersToToken(Vocabulary.PointTokens[1], Formula("P.y"))); // P(1, 2) names P
    EXPECT_TRUE(PointRefersToToken(t.ParamA, p));
    EXPECT_FALSE(PointRefersToToken(Vocabulary.ParamTokens[2], p)); // the combined formula is not examined
    // An object number outside 1..22 counts as a reference to anything.
    EXPECT_TRUE(RefersToToken(Vocabulary.ParamTokens[3], Formula("P(40, 1)")));
}

TEST_F(ReferencesTest, ThetaReachesThroughTheScannedForm)
{
    CompileSettings.HorizontalAxisLetter = u'@';
    EXPECT_TRUE(RefersToToken(TokenCodes.Theta, Formula("@")));
    CompileSettings.Reset();
}

TEST_F(ReferencesTest, CircularityNeedsACycleOrAVeryLongChain)
{
    SetUserFunction(1, "f(x)+1");
    EXPECT_TRUE(CheckCircularity(DocumentTables.UserFunctions[1]));
    ASSERT_EQ(sink.messages().size(), 1u);
    EXPECT_EQ(sink.last().text, QStringLiteral("Refere à circulação da função"));
    EXPECT_EQ(sink.last().kind, 1);

    // y1 -> y2 -> ... -> y20 is deep but not circular.
    for (int k = 1; k < 20; ++k)
        SetFunction(k, QStringLiteral("y%1+1").arg(k + 1).toUtf8().constData());
    SetFunction(20, "x");
    EXPECT_FALSE(CheckCircularity(DocumentTables.Functions[1].Func));
    EXPECT_EQ(sink.messages().size(), 1u);

    EXPECT_TRUE(CheckCircularity(Formula("P(0, 1)")));
}

TEST_F(ReferencesTest, CyclesStoredInTheTablesEndTheWalks)
{
    // A file can hold what the dialogs would refuse: y1 = y2 and y2 = y1.
    SetFunction(1, "y2");
    SetFunction(2, "y1+1");
    const TKavirofunction& y1 = DocumentTables.Functions[1].Func;
    EXPECT_TRUE(CheckCircularity(y1));
    EXPECT_FALSE(RefersToToken(TokenCodes.VarX, y1));
    EXPECT_TRUE(RefersToToken(Vocabulary.FunctionTokens[1], y1));
}

TEST_F(ReferencesTest, ACandidateIsCheckedInItsSlotWithoutTouchingTheDocument)
{
    // y2 and user function g lead back to slot 1 of their tables.
    SetFunction(1, "x");
    SetFunction(2, "y1+1");
    SetUserFunction(1, "x+1");
    SetUserFunction(2, "f(x)·2");
    struct Case {
        const char* What;
        TFormulaTable Table;
        int Slot;
        const char* Candidate;
        int Mode;
        bool Circular;
    };
    const Case cases[] = {
        {"a function through another back to its slot", TFormulaTable::Functions, 1, "y2", ModeFunction, true},
        {"the same text in another slot", TFormulaTable::Functions, 3, "y2", ModeFunction, false},
        {"a function of its own name", TFormulaTable::Functions, 1, "y1", ModeFunction, true},
        {"a user function through another", TFormulaTable::UserFunctions, 1, "g(x)", ModeUserFunction, true},
        {"a user function without a cycle", TFormulaTable::UserFunctions, 3, "g(x)", ModeUserFunction, false},
        {"a relation reading a function", TFormulaTable::Relations, 1, "y-y2", ModeRelation, false},
        {"a slot beyond the table", TFormulaTable::Relations, 10, "y-y2", ModeRelation, false},
    };
    const auto texts = [] {
        const TDocumentTables& d = DocumentTables;
        return QStringList{d.Functions[1].Func.Code, d.Functions[2].Func.Code, d.Functions[3].Func.Code,
                           d.UserFunctions[1].Code, d.UserFunctions[2].Code, d.UserFunctions[3].Code,
                           d.Relations[1].Func.Code};
    };
    const QStringList before = texts();
    for (const Case& c : cases) {
        sink.clear();
        TKavirofunction candidate;
        Store(candidate, c.Candidate, c.Mode);
        EXPECT_EQ(CheckCircularityAs(c.Table, c.Slot, candidate), c.Circular) << c.What;
        EXPECT_EQ(sink.messages().size(), c.Circular ? 1u : 0u) << c.What;
    }
    EXPECT_EQ(texts(), before) << "the document is as it was";

    // An object: its coordinates reach the candidate's own formulas.
    TPointFunction point;
    point.Kind = ObjectPoint;
    Store(point.X, "1", 1);
    Store(point.Y, "Q.x", 1);
    Store(point.R, "0", 1);
    TPointFunction& q = DocumentTables.Points[2];
    q.Kind = ObjectPoint;
    Store(q.X, "P.y", 2);
    sink.clear();
    EXPECT_TRUE(CheckCircularityAs(1, point)) << "P.y -> Q.x -> P.y";
    EXPECT_EQ(sink.messages().size(), 1u) << "one message for the object";
    EXPECT_FALSE(CheckCircularityAs(3, point)) << "the same formulas in R lead nowhere back";
    Store(q.X, "P.x", 2);
    EXPECT_FALSE(CheckCircularityAs(1, point));
    EXPECT_EQ(DocumentTables.Points[1].Kind, ObjectEmpty);
}

TEST_F(ReferencesTest, FanOutIsWalkedOnce)
{
    // Each function uses the next one twice: an exponential number of paths.
    for (int k = 1; k < 20; ++k)
        SetFunction(k, QStringLiteral("y%1+y%1").arg(k + 1).toUtf8().constData());
    SetFunction(20, "b");
    const TKavirofunction& y1 = DocumentTables.Functions[1].Func;
    EXPECT_TRUE(RefersToToken(Vocabulary.ParamTokens[2], y1));
    EXPECT_FALSE(RefersToToken(TokenCodes.ParamA, y1));
    EXPECT_FALSE(CheckCircularity(y1));
}

TEST_F(ReferencesTest, ConstantExpressions)
{
    struct Case {
        const char* text;
        bool constant;
    };
    const Case cases[] = {
        {"-3.5", true},
        {"(2)", true},
        {"2Pi", false},
        {"1+1", false},
        // The mouse writes numbers below 1E-5 in this form.
        {"1.5*10^(-7)", true},
        {"-1.5*10^(-7)", true},
        {"2*10^(6)", true},
        {"1.5*10^(-a)", false},
        {"1.5*9^(-7)", false},
        {"1.5*10^(-7)+1", false},
        {"10^(-7)", false},
        {"1.5/10^(7)", false},
        {"x*10^(-7)", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsConstantExpression(Formula(c.text)), c.constant) << c.text;
    EXPECT_FALSE(IsConstantExpression(BlankFunction));
}

TEST_F(ReferencesTest, ObjectRefsExpandRelationsAndGraphs)
{
    SetRelation(1, "x < 1 and y < 1");
    SetRelation(2, "x > 0");
    SetFunction(1, "x^2");

    QString message;
    TTokenString tokens = Scanned("C1 > 0");
    EXPECT_TRUE(CheckObjectRefs(tokens, message));
    EXPECT_EQ(TokensToText(tokens), QStringLiteral("x < 1 and y < 1 > 0"));

    tokens = Scanned("C2 or y1<y");
    EXPECT_TRUE(CheckObjectRefs(tokens, message));
    EXPECT_EQ(TokensToText(tokens), QStringLiteral("(x > 0) or (x^2)<y"));

    tokens = Scanned("C3+1");
    EXPECT_FALSE(CheckObjectRefs(tokens, message));
    EXPECT_TRUE(tokens.isEmpty());
    EXPECT_EQ(message, QStringLiteral("Refira a objeto não definido"));
}

TEST_F(ReferencesTest, ObjectRefsStopOnCyclesFromAFile)
{
    SetRelation(1, "C2");
    SetRelation(2, "C1");
    QString message;
    TTokenString tokens = Scanned("C1");
    EXPECT_FALSE(CheckObjectRefs(tokens, message));
    EXPECT_TRUE(tokens.isEmpty());
    EXPECT_FALSE(message.isEmpty());
}

} // namespace
