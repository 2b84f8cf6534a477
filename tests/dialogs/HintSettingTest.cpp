// The data panel's hint switch: the main windows and the palette follow it at
// once, the property and options dialogs take it when they are shown.
#include "PropertyDialogTestKit.h"

#include "dialogs/CfxProperty.h"
#include "dialogs/DetailForm.h"
#include "dialogs/SegProperty.h"
#include "engine/Compiler.h"
#include "model/DocumentState.h"
#include "model/Figures.h"
#include "model/ObjectNames.h"
#include "model/ProgramState.h"
#include "session/StoreOperations.h"
#include "windows/GraphAreaForm.h"
#include "windows/MainConsole.h"

#include <QAction>
#include <QButtonGroup>
#include <QMenu>
#include <QTabWidget>

namespace {

class HintSettingTest : public PropertyDialogTest {
protected:
    void SwitchHints(bool on)
    {
        QAction* hints = Find<QAction>(Console(), "NShowHint");
        ASSERT_NE(hints, nullptr);
        hints->setChecked(!on);
        hints->trigger();
        ProcessEvents();
        ASSERT_EQ(ProgramState.ShowHint != 0, on);
    }

    // Whether the tooltip of one control of each dialog reaches it, the
    // dialogs opened while the switch is as it is now.
    std::vector<bool> DialogTooltipsReach()
    {
        std::vector<bool> reached;
        modal.queueAnswer(QStringLiteral("DetailForm"), [&](QObject& object) {
            reached.push_back(TooltipReaches(static_cast<QWidget&>(object).findChild<QToolButton*>()));
            return 0;
        });
        ShowOptions(1);
        modal.queueAnswer(QStringLiteral("SegProperty"), [&](QObject& object) {
            reached.push_back(TooltipReaches(static_cast<TSegProperty&>(object).Kinds->button(1)));
            return 0;
        });
        ShowSegProperty(1);
        ShowYfxProperty(1);
        ProcessEvents();
        QWidget* cfx = OpenDialog<TCfxProperty>("CfxProperty");
        EXPECT_NE(cfx, nullptr);
        if (cfx) {
            reached.push_back(TooltipReaches(cfx->findChild<QToolButton*>()));
            cfx->close();
            ProcessEvents();
        }
        EXPECT_EQ(modal.pendingAnswers(), 0);
        return reached;
    }

    std::vector<QWidget*> MainWindowControls()
    {
        return {Find<QToolButton>(Console(), "sbOpen"), Find<QToolButton>(Graph(), "sbSquare"),
                Forms.FmSetColor->findChild<QToolButton*>()};
    }
};

TEST_F(HintSettingTest, EveryWindowFollowsTheDataPanelsSwitch)
{
    TEquationFunction f = DefaultEquation;
    f.Func.Text = QStringLiteral("x^2");
    ASSERT_TRUE(PrepareExpression(f.Func, ModeFunction));
    SetYfx(1, f);
    for (int k = 1; k <= 2; ++k) {
        DocumentTables.Points[k].Kind = ObjectPoint;
        DocumentTables.Points[k].Pos.Text = QStringLiteral("(%1,0)").arg(k);
    }
    ASSERT_TRUE(Segments.Append(1, 2, 0xFF0000, 2, 1));

    for (bool on : {false, true}) {
        SwitchHints(on);
        for (QWidget* control : MainWindowControls())
            EXPECT_EQ(TooltipReaches(control), on) << control->objectName().toStdString();
        EXPECT_EQ(DialogTooltipsReach(), std::vector<bool>(3, on)) << "options, figure, function dialogs";
    }
    // The check mark of "&Ver" shows the switch.
    SwitchHints(false);
    Q_EMIT Find<QMenu>(Console(), "Show1")->aboutToShow();
    EXPECT_FALSE(Find<QAction>(Console(), "NShowHint")->isChecked());
}

} // namespace
