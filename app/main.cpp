#include "app/ProgramStart.h"
#include "app/StartupWatch.h"
#include "windows/GraphAreaForm.h"
#include "windows/MainConsole.h"

#include <QApplication>
#include <string_view>

int main(int argc, char* argv[])
{
    TStartupWatch watch;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KAVIRO"));
    // The data panel may be hidden; the program ends with the graph window.
    app.setQuitOnLastWindowClosed(false);
    watch.Mark("launch and Qt");

    InitializeUnits();
    watch.WatchRedraws();
    watch.Mark("units");

    TProgramWindows forms = CreateForms(ProgramArguments(), [&](const char* step) {
        watch.Mark(step);
        if (step == std::string_view("project"))
            watch.StartUpDone(*forms.GraphAreaForm);
    });
    watch.Mark("windows");
    forms.GraphAreaForm->show();
    forms.MainConsole->show();
    return QApplication::exec();
}
