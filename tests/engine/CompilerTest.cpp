#include "engine/Compiler.h"
#include "model/MessageBox.h"
#include "platform/fakes/RecordingMessageSink.h"
#include "tests/QtPrinters.h"
#include "tests/engine/EngineTest.h"

#include <gtest/gtest.h>

namespace {

class CompilerTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        CompileSettings.Reset();
    }
    void TearDown() override
    {
        CompileSettings.Reset();
        EngineTest::TearDown();
    }

    // Prepares and compiles text in a mode, with or without messages.
    TKavirofunction Compile(const QString& text, int mode = ModePlain, bool showErrors = false)
    {
        TKavirofunction f = BlankFunction;
        f.Text = text;
        PrepareExpression(f, -4); // normalise only
        valid = CompileExpression(f, mode, showErrors);
        return f;
    }
    QString Code(const QString& text, int mode = ModePlain) { return CodeToText(Compile(text, mode)); }
    // The one message a failing compilation shows.
    QString ErrorOf(const QString& text, int mode = ModePlain)
    {
        sink.clear();
        Compile(text, mode, true);
        EXPECT_FALSE(valid) << text.toStdString();
        return sink.empty() ? QString() : sink.last().text;
    }

    bool valid = false;
    platform::RecordingMessageSink sink;
    platform::ScopedMessageSink scope{sink};
};

TEST_F(CompilerTest, EmptyTextIsValidWithNoCode)
{
    const TKavirofunction f = Compile(QString());
    EXPECT_TRUE(valid);
    EXPECT_TRUE(f.Code.isEmpty());
    EXPECT_EQ(f.LastConst, 0);
}

TEST_F(CompilerTest, GoldenCodes)
{
    struct Case {
        const char* text;
        int mode;
        const char* code;
    };
    const Case cases[] = {
        {"2x", ModePlain, "2 x ·"},
        {"-x", ModePlain, "SZERO x -"},
        {"-3", ModePlain, "3 _"},
        {"+x", ModePlain, "SZERO x +"},
        {"2(-x)", ModePlain, "2 SZERO x - ·"},
        {"2·(-3)", ModePlain, "2 3 _ ·"},
        {"Sum(k, 1, 10, k^2)", ModePlain, "14 1 10 Sum k 2 ^ Send"},
        {"Product(x, 1, 3, x)", ModePlain, "-1 1 3 Product x Send"},
        {"Intgr(y, 0, 1, y)", ModePlain, "0 0 1 Intgr y Send"},
        {"cof(1, (x+3)^2)", ModePlain, "1 cof x 3 + 2 ^ Send"},
        {"sol(x^2 - 2)", ModePlain, "1 sol x 2 ^ 2 - Send"},
        {"sol(x^2 - 2, 2)", ModePlain, "2 sol x 2 ^ 2 - Send"},
        {"f'(x)", ModePlain, "1 x 0 0 0 f"},
        {"g''(x, y)", ModePlain, "2 x y 0 0 g"},
        {"F(x)", ModePlain, "3 x 0 0 0 f"},
        {"F1(2)", ModePlain, "3 2 0 0 0 f1"},
        {"h(1, 2, 3, 4)", ModePlain, "0 1 2 3 4 h"},
        {"max(1, 2, 3)", ModePlain, "1 2 3 3 max"},
        {"Stepsize(x)", ModePlain, "-1 Stepsize"},
        {"Stepsize(a)", ModePlain, "1 Stepsize"},
        {"a-b-c", ModePlain, "a b - c -"},
        {"a/b/c", ModePlain, "a b / c /"},
        {"2^3^2", ModePlain, "2 3 2 ^ ^"},
        {"a+b·c", ModePlain, "a b c · +"},
        {"a·b+c", ModePlain, "a b · c +"},
        {"x^2y", ModePlain, "x 2 y · ^"},
        {"2x/3", ModePlain, "2 x · 3 /"},
        {"sin x cos x", ModePlain, "x sin x cos ·"},
        {"sin^2 x", ModePlain, "2 x sin %"},
        {"x!", ModePlain, "x !"},
        {"30°", ModePlain, "30 °"},
        {"1<x<3", ModePlain, "1 x < x 3 < and"},
        {"x<0 or x>1", ModePlain, "x 0 < x 1 > or"},
        {"P.x", ModePlain, "1 1 P"},
        {"Px+Qy", ModePlain, "1 1 P 2 2 P +"},
        {"A.r", ModePlain, "8 3 P"},
        {"P(3)", ModePlain, "3 0 P"},
        {"Cells(2)", ModePlain, "2 1 Cells"},
        {"(1, 2)", ModePlain, "1 2 CPS"},
        {"PQ", ModePlain, "P Q VEC"},
        {"[PQ]", ModePlain, "P Q VEC abs"},
        {"[x-1]", ModePlain, "x 1 - abs"},
        {"log(2, 8)", ModePlain, "2 8 log"},
        {"y1+f(2)", ModePlain, "y1 0 2 0 0 0 f +"},
        {"1.5+.5", ModePlain, "1.5 0.5 +"},
        {"y=2x", ModeFunction, "2 x ·"},
        {"x^2 + y^2 < 1", ModeRelation, "x 2 ^ y 2 ^ + 1 - 0 < 1 -"},
        {"r<1", ModeRelation, "x y 2 len 1 - 0 < 1 -"},
        {"x+r", ModeUserFunction, "x x y 2 len +"},
        {"x+1", 1, "1 1 P 1 +"},
        {"X", 8, "A"},
        {"r", 2, "2 3 P"},
        {"Intgr(x, 0, 1, x)+x", 1, "-1 0 1 Intgr x Send 1 1 P +"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Code(QString::fromUtf8(c.text), c.mode), QString::fromUtf8(c.code)) << c.text << " in mode " << c.mode;
        EXPECT_TRUE(valid) << c.text;
    }
}

TEST_F(CompilerTest, FunctionModeStripsALeadingYEquals)
{
    TKavirofunction f = Compile(QStringLiteral("y=2x"), ModeFunction);
    EXPECT_EQ(f.Text, QStringLiteral("2x"));
    f = Compile(QStringLiteral("y = 2x"), ModeFunction);
    EXPECT_EQ(f.Text, QStringLiteral("y = 2x"));
    EXPECT_EQ(CodeToText(f), QStringLiteral("y 2 x · ="));
    f = Compile(QStringLiteral("y=2x"), ModePlain);
    EXPECT_EQ(CodeToText(f), QStringLiteral("y 2 x · ="));
}

TEST_F(CompilerTest, RelationOperatorIsFoundInTheCode)
{
    TKavirofunction f = Compile(QStringLiteral("x^2 + y^2 < 1"), ModeRelation);
    EXPECT_EQ(FindRelationOperator(f.Code), TokenCodes.Less);
    f = Compile(QStringLiteral("y >= x"), ModeRelation);
    EXPECT_EQ(FindRelationOperator(f.Code), TokenCodes.GreaterEqual);
    f = Compile(QStringLiteral("x^2+y^2-1"), ModeRelation);
    EXPECT_EQ(FindRelationOperator(f.Code), 0);
    EXPECT_EQ(FindRelationOperator(MakeTokenString({TokenCodes.Less})), 0);
}

TEST_F(CompilerTest, ThetaFollowsItsOption)
{
    Options.ThetaMode = 1;
    EXPECT_EQ(Code(QStringLiteral("@"), ModeRelation), QStringLiteral("x y 2 arg"));
    Options.ThetaMode = 0;
    EXPECT_EQ(Code(QStringLiteral("@"), ModeRelation), QStringLiteral("@"));
    EXPECT_EQ(Code(QStringLiteral("@"), ModePlain), QStringLiteral("@"));
    CompileSettings.HorizontalAxisLetter = u'@';
    EXPECT_EQ(Code(QStringLiteral("@"), ModePlain), QStringLiteral("x @ 0 · +"));
}

TEST_F(CompilerTest, SyntaxErrorsShowTheirMessage)
{
    const std::pair<const char*, const char*> cases[] = {
        {"2x$", "Inserção não está terminada."},
        {"x2", "Numeral em posição ilegal"},
        {"(x)2", "Numeral em posição ilegal"},
        {"·2", "Início da expressão é inválido."},
        {"!2", "Início da expressão é inválido."},
        {"2+", "Fim da expressão é inválido."},
        {"2+ ", "Fim da expressão é inválido."},
        {"2·", "Fim da expressão é inválido."},
        {"(2", "Insuficiente \")\""},
        {"2)", "excessivo \")\""},
        {")2(", "Parentese não corresponde."},
        {"2+·3", "A posição da operação (+,-,*,/,^) é ilegal."},
        {"1.2.3", "A posição de ponto decimal é ilegal."},
        {"123456789012345678901", "Decimais longos demais(deve ser abaixo de 20)"},
        {"Stepsize(2)", "\"Stepsize\": Parâmetro Inválido"},
        {"Sum(2, 1, 3, k)", "\"Sum\": Parâmetro Inválido"},
        {"Sum(w, 1, 3, w)", "\"Sum\": Parâmetro Inválido"},
        {"Product(Pi, 1, 3, 2)", "\"Product\": Parâmetro Inválido"},
        {"Intgr(r, 0, 1, r)", "\"Intgr\": Parâmetro Inválido"},
    };
    for (const auto& [text, message] : cases)
        EXPECT_EQ(ErrorOf(QString::fromUtf8(text)), QString::fromUtf8(message)) << text;
}

TEST_F(CompilerTest, LiteralsUpToTwentyCharacters)
{
    EXPECT_EQ(Code(QStringLiteral("12345678901234567890")), QStringLiteral("12345678901234567890"));
    EXPECT_TRUE(valid);
    Compile(QStringLiteral("123456789012345678901"));
    EXPECT_FALSE(valid);
}

TEST_F(CompilerTest, TwentyEightNewLiteralsFit)
{
    // Literals 23, 24, ... are new; -1..22 are built in.
    QString text;
    for (int n = 23; n < 23 + 28; ++n)
        text += QStringLiteral("+%1").arg(n);
    text.remove(0, 1);
    TKavirofunction f = Compile(text);
    EXPECT_TRUE(valid);
    EXPECT_EQ(f.LastConst, 50);
    EXPECT_EQ(f.ConstValues[50].X, 50.0L);

    // Any token after the 28th new literal overflows the table, and the
    // message shows even without showErrors.
    Compile(text + QStringLiteral("+1"));
    EXPECT_FALSE(valid);
    ASSERT_FALSE(sink.empty());
    EXPECT_EQ(sink.last().text, QStringLiteral("Constantes demais"));
}

TEST_F(CompilerTest, RepeatedLiteralsShareOneSlot)
{
    const TKavirofunction f = Compile(QStringLiteral("2.5+2.5+7"));
    EXPECT_EQ(f.LastConst, 23);
    EXPECT_EQ(f.Consts[23], QStringLiteral("2.5"));
    EXPECT_EQ(f.ConstValues[23].X, 2.5L);
    EXPECT_EQ(f.ConstValues[7].X, 7.0L);
    EXPECT_EQ(f.ConstValues[-1].X, -1.0L);
}

TEST_F(CompilerTest, BinderArgumentCountsAreAlwaysReported)
{
    Compile(QStringLiteral("Sum(k, 1, 10)"));
    EXPECT_FALSE(valid);
    ASSERT_FALSE(sink.empty());
    EXPECT_EQ(sink.last().text, QStringLiteral("SumO argumento da função ou operação é insuficiente."));
    Compile(QStringLiteral("cof(1, 2, x)"));
    EXPECT_FALSE(valid);
    EXPECT_EQ(sink.last().text, QStringLiteral("cofO argumento da função ou operação é excessivo."));

    // A binder written without its argument group has none at all.
    const std::pair<const char*, const char*> bare[] = {{"cof", "cof"}, {"cof x", "cof"}, {"2 sol", "sol"}, {"sol", "sol"}};
    for (const auto& [text, binder] : bare) {
        sink.clear();
        Compile(QString::fromUtf8(text));
        EXPECT_FALSE(valid) << text;
        ASSERT_FALSE(sink.empty()) << text;
        EXPECT_EQ(sink.last().text, QString::fromUtf8(binder) + QStringLiteral("O argumento da função ou operação é insuficiente."))
            << text;
    }
}

TEST_F(CompilerTest, QuietCompilationShowsNothing)
{
    for (const char* text : {"x2", "2+", "(2", "Stepsize(2)", "2x$", "1.2.3"}) {
        Compile(QString::fromUtf8(text));
        EXPECT_FALSE(valid) << text;
    }
    EXPECT_TRUE(sink.empty());
}

TEST_F(CompilerTest, FaultsComeBackAsValuesWithWhereTheyLie)
{
    using K = TCompileErrorKind;
    struct Case {
        const char* text;
        K kind;
        const char* message;
        const char* at; // the text from the fault on; empty when it cannot be told
        bool always = false;
        bool countArguments = false;
    };
    const Case cases[] = {
        {"x2", K::NumeralPosition, "Numeral em posição ilegal", "2"},
        {"3+(x)25", K::NumeralPosition, "Numeral em posição ilegal", "25"},
        {"·2", K::BadBegin, "Início da expressão é inválido.", "·2"},
        {"1+2·", K::BadEnd, "Fim da expressão é inválido.", "·"},
        {"1+(2", K::Brackets, "Insuficiente \")\"", "(2"},
        {"(1)+2)", K::Brackets, "excessivo \")\"", ")"},
        {"2)+(", K::Brackets, "Parentese não corresponde.", ")+("},
        {"(-x)+2+·3", K::OperatorPosition, "A posição da operação (+,-,*,/,^) é ilegal.", "·3"},
        {"2+sin!3", K::PostfixPosition, "A posição da função(!,°.x,.y,.r) é ilegal.", "!3"},
        {"1+2.3.4", K::Literal, "A posição de ponto decimal é ilegal.", "2.3.4"},
        {"x+Stepsize(2)", K::BinderVariable, "\"Stepsize\": Parâmetro Inválido", "Stepsize(2)"},
        {"Sum(k,1,2,k)+Sum(2,1,3,k)", K::BinderVariable, "\"Sum\": Parâmetro Inválido", "Sum(2"},
        {"x+cof(1,2,x)", K::BinderArguments, "cofO argumento da função ou operação é excessivo.", "cof(1,2", true},
        {"Ccentr(P,Q)", K::ArgumentCount, "O argumento da função ou operação é insuficiente.", "", false, true},
        {"P Q", K::ArgumentCount, "O argumento da função ou operação é excessivo.", "", false, true},
    };
    for (const Case& c : cases) {
        TKavirofunction f = BlankFunction;
        f.Text = QString::fromUtf8(c.text);
        PrepareExpression(f, -4);
        const TCompileOutcome outcome = CompileFormula(f, ModePlain, c.countArguments);
        EXPECT_FALSE(outcome.Valid()) << c.text;
        EXPECT_EQ(outcome.Kind, c.kind) << c.text;
        EXPECT_EQ(outcome.Message, QString::fromUtf8(c.message)) << c.text;
        EXPECT_EQ(outcome.ShownAlways, c.always) << c.text;
        const QString at = QString::fromUtf8(c.at);
        if (at.isEmpty())
            EXPECT_EQ(outcome.Position, 0) << c.text;
        else
            EXPECT_EQ(f.Text.mid(outcome.Position - 1), f.Text.mid(f.Text.lastIndexOf(at))) << c.text;
    }
    EXPECT_TRUE(sink.empty());

    // The text keeps what was read; an unknown rest is found just after it.
    TKavirofunction f = BlankFunction;
    f.Text = QStringLiteral("2x$");
    PrepareExpression(f, -4);
    TCompileOutcome outcome = CompileFormula(f, ModePlain);
    EXPECT_EQ(outcome.Kind, K::NotTerminated);
    EXPECT_EQ(outcome.Position, f.Text.size() + 1);

    f = BlankFunction;
    f.Text = QStringLiteral("Ccentr(P,Q,R)");
    PrepareExpression(f, -4);
    EXPECT_TRUE(CompileFormula(f, ModePlain, true).Valid());
}

TEST_F(CompilerTest, MessagesAreTheCallersChoice)
{
    TKavirofunction f = BlankFunction;
    f.Text = QStringLiteral("x2");
    PrepareExpression(f, -4);
    const TCompileOutcome outcome = CompileFormula(f, ModePlain);
    EXPECT_EQ(outcome.Message, QStringLiteral("Numeral em posição ilegal"));
    EXPECT_TRUE(sink.empty());
    ShowCompileOutcome(outcome);
    ASSERT_EQ(sink.messages().size(), 1u);
    EXPECT_EQ(sink.last().text, QStringLiteral("Numeral em posição ilegal"));
    EXPECT_EQ(sink.last().kind, MsgError);
    EXPECT_EQ(sink.last().buttons, MsgOk);

    // The wrapper keeps the old behaviour: quiet shows nothing, showErrors one box.
    sink.clear();
    EXPECT_FALSE(CompileExpression(f, ModePlain, false));
    EXPECT_TRUE(sink.empty());
    EXPECT_EQ(ErrorOf(QStringLiteral("x2")), QStringLiteral("Numeral em posição ilegal"));
    EXPECT_EQ(sink.messages().size(), 1u);
    ShowCompileOutcome(CompileFormula(f = BlankFunction, ModePlain)); // valid: nothing to show
    EXPECT_EQ(sink.messages().size(), 1u);
}

TEST_F(CompilerTest, ArgumentCountCheckKeepsTheCode)
{
    // Ccentr needs three points; with two the stack underflows.
    TKavirofunction f = Compile(QStringLiteral("Ccentr(P, Q)"), ModePlain, true);
    EXPECT_FALSE(valid);
    EXPECT_FALSE(f.Code.isEmpty());
    ASSERT_FALSE(sink.empty());
    EXPECT_EQ(sink.last().text, QStringLiteral("O argumento da função ou operação é insuficiente."));
    EXPECT_TRUE(CheckArgumentCounts(f, false));

    // Without messages such a formula gets no code: it evaluates as undefined.
    sink.clear();
    f = Compile(QStringLiteral("Ccentr(P, Q)"), ModePlain, false);
    EXPECT_FALSE(valid);
    EXPECT_TRUE(f.Code.isEmpty());
    EXPECT_TRUE(sink.empty());

    f = Compile(QStringLiteral("Ccentr(P, Q, R)"), ModePlain, true);
    EXPECT_TRUE(valid);
    EXPECT_FALSE(CheckArgumentCounts(f, false));
    f = Compile(QStringLiteral("P Q"), ModePlain, true);
    EXPECT_TRUE(CheckArgumentCounts(f, false)); // two values left
}

TEST_F(CompilerTest, CommaLocaleReadsDecimalCommas)
{
    UseCommaLocale();
    const TKavirofunction f = Compile(QStringLiteral("max(1,5; 2)"));
    EXPECT_TRUE(valid);
    EXPECT_EQ(CodeToText(f), QStringLiteral("1,5 2 2 max"));
    EXPECT_EQ(f.ConstValues[23].X, 1.5L);
}

TEST_F(CompilerTest, PrepareExpressionCleansTheText)
{
    TKavirofunction f = BlankFunction;
    f.Text = QStringLiteral("  sqrt(x)+cbrt(8)  ");
    EXPECT_TRUE(PrepareExpression(f, ModePlain));
    EXPECT_EQ(f.Text, QStringLiteral("Sqrt(x)+Cbrt(8)"));
    EXPECT_EQ(CodeToText(f), QStringLiteral("x Sqrt 8 Cbrt +"));

    f = BlankFunction;
    f.Text = QStringLiteral("2x");
    EXPECT_FALSE(PrepareExpression(f, -4)); // normalise only
    EXPECT_FALSE(f.NormText.isEmpty());
    EXPECT_TRUE(f.Code.isEmpty());
}

} // namespace
