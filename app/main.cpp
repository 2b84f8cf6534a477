#include "app/ProgramStart.h"
#include "app/StartupSplash.h"
#include "app/StartupWatch.h"
#include "platform/QtSoundDevice.h"
#include "windows/GraphAreaForm.h"
#include "windows/MainConsole.h"

#include <QApplication>
#include <QTranslator>

int main(int argc, char* argv[])
{
    TStartupWatch watch;
    watch.Mark("launch");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KAVIRO"));
    QTranslator qtTexts;
    InstallQtTranslations(qtTexts);
    // The data panel may be hidden; the program ends with the graph window.
    app.setQuitOnLastWindowClosed(false);
    watch.Mark("qt");

    // Scripts play their tones there; silence without a sound output.
    const platform::SystemSoundOutput sound;
    InitializeUnits();
    watch.WatchRedraws();
    watch.Mark("units");

    TStartupSplash splash;
    TProgramWindows forms = CreateForms(ProgramArguments(), [&](TStartUpStep step) {
        watch.Mark(StartUpStepName(step));
        if (step == TStartUpStep::View)
            splash.StartUpDone();
        if (step == TStartUpStep::Project)
            watch.StartUpDone(*forms.GraphAreaForm);
    });
    // The program ends when its main window closes, whatever other windows
    // are open: they are not asked (quit() would ask them, and the data
    // panel refuses its own close while the graph window is open).
    forms.GraphAreaForm->SetAfterClose([] { QCoreApplication::exit(0); });
    watch.Mark("windows");
    forms.GraphAreaForm->show();
    forms.MainConsole->show();
    return QApplication::exec();
}
