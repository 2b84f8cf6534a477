// A property dialog frees itself some time after it closes, and may outlive
// the windows and the palette it points at: nothing of it may be reached
// after it has gone, nor may it reach what has gone before it.
#include "PropertyDialogTestKit.h"

#include "dialogs/CfxProperty.h"
#include "model/DocumentState.h"

#include <QPointer>

namespace {

class DialogLifetimeTest : public PropertyDialogTest {
protected:
    // A new function's dialog, with the palette open on its colour button.
    QWidget* OpenWithPalette()
    {
        QueueFormula(QStringLiteral("x^2"));
        ShowYfxProperty(1);
        ProcessEvents();
        QWidget* dialog = FindOpenDialog(QStringLiteral("CfxProperty"));
        EXPECT_NE(dialog, nullptr);
        if (!dialog)
            return nullptr;
        auto* button = Find<QWidget>(*dialog, "SBPcolor");
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), button->mapToGlobal(QPointF(2, 2)));
        QApplication::sendEvent(button, &enter);
        ProcessEvents();
        EXPECT_TRUE(Forms.FmSetColor->isVisible());
        return dialog;
    }
};

TEST_F(DialogLifetimeTest, AClosedDialogTakesItsFieldAwayFromThePalette)
{
    QPointer<QWidget> dialog = OpenWithPalette();
    ASSERT_TRUE(dialog);
    dialog->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(dialog.isNull());
    EXPECT_FALSE(Forms.FmSetColor->isVisible());
    // A stray click on the hidden palette writes into nothing.
    Find<QAbstractButton>(*Forms.FmSetColor, "sbc2")->click();
    ProcessEvents();
    EXPECT_EQ(DocumentTables.Functions[1].Color, DefaultEquation.Color);
    EXPECT_TRUE(DocumentTables.Functions[1].Func.Text.isEmpty());
}

TEST_F(DialogLifetimeTest, ADialogOutlivingTheWindowsClosesAndGoesCleanly)
{
    QPointer<QWidget> dialog = OpenWithPalette();
    ASSERT_TRUE(dialog);
    forms = {};
    ProcessEvents();
    ASSERT_TRUE(dialog);
    dialog->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull());
}

} // namespace
