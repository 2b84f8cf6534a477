#pragma once

// What the property dialog tests share: the program started, the open
// dialog found among the top-level windows, the calculator answered through
// queued modal answers, the palette's panels hovered and chosen from.
#include "../QtPrinters.h"
#include "../windows/WindowTestKit.h"

#include "dialogs/FmSetColor.h"
#include "dialogs/PropertyDialog.h"
#include "model/History.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEnterEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class PropertyDialogTest : public WindowTest {
protected:
    void SetUp() override { StartProgram(); }

    void TearDown() override
    {
        // A dialog a test left open goes before the windows do.
        for (const char* name : {"CfxProperty", "PntProperty"})
            if (QWidget* w = FindOpenDialog(QString::fromUtf8(name)))
                delete w;
        ProcessEvents();
    }

    template <class T>
    T* OpenDialog(const char* name)
    {
        return dynamic_cast<T*>(FindOpenDialog(QString::fromUtf8(name)));
    }

    // The next calculator editing types text over the formula and sends it.
    void QueueFormula(const QString& text) { QueueCalculatorSend(modal, text); }
    // The next calculator editing is closed without sending.
    void QueueCalculatorLeft() { modal.queueResult(QStringLiteral("CalcForm"), 0); }

    // The mouse moves over the style button, then the palette's button of
    // that name is clicked.
    static void ChooseStyle(QWidget* styleButton, const char* paletteButton)
    {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), styleButton->mapToGlobal(QPointF(2, 2)));
        QApplication::sendEvent(styleButton, &enter);
        ProcessEvents();
        QWidget* palette = Forms.FmSetColor;
        ASSERT_NE(palette, nullptr);
        auto* choice = palette->findChild<QAbstractButton*>(QString::fromUtf8(paletteButton));
        ASSERT_NE(choice, nullptr) << paletteButton;
        EXPECT_TRUE(palette->isVisible()) << "the palette opens on the hover";
        choice->click();
        ProcessEvents();
    }

    static void Key(QWidget* dialog, Qt::Key key)
    {
        QTest::keyClick(dialog, key);
        ProcessEvents();
    }

    bool MainFormsEnabled() const
    {
        return Forms.GraphWindow->isEnabled() && Forms.DataPanel->isEnabled();
    }
};
