// The calculator opens over the window that called it, wherever that is:
// owned by the caller's window, on top with it, active, and not hidden
// under it at its input line.
#include "PropertyDialogTestKit.h"

#include "dialogs/CalcForm.h"
#include "dialogs/CfxProperty.h"
#include "dialogs/DetailForm.h"
#include "dialogs/PntProperty.h"
#include "engine/Compiler.h"
#include "engine/NumberFields.h"
#include "session/StoreOperations.h"
#include "windows/ParamPanel.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QWindow>
#include <functional>

namespace {

constexpr int P = 1;

void StoreCircle(int n)
{
    TPointFunction p = DocumentTables.Points[n];
    p.Kind = ObjectCircle;
    p.X.Text = QStringLiteral("1");
    p.Y.Text = QStringLiteral("2");
    p.R.Text = QStringLiteral("3");
    JoinPointTexts(p, PointTextDirection::Join);
    for (TKavirofunction* f : {&p.X, &p.Y, &p.R, &p.Pos})
        PrepareExpression(*f, n);
    SetPnt(n, p);
}

// What a user sees of the calculator when it has opened.
struct TSeen {
    bool Opened = false;
    bool Active = false;
    bool OnTopAtInputLine = false;
    QWindow* Owner = nullptr;
    bool StaysOnTop = false;
};

class CalculatorPlacementTest : public PropertyDialogTest {
protected:
    void SetUp() override
    {
        PropertyDialogTest::SetUp();
        SetFunctionFormula(1, QStringLiteral("a*x"));
        StoreCircle(P);
        ProcessEvents();
        // Shown once before, as the free calculator: its window is older
        // than any dialog opened later.
        Forms.CalcForm->show();
        ProcessEvents();
        Forms.CalcForm->hide();
        ProcessEvents();
    }

    // The next calculator is looked at as it opens, then closed.
    void LookWhenOpened()
    {
        modal.queueAnswer(QStringLiteral("CalcForm"), [this](QObject& dialog) {
            auto& calc = static_cast<TCalcForm&>(dialog);
            ProcessEvents();
            auto* edit = calc.findChild<QLineEdit*>(QStringLiteral("EditCalc"));
            seen_.Opened = true;
            seen_.Active = QApplication::activeWindow() == &calc;
            seen_.OnTopAtInputLine = QApplication::topLevelAt(edit->mapToGlobal(edit->rect().center())) == &calc;
            seen_.Owner = calc.windowHandle() ? calc.windowHandle()->transientParent() : nullptr;
            seen_.StaysOnTop = calc.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            return 0;
        });
    }

    TSeen seen_;
};

// Each caller opens the calculator with the caller's window given back, so
// that the calculator can be checked against it.
struct TCaller {
    const char* What;
    std::function<void(std::function<void(QWidget& callerWindow)> whenOpen)> Open;
};

QWidget* PntDialog()
{
    return FindOpenDialog(QStringLiteral("PntProperty"));
}

void ClickInObjectDialog(TFormulaPicture* TPntProperty::*picture, const std::function<void(QWidget&)>& whenOpen)
{
    ShowPntProperty(P, 3);
    ProcessEvents();
    auto* dialog = static_cast<TPntProperty*>(PntDialog());
    ASSERT_NE(dialog, nullptr);
    whenOpen(*dialog);
    Click(dialog->*picture);
    ProcessEvents();
    dialog->close();
    ProcessEvents();
}

TEST_F(CalculatorPlacementTest, OpensOverItsCallerWhereverItIsOpenedFrom)
{
    QWindow* owner = nullptr;
    bool callerOnTop = false;
    const auto expect = [&](QWidget& callerWindow) {
        owner = callerWindow.windowHandle();
        callerOnTop = callerWindow.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        LookWhenOpened();
    };
    const TCaller callers[] = {
        {"function dialog's formula",
         [](auto whenOpen) {
             ShowYfxProperty(1);
             ProcessEvents();
             auto* dialog = static_cast<TCfxProperty*>(FindOpenDialog(QStringLiteral("CfxProperty")));
             ASSERT_NE(dialog, nullptr);
             whenOpen(*dialog);
             Click(dialog->ImgFunction);
             ProcessEvents();
             if (FindOpenDialog(QStringLiteral("CfxProperty")))
                 dialog->close();
             ProcessEvents();
         }},
        {"object dialog's x", [](auto whenOpen) { ClickInObjectDialog(&TPntProperty::ImgX, whenOpen); }},
        {"object dialog's y", [](auto whenOpen) { ClickInObjectDialog(&TPntProperty::imgY, whenOpen); }},
        {"object dialog's radius", [](auto whenOpen) { ClickInObjectDialog(&TPntProperty::ImgR, whenOpen); }},
        {"object dialog's step",
         [](auto whenOpen) {
             ShowPntProperty(P, 3);
             ProcessEvents();
             auto* dialog = static_cast<TPntProperty*>(PntDialog());
             ASSERT_NE(dialog, nullptr);
             Click(dialog->RBLocus);
             whenOpen(*dialog);
             QTest::mouseDClick(dialog->edPrmD, Qt::LeftButton);
             ProcessEvents();
             dialog->close();
             ProcessEvents();
         }},
        {"options dialog's range",
         [this](auto whenOpen) {
             modal.queueAnswer(QStringLiteral("DetailForm"), [whenOpen](QObject& object) {
                 auto& dialog = dynamic_cast<TDetailForm&>(object);
                 whenOpen(dialog);
                 QTest::mouseDClick(dialog.Control<QLineEdit>("xEdit1"), Qt::LeftButton);
                 ProcessEvents();
                 return 0;
             });
             ShowOptions(2);
         }},
        {"options dialog's tick base",
         [this](auto whenOpen) {
             modal.queueAnswer(QStringLiteral("DetailForm"), [whenOpen](QObject& object) {
                 auto& dialog = dynamic_cast<TDetailForm&>(object);
                 dialog.PageControl->setCurrentIndex(2);
                 ProcessEvents();
                 whenOpen(dialog);
                 QTest::mouseDClick(dialog.Control<QComboBox>("EditX")->lineEdit(), Qt::LeftButton);
                 ProcessEvents();
                 return 0;
             });
             ShowOptions(3);
         }},
        {"parameter's value",
         [](auto whenOpen) {
             whenOpen(*Forms.DataPanel);
             QTest::mouseDClick(Forms.MainConsole->Params->Rows[1].Edit, Qt::LeftButton);
             ProcessEvents();
         }},
        {"parameter's step",
         [](auto whenOpen) {
             whenOpen(*Forms.DataPanel);
             QTest::mouseDClick(Forms.MainConsole->Params->Rows[1].StepEdit, Qt::LeftButton);
             ProcessEvents();
         }},
    };
    for (const TCaller& caller : callers) {
        seen_ = {};
        owner = nullptr;
        caller.Open(expect);
        EXPECT_TRUE(seen_.Opened) << caller.What;
        EXPECT_TRUE(seen_.Active) << caller.What;
        EXPECT_TRUE(seen_.OnTopAtInputLine) << caller.What;
        EXPECT_NE(owner, nullptr) << caller.What;
        EXPECT_EQ(seen_.Owner, owner) << caller.What;
        EXPECT_EQ(seen_.StaysOnTop, callerOnTop) << caller.What;
    }
    EXPECT_EQ(modal.pendingAnswers(), 0);
}

// Opened from the object dialog a second time, after a new dialog was made,
// it is still over it; and once closed, the free calculator belongs to no
// window and does not stay on top.
TEST_F(CalculatorPlacementTest, EveryOpeningIsOverTheNewestCaller)
{
    for (int opening = 1; opening <= 2; ++opening) {
        ClickInObjectDialog(&TPntProperty::ImgX, [this](QWidget&) { LookWhenOpened(); });
        EXPECT_TRUE(seen_.OnTopAtInputLine) << opening;
        EXPECT_TRUE(seen_.StaysOnTop) << opening;
    }
    Forms.CalcForm->show();
    ProcessEvents();
    EXPECT_FALSE(Forms.CalcForm->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(Forms.CalcForm->windowHandle()->transientParent(), nullptr);
    EXPECT_EQ(Forms.CalcForm->pos(), DialogAnchorPos() + QPoint(-120, 30)) << "it keeps its place";
    Forms.CalcForm->hide();
}

} // namespace
