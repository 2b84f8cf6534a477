#pragma once

// The window tests' kit: the four permanent windows built on a fresh
// document, with the settings in memory and fakes for every service that
// would block or reach outside the test; and functions that click, type
// and drag with QTest.
#include "app/ProgramStart.h"
#include "dialogs/PermanentForms.h"
#include "platform/fakes/FakeChoosers.h"
#include "platform/fakes/FakeClipboard.h"
#include "platform/fakes/FakeDesktop.h"
#include "platform/fakes/FakeModalRunner.h"
#include "platform/fakes/FakePrinting.h"
#include "platform/fakes/MemorySettingsStore.h"
#include "platform/fakes/RecordingMessageSink.h"
#include "platform/fakes/RecordingSystemErrorBox.h"
#include "windows/GraphAreaForm.h"
#include "windows/MainConsole.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <gtest/gtest.h>

class WindowTest : public ::testing::Test {
protected:
    platform::MemorySettingsStore store;
    platform::RecordingMessageSink messages;
    platform::RecordingSystemErrorBox errorBoxes;
    platform::FakeModalRunner modal;
    platform::FakeFileChooser files;
    platform::FakeColorChooser colors;
    platform::FakeClipboard clipboard;
    platform::FakeDesktopOpener desktop;
    platform::FakePointerWarp pointer;
    platform::FakeDragStarter drags;
    // A page of A4 at 600 dots per inch, less margins.
    platform::FakePrinting printer{QSize(4800, 6600)};
    platform::FakePrinterSetup printerSetup;
    TProgramWindows forms;

    WindowTest();
    ~WindowTest() override;

    // The settings in memory read as at a start, the view started, then the
    // four windows created and shown: the data panel's first show runs the
    // start-up work with these arguments.
    void StartProgram(const QStringList& arguments = {});

    TGraphAreaForm& Graph() { return *forms.GraphAreaForm; }
    TMainConsole& Console() { return *forms.MainConsole; }

private:
    platform::ScopedSettingsStore useStore_{store};
    platform::ScopedMessageSink useMessages_{messages};
    platform::ScopedSystemErrorBox useErrorBoxes_{errorBoxes};
    platform::ScopedModalRunner useModal_{modal};
    platform::ScopedFileChooser useFiles_{files};
    platform::ScopedColorChooser useColors_{colors};
    platform::ScopedClipboard useClipboard_{clipboard};
    platform::ScopedDesktopOpener useDesktop_{desktop};
    platform::ScopedPointerWarp usePointer_{pointer};
    platform::ScopedDragStarter useDrags_{drags};
    platform::ScopedPrinting usePrinter_{printer};
    platform::ScopedPrinterSetup usePrinterSetup_{printerSetup};
};

// The child of root with that object name and type; fails the test when
// there is none.
template <class T>
T* Find(QWidget& root, const char* name)
{
    T* child = root.findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(child, nullptr) << "no " << name << " in " << root.objectName().toStdString();
    return child;
}

// A left click (or another button) at pos, the widget's centre by default.
void Click(QWidget* widget, QPoint pos = {}, Qt::MouseButton button = Qt::LeftButton,
           Qt::KeyboardModifiers modifiers = {});
// Types the text into the widget, as keys.
void Type(QWidget* widget, const QString& text);
// Presses the left button at from, moves in steps to to and releases there,
// all in the widget's coordinates.
void Drag(QWidget* widget, QPoint from, QPoint to, int steps = 4);
// Handles the pending events, paints included.
void ProcessEvents();
// Whether a tooltip asked for over the widget gets past the application's
// filters to it.
bool TooltipReaches(QWidget* widget);
// The note text set as a project read sets it: its stickers split, placed
// and shown.
void ShowNotes(const QStringList& noteLines);
// Stores function n with that formula as the data panel's editing does,
// and lets the windows show it.
void SetFunctionFormula(int n, const QString& formula);
// The darkest grey level (0 black .. 255 white) of the picture's pixels
// inside the area: how dark the text drawn there is.
int DarkestGrey(const QImage& picture, const QRect& area);
// Stores object k as a draggable object of that kind at a position text
// «(x, y)».
void StoreDraggablePoint(int k, const QString& position, std::uint8_t kind = 1);
// The calculator's next editing, run through the modal runner, types text
// over its edit line and sends it.
void QueueCalculatorSend(platform::FakeModalRunner& modal, const QString& text);
