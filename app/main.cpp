#include "app/ProgramStart.h"
#include "app/StartupWatch.h"
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

    InitializeUnits();
    watch.WatchRedraws();
    watch.Mark("units");

    TProgramWindows forms = CreateForms(ProgramArguments(), [&](TStartUpStep step) {
        watch.Mark(StartUpStepName(step));
        if (step == TStartUpStep::Project)
            watch.StartUpDone(*forms.GraphAreaForm);
    });
    watch.Mark("windows");
    forms.GraphAreaForm->show();
    forms.MainConsole->show();
    return QApplication::exec();
}
