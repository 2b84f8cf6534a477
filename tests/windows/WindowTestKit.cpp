#include "WindowTestKit.h"
#include "EventCounter.h"

#include "engine/Compiler.h"
#include "engine/NumberFields.h"
#include "model/Settings.h"
#include "notes/DocForm.h"
#include "render/gfx/Fonts.h"
#include "render/scene/HitTests.h"
#include "render/scene/Redraw.h"
#include "render/view/Scale.h"
#include "script/ScriptServices.h"
#include "session/EditScope.h"
#include "session/SessionServices.h"
#include "session/Stickers.h"
#include "session/StoreOperations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHelpEvent>
#include <QLineEdit>
#include <QTest>
#include <algorithm>

WindowTest::WindowTest() = default;

WindowTest::~WindowTest()
{
    // The note editor has no parent window: it goes with the test.
    CloseDocForm();
    // Closed dialogs wait for the event loop to free them: they go here,
    // while the windows they point at are whole, not in a later test.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    forms = {};
    UninstallScopedRedrawer();
}

void WindowTest::StartProgram(const QStringList& arguments)
{
    // What the units' start-up does, on the document the test main reset.
    InstallFontSubstitutions();
    LoadSettings();
    GraphScale.Startup();
    InstallSceneRedrawer();
    InstallSessionServices();
    InstallScriptServices();
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

void QueueCalculatorSend(platform::FakeModalRunner& modal, const QString& text)
{
    modal.queueAnswer(QStringLiteral("CalcForm"), [text](QObject& dialog) {
        auto& form = static_cast<QWidget&>(dialog);
        auto* edit = form.findChild<QLineEdit*>(QStringLiteral("EditCalc"));
        auto* send = form.findChild<QAbstractButton*>(QStringLiteral("BtnSendTo"));
        EXPECT_TRUE(edit && send) << "calculator without its edit line or send button";
        if (!edit || !send)
            return 0;
        edit->clear();
        QTest::keyClicks(edit, text);
        send->click();
        return 1;
    });
}

int DarkestGrey(const QImage& picture, const QRect& area)
{
    int darkest = 255;
    const QRect inside = area.intersected(picture.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            darkest = std::min(darkest, qGray(picture.pixel(x, y)));
    return darkest;
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

bool TooltipReaches(QWidget* widget)
{
    EXPECT_NE(widget, nullptr);
    if (!widget)
        return false;
    TEventCounter probe(QEvent::ToolTip);
    widget->installEventFilter(&probe);
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), widget->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(widget, &help);
    widget->removeEventFilter(&probe);
    return probe.Count == 1;
}

void StoreDraggablePoint(int k, const QString& position, std::uint8_t kind)
{
    TPointFunction p = DefaultPoint;
    p.Kind = kind;
    p.Draggable = 1;
    p.Pos.Text = position;
    JoinPointTexts(p, PointTextDirection::Split);
    for (TKavirofunction* f : {&p.Pos, &p.X, &p.Y})
        PrepareExpression(*f, k);
    SetPnt(k, p);
}

void ShowNotes(const QStringList& noteLines)
{
    DocumentTables.PetaMemoLines = noteLines;
    BuildStickerTexts(noteLines);
    ArrangeStickers();
    RefreshStickers(true);
    ProcessEvents();
}

void SetFunctionFormula(int n, const QString& formula)
{
    TEquationFunction f = DefaultEquation;
    f.Func.Text = formula;
    PrepareExpression(f.Func, ModeFunction);
    SetYfx(n, f);
    ProcessEvents();
}
