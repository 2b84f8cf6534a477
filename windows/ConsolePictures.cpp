#include "windows/ConsolePictures.h"

#include "dialogs/Dprint.h"
#include "dialogs/Version.h"
#include "model/Settings.h"
#include "platform/Printing.h"
#include "session/Commands.h"
#include "session/PictureExport.h"
#include "windows/ConsoleMenus.h"
#include "windows/MainConsole.h"
#include "windows/ToolIcons.h"

#include <QAction>
#include <QMenu>
#include <QIcon>
#include <QTimer>
#include <QToolButton>

namespace {

// The series button's picture while no series runs.
constexpr const char* StoppedIconProperty = "stoppedIcon";

struct TCopyItem {
    const char* Name;
    const char16_t* Caption;
    int Mode; // the item's tag
};
constexpr TCopyItem CopyItems[] = {
    {"NGraph", u"Gráfico(captura)", CaptureGraph},
    {"NKaviro", u"Todo KAVIRO", CaptureBothWindows},
    {"Ncolor", u"Gráfico(Alta-res Côr)", PrintColorGraph},
    {"NBW", u"Gráfico(Alta-res P/B)", PrintMonochromeGraph},
};

void OnItem(TMainConsole& console, const char* name, void (*command)())
{
    if (QAction* item = FindNamed<QAction>(console, name))
        QObject::connect(item, &QAction::triggered, &console, [command] { command(); });
}

void OnButton(TMainConsole& console, const char* name, void (*command)())
{
    if (QToolButton* button = FindNamed<QToolButton>(console, name))
        QObject::connect(button, &QToolButton::clicked, &console, [command] { command(); });
}

// The copy button's menu: an item's mode is kept for the next copies.
QMenu* BuildCopyMenu(TMainConsole& console)
{
    auto* menu = new QMenu(&console);
    menu->setObjectName(QStringLiteral("pmCopy"));
    for (const TCopyItem& item : CopyItems) {
        QAction* action = menu->addAction(QString::fromUtf16(item.Caption));
        action->setObjectName(QString::fromLatin1(item.Name));
        action->setData(item.Mode);
        QObject::connect(action, &QAction::triggered, &console, [mode = item.Mode] { CopyGraphInMode(mode); });
    }
    return menu;
}

// Shows itself pressed a moment, then copies in the kept mode.
void CaptureToClipboard(QToolButton* button)
{
    button->setDown(true);
    button->repaint();
    CopyGraphToClipboard(ProgramSettings.CopyMode);
    QTimer::singleShot(CaptureButtonPressMs, button, [button] { button->setDown(false); });
}

void SwitchPictureSeries(TMainConsole& console)
{
    nsavemovieClick();
    ShowPictureSeries(console);
}

} // namespace

void ConnectPictureCommands(TMainConsole& console, const TConsoleMenus& menus)
{
    OnItem(console, "nsaveBmp", [] { nsaveBmpClick(); });
    OnButton(console, "tbSaveImage", [] { nsaveBmpClick(); });
    if (QAction* item = FindNamed<QAction>(console, "nsavemovie"))
        QObject::connect(item, &QAction::triggered, &console, [&console] { SwitchPictureSeries(console); });
    if (QToolButton* series = FindNamed<QToolButton>(console, "tbSaveMovie")) {
        series->setProperty(StoppedIconProperty, series->icon());
        QObject::connect(series, &QToolButton::clicked, &console, [&console] { SwitchPictureSeries(console); });
    }
    OnItem(console, "nprintoption", [] { platform::CurrentPrinterSetup().choosePrinter(); });
    OnItem(console, "nprint", [] { ShowPrintDialog(); });
    OnButton(console, "TBPrint", [] { ShowPrintDialog(); });
    OnItem(console, "version1", [] { ShowVersionWindow(); });
    if (QToolButton* capture = FindNamed<QToolButton>(console, "tbCapture")) {
        capture->setMenu(BuildCopyMenu(console));
        capture->setPopupMode(QToolButton::MenuButtonPopup);
        QObject::connect(capture, &QToolButton::clicked, &console, [capture] { CaptureToClipboard(capture); });
    }
    // Opening the file menu: the sample lessons when they are there, the
    // series as it runs.
    QObject::connect(menus.fileMenu1, &QMenu::aboutToShow, &console, [&console] {
        if (QAction* samples = FindNamed<QAction>(console, "OpenSample"))
            samples->setEnabled(SampleFolderExists());
        ShowPictureSeries(console);
    });
}

void ShowPictureSeries(TMainConsole& console)
{
    const bool running = PictureExport.ExportState;
    if (QAction* item = FindNamed<QAction>(console, "nsavemovie"))
        item->setChecked(running);
    if (QToolButton* button = FindNamed<QToolButton>(console, "tbSaveMovie")) {
        button->setChecked(running);
        button->setIcon(running ? ToolIconFor(ToolIcon::Recording)
                                : button->property(StoppedIconProperty).value<QIcon>());
    }
}
