// One user action, one redraw: a parameter step, the end of a drag, a
// dialog's OK, undo and redo each draw the graph once; a hover draws
// nothing. Counted on the running program with twenty functions in use.
#include "PropertyDialogTestKit.h"

#include "dialogs/CfxProperty.h"
#include "dialogs/DetailForm.h"
#include "dialogs/PntProperty.h"
#include "engine/Compiler.h"
#include "model/ObjectNames.h"
#include "model/Options.h"
#include "render/scene/Redraw.h"
#include "render/view/Scale.h"
#include "session/StoreOperations.h"
#include "windows/ParamPanel.h"

#include <QMouseEvent>
#include <functional>

namespace {

class OneRedrawPerActionTest : public PropertyDialogTest {
protected:
    void SetUp() override
    {
        PropertyDialogTest::SetUp();
        Options.DrawOnDrag = 0;
        Options.ShowProperty = 0;
        for (int n = 1; n <= FunctionCount; ++n) {
            TEquationFunction f = DefaultEquation;
            f.Func.Text = QStringLiteral("a*x+%1/4").arg(n);
            ASSERT_TRUE(PrepareExpression(f.Func, ModeFunction));
            SetYfx(n, f);
        }
        StoreDraggablePoint(1, QStringLiteral("(1, 1)"));
        ASSERT_TRUE(GraphScale.SetRange(GraphScale.GraphImages, {{-5.0L, -4.0L}, {5.0L, 4.0L}}));
        ProcessEvents();
    }

    QWidget* G() { return Graph().GImage; }
    void MoveOver(QPoint pos, Qt::MouseButtons buttons = Qt::NoButton)
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(pos), QPointF(G()->mapToGlobal(pos)), Qt::NoButton, buttons, {});
        QApplication::sendEvent(G(), &e);
    }
    // The dialog opened, then its OK clicked.
    template <class Dialog>
    void OkOn(const char* name, const std::function<void()>& open)
    {
        open();
        ProcessEvents();
        auto* dialog = OpenDialog<Dialog>(name);
        ASSERT_NE(dialog, nullptr) << name;
        Click(dialog->BtnOK);
    }
    // The redraws the action runs, its events handled to the end.
    int RedrawsOf(const std::function<void()>& action)
    {
        ProcessEvents();
        const int before = RedrawCounters.Redraws;
        action();
        ProcessEvents();
        return RedrawCounters.Redraws - before;
    }
};

TEST_F(OneRedrawPerActionTest, EachActionDrawsTheGraphOnce)
{
    const QPoint point = GraphScale.WorldToPoint({1.0L, 1.0L});
    const QPoint target = GraphScale.WorldToPoint({2.0L, -1.0L});
    struct Case {
        const char* What;
        std::function<void()> Action;
        int Redraws;
    };
    const Case cases[] = {
        {"a hover over the graph", [&] { MoveOver(point + QPoint(40, 30)); }, 0},
        {"a parameter step", [&] { Click(Console().Params->Rows[1].Up); }, 1},
        {"a typed parameter value", [&] {
             QLineEdit* edit = Console().Params->Rows[1].Edit;
             edit->setFocus();
             edit->selectAll();
             Type(edit, QStringLiteral("2"));
             QTest::keyClick(edit, Qt::Key_Return);
         }, 1},
        {"the end of a drag", [&] {
             MoveOver(point);
             QTest::mousePress(G(), Qt::LeftButton, {}, point);
             for (int i = 1; i <= 4; ++i)
                 MoveOver(point + (target - point) * i / 4, Qt::LeftButton);
             QTest::mouseRelease(G(), Qt::LeftButton, {}, target);
         }, 1},
        {"a function dialog's OK", [&] { OkOn<TCfxProperty>("CfxProperty", [] { ShowYfxProperty(3); }); }, 1},
        {"an object dialog's OK", [&] { OkOn<TPntProperty>("PntProperty", [] { ShowPntProperty(1, 3); }); }, 1},
        {"the options dialog's OK with another range", [&] {
             modal.queueAnswer(QStringLiteral("DetailForm"), [](QObject& object) {
                 auto& dialog = dynamic_cast<TDetailForm&>(object);
                 dialog.Control<QLineEdit>("xEdit1")->setText(QStringLiteral("-6"));
                 Click(dialog.btnOK);
                 return dialog.result();
             });
             ShowOptions(2);
         }, 1},
        {"undo", [&] { Find<QToolButton>(Console(), "sbUndo")->click(); }, 1},
        {"redo", [&] { Find<QToolButton>(Console(), "sbRedo")->click(); }, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RedrawsOf(c.Action), c.Redraws) << c.What;
}

} // namespace
