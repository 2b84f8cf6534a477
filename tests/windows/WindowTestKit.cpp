#include "WindowTestKit.h"

#include "model/Settings.h"
#include "render/gfx/Fonts.h"
#include "render/scene/Redraw.h"
#include "render/view/Scale.h"

#include <QApplication>
#include <QTest>

WindowTest::WindowTest() = default;

WindowTest::~WindowTest()
{
    forms = {};
}

void WindowTest::StartProgram(const QStringList& arguments)
{
    // What the units' start-up does, on the document the test main reset.
    InstallFontSubstitutions();
    LoadSettings();
    GraphScale.Startup();
    InstallSceneRedrawer();
    forms = CreateForms(arguments);
    forms.GraphAreaForm->show();
    forms.MainConsole->show();
    ProcessEvents();
}

void Click(QWidget* widget, QPoint pos, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    QTest::mouseClick(widget, button, modifiers, pos.isNull() ? widget->rect().center() : pos);
}

void Type(QWidget* widget, const QString& text)
{
    QTest::keyClicks(widget, text);
}

void Drag(QWidget* widget, QPoint from, QPoint to, int steps)
{
    QTest::mousePress(widget, Qt::LeftButton, {}, from);
    for (int i = 1; i <= steps; ++i)
        QTest::mouseMove(widget, from + (to - from) * i / steps);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, to);
}

void ProcessEvents()
{
    QApplication::processEvents();
    QApplication::sendPostedEvents();
    QApplication::processEvents();
}
