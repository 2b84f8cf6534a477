#include "dialogs/CalcForm.h"
#include "dialogs/CalcPreview.h"

#include "engine/Compiler.h"
#include "engine/EngineStartup.h"
#include "engine/TokenTable.h"
#include "model/DocumentState.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "model/Settings.h"
#include "tests/render/GoldenFiles.h"
#include "tests/windows/WindowTestKit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <functional>

namespace {

class CalcFormTest : public WindowTest {
protected:
    void SetUp() override { StartProgram(); }
    void TearDown() override
    {
        Separators.Reset();
        InitializeEngine();
    }

    static TCalcForm& Calc() { return *Forms.CalcForm; }
    static QLineEdit* Edit() { return Find<QLineEdit>(Calc(), "EditCalc"); }
    static QString ResultText() { return Find<QLabel>(Calc(), "LabelResult")->text(); }
    static void Press(const char* name) { Click(Find<QAbstractButton>(Calc(), name)); }
    static bool GroupOn(int n) { return Find<QWidget>(Calc(), ("Grupo" + std::to_string(n)).c_str())->isEnabled(); }
    static QPushButton* SendButton() { return Find<QPushButton>(Calc(), "BtnSendTo"); }

    // The free calculator, shown as the graph window's button shows it.
    void OpenFree()
    {
        Calc().show();
        ProcessEvents();
    }
    // The next opening of the calculator is worked by the action.
    void WhenOpened(std::function<void(TCalcForm&)> action)
    {
        modal.queueAnswer(QStringLiteral("CalcForm"), [action](QObject& dialog) {
            action(static_cast<TCalcForm&>(dialog));
            return 0;
        });
    }
    static void UseCommaLocale()
    {
        Separators.DecimalChar = u',';
        Separators.ListSepChar = u';';
        InitializeEngine();
    }
    // What a status line shows when the mouse enters the button.
    static QString HintShown(const char* name)
    {
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(Find<QAbstractButton>(Calc(), name), &enter);
        return Find<QStatusBar>(Calc(), "StatusLine")->currentMessage();
    }
};

TEST_F(CalcFormTest, TheFreeCalculatorComputesCopiesAndCloses)
{
    OpenFree();
    EXPECT_EQ(Calc().pos(), DialogAnchorPos() + QPoint(-120, 30));
    EXPECT_EQ(SendButton()->text(), QStringLiteral("Fim"));
    EXPECT_TRUE(SendButton()->isEnabled());
    EXPECT_TRUE(GroupOn(2) && GroupOn(3) && GroupOn(4));
    Type(Edit(), QStringLiteral("2+3*4"));
    // Typed in canonical spelling.
    EXPECT_EQ(Edit()->text(), QString::fromUtf8("2+3·4"));
    Press("BtnEqual");
    EXPECT_EQ(ResultText(), QStringLiteral("14"));
    Press("BtnCopy");
    EXPECT_EQ(clipboard.text(), QStringLiteral("14"));
    // Any edit takes the result away.
    Type(Edit(), QStringLiteral("1"));
    EXPECT_EQ(ResultText(), QString());
    Press("BtnSendTo");
    EXPECT_FALSE(Calc().isVisible());
    EXPECT_TRUE(messages.empty());
}

// "=" tells in the result line what came of the text: its value, the
// compiler's own message (also shown in a message box), or "indefinido".
TEST_F(CalcFormTest, TheResultLineGivesTheValueOrTheReason)
{
    struct Case {
        QString typed;
        QString result;
        bool message;
    };
    const Case cases[] = {
        {QStringLiteral("2+3*4"), QStringLiteral("14"), false},
        {QStringLiteral("1/0"), QStringLiteral("indefinido"), false},
        {QStringLiteral("Sqrt(-1)"), QStringLiteral("indefinido"), false},
        // The free calculator has no x.
        {QStringLiteral("x+1"), QStringLiteral("indefinido"), false},
        {QStringLiteral("2*(3+4"), QStringLiteral("Insuficiente \")\""), true},
        {QStringLiteral("2+"), QString(), true},
        {QStringLiteral("max(1"), QString(), true},
    };
    OpenFree();
    for (const Case& c : cases) {
        messages.clear();
        Edit()->clear();
        Type(Edit(), c.typed);
        Press("BtnEqual");
        const std::string what = c.typed.toStdString();
        ASSERT_EQ(messages.messages().size(), c.message ? 1u : 0u) << what;
        if (c.message) {
            EXPECT_EQ(ResultText(), messages.last().text) << what;
            EXPECT_FALSE(ResultText().isEmpty()) << what;
        }
        if (!c.result.isEmpty()) {
            EXPECT_EQ(ResultText(), c.result) << what;
        }
        EXPECT_NE(ResultText(), QStringLiteral("error")) << what;
    }
    Calc().close();
}

TEST_F(CalcFormTest, EscapeAsksAndCancelKeepsTheText)
{
    OpenFree();
    Type(Edit(), QStringLiteral("7*6"));
    messages.scriptAnswers({false, true});
    QTest::keyClick(Edit(), Qt::Key_Escape);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.last().text, QStringLiteral("Sair com [OK]"));
    EXPECT_EQ(messages.last().kind, 0);
    EXPECT_EQ(messages.last().buttons, 12);
    EXPECT_TRUE(Calc().isVisible());
    EXPECT_EQ(Edit()->text(), QString::fromUtf8("7·6"));
    QTest::keyClick(Edit(), Qt::Key_Escape);
    EXPECT_FALSE(Calc().isVisible());
    EXPECT_EQ(Edit()->text(), QString());
}

TEST_F(CalcFormTest, AnExpressionRecordReceivesTheComputedValue)
{
    TKavirofunction record;
    record.Text = QStringLiteral("1");
    QWidget picture;
    WhenOpened([](TCalcForm& calc) {
        EXPECT_EQ(Edit()->text(), QStringLiteral("1"));
        EXPECT_EQ(Find<QLabel>(calc, "LabelCaption")->text(), QStringLiteral("y1:"));
        EXPECT_TRUE(Find<QLabel>(calc, "LabelCaption")->font().bold());
        EXPECT_EQ(Find<QLabel>(calc, "LabelCaption")->font().pointSize(), ProgramState.DisplayFontSize);
        EXPECT_EQ(SendButton()->text(), QStringLiteral("DefFim"));
        // Typing goes on after the text; it does not replace it.
        Type(Edit(), QStringLiteral("0"));
        EXPECT_EQ(Edit()->text(), QStringLiteral("10"));
        Edit()->clear();
        Type(Edit(), QStringLiteral("2+3"));
        Press("BtnEqual");
        Press("BtnSendTo");
    });
    EXPECT_TRUE(Calc().EditExpression(QStringLiteral("y1:"), QFont(), &picture, 0xFFFFFF, -1, record));
    EXPECT_EQ(record.Text, QStringLiteral("5"));
    EXPECT_FALSE(record.Code.isEmpty());
    EXPECT_FALSE(Calc().isVisible());
    EXPECT_TRUE(modal.unanswered().empty());

    // Without "=" the formula itself is sent, compiled in the caller's mode.
    WhenOpened([](TCalcForm&) {
        Edit()->clear();
        Type(Edit(), QStringLiteral("x^2"));
        QTest::keyClick(Edit(), Qt::Key_Return);
    });
    EXPECT_TRUE(Calc().EditExpression(QStringLiteral("y1"), QFont(), nullptr, 0xFFFFFF, -1, record));
    EXPECT_EQ(record.Text, QStringLiteral("x^2"));
    EXPECT_EQ(Calc().CompileMode(), -2);
}

TEST_F(CalcFormTest, NumberFieldsTakeOnlyDefinedValues)
{
    struct Case {
        QString typed;
        bool sent;
        long double value;
        QString editText;
    };
    const Case cases[] = {
        {QStringLiteral("1/0"), false, 9.0L, QStringLiteral("9")},
        {QStringLiteral("2*3"), true, 6.0L, QStringLiteral("6")},
        {QStringLiteral("Pi/4"), true, 0.785398163397448L, QStringLiteral("0.785398163397448")},
    };
    for (const Case& c : cases) {
        QLineEdit field;
        field.setText(QStringLiteral("9"));
        long double value = 9.0L;
        bool keptOpen = false;
        WhenOpened([&](TCalcForm& calc) {
            Edit()->clear();
            Type(Edit(), c.typed);
            QTest::keyClick(Edit(), Qt::Key_Return);
            keptOpen = calc.isVisible();
        });
        EXPECT_EQ(Calc().EditValueField(QStringLiteral("xmin"), QFont(), 0xFFFFFF, &field, value), c.sent)
            << c.typed.toStdString();
        EXPECT_EQ(keptOpen, !c.sent) << c.typed.toStdString();
        EXPECT_NEAR(static_cast<double>(value), static_cast<double>(c.value), 1e-14);
        EXPECT_EQ(field.text(), c.editText);
    }
    EXPECT_FALSE(Calc().isVisible());
}

TEST_F(CalcFormTest, AUserFunctionThatRefersToItselfIsRefused)
{
    DocumentTables.UserFunctions[1].Text = QStringLiteral("x^2");
    ASSERT_TRUE(PrepareExpression(DocumentTables.UserFunctions[1], -3));
    QLabel row(QStringLiteral("f(x)="));
    bool keptOpen = false;
    WhenOpened([&](TCalcForm& calc) {
        EXPECT_EQ(Edit()->text(), QStringLiteral("x^2"));
        Edit()->clear();
        Type(Edit(), QStringLiteral("f(x)+1"));
        Press("BtnSendTo");
        keptOpen = calc.isVisible();
    });
    EXPECT_FALSE(Calc().EditUsr(&row, nullptr, 0xFFFFFF, 1));
    EXPECT_TRUE(keptOpen);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.last().text, QStringLiteral("Refere à circulação da função"));
    EXPECT_EQ(DocumentTables.UserFunctions[1].Text, QStringLiteral("x^2"));

    WhenOpened([](TCalcForm&) {
        Edit()->clear();
        Type(Edit(), QStringLiteral("x+1"));
        Press("BtnSendTo");
    });
    EXPECT_TRUE(Calc().EditUsr(&row, nullptr, 0xFFFFFF, 1));
    EXPECT_EQ(DocumentTables.UserFunctions[1].Text, QStringLiteral("x+1"));
}

// The send button confirms every editor, whatever groups its mode switches on.
TEST_F(CalcFormTest, GroupsFollowTheModeAndSendStaysEnabled)
{
    struct Case {
        const char* what;
        std::function<bool(TCalcForm&)> open;
        bool a, b, c;
    };
    TKavirofunction record;
    long double value = 0.0L;
    QLineEdit edit;
    const TValue two{KindReal, 1, 2.0L, 0.0L};
    const Case cases[] = {
        {"object formula", [&](TCalcForm& f) { return f.EditExpression({}, QFont(), nullptr, 0, 3, record); }, true,
         true, true},
        {"function", [&](TCalcForm& f) { return f.EditExpression({}, QFont(), nullptr, 0, -1, record); }, true, false,
         false},
        {"user function", [&](TCalcForm& f) { return f.EditExpression({}, QFont(), nullptr, 0, -3, record); }, true,
         true, true},
        {"plain", [&](TCalcForm& f) { return f.EditExpression({}, QFont(), nullptr, 0, -2, record); }, false, false,
         false},
        {"number field", [&](TCalcForm& f) { return f.EditValueField({}, QFont(), 0, &edit, value); }, false, false,
         false},
        {"cell", [&](TCalcForm& f) { return f.EditCell({}, QFont(), 0, &edit, two, two, {}, {}); }, true, true, false},
        {"parameter", [&](TCalcForm& f) { return f.EditPrm(&edit, 1, 0, nullptr); }, false, false, false},
    };
    for (const Case& c : cases) {
        WhenOpened([&](TCalcForm&) {
            EXPECT_TRUE(GroupOn(1)) << c.what;
            EXPECT_EQ(GroupOn(2), c.a) << c.what;
            EXPECT_EQ(GroupOn(3), c.b) << c.what;
            EXPECT_EQ(GroupOn(4), c.c) << c.what;
            EXPECT_TRUE(SendButton()->isEnabled()) << c.what;
        });
        EXPECT_FALSE(c.open(Calc())) << c.what;
    }
    // Closing leaves every switchable group off.
    EXPECT_FALSE(GroupOn(2) || GroupOn(3) || GroupOn(4));
    EXPECT_EQ(modal.dialogsRun().size(), std::size(cases));
}

TEST_F(CalcFormTest, ButtonsInsertAtTheCaretInTheUsersSeparators)
{
    struct Case {
        bool comma;
        QString sum;
    };
    for (const Case& c : {Case{false, QStringLiteral("Sum(,,,)")}, Case{true, QStringLiteral("Sum(;;;)")}}) {
        if (c.comma)
            UseCommaLocale();
        OpenFree();
        Press("SBSum");
        EXPECT_EQ(Edit()->text(), c.sum);
        EXPECT_EQ(Edit()->cursorPosition(), 4);
        Press("SBP13");
        Press("SBListSep");
        Press("SBDigit1");
        EXPECT_EQ(Edit()->text(),
                  c.sum.left(4) + QStringLiteral("k") + c.sum.mid(4, 1) + QStringLiteral("1") + c.sum.mid(4));
        Press("SBBack");
        Press("SBLeft");
        Press("SBDel");
        EXPECT_EQ(Edit()->text(), c.sum.left(4) + QStringLiteral("k") + c.sum.mid(4));
        Calc().close();
    }
}

TEST_F(CalcFormTest, HintsShowInTheStatusLineLocalised)
{
    OpenFree();
    EXPECT_EQ(HintShown("SBint"), QStringLiteral("inteiro : int(3.2)=3 , int(-3.2)=-4"));
    EXPECT_EQ(HintShown("SBP7"), QStringLiteral("parâmetro"));
    EXPECT_EQ(HintShown("SBlog"), QStringLiteral("logaritmo natural"));
    EXPECT_TRUE(Find<QAbstractButton>(Calc(), "SBint")->toolTip().isEmpty());
    Calc().close();
    UseCommaLocale();
    Options.LogMode = 10;
    OpenFree();
    EXPECT_EQ(HintShown("SBint"), QStringLiteral("inteiro : int(3,2)=3 ; int(-3,2)=-4"));
    EXPECT_EQ(HintShown("SBlog"), QStringLiteral("logaritmo comum"));
    EXPECT_EQ(Find<QAbstractButton>(Calc(), "SBDecimal")->text(), QStringLiteral(","));
    // The diagnostics' token dumps show there too.
    const QString dump = DumpTokens(QString(QChar(TokenCodes.Sin)));
    EXPECT_EQ(Find<QStatusBar>(Calc(), "StatusLine")->currentMessage(), dump);
}

TEST_F(CalcFormTest, TheNoiseCounterDropsOnlyWhileCharactersFormNoTokens)
{
    OpenFree();
    Type(Edit(), QString(12, u'#'));
    EXPECT_EQ(Edit()->text(), QString(10, u'#'));
    Edit()->clear();
    Type(Edit(), QStringLiteral("Product(k,1,10,k)"));
    EXPECT_EQ(Edit()->text().remove(u' '), QStringLiteral("Product(k,1,10,k)"));
    Press("BtnEqual");
    EXPECT_EQ(ResultText(), QStringLiteral("3628800"));
}

TEST_F(CalcFormTest, ComplexModeSwapsTheRealOnlyButtons)
{
    for (const bool complex : {false, true}) {
        Options.ComplexMode = complex ? 1 : 0;
        OpenFree();
        EXPECT_EQ(Find<QAbstractButton>(Calc(), "SBi")->isVisible(), complex);
        EXPECT_EQ(Find<QAbstractButton>(Calc(), "SBconj")->isVisible(), complex);
        EXPECT_EQ(Find<QAbstractButton>(Calc(), "SBFactorial")->isVisible(), !complex);
        EXPECT_EQ(Find<QAbstractButton>(Calc(), "SBLess")->isVisible(), !complex);
        Calc().close();
    }
}

TEST_F(CalcFormTest, TheParameterAndStepEditorsWriteThroughTheStore)
{
    QLineEdit value, step;
    value.setText(QStringLiteral("1"));
    step.setText(QStringLiteral("0.1"));
    WhenOpened([](TCalcForm& calc) {
        EXPECT_EQ(Find<QLabel>(calc, "LabelCaption")->text(), QStringLiteral("b="));
        Edit()->clear();
        Type(Edit(), QStringLiteral("2*3"));
        QTest::keyClick(Edit(), Qt::Key_Return);
    });
    EXPECT_TRUE(Calc().EditPrm(&value, 2, 0xFFFFFF, nullptr));
    EXPECT_EQ(DocumentTables.Params[2].Value, 6.0L);
    EXPECT_EQ(value.text(), QStringLiteral("6"));

    bool zeroKeptOpen = false;
    WhenOpened([&](TCalcForm& calc) {
        EXPECT_EQ(Find<QLabel>(calc, "LabelCaption")->text(), QStringLiteral("Stepsize="));
        Edit()->clear();
        Type(Edit(), QStringLiteral("0"));
        QTest::keyClick(Edit(), Qt::Key_Return);
        zeroKeptOpen = calc.isVisible();
        Edit()->clear();
        Type(Edit(), QStringLiteral("1/4"));
        QTest::keyClick(Edit(), Qt::Key_Return);
    });
    EXPECT_TRUE(Calc().EditPrmStep(&step, 2, 0xFFFFFF));
    EXPECT_TRUE(zeroKeptOpen);
    EXPECT_EQ(DocumentTables.Params[2].Step, 0.25L);
    EXPECT_EQ(step.text(), QStringLiteral("0.25"));
}

TEST_F(CalcFormTest, ACellIsComputedWithItsInputsAndReceivesTheText)
{
    QLineEdit cell;
    const TValue x{KindReal, 1, 2.0L, 0.0L};
    const TValue y{KindReal, 1, 3.0L, 0.0L};
    WhenOpened([](TCalcForm&) {
        Type(Edit(), QStringLiteral("x*y+1"));
        Press("BtnEqual");
        EXPECT_EQ(ResultText(), QStringLiteral("7"));
        Type(Edit(), QStringLiteral("0"));
        Press("BtnSendTo");
    });
    EXPECT_TRUE(Calc().EditCell(QStringLiteral("C1"), QFont(), 0xFFFFFF, &cell, x, y, {}, {}));
    EXPECT_EQ(cell.text(), QString::fromUtf8("x·y+10"));
}

TEST_F(CalcFormTest, TheLongPreviewDragsSidewaysWithinThePanel)
{
    OpenFree();
    auto* preview = Find<TCalcPreview>(Calc(), "ImageView");
    const int panel = Find<QWidget>(Calc(), "PanelView")->width();
    Type(Edit(), QStringLiteral("1+2"));
    EXPECT_EQ(preview->x(), 1);
    Type(Edit(),
         QStringLiteral("+Sqrt(12345678)*Gamma(3.5)+Beta(2,3)-sin(a+b+c+d)*cos(m+n+p+q)+tan(s+t+u+v)-12345.678"));
    ASSERT_GT(preview->width(), panel) << Edit()->text().toStdString();
    Drag(preview, QPoint(300, 20), QPoint(100, 20));
    EXPECT_LT(preview->x(), -100);
    Drag(preview, QPoint(100, 20), QPoint(100 - 5000, 20));
    EXPECT_EQ(preview->x() + preview->width(), panel);
    Drag(preview, QPoint(100, 20), QPoint(100 + 5000, 20));
    EXPECT_EQ(preview->x(), 1);
    // The show-area button frames the argument groups in the preview.
    const QImage plain = preview->Picture();
    Press("SBArea");
    EXPECT_EQ(ProgramSettings.FunctionArea, 1);
    EXPECT_NE(preview->Picture(), plain);
    Press("SBArea");
    EXPECT_EQ(ProgramSettings.FunctionArea, 0);
    EXPECT_EQ(preview->Picture(), plain);
    // The pure rules behind it.
    EXPECT_EQ(PreviewLeft(600, 100, 598, -40), 1);
    EXPECT_EQ(PreviewLeft(600, 700, 712, -40), -40);
    EXPECT_EQ(PreviewLeft(600, 700, 712, -600), 200 - 712);
    EXPECT_EQ(DraggedPreviewLeft(600, 800, 1, -200), -199);
    EXPECT_EQ(DraggedPreviewLeft(600, 800, 1, -5000), -200);
    EXPECT_EQ(DraggedPreviewLeft(600, 800, -100, 5000), 1);
    EXPECT_EQ(DraggedPreviewLeft(600, 500, 1, -50), 1);
}

// The calculator free and as an editor, in both locales: the keyboard with
// the separators on its keys, the value after "=" (free) or the formula
// typeset below the edit line (editor), and a hint in the status line.
TEST_F(CalcFormTest, GoldenPictures)
{
    const TImageTolerance tolerance{64, 0.02};
    for (const bool comma : {false, true}) {
        if (comma)
            UseCommaLocale();
        const QString suffix = comma ? QStringLiteral("comma") : QStringLiteral("dot");
        OpenFree();
        Type(Edit(), comma ? QStringLiteral("Sqrt(2)+1,5/3") : QStringLiteral("Sqrt(2)+1.5/3"));
        Press("BtnEqual");
        HintShown("SBint");
        EXPECT_TRUE(MatchesImageGolden(Calc().grab().toImage(),
                                       QStringLiteral("windows/calculator-free-") + suffix + QStringLiteral(".png"),
                                       tolerance));
        Calc().close();

        TKavirofunction record;
        record.Text = comma ? QStringLiteral("Sum(k;1;n;k^2)/(x+1)") : QStringLiteral("Sum(k,1,n,k^2)/(x+1)");
        WhenOpened([&](TCalcForm& calc) {
            HintShown("SBSum");
            EXPECT_TRUE(MatchesImageGolden(
                calc.grab().toImage(), QStringLiteral("windows/calculator-editor-") + suffix + QStringLiteral(".png"),
                tolerance));
        });
        Calc().EditExpression(QStringLiteral("y1:"), QFont(), nullptr, 0xE0FFFF, 3, record);
    }
}

} // namespace
